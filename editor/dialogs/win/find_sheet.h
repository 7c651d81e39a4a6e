// The modeless find/replace sheet "検索・置換" of the editor view: the find
// page (template 153) and the replace page (template 154), their texts in
// SEDIT_CLASS controls, calling the view engine's find and replace.
//
// The sheet is made on the heap and deletes itself once its window is gone;
// its owner hears of that through the closed callback, so that the next
// find or replace command builds a new sheet.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "dialog_rules.h"
#include "gdi.h"
#include "hangul_view.h"
#include "property_sheet.h"

namespace brisel {

class CPSheet;

// A page's SEdit box: it also takes the characters the dialog manager
// would read as mnemonics of the page's buttons.
class SearchBox final : public fw::Window {
 public:
  std::string Text(std::size_t limit) const;
  void SetText(const std::string& text);
  HWND Attach(HWND dialog, int id);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// What makes a page of the sheet: its template, its boxes, its match-case
// check box and flag, its help topic.
struct SearchPageParts {
  unsigned templateId;
  int searchBoxId;
  int replacementBoxId;  // 0: none
  int matchCaseId;
  bool FindOptions::*matchCase;
  unsigned helpTopic;
};

// What both pages share: the view, the initial text, the boxes and their
// font, the match case.
class SearchPage : public fw::PropertyPage {
 public:
  SearchPage(const fw::Module& module, const SearchPageParts& parts, editorview::HangulView& view,
             std::string initialText, std::string helpFile);

  void SetInitialText(std::string text) { initialText_ = std::move(text); }
  const std::string& InitialText() const { return initialText_; }
  // The search box (control 1000 or 152).
  SearchBox& SearchTextBox() { return search_; }
  bool MatchCase() const { return SharedFindOptions().*parts_.matchCase; }
  void ShowMatchCase(bool on);

 protected:
  bool OnInitDialog() override;
  bool OnSetActive() override;
  void OnHelp() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  virtual void OnButton(int id) = 0;
  // The search text for the engine: empty beeps and gives nothing.
  bool TakeSearchText(std::string& text);
  CPSheet& Sheet() const;
  // The match-case check box clicked: its flag flips.
  void FlipMatchCase();

  editorview::HangulView& view_;
  SearchBox search_;
  SearchBox replacement_;

 private:
  SearchPageParts parts_;
  std::string initialText_;
  std::string helpFile_;
  fw::Font font_;
  LOGFONTA logFont_{};
};

class CFindDlg final : public SearchPage {
 public:
  CFindDlg(const fw::Module& module, editorview::HangulView& view, std::string initialText, std::string helpFile);

 protected:
  bool OnInitDialog() override;
  void OnButton(int id) override;
};

class CReplaceDlg final : public SearchPage {
 public:
  CReplaceDlg(const fw::Module& module, editorview::HangulView& view, std::string initialText, std::string helpFile);

 protected:
  void OnButton(int id) override;
};

class CPSheet final : public fw::PropSheet {
 public:
  static constexpr wchar_t kCaption[] = L"検索・置換";

  // closed runs after the window is gone, before the object is deleted.
  CPSheet(const fw::Module& module, editorview::HangulView& view, std::string seed, std::string helpFile,
          std::function<void()> closed);

  // Made modeless, owned by the view's frame; null on failure (the object
  // is then the caller's to delete).
  HWND Create();
  // Activated and switched to the page (kFindPage or kReplacePage).
  void ShowPage(int page);
  editorview::HangulView& View() const { return view_; }
  CFindDlg& FindPage() { return find_; }
  CReplaceDlg& ReplacePage() { return replace_; }

  // A page is becoming the active one: the other page's text and match case
  // come with it.
  void PageActivating(int index);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnFinalMessage() override;

 private:
  SearchPage& Page(int index) { return index == kFindPage ? static_cast<SearchPage&>(find_) : replace_; }

  editorview::HangulView& view_;
  CFindDlg find_;
  CReplaceDlg replace_;
  int lastActive_ = -1;
  std::function<void()> closed_;
};

}  // namespace brisel

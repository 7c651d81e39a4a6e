// DictionaryDialog (template 162): the program's only window. Two search
// boxes, the method box, the direction and pane tabs, and for each direction
// the panes 辞書, 例文, 履歴 and My単語帳 with their headword lists and browser
// views; the search flow, list paging, history, word book and settings.
#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "data_files.h"
#include "dialog.h"
#include "html_view.h"
#include "lists.h"
#include "pages.h"
#include "search.h"
#include "settings.h"

namespace ombrel::win {

inline constexpr UINT kSearchJapaneseMessage = WM_USER + 11;
inline constexpr UINT kSearchKoreanMessage = WM_USER + 12;
inline constexpr UINT kListEndMessage = WM_USER + 13;
inline constexpr UINT kSearchTextMessage = WM_USER + 1000;  // 0x7E8

enum PaneKind : int { kDictionaryPane = 0, kExamplePane = 1, kHistoryPane = 2, kWordbookPane = 3, kPaneCount = 4 };

// Sends 0x7E8 with a text from this process (the only sender it accepts).
LRESULT SendOwnSearchText(HWND dialog, const char* text);

class DictionaryDialog : public fw::Dialog, public HtmlViewHost {
 public:
  explicit DictionaryDialog(const fw::Module& module);
  ~DictionaryDialog() override;

  // The keyboard filter of the dialog's thread (Enter, Escape, browser keys).
  bool FilterKey(MSG& msg);

 protected:
  bool OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnOK() override;
  void OnCancel() override;

  // HtmlViewHost
  void OnAppUrl(HtmlView& view, const std::string& text) override;
  void OnContextSearch(HtmlView& view, const std::wstring& selected) override;

 private:
  struct Pane {
    std::vector<EntryRef> rows;
    std::string query;  // bytes of the direction's code page
    int shownRow = -1;
    int32_t shownId = -1;
    int32_t jumpTarget = -1;
    std::vector<int64_t> hits;
    bool wildcard = false;
    std::string pendingBoxText;  // to join the search-box history when a row is shown
  };

  Pane& Current() { return panes_[direction_][paneKind_[direction_]]; }
  HWND ListOf(int direction, int kind) const;
  HWND CurrentList() const { return ListOf(direction_, paneKind_[direction_]); }
  HtmlView& CurrentView() { return views_[direction_][paneKind_[direction_]]; }
  std::vector<ListItem>* ItemsOf(int direction, int kind);

  void CreateSearchBoxes();
  void MakeFonts();
  void Layout();
  void SelectDirection(int direction);  // the tab and the direction change
  void DirectionChanged();
  void PaneChanged();
  void SelectPane(int kind);
  void UpdateButtons();
  std::string BoxText(int direction);
  void SetBoxText(int direction, const std::string& bytes);
  void SearchFromBox(int direction);
  bool RunSearch(const std::string* bytes, int32_t id, bool typing);
  void FillList(int direction, int kind);
  void ShowSelectedRow();
  void RenderRow(int direction, int kind, int row);
  void ShowEmptyPage(int direction, int kind);
  void RenderExamples(bool newSearch);
  // n more keys before the first row (forward false) or after the last one:
  // the rows added (each entry once, the list at most 1024 rows).
  int LoadKeys(bool forward, int n);
  bool OnListKey(int key, HWND list, LRESULT& result);
  void AddToWordbookOrDelete();
  void RemoveSelected(bool wordbook);
  void ClearAllHistory();
  void PrintWordbookList();
  void OnCopyData(const COPYDATASTRUCT* cds);
  void PostSearchRequest();
  void SaveAll();
  void OnFontSettings();
  void OnVoiceSettings();
  void OnInputSystem();
  void FindLayouts();
  void ActivateLayoutFor(int direction);
  void DrawListItem(const DRAWITEMSTRUCT& di);
  void DrawTab(const DRAWITEMSTRUCT& di);
  void FillBoxHistory(int direction);
  int RowsWanted() const;
  PageStyle Style() const;
  void InitMenu(HMENU menu);

  DictionaryFileSet files_;
  Searcher searcher_{files_};
  DictionarySettings settings_;
  Pane panes_[2][kPaneCount];
  std::vector<ListItem> history_[2], wordbook_[2];
  SearchBoxHistory boxHistory_;
  std::string lastTyped_[2];
  int direction_ = 1;
  int paneKind_[2] = {kDictionaryPane, kDictionaryPane};
  HtmlView views_[2][kPaneCount];
  HWND boxes_[2] = {nullptr, nullptr};
  HFONT listFont_[2] = {nullptr, nullptr};
  HFONT boxFont_[2] = {nullptr, nullptr};
  HFONT tabFontSelected_ = nullptr, tabFontOther_ = nullptr;
  HKL layouts_[2] = {nullptr, nullptr};
  int itemHeight_ = 16;
  long listWidth_ = 200;
  int minTrackWidth_ = 0;
  bool dragging_ = false;
  int dragX_ = 0;
  bool keyRepeating_ = false;
  std::string boxHistoryFile_;
  HHOOK hook_ = nullptr;
};

}  // namespace ombrel::win

// The sheet CRabeko_Dlg and its pages: radical (CBusyuDlg), easy Hangul
// (CJisoDlg), code (CCodeDlg) and the placeholder (CDummy_Page).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "gdi.h"
#include "jiso_dic.h"
#include "lookup_draw.h"
#include "property_sheet.h"
#include "radical_dic.h"

namespace lookup {

// Fonts of a page: the Korean face of the input method at the line height
// and four times it, and the Japanese font.
struct PageFonts {
  LOGFONTA korean{};
  LOGFONTA japanese{};
  fw::Font koreanFont, largeFont, japaneseFont;
  int lineHeight = 16;
  int minCell = 18;  // sides of a list cell: room for the text, and no more than half as much again
  int maxCell = 28;
  void Create(HWND page);
};

// What every lookup page shares: the page brush, the input method's window
// (WM_LOOKUP_CHAR), sending a character, closing, help, and (radical and
// easy-Hangul pages) the window that had the focus before the click.
// The buttons that every page has.
struct PageButtons {
  int confirm;  // "確定"
  int close;    // "終了"
  int help;     // "ヘルプ"
};

class LookupPage : public fw::PropertyPage {
 public:
  LookupPage(unsigned templateId, bool tracksTarget, unsigned long helpContext, PageButtons buttons);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // WM_COMMAND of the page's own controls; true when handled. The buttons
  // (and IDOK, IDCANCEL) are the common part's.
  virtual bool OnCommand(int id, int code, LPARAM lParam) = 0;
  // The confirm button, Enter, and a double click on the selected cell.
  virtual void Confirm() = 0;
  void OnHelp() override;
  // Sends one GM95 character to the input method's window; 0 (nothing to
  // send) beeps.
  void SendCharacter(DbChar c);
  void CloseSheet();
  void DictionaryError(const wchar_t* caption, const wchar_t* text);
  HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
  // Enables or disables a button; the keyboard focus moves between it and
  // the list the user works in, so that it is never lost.
  void Enable(int id, bool on);
  // Text of an SEdit control, at most max bytes.
  std::string EditText(int id, int max) const;

  fw::Brush brush_;
  PageFonts fonts_;
  fw::Bitmap glyphs_;  // the page's glyph bitmap (radicals or jamo)
  HWND lastList_ = nullptr;  // the list last clicked

 private:
  bool tracksTarget_;
  unsigned long helpContext_;
  PageButtons buttons_;
};

class CBusyuDlg final : public LookupPage {
 public:
  CBusyuDlg();

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, LPARAM lParam) override;
  void Confirm() override;

 private:
  // Fills the radical list (22000) from the dictionary; -1 on failure.
  int ReadRadicalDictionary();
  // Refills the character list for the chosen radical or the filter.
  void FillCharacters();
  void ChooseRadical();
  void ChooseCharacter();
  void OnFilter();
  void OnClear();
  void PaintCell(HDC dc, const RECT& r, const Cell& c, UINT state, bool radicals);

  CellList radicals_, characters_;
  CharView chosen_, view_;
  RadicalIndex index_;
  bool haveIndex_ = false;
  int radical_ = -1;  // flat position of the chosen radical
  int filter_ = 0;
};

class CJisoDlg final : public LookupPage {
 public:
  CJisoDlg();

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, LPARAM lParam) override;
  void Confirm() override;

 private:
  // Fills the initials (22027) for the current range; -1 on failure.
  // Fills the initials; a missing dictionary is reported when reportMissing.
  int ReadJisoDictionary(bool reportMissing = true);
  void ChooseInitial();
  void ChooseSyllable();
  void ToggleRange();
  void SetRangeCaption();
  DbChar Label(DbChar gm95) const;  // the label form of the code number

  CellList initials_, syllables_;
  CharView view_;
  JisoHeader header_{};
  bool haveHeader_ = false;
  std::string path_;
  int range_ = 1;
  int initial_ = -1;
};

class CCodeDlg final : public LookupPage {
 public:
  CCodeDlg();

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, LPARAM lParam) override;
  void Confirm() override;

 private:
  class Entry final : public fw::Window {
   public:
    HWND page = nullptr;

   protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  };

  void ChooseRow(bool byUser);
  void FillCells(int row);
  void ChooseCell();
  DbChar SelectedCell() const;
  void OnEntry(LPARAM key);

  CellList rows_, cells_;
  CharView view_;
  Entry entry_;
  fw::Font entryFont_;
  LOGFONTA entryLogFont_{};
  int row_ = -1;  // row number 0-93 shown in the cell grid
};

class CDummy_Page final : public fw::PropertyPage {
 public:
  CDummy_Page();
};

class CRabeko_Dlg final : public fw::PropSheet {
 public:
  CRabeko_Dlg();
  ~CRabeko_Dlg() override;
  // Creates the modeless sheet over the owner; null on failure.
  HWND Create(HWND owner);
  // Sends the closing messages and destroys the sheet.
  void OnClose();

 protected:
  void OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnFinalMessage() override;

 private:
  CBusyuDlg busyu_;
  CJisoDlg jiso_;
  CCodeDlg code_;
  CDummy_Page dummy_;
  bool placeholder_ = false;
  bool closing_ = false;
};

// The sheet's style: WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME.
inline constexpr DWORD kSheetStyle = 0x90C80080;

}  // namespace lookup

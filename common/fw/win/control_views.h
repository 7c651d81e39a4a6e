// Views that are controls: a system control created in a pane's site (or as
// a frame's only view) and taken over as the view's window, so that the
// frame routes commands to it, keeps it as its active view and the document
// updates it, while the control paints and edits itself.
//
//   EditView      an EDIT control, ANSI or Unicode as the program chooses
//   RichEditView  a RichEdit20A/W control of riched20.dll: text and rich
//                 text loaded through EM_STREAMIN, character formats, colours
//   TreeView      a SysTreeView32 control: items with data, the selection's
//                 change reaching the view object
//
// Text crosses as UTF-16; text of a given code page (Shift-JIS 932, KS 949)
// is converted with that code page explicitly, never through the system's.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <optional>
#include <string>
#include <string_view>

#include "pane_site.h"
#include "view.h"

namespace fw {

// The framework's edit commands (the ids of programs' edit menus).
namespace cmd {
inline constexpr unsigned kEditClear = 57632;
inline constexpr unsigned kEditCopy = 57634;
inline constexpr unsigned kEditCut = 57635;
inline constexpr unsigned kEditPaste = 57637;
inline constexpr unsigned kEditSelectAll = 57642;
inline constexpr unsigned kEditUndo = 57643;
}  // namespace cmd

class ControlView : public View {
 public:
  using View::View;
  bool unicodeControl() const { return unicodeControl_; }

 protected:
  // The control of className in the site (the frame's client with the
  // frame's pane id when site is null), ANSI or Unicode, taken over as this
  // view; joins the frame and the document. Null on failure.
  HWND CreateControl(FrameWindow& frame, const PaneSite* site, const wchar_t* className, bool unicode, DWORD style,
                     DWORD exStyle);
  // After the control was made and taken over (the object never sees its
  // WM_CREATE): what a derived view sets up on its window.
  virtual void OnCreated() {}
  // The control paints itself; the rest as every view.
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // The default handling, in the window's own character set.
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

 private:
  bool unicodeControl_ = true;
};

// What edit and rich-edit controls share: their text, selection, font,
// read-only state and the edit commands (undo, cut, copy, paste, clear,
// select all), enabled by the control's state.
class TextControlView : public ControlView {
 public:
  using ControlView::ControlView;

  std::wstring GetText() const;
  void SetText(std::wstring_view text);
  // The text as bytes of a code page, and bytes of a code page as the text.
  std::string GetTextBytes(unsigned codePage) const;
  void SetTextBytes(unsigned codePage, std::string_view bytes);
  // The selection in the control's own positions (EM_GETSEL / EM_SETSEL).
  void GetSel(int& start, int& end) const;
  void SetSel(int start, int end, bool scrollToCaret = true);
  void SelectAll() { SetSel(0, -1, false); }
  void ReplaceSel(std::wstring_view text, bool canUndo = true);
  // Everything selected and replaced by nothing.
  void Clear();
  void SetFont(HFONT font, bool redraw = true);
  HFONT GetFont() const;
  void SetReadOnly(bool readOnly);
  virtual bool IsReadOnly() const;
  bool IsModified() const;
  void SetModified(bool modified);

  bool OnCommand(unsigned id) override;
  bool OnUpdateCommand(unsigned id, CommandState& state) override;

 protected:
  // EN_CHANGE: the user (or the program) changed the text.
  virtual void OnTextChanged() {}
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Whether paste has something to take (text on the clipboard).
  virtual bool CanPaste() const;
};

class EditView : public TextControlView {
 public:
  // unicode: a Unicode control; otherwise an ANSI one, whose text holds what
  // the system's code page holds (the program's Japanese pane).
  explicit EditView(Document& document, bool unicode = true) : TextControlView(document), unicode_(unicode) {}
  static constexpr DWORD kDefaultStyle =
      WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL | ES_WANTRETURN;
  // In a splitter's cell, or (site null) as the frame's only view.
  HWND Create(FrameWindow& frame, const PaneSite* site = nullptr, DWORD style = kDefaultStyle, DWORD exStyle = 0);
  // The character under a point of the client area (EM_CHARFROMPOS), or -1.
  int CharFromPos(POINT client) const;
  void SetLimitText(int limit);

 private:
  bool unicode_;
};

class RichEditView : public TextControlView {
 public:
  explicit RichEditView(Document& document, bool unicode = true) : TextControlView(document), unicode_(unicode) {}
  static constexpr DWORD kDefaultStyle =
      WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL | ES_WANTRETURN;
  // riched20.dll is loaded once for the process; the control tells its
  // view of changes and selection changes (EN_CHANGE, EN_SELCHANGE).
  HWND Create(FrameWindow& frame, const PaneSite* site = nullptr, DWORD style = kDefaultStyle, DWORD exStyle = 0);

  // Loading through EM_STREAMIN: the whole contents replaced, or only the
  // selection. False when the control refused or the stream broke.
  bool StreamInText(std::wstring_view text, bool selectionOnly = false);
  bool StreamInTextBytes(unsigned codePage, std::string_view bytes, bool selectionOnly = false);
  bool StreamInRtf(std::string_view rtf, bool selectionOnly = false);
  // The contents through EM_STREAMOUT, as rich text or as UTF-16 text.
  std::string StreamOutRtf(bool selectionOnly = false) const;
  std::wstring StreamOutText(bool selectionOnly = false) const;

  // A character format: the members set are applied (or were read), the
  // others left alone. height is the character height in twips.
  struct CharFormat {
    std::optional<COLORREF> colour;
    std::optional<std::wstring> face;
    std::optional<int> height;
    std::optional<BYTE> charset;
    std::optional<BYTE> pitchAndFamily;
    std::optional<bool> bold, italic, underline;
  };
  // The format of new text and of the text without a format of its own
  // (SCF_DEFAULT), of the selection (SCF_SELECTION), of all the text (SCF_ALL).
  bool SetDefaultCharFormat(const CharFormat& format);
  bool SetSelectionCharFormat(const CharFormat& format);
  bool SetAllCharFormat(const CharFormat& format);
  // What the control reports (for the selection: of its first character;
  // members that differ within it are left unset).
  CharFormat GetDefaultCharFormat() const;
  CharFormat GetSelectionCharFormat() const;
  // The face, height (at the screen's resolution), character set, pitch and
  // weight of a logical font as a format (the other members unset).
  static CharFormat FormatOf(const LOGFONTW& font);
  // The default format's text colour only.
  bool SetTextColour(COLORREF colour);
  // The control's background (EM_SETBKGNDCOLOR); system: the window colour.
  void SetBackgroundColour(std::optional<COLORREF> colour);
  bool IsReadOnly() const override;

 protected:
  // EN_SELCHANGE: the selection is now range.
  virtual void OnSelectionChanged(const CHARRANGE& /*range*/) {}
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool CanPaste() const override;

 private:
  bool StreamIn(std::string_view bytes, UINT format, bool selectionOnly, std::size_t unit);
  std::string StreamOut(UINT format, bool selectionOnly) const;
  bool ApplyFormat(const CharFormat& format, WPARAM which);
  CharFormat ReadFormat(WPARAM which) const;
  bool unicode_;
};

class TreeView : public ControlView {
 public:
  explicit TreeView(Document& document) : ControlView(document) {}
  static constexpr DWORD kDefaultStyle =
      WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
  HWND Create(FrameWindow& frame, const PaneSite* site = nullptr, DWORD style = kDefaultStyle, DWORD exStyle = 0);

  // A new item with its label and data, the last (or after `after`) child of
  // parent (TVI_ROOT: at the top level); null on failure.
  HTREEITEM InsertItem(std::wstring_view text, LPARAM data = 0, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
  // The same with a label of a code page's bytes.
  HTREEITEM InsertItemBytes(unsigned codePage, std::string_view text, LPARAM data = 0, HTREEITEM parent = TVI_ROOT,
                            HTREEITEM after = TVI_LAST);
  bool DeleteItem(HTREEITEM item);
  bool DeleteAllItems();
  bool Expand(HTREEITEM item, UINT code = TVE_EXPAND);
  bool SelectItem(HTREEITEM item);
  bool EnsureVisible(HTREEITEM item);
  HTREEITEM GetSelectedItem() const { return Next(nullptr, TVGN_CARET); }
  HTREEITEM GetRootItem() const { return Next(nullptr, TVGN_ROOT); }
  HTREEITEM GetChildItem(HTREEITEM item) const { return Next(item, TVGN_CHILD); }
  HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return Next(item, TVGN_NEXT); }
  HTREEITEM GetParentItem(HTREEITEM item) const { return Next(item, TVGN_PARENT); }
  LPARAM GetItemData(HTREEITEM item) const;
  bool SetItemData(HTREEITEM item, LPARAM data);
  std::wstring GetItemText(HTREEITEM item) const;
  bool IsExpanded(HTREEITEM item) const;
  int GetCount() const;
  // The item's rectangle in the client area (textOnly: its label's).
  bool GetItemRect(HTREEITEM item, RECT& rect, bool textOnly = true) const;
  HTREEITEM HitTest(POINT client) const;

 protected:
  // TVN_SELCHANGED: the selection moved from before to now (either may be
  // null); action is TVC_BYMOUSE, TVC_BYKEYBOARD or TVC_UNKNOWN.
  virtual void OnSelChanged(HTREEITEM /*before*/, HTREEITEM /*now*/, UINT /*action*/) {}
  // Any other notification of the tree; true when taken (result set).
  virtual bool OnTreeNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  HTREEITEM Next(HTREEITEM item, UINT relation) const;
};

}  // namespace fw

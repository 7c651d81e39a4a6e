#include "control_views.h"

#include <cstring>
#include <utility>
#include <vector>

#include "frame.h"
#include "module.h"
#include "rich_text.h"

namespace fw {

namespace {

DWORD CALLBACK ReadSource(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* given) {
  auto* source = reinterpret_cast<StreamSource*>(cookie);
  *given = static_cast<LONG>(source->Read(buffer, capacity > 0 ? static_cast<std::size_t>(capacity) : 0));
  return 0;
}

DWORD CALLBACK WriteSink(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* taken) {
  auto* sink = reinterpret_cast<StreamSink*>(cookie);
  *taken = static_cast<LONG>(sink->Append(buffer, size > 0 ? static_cast<std::size_t>(size) : 0));
  return 0;
}

bool LoadRichEditLibrary() {
  static const HMODULE library = LoadLibraryW(L"riched20.dll");  // stays for the process
  return library != nullptr;
}

}  // namespace

// ---- ControlView -------------------------------------------------------------

HWND ControlView::CreateControl(FrameWindow& frame, const PaneSite* site, const wchar_t* className, bool unicode,
                                DWORD style, DWORD exStyle) {
  if (hwnd() || !frame.hwnd()) return nullptr;
  PaneSite place{frame.hwnd(), kFirstPaneId, {}};
  if (site) {
    place = *site;
    if (!place.parent) place.parent = frame.hwnd();
  } else {
    GetClientRect(frame.hwnd(), &place.rect);
  }
  const RECT& r = place.rect;
  const DWORD childStyle = style | WS_CHILD;
  HMENU id = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(place.id));
  HINSTANCE instance = frame.module().handle();
  HWND w = nullptr;
  if (unicode) {
    w = CreateWindowExW(exStyle, className, L"", childStyle, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        place.parent, id, instance, nullptr);
  } else {
    const std::string ansi = ToCodePage(CP_ACP, className);
    w = CreateWindowExA(exStyle, ansi.c_str(), "", childStyle, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        place.parent, id, instance, nullptr);
  }
  if (!w) return nullptr;
  if (!Subclass(w)) {
    DestroyWindow(w);
    return nullptr;
  }
  unicodeControl_ = unicode;
  JoinFrame(frame);
  OnCreated();
  return hwnd();  // null when OnCreated destroyed it
}

bool ControlView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_PAINT) return false;
  return View::OnMessage(message, wParam, lParam, result);
}

LRESULT ControlView::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (!hwnd()) return 0;
  return unicodeControl_ ? SendMessageW(hwnd(), message, wParam, lParam) : SendMessageA(hwnd(), message, wParam, lParam);
}

// ---- TextControlView ---------------------------------------------------------

std::wstring TextControlView::GetText() const {
  if (!hwnd()) return {};
  const int length = GetWindowTextLengthW(hwnd());
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd(), text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

void TextControlView::SetText(std::wstring_view text) {
  if (hwnd()) SetWindowTextW(hwnd(), std::wstring(text).c_str());
}

std::string TextControlView::GetTextBytes(unsigned codePage) const { return ToCodePage(codePage, GetText()); }

void TextControlView::SetTextBytes(unsigned codePage, std::string_view bytes) {
  SetText(FromCodePage(codePage, std::string(bytes)));
}

void TextControlView::GetSel(int& start, int& end) const {
  DWORD s = 0, e = 0;
  SendMessageW(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  start = static_cast<int>(s);
  end = static_cast<int>(e);
}

void TextControlView::SetSel(int start, int end, bool scrollToCaret) {
  SendMessageW(hwnd(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
  if (scrollToCaret) SendMessageW(hwnd(), EM_SCROLLCARET, 0, 0);
}

void TextControlView::ReplaceSel(std::wstring_view text, bool canUndo) {
  const std::wstring copy(text);
  SendMessageW(hwnd(), EM_REPLACESEL, canUndo ? TRUE : FALSE, reinterpret_cast<LPARAM>(copy.c_str()));
}

void TextControlView::Clear() {
  SetSel(0, -1, false);
  ReplaceSel(L"", false);
}

void TextControlView::SetFont(HFONT font, bool redraw) {
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

HFONT TextControlView::GetFont() const { return reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0)); }

void TextControlView::SetReadOnly(bool readOnly) { SendMessageW(hwnd(), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0); }

bool TextControlView::IsReadOnly() const {
  return hwnd() && (GetWindowLongW(hwnd(), GWL_STYLE) & ES_READONLY) != 0;
}

bool TextControlView::IsModified() const { return SendMessageW(hwnd(), EM_GETMODIFY, 0, 0) != 0; }
void TextControlView::SetModified(bool modified) { SendMessageW(hwnd(), EM_SETMODIFY, modified ? TRUE : FALSE, 0); }

bool TextControlView::CanPaste() const {
  return IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT);
}

bool TextControlView::OnCommand(unsigned id) {
  switch (id) {
    case cmd::kEditUndo: SendMessageW(hwnd(), EM_UNDO, 0, 0); return true;
    case cmd::kEditCut: SendMessageW(hwnd(), WM_CUT, 0, 0); return true;
    case cmd::kEditCopy: SendMessageW(hwnd(), WM_COPY, 0, 0); return true;
    case cmd::kEditPaste: SendMessageW(hwnd(), WM_PASTE, 0, 0); return true;
    case cmd::kEditClear: SendMessageW(hwnd(), WM_CLEAR, 0, 0); return true;
    case cmd::kEditSelectAll: SelectAll(); return true;
    default: return View::OnCommand(id);
  }
}

bool TextControlView::OnUpdateCommand(unsigned id, CommandState& state) {
  int start = 0, end = 0;
  switch (id) {
    case cmd::kEditUndo:
      state.enabled = !IsReadOnly() && SendMessageW(hwnd(), EM_CANUNDO, 0, 0) != 0;
      return true;
    case cmd::kEditCut:
    case cmd::kEditClear:
      GetSel(start, end);
      state.enabled = !IsReadOnly() && start != end;
      return true;
    case cmd::kEditCopy:
      GetSel(start, end);
      state.enabled = start != end;
      return true;
    case cmd::kEditPaste:
      state.enabled = !IsReadOnly() && CanPaste();
      return true;
    case cmd::kEditSelectAll:
      state.enabled = GetWindowTextLengthW(hwnd()) > 0;
      return true;
    default:
      return View::OnUpdateCommand(id, state);
  }
}

bool TextControlView::OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
    OnTextChanged();
    result = 0;
    return true;
  }
  return false;
}

// ---- EditView ----------------------------------------------------------------

HWND EditView::Create(FrameWindow& frame, const PaneSite* site, DWORD style, DWORD exStyle) {
  return CreateControl(frame, site, L"EDIT", unicode_, style, exStyle);
}

int EditView::CharFromPos(POINT client) const {
  const LRESULT r = SendMessageW(hwnd(), EM_CHARFROMPOS, 0, MAKELPARAM(client.x, client.y));
  if (r == -1) return -1;
  return static_cast<int>(LOWORD(r));
}

void EditView::SetLimitText(int limit) { SendMessageW(hwnd(), EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0); }

// ---- RichEditView ------------------------------------------------------------

HWND RichEditView::Create(FrameWindow& frame, const PaneSite* site, DWORD style, DWORD exStyle) {
  if (!LoadRichEditLibrary()) return nullptr;
  HWND w = CreateControl(frame, site, unicode_ ? L"RichEdit20W" : L"RichEdit20A", unicode_, style, exStyle);
  if (w) SendMessageW(w, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
  return w;
}

bool RichEditView::StreamIn(std::string_view bytes, UINT format, bool selectionOnly, std::size_t unit) {
  if (!hwnd()) return false;
  StreamSource source(bytes, unit);
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  stream.pfnCallback = ReadSource;
  Send(EM_STREAMIN, format | (selectionOnly ? SFF_SELECTION : 0), reinterpret_cast<LPARAM>(&stream));
  return stream.dwError == 0 && source.AtEnd();
}

bool RichEditView::StreamInText(std::wstring_view text, bool selectionOnly) {
  const std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  return StreamIn(bytes, SF_TEXT | SF_UNICODE, selectionOnly, sizeof(wchar_t));
}

bool RichEditView::StreamInTextBytes(unsigned codePage, std::string_view bytes, bool selectionOnly) {
  return StreamInText(FromCodePage(codePage, std::string(bytes)), selectionOnly);
}

bool RichEditView::StreamInRtf(std::string_view rtf, bool selectionOnly) {
  return StreamIn(rtf, SF_RTF, selectionOnly, 1);
}

std::string RichEditView::StreamOut(UINT format, bool selectionOnly) const {
  if (!hwnd()) return {};
  StreamSink sink;
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&sink);
  stream.pfnCallback = WriteSink;
  Send(EM_STREAMOUT, format | (selectionOnly ? SFF_SELECTION : 0), reinterpret_cast<LPARAM>(&stream));
  return sink.bytes();
}

std::string RichEditView::StreamOutRtf(bool selectionOnly) const { return StreamOut(SF_RTF, selectionOnly); }

std::wstring RichEditView::StreamOutText(bool selectionOnly) const {
  const std::string bytes = StreamOut(SF_TEXT | SF_UNICODE, selectionOnly);
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
  return text;
}

bool RichEditView::ApplyFormat(const CharFormat& format, WPARAM which) {
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  if (format.colour) {
    cf.dwMask |= CFM_COLOR;
    cf.crTextColor = *format.colour;  // CFE_AUTOCOLOR left clear
  }
  if (format.face) {
    cf.dwMask |= CFM_FACE;
    lstrcpynW(cf.szFaceName, format.face->c_str(), LF_FACESIZE);
  }
  if (format.pitchAndFamily) cf.bPitchAndFamily = *format.pitchAndFamily;
  if (format.height) {
    cf.dwMask |= CFM_SIZE;
    cf.yHeight = *format.height;
  }
  if (format.charset) {
    cf.dwMask |= CFM_CHARSET;
    cf.bCharSet = *format.charset;
  }
  const std::pair<const std::optional<bool>*, std::pair<DWORD, DWORD>> effects[] = {
      {&format.bold, {CFM_BOLD, CFE_BOLD}},
      {&format.italic, {CFM_ITALIC, CFE_ITALIC}},
      {&format.underline, {CFM_UNDERLINE, CFE_UNDERLINE}},
  };
  for (const auto& [value, bits] : effects) {
    if (!*value) continue;
    cf.dwMask |= bits.first;
    if (**value) cf.dwEffects |= bits.second;
  }
  return SendMessageW(hwnd(), EM_SETCHARFORMAT, which, reinterpret_cast<LPARAM>(&cf)) != 0;
}

RichEditView::CharFormat RichEditView::ReadFormat(WPARAM which) const {
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_COLOR | CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
  SendMessageW(hwnd(), EM_GETCHARFORMAT, which, reinterpret_cast<LPARAM>(&cf));
  CharFormat f;
  if (cf.dwMask & CFM_COLOR)
    f.colour = (cf.dwEffects & CFE_AUTOCOLOR) ? GetSysColor(COLOR_WINDOWTEXT) : cf.crTextColor;
  if (cf.dwMask & CFM_FACE) {
    f.face = std::wstring(cf.szFaceName);
    f.pitchAndFamily = cf.bPitchAndFamily;
  }
  if (cf.dwMask & CFM_SIZE) f.height = static_cast<int>(cf.yHeight);
  if (cf.dwMask & CFM_CHARSET) f.charset = cf.bCharSet;
  if (cf.dwMask & CFM_BOLD) f.bold = (cf.dwEffects & CFE_BOLD) != 0;
  if (cf.dwMask & CFM_ITALIC) f.italic = (cf.dwEffects & CFE_ITALIC) != 0;
  if (cf.dwMask & CFM_UNDERLINE) f.underline = (cf.dwEffects & CFE_UNDERLINE) != 0;
  return f;
}

bool RichEditView::SetDefaultCharFormat(const CharFormat& format) { return ApplyFormat(format, SCF_DEFAULT); }
bool RichEditView::SetSelectionCharFormat(const CharFormat& format) { return ApplyFormat(format, SCF_SELECTION); }
bool RichEditView::SetAllCharFormat(const CharFormat& format) { return ApplyFormat(format, SCF_ALL); }
RichEditView::CharFormat RichEditView::GetDefaultCharFormat() const { return ReadFormat(SCF_DEFAULT); }
RichEditView::CharFormat RichEditView::GetSelectionCharFormat() const { return ReadFormat(SCF_SELECTION); }

RichEditView::CharFormat RichEditView::FormatOf(const LOGFONTW& font) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  CharFormat f;
  f.face = std::wstring(font.lfFaceName);
  f.pitchAndFamily = font.lfPitchAndFamily;
  if (font.lfHeight != 0) f.height = TwipsFromFontHeight(font.lfHeight, dpi);
  f.charset = font.lfCharSet;
  f.bold = font.lfWeight >= FW_BOLD;
  f.italic = font.lfItalic != 0;
  f.underline = font.lfUnderline != 0;
  return f;
}

bool RichEditView::SetTextColour(COLORREF colour) {
  CharFormat f;
  f.colour = colour;
  return SetDefaultCharFormat(f);
}

void RichEditView::SetBackgroundColour(std::optional<COLORREF> colour) {
  SendMessageW(hwnd(), EM_SETBKGNDCOLOR, colour ? FALSE : TRUE, colour ? static_cast<LPARAM>(*colour) : 0);
}

bool RichEditView::IsReadOnly() const {
  return hwnd() && (SendMessageW(hwnd(), EM_GETOPTIONS, 0, 0) & ECO_READONLY) != 0;
}

bool RichEditView::CanPaste() const { return SendMessageW(hwnd(), EM_CANPASTE, 0, 0) != 0; }

bool RichEditView::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code == EN_SELCHANGE) {
      OnSelectionChanged(reinterpret_cast<const SELCHANGE*>(lParam)->chrg);
      result = 0;
      return true;
    }
    return false;
  }
  return TextControlView::OnReflected(message, wParam, lParam, result);
}

// ---- TreeView ----------------------------------------------------------------

HWND TreeView::Create(FrameWindow& frame, const PaneSite* site, DWORD style, DWORD exStyle) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  return CreateControl(frame, site, WC_TREEVIEWW, true, style, exStyle);
}

HTREEITEM TreeView::InsertItem(std::wstring_view text, LPARAM data, HTREEITEM parent, HTREEITEM after) {
  std::wstring label(text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = label.data();
  insert.item.lParam = data;
  return reinterpret_cast<HTREEITEM>(SendMessageW(hwnd(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

HTREEITEM TreeView::InsertItemBytes(unsigned codePage, std::string_view text, LPARAM data, HTREEITEM parent,
                                    HTREEITEM after) {
  return InsertItem(FromCodePage(codePage, std::string(text)), data, parent, after);
}

bool TreeView::DeleteItem(HTREEITEM item) {
  return SendMessageW(hwnd(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)) != 0;
}

bool TreeView::DeleteAllItems() { return DeleteItem(TVI_ROOT); }

bool TreeView::Expand(HTREEITEM item, UINT code) {
  return SendMessageW(hwnd(), TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)) != 0;
}

bool TreeView::SelectItem(HTREEITEM item) {
  return SendMessageW(hwnd(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
}

bool TreeView::EnsureVisible(HTREEITEM item) {
  return SendMessageW(hwnd(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item)) != 0;
}

HTREEITEM TreeView::Next(HTREEITEM item, UINT relation) const {
  return reinterpret_cast<HTREEITEM>(SendMessageW(hwnd(), TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

LPARAM TreeView::GetItemData(HTREEITEM item) const {
  TVITEMW it{};
  it.mask = TVIF_PARAM;
  it.hItem = item;
  return SendMessageW(hwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it)) ? it.lParam : 0;
}

bool TreeView::SetItemData(HTREEITEM item, LPARAM data) {
  TVITEMW it{};
  it.mask = TVIF_PARAM;
  it.hItem = item;
  it.lParam = data;
  return SendMessageW(hwnd(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it)) != 0;
}

std::wstring TreeView::GetItemText(HTREEITEM item) const {
  std::vector<wchar_t> buffer(1024, L'\0');
  TVITEMW it{};
  it.mask = TVIF_TEXT;
  it.hItem = item;
  it.pszText = buffer.data();
  it.cchTextMax = static_cast<int>(buffer.size());
  if (!SendMessageW(hwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it))) return {};
  buffer.back() = L'\0';
  return std::wstring(it.pszText ? it.pszText : L"");
}

bool TreeView::IsExpanded(HTREEITEM item) const {
  return (SendMessageW(hwnd(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

int TreeView::GetCount() const { return static_cast<int>(SendMessageW(hwnd(), TVM_GETCOUNT, 0, 0)); }

bool TreeView::GetItemRect(HTREEITEM item, RECT& rect, bool textOnly) const {
  *reinterpret_cast<HTREEITEM*>(&rect) = item;
  return SendMessageW(hwnd(), TVM_GETITEMRECT, textOnly ? TRUE : FALSE, reinterpret_cast<LPARAM>(&rect)) != 0;
}

HTREEITEM TreeView::HitTest(POINT client) const {
  TVHITTESTINFO info{};
  info.pt = client;
  return reinterpret_cast<HTREEITEM>(SendMessageW(hwnd(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

bool TreeView::OnReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  if (message != WM_NOTIFY) return false;
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header->code == TVN_SELCHANGEDW || header->code == TVN_SELCHANGEDA) {
    // The A and W records have the same layout up to the items' handles.
    const auto* change = reinterpret_cast<const NMTREEVIEWW*>(lParam);
    OnSelChanged(change->itemOld.hItem, change->itemNew.hItem, change->action);
    result = 0;
    return true;
  }
  return OnTreeNotify(*header, result);
}

}  // namespace fw

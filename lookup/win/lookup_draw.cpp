#include "lookup_draw.h"

#include <algorithm>

#include "ime_code.h"
#include "layout.h"
#include "lookup_config.h"
#include "lookup_state.h"

namespace lookup {

std::string CodeBytes(DbChar c) {
  return std::string{static_cast<char>(codeconv::Lead(c)), static_cast<char>(codeconv::Trail(c))};
}

std::wstring DrawnText(const std::string& bytes, TextMode mode) {
  const LookupState& s = State();
  const unsigned inputCodePage = s.koreanCode == 1 ? 949 : 932;
  switch (mode) {
    case TextMode::kInputCode:
      return fw::FromCodePage(inputCodePage, DisplayBytes(bytes, s.koreanCode, &s.tables));
    case TextMode::kAsIs:
      return fw::FromCodePage(inputCodePage, bytes);
    case TextMode::kUnicode: {
      std::string ks = bytes;
      auto* p = reinterpret_cast<std::uint8_t*>(ks.data());
      codeconv::GmTextToKs(p, p, ks.size());
      return fw::FromCodePage(949, ks);
    }
    case TextMode::kShiftJis:
      return fw::FromCodePage(932, bytes);
  }
  return {};
}

SIZE TextExtent(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

void DrawCentred(HDC dc, const RECT& r, const std::wstring& text, int shift) {
  const SIZE size = TextExtent(dc, text);
  ExtTextOutW(dc, r.left + (r.right - r.left - size.cx) / 2 + shift, r.top + (r.bottom - r.top - size.cy) / 2 + shift,
              ETO_CLIPPED, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

bool DrawGlyph(HDC dc, HBITMAP glyphs, DbChar code, int x, int y, int side) {
  if (!glyphs || codeconv::Lead(code) != kGlyphLead || code < kFirstGlyph) return false;
  BITMAP bm{};
  GetObjectW(glyphs, sizeof bm, &bm);
  const int n = code - kFirstGlyph;
  const int column = n % 8, row = n / 8;
  if ((row + 1) * 16 > bm.bmHeight) return false;
  fw::MemoryDc mem(dc);
  fw::Selection sel(mem.get(), glyphs);
  // A monochrome source takes the text colour for its black and the
  // background colour for its white.
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, x, y, side, side, mem.get(), column * 16, row * 16, 16, 16, SRCCOPY);
  return true;
}

void DrawButtonFace(HDC dc, const RECT& rect, DbChar label, bool pressed, HBITMAP glyphs, TextMode mode) {
  FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  const int shift = pressed ? 1 : 0;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  constexpr int kTop = 2;  // the label's place below the top edge
  if (codeconv::Lead(label) == kGlyphLead && glyphs) {
    // A square of the height below the label's place, less 1; 16 near 16.
    int side = h - kTop - 1;
    if (side >= 14 && side <= 17) side = 16;
    DrawGlyph(dc, glyphs, label, rect.left + (w - side) / 2 + shift, rect.top + kTop + shift, side);
  } else if (label != 0) {
    DrawCentred(dc, rect, DrawnText(CodeBytes(label), mode), shift);
  }
  fw::Pen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
  fw::Pen white(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
  HPEN topLeft = pressed ? shadow.get() : white.get();
  HPEN bottomRight = pressed ? white.get() : shadow.get();
  HGDIOBJ old = SelectObject(dc, topLeft);
  MoveToEx(dc, rect.left, rect.bottom - 1, nullptr);
  LineTo(dc, rect.left, rect.top);
  LineTo(dc, rect.right - 1, rect.top);
  SelectObject(dc, bottomRight);
  LineTo(dc, rect.right - 1, rect.bottom - 1);
  LineTo(dc, rect.left, rect.bottom - 1);
  SelectObject(dc, old);
}

// ---- cell lists ----

void CellList::Attach(HWND list, HWND focusTo, HWND* lastClicked, Painter painter, CaptureRule capture) {
  focusTo_ = focusTo;
  lastClicked_ = lastClicked;
  capture_ = capture;
  painter_ = std::move(painter);
  Subclass(list);
}

void CellList::Layout(int columns, int rows, int minCell, int maxCell) {
  HWND h = hwnd();
  const LONG style = GetWindowLongW(h, GWL_STYLE);
  const bool scrolls = (style & WS_HSCROLL) != 0;
  const int scrollBar = scrolls ? GetSystemMetrics(SM_CYHSCROLL) : 0;
  // What the window adds to its client area: its borders, and the scroll
  // bar, which LBS_DISABLENOSCROLL keeps in place.
  RECT adjusted{0, 0, 0, 0};
  AdjustWindowRectEx(&adjusted, static_cast<DWORD>(style & ~(WS_HSCROLL | WS_VSCROLL)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(h, GWL_EXSTYLE)));
  const fw::Extent frame{adjusted.right - adjusted.left, adjusted.bottom - adjusted.top};
  RECT wr{};
  GetWindowRect(h, &wr);
  const int roomWidth = wr.right - wr.left - frame.cx;
  const int roomHeight = wr.bottom - wr.top - frame.cy - scrollBar;
  const int cell = fw::SquareCell({roomWidth, roomHeight}, columns, rows, minCell, maxCell);
  if (rows <= 0) rows = fw::WholeRows(roomHeight, cell);
  if (columns <= 0) columns = std::max<int>(1, roomWidth / cell);
  rows_ = rows;
  SendMessageW(h, LB_SETITEMHEIGHT, 0, cell);
  SendMessageW(h, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(cell), 0);
  const fw::Extent size = fw::GridListSize({cell, cell}, columns, rows, frame, scrollBar);
  SetWindowPos(h, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CellList::SetCells(std::vector<Cell> cells) {
  cells_ = std::move(cells);
  HWND h = hwnd();
  SendMessageW(h, WM_SETREDRAW, FALSE, 0);
  SendMessageW(h, LB_RESETCONTENT, 0, 0);
  SendMessageW(h, LB_INITSTORAGE, cells_.size(), 0);
  for (std::size_t i = 0; i < cells_.size(); ++i) SendMessageW(h, LB_ADDSTRING, 0, static_cast<LPARAM>(i));
  SendMessageW(h, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(h, nullptr, TRUE);
}

int CellList::Selection() const {
  const LRESULT sel = SendMessageW(hwnd(), LB_GETCURSEL, 0, 0);
  return sel == LB_ERR ? -1 : static_cast<int>(sel);
}

DbChar CellList::SelectedCharacter() const {
  const int sel = Selection();
  return IsSendable(cells_, sel) ? cells_[static_cast<std::size_t>(sel)].code : 0;
}

void CellList::Select(int index) { SendMessageW(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

bool CellList::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SETFOCUS:
      // The list keeps no keyboard focus while the page's button can take it.
      result = CallDefault(message, wParam, lParam);
      if (focusTo_ && IsWindowEnabled(focusTo_)) SetFocus(focusTo_);
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (lastClicked_) *lastClicked_ = hwnd();
      return false;
    case WM_CAPTURECHANGED: {
      // The list's own handling ends its tracking first; a capture that
      // moved to an unrelated window (or, for the cell grid, any change)
      // is then let go, so no drag stays held.
      result = CallDefault(message, wParam, lParam);
      const HWND taker = reinterpret_cast<HWND>(lParam);
      const bool unrelated = taker && taker != hwnd() && !IsChild(hwnd(), taker);
      if (capture_ == CaptureRule::kAnyChange || unrelated) ReleaseCapture();
      return true;
    }
    default:
      return false;
  }
}

bool CellList::OnReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  if (message != WM_DRAWITEM) return false;
  const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  result = TRUE;
  if (d->itemID == static_cast<UINT>(-1) || d->itemID >= cells_.size()) return true;
  if (painter_) painter_(d->hDC, d->rcItem, cells_[d->itemID], static_cast<int>(d->itemID), d->itemState);
  return true;
}

// ---- the large view ----

void CharView::Attach(HWND view, HFONT charFont, HFONT koreanFont, HFONT kanaFont, HBITMAP glyphs) {
  charFont_ = charFont;
  // The static's font is the one its character is drawn in.
  SendMessageW(view, WM_SETFONT, reinterpret_cast<WPARAM>(charFont), FALSE);
  koreanFont_ = koreanFont;
  kanaFont_ = kanaFont;
  glyphs_ = glyphs;
  Subclass(view);
}

void CharView::Show(DbChar code, ReadingLabel label, TextMode mode) {
  code_ = code;
  label_ = std::move(label);
  mode_ = mode;
  InvalidateRect(hwnd(), nullptr, TRUE);
}

bool CharView::OnReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  if (message != WM_DRAWITEM) return false;
  const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  HDC dc = d->hDC;
  const RECT& r = d->rcItem;
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  result = TRUE;
  if (code_ == 0) return true;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::wstring reading;
  HFONT readingFont = kanaFont_;
  switch (label_.kind) {
    case LabelKind::kNone: break;
    case LabelKind::kHex: reading = DrawnText(label_.bytes, TextMode::kShiftJis); break;
    case LabelKind::kKana: reading = DrawnText(label_.bytes, TextMode::kShiftJis); break;
    case LabelKind::kHangul:
      reading = DrawnText(label_.bytes, TextMode::kInputCode);
      readingFont = koreanFont_;
      break;
  }
  SIZE readingSize{};
  if (!reading.empty()) {
    fw::Selection sel(dc, readingFont);
    readingSize = TextExtent(dc, reading);
  }
  fw::Selection sel(dc, charFont_);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  const int charHeight = tm.tmHeight;
  const int top = r.top + std::max(0, (h - charHeight - static_cast<int>(readingSize.cy)) / 2);
  if (codeconv::Lead(code_) == kGlyphLead && glyphs_) {
    const int side = std::min(charHeight, w);
    DrawGlyph(dc, glyphs_, code_, r.left + (w - side) / 2, top, side);
  } else {
    const std::wstring text = DrawnText(CodeBytes(code_), mode_);
    const SIZE size = TextExtent(dc, text);
    ExtTextOutW(dc, r.left + (w - size.cx) / 2, top, ETO_CLIPPED, &r, text.c_str(), static_cast<UINT>(text.size()),
                nullptr);
  }
  if (!reading.empty()) {
    fw::Selection readingSel(dc, readingFont);
    ExtTextOutW(dc, r.left + (w - readingSize.cx) / 2, top + charHeight, ETO_CLIPPED, &r, reading.c_str(),
                static_cast<UINT>(reading.size()), nullptr);
  }
  return true;
}

}  // namespace lookup

#include "owner_draw_list.h"

#include <commctrl.h>

#include "candidate_list_rules.h"
#include "text_codes.h"

namespace dalmok {
namespace {

namespace cand = workbench::candidates;

cand::Box ToBox(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRect(const cand::Box& b) { return {b.left, b.top, b.right, b.bottom}; }

COLORREF Colour(const cand::Rgb& c) { return RGB(c.red, c.green, c.blue); }

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

UINT Alignment(HWND list, int column) {
  LVCOLUMNW c{};
  c.mask = LVCF_FMT;
  if (!SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c))) return DT_LEFT;
  switch (c.fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: return DT_RIGHT;
    case LVCFMT_CENTER: return DT_CENTER;
    default: return DT_LEFT;
  }
}

std::wstring ItemText(HWND list, int row, int column) {
  wchar_t text[512] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 511;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

RECT ColumnRect(HWND list, int row, int column) {
  RECT r{};
  r.top = column;
  r.left = column == 0 ? LVIR_LABEL : LVIR_BOUNDS;
  SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  return r;
}

}  // namespace

bool COwnerDrawList::SubclassList(HWND list, unsigned codePage) {
  codePage_ = codePage;
  if (!list || !Subclass(list)) return false;
  SetWindowLongW(list, GWL_STYLE, GetWindowLongW(list, GWL_STYLE) | LVS_OWNERDRAWFIXED);
  return true;
}

void COwnerDrawList::SetDrawStyle(int style, HFONT font) {
  const int accepted = cand::AcceptDrawStyle(drawStyle_, style);
  font_ = font;
  if (accepted != style) return;
  drawStyle_ = accepted;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void COwnerDrawList::SetFontColumn(int column) { fontColumn_ = cand::AcceptFontColumn(column); }

bool COwnerDrawList::OnReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  if (message != WM_DRAWITEM) return false;
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (item->CtlType != ODT_LISTVIEW) return false;
  DrawRow(*item);
  result = TRUE;
  return true;
}

bool COwnerDrawList::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_PAINT && drawStyle_ == cand::kWholeRow &&
      (GetWindowLongW(hwnd(), GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT) {
    // Rows narrower than the client area: the strip to their right is
    // painted again, so that whole-row highlights stay whole.
    RECT client{}, row{};
    GetClientRect(hwnd(), &client);
    row.left = LVIR_BOUNDS;
    const int top = static_cast<int>(SendMessageW(hwnd(), LVM_GETTOPINDEX, 0, 0));
    if (SendMessageW(hwnd(), LVM_GETITEMRECT, static_cast<WPARAM>(top), reinterpret_cast<LPARAM>(&row)) &&
        row.right < client.right) {
      RECT strip{row.right, client.top, client.right, client.bottom};
      InvalidateRect(hwnd(), &strip, FALSE);
    }
  }
  return fw::Window::OnMessage(message, wParam, lParam, result);
}

void COwnerDrawList::DrawRow(const DRAWITEMSTRUCT& d) {
  HWND list = hwnd();
  HDC dc = d.hDC;
  const int row = static_cast<int>(d.itemID);
  const UINT state = static_cast<UINT>(
      SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_DROPHILITED | LVIS_SELECTED | LVIS_FOCUSED));
  const bool selected = cand::DrawsSelected((state & LVIS_DROPHILITED) != 0, (state & LVIS_SELECTED) != 0,
                                            GetFocus() == list,
                                            (GetWindowLongW(list, GWL_STYLE) & LVS_SHOWSELALWAYS) != 0);
  HFONT listFont = reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = SelectObject(dc, listFont ? listFont : GetStockObject(DEFAULT_GUI_FONT));
  SIZE blank{};
  GetTextExtentPoint32W(dc, L" ", 1, &blank);
  const long margin = 2 * blank.cx;

  // The first column's text and its width (in its own font).
  const bool firstIsFont = fontColumn_ == 0;
  std::wstring first = firstIsFont ? Wide(codePage_, cand::FontColumnText(fontTexts, row)) : ItemText(list, row, 0);
  if (firstIsFont && font_) SelectObject(dc, font_);
  SIZE firstSize{};
  GetTextExtentPoint32W(dc, first.c_str(), static_cast<int>(first.size()), &firstSize);
  SelectObject(dc, listFont ? listFont : GetStockObject(DEFAULT_GUI_FONT));

  RECT bounds{}, label{}, client{};
  bounds.left = LVIR_BOUNDS;
  SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
  label.left = LVIR_LABEL;
  SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
  GetClientRect(list, &client);
  const RECT area =
      ToRect(cand::HighlightArea(drawStyle_, ToBox(bounds), ToBox(label), firstSize.cx, margin, client.right));

  const COLORREF window = GetSysColor(COLOR_WINDOW);
  COLORREF background = window;
  if (selected) {
    background = GetSysColor(COLOR_HIGHLIGHT);
  } else if (auto colour = cand::GroupRowColour(row, boundaries)) {
    background = Colour(*colour);
  }
  Fill(dc, area, background);
  SetBkMode(dc, TRANSPARENT);

  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  const int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
  for (int c = 0; c < columns; ++c) {
    RECT r = ColumnRect(list, row, c);
    bool highlighted = selected;
    if (drawStyle_ == cand::kLabelOnly && c > 0) {
      Fill(dc, r, window);
      highlighted = false;
    }
    SetTextColor(dc, GetSysColor(highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const bool fontColumn = c == fontColumn_;
    const std::wstring text =
        c == 0 ? first : fontColumn ? Wide(codePage_, cand::FontColumnText(fontTexts, row)) : ItemText(list, row, c);
    if (fontColumn && font_) SelectObject(dc, font_);
    HRGN clip = CreateRectRgnIndirect(&r);
    SelectClipRgn(dc, clip);
    RECT inset{r.left + margin, r.top, r.right - margin, r.bottom};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inset,
              Alignment(list, c) | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
    SelectObject(dc, listFont ? listFont : GetStockObject(DEFAULT_GUI_FONT));
  }
  if (d.itemState & ODS_FOCUS) DrawFocusRect(dc, &area);
  SelectObject(dc, oldFont);
}

}  // namespace dalmok

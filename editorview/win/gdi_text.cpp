#include "gdi_text.h"

namespace editorview {

int GdiMeasurer::WidthOfUnits(std::u16string_view units) {
  SIZE size{};
  if (!dc_ || units.empty()) return 0;
  GetTextExtentPoint32W(dc_, reinterpret_cast<LPCWSTR>(units.data()), static_cast<int>(units.size()), &size);
  return size.cx;
}

int GdiMeasurer::WidthOfBytes(std::string_view bytes) {
  SIZE size{};
  if (!dc_ || bytes.empty()) return 0;
  GetTextExtentPoint32A(dc_, bytes.data(), static_cast<int>(bytes.size()), &size);
  return size.cx;
}

GdiCanvas::GdiCanvas(HDC dc, const ViewColours& colours, int lineHeight, int visibleHeight)
    : dc_(dc),
      colours_(colours),
      lineHeight_(lineHeight),
      visibleHeight_(visibleHeight),
      background_(CreateSolidBrush(colours.background)) {
  SetBkMode(dc_, OPAQUE);
}

GdiCanvas::~GdiCanvas() { DeleteObject(background_); }

void GdiCanvas::Fill(const Rect& a) {
  if (a.right <= a.left || a.bottom <= a.top || a.top >= visibleHeight_ || a.bottom <= 0) return;
  const RECT r{a.left, a.top, a.right, a.bottom};
  FillRect(dc_, &r, background_);
}

RECT GdiCanvas::RunRect(int x, int y, std::span<const int> advances) const {
  int width = 0;
  for (int a : advances) width += a;
  return RECT{x, y, x + width, y + lineHeight_};
}

void GdiCanvas::Colours(bool selected) {
  SetTextColor(dc_, selected ? colours_.selectionText : colours_.text);
  SetBkColor(dc_, selected ? colours_.selectionBackground : colours_.background);
}

void GdiCanvas::DrawUnits(int x, int y, std::u16string_view units, std::span<const int> advances, bool selected) {
  if (units.empty() || advances.size() != units.size() || !Visible(y)) return;
  Colours(selected);
  const RECT r = RunRect(x, y, advances);
  ExtTextOutW(dc_, x, y, ETO_OPAQUE | ETO_CLIPPED, &r, reinterpret_cast<LPCWSTR>(units.data()),
              static_cast<UINT>(units.size()), advances.data());
}

void GdiCanvas::DrawBytes(int x, int y, std::string_view bytes, std::span<const int> advances, bool selected) {
  if (bytes.empty() || advances.size() != bytes.size() || !Visible(y)) return;
  Colours(selected);
  const RECT r = RunRect(x, y, advances);
  ExtTextOutA(dc_, x, y, ETO_OPAQUE | ETO_CLIPPED, &r, bytes.data(), static_cast<UINT>(bytes.size()),
              advances.data());
}

}  // namespace editorview

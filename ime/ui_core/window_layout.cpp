#include "window_layout.h"

#include <algorithm>

namespace ime {

size_t CharBytes(const std::string& text, size_t i, LeadTest lead) {
  if (i >= text.size()) return 0;
  return lead(static_cast<uint8_t>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

namespace {

// The longest head of text from offset whose extent along the text fits
// limit, never splitting a character; its extent in *extent.
size_t FittingHead(const std::string& text, size_t offset, LeadTest lead, const TextMeasurer& m, int limit,
                   Size* extent) {
  size_t length = 0;
  *extent = Size{0, 0};
  while (offset + length < text.size()) {
    const size_t next = length + CharBytes(text, offset + length, lead);
    const Size e = m.Extent(text.data() + offset, next);
    if (e.cx > limit) break;
    length = next;
    *extent = e;
  }
  return length;
}

}  // namespace

std::vector<TextSlice> WrapComposition(const std::string& text, LeadTest lead, const TextMeasurer& m,
                                       int wrapWidth) {
  std::vector<TextSlice> lines;
  TextSlice line;
  int width = 0;
  for (size_t i = 0; i < text.size();) {
    const size_t n = CharBytes(text, i, lead);
    const int w = m.Extent(text.data() + i, n).cx;
    if (line.length > 0 && width + w > wrapWidth) {
      lines.push_back(line);
      line = TextSlice{i, 0};
      width = 0;
    }
    line.length += n;
    width += w;
    i += n;
  }
  if (line.length > 0 || lines.empty()) lines.push_back(line);
  return lines;
}

Size MainCompWindowSize(int lines, int lineHeight, int cxEdge, int cyEdge) {
  return {2 * cxEdge + 268, lines * lineHeight + 2 * cyEdge + 20};
}

Point ClampToWorkArea(Point p, Size size, const Rect& work) {
  if (p.x + size.cx > work.right) p.x = work.right - size.cx;
  if (p.y + size.cy > work.bottom) p.y = work.bottom - size.cy;
  if (p.x < work.left) p.x = work.left;
  if (p.y < work.top) p.y = work.top;
  return p;
}

CaretLayout SliceCaretWindows(const std::string& text, LeadTest lead, const TextMeasurer& m, Point pos,
                              const Rect& area, bool vertical, int lineHeight) {
  CaretLayout out{};
  if (!area.Contains(pos)) return out;
  int x = pos.x, y = pos.y;
  int limit = vertical ? area.bottom - pos.y : area.right - pos.x;
  size_t offset = 0;
  for (CaretWindowRecord& r : out) {
    if (offset >= text.size()) break;
    Size e;
    const size_t length = FittingHead(text, offset, lead, m, limit, &e);
    if (length > 0) {
      r.shown = true;
      r.slice = {offset, length};
      r.rect = vertical ? Rect{x, y, x + e.cy, y + e.cx} : Rect{x, y, x + e.cx, y + e.cy};
      offset += length;
    }
    if (vertical) {
      x -= lineHeight;
      y = area.top;
      limit = area.Height();
    } else {
      x = area.left;
      y += lineHeight;
      limit = area.Width();
    }
  }
  return out;
}

CandidateLayout LayoutCandidates(const std::vector<std::string>& candidates, uint32_t pageSize,
                                 const TextMeasurer& m, const EdgeMetrics& e) {
  CandidateLayout l;
  const Size label = m.Extent("8.", 2);
  l.lineHeight = label.cy;
  l.labelWidth = label.cx;
  for (size_t i = 0; i < candidates.size(); ++i) {
    const Size s = m.Extent(candidates[i].data(), candidates[i].size());
    l.w = std::max(l.w, s.cx);
    if (i < pageSize) l.h += s.cy;
  }
  l.h += l.lineHeight;
  l.w += l.labelWidth;
  l.scrollBar = candidates.size() > pageSize;
  if (l.scrollBar) l.w += e.cxVScroll + 2 * e.cxEdge;
  l.window = {l.w + 9 * e.cxEdge, l.h + 8 * e.cyEdge};
  const int sx = l.w + 4 * e.cxEdge - e.cxVScroll;
  const int sy = e.cyEdge + 1;
  l.scrollRect = {sx, sy, sx + e.cxVScroll, sy + l.h - l.lineHeight + e.cyEdge};
  l.rangeMax = candidates.empty() ? 0 : static_cast<int>(candidates.size()) - 1;
  return l;
}

Rect CandidateRow(int i, int clientWidth, int lineHeight, const EdgeMetrics& e) {
  const int top = 2 * e.cyEdge + i * lineHeight;
  return {3 * e.cxEdge, top, 3 * e.cxEdge + clientWidth - 5 * e.cxEdge, top + lineHeight};
}

Rect CandidateFrame(int rows, int clientWidth, int lineHeight, const EdgeMetrics& e) {
  return {e.cxEdge - 1, e.cyEdge - 1, clientWidth - e.cxEdge, 2 * e.cyEdge + rows * lineHeight + e.cyEdge};
}

Point CandidateCounterAnchor(int rows, int clientWidth, int lineHeight, const EdgeMetrics& e) {
  return {clientWidth - 3 * e.cxEdge, CandidateFrame(rows, clientWidth, lineHeight, e).bottom + e.cyEdge};
}

int CandidateRowAt(Point p, Size client, int lineHeight, const EdgeMetrics& e) {
  const Rect rows{e.cxEdge, e.cyEdge, client.cx - e.cxEdge, client.cy - e.cyEdge - lineHeight};
  if (lineHeight <= 0 || !rows.Contains(p)) return -1;
  return (p.y - e.cyEdge) / lineHeight;
}

std::string CandidateLabel(int row) { return std::string{static_cast<char>('1' + row), '.'}; }

Point PlaceCandidateByForm(const CandidatePlacement& p) {
  const int w = p.window.cx, h = p.window.cy;
  const int cx2 = 2 * p.cxEdge, cy2 = 2 * p.cyEdge;
  Point out = p.current;
  if (p.style & kFormCandidatePos) {
    if (out.y + cy2 + h > p.work.bottom) out.y = out.y - cy2 - h - 1;
    if (out.x + cx2 + w > p.work.right) out.x = p.work.right - cx2 - w;
    return out;
  }
  if (p.vertical) {
    out.x = p.area.left - cx2 - w;
    if (out.x < 0) out.x = p.areaClientRight + p.appWindowLeft;
    if (out.y + cy2 + h > p.work.bottom) out.y = p.work.bottom - cy2 - h;
    return out;
  }
  out.y = p.area.bottom;
  if (out.y + cy2 + h > p.work.bottom) {
    out.y = p.area.top - cy2 - h;
    if (out.y < p.work.top) out.y = p.work.bottom - cy2 - h - 1;
  }
  if (out.y < 0) out.y = 0;
  if (out.x + cx2 + w > p.work.right) out.x = p.work.right - cx2 - w;
  if (out.x < 0) out.x = 0;
  return out;
}

Rect ExcludeAreaOfMainComp(const Rect& window, int displayLineHeight) {
  const int top = window.top + 13;
  return {window.left + 5, top, window.right, top + displayLineHeight + 3};
}

int ThumbCode(int y, int H, int cyVThumb, int cyVScroll) {
  const int a = cyVThumb / 2 + cyVScroll;
  const int track = H - 2 * a;
  if (track <= 0) return 2 * y >= H ? 256 : 0;
  y = std::clamp(y, a, H - a);
  return (y - a) * 256 / track;
}

Size StatusToolbarSize(int buttons) { return {22 * buttons + 68, 29}; }

Point PlaceStatusToolbar(Point pos, int buttons, const Rect& work) {
  const Size s = StatusToolbarSize(buttons);
  const Point corner{work.right - s.cx, work.bottom - s.cy};
  if (pos.x == -1 || pos.y == -1 || pos.x + s.cx > work.right) return corner;
  if (pos.y + s.cy > work.bottom) return corner;
  return pos;
}

}  // namespace ime

#include "splitter_geometry.h"

#include <algorithm>

namespace fw {

namespace {

void LayOutAxis(std::vector<Track>& tracks, int extent, int bar) {
  int remaining = std::max(extent, 0);
  for (std::size_t i = 0; i + 1 < tracks.size(); ++i) {
    Track& t = tracks[i];
    const int room = std::max(remaining - bar, 0);  // the bar after it stays in the area
    int size = t.ideal < t.minimum ? 0 : std::min(t.ideal, room);
    if (size < t.minimum) size = 0;  // no room to show it at its least
    t.current = size;
    remaining = std::max(remaining - size - bar, 0);
  }
  tracks.back().current = remaining;
}

Box Inset(Box b, int by) {
  Box r{b.left + by, b.top + by, b.right - by, b.bottom - by};
  if (r.right <= r.left || r.bottom <= r.top) return Box{};
  return r;
}

bool Empty(const Box& b) { return b.right <= b.left || b.bottom <= b.top; }

}  // namespace

SplitterGeometry::SplitterGeometry(int rows, int columns, SplitterMetrics metrics)
    : metrics_(metrics),
      rows_(static_cast<std::size_t>(std::max(rows, 1))),
      columns_(static_cast<std::size_t>(std::max(columns, 1))) {
  metrics_.bar = std::max(metrics_.bar, 0);
  metrics_.border = std::max(metrics_.border, 0);
}

void SplitterGeometry::SetRowInfo(int row, int ideal, int minimum) {
  if (!Valid(Axis::kRows, row)) return;
  rows_[static_cast<std::size_t>(row)].ideal = std::max(ideal, 0);
  rows_[static_cast<std::size_t>(row)].minimum = std::max(minimum, 0);
}

void SplitterGeometry::SetColumnInfo(int column, int ideal, int minimum) {
  if (!Valid(Axis::kColumns, column)) return;
  columns_[static_cast<std::size_t>(column)].ideal = std::max(ideal, 0);
  columns_[static_cast<std::size_t>(column)].minimum = std::max(minimum, 0);
}

Track SplitterGeometry::Row(int row) const {
  return Valid(Axis::kRows, row) ? rows_[static_cast<std::size_t>(row)] : Track{};
}

Track SplitterGeometry::Column(int column) const {
  return Valid(Axis::kColumns, column) ? columns_[static_cast<std::size_t>(column)] : Track{};
}

void SplitterGeometry::Layout(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  LayOutAxis(rows_, height_, metrics_.bar);
  LayOutAxis(columns_, width_, metrics_.bar);
}

int SplitterGeometry::TrackStart(Axis axis, int index) const {
  const std::vector<Track>& tracks = Tracks(axis);
  const int last = std::clamp(index, 0, static_cast<int>(tracks.size()));
  int start = 0;
  for (int i = 0; i < last; ++i) start += tracks[static_cast<std::size_t>(i)].current + metrics_.bar;
  return start;
}

int SplitterGeometry::BarPosition(Axis axis, int index) const {
  if (!Valid(axis, index)) return TrackStart(axis, index);
  return TrackStart(axis, index) + Tracks(axis)[static_cast<std::size_t>(index)].current;
}

void SplitterGeometry::Span(Axis axis, int index, int& start, int& end) const {
  const int extent = Extent(axis);
  start = std::min(TrackStart(axis, index), extent);
  end = std::min(start + (Valid(axis, index) ? Tracks(axis)[static_cast<std::size_t>(index)].current : 0), extent);
}

Box SplitterGeometry::Cell(int row, int column) const {
  if (!Valid(Axis::kRows, row) || !Valid(Axis::kColumns, column)) return Box{};
  Box b;
  Span(Axis::kColumns, column, b.left, b.right);
  Span(Axis::kRows, row, b.top, b.bottom);
  return Empty(b) ? Box{} : b;
}

Box SplitterGeometry::PaneRect(int row, int column, bool nestedSplitter) const {
  const Box cell = Cell(row, column);
  if (Empty(cell)) return Box{};
  return nestedSplitter ? cell : Inset(cell, metrics_.border);
}

bool SplitterGeometry::IsPaneShown(int row, int column, bool nestedSplitter) const {
  return !Empty(PaneRect(row, column, nestedSplitter));
}

Box SplitterGeometry::RowBar(int index) const {
  if (!Valid(Axis::kRows, index) || index + 1 >= rows()) return Box{};
  const int top = std::min(BarPosition(Axis::kRows, index), height_);
  const Box b{0, top, width_, std::min(top + metrics_.bar, height_)};
  return Empty(b) ? Box{} : b;
}

Box SplitterGeometry::ColumnBar(int index) const {
  if (!Valid(Axis::kColumns, index) || index + 1 >= columns()) return Box{};
  const int left = std::min(BarPosition(Axis::kColumns, index), width_);
  const Box b{left, 0, std::min(left + metrics_.bar, width_), height_};
  return Empty(b) ? Box{} : b;
}

BarHit SplitterGeometry::HitTest(int x, int y) const {
  BarHit hit;
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return hit;
  for (int i = 0; i + 1 < rows(); ++i) {
    const Box b = RowBar(i);
    if (!Empty(b) && y >= b.top && y < b.bottom) {
      hit.row = i;
      break;
    }
  }
  for (int i = 0; i + 1 < columns(); ++i) {
    const Box b = ColumnBar(i);
    if (!Empty(b) && x >= b.left && x < b.right) {
      hit.column = i;
      break;
    }
  }
  return hit;
}

SplitterGeometry::Range SplitterGeometry::DragRange(Axis axis, int index) const {
  if (!Valid(axis, index) || !Valid(axis, index + 1)) return Range{0, -1};
  const Track& first = Tracks(axis)[static_cast<std::size_t>(index)];
  const Track& second = Tracks(axis)[static_cast<std::size_t>(index + 1)];
  Range r{TrackStart(axis, index), TrackStart(axis, index) + first.current + second.current};
  if (rule_ == DragRule::kRefuse) {
    r.low += first.minimum;
    r.high -= second.minimum;
  }
  return r;
}

int SplitterGeometry::ClampDrag(Axis axis, int index, int position) const {
  const Range r = DragRange(axis, index);
  if (r.empty()) return BarPosition(axis, index);
  return std::clamp(position, r.low, r.high);
}

bool SplitterGeometry::EndDrag(Axis axis, int index, int position) {
  const Range r = DragRange(axis, index);
  if (r.empty()) return false;
  std::vector<Track>& tracks = TracksOf(axis);
  Track& first = tracks[static_cast<std::size_t>(index)];
  Track& second = tracks[static_cast<std::size_t>(index + 1)];
  const int total = first.current + second.current;
  int a = std::clamp(position, r.low, r.high) - TrackStart(axis, index);
  int b = total - a;
  if (rule_ == DragRule::kCollapse) {
    if (a < first.minimum) {
      a = 0;
      b = total;
    } else if (b < second.minimum) {
      a = total;
      b = 0;
    }
  }
  if (a == first.current && b == second.current) return false;
  first.ideal = a;
  // The last track takes the rest anyway; an inner one keeps the far bar in place.
  if (index + 2 < static_cast<int>(tracks.size())) second.ideal = b;
  Layout(width_, height_);
  return true;
}

SplitterTree& SplitterTree::Nest(int row, int column, SplitterGeometry g) {
  auto& slot = nested[static_cast<std::size_t>(row * geometry.columns() + column)];
  slot = std::make_unique<SplitterTree>(std::move(g));
  return *slot;
}

namespace {
void LayOutInto(SplitterTree& tree, Box area, std::vector<Box>& out) {
  tree.geometry.Layout(area.right - area.left, area.bottom - area.top);
  for (int r = 0; r < tree.geometry.rows(); ++r) {
    for (int c = 0; c < tree.geometry.columns(); ++c) {
      SplitterTree* inner = tree.At(r, c);
      Box b = tree.geometry.PaneRect(r, c, inner != nullptr);
      if (!Empty(b)) b = Box{b.left + area.left, b.top + area.top, b.right + area.left, b.bottom + area.top};
      if (inner) {
        LayOutInto(*inner, b, out);
      } else {
        out.push_back(b);
      }
    }
  }
}
}  // namespace

std::vector<Box> LayOutTree(SplitterTree& tree, Box area) {
  std::vector<Box> panes;
  LayOutInto(tree, area, panes);
  return panes;
}

int NextPane(std::span<const bool> shown, int current, bool backwards) {
  const int n = static_cast<int>(shown.size());
  if (n == 0) return -1;
  const int step = backwards ? n - 1 : 1;
  int i = current >= 0 && current < n ? current : (backwards ? 0 : n - 1);
  for (int k = 0; k < n; ++k) {
    i = (i + step) % n;
    if (shown[static_cast<std::size_t>(i)]) return i;
  }
  return -1;
}

}  // namespace fw

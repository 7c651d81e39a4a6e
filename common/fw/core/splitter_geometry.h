// Geometry of static splitter windows, free of the window system: rows and
// columns with ideal and minimum sizes, the bars between them and the sunken
// edge around each pane, the layout of the panes for a client size, the
// hit-testing of the bars, the rules of dragging a bar (a track dragged below
// its minimum collapses, or the bar stops short of it), nested splitters (a
// cell that holds a splitter of its own) and the order in which the keyboard
// steps through the panes.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "layout.h"

namespace fw {

struct SplitterMetrics {
  int bar = 7;     // thickness of the bar between two rows or two columns
  int border = 2;  // the sunken edge around each pane, inside its cell
};

// A row or a column of a splitter.
struct Track {
  int ideal = 0;    // the size asked for; the last track takes what the others leave
  int minimum = 0;  // a track that cannot have this much is collapsed (size 0)
  int current = 0;  // its size in the last layout
  bool operator==(const Track&) const = default;
};

// Rows are stacked downwards (the bars between them run across: they are
// dragged up and down); columns are placed left to right.
enum class Axis : unsigned char { kRows, kColumns };

// What a drag does when it would leave a track smaller than its minimum.
enum class DragRule : unsigned char {
  kCollapse,  // that track collapses to nothing and its neighbour takes the room
  kRefuse,    // the bar stops where either neighbour keeps its minimum
};

// The bars under a point: the bar below row `row` (between rows row and
// row + 1) and the bar right of column `column`; -1 for none. Both set: the
// point is where two bars cross.
struct BarHit {
  int row = -1;
  int column = -1;
  bool any() const { return row >= 0 || column >= 0; }
  bool operator==(const BarHit&) const = default;
};

class SplitterGeometry {
 public:
  // rows and columns of at least 1 (smaller counts are taken as 1).
  SplitterGeometry(int rows, int columns, SplitterMetrics metrics = {});

  int rows() const { return static_cast<int>(rows_.size()); }
  int columns() const { return static_cast<int>(columns_.size()); }
  const SplitterMetrics& metrics() const { return metrics_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Ideal and minimum sizes (negative values are taken as 0); the current
  // sizes follow at the next Layout. Out-of-range indices are ignored.
  void SetRowInfo(int row, int ideal, int minimum);
  void SetColumnInfo(int column, int ideal, int minimum);
  // An out-of-range index gives an empty track.
  Track Row(int row) const;
  Track Column(int column) const;
  const std::vector<Track>& Tracks(Axis axis) const { return axis == Axis::kRows ? rows_ : columns_; }

  DragRule dragRule() const { return rule_; }
  void SetDragRule(DragRule rule) { rule_ = rule; }

  // Lays the tracks out in a client area of width x height. Along each axis,
  // every track but the last takes its ideal size as far as the room left
  // (less the bar that follows it) allows; a track whose ideal size is below
  // its minimum, or that finds less room than its minimum, is collapsed to
  // 0. The last track takes whatever is left. Every bar keeps its place, so
  // that a collapsed track can be dragged out again.
  void Layout(int width, int height);

  // Where a track starts along its axis (the coordinate of its first pixel).
  int TrackStart(Axis axis, int index) const;
  // The leading edge of the bar after track index (its top or left pixel).
  int BarPosition(Axis axis, int index) const;

  // A pane's share of the client area between the bars; the pane's window
  // inside its border, or filling its cell when it is a nested splitter.
  // Rectangles never reach past the client area; a collapsed pane's is empty.
  Box Cell(int row, int column) const;
  Box PaneRect(int row, int column, bool nestedSplitter = false) const;
  bool IsPaneShown(int row, int column, bool nestedSplitter = false) const;
  // The bar below row index across the whole width, the bar right of column
  // index across the whole height (clipped to the client area).
  Box RowBar(int index) const;
  Box ColumnBar(int index) const;

  BarHit HitTest(int x, int y) const;

  // Dragging the bar after track index on an axis: the range its leading
  // edge may be moved in (between the outer edges of its two neighbours; with
  // kRefuse, short of either neighbour's minimum). low > high: the bar
  // cannot move at all.
  struct Range {
    int low = 0;
    int high = 0;
    bool empty() const { return low > high; }
  };
  Range DragRange(Axis axis, int index) const;
  // A tracker position held inside that range (the bar's own place when the
  // range is empty).
  int ClampDrag(Axis axis, int index, int position) const;
  // Ends a drag with the bar's leading edge at position (held in the range):
  // the two neighbours of the bar trade room and the other tracks keep their
  // sizes; with kCollapse a neighbour left below its minimum collapses and
  // the other takes the room. The layout is made again. False when nothing
  // changed (the same place, or a bar that cannot move).
  bool EndDrag(Axis axis, int index, int position);

 private:
  std::vector<Track>& TracksOf(Axis axis) { return axis == Axis::kRows ? rows_ : columns_; }
  bool Valid(Axis axis, int index) const { return index >= 0 && index < static_cast<int>(Tracks(axis).size()); }
  int Extent(Axis axis) const { return axis == Axis::kRows ? height_ : width_; }
  // A track's span [start, end) clipped to the client area.
  void Span(Axis axis, int index, int& start, int& end) const;

  SplitterMetrics metrics_;
  std::vector<Track> rows_;
  std::vector<Track> columns_;
  DragRule rule_ = DragRule::kCollapse;
  int width_ = 0;
  int height_ = 0;
};

// A splitter whose cells may hold splitters of their own (the panes of an
// outer splitter that are inner splitters).
struct SplitterTree {
  explicit SplitterTree(SplitterGeometry g) : geometry(std::move(g)), nested(geometry.rows() * geometry.columns()) {}
  SplitterGeometry geometry;
  std::vector<std::unique_ptr<SplitterTree>> nested;  // row by row; null: a pane
  SplitterTree* At(int row, int column) { return nested[static_cast<std::size_t>(row * geometry.columns() + column)].get(); }
  // Puts a nested splitter into a cell; returns it.
  SplitterTree& Nest(int row, int column, SplitterGeometry g);
};

// Lays out a tree in area (each nested splitter in its whole cell, in its
// own coordinates) and gives the rectangles of its panes in area's
// coordinates, in the order the keyboard steps through them: row by row,
// the panes of a nested splitter where it stands.
std::vector<Box> LayOutTree(SplitterTree& tree, Box area);

// The pane the keyboard moves to from current (an index into shown, -1 for
// none) forwards or backwards, going round at the ends and skipping panes
// that are not shown; -1 when none is shown.
int NextPane(std::span<const bool> shown, int current, bool backwards);

}  // namespace fw

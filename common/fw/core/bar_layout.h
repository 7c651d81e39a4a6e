// Arithmetic of the frame's control bars, free of the window system: which
// side of the frame a dragged bar docks to, where the docked bars, the status
// bar and the view go in the client area, and the widths of the status bar's
// panes.
#pragma once

#include <span>
#include <vector>

#include "layout.h"

namespace fw {

enum class DockSide { kTop, kBottom, kLeft, kRight, kFloat };

inline bool IsVertical(DockSide side) { return side == DockSide::kLeft || side == DockSide::kRight; }

// The side a bar dropped at (x, y) docks to: the nearest edge of the client
// area when the point lies no farther than reach from it (inside, or outside
// by as much); anywhere else the bar floats. Ties go top, bottom, left, right.
DockSide DockSideAt(Box client, int x, int y, int reach);

// A docked bar: its side and its thickness across that side (the height of
// a bar at the top or bottom, the width of one at the left or right).
struct DockedBar {
  DockSide side = DockSide::kTop;
  int thickness = 0;
};

struct BarLayout {
  std::vector<Box> bars;  // one for each bar given, in order (floating ones: empty)
  Box status;             // the status bar: the bottom strip across the whole width
  Box view;               // what is left
  bool operator==(const BarLayout&) const = default;
};

// Lays out the client area: the status bar (statusHeight, 0 when hidden)
// takes the bottom strip; bars at the top stack downwards and bars at the
// bottom upwards across the whole width, in the order given; bars at the left
// and right then stack inwards in the height between them. No rectangle goes
// past the client area; the view may be empty.
BarLayout LayOutBars(Box client, std::span<const DockedBar> bars, int statusHeight);

// The width of a status pane that shows a text of textWidth pixels inside
// borders of border pixels on each side.
int StatusPaneWidth(int textWidth, int border);

// The right edges of the status panes, as the status control takes them:
// widths of the panes in order, kStretchPane for the one that takes what the
// others leave of room (at least nothing), gap pixels between panes.
inline constexpr int kStretchPane = -1;
std::vector<int> StatusPaneEdges(std::span<const int> widths, int room, int gap);

}  // namespace fw

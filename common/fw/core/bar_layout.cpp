#include "bar_layout.h"

#include <algorithm>
#include <cstdlib>

namespace fw {

DockSide DockSideAt(Box client, int x, int y, int reach) {
  // Outside the client area by more than reach in either direction: floating.
  if (x < client.left - reach || x > client.right + reach || y < client.top - reach || y > client.bottom + reach)
    return DockSide::kFloat;
  struct Edge {
    DockSide side;
    int distance;
  } edges[] = {
      {DockSide::kTop, std::abs(y - client.top)},
      {DockSide::kBottom, std::abs(client.bottom - y)},
      {DockSide::kLeft, std::abs(x - client.left)},
      {DockSide::kRight, std::abs(client.right - x)},
  };
  const Edge* best = nullptr;
  for (const Edge& e : edges) {
    if (e.distance > reach) continue;
    if (!best || e.distance < best->distance) best = &e;
  }
  return best ? best->side : DockSide::kFloat;
}

BarLayout LayOutBars(Box client, std::span<const DockedBar> bars, int statusHeight) {
  BarLayout out;
  Box room = client;
  room.right = std::max(room.left, room.right);
  room.bottom = std::max(room.top, room.bottom);
  const int status = std::clamp(statusHeight, 0, room.bottom - room.top);
  out.status = statusHeight > 0 ? Box{room.left, room.bottom - status, room.right, room.bottom} : Box{};
  room.bottom -= status;
  out.bars.resize(bars.size());
  // Across the whole width first, then the sides in what is left.
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < bars.size(); ++i) {
      const DockedBar& bar = bars[i];
      if (bar.side == DockSide::kFloat || IsVertical(bar.side) != (pass == 1)) continue;
      Box& r = out.bars[i];
      switch (bar.side) {
        case DockSide::kTop: {
          const int t = std::clamp(bar.thickness, 0, room.bottom - room.top);
          r = {room.left, room.top, room.right, room.top + t};
          room.top += t;
          break;
        }
        case DockSide::kBottom: {
          const int t = std::clamp(bar.thickness, 0, room.bottom - room.top);
          r = {room.left, room.bottom - t, room.right, room.bottom};
          room.bottom -= t;
          break;
        }
        case DockSide::kLeft: {
          const int t = std::clamp(bar.thickness, 0, room.right - room.left);
          r = {room.left, room.top, room.left + t, room.bottom};
          room.left += t;
          break;
        }
        case DockSide::kRight: {
          const int t = std::clamp(bar.thickness, 0, room.right - room.left);
          r = {room.right - t, room.top, room.right, room.bottom};
          room.right -= t;
          break;
        }
        case DockSide::kFloat:
          break;
      }
    }
  }
  out.view = room;
  return out;
}

int StatusPaneWidth(int textWidth, int border) { return std::max(0, textWidth) + 2 * std::max(0, border); }

std::vector<int> StatusPaneEdges(std::span<const int> widths, int room, int gap) {
  int fixed = 0;
  int stretching = 0;
  for (int w : widths) {
    if (w == kStretchPane) ++stretching;
    else fixed += std::max(0, w);
  }
  if (!widths.empty()) fixed += gap * static_cast<int>(widths.size() - 1);
  // What the fixed panes leave, shared by the stretching ones (the first
  // takes the odd pixels).
  const int spare = std::max(0, room - fixed);
  const int share = stretching ? spare / stretching : 0;
  int extra = stretching ? spare - share * stretching : 0;
  std::vector<int> edges;
  edges.reserve(widths.size());
  int x = 0;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    if (i > 0) x += gap;
    if (widths[i] == kStretchPane) {
      x += share + extra;
      extra = 0;
    } else {
      x += std::max(0, widths[i]);
    }
    edges.push_back(x);
  }
  return edges;
}

}  // namespace fw

#include "layout.h"

#include <algorithm>

namespace fw {

int DluToPixelX(int units, std::uint32_t baseUnits) {
  return units * static_cast<int>(baseUnits & 0xFFFF) / 4;
}

int DluToPixelY(int units, std::uint32_t baseUnits) {
  return units * static_cast<int>(baseUnits >> 16) / 8;
}

Extent GridListSize(Extent cell, int columns, int rows, Extent frame, int scrollBar) {
  return Extent{cell.cx * columns + frame.cx, cell.cy * rows + frame.cy + scrollBar};
}

int SquareCell(Extent room, int columns, int rows, int least, int most) {
  int side = most;
  if (columns > 0) side = std::min(side, room.cx / columns);
  if (rows > 0) side = std::min(side, room.cy / rows);
  if (columns <= 0 && rows <= 0) side = least;
  return std::max(least, std::min(most, side));
}

int WholeRows(int clientHeight, int cellHeight) {
  if (cellHeight <= 0) return 1;
  const int rows = clientHeight / cellHeight;
  return rows > 0 ? rows : 1;
}

Box MoveInto(Box w, Box area) {
  const int width = w.right - w.left, height = w.bottom - w.top;
  int dx = 0, dy = 0;
  if (w.right > area.right) dx = area.right - w.right;
  if (w.left + dx < area.left) dx = area.left - w.left;
  if (w.bottom > area.bottom) dy = area.bottom - w.bottom;
  if (w.top + dy < area.top) dy = area.top - w.top;
  return Box{w.left + dx, w.top + dy, w.left + dx + width, w.top + dy + height};
}

}  // namespace fw

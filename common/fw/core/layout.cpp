#include "layout.h"

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

int WholeRows(int clientHeight, int cellHeight) {
  if (cellHeight <= 0) return 1;
  const int rows = clientHeight / cellHeight;
  return rows > 0 ? rows : 1;
}

}  // namespace fw

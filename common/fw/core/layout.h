// Layout arithmetic of dialogs and their controls, free of the window
// system so that it is tested natively.
#pragma once
#include <cstdint>

namespace fw {

struct Extent {
  int cx = 0;
  int cy = 0;
  bool operator==(const Extent&) const = default;
};

// Dialog units to pixels with the base units that GetDialogBaseUnits gives
// (horizontal in the low word, vertical in the high word).
int DluToPixelX(int units, std::uint32_t baseUnits);
int DluToPixelY(int units, std::uint32_t baseUnits);

// The window size of a multi-column list box that shows exactly columns x
// rows cells of the given size: frame is what the window adds to its client
// area (borders), scrollBar the height of a horizontal scroll bar (0 when
// the list has none).
Extent GridListSize(Extent cell, int columns, int rows, Extent frame, int scrollBar);

// Whole rows of cellHeight that fit into a client height; at least 1.
int WholeRows(int clientHeight, int cellHeight);

}  // namespace fw

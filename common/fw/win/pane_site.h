// Where a view's window (or a splitter's) is made: its parent (the frame, or
// a splitter whose cell it fills), its child id and its first rectangle in
// the parent's client coordinates.
#pragma once
#include <windows.h>

namespace fw {

// The child id of a frame's only view or client splitter; a splitter's
// panes count on from it (kFirstPaneId + 16 x row + column).
inline constexpr UINT kFirstPaneId = 0xE900;

struct PaneSite {
  HWND parent = nullptr;
  UINT id = kFirstPaneId;
  RECT rect{};
};

}  // namespace fw

// Where the main window opens: the section "Window size" of the profile
// ("Rect" "%d,%d,%d,%d", "showCmd", "tool", "status"), written when the
// frame is destroyed and read when it is first activated.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "layout.h"
#include "profile.h"

namespace brisel {

inline constexpr std::u16string_view kWindowSection = u"Window size";

using PlaceRect = fw::Box;

// Show commands as ShowWindow numbers them.
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;

// Four decimal numbers separated by commas (blanks around them allowed);
// nothing for any other text, or for a rectangle without area.
std::optional<PlaceRect> ParseWindowRect(std::u16string_view text);
std::u16string FormatWindowRect(const PlaceRect& rect);

// The screen as the default rectangle needs it.
struct ScreenMetrics {
  int vscrollWidth = 0;      // SM_CXVSCROLL
  int dialogBaseWidth = 0;   // LOWORD(GetDialogBaseUnits())
  int frameWidth = 0;        // SM_CXFRAME
  int fullScreenWidth = 0;   // SM_CXFULLSCREEN
  int fullScreenHeight = 0;  // SM_CYFULLSCREEN
  int borderWidth = 0;       // SM_CXBORDER
  int borderHeight = 0;      // SM_CYBORDER
  PlaceRect workArea;        // of the monitor the rectangle is on
};

// At (0, 0): 80 dialog characters wide with the scroll bar and the frame
// (never wider than the screen), 90 % of the screen high.
PlaceRect DefaultWindowRect(const ScreenMetrics& screen);

// A rectangle moved (and, when larger, cut) to lie inside the work area, so
// that a window stored on a screen that is gone comes back where it is seen.
PlaceRect ClampToWorkArea(const PlaceRect& rect, const PlaceRect& workArea);

// The first activation's show command: a plain SW_SHOWNORMAL request takes
// the stored one (1 or 3; anything else counts as 1); other requests (a
// shortcut that starts minimised) stay.
int FirstShowCommand(int requested, int stored);

struct WindowPlacementPlan {
  PlaceRect normal;
  int showCmd = kShowNormal;
  bool restoreToMaximized = false;  // WPF_RESTORETOMAXIMIZED
  int minX = 0, minY = 0;           // minimised position
  int maxX = 0, maxY = 0;           // maximised position
  bool toolBar = true;
  bool statusBar = true;
};

// What the first activation does with the stored section.
WindowPlacementPlan PlanWindowPlacement(fw::Profile& profile, int requestedShow, const ScreenMetrics& screen);

// What WM_DESTROY stores.
bool WriteWindowPlacement(fw::Profile& profile, const PlaceRect& normal, int showCmd, bool toolBar, bool statusBar);

}  // namespace brisel

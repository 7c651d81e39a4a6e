// The status toolbar's geometry and decisions: the button maps, the hit
// test, the tooltip rectangles, what each part shows (a plan of copies from
// the toolbar bitmap), the mode rules of the input-mode and input-size
// buttons, the on/off button, and the places the toolbar and its utility
// menu go on the screen.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ime_config.h"
#include "ui_geometry.h"

namespace ime {

constexpr int kStatusHeight = 29;
constexpr int kStatusButton = 22;
constexpr int kStatusGripWidth = 53;
constexpr int kStatusFunctions = 12;

// The toolbar bitmap ("STATUSBMP", "STATUSBMP256"): a 7-pixel top strip,
// the grip at (0, 7), the buttons' images from x 53 in four rows (normal,
// pressed, disabled, hover, 22 apart from y 7), the small buttons' two
// columns of 11 x 11 images at x 361 and 372 (the switch from y 7, the on/off
// button from y 18, in the same rows) and the right end at x 381.
constexpr int kStatusBitmapWidth = 385;
constexpr int kStatusBitmapHeight = 95;
constexpr int kStatusRowNormal = 0, kStatusRowPressed = 22, kStatusRowDisabled = 44, kStatusRowHover = 66;
constexpr int kStatusSmallLeft = 361, kStatusSmallRight = 372, kStatusSmall = 11;
constexpr int kStatusRightEndX = 381, kStatusRightEndWidth = 4;

// Functions of the buttons (their numbers in the ToolBar setting).
enum ToolbarFunction : int {
  kFnInputMode = 1,
  kFnInputSize = 2,
  kFnLookup = 3,
  kFnKeyboard = 4,
  kFnPad = 5,
  kFnWorkbench = 6,
  kFnDictionary = 7,
  kFnNavigator = 8,
  kFnUtility = 9,
  kFnWordRegistration = 10,
  kFnSettings = 11,
  kFnHelp = 12,
};

// Hit masks: bit i for button i, and the grip, the switch and the on/off button.
constexpr uint32_t kHitGrip = 0x2000;
constexpr uint32_t kHitSwitch = 0x4000;
constexpr uint32_t kHitOnOff = 0x8000;

// Every function 1-12: the map that the switch shows.
ToolbarButtonMap FullToolbarMap();
// The map in use: the full map while it is switched in for a smaller
// configured map.
const ToolbarButtonMap& CurrentToolbarMap(const ToolbarButtonMap& configured, const ToolbarButtonMap& full,
                                          bool fullShown);

// The part under a point in client coordinates (0 for none).
uint32_t StatusHitTest(Point p, Size client, int buttons);
// Tooltip tool rectangles (client): 0-11 the buttons (unused ones far
// outside), 12 the switch, 13 the on/off button.
constexpr int kStatusTools = 14;
Rect StatusToolRect(int tool, int buttons);
// The point given to the tooltip control, kept inside the toolbar's strip of
// buttons.
Point StatusRelayPoint(Point p, int buttons);

// What the toolbar shows at one moment.
struct StatusLook {
  const ToolbarButtonMap* map = nullptr;
  bool context = false;       // the UI window has an input context
  bool open = false;          // the context is open
  unsigned mode = 0;          // the module's conversion mode
  bool fullShown = false;     // the full map stands in for a smaller configured one
  bool allConfigured = false; // the configured map has all twelve buttons
  bool busy = false;          // lookup window, registered pad, or a settings or dictionary dialog open
  uint32_t pressed = 0;       // parts drawn pressed
  uint32_t hover = 0;         // parts drawn hovered
};

// One copy from the toolbar bitmap into the window.
struct StatusBlit {
  Rect src;
  Point dst;
  bool operator==(const StatusBlit&) const = default;
};
std::vector<StatusBlit> StatusPaintPlan(const StatusLook& look);

// Offset of a function's images in the bitmap (from x 53).
int StatusImageOffset(int function);

// The new open status and conversion mode after a click on the input-mode
// (1) or input-size (2) button.
struct ModeState {
  bool open = false;
  unsigned mode = 0;
  bool operator==(const ModeState&) const = default;
};
ModeState ApplyModeButton(int function, ModeState now);
// The on/off button: the open status inverted; opening with neither
// Hangul nor full width set gives Hangul, and full width too unless the
// InputSize setting asks for half width.
ModeState ApplyOnOffButton(ModeState now, bool halfWidthSetting);

// Where a dragged or re-placed toolbar goes: inside the work area.
Point ClampStatusPosition(Point p, int buttons, const Rect& work);

// The utility menu under (or, near the screen's bottom, above) button i.
struct MenuMetrics {
  int cxEdge = 2, cxBorder = 1, cyMenu = 19, cyDlgFrame = 3, screenHeight = 768;
};
Point UtilityMenuPosition(const Rect& toolbar, int button, const MenuMetrics& m);

// The HTML Help call of the help button and of closing: HH_CLOSE_ALL for
// command 2, else the help file in the program folder at its default topic
// (topic 0) or at a context number.
struct HelpCall {
  unsigned command = 0;
  std::string file;  // empty: none
  unsigned data = 0;
  bool operator==(const HelpCall&) const = default;
};
constexpr unsigned kHhDisplayTopic = 0x0000, kHhHelpContext = 0x000F, kHhCloseAll = 0x0012;
HelpCall ImeHelpCall(const ImeConfig& cfg, int command, unsigned topic);

// Tooltip texts: the functions 1-12, then the switch and the on/off button.
const char16_t* StatusTooltip(int function);
const char16_t* StatusSwitchTooltip();
const char16_t* StatusOnOffTooltip();

}  // namespace ime

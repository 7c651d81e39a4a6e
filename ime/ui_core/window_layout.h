// Layout arithmetic of the composition and candidate windows: wrapping,
// caret-window slices, window sizes, placement against the work area and the
// scroll bar's thumb code. Text is measured through a small interface.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ime_config.h"
#include "ui_geometry.h"

namespace ime {

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // Extent of n bytes of text along its direction (cx) and its height (cy).
  virtual Size Extent(const char* text, size_t n) const = 0;
};

// Length in bytes (1 or 2) of the character at i; never past n.
size_t CharBytes(const std::string& text, size_t i, LeadTest lead);

// ---- composition window -----------------------------------------------------

constexpr int kCompWrapWidth = 258;

struct TextSlice {
  size_t offset = 0;
  size_t length = 0;
  bool operator==(const TextSlice&) const = default;
};

// Lines of the framed composition window: a new line begins whenever the
// running width plus the next character's width would exceed wrapWidth.
std::vector<TextSlice> WrapComposition(const std::string& text, LeadTest lead, const TextMeasurer& m,
                                       int wrapWidth = kCompWrapWidth);

// Window size of the framed composition window.
Size MainCompWindowSize(int lines, int lineHeight, int cxEdge, int cyEdge);

// The position moved so that the window lies inside the work area: right and
// bottom edges first, then left and top.
Point ClampToWorkArea(Point p, Size size, const Rect& work);

// Where the framed window goes before the user moves it.
inline Point DefaultMainCompPosition(const Rect& work) { return {work.left, work.bottom - 2}; }

constexpr int kCaretWindows = 10;

struct CaretWindowRecord {
  bool shown = false;
  Rect rect;  // screen
  TextSlice slice;
  bool operator==(const CaretWindowRecord&) const = default;
};
using CaretLayout = std::array<CaretWindowRecord, kCaretWindows>;

// The caret windows at the application's composition position pos inside
// area (both screen): each takes the longest head of the rest that fits
// without splitting a character; lines continue at the area's left edge one
// line lower (vertical: columns at the area's top, one column to the left).
// Nothing is shown when pos lies outside the area; text beyond ten windows
// is not shown.
CaretLayout SliceCaretWindows(const std::string& text, LeadTest lead, const TextMeasurer& m, Point pos,
                              const Rect& area, bool vertical, int lineHeight);

// ---- candidate window -------------------------------------------------------

struct EdgeMetrics {
  int cxEdge = 2;
  int cyEdge = 2;
  int cxVScroll = 16;
};

struct CandidateLayout {
  int w = 0, h = 0;        // content: widest candidate plus label, rows plus counter
  int lineHeight = 0;      // height of "8."
  int labelWidth = 0;      // width of "8."
  bool scrollBar = false;  // more candidates than a page
  Size window;
  Rect scrollRect;         // client coordinates
  int rangeMax = 0;        // scroll range 0..count - 1
};

// candidates: every candidate of the list (double-byte text).
CandidateLayout LayoutCandidates(const std::vector<std::string>& candidates, uint32_t pageSize,
                                 const TextMeasurer& m, const EdgeMetrics& e);

// Row i of the page in client coordinates.
Rect CandidateRow(int i, int clientWidth, int lineHeight, const EdgeMetrics& e);
// The frame around the rows and the counter's right edge and top.
Rect CandidateFrame(int rows, int clientWidth, int lineHeight, const EdgeMetrics& e);
Point CandidateCounterAnchor(int rows, int clientWidth, int lineHeight, const EdgeMetrics& e);
// The page row under a click (client coordinates), or -1 outside the rows.
int CandidateRowAt(Point p, Size client, int lineHeight, const EdgeMetrics& e);

// The label of row i of the page ("1." for the first row).
std::string CandidateLabel(int row);

constexpr int kFormDefault = 0;
constexpr int kFormCandidatePos = 0x40;  // CFS_CANDIDATEPOS
constexpr int kFormExclude = 0x80;       // CFS_EXCLUDE

struct CandidatePlacement {
  int style = 0;           // the candidate form's style
  Point current;           // form position, screen
  Rect area;               // excluded area, screen
  int areaClientRight = 0; // excluded area's right edge, client of the application window
  int appWindowLeft = 0;   // the application window's left edge, screen
  bool vertical = false;
  Size window;             // the candidate window's current size
  Rect work;
  int cxEdge = 2, cyEdge = 2;
};

// Position of the candidate window for a CFS_CANDIDATEPOS or CFS_EXCLUDE form.
Point PlaceCandidateByForm(const CandidatePlacement& p);

// The excluded area derived from the framed composition window's rectangle.
Rect ExcludeAreaOfMainComp(const Rect& window, int displayLineHeight);

// Thumb position as a code 0-256 from the cursor's y in a scroll bar of
// client height H; a bar too short for a track gives 0 or 256 by the half.
int ThumbCode(int y, int H, int cyVThumb, int cyVScroll);

// ---- status toolbar ---------------------------------------------------------

Size StatusToolbarSize(int buttons);
// Where the toolbar opens: the bottom right corner of the work area when no
// position is set or when it would leave the work area at the right or bottom.
Point PlaceStatusToolbar(Point pos, int buttons, const Rect& work);

}  // namespace ime

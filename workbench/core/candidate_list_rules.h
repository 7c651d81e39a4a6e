// The drawing rules of the dictionary dialogs' candidate list, free of the
// window system: the row colour of each dictionary group, the draw styles
// and the area a row's highlight covers, when a row is drawn as selected,
// and the text of the column drawn with the Korean font.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace workbench::candidates {

struct Rgb {
  uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};

// Row counts that close the four groups (user dictionaries 1, 2 and 3,
// then the system dictionary), each the sum of the groups before it and
// its own.
using GroupBoundaries = int32_t[4];

// The background of an unselected row: light cyan below boundary 1, pale
// yellow below boundary 2, yellow below boundary 3, light violet below
// boundary 4; nothing (the window colour) from boundary 4 on.
std::optional<Rgb> GroupRowColour(int row, const GroupBoundaries& boundaries);

// How far the selection highlight reaches.
enum DrawStyle : int {
  kLabelOnly = 0,  // the first column's text and its margins
  kWholeItem = 1,  // the item's bounds
  kWholeRow = 2,   // the item up to the right edge of the client area
};
// The style kept after asking for requested: 0, 1 and 2 are taken, any
// other value leaves current.
int AcceptDrawStyle(int current, int requested);
// A negative column is column 0.
inline int AcceptFontColumn(int column) { return column < 0 ? 0 : column; }

// A row is drawn selected when it is drop-highlighted, or selected while
// the list has the focus or always shows its selection.
bool DrawsSelected(bool dropHighlighted, bool selected, bool listFocused, bool showsSelectionAlways);

struct Box {
  long left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Box&) const = default;
};
// The area of a row that its background and highlight cover: in style 0
// the label from its left edge over the text width and a margin on each
// side (never past the label), in style 1 the item, in style 2 the item
// widened to the client area's right edge.
Box HighlightArea(int style, const Box& item, const Box& label, long textWidth, long margin, long clientRight);

// The font column's text of a row: empty for a row the texts do not reach.
std::string_view FontColumnText(const std::vector<std::string>& texts, int row);

}  // namespace workbench::candidates

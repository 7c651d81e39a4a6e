#include "candidate_list_rules.h"

#include <algorithm>

namespace workbench::candidates {

std::optional<Rgb> GroupRowColour(int row, const GroupBoundaries& boundaries) {
  static constexpr Rgb kColours[4] = {{224, 255, 255}, {250, 250, 210}, {255, 246, 143}, {238, 210, 238}};
  for (int group = 0; group < 4; ++group)
    if (row < boundaries[group]) return kColours[group];
  return std::nullopt;
}

int AcceptDrawStyle(int current, int requested) {
  return requested >= kLabelOnly && requested <= kWholeRow ? requested : current;
}

bool DrawsSelected(bool dropHighlighted, bool selected, bool listFocused, bool showsSelectionAlways) {
  return dropHighlighted || (selected && (listFocused || showsSelectionAlways));
}

Box HighlightArea(int style, const Box& item, const Box& label, long textWidth, long margin, long clientRight) {
  switch (style) {
    case kLabelOnly: {
      Box b = label;
      b.right = std::min(label.right, label.left + textWidth + 2 * margin);
      return b;
    }
    case kWholeRow: {
      Box b = item;
      b.right = std::max(item.right, clientRight);
      return b;
    }
    default:
      return item;
  }
}

std::string_view FontColumnText(const std::vector<std::string>& texts, int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= texts.size()) return {};
  return texts[static_cast<std::size_t>(row)];
}

}  // namespace workbench::candidates

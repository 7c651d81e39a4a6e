// The tool-bar resource (type RT_TOOLBAR, 241) and the texts of a command's
// fly-by help, free of the window system.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// The 16-bit layout: version 1, the pictures' width and height, the number
// of slots, then one command id a slot (0: a separator). All little-endian.
struct ToolBarResource {
  int width = 0;
  int height = 0;
  std::vector<unsigned> slots;
  bool operator==(const ToolBarResource&) const = default;
};

// Nothing when the bytes are not such a block: another version, a picture
// size of 0, or fewer bytes than the count of slots needs.
std::optional<ToolBarResource> ParseToolBarResource(std::span<const std::uint8_t> bytes);

// The picture of each slot: its index in the bitmap's strip for a button
// (buttons take the pictures in order), -1 for a separator.
std::vector<int> SlotPictures(std::span<const unsigned> slots);

// A command's string "prompt\ntip": the prompt goes to the status bar while
// the command is pointed at, the tip into its tool tip. Without "\n" the
// whole string is the prompt and there is no tip.
struct CommandTexts {
  std::u16string prompt;
  std::u16string tip;
};
CommandTexts SplitCommandString(std::u16string_view text);

}  // namespace fw

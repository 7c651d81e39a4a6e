#include "bar_resource.h"

namespace fw {

namespace {
unsigned Word(std::span<const std::uint8_t> b, std::size_t at) { return b[at] | static_cast<unsigned>(b[at + 1]) << 8; }
}  // namespace

std::optional<ToolBarResource> ParseToolBarResource(std::span<const std::uint8_t> bytes) {
  constexpr std::size_t kHeader = 8;
  if (bytes.size() < kHeader || Word(bytes, 0) != 1) return std::nullopt;
  ToolBarResource out;
  out.width = static_cast<int>(Word(bytes, 2));
  out.height = static_cast<int>(Word(bytes, 4));
  const std::size_t count = Word(bytes, 6);
  if (out.width == 0 || out.height == 0 || bytes.size() < kHeader + 2 * count) return std::nullopt;
  out.slots.reserve(count);
  for (std::size_t i = 0; i < count; ++i) out.slots.push_back(Word(bytes, kHeader + 2 * i));
  return out;
}

std::vector<int> SlotPictures(std::span<const unsigned> slots) {
  std::vector<int> out;
  out.reserve(slots.size());
  int next = 0;
  for (unsigned id : slots) out.push_back(id ? next++ : -1);
  return out;
}

CommandTexts SplitCommandString(std::u16string_view text) {
  const std::size_t cut = text.find(u'\n');
  if (cut == std::u16string_view::npos) return {std::u16string(text), {}};
  return {std::u16string(text.substr(0, cut)), std::u16string(text.substr(cut + 1))};
}

}  // namespace fw

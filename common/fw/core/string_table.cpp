#include "string_table.h"

namespace fw {

namespace {
bool Unit(std::span<const std::uint8_t> block, std::size_t at, char16_t& out) {
  if (at + 2 > block.size()) return false;
  out = static_cast<char16_t>(block[at] | block[at + 1] << 8);
  return true;
}
}  // namespace

std::optional<std::u16string> StringTableEntry(std::span<const std::uint8_t> block, unsigned id) {
  std::size_t at = 0;
  const unsigned index = id & 15;
  for (unsigned i = 0;; ++i) {
    char16_t length = 0;
    if (!Unit(block, at, length)) return std::nullopt;
    at += 2;
    if (i == index) {
      std::u16string text(length, u'\0');
      for (std::size_t k = 0; k < length; ++k) {
        if (!Unit(block, at + 2 * k, text[k])) return std::nullopt;
      }
      return text;
    }
    at += 2 * static_cast<std::size_t>(length);
  }
}

}  // namespace fw

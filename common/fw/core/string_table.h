// String-table resources: the block that holds a string id and the string
// inside it. Strings are read from the block itself (UTF-16), so that a
// module's text can be had whole, without a caller's buffer size, and then
// converted with an explicit code page.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace fw {

// Resource name of the RT_STRING block that holds string id.
constexpr unsigned StringBlockOf(unsigned id) { return (id >> 4) + 1; }

// The string of id in its block (16 strings, each a 16-bit length in UTF-16
// units followed by the units, little-endian). Nothing when the block is cut
// short; an empty string when the entry is empty (no such string).
std::optional<std::u16string> StringTableEntry(std::span<const std::uint8_t> block, unsigned id);

}  // namespace fw

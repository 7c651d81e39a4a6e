// The radical dictionary "SYSDIC\GmV6e.dic": the radicals grouped by their
// stroke count, and per radical its characters grouped by total strokes.
//
//   0       512  header; eight 32-bit section offsets at 114, 118, ... 142 (the first, S, is used)
//   S + 5   2    G, the number of radical groups
//   S + 7   4G   per group: int16 stroke count, int16 number of radicals
//   then    2N   the N radicals in group order (2-byte codes, first byte first)
//   then    4N   per radical: offset of its character section, relative to S + 5
//   section 2    g, the number of stroke groups
//           4g   per group: int16 stroke count, int16 number of characters
//           2n   the characters in group order
//
// Every count and offset is checked against the file's size before anything
// is read or allocated; a file that fails the check is damaged.
#pragma once
#include <vector>

#include "dic_source.h"
#include "lookup_codes.h"

namespace lookup {

struct StrokeGroup {
  int strokes = 0;
  std::vector<DbChar> codes;
  bool operator==(const StrokeGroup&) const = default;
};

inline constexpr std::size_t kRadicalHeaderSize = 512;
inline constexpr std::size_t kRadicalSectionTable = 114;

struct RadicalIndex {
  std::vector<StrokeGroup> groups;     // the radicals by stroke count
  std::vector<std::uint32_t> offsets;  // per radical in group order, relative to base
  std::uint64_t base = 0;              // S + 5
  // The radical at a flat position (group order) and its position of a code.
  int PositionOf(DbChar radical) const;
  std::size_t Count() const { return offsets.size(); }
};

DicStatus ReadRadicalIndex(ByteSource& file, RadicalIndex& out);
// The characters of the radical at a flat position.
DicStatus ReadRadicalCharacters(ByteSource& file, const RadicalIndex& index, std::size_t position,
                                std::vector<StrokeGroup>& out);

// The writer of the generator: radicals in the order given, grouped by their
// stroke count as they come (the caller sorts them).
struct RadicalEntry {
  DbChar code = 0;
  int strokes = 0;
  std::vector<StrokeGroup> characters;
};
std::vector<std::uint8_t> WriteRadicalDictionary(const std::vector<RadicalEntry>& radicals);

}  // namespace lookup

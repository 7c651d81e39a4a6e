// The jamo dictionary "SYSDIC\GmV6Jiso.Dic": per range (0 all syllables, 1
// those of personal and place names) and per initial consonant, the Hangul
// syllables grouped by vowel.
//
//   0      246   header; section offsets T0 at 238 (range 0) and T1 at 242 (range 1)
//   T + 7  4 x 19  per initial: absolute offset of its block
//   block  2 x 21  per vowel: int16 number of syllables
//   +42    2n    the syllables (GM95, first byte first) in vowel order
//
// Counts and offsets are checked against the file's size before use.
#pragma once
#include <array>
#include <vector>

#include "dic_source.h"
#include "lookup_codes.h"

namespace lookup {

inline constexpr int kInitials = 19;
inline constexpr int kVowels = 21;
inline constexpr std::size_t kJisoHeaderSize = 246;
inline constexpr std::size_t kJisoSectionField[2] = {238, 242};

using VowelGroups = std::array<std::vector<DbChar>, kVowels>;

struct JisoHeader {
  std::uint32_t sections[2] = {0, 0};
};

DicStatus ReadJisoHeader(ByteSource& file, JisoHeader& out);
// The syllables of one initial (0-18) in one range (0 or 1), by vowel.
DicStatus ReadJisoInitial(ByteSource& file, const JisoHeader& header, int range, int initial, VowelGroups& out);

// The writer of the generator: ranges[r][initial][vowel] lists the syllables.
using JisoRange = std::array<VowelGroups, kInitials>;
std::vector<std::uint8_t> WriteJisoDictionary(const JisoRange& all, const JisoRange& names);

}  // namespace lookup

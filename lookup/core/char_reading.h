// The reading label under the large character: the code of a user-defined
// character in hexadecimal, the kana reading of a Hangul syllable
// ("KANAYOMI"), or the Hangul reading of a hanja (the reading ranges of the
// KS hanja rows, with the other readings of a hanja that KS X 1001 holds
// more than once: "DOON2" pairs and the groups of three and four).
//
// Table formats (resources of type TEXT in the library):
//   KANAYOMI  2350 entries of 12 bytes in KS order and an end-of-file byte:
//             up to 10 bytes of Shift-JIS katakana, each lead byte stored 3
//             below its value, ended by a byte of 0x20 or less
//   DOON2     pairs of 2-byte GM95 codes: a hanja and its partner
//   YOMIRANGE entries of 4 bytes in KS order: the first hanja of a reading
//             and that reading's syllable (GM95)
//   YOMIGROUP entries of 8 bytes: up to four GM95 codes of one hanja, 0 after the last
#pragma once
#include <span>
#include <string>
#include <vector>

#include "lookup_codes.h"

namespace lookup {

inline constexpr std::size_t kKanaEntrySize = 12;
inline constexpr std::size_t kKanaReadingBytes = 10;
inline constexpr std::size_t kKanaTableSize = kHangulSyllables * kKanaEntrySize + 1;  // 28201
inline constexpr std::uint8_t kKanaLeadShift = 3;
inline constexpr std::size_t kGroupMembers = 4;

struct ReadingTables {
  std::span<const std::uint8_t> kanayomi;
  std::span<const std::uint8_t> doon2;
  std::span<const std::uint8_t> ranges;
  std::span<const std::uint8_t> groups;
};

enum class LabelKind : std::uint8_t {
  kNone,
  kHex,     // lower-case hexadecimal of a user-defined code (ASCII)
  kKana,    // katakana (Shift-JIS), drawn in the Japanese font
  kHangul,  // GM95 syllables separated by ",", drawn in the Korean font
};

struct ReadingLabel {
  LabelKind kind = LabelKind::kNone;
  std::string bytes;
  bool operator==(const ReadingLabel&) const = default;
};

// The kana reading of a Hangul syllable (GM95) in Shift-JIS; empty when the
// code is no syllable or the table has none for it.
std::string GetKanaReading(DbChar gm95, std::span<const std::uint8_t> kanayomi);
// The Hangul reading (a GM95 syllable) of a KS hanja; 0 when none.
DbChar HanjaReading(DbChar gm95, std::span<const std::uint8_t> ranges);
// The label of any character; kind kNone when none is made.
ReadingLabel GetCharReading(DbChar gm95, const ReadingTables& tables);

// The generator's writers.
std::vector<std::uint8_t> WriteKanaTable(const std::vector<std::string>& readings);  // 2350 Shift-JIS readings

}  // namespace lookup

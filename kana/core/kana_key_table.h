// The romanization table KanaKeyTable: one ASCII string per GM code of the
// jamo row and of the 2350 Hangul syllables, one letter per jamo, and the
// lookups between GM codes and these strings.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "ks_gm.h"

namespace kana {

inline constexpr size_t kKanaKeyCount = 2444;
inline constexpr size_t kKanaKeyJamoCount = 94;  // indexes 0-93: the jamo row
inline constexpr size_t kKanaKeySize = 6;        // at most 5 letters and a NUL
extern const char kKanaKeyTable[kKanaKeyCount][kKanaKeySize];

// Table index of a GM code (the syllables from 0x889F; lead 0x95 with trail
// 0x40-0x9E is the jamo row); nothing for a lead below 0x88, a trail outside
// the Shift-JIS ranges or an index beyond the table.
std::optional<size_t> RomanizationIndex(codeconv::DbChar code);
// GM code of a table index.
codeconv::DbChar RomanizationCode(size_t index);

// The romanized string of a GM code; empty when it has none.
std::string GetRomanization(codeconv::DbChar code);
// GM code of a romanized string: the first entry whose first 5 bytes equal
// the string's (its end included); strings of 0 or 1 characters are never
// found. FindRomanization looks up an index built once from the table;
// FindRomanizationLinear scans the table and gives the same answers.
std::optional<codeconv::DbChar> FindRomanization(std::string_view s);
std::optional<codeconv::DbChar> FindRomanizationLinear(std::string_view s);

}  // namespace kana

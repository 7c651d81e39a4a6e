// Builders of the lookup library's data from public character data: the
// radical dictionary from Unihan's radical-stroke and stroke counts, the
// reading ranges, DOON2 pairs and reading groups of the KS hanja from
// kHangul and the KS source positions (which place the CJK compatibility
// ideographs, KS X 1001's repeated hanja), and the jamo dictionary from the
// KS Hangul syllables. The parsing of the files is lookupgen's; these work on
// parsed records so that the tests can give small ones.
#pragma once
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "jiso_dic.h"
#include "char_reading.h"
#include "radical_dic.h"

namespace lookup::data {

// One KS X 1001 hanja: its place (GM95), its code point, and the Unihan facts.
struct Hanja {
  DbChar gm95 = 0;
  char32_t codePoint = 0;
  char32_t unified = 0;       // the code point itself, or the unified one of a compatibility ideograph
  int radical = 0;            // kRSUnicode's first radical number
  int strokes = 0;            // kTotalStrokes
  std::vector<char32_t> readings;  // kHangul syllables
};

// Picks each hanja's reading so that the KS order (the hanja rows are
// ordered by reading) holds: a hanja with one candidate keeps it; one with
// several takes the candidate between its neighbours. hanja are in KS order.
// Throws std::runtime_error when no order-keeping choice exists.
std::vector<char32_t> ChooseReadings(const std::vector<Hanja>& hanja);

// Runs of equal readings: (first hanja, reading syllable) as YOMIRANGE bytes.
// toGm95 maps a Hangul syllable to GM95.
template <typename ToGm95>
std::vector<std::uint8_t> ReadingRanges(const std::vector<Hanja>& hanja, const std::vector<char32_t>& readings,
                                        ToGm95 toGm95);

// The places of each unified hanja that KS X 1001 holds more than once, in
// KS order: groups of two become DOON2 pairs, larger ones YOMIGROUP entries.
std::vector<std::vector<DbChar>> RepeatedHanja(const std::vector<Hanja>& hanja);
std::vector<std::uint8_t> Doon2Table(const std::vector<std::vector<DbChar>>& repeated);
std::vector<std::uint8_t> GroupTable(const std::vector<std::vector<DbChar>>& repeated);

// The radicals (numbers 1-214 with their unified ideograph and its stroke
// count), each with the KS hanja of that radical (compatibility ideographs
// left out: they show the same character again) grouped by total strokes.
// A radical that KS X 1001 lacks gets the glyph code 0x829F + n of bitmap
// 124, n counting such radicals; glyphs receives their code points in order.
struct Radical {
  int number = 0;
  char32_t codePoint = 0;
  int strokes = 0;
};
inline constexpr DbChar kFirstGlyphCode = 0x829F;
std::vector<RadicalEntry> RadicalEntries(const std::vector<Radical>& radicals, const std::vector<Hanja>& hanja,
                                         std::vector<char32_t>& glyphs);

// The jamo dictionary's ranges from the 2350 KS syllables (GM95 and code
// point, KS order): range 0 all of them, range 1 those in names.
void JisoRanges(const std::vector<std::pair<DbChar, char32_t>>& syllables, const std::set<char32_t>& names,
                JisoRange& all, JisoRange& namesRange);

// Initial (0-18) and vowel (0-20) of a precomposed Hangul syllable.
bool SplitSyllable(char32_t syllable, int& initial, int& vowel);

// Implementation of the template.
template <typename ToGm95>
std::vector<std::uint8_t> ReadingRanges(const std::vector<Hanja>& hanja, const std::vector<char32_t>& readings,
                                        ToGm95 toGm95) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < hanja.size(); ++i) {
    if (i > 0 && readings[i] == readings[i - 1]) continue;
    const DbChar syllable = toGm95(readings[i]);
    for (DbChar c : {hanja[i].gm95, syllable}) {
      out.push_back(codeconv::Lead(c));
      out.push_back(codeconv::Trail(c));
    }
  }
  return out;
}

}  // namespace lookup::data

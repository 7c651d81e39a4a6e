#include "lookup_data.h"

#include <algorithm>
#include <stdexcept>

namespace lookup::data {

std::vector<char32_t> ChooseReadings(const std::vector<Hanja>& hanja) {
  const std::size_t n = hanja.size();
  std::vector<char32_t> out(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    if (hanja[i].readings.empty()) throw std::runtime_error("a KS hanja without a Hangul reading");
    if (hanja[i].readings.size() == 1) out[i] = hanja[i].readings[0];
  }
  // Between the nearest single-reading neighbours.
  for (std::size_t i = 0; i < n; ++i) {
    if (out[i] != 0) continue;
    char32_t low = 0, high = 0x10FFFF;
    for (std::size_t j = i; j-- > 0;) {
      if (out[j] != 0) {
        low = out[j];
        break;
      }
    }
    for (std::size_t j = i + 1; j < n; ++j) {
      if (hanja[j].readings.size() == 1) {
        high = hanja[j].readings[0];
        break;
      }
    }
    std::vector<char32_t> fit;
    for (char32_t r : hanja[i].readings)
      if (r >= low && r <= high) fit.push_back(r);
    if (fit.empty()) throw std::runtime_error("no reading of a KS hanja keeps the reading order");
    // Prefer the reading of a neighbour: the hanja then joins its run.
    char32_t pick = fit.front();
    if (std::find(fit.begin(), fit.end(), low) != fit.end()) pick = low;
    else if (std::find(fit.begin(), fit.end(), high) != fit.end()) pick = high;
    out[i] = pick;
  }
  for (std::size_t i = 1; i < n; ++i) {
    if (out[i] < out[i - 1]) throw std::runtime_error("the chosen readings are out of order");
  }
  return out;
}

std::vector<std::vector<DbChar>> RepeatedHanja(const std::vector<Hanja>& hanja) {
  std::map<char32_t, std::vector<DbChar>> places;
  for (const Hanja& h : hanja) places[h.unified].push_back(h.gm95);
  std::vector<std::vector<DbChar>> out;
  for (auto& [unified, codes] : places) {
    if (codes.size() < 2) continue;
    std::sort(codes.begin(), codes.end(),
              [](DbChar a, DbChar b) { return codeconv::Gm95ToOrdinal(a) < codeconv::Gm95ToOrdinal(b); });
    out.push_back(codes);
  }
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
    return codeconv::Gm95ToOrdinal(a.front()) < codeconv::Gm95ToOrdinal(b.front());
  });
  return out;
}

namespace {
void PutCode(std::vector<std::uint8_t>& out, DbChar c) {
  out.push_back(codeconv::Lead(c));
  out.push_back(codeconv::Trail(c));
}
}  // namespace

std::vector<std::uint8_t> Doon2Table(const std::vector<std::vector<DbChar>>& repeated) {
  std::vector<std::uint8_t> out;
  for (const auto& g : repeated) {
    if (g.size() != 2) continue;
    PutCode(out, g[0]);
    PutCode(out, g[1]);
  }
  return out;
}

std::vector<std::uint8_t> GroupTable(const std::vector<std::vector<DbChar>>& repeated) {
  std::vector<std::uint8_t> out;
  for (const auto& g : repeated) {
    if (g.size() < 3) continue;
    if (g.size() > kGroupMembers) throw std::runtime_error("a hanja repeated more than four times");
    for (std::size_t k = 0; k < kGroupMembers; ++k) PutCode(out, k < g.size() ? g[k] : 0);
  }
  return out;
}

std::vector<RadicalEntry> RadicalEntries(const std::vector<Radical>& radicals, const std::vector<Hanja>& hanja,
                                         std::vector<char32_t>& glyphs) {
  std::map<char32_t, DbChar> placeOf;
  for (const Hanja& h : hanja)
    if (h.codePoint == h.unified) placeOf.emplace(h.codePoint, h.gm95);
  std::vector<Radical> ordered = radicals;
  std::stable_sort(ordered.begin(), ordered.end(), [](const Radical& a, const Radical& b) {
    return a.strokes != b.strokes ? a.strokes < b.strokes : a.number < b.number;
  });
  std::vector<RadicalEntry> out;
  glyphs.clear();
  for (const Radical& r : ordered) {
    std::map<int, std::vector<DbChar>> byStrokes;
    for (const Hanja& h : hanja) {
      if (h.radical == r.number && h.codePoint == h.unified) byStrokes[h.strokes].push_back(h.gm95);
    }
    if (byStrokes.empty()) continue;
    RadicalEntry e;
    e.strokes = r.strokes;
    const auto place = placeOf.find(r.codePoint);
    if (place != placeOf.end()) {
      e.code = place->second;
    } else {
      e.code = static_cast<DbChar>(kFirstGlyphCode + glyphs.size());
      glyphs.push_back(r.codePoint);
    }
    for (auto& [strokes, codes] : byStrokes) e.characters.push_back({strokes, codes});
    out.push_back(std::move(e));
  }
  return out;
}

bool SplitSyllable(char32_t syllable, int& initial, int& vowel) {
  if (syllable < 0xAC00 || syllable > 0xD7A3) return false;
  const int s = static_cast<int>(syllable - 0xAC00);
  initial = s / 588;
  vowel = s % 588 / 28;
  return true;
}

void JisoRanges(const std::vector<std::pair<DbChar, char32_t>>& syllables, const std::set<char32_t>& names,
                JisoRange& all, JisoRange& namesRange) {
  all = {};
  namesRange = {};
  for (const auto& [gm95, cp] : syllables) {
    int initial = 0, vowel = 0;
    if (!SplitSyllable(cp, initial, vowel)) continue;
    all[static_cast<std::size_t>(initial)][static_cast<std::size_t>(vowel)].push_back(gm95);
    if (names.count(cp)) namesRange[static_cast<std::size_t>(initial)][static_cast<std::size_t>(vowel)].push_back(gm95);
  }
}

}  // namespace lookup::data

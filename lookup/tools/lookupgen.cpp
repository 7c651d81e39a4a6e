// Generates the lookup library's data from Debian's unicode-data and
// libhangul-data.
//
//   lookupgen tables <Unihan_IRGSources.txt> <Unihan_Readings.txt> <CJKRadicals.txt>
//                    <UnicodeData.txt> <hanja.txt> <output folder>
//       SYSDIC/GmV6e.dic     radicals and stroke counts of the KS X 1001 hanja
//       SYSDIC/GmV6Jiso.Dic  the 2350 KS syllables by initial and vowel; the
//                            names range is the syllables that hanja.txt
//                            gives as the reading of a single KS X 1001 hanja
//       DOON2.bin, YOMIGROUP.bin  the hanja that KS X 1001 holds at two, or
//                            three and four, places (its compatibility ideographs)
//       YOMIRANGE.bin        the reading ranges of the KS hanja rows
//       JISOLABEL.bin        the 19 initial and 21 vowel labels (compatibility jamo, GM95)
//       radical_glyphs.txt   the radicals that KS X 1001 lacks, in glyph order
//                            (bitmap 124 is drawn from this list)
//
//   lookupgen kanayomi <output file> [<readings>]
//       KANAYOMI.bin: the kana reading of each KS syllable. <readings> has one
//       line per syllable in KS order, "syllable<TAB>katakana" in UTF-8, as
//       the kana-reading library's rules give them; without it every reading
//       is empty.
//
// Every KS position comes from Unihan's kIRG_KSource (K0-RRCC), every code
// conversion from code page 949 and 932 (iconv).
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "code_page.h"
#include "kana_reading.h"
#include "kana_rules.h"
#include "lookup_data.h"

namespace {

using lookup::DbChar;
namespace data = lookup::data;

const codeconv::CodePageConverter& Cp() { return codeconv::PlatformCodePages(); }

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> out;
  std::string field;
  std::istringstream in(s);
  while (std::getline(in, field, sep)) out.push_back(field);
  return out;
}

char32_t CodePointOf(const std::string& field) {  // "U+4E00"
  return static_cast<char32_t>(std::stoul(field.substr(2), nullptr, 16));
}

// Code points of UTF-8 text.
std::u32string Utf32(const std::string& utf8) {
  const std::u16string u = Cp().ToUtf16(65001, utf8);
  std::u32string out;
  for (std::size_t i = 0; i < u.size(); ++i) {
    char32_t c = u[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < u.size()) c = 0x10000 + ((c - 0xD800) << 10) + (u[++i] - 0xDC00);
    out.push_back(c);
  }
  return out;
}

// GM95 of a BMP character through code page 949; 0 when KS X 1001 lacks it.
DbChar Gm95Of(char32_t c) {
  if (c > 0xFFFF) return 0;
  const std::string ks = Cp().FromUtf16(949, std::u16string(1, static_cast<char16_t>(c)));
  if (ks.size() != 2) return 0;
  DbChar out = 0;
  if (!codeconv::EucToSjis(codeconv::MakeDb(static_cast<std::uint8_t>(ks[0]), static_cast<std::uint8_t>(ks[1])), out))
    return 0;
  return out;
}

struct UnihanFacts {
  std::map<char32_t, DbChar> ksPlace;  // K0 sources, as GM95
  std::map<char32_t, char32_t> compatibility;
  std::map<char32_t, int> radical, strokes;
  std::map<char32_t, std::vector<char32_t>> hangul;
};

void ReadIrgSources(const std::string& path, UnihanFacts& f) {
  for (const std::string& line : Lines(path)) {
    if (line.empty() || line[0] == '#') continue;
    const auto fields = Split(line, '\t');
    if (fields.size() < 3) continue;
    const char32_t cp = CodePointOf(fields[0]);
    const std::string& key = fields[1];
    const std::string& value = fields[2];
    if (key == "kIRG_KSource" && value.rfind("K0-", 0) == 0) {
      const auto jis = static_cast<DbChar>(std::stoul(value.substr(3), nullptr, 16));
      f.ksPlace[cp] = codeconv::KsCharToGm(jis);
    } else if (key == "kCompatibilityVariant") {
      f.compatibility[cp] = CodePointOf(value);
    } else if (key == "kRSUnicode") {
      f.radical[cp] = std::stoi(value);  // "75.11" or "120'.3": the number before the mark
    } else if (key == "kTotalStrokes") {
      f.strokes[cp] = std::stoi(value);
    }
  }
}

void ReadReadings(const std::string& path, UnihanFacts& f) {
  for (const std::string& line : Lines(path)) {
    if (line.empty() || line[0] == '#') continue;
    const auto fields = Split(line, '\t');
    if (fields.size() < 3 || fields[1] != "kHangul") continue;
    std::vector<char32_t> readings;
    for (const std::string& item : Split(fields[2], ' ')) {
      const std::u32string r = Utf32(item.substr(0, item.find(':')));
      if (r.size() == 1) readings.push_back(r[0]);
    }
    f.hangul[CodePointOf(fields[0])] = readings;
  }
}

std::vector<data::Radical> ReadRadicals(const std::string& path, const UnihanFacts& f) {
  std::vector<data::Radical> out;
  for (const std::string& line : Lines(path)) {
    if (line.empty() || line[0] == '#') continue;
    const auto fields = Split(line, ';');
    if (fields.size() < 3 || fields[0].find('\'') != std::string::npos) continue;  // simplified forms
    data::Radical r;
    r.number = std::stoi(fields[0]);
    r.codePoint = static_cast<char32_t>(std::stoul(fields[2], nullptr, 16));
    const auto s = f.strokes.find(r.codePoint);
    if (s == f.strokes.end()) throw std::runtime_error("a radical without a stroke count");
    r.strokes = s->second;
    out.push_back(r);
  }
  return out;
}

// The compatibility jamo whose compatibility decomposition is one of the
// conjoining jamo first..last, in that order.
std::vector<DbChar> JamoLabels(const std::vector<std::string>& unicodeData, char32_t first, char32_t last) {
  std::map<char32_t, DbChar> byTarget;
  for (const std::string& line : unicodeData) {
    const auto fields = Split(line, ';');
    if (fields.size() < 6) continue;
    const auto cp = static_cast<char32_t>(std::stoul(fields[0], nullptr, 16));
    if (cp < 0x3131 || cp > 0x318E || fields[5].rfind("<compat> ", 0) != 0) continue;
    const auto target = static_cast<char32_t>(std::stoul(fields[5].substr(9), nullptr, 16));
    if (target >= first && target <= last) byTarget.emplace(target, Gm95Of(cp));
  }
  std::vector<DbChar> out;
  for (auto& [target, gm] : byTarget) out.push_back(gm);
  return out;
}

int Tables(char** argv) {
  UnihanFacts f;
  ReadIrgSources(argv[0], f);
  ReadReadings(argv[1], f);
  const std::string out = argv[5];

  // The KS hanja in KS order.
  std::map<int, data::Hanja> byPlace;
  for (const auto& [cp, gm] : f.ksPlace) {
    const int ordinal = codeconv::Gm95ToOrdinal(gm);
    const int row = ordinal / 94 + 1;
    if (row < lookup::kFirstHanjaRow || row > lookup::kLastHanjaRow) continue;
    data::Hanja h;
    h.gm95 = gm;
    h.codePoint = cp;
    const auto compat = f.compatibility.find(cp);
    h.unified = compat != f.compatibility.end() ? compat->second : cp;
    h.radical = f.radical.count(h.unified) ? f.radical.at(h.unified) : 0;
    h.strokes = f.strokes.count(h.unified) ? f.strokes.at(h.unified) : 0;
    if (f.hangul.count(cp)) h.readings = f.hangul.at(cp);
    byPlace.emplace(ordinal, h);
  }
  std::vector<data::Hanja> hanja;
  for (auto& [ordinal, h] : byPlace) hanja.push_back(h);

  const std::vector<char32_t> readings = data::ChooseReadings(hanja);
  const auto ranges = data::ReadingRanges(hanja, readings, [](char32_t r) {
    const DbChar gm = Gm95Of(r);
    if (!gm) throw std::runtime_error("a hanja reading outside KS X 1001");
    return gm;
  });
  const auto repeated = data::RepeatedHanja(hanja);
  const auto doon2 = data::Doon2Table(repeated);
  const auto groups = data::GroupTable(repeated);
  Write(out + "/YOMIRANGE.bin", ranges);
  Write(out + "/DOON2.bin", doon2);
  Write(out + "/YOMIGROUP.bin", groups);

  std::vector<char32_t> glyphs;
  const auto radicals = data::RadicalEntries(ReadRadicals(argv[2], f), hanja, glyphs);
  Write(out + "/SYSDIC/GmV6e.dic", lookup::WriteRadicalDictionary(radicals));
  {
    std::ofstream list(out + "/radical_glyphs.txt");
    for (char32_t g : glyphs) {
      char buf[16];
      std::snprintf(buf, sizeof buf, "U+%04X\n", static_cast<unsigned>(g));
      list << buf;
    }
  }

  // The syllables of rows 16-40, and the readings of single hanja in hanja.txt.
  std::vector<std::pair<DbChar, char32_t>> syllables;
  for (int i = 0; i < lookup::kHangulSyllables; ++i) {
    const DbChar gm = codeconv::OrdinalToGm95((lookup::kFirstHangulRow - 1) * 94 + i);
    const DbChar ks = codeconv::GmCharToKs(gm);
    const std::u16string u = Cp().ToUtf16(949, {static_cast<char>(ks >> 8), static_cast<char>(ks & 0xFF)});
    if (u.size() != 1) throw std::runtime_error("a KS syllable that code page 949 does not know");
    syllables.emplace_back(gm, u[0]);
  }
  std::set<char32_t> names;
  for (const std::string& line : Lines(argv[4])) {
    if (line.empty() || line[0] == '#') continue;
    const auto fields = Split(line, ':');
    if (fields.size() < 2) continue;
    const std::u32string reading = Utf32(fields[0]);
    const std::u32string word = Utf32(fields[1]);
    // A hanja of KS X 1001: the list's other hanja are mostly characters made
    // in Korea with native readings, not the syllables of names.
    if (reading.size() == 1 && word.size() == 1 && f.ksPlace.count(word[0])) names.insert(reading[0]);
  }
  lookup::JisoRange all, namesRange;
  data::JisoRanges(syllables, names, all, namesRange);
  Write(out + "/SYSDIC/GmV6Jiso.Dic", lookup::WriteJisoDictionary(all, namesRange));

  const std::vector<std::string> unicodeData = Lines(argv[3]);
  std::vector<DbChar> labels = JamoLabels(unicodeData, 0x1100, 0x1112);
  const std::vector<DbChar> vowels = JamoLabels(unicodeData, 0x1161, 0x1175);
  if (labels.size() != lookup::kInitials || vowels.size() != lookup::kVowels)
    throw std::runtime_error("the jamo labels are not 19 initials and 21 vowels");
  labels.insert(labels.end(), vowels.begin(), vowels.end());
  std::vector<std::uint8_t> labelBytes;
  for (DbChar c : labels) {
    if (!c) throw std::runtime_error("a jamo label outside KS X 1001");
    labelBytes.push_back(codeconv::Lead(c));
    labelBytes.push_back(codeconv::Trail(c));
  }
  Write(out + "/JISOLABEL.bin", labelBytes);

  std::size_t nameCount = 0, characters = 0;
  for (const auto& initial : namesRange)
    for (const auto& v : initial) nameCount += v.size();
  for (const auto& r : radicals)
    for (const auto& g : r.characters) characters += g.codes.size();
  std::printf("lookupgen: %zu hanja, %zu reading ranges, %zu DOON2 pairs, %zu groups; %zu radicals (%zu drawn from "
              "bitmap 124) over %zu characters; %zu syllables, %zu in the names range\n",
              hanja.size(), ranges.size() / 4, doon2.size() / 4, groups.size() / 8, radicals.size(), glyphs.size(),
              characters, syllables.size(), nameCount);
  return 0;
}

// The word-start kana reading of each KS syllable, in KS order, from the
// kana-reading library's rules (가 カ, 바 パ), as Shift-JIS bytes.
std::vector<std::string> SyllableKanaReadings() {
  std::vector<std::string> readings;
  readings.reserve(lookup::kHangulSyllables);
  for (int lead = 0xB0; lead <= 0xC8; ++lead) {
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      const std::string ks{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string u = Cp().ToUtf16(949, ks);
      if (u.size() != 1) throw std::runtime_error("a KS syllable without a Unicode form");
      std::string reading = kana::SyllableKanaSjis(u[0]);
      kana::AdjustVoicing(kana::RomanizedSyllable(u[0]), reading);
      readings.push_back(reading);
    }
  }
  if (readings.size() != lookup::kHangulSyllables) throw std::runtime_error("not 2350 KS syllables");
  return readings;
}

int KanaYomi(int, char** argv) {
  Write(argv[0], lookup::WriteKanaTable(SyllableKanaReadings()));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 8 && std::string(argv[1]) == "tables") return Tables(argv + 2);
    if (argc == 3 && std::string(argv[1]) == "kanayomi") return KanaYomi(argc - 2, argv + 2);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lookupgen: %s\n", e.what());
    return 1;
  }
  std::fprintf(stderr,
               "usage: lookupgen tables <IRGSources> <Readings> <CJKRadicals> <UnicodeData> <hanja.txt> <folder>\n"
               "       lookupgen kanayomi <output file>\n");
  return 2;
}

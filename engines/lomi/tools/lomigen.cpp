// Builds the system dictionary of LomiDLL.dll:
//
//   lomigen <glossary.txt> <hanja.txt> <Unihan_Variants.txt>
//           <Unihan_OtherMappings.txt> <Unihan_Readings.txt> <edict> <lomi.dat>
//
// - the engine's own glossary (kana words, native Korean words, particles
//   and endings, punctuation, kana readings);
// - Sino-Korean words: each EDICT headword of two to four kanji whose
//   traditional spelling (the kanji themselves or their traditional forms
//   from Unihan's variant fields and the EACC cell of the same character)
//   is a word of libhangul's hanja.txt takes that word's Hangul;
// - the Korean reading of each kanji (hanja.txt, else Unihan's kHangul);
// - the Korean character of each Shift-JIS character (kanji as their KS
//   hanja, the rest as the same character in KS code);
// - the final consonant of each KS Hangul syllable.
#include <iconv.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "text_utils.h"
#include "code_page.h"
#include "lomi_dictionary.h"

namespace {

using lomi::Alternation;
using lomi::TokenKind;
using lomi::WordValue;

std::u16string To16(const std::u32string& s) {
  std::u16string out;
  for (char32_t c : s) {
    if (c < 0x10000) {
      out.push_back(static_cast<char16_t>(c));
    } else {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
  }
  return out;
}

// The text in a code page, or "" when a character is missing there.
std::string Encode(unsigned codePage, const std::u32string& s) {
  const auto& cp = codeconv::PlatformCodePages();
  const std::u16string u = To16(s);
  const std::string out = cp.FromUtf16(codePage, u);
  if (cp.ToUtf16(codePage, out) != u) return "";
  return out;
}

std::string EucJpToUtf8(const std::string& in) {
  iconv_t cd = iconv_open("UTF-8", "EUC-JP");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "";
  std::string out(in.size() * 2 + 16, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t left = in.size(), room = out.size();
  char* dst = out.data();
  const std::size_t r = iconv(cd, &src, &left, &dst, &room);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1)) return "";
  out.resize(out.size() - room);
  return out;
}

char32_t ParseCode(const std::string& s) {  // "U+5B78" or "U+5B78<kSource"
  if (s.rfind("U+", 0) != 0) return 0;
  return static_cast<char32_t>(std::stoul(s.substr(2, s.find('<') == std::string::npos ? std::string::npos
                                                                                      : s.find('<') - 2),
                                          nullptr, 16));
}

bool IsIdeograph(char32_t c) { return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF); }

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> out;
  std::string field;
  std::istringstream in(s);
  while (std::getline(in, field, sep)) out.push_back(field);
  return out;
}

uint8_t PartOfSpeechType(const std::string& name) {
  static const std::map<std::string, uint8_t> types = {
      {"noun", 6},         {"pronoun", 6},     {"verb", 2},        {"adjective", 3}, {"adverb", 8},
      {"interjection", 12}, {"determiner", 11}, {"conjunction", 10}, {"phrase", 0}};
  auto it = types.find(name);
  return it == types.end() ? 0 : it->second;
}

struct Generator {
  lomi::DictionaryBuilder builder;
  std::set<std::string> glossaryKeys;
  std::map<std::u32string, std::u32string> hanjaWords;  // hanja -> Hangul, first listed
  std::unordered_map<char32_t, char32_t> hanjaReading;   // single hanja -> first listed Hangul
  std::unordered_map<char32_t, char32_t> kHangul;        // Unihan's first reading
  std::unordered_map<char32_t, std::vector<char32_t>> traditional;
  int errors = 0;

  void Fail(const std::string& what) {
    std::cerr << "lomigen: " << what << "\n";
    ++errors;
  }

  void ReadGlossary(const char* path) {
    std::ifstream in(path);
    if (!in) return Fail(std::string("cannot read ") + path);
    std::string line, section;
    std::vector<std::pair<std::string, std::string>> kana;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#') continue;
      if (line[0] == '[') {
        section = line;
        continue;
      }
      const std::vector<std::string> f = Split(line, '\t');
      if (f.size() < 2) {
        Fail("glossary line without tab: " + line);
        continue;
      }
      const std::string key = Encode(932, codeconv::DecodeUtf8Unchecked(f[0]));
      if (key.empty()) {
        Fail("glossary word outside Shift-JIS: " + f[0]);
        continue;
      }
      WordValue v;
      if (section == "[kana]") {
        const std::string hangul = Encode(949, codeconv::DecodeUtf8Unchecked(f[1]));
        if (hangul.empty()) Fail("kana reading outside KS: " + f[1]);
        builder.AddKana(key, hangul);
        kana.emplace_back(f[0], f[1]);
        continue;
      }
      std::string korean = f[1], second;
      if (section == "[attach]") {
        v.kind = TokenKind::kAttach;
        const std::size_t slash = korean.find('/');
        if (slash != std::string::npos) {
          second = korean.substr(slash + 1);
          korean = korean.substr(0, slash);
          v.rule = f.size() > 2 && f[2] == "r" ? Alternation::kFinalR : Alternation::kFinal;
        }
      } else if (section == "[punctuation]") {
        const std::string kind = f.size() > 2 ? f[2] : "";
        v.kind = kind == "open" ? TokenKind::kOpen : kind == "space" ? TokenKind::kSpace : TokenKind::kClose;
      } else if (section == "[words]") {
        v.pos.type = PartOfSpeechType(f.size() > 2 ? f[2] : "");
      } else {
        Fail("glossary line outside a section: " + line);
        continue;
      }
      v.korean = Encode(949, codeconv::DecodeUtf8Unchecked(korean));
      v.afterFinal = Encode(949, codeconv::DecodeUtf8Unchecked(second));
      if (v.korean.empty() || (!second.empty() && v.afterFinal.empty())) {
        Fail("glossary translation outside KS: " + f[1]);
        continue;
      }
      glossaryKeys.insert(key);
      builder.AddWord(key, v);
    }
    // A kana syllable followed by ん or っ: one Hangul syllable with the
    // final ㄴ or ㅅ, where KS has it.
    for (const auto& [hira, hangul] : kana) {
      const std::u32string h = codeconv::DecodeUtf8Unchecked(hangul);
      if (h.size() != 1 || h[0] < 0xAC00 || h[0] > 0xD7A3 || (h[0] - 0xAC00) % 28 != 0) continue;
      const std::pair<const char*, int> finals[] = {{"ん", 4}, {"っ", 19}};
      for (const auto& [mark, final] : finals) {
        const std::string key = Encode(932, codeconv::DecodeUtf8Unchecked(hira + mark));
        const std::string ks = Encode(949, std::u32string(1, h[0] + final));
        if (!key.empty() && !ks.empty()) builder.AddKana(key, ks);
      }
    }
  }

  void ReadHanja(const char* path) {
    std::ifstream in(path);
    if (!in) return Fail(std::string("cannot read ") + path);
    std::string line;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#') continue;
      const std::vector<std::string> f = Split(line, ':');
      if (f.size() < 2) continue;
      const std::u32string reading = codeconv::DecodeUtf8Unchecked(f[0]), hanja = codeconv::DecodeUtf8Unchecked(f[1]);
      if (reading.size() != hanja.size() || hanja.empty()) continue;
      bool ok = true;
      for (char32_t c : hanja) ok = ok && IsIdeograph(c);
      for (char32_t c : reading) ok = ok && c >= 0xAC00 && c <= 0xD7A3;
      if (!ok) continue;
      if (hanja.size() == 1)
        hanjaReading.emplace(hanja[0], reading[0]);
      else
        hanjaWords.emplace(hanja, reading);
    }
  }

  void ReadVariants(const char* variants, const char* otherMappings) {
    std::ifstream in(variants);
    if (!in) return Fail(std::string("cannot read ") + variants);
    std::string line;
    while (std::getline(in, line)) {
      const std::vector<std::string> f = Split(line, '\t');
      if (f.size() < 3 || (f[1] != "kTraditionalVariant" && f[1] != "kZVariant" && f[1] != "kSemanticVariant"))
        continue;
      const char32_t c = ParseCode(f[0]);
      std::istringstream list(f[2]);
      for (std::string item; list >> item;) {
        const char32_t v = ParseCode(item);
        if (v && v != c) traditional[c].push_back(v);
      }
    }
    // EACC: a variant cell (other plane, same row and cell) of a plane-21
    // traditional character.
    std::ifstream other(otherMappings);
    if (!other) return Fail(std::string("cannot read ") + otherMappings);
    std::map<std::string, char32_t> plane21;
    std::vector<std::pair<char32_t, std::string>> variantCells;
    while (std::getline(other, line)) {
      const std::vector<std::string> f = Split(line, '\t');
      if (f.size() < 3 || f[1] != "kEACC" || f[2].size() != 6) continue;
      const char32_t c = ParseCode(f[0]);
      if (f[2].rfind("21", 0) == 0)
        plane21[f[2].substr(2)] = c;
      else
        variantCells.emplace_back(c, f[2].substr(2));
    }
    for (const auto& [c, cell] : variantCells) {
      auto it = plane21.find(cell);
      if (it != plane21.end() && it->second != c) traditional[c].push_back(it->second);
    }
  }

  void ReadHangulReadings(const char* path) {
    std::ifstream in(path);
    if (!in) return Fail(std::string("cannot read ") + path);
    std::string line;
    while (std::getline(in, line)) {
      const std::vector<std::string> f = Split(line, '\t');
      if (f.size() < 3 || f[1] != "kHangul") continue;
      std::istringstream list(f[2]);
      std::string first;
      list >> first;
      const std::u32string r = codeconv::DecodeUtf8Unchecked(first.substr(0, first.find(':')));
      if (r.size() == 1 && r[0] >= 0xAC00 && r[0] <= 0xD7A3) kHangul.emplace(ParseCode(f[0]), r[0]);
    }
  }

  // The forms a kanji may take in a Korean hanja word: its traditional
  // forms first, then itself.
  std::vector<char32_t> Forms(char32_t c) const {
    std::vector<char32_t> out;
    auto it = traditional.find(c);
    if (it != traditional.end()) out = it->second;
    out.push_back(c);
    return out;
  }

  bool Reading(char32_t kanji, char32_t& hangul) const {
    for (char32_t f : Forms(kanji)) {
      auto it = hanjaReading.find(f);
      if (it != hanjaReading.end()) {
        hangul = it->second;
        return true;
      }
    }
    for (char32_t f : Forms(kanji)) {
      auto it = kHangul.find(f);
      if (it != kHangul.end()) {
        hangul = it->second;
        return true;
      }
    }
    return false;
  }

  // The Hangul of a kanji word through hanja.txt, trying the forms of each
  // kanji; empty when no spelling is listed.
  std::u32string SinoKorean(const std::u32string& word) const {
    std::vector<std::vector<char32_t>> forms;
    std::size_t combinations = 1;
    for (char32_t c : word) {
      forms.push_back(Forms(c));
      combinations *= forms.back().size();
    }
    if (combinations > 256) return {};
    for (std::size_t k = 0; k < combinations; ++k) {
      std::u32string spelling;
      std::size_t rest = k;
      for (const auto& f : forms) {
        spelling.push_back(f[rest % f.size()]);
        rest /= f.size();
      }
      auto it = hanjaWords.find(spelling);
      if (it != hanjaWords.end()) return it->second;
    }
    return {};
  }

  void ReadEdict(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail(std::string("cannot read ") + path);
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = EucJpToUtf8(all.str());
    if (text.empty()) return Fail(std::string("cannot convert ") + path);
    std::istringstream lines(text);
    std::string line;
    std::set<std::string> added;
    int words = 0;
    while (std::getline(lines, line)) {
      const std::u32string head = codeconv::DecodeUtf8Unchecked(line.substr(0, line.find(' ')));
      if (head.size() < 2 || head.size() > 4) continue;
      bool kanji = true;
      for (char32_t c : head) kanji = kanji && IsIdeograph(c);
      if (!kanji) continue;
      const std::string key = Encode(932, head);
      if (key.empty() || glossaryKeys.count(key) || added.count(key)) continue;
      const std::u32string reading = SinoKorean(head);
      if (reading.empty()) continue;
      WordValue v;
      v.korean = Encode(949, reading);
      if (v.korean.empty()) continue;
      v.pos.type = 6;
      v.source = lomi::kFromHanjaList;
      builder.AddWord(key, v);
      added.insert(key);
      ++words;
    }
    std::printf("lomigen: %d Sino-Korean words\n", words);
  }

  // Every Shift-JIS double-byte character: its KS character, and for a
  // kanji its Korean reading.
  void MapCharacters() {
    const auto& cp = codeconv::PlatformCodePages();
    int chars = 0, readings = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!lomi::IsSjisLead(static_cast<uint8_t>(lead))) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (trail == 0x7F) continue;
        const std::string sjis{static_cast<char>(lead), static_cast<char>(trail)};
        const std::u16string u = cp.ToUtf16(932, sjis);
        if (u.size() != 1 || cp.FromUtf16(932, u) != sjis) continue;
        const char32_t c = u[0];
        const uint16_t code = static_cast<uint16_t>(lead << 8 | trail);
        std::vector<char32_t> candidates = IsIdeograph(c) ? Forms(c) : std::vector<char32_t>{c};
        for (char32_t f : candidates) {
          const std::string ks = Encode(949, std::u32string(1, f));
          // KS X 1001 itself (both bytes A1-FE), not the extended Hangul.
          if (ks.size() == 2 && static_cast<uint8_t>(ks[0]) >= 0xA1 && static_cast<uint8_t>(ks[1]) >= 0xA1) {
            builder.AddCharacter(code, static_cast<uint16_t>(static_cast<uint8_t>(ks[0]) << 8 | static_cast<uint8_t>(ks[1])));
            ++chars;
            break;
          }
        }
        char32_t hangul = 0;
        if (IsIdeograph(c) && Reading(c, hangul)) {
          const std::string ks = Encode(949, std::u32string(1, hangul));
          if (ks.size() == 2) {
            builder.AddReading(code, static_cast<uint16_t>(static_cast<uint8_t>(ks[0]) << 8 | static_cast<uint8_t>(ks[1])));
            ++readings;
          }
        }
      }
    }
    std::printf("lomigen: %d characters, %d kanji readings\n", chars, readings);
  }

  void MapFinals() {
    const auto& cp = codeconv::PlatformCodePages();
    std::vector<uint8_t> finals;
    for (unsigned lead = 0xB0; lead <= 0xC8; ++lead) {
      for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) {
        const std::u16string u = cp.ToUtf16(949, std::string{static_cast<char>(lead), static_cast<char>(trail)});
        finals.push_back(u.size() == 1 && u[0] >= 0xAC00 && u[0] <= 0xD7A3 ? static_cast<uint8_t>((u[0] - 0xAC00) % 28)
                                                                            : 0);
      }
    }
    builder.SetFinals(std::move(finals));
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 8) {
    std::fprintf(stderr,
                 "usage: lomigen <glossary.txt> <hanja.txt> <Unihan_Variants.txt> <Unihan_OtherMappings.txt> "
                 "<Unihan_Readings.txt> <edict> <lomi.dat>\n");
    return 2;
  }
  Generator g;
  g.ReadGlossary(argv[1]);
  g.ReadHanja(argv[2]);
  g.ReadVariants(argv[3], argv[4]);
  g.ReadHangulReadings(argv[5]);
  g.ReadEdict(argv[6]);
  g.MapCharacters();
  g.MapFinals();
  if (g.errors) return 1;
  const std::vector<uint8_t> bytes = g.builder.Encode();
  std::ofstream out(argv[7], std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "lomigen: cannot write %s\n", argv[7]);
    return 1;
  }
  std::printf("lomigen: %zu bytes\n", bytes.size());
  return 0;
}

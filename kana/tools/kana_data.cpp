#include "kana_data.h"

#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "kana_key_table.h"
#include "kana_rules.h"
#include "kana_tables.h"
#include "ks_gm.h"

namespace kana::data {

namespace {

using codeconv::CodePageConverter;

constexpr uint16_t kNone = 0x8140;  // KS-JIS: no Shift-JIS form

std::string KsBytes(int row, int cell) { return {static_cast<char>(0xA0 + row), static_cast<char>(0xA0 + cell)}; }

// The one UTF-16 unit of a KS cell; 0 when the cell is unassigned.
char16_t KsCharacter(const CodePageConverter& pages, int row, int cell) {
  const std::u16string u = pages.ToUtf16(949, KsBytes(row, cell));
  return u.size() == 1 ? u[0] : 0;
}

char16_t ParseCodePoint(const std::string& hex) {
  const unsigned long v = std::stoul(hex, nullptr, 16);
  return v <= 0xFFFF ? static_cast<char16_t>(v) : 0;  // the tables need the BMP only
}

// The double-byte code page 932 code of a character that converts there and back.
uint16_t Cp932Pair(const CodePageConverter& pages, char16_t c) {
  const std::u16string u(1, c);
  const std::string sj = pages.FromUtf16(932, u);
  if (sj.size() != 2 || pages.ToUtf16(932, sj) != u) return 0;
  return static_cast<uint16_t>(static_cast<uint8_t>(sj[0]) << 8 | static_cast<uint8_t>(sj[1]));
}

void Pad(std::vector<uint8_t>& out, const std::string& text, size_t width, const char* what) {
  if (text.size() > width) throw std::runtime_error(std::string(what) + ": a reading is longer than its field");
  out.insert(out.end(), text.begin(), text.end());
  out.insert(out.end(), width - text.size(), ' ');
}

void CrLf(std::vector<uint8_t>& out) {
  out.push_back('\r');
  out.push_back('\n');
}

void PutPair(std::vector<uint8_t>& out, uint16_t c) {
  out.push_back(static_cast<uint8_t>(c >> 8));
  out.push_back(static_cast<uint8_t>(c & 0xFF));
}

// Letters of a compatibility jamo through its conjoining jamo.
std::string JamoLetters(char16_t conjoining) {
  if (conjoining >= 0x1100 && conjoining <= 0x1112) return kInitialLetters[conjoining - 0x1100];
  if (conjoining >= 0x1161 && conjoining <= 0x1175) return kMedialLetters[conjoining - 0x1161];
  if (conjoining >= 0x11A8 && conjoining <= 0x11C2) return kFinalLetters[conjoining - 0x11A8];
  return {};
}

}  // namespace

UnicodeDecompositions ReadUnicodeData(std::istream& in) {
  UnicodeDecompositions d;
  std::map<std::string, char16_t> conjoining;   // "CHOSEONG KIYEOK" -> U+1100, modern jamo only
  std::map<char16_t, std::string> compatNames;  // U+3131 -> "KIYEOK"
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::stringstream ss(line);
    for (std::string f; std::getline(ss, f, ';');) fields.push_back(f);
    if (fields.size() < 6) continue;
    const char16_t c = ParseCodePoint(fields[0]);
    if (c == 0) continue;
    const std::string& name = fields[1];
    const bool modernJamo =
        (c >= 0x1100 && c <= 0x1112) || (c >= 0x1161 && c <= 0x1175) || (c >= 0x11A8 && c <= 0x11C2);
    if (modernJamo && name.rfind("HANGUL ", 0) == 0) conjoining[name.substr(7)] = c;
    if (c >= 0x3131 && c <= 0x3163 && name.rfind("HANGUL LETTER ", 0) == 0) compatNames[c] = name.substr(14);
    if (fields[5].empty()) continue;
    std::stringstream parts(fields[5]);
    std::string tag;
    std::u16string to;
    for (std::string p; parts >> p;) {
      if (p[0] == '<') {
        tag = p;
      } else {
        to.push_back(ParseCodePoint(p));
      }
    }
    if (tag.empty()) d.canonical[c] = to;
    if (tag == "<narrow>" && to.size() == 1) d.halfWidthOf.emplace(to[0], c);
  }
  // ㄳ is the final KIYEOK-SIOS, ㄱ the initial KIYEOK, ㅏ the medial A.
  for (const auto& [c, name] : compatNames) {
    for (const char* place : {"CHOSEONG ", "JUNGSEONG ", "JONGSEONG "}) {
      const auto it = conjoining.find(place + name);
      if (it != conjoining.end()) {
        d.compatOf[c] = it->second;
        break;
      }
    }
  }
  return d;
}

JapaneseKanji ReadUnihanKanji(std::istream& in) {
  JapaneseKanji k;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("U+", 0) != 0) continue;
    std::stringstream ss(line);
    std::string code, field, value;
    if (!(ss >> code >> field >> value)) continue;
    const char16_t c = ParseCodePoint(code.substr(2));
    if (c == 0) continue;
    if (field == "kJoyoKanji") k.joyo.insert(c);
    const size_t plus = value.find(":U+");
    if (field == "kJinmeiyoKanji" && plus != std::string::npos) {
      if (const char16_t to = ParseCodePoint(value.substr(plus + 3))) k.modernForm[c] = to;
    }
  }
  return k;
}

std::vector<char16_t> KsSyllables(const CodePageConverter& pages) {
  std::vector<char16_t> out;
  for (int row = kHanJpFirstRow; row <= kHanJpLastRow; ++row) {
    for (int cell = 1; cell <= 94; ++cell) {
      const char16_t c = KsCharacter(pages, row, cell);
      if (!IsHangulSyllable(c)) throw std::runtime_error("code page 949 gives no syllable in a Hangul row");
      out.push_back(c);
    }
  }
  return out;
}

std::vector<std::string> BuildKanaKeyTable(const CodePageConverter& pages, const UnicodeDecompositions& unicode) {
  std::vector<std::string> table;
  // The jamo row: KS row 4, the 30 consonants and 21 vowels, then blanks.
  for (int cell = 1; cell <= static_cast<int>(kKanaKeyJamoCount); ++cell) {
    const char16_t c = KsCharacter(pages, 4, cell);
    const auto it = unicode.compatOf.find(c);
    table.push_back(cell <= 51 && it != unicode.compatOf.end() ? JamoLetters(it->second) : std::string());
  }
  for (char16_t s : KsSyllables(pages)) table.push_back(RomanizedSyllable(s));
  for (const std::string& s : table) {
    if (s.size() >= kKanaKeySize) throw std::runtime_error("a romanized syllable is longer than 5 letters");
  }
  return table;
}

std::string KanaKeyTableSource(const std::vector<std::string>& table) {
  std::string out = "// Generated by kanagen from the KS X 1001 syllables: do not edit.\n";
  for (const std::string& s : table) out += "\"" + s + "\",\n";
  return out;
}

std::vector<uint8_t> BuildHanJp(const CodePageConverter& pages) {
  std::vector<uint8_t> out;
  for (int row = kHanJpFirstRow; row <= kHanJpLastRow; ++row) {
    char label[8];
    std::snprintf(label, sizeof label, "%02dKU", row);
    out.insert(out.end(), label, label + 4);
    CrLf(out);
    for (int cell = 0; cell < 96; ++cell) {
      const bool filler = cell == 0 || cell == 95;
      Pad(out, filler ? "??" : SyllableKanaSjis(KsCharacter(pages, row, cell)), kHanJpCellSize, "HAN-JP");
      if (cell % 16 == 15) CrLf(out);
    }
  }
  return out;
}

std::vector<uint8_t> BuildHan2Jp() { return std::vector<uint8_t>(kKanaTableInfo[kHan2Jp].size, ' '); }

std::vector<uint8_t> BuildFsHanJp() {
  std::vector<uint8_t> out;
  for (int initial = 0; initial < kInitialCount; ++initial) {
    for (int medial = 0; medial < kMedialCount; ++medial) {
      Pad(out, KatakanaToShiftJis(InitialMedialKana(initial, medial)), kFsHanJpCellSize, "FSHAN-JP");
    }
    CrLf(out);
  }
  return out;
}

std::vector<uint8_t> BuildLHanJp() {
  std::vector<uint8_t> out;
  for (int slot = 0; slot < kFinalSlots; ++slot) {
    Pad(out, KatakanaToShiftJis(FinalKana(slot)), kLHanJpEntrySize, "LHAN-JP");
  }
  return out;
}

std::vector<uint8_t> BuildKsJis(const CodePageConverter& pages, const UnicodeDecompositions& unicode,
                                const JapaneseKanji& kanji) {
  std::vector<uint8_t> out;
  for (int row = 1; row <= 94; ++row) {
    for (int cell = 1; cell <= 94; ++cell) {
      char16_t c = KsCharacter(pages, row, cell);
      uint16_t same = c ? Cp932Pair(pages, c) : 0;
      // A compatibility ideograph (a KS duplicate kept for another reading)
      // is the character it stands for.
      const auto canonical = unicode.canonical.find(c);
      if (canonical != unicode.canonical.end() && canonical->second.size() == 1) {
        c = canonical->second[0];
        if (same == 0) same = Cp932Pair(pages, c);
      }
      uint16_t modern = 0;
      const auto form = kanji.modernForm.find(c);
      if (form != kanji.modernForm.end() && kanji.joyo.count(form->second) != 0) {
        modern = Cp932Pair(pages, form->second);
      }
      if (modern == same) modern = 0;
      PutPair(out, same ? same : kNone);
      PutPair(out, modern ? modern : kNone);
    }
  }
  return out;
}

std::vector<uint8_t> BuildKnTran(const CodePageConverter& pages, const UnicodeDecompositions& unicode) {
  std::vector<uint8_t> out;
  for (unsigned code = kKnTranFirst; code <= kKnTranLast; ++code) {
    std::string half;
    const std::u16string full = pages.ToUtf16(932, {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)});
    if (full.size() == 1) {
      // A voiced kana is its plain kana and the voiced mark, each narrowed.
      const auto canonical = unicode.canonical.find(full[0]);
      const std::u16string parts = canonical != unicode.canonical.end() ? canonical->second : full;
      std::u16string narrow;
      for (char16_t p : parts) {
        const auto it = unicode.halfWidthOf.find(p);
        if (it != unicode.halfWidthOf.end()) narrow.push_back(it->second);
      }
      if (narrow.size() == parts.size()) half = pages.FromUtf16(932, narrow);
      if (half.size() != narrow.size()) half.clear();
    }
    Pad(out, half.empty() ? "~" : half, 2, "KNTRAN");
  }
  return out;
}

}  // namespace kana::data

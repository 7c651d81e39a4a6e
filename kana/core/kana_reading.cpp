#include "kana_reading.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

#include "code_page.h"
#include "ime_code.h"
#include "kana_key_table.h"
#include "kana_rules.h"
#include "pair_walk.h"

namespace kana {

namespace {

using codeconv::DbChar;
using codeconv::MakeDb;

constexpr DbChar kFirstSyllableCode = 0x889F;
constexpr DbChar kLastSyllableCode = 0x94FC;
constexpr DbChar kFullWidthBlank = 0x8140;
constexpr DbChar kKatakanaZu = 0x8359;  // ズ
constexpr DbChar kKatakanaJi = 0x8357;  // ジ
constexpr DbChar kKatakanaDu = 0x8364;  // ヅ

// Lead bytes of the walk: the Shift-JIS ranges, up to 0xFF.
bool IsWalkLead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || b >= 0xE0; }

uint8_t Byte(std::string_view s, size_t i) { return static_cast<uint8_t>(s[i]); }

std::string PairText(DbChar c) { return {static_cast<char>(codeconv::Lead(c)), static_cast<char>(codeconv::Trail(c))}; }

// A table field cut at its first blank (or NUL).
std::string CutAtBlank(std::span<const uint8_t> field) {
  const auto end = std::find_if(field.begin(), field.end(), [](uint8_t b) { return b == ' ' || b == 0; });
  return std::string(field.begin(), end);
}

bool IsRomanized(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

bool IsVowelLetter(char c) { return std::strchr("aeioruy", c) != nullptr && c != '\0'; }

// A double-byte katakana (0x8340-0x8396) or hiragana (0x829F-0x82F1).
bool IsDoubleByteKana(DbChar c) {
  const unsigned lead = codeconv::Lead(c);
  const unsigned trail = codeconv::Trail(c);
  if (lead == 0x83) return trail >= 0x40 && trail <= 0x96 && trail != 0x7F;
  if (lead == 0x82) return trail >= 0x9F && trail <= 0xF1;
  return false;
}

bool StartsWithKana(const std::string& reading) {
  return reading.size() >= 2 && IsDoubleByteKana(MakeDb(Byte(reading, 0), Byte(reading, 1)));
}

// Replaces the first kana of a reading that starts with one.
void SetFirstKana(std::string& reading, DbChar kana) {
  reading[0] = static_cast<char>(codeconv::Lead(kana));
  reading[1] = static_cast<char>(codeconv::Trail(kana));
}

bool StartsVoiced(std::string_view syllable) {
  return !syllable.empty() && std::strchr("djkv", syllable[0]) != nullptr;
}

// Blanks and the punctuation after which a word starts again. Tabs and line
// ends separate words as a blank does.
bool IsWordBreakByte(uint8_t b) { return b != 0 && std::strchr(" !\"(),.:;<>?[]{}\t\r\n", b) != nullptr; }

// The LHAN-JP entry of a composed syllable's last letter.
int FinalSlotOfLastLetter(std::string_view s) {
  const char last = s.back();
  const char before = s[s.size() - 2];
  switch (last) {
    case 'c': return 22;
    case 'd': return 6;
    case 'f': return 20;
    case 'g': return 1;
    case 'h': return before == 'n' ? 5 : 26;
    case 'j': return before == 'n' ? 4 : 21;
    case 'k': return before == 'l' ? 8 : 0;
    case 'l': return 7;
    case 'm': return before == 'l' ? 9 : 15;
    case 'n': return 3;
    case 'p': return before == 'l' ? 13 : 25;
    case 'q': return 19;
    case 's': return 18;
    case 't': return before == 'l' ? 12 : 24;
    case 'v': return before == 'l' ? 10 : 16;
    case 'x': return 23;
    default: return kNoFinal;
  }
}

// ---- sound rules ----

struct Junction {
  std::string& previous;
  std::string& next;
  char final() const { return previous.back(); }
  char beforeFinal() const { return previous[previous.size() - 2]; }
  char initial() const { return next[0]; }
  bool palatal() const { return next[1] == 'i' || next[1] == 'y'; }
  void drop() { previous.pop_back(); }
  void setFinal(char c) { previous.back() = c; }
  void setInitial(char c) { next[0] = c; }
  // The before-final becomes c and the final goes (a double final read as one).
  void foldFinal(char c) {
    previous[previous.size() - 2] = c;
    previous.pop_back();
  }
  // Final ㅎ: after ㄴ or ㄹ that letter moves to the next syllable and both go.
  void dropH() {
    if (beforeFinal() == 'n' || beforeFinal() == 'l') {
      setInitial(beforeFinal());
      previous.resize(previous.size() - 2);
    } else {
      drop();
    }
  }
};

// Next syllable starts with a vowel (initial ㅇ): the final moves over.
void BeforeVowel(Junction& j) {
  const char fin = j.final();
  if (fin < 'b' || fin > 'z') return;
  switch (fin) {
    case 'd': j.setInitial(j.palatal() ? 'j' : 'd'); j.drop(); return;
    case 't': j.setInitial(j.palatal() ? 'c' : 't'); j.drop(); return;
    case 'h': j.dropH(); return;
    case 'n': {
      const bool keep = j.next == "fyo";
      j.setInitial('n');
      if (!keep) j.drop();
      return;
    }
    case 'e': case 'f': case 'i': case 'o': case 'r': case 'u': case 'y': return;
    default: j.setInitial(fin); j.drop(); return;
  }
}

// Next syllable starts with ㅎ: aspiration and the weak ㅎ.
void BeforeH(Junction& j) {
  const char fin = j.final();
  switch (fin) {
    case 'c': case 'd': case 'j': case 's': case 't': j.setInitial(j.palatal() ? 'c' : 't'); j.drop(); return;
    case 'g': case 'l': case 'm': case 'n': case 'p': case 'q': case 'x': j.setInitial(fin); j.drop(); return;
    case 'h': j.dropH(); return;
    case 'k': j.setInitial('x'); j.drop(); return;
    case 'v': j.setInitial('p'); j.drop(); return;
    default: return;
  }
}

// A stop final before ㄴ, ㅁ or ㄹ turns nasal: ㄱ ㄺ ㄳ become ㅇ, ㅂ ㄼ ㅄ become
// ㅁ, ㅅ becomes ㄴ. False for other finals.
bool NasalizeStop(Junction& j) {
  const bool afterL = j.beforeFinal() == 'l';
  switch (j.final()) {
    case 'k': afterL ? j.foldFinal('f') : j.setFinal('f'); return true;
    case 'p': case 'v': afterL ? j.foldFinal('m') : j.setFinal('m'); return true;
    case 's':
      if (j.beforeFinal() == 'k') {
        j.foldFinal('f');
      } else if (j.beforeFinal() == 'v') {
        j.foldFinal('m');
      } else {
        j.setFinal('n');
      }
      return true;
    default: return false;
  }
}

// Next syllable starts with ㄹ after a final other than ㅎ, ㅌ, ㄹ.
void BeforeL(Junction& j) {
  switch (j.final()) {
    case 'g': case 'x': j.setFinal('f'); return;
    case 'f': case 'm': j.setInitial('n'); return;
    case 'n': j.setFinal('l'); return;
    case 'c': case 'd': case 'h': case 'j': case 'q': case 't':
      j.setFinal('n');
      j.setInitial('n');
      return;
    default:
      if (NasalizeStop(j)) j.setInitial('n');
      return;
  }
}

// Next syllable starts with ㅁ or ㄴ after a final other than ㅎ, ㅌ, ㄹ: nasal assimilation.
void BeforeNasal(Junction& j) {
  switch (j.final()) {
    case 'c': case 'd': case 'j': case 'q': j.setFinal('n'); return;
    case 'g': case 'x': j.setFinal('f'); return;
    default: NasalizeStop(j); return;
  }
}

bool IsKGroup(char c) { return c == 'k' || c == 'g' || c == 'x'; }
bool IsVGroup(char c) { return c == 'v' || c == 'b' || c == 'p'; }

void BeforeConsonant(Junction& j) {
  const char fin = j.final();
  const char ini = j.initial();
  const bool afterL = j.beforeFinal() == 'l';
  if (fin == 'h' || fin == 't') {
    if ((ini == 'n' || ini == 'm') && !afterL) j.setFinal('n');
    else if (ini == 'n' && afterL) j.setInitial('l');
    return;
  }
  if (fin == 'l') {
    if (ini == 'n') j.setInitial('l');
    else if (ini == 'j') j.setInitial('z');
    return;
  }
  if (ini == 'k' && fin == 'k' && afterL) {
    j.drop();
    j.setInitial('g');
    return;
  }
  if (ini == 'l') return BeforeL(j);
  if (ini == 'm' || ini == 'n') return BeforeNasal(j);
  // A stop before a stop of the same place is held: read as a small ッ.
  if (!afterL && ((IsKGroup(ini) && IsKGroup(fin)) || (IsVGroup(ini) && IsVGroup(fin)))) j.setFinal('s');
}

// The syllables of code page 949 beyond KS X 1001 (똠, 햏, 뷁 ...): pairs whose
// lead or trail lies below 0xA1. Each is read by its jamo like any other
// syllable, so the walk takes its romanized string; the pair has no GM code.
struct ExtendedSyllable {
  size_t offset;      // of its lead byte in the text
  std::string roman;  // its romanized string
};

std::vector<ExtendedSyllable> ExtendedSyllables(std::string_view ks) {
  std::vector<ExtendedSyllable> found;
  for (size_t i = 0; i + 1 < ks.size(); ++i) {
    const uint8_t lead = Byte(ks, i), trail = Byte(ks, i + 1);
    if (!codeconv::IsHighBitByte(lead)) continue;
    if (lead < 0xA1 || trail < 0xA1) {
      const std::u16string u = codeconv::PlatformCodePages().ToUtf16(949, std::string(ks.substr(i, 2)));
      if (u.size() == 1 && IsHangulSyllable(u[0])) found.push_back({i, RomanizedSyllable(u[0])});
    }
    ++i;  // the pair's trail byte
  }
  return found;
}

}  // namespace

std::string ReadCharKana(const CKanaTables& tables, int kanjiForm, DbChar code) {
  const DbChar gm95 = codeconv::ConvertGmVariant(&tables.GmTables(), codeconv::kFromGmV3, code);
  DbChar ks = 0;
  codeconv::RowCell rc;
  if (!codeconv::SjisToEuc(gm95, ks) || !codeconv::DecodeEucShape(ks, rc)) return PairText(code);
  const int row = rc.row;
  const int cell = rc.column + 1;
  if (row < 1 || row > 94 || cell < 1 || cell > 94) return PairText(code);
  if (row >= kHanJpFirstRow && row <= kHanJpLastRow) {
    if (!tables.Present(kHanJp)) return PairText(code);
    return CutAtBlank(tables.Table(kHanJp).subspan(HanJpCellOffset(row, cell), kHanJpCellSize));
  }
  if (!tables.Present(kKsJis)) return PairText(code);
  const uint8_t* e = tables.Table(kKsJis).data() + kKsJisEntrySize * static_cast<size_t>((row - 1) * 94 + cell - 1);
  const DbChar same = MakeDb(e[0], e[1]);
  const DbChar modern = MakeDb(e[2], e[3]);
  return PairText(kanjiForm == kModernKanji && modern != kFullWidthBlank ? modern : same);
}

std::string ReadSyllable(const CKanaTables& tables, int kanjiForm, std::string_view character) {
  if (character.size() < 2) return std::string(character);
  const DbChar code = MakeDb(Byte(character, 0), Byte(character, 1));
  if (code < kFirstSyllableCode) return std::string(character);
  if (code <= kLastSyllableCode) {
    std::string roman = GetRomanization(code);
    if (!roman.empty()) return roman;
  }
  return ReadCharKana(tables, kanjiForm, code);
}

std::optional<std::string> ComposeSyllableKana(const CKanaTables& tables, std::string_view s) {
  if (s.size() < 2 || !tables.Present(kFsHanJp) || !tables.Present(kLHanJp)) return std::nullopt;
  const auto* initial = std::find_if(std::begin(kInitialLetters), std::end(kInitialLetters),
                                     [&](const char* l) { return l[0] == s[0]; });
  if (initial == std::end(kInitialLetters)) return std::nullopt;
  size_t vowelEnd = 1;
  while (vowelEnd < s.size() && IsVowelLetter(s[vowelEnd])) ++vowelEnd;
  const std::string_view vowel = s.substr(1, vowelEnd - 1);
  const auto* medial = std::find_if(std::begin(kMedialLetters), std::end(kMedialLetters),
                                    [&](const char* l) { return vowel == l; });
  if (medial == std::end(kMedialLetters)) return std::nullopt;
  const size_t row = static_cast<size_t>(initial - std::begin(kInitialLetters));
  const size_t column = static_cast<size_t>(medial - std::begin(kMedialLetters));
  const size_t finalSlot = static_cast<size_t>(FinalSlotOfLastLetter(s));
  return CutAtBlank(tables.Table(kFsHanJp).subspan(kFsHanJpRowSize * row + kFsHanJpCellSize * column,
                                                    kFsHanJpCellSize)) +
         CutAtBlank(tables.Table(kLHanJp).subspan(kLHanJpEntrySize * finalSlot, kLHanJpEntrySize));
}

void ApplySoundRule(std::string& previous, std::string& next) {
  if (previous.size() < 3 || next.size() < 2 || !IsRomanized(previous) || !IsRomanized(next)) return;
  Junction j{previous, next};
  switch (j.initial()) {
    case 'f': return BeforeVowel(j);
    case 'h': return BeforeH(j);
    default: return BeforeConsonant(j);
  }
}

void AdjustVoicing(std::string_view syllable, std::string& reading) {
  if (syllable.empty() || !StartsWithKana(reading)) return;
  int step = 0;
  if (syllable[0] == 'd' || syllable[0] == 'j' || syllable[0] == 'k') step = -1;
  if (syllable[0] == 'v') step = 1;
  if (step == 0) return;
  const DbChar adjusted = static_cast<DbChar>(MakeDb(Byte(reading, 0), Byte(reading, 1)) + step);
  if (IsDoubleByteKana(adjusted)) SetFirstKana(reading, adjusted);
}

void ApplyVoicing(std::string_view before, std::string_view syllable, std::string& reading) {
  if (before.empty() || IsWordBreakByte(Byte(before, 0))) return AdjustVoicing(syllable, reading);
  if (before.size() == 2) {
    const DbChar c = MakeDb(Byte(before, 0), Byte(before, 1));
    if (c >= 0x8163 && c <= 0x817A) return AdjustVoicing(syllable, reading);
    if (c >= 0x8140 && c <= 0x8149 && c != 0x8145 && c != 0x8148) return AdjustVoicing(syllable, reading);
  }
  if (before.size() < 2 || !IsRomanized(before) || !StartsVoiced(syllable)) return;
  if (std::strchr("aefilmnoru", before.back()) == nullptr) return AdjustVoicing(syllable, reading);
  if (syllable[0] == 'j' && StartsWithKana(reading)) {
    const bool du = MakeDb(Byte(reading, 0), Byte(reading, 1)) == kKatakanaDu;
    SetFirstKana(reading, du ? kKatakanaZu : kKatakanaJi);
  }
}

std::string HalfWidthText(const CKanaTables& tables, std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  const std::span<const uint8_t> kntran = tables.Table(kKnTran);
  for (size_t i = 0; i < text.size();) {
    if (!IsWalkLead(Byte(text, i))) {
      out.push_back(text[i++]);
      continue;
    }
    if (i + 1 == text.size()) {
      out.push_back(' ');
      break;
    }
    const DbChar c = MakeDb(Byte(text, i), Byte(text, i + 1));
    std::string half;
    if (!kntran.empty() && c >= kKnTranFirst && c <= kKnTranLast) {
      half = CutAtBlank(kntran.subspan(2 * static_cast<size_t>(c - kKnTranFirst), 2));
    }
    // "~" marks a katakana without a half-width form: it stays full-width.
    if (half.empty() || half == "~") {
      out.append(text.substr(i, 2));
    } else {
      out += half;
    }
    i += 2;
  }
  return out;
}

std::string HangulToKana(const CKanaTables& tables, int kanjiForm, std::string_view text, bool inputIsKS,
                         bool keepFullWidth) {
  std::string_view gm = text;
  std::string ksCopy;
  std::vector<ExtendedSyllable> extended;
  if (inputIsKS) {
    extended = ExtendedSyllables(text);
    // A private copy converted by KS pairs, by length: a lone lead byte at
    // the end stays alone.
    ksCopy = text;
    auto* bytes = reinterpret_cast<uint8_t*>(ksCopy.data());
    codeconv::ConvertPairs(bytes, bytes, ksCopy.size(), codeconv::IsHighBitByte, [&](DbChar pair) {
      DbChar gm95 = pair;
      codeconv::EucToSjis(pair, gm95);
      return codeconv::ConvertGmVariant(&tables.GmTables(), codeconv::kToGmV3, gm95);
    });
    gm = ksCopy;
  }
  std::string out;
  if (gm.empty()) return out;
  out.reserve(gm.size() * 2);

  // Each character's string in a ring of three: the one before, the one
  // being output and its follower, which the sound rules may rewrite.
  std::array<std::string, 3> ring;
  auto output = [&](size_t p, bool hasFollower) {
    std::string& current = ring[p % 3];
    std::string scratch;
    std::string& next = hasFollower ? ring[(p + 1) % 3] : scratch;
    ApplySoundRule(current, next);
    std::string reading;
    bool voiced = false;
    if (const std::optional<DbChar> code = FindRomanization(current)) {
      reading = ReadCharKana(tables, kanjiForm, *code);
      voiced = true;
    } else if (current.size() >= 3 && IsRomanized(current)) {
      std::optional<std::string> composed = ComposeSyllableKana(tables, current);
      voiced = composed.has_value();
      reading = composed ? std::move(*composed) : current;
    } else {
      reading = current;
    }
    if (voiced) {
      if (p == 0) {
        AdjustVoicing(current, reading);
      } else {
        ApplyVoicing(ring[(p - 1) % 3], current, reading);
      }
    }
    out += reading;
  };

  size_t count = 0;
  size_t nextExtended = 0;  // the first of the extended syllables not yet read
  for (size_t i = 0; i < gm.size(); ++count) {
    while (nextExtended < extended.size() && extended[nextExtended].offset < i) ++nextExtended;
    const ExtendedSyllable* at = nextExtended < extended.size() ? &extended[nextExtended] : nullptr;
    if (at && at->offset == i) {
      ring[count % 3] = at->roman;
      i += 2;
    } else {
      std::string_view character;
      // A pair never runs into an extended syllable's lead byte.
      if (IsWalkLead(Byte(gm, i)) && !(at && at->offset == i + 1)) {
        character = i + 1 < gm.size() ? gm.substr(i, 2) : std::string_view(" ");
        i += i + 1 < gm.size() ? 2 : 1;
      } else {
        character = gm.substr(i, 1);
        i += 1;
      }
      ring[count % 3] = ReadSyllable(tables, kanjiForm, character);
    }
    if (count >= 1) output(count - 1, true);
  }
  output(count - 1, false);
  return keepFullWidth ? out : HalfWidthText(tables, out);
}

int KnChange(const CKanaTables& tables, int kanjiForm, const char* const* text, char* out, int inputIsKS,
             int keepFullWidth) {
  if (text == nullptr || *text == nullptr || **text == '\0') return 0;
  try {
    const std::string reading = HangulToKana(tables, kanjiForm, *text, inputIsKS == 1, keepFullWidth != 0);
    if (reading.size() > static_cast<size_t>(INT_MAX)) return 0;
    if (out != nullptr) {
      std::memcpy(out, reading.data(), reading.size());
      out[reading.size()] = '\0';
    }
    return static_cast<int>(reading.size());
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

}  // namespace kana

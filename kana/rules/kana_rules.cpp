#include "kana_rules.h"

namespace kana {

namespace {

// The kana row of an initial consonant: the five vowel columns, the column
// read for ㅡ, and where they differ from the i and u columns, the kana that
// the y-vowels and the w-vowels start from.
struct InitialRow {
  const char16_t* a;
  const char16_t* i;
  const char16_t* u;
  const char16_t* e;
  const char16_t* o;
  const char16_t* eu;              // ㅡ
  const char16_t* yBase = nullptr;  // before ャ ュ ョ ェ; default the i column
  const char16_t* wBase = nullptr;  // before ァ ィ ェ ォ; default the u column
  bool ownGlides = false;           // ㅇ: ヤ ユ ヨ and ワ stand alone
};

// Initials in the standard order.
const InitialRow kRows[kInitialCount] = {
    {u"ガ", u"ギ", u"グ", u"ゲ", u"ゴ", u"グ"},                        // ㄱ
    {u"カ", u"キ", u"ク", u"ケ", u"コ", u"ク"},                        // ㄲ
    {u"ナ", u"ニ", u"ヌ", u"ネ", u"ノ", u"ヌ"},                        // ㄴ
    {u"ダ", u"ディ", u"ドゥ", u"デ", u"ド", u"ドゥ", u"デ", u"ド"},    // ㄷ
    {u"タ", u"ティ", u"トゥ", u"テ", u"ト", u"トゥ", u"テ", u"ト"},    // ㄸ
    {u"ラ", u"リ", u"ル", u"レ", u"ロ", u"ル"},                        // ㄹ
    {u"マ", u"ミ", u"ム", u"メ", u"モ", u"ム"},                        // ㅁ
    {u"バ", u"ビ", u"ブ", u"ベ", u"ボ", u"ブ"},                        // ㅂ
    {u"パ", u"ピ", u"プ", u"ペ", u"ポ", u"プ"},                        // ㅃ
    {u"サ", u"シ", u"ス", u"セ", u"ソ", u"ス"},                        // ㅅ
    {u"サ", u"シ", u"ス", u"セ", u"ソ", u"ス"},                        // ㅆ
    {u"ア", u"イ", u"ウ", u"エ", u"オ", u"ウ", nullptr, nullptr, true},  // ㅇ
    {u"ヂャ", u"ヂ", u"ヂュ", u"ヂェ", u"ヂョ", u"ヅ"},                // ㅈ
    {u"チャ", u"チ", u"チュ", u"チェ", u"チョ", u"ツ"},                // ㅉ
    {u"チャ", u"チ", u"チュ", u"チェ", u"チョ", u"ツ"},                // ㅊ
    {u"カ", u"キ", u"ク", u"ケ", u"コ", u"ク"},                        // ㅋ
    {u"タ", u"ティ", u"トゥ", u"テ", u"ト", u"トゥ", u"テ", u"ト"},    // ㅌ
    {u"パ", u"ピ", u"プ", u"ペ", u"ポ", u"プ"},                        // ㅍ
    {u"ハ", u"ヒ", u"フ", u"ヘ", u"ホ", u"フ"},                        // ㅎ
};

// How a vowel reads on a row: one of its columns, or a glide (the y or w
// base followed by a small kana), or the ㅡ column followed by ィ (ㅢ).
enum class Column { A, I, U, E, O, Eu, Y, W, EuI };
struct Vowel {
  Column column;
  const char16_t* small = u"";  // after a glide base
  const char16_t* own = u"";    // the glide on its own (after ㅇ), when it has one
};

// Medials in the standard order.
const Vowel kVowels[kMedialCount] = {
    {Column::A},               // ㅏ
    {Column::E},               // ㅐ
    {Column::Y, u"ャ", u"ヤ"},  // ㅑ
    {Column::Y, u"ェ"},         // ㅒ
    {Column::O},               // ㅓ
    {Column::E},               // ㅔ
    {Column::Y, u"ョ", u"ヨ"},  // ㅕ
    {Column::Y, u"ェ"},         // ㅖ
    {Column::O},               // ㅗ
    {Column::W, u"ァ", u"ワ"},  // ㅘ
    {Column::W, u"ェ"},         // ㅙ
    {Column::W, u"ェ"},         // ㅚ
    {Column::Y, u"ョ", u"ヨ"},  // ㅛ
    {Column::U},               // ㅜ
    {Column::W, u"ォ"},         // ㅝ
    {Column::W, u"ェ"},         // ㅞ
    {Column::W, u"ィ"},         // ㅟ
    {Column::Y, u"ュ", u"ユ"},  // ㅠ
    {Column::Eu},              // ㅡ
    {Column::EuI},             // ㅢ
    {Column::I},               // ㅣ
};

// Finals by the sound a Japanese reader hears: k ク, n and ng ン, t ッ, l ル,
// m ム, p プ.
const char16_t* const kFinals[kFinalSlots] = {
    u"ク", u"ク", u"ク", u"ン", u"ン", u"ン", u"ッ", u"ル", u"ク", u"ム",  // ㄱ ㄲ ㄳ ㄴ ㄵ ㄶ ㄷ ㄹ ㄺ ㄻ
    u"ル", u"ル", u"ル", u"プ", u"ル", u"ム", u"プ", u"プ", u"ッ", u"ッ",  // ㄼ ㄽ ㄾ ㄿ ㅀ ㅁ ㅂ ㅄ ㅅ ㅆ
    u"ン", u"ッ", u"ッ", u"ク", u"ッ", u"プ", u"ッ", u"",                  // ㅇ ㅈ ㅊ ㅋ ㅌ ㅍ ㅎ, none
};

constexpr char16_t kFirstSyllable = 0xAC00;
constexpr char16_t kLastSyllable = 0xD7A3;

}  // namespace

const char* const kInitialLetters[kInitialCount] = {"k", "g", "n", "d", "w", "l", "m", "v", "b", "s",
                                                    "q", "f", "j", "z", "c", "x", "t", "p", "h"};
const char* const kMedialLetters[kMedialCount] = {"a", "ai", "ya", "yai", "r",  "ri", "yr", "yri", "o", "oa", "oai",
                                                  "oi", "yo", "u", "ur", "uri", "ui", "yu", "e", "ei", "i"};
const char* const kFinalLetters[kFinalSlots] = {"k",  "g",  "ks", "n",  "nj", "nh", "d", "l", "lk", "lm",
                                                "lv", "ls", "lt", "lp", "lh", "m",  "v", "vs", "s", "q",
                                                "f",  "j",  "c",  "x",  "t",  "p",  "h", ""};

bool IsHangulSyllable(char16_t c) { return c >= kFirstSyllable && c <= kLastSyllable; }

SyllableJamo Decompose(char16_t syllable) {
  const int s = syllable - kFirstSyllable;
  const int trailing = s % 28;
  return {s / 588, s / 28 % 21, trailing == 0 ? kNoFinal : trailing - 1};
}

std::u16string InitialMedialKana(int initial, int medial) {
  if (initial < 0 || initial >= kInitialCount || medial < 0 || medial >= kMedialCount) return {};
  const InitialRow& row = kRows[initial];
  const Vowel& v = kVowels[medial];
  switch (v.column) {
    case Column::A: return row.a;
    case Column::I: return row.i;
    case Column::U: return row.u;
    case Column::E: return row.e;
    case Column::O: return row.o;
    case Column::Eu: return row.eu;
    case Column::EuI: return std::u16string(row.eu) + u"ィ";
    case Column::Y:
      if (row.ownGlides && *v.own) return v.own;
      return std::u16string(row.yBase ? row.yBase : row.i) + v.small;
    case Column::W:
      if (row.ownGlides && *v.own) return v.own;
      return std::u16string(row.wBase ? row.wBase : row.u) + v.small;
  }
  return {};
}

std::u16string FinalKana(int finalSlot) {
  if (finalSlot < 0 || finalSlot >= kFinalSlots) return {};
  return kFinals[finalSlot];
}

std::u16string SyllableKana(char16_t syllable) {
  if (!IsHangulSyllable(syllable)) return {};
  const SyllableJamo j = Decompose(syllable);
  return InitialMedialKana(j.initial, j.medial) + FinalKana(j.final);
}

std::string KatakanaToShiftJis(std::u16string_view katakana) {
  std::string out;
  for (char16_t c : katakana) {
    unsigned trail;
    if (c >= 0x30A1 && c <= 0x30F6) {
      trail = 0x40 + (c - 0x30A1);
      if (trail >= 0x7F) ++trail;  // 0x837F is no character
    } else if (c == 0x30FC) {
      out += "\x81\x5B";
      continue;
    } else {
      continue;
    }
    out.push_back('\x83');
    out.push_back(static_cast<char>(trail));
  }
  return out;
}

std::string SyllableKanaSjis(char16_t syllable) { return KatakanaToShiftJis(SyllableKana(syllable)); }

std::string RomanizedSyllable(char16_t syllable) {
  if (!IsHangulSyllable(syllable)) return {};
  const SyllableJamo j = Decompose(syllable);
  return std::string(kInitialLetters[j.initial]) + kMedialLetters[j.medial] + kFinalLetters[j.final];
}

}  // namespace kana

// The katakana reading of Hangul, as a Japanese reader says it: one rule
// table for the initial consonants, the vowels and the finals. The reading
// tables of the kana-reading library are generated from it, and so is every
// other table of the suite that gives a syllable's kana reading, so that
// they all agree.
//
// Readings are the table form: ㄱ, ㄷ and ㅈ read with voiced kana (가 ガ,
// 다 ダ, 자 ヂャ, 즈 ヅ) and ㅂ with the バ row; the reading library makes the
// plain form at the start of a word.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace kana {

inline constexpr int kInitialCount = 19;  // ㄱ ㄲ ㄴ ㄷ ㄸ ㄹ ㅁ ㅂ ㅃ ㅅ ㅆ ㅇ ㅈ ㅉ ㅊ ㅋ ㅌ ㅍ ㅎ
inline constexpr int kMedialCount = 21;  // ㅏ ㅐ ㅑ ㅒ ㅓ ㅔ ㅕ ㅖ ㅗ ㅘ ㅙ ㅚ ㅛ ㅜ ㅝ ㅞ ㅟ ㅠ ㅡ ㅢ ㅣ
// Finals in the standard order ㄱ ㄲ ㄳ ㄴ ㄵ ㄶ ㄷ ㄹ ㄺ ㄻ ㄼ ㄽ ㄾ ㄿ ㅀ ㅁ ㅂ ㅄ
// ㅅ ㅆ ㅇ ㅈ ㅊ ㅋ ㅌ ㅍ ㅎ, then slot 27 for no final.
inline constexpr int kFinalSlots = 28;
inline constexpr int kNoFinal = 27;

// Jamo of a precomposed syllable U+AC00-U+D7A3; final is a slot (27: none).
struct SyllableJamo {
  int initial = 0;
  int medial = 0;
  int final = kNoFinal;
};
bool IsHangulSyllable(char16_t c);
SyllableJamo Decompose(char16_t syllable);  // c must be a Hangul syllable

// Readings in UTF-16 katakana.
std::u16string InitialMedialKana(int initial, int medial);
std::u16string FinalKana(int finalSlot);  // empty for slot 27
// Initial and medial followed by the final; empty for a character that is no
// Hangul syllable.
std::u16string SyllableKana(char16_t syllable);

// Katakana (U+30A1-U+30F6, and ー) to Shift-JIS; other characters are left out.
std::string KatakanaToShiftJis(std::u16string_view katakana);
// The same readings in Shift-JIS (code page 932).
std::string SyllableKanaSjis(char16_t syllable);

// Letters of the romanized form of a syllable, one per jamo: the initial, the
// vowel letters and the final letters ("f" for ㅇ in both places).
extern const char* const kInitialLetters[kInitialCount];
extern const char* const kMedialLetters[kMedialCount];
extern const char* const kFinalLetters[kFinalSlots];  // slot 27: ""
std::string RomanizedSyllable(char16_t syllable);     // empty for no syllable

}  // namespace kana

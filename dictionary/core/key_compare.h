// The orders of the dictionary's key files: one comparator per direction and
// key kind, used alike by the data builder that sorts the files and by the
// program that searches them.
#pragma once
#include <cstdint>
#include <string_view>

namespace ombrel {

// Hangul compatibility jamo U+3131-U+3163 to the first syllable of that sound.
char16_t JamoFirstSyllable(char16_t jamo);
bool IsCompatibilityJamo(char16_t c);

// Unit order, except that a lone jamo sorts just before the first syllable of
// its sound (so ㄱ < 가 < 각 < 까).
int CompareJamoWithSyllable(char16_t x, char16_t y);
// Korean forward keys.
int CompareHangulKeys(std::u16string_view a, std::u16string_view b);
// Japanese reversed keys: katakana folded to hiragana, then unit order.
int CompareKanaFolded(std::u16string_view a, std::u16string_view b);
// Japanese forward keys: width, letter case and kana type ignored, then the
// order of the characters' code page 932 codes (U+9ED1 is the last of them).
int CompareJapaneseKeys(std::u16string_view a, std::u16string_view b);
// The folded code page 932 weight of one unit for CompareJapaneseKeys.
uint16_t JapaneseSortWeight(char16_t c);
// Plain unit order (Korean reversed keys).
int CompareUnits(std::u16string_view a, std::u16string_view b);

// Chooses by a cursor's flags (bit 0 Korean, bit 2 reversed keys); the
// result's sign is what counts.
int CompareKeys(int32_t flags, std::u16string_view a, std::u16string_view b);

// The unit appended to a prefix to find the end of its range.
inline constexpr char16_t kJapaneseUpperMark = 0x9ED1;
inline constexpr char16_t kUpperMark = 0xFFFF;
inline char16_t UpperBoundMark(int32_t flags) {
  return (flags & 1) == 0 && (flags & 4) == 0 ? kJapaneseUpperMark : kUpperMark;
}

}  // namespace ombrel

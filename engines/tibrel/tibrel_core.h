// The reading table of the hanja-to-Hangul converter and the conversion
// itself, free of the window system. The table is generated at build time
// from Unihan's kHangul readings (tools/tibrelgen) and embedded in the DLL;
// this code reads it where it lies.
//
// Table layout (little-endian): "TIBR", version 1, the number of records,
// then one 8-byte record a hanja in code point order: the code point (32
// bits), its reading (a Hangul syllable, 16 bits) and its word-initial
// reading (the form the initial-sound rule gives at the start of a word,
// or 0 when it is the same).
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tibrel {

inline constexpr char kMagic[4] = {'T', 'I', 'B', 'R'};
inline constexpr uint32_t kVersion = 1;
inline constexpr std::size_t kHeaderSize = 12;
inline constexpr std::size_t kRecordSize = 8;

struct Reading {
  char32_t hanja = 0;
  char16_t reading = 0;
  char16_t initial = 0;  // 0: the reading itself
};

// The table's bytes as records; an empty table when the bytes are no table
// (wrong magic or version, a count that the bytes do not hold).
class ReadingTable {
 public:
  ReadingTable() = default;
  explicit ReadingTable(std::span<const uint8_t> bytes);
  bool Loaded() const { return count_ > 0; }
  std::size_t Size() const { return count_; }
  // The reading of a hanja; false when the table has none.
  bool Find(char32_t hanja, Reading& out) const;

 private:
  Reading At(std::size_t i) const;
  const uint8_t* records_ = nullptr;
  std::size_t count_ = 0;
};

// The table's bytes for a list of readings (sorted here).
std::vector<uint8_t> EncodeReadingTable(std::vector<Reading> readings);

// Rewrites a NUL-terminated UTF-16 text in place: each hanja of the table
// becomes its reading, the word-initial one when the hanja starts a word
// (the text's start, or after a character that is no letter: neither hanja,
// Hangul nor a Latin letter or digit). Returns
// the number of hanja replaced. The text never grows.
int ConvertInPlace(const ReadingTable& table, char16_t* text);

// The word-initial form of a syllable by the initial-sound rule (ㄹ before
// i or y becomes silent, other ㄹ becomes ㄴ; ㄴ before i or y becomes
// silent), or 0 when the rule does not change it.
char16_t InitialSoundForm(char16_t syllable);

}  // namespace tibrel

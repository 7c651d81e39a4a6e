// The translation engine's system dictionary: Japanese words (Shift-JIS)
// with their Korean translations (KS code) in priority order, the Korean
// character of each Japanese character (for the character mode), the
// Korean reading of each kanji (for a kanji the words do not cover) and the
// Hangul reading of kana. The file is generated at build time (lomigen:
// the engine's glossary, the Sino-Korean words of hanja.txt whose Japanese
// spelling EDICT knows, Unihan's variants and kHangul) and read where it
// lies, in the DLL's resources.
//
// Layout (little-endian): "LOMI", version 1, then six sections, each an
// offset from the start and a count: words (16-byte records sorted by key
// bytes, the values of one key in priority order), kana (the same records),
// characters and readings (4-byte records: Shift-JIS character, KS
// character; sorted), the final consonant of each KS Hangul syllable (one
// byte each, in KS order), and the string bytes the records point into.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lomi {

// How a word joins the text before it.
enum class TokenKind : uint8_t {
  kWord = 0,    // a blank before it, unless it starts the text or follows an opening bracket
  kAttach = 1,  // joins the word before it (particles, the copula, endings)
  kClose = 2,   // closing punctuation: joins the word before it
  kOpen = 3,    // an opening bracket: a blank before it, none after it
  kSpace = 4,   // a blank of the source: writes nothing
};

// Which of a word's two forms follows which syllable.
enum class Alternation : uint8_t {
  kNone = 0,
  kFinal = 1,   // the first form after a syllable without a final consonant, else the second
  kFinalR = 2,  // the same, a final ㄹ counting as none
};

// The part-of-speech bytes of a word (those of the user dictionaries).
struct PartOfSpeech {
  uint8_t type = 0;  // 2 verb, 3 adjective, 6 noun, 8 adverb, 10 conjunction, 11 determiner, 12 interjection
  uint8_t subtype = 0;
  uint8_t third = 0;
  bool operator==(const PartOfSpeech&) const = default;
};

// Where a word comes from.
enum WordSource : uint8_t { kFromGlossary = 0, kFromHanjaList = 1, kFromUser = 2 };

struct WordValue {
  std::string korean;      // KS code; with an alternation the form after a vowel
  std::string afterFinal;  // with an alternation: the form after a final consonant
  TokenKind kind = TokenKind::kWord;
  Alternation rule = Alternation::kNone;
  PartOfSpeech pos;
  uint8_t source = kFromGlossary;
};

struct CharRecord {
  uint16_t japanese = 0;  // Shift-JIS double-byte character (lead << 8 | trail)
  uint16_t korean = 0;    // KS double-byte character
};

class SystemDictionary {
 public:
  SystemDictionary() = default;
  // False (and empty) when the bytes are no dictionary.
  bool Load(std::span<const uint8_t> bytes);
  bool Loaded() const { return words_.count > 0; }
  std::size_t WordCount() const { return words_.count; }

  // The values of a key, in priority order (none: empty).
  std::vector<WordValue> Find(std::string_view key) const;
  // The longest key (in bytes) of the words.
  std::size_t LongestKey() const { return longest_; }
  // The kana reading of one kana syllable (one or two Shift-JIS hiragana
  // characters); false when there is none.
  bool KanaReading(std::string_view hiragana, std::string& hangul) const;
  // The KS character of a Japanese character; false when there is none.
  bool KoreanCharacter(uint16_t japanese, uint16_t& korean) const;
  // The Korean reading (one KS syllable) of a kanji; false when none.
  bool KanjiReading(uint16_t japanese, uint16_t& korean) const;
  // The final consonant (0 none, 1-27 in Hangul order, 8 is ㄹ) of a KS
  // Hangul syllable; -1 for a character that is no KS syllable.
  int FinalOf(uint16_t ksSyllable) const;

 private:
  struct Section {
    const uint8_t* records = nullptr;
    std::size_t count = 0;
  };
  std::vector<WordValue> FindIn(const Section& section, std::string_view key) const;
  static bool FindChar(const Section& section, uint16_t japanese, uint16_t& korean);
  std::string_view String(uint32_t offset, std::size_t length) const;
  WordValue ValueAt(const uint8_t* record) const;
  std::string_view KeyAt(const uint8_t* record) const;

  std::span<const uint8_t> bytes_;
  Section words_, kana_, chars_, readings_, finals_;
  const uint8_t* strings_ = nullptr;
  std::size_t stringBytes_ = 0;
  std::size_t longest_ = 0;
};

// What the generator puts into a dictionary.
class DictionaryBuilder {
 public:
  // Values of one key keep the order in which they are added.
  void AddWord(std::string key, WordValue value);
  void AddKana(std::string hiragana, std::string hangul);
  void AddCharacter(uint16_t japanese, uint16_t korean);
  void AddReading(uint16_t japanese, uint16_t korean);
  // The final consonant of each KS syllable, in KS order (B0A1 first).
  void SetFinals(std::vector<uint8_t> finals);
  std::vector<uint8_t> Encode() const;

 private:
  std::vector<std::pair<std::string, WordValue>> words_, kana_;
  std::vector<CharRecord> chars_, readings_;
  std::vector<uint8_t> finals_;
};

// Shift-JIS: a lead byte (81-9F, E0-FC) starts a double-byte character.
inline bool IsSjisLead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace lomi

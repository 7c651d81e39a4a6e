// Jamo automata: key strings to precomposed Hangul and back, for the KS 2-set,
// KS 3-set and roman arrangements. One table-driven automaton serves all three.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "feedback.h"

namespace ime {

// Key tables of one arrangement. Each table is one string of fixed-width slots
// padded with blanks; a slot's letters end at its first blank.
struct ArrangementTables {
  const char* initials;         // 19 slots, in Unicode initial order
  int initialWidth;
  const char* vowels;           // 21 slots, in Unicode vowel order
  int vowelWidth;
  const char* finals;           // 27 slots, finals 1..27
  const char* consonants;       // 30 compatibility consonants U+3131..U+314E
  const char* finalConsonants;  // 3-set only: the final-letter form, else nullptr
};
constexpr int kFinalWidth = 2;
// The most keys that type one character: an initial of 2, a vowel of 3 and a
// final of 2 letters.
constexpr int kMostKeysPerCharacter = 7;
// The room that SyllableToKeys writes into: the keys, their terminator, and
// two bytes that the indexed automata may write past it (slot letters go out
// four bytes at a time).
constexpr int kKeyBufferSize = kMostKeysPerCharacter + 3;
constexpr int kConsonantWidth = 2;

extern const ArrangementTables TwoSetKeyTables;
extern const ArrangementTables RomanKeyTables;
extern const ArrangementTables ThreeSetKeyTables;

// Cell of ThreeSetKeyMarks for a character decomposed from its own code.
constexpr uint8_t kMarkSquareLead = 0x81;
constexpr uint8_t kMarkSquareTrail = 0xA0;

// One 2-byte mark per composed character (3-set only).
struct KeyMark {
  uint8_t b0 = kMarkSquareLead;
  uint8_t b1 = kMarkSquareTrail;
  bool IsFinalKey() const { return b0 == ' '; }
  bool operator==(const KeyMark&) const = default;
};

using KeyMarks = std::vector<KeyMark>;

class JamoAutomaton {
 public:
  // indexed: the slots of each table are found through their first letter
  // (what AutomatonFor gives); otherwise every slot is tried in turn, the
  // plain reading of the tables that the index must agree with.
  explicit JamoAutomaton(const ArrangementTables& t, bool indexed = true);

  bool IsThreeSet() const { return t_.finalConsonants != nullptr; }

  // Index 0..18 of the initial at the start of keys and its letter count; -1.
  int MatchInitialKeys(const char* keys, int* length) const;
  // 2-set and roman: index of a one-key initial, -1 when none.
  int InitialIndex(char key) const;
  // Vowel index 0..20 and its letter count, or -1 and 0.
  int MatchVowelKeys(const char* keys, int* length) const;
  // Final index 1..27 and its letter count, or 0 and 0. A final is not taken
  // when the keys after it begin a vowel.
  int MatchFinalKeys(const char* keys, int* length) const;
  // Compatibility jamo at the start of keys; return the letters used (0 none).
  int VowelJamo(char16_t* out, const char* keys) const;
  int ConsonantJamo(char16_t* out, const char* keys) const;

  // Parses a key string into characters; returns how many were appended to out.
  // Keys that cannot be placed are skipped with a beep. Under the 3-set
  // arrangement, marks (when not null) receives one mark per character.
  int KeysToSyllables(std::u16string& out, const std::string& keys,
                      KeyMarks* marks, UserFeedback* feedback) const;
  // The same on a zero-terminated key string, writing to out, which has room
  // for one character per key.
  int KeysToSyllables(char16_t* out, const char* keys, KeyMarks* marks, UserFeedback* feedback) const;
  // Key string of one syllable or compatibility jamo; empty for anything else.
  std::string SyllableToKeys(char16_t ch) const;
  // The same written to out (kKeyBufferSize bytes) with a terminating zero;
  // returns its length.
  int SyllableToKeys(char* out, char16_t ch) const;

 private:
  // For each first letter, the slots of a table that begin with it, in the
  // order in which they are tried; -1 ends a list.
  static constexpr int kMostSlotsPerLetter = 12;
  using SlotLists = std::array<std::array<int8_t, kMostSlotsPerLetter>, 128>;
  struct Index {
    SlotLists initials, vowels, consonants, finalConsonants;
    // Whether some vowel slot begins with a letter: 0 none does, 1 the
    // letter alone is a slot (so a vowel follows), 2 only longer slots do.
    std::array<uint8_t, 128> vowelStart{};
    // The letters of every slot, padded with zeros, and their count; finals
    // by final index (0: none).
    struct Letters {
      char letters[4] = {};
      uint8_t length = 0;
    };
    std::array<Letters, 19> initialLetters;
    std::array<Letters, 21> vowelLetters;
    std::array<Letters, 28> finalLetters;
    std::array<Letters, 30> consonantLetters;
  };
  // Tables whose slots have at most two letters are matched by one look-up:
  // the match of every pair of first and second key, by the keys' codes
  // (1.. for the letters of the arrangement's tables, 0 for any other key and
  // for the end of the keys). Finals keep the up to four slots that begin
  // the two keys, in the order in which they are tried.
  struct PairMatch {
    int8_t slot = -1;
    uint8_t length = 0;
  };
  struct PairTables {
    std::array<uint8_t, 128> code{};
    size_t codes = 1;
    std::vector<PairMatch> initials, vowels, consonants, finalConsonants;  // empty: not by pairs
    std::vector<std::array<PairMatch, 4>> finals;
    // Where the first letter after a slot alone says whether a vowel follows
    // (no letter begins only longer vowel slots), the final of each pair
    // when the letter after the pair does not begin a vowel and when it does.
    std::vector<std::array<PairMatch, 2>> finalByVowelAfter;
    size_t At(const char* keys) const;  // the pair's place; 0 when the first key is no letter
  };
  void BuildPairTables();
  // Whether the keys begin a vowel (MatchVowelKeys succeeds).
  bool VowelFollows(const char* keys) const;
  int Match(const SlotLists* lists, const std::vector<PairMatch>* pairs, const char* table, int width, int count,
            const char* keys, int* length) const;

  const ArrangementTables& t_;
  std::unique_ptr<const Index> index_;  // null: the plain search
  std::unique_ptr<const PairTables> pairs_;  // with the index
};

const JamoAutomaton& AutomatonFor(int inputMode);  // 0 roman, 1 2-set, 2 3-set

// 3-set: after a key has been appended at index (>= 1), merges it with the key
// before it into a compound final when the result parses into at most limit
// characters. Returns true when keys was changed.
bool CombineThreeSetFinal(std::string& keys, size_t index, int limit);

// 3-set key map. keyboardType 2 (English 101-key) exchanges ' and : around the
// lookup; an upper-case letter typed without Shift is lowered first.
char MapThreeSetKey(char ch, unsigned virtualKey, bool shiftHeld, int keyboardType);

inline bool IsAsciiLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

constexpr char16_t kFirstSyllable = 0xAC00;
constexpr char16_t kLastSyllable = 0xD7A3;
constexpr char16_t kFirstCompatConsonant = 0x3131;
constexpr char16_t kFirstCompatVowel = 0x314F;
constexpr char16_t kLastCompatVowel = 0x3163;

}  // namespace ime

// The automata that the engine uses find the slots of their tables through
// an index by first letter; the plain reading tries every slot. Both must
// parse every key string the same way.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "jamo_automaton.h"

namespace ime {
namespace {

struct Arrangement {
  int mode;
  const ArrangementTables* tables;
};
constexpr Arrangement kArrangements[] = {{0, &RomanKeyTables}, {1, &TwoSetKeyTables}, {2, &ThreeSetKeyTables}};

// The letters of an arrangement's tables and two keys that are none.
std::string Alphabet(const ArrangementTables& t) {
  std::string s = "1 ";
  for (const char* table : {t.initials, t.vowels, t.finals, t.consonants, t.finalConsonants}) {
    for (const char* p = table; p != nullptr && *p != 0; ++p) {
      if (*p != ' ' && s.find(*p) == std::string::npos) s += *p;
    }
  }
  return s;
}

// What each operation gives on keys, in one list for comparison.
std::vector<int> Parse(const JamoAutomaton& a, const std::string& keys) {
  std::u16string chars;
  KeyMarks marks;
  a.KeysToSyllables(chars, keys, &marks, nullptr);
  std::vector<int> out(chars.begin(), chars.end());
  for (const KeyMark& m : marks) out.push_back(m.b0 << 8 | m.b1);
  int length = 0;
  out.push_back(a.MatchInitialKeys(keys.c_str(), &length));
  out.push_back(length);
  out.push_back(a.MatchVowelKeys(keys.c_str(), &length));
  out.push_back(length);
  out.push_back(a.MatchFinalKeys(keys.c_str(), &length));
  out.push_back(length);
  char16_t jamo = 0;
  out.push_back(a.VowelJamo(&jamo, keys.c_str()));
  out.push_back(jamo);
  jamo = 0;
  out.push_back(a.ConsonantJamo(&jamo, keys.c_str()));
  out.push_back(jamo);
  return out;
}

TEST(AutomatonIndex, EveryKeyStringOfUpToThreeKeysParsesAsThePlainTablesParseIt) {
  for (const Arrangement& arr : kArrangements) {
    const std::string alphabet = Alphabet(*arr.tables);
    const JamoAutomaton plain(*arr.tables, false);
    const JamoAutomaton& indexed = AutomatonFor(arr.mode);
    int differ = 0;
    std::string keys;
    for (char a : alphabet) {
      for (char b : std::string(1, '\0') + alphabet) {
        for (char c : std::string(1, '\0') + alphabet) {
          keys.assign(1, a);
          if (b != 0) keys += b;
          if (b != 0 && c != 0) keys += c;
          if (Parse(plain, keys) != Parse(indexed, keys)) ++differ;
        }
      }
    }
    EXPECT_EQ(differ, 0) << "arrangement " << arr.mode;
  }
}

TEST(AutomatonIndex, LongRandomKeyStringsParseAsThePlainTablesParseThem) {
  std::mt19937 random(7);
  for (const Arrangement& arr : kArrangements) {
    const std::string alphabet = Alphabet(*arr.tables);
    const JamoAutomaton plain(*arr.tables, false);
    const JamoAutomaton& indexed = AutomatonFor(arr.mode);
    for (int n = 0; n < 10000; ++n) {
      std::string keys(4 + random() % 12, ' ');
      for (char& k : keys) k = alphabet[random() % alphabet.size()];
      ASSERT_TRUE(Parse(plain, keys) == Parse(indexed, keys)) << arr.mode << " " << keys;
    }
  }
}

TEST(AutomatonIndex, EveryCharacterDecomposesAsThePlainTablesDecomposeIt) {
  for (const Arrangement& arr : kArrangements) {
    const JamoAutomaton plain(*arr.tables, false);
    const JamoAutomaton& indexed = AutomatonFor(arr.mode);
    for (char32_t c = 0x3100; c <= 0xD7AF; ++c) {
      if (c > 0x3163 && c < kFirstSyllable) continue;
      const auto ch = static_cast<char16_t>(c);
      char keys[kKeyBufferSize];
      const int n = indexed.SyllableToKeys(keys, ch);
      ASSERT_EQ(std::string(keys, static_cast<size_t>(n)), plain.SyllableToKeys(ch)) << arr.mode << " " << static_cast<unsigned>(c);
      ASSERT_EQ(keys[n], 0);
    }
  }
}

TEST(AutomatonIndex, EverySyllableRoundTripsThroughTheIndexedAutomata) {
  for (const Arrangement& arr : kArrangements) {
    const JamoAutomaton& a = AutomatonFor(arr.mode);
    for (char16_t c = kFirstSyllable; c <= kLastSyllable && c >= kFirstSyllable; ++c) {
      std::u16string out;
      a.KeysToSyllables(out, a.SyllableToKeys(c), nullptr, nullptr);
      ASSERT_EQ(out, std::u16string(1, c)) << arr.mode;
    }
  }
}

}  // namespace
}  // namespace ime

#include <gtest/gtest.h>

#include "fake_context.h"
#include "jamo_automaton.h"

namespace ime {
namespace {

using test::CountingFeedback;
using test::Syl;

std::u16string Parse(int mode, const std::string& keys, CountingFeedback* fb = nullptr,
                     KeyMarks* marks = nullptr) {
  std::u16string out;
  AutomatonFor(mode).KeysToSyllables(out, keys, marks, fb);
  return out;
}

struct ParseCase {
  int mode;
  const char* keys;
  std::u16string expected;
};

// Printed as arrangement and keys, so that test listings stay short.
void PrintTo(const ParseCase& c, std::ostream* os) { *os << "mode" << c.mode << '-' << c.keys; }

class ParseTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, KeysGiveCharacters) {
  const ParseCase& c = GetParam();
  CountingFeedback fb;
  EXPECT_EQ(Parse(c.mode, c.keys, &fb), c.expected) << c.keys;
  EXPECT_TRUE(fb.beeps.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Arrangements, ParseTest,
    testing::Values(
        // 2-set, the examples of the arrangement.
        ParseCase{1, "", u""},
        ParseCase{1, "rk", u"\uAC00"},
        ParseCase{1, "rks", u"\uAC04"},
        ParseCase{1, "rksk", u"\uAC00\uB098"},        // the s moves on
        ParseCase{1, "rkfr", std::u16string{Syl(0, 0, 9)}},  // final slot f r
        ParseCase{1, "rkfrk", u"\uAC08\uAC00"},       // final f, then r k
        ParseCase{1, "k", u"\u314F"},
        ParseCase{1, "r", u"\u3131"},
        ParseCase{1, "hk", u"\u3158"},                // one compound vowel
        ParseCase{1, "dhk", u"\uC640"},
        ParseCase{1, "dkssudgktpdy", u"\uC548\uB155\uD558\uC138\uC694"},
        ParseCase{1, "Rk", u"\uAE4C"},
        ParseCase{1, "rkqt", std::u16string{Syl(0, 0, 18)}},
        ParseCase{1, "rkqtk", u"\uAC11\uC0AC"},        // double final splits before a vowel
        // roman
        ParseCase{0, "kamsa", u"\uAC10\uC0AC"},
        ParseCase{0, "fyai", std::u16string{Syl(11, 3)}},
        ParseCase{0, "foai", std::u16string{Syl(11, 10)}},
        ParseCase{0, "hankul", u"\uD55C\uAD74"},
        // 3-set: internal letters
        ParseCase{2, "AO", u"\uAC00"},
        ParseCase{2, "AOh", u"\uAC04"},
        ParseCase{2, "AAO", u"\uAE4C"},
        ParseCase{2, "AOl", std::u16string{Syl(0, 0, 9)}},
        ParseCase{2, "f", u"\u3131"},                 // a final key alone: its consonant
        ParseCase{2, "A", u"\u3131"},
        ParseCase{2, "fr", u"\u3133"},
        ParseCase{2, "WO", u"\u3158"}));

TEST(Automaton, UnplaceableKeyIsSkippedWithABeep) {
  CountingFeedback fb;
  // Roman y followed by k: y starts no vowel slot and is no initial.
  EXPECT_EQ(Parse(0, "yka", &fb), u"\uAC00");
  ASSERT_EQ(fb.beeps.size(), 1u);
  EXPECT_EQ(fb.beeps[0], kBeepExclamation);
}

TEST(Automaton, ThreeSetMarksTellFinalKeys) {
  KeyMarks marks;
  EXPECT_EQ(Parse(2, "AOfk", nullptr, &marks), std::u16string(u"\uAC01") + u"\u3139");
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_FALSE(marks[0].IsFinalKey());
  EXPECT_EQ(marks[0].b0, 0x81);
  EXPECT_EQ(marks[0].b1, 0xA0);
  EXPECT_TRUE(marks[1].IsFinalKey());
  EXPECT_EQ(marks[1].b1, 'k');
  marks.clear();
  Parse(2, "A", nullptr, &marks);  // an initial key gives the square
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_FALSE(marks[0].IsFinalKey());
}

// Every syllable and compatibility jamo goes to keys and back to itself,
// except the compound consonants that 2-set and roman type as two jamo.
TEST(Automaton, RoundTripOfEverySyllableAndJamo) {
  for (int mode = 0; mode < 3; ++mode) {
    const JamoAutomaton& a = AutomatonFor(mode);
    for (char16_t c = kFirstSyllable; c <= kLastSyllable; ++c) {
      std::string keys = a.SyllableToKeys(c);
      ASSERT_FALSE(keys.empty());
      ASSERT_EQ(Parse(mode, keys), std::u16string(1, c)) << "mode " << mode << " keys " << keys;
    }
    for (char16_t c = kFirstCompatConsonant; c <= kLastCompatVowel; ++c) {
      std::string keys = a.SyllableToKeys(c);
      ASSERT_FALSE(keys.empty());
      std::u16string back = Parse(mode, keys);
      if (mode != 2 && keys.size() == 2 && c < kFirstCompatVowel) {
        // ㄳ, ㄵ, ... : one consonant jamo per key.
        ASSERT_EQ(back.size(), 2u) << "mode " << mode;
      } else {
        ASSERT_EQ(back, std::u16string(1, c)) << "mode " << mode << " keys " << keys;
      }
    }
    EXPECT_TRUE(a.SyllableToKeys(u'A').empty());
  }
}

TEST(Automaton, FinalMatchLeavesConsonantBeforeVowel) {
  const JamoAutomaton& a = AutomatonFor(1);
  int length = 0;
  EXPECT_EQ(a.MatchFinalKeys("sk", &length), 0);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(a.MatchFinalKeys("frk", &length), 8);  // f only; r starts the next syllable
  EXPECT_EQ(length, 1);
  EXPECT_EQ(a.MatchVowelKeys("nl", &length), 16);
  EXPECT_EQ(length, 2);
}

struct CombineCase {
  const char* keys;
  size_t index;
  int limit;
  const char* expected;
};

TEST(Automaton, ThreeSetCompoundFinals) {
  const CombineCase cases[] = {
      {"AOkf", 3, 1, "AOl"},   // ㄹ then ㄱ: ㄺ
      {"AOff", 3, 1, "AOg"},   // ㄱ ㄱ: ㄲ
      {"AOhz", 3, 1, "AOi"},
      {"AOko", 3, 1, "AOm"},
      {"AOkz", 3, 1, "AOn"},
      {"AOpr", 3, 1, "AOq"},
      {"AOrr", 3, 1, "AOs"},
      {"AOkA", 3, 1, "AOkA"},  // no pair
      {"kf", 1, 0, "kf"},      // the merged string would give more than the limit
  };
  for (const CombineCase& c : cases) {
    std::string keys = c.keys;
    CombineThreeSetFinal(keys, c.index, c.limit);
    EXPECT_EQ(keys, c.expected) << c.keys;
  }
}

TEST(Automaton, ThreeSetKeyMap) {
  struct MapCase {
    char in;
    unsigned vk;
    bool shift;
    int keyboard;
    char out;
  } cases[] = {
      {'k', 'K', false, 0, 'A'},  {'f', 'F', false, 0, 'O'},  {'x', 'X', false, 0, 'f'},
      {'K', 'K', false, 0, 'A'},  // upper case without Shift (Caps Lock) is lowered first
      {'K', 'K', true, 0, '5'},   {'1', '1', false, 0, 'z'},  {'<', 0xBC, true, 0, '2'},
      {'2', 0x62, false, 0, '2'},  // numeric keypad passes unchanged
      {' ', ' ', false, 0, ' '},  {'\'', 0xDE, false, 0, '\''},
      {':', 0xBA, true, 0, 'L'},
      {'\'', 0xDE, false, 2, 'L'},  // 101-key: ' and : exchanged around the lookup
      {':', 0xBA, true, 2, ':'},
  };
  for (const MapCase& c : cases) {
    EXPECT_EQ(MapThreeSetKey(c.in, c.vk, c.shift, c.keyboard), c.out) << c.in << " kb " << c.keyboard;
  }
}

}  // namespace
}  // namespace ime

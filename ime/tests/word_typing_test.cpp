// The keys that the benchmarks generate type real Korean on every
// arrangement: each syllable alone, and words typed one after another,
// through the whole key-down path.
#include <gtest/gtest.h>

#include "word_typing.h"

namespace {

using ime::bench::KeysForText;
using ime::bench::PhysicalKey;
using ime::bench::Typist;

constexpr int kArrangements[] = {1, 2, 0};  // 2-set, 3-set, roman

std::u16string KsUnits(const std::u16string& text) {
  std::u16string units;
  for (char c : codeconv::PlatformCodePages().FromUtf16(949, text)) units.push_back(static_cast<unsigned char>(c));
  return units;
}

TEST(WordTyping, EverySyllableAloneTypesItselfOnEveryArrangement) {
  for (int mode : kArrangements) {
    Typist typist(mode, true);
    int wrong = 0;
    for (char32_t c = 0xAC00; c <= 0xD7A3; ++c) {
      const std::u16string text(1, static_cast<char16_t>(c));
      std::vector<PhysicalKey> keys;
      ASSERT_TRUE(KeysForText(mode, text, &keys)) << mode << " U+" << std::hex << static_cast<unsigned>(c);
      if (typist.TypeWord(keys) != text) ++wrong;
    }
    EXPECT_EQ(wrong, 0) << "arrangement " << mode;
  }
}

TEST(WordTyping, EveryKsSyllableAloneTypesItsBytesUnderTheAnsiInterface) {
  for (int mode : kArrangements) {
    Typist typist(mode, false);
    // The reading tables hold only the 2350 syllables of KS X 1001: on the
    // way to some of them (T i d, 썅) stands one that is not there (T i, 쌰),
    // which leaves two jamo; with one unconfirmed character the first would
    // be committed before the last key brings the syllable together.
    typist.settings.mikakuBytes = 16;
    int wrong = 0;
    for (int lead = 0xB0; lead <= 0xC8; ++lead) {
      for (int trail = 0xA1; trail <= 0xFE; ++trail) {
        const std::string ks{static_cast<char>(lead), static_cast<char>(trail)};
        const std::u16string text = codeconv::PlatformCodePages().ToUtf16(949, ks);
        std::vector<PhysicalKey> keys;
        ASSERT_TRUE(KeysForText(mode, text, &keys));
        if (typist.TypeWord(keys) != KsUnits(text)) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0) << "arrangement " << mode;
  }
}

// Words where a final could also start the next syllable, double finals,
// tense initials, compound vowels and the y-vowels of the roman arrangement.
TEST(WordTyping, WordsTypedOneAfterAnotherCommitThemselves) {
  const std::u16string words[] = {u"안녕하세요", u"닭고기", u"읽었다", u"값어치", u"꽃잎", u"빨래",
                                  u"괜찮아요", u"얘기", u"예쁜", u"쌍둥이", u"훨씬", u"없었을"};
  for (int mode : kArrangements) {
    for (bool unicode : {true, false}) {
      Typist typist(mode, unicode);
      for (const std::u16string& w : words) {
        std::vector<PhysicalKey> keys;
        ASSERT_TRUE(KeysForText(mode, w, &keys));
        EXPECT_EQ(typist.TypeWord(keys), unicode ? w : KsUnits(w)) << "arrangement " << mode;
      }
    }
  }
}

TEST(WordTyping, ThreeSetAndRomanKeysAreTheArrangementsOwn) {
  // 가 on the 3-set arrangement: the initial key k and the vowel key f; on
  // the roman one: k a. 야 in roman is f y (y alone enters the vowel ya).
  std::vector<PhysicalKey> keys;
  ASSERT_TRUE(KeysForText(2, u"가", &keys));
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(std::string({keys[0].ch, keys[1].ch}), "kf");
  keys.clear();
  ASSERT_TRUE(KeysForText(0, u"야", &keys));
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(std::string({keys[0].ch, keys[1].ch}), "fy");
}

}  // namespace

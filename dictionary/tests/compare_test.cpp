#include <gtest/gtest.h>

#include "fixture.h"
#include "key_compare.h"

namespace ombrel {
namespace {

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

TEST(HangulKeys, JamoSortBeforeTheirFirstSyllable) {
  // ㄱ < 가 < 각 < 까, and the jamo of tense ㄲ between 가... and 까.
  const std::u16string order[] = {u"ㄱ", u"가", u"각", u"ㄲ", u"까", u"ㄴ", u"나"};
  for (size_t i = 0; i + 1 < std::size(order); ++i) {
    for (size_t j = i + 1; j < std::size(order); ++j) {
      EXPECT_LT(CompareHangulKeys(order[i], order[j]), 0) << i << " " << j;
      EXPECT_GT(CompareHangulKeys(order[j], order[i]), 0) << i << " " << j;
    }
  }
  EXPECT_EQ(CompareHangulKeys(u"학교", u"학교"), 0);
  EXPECT_LT(CompareHangulKeys(u"학", u"학교"), 0);
  // Each vowel jamo stands for 아.
  EXPECT_LT(CompareJamoWithSyllable(u'ㅏ', u'아'), 0);
  EXPECT_GT(CompareJamoWithSyllable(u'ㅏ', u'사'), 0);
  // A cluster: ㄳ as 나, ㅀ as 마, ㅄ as 사.
  EXPECT_EQ(JamoFirstSyllable(u'ㄳ'), u'나');
  EXPECT_EQ(JamoFirstSyllable(u'ㅀ'), u'마');
  EXPECT_EQ(JamoFirstSyllable(u'ㅄ'), u'사');
  EXPECT_EQ(JamoFirstSyllable(u'ㅎ'), u'하');
  EXPECT_EQ(JamoFirstSyllable(u'ㅣ'), u'아');
  // Two jamo or two syllables: unit order.
  EXPECT_EQ(Sign(CompareJamoWithSyllable(u'ㄱ', u'ㄴ')), -1);
}

TEST(JapaneseKeys, WidthCaseAndKanaTypeIgnored) {
  EXPECT_EQ(CompareJapaneseKeys(u"カタカナ", u"かたかな"), 0);
  EXPECT_EQ(CompareJapaneseKeys(u"ｶﾀｶﾅ", u"かたかな"), 0);
  EXPECT_EQ(CompareJapaneseKeys(u"ＡＢＣ", u"abc"), 0);
  EXPECT_EQ(CompareJapaneseKeys(u"ABC", u"abc"), 0);
  EXPECT_EQ(CompareJapaneseKeys(u"ガッコウ", u"がっこう"), 0);
  // Code page 932 order: letters before kana before kanji, kana in their order.
  EXPECT_LT(CompareJapaneseKeys(u"abc", u"あ"), 0);
  EXPECT_LT(CompareJapaneseKeys(u"あ", u"い"), 0);
  EXPECT_LT(CompareJapaneseKeys(u"ん", u"亜"), 0);
  EXPECT_LT(CompareJapaneseKeys(u"学", u"学校"), 0);
  // U+9ED1 (the last character of code page 932) closes every range of a
  // prefix, also one whose next character lies late in Unicode (齢).
  EXPECT_LT(CompareJapaneseKeys(u"年齢", u"年\u9ED1"), 0);
  EXPECT_LT(CompareJapaneseKeys(u"年龍", u"年\u9ED1"), 0);
  EXPECT_GT(CompareJapaneseKeys(u"年齢", u"年"), 0);
}

TEST(ReversedKeys, KanaFoldedAndPlain) {
  EXPECT_EQ(CompareKanaFolded(u"ウコッガ", u"うこっが"), 0);
  EXPECT_LT(CompareKanaFolded(u"あ", u"い"), 0);
  EXPECT_LT(CompareUnits(u"교", u"교학"), 0);
  EXPECT_GT(CompareUnits(u"학", u"교"), 0);
  EXPECT_EQ(CompareKeys(kFlagKorean | kFlagReversed, u"ㄱ", u"가") < 0, true);  // plain: U+3131 < U+AC00
}

// Every adjacent pair of every built key file is in the program's order.
TEST(BuiltData, KeyFilesSortedByTheProgramsComparator) {
  DictionaryFileSet& files = test::BuiltData();
  for (int d = 0; d < 2; ++d) {
    for (bool reversed : {false, true}) {
      const int32_t flags = (d == 1 ? kFlagKorean : 0) | (reversed ? kFlagReversed : 0);
      const int32_t n = files.KeyCount(d);
      ASSERT_GT(n, 20000) << d;
      std::u16string previous, key;
      ASSERT_TRUE(files.ReadKey(d, reversed, 0, previous));
      int bad = 0;
      for (int32_t i = 1; i < n; ++i) {
        ASSERT_TRUE(files.ReadKey(d, reversed, i, key)) << i;
        if (CompareKeys(flags, previous, key) > 0 && ++bad < 5) {
          ADD_FAILURE() << "direction " << d << (reversed ? " reversed" : "") << " keys " << i - 1 << " and " << i
                        << " out of order";
        }
        previous.swap(key);
      }
      EXPECT_EQ(bad, 0);
    }
  }
}

}  // namespace
}  // namespace ombrel

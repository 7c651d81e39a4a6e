// The hanja-to-Hangul conversion: the table's reading, the initial-sound
// rule's form at the start of a word, text that is no hanja left alone, and
// the generated table on words whose readings Unihan gives (學 학, 校 교,
// 女 녀 and 여, 料 료 and 요, 樂 락 and 낙, 𠃗 울).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tibrel_core.h"

namespace {

std::u16string Convert(const tibrel::ReadingTable& table, std::u16string text, int* replaced = nullptr) {
  text.push_back(0);
  const int n = tibrel::ConvertInPlace(table, text.data());
  if (replaced) *replaced = n;
  return std::u16string(text.c_str());
}

const tibrel::ReadingTable& Generated() {
  static std::vector<uint8_t> bytes = [] {
    std::ifstream in(TIBREL_TABLE, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }();
  static tibrel::ReadingTable table(bytes);
  return table;
}

TEST(TibrelRule, InitialSoundForms) {
  struct Case {
    char16_t syllable, initial;
  } cases[] = {
      {u'라', u'나'}, {u'락', u'낙'}, {u'려', u'여'}, {u'리', u'이'}, {u'류', u'유'},
      {u'녀', u'여'}, {u'니', u'이'}, {u'나', 0},     {u'가', 0},     {u'A', 0},
  };
  for (const Case& c : cases) EXPECT_EQ(tibrel::InitialSoundForm(c.syllable), c.initial) << static_cast<int>(c.syllable);
}

TEST(TibrelTable, SmallTable) {
  const std::vector<uint8_t> bytes =
      tibrel::EncodeReadingTable({{U'校', u'교', 0}, {U'女', u'녀', u'여'}, {U'學', u'학', 0}, {0x200D7, u'울', 0}});
  const tibrel::ReadingTable table(bytes);
  ASSERT_EQ(table.Size(), 4u);
  int n = 0;
  EXPECT_EQ(Convert(table, u"學校", &n), u"학교");
  EXPECT_EQ(n, 2);
  // At the start of a word the initial form, inside a word the reading.
  EXPECT_EQ(Convert(table, u"女學校 學女 그女"), u"여학교 학녀 그녀");
  // A hanja outside the basic plane (two units) becomes one syllable.
  EXPECT_EQ(Convert(table, u"a\xD840\xDCD7z"), u"a울z");
  // Characters the table lacks stay, Japanese kana and unknown hanja too.
  EXPECT_EQ(Convert(table, u"漢あア한ABC", &n), u"漢あア한ABC");
  EXPECT_EQ(n, 0);
}

TEST(TibrelTable, RefusesWhatIsNoTable) {
  std::vector<uint8_t> bytes = tibrel::EncodeReadingTable({{U'校', u'교', 0}});
  EXPECT_TRUE(tibrel::ReadingTable(bytes).Loaded());
  std::vector<uint8_t> cut(bytes.begin(), bytes.end() - 1);
  EXPECT_FALSE(tibrel::ReadingTable(cut).Loaded());
  bytes[0] = 'X';
  EXPECT_FALSE(tibrel::ReadingTable(bytes).Loaded());
  EXPECT_FALSE(tibrel::ReadingTable(std::span<const uint8_t>{}).Loaded());
  EXPECT_EQ(tibrel::ConvertInPlace(tibrel::ReadingTable{}, nullptr), 0);
}

TEST(TibrelGenerated, WordsReadAsUnihanSays) {
  const tibrel::ReadingTable& table = Generated();
  ASSERT_TRUE(table.Loaded());
  EXPECT_GT(table.Size(), 8000u);
  struct Case {
    std::u16string hanja, hangul;
  } cases[] = {
      {u"學校", u"학교"},   {u"圖書館", u"도서관"}, {u"料理", u"요리"},   {u"女子", u"여자"},
      {u"少女", u"소녀"},   {u"快樂", u"쾌락"},     {u"樂園", u"낙원"},   {u"學生은 學校에", u"학생은 학교에"},
      {u"日本語", u"일본어"},
  };
  for (const Case& c : cases) EXPECT_EQ(Convert(table, c.hanja), c.hangul);
}

}  // namespace

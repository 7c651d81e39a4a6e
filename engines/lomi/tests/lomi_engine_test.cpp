#include <gtest/gtest.h>

#include <cstring>

#include "ks_gm.h"
#include "lomi_engine.h"
#include "lomi_test_support.h"

namespace {

using lomi_test::Ks;
using lomi_test::Sjis;

uint32_t Get32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// GM text to KS through the code arithmetic, independently of the engine.
std::string GmToKs(const char* gm) {
  std::string out;
  for (std::size_t i = 0; gm[i]; ++i) {
    const uint8_t b = static_cast<uint8_t>(gm[i]);
    if (codeconv::IsGmLeadByte(b) && gm[i + 1]) {
      const codeconv::DbChar ks = codeconv::GmCharToKs(codeconv::MakeDb(b, static_cast<uint8_t>(gm[i + 1])));
      out.push_back(static_cast<char>(ks >> 8));
      out.push_back(static_cast<char>(ks & 0xFF));
      ++i;
    } else {
      out.push_back(gm[i]);
    }
  }
  return out;
}

struct Range {
  uint32_t japaneseOffset, japaneseLength, koreanOffset, koreanLength;
  bool operator==(const Range&) const = default;
};

struct Translation {
  int result = 0;
  std::string korean;
  std::vector<Range> ranges;
  std::vector<uint8_t> table;
};

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lomi_test::Dictionary().Loaded()) << "no dictionary at " LOMI_DICTIONARY; }

  // A translation with the workbench's capacities: 3n + 2 bytes of output,
  // 2n + 2 alignment entries.
  Translation Translate(const std::string& japaneseUtf8, int code = lomi::kKsCodePage) {
    const std::string source = Sjis(japaneseUtf8);
    const int n = static_cast<int>(source.size());
    Translation t;
    std::vector<char> output(2048, '\x7F');
    int length = 3 * n + 2;
    int count = 2 * n + 2;
    t.table.assign(static_cast<std::size_t>(count) * lomi::kEntrySize, 0);
    t.result = engine.Transfer(0, 932, code, source.c_str(), output.data(), &length, t.table.data(), &count);
    if (t.result != 0) return t;
    t.korean.assign(output.data(), static_cast<std::size_t>(length));
    EXPECT_EQ(output[static_cast<std::size_t>(length)], '\0');
    const uint32_t entries = Get32(t.table.data());
    EXPECT_EQ(static_cast<int>(entries) + 1, count);
    for (uint32_t e = 1; e <= entries; ++e) {
      const uint8_t* p = t.table.data() + e * lomi::kEntrySize;
      t.ranges.push_back({Get32(p + 8), Get32(p + 12), Get32(p + 0), Get32(p + 4)});
    }
    return t;
  }

  lomi::Engine engine{lomi_test::Dictionary()};
};

// Each Hangul syllable and each kana or kanji is two bytes; the ranges
// follow from the words of each sentence.
TEST_F(EngineTest, TranslatesSentencesWordByWordWithTheirAlignment) {
  const struct {
    const char* japanese;
    const char* korean;
    std::vector<Range> ranges;  // Japanese offset, length, Korean offset, length
  } cases[] = {
      {"私は学生です", "저는 학생입니다", {{0, 2, 0, 2}, {2, 2, 2, 2}, {4, 4, 5, 4}, {8, 4, 9, 6}}},
      {"学校へ行きます", "학교로 갑니다", {{0, 4, 0, 4}, {4, 2, 4, 2}, {6, 8, 7, 6}}},
      {"図書館で本を読みます",
       "도서관에서 책을 읽습니다",
       {{0, 6, 0, 6}, {6, 2, 6, 4}, {8, 2, 11, 2}, {10, 2, 13, 2}, {12, 8, 16, 8}}},
      // The particle after a final consonant, after none, after ㄹ.
      {"本が", "책이", {{0, 2, 0, 2}, {2, 2, 2, 2}}},
      {"彼が来ました", "그가 왔습니다", {{0, 2, 0, 2}, {2, 2, 2, 2}, {4, 8, 5, 8}}},
      {"ソウルへ", "서울로", {{0, 6, 0, 4}, {6, 2, 4, 2}}},
      {"図書館へ", "도서관으로", {{0, 6, 0, 6}, {6, 2, 6, 4}}},
      // A kana word the engine does not know is read: ー unwritten, ン a final.
      {"ラーメン", "라멘", {{0, 8, 0, 4}}},
      // Brackets: no blank inside.
      {"「はい」", "“네”", {{0, 2, 0, 2}, {2, 4, 2, 2}, {6, 2, 4, 2}}},
      // A blank of the source gives no entry.
      {"はい　犬", "네 개", {{0, 4, 0, 2}, {6, 2, 3, 2}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.japanese);
    const Translation t = Translate(c.japanese);
    ASSERT_EQ(t.result, 0);
    EXPECT_EQ(t.korean, Ks(c.korean));
    EXPECT_EQ(t.ranges, c.ranges);
  }
}

TEST_F(EngineTest, SinoKoreanWordsComeThroughTheTraditionalForms) {
  // Words outside the glossary: their Hangul is hanja.txt's for 學校, 圖書館,
  // 經濟 (学, 図, 経 are the Japanese forms).
  EXPECT_EQ(Translate("経済").korean, Ks("경제"));
  EXPECT_EQ(Translate("学校").korean, Ks("학교"));
  EXPECT_EQ(Translate("図書館").korean, Ks("도서관"));
}

TEST_F(EngineTest, EntriesCarryTheWordInGmCode) {
  const Translation t = Translate("私は学生です");
  ASSERT_EQ(t.result, 0);
  const char* words[] = {"저", "는", "학생", "입니다"};
  for (int e = 1; e <= 4; ++e) {
    const uint8_t* entry = t.table.data() + e * lomi::kEntrySize;
    EXPECT_EQ(GmToKs(reinterpret_cast<const char*>(entry + lomi::kWordData)), Ks(words[e - 1])) << e;
    EXPECT_EQ(Get32(entry + lomi::kDataIndex), static_cast<uint32_t>(e));
  }
}

TEST_F(EngineTest, GmOutputIsTheKsTextInGmCode) {
  const Translation ks = Translate("私は学生です");
  const Translation gm = Translate("私は学生です", lomi::kGmCodePage);
  ASSERT_EQ(gm.result, 0);
  EXPECT_EQ(GmToKs(gm.korean.c_str()), ks.korean);
  EXPECT_EQ(gm.ranges, ks.ranges);
}

TEST_F(EngineTest, HonoursTheOutputRoomAndTerminatesOnlyWhenItFits) {
  const std::string source = Sjis("私は学生です");  // 저는 학생입니다: 15 bytes
  std::vector<char> output(32, '\x7F');
  int length = 14;
  EXPECT_EQ(engine.Transfer(0, 932, 949, source.c_str(), output.data(), &length, nullptr, nullptr),
            lomi::kLomiOutputFull);
  EXPECT_EQ(output[0], '\x7F');  // nothing written
  length = 15;
  ASSERT_EQ(engine.Transfer(0, 932, 949, source.c_str(), output.data(), &length, nullptr, nullptr), 0);
  EXPECT_EQ(length, 15);
  EXPECT_EQ(output[15], '\x7F');  // no room for the NUL: none written
}

TEST_F(EngineTest, HonoursTheAlignmentRoom) {
  const std::string source = Sjis("私は学生です");  // four words: five entries with the header
  std::vector<uint8_t> table(6 * lomi::kEntrySize, 0xEE);
  std::vector<char> output(64);
  int length = 64, count = 4;
  EXPECT_EQ(engine.Transfer(0, 932, 949, source.c_str(), output.data(), &length, table.data(), &count),
            lomi::kLomiAlignmentFull);
  EXPECT_EQ(table[0], 0xEE);
  count = 5;
  ASSERT_EQ(engine.Transfer(0, 932, 949, source.c_str(), output.data(), &length, table.data(), &count), 0);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(table[5 * lomi::kEntrySize], 0xEE);  // the sixth entry untouched
}

TEST_F(EngineTest, RefusesBadArguments) {
  char output[16];
  int length = 16;
  EXPECT_EQ(engine.Transfer(1, 932, 949, "a", output, &length, nullptr, nullptr), lomi::kLomiBadArgument);
  EXPECT_EQ(engine.Transfer(0, 949, 949, "a", output, &length, nullptr, nullptr), lomi::kLomiBadArgument);
  EXPECT_EQ(engine.Transfer(0, 932, 65001, "a", output, &length, nullptr, nullptr), lomi::kLomiBadArgument);
  EXPECT_EQ(engine.Transfer(0, 932, 949, nullptr, output, &length, nullptr, nullptr), lomi::kLomiBadArgument);
  lomi::SystemDictionary none;
  lomi::Engine unconfigured(none);
  EXPECT_EQ(unconfigured.Transfer(0, 932, 949, "a", output, &length, nullptr, nullptr), lomi::kLomiNotConfigured);
}

TEST_F(EngineTest, CharacterModeGivesTheKoreanCharacters) {
  // Kanji become their KS hanja (the traditional form where KS has it),
  // kana and full-width forms the same characters in KS code.
  const struct {
    const char* japanese;
    const char* korean;
  } cases[] = {{"学校", "學校"}, {"図書館", "圖書館"}, {"あア", "あア"}, {"ＡＢ１", "ＡＢ１"}};
  for (const auto& c : cases) {
    const std::string source = Sjis(c.japanese);
    std::vector<char> output(2 * source.size() + 2);
    int length = static_cast<int>(output.size());
    ASSERT_EQ(engine.Transfer(2, 932, 949, source.c_str(), output.data(), &length, nullptr, nullptr), 0) << c.japanese;
    EXPECT_EQ(std::string(output.data(), static_cast<std::size_t>(length)), Ks(c.korean)) << c.japanese;
  }
}

TEST_F(EngineTest, RegeneratesTheKoreanTextAfterAWordChanged) {
  Translation t = Translate("本を読みます");  // 책을 읽습니다
  ASSERT_EQ(t.result, 0);
  ASSERT_EQ(t.ranges.size(), 3u);
  // The chooser puts 잡지 (GM) in place of 책: the particle follows the new
  // word (를 after a vowel) and the ranges the new text.
  uint8_t* word = t.table.data() + lomi::kEntrySize + lomi::kWordData;
  std::memset(word, 0, lomi::kWordDataBytes);
  const std::string ks = Ks("잡지");
  for (std::size_t i = 0; i < ks.size(); i += 2) {
    const codeconv::DbChar gm = codeconv::KsCharToGm(codeconv::MakeDb(static_cast<uint8_t>(ks[i]), static_cast<uint8_t>(ks[i + 1])));
    word[i] = static_cast<uint8_t>(gm >> 8);
    word[i + 1] = static_cast<uint8_t>(gm & 0xFF);
  }
  std::vector<char> output(0x8000);
  const int length = engine.Regenerate(output.data(), 0x7FFF, t.table.data());
  ASSERT_GT(length, 0);
  EXPECT_EQ(GmToKs(output.data()), Ks("잡지를 읽습니다"));
  const uint8_t* e2 = t.table.data() + 2 * lomi::kEntrySize;
  const uint8_t* e3 = t.table.data() + 3 * lomi::kEntrySize;
  EXPECT_EQ(Get32(e2), 4u);
  EXPECT_EQ(Get32(e2 + 4), 2u);
  EXPECT_EQ(Get32(e3), 7u);
  EXPECT_EQ(Get32(e3 + 4), 8u);
  // Too little room: an error and an empty output.
  EXPECT_EQ(engine.Regenerate(output.data(), 10, t.table.data()), lomi::kLomiOutputFull);
  EXPECT_EQ(output[0], '\0');
}

TEST_F(EngineTest, RefusesTablesItDidNotWrite) {
  const Translation good = Translate("本を読みます");
  ASSERT_EQ(good.result, 0);
  std::vector<char> output(0x8000);
  const struct {
    const char* what;
    std::size_t at;
    uint8_t value;
  } damages[] = {
      {"no mark", 4, 'X'},
      {"count beyond the room", 0, 200},
      {"data index 0", lomi::kEntrySize + lomi::kDataIndex, 0},
      {"data index beyond the count", lomi::kEntrySize + lomi::kDataIndex, 9},
  };
  for (const auto& d : damages) {
    std::vector<uint8_t> table = good.table;
    table[d.at] = d.value;
    EXPECT_EQ(engine.Regenerate(output.data(), 0x7FFF, table.data()), lomi::kLomiBadTable) << d.what;
  }
  std::vector<uint8_t> table = good.table;
  std::memset(table.data() + lomi::kEntrySize + lomi::kWordData, 'A', lomi::kWordDataBytes);  // no NUL
  EXPECT_EQ(engine.Regenerate(output.data(), 0x7FFF, table.data()), lomi::kLomiBadTable);
}

}  // namespace

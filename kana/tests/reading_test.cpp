// Whole texts through the reading, with the expected Shift-JIS readings
// worked out from the reading rules by hand.
#include <gtest/gtest.h>

#include "kana_fixtures.h"
#include "kana_reading.h"

namespace kana::test {
namespace {

struct TextCase {
  const char* text;
  const char* reading;
};

class TextReading : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextReading, ReadsAsExpected) {
  const TextCase& c = GetParam();
  const std::string got = Reading(c.text);
  EXPECT_EQ(got, Sjis(c.reading)) << c.text << " read as " << Utf8(got);
}

INSTANTIATE_TEST_SUITE_P(WordStartsAndSoundChanges, TextReading,
                         ::testing::Values(
                             // ㄱ: plain at the start of a word, voiced after a vowel, plain again
                             // after a blank, a comma or a full-width comma.
                             TextCase{"가", "カ"}, TextCase{"아가", "アガ"}, TextCase{"가가", "カガ"},
                             TextCase{"가 가", "カ カ"}, TextCase{"가,가", "カ,カ"}, TextCase{"가、가", "カ、カ"},
                             TextCase{"가。가", "カ。カ"},
                             // ㅈ reads チャ at the start, ジャ after a vowel, and 즈 ズ there.
                             TextCase{"자", "チャ"}, TextCase{"아자", "アジャ"}, TextCase{"아즈", "アズ"},
                             TextCase{"즈", "ツ"},
                             // ㅂ: パ at the start, バ after a vowel.
                             TextCase{"바", "パ"}, TextCase{"아바", "アバ"},
                             // ㄷ after a voiced final stays voiced, after a voiceless one not.
                             TextCase{"안다", "アンダ"}, TextCase{"좋다", "チョッタ"},
                             // Final ㄱ before ㄱ is held: a small ッ and a plain キョ.
                             TextCase{"학교", "ハッキョ"},
                             // ㄴ before ㄹ becomes ㄹ; ㄱ before ㅁ becomes ㅇ.
                             TextCase{"신라", "シルラ"}, TextCase{"국물", "クンムル"},
                             // Palatalisation: ㅌ before 이 reads ㅊ.
                             TextCase{"같이", "カチ"},
                             // A final moves over to a vowel, which leaves the voiced reading.
                             TextCase{"먹어", "モゴ"}, TextCase{"한국어", "ハングゴ"},
                             // Liaison of ㅎ after ㄴ, and aspiration ㄱ + ㅎ.
                             TextCase{"않아", "アナ"}, TextCase{"국화", "ククァ"},
                             // Symbols and letters pass through; words are read one by one.
                             TextCase{"안녕하세요!", "アンニョンハセヨ!"}, TextCase{"ABC 가", "ABC カ"}));

TEST(Reading, LineEndsStartAWord) {
  EXPECT_EQ(Reading("가\r\n가"), Sjis("カ\r\nカ"));
  EXPECT_EQ(Reading("가\t바"), Sjis("カ\tパ"));
}

TEST(Reading, KsInputAndGmInputReadTheSame) {
  const CKanaTables& t = GeneratedTables();
  for (const char* text : {"학교에 갑니다.", "「신라」와 국물, 같이 먹어요!", "漢字 國語 學校", "ㄱㄴ ① ㈜"}) {
    EXPECT_EQ(HangulToKana(t, 0, Ks(text), true, true), HangulToKana(t, 0, Gm(text), false, true)) << text;
  }
}

TEST(Reading, HanjaTakeTheModernFormUnlessAskedForTheSame) {
  // 國 has the modern Japanese form 国, 藝 has 芸; 金 is the same in both.
  EXPECT_EQ(Reading("國藝金", 0), Sjis("国芸金"));
  EXPECT_EQ(Reading("國藝金", 1), Sjis("國藝金"));
  EXPECT_EQ(Reading("國", 2), Sjis("國"));  // any value but 0 keeps the same form
}

TEST(Reading, HalfWidthOnRequest) {
  EXPECT_EQ(Reading("가", 0, false), Sjis("ｶ"));
  EXPECT_EQ(Reading("학교", 0, false), Sjis("ﾊｯｷｮ"));
  EXPECT_EQ(Reading("아바, 자", 0, false), Sjis("ｱﾊﾞ, ﾁｬ"));
}

TEST(KnChange, MeasuringAndWritingCallsAgree) {
  const CKanaTables& t = GeneratedTables();
  for (const char* text : {"가", "학교에 갑니다.", "國語 ABC", "안녕하세요 여러분!"}) {
    for (int ks : {1, 0}) {
      for (int full : {1, 0}) {
        const std::string input = ks == 1 ? Ks(text) : Gm(text);
        const char* p = input.c_str();
        const int n = KnChange(t, 0, &p, nullptr, ks, full);
        std::string out(static_cast<size_t>(n) + 1, '\x7F');
        EXPECT_EQ(KnChange(t, 0, &p, out.data(), ks, full), n) << text;
        EXPECT_EQ(out[static_cast<size_t>(n)], '\0');
        EXPECT_EQ(out.substr(0, static_cast<size_t>(n)), HangulToKana(t, 0, input, ks == 1, full == 1));
        EXPECT_EQ(p, input.c_str());  // the caller's pointer stays
      }
    }
  }
}

TEST(KnChange, NoTextGivesZeroAndWritesNothing) {
  const CKanaTables& t = GeneratedTables();
  char out[4] = {'x', 'x', 'x', 'x'};
  const char* empty = "";
  const char* none = nullptr;
  EXPECT_EQ(KnChange(t, 0, &empty, out, 1, 1), 0);
  EXPECT_EQ(KnChange(t, 0, &none, out, 1, 1), 0);
  EXPECT_EQ(KnChange(t, 0, nullptr, out, 1, 1), 0);
  EXPECT_EQ(std::string(out, 4), "xxxx");
}

TEST(KnChange, InputIsKsOnlyForOne) {
  // Any value but 1 reads the text as GM code.
  const CKanaTables& t = GeneratedTables();
  const std::string gm = Gm("가나");
  const char* p = gm.c_str();
  std::string out(16, '\0');
  const int n = KnChange(t, 0, &p, out.data(), 2, 1);
  EXPECT_EQ(out.substr(0, static_cast<size_t>(n)), Sjis("カナ"));
}

}  // namespace
}  // namespace kana::test

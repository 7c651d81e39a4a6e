#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "fixture.h"
#include "pages.h"

namespace ombrel {
namespace {

using test::Word;

PageStyle Style() {
  PageStyle s;
  s.imageFolder = u"C:\\img";
  return s;
}

EntryRef Row(int direction, int32_t id) {
  EntryRef r;
  SetEntryDirection(r, direction);
  r.idIndex = id;
  return r;
}

class PageRoot : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = test::TempRoot(::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::u16string longEntry(1018, u'x');
    longEntry += u"<A name=\"here\"></A>after";
    test::WriteRoot(root_, {Word(u"学校", {u"学校\uE100학교\uE101"}), Word(u"長", {longEntry})},
                    {Word(u"공사", {u"工事（こうじ）\uE100공사\uE101<sup>1</sup>", u"公使\uE100공사\uE101",
                                    u"公社\uE213"}),
                     Word(u"학교", {u"学校"}), Word(u"가", {u"\uE100\uE101no link\uE1FF\uE230"})});
    ASSERT_TRUE(files_.Open(root_));
  }
  std::string root_;
  DictionaryFileSet files_;
};

TEST_F(PageRoot, ThreeEntriesOfAHeadwordWhicheverIsSelected) {
  // 가 0, 공사 1-3, 학교 4.
  for (int32_t selected : {1, 2, 3}) {
    EntryRef row = Row(1, selected);
    EntryPage page;
    ASSERT_TRUE(RenderEntryPage(files_, row, Style(), -1, page));
    EXPECT_EQ(row.idIndex, 1) << selected;  // moved to the headword's first entry
    EXPECT_EQ(page.lastIdIndex, 3);
    const std::u16string head =
        u"<HTML>\n<HEAD>\n<STYLE type=\"text/css\">\n<!--\n"
        u"\t.jp { font-family: ＭＳ 明朝; font-size: 16pt; color: #000000; line-height: 19pt;}\n"
        u"\t.kr { font-family: KS Mincho; font-size: 16pt; color: #0000ff; line-height: 19pt }\n-->\n"
        u"</STYLE>\n</HEAD>\n<BODY>\n<span class='jp'><B>";
    EXPECT_EQ(page.html.substr(0, head.size()), head);
    const std::u16string speaker =
        u"<A href=\"app:S_%uACF5%uC0AC\"><IMG src=\"C:\\img\\speaker.gif\" width=\"16\" height=\"16\" border=0></A>";
    const std::u16string body = u"工事（こうじ）</B></span><span class='kr'>공사" + speaker +
                                u"</span><span class='jp'><sup>1</sup><BR>公使</span><span class='kr'>공사" + speaker +
                                u"</span><span class='jp'><BR>公社<IMG src=\"C:\\img/noun.gif\" width=\"17\" "
                                u"height=\"16\" border=0><BR></span></BODY>\n</HTML>\n";
    EXPECT_EQ(page.html.substr(head.size()), body) << selected;
  }
}

TEST_F(PageRoot, EmptyRunNoLinkAndUnknownMarkupWritesNothing) {
  EntryRef row = Row(1, 0);
  EntryPage page;
  ASSERT_TRUE(RenderEntryPage(files_, row, Style(), -1, page));
  EXPECT_NE(page.html.find(u"<B></B></span><span class='kr'></span><span class='jp'>no link<BR></span>"),
            std::u16string::npos);
  EXPECT_EQ(page.html.find(u"app:S_"), std::u16string::npos);
}

TEST_F(PageRoot, EntryWithoutMarkupStaysBold) {
  EntryRef row = Row(1, 4);  // 학교: the last record, no <BR> after it
  EntryPage page;
  ASSERT_TRUE(RenderEntryPage(files_, row, Style(), -1, page));
  EXPECT_NE(page.html.find(u"<B>学校</span></BODY>\n</HTML>\n"), std::u16string::npos);
  EXPECT_EQ(page.html.find(u"</B>"), std::u16string::npos);
}

TEST_F(PageRoot, AnchorSplitByTheChunkBoundaryIsFound) {
  EntryRef row = Row(0, 1);  // 長: "<A name=" begins at unit 1018 of a 1023-unit chunk
  EntryPage page;
  ASSERT_TRUE(RenderEntryPage(files_, row, Style(), 1, page));
  EXPECT_EQ(page.anchor, u"here");
  EXPECT_FALSE(page.anchorError);
  EntryRef other = Row(0, 1);
  ASSERT_TRUE(RenderEntryPage(files_, other, Style(), -1, page));
  EXPECT_EQ(page.anchor, u"");  // not the jump target: no anchor looked for
}

TEST_F(PageRoot, RecordZeroMarkedAsContinuingEnds) {
  // Mark idlist record 0 of the Korean set as continuing a record before it.
  const std::string path = root_ + "OMBREL/idlist.dat";
  std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
  f.seekp(7);
  f.put(static_cast<char>(0x80));
  f.close();
  DictionaryFileSet files;
  ASSERT_TRUE(files.Open(root_));
  EntryRef row = Row(1, 0);
  EntryPage page;
  ASSERT_TRUE(RenderEntryPage(files, row, Style(), -1, page));
  EXPECT_EQ(row.idIndex, 0);
  EXPECT_NE(page.html.find(u"no link"), std::u16string::npos);
}

TEST(PageBound, HugeEntryIsCutAndTheCloseStays) {
  const std::string root = test::TempRoot("huge");
  test::WriteRoot(root, {Word(u"長", {std::u16string(300000, u'y')})}, {Word(u"가", {u"가"})});
  DictionaryFileSet files;
  ASSERT_TRUE(files.Open(root));
  EntryRef row = Row(0, 0);
  EntryPage page;
  ASSERT_TRUE(RenderEntryPage(files, row, Style(), -1, page));
  EXPECT_TRUE(page.truncated);
  EXPECT_LE(page.html.size(), PageBuffer::kCapacity);
  const std::u16string end = u"</span></BODY>\n</HTML>\n";
  EXPECT_EQ(page.html.substr(page.html.size() - end.size()), end);
}

TEST(HtmlColor, RedFirst) {
  EXPECT_EQ(HtmlColor(0x0000FF), u"#ff0000");  // COLORREF of red: 0x00BBGGRR
  EXPECT_EQ(HtmlColor(16711680), u"#0000ff");
  EXPECT_EQ(HtmlColor(0x00336699), u"#996633");
}

TEST(PageHead, ExamplePagesHaveNoLineHeight) {
  PageStyle s = Style();
  s.sizeTenths = 120;
  s.japaneseColor = 0x000080;
  EXPECT_EQ(BuildPageHead(s, false),
            u"<HTML>\n<HEAD>\n<STYLE type=\"text/css\">\n<!--\n"
            u"\t.jp { font-family: ＭＳ 明朝; font-size: 12pt; color: #800000; }\n"
            u"\t.kr { font-family: KS Mincho; font-size: 12pt; color: #0000ff; }\n-->\n"
            u"</STYLE>\n</HEAD>\n<BODY>\n");
}

std::u16string Speak(std::u16string_view piece, int direction, std::u16string_view headword = u"학교【學校】") {
  SpeakCollector c;
  c.Feed(piece, headword, direction);
  return c.Finish();
}

TEST(SpeakText, Rules) {
  struct Case {
    const char16_t* piece;
    int direction;
    const char16_t* spoken;
  } const cases[] = {
      {u"학교（學校）", 1, u"학교"},
      {u"學校", 1, u""},                 // ends with an ideograph
      {u"학교學", 1, u""},
      {u"<sup>1</sup>가다", 1, u"가다"},
      {u"<b>가</b>다", 1, u"가다"},
      {u"【學】배울 학", 1, u"배울 학"},
      {u"먹다-가", 1, u"먹다가"},
      {u"~에 가다", 1, u"학교에 가다"},  // '~' stands for the headword up to 【
      {u"~에 가다", 0, u"에 가다"},
      {u"가다\u2015", 1, u""},
      {u"가<sup>2</sup>나", 1, u"가나"},
  };
  for (const Case& c : cases) EXPECT_EQ(Speak(c.piece, c.direction), c.spoken) << "case " << (&c - cases);
  // Headword digits and parentheses are left out for '~'.
  EXPECT_EQ(Speak(u"~", 1, u"가다2(이)【加多】"), u"가다이");
  // State runs across pieces: a tag split between two pieces.
  SpeakCollector c;
  c.Feed(u"가<su", u"", 1);
  c.Feed(u"p>1</sup>나", u"", 1);
  EXPECT_EQ(c.Finish(), u"가나");
  // Bounded.
  EXPECT_EQ(Speak(std::u16string(5000, u'가'), 1).size(), SpeakCollector::kMaxUnits);
}

TEST(AppUrls, Forms) {
  AppUrl u = ParseAppUrl("app:0001234");
  EXPECT_EQ(u.kind, AppUrl::kJump);
  EXPECT_EQ(u.number, 1234);
  u = ParseAppUrl("app:12");
  EXPECT_EQ(u.kind, AppUrl::kJump);
  EXPECT_EQ(u.number, 12);
  u = ParseAppUrl("app:123456789");
  EXPECT_EQ(u.number, 1234567);  // the first seven digits
  u = ParseAppUrl("APP:S_%uD559");
  EXPECT_EQ(u.kind, AppUrl::kSpeak);
  EXPECT_EQ(u.text, "%uD559");
  u = ParseAppUrl("app:F_200");
  EXPECT_EQ(u.kind, AppUrl::kHelp);
  EXPECT_EQ(u.number, 200);
  EXPECT_EQ(ParseAppUrl("about:blank").kind, AppUrl::kNone);
  EXPECT_EQ(ParseAppUrl("app:xyz").kind, AppUrl::kNone);
  EXPECT_EQ(ParseAppUrl("ap").kind, AppUrl::kNone);
}

// ---- example pages ----

std::string ExampleFile(const std::vector<std::u16string>& lines) {
  std::vector<data::Example> ex;
  for (const auto& l : lines) {
    const size_t tab = l.find(u'\t');
    ex.push_back({l.substr(0, tab), l.substr(tab + 1), u"", {}});
  }
  return data::EncodeExampleFile(ex);
}

std::FILE* WriteTemp(const std::string& name, const std::string& bytes) {
  const std::string path = test::TempRoot(name) + "examples.dat";
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return std::fopen(path.c_str(), "rb");
}

TEST(Examples, WordsAndExcludedParts) {
  EXPECT_EQ(SplitQueryWords(u"学校 へ!行く"), (std::vector<std::u16string>{u"学校", u"へ", u"行く"}));
  EXPECT_TRUE(SplitQueryWords(u"!?.,").empty());
  EXPECT_EQ(SplitQueryWords(u"가 나 다 라 마 바 사 아 자 차 카 타 파 하 가 나").size(), 15u);
  EXPECT_TRUE(ExampleFieldMatches(u"ガッコウへ行く", {u"がっこう", u"行"}));
  EXPECT_FALSE(ExampleFieldMatches(u"<学校>へ", {u"学校"}));
  EXPECT_FALSE(ExampleFieldMatches(u"〔学校〕へ", {u"学校"}));
  EXPECT_FALSE(ExampleFieldMatches(u"家（＝学校）へ", {u"学校"}));
  EXPECT_TRUE(ExampleFieldMatches(u"家（学校）へ", {u"学校"}));
  EXPECT_FALSE(ExampleFieldMatches(u"学<b>校", {u"学校"}));
  EXPECT_EQ(GetTabField(u"a\tb\tc\n", 1), u"b");
  EXPECT_EQ(GetTabField(u"a\tb", 2), u"");
}

TEST(Examples, TooManyHitsAndLongLines) {
  std::vector<std::u16string> lines;
  lines.push_back(u"長い\t" + std::u16string(9000, u'가') + u"학교");  // longer than a block
  lines.push_back(u"学校です。\t학교예요.");
  for (int i = 0; i < 300; ++i) lines.push_back(u"学校\t학교 " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)));
  std::FILE* f = WriteTemp("examples-many", ExampleFile(lines));
  ASSERT_NE(f, nullptr);
  std::vector<int64_t> hits;
  const std::u16string page = RenderExampleSearch(f, 1, u"학교", Style(), hits);
  ASSERT_EQ(hits.size(), 256u);
  EXPECT_EQ(hits.back(), kHitsTooMany);
  // The long first line is passed over; the first hit is the second line.
  EXPECT_EQ(hits[0], static_cast<int64_t>((lines[0].size() + 1) * 2));
  EXPECT_NE(page.find(u"<span class='jp'>学校です。\uFF5C</span><span class='kr'>학교예요.</span><BR>\n"),
            std::u16string::npos);
  EXPECT_NE(page.find(u"<FONT color=red>検索結果が多すぎます。一部省略されました。</FONT></BODY>\n</HTML>\n"),
            std::u16string::npos);
  EXPECT_EQ(RenderExampleHits(f, hits, Style()), page);
  std::fclose(f);
}

TEST(Examples, NoWordsAndNoHits) {
  std::FILE* f = WriteTemp("examples-none", ExampleFile({u"学校\t학교"}));
  std::vector<int64_t> hits;
  std::u16string page = RenderExampleSearch(f, 0, u"!!", Style(), hits);
  EXPECT_NE(page.find(u"<BODY>\n検索対象を入力してください。<BR>\n</BODY>\n</HTML>\n"), std::u16string::npos);
  page = RenderExampleSearch(f, 0, u"病院", Style(), hits);
  EXPECT_NE(page.find(u"<BODY>\n該当する項目が見つかりませんでした。<BR>\n</BODY>\n</HTML>\n"), std::u16string::npos);
  EXPECT_EQ(hits, std::vector<int64_t>{kHitsEnd});
  // Direction 0 searches the Japanese field.
  page = RenderExampleSearch(f, 0, u"学校", Style(), hits);
  EXPECT_EQ(hits, (std::vector<int64_t>{0, kHitsEnd}));
  page = RenderExampleSearch(f, 1, u"学校", Style(), hits);
  EXPECT_EQ(hits, std::vector<int64_t>{kHitsEnd});
  std::fclose(f);
}

TEST(BuiltExamples, TheProjectsSentencesAreSearchable) {
  std::FILE* f = std::fopen(OMBREL_DATA_ROOT "OMBREL/examples.dat", "rb");
  ASSERT_NE(f, nullptr);
  std::vector<int64_t> hits;
  const std::u16string page = RenderExampleSearch(f, 1, u"학교", Style(), hits);
  EXPECT_GE(hits.size(), 2u);
  EXPECT_NE(page.find(u"学校は八時半に始まります。"), std::u16string::npos);
  std::fclose(f);
}

// The entry page of 학교 in the built data shows 学校 and its reading.
TEST(BuiltPages, KoreanAndJapaneseEntryPages) {
  DictionaryFileSet& files = test::BuiltData();
  for (auto [direction, key, expected] : {std::tuple{1, u"학교", u"学校（がっこう）"},
                                          std::tuple{0, u"学校", u"학교"}}) {
    EntryRef row;
    SetEntryDirection(row, direction);
    // Find the headword by reading every key would be slow: use the data's first record with that headword.
    bool found = false;
    for (int32_t i = 0; i < files.KeyCount(direction) && !found; ++i) {
      std::u16string k;
      files.ReadKey(direction, false, i, k);
      if (k != key) continue;
      row.keyIndex = i;
      ASSERT_TRUE(LoadEntryRef(files, row));
      found = true;
    }
    ASSERT_TRUE(found);
    EntryPage page;
    ASSERT_TRUE(RenderEntryPage(files, row, Style(), -1, page));
    EXPECT_NE(page.html.find(expected), std::u16string::npos) << direction;
    EXPECT_NE(page.html.find(u"app:S_"), std::u16string::npos) << direction;
    EXPECT_NE(page.html.find(u"<A href=\"app:"), std::u16string::npos) << direction;  // a jump link to a hanja
  }
}

}  // namespace
}  // namespace ombrel

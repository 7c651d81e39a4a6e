// The printed page of the editor: margins in device pixels, the printable
// area, the header and footer templates, cutting rows, the page body and the
// lazy pagination, over a measurer of fixed widths (8 pixels a single-byte
// character, 16 a Hangul syllable).
#include "print_layout.h"

#include <gtest/gtest.h>

#include "view_rig.h"

namespace editorview {
namespace {

using test::Converter;
using test::FixedMeasurer;
using test::U8;

// "時", "分", "秒", "年", "月", "日" in code page 932.
const std::string kJi = "\x8E\x9E", kFun = "\x95\xAA", kByou = "\x95" "b";
const std::string kNen = "\x94N", kGatsu = "\x8C\x8E", kNichi = "\x93\xFA";

// A4 at 600 dpi: 210 x 297 mm, with a printable area 100 pixels in from the
// top-left corner and 100 from the bottom-right one.
fw::PageMetrics A4At600() {
  fw::PageMetrics m;
  m.logPixelsX = m.logPixelsY = 600;
  m.physicalWidth = 4960;
  m.physicalHeight = 7015;
  m.physicalOffsetX = m.physicalOffsetY = 100;
  m.horzRes = 4760;
  m.vertRes = 6815;
  return m;
}

PageSettings Margins(int left, int right, int top, int bottom) {
  PageSettings s;
  s.leftMargin = left;
  s.rightMargin = right;
  s.topMargin = top;
  s.bottomMargin = bottom;
  return s;
}

TEST(PrintMargins, DevicePixelsTable) {
  struct Case {
    const char* what;
    PageSettings settings;
    fw::PageRect expected;
  } cases[] = {
      // 15 mm = 354.33 pixels at 600 dpi, less the 100 pixels the printer cannot reach.
      {"15 mm all round", Margins(15, 15, 15, 15), {254, 254, 4960 - 100 - 354, 7015 - 100 - 354}},
      // Inside the unprintable strip: the edges of the printable area.
      {"no margins", Margins(0, 0, 0, 0), {0, 0, 4760, 6815}},
      {"2 mm (47.2 pixels) within the strip", Margins(2, 2, 2, 2), {0, 0, 4760, 6815}},
      // 100 mm = 2362.2 pixels.
      {"100 mm left and right", Margins(100, 100, 15, 15), {2262, 254, 4960 - 100 - 2362, 7015 - 100 - 354}},
      {"uneven", Margins(10, 20, 30, 40), {236 - 100, 708 - 100, 4960 - 100 - 472, 7015 - 100 - 944}},
  };
  for (const auto& c : cases) EXPECT_EQ(MarginRect(A4At600(), c.settings), c.expected) << c.what;
}

TEST(PrintMargins, PrintableAreaOfThirtyMillimetres) {
  const fw::PageMetrics page = A4At600();
  // 30 mm are 708.66 pixels at 600 dpi.
  EXPECT_FALSE(PrintableAreaFits({0, 0, 708, 2000}, page));
  EXPECT_TRUE(PrintableAreaFits({0, 0, 709, 2000}, page));
  EXPECT_FALSE(PrintableAreaFits({0, 0, 2000, 708}, page));
  EXPECT_TRUE(PrintableAreaFits(MarginRect(page, Margins(15, 15, 15, 15)), page));
  // 100 mm margins on an A4 width leave 10 mm.
  EXPECT_FALSE(PrintableAreaFits(MarginRect(page, Margins(100, 100, 15, 15)), page));
}

TEST(HeaderFooter, ExpansionTable) {
  const PrintTime time{2026, 12, 11, 9, 5, 7};
  struct Case {
    const char* what;
    std::string templ;
    HeaderFooterLine expected;
  } cases[] = {
      {"file name, left by default", field::kFileName, {"memo.txt", LineAlign::kLeft}},
      {"page number centred", std::string(field::kPageNumber) + field::kCenter, {"3", LineAlign::kCenter}},
      {"date, blank, right", std::string(field::kDate) + " " + field::kRight,
       {"2026" + kNen + "12" + kGatsu + "11" + kNichi + " ", LineAlign::kRight}},
      {"time", field::kTime, {"9" + kJi + "5" + kFun + "7" + kByou, LineAlign::kLeft}},
      {"two ampersands before a letter", "&&A", {"&&A", LineAlign::kLeft}},
      {"an ampersand at the end", "A&", {"A&", LineAlign::kLeft}},
      {"an unknown field stays", "&[x]", {"&[x]", LineAlign::kLeft}},
      {"the last alignment wins", std::string(field::kRight) + "x" + field::kLeft, {"x", LineAlign::kLeft}},
      {"text around fields", "p." + std::string(field::kPageNumber) + " of " + field::kFileName,
       {"p.3 of memo.txt", LineAlign::kLeft}},
      {"empty", "", {"", LineAlign::kLeft}},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandHeaderFooter(c.templ, "memo.txt", 3, time), c.expected) << c.what;
}

TEST(HeaderFooter, CutAtThreeHundredBytesOnACharacter) {
  const PrintTime time{};
  EXPECT_EQ(ExpandHeaderFooter(std::string(400, 'a'), "", 1, time).text, std::string(300, 'a'));
  // A double-byte character across byte 300 is left out whole.
  EXPECT_EQ(ExpandHeaderFooter(std::string(299, 'a') + kJi, "", 1, time).text, std::string(299, 'a'));
  EXPECT_EQ(ExpandHeaderFooter(std::string(298, 'a') + kJi, "", 1, time).text, std::string(298, 'a') + kJi);
  // A long file name is cut like the rest.
  EXPECT_EQ(ExpandHeaderFooter(field::kFileName, std::string(500, 'f'), 1, time).text.size(), 300u);
}

// Korean typed into a template is kept as references in the code page 932
// text (the INI file's) and comes back as typed, also out of an expanded
// line cut at 300 bytes.
TEST(HeaderFooter, KoreanInATemplateComesBackAsTyped) {
  const codeconv::CodePageConverter& pages = codeconv::PlatformCodePages();
  struct Case {
    const char* what;
    std::u16string typed;
    std::string stored;
  };
  const std::vector<Case> cases = {
      {"a field and two syllables", u"&[ﾌｧｲﾙ名] 한글", std::string(field::kFileName) + " &#xD55C;&#xAE00;"},
      {"Japanese stays code page 932", u"頁", "\x95\xC5"},
      {"a character beyond U+FFFF", u"\U0001F600", "&#x1F600;"},
      {"an ampersand before # is written as a reference", u"a&#b", "a&#x26;#b"},
      {"plain ampersands stay", u"&&x", "&&x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(TemplateFromUtf16(c.typed, pages), c.stored);
    EXPECT_EQ(TemplateToUtf16(c.stored, pages), c.typed);
  }
  // Text that only looks like a reference stays as it is.
  EXPECT_EQ(TemplateToUtf16("&#x41 z", pages), u"&#x41 z");
  EXPECT_EQ(TemplateToUtf16("&#xZ;", pages), u"&#xZ;");
  // Expanded with the fields and cut at 300 bytes: 37 whole syllables of 8
  // bytes (296), the 38th cut off and left out, never shown in part.
  const std::u16string forty(40, u'\uD55C');
  const HeaderFooterLine line = ExpandHeaderFooter(TemplateFromUtf16(forty, pages), "", 1, PrintTime{});
  EXPECT_EQ(line.text.size(), 300u);
  EXPECT_EQ(TemplateToUtf16(line.text, pages), std::u16string(37, u'\uD55C'));
}

TEST(HeaderFooter, AlignedX) {
  EXPECT_EQ(AlignedX(LineAlign::kLeft, 100, 500, 40), 100);
  EXPECT_EQ(AlignedX(LineAlign::kCenter, 100, 500, 40), 280);
  EXPECT_EQ(AlignedX(LineAlign::kRight, 100, 500, 40), 460);
}

class PrintRows : public ::testing::Test {
 protected:
  PrintRows() {
    measure_.singleByte.fill(test::kNarrow);
    measure_.averageWidth = test::kNarrow;
    measure_.extent = [this](std::string_view s) { return MeasureRun(code_, measurer_, s); };
  }
  int Fit(int width, std::string_view text) { return FitRowBytes(code_, measure_, width, text); }

  TextCode code_{LineCode::kUtf8, Converter(), codeconv::PlatformCodePages()};
  FixedMeasurer measurer_;
  RowMeasure measure_;
};

TEST_F(PrintRows, FitRowBytesTable) {
  const std::string ga = U8(u"가");
  struct Case {
    const char* what;
    int width;
    std::string text;
    int expected;
  } cases[] = {
      {"ASCII fills the width", 80, std::string(20, 'a'), 10},
      {"ASCII shorter than the width", 80, "abc", 3},
      {"syllables fill the width", 80, ga + ga + ga + ga + ga + ga, 15},
      {"a syllable does not split", 88, ga + ga + ga + ga + ga + ga, 15},
      {"the estimate stops at a CR", 80, "ab\r\ncd", 2},
      {"a syllable wider than the row stands alone", 10, ga + ga, 3},
      {"an ASCII letter wider than the row stands alone", 4, "ab", 1},
      {"empty", 80, "", 0},
      {"a CR first", 80, "\r\nab", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Fit(c.width, c.text), c.expected) << c.what;
}

TEST_F(PrintRows, ExactExtentCorrectsTheEstimate) {
  // The estimate takes 8 pixels a letter; the font measures 4: more fit.
  measure_.extent = [](std::string_view s) { return 4 * static_cast<int>(s.size()); };
  EXPECT_EQ(Fit(40, std::string(20, 'i')), 10);
  // The estimate takes 4; the font measures 8: fewer fit.
  measure_.singleByte.fill(4);
  measure_.extent = [](std::string_view s) { return 8 * static_cast<int>(s.size()); };
  EXPECT_EQ(Fit(40, std::string(20, 'w')), 5);
}

TEST_F(PrintRows, TabMeasuresAsABlank) {
  // A font whose TAB glyph has no width: the row still holds ten blanks' worth.
  class TabBlindMeasurer final : public TextMeasurer {
   public:
    int WidthOfUnits(std::u16string_view units) override {
      int w = 0;
      for (char16_t u : units) w += u == u'\t' ? 0 : test::kNarrow;
      return w;
    }
    int WidthOfBytes(std::string_view bytes) override { return test::kNarrow * static_cast<int>(bytes.size()); }
  } measurer;
  measure_.extent = [&](std::string_view s) { return MeasureRun(code_, measurer, s); };
  EXPECT_EQ(Fit(80, std::string(20, '\t')), 10);
}

TEST_F(PrintRows, GmFontMeasuresTheGmBytes) {
  // A GM font is measured with the ANSI extent of the GM double bytes.
  class BytesOnly final : public TextMeasurer {
   public:
    int WidthOfUnits(std::u16string_view) override { return 1000; }
    int WidthOfBytes(std::string_view bytes) override {
      seen += bytes;
      return 10 * static_cast<int>(bytes.size());
    }
    std::string seen;
  } measurer;
  code_.SetCharset(kGmCharset);
  const std::string ga = U8(u"가");
  EXPECT_EQ(MeasureRun(code_, measurer, ga + "a"), 30);
  EXPECT_EQ(measurer.seen, code_.UnicodeToCode(u"가a", kCodeGm));
  EXPECT_EQ(measurer.seen.size(), 3u);
}

class PrintPages : public PrintRows {
 protected:
  // A body of 5 rows of 20 pixels, 88 pixels wide (80 less "1").
  PageBodyLayout Layout() const {
    PageBodyLayout l;
    l.rect = {0, 0, 88, 100};
    l.rowHeight = 20;
    l.rowWidth = 80;
    return l;
  }
  PagePosition LayOut(PagePosition start, const PageBodyLayout& layout, std::vector<PrintedRow>* rows = nullptr) {
    return LayOutPageBody(
        doc_, start, layout, [&](std::string_view s) { return Fit(layout.rowWidth, s); },
        [&](const PrintedRow& r) {
          if (rows) rows->push_back(r);
        });
  }
  Pagination Paginate(const PageBodyLayout& layout) {
    Pagination p;
    p.PaginateTo(kUnknown, doc_.LineCount(), [&](PagePosition s) { return LayOut(s, layout); });
    return p;
  }
  static constexpr int kUnknown = fw::kUnknownMaxPage;
  MemoryDocument doc_;
};

TEST_F(PrintPages, EmptyDocumentIsOnePageWithHeaderAndFooterOnly) {
  PageBodyLayout layout = Layout();
  layout.header = layout.footer = true;
  layout.headerHeight = 10;
  std::vector<PrintedRow> rows;
  EXPECT_EQ(LayOut({0, 0}, layout, &rows), (PagePosition{1, 0}));
  ASSERT_EQ(rows.size(), 1u);  // the empty line's one row, 2 h below the top
  EXPECT_EQ(rows[0].length, 0);
  EXPECT_EQ(rows[0].y, 20);
  EXPECT_EQ(Paginate(layout).KnownPages(), 1);
}

TEST_F(PrintPages, LongLineContinuesOnTheNextPageWhereThePageEnded) {
  // 11 letters a row: 10 fit in 80 pixels, and the letter at the cut comes along.
  doc_.Assign({std::string(60, 'a'), "b"});
  std::vector<PrintedRow> rows;
  const PagePosition end = LayOut({0, 0}, Layout(), &rows);
  EXPECT_EQ(end, (PagePosition{0, 55}));
  ASSERT_EQ(rows.size(), 5u);
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].offset, static_cast<int>(11 * i));
    EXPECT_EQ(rows[i].length, 11);
    EXPECT_EQ(rows[i].y, static_cast<int>(20 * i));
  }
  rows.clear();
  EXPECT_EQ(LayOut(end, Layout(), &rows), (PagePosition{2, 0}));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].offset, 55);
  EXPECT_EQ(rows[0].length, 5);
  EXPECT_EQ(rows[1].line, 1);
  const Pagination p = Paginate(Layout());
  EXPECT_EQ(p.Starts(), (std::vector<PagePosition>{{0, 0}, {0, 55}}));
}

TEST_F(PrintPages, HangulRowsTakeNoExtraByte) {
  const std::string ga = U8(u"가");
  std::string line;
  for (int i = 0; i < 12; ++i) line += ga;
  doc_.Assign({line});
  std::vector<PrintedRow> rows;
  LayOut({0, 0}, Layout(), &rows);
  ASSERT_EQ(rows.size(), 3u);  // 5 + 5 + 2 syllables
  EXPECT_EQ(rows[0].length, 15);
  EXPECT_EQ(rows[1].offset, 15);
  EXPECT_EQ(rows[2].length, 6);
}

TEST_F(PrintPages, CrEndsTheRowAndSkipsTwoBytes) {
  doc_.Assign({"ab\r\ncd", "ef\r"});
  std::vector<PrintedRow> rows;
  LayOut({0, 0}, Layout(), &rows);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ((std::pair{rows[0].offset, rows[0].length}), (std::pair{0, 2}));
  EXPECT_EQ((std::pair{rows[1].offset, rows[1].length}), (std::pair{4, 2}));
  EXPECT_EQ((std::pair{rows[2].line, rows[2].length}), (std::pair{1, 2}));  // a CR at the end skips only itself
}

TEST_F(PrintPages, EmptyLinesTakeOneRowEach) {
  doc_.Assign({"", "", "", "", "", "", "x"});
  const Pagination p = Paginate(Layout());
  EXPECT_EQ(p.Starts(), (std::vector<PagePosition>{{0, 0}, {5, 0}}));
}

TEST_F(PrintPages, CharacterWiderThanTheRowStillAdvances) {
  const std::string ga = U8(u"가");
  doc_.Assign({ga + ga + ga + ga + ga + ga + ga});
  PageBodyLayout layout = Layout();
  layout.rowWidth = 10;  // less than a syllable
  const Pagination p = Paginate(layout);
  // One syllable a row, five rows a page.
  EXPECT_EQ(p.Starts(), (std::vector<PagePosition>{{0, 0}, {0, 15}}));
}

TEST_F(PrintPages, PageTooLowForOneRowStillTakesOne) {
  doc_.Assign({"a", "b", "c"});
  PageBodyLayout layout = Layout();
  layout.rowHeight = 500;
  EXPECT_EQ(Paginate(layout).Starts(), (std::vector<PagePosition>{{0, 0}, {1, 0}, {2, 0}}));
}

TEST_F(PrintPages, PaginateToStopsAtThePageAskedFor) {
  std::vector<std::string> lines(23, "x");
  doc_.Assign(lines);
  Pagination p;
  int layouts = 0;
  const auto layOut = [&](PagePosition s) {
    ++layouts;
    return LayOut(s, Layout());
  };
  EXPECT_TRUE(p.PaginateTo(3, doc_.LineCount(), layOut));
  EXPECT_EQ(p.KnownPages(), 3);
  EXPECT_EQ(layouts, 2);
  EXPECT_TRUE(p.PaginateTo(2, doc_.LineCount(), layOut));  // known: nothing laid out
  EXPECT_EQ(layouts, 2);
  EXPECT_TRUE(p.PaginateTo(5, doc_.LineCount(), layOut));
  EXPECT_FALSE(p.PaginateTo(6, doc_.LineCount(), layOut));  // 23 lines are 5 pages
  EXPECT_EQ(p.KnownPages(), 5);
  EXPECT_EQ(p.Start(5), (PagePosition{20, 0}));
  // A printed page adds its successor only when it is the last known one.
  p.PageEnded(2, {99, 0}, doc_.LineCount());
  EXPECT_EQ(p.KnownPages(), 5);
}

TEST(PreviewStartPage, PageHoldingTheCaretLine) {
  Pagination p;
  for (PagePosition s : {PagePosition{3, 0}, PagePosition{3, 40}, PagePosition{7, 0}}) p.PageEnded(p.KnownPages(), s, 10);
  ASSERT_EQ(p.KnownPages(), 4);
  struct Case {
    int line;
    int page;
  } cases[] = {{0, 1}, {2, 1}, {3, 3}, {6, 3}, {7, 4}, {9, 4}};
  for (const auto& c : cases) EXPECT_EQ(p.PageOfLine(c.line), c.page) << "line " << c.line;
}

TEST(PrintFonts, PointSizeArithmetic) {
  EXPECT_EQ(ViewFontPoints(-21, 96), 16);   // (48 + 1512) / 96
  EXPECT_EQ(ViewFontPoints(21, 96), 16);
  EXPECT_EQ(ViewFontPoints(0, 96), 12);     // 16 pixels: (48 + 1152) / 96
  EXPECT_EQ(ViewFontPoints(-16, 120), 10);  // (60 + 1152) / 120
  EXPECT_EQ(FontHeightForPoints(16, 600), -133);  // 133.3
  EXPECT_EQ(FontHeightForPoints(11, 600), -92);   // 91.7
  EXPECT_EQ(FontHeightForPoints(11, 300), -46);   // 45.83
  EXPECT_EQ(MulDivRound(1, 3, 2), 2);
  EXPECT_EQ(MulDivRound(-1, 3, 2), -2);
  EXPECT_EQ(MulDivRound(1, 1, 0), -1);
}

TEST(PageSettingsDefaults, FifteenMillimetresFileNameAndCentredPageNumber) {
  const PageSettings s = DefaultPageSettings();
  EXPECT_EQ(s, (PageSettings{15, 15, 15, 15, "&[\xCC\xA7\xB2\xD9\x96\xBC]",
                             "&[\xCD\xDF\xB0\xBC\xDE\x94\xD4\x8D\x86]&[\x92\x86\x89\x9B]"}));
}

}  // namespace
}  // namespace editorview

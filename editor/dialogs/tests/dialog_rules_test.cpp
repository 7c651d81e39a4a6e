#include "dialog_rules.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace brisel {
namespace {

// ---- faces ----

TEST(FaceFilter, SortsFacesByCharsetAndName) {
  struct Case {
    std::u16string face;
    int charset;
    FaceCode code;
  };
  const Case cases[] = {
      {u"ＧＭ韓国明朝", 128, FaceCode::kGm},
      {u"ＧＭ韓国ゴシック", 128, FaceCode::kGm},
      {u"@ＧＭ韓国明朝", 128, FaceCode::kNone},  // vertical
      {u"ＭＳ 明朝", 128, FaceCode::kNone},      // Japanese, not GM
      {u"ＧＭ韓国明朝", 129, FaceCode::kKs},     // a KS charset is KS by its charset alone
      {u"NanumGothic", 129, FaceCode::kKs},
      {u"@NanumGothic", 129, FaceCode::kNone},
      {u"NanumGothic", 0, FaceCode::kNone},
      {u"ＧＭ韓", 128, FaceCode::kNone},         // shorter than the prefix
      {u"", 129, FaceCode::kKs},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifyFace(c.face, c.charset), c.code) << std::string(c.face.begin(), c.face.end()) << " " << c.charset;
  }
}

TEST(FaceFilter, ListKeepsEachFaceAndCharsetOnceInOrder) {
  FaceList list;
  list.Add(u"NanumGothic", 129, 0x22, kTrueTypeFontType, -16);
  list.Add(u"NanumGothic", 0, 0x22, kTrueTypeFontType, -16);   // Western: dropped
  list.Add(u"@NanumGothic", 129, 0x22, kTrueTypeFontType, -16);  // vertical: dropped
  list.Add(u"ＧＭ韓国明朝", 128, 0x11, kTrueTypeFontType, -16);
  list.Add(u"NanumGothic", 129, 0x22, kTrueTypeFontType, -16);  // reported again
  list.Add(u"NanumMyeongjo", 129, 0x12, kTrueTypeFontType, -16);
  ASSERT_EQ(list.Faces().size(), 3u);
  EXPECT_EQ(list.Faces()[0].name, u"NanumGothic");
  EXPECT_EQ(list.Faces()[0].pitchAndFamily, 0x22);
  EXPECT_EQ(list.Faces()[1].name, u"ＧＭ韓国明朝");
  EXPECT_EQ(list.Faces()[2].name, u"NanumMyeongjo");
  const auto ks = list.OfCode(FaceCode::kKs);
  ASSERT_EQ(ks.size(), 2u);
  EXPECT_EQ(ks[1]->name, u"NanumMyeongjo");
  EXPECT_EQ(list.OfCode(FaceCode::kGm).size(), 1u);
  EXPECT_TRUE(list.Faces()[0].rasterHeights.empty()) << "a TrueType face collects no heights";
}

TEST(FaceFilter, RasterFaceCollectsItsHeights) {
  FaceList list;
  for (int h : {13, 16, 16, 20}) list.Add(u"KoreanRaster", 129, 0x31, kRasterFontType, h);
  ASSERT_EQ(list.Faces().size(), 1u);
  EXPECT_EQ(list.Faces()[0].rasterHeights, (std::vector<int>{13, 16, 16, 20}));
}

TEST(FaceFilter, NamesCompareWithoutCaseOfAsciiLetters) {
  const std::vector<std::u16string> names = {u"NanumGothic", u"KS P Mincho", u"ＧＭ韓国明朝"};
  EXPECT_EQ(FindFaceName(names, u"ks p mincho"), 1);
  EXPECT_EQ(FindFaceName(names, u"NANUMGOTHIC"), 0);
  EXPECT_EQ(FindFaceName(names, u"ＧＭ韓国明朝"), 2);
  EXPECT_EQ(FindFaceName(names, u"NanumGothic "), -1);
  EXPECT_EQ(FindFaceName(names, u"Fixedsys"), -1);
}

// ---- sizes ----

TEST(SizeList, ScalableFacesOfferEightToThirtyTwo) {
  EXPECT_EQ(ScalablePointSizes(), (std::vector<int>{8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32}));
  FaceEntry ttf;
  ttf.fontType = kTrueTypeFontType;
  ttf.rasterHeights = {12};
  EXPECT_EQ(PointSizesOf(ttf, 96), ScalablePointSizes());
}

TEST(SizeList, RasterSizesAreRoundedUpPointsWithoutRepeats) {
  // 96 dpi: 13 px = 9.75 pt -> 10; 16 px = 12 pt; 15 px = 11.25 -> 12 (a repeat); 20 px = 15.
  const int heights[] = {13, 16, 15, -20, 16};
  EXPECT_EQ(RasterPointSizes(heights, 96), (std::vector<int>{10, 12, 15}));
  // 120 dpi: 20 px = 12 pt exactly; 21 px = 12.6 -> 13.
  const int more[] = {20, 21};
  EXPECT_EQ(RasterPointSizes(more, 120), (std::vector<int>{12, 13}));
  FaceEntry raster;
  raster.fontType = kRasterFontType;
  raster.rasterHeights = {13, 16};
  EXPECT_EQ(PointSizesOf(raster, 96), (std::vector<int>{10, 12}));
}

TEST(SizeList, HeightOfPointsFollowsMulDivOfHundredths) {
  struct Case {
    int points, dpi, height;
  };
  // -(MulDiv(points x 100, dpi, 72) / 100), worked by hand.
  const Case cases[] = {
      {16, 96, -21},   // 1600 x 96 / 72 = 2133.3 -> 2133 -> 21
      {12, 96, -16},   // 1600 exactly
      {8, 96, -10},    // 1066.7 -> 1067 -> 10
      {10, 96, -13},   // 1333.3 -> 1333 -> 13
      {9, 120, -15},   // 1500 exactly
      {11, 120, -18},  // 1833.3 -> 1833 -> 18
      {32, 96, -42},   // 4266.7 -> 4267 -> 42
  };
  for (const Case& c : cases) EXPECT_EQ(HeightOfPoints(c.points, c.dpi), c.height) << c.points << " pt at " << c.dpi;
}

TEST(SizeList, MulDivRoundsHalfAwayFromZero) {
  EXPECT_EQ(MulDivRound(3, 1, 2), 2);
  EXPECT_EQ(MulDivRound(-3, 1, 2), -2);
  EXPECT_EQ(MulDivRound(5, 1, 4), 1);
  EXPECT_EQ(MulDivRound(7, 1, 0), -1);
  EXPECT_EQ(MulDivRound(100000, 100000, 100000), 100000) << "no overflow in the product";
}

TEST(SizeList, ViewHeightMapsToItsPointSizeAndBack) {
  // The view's default -21 at 96 dpi is 16 points; 16 points give -21 again.
  EXPECT_EQ(PointsOfHeight(-21, 96), 16);
  EXPECT_EQ(HeightOfPoints(PointsOfHeight(-21, 96), 96), -21);
  EXPECT_EQ(PointsOfHeight(-16, 96), 12);
  EXPECT_EQ(PointsOfHeight(0, 0), 0);
}

TEST(SizeList, SizeTextIsThreeWide) {
  EXPECT_EQ(SizeText(8), u"  8");
  EXPECT_EQ(SizeText(32), u" 32");
  EXPECT_EQ(SizeText(128), u"128");
  const std::vector<int> sizes = {8, 10, 12};
  EXPECT_EQ(FindSize(sizes, 10), 1);
  EXPECT_EQ(FindSize(sizes, 11), -1);
}

TEST(FontSample, LetterInTheCodeOfTheFace) {
  const auto& gm = codeconv::test::GeneratedConverter();
  // 글자: KS B1DB C0DA; GM (the Shift-JIS arithmetic on row and cell):
  // row 17 cell 59 -> 89 7A, row 32 cell 58 -> 90 D8.
  EXPECT_EQ(SampleTextBytes(FaceCode::kKs, gm), "Sample\xB1\xDB\xC0\xDA");
  EXPECT_EQ(SampleTextBytes(FaceCode::kGm, gm), "Sample\x89\x7A\x90\xD8");
}

// ---- texts of the search boxes ----

std::string Repeat(std::string_view s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(SearchText, CutAtTheFirstCrAndOnACharacterBoundary) {
  const std::string han = "\xED\x95\x9C";  // 한, three bytes
  struct Case {
    std::string in;
    std::string out;
    const char* what;
  };
  const Case cases[] = {
      {"first line\r\nsecond line", "first line", "two lines: the first"},
      {"\r\nafter", "", "a selection starting with a line break"},
      {"plain", "plain", "short text stays"},
      {Repeat(han, 50), Repeat(han, 40), "50 Korean characters (150 bytes) arrive as 40 (120 bytes)"},
      {"a" + Repeat(han, 50), "a" + Repeat(han, 39), "a character across byte 120 goes whole"},
      {std::string(120, 'x'), std::string(120, 'x'), "exactly 120 bytes stay"},
      {std::string(121, 'x'), std::string(120, 'x'), "121 bytes are cut to 120"},
      {Repeat(han, 50) + "\rmore", Repeat(han, 40), "the CR first, then the length"},
  };
  for (const Case& c : cases) EXPECT_EQ(InitialSearchText(c.in), c.out) << c.what;
}

TEST(SearchText, CutUtf8KeepsWholeCharacters) {
  const std::string text = "ab\xEA\xB8\x80\xEC\x9E\x90";  // ab글자
  EXPECT_EQ(CutUtf8(text, 8), text);
  EXPECT_EQ(CutUtf8(text, 7), "ab\xEA\xB8\x80");
  EXPECT_EQ(CutUtf8(text, 5), "ab\xEA\xB8\x80");
  EXPECT_EQ(CutUtf8(text, 4), "ab");
  EXPECT_EQ(CutUtf8(text, 0), "");
}

// ---- page switches ----

TEST(PageSwitch, CarriesTextAndMatchCaseToTheOtherPage) {
  struct Case {
    int remembered, now;
    bool sourceExists, targetExists;
    bool carries;
    bool intoControl;
    const char* what;
  };
  const Case cases[] = {
      {0, 1, true, false, true, false, "find to a replace page not made yet: its initial text"},
      {0, 1, true, true, true, true, "find to the replace page: into its box"},
      {1, 0, true, true, true, true, "replace back to find: into its box"},
      {-1, 0, false, true, false, false, "the sheet's first page: nothing to carry"},
      {-1, 1, false, true, false, false, "opened on the replace page: the seed stays"},
      {0, 0, true, true, false, false, "the same page again"},
      {1, 0, false, true, false, false, "a page without a window has nothing typed"},
  };
  for (const Case& c : cases) {
    const auto carry = PlanPageSwitch(c.remembered, c.now, c.sourceExists, c.targetExists, "text", true);
    ASSERT_EQ(carry.has_value(), c.carries) << c.what;
    if (!carry) continue;
    EXPECT_EQ(carry->target, c.now) << c.what;
    EXPECT_EQ(carry->intoControl, c.intoControl) << c.what;
    EXPECT_EQ(carry->text, "text") << c.what;
    EXPECT_TRUE(carry->matchCase) << c.what;
  }
}

TEST(PageSwitch, TheTargetPagesFlagTakesTheCarriedOne) {
  FindOptions o;
  auto toReplace = PlanPageSwitch(kFindPage, kReplacePage, true, false, "abc", true);
  ASSERT_TRUE(toReplace);
  ApplyCarriedFlag(o, *toReplace);
  EXPECT_TRUE(o.replaceMatchCase);
  EXPECT_FALSE(o.findMatchCase);
  auto back = PlanPageSwitch(kReplacePage, kFindPage, true, true, "abc", false);
  ASSERT_TRUE(back);
  o.findMatchCase = true;
  ApplyCarriedFlag(o, *back);
  EXPECT_FALSE(o.findMatchCase);
  EXPECT_TRUE(o.forward) << "the direction is not carried";
}

TEST(PageSwitch, CarriedTextIsReadUpTo512Bytes) {
  const std::string long600(600, 'q');
  const auto carry = PlanPageSwitch(kFindPage, kReplacePage, true, true, long600, false);
  ASSERT_TRUE(carry);
  EXPECT_EQ(carry->text.size(), 512u);
}

// ---- the settings dialog's copy controls ----

TEST(CopyControls, StandAsTheFlagAndTheFacesSay) {
  struct Case {
    bool hasFaces, flag;
    CopyControls expected;
    const char* what;
  };
  const Case cases[] = {
      {true, true, {true, true, true, true}, "faces, rich text: the box works"},
      {true, false, {false, true, false, false}, "faces, text: the box is disabled"},
      {false, true, {false, false, false, false}, "no faces: text only and the flag is cleared"},
      {false, false, {false, false, false, false}, "no faces, text"},
  };
  for (const Case& c : cases) {
    const CopyControls got = InitialCopyControls(c.hasFaces, c.flag);
    EXPECT_EQ(got.richChecked, c.expected.richChecked) << c.what;
    EXPECT_EQ(got.richEnabled, c.expected.richEnabled) << c.what;
    EXPECT_EQ(got.boxEnabled, c.expected.boxEnabled) << c.what;
    EXPECT_EQ(got.flag, c.expected.flag) << c.what;
  }
}

TEST(CopyControls, ARadioSetsTheFlagAtOnce) {
  CopyControls c = InitialCopyControls(true, false);
  c = ChooseCopy(c, true);
  EXPECT_TRUE(c.flag);
  EXPECT_TRUE(c.boxEnabled);
  c = ChooseCopy(c, false);
  EXPECT_FALSE(c.flag);
  EXPECT_FALSE(c.boxEnabled);
  // Without faces rich text cannot be chosen.
  CopyControls none = ChooseCopy(InitialCopyControls(false, true), true);
  EXPECT_FALSE(none.flag);
}

}  // namespace
}  // namespace brisel

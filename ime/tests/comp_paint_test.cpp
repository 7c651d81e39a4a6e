// What the composition window paints: colours, the cursor mark on a copy,
// attribute runs, the composition font's corrections and the close box.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "code_page.h"
#include "comp_paint.h"

namespace ime {
namespace {

constexpr uint32_t kYellow = 0x00FFFF, kCyan = 0xFFFF00, kWhite = 0xFFFFFF;

TEST(Palette, EightColoursAndBlackOutside) {
  const uint32_t expected[8] = {0x000000, 0xFF0000, 0x0000FF, 0xFF00FF, 0x00FF00, 0xFFFF00, 0x00FFFF, 0xFFFFFF};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(PaletteColour(i), expected[i]) << i;
  for (int i : {8, 72, 255, -1, -48}) EXPECT_EQ(PaletteColour(i), kBlack) << i;
}

TEST(Palette, DefaultColoursOfTheAttributes) {
  const ColourPair in = kDefaultInputColour, conv = kDefaultConvColour;
  EXPECT_EQ(AttributeColours(kAttrInput, in, conv), (RunColours{true, kYellow, kBlack}));
  EXPECT_EQ(AttributeColours(kAttrTargetConverted, in, conv), (RunColours{true, kBlack, kCyan}));
  EXPECT_EQ(AttributeColours(kAttrConverted, in, conv), (RunColours{true, kCyan, kBlack}));
  EXPECT_EQ(AttributeColours(kAttrTargetNotConverted, in, conv), (RunColours{true, kBlack, kMagenta}));
  EXPECT_EQ(AttributeColours(kAttrCursorMark, in, conv), (RunColours{true, kBlack, kYellow}));
  EXPECT_FALSE(AttributeColours(4, in, conv).set);
  // A malformed colour setting ("x" gives 72) paints black.
  EXPECT_EQ(AttributeColours(kAttrInput, ParseColour("x", in), conv), (RunColours{true, kBlack, kBlack}));
  EXPECT_EQ(AttributeColours(kAttrInput, ParseColour("7,", in), conv), (RunColours{true, kWhite, kBlack}));
}

ImeCompString UnicodeComp(const std::u16string& text, std::initializer_list<uint8_t> attrs, uint32_t cursor) {
  ImeCompString cs{};
  InitCompStr(cs, kBothParts);
  for (size_t i = 0; i < text.size(); ++i) {
    cs.compStr[2 * i] = static_cast<uint8_t>(text[i]);
    cs.compStr[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
  }
  cs.h.dwCompStrLen = static_cast<uint32_t>(text.size());
  size_t i = 0;
  for (uint8_t a : attrs) cs.compAttr[i++] = a;
  cs.h.dwCompAttrLen = static_cast<uint32_t>(attrs.size());
  cs.h.dwCursorPos = cursor;
  return cs;
}

TEST(PaintText, UnicodeBecomesKsBytesWithRepeatedAttributes) {
  // 한, a converted 國 and a single-byte 1.
  const ImeCompString cs = UnicodeComp(u"\xD55C\x570B" u"1", {0, 1, 2}, 1);
  const PaintText t = PaintTextOf(cs, true, codeconv::PlatformCodePages());
  ASSERT_EQ(t.bytes.size(), 5u);
  EXPECT_EQ(t.bytes.substr(0, 2), "\xc7\xd1");
  EXPECT_EQ(t.attrs, (std::vector<uint8_t>{0, 0, 1, 1, 2}));
  EXPECT_EQ(t.cursor, 2u);
}

TEST(PaintText, AnsiBytesAreCopiedWithinTheirAreas) {
  ImeCompString cs{};
  InitCompStr(cs, kBothParts);
  std::memcpy(cs.compStr, "\xb0\xa1\xb3\xaa", 4);
  cs.h.dwCompStrLen = 4;
  cs.h.dwCompAttrLen = 2;  // short attribute area: the rest counts as input
  cs.compAttr[0] = cs.compAttr[1] = 1;
  cs.h.dwCursorPos = 99;
  PaintText t = PaintTextOf(cs, false, codeconv::PlatformCodePages());
  EXPECT_EQ(t.bytes, "\xb0\xa1\xb3\xaa");
  EXPECT_EQ(t.attrs, (std::vector<uint8_t>{1, 1, 0, 0}));
  EXPECT_EQ(t.cursor, 4u);
  cs.h.dwCompStrLen = 5000;  // a damaged length reads no further than the area
  EXPECT_EQ(PaintTextOf(cs, false, codeconv::PlatformCodePages()).bytes.size(), sizeof cs.compStr);
}

TEST(CursorMark, MarksACopyAndLeavesTheRecordAlone) {
  const ImeCompString cs = UnicodeComp(u"\xD55C\xAD6D", {0, 0}, 1);  // 한국, cursor before 국
  ImeCompString before = cs;
  PaintText t = PaintTextOf(cs, true, codeconv::PlatformCodePages());
  MarkCursor(t, IsCp949Lead);
  EXPECT_EQ(t.attrs, (std::vector<uint8_t>{0, 0, 0xFF, 0xFF}));
  EXPECT_EQ(std::memcmp(&cs, &before, sizeof cs), 0);
  const auto runs = AttributeRuns(t, {0, t.bytes.size()});
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0], (AttributeRun{0, 2, 0}));
  EXPECT_EQ(runs[1], (AttributeRun{2, 2, 0xFF}));
}

TEST(CursorMark, OnlyBeforeTheEndAndOnInputText) {
  PaintText end{"\xb0\xa1", {0, 0}, 2};
  MarkCursor(end, IsCp949Lead);
  EXPECT_EQ(end.attrs, (std::vector<uint8_t>{0, 0}));
  PaintText converted{"\xb0\xa1", {1, 1}, 0};
  MarkCursor(converted, IsCp949Lead);
  EXPECT_EQ(converted.attrs, (std::vector<uint8_t>{1, 1}));
  // A single-byte character is marked alone, not with its neighbour.
  PaintText single{"a\xb0\xa1", {0, 0, 0}, 0};
  MarkCursor(single, IsCp949Lead);
  EXPECT_EQ(single.attrs, (std::vector<uint8_t>{0xFF, 0, 0}));
  // A lone lead byte at the end is marked without passing the end.
  PaintText lone{"a\xb0", {0, 0}, 1};
  MarkCursor(lone, IsCp949Lead);
  EXPECT_EQ(lone.attrs, (std::vector<uint8_t>{0, 0xFF}));
}

TEST(AttributeRunsTest, RunsWithinASlice) {
  PaintText t{"abcdef", {0, 0, 1, 1, 2, 0}, 0};
  EXPECT_EQ(AttributeRuns(t, {1, 4}), (std::vector<AttributeRun>{{1, 1, 0}, {2, 2, 1}, {4, 1, 2}}));
  EXPECT_TRUE(AttributeRuns(t, {6, 3}).empty());
  EXPECT_EQ(AttributeRuns(t, {5, 9}), (std::vector<AttributeRun>{{5, 1, 0}}));
}

TEST(CompositionFont, Corrections) {
  const std::string ksFace = "NanumGothic";
  const std::string gmFace = "\x82\x66\x82\x6c\x8a\xd8\x8d\x91\x96\xbe\x92\xa9";
  const std::string msGothic = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
  bool vertical = true;
  // A Japanese face in the KS edition gets the Korean face.
  CompFontChoice f = CorrectCompositionFont({0, 128, msGothic}, 1, 129, ksFace, &vertical);
  EXPECT_EQ(f, (CompFontChoice{0, 129, ksFace}));
  EXPECT_FALSE(vertical);
  // A Korean charset keeps its face; escapement 2700 is vertical, others become 0.
  f = CorrectCompositionFont({2700, 129, "Batang"}, 1, 129, ksFace, &vertical);
  EXPECT_EQ(f, (CompFontChoice{2700, 129, "Batang"}));
  EXPECT_TRUE(vertical);
  EXPECT_EQ(CorrectCompositionFont({900, 129, "Batang"}, 1, 129, ksFace, &vertical).escapement, 0);
  // GM editions test the face's first four bytes.
  EXPECT_EQ(CorrectCompositionFont({0, 128, gmFace}, 2, 128, "X", nullptr).face, gmFace);
  EXPECT_EQ(CorrectCompositionFont({0, 128, msGothic}, 2, 128, gmFace, nullptr).face, gmFace);
  EXPECT_EQ(CorrectCompositionFont({0, 128, gmFace}, 0, 128, "SJ", nullptr).face, "SJ");
  EXPECT_EQ(CorrectCompositionFont({0, 1, gmFace}, 2, 128, "X", nullptr).charset, 128);
}

TEST(CloseBox, TwoFiveByFiveImages) {
  EXPECT_EQ(CloseBoxPixel(0, 0), kBlack);
  EXPECT_EQ(CloseBoxPixel(2, 2), kBlack);
  EXPECT_EQ(CloseBoxPixel(1, 0), 0xC0C0C0u);
  EXPECT_EQ(CloseBoxPixel(5, 0), kWhite);
  EXPECT_EQ(CloseBoxPixel(6, 0), 0x808080u);
  for (int y = 0; y < kCloseBoxHeight; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_NE(CloseBoxPixel(x, y), CloseBoxPixel(x + 5, y));
  const std::vector<uint8_t> bmp = CloseBoxBmp();
  ASSERT_EQ(bmp.size(), 54u + 32u * 5u);  // rows of 30 bytes padded to 32
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(bmp[18], kCloseBoxWidth);
  EXPECT_EQ(bmp[22], kCloseBoxHeight);
  EXPECT_EQ(bmp[28], 24);
  // The last row in the file is the top row: pixel (1, 0) light grey, (0, 0) black.
  const size_t top = 54 + 32 * 4;
  EXPECT_EQ(bmp[top], 0);
  EXPECT_EQ(bmp[top + 3], 0xC0);
}

}  // namespace
}  // namespace ime

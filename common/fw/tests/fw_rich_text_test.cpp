// Rich-edit rules: twips of font heights and the streaming pieces.
#include <gtest/gtest.h>

#include <string>

#include "rich_text.h"

namespace fw {
namespace {

struct TwipsCase {
  int height, dpi, twips;
};

TEST(RichText, TwipsOfFontHeights) {
  const TwipsCase cases[] = {
      {-21, 96, 315},  // 21 px at 96 dpi = 15.75 pt = 315 twips
      {-16, 96, 240},  // 12 pt
      {-21, 120, 252}, {16, 96, 240},
      {-21, 100, 302},  // 302.4
      {-22, 100, 317},  // 316.8
      {0, 96, 0},      {-21, 0, 0},
  };
  for (const TwipsCase& c : cases) EXPECT_EQ(TwipsFromFontHeight(c.height, c.dpi), c.twips) << c.height << " at " << c.dpi;
}

TEST(RichText, FontHeightsOfTwips) {
  EXPECT_EQ(FontHeightFromTwips(315, 96), -21);
  EXPECT_EQ(FontHeightFromTwips(240, 96), -16);
  EXPECT_EQ(FontHeightFromTwips(317, 100), -22);  // 22.01
  EXPECT_EQ(FontHeightFromTwips(0, 96), 0);
  EXPECT_EQ(FontHeightFromTwips(240, 0), 0);
}

TEST(RichText, SourceHandsOutPiecesNoLargerThanAsked) {
  const std::string text = "0123456789";
  StreamSource source(text);
  char buf[16]{};
  std::string got;
  std::size_t n;
  int pieces = 0;
  while ((n = source.Read(buf, 4)) > 0) {
    EXPECT_LE(n, 4u);
    got.append(buf, n);
    ++pieces;
  }
  EXPECT_EQ(got, text);
  EXPECT_EQ(pieces, 3);  // 4, 4, 2
  EXPECT_TRUE(source.AtEnd());
  EXPECT_EQ(source.Read(buf, 4), 0u);
}

TEST(RichText, UnicodePiecesNeverSplitAUnit) {
  const std::string text("a\0b\0c\0", 6);
  StreamSource source(text, 2);
  char buf[8]{};
  EXPECT_EQ(source.Read(buf, 3), 2u);  // not 3: that would cut "b" in two
  EXPECT_EQ(source.Read(buf, 1), 0u);  // room for no whole unit
  EXPECT_EQ(source.offset(), 2u);
  EXPECT_EQ(source.Read(buf, 8), 4u);
  EXPECT_TRUE(source.AtEnd());
  EXPECT_EQ(source.Read(nullptr, 8), 0u);
}

TEST(RichText, SinkStopsAtItsLimit) {
  StreamSink sink(5);
  EXPECT_EQ(sink.Append("abc", 3), 3u);
  EXPECT_FALSE(sink.Truncated());
  EXPECT_EQ(sink.Append("defg", 4), 2u);
  EXPECT_TRUE(sink.Truncated());
  EXPECT_EQ(sink.Append("h", 1), 0u);
  EXPECT_EQ(sink.bytes(), "abcde");
  StreamSink open;
  EXPECT_EQ(open.Append("xyz", 3), 3u);
  EXPECT_EQ(open.bytes(), "xyz");
}

}  // namespace
}  // namespace fw

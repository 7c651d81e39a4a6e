// The rich-text writer's output and the reader's cases, including nesting
// deeper than the reader takes and escapes cut off at the end of the text.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>

#include "rtf_clip.h"
#include "view_rig.h"

namespace editorview::test {
namespace {

std::string Escape(std::string_view text) {
  std::string out(EscapedRtfLength(text) + 8, '#');
  char* end = EscapeRtfText(text, out.data());
  EXPECT_EQ(static_cast<size_t>(end - out.data()), EscapedRtfLength(text));
  EXPECT_EQ(out.substr(static_cast<size_t>(end - out.data())), "########") << "nothing written past the end";
  out.resize(static_cast<size_t>(end - out.data()));
  return out;
}

TEST(RtfParts, TheTemplatesAsStored) {
  // Sizes with their NUL: 131, 857 and 2 bytes.
  EXPECT_EQ(ReadPart(0).size() + 1, 131u);
  EXPECT_EQ(ReadPart(1).size() + 1, 857u);
  EXPECT_EQ(ReadPart(2), "}");
  EXPECT_EQ(ReadPart(0).substr(0, 25), "{\\rtf1\\ansi\\ansicpg932\\de");
  // PART2: three lines, CR LF after the first two.
  const std::string part2 = ReadPart(1);
  const size_t first = part2.find("\r\n");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(part2.substr(first + 2, 32), "{\\colortbl\\red0\\green0\\blue0;}\r\n");
  EXPECT_EQ(part2.substr(part2.size() - 6), "\\f2\\fs");
}

TEST(RtfEscape, Table) {
  const struct {
    std::string text, escaped;
  } cases[] = {
      {"a{\\", "a\\{\\\\"},
      {"}", "\\}"},
      {Bytes({0xC7, 0xD1}), "\\'c7\\'d1"},
      {"a\r\nb", "a\r\n\\par b"},
      {"a\nb", "a\r\n\\par b"},
      {"\t", "\\tab "},
      {Bytes({0x01, 0x1F, 0x7F, 0x80, 0xFF}), "\\'01\\'1f\x7f\\'80\\'ff"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Escape(c.text), c.escaped);
}

TEST(RtfBuild, SizeInHalfPoints) {
  EXPECT_EQ(RtfClipBuilder::HalfPoints(-21, 96), 32);  // 15.75 points, rounded up
  EXPECT_EQ(RtfClipBuilder::HalfPoints(-16, 96), 24);
  EXPECT_EQ(RtfClipBuilder::HalfPoints(20, 120), 24);
  EXPECT_EQ(RtfClipBuilder::HalfPoints(-21, 0), 32);   // no screen: 96 dpi
  EXPECT_GT(RtfClipBuilder::HalfPoints(INT_MIN, 96), 0);
}

TEST(RtfBuild, KsTextInTheTemplates) {
  RtfClipBuilder b;
  b.SetParts(ReadPart(0), ReadPart(1), ReadPart(2));
  const std::string rtf = b.BuildRtf("129", "KS Face", -21, Bytes({0xC7, 0xD1, 0xB1, 0xDB}), 96);
  EXPECT_EQ(rtf, ReadPart(0) + "129 KS Face" + ReadPart(1) + "32 \\'c7\\'d1\\'b1\\'db}");
  EXPECT_EQ(std::strlen(rtf.c_str()), rtf.size());
}

TEST(RtfBuild, LoneLineFeedsAndLongFacesFit) {
  // Seven bytes a lone LF and four a high byte of the face: more than five a byte.
  RtfClipBuilder b;
  b.SetParts(ReadPart(0), ReadPart(1), ReadPart(2));
  const std::string text(5000, '\n');
  const std::string face(3000, '\xB0');
  const std::string rtf = b.BuildRtf("128", face, -12, text, 96);
  EXPECT_EQ(rtf.size(), ReadPart(0).size() + 4 + 4 * 3000 + ReadPart(1).size() + 3 + 7 * 5000 + 1);
  EXPECT_EQ(rtf.substr(rtf.size() - 8), "\r\n\\par }");
}

TEST(RtfBuild, MissingPartsLeaveThemOut) {
  RtfClipBuilder b;
  b.LoadRtfParts([](const char* name) -> std::span<const uint8_t> {
    static const uint8_t three[] = {'}', 0, 'x'};  // only the bytes before the NUL count
    if (std::strcmp(name, "PART3") == 0) return three;
    return {};
  });
  EXPECT_EQ(b.BuildRtf("129", "F", -21, "a", 96), "129 F32 a}");
}

struct Parsed {
  int result;
  RtfReader reader;
};

std::unique_ptr<Parsed> Parse(const std::string& text) {
  // An exact-size heap copy: the sanitizer sees any read past the text.
  std::unique_ptr<char[]> exact(new char[text.size() ? text.size() : 1]);
  std::memcpy(exact.get(), text.data(), text.size());
  auto p = std::make_unique<Parsed>();
  p->result = p->reader.Parse(std::string_view(exact.get(), text.size()));
  return p;
}

TEST(RtfRead, OneRunInTheKoreanFont) {
  const auto p = Parse("{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fnil\\fcharset129 Gulim;}}"
                       "\\pard\\plain\\f1 \\'c7\\'d1}");
  ASSERT_EQ(p->result, 1);
  ASSERT_EQ(p->reader.Runs().size(), 1u);
  EXPECT_EQ(p->reader.Runs()[0].font, "1");
  EXPECT_EQ(p->reader.Runs()[0].text, Bytes({0xC7, 0xD1}));
  ASSERT_EQ(p->reader.Fonts().size(), 2u);
  EXPECT_EQ(p->reader.Fonts()[0].face, "Arial");
  EXPECT_EQ(p->reader.Fonts()[0].charset, "1");  // none given
  EXPECT_EQ(p->reader.FindFont("1")->charset, "129");
  EXPECT_EQ(p->reader.FindFont("1")->face, "Gulim");
  EXPECT_EQ(p->reader.FindFont("7"), nullptr);
}

TEST(RtfRead, TheWritersOwnOutput) {
  RtfClipBuilder b;
  b.SetParts(ReadPart(0), ReadPart(1), ReadPart(2));
  const std::string bytes = Bytes({0xC7, 0xD1}) + "a{b}\\c\nd\te";
  const auto p = Parse(b.BuildRtf("129", "Face", -21, bytes, 96));
  ASSERT_EQ(p->result, 1);
  ASSERT_EQ(p->reader.Runs().size(), 1u);
  EXPECT_EQ(p->reader.Runs()[0].font, "2");
  EXPECT_EQ(p->reader.Runs()[0].text, Bytes({0xC7, 0xD1}) + "a{b}\\c\r\nd\te");
  EXPECT_EQ(p->reader.FindFont("2")->charset, "129");
  EXPECT_EQ(p->reader.FindFont("2")->face, "Face");
  EXPECT_EQ(p->reader.FindFont("3")->charset, "128");
}

TEST(RtfRead, WordsThatStandForText) {
  const auto p = Parse(
      "{\\rtf1{\\fonttbl{\\f0 A;}}\\pard a\\par b\\tab c\\bullet\\endash\\emdash\\lquote\\rquote"
      "\\ldblquote\\rdblquote\\page\\sect}");
  ASSERT_EQ(p->result, 1);
  ASSERT_EQ(p->reader.Runs().size(), 1u);
  EXPECT_EQ(p->reader.Runs()[0].text, "a\r\nb\tco--''\"\"\r\n\r\n");
}

TEST(RtfRead, RunsFollowTheFontAndPlainTakesTheDefault) {
  const auto p = Parse("{\\rtf1\\deff1{\\fonttbl{\\f0 A;}{\\f1 B;}}\\pard\\f0 x\\f1 y\\f1 z\\plain w\\f0 v}");
  ASSERT_EQ(p->result, 1);
  ASSERT_EQ(p->reader.Runs().size(), 3u);
  EXPECT_EQ(p->reader.Runs()[0].text, "x");
  EXPECT_EQ(p->reader.Runs()[1].font, "1");
  EXPECT_EQ(p->reader.Runs()[1].text, "yzw");  // \plain: the default font 1
  EXPECT_EQ(p->reader.Runs()[2].text, "v");
}

TEST(RtfRead, SkippedGroupsAndDroppedArguments) {
  const auto p = Parse(
      "{\\rtf1{\\fonttbl{\\f0\\fswiss{\\*\\panose 020b0604}Arial;}}{\\stylesheet{\\s0 Normal;}}\\pard "
      "a{\\*\\bkmkstart mark}b{\\pict 0123abcd}c{\\*\\themedata 5a5a}d{\\*\\lsdlockedexcept x}e{\\i f}}");
  ASSERT_EQ(p->result, 1);
  ASSERT_EQ(p->reader.Runs().size(), 1u);
  EXPECT_EQ(p->reader.Runs()[0].text, "abcdef");
  EXPECT_EQ(p->reader.Fonts()[0].face, "Arial");
}

TEST(RtfRead, FacesAndWordEnds) {
  // An alternative name in a nested group does not replace the face; a
  // minus behind a word without digits is text.
  const auto p = Parse("{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset129 \\'b1\\'bc{\\*\\falt Gulim};}"
                       "\\f1\\fswiss\\fcharset0Arial;}\\pard\\f0 a\\par-b\\f1 c}");
  ASSERT_EQ(p->result, 1);
  ASSERT_EQ(p->reader.Fonts().size(), 2u);
  EXPECT_EQ(p->reader.Fonts()[0].face, Bytes({0xB1, 0xBC}));
  EXPECT_EQ(p->reader.Fonts()[1].face, "Arial");
  EXPECT_EQ(p->reader.Fonts()[1].charset, "0");
  ASSERT_EQ(p->reader.Runs().size(), 2u);
  EXPECT_EQ(p->reader.Runs()[0].text, "a\r\n-b");
}

TEST(RtfRead, DoubleByteTrailsStartNoToken) {
  // 表 is 95 5C in code page 932: its trail byte is a backslash.
  const auto p = Parse("{\\rtf1\\pard " + Bytes({0x95, 0x5C}) + "x}");
  ASSERT_EQ(p->result, 1);
  ASSERT_EQ(p->reader.Runs().size(), 1u);
  EXPECT_EQ(p->reader.Runs()[0].text, Bytes({0x95, 0x5C}) + "x");
}

TEST(RtfRead, Failures) {
  EXPECT_EQ(Parse("")->result, 0);
  EXPECT_EQ(Parse("{\\rt")->result, 0);
  EXPECT_EQ(Parse("plain text")->result, 0);
  EXPECT_EQ(Parse("{\\rtf1\\pard{\\i a")->result, 0);  // a nested group never closed
  const auto failed = Parse("{\\rtf1{\\fonttbl{\\f0 A;}}\\pard x{");
  EXPECT_EQ(failed->result, 0);
  EXPECT_TRUE(failed->reader.Runs().empty());  // emptied on failure
  EXPECT_TRUE(failed->reader.Fonts().empty());
}

TEST(RtfRead, DeepNestingFailsWithoutACrash) {
  EXPECT_EQ(Parse("{\\rtf1" + std::string(200000, '{'))->result, 0);
  EXPECT_EQ(Parse("{\\rtf1\\pard" + std::string(300, '{') + "x" + std::string(300, '}') + "}")->result, 0);
  // Within the limit all is well.
  const auto p = Parse("{\\rtf1\\pard" + std::string(200, '{') + "x" + std::string(200, '}') + "}");
  ASSERT_EQ(p->result, 1);
  ASSERT_EQ(p->reader.Runs().size(), 1u);
  EXPECT_EQ(p->reader.Runs()[0].text, "x");
}

TEST(RtfRead, EscapesCutOffAtTheEnd) {
  const char* cases[] = {"{\\rtf1\\pard ab\\'", "{\\rtf1\\pard ab\\'4", "{\\rtf1\\pard ab\\'4g}", "{\\rtf1\\pard ab\\",
                         "{\\rtf1\\pard ab\\\\"};
  for (const char* text : cases) {
    const auto p = Parse(text);
    EXPECT_EQ(p->result, 1) << text;
    ASSERT_EQ(p->reader.Runs().size(), 1u) << text;
    EXPECT_EQ(p->reader.Runs()[0].text.substr(0, 2), "ab") << text;
  }
  EXPECT_EQ(Parse("{\\rtf1\\pard ab\\'4g}")->reader.Runs()[0].text, "ab4g");
}

}  // namespace
}  // namespace editorview::test

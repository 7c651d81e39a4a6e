#include "text_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doc_fixtures.h"
#include "utf8_text.h"

namespace brisel {
namespace {

using test::kHangulGm;
using test::kHangulKs;
using test::kHangulUtf16;
using test::kHangulUtf8;
using Lines = std::vector<std::string>;

const editorview::TextCode& Conversions() {
  static const editorview::TextCode code(editorview::LineCode::kUtf8, test::Gm(), codeconv::PlatformCodePages());
  return code;
}

std::string Le(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}
std::string Be(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c >> 8));
    out.push_back(static_cast<char>(c & 0xFF));
  }
  return out;
}

TEST(TextFile, FixturesAgreeWithTheConverters) {
  EXPECT_EQ(codeconv::PlatformCodePages().FromUtf16(949, kHangulUtf16), kHangulKs);
  std::string gm = kHangulKs + '\0';
  test::Gm().KsToGm(gm.data(), static_cast<unsigned>(kHangulKs.size()));
  EXPECT_EQ(gm.substr(0, 4), kHangulGm);
}

enum class Code { kUtf8, kUnicode, kKs, kGm };

ReadOutcome Read(Code code, const std::string& file) {
  switch (code) {
    case Code::kUtf8: return ReadUtf8(file);
    case Code::kUnicode: return ReadUnicode(file);
    case Code::kKs: return ReadMultiByte(file, editorview::kCodeKs, Conversions());
    case Code::kGm: return ReadMultiByte(file, editorview::kCodeGm, Conversions());
  }
  return {};
}

struct ReadCase {
  const char* name;
  Code code;
  std::string file;
  Lines lines;
  bool failed = false;
  bool lossy = false;  // the lines are not the file's text as it stands
};

TEST(TextFile, ReadTable) {
  const std::string a40000(40000, 'a');
  const std::vector<ReadCase> cases = {
      {"utf8 without final line end", Code::kUtf8, "a\r\nb", {"a", "b"}},
      {"utf8 final LF adds no line", Code::kUtf8, "a\n", {"a"}},
      {"utf8 empty line before the end", Code::kUtf8, "a\n\n", {"a", ""}},
      {"utf8 empty file", Code::kUtf8, "", {""}},
      {"utf8 only a line end", Code::kUtf8, "\r\n", {""}},
      {"utf8 controls dropped, TAB and DEL kept", Code::kUtf8, std::string("a\x01\tb\x1F\x7F\r\0c", 9), {"a\tb\x7F" "c"}, false, true},
      {"utf8 korean", Code::kUtf8, kHangulUtf8 + "\r\n" + kHangulUtf8, {kHangulUtf8, kHangulUtf8}},
      {"utf8 mark stays", Code::kUtf8, "\xEF\xBB\xBF" "a", {"\xEF\xBB\xBF" "a"}},
      {"utf8 a lone lead byte passes", Code::kUtf8, "\xC7" "a", {"\xC7" "a"}, false, true},
      {"utf8 continuation bytes at a start fail", Code::kUtf8, "ok\nab\x80\x80", {""}, true},
      {"utf8 40000 bytes", Code::kUtf8, a40000, {std::string(32764, 'a'), std::string(7236, 'a')}, false, true},
      {"utf8 a character at the limit is completed", Code::kUtf8,
       std::string(32763, 'a') + kHangulUtf8 + "z",
       {std::string(32763, 'a') + kHangulUtf8.substr(0, 3), kHangulUtf8.substr(3) + "z"}, false, true},
      {"utf8 a character ending at the limit", Code::kUtf8, std::string(32761, 'a') + kHangulUtf8,
       {std::string(32761, 'a') + kHangulUtf8.substr(0, 3), kHangulUtf8.substr(3)}, false, true},
      {"utf16 le", Code::kUnicode, "\xFF\xFE" + Le(u"a\r\n" + kHangulUtf16), {"a", kHangulUtf8}},
      {"utf16 be reads like le", Code::kUnicode, "\xFE\xFF" + Be(u"a\r\n" + kHangulUtf16), {"a", kHangulUtf8}},
      {"utf16 mark alone", Code::kUnicode, "\xFF\xFE", {""}},
      {"utf16 final LF adds no line", Code::kUnicode, "\xFF\xFE" + Le(u"a\n"), {"a"}},
      {"utf16 controls and NUL dropped", Code::kUnicode, "\xFF\xFE" + Le(std::u16string(u"a\x01\t\0b", 5)), {"a\tb"}, false, true},
      {"utf16 odd last byte", Code::kUnicode, "\xFF\xFE" + Le(u"ab") + "c", {"ab"}, false, true},
      {"utf16 without mark fails", Code::kUnicode, Le(u"ab"), {""}, true},
      {"utf16 10923 units", Code::kUnicode, "\xFF\xFE" + Le(std::u16string(10923, u'a')),
       {std::string(10922, 'a'), "a"}, false, true},
      {"ks", Code::kKs, kHangulKs + "\r\nb", {kHangulUtf8, "b"}},
      {"ks empty file", Code::kKs, "", {""}},
      {"ks lead takes a trail across a dropped control", Code::kKs, "\xB0\x01\xA1", {"\xEA\xB0\x80"}, false, true},
      {"ks 10921 bytes and a pair", Code::kKs, std::string(10921, 'a') + kHangulKs.substr(0, 2) + "b",
       {std::string(10921, 'a') + kHangulUtf8.substr(0, 3), "b"}, false, true},
      {"ks 10922 bytes and a line end", Code::kKs, std::string(10922, 'a') + "\r\nb", {std::string(10922, 'a'), "b"}},
      {"gm", Code::kGm, kHangulGm + "\r\n" + kHangulGm + "\r\n", {kHangulUtf8, kHangulUtf8}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ReadOutcome read = Read(c.code, c.file);
    EXPECT_EQ(read.failed, c.failed);
    EXPECT_EQ(read.Lossy(), c.lossy);
    ASSERT_EQ(read.lines.size(), c.lines.size());
    for (size_t i = 0; i < c.lines.size(); ++i) EXPECT_EQ(read.lines[i], c.lines[i]) << "line " << i;
  }
}

TEST(TextFile, LoneLeadBeforeLineEndIsKeptAndEndsTheLine) {
  const test::MarkingCodePage marking;
  const editorview::TextCode code(editorview::LineCode::kUtf8, test::Gm(), marking);
  // C7 D1 is a pair; B0 before CR LF has no trail: it stays, alone.
  for (const std::string end : {"\n", "\r\n"}) {
    const ReadOutcome read = ReadMultiByte("\xC7\xD1\xB0" + end + "b", editorview::kCodeKs, code);
    ASSERT_EQ(read.lines.size(), 2u);
    EXPECT_EQ(read.lines[0], "\xEA\xB3\x91" "\xEF\xBF\xBD");  // U+ACD1 (the pair), U+FFFD (the lone byte)
    EXPECT_EQ(read.lines[1], "b");
  }
  // At the end of the file too.
  const ReadOutcome last = ReadMultiByte("a\xB0", editorview::kCodeKs, code);
  ASSERT_EQ(last.lines.size(), 1u);
  EXPECT_EQ(last.lines[0], "a\xEF\xBF\xBD");
}

TEST(TextFile, LeadBytesOfEachCode) {
  // A lead byte at the line limit still takes its trail byte; any other
  // byte there ends the line before the next one.
  const test::MarkingCodePage marking;
  const editorview::TextCode code(editorview::LineCode::kUtf8, test::Gm(), marking);
  struct Case {
    int byte;
    bool ksLead;
    bool gmLead;
  };
  for (const Case c : {Case{0x80, false, false}, Case{0x81, true, true}, Case{0x9F, true, true},
                       Case{0xA0, true, false}, Case{0xDF, true, false}, Case{0xE0, true, true},
                       Case{0xFF, true, true}}) {
    SCOPED_TRACE(c.byte);
    const std::string file = std::string(10921, 'a') + static_cast<char>(c.byte) + 'A';
    EXPECT_EQ(ReadMultiByte(file, editorview::kCodeKs, code).lines.size(), c.ksLead ? 1u : 2u);
    EXPECT_EQ(ReadMultiByte(file, editorview::kCodeGm, code).lines.size(), c.gmLead ? 1u : 2u);
  }
}

TEST(TextFile, GmReadConvertsEveryPairAsTheConverterDoes) {
  // One GM pair (a lead byte and a trail byte from 0x20) a line, read as a
  // whole file, against the converter's conversion of the pair alone.
  std::string file;
  Lines expected;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!codeconv::IsGmLeadByte(static_cast<uint8_t>(lead))) continue;
    for (int trail = 0x20; trail <= 0xFF; ++trail) {
      const std::string pair = {static_cast<char>(lead), static_cast<char>(trail)};
      file += pair + "\n";
      expected.push_back(editorview::Utf16ToUtf8String(Conversions().CodeToUnicode(pair, editorview::kCodeGm)));
    }
  }
  EXPECT_EQ(ReadMultiByte(file, editorview::kCodeGm, Conversions()).lines, expected);
}

TEST(TextFile, GmWriteConvertsEveryCharacterAsTheConverterDoes) {
  // One character a line, every unit of the first plane that code page 949
  // has (surrogates aside), written as a whole file, against the view's
  // conversion of the line alone.
  std::vector<std::string> lines;
  std::string expected;
  for (char32_t c = 0x20; c <= 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::u16string unit(1, static_cast<char16_t>(c));
    if (codeconv::PlatformCodePages().FromUtf16(949, unit).empty()) continue;
    lines.push_back(editorview::Utf16ToUtf8String(unit));
    expected += Conversions().UnicodeToCode(unit, editorview::kCodeGm) + "\r\n";
  }
  ASSERT_GT(lines.size(), 17000u);
  editorview::MemoryDocument doc;
  doc.Assign(lines);
  EXPECT_EQ(WriteLines(doc, kOutGm, 0, Conversions()), expected);
}

TEST(TextFile, OverlongUtf8LineIsStoredEmpty) {
  // Every ASCII byte becomes two syllables (6 UTF-8 bytes): 6000 bytes make
  // 36000 bytes of UTF-8, more than a line may hold.
  const test::MarkingCodePage expanding(2);
  const editorview::TextCode code(editorview::LineCode::kUtf8, test::Gm(), expanding);
  const ReadOutcome read = ReadMultiByte("ab\n" + std::string(6000, 'x') + "\ncd", editorview::kCodeKs, code);
  ASSERT_EQ(read.lines.size(), 3u);
  EXPECT_EQ(read.lines[0].size(), 12u);
  EXPECT_EQ(read.lines[1], "");
  EXPECT_EQ(read.lines[2].size(), 12u);
  EXPECT_TRUE(read.tooLong);
  EXPECT_TRUE(read.Lossy());
}

TEST(TextFile, ReadingStopsAt999999Lines) {
  std::string file;
  for (int i = 0; i < 1000000; ++i) file += "x\n";
  for (Code c : {Code::kUtf8, Code::kKs}) {
    const ReadOutcome read = Read(c, file);
    EXPECT_EQ(read.lines.size(), 999999u);
    EXPECT_TRUE(read.cut);
    EXPECT_TRUE(read.Lossy());
  }
  // Exactly 999999 lines, with or without a final line end, are all of the file.
  file.resize(999999 * 2);
  EXPECT_FALSE(ReadUtf8(file).cut);
  file.pop_back();
  EXPECT_FALSE(ReadUtf8(file).cut);
  EXPECT_EQ(ReadUtf8(file).lines.size(), 999999u);
}

TEST(TextFile, IsValidUtf8) {
  struct Case {
    std::string line;
    bool valid;
  };
  const std::vector<Case> cases = {
      {"", true},
      {"plain", true},
      {kHangulUtf8, true},
      {"\xFF\xFE", true},            // damaged bytes alone pass
      {"\xC0\x80", true},            // the lead's marker bits make it a 2-byte character
      {"\x80\x80", false},           // a continuation byte cannot lead
      {"a\xBF\x80\x80\x80", false},  // nor lead a 4-byte character
      {"\xF8\x80\x80\x80\x80", true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidUtf8(c.line), c.valid) << testing::PrintToString(c.line);
}

TEST(TextFile, ChooseReaderByTheDetectorsFlags) {
  struct Case {
    unsigned flags;
    int fontCode;
    Reader reader;
    int code;
  };
  const std::vector<Case> cases = {
      {0x08, 0, Reader::kUnicode, 0},       {0x100000, 0, Reader::kUnicode, 0},
      {0x08 | 0x80, 0, Reader::kUnicode, 0}, {0x04, 1, Reader::kUtf8, 0},
      {0x40000, 0, Reader::kUtf8, 0},       {0x80 | 0x60, 0, Reader::kUtf8, 0},
      {0x20, 1, Reader::kMultiByte, 0},     {0x40, 0, Reader::kMultiByte, 1},
      {0x60, 0, Reader::kMultiByte, 1},  // GM wins over KS
      {0, 0, Reader::kMultiByte, 0},        {0, 1, Reader::kMultiByte, 1},
      {0x01, 1, Reader::kMultiByte, 1},  // bits the editor does not read
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    const ReaderChoice choice = ChooseReader(c.flags, c.fontCode);
    EXPECT_EQ(choice.reader, c.reader);
    if (c.reader == Reader::kMultiByte) {
      EXPECT_EQ(choice.code, c.code);
    }
  }
}

struct WriteCase {
  int outFileType;
  int fontCode;
  std::string bytes;
};

TEST(TextFile, WriteTable) {
  editorview::MemoryDocument doc;
  doc.Assign({"a", "", kHangulUtf8});
  const std::string ksBody = "a\r\n\r\n" + kHangulKs + "\r\n";
  const std::string gmBody = "a\r\n\r\n" + kHangulGm + "\r\n";
  const std::vector<WriteCase> cases = {
      {kOutUtf8, 0, "a\r\n\r\n" + kHangulUtf8 + "\r\n"},
      {kOutUnicode, 0,
       std::string("\xFF\xFE" "a\0\r\0\n\0\r\0\n\0\x5C\xD5\x00\xAE\r\0\n\0", 20)},
      {kOutFontCode, 0, ksBody},
      {kOutFontCode, 1, gmBody},
      {kOutKs, 1, ksBody},
      {kOutGm, 0, gmBody},
  };
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.outFileType * 10 + c.fontCode);
    EXPECT_EQ(WriteLines(doc, c.outFileType, c.fontCode, Conversions()), c.bytes);
  }
  // One empty line is one line end.
  editorview::MemoryDocument empty;
  EXPECT_EQ(WriteLines(empty, kOutKs, 0, Conversions()), "\r\n");
  EXPECT_EQ(WriteLines(empty, kOutUnicode, 0, Conversions()), std::string("\xFF\xFE\r\0\n\0", 6));
}

TEST(TextFile, WrittenFilesReadBackInEachCode) {
  editorview::MemoryDocument doc;
  std::vector<std::string> lines;
  for (int i = 0; i < 3000; ++i) lines.push_back(std::to_string(i) + kHangulUtf8 + (i % 7 ? "x" : ""));
  lines.emplace_back();
  lines.push_back("tail");
  doc.Assign(lines);
  struct Case {
    int out;
    Code in;
  };
  for (const Case c : {Case{kOutUtf8, Code::kUtf8}, Case{kOutUnicode, Code::kUnicode}, Case{kOutKs, Code::kKs},
                       Case{kOutGm, Code::kGm}}) {
    SCOPED_TRACE(c.out);
    EXPECT_EQ(Read(c.in, WriteLines(doc, c.out, 0, Conversions())).lines, lines);
  }
}

}  // namespace
}  // namespace brisel

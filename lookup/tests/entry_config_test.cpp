// The code page's entry field, and what the export derives from its
// arguments: charset, help file, program folder, caption, drawn bytes.
#include <gtest/gtest.h>

#include "code_entry.h"
#include "lookup_config.h"

namespace lookup {
namespace {

TEST(CodeEntry, FormsOfTheField) {
  struct Case {
    const char* text;
    int code;
    CodeEntry expected;
  } cases[] = {
      {"1601", 1, {kEntryRowCell, 1601}},
      {"1601", 2, {kEntryRowCell, 1601}},
      {"101", 1, {kEntryRowCell, 101}},
      {"9401", 1, {kEntryRowCell, 9401}},
      {"9501", 1, {}},  // KS has 94 rows
      {"9501", 2, {kEntryRowCell, 9501}},
      {"12001", 0, {kEntryRowCell, 12001}},
      {"12101", 0, {}},
      {"1600", 1, {}},  // cell 0
      {"1695", 1, {}},  // cell 95
      {"16 01", 1, {kEntryRowCell, 1601}},  // blanks anywhere in the five characters
      {" 1601", 1, {kEntryRowCell, 1601}},
      {"1 6 0", 1, {kEntryRowCell, 160}},  // "160": row 1, cell 60
      {"160 1", 2, {kEntryRowCell, 1601}},
      {"16011", 1, {}},  // row 160
      {"160111", 1, {}},  // six characters
      {"", 1, {}},
      {"   ", 1, {}},
      {"16a1", 1, {}},
      {"F040", 2, {kEntryUserCode, 0xF040}},
      {"f040", 0, {kEntryUserCode, 0xF040}},
      {"F0 40", 2, {kEntryUserCode, 0xF040}},
      {"F040", 1, {}},  // code number 1 reads decimals only
      {"F07F", 2, {}},  // no trail byte 0x7F
      {"F080", 2, {kEntryUserCode, 0xF080}},
      {"FCFC", 2, {kEntryUserCode, 0xFCFC}},
      {"FCFD", 2, {}},
      {"F03F", 2, {}},
      {"F04", 2, {}},
      {"FD40", 2, {}},
      {"\xB0\xA1", 1, {kEntryTyped, 1601}},   // 가 in KS
      {"\x88\x9F", 0, {kEntryTyped, 1601}},   // 가 in GM95
      {"\x88\x9F", 2, {kEntryTyped, 1601}},   // and in GM V3, where row 16 stays
      {"\x82\x9F", 2, {kEntryTyped, 1001}},   // GM V3 row 4 holds KS row 10
      {"\xB0\xA1x", 1, {kEntryTyped, 1601}},  // the first character counts
      {"\xB0", 1, {}},                        // half a character
      {"\x88\x9F", 1, {}},                    // not a KS pair: 0x9F is no KS trail byte
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseCodeEntry(c.text, c.code, nullptr), c.expected) << "\"" << c.text << "\" under " << c.code;
  }
}

TEST(CodeEntry, TheCharacterOfAnEntry) {
  EXPECT_EQ(EntryCharacter({kEntryRowCell, 1601}), 0x889F) << "row 16 cell 1";
  EXPECT_EQ(EntryCharacter({kEntryRowCell, 101}), 0x8140) << "row 1 cell 1, the blank";
  EXPECT_EQ(EntryCharacter({kEntryRowCell, 9501}), 0xF040) << "row 95 is the first user-defined row";
  EXPECT_EQ(EntryCharacter({kEntryUserCode, 0xF040}), 0xF040);
  EXPECT_EQ(EntryCharacter({kEntryTyped, 1601}), 0x889F);
  EXPECT_EQ(EntryCharacter({}), 0);
  // Sent as wParam with the first byte in bits 0-7.
  EXPECT_EQ(CharParam(0xF040), 0x40F0u);
  EXPECT_EQ(CharParam(0x889F), 0x9F88u);
}

TEST(LookupConfig, EditionByTheInputMethodsFileName) {
  struct Case {
    const char* name;
    int charset;
    const char* help;
  } cases[] = {
      {"ZORBENV6.IME", 129, "ZORBENV6.CHM"},
      {"WARBENV6.IME", 128, "WARBENV6.CHM"},
      {"ZEBRA.IME", 129, "ZORBENV6.CHM"},
      {"", 128, "WARBENV6.CHM"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FontCharsetFor(c.name), c.charset) << c.name;
    EXPECT_EQ(HelpFileFor(c.name), c.help) << c.name;
  }
}

TEST(LookupConfig, ProgramFolder) {
  EXPECT_EQ(ProgramFolder("C:\\Program Files\\VALDRIMO"), "C:\\Program Files\\VALDRIMO\\GeulmaruV6\\");
  EXPECT_EQ(ProgramFolder("C:\\Program Files\\VALDRIMO\\"), "C:\\Program Files\\VALDRIMO\\GeulmaruV6\\");
  EXPECT_EQ(ProgramFolder(""), "GeulmaruV6\\") << "relative, never the drive root";
  // ソ is 83 5C: its trail byte is no separator.
  EXPECT_EQ(ProgramFolder("C:\\\x83\x5C"), "C:\\\x83\x5C\\GeulmaruV6\\");
  EXPECT_EQ(ProgramFolder("C:\\\x83\x5C\\"), "C:\\\x83\x5C\\GeulmaruV6\\");
}

TEST(LookupConfig, Caption) {
  const std::u16string base = u"部首・簡単ハングル・コード入力";
  EXPECT_EQ(SheetCaption(base, 1), base + u" (KS)");
  EXPECT_EQ(SheetCaption(base, 2), base + u" (GM)");
  EXPECT_EQ(SheetCaption(base, 0), base);
}

TEST(LookupConfig, TextInTheInputMethodsCode) {
  EXPECT_EQ(DisplayBytes("a\x88\x9F", 1, nullptr), "a\xB0\xA1") << "KS";
  EXPECT_EQ(DisplayBytes("a\x88\x9F", 0, nullptr), "a\x88\x9F") << "GM95 unchanged";
  EXPECT_EQ(DisplayBytes("\x88\x9F", 2, nullptr), "\x88\x9F") << "row 16 stays in GM V3";
  EXPECT_EQ(DisplayBytes("\xEA\x9F", 2, nullptr), "\xF0\x9F") << "row 84 moves to row 96 in GM V3";
  EXPECT_EQ(DisplayBytes(std::string(300, 'x'), 1, nullptr).size(), 256u);
  EXPECT_EQ(CodePageOfCharset(129), 949u);
  EXPECT_EQ(CodePageOfCharset(128), 932u);
}

}  // namespace
}  // namespace lookup

// The database's texts as the program sends and shows them: the connection
// string, the five queries, the item lookup's command text, the error texts
// and the mapping of a scan's column values.
#include <gtest/gtest.h>

#include "code_page.h"
#include "example_db.h"

namespace ferlin {
namespace {

const codeconv::CodePageConverter& Pages() { return codeconv::PlatformCodePages(); }

TEST(ExampleDb, ConnectionStringNamesTheJetProviderAndThePath) {
  EXPECT_EQ(ExampleDbConnectionString(u"C:\\Examples\\Quorvel.mdb"),
            u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Examples\\Quorvel.mdb;");
  EXPECT_EQ(ExampleDbConnectionString(u""), u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=;");
}

TEST(ExampleDb, ItemLookupsQuoteTheDecimalItemNumber) {
  struct Case {
    ExampleReader reader;
    std::u16string expected;
    std::u16string column;
  } cases[] = {
      {ExampleReader::KoreanSentence,
       u"SELECT 項目テーブル.項目番号,項目テーブル.韓国語文 FROM 項目テーブル WHERE 項目テーブル.項目番号 = \"12\"",
       u"韓国語文"},
      {ExampleReader::JapaneseSentence,
       u"SELECT 項目テーブル.項目番号,項目テーブル.日本語文 FROM 項目テーブル WHERE 項目テーブル.項目番号 = \"12\"",
       u"日本語文"},
      {ExampleReader::KanaReading,
       u"SELECT 項目テーブル.項目番号,項目テーブル.カナ読み FROM 項目テーブル WHERE 項目テーブル.項目番号 = \"12\"",
       u"カナ読み"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ItemLookupCommandText(c.reader, u"12"), c.expected);
    // The query itself ends with the opening quote.
    EXPECT_EQ(std::u16string(ExampleQuery(c.reader)), c.expected.substr(0, c.expected.size() - 3));
    EXPECT_EQ(std::u16string(LookupColumn(c.reader)), c.column);
  }
}

TEST(ExampleDb, ScansJoinTheHeadingsInIdOrder) {
  EXPECT_EQ(std::u16string(ExampleQuery(ExampleReader::Contents)),
            u"SELECT 項目テーブル.ID,項目テーブル.見出し番号,見出しテーブル.見出し,項目テーブル.項目番号,"
            u"項目テーブル.日本語文,項目テーブル.韓国語文,項目テーブル.カナ読み FROM 項目テーブル LEFT JOIN "
            u"見出しテーブル ON 項目テーブル.見出し番号 = 見出しテーブル.見出し番号 ORDER BY 項目テーブル.ID ASC");
  EXPECT_EQ(std::u16string(ExampleQuery(ExampleReader::Search)),
            u"SELECT 項目テーブル.ID,項目テーブル.見出し番号,見出しテーブル.見出し,項目テーブル.項目番号,"
            u"項目テーブル.日本語文,項目テーブル.韓国語文 FROM 項目テーブル LEFT JOIN "
            u"見出しテーブル ON 項目テーブル.見出し番号 = 見出しテーブル.見出し番号 ORDER BY 項目テーブル.ID ASC");
  EXPECT_TRUE(LookupColumn(ExampleReader::Contents).empty());
}

TEST(ExampleDb, ErrorTexts) {
  struct Case {
    uint32_t code;
    std::optional<std::string> system;
    std::string expected;
  } cases[] = {
      // The system's text loses its trailing CR LF, and only that.
      {0x80004005u, std::string("Unspecified error\r\n"), "Unspecified error"},
      {0x80004005u, std::string("Unspecified error"), "Unspecified error"},
      {0x80004005u, std::string("two\r\nlines\n"), "two\r\nlines\n"},
      // Without a system text: the dispatch range counts from 0x80040200.
      {0x80040200u, std::nullopt, "IDispatch error #0"},
      {0x80040E37u, std::nullopt, "IDispatch error #3127"},
      {0x8004FFFFu, std::nullopt, "IDispatch error #65023"},
      {0x800401FFu, std::nullopt, "Unknown error 0x800401FF"},
      {0x80050000u, std::nullopt, "Unknown error 0x80050000"},
      {0x0000000Au, std::nullopt, "Unknown error 0xA"},
  };
  for (const Case& c : cases) EXPECT_EQ(AdoErrorText(c.code, c.system), c.expected) << std::hex << c.code;
}

TEST(ExampleDb, ScanRowsMapNullsAndNumbers) {
  // こんにちは in Shift-JIS.
  const std::string konnichiwa = "\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd";
  ExampleItemRow row = MapScanRow(Pages(), 932, ColumnValue::Null(), ColumnValue::Null(), ColumnValue::Null(),
                                  ColumnValue::Null());
  EXPECT_EQ(row.headingNumber, 0);
  EXPECT_EQ(row.headingText, "");
  EXPECT_EQ(row.itemNumber, "");
  EXPECT_EQ(row.japanese, "");

  // A number column arrives changed to its text.
  row = MapScanRow(Pages(), 932, ColumnValue::Text(u"7"), ColumnValue::Text(u"挨拶"), ColumnValue::Text(u"12"),
                   ColumnValue::Text(u"こんにちは"));
  EXPECT_EQ(row.headingNumber, 7);
  EXPECT_EQ(row.headingText, "\x88\xa5\x8e\x41");
  EXPECT_EQ(row.itemNumber, "12");
  EXPECT_EQ(row.japanese, konnichiwa);

  // Heading numbers that are no number in range count as none.
  for (const char16_t* text : {u"99999999999", u"12abc", u"", u"abc"}) {
    row = MapScanRow(Pages(), 932, ColumnValue::Text(text), ColumnValue::Null(), ColumnValue::Null(),
                     ColumnValue::Null());
    EXPECT_EQ(row.headingNumber, 0);
  }
}

TEST(ExampleDb, ItemDataIsTheWholeDecimalNumberOrZero) {
  struct Case {
    const char* text;
    long expected;
  } cases[] = {{"12", 12},  {"0012", 12},          {" 5 ", 5},         {"-3", -3},
               {"", 0},     {"12abc", 0},          {"abc", 0},         {"2147483647", 2147483647L},
               {"2147483648", 0}, {"-2147483648", -2147483647L - 1}, {"99999999999999999999", 0}, {"+", 0}};
  for (const Case& c : cases) EXPECT_EQ(ItemDataOf(c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace ferlin

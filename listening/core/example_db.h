// The example database as the listening program reads it: the connection
// string, the five queries, the error texts of failed ADO calls and the
// mapping of the scans' column values to the rows the contents tree is
// built from. The ADO calls themselves live in the Windows shell; all that
// is text stays here.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "code_page.h"

namespace ferlin {

// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path + ";".
std::u16string ExampleDbConnectionString(std::u16string_view databasePath);

// The readers, each with its own query.
enum class ExampleReader { KoreanSentence, JapaneseSentence, KanaReading, Contents, Search };

// The query of a reader. The three item lookups end with an opening double
// quote: the item number and a closing one follow (ItemLookupCommandText).
std::u16string_view ExampleQuery(ExampleReader reader);
// The column an item lookup reads ("韓国語文", "日本語文", "カナ読み"); empty
// for the scans.
std::u16string_view LookupColumn(ExampleReader reader);
// The command text of an item lookup: the query, the item number, '"'.
std::u16string ItemLookupCommandText(ExampleReader reader, std::u16string_view itemNumber);

// The scans' columns, by the names the rows are read with.
inline constexpr char16_t kColumnHeadingNumber[] = u"見出し番号";
inline constexpr char16_t kColumnHeadingText[] = u"見出し";
inline constexpr char16_t kColumnItemNumber[] = u"項目番号";
inline constexpr char16_t kColumnJapanese[] = u"日本語文";

// The text of a failed call's result code as the message box shows it: the
// system's text for the code (systemText, when the system has one) without
// its trailing CR LF; else "IDispatch error #n" for 0x80040200-0x8004FFFF
// (n counted from 0x80040200); else "Unknown error 0x...".
std::string AdoErrorText(uint32_t result, const std::optional<std::string>& systemText);

// One column value as the shell hands it over: NULL, or the value changed
// to a string (a string column as it is).
struct ColumnValue {
  bool isNull = true;
  std::u16string text;
  static ColumnValue Null() { return {}; }
  static ColumnValue Text(std::u16string t) { return {false, std::move(t)}; }
};

// One row of a scan.
struct ExampleItemRow {
  int headingNumber = 0;
  std::string headingText;  // system code page (Shift-JIS)
  std::string itemNumber;
  std::string japanese;
};

// The text of a value in a code page; NULL gives the empty text.
std::string ValueText(const codeconv::CodePageConverter& pages, unsigned codePage, const ColumnValue& value);

// A scan's row from its four columns (Japanese text in codePage, 932 on the
// Japanese system): a NULL heading number gives 0, NULL texts the empty text.
ExampleItemRow MapScanRow(const codeconv::CodePageConverter& pages, unsigned codePage, const ColumnValue& headingNumber,
                          const ColumnValue& headingText, const ColumnValue& itemNumber, const ColumnValue& japanese);

// A whole decimal number (blanks around it allowed, a sign, digits) within
// the range of a 32-bit long; anything else, or a number out of range, gives
// nothing.
std::optional<long> ParseWholeNumber(std::string_view text);

// The number a tree item keeps for an item row: its item number when that
// is a whole decimal number, else 0 (an item that cannot be shown, rather
// than the item another number's leading digits would name).
long ItemDataOf(std::string_view itemNumber);

}  // namespace ferlin

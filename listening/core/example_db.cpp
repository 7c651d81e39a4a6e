#include "example_db.h"

#include <climits>
#include <cstdio>


namespace ferlin {

namespace {

constexpr std::u16string_view kKoreanQuery =
    u"SELECT 項目テーブル.項目番号,項目テーブル.韓国語文 FROM 項目テーブル WHERE 項目テーブル.項目番号 = \"";
constexpr std::u16string_view kJapaneseQuery =
    u"SELECT 項目テーブル.項目番号,項目テーブル.日本語文 FROM 項目テーブル WHERE 項目テーブル.項目番号 = \"";
constexpr std::u16string_view kKanaQuery =
    u"SELECT 項目テーブル.項目番号,項目テーブル.カナ読み FROM 項目テーブル WHERE 項目テーブル.項目番号 = \"";
constexpr std::u16string_view kContentsQuery =
    u"SELECT 項目テーブル.ID,項目テーブル.見出し番号,見出しテーブル.見出し,項目テーブル.項目番号,"
    u"項目テーブル.日本語文,項目テーブル.韓国語文,項目テーブル.カナ読み FROM 項目テーブル LEFT JOIN 見出しテーブル "
    u"ON 項目テーブル.見出し番号 = 見出しテーブル.見出し番号 ORDER BY 項目テーブル.ID ASC";
constexpr std::u16string_view kSearchQuery =
    u"SELECT 項目テーブル.ID,項目テーブル.見出し番号,見出しテーブル.見出し,項目テーブル.項目番号,"
    u"項目テーブル.日本語文,項目テーブル.韓国語文 FROM 項目テーブル LEFT JOIN 見出しテーブル "
    u"ON 項目テーブル.見出し番号 = 見出しテーブル.見出し番号 ORDER BY 項目テーブル.ID ASC";

}  // namespace

std::u16string ExampleDbConnectionString(std::u16string_view databasePath) {
  std::u16string s = u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";
  s += databasePath;
  s += u";";
  return s;
}

std::u16string_view ExampleQuery(ExampleReader reader) {
  switch (reader) {
    case ExampleReader::KoreanSentence: return kKoreanQuery;
    case ExampleReader::JapaneseSentence: return kJapaneseQuery;
    case ExampleReader::KanaReading: return kKanaQuery;
    case ExampleReader::Contents: return kContentsQuery;
    case ExampleReader::Search: return kSearchQuery;
  }
  return {};
}

std::u16string_view LookupColumn(ExampleReader reader) {
  switch (reader) {
    case ExampleReader::KoreanSentence: return u"韓国語文";
    case ExampleReader::JapaneseSentence: return u"日本語文";
    case ExampleReader::KanaReading: return u"カナ読み";
    default: return {};
  }
}

std::u16string ItemLookupCommandText(ExampleReader reader, std::u16string_view itemNumber) {
  std::u16string text(ExampleQuery(reader));
  text += itemNumber;
  text += u'"';
  return text;
}

std::string AdoErrorText(uint32_t result, const std::optional<std::string>& systemText) {
  if (systemText) {
    std::string text = *systemText;
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
    return text;
  }
  char buffer[48];
  if (result >= 0x80040200u && result <= 0x8004FFFFu)
    std::snprintf(buffer, sizeof buffer, "IDispatch error #%d", static_cast<int>(result - 0x80040200u));
  else
    std::snprintf(buffer, sizeof buffer, "Unknown error 0x%0lX", static_cast<unsigned long>(result));
  return buffer;
}

std::string ValueText(const codeconv::CodePageConverter& pages, unsigned codePage, const ColumnValue& value) {
  if (value.isNull) return {};
  return pages.FromUtf16(codePage, value.text);
}

ExampleItemRow MapScanRow(const codeconv::CodePageConverter& pages, unsigned codePage, const ColumnValue& headingNumber,
                          const ColumnValue& headingText, const ColumnValue& itemNumber, const ColumnValue& japanese) {
  ExampleItemRow row;
  // The heading number only joins and is kept; a text that is not a number
  // in range counts as no heading.
  if (!headingNumber.isNull) {
    if (auto n = ParseWholeNumber(ValueText(pages, codePage, headingNumber)); n && *n >= INT_MIN && *n <= INT_MAX)
      row.headingNumber = static_cast<int>(*n);
  }
  row.headingText = ValueText(pages, codePage, headingText);
  row.itemNumber = ValueText(pages, codePage, itemNumber);
  row.japanese = ValueText(pages, codePage, japanese);
  return row;
}

std::optional<long> ParseWholeNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  size_t end = text.size();
  while (end > i && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  if (i == end) return std::nullopt;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') {
    negative = text[i] == '-';
    ++i;
  }
  if (i == end) return std::nullopt;
  long long value = 0;
  for (; i < end; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < -2147483647LL - 1 || value > 2147483647LL) return std::nullopt;
  return static_cast<long>(value);
}

long ItemDataOf(std::string_view itemNumber) {
  const auto n = ParseWholeNumber(itemNumber);
  return n ? *n : 0;
}

}  // namespace ferlin

#include "example_database.h"

#include <map>

namespace ferlin {
namespace {

std::vector<std::u16string> SplitHeading(const std::u16string& heading) {
  std::vector<std::u16string> parts;
  const std::u16string separator = u" > ";
  size_t start = 0;
  while (true) {
    const size_t at = heading.find(separator, start);
    parts.push_back(heading.substr(start, at == std::u16string::npos ? std::u16string::npos : at - start));
    if (at == std::u16string::npos) break;
    start = at + separator.size();
  }
  return parts;
}

std::u16string Decimal(long long n) {
  const std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

}  // namespace

exdb::Database BuildExampleDatabase(const std::vector<ombrel::data::Example>& examples, const KanaReader& reading) {
  exdb::Table headings{u"見出しテーブル", {{u"見出し番号", true}, {u"見出し", false}}, {}};
  exdb::Table items{u"項目テーブル",
                    {{u"ID", true},
                     {u"見出し番号", true},
                     {u"項目番号", false},
                     {u"日本語文", false},
                     {u"韓国語文", false},
                     {u"カナ読み", false}},
                    {}};
  std::vector<std::u16string> path;  // the headings the current parent lies under, outermost first
  std::vector<long long> pathNumbers;
  std::map<std::vector<std::u16string>, long long> numbers;
  long long id = 0, itemNumber = 0;
  for (const auto& example : examples) {
    const std::vector<std::u16string> wanted = SplitHeading(example.heading);
    size_t common = 0;
    while (common < path.size() && common < wanted.size() && path[common] == wanted[common]) ++common;
    // The first new heading climbs from the current parent (depth
    // path.size() below the root) to the shared part; the deeper ones nest.
    for (size_t level = common; level < wanted.size(); ++level) {
      const long long climb = level == common ? static_cast<long long>(path.size() - common) : 0;
      path.resize(level);
      pathNumbers.resize(level);
      path.push_back(wanted[level]);
      long long& number = numbers[path];
      if (number == 0) {
        number = static_cast<long long>(headings.rows.size()) + 1;
        headings.rows.push_back({exdb::Cell::Int(number), exdb::Cell::Str(wanted[level])});
      }
      pathNumbers.push_back(number);
      items.rows.push_back({exdb::Cell::Int(++id), exdb::Cell::Int(number), exdb::Cell::Null(),
                            exdb::Cell::Str(Decimal(climb)), exdb::Cell::Null(), exdb::Cell::Null()});
    }
    items.rows.push_back({exdb::Cell::Int(++id), exdb::Cell::Int(pathNumbers.empty() ? 0 : pathNumbers.back()),
                          exdb::Cell::Str(Decimal(++itemNumber)), exdb::Cell::Str(example.japanese),
                          exdb::Cell::Str(example.korean), exdb::Cell::Str(reading(example.korean))});
  }
  return {{std::move(headings), std::move(items)}};
}

}  // namespace ferlin

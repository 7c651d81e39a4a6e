// The stand-in database: its rows file, the program's five queries run over
// a small fixture, and the generated database of the project's example text
// read back the way the contents tree reads it.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "code_page.h"
#include "contents.h"
#include "example_db.h"
#include "example_rows.h"

namespace {

using exdb::Cell;

// Two headings; a heading row, two items (one with leading zeros, one with
// a NULL reading), an item whose heading is missing, out of ID order.
const char kFixture[] =
    "# fixture\n"
    "table 見出しテーブル\n"
    "columns\t見出し番号:int\t見出し:text\n"
    "1\t挨拶\n"
    "2\t買い物\n"
    "table 項目テーブル\n"
    "columns\tID:int\t見出し番号:int\t項目番号:text\t日本語文:text\t韓国語文:text\tカナ読み:text\n"
    "3\t1\t12\tこんにちは。\t안녕하세요.\tアンニョンハセヨ.\n"
    "1\t1\t\\N\t0\t\\N\t\\N\n"
    "4\t1\t0013\tさようなら。\t안녕히 가세요.\t\\N\n"
    "5\t9\t14\ta\\tb\t가\tカ\n";

exdb::Database Fixture() {
  std::string error;
  auto db = exdb::ReadRows(kFixture, error);
  EXPECT_TRUE(db) << error;
  return db ? *db : exdb::Database{};
}

exdb::QueryResult RunSql(const exdb::Database& db, std::u16string_view sql) {
  exdb::QueryResult r;
  std::u16string error;
  EXPECT_TRUE(exdb::RunQuery(db, sql, r, error)) << codeconv::PlatformCodePages().FromUtf16(65001, error);
  return r;
}

TEST(ExampleRows, ItemLookupsFindTheExactItemNumberText) {
  const exdb::Database db = Fixture();
  using ferlin::ExampleReader;
  exdb::QueryResult r = RunSql(db, ferlin::ItemLookupCommandText(ExampleReader::KoreanSentence, u"12"));
  ASSERT_EQ(r.rows.size(), 1u);
  EXPECT_EQ(r.columns, (std::vector<std::u16string>{u"項目番号", u"韓国語文"}));
  EXPECT_EQ(r.rows[0][1], Cell::Str(u"안녕하세요."));
  // "0013" is stored with leading zeros: the decimal form does not find it.
  EXPECT_TRUE(RunSql(db, ferlin::ItemLookupCommandText(ExampleReader::JapaneseSentence, u"13")).rows.empty());
  r = RunSql(db, ferlin::ItemLookupCommandText(ExampleReader::KanaReading, u"0013"));
  ASSERT_EQ(r.rows.size(), 1u);
  EXPECT_EQ(r.rows[0][1], Cell::Null());
  r = RunSql(db, ferlin::ItemLookupCommandText(ExampleReader::JapaneseSentence, u"14"));
  ASSERT_EQ(r.rows.size(), 1u);
  EXPECT_EQ(r.rows[0][1], Cell::Str(u"a\tb"));
}

TEST(ExampleRows, ScansJoinHeadingsAndKeepIdOrder) {
  const exdb::Database db = Fixture();
  const exdb::QueryResult r = RunSql(db, ferlin::ExampleQuery(ferlin::ExampleReader::Contents));
  EXPECT_EQ(r.columns, (std::vector<std::u16string>{u"ID", u"見出し番号", u"見出し", u"項目番号", u"日本語文",
                                                    u"韓国語文", u"カナ読み"}));
  ASSERT_EQ(r.rows.size(), 4u);
  const long long ids[] = {1, 3, 4, 5};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(r.rows[i][0], Cell::Int(ids[i]));
  EXPECT_EQ(r.rows[0][2], Cell::Str(u"挨拶"));
  EXPECT_EQ(r.rows[0][3], Cell::Null());
  EXPECT_EQ(r.rows[3][2], Cell::Null());  // heading 9 does not exist: NULL from the join
  const exdb::QueryResult s = RunSql(db, ferlin::ExampleQuery(ferlin::ExampleReader::Search));
  EXPECT_EQ(s.columns.size(), 6u);
  EXPECT_EQ(s.rows.size(), 4u);
}

TEST(ExampleRows, QueriesItDoesNotTakeAreRefusedWithAReason) {
  const exdb::Database db = Fixture();
  for (const char16_t* sql : {u"SELECT 項目テーブル.ID FROM なし", u"SELECT 項目テーブル.存在しない FROM 項目テーブル",
                              u"DELETE FROM 項目テーブル", u"SELECT ID FROM 項目テーブル WHERE ID = \"1",
                              u"SELECT ID FROM 項目テーブル GROUP BY ID"}) {
    exdb::QueryResult r;
    std::u16string error;
    EXPECT_FALSE(exdb::RunQuery(db, sql, r, error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(ExampleRows, MalformedFilesAreRefusedAndWrittenFilesReadBack) {
  for (const char* text : {"1\t2\n", "table t\n1\n", "table t\ncolumns\ta:int\nx\n", "table t\ncolumns\ta:int\tb:text\n1\n",
                           "table t\ncolumns\ta:text\nbad\\q\n", "table t\ncolumns\ta:real\n"}) {
    std::string error;
    EXPECT_FALSE(exdb::ReadRows(text, error)) << text;
    EXPECT_FALSE(error.empty());
  }
  const exdb::Database db = Fixture();
  std::string error;
  const auto back = exdb::ReadRows(exdb::WriteRows(db), error);
  ASSERT_TRUE(back) << error;
  ASSERT_EQ(back->tables.size(), 2u);
  EXPECT_EQ(back->tables[1].rows, db.tables[1].rows);
}

// ---- the generated database of the project's example text ----

std::string ReadAll(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A tree of labels: children of each node by its label path.
class LabelTree final : public ferlin::ContentsTree {
 public:
  bool HasItems() override { return !nodes.empty(); }
  void Clear() override { nodes.clear(); }
  Node InsertLast(Node parent, const std::string& label, long data, bool) override {
    nodes.push_back({parent, label, data});
    return nodes.size();
  }
  Node ParentOf(Node node) override { return nodes[node - 1].parent; }
  struct N {
    Node parent;
    std::string label;
    long data;
  };
  std::vector<N> nodes;
};

TEST(GeneratedExamples, TheContentsTreeShowsTheTextsHeadingsAndItemsInOrder) {
  // The headings of the text, each with its examples' Japanese, in order.
  std::vector<std::pair<std::string, std::vector<std::string>>> groups;
  {
    std::istringstream text(ReadAll(FERLIN_EXAMPLES_FILE));
    for (std::string line; std::getline(text, line);) {
      if (line.empty() || line[0] == '#') continue;
      if (line[0] == '*') {
        groups.push_back({line.substr(2), {}});
        continue;
      }
      std::string japanese = line.substr(0, line.find(" | "));
      groups.back().second.push_back(japanese);
    }
  }
  size_t itemCount = 0;
  for (auto& g : groups) itemCount += g.second.size();
  EXPECT_GE(itemCount, 300u);

  std::string error;
  const auto db = exdb::ReadRows(ReadAll(FERLIN_ROWS_FILE), error);
  ASSERT_TRUE(db) << error;
  const exdb::QueryResult r = RunSql(*db, ferlin::ExampleQuery(ferlin::ExampleReader::Contents));
  const auto& pages = codeconv::PlatformCodePages();
  auto value = [](const Cell& c) {
    return c.kind == Cell::Kind::Null ? ferlin::ColumnValue::Null() : ferlin::ColumnValue::Text(c.AsText());
  };
  LabelTree tree;
  ferlin::ContentsBuilder builder(tree, ferlin::kContentsRootLabel);
  for (const auto& row : r.rows)
    builder.AddRow(ferlin::MapScanRow(pages, 932, value(row[1]), value(row[2]), value(row[3]), value(row[4])));

  // Walk the tree: each item's heading path and label, in insertion order.
  auto utf8 = [&](const std::string& sjis) { return pages.FromUtf16(65001, pages.ToUtf16(932, sjis)); };
  std::vector<std::pair<std::string, std::vector<std::string>>> shown;
  std::vector<long> numbers;
  for (size_t i = 0; i < tree.nodes.size(); ++i) {
    const auto& n = tree.nodes[i];
    if (n.data == 0) continue;
    std::string path;
    for (auto p = n.parent; p != ferlin::ContentsTree::kTopLevel; p = tree.nodes[p - 1].parent) {
      if (tree.nodes[p - 1].parent == ferlin::ContentsTree::kTopLevel) break;  // the root
      path = utf8(tree.nodes[p - 1].label) + (path.empty() ? "" : " > " + path);
    }
    if (shown.empty() || shown.back().first != path) shown.push_back({path, {}});
    shown.back().second.push_back(utf8(n.label));
    numbers.push_back(n.data);
  }
  ASSERT_EQ(shown.size(), groups.size());
  for (size_t g = 0; g < groups.size(); ++g) {
    EXPECT_EQ(shown[g].first, groups[g].first);
    ASSERT_EQ(shown[g].second.size(), groups[g].second.size()) << groups[g].first;
    for (size_t i = 0; i < groups[g].second.size(); ++i) {
      const std::string label = utf8(ferlin::MakeItemLabel(pages.FromUtf16(932, pages.ToUtf16(65001, groups[g].second[i]))));
      EXPECT_EQ(shown[g].second[i], label);
    }
  }
  // Items are numbered 1, 2, 3, ... in the text's order.
  ASSERT_EQ(numbers.size(), itemCount);
  for (size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], static_cast<long>(i + 1));
  // Only the root is at the top level.
  size_t topLevel = 0;
  for (const auto& n : tree.nodes) topLevel += n.parent == ferlin::ContentsTree::kTopLevel;
  EXPECT_EQ(topLevel, 1u);
}

TEST(GeneratedExamples, EveryItemHasItsKanaReading) {
  std::string error;
  const auto db = exdb::ReadRows(ReadAll(FERLIN_ROWS_FILE), error);
  ASSERT_TRUE(db) << error;
  exdb::QueryResult r = RunSql(*db, ferlin::ItemLookupCommandText(ferlin::ExampleReader::KanaReading, u"1"));
  ASSERT_EQ(r.rows.size(), 1u);
  // The first example is 안녕하세요: an-nyeong-ha-se-yo.
  ASSERT_EQ(r.rows[0][1].kind, Cell::Kind::Text);
  EXPECT_NE(r.rows[0][1].text.find(u"アンニョンハセヨ"), std::u16string::npos);
  const exdb::Table* items = db->Find(u"項目テーブル");
  ASSERT_NE(items, nullptr);
  const int number = items->ColumnIndex(u"項目番号"), kana = items->ColumnIndex(u"カナ読み");
  for (const auto& row : items->rows) {
    if (row[number].kind == Cell::Kind::Null) continue;
    ASSERT_EQ(row[kana].kind, Cell::Kind::Text);
    bool katakana = false;
    for (char16_t c : row[kana].text) katakana |= c >= u'ァ' && c <= u'ヶ';
    EXPECT_TRUE(katakana) << "item " << codeconv::PlatformCodePages().FromUtf16(65001, row[number].text);
  }
}

}  // namespace

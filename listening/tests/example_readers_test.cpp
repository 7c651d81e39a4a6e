// The readers' flow over a record source of our own that runs the queries
// on a fixture database and fails the step a test names: what is shown,
// what the tree keeps, and that every read closes its source.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "code_page.h"
#include "example_readers.h"
#include "example_rows.h"

namespace ferlin {
namespace {

const char kFixture[] =
    "table 見出しテーブル\n"
    "columns\t見出し番号:int\t見出し:text\n"
    "1\t買い物\n"
    "table 項目テーブル\n"
    "columns\tID:int\t見出し番号:int\t項目番号:text\t日本語文:text\t韓国語文:text\tカナ読み:text\n"
    "1\t1\t\\N\t0\t\\N\t\\N\n"
    "2\t1\t1\t赤い車を買いました。\t빨간 차를 샀어요.\tパルガン チャルル サッソヨ.\n"
    "3\t1\t2\t青い車です。\t파란 차예요.\tパラン チャエヨ.\n"
    "4\t1\t3\t赤いりんごです。\t빨간 사과예요.\tパルガン サグァエヨ.\n"
    "5\t1\t12\tこれは\t\\N\t\\N\n";

enum class Step { Open, Count, First, Next, Read };

class FakeSource final : public RecordSource {
 public:
  FakeSource() {
    std::string error;
    db = *exdb::ReadRows(kFixture, error);
  }
  bool Open(const std::u16string& connection, const std::u16string& command, ReadFailure& f) override {
    ++opens;
    connections.push_back(connection);
    commands.push_back(command);
    if (Fails(Step::Open, f)) return false;
    std::u16string error;
    if (!exdb::RunQuery(db, command, result, error)) {
      f = {0x80040E14u, "syntax"};
      return false;
    }
    at = 0;
    return true;
  }
  bool RecordCount(long& count, ReadFailure& f) override {
    if (Fails(Step::Count, f)) return false;
    count = static_cast<long>(result.rows.size());
    return true;
  }
  bool MoveFirst(ReadFailure& f) override {
    if (Fails(Step::First, f)) return false;
    at = 0;
    return true;
  }
  bool MoveNext(ReadFailure& f) override {
    if (Fails(Step::Next, f)) return false;
    ++at;
    return true;
  }
  bool Read(std::u16string_view column, ColumnValue& value, ReadFailure& f) override {
    if (static_cast<long>(at) == failReadAtRow || Fails(Step::Read, f)) {
      f = {0x80004005u, "row unreadable"};
      return false;
    }
    for (size_t i = 0; i < result.columns.size(); ++i) {
      if (result.columns[i] != column) continue;
      const exdb::Cell& c = result.rows.at(at)[i];
      value = c.kind == exdb::Cell::Kind::Null ? ColumnValue::Null() : ColumnValue::Text(c.AsText());
      return true;
    }
    f = {0x800A0CC1u, "no such column"};
    return false;
  }
  void Close() override { ++closes; }

  bool Fails(Step step, ReadFailure& f) {
    if (failing.count(step) == 0) return false;
    f = {0x80004005u, failing[step]};
    return true;
  }

  exdb::Database db;
  exdb::QueryResult result;
  size_t at = 0;
  std::map<Step, std::string> failing;
  long failReadAtRow = -1;
  int opens = 0, closes = 0;
  std::vector<std::u16string> connections, commands;
};

class Messages final : public ReaderMessages {
 public:
  void ShowFailure(const std::string& text) override { failures.push_back(text); }
  void ShowNotFound() override { ++notFound; }
  std::vector<std::string> failures;
  int notFound = 0;
};

class Tree final : public ContentsTree {
 public:
  bool HasItems() override { return !items.empty(); }
  void Clear() override { items.clear(); }
  Node InsertLast(Node parent, const std::string& label, long data, bool) override {
    items.push_back({parent, label, data});
    return items.size();
  }
  Node ParentOf(Node node) override { return items[node - 1].parent; }
  // The labels, children indented by their depth.
  std::vector<std::string> Labels() const {
    std::vector<std::string> out;
    for (const auto& i : items) {
      int depth = 0;
      for (Node p = i.parent; p != kTopLevel; p = items[p - 1].parent) ++depth;
      out.push_back(std::string(depth, '-') + Utf8(i.label) + "=" + std::to_string(i.data));
    }
    return out;
  }
  static std::string Utf8(const std::string& sjis) {
    const auto& pages = codeconv::PlatformCodePages();
    return pages.FromUtf16(65001, pages.ToUtf16(932, sjis));
  }
  struct Item {
    Node parent;
    std::string label;
    long data;
  };
  std::vector<Item> items;
};

const std::u16string kConnection = ExampleDbConnectionString(u"C:\\Quorvel.mdb");
const auto& Pages() { return codeconv::PlatformCodePages(); }
std::string Sjis(const std::string& utf8) { return Pages().FromUtf16(932, Pages().ToUtf16(65001, utf8)); }

// A tree that shows something already: what a failed read must keep.
void Prefill(Tree& tree) { tree.InsertLast(ContentsTree::kTopLevel, "shown", 0, true); }

TEST(Readers, ALookupReadsTheColumnOfTheFirstRecord) {
  FakeSource source;
  Messages messages;
  LookupResult r = LookupItem(source, messages, kConnection, ExampleReader::KoreanSentence, u"2");
  EXPECT_EQ(r.outcome, ReadOutcome::kDone);
  EXPECT_EQ(r.value.text, u"파란 차예요.");
  EXPECT_EQ(source.connections[0], u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Quorvel.mdb;");
  r = LookupItem(source, messages, kConnection, ExampleReader::KanaReading, u"99");
  EXPECT_EQ(r.outcome, ReadOutcome::kNothing);
  r = LookupItem(source, messages, kConnection, ExampleReader::KoreanSentence, u"12");
  EXPECT_EQ(r.outcome, ReadOutcome::kDone);
  EXPECT_TRUE(r.value.isNull);
  EXPECT_TRUE(messages.failures.empty());
  EXPECT_EQ(source.closes, source.opens);
}

TEST(Readers, ALookupThatCannotOpenSaysSoOnce) {
  FakeSource source;
  // The objects cannot be created: a failure like any other, not a success.
  source.failing[Step::Open] = "Class not registered";
  Messages messages;
  const LookupResult r = LookupItem(source, messages, kConnection, ExampleReader::JapaneseSentence, u"1");
  EXPECT_EQ(r.outcome, ReadOutcome::kFailed);
  EXPECT_EQ(messages.failures, std::vector<std::string>{"Class not registered"});
  EXPECT_EQ(source.closes, 1);
}

TEST(Readers, TheContentsAreBuiltInIdOrder) {
  FakeSource source;
  Messages messages;
  Tree tree;
  Prefill(tree);
  EXPECT_EQ(FillContents(source, messages, kConnection, Pages(), 932, tree), ReadOutcome::kDone);
  EXPECT_EQ(tree.Labels(), (std::vector<std::string>{"目次=0", "-買い物=0", "--赤い車を買いました。=1",
                                                     "--青い車です。=2", "--赤いりんごです。=3", "--これは=12"}));
  EXPECT_TRUE(messages.failures.empty());
  EXPECT_EQ(source.closes, 1);
}

TEST(Readers, AContentsScanThatFailsBeforeItsRowsKeepsTheTree) {
  for (Step step : {Step::Open, Step::Count, Step::First}) {
    FakeSource source;
    source.failing[step] = "could not find file";
    Messages messages;
    Tree tree;
    Prefill(tree);
    EXPECT_EQ(FillContents(source, messages, kConnection, Pages(), 932, tree), ReadOutcome::kFailed);
    EXPECT_EQ(messages.failures, std::vector<std::string>{"could not find file"});
    EXPECT_EQ(tree.Labels(), std::vector<std::string>{"shown=0"});
    EXPECT_EQ(source.closes, 1);
  }
}

TEST(Readers, AnUnreadableRowIsShownAndTheScanGoesOn) {
  FakeSource source;
  source.failReadAtRow = 2;  // 青い車です。
  Messages messages;
  Tree tree;
  EXPECT_EQ(FillContents(source, messages, kConnection, Pages(), 932, tree), ReadOutcome::kDone);
  EXPECT_EQ(messages.failures, std::vector<std::string>{"row unreadable"});
  EXPECT_EQ(tree.Labels(), (std::vector<std::string>{"目次=0", "-買い物=0", "--赤い車を買いました。=1",
                                                     "--赤いりんごです。=3", "--これは=12"}));
}

TEST(Readers, AnEmptyItemTableLeavesTheTreeAsItIs) {
  FakeSource source;
  source.db.tables[1].rows.clear();
  Messages messages;
  Tree tree;
  Prefill(tree);
  EXPECT_EQ(FillContents(source, messages, kConnection, Pages(), 932, tree), ReadOutcome::kNothing);
  EXPECT_EQ(tree.Labels(), std::vector<std::string>{"shown=0"});
  EXPECT_TRUE(messages.failures.empty());
}

TEST(Readers, ATwoWordSearchListsOnlyTheItemsWithBothWords) {
  FakeSource source;
  Messages messages;
  Tree tree;
  Prefill(tree);
  const SearchResult r = SearchWords(source, messages, kConnection, Pages(), 932, tree,
                                     Sjis("赤い") + "\x81\x40" + Sjis("車"), kAllWords);
  EXPECT_EQ(r.outcome, ReadOutcome::kDone);
  EXPECT_EQ(r.query, Sjis("赤い 車"));
  EXPECT_EQ(tree.Labels(), (std::vector<std::string>{"赤い 車=0", "-赤い車を買いました。=1"}));
  EXPECT_EQ(source.closes, 1);
  // Any of the words.
  const SearchResult any = SearchWords(source, messages, kConnection, Pages(), 932, tree, Sjis("青い りんご"), kAnyWord);
  EXPECT_EQ(any.outcome, ReadOutcome::kDone);
  EXPECT_EQ(tree.Labels(), (std::vector<std::string>{"青い りんご=0", "-青い車です。=2", "-赤いりんごです。=3"}));
  EXPECT_EQ(messages.notFound, 0);
}

TEST(Readers, ASearchWithoutMatchKeepsTheTree) {
  FakeSource source;
  Messages messages;
  Tree tree;
  Prefill(tree);
  EXPECT_EQ(SearchWords(source, messages, kConnection, Pages(), 932, tree, Sjis("バス"), kAllWords).outcome,
            ReadOutcome::kNothing);
  // No words: every item with all words, none with any word.
  EXPECT_EQ(SearchWords(source, messages, kConnection, Pages(), 932, tree, " ", kAnyWord).outcome,
            ReadOutcome::kNothing);
  EXPECT_EQ(messages.notFound, 2);
  EXPECT_EQ(tree.Labels(), std::vector<std::string>{"shown=0"});
  EXPECT_EQ(SearchWords(source, messages, kConnection, Pages(), 932, tree, "", kAllWords).outcome, ReadOutcome::kDone);
  EXPECT_EQ(tree.Labels().size(), 5u);  // the root and the four items
}

TEST(Readers, ASearchThatFailsOutsideItsRowsSaysSoAndKeepsTheTree) {
  for (Step step : {Step::Open, Step::Count, Step::First}) {
    FakeSource source;
    source.failing[step] = "provider gone";
    Messages messages;
    Tree tree;
    Prefill(tree);
    const SearchResult r = SearchWords(source, messages, kConnection, Pages(), 932, tree, Sjis("赤い"), kAllWords);
    EXPECT_EQ(r.outcome, ReadOutcome::kFailed);
    EXPECT_EQ(messages.failures, std::vector<std::string>{"provider gone"});
    EXPECT_EQ(messages.notFound, 0);
    EXPECT_EQ(tree.Labels(), std::vector<std::string>{"shown=0"});
    EXPECT_EQ(source.closes, 1);
  }
}

}  // namespace
}  // namespace ferlin

// The listening program's readers through its own ADO calls (32-bit), on
// the example database file the setup program installed. First against
// Wine's own ADO objects, which cannot serve them (there is no Jet provider,
// and Wine's Recordset.Open takes neither the command source nor a missing
// connection): the failure must be shown once and the tree kept. Then with
// the stand-in ADO objects registered for the test: the contents, the item
// lookups, the word search and a missing database.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "ado_registration.h"
#include "ado_source.h"
#include "check.h"
#include "code_page.h"
#include "example_readers.h"
#include "ime_install.h"

using wtest::check;
using wtest::note;

namespace {

std::string U8(const std::wstring& w) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n > 0 ? n : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
  s.resize(std::strlen(s.c_str()));
  return s;
}

const codeconv::CodePageConverter& Pages() { return codeconv::PlatformCodePages(); }
std::string U8(const std::u16string& s) { return Pages().FromUtf16(65001, s); }
std::string Sjis(const char* utf8) { return Pages().FromUtf16(932, Pages().ToUtf16(65001, utf8)); }
std::string SjisToU8(const std::string& sjis) { return Pages().FromUtf16(65001, Pages().ToUtf16(932, sjis)); }

class Messages final : public ferlin::ReaderMessages {
 public:
  void ShowFailure(const std::string& text) override { failures.push_back(text); }
  void ShowNotFound() override { ++notFound; }
  std::vector<std::string> failures;
  int notFound = 0;
};

class Tree final : public ferlin::ContentsTree {
 public:
  bool HasItems() override { return !items.empty(); }
  void Clear() override { items.clear(); }
  Node InsertLast(Node parent, const std::string& label, long data, bool) override {
    items.push_back({parent, label, data});
    return items.size();
  }
  Node ParentOf(Node node) override { return items[node - 1].parent; }
  // The labels (UTF-8) of the children of a node.
  std::vector<std::string> Children(Node parent) const {
    std::vector<std::string> out;
    for (const Item& i : items)
      if (i.parent == parent) out.push_back(SjisToU8(i.label));
    return out;
  }
  Node Find(const std::string& utf8) const {
    for (size_t i = 0; i < items.size(); ++i)
      if (SjisToU8(items[i].label) == utf8) return i + 1;
    return kTopLevel;
  }
  size_t ItemRows() const {
    size_t n = 0;
    for (const Item& i : items) n += i.data != 0;
    return n;
  }
  struct Item {
    Node parent;
    std::string label;
    long data;
  };
  std::vector<Item> items;
};

std::string Joined(const std::vector<std::string>& v) {
  std::string s;
  for (const auto& x : v) s += (s.empty() ? "" : " | ") + x;
  return s.empty() ? "(none)" : s;
}

void Prefill(Tree& tree) { tree.InsertLast(ferlin::ContentsTree::kTopLevel, "shown", 0, true); }

}  // namespace

int main(int argc, char**) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 listening database";
  if (argc != 1) {
    std::printf("usage: ferlin_db_test\n");
    return 2;
  }
  const std::wstring installDir = imeinst::GetString(HKEY_LOCAL_MACHINE, imeinst::kSuiteKey, L"Install Directory");
  const std::wstring database = installDir + L"\\GeulmaruV6\\Quorvel.rows";
  if (!check(GetFileAttributesW(database.c_str()) != INVALID_FILE_ATTRIBUTES, "the setup program installed %s",
             U8(database).c_str()))
    return wtest::finish();
  const std::u16string connection = ferlin::ExampleDbConnectionString(std::u16string(database.begin(), database.end()));

  // ---- Wine's own ADO objects ----
  {
    ferlin::AdoRecordSource source;
    Messages messages;
    Tree tree;
    Prefill(tree);
    const ferlin::ReadOutcome r = ferlin::FillContents(source, messages, connection, Pages(), 932, tree);
    note("Wine's own ADO objects: %s", Joined(messages.failures).c_str());
    check(r == ferlin::ReadOutcome::kFailed && messages.failures.size() == 1,
          "without the stand-in the contents scan fails and says so once (%d messages)",
          static_cast<int>(messages.failures.size()));
    check(tree.Children(ferlin::ContentsTree::kTopLevel) == std::vector<std::string>{"shown"},
          "the tree keeps what it showed");
  }

  const adotest::StandinRegistration registration(adotest::StandinBesideMe());

  // ---- the contents ----
  ferlin::AdoRecordSource treeSource;
  Messages messages;
  Tree tree;
  const ferlin::ReadOutcome built = ferlin::FillContents(treeSource, messages, connection, Pages(), 932, tree);
  if (!check(built == ferlin::ReadOutcome::kDone && messages.failures.empty(),
             "the contents scan reads the example database (%s)", Joined(messages.failures).c_str()))
    return wtest::finish();
  const std::vector<std::string> top = tree.Children(ferlin::ContentsTree::kTopLevel);
  check(top == std::vector<std::string>{"目次"}, "the tree's one root is 目次 (%s)", Joined(top).c_str());
  const std::vector<std::string> headings = tree.Children(1);
  check(headings.size() >= 10 && headings[0] == "挨拶" && headings[1] == "自己紹介" && headings[3] == "買い物",
        "the top headings in order: %s", Joined(headings).c_str());
  const std::vector<std::string> greetings = tree.Children(tree.Find("挨拶"));
  check(greetings == std::vector<std::string>{"出会い", "別れ", "お礼とお詫び"}, "挨拶 holds %s", Joined(greetings).c_str());
  const std::vector<std::string> meeting = tree.Children(tree.Find("出会い"));
  check(!meeting.empty() && meeting[0] == "おはようございます。", "出会い starts with おはようございます。 (%s)",
        meeting.empty() ? "none" : meeting[0].c_str());
  check(tree.ItemRows() == 373, "all 373 examples are items of the tree (%d)", static_cast<int>(tree.ItemRows()));

  // ---- the three lookups of item 1 ----
  {
    ferlin::AdoRecordSource japanese, korean, kana;
    auto j = ferlin::LookupItem(japanese, messages, connection, ferlin::ExampleReader::JapaneseSentence, u"1");
    auto k = ferlin::LookupItem(korean, messages, connection, ferlin::ExampleReader::KoreanSentence, u"1");
    auto r = ferlin::LookupItem(kana, messages, connection, ferlin::ExampleReader::KanaReading, u"1");
    check(j.outcome == ferlin::ReadOutcome::kDone && j.value.text == u"おはようございます。", "item 1's Japanese: %s",
          U8(j.value.text).c_str());
    check(k.outcome == ferlin::ReadOutcome::kDone && k.value.text == u"안녕하세요.", "item 1's Korean: %s",
          U8(k.value.text).c_str());
    check(r.outcome == ferlin::ReadOutcome::kDone && r.value.text.find(u"アンニョンハセヨ") != std::u16string::npos,
          "item 1's kana reading: %s", U8(r.value.text).c_str());
    auto none = ferlin::LookupItem(korean, messages, connection, ferlin::ExampleReader::KoreanSentence, u"0001");
    check(none.outcome == ferlin::ReadOutcome::kNothing, "item \"0001\" is not item 1: no record");
    check(messages.failures.empty(), "no lookup failed (%s)", Joined(messages.failures).c_str());
  }

  // ---- the word search ----
  {
    auto s = ferlin::SearchWords(treeSource, messages, connection, Pages(), 932, tree, Sjis("よろしく　お願い"),
                                 ferlin::kAllWords);
    const std::vector<std::string> found = tree.Children(1);
    check(s.outcome == ferlin::ReadOutcome::kDone && SjisToU8(s.query) == "よろしく お願い",
          "a two-word search shows its result under \"%s\"", SjisToU8(s.query).c_str());
    // The second sentence is 32 bytes: its label is cut to 14 characters.
    check(found == std::vector<std::string>{"よろしくお願いします。", "こちらこそよろしくお願いしま..."},
          "only the items with both words: %s", Joined(found).c_str());
    auto any = ferlin::SearchWords(treeSource, messages, connection, Pages(), 932, tree, Sjis("おはよう さようなら"),
                                   ferlin::kAnyWord);
    const std::vector<std::string> either = tree.Children(1);
    check(any.outcome == ferlin::ReadOutcome::kDone &&
              either == std::vector<std::string>{"おはようございます。", "さようなら。（去る人に）", "さようなら。（残る人に）"},
          "any of two words: %s", Joined(either).c_str());
    const size_t before = tree.items.size();
    auto miss = ferlin::SearchWords(treeSource, messages, connection, Pages(), 932, tree, Sjis("存在しない言葉"),
                                    ferlin::kAllWords);
    check(miss.outcome == ferlin::ReadOutcome::kNothing && messages.notFound == 1 && tree.items.size() == before &&
              tree.Children(1) == either,
          "a search with no match says so and keeps the tree");
    check(messages.failures.empty(), "no search failed (%s)", Joined(messages.failures).c_str());
  }

  // ---- a database that is not there ----
  {
    Messages missing;
    const std::u16string gone = ferlin::ExampleDbConnectionString(u"C:\\nowhere\\Quorvel.mdb");
    const size_t before = tree.items.size();
    const ferlin::ReadOutcome r = ferlin::FillContents(treeSource, missing, gone, Pages(), 932, tree);
    check(r == ferlin::ReadOutcome::kFailed && missing.failures.size() == 1 &&
              missing.failures[0].find("C:\\nowhere\\Quorvel.mdb") != std::string::npos,
          "a missing database shows one message with the provider's text (%s)", Joined(missing.failures).c_str());
    check(tree.items.size() == before, "and the tree keeps what it showed");
  }
  return wtest::finish();
}

// The contents tree's rules over Shift-JIS text: labels cut on character
// boundaries, the search words, a find that never starts on a trail byte,
// and the level rules by which heading rows nest.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "contents.h"

namespace ferlin {
namespace {

const std::string kA = "\x82\xa0";  // あ, two bytes
const std::string kFullBlank = "\x81\x40";

TEST(ItemLabel, ThirtyBytesStayWholeLongerOnesAreCutToWholeCharacters) {
  struct Case {
    std::string sentence;
    std::string expected;
  } cases[] = {
      {std::string(30, 'x'), std::string(30, 'x')},
      {std::string(31, 'x'), std::string(29, 'x') + "..."},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(MakeItemLabel(c.sentence), c.expected);

  std::string fifteen, sixteen, fourteen;
  for (int i = 0; i < 14; ++i) fourteen += kA;
  fifteen = fourteen + kA;
  sixteen = fifteen + kA;
  EXPECT_EQ(MakeItemLabel(fifteen), fifteen);  // 30 bytes
  // 15 characters would be 30 bytes: 14 fit in 29.
  EXPECT_EQ(MakeItemLabel(sixteen), fourteen + "...");
  // One byte, then double-byte characters: 1 + 14 x 2 = 29 bytes.
  EXPECT_EQ(MakeItemLabel("a" + sixteen), "a" + fourteen + "...");
  // A double-byte character on bytes 28-29 is left out whole.
  EXPECT_EQ(MakeItemLabel(std::string(28, 'y') + kA + "zz"), std::string(28, 'y') + "...");
}

TEST(SjisFind, MatchesStartOnlyOnCharacterBoundaries) {
  struct Case {
    std::string text, needle;
    bool found;
  } cases[] = {
      {"\x83\x41", "A", false},                      // ア: its trail byte is 'A'
      {"\x83\x5c", "\\", false},                     // ソ: its trail byte is '\'
      {"x\x83\x41" "A", "A", true},                  // the 'A' after it
      {kA + "\x82\xa2", "\xa0\x82", false},          // across the boundary of あい
      {kA + "\x82\xa2", "\x82\xa2", true},           // い itself
      {"abc", "abcd", false},
      {"abc", "", true},
      {"ab\x82", "\x82", true},                      // a lead byte at the very end is one byte
      {"\x83\x41\x83\x41", "\x41\x83", false},
  };
  for (const Case& c : cases) EXPECT_EQ(SjisContains(c.text, c.needle), c.found) << c.text << " / " << c.needle;
}

TEST(SearchWords, SplitAtHalfAndFullWidthBlanks) {
  struct Case {
    std::string query;
    std::vector<std::string> words;
    std::string rewritten;
  } cases[] = {
      {"", {}, ""},
      {"   ", {}, "   "},
      {"dog", {"dog"}, "dog"},
      {"a" + kFullBlank + "b c", {"a", "b", "c"}, "a b c"},
      {"a  b", {"a", "b"}, "a b"},
      {" a", {"a"}, " a"},
      {"a ", {"a"}, "a "},
      {"a b c d e f g", {"a", "b", "c", "d", "e"}, "a b c d e"},
      {"a b c d e", {"a", "b", "c", "d", "e"}, "a b c d e"},
      // ａ is 0x82 0x81; the '@' after it makes 0x81 0x40, which is no blank.
      {"\x82\x81@", {"\x82\x81@"}, "\x82\x81@"},
      {kFullBlank + kFullBlank, {}, kFullBlank + kFullBlank},
  };
  for (const Case& c : cases) {
    const SearchTerms w = SplitSearchWords(c.query);
    EXPECT_EQ(w.count, static_cast<int>(c.words.size())) << c.query;
    for (int i = 0; i < kMaxSearchWords; ++i)
      EXPECT_EQ(w.words[i], i < static_cast<int>(c.words.size()) ? c.words[i] : "") << c.query << " word " << i;
    EXPECT_EQ(w.query, c.rewritten) << c.query;
  }
}

TEST(SearchWords, AllWordsOrAnyWord) {
  const SearchTerms none = SplitSearchWords("");
  EXPECT_TRUE(MatchesWords("anything", none, kAllWords));
  EXPECT_FALSE(MatchesWords("anything", none, kAnyWord));
  const SearchTerms two = SplitSearchWords("red car");
  EXPECT_TRUE(MatchesWords("a red car", two, kAllWords));
  EXPECT_FALSE(MatchesWords("a red bus", two, kAllWords));
  EXPECT_TRUE(MatchesWords("a red bus", two, kAnyWord));
  EXPECT_FALSE(MatchesWords("a blue bus", two, kAnyWord));
  // Case must match exactly.
  EXPECT_FALSE(MatchesWords("a Red car", two, kAllWords));
}

// A tree that prints itself: "label(data)" with children in braces.
class FakeTree final : public ContentsTree {
 public:
  struct Item {
    Node parent;
    std::string label;
    long data;
    bool expanded;
  };
  bool HasItems() override { return !items.empty(); }
  void Clear() override {
    items.clear();
    ++clears;
  }
  Node InsertLast(Node parent, const std::string& label, long data, bool expanded) override {
    items[next] = {parent, label, data, expanded};
    order.push_back(next);
    return next++;
  }
  Node ParentOf(Node node) override { return items.at(node).parent; }
  std::string Print(Node parent = kTopLevel) const {
    std::string out;
    for (Node n : order) {
      auto it = items.find(n);
      if (it == items.end() || it->second.parent != parent) continue;
      if (!out.empty()) out += " ";
      out += it->second.label + "(" + std::to_string(it->second.data) + ")";
      const std::string children = Print(n);
      if (!children.empty()) out += "{" + children + "}";
    }
    return out;
  }
  std::map<Node, Item> items;
  std::vector<Node> order;
  Node next = 1;
  int clears = 0;
};

ExampleItemRow Heading(const std::string& text, const std::string& climb) { return {1, text, "", climb}; }
ExampleItemRow ItemRow(const std::string& number, const std::string& japanese) { return {1, "h", number, japanese}; }

TEST(ContentsBuilder, HeadingRowsClimbAsTheirJapaneseSentenceSays) {
  FakeTree tree;
  ContentsBuilder builder(tree, "root");
  builder.AddRow(Heading("A", "0"));     // a sub-heading of the root
  builder.AddRow(ItemRow("1", "i1"));
  builder.AddRow(Heading("A1", ""));     // empty: a sub-heading of A
  builder.AddRow(ItemRow("2", "i2"));
  builder.AddRow(Heading("A2", "1"));    // a sibling of A1
  builder.AddRow(ItemRow("3", "i3"));
  builder.AddRow(Heading("B", "2"));     // a sibling of A2's parent A
  builder.AddRow(ItemRow("4", "i4"));
  builder.AddRow(Heading("C", "5"));     // climbs past the root: top level
  builder.AddRow(ItemRow("5", "i5"));
  builder.AddRow(Heading("D", "-1"));    // a negative count climbs nothing
  builder.AddRow(ItemRow("0012", "i6"));
  EXPECT_EQ(tree.Print(), "root(0){A(0){i1(1) A1(0){i2(2)} A2(0){i3(3)}} B(0){i4(4)}} C(0){i5(5) D(0){i6(12)}}");
  EXPECT_TRUE(tree.items.at(builder.Root()).expanded);
  EXPECT_EQ(tree.clears, 0);
}

TEST(ContentsBuilder, ARebuildClearsTheTreeAndLabelsAreCut) {
  FakeTree tree;
  ContentsBuilder(tree, "old").AddRow(ItemRow("1", "x"));
  ContentsBuilder builder(tree, kContentsRootLabel);
  EXPECT_EQ(tree.clears, 1);
  builder.AddRow(ItemRow("7", std::string(31, 'z')));
  builder.AddRow(ItemRow("8", ""));       // an empty sentence: an empty label
  builder.AddRow(ItemRow("12abc", "w"));  // no whole number: an item that cannot be shown
  EXPECT_EQ(tree.Print(), std::string(kContentsRootLabel) + "(0){" + std::string(29, 'z') + "...(7) (8) w(0)}");
}

}  // namespace
}  // namespace ferlin

#include <gtest/gtest.h>

#include "fixture.h"
#include "lists.h"

namespace ombrel {
namespace {

ListItem Item(int32_t id, const std::string& word = "w", int direction = 1) {
  ListItem i;
  SetEntryDirection(i.ref, direction);
  i.ref.idIndex = id;
  i.headword = word;
  return i;
}

std::vector<int32_t> Ids(const std::vector<ListItem>& items) {
  std::vector<int32_t> out;
  for (const ListItem& i : items) out.push_back(i.ref.idIndex);
  return out;
}

TEST(History, SameEntryOnceAtTheTopAndTheCap) {
  std::vector<ListItem> h;
  AddToHistory(h, Item(1));
  AddToHistory(h, Item(2));
  AddToHistory(h, Item(1));
  EXPECT_EQ(Ids(h), (std::vector<int32_t>{1, 2}));
  for (int32_t id = 10; id < 110; ++id) AddToHistory(h, Item(id));
  ASSERT_EQ(h.size(), 100u);
  EXPECT_EQ(h.front().ref.idIndex, 109);
  EXPECT_EQ(h.back().ref.idIndex, 10);  // the 101st distinct entry pushed the oldest out
}

TEST(Wordbook, DuplicatesAndTheCap) {
  std::vector<ListItem> w;
  EXPECT_EQ(AddToWordbook(w, Item(5)), WordbookAdd::kAdded);
  EXPECT_EQ(AddToWordbook(w, Item(5)), WordbookAdd::kAlreadyThere);
  for (int32_t id = 100; id < 1099; ++id) ASSERT_EQ(AddToWordbook(w, Item(id)), WordbookAdd::kAdded);
  ASSERT_EQ(w.size(), 1000u);
  EXPECT_EQ(AddToWordbook(w, Item(7)), WordbookAdd::kFull);  // the 1001st changes nothing
  EXPECT_EQ(w.size(), 1000u);
  EXPECT_EQ(FindListEntry(w, 7), -1);
}

TEST(Lists, RemovingKeepsTheRowNumber) {
  std::vector<ListItem> w{Item(1), Item(2), Item(3)};
  EXPECT_EQ(RemoveRow(w, 1), 1);
  EXPECT_EQ(Ids(w), (std::vector<int32_t>{1, 3}));
  EXPECT_EQ(RemoveRow(w, 1), 0);  // the last row went: the one before
  EXPECT_EQ(RemoveRow(w, 0), -1);  // empty
  EXPECT_EQ(RemoveRow(w, 0), -1);
}

TEST(ListFile, RoundTripInOrder) {
  const std::vector<ListItem> items{Item(3, "\xc7\xd0\xb1\xb3"), Item(70000, "abc"), Item(0, "")};
  const std::string bytes = EncodeListFile(items);
  // Written from the last row to the first.
  EXPECT_EQ(bytes.substr(0, 5), std::string("\0\0\0\0\n", 5));
  const std::vector<ListItem> back = DecodeListFile(bytes, 1, 100000, kWordbookLimit);
  EXPECT_EQ(Ids(back), (std::vector<int32_t>{3, 70000, 0}));
  EXPECT_EQ(back[0].headword, "\xc7\xd0\xb1\xb3");
  EXPECT_EQ(back[0].ref.Direction(), 1);
  EXPECT_EQ(back[0].ref.textOffset, -1);  // only the id index comes from the file
}

TEST(ListFile, HostileRecords) {
  std::string bytes = EncodeListFile({Item(5, "ok"), Item(-3, "negative"), Item(500, "too big")});
  // A cut-off record: two bytes of an id index.
  bytes += std::string("\x01\x00", 2);
  const std::vector<ListItem> back = DecodeListFile(bytes, 0, 100, kHistoryLimit);
  EXPECT_EQ(Ids(back), std::vector<int32_t>{5});
  // A headword line longer than 255 bytes is cut, the next record still read.
  std::string longLine = EncodeListFile({Item(1, std::string(300, 'x')), Item(2, "y")});
  const std::vector<ListItem> cut = DecodeListFile(longLine, 0, 100, kHistoryLimit);
  EXPECT_EQ(Ids(cut), (std::vector<int32_t>{1, 2}));
  // Encode already wrote it cut; a raw long line reads back cut as well.
  std::string raw = std::string("\x01\0\0\0", 4) + std::string(300, 'x') + "\n";
  const std::vector<ListItem> rawBack = DecodeListFile(raw, 0, 100, kHistoryLimit);
  ASSERT_EQ(rawBack.size(), 1u);
  EXPECT_EQ(rawBack[0].headword.size(), 255u);
  // A missing headword line leaves the text empty.
  const std::vector<ListItem> bare = DecodeListFile(std::string("\x02\0\0\0", 4), 0, 100, kHistoryLimit);
  ASSERT_EQ(bare.size(), 1u);
  EXPECT_EQ(bare[0].headword, "");
  // More records than the limit keep the newest.
  std::vector<ListItem> many;
  for (int32_t i = 0; i < 120; ++i) many.push_back(Item(i));
  EXPECT_EQ(DecodeListFile(EncodeListFile(many), 0, 1000, kHistoryLimit).size(), 100u);
}

TEST(ListFile, SavingCreatesAMissingFileWhole) {
  const std::string path = test::TempRoot("listfile") + kWordbookFileName;
  ASSERT_TRUE(WriteWholeFile(path, EncodeListFile({Item(9, "a")})));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(Ids(DecodeListFile(bytes, 0, 10, kWordbookLimit)), std::vector<int32_t>{9});
  ASSERT_TRUE(WriteWholeFile(path, EncodeListFile({Item(8, "b"), Item(9, "a")})));
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(Ids(DecodeListFile(bytes, 0, 10, kWordbookLimit)), (std::vector<int32_t>{8, 9}));
  EXPECT_FALSE(WriteWholeFile("/nonexistent-folder/x/history.dat", "x"));
}

TEST(SearchBoxHistory, HeadersAndLines) {
  const std::string text =
      "ignored before a header\n"
      "##1\t0\n"
      "\xc7\xd0\xb1\xb3\n"
      "##2\t0\n"  // no header: a text of direction 1
      "##0\t9\n"  // no header either (second digit 0-8)
      "##0\t0\r\n"
      "\x8a\x77\x8d\x5a\r\n";
  const SearchBoxHistory h = DecodeSearchBoxHistory(text);
  EXPECT_EQ(h.texts[1], (std::vector<std::string>{"\xc7\xd0\xb1\xb3", "##2\t0", "##0\t9"}));
  EXPECT_EQ(h.texts[0], std::vector<std::string>{"\x8a\x77\x8d\x5a"});
  const SearchBoxHistory back = DecodeSearchBoxHistory(EncodeSearchBoxHistory(h));
  EXPECT_EQ(back.texts[0], h.texts[0]);
  EXPECT_EQ(back.texts[1], h.texts[1]);
  EXPECT_EQ(EncodeSearchBoxHistory(SearchBoxHistory{}), "##0\t0\n##1\t0\n");
}

TEST(SearchBoxHistory, RememberRules) {
  std::vector<std::string> t;
  RememberSearchText(t, "");
  EXPECT_TRUE(t.empty());
  for (int i = 0; i < 12; ++i) RememberSearchText(t, "w" + std::to_string(i));
  ASSERT_EQ(t.size(), 10u);
  EXPECT_EQ(t.front(), "w11");
  RememberSearchText(t, "w5");
  EXPECT_EQ(t.front(), "w5");
  EXPECT_EQ(t.size(), 10u);
  EXPECT_EQ(std::count(t.begin(), t.end(), "w5"), 1);
}

}  // namespace
}  // namespace ombrel

#include "dic_list.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "fake_user_dic_engine.h"

namespace {

using workbench::DicListPager;

// Entries "w01".."wNN" (ASCII sorts like Shift-JIS for these).
void Fill(workbench_test::FakeUserDicEngine& engine, int n) {
  engine.infos['0'] = {"C:\\u\\one", 0};
  for (int i = 1; i <= n; ++i) {
    char w[16];
    std::snprintf(w, sizeof w, "w%02d", i);
    engine.AddEntry(w);
  }
}

std::vector<int> Numbers(const DicListPager& pager) {
  std::vector<int> v;
  for (const auto& r : pager.Rows()) v.push_back(r.number);
  return v;
}
std::vector<int> Range(int from, int to) {
  std::vector<int> v;
  for (int k = from; k <= to; ++k) v.push_back(k);
  return v;
}

TEST(DicList, ThirteenEntriesAreOnePage) {
  workbench_test::FakeUserDicEngine engine;
  Fill(engine, 13);
  DicListPager pager(engine, "C:\\u\\one");
  ASSERT_TRUE(pager.Open());
  EXPECT_EQ(Numbers(pager), Range(1, 13));
  EXPECT_FALSE(pager.CanPageForward());
  EXPECT_FALSE(pager.CanPageBackward());
  EXPECT_EQ(pager.RowNumberText(), "    1");
}

TEST(DicList, ThirtyEntriesPageAt1And14And27AndBackWithTheHighBits) {
  workbench_test::FakeUserDicEngine engine;
  Fill(engine, 30);
  DicListPager pager(engine, "C:\\u\\one");
  ASSERT_TRUE(pager.Open());
  EXPECT_EQ(pager.FirstRow(), 1);
  EXPECT_TRUE(pager.CanPageForward());
  ASSERT_TRUE(pager.PageForward());
  EXPECT_EQ(pager.FirstRow(), 14);
  EXPECT_EQ(Numbers(pager), Range(14, 26));
  EXPECT_TRUE(pager.CanPageForward());
  ASSERT_TRUE(pager.PageForward());
  EXPECT_EQ(pager.FirstRow(), 27);
  EXPECT_EQ(Numbers(pager), Range(27, 30));  // the third page: 4 rows
  EXPECT_FALSE(pager.CanPageForward());
  EXPECT_FALSE(pager.PageForward());
  ASSERT_TRUE(pager.PageBackward());
  EXPECT_EQ(pager.FirstRow(), 14);
  EXPECT_EQ(Numbers(pager), Range(14, 26));  // ascending again
  ASSERT_TRUE(pager.PageBackward());
  EXPECT_EQ(Numbers(pager), Range(1, 13));
  EXPECT_FALSE(pager.CanPageBackward());

  // The calls: forward from -1, then from each page's last; backward from
  // each page's first, with the digit's other bits all ones.
  const auto& calls = engine.listCalls;
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[0].start, -1);
  EXPECT_EQ(calls[0].step, 2);
  EXPECT_EQ(calls[0].digit, '0');
  EXPECT_EQ(calls[1].start, 13);
  EXPECT_EQ(calls[2].start, 26);
  EXPECT_EQ(calls[3].start, 27);
  EXPECT_EQ(calls[3].step, -2);
  EXPECT_EQ(calls[3].count, 13);
  EXPECT_EQ(static_cast<unsigned>(calls[3].digit), 0xFFFFFF30u);
  EXPECT_EQ(calls[4].start, 14);
}

TEST(DicList, RowScrollsReadOneEntryAtTheEdges) {
  workbench_test::FakeUserDicEngine engine;
  Fill(engine, 15);
  DicListPager pager(engine, "C:\\u\\one");
  ASSERT_TRUE(pager.Open());
  pager.Select(12);
  ASSERT_TRUE(pager.MoveDown());  // past the last row: one entry more
  EXPECT_EQ(Numbers(pager), Range(2, 14));
  EXPECT_EQ(pager.RowNumberText(), "   14");
  ASSERT_TRUE(pager.MoveDown());
  EXPECT_FALSE(pager.MoveDown());  // the last entry
  EXPECT_EQ(pager.RowNumberText(), "   15");
  pager.Select(0);
  ASSERT_TRUE(pager.MoveUp());
  ASSERT_TRUE(pager.MoveUp());
  EXPECT_EQ(Numbers(pager), Range(1, 13));
  EXPECT_FALSE(pager.MoveUp());  // the first entry
}

TEST(DicList, DeletingTheOnlyEntryEmptiesTheList) {
  workbench_test::FakeUserDicEngine engine;
  Fill(engine, 1);
  DicListPager pager(engine, "C:\\u\\one");
  ASSERT_TRUE(pager.Open());
  ASSERT_EQ(pager.DeleteSelected(), 0);
  EXPECT_EQ(pager.Total(), 0);
  EXPECT_TRUE(pager.Rows().empty());
  EXPECT_EQ(pager.RowNumberText(), "    0");
  EXPECT_FALSE(pager.CanPageForward());
  EXPECT_FALSE(pager.CanPageBackward());
  EXPECT_TRUE(pager.Changed());
  EXPECT_TRUE(engine.entries.empty());
}

TEST(DicList, AFailedDeleteLeavesThePageAsItWas) {
  workbench_test::FakeUserDicEngine engine;
  Fill(engine, 3);
  DicListPager pager(engine, "C:\\u\\one");
  ASSERT_TRUE(pager.Open());
  pager.Select(1);
  engine.updateResult = -6;
  EXPECT_EQ(pager.DeleteSelected(), -6);
  EXPECT_EQ(Numbers(pager), Range(1, 3));
  EXPECT_EQ(pager.Total(), 3);
  EXPECT_EQ(pager.Selection(), 1);
  EXPECT_FALSE(pager.Changed());
}

TEST(DicList, DeletingKeepsThePageFullAndTheSelectionInPlace) {
  workbench_test::FakeUserDicEngine engine;
  Fill(engine, 30);
  DicListPager pager(engine, "C:\\u\\one");
  ASSERT_TRUE(pager.Open());
  pager.Select(4);
  ASSERT_EQ(pager.DeleteSelected(), 0);
  ASSERT_EQ(engine.updates.size(), 1u);
  EXPECT_EQ(engine.updates[0].number, 5);
  EXPECT_EQ(Numbers(pager), Range(1, 13));  // w14, now number 13, fills the page
  EXPECT_EQ(std::string(pager.Rows()[12].listedSource), "w14");
  EXPECT_EQ(std::string(pager.Rows()[4].listedSource), "w06");
  EXPECT_EQ(pager.Selection(), 4);
  EXPECT_EQ(pager.Total(), 29);

  // The last row of three: the new last is selected.
  workbench_test::FakeUserDicEngine small;
  Fill(small, 3);
  DicListPager three(small, "C:\\u\\one");
  ASSERT_TRUE(three.Open());
  three.Select(2);
  ASSERT_EQ(three.DeleteSelected(), 0);
  EXPECT_EQ(Numbers(three), Range(1, 2));
  EXPECT_EQ(three.Selection(), 1);
}

TEST(DicList, FindStopsAtTheFirstEntryThatSortsAfterTheText) {
  workbench_test::FakeUserDicEngine engine;
  Fill(engine, 30);
  DicListPager pager(engine, "C:\\u\\one");
  ASSERT_TRUE(pager.Open());
  engine.listCalls.clear();
  // "w03a" sorts between w03 and w04: no match, one page read.
  auto found = pager.Find("w03a");
  EXPECT_EQ(found.count, 0);
  EXPECT_EQ(engine.listCalls.size(), 1u);
  EXPECT_EQ(workbench::FoundMessage(found.count), "指定された文字列が見つかりません");
  // An entry on the third page: three reads.
  engine.listCalls.clear();
  found = pager.Find("w28");
  EXPECT_EQ(found.count, 1);
  EXPECT_EQ(found.number, 28);
  EXPECT_EQ(engine.listCalls.size(), 3u);
  // Past the end: the scan ends with the dictionary.
  found = pager.Find("x");
  EXPECT_EQ(found.count, 0);
}

TEST(DicList, FindCountsEqualEntriesAndShowsTheFirstAsTheThirdRow) {
  workbench_test::FakeUserDicEngine engine;
  engine.infos['0'] = {"C:\\u\\one", 0};
  for (const char* w : {"a", "b", "c", "d", "e", "k", "k", "k", "m"}) engine.AddEntry(w);
  DicListPager pager(engine, "C:\\u\\one");
  ASSERT_TRUE(pager.Open());
  const auto found = pager.Find("k");
  EXPECT_EQ(found.count, 3);
  EXPECT_EQ(found.number, 6);
  EXPECT_EQ(workbench::FoundMessage(found.count), "指定された文字列が 3 個見つかりました");
  ASSERT_TRUE(pager.ShowEntry(found.number));
  EXPECT_EQ(pager.FirstRow(), 4);
  EXPECT_EQ(pager.Selection(), 2);
  EXPECT_EQ(std::string(pager.Rows()[2].listedSource), "k");
  // Near the top there are not two entries before it.
  ASSERT_TRUE(pager.ShowEntry(2));
  EXPECT_EQ(pager.FirstRow(), 1);
  EXPECT_EQ(pager.Selection(), 1);
}

}  // namespace

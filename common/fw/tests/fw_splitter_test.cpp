// Splitter geometry: layout of the tracks for a client size, the pane and
// bar rectangles, hit-testing, dragging with both rules, nested splitters
// and the keyboard's pane order. Metrics throughout: bars of 7, borders of 2.
#include <gtest/gtest.h>

#include <vector>

#include "splitter_geometry.h"

namespace fw {
namespace {

struct LayoutCase {
  const char* what;
  std::vector<Track> asked;  // ideal and minimum of each row
  int height;
  std::vector<int> sizes;  // the rows' current sizes
};

class RowLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(RowLayout, GivesEachRowItsSize) {
  const LayoutCase& c = GetParam();
  SplitterGeometry g(static_cast<int>(c.asked.size()), 1);
  for (int i = 0; i < static_cast<int>(c.asked.size()); ++i) g.SetRowInfo(i, c.asked[i].ideal, c.asked[i].minimum);
  g.Layout(400, c.height);
  std::vector<int> sizes;
  for (int i = 0; i < g.rows(); ++i) sizes.push_back(g.Row(i).current);
  EXPECT_EQ(sizes, c.sizes) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowLayout,
    testing::Values(
        // 120 fits into 300 - 7; the last row takes 300 - 127.
        LayoutCase{"ideal size fits", {{120, 0}, {0, 0}}, 300, {120, 173}},
        // Only 100 - 7 is left for the first row; nothing for the second.
        LayoutCase{"shrunk below the ideal", {{120, 0}, {0, 0}}, 100, {93, 0}},
        LayoutCase{"ideal below the minimum collapses", {{120, 130}, {0, 0}}, 300, {0, 293}},
        // 90 - 7 = 83 is less than the minimum 100.
        LayoutCase{"room below the minimum collapses", {{120, 100}, {0, 0}}, 90, {0, 83}},
        LayoutCase{"ideal 0 with minimum 0 is an empty row", {{0, 0}, {50, 0}}, 200, {0, 193}},
        // 100, 100 and 320 - 214 for the last.
        LayoutCase{"three rows", {{100, 0}, {100, 0}, {10, 0}}, 320, {100, 100, 106}},
        // The second row finds 320 - 107 - 7 = 206 < 250: shrunk to it; the last row gets 0.
        LayoutCase{"the middle row shrinks to the room", {{100, 0}, {250, 0}, {10, 0}}, 320, {100, 206, 0}},
        // The last row's minimum does not hide it: it takes what is left.
        LayoutCase{"the last row ignores its minimum", {{100, 0}, {0, 500}}, 300, {100, 193}},
        LayoutCase{"no room at all", {{100, 0}, {0, 0}}, 0, {0, 0}}));

TEST(SplitterGeometry, PaneAndBarRectanglesOfTwoRows) {
  SplitterGeometry g(2, 1);
  g.SetRowInfo(0, 120, 0);
  g.Layout(400, 300);
  EXPECT_EQ(g.Cell(0, 0), (Box{0, 0, 400, 120}));
  EXPECT_EQ(g.PaneRect(0, 0), (Box{2, 2, 398, 118}));
  EXPECT_EQ(g.RowBar(0), (Box{0, 120, 400, 127}));
  EXPECT_EQ(g.Cell(1, 0), (Box{0, 127, 400, 300}));
  EXPECT_EQ(g.PaneRect(1, 0), (Box{2, 129, 398, 298}));
  EXPECT_EQ(g.PaneRect(1, 0, true), (Box{0, 127, 400, 300})) << "a nested splitter fills its cell";
  EXPECT_EQ(g.RowBar(1), Box{}) << "no bar after the last row";
  EXPECT_EQ(g.ColumnBar(0), Box{}) << "one column: no column bar";
  EXPECT_EQ(g.Cell(2, 0), Box{});
  EXPECT_EQ(g.Cell(0, 1), Box{});
}

TEST(SplitterGeometry, ColumnsAndCollapsedPanes) {
  SplitterGeometry g(1, 2);
  g.SetColumnInfo(0, 160, 0);
  g.Layout(640, 400);
  EXPECT_EQ(g.Column(0).current, 160);
  EXPECT_EQ(g.Column(1).current, 473);
  EXPECT_EQ(g.ColumnBar(0), (Box{160, 0, 167, 400}));
  EXPECT_EQ(g.PaneRect(0, 1), (Box{169, 2, 638, 398}));
  // Narrower than the ideal size plus a bar: the second column is empty.
  g.Layout(150, 400);
  EXPECT_EQ(g.Column(0).current, 143);
  EXPECT_FALSE(g.IsPaneShown(0, 1));
  EXPECT_EQ(g.PaneRect(0, 1), Box{});
  EXPECT_EQ(g.ColumnBar(0), (Box{143, 0, 150, 400}));
  // A cell no wider than its two borders has no room for a pane window.
  g.SetColumnInfo(0, 4, 0);
  g.Layout(640, 400);
  EXPECT_FALSE(g.IsPaneShown(0, 0));
  EXPECT_TRUE(g.IsPaneShown(0, 0, true));
}

TEST(SplitterGeometry, OneCellAndBadCounts) {
  SplitterGeometry g(0, -3);
  EXPECT_EQ(g.rows(), 1);
  EXPECT_EQ(g.columns(), 1);
  g.Layout(100, 50);
  EXPECT_EQ(g.PaneRect(0, 0), (Box{2, 2, 98, 48}));
  EXPECT_FALSE(g.HitTest(50, 25).any());
  g.SetRowInfo(5, 10, 10);  // ignored
  EXPECT_EQ(g.Row(5), Track{});
}

TEST(SplitterGeometry, MetricsOfTheirOwn) {
  SplitterGeometry g(2, 1, SplitterMetrics{4, 0});
  g.SetRowInfo(0, 50, 0);
  g.Layout(100, 100);
  EXPECT_EQ(g.PaneRect(0, 0), (Box{0, 0, 100, 50}));
  EXPECT_EQ(g.RowBar(0), (Box{0, 50, 100, 54}));
  EXPECT_EQ(g.PaneRect(1, 0), (Box{0, 54, 100, 100}));
}

struct HitCase {
  int x, y;
  BarHit hit;
};

TEST(SplitterGeometry, HitTestOfTheBars) {
  // 2 x 2, both first tracks 100: the row bar spans y 100..106, the column bar x 100..106.
  SplitterGeometry g(2, 2);
  g.SetRowInfo(0, 100, 0);
  g.SetColumnInfo(0, 100, 0);
  g.Layout(200, 200);
  const HitCase cases[] = {
      {103, 50, {-1, 0}}, {50, 103, {0, -1}}, {103, 103, {0, 0}}, {100, 10, {-1, 0}}, {106, 10, {-1, 0}},
      {107, 10, {}},      {99, 10, {}},       {50, 50, {}},       {-1, 103, {}},      {103, 200, {}},
  };
  for (const HitCase& c : cases) EXPECT_EQ(g.HitTest(c.x, c.y), c.hit) << c.x << "," << c.y;
}

// Two rows in 300: 120 and 173, so the bar may go from 0 to 293.
struct DragCase {
  const char* what;
  DragRule rule;
  int min0, min1;
  int to;
  bool changed;
  int size0, size1;
};

class RowDrag : public testing::TestWithParam<DragCase> {};

TEST_P(RowDrag, EndsWhereTheRulesSay) {
  const DragCase& c = GetParam();
  SplitterGeometry g(2, 1);
  g.SetRowInfo(0, 120, c.min0);
  g.SetRowInfo(1, 0, c.min1);
  g.SetDragRule(c.rule);
  g.Layout(400, 300);
  ASSERT_EQ(g.Row(0).current, 120);
  EXPECT_EQ(g.EndDrag(Axis::kRows, 0, c.to), c.changed) << c.what;
  EXPECT_EQ(g.Row(0).current, c.size0) << c.what;
  EXPECT_EQ(g.Row(1).current, c.size1) << c.what;
  EXPECT_EQ(g.BarPosition(Axis::kRows, 0), c.size0) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowDrag,
    testing::Values(DragCase{"down", DragRule::kCollapse, 0, 0, 200, true, 200, 93},
                    DragCase{"past the end: held at 293", DragRule::kCollapse, 0, 0, 500, true, 293, 0},
                    DragCase{"above the top: held at 0", DragRule::kCollapse, 0, 0, -40, true, 0, 293},
                    DragCase{"the same place", DragRule::kCollapse, 0, 0, 120, false, 120, 173},
                    DragCase{"first below its minimum collapses", DragRule::kCollapse, 50, 0, 30, true, 0, 293},
                    DragCase{"first at its minimum stays", DragRule::kCollapse, 50, 0, 50, true, 50, 243},
                    // 293 - 250 = 43 < 60.
                    DragCase{"second below its minimum collapses", DragRule::kCollapse, 0, 60, 250, true, 293, 0},
                    DragCase{"refused above the first's minimum", DragRule::kRefuse, 50, 60, 30, true, 50, 243},
                    DragCase{"refused below the second's minimum", DragRule::kRefuse, 50, 60, 250, true, 233, 60},
                    DragCase{"inside the limits", DragRule::kRefuse, 50, 60, 150, true, 150, 143},
                    DragCase{"no room for both minimums", DragRule::kRefuse, 100, 200, 150, false, 120, 173}));

TEST(SplitterGeometry, DragRangeAndTracker) {
  SplitterGeometry g(2, 1);
  g.SetRowInfo(0, 120, 50);
  g.SetRowInfo(1, 0, 60);
  g.Layout(400, 300);
  EXPECT_EQ(g.DragRange(Axis::kRows, 0).low, 0);
  EXPECT_EQ(g.DragRange(Axis::kRows, 0).high, 293);
  g.SetDragRule(DragRule::kRefuse);
  EXPECT_EQ(g.ClampDrag(Axis::kRows, 0, 10), 50);
  EXPECT_EQ(g.ClampDrag(Axis::kRows, 0, 290), 233);
  EXPECT_EQ(g.ClampDrag(Axis::kRows, 0, 140), 140);
  EXPECT_TRUE(g.DragRange(Axis::kRows, 1).empty()) << "no bar after the last row";
  EXPECT_TRUE(g.DragRange(Axis::kColumns, 0).empty()) << "one column: no column bar";
  g.SetRowInfo(0, 120, 200);
  g.SetRowInfo(1, 0, 200);
  g.Layout(400, 500);  // 120 is below the minimum 200: the first row collapses
  EXPECT_EQ(g.Row(0).current, 0);
  EXPECT_FALSE(g.DragRange(Axis::kRows, 0).empty()) << "200 to 493 - 200";
  EXPECT_EQ(g.ClampDrag(Axis::kRows, 0, 0), 200);
}

TEST(SplitterGeometry, ThreeRowsTradeOnlyAcrossTheDraggedBar) {
  SplitterGeometry g(3, 1);
  g.SetRowInfo(0, 100, 0);
  g.SetRowInfo(1, 100, 0);
  g.Layout(400, 320);  // 100, 100, 106; bars at 100 and 207
  ASSERT_TRUE(g.EndDrag(Axis::kRows, 0, 150));
  EXPECT_EQ(g.Row(0).current, 150);
  EXPECT_EQ(g.Row(1).current, 50);
  EXPECT_EQ(g.Row(2).current, 106);
  EXPECT_EQ(g.BarPosition(Axis::kRows, 1), 207) << "the far bar stays";
  // A taller client: the first two keep their sizes, the last takes the rest.
  g.Layout(400, 420);
  EXPECT_EQ(g.Row(0).current, 150);
  EXPECT_EQ(g.Row(1).current, 50);
  EXPECT_EQ(g.Row(2).current, 420 - 150 - 7 - 50 - 7);
  // The bar before the last row: row 1 starts at 157.
  ASSERT_TRUE(g.EndDrag(Axis::kRows, 1, 300));
  EXPECT_EQ(g.Row(1).current, 300 - 157);
  EXPECT_EQ(g.Row(2).current, 420 - 307);
  EXPECT_EQ(g.Row(0).current, 150);
}

TEST(SplitterGeometry, ACollapsedRowIsDraggedOutAgain) {
  SplitterGeometry g(2, 1);
  g.SetRowInfo(0, 120, 40);
  g.Layout(400, 300);
  ASSERT_TRUE(g.EndDrag(Axis::kRows, 0, 20));
  EXPECT_EQ(g.Row(0).current, 0);
  EXPECT_EQ(g.RowBar(0), (Box{0, 0, 400, 7})) << "the bar stays at the top";
  EXPECT_EQ(g.HitTest(200, 3), (BarHit{0, -1}));
  ASSERT_TRUE(g.EndDrag(Axis::kRows, 0, 90));
  EXPECT_EQ(g.Row(0).current, 90);
  EXPECT_EQ(g.Row(1).current, 203);
}

TEST(SplitterGeometry, ColumnDragAndAGrowingClient) {
  SplitterGeometry g(1, 2);
  g.SetColumnInfo(0, 160, 0);
  g.Layout(640, 400);
  ASSERT_TRUE(g.EndDrag(Axis::kColumns, 0, 300));
  g.Layout(800, 400);
  EXPECT_EQ(g.Column(0).current, 300) << "the dragged width is kept";
  EXPECT_EQ(g.Column(1).current, 493);
  EXPECT_EQ(g.PaneRect(0, 1), (Box{309, 2, 798, 398}));
}

TEST(SplitterTree, NestedPanesInKeyboardOrder) {
  // Outer 1 x 2 in 640 x 400, the first column 160 wide; the second holds
  // a 3 x 1 splitter of rows 120, 120 and the rest in its cell 167..640.
  SplitterGeometry outer(1, 2);
  outer.SetColumnInfo(0, 160, 0);
  SplitterTree tree(outer);
  SplitterGeometry inner(3, 1);
  inner.SetRowInfo(0, 120, 0);
  inner.SetRowInfo(1, 120, 0);
  tree.Nest(0, 1, inner);
  const std::vector<Box> panes = LayOutTree(tree, Box{0, 0, 640, 400});
  const std::vector<Box> expected{
      {2, 2, 158, 398},      // the outer left pane
      {169, 2, 638, 118},    // inner row 0: 0..120 inset
      {169, 129, 638, 245},  // inner row 1: 127..247 inset
      {169, 256, 638, 398},  // inner row 2: 254..400 inset
  };
  EXPECT_EQ(panes, expected);
  ASSERT_NE(tree.At(0, 1), nullptr);
  EXPECT_EQ(tree.At(0, 1)->geometry.width(), 473);
  EXPECT_EQ(tree.At(0, 1)->geometry.Row(2).current, 146);
  EXPECT_EQ(tree.At(0, 0), nullptr);
}

TEST(SplitterTree, AnOffsetArea) {
  SplitterTree tree(SplitterGeometry(2, 1));
  tree.geometry.SetRowInfo(0, 50, 0);
  const std::vector<Box> panes = LayOutTree(tree, Box{10, 30, 210, 230});
  const std::vector<Box> expected{{12, 32, 208, 78}, {12, 89, 208, 228}};
  EXPECT_EQ(panes, expected);
}

struct NextCase {
  std::vector<bool> shown;
  int current;
  bool backwards;
  int next;
};

TEST(SplitterPanes, NextPaneGoesRoundAndSkipsHiddenOnes) {
  const NextCase cases[] = {
      {{true, true, true, true}, 0, false, 1},  {{true, true, true, true}, 3, false, 0},
      {{true, true, true, true}, 0, true, 3},   {{true, true, true, true}, 2, true, 1},
      {{true, false, true, true}, 0, false, 2}, {{true, false, true, true}, 2, true, 0},
      {{false, true, true}, -1, false, 1},      {{true, true, false}, -1, true, 1},
      {{false, true}, 1, false, 1},             {{false, false}, 0, false, -1},
      {{}, -1, false, -1},                      {{true, true}, 7, false, 0},
  };
  for (const NextCase& c : cases) {
    bool raw[8]{};
    for (std::size_t i = 0; i < c.shown.size(); ++i) raw[i] = c.shown[i];
    EXPECT_EQ(NextPane(std::span<const bool>(raw, c.shown.size()), c.current, c.backwards), c.next)
        << "from " << c.current << (c.backwards ? " backwards" : " forwards");
  }
}

}  // namespace
}  // namespace fw

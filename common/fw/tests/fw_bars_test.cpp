// The frame's control bars: where a dragged bar docks, how the client area is
// shared by bars on every side, the status bar and the view, the widths of
// the status panes, the tool-bar resource and a command's fly-by texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "bar_layout.h"
#include "bar_resource.h"

namespace fw {
namespace {

TEST(DockSide, NearestEdgeWithinReachOtherwiseFloating) {
  const Box client{0, 0, 400, 300};
  struct Case {
    const char* what;
    int x, y;
    DockSide expected;
  } cases[] = {
      {"just below the top edge", 200, 5, DockSide::kTop},
      {"above the top edge, within reach", 200, -15, DockSide::kTop},
      {"above the top edge, out of reach", 200, -21, DockSide::kFloat},
      {"near the bottom", 200, 290, DockSide::kBottom},
      {"near the left", 3, 150, DockSide::kLeft},
      {"right of the right edge", 415, 150, DockSide::kRight},
      {"the middle", 200, 150, DockSide::kFloat},
      {"nearer the left than the top", 4, 10, DockSide::kLeft},
      {"nearer the top than the left", 10, 4, DockSide::kTop},
      {"a corner: top wins the tie", 5, 5, DockSide::kTop},
      {"far left of the window", -300, 150, DockSide::kFloat},
  };
  for (const Case& c : cases) EXPECT_EQ(DockSideAt(client, c.x, c.y, 20), c.expected) << c.what;
}

TEST(BarLayout, BarsOnEverySideLeaveTheMiddleToTheView) {
  const Box client{0, 0, 600, 400};
  struct Case {
    const char* what;
    std::vector<DockedBar> bars;
    int status;
    std::vector<Box> rects;
    Box statusBox;
    Box view;
  } cases[] = {
      {"nothing", {}, 0, {}, {}, {0, 0, 600, 400}},
      {"tool bar at the top and status bar", {{DockSide::kTop, 28}}, 20, {{0, 0, 600, 28}},
       {0, 380, 600, 400}, {0, 28, 600, 380}},
      {"at the bottom, above the status bar", {{DockSide::kBottom, 28}}, 20, {{0, 352, 600, 380}},
       {0, 380, 600, 400}, {0, 0, 600, 352}},
      {"at the left", {{DockSide::kLeft, 30}}, 20, {{0, 0, 30, 380}}, {0, 380, 600, 400}, {30, 0, 600, 380}},
      {"at the right, no status bar", {{DockSide::kRight, 30}}, 0, {{570, 0, 600, 400}}, {}, {0, 0, 570, 400}},
      {"the sides fit between top and bottom bars, whatever the order",
       {{DockSide::kLeft, 30}, {DockSide::kTop, 28}, {DockSide::kRight, 40}, {DockSide::kBottom, 26}},
       20,
       {{0, 28, 30, 354}, {0, 0, 600, 28}, {560, 28, 600, 354}, {0, 354, 600, 380}},
       {0, 380, 600, 400},
       {30, 28, 560, 354}},
      {"two at the top stack in order", {{DockSide::kTop, 28}, {DockSide::kTop, 24}}, 0,
       {{0, 0, 600, 28}, {0, 28, 600, 52}}, {}, {0, 52, 600, 400}},
      {"a floating bar takes nothing", {{DockSide::kFloat, 28}}, 0, {{}}, {}, {0, 0, 600, 400}},
  };
  for (const Case& c : cases) {
    const BarLayout l = LayOutBars(client, c.bars, c.status);
    EXPECT_EQ(l.bars, c.rects) << c.what;
    EXPECT_EQ(l.status, c.statusBox) << c.what;
    EXPECT_EQ(l.view, c.view) << c.what;
  }
}

TEST(BarLayout, ATinyClientAreaIsNeverOverrun) {
  const std::vector<DockedBar> bars{{DockSide::kTop, 28}, {DockSide::kLeft, 30}};
  const BarLayout l = LayOutBars({0, 0, 20, 35}, bars, 20);
  EXPECT_EQ(l.status, (Box{0, 15, 20, 35}));
  EXPECT_EQ(l.bars[0], (Box{0, 0, 20, 15}));
  EXPECT_EQ(l.bars[1], (Box{0, 15, 20, 15}));
  EXPECT_EQ(l.view, (Box{20, 15, 20, 15}));
}

TEST(StatusPanes, FixedPanesKeepTheirWidthsTheStretchingOneTakesTheRest) {
  struct Case {
    const char* what;
    std::vector<int> widths;
    int room, gap;
    std::vector<int> edges;
  } cases[] = {
      // The editor's bar: message pane, line status, code, CAP, NUM.
      {"five panes", {kStretchPane, 90, 30, 28, 30}, 500, 2, {314, 406, 438, 468, 500}},
      {"too narrow: the message pane shrinks to nothing", {kStretchPane, 90, 30}, 100, 2, {0, 92, 124}},
      {"stretching pane in the middle", {50, kStretchPane, 50}, 300, 0, {50, 250, 300}},
      {"two stretching panes share, the first takes the odd pixel", {kStretchPane, kStretchPane}, 101, 0, {51, 101}},
      {"only fixed panes", {40, 40}, 300, 4, {40, 84}},
  };
  for (const Case& c : cases) EXPECT_EQ(StatusPaneEdges(c.widths, c.room, c.gap), c.edges) << c.what;
}

TEST(StatusPanes, WidthIsTheTextInsideItsBorders) {
  EXPECT_EQ(StatusPaneWidth(84, 3), 90);
  EXPECT_EQ(StatusPaneWidth(0, 3), 6);
  EXPECT_EQ(StatusPaneWidth(-5, -1), 0);
}

std::vector<std::uint8_t> Block(std::vector<unsigned> words) {
  std::vector<std::uint8_t> b;
  for (unsigned w : words) {
    b.push_back(static_cast<std::uint8_t>(w & 0xFF));
    b.push_back(static_cast<std::uint8_t>(w >> 8));
  }
  return b;
}

TEST(ToolBarResource, TheSixteenBitLayoutAndWhatIsRefused) {
  const auto good = Block({1, 16, 15, 4, 57600, 0, 57601, 57666});
  const auto parsed = ParseToolBarResource(good);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(*parsed, (ToolBarResource{16, 15, {57600, 0, 57601, 57666}}));

  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
  } refused[] = {
      {"empty", {}},
      {"header cut short", Block({1, 16, 15})},
      {"version 2", Block({2, 16, 15, 1, 57600})},
      {"more slots counted than present", Block({1, 16, 15, 3, 57600, 57601})},
      {"no picture width", Block({1, 0, 15, 1, 57600})},
      {"no picture height", Block({1, 16, 0, 1, 57600})},
  };
  for (const Case& c : refused) EXPECT_FALSE(ParseToolBarResource(c.bytes)) << c.what;
  EXPECT_EQ(ParseToolBarResource(Block({1, 16, 15, 0})), (ToolBarResource{16, 15, {}}));
}

TEST(ToolBarResource, ButtonsTakeThePicturesInOrderSeparatorsNone) {
  const unsigned editor[] = {57600, 57601, 57603, 57607, 0, 57635, 0, 57637, 0, 0, 57634, 57638, 0, 57636, 0, 57666};
  EXPECT_EQ(SlotPictures(editor), (std::vector<int>{0, 1, 2, 3, -1, 4, -1, 5, -1, -1, 6, 7, -1, 8, -1, 9}));
}

TEST(CommandTexts, PromptBeforeTheLineBreakTipAfter) {
  struct Case {
    std::u16string text, prompt, tip;
  } cases[] = {
      {u"貼り付けｺﾏﾝﾄﾞでｸﾘｯﾌﾟﾎﾞｰﾄﾞのﾃﾞｰﾀを貼り付ける時のｺｰﾄﾞを選択\n貼り付け形式",
       u"貼り付けｺﾏﾝﾄﾞでｸﾘｯﾌﾟﾎﾞｰﾄﾞのﾃﾞｰﾀを貼り付ける時のｺｰﾄﾞを選択", u"貼り付け形式"},
      {u"only a prompt", u"only a prompt", u""},
      {u"\ntip only", u"", u"tip only"},
      {u"a\nb\nc", u"a", u"b\nc"},
      {u"", u"", u""},
  };
  for (const Case& c : cases) {
    const CommandTexts t = SplitCommandString(c.text);
    EXPECT_EQ(t.prompt, c.prompt);
    EXPECT_EQ(t.tip, c.tip);
  }
}

}  // namespace
}  // namespace fw

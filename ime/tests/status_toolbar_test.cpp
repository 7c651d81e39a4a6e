#include <gtest/gtest.h>

#include "status_toolbar.h"
#include "window_layout.h"

namespace ime {
namespace {

TEST(StatusToolbarLayout, WidthFollowsTheButtonCount) {
  const ToolbarButtonMap configured = ParseToolbar("101111111111");
  const ToolbarButtonMap full = FullToolbarMap();
  EXPECT_EQ(configured.count, 11);
  EXPECT_EQ(StatusToolbarSize(configured.count).cx, 310);
  EXPECT_EQ(CurrentToolbarMap(configured, full, false).count, 11);
  EXPECT_EQ(CurrentToolbarMap(configured, full, true).count, 12);
  EXPECT_EQ(StatusToolbarSize(CurrentToolbarMap(configured, full, true).count).cx, 332);
  // With all twelve configured the switch changes nothing.
  const ToolbarButtonMap all = ParseToolbar("111111111111");
  EXPECT_EQ(&CurrentToolbarMap(all, full, true), &all);
}

TEST(StatusToolbarLayout, HitTestAtTheEdges) {
  const Size client{310, 29};  // eleven buttons
  struct Case {
    Point p;
    uint32_t mask;
  } cases[] = {
      {{10, 7}, 0},             // the top strip
      {{0, 8}, kHitGrip},
      {{52, 28}, kHitGrip},
      {{53, 8}, 1u << 0},
      {{74, 20}, 1u << 0},
      {{75, 20}, 1u << 1},
      {{96, 20}, 1u << 1},
      {{97, 20}, 1u << 2},
      {{294, 20}, 1u << 10},    // the last button ends at 53 + 22 x 11
      {{295, 8}, kHitSwitch},
      {{295, 18}, kHitSwitch},
      {{295, 19}, kHitOnOff},
      {{309, 28}, kHitOnOff},   // the right end answers as the small buttons
      {{310, 20}, 0},           // outside
      {{-1, 20}, 0},
      {{100, 29}, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(StatusHitTest(c.p, client, 11), c.mask) << c.p.x << "," << c.p.y;
  // Without buttons everything right of the grip is the switch or on/off.
  EXPECT_EQ(StatusHitTest({53, 10}, {68, 29}, 0), kHitSwitch);
  EXPECT_EQ(StatusHitTest({53, 25}, {68, 29}, 0), kHitOnOff);
}

TEST(StatusToolbarLayout, ToolRectangles) {
  EXPECT_EQ(StatusToolRect(0, 11), (Rect{53, 7, 75, 29}));
  EXPECT_EQ(StatusToolRect(10, 11), (Rect{273, 7, 295, 29}));
  EXPECT_EQ(StatusToolRect(11, 11), (Rect{1000, 7, 1000, 29}));  // unused
  EXPECT_EQ(StatusToolRect(12, 11), (Rect{295, 11, 306, 22}));
  EXPECT_EQ(StatusToolRect(13, 11), (Rect{295, 23, 306, 34}));
  // The relayed point stays on the strip of buttons but reaches every tool.
  EXPECT_EQ(StatusRelayPoint({300, 2}, 11), (Point{300, 7}));
  EXPECT_EQ(StatusRelayPoint({400, 40}, 11), (Point{309, 28}));
  EXPECT_EQ(StatusRelayPoint({-3, 12}, 11), (Point{0, 12}));
}

TEST(StatusToolbarLayout, ModeRules) {
  constexpr unsigned N = kConvNative, F = kConvFullShape;
  struct Case {
    int function;
    ModeState before, after;
  } cases[] = {
      // Input mode: closed opens in Hangul half width.
      {1, {false, 0}, {true, N}},
      {1, {false, F}, {true, N}},
      {1, {false, N | F}, {true, N}},
      {1, {true, N}, {false, N}},        // half width, Hangul: closes
      {1, {true, 0}, {true, N}},         // half width, alphanumeric: Hangul
      {1, {true, N | F}, {true, F}},     // full width: toggles Hangul
      {1, {true, F}, {true, N | F}},
      // Input size: closed opens in full-width alphanumeric.
      {2, {false, 0}, {true, F}},
      {2, {false, N}, {true, F}},
      {2, {true, N}, {true, N | F}},     // Hangul: toggles full width
      {2, {true, N | F}, {true, N}},
      {2, {true, F}, {false, F}},        // alphanumeric full width: closes
      {2, {true, 0}, {true, F}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ApplyModeButton(c.function, c.before), c.after)
        << "function " << c.function << " open " << c.before.open << " mode " << c.before.mode;
  }
}

TEST(StatusToolbarLayout, OnOffButton) {
  constexpr unsigned N = kConvNative, F = kConvFullShape;
  EXPECT_EQ(ApplyOnOffButton({true, N}, true), (ModeState{false, N}));
  EXPECT_EQ(ApplyOnOffButton({false, 0}, true), (ModeState{true, N}));      // InputSize "SBCS"
  EXPECT_EQ(ApplyOnOffButton({false, 0}, false), (ModeState{true, N | F}));  // full-width setting
  EXPECT_EQ(ApplyOnOffButton({false, F}, true), (ModeState{true, F}));      // a mode already set stays
}

TEST(StatusToolbarLayout, PaintPlan) {
  const ToolbarButtonMap configured = ParseToolbar("101111111111");  // 1, 3, 4, ... 12
  StatusLook look;
  look.map = &configured;
  look.context = true;
  look.open = true;
  look.mode = kConvNative;
  std::vector<StatusBlit> plan = StatusPaintPlan(look);
  ASSERT_EQ(plan.size(), 3u + 11u + 2u);
  EXPECT_EQ(plan[0], (StatusBlit{{0, 0, 310, 7}, {0, 0}}));       // top strip
  EXPECT_EQ(plan[1], (StatusBlit{{0, 7, 53, 29}, {0, 7}}));       // grip
  EXPECT_EQ(plan[2], (StatusBlit{{381, 7, 385, 29}, {306, 7}}));  // right end at 22n + 64
  EXPECT_EQ(plan[3], (StatusBlit{{53, 7, 75, 29}, {53, 7}}));     // function 1, Hangul: first image
  EXPECT_EQ(plan[4], (StatusBlit{{141, 7, 163, 29}, {75, 7}}));   // function 3 at position 1
  EXPECT_EQ(plan[13], (StatusBlit{{339, 7, 361, 29}, {273, 7}})); // function 12
  EXPECT_EQ(plan[14], (StatusBlit{{361, 7, 372, 18}, {295, 7}})); // switch
  EXPECT_EQ(plan[15], (StatusBlit{{361, 18, 372, 29}, {295, 18}}));  // on/off, open

  // Alphanumeric: the second image of function 1; pressed and hovered rows.
  look.mode = 0;
  look.pressed = 1u << 1;
  look.hover = kHitOnOff;
  plan = StatusPaintPlan(look);
  EXPECT_EQ(plan[3].src, (Rect{75, 7, 97, 29}));
  EXPECT_EQ(plan[4].src, (Rect{141, 29, 163, 51}));   // pressed row 22
  EXPECT_EQ(plan[15].src, (Rect{361, 84, 372, 95}));  // on/off hover at y 84

  // A busy lookup window disables functions 3, 5, 10 and 11; the others stay.
  look.pressed = look.hover = 0;
  look.busy = true;
  plan = StatusPaintPlan(look);
  EXPECT_EQ(plan[4].src.top, 51);   // function 3 disabled (row 44)
  EXPECT_EQ(plan[5].src.top, 7);    // function 4
  EXPECT_EQ(plan[6].src.top, 51);   // function 5
  EXPECT_EQ(plan[12].src.top, 51);  // function 11

  // Without a context every button is disabled and the on/off button shows y 62.
  look.context = false;
  look.open = false;
  plan = StatusPaintPlan(look);
  for (size_t i = 3; i < 14; ++i) EXPECT_EQ(plan[i].src.top, 51) << i;
  EXPECT_EQ(plan[14].src.top, 51);
  EXPECT_EQ(plan[15].src, (Rect{372, 62, 383, 73}));

  // The full map switched in: twelve buttons, the switch's second image.
  const ToolbarButtonMap full = FullToolbarMap();
  StatusLook wide;
  wide.map = &full;
  wide.context = true;
  wide.fullShown = true;
  plan = StatusPaintPlan(wide);
  ASSERT_EQ(plan.size(), 3u + 12u + 2u);
  EXPECT_EQ(plan[0].src, (Rect{0, 0, 332, 7}));
  EXPECT_EQ(plan[4].src, (Rect{119, 7, 141, 29}));  // function 2, half width: second image
  EXPECT_EQ(plan[15], (StatusBlit{{372, 7, 383, 18}, {317, 7}}));
  EXPECT_EQ(plan[16].src, (Rect{372, 18, 383, 29}));  // closed
}

TEST(StatusToolbarLayout, PlacesStayInsideTheWorkArea) {
  const Rect work{0, 0, 1280, 770};
  EXPECT_EQ(ClampStatusPosition({1200, 790}, 11, work), (Point{970, 741}));
  EXPECT_EQ(ClampStatusPosition({-50, -10}, 11, work), (Point{0, 0}));
  EXPECT_EQ(ClampStatusPosition({400, 300}, 11, work), (Point{400, 300}));
  EXPECT_EQ(ClampStatusPosition({1000, 300}, 12, work), (Point{948, 300}));  // the switch widened it
  // A work area narrower than the toolbar keeps its left edge.
  EXPECT_EQ(ClampStatusPosition({50, 10}, 12, {100, 0, 300, 700}), (Point{100, 10}));

  const MenuMetrics m{2, 1, 19, 3, 800};
  // Below the toolbar: x = left + 22i + SM_CXEDGE + SM_CXBORDER.
  EXPECT_EQ(UtilityMenuPosition({100, 200, 410, 229}, 8, m), (Point{100 + 176 + 3, 229}));
  // Near the bottom: above it, 7 menu lines of SM_CYMENU - SM_CYDLGFRAME.
  EXPECT_EQ(UtilityMenuPosition({100, 741, 410, 770}, 8, m), (Point{279, 741 - 7 * 16 + 1}));
}

TEST(StatusToolbarLayout, HelpCalls) {
  ImeConfig cfg;
  cfg.programFolder = "C:\\VALDRIMO\\GeulmaruV6\\";
  cfg.helpFileName = HelpFileName("ZORBENV6.IME");
  EXPECT_EQ(ImeHelpCall(cfg, 0, 0), (HelpCall{kHhDisplayTopic, "C:\\VALDRIMO\\GeulmaruV6\\ZORBENV6.CHM", 0}));
  EXPECT_EQ(ImeHelpCall(cfg, 0, 120), (HelpCall{kHhHelpContext, "C:\\VALDRIMO\\GeulmaruV6\\ZORBENV6.CHM", 120}));
  EXPECT_EQ(ImeHelpCall(cfg, 2, 0), (HelpCall{kHhCloseAll, "", 0}));
}

TEST(StatusToolbarLayout, Tooltips) {
  EXPECT_EQ(std::u16string(StatusTooltip(1)), u"入力モード");
  EXPECT_EQ(std::u16string(StatusTooltip(12)), u"ヘルプ");
  EXPECT_EQ(std::u16string(StatusTooltip(13)), u"");
  EXPECT_EQ(std::u16string(StatusOnOffTooltip()), u"ＩＭＥ ＯＮ／ＯＦＦ 切替");
}

}  // namespace
}  // namespace ime

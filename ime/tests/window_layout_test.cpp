// Layout of the composition and candidate windows with a fixed-width
// measurer: 8 pixels a byte (16 for a double-byte character), 20 high.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comp_paint.h"
#include "window_layout.h"

namespace ime {
namespace {

struct FixedMeasurer : TextMeasurer {
  int perByte = 8;
  int height = 20;
  Size Extent(const char*, size_t n) const override { return {static_cast<int>(n) * perByte, height}; }
};

// n KS syllables (가 = B0 A1), each 16 pixels wide.
std::string Syllables(size_t n) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s += "\xb0\xa1";
  return s;
}

const EdgeMetrics kEdges{2, 2, 16};

TEST(CompositionLayout, WrapsAt258Pixels) {
  FixedMeasurer m;
  // 16 syllables are 256 pixels: one line; a 17th would make 272.
  EXPECT_EQ(WrapComposition(Syllables(16), IsCp949Lead, m).size(), 1u);
  auto lines = WrapComposition(Syllables(17), IsCp949Lead, m);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], (TextSlice{0, 32}));
  EXPECT_EQ(lines[1], (TextSlice{32, 2}));
  // A single byte after 16 syllables makes 264: it wraps.
  lines = WrapComposition(Syllables(16) + "a", IsCp949Lead, m);
  EXPECT_EQ(lines.size(), 2u);
  // 32 single bytes are 256: they fit; the 33rd wraps.
  EXPECT_EQ(WrapComposition(std::string(32, 'a'), IsCp949Lead, m).size(), 1u);
  EXPECT_EQ(WrapComposition(std::string(33, 'a'), IsCp949Lead, m).size(), 2u);
  EXPECT_EQ(WrapComposition("", IsCp949Lead, m).size(), 1u);
}

TEST(CompositionLayout, MainWindowGrowsByOneLine) {
  EXPECT_EQ(MainCompWindowSize(1, 20, 2, 2), (Size{272, 44}));
  EXPECT_EQ(MainCompWindowSize(2, 20, 2, 2), (Size{272, 64}));
}

TEST(CompositionLayout, DefaultPositionIsTheBottomLeftOfTheWorkArea) {
  const Rect work{0, 0, 1280, 770};
  const Size size = MainCompWindowSize(1, 20, 2, 2);
  EXPECT_EQ(ClampToWorkArea(DefaultMainCompPosition(work), size, work), (Point{0, 770 - 44}));
}

TEST(CompositionLayout, ClampKeepsTheWindowInside) {
  const Rect work{100, 50, 800, 600};
  const Size s{272, 44};
  EXPECT_EQ(ClampToWorkArea({700, 580}, s, work), (Point{528, 556}));
  EXPECT_EQ(ClampToWorkArea({-10, -10}, s, work), (Point{100, 50}));
  // Wider than the work area: the left edge wins.
  EXPECT_EQ(ClampToWorkArea({0, 0}, {1000, 44}, work), (Point{100, 50}));
}

TEST(CaretWindows, SlicesNeverSplitACharacter) {
  FixedMeasurer m;
  const Rect area{100, 100, 200, 400};
  // 40 pixels to the right edge: two syllables (32), not a third (48).
  CaretLayout l = SliceCaretWindows(Syllables(10), IsCp949Lead, m, {160, 100}, area, false, 20);
  EXPECT_TRUE(l[0].shown);
  EXPECT_EQ(l[0].slice, (TextSlice{0, 4}));
  EXPECT_EQ(l[0].rect, (Rect{160, 100, 192, 120}));
  // Then full lines of 100 pixels: six syllables (96).
  EXPECT_EQ(l[1].slice, (TextSlice{4, 12}));
  EXPECT_EQ(l[1].rect, (Rect{100, 120, 196, 140}));
  EXPECT_EQ(l[2].slice, (TextSlice{16, 4}));
  EXPECT_EQ(l[2].rect, (Rect{100, 140, 132, 160}));
  EXPECT_FALSE(l[3].shown);
}

TEST(CaretWindows, ANarrowFirstLineIsLeftEmpty) {
  FixedMeasurer m;
  const Rect area{0, 0, 100, 300};
  CaretLayout l = SliceCaretWindows(Syllables(2), IsCp949Lead, m, {90, 0}, area, false, 20);
  EXPECT_FALSE(l[0].shown);
  EXPECT_EQ(l[0], CaretWindowRecord{});
  EXPECT_EQ(l[1].slice, (TextSlice{0, 4}));
  EXPECT_EQ(l[1].rect.top, 20);
}

TEST(CaretWindows, StopAtTen) {
  FixedMeasurer m;
  const Rect area{0, 0, 32, 2000};  // two syllables a line
  CaretLayout l = SliceCaretWindows(Syllables(30), IsCp949Lead, m, {0, 0}, area, false, 20);
  for (const CaretWindowRecord& r : l) EXPECT_TRUE(r.shown);
  EXPECT_EQ(l[9].slice, (TextSlice{36, 4}));  // syllables 19 and 20; the rest is not shown
  // An area too narrow for any character shows nothing and ends.
  l = SliceCaretWindows(Syllables(3), IsCp949Lead, m, {0, 0}, Rect{0, 0, 10, 100}, false, 20);
  for (const CaretWindowRecord& r : l) EXPECT_FALSE(r.shown);
}

TEST(CaretWindows, PositionOutsideTheAreaShowsNothing) {
  FixedMeasurer m;
  const Rect area{100, 100, 200, 200};
  for (Point p : {Point{99, 150}, Point{200, 150}, Point{150, 200}, Point{150, 50}}) {
    CaretLayout l = SliceCaretWindows(Syllables(2), IsCp949Lead, m, p, area, false, 20);
    EXPECT_FALSE(l[0].shown);
  }
}

TEST(CaretWindows, VerticalColumnsGoLeft) {
  FixedMeasurer m;
  const Rect area{100, 100, 400, 200};
  // 60 pixels down to the bottom: three syllables; then columns of 100: six.
  CaretLayout l = SliceCaretWindows(Syllables(12), IsCp949Lead, m, {300, 140}, area, true, 20);
  EXPECT_EQ(l[0].slice, (TextSlice{0, 6}));
  EXPECT_EQ(l[0].rect, (Rect{300, 140, 320, 188}));
  EXPECT_EQ(l[1].slice, (TextSlice{6, 12}));
  EXPECT_EQ(l[1].rect, (Rect{280, 100, 300, 196}));
  EXPECT_EQ(l[2].slice, (TextSlice{18, 6}));
  EXPECT_EQ(l[2].rect.left, 260);
}

TEST(CaretWindows, GmTextUsesTheGmLeadBytes) {
  FixedMeasurer m;
  // GM pairs lead with 0x81-0x9F; a trail of 0x41 must not be split off.
  const std::string gm = "\x88\x41\x88\x42\x88\x43";
  CaretLayout l = SliceCaretWindows(gm, CompositionLeadTest(2), m, {0, 0}, Rect{0, 0, 40, 100}, false, 20);
  EXPECT_EQ(l[0].slice, (TextSlice{0, 4}));
  EXPECT_EQ(l[1].slice, (TextSlice{4, 2}));
}

std::vector<std::string> Candidates(size_t n, size_t bytes = 2) {
  std::vector<std::string> c;
  for (size_t i = 0; i < n; ++i) c.push_back(Syllables(bytes / 2));
  return c;
}

TEST(CandidateLayout, SizeWithAndWithoutTheScrollBar) {
  FixedMeasurer m;
  std::vector<std::string> five = Candidates(5, 4);
  five[2] = Syllables(3);  // the widest: 48
  CandidateLayout l = LayoutCandidates(five, 5, m, kEdges);
  EXPECT_FALSE(l.scrollBar);
  EXPECT_EQ(l.lineHeight, 20);
  EXPECT_EQ(l.labelWidth, 16);
  EXPECT_EQ(l.w, 48 + 16);
  EXPECT_EQ(l.h, 5 * 20 + 20);
  EXPECT_EQ(l.window, (Size{64 + 18, 120 + 16}));

  std::vector<std::string> twenty = Candidates(20, 4);
  twenty[15] = Syllables(3);  // widest on a later page still counts
  CandidateLayout s = LayoutCandidates(twenty, 9, m, kEdges);
  EXPECT_TRUE(s.scrollBar);
  EXPECT_EQ(s.h, 9 * 20 + 20);
  EXPECT_EQ(s.w, 48 + 16 + 16 + 4);
  EXPECT_EQ(s.window.cx - l.window.cx, 16 + 2 * 2);
  EXPECT_EQ(s.rangeMax, 19);
  EXPECT_EQ(s.scrollRect, (Rect{s.w + 8 - 16, 3, s.w + 8, 3 + 200 - 20 + 2}));
}

TEST(CandidateLayout, RowsFrameCounterAndHits) {
  const int cw = 100, lh = 20;
  EXPECT_EQ(CandidateRow(0, cw, lh, kEdges), (Rect{6, 4, 96, 24}));
  EXPECT_EQ(CandidateRow(2, cw, lh, kEdges), (Rect{6, 44, 96, 64}));
  EXPECT_EQ(CandidateFrame(9, cw, lh, kEdges), (Rect{1, 1, 98, 4 + 180 + 2}));
  EXPECT_EQ(CandidateCounterAnchor(9, cw, lh, kEdges), (Point{94, 188}));
  const Size client{100, 230};
  EXPECT_EQ(CandidateRowAt({10, 2}, client, lh, kEdges), 0);
  EXPECT_EQ(CandidateRowAt({10, 45}, client, lh, kEdges), 2);
  EXPECT_EQ(CandidateRowAt({1, 45}, client, lh, kEdges), -1);   // left edge
  EXPECT_EQ(CandidateRowAt({10, 1}, client, lh, kEdges), -1);   // top edge
  EXPECT_EQ(CandidateRowAt({10, 209}, client, lh, kEdges), -1); // the counter line
  EXPECT_EQ(CandidateRowAt({10, 10}, client, 0, kEdges), -1);
  EXPECT_EQ(CandidateLabel(0), "1.");
  EXPECT_EQ(CandidateLabel(8), "9.");
}

CandidatePlacement Form(int style, Point current, Rect area = {}) {
  CandidatePlacement p;
  p.style = style;
  p.current = current;
  p.area = area;
  p.window = {100, 200};
  p.work = {0, 0, 1280, 770};
  return p;
}

TEST(CandidatePlacement, CandidatePosNearTheEdges) {
  EXPECT_EQ(PlaceCandidateByForm(Form(kFormCandidatePos, {300, 300})), (Point{300, 300}));
  // Near the bottom: above the position.
  EXPECT_EQ(PlaceCandidateByForm(Form(kFormCandidatePos, {300, 700})), (Point{300, 700 - 4 - 200 - 1}));
  // Near the right: shifted to fit.
  EXPECT_EQ(PlaceCandidateByForm(Form(kFormCandidatePos, {1250, 100})), (Point{1280 - 4 - 100, 100}));
}

TEST(CandidatePlacement, ExcludeBelowAboveOrAtTheBottom) {
  const Rect area{300, 300, 500, 330};
  EXPECT_EQ(PlaceCandidateByForm(Form(kFormExclude, {300, 300}, area)), (Point{300, 330}));
  const Rect low{300, 600, 500, 630};
  EXPECT_EQ(PlaceCandidateByForm(Form(kFormExclude, {300, 600}, low)), (Point{300, 600 - 4 - 200}));
  // Neither below nor above fits: at the work area's bottom.
  CandidatePlacement tall = Form(kFormExclude, {300, 100}, Rect{300, 100, 500, 700});
  EXPECT_EQ(PlaceCandidateByForm(tall), (Point{300, 770 - 4 - 200 - 1}));
  // Never above 0, never left of 0.
  CandidatePlacement huge = Form(kFormExclude, {1250, 100}, Rect{1250, 100, 1270, 700});
  huge.window = {2000, 900};
  EXPECT_EQ(PlaceCandidateByForm(huge), (Point{0, 0}));
  // Right edge.
  EXPECT_EQ(PlaceCandidateByForm(Form(kFormExclude, {1250, 300}, Rect{1250, 300, 1270, 330})),
            (Point{1280 - 4 - 100, 330}));
}

TEST(CandidatePlacement, VerticalGoesLeftOfTheArea) {
  CandidatePlacement v = Form(kFormExclude, {600, 100}, Rect{600, 100, 620, 400});
  v.vertical = true;
  EXPECT_EQ(PlaceCandidateByForm(v), (Point{600 - 4 - 100, 100}));
  v.area = {50, 100, 70, 400};
  v.areaClientRight = 60;
  v.appWindowLeft = 10;
  EXPECT_EQ(PlaceCandidateByForm(v), (Point{70, 100}));
  v.current.y = 700;
  EXPECT_EQ(PlaceCandidateByForm(v).y, 770 - 4 - 200);
}

TEST(CandidatePlacement, ExcludeAreaOfTheFramedWindow) {
  EXPECT_EQ(ExcludeAreaOfMainComp({10, 500, 282, 544}, 21), (Rect{15, 513, 282, 537}));
}

TEST(ThumbCode, ProportionalAndSafe) {
  // a = 8 + 17 = 25; track 200 - 50 = 150.
  EXPECT_EQ(ThumbCode(25, 200, 16, 17), 0);
  EXPECT_EQ(ThumbCode(0, 200, 16, 17), 0);
  EXPECT_EQ(ThumbCode(100, 200, 16, 17), 128);
  EXPECT_EQ(ThumbCode(175, 200, 16, 17), 256);
  EXPECT_EQ(ThumbCode(500, 200, 16, 17), 256);
  // A bar with no track: no division, 0 or 256 only.
  for (int H : {50, 40, 10, 0, -5}) {
    for (int y : {-10, 0, 5, 20, 30, 100}) {
      const int c = ThumbCode(y, H, 16, 17);
      EXPECT_TRUE(c == 0 || c == 256) << H << " " << y;
    }
  }
  EXPECT_EQ(ThumbCode(5, 40, 16, 17), 0);
  EXPECT_EQ(ThumbCode(30, 40, 16, 17), 256);
}

TEST(StatusToolbar, OpensInsideTheWorkArea) {
  const Rect work{0, 0, 1280, 770};
  EXPECT_EQ(StatusToolbarSize(11), (Size{22 * 11 + 68, 29}));
  EXPECT_EQ(StatusToolbarSize(0), (Size{68, 29}));
  EXPECT_EQ(PlaceStatusToolbar({-1, -1}, 11, work), (Point{1280 - 310, 770 - 29}));
  EXPECT_EQ(PlaceStatusToolbar({100, 200}, 11, work), (Point{100, 200}));
  EXPECT_EQ(PlaceStatusToolbar({1000, 200}, 11, work), (Point{970, 741}));  // right edge would leave
  EXPECT_EQ(PlaceStatusToolbar({100, 760}, 11, work), (Point{970, 741}));   // bottom would leave
}

}  // namespace
}  // namespace ime

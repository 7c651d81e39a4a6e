#include <gtest/gtest.h>

#include <algorithm>

#include "guide_keyboard.h"

namespace ime {
namespace {

int Key(char name) { return GuideKeyIndexByName(name); }

// Marks named by the 106-key letters, sorted for comparison.
std::vector<GuideMark> Named(const char* always, const char* withShift = "", const char* withoutShift = "") {
  std::vector<GuideMark> out;
  for (const char* p = always; *p; ++p) out.push_back({Key(*p), GuideMark::kAlways});
  for (const char* p = withShift; *p; ++p) out.push_back({Key(*p), GuideMark::kWithShift});
  for (const char* p = withoutShift; *p; ++p) out.push_back({Key(*p), GuideMark::kWithoutShift});
  std::sort(out.begin(), out.end(), [](const GuideMark& a, const GuideMark& b) { return a.keyIndex < b.keyIndex; });
  return out;
}
std::vector<GuideMark> Sorted(std::vector<GuideMark> m) {
  std::sort(m.begin(), m.end(), [](const GuideMark& a, const GuideMark& b) { return a.keyIndex < b.keyIndex; });
  return m;
}

TEST(GuideKeyboard, WindowWidths) {
  EXPECT_EQ(GuideLayoutFor(0).width + kGuideWindowExtra, 473);
  EXPECT_EQ(GuideLayoutFor(1).width + kGuideWindowExtra, 473);
  EXPECT_EQ(GuideLayoutFor(2).width + kGuideWindowExtra, 449);
}

TEST(GuideKeyboard, OpensRightAlignedUnderTheApplication) {
  const Rect work{0, 0, 1280, 770};
  const Size size{473, 163};
  EXPECT_EQ(PlaceGuideWindow({200, 150, 840, 510}, work, size), (Point{840 - 473, 510}));
  EXPECT_EQ(PlaceGuideWindow({900, 100, 1400, 500}, work, size), (Point{1280 - 473, 500}));  // the work area's right edge
  EXPECT_EQ(PlaceGuideWindow({200, 300, 840, 700}, work, size), (Point{367, 770 - 163}));     // no room below
  EXPECT_EQ(PlaceGuideWindow({10, 100, 300, 400}, work, size), (Point{0, 400}));             // not left of the work area
  EXPECT_EQ(PlaceGuideWindow({0, 0, 640, 700}, {0, 0, 1280, 100}, size), (Point{167, 0}));   // not above it
}

TEST(GuideKeyboard, HitTestJapanese) {
  const GuideLayout& l = GuideLayoutFor(0);
  const Size client{471, 161};
  struct Case {
    Point p;
    int code;
  } cases[] = {
      {{100, 10}, kGuideCodeNone},   // title strip
      {{453, 4}, kGuideCodeClose},   // close box: (right - 18, 4) to (right - 6, 16)
      {{464, 15}, kGuideCodeClose},
      {{465, 10}, kGuideCodeNone},
      {{100, 20}, kGuideCodeBody},   // between the strip and the first row
      {{4, 30}, kGuideCodeBody},     // left of row 0
      {{5, 21}, 2},                  // key 0: "1"
      {{37, 48}, 2},
      {{38, 21}, 3},
      {{434, 30}, 2 + 13},           // Backspace
      {{468, 30}, 2 + 13},           // up to the keyboard width + 1
      {{469, 30}, kGuideCodeBody},
      {{13, 60}, kGuideCodeBody},    // row 1 starts at 14
      {{14, 60}, 2 + 14},            // Q
      {{440, 60}, 2 + 26},           // Enter, upper half
      {{440, 90}, 2 + 40},           // Enter, lower half
      {{440, 110}, 2 + 53},          // right of the last key of row 3: Shift
      {{84, 140}, kGuideCodeBody},   // fifth row: 49, 215, 49 from 85
      {{85, 140}, 2 + 56},
      {{133, 160}, 2 + 56},
      {{134, 140}, 2 + 57},
      {{348, 140}, 2 + 57},
      {{349, 140}, 2 + 58},
      {{398, 140}, kGuideCodeBody},
      {{471, 140}, kGuideCodeNone},  // outside the window
  };
  for (const Case& c : cases) EXPECT_EQ(GuideHitTest(l, c.p, client), c.code) << c.p.x << "," << c.p.y;
}

TEST(GuideKeyboard, HitTestEnglish) {
  const GuideLayout& l = GuideLayoutFor(2);
  const Size client{447, 161};
  EXPECT_EQ(GuideHitTest(l, {440, 110}, client), 2 + 52);  // Shift is the eleventh key of row 3
  EXPECT_EQ(GuideHitTest(l, {52, 140}, client), 2 + 56);
  EXPECT_EQ(GuideHitTest(l, {283, 140}, client), 2 + 58);  // the third wide key, 33 pixels
  EXPECT_EQ(GuideHitTest(l, {316, 140}, client), 2 + 59);
  EXPECT_EQ(GuideHitTest(l, {365, 140}, client), kGuideCodeBody);
  EXPECT_EQ(GuideShiftIndex(l), 52);
  EXPECT_EQ(GuideShiftIndex(GuideLayoutFor(0)), 53);
}

TEST(GuideKeyboard, KeyRectanglesReachTheRightEdge) {
  const GuideLayout& l = GuideLayoutFor(0);
  EXPECT_EQ(GuideKeyRect(l, 0), (Rect{5, 1, 38, 29}));
  EXPECT_EQ(GuideKeyRect(l, 53), (Rect{398, 85, 467, 113}));  // Shift
  EXPECT_EQ(GuideKeyRect(l, 26), (Rect{410, 29, 467, 57}));   // Enter, upper half
  EXPECT_EQ(GuideKeyRect(l, 40), (Rect{419, 57, 467, 85}));
  EXPECT_EQ(GuideKeyRect(l, 57), (Rect{134, 113, 349, 141}));  // Space
  EXPECT_EQ(GuideKeyRect(l, 27), (Rect{}));                    // no key
  EXPECT_TRUE(IsSplitEnter(l, 26));
  EXPECT_FALSE(IsSplitEnter(GuideLayoutFor(2), 39));
}

TEST(GuideKeyboard, VirtualKeys) {
  EXPECT_EQ(GuideVirtualKey(0, 52), 0xE2u);  // the 106-key "\" key
  EXPECT_EQ(GuideVirtualKey(1, 52), 0xDFu);  // PC-98 keeps 0xDF
  EXPECT_EQ(GuideVirtualKey(2, 52), 0u);     // 101: the Shift key types nothing itself
  EXPECT_EQ(GuideVirtualKey(0, Key('q')), 0x51u);
  EXPECT_EQ(GuideVirtualKey(0, Key(';')), 0xBBu);
  EXPECT_EQ(GuideVirtualKey(2, Key(';')), 0xBAu);  // the same place on the 101-key keyboard
  EXPECT_EQ(GuideVirtualKey(2, 58), 0xC0u);
}

TEST(GuideKeyboard, ClickActions) {
  const GuideLayout& l = GuideLayoutFor(0);
  const std::vector<GuideMark> marks{{Key('y'), GuideMark::kAlways}, {Key('o'), GuideMark::kWithShift}};
  EXPECT_EQ(GuideClickAction(l, KeyCode(53), marks, false), (GuideAction{GuideAction::kToggleShift, 0x10}));
  EXPECT_EQ(GuideClickAction(l, KeyCode(Key('q')), marks, true), (GuideAction{GuideAction::kType, 0x51}));
  EXPECT_EQ(GuideClickAction(l, KeyCode(Key('y')), marks, false), GuideAction{});
  EXPECT_EQ(GuideClickAction(l, KeyCode(Key('o')), marks, false), (GuideAction{GuideAction::kType, 0x4F}));
  EXPECT_EQ(GuideClickAction(l, KeyCode(Key('o')), marks, true), GuideAction{});  // marked while Shift is on
  EXPECT_EQ(GuideClickAction(l, KeyCode(58), marks, false), (GuideAction{GuideAction::kEngineKey, 0x1C}));
  EXPECT_EQ(GuideClickAction(l, KeyCode(56), marks, false), (GuideAction{GuideAction::kEngineKey, 0x1D}));
  EXPECT_EQ(GuideClickAction(l, KeyCode(27), marks, false), GuideAction{});  // no key there
  EXPECT_EQ(GuideClickAction(l, kGuideCodeBody, marks, false), GuideAction{});
  EXPECT_EQ(GuideClickAction(l, kGuideCodeClose, marks, false), GuideAction{});
}

TEST(GuideKeyboard, LatchedShiftWrapsTheKey) {
  using E = GuideKeyEvent;
  EXPECT_EQ(GuideKeyEvents(0x51, true), (std::vector<E>{{0x10, false}, {0x51, false}, {0x51, true}, {0x10, true}}));
  EXPECT_EQ(GuideKeyEvents(0x51, false), (std::vector<E>{{0x51, false}, {0x51, true}}));
  EXPECT_EQ(GuideKeyEvents(0x08, true), (std::vector<E>{{0x08, false}, {0x08, true}}));
  EXPECT_EQ(GuideKeyEvents(0x0D, true), (std::vector<E>{{0x0D, false}, {0x0D, true}}));
}

CursorCharacter Composing(char16_t c, const std::string& keys = "x") { return {true, false, c, keys}; }
char16_t Syl(int initial, int vowel, int final = 0) {
  return static_cast<char16_t>(0xAC00 + (initial * 21 + vowel) * 28 + final);
}

TEST(GuideKeyboard, UnicodeStates) {
  struct Case {
    int mode;
    CursorCharacter c;
    int state;
  } cases[] = {
      {1, {}, 36},                          // nothing composing
      {1, {true, true, 0x97D3, ""}, 0},     // a conversion
      {1, Composing(Syl(0, 8)), 21},        // 고
      {1, Composing(Syl(0, 13)), 22},       // 구
      {1, Composing(Syl(0, 18)), 23},       // 그
      {1, Composing(Syl(0, 0)), 24},        // 가
      {1, Composing(Syl(0, 0, 1)), 30},     // 각
      {1, Composing(0x3131, "r"), 10},      // ㄱ by one key
      {1, Composing(0x3133, "rt"), 36},     // ㄳ by two
      {1, Composing(0x314F, "k"), 36},      // a vowel
      {2, Composing(Syl(0, 8)), 21},
      {2, Composing(Syl(0, 13)), 22},
      {2, Composing(Syl(0, 18)), 24},       // the 3-set has no state for ㅡ
      {2, Composing(Syl(0, 0, 1)), 31},
      {2, Composing(Syl(0, 0, 4)), 32},
      {2, Composing(Syl(0, 0, 8)), 33},
      {2, Composing(Syl(0, 0, 17)), 34},
      {2, Composing(Syl(0, 0, 19)), 34},
      {2, Composing(Syl(0, 0, 16)), 35},
      {2, Composing(0x3131, "A"), 11},
      {2, Composing(0x3137, "C"), 12},
      {2, Composing(0x3142, "F"), 13},
      {2, Composing(0x3145, "G"), 14},
      {2, Composing(0x3148, "I"), 15},
      {2, Composing(0x314E, "N"), 16},
      {2, Composing(0x3132, "AA"), 36},
      {0, Composing(Syl(0, 2)), 25},        // 갸
      {0, Composing(Syl(0, 0)), 26},
      {0, Composing(Syl(0, 18)), 26},
      {0, Composing(Syl(0, 8)), 27},
      {0, Composing(Syl(0, 13)), 28},
      {0, Composing(Syl(0, 1)), 24},
      {0, Composing(Syl(0, 0, 4)), 30},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetNextGuideKeyUnicode(c.mode, c.c), c.state) << "mode " << c.mode << " U+" << std::hex << c.c.character;
  }
}

TEST(GuideKeyboard, StateMarks) {
  EXPECT_EQ(Sorted(GuideStateMarks(1, 21)), Named("YUIPHJBNM", "O"));
  EXPECT_EQ(Sorted(GuideStateMarks(1, 10)), Named("QWERTASDFGZXCV"));
  EXPECT_EQ(Sorted(GuideStateMarks(1, 0)), Sorted(GuideStateMarks(1, 24)));
  EXPECT_TRUE(GuideStateMarks(1, 30).empty());
  EXPECT_TRUE(GuideStateMarks(1, 36).empty());
  EXPECT_EQ(Sorted(GuideStateMarks(0, 25)), Named("EY"));
  EXPECT_EQ(Sorted(GuideStateMarks(2, 0)), Named("1QWERASDFZXCV", "", "23456789TGB/"));
  EXPECT_EQ(Sorted(GuideStateMarks(2, 13)), Named("10QWASZX", "EDFCV", "23YUIOPHJKL:NM"));
  EXPECT_EQ(Sorted(GuideStateMarks(2, 33)), Named("ERASDFCV", "1ZX", "2456789WTGB/"));
  EXPECT_TRUE(GuideStateMarks(2, 23).empty());
}

TEST(GuideKeyboard, AnsiMarksFollowTheReadingTable) {
  ReadingTable two;
  const std::vector<uint8_t> bytes = BuildReadingTable(1);
  ASSERT_TRUE(two.Load(bytes.data(), bytes.size(), 1));
  // Nothing composing: every key starts something.
  EXPECT_TRUE(GetNextGuideKeys(1, 0, two, {}).empty());
  // After a lone ㄱ only a vowel (a syllable) or ㅅ (ㄳ) follows; Shift+T
  // (ㅆ) does not.
  EXPECT_EQ(Sorted(GetNextGuideKeys(1, 0, two, Composing(0x3131, "r"))), Named("QWERASDFGZXCV", "T"));
  // After 고 the vowels ㅏ ㅐ ㅣ continue (과 괘 괴); the other vowels do not.
  const std::vector<GuideMark> go = Sorted(GetNextGuideKeys(1, 0, two, Composing(Syl(0, 8), "rh")));
  for (char v : {'y', 'u', 'i', 'p', 'h', 'j', 'b', 'n', 'm'}) {
    const GuideMark* m = FindMark(go, Key(v));
    ASSERT_NE(m, nullptr) << v;
    EXPECT_EQ(m->condition, GuideMark::kAlways) << v;
  }
  for (char v : {'k', 'l'}) EXPECT_EQ(FindMark(go, Key(v)), nullptr) << v;
  const GuideMark* o = FindMark(go, Key('o'));  // ㅐ continues, Shift's ㅒ does not
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(o->condition, GuideMark::kWithShift);
}

}  // namespace
}  // namespace ime

namespace ime {
namespace {

// The caps show what the keys type in each arrangement.
TEST(GuideKeyboard, KeyCapsFollowTheArrangement) {
  struct Case {
    int mode, keyboard;
    char key;
    std::u16string plain, shifted;
    GuideCap::Kind plainKind;
  } cases[] = {
      {1, 0, 'r', u"ㄱ", u"ㄲ", GuideCap::kInitial},
      {1, 0, 'k', u"ㅏ", u"", GuideCap::kVowel},     // Shift types the same vowel
      {1, 0, 'o', u"ㅐ", u"ㅒ", GuideCap::kVowel},
      {1, 0, '1', u"1", u"!", GuideCap::kText},
      {0, 0, 'k', u"ㄱ", u"", GuideCap::kInitial},  // roman: k is ㄱ
      {0, 0, 'r', u"ㅓ", u"", GuideCap::kVowel},
      {0, 0, 'y', u"", u"", GuideCap::kNone},       // y is no jamo of its own
      {2, 0, 'k', u"ㄱ", u"5", GuideCap::kInitial},  // 3-set: initial ㄱ, Shift gives 5
      {2, 0, 'x', u"ㄱ", u"ㅄ", GuideCap::kFinal},   // final ㄱ, Shift final ㅄ
      {2, 0, 'f', u"ㅏ", u"ㄲ", GuideCap::kVowel},
      {2, 0, '1', u"ㅎ", u"ㅈ", GuideCap::kFinal},   // 1: final ㅎ; Shift+1 is ! on the 106-key keyboard: final ㅈ
      {2, 0, '/', u"ㅗ", u"?", GuideCap::kVowel},
  };
  const GuideCap r = GuideKeyCap(1, 0, GuideKeyIndexByName('r'));
  EXPECT_EQ(r.label, u"R");
  for (const Case& c : cases) {
    const GuideCap cap = GuideKeyCap(c.mode, c.keyboard, GuideKeyIndexByName(c.key));
    EXPECT_EQ(cap.plain, c.plain) << c.mode << " " << c.key;
    EXPECT_EQ(cap.shifted, c.shifted) << c.mode << " " << c.key;
    EXPECT_EQ(cap.plainKind, c.plainKind) << c.mode << " " << c.key;
  }
  EXPECT_EQ(GuideKeyCap(1, 0, 53).label, u"Shift");
  EXPECT_EQ(GuideKeyCap(1, 0, 58).label, u"変換");
  EXPECT_EQ(GuideKeyCap(1, 2, 52).label, u"Shift");
}

}  // namespace
}  // namespace ime

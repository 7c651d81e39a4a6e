// The on-screen keyboard's geometry and decisions: the layout of each
// keyboard family, the hit test, the keys' virtual keys and characters, the
// keys marked because they cannot continue the syllable in progress (both
// interfaces), and what a click on a key does.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine.h"
#include "reading_table.h"
#include "ui_geometry.h"

namespace ime {

constexpr int kGuideTitleHeight = 20;  // the title strip: y below 20
constexpr int kGuideTop = 21;          // first row of keys
constexpr int kGuideKeyWidth = 33;
constexpr int kGuideKeyHeight = 28;
constexpr int kGuideRowStride = 14;    // key index = 14 x row + column
constexpr int kGuideKeys = 60;         // indexes 0-59 (rows 0-4)
constexpr int kGuideWindowHeight = 163;
constexpr int kGuideWindowExtra = 6;   // window width = keyboard width + 6
// The bitmap: the keyboard as shown in its top 144 rows, pressed 144 rows
// lower, marked 288 lower; the title strip below them.
constexpr int kGuideImageHeight = 144;
constexpr int kGuidePressedY = 144;
constexpr int kGuideMarkedY = 288;
constexpr int kGuideStripY = 432;
constexpr int kGuideBitmapHeight = kGuideStripY + kGuideTitleHeight;
// The keyboard image lies under the title strip in the window.
constexpr int kGuideImageTop = kGuideTitleHeight;
// Close box images (12 x 12) in the left margins left free by the fifth row
// of keys: pressed in the pressed image, normal in the marked image (the
// plain image is shown whole).
constexpr int kGuideCloseSize = 12;
constexpr Point kGuideClosePressedImage{3, 266};
constexpr Point kGuideCloseImage{3, 410};

// Colours (COLORREF) that the window paints around the bitmap's images.
constexpr uint32_t kGuideBodyColour = 0xC8D0D4;   // the window body, as the bitmap's ground
constexpr uint32_t kGuideStripColour = 0x6A240A;  // the title strip

// The bitmap resource of a keyboard type (0-2) and input mode (0 roman,
// 1 2-set, 2 3-set).
int GuideBitmapId(int keyboardType, int inputMode);

// Key codes of a point.
constexpr int kGuideCodeNone = 0;   // outside, or the title strip
constexpr int kGuideCodeBody = 1;   // the window outside the keys
constexpr int kGuideCodeClose = 64;
constexpr int KeyCode(int keyIndex) { return keyIndex + 2; }

struct GuideLayout {
  int keyboardType = 0;
  int width = 467;           // of the keyboard image
  int rowLeft[4] = {5, 14, 23, 35};
  int rowKeys[4] = {14, 13, 13, 12};
  int fifthLeft = 85;
  int fifthKeys = 3;
  int fifthWidths[4] = {49, 215, 49, 0};
};
// 0 106-key, 1 PC-98 (the 106-key layout), 2 101-key.
const GuideLayout& GuideLayoutFor(int keyboardType);
bool JapaneseKeyboard(int keyboardType);

// Where the window opens before it is moved: right-aligned under the
// application window, inside the work area.
Point PlaceGuideWindow(const Rect& application, const Rect& work, Size window);

int GuideHitTest(const GuideLayout& l, Point client, Size clientSize);
// A key's rectangle in keyboard image coordinates (add kGuideImageTop for
// the window); the last key of a row reaches the keyboard's right edge.
// Empty for an index that is no key.
Rect GuideKeyRect(const GuideLayout& l, int keyIndex);
Rect GuideCloseRect(Size clientSize);
int GuideShiftIndex(const GuideLayout& l);
// The two halves of the Japanese keyboards' Enter key (rows 1 and 2).
bool IsSplitEnter(const GuideLayout& l, int keyIndex);
int OtherEnterHalf(int keyIndex);

// The virtual key of a key (0: types nothing); on the 106-key keyboard
// 0xDF becomes 0xE2.
unsigned GuideVirtualKey(int keyboardType, int keyIndex);
// The characters a key gives without and with Shift (0 for none).
struct GuideKeyChars {
  char plain = 0;
  char shifted = 0;
};
GuideKeyChars GuideKeyCharacters(int keyboardType, int keyIndex);
// What a key cap shows in an arrangement: the key's name, and what the key
// types without and with Shift (a jamo of the arrangement, or the character
// itself when it types no jamo; empty when the same as without Shift).
struct GuideCap {
  enum Kind { kNone, kText, kInitial, kVowel, kFinal };
  std::u16string label;
  std::u16string plain, shifted;
  Kind plainKind = kNone, shiftedKind = kNone;
};
GuideCap GuideKeyCap(int inputMode, int keyboardType, int keyIndex);
// The index of the key that the Japanese 106-key keyboard labels with name
// (its unshifted character); -1 for none.
int GuideKeyIndexByName(char name);

// A marked key and when its mark is in force.
struct GuideMark {
  enum Condition { kAlways, kWithShift, kWithoutShift };
  int keyIndex = 0;
  Condition condition = kAlways;
  bool operator==(const GuideMark&) const = default;
};
bool MarkHolds(const GuideMark& m, bool shift);
// The mark of a key, or null.
const GuideMark* FindMark(const std::vector<GuideMark>& marks, int keyIndex);

// Unicode interface: the state (0-35, 36 = mark nothing) of the character
// before the cursor, and the keys that a state marks.
constexpr int kGuideMarkNothing = 36;
int GetNextGuideKeyUnicode(int inputMode, const CursorCharacter& c);
std::vector<GuideMark> GuideStateMarks(int inputMode, int state);
// ANSI interface: every key of the arrangement that no entry of the reading
// table lets follow the keys of the character before the cursor.
std::vector<GuideMark> GetNextGuideKeys(int inputMode, int keyboardType, const ReadingTable& table,
                                        const CursorCharacter& c);

// What a click on a key does.
struct GuideAction {
  enum Kind { kNothing, kToggleShift, kEngineKey, kType } kind = kNothing;
  unsigned vk = 0;
  bool operator==(const GuideAction&) const = default;
};
GuideAction GuideClickAction(const GuideLayout& l, int keyCode, const std::vector<GuideMark>& marks, bool latch);

// The key events that type a key: wrapped in Shift while the latch is on
// (not for Backspace and Enter).
struct GuideKeyEvent {
  unsigned vk = 0;
  bool up = false;
  bool operator==(const GuideKeyEvent&) const = default;
};
std::vector<GuideKeyEvent> GuideKeyEvents(unsigned vk, bool latch);

}  // namespace ime

#include "guide_keyboard.h"

#include <algorithm>
#include <cstring>

namespace ime {

namespace {

const GuideLayout kJapanese{0, 467, {5, 14, 23, 35}, {14, 13, 13, 12}, 85, 3, {49, 215, 49, 0}};
const GuideLayout kEnglish{2, 443, {5, 14, 23, 35}, {13, 13, 12, 11}, 52, 4, {49, 182, 33, 49}};

// Virtual keys by key index (14 a row).
constexpr uint8_t kJapaneseKeys[kGuideKeys] = {
    0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x30, 0xBD, 0xDE, 0xDC, 0x08,
    0x51, 0x57, 0x45, 0x52, 0x54, 0x59, 0x55, 0x49, 0x4F, 0x50, 0xC0, 0xDB, 0x0D, 0x00,
    0x41, 0x53, 0x44, 0x46, 0x47, 0x48, 0x4A, 0x4B, 0x4C, 0xBB, 0xBA, 0xDD, 0x0D, 0x00,
    0x5A, 0x58, 0x43, 0x56, 0x42, 0x4E, 0x4D, 0xBC, 0xBE, 0xBF, 0xDF, 0x00, 0x00, 0x00,
    0x1D, 0x20, 0x1C, 0x00,
};
constexpr uint8_t kEnglishKeys[kGuideKeys] = {
    0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x30, 0xBD, 0xBB, 0x08, 0x00,
    0x51, 0x57, 0x45, 0x52, 0x54, 0x59, 0x55, 0x49, 0x4F, 0x50, 0xDB, 0xDD, 0xDC, 0x00,
    0x41, 0x53, 0x44, 0x46, 0x47, 0x48, 0x4A, 0x4B, 0x4C, 0xBA, 0xDE, 0x0D, 0x00, 0x00,
    0x5A, 0x58, 0x43, 0x56, 0x42, 0x4E, 0x4D, 0xBC, 0xBE, 0xBF, 0x00, 0x00, 0x00, 0x00,
    0x1D, 0x20, 0xC0, 0x1C,
};

// Characters by key index, without and with Shift (rows of 14; blanks are
// keys that give no character).
constexpr char kJapanesePlain[] =
    "1234567890-^\\ "
    "qwertyuiop@[  "
    "asdfghjkl;:]  "
    "zxcvbnm,./\\   "
    "    ";
constexpr char kJapaneseShifted[] =
    "!\"#$%&'() =~| "
    "QWERTYUIOP`{  "
    "ASDFGHJKL+*}  "
    "ZXCVBNM<>?_   "
    "    ";
constexpr char kEnglishPlain[] =
    "1234567890-=  "
    "qwertyuiop[]\\ "
    "asdfghjkl;'   "
    "zxcvbnm,./    "
    "  ` ";
constexpr char kEnglishShifted[] =
    "!@#$%^&*()_+  "
    "QWERTYUIOP{}| "
    "ASDFGHJKL:\"   "
    "ZXCVBNM<>?    "
    "  ~ ";
static_assert(sizeof kJapanesePlain == kGuideKeys + 1 && sizeof kJapaneseShifted == kGuideKeys + 1);
static_assert(sizeof kEnglishPlain == kGuideKeys + 1 && sizeof kEnglishShifted == kGuideKeys + 1);

bool ValidIndex(const GuideLayout& l, int keyIndex) {
  if (keyIndex < 0 || keyIndex >= kGuideKeys) return false;
  const int row = keyIndex / kGuideRowStride, column = keyIndex % kGuideRowStride;
  return column < (row < 4 ? l.rowKeys[row] : l.fifthKeys);
}

// The marked keys of one state, by the letters of the 106-key keyboard.
struct StateMarks {
  int inputMode;
  int states[2];
  const char* always;
  const char* withShift;
  const char* withoutShift;
};

constexpr StateMarks kStateMarks[] = {
    // 2-set
    {1, {0, 24}, "YUIOPHJKLBNM", "", ""},
    {1, {10, -1}, "QWERTASDFGZXCV", "", ""},
    {1, {21, -1}, "YUIPHJBNM", "O", ""},
    {1, {22, -1}, "YUIOHKBNM", "P", ""},
    {1, {23, -1}, "YUIOPHJKBNM", "", ""},
    // roman
    {0, {0, 24}, "ERYUIOA", "", ""},
    {0, {10, -1}, "QWTPSDFGHJKLZXCVBNM", "", ""},
    {0, {25, -1}, "EY", "", ""},
    {0, {26, -1}, "ERYUOA", "", ""},
    {0, {27, -1}, "ERYUO", "", ""},
    {0, {28, -1}, "EYUOA", "", ""},
    // 3-set
    {2, {0, 35}, "1QWERASDFZXCV", "", "23456789TGB/"},
    {2, {11, -1}, "10QWASZX", "EDFCV", "23YUIOPHJL;:NM"},
    {2, {12, -1}, "10QWASZX", "EDFCV", "23YIOPHJKL;:NM"},
    {2, {13, -1}, "10QWASZX", "EDFCV", "23YUIOPHJKL:NM"},
    {2, {14, -1}, "10QWASZX", "EDFCV", "23YUIOPHJKL;:M"},
    {2, {15, -1}, "10QWASZX", "EDFCV", "23YUIOPHJK;:NM"},
    {2, {16, -1}, "10QWASZX", "EDFCV", "23YUIOPHJKL;:NM"},
    {2, {21, -1}, "", "R", "456789ETGCVB/"},
    {2, {22, -1}, "R", "", "456789EFGVB/"},
    {2, {24, -1}, "R", "", "456789ETDFGCVB/"},
    {2, {31, -1}, "1WERASDFZCV", "QX", "23456789TGB/"},
    {2, {32, -1}, "QWERASDFZXCV", "", "23456789TGB/"},
    {2, {33, -1}, "ERASDFCV", "1ZX", "2456789WTGB/"},
    {2, {34, -1}, "1WERASDFZXCV", "Q", "23456789TGB/"},
};

void AddMarks(std::vector<GuideMark>& out, const char* names, GuideMark::Condition c) {
  for (const char* p = names; *p; ++p) {
    const int index = GuideKeyIndexByName(*p);
    if (index >= 0) out.push_back({index, c});
  }
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The key letter that a key types in an arrangement (0 when it types no jamo).
char ArrangementLetter(int inputMode, int keyboardType, int keyIndex, bool shift) {
  const GuideKeyChars k = GuideKeyCharacters(keyboardType, keyIndex);
  const char typed = shift ? k.shifted : k.plain;
  if (typed == 0) return 0;
  if (inputMode == 2) {
    const char letter = MapThreeSetKey(Upper(typed), GuideVirtualKey(keyboardType, keyIndex), shift, keyboardType);
    return IsAsciiLetter(static_cast<unsigned char>(letter)) ? letter : 0;
  }
  if (!IsAsciiLetter(static_cast<unsigned char>(typed))) return 0;
  const char lower = Lower(typed);
  if (inputMode == 1 && shift && std::strchr("qwertop", lower) != nullptr) return Upper(lower);
  return lower;
}

// The jamo that one key letter of an arrangement types alone, and its kind.
GuideCap::Kind JamoOfLetter(int inputMode, char letter, std::u16string* out) {
  std::u16string jamo;
  AutomatonFor(inputMode).KeysToSyllables(jamo, std::string(1, letter), nullptr, nullptr);
  if (jamo.size() != 1) return GuideCap::kNone;
  *out = jamo;
  if (jamo[0] >= kFirstCompatVowel) return GuideCap::kVowel;
  // 3-set: the internal letters f-z are the final-consonant keys.
  if (inputMode == 2 && letter >= 'f' && letter <= 'z') return GuideCap::kFinal;
  return GuideCap::kInitial;
}

// What a key types in an arrangement, with or without Shift.
GuideCap::Kind KeyTypes(int inputMode, int keyboardType, int keyIndex, bool shift, std::u16string* out) {
  const GuideKeyChars k = GuideKeyCharacters(keyboardType, keyIndex);
  const char typed = shift ? k.shifted : k.plain;
  if (typed == 0) return GuideCap::kNone;
  const char letter = ArrangementLetter(inputMode, keyboardType, keyIndex, shift);
  if (letter != 0) {
    const GuideCap::Kind kind = JamoOfLetter(inputMode, letter, out);
    if (kind != GuideCap::kNone) return kind;
    if (inputMode != 2) return GuideCap::kNone;  // a letter without a jamo of its own (roman y)
  }
  // An ordinary character; under the 3-set arrangement what the key map gives.
  char shown = typed;
  if (inputMode == 2) {
    shown = MapThreeSetKey(Upper(typed), GuideVirtualKey(keyboardType, keyIndex), shift, keyboardType);
  }
  *out = std::u16string(1, static_cast<char16_t>(static_cast<unsigned char>(shown)));
  return GuideCap::kText;
}

}  // namespace

GuideCap GuideKeyCap(int inputMode, int keyboardType, int keyIndex) {
  GuideCap cap;
  const GuideLayout& l = GuideLayoutFor(keyboardType);
  if (!ValidIndex(l, keyIndex)) return cap;
  if (keyIndex == GuideShiftIndex(l)) {
    cap.label = u"Shift";
    return cap;
  }
  switch (GuideVirtualKey(keyboardType, keyIndex)) {
    case 0x08: cap.label = u"BS"; return cap;
    case 0x0D: cap.label = u"Enter"; return cap;
    case 0x1D: cap.label = u"無変換"; return cap;
    case 0x1C: cap.label = u"変換"; return cap;
    case 0x20: return cap;
    default: break;
  }
  const GuideKeyChars k = GuideKeyCharacters(keyboardType, keyIndex);
  cap.label = std::u16string(1, static_cast<char16_t>(static_cast<unsigned char>(Upper(k.plain))));
  cap.plainKind = KeyTypes(inputMode, keyboardType, keyIndex, false, &cap.plain);
  cap.shiftedKind = KeyTypes(inputMode, keyboardType, keyIndex, true, &cap.shifted);
  if (cap.shifted == cap.plain) {
    cap.shifted.clear();
    cap.shiftedKind = GuideCap::kNone;
  }
  return cap;
}

int GuideBitmapId(int keyboardType, int inputMode) {
  // Columns: 2-set, 3-set, roman.
  static constexpr int kIds[3][3] = {{118, 120, 122}, {115, 117, 116}, {119, 121, 123}};
  const int type = keyboardType >= 0 && keyboardType <= 2 ? keyboardType : 0;
  const int column = inputMode == 1 ? 0 : inputMode == 2 ? 1 : 2;
  return kIds[type][column];
}

const GuideLayout& GuideLayoutFor(int keyboardType) { return keyboardType == 2 ? kEnglish : kJapanese; }
bool JapaneseKeyboard(int keyboardType) { return keyboardType != 2; }

Point PlaceGuideWindow(const Rect& app, const Rect& work, Size window) {
  int x = std::min(app.right, work.right) - window.cx;
  if (x < work.left) x = work.left;
  int y = app.bottom;
  if (y + window.cy > work.bottom) y = work.bottom - window.cy;
  if (y < work.top) y = work.top;
  return {x, y};
}

int GuideHitTest(const GuideLayout& l, Point p, Size client) {
  if (p.x < 0 || p.y < 0 || p.x >= client.cx || p.y >= client.cy) return kGuideCodeNone;
  if (GuideCloseRect(client).Contains(p)) return kGuideCodeClose;
  if (p.y < kGuideTitleHeight) return kGuideCodeNone;
  if (p.y < kGuideTop || p.x > l.width + 1) return kGuideCodeBody;
  const int row = (p.y - kGuideTop) / kGuideKeyHeight;
  if (row < 4) {
    if (p.x < l.rowLeft[row]) return kGuideCodeBody;
    int column = (p.x - l.rowLeft[row]) / kGuideKeyWidth;
    if (column > l.rowKeys[row] - 1) column = l.rowKeys[row] - 1;
    return KeyCode(kGuideRowStride * row + column);
  }
  if (row == 4) {
    int x = l.fifthLeft;
    for (int column = 0; column < l.fifthKeys; ++column) {
      if (p.x >= x && p.x < x + l.fifthWidths[column]) return KeyCode(kGuideRowStride * 4 + column);
      x += l.fifthWidths[column];
    }
  }
  return kGuideCodeBody;
}

Rect GuideKeyRect(const GuideLayout& l, int keyIndex) {
  if (!ValidIndex(l, keyIndex)) return {};
  const int row = keyIndex / kGuideRowStride, column = keyIndex % kGuideRowStride;
  const int top = kGuideTop - kGuideImageTop + kGuideKeyHeight * row;
  if (row < 4) {
    const int left = l.rowLeft[row] + kGuideKeyWidth * column;
    const int right = column == l.rowKeys[row] - 1 ? l.width : left + kGuideKeyWidth;
    return {left, top, right, top + kGuideKeyHeight};
  }
  int left = l.fifthLeft;
  for (int c = 0; c < column; ++c) left += l.fifthWidths[c];
  return {left, top, left + l.fifthWidths[column], top + kGuideKeyHeight};
}

Rect GuideCloseRect(Size client) { return {client.cx - 18, 4, client.cx - 6, 16}; }

int GuideShiftIndex(const GuideLayout& l) { return kGuideRowStride * 3 + l.rowKeys[3] - 1; }

bool IsSplitEnter(const GuideLayout& l, int keyIndex) {
  return JapaneseKeyboard(l.keyboardType) && (keyIndex == 26 || keyIndex == 40);
}
int OtherEnterHalf(int keyIndex) { return keyIndex == 26 ? 40 : 26; }

unsigned GuideVirtualKey(int keyboardType, int keyIndex) {
  if (keyIndex < 0 || keyIndex >= kGuideKeys) return 0;
  const unsigned vk = (JapaneseKeyboard(keyboardType) ? kJapaneseKeys : kEnglishKeys)[keyIndex];
  return keyboardType == 0 && vk == 0xDF ? 0xE2 : vk;
}

GuideKeyChars GuideKeyCharacters(int keyboardType, int keyIndex) {
  if (keyIndex < 0 || keyIndex >= kGuideKeys) return {};
  const bool jp = JapaneseKeyboard(keyboardType);
  const char p = (jp ? kJapanesePlain : kEnglishPlain)[keyIndex];
  const char s = (jp ? kJapaneseShifted : kEnglishShifted)[keyIndex];
  return {p == ' ' ? '\0' : p, s == ' ' ? '\0' : s};
}

int GuideKeyIndexByName(char name) {
  const char lower = Lower(name);
  for (int i = 0; i < kGuideKeys; ++i) {
    if (kJapanesePlain[i] == lower && lower != ' ') return i;
  }
  return -1;
}

bool MarkHolds(const GuideMark& m, bool shift) {
  return m.condition == GuideMark::kAlways || (m.condition == GuideMark::kWithShift) == shift;
}

const GuideMark* FindMark(const std::vector<GuideMark>& marks, int keyIndex) {
  for (const GuideMark& m : marks) {
    if (m.keyIndex == keyIndex) return &m;
  }
  return nullptr;
}

int GetNextGuideKeyUnicode(int inputMode, const CursorCharacter& c) {
  if (!c.composing) return kGuideMarkNothing;
  if (c.converted) return 0;
  const char16_t ch = c.character;
  if (ch >= kFirstSyllable && ch <= kLastSyllable) {
    const int s = ch - kFirstSyllable;
    const int vowel = s % 588 / 28, final = s % 28;
    if (final == 0) {
      switch (inputMode) {
        case 1: return vowel == 8 ? 21 : vowel == 13 ? 22 : vowel == 18 ? 23 : 24;
        case 2: return vowel == 8 ? 21 : vowel == 13 ? 22 : 24;
        default:
          if (vowel == 2) return 25;
          if (vowel == 0 || vowel == 4 || vowel == 6 || vowel == 9 || vowel == 14 || vowel == 18) return 26;
          return vowel == 8 ? 27 : vowel == 13 ? 28 : 24;
      }
    }
    if (inputMode != 2) return 30;
    switch (final) {
      case 1: return 31;
      case 4: return 32;
      case 8: return 33;
      case 17:
      case 19: return 34;
      default: return 35;
    }
  }
  if (ch >= kFirstCompatConsonant && ch < kFirstCompatVowel && c.keys.size() == 1) {
    if (inputMode != 2) return 10;
    switch (ch) {
      case 0x3131: return 11;  // ㄱ
      case 0x3137: return 12;  // ㄷ
      case 0x3142: return 13;  // ㅂ
      case 0x3145: return 14;  // ㅅ
      case 0x3148: return 15;  // ㅈ
      default: return 16;
    }
  }
  return kGuideMarkNothing;
}

std::vector<GuideMark> GuideStateMarks(int inputMode, int state) {
  std::vector<GuideMark> out;
  for (const StateMarks& m : kStateMarks) {
    if (m.inputMode != inputMode || (m.states[0] != state && m.states[1] != state)) continue;
    AddMarks(out, m.always, GuideMark::kAlways);
    AddMarks(out, m.withShift, GuideMark::kWithShift);
    AddMarks(out, m.withoutShift, GuideMark::kWithoutShift);
  }
  return out;
}

std::vector<GuideMark> GetNextGuideKeys(int inputMode, int keyboardType, const ReadingTable& table,
                                        const CursorCharacter& c) {
  std::vector<GuideMark> out;
  if (!table.Loaded()) return out;
  const std::string next = table.ContinuingKeys(c.composing ? c.keys : std::string());
  const GuideLayout& l = GuideLayoutFor(keyboardType);
  for (int i = 0; i < kGuideKeys; ++i) {
    if (!ValidIndex(l, i)) continue;
    bool stops[2] = {false, false};
    for (int shift = 0; shift < 2; ++shift) {
      const char letter = ArrangementLetter(inputMode, keyboardType, i, shift != 0);
      stops[shift] = letter != 0 && next.find(letter) == std::string::npos;
    }
    if (stops[0] && stops[1]) {
      out.push_back({i, GuideMark::kAlways});
    } else if (stops[0]) {
      out.push_back({i, GuideMark::kWithoutShift});
    } else if (stops[1]) {
      out.push_back({i, GuideMark::kWithShift});
    }
  }
  return out;
}

GuideAction GuideClickAction(const GuideLayout& l, int keyCode, const std::vector<GuideMark>& marks, bool latch) {
  const int index = keyCode - 2;
  if (keyCode < 2 || index >= kGuideKeys || !ValidIndex(l, index)) return {};
  if (const GuideMark* m = FindMark(marks, index); m && MarkHolds(*m, latch)) return {};
  if (index == GuideShiftIndex(l)) return {GuideAction::kToggleShift, 0x10};
  const unsigned vk = GuideVirtualKey(l.keyboardType, index);
  if (vk == 0) return {};
  if (vk == 0x1C || vk == 0x1D) return {GuideAction::kEngineKey, vk};
  return {GuideAction::kType, vk};
}

std::vector<GuideKeyEvent> GuideKeyEvents(unsigned vk, bool latch) {
  const bool shift = latch && vk != 0x08 && vk != 0x0D;
  std::vector<GuideKeyEvent> events;
  if (shift) events.push_back({0x10, false});
  events.push_back({vk, false});
  events.push_back({vk, true});
  if (shift) events.push_back({0x10, true});
  return events;
}

}  // namespace ime

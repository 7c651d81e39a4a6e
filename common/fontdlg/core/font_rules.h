// The font settings dialog's rules without a window: which faces each list
// takes in each program's variant, the size list and the height arithmetic,
// the colour table of the colour combo boxes and the character-set labels.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace fontdlg {

// The programs' variants of the face lists.
enum class FaceRules {
  kListening,   // TrueType, no "@" faces; Shift-JIS faces but the KS and GM Korean ones; Hangul faces
  kPlayer,      // the same, and the Korean faces named Batang, Dotum, Gulim (and -Che) in any character set
  kDictionary,  // TrueType; no "@", "ＧＢ", "QZ-GB", "QZ-B5", "ＫＳ 韓国", "ＧＭ" or "ＣＮＳ" faces; 129 Korean, 128 Japanese
};

enum class FaceSide { kNone, kJapanese, kKorean };

struct FaceInfo {
  std::u16string_view face;
  int charset;
  bool trueType;
  bool fixedPitch;
};

FaceSide ClassifyFace(const FaceInfo& font, FaceRules rules, bool fixedPitchOnly);

// Sizes offered, in points, in list order.
inline constexpr int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// A LOGFONT height for points at the screen's pixels per inch:
// -(MulDiv(points x 100, dpi, 72)) / 100.
int HeightForPoints(int points, int dpi);
// The points of a height, rounded up: |height| x 72 / dpi.
int PointsForHeight(int height, int dpi);

struct NamedColor {
  const char16_t* name;
  uint32_t colorref;  // 0x00BBGGRR
};
inline constexpr int kColorCount = 16;
inline constexpr int kAutoColor = 16;  // "自動": the system's window-text colour
const NamedColor& ColorAt(int index);
const char16_t* AutoColorName();
// The index of a colour name; an unknown or empty name gives kAutoColor.
int FindColorIndex(std::u16string_view name);
// The index of a COLORREF of the table; others give kAutoColor.
int FindColorValue(uint32_t colorref);

// The label of a character set (16 known ones and one for any other).
const char16_t* FontCharsetLabel(int charset);

}  // namespace fontdlg

// The translation input pad's rules free of the window system: its command
// line, the settings it reads (never writes) from the suite's registry tree
// with their defaults, the blanks kept around a translation, the messages of
// one send to the input method, and the window's placement for its font.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "settings_platform.h"

namespace inputpad {

// ---- command line ----
enum class CodeMode { kKs, kGmV3, kGm95 };
struct PadArguments {
  int32_t imeWindow = 0;     // the input method's UI window
  int32_t targetWindow = 0;  // the application window; 0: none
  int code = 1;              // the code number as given; 1 when missing
  CodeMode mode = CodeMode::kKs;
};
// " %d %d %d" as sscanf reads it: the numbers up to the first that is not
// there keep their defaults (windows 0, code 1). Code 1 is KS, 0 is GM95
// (which the pad cannot produce: the caller refuses it), any other GM V3.
PadArguments ParsePadArguments(const char* arguments);

// ---- settings ----
inline constexpr char kPadKeyPath[] = "Software\\VALDRIMO\\GeulmaruV6\\";
inline constexpr char kJapaneseTextServices[] = "JP:Text Services Framework";
inline constexpr char kKsImeFile[] = "ZORBENV6.IME";
inline constexpr char kGmImeFile[] = "WARBENV6.IME";
inline constexpr int kDefaultFontHeight = 20;

struct PadSettings {
  std::string userDic[3];  // paths without extension, empty when unused
  std::string japaneseFace;
  std::string koreanFace;
  int fontHeight = kDefaultFontHeight;  // as stored (the LOGFONT's height)
  std::string japaneseIme;              // file name of the Japanese input method
  int WindowFontHeight() const { return fontHeight < 0 ? -fontHeight : fontHeight; }
};

// The value name of key path + subkey under HKEY_CURRENT_USER, else under
// HKEY_LOCAL_MACHINE, cut to size - 1 bytes (never inside a double-byte
// character); false when neither holds it as text.
bool ReadPadValue(settings::SettingsPlatform& platform, const char* subkey, const char* name, std::size_t size,
                  std::string& out);
// Every value the pad uses, with its default; ks picks the Korean font's key.
PadSettings ReadPadSettings(settings::SettingsPlatform& platform, bool ks);

// ---- blanks around a translation ----
inline constexpr std::size_t kOutputBytes = 512;
struct BlankLayout {
  bool empty = true;         // nothing but blanks (or nothing): nothing to translate
  std::size_t leading = 0;   // bytes of leading blanks (half-width, then full-width)
  std::size_t trailing = 0;  // bytes of trailing blanks
  // The bytes the translation may take between the blanks, the terminator
  // kept free (0 when empty).
  std::size_t Capacity() const;
};
// Over Shift-JIS text: leading half-width blanks then full-width ones;
// trailing half-width blanks, or when the text ends in a double-byte
// character, full-width ones.
BlankLayout MeasureBlanks(std::string_view sjis);
// The text that replaces the Japanese: leading half-width blanks, the
// translation with one blank at its end dropped, trailing half-width blanks.
std::string LayOutTranslation(const BlankLayout& layout, std::string_view translation);

// ---- sending ----
inline constexpr int kMaxSendChars = 128;
struct SendPlan {
  std::vector<uint32_t> messages;  // the wParams in order, the end mark last
  bool cut = false;                // more than 128 characters: the rest is not sent
};
// The first 128 characters of text (first byte low, second byte high) and
// 0xFFFF; lead tells a double-byte character's first byte. Nothing for an
// empty text.
SendPlan PlanPadSend(std::string_view text, const std::function<bool(uint8_t)>& lead);

// ---- placement ----
struct Rect {
  long left = 0, top = 0, right = 0, bottom = 0;
  long Width() const { return right - left; }
  long Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};
struct Metrics {
  int smallCaption = 0;  // SM_CYSMCAPTION
  int frameX = 0;        // SM_CXFRAME
  int frameY = 0;        // SM_CYFRAME
};
struct Placement {
  Rect window;   // screen coordinates
  long controlWidth = 0, controlHeight = 0;
};
inline constexpr long kPadWidth = 200;
// The pad's window for its font: 200 wide and as high as the small caption,
// the frame, the font and 10; its top-left corner kept but moved into the
// work area, 16 lower and right-aligned when it would pass the right edge,
// moved up when it would pass the bottom.
Placement FitToFont(long left, long top, int fontHeight, const Metrics& metrics, const Rect& workArea);

}  // namespace inputpad

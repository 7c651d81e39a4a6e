// The frame record two companion programs keep under the suite's
// HKEY_CURRENT_USER tree: the window placement ("flags", "showCmd" and the
// normal rectangle "x1", "y1", "x2", "y2" in the program's placement key)
// and the panes' fonts ("JpnFontFaceName", "KrnFontFaceName", "FontHight" in
// its settings key). Each program names its keys and adds its own values;
// small number and text helpers with the buffers these values are read
// into serve those too.
#pragma once
#include <functional>
#include <string>

#include "settings_platform.h"

namespace settings {

// "ＭＳ ゴシック" in code page 932.
inline constexpr char kDefaultJapaneseFace[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
inline constexpr char kDefaultKoreanFace[] = "KS Gothic";
inline constexpr int kDefaultFontHeight = -21;

// Window show states of the placement.
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;
inline constexpr int kShowNotApplied = -1;  // a stored showCmd of -1: the placement is not applied

// Numbers are read into 10 bytes and faces into 32, with their NUL.
inline constexpr int kNumberBuffer = 10;
inline constexpr int kFaceBuffer = 32;

// The program's key of the suite's tree and its placement subkey
// ("<key>\WindowPosFig").
struct FrameRecordKeys {
  const char* settingsKey;
  const char* placementKey;
};

struct FrameRecord {
  int flags = 0;
  int showCmd = kShowNormal;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;               // the normal rectangle
  std::string japaneseFace = kDefaultJapaneseFace;  // in the system's code page
  std::string koreanFace = kDefaultKoreanFace;
  int fontHeight = kDefaultFontHeight;              // logical units
};

// The default rectangle on a screen of that size: the middle half of it.
void SetDefaultPlacement(FrameRecord& record, int screenWidth, int screenHeight);

// Each value read over the one in the record, which stays when the value is
// missing or does not fit its buffer.
void LoadFrameRecord(SettingsPlatform& platform, const FrameRecordKeys& keys, FrameRecord& record);

// What a program writes besides the record when the record's rectangle and
// fonts are written: before the fonts and after them. Each returns false
// when a write failed.
struct FrameRecordExtras {
  std::function<bool()> beforeFonts;
  std::function<bool()> afterFonts;
};

// Writes "flags"; unless the window is minimised or maximised, also the show
// state, the normal rectangle, the program's values before the fonts, the
// faces, the height and its values after them. False when a write failed
// (those before it stay written, none after it is tried).
bool SaveFrameRecord(SettingsPlatform& platform, const FrameRecordKeys& keys, const FrameRecord& record,
                     const FrameRecordExtras& extras = {});

// Whether the stored placement is applied to the frame.
inline bool AppliesPlacement(const FrameRecord& r) { return r.showCmd != kShowNotApplied; }

// A decimal value of the suite's tree read into a 10-byte buffer; value is
// left alone when it is missing or does not fit.
void ReadNumberValue(SettingsPlatform& platform, const char* subkey, const char* name, int& value);
// A text value read into a buffer of that size (NUL included); value is
// left alone when it is missing or does not fit.
void ReadTextValue(SettingsPlatform& platform, const char* subkey, const char* name, int size, std::string& value);
// The number written as decimal text; false when the write failed.
bool WriteNumberValue(SettingsPlatform& platform, const char* subkey, const char* name, int value);

}  // namespace settings

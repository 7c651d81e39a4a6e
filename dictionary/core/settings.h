// The dictionary's own registry values under HKEY_CURRENT_USER
// "SOFTWARE\Valdrimo\GeulmaruV6\Ombrel" (page fonts and colours, the input
// method of each search box, the window placement, the list width and the
// search method), read at start-up and written at close.
#pragma once
#include <cstdint>
#include <string>

#include "settings_platform.h"

namespace ombrel {

inline constexpr char kSettingsKeyPath[] = "SOFTWARE\\Valdrimo\\GeulmaruV6\\Ombrel";
// "韓日・日韓辞典" in code page 932: the caption of the program's boxes.
inline constexpr char kProgramCaption[] = "\x8a\xd8\x93\xfa\x81\x45\x93\xfa\x8a\xd8\x8e\xab\x93\x54";
inline constexpr char kJapaneseTsf[] = "JP:Text Services Framework";
inline constexpr char kKoreanTsf[] = "KS:Text Services Framework";

struct WindowPosValues {
  int length = 44, flags = 0, showCmd = 1;
  long minX = -1, minY = -1, maxX = -1, maxY = -1;
  long left = 50, top = 50, right = 644, bottom = 448;
};
std::string FormatWindowPos(const WindowPosValues& v);
// All eleven numbers or nothing (the defaults stay).
bool ParseWindowPos(const std::string& text, WindowPosValues& out);

struct DictionarySettings {
  std::string japaneseFace = "\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9";  // ＭＳ 明朝
  std::string koreanFace = "KS Mincho";
  std::string japaneseIme = kJapaneseTsf;
  std::string japaneseImeDescription = kJapaneseTsf;
  std::string koreanIme = "ZORBENV6.IME";
  std::string koreanImeDescription = "GeulmaruV6(KS)";
  int sizeTenths = 160;
  uint32_t japaneseColor = 0;
  uint32_t koreanColor = 16711680;
  WindowPosValues windowPos;
  long listWidth = 200;  // the dialog's own until the registry gives one
};

// Reads the values; a key just created gets every default written (but not
// SearchMethod) and keeps the list width of 200; a missing value takes its
// default (the two Japanese input-method values first from
// HKEY_LOCAL_MACHINE, and only these are then written back); a missing
// EtcData gives 300. Returns false when the key can be neither opened nor
// created (the warning has been shown; the defaults stand).
bool LoadDictionarySettings(settings::SettingsPlatform& platform, DictionarySettings& s);
bool SaveDictionarySettings(settings::SettingsPlatform& platform, const DictionarySettings& s);

// SearchMethod: written as "0" when the key was just created; a missing
// value or one outside 0-2 gives 0.
int SearchMethodSetting(settings::SettingsPlatform& platform);

// Voice values' ranges and their rules in the voice dialog.
struct VoiceRange {
  int low, high;
};
inline constexpr VoiceRange kVolumeRange{50, 150};
inline constexpr VoiceRange kSpeedRange{50, 200};
inline constexpr VoiceRange kPitchRange{80, 120};
inline int HoldToRange(int v, VoiceRange r) { return v < r.low || v > r.high ? 100 : v; }

}  // namespace ombrel

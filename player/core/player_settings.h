// The text player's settings: its window placement and the faces and height
// of its two panes under the suite's HKEY_CURRENT_USER tree ("Tessaly3"),
// "VoiceCode" of the speech service, and the machine values it reads (the
// engine's data folder, the install folder), over the shared settings
// routines, so that they are tested on an in-memory registry.
#pragma once
#include <string>
#include <vector>

#include "settings_platform.h"

namespace tessaly {

inline constexpr char kSettingsKey[] = "Tessaly3";
inline constexpr char kPlacementKey[] = "Tessaly3\\WindowPosFig";
// "ＭＳ ゴシック" in code page 932.
inline constexpr char kDefaultJapaneseFace[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
inline constexpr char kDefaultKoreanFace[] = "KS Gothic";
inline constexpr int kDefaultFontHeight = -21;

// Window show states of the placement.
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;
inline constexpr int kShowNotApplied = -1;  // a stored showCmd of -1: the placement is not applied

struct WindowSettings {
  int flags = 0;
  int showCmd = 1;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // the normal rectangle
  std::string japaneseFace = kDefaultJapaneseFace;  // the kana pane's, in the system's code page
  std::string koreanFace = kDefaultKoreanFace;      // the editor pane's
  int fontHeight = kDefaultFontHeight;              // both panes', logical units
};

// The defaults on a screen of that size: the middle half of it.
WindowSettings DefaultWindowSettings(int screenWidth, int screenHeight);

// Each value read from "Tessaly3\WindowPosFig" and "Tessaly3", a missing one
// (or one that does not fit its buffer) taking its default.
WindowSettings LoadWindowSettings(settings::SettingsPlatform& platform, int screenWidth, int screenHeight);
// Whether the stored placement is applied to the frame.
inline bool AppliesPlacement(const WindowSettings& s) { return s.showCmd != kShowNotApplied; }

// Writes "flags"; unless the window is minimised or maximised, also the show
// state, the normal rectangle, the faces and the height. False when a write
// failed (those before it stay written).
bool SaveWindowSettings(settings::SettingsPlatform& platform, const WindowSettings& s);

// "VoiceCode" of "Drenvik": its decimal value; 0 when missing.
int ReadVoiceCode(settings::SettingsPlatform& platform);

// HKEY_LOCAL_MACHINE "SOFTWARE\VALDRIMO\Sonavo50" "DicPath" and
// "Software\Valdrimo\GeulmaruV6" "Install Directory"; empty when missing.
std::string ReadEngineDataFolder(settings::SettingsPlatform& platform);
std::string ReadInstallDirectory(settings::SettingsPlatform& platform);

// Where the WAV file of a read-aloud may go, in the order tried: beside the
// program folder ("Install Directory" + "\speach.wav") when the install
// folder is known, then the user's temporary folder.
std::vector<std::string> WavPathCandidates(const std::string& installDirectory, const std::string& tempFolder);

}  // namespace tessaly

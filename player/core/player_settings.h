// The text player's settings: its window placement and the faces and height
// of its two panes under the suite's HKEY_CURRENT_USER tree ("Tessaly3"),
// "VoiceCode" of the speech service, and the machine values it reads (the
// engine's data folder, the install folder), over the shared settings
// routines, so that they are tested on an in-memory registry.
#pragma once
#include <string>
#include <vector>

#include "frame_record.h"
#include "settings_platform.h"

namespace tessaly {

inline constexpr char kSettingsKey[] = "Tessaly3";
inline constexpr char kPlacementKey[] = "Tessaly3\\WindowPosFig";
inline constexpr settings::FrameRecordKeys kFrameKeys{kSettingsKey, kPlacementKey};
using settings::kDefaultFontHeight;
using settings::kDefaultJapaneseFace;
using settings::kDefaultKoreanFace;
using settings::kShowMaximized;
using settings::kShowMinimized;
using settings::kShowNotApplied;
using settings::AppliesPlacement;

// The shared placement and fonts: the Japanese face is the kana pane's, the
// Korean face the editor pane's, the height both panes'.
using WindowSettings = settings::FrameRecord;

// The defaults on a screen of that size: the middle half of it.
WindowSettings DefaultWindowSettings(int screenWidth, int screenHeight);

// Each value read from "Tessaly3\WindowPosFig" and "Tessaly3", a missing one
// (or one that does not fit its buffer) taking its default.
WindowSettings LoadWindowSettings(settings::SettingsPlatform& platform, int screenWidth, int screenHeight);

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

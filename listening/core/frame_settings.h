// The listening program's own settings under the suite's HKEY_CURRENT_USER
// tree: the window placement ("ExampleCollection\WindowPosFig"), and the
// database path, the pane faces, the common font height and the copy source
// ("ExampleCollection"), over the shared settings routines so that they are
// tested on an in-memory registry.
#pragma once
#include <string>

#include "frame_record.h"
#include "settings_platform.h"

namespace ferlin {

inline constexpr char kSettingsKey[] = "ExampleCollection";
inline constexpr char kPlacementKey[] = "ExampleCollection\\WindowPosFig";
inline constexpr settings::FrameRecordKeys kFrameKeys{kSettingsKey, kPlacementKey};
using settings::kDefaultFontHeight;
using settings::kDefaultJapaneseFace;
using settings::kDefaultKoreanFace;

// The copy sources (CopyCode).
enum CopySource : int { kCopyJapanese = 0, kCopyKorean = 1, kCopyKana = 2, kCopyAll = 3 };
inline constexpr int kDefaultCopyCode = kCopyKorean;
inline constexpr int kFirstCopySourceCommand = 32785;

using settings::kShowMaximized;
using settings::kShowMinimized;
using settings::kShowNormal;
using settings::kShowNotApplied;
using settings::AppliesPlacement;

// The shared placement and fonts (all three panes), with the database path
// and the copy source.
struct FrameSettings : settings::FrameRecord {
  std::string databasePath;  // full path of the example database
  int copyCode = kDefaultCopyCode;
};

// The defaults on a screen of that size: the middle half of it.
FrameSettings DefaultFrameSettings(int screenWidth, int screenHeight);

// Every value read with its default when it is missing or does not fit its
// buffer (numbers 10 bytes, faces 32, the path 259). A CopyCode outside 0-3
// is taken as the default, so that the combo box, the menu marks and the
// copy command always agree on one source.
FrameSettings LoadFrameSettings(settings::SettingsPlatform& platform, int screenWidth, int screenHeight);

// The show command the frame is first shown with: the stored one, or
// SW_SHOWNORMAL when the placement is not applied (nothing was stored).
inline int StartShowCommand(const FrameSettings& s) { return AppliesPlacement(s) ? s.showCmd : kShowNormal; }

// Writes "flags"; unless the window is minimised or maximised, also the
// show command, the normal rectangle, the path, the faces, the height and
// the copy source. False when a write failed (those before it stay written).
bool SaveFrameSettings(settings::SettingsPlatform& platform, const FrameSettings& s);

// "DicPath" of "ExampleCollection", written when the user chooses the path.
bool SaveDatabasePath(settings::SettingsPlatform& platform, const std::string& path);

// HKEY_LOCAL_MACHINE "SOFTWARE\VALDRIMO\Sonavo50" "DicPath": the speech
// engine's data folder; empty when missing.
std::string ReadEngineDataFolder(settings::SettingsPlatform& platform);

}  // namespace ferlin

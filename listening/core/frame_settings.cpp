#include "frame_settings.h"

#include "shared_settings.h"

namespace ferlin {
namespace {

constexpr int kPathBuffer = 259;

bool WriteText(settings::SettingsPlatform& platform, const char* name, const std::string& value) {
  return settings::WriteRegString(platform, kSettingsKey, name, value.c_str()) == 1;
}

}  // namespace

FrameSettings DefaultFrameSettings(int screenWidth, int screenHeight) {
  FrameSettings s;
  settings::SetDefaultPlacement(s, screenWidth, screenHeight);
  return s;
}

FrameSettings LoadFrameSettings(settings::SettingsPlatform& platform, int screenWidth, int screenHeight) {
  FrameSettings s = DefaultFrameSettings(screenWidth, screenHeight);
  settings::LoadFrameRecord(platform, kFrameKeys, s);
  settings::ReadTextValue(platform, kSettingsKey, "DicPath", kPathBuffer, s.databasePath);
  settings::ReadNumberValue(platform, kSettingsKey, "CopyCode", s.copyCode);
  if (s.copyCode < kCopyJapanese || s.copyCode > kCopyAll) s.copyCode = kDefaultCopyCode;
  return s;
}

bool SaveFrameSettings(settings::SettingsPlatform& platform, const FrameSettings& s) {
  // The path before the fonts and the copy source after them.
  const settings::FrameRecordExtras extras{
      [&] { return WriteText(platform, "DicPath", s.databasePath); },
      [&] { return settings::WriteNumberValue(platform, kSettingsKey, "CopyCode", s.copyCode); }};
  return settings::SaveFrameRecord(platform, kFrameKeys, s, extras);
}

bool SaveDatabasePath(settings::SettingsPlatform& platform, const std::string& path) {
  return WriteText(platform, "DicPath", path);
}

std::string ReadEngineDataFolder(settings::SettingsPlatform& platform) {
  return settings::ReadMachineRegValue(platform, settings::kVoiceKeyPath, "DicPath");
}

}  // namespace ferlin

#include "frame_settings.h"

#include <cstdio>

#include "shared_settings.h"

namespace ferlin {
namespace {

constexpr int kNumberBuffer = 10;
constexpr int kFaceBuffer = 32;
constexpr int kPathBuffer = 259;

void ReadNumber(settings::SettingsPlatform& platform, const char* subkey, const char* name, int& value) {
  char text[kNumberBuffer] = {};
  if (settings::ReadRegString(platform, 0, subkey, name, text, kNumberBuffer) == 1)
    value = settings::ParseDecimal(text);
}

void ReadText(settings::SettingsPlatform& platform, const char* name, int size, std::string& value) {
  std::string buffer(static_cast<size_t>(size), '\0');
  if (settings::ReadRegString(platform, 0, kSettingsKey, name, buffer.data(), size) == 1)
    value = buffer.c_str();
}

bool WriteNumber(settings::SettingsPlatform& platform, const char* subkey, const char* name, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return settings::WriteRegString(platform, subkey, name, text) == 1;
}

bool WriteText(settings::SettingsPlatform& platform, const char* name, const std::string& value) {
  return settings::WriteRegString(platform, kSettingsKey, name, value.c_str()) == 1;
}

}  // namespace

FrameSettings DefaultFrameSettings(int screenWidth, int screenHeight) {
  FrameSettings s;
  s.x1 = screenWidth / 4;
  s.y1 = screenHeight / 4;
  s.x2 = screenWidth * 3 / 4;
  s.y2 = screenHeight * 3 / 4;
  return s;
}

FrameSettings LoadFrameSettings(settings::SettingsPlatform& platform, int screenWidth, int screenHeight) {
  FrameSettings s = DefaultFrameSettings(screenWidth, screenHeight);
  ReadNumber(platform, kPlacementKey, "flags", s.flags);
  ReadNumber(platform, kPlacementKey, "showCmd", s.showCmd);
  ReadNumber(platform, kPlacementKey, "x1", s.x1);
  ReadNumber(platform, kPlacementKey, "y1", s.y1);
  ReadNumber(platform, kPlacementKey, "x2", s.x2);
  ReadNumber(platform, kPlacementKey, "y2", s.y2);
  ReadText(platform, "DicPath", kPathBuffer, s.databasePath);
  ReadText(platform, "JpnFontFaceName", kFaceBuffer, s.japaneseFace);
  ReadText(platform, "KrnFontFaceName", kFaceBuffer, s.koreanFace);
  ReadNumber(platform, kSettingsKey, "FontHight", s.fontHeight);
  ReadNumber(platform, kSettingsKey, "CopyCode", s.copyCode);
  if (s.copyCode < kCopyJapanese || s.copyCode > kCopyAll) s.copyCode = kDefaultCopyCode;
  return s;
}

bool SaveFrameSettings(settings::SettingsPlatform& platform, const FrameSettings& s) {
  if (!WriteNumber(platform, kPlacementKey, "flags", s.flags)) return false;
  if (s.showCmd == kShowMinimized || s.showCmd == kShowMaximized) return true;
  return WriteNumber(platform, kPlacementKey, "showCmd", s.showCmd) &&
         WriteNumber(platform, kPlacementKey, "x1", s.x1) && WriteNumber(platform, kPlacementKey, "y1", s.y1) &&
         WriteNumber(platform, kPlacementKey, "x2", s.x2) && WriteNumber(platform, kPlacementKey, "y2", s.y2) &&
         WriteText(platform, "DicPath", s.databasePath) && WriteText(platform, "JpnFontFaceName", s.japaneseFace) &&
         WriteText(platform, "KrnFontFaceName", s.koreanFace) &&
         WriteNumber(platform, kSettingsKey, "FontHight", s.fontHeight) &&
         WriteNumber(platform, kSettingsKey, "CopyCode", s.copyCode);
}

bool SaveDatabasePath(settings::SettingsPlatform& platform, const std::string& path) {
  return WriteText(platform, "DicPath", path);
}

std::string ReadEngineDataFolder(settings::SettingsPlatform& platform) {
  return settings::ReadMachineRegValue(platform, settings::kVoiceKeyPath, "DicPath");
}

}  // namespace ferlin

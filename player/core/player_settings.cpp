#include "player_settings.h"

#include <cstdio>

#include "shared_settings.h"

namespace tessaly {
namespace {

// Numbers are read into 10 bytes, faces into 32, as the settings hold them.
constexpr int kNumberBuffer = 10;
constexpr int kFaceBuffer = 32;

void ReadNumber(settings::SettingsPlatform& platform, const char* subkey, const char* name, int& value) {
  char text[kNumberBuffer] = {};
  if (settings::ReadRegString(platform, 0, subkey, name, text, kNumberBuffer) == 1) {
    value = settings::ParseDecimal(text);
  }
}

void ReadFace(settings::SettingsPlatform& platform, const char* name, std::string& face) {
  char text[kFaceBuffer] = {};
  if (settings::ReadRegString(platform, 0, kSettingsKey, name, text, kFaceBuffer) == 1) face = text;
}

bool WriteNumber(settings::SettingsPlatform& platform, const char* subkey, const char* name, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return settings::WriteRegString(platform, subkey, name, text) == 1;
}

// The folder with a separator at its end: the one it already uses ("/" only
// in a folder written with forward slashes alone).
std::string WithSeparator(std::string folder) {
  if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder;
  const bool forward = folder.find('\\') == std::string::npos && folder.find('/') != std::string::npos;
  folder += forward ? '/' : '\\';
  return folder;
}

}  // namespace

WindowSettings DefaultWindowSettings(int screenWidth, int screenHeight) {
  WindowSettings s;
  s.x1 = screenWidth / 4;
  s.y1 = screenHeight / 4;
  s.x2 = screenWidth * 3 / 4;
  s.y2 = screenHeight * 3 / 4;
  return s;
}

WindowSettings LoadWindowSettings(settings::SettingsPlatform& platform, int screenWidth, int screenHeight) {
  WindowSettings s = DefaultWindowSettings(screenWidth, screenHeight);
  ReadNumber(platform, kPlacementKey, "flags", s.flags);
  ReadNumber(platform, kPlacementKey, "showCmd", s.showCmd);
  ReadNumber(platform, kPlacementKey, "x1", s.x1);
  ReadNumber(platform, kPlacementKey, "y1", s.y1);
  ReadNumber(platform, kPlacementKey, "x2", s.x2);
  ReadNumber(platform, kPlacementKey, "y2", s.y2);
  ReadFace(platform, "JpnFontFaceName", s.japaneseFace);
  ReadFace(platform, "KrnFontFaceName", s.koreanFace);
  ReadNumber(platform, kSettingsKey, "FontHight", s.fontHeight);
  return s;
}

bool SaveWindowSettings(settings::SettingsPlatform& platform, const WindowSettings& s) {
  if (!WriteNumber(platform, kPlacementKey, "flags", s.flags)) return false;
  if (s.showCmd == kShowMinimized || s.showCmd == kShowMaximized) return true;
  return WriteNumber(platform, kPlacementKey, "showCmd", s.showCmd) &&
         WriteNumber(platform, kPlacementKey, "x1", s.x1) && WriteNumber(platform, kPlacementKey, "y1", s.y1) &&
         WriteNumber(platform, kPlacementKey, "x2", s.x2) && WriteNumber(platform, kPlacementKey, "y2", s.y2) &&
         settings::WriteRegString(platform, kSettingsKey, "JpnFontFaceName", s.japaneseFace.c_str()) == 1 &&
         settings::WriteRegString(platform, kSettingsKey, "KrnFontFaceName", s.koreanFace.c_str()) == 1 &&
         WriteNumber(platform, kSettingsKey, "FontHight", s.fontHeight);
}

int ReadVoiceCode(settings::SettingsPlatform& platform) {
  int code = 0;
  ReadNumber(platform, "Drenvik", "VoiceCode", code);
  return code;
}

std::string ReadEngineDataFolder(settings::SettingsPlatform& platform) {
  return settings::ReadMachineRegValue(platform, settings::kVoiceKeyPath, "DicPath");
}

std::string ReadInstallDirectory(settings::SettingsPlatform& platform) {
  return settings::ReadMachineRegValue(platform, "Software\\Valdrimo\\GeulmaruV6", "Install Directory");
}

std::vector<std::string> WavPathCandidates(const std::string& installDirectory, const std::string& tempFolder) {
  std::vector<std::string> paths;
  if (!installDirectory.empty()) paths.push_back(WithSeparator(installDirectory) + "speach.wav");
  if (!tempFolder.empty()) paths.push_back(WithSeparator(tempFolder) + "speach.wav");
  return paths;
}

}  // namespace tessaly

#include "player_settings.h"

#include "shared_settings.h"

namespace tessaly {
namespace {

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
  settings::SetDefaultPlacement(s, screenWidth, screenHeight);
  return s;
}

WindowSettings LoadWindowSettings(settings::SettingsPlatform& platform, int screenWidth, int screenHeight) {
  WindowSettings s = DefaultWindowSettings(screenWidth, screenHeight);
  settings::LoadFrameRecord(platform, kFrameKeys, s);
  return s;
}

bool SaveWindowSettings(settings::SettingsPlatform& platform, const WindowSettings& s) {
  return settings::SaveFrameRecord(platform, kFrameKeys, s);
}

int ReadVoiceCode(settings::SettingsPlatform& platform) {
  int code = 0;
  settings::ReadNumberValue(platform, "Drenvik", "VoiceCode", code);
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

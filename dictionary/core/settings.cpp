#include "settings.h"

#include <cstdio>
#include <cstdlib>

#include "shared_settings.h"

namespace ombrel {

using settings::RegKey;
using settings::SettingsPlatform;

std::string FormatWindowPos(const WindowPosValues& v) {
  char text[160];
  std::snprintf(text, sizeof text, "%d,%d,%d,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld", v.length, v.flags, v.showCmd, v.minX,
                v.minY, v.maxX, v.maxY, v.left, v.top, v.right, v.bottom);
  return text;
}

bool ParseWindowPos(const std::string& text, WindowPosValues& out) {
  WindowPosValues v;
  if (std::sscanf(text.c_str(), "%d,%d,%d,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld", &v.length, &v.flags, &v.showCmd, &v.minX,
                  &v.minY, &v.maxX, &v.maxY, &v.left, &v.top, &v.right, &v.bottom) != 11) {
    return false;
  }
  out = v;
  return true;
}

namespace {

constexpr std::size_t kValueBytes = 260;

bool ReadValue(SettingsPlatform& p, const RegKey& key, const char* name, std::string& out) {
  char buffer[kValueBytes];
  if (!settings::ReadStringValue(p, key.Handle(), name, buffer, sizeof buffer)) return false;
  out = buffer;
  return true;
}

void WriteAll(SettingsPlatform& p, const RegKey& key, const DictionarySettings& s) {
  const std::string size = std::to_string(s.sizeTenths);
  const std::string jColor = std::to_string(s.japaneseColor);
  const std::string kColor = std::to_string(s.koreanColor);
  settings::WriteStringValue(p, key.Handle(), "JFont_Name", s.japaneseFace.c_str());
  settings::WriteStringValue(p, key.Handle(), "KFont_Name", s.koreanFace.c_str());
  settings::WriteStringValue(p, key.Handle(), "JIMESel", s.japaneseIme.c_str());
  settings::WriteStringValue(p, key.Handle(), "JIMEDesc", s.japaneseImeDescription.c_str());
  settings::WriteStringValue(p, key.Handle(), "KIMESel", s.koreanIme.c_str());
  settings::WriteStringValue(p, key.Handle(), "KIMEDesc", s.koreanImeDescription.c_str());
  settings::WriteStringValue(p, key.Handle(), "JF_Size", size.c_str());
  settings::WriteStringValue(p, key.Handle(), "JF_Color", jColor.c_str());
  settings::WriteStringValue(p, key.Handle(), "KF_Color", kColor.c_str());
  settings::WriteStringValue(p, key.Handle(), "WindowPos", FormatWindowPos(s.windowPos).c_str());
}

}  // namespace

bool LoadDictionarySettings(SettingsPlatform& p, DictionarySettings& s) {
  RegKey key;
  const int opened = settings::OpenOrCreateRegKey(p, kSettingsKeyPath, key, kProgramCaption);
  if (opened < 0) return false;
  const DictionarySettings defaults;
  std::string text;
  // The search method is read (and its key made) before the dialog reads
  // these, so a first start is also a key that holds none of them yet.
  const bool firstStart =
      opened == 1 || (!ReadValue(p, key, "JFont_Name", text) && !ReadValue(p, key, "WindowPos", text));
  if (firstStart) {
    s = defaults;
    WriteAll(p, key, s);
    settings::WriteStringValue(p, key.Handle(), "EtcData", "300");
    return true;
  }
  s.japaneseFace = ReadValue(p, key, "JFont_Name", text) ? text : defaults.japaneseFace;
  s.koreanFace = ReadValue(p, key, "KFont_Name", text) ? text : defaults.koreanFace;
  struct MachineFallback {
    const char* name;
    std::string* field;
    const std::string& fallback;
  };
  for (const MachineFallback& m : {MachineFallback{"JIMESel", &s.japaneseIme, defaults.japaneseIme},
                                   MachineFallback{"JIMEDesc", &s.japaneseImeDescription,
                                                   defaults.japaneseImeDescription}}) {
    if (ReadValue(p, key, m.name, text)) {
      *m.field = text;
      continue;
    }
    const std::string machine = settings::ReadMachineRegValue(p, kSettingsKeyPath, m.name);
    *m.field = machine.empty() ? m.fallback : machine;
    settings::WriteStringValue(p, key.Handle(), m.name, m.field->c_str());
  }
  s.koreanIme = ReadValue(p, key, "KIMESel", text) ? text : defaults.koreanIme;
  s.koreanImeDescription = ReadValue(p, key, "KIMEDesc", text) ? text : defaults.koreanImeDescription;
  s.sizeTenths = ReadValue(p, key, "JF_Size", text) ? settings::ParseDecimal(text.c_str()) : defaults.sizeTenths;
  if (s.sizeTenths < 10 || s.sizeTenths > 1000) s.sizeTenths = defaults.sizeTenths;  // a size no font takes
  s.japaneseColor = ReadValue(p, key, "JF_Color", text) ? static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 10))
                                                       : defaults.japaneseColor;
  s.koreanColor = ReadValue(p, key, "KF_Color", text) ? static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 10))
                                                     : defaults.koreanColor;
  s.windowPos = defaults.windowPos;
  if (ReadValue(p, key, "WindowPos", text)) ParseWindowPos(text, s.windowPos);
  s.listWidth = ReadValue(p, key, "EtcData", text) ? std::strtol(text.c_str(), nullptr, 10) : 300;
  return true;
}

bool SaveDictionarySettings(SettingsPlatform& p, const DictionarySettings& s) {
  RegKey key;
  if (settings::OpenOrCreateRegKey(p, kSettingsKeyPath, key, kProgramCaption) < 0) return false;
  WriteAll(p, key, s);
  return settings::WriteStringValue(p, key.Handle(), "EtcData", std::to_string(s.listWidth).c_str());
}

int SearchMethodSetting(SettingsPlatform& p) {
  RegKey key;
  const int opened = settings::OpenOrCreateRegKey(p, kSettingsKeyPath, key, kProgramCaption);
  if (opened < 0) return 0;
  if (opened == 1) {
    settings::WriteStringValue(p, key.Handle(), "SearchMethod", "0");
    return 0;
  }
  char buffer[16];
  if (!settings::ReadStringValue(p, key.Handle(), "SearchMethod", buffer, sizeof buffer)) return 0;
  const int m = settings::ParseDecimal(buffer);
  return m >= 0 && m <= 2 ? m : 0;
}

}  // namespace ombrel

#include "frame_record.h"

#include <cstdio>

#include "shared_settings.h"

namespace settings {

void ReadNumberValue(SettingsPlatform& platform, const char* subkey, const char* name, int& value) {
  char text[kNumberBuffer] = {};
  if (ReadRegString(platform, 0, subkey, name, text, kNumberBuffer) == 1) value = ParseDecimal(text);
}

void ReadTextValue(SettingsPlatform& platform, const char* subkey, const char* name, int size, std::string& value) {
  std::string buffer(static_cast<size_t>(size), '\0');
  if (ReadRegString(platform, 0, subkey, name, buffer.data(), size) == 1) value = buffer.c_str();
}

bool WriteNumberValue(SettingsPlatform& platform, const char* subkey, const char* name, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return WriteRegString(platform, subkey, name, text) == 1;
}

void SetDefaultPlacement(FrameRecord& record, int screenWidth, int screenHeight) {
  record.x1 = screenWidth / 4;
  record.y1 = screenHeight / 4;
  record.x2 = screenWidth * 3 / 4;
  record.y2 = screenHeight * 3 / 4;
}

void LoadFrameRecord(SettingsPlatform& platform, const FrameRecordKeys& keys, FrameRecord& r) {
  ReadNumberValue(platform, keys.placementKey, "flags", r.flags);
  ReadNumberValue(platform, keys.placementKey, "showCmd", r.showCmd);
  ReadNumberValue(platform, keys.placementKey, "x1", r.x1);
  ReadNumberValue(platform, keys.placementKey, "y1", r.y1);
  ReadNumberValue(platform, keys.placementKey, "x2", r.x2);
  ReadNumberValue(platform, keys.placementKey, "y2", r.y2);
  ReadTextValue(platform, keys.settingsKey, "JpnFontFaceName", kFaceBuffer, r.japaneseFace);
  ReadTextValue(platform, keys.settingsKey, "KrnFontFaceName", kFaceBuffer, r.koreanFace);
  ReadNumberValue(platform, keys.settingsKey, "FontHight", r.fontHeight);
}

bool SaveFrameRecord(SettingsPlatform& platform, const FrameRecordKeys& keys, const FrameRecord& r,
                     const FrameRecordExtras& extras) {
  const char* placement = keys.placementKey;
  if (!WriteNumberValue(platform, placement, "flags", r.flags)) return false;
  if (r.showCmd == kShowMinimized || r.showCmd == kShowMaximized) return true;
  return WriteNumberValue(platform, placement, "showCmd", r.showCmd) &&
         WriteNumberValue(platform, placement, "x1", r.x1) && WriteNumberValue(platform, placement, "y1", r.y1) &&
         WriteNumberValue(platform, placement, "x2", r.x2) && WriteNumberValue(platform, placement, "y2", r.y2) &&
         (!extras.beforeFonts || extras.beforeFonts()) &&
         WriteRegString(platform, keys.settingsKey, "JpnFontFaceName", r.japaneseFace.c_str()) == 1 &&
         WriteRegString(platform, keys.settingsKey, "KrnFontFaceName", r.koreanFace.c_str()) == 1 &&
         WriteNumberValue(platform, keys.settingsKey, "FontHight", r.fontHeight) &&
         (!extras.afterFonts || extras.afterFonts());
}

}  // namespace settings

#include "settings_sheet.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "font_rules.h"
#include "help_topics.h"

namespace workbench::sheet {

namespace {

using settings::FontRecord;
using settings::RegKey;
using settings::SettingsPlatform;

// "ＧＭ韓国明朝", "KS Mincho", "ＭＳ 明朝" in code page 932.
constexpr const char* kDefaultFaces[3] = {"\x82\x66\x82\x6C\x8A\xD8\x8D\x91\x96\xBE\x92\xA9", "KS Mincho",
                                          "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9"};
constexpr int kNumberSize = 32;
constexpr int kFaceSize = 260;

std::string SlotKeyPath(int slot) { return std::string(kDalmokKeyPath) + "\\" + kFontKeys[slot]; }

bool WriteNumber(SettingsPlatform& platform, const RegKey& key, const char* name, int value) {
  char text[kNumberSize];
  std::snprintf(text, sizeof text, "%d", value);
  return settings::WriteStringValue(platform, key.Handle(), name, text);
}

int ReadNumber(SettingsPlatform& platform, const RegKey& key, const char* name, int fallback) {
  char text[kNumberSize];
  return settings::ReadStringValue(platform, key.Handle(), name, text, sizeof text) ? settings::ParseDecimal(text)
                                                                                    : fallback;
}

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

const char* DefaultFace(int slot) { return slot >= 0 && slot < 3 ? kDefaultFaces[slot] : ""; }
int SlotCharset(int slot) { return slot == kSlotKoreanKs ? 129 : 128; }

FontSetting ReadFontSetting(SettingsPlatform& platform, int slot, const char* caption) {
  FontSetting out;
  if (slot < 0 || slot > 2) return out;
  RegKey key;
  const int opened = settings::OpenOrCreateRegKey(platform, SlotKeyPath(slot).c_str(), key, caption);
  if (opened < 0) return out;
  FontRecord& f = out.font;
  f.lfCharSet = static_cast<uint8_t>(SlotCharset(slot));
  if (opened == 1) {
    WriteNumber(platform, key, "Height", kDefaultHeight);
    WriteNumber(platform, key, "Weight", kDefaultWeight);
    WriteNumber(platform, key, "FontType", kDefaultFontType);
    WriteNumber(platform, key, "PitchAndFamily", 1);
    settings::WriteStringValue(platform, key.Handle(), "FaceName", kDefaultFaces[slot]);
    f.lfHeight = kDefaultHeight;
    f.lfWeight = kDefaultWeight;
    f.lfPitchAndFamily = 1;
    out.fontType = kDefaultFontType;
    settings::CutFaceName(kDefaultFaces[slot], f.lfFaceName);
    return out;
  }
  f.lfHeight = ReadNumber(platform, key, "Height", kDefaultHeight);
  f.lfWeight = ReadNumber(platform, key, "Weight", kDefaultWeight);
  out.fontType = ReadNumber(platform, key, "FontType", kDefaultFontType);
  f.lfPitchAndFamily = static_cast<uint8_t>(ReadNumber(platform, key, "PitchAndFamily", 4));
  char face[kFaceSize];
  if (!settings::ReadStringValue(platform, key.Handle(), "FaceName", face, sizeof face))
    std::strcpy(face, kDefaultFaces[slot]);
  settings::CutFaceName(face, f.lfFaceName);
  return out;
}

bool WriteFontSetting(SettingsPlatform& platform, const FontRecord& font, int fontType, int slot,
                      const char* caption) {
  if (slot < 0 || slot > 2) return true;
  char face[33] = {};
  std::memcpy(face, font.lfFaceName, 32);
  bool ok = true;
  auto writeKey = [&](int keySlot, bool withFace) {
    RegKey key;
    if (settings::OpenOrCreateRegKey(platform, SlotKeyPath(keySlot).c_str(), key, caption) < 0) {
      ok = false;
      return;
    }
    ok &= WriteNumber(platform, key, "Height", font.lfHeight);
    ok &= WriteNumber(platform, key, "Weight", font.lfWeight);
    ok &= WriteNumber(platform, key, "FontType", fontType);
    ok &= WriteNumber(platform, key, "PitchAndFamily", font.lfPitchAndFamily);
    if (withFace) ok &= settings::WriteStringValue(platform, key.Handle(), "FaceName", face);
  };
  if (slot == kSlotJapanese) {
    writeKey(kSlotJapanese, true);
  } else {
    writeKey(kSlotKoreanGm, slot == kSlotKoreanGm);
    writeKey(kSlotKoreanKs, slot == kSlotKoreanKs);
  }
  return ok;
}

// ---- voice page ----

const VoiceRange kVolumeRange{50, 150, "\x83\x7B\x83\x8A\x83\x85\x81\x5B\x83\x80"};
const VoiceRange kSpeedRange{50, 200, "\x83\x58\x83\x73\x81\x5B\x83\x68"};
const VoiceRange kPitchRange{80, 120, "\x83\x73\x83\x62\x83\x60"};
const char16_t kVoiceSample[] = u"\uC774\uAC83\uC740 \uD55C\uAD6D\uC5B4\uC74C\uC131\uC758 \uD14C\uC2A4\uD2B8\uC785\uB2C8\uB2E4.";

std::optional<int> AcceptEntry(std::string_view text, const VoiceRange& range) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i >= text.size()) return std::nullopt;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL << 32);
  }
  if (negative) value = -value;
  if (value < range.min || value > range.max) return std::nullopt;
  return static_cast<int>(value);
}

std::string RangeMessage(const VoiceRange& range) {
  // "%d-%dの範囲で値を設定してください。"
  char text[96];
  std::snprintf(text, sizeof text,
                "%d-%d\x82\xCC\x94\xCD\x88\xCD\x82\xC5\x92\x6C\x82\xF0\x90\xDD\x92\xE8\x82\xB5\x82\xC4\x82\xAD"
                "\x82\xBE\x82\xB3\x82\xA2\x81\x42",
                range.min, range.max);
  return text;
}

// ---- dictionary page ----

int DictionaryMethodValue(std::string_view text) {
  const int v = settings::ParseDecimal(std::string(text).c_str());
  return v < 0 || v > 2 ? 0 : v;
}
int DictionaryWindowValue(std::string_view text) {
  const int v = settings::ParseDecimal(std::string(text).c_str());
  return v < 0 || v > 1 ? 0 : v;
}

// ---- font page ----

bool KoreanFaceListed(std::u16string_view face, unsigned fontType, int codeMode) {
  if (fontType == 0 || face.empty() || face[0] == u'@') return false;
  return codeMode == 1 ? StartsWith(face, u"KS") : StartsWith(face, u"\uFF27\uFF2D");
}

bool JapaneseFaceListed(std::u16string_view face, unsigned fontType, int charset) {
  if (fontType == 0 || charset != 128 || face.empty() || face[0] == u'@') return false;
  // GM-code Korean faces, QZ- faces and two Chinese families that report
  // the Shift-JIS character set: the "ＧＢ" faces and Arphic's "AR PL" ones.
  for (std::u16string_view prefix : {std::u16string_view(u"\uFF27\uFF2D"), std::u16string_view(u"QZ-"),
                                     std::u16string_view(u"\uFF27\uFF22"), std::u16string_view(u"AR PL ")})
    if (StartsWith(face, prefix)) return false;
  return true;
}

int RasterPoints(int height, int dpi) { return fontdlg::PointsForHeight(height, dpi); }

std::vector<int> FaceSizes(bool raster, const std::vector<int>& rasterHeights, int dpi) {
  std::vector<int> sizes;
  if (!raster) {
    for (int p = 8; p <= 24; p += 2) sizes.push_back(p);
    return sizes;
  }
  for (int h : rasterHeights) {
    const int p = RasterPoints(h, dpi);
    if (std::find(sizes.begin(), sizes.end(), p) == sizes.end()) sizes.push_back(p);
  }
  return sizes;
}

int HeightOfSize(int points, int dpi) { return dpi > 0 ? fontdlg::HeightForPoints(points, dpi) : 0; }

// ---- input-method page ----

bool ImeFileListed(std::string_view upperFileName) {
  if (upperFileName.empty()) return false;
  return upperFileName.substr(0, 6) != "WARBEN" && upperFileName.substr(0, 6) != "TILBEN";
}

std::string TextServiceEntry(std::string_view firstName, int count) {
  std::string entry = "TSF:";
  entry += firstName;
  if (count > 1) entry += " etc.";
  return entry;
}

std::string StartImeName(std::string_view programName, std::string_view tsfEntry) {
  if (programName == kTextServicesName && !tsfEntry.empty()) return std::string(tsfEntry);
  return std::string(programName);
}

std::optional<std::string> ImeNameToStore(std::string_view current, std::string_view tsfEntry,
                                          std::string_view starting) {
  std::string name(current);
  if (!tsfEntry.empty() && current == tsfEntry) name = kTextServicesName;
  if (name == starting) return std::nullopt;
  return name;
}

std::optional<std::string> LoadSelectIme(SettingsPlatform& platform, const char* caption) {
  RegKey key;
  const int opened = settings::OpenOrCreateRegKey(platform, kDalmokKeyPath, key, caption);
  if (opened < 0) return std::nullopt;
  char text[81] = {};
  if (opened == 0 && settings::ReadStringValue(platform, key.Handle(), kSelectImeValue, text, sizeof text))
    return text[0] == '\0' ? std::string(kTextServicesName) : std::string(text);
  std::string initial = settings::ReadMachineRegValue(platform, kDalmokKeyPath, kSelectImeValue);
  if (initial.empty()) initial = kTextServicesName;
  settings::WriteStringValue(platform, key.Handle(), kSelectImeValue, initial.c_str(), true);
  return opened == 1 ? std::string(kTextServicesName) : initial;
}

bool WriteSelectIme(SettingsPlatform& platform, const std::string& name, const char* caption) {
  RegKey key;
  if (settings::OpenOrCreateRegKey(platform, kDalmokKeyPath, key, caption) < 0) return false;
  return settings::WriteStringValue(platform, key.Handle(), kSelectImeValue, name.c_str(), true);
}

int HelpContextOfPage(unsigned templateId) {
  switch (templateId) {
    case kImePage: return static_cast<int>(help::kHelpContextImePage);
    case kVoicePage: return static_cast<int>(help::kHelpContextVoicePage);
    case kDictionaryPage: return static_cast<int>(help::kHelpContextDictionaryPage);
    case kFontPage: return static_cast<int>(help::kHelpContextFontPage);
    default: return static_cast<int>(help::kHelpContextMain);
  }
}

}  // namespace workbench::sheet

#include "shared_settings.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ks_gm.h"

namespace settings {

namespace {

// "レジストリの作成に失敗しました!" in code page 932.
constexpr char kRegistryCreateFailed[] =
    "\x83\x8C\x83\x57\x83\x58\x83\x67\x83\x8A\x82\xCC\x8D\xEC\x90\xAC\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82\xDC"
    "\x82\xB5\x82\xBD!";

constexpr int kFaceBufferSize = 260;
constexpr int kMachineValueSize = 260;
constexpr int kVoiceValueSize = 12;
constexpr int kNumberBufferSize = 32;

struct FontSection {
  const char* section;
  int height;
  int weight;
  int charSet;
  const char* face;  // code page 932
  int fontType;
  int pitchAndFamily;
};

constexpr FontSection kFontSections[kFontCount] = {
    // "ＧＭ韓国明朝"
    {"KoreanFontGM", -21, 400, 128, "\x82\x66\x82\x6C\x8A\xD8\x8D\x91\x96\xBE\x92\xA9", 4, 1},
    {"KoreanFontKS", -21, 400, 129, "KS Mincho", 4, 1},
    // "ＭＳ 明朝"
    {"JapaneseFont", -21, 400, 128, "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9", 4, 1},
};

// The module's records: GM, KS, Japanese; and the font type of the section
// read last, which nothing uses further.
FontRecord g_fonts[kFontCount];
int g_fontType = 0;

// GetPrivateProfileIntA's reading: a missing or empty value gives the default.
int ProfileInt(SettingsPlatform& platform, const std::string& file, const char* section, const char* key,
               int fallback) {
  char text[kNumberBufferSize] = {};
  platform.ProfileString(section, key, "", text, sizeof text, file.c_str());
  return text[0] == '\0' ? fallback : ParseDecimal(text);
}

RegRoot RootOf(int root) { return root == 0 ? RegRoot::CurrentUser : RegRoot::LocalMachine; }

std::string SuitePath(const char* subkey) {
  std::string path = kSuiteKeyPath;
  if (subkey != nullptr && *subkey != '\0') {
    path += '\\';
    path += subkey;
  }
  return path;
}

void ReadVoiceValues(SettingsPlatform& platform, const RegKey& key, int* const outputs[], int count) {
  for (int i = 0; i < count; ++i) {
    if (outputs[i] == nullptr) continue;
    *outputs[i] = key.IsOpen() ? ReadVoiceValue(platform, key.Handle(), kVoiceValues[i]) : kVoiceValues[i].fallback;
  }
}

void LoadVoiceSettingsWith(SettingsPlatform& platform, RegAccess access, int* speaker, int* volume, int* rate,
                           int* pitch, int* repeat) {
  int* const outputs[] = {speaker, volume, rate, pitch, repeat};
  const RegKey key = OpenRegKey(platform, RegRoot::CurrentUser, kVoiceKeyPath, access);
  ReadVoiceValues(platform, key, outputs, 5);
}

}  // namespace

// ---- display fonts ----

void CutFaceName(const char* face, char destination[32]) {
  size_t kept = 0;
  if (face != nullptr) {
    for (;;) {
      const auto b = static_cast<uint8_t>(face[kept]);
      if (b == 0) break;
      const size_t length = codeconv::IsSystemLeadByte(b) && face[kept + 1] != '\0' ? 2 : 1;
      if (kept + length > 31) break;
      kept += length;
    }
    std::memcpy(destination, face, kept);
  }
  std::memset(destination + kept, 0, 32 - kept);
}

void LoadFontSettings(SettingsPlatform& platform, FontRecord* out, int index) {
  const std::string file = platform.WindowsDirectory() + "\\" + kFontFileName;
  for (int i = 0; i < kFontCount; ++i) {
    const FontSection& s = kFontSections[i];
    FontRecord& record = g_fonts[i];
    std::memset(&record, 0, sizeof record);
    record.lfHeight = ProfileInt(platform, file, s.section, "Height", s.height);
    record.lfWeight = ProfileInt(platform, file, s.section, "Weight", s.weight);
    record.lfCharSet = static_cast<uint8_t>(ProfileInt(platform, file, s.section, "CharSet", s.charSet));
    char face[kFaceBufferSize] = {};
    platform.ProfileString(s.section, "FaceName", s.face, face, sizeof face, file.c_str());
    face[sizeof face - 1] = '\0';
    CutFaceName(face, record.lfFaceName);
    g_fontType = ProfileInt(platform, file, s.section, "FontType", s.fontType);
    record.lfPitchAndFamily =
        static_cast<uint8_t>(ProfileInt(platform, file, s.section, "PitchAndFamily", s.pitchAndFamily));
  }
  if (out != nullptr && index >= 0 && index < kFontCount) *out = g_fonts[index];
}

// ---- shared core ----

int ParseDecimal(const char* text) {
  if (text == nullptr) return 0;
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<int>(value);
}

bool ReadStringValue(SettingsPlatform& platform, SettingsPlatform::KeyHandle key, const char* name, char* buffer,
                     int size) {
  if (buffer == nullptr || size <= 0) return false;
  // Read aside, so that a value that fails leaves the caller's buffer alone.
  std::vector<uint8_t> data(static_cast<size_t>(size));
  uint32_t stored = static_cast<uint32_t>(size);
  uint32_t type = 0;
  if (platform.QueryValue(key, name, type, data.data(), stored) != QueryStatus::Ok) return false;
  if (stored > static_cast<uint32_t>(size)) return false;
  const bool terminated = stored > 0 && data[stored - 1] == 0;
  if (!terminated && stored >= static_cast<uint32_t>(size)) return false;  // no room for the NUL
  std::memcpy(buffer, data.data(), stored);
  if (!terminated) buffer[stored] = '\0';
  return true;
}

bool WriteStringValue(SettingsPlatform& platform, SettingsPlatform::KeyHandle key, const char* name,
                      const char* text, bool withNul) {
  if (text == nullptr) return false;
  return platform.SetValue(key, name, kRegSz, reinterpret_cast<const uint8_t*>(text),
                           static_cast<uint32_t>(std::strlen(text) + (withNul ? 1 : 0)));
}

// ---- the suite's registry tree ----

int ReadRegString(SettingsPlatform& platform, int root, const char* subkey, const char* name, char* buffer,
                  int size) {
  const RegKey key = OpenRegKey(platform, RootOf(root), SuitePath(subkey), RegAccess::Read);
  if (!key.IsOpen()) return 0;
  return ReadStringValue(platform, key.Handle(), name, buffer, size) ? 1 : 0;
}

int ReadRegValue(SettingsPlatform& platform, int root, const char* subkey, const char* name, char* buffer,
                 int size) {
  if (buffer != nullptr && size > 0) std::memset(buffer, 0, static_cast<size_t>(size));
  return ReadRegString(platform, root, subkey, name, buffer, size);
}

int WriteRegString(SettingsPlatform& platform, const char* subkey, const char* name, const char* text) {
  const std::string path = SuitePath(subkey);
  RegKey key = OpenRegKey(platform, RegRoot::CurrentUser, path, RegAccess::Write);
  if (!key.IsOpen()) key = CreateRegKey(platform, RegRoot::CurrentUser, path, RegAccess::Write);
  if (!key.IsOpen()) return 0;
  return WriteStringValue(platform, key.Handle(), name, text) ? 1 : 0;
}

int OpenOrCreateRegKey(SettingsPlatform& platform, const char* path, RegKey& out, const char* caption) {
  out.Close();
  const std::string p = path != nullptr ? path : "";
  out = OpenRegKey(platform, RegRoot::CurrentUser, p, RegAccess::All);
  if (out.IsOpen()) return 0;
  out = CreateRegKey(platform, RegRoot::CurrentUser, p, RegAccess::All);
  if (out.IsOpen()) return 1;
  platform.ShowWarning(caption != nullptr ? caption : "", kRegistryCreateFailed);
  return -1;
}

std::string ReadMachineRegValue(SettingsPlatform& platform, const char* path, const char* name) {
  char text[kMachineValueSize] = {};
  const RegKey key = OpenRegKey(platform, RegRoot::LocalMachine, path != nullptr ? path : "", RegAccess::Read);
  if (!key.IsOpen() || !ReadStringValue(platform, key.Handle(), name, text, sizeof text)) return {};
  return text;
}

// ---- voice values ----

int ReadVoiceValue(SettingsPlatform& platform, SettingsPlatform::KeyHandle key, const VoiceValue& value) {
  char text[kVoiceValueSize];
  return ReadStringValue(platform, key, value.name, text, sizeof text) ? ParseDecimal(text) : value.fallback;
}

void LoadVoiceSettings(SettingsPlatform& platform, int* speaker, int* volume, int* rate, int* pitch, int* repeat) {
  LoadVoiceSettingsWith(platform, RegAccess::Read, speaker, volume, rate, pitch, repeat);
}

int SaveVoiceSettings(SettingsPlatform& platform, int speaker, int volume, int rate, int pitch, int repeat) {
  RegKey key = OpenRegKey(platform, RegRoot::CurrentUser, kVoiceKeyPath, RegAccess::All);
  if (!key.IsOpen()) key = CreateRegKey(platform, RegRoot::CurrentUser, kVoiceKeyPath, RegAccess::Write);
  if (!key.IsOpen()) return 0;
  const int values[] = {speaker, volume, rate, pitch, repeat};
  for (size_t i = 0; i < 5; ++i) {
    char text[kVoiceValueSize];
    std::snprintf(text, sizeof text, "%d", values[i]);
    if (!WriteStringValue(platform, key.Handle(), kVoiceValues[i].name, text)) return 0;
  }
  return 1;
}

namespace player {
void LoadVoiceSettings(SettingsPlatform& platform, int* speaker, int* volume, int* rate, int* pitch, int* repeat) {
  LoadVoiceSettingsWith(platform, RegAccess::All, speaker, volume, rate, pitch, repeat);
}
}  // namespace player

namespace dictionary {
void LoadVoiceSettings(SettingsPlatform& platform, const char* caption, int* speaker, int* volume, int* rate,
                       int* pitch) {
  RegKey key;
  if (OpenOrCreateRegKey(platform, kVoiceKeyPath, key, caption) != 0) return;
  int* const outputs[] = {speaker, volume, rate, pitch};
  ReadVoiceValues(platform, key, outputs, 4);
}
}  // namespace dictionary

namespace workbench {
void LoadVoiceSettings(SettingsPlatform& platform, const char* caption, int* speaker, int* volume, int* rate,
                       int* pitch) {
  RegKey key;
  const int opened = OpenOrCreateRegKey(platform, dictionary::kVoiceKeyPath, key, caption);
  if (opened < 0) return;
  int* const outputs[] = {speaker, volume, rate, pitch};
  if (opened == 0) {
    ReadVoiceValues(platform, key, outputs, 4);
    return;
  }
  for (size_t i = 0; i < 4; ++i) {
    char text[kVoiceValueSize];
    std::snprintf(text, sizeof text, "%d", kVoiceValues[i].fallback);
    WriteStringValue(platform, key.Handle(), kVoiceValues[i].name, text);
    if (outputs[i]) *outputs[i] = kVoiceValues[i].fallback;
  }
}
}  // namespace workbench

}  // namespace settings

// Settings that the companion programs share: the display fonts of
// "Dalmok.ini" in the Windows directory, string values under the suite's
// registry tree, and the voice values under the speech engine's key. Nothing
// is cached: every call opens, reads or writes, and closes.
#pragma once
#include <cstdint>
#include <string>

#include "settings_platform.h"

namespace settings {

inline constexpr char kSuiteKeyPath[] = "SOFTWARE\\VALDRIMO\\GeulmaruV6";
inline constexpr char kVoiceKeyPath[] = "SOFTWARE\\VALDRIMO\\Sonavo50";
inline constexpr char kFontFileName[] = "Dalmok.ini";

// ---- display fonts ----

// The layout of LOGFONTA.
struct FontRecord {
  int32_t lfHeight;
  int32_t lfWidth;
  int32_t lfEscapement;
  int32_t lfOrientation;
  int32_t lfWeight;
  uint8_t lfItalic;
  uint8_t lfUnderline;
  uint8_t lfStrikeOut;
  uint8_t lfCharSet;
  uint8_t lfOutPrecision;
  uint8_t lfClipPrecision;
  uint8_t lfQuality;
  uint8_t lfPitchAndFamily;
  char lfFaceName[32];
};
static_assert(sizeof(FontRecord) == 60);

enum FontIndex : int { kFontGm = 0, kFontKs = 1, kFontJapanese = 2 };
inline constexpr int kFontCount = 3;

// Reads the three sections of "Dalmok.ini" ("KoreanFontGM", "KoreanFontKS",
// "JapaneseFont") into the module's three records, each key missing taking
// its default, and copies record index to out. An index outside 0-2 leaves
// out as it was.
void LoadFontSettings(SettingsPlatform& platform, FontRecord* out, int index);

// A face name cut to at most 31 bytes, never inside a double-byte character
// of the system code page; destination holds 32 bytes.
void CutFaceName(const char* face, char destination[32]);

// ---- the suite's registry tree ----

// Reads the REG_SZ value of "SOFTWARE\VALDRIMO\GeulmaruV6\" + subkey under
// HKEY_CURRENT_USER (root 0) or HKEY_LOCAL_MACHINE (any other root) into
// buffer. 1 when read and NUL-terminated inside size bytes; 0 when the key or
// the value is missing or the value does not fit with its NUL, and then the
// buffer is left as it was. A null or empty subkey reads the tree's own key.
int ReadRegString(SettingsPlatform& platform, int root, const char* subkey, const char* name, char* buffer, int size);
// As ReadRegString, but clears the buffer (size bytes) first.
int ReadRegValue(SettingsPlatform& platform, int root, const char* subkey, const char* name, char* buffer, int size);
// Writes text as REG_SZ of its length without the NUL under HKEY_CURRENT_USER
// "SOFTWARE\VALDRIMO\GeulmaruV6\" + subkey, creating the key when it cannot
// be opened. 1 on success, 0 otherwise.
int WriteRegString(SettingsPlatform& platform, const char* subkey, const char* name, const char* text);

// Opens the HKEY_CURRENT_USER key path with all access: 0; else creates it: 1
// (the caller writes its defaults); else shows the warning box
// "レジストリの作成に失敗しました!" with the caller's caption: -1.
int OpenOrCreateRegKey(SettingsPlatform& platform, const char* path, RegKey& out, const char* caption);
// The REG_SZ value of an HKEY_LOCAL_MACHINE key read into 260 bytes; empty
// when the key or the value is missing.
std::string ReadMachineRegValue(SettingsPlatform& platform, const char* path, const char* name);

// ---- shared core of the readers and writers ----

// The string value of an open key into buffer, NUL-terminated inside size
// bytes; false when missing or too long (buffer left as it was).
bool ReadStringValue(SettingsPlatform& platform, SettingsPlatform::KeyHandle key, const char* name, char* buffer,
                     int size);
// text as REG_SZ of its length without the NUL, or with it when withNul.
bool WriteStringValue(SettingsPlatform& platform, SettingsPlatform::KeyHandle key, const char* name,
                      const char* text, bool withNul = false);
// Decimal text as the C library's atoi reads it (leading blanks, a sign,
// digits; anything else ends it, no digit gives 0), held to the int range.
int ParseDecimal(const char* text);

// ---- voice values ----

struct VoiceValue {
  const char* name;
  int fallback;
};
// In the order in which they are read and written.
inline constexpr VoiceValue kVoiceValues[] = {
    {"VoiceSpeaker", 0}, {"VoiceVolume", 100}, {"VoiceRate", 100}, {"VoicePitch", 100}, {"VoiceRepeatNum", 1},
};
// The voice value of an open key (read into 12 bytes) or its default when
// it is missing or longer.
int ReadVoiceValue(SettingsPlatform& platform, SettingsPlatform::KeyHandle key, const VoiceValue& value);

// Fills all five from HKEY_CURRENT_USER "SOFTWARE\VALDRIMO\Sonavo50" (opened
// for reading): a missing key gives all defaults, a missing value its
// default. Writes nothing. Null pointers are passed over.
void LoadVoiceSettings(SettingsPlatform& platform, int* speaker, int* volume, int* rate, int* pitch, int* repeat);
// Opens the voice key with all access, or creates it for writing, and writes
// the five values as decimal REG_SZ text, stopping at the first failed write.
// 1 when all five were written, else 0.
int SaveVoiceSettings(SettingsPlatform& platform, int speaker, int volume, int rate, int pitch, int repeat);

// The text player's copy: as LoadVoiceSettings, the key opened with all access.
namespace player {
void LoadVoiceSettings(SettingsPlatform& platform, int* speaker, int* volume, int* rate, int* pitch, int* repeat);
}

// The dictionary program's copy: opens HKEY_CURRENT_USER
// "SOFTWARE\Valdrimo\Sonavo50" with OpenOrCreateRegKey (its warning box
// captioned caption); a key that existed gives the four values or their
// defaults; a key just created, or none, leaves the four as they are.
namespace dictionary {
inline constexpr char kVoiceKeyPath[] = "SOFTWARE\\Valdrimo\\Sonavo50";
void LoadVoiceSettings(SettingsPlatform& platform, const char* caption, int* speaker, int* volume, int* rate,
                       int* pitch);
}  // namespace dictionary

// The translation workbench's copy: the same key through OpenOrCreateRegKey;
// a key just created gets the four defaults written (decimal REG_SZ) and
// they are used; a key that existed gives the four values or their
// defaults; no key (the warning shown) leaves the four as they are.
namespace workbench {
void LoadVoiceSettings(SettingsPlatform& platform, const char* caption, int* speaker, int* volume, int* rate,
                       int* pitch);
}  // namespace workbench

}  // namespace settings

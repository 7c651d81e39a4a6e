// The shared settings routines on the real registry and profile functions:
// values written under HKEY_CURRENT_USER and read back, reads from
// HKEY_LOCAL_MACHINE, the voice values, the open-or-create helper and the
// "Dalmok.ini" reader. Everything it creates it removes again.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "check.h"
#include "shared_settings_win32.h"

using wtest::check;
using wtest::check_eq;

namespace {

const char kSub[] = "WineSettingsTest";
const std::string kUserPath = std::string(settings::kSuiteKeyPath) + "\\" + kSub;
const char kRootValue[] = "WineSettingsTestValue";

// A value as stored: its type and its bytes in UTF-16 (the registry's own
// form), read with the wide call so that no conversion adds a terminator.
bool RawValue(HKEY root, const std::string& path, const char* name, DWORD& type, std::wstring& data) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  wchar_t wname[64] = {};
  MultiByteToWideChar(CP_ACP, 0, name, -1, wname, 64);
  wchar_t buffer[64] = {};
  DWORD size = sizeof buffer;
  const LONG r = RegQueryValueExW(key, wname, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (r != ERROR_SUCCESS) return false;
  data.assign(buffer, size / sizeof(wchar_t));
  // The text goes in without its NUL; the system itself counts a NUL that
  // follows the bytes it was given (Windows NT does, and so does Wine).
  if (!data.empty() && data.back() == L'\0') data.pop_back();
  return true;
}

void PutRaw(HKEY root, const std::string& path, const char* name, const char* text) {
  HKEY key;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) return;
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(strlen(text) + 1));
  RegCloseKey(key);
}

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void CleanUp() {
  RegDeleteTreeA(HKEY_CURRENT_USER, kUserPath.c_str());
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUserPath.c_str());
  RegDeleteTreeA(HKEY_CURRENT_USER, settings::kVoiceKeyPath);
  HKEY suite;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, settings::kSuiteKeyPath, 0, KEY_WRITE, &suite) == ERROR_SUCCESS) {
    RegDeleteValueA(suite, kRootValue);
    RegCloseKey(suite);
  }
}

void TestUserValues() {
  wtest::report().group = "user";
  check(settings::WriteRegString(kSub, "Name", "abc") == 1, "WriteRegString creates the key and writes");
  DWORD type = 0;
  std::wstring data;
  check(RawValue(HKEY_CURRENT_USER, kUserPath, "Name", type, data), "the value is there");
  check_eq(type, REG_SZ, "its type");
  check(data == L"abc", "stored as the text (%u units)", static_cast<unsigned>(data.size()));

  char buffer[16];
  check(settings::ReadRegString(0, kSub, "Name", buffer, sizeof buffer) == 1 && strcmp(buffer, "abc") == 0,
        "ReadRegString reads it back");
  check(settings::ReadRegString(0, "winesettingstest", "NAME", buffer, sizeof buffer) == 1,
        "key and value names without regard to case");
  strcpy(buffer, "keep");
  check(settings::ReadRegString(0, kSub, "Name", buffer, 3) == 0 && strcmp(buffer, "keep") == 0,
        "a buffer without room for the NUL counts as missing and stays");
  check(settings::ReadRegString(0, kSub, "Name", buffer, 4) == 1 && strcmp(buffer, "abc") == 0,
        "a buffer of length + 1 holds it");
  check(settings::ReadRegString(0, kSub, "Nothing", buffer, sizeof buffer) == 0, "a missing value");
  check(settings::ReadRegString(0, "NoSuchSubkey", "Name", buffer, sizeof buffer) == 0, "a missing key");
  check(settings::ReadRegString(1, kSub, "Name", buffer, sizeof buffer) == 0, "root 1 does not read the user's tree");

  check(settings::WriteRegString(kSub, "Name", "-21") == 1, "a second write replaces the value");
  check(settings::ReadRegString(0, kSub, "Name", buffer, sizeof buffer) == 1 && strcmp(buffer, "-21") == 0,
        "and reads back");
  // A value stored with its NUL by another writer reads the same.
  PutRaw(HKEY_CURRENT_USER, kUserPath, "WithNul", "xyz");
  check(settings::ReadRegString(0, kSub, "WithNul", buffer, 4) == 1 && strcmp(buffer, "xyz") == 0,
        "a value stored with its NUL fits length + 1");

  const std::string created = kUserPath + "\\Created";
  HKEY key = nullptr;
  check(settings::OpenOrCreateRegKey(created.c_str(), &key, "DAL-MOK") == 1 && key != nullptr,
        "OpenOrCreateRegKey creates a missing key (1)");
  if (key) RegCloseKey(key);
  key = nullptr;
  check(settings::OpenOrCreateRegKey(created.c_str(), &key, "DAL-MOK") == 0 && key != nullptr,
        "and opens it the next time (0)");
  if (key) RegCloseKey(key);
}

void TestMachineValues() {
  wtest::report().group = "machine";
  PutRaw(HKEY_LOCAL_MACHINE, kUserPath, "Machine", "C:\\Sonavo\\DB\\");
  PutRaw(HKEY_LOCAL_MACHINE, settings::kSuiteKeyPath, kRootValue, "root");
  char buffer[32];
  check(settings::ReadRegString(1, kSub, "Machine", buffer, sizeof buffer) == 1 &&
            strcmp(buffer, "C:\\Sonavo\\DB\\") == 0,
        "root 1 reads HKEY_LOCAL_MACHINE");
  check(settings::ReadRegString(2, kSub, "Machine", buffer, sizeof buffer) == 1, "any other non-zero root too");
  check(settings::ReadRegString(0, kSub, "Machine", buffer, sizeof buffer) == 0, "root 0 does not");
  check(settings::ReadMachineRegValue(kUserPath.c_str(), "Machine") == "C:\\Sonavo\\DB\\", "ReadMachineRegValue");
  check(settings::ReadMachineRegValue(kUserPath.c_str(), "Name").empty(), "a value of the user only is empty");
  memset(buffer, 'z', sizeof buffer);
  check(settings::ReadRegValue(1, nullptr, kRootValue, buffer, sizeof buffer) == 1 && strcmp(buffer, "root") == 0,
        "ReadRegValue without subkey reads the tree's own key");
  memset(buffer, 'z', sizeof buffer);
  check(settings::ReadRegValue(1, nullptr, "NoSuchValue", buffer, sizeof buffer) == 0 && buffer[0] == 0 &&
            buffer[sizeof buffer - 1] == 0,
        "ReadRegValue clears the buffer first");
}

void TestVoice() {
  wtest::report().group = "voice";
  RegDeleteTreeA(HKEY_CURRENT_USER, settings::kVoiceKeyPath);
  int s = -1, v = -1, r = -1, p = -1, n = -1;
  settings::LoadVoiceSettings(&s, &v, &r, &p, &n);
  check(s == 0 && v == 100 && r == 100 && p == 100 && n == 1, "a new user gets 0,100,100,100,1 (%d,%d,%d,%d,%d)", s,
        v, r, p, n);
  check(!KeyExists(HKEY_CURRENT_USER, settings::kVoiceKeyPath), "and nothing is written");

  check(settings::SaveVoiceSettings(1, 120, 90, 110, 3) == 1, "SaveVoiceSettings creates the key and writes");
  DWORD type = 0;
  std::wstring data;
  check(RawValue(HKEY_CURRENT_USER, settings::kVoiceKeyPath, "VoiceVolume", type, data) && type == REG_SZ &&
            data == L"120",
        "the volume as decimal REG_SZ text");
  settings::LoadVoiceSettings(&s, &v, &r, &p, &n);
  check(s == 1 && v == 120 && r == 90 && p == 110 && n == 3, "read back (%d,%d,%d,%d,%d)", s, v, r, p, n);
  s = v = r = p = n = -1;
  settings::player::LoadVoiceSettings(&s, &v, &r, &p, &n);
  check(s == 1 && v == 120 && r == 90 && p == 110 && n == 3, "the player's reader too");
  n = -1;
  settings::dictionary::LoadVoiceSettings("dictionary", &s, &v, &r, &p);
  check(s == 1 && v == 120 && r == 90 && p == 110 && n == -1, "the dictionary's reader: four values");

  PutRaw(HKEY_CURRENT_USER, settings::kVoiceKeyPath, "VoiceRate", "fast");
  PutRaw(HKEY_CURRENT_USER, settings::kVoiceKeyPath, "VoicePitch", "123456789012");
  settings::LoadVoiceSettings(&s, &v, &r, &p, &n);
  check(r == 0, "a value that is not a number gives 0 (%d)", r);
  check(p == 100, "a value longer than 11 characters takes its default (%d)", p);
}

void WriteFile(const std::string& path, const std::string& text) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return;
  fwrite(text.data(), 1, text.size(), f);
  fclose(f);
}

void TestFonts() {
  wtest::report().group = "fonts";
  char dir[MAX_PATH];
  GetWindowsDirectoryA(dir, MAX_PATH);
  const std::string ini = std::string(dir) + "\\Dalmok.ini";
  DeleteFileA(ini.c_str());

  LOGFONTA lf;
  memset(&lf, 0x55, sizeof lf);
  settings::LoadFontSettings(&lf, settings::kFontGm);
  LOGFONTA expected = {};
  expected.lfHeight = -21;
  expected.lfWeight = 400;
  expected.lfCharSet = 128;
  expected.lfPitchAndFamily = 1;
  strcpy(expected.lfFaceName, "\x82\x66\x82\x6C\x8A\xD8\x8D\x91\x96\xBE\x92\xA9");  // ＧＭ韓国明朝
  check(memcmp(&lf, &expected, sizeof lf) == 0, "without the file the GM record takes the defaults");

  std::string dbcs = "ab";
  for (int i = 0; i < 16; ++i) dbcs += "\x96\xBE";  // 明; the 15th lies on bytes 30 and 31
  WriteFile(ini, "[KoreanFontKS]\r\nHeight=-16\r\nWeight=700\r\nFaceName=" + std::string(40, 'K') +
                     "\r\nPitchAndFamily=18\r\n[JapaneseFont]\r\nFaceName=" + dbcs + "\r\nCharSet=1\r\n");
  settings::LoadFontSettings(&lf, settings::kFontKs);
  check(lf.lfHeight == -16 && lf.lfWeight == 700 && lf.lfCharSet == 129 && lf.lfPitchAndFamily == 18,
        "KS record from the file (%ld, %ld, %u, %u)", lf.lfHeight, lf.lfWeight, lf.lfCharSet, lf.lfPitchAndFamily);
  check(std::string(lf.lfFaceName) == std::string(31, 'K'), "a face of 40 characters is cut to 31");
  settings::LoadFontSettings(&lf, settings::kFontJapanese);
  check(std::string(lf.lfFaceName) == dbcs.substr(0, 30), "a double-byte face is cut before the character that would split");
  check(lf.lfCharSet == 1 && lf.lfHeight == -21 && lf.lfWeight == 400, "the rest of the Japanese record");
  settings::LoadFontSettings(&lf, settings::kFontGm);
  check(memcmp(&lf, &expected, sizeof lf) == 0, "a missing section takes the defaults");
  DeleteFileA(ini.c_str());
}

}  // namespace

int main() {
  CleanUp();
  TestUserValues();
  TestMachineValues();
  TestVoice();
  TestFonts();
  CleanUp();
  return wtest::finish();
}

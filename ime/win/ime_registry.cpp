// Registry settings of the input method: "Software\VALDRIMO\GeulmaruV6" plus
// the edition's key (the first two characters of the file name) and a subkey,
// read from HKEY_CURRENT_USER with HKEY_LOCAL_MACHINE as the fallback.
#include <cctype>
#include <cstdlib>

#include "ime_state.h"

namespace ime {

const char kSuiteKey[] = "Software\\VALDRIMO\\GeulmaruV6";

bool ReadValue(HKEY root, const std::string& path, const char* value, std::string& out) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  char buffer[260];
  DWORD size = sizeof buffer - 1;
  DWORD type = 0;
  LONG r = RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (r != ERROR_SUCCESS) return false;
  buffer[size < sizeof buffer ? size : sizeof buffer - 1] = 0;  // always terminated
  out = buffer;
  return true;
}

std::string ReadRegistryString(const ImeModule& m, const char* subkey, const char* value, const char* fallback) {
  std::string path = std::string(kSuiteKey) + "\\" + m.prefix + "\\" + subkey;
  std::string out;
  if (ReadValue(HKEY_CURRENT_USER, path, value, out) || ReadValue(HKEY_LOCAL_MACHINE, path, value, out)) return out;
  return fallback ? fallback : "";
}

namespace {

int ReadRegistryInt(const ImeModule& m, const char* subkey, const char* value, int fallback) {
  std::string s = ReadRegistryString(m, subkey, value, "");
  if (s.empty()) return fallback;
  // Leading decimal digits; no sign, no digit gives 0.
  int n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

void LoadEngineSettings(ImeModule& m) {
  ImeSettings& s = m.settings;
  s.koreanCode = EditionKoreanCode(m.fileName);

  std::string input = ReadRegistryString(m, "Modes", "HanglInput", "K");
  if (!input.empty() && input[0] == 'K') {
    s.inputMode = input.size() >= 3 && input[2] == '3' ? 2 : 1;
  } else {
    s.inputMode = 0;
  }

  std::string keyboard = ReadRegistryString(m, "Modes", "Keyboard", "106");
  s.keyboardType = keyboard == "98" ? 1 : keyboard == "101" ? 2 : 0;

  std::string size = ReadRegistryString(m, "Modes", "InputSize", "SBCS");
  s.conversionMode = !size.empty() && size[0] == 'S' ? kConvNative : kConvNative | kConvFullShape;

  std::string indirect = ReadRegistryString(m, "Modes", "IndirectMode", "No");
  s.indirectMode = !indirect.empty() && indirect[0] == 'Y';
  std::string back = ReadRegistryString(m, "Modes", "JisoTaniBack", "Yes");
  s.jisoTaniBack = !back.empty() && back[0] == 'Y';

  s.interfaceCodePage = 0;
  if (s.koreanCode == 1) {
    std::string iface = ReadRegistryString(m, "Modes", "Interface", "");
    s.interfaceCodePage = !iface.empty() && (iface[0] == 'A' || iface[0] == 'a') ? 0 : 949;
    s.mikakuBytes = ReadRegistryInt(m, "Modes", "Mikaku", 1) * 2;
  }

  std::string face = s.koreanCode == 1 ? ReadRegistryString(m, "Font", "KS_FaceName", "KS Mincho")
                                       : ReadRegistryString(m, "Font", "GM_FaceName", "\x82\x66\x82\x6c\x8a\xd8\x8d\x91\x96\xbe\x92\xa9");
  m.koreanFace = face.substr(0, 31);
}

bool LoadReadingTable(ImeModule& m) {
  HRSRC res = FindResourceA(m.instance, ReadingTableName(m.settings.inputMode), "TEXT");
  if (!res) return false;
  HGLOBAL handle = LoadResource(m.instance, res);
  if (!handle) return false;
  const void* data = LockResource(handle);
  DWORD size = SizeofResource(m.instance, res);
  return data && m.readingTable.Load(static_cast<const uint8_t*>(data), size, m.settings.inputMode);
}

}  // namespace ime

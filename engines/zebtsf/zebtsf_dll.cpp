// "ZebTsfName.dll": the names of the text services (TSF text input
// processors) installed for a language, as the system's text-service
// registry lists them: HKEY_LOCAL_MACHINE "SOFTWARE\Microsoft\CTF\TIP\{clsid}
// \LanguageProfile\0x0000LLLL\{profile}" with its "Description".
//
//   int GetTsfName(LANGID language, wchar_t* name, int units)
// returns how many profiles of that language exist (0 when none) and puts
// the first one's description (or its class id when it has none) into name,
// cut to units - 1 units and NUL-terminated.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

std::wstring SubkeyName(HKEY key, DWORD index) {
  wchar_t name[256];
  DWORD size = 256;
  if (RegEnumKeyExW(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return {};
  return std::wstring(name, size);
}

std::wstring Description(HKEY profile) {
  wchar_t text[256]{};
  DWORD size = sizeof text - sizeof(wchar_t), type = 0;
  if (RegQueryValueExW(profile, L"Description", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return {};
  }
  return text;
}

}  // namespace

extern "C" int WINAPI GetTsfName(LANGID language, wchar_t* name, int units) {
  if (name != nullptr && units > 0) name[0] = 0;
  HKEY tips = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\CTF\\TIP", 0, KEY_READ, &tips) != ERROR_SUCCESS) return 0;
  wchar_t languageKey[32];
  std::swprintf(languageKey, 32, L"LanguageProfile\\0x%08x", static_cast<unsigned>(language));
  int count = 0;
  for (DWORD t = 0;; ++t) {
    const std::wstring tip = SubkeyName(tips, t);
    if (tip.empty()) break;
    HKEY profiles = nullptr;
    if (RegOpenKeyExW(tips, (tip + L"\\" + languageKey).c_str(), 0, KEY_READ, &profiles) != ERROR_SUCCESS) continue;
    for (DWORD p = 0;; ++p) {
      const std::wstring profile = SubkeyName(profiles, p);
      if (profile.empty()) break;
      if (count++ == 0 && name != nullptr && units > 0) {
        HKEY key = nullptr;
        std::wstring text;
        if (RegOpenKeyExW(profiles, profile.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
          text = Description(key);
          RegCloseKey(key);
        }
        if (text.empty()) text = tip;
        const size_t n = std::min<size_t>(text.size(), static_cast<size_t>(units - 1));
        std::wmemcpy(name, text.data(), n);
        name[n] = 0;
      }
    }
    RegCloseKey(profiles);
  }
  RegCloseKey(tips);
  return count;
}

// Setting up the input method for a Windows test program: its registry
// values (the edition's key under HKCU "Software\VALDRIMO\GeulmaruV6", the
// suite's "Install Directory" under HKLM) and its copy in the system folder,
// where the input method manager loads input methods from.  Shared by every
// Wine test program and the demo.
#pragma once
#include <windows.h>

#include <string>

namespace imeinst {

constexpr wchar_t kSuiteKey[] = L"Software\\VALDRIMO\\GeulmaruV6";

// The key of an edition ("ZO" or "WA"), or of one of its subkeys.
inline std::wstring EditionKey(const wchar_t* prefix, const wchar_t* subkey = nullptr) {
  std::wstring path = std::wstring(kSuiteKey) + L"\\" + prefix;
  if (subkey && *subkey) path += std::wstring(L"\\") + subkey;
  return path;
}

// Writes one REG_SZ value, creating the key.
inline bool SetString(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& text) {
  HKEY key;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const LONG r = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return r == ERROR_SUCCESS;
}

// Reads one REG_SZ value; "(none)" when it is missing.
inline std::wstring GetString(HKEY root, const std::wstring& path, const wchar_t* name) {
  wchar_t buf[512]{};
  DWORD size = sizeof buf - sizeof(wchar_t);
  if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS) return L"(none)";
  return buf;
}

// One value of an edition's settings for the current user.
inline bool SetImeValue(const wchar_t* prefix, const wchar_t* subkey, const wchar_t* name, const std::wstring& text) {
  return SetString(HKEY_CURRENT_USER, EditionKey(prefix, subkey), name, text);
}

// Removes every setting of an edition for the current user, so that the
// input method starts from its defaults.
inline void ResetImeSettings(const wchar_t* prefix) {
  RegDeleteTreeW(HKEY_CURRENT_USER, EditionKey(prefix).c_str());
}

// The folder that holds the program folder "GeulmaruV6" (HKLM).
inline bool SetInstallDirectory(const std::wstring& folder) {
  return SetString(HKEY_LOCAL_MACHINE, kSuiteKey, L"Install Directory", folder);
}

inline void ClearInstallDirectory() {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSuiteKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    RegDeleteValueW(key, L"Install Directory");
    RegCloseKey(key);
  }
}

// A command-line argument (ANSI code page) as UTF-16.
inline std::wstring Widen(const char* s) {
  const int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
  std::wstring w(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_ACP, 0, s, -1, &w[0], n);
  return w;
}

// Copies a built input method into this process's system folder under the
// given file name (syswow64 for a 32-bit process in a 64-bit prefix, which
// GetSystemDirectory already gives).  Returns the target path, or an empty
// string with the error left in GetLastError.
inline std::wstring CopyIntoSystemFolder(const std::wstring& source, const wchar_t* name) {
  wchar_t sys[MAX_PATH];
  if (!GetSystemDirectoryW(sys, MAX_PATH)) return {};
  const std::wstring target = std::wstring(sys) + L"\\" + name;
  if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) return {};
  return target;
}

}  // namespace imeinst

// The input method in a Windows test program: its registry values (the
// edition's key under HKCU "Software\VALDRIMO\GeulmaruV6", the suite's
// "Install Directory" under HKLM) and the keyboard layout that the suite's
// setup program (tools/installer) registered.  The suite is installed with
// that program before the tests that need it; nothing here copies it.
// Shared by every Wine test program and the demo.
#pragma once
#include <windows.h>
#include <imm.h>

#include <initializer_list>
#include <string>
#include <vector>

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

// The speech engine's data folder (the engine needs one to load): a folder
// of that name in the temporary folder, made and named as the engine's
// "DICPATH". Returns the folder, without its trailing backslash.
inline std::wstring SetSpeechDataFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH]{};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + name;
  CreateDirectoryW(folder.c_str(), nullptr);
  SetString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\VALDRIMO\\Sonavo50", L"DICPATH", folder + L"\\");
  return folder;
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

// The folder that holds the program folder "GeulmaruV6" (HKLM, this
// process's registry view).
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

// Points "Install Directory" elsewhere for a while and puts back what the
// installation wrote (or removes the value when there was none).
class InstallDirectoryOverride {
 public:
  explicit InstallDirectoryOverride(const std::wstring& folder)
      : previous_(GetString(HKEY_LOCAL_MACHINE, kSuiteKey, L"Install Directory")), set_(SetInstallDirectory(folder)) {}
  ~InstallDirectoryOverride() {
    if (previous_ == L"(none)") {
      ClearInstallDirectory();
    } else {
      SetInstallDirectory(previous_);
    }
  }
  InstallDirectoryOverride(const InstallDirectoryOverride&) = delete;
  InstallDirectoryOverride& operator=(const InstallDirectoryOverride&) = delete;
  bool Set() const { return set_; }

 private:
  std::wstring previous_;
  bool set_;
};

// Undoes what a test left behind on every way out of its scope, an early
// return after a failed check included: the editions' user settings are
// removed (so that no DicPathName points at a temporary dictionary that is
// deleted next), then the files are deleted and the folders removed, the
// last one added first.  Declare it before the windows and the loaded input
// method, so that they are gone (and the files closed) when it runs.
class Leftovers {
 public:
  explicit Leftovers(std::initializer_list<const wchar_t*> editions = {}) : editions_(editions) {}
  ~Leftovers() {
    for (const wchar_t* prefix : editions_) ResetImeSettings(prefix);
    for (const std::string& f : files_) DeleteFileA(f.c_str());
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) RemoveDirectoryA(it->c_str());
  }
  Leftovers(const Leftovers&) = delete;
  Leftovers& operator=(const Leftovers&) = delete;
  std::string File(const std::string& path) {
    files_.push_back(path);
    return path;
  }
  std::string Folder(const std::string& path) {
    folders_.push_back(path);
    return path;
  }

 private:
  std::vector<const wchar_t*> editions_;
  std::vector<std::string> files_;
  std::vector<std::string> folders_;
};

// A command-line argument (ANSI code page) as UTF-16.
inline std::wstring Widen(const char* s) {
  const int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
  std::wstring w(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_ACP, 0, s, -1, &w[0], n);
  return w;
}

// One REG_SZ value of an open key; "(none)" when it is missing or of
// another type.
inline std::wstring KeyString(HKEY key, const wchar_t* name) {
  wchar_t text[600] = {};
  DWORD size = sizeof text - sizeof(wchar_t);
  DWORD type = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return L"(none)";
  }
  return text;
}

// The input-method layouts ("E...") of HKLM "...\Keyboard Layouts" with their
// values, in the registry's order.
struct LayoutKey {
  std::wstring key, imeFile, layoutFile, layoutText;
};
constexpr wchar_t kLayoutsKey[] = L"System\\CurrentControlSet\\Control\\Keyboard Layouts";
inline std::vector<LayoutKey> ImeLayoutKeys() {
  std::vector<LayoutKey> out;
  HKEY root;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kLayoutsKey, 0, KEY_READ, &root) != ERROR_SUCCESS) return out;
  for (DWORD i = 0;; ++i) {
    wchar_t name[300];
    DWORD length = 300;
    if (RegEnumKeyExW(root, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (name[0] != L'E' && name[0] != L'e') continue;
    HKEY key;
    if (RegOpenKeyExW(root, name, 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
    out.push_back({name, KeyString(key, L"IME file"), KeyString(key, L"layout file"), KeyString(key, L"layout text")});
    RegCloseKey(key);
  }
  RegCloseKey(root);
  return out;
}

// The keyboard layout registered for an input method file ("ZORBENV6.IME"):
// its layout key names the file without a folder.  (Wine's ImmInstallIME
// adds a layout of its own on every registration, naming the whole path.)
// 0 when the suite is not installed.
inline HKL RegisteredLayout(const wchar_t* fileName) {
  HKL list[256];
  const int n = GetKeyboardLayoutList(256, list);
  for (int i = 0; i < n; ++i) {
    wchar_t file[MAX_PATH] = {};
    if (ImmGetIMEFileNameW(list[i], file, MAX_PATH) && lstrcmpiW(file, fileName) == 0) return list[i];
  }
  return nullptr;
}

}  // namespace imeinst

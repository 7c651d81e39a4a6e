// GeulmaruSetup.exe: installs the suite from the payload folder beside it
// (or the one named by /payload), laid out by the build:
//
//   GeulmaruV6\   the program folder, copied as a whole to
//                 <Install Directory>\GeulmaruV6\ (SYSDIC\ with the dictionaries)
//   System\       the 32-bit input methods, for the 32-bit system folder
//   System64\     the 64-bit input methods, for the system folder of 64-bit Windows
//
// then writes HKLM "Software\VALDRIMO\GeulmaruV6" "Install Directory" (in both
// registry views) and registers the input methods as keyboard layouts with
// SetIME and SetIME2 of the installed Stavel6.dll. Run again, it copies
// only what differs and registers nothing twice. /uninstall removes what it
// added: the layouts of the two input methods, their files, the program
// folder's files of the payload and the "Install Directory" values.
//
// It also copies itself into the program folder, keeps there the list of the
// files it installed ("GeulmaruSetup.lst"), writes Start-menu shortcuts for
// the programs a user starts directly and the suite's entry in the list of
// installed programs, whose command runs that copy with /uninstall. Run so,
// without a payload beside it, /uninstall takes the installed list; it also
// removes the shortcuts, the entry and the copy itself (moved to the
// temporary folder and deleted at the next restart, as a running program
// cannot delete its own file).
//
//   GeulmaruSetup.exe [/dir <Install Directory>] [/payload <folder>] [/uninstall] [/quiet]
//
// /quiet shows no message box; the progress goes to standard output (UTF-8)
// either way. Exit code 0 on success, 1 on failure, 2 for a bad command
// line, 3 when the user cancelled.
#include <windows.h>
#include <imm.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "layout_registration.h"
#include "setup_entries.h"
#include "setup_files.h"
#include "shared_settings_win32.h"

namespace {

constexpr wchar_t kCaption[] = L"GeulmaruV6 セットアップ";
constexpr wchar_t kSuiteKey[] = L"Software\\VALDRIMO\\GeulmaruV6";
constexpr wchar_t kVendorKey[] = L"Software\\VALDRIMO";
constexpr wchar_t kInstallDirectoryValue[] = L"Install Directory";
constexpr wchar_t kProgramFolder[] = L"GeulmaruV6";
constexpr wchar_t kRegistrationLibrary[] = L"Stavel6.dll";
constexpr wchar_t kLayoutsKey[] = L"System\\CurrentControlSet\\Control\\Keyboard Layouts";
// The layout that Wine's input method manager takes for its own input method
// without a registry key: kept free of ours.
constexpr wchar_t kWineOwnLayout[] = L"E0010411";
// The list of installed files, in the program folder.
constexpr wchar_t kInstalledList[] = L"GeulmaruSetup.lst";

constexpr int kExitOk = 0, kExitFailed = 1, kExitUsage = 2, kExitCancelled = 3;

struct Options {
  std::wstring payload;
  std::wstring installDirectory;
  bool uninstall = false;
  bool quiet = false;
};

// ---- output ---------------------------------------------------------------

std::string Utf8(const std::wstring& w) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(n > 0 ? n : 0, '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
  return s;
}

void Say(const std::wstring& line) {
  const std::string s = Utf8(line + L"\n");
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD written = 0;
  if (out != nullptr && out != INVALID_HANDLE_VALUE) WriteFile(out, s.data(), static_cast<DWORD>(s.size()), &written, nullptr);
}

// The first failure, for the closing message box.
std::wstring g_failure;

bool Fail(const std::wstring& what) {
  Say(L"失敗: " + what);
  if (g_failure.empty()) g_failure = what;
  return false;
}

// ---- the system -----------------------------------------------------------

bool IsWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

bool Is64BitWindows() { return sizeof(void*) == 8 || IsWow64(); }

bool IsWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::wstring ExePath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::wstring(path, n);
}

std::wstring ExeFolder() { return setup::ParentFolder(ExePath()); }

// Where 32-bit programs load input methods from.
std::wstring SystemFolder32() {
  wchar_t path[MAX_PATH] = {};
  const UINT n = Is64BitWindows() ? GetSystemWow64DirectoryW(path, MAX_PATH) : GetSystemDirectoryW(path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(path, n) : std::wstring();
}

// Where 64-bit programs load them from, as this process reaches it: a
// 32-bit process sees the real system32 as "Sysnative" (its "system32" is
// redirected to SysWOW64).
std::wstring SystemFolder64() {
  wchar_t path[MAX_PATH] = {};
  if (sizeof(void*) == 8) {
    const UINT n = GetSystemDirectoryW(path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(path, n) : std::wstring();
  }
  const UINT n = GetWindowsDirectoryW(path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? setup::JoinPath(std::wstring(path, n), L"Sysnative") : std::wstring();
}

// The registry views that programs read "Install Directory" from.
std::vector<REGSAM> RegistryViews() {
  if (!Is64BitWindows()) return {0};
  return {KEY_WOW64_32KEY, KEY_WOW64_64KEY};
}

std::wstring ViewName(REGSAM view) {
  return view == KEY_WOW64_32KEY ? L" (32 ビット)" : view == KEY_WOW64_64KEY ? L" (64 ビット)" : L"";
}

std::wstring ReadInstallDirectory(REGSAM view) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSuiteKey, 0, KEY_READ | view, &key) != ERROR_SUCCESS) return {};
  wchar_t text[MAX_PATH + 1] = {};
  DWORD size = sizeof text - sizeof(wchar_t);
  DWORD type = 0;
  const LONG r = RegQueryValueExW(key, kInstallDirectoryValue, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(key);
  return r == ERROR_SUCCESS && type == REG_SZ ? std::wstring(text) : std::wstring();
}

std::wstring DefaultInstallDirectory() {
  wchar_t path[MAX_PATH] = {};
  // In a 32-bit process on 64-bit Windows this is "Program Files (x86)",
  // the place of 32-bit programs.
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return setup::JoinPath(path, L"VALDRIMO");
}

// A folder path without its trailing "\" (but "C:\" stays).
std::wstring Trimmed(std::wstring path) {
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

// ---- the payload ----------------------------------------------------------

std::vector<std::wstring> ImeFileNames() {
  std::vector<std::wstring> names;
  for (imereg::Edition e : {imereg::Edition::Gm, imereg::Edition::Ks}) {
    const std::string n = imereg::InfoOf(e).imeFile;
    names.emplace_back(n.begin(), n.end());
  }
  return names;
}

// The system folders and the payload folders that fill them.
struct SystemTarget {
  std::wstring payloadFolder;  // "System" or "System64"
  std::wstring folder;
};

std::vector<SystemTarget> SystemTargets() {
  std::vector<SystemTarget> targets = {{L"System", SystemFolder32()}};
  if (Is64BitWindows()) targets.push_back({L"System64", SystemFolder64()});
  return targets;
}

bool CheckPayload(const std::wstring& payload) {
  if (!setup::FileExists(setup::JoinPath(setup::JoinPath(payload, kProgramFolder), kRegistrationLibrary))) {
    return Fail(L"インストールするファイルが見つかりません: " + setup::JoinPath(payload, kProgramFolder));
  }
  for (const SystemTarget& t : SystemTargets()) {
    for (const std::wstring& name : ImeFileNames()) {
      const std::wstring path = setup::JoinPath(setup::JoinPath(payload, t.payloadFolder), name);
      if (!setup::FileExists(path)) return Fail(L"インストールするファイルが見つかりません: " + path);
    }
  }
  return true;
}

// ---- install --------------------------------------------------------------

bool Copy(const std::wstring& source, const std::wstring& target) {
  switch (setup::InstallFile(source, target)) {
    case setup::CopyResult::Copied: Say(L"コピー: " + target); return true;
    case setup::CopyResult::Unchanged: Say(L"変更なし: " + target); return true;
    case setup::CopyResult::Replaced: Say(L"置き換え (使用中のものは再起動時に削除): " + target); return true;
    case setup::CopyResult::Failed: break;
  }
  return Fail(target + L" にコピーできません (" + setup::ErrorText(GetLastError()) + L")");
}

bool CopyProgramFolder(const std::wstring& payload, const std::wstring& programFolder) {
  const std::wstring source = setup::JoinPath(payload, kProgramFolder);
  std::vector<std::wstring> files;
  if (!setup::ListFiles(source, files)) return Fail(source + L" を読めません");
  if (!setup::CreateFolders(programFolder)) {
    return Fail(programFolder + L" を作れません (" + setup::ErrorText(GetLastError()) + L")");
  }
  for (const std::wstring& f : files) {
    if (!Copy(setup::JoinPath(source, f), setup::JoinPath(programFolder, f))) return false;
  }
  return true;
}

bool CopyInputMethods(const std::wstring& payload) {
  for (const SystemTarget& t : SystemTargets()) {
    if (t.folder.empty()) return Fail(L"システム フォルダーが分かりません");
    for (const std::wstring& name : ImeFileNames()) {
      if (!Copy(setup::JoinPath(setup::JoinPath(payload, t.payloadFolder), name), setup::JoinPath(t.folder, name))) {
        return false;
      }
    }
  }
  return true;
}

bool WriteInstallDirectory(const std::wstring& folder) {
  for (REGSAM view : RegistryViews()) {
    HKEY key;
    LONG r = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSuiteKey, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key,
                             nullptr);
    if (r == ERROR_SUCCESS) {
      r = RegSetValueExW(key, kInstallDirectoryValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                         static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
      RegCloseKey(key);
    }
    if (r != ERROR_SUCCESS) {
      return Fail(L"HKLM\\" + std::wstring(kSuiteKey) + ViewName(view) + L" に書き込めません (" +
                  setup::ErrorText(static_cast<DWORD>(r)) + L")");
    }
    Say(L"レジストリ: HKLM\\" + std::wstring(kSuiteKey) + ViewName(view) + L" \"Install Directory\" = " + folder);
  }
  return true;
}

// The registration reads the keyboard-layouts key, which Wine's prefixes
// lack; there, the layout number that Wine keeps for its own input method
// is also taken up, so that no layout of ours stands in for it.
bool PrepareLayoutsKey() {
  HKEY key;
  const LONG r = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kLayoutsKey, 0, nullptr, 0, KEY_READ | KEY_CREATE_SUB_KEY,
                                 nullptr, &key, nullptr);
  if (r != ERROR_SUCCESS) {
    return Fail(L"HKLM\\" + std::wstring(kLayoutsKey) + L" を開けません (" + setup::ErrorText(static_cast<DWORD>(r)) +
                L")");
  }
  if (IsWine()) {
    HKEY own;
    DWORD disposition = 0;
    if (RegCreateKeyExW(key, kWineOwnLayout, 0, nullptr, 0, KEY_READ, nullptr, &own, &disposition) == ERROR_SUCCESS) {
      if (disposition == REG_CREATED_NEW_KEY) Say(L"Wine の入力方式のレイアウト " + std::wstring(kWineOwnLayout) + L" を予約");
      RegCloseKey(own);
    }
  }
  RegCloseKey(key);
  return true;
}

using SetImeProc = int(WINAPI*)(DWORD, DWORD, DWORD);

bool RegisterLayouts(const std::wstring& programFolder) {
  if (!PrepareLayoutsKey()) return false;
  const std::wstring library = setup::JoinPath(programFolder, kRegistrationLibrary);
  HMODULE module = LoadLibraryExW(library.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (module == nullptr) return Fail(library + L" を読み込めません (" + setup::ErrorText(GetLastError()) + L")");
  bool ok = true;
  for (const char* name : {"SetIME", "SetIME2"}) {
    const auto proc = reinterpret_cast<SetImeProc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    const std::wstring wname(name, name + lstrlenA(name));
    if (proc == nullptr) {
      ok = Fail(library + L" に " + wname + L" がありません");
      break;
    }
    const int result = proc(0, 0, 0);
    Say(L"キーボード レイアウトの登録: " + wname + L" = " + std::to_wstring(result));
    if (result != 1) {
      ok = Fail(wname + L" が入力方式を登録できませんでした");
      break;
    }
  }
  FreeLibrary(module);
  return ok;
}

// The folder given, else that of an earlier installation, else (when
// installing) the default one.
std::wstring ChosenInstallDirectory(const Options& opt) {
  std::wstring folder = opt.installDirectory;
  for (REGSAM view : RegistryViews()) {
    if (folder.empty()) folder = ReadInstallDirectory(view);
  }
  if (folder.empty() && !opt.uninstall) folder = DefaultInstallDirectory();
  return Trimmed(folder);
}

// ---- the installed list ---------------------------------------------------

// One path a line, relative to the program folder, UTF-16 with its mark.
std::vector<std::wstring> ReadInstalledList(const std::wstring& programFolder, bool& found) {
  std::vector<std::wstring> out;
  const std::wstring path = setup::JoinPath(programFolder, kInstalledList);
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  found = h != INVALID_HANDLE_VALUE;
  if (!found) return out;
  std::wstring text;
  wchar_t buf[4096];
  DWORD n = 0;
  while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n >= sizeof(wchar_t)) text.append(buf, n / sizeof(wchar_t));
  CloseHandle(h);
  if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(start, end - start);
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    // Only paths inside the program folder.
    if (!line.empty() && line.find(L"..") == std::wstring::npos && line.find(L':') == std::wstring::npos &&
        line[0] != L'\\')
      out.push_back(line);
    start = end + 1;
  }
  return out;
}

bool WriteInstalledList(const std::wstring& programFolder, const std::vector<std::wstring>& files) {
  std::wstring text(1, wchar_t(0xFEFF));
  for (const std::wstring& f : files) text += f + L"\r\n";
  bool found = false;
  const std::vector<std::wstring> old = ReadInstalledList(programFolder, found);
  if (found && old == files) return true;  // unchanged: the file is left as it is
  const std::wstring path = setup::JoinPath(programFolder, kInstalledList);
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  const DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  const bool ok = h != INVALID_HANDLE_VALUE && WriteFile(h, text.data(), bytes, &n, nullptr) && n == bytes;
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  if (!ok) return Fail(path + L" を書けません (" + setup::ErrorText(GetLastError()) + L")");
  Say(L"インストールしたファイルの一覧: " + path);
  return true;
}

// The setup program's copy in the program folder, which the uninstall entry
// runs; a setup run from there is that copy already.
bool CopySetupProgram(const std::wstring& programFolder) {
  const std::wstring self = ExePath();
  const std::wstring target = setup::JoinPath(programFolder, setup::kInstalledSetupName);
  if (lstrcmpiW(self.c_str(), target.c_str()) == 0) return true;
  return Copy(self, target);
}

bool WriteEntries(const std::wstring& payload, const std::wstring& programFolder) {
  std::vector<std::wstring> files;
  if (!setup::ListFiles(setup::JoinPath(payload, kProgramFolder), files)) {
    return Fail(setup::JoinPath(payload, kProgramFolder) + L" を読めません");
  }
  files.push_back(setup::kInstalledSetupName);
  files.push_back(kInstalledList);
  const auto say = [](const std::wstring& s) { Say(s); };
  const auto fail = [](const std::wstring& s) { Fail(s); };
  return CopySetupProgram(programFolder) && WriteInstalledList(programFolder, files) &&
         setup::WriteStartMenu(programFolder, say, fail) &&
         setup::WriteUninstallEntry(programFolder, SUITE_VERSION_TEXT, say, fail);
}

bool Install(const Options& opt) {
  const std::wstring folder = ChosenInstallDirectory(opt);
  if (folder.empty()) return Fail(L"インストール先が決まりません");
  const std::wstring programFolder = setup::JoinPath(folder, kProgramFolder);
  Say(L"インストール元: " + opt.payload);
  Say(L"インストール先: " + programFolder);
  return CheckPayload(opt.payload) && CopyProgramFolder(opt.payload, programFolder) && CopyInputMethods(opt.payload) &&
         WriteInstallDirectory(folder) && RegisterLayouts(programFolder) && WriteEntries(opt.payload, programFolder);
}

// ---- uninstall ------------------------------------------------------------

void Remove(const std::wstring& path, bool& ok) {
  switch (setup::RemoveFile(path)) {
    case setup::RemoveResult::Removed: Say(L"削除: " + path); return;
    case setup::RemoveResult::Missing: return;
    case setup::RemoveResult::AtRestart: Say(L"使用中 (再起動時に削除): " + path); return;
    case setup::RemoveResult::Failed: break;
  }
  ok = Fail(path + L" を削除できません (" + setup::ErrorText(GetLastError()) + L")");
}

// The running setup program's own file: moved out of the program folder into
// the temporary folder, where it is deleted at the next restart.
void RemoveRunningSelf(const std::wstring& path, bool& ok) {
  wchar_t temp[MAX_PATH] = {};
  const DWORD n = GetTempPathW(MAX_PATH, temp);
  if (n > 0 && n < MAX_PATH) {
    const std::wstring aside =
        setup::JoinPath(temp, L"GeulmaruSetup-" + std::to_wstring(GetCurrentProcessId()) + L".exe");
    if (MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      MoveFileExW(aside.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
      Say(L"削除 (再起動時に " + aside + L" を削除): " + path);
      return;
    }
  }
  Remove(path, ok);
}

// Unloads the layouts of our input methods from this session, then deletes
// every layout key that names one of their files.
bool RemoveLayouts() {
  const std::vector<std::wstring> names = ImeFileNames();
  HKL layouts[256];
  const int count = GetKeyboardLayoutList(256, layouts);
  for (int i = 0; i < count; ++i) {
    wchar_t file[MAX_PATH] = {};
    ImmGetIMEFileNameW(layouts[i], file, MAX_PATH);
    const std::wstring path(file);
    const std::wstring part = path.substr(path.find_last_of(L"\\/") + 1);
    for (const std::wstring& n : names) {
      if (lstrcmpiW(part.c_str(), n.c_str()) == 0) UnloadKeyboardLayout(layouts[i]);
    }
  }
  HKEY key;
  const LONG open = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kLayoutsKey, 0, KEY_READ, &key);
  if (open == ERROR_FILE_NOT_FOUND) return true;  // no layouts at all
  if (open == ERROR_SUCCESS) RegCloseKey(key);
  bool ok = true;
  for (imereg::Edition e : {imereg::Edition::Gm, imereg::Edition::Ks}) {
    const char* file = imereg::InfoOf(e).imeFile;
    const auto removed = imereg::RemoveLayoutsOfImeFile(settings::SystemSettings(), file);
    if (!removed) {
      ok = Fail(L"キーボード レイアウトを削除できません");
      continue;
    }
    for (const std::string& key : *removed) {
      Say(L"キーボード レイアウトの削除: " + std::wstring(key.begin(), key.end()));
    }
  }
  return ok;
}

// Deletes a key of the suite's tree when nothing is left in it.
void DeleteKeyIfEmpty(const wchar_t* path, REGSAM view) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | view, &key) != ERROR_SUCCESS) return;
  DWORD subkeys = 0, values = 0;
  const bool empty = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                      nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                     subkeys == 0 && values == 0;
  RegCloseKey(key);
  if (empty) RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path, view, 0);
}

bool RemoveInstallDirectoryValues() {
  bool ok = true;
  for (REGSAM view : RegistryViews()) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSuiteKey, 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS) continue;
    const LONG r = RegDeleteValueW(key, kInstallDirectoryValue);
    RegCloseKey(key);
    if (r == ERROR_SUCCESS) {
      Say(L"レジストリの削除: HKLM\\" + std::wstring(kSuiteKey) + ViewName(view) + L" \"Install Directory\"");
    } else if (r != ERROR_FILE_NOT_FOUND) {
      ok = Fail(L"\"Install Directory\" を削除できません (" + setup::ErrorText(static_cast<DWORD>(r)) + L")");
    }
    DeleteKeyIfEmpty(kSuiteKey, view);
    DeleteKeyIfEmpty(kVendorKey, view);
  }
  return ok;
}

bool Uninstall(const Options& opt) {
  const std::wstring folder = ChosenInstallDirectory(opt);
  bool ok = RemoveLayouts();

  for (const SystemTarget& t : SystemTargets()) {
    for (const std::wstring& name : ImeFileNames()) Remove(setup::JoinPath(t.folder, name), ok);
  }

  // The program folder's files that the payload holds; what the user added
  // stays, and so do the folders that are not empty then.
  // The list written at installation, and the payload's files when the
  // payload is at hand (an installation from before the list had none).
  if (!folder.empty()) {
    const std::wstring programFolder = setup::JoinPath(folder, kProgramFolder);
    bool listed = false;
    std::vector<std::wstring> files = ReadInstalledList(programFolder, listed);
    std::vector<std::wstring> payloadFiles;
    const bool fromPayload = setup::ListFiles(setup::JoinPath(opt.payload, kProgramFolder), payloadFiles);
    for (const std::wstring& f : payloadFiles) {
      bool known = false;
      for (const std::wstring& g : files) known = known || lstrcmpiW(f.c_str(), g.c_str()) == 0;
      if (!known) files.push_back(f);
    }
    if (!listed && !fromPayload) {
      ok = Fail(L"インストールしたファイルの一覧 (" + setup::JoinPath(programFolder, kInstalledList) + L") がありません");
    }
    const std::wstring self = ExePath();
    for (const std::wstring& f : files) {
      const std::wstring path = setup::JoinPath(programFolder, f);
      if (lstrcmpiW(path.c_str(), self.c_str()) == 0) {
        RemoveRunningSelf(path, ok);
      } else {
        Remove(path, ok);
      }
      setup::RemoveEmptyFolders(setup::ParentFolder(path), setup::ParentFolder(folder));
    }
  }
  const auto say = [](const std::wstring& s) { Say(s); };
  const auto fail = [](const std::wstring& s) { Fail(s); };
  ok = setup::RemoveStartMenu(say, fail) && ok;
  ok = setup::RemoveUninstallEntry(say, fail) && ok;
  return RemoveInstallDirectoryValues() && ok;
}

// ---- command line ---------------------------------------------------------

bool ParseArgs(Options& opt) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr) return false;
  bool ok = true;
  for (int i = 1; i < argc && ok; ++i) {
    const std::wstring a = argv[i];
    auto is = [&](const wchar_t* name) { return lstrcmpiW(a.c_str(), name) == 0; };
    if ((is(L"/dir") || is(L"-dir")) && i + 1 < argc) {
      opt.installDirectory = argv[++i];
    } else if ((is(L"/payload") || is(L"-payload")) && i + 1 < argc) {
      opt.payload = argv[++i];
    } else if (is(L"/uninstall") || is(L"-uninstall")) {
      opt.uninstall = true;
    } else if (is(L"/quiet") || is(L"-quiet") || is(L"/q")) {
      opt.quiet = true;
    } else {
      ok = false;
    }
  }
  LocalFree(argv);
  if (opt.payload.empty()) opt.payload = ExeFolder();
  opt.payload = Trimmed(opt.payload);
  return ok;
}

constexpr wchar_t kUsage[] =
    L"使い方: GeulmaruSetup.exe [/dir <インストール先>] [/payload <フォルダー>] [/uninstall] [/quiet]";

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  Options opt;
  if (!ParseArgs(opt)) {
    Say(kUsage);
    if (!opt.quiet) MessageBoxW(nullptr, kUsage, kCaption, MB_OK | MB_ICONINFORMATION);
    return kExitUsage;
  }
  if (!opt.quiet) {
    const std::wstring folder = ChosenInstallDirectory(opt);
    const std::wstring place = folder.empty() ? L"" : L"\n\n" + setup::JoinPath(folder, kProgramFolder);
    const std::wstring question = (opt.uninstall ? L"GeulmaruV6 をアンインストールします。よろしいですか?"
                                                 : L"GeulmaruV6 をインストールします。よろしいですか?") +
                                  place;
    if (MessageBoxW(nullptr, question.c_str(), kCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return kExitCancelled;
  }
  const DWORD start = GetTickCount();
  const bool ok = opt.uninstall ? Uninstall(opt) : Install(opt);
  const std::wstring verb = opt.uninstall ? L"アンインストール" : L"インストール";
  Say(verb + (ok ? L"完了 (" : L"失敗 (") + std::to_wstring(GetTickCount() - start) + L" ms)");
  if (!opt.quiet) {
    const std::wstring text = ok ? L"GeulmaruV6 の" + verb + L"が完了しました。"
                                 : L"GeulmaruV6 の" + verb + L"に失敗しました。\n\n" + g_failure;
    MessageBoxW(nullptr, text.c_str(), kCaption, MB_OK | (ok ? MB_ICONINFORMATION : MB_ICONERROR));
  }
  return ok ? kExitOk : kExitFailed;
}

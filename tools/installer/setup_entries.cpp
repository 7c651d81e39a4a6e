#include "setup_entries.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "setup_files.h"

namespace setup {

const std::vector<StartMenuProgram>& StartMenuPrograms() {
  static const std::vector<StartMenuProgram> programs = {
      {L"BRISELV6.EXE", L"ブリセル ハングル テキスト エディタ"},
      {L"Ombrel.exe", L"ミルダ韓日・日韓辞典"},
      {L"Tessaly.exe", L"ハングルファイルプレーヤー"},
      {L"Ferlin2.exe", L"フェルリン２ 例文リスニング"},
      {L"Belvo4.exe", L"フォント環境設定"},
  };
  return programs;
}

namespace {

std::wstring KnownFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

std::wstring LinkPath(const std::wstring& folder, const StartMenuProgram& p) {
  return JoinPath(folder, std::wstring(p.name) + L".lnk");
}

// COM for the shortcut objects, for the length of one call.
class ComScope {
 public:
  ComScope() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (ok_) CoUninitialize();
  }

 private:
  bool ok_;
};

HRESULT WriteLink(const std::wstring& link, const std::wstring& target, const std::wstring& folder,
                  const std::wstring& description) {
  IShellLinkW* shell = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shell));
  if (FAILED(hr)) return hr;
  shell->SetPath(target.c_str());
  shell->SetWorkingDirectory(folder.c_str());
  shell->SetDescription(description.c_str());
  shell->SetIconLocation(target.c_str(), 0);
  IPersistFile* file = nullptr;
  hr = shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (SUCCEEDED(hr)) {
    hr = file->Save(link.c_str(), TRUE);
    file->Release();
  }
  shell->Release();
  return hr;
}

std::wstring HresultText(HRESULT hr) { return ErrorText(static_cast<DWORD>(hr)); }

}  // namespace

std::wstring StartMenuFolder() {
  // All users when this process may write there (an administrator's setup),
  // else the user's own Programs folder.
  const std::wstring common = KnownFolder(CSIDL_COMMON_PROGRAMS);
  if (!common.empty()) {
    const std::wstring folder = JoinPath(common, kStartMenuFolder);
    if (CreateFolders(folder)) return folder;
  }
  const std::wstring user = KnownFolder(CSIDL_PROGRAMS);
  return user.empty() ? std::wstring() : JoinPath(user, kStartMenuFolder);
}

std::vector<std::wstring> StartMenuFolderCandidates() {
  std::vector<std::wstring> out;
  for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
    const std::wstring base = KnownFolder(csidl);
    if (!base.empty()) out.push_back(JoinPath(base, kStartMenuFolder));
  }
  return out;
}

bool WriteStartMenu(const std::wstring& programFolder, const Report& say, const Report& fail) {
  const std::wstring folder = StartMenuFolder();
  if (folder.empty() || !CreateFolders(folder)) {
    fail(L"スタート メニューのフォルダーを作れません: " + folder);
    return false;
  }
  ComScope com;
  for (const StartMenuProgram& p : StartMenuPrograms()) {
    const std::wstring target = JoinPath(programFolder, p.file);
    const std::wstring link = LinkPath(folder, p);
    if (!FileExists(target)) {
      if (DeleteFileW(link.c_str())) say(L"スタート メニューの削除: " + link);
      continue;
    }
    const HRESULT hr = WriteLink(link, target, programFolder, p.name);
    if (FAILED(hr)) {
      fail(link + L" を作れません (" + HresultText(hr) + L")");
      return false;
    }
    say(L"スタート メニュー: " + link + L" -> " + target);
  }
  return true;
}

bool RemoveStartMenu(const Report& say, const Report& fail) {
  bool ok = true;
  for (const std::wstring& folder : StartMenuFolderCandidates()) {
    if (!FolderExists(folder)) continue;
    for (const StartMenuProgram& p : StartMenuPrograms()) {
      const std::wstring link = LinkPath(folder, p);
      if (DeleteFileW(link.c_str())) {
        say(L"スタート メニューの削除: " + link);
      } else if (GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_PATH_NOT_FOUND) {
        fail(link + L" を削除できません (" + ErrorText(GetLastError()) + L")");
        ok = false;
      }
    }
    if (RemoveDirectoryW(folder.c_str())) say(L"スタート メニューの削除: " + folder);
  }
  return ok;
}

namespace {

std::wstring UninstallKeyPath() { return std::wstring(kUninstallRoot) + L"\\" + kUninstallKeyName; }

LONG SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

LONG SetNumber(HKEY key, const wchar_t* name, DWORD value) {
  return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

}  // namespace

bool WriteUninstallEntry(const std::wstring& programFolder, const std::wstring& version, const Report& say,
                         const Report& fail) {
  HKEY key;
  LONG r = RegCreateKeyExW(HKEY_LOCAL_MACHINE, UninstallKeyPath().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                           nullptr);
  if (r == ERROR_SUCCESS) {
    const std::wstring setupPath = JoinPath(programFolder, kInstalledSetupName);
    const LONG results[] = {
        SetString(key, L"DisplayName", L"GeulmaruV6 ハングル入力システム"),
        SetString(key, L"UninstallString", L"\"" + setupPath + L"\" /uninstall"),
        SetString(key, L"QuietUninstallString", L"\"" + setupPath + L"\" /uninstall /quiet"),
        SetString(key, L"DisplayVersion", version),
        SetString(key, L"Publisher", L"VALDRIMO"),
        SetString(key, L"InstallLocation", programFolder),
        SetString(key, L"DisplayIcon", setupPath),
        SetNumber(key, L"NoModify", 1),
        SetNumber(key, L"NoRepair", 1),
    };
    RegCloseKey(key);
    for (LONG one : results) {
      if (one != ERROR_SUCCESS && r == ERROR_SUCCESS) r = one;
    }
  }
  if (r != ERROR_SUCCESS) {
    fail(L"HKLM\\" + UninstallKeyPath() + L" に書き込めません (" + ErrorText(static_cast<DWORD>(r)) + L")");
    return false;
  }
  say(L"レジストリ: HKLM\\" + UninstallKeyPath());
  return true;
}

bool RemoveUninstallEntry(const Report& say, const Report& fail) {
  const LONG r = RegDeleteKeyW(HKEY_LOCAL_MACHINE, UninstallKeyPath().c_str());
  if (r == ERROR_SUCCESS) {
    say(L"レジストリの削除: HKLM\\" + UninstallKeyPath());
    return true;
  }
  if (r == ERROR_FILE_NOT_FOUND) return true;
  fail(L"HKLM\\" + UninstallKeyPath() + L" を削除できません (" + ErrorText(static_cast<DWORD>(r)) + L")");
  return false;
}

}  // namespace setup

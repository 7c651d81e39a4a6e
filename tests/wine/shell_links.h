// The suite's Start-menu folder and its shortcuts, read through the shell's
// own link object (the caller has COM initialised).
#pragma once
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

namespace shlinks {

// The suite's folder below the Programs folder of that CSIDL (all users or
// the user's own).
inline std::wstring ProgramsFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return L"";
  return std::wstring(path) + L"\\GeulmaruV6";
}

// The shortcut's target and working folder.
struct Link {
  std::wstring target = L"(unreadable)";
  std::wstring folder;
};

inline Link ReadLink(const std::wstring& link) {
  Link out;
  IShellLinkW* shell = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&shell)))) {
    out.target = L"(no link object)";
    return out;
  }
  IPersistFile* file = nullptr;
  if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
        SUCCEEDED(shell->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH))) {
      out.target = path;
      wchar_t dir[MAX_PATH] = {};
      if (SUCCEEDED(shell->GetWorkingDirectory(dir, MAX_PATH))) out.folder = dir;
    }
    file->Release();
  }
  shell->Release();
  return out;
}

inline std::wstring LinkTarget(const std::wstring& link) { return ReadLink(link).target; }

}  // namespace shlinks

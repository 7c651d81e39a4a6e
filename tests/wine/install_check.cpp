// What the suite's setup program leaves in a prefix, checked from outside it
// with the registry and file functions:
//
//   install_check.exe installed <Install Directory> <package> <state file>
//     exactly one layout key naming "WARBENV6.IME" (locale 0411) and one
//     naming "ZORBENV6.IME" (0412), with their values; layout keys that name
//     the files with a folder are Wine's own ImmInstallIME's and are only
//     counted; "Install Directory" in both registry views; every file of the
//     package in its place with the same bytes. The state (our keys, the
//     values, the files with their sizes and times) is written to the state
//     file, for comparing two runs.
//   install_check.exe removed <Install Directory> <package>
//     no layout key names either file in any way, no "Install Directory",
//     none of the package's files left.
#include <windows.h>
#include <imm.h>

#include <cstdio>
#include <string>
#include <vector>

#include "check.h"
#include "ime_install.h"

using wtest::check;
using wtest::note;

namespace {

using imeinst::LayoutKey;

std::wstring FilePart(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

bool Same(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

std::string Narrow(const std::wstring& w) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string s(n > 1 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, &s[0], n, nullptr, nullptr);
  return s;
}

std::wstring InstallDirectory(REGSAM view) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, imeinst::kSuiteKey, 0, KEY_READ | view, &key) != ERROR_SUCCESS)
    return L"(none)";
  const std::wstring v = imeinst::KeyString(key, L"Install Directory");
  RegCloseKey(key);
  return v;
}

std::vector<std::wstring> FilesBelow(const std::wstring& folder, const std::wstring& relative = L"") {
  std::vector<std::wstring> out;
  WIN32_FIND_DATAW f;
  HANDLE h = FindFirstFileW((folder + L"\\" + relative + L"*").c_str(), &f);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    const std::wstring name = f.cFileName;
    if (name == L"." || name == L"..") continue;
    if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      for (const std::wstring& sub : FilesBelow(folder, relative + name + L"\\")) out.push_back(sub);
    } else {
      out.push_back(relative + name);
    }
  } while (FindNextFileW(h, &f));
  FindClose(h);
  return out;
}

std::string ReadAll(const std::wstring& path, bool& ok) {
  std::string data;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  ok = h != INVALID_HANDLE_VALUE;
  if (!ok) return data;
  char buf[65536];
  DWORD n = 0;
  while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) data.append(buf, n);
  CloseHandle(h);
  return data;
}

// Size and last write time of a file, for the state.
std::string Stamp(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d)) return "missing";
  char text[64];
  std::snprintf(text, sizeof text, "%lu bytes, time %08lx%08lx", d.nFileSizeLow, d.ftLastWriteTime.dwHighDateTime,
                d.ftLastWriteTime.dwLowDateTime);
  return text;
}

// Where each package file goes: (source, target).
std::vector<std::pair<std::wstring, std::wstring>> Placements(const std::wstring& installDirectory,
                                                              const std::wstring& package) {
  std::vector<std::pair<std::wstring, std::wstring>> out;
  for (const std::wstring& f : FilesBelow(package + L"\\GeulmaruV6"))
    out.emplace_back(package + L"\\GeulmaruV6\\" + f, installDirectory + L"\\GeulmaruV6\\" + f);
  wchar_t sys32[MAX_PATH] = {}, windows[MAX_PATH] = {};
  GetSystemWow64DirectoryW(sys32, MAX_PATH);
  GetWindowsDirectoryW(windows, MAX_PATH);
  for (const wchar_t* name : {L"ZORBENV6.IME", L"WARBENV6.IME"}) {
    out.emplace_back(package + L"\\System\\" + name, std::wstring(sys32) + L"\\" + name);
    out.emplace_back(package + L"\\System64\\" + name, std::wstring(windows) + L"\\Sysnative\\" + name);
  }
  return out;
}

int Installed(const std::wstring& installDirectory, const std::wstring& package, const std::wstring& stateFile) {
  std::string state;
  struct Edition {
    const wchar_t *file, *locale, *layoutFile, *text;
  };
  const Edition editions[] = {{L"WARBENV6.IME", L"0411", L"kbdjpn.dll", L"GeulmaruV6(GM)"},
                              {L"ZORBENV6.IME", L"0412", L"kbdkor.dll", L"GeulmaruV6(KS)"}};
  const std::vector<LayoutKey> layouts = imeinst::ImeLayoutKeys();
  for (const Edition& e : editions) {
    int ours = 0, wines = 0;
    for (const LayoutKey& l : layouts) {
      if (Same(l.imeFile, e.file)) {
        ++ours;
        check(l.key.size() == 8 && Same(l.key.substr(4), e.locale), "layout %s of %s is for locale %s",
              Narrow(l.key).c_str(), Narrow(e.file).c_str(), Narrow(e.locale).c_str());
        check(l.layoutFile == e.layoutFile, "%s: layout file %s", Narrow(l.key).c_str(), Narrow(l.layoutFile).c_str());
        check(l.layoutText == e.text, "%s: layout text %s", Narrow(l.key).c_str(), Narrow(l.layoutText).c_str());
        state += Narrow(l.key + L" " + l.imeFile + L" " + l.layoutFile + L" " + l.layoutText) + "\n";
      } else if (Same(FilePart(l.imeFile), e.file)) {
        ++wines;
      }
    }
    check(ours == 1, "exactly one layout names %s: %d", Narrow(e.file).c_str(), ours);
    note("%d layouts of Wine's ImmInstallIME name %s with a folder", wines, Narrow(e.file).c_str());
  }

  // The layouts are offered, and the registered one gives its file name.
  for (const Edition& e : editions) {
    check(imeinst::RegisteredLayout(e.file) != nullptr, "%s is among the keyboard layouts", Narrow(e.file).c_str());
  }

  for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    const std::wstring v = InstallDirectory(view);
    check(v == installDirectory, "Install Directory (%s view): %s", view == KEY_WOW64_32KEY ? "32-bit" : "64-bit",
          Narrow(v).c_str());
    state += "Install Directory " + Narrow(v) + "\n";
  }

  const auto placements = Placements(installDirectory, package);
  check(placements.size() >= 7, "the package holds %u files to place", static_cast<unsigned>(placements.size()));
  for (const auto& [source, target] : placements) {
    bool sourceOk = false, targetOk = false;
    const std::string a = ReadAll(source, sourceOk), b = ReadAll(target, targetOk);
    check(sourceOk && targetOk && a == b, "%s in place with the package's bytes", Narrow(target).c_str());
    state += Narrow(target) + ": " + Stamp(target) + "\n";
  }

  HANDLE f = CreateFileW(stateFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  check(f != INVALID_HANDLE_VALUE && WriteFile(f, state.data(), static_cast<DWORD>(state.size()), &n, nullptr),
        "state written");
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  return wtest::finish();
}

int Removed(const std::wstring& installDirectory, const std::wstring& package) {
  for (const LayoutKey& l : imeinst::ImeLayoutKeys()) {
    const std::wstring part = FilePart(l.imeFile);
    check(!Same(part, L"WARBENV6.IME") && !Same(part, L"ZORBENV6.IME"), "layout %s (%s) is not ours",
          Narrow(l.key).c_str(), Narrow(l.imeFile).c_str());
  }
  for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    check(InstallDirectory(view) == L"(none)", "no Install Directory (%s view)",
          view == KEY_WOW64_32KEY ? "32-bit" : "64-bit");
  }
  for (const auto& placement : Placements(installDirectory, package)) {
    const std::wstring& target = placement.second;
    check(GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES, "%s removed", Narrow(target).c_str());
  }
  check(GetFileAttributesW((installDirectory + L"\\GeulmaruV6").c_str()) == INVALID_FILE_ATTRIBUTES,
        "the program folder removed");
  return wtest::finish();
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "install";
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "installed" && argc == 5)
    return Installed(imeinst::Widen(argv[2]), imeinst::Widen(argv[3]), imeinst::Widen(argv[4]));
  if (mode == "removed" && argc == 4) return Removed(imeinst::Widen(argv[2]), imeinst::Widen(argv[3]));
  std::printf("usage: install_check installed <Install Directory> <package> <state file>\n"
              "       install_check removed <Install Directory> <package>\n");
  return 2;
}

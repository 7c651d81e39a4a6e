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
//     file, for comparing two runs. The setup program's copy in the program
//     folder; the entry in the list of installed programs (HKLM key
//     "Software\Microsoft\Windows\CurrentVersion\Uninstall\GeulmaruV6")
//     whose command runs that copy with /uninstall; in the all-users Start menu's folder
//     "GeulmaruV6" one shortcut to each program a user starts (the editor,
//     the dictionary, the text player, the listening program, the font
//     setup) that the package holds, and none else.
//   install_check.exe removed <Install Directory> <package>
//     no layout key names either file in any way, no "Install Directory",
//     none of the package's files left, nothing in the program folder but
//     the files the programs wrote for the user (the dictionary's history
//     and word book), and no program folder when there are none; no
//     uninstall entry, no Start-menu folder of the suite (all users' or the
//     user's).
#include <windows.h>
#include <imm.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "check.h"
#include "ime_install.h"
#include "shell_links.h"

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

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\GeulmaruV6";
// The programs a user starts directly, by their file names.
constexpr const wchar_t* kStartedPrograms[] = {L"BRISELV6.EXE", L"Ombrel.exe", L"Tessaly.exe", L"Ferlin2.exe",
                                               L"Belvo4.exe"};

using shlinks::LinkTarget;
using shlinks::ProgramsFolder;

void CheckEntries(const std::wstring& installDirectory, const std::wstring& package, std::string& state) {
  const std::wstring programFolder = installDirectory + L"\\GeulmaruV6";
  const std::wstring setupCopy = programFolder + L"\\GeulmaruSetup.exe";
  bool a = false, b = false;
  check(ReadAll(package + L"\\GeulmaruSetup.exe", a) == ReadAll(setupCopy, b) && a && b,
        "the setup program's copy %s in place", Narrow(setupCopy).c_str());

  HKEY key;
  const bool entry = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
  check(entry, "the uninstall entry HKLM\\%s exists", Narrow(kUninstallKey).c_str());
  if (entry) {
    const struct {
      const wchar_t* name;
      std::wstring expected;  // empty: any text that is not empty
    } values[] = {
        {L"DisplayName", L""},
        {L"UninstallString", L"\"" + setupCopy + L"\" /uninstall"},
        {L"DisplayVersion", L"6.0"},
        {L"Publisher", L"VALDRIMO"},
        {L"InstallLocation", programFolder},
    };
    for (const auto& v : values) {
      const std::wstring got = imeinst::KeyString(key, v.name);
      if (v.expected.empty()) {
        check(!got.empty(), "uninstall entry %s: \"%s\"", Narrow(v.name).c_str(), Narrow(got).c_str());
      } else {
        check(got == v.expected, "uninstall entry %s: \"%s\" (wanted \"%s\")", Narrow(v.name).c_str(),
              Narrow(got).c_str(), Narrow(v.expected).c_str());
      }
      state += "Uninstall " + Narrow(v.name) + " " + Narrow(got) + "\n";
    }
    RegCloseKey(key);
  }

  // Every shortcut in the suite's Start-menu folder, with its target.
  const std::wstring menu = ProgramsFolder(CSIDL_COMMON_PROGRAMS);
  std::vector<std::wstring> targets;
  for (const std::wstring& f : FilesBelow(menu)) {
    const std::wstring target = LinkTarget(menu + L"\\" + f);
    targets.push_back(target);
    state += "Start menu " + Narrow(f) + " -> " + Narrow(target) + "\n";
  }
  size_t expected = 0;
  for (const wchar_t* program : kStartedPrograms) {
    const bool shipped = GetFileAttributesW((package + L"\\GeulmaruV6\\" + program).c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::wstring installed = programFolder + L"\\" + program;
    int links = 0;
    for (const std::wstring& t : targets) links += Same(t, installed) ? 1 : 0;
    check(links == (shipped ? 1 : 0), "%s: %d Start-menu shortcuts to %s (the package %s it)", Narrow(program).c_str(),
          links, Narrow(installed).c_str(), shipped ? "holds" : "does not hold");
    if (shipped) {
      ++expected;
      check(GetFileAttributesW(installed.c_str()) != INVALID_FILE_ATTRIBUTES, "the shortcut's target %s exists",
            Narrow(installed).c_str());
    }
  }
  check(targets.size() == expected, "%u shortcuts in %s, %u wanted", static_cast<unsigned>(targets.size()),
        Narrow(menu).c_str(), static_cast<unsigned>(expected));
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

  CheckEntries(installDirectory, package, state);

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
  // What the programs wrote for the user as they were used (the
  // dictionary's history and word book) stays, with the folders that hold
  // it; nothing else may.
  const std::wstring programFolder = installDirectory + L"\\GeulmaruV6";
  std::string users, others;
  for (const std::wstring& f : FilesBelow(programFolder)) {
    const bool own = Same(FilePart(f), L"history.dat") || Same(FilePart(f), L"wordbook.dat");
    (own ? users : others) += " " + Narrow(f);
  }
  check(others.empty(), "nothing but the user's own files left in the program folder (%s)",
        others.empty() ? (users.empty() ? "none left" : ("the user's:" + users).c_str()) : ("left:" + others).c_str());
  if (users.empty())
    check(GetFileAttributesW(programFolder.c_str()) == INVALID_FILE_ATTRIBUTES, "the program folder removed");
  HKEY key;
  const bool entry = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
  if (entry) RegCloseKey(key);
  check(!entry, "no uninstall entry HKLM\\%s", Narrow(kUninstallKey).c_str());
  for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
    const std::wstring menu = ProgramsFolder(csidl);
    check(GetFileAttributesW(menu.c_str()) == INVALID_FILE_ATTRIBUTES, "no Start-menu folder %s",
          Narrow(menu).c_str());
  }
  return wtest::finish();
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "install";
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "installed" && argc == 5)
    return Installed(imeinst::Widen(argv[2]), imeinst::Widen(argv[3]), imeinst::Widen(argv[4]));
  if (mode == "removed" && argc == 4) return Removed(imeinst::Widen(argv[2]), imeinst::Widen(argv[3]));
  std::printf("usage: install_check installed <Install Directory> <package> <state file>\n"
              "       install_check removed <Install Directory> <package>\n");
  return 2;
}

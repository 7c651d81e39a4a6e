// Stavel6.dll of this build (32-bit or 64-bit) on the real registry of a
// prefix where the suite is installed: SetIME and SetIME2 are exported by
// name, ignore their arguments, find the layouts that the installation
// registered (no new key of ours; Wine's ImmInstallIME adds one of its own
// per call, which is counted apart), and are not stopped by a foreign
// layout with values longer than a layout name.
//
//   stavel6_test.exe <Stavel6.dll>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "check.h"
#include "ime_install.h"

using wtest::check;
using wtest::note;

namespace {

const wchar_t kForeign[] = L"E0FF0409";

struct Count {
  std::vector<std::wstring> ours;        // layout keys that name the file without a folder
  std::vector<std::wstring> withFolder;  // Wine's own: "key=IME file"
};

Count LayoutsOf(const wchar_t* file) {
  Count c;
  for (const imeinst::LayoutKey& l : imeinst::ImeLayoutKeys()) {
    if (lstrcmpiW(l.imeFile.c_str(), file) == 0) {
      c.ours.push_back(l.key);
    } else if (lstrcmpiW(l.imeFile.substr(l.imeFile.find_last_of(L"\\/") + 1).c_str(), file) == 0) {
      c.withFolder.push_back(l.key + L"=" + l.imeFile);
    }
  }
  return c;
}

bool PutForeignLayout() {
  HKEY key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(imeinst::kLayoutsKey) + L"\\" + kForeign).c_str(), 0, nullptr, 0,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const std::wstring longText(700, L'x');
  const std::wstring file = L"FOREIGN.IME";
  bool ok = RegSetValueExW(key, L"Layout Display Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(longText.c_str()),
                           static_cast<DWORD>((longText.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  ok = ok && RegSetValueExW(key, L"IME file", 0, REG_SZ, reinterpret_cast<const BYTE*>(file.c_str()),
                            static_cast<DWORD>((file.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = sizeof(void*) == 8 ? "win64 Stavel6" : "win32 Stavel6";
  if (argc != 2) {
    std::printf("usage: stavel6_test <Stavel6.dll>\n");
    return 2;
  }
  HMODULE dll = LoadLibraryW(imeinst::Widen(argv[1]).c_str());
  if (!check(dll != nullptr, "Stavel6.dll loads (error %lu)", dll != nullptr ? 0ul : GetLastError()))
    return wtest::finish();
  using SetImeProc = int(WINAPI*)(DWORD, DWORD, DWORD);
  const auto setIme = reinterpret_cast<SetImeProc>(reinterpret_cast<void*>(GetProcAddress(dll, "SetIME")));
  const auto setIme2 = reinterpret_cast<SetImeProc>(reinterpret_cast<void*>(GetProcAddress(dll, "SetIME2")));
  if (!check(setIme != nullptr && setIme2 != nullptr, "SetIME and SetIME2 exported by name")) return wtest::finish();

  const Count gm = LayoutsOf(L"WARBENV6.IME"), ks = LayoutsOf(L"ZORBENV6.IME");
  if (!check(gm.ours.size() == 1 && ks.ours.size() == 1, "the installation registered one layout of each edition"))
    return wtest::finish();

  check(PutForeignLayout(), "a foreign layout with a 700-character value");
  check(setIme(0xFFFFFFFFu, 0, 12345) == 1, "SetIME gives 1 with any arguments");
  check(setIme2(7, 0x80000000u, 0xFFFFFFFFu) == 1, "SetIME2 gives 1 with any arguments (no i8042prt key here)");

  const Count gmAfter = LayoutsOf(L"WARBENV6.IME"), ksAfter = LayoutsOf(L"ZORBENV6.IME");
  check(gmAfter.ours == gm.ours, "no new layout of the GM edition: %ls", gmAfter.ours.empty() ? L"-" : gmAfter.ours[0].c_str());
  check(ksAfter.ours == ks.ours, "no new layout of the KS edition: %ls", ksAfter.ours.empty() ? L"-" : ksAfter.ours[0].c_str());
  // Each call installed the file of the system folder with ImmInstallIMEA,
  // for which Wine makes a layout of its own that names the path.
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  const struct {
    const wchar_t* file;
    const Count &before, &after;
  } editions[] = {{L"WARBENV6.IME", gm, gmAfter}, {L"ZORBENV6.IME", ks, ksAfter}};
  for (const auto& e : editions) {
    std::vector<std::wstring> added;
    for (const std::wstring& k : e.after.withFolder) {
      bool old = false;
      for (const std::wstring& b : e.before.withFolder) old = old || b == k;
      if (!old) added.push_back(k.substr(k.find(L'=') + 1));
    }
    const std::wstring expected = std::wstring(system) + L"\\" + e.file;
    check(added.size() == 1 && lstrcmpiW(added[0].c_str(), expected.c_str()) == 0,
          "ImmInstallIMEA was given %ls (%u new layouts of Wine's, the first naming %ls)", expected.c_str(),
          static_cast<unsigned>(added.size()), added.empty() ? L"-" : added[0].c_str());
  }

  RegDeleteKeyW(HKEY_LOCAL_MACHINE, (std::wstring(imeinst::kLayoutsKey) + L"\\" + kForeign).c_str());
  FreeLibrary(dll);
  return wtest::finish();
}

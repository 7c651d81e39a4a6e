// Stavel6.dll: registers the input method's editions as keyboard layouts
// for a setup program, which copies the .IME files into the system folder
// first. The work is done by the portable registration over the system's
// registry and input method manager.
#include <windows.h>
#include <imm.h>

#include <string>

#include "layout_registration.h"
#include "shared_settings_win32.h"

namespace {

// The major version of Windows NT, kept by IsWindows9x.
DWORD g_majorVersion = 0;

int IsWindows9x() {
  if (GetVersion() & 0x80000000u) return 1;
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExA(&info)) g_majorVersion = info.dwMajorVersion;
#pragma GCC diagnostic pop
  return 0;
}

class SystemImeManager final : public imereg::ImeManager {
 public:
  std::string SystemDirectory() override {
    char path[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryA(path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(path, n) : std::string();
  }
  void InstallIme(const std::string& imePath, const std::string& layoutText) override {
    ImmInstallIMEA(imePath.c_str(), layoutText.c_str());
  }
};

int Register(imereg::Edition edition) {
  imereg::WindowsVersion version;
  version.win9x = IsWindows9x() != 0;
  version.major = g_majorVersion;
  SystemImeManager imm;
  return imereg::RegisterEdition(settings::SystemSettings(), imm, edition, version);
}

}  // namespace

// The GM-code edition for the Japanese locale. The arguments are ignored.
extern "C" __declspec(dllexport) int WINAPI SetIME(DWORD, DWORD, DWORD) { return Register(imereg::Edition::Gm); }

// The KS edition for the Korean locale. The arguments are ignored.
extern "C" __declspec(dllexport) int WINAPI SetIME2(DWORD, DWORD, DWORD) { return Register(imereg::Edition::Ks); }

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

// Process attach and detach on Windows: the platform side of the attach
// steps (protected-mode probe, font enumeration, reading table, display
// font, hot key) and the once-only start on the first call that needs the
// settings, since the loader's lock forbids loading libraries, enumerating
// fonts and showing message boxes inside DLL_PROCESS_ATTACH.
#include <string>
#include <vector>

#include "ime_state.h"
#include "own_layout.h"
#include "settings_sheet.h"

namespace ime {

namespace {

int CALLBACK CollectFont(const LOGFONTA* lf, const TEXTMETRICA*, DWORD type, LPARAM lp) {
  auto* fonts = reinterpret_cast<std::vector<FontFace>*>(lp);
  fonts->push_back({lf->lfFaceName, lf->lfCharSet, (type & TRUETYPE_FONTTYPE) != 0});
  return 1;
}

// What attach and detach, and the settings when they change, do on Windows.
class Win32ModulePlatform final : public AttachPlatform, public SettingsPlatform {
 public:
  explicit Win32ModulePlatform(ImeModule& m) : m_(m) {}

  // A platform without "IEIsProtectedModeProcess" is not protected.
  bool ProbeProtectedMode() override {
    HMODULE lib = LoadLibraryA("ieframe.dll");
    if (!lib) return false;
    using Probe = HRESULT(WINAPI*)(BOOL*);
    auto probe = reinterpret_cast<Probe>(reinterpret_cast<void*>(GetProcAddress(lib, "IEIsProtectedModeProcess")));
    BOOL on = FALSE;
    const bool isProtected = probe && SUCCEEDED(probe(&on)) && on;
    FreeLibrary(lib);
    return isProtected;
  }

  std::vector<FontFace> EnumerateFonts() override { return EnumerateDisplayFonts(); }
  bool LoadReadingTable(int inputMode) override { return SwitchReadingTable(m_, inputMode); }
  void SetGuideLayout(int keyboardType) override { SetGuideKeyboardLayout(keyboardType); }
  void OpenDictionary(const ImeConfig&) override { OpenImeDictionary(m_); }
  void RegisterControlClasses() override { RegisterSettingsControlClasses(m_.instance); }

  void CreateDisplayFont(const ImeConfig& cfg) override {
    if (m_.displayFont) DeleteObject(m_.displayFont);
    m_.displayFont = ime::CreateDisplayFont(cfg);
  }

  void ClearCompanionWindows() override {
    m_.companions.lookup = m_.companions.workbench = m_.companions.pad = 0;
  }

  void LoadCodeTables() override { LoadImeCodeTables(m_); }
  bool KanjiHotKeyIsVk19() override { return ime::KanjiHotKeyIsVk19(); }

  // Settings changed by a page or taken over from another process's sheet.
  void ActivateOwnLayout() override { ActivateOwnKeyboardLayout(); }
  void DestroyCandidateWindow() override {
    if (m_.uiWindow) DestroyCandWindow(m_.uiWindow);
  }
  bool ReloadReadingTable(int inputMode) override { return SwitchReadingTable(m_, inputMode); }
  void RefreshGuide(bool newPicture) override { RefreshGuideWindow(newPicture); }
  void RefreshToolbar() override { ShowConfiguredToolbar(); }
  bool OpenDictionary(const std::string& path) override { return ReopenImeDictionary(m_, path); }

  // The UI window is destroyed only on its own thread; a window of another
  // thread is left alone rather than sent a message it might handle after
  // this code is gone.
  void CloseUiWindow() override {
    if (closeUi_ && m_.uiWindow && IsWindow(m_.uiWindow) &&
        GetWindowThreadProcessId(m_.uiWindow, nullptr) == GetCurrentThreadId()) {
      DestroyWindow(m_.uiWindow);
    }
  }

  void ReleaseDisplayFontAndTable() override {
    if (m_.displayFont) DeleteObject(m_.displayFont);
    m_.displayFont = nullptr;
    m_.engine->SetReadingTable(nullptr);
    if (m_.readingResource) FreeResource(m_.readingResource);
    m_.readingResource = nullptr;
  }

  void ReleaseDictionary() override { ReleaseImeDictionary(m_); }

  bool closeUi_ = true;

 private:
  ImeModule& m_;
};

PlatformFacts QueryPlatformFacts() {
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExA(&v);
#pragma GCC diagnostic pop
  PlatformFacts f;
  f.windowsNt = v.dwPlatformId == VER_PLATFORM_WIN32_NT;
  f.windows95 = v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && v.dwMajorVersion == 4 && v.dwMinorVersion < 10;
  f.interfaceChoice = InterfaceChoiceOffered(f.windowsNt, v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS,
                                             v.dwMajorVersion, v.dwMinorVersion);
  return f;
}

// 0 not started, 1 running, 2 done.
volatile LONG g_initState = 0;
volatile DWORD g_initThread = 0;

}  // namespace

std::vector<FontFace> EnumerateDisplayFonts() {
  std::vector<FontFace> fonts;
  HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  if (!dc) return fonts;
  LOGFONTA lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExA(dc, &lf, CollectFont, reinterpret_cast<LPARAM>(&fonts), 0);
  DeleteDC(dc);
  return fonts;
}

bool KanjiHotKeyIsVk19() {
  UINT modifiers = 0;
  UINT vk = 0;
  HKL hkl = nullptr;
  if (!ImmGetHotKey(0x30 /* IME_JHOTKEY_CLOSE_OPEN */, &modifiers, &vk, &hkl)) return false;
  return vk == 0x19 && (modifiers & (MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN)) == 0;
}

SettingsPlatform& ModuleSettingsPlatform() {
  static Win32ModulePlatform platform(Module());
  return platform;
}

HFONT CreateDisplayFont(const ImeConfig& cfg) {
  HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) DeleteDC(dc);
  LOGFONTA lf{};
  lf.lfHeight = -MulDiv(cfg.fontPoints, dpi, 72);
  lf.lfCharSet = static_cast<BYTE>(cfg.charset);
  lstrcpynA(lf.lfFaceName, cfg.currentFace.c_str(), LF_FACESIZE);
  return CreateFontIndirectA(&lf);
}

void EnsureImeInitialized() {
  if (g_initState == 2) return;
  if (InterlockedCompareExchange(&g_initState, 1, 0) == 0) {
    g_initThread = GetCurrentThreadId();
    ImeModule& m = Module();
    m.facts = QueryPlatformFacts();
    m.engine = std::make_unique<ImeEngine>(m.settings, m.feedback, codeconv::PlatformCodePages());
    char path[MAX_PATH] = {};
    GetModuleFileNameA(m.instance, path, MAX_PATH);
    Win32ModulePlatform platform(m);
    InitializeImeConfig(m.config, path, Registry(), platform, m.feedback, m.facts);
    StartSettingsWatch(m.config);
    InterlockedExchange(&g_initState, 2);
    return;
  }
  // Another thread is starting the module: wait for it. The same thread
  // (a message box's loop calling back in) goes on with what is there.
  while (g_initState == 1 && g_initThread != GetCurrentThreadId()) Sleep(1);
}

void TerminateIme(bool processEnding) {
  if (g_initState != 2) return;
  ImeModule& m = Module();
  StopSettingsWatch();
  Win32ModulePlatform platform(m);
  platform.closeUi_ = !processEnding;
  TerminateImeConfig(m.config, platform, RegistryWrite());
}

void ActivateOwnKeyboardLayout() {
  ImeModule& m = Module();
  char name[MAX_PATH] = {};
  ImmGetIMEFileNameA(GetKeyboardLayout(0), name, MAX_PATH);
  HKL layouts[kMaxLayouts];
  const int n = GetKeyboardLayoutList(static_cast<int>(kMaxLayouts), layouts);
  std::vector<LayoutFile> files;
  for (int i = 0; i < n; ++i) {
    char file[MAX_PATH] = {};
    ImmGetIMEFileNameA(layouts[i], file, MAX_PATH);
    files.push_back({reinterpret_cast<uintptr_t>(layouts[i]), file});
  }
  const int pick = OwnLayoutToActivate(name, files, m.config.fileName);
  if (pick >= 0) ActivateKeyboardLayout(layouts[pick], 0);
}

}  // namespace ime

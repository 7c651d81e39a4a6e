// QuillonV6.dll: the module state, the application's start-up (the SEdit
// class of the library), the export CreateBusyuJisoCodeWindow (ordinal 1)
// and the sheet's creation.
#include <windows.h>

#include "help.h"
#include "ime_code.h"
#include "lookup_config.h"
#include "lookup_pages.h"
#include "lookup_state.h"
#include "sedit_window.h"
#include "shared_settings_win32.h"

namespace lookup {

namespace {

LookupState g_state;

class LookupSEditHost final : public sedit::SEditHost {};

sedit::StaticTable<sedit::kLookupVariant> g_seditTable;
LookupSEditHost g_seditHost;

std::span<const std::uint8_t> TextResource(const char* name) { return State().module.Resource("TEXT", name); }

// The library's application object: its start-up registers the SEdit class
// with the library's instance, once, outside the loader's lock.
class CQuillonApp {
 public:
  void InitInstance() {
    if (started_) return;
    started_ = sedit::RegisterSEditClass(State().module.handle(), g_seditTable.table, g_seditHost) != 0;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
  }
  void ExitInstance() {
    if (started_) sedit::UnregisterSEditClass(State().module.handle());
    started_ = false;
  }

  HWND CreateLookupSheet() {
    LookupState& s = State();
    PinLibrary();
    // One sheet: an earlier one goes through DestroyWindow, which deletes it
    // in its one final place.
    if (s.sheet && s.sheet->hwnd()) DestroyWindow(s.sheet->hwnd());
    auto* sheet = new CRabeko_Dlg;
    s.sheet = sheet;
    HWND h = sheet->Create(s.owner);
    if (!h) {
      // The object's window never lived, or its final message already came.
      if (s.sheet == sheet) {
        s.sheet = nullptr;
        fw::Window::DeleteLater(sheet);
      }
      return nullptr;
    }
    ShowWindow(h, SW_SHOW);
    return h;
  }

 private:
  // The sheet's windows run the library's code: once a sheet has been
  // opened the library stays loaded until the process ends, so that a
  // FreeLibrary of the host, on whatever thread, never unmaps the code of
  // a window that is still open (nor has to destroy one under the loader's
  // lock from a thread that does not own it).
  void PinLibrary() {
    if (pinned_) return;
    HMODULE self = nullptr;
    pinned_ = GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                                 reinterpret_cast<LPCWSTR>(&g_state), &self) != FALSE;
  }

  bool started_ = false;
  bool pinned_ = false;
};

CQuillonApp g_app;

}  // namespace

LookupState& State() { return g_state; }

void LoadTables() {
  LookupState& s = State();
  if (s.loaded) return;
  codeconv::LoadGmTables(s.module.handle(), s.tables);
  s.readings.kanayomi = TextResource("KANAYOMI");
  s.readings.doon2 = TextResource("DOON2");
  s.readings.ranges = TextResource("YOMIRANGE");
  s.readings.groups = TextResource("YOMIGROUP");
  const auto labels = TextResource("JISOLABEL");
  for (int i = 0; i < kInitials + kVowels && static_cast<std::size_t>(2 * i + 1) < labels.size(); ++i) {
    const DbChar c = codeconv::MakeDb(labels[2 * static_cast<std::size_t>(i)], labels[2 * static_cast<std::size_t>(i) + 1]);
    if (i < kInitials) s.initialLabels[static_cast<std::size_t>(i)] = c;
    else s.vowelLabels[static_cast<std::size_t>(i - kInitials)] = c;
  }
  s.loaded = true;
}

void ShowHelp(unsigned long context) {
  fw::CurrentHelpViewer().ShowContext(GetDesktopWindow(), State().helpPath, context);
}

}  // namespace lookup

using lookup::State;

extern "C" {

// Opens the lookup sheet for an input method; the sheet's window, or 0.
HWND WINAPI CreateBusyuJisoCodeWindow(int module, HWND owner, HWND imeWindow, int koreanCode,
                                                           char* koreanFace, char* imeFileName) {
  lookup::LookupState& s = State();
  s.callerModule = module;
  s.owner = owner;
  s.target = owner;
  s.imeWindow = imeWindow;
  s.koreanCode = koreanCode;
  s.koreanFace = koreanFace ? koreanFace : "";
  s.imeFileName = imeFileName ? imeFileName : "";
  s.charset = lookup::FontCharsetFor(s.imeFileName);
  char install[260];
  settings::ReadRegValue(1, nullptr, "Install Directory", install, sizeof install);
  s.programFolder = lookup::ProgramFolder(install);
  s.helpPath = s.programFolder + lookup::HelpFileFor(s.imeFileName);
  lookup::g_app.InitInstance();
  lookup::LoadTables();
  return lookup::g_app.CreateLookupSheet();
}

// Live sheet objects and window objects of the library (a check for tests).
int WINAPI GetLookupObjectCount() { return State().liveSheets + fw::AttachedWindowCount(); }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    State().module = fw::Module(instance);
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded while the process goes on, which only happens before any
    // sheet was opened (the first sheet pins the library): the class goes.
    lookup::g_app.ExitInstance();
  }
  return TRUE;
}

}  // extern "C"

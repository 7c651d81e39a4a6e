// One call each where attach and the UI window hand over to parts that
// come with their own files: the GM code tables, the
// status toolbar, the keyboard guide, the settings controls and the
// companion programs. Until those exist the calls do nothing.
#include "ime_state.h"

namespace ime {

// The GM V3 code tables among the resources, for the engine's code number 2.
void LoadImeCodeTables(ImeModule& m) {
  codeconv::LoadGmTables(m.instance, m.gmTables);
  if (m.engine) m.engine->SetGmTables(&m.gmTables);
}
// The on-screen keyboard's layout constants follow the keyboard type.
void SetGuideKeyboardLayout(int) {}
// COLORBUTTON (SEDIT_CLASS is registered when the module is loaded).
void RegisterSettingsControlClasses(HINSTANCE) {}

// Status toolbar: shown (and refreshed) or hidden.
void ShowStatusWindow(HWND, bool) {}
void HideStatusWindow(HWND) {}
// On-screen keyboard guide for the context's guideline.
void ShowGuideWindow(HWND, HIMC) {}
// Characters and announcements of the lookup window, the workbench and the pad.
LRESULT OnToolWindowMessage(HWND, UINT, WPARAM, LPARAM) { return 0; }

}  // namespace ime

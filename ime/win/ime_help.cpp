// Help through HTML Help: hhctrl.ocx is bound on first use, so that the
// input method loads and works where it is missing (and under Wine, where
// it shows nothing).
#include "ime_state.h"
#include "status_toolbar.h"

namespace ime {

namespace {

using HtmlHelpAFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

HtmlHelpAFn BindHtmlHelp() {
  static bool tried = false;
  static HtmlHelpAFn fn = nullptr;
  if (!tried) {
    tried = true;
    if (HMODULE lib = LoadLibraryA("hhctrl.ocx")) {
      fn = reinterpret_cast<HtmlHelpAFn>(reinterpret_cast<void*>(GetProcAddress(lib, "HtmlHelpA")));
    }
  }
  return fn;
}

}  // namespace

void ShowImeHelp(HWND window, int command, unsigned topic) {
  const HelpCall call = ImeHelpCall(Module().config, command, topic);
  HtmlHelpAFn fn = BindHtmlHelp();
  if (!fn) {
    if (command != 2) Module().feedback.Beep(0);
    return;
  }
  fn(window, call.file.empty() ? nullptr : call.file.c_str(), call.command, call.data);
}

}  // namespace ime

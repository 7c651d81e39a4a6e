// The input-method choice and switch by file name on the real keyboard-layout
// list of the installed suite: the input method is found by its exact name
// and by a newer edition's name, and switched to with the window's open
// state kept.
#include <windows.h>
#include <imm.h>

#include <string>

#include "check.h"
#include "ime_driver.h"
#include "ime_layouts.h"

using wtest::check;
using wtest::note;

int main(int argc, char**) {
  wtest::report().group = sizeof(void*) == 8 ? "win64 layouts" : "win32 layouts";
  if (!check(argc == 1, "usage: layout_switch_test (the suite installed by GeulmaruSetup.exe)")) return wtest::finish();

  check(codeconv::FindImeLayoutByName("JP:Text Services Framework") == 0x04110411,
        "the text-services name needs no installed layout");
  check(codeconv::FindImeLayoutByName("") == 0, "the empty name finds nothing");
  check(codeconv::FindImeLayoutByName("NOSUCH99.IME") == 0, "a name that is not installed finds nothing");

  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"LayoutSwitchTest";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"layout switch test", WS_OVERLAPPEDWINDOW, 10, 10, 300, 100,
                              nullptr, nullptr, wc.hInstance, nullptr);
  if (!check(hwnd != nullptr, "window created")) return wtest::finish();

  imedrv::BoxWatcher boxes;
  boxes.Start();
  HKL installed = imeinst::RegisteredLayout(L"ZORBENV6.IME");
  if (!check(installed != nullptr, "the installed suite's layout of ZORBENV6.IME is offered")) {
    boxes.Stop();
    return wtest::finish();
  }
  HKL start = GetKeyboardLayout(0);
  note("installed %p, current %p", static_cast<void*>(installed), static_cast<void*>(start));

  // Beside the installed layout, Wine's ImmInstallIME made one of its own
  // that names the whole path: any layout of this file will do, and the
  // first one in the list wins.
  HKL list[101];
  const int count = GetKeyboardLayoutList(101, list);
  HKL first = nullptr;
  for (int i = 0; i < count && first == nullptr; ++i) {
    char name[MAX_PATH] = {};
    ImmGetIMEFileNameA(list[i], name, MAX_PATH);
    const std::string path(name);
    if (path.size() >= 12 && lstrcmpiA(path.c_str() + path.size() - 12, "ZORBENV6.IME") == 0) first = list[i];
  }
  if (!check(first != nullptr, "the installed input method is among the layouts")) return wtest::finish();

  check(codeconv::FindImeLayoutByName("zorbenv6.ime") == reinterpret_cast<uintptr_t>(first),
        "exact name without regard to case");
  check(codeconv::FindImeLayoutByName("ZORBENV7.IME") == reinterpret_cast<uintptr_t>(first),
        "a newer edition's name shares the first five characters");

  // Switching keeps the open state of the window's context.
  HIMC himc = ImmGetContext(hwnd);
  if (check(himc != nullptr, "the window has an input context")) {
    ImmSetOpenStatus(himc, TRUE);
    ImmReleaseContext(hwnd, himc);
  }
  codeconv::ActivateImeByName(hwnd, "ZORBENV6.IME");
  check(GetKeyboardLayout(0) == first, "the input method is active after the switch");
  himc = ImmGetContext(hwnd);
  if (himc != nullptr) {
    check(ImmGetOpenStatus(himc) != FALSE, "the context is open again after the switch");
    ImmReleaseContext(hwnd, himc);
  }
  // Switching to the one already active changes nothing.
  codeconv::ActivateImeByName(hwnd, "ZORBENV6.IME");
  check(GetKeyboardLayout(0) == first, "switching to the active one keeps it");

  // The layout that the installation registered for the GM edition (the
  // Japanese locale, which Wine can activate) is one the input method
  // manager takes: it activates and names its file.
  HKL gm = imeinst::RegisteredLayout(L"WARBENV6.IME");
  if (check(gm != nullptr, "the installation registered a layout of WARBENV6.IME")) {
    check((reinterpret_cast<uintptr_t>(gm) & 0xFFFF) == 0x0411, "of the Japanese locale");
    check(ActivateKeyboardLayout(gm, 0) != nullptr && GetKeyboardLayout(0) == gm, "the registered layout activates");
    check(ImmIsIME(gm) != FALSE, "the registered layout is an input method");
    char name[MAX_PATH] = {};
    ImmGetIMEFileNameA(gm, name, MAX_PATH);
    check(lstrcmpiA(name, "WARBENV6.IME") == 0, "its input method file: %s", name);
  }

  ActivateKeyboardLayout(start, 0);
  boxes.Stop();
  DestroyWindow(hwnd);
  return wtest::finish();
}

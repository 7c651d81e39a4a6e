// The lookup window on the keyboard road of the installed suite: the
// toolbar's lookup button opens the lookup library's sheet from the program
// folder; on its code page "1601" and Enter pick 가, which the input method
// commits into this window; closing the sheet brings the toolbar back.
//
//   ime_lookup_road_test.exe   (the suite installed by GeulmaruSetup.exe)
#include "check.h"
#include "ime_driver.h"
#include "ime_wait.h"
#include "ime_layouts.h"
#include "input.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <string>
#include <vector>

using wtest::check;
using wtest::note;

namespace {

std::u16string g_results;  // GCS_RESULTSTR strings in arrival order

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_IME_COMPOSITION && (lp & GCS_RESULTSTR)) g_results += imedrv::ResultString(hwnd);
  if (msg == WM_CHAR) return 0;
  return DefWindowProcW(hwnd, msg, wp, lp);
}

using imedrv::Pump;

HWND Shown(const wchar_t* cls) {
  const std::vector<HWND> w = imedrv::ThreadWindows(cls, true);
  return w.empty() ? nullptr : w[0];
}

// The lookup sheet: a visible property sheet of this thread.
HWND Sheet() {
  for (HWND w : imedrv::ThreadWindows(L"#32770", true))
    if (PropSheet_GetTabControl(w)) return w;
  return nullptr;
}

HWND WaitForSheet(DWORD ms) {
  HWND sheet = nullptr;
  wtest::WaitUntil([&] { return (sheet = Sheet()) != nullptr; }, ms);
  return sheet;
}

bool WaitForResult(const std::u16string& text, DWORD ms) { return imedrv::WaitForText(g_results, text, ms); }

// The toolbar's button i (0 the first after the grip and the mode buttons).
POINT ButtonCentre(int i) { return {53 + 22 * i + 11, 18}; }

}  // namespace

int main(int argc, char**) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 lookup road";
  if (argc != 1) {
    std::printf("usage: ime_lookup_road_test (the suite installed by GeulmaruSetup.exe)\n");
    return 2;
  }
  imeinst::ResetImeSettings(L"ZO");
  HWND hwnd = imedrv::CreateTestWindow(WndProc, L"ImeLookupRoadTest", L"ime lookup road test", {100, 80, 600, 340},
                                       static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!check(hwnd != nullptr, "window created")) return wtest::finish();

  imedrv::BoxWatcher boxes;
  boxes.Start();
  HKL hkl = reinterpret_cast<HKL>(codeconv::FindImeLayoutByName("ZORBENV6.IME"));
  if (!check(hkl != nullptr, "a layout of the installed ZORBENV6.IME is found by its file name")) return wtest::finish();
  HKL previous = ActivateKeyboardLayout(hkl, 0);
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
  check(imedrv::WaitForKeyboardFocus(hwnd), "the window is in front with the focus");
  // The first key brings the window's context over to the input method;
  // opening it then makes the input method's UI window (Wine 8).
  imedrv::OpenInputMethod(hwnd);
  HWND bar = nullptr;
  wtest::WaitUntil([&] { return (bar = Shown(L"warbenv3Status")) != nullptr; });
  if (!check(bar != nullptr, "the status toolbar shows with the input method")) return wtest::finish();
  // The watcher closes every dialog of this process; the sheet is one.
  boxes.Stop();
  g_results.clear();
  const POINT lookupButton = ButtonCentre(1);
  wtest::ClickClient(bar, lookupButton.x, lookupButton.y);
  HWND sheet = WaitForSheet(wtest::Allowance());
  if (check(sheet != nullptr, "the lookup button opens the lookup library's sheet")) {
    wchar_t caption[128]{};
    GetWindowTextW(sheet, caption, 128);
    note("sheet caption: %s", imedrv::Utf8(std::u16string(reinterpret_cast<const char16_t*>(caption))).c_str());

    PropSheet_SetCurSel(sheet, nullptr, 2);
    Pump(300);
    HWND page = PropSheet_GetCurrentPageHwnd(sheet);
    HWND entry = page ? GetDlgItem(page, 22025) : nullptr;
    if (check(entry != nullptr, "the code page and its code entry")) {
      wtest::Click(wtest::WindowCentre(entry));
      check(wtest::WaitForFocus(entry), "a click puts the focus into the code entry");
      wtest::SendKeys({'1', '6', '0', '1', VK_RETURN});
      check(WaitForResult(u"\xAC00", wtest::Allowance()), "1601 and Enter commit U+AC00 into the window (%s)",
            imedrv::Hex(g_results).c_str());
      // Whatever else the keys made came before the Enter's commit.
      check(g_results == u"\xAC00", "and nothing else (%s)", imedrv::Hex(g_results).c_str());
    }
    PostMessageW(sheet, WM_CLOSE, 0, 0);
    wtest::WaitUntil([] { return Sheet() == nullptr; });
    check(Sheet() == nullptr, "the sheet closes");
    wtest::WaitUntil([&] { return Shown(L"warbenv3Status") == bar; });
    check(Shown(L"warbenv3Status") == bar, "the toolbar shows again after the sheet closes");
  }

  for (const std::u16string& t : boxes.Texts()) note("message box: %s", imedrv::Utf8(t).c_str());
  ActivateKeyboardLayout(previous, 0);
  DestroyWindow(hwnd);
  return wtest::finish();
}

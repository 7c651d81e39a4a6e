// The translation workbench on the keyboard road of the installed suite
// (32-bit): this program's window types through the installed input method
// ZORBENV6.IME, whose status toolbar's workbench button starts the
// installed DALMOK.EXE for it. 私は学生です pasted into the workbench's
// Japanese pane, translated (Ctrl+T) and sent (Ctrl+G): the Korean text
// 저는 학생입니다 arrives in this window as the input method's result string.
// Every response is waited for.
#include <windows.h>
#include <imm.h>

#include <cstdio>
#include <string>

#include "check.h"
#include "ime_driver.h"
#include "ime_install.h"
#include "ime_layouts.h"
#include "input.h"
#include "screenshot.h"
#include "wait.h"
#include "workbench_drive.h"

using namespace wbdrive;
using wtest::check;
using wtest::note;

namespace {

std::u16string g_results;  // GCS_RESULTSTR strings in arrival order

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_IME_COMPOSITION && (lp & GCS_RESULTSTR)) g_results += imedrv::ResultString(hwnd);
  if (msg == WM_CHAR) return 0;
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND ShownOfThread(const wchar_t* cls) {
  const std::vector<HWND> w = imedrv::ThreadWindows(cls, true);
  return w.empty() ? nullptr : w[0];
}

// The status toolbar's buttons: button i's centre.
POINT ButtonCentre(int i) { return {53 + 22 * i + 11, 18}; }

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 workbench road";
  if (argc != 2) {
    std::printf("usage: workbench_road_test <screenshot folder>\n");
    return 2;
  }
  const std::wstring shots = imedrv::WidenArg(argv[1]);
  const std::wstring installDir = imeinst::GetString(HKEY_LOCAL_MACHINE, imeinst::kSuiteKey, L"Install Directory");
  if (!check(GetFileAttributesW((installDir + L"\\GeulmaruV6\\DALMOK.EXE").c_str()) != INVALID_FILE_ATTRIBUTES,
             "the suite installed DALMOK.EXE"))
    return wtest::finish();
  imeinst::ResetImeSettings(L"ZO");

  HWND hwnd = imedrv::CreateTestWindow(WndProc, L"WorkbenchRoadTest", L"workbench road test", {100, 80, 600, 340},
                                       static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!check(hwnd != nullptr, "window created")) return wtest::finish();
  imedrv::BoxWatcher boxes;
  boxes.Start();
  HKL hkl = reinterpret_cast<HKL>(codeconv::FindImeLayoutByName("ZORBENV6.IME"));
  if (!check(hkl != nullptr, "a layout of the installed ZORBENV6.IME")) return wtest::finish();
  HKL previous = ActivateKeyboardLayout(hkl, 0);
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
  imedrv::Pump(300);
  // The first key brings the window's context over to the input method;
  // opening it then makes the input method's UI window and its toolbar.
  imedrv::OpenInputMethod(hwnd);
  HWND bar = nullptr;
  check(WaitUntil([&] { return (bar = ShownOfThread(L"warbenv3Status")) != nullptr; }, Allowance()),
        "the status toolbar shows with the input method");
  if (!bar) return wtest::finish();
  g_results.clear();

  // The workbench button starts the installed workbench for this window.
  wtest::ClickClient(bar, ButtonCentre(4).x, ButtonCentre(4).y);
  HWND frame = FindFrame(L"ＤＡＬＭＯＫ(パリスク) － ＫＳ");
  if (!check(frame != nullptr, "the toolbar's workbench button starts DALMOK.EXE (its frame shows, KS code)")) {
    boxes.Stop();
    return wtest::finish();
  }
  HWND japanese = FindChild(frame, L"Edit");
  HWND korean = FindChild(frame, L"GeulmaruHangulView");
  if (!check(japanese && korean, "the workbench's panes are there")) return wtest::finish();

  PasteJapanese(frame, japanese, L"私は学生です");
  CtrlKey('T');
  CheckWithin(
      Allowance(), [&] { return FocusOf(frame) == korean; }, [] { return std::string("focus elsewhere"); },
      "Ctrl+T translates: the Korean pane has the focus");
  Foreground(frame);
  CtrlKey('G');
  CheckWithin(
      2 * Allowance() + 2000, [&] { return g_results.find(u"저는 학생입니다") != std::u16string::npos; },
      [&] { return imedrv::Hex(g_results); },
      "after Ctrl+G the Korean text arrives in the window through the input method");
  check(g_results == u"저는 학생입니다", "as one result string: %s", imedrv::Hex(g_results).c_str());
  wtest::Capture(frame, shots, L"workbench-road");

  PostMessageW(frame, WM_CLOSE, 0, 0);
  CheckWithin(
      2 * Allowance(), [&] { return !IsWindow(frame); }, [] { return std::string("still open"); },
      "the workbench closes");
  boxes.Stop();
  for (const std::u16string& t : boxes.Texts()) note("message box: %s", imedrv::Utf8(t).c_str());
  check(boxes.Texts().empty(), "no message box appeared");
  ActivateKeyboardLayout(previous, 0);
  DestroyWindow(hwnd);
  return wtest::finish();
}

// The toolbar-started companions on the keyboard road of the installed suite
// (32-bit): this program's window types through the installed input method
// ZORBENV6.IME, whose status toolbar starts the installed companion for it.
//   workbench: the workbench button starts DALMOK.EXE; 私は学生です pasted
//     into its Japanese pane, translated (Ctrl+T) and sent (Ctrl+G);
//     저는 학생입니다 arrives in this window as the input method's result string.
//   pad: the 日韓翻訳入力 button starts Vestra.EXE; 学生です pasted into the
//     pad, Enter translates, the second Enter sends; 학생입니다 arrives here
//     as the input method's result string.
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

// The status toolbar's buttons: button i's centre. With the default ToolBar
// setting "101111111111" the buttons are functions 1, 3, 4, 5, 6, ...: the
// pad (function 5) is button 3, the workbench (function 6) button 4.
POINT ButtonCentre(int i) { return {53 + 22 * i + 11, 18}; }
constexpr int kPadButton = 3;
constexpr int kWorkbenchButton = 4;

void ClickButton(HWND bar, int i) { wtest::ClickClient(bar, ButtonCentre(i).x, ButtonCentre(i).y); }

std::string TextA(HWND w) {
  char buf[1024]{};
  SendMessageTimeoutA(w, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, nullptr);
  return buf;
}

bool WaitForResult(const std::u16string& expected) {
  return CheckWithin(
      2 * Allowance() + 2000, [&] { return g_results.find(expected) != std::u16string::npos; },
      [&] { return imedrv::Hex(g_results); }, "the Korean text %s arrives in the window through the input method",
      imedrv::Utf8(expected).c_str());
}

bool WaitClosed(HWND w, const char* what) {
  return CheckWithin(
      2 * Allowance(), [&] { return !IsWindow(w); }, [] { return std::string("still open"); }, "%s closes", what);
}

// The workbench: started by its button, a sentence translated and sent.
void WorkbenchRoad(HWND bar, const std::wstring& shots) {
  ClickButton(bar, kWorkbenchButton);
  HWND frame = FindFrame(L"ＤＡＬＭＯＫ(パリスク) － ＫＳ");
  if (!check(frame != nullptr, "the toolbar's workbench button starts DALMOK.EXE (its frame shows, KS code)")) return;
  HWND japanese = FindChild(frame, L"Edit");
  HWND korean = FindChild(frame, L"GeulmaruHangulView");
  if (!check(japanese && korean, "the workbench's panes are there")) return;

  PasteJapanese(frame, japanese, L"私は学生です");
  CtrlKey('T');
  CheckWithin(
      Allowance(), [&] { return FocusOf(frame) == korean; }, [] { return std::string("focus elsewhere"); },
      "Ctrl+T translates: the Korean pane has the focus");
  Foreground(frame);
  CtrlKey('G');
  WaitForResult(u"저는 학생입니다");
  check(g_results == u"저는 학생입니다", "as one result string: %s", imedrv::Hex(g_results).c_str());
  wtest::Capture(frame, shots, L"workbench-road");
  PostMessageW(frame, WM_CLOSE, 0, 0);
  WaitClosed(frame, "the workbench");
}

// The pad: started by its button, a word translated on Enter and sent on
// the second Enter.
void PadRoad(HWND bar, const std::wstring& shots) {
  ClickButton(bar, kPadButton);
  HWND pad = nullptr;
  WaitUntil([&] { return (pad = FindWindowW(L"#32770", L"日韓翻訳入力")) != nullptr && IsWindowVisible(pad); },
            2 * Allowance());
  if (!check(pad != nullptr, "the toolbar's 日韓翻訳入力 button starts Vestra.EXE (its pad shows)")) return;
  HWND control = GetDlgItem(pad, 1000);
  if (!check(control != nullptr, "the pad's text control is there")) return;
  if (!PutClipboard(L"学生です")) return;
  Foreground(pad);
  CheckWithin(
      Allowance(), [&] { return FocusOf(pad) == control; }, [] { return std::string("focus elsewhere"); },
      "the pad's text control has the focus");
  CtrlKey('V');
  char japanese[64]{};
  WideCharToMultiByte(932, 0, L"学生です", -1, japanese, sizeof japanese - 1, nullptr, nullptr);
  if (!CheckWithin(
          Allowance(), [&] { return TextA(control) == japanese; },
          [&] { return std::to_string(TextA(control).size()) + " bytes"; }, "the pad holds 学生です after Ctrl+V"))
    return;
  wtest::SendKeys({VK_RETURN});
  CheckWithin(
      Allowance(), [&] { return !TextA(control).empty() && TextA(control) != japanese; },
      [&] { return std::to_string(TextA(control).size()) + " bytes"; }, "Enter translates the pad's text");
  wtest::Capture(pad, shots, L"pad-road");
  Foreground(pad);
  wtest::SendKeys({VK_RETURN});
  WaitForResult(u"학생입니다");
  check(g_results == u"학생입니다", "as one result string: %s", imedrv::Hex(g_results).c_str());
  PostMessageW(pad, WM_COMMAND, IDCANCEL, 0);
  WaitClosed(pad, "the pad");
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  const std::string road = argc == 3 ? argv[1] : "";
  if (road != "workbench" && road != "pad") {
    std::printf("usage: companion_road_test workbench|pad <screenshot folder>\n");
    return 2;
  }
  wtest::report().group = road == "pad" ? "win32 pad road" : "win32 workbench road";
  const std::wstring shots = imedrv::WidenArg(argv[2]);
  const std::wstring program = road == "pad" ? L"Vestra.EXE" : L"DALMOK.EXE";
  const std::wstring installDir = imeinst::GetString(HKEY_LOCAL_MACHINE, imeinst::kSuiteKey, L"Install Directory");
  if (!check(GetFileAttributesW((installDir + L"\\GeulmaruV6\\" + program).c_str()) != INVALID_FILE_ATTRIBUTES,
             "the suite installed %s", U8(program).c_str()))
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
  imedrv::PressKey('R');
  imedrv::PressKey(VK_ESCAPE);
  if (HIMC himc = ImmGetContext(hwnd)) {
    ImmSetOpenStatus(himc, TRUE);
    ImmReleaseContext(hwnd, himc);
  }
  HWND bar = nullptr;
  check(WaitUntil([&] { return (bar = ShownOfThread(L"warbenv3Status")) != nullptr; }, Allowance()),
        "the status toolbar shows with the input method");
  if (!bar) return wtest::finish();
  g_results.clear();

  if (road == "pad") PadRoad(bar, shots);
  else WorkbenchRoad(bar, shots);

  boxes.Stop();
  for (const std::u16string& t : boxes.Texts()) note("message box: %s", imedrv::Utf8(t).c_str());
  check(boxes.Texts().empty(), "no message box appeared");
  ActivateKeyboardLayout(previous, 0);
  DestroyWindow(hwnd);
  return wtest::finish();
}

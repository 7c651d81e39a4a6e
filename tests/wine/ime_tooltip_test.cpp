// The status toolbar's tooltips: the input method of the installed suite
// active for this program's window, its toolbar's tooltip control asked for
// the text of every tool (TTM_GETTEXTW, which makes the control ask the
// toolbar for it as a hover does), with a configured map of nine buttons and
// then, after a click on the switch, with all twelve.
//
//   ime_tooltip_test.exe <GmV6KS.dic>
#include "check.h"
#include "ime_driver.h"
#include "ime_layouts.h"
#include "input.h"
#include "wait.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

using wtest::check;

namespace {

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd, msg, wp, lp); }

// The tooltip texts of the toolbar's functions 1-12, the switch and the
// on/off button.
const wchar_t* const kFunctionTips[12] = {
    L"入力モード", L"入力サイズ", L"部首・ハングル・コード入力", L"仮想キーボード", L"日韓翻訳入力",
    L"DAL-MOK（パリスク）", L"韓日・日韓辞典", L"ドレンビク", L"ユーティリティ", L"辞書編集",
    L"環境設定", L"ヘルプ"};
const wchar_t kSwitchTip[] = L"ツールバー切替";
const wchar_t kOnOffTip[] = L"ＩＭＥ ＯＮ／ＯＦＦ 切替";

// The tooltip control that the toolbar owns.
HWND TooltipOf(HWND bar) {
  for (HWND tip : imedrv::ThreadWindows(TOOLTIPS_CLASSW, false))
    if (GetWindow(tip, GW_OWNER) == bar) return tip;
  return nullptr;
}

std::wstring ToolText(HWND tip, HWND bar, int tool) {
  wchar_t text[128]{};
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = bar;
  ti.uId = static_cast<UINT_PTR>(tool);
  ti.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&ti));
  return text;
}

std::string Narrow(const std::wstring& w) { return imedrv::Utf8(std::u16string(w.begin(), w.end())); }

// The texts of tools 0-13 against what they should be; a failure names the
// tool and both texts.
void CheckTools(HWND tip, HWND bar, const std::vector<std::wstring>& expected, const char* which) {
  int wrong = 0;
  for (int tool = 0; tool < 14; ++tool) {
    const std::wstring got = ToolText(tip, bar, tool);
    if (got == expected[static_cast<size_t>(tool)]) continue;
    ++wrong;
    check(false, "%s: tool %d says \"%s\", should say \"%s\"", which, tool, Narrow(got).c_str(),
          Narrow(expected[static_cast<size_t>(tool)]).c_str());
  }
  check(wrong == 0, "%s: the fourteen tools give their texts", which);
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 toolbar tooltips";
  if (argc < 2) {
    std::printf("usage: ime_tooltip_test <dictionary>\n");
    return 2;
  }
  // Functions 1, 3, 4, 6, 7, 8, 9, 11 and 12 on the toolbar.
  const int configured[] = {1, 3, 4, 6, 7, 8, 9, 11, 12};
  check(imeinst::SetImeValue(L"ZO", L"Modes", L"ToolBar", L"101101111011") &&
            imedrv::SetDictionaryPath(L"ZO", argv[1]),
        "settings written");

  HWND hwnd = imedrv::CreateTestWindow(WndProc, L"ImeTooltipTest", L"ime tooltip test", {100, 80, 500, 300},
                                       static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!check(hwnd != nullptr, "window created")) return wtest::finish();
  imedrv::BoxWatcher boxes;
  boxes.Start();
  HKL hkl = reinterpret_cast<HKL>(codeconv::FindImeLayoutByName("ZORBENV6.IME"));
  if (!check(hkl != nullptr, "a layout of the installed ZORBENV6.IME is found by its file name")) {
    boxes.Stop();
    return wtest::finish();
  }
  HKL previous = ActivateKeyboardLayout(hkl, 0);
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
  // The first key brings the window's context over to the input method;
  // opening it makes the UI window and its toolbar.
  imedrv::OpenInputMethod(hwnd);
  HWND bar = nullptr;
  wtest::CheckWithin(
      wtest::Allowance(),
      [&] {
        const std::vector<HWND> shown = imedrv::ThreadWindows(L"warbenv3Status", true);
        bar = shown.empty() ? nullptr : shown[0];
        return bar != nullptr;
      },
      [] { return std::string("no visible window of the class warbenv3Status"); },
      "the status toolbar shows with the input method");
  HWND tip = bar ? TooltipOf(bar) : nullptr;
  if (bar && check(tip != nullptr, "the toolbar owns a tooltip control")) {
    std::vector<std::wstring> nine;
    for (int f : configured) nine.push_back(kFunctionTips[f - 1]);
    nine.resize(12);  // the places beyond the nine buttons have no text
    nine.push_back(kSwitchTip);
    nine.push_back(kOnOffTip);
    CheckTools(tip, bar, nine, "nine buttons");

    // The switch (at 53 + 22 x 9, in its upper half) shows all twelve.
    const int switchX = 53 + 22 * 9 + 5, switchY = 12;
    wtest::ClickClient(bar, switchX, switchY);
    wtest::CheckWithin(
        wtest::Allowance(), [&] { return imedrv::WindowRect(bar).right - imedrv::WindowRect(bar).left == 22 * 12 + 68; },
        [&] { return std::to_string(imedrv::WindowRect(bar).right - imedrv::WindowRect(bar).left) + " pixels wide"; },
        "the switch shows all twelve buttons (%d pixels wide)", 22 * 12 + 68);
    std::vector<std::wstring> twelve(kFunctionTips, kFunctionTips + 12);
    twelve.push_back(kSwitchTip);
    twelve.push_back(kOnOffTip);
    // The toolbar rebuilds its tools after the switch; the texts follow.
    wtest::CheckWithin(
        wtest::Allowance(), [&] { return ToolText(tip, bar, 1) == twelve[1]; },
        [&] { return "tool 1 says \"" + Narrow(ToolText(tip, bar, 1)) + "\""; }, "tool 1 follows the full map");
    CheckTools(tip, bar, twelve, "twelve buttons");
    wtest::ClickClient(bar, 53 + 22 * 12 + 5, switchY);  // back to the configured nine
  }
  ActivateKeyboardLayout(previous, 0);
  DestroyWindow(hwnd);
  boxes.Stop();
  const std::vector<std::u16string> texts = boxes.Texts();
  check(texts.empty(), "no message box came (%zu)", texts.size());
  return wtest::finish();
}

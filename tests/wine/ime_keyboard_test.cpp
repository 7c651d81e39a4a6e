// The keyboard road of the installed suite: activates the keyboard layout
// of ZORBENV6.IME chosen by its file name, as the suite's programs choose
// it (codeconv::FindImeLayoutByName), types r k s k and
// Space, then Enter after r k, with SendInput into its own window, and
// checks that the window receives the result string in WM_IME_COMPOSITION,
// then WM_IME_CHAR and WM_CHAR; then types d y (a syllable with hanja),
// converts it with the Hanja key and opens the candidate list with a second
// press, and checks that the input method's own composition and candidate
// windows show on this road; last, the GM edition (ANSI interface) types
// r k Space into a window of its own. The input method runs with its default
// settings, so its dictionary is the installed one of the program folder.
//
//   ime_keyboard_test.exe
#include "check.h"
#include "ime_driver.h"
#include "ime_layouts.h"
#include "ime_wait.h"

#include <cstdio>
#include <string>
#include <vector>

using wtest::check;
using wtest::check_eq;
using wtest::note;

namespace {

std::u16string g_results;   // GCS_RESULTSTR strings in arrival order
std::u16string g_imeChars;  // WM_IME_CHAR
std::u16string g_chars;     // WM_CHAR
std::string g_resultBytes;  // GCS_RESULTSTR as the bytes of the ANSI call
int g_starts = 0, g_ends = 0;

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_IME_STARTCOMPOSITION:
      ++g_starts;
      break;
    case WM_IME_ENDCOMPOSITION:
      ++g_ends;
      break;
    case WM_IME_COMPOSITION:
      if (lp & GCS_RESULTSTR) {
        g_results += imedrv::ResultString(hwnd);
        if (HIMC himc = ImmGetContext(hwnd)) {
          char bytes[64]{};
          const LONG n = ImmGetCompositionStringA(himc, GCS_RESULTSTR, bytes, sizeof bytes - 1);
          if (n > 0) g_resultBytes.append(bytes, static_cast<size_t>(n));
          ImmReleaseContext(hwnd, himc);
        }
      }
      break;  // DefWindowProc turns the result into WM_IME_CHAR
    case WM_IME_CHAR:
      g_imeChars.push_back(static_cast<char16_t>(wp));
      break;  // and DefWindowProc into WM_CHAR
    case WM_CHAR:
      g_chars.push_back(static_cast<char16_t>(wp));
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// Whether a visible window of the class belongs to this thread.
bool ThreadWindowShown(const wchar_t* cls) { return !imedrv::ThreadWindows(cls, true).empty(); }

void Key(UINT vk) { imedrv::PressKey(vk); }

}  // namespace

int main(int argc, char**) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = sizeof(void*) == 8 ? "win64 keyboard" : "win32 keyboard";
  if (argc != 1) {
    std::printf("usage: ime_keyboard_test (the suite installed by GeulmaruSetup.exe)\n");
    return 2;
  }
  imeinst::ResetImeSettings(L"ZO");
  imeinst::ResetImeSettings(L"WA");

  HWND hwnd = imedrv::CreateTestWindow(WndProc, L"ImeKeyboardTest", L"ime keyboard test", {10, 10, 410, 210});
  if (!check(hwnd != nullptr, "window created")) return wtest::finish();

  imedrv::BoxWatcher boxes;
  boxes.Start();
  check(imeinst::RegisteredLayout(L"ZORBENV6.IME") != nullptr, "the installation registered a layout of ZORBENV6.IME");
  // Under Wine the one found is the Japanese-locale layout that ImmInstallIME
  // made at installation: Wine activates only layouts of its keyboard's
  // locale, so not the Korean one registered beside it.
  HKL hkl = reinterpret_cast<HKL>(codeconv::FindImeLayoutByName("ZORBENV6.IME"));
  if (!check(hkl != nullptr, "a layout of ZORBENV6.IME is found by its file name")) {
    boxes.Stop();
    return wtest::finish();
  }
  note("layout %p", static_cast<void*>(hkl));
  check(ImmIsIME(hkl) != 0, "the layout is an input method");
  HKL previous = ActivateKeyboardLayout(hkl, 0);
  check(previous != nullptr, "ActivateKeyboardLayout");
  check(GetKeyboardLayout(0) == hkl, "the layout is active on this thread");
  char file[MAX_PATH]{};
  ImmGetIMEFileNameA(hkl, file, MAX_PATH);
  note("input method file: %s", file);

  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
  check(imedrv::WaitForKeyboardFocus(hwnd), "the window is in front with the focus (foreground %p, focus %p)",
        static_cast<void*>(GetForegroundWindow()), static_cast<void*>(GetFocus()));
  HIMC himc = ImmGetContext(hwnd);
  if (check(himc != nullptr, "the window has an input context")) {
    ImmSetOpenStatus(himc, TRUE);
    ImmReleaseContext(hwnd, himc);
  }
  imedrv::Pump(200);
  for (const std::u16string& t : boxes.Texts()) note("message box: %s", imedrv::Utf8(t).c_str());
  check(boxes.Texts().empty(), "no message box: the Korean font and the installed dictionary were found");

  // r k s k: the first syllable is committed when the second begins; Space
  // commits the second with the blank.
  for (UINT vk : {'R', 'K', 'S', 'K'}) Key(vk);
  Key(VK_SPACE);
  const std::u16string expected1 = u"\xAC00\xB098 ";
  // WM_CHAR comes last of the three (DefWindowProc posts it from WM_IME_CHAR).
  imedrv::WaitForLength(g_chars, expected1.size());
  check(g_results == expected1, "results in WM_IME_COMPOSITION: %s, expected %s", imedrv::Hex(g_results).c_str(),
        imedrv::Hex(expected1).c_str());
  check(g_imeChars == expected1, "WM_IME_CHAR: %s, expected %s", imedrv::Hex(g_imeChars).c_str(), imedrv::Hex(expected1).c_str());
  check(g_chars == expected1, "WM_CHAR: %s, expected %s", imedrv::Hex(g_chars).c_str(), imedrv::Hex(expected1).c_str());
  check(g_starts >= 1 && g_ends >= 1, "composition started (%d) and ended (%d)", g_starts, g_ends);

  // r k and Enter: Enter commits and does not reach the window as a character.
  g_results.clear();
  g_imeChars.clear();
  g_chars.clear();
  for (UINT vk : {'R', 'K'}) Key(vk);
  Key(VK_RETURN);
  // An Enter that reached the window would be posted as WM_CHAR by the same
  // TranslateMessage that makes the result, before the result's own WM_CHAR:
  // once U+AC00 is there, a stray CR would be too.
  imedrv::WaitForLength(g_chars, 1);
  check(g_results == u"\xAC00", "Enter: result %s, expected U+AC00", imedrv::Hex(g_results).c_str());
  check(g_chars == u"\xAC00", "Enter: WM_CHAR %s, expected U+AC00 only", imedrv::Hex(g_chars).c_str());
  imedrv::CheckThreadWindow(L"warbenv3CompStr", false, "no composition window once the result is committed");

  // The input method's windows on this road: the composition window while
  // composing, the candidate list after the second Hanja key.
  {
    // Wine 8 makes an input method's UI window when the open status of a
    // context of that input method is set.  This window's context was made
    // before the layout was installed and went over to the input method with
    // the first key, so it is opened once more now.
    if (HIMC h = ImmGetContext(hwnd)) {
      ImmSetOpenStatus(h, TRUE);
      ImmReleaseContext(hwnd, h);
    }
    g_results.clear();
    for (UINT vk : {'D', 'Y'}) Key(vk);
    imedrv::CheckThreadWindow(L"warbenv3CompStr", true, "the composition window shows while composing");
    Key(VK_HANJA);
    Key(VK_HANJA);
    imedrv::CheckThreadWindow(L"warbenv3Cand", true, "the second Hanja key opens the candidate window");
    Key(VK_RETURN);
    imedrv::WaitForLength(g_results, 1);
    const bool hanja = g_results.size() == 1 && ((g_results[0] >= 0x4E00 && g_results[0] <= 0x9FFF) ||
                                                 (g_results[0] >= 0xF900 && g_results[0] <= 0xFAFF));
    check(hanja, "Enter commits a hanja of the reading: %s", imedrv::Hex(g_results).c_str());
    check(wtest::WaitUntil([] { return !ThreadWindowShown(L"warbenv3Cand") && !ThreadWindowShown(L"warbenv3CompStr"); }),
          "the candidate and composition windows close with the commit (candidates shown %d, composition shown %d)",
          ThreadWindowShown(L"warbenv3Cand") ? 1 : 0, ThreadWindowShown(L"warbenv3CompStr") ? 1 : 0);
  }

  // The GM edition (ANSI interface) on the same road. A window made once its
  // layout is active gets a context of it; r k and Space commit 가 (KS B0 A1,
  // row 16 cell 1, in GM 88 9F) and the blank.
  HKL gm = reinterpret_cast<HKL>(codeconv::FindImeLayoutByName("WARBENV6.IME"));
  if (check(gm != nullptr, "a layout of WARBENV6.IME is found by its file name")) {
    ActivateKeyboardLayout(gm, 0);
    HWND gmWindow = imedrv::CreateTestWindow(WndProc, L"ImeKeyboardTestGm", L"ime keyboard test (GM)",
                                             {40, 240, 440, 440});
    SetForegroundWindow(gmWindow);
    SetFocus(gmWindow);
    check(imedrv::WaitForKeyboardFocus(gmWindow), "the GM window is in front with the focus");
    if (HIMC h = ImmGetContext(gmWindow)) {
      ImmSetOpenStatus(h, TRUE);
      ImmReleaseContext(gmWindow, h);
    }
    imedrv::Pump(200);
    g_resultBytes.clear();
    for (UINT vk : {'R', 'K'}) Key(vk);
    Key(VK_SPACE);
    wtest::WaitUntil([] { return g_resultBytes.size() >= 3; });
    check(g_resultBytes == "\x88\x9F ", "GM edition: result bytes %s, expected 88 9F 20",
          imedrv::Hex(g_resultBytes).c_str());
    DestroyWindow(gmWindow);
  }

  boxes.Stop();
  ActivateKeyboardLayout(previous, 0);
  DestroyWindow(hwnd);
  return wtest::finish();
}

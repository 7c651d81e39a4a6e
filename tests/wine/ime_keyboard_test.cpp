// The keyboard road: installs the built input method as a keyboard layout,
// activates it, types r k s k and Space, then Enter after r k, with
// SendInput into its own window, and checks that the window receives the
// result string in WM_IME_COMPOSITION, then WM_IME_CHAR and WM_CHAR.
//
//   ime_keyboard_test.exe <path of ZORBENV6.IME>
#include "check.h"
#include "ime_driver.h"

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
        if (HIMC himc = ImmGetContext(hwnd)) {
          wchar_t buf[64]{};
          LONG bytes = ImmGetCompositionStringW(himc, GCS_RESULTSTR, buf, sizeof buf - sizeof(wchar_t));
          if (bytes > 0) g_results.append(reinterpret_cast<const char16_t*>(buf), bytes / sizeof(wchar_t));
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

void Key(UINT vk) {
  INPUT in[2]{};
  for (int i = 0; i < 2; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = static_cast<WORD>(vk);
    in[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, 0));
  }
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
  imedrv::Pump(80);
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = sizeof(void*) == 8 ? "win64 keyboard" : "win32 keyboard";
  if (argc < 2) {
    std::printf("usage: ime_keyboard_test <ime path> [<dictionary>]\n");
    return 2;
  }
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VALDRIMO\\GeulmaruV6\\ZO");
  if (argc >= 3) check(imedrv::SetDictionaryPath(L"ZO", argv[2]), "dictionary path written");

  // The input method manager finds an input method by its file name in the
  // system folder (syswow64 for a 32-bit process in a 64-bit prefix, which
  // GetSystemDirectory already gives).
  wchar_t sys[MAX_PATH];
  GetSystemDirectoryW(sys, MAX_PATH);
  std::wstring target = std::wstring(sys) + L"\\ZORBENV6.IME";
  int n = MultiByteToWideChar(CP_ACP, 0, argv[1], -1, nullptr, 0);
  std::wstring source(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, argv[1], -1, &source[0], n);
  if (!check(CopyFileW(source.c_str(), target.c_str(), FALSE) != 0, "copy the input method into the system folder (error %lu)",
             GetLastError()))
    return wtest::finish();

  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ImeKeyboardTest";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"ime keyboard test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                              400, 200, nullptr, nullptr, wc.hInstance, nullptr);
  if (!check(hwnd != nullptr, "window created")) return wtest::finish();

  imedrv::BoxWatcher boxes;
  boxes.Start();
  HKL hkl = ImmInstallIMEW(target.c_str(), L"Geulmaru Korean (test)");
  if (!check(hkl != nullptr, "ImmInstallIME gives a layout (error %lu)", GetLastError())) {
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
  imedrv::Pump(300);
  HIMC himc = ImmGetContext(hwnd);
  if (check(himc != nullptr, "the window has an input context")) {
    ImmSetOpenStatus(himc, TRUE);
    ImmReleaseContext(hwnd, himc);
  }
  imedrv::Pump(200);
  for (const std::u16string& t : boxes.Texts()) note("message box: %s", imedrv::Utf8(t).c_str());

  // r k s k: the first syllable is committed when the second begins; Space
  // commits the second with the blank.
  for (UINT vk : {'R', 'K', 'S', 'K'}) Key(vk);
  Key(VK_SPACE);
  imedrv::Pump(300);
  const std::u16string expected1 = u"\xAC00\xB098 ";
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
  imedrv::Pump(300);
  check(g_results == u"\xAC00", "Enter: result %s, expected U+AC00", imedrv::Hex(g_results).c_str());
  check(g_chars == u"\xAC00", "Enter: WM_CHAR %s, expected U+AC00 only", imedrv::Hex(g_chars).c_str());

  boxes.Stop();
  ActivateKeyboardLayout(previous, 0);
  DestroyWindow(hwnd);
  return wtest::finish();
}

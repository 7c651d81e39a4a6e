// The status toolbar, the on-screen keyboard and the companions on the
// keyboard road: the input method of the installed suite active for this
// program's window, clicked with the mouse (SendInput):
//  - the toolbar appears with the input method (size, place, sampled pixels);
//  - the input-mode button closes and opens the input method, so the same
//    keys type ASCII and then Hangul again;
//  - the keyboard button shows the on-screen keyboard; clicked keys type
//    their jamo into this window, the marked keys follow the syllable, a
//    latched Shift types the shifted jamo, the close box hides it;
//  - the lookup button opens the lookup window (a stand-in QuillonV6.dll in
//    the program folder) and a character sent from it reaches the window;
//  - the pad and workbench buttons start a stand-in sender (as Vestra.EXE
//    and DALMOK.EXE) whose text is committed into the window;
//  - the switch shows all twelve buttons; a drag by the grip moves the
//    toolbar and writes its place.
//
//   ime_toolbar_test.exe <QuillonV6.dll> <companion_sender.exe> <screenshot folder> <GmV6KS.dic>
//   (the suite installed by GeulmaruSetup.exe; the program folder is pointed
//   at a folder of stand-ins for the time of the test)
#include "check.h"
#include "ime_driver.h"
#include "ime_wait.h"
#include "ime_layouts.h"
#include "input.h"
#include "screenshot.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

using wtest::check;
using wtest::check_eq;
using wtest::note;

namespace {

std::u16string g_results;  // GCS_RESULTSTR strings in arrival order
std::u16string g_chars;    // WM_CHAR

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_IME_COMPOSITION && (lp & GCS_RESULTSTR)) g_results += imedrv::ResultString(hwnd);
  if (msg == WM_CHAR) {
    g_chars.push_back(static_cast<char16_t>(wp));
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

using imedrv::Pump;

// A visible window of the class on this thread.
HWND Shown(const wchar_t* cls) {
  const std::vector<HWND> w = imedrv::ThreadWindows(cls, true);
  return w.empty() ? nullptr : w[0];
}

using imedrv::WorkArea;
RECT Rect(HWND w) { return imedrv::WindowRect(w); }

using wtest::MouseButton;
using wtest::MouseTo;
void Click(HWND w, int x, int y) { wtest::ClickClient(w, x, y); }

void Key(UINT vk) { imedrv::PressKey(vk); }

std::u16string Composition(HWND hwnd) {
  std::u16string s;
  if (HIMC himc = ImmGetContext(hwnd)) {
    wchar_t buf[64]{};
    const LONG bytes = ImmGetCompositionStringW(himc, GCS_COMPSTR, buf, sizeof buf - sizeof(wchar_t));
    if (bytes > 0) s.assign(reinterpret_cast<const char16_t*>(buf), bytes / sizeof(wchar_t));
    ImmReleaseContext(hwnd, himc);
  }
  return s;
}

bool OpenStatus(HWND hwnd) {
  bool open = false;
  if (HIMC himc = ImmGetContext(hwnd)) {
    open = ImmGetOpenStatus(himc) != FALSE;
    ImmReleaseContext(hwnd, himc);
  }
  return open;
}

// Waits until text has arrived among the results (or time runs out).
bool WaitForResult(const std::u16string& text, DWORD ms) { return imedrv::WaitForText(g_results, text, ms); }

std::string ReadFile(const std::string& path) {
  std::ifstream f(path);
  std::string line;
  std::getline(f, line);
  return line;
}

// Toolbar geometry: button i's centre, the small buttons.
POINT ButtonCentre(int i) { return {53 + 22 * i + 11, 18}; }

// The face of a key cap of the on-screen keyboard (left part of its lower
// half: no label and no jamo there), in the guide's client coordinates.
POINT CapFace(int left, int top) { return {left + 5, top + 20}; }

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 toolbar";
  if (argc < 5) {
    std::printf("usage: ime_toolbar_test <QuillonV6.dll> <companion_sender.exe> <screenshot folder> <dictionary>\n");
    return 2;
  }
  const std::wstring shots = imedrv::WidenArg(argv[3]);
  CreateDirectoryW(shots.c_str(), nullptr);

  // The program folder: <temp>\toolbarNNN\GeulmaruV6\ with the stand-ins.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string install = std::string(temp) + "toolbar" + std::to_string(GetCurrentProcessId());
  const std::string folder = install + "\\GeulmaruV6\\";
  // The folder, its files and the settings go on every way out.
  imeinst::Leftovers leftovers({L"ZO"});
  CreateDirectoryA(leftovers.Folder(install).c_str(), nullptr);
  CreateDirectoryA(leftovers.Folder(folder).c_str(), nullptr);
  for (const char* f : {"QuillonV6.dll", "Vestra.EXE", "DALMOK.EXE", "Vestra.EXE.txt", "DALMOK.EXE.txt"}) {
    leftovers.File(folder + f);
  }
  check(CopyFileA(argv[1], (folder + "QuillonV6.dll").c_str(), FALSE) != 0, "lookup stand-in in the program folder");
  check(CopyFileA(argv[2], (folder + "Vestra.EXE").c_str(), FALSE) != 0 &&
            CopyFileA(argv[2], (folder + "DALMOK.EXE").c_str(), FALSE) != 0,
        "sender stand-ins in the program folder");
  // The installed suite's value comes back when the test ends.
  const imeinst::InstallDirectoryOverride installOverride(imeinst::Widen(install.c_str()));
  check(installOverride.Set(), "Install Directory set");
  imeinst::ResetImeSettings(L"ZO");
  check(imeinst::SetImeValue(L"ZO", L"Modes", L"Mikaku", L"3") && imedrv::SetDictionaryPath(L"ZO", argv[4]),
        "settings written");

  HWND hwnd = imedrv::CreateTestWindow(WndProc, L"ImeToolbarTest", L"ime toolbar test", {100, 80, 600, 340},
                                       static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!check(hwnd != nullptr, "window created")) return wtest::finish();

  imedrv::BoxWatcher boxes;
  boxes.Start();
  HKL hkl = reinterpret_cast<HKL>(codeconv::FindImeLayoutByName("ZORBENV6.IME"));
  if (!check(hkl != nullptr, "a layout of the installed ZORBENV6.IME is found by its file name")) return wtest::finish();
  HKL previous = ActivateKeyboardLayout(hkl, 0);
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
  check(imedrv::WaitForKeyboardFocus(hwnd), "the window is in front with the focus");
  // The first key brings the window's context over to the input method;
  // opening it then makes the input method's UI window.
  Key('R');
  Key(VK_ESCAPE);
  if (HIMC himc = ImmGetContext(hwnd)) {
    ImmSetOpenStatus(himc, TRUE);
    ImmReleaseContext(hwnd, himc);
  }
  HWND bar = nullptr;
  wtest::WaitUntil([&] { return (bar = Shown(L"warbenv3Status")) != nullptr; });
  Pump(100);  // the Escape's messages, before the records are cleared
  g_results.clear();
  g_chars.clear();

  // ---- the toolbar appears ---------------------------------------------------------
  if (!check(bar != nullptr, "the status toolbar shows with the input method")) {
    boxes.Stop();
    return wtest::finish();
  }
  const RECT work = WorkArea();
  RECT br = Rect(bar);
  check(br.right - br.left == 310 && br.bottom - br.top == 29, "toolbar of eleven buttons: 310 x 29 (got %ld x %ld)",
        br.right - br.left, br.bottom - br.top);
  check(br.right == work.right && br.bottom == work.bottom, "at the work area's bottom right (%ld,%ld)-(%ld,%ld)",
        br.left, br.top, br.right, br.bottom);
  wtest::Shot shot = wtest::Capture(bar, shots, L"toolbar");
  auto blue = [](COLORREF c) { return GetBValue(c) > 140 && GetRValue(c) < 90; };
  check(shot.at(3, 15) == RGB(255, 255, 255), "grip ridge drawn (0x%06lx)", static_cast<unsigned long>(shot.at(3, 15)));
  check(wtest::Near(shot.at(2, 3), RGB(10, 36, 106), 40), "top strip drawn (0x%06lx)", static_cast<unsigned long>(shot.at(2, 3)));
  const RECT button0{55, 9, 73, 27};
  const int hangulInk = shot.Count(button0, blue);
  check(hangulInk > 10, "the input-mode button shows Hangul input (%d blue pixels)", hangulInk);
  check(wtest::Near(shot.at(295 + 4, 18 + 5), RGB(0, 160, 64), 30), "the on/off button shows the open lamp (0x%06lx)",
        static_cast<unsigned long>(shot.at(299, 23)));

  // ---- the input-mode button ---------------------------------------------------------
  for (UINT vk : {UINT{'R'}, UINT{'K'}, UINT{VK_SPACE}}) Key(vk);
  wtest::WaitUntil([&] { return g_results == u"\xAC00 "; });
  check(g_results == u"\xAC00 ", "Hangul: r k Space commit U+AC00 and a blank (%s)", imedrv::Hex(g_results).c_str());
  g_results.clear();
  g_chars.clear();
  Click(bar, ButtonCentre(0).x, ButtonCentre(0).y);
  wtest::WaitUntil([&] { return !OpenStatus(hwnd); });
  check(!OpenStatus(hwnd), "a click on the input-mode button closes the input method");
  for (UINT vk : {'R', 'K'}) Key(vk);
  wtest::WaitUntil([&] { return g_chars == u"rk" && g_results.empty(); });
  check(g_chars == u"rk" && g_results.empty(), "closed: the same keys type ASCII (%s)", imedrv::Hex(g_chars).c_str());
  shot = wtest::Capture(bar, shots, L"toolbar-closed");
  check(shot.Count(button0, blue) < hangulInk / 4, "the input-mode button shows alphanumeric input");
  check(!wtest::Near(shot.at(299, 23), RGB(0, 160, 64), 30), "the on/off button shows closed");
  Click(bar, ButtonCentre(0).x, ButtonCentre(0).y);
  wtest::WaitUntil([&] { return OpenStatus(hwnd); });
  check(OpenStatus(hwnd), "a second click opens it in Hangul input");
  // A press released away from the button does nothing.
  POINT from = ButtonCentre(0), away = ButtonCentre(5);
  ClientToScreen(bar, &from);
  ClientToScreen(bar, &away);
  MouseTo(from);
  MouseButton(true);
  MouseTo(away);
  MouseButton(false);
  wtest::WaitForInputHandled();
  check(OpenStatus(hwnd), "a press on the input-mode button released elsewhere changes nothing");
  g_results.clear();
  g_chars.clear();
  for (UINT vk : {UINT{'R'}, UINT{'K'}, UINT{VK_SPACE}}) Key(vk);
  wtest::WaitUntil([&] { return g_results == u"\xAC00 "; });
  check(g_results == u"\xAC00 ", "Hangul again: r k Space commit U+AC00 (%s)", imedrv::Hex(g_results).c_str());

  // ---- the on-screen keyboard --------------------------------------------------------
  // Buttons of "101111111111": functions 1, 3, 4, 5, 6, ... at positions 0, 1, 2, 3, 4, ...
  Click(bar, ButtonCentre(2).x, ButtonCentre(2).y);
  HWND guide = nullptr;
  wtest::WaitUntil([&] { return (guide = Shown(L"warbenv3Guide")) != nullptr; });
  if (check(guide != nullptr, "the keyboard button shows the on-screen keyboard")) {
    const RECT gr = Rect(guide), app = Rect(hwnd);
    check(gr.right - gr.left == 473 && gr.bottom - gr.top == 163, "keyboard window 473 x 163 (got %ld x %ld)",
          gr.right - gr.left, gr.bottom - gr.top);
    check(gr.right == std::min(app.right, work.right) && gr.top == app.bottom,
          "right-aligned under the application window (%ld,%ld)", gr.left, gr.top);
    g_results.clear();
    g_chars.clear();
    // Keys of the 106-key keyboard (client coordinates): r at row 1, column
    // 3; k at row 2, column 7; q and y at row 1, columns 0 and 5.
    const POINT r{14 + 3 * 33 + 16, 21 + 28 + 14}, k{23 + 7 * 33 + 16, 21 + 56 + 14};
    const POINT q = CapFace(14, 49), y = CapFace(14 + 5 * 33, 49);
    Click(guide, r.x, r.y);
    wtest::WaitUntil([&] { return Composition(hwnd) == u"\x3131"; });
    check(Composition(hwnd) == u"\x3131", "a click on the r key types U+3131 (%s)", imedrv::Hex(Composition(hwnd)).c_str());
    shot = wtest::Capture(guide, shots, L"guide-consonant");
    RECT client = wtest::ClientInShot(guide);
    const COLORREF marked = RGB(168, 168, 168), plain = RGB(250, 250, 250);
    auto at = [&](POINT p) { return shot.at(client.left + p.x, client.top + p.y); };
    check(at(q) == marked, "after a consonant the consonant keys are marked (q: 0x%06lx)", static_cast<unsigned long>(at(q)));
    check(at(y) == plain, "and the vowel keys are not (y: 0x%06lx)", static_cast<unsigned long>(at(y)));
    Click(guide, k.x, k.y);
    wtest::WaitUntil([&] { return Composition(hwnd) == u"\xAC00"; });
    check(Composition(hwnd) == u"\xAC00", "then the k key makes U+AC00 (%s)", imedrv::Hex(Composition(hwnd)).c_str());
    shot = wtest::Capture(guide, shots, L"guide-syllable");
    check(at(q) == plain, "after a syllable the consonant keys are free (q: 0x%06lx)", static_cast<unsigned long>(at(q)));
    check(at(y) == marked, "and the vowel keys are marked (y: 0x%06lx)", static_cast<unsigned long>(at(y)));
    Click(guide, y.x, y.y - 6);
    wtest::WaitForInputHandled();
    check(Composition(hwnd) == u"\xAC00", "a marked key types nothing");
    Click(guide, 438, 63);  // Enter, upper half
    wtest::WaitUntil([&] { return g_results == u"\xAC00" && Composition(hwnd).empty(); });
    check(g_results == u"\xAC00" && Composition(hwnd).empty(), "Enter on the keyboard commits U+AC00 (%s)",
          imedrv::Hex(g_results).c_str());
    // Shift latches: the shifted jamo, and the latch stays for the next key.
    Click(guide, 430, 21 + 84 + 14);
    Click(guide, r.x, r.y);
    wtest::WaitUntil([&] { return Composition(hwnd) == u"\x3132"; });
    check(Composition(hwnd) == u"\x3132", "latched Shift then r types U+3132 (%s)", imedrv::Hex(Composition(hwnd)).c_str());
    shot = wtest::Capture(guide, shots, L"guide-shift");
    check(wtest::Near(at({405, 21 + 84 + 22}), RGB(196, 208, 228), 12), "the Shift key stays drawn pressed (0x%06lx)",
          static_cast<unsigned long>(at({405, 21 + 84 + 22})));
    Click(guide, 430, 21 + 84 + 14);  // unlatch
    Key(VK_ESCAPE);
    // The close box hides the keyboard.
    RECT gc{};
    GetClientRect(guide, &gc);
    Click(guide, gc.right - 12, 10);
    wtest::WaitUntil([&] { return !IsWindowVisible(guide); });
    check(!IsWindowVisible(guide), "the close box hides the on-screen keyboard");
  }

  // ---- the lookup window ----------------------------------------------------------
  g_results.clear();
  Click(bar, ButtonCentre(1).x, ButtonCentre(1).y);
  HWND lookup = nullptr;
  wtest::WaitUntil([&] { return (lookup = FindWindowA("QuillonStandIn", nullptr)) != nullptr; });
  if (check(lookup != nullptr, "the lookup button opens the lookup window (stand-in QuillonV6.dll)")) {
    char text[256]{};
    GetWindowTextA(lookup, text, sizeof text);
    note("lookup window given: %s", text);
    char expected[128];
    std::snprintf(expected, sizeof expected, "code=1 face=");
    check(std::string(text).rfind(expected, 0) == 0, "code number 1 given");
    check(std::strstr(text, "file=ZORBENV6.IME ") != nullptr, "the input method's file name given");
    std::snprintf(expected, sizeof expected, "app=%p ", static_cast<void*>(hwnd));
    check(std::strstr(text, expected) != nullptr, "this window as the application window");
    check(std::strstr(text, "ui=00000000") == nullptr, "the UI window posted to it with WM_LOOKUP_CHAR");
    Click(bar, ButtonCentre(1).x, ButtonCentre(1).y);
    check(FindWindowExA(nullptr, lookup, "QuillonStandIn", nullptr) == nullptr, "a second press opens no second lookup window");
    SendMessageA(lookup, WM_APP + 1, 0x9F88, 0);  // GM95 88 9F: 가
    wtest::WaitUntil([&] { return g_results == u"\xAC00"; });
    check(g_results == u"\xAC00", "a character picked in the lookup window reaches the window (%s)",
          imedrv::Hex(g_results).c_str());
    SendMessageA(lookup, WM_APP + 2, 0, 0);
    wtest::WaitUntil([&] { return Shown(L"warbenv3Status") == bar; });
    check(Shown(L"warbenv3Status") == bar, "the toolbar shows again after the lookup window closes");
  }

  // ---- the pad and the workbench ------------------------------------------------------
  g_results.clear();
  Click(bar, ButtonCentre(3).x, ButtonCentre(3).y);
  check(WaitForResult(u"\xD55C\xAD6D\xC5B4", 2 * wtest::StartAllowance(64)), "the pad's text is committed into the window (%s)",
        imedrv::Hex(g_results).c_str());
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, " %d 1", static_cast<int>(reinterpret_cast<intptr_t>(hwnd)));
  const std::string padLine = ReadFile(folder + "Vestra.EXE.txt");
  note("pad command line numbers: %s", padLine.c_str());
  check(padLine.find(numbers) != std::string::npos, "the pad got the UI window, this window and code 1");
  g_results.clear();
  Click(bar, ButtonCentre(4).x, ButtonCentre(4).y);
  check(WaitForResult(u"\xC548\xB155", 2 * wtest::StartAllowance(64)), "the workbench's text is committed into the window (%s)",
        imedrv::Hex(g_results).c_str());
  check(ReadFile(folder + "DALMOK.EXE.txt").find(numbers) != std::string::npos,
        "the workbench got the UI window, this window and code 1");
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
  Pump(200);

  // ---- the switch and the grip -----------------------------------------------------------
  Click(bar, 53 + 22 * 11 + 5, 12);
  wtest::WaitUntil([&] { return Rect(bar).right - Rect(bar).left == 332; });
  br = Rect(bar);
  check(br.right - br.left == 332, "the switch shows all twelve buttons (width %ld)", br.right - br.left);
  check(br.right == work.right, "and moves the toolbar left to stay in the work area");
  wtest::Capture(bar, shots, L"toolbar-full");
  Click(bar, 53 + 22 * 12 + 5, 12);
  wtest::WaitUntil([&] { return Rect(bar).right - Rect(bar).left == 310; });
  check(Rect(bar).right - Rect(bar).left == 310, "a second click goes back to the configured buttons");
  const RECT before = Rect(bar);
  POINT grip{20, 18};
  ClientToScreen(bar, &grip);
  MouseTo(grip);
  MouseButton(true);
  MouseTo({grip.x - 150, grip.y - 120});
  MouseTo({grip.x - 300, grip.y - 240});
  MouseButton(false);
  const std::wstring pos = imeinst::EditionKey(L"ZO", L"WindowPos");
  // The place is written when the drag ends.
  wtest::WaitUntil([&] {
    const RECT r = Rect(bar);
    return r.left == before.left - 300 && r.top == before.top - 240 &&
           imeinst::GetString(HKEY_CURRENT_USER, pos, L"Xpos") == std::to_wstring(r.left);
  });
  br = Rect(bar);
  check(br.left == before.left - 300 && br.top == before.top - 240, "the grip drags the toolbar (%ld,%ld)", br.left,
        br.top);
  check(imeinst::GetString(HKEY_CURRENT_USER, pos, L"Xpos") == std::to_wstring(br.left) &&
            imeinst::GetString(HKEY_CURRENT_USER, pos, L"Ypos") == std::to_wstring(br.top),
        "and writes its place to WindowPos");
  // A drag past the screen's corner ends inside the work area.
  grip = {20, 18};
  ClientToScreen(bar, &grip);
  MouseTo(grip);
  MouseButton(true);
  MouseTo({grip.x - 400, grip.y - 300});
  MouseTo({0, 0});
  MouseButton(false);
  wtest::WaitUntil([&] {
    const RECT r = Rect(bar);
    return r.left == work.left && r.top == work.top &&
           imeinst::GetString(HKEY_CURRENT_USER, pos, L"Xpos") == std::to_wstring(work.left);
  });
  br = Rect(bar);
  check(br.left == work.left && br.top == work.top, "a drag past the corner stops at the work area (%ld,%ld)", br.left,
        br.top);
  check(imeinst::GetString(HKEY_CURRENT_USER, pos, L"Xpos") == std::to_wstring(work.left) &&
            imeinst::GetString(HKEY_CURRENT_USER, pos, L"Ypos") == std::to_wstring(work.top),
        "and writes the place inside it");

  boxes.Stop();
  for (const std::u16string& t : boxes.Texts()) note("message box: %s", imedrv::Utf8(t).c_str());
  ActivateKeyboardLayout(previous, 0);
  DestroyWindow(hwnd);
  return wtest::finish();
}

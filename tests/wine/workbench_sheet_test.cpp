// The installed workbench's settings sheet (32-bit), opened by the frame's
// command "環境設定" (233) and driven from outside: its pages in order (the
// voice page present, since the speech engine loads), a value changed on
// each page that has one to change, a volume of 151 refused with the range
// message, OK, and what the registry then holds:
//   - the voice: "VoiceVolume" under "SOFTWARE\Valdrimo\Sonavo50";
//   - the dictionary page: "SearchMethod" "2" (後方一致) and "NotNwWindow"
//     "0" (新しいウィンドウで開く) under the dictionary program's key;
//   - the font page: the Japanese slot's "Height" from the size chosen,
//     -(MulDiv(points x 100, dpi, 72) / 100), and the Korean size written
//     under both Korean keys while the other key's face stays;
// screenshots of each page.  Help: the frame's "目次", F1 in a pane and the sheet's Help
// button on every page open Wine's help viewer, which stays open only when
// "Dalmok.chm" lies where the program looks and its context map holds the
// topic asked for.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <string>
#include <vector>

#include "check.h"
#include "ime_driver.h"
#include "ime_install.h"
#include "ime_link.h"
#include "screenshot.h"
#include "wait.h"
#include "workbench_drive.h"

using wtest::check;
using wtest::CheckWithin;
using wtest::WaitUntil;

using namespace wbdrive;

namespace {

HWND g_frame = nullptr;

LRESULT CALLBACK ReceiverProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == imelink::WM_WORKBENCH_CHAR) {
    if (wParam == imelink::kAnnounce && lParam) g_frame = reinterpret_cast<HWND>(lParam);
    return 0;
  }
  return DefWindowProcW(w, message, wParam, lParam);
}

HWND MakeWindow(const wchar_t* cls, const wchar_t* title, int x) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ReceiverProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = cls;
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, cls, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, 40, 300, 200, nullptr, nullptr,
                           wc.hInstance, nullptr);
  wtest::Pump(50);
  return w;
}

std::wstring Reg(const wchar_t* path, const wchar_t* name) {
  return imeinst::GetString(HKEY_CURRENT_USER, path, name);
}

const wchar_t kDalmok[] = L"SOFTWARE\\Valdrimo\\GeulmaruV6\\Dalmok\\";

// The page at index shown and its window.
HWND ShowPage(HWND sheet, int index) {
  PostMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
  HWND page = nullptr;
  HWND tab = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
  CheckWithin(
      Allowance(),
      [&] {
        page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        return page && SendMessageW(tab, TCM_GETCURSEL, 0, 0) == index && IsWindowVisible(page);
      },
      [&] { return std::to_string(SendMessageW(tab, TCM_GETCURSEL, 0, 0)); }, "the sheet shows page %d", index);
  return page;
}

// A help request of the workbench (ask) opens the help viewer: its window
// comes, and is still there once the workbench's thread answers again (the
// viewer closes its window at once when the file lacks the topic).
void HelpOpens(DWORD pid, const char* what, void (*ask)(HWND), HWND target) {
  ask(target);
  HWND viewer = nullptr;
  if (!CheckWithin(
          Allowance(), [&] { return (viewer = wtest::FindProcessWindow(pid, L"HH Parent", nullptr)) != nullptr; },
          [] { return std::string("no viewer window"); }, "%s opens the help viewer", what)) {
    wtest::NoteProcessWindows(pid);
    return;
  }
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(viewer, WM_NULL, 0, 0, SMTO_NORMAL, Allowance(), &answer);
  check(IsWindow(viewer) != FALSE, "%s: the help file holds the topic (the viewer stays open)", what);
  PostMessageW(viewer, WM_CLOSE, 0, 0);
  CheckWithin(
      Allowance(), [&] { return wtest::FindProcessWindow(pid, L"HH Parent", nullptr) == nullptr; },
      [] { return std::string("still open"); }, "the help viewer closes");
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 workbench sheet";
  if (argc != 2) {
    std::printf("usage: workbench_sheet_test <screenshot folder>\n");
    return 2;
  }
  const std::wstring shots = imedrv::WidenArg(argv[1]);
  const std::wstring folder = WorkbenchFolder();
  if (folder.empty()) return wtest::finish();
  const std::wstring speechData = imeinst::SetSpeechDataFolder(L"workbench-sheet-ddb");

  HWND receiver = MakeWindow(L"SheetTestReceiver", L"input method UI window", 20);
  HWND application = MakeWindow(L"SheetTestApplication", L"application", 340);
  PROCESS_INFORMATION pi{};
  if (!check(StartWorkbench(folder, receiver, application, pi), "DALMOK.EXE starts")) return wtest::finish();
  CheckWithin(
      2 * Allowance(), [&] { return g_frame != nullptr && IsWindowVisible(g_frame); },
      [] { return std::string(g_frame ? "hidden" : "no announcement"); }, "the workbench's frame shows");
  if (!g_frame) {
    TerminateProcess(pi.hProcess, 9);
    return wtest::finish();
  }
  // The font slots the frame read at start-up: new keys with the defaults.
  check(Reg((std::wstring(kDalmok) + L"JapaneseFont").c_str(), L"Height") == L"-21" &&
            Reg((std::wstring(kDalmok) + L"JapaneseFont").c_str(), L"FaceName") == L"ＭＳ 明朝",
        "start-up wrote the Japanese font slot's defaults (-21, ＭＳ 明朝)");
  check(Reg((std::wstring(kDalmok) + L"KoreanFontKS").c_str(), L"FaceName") == L"KS Mincho",
        "start-up wrote the KS slot's default face KS Mincho");
  check(Reg(L"SOFTWARE\\Valdrimo\\GeulmaruV6\\Dalmok", L"SelectIME") == L"JP:Text Services Framework",
        "start-up stored the text-services name as \"SelectIME\"");

  HelpOpens(pi.dwProcessId, "the frame's 目次 (57666)", [](HWND frame) { PostMessageW(frame, WM_COMMAND, 57666, 0); },
            g_frame);
  // F1 in the Japanese pane (the WM_KEYF1 that the system's keyboard input
  // posts for it) reaches the frame as WM_HELP.
  HelpOpens(pi.dwProcessId, "F1 in the Japanese pane", [](HWND pane) { PostMessageW(pane, 0x004D /* WM_KEYF1 */, 0, 0); },
            FindChild(g_frame, L"Edit"));

  PostMessageW(g_frame, WM_COMMAND, 233, 0);
  HWND sheet = wtest::WaitForProcessWindow(pi.dwProcessId, L"#32770", L"環境設定", Allowance());
  if (!check(sheet != nullptr, "command 233 opens the sheet 環境設定")) {
    TerminateProcess(pi.hProcess, 9);
    return wtest::finish();
  }
  HWND tab = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
  CheckWithin(
      Allowance(), [&] { return tab && SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0) == 4; },
      [&] { return std::to_string(tab ? SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0) : -1) + " pages"; },
      "with the speech engine loaded the sheet has four pages");
  check(!IsWindowVisible(GetDlgItem(sheet, 0x3021)), "the sheet has no Apply button");
  check(IsWindowVisible(GetDlgItem(sheet, IDHELP)) != FALSE, "the sheet has a Help button");
  for (int i = 0; i < 4; ++i) {
    ShowPage(sheet, i);
    const std::string what = "Help on page " + std::to_string(i + 1);
    HelpOpens(pi.dwProcessId, what.c_str(), [](HWND s) { PostMessageW(s, PSM_PRESSBUTTON, PSBTN_HELP, 0); }, sheet);
  }

  // ---- the input method ----
  HWND page = ShowPage(sheet, 0);
  check(page && GetDlgItem(page, 1025) != nullptr, "page 1 (日本語IME) holds the input-method list");
  wtest::Capture(sheet, shots, L"workbench-sheet-ime");

  // ---- the voice ----
  page = ShowPage(sheet, 1);
  HWND volumeEdit = page ? GetDlgItem(page, 1015) : nullptr;
  HWND volumeSlider = page ? GetDlgItem(page, 1010) : nullptr;
  if (check(volumeEdit && volumeSlider, "page 2 (音声) holds the volume slider and box")) {
    check(SendMessageW(volumeSlider, TBM_GETRANGEMIN, 0, 0) == 50 && SendMessageW(volumeSlider, TBM_GETRANGEMAX, 0, 0) == 150,
          "the volume slider runs 50-150");
    check(Text(volumeEdit) == L"100", "the volume starts at 100: %s", U8(Text(volumeEdit)).c_str());
    SendMessageW(volumeEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"151"));
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(1015, EN_KILLFOCUS), reinterpret_cast<LPARAM>(volumeEdit));
    HWND box = wtest::WaitForProcessWindow(pi.dwProcessId, L"#32770", L"ボリューム", Allowance());
    HWND text = box ? GetDlgItem(box, 0xFFFF) : nullptr;
    check(box && Text(text) == L"50-150の範囲で値を設定してください。", "151 is refused naming the range 50-150 (%s)",
          box ? U8(Text(text)).c_str() : "no box");
    if (box) {
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      CheckWithin(
          Allowance(), [&] { return !IsWindow(box); }, [] { return std::string("still open"); }, "the box closes");
    }
    CheckWithin(
        Allowance(), [&] { return Text(volumeEdit) == L"100"; }, [&] { return U8(Text(volumeEdit)); },
        "the refused box gets the slider's 100 back");
    SendMessageW(volumeEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"120"));
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(1015, EN_KILLFOCUS), reinterpret_cast<LPARAM>(volumeEdit));
    CheckWithin(
        Allowance(), [&] { return SendMessageW(volumeSlider, TBM_GETPOS, 0, 0) == 120; },
        [&] { return std::to_string(SendMessageW(volumeSlider, TBM_GETPOS, 0, 0)); }, "120 typed moves the slider");
  }
  wtest::Capture(sheet, shots, L"workbench-sheet-voice");

  // ---- the dictionary program ----
  page = ShowPage(sheet, 2);
  HWND backward = page ? GetDlgItem(page, 1030) : nullptr;
  HWND newWindow = page ? GetDlgItem(page, 1031) : nullptr;
  if (check(backward && newWindow, "page 3 (韓日・日韓辞典) holds its radio groups")) {
    check(SendMessageW(GetDlgItem(page, 1028), BM_GETCHECK, 0, 0) == BST_CHECKED &&
              SendMessageW(GetDlgItem(page, 1032), BM_GETCHECK, 0, 0) == BST_CHECKED,
          "it starts from the dictionary settings' defaults (標準, 新しいウィンドウで開かない)");
    PostMessageW(backward, BM_CLICK, 0, 0);
    PostMessageW(newWindow, BM_CLICK, 0, 0);
    CheckWithin(
        Allowance(),
        [&] {
          return SendMessageW(backward, BM_GETCHECK, 0, 0) == BST_CHECKED &&
                 SendMessageW(newWindow, BM_GETCHECK, 0, 0) == BST_CHECKED;
        },
        [] { return std::string("not both checked"); }, "後方一致 and 新しいウィンドウで開く chosen");
  }
  wtest::Capture(sheet, shots, L"workbench-sheet-dictionary");

  // ---- the fonts ----
  page = ShowPage(sheet, 3);
  HWND japaneseSizes = page ? GetDlgItem(page, 1026) : nullptr;
  HWND koreanSizes = page ? GetDlgItem(page, 1025) : nullptr;
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  auto heightOf = [&](int points) { return -(MulDiv(points * 100, dpi, 72) / 100); };
  std::wstring expectedJapanese, expectedKorean;
  auto chooseSize = [&](HWND list, int id, std::wstring& expected, const char* side) {
    const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    if (count < 2) {
      wtest::note("the %s size list offers %ld sizes: nothing to change", side, static_cast<long>(count));
      return;
    }
    const LRESULT was = SendMessageW(list, CB_GETCURSEL, 0, 0);
    const LRESULT now = was == 0 ? 1 : 0;
    PostMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(now), 0);
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    CheckWithin(
        Allowance(), [&] { return SendMessageW(list, CB_GETCURSEL, 0, 0) == now; },
        [&] { return std::to_string(SendMessageW(list, CB_GETCURSEL, 0, 0)); }, "another %s size chosen", side);
    const int points = _wtoi(Text(list).c_str());
    check(points > 0, "the %s size reads as points: \"%s\"", side, U8(Text(list)).c_str());
    expected = std::to_wstring(heightOf(points));
  };
  if (check(japaneseSizes && koreanSizes, "page 4 (ﾌｫﾝﾄ) holds both size lists")) {
    HWND japaneseFaces = GetDlgItem(page, 283);
    check(SendMessageW(japaneseFaces, LB_GETCOUNT, 0, 0) > 0, "the Japanese face list is filled (%ld faces)",
          static_cast<long>(SendMessageW(japaneseFaces, LB_GETCOUNT, 0, 0)));
    chooseSize(japaneseSizes, 1026, expectedJapanese, "Japanese");
    chooseSize(koreanSizes, 1025, expectedKorean, "Korean");
  }
  wtest::Capture(sheet, shots, L"workbench-sheet-fonts");

  // ---- OK ----
  PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  CheckWithin(
      2 * Allowance(), [&] { return !IsWindow(sheet); }, [] { return std::string("still open"); }, "OK closes the sheet");
  const wchar_t* ombrel = L"SOFTWARE\\Valdrimo\\GeulmaruV6\\Ombrel";
  CheckWithin(
      Allowance(), [&] { return Reg(ombrel, L"SearchMethod") == L"2" && Reg(ombrel, L"NotNwWindow") == L"0"; },
      [&] { return U8(Reg(ombrel, L"SearchMethod") + L"," + Reg(ombrel, L"NotNwWindow")); },
      "the dictionary settings stored: SearchMethod 2, NotNwWindow 0");
  check(Reg(L"SOFTWARE\\Valdrimo\\Sonavo50", L"VoiceVolume") == L"120", "the volume stored as 120: %s",
        U8(Reg(L"SOFTWARE\\Valdrimo\\Sonavo50", L"VoiceVolume")).c_str());
  if (!expectedJapanese.empty()) {
    const std::wstring h = Reg((std::wstring(kDalmok) + L"JapaneseFont").c_str(), L"Height");
    check(h == expectedJapanese, "the Japanese height stored from the size: %s (expected %s)", U8(h).c_str(),
          U8(expectedJapanese).c_str());
  }
  if (!expectedKorean.empty()) {
    const std::wstring ks = Reg((std::wstring(kDalmok) + L"KoreanFontKS").c_str(), L"Height");
    const std::wstring gm = Reg((std::wstring(kDalmok) + L"KoreanFontGM").c_str(), L"Height");
    check(ks == expectedKorean && gm == expectedKorean, "the Korean height goes under both Korean keys: KS %s, GM %s",
          U8(ks).c_str(), U8(gm).c_str());
    check(Reg((std::wstring(kDalmok) + L"KoreanFontGM").c_str(), L"FaceName") == L"ＧＭ韓国明朝",
          "the GM key keeps its own face");
  }

  PostMessageW(g_frame, WM_CLOSE, 0, 0);
  check(WaitForSingleObject(pi.hProcess, 2 * Allowance()) == WAIT_OBJECT_0, "the workbench ends");
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  DestroyWindow(receiver);
  DestroyWindow(application);
  return wtest::finish();
}

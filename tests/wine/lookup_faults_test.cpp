// The lookup library in a host, on the places where it went wrong:
//  - the chosen radical (22008) is drawn in the input method's Korean face;
//  - the lists let go of a mouse capture that an unrelated window took (the
//    code page's cell grid at any change), and keep theirs while the mouse
//    leaves them during a drag;
//  - a missing jamo dictionary is reported when the easy-Hangul page opens
//    and again at the fill after each range toggle;
//  - the host unloads the library from another thread while the sheet is
//    open: the unload returns, the sheet stays usable and closes as usual.
//
//   lookup_faults_test.exe <QuillonV6.dll> <SYSDIC folder of the built data>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>

#include "check.h"
#include "ime_install.h"
#include "pump.h"
#include "wait.h"

using wtest::check;

namespace {

using CreateFn = HWND(WINAPI*)(int, HWND, HWND, int, char*, char*);
using CountFn = int(WINAPI*)();

constexpr UINT kLookupChar = 0x5F6;
constexpr char kFace[] = "NanumGothic";

// Message boxes of this process: counted by caption and closed.
struct Boxes {
  volatile bool stop = false;
  volatile LONG radical = 0, jiso = 0, other = 0;
  wchar_t lastText[128] = {};
} g_boxes;

BOOL CALLBACK CloseBox(HWND w, LPARAM) {
  wchar_t cls[16]{};
  GetClassNameW(w, cls, 16);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  HWND text = GetDlgItem(w, 0xFFFF);
  if (pid != GetCurrentProcessId() || lstrcmpW(cls, L"#32770") != 0 || !text || !IsWindowVisible(w)) return TRUE;
  if (GetPropW(w, L"lookup-faults-seen")) return TRUE;
  SetPropW(w, L"lookup-faults-seen", reinterpret_cast<HANDLE>(1));
  wchar_t caption[64]{};
  GetWindowTextW(w, caption, 64);
  GetWindowTextW(text, g_boxes.lastText, 128);
  if (lstrcmpW(caption, L"部首入力") == 0) {
    InterlockedIncrement(&g_boxes.radical);
  } else if (lstrcmpW(caption, L"ハングル入力") == 0) {
    InterlockedIncrement(&g_boxes.jiso);
  } else {
    InterlockedIncrement(&g_boxes.other);
  }
  PostMessageW(w, WM_COMMAND, IDOK, 0);
  return TRUE;
}

DWORD WINAPI WatchBoxes(LPVOID) {
  while (!g_boxes.stop) {
    EnumWindows(CloseBox, 0);
    Sleep(100);
  }
  return 0;
}

HWND Page(HWND sheet) { return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd, msg, wp, lp); }

std::string CaptureName(HWND expected) {
  HWND c = GetCapture();
  if (!c) return "no window has the capture";
  return c == expected ? "the list has it" : "another window has it";
}

DWORD WINAPI Unload(LPVOID lib) {
  FreeLibrary(static_cast<HMODULE>(lib));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  wtest::report().group = sizeof(void*) == 8 ? "lookup faults64" : "lookup faults32";
  if (argc < 3) {
    std::printf("usage: lookup_faults_test <QuillonV6.dll> <SYSDIC folder>\n");
    return 2;
  }
  // A program folder with the radical dictionary only: the jamo dictionary
  // is missing.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring install = std::wstring(temp) + L"lookupfaults" + std::to_wstring(GetCurrentProcessId());
  const std::wstring sysdic = install + L"\\GeulmaruV6\\SYSDIC";
  CreateDirectoryW(install.c_str(), nullptr);
  CreateDirectoryW((install + L"\\GeulmaruV6").c_str(), nullptr);
  CreateDirectoryW(sysdic.c_str(), nullptr);
  check(CopyFileW((imeinst::Widen(argv[2]) + L"\\GmV6e.dic").c_str(), (sysdic + L"\\GmV6e.dic").c_str(), FALSE) !=
            FALSE,
        "the radical dictionary installed, the jamo dictionary not");
  const imeinst::InstallDirectoryOverride installDirectory(install);
  check(installDirectory.Set(), "Install Directory set");

  HANDLE watcher = CreateThread(nullptr, 0, WatchBoxes, nullptr, 0, nullptr);
  HMODULE lib = LoadLibraryA(argv[1]);
  if (!check(lib != nullptr, "LoadLibrary %s (error %lu)", argv[1], GetLastError())) return wtest::finish();
  const auto create = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(lib, MAKEINTRESOURCEA(1))));
  const auto count = reinterpret_cast<CountFn>(reinterpret_cast<void*>(GetProcAddress(lib, "GetLookupObjectCount")));
  if (!check(create && count, "the library's exports")) return wtest::finish();

  HINSTANCE self = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = self;
  wc.lpszClassName = L"LookupFaultsHost";
  RegisterClassW(&wc);
  HWND receiver = CreateWindowExW(0, wc.lpszClassName, L"ui", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, self, nullptr);
  HWND host = CreateWindowExW(0, wc.lpszClassName, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 400, 400, 200,
                              nullptr, nullptr, self, nullptr);
  HWND unrelated = CreateWindowExW(0, wc.lpszClassName, L"unrelated", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr,
                                   nullptr, self, nullptr);

  char face[sizeof kFace];
  lstrcpynA(face, kFace, sizeof face);
  char name[] = "ZORBENV6.IME";
  HWND sheet = create(static_cast<int>(reinterpret_cast<INT_PTR>(self)), host, receiver, 1, face, name);
  if (!check(sheet && IsWindow(sheet), "the sheet opens")) return wtest::finish();
  PostMessageW(sheet, kLookupChar, reinterpret_cast<WPARAM>(receiver), 0);
  wtest::Pump(200);

  // ---- the chosen radical's face ----
  HWND page = Page(sheet);
  HWND radicals = GetDlgItem(page, 22000);
  HWND chars = GetDlgItem(page, 22001);
  SendMessageW(radicals, LB_SETCURSEL, 1, 0);  // radical 1, 一
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(22000, LBN_SELCHANGE), reinterpret_cast<LPARAM>(radicals));
  LOGFONTW chosen{};
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(page, 22008), WM_GETFONT, 0, 0));
  const bool haveFont = font && GetObjectW(font, sizeof chosen, &chosen) == sizeof chosen;
  check(haveFont && lstrcmpW(chosen.lfFaceName, L"NanumGothic") == 0 && chosen.lfCharSet == HANGEUL_CHARSET,
        "the chosen radical is drawn in the input method's Korean face (%ls, charset %d)",
        haveFont ? chosen.lfFaceName : L"none", haveFont ? chosen.lfCharSet : -1);

  // ---- the lists and the capture ----
  for (HWND list : {radicals, chars}) {
    const char* which = list == radicals ? "the radical list" : "the character list";
    SetCapture(list);
    // A drag that leaves the list: its capture stays.
    SendMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-40, -40));
    check(GetCapture() == list, "%s keeps its capture while the mouse is outside (%s)", which,
          CaptureName(list).c_str());
    // An unrelated window takes the capture: the list lets it go.
    SetCapture(unrelated);
    check(GetCapture() == nullptr, "%s lets go of a capture that an unrelated window took (%s)", which,
          CaptureName(list).c_str());
    ReleaseCapture();
  }
  PropSheet_SetCurSel(sheet, nullptr, 2);
  wtest::WaitUntil([&] { return GetDlgItem(Page(sheet), 22013) != nullptr; });
  HWND cells = GetDlgItem(Page(sheet), 22013);
  HWND rows = GetDlgItem(Page(sheet), 22012);
  if (check(cells && rows, "the code page's grids")) {
    // A capture that moves to a child-less sibling: both grids let go.
    SetCapture(cells);
    SetCapture(unrelated);
    check(GetCapture() == nullptr, "the cell grid lets go of a capture that moved on (%s)", CaptureName(cells).c_str());
    SetCapture(rows);
    SetCapture(unrelated);
    check(GetCapture() == nullptr, "the row grid lets go of a capture that an unrelated window took (%s)",
          CaptureName(rows).c_str());
    ReleaseCapture();
  }

  // ---- the missing jamo dictionary ----
  PropSheet_SetCurSel(sheet, nullptr, 1);
  wtest::CheckWithin(
      wtest::Allowance(), [] { return g_boxes.jiso >= 1; },
      [] { return std::to_string(g_boxes.jiso) + " boxes captioned ハングル入力"; },
      "the easy-Hangul page reports the missing jamo dictionary when it opens");
  HWND jiso = Page(sheet);
  HWND toggle = GetDlgItem(jiso, 22010);
  const LONG opened = g_boxes.jiso;
  check(opened == 1, "once (%ld)", static_cast<long>(opened));
  for (int n = 1; n <= 2; ++n) {
    SendMessageW(toggle, BM_CLICK, 0, 0);
    const std::string what = "range toggle " + std::to_string(n) + ": the fill reports the missing dictionary again";
    wtest::CheckWithin(
        wtest::Allowance(), [&] { return g_boxes.jiso >= opened + n; },
        [] { return std::to_string(g_boxes.jiso) + " boxes captioned ハングル入力"; }, "%s", what.c_str());
    check(SendMessageW(GetDlgItem(jiso, 22027), LB_GETCOUNT, 0, 0) == 0, "and the initials stay empty");
  }
  check(g_boxes.other == 0, "no other box came (%ld; last text: %ls)", static_cast<long>(g_boxes.other),
        g_boxes.lastText);

  // ---- unloading while the sheet is open, from another thread ----
  HANDLE unloader = CreateThread(nullptr, 0, Unload, lib, 0, nullptr);
  DWORD waited = WAIT_TIMEOUT;
  wtest::WaitUntil([&] {
    waited = WaitForSingleObject(unloader, 0);
    return waited == WAIT_OBJECT_0;
  });
  check(waited == WAIT_OBJECT_0, "FreeLibrary on another thread returns while the sheet is open");
  CloseHandle(unloader);
  wtest::Pump(200);
  check(IsWindow(sheet) && IsWindowVisible(sheet), "the sheet is still open");
  check(GetModuleHandleA("QuillonV6.dll") != nullptr, "and its library still loaded");
  PropSheet_SetCurSel(sheet, nullptr, 0);
  wtest::Pump(100);
  check(SendMessageW(GetDlgItem(Page(sheet), 22000), LB_GETCOUNT, 0, 0) > 200, "its radical page still answers");
  SendMessageW(sheet, WM_CLOSE, 0, 0);
  wtest::CheckWithin(
      wtest::Allowance(), [&] { return !IsWindow(sheet); }, [] { return std::string("the sheet still there"); },
      "WM_CLOSE closes the sheet");
  check(count() == 0, "no object of the library is left (%d)", count());

  g_boxes.stop = true;
  WaitForSingleObject(watcher, 5000);
  CloseHandle(watcher);
  DestroyWindow(unrelated);
  DestroyWindow(host);
  DestroyWindow(receiver);
  return wtest::finish();
}

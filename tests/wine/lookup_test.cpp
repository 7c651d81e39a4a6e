// Wine test of the lookup library, standing in for the input method's UI
// window as the receiver of the characters:
//
//   lookup_test.exe <QuillonV6.dll> <SYSDIC folder> <folder for screenshots>
//
// Loads the library, installs its dictionaries under a program folder named
// by "Install Directory", calls ordinal 1 as the input method's status
// toolbar does, and drives the sheet with the mouse and the keyboard in a
// message loop that never calls IsDialogMessage: the lifecycle (a second
// call leaves one sheet, closing sends the three messages in their order,
// no object is left), a character from each page (mouse on the radical and
// easy-Hangul lists, "1601" and Enter on the code page) with its lParam,
// Tab, and screenshots of the three pages checked by size and pixels.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstring>
#include <string>
#include <vector>

#include "check.h"
#include "ime_install.h"
#include "input.h"
#include "pump.h"
#include "screenshot.h"

using wtest::check;
using wtest::check_eq;
using wtest::note;
using wtest::Pump;

namespace {

using CreateFn = HWND(WINAPI*)(int, HWND, HWND, int, char*, char*);
using CountFn = int(WINAPI*)();

constexpr UINT kLookupChar = 0x5F6;
constexpr wchar_t kCaption[] = L"部首・簡単ハングル・コード入力";

// ---- the receiver: the input method's UI window ----

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  int notifiesQueued;  // WM_IME_NOTIFY waiting in the queue when it arrived
};
std::vector<Received> g_received;

constexpr WPARAM kCloseStatusWindow = 1;  // IMN_CLOSESTATUSWINDOW
constexpr WPARAM kOpenStatusWindow = 2;   // IMN_OPENSTATUSWINDOW

LRESULT CALLBACK ReceiverProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kLookupChar && wp == 0 && lp == 0) {
    // The notifications posted before this was sent are waiting in the
    // queue: taken here, in their order, and noted after it.
    std::vector<Received> queued;
    MSG m;
    while (PeekMessageW(&m, hwnd, WM_IME_NOTIFY, WM_IME_NOTIFY, PM_REMOVE)) queued.push_back({m.message, m.wParam, m.lParam, 0});
    g_received.push_back({msg, wp, lp, static_cast<int>(queued.size())});
    g_received.insert(g_received.end(), queued.begin(), queued.end());
    return 0;
  }
  if (msg == kLookupChar || msg == WM_IME_NOTIFY) {
    g_received.push_back({msg, wp, lp, 0});
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

std::vector<Received> CharactersReceived() {
  std::vector<Received> out;
  for (const Received& r : g_received)
    if (r.message == kLookupChar) out.push_back(r);
  return out;
}

// ---- message boxes: none is expected; one is closed and reported ----

struct Boxes {
  volatile bool stop = false;
  int seen = 0;
  wchar_t last[128] = {};
} g_boxes;

BOOL CALLBACK CloseBox(HWND w, LPARAM) {
  wchar_t cls[16]{};
  GetClassNameW(w, cls, 16);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  HWND text = GetDlgItem(w, 0xFFFF);
  if (pid != GetCurrentProcessId() || lstrcmpW(cls, L"#32770") != 0 || !text || !IsWindowVisible(w)) return TRUE;
  // The box's own loop answers the message.
  GetWindowTextW(text, g_boxes.last, 128);
  ++g_boxes.seen;
  PostMessageW(w, WM_COMMAND, IDOK, 0);
  return TRUE;
}

DWORD WINAPI WatchBoxes(LPVOID) {
  while (!g_boxes.stop) {
    EnumWindows(CloseBox, 0);
    Sleep(200);
  }
  return 0;
}

// ---- input ----

using wtest::Click;
using wtest::MouseTo;
using wtest::SendKeys;
using wtest::WaitForFocus;
using wtest::WindowCentre;

// The screen centre of a list item.
POINT ItemCentre(HWND list, int item) {
  RECT r{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r));
  POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(list, &pt);
  return pt;
}

// A slow (emulated) process may still be handling the keys.
void WaitForCharacters(size_t n) {
  wtest::WaitUntil([&] { return CharactersReceived().size() >= n; });
}





// ---- helpers ----

DWORD CharParam(const std::string& gm95) {
  return static_cast<unsigned char>(gm95[0]) | static_cast<unsigned char>(gm95[1]) << 8;
}

// GM95 of a character through code page 949 (the KS row and cell in the
// Shift-JIS arithmetic).
std::string Gm95(const wchar_t* c) {
  char ks[4]{};
  WideCharToMultiByte(949, 0, c, 1, ks, sizeof ks, nullptr, nullptr);
  const int row = static_cast<unsigned char>(ks[0]) - 0xA0;
  const int column = static_cast<unsigned char>(ks[1]) - 0xA1;
  int lead = (row - 1) / 2 + 0x81;
  if (lead >= 0xA0) lead += 0x40;
  int trail = row % 2 == 0 ? column + 0x9F : column + 0x40;
  if (row % 2 != 0 && trail >= 0x7F) ++trail;
  return std::string{static_cast<char>(lead), static_cast<char>(trail)};
}

BOOL CALLBACK CountSheet(HWND w, LPARAM lp) {
  wchar_t title[128]{};
  GetWindowTextW(w, title, 128);
  if (IsWindowVisible(w) && std::wcsncmp(title, kCaption, std::wcslen(kCaption)) == 0) ++*reinterpret_cast<int*>(lp);
  return TRUE;
}

int TopLevelSheets() {
  int n = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountSheet, reinterpret_cast<LPARAM>(&n));
  return n;
}

std::wstring Text(HWND w) {
  wchar_t t[128]{};
  GetWindowTextW(w, t, 128);
  return t;
}

HWND Page(HWND sheet) { return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd, msg, wp, lp); }

// Dark pixels (the glyphs of text) in a rectangle of a shot.
int DarkPixels(const wtest::Shot& s, RECT r) {
  return s.Count(r, [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 200; });
}

struct Session {
  CreateFn create = nullptr;
  CountFn count = nullptr;
  HWND host = nullptr, edit = nullptr, receiver = nullptr;
  std::wstring shots;

  HWND Open(int code = 1, const char* imeName = "ZORBENV6.IME") {
    char face[] = "NanumGothic";
    char name[16];
    lstrcpynA(name, imeName, sizeof name);
    const int module = static_cast<int>(reinterpret_cast<INT_PTR>(GetModuleHandleW(nullptr)));
    HWND sheet = create(module, host, receiver, code, face, name);
    // As the input method does: tell the sheet where to send.
    if (sheet) PostMessageW(sheet, kLookupChar, reinterpret_cast<WPARAM>(receiver), 0);
    Pump(400);
    return sheet;
  }

  // The user types in the host's edit field, then goes to the sheet.
  void TypingInHost() {
    SetForegroundWindow(host);
    SetFocus(edit);
    Pump(150);
  }
};

void RadicalPage(Session& s, HWND sheet) {
  HWND page = Page(sheet);
  HWND radicals = GetDlgItem(page, 22000);
  HWND chars = GetDlgItem(page, 22001);
  check(radicals && chars, "the radical page's lists");
  check(SendMessageW(radicals, LB_GETCOUNT, 0, 0) > 200, "the radical list is filled from GmV6e.dic (%d cells)",
        static_cast<int>(SendMessageW(radicals, LB_GETCOUNT, 0, 0)));
  check_eq(SendMessageW(chars, LB_GETCOUNT, 0, 0), 0, "the character list starts empty");

  s.TypingInHost();
  g_received.clear();
  Click(ItemCentre(radicals, 1));  // radical 1, 一
  check_eq(SendMessageW(radicals, LB_GETCURSEL, 0, 0), 1, "the click chose the first radical");
  check(SendMessageW(chars, LB_GETCOUNT, 0, 0) >= 120, "its characters fill the list, at least 120 items");
  check(GetFocus() == radicals, "while the confirm button is disabled the list keeps the focus");
  Click(ItemCentre(chars, 1), 2);  // a double click on 一
  WaitForCharacters(1);
  auto got = CharactersReceived();
  const std::string one = Gm95(L"一");
  if (check_eq(got.size(), 1, "a double click on the character sends one 0x5F6")) {
    check_eq(got[0].wParam, CharParam(one), "wParam: 一 in GM95, first byte in bits 0-7");
    check(got[0].lParam == reinterpret_cast<LPARAM>(s.edit), "lParam: the edit field the user was typing in");
  }
  // Enter on the confirm button, which has the focus: the same character, no new click.
  HWND ok = GetDlgItem(page, 121);
  check(GetFocus() == ok, "the confirm button has the focus");
  SendKeys({VK_RETURN});
  WaitForCharacters(2);
  got = CharactersReceived();
  if (check_eq(got.size(), 2, "Enter sends it again")) {
    check_eq(got[1].wParam, CharParam(one), "the same character");
    check_eq(got[1].lParam, 0, "without a new click lParam is 0");
  }
  // Tab moves the focus inside the sheet, through the library's hook.
  SendKeys({VK_TAB});
  HWND focus = GetFocus();
  check(focus != ok && IsChild(sheet, focus), "Tab moves the focus from the confirm button to another control");

  wtest::Shot shot = wtest::Capture(sheet, s.shots, L"lookup-radicals");
  check(shot.w >= 500 && shot.h >= 380, "radical page screenshot %dx%d", shot.w, shot.h);
  const RECT view = wtest::RectInShot(sheet, GetDlgItem(page, 22011));
  check(DarkPixels(shot, view) > 150, "the large view shows the character (%d dark pixels)", DarkPixels(shot, view));
  const RECT list = wtest::RectInShot(sheet, radicals);
  check(DarkPixels(shot, list) > 300, "the radical list shows its radicals (%d dark pixels)", DarkPixels(shot, list));
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  check(wtest::Near(shot.at(list.left + 6, list.top + 30), face, 16) ||
            wtest::Near(shot.at(list.left + 10, list.top + 10), face, 16),
        "the cells are button faces");
}

void JisoPage(Session& s, HWND sheet) {
  PropSheet_SetCurSel(sheet, nullptr, 1);
  Pump(300);
  HWND page = Page(sheet);
  HWND initials = GetDlgItem(page, 22027);
  HWND syllables = GetDlgItem(page, 22029);
  check_eq(SendMessageW(initials, LB_GETCOUNT, 0, 0), 19, "19 initials");
  check(Text(GetDlgItem(page, 22010)) == L"人名・地名", "the range toggle reads 人名・地名");
  check(imeinst::GetString(HKEY_CURRENT_USER, L"Software\\VALDRIMO\\GeulmaruV6\\RABEKO_DLG", L"MOJI_RANGE") == L"1",
        "the missing range value was written as \"1\"");

  s.TypingInHost();
  g_received.clear();
  Click(ItemCentre(initials, 0));  // ㄱ
  wtest::WaitUntil([&] { return SendMessageW(syllables, LB_GETCOUNT, 0, 0) >= 220; });
  check(SendMessageW(syllables, LB_GETCOUNT, 0, 0) >= 220, "the syllables of ㄱ, padded to 220");
  Click(ItemCentre(syllables, 1), 2);  // 가, behind the label ㅏ
  WaitForCharacters(1);
  auto got = CharactersReceived();
  if (check_eq(got.size(), 1, "a double click on 가 sends one 0x5F6")) {
    check_eq(got[0].wParam, 0x9F88, "wParam: 가 (GM95 88 9F) as 0x9F88");
    check(got[0].lParam == reinterpret_cast<LPARAM>(s.edit), "lParam: the edit field");
  }
  Click(ItemCentre(syllables, 0), 2);  // the vowel label
  wtest::WaitForInputHandled();
  check_eq(CharactersReceived().size(), 1, "a double click on a vowel label sends nothing");

  // The range toggle: all syllables, then the names range again.
  const std::wstring rangeKey = L"Software\\VALDRIMO\\GeulmaruV6\\RABEKO_DLG";
  const LRESULT namesCount = SendMessageW(syllables, LB_GETCOUNT, 0, 0);
  HWND toggle = GetDlgItem(page, 22010);
  SendMessageW(toggle, BM_CLICK, 0, 0);
  wtest::WaitUntil([&] { return Text(toggle) == L"全て" && imeinst::GetString(HKEY_CURRENT_USER, rangeKey, L"MOJI_RANGE") == L"0"; });
  check(Text(toggle) == L"全て" && imeinst::GetString(HKEY_CURRENT_USER, rangeKey, L"MOJI_RANGE") == L"0",
        "the toggle shows 全て and writes \"0\"");
  check_eq(SendMessageW(syllables, LB_GETCOUNT, 0, 0), 0, "and empties the syllables");
  Click(ItemCentre(initials, 4));  // ㄸ: no name syllable, but syllables of its own
  wtest::WaitUntil([&] { return SendMessageW(syllables, LB_GETCOUNT, 0, 0) >= 220; });
  check(SendMessageW(syllables, LB_GETCOUNT, 0, 0) >= 220, "ㄸ lists its syllables in the whole range");
  SendMessageW(toggle, BM_CLICK, 0, 0);
  wtest::WaitUntil([&] { return Text(toggle) == L"人名・地名" && imeinst::GetString(HKEY_CURRENT_USER, rangeKey, L"MOJI_RANGE") == L"1"; });
  check(Text(toggle) == L"人名・地名" && imeinst::GetString(HKEY_CURRENT_USER, rangeKey, L"MOJI_RANGE") == L"1",
        "toggling twice leaves 人名・地名 and \"1\"");
  Click(ItemCentre(initials, 4));
  // The page fills the syllables while it handles the click.
  wtest::WaitForInputHandled();
  check_eq(SendMessageW(syllables, LB_GETCOUNT, 0, 0), 0, "ㄸ has no syllable in the names range: nothing is listed");
  Click(ItemCentre(initials, 0));
  wtest::WaitUntil([&] { return SendMessageW(syllables, LB_GETCOUNT, 0, 0) == namesCount; });
  check_eq(SendMessageW(syllables, LB_GETCOUNT, 0, 0), namesCount, "ㄱ lists what it listed before");
  Click(ItemCentre(syllables, 1));

  wtest::Shot shot = wtest::Capture(sheet, s.shots, L"lookup-jiso");
  check(shot.w >= 500 && shot.h >= 380, "easy-Hangul page screenshot %dx%d", shot.w, shot.h);
  const RECT list = wtest::RectInShot(sheet, syllables);
  check(DarkPixels(shot, list) > 300, "the syllables are drawn (%d dark pixels)", DarkPixels(shot, list));
  const RECT row = wtest::RectInShot(sheet, initials);
  check(DarkPixels(shot, row) > 150, "the initials are drawn (%d dark pixels)", DarkPixels(shot, row));
  const int blue = shot.Count(list, [](COLORREF c) { return GetBValue(c) > 160 && GetRValue(c) < 90 && GetGValue(c) < 90; });
  check(blue > 20, "vowel labels in blue (%d pixels)", blue);
}

void CodePage(Session& s, HWND sheet) {
  PropSheet_SetCurSel(sheet, nullptr, 2);
  Pump(300);
  HWND page = Page(sheet);
  HWND rows = GetDlgItem(page, 22012);
  HWND cells = GetDlgItem(page, 22013);
  HWND entry = GetDlgItem(page, 22025);
  check_eq(SendMessageW(rows, LB_GETCOUNT, 0, 0), 100, "the row grid holds 100 items");
  RECT rr{};
  GetClientRect(rows, &rr);
  const LRESULT itemHeight = SendMessageW(rows, LB_GETITEMHEIGHT, 0, 0);
  check(itemHeight > 0 && rr.bottom / itemHeight == 5, "the row grid shows five lines (%ld / %ld)", rr.bottom,
        static_cast<long>(itemHeight));

  g_received.clear();
  Click(WindowCentre(entry));
  check(WaitForFocus(entry), "a click puts the focus into the code entry");
  SendKeys({'1', '6', '0', '1', VK_RETURN});
  WaitForCharacters(1);
  auto got = CharactersReceived();
  if (check_eq(got.size(), 1, "1601 and Enter send one 0x5F6")) {
    check_eq(got[0].wParam, 0x9F88, "wParam: row 16 cell 1 (가)");
    check_eq(got[0].lParam, 0, "lParam 0 on the code page");
  }
  check_eq(SendMessageW(rows, LB_GETCURSEL, 0, 0), 75, "row 16 is selected in the row grid (item 75)");
  check_eq(SendMessageW(cells, LB_GETCURSEL, 0, 0), 5, "its first cell in the cell grid (item 5)");
  check(GetFocus() == entry, "Enter leaves the focus in the entry");
  SendKeys({VK_TAB});
  wtest::WaitUntil([&] { return GetFocus() != entry; });
  check(GetFocus() != entry && IsChild(sheet, GetFocus()), "Tab moves the focus out of the entry");
  check_eq(CharactersReceived().size(), 1, "Tab sends nothing");

  wtest::Shot shot = wtest::Capture(sheet, s.shots, L"lookup-code");
  check(shot.w >= 500 && shot.h >= 380, "code page screenshot %dx%d", shot.w, shot.h);
  const RECT grid = wtest::RectInShot(sheet, cells);
  check(DarkPixels(shot, grid) > 500, "the cell grid shows row 16's syllables (%d dark pixels)", DarkPixels(shot, grid));
  const RECT view = wtest::RectInShot(sheet, GetDlgItem(page, 22019));
  check(DarkPixels(shot, view) > 150, "the large view shows 가 (%d dark pixels)", DarkPixels(shot, view));
}

// The closing messages: the two notifications posted (close, then open),
// then 0x5F6 (0, 0) sent.
void CheckClosing(const char* how) {
  // The posted notifications come in before the sent (0, 0) is answered only
  // once this thread has read them; wait for all three.
  auto seen = [](UINT message, WPARAM wp) {
    for (const Received& r : g_received)
      if (r.message == message && r.wParam == wp && (message != kLookupChar || r.lParam == 0)) return true;
    return false;
  };
  wtest::WaitUntil([&] {
    return seen(WM_IME_NOTIFY, kCloseStatusWindow) && seen(WM_IME_NOTIFY, kOpenStatusWindow) && seen(kLookupChar, 0);
  });
  int closeAt = -1, openAt = -1, doneAt = -1;
  for (size_t i = 0; i < g_received.size(); ++i) {
    const Received& r = g_received[i];
    if (r.message == WM_IME_NOTIFY && r.wParam == kCloseStatusWindow && closeAt < 0) closeAt = static_cast<int>(i);
    if (r.message == WM_IME_NOTIFY && r.wParam == kOpenStatusWindow && openAt < 0) openAt = static_cast<int>(i);
    if (r.message == kLookupChar && r.wParam == 0 && r.lParam == 0 && doneAt < 0) doneAt = static_cast<int>(i);
  }
  if (!check(closeAt >= 0 && openAt >= 0 && doneAt >= 0, "%s: IMN_CLOSESTATUSWINDOW, IMN_OPENSTATUSWINDOW and (0, 0)", how))
    return;
  check(closeAt < openAt, "%s: the close notification before the open one", how);
  check_eq(g_received[static_cast<size_t>(doneAt)].notifiesQueued, 2,
           "(0, 0) was sent after both notifications had been posted");
}

}  // namespace

int main(int argc, char** argv) {
  wtest::report().group = "lookup";
  if (argc < 4) {
    std::printf("usage: lookup_test <QuillonV6.dll> <SYSDIC folder> <screenshot folder>\n");
    return 2;
  }
  Session s;
  s.shots = imeinst::Widen(argv[3]);
  CreateDirectoryW(s.shots.c_str(), nullptr);

  // A program folder with the two dictionaries, named by "Install Directory".
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring install = std::wstring(temp) + L"lookuptest";
  const std::wstring sysdic = install + L"\\GeulmaruV6\\SYSDIC";
  CreateDirectoryW(install.c_str(), nullptr);
  CreateDirectoryW((install + L"\\GeulmaruV6").c_str(), nullptr);
  CreateDirectoryW(sysdic.c_str(), nullptr);
  const std::wstring from = imeinst::Widen(argv[2]);
  for (const wchar_t* f : {L"GmV6e.dic", L"GmV6Jiso.Dic"}) {
    check(CopyFileW((from + L"\\" + f).c_str(), (sysdic + L"\\" + f).c_str(), FALSE) != FALSE, "%ls installed", f);
  }
  // The installed suite's value comes back when the test ends.
  const imeinst::InstallDirectoryOverride installDirectory(install);
  check(installDirectory.Set(), "Install Directory set");
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VALDRIMO\\GeulmaruV6\\RABEKO_DLG");

  HANDLE watcher = CreateThread(nullptr, 0, WatchBoxes, nullptr, 0, nullptr);
  HMODULE lib = LoadLibraryA(argv[1]);
  if (!check(lib != nullptr, "LoadLibrary %s (error %lu)", argv[1], GetLastError())) return wtest::finish();
  s.create = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(lib, MAKEINTRESOURCEA(1))));
  s.count = reinterpret_cast<CountFn>(reinterpret_cast<void*>(GetProcAddress(lib, "GetLookupObjectCount")));
  check(s.create != nullptr && s.create == reinterpret_cast<CreateFn>(reinterpret_cast<void*>(
                                               GetProcAddress(lib, "CreateBusyuJisoCodeWindow"))),
        "ordinal 1 is CreateBusyuJisoCodeWindow");
  if (!s.create || !s.count) return wtest::finish();

  HINSTANCE self = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = ReceiverProc;
  wc.hInstance = self;
  wc.lpszClassName = L"LookupReceiver";
  RegisterClassW(&wc);
  s.receiver = CreateWindowExW(0, wc.lpszClassName, L"ui", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, self, nullptr);
  wc.lpfnWndProc = HostProc;
  wc.lpszClassName = L"LookupHost";
  wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  RegisterClassW(&wc);
  s.host = CreateWindowExW(0, wc.lpszClassName, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 500, 400, 200,
                           nullptr, nullptr, self, nullptr);
  s.edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 300, 24, s.host, nullptr,
                           self, nullptr);
  s.TypingInHost();

  // Open, and open again: one sheet.
  check_eq(s.count(), 0, "no object before the first call");
  HWND first = s.Open();
  check(first && IsWindowVisible(first), "ordinal 1 gives a visible sheet");
  check(Text(first) == std::wstring(kCaption) + L" (KS)", "caption with \" (KS)\" for code number 1");
  check((GetWindowLongW(first, GWL_STYLE) & 0x90C80080) == 0x90C80080, "style 0x90C80080");
  check(GetWindow(first, GW_OWNER) == s.host, "the application window owns the sheet");
  const int objects = s.count();
  check(objects > 0, "objects while the sheet is open: %d", objects);
  HWND second = s.Open();
  check(second && !IsWindow(first), "a second call destroys the first sheet");
  check_eq(TopLevelSheets(), 1, "and leaves exactly one sheet");
  check_eq(s.count(), objects, "with the objects of one sheet");
  check(CharactersReceived().empty(), "destroying the first sheet sent nothing");

  {
    // The host stands near the screen's lower right: the sheet still shows whole.
    RECT r{}, work{};
    GetWindowRect(second, &r);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    check(r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom,
          "the sheet lies inside the work area (%ld,%ld-%ld,%ld)", r.left, r.top, r.right, r.bottom);
  }
  RadicalPage(s, second);
  JisoPage(s, second);
  CodePage(s, second);

  // Help goes through the help seam and leaves the sheet as it is.
  SendMessageW(GetDlgItem(Page(second), 1048), BM_CLICK, 0, 0);
  Pump(300);
  check(IsWindow(second), "help leaves the sheet open");

  // Closing with "終了", clicked.
  g_received.clear();
  Click(WindowCentre(GetDlgItem(Page(second), 22026)));
  wtest::WaitUntil([&] { return !IsWindow(second); });
  check(!IsWindow(second), "終了 destroys the sheet");
  CheckClosing("終了");
  wtest::WaitUntil([&] { return s.count() == 0; });
  check_eq(s.count(), 0, "no object is left after closing");
  check_eq(TopLevelSheets(), 0, "no sheet is left");

  // Esc closes a new sheet the same way; so does the caption's close.
  HWND third = s.Open();
  g_received.clear();
  SetForegroundWindow(third);
  SetFocus(GetDlgItem(Page(third), 121));
  Pump(100);
  SendKeys({VK_ESCAPE});
  wtest::WaitUntil([&] { return !IsWindow(third); });
  check(!IsWindow(third), "Esc closes the sheet");
  CheckClosing("Esc");
  HWND fourth = s.Open();
  g_received.clear();
  SendMessageW(fourth, WM_CLOSE, 0, 0);
  check(!IsWindow(fourth), "WM_CLOSE closes the sheet");
  CheckClosing("WM_CLOSE");
  wtest::WaitUntil([&] { return s.count() == 0; });
  check_eq(s.count(), 0, "no object is left after the closings");

  // The GM edition in GM V3 (code number 2): a user-defined code and a row
  // beyond KS X 1001 on the code page.
  HWND gm = s.Open(2, "WARBENV6.IME");
  check(Text(gm) == std::wstring(kCaption) + L" (GM)", "caption with \" (GM)\" for code number 2");
  PropSheet_SetCurSel(gm, nullptr, 2);
  Pump(300);
  HWND entry = GetDlgItem(Page(gm), 22025);
  g_received.clear();
  Click(WindowCentre(entry));
  check(WaitForFocus(entry), "the GM sheet's entry has the focus");
  SendKeys({'F', '0', '4', '0', VK_RETURN});
  WaitForCharacters(1);
  SendMessageA(entry, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  Click(WindowCentre(entry));
  WaitForFocus(entry);
  SendKeys({'9', '5', '0', '1', VK_RETURN});
  WaitForCharacters(2);
  auto got = CharactersReceived();
  if (check_eq(got.size(), 2, "F040 and 9501 with Enter send two characters")) {
    check_eq(got[0].wParam, 0x40F0, "F040: the code F0 40 with its first byte in bits 0-7");
    check_eq(got[1].wParam, 0x40F0, "9501: row 95 cell 1, the same code");
  }
  SendMessageW(gm, WM_CLOSE, 0, 0);
  wtest::WaitUntil([&] { return s.count() == 0; });
  check_eq(s.count(), 0, "no object is left at the end");

  g_boxes.stop = true;
  WaitForSingleObject(watcher, wtest::Allowance());
  CloseHandle(watcher);
  check(g_boxes.seen == 0, "no message box came up (%d; last: %ls)", g_boxes.seen, g_boxes.last);
  DestroyWindow(s.host);
  DestroyWindow(s.receiver);
  FreeLibrary(lib);
  return wtest::finish();
}

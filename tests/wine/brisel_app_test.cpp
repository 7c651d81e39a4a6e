// The installed editor BRISELV6.EXE end to end (32-bit), driven from this
// small program by messages and keys as a user drives it: started from the
// installed program folder with no INI file it opens 80 dialog characters
// wide and 90 % of the screen high at (0, 0) with its bars, shows the file
// named on its command line, is typed into through the installed input
// method on the keyboard road, saves, and writes its INI file at exit; the
// next start restores a stored placement (maximised, the rectangle brought
// back from off the screen), opens the five codes with automatic detection
// and saves each code byte for byte through the open and save dialogs with
// their code box, shows its print preview and prints to the fixture's PDF
// printer, and writes the codes chosen there.
//
//   brisel_app_test.exe <screenshot folder> [<folder of the PDF printer's files>]
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <prsht.h>
#include <dlgs.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "check.h"
#include "ime_driver.h"
#include "ime_install.h"
#include "screenshot.h"
#include "test_files.h"
#include "wait.h"

using wtest::check;
using wtest::CheckWithin;
using wtest::note;
using wtest::StartAllowance;
using wtest::WaitUntil;

namespace {

constexpr UINT kStatusBarId = 59393;
constexpr UINT kToolBarId = 0xE800;
constexpr UINT kFileCodeBox = 1036;
constexpr int kPasteCodeBox = 62003;
constexpr wchar_t kIniSectionControl[] = L"Control";
constexpr wchar_t kIniSectionWindow[] = L"Window size";

std::wstring g_ini;

std::string U8(const std::wstring& w) { return imedrv::Utf8(std::u16string(w.begin(), w.end())); }
std::string U8(const std::u16string& w) { return imedrv::Utf8(w); }

std::wstring TempFolder() {
  wchar_t dir[MAX_PATH]{};
  GetTempPathW(MAX_PATH, dir);
  std::wstring path = std::wstring(dir) + L"brisel-test";
  CreateDirectoryW(path.c_str(), nullptr);
  return path + L"\\";
}

std::wstring Ini(const wchar_t* section, const wchar_t* key) {
  wchar_t buf[512]{};
  GetPrivateProfileStringW(section, key, L"(none)", buf, 512, g_ini.c_str());
  return buf;
}

// ---- the editor's process and windows ----

struct Editor {
  PROCESS_INFORMATION pi{};
  HWND main = nullptr;
};

// The editor is a 32-bit program: its starts and its responses (dialogs of
// the shell, a file read or written) take the allowance of its kind.
DWORD EditorAllowance() { return StartAllowance(32); }

HWND WaitForWindow(DWORD pid, const wchar_t* cls, const wchar_t* title, DWORD ms = EditorAllowance()) {
  return wtest::WaitForProcessWindow(pid, cls, title, ms);
}

bool Start(Editor& e, const std::wstring& program, const std::wstring& argument) {
  std::wstring line = L"\"" + program + L"\"";
  if (!argument.empty()) line += L" " + argument;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &e.pi)) {
    return false;
  }
  e.main = WaitForWindow(e.pi.dwProcessId, L"fw.FrameWindow", nullptr, 2 * EditorAllowance());
  return e.main != nullptr;
}

// Closes the editor as its window's close box does; true when it ended.
bool Close(Editor& e) {
  PostMessageW(e.main, WM_CLOSE, 0, 0);
  const bool ended = WaitForSingleObject(e.pi.hProcess, 2 * EditorAllowance()) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(e.pi.hProcess, 99);
  CloseHandle(e.pi.hProcess);
  CloseHandle(e.pi.hThread);
  e = Editor{};
  return ended;
}

std::wstring Caption(HWND w) {
  wchar_t text[256]{};
  GetWindowTextW(w, text, 256);
  return text;
}

void Foreground(HWND w) {
  SetForegroundWindow(w);
  WaitUntil([&] { return GetForegroundWindow() == w; }, EditorAllowance());
}

// The editor's caption once it reads expected (it changes when a document
// has been read or saved under a new name).
bool CaptionBecomes(HWND w, const std::wstring& expected, const char* what) {
  return CheckWithin(
      EditorAllowance(), [&] { return Caption(w) == expected; }, [&] { return U8(Caption(w)); }, "%s: %s", what,
      U8(expected).c_str());
}

// A file's bytes once they are what is expected (the editor writes it in
// answer to a key or a dialog).
bool FileBecomes(const std::wstring& path, const std::string& expected, const char* what) {
  return CheckWithin(
      EditorAllowance(), [&] { return wtest::ReadFileBytes(path) == expected; },
      [&] { return imedrv::Hex(wtest::ReadFileBytes(path)); }, "%s", what);
}

// Ctrl with a key, as one SendInput of four events.
void CtrlKey(UINT vk) {
  INPUT in[4]{};
  const UINT keys[4] = {VK_CONTROL, vk, vk, VK_CONTROL};
  for (int i = 0; i < 4; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = static_cast<WORD>(keys[i]);
    in[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(keys[i], 0));
    in[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(4, in, sizeof(INPUT));
  wtest::Pump(150);
}

// A key script (ime_driver.h) typed key by key.
void Type(const char* keys) {
  for (const char* k = keys; *k; ++k) {
    UINT vk = 0;
    unsigned ch = 0;
    imedrv::ScriptKey(*k, vk, ch);
    imedrv::PressKey(vk, 120);
  }
}

// The view's whole text as its KS copy puts it on the clipboard (UTF-16;
// line breaks as LF).
std::u16string SelectionText(HWND main);

std::u16string ViewText(HWND main) {
  Foreground(main);
  CtrlKey('A');
  std::u16string text;
  for (char16_t c : SelectionText(main))
    if (c != u'\r') text.push_back(c);
  CtrlKey(VK_HOME);  // the selection goes, the caret at the start
  return text;
}

// The view's text once it is what is expected (read again and again: the
// editor shows a file, typed keys or a replacement when its turn comes).
bool ViewTextBecomes(HWND main, const std::u16string& expected, const char* what) {
  std::u16string seen;
  return CheckWithin(
      2 * EditorAllowance(), [&] { return (seen = ViewText(main)) == expected; }, [&] { return imedrv::Hex(seen); },
      "%s", what);
}

// ---- the open and save dialogs ----

HWND CodeBox(HWND dialog) {
  // The template's dialog is a child of the explorer dialog.
  for (HWND child = FindWindowExW(dialog, nullptr, L"#32770", nullptr); child;
       child = FindWindowExW(dialog, child, L"#32770", nullptr)) {
    if (HWND box = GetDlgItem(child, kFileCodeBox)) return box;
  }
  return nullptr;
}

std::vector<std::wstring> BoxItems(HWND box) {
  std::vector<std::wstring> items;
  const LRESULT n = SendMessageW(box, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    wchar_t text[128]{};
    SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

// A command of the editor's menu that opens a file dialog; the name and the
// code are filled in and OK pressed. items receives the code box's items.
bool UseFileDialog(Editor& e, UINT command, const wchar_t* title, const std::wstring& path, int code,
                   std::vector<std::wstring>* items, int* initialCode, const std::wstring& shots, const wchar_t* shot) {
  PostMessageW(e.main, WM_COMMAND, command, 0);
  HWND dialog = WaitForWindow(e.pi.dwProcessId, L"#32770", title, 2 * EditorAllowance());
  if (!check(dialog != nullptr, "the dialog \"%s\" opens", U8(title).c_str())) {
    wtest::NoteProcessWindows(e.pi.dwProcessId);
    return false;
  }
  HWND box = nullptr;
  if (!CheckWithin(
          EditorAllowance(), [&] { return (box = CodeBox(dialog)) != nullptr && SendMessageW(box, CB_GETCOUNT, 0, 0) > 0; },
          [&] { return std::string(box ? "a code box without items" : "no code box"); },
          "the dialog has the code box 1036 with its items")) {
    return false;
  }
  if (items) *items = BoxItems(box);
  if (initialCode) *initialCode = static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
  SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(code), 0);
  if (!shots.empty()) wtest::Capture(dialog, shots, shot);
  HWND name = GetDlgItem(dialog, cmb13);
  if (!name) name = GetDlgItem(dialog, edt1);
  if (!check(name != nullptr, "the dialog has its file name box")) return false;
  SetWindowTextW(name, path.c_str());
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  return CheckWithin(
      EditorAllowance(), [&] { return !IsWindow(dialog); }, [] { return std::string("the dialog still open"); },
      "the dialog takes the name and closes");
}

// A shell shortcut at link that points to target.
bool MakeShortcut(const std::wstring& link, const std::wstring& target) {
  IShellLinkW* shell = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&shell)))) {
    return false;
  }
  bool ok = SUCCEEDED(shell->SetPath(target.c_str()));
  IPersistFile* file = nullptr;
  if (ok && SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    ok = SUCCEEDED(file->Save(link.c_str(), TRUE));
    file->Release();
  } else {
    ok = false;
  }
  shell->Release();
  return ok;
}

// The texts of a message box's static controls.
std::wstring BoxText(HWND box) {
  std::wstring text;
  for (HWND c = FindWindowExW(box, nullptr, L"Static", nullptr); c; c = FindWindowExW(box, c, L"Static", nullptr)) {
    wchar_t part[256]{};
    GetWindowTextW(c, part, 256);
    text += part;
  }
  return text;
}

// The text of a status-bar pane of another process (the text is read
// through memory of that process).
std::wstring PaneText(HANDLE process, HWND status, int pane) {
  constexpr SIZE_T kBytes = 512;
  void* remote = VirtualAllocEx(process, nullptr, kBytes, MEM_COMMIT, PAGE_READWRITE);
  if (!remote) return L"(no memory in the editor)";
  std::wstring text = L"(not read)";
  const LRESULT r = SendMessageW(status, SB_GETTEXTLENGTHW, static_cast<WPARAM>(pane), 0);
  if (LOWORD(r) < kBytes / sizeof(wchar_t)) {
    SendMessageW(status, SB_GETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(remote));
    wchar_t buffer[kBytes / sizeof(wchar_t)] = {};
    SIZE_T got = 0;
    if (ReadProcessMemory(process, remote, buffer, sizeof buffer - sizeof(wchar_t), &got)) text = buffer;
  }
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return text;
}

// The pane of the code that a plain save writes, once it reads expected.
bool SaveCodePaneBecomes(Editor& e, const std::wstring& expected, const char* what) {
  HWND status = GetDlgItem(e.main, kStatusBarId);
  return CheckWithin(
      EditorAllowance(), [&] { return PaneText(e.pi.hProcess, status, 3) == expected; },
      [&] { return U8(PaneText(e.pi.hProcess, status, 3)); }, "%s: %s", what, U8(expected).c_str());
}

// The descendant of a window with a control id.
HWND Descendant(HWND top, int id) {
  struct Find {
    int id;
    HWND found = nullptr;
  } f{id};
  EnumChildWindows(
      top,
      [](HWND w, LPARAM lp) WINAPI -> BOOL {
        auto* find = reinterpret_cast<Find*>(lp);
        if (GetDlgCtrlID(w) != find->id) return TRUE;
        find->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// The paste-code box of the tool bar.
HWND PasteCodeBox(HWND main) { return Descendant(main, kPasteCodeBox); }

// A button of a dialog page pressed as its click reaches the page.
// (SendMessage: the page has acted on it when it returns.)
void ClickButton(HWND top, int id) {
  HWND button = Descendant(top, id);
  if (button) SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// A window closed by the editor in answer to the test.
bool Gone(HWND w, const char* what) {
  return CheckWithin(
      EditorAllowance(), [&] { return !IsWindow(w); }, [] { return std::string("still open"); }, "%s", what);
}

// The view's selection as its KS copy puts it on the clipboard.
std::u16string SelectionText(HWND main) {
  Foreground(main);
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  const DWORD before = GetClipboardSequenceNumber();
  CtrlKey('C');
  // The editor answers Ctrl+C when its turn comes: the copy is there once
  // the clipboard changed and holds text.
  if (!WaitUntil([&] { return GetClipboardSequenceNumber() != before && IsClipboardFormatAvailable(CF_UNICODETEXT); },
                 EditorAllowance())) {
    return u"(nothing copied)";
  }
  std::u16string text;
  if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, EditorAllowance())) return u"(clipboard busy)";
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const char16_t*>(GlobalLock(h))) {
      text = p;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return text;
}

std::u16string Fixture() { return u"안녕하세요 Brisel\n두 번째 줄"; }

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 editor program";
  if (argc != 2 && argc != 3) {
    std::printf("usage: brisel_app_test <screenshot folder> [<PDF folder>]\n");
    return 2;
  }
  const std::wstring shots = imedrv::WidenArg(argv[1]);
  const std::wstring pdfFolder = argc == 3 ? imedrv::WidenArg(argv[2]) : L"";
  const std::wstring installDir = imeinst::GetString(HKEY_LOCAL_MACHINE, imeinst::kSuiteKey, L"Install Directory");
  const std::wstring program = installDir + L"\\GeulmaruV6\\BRISELV6.EXE";
  if (!check(GetFileAttributesW(program.c_str()) != INVALID_FILE_ATTRIBUTES, "the suite installed %s",
             U8(program).c_str())) {
    return wtest::finish();
  }
  imeinst::ResetImeSettings(L"ZO");
  imeinst::ResetImeSettings(L"WA");
  // The default view font "KS P Mincho" is not on this system: its Korean
  // font stands in, so that the screenshots show the text.
  imeinst::SetString(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes",
                     L"KS P Mincho", L"NanumMyeongjo");
  wchar_t windows[MAX_PATH]{};
  GetWindowsDirectoryW(windows, MAX_PATH);
  g_ini = std::wstring(windows) + L"\\BRISELV6.INI";
  DeleteFileW(g_ini.c_str());

  const std::wstring folder = TempFolder();
  const std::wstring utf8File = folder + L"utf8.txt";
  wtest::WriteFileBytes(utf8File, U8(Fixture()) + "\r\n");

  // ---- first start: no INI file ----
  Editor e;
  if (!check(Start(e, program, L"\"" + utf8File + L"\""), "the editor starts with a file on its command line")) {
    return wtest::finish();
  }
  // The frame is up before the file is read: the caption names the file
  // once it has been read.
  CaptionBecomes(e.main, L"utf8.txt - Brisel", "caption");
  {
    const int w = std::min<int>(GetSystemMetrics(SM_CXVSCROLL) + 80 * LOWORD(GetDialogBaseUnits()) +
                                    4 * GetSystemMetrics(SM_CXFRAME),
                                GetSystemMetrics(SM_CXFULLSCREEN));
    const int h = GetSystemMetrics(SM_CYFULLSCREEN) * 9 / 10;
    // The first activation places the frame.
    RECT r{};
    CheckWithin(
        EditorAllowance(),
        [&] {
          r = imedrv::WindowRect(e.main);
          return r.left == 0 && r.top == 0 && r.right == w && r.bottom == h;
        },
        [&] {
          char seen[96];
          std::snprintf(seen, sizeof seen, "(%ld, %ld)-(%ld, %ld)", r.left, r.top, r.right, r.bottom);
          return std::string(seen);
        },
        "first start: (0, 0) %d x %d (80 dialog characters, 90 %% of the screen)", w, h);
    check(!IsZoomed(e.main) && !IsIconic(e.main), "first start: a normal window");
    HWND status = GetDlgItem(e.main, kStatusBarId);
    check(status && IsWindowVisible(status), "first start: the status bar shows");
    // The five panes and, before CAP and NUM, the code a plain save writes.
    check(SendMessageW(status, SB_GETPARTS, 0, 0) == 6, "the status bar has six panes");
    SaveCodePaneBecomes(e, L"UTF-8", "the UTF-8 file's plain save writes UTF-8");
    HWND tool = GetDlgItem(e.main, kToolBarId);
    check(tool && IsWindowVisible(tool), "first start: the tool bar shows");
  }
  ViewTextBecomes(e.main, Fixture(), "the view shows the file's text");

  // Typing through the installed input method (the KS edition, activated by
  // the view for its KS font) on the keyboard road.
  Foreground(e.main);
  Type("gksrmf\r");  // 한글, committed by Enter
  const std::u16string typed = u"한글" + Fixture();
  ViewTextBecomes(e.main, typed, "Korean typed through the input method arrives");
  wtest::Capture(e.main, shots, L"brisel-main");
  Foreground(e.main);
  CtrlKey('S');
  {
    std::u16string lines = typed;
    std::string expected;
    for (char c : U8(lines)) {
      if (c == '\n') expected += '\r';
      expected += c;
    }
    expected += "\r\n";
    FileBecomes(utf8File, expected, "Ctrl+S saved the typed text in UTF-8");
  }
  // "KSｺｰﾄﾞ 貼り付け" chosen in the tool bar's paste-code box.
  if (HWND box = PasteCodeBox(e.main)) {
    const std::vector<std::wstring> pasteItems = {L"自動識別 貼り付け", L"KSｺｰﾄﾞ 貼り付け", L"GMｺｰﾄﾞ 貼り付け"};
    check(BoxItems(box) == pasteItems, "the paste-code box offers its three codes");
    check(SendMessageW(box, CB_GETCURSEL, 0, 0) == 0, "it starts on PasteCode 0");
    SendMessageW(box, CB_SETCURSEL, 1, 0);
    SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(kPasteCodeBox, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
  } else {
    check(false, "the tool bar has the paste-code box");
  }
  const RECT placed = imedrv::WindowRect(e.main);
  check(Close(e), "the editor ends when its window closes");
  {
    wchar_t rect[64];
    std::swprintf(rect, 64, L"%ld,%ld,%ld,%ld", placed.left, placed.top, placed.right, placed.bottom);
    check(Ini(kIniSectionWindow, L"Rect") == rect, "exit wrote Rect %s: %s", U8(std::wstring(rect)).c_str(),
          U8(Ini(kIniSectionWindow, L"Rect")).c_str());
    check(Ini(kIniSectionWindow, L"showCmd") == L"1", "exit wrote showCmd 1");
    check(Ini(kIniSectionWindow, L"status") == L"1" && Ini(kIniSectionWindow, L"tool") == L"1",
          "exit wrote status 1 and tool 1");
    check(Ini(kIniSectionControl, L"PasteCode") == L"1", "choosing KSｺｰﾄﾞ 貼り付け wrote PasteCode 1");
    check(Ini(kIniSectionControl, L"InFileType") == L"0" && Ini(kIniSectionControl, L"OutFileType") == L"0" &&
              Ini(kIniSectionControl, L"KsCopyFlag") == L"1" && Ini(kIniSectionControl, L"GmCopyFlag") == L"1",
          "exit wrote the rest of the section Control");
    check(Ini(L"Recent File List", L"File1") == utf8File, "the file opened heads the recent files: %s",
          U8(Ini(L"Recent File List", L"File1")).c_str());
  }

  // ---- second start: a shortcut, a stored placement, the file dialogs ----
  WritePrivateProfileStringW(kIniSectionWindow, L"Rect", L"3000,3000,3600,3500", g_ini.c_str());
  WritePrivateProfileStringW(kIniSectionWindow, L"showCmd", L"3", g_ini.c_str());
  const std::wstring link = folder + L"to the letter.lnk";
  CoInitialize(nullptr);
  check(MakeShortcut(link, utf8File), "a shortcut to the file");
  CoUninitialize();
  if (!check(Start(e, program, L"\"" + link + L"\""), "the editor starts again, on the shortcut")) {
    return wtest::finish();
  }
  CaptionBecomes(e.main, L"utf8.txt - Brisel", "the shortcut opens its target");
  // The stored placement is applied at the frame's first activation.
  CheckWithin(
      EditorAllowance(), [&] { return IsZoomed(e.main) != FALSE; }, [] { return std::string("not maximised"); },
      "closed maximised, started maximised");
  {
    HWND box = nullptr;
    CheckWithin(
        EditorAllowance(),
        [&] { return (box = PasteCodeBox(e.main)) != nullptr && SendMessageW(box, CB_GETCURSEL, 0, 0) == 1; },
        [&] { return box ? "item " + std::to_string(SendMessageW(box, CB_GETCURSEL, 0, 0)) : std::string("no box"); },
        "the paste-code box starts on the stored PasteCode 1");
  }
  RECT normal{};
  {
    const RECT work = imedrv::WorkArea();
    CheckWithin(
        EditorAllowance(),
        [&] {
          WINDOWPLACEMENT wp{};
          wp.length = sizeof wp;
          GetWindowPlacement(e.main, &wp);
          normal = wp.rcNormalPosition;
          return normal.right - normal.left == 600 && normal.bottom - normal.top == 500 && normal.left >= work.left &&
                 normal.top >= work.top && normal.right <= work.right && normal.bottom <= work.bottom;
        },
        [&] {
          char seen[96];
          std::snprintf(seen, sizeof seen, "(%ld, %ld)-(%ld, %ld)", normal.left, normal.top, normal.right,
                        normal.bottom);
          return std::string(seen);
        },
        "the stored rectangle off the screen comes back inside the work area");
  }
  std::vector<std::wstring> items;
  int initial = -1;
  if (UseFileDialog(e, 57601, L"開く", utf8File, 1, &items, &initial, shots, L"brisel-open-dialog")) {
    const std::vector<std::wstring> openItems = {L"自動識別", L"UTF-8", L"Unicode", L"使用中のフォントコード",
                                                 L"KSコード", L"GMコード"};
    check(items == openItems, "the open dialog's code box offers automatic detection and the five codes");
    check(initial == 0, "it starts on InFileType 0");
    CaptionBecomes(e.main, L"utf8.txt - Brisel", "the file chosen opens");
    ViewTextBecomes(e.main, typed, "the view shows it");
  }
  // Each code opened with automatic detection (CHARVANE.dll): the same
  // text, "한글 ok" and "abc" (U+D55C U+AE00), with its line ends.
  struct Sample {
    const wchar_t* name;
    std::string bytes;
  };
  const std::string utf8 = "\xED\x95\x9C\xEA\xB8\x80 ok\r\nabc\r\n";
  const std::string utf16le = std::string("\xFF\xFE\x5C\xD5\x00\xAE \0o\0k\0\r\0\n\0a\0b\0c\0\r\0\n\0", 26);
  const std::string utf16be = std::string("\xFE\xFF\xD5\x5C\xAE\x00\0 \0o\0k\0\r\0\n\0a\0b\0c\0\r\0\n", 26);
  const std::string ks = "\xC7\xD1\xB1\xDB ok\r\nabc\r\n";  // code page 949
  const std::string gm = "\x94\x70\x89\x7A ok\r\nabc\r\n";  // rows 39 and 17 moved into the Shift-JIS ranges
  const Sample samples[] = {{L"in-utf8.txt", utf8}, {L"in-utf16le.txt", utf16le}, {L"in-utf16be.txt", utf16be},
                            {L"in-ks.txt", ks}, {L"in-gm.txt", gm}};
  int previous = 1;
  for (const Sample& sample : samples) {
    const std::wstring path = folder + sample.name;
    wtest::WriteFileBytes(path, sample.bytes);
    if (!UseFileDialog(e, 57601, L"開く", path, 0, nullptr, &initial, L"", nullptr)) break;
    check(initial == previous, "the open dialog starts on the last choice %d (got %d)", previous, initial);
    previous = 0;
    CaptionBecomes(e.main, std::wstring(sample.name) + L" - Brisel", "it opens");
    const std::string what = U8(sample.name) + " is detected and shows its text";
    ViewTextBecomes(e.main, u"한글 ok\nabc", what.c_str());
  }
  wtest::Capture(e.main, shots, L"brisel-gm-file");
  SaveCodePaneBecomes(e, L"GMｺｰﾄﾞ", "the GM file's plain save keeps GM");

  // Saved in each code through the save dialog's box, byte for byte; the
  // view's font is KS, so "使用中のフォントコード" writes KS.
  struct Output {
    int code;
    const wchar_t* name;
    const std::string* bytes;
  };
  const Output outputs[] = {{0, L"out-utf8.txt", &utf8}, {1, L"out-unicode.txt", &utf16le},
                            {2, L"out-fontcode.txt", &ks}, {4, L"out-gm.txt", &gm}, {3, L"out-ks.txt", &ks}};
  previous = 0;
  std::wstring lastSaved;
  for (const Output& out : outputs) {
    const std::wstring path = folder + out.name;
    DeleteFileW(path.c_str());
    if (!UseFileDialog(e, 57604, L"名前を付けて保存", path, out.code, &items, &initial, L"", nullptr)) break;
    if (out.code == 0) {
      const std::vector<std::wstring> saveItems = {L"UTF-8", L"Unicode", L"使用中のフォントコード", L"KSコード",
                                                   L"GMコード"};
      check(items == saveItems, "the save dialog's code box offers the five codes");
    }
    check(initial == previous, "the save dialog starts on the last choice %d (got %d)", previous, initial);
    previous = out.code;
    CaptionBecomes(e.main, std::wstring(out.name) + L" - Brisel", "the document takes the name");
    const std::string what = "saved in code " + std::to_string(out.code) + " byte for byte";
    FileBecomes(path, *out.bytes, what.c_str());
    lastSaved = path;
  }

  // Find and replace through the sheet "検索・置換" (modeless, its texts in
  // the Hangul edit control): "ok" found on the find page, "abc" replaced
  // by "xyz" on the replace page; saved in KS code.
  PostMessageW(e.main, WM_COMMAND, 57636, 0);
  if (HWND sheet = WaitForWindow(e.pi.dwProcessId, L"#32770", L"検索・置換")) {
    HWND findText = nullptr;
    CheckWithin(
        EditorAllowance(), [&] { return (findText = Descendant(sheet, 1000)) != nullptr; },
        [] { return std::string("no find text box"); }, "the sheet opens on its find page");
    wtest::Capture(sheet, shots, L"brisel-find-sheet");
    SendMessageA(findText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("ok"));
    ClickButton(sheet, 149);
    {
      const std::u16string found = SelectionText(e.main);
      check(found == u"ok", "次を検索 selects the text found: %s", U8(found).c_str());
    }
    SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
    HWND searchText = nullptr;
    HWND withText = nullptr;
    CheckWithin(
        EditorAllowance(),
        [&] { return (searchText = Descendant(sheet, 152)) != nullptr && (withText = Descendant(sheet, 153)) != nullptr; },
        [] { return std::string("not both"); }, "the replace page has its two texts");
    SendMessageA(searchText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abc"));
    SendMessageA(withText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("xyz"));
    // The first press finds the text, the second replaces from there on.
    ClickButton(sheet, 158);
    ClickButton(sheet, 158);
    PostMessageW(sheet, WM_CLOSE, 0, 0);
    Gone(sheet, "the sheet closes");
    ViewTextBecomes(e.main, u"한글 ok\nxyz", "すべて置換 replaced the text");
    Foreground(e.main);
    CtrlKey('S');
    FileBecomes(lastSaved, "\xC7\xD1\xB1\xDB ok\r\nxyz\r\n", "Ctrl+S saved it in its KS code");
  } else {
    check(false, "the find sheet opens");
  }

  // The settings dialog (32776): KS copies as plain text; without a GM face
  // on this system the GM copy is text only too. Both flags reach the
  // section "Control" at exit.
  PostMessageW(e.main, WM_COMMAND, 32776, 0);
  if (HWND d = WaitForWindow(e.pi.dwProcessId, L"#32770", L"環境設定")) {
    SendMessageW(GetDlgItem(d, 1020), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    Gone(d, "the settings dialog closes with OK");
  } else {
    check(false, "the settings dialog opens");
  }
  // The font dialog (32771): NanumGothic chosen; OK writes the section "Font".
  PostMessageW(e.main, WM_COMMAND, 32771, 0);
  if (HWND d = WaitForWindow(e.pi.dwProcessId, L"#32770", L"ﾌｫﾝﾄ設定")) {
    HWND list = GetDlgItem(d, 277);
    const LRESULT n = SendMessageW(list, LB_GETCOUNT, 0, 0);
    LRESULT index = -1;
    for (LRESULT i = 0; i < n && index < 0; ++i) {
      wchar_t face[128]{};
      SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(face));
      if (lstrcmpW(face, L"NanumGothic") == 0) index = i;
    }
    check(index >= 0, "the font list offers NanumGothic");
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(d, WM_COMMAND, MAKEWPARAM(277, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    SendMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    Gone(d, "the font dialog closes with OK");
    CheckWithin(
        EditorAllowance(),
        [&] {
          return Ini(L"Font", L"FaceName") == L"NanumGothic" && Ini(L"Font", L"CharSet") == L"129" &&
                 Ini(L"Font", L"Weight") == L"400";
        },
        [&] { return U8(Ini(L"Font", L"FaceName") + L" " + Ini(L"Font", L"CharSet") + L" " + Ini(L"Font", L"Weight")); },
        "OK wrote the section Font: NanumGothic 129 400");
  } else {
    check(false, "the font dialog opens");
  }

  // The print preview (57609) over the frame, closed with Esc; then a
  // direct print (57608) on the default printer, the fixture's PDF printer.
  PostMessageW(e.main, WM_COMMAND, 57609, 0);
  if (HWND preview = WaitForWindow(e.pi.dwProcessId, L"fw.PrintPreview", nullptr)) {
    check(true, "the print preview opens");
    // The picture: the preview has painted once the editor answers a message
    // sent after the paint messages that showing it queued.
    UpdateWindow(preview);
    SendMessageTimeoutW(preview, WM_NULL, 0, 0, SMTO_NORMAL, EditorAllowance(), nullptr);
    wtest::Capture(preview, shots, L"brisel-preview");
    PostMessageW(preview, WM_KEYDOWN, VK_ESCAPE, 0);
    CheckWithin(
        EditorAllowance(), [&] { return !IsWindow(preview) && IsWindowEnabled(e.main); },
        [&] { return std::string(IsWindow(preview) ? "the preview still open" : "the frame still disabled"); },
        "Esc closes the preview and gives the frame back");
  } else {
    check(false, "the print preview opens");
  }
  if (!pdfFolder.empty()) {
    PostMessageW(e.main, WM_COMMAND, 57608, 0);
    std::string pdf;
    // The job goes through the spooler, CUPS and its PDF filter.
    CheckWithin(
        3 * EditorAllowance(),
        [&] {
          WIN32_FIND_DATAW found{};
          HANDLE h = FindFirstFileW((pdfFolder + L"\\*.pdf").c_str(), &found);
          if (h == INVALID_HANDLE_VALUE) return false;
          FindClose(h);
          pdf = wtest::ReadFileBytes(pdfFolder + L"\\" + found.cFileName);
          return pdf.rfind("%PDF", 0) == 0 && pdf.find("%%EOF") != std::string::npos;
        },
        [&] { return std::to_string(pdf.size()) + " bytes of PDF"; }, "the direct print reaches the PDF printer");
  } else {
    note("no PDF printer given: the direct print is not tried");
  }

  check(Close(e), "the editor ends again");
  check(Ini(kIniSectionWindow, L"showCmd") == L"3", "exit wrote showCmd 3");
  {
    wchar_t rect[64];
    std::swprintf(rect, 64, L"%ld,%ld,%ld,%ld", normal.left, normal.top, normal.right, normal.bottom);
    check(Ini(kIniSectionWindow, L"Rect") == rect, "exit wrote the normal rectangle %s", U8(std::wstring(rect)).c_str());
  }
  check(Ini(kIniSectionControl, L"InFileType") == L"0", "the open dialog's last choice is InFileType 0");
  check(Ini(kIniSectionControl, L"KsCopyFlag") == L"0" && Ini(kIniSectionControl, L"GmCopyFlag") == L"0",
        "the settings dialog's copy flags were written at exit");
  check(Ini(kIniSectionControl, L"OutFileType") == L"3", "saving with KSコード stored OutFileType 3");
  check(Ini(L"Recent File List", L"File1") == lastSaved && Ini(L"Recent File List", L"File2") == folder + L"out-gm.txt",
        "the recent files: the names saved last first: %s, %s, %s, %s", U8(Ini(L"Recent File List", L"File1")).c_str(),
        U8(Ini(L"Recent File List", L"File2")).c_str(), U8(Ini(L"Recent File List", L"File3")).c_str(),
        U8(Ini(L"Recent File List", L"File4")).c_str());

  // ---- a file that is not there: box 61697, then the empty editor ----
  {
    const std::wstring missing = folder + L"missing.txt";
    DeleteFileW(missing.c_str());
    std::wstring line = L"\"" + program + L"\" \"" + missing + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (check(CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) !=
                  FALSE,
              "the editor starts on a file that is not there")) {
      HWND box = WaitForWindow(pi.dwProcessId, L"#32770", nullptr, 2 * EditorAllowance());
      const std::wstring text = box ? BoxText(box) : L"(no box)";
      check(text == L"ﾄﾞｷｭﾒﾝﾄを開くことに失敗しました。", "it says so: %s", U8(text).c_str());
      if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
      Editor empty;
      empty.pi = pi;
      empty.main = WaitForWindow(pi.dwProcessId, L"fw.FrameWindow", nullptr, 2 * EditorAllowance());
      if (check(empty.main != nullptr, "then the empty editor opens")) {
        CaptionBecomes(empty.main, L"無題 - Brisel", "an untitled document");
        check(Close(empty), "and ends when its window closes");
      } else {
        TerminateProcess(pi.hProcess, 99);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
      }
    }
  }

  // ---- a file whose text cannot be read as it stands (lone CRs) ----
  // One message says what changed; Ctrl+S then asks for a name instead of
  // writing the changed text over the file.
  {
    const std::wstring lossy = folder + L"lone-cr.txt";
    const std::string bytes = "a\rb\rc\r\n";
    wtest::WriteFileBytes(lossy, bytes);
    Editor l;
    std::wstring line = L"\"" + program + L"\" \"" + lossy + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (check(CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &l.pi) !=
                  FALSE,
              "the editor starts on a file with lone CRs")) {
      HWND box = WaitForWindow(l.pi.dwProcessId, L"#32770", L"Brisel", 2 * EditorAllowance());
      const std::wstring text = box ? BoxText(box) : L"(no box)";
      check(text.find(L"・削除した単独の CR (改行にならない復帰文字): 2 個") != std::wstring::npos &&
                text.find(L"上書き保存では名前を付けて保存します") != std::wstring::npos,
            "one message says two lone CRs went and the plain save asks for a name: %s", U8(text).c_str());
      if (box) {
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        Gone(box, "the message closes");
      }
      l.main = WaitForWindow(l.pi.dwProcessId, L"fw.FrameWindow", nullptr, 2 * EditorAllowance());
      if (check(l.main != nullptr, "the editor's window opens")) {
        CaptionBecomes(l.main, L"lone-cr.txt - Brisel", "the file opens");
        ViewTextBecomes(l.main, u"abc", "the view shows the text without the CRs");
        Foreground(l.main);
        CtrlKey('S');
        HWND save = WaitForWindow(l.pi.dwProcessId, L"#32770", L"名前を付けて保存");
        check(save != nullptr, "Ctrl+S opens the save dialog");
        if (save) {
          PostMessageW(save, WM_COMMAND, IDCANCEL, 0);
          Gone(save, "the save dialog is cancelled");
        }
        check(wtest::ReadFileBytes(lossy) == bytes, "the file is as it was");
        check(Close(l), "the editor ends");
      } else {
        TerminateProcess(l.pi.hProcess, 99);
        CloseHandle(l.pi.hProcess);
        CloseHandle(l.pi.hThread);
      }
    }
  }
  // ---- a save in a code that lacks characters of the text ----
  // "café ¥" in UTF-8 saved as KS: the box names the code, the count and
  // the first character, and nothing is written; OK there opens the save
  // dialog again, where UTF-16 keeps the text whole.
  {
    const std::wstring source = folder + L"latin.txt";
    const std::wstring target = folder + L"latin-out.txt";
    const std::string bytes = "caf\xC3\xA9 \xC2\xA5\r\n";
    wtest::WriteFileBytes(source, bytes);
    DeleteFileW(target.c_str());
    Editor m;
    if (check(Start(m, program, L"\"" + source + L"\""), "the editor starts on a UTF-8 file with \"é\" and \"¥\"")) {
      CaptionBecomes(m.main, L"latin.txt - Brisel", "it opens");
      for (const bool otherCode : {false, true}) {
        if (!UseFileDialog(m, 57604, L"名前を付けて保存", target, 3, nullptr, nullptr, L"", nullptr)) break;
        HWND box = WaitForWindow(m.pi.dwProcessId, L"#32770", L"Brisel");
        const std::wstring text = box ? BoxText(box) : L"(no box)";
        check(text.find(L"KSｺｰﾄﾞ では保存できない文字が 2 個あります。") != std::wstring::npos &&
                  text.find(L"最初の文字: 「é」 U+00E9 (1 行目)") != std::wstring::npos,
              "KS code lacks two characters, the first U+00E9 in line 1: %s", U8(text).c_str());
        if (!box) break;
        PostMessageW(box, WM_COMMAND, otherCode ? IDOK : IDCANCEL, 0);
        Gone(box, "the question closes");
        if (!otherCode) {
          check(GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES, "cancelled: nothing was written");
          continue;
        }
        // OK: the save dialog again, now with Unicode.
        HWND again = WaitForWindow(m.pi.dwProcessId, L"#32770", L"名前を付けて保存");
        if (!check(again != nullptr, "OK opens the save dialog for another code")) break;
        HWND codes = CodeBox(again);
        if (codes) SendMessageW(codes, CB_SETCURSEL, 1, 0);
        HWND name = GetDlgItem(again, cmb13);
        if (!name) name = GetDlgItem(again, edt1);
        if (name) SetWindowTextW(name, target.c_str());
        PostMessageW(again, WM_COMMAND, IDOK, 0);
        FileBecomes(target, std::string("\xFF\xFE" "c\0a\0f\0\xE9\0 \0\xA5\0\r\0\n\0", 18),
                    "the text whole in UTF-16");
        CaptionBecomes(m.main, L"latin-out.txt - Brisel", "the document takes the new name");
        SaveCodePaneBecomes(m, L"Unicode", "its plain save now writes Unicode");
      }
      check(wtest::ReadFileBytes(source) == bytes, "the file read is as it was");
      check(Close(m), "the editor ends");
    }
  }
  return wtest::finish();
}

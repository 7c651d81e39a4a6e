// The main job's tour of the installed suite (32-bit): every companion
// program started as a user starts it, shown with a little real content and
// photographed.
//
//   suitetour.exe <picture folder> <stand-in folder>
//
// The translation workbench DALMOK.EXE and the input pad Vestra.EXE are
// started by the input method's status toolbar for this program's typing
// window (the installed ZORBENV6.IME on the keyboard road); the editor, the
// dictionary, the text player, the listening program and the font setup by
// their shortcuts in the suite's Start-menu folder.  Each main window is
// saved as <name>.bmp in the picture folder and listed in tour.txt there
// ("<name>.bmp|<label>|<x>,<y>,<width>,<height>" with the window's client
// area in the picture, one a line, in the order of the tour) for the
// contact sheet.  Two platform pieces that Wine lacks here, the web browser
// control (the dictionary's entry page) and the Jet database provider (the
// listening program's example database), are stood in for by the test
// stand-ins from the stand-in folder, registered for the tour's time only.
// Every state photographed is waited for (tests/wine/wait.h); a program that
// does not come up is reported and the tour goes on with the next one.
#include <windows.h>
#include <commctrl.h>
#include <imm.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ado_registration.h"
#include "check.h"
#include "child_windows.h"
#include "ime_driver.h"
#include "ime_install.h"
#include "ime_layouts.h"
#include "input.h"
#include "screenshot.h"
#include "shell_links.h"
#include "test_files.h"
#include "wait.h"
#include "workbench_drive.h"

using wtest::check;
using wtest::CheckWithin;
using wtest::note;

namespace {

DWORD Allowance32() { return wtest::StartAllowance(32); }

std::string U8(const std::wstring& w) { return wbdrive::U8(w); }

// ---- the pictures and their list ----

struct Tour {
  std::wstring folder;
  struct Picture {
    std::wstring file;
    std::string label;
    RECT client;  // the window's client area in the picture
  };
  std::vector<Picture> shots;

  // The window photographed in front of the others.
  bool Shoot(HWND w, const wchar_t* name, const char* label) {
    SetForegroundWindow(w);
    wtest::WaitUntil([&] { return GetForegroundWindow() == w; }, Allowance32());
    const wtest::Shot s = wtest::Capture(w, folder, name);
    const bool ok = check(s.w > 0 && s.h > 0, "%s: picture %ls.bmp, %d x %d", label, name, s.w, s.h);
    if (ok) shots.push_back({std::wstring(name) + L".bmp", label, wtest::ClientInShot(w)});
    return ok;
  }

  void WriteList() const {
    std::string text;
    for (const Picture& p : shots) {
      char client[64];
      std::snprintf(client, sizeof client, "|%ld,%ld,%ld,%ld\n", p.client.left, p.client.top,
                    p.client.right - p.client.left, p.client.bottom - p.client.top);
      text += U8(p.file) + "|" + p.label + client;
    }
    const std::wstring path = folder + L"\\tour.txt";
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (!check(f != INVALID_HANDLE_VALUE, "tour.txt written")) return;
    DWORD n = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
    CloseHandle(f);
  }
};

// ---- programs started by the tour ----

struct Program {
  PROCESS_INFORMATION pi{};
  bool started = false;
};

bool Launch(Program& p, const std::wstring& exe, const std::wstring& args, const std::wstring& folder) {
  std::wstring line = L"\"" + exe + L"\"";
  if (!args.empty()) line += L" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  p.started = CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             folder.empty() ? nullptr : folder.c_str(), &si, &p.pi) != 0;
  return p.started;
}

// Closes the program's window and waits for the program to end; one that
// does not end in time is ended, so that the next one has the screen.
void Close(Program& p, HWND w, UINT command = 0) {
  if (!p.started) return;
  if (w && IsWindow(w)) PostMessageW(w, command ? WM_COMMAND : WM_CLOSE, command, 0);
  const bool ended = WaitForSingleObject(p.pi.hProcess, 2 * Allowance32()) == WAIT_OBJECT_0;
  if (!ended) {
    note("the program did not end after its window was closed; ending it");
    TerminateProcess(p.pi.hProcess, 1);
    WaitForSingleObject(p.pi.hProcess, Allowance32());
  }
  CloseHandle(p.pi.hProcess);
  CloseHandle(p.pi.hThread);
  p = Program{};
}

std::wstring Text(HWND w) { return wtest::WindowText(w); }

// A registry value of the machine set for the tour's time and put back after.
class MachineValue {
 public:
  MachineValue(const std::wstring& key, const wchar_t* name, const std::wstring& value)
      : key_(key), name_(name), previous_(imeinst::GetString(HKEY_LOCAL_MACHINE, key, name)) {
    imeinst::SetString(HKEY_LOCAL_MACHINE, key_, name_, value);
  }
  ~MachineValue() {
    if (previous_ != L"(none)") {
      imeinst::SetString(HKEY_LOCAL_MACHINE, key_, name_, previous_);
    } else {
      HKEY k = nullptr;
      if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_SET_VALUE, &k) == ERROR_SUCCESS) {
        RegDeleteValueW(k, name_);
        RegCloseKey(k);
      }
    }
  }
  MachineValue(const MachineValue&) = delete;
  MachineValue& operator=(const MachineValue&) = delete;

 private:
  std::wstring key_;
  const wchar_t* name_;
  std::wstring previous_;
};

// ---- the programs of the input method's toolbar ----

std::u16string g_results;

LRESULT CALLBACK TypingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_IME_COMPOSITION && (lp & GCS_RESULTSTR)) g_results += imedrv::ResultString(hwnd);
  if (msg == WM_CHAR) return 0;
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// The status toolbar's button i, its centre in the bar's client area.
POINT ButtonCentre(int i) { return {53 + 22 * i + 11, 18}; }

constexpr int kPadButton = 3, kWorkbenchButton = 4;

// Closes a window of a program that another started (the input method's
// toolbar) and waits for the window to go and the program to end.
void CloseStartedWindow(HWND w, const char* what) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  PostMessageW(w, WM_CLOSE, 0, 0);
  CheckWithin(
      2 * Allowance32(), [&] { return !IsWindow(w); }, [] { return std::string("still open"); }, "%s closes", what);
  if (process) {
    WaitForSingleObject(process, Allowance32());
    CloseHandle(process);
  }
}

void Workbench(Tour& tour, HWND bar) {
  wtest::ClickClient(bar, ButtonCentre(kWorkbenchButton).x, ButtonCentre(kWorkbenchButton).y);
  HWND frame = wbdrive::FindFrame(L"ＤＡＬＭＯＫ(パリスク) － ＫＳ");
  if (!check(frame != nullptr, "the toolbar's workbench button starts DALMOK.EXE")) return;
  HWND japanese = wbdrive::FindChild(frame, L"Edit");
  HWND korean = wbdrive::FindChild(frame, L"GeulmaruHangulView");
  if (check(japanese && korean, "the workbench's two panes are there")) {
    wbdrive::PasteJapanese(frame, japanese, L"私は学生です。日本語と韓国語を勉強します。");
    wbdrive::CtrlKey('T');
    CheckWithin(
        Allowance32(), [&] { return wbdrive::FocusOf(frame) == korean; }, [] { return std::string("focus elsewhere"); },
        "Ctrl+T translates the Japanese pane (the Korean pane takes the focus)");
    tour.Shoot(frame, L"workbench", "DALMOK.EXE - translation workbench");
  }
  CloseStartedWindow(frame, "the workbench");
}

BOOL CALLBACK FindPad(HWND w, LPARAM lp) {
  wchar_t cls[16]{};
  GetClassNameW(w, cls, 16);
  if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(w) && Text(w) == L"日韓翻訳入力" && GetDlgItem(w, 1000)) {
    *reinterpret_cast<HWND*>(lp) = w;
    return FALSE;
  }
  return TRUE;
}

void InputPad(Tour& tour, HWND bar) {
  wtest::ClickClient(bar, ButtonCentre(kPadButton).x, ButtonCentre(kPadButton).y);
  HWND pad = nullptr;
  wtest::WaitUntil([&] { return EnumWindows(FindPad, reinterpret_cast<LPARAM>(&pad)), pad != nullptr; },
                   2 * Allowance32());
  if (!check(pad != nullptr, "the toolbar's pad button starts Vestra.EXE (日韓翻訳入力)")) return;
  HWND control = GetDlgItem(pad, 1000);
  const std::wstring japanese = L"学生です";
  if (wbdrive::PutClipboard(japanese)) {
    wbdrive::Foreground(pad);
    wbdrive::CtrlKey('V');
    auto textA = [&] {
      char buf[256]{};
      SendMessageTimeoutA(control, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000,
                          nullptr);
      return std::string(buf);
    };
    CheckWithin(
        Allowance32(), [&] { return !textA().empty(); }, [] { return std::string("empty"); },
        "the pad holds the pasted Japanese");
    const std::string before = textA();
    wtest::SendKeys({VK_RETURN});
    CheckWithin(
        Allowance32(), [&] { return !textA().empty() && textA() != before; },
        [&] { return std::to_string(textA().size()) + " bytes"; }, "Enter translates the pad's Japanese");
  }
  tour.Shoot(pad, L"inputpad", "Vestra.EXE - translation input pad");
  CloseStartedWindow(pad, "the pad");
}

void ToolbarPrograms(Tour& tour) {
  HWND hwnd = imedrv::CreateTestWindow(TypingProc, L"SuiteTourTyping", L"GeulmaruV6", {40, 40, 440, 240},
                                       static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!check(hwnd != nullptr, "the typing window is created")) return;
  imedrv::BoxWatcher boxes;
  boxes.Start();
  HKL hkl = reinterpret_cast<HKL>(codeconv::FindImeLayoutByName("ZORBENV6.IME"));
  if (check(hkl != nullptr, "a keyboard layout of the installed ZORBENV6.IME")) {
    HKL previous = ActivateKeyboardLayout(hkl, 0);
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    wtest::WaitForFocus(hwnd);
    imedrv::OpenInputMethod(hwnd);
    HWND bar = nullptr;
    check(wtest::WaitUntil(
              [&] {
                const std::vector<HWND> w = imedrv::ThreadWindows(L"warbenv3Status", true);
                return (bar = w.empty() ? nullptr : w[0]) != nullptr;
              },
              wtest::Allowance()),
          "the input method's status toolbar shows");
    if (bar) {
      Workbench(tour, bar);
      SetForegroundWindow(hwnd);
      wtest::WaitUntil([&] { return GetForegroundWindow() == hwnd; }, Allowance32());
      InputPad(tour, bar);
    }
    ActivateKeyboardLayout(previous, 0);
  }
  boxes.Stop();
  for (const std::u16string& t : boxes.Texts()) note("message box of the input method: %s", imedrv::Utf8(t).c_str());
  DestroyWindow(hwnd);
}

// ---- the programs of the Start menu ----

struct MenuEntry {
  std::wstring target, folder;
};

// The shortcut of the suite's Start-menu folder whose target is that file.
bool FindMenuEntry(const wchar_t* file, MenuEntry& entry) {
  for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
    const std::wstring menu = shlinks::ProgramsFolder(csidl);
    WIN32_FIND_DATAW fd{};
    HANDLE h = FindFirstFileW((menu + L"\\*.lnk").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) continue;
    bool found = false;
    do {
      const shlinks::Link link = shlinks::ReadLink(menu + L"\\" + fd.cFileName);
      const size_t slash = link.target.find_last_of(L'\\');
      const std::wstring name = slash == std::wstring::npos ? link.target : link.target.substr(slash + 1);
      if (_wcsicmp(name.c_str(), file) == 0) {
        entry = {link.target, link.folder};
        note("Start menu: %s -> %s", U8(fd.cFileName).c_str(), U8(link.target).c_str());
        found = true;
      }
    } while (!found && FindNextFileW(h, &fd));
    FindClose(h);
    if (found) return true;
  }
  return false;
}

// The program of a Start-menu entry, started as the shortcut says (its target
// in its working folder). Under Wine 8 ShellExecuteEx on the shortcut starts
// the program but gives no handle of its process, which the tour waits on.
bool StartFromMenu(Program& p, const wchar_t* file, const std::wstring& args) {
  MenuEntry entry;
  if (!check(FindMenuEntry(file, entry), "the Start menu has an entry for %ls", file)) return false;
  return check(Launch(p, entry.target, args, entry.folder), "%ls starts from its Start-menu entry", file);
}

HWND WaitMain(const Program& p, const wchar_t* cls, const wchar_t* title, const char* what) {
  HWND w = wtest::WaitForProcessWindow(p.pi.dwProcessId, cls, title, 2 * Allowance32());
  if (!check(w != nullptr, "%s shows its main window", what)) wtest::NoteProcessWindows(p.pi.dwProcessId);
  return w;
}

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH]{};
  GetTempPathW(MAX_PATH, temp);
  return temp;
}

void Editor(Tour& tour) {
  // The editor's default view font "KS P Mincho" is not on this system: its
  // Korean font stands in for it.
  const MachineValue font(L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes", L"KS P Mincho",
                          L"NanumMyeongjo");
  const std::wstring file = TempFolder() + L"suitetour.txt";
  // UTF-8 without a byte-order mark (the editor keeps a mark as a character).
  const std::string text =
      "\xEC\x95\x88\xEB\x85\x95\xED\x95\x98\xEC\x84\xB8\xEC\x9A\x94.\r\n"                                   // 안녕하세요.
      "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4\xEB\xA5\xBC \xEB\xB0\xB0\xEC\x9B\x81\xEB\x8B\x88\xEB\x8B\xA4.\r\n";  // 한국어를 배웁니다.
  if (!check(wtest::WriteFileBytes(file, text), "a small Korean text file for the editor")) return;
  Program p;
  if (!StartFromMenu(p, L"BRISELV6.EXE", L"\"" + file + L"\"")) return;
  HWND main = WaitMain(p, L"fw.FrameWindow", nullptr, "BRISELV6.EXE");
  if (main) {
    CheckWithin(
        Allowance32(), [&] { return Text(main).find(L"suitetour") != std::wstring::npos; },
        [&] { return U8(Text(main)); }, "the editor's title names the file it opened");
    tour.Shoot(main, L"editor", "BRISELV6.EXE - Hangul text editor");
  }
  Close(p, main);
  DeleteFileW(file.c_str());
}

void Dictionary(Tour& tour, const std::wstring& standins) {
  // Wine has no HTML engine here: the entry page is shown by the stand-in
  // browser object for the tour's time.
  const MachineValue browser(L"Software\\Classes\\CLSID\\{8856F961-340A-11D0-A96B-00C04FD705A2}\\InprocServer32", L"",
                             standins + L"\\browser_standin.dll");
  Program p;
  // 학교, Korean to Japanese.
  if (!StartFromMenu(p, L"Ombrel.exe", L"%uD559%uAD50,1,0,0,f")) return;
  HWND main = WaitMain(p, L"#32770", L"ミルダ韓日・日韓辞典", "Ombrel.exe");
  if (main) {
    HWND list = GetDlgItem(main, 1049);
    CheckWithin(
        Allowance32(), [&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) > 0; },
        [&] { return std::to_string(SendMessageW(list, LB_GETCOUNT, 0, 0)) + " rows"; },
        "the dictionary lists the headwords from 학교");
    // The stand-in browser keeps the page's text as its window text.
    auto page = [&] {
      for (HWND b : wtest::ChildrenOfClass(main, L"GeulmaruTestBrowser"))
        if (IsWindowVisible(b)) return Text(b);
      return std::wstring(L"(no browser window)");
    };
    CheckWithin(
        Allowance32(), [&] { return page().find(L"学校") != std::wstring::npos; },
        [&] { return U8(page().substr(0, 200)); }, "its entry page shows 학교 with 学校");
    tour.Shoot(main, L"dictionary", "Ombrel.exe - Korean-Japanese dictionary");
  }
  Close(p, main);
}

void Player(Tour& tour) {
  // The speech engine's data folder, and the faces this system has for the
  // player's two panes (as its font dialog would store them).
  const std::wstring speechData = TempFolder() + L"suitetour-ddb";
  CreateDirectoryW(speechData.c_str(), nullptr);
  const MachineValue engine(L"SOFTWARE\\VALDRIMO\\Sonavo50", L"DicPath", speechData + L"\\");
  const std::wstring settings = std::wstring(imeinst::kSuiteKey) + L"\\Tessaly3";
  imeinst::SetString(HKEY_CURRENT_USER, settings, L"KrnFontFaceName", L"NanumGothic");
  imeinst::SetString(HKEY_CURRENT_USER, settings, L"JpnFontFaceName", L"IPAGothic");
  Program p;
  if (!StartFromMenu(p, L"Tessaly.exe", L"")) return;
  HWND frame = WaitMain(p, nullptr, L"テサリー", "Tessaly.exe");
  if (frame) {
    std::vector<HWND> kana;
    wtest::WaitUntil([&] { return !(kana = wtest::ChildrenOfClass(frame, L"RichEdit20W")).empty(); }, Allowance32());
    constexpr UINT kPaste = 57637, kSpeak = 32772, kStop = 32773;
    if (wbdrive::PutClipboard(L"한국어 문장을 읽어 주세요.")) {
      PostMessageW(frame, WM_COMMAND, kPaste, 0);
      PostMessageW(frame, WM_COMMAND, kSpeak, 0);
      CheckWithin(
          Allowance32(), [&] { return !kana.empty() && !Text(kana[0]).empty(); },
          [&] { return kana.empty() ? std::string("no kana pane") : U8(Text(kana[0])); },
          "the pasted Korean is read aloud with its kana reading in the lower pane");
    }
    tour.Shoot(frame, L"player", "Tessaly.exe - text player");
    PostMessageW(frame, WM_COMMAND, kStop, 0);
  }
  Close(p, frame);
}

HTREEITEM Next(HWND tree, HTREEITEM item, UINT code) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

void Listening(Tour& tour, const std::wstring& programFolder, const std::wstring& standins) {
  // No Jet provider under Wine: the stand-in ADO objects read the installed
  // example database for the tour's time; the database path as the first
  // start's dialog stores it.
  const adotest::StandinRegistration ado(standins + L"\\ado_standin.dll");
  imeinst::SetString(HKEY_CURRENT_USER, L"SOFTWARE\\VALDRIMO\\GeulmaruV6\\ExampleCollection", L"DicPath",
                     programFolder + L"Quorvel.rows");
  Program p;
  if (!StartFromMenu(p, L"Ferlin2.exe", L"")) return;
  HWND frame = WaitMain(p, nullptr, L"ﾌｪﾙﾘﾝ２", "Ferlin2.exe");
  if (frame) {
    HWND tree = nullptr;
    CheckWithin(
        Allowance32(),
        [&] {
          const std::vector<HWND> t = wtest::ChildrenOfClass(frame, WC_TREEVIEWW);
          tree = t.empty() ? nullptr : t[0];
          return tree && SendMessageW(tree, TVM_GETCOUNT, 0, 0) > 3;
        },
        [&] { return std::to_string(tree ? SendMessageW(tree, TVM_GETCOUNT, 0, 0) : -1) + " items"; },
        "the listening program's contents tree is filled");
    // The first example: below the root, its first heading and sub-heading.
    HTREEITEM item = tree ? Next(tree, nullptr, TVGN_ROOT) : nullptr;
    for (int depth = 0; item && depth < 3; ++depth) item = Next(tree, item, TVGN_CHILD);
    const std::vector<HWND> panes = wtest::ChildrenOfClass(frame, L"RichEdit20W");
    if (check(item && !panes.empty(), "an example item and the sentence panes")) {
      SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
      CheckWithin(
          Allowance32(), [&] { return !Text(panes[0]).empty(); }, [&] { return U8(Text(panes[0])); },
          "selecting the first example shows its sentences");
    }
    tour.Shoot(frame, L"listening", "Ferlin2.exe - example listening");
  }
  Close(p, frame);
}

void FontSetup(Tour& tour) {
  Program p;
  if (!StartFromMenu(p, L"Belvo4.exe", L"")) return;
  HWND main = WaitMain(p, L"#32770", L"GeulmaruV6 環境設定", "Belvo4.exe");
  if (main) tour.Shoot(main, L"fontsetup", "Belvo4.exe - font setup");
  // Cancel: nothing is linked.
  Close(p, main, IDCANCEL);
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "suite tour";
  if (argc != 3) {
    std::printf("usage: suitetour <picture folder> <stand-in folder>\n");
    return 2;
  }
  Tour tour;
  tour.folder = imeinst::Widen(argv[1]);
  const std::wstring standins = imeinst::Widen(argv[2]);
  CreateDirectoryW(tour.folder.c_str(), nullptr);
  const std::wstring installDir = imeinst::GetString(HKEY_LOCAL_MACHINE, imeinst::kSuiteKey, L"Install Directory");
  const std::wstring programFolder = installDir + L"\\GeulmaruV6\\";
  if (!check(GetFileAttributesW((programFolder + L"DALMOK.EXE").c_str()) != INVALID_FILE_ATTRIBUTES,
             "the suite is installed in %s", U8(programFolder).c_str()))
    return wtest::finish();
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&icc);

  ToolbarPrograms(tour);
  Editor(tour);
  Dictionary(tour, standins);
  Player(tour);
  Listening(tour, programFolder, standins);
  FontSetup(tour);
  tour.WriteList();
  CoUninitialize();
  return wtest::finish();
}

// The installed translation workbench DALMOK.EXE end to end (32-bit), driven
// from this program, which stands in for the input method's side: its
// receiver window is the UI window the workbench is started for (the
// first number of the command line) and logs every WM_WORKBENCH_CHAR with
// the time it was posted; a second window is the application. Checked,
// every response waited for:
//   - the frame announces itself with (1, frame), is always on top and its
//     title ends with the code ("ＫＳ"); the Japanese pane is an ANSI edit;
//   - 私は学生です pasted into the Japanese pane on the keyboard road
//     (clipboard, Ctrl+V) and translated (Ctrl+T): the Korean pane holds
//     저는 학생입니다, and Ctrl+G sends it: one message per character, 40 ms
//     apart, then the commit mark, and both panes are emptied;
//   - 学校 converted character by character (Ctrl+K) gives 學校; the hanja
//     window (Ctrl+H) shows 학교 and the kana window (Ctrl+P) a katakana
//     reading; both windows are open at once;
//   - Ctrl+Y speaks the Korean text into the program's WAV file, which is
//     deleted at the exit;
//   - 学校 selected and Ctrl+Q: the dictionary program opens on it;
//   - closing the frame withdraws the announcement (1, 0) and ends the
//     program and the dictionary it started; screenshots of the frame and the result windows.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "browser_registration.h"
#include "check.h"
#include "ime_driver.h"
#include "ime_install.h"
#include "ime_link.h"
#include "screenshot.h"
#include "wait.h"
#include "workbench_drive.h"

using wtest::check;
using wtest::CheckWithin;
using wtest::note;
using wtest::WaitUntil;

using namespace wbdrive;

namespace {

struct Posted {
  WPARAM wParam;
  LPARAM lParam;
  LONG time;
};
std::vector<Posted> g_log;

LRESULT CALLBACK ReceiverProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == imelink::WM_WORKBENCH_CHAR) {
    g_log.push_back({wParam, lParam, GetMessageTime()});
    return 0;
  }
  return DefWindowProcW(w, message, wParam, lParam);
}

// The receiver and application windows of the test, side by side.
HWND MakeWindow(const wchar_t* cls, const wchar_t* title, int x) {
  return imedrv::CreateTestWindow(ReceiverProc, cls, title, {x, 40, x + 300, 240},
                                  reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

HWND WaitForDialog(DWORD pid, const wchar_t* title) {
  return wtest::WaitForProcessWindow(pid, L"#32770", title, Allowance());
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 workbench";
  if (argc != 2) {
    std::printf("usage: workbench_app_test <screenshot folder>\n");
    return 2;
  }
  const std::wstring shots = imedrv::WidenArg(argv[1]);
  const std::wstring folder = WorkbenchFolder();
  if (folder.empty()) return wtest::finish();

  // The speech engine's data folder (the engine needs one to load).
  const std::wstring speechData = imeinst::SetSpeechDataFolder(L"workbench-test-ddb");
  // No install path: the WAV file lies in the program folder.
  const std::wstring wav = folder + L"speech.wav";
  DeleteFileW(wav.c_str());

  HWND receiver = MakeWindow(L"WorkbenchTestReceiver", L"input method UI window", 20);
  HWND application = MakeWindow(L"WorkbenchTestApplication", L"application", 340);

  // ---- start as the input method's toolbar starts it ----
  PROCESS_INFORMATION pi{};
  if (!check(StartWorkbench(folder, receiver, application, pi), "DALMOK.EXE starts")) return wtest::finish();
  HWND frame = nullptr;
  CheckWithin(
      2 * Allowance(),
      [&] {
        for (const Posted& p : g_log)
          if (p.wParam == imelink::kAnnounce && p.lParam) frame = reinterpret_cast<HWND>(p.lParam);
        return frame != nullptr;
      },
      [&] { return std::to_string(g_log.size()) + " messages"; }, "the workbench announces its frame with (1, frame)");
  if (!frame) {
    TerminateProcess(pi.hProcess, 9);
    return wtest::finish();
  }
  {
    DWORD pid = 0;
    GetWindowThreadProcessId(frame, &pid);
    check(pid == pi.dwProcessId, "the announced window is the workbench's");
  }
  CheckWithin(
      Allowance(), [&] { return IsWindowVisible(frame) != FALSE; }, [] { return std::string("hidden"); },
      "the frame shows");
  check((GetWindowLongW(frame, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "the frame is always on top");
  const std::wstring title = Text(frame);
  check(title == L"ＤＡＬＭＯＫ(パリスク) － ＫＳ", "the title names the code: %s", U8(title).c_str());
  {
    // The tool bar: its 18 slots in order (13 buttons of 24 x 24 pictures
    // and 5 separators).
    HWND bar = FindChild(frame, L"ToolbarWindow32");
    const unsigned slots[] = {32776, 32826, 32771, 32792, 32813, 0, 32806, 32816, 0,
                              32774, 32801, 0,     32830, 0,     32821, 32773, 0, 57666};
    bool inOrder = bar != nullptr && SendMessageW(bar, TB_BUTTONCOUNT, 0, 0) == 18;
    for (int i = 0; inOrder && i < 18; ++i)
      if (slots[i]) inOrder = SendMessageW(bar, TB_COMMANDTOINDEX, slots[i], 0) == i;
    check(inOrder, "the tool bar holds its 13 buttons and 5 separators in order");
    const LRESULT size = bar ? SendMessageW(bar, TB_GETBUTTONSIZE, 0, 0) : 0;
    check(LOWORD(size) >= 24 && HIWORD(size) >= 24, "its buttons hold 24 x 24 pictures (%d x %d)", LOWORD(size),
          HIWORD(size));
    HWND status = GetDlgItem(frame, 59393);
    check(status && IsWindowVisible(status) && SendMessageW(status, SB_GETPARTS, 0, 0) == 5,
          "the status bar shows with its five panes");
  }
  HWND japanese = FindChild(frame, L"Edit");
  HWND korean = FindChild(frame, L"GeulmaruHangulView");
  if (!check(japanese && korean, "the Japanese pane (an edit) and the Korean pane are there"))
    return wtest::finish();
  check(!IsWindowUnicode(japanese), "the Japanese pane is an ANSI edit");
  {
    RECT j{}, k{};
    GetWindowRect(japanese, &j);
    GetWindowRect(korean, &k);
    check(j.bottom <= k.top && j.left == k.left, "the Japanese pane lies above the Korean pane");
  }

  // ---- translate and send ----
  PasteJapanese(frame, japanese, L"私は学生です");
  CtrlKey('T');
  // The Korean pane becomes the active pane once the translation is in it.
  CheckWithin(
      Allowance(), [&] { return FocusOf(frame) == korean; }, [] { return std::string("focus elsewhere"); },
      "after Ctrl+T the Korean pane has the focus");
  const std::wstring translated = KoreanText(frame, korean);
  check(translated == L"저는 학생입니다", "the Korean pane holds 저는 학생입니다: %s", U8(translated).c_str());
  wtest::Capture(frame, shots, L"workbench-frame");

  // Read aloud (Ctrl+Y): the Korean text spoken into the program's WAV file,
  // hidden while it plays.
  Foreground(frame);
  CtrlKey('Y');
  CheckWithin(
      Allowance(),
      [&] {
        WIN32_FILE_ATTRIBUTE_DATA a{};
        return GetFileAttributesExW(wav.c_str(), GetFileExInfoStandard, &a) && a.nFileSizeLow > 44 &&
               (a.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
      },
      [&] { return std::string(GetFileAttributesW(wav.c_str()) == INVALID_FILE_ATTRIBUTES ? "no file" : "a file"); },
      "Ctrl+Y speaks the Korean text into the hidden speech.wav");

  const std::size_t before = g_log.size();
  Foreground(frame);
  CtrlKey('G');
  CheckWithin(
      2 * Allowance() + 2000,
      [&] { return g_log.size() > before && g_log.back().wParam == imelink::kCommit; },
      [&] { return std::to_string(g_log.size() - before) + " messages"; }, "the send ends with the commit mark");
  {
    const std::string expected = Ks(L"저는 학생입니다");
    std::string sent;
    bool clean = true;
    LONG shortest = 1000000;
    for (std::size_t i = before; i < g_log.size(); ++i) {
      const Posted& p = g_log[i];
      clean = clean && p.lParam == 0 && (p.wParam >> 16) == 0;
      if (p.wParam == imelink::kCommit) break;
      sent.push_back(static_cast<char>(imelink::FirstByte(p.wParam)));
      if (imelink::SecondByte(p.wParam)) sent.push_back(static_cast<char>(imelink::SecondByte(p.wParam)));
      if (i > before) shortest = std::min(shortest, p.time - g_log[i - 1].time);
    }
    check(sent == expected, "the characters sent are 저는 학생입니다 in KS code (%zu messages)", g_log.size() - before - 1);
    check(g_log.size() - before == 9, "one message per character (8) and the commit: %zu", g_log.size() - before);
    check(clean, "every message has lParam 0 and nothing above bit 15");
    // 40 ms apart; the system's tick may round one step down.
    check(shortest >= 30, "the characters are posted about 40 ms apart (shortest %ld ms)", static_cast<long>(shortest));
  }
  CheckWithin(
      Allowance(), [&] { return Text(japanese).empty(); }, [&] { return U8(Text(japanese)); },
      "after the send the Japanese pane is empty");
  {
    // The Korean pane is empty too: a second send says there is nothing.
    Foreground(frame);
    CtrlKey('G');
    HWND box = WaitForDialog(pi.dwProcessId, L"DAL-MOK");
    HWND text = box ? GetDlgItem(box, 0xFFFF) : nullptr;
    check(box && Text(text) == L"転送する韓国語がありません。",
          "after the send the Korean pane is empty: a second Ctrl+G says so (%s)", box ? U8(Text(text)).c_str() : "no box");
    if (box) {
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      CheckWithin(
          Allowance(), [&] { return !IsWindow(box); }, [] { return std::string("still open"); }, "the box closes");
    }
  }

  // ---- conversions and their result windows ----
  PasteJapanese(frame, japanese, L"学校");
  CtrlKey('K');
  CheckWithin(
      Allowance(), [&] { return FocusOf(frame) == korean; }, [] { return std::string("focus elsewhere"); },
      "after Ctrl+K the Korean pane has the focus");
  const std::wstring characters = KoreanText(frame, korean);
  check(characters == L"學校", "character by character 学校 gives the Korean hanja 學校: %s", U8(characters).c_str());
  // Nothing selected: the conversions take the whole text.
  PostMessageW(korean, WM_KEYDOWN, VK_END, 0);
  Foreground(frame);
  CtrlKey('H');
  HWND hanja = WaitForDialog(pi.dwProcessId, L"漢字ハングル変換");
  if (check(hanja != nullptr, "the hanja-to-Hangul window opens")) {
    HWND text = GetDlgItem(hanja, 1012);
    CheckWithin(
        Allowance(), [&] { return Text(text) == L"학교"; }, [&] { return U8(Text(text)); },
        "the hanja window shows 학교");
    wtest::Capture(hanja, shots, L"workbench-hanja");
  }
  Foreground(frame);
  CtrlKey('P');
  HWND kana = WaitForDialog(pi.dwProcessId, L"カナ読み変換");
  if (check(kana != nullptr, "the kana reading window opens")) {
    HWND text = GetDlgItem(kana, 1012);
    auto katakana = [&] {
      const std::wstring t = Text(text);
      if (t.empty()) return false;
      for (wchar_t c : t)
        if (!((c >= 0x30A0 && c <= 0x30FF) || (c >= 0xFF65 && c <= 0xFF9F))) return false;
      return true;
    };
    CheckWithin(Allowance(), katakana, [&] { return U8(Text(text)); }, "the kana window shows a katakana reading");
    check(IsWindow(hanja) != FALSE, "both result windows are open at once");
    wtest::Capture(kana, shots, L"workbench-kana");
  }

  // ---- the dictionary program on the Japanese pane's selection ----
  // Its entry pane is a web browser control, which Wine lacks: the test's
  // stand-in serves (a first start on Wine's own left the dialog hidden).
  const browsertest::StandinRegistration browser(browsertest::StandinBesideMe());
  Foreground(frame);
  PostMessageW(japanese, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(japanese, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  WaitUntil([&] { return FocusOf(frame) == japanese; }, Allowance());
  CtrlKey('A');
  CheckWithin(
      Allowance(),
      [&] {
        DWORD start = 0, end = 0;
        SendMessageW(japanese, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return start == 0 && end == 2;
      },
      [] { return std::string("another selection"); }, "Ctrl+A selects 学校 in the Japanese pane");
  CtrlKey('Q');
  HWND dictionary = nullptr;
  CheckWithin(
      3 * Allowance(),
      [&] {
        // The dictionary's main dialog: visible, with its headword lists.
        for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", L"ミルダ韓日・日韓辞典"); w;
             w = FindWindowExW(nullptr, w, L"#32770", L"ミルダ韓日・日韓辞典")) {
          if (IsWindowVisible(w) && GetDlgItem(w, 1052)) {
            dictionary = w;
            return true;
          }
        }
        return false;
      },
      [] { return std::string("no window"); }, "Ctrl+Q opens the dictionary program");
  if (!dictionary) wtest::NoteProcessWindows(0);  // what was on the screen instead
  if (dictionary) {
    DWORD pid = 0;
    GetWindowThreadProcessId(dictionary, &pid);
    check(pid != pi.dwProcessId, "the dictionary is a process of its own");
    // Its Japanese headword list starts at the word searched.
    HWND list = GetDlgItem(dictionary, 1052);
    auto firstRow = [&] {
      wchar_t row[300]{};
      if (SendMessageW(list, LB_GETCOUNT, 0, 0) > 0 && SendMessageW(list, LB_GETTEXTLEN, 0, 0) < 299)
        SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(row));
      return std::wstring(row);
    };
    CheckWithin(
        Allowance(), [&] { return firstRow() == L"学校"; }, [&] { return U8(firstRow()); },
        "the dictionary searched the selection 学校 Japanese to Korean");
    wtest::Capture(dictionary, shots, L"workbench-dictionary");
  }

  // ---- close ----
  const std::size_t beforeClose = g_log.size();
  PostMessageW(frame, WM_CLOSE, 0, 0);
  CheckWithin(
      2 * Allowance(),
      [&] {
        for (std::size_t i = beforeClose; i < g_log.size(); ++i)
          if (g_log[i].wParam == imelink::kAnnounce && g_log[i].lParam == 0) return true;
        return false;
      },
      [&] { return std::to_string(g_log.size() - beforeClose) + " messages"; },
      "closing withdraws the announcement with (1, 0)");
  check(WaitForSingleObject(pi.hProcess, 2 * Allowance()) == WAIT_OBJECT_0, "the workbench ends");
  check(GetFileAttributesW(wav.c_str()) == INVALID_FILE_ATTRIBUTES, "the WAV file is deleted at the exit");
  if (dictionary)
    CheckWithin(
        2 * Allowance(), [&] { return !IsWindow(dictionary); }, [] { return std::string("still open"); },
        "the dictionary program it started ends with the workbench");
  bool early = false;
  for (std::size_t i = 0; i < beforeClose; ++i) early = early || (g_log[i].wParam == imelink::kAnnounce && !g_log[i].lParam);
  check(!early, "no withdrawal while the workbench ran");
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  DestroyWindow(receiver);
  DestroyWindow(application);
  return wtest::finish();
}

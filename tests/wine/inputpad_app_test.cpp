// The installed translation input pad Vestra.EXE end to end (32-bit), driven
// from this program, which stands in for the input method's side: its
// receiver window is the UI window the pad is started for (the first number
// of the command line) and logs every WM_PAD_CHAR; a second window is the
// application. Checked, every response waited for:
//   - the pad announces itself with (1, pad) by SendMessage, is always on
//     top, captioned 日韓翻訳入力, and holds one SEDIT_CLASS control;
//   - 学生です pasted on the keyboard road (clipboard, Ctrl+V) and Enter:
//     the control holds the translation; a second Enter sends 학생입니다 in KS
//     code, one message per character and the end mark, and empties the pad;
//   - a translation of more than 128 characters: exactly 128 are sent, then
//     the end mark, then the pad's message box;
//   - closing the pad posts (1, 0); the pad wrote no settings;
//   - started with code 0 (GM95), the pad refuses with a message box and
//     never announces itself.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "check.h"
#include "ime_driver.h"
#include "ime_install.h"
#include "ime_link.h"
#include "input.h"
#include "workbench_drive.h"
#include "screenshot.h"
#include "wait.h"

using wtest::check;
using wtest::CheckWithin;
using wtest::note;
using wtest::WaitUntil;
using wbdrive::Allowance;
using wbdrive::CtrlKey;
using wbdrive::Foreground;
using wbdrive::PutClipboard;
using wbdrive::U8;

namespace {

struct Received {
  WPARAM wParam;
  LPARAM lParam;
  bool sent;  // by SendMessage (in the sender's call), not posted
};
std::vector<Received> g_log;

LRESULT CALLBACK ReceiverProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == imelink::WM_PAD_CHAR) {
    g_log.push_back({wParam, lParam, InSendMessage() != FALSE});
    return 0;
  }
  return DefWindowProcW(w, message, wParam, lParam);
}

// The receiver and application windows of the test, side by side.
HWND MakeWindow(const wchar_t* cls, const wchar_t* title, int x) {
  return imedrv::CreateTestWindow(ReceiverProc, cls, title, {x, 300, x + 300, 500},
                                  reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

std::string Bytes(unsigned codePage, const wchar_t* text) {
  char buf[2048]{};
  WideCharToMultiByte(codePage, 0, text, -1, buf, sizeof buf - 1, nullptr, nullptr);
  return buf;
}

std::string TextA(HWND w) {
  char buf[1024]{};
  SendMessageTimeoutA(w, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, nullptr);
  return buf;
}

// Japanese pasted into the pad's control (the control has the focus).
bool Paste(HWND pad, HWND control, const std::wstring& text) {
  if (!PutClipboard(text)) return false;
  Foreground(pad);
  CtrlKey('V');
  const std::string expected = Bytes(932, text.c_str());
  return CheckWithin(
      Allowance(), [&] { return TextA(control) == expected; }, [&] { return std::to_string(TextA(control).size()) + " bytes"; },
      "the pad holds %s after Ctrl+V", U8(text).c_str());
}

// The characters of the log from index from up to the end mark, as bytes.
std::string SentBytes(std::size_t from, int* characters, bool* clean) {
  std::string bytes;
  *characters = 0;
  *clean = true;
  for (std::size_t i = from; i < g_log.size(); ++i) {
    const Received& r = g_log[i];
    *clean = *clean && r.lParam == 0 && (r.wParam >> 16) == 0 && r.sent;
    if (r.wParam == imelink::kCommit) break;
    ++*characters;
    bytes.push_back(static_cast<char>(imelink::FirstByte(r.wParam)));
    if (imelink::SecondByte(r.wParam)) bytes.push_back(static_cast<char>(imelink::SecondByte(r.wParam)));
  }
  return bytes;
}

bool EndMarkAfter(std::size_t from) {
  for (std::size_t i = from; i < g_log.size(); ++i)
    if (g_log[i].wParam == imelink::kCommit) return true;
  return false;
}

struct BoxSearch {
  DWORD pid;
  HWND except;
  HWND found;
};

BOOL CALLBACK FindBoxProc(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<BoxSearch*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  wchar_t cls[32]{};
  GetClassNameW(w, cls, 32);
  if (owner == s->pid && w != s->except && IsWindowVisible(w) && lstrcmpW(cls, L"#32770") == 0 &&
      wbdrive::Text(w) == L"日韓翻訳入力") {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

// A message box of the pad: a dialog of its process, captioned 日韓翻訳入力,
// that is not the pad itself.
HWND FindBox(DWORD pid, HWND except) {
  BoxSearch s{pid, except, nullptr};
  EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

BOOL CALLBACK BoxTextProc(HWND w, LPARAM p) {
  wchar_t cls[32]{};
  GetClassNameW(w, cls, 32);
  if (lstrcmpiW(cls, L"Static") == 0 && !wbdrive::Text(w).empty()) {
    *reinterpret_cast<std::wstring*>(p) = wbdrive::Text(w);
    return FALSE;
  }
  return TRUE;
}

// The text of a message box: its static text control.
std::wstring BoxText(HWND box) {
  std::wstring text;
  EnumChildWindows(box, BoxTextProc, reinterpret_cast<LPARAM>(&text));
  return text;
}

bool Start(const std::wstring& program, const std::wstring& folder, HWND receiver, HWND application, int code,
           PROCESS_INFORMATION* pi) {
  wchar_t line[512];
  std::swprintf(line, 512, L"\"%ls\" %d %d %d", program.c_str(), imelink::HandleNumber(receiver),
                imelink::HandleNumber(application), code);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  return CreateProcessW(program.c_str(), line, nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, pi) != 0;
}

bool KeyExists(HKEY root, const wchar_t* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 input pad";
  if (argc != 2) {
    std::printf("usage: inputpad_app_test <screenshot folder>\n");
    return 2;
  }
  const std::wstring shots = imedrv::WidenArg(argv[1]);
  const std::wstring installDir = imeinst::GetString(HKEY_LOCAL_MACHINE, imeinst::kSuiteKey, L"Install Directory");
  const std::wstring folder = installDir + L"\\GeulmaruV6\\";
  const std::wstring program = folder + L"Vestra.EXE";
  if (!check(GetFileAttributesW(program.c_str()) != INVALID_FILE_ATTRIBUTES, "the suite installed %s",
             U8(program).c_str()))
    return wtest::finish();
  const wchar_t kDalmokKey[] = L"Software\\VALDRIMO\\GeulmaruV6\\Dalmok";
  const bool settingsBefore = KeyExists(HKEY_CURRENT_USER, kDalmokKey);

  HWND receiver = MakeWindow(L"PadTestReceiver", L"input method UI window", 20);
  HWND application = MakeWindow(L"PadTestApplication", L"application", 340);

  // ---- start as the input method's toolbar starts it ----
  PROCESS_INFORMATION pi{};
  if (!check(Start(program, folder, receiver, application, 1, &pi), "Vestra.EXE starts")) return wtest::finish();
  HWND pad = nullptr;
  CheckWithin(
      2 * Allowance(),
      [&] {
        for (const Received& r : g_log)
          if (r.wParam == imelink::kAnnounce && r.lParam) pad = reinterpret_cast<HWND>(r.lParam);
        return pad != nullptr;
      },
      [&] { return std::to_string(g_log.size()) + " messages"; }, "the pad announces itself with (1, pad)");
  if (!pad) {
    TerminateProcess(pi.hProcess, 9);
    return wtest::finish();
  }
  check(g_log.front().sent, "the announcement comes by SendMessage");
  {
    DWORD pid = 0;
    GetWindowThreadProcessId(pad, &pid);
    check(pid == pi.dwProcessId, "the announced window is the pad's");
  }
  CheckWithin(
      Allowance(), [&] { return IsWindowVisible(pad) != FALSE; }, [] { return std::string("hidden"); },
      "the pad shows");
  check((GetWindowLongW(pad, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "the pad is always on top");
  check(wbdrive::Text(pad) == L"日韓翻訳入力", "the caption is 日韓翻訳入力: %s", U8(wbdrive::Text(pad)).c_str());
  HWND control = GetDlgItem(pad, 1000);
  {
    wchar_t cls[32]{};
    GetClassNameW(control, cls, 32);
    if (!check(control && lstrcmpiW(cls, L"SEDIT_CLASS") == 0, "control 1000 is an SEdit: %ls", cls))
      return wtest::finish();
  }
  {
    RECT w{};
    GetWindowRect(pad, &w);
    check(w.right - w.left == 200, "the pad is 200 pixels wide: %ld", w.right - w.left);
  }

  // ---- translate on Enter ----
  Paste(pad, control, L"学生です");
  const std::string japanese = Bytes(932, L"学生です");
  wtest::SendKeys({VK_RETURN});
  CheckWithin(
      Allowance(), [&] { return !TextA(control).empty() && TextA(control) != japanese; },
      [&] { return std::to_string(TextA(control).size()) + " bytes"; }, "Enter replaces the Japanese with its translation");
  wtest::Capture(pad, shots, L"inputpad-translated");

  // ---- send on the second Enter ----
  std::size_t before = g_log.size();
  Foreground(pad);
  wtest::SendKeys({VK_RETURN});
  CheckWithin(
      2 * Allowance(), [&] { return EndMarkAfter(before); },
      [&] { return std::to_string(g_log.size() - before) + " messages"; }, "the second Enter sends the end mark");
  {
    int characters = 0;
    bool clean = true;
    const std::string sent = SentBytes(before, &characters, &clean);
    check(sent == Bytes(949, L"학생입니다"), "the characters sent are 학생입니다 in KS code (%d characters)", characters);
    check(characters == 5, "one message per character: %d", characters);
    check(clean, "each message came by SendMessage with lParam 0 and nothing above bit 15");
  }
  CheckWithin(
      Allowance(), [&] { return TextA(control).empty(); }, [&] { return std::to_string(TextA(control).size()) + " bytes"; },
      "after the send the pad is empty");

  // ---- more than 128 characters: cut, then the message ----
  std::wstring longText;
  for (int i = 0; i < 28; ++i) longText += L"学生です";  // 224 bytes; at least 28 x 5 Korean characters
  Paste(pad, control, longText);
  wtest::SendKeys({VK_RETURN});
  CheckWithin(
      Allowance(), [&] { return !TextA(control).empty() && TextA(control) != Bytes(932, longText.c_str()); },
      [&] { return std::to_string(TextA(control).size()) + " bytes"; }, "the long text is translated");
  before = g_log.size();
  Foreground(pad);
  wtest::SendKeys({VK_RETURN});
  CheckWithin(
      2 * Allowance(), [&] { return EndMarkAfter(before); },
      [&] { return std::to_string(g_log.size() - before) + " messages"; }, "the long send ends with the end mark");
  {
    int characters = 0;
    bool clean = true;
    const std::string sent = SentBytes(before, &characters, &clean);
    check(characters == 128, "exactly 128 characters are sent: %d", characters);
    check(sent.rfind(Bytes(949, L"학생입니다"), 0) == 0, "the characters sent begin with 학생입니다");
  }
  HWND box = nullptr;
  CheckWithin(
      Allowance(), [&] { return (box = FindBox(pi.dwProcessId, pad)) != nullptr; }, [] { return std::string("none"); },
      "the pad shows its message after the cut send");
  if (box) {
    check(BoxText(box) == L"転送できる韓国語の文字数は128文字までです。", "the message: %s", U8(BoxText(box)).c_str());
    wtest::Capture(box, shots, L"inputpad-too-long");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    CheckWithin(
        Allowance(), [&] { return !IsWindow(box); }, [] { return std::string("still open"); },
        "the message box closes on OK");
  }

  // ---- close ----
  before = g_log.size();
  PostMessageW(pad, WM_COMMAND, IDCANCEL, 0);
  CheckWithin(
      2 * Allowance(),
      [&] {
        for (std::size_t i = before; i < g_log.size(); ++i)
          if (g_log[i].wParam == imelink::kAnnounce && g_log[i].lParam == 0 && !g_log[i].sent) return true;
        return false;
      },
      [&] { return std::to_string(g_log.size() - before) + " messages"; }, "closing the pad posts (1, 0)");
  check(WaitForSingleObject(pi.hProcess, Allowance()) == WAIT_OBJECT_0, "the pad's process ends");
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  if (!settingsBefore) check(!KeyExists(HKEY_CURRENT_USER, kDalmokKey), "the pad wrote no settings");

  // ---- GM95 refused ----
  g_log.clear();
  if (check(Start(program, folder, receiver, application, 0, &pi), "Vestra.EXE starts with code 0")) {
    HWND refusal = nullptr;
    CheckWithin(
        2 * Allowance(), [&] { return (refusal = FindBox(pi.dwProcessId, nullptr)) != nullptr; },
        [] { return std::string("none"); }, "code 0 (GM95) is refused with a message");
    if (refusal) {
      note("refusal: %s", U8(BoxText(refusal)).c_str());
      check(BoxText(refusal).find(L"ＳＪ") != std::wstring::npos, "the message names the SJ code set");
      PostMessageW(refusal, WM_COMMAND, IDOK, 0);
    }
    check(WaitForSingleObject(pi.hProcess, Allowance()) == WAIT_OBJECT_0, "the refused pad ends");
    wtest::Pump(50);
    check(g_log.empty(), "the refused pad never announced itself: %zu messages", g_log.size());
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  return wtest::finish();
}

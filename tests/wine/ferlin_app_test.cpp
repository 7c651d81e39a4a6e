// The installed listening program Ferlin2.exe driven from outside (32-bit),
// with the stand-in ADO objects over the installed example database file:
// the contents tree, an item shown in the panes, copy by the copy source, a
// two-word search and one with no match, the contents again, the settings
// written at close, and a second start that leaves one window.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ado_registration.h"
#include "check.h"
#include "child_windows.h"
#include "ime_install.h"
#include "screenshot.h"
#include "wait.h"

using wtest::check;
using wtest::CheckWithin;
using wtest::note;

namespace {

constexpr wchar_t kTitle[] = L"ﾌｪﾙﾘﾝ２";
constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\VALDRIMO\\GeulmaruV6\\ExampleCollection";
constexpr UINT kCopy = 32780, kFind = 32781, kContents = 101, kCopyKorean = 32786, kCopyAll = 32788;

std::string U8(const std::wstring& w) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n > 0 ? n : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
  s.resize(std::strlen(s.c_str()));
  return s;
}

std::wstring Text(HWND w) { return wtest::WindowText(w); }
std::vector<HWND> Children(HWND frame, const wchar_t* cls) { return wtest::ChildrenOfClass(frame, cls); }

HTREEITEM Next(HWND tree, HTREEITEM item, UINT code) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

int Count(HWND tree) { return static_cast<int>(SendMessageW(tree, TVM_GETCOUNT, 0, 0)); }

std::wstring Clipboard() {
  std::wstring text = L"(none)";
  if (!OpenClipboard(nullptr)) return L"(clipboard busy)";
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* p = static_cast<const wchar_t*>(GlobalLock(h))) {
      text = p;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return text;
}

void ClearClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

struct Program {
  PROCESS_INFORMATION pi{};
  HWND frame = nullptr;
};

bool Start(const std::wstring& exe, const std::wstring& folder, Program& p) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  std::wstring line = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &p.pi))
    return false;
  p.frame = wtest::WaitForProcessWindow(p.pi.dwProcessId, nullptr, kTitle, wtest::StartAllowance(32));
  if (!p.frame) wtest::NoteProcessWindows(p.pi.dwProcessId);
  return p.frame != nullptr;
}

bool Exited(const Program& p) { return WaitForSingleObject(p.pi.hProcess, 0) == WAIT_OBJECT_0; }

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 listening program";
  if (argc != 2) {
    std::printf("usage: ferlin_app_test <screenshot folder>\n");
    return 2;
  }
  const std::wstring shots = imeinst::Widen(argv[1]);
  const std::wstring installDir = imeinst::GetString(HKEY_LOCAL_MACHINE, imeinst::kSuiteKey, L"Install Directory");
  const std::wstring folder = installDir + L"\\GeulmaruV6\\";
  const std::wstring exe = folder + L"Ferlin2.exe";
  if (!check(GetFileAttributesW(exe.c_str()) != INVALID_FILE_ATTRIBUTES, "the suite installed %s", U8(exe).c_str()))
    return wtest::finish();
  const adotest::StandinRegistration registration(adotest::StandinBesideMe());
  wchar_t temp[MAX_PATH]{};
  GetTempPathW(MAX_PATH, temp);

  // ---- the first start asks for the database path; cancelling ends it ----
  RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
  {
    Program first;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring line = L"\"" + exe + L"\"";
    if (check(CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, temp, &si, &first.pi),
              "Ferlin2.exe starts without a database path")) {
      HWND dialog = wtest::WaitForProcessWindow(first.pi.dwProcessId, nullptr, L"Nuvesca　パス設定", wtest::StartAllowance(32));
      if (!check(dialog != nullptr, "the first start asks for the path in \"Nuvesca　パス設定\""))
        wtest::NoteProcessWindows(first.pi.dwProcessId);
      if (dialog) {
        wtest::Capture(dialog, shots, L"listening-path-dialog");
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      }
      CheckWithin(wtest::StartAllowance(32), [&] { return Exited(first); }, [&] { return std::string("still running"); },
                  "cancelling the path dialog ends the program");
      const std::wstring stored = imeinst::GetString(HKEY_CURRENT_USER, kSettingsKey, L"DicPath");
      check(stored == L"(none)" || stored.empty(), "and stores no path (%s)", U8(stored).c_str());
      CloseHandle(first.pi.hThread);
      CloseHandle(first.pi.hProcess);
    }
  }

  // The database path as the first-start dialog would have stored it; the
  // speech engine's data folder, and three repetitions.
  imeinst::SetString(HKEY_CURRENT_USER, kSettingsKey, L"DicPath", folder + L"Quorvel.rows");
  const std::wstring speechData = imeinst::SetSpeechDataFolder(L"listening-test-ddb");
  imeinst::SetString(HKEY_CURRENT_USER, L"SOFTWARE\\VALDRIMO\\Sonavo50", L"VoiceRepeatNum", L"3");
  const std::wstring wav = std::wstring(temp) + L"speach.wav";
  DeleteFileW(wav.c_str());
  Program p;
  // Started from another folder than its own, as the input method's WinExec may.
  if (!check(Start(exe, temp, p), "Ferlin2.exe shows its frame \"ﾌｪﾙﾘﾝ２\"")) return wtest::finish();

  // ---- the contents ----
  HWND tree = nullptr;
  CheckWithin(wtest::Allowance(), [&] { return (tree = Children(p.frame, WC_TREEVIEWW).empty() ? nullptr : Children(p.frame, WC_TREEVIEWW)[0]) != nullptr && Count(tree) > 373; },
              [&] { return std::to_string(tree ? Count(tree) : -1) + " items"; },
              "the contents tree holds the 373 examples under their headings");
  const int contentsCount = tree ? Count(tree) : 0;
  HTREEITEM root = tree ? Next(tree, nullptr, TVGN_ROOT) : nullptr;
  HTREEITEM greetings = root ? Next(tree, root, TVGN_CHILD) : nullptr;
  HTREEITEM meeting = greetings ? Next(tree, greetings, TVGN_CHILD) : nullptr;
  HTREEITEM first = meeting ? Next(tree, meeting, TVGN_CHILD) : nullptr;
  check(first != nullptr, "the tree has a root, a heading, a sub-heading and an item under it");
  std::vector<HWND> panes = Children(p.frame, L"RichEdit20W");
  check(panes.size() == 2, "two rich-edit panes, the Japanese above the kana (%d)", static_cast<int>(panes.size()));
  if (!first || panes.size() != 2) return wtest::finish();

  // ---- an item in the panes ----
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
  CheckWithin(wtest::Allowance(), [&] { return Text(panes[0]) == L"おはようございます。"; },
              [&] { return U8(Text(panes[0])); }, "selecting the first item shows its Japanese sentence");
  CheckWithin(wtest::Allowance(), [&] { return Text(panes[1]).find(L"アンニョンハセヨ") != std::wstring::npos; },
              [&] { return U8(Text(panes[1])); }, "and its kana reading");
  wtest::Capture(p.frame, shots, L"listening-frame");

  // ---- read-aloud: the WAV file while it repeats, gone after a stop ----
  PostMessageW(p.frame, WM_COMMAND, 32782, 0);
  auto wavBytes = [&]() -> long long {
    WIN32_FILE_ATTRIBUTE_DATA a{};
    if (!GetFileAttributesExW(wav.c_str(), GetFileExInfoStandard, &a)) return -1;
    return static_cast<long long>(a.nFileSizeLow);
  };
  CheckWithin(wtest::Allowance(), [&] { return wavBytes() > 44; }, [&] { return std::to_string(wavBytes()) + " bytes"; },
              "テサリー speaks the Korean sentence into speach.wav in the temporary folder");
  CheckWithin(wtest::Allowance(), [&] {
    const DWORD a = GetFileAttributesW(wav.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_HIDDEN) != 0;
  }, [&] { return std::to_string(GetFileAttributesW(wav.c_str())); }, "the WAV file is hidden once it is spoken");
  PostMessageW(p.frame, WM_COMMAND, 32783, 0);
  CheckWithin(wtest::Allowance(), [&] { return wavBytes() < 0; }, [&] { return std::to_string(wavBytes()) + " bytes"; },
              "ボイス中止 stops the repetitions and deletes the WAV file");

  // ---- the voice settings and their test ----
  PostMessageW(p.frame, WM_COMMAND, 32784, 0);
  HWND voice = wtest::WaitForProcessWindow(p.pi.dwProcessId, nullptr, L"音声設定", wtest::Allowance());
  if (check(voice != nullptr, "音声設定 opens its dialog")) {
    wtest::Capture(voice, shots, L"listening-voice-dialog");
    check(Text(GetDlgItem(voice, 1020)) == L"3", "the repeat count shows 3 (%s)", U8(Text(GetDlgItem(voice, 1020))).c_str());
    HWND test = GetDlgItem(voice, 1017);
    PostMessageW(voice, WM_COMMAND, MAKEWPARAM(1017, BN_CLICKED), reinterpret_cast<LPARAM>(test));
    CheckWithin(wtest::Allowance(), [&] { return Text(test) == L"停止"; }, [&] { return U8(Text(test)); },
                "朗読 starts the test sentence and becomes 停止");
    CheckWithin(3 * wtest::Allowance(), [&] { return Text(test) == L"朗読"; }, [&] { return U8(Text(test)); },
                "after its three plays the button is 朗読 again");
    PostMessageW(voice, WM_COMMAND, IDCANCEL, 0);
    CheckWithin(wtest::Allowance(), [&] { return !IsWindow(voice); }, [&] { return std::string("still open"); },
                "the voice dialog closes on キャンセル");
  }

  // ---- the font dialog ----
  PostMessageW(p.frame, WM_COMMAND, 32789, 0);
  HWND font = wtest::WaitForProcessWindow(p.pi.dwProcessId, nullptr, L"ﾌｫﾝﾄ設定", wtest::Allowance());
  if (check(font != nullptr, "the font setting opens \"ﾌｫﾝﾄ設定\"")) {
    wtest::Capture(font, shots, L"listening-font-dialog");
    PostMessageW(font, WM_COMMAND, IDCANCEL, 0);
    CheckWithin(wtest::Allowance(), [&] { return !IsWindow(font); }, [&] { return std::string("still open"); },
                "the font dialog closes on キャンセル");
  }

  // ---- copy by the copy source ----
  ClearClipboard();
  PostMessageW(p.frame, WM_COMMAND, kCopyKorean, 0);
  PostMessageW(p.frame, WM_COMMAND, kCopy, 0);
  CheckWithin(wtest::Allowance(), [&] { return Clipboard() == L"안녕하세요."; }, [&] { return U8(Clipboard()); },
              "copy with the Korean pane as the source puts its sentence on the clipboard");
  ClearClipboard();
  PostMessageW(p.frame, WM_COMMAND, kCopyAll, 0);
  PostMessageW(p.frame, WM_COMMAND, kCopy, 0);
  const std::wstring allPrefix = L"おはようございます。\r\n안녕하세요.\r\n";
  CheckWithin(wtest::Allowance(),
              [&] {
                const std::wstring c = Clipboard();
                return c.rfind(allPrefix, 0) == 0 && c.find(L"アンニョンハセヨ") != std::wstring::npos && c.size() > 2 &&
                       c.compare(c.size() - 2, 2, L"\r\n") == 0;
              },
              [&] { return U8(Clipboard()); }, "copy with すべて: Japanese, Korean and kana, each with CR LF");

  // ---- the copy-source box on the tool bar and the menu agree ----
  HWND box = nullptr;
  for (HWND c : Children(p.frame, L"ComboBox"))
    if (GetDlgCtrlID(c) == 61213) box = c;
  if (check(box != nullptr, "the tool bar carries the copy-source box (61213)")) {
    check(SendMessageW(box, CB_GETCOUNT, 0, 0) == 4, "with its four sources");
    check(SendMessageW(box, CB_GETCURSEL, 0, 0) == 3, "showing すべて, chosen in the menu");
    SendMessageW(box, CB_SETCURSEL, 2, 0);
    SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(61213, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
    ClearClipboard();
    PostMessageW(p.frame, WM_COMMAND, kCopy, 0);
    CheckWithin(wtest::Allowance(), [&] { return Clipboard() == Text(panes[1]); }, [&] { return U8(Clipboard()); },
                "カタカナ chosen in the box copies the kana pane");
  }
  wtest::Capture(p.frame, shots, L"listening-toolbar");

  // ---- a two-word search ----
  PostMessageW(p.frame, WM_COMMAND, kFind, 0);
  HWND find = wtest::WaitForProcessWindow(p.pi.dwProcessId, nullptr, L"文字列の検索", wtest::Allowance());
  if (check(find != nullptr, "the find command opens \"文字列の検索\"")) {
    SetDlgItemTextW(find, 1000, L"よろしく　お願い");
    PostMessageW(find, WM_COMMAND, IDOK, 0);
    CheckWithin(wtest::Allowance(), [&] { return Count(tree) == 3; },
                [&] { return std::to_string(Count(tree)) + " items"; },
                "the result lists the root and the two items with both words");
    CheckWithin(wtest::Allowance(), [&] { return Text(panes[0]).empty(); }, [&] { return U8(Text(panes[0])); },
                "and the panes are emptied");
  }
  // ---- a search with no match keeps the tree ----
  PostMessageW(p.frame, WM_COMMAND, kFind, 0);
  find = wtest::WaitForProcessWindow(p.pi.dwProcessId, nullptr, L"文字列の検索", wtest::Allowance());
  if (check(find != nullptr, "the find dialog again")) {
    SetDlgItemTextW(find, 1000, L"存在しない言葉");
    PostMessageW(find, WM_COMMAND, IDOK, 0);
    HWND box = wtest::WaitForProcessWindow(p.pi.dwProcessId, nullptr, L"検索エラーメッセージ", wtest::Allowance());
    check(box != nullptr, "no match shows \"検索エラーメッセージ\"");
    check(Count(tree) == 3, "and the tree keeps the last result (%d items)", Count(tree));
    if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
    CheckWithin(wtest::Allowance(), [&] { return !IsWindow(box); }, [&] { return std::string("still open"); },
                "the message box closes");
  }
  // ---- the contents again ----
  PostMessageW(p.frame, WM_COMMAND, kContents, 0);
  CheckWithin(wtest::Allowance(), [&] { return Count(tree) == contentsCount; },
              [&] { return std::to_string(Count(tree)) + " items"; }, "目次 brings the whole contents back");

  // ---- a second start ----
  Program second;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  std::wstring line = L"\"" + exe + L"\"";
  if (CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &second.pi)) {
    CheckWithin(wtest::StartAllowance(32), [&] { return Exited(second); }, [&] { return std::string("still running"); },
                "a second start ends by itself");
    check(!IsWindow(wtest::FindProcessWindow(second.pi.dwProcessId, nullptr, kTitle)) && IsWindow(p.frame),
          "and the first frame is the one window");
    CloseHandle(second.pi.hThread);
    CloseHandle(second.pi.hProcess);
  }

  // ---- close: the settings are written ----
  PostMessageW(p.frame, WM_CLOSE, 0, 0);
  CheckWithin(wtest::StartAllowance(32), [&] { return Exited(p); }, [&] { return std::string("still running"); },
              "Ferlin2.exe ends on close");
  CheckWithin(wtest::Allowance(), [&] { return imeinst::GetString(HKEY_CURRENT_USER, kSettingsKey, L"CopyCode") == L"2"; },
              [&] { return U8(imeinst::GetString(HKEY_CURRENT_USER, kSettingsKey, L"CopyCode")); },
              "the copy source カタカナ is stored as CopyCode 2");
  CloseHandle(p.pi.hThread);
  CloseHandle(p.pi.hProcess);
  return wtest::finish();
}

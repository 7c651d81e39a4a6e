// Every program of an installed suite starts and closes again, as a user (or
// the input method) starts it, on the prefix that the setup program has just
// installed:
//
//   start_check.exe
//
// The programs are taken from the installed program folder (HKLM "Install
// Directory"): the editor, the dictionary, the text player, the listening
// program and the font setup as their Start-menu entries start them (no
// arguments); the workbench and the pad with the command line of the input
// method's toolbar (its UI window, the application's window, the code), for
// windows of this program that stand in for both.  Each must show its main
// window, and end when that window is closed.  The listening program asks
// for its database on its first start: the installed database is given in
// that dialog.  Systems parts that Wine lacks (the ADO objects, the browser
// control) are the tests' stand-ins beside this program, registered while
// it runs.
#include <windows.h>

#include <cstdio>
#include <string>

#include "ado_registration.h"
#include "browser_registration.h"
#include "check.h"
#include "ime_driver.h"
#include "ime_install.h"
#include "ime_link.h"
#include "wait.h"

using wtest::check;
using wtest::CheckWithin;
using wtest::note;

namespace {

std::string U8(const std::wstring& w) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string s(n > 1 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, &s[0], n, nullptr, nullptr);
  return s;
}

LRESULT CALLBACK ReceiverProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == imelink::WM_WORKBENCH_CHAR) return 0;  // announcements of the companions
  return DefWindowProcW(w, message, wParam, lParam);
}

// How the program's main window is found and closed.
enum class Close { kWindow, kCancel };  // WM_CLOSE, or the dialog's Cancel

struct Program {
  const wchar_t* file;
  const wchar_t* what;
  const wchar_t* cls;    // null: any class
  const wchar_t* title;  // the main window's exact title
  Close close;
  bool companion;        // started with the input method's command line
};

// A 32-bit program's start under the test's allowance (twice, for the first
// start of a program in a fresh prefix, which also loads its libraries cold).
DWORD StartWait() { return 2 * wtest::StartAllowance(32); }

bool Launch(const std::wstring& exe, const std::wstring& args, const std::wstring& folder, PROCESS_INFORMATION& pi) {
  std::wstring line = L"\"" + exe + L"\"";
  if (!args.empty()) line += L" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  return CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi) != 0;
}

// The listening program's first start: the path dialog, given the installed
// database and confirmed.
void AnswerPathDialog(DWORD pid, const std::wstring& database) {
  HWND dialog = wtest::WaitForProcessWindow(pid, L"#32770", L"Nuvesca　パス設定", StartWait());
  if (!check(dialog != nullptr, "Ferlin2.exe asks for its database on its first start")) {
    wtest::NoteProcessWindows(pid);
    return;
  }
  SetDlgItemTextW(dialog, 1001, database.c_str());
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

void StartAndClose(const Program& p, const std::wstring& folder, HWND receiver, HWND application) {
  const std::wstring exe = folder + p.file;
  std::wstring args;
  if (p.companion) {
    wchar_t line[64];
    std::swprintf(line, 64, L"%d %d 1", imelink::HandleNumber(receiver), imelink::HandleNumber(application));
    args = line;
  }
  PROCESS_INFORMATION pi{};
  if (!check(Launch(exe, args, folder, pi), "%s (%s) starts", U8(p.file).c_str(), U8(p.what).c_str())) return;
  if (lstrcmpiW(p.file, L"Ferlin2.exe") == 0) AnswerPathDialog(pi.dwProcessId, folder + L"Quorvel.rows");
  HWND main = wtest::WaitForProcessWindow(pi.dwProcessId, p.cls, p.title, StartWait());
  const std::string shown = p.title ? "\"" + U8(p.title) + "\"" : std::string("of class ") + U8(p.cls);
  if (check(main != nullptr, "%s shows its main window %s", U8(p.file).c_str(), shown.c_str())) {
    if (p.close == Close::kCancel)
      PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    else
      PostMessageW(main, WM_CLOSE, 0, 0);
  } else {
    wtest::NoteProcessWindows(pi.dwProcessId);
  }
  const bool ended = WaitForSingleObject(pi.hProcess, StartWait()) == WAIT_OBJECT_0;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(pi.hProcess, &code);
  if (check(ended, "%s ends when its window is closed", U8(p.file).c_str()))
    check(code == 0, "%s ends with exit code 0 (%lu)", U8(p.file).c_str(), static_cast<unsigned long>(code));
  else
    TerminateProcess(pi.hProcess, 99);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

}  // namespace

int main() {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 installed programs";
  const std::wstring installDir = imeinst::GetString(HKEY_LOCAL_MACHINE, imeinst::kSuiteKey, L"Install Directory");
  if (!check(installDir != L"(none)" && !installDir.empty(), "the suite is installed (%s)", U8(installDir).c_str()))
    return wtest::finish();
  const std::wstring folder = installDir + L"\\GeulmaruV6\\";

  const adotest::StandinRegistration ado(adotest::StandinBesideMe());
  const browsertest::StandinRegistration browser(browsertest::StandinBesideMe());
  HWND receiver = imedrv::CreateTestWindow(ReceiverProc, L"StartCheckReceiver", L"input method UI window",
                                           {20, 40, 320, 240});
  HWND application = imedrv::CreateTestWindow(ReceiverProc, L"StartCheckApplication", L"application",
                                              {340, 40, 640, 240});

  const Program programs[] = {
      {L"BRISELV6.EXE", L"the editor", L"fw.FrameWindow", nullptr, Close::kWindow, false},
      {L"Ombrel.exe", L"the dictionary", L"#32770", L"ミルダ韓日・日韓辞典", Close::kWindow, false},
      {L"DALMOK.EXE", L"the workbench", nullptr, L"ＤＡＬＭＯＫ(パリスク) － ＫＳ", Close::kWindow, true},
      {L"Vestra.EXE", L"the input pad", L"#32770", L"日韓翻訳入力", Close::kCancel, true},
      {L"Tessaly.exe", L"the text player", nullptr, L"テサリー", Close::kWindow, false},
      {L"Ferlin2.exe", L"the listening program", nullptr, L"ﾌｪﾙﾘﾝ２", Close::kWindow, false},
      {L"Belvo4.exe", L"the font setup", L"#32770", L"GeulmaruV6 環境設定", Close::kCancel, false},
  };
  for (const Program& p : programs) StartAndClose(p, folder, receiver, application);

  DestroyWindow(receiver);
  DestroyWindow(application);
  return wtest::finish();
}

// The installed font environment setup Belvo4.exe end to end (32-bit): with
// no EUDC file in the program folder's "Gaiji\" it says so and writes no
// link; with fixture .TTE files for three rows it writes exactly those three
// links under HKEY_CURRENT_USER "EUDC\932" (made when missing), each REG_SZ
// with its terminating NUL; "後ほど ログオフする" (1022) ends it without a
// log-off, "ただちに ログオフする" (1021) asks for one, which the test
// prefix holds back (exit code 3); Cancel writes nothing. Screenshots of the
// main, progress and finishing dialogs.
//
//   belvo_test.exe <screenshot folder>
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

#include "check.h"
#include "ime_driver.h"
#include "ime_install.h"
#include "screenshot.h"
#include "wait.h"

using wtest::check;
using wtest::CheckWithin;
using wtest::note;

namespace {

constexpr wchar_t kCaption[] = L"GeulmaruV6 環境設定";
constexpr wchar_t kLinkKey[] = L"EUDC\\932";
constexpr DWORD kLogOffHeldBack = 3;

std::string U8(const std::wstring& w) { return imedrv::Utf8(std::u16string(w.begin(), w.end())); }

std::wstring Text(HWND w) {
  wchar_t buf[512]{};
  GetWindowTextW(w, buf, 512);
  return buf;
}

struct Run {
  PROCESS_INFORMATION pi{};
  HWND main = nullptr;
};

std::wstring g_program;

bool Start(Run& r) {
  std::wstring line = L"\"" + g_program + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(g_program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &r.pi))
    return false;
  r.main = wtest::WaitForProcessWindow(r.pi.dwProcessId, L"#32770", kCaption, wtest::StartAllowance(32) * 2);
  return r.main != nullptr;
}

DWORD Finish(Run& r) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(r.pi.hProcess, wtest::StartAllowance(32)) == WAIT_OBJECT_0) GetExitCodeProcess(r.pi.hProcess, &code);
  CloseHandle(r.pi.hProcess);
  CloseHandle(r.pi.hThread);
  r = Run{};
  return code;
}

// A dialog of the run other than its main one whose static texts hold text.
struct Found {
  const wchar_t* text;
  HWND hit = nullptr;
};
BOOL CALLBACK HasText(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<Found*>(lp);
  if (Text(w).find(f->text) != std::wstring::npos) {
    f->hit = w;
    return FALSE;
  }
  return TRUE;
}
struct Search {
  DWORD pid;
  HWND except;
  const wchar_t* text;
  HWND dialog = nullptr;
};
BOOL CALLBACK FindDialog(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != s->pid || w == s->except || !IsWindowVisible(w)) return TRUE;
  Found f{s->text};
  EnumChildWindows(w, HasText, reinterpret_cast<LPARAM>(&f));
  if (f.hit) {
    s->dialog = w;
    return FALSE;
  }
  return TRUE;
}
HWND WaitForText(const Run& r, const wchar_t* text) {
  Search s{r.pi.dwProcessId, r.main, text};
  wtest::WaitUntil(
      [&] {
        s.dialog = nullptr;
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&s));
        return s.dialog != nullptr;
      },
      wtest::StartAllowance(32));
  if (!s.dialog) wtest::NoteProcessWindows(r.pi.dwProcessId);
  return s.dialog;
}

struct Link {
  DWORD type;
  std::wstring data;  // as stored, NULs included
  bool operator==(const Link&) const = default;
};

std::map<std::wstring, Link> Links() {
  std::map<std::wstring, Link> out;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kLinkKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return out;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256, type = 0;
    BYTE data[2048];
    DWORD size = sizeof data;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
    out[name] = Link{type, std::wstring(reinterpret_cast<wchar_t*>(data), size / sizeof(wchar_t))};
  }
  RegCloseKey(key);
  return out;
}

std::string Seen(const std::map<std::wstring, Link>& links) {
  std::string s = std::to_string(links.size()) + " links:";
  for (const auto& [face, link] : links) s += " " + U8(face) + "=" + U8(link.data.c_str()) + "(" + std::to_string(link.data.size()) + ")";
  return s;
}

void Click(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 font setup";
  if (argc != 2) {
    std::printf("usage: belvo_test <screenshot folder>\n");
    return 2;
  }
  const std::wstring shots = imeinst::Widen(argv[1]);
  const std::wstring installDir = imeinst::GetString(HKEY_LOCAL_MACHINE, imeinst::kSuiteKey, L"Install Directory");
  const std::wstring folder = installDir + L"\\GeulmaruV6\\";
  g_program = folder + L"Belvo4.exe";
  if (!check(GetFileAttributesW(g_program.c_str()) != INVALID_FILE_ATTRIBUTES, "the suite installed %s",
             U8(g_program).c_str())) {
    return wtest::finish();
  }
  const std::wstring gaiji = folder + L"Gaiji\\";
  // The fixture's EUDC files: rows 1, 6 and 15 of the font table.
  struct Row {
    const wchar_t* face;
    const wchar_t* file;
  } const rows[] = {{L"ＧＭ韓国ゴシック", L"GMGOTHIC.TTE"}, {L"ＧＭ韓国ヘッドライン", L"GMHEADLN.TTE"},
                    {L"ＧＭ韓国新聞明朝", L"GMSHINMN.TTE"}};
  for (const Row& row : rows) DeleteFileW((gaiji + row.file).c_str());
  RegDeleteTreeW(HKEY_CURRENT_USER, kLinkKey);
  RegDeleteKeyW(HKEY_CURRENT_USER, kLinkKey);

  // ---- Cancel: nothing written ----
  {
    Run r;
    if (check(Start(r), "Belvo4.exe shows \"GeulmaruV6 環境設定\"")) {
      wtest::Capture(r.main, shots, L"belvo-main");
      Click(r.main, IDCANCEL);
      check(Finish(r) == 0, "Cancel ends the program");
      check(Links().empty(), "and writes no link (%s)", Seen(Links()).c_str());
    }
  }

  // ---- no EUDC file: said so, nothing written ----
  {
    Run r;
    if (check(Start(r), "Belvo4.exe starts again")) {
      Click(r.main, IDOK);
      HWND box = WaitForText(r, L"外字ファイル");
      if (check(box != nullptr, "without EUDC files a box says none was found (not the success dialog)")) {
        wtest::Capture(box, shots, L"belvo-no-files");
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      }
      check(Finish(r) == 0, "the program ends without a log-off");
      check(Links().empty(), "no link written (%s)", Seen(Links()).c_str());
    }
  }

  // ---- three fixture files: exactly their three links ----
  CreateDirectoryW(gaiji.c_str(), nullptr);
  for (const Row& row : rows) {
    HANDLE f = CreateFileW((gaiji + row.file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(f, "TTE fixture", 11, &n, nullptr);
    CloseHandle(f);
  }
  std::map<std::wstring, Link> expected;
  for (const Row& row : rows) expected[row.face] = Link{REG_SZ, gaiji + row.file + std::wstring(1, L'\0')};
  for (int choice : {1022, 1021}) {
    RegDeleteKeyW(HKEY_CURRENT_USER, kLinkKey);
    Run r;
    if (!check(Start(r), "Belvo4.exe starts with three EUDC files present")) continue;
    Click(r.main, IDOK);
    HWND finishing = WaitForText(r, L"正常に終了しました");
    if (check(finishing != nullptr, "the finishing dialog says the setup ended normally")) {
      if (choice == 1022) wtest::Capture(finishing, shots, L"belvo-finishing");
      check(IsDlgButtonChecked(finishing, 1021) == BST_CHECKED, "ただちに ログオフする is the first choice");
      CheckWithin(wtest::Allowance(), [&] { return Links() == expected; }, [&] { return Seen(Links()); },
                  "exactly the three links, REG_SZ with the terminating NUL, the key made when missing");
      SendMessageW(GetDlgItem(finishing, choice), BM_CLICK, 0, 0);
      Click(finishing, IDOK);
    }
    const DWORD code = Finish(r);
    if (choice == 1022) {
      check(code == 0, "後ほど ログオフする ends the program without a log-off (exit %lu)", static_cast<unsigned long>(code));
    } else {
      check(code == kLogOffHeldBack, "ただちに ログオフする asks for the log-off, held back in the test prefix (exit %lu)",
            static_cast<unsigned long>(code));
    }
  }
  for (const Row& row : rows) DeleteFileW((gaiji + row.file).c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, kLinkKey);
  return wtest::finish();
}

// The installed dictionary Ombrel.exe end to end (32-bit), driven from this
// program as a user drives it: with the stand-in browser object registered
// in the test prefix under the web browser control's CLSID, 학교 is found Korean to
// Japanese with 学校 and がっこう on its page and 学校 Japanese to Korean; the
// prefix, suffix and wildcard searches list the right headwords; a speak
// link reaches the speech engine with the headword's text (the WAV it writes
// is the one the engine makes for 학교); a jump link shows the linked hanja's
// entry; the voice dialog refuses a volume of 151; a size chosen in the font
// dialog is written at close; a word added to the word book is there after a
// restart; a second start with the forward flag hands its request to the
// running window and ends; screenshots of both directions' entry pages and
// of each dialog.
//
//   dictionary_test.exe <screenshot folder>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <cwctype>
#include <algorithm>
#include <string>
#include <vector>

#include "browser_registration.h"
#include "check.h"
#include "ime_install.h"
#include "screenshot.h"
#include "sonavo_engine.h"
#include "speech_wrapper.h"
#include "wait.h"

using wtest::check;
using wtest::CheckWithin;
using wtest::note;

namespace {

constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Valdrimo\\GeulmaruV6\\Ombrel";
constexpr wchar_t kVoiceKey[] = L"SOFTWARE\\Valdrimo\\Sonavo50";
constexpr wchar_t kBrowserClass[] = L"GeulmaruTestBrowser";
constexpr UINT kClickLink = WM_APP + 1;
constexpr int kSearchKr = 1002, kFindKr = 1003, kSearchJp = 1004, kFindJp = 1005, kWordbook = 1006, kMethod = 1033;
constexpr int kListKrDic = 1049, kListKrWordbook = 1051, kListJpDic = 1052;

std::string U8(const std::wstring& w) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n > 0 ? n : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
  s.resize(std::strlen(s.c_str()));
  return s;
}

std::wstring Text(HWND w) {
  const LRESULT n = SendMessageW(w, WM_GETTEXTLENGTH, 0, 0);
  std::wstring s(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
  SendMessageW(w, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()));
  s.resize(std::wcslen(s.c_str()));
  return s;
}

struct Program {
  PROCESS_INFORMATION pi{};
  HWND main = nullptr;
};

std::wstring g_program;

bool IsDictionaryWindow(HWND w) {
  return Text(w).find(L"韓日・日韓辞典") != std::wstring::npos;
}

bool Start(Program& p, const std::wstring& args, bool waitWindow = true) {
  std::wstring line = L"\"" + g_program + L"\"";
  if (!args.empty()) line += L" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(g_program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &p.pi))
    return false;
  if (!waitWindow) return true;
  p.main = wtest::WaitForProcessWindow(p.pi.dwProcessId, L"#32770", L"ミルダ韓日・日韓辞典", wtest::StartAllowance(32) * 2);
  return p.main != nullptr && IsDictionaryWindow(p.main);
}

bool Exited(const Program& p, DWORD ms) { return WaitForSingleObject(p.pi.hProcess, ms) == WAIT_OBJECT_0; }

void Close(Program& p) {
  if (p.main != nullptr) PostMessageW(p.main, WM_CLOSE, 0, 0);
  check(Exited(p, wtest::StartAllowance(32)), "the dictionary ends when its window is closed");
  CloseHandle(p.pi.hProcess);
  CloseHandle(p.pi.hThread);
  p = Program{};
}

BOOL CALLBACK FindVisibleBrowser(HWND w, LPARAM lp) {
  wchar_t cls[64]{};
  GetClassNameW(w, cls, 64);
  if (lstrcmpW(cls, kBrowserClass) == 0 && IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(lp) = w;
    return FALSE;
  }
  return TRUE;
}

// The visible browser window of the program (the current pane's).
HWND VisibleBrowser(HWND main) {
  HWND found = nullptr;
  EnumChildWindows(main, FindVisibleBrowser, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::wstring PageText(HWND main) {
  HWND b = VisibleBrowser(main);
  return b != nullptr ? Text(b) : L"(no browser window)";
}

bool PageHas(HWND main, const std::wstring& a, const std::wstring& b = L"") {
  const std::wstring t = PageText(main);
  return t.find(a) != std::wstring::npos && (b.empty() || t.find(b) != std::wstring::npos);
}

std::string SeenPage(HWND main) {
  std::wstring t = PageText(main);
  if (t.size() > 300) t.resize(300);
  return U8(t);
}

// The links of the shown page, in page order.
std::vector<std::wstring> Links(HWND main) {
  const std::wstring t = PageText(main);
  std::vector<std::wstring> out;
  const size_t at = t.find(L"\n[links]\n");
  if (at == std::wstring::npos) return out;
  size_t p = at + 9;
  while (p < t.size()) {
    const size_t lf = t.find(L'\n', p);
    out.push_back(t.substr(p, lf - p));
    if (lf == std::wstring::npos) break;
    p = lf + 1;
  }
  return out;
}

std::vector<std::wstring> ListRows(HWND main, int id) {
  HWND list = GetDlgItem(main, id);
  std::vector<std::wstring> rows;
  const LRESULT n = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    wchar_t text[300]{};
    if (SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) < 299)
      SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    rows.push_back(text);
  }
  return rows;
}

std::string Joined(const std::vector<std::wstring>& rows) {
  std::wstring all;
  for (const auto& r : rows) all += r + L" | ";
  if (all.size() > 300) all.resize(300);
  return U8(all);
}

void Search(HWND main, int box, int button, const std::wstring& text, int method) {
  SendMessageW(GetDlgItem(main, kMethod), CB_SETCURSEL, static_cast<WPARAM>(method), 0);
  SendMessageW(main, WM_COMMAND, MAKEWPARAM(kMethod, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(main, kMethod)));
  SetWindowTextW(GetDlgItem(main, box), text.c_str());
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, button)));
}

// A modal window of the process other than the main one.
HWND WaitForDialog(const Program& p, const wchar_t* title) {
  HWND found = nullptr;
  wtest::WaitUntil([&] {
    found = wtest::FindProcessWindow(p.pi.dwProcessId, L"#32770", title);
    return found != nullptr && found != p.main;
  });
  return found != p.main ? found : nullptr;
}

std::string ReadBytes(const std::wstring& path) {
  std::string bytes;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (f == INVALID_HANDLE_VALUE) return bytes;
  char buf[65536];
  DWORD n = 0;
  while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n > 0) bytes.append(buf, n);
  CloseHandle(f);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 dictionary";
  if (argc != 2) {
    std::printf("usage: dictionary_test <screenshot folder>\n");
    return 2;
  }
  const std::wstring shots = imeinst::Widen(argv[1]);
  const std::wstring installDir = imeinst::GetString(HKEY_LOCAL_MACHINE, imeinst::kSuiteKey, L"Install Directory");
  const std::wstring folder = installDir + L"\\GeulmaruV6\\";
  g_program = folder + L"Ombrel.exe";
  if (!check(GetFileAttributesW(g_program.c_str()) != INVALID_FILE_ATTRIBUTES, "the suite installed %s",
             U8(g_program).c_str())) {
    return wtest::finish();
  }
  check(GetFileAttributesW((folder + L"VESKADATA\\OMBREL\\keylist.dat").c_str()) != INVALID_FILE_ATTRIBUTES,
        "the setup program installed the data root VESKADATA");

  // The stand-in browser for this user, the engine's data folder, the voice values.
  // The browser is registered in this prefix's classes (the 32-bit view)
  // while the test runs; what was there is put back on every way out.
  const browsertest::StandinRegistration registration(browsertest::StandinBesideMe());
  wchar_t temp[MAX_PATH]{};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring speechData = imeinst::SetSpeechDataFolder(L"dictionary-test-ddb");
  for (const wchar_t* v : {L"VoiceVolume", L"VoiceRate", L"VoicePitch"}) imeinst::SetString(HKEY_CURRENT_USER, kVoiceKey, v, L"100");
  imeinst::SetString(HKEY_CURRENT_USER, kVoiceKey, L"VoiceSpeaker", L"0");
  RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
  for (const wchar_t* f : {L"VESKADATA\\OMBREL\\wordbook.dat", L"VESKADATA\\OMBREL\\history.dat",
                           L"VESKADATA\\TASKEL\\wordbook.dat", L"VESKADATA\\TASKEL\\history.dat",
                           L"VESKADATA\\history.dat", L"speech.wav"}) {
    DeleteFileW((folder + f).c_str());
  }

  // ---- 학교 Korean to Japanese from the command line ----
  Program p;
  if (!check(Start(p, L"%uD559%uAD50,1,0,0,f"), "Ombrel.exe shows its window \"韓日・日韓辞典\"")) {
    return wtest::finish();
  }
  CheckWithin(wtest::Allowance(), [&] { return VisibleBrowser(p.main) != nullptr; }, [&] { return std::string("none"); },
              "the pane's browser is the stand-in object, in place in the dialog");
  CheckWithin(wtest::Allowance(), [&] { return PageHas(p.main, L"学校", L"がっこう"); }, [&] { return SeenPage(p.main); },
              "학교 found Korean to Japanese shows 学校 and がっこう");
  check(!ListRows(p.main, kListKrDic).empty() && ListRows(p.main, kListKrDic)[0] == L"학교",
        "the headword list starts at 학교 (%s)", Joined(ListRows(p.main, kListKrDic)).c_str());
  wtest::Capture(p.main, shots, L"dictionary-korean-entry");

  // A speak link: the engine gets 학교 (its WAV equals the one the engine makes for 학교).
  std::vector<std::wstring> links = Links(p.main);
  int speak = -1, jump = -1;
  for (size_t i = 0; i < links.size(); ++i) {
    if (speak < 0 && links[i] == L"app:S_%uD559%uAD50") speak = static_cast<int>(i);
    if (jump < 0 && links[i].size() == 11 && links[i].rfind(L"app:", 0) == 0 && iswdigit(links[i][4])) jump = static_cast<int>(i);
  }
  check(speak >= 0, "the entry page has the speak link of 학교");
  if (speak >= 0) {
    PostMessageW(VisibleBrowser(p.main), kClickLink, static_cast<WPARAM>(speak), 0);
    const std::wstring wav = folder + L"speech.wav";
    CheckWithin(wtest::Allowance(), [&] { return ReadBytes(wav).size() > 44; },
                [&] { return std::to_string(ReadBytes(wav).size()) + " bytes"; },
                "the speak link writes speech.wav through the speech engine");
    // The same text spoken here through the same engine and voice values.
    SetDllDirectoryW(folder.c_str());
    speech::SpeechEngineWrapper reference(speech::SonavoEngine(), speech::kListeningSpeech);
    const std::string speechFolder = U8(speechData) + "\\";
    const bool loaded = reference.LoadSpeechEngine(speechFolder.c_str(), 16000, 0) == 0;
    const std::string refPath = U8(std::wstring(temp) + L"dictionary-reference.wav");
    const char kHakgyo[] = "\xc7\xd0\xb1\xb3";  // 학교 in code page 949
    const int r = loaded ? reference.SpeakToWaveFile(kHakgyo, refPath.c_str(), 0, 100, 100, 100) : -1;
    const std::string expected = ReadBytes(std::wstring(refPath.begin(), refPath.end()));
    CheckWithin(wtest::Allowance(), [&] { return r == 0 && ReadBytes(wav) == expected; },
                [&] { return std::to_string(ReadBytes(wav).size()) + " bytes against " + std::to_string(expected.size()); },
                "the WAV of the speak link is the engine's 학교");
  }
  // A jump link: the linked hanja's own entry.
  check(jump >= 0, "the entry page has a jump link to a hanja (%s)", jump >= 0 ? U8(links[jump]).c_str() : "none");
  if (jump >= 0) {
    PostMessageW(VisibleBrowser(p.main), kClickLink, static_cast<WPARAM>(jump), 0);
    CheckWithin(wtest::Allowance(), [&] { return PageHas(p.main, L"학【學】"); }, [&] { return SeenPage(p.main); },
                "the jump link shows the entry of 학 with 學");
  }

  // ---- searches ----
  Search(p.main, kSearchJp, kFindJp, L"学校", 0);
  CheckWithin(wtest::Allowance(), [&] { return PageHas(p.main, L"학교", L"【學校】"); }, [&] { return SeenPage(p.main); },
              "学校 found Japanese to Korean shows 학교");
  check(!ListRows(p.main, kListJpDic).empty() && ListRows(p.main, kListJpDic)[0] == L"学校",
        "the Japanese list starts at 学校 (%s)", Joined(ListRows(p.main, kListJpDic)).c_str());
  wtest::Capture(p.main, shots, L"dictionary-japanese-entry");

  struct {
    const wchar_t* text;
    int method;
    const char* what;
    bool (*ok)(const std::wstring&);
  } const searches[] = {
      {L"학교", 1, "prefix 학교: every row begins with 학교", [](const std::wstring& r) { return r.rfind(L"학교", 0) == 0; }},
      {L"학교", 2, "suffix 학교: every row ends with 학교",
       [](const std::wstring& r) { return r.size() >= 2 && r.compare(r.size() - 2, 2, L"학교") == 0; }},
      {L"??교", 0, "wildcard ??교: three syllables ending in 교",
       [](const std::wstring& r) { return r.size() == 3 && r[2] == L'교'; }},
  };
  for (const auto& s : searches) {
    SendMessageW(GetDlgItem(p.main, kListKrDic), LB_RESETCONTENT, 0, 0);
    Search(p.main, kSearchKr, kFindKr, s.text, s.method);
    CheckWithin(
        wtest::Allowance(),
        [&] {
          const auto rows = ListRows(p.main, kListKrDic);
          if (rows.size() < 3) return false;
          for (const auto& r : rows)
            if (!s.ok(r)) return false;
          return true;
        },
        [&] { return Joined(ListRows(p.main, kListKrDic)); }, "%s", s.what);
  }
  wtest::Capture(p.main, shots, L"dictionary-wildcard");

  // ---- typing, Enter and the list's ends ----
  HWND krBox = GetDlgItem(p.main, kSearchKr);
  HWND krEdit = FindWindowExW(krBox, nullptr, L"Edit", nullptr);
  check(krEdit != nullptr, "the Korean search box has its edit");
  SetWindowTextW(krBox, L"");
  SendMessageW(GetDlgItem(p.main, kListKrDic), LB_RESETCONTENT, 0, 0);
  for (wchar_t c : std::wstring(L"학생")) PostMessageW(krEdit, WM_CHAR, c, 1);
  CheckWithin(
      wtest::Allowance(),
      [&] {
        const auto rows = ListRows(p.main, kListKrDic);
        return !rows.empty() && rows[0] == L"학생" && SendMessageW(GetDlgItem(p.main, kListKrDic), LB_GETCURSEL, 0, 0) == LB_ERR;
      },
      [&] { return Joined(ListRows(p.main, kListKrDic)); }, "typing 학생 lists from 학생 and selects no row");
  PostMessageW(krEdit, WM_KEYDOWN, VK_RETURN, 1);
  CheckWithin(wtest::Allowance(), [&] { return PageHas(p.main, L"【學生】"); }, [&] { return SeenPage(p.main); },
              "Enter in the search box searches 학생 and shows its entry");
  {
    HWND list = GetDlgItem(p.main, kListKrDic);
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(count - 1), 0);
    PostMessageW(list, WM_KEYDOWN, VK_DOWN, 1);
    CheckWithin(wtest::Allowance(),
                [&] {
                  return SendMessageW(list, LB_GETCOUNT, 0, 0) == count + 1 && SendMessageW(list, LB_GETCURSEL, 0, 0) == count;
                },
                [&] { return std::to_string(SendMessageW(list, LB_GETCOUNT, 0, 0)) + " rows"; },
                "Down on the last row adds the next key and selects it");
  }

  // ---- the example and history panes ----
  HWND paneTab = GetDlgItem(p.main, 1048);
  PostMessageW(paneTab, WM_KEYDOWN, VK_RIGHT, 1);  // 辞書 -> 例文
  CheckWithin(wtest::Allowance(), [&] { return SendMessageW(paneTab, TCM_GETCURSEL, 0, 0) == 1; },
              [&] { return std::to_string(SendMessageW(paneTab, TCM_GETCURSEL, 0, 0)); }, "the pane tab moves to 例文");
  Search(p.main, kSearchKr, kFindKr, L"학교", 0);
  CheckWithin(wtest::Allowance(), [&] { return PageHas(p.main, L"学校は八時半に始まります。", L"학교는 여덟 시 반에 시작해요."); },
              [&] { return SeenPage(p.main); }, "検索 on the 例文 pane lists the example sentences with 학교");
  wtest::Capture(p.main, shots, L"dictionary-examples");
  PostMessageW(paneTab, WM_KEYDOWN, VK_RIGHT, 1);  // 例文 -> 履歴
  CheckWithin(wtest::Allowance(),
              [&] {
                const auto rows = ListRows(p.main, 1050);
                return rows.size() >= 3 && rows[0] != L"" &&
                       std::find(rows.begin(), rows.end(), L"학교") != rows.end() &&
                       std::find(rows.begin(), rows.end(), L"학") != rows.end();
              },
              [&] { return Joined(ListRows(p.main, 1050)); }, "the 履歴 pane lists the entries shown, 학교 and 학 among them");
  PostMessageW(paneTab, WM_KEYDOWN, VK_LEFT, 1);
  PostMessageW(paneTab, WM_KEYDOWN, VK_LEFT, 1);
  CheckWithin(wtest::Allowance(), [&] { return SendMessageW(paneTab, TCM_GETCURSEL, 0, 0) == 0; },
              [&] { return std::to_string(SendMessageW(paneTab, TCM_GETCURSEL, 0, 0)); }, "back on the 辞書 pane");

  // ---- the word book ----
  Search(p.main, kSearchKr, kFindKr, L"학교", 0);
  CheckWithin(wtest::Allowance(), [&] { return PageHas(p.main, L"学校", L"がっこう"); }, [&] { return SeenPage(p.main); },
              "학교 shown again");
  PostMessageW(p.main, WM_COMMAND, MAKEWPARAM(kWordbook, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(p.main, kWordbook)));
  HWND added = WaitForDialog(p, L"My単語帳");
  check(added != nullptr, "登録 says \"単語帳に登録しました\"");
  if (added != nullptr) PostMessageW(added, WM_COMMAND, IDOK, 0);
  CheckWithin(wtest::Allowance(), [&] { return ListRows(p.main, kListKrWordbook) == std::vector<std::wstring>{L"학교"}; },
              [&] { return Joined(ListRows(p.main, kListKrWordbook)); }, "the word book lists 학교");

  // ---- the dialogs ----
  struct {
    UINT command;
    const wchar_t* title;
    const wchar_t* shot;
  } const dialogs[] = {{32808, L"ﾌｫﾝﾄ設定", L"dictionary-font"},
                       {32807, L"音声設定", L"dictionary-voice"},
                       {32810, L"入力システム設定", L"dictionary-input-system"},
                       {32813, L"バージョン情報", L"dictionary-about"}};
  for (const auto& d : dialogs) {
    PostMessageW(p.main, WM_COMMAND, d.command, 0);
    HWND dialog = WaitForDialog(p, d.title);
    if (check(dialog != nullptr, "menu %u opens \"%s\"", d.command, U8(d.title).c_str())) {
      wtest::Pump(300);
      wtest::Capture(dialog, shots, d.shot);
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      if (d.command == 32813) PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      CheckWithin(wtest::Allowance(), [&] { return !IsWindow(dialog); }, [] { return std::string("still open"); },
                  "\"%s\" closes", U8(d.title).c_str());
    }
  }

  // The voice dialog refuses a volume of 151 and puts the slider's value back.
  PostMessageW(p.main, WM_COMMAND, 32807, 0);
  if (HWND voice = WaitForDialog(p, L"音声設定")) {
    SetDlgItemTextW(voice, 1012, L"151");
    PostMessageW(voice, WM_COMMAND, MAKEWPARAM(1012, EN_KILLFOCUS), reinterpret_cast<LPARAM>(GetDlgItem(voice, 1012)));
    HWND range = WaitForDialog(p, L"ボリューム");
    if (check(range != nullptr, "a volume of 151 is refused with a box captioned ボリューム")) {
      wtest::Capture(range, shots, L"dictionary-voice-range");
      PostMessageW(range, WM_COMMAND, IDOK, 0);
      CheckWithin(wtest::Allowance(), [&] { return Text(GetDlgItem(voice, 1012)) == L"100"; },
                  [&] { return U8(Text(GetDlgItem(voice, 1012))); }, "the volume edit gets the slider's 100 back");
    }
    PostMessageW(voice, WM_COMMAND, IDCANCEL, 0);
    wtest::WaitUntil([&] { return !IsWindow(voice); });
  }
  // The font dialog: size 12 chosen and confirmed.
  PostMessageW(p.main, WM_COMMAND, 32808, 0);
  if (HWND font = WaitForDialog(p, L"ﾌｫﾝﾄ設定")) {
    HWND sizes = GetDlgItem(font, 1017);
    const LRESULT twelve = SendMessageW(sizes, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"12"));
    SendMessageW(sizes, LB_SETCURSEL, static_cast<WPARAM>(twelve), 0);
    PostMessageW(font, WM_COMMAND, MAKEWPARAM(1017, LBN_SELCHANGE), reinterpret_cast<LPARAM>(sizes));
    PostMessageW(font, WM_COMMAND, IDOK, 0);
    check(wtest::WaitUntil([&] { return !IsWindow(font); }), "the font dialog closes with OK");
  }

  // ---- a second start hands its request over ----
  Program second;
  check(Start(second, L"%u5B66%u6821,0,0,1,t", false), "a second Ombrel.exe starts with the forward flag");
  check(Exited(second, wtest::StartAllowance(32) * 2), "the second start ends after handing over");
  CloseHandle(second.pi.hProcess);
  CloseHandle(second.pi.hThread);
  CheckWithin(wtest::Allowance(), [&] { return PageHas(p.main, L"학교", L"【學校】"); }, [&] { return SeenPage(p.main); },
              "the running window searched 学校 Japanese to Korean");
  check((GetWindowLongW(p.main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "the running window became topmost");

  // ---- after a restart ----
  Close(p);
  check(ReadBytes(folder + L"VESKADATA\\OMBREL\\wordbook.dat").size() > 4, "the word book was saved on a fresh installation");
  check(imeinst::GetString(HKEY_CURRENT_USER, kSettingsKey, L"WindowPos") != L"(none)", "WindowPos written at close");
  check(imeinst::GetString(HKEY_CURRENT_USER, kSettingsKey, L"JF_Size") == L"120", "the chosen size 12 is JF_Size 120 (%s)",
        U8(imeinst::GetString(HKEY_CURRENT_USER, kSettingsKey, L"JF_Size")).c_str());
  Program again;
  if (check(Start(again, L""), "Ombrel.exe starts again")) {
    CheckWithin(wtest::Allowance(), [&] { return ListRows(again.main, kListKrWordbook) == std::vector<std::wstring>{L"학교"}; },
                [&] { return Joined(ListRows(again.main, kListKrWordbook)); }, "the word book still holds 학교");
    Close(again);
  }

  return wtest::finish();
}

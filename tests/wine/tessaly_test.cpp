// The installed text player Tessaly.exe end to end (32-bit), driven from this
// program, which is also the speech service's client: a window of its own
// whose handle goes on the player's command line logs every WM_COPYDATA it
// gets and when. 읽어 주세요 put on the clipboard and asked for with "SPEAK"
// is shown in the editor, spoken into the WAV file (hidden while it plays)
// and its kana reading shown in the lower pane; "STOP" comes back when the
// repetitions end (one play: the file's length after the start; three: two
// pauses of 700 ms more), "STOP" during speech stops it at once, a "SPEAK"
// during speech answers "STOP" first; requests that are not exactly "SPEAK"
// or "STOP" within their cbData do nothing; a second start ends at once; a
// player started for the broadcast handle 65535 sends its notice to nobody.
// Korean typed through the installed input method on the keyboard road (the
// KS edition chosen in the player's thread by a hook of the test, as the
// language bar would) is read aloud with 読み上げ, and so is a selection. The font dialog's size 12 is written at close with
// the window's place. Screenshots of the player and its font dialog.
//
//   tessaly_test.exe <screenshot folder>
#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "check.h"
#include "ime_driver.h"
#include "ime_install.h"
#include "ime_layouts.h"
#include "screenshot.h"
#include "wait.h"

using wtest::check;
using wtest::CheckWithin;
using wtest::note;

namespace {

constexpr wchar_t kVoiceKey[] = L"SOFTWARE\\VALDRIMO\\Sonavo50";
constexpr UINT kSpeak = 32772, kStop = 32773, kFontSetting = 32771;
constexpr UINT kSelectAll = 57642, kKsCopy = 57634;
const std::wstring kSettingsKey = std::wstring(imeinst::kSuiteKey) + L"\\Tessaly3";
const std::wstring kPlacementKey = kSettingsKey + L"\\WindowPosFig";

std::string U8(const std::wstring& w) { return imedrv::Utf8(std::u16string(w.begin(), w.end())); }

std::wstring Text(HWND w) {
  const LRESULT n = SendMessageW(w, WM_GETTEXTLENGTH, 0, 0);
  std::wstring s(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
  SendMessageW(w, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()));
  s.resize(std::wcslen(s.c_str()));
  return s;
}

// ---- the client window ----

struct Received {
  DWORD at;
  std::string bytes;  // cbData bytes
  ULONG_PTR dwData;
  bool nullData;
};
std::vector<Received> g_received;
// The layout the player's thread reports after the test's hook set it.
const UINT g_activateLayout = RegisterWindowMessageW(L"GeulmaruTestActivateLayout");
HKL g_playerLayout = nullptr;
DWORD g_layoutError = 0;

LRESULT CALLBACK ClientProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == g_activateLayout) {
    g_playerLayout = reinterpret_cast<HKL>(lp);
    g_layoutError = static_cast<DWORD>(wp);
    return 0;
  }
  if (m == WM_COPYDATA) {
    const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    Received r{GetTickCount(), {}, cds->dwData, cds->lpData == nullptr};
    if (cds->lpData) r.bytes.assign(static_cast<const char*>(cds->lpData), cds->cbData);
    note("client: WM_COPYDATA at %lu ms, cbData %lu: %s", static_cast<unsigned long>(r.at),
         static_cast<unsigned long>(cds->cbData), imedrv::Hex(r.bytes).c_str());
    g_received.push_back(r);
    return TRUE;
  }
  return DefWindowProcW(w, m, wp, lp);
}

size_t Notices() { return g_received.size(); }
std::string SeenNotices() { return std::to_string(g_received.size()) + " notices"; }

// ---- the player ----

struct Player {
  PROCESS_INFORMATION pi{};
  HWND frame = nullptr;
  HWND view = nullptr;
  HWND kana = nullptr;
  HWND buttons = nullptr;
};

std::wstring g_program;

BOOL CALLBACK FindChild(HWND w, LPARAM lp) {
  auto* p = reinterpret_cast<Player*>(lp);
  wchar_t cls[64]{};
  GetClassNameW(w, cls, 64);
  if (lstrcmpW(cls, L"GeulmaruHangulView") == 0) p->view = w;
  if (lstrcmpW(cls, L"RichEdit20W") == 0) p->kana = w;
  if (lstrcmpW(cls, TOOLBARCLASSNAMEW) == 0) p->buttons = w;
  return TRUE;
}

bool Start(Player& p, const std::wstring& args, bool waitWindow = true) {
  std::wstring line = L"\"" + g_program + L"\" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(g_program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &p.pi))
    return false;
  if (!waitWindow) return true;
  p.frame = wtest::WaitForProcessWindow(p.pi.dwProcessId, nullptr, L"テサリー", wtest::StartAllowance(32) * 2);
  if (!p.frame) return false;
  wtest::WaitUntil([&] {
    EnumChildWindows(p.frame, FindChild, reinterpret_cast<LPARAM>(&p));
    return p.view && p.kana && p.buttons;
  });
  return p.view && p.kana && p.buttons;
}

bool Exited(const Player& p, DWORD ms) { return WaitForSingleObject(p.pi.hProcess, ms) == WAIT_OBJECT_0; }

void Release(Player& p) {
  CloseHandle(p.pi.hProcess);
  CloseHandle(p.pi.hThread);
  p = Player{};
}

// The one button's command: 32772 (読み上げ) or 32773 (中止).
UINT ButtonCommand(const Player& p) {
  if (SendMessageW(p.buttons, TB_COMMANDTOINDEX, kStop, 0) == 0) return kStop;
  if (SendMessageW(p.buttons, TB_COMMANDTOINDEX, kSpeak, 0) == 0) return kSpeak;
  return 0;
}
bool Speaking(const Player& p) { return ButtonCommand(p) == kStop; }
std::string SeenButton(const Player& p) { return "button " + std::to_string(ButtonCommand(p)); }

// A request block sent as a client sends it (the call returns once the
// player has handled it; notices it sends meanwhile reach the client).
bool Request(const Player& p, HWND client, const void* data, DWORD size) {
  COPYDATASTRUCT cds{};
  cds.dwData = 0;
  cds.cbData = size;
  cds.lpData = const_cast<void*>(data);
  DWORD_PTR r = 0;
  return SendMessageTimeoutW(p.frame, WM_COPYDATA, reinterpret_cast<WPARAM>(client), reinterpret_cast<LPARAM>(&cds),
                             SMTO_NORMAL, wtest::StartAllowance(32) * 2, &r) != 0;
}
bool Request(const Player& p, HWND client, const char* command) {
  return Request(p, client, command, static_cast<DWORD>(std::strlen(command) + 1));
}

bool PutClipboard(HWND owner, const std::wstring& text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool ok = false;
  if (block) {
    std::memcpy(GlobalLock(block), text.c_str(), bytes);
    GlobalUnlock(block);
    ok = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  }
  CloseClipboard();
  return ok;
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"(clipboard busy)";
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
      text.assign(p, wcsnlen(p, GlobalSize(h) / sizeof(wchar_t)));
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return text;
}

std::string ReadBytes(const std::wstring& path) {
  std::string out;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return out;
  char buf[65536];
  DWORD n = 0;
  while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n > 0) out.append(buf, n);
  CloseHandle(f);
  return out;
}

uint32_t Le32(const std::string& b, size_t at) {
  return at + 4 <= b.size() ? static_cast<uint32_t>(static_cast<unsigned char>(b[at]) |
                                                    static_cast<unsigned char>(b[at + 1]) << 8 |
                                                    static_cast<unsigned char>(b[at + 2]) << 16 |
                                                    static_cast<unsigned char>(b[at + 3]) << 24)
                            : 0;
}

// The playing time of a WAV file: data size / byte rate.
DWORD WaveMs(const std::string& wav) {
  const uint32_t rate = Le32(wav, 28), data = Le32(wav, 40);
  return rate ? static_cast<DWORD>(static_cast<uint64_t>(data) * 1000 / rate) : 0;
}

// The kana reading Omidel.dll gives for KS text, with the player's request.
std::wstring LibraryReading(const std::wstring& folder, const std::string& ks) {
  using KnChange = int(__stdcall*)(int, const char**, char*, int, int);
  HMODULE dll = LoadLibraryW((folder + L"Omidel.dll").c_str());
  auto change = dll ? reinterpret_cast<KnChange>(reinterpret_cast<void*>(GetProcAddress(dll, "KNChange"))) : nullptr;
  if (!change) return L"(no Omidel.dll)";
  const char* p = ks.c_str();
  const int n = change(1, &p, nullptr, 1, 1);
  std::string out(static_cast<size_t>(n > 0 ? n : 0) + 1, '\0');
  p = ks.c_str();
  change(1, &p, out.data(), 1, 1);
  out.resize(std::strlen(out.c_str()));
  const int units = MultiByteToWideChar(932, 0, out.c_str(), -1, nullptr, 0);
  std::wstring w(static_cast<size_t>(units > 0 ? units : 1), L'\0');
  MultiByteToWideChar(932, 0, out.c_str(), -1, w.data(), units);
  w.resize(std::wcslen(w.c_str()));
  return w;
}

std::string Ks(const std::wstring& text) {
  const int n = WideCharToMultiByte(949, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n > 0 ? n : 1), '\0');
  WideCharToMultiByte(949, 0, text.c_str(), -1, s.data(), n, nullptr, nullptr);
  s.resize(std::strlen(s.c_str()));
  return s;
}

HWND WaitForDialog(const Player& p, const wchar_t* title) {
  HWND d = wtest::WaitForProcessWindow(p.pi.dwProcessId, L"#32770", title, wtest::StartAllowance(32));
  if (!d) wtest::NoteProcessWindows(p.pi.dwProcessId);
  return d;
}

void SetRepeat(int count) {
  imeinst::SetString(HKEY_CURRENT_USER, kVoiceKey, L"VoiceRepeatNum", std::to_wstring(count));
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 text player";
  if (argc != 2) {
    std::printf("usage: tessaly_test <screenshot folder>\n");
    return 2;
  }
  const std::wstring shots = imeinst::Widen(argv[1]);
  const std::wstring installDir = imeinst::GetString(HKEY_LOCAL_MACHINE, imeinst::kSuiteKey, L"Install Directory");
  const std::wstring folder = installDir + L"\\GeulmaruV6\\";
  g_program = folder + L"Tessaly.exe";
  if (!check(GetFileAttributesW(g_program.c_str()) != INVALID_FILE_ATTRIBUTES, "the suite installed %s",
             U8(g_program).c_str())) {
    return wtest::finish();
  }
  const std::wstring wav = installDir + L"\\speach.wav";
  DeleteFileW(wav.c_str());

  // The engine's data folder, the voice values, faces the prefix has.
  wchar_t temp[MAX_PATH]{};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring speechData = std::wstring(temp) + L"tessaly-test-ddb";
  CreateDirectoryW(speechData.c_str(), nullptr);
  imeinst::SetString(HKEY_LOCAL_MACHINE, kVoiceKey, L"DicPath", speechData + L"\\");
  for (const wchar_t* v : {L"VoiceVolume", L"VoiceRate", L"VoicePitch"}) imeinst::SetString(HKEY_CURRENT_USER, kVoiceKey, v, L"100");
  imeinst::SetString(HKEY_CURRENT_USER, kVoiceKey, L"VoiceSpeaker", L"0");
  SetRepeat(1);
  RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey.c_str());
  imeinst::SetString(HKEY_CURRENT_USER, kSettingsKey, L"KrnFontFaceName", L"NanumGothic");
  imeinst::SetString(HKEY_CURRENT_USER, kSettingsKey, L"JpnFontFaceName", L"IPAGothic");

  WNDCLASSW wc{};
  wc.lpfnWndProc = ClientProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TessalyTestClient";
  RegisterClassW(&wc);
  HWND client = CreateWindowW(wc.lpszClassName, L"client", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, nullptr);
  if (!check(client != nullptr, "the client window")) return wtest::finish();
  const std::wstring clientArg = std::to_wstring(reinterpret_cast<UINT_PTR>(client));

  Player p;
  if (!check(Start(p, clientArg), "Tessaly.exe shows its frame \"テサリー\" with the Korean view, the kana pane and the tool bar")) {
    wtest::NoteProcessWindows(p.pi.dwProcessId);
    return wtest::finish();
  }
  check(Text(p.frame) == L"テサリー", "the caption is the program's title alone (%s)", U8(Text(p.frame)).c_str());
  check((GetWindowLongW(p.kana, GWL_STYLE) & ES_READONLY) != 0, "the kana pane is read-only");
  check(ButtonCommand(p) == kSpeak, "the button is 読み上げ (%s)", SeenButton(p).c_str());
  {
    RECT v{}, k{};
    GetWindowRect(p.view, &v);
    GetWindowRect(p.kana, &k);
    check(v.bottom <= k.top, "the Korean view stands above the kana pane");
  }

  // ---- 읽어 주세요 asked for with SPEAK, once ----
  const std::wstring sentence = L"읽어 주세요";
  check(PutClipboard(client, sentence), "읽어 주세요 on the clipboard");
  const size_t before = Notices();
  check(Request(p, client, "SPEAK"), "SPEAK is handled");
  const DWORD started = GetTickCount();
  check(Speaking(p), "speaking: the button is 中止 (%s)", SeenButton(p).c_str());
  const std::string wave = ReadBytes(wav);
  const DWORD d = WaveMs(wave);
  check(wave.size() > 44 && d > 0, "the WAV file is written beside the install folder: %zu bytes, %lu ms", wave.size(),
        static_cast<unsigned long>(d));
  const DWORD attributes = GetFileAttributesW(wav.c_str());
  check(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN), "and hidden while it plays");
  const std::wstring reading = LibraryReading(folder, Ks(sentence));
  CheckWithin(wtest::Allowance(), [&] { return Text(p.kana) == reading; }, [&] { return U8(Text(p.kana)); },
              "the kana pane shows the reading Omidel.dll gives: %s", U8(reading).c_str());
  check(!reading.empty() && reading[0] == L'イ', "the reading begins with イ for 읽");
  wtest::Capture(p.frame, shots, L"tessaly-speaking");
  CheckWithin(d + wtest::Allowance(), [&] { return Notices() == before + 1; }, SeenNotices,
              "one STOP comes back when the one play is over");
  if (Notices() == before + 1) {
    const Received& r = g_received.back();
    check(r.bytes == std::string("STOP\0\0\0\0\0\0", 10), "the notice is cbData 10: STOP and six zero bytes (%s)",
          imedrv::Hex(r.bytes).c_str());
    check(r.at - started + 100 >= d, "it comes the file's length after the start: %lu ms for %lu ms",
          static_cast<unsigned long>(r.at - started), static_cast<unsigned long>(d));
  }
  CheckWithin(wtest::Allowance(), [&] { return !Speaking(p); }, [&] { return SeenButton(p); }, "the button is 読み上げ again");
  check(GetFileAttributesW(wav.c_str()) == INVALID_FILE_ATTRIBUTES, "the WAV file is gone after the last play");

  // ---- three repetitions: two pauses of 700 ms ----
  SetRepeat(3);
  {
    const size_t n = Notices();
    check(Request(p, client, "SPEAK"), "SPEAK with VoiceRepeatNum 3");
    const DWORD t0 = GetTickCount();
    CheckWithin(3 * d + 1400 + wtest::Allowance(), [&] { return Notices() == n + 1; }, SeenNotices,
                "one STOP after the three plays");
    if (Notices() == n + 1) {
      const DWORD took = g_received.back().at - t0;
      check(took + 150 >= 3 * d + 1400, "three plays with two pauses: %lu ms for 3 x %lu + 1400",
            static_cast<unsigned long>(took), static_cast<unsigned long>(d));
    }
  }

  // ---- STOP during speech ----
  SetRepeat(5);
  {
    const size_t n = Notices();
    check(Request(p, client, "SPEAK"), "SPEAK with VoiceRepeatNum 5");
    check(Speaking(p), "speaking (%s)", SeenButton(p).c_str());
    const DWORD t0 = GetTickCount();
    check(Request(p, client, "STOP"), "STOP is handled");
    check(Notices() == n + 1, "STOP during speech: one notice, sent before the request returns (%s)",
          SeenNotices().c_str());
    check(g_received.empty() || g_received.back().at - t0 < 5 * d, "long before the five plays would end");
    check(!Speaking(p), "the button is 読み上げ again (%s)", SeenButton(p).c_str());
    check(GetFileAttributesW(wav.c_str()) == INVALID_FILE_ATTRIBUTES, "the WAV file is deleted by the stop");
    check(Request(p, client, "STOP"), "STOP while idle");
    check(Notices() == n + 1, "STOP while idle sends nothing (%s)", SeenNotices().c_str());
  }

  // ---- SPEAK during speech: STOP for the first, then the second plays ----
  {
    const size_t n = Notices();
    check(Request(p, client, "SPEAK"), "SPEAK");
    check(Request(p, client, "SPEAK"), "SPEAK again while speaking");
    check(Notices() == n + 1, "the first read-aloud's STOP came during the second request (%s)", SeenNotices().c_str());
    check(Speaking(p), "and the second is speaking (%s)", SeenButton(p).c_str());
    check(Request(p, client, "STOP"), "STOP");
    check(Notices() == n + 2, "its own STOP (%s)", SeenNotices().c_str());
  }

  // ---- requests that are not SPEAK or STOP within their cbData ----
  SetRepeat(1);
  {
    const size_t n = Notices();
    struct {
      const char* what;
      const char* bytes;
      DWORD size;
    } const wrong[] = {{"\"SPEAK \" (a trailing blank)", "SPEAK ", 7}, {"\"speak\"", "speak", 6},
                       {"\"STOPX\"", "STOPX", 6},                    {"SPEAK cut to 3 bytes", "SPEAK", 3},
                       {"a null block", nullptr, 6},                  {"cbData 0", "SPEAK", 0}};
    for (const auto& w : wrong) {
      check(Request(p, client, w.bytes, w.size), "%s is answered", w.what);
      check(!Speaking(p) && Notices() == n, "%s does nothing (%s, %s)", w.what, SeenButton(p).c_str(),
            SeenNotices().c_str());
    }
    check(Request(p, client, "SPEAK", 5), "SPEAK filling its block without a NUL");
    check(Speaking(p), "is a SPEAK (%s)", SeenButton(p).c_str());
    CheckWithin(d + wtest::Allowance(), [&] { return Notices() == n + 1; }, SeenNotices, "and its STOP comes back");
  }

  // ---- a second start ends at once; the first keeps its client ----
  {
    Player second;
    check(Start(second, L"4242", false), "a second Tessaly.exe starts");
    check(Exited(second, wtest::StartAllowance(32) * 2), "and ends at once, leaving the first running");
    Release(second);
    check(IsWindow(p.frame) && !Exited(p, 0), "the first player still runs");
  }

  // ---- Korean typed through the input method, read with 読み上げ ----
  {
    // The layout of the KS edition that Wine activates: the one of its
    // keyboard's locale that the installation made.
    const HKL ks = reinterpret_cast<HKL>(codeconv::FindImeLayoutByName("ZORBENV6.IME"));
    check(ks != nullptr, "a layout of the KS edition of the input method is found by its file name");
    SetForegroundWindow(p.frame);
    wtest::WaitUntil([&] { return GetForegroundWindow() == p.frame; });
    PostMessageW(p.frame, WM_COMMAND, kSelectAll, 0);
    wtest::Pump(200);
    imedrv::PressKey(VK_DELETE, 200);
    const DWORD thread = GetWindowThreadProcessId(p.view, nullptr);
    // Wine takes no layout request from another process (and reads no other
    // thread's layout): a message hook in the player's thread makes the
    // choice there, as the language bar would.
    wchar_t self[MAX_PATH]{};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dll(self);
    dll = dll.substr(0, dll.find_last_of(L'\\') + 1) + L"layout_hook.dll";
    HMODULE hookDll = LoadLibraryW(dll.c_str());
    auto proc = hookDll ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hookDll, "LayoutHookProc")))
                        : nullptr;
    HHOOK hook = proc && ks ? SetWindowsHookExW(WH_GETMESSAGE, proc, hookDll, thread) : nullptr;
    check(hook != nullptr, "the layout hook is set on the player's thread");
    PostMessageW(p.view, g_activateLayout, reinterpret_cast<WPARAM>(client), reinterpret_cast<LPARAM>(ks));
    CheckWithin(wtest::Allowance(), [&] { return g_playerLayout == ks; },
                [&] {
                  char text[64];
                  std::snprintf(text, sizeof text, "layout %p, error %lu", static_cast<void*>(g_playerLayout),
                                static_cast<unsigned long>(g_layoutError));
                  return std::string(text);
                },
                "the player's thread takes the KS edition of the input method");
    if (hook) UnhookWindowsHookEx(hook);
    {
      for (const char* k = "dlfrdj wntpdy\r"; *k; ++k) {
        UINT vk = 0;
        unsigned ch = 0;
        imedrv::ScriptKey(*k, vk, ch);
        imedrv::PressKey(vk, 120);
      }
      const bool typed = CheckWithin(
          wtest::Allowance(),
          [&] {
            PostMessageW(p.frame, WM_COMMAND, kSelectAll, 0);
            PostMessageW(p.frame, WM_COMMAND, kKsCopy, 0);
            wtest::Pump(200);
            return ClipboardText() == sentence;
          },
          [&] { return U8(ClipboardText()); }, "읽어 주세요 typed on the keyboard road is the view's text (its KS copy)");
      wtest::Capture(p.frame, shots, L"tessaly-typed");
      if (typed) {
        const size_t n = Notices();
        PostMessageW(p.frame, WM_COMMAND, kSpeak, 0);
        CheckWithin(wtest::Allowance(), [&] { return Speaking(p) || Notices() > n; }, [&] { return SeenButton(p); },
                    "読み上げ reads the typed text aloud");
        CheckWithin(wtest::Allowance(), [&] { return Text(p.kana) == reading; }, [&] { return U8(Text(p.kana)); },
                    "with its kana reading in the lower pane");
        CheckWithin(d + wtest::Allowance(), [&] { return Notices() == n + 1; }, SeenNotices,
                    "the client hears STOP at its end too");
      }
    }
  }

  // ---- 読み上げ of a selection: only the selection is spoken and read ----
  {
    check(PutClipboard(client, L"학교"), "학교 on the clipboard");
    const size_t n = Notices();
    check(Request(p, client, "SPEAK"), "SPEAK 학교");
    CheckWithin(d + wtest::Allowance(), [&] { return Notices() == n + 1; }, SeenNotices, "its STOP");
    PostMessageW(p.frame, WM_COMMAND, kSelectAll, 0);
    PostMessageW(p.frame, WM_COMMAND, kSpeak, 0);
    const std::wstring hakgyo = LibraryReading(folder, Ks(L"학교"));
    CheckWithin(wtest::Allowance(), [&] { return Text(p.kana) == hakgyo; }, [&] { return U8(Text(p.kana)); },
                "読み上げ of the selected text shows its reading %s", U8(hakgyo).c_str());
    CheckWithin(wtest::Allowance(), [&] { return Notices() == n + 2; }, SeenNotices, "and ends with STOP");
  }

  // ---- the font dialog: size 12 ----
  PostMessageW(p.frame, WM_COMMAND, kFontSetting, 0);
  if (HWND font = WaitForDialog(p, L"ﾌｫﾝﾄ設定")) {
    wtest::Pump(300);
    wtest::Capture(font, shots, L"tessaly-font");
    HWND sizes = GetDlgItem(font, 278);
    const LRESULT twelve = SendMessageW(sizes, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"12"));
    const LRESULT sixteen = SendMessageW(sizes, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"16"));
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (dpi == 96) {
      check(SendMessageW(sizes, LB_GETCURSEL, 0, 0) == sixteen, "height -21 at 96 dpi selects 16 (15.75 rounded up)");
    }
    SendMessageW(sizes, LB_SETCURSEL, static_cast<WPARAM>(twelve), 0);
    PostMessageW(font, WM_COMMAND, MAKEWPARAM(278, LBN_SELCHANGE), reinterpret_cast<LPARAM>(sizes));
    PostMessageW(font, WM_COMMAND, IDOK, 0);
    check(wtest::WaitUntil([&] { return !IsWindow(font); }), "the font dialog closes with OK");
    const int height = -(12 * 100 * dpi / 72 / 100);
    PostMessageW(p.frame, WM_CLOSE, 0, 0);
    check(Exited(p, wtest::StartAllowance(32)), "the player ends when its window is closed");
    const std::wstring stored = imeinst::GetString(HKEY_CURRENT_USER, kSettingsKey, L"FontHight");
    check(stored == std::to_wstring(height), "FontHight %d written at close (%s)", height, U8(stored).c_str());
    check(imeinst::GetString(HKEY_CURRENT_USER, kPlacementKey, L"x1") != L"(none)" &&
              imeinst::GetString(HKEY_CURRENT_USER, kPlacementKey, L"y2") != L"(none)",
          "the window's place written at close");
    check(imeinst::GetString(HKEY_CURRENT_USER, kSettingsKey, L"KrnFontFaceName") != L"(none)", "and the Korean face");
  } else {
    PostMessageW(p.frame, WM_CLOSE, 0, 0);
    check(Exited(p, wtest::StartAllowance(32)), "the player ends when its window is closed");
  }
  Release(p);

  // ---- the broadcast handle as the requester: refused, nobody is told ----
  {
    SetRepeat(1);
    Player b;
    if (check(Start(b, L"65535"), "Tessaly.exe starts with 65535 on its command line")) {
      const size_t n = Notices();
      check(PutClipboard(client, L"학교"), "학교 on the clipboard");
      check(Request(b, client, "SPEAK"), "SPEAK");
      CheckWithin(d + wtest::Allowance(), [&] { return !Speaking(b); }, [&] { return SeenButton(b); },
                  "the read-aloud ends");
      wtest::Pump(300);
      check(Notices() == n, "no STOP went to every window (%s)", SeenNotices().c_str());
      PostMessageW(b.frame, WM_CLOSE, 0, 0);
      check(Exited(b, wtest::StartAllowance(32)), "the player ends when its window is closed");
    }
    Release(b);
  }
  DestroyWindow(client);
  return wtest::finish();
}

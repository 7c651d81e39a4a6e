// User word registration of the built input method with a copy of the built
// dictionary.
//
//   ime_regword_test.exe exports <ZORBENV6.IME> <GmV6KS.dic>
//     Through the exports, as the input method manager calls them: the
//     limits, the style, the Unicode text stored as GM95, removal, and the
//     next conversion of the reading.
//   ime_regword_test.exe keyboard <ZORBENV6.IME> <GmV6KS.dic>
//     Installed as a keyboard layout (32-bit): a word registered with
//     ImmRegisterWordW, then one typed into the register-word dialog that
//     ImmConfigureIMEW opens (its question answered No, then Yes), each
//     offered first by the next conversion of its reading on the keyboard.
//   ime_regword_test.exe keyboard-ansi <ZORBENV6.IME> <GmV6KS.dic>
//     The same road under the ANSI interface with ImmRegisterWordA and KS text.
// The dictionary file is checked with the dictionary checker afterwards.
#include "block_file.h"
#include "check.h"
#include "dic_check.h"
#include "ime_driver.h"
#include "ime_wait.h"
#include "ime_layouts.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

using wtest::check;
using wtest::check_eq;
using wtest::note;

namespace {

constexpr UINT kVkHanja = 0x19;
constexpr DWORD kStyle = IME_REGWORD_STYLE_USER_FIRST;

using PImeRegisterWord = BOOL(WINAPI*)(const void*, DWORD, const void*);
using PImeGetRegisterWordStyle = UINT(WINAPI*)(UINT, void*);
using PImeEnumRegisterWord = UINT(WINAPI*)(void*, const void*, DWORD, const void*, void*);

std::string Ks(const std::wstring& w) {
  char buf[256] = {};
  WideCharToMultiByte(949, 0, w.c_str(), -1, buf, sizeof buf - 1, nullptr, nullptr);
  return buf;
}

// KS text as GM95, as the dictionary keeps it (the JIS to Shift-JIS
// arithmetic on the KS row and cell).
std::string Gm95(const std::wstring& w) {
  const std::string ks = Ks(w);
  std::string out;
  for (size_t i = 0; i + 1 < ks.size(); i += 2) {
    const unsigned j1 = static_cast<unsigned char>(ks[i]) & 0x7F, j2 = static_cast<unsigned char>(ks[i + 1]) & 0x7F;
    unsigned s1 = (j1 + 1) / 2 + (j1 <= 0x5E ? 0x70 : 0xB0);
    unsigned s2 = j1 % 2 ? j2 + (j2 >= 0x60 ? 0x20 : 0x1F) : j2 + 0x7E;
    out.push_back(static_cast<char>(s1));
    out.push_back(static_cast<char>(s2));
  }
  return out;
}

// The dictionary copy; it and the settings that name it go on every way out.
struct Paths {
  std::string dic;
  imeinst::Leftovers leftovers{{L"ZO"}};
};

// A copy of the built dictionary in the temporary folder, named by the
// edition's DicPathName.
bool PrepareDictionary(const char* source, Paths* p) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  p->dic = p->leftovers.File(std::string(temp) + "regword" + std::to_string(GetCurrentProcessId()) + ".dic");
  if (!CopyFileA(source, p->dic.c_str(), FALSE)) return false;
  SetFileAttributesA(p->dic.c_str(), FILE_ATTRIBUTE_NORMAL);
  return imedrv::SetDictionaryPath(L"ZO", p->dic.c_str());
}

// The whole file, read as another process would.
std::vector<uint8_t> FileBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  ime::ReadWholeFile(path, &bytes);
  return bytes;
}

// The file is sound, and the user words are those given, in file order.
void CheckFile(const std::string& path, const std::vector<std::pair<std::wstring, std::wstring>>& userWords) {
  std::vector<ime::dic::DicEntry> entries;
  const std::string fault = ime::dic::DicCheckImage(FileBytes(path), &entries);
  check(fault.empty(), "the dictionary checker finds the file sound%s%s", fault.empty() ? "" : ": ", fault.c_str());
  for (const auto& [reading, word] : userWords) {
    bool found = false;
    for (const ime::dic::DicEntry& e : entries) {
      found = found || (e.reading == Gm95(reading) && e.word == Gm95(word) && e.kind == 0x11 && e.state == ' ');
    }
    check(found, "a live user word (kind 0x11) %s under the GM95 reading %s", imedrv::Hex(Gm95(word)).c_str(),
          imedrv::Hex(Gm95(reading)).c_str());
  }
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd, msg, wp, lp); }

HWND MakeWindow(WNDPROC proc, bool visible) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ImeRegwordTest";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"ime regword test", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0),
                         10, 10, 400, 200, nullptr, nullptr, wc.hInstance, nullptr);
}

// ---- through the exports ------------------------------------------------------

// Types the keys of a reading into a new context through the exports and
// converts it with the Hanja key; the composition then (UTF-16 units, or
// the bytes of the ANSI interface one to a unit).
std::u16string ConvertThroughExports(imedrv::Ime& ime, HWND hwnd, const char* keys) {
  BYTE state[256]{};
  HIMC himc = ime.NewContext(hwnd);
  for (const char* k = keys; *k; ++k) {
    UINT vk;
    unsigned ch;
    imedrv::ScriptKey(*k, vk, ch);
    ime.ToAscii(himc, vk, ch, state);
  }
  ime.ToAscii(himc, kVkHanja, 0, state);
  imedrv::CompRecord r = imedrv::Ime::ReadComp(himc);
  std::u16string comp;
  if (ime.unicode) {
    comp = r.wide(r.hdr().dwCompStrOffset, r.hdr().dwCompStrLen);
  } else {
    for (char c : r.narrow(r.hdr().dwCompStrOffset, r.hdr().dwCompStrLen)) comp.push_back(static_cast<unsigned char>(c));
  }
  ime.ToAscii(himc, VK_ESCAPE, 0x1B, state);
  ime.ToAscii(himc, VK_ESCAPE, 0x1B, state);
  ime.DeleteContext(himc);
  return comp;
}

std::u16string Units(const std::string& bytes) {
  std::u16string u;
  for (char c : bytes) u.push_back(static_cast<unsigned char>(c));
  return u;
}

int Exports(const char* imePath, const char* dicSource) {
  imeinst::ResetImeSettings(L"ZO");
  Paths p;
  if (!check(PrepareDictionary(dicSource, &p), "dictionary copied to %s", p.dic.c_str())) return wtest::finish();
  HWND hwnd = MakeWindow(PlainProc, false);
  imedrv::BoxWatcher boxes;
  boxes.Start();
  // Another process is inside a long operation on the file while this one
  // starts the input method: its open is put off, not given up.
  HANDLE writer = CreateFileA(p.dic.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
  check(writer != INVALID_HANDLE_VALUE, "another writer holds the file");
  imedrv::Ime ime;
  const std::wstring path = imedrv::WidenArg(imePath);
  const DWORD loading = GetTickCount();
  const bool loaded = ime.Load(path.c_str());
  if (!check(loaded && ime.unicode, "input method loaded, Unicode interface")) return wtest::finish();
  note("the start waited %lu ms for the file", static_cast<unsigned long>(GetTickCount() - loading));
  imedrv::Pump(200);
  check(boxes.Texts().empty(), "no message box while the file was held at the start");
  CloseHandle(writer);
  auto reg = reinterpret_cast<PImeRegisterWord>(reinterpret_cast<void*>(GetProcAddress(ime.module, "ImeRegisterWord")));
  auto unreg =
      reinterpret_cast<PImeRegisterWord>(reinterpret_cast<void*>(GetProcAddress(ime.module, "ImeUnregisterWord")));
  auto style = reinterpret_cast<PImeGetRegisterWordStyle>(
      reinterpret_cast<void*>(GetProcAddress(ime.module, "ImeGetRegisterWordStyle")));
  auto enumerate =
      reinterpret_cast<PImeEnumRegisterWord>(reinterpret_cast<void*>(GetProcAddress(ime.module, "ImeEnumRegisterWord")));
  if (!check(reg && unreg && style && enumerate, "the word-registration exports are there")) return wtest::finish();
  check(reinterpret_cast<void*>(enumerate) == reinterpret_cast<void*>(ime.ConversionList),
        "ImeEnumRegisterWord is ImeConversionList");
  check_eq(enumerate(nullptr, L"\xAC00", kStyle, L"\x97D3", nullptr), 0, "ImeEnumRegisterWord gives 0");

  check_eq(style(0, nullptr), 1, "one style");
  STYLEBUFW buf[2]{};
  check_eq(style(2, buf), 1, "one style filled");
  check(buf[0].dwStyle == kStyle && std::wcscmp(buf[0].szDescription, L"NOUN") == 0, "IME_REGWORD_STYLE_USER_FIRST, NOUN");

  auto convert = [&](const char* keys) { return ConvertThroughExports(ime, hwnd, keys); };
  const std::u16string before = convert("rk");
  check(before.size() == 1 && before[0] >= 0x4E00 && before[0] <= 0x9FFF,
        "once the other writer has let go, the first access opens the dictionary: 가 converts to %s",
        imedrv::Hex(before).c_str());

  // Refusals leave the file as it was.
  const std::vector<uint8_t> untouched = FileBytes(p.dic);
  struct Refusal {
    const char* name;
    std::wstring reading, word;
  } refusals[] = {
      {"a reading of 33 bytes", std::wstring(16, L'\xAC00') + L"A", L"\x97D3"},
      {"a word of 18 bytes", L"\xAC00", std::wstring(9, L'\x97D3')},
      {"a reading starting with a digit", L"1\xAC00", L"\x97D3"},
      {"an empty word", L"\xAC00", L""},
      {"a character code page 949 lacks", L"\xAC00", L"\x0E01"},
      {"a word already stored", L"\xAC00", std::wstring(1, static_cast<wchar_t>(before.empty() ? 0x5BB6 : before[0]))},
  };
  for (const Refusal& r : refusals) {
    check(!reg(r.reading.c_str(), kStyle, r.word.c_str()), "ImeRegisterWord refuses %s", r.name);
    check(FileBytes(p.dic) == untouched, "  and leaves the file byte for byte as it was");
  }
  check(reg(std::wstring(16, L'\xAC00').c_str(), kStyle, std::wstring(8, L'\x97D3').c_str()) != FALSE,
        "a reading of 32 bytes with a word of 16 is within the limits");
  check(unreg(std::wstring(16, L'\xAC00').c_str(), kStyle, std::wstring(8, L'\x97D3').c_str()) != FALSE,
        "  and is removed again");

  // U+AC00 is the reading 88 9F of the dictionary, not an empty one.
  check(reg(L"\xAC00", kStyle, L"\x97D3") != FALSE, "ImeRegisterWord 가 韓");
  check(convert("rk") == u"\x97D3", "the next conversion of 가 offers 韓 first (got %s)",
        imedrv::Hex(convert("rk")).c_str());
  CheckFile(p.dic, {{L"\xAC00", L"\x97D3"}});
  check(!reg(L"\xAC00", kStyle, L"\x97D3"), "the same pair again is refused");
  check(unreg(L"\xAC00", kStyle, L"\x97D3") != FALSE, "ImeUnregisterWord 가 韓");
  check(!unreg(L"\xAC00", kStyle, L"\x97D3"), "a second ImeUnregisterWord finds nothing");
  check(!unreg(std::wstring(17, L'\xAC00').c_str(), kStyle, L"\x97D3"), "ImeUnregisterWord keeps the limits too");
  check(convert("rk") == before, "가 converts as before (got %s)", imedrv::Hex(convert("rk")).c_str());
  const std::string fault = ime::dic::DicCheckImage(FileBytes(p.dic));
  check(fault.empty(), "the file is sound after the removal%s%s", fault.empty() ? "" : ": ", fault.c_str());

  boxes.Stop();
  for (const std::u16string& t : boxes.Texts()) note("message box: %s", imedrv::Utf8(t).c_str());
  check(boxes.Texts().empty(), "no message box on the silent road");
  ime.Unload();
  DestroyWindow(hwnd);
  // p's leftovers reset the settings with the dictionary: a later program of
  // the prefix would otherwise stop on the box of a dictionary that is not there.
  return wtest::finish();
}

// ---- on the keyboard road -----------------------------------------------------

std::u16string g_results;  // result strings as UTF-16
std::string g_resultsA;    // result strings as the input method's bytes

LRESULT CALLBACK KeyboardProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_IME_COMPOSITION && (lp & GCS_RESULTSTR)) {
    if (HIMC himc = ImmGetContext(hwnd)) {
      wchar_t w[64]{};
      LONG n = ImmGetCompositionStringW(himc, GCS_RESULTSTR, w, sizeof w - sizeof(wchar_t));
      if (n > 0) g_results.append(reinterpret_cast<const char16_t*>(w), static_cast<size_t>(n) / sizeof(wchar_t));
      char a[128]{};
      n = ImmGetCompositionStringA(himc, GCS_RESULTSTR, a, sizeof a - 1);
      if (n > 0) g_resultsA.append(a, static_cast<size_t>(n));
      ImmReleaseContext(hwnd, himc);
    }
    return 0;
  }
  if (msg == WM_IME_CHAR || msg == WM_CHAR) return 0;
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void Key(UINT vk, DWORD pump = 120) { imedrv::PressKey(vk, pump); }

// Wine makes the input method's UI window when the open status of a context
// of the input method is set: the window's context is opened (again) after
// the layout is active and after a dialog.
void OpenContext(HWND hwnd) {
  if (HIMC himc = ImmGetContext(hwnd)) {
    ImmSetOpenStatus(himc, TRUE);
    ImmReleaseContext(hwnd, himc);
  }
}

// Types the keys of a reading, converts it and determines the first word;
// the result string that arrives.
void ConvertOnKeyboard(const char* keys) {
  g_results.clear();
  g_resultsA.clear();
  for (const char* k = keys; *k; ++k) Key(static_cast<UINT>(*k - 'a' + 'A'));
  Key(kVkHanja);
  Key(VK_RETURN);
  // Enter commits the first candidate: wait for its result.
  wtest::WaitUntil([] { return !g_results.empty() || !g_resultsA.empty(); });
}

struct DialogFind {
  const wchar_t* title;
  const wchar_t* text;  // a static text the window holds, or null
  HWND found;
  bool textSeen;
};

BOOL CALLBACK StaticText(HWND child, LPARAM lp) {
  auto* f = reinterpret_cast<DialogFind*>(lp);
  wchar_t cls[16]{}, text[128]{};
  GetClassNameW(child, cls, 16);
  GetWindowTextW(child, text, 128);
  if (lstrcmpiW(cls, L"Static") == 0 && std::wcscmp(text, f->text) == 0) f->textSeen = true;
  return TRUE;
}

BOOL CALLBACK TopDialog(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<DialogFind*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[16]{}, title[64]{};
  GetClassNameW(hwnd, cls, 16);
  GetWindowTextW(hwnd, title, 64);
  if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd) || std::wcscmp(cls, L"#32770") != 0 ||
      std::wcscmp(title, f->title) != 0) {
    return TRUE;
  }
  f->textSeen = false;
  if (f->text) EnumChildWindows(hwnd, StaticText, lp);
  const bool hasText = !f->text || f->textSeen;
  // A box of that title without the text is the dialog itself.
  const bool isBox = GetDlgItem(hwnd, 1010) == nullptr;
  if (hasText && (f->text ? isBox : !isBox)) {
    f->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForDialog(const wchar_t* title, const wchar_t* text, DWORD ms) {
  for (DWORD waited = 0; waited < ms; waited += 50) {
    DialogFind f{title, text, nullptr, false};
    EnumWindows(TopDialog, reinterpret_cast<LPARAM>(&f));
    if (f.found) return f.found;
    Sleep(50);
  }
  return nullptr;
}

std::string EditText(HWND edit) {
  char buf[64] = {};
  SendMessageA(edit, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
  return buf;
}

bool PutOnClipboard(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  if (g) {
    std::memcpy(GlobalLock(g), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(g);
    if (!SetClipboardData(CF_UNICODETEXT, g)) GlobalFree(g);
  }
  CloseClipboard();
  return g != nullptr;
}

// What the thread that works the dialog saw.
struct DialogRun {
  std::string dic;
  bool opened = false;
  std::string readingTyped;   // KS bytes
  LRESULT wordsListed = 0;
  std::string wordPasted;
  bool askedFirst = false, clearedOnNo = false, fileUnchanged = false;
  bool askedAgain = false, cleared = false, closed = false;
};

const wchar_t kDialogTitle[] = L"辞書編集";
const wchar_t kQuestion[] = L"単語を登録します";

// The dialog of this process once it shows, after a moment to settle.
HWND OpenedDialog() {
  HWND dialog = WaitForDialog(kDialogTitle, nullptr, wtest::Allowance());
  if (dialog) Sleep(300);
  return dialog;
}

void PressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Waits for the question and gives it the answer; false when none came.
bool Answer(const wchar_t* question, int button) {
  HWND box = WaitForDialog(kDialogTitle, question, wtest::Allowance());
  if (box) {
    PostMessageW(box, WM_COMMAND, button, 0);
    wtest::WaitUntil([&] { return !IsWindow(box); });
  }
  return box != nullptr;
}

// Waits until the dialog has emptied its fields (and the list, when asked),
// which it does right after the question's answer; true when it did.
bool WaitCleared(HWND dialog, bool list) {
  return wtest::WaitUntil([&] {
    return EditText(GetDlgItem(dialog, 1010)).empty() && EditText(GetDlgItem(dialog, 1011)).empty() &&
           (!list || SendDlgItemMessageA(dialog, 1014, LB_GETCOUNT, 0, 0) == 0);
  });
}

// The window with the keyboard focus on the dialog's thread.
HWND FocusOf(HWND dialog) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Cancels the dialog; true once it is gone.
bool Close(HWND dialog) {
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  return wtest::WaitUntil([&] { return !IsWindow(dialog); });
}

// Types the reading on the keyboard, pastes the word, presses Enter, says No
// to the question, presses the register button, says Yes, closes.
DWORD WINAPI WorkDialog(void* param) {
  auto* run = static_cast<DialogRun*>(param);
  HWND dialog = OpenedDialog();
  if (!dialog) return 0;
  run->opened = true;
  HWND reading = GetDlgItem(dialog, 1010), word = GetDlgItem(dialog, 1011);
  for (UINT vk : {'R', 'K'}) Key(vk, 0), Sleep(150);
  Key(VK_RETURN, 0);  // determines the composition into the reading field
  // The reading arrives, and with it the list of its words.
  wtest::WaitUntil([&] { return !EditText(reading).empty() && SendDlgItemMessageA(dialog, 1014, LB_GETCOUNT, 0, 0) > 0; });
  run->readingTyped = EditText(reading);
  run->wordsListed = SendDlgItemMessageA(dialog, 1014, LB_GETCOUNT, 0, 0);
  Key(VK_RETURN, 0);  // on to the word field
  wtest::WaitUntil([&] { return FocusOf(dialog) == word; });
  PutOnClipboard(L"漢字");
  SendMessageA(word, WM_PASTE, 0, 0);
  run->wordPasted = EditText(word);
  const std::vector<uint8_t> before = FileBytes(run->dic);
  Key(VK_RETURN, 0);  // on to the register button, which it presses
  run->askedFirst = Answer(kQuestion, IDNO);
  // Declined: nothing is stored and the dialog starts afresh; the pair is
  // given to the fields again for the second try.  The file is read once
  // the dialog has done with the answer.
  run->clearedOnNo = WaitCleared(dialog, true) && EditText(reading).empty() && EditText(word).empty() &&
                     SendDlgItemMessageA(dialog, 1014, LB_GETCOUNT, 0, 0) == 0;
  run->fileUnchanged = FileBytes(run->dic) == before;
  SetDlgItemTextA(dialog, 1010, run->readingTyped.c_str());
  SetDlgItemTextA(dialog, 1011, run->wordPasted.c_str());
  PressButton(dialog, 1012);
  run->askedAgain = Answer(kQuestion, IDYES);
  run->cleared = WaitCleared(dialog, true) && EditText(reading).empty() && EditText(word).empty() &&
                 SendDlgItemMessageA(dialog, 1014, LB_GETCOUNT, 0, 0) == 0;
  run->closed = Close(dialog);
  return 0;
}

// The dialog opened with the application's pair: the fields start with it;
// the delete button removes the word after its question.
struct DeleteRun {
  bool opened = false;
  std::string reading, word;
  LRESULT wordsListed = 0;
  bool asked = false, cleared = false, closed = false;
};

DWORD WINAPI DeleteThroughDialog(void* param) {
  auto* run = static_cast<DeleteRun*>(param);
  HWND dialog = OpenedDialog();
  if (!dialog) return 0;
  run->opened = true;
  HWND reading = GetDlgItem(dialog, 1010), word = GetDlgItem(dialog, 1011);
  run->reading = EditText(reading);
  run->word = EditText(word);
  run->wordsListed = SendDlgItemMessageA(dialog, 1014, LB_GETCOUNT, 0, 0);
  PressButton(dialog, 1013);
  run->asked = Answer(L"単語を削除します", IDYES);
  run->cleared = WaitCleared(dialog, false) && EditText(reading).empty() && EditText(word).empty();
  run->closed = Close(dialog);
  return 0;
}

// The keyboard layout of the installed input method (the suite's setup
// program registered it).
HKL KeyboardLayout(const char*) {
  check(imeinst::RegisteredLayout(L"ZORBENV6.IME") != nullptr, "the installation registered a layout of ZORBENV6.IME");
  return reinterpret_cast<HKL>(codeconv::FindImeLayoutByName("ZORBENV6.IME"));
}

// The file of the input method that the input method manager has loaded.
std::wstring LoadedInputMethod() {
  wchar_t path[MAX_PATH] = {};
  HMODULE module = GetModuleHandleW(L"ZORBENV6.IME");
  if (module) GetModuleFileNameW(module, path, MAX_PATH);
  return path;
}

int Keyboard(const char* imePath, const char* dicSource, bool ansi) {
  imeinst::ResetImeSettings(L"ZO");
  if (ansi) imeinst::SetImeValue(L"ZO", L"Modes", L"Interface", L"ANSI");
  Paths p;
  if (!check(PrepareDictionary(dicSource, &p), "dictionary copied to %s", p.dic.c_str())) return wtest::finish();
  HWND hwnd = MakeWindow(KeyboardProc, true);
  imedrv::BoxWatcher boxes;
  boxes.Start();
  HKL hkl = KeyboardLayout(imePath);
  if (!check(hkl != nullptr, "a keyboard layout of the input method")) return wtest::finish();
  HKL previous = ActivateKeyboardLayout(hkl, 0);
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
  imedrv::Pump(300);
  OpenContext(hwnd);
  imedrv::Pump(200);
  // Conversion before anything is registered (the input method is loaded by now).
  if (!ansi) {
    ConvertOnKeyboard("rk");
    note("가 converts to %s before", imedrv::Hex(g_results).c_str());
  }
  const std::u16string before = g_results;
  OpenContext(hwnd);

  const std::string ksReading = Ks(L"가"), ksWord = Ks(L"韓");
  if (ansi) {
    check(ImmRegisterWordA(hkl, ksReading.c_str(), kStyle, ksWord.c_str()) != FALSE,
          "ImmRegisterWordA with KS text 가 韓");
    // Wine gives an ANSI input method the key's character in the high word,
    // where only a Unicode one reads it, so no key composes on this road;
    // the conversion is made through the exports of the module the layout runs.
    imedrv::Ime ime;
    if (check(ime.Load(LoadedInputMethod().c_str()) && !ime.unicode, "the layout's module, ANSI interface")) {
      const std::u16string comp = ConvertThroughExports(ime, hwnd, "rk");
      check(comp == Units(ksWord), "the next conversion of 가 gives 韓 in KS (got %s)", imedrv::Hex(comp).c_str());
      ime.Unload();
    }
    CheckFile(p.dic, {{L"가", L"韓"}});
    check(ImmUnregisterWordA(hkl, ksReading.c_str(), kStyle, ksWord.c_str()) != FALSE, "ImmUnregisterWordA");
    STYLEBUFA style[1]{};
    check(ImmGetRegisterWordStyleA(hkl, 1, style) == 1 && std::strcmp(style[0].szDescription, "NOUN") == 0,
          "ImmGetRegisterWordStyleA gives NOUN");
  } else {
    check(ImmRegisterWordW(hkl, L"가", kStyle, L"韓") != FALSE, "ImmRegisterWordW 가 韓");
    ConvertOnKeyboard("rk");
    check(g_results == u"韓", "the next conversion of 가 on the keyboard gives 韓 (got %s)",
          imedrv::Hex(g_results).c_str());
    CheckFile(p.dic, {{L"가", L"韓"}});
    STYLEBUFW style[1]{};
    check(ImmGetRegisterWordStyleW(hkl, 1, style) == 1 && std::wcscmp(style[0].szDescription, L"NOUN") == 0,
          "ImmGetRegisterWordStyleW gives NOUN");

    // The register-word dialog through ImmConfigureIME, worked by a second
    // thread while this one runs the dialog.
    boxes.Stop();
    DialogRun run;
    run.dic = p.dic;
    HANDLE worker = CreateThread(nullptr, 0, WorkDialog, &run, 0, nullptr);
    REGISTERWORDW empty{const_cast<wchar_t*>(L""), const_cast<wchar_t*>(L"")};
    const BOOL shown = ImmConfigureIMEW(hkl, hwnd, IME_CONFIG_REGISTERWORD, &empty);
    WaitForSingleObject(worker, 8 * wtest::Allowance());
    CloseHandle(worker);
    check(shown != FALSE, "ImmConfigureIMEW with IME_CONFIG_REGISTERWORD shows the dialog");
    check(run.opened, "the dialog 辞書編集 opened");
    check(run.readingTyped == ksReading, "r k Enter typed 가 into the reading field (got %s)",
          imedrv::Hex(run.readingTyped).c_str());
    check(run.wordsListed >= 2, "the list shows the words of 가 (%ld)", static_cast<long>(run.wordsListed));
    check(run.wordPasted == Ks(L"漢字"), "the word field took 漢字 from the clipboard (got %s)",
          imedrv::Hex(run.wordPasted).c_str());
    check(run.askedFirst, "Enter in the word field asks 単語を登録します");
    check(run.clearedOnNo, "answered No, the fields and the list are cleared");
    check(run.fileUnchanged, "answered No, the file is unchanged");
    check(run.askedAgain, "the register button asks again");
    check(run.cleared, "answered Yes, the fields and the list are cleared");
    check(run.closed, "the dialog closes");
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    imedrv::Pump(300);
    OpenContext(hwnd);
    ConvertOnKeyboard("rk");
    check(g_results == u"漢字", "the next conversion of 가 on the keyboard gives 漢字 (got %s)",
          imedrv::Hex(g_results).c_str());
    CheckFile(p.dic, {{L"가", L"韓"}, {L"가", L"漢字"}});
    check(ImmUnregisterWordW(hkl, L"가", kStyle, L"漢字") != FALSE, "ImmUnregisterWordW 가 漢字");
    ConvertOnKeyboard("rk");
    check(g_results == u"韓", "then 가 gives 韓 again (got %s)", imedrv::Hex(g_results).c_str());

    DeleteRun del;
    worker = CreateThread(nullptr, 0, DeleteThroughDialog, &del, 0, nullptr);
    REGISTERWORDW pair{const_cast<wchar_t*>(L"가"), const_cast<wchar_t*>(L"韓")};
    check(ImmConfigureIMEW(hkl, hwnd, IME_CONFIG_REGISTERWORD, &pair) != FALSE, "the dialog opens with 가 韓");
    WaitForSingleObject(worker, 8 * wtest::Allowance());
    CloseHandle(worker);
    check(del.opened && del.reading == ksReading && del.word == ksWord,
          "its fields start with the application's pair (%s, %s)", imedrv::Hex(del.reading).c_str(),
          imedrv::Hex(del.word).c_str());
    check(del.wordsListed >= 2, "and the list with the words of 가 (%ld)", static_cast<long>(del.wordsListed));
    check(del.asked, "the delete button asks 単語を削除します");
    check(del.cleared && del.closed, "answered Yes, the fields are cleared; the dialog closes");
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    imedrv::Pump(300);
    OpenContext(hwnd);
    ConvertOnKeyboard("rk");
    check(g_results == before, "then 가 gives %s as before (got %s)", imedrv::Hex(before).c_str(),
          imedrv::Hex(g_results).c_str());
  }
  boxes.Stop();
  for (const std::u16string& t : boxes.Texts()) note("message box: %s", imedrv::Utf8(t).c_str());
  const std::string fault = ime::dic::DicCheckImage(FileBytes(p.dic));
  check(fault.empty(), "the file is sound at the end%s%s", fault.empty() ? "" : ": ", fault.c_str());
  ActivateKeyboardLayout(previous, 0);
  DestroyWindow(hwnd);
  return wtest::finish();
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 4) {
    std::printf("usage: ime_regword_test exports|keyboard|keyboard-ansi <ZORBENV6.IME> <GmV6KS.dic>\n");
    return 2;
  }
  const std::string mode = argv[1];
  wtest::report().group = std::string(sizeof(void*) == 8 ? "win64 regword " : "win32 regword ") + mode;
  if (mode == "exports") return Exports(argv[2], argv[3]);
  if (mode == "keyboard" || mode == "keyboard-ansi") return Keyboard(argv[2], argv[3], mode == "keyboard-ansi");
  std::printf("unknown mode %s\n", argv[1]);
  return 2;
}

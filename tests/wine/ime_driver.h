// Drives a built input method through its exports, the way the input method
// manager does: load the .IME, make input contexts, offer keys with
// ImeProcessKey and ImeToAsciiEx, and read the composition record back.
// Shared by the Wine test programs and the demo.
#pragma once
#include "../../ime/win/imm_ime.h"
#include "ime_install.h"
#include "pump.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace imedrv {

using PImeInquire = BOOL(WINAPI*)(IMEINFO*, void*, DWORD);
using PImeSelect = BOOL(WINAPI*)(HIMC, BOOL);
using PImeProcessKey = BOOL(WINAPI*)(HIMC, UINT, LPARAM, const BYTE*);
using PImeToAsciiEx = UINT(WINAPI*)(UINT, UINT, const BYTE*, TRANSMSGLIST*, UINT, HIMC);
using PNotifyIME = BOOL(WINAPI*)(HIMC, DWORD, DWORD, DWORD);
using PImeEscape = LRESULT(WINAPI*)(HKL, UINT, void*);
using PImeSetCompositionString = BOOL(WINAPI*)(HIMC, DWORD, void*, DWORD, void*, DWORD);
using PImeConversionList = DWORD(WINAPI*)(HIMC, const void*, CANDIDATELIST*, DWORD, UINT);

// The message list of one ImeToAsciiEx call.
struct KeyResult {
  UINT returned = 0;               // what ImeToAsciiEx gave
  std::vector<TRANSMSG> messages;  // the first min(returned, capacity) entries
  bool guardIntact = true;         // the entry after the capacity was not written
};

// A copy of the composition record of a context.
struct CompRecord {
  bool ok = false;
  DWORD imccSize = 0;
  std::vector<uint8_t> bytes;

  const COMPOSITIONSTRING& hdr() const { return *reinterpret_cast<const COMPOSITIONSTRING*>(bytes.data()); }
  DWORD dw(size_t offset) const {
    DWORD v = 0;
    if (offset + 4 <= bytes.size()) std::memcpy(&v, bytes.data() + offset, 4);
    return v;
  }
  // Text of an area: UTF-16 units (Unicode interface) or bytes (ANSI), by length.
  std::u16string wide(DWORD offset, DWORD len) const {
    std::u16string s;
    for (DWORD i = 0; i < len && offset + 2 * i + 1 < bytes.size(); ++i)
      s.push_back(static_cast<char16_t>(bytes[offset + 2 * i] | bytes[offset + 2 * i + 1] << 8));
    return s;
  }
  std::string narrow(DWORD offset, DWORD len) const {
    std::string s;
    for (DWORD i = 0; i < len && offset + i < bytes.size(); ++i) s.push_back(static_cast<char>(bytes[offset + i]));
    return s;
  }
};

class Ime {
 public:
  HMODULE module = nullptr;
  PImeInquire Inquire = nullptr;
  PImeSelect Select = nullptr;
  PImeProcessKey ProcessKey = nullptr;
  PImeToAsciiEx ToAsciiEx = nullptr;
  PNotifyIME Notify = nullptr;
  PImeEscape Escape = nullptr;
  PImeSetCompositionString SetCompositionString = nullptr;
  PImeConversionList ConversionList = nullptr;
  bool unicode = true;  // IME_PROP_UNICODE reported by ImeInquire
  std::vector<std::string> missing;

  bool Load(const wchar_t* path) {
    module = LoadLibraryW(path);
    if (!module) return false;
    Inquire = Get<PImeInquire>("ImeInquire");
    Select = Get<PImeSelect>("ImeSelect");
    ProcessKey = Get<PImeProcessKey>("ImeProcessKey");
    ToAsciiEx = Get<PImeToAsciiEx>("ImeToAsciiEx");
    Notify = Get<PNotifyIME>("NotifyIME");
    Escape = Get<PImeEscape>("ImeEscape");
    SetCompositionString = Get<PImeSetCompositionString>("ImeSetCompositionString");
    ConversionList = Get<PImeConversionList>("ImeConversionList");
    if (Inquire) {
      IMEINFO info{};
      wchar_t cls[130]{};
      Inquire(&info, cls, 0);
      unicode = (info.fdwProperty & IME_PROP_UNICODE) != 0;
    }
    return missing.empty();
  }

  void Unload() {
    if (module) FreeLibrary(module);
    module = nullptr;
  }

  // A fresh open context of this thread (a window must exist), bound to
  // hwnd for the messages that leave through ImmGenerateMessage, and
  // selected into the input method as a new context would be.
  HIMC NewContext(HWND hwnd) const {
    HIMC himc = ImmCreateContext();
    if (!himc) return nullptr;
    if (INPUTCONTEXT* ic = ImmLockIMC(himc)) {
      ic->hWnd = hwnd;
      ic->fOpen = TRUE;
      ic->fdwInit = 0;
      ImmUnlockIMC(himc);
    }
    Select(himc, TRUE);
    return himc;
  }

  void DeleteContext(HIMC himc) const {
    if (!himc) return;
    Select(himc, FALSE);
    ImmDestroyContext(himc);
  }

  // The character as ImeToAsciiEx receives it beside the virtual key:
  // UTF-16 in the high word for a Unicode input method, one byte in
  // bits 8-15 otherwise.
  UINT PackKey(UINT vk, unsigned ch) const {
    return unicode ? (vk & 0xFFFF) | (ch & 0xFFFF) << 16 : (vk & 0xFF) | (ch & 0xFF) << 8;
  }

  static LPARAM KeyData(UINT scan, bool up) {
    LPARAM data = 1 | static_cast<LPARAM>(scan & 0xFF) << 16;
    if (up) data |= static_cast<LPARAM>(0xC0000000u);
    return data;
  }

  // One key through ImeToAsciiEx with a message list of the given capacity.
  KeyResult ToAscii(HIMC himc, UINT vk, unsigned ch, const BYTE* keyState, UINT capacity = 32, bool up = false) const {
    UINT scan = MapVirtualKeyW(vk, 0 /* MAPVK_VK_TO_VSC */);
    if (up) scan |= 0x8000;
    std::vector<uint8_t> buf(offsetof(TRANSMSGLIST, TransMsg) + (capacity + 1) * sizeof(TRANSMSG), 0xA5);
    auto* list = reinterpret_cast<TRANSMSGLIST*>(buf.data());
    list->uMsgCount = capacity;
    KeyResult r;
    r.returned = ToAsciiEx(PackKey(vk, ch), scan, keyState, list, 0, himc);
    for (UINT i = 0; i < r.returned && i < capacity; ++i) r.messages.push_back(list->TransMsg[i]);
    const uint8_t* guard = reinterpret_cast<const uint8_t*>(&list->TransMsg[capacity]);
    for (size_t i = 0; i < sizeof(TRANSMSG); ++i)
      if (guard[i] != 0xA5) r.guardIntact = false;
    return r;
  }

  BOOL Process(HIMC himc, UINT vk, const BYTE* keyState, bool up = false) const {
    return ProcessKey(himc, vk, KeyData(MapVirtualKeyW(vk, 0), up), keyState);
  }

  static CompRecord ReadComp(HIMC himc) {
    CompRecord rec;
    INPUTCONTEXT* ic = ImmLockIMC(himc);
    if (!ic) return rec;
    if (ic->hCompStr) {
      rec.imccSize = ImmGetIMCCSize(ic->hCompStr);
      if (auto* p = static_cast<const uint8_t*>(ImmLockIMCC(ic->hCompStr))) {
        size_t n = rec.imccSize < 8192 ? rec.imccSize : 8192;
        rec.bytes.assign(p, p + n);
        if (rec.bytes.size() < sizeof(COMPOSITIONSTRING)) rec.bytes.resize(sizeof(COMPOSITIONSTRING));
        rec.ok = true;
        ImmUnlockIMCC(ic->hCompStr);
      }
    }
    ImmUnlockIMC(himc);
    return rec;
  }

 private:
  template <typename F>
  F Get(const char* name) {
    FARPROC p = GetProcAddress(module, name);
    if (!p) missing.push_back(name);
    return reinterpret_cast<F>(reinterpret_cast<void*>(p));
  }
};

// Makes path the dictionary (DicEnv "DicPathName") of the edition whose
// settings key is prefix ("ZO" or "WA") for the current user.
inline bool SetDictionaryPath(const wchar_t* prefix, const char* path) {
  return imeinst::SetImeValue(prefix, L"DicEnv", L"DicPathName", imeinst::Widen(path));
}

// Virtual key and character of one key of a key script: letters and digits
// stand for themselves, "\b" Backspace, "\r" Enter, "\x1b" Esc, " " Space,
// "\x01" Left, "\x02" Right, "\x7f" Delete,
// "\x19" Hanja.
inline void ScriptKey(char c, UINT& vk, unsigned& ch) {
  switch (c) {
    case '\b': vk = VK_BACK; ch = 8; return;
    case '\r': vk = VK_RETURN; ch = 13; return;
    case '\x1b': vk = VK_ESCAPE; ch = 0x1B; return;
    case ' ': vk = VK_SPACE; ch = ' '; return;
    case '\x01': vk = VK_LEFT; ch = 0; return;
    case '\x02': vk = VK_RIGHT; ch = 0; return;
    case '\x7f': vk = VK_DELETE; ch = 0; return;
    case '\x19': vk = VK_HANJA; ch = 0; return;
    default: break;
  }
  if (c >= 'a' && c <= 'z') {
    vk = static_cast<UINT>(c - 'a' + 'A');
  } else {
    vk = static_cast<UINT>(static_cast<unsigned char>(c));
  }
  ch = static_cast<unsigned char>(c);
}

// Bytes as hexadecimal pairs for test messages.
inline std::string Hex(const std::string& s) {
  std::string out;
  char buf[8];
  for (unsigned char c : s) {
    std::snprintf(buf, sizeof buf, "%s%02X", out.empty() ? "" : " ", c);
    out += buf;
  }
  return out.empty() ? "(empty)" : out;
}

// UTF-16 units as U+XXXX for test messages.
inline std::string Hex(const std::u16string& s) {
  std::string out;
  char buf[16];
  for (char16_t c : s) {
    std::snprintf(buf, sizeof buf, "%sU+%04X", out.empty() ? "" : " ", static_cast<unsigned>(c));
    out += buf;
  }
  return out.empty() ? "(empty)" : out;
}

inline std::string Utf8(const std::u16string& s) {
  std::string out;
  int n = WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(s.data()), static_cast<int>(s.size()),
                              nullptr, 0, nullptr, nullptr);
  out.resize(n > 0 ? n : 0);
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(s.data()), static_cast<int>(s.size()), &out[0],
                        n, nullptr, nullptr);
  return out;
}

// A command-line argument (ANSI code page) as UTF-16.
inline std::wstring WidenArg(const char* s) { return imeinst::Widen(s); }

// ---- windows, keys and results of a test window ------------------------------

// The windows of a class on this thread (top level, owned ones included).
inline std::vector<HWND> ThreadWindows(const wchar_t* cls, bool visibleOnly) {
  struct Found {
    const wchar_t* cls;
    std::vector<HWND> windows;
  } f{cls, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM lp) WINAPI -> BOOL {
        auto* found = reinterpret_cast<Found*>(lp);
        wchar_t name[64]{};
        GetClassNameW(w, name, 64);
        if (lstrcmpW(name, found->cls) == 0) found->windows.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&f));
  std::vector<HWND> out;
  for (HWND w : f.windows)
    if (!visibleOnly || IsWindowVisible(w)) out.push_back(w);
  return out;
}

// A visible top-level test window of its own class.
inline HWND CreateTestWindow(WNDPROC proc, const wchar_t* cls, const wchar_t* title, RECT place,
                             HBRUSH background = nullptr) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = background;
  wc.lpszClassName = cls;
  RegisterClassW(&wc);
  return CreateWindowExW(0, cls, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, place.left, place.top,
                         place.right - place.left, place.bottom - place.top, nullptr, nullptr, wc.hInstance, nullptr);
}

inline RECT WindowRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

inline RECT WorkArea() {
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

// The result string of a window's context (GCS_RESULTSTR), for the
// WM_IME_COMPOSITION that carries one.
inline std::u16string ResultString(HWND hwnd) {
  std::u16string s;
  if (HIMC himc = ImmGetContext(hwnd)) {
    wchar_t buf[130]{};
    const LONG bytes = ImmGetCompositionStringW(himc, GCS_RESULTSTR, buf, sizeof buf - sizeof(wchar_t));
    if (bytes > 0) s.assign(reinterpret_cast<const char16_t*>(buf), bytes / sizeof(wchar_t));
    ImmReleaseContext(hwnd, himc);
  }
  return s;
}

using wtest::Pump;

// One key pressed and released through SendInput, to the foreground
// window's thread; then the thread's messages for pumpMs milliseconds.
inline void PressKey(UINT vk, DWORD pumpMs = 80) {
  INPUT in[2]{};
  for (int i = 0; i < 2; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = static_cast<WORD>(vk);
    in[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, 0));
  }
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
  if (pumpMs) Pump(pumpMs);
}

// The first key brings the window's context over to the input method;
// opening the context then makes the input method's UI window and its
// status toolbar (Wine 8). The window has the focus.
inline void OpenInputMethod(HWND hwnd) {
  PressKey('R');
  PressKey(VK_ESCAPE);
  if (HIMC himc = ImmGetContext(hwnd)) {
    ImmSetOpenStatus(himc, TRUE);
    ImmReleaseContext(hwnd, himc);
  }
}

// Closes the message boxes that the input method shows while it loads
// (missing fonts or dictionary) so that an unattended run does not hang;
// the texts are kept for the caller.
class BoxWatcher {
 public:
  BoxWatcher() { InitializeCriticalSection(&lock_); }
  ~BoxWatcher() {
    Stop();
    DeleteCriticalSection(&lock_);
  }
  BoxWatcher(const BoxWatcher&) = delete;
  BoxWatcher& operator=(const BoxWatcher&) = delete;

  void Start() {
    stop_ = false;
    thread_ = CreateThread(nullptr, 0, &BoxWatcher::Run, this, 0, nullptr);
  }
  void Stop() {
    stop_ = true;
    if (thread_) {
      WaitForSingleObject(thread_, 2000);
      CloseHandle(thread_);
      thread_ = nullptr;
    }
  }
  std::vector<std::u16string> Texts() {
    EnterCriticalSection(&lock_);
    std::vector<std::u16string> t = texts_;
    LeaveCriticalSection(&lock_);
    return t;
  }
  void Clear() {
    EnterCriticalSection(&lock_);
    texts_.clear();
    LeaveCriticalSection(&lock_);
  }

 private:
  static BOOL CALLBACK ChildText(HWND hwnd, LPARAM lp) {
    wchar_t cls[16]{};
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpiW(cls, L"Static") == 0) {
      wchar_t text[512]{};
      GetWindowTextW(hwnd, text, 512);
      auto* s = reinterpret_cast<std::u16string*>(lp);
      if (!s->empty() && text[0]) s->push_back(u' ');
      s->append(reinterpret_cast<const char16_t*>(text));
    }
    return TRUE;
  }
  static BOOL CALLBACK TopWindow(HWND hwnd, LPARAM lp) {
    auto* self = reinterpret_cast<BoxWatcher*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
    wchar_t cls[16]{};
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpW(cls, L"#32770") != 0) return TRUE;
    for (HWND seen : self->closed_)
      if (seen == hwnd) return TRUE;
    std::u16string text;
    EnumChildWindows(hwnd, &BoxWatcher::ChildText, reinterpret_cast<LPARAM>(&text));
    EnterCriticalSection(&self->lock_);
    self->texts_.push_back(text);
    LeaveCriticalSection(&self->lock_);
    self->closed_.push_back(hwnd);
    PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
  }
  static DWORD WINAPI Run(void* p) {
    auto* self = static_cast<BoxWatcher*>(p);
    while (!self->stop_) {
      EnumWindows(&BoxWatcher::TopWindow, reinterpret_cast<LPARAM>(self));
      Sleep(50);
    }
    return 0;
  }

  CRITICAL_SECTION lock_{};
  HANDLE thread_ = nullptr;
  volatile bool stop_ = false;
  std::vector<std::u16string> texts_;
  std::vector<HWND> closed_;
};

}  // namespace imedrv

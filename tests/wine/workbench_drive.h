// Driving the installed translation workbench DALMOK.EXE from a test
// program: its windows, its panes' texts, keys on the keyboard road and the
// clipboard. Every read of the workbench's state is waited for.
#pragma once
#include <windows.h>

#include <cstring>
#include <string>

#include <cwchar>

#include "ime_driver.h"
#include "ime_install.h"
#include "ime_link.h"
#include "wait.h"

namespace wbdrive {

using wtest::CheckWithin;
using wtest::WaitUntil;

inline DWORD Allowance() { return wtest::StartAllowance(32); }

inline std::string U8(const std::wstring& w) { return imedrv::Utf8(std::u16string(w.begin(), w.end())); }

inline std::string Ks(const wchar_t* text) {
  char buf[256]{};
  WideCharToMultiByte(949, 0, text, -1, buf, sizeof buf - 1, nullptr, nullptr);
  return buf;
}

inline std::wstring Text(HWND w) {
  wchar_t buf[1024]{};
  SendMessageTimeoutW(w, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, nullptr);
  return buf;
}

struct FindClass {
  const wchar_t* cls;
  HWND found;
};

inline BOOL CALLBACK FindClassProc(HWND w, LPARAM p) {
  auto* f = reinterpret_cast<FindClass*>(p);
  wchar_t name[64]{};
  GetClassNameW(w, name, 64);
  if (lstrcmpiW(name, f->cls) == 0) {
    f->found = w;
    return FALSE;
  }
  return TRUE;
}

inline HWND FindChild(HWND parent, const wchar_t* cls) {
  FindClass f{cls, nullptr};
  EnumChildWindows(parent, FindClassProc, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

inline HWND FocusOf(HWND w) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info) ? info.hwndFocus : nullptr;
}

inline void Foreground(HWND w) {
  SetForegroundWindow(w);
  WaitUntil([&] { return GetForegroundWindow() == w; }, Allowance());
}

inline void CtrlKey(UINT vk) {
  INPUT in[4]{};
  const UINT keys[4] = {VK_CONTROL, vk, vk, VK_CONTROL};
  for (int i = 0; i < 4; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = static_cast<WORD>(keys[i]);
    in[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(keys[i], 0));
    in[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(4, in, sizeof(INPUT));
  wtest::Pump(100);
}

inline bool PutClipboard(const std::wstring& text) {
  if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, Allowance())) return false;
  EmptyClipboard();
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  std::memcpy(GlobalLock(h), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(h);
  SetClipboardData(CF_UNICODETEXT, h);
  CloseClipboard();
  return true;
}

inline std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"(clipboard busy)";
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
      text = p;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return text;
}

// The Korean pane's text as its copy puts it on the clipboard.
inline std::wstring KoreanText(HWND frame, HWND korean) {
  Foreground(frame);
  SetForegroundWindow(frame);
  PostMessageW(korean, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(korean, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  WaitUntil([&] { return FocusOf(frame) == korean; }, Allowance());
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  const DWORD before = GetClipboardSequenceNumber();
  CtrlKey('A');
  CtrlKey('C');
  if (!WaitUntil([&] { return GetClipboardSequenceNumber() != before && IsClipboardFormatAvailable(CF_UNICODETEXT); },
                 Allowance()))
    return L"(nothing copied)";
  return ClipboardText();
}

// Text pasted into the Japanese pane through the clipboard and Ctrl+V.
inline bool PasteJapanese(HWND frame, HWND pane, const std::wstring& text) {
  if (!PutClipboard(text)) return false;
  Foreground(frame);
  PostMessageW(pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(pane, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  WaitUntil([&] { return FocusOf(frame) == pane; }, Allowance());
  CtrlKey('V');
  return CheckWithin(
      Allowance(), [&] { return Text(pane) == text; }, [&] { return U8(Text(pane)); },
      "the Japanese pane holds %s after Ctrl+V", U8(text).c_str());
}

// The installed suite's program folder (with its backslash) when it holds
// DALMOK.EXE; empty, after a failed check, when it does not.
inline std::wstring WorkbenchFolder() {
  const std::wstring installDir = imeinst::GetString(HKEY_LOCAL_MACHINE, imeinst::kSuiteKey, L"Install Directory");
  const std::wstring folder = installDir + L"\\GeulmaruV6\\";
  const std::wstring program = folder + L"DALMOK.EXE";
  if (!wtest::check(GetFileAttributesW(program.c_str()) != INVALID_FILE_ATTRIBUTES, "the suite installed %s",
                    U8(program).c_str()))
    return {};
  return folder;
}

// Starts DALMOK.EXE of folder as the input method's toolbar does: for the
// receiver (its UI window) and the application window, in KS code.
inline bool StartWorkbench(const std::wstring& folder, HWND receiver, HWND application, PROCESS_INFORMATION& pi) {
  const std::wstring program = folder + L"DALMOK.EXE";
  wchar_t line[512];
  std::swprintf(line, 512, L"\"%ls\" %d %d 1", program.c_str(), imelink::HandleNumber(receiver),
                imelink::HandleNumber(application));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  pi = PROCESS_INFORMATION{};
  return CreateProcessW(program.c_str(), line, nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi) != FALSE;
}

// The workbench's frame by its title (its process was started by another).
inline HWND FindFrame(const wchar_t* title) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindowW(nullptr, title)) != nullptr && IsWindowVisible(found); },
            2 * Allowance());
  return found;
}

}  // namespace wbdrive

// Waiting for what the input method does in a Windows test program's own
// thread: text arriving in the window procedure, its windows shown or gone.
// Deadlines come from wait.h (the allowance of a response of this kind).
#pragma once
#include "ime_driver.h"
#include "wait.h"

#include <string>

namespace imedrv {

// Waits (pumping this thread) until text is found in got, which a window
// procedure of this thread fills; true when it came.
inline bool WaitForText(const std::u16string& got, const std::u16string& text, DWORD ms = wtest::Allowance()) {
  return wtest::WaitUntil([&] { return got.find(text) != std::u16string::npos; }, ms);
}

// Waits until got holds at least n units.
inline bool WaitForLength(const std::u16string& got, size_t n, DWORD ms = wtest::Allowance()) {
  return wtest::WaitUntil([&] { return got.size() >= n; }, ms);
}

// A check that waits for this thread to show (shown) or no longer show a
// window of the class; a failure says how many were visible.
inline bool CheckThreadWindow(const wchar_t* cls, bool shown, const char* what) {
  return wtest::CheckWithin(
      wtest::Allowance(), [&] { return ThreadWindows(cls, true).empty() != shown; },
      [&] { return std::to_string(ThreadWindows(cls, true).size()) + " visible windows of that class"; }, "%s", what);
}

// Waits until the window is the foreground window and has the focus, where
// SendInput's keys go.
inline bool WaitForKeyboardFocus(HWND w) {
  return wtest::WaitUntil([&] { return GetForegroundWindow() == w && GetFocus() == w; });
}

}  // namespace imedrv

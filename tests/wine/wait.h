// Waiting in the Windows test programs.  Whatever another process, a window
// or the system does in response to the test (a window shown, a file loaded,
// a dialog opened, text arriving, a value written at exit) is polled for
// until a deadline, never read at a moment that only a fast machine reaches
// in time.  The deadlines come from the start allowance of a process, which
// scripts/wine-timing.env defines and wine-run.sh hands to the programs as
// WTEST_START_MS_32 and WTEST_START_MS_64 (32-bit programs may run through
// qemu-i386, several times slower than natively).
#pragma once
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "check.h"
#include "pump.h"

namespace wtest {

constexpr int kOwnBits = static_cast<int>(sizeof(void*) * 8);

// Milliseconds a new process of that kind (32 or 64) may take to show its
// first window.  Without the environment (a program started by hand) the
// emulated machine's allowance.
inline DWORD StartAllowance(int bits) {
  char value[32]{};
  const char* name = bits == 64 ? "WTEST_START_MS_64" : "WTEST_START_MS_32";
  const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
  if (n > 0 && n < sizeof value) {
    const long ms = std::strtol(value, nullptr, 10);
    if (ms > 0) return static_cast<DWORD>(ms);
  }
  return 45000;
}

// The allowance for one response of a program of this test's own kind, and
// for the windows and threads that this test program itself starts.
inline DWORD Allowance() { return StartAllowance(kOwnBits); }

// The same with the test program's own pump: pump(ms) dispatches for about
// ms milliseconds, as an application object's loop does (its pre-translation
// gives the frame's accelerators, its idle work the bars' states).
template <typename PumpFn, typename Pred>
bool WaitUntilPumping(PumpFn pump, Pred pred, DWORD ms = Allowance()) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (pred()) return true;
    if (GetTickCount() - start >= ms) return pred();
    pump(20);
  }
}

// Dispatches this thread's messages and polls pred about every 20 ms until
// it holds or ms have passed; true when it held.
template <typename Pred>
bool WaitUntil(Pred pred, DWORD ms = Allowance()) {
  return WaitUntilPumping(Pump, pred, ms);
}

namespace detail {
// The line of a check that waited: what, and on failure how long and what was seen.
template <typename Seen>
bool ReportWaited(bool ok, DWORD start, Seen seen, const char* what) {
  if (ok) return check(true, "%s", what);
  const std::string saw = seen();
  return check(false, "%s (waited %lu ms for it; saw: %s)", what,
               static_cast<unsigned long>(GetTickCount() - start), saw.c_str());
}
}  // namespace detail

// A check that waits: pred is polled until it holds or ms have passed.  A
// failure says what was waited for, for how long, and what seen() gave at
// the end (seen returns a std::string).  The message's arguments are a
// parameter pack, not C varargs: x86_64 mingw-w64 g++ reads the wrong stack
// slots through va_start when an empty lambda comes by value before "...".
template <typename Pred, typename Seen, typename... Args>
bool CheckWithin(DWORD ms, Pred pred, Seen seen, const char* fmt, Args... args) {
  const DWORD start = GetTickCount();
  const bool ok = WaitUntil(pred, ms);
  char what[1024];
  std::snprintf(what, sizeof what, fmt, args...);
  return detail::ReportWaited(ok, start, seen, what);
}

// The same with the test program's own pump (WaitUntilPumping).
template <typename PumpFn, typename Pred, typename Seen, typename... Args>
bool CheckWithinPumping(PumpFn pump, DWORD ms, Pred pred, Seen seen, const char* fmt, Args... args) {
  const DWORD start = GetTickCount();
  const bool ok = WaitUntilPumping(pump, pred, ms);
  char what[1024];
  std::snprintf(what, sizeof what, fmt, args...);
  return detail::ReportWaited(ok, start, seen, what);
}

// ---- windows of another process ----

namespace detail {
struct FindProcessWindowData {
  DWORD pid;
  const wchar_t* cls;    // null: any class
  const wchar_t* title;  // null: any title
  HWND found;
};

inline BOOL CALLBACK FindProcessWindowProc(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<FindProcessWindowData*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if ((f->pid && pid != f->pid) || !IsWindowVisible(w)) return TRUE;
  if (f->cls) {
    wchar_t cls[128]{};
    GetClassNameW(w, cls, 128);
    if (lstrcmpW(cls, f->cls) != 0) return TRUE;
  }
  if (f->title) {
    wchar_t text[256]{};
    GetWindowTextW(w, text, 256);
    if (lstrcmpW(text, f->title) != 0) return TRUE;
  }
  f->found = w;
  return FALSE;
}
}  // namespace detail

// A visible top-level window of the process (pid 0: of any process) with
// that class and title (null: any).
inline HWND FindProcessWindow(DWORD pid, const wchar_t* cls, const wchar_t* title) {
  detail::FindProcessWindowData f{pid, cls, title, nullptr};
  EnumWindows(detail::FindProcessWindowProc, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// Notes every top-level window of the process (pid 0: of all), for a
// failure that waited for one in vain.
inline void NoteProcessWindows(DWORD pid) {
  struct Data {
    DWORD pid;
  } d{pid};
  EnumWindows(
      [](HWND w, LPARAM lp) WINAPI -> BOOL {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (reinterpret_cast<Data*>(lp)->pid && owner != reinterpret_cast<Data*>(lp)->pid) return TRUE;
        wchar_t cls[64]{}, title[128]{};
        GetClassNameW(w, cls, 64);
        GetWindowTextW(w, title, 128);
        RECT r{};
        GetWindowRect(w, &r);
        note("window of process %lu: class %ls, title \"%ls\", %s, enabled %d, (%ld, %ld)-(%ld, %ld)",
             static_cast<unsigned long>(owner), cls, title, IsWindowVisible(w) ? "visible" : "hidden",
             IsWindowEnabled(w) ? 1 : 0, r.left, r.top, r.right, r.bottom);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&d));
}

// Waits up to ms for such a window; null when none came.
inline HWND WaitForProcessWindow(DWORD pid, const wchar_t* cls, const wchar_t* title, DWORD ms) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindProcessWindow(pid, cls, title)) != nullptr; }, ms);
  return found;
}

}  // namespace wtest

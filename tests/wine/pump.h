// Message pumping of the Windows test programs: a plain loop, as a host
// program has (no IsDialogMessage).
#pragma once
#include <windows.h>

namespace wtest {

// Dispatches the thread's messages for about ms milliseconds.
inline void Pump(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  MSG m;
  do {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

// The same, leaving the thread's timers queued: a test step that a timer
// drives may pump (for a screenshot) without its timer running it again
// inside itself.
inline void PumpWithoutTimers(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  MSG m;
  do {
    while (PeekMessageW(&m, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
           PeekMessageW(&m, nullptr, WM_TIMER + 1, 0xFFFFFFFF, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

}  // namespace wtest

// Mouse and keyboard input of the Windows test programs, through the
// system's input queue (SendInput), as a person's clicks and keys arrive.
#pragma once
#include <windows.h>

#include <initializer_list>

#include "pump.h"
#include "wait.h"

namespace wtest {

// Moves the mouse to a point of the screen.
inline void MouseTo(POINT pt) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(pt.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(pt.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
  Pump(50);
}

// The left button pressed or released where the mouse is.
inline void MouseButton(bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
  Pump(60);
}

// Left clicks at a point of the screen (times 2: a double click).
inline void Click(POINT pt, int times = 1) {
  MouseTo(pt);
  for (int i = 0; i < times; ++i) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    Pump(times > 1 ? 30 : 150);
  }
  Pump(200);
}

// A left click at a point of a window's client area.
inline void ClickClient(HWND w, int x, int y) {
  POINT p{x, y};
  ClientToScreen(w, &p);
  Click(p);
}

// The screen centre of a window.
inline POINT WindowCentre(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Keys pressed and released one after another.
inline void SendKeys(std::initializer_list<WORD> keys) {
  for (WORD k : keys) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = k;
    in[0].ki.wScan = in[1].ki.wScan = static_cast<WORD>(MapVirtualKeyW(k, 0));
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Pump(60);
  }
  Pump(150);
}

// Waits until this thread has taken every input event and posted message
// from its queue and dispatched it: SendInput queues its events at once, so
// once the queue is empty their answers within this thread have been given.
// The point to check that a click or key made nothing happen.
inline bool WaitForInputHandled() {
  return WaitUntil([] { return HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE)) == 0; });
}

// Keys go where the focus is once a click has activated the window.
inline bool WaitForFocus(HWND w) {
  return WaitUntil([&] { return GetFocus() == w; });
}

}  // namespace wtest

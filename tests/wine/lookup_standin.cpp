// Stands in for the lookup library QuillonV6.dll in the Wine tests: its
// ordinal 1 makes a window in the calling process that records the six
// arguments and the UI window that the input method then posts with
// WM_LOOKUP_CHAR, and sends characters back as the lookup window's pages do.
//   WM_APP + 1 (wParam = GM95 character): sent to the UI window with the
//     application window in lParam (the window that had the focus), as the
//     radical and easy-Hangul pages send it;
//   WM_APP + 2: closes as the lookup window does (WM_LOOKUP_CHAR 0, then the
//     status notifications) and destroys the window.
// The window's text tells what it was given:
//   "code=<n> face=<face> file=<name> app=<hwnd> ui=<hwnd from WM_LOOKUP_CHAR>"
#include <windows.h>

#include <cstdio>

#include "ime_link.h"

namespace {

struct Given {
  HWND app = nullptr, ui = nullptr;
  int code = -1;
  char face[64] = {};
  char file[64] = {};
} g;

void Describe(HWND w) {
  char text[256];
  std::snprintf(text, sizeof text, "code=%d face=%s file=%s app=%p ui=%p", g.code, g.face, g.file,
                static_cast<void*>(g.app), static_cast<void*>(g.ui));
  SetWindowTextA(w, text);
}

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == imelink::WM_LOOKUP_CHAR) {
    g.ui = reinterpret_cast<HWND>(wp);
    Describe(w);
    return 0;
  }
  if (msg == WM_APP + 1) {
    SendMessageA(g.ui, imelink::WM_LOOKUP_CHAR, wp, reinterpret_cast<LPARAM>(g.app));
    return 0;
  }
  if (msg == WM_APP + 2) {
    SendMessageA(g.ui, imelink::WM_LOOKUP_CHAR, imelink::kLookupClosed, 0);
    PostMessageA(g.ui, WM_IME_NOTIFY, IMN_CLOSESTATUSWINDOW, 0);
    PostMessageA(g.ui, WM_IME_NOTIFY, IMN_OPENSTATUSWINDOW, 0);
    DestroyWindow(w);
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

extern "C" HWND WINAPI CreateBusyuJisoCodeWindow(HINSTANCE, HWND app, HWND, int code,
                                                                       LPCSTR face, LPCSTR file) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA("QuillonV6.dll");
  wc.lpszClassName = "QuillonStandIn";
  RegisterClassA(&wc);
  g = Given{};
  g.app = app;
  g.code = code;
  lstrcpynA(g.face, face ? face : "", sizeof g.face);
  lstrcpynA(g.file, file ? file : "", sizeof g.file);
  HWND w = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
  if (w) Describe(w);
  return w;
}

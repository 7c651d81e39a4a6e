// The UI window class that the input method manager creates for every
// thread that uses the input method. It records itself as the module's UI
// window and turns deferred messages back into the messages they stand for.
#include "ime_state.h"

namespace ime {

const char kUiClassName[] = "warbenv3UI";

namespace {

LRESULT CALLBACK UiWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ImeModule& m = Module();
  switch (msg) {
    case WM_CREATE:
      m.uiWindow = hwnd;
      return 0;
    case WM_DESTROY:
      if (m.uiWindow == hwnd) m.uiWindow = nullptr;
      return 0;
    case WM_IME_DEFERRED: {
      // wParam carries the message's wParam, lParam its number.
      HIMC himc = reinterpret_cast<HIMC>(GetWindowLongPtrA(hwnd, 0));
      LPINPUTCONTEXT context = himc ? ImmLockIMC(himc) : nullptr;
      if (context) {
        TRANSMSG tm{static_cast<UINT>(lParam), wParam, 0};
        GenerateImeMessage(himc, context, tm, false);
        ImmUnlockIMC(himc);
      }
      return 0;
    }
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_NOTIFY:
    case WM_IME_SETCONTEXT:
    case WM_IME_CONTROL:
    case WM_IME_COMPOSITIONFULL:
    case WM_IME_SELECT:
    case WM_IME_CHAR:
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

bool RegisterUiClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_IME;
  wc.lpfnWndProc = UiWndProc;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);  // the input context and a private slot
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kUiClassName;
  return RegisterClassExA(&wc) != 0;
}

void UnregisterUiClass(HINSTANCE instance) { UnregisterClassA(kUiClassName, instance); }

}  // namespace ime

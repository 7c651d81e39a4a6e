// A message hook that a test sets on a thread of another process: the user's
// choice of an input method as the language bar makes it, where no message
// of another process can (under Wine a thread keeps its layout). The test
// posts the registered message "GeulmaruTestActivateLayout" with the
// layout in lParam and its own window in wParam to a window of the thread;
// the hook, running in that thread, activates the layout there and answers
// the same message with the thread's layout now (and the error, when the
// activation failed, in wParam).
#include <windows.h>
#include <imm.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK LayoutHookProc(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT activate = RegisterWindowMessageW(L"GeulmaruTestActivateLayout");
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (msg->message == activate) {
      SetLastError(0);
      const HKL before = ActivateKeyboardLayout(reinterpret_cast<HKL>(msg->lParam), 0);
      const DWORD error = before ? 0 : GetLastError();
      // Opened, as the user opens it after choosing it.
      if (HWND focus = GetFocus()) {
        if (HIMC context = ImmGetContext(focus)) {
          ImmSetOpenStatus(context, TRUE);
          ImmReleaseContext(focus, context);
        }
      }
      PostMessageW(reinterpret_cast<HWND>(msg->wParam), activate, error, reinterpret_cast<LPARAM>(GetKeyboardLayout(0)));
      msg->message = WM_NULL;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

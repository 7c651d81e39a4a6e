#include "modeless_keys.h"

#include <prsht.h>

#include <algorithm>
#include <vector>

namespace fw {

namespace {

struct ModelessEntry {
  HWND hwnd;
  bool sheet;
};
thread_local HHOOK t_hook = nullptr;
thread_local std::vector<ModelessEntry>* t_modeless = nullptr;

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  HHOOK hook = t_hook;
  if (code == HC_ACTION && wParam == PM_REMOVE && t_modeless) {
    MSG* m = reinterpret_cast<MSG*>(lParam);
    if (m->message >= WM_KEYFIRST && m->message <= WM_KEYLAST && m->hwnd) {
      const std::vector<ModelessEntry> windows = *t_modeless;  // a key may close one of them
      for (const ModelessEntry& e : windows) {
        if (m->hwnd != e.hwnd && !IsChild(e.hwnd, m->hwnd)) continue;
        const BOOL done = e.sheet ? static_cast<BOOL>(SendMessageW(e.hwnd, PSM_ISDIALOGMESSAGE, 0, lParam))
                                  : IsDialogMessageW(e.hwnd, m);
        if (done) {
          // Handled: the host's loop gets a message that does nothing.
          m->message = WM_NULL;
          m->wParam = 0;
          m->lParam = 0;
        }
        break;
      }
    }
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

void AddModelessWindow(HWND hwnd, bool sheet) {
  if (!hwnd) return;
  if (!t_modeless) t_modeless = new std::vector<ModelessEntry>;
  t_modeless->push_back({hwnd, sheet});
  if (!t_hook) t_hook = SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
}

void RemoveModelessWindow(HWND hwnd) {
  if (!t_modeless) return;
  auto& v = *t_modeless;
  v.erase(std::remove_if(v.begin(), v.end(), [&](const ModelessEntry& e) { return e.hwnd == hwnd; }), v.end());
  if (!v.empty()) return;
  delete t_modeless;
  t_modeless = nullptr;
  if (t_hook) UnhookWindowsHookEx(t_hook);
  t_hook = nullptr;
}

bool ModelessHookInstalled() { return t_hook != nullptr; }

}  // namespace fw

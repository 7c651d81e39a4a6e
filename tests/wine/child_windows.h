// Another process's windows seen from a test program: a window's text and
// the child windows of a class.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace wtest {

// The window's text through WM_GETTEXT ("" for no window).
inline std::wstring WindowText(HWND w) {
  if (!w) return L"";
  const LRESULT n = SendMessageW(w, WM_GETTEXTLENGTH, 0, 0);
  std::wstring s(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
  SendMessageW(w, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()));
  s.resize(std::wcslen(s.c_str()));
  return s;
}

// The window's descendants of a class, top to bottom.
inline std::vector<HWND> ChildrenOfClass(HWND parent, const wchar_t* cls) {
  struct Data {
    const wchar_t* cls;
    std::vector<HWND> found;
  } d{cls, {}};
  EnumChildWindows(
      parent,
      [](HWND w, LPARAM lp) WINAPI -> BOOL {
        auto* d = reinterpret_cast<Data*>(lp);
        wchar_t name[64]{};
        GetClassNameW(w, name, 64);
        if (_wcsicmp(name, d->cls) == 0) d->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&d));
  std::sort(d.found.begin(), d.found.end(), [](HWND a, HWND b) {
    RECT ra{}, rb{};
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.top < rb.top;
  });
  return d.found;
}

}  // namespace wtest

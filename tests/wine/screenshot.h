// Screenshots of windows in the Windows test programs: the screen's pixels
// of a window, kept as a 32-bit BMP file, with pixel tests.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "pump.h"
#include "wait.h"

namespace wtest {

struct Shot {
  int w = 0, h = 0;
  std::vector<uint32_t> px;  // 0x00RRGGBB, top-down
  COLORREF at(int x, int y) const {
    if (x < 0 || y < 0 || x >= w || y >= h) return CLR_INVALID;
    uint32_t v = px[static_cast<size_t>(y) * w + x];
    return RGB(v >> 16 & 0xFF, v >> 8 & 0xFF, v & 0xFF);
  }
  // Pixels of the rectangle (shot coordinates) that satisfy pred.
  template <typename P>
  int Count(RECT r, P pred) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (at(x, y) != CLR_INVALID && pred(at(x, y))) ++n;
    return n;
  }
};

// The screen's pixels of a window, saved as <folder>\<name>.bmp.
inline Shot Capture(HWND w, const std::wstring& folder, const wchar_t* name) {
  // The window and the windows of this thread inside it paint now; the
  // painted surface reaches the screen when the thread's loop flushes it,
  // which takes longer on a slower machine: pump for a hundredth of an
  // allowance (150 ms natively). A screenshot taken inside a timer's step
  // does not run the timer again meanwhile.
  RedrawWindow(w, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  PumpWithoutTimers(Allowance() / 100 > 150 ? Allowance() / 100 : 150);
  RECT r{};
  GetWindowRect(w, &r);
  Shot s;
  s.w = r.right - r.left;
  s.h = r.bottom - r.top;
  if (s.w <= 0 || s.h <= 0) return s;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = s.w;
  bi.bmiHeader.biHeight = -s.h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, s.w, s.h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const uint32_t*>(bits);
  s.px.assign(p, p + static_cast<size_t>(s.w) * s.h);
  for (uint32_t& v : s.px) v &= 0xFFFFFF;
  // 32-bit bottom-up BMP file.
  std::wstring path = folder + L"\\" + name + L".bmp";
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih = bi.bmiHeader;
    ih.biHeight = s.h;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(s.px.size() * 4);
    DWORD n;
    WriteFile(f, &fh, sizeof fh, &n, nullptr);
    WriteFile(f, &ih, sizeof ih, &n, nullptr);
    for (int y = s.h - 1; y >= 0; --y) WriteFile(f, &s.px[static_cast<size_t>(y) * s.w], s.w * 4, &n, nullptr);
    CloseHandle(f);
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return s;
}

inline bool Near(COLORREF a, COLORREF b, int tol = 24) {
  return abs(GetRValue(a) - GetRValue(b)) <= tol && abs(GetGValue(a) - GetGValue(b)) <= tol &&
         abs(GetBValue(a) - GetBValue(b)) <= tol;
}

// A window's rectangle in the coordinates of the screenshot of top.
inline RECT RectInShot(HWND top, HWND w) {
  RECT tr{}, wr{};
  GetWindowRect(top, &tr);
  GetWindowRect(w, &wr);
  return RECT{wr.left - tr.left, wr.top - tr.top, wr.right - tr.left, wr.bottom - tr.top};
}

// Client rectangle of w in the coordinates of its screenshot, or of the
// screenshot of shotOf (a window that holds w).
inline RECT ClientInShot(HWND w, HWND shotOf = nullptr) {
  RECT wr{}, cr{};
  GetWindowRect(shotOf ? shotOf : w, &wr);
  GetClientRect(w, &cr);
  POINT o{0, 0};
  ClientToScreen(w, &o);
  return RECT{o.x - wr.left, o.y - wr.top, o.x - wr.left + cr.right, o.y - wr.top + cr.bottom};
}

}  // namespace wtest

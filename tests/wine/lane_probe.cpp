// A probe of the lane a Wine test runs in: shows a window titled
// "lane-probe <tag>" on the lane's display, leaves the file
// C:\lane-probe-<tag>.txt in the lane's prefix, and stays until the file
// <stop> exists (or its allowance runs out).
//
//   lane_probe.exe <tag> <stop file>
#include <windows.h>

#include <string>

#include "check.h"
#include "wait.h"

int wmain(int argc, wchar_t** argv) {
  wtest::report().group = "lane-probe";
  if (argc < 3) return 2;
  const std::wstring tag = argv[1];
  const std::wstring title = L"lane-probe " + tag;
  HWND w = CreateWindowExW(0, L"STATIC", title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 100,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  wtest::check(w != nullptr, "the probe window is shown");
  const std::wstring marker = L"C:\\lane-probe-" + tag + L".txt";
  HANDLE f = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  wtest::check(f != INVALID_HANDLE_VALUE, "the marker file is written in this prefix");
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  const wchar_t* stop = argv[2];
  wtest::check(wtest::WaitUntil([&] { return GetFileAttributesW(stop) != INVALID_FILE_ATTRIBUTES; },
                                3 * wtest::Allowance()),
               "the test told the probe to end");
  DeleteFileW(marker.c_str());
  if (w) DestroyWindow(w);
  return wtest::finish();
}

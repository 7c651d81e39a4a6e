// The link between the input method and the companion programs that send
// text back into the application the user types in: the three tool-window
// messages that the input method's UI window receives, the meaning of their
// parameters, and the command line that the input method gives the
// translation workbench and the translation input pad. The input method
// includes this header as the receiver, the lookup library, the workbench
// and the pad as senders. Header-only and free of windows.h.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <string>

namespace imelink {

// The tool-window messages (WM_USER based), all of one shape: wParam is a
// double-byte character with its first byte in bits 0-7 and its second byte
// in bits 8-15 (0 for a single-byte character), or one of the values below.
constexpr unsigned WM_LOOKUP_CHAR = 0x5F6;     // lookup window, GM95 characters, one at a time
constexpr unsigned WM_WORKBENCH_CHAR = 0x5F7;  // translation workbench, text in the code it was given
constexpr unsigned WM_PAD_CHAR = 0x5F8;        // translation input pad, text in the code it was given

// wParam 1 with a window in lParam announces the sender (lParam 0 withdraws
// it); from the lookup window wParam 1 asks the input method to take the
// focused window as its target again.
constexpr uintptr_t kAnnounce = 1;
// The lookup window has closed (lParam 0).
constexpr uintptr_t kLookupClosed = 0;
// Workbench and pad: commit the characters sent so far as one result.
constexpr uintptr_t kCommit = 0xFFFF;
// The most characters that a workbench or a pad sends before kCommit.
constexpr int kMaxTransferChars = 128;

// wParam of a double-byte character (second 0 for a single byte).
constexpr uintptr_t CharParam(uint8_t first, uint8_t second) {
  return static_cast<uintptr_t>(first) | static_cast<uintptr_t>(second) << 8;
}
constexpr uint8_t FirstByte(uintptr_t wParam) { return static_cast<uint8_t>(wParam & 0xFF); }
constexpr uint8_t SecondByte(uintptr_t wParam) { return static_cast<uint8_t>(wParam >> 8 & 0xFF); }

// The lookup library, bound by the input method at run time from its
// program folder, and its window export by ordinal:
//   HWND WINAPI CreateBusyuJisoCodeWindow(HINSTANCE imeInstance, HWND application,
//       HWND imeUiWindow, int koreanCode, LPCSTR koreanFace, LPCSTR imeFileName)
// returns the lookup window (null when it could not be made). The input
// method then posts WM_LOOKUP_CHAR with its UI window in wParam to it.
constexpr char kLookupLibrary[] = "QuillonV6.dll";
constexpr int kLookupOrdinal = 1;
#if defined(_WIN32) && !defined(_WIN64)
#define IMELINK_STDCALL __stdcall
#else
#define IMELINK_STDCALL
#endif
using CreateLookupWindowFn = void*(IMELINK_STDCALL*)(void* imeInstance, void* application, void* imeUiWindow,
                                                     int koreanCode, const char* koreanFace,
                                                     const char* imeFileName);

// The command line of the workbench and the pad (`ImeLaunchCommandLine`):
// the program path (quoted), then " %d %d %d" with the input method's UI window, the
// target application window and the code number (1 KS, 2 GM V3, 0 GM95),
// each a signed decimal number. Window handles carry 32 significant bits on
// both 32-bit and 64-bit Windows, so they travel as 32-bit numbers.
struct LaunchArguments {
  int32_t uiWindow = 0;
  int32_t targetWindow = 0;
  int koreanCode = 0;
};

inline int32_t HandleNumber(const void* handle) {
  return static_cast<int32_t>(reinterpret_cast<intptr_t>(handle));
}
template <typename H>
H NumberHandle(int32_t number) {
  return reinterpret_cast<H>(static_cast<intptr_t>(number));
}

// The program's path as the first word of a command line: in double quotes,
// so that a folder with blanks ("C:\Program Files\...") stays one word, both
// for the system, which would otherwise try "C:\Program.exe" first, and for
// the C runtime that splits the started program's arguments. Windows paths
// never hold a double quote.
inline std::string CommandLineProgram(const std::string& programPath) { return '"' + programPath + '"'; }

inline std::string ImeLaunchCommandLine(const std::string& programPath, const LaunchArguments& a) {
  return CommandLineProgram(programPath) + " " + std::to_string(a.uiWindow) + " " + std::to_string(a.targetWindow) +
         " " + std::to_string(a.koreanCode);
}

// Reads the three numbers from the arguments after the program path (what
// WinMain receives as its command line). False, with *out untouched, when
// there are not three numbers: the program was started without them.
inline bool ParseImeLaunchArguments(const char* arguments, LaunchArguments* out) {
  long long v[3];
  const char* p = arguments ? arguments : "";
  for (long long& n : v) {
    while (*p == ' ' || *p == '\t') ++p;
    char* end = nullptr;
    n = std::strtoll(p, &end, 10);
    if (end == p || (*end != '\0' && *end != ' ' && *end != '\t')) return false;
    if (n < INT32_MIN || n > INT32_MAX) return false;
    p = end;
  }
  out->uiWindow = static_cast<int32_t>(v[0]);
  out->targetWindow = static_cast<int32_t>(v[1]);
  out->koreanCode = static_cast<int>(v[2]);
  return true;
}

}  // namespace imelink

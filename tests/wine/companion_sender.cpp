// Stands in for the translation workbench (installed as DALMOK.EXE) and the
// translation input pad (installed as Vestra.EXE) in the Wine tests: started
// by the input method's toolbar with the companion command line, it writes
// what it was given to <its own path>.txt and sends a fixed Korean text to
// the input method's UI window as the program it stands for does:
//  - the pad (WM_PAD_CHAR): announces its window with SendMessage, waits
//    40 ms once, sends every character and the commit mark without pauses,
//    and posts (1, 0) when it is done;
//  - the workbench (WM_WORKBENCH_CHAR): posts (1, frame) and (1, 0) at the
//    end of its start-up, brings the target to the front, then posts every
//    character and the commit mark 40 ms apart.
// The text is 한국어 for the pad and 안녕 for the workbench, in the code it
// was given (KS for code 1).
#include <windows.h>

#include <cstdio>
#include <string>

#include "ime_link.h"

namespace {

std::string KsText(const wchar_t* text) {
  char buf[64] = {};
  WideCharToMultiByte(949, 0, text, -1, buf, sizeof buf - 1, nullptr, nullptr);
  return buf;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string name = self;
  name = name.substr(name.find_last_of("\\/") + 1);
  for (char& c : name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  const bool pad = name.rfind("VESTRA", 0) == 0;

  imelink::LaunchArguments a;
  const bool numbers = imelink::ParseImeLaunchArguments(arguments, &a);
  if (std::FILE* f = std::fopen((std::string(self) + ".txt").c_str(), "w")) {
    if (numbers) {
      std::fprintf(f, "%d %d %d\n", a.uiWindow, a.targetWindow, a.koreanCode);
    } else {
      std::fprintf(f, "no numbers: [%s]\n", arguments ? arguments : "");
    }
    std::fclose(f);
  }
  if (!numbers) return 1;
  HWND ui = imelink::NumberHandle<HWND>(a.uiWindow);
  HWND target = imelink::NumberHandle<HWND>(a.targetWindow);

  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.lpszClassName = "CompanionSender";
  RegisterClassA(&wc);
  HWND own = CreateWindowExA(0, wc.lpszClassName, name.c_str(), WS_OVERLAPPED, 0, 0, 100, 60, nullptr, nullptr,
                             instance, nullptr);
  const std::string text = KsText(pad ? L"\xD55C\xAD6D\xC5B4" : L"\xC548\xB155");
  auto character = [&](size_t i) { return imelink::CharParam(static_cast<uint8_t>(text[i]), static_cast<uint8_t>(text[i + 1])); };

  if (pad) {
    const UINT msg = imelink::WM_PAD_CHAR;
    SendMessageA(ui, msg, imelink::kAnnounce, reinterpret_cast<LPARAM>(own));
    Sleep(40);
    for (size_t i = 0; i + 1 < text.size(); i += 2) SendMessageA(ui, msg, character(i), 0);
    SendMessageA(ui, msg, imelink::kCommit, 0);
    PostMessageA(ui, msg, imelink::kAnnounce, 0);
  } else {
    const UINT msg = imelink::WM_WORKBENCH_CHAR;
    PostMessageA(ui, msg, imelink::kAnnounce, reinterpret_cast<LPARAM>(own));
    PostMessageA(ui, msg, imelink::kAnnounce, 0);
    SetForegroundWindow(target);
    Sleep(40);
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
      PostMessageA(ui, msg, character(i), 0);
      Sleep(40);
    }
    PostMessageA(ui, msg, imelink::kCommit, 0);
  }
  Sleep(200);
  DestroyWindow(own);
  return 0;
}

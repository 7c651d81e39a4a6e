// A small window in which one can type Korean with the built input method.
//
// Two roads:
//  - exports (default): the demo loads the .IME itself, keeps its own input
//    context and offers every key to ImeProcessKey / ImeToAsciiEx, then
//    applies the returned messages (composition with its cursor, results);
//    this works for either build under Wine;
//  - keyboard (--keyboard): the keyboard layout of the installed input
//    method (GeulmaruSetup.exe registers it) is found by its file name and
//    activated, and the input method manager drives it (32-bit build only
//    under Wine 8); --ime then names the file ("ZORBENV6.IME" by default).
//
//   imedemo.exe [--ime <path or file name>] [--keyboard] [--auto] [--shot <file.bmp>] [--out <file.txt>]
//               [--title-note <text>]
//
// --auto types the 2-set keys of a fixed sentence and the Hanja key, saves a
// picture of the screen with the input method's windows (--shot), writes
// the committed text as UTF-8 (--out and standard output) and exits. On
// the exports road the demo makes the input method's UI window itself and
// hands it the IME messages, as the input method manager would.
#include "ime_driver.h"
#include "ime_layouts.h"
#include "ks_gm.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// 안녕하세요 on the 2-set keyboard, then the Hanja key twice on the last syllable
// (convert, then open the list), which stays composing so that the picture shows the input method's
// composition window (and its candidate list when a dictionary is open).
const char kAutoKeys[] = "dkssudgktpdy\x19\x19";

struct Options {
  std::wstring ime;
  bool keyboard = false;
  bool autoType = false;
  std::wstring shot;
  std::wstring out;
  std::wstring titleNote;  // why this road was taken, for the title bar
};

struct Demo {
  Options opt;
  imedrv::Ime ime;
  HIMC himc = nullptr;  // exports road: our own context
  HKL layout = nullptr;
  HWND hwnd = nullptr;
  HWND ui = nullptr;         // exports road: the input method's UI window
  bool candShown = false;
  HFONT font = nullptr, small = nullptr;
  std::wstring fontFace;
  std::wstring text;         // committed
  std::wstring comp;         // composing
  int compCursor = 0;        // in characters
  std::wstring lastMessages; // messages of the last key, for the status line
  bool gm = false;           // GM-code edition: composition in GM bytes
  size_t autoPos = 0;
  bool autoDone = false;
  imedrv::BoxWatcher boxes;  // unattended runs close the start-up message boxes
};

Demo g;

std::wstring Widen(const std::string& s, UINT cp) {
  int n = MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
  return w;
}

// Bytes of the edition's code (KS, or GM) to UTF-16; *cursor (a byte
// position) becomes a character position.
std::wstring DecodeAnsi(const std::string& bytes, int* cursor) {
  std::string ks;
  int cursorChars = 0;
  std::wstring out;
  for (size_t i = 0; i < bytes.size();) {
    auto b = static_cast<uint8_t>(bytes[i]);
    size_t len = 1;
    std::string one(1, bytes[i]);
    if (g.gm && codeconv::IsGmLeadByte(b) && i + 1 < bytes.size()) {
      len = 2;
      int ord = codeconv::Gm95ToOrdinal(codeconv::MakeDb(b, static_cast<uint8_t>(bytes[i + 1])));
      one = ord < 0 ? std::string("?")
                    : std::string{static_cast<char>(0xA1 + ord / 94), static_cast<char>(0xA1 + ord % 94)};
    } else if (!g.gm && b >= 0x81 && i + 1 < bytes.size()) {
      len = 2;
      one = bytes.substr(i, 2);
    }
    if (cursor && static_cast<int>(i) < *cursor) ++cursorChars;
    out += Widen(one, 949);
    i += len;
  }
  if (cursor) *cursor = cursorChars;
  return out;
}

void Print(const std::wstring& w) {
  std::u16string u(w.begin(), w.end());
  std::string s = imedrv::Utf8(u);
  DWORD n;
  HANDLE h = GetStdHandle(STD_OUTPUT_HANDLE);
  if (h && h != INVALID_HANDLE_VALUE) WriteFile(h, s.data(), static_cast<DWORD>(s.size()), &n, nullptr);
}

// --- applying the input method's messages ----------------------------------

void ReadCompositionExports(LPARAM flags) {
  imedrv::CompRecord rec = imedrv::Ime::ReadComp(g.himc);
  if (!rec.ok || rec.bytes.size() < sizeof(COMPOSITIONSTRING)) return;
  const COMPOSITIONSTRING& h = rec.hdr();
  if (flags & GCS_RESULTSTR) {
    if (g.ime.unicode) {
      std::u16string r = rec.wide(h.dwResultStrOffset, h.dwResultStrLen);
      g.text.append(r.begin(), r.end());
    } else {
      g.text += DecodeAnsi(rec.narrow(h.dwResultStrOffset, h.dwResultStrLen), nullptr);
    }
  }
  if (flags & GCS_COMPSTR) {
    if (g.ime.unicode) {
      std::u16string c = rec.wide(h.dwCompStrOffset, h.dwCompStrLen);
      g.comp.assign(c.begin(), c.end());
      g.compCursor = static_cast<int>(h.dwCursorPos);
    } else {
      int cur = static_cast<int>(h.dwCursorPos);
      g.comp = DecodeAnsi(rec.narrow(h.dwCompStrOffset, h.dwCompStrLen), &cur);
      g.compCursor = cur;
    }
  }
}

void ReadCompositionImm(LPARAM flags) {
  HIMC himc = ImmGetContext(g.hwnd);
  if (!himc) return;
  wchar_t buf[256];
  if (flags & GCS_RESULTSTR) {
    LONG n = ImmGetCompositionStringW(himc, GCS_RESULTSTR, buf, sizeof buf);
    if (n > 0) g.text.append(buf, n / sizeof(wchar_t));
  }
  if (flags & GCS_COMPSTR) {
    LONG n = ImmGetCompositionStringW(himc, GCS_COMPSTR, buf, sizeof buf);
    g.comp.assign(buf, n > 0 ? n / sizeof(wchar_t) : 0);
    g.compCursor = LOWORD(ImmGetCompositionStringW(himc, GCS_CURSORPOS, nullptr, 0));
  }
  ImmReleaseContext(g.hwnd, himc);
}

// Exports road: the IME messages go on to the input method's UI window,
// which shows the composition and candidate windows.
void ForwardToUi(UINT msg, WPARAM wp, LPARAM lp) {
  if (g.ui) SendMessageW(g.ui, msg, wp, lp);
}

void ApplyImeMessage(UINT msg, LPARAM lp) {
  wchar_t note[48];
  switch (msg) {
    case WM_IME_STARTCOMPOSITION:
      g.comp.clear();
      g.compCursor = 0;
      g.lastMessages += L"START ";
      break;
    case WM_IME_COMPOSITION:
      if (g.opt.keyboard) ReadCompositionImm(lp); else ReadCompositionExports(lp);
      swprintf(note, 48, L"COMP(0x%lx) ", static_cast<unsigned long>(lp));
      g.lastMessages += note;
      break;
    case WM_IME_ENDCOMPOSITION:
      g.comp.clear();
      g.compCursor = 0;
      g.lastMessages += L"END ";
      break;
    default:
      break;
  }
  InvalidateRect(g.hwnd, nullptr, TRUE);
}

// Exports road: one key down to the input method; false when it leaves the
// key to the window.
bool OfferKey(UINT vk, LPARAM keyData) {
  BYTE state[256]{};
  GetKeyboardState(state);
  if (!g.ime.ProcessKey(g.himc, vk, keyData, state)) return false;
  UINT scan = (keyData >> 16) & 0xFF;
  wchar_t ch[4]{};
  int n = ToUnicode(vk, scan, state, ch, 4, 0);
  unsigned c = n == 1 ? ch[0] : 0;
  if (!g.ime.unicode) c = c < 0x80 ? c : 0;
  std::vector<uint8_t> buf(offsetof(TRANSMSGLIST, TransMsg) + 64 * sizeof(TRANSMSG));
  auto* list = reinterpret_cast<TRANSMSGLIST*>(buf.data());
  list->uMsgCount = 64;
  g.lastMessages.clear();
  UINT count = g.ime.ToAsciiEx(g.ime.PackKey(vk, c), scan, state, list, 0, g.himc);
  for (UINT i = 0; i < count && i < 64; ++i) {
    const TRANSMSG& t = list->TransMsg[i];
    ApplyImeMessage(t.message, t.lParam);
    ForwardToUi(t.message, t.wParam, t.lParam);
  }
  return true;
}

// --- drawing ---------------------------------------------------------------

void Paint(HDC dc, const RECT& rc) {
  FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ old = SelectObject(dc, g.small);
  SetTextColor(dc, RGB(90, 90, 90));
  std::wstring status = std::wstring(L"ハングル入力デモ  ") + (g.opt.keyboard ? L"[keyboard] " : L"[exports] ") +
                        g.opt.ime.substr(g.opt.ime.find_last_of(L"\\/") + 1) + L"  font: " + g.fontFace;
  if (!g.opt.titleNote.empty()) status += L"  " + g.opt.titleNote;
  TextOutW(dc, 12, 8, status.c_str(), static_cast<int>(status.size()));
  std::wstring msgs = L"messages: " + g.lastMessages;
  TextOutW(dc, 12, rc.bottom - 26, msgs.c_str(), static_cast<int>(msgs.size()));

  SelectObject(dc, g.font);
  SetTextColor(dc, RGB(0, 0, 0));
  TEXTMETRICW tm;
  GetTextMetricsW(dc, &tm);
  int x = 16, y = 44;
  int lineHeight = tm.tmHeight + 6;
  // Committed text, line by line; the composition follows its last line.
  size_t start = 0;
  for (;;) {
    size_t nl = g.text.find(L'\n', start);
    std::wstring line = g.text.substr(start, nl == std::wstring::npos ? std::wstring::npos : nl - start);
    TextOutW(dc, x, y, line.c_str(), static_cast<int>(line.size()));
    if (nl == std::wstring::npos) {
      SIZE sz{};
      GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &sz);
      x += sz.cx;
      break;
    }
    start = nl + 1;
    y += lineHeight;
  }
  int caretX = x;
  if (!g.comp.empty()) {
    SIZE sz{};
    GetTextExtentPoint32W(dc, g.comp.c_str(), static_cast<int>(g.comp.size()), &sz);
    RECT box{x, y, x + sz.cx, y + tm.tmHeight};
    HBRUSH bg = CreateSolidBrush(RGB(255, 244, 200));
    FillRect(dc, &box, bg);
    DeleteObject(bg);
    SetTextColor(dc, RGB(0, 0, 160));
    TextOutW(dc, x, y, g.comp.c_str(), static_cast<int>(g.comp.size()));
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(0, 0, 160));
    HGDIOBJ op = SelectObject(dc, pen);
    MoveToEx(dc, x, y + tm.tmHeight, nullptr);
    LineTo(dc, x + sz.cx, y + tm.tmHeight);
    SelectObject(dc, op);
    DeleteObject(pen);
    int cur = g.compCursor < 0 ? 0 : (g.compCursor > static_cast<int>(g.comp.size()) ? static_cast<int>(g.comp.size()) : g.compCursor);
    SIZE pre{};
    GetTextExtentPoint32W(dc, g.comp.c_str(), cur, &pre);
    caretX = x + pre.cx;
  }
  RECT caret{caretX, y, caretX + 2, y + tm.tmHeight};
  FillRect(dc, &caret, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SelectObject(dc, old);
}

// The picture is of the whole screen, so that it shows the input method's
// windows beside the demo's own.
bool SaveBitmap(const std::wstring& path) {
  int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  GdiFlush();
  DWORD stride = ((w * 3) + 3) & ~3u;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  fh.bfSize = fh.bfOffBits + stride * h;
  bool ok = false;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    DWORD n;
    ok = WriteFile(f, &fh, sizeof fh, &n, nullptr) && WriteFile(f, &bi.bmiHeader, sizeof bi.bmiHeader, &n, nullptr) &&
         WriteFile(f, bits, stride * h, &n, nullptr);
    CloseHandle(f);
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

BOOL CALLBACK ReportWindow(HWND w, LPARAM) {
  wchar_t cls[64]{};
  GetClassNameW(w, cls, 64);
  if (!IsWindowVisible(w) || (lstrcmpW(cls, L"warbenv3CompStr") != 0 && lstrcmpW(cls, L"warbenv3Cand") != 0))
    return TRUE;
  RECT r;
  GetWindowRect(w, &r);
  wchar_t line[160];
  swprintf(line, 160, L"%ls window at (%ld,%ld), %ldx%ld\n",
           lstrcmpW(cls, L"warbenv3Cand") == 0 ? L"candidate" : L"composition", r.left, r.top, r.right - r.left,
           r.bottom - r.top);
  Print(line);
  if (lstrcmpW(cls, L"warbenv3Cand") == 0) g.candShown = true;
  return TRUE;
}

void ReportImeWindows() {
  g.candShown = false;
  EnumThreadWindows(GetCurrentThreadId(), ReportWindow, 0);
  if (!g.candShown) Print(L"no candidate list: the reading has no hanja in the dictionary\n");
}

void FinishAuto() {
  g.boxes.Stop();
  for (const std::u16string& t : g.boxes.Texts())
    Print(L"message box closed: " + std::wstring(t.begin(), t.end()) + L"\n");
  Print(L"committed: " + g.text + L"\n");
  if (!g.comp.empty()) Print(L"still composing: " + g.comp + L"\n");
  if (!g.opt.out.empty()) {
    std::u16string u(g.text.begin(), g.text.end());
    std::string s = imedrv::Utf8(u);
    HANDLE f = CreateFileW(g.opt.out.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
      DWORD n;
      WriteFile(f, s.data(), static_cast<DWORD>(s.size()), &n, nullptr);
      CloseHandle(f);
    }
  }
  ReportImeWindows();
  if (!g.opt.shot.empty()) Print(SaveBitmap(g.opt.shot) ? L"picture saved\n" : L"picture NOT saved\n");
  PostQuitMessage(0);
}

// One step of --auto: the next key, as a key press of the chosen road.
void AutoStep() {
  if (g.autoPos >= sizeof kAutoKeys - 1) {
    if (!g.autoDone) {
      g.autoDone = true;
      FinishAuto();
    }
    return;
  }
  UINT vk;
  unsigned ch;
  imedrv::ScriptKey(kAutoKeys[g.autoPos++], vk, ch);
  UINT scan = MapVirtualKeyW(vk, 0);
  if (g.opt.keyboard) {
    g.lastMessages.clear();
    INPUT in[2]{};
    for (auto& i : in) {
      i.type = INPUT_KEYBOARD;
      i.ki.wVk = static_cast<WORD>(vk);
      i.ki.wScan = static_cast<WORD>(scan);
    }
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
  } else {
    PostMessageW(g.hwnd, WM_KEYDOWN, vk, 1 | static_cast<LPARAM>(scan) << 16);
    PostMessageW(g.hwnd, WM_KEYUP, vk, 1 | static_cast<LPARAM>(scan) << 16 | static_cast<LPARAM>(0xC0000000u));
  }
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT rc;
      GetClientRect(hwnd, &rc);
      Paint(dc, rc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
      // The demo draws the composition inline too and takes results from
      // WM_IME_COMPOSITION; the messages go on to the input method's UI
      // window, which shows its composition window: on the keyboard road
      // through the default window procedure (the manager's IME window), on
      // the exports road directly.
      ApplyImeMessage(msg, lp);
      if (g.opt.keyboard) return DefWindowProcW(hwnd, msg, wp, lp);
      ForwardToUi(msg, wp, lp);
      return 0;
    case WM_IME_NOTIFY:
      // Notifications (candidate list, status) for the UI window.
      if (g.opt.keyboard) return DefWindowProcW(hwnd, msg, wp, lp);
      ForwardToUi(msg, wp, lp);
      return 0;
    case WM_IME_CHAR:
      return 0;
    case WM_CHAR:
      if (wp == '\b') {
        if (!g.text.empty()) g.text.pop_back();
      } else if (wp == '\r') {
        g.text += L'\n';
      } else if (wp >= 0x20) {
        g.text += static_cast<wchar_t>(wp);
      }
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_TIMER:
      AutoStep();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L"\\/") + 1);
}

Options ParseArgs() {
  Options o;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; i < argc; ++i) {
    std::wstring a = argv[i];
    if (a == L"--ime" && i + 1 < argc) o.ime = argv[++i];
    else if (a == L"--keyboard") o.keyboard = true;
    else if (a == L"--auto") o.autoType = true;
    else if (a == L"--shot" && i + 1 < argc) o.shot = argv[++i];
    else if (a == L"--out" && i + 1 < argc) o.out = argv[++i];
    else if (a == L"--title-note" && i + 1 < argc) o.titleNote = argv[++i];
  }
  LocalFree(argv);
  if (o.ime.empty()) o.ime = ExeFolder() + L"ZORBENV6.IME";
  return o;
}

void Fail(const std::wstring& what) {
  Print(L"imedemo: " + what + L"\n");
  if (!g.opt.autoType) MessageBoxW(nullptr, what.c_str(), L"imedemo", MB_ICONERROR);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int show) {
  g.opt = ParseArgs();
  std::wstring file = g.opt.ime.substr(g.opt.ime.find_last_of(L"\\/") + 1);
  g.gm = !file.empty() && towupper(file[0]) != L'Z';

  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_IBEAM));
  wc.lpszClassName = L"GeulmaruImeDemo";
  RegisterClassW(&wc);
  std::wstring title = std::wstring(L"ハングル入力デモ ") + (g.opt.keyboard ? L"[keyboard]" : L"[exports]");
  if (!g.opt.titleNote.empty()) title += L" " + g.opt.titleNote;
  g.hwnd = CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 760, 260, nullptr,
                           nullptr, inst, nullptr);
  if (!g.hwnd) {
    Fail(L"CreateWindow failed");
    return 1;
  }
  g.font = CreateFontW(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, HANGUL_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                       ANTIALIASED_QUALITY, DEFAULT_PITCH, L"NanumGothic");
  g.small = CreateFontW(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                        ANTIALIASED_QUALITY, DEFAULT_PITCH, L"NanumGothic");
  {
    HDC dc = GetDC(g.hwnd);
    HGDIOBJ old = SelectObject(dc, g.font);
    wchar_t face[LF_FACESIZE]{};
    GetTextFaceW(dc, LF_FACESIZE, face);
    g.fontFace = face;
    SelectObject(dc, old);
    ReleaseDC(g.hwnd, dc);
  }

  if (g.opt.autoType) g.boxes.Start();
  if (g.opt.keyboard) {
    const std::string name(file.begin(), file.end());
    g.layout = reinterpret_cast<HKL>(codeconv::FindImeLayoutByName(name));
    if (!g.layout) {
      Fail(file + L" is not installed as a keyboard layout: install the suite with GeulmaruSetup.exe");
      return 1;
    }
    // Activated before the window's input context is first asked for: under
    // Wine 8 the input method shows its windows only when the context's open
    // status is set after the switch (codeconv::ActivateImeByName, which
    // reads and keeps the open state, leaves them hidden there).
    ActivateKeyboardLayout(g.layout, 0);
    g.ime.unicode = true;  // the manager hands out UTF-16 either way
  } else {
    if (!g.ime.Load(g.opt.ime.c_str())) {
      Fail(L"cannot load the input method " + g.opt.ime);
      return 1;
    }
    g.himc = g.ime.NewContext(g.hwnd);
    if (!g.himc) {
      Fail(L"ImmCreateContext failed");
      return 1;
    }
    // The UI window of the input method's class, as the input method
    // manager makes it for the keyboard road.
    g.ui = CreateWindowExA(0, "warbenv3UI", "", WS_POPUP | WS_DISABLED, 0, 0, 0, 0, nullptr, nullptr, g.ime.module,
                           nullptr);
    if (g.ui) {
      SetWindowLongPtrW(g.ui, 0, reinterpret_cast<LONG_PTR>(g.himc));
      SendMessageW(g.ui, WM_IME_SELECT, TRUE, 0);
      SendMessageW(g.ui, WM_IME_SETCONTEXT, TRUE, ISC_SHOWUIALL);
    }
  }
  ShowWindow(g.hwnd, show);
  UpdateWindow(g.hwnd);
  SetForegroundWindow(g.hwnd);
  SetFocus(g.hwnd);
  if (g.opt.keyboard) {
    if (HIMC h = ImmGetContext(g.hwnd)) {
      ImmSetOpenStatus(h, TRUE);
      ImmReleaseContext(g.hwnd, h);
    }
  }
  if (g.opt.autoType) SetTimer(g.hwnd, 1, 120, nullptr);

  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    if (!g.opt.keyboard && (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) && m.hwnd == g.hwnd &&
        OfferKey(static_cast<UINT>(m.wParam), m.lParam))
      continue;  // the input method took the key
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  if (g.ui) DestroyWindow(g.ui);
  if (g.himc) g.ime.DeleteContext(g.himc);
  g.ime.Unload();
  return 0;
}

// The input method's windows under Wine: loads the .IME, creates its UI
// window as the input method manager would, types Korean through the
// exports into a context of its own, delivers the IME messages to the UI
// window, and checks the composition and candidate windows' sizes,
// positions and pixels in screenshots (kept as BMP files).
//
//   ime_windows_test.exe ks <ZORBENV6.IME> <folder for screenshots>
//   ime_windows_test.exe gm <WARBENV6.IME> <folder for screenshots>
#include "check.h"
#include "ime_driver.h"
#include "wait.h"
#include "screenshot.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../../ime/core/comp_record.h"

using wtest::check;
using wtest::check_eq;
using wtest::note;

namespace {

HWND g_ui = nullptr;       // the input method's UI window
int g_forwarded = 0;       // IME messages that reached the application window
std::wstring g_shots;      // screenshot folder

using wtest::Near;
using wtest::Shot;
using wtest::ClientInShot;
wtest::Shot Capture(HWND w, const wchar_t* name) { return wtest::Capture(w, g_shots, name); }

// The application window hands its IME messages to the UI window, as
// DefWindowProc does through the default IME window.
LRESULT CALLBACK AppProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_IME_NOTIFY:
      ++g_forwarded;
      return g_ui ? SendMessageW(g_ui, msg, wp, lp) : 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

using imedrv::Pump;

// ---- windows of the input method -----------------------------------------------

using imedrv::ThreadWindows;
using imedrv::WindowRect;
using imedrv::WorkArea;

// The framed composition window (the one with a dialog frame).
HWND MainComp() {
  for (HWND w : ThreadWindows(L"warbenv3CompStr", false))
    if (GetWindowLongW(w, GWL_STYLE) & WS_DLGFRAME) return w;
  return nullptr;
}

std::vector<HWND> ShownCaretWindows() {
  std::vector<HWND> out;
  for (HWND w : ThreadWindows(L"warbenv3CompStr", true))
    if (!(GetWindowLongW(w, GWL_STYLE) & WS_DLGFRAME)) out.push_back(w);
  return out;
}

HWND Cand() {
  std::vector<HWND> c = ThreadWindows(L"warbenv3Cand", false);
  return c.empty() ? nullptr : c[0];
}


// ---- the session ---------------------------------------------------------------

struct Session {
  imedrv::Ime ime;
  HWND app = nullptr;
  HIMC himc = nullptr;
  bool gm = false;
  std::wstring face;  // the composition font's face after ImeSelect
  HFONT display = nullptr;
  int lineHeight = 0;

  void Deliver(const imedrv::KeyResult& r) {
    for (const TRANSMSG& m : r.messages) SendMessageW(g_ui, m.message, m.wParam, m.lParam);
  }

  void Type(const char* keys) {
    BYTE state[256]{};
    for (const char* p = keys; *p; ++p) {
      UINT vk;
      unsigned ch;
      imedrv::ScriptKey(*p, vk, ch);
      Deliver(ime.ToAscii(himc, vk, ch, state));
    }
    Pump(30);
  }

  void Key(UINT vk) {
    BYTE state[256]{};
    Deliver(ime.ToAscii(himc, vk, 0, state));
    Pump(30);
  }

  imedrv::CompRecord Comp() const { return imedrv::Ime::ReadComp(himc); }

  // The display font as the input method makes it: the current face, the
  // edition's charset, 16 points.
  void MakeDisplayFont() {
    HDC dc = GetDC(nullptr);
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(16, GetDeviceCaps(dc, LOGPIXELSY), 72);
    lf.lfCharSet = gm ? SHIFTJIS_CHARSET : HANGUL_CHARSET;
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    display = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(dc, display);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    lineHeight = tm.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
  }

  // Extent of KS (or GM) bytes in a font, measured as the input method does.
  SIZE Extent(HFONT font, const std::string& bytes) const {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE s{};
    GetTextExtentPoint32A(dc, bytes.data(), static_cast<int>(bytes.size()), &s);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return s;
  }

  static std::string Ks(const std::u16string& u) {
    int n = WideCharToMultiByte(949, 0, reinterpret_cast<const wchar_t*>(u.data()), static_cast<int>(u.size()),
                                nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n : 0, '\0');
    if (n > 0)
      WideCharToMultiByte(949, 0, reinterpret_cast<const wchar_t*>(u.data()), static_cast<int>(u.size()), &s[0], n,
                          nullptr, nullptr);
    return s;
  }

  // Lines of the framed window for a text: a new line whenever the running
  // width plus the next character would pass 258 pixels.
  int ExpectedLines(const std::string& ks) const {
    int lines = 1, width = 0;
    for (size_t i = 0; i < ks.size();) {
      size_t n = static_cast<unsigned char>(ks[i]) >= 0x81 && i + 1 < ks.size() ? 2 : 1;
      int w = Extent(display, ks.substr(i, n)).cx;
      if (width > 0 && width + w > 258) {
        ++lines;
        width = 0;
      }
      width += w;
      i += n;
    }
    return lines;
  }

  void CheckMainSize(const char* what, int lines) {
    HWND main = MainComp();
    if (!check(main && IsWindowVisible(main), "%s: framed composition window shown", what)) return;
    RECT r = WindowRect(main), work = WorkArea();
    const int cx = GetSystemMetrics(SM_CXEDGE), cy = GetSystemMetrics(SM_CYEDGE);
    const int w = 2 * cx + 268, h = lines * lineHeight + 2 * cy + 20;
    check_eq(r.right - r.left, w, (std::string(what) + ": width 2 x SM_CXEDGE + 268").c_str());
    check_eq(r.bottom - r.top, h, (std::string(what) + ": height lines x line height + 2 x SM_CYEDGE + 20").c_str());
    check_eq(r.left, work.left, (std::string(what) + ": at the work area's left").c_str());
    check_eq(r.bottom, work.bottom, (std::string(what) + ": at the work area's bottom").c_str());
  }
};

const std::u16string kHanja = u"\x97D3\x6F22\x5BD2\x9650\x6068\x9591\x6C57\x65F1\x7FF0\x701A\x608D\x7F55\x6F63\x90AF\x9F3E"
                              u"\x97D3\x6F22\x5BD2\x9650\x6068";

// The candidate record as the engine fills it after a conversion, for a
// build whose dictionary is not open: count candidates of 한, page size 9.
void FillCandidates(HIMC himc, size_t count, std::vector<std::u16string>* out) {
  INPUTCONTEXT* ic = ImmLockIMC(himc);
  if (!ic) return;
  auto* ci = static_cast<ime::ImeCandInfo*>(ImmLockIMCC(ic->hCandInfo));
  auto* cs = static_cast<ime::ImeCompString*>(ImmLockIMCC(ic->hCompStr));
  if (ci && cs) {
    std::memset(ci, 0, sizeof *ci);
    ci->info.dwSize = ime::kCandInfoSize;
    ci->info.dwCount = 1;
    ci->info.dwOffset[0] = 144;
    ci->list.dwSize = 2844;
    ci->list.dwStyle = 1;
    ci->list.dwCount = static_cast<uint32_t>(count);
    ci->list.dwPageSize = 9;
    for (size_t i = 0; i < count; ++i) {
      std::u16string one(1, kHanja[i]);
      std::string ks = Session::Ks(one);
      std::memcpy(ci->slots + i * ime::kCandSlotSize, ks.data(), ks.size());
      ci->list.dwOffset[i] = static_cast<uint32_t>(540 + i * ime::kCandSlotSize);
      out->push_back(one);
    }
    // The first candidate stands converted in the composition.
    cs->compStr[0] = static_cast<uint8_t>(kHanja[0]);
    cs->compStr[1] = static_cast<uint8_t>(kHanja[0] >> 8);
    cs->compAttr[0] = 1;
    cs->h.dwCursorPos = 0;
  }
  if (cs) ImmUnlockIMCC(ic->hCompStr);
  if (ci) ImmUnlockIMCC(ic->hCandInfo);
  ImmUnlockIMC(himc);
}

DWORD Selection(HIMC himc, DWORD* count = nullptr) {
  DWORD sel = 0xFFFFFFFF;
  INPUTCONTEXT* ic = ImmLockIMC(himc);
  if (!ic) return sel;
  if (auto* ci = static_cast<ime::ImeCandInfo*>(ImmLockIMCC(ic->hCandInfo))) {
    sel = ci->list.dwSelection;
    if (count) *count = ci->list.dwCount;
    ImmUnlockIMCC(ic->hCandInfo);
  }
  ImmUnlockIMC(himc);
  return sel;
}

// A left button press on a screen point of a window, as a disabled popup
// receives it.
void Press(HWND w, POINT screen) {
  SetCursorPos(screen.x, screen.y);
  SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
}

void CompositionWindow(Session& s) {
  // 한국어: three syllables composing (Mikaku 20).
  s.Type("gksrnrdj");
  imedrv::CompRecord rec = s.Comp();
  check_eq(rec.hdr().dwCompStrLen, 3, "three syllables composing");
  s.CheckMainSize("one line", 1);
  HWND main = MainComp();
  if (!main) return;
  SendMessageW(g_ui, WM_IME_SETCONTEXT, TRUE, 0);
  check(!IsWindowVisible(main), "WM_IME_SETCONTEXT without the show flags hides the composition window");
  SendMessageW(g_ui, WM_IME_SETCONTEXT, TRUE, ISC_SHOWUIALL);
  check(IsWindowVisible(main), "WM_IME_SETCONTEXT with ISC_SHOWUICOMPOSITIONWINDOW shows it again");
  Shot shot = Capture(main, L"composition");
  RECT client = ClientInShot(main);
  const COLORREF caption = GetSysColor(COLOR_ACTIVECAPTION);
  check(Near(shot.at(client.left + 20, client.top + 4), caption, 8), "caption strip in COLOR_ACTIVECAPTION (0x%06lx)",
        static_cast<unsigned long>(shot.at(client.left + 20, client.top + 4)));
  const int cw = client.right - client.left, ch = client.bottom - client.top;
  check(shot.at(client.left + cw - 30, client.top + ch - 6) == RGB(255, 255, 255), "white text area (0x%06lx)",
        static_cast<unsigned long>(shot.at(client.left + cw - 30, client.top + ch - 6)));
  // Close box at (client right - 7, 2): a black cross on light grey.
  check(shot.at(client.left + cw - 7, client.top + 2) == RGB(0, 0, 0), "close box cross");
  check(shot.at(client.left + cw - 6, client.top + 2) == RGB(192, 192, 192), "close box ground");
  // Input text: yellow on black, from (5, 13).
  const std::string ks = Session::Ks(u"\xD55C\xAD6D\xC5B4");
  const SIZE ext = s.Extent(s.display, ks);
  RECT text{client.left + 5, client.top + 13, client.left + 5 + ext.cx, client.top + 13 + s.lineHeight};
  const int area = (text.right - text.left) * (text.bottom - text.top);
  const int black = shot.Count(text, [](COLORREF c) { return c == RGB(0, 0, 0); });
  const int yellow = shot.Count(text, [](COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) < 60; });
  check(black > area / 3, "input background black (%d of %d pixels)", black, area);
  check(yellow > 10, "input text yellow (%d pixels)", yellow);

  // Left: the cursor stands before 어; its mark is a block in the input
  // text colour (black on yellow).
  imedrv::CompRecord before = s.Comp();
  s.Key(VK_LEFT);
  imedrv::CompRecord afterKey = s.Comp();
  check_eq(afterKey.hdr().dwCursorPos, 2, "cursor moved before the third syllable");
  shot = Capture(main, L"composition-cursor");
  const int x2 = s.Extent(s.display, ks.substr(0, 4)).cx;
  RECT mark{client.left + 5 + x2, client.top + 13, client.left + 5 + ext.cx, client.top + 13 + s.lineHeight};
  const int markArea = (mark.right - mark.left) * (mark.bottom - mark.top);
  const int markYellow = shot.Count(mark, [](COLORREF c) { return c == RGB(255, 255, 0); });
  check(markYellow > markArea / 3, "cursor mark: yellow block (%d of %d pixels)", markYellow, markArea);
  RECT first{client.left + 5, client.top + 13, client.left + 5 + x2, client.top + 13 + s.lineHeight};
  const int firstArea = (first.right - first.left) * (first.bottom - first.top);
  const int firstBlack = shot.Count(first, [](COLORREF c) { return c == RGB(0, 0, 0); });
  check(firstBlack > firstArea / 2, "before the cursor still black ground (%d of %d pixels)", firstBlack, firstArea);
  imedrv::CompRecord afterPaint = s.Comp();
  check(afterPaint.bytes == afterKey.bytes, "painting leaves the composition record (attributes) unchanged");
  (void)before;

  // A composition wider than 258 pixels wraps and the window grows.
  s.Key(VK_ESCAPE);
  check(!IsWindowVisible(main), "Esc: the composition window hides");
  s.Type("rkrkrkrkrkrkrkrkrkrkrkrkrkrk");  // 14 x 가
  rec = s.Comp();
  const std::string ks14 = Session::Ks(rec.wide(rec.hdr().dwCompStrOffset, rec.hdr().dwCompStrLen));
  const int lines = s.ExpectedLines(ks14);
  note("14 syllables are %ld pixels wide: %d lines", static_cast<long>(s.Extent(s.display, ks14).cx), lines);
  check(lines == 2, "the test text needs two lines");
  s.CheckMainSize("two lines", lines);
  Capture(main, L"composition-wrapped");

  // The close box: a press released elsewhere does nothing; a click cancels.
  RECT wr = WindowRect(main);
  POINT box{0, 0};
  ClientToScreen(main, &box);
  RECT cr{};
  GetClientRect(main, &cr);
  box.x += cr.right - 5;
  box.y += 4;
  Press(main, box);
  SetCursorPos(wr.left + 40, wr.top + 30);
  SendMessageW(main, WM_MOUSEMOVE, 0, 0);
  SendMessageW(main, WM_LBUTTONUP, 0, 0);
  Pump(60);
  check(s.Comp().hdr().dwCompStrLen == 14, "close box pressed and released elsewhere: composition kept");
  Press(main, box);
  SendMessageW(main, WM_LBUTTONUP, 0, 0);
  wtest::WaitUntil([&] { return s.Comp().hdr().dwCompStrLen == 0 && !IsWindowVisible(main); });
  check_eq(s.Comp().hdr().dwCompStrLen, 0, "close box click cancels the composition");
  check(!IsWindowVisible(main), "and the window hides");
}

void CaretWindows(Session& s) {
  // The application's composition form at (20, 30), a Japanese composition font.
  INPUTCONTEXT* ic = ImmLockIMC(s.himc);
  if (!ic) return;
  ic->cfCompForm.dwStyle = CFS_POINT;
  ic->cfCompForm.ptCurrentPos = {20, 30};
  LOGFONTW lf{};
  lf.lfHeight = -20;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lstrcpyW(lf.lfFaceName, L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF");  // ＭＳ ゴシック
  ic->lfFont.W = lf;
  const LOGFONTW kept = ic->lfFont.W;
  ImmUnlockIMC(s.himc);
  SendMessageW(g_ui, WM_IME_NOTIFY, IMN_SETCOMPOSITIONFONT, 0);
  SendMessageW(g_ui, WM_IME_NOTIFY, IMN_SETCOMPOSITIONWINDOW, 0);
  ic = ImmLockIMC(s.himc);
  check(std::memcmp(&ic->lfFont.W, &kept, sizeof kept) == 0, "IMN_SETCOMPOSITIONFONT leaves the context's LOGFONTW as it was");
  ImmUnlockIMC(s.himc);

  s.Type("gksrnr");  // 한국
  check(!IsWindowVisible(MainComp()), "caret form: the framed window stays hidden");
  std::vector<HWND> shown = ShownCaretWindows();
  if (!check(shown.size() == 1, "one caret window shown (got %u)", static_cast<unsigned>(shown.size()))) return;
  // The composition font: the Korean face replaces the Japanese one, 20 pixels.
  LOGFONTW kf{};
  kf.lfHeight = -20;
  kf.lfCharSet = HANGUL_CHARSET;
  lstrcpynW(kf.lfFaceName, s.face.c_str(), LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&kf);
  const std::string ks = Session::Ks(u"\xD55C\xAD6D");
  const SIZE ext = s.Extent(font, ks);
  POINT at{20, 30};
  ClientToScreen(s.app, &at);
  RECT r = WindowRect(shown[0]);
  check(r.left == at.x && r.top == at.y, "caret window at the form's position (%ld,%ld), expected (%ld,%ld)", r.left,
        r.top, at.x, at.y);
  check(r.right - r.left == ext.cx && r.bottom - r.top == ext.cy, "caret window size %ldx%ld, expected %ldx%ld",
        r.right - r.left, r.bottom - r.top, ext.cx, ext.cy);
  Shot shot = Capture(shown[0], L"caret");
  const int black = shot.Count(RECT{0, 0, shot.w, shot.h}, [](COLORREF c) { return c == RGB(0, 0, 0); });
  check(black > shot.w * shot.h / 3, "caret window: black input background (%d pixels)", black);

  // An area whose right edge leaves room for one syllable: two windows.
  const SIZE one = s.Extent(font, ks.substr(0, 2));
  ic = ImmLockIMC(s.himc);
  ic->cfCompForm.dwStyle = CFS_RECT;
  ic->cfCompForm.rcArea = {10, 30, 20 + one.cx + one.cx / 2, 200};
  ImmUnlockIMC(s.himc);
  SendMessageW(g_ui, WM_IME_NOTIFY, IMN_SETCOMPOSITIONWINDOW, 0);
  shown = ShownCaretWindows();
  if (check(shown.size() == 2, "narrow area: two caret windows (got %u)", static_cast<unsigned>(shown.size()))) {
    RECT a = WindowRect(shown[0]), b = WindowRect(shown[1]);
    if (a.top > b.top) std::swap(a, b);
    POINT left{10, 30};
    ClientToScreen(s.app, &left);
    check(a.right - a.left == one.cx, "first window holds one syllable");
    check(b.left == left.x && b.top == a.top + one.cy, "second window at the area's left, one line lower");
  }
  s.Key(VK_ESCAPE);
  check(ShownCaretWindows().empty(), "Esc hides the caret windows");

  // Vertical writing: a font of escapement 2700 gives a column.
  ic = ImmLockIMC(s.himc);
  ic->cfCompForm.dwStyle = CFS_POINT;
  ic->lfFont.W.lfEscapement = 2700;
  ImmUnlockIMC(s.himc);
  SendMessageW(g_ui, WM_IME_NOTIFY, IMN_SETCOMPOSITIONFONT, 0);
  s.Type("gksrnr");
  shown = ShownCaretWindows();
  if (check(shown.size() == 1, "vertical: one caret window")) {
    RECT v = WindowRect(shown[0]);
    check(v.right - v.left == ext.cy && v.bottom - v.top == ext.cx, "vertical: a column %ldx%ld, expected %ldx%ld",
          v.right - v.left, v.bottom - v.top, ext.cy, ext.cx);
    Capture(shown[0], L"caret-vertical");
  }
  s.Key(VK_ESCAPE);
  ic = ImmLockIMC(s.himc);
  ic->lfFont.W.lfEscapement = 0;
  ImmUnlockIMC(s.himc);
  SendMessageW(g_ui, WM_IME_NOTIFY, IMN_SETCOMPOSITIONFONT, 0);
  DeleteObject(font);

  // Back to the default form and font.
  ic = ImmLockIMC(s.himc);
  ic->cfCompForm.dwStyle = CFS_DEFAULT;
  ImmUnlockIMC(s.himc);
  SendMessageW(g_ui, WM_IME_NOTIFY, IMN_SETCOMPOSITIONWINDOW, 0);

  COMPOSITIONFORM cf{};
  check_eq(SendMessageW(g_ui, WM_IME_CONTROL, IMC_GETCOMPOSITIONWINDOW, reinterpret_cast<LPARAM>(&cf)), 0,
           "IMC_GETCOMPOSITIONWINDOW answers 0");
  check_eq(cf.dwStyle, CFS_DEFAULT, "IMC_GETCOMPOSITIONWINDOW copies the context's form");
}

void CandidateWindow(Session& s) {
  // A jamo has no hanja, so the list is filled here with known words, whose
  // sizes the checks below compute; real conversions are tested elsewhere.
  s.Type("z");  // ㅋ
  BYTE state[256]{};
  imedrv::KeyResult r = s.ime.ToAscii(s.himc, VK_HANJA, 0, state);
  s.Deliver(r);
  bool converted = false;
  for (const TRANSMSG& m : r.messages)
    if (m.message == WM_IME_NOTIFY && m.wParam == IMN_OPENCANDIDATE) converted = true;
  if (!converted) {
    r = s.ime.ToAscii(s.himc, VK_HANJA, 0, state);
    s.Deliver(r);
    for (const TRANSMSG& m : r.messages)
      if (m.message == WM_IME_NOTIFY && m.wParam == IMN_OPENCANDIDATE) converted = true;
  }
  std::vector<std::u16string> cands;
  if (!converted) {
    note("no hanja for the reading: the candidate list is filled as a conversion fills it");
    FillCandidates(s.himc, 20, &cands);
    SendMessageW(g_ui, WM_IME_COMPOSITION, 0, GCS_COMPSTR | GCS_COMPATTR);
    SendMessageW(g_ui, WM_IME_NOTIFY, IMN_OPENCANDIDATE, 1);
  }
  wtest::WaitUntil([] { return Cand() && IsWindowVisible(Cand()); });
  HWND cand = Cand();
  if (!check(cand && IsWindowVisible(cand), "candidate window shown")) return;
  DWORD count = 0;
  Selection(s.himc, &count);
  note("%lu candidates", static_cast<unsigned long>(count));

  // Size: widest candidate plus "8.", nine rows plus the counter, scroll bar.
  const int cx = GetSystemMetrics(SM_CXEDGE), cy = GetSystemMetrics(SM_CYEDGE), vs = GetSystemMetrics(SM_CXVSCROLL);
  const SIZE label = s.Extent(s.display, "8.");
  int w = 0, h = 0;
  for (size_t i = 0; i < cands.size(); ++i) {
    SIZE e = s.Extent(s.display, Session::Ks(cands[i]));
    if (e.cx > w) w = e.cx;
    if (i < 9) h += e.cy;
  }
  h += label.cy;
  w += label.cx + vs + 2 * cx;
  RECT cr = WindowRect(cand);
  if (!cands.empty()) {
    check_eq(cr.right - cr.left, w + 9 * cx, "candidate window width w + 9 x SM_CXEDGE");
    check_eq(cr.bottom - cr.top, h + 8 * cy, "candidate window height h + 8 x SM_CYEDGE");
  }
  // Placement: excluded area of the framed window, which stands at the
  // work area's bottom, so the list goes above it.
  HWND main = MainComp();
  if (main) {
    RECT mr = WindowRect(main);
    const int top = mr.top + 13;
    const int expectY = top - 2 * cy - (cr.bottom - cr.top);
    check(cr.left == mr.left + 5 && cr.top == expectY, "candidate window above the composition at (%ld,%ld), expected (%ld,%d)",
          cr.left, cr.top, mr.left + 5, expectY);
  }
  HWND sb = FindWindowExW(cand, nullptr, L"scrollbar", nullptr);
  if (check(sb && IsWindowVisible(sb), "scroll bar shown for more than a page")) {
    int lo = -1, hi = -1;
    GetScrollRange(sb, SB_CTL, &lo, &hi);
    check(lo == 0 && hi == static_cast<int>(count) - 1, "scroll range 0-%d (got %d-%d)", count - 1, lo, hi);
  }
  Shot shot = Capture(cand, L"candidates");
  RECT client = ClientInShot(cand);
  const int lh = label.cy;
  RECT row0{client.left + 3 * cx + 2, client.top + 2 * cy + 1, client.left + 3 * cx + 30, client.top + 2 * cy + lh - 1};
  const COLORREF hl = GetSysColor(COLOR_HIGHLIGHT);
  const int row0hl = shot.Count(row0, [hl](COLORREF c) { return c == hl; });
  check(row0hl > (row0.right - row0.left) * (row0.bottom - row0.top) / 3, "selected row in COLOR_HIGHLIGHT (%d pixels)", row0hl);
  RECT row1 = row0;
  OffsetRect(&row1, 0, lh);
  const int row1grey = shot.Count(row1, [](COLORREF c) { return c == RGB(192, 192, 192); });
  check(row1grey > (row1.right - row1.left) * (row1.bottom - row1.top) / 3, "other rows light grey (%d pixels)", row1grey);
  RECT counter{client.right - 3 * cx - 40, client.bottom - cy - lh - 2, client.right - 3 * cx, client.bottom - cy};
  check(shot.Count(counter, [](COLORREF c) { return c == RGB(0, 0, 0); }) > 3, "counter written in black");

  // Scroll bar: one line down.
  SendMessageW(cand, WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(sb));
  wtest::WaitUntil([&] { return Selection(s.himc) == 1; });
  check_eq(Selection(s.himc), 1, "SB_LINEDOWN selects the next candidate");

  // Mouse: row 3, then row 4 moves; row 4 again at once commits it.
  POINT org{0, 0};
  ClientToScreen(cand, &org);
  auto rowPoint = [&](int row) { return POINT{org.x + 20, org.y + cy + row * lh + lh / 2 + 2}; };
  Press(cand, rowPoint(2));
  wtest::WaitUntil([&] { return Selection(s.himc) == 2; });
  check_eq(Selection(s.himc), 2, "click on row 3 selects candidate 3");
  Sleep(GetDoubleClickTime() + 50);
  Press(cand, rowPoint(3));
  wtest::WaitUntil([&] { return Selection(s.himc) == 3; });
  check_eq(Selection(s.himc), 3, "click on row 4 only moves the selection");
  check(s.Comp().hdr().dwCompStrLen == 1, "no commit yet");
  Press(cand, rowPoint(3));
  wtest::WaitUntil([&] { return s.Comp().hdr().dwCompStrLen == 0 && !IsWindowVisible(cand); });
  imedrv::CompRecord rec = s.Comp();
  std::u16string result = rec.wide(rec.hdr().dwResultStrOffset, rec.hdr().dwResultStrLen);
  if (!cands.empty())
    check(result == cands[3], "second click on row 4 commits candidate 4 (%s)", imedrv::Hex(result).c_str());
  check_eq(rec.hdr().dwCompStrLen, 0, "composition empty after the commit");
  check(!IsWindowVisible(cand), "candidate window hidden after the commit");
}

void GmEdition(Session& s) {
  s.Type("rk");
  HWND main = MainComp();
  if (!check(main && IsWindowVisible(main), "GM edition: framed composition window shown")) return;
  s.CheckMainSize("GM edition", 1);
  Shot shot = Capture(main, L"composition-gm");
  RECT client = ClientInShot(main);
  RECT text{client.left + 5, client.top + 13, client.left + 15, client.top + 13 + s.lineHeight};
  check(shot.Count(text, [](COLORREF c) { return c == RGB(0, 0, 0); }) > 20, "GM edition: black input background");
  s.Key(VK_ESCAPE);

  // The ANSI interface marks the keys from the reading table: after a lone
  // ㄱ the consonant keys cannot continue it, the vowel keys can.
  s.Type("r");
  const std::vector<HWND> bars = ThreadWindows(L"warbenv3Status", true);
  if (!check(bars.size() == 1, "GM edition: the toolbar shows")) return;
  POINT keyboardButton{53 + 2 * 22 + 11, 18};  // function 4 at position 2
  ClientToScreen(bars[0], &keyboardButton);
  Press(bars[0], keyboardButton);
  SendMessageW(bars[0], WM_LBUTTONUP, 0, 0);
  wtest::WaitUntil([] { return !ThreadWindows(L"warbenv3Guide", true).empty(); });
  const std::vector<HWND> guides = ThreadWindows(L"warbenv3Guide", true);
  if (check(guides.size() == 1, "GM edition: the keyboard button shows the on-screen keyboard")) {
    shot = Capture(guides[0], L"guide-gm");
    client = ClientInShot(guides[0]);
    const COLORREF q = shot.at(client.left + 14 + 5, client.top + 49 + 20);
    const COLORREF y = shot.at(client.left + 14 + 5 * 33 + 5, client.top + 49 + 20);
    check(q == RGB(168, 168, 168), "GM edition: after U+3131 the q key is marked (0x%06lx)", static_cast<unsigned long>(q));
    check(y == RGB(250, 250, 250), "GM edition: and the y key is not (0x%06lx)", static_cast<unsigned long>(y));
    // t types ㅅ, which makes ㄳ, so only its Shift half (ㅆ) is marked.
    const COLORREF tUpper = shot.at(client.left + 146 + 13, client.top + 49 + 4);
    const COLORREF tLower = shot.at(client.left + 146 + 5, client.top + 49 + 20);
    check(tUpper == RGB(168, 168, 168) && tLower == RGB(250, 250, 250),
          "GM edition: the t key is marked for Shift only (0x%06lx above, 0x%06lx below)",
          static_cast<unsigned long>(tUpper), static_cast<unsigned long>(tLower));
  }
  s.Key(VK_ESCAPE);
}

const wchar_t* Prefix(bool gm) { return gm ? L"WA" : L"ZO"; }

// Fresh settings: the KS edition keeps up to 20 unconfirmed syllables; the
// status toolbar's position is set; the dictionary, when given, becomes the
// edition's DicPathName.
bool WriteSettings(bool gm, const char* dictionary) {
  imeinst::ResetImeSettings(Prefix(gm));
  if (dictionary && !imedrv::SetDictionaryPath(Prefix(gm), dictionary)) return false;
  bool ok = imeinst::SetImeValue(Prefix(gm), L"WindowPos", L"Xpos", L"100") &&
            imeinst::SetImeValue(Prefix(gm), L"WindowPos", L"Ypos", L"200");
  if (!gm) ok = ok && imeinst::SetImeValue(Prefix(gm), L"Modes", L"Mikaku", L"20");
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 4) {
    std::printf("usage: ime_windows_test <ks|gm> <ime path> <screenshot folder> [dictionary]\n");
    return 2;
  }
  const bool gm = std::strcmp(argv[1], "gm") == 0;
  wtest::report().group = std::string(sizeof(void*) == 8 ? "win64 windows " : "win32 windows ") + argv[1];
  g_shots = imedrv::WidenArg(argv[3]);
  CreateDirectoryW(g_shots.c_str(), nullptr);
  check(WriteSettings(gm, argc > 4 ? argv[4] : nullptr), "settings written");

  WNDCLASSW wc{};
  wc.lpfnWndProc = AppProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"ImeWindowsTest";
  RegisterClassW(&wc);
  Session s;
  s.gm = gm;
  s.app = CreateWindowExW(0, wc.lpszClassName, L"ime windows test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150, 640,
                          360, nullptr, nullptr, wc.hInstance, nullptr);
  if (!check(s.app != nullptr, "application window created")) return wtest::finish();
  Pump(100);

  // Load: the settings and the font check come with the first call
  // (ImeInquire); message boxes are answered and counted.
  imedrv::BoxWatcher boxes;
  boxes.Start();
  const bool loaded = s.ime.Load(imedrv::WidenArg(argv[2]).c_str());
  boxes.Stop();
  if (!check(loaded, "input method %s loaded with its exports", argv[2])) return wtest::finish();
  const std::vector<std::u16string> texts = boxes.Texts();
  if (gm) {
    check(texts.size() == 1 && texts[0] == u"\x97D3\x56FD\x8A9E\x30D5\x30A9\x30F3\x30C8\x304C\x30A4\x30F3\x30B9\x30C8"
                                          u"\x30FC\x30EB\x3055\x308C\x3066\x3044\x307E\x305B\x3093",
          "GM edition without GM fonts: one warning box (%u shown)", static_cast<unsigned>(texts.size()));
  } else {
    check(texts.empty(), "KS edition with Korean fonts: no message box (%u shown)", static_cast<unsigned>(texts.size()));
  }

  s.himc = s.ime.NewContext(s.app);
  if (!check(s.himc != nullptr, "input context")) return wtest::finish();
  if (INPUTCONTEXT* ic = ImmLockIMC(s.himc)) {
    s.face = gm ? std::wstring() : std::wstring(ic->lfFont.W.lfFaceName);
    if (gm) {
      wchar_t w[LF_FACESIZE]{};
      MultiByteToWideChar(932, 0, ic->lfFont.A.lfFaceName, -1, w, LF_FACESIZE);
      s.face = w;
    }
    ImmUnlockIMC(s.himc);
  }
  note("current Korean face: %s", imedrv::Utf8(std::u16string(s.face.begin(), s.face.end())).c_str());
  s.MakeDisplayFont();

  // The UI window of the input method's class, as the input method manager
  // makes it, with the context in its window long 0.
  g_ui = CreateWindowExA(0, "warbenv3UI", "", WS_POPUP | WS_DISABLED, 0, 0, 0, 0, nullptr, nullptr, s.ime.module,
                         nullptr);
  if (!check(g_ui != nullptr, "UI window of class warbenv3UI created (error %lu)", GetLastError())) return wtest::finish();
  check(GetWindowLongPtrW(g_ui, sizeof(LONG_PTR)) != 0, "UI window holds its private block");
  SetWindowLongPtrW(g_ui, 0, reinterpret_cast<LONG_PTR>(s.himc));
  SendMessageW(g_ui, WM_IME_SELECT, TRUE, 0);
  SendMessageW(g_ui, WM_IME_SETCONTEXT, TRUE, ISC_SHOWUIALL);
  check(ImmGetOpenStatus(s.himc) != FALSE, "WM_IME_SELECT opens the context");
  check(ThreadWindows(L"warbenv3CompStr", true).empty() && !Cand(), "nothing shown before typing");
  check_eq(static_cast<uint32_t>(SendMessageW(g_ui, WM_IME_CONTROL, IMC_GETSTATUSWINDOWPOS, 0)), MAKELONG(100, 200),
           "IMC_GETSTATUSWINDOWPOS: x 100 in the low word, y 200 in the high word");

  if (gm) {
    GmEdition(s);
  } else {
    CompositionWindow(s);
    CaretWindows(s);
    CandidateWindow(s);
  }
  check(g_forwarded > 0, "messages reached the application window and went on to the UI window");

  DestroyWindow(g_ui);
  check(ThreadWindows(L"warbenv3CompStr", false).empty() && ThreadWindows(L"warbenv3Cand", false).empty(),
        "destroying the UI window destroys its windows");
  g_ui = nullptr;
  s.ime.DeleteContext(s.himc);
  const std::wstring windowPos = imeinst::EditionKey(Prefix(gm), L"WindowPos");
  imeinst::SetImeValue(Prefix(gm), L"WindowPos", L"Xpos", L"7");
  s.ime.Unload();
  check(imeinst::GetString(HKEY_CURRENT_USER, windowPos, L"Xpos") == L"100" &&
            imeinst::GetString(HKEY_CURRENT_USER, windowPos, L"Ypos") == L"200",
        "unloading writes the status position back");
  DestroyWindow(s.app);
  return wtest::finish();
}

// The composition windows: the framed, movable window with its close box
// (default composition form, or IndirectMode), and the ten borderless caret
// windows that continue the text at the application's composition form.
#include <cstring>

#include "comp_paint.h"
#include "ime_ui.h"

namespace ime {

// Creates the windows that are missing, leaving the others as they are.
void EnsureCompWindows(UiPrivate& p);

namespace {

constexpr int kCloseBoxRight = 7;  // the close box spans client right - 7 .. right - 2
constexpr int kTextX = 5, kTextY = 13;

// Drag of the framed window (one drag at a time in a process).
WindowDrag g_drag;

int Caret(int i, int field) { return kSlotCaret + 6 * i + field; }

// The composition text of the context as painted (a copy).
PaintText ContextText(LPINPUTCONTEXT ic) {
  LockedBlocks b(nullptr, ic);
  if (!Valid(b.blocks)) return {};
  return PaintTextOf(*b.blocks.comp, Module().settings.Unicode(), codeconv::PlatformCodePages());
}

HFONT WindowFont(HWND hwnd) {
  HFONT f = reinterpret_cast<HFONT>(GetWindowLongPtrA(hwnd, kLongCompFont));
  return f ? f : Module().displayFont;
}

bool IsMainWindow(HWND hwnd) { return GetWindowLongPtrA(hwnd, kLongBitmap) != 0; }

HWND CreateCompWindow(HWND ui, bool main, HFONT font) {
  ImeModule& m = Module();
  HWND w = CreateWindowExA(main ? WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE : 0, kCompClassName, "",
                           main ? WS_POPUP | WS_DISABLED | WS_DLGFRAME : WS_POPUP | WS_DISABLED, 0, 0, 1, 1, ui,
                           nullptr, m.instance, nullptr);
  if (!w) return nullptr;
  SetWindowLongPtrA(w, kLongUiWindow, reinterpret_cast<LONG_PTR>(ui));
  if (main) {
    HBITMAP bmp = LoadBitmapA(m.instance, MAKEINTRESOURCEA(111));
    SetWindowLongPtrA(w, kLongBitmap, reinterpret_cast<LONG_PTR>(bmp));
  } else {
    SetWindowLongPtrA(w, kLongCompFont, reinterpret_cast<LONG_PTR>(font));
  }
  return w;
}

void ShowNoActivate(HWND w, const Rect& r) {
  SetWindowPos(w, HWND_TOP, r.left, r.top, r.Width(), r.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(w, nullptr, TRUE);
}

void HideCaretWindows(UiPrivate& p) {
  for (int i = 0; i < kCaretWindows; ++i) {
    HWND w = p.Window(Caret(i, 0));
    if (w && IsWindow(w)) ShowWindow(w, SW_HIDE);
    for (int f = 1; f < 6; ++f) p[Caret(i, f)] = 0;
  }
}

void HideMain(UiPrivate& p) {
  HWND w = p.Window(kSlotComp);
  if (w && IsWindow(w)) ShowWindow(w, SW_HIDE);
  p[kSlotCompShown] = 0;
}

// Caret windows at the application's composition form.
void UpdateCaretWindows(UiPrivate& p, LPINPUTCONTEXT ic, const PaintText& text) {
  if (text.bytes.empty()) {
    HideCompWindows(p);
    return;
  }
  EnsureCompWindows(p);
  HideMain(p);
  RECT area;
  if (ic->cfCompForm.dwStyle & CFS_RECT) {
    area = ic->cfCompForm.rcArea;
  } else {
    GetClientRect(ic->hWnd, &area);
  }
  POINT pos = ic->cfCompForm.ptCurrentPos;
  MapWindowPoints(ic->hWnd, nullptr, reinterpret_cast<POINT*>(&area), 2);
  ClientToScreen(ic->hWnd, &pos);
  HFONT font = SlotHandle<HFONT>(p[kSlotCompFont]);
  MeasureDc dc(font ? font : Module().displayFont);
  GdiMeasurer measure(dc.dc());
  const CaretLayout layout = SliceCaretWindows(text.bytes, EditionLeadTest(), measure, {pos.x, pos.y}, ToRect(area),
                                               p[kSlotVertical] != 0, measure.LineHeight());
  for (int i = 0; i < kCaretWindows; ++i) {
    HWND w = p.Window(Caret(i, 0));
    const CaretWindowRecord& r = layout[static_cast<size_t>(i)];
    if (!w || !IsWindow(w)) continue;
    if (!r.shown) {
      ShowWindow(w, SW_HIDE);
      for (int f = 1; f < 6; ++f) p[Caret(i, f)] = 0;
      continue;
    }
    SetWindowLongPtrA(w, kLongSliceOffset, static_cast<LONG_PTR>(r.slice.offset));
    SetWindowLongPtrA(w, kLongSliceLength, static_cast<LONG_PTR>(r.slice.length));
    ShowNoActivate(w, r.rect);
    p[Caret(i, 1)] = 1;
    p[Caret(i, 2)] = static_cast<uint32_t>(r.rect.left);
    p[Caret(i, 3)] = static_cast<uint32_t>(r.rect.top);
    p[Caret(i, 4)] = static_cast<uint32_t>(r.rect.Width());
    p[Caret(i, 5)] = static_cast<uint32_t>(r.rect.Height());
  }
}

void UpdateMainWindow(UiPrivate& p, const PaintText& text) {
  HideCaretWindows(p);
  EnsureCompWindows(p);
  HWND w = p.Window(kSlotComp);
  if (!w || !IsWindow(w)) return;
  MeasureDc dc(Module().displayFont);
  GdiMeasurer measure(dc.dc());
  const size_t lines = WrapComposition(text.bytes, EditionLeadTest(), measure).size();
  const EdgeMetrics e = Edges();
  const Size size = MainCompWindowSize(static_cast<int>(lines), measure.LineHeight(), e.cxEdge, e.cyEdge);
  const Rect work = WorkArea();
  Point pos{p.Int(kSlotCompX), p.Int(kSlotCompY)};
  if (pos.x == -1 || pos.y == -1) pos = DefaultMainCompPosition(work);
  pos = ClampToWorkArea(pos, size, work);
  p[kSlotCompX] = static_cast<uint32_t>(pos.x);
  p[kSlotCompY] = static_cast<uint32_t>(pos.y);
  const Rect r{pos.x, pos.y, pos.x + size.cx, pos.y + size.cy};
  if (!text.bytes.empty()) {
    ShowNoActivate(w, r);
    p[kSlotCompShown] = 1;
  } else {
    SetWindowPos(w, nullptr, r.left, r.top, size.cx, size.cy, SWP_NOACTIVATE | SWP_NOZORDER | SWP_HIDEWINDOW);
    p[kSlotCompShown] = 0;
  }
}

// ---- painting -------------------------------------------------------------------

void PaintRuns(HDC dc, const PaintText& t, TextSlice slice, int x, int y, bool vertical) {
  const ImeConfig& cfg = Module().config;
  GdiMeasurer measure(dc);
  SetBkMode(dc, OPAQUE);
  for (const AttributeRun& run : AttributeRuns(t, slice)) {
    const RunColours c = AttributeColours(run.attribute, cfg.inputColour, cfg.convColour);
    if (c.set) {
      SetTextColor(dc, c.text);
      SetBkColor(dc, c.background);
    }
    const char* s = t.bytes.data() + run.offset;
    TextOutA(dc, x, y, s, static_cast<int>(run.length));
    const int advance = measure.Extent(s, run.length).cx;
    if (vertical) {
      y += advance;
    } else {
      x += advance;
    }
  }
}

PaintText MarkedText(HWND hwnd) {
  PaintText t;
  HIMC himc = UiContext(ChildUi(hwnd));
  LPINPUTCONTEXT ic = himc ? ImmLockIMC(himc) : nullptr;
  if (!ic) return t;
  t = ContextText(ic);
  ImmUnlockIMC(himc);
  MarkCursor(t, EditionLeadTest());
  return t;
}

void PaintMain(HWND hwnd, HDC dc) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  RECT strip{0, 0, rc.right, 9};
  FillRect(dc, &strip, GetSysColorBrush(COLOR_ACTIVECAPTION));
  RECT body{0, 9, rc.right, rc.bottom};
  FillRect(dc, &body, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawEdge(dc, &body, BDR_SUNKENINNER, BF_RECT);
  if (HBITMAP bmp = reinterpret_cast<HBITMAP>(GetWindowLongPtrA(hwnd, kLongBitmap))) {
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bmp);
    const bool pressed = GetWindowLongPtrA(hwnd, kLongPressed) == 1;
    BitBlt(dc, rc.right - kCloseBoxRight, 2, 5, 5, mem, pressed ? 5 : 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
  }
  const PaintText t = MarkedText(hwnd);
  HGDIOBJ oldFont = SelectObject(dc, WindowFont(hwnd));
  GdiMeasurer measure(dc);
  const int lh = measure.LineHeight();
  int y = kTextY;
  for (const TextSlice& line : WrapComposition(t.bytes, EditionLeadTest(), measure)) {
    PaintRuns(dc, t, line, kTextX, y, false);
    y += lh;
  }
  SelectObject(dc, oldFont);
}

void PaintCaret(HWND hwnd, HDC dc) {
  const PaintText t = MarkedText(hwnd);
  const TextSlice slice{static_cast<size_t>(GetWindowLongPtrA(hwnd, kLongSliceOffset)),
                        static_cast<size_t>(GetWindowLongPtrA(hwnd, kLongSliceLength))};
  if (slice.offset + slice.length > t.bytes.size()) return;
  HGDIOBJ oldFont = SelectObject(dc, WindowFont(hwnd));
  bool vertical = false;
  if (HWND ui = ChildUi(hwnd)) {
    UiPrivate p(ui);
    vertical = p.ok() && p[kSlotVertical] != 0;
  }
  RECT rc;
  GetClientRect(hwnd, &rc);
  PaintRuns(dc, t, slice, vertical ? rc.right : 0, 0, vertical);
  SelectObject(dc, oldFont);
}

// ---- mouse on the framed window ------------------------------------------------

bool OverCloseBox(HWND hwnd) {
  POINT pt;
  GetCursorPos(&pt);
  ScreenToClient(hwnd, &pt);
  RECT rc;
  GetClientRect(hwnd, &rc);
  return pt.x >= rc.right - kCloseBoxRight && pt.x < rc.right - 2 && pt.y >= 2 && pt.y < 7;
}

void OnButtonDown(HWND hwnd) {
  SetCapture(hwnd);
  g_drag.Begin(hwnd);
  SetWindowLongPtrA(hwnd, kLongMouseState, 1);
  if (OverCloseBox(hwnd)) {
    SetWindowLongPtrA(hwnd, kLongPressed, 1);
    InvalidateRect(hwnd, nullptr, FALSE);
  }
}

void OnMouseMove(HWND hwnd) {
  const LONG_PTR state = GetWindowLongPtrA(hwnd, kLongMouseState);
  if (state == 0) return;
  const LONG_PTR pressed = GetWindowLongPtrA(hwnd, kLongPressed);
  if (pressed != 0) {
    const LONG_PTR now = OverCloseBox(hwnd) ? 1 : 2;
    if (now != pressed) {
      SetWindowLongPtrA(hwnd, kLongPressed, now);
      InvalidateRect(hwnd, nullptr, FALSE);
    }
    return;
  }
  g_drag.Follow();
  SetWindowLongPtrA(hwnd, kLongMouseState, 2);
}

void OnButtonUp(HWND hwnd) {
  if (GetWindowLongPtrA(hwnd, kLongMouseState) == 0) return;
  ReleaseCapture();
  if (g_drag.Moved()) {
    const RECT r = g_drag.End();
    const Point at = ClampToWorkArea({r.left, r.top}, {r.right - r.left, r.bottom - r.top}, WorkArea());
    SetWindowPos(hwnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (GetWindowLongPtrA(hwnd, kLongPressed) != 0 && OverCloseBox(hwnd) && UiContext(ChildUi(hwnd))) {
    PostMessageA(hwnd, WM_UI_HIDE, 0, 0);
  }
  SetWindowLongPtrA(hwnd, kLongPressed, 0);
  SetWindowLongPtrA(hwnd, kLongMouseState, 0);
  InvalidateRect(hwnd, nullptr, FALSE);
}

}  // namespace

int DisplayLineHeight() {
  MeasureDc dc(Module().displayFont);
  return GdiMeasurer(dc.dc()).LineHeight();
}

bool CompWindowsShown(UiPrivate& p) {
  if (p[kSlotCompShown]) return true;
  for (int i = 0; i < kCaretWindows; ++i)
    if (p[Caret(i, 1)]) return true;
  return false;
}

void EnsureCompWindows(UiPrivate& p) {
  HFONT font = SlotHandle<HFONT>(p[kSlotCompFont]);
  for (int i = 0; i < kCaretWindows; ++i) {
    HWND w = p.Window(Caret(i, 0));
    if (!w || !IsWindow(w)) {
      p[Caret(i, 0)] = HandleSlot(CreateCompWindow(p.ui(), false, font));
      for (int f = 1; f < 6; ++f) p[Caret(i, f)] = 0;
    }
  }
  HWND main = p.Window(kSlotComp);
  if (!main || !IsWindow(main)) {
    p[kSlotComp] = HandleSlot(CreateCompWindow(p.ui(), true, nullptr));
    p[kSlotCompShown] = 0;
  }
}

void CreateCompWindows(UiPrivate& p, LPINPUTCONTEXT ic) {
  EnsureCompWindows(p);
  // While composing in IndirectMode the framed window stays up.
  LockedBlocks b(nullptr, ic);
  if (!(Module().settings.indirectMode && IsComposing(b.blocks))) {
    for (int i = 0; i < kCaretWindows; ++i) {
      if (HWND w = p.Window(Caret(i, 0))) ShowWindow(w, SW_HIDE);
      p[Caret(i, 1)] = 0;
    }
    HideMain(p);
  }
}

void UpdateCompWindows(UiPrivate& p, LPINPUTCONTEXT ic) {
  p[kSlotCompStyle] = ic->cfCompForm.dwStyle;
  const PaintText text = ContextText(ic);
  if (p[kSlotCompStyle] != 0 && !Module().settings.indirectMode) {
    UpdateCaretWindows(p, ic, text);
  } else {
    UpdateMainWindow(p, text);
  }
}

void HideCompWindows(UiPrivate& p) {
  HideMain(p);
  HideCaretWindows(p);
}

// The composition font from the context's LOGFONT, converted to bytes in a
// copy under the Unicode interface (the context's own font is not touched).
void SetCompFont(UiPrivate& p, LPINPUTCONTEXT ic) {
  ImeModule& m = Module();
  LOGFONTA lf{};
  if (m.settings.Unicode()) {
    const LOGFONTW& w = ic->lfFont.W;
    std::memcpy(&lf, &w, offsetof(LOGFONTA, lfFaceName));
    wchar_t face[LF_FACESIZE + 1] = {};
    std::memcpy(face, w.lfFaceName, sizeof w.lfFaceName);
    char bytes[LF_FACESIZE * 2 + 2] = {};
    WideCharToMultiByte(932, 0, face, -1, bytes, sizeof bytes - 1, nullptr, nullptr);
    // At most 31 bytes, never half a character.
    size_t n = 0;
    while (bytes[n] && n < LF_FACESIZE - 1) {
      const size_t step = IsCp932Lead(static_cast<uint8_t>(bytes[n])) ? 2 : 1;
      if (n + step > LF_FACESIZE - 1) break;
      n += step;
    }
    std::memcpy(lf.lfFaceName, bytes, n);
  } else {
    lf = ic->lfFont.A;
    lf.lfFaceName[LF_FACESIZE - 1] = 0;
  }
  bool vertical = false;
  const CompFontChoice corrected = CorrectCompositionFont({lf.lfEscapement, lf.lfCharSet, lf.lfFaceName},
                                                          m.settings.koreanCode, m.config.charset,
                                                          m.config.currentFace, &vertical);
  lf.lfEscapement = corrected.escapement;
  lf.lfCharSet = static_cast<BYTE>(corrected.charset);
  std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
  lstrcpynA(lf.lfFaceName, corrected.face.c_str(), LF_FACESIZE);
  HFONT font = CreateFontIndirectA(&lf);
  HFONT old = SlotHandle<HFONT>(p[kSlotCompFont]);
  p[kSlotCompFont] = HandleSlot(font);
  p[kSlotVertical] = vertical ? 1 : 0;
  for (int i = 0; i < kCaretWindows; ++i) {
    HWND w = p.Window(Caret(i, 0));
    if (w && IsWindow(w)) SetWindowLongPtrA(w, kLongCompFont, reinterpret_cast<LONG_PTR>(font));
  }
  if (old) DeleteObject(old);
}

LRESULT CALLBACK CompStrWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_UI_HIDE: {
      HIMC himc = UiContext(ChildUi(hwnd));
      LPINPUTCONTEXT ic = himc ? ImmLockIMC(himc) : nullptr;
      if (ic) {
        {
          LockedBlocks b(himc, ic);
          Module().engine->CancelComposition(b.blocks);
        }
        ImmUnlockIMC(himc);
      }
      return 0;
    }
    case WM_DESTROY:
      if (HBITMAP bmp = reinterpret_cast<HBITMAP>(GetWindowLongPtrA(hwnd, kLongBitmap))) DeleteObject(bmp);
      SetWindowLongPtrA(hwnd, kLongBitmap, 0);
      return 0;
    case WM_MOVE:
      // The framed window reports its window position (the caret windows
      // follow the application and report nothing).
      if (IsMainWindow(hwnd)) {
        RECT r;
        GetWindowRect(hwnd, &r);
        SendMessageA(ChildUi(hwnd), WM_UI_COMPPOS, 0, MAKELPARAM(r.left, r.top));
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (IsMainWindow(hwnd)) {
        PaintMain(hwnd, dc);
      } else {
        PaintCaret(hwnd, dc);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SETCURSOR:
      if (IsMainWindow(hwnd) && (HIWORD(lParam) == WM_LBUTTONDOWN || HIWORD(lParam) == WM_RBUTTONDOWN)) {
        OnButtonDown(hwnd);
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      if (IsMainWindow(hwnd)) {
        OnMouseMove(hwnd);
        return 0;
      }
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (IsMainWindow(hwnd)) {
        OnButtonUp(hwnd);
        return 0;
      }
      break;
    default:
      break;
  }
  if (IsImeMessage(msg)) return 0;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace ime

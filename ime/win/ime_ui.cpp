// The UI window that the input method manager creates for every
// application window: never visible, it owns the composition, candidate,
// status and guide windows, keeps their positions, answers the IME
// notifications and controls, and re-dispatches deferred IME messages.
#include <cstring>

#include "ime_ui.h"

namespace ime {

const char kUiClassName[] = "warbenv3UI";
const char kCompClassName[] = "warbenv3CompStr";
const char kCandClassName[] = "warbenv3Cand";
const char kStatusClassName[] = "warbenv3Status";
const char kGuideClassName[] = "warbenv3Guide";

// ---- shared pieces -------------------------------------------------------------

UiPrivate::UiPrivate(HWND ui) : ui_(ui), block_(reinterpret_cast<HGLOBAL>(GetWindowLongPtrA(ui, kUiLongPrivate))) {
  if (block_) slots_ = static_cast<uint32_t*>(GlobalLock(block_));
}

UiPrivate::~UiPrivate() {
  if (slots_) GlobalUnlock(block_);
}

Size GdiMeasurer::Extent(const char* text, size_t n) const {
  SIZE s{0, 0};
  GetTextExtentPoint32A(dc_, text, static_cast<int>(n), &s);
  return {static_cast<int>(s.cx), static_cast<int>(s.cy)};
}

int GdiMeasurer::LineHeight() const {
  TEXTMETRICA tm{};
  GetTextMetricsA(dc_, &tm);
  return tm.tmHeight;
}

MeasureDc::MeasureDc(HFONT font) : dc_(CreateCompatibleDC(nullptr)) {
  if (dc_ && font) old_ = SelectObject(dc_, font);
}

MeasureDc::~MeasureDc() {
  if (!dc_) return;
  if (old_) SelectObject(dc_, old_);
  DeleteDC(dc_);
}

EdgeMetrics Edges() {
  return {GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE), GetSystemMetrics(SM_CXVSCROLL)};
}

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

Rect WorkArea() {
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
  return ToRect(r);
}

LeadTest EditionLeadTest() { return CompositionLeadTest(Module().settings.koreanCode); }

void DrawDragFrame(const RECT& r) {
  HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  if (!dc) return;
  const int b = GetSystemMetrics(SM_CXBORDER);
  HGDIOBJ old = SelectObject(dc, GetStockObject(GRAY_BRUSH));
  const int w = r.right - r.left, h = r.bottom - r.top;
  PatBlt(dc, r.left, r.top, w, b, PATINVERT);
  PatBlt(dc, r.left, r.bottom - b, w, b, PATINVERT);
  PatBlt(dc, r.left, r.top + b, b, h - 2 * b, PATINVERT);
  PatBlt(dc, r.right - b, r.top + b, b, h - 2 * b, PATINVERT);
  SelectObject(dc, old);
  DeleteDC(dc);
}

void WindowDrag::Begin(HWND w) {
  GetWindowRect(w, &start_);
  POINT pt;
  GetCursorPos(&pt);
  offset_ = {pt.x - start_.left, pt.y - start_.top};
  frameShown_ = false;
}

RECT WindowDrag::AtCursor() const {
  POINT pt;
  GetCursorPos(&pt);
  const int w = start_.right - start_.left, h = start_.bottom - start_.top;
  return RECT{pt.x - offset_.x, pt.y - offset_.y, pt.x - offset_.x + w, pt.y - offset_.y + h};
}

void WindowDrag::Follow() {
  if (frameShown_) DrawDragFrame(frame_);
  frame_ = AtCursor();
  DrawDragFrame(frame_);
  frameShown_ = true;
}

RECT WindowDrag::End() {
  if (frameShown_) DrawDragFrame(frame_);
  frameShown_ = false;
  return AtCursor();
}

Point CursorInClient(HWND w) {
  POINT pt;
  GetCursorPos(&pt);
  ScreenToClient(w, &pt);
  return {pt.x, pt.y};
}

void ClearHangulKeyState() {
  const ImeModule& m = Module();
  if (m.settings.koreanCode != 1 || !m.facts.windowsNt) return;
  BYTE state[256];
  if (GetKeyboardState(state)) {
    state[VK_HANGUL] = 0;
    SetKeyboardState(state);
  }
}

HWND ContextWindow(LPINPUTCONTEXT ic) {
  if (ic && ic->hWnd && IsWindow(ic->hWnd)) return ic->hWnd;
  return GetFocus();
}

HWND StatusWindowOf(HWND ui) {
  UiPrivate p(ui);
  HWND w = p.ok() ? p.Window(kSlotStatus) : nullptr;
  return w && IsWindow(w) ? w : nullptr;
}

HWND GuideWindowOf(HWND ui) {
  UiPrivate p(ui);
  HWND w = p.ok() ? p.Window(kSlotGuide) : nullptr;
  return w && IsWindow(w) ? w : nullptr;
}

HIMC UiContext(HWND ui) {
  HIMC himc = reinterpret_cast<HIMC>(GetWindowLongPtrA(ui, kUiLongContext));
  if (!himc) return nullptr;
  // Wine's record stays the same for the life of the context, and each failed
  // lock of it costs Wine an allocation: it is tried once.
  static HIMC notAContext = nullptr;
  if (himc != notAContext) {
    if (ImmLockIMC(himc)) {
      ImmUnlockIMC(himc);
      return himc;
    }
    notAContext = himc;
  }
  HWND focus = GetFocus();
  if (!focus) return nullptr;
  HIMC own = ImmGetContext(focus);
  if (own) ImmReleaseContext(focus, own);
  return own;
}

bool IsImeMessage(UINT msg) {
  return msg == WM_IME_STARTCOMPOSITION || msg == WM_IME_ENDCOMPOSITION || msg == WM_IME_COMPOSITION ||
         (msg >= WM_IME_SETCONTEXT && msg <= WM_IME_CHAR);
}

namespace {

// Dialog 125 closes itself at once.
INT_PTR CALLBACK AtokDlgProc(HWND dlg, UINT msg, WPARAM, LPARAM) {
  if (msg == WM_INITDIALOG) {
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    return TRUE;
  }
  if (msg == WM_COMMAND) {
    EndDialog(dlg, IDOK);
    return TRUE;
  }
  return FALSE;
}

void PostClose(uintptr_t& handle) {
  HWND w = reinterpret_cast<HWND>(handle);
  if (w && IsWindow(w)) PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  handle = 0;
}

void DestroySlotWindow(UiPrivate& p, int slot) {
  HWND w = p.Window(slot);
  if (w && IsWindow(w)) DestroyWindow(w);
  p[slot] = 0;
}

}  // namespace

void DestroyCandWindow(HWND ui) {
  UiPrivate p(ui);
  if (p.ok()) DestroySlotWindow(p, kSlotCand);
}

namespace {

void OnCreate(HWND ui) {
  ImeModule& m = Module();
  m.uiWindow = ui;
  PostClose(m.companions.workbench);
  PostClose(m.companions.pad);
  HGLOBAL block = GlobalAlloc(GHND, kUiPrivateSlots * sizeof(uint32_t));
  SetWindowLongPtrA(ui, kUiLongPrivate, reinterpret_cast<LONG_PTR>(block));
  UiPrivate p(ui);
  if (!p.ok()) return;
  for (int s : {kSlotCandX, kSlotCandY, kSlotCompX, kSlotCompY, kSlotGuideX, kSlotGuideY}) p[s] = 0xFFFFFFFFu;
  // Once created, the toolbar shows for the context in use. Windows follows
  // the creation with WM_IME_SETCONTEXT; Wine 8 makes the UI window inside
  // ImmSetOpenStatus and sends it nothing of the kind, nor on a change of
  // keyboard layout.
  PostMessageA(ui, WM_UI_REFRESH, 0, 0);
}

void OnDestroy(HWND ui) {
  ImeModule& m = Module();
  if (m.uiWindow == ui) m.uiWindow = nullptr;
  {
    UiPrivate p(ui);
    if (p.ok()) {
      DestroySlotWindow(p, kSlotStatus);
      DestroySlotWindow(p, kSlotCand);
      DestroySlotWindow(p, kSlotComp);
      for (int i = 0; i < kCaretWindows; ++i) DestroySlotWindow(p, kSlotCaret + 6 * i);
      DestroySlotWindow(p, kSlotGuide);
      if (HFONT f = SlotHandle<HFONT>(p[kSlotCompFont])) DeleteObject(f);
      p[kSlotCompFont] = 0;
    }
  }
  if (HGLOBAL block = reinterpret_cast<HGLOBAL>(GetWindowLongPtrA(ui, kUiLongPrivate))) GlobalFree(block);
  SetWindowLongPtrA(ui, kUiLongPrivate, 0);
  PostClose(m.companions.workbench);
  PostClose(m.companions.pad);
  PostClose(m.companions.lookup);
}

// The level of the context's guideline. Where the input method manager does
// not answer ImmGetGuideLine (Wine 8 returns 0 for every request), the
// context's own guideline block is read.
DWORD GuidelineLevel(HIMC himc, LPINPUTCONTEXT ic) {
  if (const DWORD level = ImmGetGuideLineA(himc, GGL_LEVEL, nullptr, 0)) return level;
  if (!ic->hGuideLine || ImmGetIMCCSize(ic->hGuideLine) < sizeof(GUIDELINE)) return 0;
  const auto* g = static_cast<const GUIDELINE*>(ImmLockIMCC(ic->hGuideLine));
  if (!g) return 0;
  const DWORD level = g->dwSize >= sizeof(GUIDELINE) ? g->dwLevel : 0;
  ImmUnlockIMCC(ic->hGuideLine);
  return level;
}

bool CompositionNotEmpty(LPINPUTCONTEXT ic) {
  LockedBlocks b(nullptr, ic);
  return IsComposing(b.blocks);
}

void OnSetContext(UiPrivate& p, HIMC himc, LPARAM lParam) {
  p[kSlotContext] = HandleSlot(himc);
  if (!himc) {
    HideCandWindow(p);
    HideCompWindows(p);
    HideStatusWindow(p.ui());
    return;
  }
  ContextLock c(himc);
  LPINPUTCONTEXT ic = c.get();
  if (!ic) {
    HideCandWindow(p);
    HideCompWindows(p);
    ShowStatusWindow(p.ui(), true);
    return;
  }
  HideCandWindow(p);
  if ((lParam & ISC_SHOWUICANDIDATEWINDOW) && CandidateListOpen(ic)) {
    CreateCandWindow(p, ic);
    SizeCandWindow(p, ic);
    PlaceCandWindow(p, himc, ic, 0);
  }
  HideCompWindows(p);
  if ((static_cast<DWORD>(lParam) & ISC_SHOWUICOMPOSITIONWINDOW) && CompositionNotEmpty(ic)) {
    CreateCompWindows(p, ic);
    UpdateCompWindows(p, ic);
  }
  ShowStatusWindow(p.ui(), true);
}

LRESULT OnImeNotify(UiPrivate& p, HIMC himc, WPARAM code, LPARAM lParam) {
  ImeModule& m = Module();
  if (code == IMN_CLOSESTATUSWINDOW) {
    HWND status = p.Window(kSlotStatus);
    if (status && IsWindow(status)) {
      RECT r;
      GetWindowRect(status, &r);
      m.config.statusX = r.left;
      m.config.statusY = r.top;
      ShowWindow(status, SW_HIDE);
    }
    p[kSlotStatusShown] = 0;
    return 0;
  }
  if (code == IMN_OPENSTATUSWINDOW) {
    ShowStatusWindow(p.ui(), false);
    return 0;
  }
  if (!himc) return 0;
  ContextLock c(himc);
  LPINPUTCONTEXT ic = c.get();
  if (!ic) return 0;
  switch (code) {
    case IMN_CHANGECANDIDATE:
      if (HWND cand = p.Window(kSlotCand)) InvalidateRect(cand, nullptr, TRUE);
      break;
    case IMN_CLOSECANDIDATE:
      HideCandWindow(p);
      break;
    case IMN_OPENCANDIDATE:
      CreateCandWindow(p, ic);
      SizeCandWindow(p, ic);
      PlaceCandWindow(p, himc, ic, 0);
      break;
    case IMN_SETCONVERSIONMODE:
      ShowStatusWindow(p.ui(), true);
      break;
    case IMN_SETOPENSTATUS:
      ClearHangulKeyState();
      ShowStatusWindow(p.ui(), true);
      break;
    case IMN_SETCANDIDATEPOS:
      if (lParam == 1) PlaceCandWindow(p, himc, ic, 0);
      break;
    case IMN_SETCOMPOSITIONFONT:
      SetCompFont(p, ic);
      if (CompWindowsShown(p)) UpdateCompWindows(p, ic);
      break;
    case IMN_SETCOMPOSITIONWINDOW:
      if (CompWindowsShown(p)) UpdateCompWindows(p, ic);
      PlaceCandWindow(p, himc, ic, 1);
      break;
    case IMN_GUIDELINE:
      if (GuidelineLevel(himc, ic) != 0) ShowGuideWindow(p.ui(), himc);
      break;
    default:
      break;
  }
  return 0;
}

LRESULT OnImeControl(UiPrivate& p, HIMC himc, WPARAM control, LPARAM lParam) {
  ImeModule& m = Module();
  switch (control) {
    case IMC_GETCANDIDATEPOS: {
      HWND cand = p.Window(kSlotCand);
      if (!cand || !IsWindow(cand)) return 1;
      ContextLock c(himc);
      if (!c.get() || !lParam) return 1;
      *reinterpret_cast<CANDIDATEFORM*>(lParam) = c.get()->cfCandForm[0];
      return 0;
    }
    case IMC_GETCOMPOSITIONWINDOW: {
      ContextLock c(himc);
      if (!c.get() || !lParam) return 1;
      *reinterpret_cast<COMPOSITIONFORM*>(lParam) = c.get()->cfCompForm;
      return 0;
    }
    case IMC_GETSTATUSWINDOWPOS:
      return static_cast<LRESULT>(MAKELONG(m.config.statusX, m.config.statusY));
    default:
      return 1;
  }
}

LRESULT UiMessage(HWND ui, UINT msg, WPARAM wParam, LPARAM lParam) {
  ImeModule& m = Module();
  HIMC himc = UiContext(ui);
  switch (msg) {
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_CONTROL:
    case WM_IME_COMPOSITIONFULL:
    case WM_IME_SELECT:
    case WM_IME_CHAR:
      if (!himc) {
        if (m.config.atokIme) {
          if (msg == WM_IME_SELECT) {
            DialogBoxParamA(m.instance, MAKEINTRESOURCEA(125), nullptr, AtokDlgProc, 0);
          } else {
            m.feedback.Beep(0);
          }
        }
        return 0;
      }
      break;
    default:
      break;
  }
  if (msg == WM_CREATE) {
    OnCreate(ui);
    return 0;
  }
  if (msg == WM_DESTROY) {
    OnDestroy(ui);
    return 0;
  }
  if (msg == WM_LOOKUP_CHAR || msg == WM_WORKBENCH_CHAR || msg == WM_PAD_CHAR) {
    return OnToolWindowMessage(ui, msg, wParam, lParam);
  }
  UiPrivate p(ui);
  if (!p.ok()) return DefWindowProcA(ui, msg, wParam, lParam);
  switch (msg) {
    case WM_IME_SETCONTEXT:
      if (wParam) OnSetContext(p, himc, lParam);
      return 0;
    case WM_IME_SELECT:
      if (wParam) {
        p[kSlotContext] = HandleSlot(himc);
        {
          ContextLock c(himc);
          if (c.get()) SetCompFont(p, c.get());
        }
        ImmSetOpenStatus(himc, TRUE);
      }
      return 0;
    case WM_IME_STARTCOMPOSITION: {
      ContextLock c(himc);
      if (c.get()) CreateCompWindows(p, c.get());
      return 0;
    }
    case WM_IME_COMPOSITION: {
      ContextLock c(himc);
      if (c.get()) {
        UpdateCompWindows(p, c.get());
        PlaceCandWindow(p, himc, c.get(), 1);
      }
      return 0;
    }
    case WM_IME_ENDCOMPOSITION:
      HideCompWindows(p);
      return 0;
    case WM_IME_COMPOSITIONFULL:
    case WM_IME_CHAR:
      return 0;
    case WM_IME_NOTIFY:
      return OnImeNotify(p, himc, wParam, lParam);
    case WM_IME_CONTROL:
      return OnImeControl(p, himc, wParam, lParam);
    case WM_UI_REFRESH:
      if (himc && !p[kSlotStatusShown]) {
        ContextLock c(himc);
        if (c.get()) ShowStatusWindow(ui, true);
      }
      return 0;
    case WM_UI_COMPPOS:
      if (p[kSlotCompStyle] == 0 || m.settings.indirectMode) {
        p[kSlotCompX] = static_cast<uint32_t>(static_cast<short>(LOWORD(lParam)));
        p[kSlotCompY] = static_cast<uint32_t>(static_cast<short>(HIWORD(lParam)));
      }
      return 0;
    case WM_UI_CANDPOS:
      p[kSlotCandX] = static_cast<uint32_t>(static_cast<short>(LOWORD(lParam)));
      p[kSlotCandY] = static_cast<uint32_t>(static_cast<short>(HIWORD(lParam)));
      return 0;
    case WM_UI_GUIDEPOS:
      p[kSlotGuideX] = static_cast<uint32_t>(static_cast<short>(LOWORD(lParam)));
      p[kSlotGuideY] = static_cast<uint32_t>(static_cast<short>(HIWORD(lParam)));
      return 0;
    default:
      return DefWindowProcA(ui, msg, wParam, lParam);
  }
}

}  // namespace

}  // namespace ime

extern "C" __declspec(dllexport) LRESULT CALLBACK warbenv3WndProc(HWND ui, UINT msg, WPARAM wParam, LPARAM lParam) {
  ime::EnsureImeInitialized();
  // A deferred IME message is handled as the message it stands for.
  if (msg == ime::WM_IME_DEFERRED) return ime::UiMessage(ui, static_cast<UINT>(lParam), wParam, 0);
  return ime::UiMessage(ui, msg, wParam, lParam);
}

// The window procedures of the child windows, exported under their names.
extern "C" __declspec(dllexport) LRESULT CALLBACK CompStrWndProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ime::CompStrWndProc(w, msg, wParam, lParam);
}
extern "C" __declspec(dllexport) LRESULT CALLBACK CandWndProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ime::CandWndProc(w, msg, wParam, lParam);
}
extern "C" __declspec(dllexport) LRESULT CALLBACK StatusWndProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ime::StatusWndProc(w, msg, wParam, lParam);
}
extern "C" __declspec(dllexport) LRESULT CALLBACK GuideWndProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ime::GuideWndProc(w, msg, wParam, lParam);
}

namespace ime {

bool RegisterUiClasses(HINSTANCE instance) {
  struct ClassDef {
    const char* name;
    WNDPROC proc;
    int extra;
    HBRUSH background;
  };
  const ClassDef defs[] = {
      {kUiClassName, warbenv3WndProc, 2 * static_cast<int>(sizeof(LONG_PTR)), nullptr},
      {kCompClassName, CompStrWndProc, kChildExtraBytes, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))},
      {kCandClassName, CandWndProc, kChildExtraBytes, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH))},
      {kStatusClassName, StatusWndProc, kChildExtraBytes, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH))},
      {kGuideClassName, GuideWndProc, kChildExtraBytes, nullptr},
  };
  for (const ClassDef& d : defs) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_IME | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = d.proc;
    wc.cbWndExtra = d.extra;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = d.background;
    wc.lpszClassName = d.name;
    if (!RegisterClassExA(&wc)) return false;
  }
  return true;
}

void UnregisterUiClasses(HINSTANCE instance) {
  for (const char* name : {kUiClassName, kCompClassName, kCandClassName, kStatusClassName, kGuideClassName}) {
    UnregisterClassA(name, instance);
  }
}

}  // namespace ime

// The on-screen keyboard: a disabled popup that shows the keyboard of the
// keyboard type and arrangement with the keys marked that cannot continue
// the syllable in progress, and types the keys clicked on it (with a
// latching Shift key).
#include "guide_keyboard.h"
#include "ime_context.h"
#include "ime_ui.h"
#include "key_tables.h"

namespace ime {

namespace {

constexpr LONG_PTR kMouseDown = 1, kMouseDragging = 2;
constexpr int kGuideLongMouse = Long(1);
constexpr int kGuideLongBitmap = Long(7);
constexpr int kGuideLongBitmapId = Long(6);
constexpr int kGuideLongPart = Long(8);     // the part pressed
constexpr int kGuideLongPressed = Long(9);  // 1 while the pointer stays on it

// Module-wide: the Shift latch, the marked keys and the drag.
bool g_latch = false;
std::vector<GuideMark> g_marks;
WindowDrag g_drag;

LONG_PTR Get(HWND w, int index) { return GetWindowLongPtrA(w, index); }
void Put(HWND w, int index, LONG_PTR v) { SetWindowLongPtrA(w, index, v); }

const GuideLayout& Layout() { return GuideLayoutFor(Module().settings.keyboardType); }

// The marks of the context's composition: none without an open context in
// Hangul input.
std::vector<GuideMark> MarksOf(HIMC himc) {
  ImeModule& m = Module();
  ContextLock lock(himc);
  LPINPUTCONTEXT ic = lock.get();
  if (!ic || !ic->fOpen || !m.settings.Hangul()) return {};
  LockedBlocks blocks(himc, ic);
  const CursorCharacter c = m.engine->CharacterBeforeCursor(blocks.blocks);
  const int mode = m.settings.inputMode;
  if (m.settings.Unicode()) return GuideStateMarks(mode, GetNextGuideKeyUnicode(mode, c));
  return GetNextGuideKeys(mode, m.settings.keyboardType, m.readingTable, c);
}

void LoadGuideBitmap(HWND w, HIMC himc) {
  ImeModule& m = Module();
  const int id = GuideBitmapId(m.settings.keyboardType, m.settings.inputMode);
  // The pictures stay while the keyboard and arrangement stay.
  if (Get(w, kGuideLongBitmapId) != id || !Get(w, kGuideLongBitmap)) {
    if (HBITMAP old = reinterpret_cast<HBITMAP>(Get(w, kGuideLongBitmap))) DeleteObject(old);
    Put(w, kGuideLongBitmap, reinterpret_cast<LONG_PTR>(LoadBitmapA(m.instance, MAKEINTRESOURCEA(id))));
    Put(w, kGuideLongBitmapId, id);
  }
  g_marks = himc ? MarksOf(himc) : std::vector<GuideMark>{};
}

void Copy(HDC dc, HDC mem, const Rect& key, int fromY, int toY, int height) {
  BitBlt(dc, key.left, toY, key.Width(), height, mem, key.left, fromY, SRCCOPY);
}

void Paint(HWND w, HDC dc) {
  const GuideLayout& l = Layout();
  RECT rc;
  GetClientRect(w, &rc);
  HBRUSH body = CreateSolidBrush(kGuideBodyColour);
  FillRect(dc, &rc, body);
  DeleteObject(body);
  RECT strip{0, 0, rc.right, kGuideTitleHeight};
  HBRUSH stripBrush = CreateSolidBrush(kGuideStripColour);
  FillRect(dc, &strip, stripBrush);
  DeleteObject(stripBrush);
  HBITMAP bmp = reinterpret_cast<HBITMAP>(Get(w, kGuideLongBitmap));
  if (!bmp) return;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(dc, 0, 0, l.width, kGuideTitleHeight, mem, 0, kGuideStripY, SRCCOPY);
  const int shown = std::min(kGuideImageHeight, static_cast<int>(rc.bottom) - kGuideImageTop);
  BitBlt(dc, 0, kGuideImageTop, l.width, shown, mem, 0, 0, SRCCOPY);
  // Marks: the whole cap, or the half of the Shift state in which it holds.
  for (const GuideMark& mark : g_marks) {
    const Rect r = GuideKeyRect(l, mark.keyIndex);
    if (r.Width() == 0) continue;
    const int half = r.Height() / 2;
    switch (mark.condition) {
      case GuideMark::kAlways:
        Copy(dc, mem, r, r.top + kGuideMarkedY, r.top + kGuideImageTop, r.Height());
        break;
      case GuideMark::kWithShift:
        Copy(dc, mem, r, r.top + kGuideMarkedY, r.top + kGuideImageTop, half);
        break;
      case GuideMark::kWithoutShift:
        Copy(dc, mem, r, r.top + half + kGuideMarkedY, r.top + half + kGuideImageTop, r.Height() - half);
        break;
    }
  }
  auto pressed = [&](int index) {
    const Rect r = GuideKeyRect(l, index);
    if (r.Width() > 0) Copy(dc, mem, r, r.top + kGuidePressedY, r.top + kGuideImageTop, r.Height());
  };
  if (g_latch) pressed(GuideShiftIndex(l));
  const int part = static_cast<int>(Get(w, kGuideLongPart));
  const bool down = Get(w, kGuideLongPressed) != 0;
  if (down && part >= 2 && part - 2 < kGuideKeys) {
    const int index = part - 2;
    const GuideMark* mark = FindMark(g_marks, index);
    if (!(mark && MarkHolds(*mark, g_latch))) {
      pressed(index);
      if (IsSplitEnter(l, index)) pressed(OtherEnterHalf(index));
    }
  }
  const Point close = down && part == kGuideCodeClose ? kGuideClosePressedImage : kGuideCloseImage;
  BitBlt(dc, rc.right - 18, 5, kGuideCloseSize, kGuideCloseSize, mem, close.x, close.y, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

int PartAtCursor(HWND w) {
  RECT rc;
  GetClientRect(w, &rc);
  return GuideHitTest(Layout(), CursorInClient(w), {rc.right, rc.bottom});
}

// Types a key: Convert and NonConvert go to the engine; other keys enter
// the system's input as keystrokes, wrapped in Shift while it is latched.
void TypeKey(HWND w, int code) {
  ImeModule& m = Module();
  const GuideAction action = GuideClickAction(Layout(), code, g_marks, g_latch);
  switch (action.kind) {
    case GuideAction::kNothing:
      return;
    case GuideAction::kToggleShift:
      g_latch = !g_latch;
      InvalidateRect(w, nullptr, FALSE);
      return;
    case GuideAction::kEngineKey: {
      HIMC himc = UiContext(ChildUi(w));
      ContextLock lock(himc);
      if (!lock.get() || !lock.get()->fOpen) return;
      m.settings.shiftHeld = g_latch;
      {
        LockedBlocks blocks(himc, lock.get());
        ImeKeyDownCore(*m.engine, blocks.blocks, action.vk, false);
      }
      RefreshGuideWindow();
      return;
    }
    case GuideAction::kType:
      if (MapVirtualKeyA(action.vk, 0) == 0) return;
      for (const GuideKeyEvent& e : GuideKeyEvents(action.vk, g_latch)) {
        keybd_event(static_cast<BYTE>(e.vk), static_cast<BYTE>(MapVirtualKeyA(e.vk, 0)), e.up ? KEYEVENTF_KEYUP : 0, 0);
      }
      return;
  }
}

void OnButtonDown(HWND w) {
  SetCapture(w);
  g_drag.Begin(w);
  Put(w, kGuideLongMouse, kMouseDown);
  Put(w, kGuideLongPart, PartAtCursor(w));
  Put(w, kGuideLongPressed, 1);
  InvalidateRect(w, nullptr, FALSE);
}

void OnMouseMove(HWND w, LONG_PTR state) {
  if (!(state & kMouseDown)) return;
  const int part = static_cast<int>(Get(w, kGuideLongPart));
  if (part == kGuideCodeNone) {
    // A press in the title strip drags the window.
    g_drag.Follow();
    Put(w, kGuideLongMouse, kMouseDown | kMouseDragging);
    return;
  }
  const LONG_PTR on = PartAtCursor(w) == part ? 1 : 0;
  if (on != Get(w, kGuideLongPressed)) {
    Put(w, kGuideLongPressed, on);
    InvalidateRect(w, nullptr, FALSE);
  }
}

void OnButtonUp(HWND w, LONG_PTR state) {
  if (!(state & kMouseDown)) return;
  ReleaseCapture();
  const int part = static_cast<int>(Get(w, kGuideLongPart));
  Put(w, kGuideLongMouse, 0);
  Put(w, kGuideLongPressed, 0);
  Put(w, kGuideLongPart, 0);
  if (state & kMouseDragging) {
    // Not kept inside the screen: the user may park it partly off.
    const RECT r = g_drag.End();
    SetWindowPos(w, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (PartAtCursor(w) == part && part == kGuideCodeClose) {
    PostMessageA(w, WM_UI_HIDE, 0, 0);
  } else if (PartAtCursor(w) == part && part >= 2 && part <= 61) {
    TypeKey(w, part);
  }
  InvalidateRect(w, nullptr, FALSE);
}

void OnMouse(HWND w, UINT msg) {
  const LONG_PTR state = Get(w, kGuideLongMouse);
  if (IsButtonDown(msg)) {
    OnButtonDown(w);
  } else if (msg == WM_MOUSEMOVE) {
    OnMouseMove(w, state);
  } else if (IsButtonUp(msg)) {
    OnButtonUp(w, state);
  }
}

}  // namespace

void ShowGuideWindow(HWND ui, HIMC himc) {
  ImeModule& m = Module();
  UiPrivate p(ui);
  if (!p.ok()) return;
  const GuideLayout& l = Layout();
  const Size size{l.width + kGuideWindowExtra, kGuideWindowHeight};
  Point at{p.Int(kSlotGuideX), p.Int(kSlotGuideY)};
  if (at.x == -1 || at.y == -1) {
    RECT app{};
    ContextLock lock(himc);
    if (lock.get()) GetWindowRect(ContextWindow(lock.get()), &app);
    at = PlaceGuideWindow(ToRect(app), WorkArea(), size);
  }
  HWND w = p.Window(kSlotGuide);
  if (!w || !IsWindow(w)) {
    // Made at its place: the WM_MOVE of the creation reports that place.
    w = CreateWindowExA(0, kGuideClassName, "", WS_POPUP | WS_DISABLED | WS_BORDER, at.x, at.y, size.cx, size.cy, ui,
                        nullptr, m.instance, ui);
    if (!w) return;
    p[kSlotGuide] = HandleSlot(w);
  } else {
    PostMessageA(w, WM_UI_REFRESH, 0, 0);
  }
  SetWindowPos(w, HWND_TOP, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  p[kSlotGuideShown] = 1;
}

void RefreshGuideWindow(bool newPicture) {
  HWND ui = Module().uiWindow;
  if (!ui) return;
  UiPrivate p(ui);
  if (!p.ok() || !p[kSlotGuideShown]) return;
  HWND w = p.Window(kSlotGuide);
  if (w && IsWindow(w)) PostMessageA(w, WM_UI_REFRESH, newPicture ? 1 : 0, 0);
}

LRESULT CALLBACK GuideWndProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: {
      HWND ui = static_cast<HWND>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
      Put(w, kLongUiWindow, reinterpret_cast<LONG_PTR>(ui));
      g_latch = false;
      g_marks.clear();
      LoadGuideBitmap(w, ui ? UiContext(ui) : nullptr);
      return 0;
    }
    case WM_DESTROY:
      if (HBITMAP bmp = reinterpret_cast<HBITMAP>(Get(w, kGuideLongBitmap))) DeleteObject(bmp);
      Put(w, kGuideLongBitmap, 0);
      return 0;
    case WM_MOVE: {
      RECT r;
      GetWindowRect(w, &r);
      SendMessageA(ChildUi(w), WM_UI_GUIDEPOS, 0, MAKELPARAM(r.left, r.top));
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      Paint(w, dc);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_UI_REFRESH:
      // The picture follows the keyboard and the arrangement; wParam 1: the
      // window takes the width of a new keyboard.
      LoadGuideBitmap(w, UiContext(ChildUi(w)));
      if (wParam) {
        SetWindowPos(w, nullptr, 0, 0, Layout().width + kGuideWindowExtra, kGuideWindowHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      InvalidateRect(w, nullptr, FALSE);
      return 0;
    case WM_UI_HIDE: {
      UiPrivate p(ChildUi(w));
      if (p.ok()) p[kSlotGuideShown] = 0;
      ShowWindow(w, SW_HIDE);
      return 0;
    }
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case 0x36D:
      InvalidateRect(w, nullptr, FALSE);
      return DefWindowProcA(w, msg, wParam, lParam);
    case WM_SETCURSOR:
      if (!IsMouseMessage(HIWORD(lParam)) || HIWORD(lParam) == WM_MOUSEMOVE) break;
      OnMouse(w, HIWORD(lParam));
      return TRUE;
    default:
      break;
  }
  if (IsMouseMessage(msg)) {
    OnMouse(w, msg);
    return 0;
  }
  if (IsImeMessage(msg)) return 0;
  return DefWindowProcA(w, msg, wParam, lParam);
}

}  // namespace ime

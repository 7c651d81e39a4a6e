// The status toolbar: a disabled popup strip with a grip, the function
// buttons of the configured (or the full) map, a switch between the maps
// and an on/off button; tooltips, dragging with the saved position, the
// mode rules, the launches, the lookup window, the guideline that shows the
// on-screen keyboard, the settings and dictionary entries and help.
#include <string>

#include "ime_context.h"
#include "ime_regword.h"
#include "ime_ui.h"
#include "status_toolbar.h"

#include <commctrl.h>

extern "C" BOOL WINAPI ImeConfigure(HKL, HWND, DWORD, LPVOID);

namespace ime {

namespace {

constexpr int kUtilityMenu = 112;
constexpr unsigned kKeyboardGuidelineText = 1010;
// Mouse states.
constexpr LONG_PTR kMouseDown = 1, kMouseDragging = 2, kMouseHover = 4;
constexpr LONG_PTR kMouseAway = 8;  // with kMouseDown: the pointer has left the pressed part

// Module-wide: the full map stands in for a smaller configured one; one
// drag at a time.
bool g_fullShown = false;
WindowDrag g_drag;
HCURSOR g_sizeAll = nullptr, g_arrow = nullptr;

const ToolbarButtonMap& FullMap() {
  static const ToolbarButtonMap full = FullToolbarMap();
  return full;
}

const ToolbarButtonMap& CurrentMap() { return CurrentToolbarMap(Module().config.toolbar, FullMap(), g_fullShown); }
int Buttons() { return CurrentMap().count; }
bool FullShown() { return g_fullShown && Module().config.toolbar.count < kStatusFunctions; }

LONG_PTR Get(HWND w, int index) { return GetWindowLongPtrA(w, index); }
void Put(HWND w, int index, LONG_PTR v) { SetWindowLongPtrA(w, index, v); }

// ---- tooltips ---------------------------------------------------------------------

void PlaceTools(HWND w) {
  HWND tip = reinterpret_cast<HWND>(Get(w, kStatusLongTooltip));
  if (!tip) return;
  for (int i = 0; i < kStatusTools; ++i) {
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = w;
    ti.uId = static_cast<UINT_PTR>(i);
    const Rect r = StatusToolRect(i, Buttons());
    ti.rect = {r.left, r.top, r.right, r.bottom};
    SendMessageW(tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

// The text of a tool: the function at that place of the current map, the
// switch, the on/off button; none for the places beyond the map.
const char16_t* ToolTipText(int tool) {
  const ToolbarButtonMap& map = CurrentMap();
  if (tool >= 0 && tool < map.count) return StatusTooltip(map.functions[tool]);
  if (tool == 12) return StatusSwitchTooltip();
  if (tool == 13) return StatusOnOffTooltip();
  return u"";
}

HWND CreateTooltips(HWND w) {
  HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, w, nullptr, Module().instance, nullptr);
  if (!tip) return nullptr;
  for (int i = 0; i < kStatusTools; ++i) {
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = w;
    ti.uId = static_cast<UINT_PTR>(i);
    ti.hinst = Module().instance;
    ti.lpszText = LPSTR_TEXTCALLBACKW;
    const Rect r = StatusToolRect(i, Buttons());
    ti.rect = {r.left, r.top, r.right, r.bottom};
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  return tip;
}

void RelayToTooltip(HWND w, UINT msg, WPARAM wParam) {
  HWND tip = reinterpret_cast<HWND>(Get(w, kStatusLongTooltip));
  if (!tip) return;
  const Point p = StatusRelayPoint(CursorInClient(w), Buttons());
  MSG m{};
  m.hwnd = w;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = MAKELPARAM(p.x, p.y);
  SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

// ---- painting ---------------------------------------------------------------------

void Paint(HWND w, HDC dc, uint32_t pressed, uint32_t hover) {
  ImeModule& m = Module();
  HBITMAP bmp = reinterpret_cast<HBITMAP>(Get(w, kStatusLongBitmap));
  if (!bmp) return;
  StatusLook look;
  look.map = &CurrentMap();
  look.mode = m.settings.conversionMode;
  look.fullShown = FullShown();
  look.allConfigured = m.config.toolbar.count == kStatusFunctions;
  look.busy = m.companions.lookup != 0 || m.companions.pad != 0 || m.dialogOpen;
  look.pressed = pressed;
  look.hover = hover;
  if (HIMC himc = UiContext(ChildUi(w))) {
    ContextLock lock(himc);
    if (lock.get()) {
      look.context = true;
      look.open = lock.get()->fOpen != FALSE;
    }
  }
  if (look.open) ClearHangulKeyState();
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bmp);
  for (const StatusBlit& b : StatusPaintPlan(look)) {
    BitBlt(dc, b.dst.x, b.dst.y, b.src.Width(), b.src.Height(), mem, b.src.left, b.src.top, SRCCOPY);
  }
  SelectObject(mem, old);
  DeleteDC(mem);
}

void Repaint(HWND w) {
  HDC dc = GetDC(w);
  Paint(w, dc, static_cast<uint32_t>(Get(w, kStatusLongPress)) & ~kHitGrip,
        static_cast<uint32_t>(Get(w, kStatusLongHover)) & ~kHitGrip);
  ReleaseDC(w, dc);
}

// ---- placing ----------------------------------------------------------------------

// Moves and sizes the toolbar to a place inside the work area; a place that
// differs from the stored one is stored and written to WindowPos.
void SaveStatusPosition(HWND w, int x, int y) {
  ImeModule& m = Module();
  const Point at = ClampStatusPosition({x, y}, Buttons(), WorkArea());
  const Size size = StatusToolbarSize(Buttons());
  SetWindowPos(w, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  if (at.x == m.config.statusX && at.y == m.config.statusY) return;
  m.config.statusX = at.x;
  m.config.statusY = at.y;
  const std::string path = m.config.prefix + "\\WindowPos";
  RegistryWrite().Write(path, "Xpos", std::to_string(at.x));
  RegistryWrite().Write(path, "Ypos", std::to_string(at.y));
}

// Places the toolbar again at the stored position (where it stands when
// none is stored), applying a changed width.
void Replace(HWND w) {
  const ImeModule& m = Module();
  RECT r;
  GetWindowRect(w, &r);
  const bool stored = m.config.statusX != -1 && m.config.statusY != -1;
  SaveStatusPosition(w, stored ? m.config.statusX : r.left, stored ? m.config.statusY : r.top);
}

// ---- the settings and dictionary dialogs ---------------------------------------

template <typename Run>
void WithDialog(HIMC himc, Run run) {
  ImeModule& m = Module();
  if (m.dialogOpen) return;
  HWND owner = nullptr;
  {
    ContextLock lock(himc);
    if (!lock.get()) return;
    LockedBlocks blocks(himc, lock.get());
    m.engine->DetermineComposition(blocks.blocks, true);
    owner = ContextWindow(lock.get());
  }
  m.dialogOpen = true;
  if (HWND guide = GuideWindowOf(m.uiWindow)) SendMessageA(guide, WM_UI_HIDE, 0, 0);
  run(owner);
  {
    ContextLock lock(himc);
    if (lock.get()) {
      LockedBlocks blocks(himc, lock.get());
      m.engine->CancelComposition(blocks.blocks);
    }
  }
  if (m.uiWindow) {
    UiPrivate p(m.uiWindow);
    if (p.ok()) HideCompWindows(p);
  }
  m.dialogOpen = false;
}

void OpenImeConfigure(HIMC himc) {
  WithDialog(himc, [](HWND owner) { ImeConfigure(GetKeyboardLayout(0), owner, IME_CONFIG_GENERAL, nullptr); });
}

void OpenRegWordDialog(HIMC himc) {
  // Refused in protected mode before anything is determined; the refusal's
  // box is the dialog's own.
  if (Module().config.protectedMode) {
    OpenWordRegistration(nullptr, himc);
    return;
  }
  WithDialog(himc, [himc](HWND owner) { OpenWordRegistration(owner, himc); });
}

// ---- the buttons --------------------------------------------------------------------

void ShowKeyboardGuide(HIMC himc) {
  ImeModule& m = Module();
  char text[64] = {};
  LoadStringA(m.instance, kKeyboardGuidelineText, text, sizeof text);
  ContextLock lock(himc);
  if (!lock.get()) return;
  LockedBlocks blocks(himc, lock.get());
  m.engine->SetGuideline(blocks.blocks, 0, text);
}

void UtilityMenu(HWND w, int button) {
  HMENU menu = reinterpret_cast<HMENU>(Get(w, kStatusLongMenu));
  HMENU popup = menu ? GetSubMenu(menu, 1) : nullptr;
  if (!popup) {
    Module().feedback.Beep(0);
    return;
  }
  RECT r;
  GetWindowRect(w, &r);
  const MenuMetrics metrics{GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYMENU),
                            GetSystemMetrics(SM_CYDLGFRAME), GetSystemMetrics(SM_CYSCREEN)};
  const Point at = UtilityMenuPosition(ToRect(r), button, metrics);
  const int id = TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTBUTTON,
                                at.x, at.y, 0, w, nullptr);
  if (id != 0) SendMessageA(w, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

void SetModes(HIMC himc, ModeState now, ModeState next) {
  ImeModule& m = Module();
  m.settings.conversionMode = next.mode;
  if (next.open != now.open) ImmSetOpenStatus(himc, next.open);
}

void RunFunction(HWND w, HIMC himc, int function, int button, ModeState now) {
  ImeModule& m = Module();
  switch (function) {
    case kFnInputMode:
      SetModes(himc, now, ApplyModeButton(function, now));
      RefreshGuideWindow();
      break;
    case kFnInputSize:
      SetModes(himc, now, ApplyModeButton(function, now));
      break;
    case kFnLookup:
      OpenLookupWindow(himc);
      break;
    case kFnKeyboard:
      ShowKeyboardGuide(himc);
      break;
    case kFnPad:
      if (!m.companions.pad) LaunchCompanion(kCmdPad);
      break;
    case kFnWorkbench:
      LaunchCompanion(kCmdWorkbench);
      break;
    case kFnDictionary:
      LaunchCompanion(kCmdDictionary);
      break;
    case kFnNavigator:
      LaunchCompanion(kCmdNavigator);
      break;
    case kFnUtility:
      UtilityMenu(w, button);
      break;
    case kFnWordRegistration:
      OpenRegWordDialog(himc);
      break;
    case kFnSettings:
      OpenImeConfigure(himc);
      break;
    case kFnHelp:
      ShowImeHelp(w, 0, 0);
      break;
    default:
      break;
  }
}

// What the parts still pressed under the pointer do on release.
void Act(HWND w, uint32_t mask) {
  ImeModule& m = Module();
  HIMC himc = UiContext(ChildUi(w));
  ModeState now;
  {
    ContextLock lock(himc);
    if (!lock.get()) return;
    now = {lock.get()->fOpen != FALSE, m.settings.conversionMode};
  }
  if ((mask & kHitSwitch) && m.config.toolbar.count < kStatusFunctions) {
    g_fullShown = !g_fullShown;
    Replace(w);
    PlaceTools(w);
  }
  const ToolbarButtonMap map = CurrentMap();
  for (int i = 0; i < map.count; ++i) {
    if (mask >> i & 1) RunFunction(w, himc, map.functions[i], i, now);
  }
  if (mask & kHitOnOff) {
    SetModes(himc, now, ApplyOnOffButton(now, m.config.halfWidthSetting));
    RefreshGuideWindow();
  }
  InvalidateRect(w, nullptr, FALSE);
}

// ---- the mouse ----------------------------------------------------------------------

uint32_t HitAtCursor(HWND w) {
  RECT rc;
  GetClientRect(w, &rc);
  return StatusHitTest(CursorInClient(w), {rc.right, rc.bottom}, Buttons());
}

void OnButtonDown(HWND w, uint32_t hit) {
  SetCapture(w);
  g_drag.Begin(w);
  Put(w, kStatusLongMouse, kMouseDown);
  Put(w, kStatusLongPress, static_cast<LONG_PTR>(hit));
  Put(w, kStatusLongHover, 0);
  SetCursor(hit == kHitGrip ? g_sizeAll : g_arrow);
  Repaint(w);
}

void OnMouseMove(HWND w, LONG_PTR state, uint32_t hit) {
  if (state & kMouseDown) {
    const uint32_t press = static_cast<uint32_t>(Get(w, kStatusLongPress));
    if (press == kHitGrip) {
      g_drag.Follow();
      Put(w, kStatusLongMouse, kMouseDown | kMouseDragging);
      return;
    }
    // The pressed image only while the pointer stays on the pressed part.
    const bool on = (hit & press) != 0;
    if (on == ((state & kMouseAway) != 0)) {
      Put(w, kStatusLongMouse, on ? kMouseDown : kMouseDown | kMouseAway);
      HDC dc = GetDC(w);
      Paint(w, dc, on ? press : 0, 0);
      ReleaseDC(w, dc);
    }
    return;
  }
  // Hovering: the part under the pointer shows its hover image while the
  // mouse is captured; leaving the toolbar releases it.
  if (hit == 0) {
    if (state == kMouseHover) ReleaseCapture();
    Put(w, kStatusLongMouse, 0);
    Put(w, kStatusLongHover, 0);
    Repaint(w);
    return;
  }
  if (state != kMouseHover) SetCapture(w);
  Put(w, kStatusLongMouse, kMouseHover);
  SetCursor(hit == kHitGrip ? g_sizeAll : g_arrow);
  if (static_cast<uint32_t>(Get(w, kStatusLongHover)) != hit) {
    Put(w, kStatusLongHover, static_cast<LONG_PTR>(hit));
    Repaint(w);
  }
}

void OnButtonUp(HWND w, LONG_PTR state, uint32_t hit) {
  if (!(state & kMouseDown)) return;
  ReleaseCapture();
  const uint32_t press = static_cast<uint32_t>(Get(w, kStatusLongPress));
  Put(w, kStatusLongMouse, 0);
  Put(w, kStatusLongPress, 0);
  Put(w, kStatusLongHover, 0);
  if (state & kMouseDragging) {
    const RECT r = g_drag.End();
    SaveStatusPosition(w, r.left, r.top);
  } else if (const uint32_t still = press & hit & ~kHitGrip) {
    Act(w, still);
  }
  Repaint(w);
  if (press == kHitGrip && HitAtCursor(w) == kHitGrip) {
    // Released on the grip: hovering there.
    SetCapture(w);
    Put(w, kStatusLongMouse, kMouseHover);
    Put(w, kStatusLongHover, static_cast<LONG_PTR>(kHitGrip));
    SetCursor(g_sizeAll);
  }
}

void StatusMouseHandler(HWND w, UINT msg) {
  const LONG_PTR state = Get(w, kStatusLongMouse);
  const uint32_t hit = HitAtCursor(w);
  if (IsButtonDown(msg)) {
    OnButtonDown(w, hit);
  } else if (msg == WM_MOUSEMOVE) {
    OnMouseMove(w, state, hit);
  } else if (IsButtonUp(msg)) {
    OnButtonUp(w, state, hit);
  }
}

void OnCreate(HWND w) {
  ImeModule& m = Module();
  HDC dc = GetDC(nullptr);
  const bool manyColours = GetDeviceCaps(dc, NUMCOLORS) == -1;
  ReleaseDC(nullptr, dc);
  Put(w, kStatusLongBitmap,
      reinterpret_cast<LONG_PTR>(LoadBitmapA(m.instance, manyColours ? "STATUSBMP" : "STATUSBMP256")));
  Put(w, kStatusLongMenu, reinterpret_cast<LONG_PTR>(LoadMenuA(m.instance, MAKEINTRESOURCEA(kUtilityMenu))));
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  Put(w, kStatusLongTooltip, reinterpret_cast<LONG_PTR>(CreateTooltips(w)));
  if (!g_sizeAll) g_sizeAll = LoadCursor(nullptr, IDC_SIZEALL);
  if (!g_arrow) g_arrow = LoadCursor(nullptr, IDC_ARROW);
}

void OnDestroy(HWND w) {
  if (HBITMAP bmp = reinterpret_cast<HBITMAP>(Get(w, kStatusLongBitmap))) DeleteObject(bmp);
  if (HMENU menu = reinterpret_cast<HMENU>(Get(w, kStatusLongMenu))) DestroyMenu(menu);
  if (HWND tip = reinterpret_cast<HWND>(Get(w, kStatusLongTooltip))) DestroyWindow(tip);
  Put(w, kStatusLongBitmap, 0);
  Put(w, kStatusLongMenu, 0);
  Put(w, kStatusLongTooltip, 0);
}

}  // namespace

void ShowStatusWindow(HWND ui, bool refresh) {
  ImeModule& m = Module();
  UiPrivate p(ui);
  if (!p.ok()) return;
  const Point at = PlaceStatusToolbar({m.config.statusX, m.config.statusY}, Buttons(), WorkArea());
  const Size size = StatusToolbarSize(Buttons());
  HWND w = p.Window(kSlotStatus);
  if (!w || !IsWindow(w)) {
    w = CreateWindowExA(0, kStatusClassName, "", WS_POPUP | WS_DISABLED, at.x, at.y, size.cx, size.cy, ui, nullptr,
                        m.instance, nullptr);
    if (!w) return;
    Put(w, kLongUiWindow, reinterpret_cast<LONG_PTR>(ui));
    p[kSlotStatus] = HandleSlot(w);
  }
  SetWindowPos(w, HWND_TOP, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  p[kSlotStatusShown] = 1;
  if (refresh) InvalidateRect(w, nullptr, FALSE);
}

void ShowConfiguredToolbar() {
  g_fullShown = false;
  if (HWND w = Module().uiWindow ? StatusWindowOf(Module().uiWindow) : nullptr) PostMessageA(w, WM_UI_REFRESH, 1, 0);
}

void RedrawStatusWindow() {
  if (HWND w = Module().uiWindow ? StatusWindowOf(Module().uiWindow) : nullptr) InvalidateRect(w, nullptr, FALSE);
}

void HideStatusWindow(HWND ui) {
  UiPrivate p(ui);
  if (!p.ok()) return;
  HWND w = p.Window(kSlotStatus);
  if (w && IsWindow(w)) ShowWindow(w, SW_HIDE);
  p[kSlotStatusShown] = 0;
}

LRESULT CALLBACK StatusWndProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  const UINT mouse = CarriedMouseMessage(msg, lParam);
  if (IsMouseMessage(mouse)) RelayToTooltip(w, mouse, wParam);
  switch (msg) {
    case WM_CREATE:
      OnCreate(w);
      return 0;
    case WM_DESTROY:
      OnDestroy(w);
      return 0;
    case WM_SIZE:
      PlaceTools(w);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      Paint(w, dc, 0, 0);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
      InvalidateRect(w, nullptr, FALSE);
      return DefWindowProcA(w, msg, wParam, lParam);
    case WM_NOTIFY: {
      // The toolbar is an ANSI window, so the tooltip control asks for the
      // ANSI text; a control that asks for the wide text gets it too.
      auto* hdr = reinterpret_cast<NMHDR*>(lParam);
      if (hdr->code == TTN_NEEDTEXTA || hdr->code == TTN_NEEDTEXTW) {
        const char16_t* text = ToolTipText(static_cast<int>(hdr->idFrom));
        if (hdr->code == TTN_NEEDTEXTW) {
          auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
          info->hinst = nullptr;
          info->lpszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text));
        } else {
          auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
          info->hinst = nullptr;
          info->szText[0] = '\0';
          const int n = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(text), -1, info->szText,
                                            static_cast<int>(sizeof info->szText), nullptr, nullptr);
          if (n <= 0) info->szText[0] = '\0';
          info->lpszText = info->szText;
        }
      }
      return 0;
    }
    case WM_COMMAND:
      LaunchCompanion(LOWORD(wParam));
      InvalidateRect(w, nullptr, FALSE);
      return 0;
    case WM_UI_REFRESH:
      if (wParam) Replace(w);
      InvalidateRect(w, nullptr, FALSE);
      PlaceTools(w);
      return 0;
    case WM_SETCURSOR:
      if (!IsMouseMessage(mouse)) return DefWindowProcA(w, msg, wParam, lParam);
      StatusMouseHandler(w, mouse);
      return TRUE;
    default:
      break;
  }
  if (IsMouseMessage(msg)) {
    StatusMouseHandler(w, msg);
    return 0;
  }
  if (IsImeMessage(msg)) return 0;
  return DefWindowProcA(w, msg, wParam, lParam);
}

}  // namespace ime

// The candidate window: one numbered page of the candidate list with the
// selection highlighted, a page counter and, for more than a page, a
// scroll bar; clicks select and commit, the scroll bar moves the selection.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ime_ui.h"

namespace ime {

namespace {

constexpr size_t kScrollBarWord = kCandInfoSize - 4;  // the record's last 32-bit word

WNDPROC g_scrollBarProc = nullptr;

// Double-click memory: the row and tick of the last click.
int g_lastRow = -1;
DWORD g_lastTick = 0;

// A scroll bar in a disabled popup gets no clicks: a WM_SETCURSOR carrying
// a left button press becomes the press itself.
LRESULT CALLBACK ScrollBarSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SETCURSOR && HIWORD(lParam) == WM_LBUTTONDOWN) {
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(hwnd, &pt);
    msg = WM_LBUTTONDOWN;
    wParam = MK_LBUTTON;
    lParam = MAKELPARAM(pt.x, pt.y);
  }
  return CallWindowProcA(g_scrollBarProc, hwnd, msg, wParam, lParam);
}

// The candidate font: made like the display font, new for each use.
class CandFont {
 public:
  CandFont() : font_(CreateDisplayFont(Module().config)) {}
  ~CandFont() {
    if (font_) DeleteObject(font_);
  }
  CandFont(const CandFont&) = delete;
  CandFont& operator=(const CandFont&) = delete;
  HFONT get() const { return font_; }

 private:
  HFONT font_;
};

// The candidate list of a locked candidate record: the strings by their offsets.
std::vector<std::string> CandidateStrings(const ImeCandInfo& ci) {
  std::vector<std::string> out;
  const uint32_t count = ci.list.dwCount < kMaxCandidates ? ci.list.dwCount : kMaxCandidates;
  const auto* list = reinterpret_cast<const uint8_t*>(&ci.list);
  const size_t listRoom = kCandInfoSize - offsetof(ImeCandInfo, list);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t off = ci.list.dwOffset[i];
    if (off >= listRoom) {
      out.emplace_back();
      continue;
    }
    const char* s = reinterpret_cast<const char*>(list + off);
    out.emplace_back(s, strnlen(s, listRoom - off));
  }
  return out;
}

HWND RecordScrollBar(const ImeCandInfo& ci) {
  uint32_t v;
  std::memcpy(&v, reinterpret_cast<const uint8_t*>(&ci) + kScrollBarWord, 4);
  return SlotHandle<HWND>(v);
}

void SetRecordScrollBar(ImeCandInfo& ci, HWND sb) {
  const uint32_t v = HandleSlot(sb);
  std::memcpy(reinterpret_cast<uint8_t*>(&ci) + kScrollBarWord, &v, 4);
}

// The context's scroll bar of this candidate window. A record whose word was
// cleared (a new list) finds the window's existing scroll bar again rather
// than making another.
HWND ContextScrollBar(HWND cand, ImeCandInfo* ci, bool create) {
  if (!cand) return nullptr;
  HWND sb = ci ? RecordScrollBar(*ci) : nullptr;
  if (sb && IsWindow(sb) && GetParent(sb) == cand) return sb;
  sb = FindWindowExA(cand, nullptr, "scrollbar", nullptr);
  if (!sb && create) {
    sb = CreateWindowExA(0, "scrollbar", "", WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, 1, 1, cand, nullptr,
                         Module().instance, nullptr);
    if (sb) {
      WNDPROC old = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(sb, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ScrollBarSubclassProc)));
      if (!g_scrollBarProc) g_scrollBarProc = old;
    }
  }
  if (sb && ci) SetRecordScrollBar(*ci, sb);
  return sb;
}

// The shown composition window under which the candidate window goes.
HWND ShownCompWindow(UiPrivate& p) {
  if (p[kSlotCompShown]) return p.Window(kSlotComp);
  if (p[kSlotCaret + 1]) return p.Window(kSlotCaret);
  return nullptr;
}

void ShowAt(UiPrivate& p, HWND cand, Point at) {
  SetWindowPos(cand, HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  p[kSlotCandShown] = 1;
  InvalidateRect(cand, nullptr, TRUE);
}

void Paint(HWND hwnd, HDC dc) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  HIMC himc = UiContext(ChildUi(hwnd));
  LPINPUTCONTEXT ic = himc ? ImmLockIMC(himc) : nullptr;
  if (!ic) return;
  {
    LockedBlocks b(himc, ic);
    if (IsCandidateOpen(b.blocks)) {
      const ImeCandInfo& ci = *b.blocks.cand;
      const std::vector<std::string> strings = CandidateStrings(ci);
      CandFont font;
      HGDIOBJ old = SelectObject(dc, font.get());
      GdiMeasurer measure(dc);
      const int lh = measure.Extent("8.", 2).cy;
      const EdgeMetrics e = Edges();
      SetBkMode(dc, TRANSPARENT);
      const uint32_t count = static_cast<uint32_t>(strings.size());
      const uint32_t start = ci.list.dwPageStart;
      int rows = 0;
      for (uint32_t i = start; i < start + ci.list.dwPageSize && i < count; ++i, ++rows) {
        const RECT row = [&] {
          const Rect r = CandidateRow(rows, rc.right, lh, e);
          return RECT{r.left, r.top, r.right, r.bottom};
        }();
        const bool selected = i == ci.list.dwSelection;
        FillRect(dc, &row, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0, 0, 0));
        const std::string text = CandidateLabel(rows) + strings[i];
        TextOutA(dc, row.left, row.top, text.c_str(), static_cast<int>(text.size()));
      }
      // The sunken frame around the rows.
      const Rect f = CandidateFrame(rows, rc.right, lh, e);
      auto line = [dc](int x, int y, int w, int h, COLORREF c) {
        RECT r{x, y, x + w, y + h};
        HBRUSH b = CreateSolidBrush(c);
        FillRect(dc, &r, b);
        DeleteObject(b);
      };
      line(f.left, f.top, f.Width(), 1, RGB(128, 128, 128));
      line(f.left, f.top, 1, f.Height(), RGB(128, 128, 128));
      line(f.left + 1, f.top + 1, f.Width() - 2, 1, RGB(255, 255, 255));
      line(f.left + 1, f.top + 1, 1, f.Height() - 2, RGB(255, 255, 255));
      line(f.right - 1, f.top, 1, f.Height(), RGB(0, 0, 0));
      line(f.left, f.bottom - 1, f.Width(), 1, RGB(0, 0, 0));
      // The counter.
      char counter[32];
      std::snprintf(counter, sizeof counter, "%u/%u", ci.list.dwSelection + 1, count);
      const Point at = CandidateCounterAnchor(rows, rc.right, lh, e);
      const Size s = measure.Extent(counter, std::strlen(counter));
      SetTextColor(dc, RGB(0, 0, 0));
      TextOutA(dc, at.x - s.cx, at.y, counter, static_cast<int>(std::strlen(counter)));
      SelectObject(dc, old);
      if (count > ci.list.dwPageSize) {
        if (HWND sb = ContextScrollBar(hwnd, b.blocks.cand, false)) {
          SetScrollPos(sb, SB_CTL, static_cast<int>(ci.list.dwSelection), TRUE);
        }
      }
    }
  }
  ImmUnlockIMC(himc);
}

int CandLineHeight() {
  CandFont font;
  MeasureDc dc(font.get());
  return GdiMeasurer(dc.dc()).Extent("8.", 2).cy;
}

void OnClick(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  HIMC himc = UiContext(ChildUi(hwnd));
  LPINPUTCONTEXT ic = himc ? ImmLockIMC(himc) : nullptr;
  if (!ic) return;
  {
    LockedBlocks b(himc, ic);
    HWND sb = ContextScrollBar(hwnd, b.blocks.cand, false);
    POINT cursor;
    GetCursorPos(&cursor);
    RECT sbRect{};
    if (sb && IsWindowVisible(sb) && GetWindowRect(sb, &sbRect) && PtInRect(&sbRect, cursor)) {
      PostMessageA(sb, WM_SETCURSOR, wParam, lParam);
    } else {
      POINT pt = cursor;
      ScreenToClient(hwnd, &pt);
      RECT rc;
      GetClientRect(hwnd, &rc);
      const int row = CandidateRowAt({pt.x, pt.y}, {rc.right, rc.bottom}, CandLineHeight(), Edges());
      if (row >= 0) {
        const DWORD now = GetTickCount();
        ImeEngine& engine = *Module().engine;
        if (row == g_lastRow && now - g_lastTick < GetDoubleClickTime()) {
          g_lastRow = -1;
          engine.DetermineComposition(b.blocks, true);
          engine.EndDictionaryAccess();
        } else {
          g_lastRow = row;
          g_lastTick = now;
          engine.MoveCandidateSelection(b.blocks, 512 + row);
        }
      }
    }
  }
  ImmUnlockIMC(himc);
}

void OnScroll(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  HWND sb = reinterpret_cast<HWND>(lParam);
  if (sb) PostMessageA(sb, WM_LBUTTONUP, 0, 0);
  HIMC himc = UiContext(ChildUi(hwnd));
  LPINPUTCONTEXT ic = himc ? ImmLockIMC(himc) : nullptr;
  if (!ic) return;
  int move = 0;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: move = -6; break;
    case SB_LINEDOWN: move = -5; break;
    case SB_PAGEUP: move = -4; break;
    case SB_PAGEDOWN: move = -3; break;
    case SB_THUMBPOSITION: {
      RECT rc{};
      if (sb) GetClientRect(sb, &rc);
      POINT pt;
      GetCursorPos(&pt);
      if (sb) ScreenToClient(sb, &pt);
      move = ThumbCode(pt.y, rc.bottom, GetSystemMetrics(SM_CYVTHUMB), GetSystemMetrics(SM_CYVSCROLL));
      break;
    }
    default: move = 1000; break;
  }
  if (move != 1000) {
    LockedBlocks b(himc, ic);
    Module().engine->MoveCandidateSelection(b.blocks, move);
  }
  ImmUnlockIMC(himc);
}

BOOL CALLBACK RestoreScrollBar(HWND child, LPARAM) {
  if (g_scrollBarProc &&
      GetWindowLongPtrA(child, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(ScrollBarSubclassProc)) {
    SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_scrollBarProc));
  }
  return TRUE;
}

}  // namespace

bool CandidateListOpen(LPINPUTCONTEXT ic) {
  LockedBlocks b(nullptr, ic);
  return IsCandidateOpen(b.blocks);
}

void CreateCandWindow(UiPrivate& p, LPINPUTCONTEXT ic) {
  HWND cand = p.Window(kSlotCand);
  if (!cand || !IsWindow(cand)) {
    cand = CreateWindowExA(WS_EX_WINDOWEDGE, kCandClassName, "", WS_POPUP | WS_DISABLED | WS_DLGFRAME, 0, 0, 1, 1,
                           p.ui(), nullptr, Module().instance, nullptr);
    p[kSlotCand] = HandleSlot(cand);
    if (!cand) return;
    SetWindowLongPtrA(cand, kLongUiWindow, reinterpret_cast<LONG_PTR>(p.ui()));
  }
  {
    LockedBlocks b(nullptr, ic);
    if (b.blocks.cand && b.blocks.candSize >= kCandInfoSize) ContextScrollBar(cand, b.blocks.cand, true);
  }
  if (HWND comp = ShownCompWindow(p)) {
    RECT r;
    GetWindowRect(comp, &r);
    p[kSlotCandX] = static_cast<uint32_t>(r.left);
    p[kSlotCandY] = static_cast<uint32_t>(r.bottom + 1);
  }
  ShowWindow(cand, SW_HIDE);
  p[kSlotCandShown] = 0;
}

void SizeCandWindow(UiPrivate& p, LPINPUTCONTEXT ic) {
  HWND cand = p.Window(kSlotCand);
  if (!cand || !IsWindow(cand)) return;
  LockedBlocks b(nullptr, ic);
  if (!b.blocks.cand || b.blocks.candSize < kCandInfoSize) return;
  const ImeCandInfo& ci = *b.blocks.cand;
  const std::vector<std::string> strings = CandidateStrings(ci);
  CandFont font;
  MeasureDc dc(font.get());
  GdiMeasurer measure(dc.dc());
  const CandidateLayout l = LayoutCandidates(strings, ci.list.dwPageSize, measure, Edges());
  RECT now;
  GetWindowRect(cand, &now);
  if (now.right - now.left != l.window.cx || now.bottom - now.top != l.window.cy) {
    SetWindowPos(cand, nullptr, 0, 0, l.window.cx, l.window.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (IsWindowVisible(cand) && !strings.empty()) InvalidateRect(cand, nullptr, TRUE);
  }
  HWND sb = ContextScrollBar(cand, b.blocks.cand, l.scrollBar);
  if (!sb) return;
  if (l.scrollBar) {
    SetWindowPos(sb, nullptr, l.scrollRect.left, l.scrollRect.top, l.scrollRect.Width(), l.scrollRect.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetScrollRange(sb, SB_CTL, 0, l.rangeMax, FALSE);
  } else {
    ShowWindow(sb, SW_HIDE);
  }
}

void PlaceCandWindow(UiPrivate& p, HIMC himc, LPINPUTCONTEXT ic, int mode) {
  ImeModule& m = Module();
  if (mode == 1) {
    const bool caret = p[kSlotCompStyle] != 0 && !m.settings.indirectMode;
    HWND ref = caret ? p.Window(kSlotCaret) : p.Window(kSlotComp);
    if (!ref || !p[caret ? kSlotCaret + 1 : kSlotCompShown]) return;
    RECT wr;
    GetWindowRect(ref, &wr);
    Rect r = ToRect(wr);
    if (!caret) r = ExcludeAreaOfMainComp(r, DisplayLineHeight());
    RECT area{r.left, r.top, r.right, r.bottom};
    MapWindowPoints(nullptr, ic->hWnd, reinterpret_cast<POINT*>(&area), 2);
    CANDIDATEFORM cf{};
    cf.dwIndex = 0;
    cf.dwStyle = CFS_EXCLUDE;
    cf.ptCurrentPos = {area.left, area.top};
    cf.rcArea = area;
    ImmSetCandidateWindow(himc, &cf);
    return;
  }
  HWND cand = p.Window(kSlotCand);
  const bool open = CandidateListOpen(ic);
  const CANDIDATEFORM& form = ic->cfCandForm[0];
  Point at{0, 0};
  if (form.dwIndex != 0xFFFFFFFFu && (form.dwStyle & (CFS_CANDIDATEPOS | CFS_EXCLUDE)) && open) {
    CandidatePlacement cp;
    cp.style = static_cast<int>(form.dwStyle);
    POINT cur = form.ptCurrentPos;
    ClientToScreen(ic->hWnd, &cur);
    cp.current = {cur.x, cur.y};
    RECT area = form.rcArea;
    MapWindowPoints(ic->hWnd, nullptr, reinterpret_cast<POINT*>(&area), 2);
    cp.area = ToRect(area);
    cp.areaClientRight = form.rcArea.right;
    RECT app{};
    GetWindowRect(ic->hWnd, &app);
    cp.appWindowLeft = app.left;
    cp.vertical = p[kSlotVertical] != 0;
    RECT cr{};
    if (cand) GetWindowRect(cand, &cr);
    cp.window = {cr.right - cr.left, cr.bottom - cr.top};
    cp.work = WorkArea();
    const EdgeMetrics e = Edges();
    cp.cxEdge = e.cxEdge;
    cp.cyEdge = e.cyEdge;
    at = PlaceCandidateByForm(cp);
    if (cand && IsWindow(cand)) ShowAt(p, cand, at);
  } else {
    if (HWND comp = ShownCompWindow(p)) {
      RECT r;
      GetWindowRect(comp, &r);
      at = {r.left, r.bottom + 1};
    }
    p[kSlotCandX] = static_cast<uint32_t>(at.x);
    p[kSlotCandY] = static_cast<uint32_t>(at.y);
    if (cand && IsWindow(cand) && open) ShowAt(p, cand, at);
  }
  SendMessageA(p.ui(), WM_UI_CANDPOS, 0, MAKELPARAM(at.x, at.y));
}

void HideCandWindow(UiPrivate& p) {
  HWND cand = p.Window(kSlotCand);
  if (cand && IsWindow(cand)) {
    RECT r;
    GetWindowRect(cand, &r);
    p[kSlotCandX] = static_cast<uint32_t>(r.left);
    p[kSlotCandY] = static_cast<uint32_t>(r.top);
    ShowWindow(cand, SW_HIDE);
  }
  p[kSlotCandShown] = 0;
}

LRESULT CALLBACK CandWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SETCURSOR:
      if (HIWORD(lParam) == WM_LBUTTONDOWN) {
        OnClick(hwnd, wParam, lParam);
        return TRUE;
      }
      break;
    case WM_VSCROLL:
      OnScroll(hwnd, wParam, lParam);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      Paint(hwnd, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_MOVE:
      SendMessageA(ChildUi(hwnd), WM_UI_CANDPOS, wParam, lParam);
      return 0;
    case WM_DESTROY:
      EnumChildWindows(hwnd, RestoreScrollBar, 0);
      return 0;
    default:
      break;
  }
  if (IsImeMessage(msg)) return 0;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace ime

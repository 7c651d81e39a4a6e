#include "splitter.h"

#include <algorithm>

#include "frame.h"
#include "gdi.h"
#include "view.h"

namespace fw {

namespace {

RECT ToRect(const Box& b) { return RECT{b.left, b.top, b.right, b.bottom}; }
bool IsEmpty(const Box& b) { return b.right <= b.left || b.bottom <= b.top; }

// The 50 % grey of the tracking line, inverted onto the screen.
HBRUSH HalftoneBrush() {
  static HBRUSH brush = [] {
    const WORD bits[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, bits);
    HBRUSH b = CreatePatternBrush(pattern);
    DeleteObject(pattern);
    return b;
  }();
  return brush;
}

// Whether a window and its parents up to (not including) top are shown by
// their own style: a pane counts as shown before its frame is on the screen.
bool ShownBelow(HWND w, HWND top) {
  for (; w && w != top; w = GetParent(w))
    if (!(GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE)) return false;
  return w == top;
}

}  // namespace

SplitterWindow::SplitterWindow(const Module& module, SplitterMetrics metrics)
    : module_(module), geometry_(1, 1, metrics) {}

SplitterWindow::~SplitterWindow() = default;

bool SplitterWindow::MakeWindow(FrameWindow& frame, const PaneSite& site, int rows, int columns, DWORD style) {
  if (hwnd()) return false;
  frame_ = &frame;
  const DragRule rule = geometry_.dragRule();
  geometry_ = SplitterGeometry(rows, columns, geometry_.metrics());
  geometry_.SetDragRule(rule);
  const std::size_t cells = static_cast<std::size_t>(geometry_.rows() * geometry_.columns());
  panes_.clear();
  panes_.resize(cells);
  hiddenByLayout_.assign(cells, false);
  if (!EnsureWindowClass(module_, kClassName, 0, LoadCursor(nullptr, IDC_ARROW), nullptr)) return false;
  return Window::Create(module_, kClassName, L"", style | WS_CHILD | WS_CLIPCHILDREN, 0, site.rect, site.parent,
                        site.id) != nullptr;
}

bool SplitterWindow::CreateStatic(FrameWindow& frame, int rows, int columns, DWORD style, UINT id) {
  if (!frame.hwnd()) return false;
  PaneSite site{frame.hwnd(), id, {}};
  GetClientRect(frame.hwnd(), &site.rect);
  if (!MakeWindow(frame, site, rows, columns, style)) return false;
  frame.SetClientWindow(this);
  return true;
}

bool SplitterWindow::IsNested(int row, int column) const {
  return ValidCell(row, column) &&
         dynamic_cast<SplitterWindow*>(panes_[static_cast<std::size_t>(CellIndex(row, column))].get()) != nullptr;
}

void SplitterWindow::SetIdeal(int row, int column, SIZE ideal) {
  if (ideal.cx >= 0) geometry_.SetColumnInfo(column, ideal.cx, geometry_.Column(column).minimum);
  if (ideal.cy >= 0) geometry_.SetRowInfo(row, ideal.cy, geometry_.Row(row).minimum);
  RECT c{};
  GetClientRect(hwnd(), &c);
  geometry_.Layout(c.right, c.bottom);
}

PaneSite SplitterWindow::SiteOf(int row, int column) const {
  return PaneSite{hwnd(), IdFromRowCol(row, column), ToRect(geometry_.PaneRect(row, column, IsNested(row, column)))};
}

Window* SplitterWindow::CreatePane(int row, int column, SIZE ideal, const PaneFactory& make) {
  if (!hwnd() || !frame_ || !ValidCell(row, column) || !make) return nullptr;
  auto& slot = panes_[static_cast<std::size_t>(CellIndex(row, column))];
  if (slot) return nullptr;  // a cell's pane is made once
  SetIdeal(row, column, ideal);
  std::unique_ptr<Window> pane = make(*frame_, SiteOf(row, column));
  if (!pane || !pane->hwnd() || GetParent(pane->hwnd()) != hwnd()) return nullptr;
  slot = std::move(pane);
  RecalcLayout();
  return slot.get();
}

SplitterWindow* SplitterWindow::CreateNested(int row, int column, int rows, int columns, SIZE ideal,
                                             SplitterMetrics metrics) {
  if (!hwnd() || !frame_ || !ValidCell(row, column)) return nullptr;
  auto& slot = panes_[static_cast<std::size_t>(CellIndex(row, column))];
  if (slot) return nullptr;
  SetIdeal(row, column, ideal);
  auto inner = std::make_unique<SplitterWindow>(module_, metrics);
  inner->outer_ = this;
  PaneSite site{hwnd(), IdFromRowCol(row, column), ToRect(geometry_.PaneRect(row, column, true))};
  if (!inner->MakeWindow(*frame_, site, rows, columns, WS_CHILD | WS_VISIBLE)) return nullptr;
  SplitterWindow* made = inner.get();
  slot = std::move(inner);
  RecalcLayout();
  return made;
}

Window* SplitterWindow::GetPane(int row, int column) const {
  return ValidCell(row, column) ? panes_[static_cast<std::size_t>(CellIndex(row, column))].get() : nullptr;
}

bool SplitterWindow::IsChildPane(HWND window, int* row, int* column) const {
  if (!window) return false;
  for (int r = 0; r < geometry_.rows(); ++r) {
    for (int c = 0; c < geometry_.columns(); ++c) {
      const Window* pane = GetPane(r, c);
      if (pane && pane->hwnd() == window) {
        if (row) *row = r;
        if (column) *column = c;
        return true;
      }
    }
  }
  return false;
}

void SplitterWindow::SetRowInfo(int row, int ideal, int minimum) { geometry_.SetRowInfo(row, ideal, minimum); }
void SplitterWindow::SetColumnInfo(int column, int ideal, int minimum) {
  geometry_.SetColumnInfo(column, ideal, minimum);
}

void SplitterWindow::RecalcLayout() {
  if (!hwnd()) return;
  View* active = GetActivePane();
  const bool hadFocus = active && active->hwnd() && GetFocus() == active->hwnd();
  RECT client{};
  GetClientRect(hwnd(), &client);
  geometry_.Layout(client.right, client.bottom);
  HDWP defer = BeginDeferWindowPos(static_cast<int>(panes_.size()));
  for (int r = 0; r < geometry_.rows(); ++r) {
    for (int c = 0; c < geometry_.columns(); ++c) {
      const std::size_t i = static_cast<std::size_t>(CellIndex(r, c));
      HWND w = panes_[i] ? panes_[i]->hwnd() : nullptr;
      if (!w) continue;
      const Box b = geometry_.PaneRect(r, c, IsNested(r, c));
      UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
      if (IsEmpty(b)) {
        // A collapsed track: its pane goes out of sight until it comes back.
        if (!(GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE)) continue;
        flags |= SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW;
        hiddenByLayout_[i] = true;
      } else if (hiddenByLayout_[i]) {
        flags |= SWP_SHOWWINDOW;
        hiddenByLayout_[i] = false;
      }
      if (defer) defer = DeferWindowPos(defer, w, nullptr, b.left, b.top, b.right - b.left, b.bottom - b.top, flags);
      if (!defer) SetWindowPos(w, nullptr, b.left, b.top, b.right - b.left, b.bottom - b.top, flags);
    }
  }
  if (defer) EndDeferWindowPos(defer);
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE);
  // The active pane collapsed: the next shown one takes over.
  if (active && frame_ && !ShownBelow(active->hwnd(), frame_->hwnd())) MoveActivation(active, false, hadFocus);
}

bool SplitterWindow::MoveActivation(View* from, bool backwards, bool focus) {
  if (!frame_) return false;
  const std::vector<View*> views = PaneViews();
  std::unique_ptr<bool[]> shown(new bool[views.size() + 1]);
  int current = -1;
  for (std::size_t k = 0; k < views.size(); ++k) {
    shown[k] = ShownBelow(views[k]->hwnd(), frame_->hwnd());
    if (views[k] == from) current = static_cast<int>(k);
  }
  const int next = NextPane(std::span<const bool>(shown.get(), views.size()), current, backwards);
  if (next < 0) return false;
  frame_->SetActiveView(views[static_cast<std::size_t>(next)], focus);
  return true;
}

View* SplitterWindow::GetActivePane(int* row, int* column) const {
  View* active = frame_ ? frame_->ActiveView() : nullptr;
  if (!active) return nullptr;
  for (int r = 0; r < geometry_.rows(); ++r) {
    for (int c = 0; c < geometry_.columns(); ++c) {
      Window* pane = GetPane(r, c);
      if (!pane) continue;
      auto* inner = dynamic_cast<SplitterWindow*>(pane);
      if (pane == active || (inner && inner->GetActivePane())) {
        if (row) *row = r;
        if (column) *column = c;
        return active;
      }
    }
  }
  return nullptr;
}

bool SplitterWindow::SetActivePane(int row, int column) {
  Window* pane = GetPane(row, column);
  if (!pane || !frame_) return false;
  View* view = nullptr;
  if (auto* inner = dynamic_cast<SplitterWindow*>(pane)) {
    for (View* v : inner->PaneViews()) {
      if (ShownBelow(v->hwnd(), frame_->hwnd())) {
        view = v;
        break;
      }
    }
  } else {
    view = dynamic_cast<View*>(pane);
  }
  if (!view || !view->hwnd()) return false;
  frame_->SetActiveView(view, true);
  return true;
}

std::vector<View*> SplitterWindow::PaneViews() const {
  std::vector<View*> views;
  for (const auto& pane : panes_) {
    if (auto* inner = dynamic_cast<SplitterWindow*>(pane.get())) {
      const std::vector<View*> more = inner->PaneViews();
      views.insert(views.end(), more.begin(), more.end());
    } else if (auto* view = dynamic_cast<View*>(pane.get()); view && view->hwnd()) {
      views.push_back(view);
    }
  }
  return views;
}

int SplitterWindow::ShownPaneCount() const {
  if (!frame_) return 0;
  int n = 0;
  for (View* v : PaneViews()) n += ShownBelow(v->hwnd(), frame_->hwnd()) ? 1 : 0;
  return n;
}

bool SplitterWindow::ActivateNext(bool previous) {
  return frame_ && MoveActivation(frame_->ActiveView(), previous, true);
}

void SplitterWindow::SetBarCursor(BarHit hit) const {
  const LPCSTR shape = hit.row >= 0 && hit.column >= 0 ? IDC_SIZEALL : hit.row >= 0 ? IDC_SIZENS : IDC_SIZEWE;
  SetCursor(LoadCursorA(nullptr, shape));
}

void SplitterWindow::ShowTracker() {
  HDC dc = GetDCEx(hwnd(), nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
  if (!dc) return;
  const int bar = geometry_.metrics().bar;
  const int width = geometry_.width(), height = geometry_.height();
  HGDIOBJ old = SelectObject(dc, HalftoneBrush());
  if (drag_.bar.row >= 0) PatBlt(dc, 0, drag_.rowAt, width, bar, PATINVERT);
  if (drag_.bar.column >= 0) {
    if (drag_.bar.row >= 0) {
      // Not twice over the crossing: that would invert it back.
      PatBlt(dc, drag_.columnAt, 0, bar, drag_.rowAt, PATINVERT);
      PatBlt(dc, drag_.columnAt, drag_.rowAt + bar, bar, height - drag_.rowAt - bar, PATINVERT);
    } else {
      PatBlt(dc, drag_.columnAt, 0, bar, height, PATINVERT);
    }
  }
  SelectObject(dc, old);
  ReleaseDC(hwnd(), dc);
  drag_.lineShown = !drag_.lineShown;
}

void SplitterWindow::BeginDrag(int x, int y, BarHit hit) {
  drag_ = Drag{};
  drag_.bar = hit;
  drag_.rowAt = hit.row >= 0 ? geometry_.BarPosition(Axis::kRows, hit.row) : 0;
  drag_.columnAt = hit.column >= 0 ? geometry_.BarPosition(Axis::kColumns, hit.column) : 0;
  drag_.grab = POINT{x - drag_.columnAt, y - drag_.rowAt};
  drag_.rowsBefore = geometry_.Tracks(Axis::kRows);
  drag_.columnsBefore = geometry_.Tracks(Axis::kColumns);
  drag_.focusBefore = GetFocus();
  drag_.active = true;
  SetCapture(hwnd());
  SetFocus(hwnd());  // Esc cancels the drag
  SetBarCursor(hit);
  if (tracking_ == Tracking::kLine) ShowTracker();
}

void SplitterWindow::MoveDrag(int x, int y) {
  SetBarCursor(drag_.bar);
  int rowAt = drag_.rowAt, columnAt = drag_.columnAt;
  if (drag_.bar.row >= 0) rowAt = geometry_.ClampDrag(Axis::kRows, drag_.bar.row, y - drag_.grab.y);
  if (drag_.bar.column >= 0) columnAt = geometry_.ClampDrag(Axis::kColumns, drag_.bar.column, x - drag_.grab.x);
  if (rowAt == drag_.rowAt && columnAt == drag_.columnAt) return;
  if (tracking_ == Tracking::kLine) {
    if (drag_.lineShown) ShowTracker();
    drag_.rowAt = rowAt;
    drag_.columnAt = columnAt;
    ShowTracker();
    return;
  }
  drag_.rowAt = rowAt;
  drag_.columnAt = columnAt;
  if (drag_.bar.row >= 0) geometry_.EndDrag(Axis::kRows, drag_.bar.row, rowAt);
  if (drag_.bar.column >= 0) geometry_.EndDrag(Axis::kColumns, drag_.bar.column, columnAt);
  RecalcLayout();
  UpdateWindow(hwnd());
}

void SplitterWindow::EndDrag(bool apply) {
  if (!drag_.active) return;
  if (drag_.lineShown) ShowTracker();
  const Drag d = drag_;
  drag_.active = false;  // before the capture goes, which tells this window again
  if (GetCapture() == hwnd()) ReleaseCapture();
  if (apply) {
    if (d.bar.row >= 0) geometry_.EndDrag(Axis::kRows, d.bar.row, d.rowAt);
    if (d.bar.column >= 0) geometry_.EndDrag(Axis::kColumns, d.bar.column, d.columnAt);
  } else {
    // A cancelled drag: the sizes as they were when it began.
    for (std::size_t i = 0; i < d.rowsBefore.size(); ++i)
      geometry_.SetRowInfo(static_cast<int>(i), d.rowsBefore[i].ideal, d.rowsBefore[i].minimum);
    for (std::size_t i = 0; i < d.columnsBefore.size(); ++i)
      geometry_.SetColumnInfo(static_cast<int>(i), d.columnsBefore[i].ideal, d.columnsBefore[i].minimum);
  }
  RecalcLayout();
  View* active = GetActivePane();
  if (d.focusBefore && IsWindow(d.focusBefore) && d.focusBefore != hwnd() && IsWindowVisible(d.focusBefore)) {
    SetFocus(d.focusBefore);
  } else if (active && active->hwnd()) {
    SetFocus(active->hwnd());
  }
}

void SplitterWindow::OnDraw(HDC dc) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  const int border = geometry_.metrics().border;
  if (border <= 0) return;
  for (int r = 0; r < geometry_.rows(); ++r) {
    for (int c = 0; c < geometry_.columns(); ++c) {
      if (!GetPane(r, c) || IsNested(r, c)) continue;
      const Box cell = geometry_.Cell(r, c);
      if (IsEmpty(cell)) continue;
      RECT rc = ToRect(cell);
      if (border >= 2) {
        DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT);
      } else {
        FrameRect(dc, &rc, GetSysColorBrush(COLOR_BTNSHADOW));
      }
    }
  }
}

bool SplitterWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const auto x = static_cast<short>(LOWORD(lParam));
  const auto y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_SIZE:
      RecalcLayout();
      result = 0;
      return true;
    case WM_ERASEBKGND:
      result = 1;  // the paint covers everything
      return true;
    case WM_PAINT: {
      PaintDc dc(hwnd());
      if (dc.get()) OnDraw(dc.get());
      result = 0;
      return true;
    }
    case WM_SETCURSOR: {
      // Over a pane the pane's own cursor; over a bar the bar's.
      if (reinterpret_cast<HWND>(wParam) != hwnd() || LOWORD(lParam) != HTCLIENT) return false;
      POINT p{};
      GetCursorPos(&p);
      ScreenToClient(hwnd(), &p);
      const BarHit hit = drag_.active ? drag_.bar : geometry_.HitTest(p.x, p.y);
      if (!hit.any()) return false;
      SetBarCursor(hit);
      result = TRUE;
      return true;
    }
    case WM_LBUTTONDOWN: {
      const BarHit hit = geometry_.HitTest(x, y);
      if (hit.any() && !drag_.active) BeginDrag(x, y, hit);
      result = 0;
      return true;
    }
    case WM_MOUSEMOVE:
      if (drag_.active) MoveDrag(x, y);
      result = 0;
      return true;
    case WM_LBUTTONUP:
      if (drag_.active) EndDrag(true);
      result = 0;
      return true;
    case WM_KEYDOWN:
      if (drag_.active && wParam == VK_ESCAPE) {
        EndDrag(false);
        result = 0;
        return true;
      }
      return false;
    case WM_CAPTURECHANGED:
      if (drag_.active && reinterpret_cast<HWND>(lParam) != hwnd()) EndDrag(false);
      return false;
    case WM_CANCELMODE:
      if (drag_.active) EndDrag(false);
      return false;
    case WM_SETFOCUS:
      if (!drag_.active) {
        View* active = GetActivePane();
        if (active && active->hwnd()) {
          SetFocus(active->hwnd());
        } else {
          MoveActivation(nullptr, false, true);  // the first shown pane
        }
      }
      result = 0;
      return true;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR: {
      // What a pane's object did not take goes on to the frame, as if the
      // pane were the frame's own child.
      HWND parent = GetParent(hwnd());
      if (!parent) return false;
      result = SendMessageW(parent, message, wParam, lParam);
      return true;
    }
    case WM_DESTROY:
      if (drag_.active) EndDrag(false);
      if (frame_ && frame_->ClientWindow() == this) frame_->SetClientWindow(nullptr);
      return false;
    default:
      return false;
  }
}

}  // namespace fw

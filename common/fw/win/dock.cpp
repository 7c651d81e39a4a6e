// The frame's side of its control bars (layout, showing and hiding, menu
// prompts, idle update) and the floating bar's window.
#include "dock.h"

#include <algorithm>
#include <string>

#include "bar_layout.h"
#include "bar_resource.h"
#include "frame.h"
#include "statusbar.h"
#include "toolbar.h"
#include "view.h"

namespace fw {

namespace {

constexpr wchar_t kFloatingClass[] = L"fw.FloatingBar";

void MoveTo(HDWP& defer, HWND w, const Box& b) {
  if (!w) return;
  const int cx = std::max(0, b.right - b.left), cy = std::max(0, b.bottom - b.top);
  if (defer) defer = DeferWindowPos(defer, w, nullptr, b.left, b.top, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
  if (!defer) SetWindowPos(w, nullptr, b.left, b.top, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The height of a shown child that sizes itself (a status control made
// without an object of this layer). Shown by its own style: the frame is
// laid out before it is visible itself.
int SelfSizedHeight(HWND bar) {
  if (!bar || !(GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE)) return 0;
  SendMessageW(bar, WM_SIZE, 0, 0);
  RECT r{};
  GetWindowRect(bar, &r);
  return r.bottom - r.top;
}

bool IsStatusBar(const StatusBar* bar, unsigned id) {
  return bar && bar->hwnd() && static_cast<unsigned>(GetDlgCtrlID(bar->hwnd())) == id;
}

}  // namespace

// ---- the frame ------------------------------------------------------------

void FrameWindow::AddToolBar(ToolBar& bar) {
  if (std::find(toolBars_.begin(), toolBars_.end(), &bar) == toolBars_.end()) toolBars_.push_back(&bar);
}

void FrameWindow::RemoveToolBar(ToolBar& bar) { std::erase(toolBars_, &bar); }

ToolBar* FrameWindow::FindToolBar(UINT id) const {
  for (ToolBar* bar : toolBars_)
    if (bar->id() == id) return bar;
  return nullptr;
}

void FrameWindow::LayOutControlBars(HWND client) {
  RECT c{};
  GetClientRect(hwnd(), &c);
  std::vector<DockedBar> docked;
  std::vector<HWND> windows;
  for (ToolBar* bar : toolBars_) {
    if (!bar->hwnd() || bar->side() == DockSide::kFloat || !bar->IsShown()) continue;
    docked.push_back({bar->side(), bar->Thickness()});
    windows.push_back(bar->hwnd());
  }
  // A bar child made without an object of this layer sits at the top.
  HWND plainToolBar = GetDlgItem(hwnd(), kToolBarId);
  if (plainToolBar && !Window::FromHandle(plainToolBar)) {
    docked.push_back({DockSide::kTop, SelfSizedHeight(plainToolBar)});
    windows.push_back(nullptr);
  }
  HWND status = statusBar_ ? statusBar_->hwnd() : GetDlgItem(hwnd(), kStatusBarId);
  const int statusHeight = SelfSizedHeight(status);
  const BarLayout layout = LayOutBars({0, 0, c.right, c.bottom}, docked, statusHeight);
  HDWP defer = BeginDeferWindowPos(static_cast<int>(windows.size()) + 2);
  for (std::size_t i = 0; i < windows.size(); ++i) MoveTo(defer, windows[i], layout.bars[i]);
  if (client) MoveTo(defer, client, layout.view);
  if (defer) EndDeferWindowPos(defer);
  if (statusBar_ && statusHeight) statusBar_->SizePanes();
}

bool FrameWindow::ShowControlBar(UINT id, bool show) {
  if (ToolBar* bar = FindToolBar(id)) {
    bar->Show(show);
  } else if (IsStatusBar(statusBar_, id)) {
    ShowWindow(statusBar_->hwnd(), show ? SW_SHOWNA : SW_HIDE);
  } else {
    return false;
  }
  RecalcLayout();
  return true;
}

bool FrameWindow::IsControlBarShown(UINT id) const {
  if (ToolBar* bar = FindToolBar(id)) return bar->IsShown();
  if (IsStatusBar(statusBar_, id)) return statusBar_->IsShown();
  return false;
}

bool FrameWindow::OnBarCommand(unsigned id) {
  if (!FindToolBar(id) && !IsStatusBar(statusBar_, id)) return false;
  ShowControlBar(id, !IsControlBarShown(id));
  return true;
}

bool FrameWindow::OnUpdateBarCommand(unsigned id, CommandState& state) {
  if (!FindToolBar(id) && !IsStatusBar(statusBar_, id)) return false;
  state.checked = IsControlBarShown(id);
  return true;
}

void FrameWindow::ShowPrompt(unsigned commandId) {
  if (!statusBar_) return;
  if (commandId == 0) {
    statusBar_->ShowIdleMessage();
    return;
  }
  const std::wstring full = module_.String(commandId);
  const CommandTexts texts = SplitCommandString(std::u16string(full.begin(), full.end()));
  statusBar_->SetMessage(std::wstring(texts.prompt.begin(), texts.prompt.end()));
}

void FrameWindow::OnIdleUpdateUi() {
  for (ToolBar* bar : toolBars_) bar->UpdateUi(*this);
  if (statusBar_) statusBar_->UpdateUi(*this);
}

bool FrameWindow::OnBarMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message != WM_MENUSELECT || !statusBar_) return false;
  const UINT flags = HIWORD(wParam);
  if (flags == 0xFFFF && lParam == 0) {
    ShowPrompt(0);  // the menu closed
  } else if (flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)) {
    statusBar_->SetMessage({});
  } else {
    ShowPrompt(LOWORD(wParam));
  }
  result = 0;
  return true;
}

// ---- the floating window ----------------------------------------------------

bool FloatingBarWindow::Create(HWND owner, POINT topLeft) {
  const Module module = bar_.module();
  if (!EnsureWindowClass(module, kFloatingClass, CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW),
                         reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
    return false;
  wchar_t title[128]{};
  GetWindowTextW(bar_.hwnd(), title, 128);
  const RECT r{topLeft.x, topLeft.y, topLeft.x + 100, topLeft.y + 40};
  if (!Window::Create(module, kFloatingClass, title, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                      WS_EX_TOOLWINDOW, r, owner))
    return false;
  return true;
}

void FloatingBarWindow::FitBar() {
  const SIZE s = bar_.Extent(false);
  RECT r{0, 0, s.cx, s.cy};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(hwnd(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(hwnd(), GWL_EXSTYLE)));
  SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(bar_.hwnd(), nullptr, 0, 0, s.cx, s.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool FloatingBarWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
      // Whatever the bar does not take goes on to the frame.
      if (bar_.frame()) result = SendMessageW(bar_.frame()->hwnd(), message, wParam, lParam);
      return true;
    case WM_CLOSE:
      if (bar_.frame()) bar_.frame()->ShowControlBar(bar_.id(), false);
      result = 0;
      return true;
    case WM_NCLBUTTONDBLCLK:
      if (wParam != HTCAPTION) return false;
      bar_.Dock(bar_.lastDocked_);
      result = 0;
      return true;
    case WM_MOVING:
      moved_ = true;
      return false;
    case WM_EXITSIZEMOVE:
      // Let go over an edge of the frame: docked there.
      if (moved_) {
        moved_ = false;
        POINT p{};
        GetCursorPos(&p);
        bar_.DropAt(p);
      }
      result = 0;
      return true;
    case WM_MOUSEACTIVATE:
      result = MA_NOACTIVATE;
      return true;
    default:
      return false;
  }
}

}  // namespace fw

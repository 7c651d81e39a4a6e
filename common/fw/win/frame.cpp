#include "frame.h"

#include "document.h"
#include "splitter.h"
#include "view.h"

namespace fw {

namespace {

constexpr wchar_t kFrameClass[] = L"fw.FrameWindow";

bool EnsureFrameClass(const Module& module) {
  return Window::EnsureWindowClass(module, kFrameClass, CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW),
                                   reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

}  // namespace

FrameWindow::~FrameWindow() {
  if (hwnd()) SetMessageFilter(hwnd(), nullptr);
}

HWND FrameWindow::CreateFrame(const std::wstring& programName, unsigned menuId, unsigned acceleratorId, DWORD style,
                              const RECT* place) {
  programName_ = programName;
  if (!EnsureFrameClass(module_)) return nullptr;
  const int x = place ? place->left : CW_USEDEFAULT;
  const int y = place ? place->top : CW_USEDEFAULT;
  const int cx = place ? place->right - place->left : CW_USEDEFAULT;
  const int cy = place ? place->bottom - place->top : CW_USEDEFAULT;
  HMENU menu = menuId ? LoadMenuW(module_.handle(), MAKEINTRESOURCEW(menuId)) : nullptr;
  HWND w = CreateWindowExW(0, kFrameClass, programName.c_str(), style, x, y, cx, cy, nullptr, menu, module_.handle(),
                           static_cast<Window*>(this));
  if (!w) {
    if (menu) DestroyMenu(menu);
    return nullptr;
  }
  if (acceleratorId) accelerators_ = LoadAcceleratorsW(module_.handle(), MAKEINTRESOURCEW(acceleratorId));
  SetMessageFilter(w, this);
  return w;
}

void FrameWindow::SetActiveView(View* view, bool focus) {
  if (view != view_) {
    View* before = view_;
    view_ = view;
    if (before) before->OnActivateView(false, view);
    if (view) view->OnActivateView(true, before);
  }
  if (!client_) RecalcLayout();
  if (focus && view && view->hwnd() && GetFocus() != view->hwnd()) SetFocus(view->hwnd());
}

void FrameWindow::SetClientWindow(Window* client) {
  client_ = client;
  RecalcLayout();
}

bool FrameWindow::OnCommand(unsigned id) {
  if (id == cmd::kNextPane || id == cmd::kPrevPane) {
    auto* splitter = dynamic_cast<SplitterWindow*>(client_);
    if (splitter) splitter->ActivateNext(id == cmd::kPrevPane);
    return splitter != nullptr;
  }
  return OnBarCommand(id);
}

bool FrameWindow::OnUpdateCommand(unsigned id, CommandState& state) {
  if (id == cmd::kNextPane || id == cmd::kPrevPane) {
    auto* splitter = dynamic_cast<SplitterWindow*>(client_);
    if (!splitter) return false;
    state.enabled = splitter->ShownPaneCount() > 1;
    return true;
  }
  return OnUpdateBarCommand(id, state);
}

bool FrameWindow::RouteCommand(unsigned id) {
  if (FrameFirst(id)) {
    CommandTarget* own[] = {this, App::Current()};
    return fw::RouteCommand(own, id);
  }
  CommandTarget* chain[] = {view_, view_ ? &view_->document() : nullptr, this, App::Current()};
  return fw::RouteCommand(chain, id);
}

CommandState FrameWindow::QueryCommand(unsigned id) {
  if (FrameFirst(id)) {
    CommandTarget* own[] = {this, App::Current()};
    return fw::QueryCommand(own, id);
  }
  CommandTarget* chain[] = {view_, view_ ? &view_->document() : nullptr, this, App::Current()};
  return fw::QueryCommand(chain, id);
}

void FrameWindow::UpdateMenuItems(HMENU popup) {
  const int count = GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    const UINT id = GetMenuItemID(popup, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators and submenus
    const CommandState s = QueryCommand(id);
    EnableMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | (s.enabled ? MF_ENABLED : MF_GRAYED));
    if (s.checked) CheckMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | (*s.checked ? MF_CHECKED : MF_UNCHECKED));
    if (s.text) {
      std::wstring text(s.text->begin(), s.text->end());
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_STRING;
      info.dwTypeData = text.data();
      SetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &info);
    }
  }
}

void FrameWindow::ActivateFrame(int showCommand) {
  ShowWindow(hwnd(), showCommand);
  UpdateWindow(hwnd());
}

void FrameWindow::UpdateFrameTitle() {
  if (!hwnd()) return;
  std::u16string title(programName_.begin(), programName_.end());
  if (view_ && documentInTitle_) {
    const std::u16string& doc = view_->document().Title();
    title = FrameTitle(doc, title);
  }
  SetWindowTextW(hwnd(), std::wstring(title.begin(), title.end()).c_str());
}

void FrameWindow::RecalcLayout() {
  if (!hwnd()) return;
  Window* client = client_ ? client_ : view_;
  LayOutControlBars(client ? client->hwnd() : nullptr);
}

bool FrameWindow::PreTranslateMessage(MSG& msg) {
  if (!accelerators_ || msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  return TranslateAcceleratorW(hwnd(), accelerators_, &msg) != 0;
}

bool FrameWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (OnBarMessage(message, wParam, lParam, result)) return true;
  switch (message) {
    case WM_COMMAND:
      // Menus (0), accelerators (1) and tool-bar buttons (BN_CLICKED, 0).
      if (HIWORD(wParam) > 1) return false;
      if (RouteCommand(LOWORD(wParam))) {
        result = 0;
        return true;
      }
      return false;
    case WM_INITMENUPOPUP:
      if (HIWORD(lParam)) return false;  // the system menu
      UpdateMenuItems(reinterpret_cast<HMENU>(wParam));
      result = 0;
      return true;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) RecalcLayout();
      result = 0;
      return true;
    case WM_SETFOCUS:
      if (view_ && view_->hwnd()) {
        SetFocus(view_->hwnd());
        result = 0;
        return true;
      }
      return false;
    case WM_CLOSE: {
      App* app = App::Current();
      if (app && app->MainWindow() == hwnd()) {
        app->CloseMainWindow();
      } else {
        DestroyWindow(hwnd());
      }
      result = 0;
      return true;
    }
    case WM_DESTROY: {
      SetMessageFilter(hwnd(), nullptr);
      App* app = App::Current();
      if (app && app->MainWindow() == hwnd()) {
        app->SetMainWindow(nullptr);
        PostQuitMessage(0);
      }
      return false;
    }
    default:
      return false;
  }
}

}  // namespace fw

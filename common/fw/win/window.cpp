#include "window.h"

#include <cstdio>
#include <string>
#include <vector>

#include "layout.h"
#include "message_route.h"

namespace fw {

namespace {

// The property that holds the object: named after this module, so that two
// modules of one process that both carry this layer (an input method and a
// library it opens, inside one host) never take each other's objects.
const wchar_t* PropertyName() {
  static const std::wstring name = [] {
    wchar_t buf[48];
    static const int anchor = 0;
    std::swprintf(buf, 48, L"fw.Window.%p", static_cast<const void*>(&anchor));
    return std::wstring(buf);
  }();
  return name.c_str();
}

int g_attached = 0;
thread_local int t_depth = 0;
thread_local std::vector<Window*>* t_deferred = nullptr;

void RunDeferred() {
  while (t_deferred && !t_deferred->empty()) {
    Window* w = t_deferred->back();
    t_deferred->pop_back();
    delete w;
  }
  delete t_deferred;
  t_deferred = nullptr;
}

}  // namespace

Window::DispatchScope::DispatchScope() { ++t_depth; }
Window::DispatchScope::~DispatchScope() {
  if (--t_depth == 0) RunDeferred();
}

void Window::DeleteLater(Window* object) {
  if (!object) return;
  if (t_depth == 0) {
    delete object;
    return;
  }
  if (!t_deferred) t_deferred = new std::vector<Window*>;
  t_deferred->push_back(object);
}

int AttachedWindowCount() { return g_attached; }

void KeepInWorkArea(HWND hwnd) {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  RECT r{};
  if (!GetWindowRect(hwnd, &r) || !GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi)) return;
  const Box moved = MoveInto({r.left, r.top, r.right, r.bottom},
                             {mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom});
  if (moved.left != r.left || moved.top != r.top)
    SetWindowPos(hwnd, nullptr, moved.left, moved.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Window::~Window() { Detach(); }

Window* Window::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  return static_cast<Window*>(GetPropW(hwnd, PropertyName()));
}

void Window::Attach(HWND hwnd, Kind kind) {
  hwnd_ = hwnd;
  kind_ = kind;
  unicode_ = IsWindowUnicode(hwnd) != FALSE;
  SetPropW(hwnd, PropertyName(), this);
  ++g_attached;
}

void Window::Detach() {
  if (!hwnd_) return;
  if (kind_ == Kind::kSubclass && previous_) {
    if (unicode_) SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    else SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  }
  RemovePropW(hwnd_, PropertyName());
  hwnd_ = nullptr;
  previous_ = nullptr;
  kind_ = Kind::kNone;
  --g_attached;
}

namespace {
ATOM Register(const WNDCLASSW& wc) { return RegisterClassW(&wc); }
ATOM Register(const WNDCLASSA& wc) { return RegisterClassA(&wc); }

template <typename WndClass, typename Char>
ATOM RegisterWith(const Module& module, const Char* name, UINT style, HCURSOR cursor, HBRUSH background,
                  WNDPROC proc) {
  WndClass wc{};
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = module.handle();
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return Register(wc);
}
}  // namespace

ATOM Window::RegisterWindowClass(const Module& module, const wchar_t* name, UINT style, HCURSOR cursor,
                                 HBRUSH background, bool unicode) {
  if (unicode) return RegisterWith<WNDCLASSW>(module, name, style, cursor, background, ClassProc);
  const std::string ansi = ToCodePage(CP_ACP, name);
  return RegisterWith<WNDCLASSA>(module, ansi.c_str(), style, cursor, background, ClassProc);
}

bool Window::EnsureWindowClass(const Module& module, const wchar_t* name, UINT style, HCURSOR cursor,
                               HBRUSH background) {
  WNDCLASSW existing{};
  if (GetClassInfoW(module.handle(), name, &existing)) return true;
  return RegisterWindowClass(module, name, style, cursor, background) != 0;
}

HWND Window::Create(const Module& module, const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                    const RECT& r, HWND parent, UINT id) {
  return CreateWindowExW(exStyle, className, title, style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), module.handle(), this);
}

bool Window::Subclass(HWND hwnd) {
  if (!hwnd || hwnd_ || FromHandle(hwnd)) return false;
  Attach(hwnd, Kind::kSubclass);
  const LONG_PTR proc = reinterpret_cast<LONG_PTR>(SubclassProc);
  previous_ = reinterpret_cast<WNDPROC>(unicode_ ? SetWindowLongPtrW(hwnd, GWLP_WNDPROC, proc)
                                                 : SetWindowLongPtrA(hwnd, GWLP_WNDPROC, proc));
  if (!previous_) {
    Detach();
    return false;
  }
  return true;
}

void Window::Unsubclass() {
  if (kind_ == Kind::kSubclass) Detach();
}

bool Window::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
bool Window::OnReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT Window::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (kind_) {
    case Kind::kSubclass:
      return unicode_ ? CallWindowProcW(previous_, hwnd_, message, wParam, lParam)
                      : CallWindowProcA(previous_, hwnd_, message, wParam, lParam);
    case Kind::kClass:
      return unicode_ ? DefWindowProcW(hwnd_, message, wParam, lParam) : DefWindowProcA(hwnd_, message, wParam, lParam);
    default:
      return 0;  // a dialog's default is the dialog manager's, after its procedure returns
  }
}

Window* ReflectionTarget(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND child = nullptr;
  switch (ReflectionSource(message, wParam, lParam)) {
    case ChildFrom::kNone:
      return nullptr;
    case ChildFrom::kLParam:
      child = reinterpret_cast<HWND>(lParam);
      break;
    case ChildFrom::kNotifyHeader:
      child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
      break;
    case ChildFrom::kDrawItem: {
      const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (d->CtlType == ODT_MENU) return nullptr;
      child = d->hwndItem;
      break;
    }
    case ChildFrom::kMeasureItem: {
      const auto* m = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
      if (!m || m->CtlType == ODT_MENU) return nullptr;
      child = GetDlgItem(parent, static_cast<int>(wParam));
      break;
    }
  }
  // Only the window's own children: a page also hears from its sheet.
  if (!child || child == parent || GetParent(child) != parent) return nullptr;
  return Window::FromHandle(child);
}

bool Window::Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept {
  try {
    OnBeforeMessage(message, wParam, lParam);
    if (Window* child = ReflectionTarget(hwnd_, message, wParam, lParam)) {
      if (child->OnReflected(message, wParam, lParam, result)) return true;
    }
    return OnMessage(message, wParam, lParam, result);
  } catch (...) {
    return false;  // the message then gets its default handling
  }
}

LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  DispatchScope scope;
  LRESULT result = 0;
  if (!Route(message, wParam, lParam, result)) result = CallDefault(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    Detach();
    OnFinalMessage();
  }
  return result;
}

LRESULT CALLBACK Window::ClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = FromHandle(hwnd);
  if (!self && message == WM_NCCREATE) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    self = static_cast<Window*>(cs->lpCreateParams);
    if (self) self->Attach(hwnd, Kind::kClass);
  }
  if (!self) {
    return IsWindowUnicode(hwnd) ? DefWindowProcW(hwnd, message, wParam, lParam)
                                 : DefWindowProcA(hwnd, message, wParam, lParam);
  }
  return self->Dispatch(message, wParam, lParam);
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = FromHandle(hwnd);
  if (!self) {
    return IsWindowUnicode(hwnd) ? DefWindowProcW(hwnd, message, wParam, lParam)
                                 : DefWindowProcA(hwnd, message, wParam, lParam);
  }
  return self->Dispatch(message, wParam, lParam);
}

}  // namespace fw

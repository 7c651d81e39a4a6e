// One C++ object per window, found through a window property of this module
// (never GWLP_USERDATA, which belongs to a control's users). Messages reach
// the object's virtual handlers; messages that a parent receives about a
// child (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*)
// are first offered to the child's object. No exception leaves a window
// procedure. Each window is ANSI or Unicode as its class is; a subclassed
// control keeps its own.
#pragma once
#include <windows.h>

#include "module.h"

namespace fw {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  // A window still attached is detached (its procedure given back), not destroyed.
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }
  // The object of this module attached to the window, or null.
  static Window* FromHandle(HWND hwnd);

  // Registers a window class of the module whose windows belong to objects
  // created with Create; unicode chooses the class's character set.
  static ATOM RegisterWindowClass(const Module& module, const wchar_t* name, UINT style, HCURSOR cursor, HBRUSH background,
                            bool unicode = true);
  // The same, Unicode, unless the module has the class already; false when
  // it has none and cannot register it.
  static bool EnsureWindowClass(const Module& module, const wchar_t* name, UINT style, HCURSOR cursor,
                                HBRUSH background);
  // Creates a window of such a class for this object.
  HWND Create(const Module& module, const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
              const RECT& rect, HWND parent, UINT id = 0);

  // Takes over an existing window (a control of a dialog): its previous
  // procedure becomes the default handling.
  bool Subclass(HWND hwnd);
  void Unsubclass();

  // Objects of this module deleted once no message of this thread's windows
  // is being handled any more (at once when none is): the way for a window
  // object to delete itself from OnFinalMessage, or for an owner to delete
  // objects whose windows may still be on the stack.
  static void DeleteLater(Window* object);

 protected:
  // A message to this window: true when handled, the result in result.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // A message that the parent received about this control.
  virtual bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Every message to this window, before the reflection and OnMessage, for
  // what a base class notes whatever a derived class does with the message.
  virtual void OnBeforeMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {}
  // After WM_NCDESTROY, with the object detached from its window.
  virtual void OnFinalMessage() {}
  // The handling the message would get without this object.
  LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);
  bool unicode() const { return unicode_; }

  enum class Kind : unsigned char { kNone, kClass, kSubclass, kDialog };
  void Attach(HWND hwnd, Kind kind);
  void Detach();
  // Reflection, then this object's handler; never throws.
  bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept;
  // Runs the deferred deletions when the outermost message of the thread ends.
  class DispatchScope {
   public:
    DispatchScope();
    ~DispatchScope();
  };

 private:
  static LRESULT CALLBACK ClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  WNDPROC previous_ = nullptr;
  bool unicode_ = true;
  Kind kind_ = Kind::kNone;

  friend class Dialog;
};

// The object of a control of a window's child list: the child's object when
// the message concerns a child of parent that has one.
Window* ReflectionTarget(HWND parent, UINT message, WPARAM wParam, LPARAM lParam);

// Moves a top-level window so that it lies inside the work area of its monitor.
void KeepInWorkArea(HWND hwnd);

// Objects of this module attached to windows now (a leak check for tests).
int AttachedWindowCount();

}  // namespace fw

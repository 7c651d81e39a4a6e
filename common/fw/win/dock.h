// The small tool window that holds a tool bar dragged off the frame. Its
// caption is the bar's title; closing it hides the bar; a double click on
// the caption, or letting it go over an edge of the frame after moving it,
// docks the bar again.
#pragma once
#include <windows.h>

#include "window.h"

namespace fw {

class ToolBar;

class FloatingBarWindow final : public Window {
 public:
  explicit FloatingBarWindow(ToolBar& bar) : bar_(bar) {}
  // Creates the window owned by owner, sized to hold the bar horizontally
  // with its top-left corner at topLeft.
  bool Create(HWND owner, POINT topLeft);
  // Sized again around the bar.
  void FitBar();

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  ToolBar& bar_;
  bool moved_ = false;
};

}  // namespace fw

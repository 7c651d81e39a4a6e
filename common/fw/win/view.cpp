#include "view.h"

#include "frame.h"
#include "gdi.h"

namespace fw {

View::~View() {
  if (joined_) document_.RemoveView(this);
}

HWND View::CreateView(const Module& module, const wchar_t* className, FrameWindow& frame, DWORD style, DWORD exStyle) {
  frame_ = &frame;
  RECT c{};
  GetClientRect(frame.hwnd(), &c);
  HWND w = Create(module, className, L"", style | WS_CHILD, exStyle, c, frame.hwnd(), kFirstPaneId);
  if (w) {
    document_.AddView(this);
    joined_ = true;
  }
  return w;
}

void View::OnUpdate(DocumentView*, long) {
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void View::OnTitleChanged() {
  if (frame_ && frame_->ActiveView() == this) frame_->UpdateFrameTitle();
}

bool View::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_PAINT: {
      PaintDc dc(hwnd());
      if (dc.get()) OnDraw(dc.get());
      result = 0;
      return true;
    }
    case WM_DESTROY:
      // The document may go before this object does.
      document_.RemoveView(this);
      joined_ = false;
      if (frame_ && frame_->ActiveView() == this) frame_->SetActiveView(nullptr);
      return false;
    default:
      return false;
  }
}

}  // namespace fw

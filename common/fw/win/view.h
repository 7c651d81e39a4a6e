// A view: a child window of a frame that shows one document, a command
// target ahead of its document, and a view the document updates.
#pragma once
#include <windows.h>

#include "command_target.h"
#include "document.h"
#include "window.h"

namespace fw {

class FrameWindow;

class View : public Window, public CommandTarget, public DocumentView {
 public:
  explicit View(Document& document) : document_(document) {}
  // Leaves the document (when its window has not already).
  ~View() override;

  Document& document() const { return document_; }
  // Creates the view as the frame's pane (kFirstPaneId) in a window class
  // that the derived view registered, and joins the document's views.
  HWND CreateView(const Module& module, const wchar_t* className, FrameWindow& frame, DWORD style, DWORD exStyle = 0);
  FrameWindow* frame() const { return frame_; }

  void OnUpdate(DocumentView* sender, long hint) override;
  void OnTitleChanged() override;

 protected:
  // WM_PAINT.
  virtual void OnDraw(HDC) {}
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  Document& document_;
  FrameWindow* frame_ = nullptr;
  bool joined_ = false;  // among the document's views
};

}  // namespace fw

#include "view.h"

#include "frame.h"
#include "gdi.h"
#include "preview.h"
#include "print.h"

namespace fw {

View::~View() {
  if (joined_) document_.RemoveView(this);
}

HWND View::CreateView(const Module& module, const wchar_t* className, FrameWindow& frame, DWORD style, DWORD exStyle) {
  PaneSite site{frame.hwnd(), kFirstPaneId, {}};
  GetClientRect(frame.hwnd(), &site.rect);
  return CreateView(module, className, frame, site, style, exStyle);
}

HWND View::CreateView(const Module& module, const wchar_t* className, FrameWindow& frame, const PaneSite& site,
                      DWORD style, DWORD exStyle) {
  frame_ = &frame;
  HWND w = Create(module, className, L"", style | WS_CHILD, exStyle, site.rect, site.parent ? site.parent : frame.hwnd(),
                  site.id);
  if (w) JoinFrame(frame);
  return w;
}

void View::JoinFrame(FrameWindow& frame) {
  frame_ = &frame;
  if (!joined_) document_.AddView(this);
  joined_ = true;
}

void View::OnBeforeMessage(UINT message, WPARAM, LPARAM) {
  if (message == WM_SETFOCUS || message == WM_MOUSEACTIVATE) TakeActive();
}

void View::TakeActive() {
  if (frame_ && frame_->ActiveView() != this) frame_->SetActiveView(this);
}

void View::OnUpdate(DocumentView*, long) {
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void View::OnTitleChanged() {
  if (frame_ && frame_->ActiveView() == this) frame_->UpdateFrameTitle();
}

bool View::OnCommand(unsigned id) {
  switch (id) {
    case kCmdFilePrint:
    case kCmdFilePrintDirect:
      PrintView(*this, id == kCmdFilePrintDirect);
      return true;
    case kCmdFilePrintPreview:
      PreviewWindow::Open(*this);
      return true;
    default:
      return false;
  }
}

bool View::OnUpdateCommand(unsigned id, CommandState&) {
  return id == kCmdFilePrint || id == kCmdFilePrintDirect || id == kCmdFilePrintPreview;
}

bool View::DoPreparePrinting(PrintInfo& info) {
  if (!job_ || &job_->info != &info) return false;
  HWND owner = frame_ ? frame_->hwnd() : GetAncestor(hwnd(), GA_ROOT);
  return PreparePrinter(owner, *job_);
}

bool View::BeginJob(PrintJob& job) {
  job_ = &job;
  const bool prepared = OnPreparePrinting(job.info) && job.printerDc;
  job_ = nullptr;
  if (!prepared) return false;
  OnBeginPrinting(job.printerDc, job.info);
  return true;
}

void View::EndJob(PrintJob& job) { OnEndPrinting(job.printerDc, job.info); }

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

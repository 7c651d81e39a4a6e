// A view: a child window of a frame that shows one document, a command
// target ahead of its document, and a view the document updates.
#pragma once
#include <windows.h>

#include "command_target.h"
#include "document.h"
#include "pane_site.h"
#include "print_loop.h"
#include "window.h"

namespace fw {

class FrameWindow;
struct PrintJob;

class View : public Window, public CommandTarget, public DocumentView {
 public:
  explicit View(Document& document) : document_(document) {}
  // Leaves the document (when its window has not already).
  ~View() override;

  Document& document() const { return document_; }
  // Creates the view as the frame's pane (kFirstPaneId) in a window class
  // that the derived view registered, and joins the document's views.
  HWND CreateView(const Module& module, const wchar_t* className, FrameWindow& frame, DWORD style, DWORD exStyle = 0);
  // The same in a site of its own (a splitter's cell); the frame still
  // routes the view's commands and keeps it as its active view.
  HWND CreateView(const Module& module, const wchar_t* className, FrameWindow& frame, const PaneSite& site,
                  DWORD style, DWORD exStyle = 0);
  FrameWindow* frame() const { return frame_; }

  // The frame made this view active (commands come here first) or another one.
  virtual void OnActivateView(bool /*active*/, View* /*other*/) {}

  void OnUpdate(DocumentView* sender, long hint) override;
  void OnTitleChanged() override;

  // The framework's print (57607), direct print (57608) and print preview
  // (57609) commands (print.h, preview.h).
  bool OnCommand(unsigned id) override;
  bool OnUpdateCommand(unsigned id, CommandState& state) override;

  // Printing, in the order the print job and the preview call them. The
  // job's printer device context comes from DoPreparePrinting; OnPrepareDC
  // runs before each page (clearing info->continuePrinting ends the job);
  // OnPrint draws one page on dc (the printer, or the preview's page mapped
  // to the printer's pixels).
  virtual bool OnPreparePrinting(PrintInfo& info) { return DoPreparePrinting(info); }
  virtual void OnBeginPrinting(HDC /*printerDc*/, PrintInfo& /*info*/) {}
  virtual void OnPrepareDC(HDC /*dc*/, PrintInfo* /*info*/) {}
  virtual void OnPrint(HDC dc, PrintInfo& /*info*/) { OnDraw(dc); }
  virtual void OnEndPrinting(HDC /*printerDc*/, PrintInfo& /*info*/) {}
  // The print dialog, or the program's printer for a direct print or a
  // preview; false when cancelled or when there is no printer.
  bool DoPreparePrinting(PrintInfo& info);
  // Around the page loop: OnPreparePrinting and OnBeginPrinting (false: no
  // job), and OnEndPrinting.
  bool BeginJob(PrintJob& job);
  void EndJob(PrintJob& job);

 protected:
  // WM_PAINT.
  virtual void OnDraw(HDC) {}
  // Paints through OnDraw.
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // A click or the focus makes the view the frame's active view, whatever
  // the derived view does with the message.
  void OnBeforeMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The frame and the document's views joined by a window made otherwise
  // (a control taken over as a view).
  void JoinFrame(FrameWindow& frame);
  // Becomes the frame's active view (the focus stays where it is).
  void TakeActive();

 private:
  Document& document_;
  FrameWindow* frame_ = nullptr;
  bool joined_ = false;
  PrintJob* job_ = nullptr;  // while a job or a preview is being prepared  // among the document's views
};

}  // namespace fw

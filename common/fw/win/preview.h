// The framework's print preview: a window over the frame (same place and
// size, the frame disabled while it is open) that shows one or two pages of
// the view scaled to fit, drawn through the view's printing virtuals on a
// device context mapped to the printer's page (MM_ANISOTROPIC: one logical
// unit is one printer pixel, the origin at the printable area's corner),
// with the buttons print, next page, previous page, one or two pages, zoom
// and close, and the keys Page Down, Page Up and Esc; a zoomed page as wide
// as the window scrolls with its scroll bar, the wheel and Up and Down.
#pragma once
#include <windows.h>

#include <memory>

#include "print.h"
#include "window.h"

namespace fw {

class View;

class PreviewWindow final : public Window {
 public:
  static constexpr wchar_t kClassName[] = L"fw.PrintPreview";
  // Buttons of the preview's bar.
  enum ButtonId : UINT {
    kClose = 0xE300,
    kNextPage = 0xE301,
    kPreviousPage = 0xE302,
    kPrint = 0xE303,
    kPages = 0xE304,
    kZoom = 0xE305,
  };

  // Opens the preview of the view (its OnPreparePrinting and
  // OnBeginPrinting first); false when there is no printer or the view
  // refused. The window deletes itself when it closes.
  static bool Open(View& view);
  // The preview open in this process, or null.
  static PreviewWindow* Active();

  const PreviewPaging& Paging() const { return paging_; }
  // Closes the preview; the view's OnEndPrinting runs.
  void Close();

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnFinalMessage() override;

 private:
  explicit PreviewWindow(View& view) : view_(view) {}
  bool Start();
  void Layout();
  void UpdateButtons();
  // The client area, the paper's place and size in it.
  struct Area {
    int width = 1, height = 1;
    int top = 0;         // of the paper, not scrolled
    int viewHeight = 1;  // under the bar, for the paper
    int paperWidth = 1, paperHeight = 1;
  };
  Area PaperArea() const;
  void UpdateScrollBar();
  void Scroll(int delta);
  void Paint(HDC dc);
  void DrawPage(HDC dc, int page, const RECT& paper);
  void Command(UINT id);

  View& view_;
  PrintJob job_;
  PreviewPaging paging_;
  HWND frame_ = nullptr;
  HFONT barFont_ = nullptr;
  int barHeight_ = 0;
  bool ended_ = false;
  bool updatingBar_ = false;
};

}  // namespace fw

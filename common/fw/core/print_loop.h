// The framework's printing loop without the window system: the metrics of a
// printed page (what GetDeviceCaps tells of a printer), the state a print
// job or a preview carries from page to page, the page loop that asks the
// view to prepare each page and stops when the view says so, and the paging
// of the preview window. The Win32 side (print.h) feeds them a printer's
// device context.
#pragma once

namespace fw {

// GetDeviceCaps of a printer: LOGPIXELSX/Y, PHYSICALOFFSETX/Y,
// PHYSICALWIDTH/HEIGHT, HORZRES/VERTRES, all in device pixels.
struct PageMetrics {
  int logPixelsX = 0;
  int logPixelsY = 0;
  int physicalOffsetX = 0;
  int physicalOffsetY = 0;
  int physicalWidth = 0;
  int physicalHeight = 0;
  int horzRes = 0;
  int vertRes = 0;
  bool operator==(const PageMetrics&) const = default;
};

struct PageRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const PageRect&) const = default;
};

// Pages are counted from 1; kUnknownMaxPage stands for "until the view says
// the text has ended".
inline constexpr int kUnknownMaxPage = 0xFFFF;

// The state of one print job or preview, handed to the view's printing
// virtuals.
struct PrintInfo {
  bool preview = false;  // drawn in the preview window, not on paper
  bool direct = false;   // printed without the print dialog (the default printer)
  int minPage = 1;
  int maxPage = kUnknownMaxPage;
  int fromPage = 1;  // the range the user chose (print only)
  int toPage = kUnknownMaxPage;
  int currentPage = 1;
  // The view clears it in its page preparation to end the job (the text
  // ended, or the page cannot be printed).
  bool continuePrinting = true;
  PageMetrics metrics;
  PageRect drawRect;  // the page's printable area in device pixels (0, 0, HORZRES, VERTRES)
  int previewPages = 1;  // pages the preview shows at once (1 or 2)

  void SetMaxPage(int page) { maxPage = page; }
};

// What the page loop does to the device and asks of the view.
class PageLoopSteps {
 public:
  virtual ~PageLoopSteps() = default;
  // The view's OnPrepareDC for info.currentPage (it may clear continuePrinting).
  virtual void PreparePage(PrintInfo& info) = 0;
  // StartPage / EndPage of the device; false when the device failed.
  virtual bool StartPage() = 0;
  virtual bool EndPage() = 0;
  // The view's OnPrint for info.currentPage.
  virtual void PrintPage(PrintInfo& info) = 0;
};

struct PageLoopResult {
  int pagesPrinted = 0;
  bool deviceFailed = false;
};

// The pages from fromPage to toPage (within minPage..maxPage): each is
// prepared first, and the loop ends before the page when the preparation
// cleared continuePrinting.
PageLoopResult RunPageLoop(PrintInfo& info, PageLoopSteps& steps);

// Paging of the preview window: the page shown first, one or two pages at
// once, and zoom between the whole page and the page at its own size.
class PreviewPaging {
 public:
  // maxPage: the pages the view found (at least 1); start: the first page shown.
  void Reset(int maxPage, int start);
  int CurrentPage() const { return current_; }
  int MaxPage() const { return max_; }
  int PagesShown() const { return twoPages_ && current_ + 1 <= max_ ? 2 : 1; }
  bool TwoPages() const { return twoPages_; }
  bool Zoomed() const { return zoomed_; }
  bool CanNext() const { return current_ + PagesShown() <= max_; }
  bool CanPrevious() const { return current_ > 1; }
  // Each returns true when what is shown changed.
  bool Next();
  bool Previous();
  bool ToggleTwoPages();
  bool ToggleZoom();

  // The zoomed page is taller than the window: how far down it is shown,
  // kept between 0 and pageHeight - viewHeight (0 when not zoomed or when
  // the page fits). A new page or a toggle starts at its top.
  int ScrollOffset() const { return offset_; }
  // Moves by delta pixels; true when the offset changed.
  bool ScrollBy(int delta, int pageHeight, int viewHeight);
  // The offset kept inside the range after the window's size changed.
  void ClampScroll(int pageHeight, int viewHeight);

 private:
  int max_ = 1;
  int current_ = 1;
  bool twoPages_ = false;
  bool zoomed_ = false;
  int offset_ = 0;
};

}  // namespace fw

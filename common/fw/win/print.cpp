#include "print.h"

#include <commdlg.h>

#include "frame.h"
#include "view.h"

namespace fw {

namespace {

// The device context of a PRINTDLGW that asked for one, and the handles it
// leaves with the program's printer.
bool RunPrintDialog(PRINTDLGW& pd, PrinterSettings& printer) {
  pd.lStructSize = sizeof pd;
  pd.hDevMode = printer.DevMode();
  pd.hDevNames = printer.DevNames();
  const BOOL ok = PrintDlgW(&pd);
  // The dialog may have replaced the handles even when it failed.
  printer.Take(pd.hDevMode, pd.hDevNames);
  return ok != FALSE;
}

class DevicePages final : public PageLoopSteps {
 public:
  DevicePages(View& view, PrintJob& job) : view_(view), job_(job) {}
  ~DevicePages() override { Finish(false); }

  void PreparePage(PrintInfo& info) override { view_.OnPrepareDC(job_.printerDc, &info); }
  bool StartPage() override {
    if (!started_) {
      // The document starts with its first page, so that a job the view
      // refuses at once never reaches the spooler.
      const std::wstring title(view_.document().Title().begin(), view_.document().Title().end());
      DOCINFOW doc{};
      doc.cbSize = sizeof doc;
      doc.lpszDocName = title.c_str();
      if (StartDocW(job_.printerDc, &doc) <= 0) return false;
      started_ = true;
    }
    return ::StartPage(job_.printerDc) > 0;
  }
  bool EndPage() override { return ::EndPage(job_.printerDc) > 0; }
  void PrintPage(PrintInfo& info) override {
    info.drawRect = PageRect{0, 0, info.metrics.horzRes, info.metrics.vertRes};
    view_.OnPrint(job_.printerDc, info);
  }
  // EndDoc after pages, AbortDoc otherwise.
  void Finish(bool printed) {
    if (!started_) return;
    started_ = false;
    if (printed) {
      ::EndDoc(job_.printerDc);
    } else {
      ::AbortDoc(job_.printerDc);
    }
  }

 private:
  View& view_;
  PrintJob& job_;
  bool started_ = false;
};

}  // namespace

PrinterSettings::~PrinterSettings() { Take(nullptr, nullptr); }

void PrinterSettings::Take(HGLOBAL devMode, HGLOBAL devNames) {
  if (devMode_ && devMode_ != devMode) GlobalFree(devMode_);
  if (devNames_ && devNames_ != devNames) GlobalFree(devNames_);
  devMode_ = devMode;
  devNames_ = devNames;
}

bool PrinterSettings::EnsurePrinter() {
  if (devNames_) return true;
  PRINTDLGW pd{};
  pd.Flags = PD_RETURNDEFAULT;
  return RunPrintDialog(pd, *this) && devNames_;
}

HDC PrinterSettings::CreatePrinterDc() {
  if (!EnsurePrinter()) return nullptr;
  const auto* names = static_cast<const DEVNAMES*>(GlobalLock(devNames_));
  if (!names) return nullptr;
  const auto* base = reinterpret_cast<const wchar_t*>(names);
  const DEVMODEW* mode = devMode_ ? static_cast<const DEVMODEW*>(GlobalLock(devMode_)) : nullptr;
  HDC dc = CreateDCW(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
  if (mode) GlobalUnlock(devMode_);
  GlobalUnlock(devNames_);
  return dc;
}

std::wstring PrinterSettings::DeviceName() const {
  if (!devNames_) return {};
  const auto* names = static_cast<const DEVNAMES*>(GlobalLock(devNames_));
  if (!names) return {};
  std::wstring name = reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset;
  GlobalUnlock(devNames_);
  return name;
}

PrinterSettings& ProgramPrinter() {
  static PrinterSettings printer;
  return printer;
}

PageMetrics MetricsOf(HDC dc) {
  PageMetrics m;
  m.logPixelsX = GetDeviceCaps(dc, LOGPIXELSX);
  m.logPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
  m.physicalOffsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
  m.physicalOffsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
  m.physicalWidth = GetDeviceCaps(dc, PHYSICALWIDTH);
  m.physicalHeight = GetDeviceCaps(dc, PHYSICALHEIGHT);
  m.horzRes = GetDeviceCaps(dc, HORZRES);
  m.vertRes = GetDeviceCaps(dc, VERTRES);
  return m;
}

PrintJob::~PrintJob() {
  if (printerDc) DeleteDC(printerDc);
}

bool PreparePrinter(HWND owner, PrintJob& job) {
  PrinterSettings& printer = ProgramPrinter();
  if (job.info.direct || job.info.preview) {
    job.printerDc = printer.CreatePrinterDc();
  } else {
    PRINTDLGW pd{};
    pd.hwndOwner = owner;
    pd.Flags = PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOSELECTION | PD_HIDEPRINTTOFILE;
    pd.nMinPage = static_cast<WORD>(job.info.minPage);
    pd.nMaxPage = static_cast<WORD>(job.info.maxPage);
    // A range may be chosen before the pages are known: the loop ends with the text.
    pd.nFromPage = static_cast<WORD>(job.info.fromPage);
    pd.nToPage = static_cast<WORD>(job.info.maxPage);
    pd.nCopies = 1;
    if (!RunPrintDialog(pd, printer)) return false;
    job.printerDc = pd.hDC;
    if (pd.Flags & PD_PAGENUMS) {
      job.info.fromPage = pd.nFromPage;
      job.info.toPage = pd.nToPage;
    }
  }
  if (!job.printerDc) return false;
  job.info.metrics = MetricsOf(job.printerDc);
  job.info.drawRect = PageRect{0, 0, job.info.metrics.horzRes, job.info.metrics.vertRes};
  return true;
}

int PrintView(View& view, bool direct) {
  PrintJob job;
  job.info.direct = direct;
  if (!view.BeginJob(job)) return 0;
  int printed = 0;
  {
    DevicePages pages(view, job);
    const PageLoopResult r = RunPageLoop(job.info, pages);
    pages.Finish(r.pagesPrinted > 0 && !r.deviceFailed);
    printed = r.deviceFailed ? -1 : r.pagesPrinted;
  }
  view.EndJob(job);
  return printed;
}

}  // namespace fw

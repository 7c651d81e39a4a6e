#include "print.h"

#include <commdlg.h>

#include "app.h"
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

constexpr wchar_t kPrintingClass[] = L"fw.Printing";
constexpr int kBoxWidth = 300;
constexpr int kBoxHeight = 130;

// The box shown while a job prints: the document, the page, and Cancel. The
// abort procedure serves the thread's messages meanwhile, so that the
// program's windows paint and the box takes its click.
class PrintingBox final : public Window {
 public:
  static PrintingBox* current;

  PrintingBox(HWND owner, const std::wstring& title) : owner_(owner) {
    const Module module = Module::Containing(&current);
    WNDCLASSW existing{};
    if (!GetClassInfoW(module.handle(), kPrintingClass, &existing)) {
      RegisterWindowClass(module, kPrintingClass, 0, LoadCursor(nullptr, IDC_ARROW),
                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    }
    RECT place{0, 0, kBoxWidth, kBoxHeight};
    if (owner_) {
      RECT o{};
      GetWindowRect(owner_, &o);
      OffsetRect(&place, (o.left + o.right - kBoxWidth) / 2, (o.top + o.bottom - kBoxHeight) / 2);
    }
    const std::wstring caption = App::Current() ? App::Current()->programName() : std::wstring(L"印刷");
    if (!Create(module, kPrintingClass, caption.c_str(), WS_POPUP | WS_CAPTION | WS_VISIBLE, WS_EX_DLGMODALFRAME, place,
                owner_)) {
      return;
    }
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const auto child = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id) {
      HWND c = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module.handle(), nullptr);
      SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      return c;
    };
    child(L"STATIC", (L"「" + title + L"」を印刷しています").c_str(), SS_CENTER | SS_NOPREFIX, 8, 12, kBoxWidth - 22, 16, -1);
    page_ = child(L"STATIC", L"", SS_CENTER, 8, 34, kBoxWidth - 22, 16, -1);
    child(L"BUTTON", L"ｷｬﾝｾﾙ", BS_DEFPUSHBUTTON | WS_TABSTOP, (kBoxWidth - 88) / 2, 62, 80, 24, IDCANCEL);
    if (owner_) EnableWindow(owner_, FALSE);
    current = this;
  }
  ~PrintingBox() override {
    current = nullptr;
    if (owner_) EnableWindow(owner_, TRUE);
    if (hwnd()) DestroyWindow(hwnd());
  }

  bool Cancelled() const { return cancelled_; }
  void ShowPage(int page) {
    wchar_t text[32];
    wsprintfW(text, L"ﾍﾟｰｼﾞ %d", page);
    if (page_) SetWindowTextW(page_, text);
  }
  // The thread's messages until none waits; false once Cancel was chosen.
  bool Serve() {
    MSG msg;
    while (!cancelled_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));  // for the program's loop
        cancelled_ = true;
        break;
      }
      if (!hwnd() || !IsDialogMessageW(hwnd(), &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    return !cancelled_;
  }
  static BOOL CALLBACK AbortProc(HDC, int) { return current ? current->Serve() : TRUE; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
    if ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE) {
      cancelled_ = true;
      result = 0;
      return true;
    }
    return false;
  }

 private:
  HWND owner_;
  HWND page_ = nullptr;
  bool cancelled_ = false;
};
PrintingBox* PrintingBox::current = nullptr;

class DevicePages final : public PageLoopSteps {
 public:
  DevicePages(View& view, PrintJob& job, PrintingBox& box) : view_(view), job_(job), box_(box) {}
  ~DevicePages() override { Finish(false); }

  void PreparePage(PrintInfo& info) override {
    if (!box_.Serve()) {
      info.continuePrinting = false;
      return;
    }
    box_.ShowPage(info.currentPage);
    view_.OnPrepareDC(job_.printerDc, &info);
  }
  bool StartPage() override {
    if (!started_) {
      // The document starts with its first page, so that a job the view
      // refuses at once never reaches the spooler.
      const std::wstring title(view_.document().Title().begin(), view_.document().Title().end());
      DOCINFOW doc{};
      doc.cbSize = sizeof doc;
      doc.lpszDocName = title.c_str();
      SetAbortProc(job_.printerDc, &PrintingBox::AbortProc);
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
  PrintingBox& box_;
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
  HWND owner = view.frame() ? view.frame()->hwnd() : GetAncestor(view.hwnd(), GA_ROOT);
  int printed = 0;
  bool failed = false;
  {
    const std::u16string& title = view.document().Title();
    PrintingBox box(owner, std::wstring(title.begin(), title.end()));
    DevicePages pages(view, job, box);
    const PageLoopResult r = RunPageLoop(job.info, pages);
    // A cancelled job is taken back whole.
    const bool cancelled = box.Cancelled();
    pages.Finish(r.pagesPrinted > 0 && !r.deviceFailed && !cancelled);
    failed = r.deviceFailed && !cancelled;
    printed = failed ? -1 : cancelled ? 0 : r.pagesPrinted;
  }
  view.EndJob(job);
  if (failed) {
    const std::wstring caption = App::Current() ? App::Current()->programName() : std::wstring();
    MessageBoxW(owner, L"印刷できませんでした。", caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
  }
  return printed;
}

}  // namespace fw

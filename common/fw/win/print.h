// Printing in the framework: the program's printer (the DEVMODE and
// DEVNAMES that the print and page-setup dialogs leave), the page metrics of
// a printer's device context, and the print job that runs a view's printing
// virtuals through the page loop of print_loop.h: the print dialog
// (PrintDlgW) for the print command, the program's printer without a dialog
// for direct printing, StartDocW at the first page that the view accepts,
// StartPage / EndPage per page, EndDoc (or AbortDoc when no page was
// printed, so that a refused job leaves nothing in the spooler).
#pragma once
#include <windows.h>

#include <string>

#include "print_loop.h"

namespace fw {

class View;

// The framework's printing commands.
inline constexpr unsigned kCmdFilePrint = 57607;
inline constexpr unsigned kCmdFilePrintDirect = 57608;
inline constexpr unsigned kCmdFilePrintPreview = 57609;

// The printer the program prints on: handles of DEVMODE and DEVNAMES as the
// common dialogs use them (null: the system's default printer).
class PrinterSettings {
 public:
  PrinterSettings() = default;
  ~PrinterSettings();
  PrinterSettings(const PrinterSettings&) = delete;
  PrinterSettings& operator=(const PrinterSettings&) = delete;

  HGLOBAL DevMode() const { return devMode_; }
  HGLOBAL DevNames() const { return devNames_; }
  // Takes the handles a dialog gave back; the old ones are freed when they differ.
  void Take(HGLOBAL devMode, HGLOBAL devNames);
  // The default printer when none was chosen yet (PrintDlgW with
  // PD_RETURNDEFAULT); false when the system has no printer.
  bool EnsurePrinter();
  // A device context of the printer; null when there is none.
  HDC CreatePrinterDc();
  // The printer's name; empty when there is none.
  std::wstring DeviceName() const;

 private:
  HGLOBAL devMode_ = nullptr;
  HGLOBAL devNames_ = nullptr;
};

// The printer of this program (one per process, as the application keeps it).
PrinterSettings& ProgramPrinter();

// GetDeviceCaps of a printer's device context.
PageMetrics MetricsOf(HDC printerDc);

// The state of one print job or preview as the view's virtuals see it: the
// framework's PrintInfo and the printer's device context.
struct PrintJob {
  PrintInfo info;
  HDC printerDc = nullptr;  // owned by the job
  PrintJob() = default;
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;
  ~PrintJob();
};

// The print dialog for the job (PrintDlgW on the program's printer, page
// range allowed when the view gave a maximum page), or, for a direct print
// or a preview, the program's printer; true with job.printerDc set.
bool PreparePrinter(HWND owner, PrintJob& job);

// Prints the view: its OnPreparePrinting (which calls DoPreparePrinting),
// OnBeginPrinting, the pages, OnEndPrinting. While it prints, a box over
// the frame (class "fw.Printing") names the document and the page and
// offers Cancel, which takes the whole job back (AbortDoc). Returns the
// pages printed (0 when cancelled); -1 when the job failed at the device,
// after a box that says so.
int PrintView(View& view, bool direct);

}  // namespace fw

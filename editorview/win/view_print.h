// The editor view's printing: the print fonts, the page tables found
// lazily, the printable-area check, and each page drawn with GDI through the
// layout of print_layout.h (the body in the view font scaled to the
// printer, one character at a time; the header and footer lines with their
// rules, in "ＭＳ ゴシック" with code page 932).
//
// Widths are always taken on the printer's device context, so that the
// preview (drawn on a context mapped to the printer's pixels) shows the rows
// exactly as they print.
#pragma once
#include <windows.h>

#include <string>

#include "gdi.h"
#include "gdi_text.h"
#include "module.h"
#include "print_layout.h"
#include "print_loop.h"
#include "view_engine.h"
#include "view_print_ids.h"

namespace editorview {

class ViewPrinting {
 public:
  ViewPrinting(ViewEngine& engine, const fw::Module& module) : engine_(engine), module_(module) {}
  ~ViewPrinting() { End(); }
  ViewPrinting(const ViewPrinting&) = delete;
  ViewPrinting& operator=(const ViewPrinting&) = delete;

  // OnBeginPrinting: the code page of the font's code, the print and header
  // fonts, the print time, the line buffer committed, the page tables reset;
  // in a preview every page found and the preview opened on the caret's page.
  // title: the document's title (its file name).
  void Begin(HDC printerDc, fw::PrintInfo& info, const LOGFONTW& viewFont, const PageSettings& settings,
             const std::wstring& title);
  // OnPrepareDC: the printable-area box (once a job) or the pages found up
  // to the one asked for; clears continuePrinting when the page cannot print.
  void PrepareDc(HWND owner, fw::PrintInfo& info);
  // OnPrint: page info.currentPage on dc.
  void Print(HDC dc, fw::PrintInfo& info);
  // OnEndPrinting: the code page back, the fonts deleted, the tables emptied.
  void End();

  const Pagination& Pages() const { return pages_; }
  bool Active() const { return printerDc_ != nullptr; }

 private:
  // Lays out (and, when dc is set, draws) the page that begins at start;
  // returns where the next page begins.
  PagePosition PrintPageBody(HDC dc, PagePosition start);
  void DrawHeaderFooter(HDC dc, const std::string& templ, bool header, int page);
  void PrintTextRun(HDC dc, int x, int y, std::string_view utf8);
  PageBodyLayout BodyLayout();
  bool PaginateTo(int page);

  ViewEngine& engine_;
  fw::Module module_;
  HDC printerDc_ = nullptr;  // the job's (owned by the job)
  PageSettings settings_;
  fw::PageMetrics metrics_;
  fw::PageRect margins_;
  std::string fileName_;  // code page 932
  fw::Font printFont_;
  fw::Font headerFont_;
  PrintTime time_;
  Pagination pages_;
  int savedCodePage_ = 0;
  bool areaRefused_ = false;
  GdiMeasurer measurer_;
  RowMeasure rowMeasure_;
  int headerHeight_ = 0;
  int rowHeight_ = 1;
  int oneWidth_ = 0;
  int currentPage_ = 1;  // of the page being laid out
};

}  // namespace editorview

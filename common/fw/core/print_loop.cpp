#include "print_loop.h"

#include <algorithm>

namespace fw {

PageLoopResult RunPageLoop(PrintInfo& info, PageLoopSteps& steps) {
  PageLoopResult result;
  const int first = std::max(info.fromPage, info.minPage);
  const int last = std::min(info.toPage, info.maxPage);
  info.continuePrinting = true;
  for (int page = first; page <= last; ++page) {
    info.currentPage = page;
    steps.PreparePage(info);
    if (!info.continuePrinting) break;
    if (!steps.StartPage()) {
      result.deviceFailed = true;
      break;
    }
    steps.PrintPage(info);
    if (!steps.EndPage()) {
      result.deviceFailed = true;
      break;
    }
    ++result.pagesPrinted;
  }
  return result;
}

void PreviewPaging::Reset(int maxPage, int start) {
  max_ = std::max(maxPage, 1);
  current_ = std::clamp(start, 1, max_);
  offset_ = 0;
}

bool PreviewPaging::Next() {
  if (!CanNext()) return false;
  ++current_;
  offset_ = 0;
  return true;
}

bool PreviewPaging::Previous() {
  if (!CanPrevious()) return false;
  --current_;
  offset_ = 0;
  return true;
}

bool PreviewPaging::ToggleTwoPages() {
  twoPages_ = !twoPages_;
  if (twoPages_) zoomed_ = false;  // two pages are always shown whole
  offset_ = 0;
  return true;
}

bool PreviewPaging::ToggleZoom() {
  zoomed_ = !zoomed_;
  if (zoomed_) twoPages_ = false;
  offset_ = 0;
  return true;
}

bool PreviewPaging::ScrollBy(int delta, int pageHeight, int viewHeight) {
  const int before = offset_;
  offset_ += delta;
  ClampScroll(pageHeight, viewHeight);
  return offset_ != before;
}

void PreviewPaging::ClampScroll(int pageHeight, int viewHeight) {
  const int range = zoomed_ ? std::max(pageHeight - viewHeight, 0) : 0;
  offset_ = std::clamp(offset_, 0, range);
}

}  // namespace fw

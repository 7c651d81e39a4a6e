// The framework's page loop and the preview's paging.
#include "print_loop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fw {
namespace {

// A device and a view that record the loop's calls; the view ends the text
// after lastPage, the device fails at failPage.
class Steps final : public PageLoopSteps {
 public:
  void PreparePage(PrintInfo& info) override {
    calls.push_back("prepare " + std::to_string(info.currentPage));
    if (info.currentPage > lastPage) info.continuePrinting = false;
  }
  bool StartPage() override {
    calls.push_back("start");
    return ++started != failPage;
  }
  bool EndPage() override {
    calls.push_back("end");
    return true;
  }
  void PrintPage(PrintInfo& info) override { calls.push_back("print " + std::to_string(info.currentPage)); }

  int lastPage = 1000;
  int failPage = -1;
  int started = 0;
  std::vector<std::string> calls;
};

TEST(PageLoop, ViewEndsTheJobBeforeAPage) {
  Steps steps;
  steps.lastPage = 2;
  PrintInfo info;
  const PageLoopResult r = RunPageLoop(info, steps);
  EXPECT_EQ(r.pagesPrinted, 2);
  EXPECT_FALSE(r.deviceFailed);
  EXPECT_EQ(steps.calls, (std::vector<std::string>{"prepare 1", "start", "print 1", "end", "prepare 2", "start",
                                                   "print 2", "end", "prepare 3"}));
}

TEST(PageLoop, RangeAndMaxPage) {
  struct Case {
    int from, to, max;
    int printed;
  } cases[] = {{2, 3, kUnknownMaxPage, 2}, {1, kUnknownMaxPage, 4, 4}, {3, 9, 4, 2}, {5, 9, 4, 0}};
  for (const auto& c : cases) {
    Steps steps;
    PrintInfo info;
    info.fromPage = c.from;
    info.toPage = c.to;
    info.maxPage = c.max;
    EXPECT_EQ(RunPageLoop(info, steps).pagesPrinted, c.printed) << c.from << ".." << c.to << " of " << c.max;
  }
}

TEST(PageLoop, NothingPrintedWhenTheFirstPageIsRefused) {
  Steps steps;
  steps.lastPage = 0;
  PrintInfo info;
  EXPECT_EQ(RunPageLoop(info, steps).pagesPrinted, 0);
  EXPECT_EQ(steps.calls, (std::vector<std::string>{"prepare 1"}));
}

TEST(PageLoop, DeviceFailureEndsTheLoop) {
  Steps steps;
  steps.failPage = 2;
  PrintInfo info;
  const PageLoopResult r = RunPageLoop(info, steps);
  EXPECT_TRUE(r.deviceFailed);
  EXPECT_EQ(r.pagesPrinted, 1);
}

TEST(PreviewPagingTest, OneAndTwoPages) {
  PreviewPaging p;
  p.Reset(5, 7);  // beyond the last page: the last
  EXPECT_EQ(p.CurrentPage(), 5);
  EXPECT_FALSE(p.CanNext());
  EXPECT_TRUE(p.Previous());
  EXPECT_EQ(p.CurrentPage(), 4);
  p.ToggleTwoPages();
  EXPECT_EQ(p.PagesShown(), 2);  // 4 and 5
  EXPECT_FALSE(p.Next());
  p.Reset(5, 5);
  EXPECT_EQ(p.PagesShown(), 1);  // no page 6 beside page 5
  p.Reset(1, 0);
  EXPECT_EQ(p.CurrentPage(), 1);
  EXPECT_FALSE(p.CanPrevious());
  EXPECT_FALSE(p.CanNext());
}

TEST(PreviewPagingTest, ZoomShowsOnePage) {
  PreviewPaging p;
  p.Reset(3, 1);
  p.ToggleTwoPages();
  p.ToggleZoom();
  EXPECT_TRUE(p.Zoomed());
  EXPECT_FALSE(p.TwoPages());
  EXPECT_EQ(p.PagesShown(), 1);
  p.ToggleTwoPages();
  EXPECT_FALSE(p.Zoomed());
}

TEST(PreviewPagingTest, ZoomedPageScrollsWithinItsHeight) {
  PreviewPaging p;
  p.Reset(3, 1);
  EXPECT_FALSE(p.ScrollBy(100, 2000, 500));  // whole pages do not scroll
  p.ToggleZoom();
  EXPECT_TRUE(p.ScrollBy(100, 2000, 500));
  EXPECT_EQ(p.ScrollOffset(), 100);
  EXPECT_TRUE(p.ScrollBy(5000, 2000, 500));
  EXPECT_EQ(p.ScrollOffset(), 1500);  // the page's bottom at the window's
  EXPECT_FALSE(p.ScrollBy(1, 2000, 500));
  p.ClampScroll(2000, 1800);  // a taller window
  EXPECT_EQ(p.ScrollOffset(), 200);
  EXPECT_TRUE(p.ScrollBy(-900, 2000, 500));
  EXPECT_EQ(p.ScrollOffset(), 0);
  p.ScrollBy(300, 2000, 500);
  p.Next();  // a new page starts at its top
  EXPECT_EQ(p.ScrollOffset(), 0);
  EXPECT_FALSE(p.ScrollBy(10, 400, 500));  // a page that fits
}

}  // namespace
}  // namespace fw

#include "preview.h"

#include <algorithm>
#include <string>

#include "dialog.h"
#include "frame.h"
#include "gdi.h"
#include "view.h"

namespace fw {

namespace {

PreviewWindow* g_active = nullptr;

constexpr int kButtonPadding = 20;
constexpr int kButtonMinWidth = 64;
constexpr int kGap = 4;
constexpr int kPaperGap = 12;  // around and between the pages
constexpr int kWheelStep = 60;  // pixels a wheel notch scrolls a zoomed page

struct ButtonSpec {
  UINT id;
  const wchar_t* text;
};
constexpr ButtonSpec kButtons[] = {
    {PreviewWindow::kPrint, L"印刷(&P)..."},         {PreviewWindow::kNextPage, L"次ﾍﾟｰｼﾞ(&N)"},
    {PreviewWindow::kPreviousPage, L"前ﾍﾟｰｼﾞ(&V)"},  {PreviewWindow::kPages, L"2ﾍﾟｰｼﾞ(&T)"},
    {PreviewWindow::kZoom, L"拡大(&I)"},             {PreviewWindow::kClose, L"閉じる(&C)"},
};

}  // namespace

PreviewWindow* PreviewWindow::Active() { return g_active; }

bool PreviewWindow::Open(View& view) {
  if (g_active) {
    SetForegroundWindow(g_active->hwnd());
    return true;
  }
  auto preview = std::unique_ptr<PreviewWindow>(new PreviewWindow(view));
  if (!preview->Start()) return false;
  preview.release();  // deleted after its last message
  return true;
}

bool PreviewWindow::Start() {
  job_.info.preview = true;
  if (!view_.BeginJob(job_)) return false;
  // Pages: the view's count, or as many as its page preparation accepts.
  int pages = job_.info.maxPage;
  if (pages == kUnknownMaxPage) {
    pages = 0;
    for (int p = 1; p < kUnknownMaxPage; ++p) {
      job_.info.currentPage = p;
      job_.info.continuePrinting = true;
      view_.OnPrepareDC(job_.printerDc, &job_.info);
      if (!job_.info.continuePrinting) break;
      pages = p;
    }
  } else {
    // The first page must be printable at all (the view may refuse the page).
    const int start = job_.info.currentPage;
    job_.info.continuePrinting = true;
    job_.info.currentPage = std::clamp(start, 1, std::max(pages, 1));
    view_.OnPrepareDC(job_.printerDc, &job_.info);
    if (!job_.info.continuePrinting) pages = 0;
    job_.info.currentPage = start;
  }
  if (pages < 1) {
    view_.EndJob(job_);
    ended_ = true;
    return false;
  }
  paging_.Reset(pages, job_.info.currentPage);

  const Module module = Module::Containing(&g_active);
  WNDCLASSW existing{};
  if (!GetClassInfoW(module.handle(), kClassName, &existing) &&
      !RegisterWindowClass(module, kClassName, 0, LoadCursor(nullptr, IDC_ARROW), nullptr)) {
    view_.EndJob(job_);
    ended_ = true;
    return false;
  }
  frame_ = view_.frame() ? view_.frame()->hwnd() : GetAncestor(view_.hwnd(), GA_ROOT);
  RECT place{};
  GetWindowRect(frame_, &place);
  std::wstring title(view_.document().Title().begin(), view_.document().Title().end());
  title += L" - 印刷ﾌﾟﾚﾋﾞｭｰ";
  if (!Create(module, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VSCROLL, 0, place, frame_)) {
    view_.EndJob(job_);
    ended_ = true;
    return false;
  }
  g_active = this;
  if (IsZoomed(frame_)) ShowWindow(hwnd(), SW_SHOWMAXIMIZED);
  ShowWindow(hwnd(), SW_SHOW);
  EnableWindow(frame_, FALSE);
  SetFocus(hwnd());
  return true;
}

void PreviewWindow::Close() {
  if (!ended_) {
    ended_ = true;
    if (frame_) EnableWindow(frame_, TRUE);
    view_.EndJob(job_);
  }
  if (hwnd()) {
    HWND frame = frame_;
    DestroyWindow(hwnd());
    if (frame) SetActiveWindow(frame);
  }
}

void PreviewWindow::Layout() {
  RECT c{};
  GetClientRect(hwnd(), &c);
  int x = kGap;
  ClientDc dc(hwnd());
  Selection font(dc.get(), barFont_);
  for (const ButtonSpec& b : kButtons) {
    HWND w = GetDlgItem(hwnd(), static_cast<int>(b.id));
    if (!w) continue;
    // As wide as the longer of its texts (two of them change), with room around.
    SIZE text{};
    const std::wstring now = WindowText(w);
    GetTextExtentPoint32W(dc.get(), now.c_str(), static_cast<int>(now.size()), &text);
    const int width = std::max<int>(text.cx + kButtonPadding, kButtonMinWidth);
    MoveWindow(w, x, kGap, width, barHeight_ - 2 * kGap, TRUE);
    x += width + kGap;
  }
  if (HWND w = GetDlgItem(hwnd(), kPages + 100)) MoveWindow(w, x + kGap, kGap + 4, std::max<int>(c.right - x - 2 * kGap, 0), barHeight_ - 2 * kGap - 4, TRUE);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void PreviewWindow::UpdateButtons() {
  EnableWindow(GetDlgItem(hwnd(), kNextPage), paging_.CanNext());
  EnableWindow(GetDlgItem(hwnd(), kPreviousPage), paging_.CanPrevious());
  EnableWindow(GetDlgItem(hwnd(), kPages), !paging_.Zoomed() && paging_.MaxPage() > 1);
  SetDlgItemTextW(hwnd(), kPages, paging_.TwoPages() ? L"1ﾍﾟｰｼﾞ(&O)" : L"2ﾍﾟｰｼﾞ(&T)");
  SetDlgItemTextW(hwnd(), kZoom, paging_.Zoomed() ? L"縮小(&O)" : L"拡大(&I)");
  wchar_t text[64];
  if (paging_.PagesShown() == 2) {
    wsprintfW(text, L"ﾍﾟｰｼﾞ %d-%d / %d", paging_.CurrentPage(), paging_.CurrentPage() + 1, paging_.MaxPage());
  } else {
    wsprintfW(text, L"ﾍﾟｰｼﾞ %d / %d", paging_.CurrentPage(), paging_.MaxPage());
  }
  SetDlgItemTextW(hwnd(), kPages + 100, text);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void PreviewWindow::DrawPage(HDC dc, int page, const RECT& paper) {
  const PageMetrics& m = job_.info.metrics;
  FillRect(dc, &paper, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  FrameRect(dc, &paper, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, paper.left + 1, paper.top + 1, paper.right - 1, paper.bottom - 1);
  // One logical unit per printer pixel, (0, 0) at the printable area's corner.
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, m.physicalWidth, m.physicalHeight, nullptr);
  SetViewportExtEx(dc, paper.right - paper.left, paper.bottom - paper.top, nullptr);
  SetWindowOrgEx(dc, -m.physicalOffsetX, -m.physicalOffsetY, nullptr);
  SetViewportOrgEx(dc, paper.left, paper.top, nullptr);
  job_.info.currentPage = page;
  job_.info.continuePrinting = true;
  view_.OnPrepareDC(dc, &job_.info);
  if (job_.info.continuePrinting) {
    job_.info.drawRect = PageRect{0, 0, m.horzRes, m.vertRes};
    view_.OnPrint(dc, job_.info);
  }
  RestoreDC(dc, saved);
}

PreviewWindow::Area PreviewWindow::PaperArea() const {
  RECT c{};
  GetClientRect(hwnd(), &c);
  Area a;
  a.width = std::max<int>(c.right, 1);
  a.height = std::max<int>(c.bottom, 1);
  const PageMetrics& m = job_.info.metrics;
  const int shown = paging_.PagesShown();
  a.top = barHeight_ + kPaperGap;
  const int areaWidth = std::max(a.width - kPaperGap * (shown + 1), 1);
  a.viewHeight = std::max(a.height - a.top - kPaperGap, 1);
  const double pageW = std::max(m.physicalWidth, 1);
  const double pageH = std::max(m.physicalHeight, 1);
  // The whole page in the window, or (zoomed) the page as wide as the window.
  double scale = std::min(areaWidth / (shown * pageW), a.viewHeight / pageH);
  if (paging_.Zoomed()) scale = areaWidth / pageW;
  a.paperWidth = std::max(static_cast<int>(pageW * scale), 1);
  a.paperHeight = std::max(static_cast<int>(pageH * scale), 1);
  return a;
}

void PreviewWindow::UpdateScrollBar() {
  // Showing or hiding the bar sizes the window again.
  if (updatingBar_) return;
  updatingBar_ = true;
  const Area a = PaperArea();
  paging_.ClampScroll(a.paperHeight, a.viewHeight);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  const bool scrolls = paging_.Zoomed() && a.paperHeight > a.viewHeight;
  info.nMax = scrolls ? a.paperHeight - 1 : 0;
  info.nPage = scrolls ? static_cast<UINT>(a.viewHeight) : 0;
  info.nPos = paging_.ScrollOffset();
  SetScrollInfo(hwnd(), SB_VERT, &info, TRUE);
  ShowScrollBar(hwnd(), SB_VERT, scrolls);
  updatingBar_ = false;
}

void PreviewWindow::Scroll(int delta) {
  const Area a = PaperArea();
  if (!paging_.ScrollBy(delta, a.paperHeight, a.viewHeight)) return;
  SetScrollPos(hwnd(), SB_VERT, paging_.ScrollOffset(), TRUE);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void PreviewWindow::Paint(HDC dc) {
  const Area a = PaperArea();
  Bitmap buffer(CreateCompatibleBitmap(dc, a.width, a.height));
  MemoryDc mem(dc);
  Selection bitmap(mem.get(), buffer.get());
  RECT all{0, 0, a.width, a.height};
  FillRect(mem.get(), &all, GetSysColorBrush(COLOR_APPWORKSPACE));
  const int shown = paging_.PagesShown();
  const int top = a.top - paging_.ScrollOffset();
  int x = (a.width - shown * a.paperWidth - (shown - 1) * kPaperGap) / 2;
  for (int i = 0; i < shown; ++i) {
    const RECT paper{x, top, x + a.paperWidth, top + a.paperHeight};
    DrawPage(mem.get(), paging_.CurrentPage() + i, paper);
    x += a.paperWidth + kPaperGap;
  }
  // The bar over a page scrolled up under it.
  RECT bar{0, 0, a.width, barHeight_};
  FillRect(mem.get(), &bar, GetSysColorBrush(COLOR_BTNFACE));
  BitBlt(dc, 0, 0, a.width, a.height, mem.get(), 0, 0, SRCCOPY);
}

void PreviewWindow::Command(UINT id) {
  bool changed = false;
  switch (id) {
    case kNextPage: changed = paging_.Next(); break;
    case kPreviousPage: changed = paging_.Previous(); break;
    case kPages: changed = paging_.ToggleTwoPages(); break;
    case kZoom: changed = paging_.ToggleZoom(); break;
    case kPrint: {
      HWND frame = frame_;
      Close();
      if (frame) PostMessageW(frame, WM_COMMAND, kCmdFilePrint, 0);
      return;
    }
    case kClose: Close(); return;
    default: return;
  }
  if (changed) {
    UpdateButtons();
    Layout();
    UpdateScrollBar();
  }
  SetFocus(hwnd());
}

bool PreviewWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE: {
      barFont_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
      TEXTMETRICW tm{};
      {
        ClientDc dc(hwnd());
        Selection font(dc.get(), barFont_);
        GetTextMetricsW(dc.get(), &tm);
      }
      barHeight_ = tm.tmHeight + 14 + 2 * kGap;
      const Module module = Module::Containing(&g_active);
      for (const ButtonSpec& b : kButtons) {
        HWND w = CreateWindowExW(0, L"BUTTON", b.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 10, 10,
                                 hwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(b.id)), module.handle(), nullptr);
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(barFont_), FALSE);
      }
      HWND label = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 10, 10, hwnd(),
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kPages + 100)), module.handle(), nullptr);
      SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(barFont_), FALSE);
      UpdateButtons();
      result = 0;
      return true;
    }
    case WM_SIZE:
      Layout();
      UpdateScrollBar();
      result = 0;
      return true;
    case WM_MOUSEWHEEL:
      Scroll(-GET_WHEEL_DELTA_WPARAM(wParam) * kWheelStep / WHEEL_DELTA);
      result = 0;
      return true;
    case WM_VSCROLL: {
      const Area a = PaperArea();
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(hwnd(), SB_VERT, &info);
      switch (LOWORD(wParam)) {
        case SB_LINEUP: Scroll(-kWheelStep / 3); break;
        case SB_LINEDOWN: Scroll(kWheelStep / 3); break;
        case SB_PAGEUP: Scroll(-a.viewHeight); break;
        case SB_PAGEDOWN: Scroll(a.viewHeight); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: Scroll(info.nTrackPos - paging_.ScrollOffset()); break;
        default: break;
      }
      result = 0;
      return true;
    }
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT: {
      PaintDc dc(hwnd());
      if (dc.get()) Paint(dc.get());
      result = 0;
      return true;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED || lParam == 0) {
        Command(LOWORD(wParam));
        result = 0;
        return true;
      }
      return false;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_NEXT: Command(kNextPage); break;
        case VK_PRIOR: Command(kPreviousPage); break;
        case VK_ESCAPE: Command(kClose); break;
        case VK_UP: Scroll(-kWheelStep / 3); break;
        case VK_DOWN: Scroll(kWheelStep / 3); break;
        default: return false;
      }
      result = 0;
      return true;
    case WM_CLOSE:
      Close();
      result = 0;
      return true;
    case WM_DESTROY:
      // With the frame, or closed by the user.
      if (!ended_) {
        ended_ = true;
        if (frame_) EnableWindow(frame_, TRUE);
        view_.EndJob(job_);
      }
      if (g_active == this) g_active = nullptr;
      return false;
    default:
      return false;
  }
}

void PreviewWindow::OnFinalMessage() { DeleteLater(this); }

}  // namespace fw

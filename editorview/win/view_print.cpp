#include "view_print.h"

#include <mbctype.h>

namespace editorview {

namespace {

constexpr wchar_t kHeaderFace[] = L"ＭＳ ゴシック";
constexpr int kHeaderPoints = 11;

int ScreenLogPixelsY() {
  HDC screen = GetDC(nullptr);
  const int lpy = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return lpy;
}

int HeightOf(HDC dc) {
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  return tm.tmHeight + tm.tmExternalLeading;
}

}  // namespace

void ViewPrinting::Begin(HDC printerDc, fw::PrintInfo& info, const LOGFONTW& viewFont, const PageSettings& settings,
                         const std::wstring& title) {
  End();
  printerDc_ = printerDc;
  settings_ = settings;
  metrics_ = info.metrics;
  margins_ = MarginRect(metrics_, settings_);
  // Korean in the name prints as it stands, as in the templates.
  fileName_ = TemplateFromUtf16(std::u16string(title.begin(), title.end()), codeconv::PlatformCodePages());
  savedCodePage_ = _getmbcp();
  _setmbcp(engine_.Code().GmFont() ? 932 : 949);

  LOGFONTW print = viewFont;
  print.lfHeight = FontHeightForPoints(ViewFontPoints(viewFont.lfHeight, ScreenLogPixelsY()), metrics_.logPixelsY);
  printFont_.reset(CreateFontIndirectW(&print));
  LOGFONTW header{};
  header.lfHeight = FontHeightForPoints(kHeaderPoints, metrics_.logPixelsY);
  header.lfCharSet = SHIFTJIS_CHARSET;
  lstrcpynW(header.lfFaceName, kHeaderFace, LF_FACESIZE);
  headerFont_.reset(CreateFontIndirectW(&header));

  SYSTEMTIME now{};
  GetLocalTime(&now);
  time_ = PrintTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  engine_.CommitLineBuffer();
  pages_.Reset();
  areaRefused_ = false;

  // The metrics of both fonts on the printer.
  {
    fw::Selection font(printerDc_, headerFont_.get());
    headerHeight_ = HeightOf(printerDc_);
  }
  {
    fw::Selection font(printerDc_, printFont_.get());
    TEXTMETRICW tm{};
    GetTextMetricsW(printerDc_, &tm);
    rowHeight_ = std::max<int>(tm.tmHeight + tm.tmExternalLeading, 1);
    rowMeasure_.averageWidth = tm.tmAveCharWidth;
    INT widths[256] = {};
    if (!GetCharWidth32A(printerDc_, 0, 255, widths)) GetCharWidthA(printerDc_, 0, 255, widths);
    for (int i = 0; i < 256; ++i) rowMeasure_.singleByte[static_cast<size_t>(i)] = widths[i];
    SIZE one{};
    GetTextExtentPoint32A(printerDc_, "1", 1, &one);
    oneWidth_ = one.cx;
  }
  measurer_.SetDc(printerDc_);
  rowMeasure_.extent = [this](std::string_view text) { return MeasureRun(engine_.Code(), measurer_, text); };

  if (info.preview && PrintableAreaFits(margins_, metrics_)) {
    PaginateTo(fw::kUnknownMaxPage);
    info.SetMaxPage(pages_.KnownPages());
    info.currentPage = pages_.PageOfLine(engine_.Caret().line);
  }
}

void ViewPrinting::PrepareDc(HWND owner, fw::PrintInfo& info) {
  if (!printerDc_) {
    info.continuePrinting = false;
    return;
  }
  if (!PrintableAreaFits(margins_, metrics_)) {
    // Said once a job; the preview asks again at every paint.
    if (!areaRefused_) {
      areaRefused_ = true;
      MessageBeep(MB_ICONEXCLAMATION);
      MessageBoxW(owner, module_.String(IDS_NO_PRINT_AREA).c_str(), module_.String(IDS_PRINT_TITLE).c_str(),
                  MB_OK | MB_ICONEXCLAMATION);
    }
    info.continuePrinting = false;
    return;
  }
  if (info.currentPage > pages_.KnownPages() && !PaginateTo(info.currentPage)) info.continuePrinting = false;
}

void ViewPrinting::Print(HDC dc, fw::PrintInfo& info) {
  const int page = info.currentPage;
  if (!printerDc_ || page < 1 || page > pages_.KnownPages()) return;
  SetBkMode(dc, TRANSPARENT);
  currentPage_ = page;
  const PagePosition end = PrintPageBody(dc, pages_.Start(page));
  pages_.PageEnded(page, end, engine_.Document().LineCount());
}

void ViewPrinting::End() {
  if (!printerDc_) return;
  _setmbcp(savedCodePage_);
  printFont_.reset();
  headerFont_.reset();
  pages_.Clear();
  measurer_.SetDc(nullptr);
  rowMeasure_.extent = nullptr;
  printerDc_ = nullptr;
}

bool ViewPrinting::PaginateTo(int page) {
  return pages_.PaginateTo(page, engine_.Document().LineCount(),
                           [this](PagePosition start) { return PrintPageBody(nullptr, start); });
}

PageBodyLayout ViewPrinting::BodyLayout() {
  PageBodyLayout layout;
  layout.rect = margins_;
  layout.headerHeight = headerHeight_;
  layout.header = !settings_.header.empty();
  layout.footer = !settings_.footer.empty();
  layout.rowHeight = rowHeight_;
  layout.rowWidth = margins_.Width() - oneWidth_;
  return layout;
}

PagePosition ViewPrinting::PrintPageBody(HDC dc, PagePosition start) {
  const PageBodyLayout layout = BodyLayout();
  const int saved = dc ? SaveDC(dc) : 0;
  if (dc) {
    IntersectClipRect(dc, margins_.left, margins_.top, margins_.right, margins_.bottom);
    if (layout.header) DrawHeaderFooter(dc, settings_.header, true, currentPage_);
    SelectObject(dc, printFont_.get());
  }
  PagePosition end;
  {
    fw::Selection font(printerDc_, printFont_.get());
    const LineDocument& lines = engine_.Document();
    const auto fit = [&](std::string_view text) {
      return FitRowBytes(engine_.Code(), rowMeasure_, layout.rowWidth, text);
    };
    std::function<void(const PrintedRow&)> draw;
    if (dc) {
      draw = [&](const PrintedRow& row) {
        const std::string_view text = lines.GetLine(row.line);
        PrintTextRun(dc, layout.rect.left, row.y,
                     text.substr(static_cast<size_t>(row.offset), static_cast<size_t>(row.length)));
      };
    }
    end = LayOutPageBody(lines, start, layout, fit, draw);
  }
  if (dc) {
    if (layout.footer) DrawHeaderFooter(dc, settings_.footer, false, currentPage_);
    RestoreDC(dc, saved);
  }
  return end;
}

void ViewPrinting::DrawHeaderFooter(HDC dc, const std::string& templ, bool header, int page) {
  const HeaderFooterLine line = ExpandHeaderFooter(templ, fileName_, page, time_);
  const std::u16string typed = TemplateToUtf16(line.text, codeconv::PlatformCodePages());
  const std::wstring text(typed.begin(), typed.end());
  const int h = headerHeight_;
  SIZE size{};
  {
    fw::Selection font(printerDc_, headerFont_.get());
    GetTextExtentPoint32W(printerDc_, text.c_str(), static_cast<int>(text.size()), &size);
  }
  fw::Selection font(dc, headerFont_.get());
  const int x = AlignedX(line.align, margins_.left, margins_.right, size.cx);
  const int y = header ? margins_.top : margins_.bottom - h;
  TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
  const int rule = header ? margins_.top + h + h / 4 : margins_.bottom - h - h / 4;
  fw::Selection pen(dc, GetStockObject(BLACK_PEN));
  MoveToEx(dc, margins_.left, rule, nullptr);
  LineTo(dc, margins_.right, rule);
}

void ViewPrinting::PrintTextRun(HDC dc, int x, int y, std::string_view utf8) {
  const TextCode& code = engine_.Code();
  const int extra = GetTextCharacterExtra(dc);
  const int length = static_cast<int>(utf8.size());
  for (int pos = 0; pos < length;) {
    const int n = code.CharLength(utf8.data(), pos, length);
    std::string_view ch = utf8.substr(static_cast<size_t>(pos), static_cast<size_t>(n));
    pos += n;
    const auto b = static_cast<unsigned char>(ch[0]);
    if (b < 0x20 && b != '\t') continue;  // takes no room
    if (b == '\t') ch = " ";
    const int width = MeasureRun(code, measurer_, ch);
    const std::u16string units = code.ToUtf16(ch);
    if (code.GmFont()) {
      const std::string gm = code.UnicodeToCode(units, kCodeGm);
      TextOutA(dc, x, y, gm.data(), static_cast<int>(gm.size()));
    } else {
      TextOutW(dc, x, y, reinterpret_cast<LPCWSTR>(units.data()), static_cast<int>(units.size()));
    }
    x += width + extra;
  }
}

}  // namespace editorview

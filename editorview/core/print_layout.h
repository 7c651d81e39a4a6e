// The editor's printed page without the window system: the margins in
// device pixels, the check that enough of the page is left to print on, the
// header and footer lines built from their templates, the cutting of a line
// into printed rows, the layout of one page body and the pages found lazily
// one after the other, and the font-size arithmetic of the print fonts.
//
// Templates, headers and footers are bytes of code page 932 (as the
// program's INI file and its page-setup dialog hold them), a character that
// code page 932 lacks (Korean typed into a template) written as the
// reference "&#xHHHH;"; the body is the document's UTF-8.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "code_page.h"
#include "line_document.h"
#include "print_loop.h"
#include "text_code.h"
#include "view_seams.h"

namespace editorview {

// The page settings the program keeps (its "PageSet" section): margins in
// whole millimetres and the header and footer templates in code page 932.
struct PageSettings {
  int leftMargin = 15;
  int rightMargin = 15;
  int topMargin = 15;
  int bottomMargin = 15;
  std::string header;
  std::string footer;
  bool operator==(const PageSettings&) const = default;
};
// "&[ﾌｧｲﾙ名]" and "&[ﾍﾟｰｼﾞ番号]&[中央]" in code page 932.
extern const char kDefaultHeader[];
extern const char kDefaultFooter[];
PageSettings DefaultPageSettings();

// The fields of the templates, in code page 932.
namespace field {
extern const char kFileName[];    // "&[ﾌｧｲﾙ名]"
extern const char kPageNumber[];  // "&[ﾍﾟｰｼﾞ番号]"
extern const char kTime[];        // "&[時刻]"
extern const char kDate[];        // "&[日付]"
extern const char kLeft[];        // "&[左端]"
extern const char kCenter[];      // "&[中央]"
extern const char kRight[];       // "&[右端]"
}  // namespace field

// The margin rectangle in device pixels: left = LOGPIXELSX x LeftMargin /
// 25.4 - PHYSICALOFFSETX (at least 0), top likewise; right = min(HORZRES,
// PHYSICALWIDTH - PHYSICALOFFSETX - LOGPIXELSX x RightMargin / 25.4),
// bottom likewise (products cut to whole pixels).
fw::PageRect MarginRect(const fw::PageMetrics& page, const PageSettings& settings);
// The printable area is at least 30 mm wide and 30 mm high.
bool PrintableAreaFits(const fw::PageRect& margins, const fw::PageMetrics& page);

struct PrintTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
};

enum class LineAlign : unsigned char { kLeft, kCenter, kRight };

struct HeaderFooterLine {
  std::string text;  // code page 932, at most kHeaderFooterBytes
  LineAlign align = LineAlign::kLeft;
  bool operator==(const HeaderFooterLine&) const = default;
};
inline constexpr size_t kHeaderFooterBytes = 300;

// The template with its fields replaced: the file name (code page 932), the
// page number, the print time "%d時%d分%d秒" and date "%d年%d月%d日"; the
// alignment fields leave nothing and the last one wins; any other "&" stays.
// The text is cut at 300 bytes, never inside a double-byte character.
HeaderFooterLine ExpandHeaderFooter(std::string_view templ, std::string_view fileName, int page,
                                    const PrintTime& time);
// A template as typed (UTF-16) in code page 932: each character that the
// code page lacks as "&#x" with its code point in hexadecimal and ";", an
// "&" before "#" as "&#x26;", so that the text comes back whole.
std::string TemplateFromUtf16(std::u16string_view text, const codeconv::CodePageConverter& pages);
// The text of a template or of an expanded line as typed: the references
// turned back into their characters; one cut off at the end goes.
std::u16string TemplateToUtf16(std::string_view bytes, const codeconv::CodePageConverter& pages);

// x of a line of width w between left and right.
int AlignedX(LineAlign align, int left, int right, int width);

// Widths in the print font for cutting rows: the 256 single-byte widths
// (GetCharWidthA), the average width and the exact extent of a run.
struct RowMeasure {
  std::array<int, 256> singleByte{};
  int averageWidth = 0;
  // Exact width of UTF-8 text in the print font (Part of the view's run measuring).
  std::function<int(std::string_view)> extent;
};

// The exact extent of a UTF-8 run in a font of the view's code: UTF-16 for a
// KS font, GM bytes for a GM font; a TAB measures as a blank, other control
// bytes as nothing (as the run is painted).
int MeasureRun(const TextCode& code, TextMeasurer& measurer, std::string_view utf8);

// Bytes of text that fit in width: estimated from the single-byte widths and
// twice the average width per multibyte character up to a CR, then measured
// exactly and corrected one character at a time. At least one character is
// always taken (a character wider than the row stands alone), unless the
// text starts with a CR or is empty.
int FitRowBytes(const TextCode& code, const RowMeasure& measure, int width, std::string_view text);

struct PagePosition {
  int line = 0;
  int offset = 0;
  bool operator==(const PagePosition&) const = default;
};

// One printed row of the body.
struct PrintedRow {
  int line = 0;
  int offset = 0;
  int length = 0;
  int y = 0;
};

struct PageBodyLayout {
  fw::PageRect rect;      // the margin rectangle
  int headerHeight = 0;   // h of the header font (tmHeight + tmExternalLeading)
  bool header = false;    // a header is drawn: the body starts 2 h lower
  bool footer = false;    // a footer is drawn: 2 h stay free at the bottom
  int rowHeight = 1;      // of the print font
  int rowWidth = 0;       // rect width less the width of "1"
  int BodyTop() const { return rect.top + (header ? 2 * headerHeight : 0); }
  int BodyBottom() const { return rect.bottom - (footer ? 2 * headerHeight : 0); }
};

// Lays out one page from start: rows cut by FitRowBytes, an ASCII byte (not
// CR) at the cut taken in as well, a CR ending the row and skipping itself
// and the byte after it, an empty line one row. The page ends inside a line
// when the next row would pass the bottom; a page always holds at least one
// row. visit(row) sees each row; the result is where the next page begins
// (line LineCount() once the text has ended).
PagePosition LayOutPageBody(const LineDocument& lines, PagePosition start, const PageBodyLayout& layout,
                            const std::function<int(std::string_view)>& fitRow,
                            const std::function<void(const PrintedRow&)>& visit);

// The starts of the pages found so far (page 1 at (0, 0)), found lazily.
class Pagination {
 public:
  Pagination() { Reset(); }
  void Reset() { starts_.assign(1, PagePosition{}); }
  void Clear() { starts_.clear(); }
  int KnownPages() const { return static_cast<int>(starts_.size()); }
  const std::vector<PagePosition>& Starts() const { return starts_; }
  PagePosition Start(int page) const { return starts_[static_cast<size_t>(page - 1)]; }
  // Page page ended at end: when it is the last known page and the text
  // goes on, end becomes the start of the next page.
  void PageEnded(int page, PagePosition end, int lineCount);
  // Lays pages out (layOut gives the end of the page from a start) from the
  // last known one until page is known or the text ends; false when the
  // text ends before page.
  bool PaginateTo(int page, int lineCount, const std::function<PagePosition(PagePosition)>& layOut);
  // The page that holds a line: the first page whose start line lies beyond
  // it, minus one, or the last page.
  int PageOfLine(int line) const;

 private:
  std::vector<PagePosition> starts_;
};

// Point size of the view font: (screen LOGPIXELSY / 2 + |lfHeight| x 72) /
// screen LOGPIXELSY, a height of 0 counting as 16 pixels.
int ViewFontPoints(int lfHeight, int screenLogPixelsY);
// lfHeight of a font of that many points on a device: -MulDiv(points, LOGPIXELSY, 72).
int FontHeightForPoints(int points, int logPixelsY);
// MulDiv of Win32: a x b / c rounded half away from zero; -1 when c is 0.
int MulDivRound(int a, int b, int c);

}  // namespace editorview

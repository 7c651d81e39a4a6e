#include "print_layout.h"

#include <algorithm>
#include <cstdio>
#include <cctype>
#include <cstdlib>

namespace editorview {

const char kDefaultHeader[] = "&[\xCC\xA7\xB2\xD9\x96\xBC]";
const char kDefaultFooter[] = "&[\xCD\xDF\xB0\xBC\xDE\x94\xD4\x8D\x86]&[\x92\x86\x89\x9B]";

namespace field {
const char kFileName[] = "&[\xCC\xA7\xB2\xD9\x96\xBC]";
const char kPageNumber[] = "&[\xCD\xDF\xB0\xBC\xDE\x94\xD4\x8D\x86]";
const char kTime[] = "&[\x8E\x9E\x8D\x8F]";
const char kDate[] = "&[\x93\xFA\x95t]";
const char kLeft[] = "&[\x8D\xB6\x92[]";
const char kCenter[] = "&[\x92\x86\x89\x9B]";
const char kRight[] = "&[\x89" "E\x92[]";
}  // namespace field

namespace {

// "時", "分", "秒", "年", "月", "日" in code page 932.
constexpr char kHour[] = "\x8E\x9E";
constexpr char kMinute[] = "\x95\xAA";
constexpr char kSecond[] = "\x95" "b";
constexpr char kYear[] = "\x94N";
constexpr char kMonth[] = "\x8C\x8E";
constexpr char kDay[] = "\x93\xFA";

bool IsCp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Pixels of millimetres at a resolution, cut to whole pixels.
int MmToPixels(int logPixels, int mm) { return static_cast<int>(static_cast<long long>(logPixels) * mm * 10 / 254); }

// Start of the character before pos in UTF-8 (pos > 0).
int PrevUtf8(std::string_view text, int pos) {
  int p = pos - 1;
  while (p > 0 && (static_cast<unsigned char>(text[static_cast<size_t>(p)]) & 0xC0) == 0x80 && pos - p < 6) --p;
  return p;
}

}  // namespace

PageSettings DefaultPageSettings() {
  PageSettings s;
  s.header = kDefaultHeader;
  s.footer = kDefaultFooter;
  return s;
}

fw::PageRect MarginRect(const fw::PageMetrics& page, const PageSettings& settings) {
  fw::PageRect r;
  r.left = std::max(MmToPixels(page.logPixelsX, settings.leftMargin) - page.physicalOffsetX, 0);
  r.top = std::max(MmToPixels(page.logPixelsY, settings.topMargin) - page.physicalOffsetY, 0);
  r.right = std::min(page.horzRes,
                     page.physicalWidth - page.physicalOffsetX - MmToPixels(page.logPixelsX, settings.rightMargin));
  r.bottom = std::min(page.vertRes, page.physicalHeight - page.physicalOffsetY -
                                        MmToPixels(page.logPixelsY, settings.bottomMargin));
  return r;
}

bool PrintableAreaFits(const fw::PageRect& m, const fw::PageMetrics& page) {
  // 30 mm against the pixels, without cutting the 30 mm to whole pixels.
  const auto enough = [](int pixels, int logPixels) {
    return static_cast<long long>(pixels) * 254 >= static_cast<long long>(logPixels) * 300;
  };
  return enough(m.Width(), page.logPixelsX) && enough(m.Height(), page.logPixelsY);
}

HeaderFooterLine ExpandHeaderFooter(std::string_view templ, std::string_view fileName, int page,
                                    const PrintTime& t) {
  HeaderFooterLine out;
  std::string& text = out.text;
  char number[64];
  for (size_t i = 0; i < templ.size();) {
    const auto b = static_cast<unsigned char>(templ[i]);
    if (b == '&') {
      const std::string_view rest = templ.substr(i);
      const auto is = [&](const char* f) { return rest.starts_with(f) ? std::string_view(f).size() : 0; };
      if (size_t n = is(field::kFileName)) {
        text += fileName;
        i += n;
        continue;
      }
      if (size_t n = is(field::kPageNumber)) {
        std::snprintf(number, sizeof number, "%d", page);
        text += number;
        i += n;
        continue;
      }
      if (size_t n = is(field::kTime)) {
        std::snprintf(number, sizeof number, "%d%s%d%s%d%s", t.hour, kHour, t.minute, kMinute, t.second, kSecond);
        text += number;
        i += n;
        continue;
      }
      if (size_t n = is(field::kDate)) {
        std::snprintf(number, sizeof number, "%d%s%d%s%d%s", t.year, kYear, t.month, kMonth, t.day, kDay);
        text += number;
        i += n;
        continue;
      }
      const std::pair<const char*, LineAlign> aligns[] = {
          {field::kLeft, LineAlign::kLeft}, {field::kCenter, LineAlign::kCenter}, {field::kRight, LineAlign::kRight}};
      bool aligned = false;
      for (const auto& [f, align] : aligns) {
        if (size_t n = is(f)) {
          out.align = align;
          i += n;
          aligned = true;
          break;
        }
      }
      if (aligned) continue;
      text.push_back('&');
      ++i;
      continue;
    }
    // A double-byte character is copied whole.
    const size_t n = IsCp932Lead(b) && i + 1 < templ.size() ? 2 : 1;
    text.append(templ.substr(i, n));
    i += n;
  }
  if (text.size() > kHeaderFooterBytes) {
    size_t cut = 0;
    for (size_t i = 0; i < text.size();) {
      const size_t n = IsCp932Lead(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
      if (i + n > kHeaderFooterBytes) break;
      i += n;
      cut = i;
    }
    text.resize(cut);
  }
  return out;
}

namespace {

constexpr char16_t kReferenceStart[] = u"&#x";

bool IsHighUnit(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowUnit(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

void AppendReference(std::string& out, char32_t c) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "&#x%X;", static_cast<unsigned>(c));
  out += buffer;
}

}  // namespace

std::string TemplateFromUtf16(std::u16string_view text, const codeconv::CodePageConverter& pages) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    size_t n = 1;
    char32_t c = text[i];
    if (IsHighUnit(text[i]) && i + 1 < text.size() && IsLowUnit(text[i + 1])) {
      c = 0x10000 + ((char32_t(text[i]) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      n = 2;
    }
    const std::u16string one(text.substr(i, n));
    i += n;
    if (c == u'&' && i < text.size() && text[i] == u'#') {
      AppendReference(out, c);
      continue;
    }
    const std::string bytes = c < 0x80 ? std::string(1, static_cast<char>(c)) : pages.FromUtf16(932, one);
    if (c < 0x80 || (!bytes.empty() && pages.ToUtf16(932, bytes) == one)) {
      out += bytes;
    } else {
      AppendReference(out, c);
    }
  }
  return out;
}

std::u16string TemplateToUtf16(std::string_view bytes, const codeconv::CodePageConverter& pages) {
  const std::u16string text = pages.ToUtf16(932, std::string(bytes));
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    if (text.compare(i, 3, kReferenceStart) != 0) {
      out.push_back(text[i++]);
      continue;
    }
    size_t j = i + 3;
    char32_t c = 0;
    while (j < text.size() && j - i < 3 + 6 && std::isxdigit(static_cast<unsigned char>(text[j] < 0x80 ? text[j] : 0))) {
      const char16_t d = text[j++];
      c = c * 16 + static_cast<char32_t>(d <= u'9' ? d - u'0' : (d | 0x20) - u'a' + 10);
    }
    if (j == text.size()) break;  // a reference cut off at the end
    if (text[j] != u';' || j == i + 3 || c > 0x10FFFF) {
      out.push_back(text[i++]);  // no reference: the text as it stands
      continue;
    }
    if (c >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
    i = j + 1;
  }
  return out;
}

int AlignedX(LineAlign align, int left, int right, int width) {
  switch (align) {
    case LineAlign::kCenter: return left + (right - left - width) / 2;
    case LineAlign::kRight: return right - width;
    default: return left;
  }
}

int MeasureRun(const TextCode& code, TextMeasurer& measurer, std::string_view utf8) {
  // As the run is painted: a TAB is a blank, other control bytes take no room.
  std::string painted;
  if (std::any_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
    for (char c : utf8) {
      if (c == '\t') {
        painted.push_back(' ');
      } else if (static_cast<unsigned char>(c) >= 0x20) {
        painted.push_back(c);
      }
    }
    utf8 = painted;
  }
  const std::u16string units = code.ToUtf16(utf8);
  if (code.GmFont()) return measurer.WidthOfBytes(code.UnicodeToCode(units, kCodeGm));
  return measurer.WidthOfUnits(units);
}

int FitRowBytes(const TextCode& code, const RowMeasure& measure, int width, std::string_view text) {
  const int length = static_cast<int>(text.size());
  const char* p = text.data();
  // The estimate.
  int pos = 0;
  int x = 0;
  while (pos < length && p[pos] != '\r') {
    const auto b = static_cast<unsigned char>(p[pos]);
    const int w = b < 0x80 ? measure.singleByte[b] : 2 * measure.averageWidth;
    if (x + w > width) break;
    x += w;
    pos += code.CharLength(p, pos, length);
  }
  // Exactly: fewer characters while too wide, more while they fit.
  const auto fits = [&](int n) { return measure.extent(text.substr(0, static_cast<size_t>(n))) <= width; };
  while (pos > 0 && !fits(pos)) pos = PrevUtf8(text, pos);
  while (pos < length && p[pos] != '\r') {
    const int next = pos + code.CharLength(p, pos, length);
    if (!fits(next)) break;
    pos = next;
  }
  // A row never stays empty: a character wider than the row takes it alone.
  if (pos == 0 && length > 0 && p[0] != '\r') pos = code.CharLength(p, 0, length);
  return pos;
}

PagePosition LayOutPageBody(const LineDocument& lines, PagePosition start, const PageBodyLayout& layout,
                            const std::function<int(std::string_view)>& fitRow,
                            const std::function<void(const PrintedRow&)>& visit) {
  const int top = layout.BodyTop();
  const int bottom = layout.BodyBottom();
  const int rowHeight = std::max(layout.rowHeight, 1);
  int y = top;
  const int count = lines.LineCount();
  for (int line = start.line; line < count; ++line) {
    const std::string_view text = lines.GetLine(line);
    const int length = static_cast<int>(text.size());
    int offset = line == start.line ? std::min(start.offset, length) : 0;
    bool first = true;
    while (first || offset < length) {
      first = false;
      // The next row would pass the bottom: the page ends here (but a page
      // holds at least one row, so that every page moves on).
      if (y + rowHeight > bottom && y > top) return PagePosition{line, offset};
      const std::string_view rest = text.substr(static_cast<size_t>(offset));
      int take = rest.empty() ? 0 : fitRow(rest);
      int skip = 0;
      if (take < static_cast<int>(rest.size())) {
        const auto b = static_cast<unsigned char>(rest[static_cast<size_t>(take)]);
        if (b == '\r') {
          skip = std::min(2, static_cast<int>(rest.size()) - take);
        } else if (b < 0x80) {
          ++take;
        }
      }
      if (visit) visit(PrintedRow{line, offset, take, y});
      y += rowHeight;
      offset += take + skip;
    }
  }
  return PagePosition{count, 0};
}

void Pagination::PageEnded(int page, PagePosition end, int lineCount) {
  if (page == KnownPages() && end.line < lineCount) starts_.push_back(end);
}

bool Pagination::PaginateTo(int page, int lineCount, const std::function<PagePosition(PagePosition)>& layOut) {
  if (starts_.empty()) Reset();
  while (KnownPages() < page) {
    const int last = KnownPages();
    const PagePosition end = layOut(starts_.back());
    PageEnded(last, end, lineCount);
    if (KnownPages() == last) return false;  // the text ended
  }
  return true;
}

int Pagination::PageOfLine(int line) const {
  for (int k = 1; k <= KnownPages(); ++k) {
    if (Start(k).line > line) return std::max(k - 1, 1);
  }
  return std::max(KnownPages(), 1);
}

int MulDivRound(int a, int b, int c) {
  if (c == 0) return -1;
  const long long product = static_cast<long long>(a) * b;
  const long long half = std::llabs(static_cast<long long>(c)) / 2;
  const bool negative = (product < 0) != (c < 0);
  const long long q = (std::llabs(product) + half) / std::llabs(static_cast<long long>(c));
  return static_cast<int>(negative ? -q : q);
}

int ViewFontPoints(int lfHeight, int screenLogPixelsY) {
  if (screenLogPixelsY <= 0) return 0;
  const int height = lfHeight == 0 ? 16 : std::abs(lfHeight);
  return (screenLogPixelsY / 2 + height * 72) / screenLogPixelsY;
}

int FontHeightForPoints(int points, int logPixelsY) { return -MulDivRound(points, logPixelsY, 72); }

}  // namespace editorview

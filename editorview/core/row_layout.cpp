#include "row_layout.h"

#include "gm_text.h"
#include "utf8_text.h"

namespace editorview {

namespace {
constexpr size_t kKeys = 0x10000;
}  // namespace

CharMetrics::CharMetrics(const TextCode& code, TextMeasurer& measurer)
    : code_(code), measurer_(measurer), widths_(kKeys, -1), gmForms_(kKeys, 0) {}

void CharMetrics::Reset() {
  widths_.assign(kKeys, -1);
  gmForms_.assign(kKeys, 0);
}

uint16_t CharMetrics::OtherKey(const char* p, int length) const {
  if (code_.Lines() == LineCode::kFontCode) {
    return length == 2 ? static_cast<uint16_t>(static_cast<unsigned char>(p[0]) << 8 | static_cast<unsigned char>(p[1]))
                       : static_cast<unsigned char>(p[0]);
  }
  char16_t unit = kUndecodableUnit;
  Utf8ToUtf16(p, &unit, length);
  return unit;
}

std::string CharMetrics::GmForm(char16_t unit) {
  uint32_t& form = gmForms_[unit];
  if (form == 0) {
    const std::string gm = code_.UnicodeToCode(std::u16string_view(&unit, 1), kCodeGm);
    const bool usable = gm.size() == 1 || gm.size() == 2;
    const uint32_t length = usable ? static_cast<uint32_t>(gm.size()) : 1;
    const uint32_t first = usable ? static_cast<unsigned char>(gm[0]) : '?';
    const uint32_t second = gm.size() == 2 ? static_cast<unsigned char>(gm[1]) : 0;
    form = length << 16 | first << 8 | second;
  }
  std::string out(1, static_cast<char>(form >> 8 & 0xFF));
  if ((form >> 16) == 2) out.push_back(static_cast<char>(form & 0xFF));
  return out;
}

int CharMetrics::Measure(const char* p, int length, uint16_t key) {
  if (code_.Lines() == LineCode::kFontCode) {
    if (p[0] == '\t') return measurer_.WidthOfBytes(" ");
    return measurer_.WidthOfBytes(std::string_view(p, static_cast<size_t>(length)));
  }
  const char16_t unit = key;
  if (code_.GmFont()) return measurer_.WidthOfBytes(GmForm(unit));
  return measurer_.WidthOfUnits(std::u16string_view(&unit, 1));
}

void CharMetrics::AppendPaintForm(const char* p, int length, int width, std::u16string& units, std::string& bytes,
                                  std::vector<int>& advances) {
  const auto b = static_cast<unsigned char>(p[0]);
  if (b < 0x20 && b != '\t') return;  // takes no room, paints nothing
  const uint16_t key = Key(p, length);
  if (PaintsUnits()) {
    units.push_back(static_cast<char16_t>(key));
    advances.push_back(width);
    return;
  }
  std::string form;
  if (code_.Lines() == LineCode::kUtf8) {
    form = b < 0x80 ? std::string(1, static_cast<char>(key)) : GmForm(key);
  } else {
    form = b == '\t' ? std::string(" ") : std::string(p, static_cast<size_t>(length));
  }
  bytes += form;
  advances.push_back(width);
  for (size_t i = 1; i < form.size(); ++i) advances.push_back(0);
}

int CountRows(const TextCode& code, CharMetrics& metrics, std::string_view text, int textWidth) {
  return WalkRows(code, metrics, text.data(), static_cast<int>(text.size()), textWidth,
                  [](const PlacedChar&) { return true; });
}

CaretPoint CaretPointInLine(const TextCode& code, CharMetrics& metrics, std::string_view text, int offset,
                            int textWidth) {
  CaretPoint point;
  WalkRows(code, metrics, text.data(), static_cast<int>(text.size()), textWidth, [&](const PlacedChar& c) {
    point.row = c.row;
    if (c.offset >= offset) {
      point.x = c.x;
      return false;
    }
    point.x = c.x + c.width;
    return true;
  });
  return point;
}

int OffsetAtPoint(const TextCode& code, CharMetrics& metrics, std::string_view text, int row, int x,
                  int textWidth) {
  int result = -1;
  int lastRow = 0;
  bool decided = false;
  WalkRows(code, metrics, text.data(), static_cast<int>(text.size()), textWidth, [&](const PlacedChar& c) {
    lastRow = c.row;
    if (c.row > row) {  // the target row ended by a break (or lies above the line)
      result = row >= 0 ? c.offset : -1;
      decided = true;
      return false;
    }
    if (c.row == row && 2 * c.x + c.width > 2 * x) {
      result = c.offset;
      decided = true;
      return false;
    }
    return true;
  });
  if (!decided && lastRow == row) result = static_cast<int>(text.size());
  return result;
}

}  // namespace editorview

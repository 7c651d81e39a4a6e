// Wrapping a line into rows: the one walk over a line's characters that row
// counting, painting, caret placement and hit testing share, and the widths
// it uses, measured once per character and font.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text_code.h"
#include "view_seams.h"

namespace editorview {

// Widths and paint forms of characters in the view font, measured through
// the measurer once per character and kept until the font changes. A TAB is
// measured and painted as a blank; other control bytes take no room.
class CharMetrics {
 public:
  CharMetrics(const TextCode& code, TextMeasurer& measurer);

  // Forgets every width (the font or its code changed).
  void Reset();
  int Width(const char* p, int length) {
    const auto b = static_cast<unsigned char>(p[0]);
    if (b < 0x20 && b != '\t') return 0;
    const uint16_t key = Key(p, length);
    int32_t& w = widths_[key];
    if (w < 0) w = Measure(p, length, key);
    return w;
  }

  // Whether characters paint as UTF-16 units (UTF-8 lines on a KS font) or
  // as bytes (GM font, or the forks' stored bytes).
  bool PaintsUnits() const { return code_.Lines() == LineCode::kUtf8 && !code_.GmFont(); }
  // Appends the paint form of a character and its advance (one per unit, or
  // one per byte with the width on the first byte).
  void AppendPaintForm(const char* p, int length, int width, std::u16string& units, std::string& bytes,
                       std::vector<int>& advances);

 private:
  // Key of a character in the caches: its UTF-16 unit, or its code's value.
  uint16_t Key(const char* p, int length) const {
    const auto b = static_cast<unsigned char>(p[0]);
    if (b == '\t') return ' ';
    if (b < 0x80) return b;
    if (code_.Lines() == LineCode::kUtf8 && length == 3) {
      return static_cast<uint16_t>((b & 0x0F) << 12 | (static_cast<unsigned char>(p[1]) & 0x3F) << 6 |
                                   (static_cast<unsigned char>(p[2]) & 0x3F));
    }
    return OtherKey(p, length);
  }
  uint16_t OtherKey(const char* p, int length) const;
  int Measure(const char* p, int length, uint16_t key);
  // GM bytes of a UTF-16 unit ("?" when code page 949 lacks it).
  std::string GmForm(char16_t unit);

  const TextCode& code_;
  TextMeasurer& measurer_;
  std::vector<int32_t> widths_;   // -1: not measured
  std::vector<uint32_t> gmForms_; // 0: not converted; else length << 16 | bytes
};

// One character of a line as the walk places it.
struct PlacedChar {
  int offset = 0;
  int length = 0;
  int row = 0;  // after the break this character caused, if any
  int x = 0;    // left edge in its row, from the text area's left
  int width = 0;
  bool breaksRow = false;  // starts a new row
};

// Walks text[0, length) by characters: a character that would run past the
// text width starts a new row (a row always takes at least one character, so
// a character wider than the row stands alone and is never split); a CR
// starts a new row; TAB is a blank. visit(const PlacedChar&) returns false to
// stop. Returns the number of rows (at least 1).
template <class Visit>
int WalkRows(const TextCode& code, CharMetrics& metrics, const char* text, int length, int textWidth,
             Visit&& visit) {
  int row = 0;
  int x = 0;
  for (int pos = 0; pos < length;) {
    PlacedChar c;
    c.offset = pos;
    c.length = code.CharLength(text, pos, length);
    if (text[pos] == '\r') {
      ++row;
      x = 0;
      c.breaksRow = true;
    } else {
      c.width = metrics.Width(text + pos, c.length);
      if (x > 0 && x + c.width > textWidth) {
        ++row;
        x = 0;
        c.breaksRow = true;
      }
    }
    c.row = row;
    c.x = x;
    x += c.width;
    if (!visit(c)) break;
    pos += c.length;
  }
  return row + 1;
}

// Rows of a line at the text width.
int CountRows(const TextCode& code, CharMetrics& metrics, std::string_view text, int textWidth);

// Where the caret stands at offset: the row and the x of the character there
// (the start of the next row when that character begins it), or behind the
// last character at the line end.
struct CaretPoint {
  int row = 0;
  int x = 0;
};
CaretPoint CaretPointInLine(const TextCode& code, CharMetrics& metrics, std::string_view text, int offset,
                            int textWidth);

// Offset in the line under point (x from the text area's left, row as given;
// -1 for a point above the line): the first character of the row whose
// middle lies right of x; the break when the row ends by a break; the line
// length when the line ends on the row; -1 when the line has no such row.
int OffsetAtPoint(const TextCode& code, CharMetrics& metrics, std::string_view text, int row, int x,
                  int textWidth);

}  // namespace editorview

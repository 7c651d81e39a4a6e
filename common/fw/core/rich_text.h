// Rules of the rich-edit views that need no window: a font's logical height
// as the character height in twips that the control's character formats
// take (and back), and the chunks in which a text is streamed into the
// control and collected from it, each bounded by the room the control gives.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace fw {

// The character height in twips (1/1440 inch) of a font's logical height at
// pixelsPerInch (a negative height is a character height, a positive one a
// cell height, taken the same way here); 0 stays 0 (the default height).
// Rounded to the nearest twip; 0 for a non-positive resolution.
int TwipsFromFontHeight(int lfHeight, int pixelsPerInch);
// The logical character height (negative) of a height in twips at
// pixelsPerInch, rounded to the nearest pixel.
int FontHeightFromTwips(int twips, int pixelsPerInch);

// Bytes handed to the control in the pieces it asks for. unit is the size of
// one code unit (2 for UTF-16 text): a piece never ends inside one.
class StreamSource {
 public:
  explicit StreamSource(std::string_view bytes, std::size_t unit = 1) : bytes_(bytes), unit_(unit ? unit : 1) {}
  // Copies at most capacity bytes into destination; 0 at the end (and when
  // capacity holds not one whole unit).
  std::size_t Read(void* destination, std::size_t capacity);
  bool AtEnd() const { return offset_ >= bytes_.size(); }
  std::size_t offset() const { return offset_; }

 private:
  std::string_view bytes_;
  std::size_t unit_;
  std::size_t offset_ = 0;
};

// Bytes the control hands out, collected up to a limit (the rest is refused).
class StreamSink {
 public:
  explicit StreamSink(std::size_t limit = static_cast<std::size_t>(-1)) : limit_(limit) {}
  // Takes as much of the piece as the limit leaves room for; the count taken.
  std::size_t Append(const void* piece, std::size_t size);
  const std::string& bytes() const { return bytes_; }
  bool Truncated() const { return truncated_; }

 private:
  std::size_t limit_;
  std::string bytes_;
  bool truncated_ = false;
};

}  // namespace fw

// Rich text on the clipboard. RtfClipBuilder turns KS or GM bytes into rich
// text that names one font, so that word processors paste the text in the
// right Korean font; RtfReader splits clipboard rich text into text runs and
// the fonts they are written in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace editorview {

// Bytes EscapeRtfText writes for text.
size_t EscapedRtfLength(std::string_view text);
// Writes the escaped form of text at out and returns its end: CR dropped, LF
// as CR LF "\par ", TAB as "\tab ", a backslash before "\", "{" and "}",
// bytes below 0x20 and from 0x80 up as "\'" and two lower-case hex digits.
char* EscapeRtfText(std::string_view text, char* out);

class RtfClipBuilder {
 public:
  // Resource names of the three template parts (type "RTFDATA").
  static constexpr const char* kPartNames[3] = {"PART1", "PART2", "PART3"};
  static constexpr const char* kResourceType = "RTFDATA";

  // The parts' bytes; each is used up to its first NUL.
  void SetParts(std::string_view part1, std::string_view part2, std::string_view part3);
  // Asks find for each part by name; a part it cannot find stays empty.
  void LoadRtfParts(const std::function<std::span<const uint8_t>(const char* name)>& find);
  const std::string& Part(int index) const { return parts_[index]; }

  // Font size in half-points: abs(lfHeight) in points of a screen of
  // logPixelsY dots an inch, rounded up, times 2 (96 when logPixelsY <= 0).
  static int HalfPoints(int lfHeight, int logPixelsY);

  // PART1, the charset ("129" KS, "128" GM), a blank, the escaped face,
  // PART2, the size, a blank, the escaped bytes, PART3. The result holds
  // exactly that (c_str() gives the NUL the clipboard block ends with).
  std::string BuildRtf(std::string_view charset, std::string_view face, int lfHeight, std::string_view bytes,
                       int logPixelsY) const;

 private:
  std::string parts_[3];
};

// The editor's reader of clipboard rich text: the font table and the text
// runs of the body, each run with the number of its font.
class RtfReader {
 public:
  // Groups nested deeper than this make the parse fail.
  static constexpr int kMaxDepth = 256;

  struct Font {
    std::string number;
    std::string face = "*";
    std::string charset = "1";
  };
  struct Run {
    std::string font;
    std::string text;  // bytes as written, escapes undone
  };

  // Empties the lists.
  void ResetRtfReader();
  // 1 when text begins with "{\rtf" and parses, else 0 with the lists
  // emptied. Reads nothing outside text.
  int Parse(std::string_view text);

  const std::vector<Font>& Fonts() const { return fonts_; }
  const std::vector<Run>& Runs() const { return runs_; }
  // The font table's entry of number; null when the table has none.
  const Font* FindFont(std::string_view number) const;

 private:
  std::vector<Font> fonts_;
  std::vector<Run> runs_;
};

}  // namespace editorview

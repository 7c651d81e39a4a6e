// A view engine over memory for the tests: a document, a measurer of fixed
// widths (8 pixels a single-byte character, 16 a double-width one), a host
// that records what the engine asks of the window, a clipboard in memory and
// a code detector that answers what the test says.
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "fixtures.h"
#include "utf8_text.h"
#include "view_engine.h"

namespace editorview {
// Positions in failure messages.
inline void PrintTo(const TextPosition& p, std::ostream* os) { *os << "(" << p.line << ", " << p.offset << ")"; }
}  // namespace editorview

namespace editorview::test {

inline constexpr int kNarrow = 8;
inline constexpr int kWide = 16;
inline constexpr int kLineHeight = 16;
inline constexpr int kScrollBar = 16;

const codeconv::GmCodeConverter& Converter();

inline std::string Bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s.push_back(static_cast<char>(b));
  return s;
}
// UTF-8 of UTF-16 text.
inline std::string U8(std::u16string_view text) { return Utf16ToUtf8String(text); }

class FixedMeasurer final : public TextMeasurer {
 public:
  int WidthOfUnits(std::u16string_view units) override {
    ++calls;
    int w = 0;
    for (char16_t u : units) w += u < 0x100 ? kNarrow : kWide;
    return w;
  }
  int WidthOfBytes(std::string_view bytes) override {
    ++calls;
    int w = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (static_cast<unsigned char>(bytes[i]) >= 0x80 && i + 1 < bytes.size()) {
        w += kWide;
        ++i;
      } else {
        w += kNarrow;
      }
    }
    return w;
  }
  int calls = 0;
};

class RecordingHost final : public ViewHost {
 public:
  void Beep(BeepKind kind) override { beeps.push_back(kind); }
  void Notify(Notice notice) override { notices.push_back(notice); }
  void Invalidate() override { ++invalidations; }
  void SetScrollBar(const ScrollBarState& state) override { bar = state; }
  void PlaceCaret(int x, int y) override {
    caretX = x;
    caretY = y;
  }
  void PlaceComposition(int x, int y, const Rect& area) override {
    compositionX = x;
    compositionY = y;
    compositionArea = area;
  }
  void CaptureMouse(bool capture) override { captured = capture; }
  void BeginWait() override { ++waits; }
  void EndWait() override { --waits; }

  std::vector<BeepKind> beeps;
  std::vector<Notice> notices;
  int invalidations = 0;
  ScrollBarState bar;
  int caretX = 0, caretY = 0;
  int compositionX = 0, compositionY = 0;
  Rect compositionArea;
  bool captured = false;
  int waits = 0;
};

class MemoryClipboard final : public Clipboard {
 public:
  bool Has(ClipFormat format) const override {
    switch (format) {
      case ClipFormat::kText: return contents.text.has_value();
      case ClipFormat::kUnicodeText: return contents.unicode.has_value();
      case ClipFormat::kRichText: return contents.richText.has_value();
      default: return false;
    }
  }
  bool Write(const ClipboardWrite& data) override {
    if (!openable) return false;
    written = data;
    contents = {data.text, data.unicode, data.richText};
    return true;
  }
  std::optional<ClipboardRead> Read(bool texts, bool richText) override {
    if (!openable) return std::nullopt;
    ClipboardRead read;
    if (texts) {
      read.text = contents.text;
      read.unicode = contents.unicode;
    }
    if (richText) read.richText = contents.richText;
    return read;
  }

  bool openable = true;
  ClipboardRead contents;
  std::optional<ClipboardWrite> written;
};

class FixedDetector final : public CodeDetector {
 public:
  unsigned Detect(std::string_view bytes, unsigned mask) override {
    asked.emplace_back(bytes);
    lastMask = mask;
    return answer;
  }
  unsigned answer = 0;
  unsigned lastMask = 0;
  std::vector<std::string> asked;
};

// A canvas that keeps what was painted: every run as UTF-8 (units) or bytes.
class RecordingCanvas final : public Canvas {
 public:
  struct Run {
    int x, y;
    std::string text;
    bool selected;
    std::vector<int> advances;
  };
  void Fill(const Rect& area) override { fills.push_back(area); }
  void DrawUnits(int x, int y, std::u16string_view units, std::span<const int> advances, bool selected) override {
    runs.push_back({x, y, U8(units), selected, {advances.begin(), advances.end()}});
  }
  void DrawBytes(int x, int y, std::string_view bytes, std::span<const int> advances, bool selected) override {
    runs.push_back({x, y, std::string(bytes), selected, {advances.begin(), advances.end()}});
  }
  std::vector<Rect> fills;
  std::vector<Run> runs;
};

// The client width that gives a text area of textWidth pixels.
inline int ClientWidthFor(int textWidth) { return textWidth + kNarrow / 2 + kNarrow / 2 + kScrollBar; }

struct RigOptions {
  const ViewVariant* variant = &kEditorView;
  int textWidth = 80;  // ten narrow characters
  int rows = 10;
  int lineLimit = kEditorLineLimit;
  int charset = kHangeulCharset;
};

// A view that has been sized and painted once, with its caret at (0, 0).
class Rig {
 public:
  explicit Rig(std::vector<std::string> lines, RigOptions options = {});

  ViewEngine& view() { return *view_; }
  ViewEngine* operator->() { return view_.get(); }
  void Type(std::string_view text) {
    for (char c : text) view_->Char(static_cast<unsigned char>(c));
  }
  void Key(unsigned vk, bool shift = false, bool ctrl = false) { view_->KeyDown(vk, shift, ctrl); }
  // The document's lines after a commit.
  std::vector<std::string> Lines();
  void Place(int line, int offset);  // caret there, no selection
  void Select(TextPosition start, TextPosition end);
  int Beeps() const { return static_cast<int>(host.beeps.size()); }

  MemoryDocument doc;
  FixedMeasurer measurer;
  RecordingHost host;
  MemoryClipboard clipboard;
  FixedDetector detector;
  ViewSettings settings;
  RtfClipBuilder rtf;

 private:
  std::unique_ptr<ViewEngine> view_;
};

// The template parts as stored in the source tree.
std::string ReadPart(int index);

}  // namespace editorview::test

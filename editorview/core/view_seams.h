// What the view engine needs from the window system, each behind a small
// interface: text widths in the view font, a surface to paint on, the
// window's feedback (beeps, boxes, caret, scroll bar), the clipboard and the
// outside code detector. The Win32 view implements them over a window, the
// tests over memory.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace editorview {

// Widths in the view font, in pixels.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // Extent of UTF-16 units (the wide text-extent call).
  virtual int WidthOfUnits(std::u16string_view units) = 0;
  // Extent of bytes of the font's code (the ANSI text-extent call).
  virtual int WidthOfBytes(std::string_view bytes) = 0;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const Rect&) const = default;
};

// The surface of one paint. Text is drawn with an opaque background in the
// normal or the selection colours; advances give each character's width as
// the layout measured it (for bytes: on the first byte of a character, 0 on
// its trail byte), so the painted text matches the caret and hit testing.
class Canvas {
 public:
  virtual ~Canvas() = default;
  // The background colour.
  virtual void Fill(const Rect& area) = 0;
  virtual void DrawUnits(int x, int y, std::u16string_view units, std::span<const int> advances, bool selected) = 0;
  virtual void DrawBytes(int x, int y, std::string_view bytes, std::span<const int> advances, bool selected) = 0;
};

enum class BeepKind : unsigned char {
  kDefault,      // MessageBeep(0): a refused key or edit
  kExclamation,  // MB_ICONEXCLAMATION
  kAsterisk,     // MB_ICONASTERISK
};

// Message boxes of the view; each comes after its own beep.
enum class Notice : unsigned char {
  kNotFound,             // "検索文字列が見つかりません" (information, titled with the active window)
  kClipboardWriteError,  // string 62026
  kClipboardReadError,   // string 62027
  kRtfInvalid,           // string 62025
  kRtfUnconvertible,     // string 62028
  kFontCodeChanged,      // string 62023
};

struct ScrollBarState {
  bool enabled = false;
  int max = 0;  // range 0..max
  int position = 0;
  bool operator==(const ScrollBarState&) const = default;
};

// The window around the engine.
class ViewHost {
 public:
  virtual ~ViewHost() = default;
  virtual void Beep(BeepKind) {}
  virtual void Notify(Notice) {}
  // The client area needs painting (the engine's layout is already current).
  virtual void Invalidate() {}
  virtual void SetScrollBar(const ScrollBarState&) {}
  // SetCaretPos; (-100, -100) while the caret line is not shown.
  virtual void PlaceCaret(int /*x*/, int /*y*/) {}
  // The input context's composition window: CFS_POINT at point, inside area.
  virtual void PlaceComposition(int /*x*/, int /*y*/, const Rect& /*area*/) {}
  // Status pane 1 ("%5d /%5d", see ViewEngine::LineStatusText).
  virtual void LineStatusChanged() {}
  virtual void CaptureMouse(bool /*capture*/) {}
  // A wait cursor while a search or a clipboard transfer runs.
  virtual void BeginWait() {}
  virtual void EndWait() {}
};

// The host's wait cursor for as long as it lives.
class WaitScope {
 public:
  explicit WaitScope(ViewHost& host) : host_(host) { host_.BeginWait(); }
  ~WaitScope() { host_.EndWait(); }
  WaitScope(const WaitScope&) = delete;
  WaitScope& operator=(const WaitScope&) = delete;

 private:
  ViewHost& host_;
};

enum class ClipFormat : unsigned char { kText, kUnicodeText, kLocale, kRichText };

// What a copy puts on the clipboard, in this order: CF_TEXT, CF_LOCALE,
// CF_UNICODETEXT, "Rich Text Format". Absent formats are not written.
struct ClipboardWrite {
  std::optional<std::string> text;       // without its NUL
  std::optional<uint32_t> locale;        // 1042 KS, 1041 GM
  std::optional<std::u16string> unicode;  // without its NUL
  std::optional<std::string> richText;   // without its NUL
};

// What a paste read from the clipboard; each text up to its NUL and never
// beyond its block (see TextFromBlock).
struct ClipboardRead {
  std::optional<std::string> text;
  std::optional<std::u16string> unicode;
  std::optional<std::string> richText;
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual bool Has(ClipFormat format) const = 0;
  // Opens, empties, writes, closes; false when the clipboard cannot be opened.
  virtual bool Write(const ClipboardWrite& data) = 0;
  // Reads the texts asked for (CF_TEXT and CF_UNICODETEXT, or the rich text);
  // nothing when the clipboard cannot be opened.
  virtual std::optional<ClipboardRead> Read(bool texts, bool richText) = 0;
};

// Text of a clipboard block: up to its first NUL, and never more than the
// block's size (other programs need not terminate CF_TEXT).
std::string TextFromBlock(const void* block, size_t blockBytes);
std::u16string UnicodeFromBlock(const void* block, size_t blockBytes);

// The outside code detector ("CHARVANE.dll", export Charvane).
class CodeDetector {
 public:
  virtual ~CodeDetector() = default;
  virtual unsigned Detect(std::string_view bytes, unsigned mask) = 0;
};
// Mask of the paste call and its bit for GM code.
inline constexpr unsigned kPasteDetectMask = 96;
inline constexpr unsigned kDetectedGm = 0x40;

// The view font as the engine needs it.
struct ViewFont {
  int charset = 129;         // 128 GM, 129 KS (HANGEUL_CHARSET)
  int lineHeight = 16;       // tmHeight
  int averageCharWidth = 8;  // of the fixed-pitch measuring font
  int lfHeight = -21;
  std::string face;          // the face name's bytes
  int logPixelsY = 96;       // of the screen, for the rich text's size
};

// The program's settings the view reads (kept by the application).
struct ViewSettings {
  int pasteCode = 0;  // 0 automatic, 1 KS, 2 GM
  bool ksCopyRichText = false;
  bool gmCopyRichText = false;
  std::string ksCopyFont;
  std::string gmCopyFont;
  bool unicodeImeResult = false;  // the forks' Unicode flag (set by each program at start-up)
};

}  // namespace editorview

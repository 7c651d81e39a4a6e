// The editing core of one SEdit control: typing with the text limit, the
// removal runs and the undo that toggles, selections, WM_SETTEXT and
// WM_GETTEXT, clipboard text in and out, input-method results, and the caret
// and scroll arithmetic over a measurer. No window system is involved; the
// window layer turns messages into these calls.
#pragma once
#include <optional>
#include <string>

#include "code_page.h"
#include "sedit_record.h"

namespace sedit {

// Widths of text in the control's font, in pixels.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // Width of the bytes as the control draws them.
  virtual int Width(const char* bytes, int count) = 0;
};

// The content area inside the frame, relative to the client rectangle.
constexpr int kTextLeft = 4;
constexpr int kTextTop = 3;
constexpr int kInsetRight = 2;
constexpr int kInsetBottom = 3;

struct ClipboardText {
  std::optional<std::string> bytes;       // CF_TEXT, up to its NUL
  std::optional<std::u16string> unicode;  // CF_UNICODETEXT, up to its NUL
};

struct MenuState {
  bool undo = false;
  bool cut = false;
  bool copy = false;
  bool paste = false;
  bool clear = false;
  bool selectAll = false;
};

struct ImeReadMode {
  bool utf16 = false;
  unsigned codePage = 0;  // for UTF-16: the code page the result is converted to
};

struct FeedResult {
  int chars = 0;  // characters given to the control
  int beeps = 0;  // of them refused at the text limit
};

struct CaretPlace {
  int x = kTextLeft;
  bool scrolled = false;
};

class Editor {
 public:
  Editor(Record& record, const Variant& variant, const codeconv::CodePageConverter& codePages)
      : r_(record), v_(variant), cp_(codePages) {}

  int Length() const;
  std::string Text() const { return std::string(r_.text, static_cast<size_t>(Length())); }
  std::string UndoText() const;
  Record& record() { return r_; }

  // WM_SETFONT: the font, a copy of its LOGFONTA (null: none) and this control's text rule.
  void ApplyFont(std::uintptr_t font, const unsigned char* logFont, unsigned charset);
  // Code page of the font's charset (0: none).
  unsigned FontCodePageOf() const { return r_.hasLogFont ? FontCodePage(r_.charset) : 0; }

  // One character (a byte, a double-byte pair or a UTF-8 sequence), as the
  // control takes a typed or input-method character. Returns false when it
  // was refused with a beep (the text limit).
  bool OnChar(const char* bytes, int count);
  // WM_CHAR with one byte. A lead byte waits for its trail byte, so a
  // double-byte character typed as two messages goes in whole or not at all.
  bool TypeByte(unsigned char byte);
  void Backspace();
  void DeleteForward();
  void DeleteSelection();
  bool Undo();
  bool CanUndo() const { return r_.undoPos >= 0; }

  // EM_SETSEL: start < 0 clears the selection; end < 0 is the end of the text.
  void SetSel(int start, int end);
  void ExtendSelection(int newCaret);
  void KeyRight(bool shift);
  void KeyLeft(bool shift);
  void FocusGained(bool selectAll);
  void FocusLost() { r_.focus = false; }

  void SetText(const char* text);
  // Bytes written without the NUL; nothing is written into a zero-size buffer.
  int GetText(char* out, size_t size) const;
  void LimitText(std::uint64_t limit);

  // Inserts clipboard text at the caret; false when nothing went in.
  bool Paste(const ClipboardText& clip);
  // The selection as clipboard text; nothing when there is no selection.
  ClipboardText Copy() const;

  ImeReadMode ImeResultMode(bool imeUnicodeInterface) const;
  bool ImeResultTooLong(long bytes) const { return bytes >= v_.imeResultDrop; }
  // Feeds a result string to OnChar, one character at a time.
  FeedResult FeedImeResult(const std::string& bytes);
  FeedResult FeedImeResult(const std::u16string& text, const ImeReadMode& mode);

  MenuState Menu(bool textOnClipboard) const;

  // Scrolls so that the caret is visible and gives its x; contentRight is the
  // right edge of the content area.
  CaretPlace UpdateCaret(TextMeasurer& measure, int contentRight);
  int HitTest(int x, TextMeasurer& measure) const;

 private:
  int CharLen(int pos) const { return r_.rule.CharLength(r_.text, pos, Length()); }
  int PrevChar(int pos) const { return r_.rule.PrevChar(r_.text, pos, Length()); }
  void InsertBytes(int pos, const char* bytes, int count);
  void RemoveBytes(int pos, int count);
  int RemoveChar(int start, int end, bool backward);
  // Arrow keys: at the edge only a plain move clears the selection.
  void MoveCaret(bool atEdge, int target, bool shift);
  // Bytes that the control stores for text of the ANSI code page 932.
  std::string FromAnsi(const std::string& bytes) const;
  std::string FromUtf16(const std::u16string& text, unsigned codePage) const;
  std::string CleanPaste(const std::string& bytes) const;
  FeedResult FeedBytes(const std::string& bytes);

  Record& r_;
  const Variant& v_;
  const codeconv::CodePageConverter& cp_;
};

}  // namespace sedit

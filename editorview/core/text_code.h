// The text-code policy of a view: how its lines split into characters and
// how they convert to and from UTF-16 and the clipboard's KS and GM codes.
// The editor's lines are UTF-8; the forks' lines are the double-byte code of
// their font (GM for a font of charset 128, KS otherwise).
#pragma once

#include <string>
#include <string_view>

#include "code_page.h"
#include "gm_converter.h"
#include "view_variant.h"

namespace editorview {

inline constexpr int kGmCharset = 128;      // SHIFTJIS_CHARSET: a GM-code font
inline constexpr int kHangeulCharset = 129;  // HANGEUL_CHARSET: a KS-code font
inline constexpr unsigned kKsCodePage = 949;
inline constexpr unsigned kJapaneseCodePage = 932;

// Code numbers inside the view.
inline constexpr int kCodeKs = 0;
inline constexpr int kCodeGm = 1;

class TextCode {
 public:
  TextCode(LineCode lines, const codeconv::GmCodeConverter& gm, const codeconv::CodePageConverter& pages)
      : lines_(lines), gm_(gm), pages_(pages) {}

  void SetCharset(int charset) { charset_ = charset; }
  int Charset() const { return charset_; }
  bool GmFont() const { return charset_ == kGmCharset; }
  // 1 for a GM font, 0 for a KS font.
  int FontCode() const { return GmFont() ? kCodeGm : kCodeKs; }
  LineCode Lines() const { return lines_; }
  const codeconv::GmCodeConverter& Gm() const { return gm_; }
  const codeconv::CodePageConverter& Pages() const { return pages_; }

  // Bytes of the character at pos of text[0, length): UTF-8 by its lead
  // byte, or a lead byte of the line code with its trail byte. Always
  // between 1 and length - pos (for pos < length); never reads past length.
  int CharLength(const char* text, int pos, int length) const {
    const auto b = static_cast<unsigned char>(text[pos]);
    if (b < 0x80 || length - pos <= 1) return 1;
    // The usual three-byte sequence (every Hangul syllable) without a call.
    if (lines_ == LineCode::kUtf8 && (b & 0xF0) == 0xE0 && length - pos >= 3 &&
        (static_cast<unsigned char>(text[pos + 1]) & 0xC0) == 0x80 &&
        (static_cast<unsigned char>(text[pos + 2]) & 0xC0) == 0x80) {
      return 3;
    }
    return OtherCharLength(text, pos, length);
  }
  // Start of the character that ends at pos (0 for pos 0); text is
  // NUL-terminated at length, as the caret-line buffer is.
  int PrevChar(const char* text, int pos, int length) const;
  // Whether the byte leads a double-byte character of the forks' code.
  bool IsLeadByte(unsigned char b) const;

  // A line's text as UTF-16 and back.
  std::u16string ToUtf16(std::string_view line) const;
  std::string FromUtf16(std::u16string_view text) const;

  // UTF-16 as KS (code page 949) or GM bytes; in GM, pairs outside KS X
  // 1001 become "?".
  std::string UnicodeToCode(std::u16string_view text, int code) const;
  // KS or GM bytes as UTF-16.
  std::u16string CodeToUnicode(std::string_view bytes, int code) const;

 private:
  int OtherCharLength(const char* text, int pos, int length) const;

  LineCode lines_;
  const codeconv::GmCodeConverter& gm_;
  const codeconv::CodePageConverter& pages_;
  int charset_ = kHangeulCharset;
};

// Lines never hold control bytes other than TAB: inserted text has blanks
// in their place (no code's trail byte is below 0x20).
std::string ControlBytesAsBlanks(std::string_view text);

// UTF-8 of UTF-16 text and back, with the editor's routines.
std::string Utf16ToUtf8String(std::u16string_view text);
std::u16string Utf8ToUtf16String(std::string_view text);

}  // namespace editorview

// Character stepping over the bytes of a control: double-byte text with a
// lead-byte test, or UTF-8. Every step stays inside the given length, so a
// damaged text never moves a position past its end.
#pragma once
#include <cstddef>
#include <string>

namespace sedit {

enum class TextCode : unsigned char {
  kShiftJisShape,  // 0x81-0x9F and 0xE0-0xFF lead
  kAllHighLead,    // every byte 0x80 and above leads
  kCodePage,       // the lead bytes of a Windows code page
  kUtf8,
};

// Lead bytes of the double-byte Windows code pages 932, 936, 949 and 950, as
// IsDBCSLeadByteEx gives them; code page 0 stands for the ANSI code page 932.
bool IsCodePageLeadByte(unsigned codePage, unsigned char byte);

// Code page of a font charset: 134 gives 936, 136 gives 950, 129 gives 949,
// any other charset none (0).
unsigned FontCodePage(unsigned charset);

struct TextRule {
  TextCode code = TextCode::kShiftJisShape;
  unsigned codePage = 0;  // kCodePage only

  // Whether the byte starts a double-byte character (never for kUtf8).
  bool IsLead(unsigned char byte) const;
  // Bytes of the character at pos (at least 1, at most length - pos).
  int CharLength(const char* text, int pos, int length) const;
  // Start of the character that ends at (or spans) pos; 0 for pos 0.
  int PrevChar(const char* text, int pos, int length) const;
  // Start of the character that holds pos (pos itself on a boundary).
  int CharStart(const char* text, int pos, int length) const;
  // End of the character that holds pos (pos itself on a boundary).
  int CharEnd(const char* text, int pos, int length) const;
  // Longest prefix of text[0, length) of whole characters, at most max bytes
  // long; a lead byte without its trail byte is left out.
  int FitLength(const char* text, int length, int max) const;
};

// UTF-8 routines of the editor's copy: 1 to 3 bytes a UTF-16 unit, no
// surrogate pairing.
int Utf8CharLength(const char* text, int pos, int length);
int Utf8PrevChar(const char* text, int pos, int length);
std::string Utf16ToUtf8(const std::u16string& text);
// Sequences that are not 1, 2 or 3 bytes long decode as U+3013.
std::u16string Utf8ToUtf16(const char* text, int length);

}  // namespace sedit

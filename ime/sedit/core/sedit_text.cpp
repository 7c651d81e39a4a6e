#include "sedit_text.h"

#include "utf8_text.h"

namespace sedit {

bool IsCodePageLeadByte(unsigned codePage, unsigned char b) {
  switch (codePage) {
    case 0:
    case 932: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950: return b >= 0x81 && b <= 0xFE;
    default: return false;
  }
}

unsigned FontCodePage(unsigned charset) {
  switch (charset) {
    case 134: return 936;
    case 136: return 950;
    case 129: return 949;
    default: return 0;
  }
}

bool TextRule::IsLead(unsigned char b) const {
  switch (code) {
    case TextCode::kShiftJisShape: return (b >= 0x81 && b <= 0x9F) || b >= 0xE0;
    case TextCode::kAllHighLead: return b >= 0x80;
    case TextCode::kCodePage: return IsCodePageLeadByte(codePage, b);
    case TextCode::kUtf8: return false;
  }
  return false;
}

int TextRule::CharLength(const char* text, int pos, int length) const {
  if (pos >= length) return 0;
  if (code == TextCode::kUtf8) return Utf8CharLength(text, pos, length);
  return IsLead(static_cast<unsigned char>(text[pos])) && pos + 1 < length ? 2 : 1;
}

int TextRule::PrevChar(const char* text, int pos, int length) const {
  if (pos <= 0) return 0;
  if (pos > length) pos = length;
  if (code == TextCode::kUtf8) return Utf8PrevChar(text, pos, length);
  int i = 0;
  for (;;) {
    int n = CharLength(text, i, length);
    if (i + n >= pos) return i;
    i += n;
  }
}

int TextRule::CharStart(const char* text, int pos, int length) const {
  if (pos <= 0) return 0;
  if (pos >= length) return length;
  int start = PrevChar(text, pos, length);
  return start + CharLength(text, start, length) == pos ? pos : start;
}

int TextRule::CharEnd(const char* text, int pos, int length) const {
  int start = CharStart(text, pos, length);
  return start == pos ? pos : start + CharLength(text, start, length);
}

int TextRule::FitLength(const char* text, int length, int max) const {
  int i = 0;
  while (i < length) {
    const int n = CharLength(text, i, length);
    if (i + n > max) break;
    if (n == 1 && IsLead(static_cast<unsigned char>(text[i]))) break;  // its trail byte is missing
    i += n;
  }
  return i;
}

namespace {
bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }
}  // namespace

int Utf8CharLength(const char* text, int pos, int length) {
  if (pos >= length) return 0;
  const unsigned char b = static_cast<unsigned char>(text[pos]);
  if (b < 0x80) return 1;
  int n = 0;
  if ((b & 0xE0) == 0xC0) n = 2;
  else if ((b & 0xF0) == 0xE0) n = 3;
  else if ((b & 0xF8) == 0xF0) n = 4;
  else if ((b & 0xFC) == 0xF8) n = 5;
  else if ((b & 0xFE) == 0xFC) n = 6;
  else return 1;  // a continuation byte or 0xFE/0xFF counts alone
  if (pos + n > length) return 1;
  for (int k = 1; k < n; ++k) {
    if (!IsContinuation(static_cast<unsigned char>(text[pos + k]))) return 1;
  }
  return n;
}

int Utf8PrevChar(const char* text, int pos, int length) {
  if (pos <= 0) return 0;
  if (pos > length) pos = length;
  int i = pos - 1;
  while (i > 0 && IsContinuation(static_cast<unsigned char>(text[i]))) --i;
  // Walk forward from the lead to the character that ends at pos.
  for (;;) {
    int n = Utf8CharLength(text, i, length);
    if (i + n >= pos) return i;
    i += n;
  }
}

// The conversions are the editor's own routines; the text stops at a NUL.
std::string Utf16ToUtf8(const std::u16string& text) {
  const int units = static_cast<int>(text.size());
  std::string out(static_cast<size_t>(editorview::Utf8LengthOfUtf16(text.data(), units)), '\0');
  out.resize(static_cast<size_t>(editorview::Utf16ToUtf8(text.data(), out.data(), units)));
  return out;
}

std::u16string Utf8ToUtf16(const char* text, int length) {
  if (text == nullptr || length <= 0) return {};
  std::u16string out(static_cast<size_t>(editorview::Utf16LengthOfUtf8(text, length)), u'\0');
  out.resize(static_cast<size_t>(editorview::Utf8ToUtf16(text, out.data(), length)));
  return out;
}

}  // namespace sedit

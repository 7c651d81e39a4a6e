#include "text_code.h"

#include <cstring>

#include "gm_text.h"
#include "ks_gm.h"
#include "utf8_text.h"

namespace editorview {

namespace {
// Longest sequence the UTF-8 stepping recognises.
constexpr int kLongestSequence = 6;
}  // namespace

bool TextCode::IsLeadByte(unsigned char b) const {
  return GmFont() ? codeconv::IsGmLeadByte(b) : codeconv::IsHighBitByte(b);
}

int TextCode::OtherCharLength(const char* text, int pos, int length) const {
  const int left = length - pos;
  const auto b = static_cast<unsigned char>(text[pos]);
  if (lines_ == LineCode::kFontCode) return IsLeadByte(b) ? 2 : 1;
  if (left > kLongestSequence) return Utf8CharLength(text + pos);
  // Near the end: step over a terminated copy, so nothing past length is read.
  char tail[kLongestSequence + 1] = {};
  std::memcpy(tail, text + pos, static_cast<size_t>(left));
  return Utf8CharLength(tail);
}

int TextCode::PrevChar(const char* text, int pos, int length) const {
  if (pos <= 0) return 0;
  if (lines_ == LineCode::kUtf8) return static_cast<int>(Utf8PrevChar(text, text + pos) - text);
  // A trail byte can look like a lead byte: walk from the line start.
  int last = 0;
  for (int p = 0; p < pos;) {
    last = p;
    p += CharLength(text, p, length);
  }
  return last;
}

std::string ControlBytesAsBlanks(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') c = ' ';
  }
  return out;
}

std::string Utf16ToUtf8String(std::u16string_view text) {
  const int units = static_cast<int>(text.size());
  std::string out(static_cast<size_t>(Utf8LengthOfUtf16(text.data(), units)), '\0');
  out.resize(static_cast<size_t>(Utf16ToUtf8(text.data(), out.data(), units)));
  return out;
}

std::u16string Utf8ToUtf16String(std::string_view text) {
  const int bytes = static_cast<int>(text.size());
  std::u16string out(static_cast<size_t>(Utf16LengthOfUtf8(text.data(), bytes)), u'\0');
  out.resize(static_cast<size_t>(Utf8ToUtf16(text.data(), out.data(), bytes)));
  return out;
}

std::u16string TextCode::ToUtf16(std::string_view line) const {
  if (lines_ == LineCode::kUtf8) return Utf8ToUtf16String(line);
  return CodeToUnicode(line, FontCode());
}

std::string TextCode::FromUtf16(std::u16string_view text) const {
  if (lines_ == LineCode::kUtf8) return Utf16ToUtf8String(text);
  return UnicodeToCode(text, FontCode());
}

std::string TextCode::UnicodeToCode(std::u16string_view text, int code) const {
  std::string ks = pages_.FromUtf16(kKsCodePage, std::u16string(text));
  if (code != kCodeGm) return ks;
  return KsToGmText(gm_, ks);
}

std::u16string TextCode::CodeToUnicode(std::string_view bytes, int code) const {
  if (code != kCodeGm) return pages_.ToUtf16(kKsCodePage, std::string(bytes));
  std::string ks(bytes.size() + 1, '\0');
  gm_.GmToKs(ks.data(), bytes.data(), static_cast<unsigned>(bytes.size()));
  ks.resize(bytes.size());
  return pages_.ToUtf16(kKsCodePage, ks);
}

}  // namespace editorview

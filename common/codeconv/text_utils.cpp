#include "text_utils.h"

#include <cstdio>
#include <cstring>

#include "ks_gm.h"

namespace codeconv {

namespace {

constexpr int kIterationMarkOrdinal = 280;  // 81 58
constexpr int kDashOrdinal = 284;  // 81 5C, counted with katakana

bool InRange(unsigned v, unsigned low, unsigned high) { return v >= low && v <= high; }

int ClassOfOrdinal(int ordinal) {
  if (InRange(static_cast<unsigned>(ordinal), 538, 620)) return kClassHiragana;
  if (InRange(static_cast<unsigned>(ordinal), 632, 717) || ordinal == kDashOrdinal) return kClassKatakana;
  if (ordinal >= 1666 || ordinal == kIterationMarkOrdinal) return kClassKanji;
  return kClassOther;
}

// Bytes of the character at text: 2 for a lead byte followed by anything but the end.
size_t CharBytes(const uint8_t* text) { return IsGmLeadByte(text[0]) && text[1] != 0 ? 2 : 1; }

// Value of a field of hex digits after optional padding blanks; false when
// anything else is in it or no digit is.
bool ParseHexField(const char* field, size_t size, unsigned& value) {
  size_t i = 0;
  while (i < size && field[i] == ' ') ++i;
  if (i == size) return false;
  value = 0;
  for (; i < size; ++i) {
    const char c = field[i];
    unsigned digit;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    else if (c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
    else return false;
    value = value << 4 | digit;
  }
  return true;
}

// ---- spacing normaliser tables ----

struct Range {
  uint16_t low, high;
};

constexpr Range kWordRangesSjis[] = {{0x8260, 0x8279}, {0x8281, 0x829A}, {0x824F, 0x8258},
                                     {0x829F, 0x82F1}, {0x8340, 0x8396}};
constexpr Range kWordRangesEuc[] = {{0xA3C1, 0xA3DA}, {0xA3E1, 0xA3FA}, {0xA3B0, 0xA3B9}, {0xA1F0, 0xA1F0}};
constexpr Range kWordRangesBig5[] = {{0xA2CF, 0xA2FE}, {0xA340, 0xA343}, {0xA2AF, 0xA2B8}};
// 「」『』（）｛｝＜＞【】［］《》〈〉〔〕‘’“”
constexpr uint16_t kFullWidthBracketsSjis[] = {0x8175, 0x8176, 0x8177, 0x8178, 0x8169, 0x816A, 0x816F, 0x8170,
                                               0x8183, 0x8184, 0x8179, 0x817A, 0x816D, 0x816E, 0x8173, 0x8174,
                                               0x8171, 0x8172, 0x816B, 0x816C, 0x8165, 0x8166, 0x8167, 0x8168};
constexpr char kHalfWidthBrackets[] = "[](){}<>'\"";

template <size_t N>
bool InAny(uint16_t c, const Range (&ranges)[N]) {
  for (const Range& r : ranges) {
    if (InRange(c, r.low, r.high)) return true;
  }
  return false;
}

uint16_t FullWidthBlank(int mode) { return mode == kSpacingShiftJis ? 0x8140 : mode == kSpacingEuc ? 0xA1A1 : 0xA140; }

bool IsWordChar(uint16_t c, size_t width, int mode) {
  if (width == 1) {
    const bool alnum = InRange(c, 'A', 'Z') || InRange(c, 'a', 'z') || InRange(c, '0', '9');
    return alnum || (mode == kSpacingShiftJis && InRange(c, 0xAB, 0xDF));
  }
  switch (mode) {
    case kSpacingShiftJis: return InAny(c, kWordRangesSjis);
    case kSpacingEuc: return InAny(c, kWordRangesEuc);
    default: return InAny(c, kWordRangesBig5);
  }
}

bool IsBracket(uint16_t c, size_t width, int mode) {
  if (width == 1) return c != 0 && std::strchr(kHalfWidthBrackets, static_cast<int>(c)) != nullptr;
  if (mode != kSpacingShiftJis) return false;
  for (uint16_t b : kFullWidthBracketsSjis) {
    if (b == c) return true;
  }
  return false;
}

}  // namespace

int GetSjisCharOrdinal(const char* text) {
  if (text == nullptr) return 0;
  const auto* t = reinterpret_cast<const uint8_t*>(text);
  const int lead = t[0];
  if (!IsGmLeadByte(t[0])) return lead;
  const int trail = t[1];
  const int base = lead <= 0x9F ? 24060 : 36092;
  if (InRange(static_cast<unsigned>(trail), 0x40, 0x7E)) return lead * 188 + trail - base;
  if (InRange(static_cast<unsigned>(trail), 0x80, 0xFC)) return lead * 188 + trail - base - 1;
  return -1;
}

int GetSjisCharClass(const char* text) {
  return text == nullptr ? kClassOther : ClassOfOrdinal(GetSjisCharOrdinal(text));
}

int GetStringCharClass(const char* text) {
  if (text == nullptr || text[0] == '\0') return kClassOther;
  const auto* t = reinterpret_cast<const uint8_t*>(text);
  const int first = GetSjisCharClass(text);
  for (size_t i = 0; t[i] != 0; i += CharBytes(t + i)) {
    if (GetSjisCharClass(text + i) != first) return -1;
  }
  return first;
}

int GetTrimmedLength(const char* text, int position) {
  if (text == nullptr) return 0;
  for (int i = position; i >= 0; --i) {
    if (text[i] != ' ' && text[i] != '\0') return i + 1;
  }
  return 0;
}

int EscapeForCommandLine(char* output, unsigned outputSize, const char16_t* text, int count) {
  if (output == nullptr || outputSize == 0) return 0;
  output[0] = '\0';
  if (text == nullptr || count <= 0) return 0;
  unsigned written = 0;
  int consumed = 0;
  for (; consumed < count && text[consumed] != 0; ++consumed) {
    const char16_t u = text[consumed];
    char piece[8];
    int size;
    if (u == '.' || u == '_' || u == '-') {
      piece[0] = static_cast<char>(u);
      size = 1;
    } else if (u == ' ') {
      piece[0] = '+';
      size = 1;
    } else if (u < 0x80) {
      size = std::snprintf(piece, sizeof piece, "%%%2X", static_cast<unsigned>(u));
    } else {
      size = std::snprintf(piece, sizeof piece, "%%u%4X", static_cast<unsigned>(u));
    }
    if (written + static_cast<unsigned>(size) + 1 > outputSize) break;
    std::memcpy(output + written, piece, static_cast<size_t>(size));
    written += static_cast<unsigned>(size);
    output[written] = '\0';
  }
  return consumed;
}

int UnescapePercentText(char16_t* output, int outputUnits, const char* text, size_t textBytes, size_t* stop) {
  size_t i = 0;
  int written = 0;
  if (output != nullptr && outputUnits > 0 && text != nullptr) {
    while (written < outputUnits && i < textBytes && text[i] != '\0') {
      if (text[i] == '%') {
        const bool wide = i + 1 < textBytes && (text[i + 1] == 'u' || text[i + 1] == 'U');
        const size_t start = i + (wide ? 2 : 1);
        const size_t digits = wide ? 4 : 2;
        unsigned value;
        if (start + digits > textBytes || !ParseHexField(text + start, digits, value)) break;
        output[written++] = static_cast<char16_t>(value);
        i = start + digits;
      } else {
        output[written++] = text[i] == '+' ? u' ' : static_cast<char16_t>(static_cast<uint8_t>(text[i]));
        ++i;
      }
    }
    if (written < outputUnits) output[written] = 0;
  }
  if (stop != nullptr) *stop = i;
  return written;
}

void NormalizeSpacing(const char* source, char* destination, int mode) {
  if (destination == nullptr) return;
  if (source == nullptr) {
    destination[0] = '\0';
    return;
  }
  if (mode < kSpacingShiftJis || mode > kSpacingBig5) {
    std::memmove(destination, source, std::strlen(source) + 1);
    return;
  }
  const auto* s = reinterpret_cast<const uint8_t*>(source);
  auto* d = reinterpret_cast<uint8_t*>(destination);
  size_t out = 0;
  size_t pendingBlank = 0;   // width of the blank last written and not yet kept
  bool afterWord = false;    // the last character other than a blank was a word character
  bool afterBracket = false; // the next character is not taken as a word character
  for (size_t i = 0; s[i] != 0;) {
    const bool lead = mode == kSpacingShiftJis ? IsGmLeadByte(s[i]) : IsHighBitByte(s[i]);
    const size_t width = lead && s[i + 1] != 0 ? 2 : 1;
    const uint16_t c = width == 2 ? MakeDb(s[i], s[i + 1]) : s[i];
    const bool halfBlank = width == 1 && c == ' ';
    if (halfBlank || (width == 2 && c == FullWidthBlank(mode))) {
      if (!halfBlank) afterBracket = false;
      if (pendingBlank == 0) {
        std::memmove(d + out, s + i, width);
        out += width;
        pendingBlank = width;
      }
      i += width;
      continue;
    }
    if (!afterBracket && IsWordChar(c, width, mode)) {
      afterWord = true;
    } else {
      if (pendingBlank != 0 && !afterWord) out -= pendingBlank;
      afterWord = false;
    }
    pendingBlank = 0;
    std::memmove(d + out, s + i, width);
    out += width;
    afterBracket = IsBracket(c, width, mode);
    i += width;
  }
  if (pendingBlank != 0) out -= pendingBlank;
  d[out] = 0;
}

int Utf8SequenceLength(const unsigned char* s, size_t n) {
  const unsigned b = s[0];
  if (b < 0x80) return 1;
  size_t need;
  unsigned low = 0x80, high = 0xBF;  // range of the second byte
  if (InRange(b, 0xC2, 0xDF)) {
    need = 1;
  } else if (InRange(b, 0xE0, 0xEF)) {
    need = 2;
    if (b == 0xE0) low = 0xA0;
  } else if (InRange(b, 0xF0, 0xF4)) {
    need = 3;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  for (size_t k = 1; k <= need; ++k) {
    if (k >= n) return -static_cast<int>(k);
    const unsigned c = s[k];
    if (k == 1 ? !InRange(c, low, high) : (c & 0xC0) != 0x80) return 0;
  }
  return static_cast<int>(need + 1);
}

std::u32string DecodeUtf8Unchecked(std::string_view text) {
  std::u32string out;
  for (size_t i = 0; i < text.size();) {
    const unsigned b = static_cast<unsigned char>(text[i]);
    const size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : 4;
    char32_t c = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
    for (size_t k = 1; k < n && i + k < text.size(); ++k) c = c << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    out.push_back(c);
    i += n;
  }
  return out;
}

}  // namespace codeconv

#include "utf8_text.h"

#include <cstddef>

namespace editorview {

namespace {

using Byte = unsigned char;

constexpr bool IsContinuation(Byte b) { return (b & 0xC0) == 0x80; }

// Length marked by a byte of 0x80 and above: the first clear bit among 5..1
// gives 2..6; 0 when all five are set.
constexpr int MarkedLength(Byte b) {
  for (int bit = 5, length = 2; bit >= 1; --bit, ++length) {
    if ((b & (1u << bit)) == 0) return length;
  }
  return 0;
}

// Utf8CharLength with at most `limit` bytes readable after the first one
// (the count's end); the continuation test stops at a NUL by itself.
int CharLength(const Byte* p, size_t limit) {
  if (p[0] < 0x80) return 1;
  const int length = MarkedLength(p[0]);
  if (length == 0 || static_cast<size_t>(length - 1) > limit) return 1;
  for (int k = 1; k < length; ++k) {
    if (!IsContinuation(p[k])) return 1;
  }
  return length;
}

constexpr size_t kNoLimit = static_cast<size_t>(-1);

// The one decoding walk behind Utf8ToUtf16 and Utf16LengthOfUtf8: emit(unit)
// for every unit; returns the units emitted without the NUL and tells whether
// the NUL was reached.
template <class Emit>
int DecodeUtf8(const char* source, int bytes, Emit emit, bool& reachedNul) {
  reachedNul = false;
  if (source == nullptr || bytes == 0) return 0;
  const auto* s = reinterpret_cast<const Byte*>(source);
  const bool toNul = bytes < 0;
  const size_t end = toNul ? kNoLimit : static_cast<size_t>(bytes);
  int units = 0;
  size_t i = 0;
  while (i < end) {
    const Byte c = s[i];
    if (c == 0) {
      emit(u'\0');
      reachedNul = true;
      return units;
    }
    // Bytes that may be read after c; in NUL mode the continuation tests
    // stop at the NUL, which is no continuation byte.
    const size_t after = toNul ? kNoLimit : end - i - 1;
    char16_t unit;
    size_t step;
    if (c < 0x80) {
      unit = c;
      step = 1;
    } else if ((c & 0xE0) == 0xC0 && after >= 1 && IsContinuation(s[i + 1])) {
      unit = static_cast<char16_t>((c & 0x1F) << 6 | (s[i + 1] & 0x3F));
      step = 2;
    } else if ((c & 0xF0) == 0xE0 && after >= 2 && IsContinuation(s[i + 1]) && IsContinuation(s[i + 2])) {
      unit = static_cast<char16_t>((c & 0x0F) << 12 | (s[i + 1] & 0x3F) << 6 | (s[i + 2] & 0x3F));
      step = 3;
    } else {
      // A 4- to 6-byte sequence is passed over whole; any other damaged byte
      // counts alone (or with the continuation bytes it marks).
      unit = kUndecodableUnit;
      step = static_cast<size_t>(CharLength(s + i, after));
    }
    emit(unit);
    ++units;
    i += step;
  }
  return units;
}

// The one encoding walk behind Utf16ToUtf8 and Utf8LengthOfUtf16: put(byte)
// for every byte, the NUL included when reached.
template <class Put>
int EncodeUtf8(const char16_t* source, int units, Put put, bool& reachedNul) {
  reachedNul = false;
  if (source == nullptr) return 0;
  int written = 0;
  for (size_t i = 0; units < 0 || i < static_cast<size_t>(units); ++i) {
    const char16_t c = source[i];
    if (c == 0) {
      put(0);
      reachedNul = true;
      return written;
    }
    if (c < 0x80) {
      put(static_cast<Byte>(c));
      written += 1;
    } else if (c < 0x800) {
      put(static_cast<Byte>(0xC0 | c >> 6));
      put(static_cast<Byte>(0x80 | (c & 0x3F)));
      written += 2;
    } else {
      put(static_cast<Byte>(0xE0 | c >> 12));
      put(static_cast<Byte>(0x80 | (c >> 6 & 0x3F)));
      put(static_cast<Byte>(0x80 | (c & 0x3F)));
      written += 3;
    }
  }
  return written;
}

}  // namespace

int Utf16ToUtf8(const char16_t* source, char* destination, int units) {
  if (destination == nullptr) return 0;
  size_t at = 0;
  bool nul;
  return EncodeUtf8(source, units, [&](Byte b) { destination[at++] = static_cast<char>(b); }, nul);
}

int Utf8LengthOfUtf16(const char16_t* source, int units) {
  bool nul;
  const int n = EncodeUtf8(source, units, [](Byte) {}, nul);
  return n + (nul ? 1 : 0);
}

int Utf8ToUtf16(const char* source, char16_t* destination, int bytes) {
  if (destination == nullptr) return 0;
  size_t at = 0;
  bool nul;
  return DecodeUtf8(source, bytes, [&](char16_t u) { destination[at++] = u; }, nul);
}

int Utf16LengthOfUtf8(const char* source, int bytes) {
  bool nul;
  const int n = DecodeUtf8(source, bytes, [](char16_t) {}, nul);
  return n + (nul ? 1 : 0);
}

int Utf8CharLength(const char* p) { return CharLength(reinterpret_cast<const Byte*>(p), kNoLimit); }

const char* Utf8PrevChar(const char* start, const char* position) {
  if (position <= start) return start;
  const char* q = position - 1;
  while (q > start && IsContinuation(static_cast<Byte>(*q))) --q;
  for (;;) {
    const int length = Utf8CharLength(q);
    if (q + length >= position) return q;
    q += length;
  }
}

}  // namespace editorview

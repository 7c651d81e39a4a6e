#include "charvane_detect.h"

#include "text_utils.h"

namespace charvane {

namespace {

using Byte = unsigned char;

constexpr bool InRange(Byte b, Byte low, Byte high) { return b >= low && b <= high; }
constexpr bool IsContinuation(Byte b) { return (b & 0xC0) == 0x80; }

// A walk over UTF-8: valid while no sequence is malformed. A character cut
// off by the end of the bytes (a sample of a longer file) is not malformed;
// cutLength says how many of its bytes are there. The surrogate range
// (ED A0..BF) is accepted: the editor wrote each UTF-16 unit on its own
// before, so older files carry supplementary characters that way.
struct Utf8Walk {
  bool valid = true;
  size_t sequences = 0;   // whole multi-byte sequences
  size_t cutLength = 0;   // bytes of a character cut off at the end, 0 when none
};

Utf8Walk WalkUtf8(const Byte* s, size_t n) {
  Utf8Walk walk;
  for (size_t i = 0; i < n;) {
    const int length = codeconv::Utf8SequenceLength(s + i, n - i);
    if (length == 0) {
      walk.valid = false;
      return walk;
    }
    if (length < 0) {
      walk.cutLength = static_cast<size_t>(-length);
      return walk;
    }
    if (length > 1) ++walk.sequences;
    i += static_cast<size_t>(length);
  }
  return walk;
}

// UTF-8 holding at least one multi-byte sequence (a cut one counts once a
// byte after its lead confirms it) and no malformed one.
bool LooksUtf8(const Byte* s, size_t n) {
  const Utf8Walk walk = WalkUtf8(s, n);
  return walk.valid && (walk.sequences > 0 || walk.cutLength >= 2);
}

// Code page 949: KS X 1001 pairs (both bytes A1..FE) and the extension
// pairs (lead 81..C6, trail 41..5A, 61..7A or 81..FE).
bool LooksKs(const Byte* s, size_t n) {
  size_t pairs = 0;
  for (size_t i = 0; i < n;) {
    const Byte b = s[i];
    if (b < 0x80) {
      ++i;
      continue;
    }
    if (!InRange(b, 0x81, 0xFE)) return false;
    if (i + 1 >= n) break;  // a lead cut off at the end
    const Byte t = s[i + 1];
    const bool ks = b >= 0xA1 && InRange(t, 0xA1, 0xFE);
    const bool extension =
        b <= 0xC6 && (InRange(t, 0x41, 0x5A) || InRange(t, 0x61, 0x7A) || InRange(t, 0x81, 0xFE));
    if (!ks && !extension) return false;
    ++pairs;
    i += 2;
  }
  return pairs > 0;
}

// The GM code: pairs of the Shift-JIS layout (lead 81..9F or E0..FC, trail
// 40..7E or 80..FC). It is told from KS text by pairs that KS X 1001 cannot
// hold: a lead below A1 or a trail below A1 (every Hangul syllable of GM has
// its lead in 88..94). KS text read this way falls apart into half-width
// kana bytes (A1..DF alone), which GM text holds seldom.
bool LooksGm(const Byte* s, size_t n) {
  size_t pairs = 0, gmOnly = 0, kana = 0;
  for (size_t i = 0; i < n;) {
    const Byte b = s[i];
    if (b < 0x80) {
      ++i;
    } else if (InRange(b, 0xA1, 0xDF)) {
      ++kana;
      ++i;
    } else if (InRange(b, 0x81, 0x9F) || InRange(b, 0xE0, 0xFC)) {
      if (i + 1 >= n) break;
      const Byte t = s[i + 1];
      if (!InRange(t, 0x40, 0x7E) && !InRange(t, 0x80, 0xFC)) return false;
      ++pairs;
      if (b <= 0x9F || t < 0xA1) ++gmOnly;
      i += 2;
    } else {
      return false;
    }
  }
  return gmOnly > 0 && kana * 8 <= pairs;
}

// UTF-16 without a mark: at least a quarter of the units have a zero high
// byte (Latin text, digits, line ends) and clearly more than have a zero low
// byte. endianHigh is the offset of the high byte in a unit.
bool LooksUtf16(const Byte* s, size_t n, size_t endianHigh) {
  const size_t units = n / 2;
  if (units < 2) return false;
  size_t zeroHigh = 0, zeroLow = 0;
  for (size_t u = 0; u < units; ++u) {
    const Byte high = s[2 * u + endianHigh], low = s[2 * u + 1 - endianHigh];
    if (high == 0 && low != 0) ++zeroHigh;
    if (low == 0 && high != 0) ++zeroLow;
  }
  return zeroHigh * 4 >= units && zeroHigh > 2 * zeroLow;
}

}  // namespace

unsigned Detect(const unsigned char* bytes, size_t length, unsigned mask) {
  if (bytes == nullptr || length == 0) return 0;
  const Byte* s = bytes;
  // A byte-order mark decides alone.
  if (length >= 2 && s[0] == 0xFF && s[1] == 0xFE) return (mask & kUtf16Le) ? kUtf16LeMark : 0;
  if (length >= 2 && s[0] == 0xFE && s[1] == 0xFF) return (mask & kUtf16Be) ? kUtf16BeMark : 0;
  if (length >= 3 && s[0] == 0xEF && s[1] == 0xBB && s[2] == 0xBF) {
    // After the mark any valid UTF-8 will do, plain ASCII and a character
    // cut off at the end of the sample as well.
    return (mask & kUtf8) && WalkUtf8(s + 3, length - 3).valid ? kUtf8Mark : 0;
  }

  unsigned flags = 0;
  if ((mask & kUtf16Le) && LooksUtf16(s, length, 1)) flags |= kUtf16Le;
  if ((mask & kUtf16Be) && LooksUtf16(s, length, 0)) flags |= kUtf16Be;
  // NUL bytes belong to no byte code of text.
  for (size_t i = 0; i < length; ++i) {
    if (s[i] == 0) return flags;
  }
  if ((mask & kUtf8) && LooksUtf8(s, length)) flags |= kUtf8;
  if ((mask & kKs) && LooksKs(s, length)) flags |= kKs;
  if ((mask & kGm) && LooksGm(s, length)) flags |= kGm;
  return flags;
}

}  // namespace charvane

// What every part of the lookup library shares: the characters of its lists
// (2-byte GM95 codes, first byte high), the blanks, the message that carries
// a character to the input method, and its parameter shape.
#pragma once
#include <cstdint>

#include "ks_gm.h"

namespace lookup {

using codeconv::DbChar;

// The full-width blank of GM95 (JIS 21 21): padding and label continuation
// cells of every list; never sent.
inline constexpr DbChar kGm95Blank = 0x8140;
// Two ASCII blanks: the padding items of the radical page's character list.
inline constexpr DbChar kAsciiBlanks = 0x2020;

// The message to the input method's UI window (and from it, once, to the sheet).
inline constexpr unsigned kLookupCharMessage = 0x5F6;

// A double-byte character as a message parameter: first byte in bits 0-7,
// second byte in bits 8-15.
constexpr std::uintptr_t CharParam(DbChar c) { return static_cast<std::uintptr_t>((c >> 8) | (c & 0xFF) << 8); }

// KS X 1001 rows of the Hangul syllables and of the hanja.
inline constexpr int kFirstHangulRow = 16;
inline constexpr int kLastHangulRow = 40;
inline constexpr int kFirstHanjaRow = 42;
inline constexpr int kLastHanjaRow = 93;
inline constexpr int kHangulSyllables = 2350;

// KS row (1-94) of a GM95 character; 0 when it is none.
int Gm95Row(DbChar c);
// Position of a Hangul syllable in KS order (0-2349), or -1.
int HangulIndex(DbChar gm95);

}  // namespace lookup

// Small text routines shared by the workbench and the dictionary program:
// Shift-JIS character ordinals and classes, trimming, the percent escaping of
// UTF-16 text for a command line and its decoder, and the spacing normaliser;
// the UTF-8 sequence check of the editor and the code detector, and the
// UTF-8 decoder of the build tools.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace codeconv {

// Ordinal of the first character: a single byte is its own value, a Shift-JIS
// double-byte character 256 plus its place in Shift-JIS order (81 40 is 256);
// -1 for a lead byte with a trail outside the ranges (or at the end).
int GetSjisCharOrdinal(const char* text);

enum SjisCharClass : int { kClassOther = 0, kClassHiragana = 1, kClassKatakana = 2, kClassKanji = 3 };
// Class of the first character.
int GetSjisCharClass(const char* text);
// The class that every character shares, -1 when they differ, 0 for "".
int GetStringCharClass(const char* text);

// Index after the last character of text[0..position] that is neither a
// blank nor a NUL; 0 when there is none.
int GetTrimmedLength(const char* text, int position);

// Escapes up to count UTF-16 units (stopping at a NUL unit) into output of
// outputSize bytes: '.', '_' and '-' stay, a blank becomes '+', other units
// below 0x80 "%XX" and the rest "%uXXXX" (upper-case hex, blank-padded). A unit
// is written only when it and the terminator fit; the output is always
// terminated. Returns the units consumed.
int EscapeForCommandLine(char* output, unsigned outputSize, const char16_t* text, int count);

// The reverse: decodes textBytes bytes of escaped text (stopping at a NUL) into
// at most outputUnits units, followed by a NUL unit while there is room.
// Decoding stops at a malformed or cut-off escape. Returns the units written;
// stop, when given, receives the byte position where decoding stopped.
int UnescapePercentText(char16_t* output, int outputUnits, const char* text, size_t textBytes, size_t* stop);

// Modes of the spacing normaliser.
enum SpacingMode : int { kSpacingShiftJis = 0, kSpacingEuc = 1, kSpacingBig5 = 2, kSpacingCopy = 3 };
// Shrinks runs of blanks to their first, removes a blank between two
// characters unless a word character (Latin letter, digit, kana in Shift-JIS)
// stands on either side, and drops a trailing blank. destination may be source
// and holds at least strlen(source) + 1 bytes; the output is never longer.
void NormalizeSpacing(const char* source, char* destination, int mode);

// The well-formed UTF-8 sequence at s (n bytes there, n > 0): its length
// (1 for a byte below 0x80); 0 when it is malformed (an overlong form, a
// lead above F4, a missing continuation, beyond U+10FFFF); minus the bytes
// present when s ends before the sequence does and those are well-formed so
// far. Single surrogate units (ED A0..BF xx) count as well-formed: files
// written unit by unit carry supplementary characters that way.
int Utf8SequenceLength(const unsigned char* s, size_t n);

// The code points of UTF-8 text that the build tools read from their own
// inputs (taken as well-formed, so unchecked): each lead byte takes the
// continuation bytes its form names, as many as the text still holds.
std::u32string DecodeUtf8Unchecked(std::string_view text);

}  // namespace codeconv

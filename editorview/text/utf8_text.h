// The editor's routines between UTF-8 and UTF-16. The UTF-8 side holds what
// UTF-16 units need: 1 to 3 bytes a unit, a surrogate unit encoded on its own.
// The stepping routines also walk damaged text and lead bytes of up to 6.
//
// Counts are in units (UTF-16) or bytes (UTF-8); a negative count means "up
// to the NUL". Destinations are sized by the caller with the length routines
// (at most 3 bytes a unit; one unit a character).
#pragma once

namespace editorview {

// Stands for every sequence that does not decode (GETA MARK).
inline constexpr char16_t kUndecodableUnit = 0x3013;

// Encodes units into destination. A NUL unit is written as a NUL byte and
// ends the work; when the count runs out first, no NUL is written. Returns the
// bytes written, without the NUL.
int Utf16ToUtf8(const char16_t* source, char* destination, int units);
// Bytes Utf16ToUtf8 writes for the same arguments, plus 1 when it reaches a NUL.
int Utf8LengthOfUtf16(const char16_t* source, int units);

// Decodes 1-, 2- and 3-byte sequences into destination; any other character
// (as Utf8CharLength counts it) becomes one kUndecodableUnit. A NUL byte is
// written as a NUL unit and ends the work; when the count runs out first, no
// NUL is written. Never reads past the count (or the NUL). Returns the units
// written, without the NUL.
int Utf8ToUtf16(const char* source, char16_t* destination, int bytes);
// Units Utf8ToUtf16 writes for the same arguments, plus 1 when it reaches a NUL.
int Utf16LengthOfUtf8(const char* source, int bytes);

// Bytes of the character that starts at p: 1 below 0x80; 2 to 6 when the
// first of bits 5..1 that is clear marks that length and as many continuation
// bytes (10xxxxxx) follow; 1 otherwise, so that a damaged byte counts alone.
// Reads no further than the first byte that is not a continuation byte.
int Utf8CharLength(const char* p);
// Start of the character that ends at position: back over continuation bytes
// to another byte (or start), then forward by Utf8CharLength. The text must
// stay readable up to its NUL, as Utf8CharLength may look past position.
const char* Utf8PrevChar(const char* start, const char* position);

}  // namespace editorview

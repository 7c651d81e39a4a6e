// The detection behind "CHARVANE.dll": which of the suite's text codes a run
// of bytes may be in. Portable; the DLL is a thin shell over it.
//
// The mask names the codes to consider by their plain bits (kKs ... kUtf16Be);
// the result holds only bits of those codes. Beside the plain bits a code may
// report that the bytes start with its byte-order mark.
#pragma once

#include <cstddef>

namespace charvane {

// The codes, as mask bits and as result bits.
inline constexpr unsigned kKs = 0x20;       // KS X 1001 pairs in the code page 949 layout
inline constexpr unsigned kGm = 0x40;       // the GM code: pairs in the Shift-JIS byte ranges
inline constexpr unsigned kUtf8 = 0x80;     // valid UTF-8 holding multi-byte sequences
inline constexpr unsigned kUtf16Le = 0x100;  // UTF-16 little-endian by its pattern of zero bytes
inline constexpr unsigned kUtf16Be = 0x200;  // UTF-16 big-endian by its pattern of zero bytes
// Result bits for a leading byte-order mark (reported when the code is in the mask).
inline constexpr unsigned kUtf8Mark = 0x04;     // EF BB BF, the rest valid UTF-8
inline constexpr unsigned kUtf16LeMark = 0x08;  // FF FE
inline constexpr unsigned kUtf16BeMark = 0x10;  // FE FF

// The flag word of the bytes among the codes of mask. Bytes cut off in the
// middle of a character at the end (a sample of a longer file) are accepted.
unsigned Detect(const unsigned char* bytes, size_t length, unsigned mask);

}  // namespace charvane

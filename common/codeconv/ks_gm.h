// KS X 1001 double bytes (code page 949 layout) and the GM95 code, which is
// the JIS X 0208 to Shift-JIS arithmetic applied to the KS row and cell.
#pragma once
#include <cstddef>
#include <cstdint>

namespace codeconv {

// A double-byte character as lead << 8 | trail.
using DbChar = uint16_t;

inline uint8_t Lead(DbChar c) { return static_cast<uint8_t>(c >> 8); }
inline uint8_t Trail(DbChar c) { return static_cast<uint8_t>(c & 0xFF); }
inline DbChar MakeDb(uint8_t lead, uint8_t trail) { return static_cast<DbChar>(lead << 8 | trail); }

// One KS pair whose lead byte has already lost bit 7 (a JIS row byte) to GM95.
DbChar KsCharToGm(DbChar pair);
// One GM95 pair to KS, bit 7 set on both bytes.
DbChar GmCharToKs(DbChar pair);

// Ordinal (row - 1) * 94 + (cell - 1) of a KS X 1001 cell and its GM95 pair.
DbChar OrdinalToGm95(int ordinal);
int Gm95ToOrdinal(DbChar pair);  // -1 when the pair is not a GM95 cell

// Shift-JIS style lead byte: 0x81-0x9F or 0xE0-0xFC.
inline bool IsGmLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace codeconv

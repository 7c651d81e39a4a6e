// KS X 1001 double bytes (code page 949 layout) and the GM95 code, which is
// the JIS X 0208 to Shift-JIS arithmetic applied to the KS row and cell; the
// row and cell arithmetic of both shapes and the lead-byte tests of the suite.
#pragma once
#include <cstddef>
#include <cstdint>

namespace codeconv {

// A double-byte character as lead << 8 | trail.
using DbChar = uint16_t;

inline uint8_t Lead(DbChar c) { return static_cast<uint8_t>(c >> 8); }
inline uint8_t Trail(DbChar c) { return static_cast<uint8_t>(c & 0xFF); }
inline DbChar MakeDb(uint8_t lead, uint8_t trail) { return static_cast<DbChar>(lead << 8 | trail); }

// ---- lead-byte tests (each code has its own) ----

// GM code and Shift-JIS: 0x81-0x9F or 0xE0-0xFC.
inline bool IsGmLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
// KS code: any byte with the high bit set except 0xFF.
inline bool IsHighBitByte(uint8_t b) { return b >= 0x80 && b <= 0xFE; }
// The input method's test for its code number: under 1 (KS) any byte with
// bit 7 set, under 2 and 0 the GM lead range.
inline bool IsCodeLeadByte(int koreanCode, uint8_t b) {
  return koreanCode == 1 ? (b & 0x80) != 0 : IsGmLeadByte(b);
}
// Lead byte of the system's ANSI code page (IsDBCSLeadByte on Windows; the
// Japanese code page 932 elsewhere).
bool IsSystemLeadByte(uint8_t b);

// ---- row and cell arithmetic ----

// Row (1-120) and column (0-93) of a double-byte character.
struct RowCell {
  int row = 0;
  int column = 0;
};

// Shift-JIS shape (row 1-120, column 0-93); decoding fails when a byte lies
// outside the Shift-JIS double-byte ranges (lead 0x81-0x9F / 0xE0-0xFC,
// trail 0x40-0x7E / 0x80-0xFC). EUC shape (0xA0 + row, 0xA1 + column): the
// KS code, rows 1-94 only. SjisToEuc fails (out untouched) when the pair is
// not a Shift-JIS pair of rows 1-94; EucToSjis when a byte is outside
// 0xA1-0xFE. Inline: every text conversion runs through them per pair.
inline bool DecodeSjisShape(DbChar pair, RowCell& out) {
  const unsigned lead = Lead(pair);
  const unsigned trail = Trail(pair);
  if (!IsGmLeadByte(static_cast<uint8_t>(lead)) || trail < 0x40 || trail == 0x7F || trail > 0xFC) return false;
  const int rowPair = static_cast<int>(lead <= 0x9F ? lead - 0x81 : lead - 0xC1);
  if (trail >= 0x9F) {
    out = {2 * rowPair + 2, static_cast<int>(trail - 0x9F)};
  } else {
    out = {2 * rowPair + 1, static_cast<int>(trail < 0x7F ? trail - 0x40 : trail - 0x41)};
  }
  return true;
}

inline DbChar EncodeSjisShape(RowCell rc) {
  unsigned lead = static_cast<unsigned>((rc.row - 1) / 2) + 0x81;
  if (lead >= 0xA0) lead += 0x40;
  unsigned trail;
  if (rc.row % 2 == 0) {
    trail = static_cast<unsigned>(rc.column) + 0x9F;
  } else {
    trail = static_cast<unsigned>(rc.column) + 0x40;
    if (trail >= 0x7F) ++trail;
  }
  return MakeDb(static_cast<uint8_t>(lead), static_cast<uint8_t>(trail));
}

inline bool DecodeEucShape(DbChar pair, RowCell& out) {
  const unsigned lead = Lead(pair);
  const unsigned trail = Trail(pair);
  if (lead < 0xA1 || lead > 0xFE || trail < 0xA1 || trail > 0xFE) return false;
  out = {static_cast<int>(lead - 0xA0), static_cast<int>(trail - 0xA1)};
  return true;
}

inline DbChar EncodeEucShape(RowCell rc) {
  return MakeDb(static_cast<uint8_t>(0xA0 + rc.row), static_cast<uint8_t>(0xA1 + rc.column));
}

inline bool SjisToEuc(DbChar pair, DbChar& out) {
  RowCell rc;
  if (!DecodeSjisShape(pair, rc) || rc.row > 94) return false;
  out = EncodeEucShape(rc);
  return true;
}

inline bool EucToSjis(DbChar pair, DbChar& out) {
  RowCell rc;
  if (!DecodeEucShape(pair, rc)) return false;
  out = EncodeSjisShape(rc);
  return true;
}

// One KS pair whose lead byte has already lost bit 7 (a JIS row byte) to GM95.
inline DbChar KsCharToGm(DbChar pair) {
  DbChar out = pair;
  EucToSjis(static_cast<DbChar>(pair | 0x8080), out);
  return out;
}

// One GM95 pair to KS, bit 7 set on both bytes; a pair that is no GM95 cell of
// rows 1-94 comes back unchanged.
inline DbChar GmCharToKs(DbChar pair) {
  DbChar out = pair;
  SjisToEuc(pair, out);
  return out;
}

// Ordinal (row - 1) * 94 + column of a cell and its GM95 pair; -1 when the
// pair is not a GM95 cell.
inline DbChar OrdinalToGm95(int ordinal) { return EncodeSjisShape({ordinal / 94 + 1, ordinal % 94}); }

inline int Gm95ToOrdinal(DbChar pair) {
  RowCell rc;
  if (!DecodeSjisShape(pair, rc)) return -1;
  return (rc.row - 1) * 94 + rc.column;
}

}  // namespace codeconv

#include "ks_gm.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace codeconv {

bool IsSystemLeadByte(uint8_t b) {
#ifdef _WIN32
  return IsDBCSLeadByte(b) != FALSE;
#else
  return IsGmLeadByte(b);
#endif
}

bool DecodeSjisShape(DbChar pair, RowCell& out) {
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

DbChar EncodeSjisShape(RowCell rc) {
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

bool DecodeEucShape(DbChar pair, RowCell& out) {
  const unsigned lead = Lead(pair);
  const unsigned trail = Trail(pair);
  if (lead < 0xA1 || lead > 0xFE || trail < 0xA1 || trail > 0xFE) return false;
  out = {static_cast<int>(lead - 0xA0), static_cast<int>(trail - 0xA1)};
  return true;
}

DbChar EncodeEucShape(RowCell rc) {
  return MakeDb(static_cast<uint8_t>(0xA0 + rc.row), static_cast<uint8_t>(0xA1 + rc.column));
}

bool SjisToEuc(DbChar pair, DbChar& out) {
  RowCell rc;
  if (!DecodeSjisShape(pair, rc) || rc.row > 94) return false;
  out = EncodeEucShape(rc);
  return true;
}

bool EucToSjis(DbChar pair, DbChar& out) {
  RowCell rc;
  if (!DecodeEucShape(pair, rc)) return false;
  out = EncodeSjisShape(rc);
  return true;
}

DbChar KsCharToGm(DbChar pair) {
  DbChar out = pair;
  EucToSjis(static_cast<DbChar>(pair | 0x8080), out);
  return out;
}

DbChar GmCharToKs(DbChar pair) {
  DbChar out = pair;
  SjisToEuc(pair, out);
  return out;
}

DbChar OrdinalToGm95(int ordinal) { return EncodeSjisShape({ordinal / 94 + 1, ordinal % 94}); }

int Gm95ToOrdinal(DbChar pair) {
  RowCell rc;
  if (!DecodeSjisShape(pair, rc)) return -1;
  return (rc.row - 1) * 94 + rc.column;
}

}  // namespace codeconv

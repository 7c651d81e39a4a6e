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

#include "lookup_codes.h"

namespace lookup {

int Gm95Row(DbChar c) {
  const int ordinal = codeconv::Gm95ToOrdinal(c);
  return ordinal < 0 || ordinal >= 94 * 94 ? 0 : ordinal / 94 + 1;
}

int HangulIndex(DbChar gm95) {
  const int ordinal = codeconv::Gm95ToOrdinal(gm95);
  if (ordinal < 0) return -1;
  const int first = (kFirstHangulRow - 1) * 94;
  return ordinal >= first && ordinal < first + kHangulSyllables ? ordinal - first : -1;
}

}  // namespace lookup

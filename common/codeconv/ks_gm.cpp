#include "ks_gm.h"

namespace codeconv {

DbChar KsCharToGm(DbChar pair) {
  unsigned j1 = Lead(pair) & 0x7F;
  unsigned j2 = Trail(pair) & 0x7F;
  unsigned s1 = ((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0);
  unsigned s2;
  if (j1 & 1) {
    s2 = j2 + (j2 >= 0x60 ? 0x20 : 0x1F);
  } else {
    s2 = j2 + 0x7E;
  }
  return MakeDb(static_cast<uint8_t>(s1), static_cast<uint8_t>(s2));
}

DbChar GmCharToKs(DbChar pair) {
  unsigned s1 = Lead(pair);
  unsigned s2 = Trail(pair);
  unsigned j1 = (s1 - (s1 <= 0x9F ? 0x70 : 0xB0)) << 1;
  unsigned j2;
  if (s2 >= 0x9F) {
    j2 = s2 - 0x7E;
  } else {
    j1 -= 1;
    j2 = s2 - (s2 >= 0x80 ? 0x20 : 0x1F);
  }
  return MakeDb(static_cast<uint8_t>((j1 | 0x80) & 0xFF), static_cast<uint8_t>((j2 | 0x80) & 0xFF));
}

DbChar OrdinalToGm95(int ordinal) {
  unsigned first = static_cast<unsigned>(ordinal / 188 + 0x81);
  if (first >= 0xA0) first += 0x40;
  unsigned second = static_cast<unsigned>(ordinal % 188 + 0x40);
  if (second >= 0x7F) second += 1;
  return MakeDb(static_cast<uint8_t>(first), static_cast<uint8_t>(second));
}

int Gm95ToOrdinal(DbChar pair) {
  unsigned first = Lead(pair);
  unsigned second = Trail(pair);
  if (!IsGmLeadByte(static_cast<uint8_t>(first))) return -1;
  if (second < 0x40 || second == 0x7F || second > 0xFC) return -1;
  unsigned row = first >= 0xE0 ? first - 0x40 - 0x81 : first - 0x81;
  unsigned cell = second >= 0x80 ? second - 0x41 : second - 0x40;
  return static_cast<int>(row * 188 + cell);
}

}  // namespace codeconv

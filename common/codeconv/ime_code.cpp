#include "ime_code.h"

#include "pair_walk.h"

namespace codeconv {

namespace {
bool HasBit7(uint8_t b) { return (b & 0x80) != 0; }

void ConvertVariantText(const GmTables* tables, int direction, uint8_t* destination, const uint8_t* source,
                        size_t length) {
  ConvertPairs(destination, source, length, IsSystemLeadByte,
               [&](DbChar p) { return ConvertGmVariant(tables, direction, p); });
}
}  // namespace

bool LoadGmTables(uintptr_t module, const ResourceFinder& finder, GmTables& tables) {
  tables.toV3 = FindCodeTable(finder, module, "gm95_V3");
  tables.fromV3 = FindCodeTable(finder, module, "gmV3_95");
  return tables.toV3.Present() && tables.fromV3.Present();
}

DbChar ConvertGmVariant(const GmTables* tables, int direction, DbChar pair) {
  return GmRowPlan::Ime(direction).Remap(tables, pair);
}

void GmTextToKs(uint8_t* destination, const uint8_t* source, size_t length) {
  ConvertPairs(destination, source, length, HasBit7, GmCharToKs);
}

void KsTextToGm(uint8_t* destination, const uint8_t* source, size_t length) {
  ConvertPairs(destination, source, length, HasBit7, [](DbChar p) {
    DbChar out = p;
    EucToSjis(p, out);
    return out;
  });
}

void Gm95TextToV3(const GmTables* tables, uint8_t* destination, const uint8_t* source, size_t length) {
  ConvertVariantText(tables, kToGmV3, destination, source, length);
}

void GmV3TextTo95(const GmTables* tables, uint8_t* destination, const uint8_t* source, size_t length) {
  ConvertVariantText(tables, kFromGmV3, destination, source, length);
}

const uint8_t* PrevCodeChar(int koreanCode, const uint8_t* start, const uint8_t* position) {
  if (start == nullptr || position == nullptr || position <= start) return start;
  const uint8_t* p = start;
  const uint8_t* previous = start;
  while (p < position) {
    previous = p;
    p += IsCodeLeadByte(koreanCode, *p) && p + 1 < position ? 2 : 1;
  }
  return previous;
}

}  // namespace codeconv

// The input method's conversions between its code numbers: 1 KS, 2 GM V3 and
// 0 GM95 (the code of its dictionary and reading tables). Plain functions over
// the shared remap, given the tables that the input method loaded.
#pragma once
#include <cstddef>
#include <cstdint>

#include "gm_remap.h"
#include "ks_gm.h"
#include "resources.h"

namespace codeconv {

// Finds gm95_V3 and gmV3_95 among the module's resources; true when both are there.
bool LoadGmTables(uintptr_t module, const ResourceFinder& finder, GmTables& tables);
#ifdef _WIN32
inline bool LoadGmTables(void* module, GmTables& tables) {
  return LoadGmTables(reinterpret_cast<uintptr_t>(module), ModuleResources(), tables);
}
#endif

// One pair between GM95 and GM V3: direction 0 GM95 to V3, 1 V3 to GM95.
// tables may be null: the table rows then stay unchanged.
DbChar ConvertGmVariant(const GmTables* tables, int direction, DbChar pair);

// Texts of length bytes; destination and source may be the same buffer
// (or overlap); exactly length bytes are written, no terminator.
// GM95 to KS: pairs whose first byte has bit 7 set; pairs that are no GM95
// cell of rows 1-94 stay unchanged.
void GmTextToKs(uint8_t* destination, const uint8_t* source, size_t length);
// KS to GM95: pairs whose first byte has bit 7 set; pairs that are no KS cell stay.
void KsTextToGm(uint8_t* destination, const uint8_t* source, size_t length);
// GM95 to V3 and back; pairs are found with the system's lead-byte test.
void Gm95TextToV3(const GmTables* tables, uint8_t* destination, const uint8_t* source, size_t length);
void GmV3TextTo95(const GmTables* tables, uint8_t* destination, const uint8_t* source, size_t length);

// Start of the character before position, walking from start with the lead
// test of koreanCode; start itself when position is not after it.
const uint8_t* PrevCodeChar(int koreanCode, const uint8_t* start, const uint8_t* position);

}  // namespace codeconv

#include "kana_tables.h"

namespace kana {

bool CKanaTables::Load(const codeconv::ResourceFinder& finder, uintptr_t module) {
  bool all = true;
  for (int slot = 0; slot < kKanaTableCount; ++slot) {
    Set(static_cast<KanaTableSlot>(slot), finder.Find(module, kKanaTableInfo[slot].name));
    all = all && Present(static_cast<KanaTableSlot>(slot));
  }
  return all;
}

void CKanaTables::Set(KanaTableSlot slot, std::span<const uint8_t> bytes) {
  const size_t size = kKanaTableInfo[slot].size;
  tables_[slot] = bytes.size() >= size ? bytes.first(size) : std::span<const uint8_t>();
  if (slot == kGm95V3) gm_.toV3 = codeconv::CodeTable(tables_[slot].data(), tables_[slot].size());
  if (slot == kGmV395) gm_.fromV3 = codeconv::CodeTable(tables_[slot].data(), tables_[slot].size());
}

}  // namespace kana

// The eight tables of the kana-reading library, resources of type CVDATA in
// its own module, found and locked once when the library is loaded. The
// reading core takes them as byte spans, so that the native tests can hand
// it the generated files directly.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "gm_remap.h"
#include "resources.h"

namespace kana {

enum KanaTableSlot : int {
  kHanJp = 0,    // reading of each Hangul syllable, KS rows 16-40
  kHan2Jp = 1,   // syllable-pair readings (loaded, never consulted)
  kKsJis = 2,    // Shift-JIS code of each KS cell and of its modern Japanese form
  kGm95V3 = 3,   // GM95 to GM V3
  kGmV395 = 4,   // GM V3 to GM95
  kFsHanJp = 5,  // reading of initial + medial
  kLHanJp = 6,   // reading of a final
  kKnTran = 7,   // half-width forms of the katakana 0x8340-0x8396
  kKanaTableCount = 8,
};

struct KanaTableInfo {
  const char* name;  // resource name
  size_t size;       // bytes
};
inline constexpr std::array<KanaTableInfo, kKanaTableCount> kKanaTableInfo{{
    {"HAN-JP", 24450},
    {"HAN2-JP", 3296},
    {"KS-JIS", 35344},
    {"GM95-V3", codeconv::kCodeTableSize},
    {"GMV3-95", codeconv::kCodeTableSize},
    {"FSHAN-JP", 4028},
    {"LHAN-JP", 168},
    {"KNTRAN", 174},
}};

// Layout of the tables.
inline constexpr int kHanJpFirstRow = 16;
inline constexpr int kHanJpLastRow = 40;
inline constexpr size_t kHanJpRowSize = 978;
inline constexpr size_t kHanJpCellSize = 10;
// Byte offset of the cell of KS row (16-40) and cell (0-95) in HAN-JP.
constexpr size_t HanJpCellOffset(int row, int cell) {
  return kHanJpRowSize * static_cast<size_t>(row - kHanJpFirstRow) + 6 + kHanJpCellSize * static_cast<size_t>(cell) +
         2 * static_cast<size_t>(cell / 16);
}
inline constexpr size_t kFsHanJpRowSize = 212;
inline constexpr size_t kFsHanJpCellSize = 10;
inline constexpr size_t kLHanJpEntrySize = 6;
inline constexpr size_t kKsJisEntrySize = 4;
inline constexpr uint16_t kKnTranFirst = 0x8340;
inline constexpr uint16_t kKnTranLast = 0x8396;

class CKanaTables {
 public:
  // Finds the eight tables among module's resources; a table that is missing
  // or shorter than its size stays absent. True when all are present.
  bool Load(const codeconv::ResourceFinder& finder, uintptr_t module);
  // One table given directly; the span must outlive this object.
  void Set(KanaTableSlot slot, std::span<const uint8_t> bytes);

  // The table cut to its size, or empty when absent.
  std::span<const uint8_t> Table(KanaTableSlot slot) const { return tables_[slot]; }
  bool Present(KanaTableSlot slot) const { return !tables_[slot].empty(); }
  // The two GM variant tables in the form of the code conversion library.
  const codeconv::GmTables& GmTables() const { return gm_; }

 private:
  std::array<std::span<const uint8_t>, kKanaTableCount> tables_{};
  codeconv::GmTables gm_;
};

}  // namespace kana

// The rows in which the GM V3 layout differs from a straight placement of the
// KS rows: the two code tables (gm95_V3 / GM95-V3 and gmV3_95 / GMV3-95) and
// the row renumbering, shared by the application-side converter and the input
// method's plain functions.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "ks_gm.h"
#include "resources.h"

namespace codeconv {

// Direction of a remap: KS / GM95 towards GM V3, or GM V3 back.
enum GmDirection : int { kToGmV3 = 0, kFromGmV3 = 1 };

// Code table format: 7 blocks of 210 bytes, one per remapped row; each a
// 4-character row label, CR LF, and six lines of 16 two-byte cells + CR LF.
inline constexpr size_t kCodeTableBlocks = 7;
inline constexpr size_t kCodeTableBlockSize = 210;
inline constexpr size_t kCodeTableSize = kCodeTableBlocks * kCodeTableBlockSize;  // 1470

// Rows of the blocks, in block order: of gm95_V3 (KS / GM95 rows) and of
// gmV3_95 (GM V3 rows).
inline constexpr std::array<int, kCodeTableBlocks> kTableRowsToV3{1, 2, 3, 5, 6, 7, 8};
inline constexpr std::array<int, kCodeTableBlocks> kTableRowsFromV3{1, 2, 3, 6, 8, 13, 106};

// The GM V3 place of the won sign, where a backslash widens to in KS text.
inline constexpr DbChar kGmV3WonSign = 0xF5ED;

// Byte offset of cell k (0-95; 1-94 are the columns 0-93) inside a block.
constexpr size_t CodeTableCellOffset(int k) { return 6 + 2 * static_cast<size_t>(k) + 2 * static_cast<size_t>(k >> 4); }

// A read-only view of one code table; empty when the resource is missing or
// too short, in which case no cell is found.
class CodeTable {
 public:
  CodeTable() = default;
  CodeTable(const uint8_t* data, size_t size) : data_(size >= kCodeTableSize ? data : nullptr) {}
  bool Present() const { return data_ != nullptr; }
  // Cell k (1-94) of block b (1-7); nothing when absent or out of range.
  std::optional<DbChar> Cell(int block, int k) const;

 private:
  const uint8_t* data_ = nullptr;
};

// The named code table among a module's resources (absent when missing).
CodeTable FindCodeTable(const ResourceFinder& finder, uintptr_t module, const char* name);

struct GmTables {
  CodeTable toV3;    // gm95_V3: KS / GM95 rows to GM V3
  CodeTable fromV3;  // gmV3_95: GM V3 rows back
};

// The ways in which the two users of the remap differ.
struct RemapRules {
  bool row41ToRow94;   // towards V3 also move row 41 to row 94
  int lastRowToV3;     // rows above these are left alone
  int lastRowFromV3;
};
// The application-side converter: bounded only by the byte ranges.
inline constexpr RemapRules kConverterRules{false, 120, 120};
// The input method: rows 1-93 towards V3, 1-109 back, and row 41 to 94.
inline constexpr RemapRules kImeRules{true, 93, 109};

// Renumbered row of a row outside the tables (the row itself when it stays).
int RenumberGmRow(int direction, int row, const RemapRules& rules);

// One Shift-JIS-shaped pair through the remap. Pairs with bytes outside the
// Shift-JIS ranges, rows beyond the rules' bounds and table rows whose table
// is missing come back unchanged.
DbChar RemapGmRow(const GmTables* tables, int direction, DbChar pair, const RemapRules& rules);

}  // namespace codeconv

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
  // The same for a present table and block and k in range, without checks.
  DbChar CellUnchecked(int block, int k) const {
    const uint8_t* p = data_ + kCodeTableBlockSize * static_cast<size_t>(block - 1) + CodeTableCellOffset(k);
    return MakeDb(p[0], p[1]);
  }

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

namespace detail {
// The Shift-JIS shape decoded by table, without a branch on the row's
// parity (which random text would mispredict half the time).
inline constexpr uint8_t kNoSjisRow = 0xFF;
struct SjisTrailCell {
  uint8_t valid = 0;
  uint8_t even = 0;
  uint8_t column = 0;
};
inline constexpr std::array<SjisTrailCell, 256> kSjisTrail = [] {
  std::array<SjisTrailCell, 256> t{};
  for (unsigned b = 0x40; b <= 0xFC; ++b) {
    if (b == 0x7F) continue;
    if (b >= 0x9F) {
      t[b] = {1, 1, static_cast<uint8_t>(b - 0x9F)};
    } else {
      t[b] = {1, 0, static_cast<uint8_t>(b < 0x7F ? b - 0x40 : b - 0x41)};
    }
  }
  return t;
}();
inline constexpr std::array<uint8_t, 256> kSjisLeadRowPair = [] {
  std::array<uint8_t, 256> t{};
  for (unsigned b = 0; b < 256; ++b) {
    t[b] = b >= 0x81 && b <= 0x9F ? static_cast<uint8_t>(b - 0x81)
           : b >= 0xE0 && b <= 0xFC ? static_cast<uint8_t>(b - 0xC1)
                                    : kNoSjisRow;
  }
  return t;
}();

}  // namespace detail

// RemapGmRow with what it decides per row worked out once: for each row of
// the Shift-JIS shape, the table block that holds it, the row it moves to,
// or that its pairs stay. Gives the same pairs as RemapGmRow with the same
// direction and rules; the text conversions use it for every pair.
class GmRowPlan {
 public:
  GmRowPlan(int direction, const RemapRules& rules);

  DbChar Remap(const GmTables* tables, DbChar pair) const {
    RowCell rc;
    if (!DecodeSjisShape(pair, rc)) return pair;
    const Step step = steps_[rc.row];
    if (step.block == kStays) return pair;
    if (step.block != kRenumbered) {
      if (tables == nullptr) return pair;
      const CodeTable& table = direction_ == kToGmV3 ? tables->toV3 : tables->fromV3;
      return table.Present() ? table.CellUnchecked(step.block, rc.column + 1) : pair;
    }
    rc.row = step.row;
    return EncodeSjisShape(rc);
  }

  // The remap followed by the fold to the EUC shape (GM to KS), and the
  // unfold from the EUC shape followed by the remap (KS to GM), each with one
  // decoding of the pair: what SjisToEuc after Remap, and Remap after
  // EucToSjis, give (a pair without a place in the other shape stays).
  DbChar RemapThenFold(const GmTables* tables, DbChar pair) const {
    const detail::SjisTrailCell s = detail::kSjisTrail[Trail(pair)];
    const uint8_t rowPair = detail::kSjisLeadRowPair[Lead(pair)];
    if (!s.valid || rowPair == detail::kNoSjisRow) return pair;
    RowCell rc{2 * rowPair + 1 + s.even, s.column};
    const Step step = steps_[rc.row];
    if (step.block == kRenumbered) {
      rc.row = step.row;
    } else if (step.block != kStays) {
      DbChar out = Remap(tables, pair);
      SjisToEuc(out, out);
      return out;
    }
    if (rc.row > 94) return step.block == kStays ? pair : EncodeSjisShape(rc);
    return EncodeEucShape(rc);
  }

  DbChar UnfoldThenRemap(const GmTables* tables, DbChar pair) const {
    const unsigned lead = Lead(pair), trail = Trail(pair);
    if (lead < 0xA1 || lead > 0xFE || trail < 0xA1 || trail > 0xFE) return pair;
    RowCell rc{static_cast<int>(lead - 0xA0), static_cast<int>(trail - 0xA1)};
    const Step step = steps_[rc.row];
    if (step.block == kRenumbered) {
      rc.row = step.row;
    } else if (step.block != kStays) {
      return Remap(tables, EncodeSjisShape(rc));
    }
    const unsigned rowPair = static_cast<unsigned>(rc.row - 1) >> 1;
    const unsigned outLead = rowPair + (rowPair >= 0x1F ? 0xC1 : 0x81);
    const unsigned odd = static_cast<unsigned>(rc.column) + 0x40;
    const unsigned outTrail = rc.row % 2 == 0 ? static_cast<unsigned>(rc.column) + 0x9F : odd + (odd >= 0x7F ? 1 : 0);
    return MakeDb(static_cast<uint8_t>(outLead), static_cast<uint8_t>(outTrail));
  }

  // The plans of the application-side converter and of the input method.
  static const GmRowPlan& Converter(int direction);
  static const GmRowPlan& Ime(int direction);

 private:
  static constexpr uint8_t kRenumbered = 0;
  static constexpr uint8_t kStays = 0xFF;
  struct Step {
    uint8_t block = kStays;  // 1-7: the table block; kRenumbered: moves to row
    uint8_t row = 0;
  };
  int direction_;
  std::array<Step, 121> steps_{};  // by row 1-120
};

}  // namespace codeconv

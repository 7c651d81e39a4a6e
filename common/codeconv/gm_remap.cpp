#include "gm_remap.h"

#include <algorithm>

namespace codeconv {

std::optional<DbChar> CodeTable::Cell(int block, int k) const {
  if (data_ == nullptr || block < 1 || block > static_cast<int>(kCodeTableBlocks) || k < 1 || k > 94) {
    return std::nullopt;
  }
  const uint8_t* p = data_ + kCodeTableBlockSize * static_cast<size_t>(block - 1) + CodeTableCellOffset(k);
  return MakeDb(p[0], p[1]);
}

CodeTable FindCodeTable(const ResourceFinder& finder, uintptr_t module, const char* name) {
  std::span<const uint8_t> s = finder.Find(module, name);
  return CodeTable(s.data(), s.size());
}

int RenumberGmRow(int direction, int row, const RemapRules& rules) {
  if (direction == kToGmV3) {
    switch (row) {
      case 4: return 41;
      case 9: return 109;
      case 10: return 4;
      case 11: return 5;
      case 12: return 7;
      case 41: return rules.row41ToRow94 ? 94 : 41;
      case 47: return 95;
      default: return row >= 84 && row <= 93 ? row + 12 : row;
    }
  }
  switch (row) {
    case 4: return 10;
    case 5: return 11;
    case 7: return 12;
    case 41: return 4;
    case 95: return 47;
    default:
      if (row >= 96 && row <= 105) return row - 12;
      if (row >= 107 && row <= 109) return row - 100;
      return row;
  }
}

DbChar RemapGmRow(const GmTables* tables, int direction, DbChar pair, const RemapRules& rules) {
  RowCell rc;
  if (!DecodeSjisShape(pair, rc)) return pair;
  if (rc.row > (direction == kToGmV3 ? rules.lastRowToV3 : rules.lastRowFromV3)) return pair;
  const auto& rows = direction == kToGmV3 ? kTableRowsToV3 : kTableRowsFromV3;
  const auto it = std::find(rows.begin(), rows.end(), rc.row);
  if (it != rows.end()) {
    if (tables == nullptr) return pair;
    const CodeTable& table = direction == kToGmV3 ? tables->toV3 : tables->fromV3;
    return table.Cell(static_cast<int>(it - rows.begin()) + 1, rc.column + 1).value_or(pair);
  }
  rc.row = RenumberGmRow(direction, rc.row, rules);
  return EncodeSjisShape(rc);
}

GmRowPlan::GmRowPlan(int direction, const RemapRules& rules) : direction_(direction) {
  const auto& rows = direction == kToGmV3 ? kTableRowsToV3 : kTableRowsFromV3;
  const int lastRow = direction == kToGmV3 ? rules.lastRowToV3 : rules.lastRowFromV3;
  for (int row = 1; row < static_cast<int>(steps_.size()) && row <= lastRow; ++row) {
    const auto it = std::find(rows.begin(), rows.end(), row);
    if (it != rows.end()) {
      steps_[row].block = static_cast<uint8_t>(it - rows.begin() + 1);
      continue;
    }
    const int to = RenumberGmRow(direction, row, rules);
    if (to != row) steps_[row] = {kRenumbered, static_cast<uint8_t>(to)};
  }
}

const GmRowPlan& GmRowPlan::Converter(int direction) {
  static const GmRowPlan plans[2] = {{kToGmV3, kConverterRules}, {kFromGmV3, kConverterRules}};
  return plans[direction == kToGmV3 ? 0 : 1];
}

const GmRowPlan& GmRowPlan::Ime(int direction) {
  static const GmRowPlan plans[2] = {{kToGmV3, kImeRules}, {kFromGmV3, kImeRules}};
  return plans[direction == kToGmV3 ? 0 : 1];
}

}  // namespace codeconv

// Shared fixtures: the generated code tables, the assigned KS X 1001 cells and
// byte helpers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gm_converter.h"
#include "gm_remap.h"

namespace codeconv::test {

// The generated tables, read once from the data folder.
const GmTables& GeneratedTables();
// The program's converter over the generated tables.
const GmCodeConverter& GeneratedConverter();
const std::vector<uint8_t>& GeneratedFile(const std::string& name);
// Every KS X 1001 cell that code page 949 assigns a character.
const std::vector<DbChar>& AssignedKsCells();

inline std::string Pair(DbChar c) { return {static_cast<char>(Lead(c)), static_cast<char>(Trail(c))}; }
inline DbChar PairAt(const std::string& s, size_t i) {
  return MakeDb(static_cast<uint8_t>(s[i]), static_cast<uint8_t>(s[i + 1]));
}
// The Shift-JIS-shaped pair of a row and a 1-based cell.
inline DbChar Sjis(int row, int cell) { return EncodeSjisShape({row, cell - 1}); }

}  // namespace codeconv::test

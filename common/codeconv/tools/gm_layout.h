// The GM V3 arrangement of the remapped rows, defined once: the code tables
// of every deliverable and the test fixtures are generated from it.
//
// The KS rows 1-3 and 5-8 (GM95 blocks of gm95_V3) and the GM V3 rows 1, 2, 3,
// 6, 8, 13 and 106 (blocks of gmV3_95) form one pool of 658 cells each way:
//  - the won sign (KS A3DC) sits at F5ED, where the widening puts a backslash;
//  - every other character of the pool takes its code page 932 place when
//    that place lies in a pool row of GM V3 and is still free, so that
//    Japanese symbols, Greek, box drawing, circled numbers and units keep the
//    Shift-JIS codes under which Japanese fonts and text know them;
//  - the cells left over (unassigned cells included) fill the free GM V3
//    cells in order.
// The result is one-to-one, so the two tables are exact inverses.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "code_page.h"
#include "gm_remap.h"

namespace codeconv {

inline constexpr size_t kPoolCells = kCodeTableBlocks * 94;

struct GmLayout {
  // Cell (block - 1) * 94 + column of gm95_V3 / gmV3_95: the pair it maps to.
  std::array<DbChar, kPoolCells> toV3{};
  std::array<DbChar, kPoolCells> fromV3{};
};

GmLayout BuildGmLayout(const CodePageConverter& pages);
// Every cell of each direction comes back through the other.
bool TablesUndoEachOther(const GmLayout& layout);

// The table resource of one direction, in the 1470-byte format.
std::vector<uint8_t> WriteCodeTable(const std::array<DbChar, kPoolCells>& cells,
                                    const std::array<int, kCodeTableBlocks>& rows);
inline std::vector<uint8_t> BuildGm95ToV3Table(const GmLayout& l) { return WriteCodeTable(l.toV3, kTableRowsToV3); }
inline std::vector<uint8_t> BuildGmV3To95Table(const GmLayout& l) { return WriteCodeTable(l.fromV3, kTableRowsFromV3); }

// HANGLYMR: 1020 fixed-width rows of 12 bytes, one per KS syllable from the
// first: the KS pair, its romanisation padded with blanks to 8 bytes, CR LF.
inline constexpr size_t kRomanisationRows = 1020;
inline constexpr size_t kRomanisationRowSize = 12;
std::vector<uint8_t> BuildRomanisationTable(const CodePageConverter& pages);

}  // namespace codeconv

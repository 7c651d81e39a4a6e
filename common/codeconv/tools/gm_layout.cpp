#include "gm_layout.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

namespace codeconv {

namespace {

constexpr DbChar kKsWonSign = 0xA3DC;

// Pool index of a Shift-JIS pair among the given block rows.
std::optional<size_t> PoolIndex(DbChar pair, const std::array<int, kCodeTableBlocks>& rows) {
  RowCell rc;
  if (!DecodeSjisShape(pair, rc)) return std::nullopt;
  const auto it = std::find(rows.begin(), rows.end(), rc.row);
  if (it == rows.end()) return std::nullopt;
  return static_cast<size_t>(it - rows.begin()) * 94 + static_cast<size_t>(rc.column);
}

DbChar PoolPair(size_t index, const std::array<int, kCodeTableBlocks>& rows) {
  return EncodeSjisShape({rows[index / 94], static_cast<int>(index % 94)});
}

std::string Bytes(DbChar c) { return {static_cast<char>(Lead(c)), static_cast<char>(Trail(c))}; }

// The code page 932 pair of a KS cell's character, when it has one that
// decodes back to the same character.
std::optional<DbChar> JapanesePlace(const CodePageConverter& pages, DbChar ks) {
  const std::u16string u = pages.ToUtf16(949, Bytes(ks));
  if (u.size() != 1) return std::nullopt;
  const std::string sj = pages.FromUtf16(932, u);
  if (sj.size() != 2 || pages.ToUtf16(932, sj) != u) return std::nullopt;
  return MakeDb(static_cast<uint8_t>(sj[0]), static_cast<uint8_t>(sj[1]));
}

}  // namespace

GmLayout BuildGmLayout(const CodePageConverter& pages) {
  GmLayout layout;
  std::array<bool, kPoolCells> placed{};  // KS pool cells with a place
  std::array<bool, kPoolCells> taken{};   // GM V3 pool cells in use
  auto place = [&](size_t ks, size_t v3) {
    layout.toV3[ks] = PoolPair(v3, kTableRowsFromV3);
    layout.fromV3[v3] = PoolPair(ks, kTableRowsToV3);
    placed[ks] = taken[v3] = true;
  };
  auto ksOf = [](size_t index) {
    DbChar ks = 0;
    SjisToEuc(PoolPair(index, kTableRowsToV3), ks);
    return ks;
  };

  for (size_t i = 0; i < kPoolCells; ++i) {
    if (ksOf(i) == kKsWonSign) place(i, *PoolIndex(kGmV3WonSign, kTableRowsFromV3));
  }
  for (size_t i = 0; i < kPoolCells; ++i) {
    if (placed[i]) continue;
    const std::optional<DbChar> japanese = JapanesePlace(pages, ksOf(i));
    if (!japanese) continue;
    const std::optional<size_t> v3 = PoolIndex(*japanese, kTableRowsFromV3);
    if (v3 && !taken[*v3]) place(i, *v3);
  }
  size_t free = 0;
  for (size_t i = 0; i < kPoolCells; ++i) {
    if (placed[i]) continue;
    while (taken[free]) ++free;
    place(i, free);
  }
  return layout;
}

bool TablesUndoEachOther(const GmLayout& layout) {
  for (size_t i = 0; i < kPoolCells; ++i) {
    const std::optional<size_t> there = PoolIndex(layout.toV3[i], kTableRowsFromV3);
    const std::optional<size_t> back = PoolIndex(layout.fromV3[i], kTableRowsToV3);
    if (!there || !back || layout.fromV3[*there] != PoolPair(i, kTableRowsToV3) ||
        layout.toV3[*back] != PoolPair(i, kTableRowsFromV3)) {
      return false;
    }
  }
  return true;
}

std::vector<uint8_t> WriteCodeTable(const std::array<DbChar, kPoolCells>& cells,
                                    const std::array<int, kCodeTableBlocks>& rows) {
  std::vector<uint8_t> table(kCodeTableSize, ' ');
  for (size_t b = 0; b < kCodeTableBlocks; ++b) {
    uint8_t* block = table.data() + b * kCodeTableBlockSize;
    char label[8];
    std::snprintf(label, sizeof label, rows[b] < 100 ? "%02dKU" : "%03dK", rows[b]);
    std::copy(label, label + 4, block);
    for (size_t line = 0; line <= 6; ++line) {  // CR LF after the label and after each line
      uint8_t* end = block + (line == 0 ? 4 : 6 + 34 * line - 2);
      end[0] = '\r';
      end[1] = '\n';
    }
    for (int k = 1; k <= 94; ++k) {
      const DbChar c = cells[b * 94 + static_cast<size_t>(k - 1)];
      block[CodeTableCellOffset(k)] = Lead(c);
      block[CodeTableCellOffset(k) + 1] = Trail(c);
    }
  }
  return table;
}

std::vector<uint8_t> BuildRomanisationTable(const CodePageConverter& pages) {
  static const char* const kInitials[19] = {"g", "kk", "n", "d", "tt", "r", "m", "b", "pp", "s",
                                            "ss", "", "j", "jj", "ch", "k", "t", "p", "h"};
  static const char* const kVowels[21] = {"a", "ae", "ya", "yae", "eo", "e", "yeo", "ye", "o", "wa", "wae",
                                          "oe", "yo", "u", "wo", "we", "wi", "yu", "eu", "ui", "i"};
  static const char* const kFinals[28] = {"", "k", "k", "k", "n", "n", "n", "t", "l", "k", "m", "l", "l", "l",
                                          "p", "l", "m", "p", "p", "t", "t", "ng", "t", "t", "k", "t", "p", "t"};
  std::vector<uint8_t> table;
  table.reserve(kRomanisationRows * kRomanisationRowSize);
  for (size_t i = 0; i < kRomanisationRows; ++i) {
    const DbChar ks = EncodeEucShape({16 + static_cast<int>(i / 94), static_cast<int>(i % 94)});
    const std::u16string u = pages.ToUtf16(949, Bytes(ks));
    std::string roman;
    if (u.size() == 1 && u[0] >= 0xAC00 && u[0] <= 0xD7A3) {
      const unsigned s = u[0] - 0xAC00u;
      roman = std::string(kInitials[s / 588]) + kVowels[s / 28 % 21] + kFinals[s % 28];
    }
    roman.resize(8, ' ');
    table.push_back(Lead(ks));
    table.push_back(Trail(ks));
    table.insert(table.end(), roman.begin(), roman.end());
    table.push_back('\r');
    table.push_back('\n');
  }
  return table;
}

}  // namespace codeconv

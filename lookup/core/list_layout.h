// The contents of the pages' lists as cells: labels, characters, blanks
// that continue a group in a new column or pad its last one, and padding
// items. Every list is a multi-column list box filled column by column, so
// a "row" of the radical page's lists is a column of six cells.
#pragma once
#include <array>
#include <vector>

#include "jiso_dic.h"
#include "lookup_codes.h"
#include "radical_dic.h"

namespace lookup {

enum class CellKind : std::uint8_t {
  kLabel,  // a group's label: a stroke count, a radical, a vowel
  kItem,   // a character that can be sent
  kBlank,  // the GM95 blank: continuation and padding inside a group, an initial without syllables
  kPad,    // padding of the list up to its minimum length
};

struct Cell {
  DbChar code = kGm95Blank;
  CellKind kind = CellKind::kBlank;
  bool operator==(const Cell&) const = default;
};

struct LabelledGroup {
  Cell label;
  std::vector<DbChar> items;
};

inline constexpr int kRadicalRows = 6;
inline constexpr std::size_t kCharacterListMinimum = 120;
inline constexpr std::size_t kJisoListMinimum = 220;

// Columns of rows cells: a group starts a column with its label; a group
// that fills its column goes on in the next one behind a blank; its last
// column is padded with blanks. Empty groups are left out.
std::vector<Cell> LayoutGroups(const std::vector<LabelledGroup>& groups, int rows);
// Pads the list with pad items up to count.
void PadList(std::vector<Cell>& cells, std::size_t count, DbChar pad);
// Whether the cell at index holds a character to send (not a label, not a
// blank, not padding).
bool IsSendable(const std::vector<Cell>& cells, int index);

// Label of a stroke count or a row number: "%2d" as two bytes.
DbChar NumberLabel(int strokes);

// Radical page: the radicals by stroke count.
std::vector<Cell> RadicalList(const std::vector<StrokeGroup>& radicals);
// The characters of one radical, only the group of filter strokes unless it
// is 0; padded with two-blank items to 120.
std::vector<Cell> RadicalCharacters(const std::vector<StrokeGroup>& characters, int filter);
// For every radical, its characters of one stroke count, each group headed by the radical.
struct RadicalStrokes {
  DbChar radical = 0;
  std::vector<DbChar> characters;
};
std::vector<Cell> CharactersOfStrokes(const std::vector<RadicalStrokes>& perRadical);

// Easy-Hangul page: the 19 initials (a blank for an initial without
// syllables), and the syllables of one initial in columns of rows cells,
// one group per vowel, padded to 220.
std::vector<Cell> JisoInitials(const std::array<DbChar, kInitials>& labels, const std::array<bool, kInitials>& present);
std::vector<Cell> JisoSyllables(const VowelGroups& groups, const std::array<DbChar, kVowels>& vowelLabels, int rows);

// Code page grids of 100 items in 20 columns of 5: item k stands for number
// k / 5 + (k % 5) * 20.
inline constexpr int kGridItems = 100;
constexpr int GridNumber(int item) { return item / 5 + (item % 5) * 20; }
constexpr int GridItem(int number) { return (number % 20) * 5 + number / 20; }
// Whether a cell grid item holds a cell of the row (numbers 1-94), which is sent.
constexpr bool GridSendable(int item) { return item >= 0 && item < kGridItems && GridNumber(item) >= 1 && GridNumber(item) <= 94; }
// Row grid: number n (0-93) is row n + 1, labelled "%2d"; the rest blank.
std::vector<Cell> RowGrid();
// Cell grid of a row (1-94): number n (1-94) is its cell n in GM95; number 0
// and those above 94 are blanks.
std::vector<Cell> CellGrid(int row);

}  // namespace lookup

#include "list_layout.h"

namespace lookup {

std::vector<Cell> LayoutGroups(const std::vector<LabelledGroup>& groups, int rows) {
  std::vector<Cell> out;
  if (rows < 2) rows = 2;  // a label and at least one character per column
  const auto column = static_cast<std::size_t>(rows);
  for (const LabelledGroup& g : groups) {
    if (g.items.empty()) continue;
    out.push_back(g.label);
    for (DbChar c : g.items) {
      if (out.size() % column == 0) out.push_back(Cell{kGm95Blank, CellKind::kBlank});
      out.push_back(Cell{c, CellKind::kItem});
    }
    while (out.size() % column != 0) out.push_back(Cell{kGm95Blank, CellKind::kBlank});
  }
  return out;
}

void PadList(std::vector<Cell>& cells, std::size_t count, DbChar pad) {
  while (cells.size() < count) cells.push_back(Cell{pad, CellKind::kPad});
}

bool IsSendable(const std::vector<Cell>& cells, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= cells.size()) return false;
  const Cell& c = cells[static_cast<std::size_t>(index)];
  return c.kind == CellKind::kItem && c.code != kGm95Blank;
}

DbChar NumberLabel(int strokes) {
  if (strokes < 0) strokes = 0;
  if (strokes > 99) strokes = 99;
  const auto tens = static_cast<std::uint8_t>(strokes >= 10 ? '0' + strokes / 10 : ' ');
  return codeconv::MakeDb(tens, static_cast<std::uint8_t>('0' + strokes % 10));
}

std::vector<Cell> RadicalList(const std::vector<StrokeGroup>& radicals) {
  std::vector<LabelledGroup> groups;
  for (const StrokeGroup& g : radicals) groups.push_back({Cell{NumberLabel(g.strokes), CellKind::kLabel}, g.codes});
  return LayoutGroups(groups, kRadicalRows);
}

std::vector<Cell> RadicalCharacters(const std::vector<StrokeGroup>& characters, int filter) {
  std::vector<LabelledGroup> groups;
  for (const StrokeGroup& g : characters) {
    if (filter != 0 && g.strokes != filter) continue;
    groups.push_back({Cell{NumberLabel(g.strokes), CellKind::kLabel}, g.codes});
  }
  std::vector<Cell> out = LayoutGroups(groups, kRadicalRows);
  PadList(out, kCharacterListMinimum, kAsciiBlanks);
  return out;
}

std::vector<Cell> CharactersOfStrokes(const std::vector<RadicalStrokes>& perRadical) {
  std::vector<LabelledGroup> groups;
  for (const RadicalStrokes& r : perRadical) groups.push_back({Cell{r.radical, CellKind::kLabel}, r.characters});
  std::vector<Cell> out = LayoutGroups(groups, kRadicalRows);
  PadList(out, kCharacterListMinimum, kAsciiBlanks);
  return out;
}

std::vector<Cell> JisoInitials(const std::array<DbChar, kInitials>& labels, const std::array<bool, kInitials>& present) {
  std::vector<Cell> out;
  for (int i = 0; i < kInitials; ++i) {
    const auto k = static_cast<std::size_t>(i);
    out.push_back(present[k] ? Cell{labels[k], CellKind::kItem} : Cell{kGm95Blank, CellKind::kBlank});
  }
  return out;
}

std::vector<Cell> JisoSyllables(const VowelGroups& groups, const std::array<DbChar, kVowels>& vowelLabels, int rows) {
  std::vector<LabelledGroup> labelled;
  for (std::size_t v = 0; v < groups.size(); ++v) labelled.push_back({Cell{vowelLabels[v], CellKind::kLabel}, groups[v]});
  std::vector<Cell> out = LayoutGroups(labelled, rows);
  PadList(out, kJisoListMinimum, kGm95Blank);
  return out;
}

std::vector<Cell> RowGrid() {
  std::vector<Cell> out(kGridItems);
  for (int k = 0; k < kGridItems; ++k) {
    const int n = GridNumber(k);
    if (n < 94) out[static_cast<std::size_t>(k)] = Cell{NumberLabel(n + 1), CellKind::kItem};
  }
  return out;
}

std::vector<Cell> CellGrid(int row) {
  std::vector<Cell> out(kGridItems);
  if (row < 1 || row > 94) return out;
  for (int k = 0; k < kGridItems; ++k) {
    const int n = GridNumber(k);
    if (n < 1 || n > 94) continue;
    const DbChar jis = codeconv::MakeDb(static_cast<std::uint8_t>(row + 0x20), static_cast<std::uint8_t>(n + 0x20));
    out[static_cast<std::size_t>(k)] = Cell{codeconv::KsCharToGm(jis), CellKind::kItem};
  }
  return out;
}

}  // namespace lookup

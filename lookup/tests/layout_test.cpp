// The pages' lists as cells: group labels, continuation blanks, padding, and
// the code page's grids.
#include <gtest/gtest.h>

#include "list_layout.h"

namespace lookup {
namespace {

constexpr Cell Label(DbChar c) { return Cell{c, CellKind::kLabel}; }
constexpr Cell Item(DbChar c) { return Cell{c, CellKind::kItem}; }
constexpr Cell Blank() { return Cell{kGm95Blank, CellKind::kBlank}; }

std::vector<DbChar> Codes(DbChar first, int n) {
  std::vector<DbChar> out;
  for (int i = 0; i < n; ++i) out.push_back(static_cast<DbChar>(first + i));
  return out;
}

TEST(ListLayout, GroupsFillColumnsBehindLabelsAndBlanks) {
  struct Case {
    const char* what;
    int items;
    std::vector<Cell> expected;
  } cases[] = {
      {"one character", 1, {Label(0x2031), Item(0xE000), Blank(), Blank(), Blank(), Blank()}},
      {"a full column", 5, {Label(0x2031), Item(0xE000), Item(0xE001), Item(0xE002), Item(0xE003), Item(0xE004)}},
      {"8 characters: label + 5, then blank + 3 + 2 blanks",
       8,
       {Label(0x2031), Item(0xE000), Item(0xE001), Item(0xE002), Item(0xE003), Item(0xE004), Blank(), Item(0xE005),
        Item(0xE006), Item(0xE007), Blank(), Blank()}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LayoutGroups({{Label(0x2031), Codes(0xE000, c.items)}}, kRadicalRows), c.expected) << c.what;
  }
  // Empty groups leave no column; the next group starts a column of its own.
  const auto two = LayoutGroups({{Label(1), {}}, {Label(2), {0xE000}}, {Label(3), {0xE001}}}, 3);
  EXPECT_EQ(two, (std::vector<Cell>{Label(2), Item(0xE000), Blank(), Label(3), Item(0xE001), Blank()}));
}

TEST(ListLayout, RadicalPageLists) {
  EXPECT_EQ(NumberLabel(3), 0x2033) << "\" 3\"";
  EXPECT_EQ(NumberLabel(17), 0x3137) << "\"17\"";
  const auto radicals = RadicalList({{1, {0xE4A0, 0x829F}}, {3, {0xE580}}});
  EXPECT_EQ(radicals.size(), 12u);
  EXPECT_EQ(radicals[0], Label(NumberLabel(1)));
  EXPECT_EQ(radicals[2], Item(0x829F));
  EXPECT_EQ(radicals[6], Label(NumberLabel(3)));

  const std::vector<StrokeGroup> chars = {{4, Codes(0xE5A0, 3)}, {7, Codes(0xE5B0, 8)}};
  const auto all = RadicalCharacters(chars, 0);
  ASSERT_EQ(all.size(), kCharacterListMinimum) << "padded to 120";
  EXPECT_EQ(all[0], Label(NumberLabel(4)));
  EXPECT_EQ(all[6], Label(NumberLabel(7)));
  EXPECT_EQ(all[12], Blank()) << "the 7-stroke group goes on behind a blank";
  EXPECT_EQ(all[18], (Cell{kAsciiBlanks, CellKind::kPad})) << "then two-blank padding items";
  const auto seven = RadicalCharacters(chars, 7);
  EXPECT_EQ(seven[0], Label(NumberLabel(7))) << "a filter keeps only its stroke group";
  EXPECT_EQ(seven[1], Item(0xE5B0));
  EXPECT_TRUE(RadicalCharacters(chars, 5)[0].kind == CellKind::kPad) << "no group of 5 strokes";

  // With no radical chosen, every radical's characters of a stroke count, headed by the radical.
  const auto byStrokes = CharactersOfStrokes({{0xE4A0, {0xE4A1}}, {0x829F, {}}, {0xE580, {0xE5A0, 0xE5A1}}});
  EXPECT_EQ(byStrokes[0], Label(0xE4A0));
  EXPECT_EQ(byStrokes[1], Item(0xE4A1));
  EXPECT_EQ(byStrokes[6], Label(0xE580)) << "a radical without such characters is left out";
  EXPECT_EQ(byStrokes.size(), kCharacterListMinimum);
}

TEST(ListLayout, OnlyCharactersAreSendable) {
  const auto cells = RadicalCharacters({{7, Codes(0xE5B0, 8)}}, 0);
  struct Case {
    int index;
    bool sendable;
  } cases[] = {{0, false}, {1, true}, {5, true}, {6, false}, {7, true}, {9, true}, {10, false}, {11, false},
               {12, false}, {119, false}, {120, false}, {-1, false}};
  for (const Case& c : cases) EXPECT_EQ(IsSendable(cells, c.index), c.sendable) << c.index;
  // A blank character is never sent, whatever the cell says it is.
  EXPECT_FALSE(IsSendable({Item(kGm95Blank)}, 0));
}

TEST(ListLayout, EasyHangulColumns) {
  VowelGroups groups{};
  groups[0] = Codes(0x889F, 5);  // five syllables with the first vowel
  groups[4] = Codes(0x88D0, 2);
  std::array<DbChar, kVowels> vowels{};
  for (int v = 0; v < kVowels; ++v) vowels[static_cast<std::size_t>(v)] = static_cast<DbChar>(0x82BD + v);
  const auto cells = JisoSyllables(groups, vowels, 4);
  ASSERT_EQ(cells.size(), kJisoListMinimum);
  const std::vector<Cell> start = {Label(0x82BD), Item(0x889F), Item(0x88A0), Item(0x88A1),
                                   Blank(),       Item(0x88A2), Item(0x88A3), Blank(),
                                   Label(0x82C1), Item(0x88D0), Item(0x88D1), Blank()};
  EXPECT_EQ(std::vector<Cell>(cells.begin(), cells.begin() + 12), start);
  EXPECT_EQ(cells[12].kind, CellKind::kPad);
  EXPECT_EQ(cells[12].code, kGm95Blank) << "padded with the GM95 blank";

  std::array<DbChar, kInitials> labels{};
  std::array<bool, kInitials> present{};
  labels[0] = 0x829F;
  present[0] = true;
  labels[1] = 0x82A0;
  const auto initials = JisoInitials(labels, present);
  ASSERT_EQ(initials.size(), 19u);
  EXPECT_EQ(initials[0], Item(0x829F));
  EXPECT_EQ(initials[1], Blank()) << "an initial without syllables shows as a blank";
}

TEST(ListLayout, CodeGrids) {
  // Items run down five lines, then across: item k is number k / 5 + (k % 5) x 20.
  const std::pair<int, int> items[] = {{0, 0}, {1, 20}, {4, 80}, {5, 1}, {75, 15}, {79, 95}, {99, 99}};
  for (auto [item, number] : items) {
    EXPECT_EQ(GridNumber(item), number) << item;
    EXPECT_EQ(GridItem(number), item) << number;
  }
  const auto rows = RowGrid();
  EXPECT_EQ(rows[0].code, 0x2031) << "number 0 is row 1";
  EXPECT_EQ(rows[75].code, 0x3136) << "item 75 is row 16";
  EXPECT_EQ(rows[GridItem(93)].code, 0x3934) << "row 94";
  EXPECT_EQ(rows[GridItem(94)].kind, CellKind::kBlank);

  const auto cells = CellGrid(16);
  EXPECT_EQ(cells[5], Item(0x889F)) << "item 5: row 16, cell 1 (the first syllable)";
  EXPECT_EQ(cells[GridItem(94)], Item(0x88FC)) << "cell 94";
  for (int item = 0; item < kGridItems; ++item) {
    const bool blank = item == 0 || item == 79 || item == 84 || item == 89 || item == 94 || item == 99;
    EXPECT_EQ(GridSendable(item), !blank) << item;
    if (blank) {
      EXPECT_EQ(cells[static_cast<std::size_t>(item)], Blank()) << item;
    }
  }
  EXPECT_EQ(CellGrid(1)[5], Item(0x8140)) << "row 1 cell 1 is the ideographic space, a character of its own";
}

}  // namespace
}  // namespace lookup

// The framework's portable rules: which parent messages reach a child's
// object, dialog-unit and list-size arithmetic, string-table blocks and the
// integer fields of data exchange.
#include <gtest/gtest.h>

#include <vector>

#include "data_exchange_rules.h"
#include "layout.h"
#include "message_route.h"
#include "string_table.h"

namespace fw {
namespace {

TEST(Reflection, MessagesAndWhereTheirChildIsNamed) {
  struct Case {
    const char* what;
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    ChildFrom expected;
  } cases[] = {
      {"button click", wm::kCommand, 0x00000079, 0x1234, ChildFrom::kLParam},
      {"menu command", wm::kCommand, 0x00009C41, 0, ChildFrom::kNone},
      {"accelerator", wm::kCommand, 0x00019C41, 0, ChildFrom::kNone},
      {"notification", wm::kNotify, 22000, 0x5000, ChildFrom::kNotifyHeader},
      {"owner-drawn list", wm::kDrawItem, 22000, 0x5000, ChildFrom::kDrawItem},
      {"owner-drawn menu item", wm::kDrawItem, 0, 0x5000, ChildFrom::kNone},
      {"list item height", wm::kMeasureItem, 22000, 0x5000, ChildFrom::kMeasureItem},
      {"menu item height", wm::kMeasureItem, 0, 0x5000, ChildFrom::kNone},
      {"list colours", wm::kCtlColorListBox, 0x99, 0x1234, ChildFrom::kLParam},
      {"static colours", wm::kCtlColorStatic, 0x99, 0x1234, ChildFrom::kLParam},
      {"edit colours", wm::kCtlColorEdit, 0x99, 0x1234, ChildFrom::kLParam},
      {"button colours", wm::kCtlColorButton, 0x99, 0x1234, ChildFrom::kLParam},
      {"scroll bar colours", wm::kCtlColorScrollBar, 0x99, 0x1234, ChildFrom::kLParam},
      {"the dialog's own colours", wm::kCtlColorDialog, 0x99, 0x1234, ChildFrom::kNone},
      {"a message box's colours", wm::kCtlColorMsgBox, 0x99, 0x1234, ChildFrom::kNone},
      {"WM_PAINT", 0x000F, 0, 0, ChildFrom::kNone},
      {"WM_PARENTNOTIFY", 0x0210, 1, 0x1234, ChildFrom::kNone},
  };
  for (const Case& c : cases) EXPECT_EQ(ReflectionSource(c.message, c.wParam, c.lParam), c.expected) << c.what;
}

TEST(Layout, DialogUnitsFollowTheBaseUnits) {
  // Wine's default prefix gives 0x00100009: 9 pixels wide, 16 high.
  EXPECT_EQ(DluToPixelX(4, 0x00100009), 9);
  EXPECT_EQ(DluToPixelX(100, 0x00100009), 225);
  EXPECT_EQ(DluToPixelY(8, 0x00100009), 16);
  EXPECT_EQ(DluToPixelY(3, 0x00100009), 6);
  // The common Windows values 8 x 16.
  EXPECT_EQ(DluToPixelX(10, 0x00100008), 20);
  EXPECT_EQ(DluToPixelX(0, 0x00100008), 0);
}

TEST(Layout, GridListsHoldWholeCells) {
  EXPECT_EQ(GridListSize({24, 22}, 20, 5, {4, 4}, 0), (Extent{484, 114}));
  EXPECT_EQ(GridListSize({26, 26}, 8, 6, {4, 4}, 17), (Extent{212, 177}));
  EXPECT_EQ(WholeRows(100, 22), 4);
  EXPECT_EQ(WholeRows(110, 22), 5);
  EXPECT_EQ(WholeRows(10, 22), 1) << "a list always shows one row";
  EXPECT_EQ(WholeRows(100, 0), 1);
}

// A string block written the way the resource compiler lays it out.
std::vector<std::uint8_t> Block(const std::vector<std::u16string>& strings) {
  std::vector<std::uint8_t> out;
  auto put = [&](char16_t u) {
    out.push_back(static_cast<std::uint8_t>(u & 0xFF));
    out.push_back(static_cast<std::uint8_t>(u >> 8));
  };
  for (size_t i = 0; i < 16; ++i) {
    const std::u16string s = i < strings.size() ? strings[i] : u"";
    put(static_cast<char16_t>(s.size()));
    for (char16_t u : s) put(u);
  }
  return out;
}

TEST(StringTable, EntriesOfABlock) {
  EXPECT_EQ(StringBlockOf(1), 1u);
  EXPECT_EQ(StringBlockOf(15), 1u);
  EXPECT_EQ(StringBlockOf(16), 2u);
  EXPECT_EQ(StringBlockOf(22003), 1376u);
  const auto block = Block({u"", u"部首・簡単ハングル・コード入力", u"", u"x"});
  EXPECT_EQ(StringTableEntry(block, 1), u"部首・簡単ハングル・コード入力");
  EXPECT_EQ(StringTableEntry(block, 17), u"部首・簡単ハングル・コード入力") << "the index within the block";
  EXPECT_EQ(StringTableEntry(block, 3), u"x");
  EXPECT_EQ(StringTableEntry(block, 2), u"");
  EXPECT_EQ(StringTableEntry(block, 15), u"");
  // A block cut inside a string gives nothing, never bytes past its end.
  const std::vector<std::uint8_t> cut(block.begin(), block.begin() + 10);
  EXPECT_EQ(StringTableEntry(cut, 1), std::nullopt);
  EXPECT_EQ(StringTableEntry(std::span<const std::uint8_t>(), 0), std::nullopt);
}

TEST(DataExchange, IntegerFields) {
  struct Case {
    std::u16string text;
    std::optional<long long> value;
  } cases[] = {
      {u"42", 42},
      {u"  -7 ", -7},
      {u"+3", 3},
      {u"１２", 12},
      {u"－５", -5},
      {u"\u3000" u"8", 8},
      {u"", std::nullopt},
      {u"-", std::nullopt},
      {u"12a", std::nullopt},
      {u"1 2", std::nullopt},
      {u"9223372036854775807", 9223372036854775807LL},
      {u"9223372036854775808", std::nullopt},
      {u"-9223372036854775808", -9223372036854775807LL - 1},
      {u"-9223372036854775809", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseIntegerField(c.text), c.value) << std::string(c.text.begin(), c.text.end());
  EXPECT_EQ(FormatInteger(0), u"0");
  EXPECT_EQ(FormatInteger(-120), u"-120");
  EXPECT_EQ(FormatInteger(-9223372036854775807LL - 1), u"-9223372036854775808");
  EXPECT_EQ(IntegerRangeMessage(1, 64), u"1 から 64 までの整数を入力してください。");
}

}  // namespace
}  // namespace fw

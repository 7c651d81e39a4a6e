#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "code_page.h"
#include "fixtures.h"
#include "gm_converter.h"
#include "gm_layout.h"
#include "ime_code.h"

namespace codeconv {
namespace {

using test::AssignedKsCells;
using test::GeneratedTables;
using test::Pair;
using test::PairAt;
using test::Sjis;

GmCodeConverter GeneratedConverter() {
  GmCodeConverter c;
  c.SetTables(GeneratedTables());
  return c;
}

// Converter KS -> GM on an exactly sized buffer (ASan catches a write past it).
std::string ConverterKsToGm(const GmCodeConverter& c, const std::string& ks) {
  std::vector<char> buffer(ks.begin(), ks.end());
  buffer.push_back('\x7F');
  c.KsToGm(buffer.data(), static_cast<unsigned>(ks.size()));
  EXPECT_EQ(buffer.back(), '\0');
  return std::string(buffer.data(), ks.size());
}

std::string ConverterGmToKs(const GmCodeConverter& c, const std::string& gm) {
  std::vector<char> out(gm.size() + 1, '\x7F');
  c.GmToKs(out.data(), gm.data(), static_cast<unsigned>(gm.size()));
  EXPECT_EQ(out.back(), '\0');
  return std::string(out.data(), gm.size());
}

template <class F>
std::string Through(F f, const std::string& in) {
  std::vector<uint8_t> out(in.size());
  f(out.data(), reinterpret_cast<const uint8_t*>(in.data()), in.size());
  return std::string(out.begin(), out.end());
}

std::string ImeKsToV3(const std::string& ks) {
  const std::string gm95 = Through(KsTextToGm, ks);
  return Through([](uint8_t* d, const uint8_t* s, size_t n) { Gm95TextToV3(&GeneratedTables(), d, s, n); }, gm95);
}

std::string ImeV3To95(const std::string& v3) {
  return Through([](uint8_t* d, const uint8_t* s, size_t n) { GmV3TextTo95(&GeneratedTables(), d, s, n); }, v3);
}

TEST(KsGmRoundTrip, EveryAssignedKsCellComesBackThroughEveryFace) {
  const GmCodeConverter converter = GeneratedConverter();
  ASSERT_GE(AssignedKsCells().size(), 8224u);  // 986 symbols, 2350 syllables, 4888 hanja
  std::map<DbChar, DbChar> seenV3;
  for (DbChar ks : AssignedKsCells()) {
    SCOPED_TRACE(testing::Message() << std::hex << ks);
    const DbChar gm95 = KsCharToGm(ks & 0x7FFF);
    ASSERT_EQ(GmCharToKs(gm95), ks);
    ASSERT_EQ(Through(GmTextToKs, Pair(gm95)), Pair(ks));

    const std::string v3 = ConverterKsToGm(converter, Pair(ks));
    ASSERT_TRUE(IsGmLeadByte(static_cast<uint8_t>(v3[0])));
    ASSERT_EQ(ConverterGmToKs(converter, v3), Pair(ks));
    ASSERT_TRUE(seenV3.emplace(PairAt(v3, 0), ks).second) << "two cells share a GM V3 code";
    // The input method's functions agree with the converter and come back to GM95.
    ASSERT_EQ(ImeKsToV3(Pair(ks)), v3);
    ASSERT_EQ(ImeV3To95(v3), Pair(gm95));
  }
}

TEST(GeneratedTables, AreExactInversesOnEveryCell) {
  const GmTables& t = GeneratedTables();
  ASSERT_TRUE(t.toV3.Present() && t.fromV3.Present());
  for (size_t b = 0; b < kCodeTableBlocks; ++b) {
    for (int k = 1; k <= 94; ++k) {
      const DbChar v3 = RemapGmRow(&t, kToGmV3, Sjis(kTableRowsToV3[b], k), kConverterRules);
      EXPECT_EQ(RemapGmRow(&t, kFromGmV3, v3, kConverterRules), Sjis(kTableRowsToV3[b], k));
      const DbChar back = RemapGmRow(&t, kFromGmV3, Sjis(kTableRowsFromV3[b], k), kConverterRules);
      EXPECT_EQ(RemapGmRow(&t, kToGmV3, back, kConverterRules), Sjis(kTableRowsFromV3[b], k));
    }
  }
}

TEST(GeneratedTables, HaveTheResourceFormat) {
  const auto& table = test::GeneratedFile("gmV3_95.tbl");
  ASSERT_EQ(table.size(), kCodeTableSize);
  const char* labels[] = {"01KU", "02KU", "03KU", "06KU", "08KU", "13KU", "106K"};
  for (size_t b = 0; b < kCodeTableBlocks; ++b) {
    const uint8_t* block = table.data() + b * kCodeTableBlockSize;
    EXPECT_EQ(std::string(block, block + 4), labels[b]);
    for (size_t line = 0; line < 6; ++line) EXPECT_EQ(block[6 + 34 * line + 32], '\r');
  }
  EXPECT_EQ(std::string(test::GeneratedFile("gm95_V3.tbl").begin() + 3 * 210,
                        test::GeneratedFile("gm95_V3.tbl").begin() + 3 * 210 + 4), "05KU");
  EXPECT_EQ(test::GeneratedFile("HANGLYMR.tbl").size(), 12240u);
}

TEST(GeneratedTables, JapaneseSymbolsKeepTheirShiftJisCodes) {
  const GmCodeConverter c = GeneratedConverter();
  const CodePageConverter& pages = PlatformCodePages();
  // Symbols, Greek, box drawing, circled numbers: the GM V3 code is the
  // code page 932 code of the same character.
  for (const char16_t* text : {u"！Ａｚ０＜「」※", u"ΑΩαω", u"─┼", u"①⑮"}) {
    const std::u16string s = text;
    EXPECT_EQ(ConverterKsToGm(c, pages.FromUtf16(949, s)), pages.FromUtf16(932, s));
  }
  EXPECT_EQ(ConverterKsToGm(c, pages.FromUtf16(949, u"￦")), Pair(kGmV3WonSign));
}

// Rows renumbered without a table, KS row to GM V3 row, by both faces.
struct Renumbered {
  int ks, v3;
};
constexpr Renumbered kRenumbered[] = {{4, 41},  {9, 109}, {10, 4},  {11, 5},  {12, 7},  {47, 95},
                                      {84, 96}, {93, 105}, {16, 16}, {40, 40}, {42, 42}, {83, 83}};

TEST(RowRemap, RenumberedRowsGoAndComeBack) {
  for (const Renumbered& r : kRenumbered) {
    for (int cell : {1, 94}) {
      SCOPED_TRACE(testing::Message() << "row " << r.ks << " cell " << cell);
      for (const RemapRules* rules : {&kConverterRules, &kImeRules}) {
        EXPECT_EQ(RemapGmRow(nullptr, kToGmV3, Sjis(r.ks, cell), *rules), Sjis(r.v3, cell));
        EXPECT_EQ(RemapGmRow(nullptr, kFromGmV3, Sjis(r.v3, cell), *rules), Sjis(r.ks, cell));
      }
    }
  }
}

TEST(RowRemap, OneWayRowsAndTheDifferencesOfTheInputMethod) {
  // GM V3 rows 107 and 108 are read back as rows 7 and 8.
  EXPECT_EQ(RemapGmRow(nullptr, kFromGmV3, Sjis(107, 3), kConverterRules), Sjis(7, 3));
  EXPECT_EQ(RemapGmRow(nullptr, kFromGmV3, Sjis(108, 3), kImeRules), Sjis(8, 3));
  // Only the input method moves GM95 row 41 to row 94.
  EXPECT_EQ(ConvertGmVariant(nullptr, kToGmV3, Sjis(41, 5)), Sjis(94, 5));
  EXPECT_EQ(RemapGmRow(nullptr, kToGmV3, Sjis(41, 5), kConverterRules), Sjis(41, 5));
  // The input method leaves rows beyond its bounds alone.
  EXPECT_EQ(RemapGmRow(nullptr, kFromGmV3, Sjis(109, 2), kImeRules), Sjis(9, 2));
  EXPECT_EQ(RemapGmRow(nullptr, kToGmV3, Sjis(94, 2), kImeRules), Sjis(94, 2));
}

// Synthetic tables whose cell k of block b holds (0xE0 + b, 0x40 + k), and
// whose fillers and line ends hold bytes that no cell must return.
std::vector<uint8_t> SyntheticTable() {
  std::vector<uint8_t> t(kCodeTableSize, 0xEE);
  for (size_t b = 1; b <= kCodeTableBlocks; ++b) {
    for (int k = 1; k <= 94; ++k) {
      uint8_t* cell = t.data() + (b - 1) * kCodeTableBlockSize + CodeTableCellOffset(k);
      cell[0] = static_cast<uint8_t>(0xE0 + b);
      cell[1] = static_cast<uint8_t>(0x40 + k);
    }
  }
  return t;
}

TEST(CodeTables, CellsAtTheLineEdgesOfEveryBlock) {
  const std::vector<uint8_t> to = SyntheticTable();
  std::vector<uint8_t> from = SyntheticTable();
  for (uint8_t& b : from) b = b == 0xEE ? 0xEE : static_cast<uint8_t>(b ^ 0x01);
  const GmTables tables{CodeTable(to.data(), to.size()), CodeTable(from.data(), from.size())};
  for (int b = 1; b <= 7; ++b) {
    for (int k : {1, 15, 16, 17, 31, 32, 94}) {
      SCOPED_TRACE(testing::Message() << "block " << b << " cell " << k);
      const DbChar expected = MakeDb(static_cast<uint8_t>(0xE0 + b), static_cast<uint8_t>(0x40 + k));
      EXPECT_EQ(RemapGmRow(&tables, kToGmV3, Sjis(kTableRowsToV3[b - 1], k), kConverterRules), expected);
      EXPECT_EQ(ConvertGmVariant(&tables, kFromGmV3, Sjis(kTableRowsFromV3[b - 1], k)), expected ^ 0x0101);
    }
  }
  EXPECT_FALSE(CodeTable(to.data(), kCodeTableSize - 1).Present());
}

TEST(CodeTables, MissingTablesLeaveTableRowsAndStillRenumber) {
  GmCodeConverter c;  // nothing loaded
  const std::string row1 = Pair(Sjis(1, 7));
  EXPECT_EQ(ConverterGmToKs(c, row1), Pair(EncodeEucShape({1, 6})));  // folded as it stands
  EXPECT_EQ(ConverterGmToKs(c, Pair(Sjis(41, 2))), Pair(EncodeEucShape({4, 1})));
  EXPECT_EQ(ConvertGmVariant(nullptr, kFromGmV3, Sjis(106, 9)), Sjis(106, 9));
}

TEST(CodeTables, QuestionMarkCellsComeOutAsTheyAre) {
  std::vector<uint8_t> from = SyntheticTable();
  uint8_t* cell = from.data() + 6 * kCodeTableBlockSize + CodeTableCellOffset(5);
  cell[0] = cell[1] = '?';
  GmCodeConverter c;
  c.SetTables({CodeTable(), CodeTable(from.data(), from.size())});
  EXPECT_EQ(ConverterGmToKs(c, Pair(Sjis(106, 5)) + "a"), "??a");
}

// Texts that must pass unchanged or be cut soundly, through both directions.
struct TextCase {
  const char* name;
  std::string gm;  // GM V3 text given to GmToKs
  std::string ks;  // expected KS text
};

TEST(TextConversion, FaultsPassUnchanged) {
  const GmCodeConverter c = GeneratedConverter();
  const std::string syllable = "\x88\x9F";  // KS B0A1
  const std::vector<TextCase> cases = {
      {"empty", "", ""},
      {"ascii", "abc 123", "abc 123"},
      {"lone lead at the end", "a\x88", "a\x88"},
      {"pair then lone lead", syllable + "\x88", "\xB0\xA1\x88"},
      {"trail below the range", "\x88\x30", "\x88\x30"},
      {"trail 0x7F", "\x88\x7F", "\x88\x7F"},
      {"row above 94 without a KS place", "\xF8\x9F\xFC\xFC", "\xF8\x9F\xFC\xFC"},
      {"half-width kana", "\xB1\xDE", "\xB1\xDE"},
  };
  for (const TextCase& t : cases) {
    SCOPED_TRACE(t.name);
    EXPECT_EQ(ConverterGmToKs(c, t.gm), t.ks);
  }
  // KS text: a lone lead, pairs outside EUC (extended syllables, 0xFF) stay.
  for (const std::string& ks : {std::string("a\xB0"), std::string("\x81\x41"), std::string("\xFF\xA1"),
                               std::string("\xA1\x41")}) {
    EXPECT_EQ(ConverterKsToGm(c, ks), ks);
    EXPECT_EQ(Through(KsTextToGm, ks), ks);
  }
  EXPECT_EQ(Through(GmTextToKs, "\xF8\x9F"), "\xF8\x9F");  // row 110 has no KS place
}

TEST(TextConversion, InputMethodFunctionsWorkInPlace) {
  std::string text = "k" + Pair(KsCharToGm(0xB0A1 & 0x7FFF)) + Pair(Sjis(84, 3)) + "\x81";
  auto* p = reinterpret_cast<uint8_t*>(text.data());
  Gm95TextToV3(&GeneratedTables(), p, p, text.size());
  EXPECT_EQ(text, "k" + Pair(KsCharToGm(0xB0A1 & 0x7FFF)) + Pair(Sjis(96, 3)) + "\x81");
  GmV3TextTo95(&GeneratedTables(), p, p, text.size());
  GmTextToKs(p, p, text.size());
  EXPECT_EQ(text, "k\xB0\xA1" + Pair(EncodeEucShape({84, 2})) + "\x81");
}

TEST(TextConversion, PrevCodeCharFindsTheSingleByte) {
  const std::string s = "\x88\x9F\x88\xA0" "a";
  const auto* start = reinterpret_cast<const uint8_t*>(s.data());
  EXPECT_EQ(PrevCodeChar(2, start, start + s.size()), start + 4);
  EXPECT_EQ(PrevCodeChar(2, start, start + 4), start + 2);
  EXPECT_EQ(PrevCodeChar(2, start, start), start);
  const std::string ks = "\xB0\xA1" "a";
  EXPECT_EQ(PrevCodeChar(1, reinterpret_cast<const uint8_t*>(ks.data()),
                         reinterpret_cast<const uint8_t*>(ks.data()) + 2),
            reinterpret_cast<const uint8_t*>(ks.data()));
}

class CountingFinder final : public ResourceFinder {
 public:
  std::map<std::string, std::vector<uint8_t>> resources;
  mutable std::vector<std::pair<uintptr_t, std::string>> asked;
  std::span<const uint8_t> Find(uintptr_t module, const char* name) const override {
    asked.emplace_back(module, name);
    auto it = resources.find(name);
    if (it == resources.end()) return {};
    return {it->second.data(), it->second.size()};
  }
};

TEST(TableLoading, ConverterLoadsOncePerModule) {
  CountingFinder finder;
  finder.resources["GM95-V3"] = test::GeneratedFile("gm95_V3.tbl");
  finder.resources["HANGLYMR"] = test::GeneratedFile("HANGLYMR.tbl");
  GmCodeConverter c;
  c.LoadTables(1, finder);
  c.LoadTables(1, finder);
  EXPECT_EQ(finder.asked.size(), 3u);
  EXPECT_TRUE(c.Tables().toV3.Present());
  EXPECT_FALSE(c.Tables().fromV3.Present());  // missing: left absent
  EXPECT_EQ(c.RomanisationTable().size(), 12240u);
  c.LoadTables(2, finder);
  EXPECT_EQ(finder.asked.size(), 6u);
  EXPECT_EQ(finder.asked.back().first, 2u);
}

TEST(TableLoading, InputMethodNamesItsTablesItself) {
  CountingFinder finder;
  finder.resources["gm95_V3"] = test::GeneratedFile("gm95_V3.tbl");
  GmTables tables;
  EXPECT_FALSE(LoadGmTables(7, finder, tables));
  finder.resources["gmV3_95"] = test::GeneratedFile("gmV3_95.tbl");
  EXPECT_TRUE(LoadGmTables(7, finder, tables));
  EXPECT_TRUE(tables.toV3.Present() && tables.fromV3.Present());
}

}  // namespace
}  // namespace codeconv

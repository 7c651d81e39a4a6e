// The generated tables: their layout, the two reading paths that must agree,
// and the sources they come from.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "code_page.h"
#include "gm_converter.h"
#include "kana_data.h"
#include "kana_fixtures.h"
#include "kana_key_table.h"
#include "kana_reading.h"
#include "kana_rules.h"

namespace kana::test {
namespace {

using codeconv::DbChar;

std::string KsCell(int row, int cell) { return {static_cast<char>(0xA0 + row), static_cast<char>(0xA0 + cell)}; }

TEST(Tables, EachHasItsSize) {
  const char* const files[kKanaTableCount] = {"HAN-JP.bin",  "HAN2-JP.bin",  "KS-JIS.bin",  "gm95_V3.tbl",
                                              "gmV3_95.tbl", "FSHAN-JP.bin", "LHAN-JP.bin", "KNTRAN.bin"};
  for (int slot = 0; slot < kKanaTableCount; ++slot) {
    EXPECT_EQ(GeneratedFile(files[slot]).size(), kKanaTableInfo[slot].size) << files[slot];
    EXPECT_TRUE(GeneratedTables().Present(static_cast<KanaTableSlot>(slot))) << files[slot];
  }
}

TEST(Tables, HanJpRowsHaveLabelsLineEndsAndFillers) {
  const std::vector<uint8_t>& t = GeneratedFile("HAN-JP.bin");
  auto text = [&](size_t at, size_t n) {
    return std::string(t.begin() + static_cast<long>(at), t.begin() + static_cast<long>(at + n));
  };
  for (int row = 16; row <= 40; ++row) {
    const size_t start = kHanJpRowSize * static_cast<size_t>(row - 16);
    EXPECT_EQ(text(start, 6), std::to_string(row) + "KU\r\n");
    for (int line = 0; line < 6; ++line) EXPECT_EQ(text(start + 6 + 162 * line + 160, 2), "\r\n");
    EXPECT_EQ(text(HanJpCellOffset(row, 0), 10), "??        ");
    EXPECT_EQ(text(HanJpCellOffset(row, 95), 10), "??        ");
  }
  // 가 (row 16, cell 1) and 힝 (row 40, cell 94) in their places.
  EXPECT_EQ(text(HanJpCellOffset(16, 1), 10), Sjis("ガ") + "        ");
  EXPECT_EQ(text(HanJpCellOffset(40, 94), 10), Sjis("ヒン") + "      ");
}

TEST(Tables, SyllableReadingsAgreeWithTheComposedReadings) {
  const CKanaTables& t = GeneratedTables();
  const std::vector<char16_t> syllables = data::KsSyllables(codeconv::PlatformCodePages());
  ASSERT_EQ(syllables.size(), 2350u);
  for (size_t i = 0; i < syllables.size(); ++i) {
    const DbChar code = RomanizationCode(kKanaKeyJamoCount + i);
    const std::string roman = GetRomanization(code);
    ASSERT_EQ(roman, RomanizedSyllable(syllables[i]));
    const std::optional<std::string> composed = ComposeSyllableKana(t, roman);
    ASSERT_TRUE(composed.has_value()) << roman;
    // Composition reads a final by its last letter: ㄳ ㄽ ㅄ as ㅅ and ㅀ as ㅎ.
    const SyllableJamo j = Decompose(syllables[i]);
    const int finalSlot = j.final == 2 || j.final == 11 || j.final == 17 ? 18 : j.final == 14 ? 26 : j.final;
    const std::string expected = KatakanaToShiftJis(InitialMedialKana(j.initial, j.medial) + FinalKana(finalSlot));
    EXPECT_EQ(*composed, expected) << roman;
    if (finalSlot == j.final) {
      EXPECT_EQ(ReadCharKana(t, 0, code), *composed) << roman;
    }
  }
}

TEST(Tables, CompiledRomanizationTableIsTheGeneratedOne) {
  std::stringstream unicode;
  std::ifstream file("/usr/share/unicode/UnicodeData.txt");
  unicode << file.rdbuf();
  const std::vector<std::string> table =
      data::BuildKanaKeyTable(codeconv::PlatformCodePages(), data::ReadUnicodeData(unicode));
  ASSERT_EQ(table.size(), kKanaKeyCount);
  for (size_t i = 0; i < kKanaKeyCount; ++i) EXPECT_EQ(table[i], kKanaKeyTable[i]) << i;
  // The jamo row and the first syllables, letter by letter.
  const char* const jamo[51] = {"k",  "g",   "ks", "n",  "nj", "nh", "d",   "w",   "l",  "lk", "lm", "lv",  "ls",
                                "lt", "lp",  "lh", "m",  "v",  "b",  "vs",  "s",   "q",  "f",  "j",  "z",   "c",
                                "x",  "t",   "p",  "h",  "a",  "ai", "ya",  "yai", "r",  "ri", "yr", "yri", "o",
                                "oa", "oai", "oi", "yo", "u",  "ur", "uri", "ui",  "yu", "e",  "ei", "i"};
  for (size_t i = 0; i < 51; ++i) EXPECT_STREQ(kKanaKeyTable[i], jamo[i]);
  for (size_t i = 51; i < 94; ++i) EXPECT_STREQ(kKanaKeyTable[i], "");
  const char* const first[19] = {"ka",  "kak", "kan", "kad", "kal", "kalk", "kalm", "kam", "kav", "kavs",
                                 "kas", "kaq", "kaf", "kaj", "kac", "kat",  "kap",  "kah", "kai"};
  for (size_t i = 0; i < 19; ++i) EXPECT_STREQ(kKanaKeyTable[94 + i], first[i]);
}

TEST(Tables, KsJisGivesTheSameCharacterAndItsModernForm) {
  const std::vector<uint8_t>& t = GeneratedFile("KS-JIS.bin");
  const codeconv::CodePageConverter& pages = codeconv::PlatformCodePages();
  auto entry = [&](const std::string& ks) {
    const size_t i = (static_cast<uint8_t>(ks[0]) - 0xA1u) * 94 + (static_cast<uint8_t>(ks[1]) - 0xA1u);
    return std::string(t.begin() + static_cast<long>(4 * i), t.begin() + static_cast<long>(4 * i + 4));
  };
  EXPECT_EQ(entry(Ks("國")), Sjis("國") + Sjis("国"));
  EXPECT_EQ(entry(Ks("髮")), Sjis("髮") + Sjis("髪"));
  EXPECT_EQ(entry(Ks("金")), Sjis("金") + "\x81\x40");
  EXPECT_EQ(entry(Ks("「")), Sjis("「") + "\x81\x40");
  // No Shift-JIS form: Hangul, jamo, and the empty cells of row 41.
  EXPECT_EQ(entry(Ks("가")), "\x81\x40\x81\x40");
  EXPECT_EQ(entry(Ks("ㄱ")), "\x81\x40\x81\x40");
  EXPECT_EQ(entry(KsCell(41, 1)), "\x81\x40\x81\x40");
  // A compatibility ideograph of KS (a duplicate kept for another reading)
  // is written as the character it stands for.
  const std::u16string compat = pages.ToUtf16(949, KsCell(43, 48));
  ASSERT_EQ(compat.size(), 1u);
  ASSERT_EQ(compat[0], 0xF900);  // standing for U+8C48
  EXPECT_EQ(entry(KsCell(43, 48)), pages.FromUtf16(932, u"\x8C48") + "\x81\x40");
}

TEST(Tables, HalfWidthFormsAreTheOnesTheWideningUndoes) {
  const std::vector<uint8_t>& t = GeneratedFile("KNTRAN.bin");
  auto entry = [&](unsigned full) {
    const size_t i = 2 * (full - kKnTranFirst);
    return std::string(t.begin() + static_cast<long>(i), t.begin() + static_cast<long>(i + 2));
  };
  int covered = 0;
  for (unsigned h = 0xA6; h <= 0xDD; ++h) {
    for (uint8_t mark : {uint8_t{' '}, uint8_t{0xDE}, uint8_t{0xDF}}) {
      uint8_t pair[2] = {static_cast<uint8_t>(h), mark};
      const int absorbed = codeconv::GmCodeConverter::CombineHalfKana(pair);
      if (mark != ' ' && absorbed == 0) continue;
      const unsigned full = static_cast<unsigned>(pair[0]) << 8 | pair[1];
      if (full < kKnTranFirst || full > kKnTranLast) continue;  // ー and the like
      const std::string half{static_cast<char>(h), static_cast<char>(mark)};
      EXPECT_EQ(entry(full), half) << std::hex << full;
      ++covered;
    }
  }
  EXPECT_EQ(covered, 81);  // 55 plain and small kana, 21 voiced, 5 semi-voiced
  for (unsigned none : {0x837Fu, 0x838Eu, 0x8390u, 0x8391u, 0x8395u, 0x8396u}) EXPECT_EQ(entry(none), "~ ");
}

TEST(Rules, KatakanaToShiftJisIsCodePage932) {
  const codeconv::CodePageConverter& pages = codeconv::PlatformCodePages();
  for (char16_t c = 0x30A1; c <= 0x30F6; ++c) {
    EXPECT_EQ(KatakanaToShiftJis(std::u16string(1, c)), pages.FromUtf16(932, std::u16string(1, c)))
        << static_cast<int>(c);
  }
  EXPECT_EQ(KatakanaToShiftJis(u"ー"), "\x81\x5B");
}

TEST(Rules, EveryKsSyllableHasAReadingThatFitsItsCell) {
  for (char16_t s : data::KsSyllables(codeconv::PlatformCodePages())) {
    const std::string r = SyllableKanaSjis(s);
    EXPECT_GE(r.size(), 2u);
    EXPECT_LE(r.size(), kHanJpCellSize);
  }
}

}  // namespace
}  // namespace kana::test

// The places where an unchecked table read, an unchecked voicing write or a
// lone lead byte could go past the data: each with a fixture that shows it.
#include <gtest/gtest.h>

#include "kana_fixtures.h"
#include "kana_reading.h"

namespace kana::test {
namespace {

using codeconv::DbChar;

std::string Pair(DbChar c) { return {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)}; }

TEST(ReadCharKana, CodesOutsideTheKsRowsAndCellsPassThrough) {
  const CKanaTables& t = GeneratedTables();
  // GM rows above 109 (0xF79F is row 110) survive the remap and have no KS
  // place; 0xFCFC is the last cell of row 120.
  for (DbChar code : {DbChar{0xF79F}, DbChar{0xFA9F}, DbChar{0xFCFC}}) {
    EXPECT_EQ(ReadCharKana(t, 0, code), Pair(code)) << std::hex << code;
  }
  // Malformed trail bytes.
  for (DbChar code : {DbChar{0x9A20}, DbChar{0x987F}, DbChar{0x98FD}, DbChar{0xE0FF}, DbChar{0x8900}}) {
    EXPECT_EQ(ReadCharKana(t, 0, code), Pair(code)) << std::hex << code;
  }
}

TEST(ReadCharKana, MissingTablesPassTheCharacterThrough) {
  CKanaTables none;
  EXPECT_EQ(ReadCharKana(none, 0, 0x889F), Pair(0x889F));  // 가 without HAN-JP
  EXPECT_EQ(ReadCharKana(none, 0, 0x9D40), Pair(0x9D40));  // a hanja without KS-JIS
}

TEST(ReadSyllable, MalformedPairsInTheSyllableRangeAreNoSyllables) {
  const CKanaTables& t = GeneratedTables();
  EXPECT_EQ(ReadSyllable(t, 0, "\x89\x20"), "\x89\x20");
  EXPECT_EQ(ReadSyllable(t, 0, "\x89\x7F"), "\x89\x7F");
  EXPECT_EQ(ReadSyllable(t, 0, "\x89\xFE"), "\x89\xFE");
  EXPECT_EQ(HangulToKana(t, 0, "\x89\x20\x88\x9F", false, true), "\x89\x20" + Sjis("ガ"));
}

TEST(Voicing, OnlyAReadingThatStartsWithADoubleByteKanaIsChanged) {
  for (const char* syllable : {"ka", "va", "ja"}) {
    std::string empty;
    AdjustVoicing(syllable, empty);
    EXPECT_EQ(empty, "");
    std::string single = "A";
    AdjustVoicing(syllable, single);
    EXPECT_EQ(single, "A");
    std::string kanji = Sjis("漢");
    AdjustVoicing(syllable, kanji);
    EXPECT_EQ(kanji, Sjis("漢"));
    std::string afterVowel;
    ApplyVoicing("fa", syllable, afterVowel);
    EXPECT_EQ(afterVowel, "");
  }
}

TEST(Voicing, AnEmptySyllableReadingInTheTableIsWrittenAsNothing) {
  // A HAN-JP whose cell for 가 (row 16, cell 1) is blank.
  std::vector<uint8_t> hanJp = GeneratedFile("HAN-JP.bin");
  std::fill_n(hanJp.begin() + static_cast<long>(HanJpCellOffset(16, 1)), kHanJpCellSize, ' ');
  const TableSet set = GeneratedTablesWith(kHanJp, hanJp);
  EXPECT_EQ(HangulToKana(set.tables, 0, Ks("가가나"), true, true), Sjis("ナ"));
}

TEST(LoneLeadByte, AtTheEndOfKsTextItStaysAlone) {
  const CKanaTables& t = GeneratedTables();
  const std::string text = Ks("가") + "\xB0";
  EXPECT_EQ(HangulToKana(t, 0, text, true, true), Sjis("カ") + "\xB0");
  const char* p = text.c_str();
  EXPECT_EQ(KnChange(t, 0, &p, nullptr, 1, 1), 3);
}

TEST(LoneLeadByte, AtTheEndOfGmTextItBecomesABlank) {
  const CKanaTables& t = GeneratedTables();
  EXPECT_EQ(HangulToKana(t, 0, "\x88\x9F\x88", false, true), Sjis("カ") + " ");
  EXPECT_EQ(HangulToKana(t, 0, "\x88", false, true), " ");
  EXPECT_EQ(HalfWidthText(t, Sjis("カ") + "\x83"), Sjis("ｶ") + " ");
}

TEST(LoadTables, ShortTablesStayAbsent) {
  std::vector<uint8_t> shortHanJp(100, ' ');
  CKanaTables tables;
  tables.Set(kHanJp, shortHanJp);
  EXPECT_FALSE(tables.Present(kHanJp));
  EXPECT_EQ(ReadCharKana(tables, 0, 0x889F), Pair(0x889F));
}

}  // namespace
}  // namespace kana::test

namespace kana::test {
namespace {

// A table field as the reading takes it: up to its first blank.
std::string Field(std::span<const uint8_t> table, size_t offset, size_t size) {
  std::string s(table.begin() + static_cast<long>(offset), table.begin() + static_cast<long>(offset + size));
  return s.substr(0, s.find(' '));
}

TEST(ExtendedSyllables, CodePage949SyllablesBeyondKsAreReadByTheirJamo) {
  const CKanaTables& t = GeneratedTables();
  const struct {
    const char* syllable;
    int initial, medial, finalSlot;  // FSHAN-JP row and cell, LHAN-JP entry
    bool wordStartP;                 // ㅂ at the start of a text reads with the パ row
  } cases[] = {
      {"똠", 4, 8, 15, false},   // ㄸ ㅗ ㅁ
      {"햏", 18, 1, 26, false},  // ㅎ ㅐ ㅎ
      {"뷁", 7, 15, 8, true},    // ㅂ ㅞ ㄺ
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.syllable);
    const std::string ks = Ks(c.syllable);
    ASSERT_EQ(ks.size(), 2u);
    ASSERT_TRUE(static_cast<uint8_t>(ks[0]) < 0xA1 || static_cast<uint8_t>(ks[1]) < 0xA1) << "not in KS X 1001";
    std::string expected =
        Field(t.Table(kFsHanJp), kFsHanJpRowSize * static_cast<size_t>(c.initial) +
                                     kFsHanJpCellSize * static_cast<size_t>(c.medial),
              kFsHanJpCellSize) +
        Field(t.Table(kLHanJp), kLHanJpEntrySize * static_cast<size_t>(c.finalSlot), kLHanJpEntrySize);
    ASSERT_GE(expected.size(), 2u);
    if (c.wordStartP) expected[1] = static_cast<char>(expected[1] + 1);
    EXPECT_EQ(HangulToKana(t, 0, ks, true, true), expected);
    // Between KS syllables too, and every pair of the reading is a
    // double-byte character (no half-width bytes of a misread pair).
    const std::string within = HangulToKana(t, 0, Ks("가") + ks + Ks("가"), true, true);
    for (size_t i = 0; i < within.size(); i += 2) {
      const auto lead = static_cast<uint8_t>(within[i]);
      EXPECT_TRUE((lead >= 0x81 && lead <= 0x9F) || lead >= 0xE0) << i;
    }
  }
  // The sound rules treat them as any syllable: ㅎ before a vowel is silent,
  // so 햏아 reads as 해아; ㅁ before a vowel moves over, so 똠이 reads as 또미.
  EXPECT_EQ(HangulToKana(t, 0, Ks("햏아"), true, true), HangulToKana(t, 0, Ks("해아"), true, true));
  EXPECT_EQ(HangulToKana(t, 0, Ks("똠이"), true, true), HangulToKana(t, 0, Ks("또미"), true, true));
  // A KS syllable after one keeps its own reading (the walk stays on pairs).
  EXPECT_EQ(HangulToKana(t, 0, Ks("똠") + " " + Ks("가"), true, true),
            HangulToKana(t, 0, Ks("똠"), true, true) + " " + HangulToKana(t, 0, Ks("가"), true, true));
}

}  // namespace
}  // namespace kana::test

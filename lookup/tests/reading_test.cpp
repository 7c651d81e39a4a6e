// The reading label under the large character, on small tables and on the
// generated ones.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "char_reading.h"
#include "code_page.h"

namespace lookup {
namespace {

std::vector<std::uint8_t> Pairs(std::initializer_list<DbChar> codes) {
  std::vector<std::uint8_t> out;
  for (DbChar c : codes) {
    out.push_back(codeconv::Lead(c));
    out.push_back(codeconv::Trail(c));
  }
  return out;
}

// GM95 of row and cell (1-based).
DbChar Gm(int row, int cell) { return codeconv::EncodeSjisShape({row, cell - 1}); }

TEST(KanaReading, TheTableFormat) {
  std::vector<std::string> readings(kHangulSyllables);
  readings[0] = "\x83\x4B";                                // ガ
  readings[2349] = "\x83\x71\x83\x93";                     // ヒン
  readings[5] = "\x83\x41\x83\x43\x83\x45\x83\x47\x83\x49\x83\x4A";  // six kana: five fit
  const auto table = WriteKanaTable(readings);
  ASSERT_EQ(table.size(), kKanaTableSize);
  EXPECT_EQ(table.back(), 0x1A);
  EXPECT_EQ(table[0], 0x80) << "the lead byte is stored 3 below its value";
  EXPECT_EQ(table[1], 0x4B);
  EXPECT_EQ(table[2], ' ');
  EXPECT_EQ(GetKanaReading(0x889F, table), "\x83\x4B") << "가, the first syllable";
  EXPECT_EQ(GetKanaReading(0x94FC, table), "\x83\x71\x83\x93") << "the last syllable of row 40";
  EXPECT_EQ(GetKanaReading(Gm(16, 6), table), "\x83\x41\x83\x43\x83\x45\x83\x47\x83\x49");
  EXPECT_EQ(GetKanaReading(Gm(16, 2), table), "") << "no reading";
  EXPECT_EQ(GetKanaReading(Gm(42, 1), table), "") << "a hanja is no syllable";
  EXPECT_EQ(GetKanaReading(0x889F, std::span<const std::uint8_t>(table.data(), 5)), "") << "a cut table";
}

TEST(CharReading, UserDefinedCodesHangulAndHanja) {
  std::vector<std::string> readings(kHangulSyllables);
  readings[0] = "\x83\x4B";
  const auto kana = WriteKanaTable(readings);
  const DbChar ga = Gm(16, 1), gak = Gm(16, 2), na = Gm(18, 1);
  const auto ranges = Pairs({Gm(42, 1), ga, Gm(42, 10), gak, Gm(60, 1), na});
  const auto doon2 = Pairs({Gm(42, 3), Gm(60, 5)});
  const auto groups = Pairs({Gm(42, 12), Gm(60, 2), Gm(60, 3), 0});
  const ReadingTables t{kana, doon2, ranges, groups};
  struct Case {
    const char* what;
    DbChar code;
    ReadingLabel expected;
  } cases[] = {
      {"user-defined F040", 0xF040, {LabelKind::kHex, "f040"}},
      {"user-defined F9FC", 0xF9FC, {LabelKind::kHex, "f9fc"}},
      {"a syllable", ga, {LabelKind::kKana, "\x83\x4B"}},
      {"a syllable without a reading", gak, {}},
      {"a hanja of the first range", Gm(42, 9), {LabelKind::kHangul, "\x88\x9F"}},
      {"the first hanja of the next range", Gm(42, 10), {LabelKind::kHangul, "\x88\xA0"}},
      {"a hanja with its DOON2 partner", Gm(42, 3), {LabelKind::kHangul, "\x88\x9F,\x89\x9F"}},
      {"the partner, the other way", Gm(60, 5), {LabelKind::kHangul, "\x89\x9F,\x88\x9F"}},
      {"a member of a group of three", Gm(60, 2), {LabelKind::kHangul, "\x89\x9F,\x88\xA0,\x89\x9F"}},
      {"a symbol", Gm(1, 4), {}},
      {"row 94", Gm(94, 1), {}},
      {"before the first range", Gm(41, 94), {}},
  };
  for (const Case& c : cases) EXPECT_EQ(GetCharReading(c.code, t), c.expected) << c.what;
}

// ---- the generated tables ----

std::vector<std::uint8_t> DataFile(const char* name) {
  std::ifstream in(std::string(SUITE_DATA_DIR) + "/" + name, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// GM95 of a character through code page 949.
DbChar Gm95(const char16_t* c) {
  const std::string ks = codeconv::PlatformCodePages().FromUtf16(949, c);
  DbChar out = 0;
  codeconv::EucToSjis(codeconv::MakeDb(static_cast<std::uint8_t>(ks[0]), static_cast<std::uint8_t>(ks[1])), out);
  return out;
}

std::string Gm95Text(std::initializer_list<const char16_t*> syllables) {
  std::string out;
  for (const char16_t* s : syllables) {
    if (!out.empty()) out += ',';
    const DbChar c = Gm95(s);
    out += static_cast<char>(c >> 8);
    out += static_cast<char>(c & 0xFF);
  }
  return out;
}

TEST(CharReading, GeneratedTables) {
  const auto kana = DataFile("KANAYOMI.bin");
  const auto doon2 = DataFile("DOON2.bin");
  const auto ranges = DataFile("YOMIRANGE.bin");
  const auto groups = DataFile("YOMIGROUP.bin");
  ASSERT_EQ(kana.size(), kKanaTableSize);
  ASSERT_FALSE(ranges.empty());
  const ReadingTables t{kana, doon2, ranges, groups};
  struct Case {
    const char16_t* hanja;
    std::string label;
  } cases[] = {
      {u"家", Gm95Text({u"가"})},
      {u"韓", Gm95Text({u"한"})},
      {u"國", Gm95Text({u"국"})},
      {u"水", Gm95Text({u"수"})},
      {u"樂", Gm95Text({u"악", u"낙", u"락", u"요"})},  // held four times: 낙, 락, 악 and 요
  };
  for (const Case& c : cases) {
    const ReadingLabel label = GetCharReading(Gm95(c.hanja), t);
    EXPECT_EQ(label.kind, LabelKind::kHangul);
    EXPECT_EQ(label.bytes, c.label) << std::string(reinterpret_cast<const char*>(c.hanja));
  }
  // 金 is held as 금 and as 김: its label names both, its own place's reading first.
  const ReadingLabel gold = GetCharReading(Gm95(u"金"), t);
  EXPECT_TRUE(gold.bytes == Gm95Text({u"금", u"김"}) || gold.bytes == Gm95Text({u"김", u"금"}));
  // Every KS hanja has a reading.
  int without = 0;
  for (int row = kFirstHanjaRow; row <= kLastHanjaRow; ++row)
    for (int cell = 1; cell <= 94; ++cell) without += HanjaReading(Gm(row, cell), ranges) == 0;
  EXPECT_EQ(without, 0);
  EXPECT_EQ(HanjaReading(Gm(42, 1), ranges), Gm95(u"가")) << "the first KS hanja reads 가";
  EXPECT_EQ(HanjaReading(Gm(93, 94), ranges), Gm95(u"힐")) << "the last one, 詰, 힐";
  // The syllables read in their word-start form, as the kana reading of a
  // word's first syllable: ㄱ and ㅈ unvoiced, ㅂ in the パ row.
  struct Syllable {
    const char16_t* hangul;
    const char* kana;
  } syllables[] = {
      {u"가", "\x83\x4A"},              // カ
      {u"자", "\x83\x60\x83\x83"},      // チャ
      {u"바", "\x83\x70"},              // パ
      {u"한", "\x83\x6E\x83\x93"},      // ハン
      {u"국", "\x83\x4E\x83\x4E"},      // クク
  };
  for (const Syllable& c : syllables) {
    EXPECT_EQ(GetKanaReading(Gm95(c.hangul), kana), c.kana) << std::string(reinterpret_cast<const char*>(c.hangul));
  }
}

}  // namespace
}  // namespace lookup

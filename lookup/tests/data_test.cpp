// The data builders on small records, and the generated dictionaries.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "code_page.h"
#include "list_layout.h"
#include "lookup_data.h"

namespace lookup::data {
namespace {

DbChar Gm(int row, int cell) { return codeconv::EncodeSjisShape({row, cell - 1}); }

Hanja H(int cell, std::vector<char32_t> readings, char32_t cp = 0, char32_t unified = 0) {
  Hanja h;
  h.gm95 = Gm(42, cell);
  h.codePoint = cp ? cp : 0x4E00 + static_cast<char32_t>(cell);
  h.unified = unified ? unified : h.codePoint;
  h.readings = std::move(readings);
  return h;
}

TEST(LookupData, ReadingsKeepTheKsOrder) {
  // 가 < 각 < 간 in code point order.
  const char32_t ga = U'가', gak = U'각', gan = U'간';
  const std::vector<Hanja> hanja = {H(1, {ga}), H(2, {gan, ga}), H(3, {gak}), H(4, {gak, gan}), H(5, {gan})};
  EXPECT_EQ(ChooseReadings(hanja), (std::vector<char32_t>{ga, ga, gak, gak, gan}))
      << "a hanja with several readings takes the one between its neighbours, a neighbour's first";
  EXPECT_THROW(ChooseReadings({H(1, {gak}), H(2, {ga}), H(3, {gak})}), std::runtime_error) << "no order fits";
  EXPECT_THROW(ChooseReadings({H(1, {})}), std::runtime_error) << "a hanja without a reading";
}

TEST(LookupData, RepeatedHanjaBecomePairsAndGroups) {
  const std::vector<Hanja> hanja = {H(1, {}, 0x6A02), H(2, {}, 0xF914, 0x6A02), H(3, {}, 0x7F85),
                                    H(4, {}, 0xF90F, 0x7F85), H(5, {}, 0xF95C, 0x6A02), H(6, {}, 0x5BB6)};
  const auto repeated = RepeatedHanja(hanja);
  ASSERT_EQ(repeated.size(), 2u);
  EXPECT_EQ(repeated[0], (std::vector<DbChar>{Gm(42, 1), Gm(42, 2), Gm(42, 5)}));
  EXPECT_EQ(repeated[1], (std::vector<DbChar>{Gm(42, 3), Gm(42, 4)}));
  const auto doon2 = Doon2Table(repeated);
  ASSERT_EQ(doon2.size(), 4u);
  EXPECT_EQ(codeconv::MakeDb(doon2[0], doon2[1]), Gm(42, 3));
  const auto groups = GroupTable(repeated);
  ASSERT_EQ(groups.size(), 8u) << "one group of four codes, the last 0";
  EXPECT_EQ(codeconv::MakeDb(groups[6], groups[7]), 0);
}

TEST(LookupData, RadicalsInKsAndRadicalsDrawnFromTheBitmap) {
  auto h = [](int cell, char32_t cp, int radical, int strokes, char32_t unified = 0) {
    Hanja x = H(cell, {U'가'}, cp, unified);
    x.radical = radical;
    x.strokes = strokes;
    return x;
  };
  const std::vector<Hanja> hanja = {h(1, 0x4E00, 1, 1), h(2, 0x4E01, 1, 2), h(3, 0x4E2D, 2, 4),
                                    h(4, 0x6C34, 85, 4), h(5, 0xF900, 85, 4, 0x6C34)};
  const std::vector<Radical> radicals = {{85, 0x6C34, 4}, {1, 0x4E00, 1}, {2, 0x4E28, 1}, {3, 0x4E36, 1}};
  std::vector<char32_t> glyphs;
  const auto entries = RadicalEntries(radicals, hanja, glyphs);
  ASSERT_EQ(entries.size(), 3u) << "a radical without characters is left out";
  EXPECT_EQ(entries[0].code, Gm(42, 1)) << "一 is a KS hanja";
  EXPECT_EQ(entries[0].characters,
            (std::vector<StrokeGroup>{{1, {Gm(42, 1)}}, {2, {Gm(42, 2)}}}));
  EXPECT_EQ(entries[1].code, 0x829F) << "丨 is not: the first glyph of bitmap 124";
  EXPECT_EQ(glyphs, (std::vector<char32_t>{0x4E28}));
  EXPECT_EQ(entries[2].strokes, 4) << "radicals by stroke count";
  EXPECT_EQ(entries[2].characters, (std::vector<StrokeGroup>{{4, {Gm(42, 4)}}})) << "the compatibility form left out";
}

TEST(LookupData, SyllablesByInitialAndVowel) {
  int initial = 0, vowel = 0;
  ASSERT_TRUE(SplitSyllable(U'가', initial, vowel));
  EXPECT_EQ(initial, 0);
  EXPECT_EQ(vowel, 0);
  ASSERT_TRUE(SplitSyllable(U'힝', initial, vowel));
  EXPECT_EQ(initial, 18);
  EXPECT_EQ(vowel, 20);
  ASSERT_TRUE(SplitSyllable(U'왜', initial, vowel));
  EXPECT_EQ(initial, 11);
  EXPECT_EQ(vowel, 10);
  EXPECT_FALSE(SplitSyllable(U'ㄱ', initial, vowel));
  JisoRange all, names;
  JisoRanges({{0x889F, U'가'}, {0x88A0, U'각'}, {0x8C9F, U'왜'}}, {U'각'}, all, names);
  EXPECT_EQ(all[0][0], (std::vector<DbChar>{0x889F, 0x88A0}));
  EXPECT_EQ(all[11][10], (std::vector<DbChar>{0x8C9F}));
  EXPECT_EQ(names[0][0], (std::vector<DbChar>{0x88A0}));
  EXPECT_TRUE(names[11][10].empty());
}

// ---- the generated files ----

std::vector<std::uint8_t> File(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(GeneratedData, RadicalDictionary) {
  const auto bytes = File(std::string(SUITE_DATA_DIR) + "/SYSDIC/GmV6e.dic");
  MemorySource file(bytes);
  RadicalIndex index;
  ASSERT_EQ(ReadRadicalIndex(file, index), DicStatus::kOk);
  ASSERT_FALSE(index.groups.empty());
  EXPECT_EQ(index.groups[0].strokes, 1) << "the one-stroke radicals first";
  const std::string one = codeconv::PlatformCodePages().FromUtf16(949, u"一");
  DbChar gmOne = 0;
  codeconv::EucToSjis(codeconv::MakeDb(static_cast<std::uint8_t>(one[0]), static_cast<std::uint8_t>(one[1])), gmOne);
  EXPECT_EQ(index.groups[0].codes[0], gmOne) << "radical 1 is 一";
  // KS X 1001 holds 4888 hanja, 268 of them a second time: every other one is listed once.
  std::size_t total = 0;
  for (std::size_t i = 0; i < index.Count(); ++i) {
    std::vector<StrokeGroup> groups;
    ASSERT_EQ(ReadRadicalCharacters(file, index, i, groups), DicStatus::kOk);
    int last = 0;
    for (const StrokeGroup& g : groups) {
      EXPECT_GT(g.strokes, last) << "stroke groups in order";
      last = g.strokes;
      total += g.codes.size();
    }
  }
  EXPECT_EQ(total, 4888u - 268u);
}

TEST(GeneratedData, JamoDictionary) {
  const auto bytes = File(std::string(SUITE_DATA_DIR) + "/SYSDIC/GmV6Jiso.Dic");
  MemorySource file(bytes);
  JisoHeader header;
  ASSERT_EQ(ReadJisoHeader(file, header), DicStatus::kOk);
  std::size_t all = 0, names = 0;
  for (int i = 0; i < kInitials; ++i) {
    VowelGroups a, n;
    ASSERT_EQ(ReadJisoInitial(file, header, 0, i, a), DicStatus::kOk);
    ASSERT_EQ(ReadJisoInitial(file, header, 1, i, n), DicStatus::kOk);
    std::size_t namesOfInitial = 0;
    for (int v = 0; v < kVowels; ++v) {
      all += a[static_cast<std::size_t>(v)].size();
      namesOfInitial += n[static_cast<std::size_t>(v)].size();
      for (DbChar c : n[static_cast<std::size_t>(v)]) {
        const auto& av = a[static_cast<std::size_t>(v)];
        EXPECT_NE(std::find(av.begin(), av.end(), c), av.end()) << "a names syllable is in the whole range";
      }
    }
    names += namesOfInitial;
    // No Sino-Korean syllable begins with ㄸ, ㅃ or ㅉ.
    if (i == 4 || i == 8 || i == 13) {
      EXPECT_EQ(namesOfInitial, 0u) << "initial " << i;
    }
  }
  EXPECT_EQ(all, 2350u);
  EXPECT_GT(names, 400u);
  EXPECT_LT(names, 700u);
  VowelGroups g;
  ReadJisoInitial(file, header, 1, 0, g);
  ASSERT_FALSE(g[0].empty());
  EXPECT_EQ(g[0][0], 0x889F) << "가 (家) is a name syllable";
}

TEST(GeneratedData, JamoLabels) {
  const auto bytes = File(std::string(SUITE_DATA_DIR) + "/JISOLABEL.bin");
  ASSERT_EQ(bytes.size(), 80u);
  // KS row 4: ㄱ is cell 1, ㄲ cell 2, ㄴ cell 4, ㅎ cell 30, ㅏ cell 31, ㅣ cell 51.
  auto at = [&](int i) { return codeconv::MakeDb(bytes[2 * i], bytes[2 * i + 1]); };
  EXPECT_EQ(at(0), Gm(4, 1));
  EXPECT_EQ(at(1), Gm(4, 2));
  EXPECT_EQ(at(2), Gm(4, 4));
  EXPECT_EQ(at(18), Gm(4, 30));
  EXPECT_EQ(at(19), Gm(4, 31));
  EXPECT_EQ(at(39), Gm(4, 51));
}

TEST(GeneratedData, TheCommittedRadicalGlyphsMatchTheData) {
  const auto generated = File(std::string(SUITE_DATA_DIR) + "/radical_glyphs.txt");
  const auto committed = File(std::string(LOOKUP_RES_DIR) + "/radical_glyphs.txt");
  ASSERT_FALSE(generated.empty());
  EXPECT_EQ(generated, committed) << "the radical list changed: run lookup/tools/glyphs.sh to draw bitmap 124 again";
  const auto bitmap = File(std::string(LOOKUP_RES_DIR) + "/RADICALS.bmp");
  ASSERT_GT(bitmap.size(), 54u);
  const int width = static_cast<int>(Le32(&bitmap[18]));
  const int height = static_cast<int>(Le32(&bitmap[22]));
  const std::size_t glyphs = static_cast<std::size_t>(std::count(generated.begin(), generated.end(), '\n'));
  EXPECT_EQ(width, 128) << "8 cells of 16 pixels";
  EXPECT_GE(static_cast<std::size_t>(height / 16 * 8), glyphs) << "a cell for every radical";
}

}  // namespace
}  // namespace lookup::data

// The two dictionary files: what the generator writes reads back, and a file
// whose counts or offsets point outside it is damaged, never read past its end.
#include <gtest/gtest.h>

#include <functional>

#include "jiso_dic.h"
#include "radical_dic.h"

namespace lookup {
namespace {

std::vector<RadicalEntry> SmallRadicals() {
  return {
      {0xE4A0, 1, {{1, {0xE4A0}}, {3, {0xE4A1, 0xE4A2}}}},
      {0x829F, 1, {{2, {0xE4B0}}}},  // a radical drawn from the bitmap
      {0xE580, 3, {{4, {0xE5A0, 0xE5A1, 0xE5A2}}, {7, {0xE5B0}}}},
  };
}

TEST(RadicalDictionary, WhatIsWrittenReadsBack) {
  const auto bytes = WriteRadicalDictionary(SmallRadicals());
  MemorySource file(bytes);
  RadicalIndex index;
  ASSERT_EQ(ReadRadicalIndex(file, index), DicStatus::kOk);
  ASSERT_EQ(index.groups.size(), 2u);
  EXPECT_EQ(index.groups[0], (StrokeGroup{1, {0xE4A0, 0x829F}}));
  EXPECT_EQ(index.groups[1], (StrokeGroup{3, {0xE580}}));
  EXPECT_EQ(index.PositionOf(0xE580), 2);
  EXPECT_EQ(index.PositionOf(0x1234), -1);
  std::vector<StrokeGroup> chars;
  ASSERT_EQ(ReadRadicalCharacters(file, index, 2, chars), DicStatus::kOk);
  EXPECT_EQ(chars, (std::vector<StrokeGroup>{{4, {0xE5A0, 0xE5A1, 0xE5A2}}, {7, {0xE5B0}}}));
  ASSERT_EQ(ReadRadicalCharacters(file, index, 1, chars), DicStatus::kOk);
  EXPECT_EQ(chars, (std::vector<StrokeGroup>{{2, {0xE4B0}}}));
  EXPECT_EQ(ReadRadicalCharacters(file, index, 3, chars), DicStatus::kDamaged) << "no fourth radical";
}

TEST(RadicalDictionary, TheFormatsFieldsLieWhereTheFormatSays) {
  const auto bytes = WriteRadicalDictionary(SmallRadicals());
  const std::uint32_t s = Le32(&bytes[114]);
  EXPECT_EQ(Le16(&bytes[s + 5]), 2) << "G";
  EXPECT_EQ(Le16(&bytes[s + 7]), 1) << "first group's stroke count";
  EXPECT_EQ(Le16(&bytes[s + 9]), 2) << "first group's radicals";
  // N = 3, G = 2: the offsets at S + 5 + 2N + 4G + 2.
  EXPECT_EQ(bytes[s + 7 + 8], 0xE4) << "the radicals follow the groups, first byte first";
  const std::uint32_t first = Le32(&bytes[s + 5 + 6 + 8 + 2]);
  EXPECT_EQ(Le16(&bytes[s + 5 + first]), 2) << "the first radical has two stroke groups";
}

// Damage of the radical dictionary, each applied to a good file.
TEST(RadicalDictionary, DamagedFilesAreRefused) {
  const auto good = WriteRadicalDictionary(SmallRadicals());
  const std::uint32_t s = Le32(&good[114]);
  const std::uint32_t offsets = s + 5 + 6 + 8 + 2;
  auto set16 = [](std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
  };
  struct Case {
    const char* what;
    std::function<void(std::vector<std::uint8_t>&)> damage;
    bool indexFails;
  } cases[] = {
      {"shorter than its header", [](auto& b) { b.resize(300); }, true},
      {"section beyond the end", [](auto& b) { b[117] = 0x7F; }, true},
      {"32767 radical groups", [&](auto& b) { set16(b, s + 5, 0x7FFF); }, true},
      {"a negative group count", [&](auto& b) { set16(b, s + 5, 0xFFFF); }, true},
      {"a group of 30000 radicals", [&](auto& b) { set16(b, s + 9, 30000); }, true},
      {"a negative radical count", [&](auto& b) { set16(b, s + 9, 0x8000); }, true},
      {"a character section beyond the end", [&](auto& b) { b[offsets + 3] = 0x40; }, true},
      {"cut inside the characters", [](auto& b) { b.resize(b.size() - 3); }, false},
      {"32000 stroke groups", [&](auto& b) { set16(b, s + 5 + Le32(&b[offsets + 8]), 32000); }, false},
      {"a stroke group of 32767 characters",
       [&](auto& b) { set16(b, s + 5 + Le32(&b[offsets + 8]) + 4, 0x7FFF); }, false},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bytes = good;
    c.damage(bytes);
    MemorySource file(bytes);
    RadicalIndex index;
    const DicStatus s1 = ReadRadicalIndex(file, index);
    if (c.indexFails) {
      EXPECT_EQ(s1, DicStatus::kDamaged) << c.what;
      continue;
    }
    ASSERT_EQ(s1, DicStatus::kOk) << c.what;
    std::vector<StrokeGroup> chars;
    EXPECT_EQ(ReadRadicalCharacters(file, index, 2, chars), DicStatus::kDamaged) << c.what;
  }
}

JisoRange SmallRange(bool names) {
  JisoRange r{};
  r[0][0] = {0x889F, 0x88A0};  // two syllables of the first initial and vowel
  r[0][20] = {0x88F0};
  if (!names) r[11][8] = {0x8C9F};
  return r;
}

TEST(JisoDictionary, WhatIsWrittenReadsBack) {
  const auto bytes = WriteJisoDictionary(SmallRange(false), SmallRange(true));
  MemorySource file(bytes);
  JisoHeader header;
  ASSERT_EQ(ReadJisoHeader(file, header), DicStatus::kOk);
  EXPECT_EQ(header.sections[0], Le32(&bytes[238]));
  EXPECT_EQ(header.sections[1], Le32(&bytes[242]));
  VowelGroups groups;
  ASSERT_EQ(ReadJisoInitial(file, header, 0, 0, groups), DicStatus::kOk);
  EXPECT_EQ(groups[0], (std::vector<DbChar>{0x889F, 0x88A0}));
  EXPECT_EQ(groups[20], (std::vector<DbChar>{0x88F0}));
  EXPECT_TRUE(groups[1].empty());
  ASSERT_EQ(ReadJisoInitial(file, header, 0, 11, groups), DicStatus::kOk);
  EXPECT_EQ(groups[8], (std::vector<DbChar>{0x8C9F}));
  ASSERT_EQ(ReadJisoInitial(file, header, 1, 11, groups), DicStatus::kOk);
  EXPECT_TRUE(groups[8].empty()) << "the names range of that initial is empty";
  EXPECT_EQ(ReadJisoInitial(file, header, 2, 0, groups), DicStatus::kDamaged);
  EXPECT_EQ(ReadJisoInitial(file, header, 0, 19, groups), DicStatus::kDamaged);
}

TEST(JisoDictionary, DamagedFilesAreRefused) {
  const auto good = WriteJisoDictionary(SmallRange(false), SmallRange(true));
  const std::uint32_t t0 = Le32(&good[238]);
  const std::uint32_t block0 = Le32(&good[t0 + 7]);
  struct Case {
    const char* what;
    std::function<void(std::vector<std::uint8_t>&)> damage;
    bool headerFails;
  } cases[] = {
      {"shorter than the header", [](auto& b) { b.resize(200); }, true},
      {"a section beyond the end", [](auto& b) { b[241] = 0x10; }, false},
      {"a block beyond the end", [&](auto& b) { b[t0 + 7 + 3] = 0x10; }, false},
      {"a count of 32767", [&](auto& b) { b[block0] = 0xFF; b[block0 + 1] = 0x7F; }, false},
      {"a negative count", [&](auto& b) { b[block0 + 1] = 0x80; }, false},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bytes = good;
    c.damage(bytes);
    MemorySource file(bytes);
    JisoHeader header;
    const DicStatus s = ReadJisoHeader(file, header);
    if (c.headerFails) {
      EXPECT_EQ(s, DicStatus::kDamaged) << c.what;
      continue;
    }
    VowelGroups groups;
    EXPECT_EQ(ReadJisoInitial(file, header, 0, 0, groups), DicStatus::kDamaged) << c.what;
  }
}

}  // namespace
}  // namespace lookup

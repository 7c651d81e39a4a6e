// The romanization table's lookups: the index built once gives exactly the
// answers of the scan.
#include <gtest/gtest.h>

#include <random>

#include "kana_key_table.h"

namespace kana {
namespace {

using codeconv::DbChar;

TEST(KanaKeyTable, CodesAndIndexesAreEachOthersInverse) {
  for (size_t i = 0; i < kKanaKeyCount; ++i) EXPECT_EQ(RomanizationIndex(RomanizationCode(i)), i) << i;
  EXPECT_EQ(RomanizationIndex(0x889F), 94u);   // 가
  EXPECT_EQ(RomanizationIndex(0x8940), 188u);  // the second GM lead
  EXPECT_EQ(RomanizationIndex(0x94FC), 2443u);
  EXPECT_EQ(RomanizationIndex(0x9540), 0u);   // ㄱ
  EXPECT_EQ(RomanizationIndex(0x9572), 50u);  // ㅣ
  EXPECT_FALSE(RomanizationIndex(0x95A0));    // beyond the table
  EXPECT_FALSE(RomanizationIndex(0x87FC));    // lead below 0x88
  EXPECT_FALSE(RomanizationIndex(0x897F));
  EXPECT_EQ(GetRomanization(0x889F), "ka");
  EXPECT_EQ(GetRomanization(0x87FC), "");
}

std::vector<std::string> Probes() {
  std::vector<std::string> probes = {"",
                                     "k",
                                     "a",
                                     "ka",
                                     "kalkx",
                                     "kavsab",
                                     "kavsa",
                                     "ff",
                                     "fyo",
                                     "zzzzz",
                                     std::string("ka\0k", 4),
                                     std::string("\0ka", 3),
                                     "\x81\x40",
                                     "KA"};
  for (size_t i = 0; i < kKanaKeyCount; ++i) {
    const std::string s = kKanaKeyTable[i];
    probes.push_back(s);
    for (size_t k = 0; k < s.size(); ++k) {
      probes.push_back(s.substr(0, k));
      probes.push_back(s + s.substr(k));
      for (char c = 'a'; c <= 'z'; ++c) {
        std::string t = s;
        t[k] = c;
        probes.push_back(t);
      }
    }
  }
  std::mt19937 random(12);
  for (int n = 0; n < 20000; ++n) {
    std::string s(1 + random() % 6, 'a');
    for (char& c : s) c = static_cast<char>('a' + random() % 26);
    probes.push_back(s);
  }
  return probes;
}

TEST(KanaKeyTable, IndexedLookupEqualsTheScan) {
  size_t found = 0;
  for (const std::string& s : Probes()) {
    const std::optional<DbChar> fast = FindRomanization(s);
    ASSERT_EQ(fast, FindRomanizationLinear(s)) << s;
    found += fast.has_value();
  }
  EXPECT_GT(found, 2400u);
}

TEST(KanaKeyTable, EveryStandardSyllableIsFoundAtItsCode) {
  for (size_t i = kKanaKeyJamoCount; i < kKanaKeyCount; ++i) {
    EXPECT_EQ(FindRomanization(kKanaKeyTable[i]), RomanizationCode(i)) << kKanaKeyTable[i];
  }
}

}  // namespace
}  // namespace kana

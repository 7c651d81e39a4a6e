// The reading tables that the ANSI interface uses list the entries of each
// key group by the key after it; the plain search tries every entry of the
// group. Both must read every key string the same way.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "reading_table.h"

namespace ime {
namespace {

struct Tables {
  ReadingTable plain, indexed;
  std::string alphabet;  // the keys of the table's entries and two that are none
  explicit Tables(int mode) {
    const std::vector<uint8_t> data = BuildReadingTable(mode);
    plain.Load(data.data(), data.size(), mode, false);
    indexed.Load(data.data(), data.size(), mode, true);
    alphabet = "1 ";
    for (size_t i = 0; i < 2444 * 5; ++i) {
      const char c = static_cast<char>(data[i]);
      if (c != ' ' && alphabet.find(c) == std::string::npos) alphabet += c;
    }
  }
};

std::vector<int> Read(const ReadingTable& t, const std::string& keys) {
  std::vector<codeconv::DbChar> gm;
  KeyMarks marks;
  t.KeysToGm95(keys, gm, &marks, nullptr);
  std::vector<int> out(gm.begin(), gm.end());
  for (const KeyMark& m : marks) out.push_back(m.b0 << 8 | m.b1);
  return out;
}

TEST(ReadingTableIndex, EveryKeyStringOfUpToThreeKeysReadsAsThePlainSearchReadsIt) {
  for (int mode : {0, 1, 2}) {
    const Tables t(mode);
    int differ = 0;
    std::string keys;
    for (char a : t.alphabet) {
      for (char b : std::string(1, '\0') + t.alphabet) {
        for (char c : std::string(1, '\0') + t.alphabet) {
          keys.assign(1, a);
          if (b != 0) keys += b;
          if (b != 0 && c != 0) keys += c;
          if (Read(t.plain, keys) != Read(t.indexed, keys)) ++differ;
        }
      }
    }
    EXPECT_EQ(differ, 0) << "arrangement " << mode;
  }
}

TEST(ReadingTableIndex, LongRandomKeyStringsReadAsThePlainSearchReadsThem) {
  std::mt19937 random(11);
  for (int mode : {0, 1, 2}) {
    const Tables t(mode);
    for (int n = 0; n < 5000; ++n) {
      std::string keys(4 + random() % 12, ' ');
      for (char& k : keys) k = t.alphabet[random() % t.alphabet.size()];
      ASSERT_TRUE(Read(t.plain, keys) == Read(t.indexed, keys)) << mode << " " << keys;
    }
  }
}

}  // namespace
}  // namespace ime

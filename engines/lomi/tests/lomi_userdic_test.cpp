#include <gtest/gtest.h>

#include <cstring>

#include "lomi_engine.h"
#include "lomi_test_support.h"

namespace {

using lomi_test::Ks;
using lomi_test::MemoryFiles;
using lomi_test::Sjis;

lomi::UserEntry Entry(const char* japanese, const char* korean) {
  lomi::UserEntry e;
  e.japanese = Sjis(japanese);
  e.korean = Ks(korean);
  e.pos.type = 6;
  return e;
}

TEST(UserDictionary, KeepsEntriesInByteOrderAndRoundTrips) {
  lomi::UserDictionary dic;
  ASSERT_TRUE(dic.Add(Entry("猫", "고양이")));
  ASSERT_TRUE(dic.Add(Entry("あ", "아")));
  ASSERT_TRUE(dic.Add(Entry("猫", "냥이")));       // the same word again: after the first
  EXPECT_FALSE(dic.Add(Entry("猫", "냥이")));      // the same pair: refused
  EXPECT_FALSE(dic.Add(Entry("", "아")));          // an empty word: refused
  EXPECT_FALSE(dic.Add({std::string(41, 'a'), Ks("아"), {}, false}));  // longer than 40 bytes
  // Shift-JIS あ (82A0) sorts before 猫 (944C).
  ASSERT_EQ(dic.Entries().size(), 3u);
  EXPECT_EQ(dic.Entries()[0].japanese, Sjis("あ"));
  EXPECT_EQ(dic.Entries()[1].korean, Ks("고양이"));
  EXPECT_EQ(dic.Entries()[2].korean, Ks("냥이"));
  EXPECT_EQ(dic.Find(Sjis("猫")), 1);

  lomi::UserDictionary read;
  ASSERT_TRUE(read.Decode(dic.Encode()));
  EXPECT_EQ(read.Entries(), dic.Entries());
}

TEST(UserDictionary, RefusesDamagedFiles) {
  lomi::UserDictionary dic;
  ASSERT_TRUE(dic.Add(Entry("猫", "고양이")));
  const std::vector<uint8_t> good = dic.Encode();
  lomi::UserDictionary read;
  std::vector<uint8_t> cut(good.begin(), good.end() - 1);
  EXPECT_FALSE(read.Decode(cut));
  std::vector<uint8_t> flipped = good;
  flipped[20] ^= 1;
  EXPECT_FALSE(read.Decode(flipped));
  EXPECT_FALSE(read.Decode({}));
  EXPECT_TRUE(read.Entries().empty());
}

TEST(UserDictionary, CreateCheckAndASaveThatFailsLeavesTheOldFile) {
  MemoryFiles files;
  EXPECT_FALSE(lomi::IsUserDicFile(files, "C:\\D\\mine"));
  EXPECT_EQ(lomi::CreateUserDic(files, "C:\\D\\mine"), lomi::kLomiOk);
  EXPECT_TRUE(files.Exists("C:\\D\\mine.DIC"));
  EXPECT_TRUE(lomi::IsUserDicFile(files, "C:\\D\\mine"));
  EXPECT_EQ(lomi::CreateUserDic(files, "C:\\D\\mine"), lomi::kLomiExists);  // never overwritten

  lomi::UserDictionary dic;
  ASSERT_TRUE(dic.Add(Entry("猫", "고양이")));
  ASSERT_TRUE(lomi::SaveUserDic(files, "C:\\D\\mine", dic));
  const std::vector<uint8_t> saved = files.files["C:\\D\\mine.DIC"];
  files.failWrites = true;
  ASSERT_TRUE(dic.Add(Entry("犬", "강아지")));
  EXPECT_FALSE(lomi::SaveUserDic(files, "C:\\D\\mine", dic));
  EXPECT_EQ(files.files["C:\\D\\mine.DIC"], saved);

  files.files["C:\\D\\bad.DIC"] = {'n', 'o', 'p', 'e'};
  EXPECT_FALSE(lomi::IsUserDicFile(files, "C:\\D\\bad"));
}

TEST(UserDictionary, ConfiguredDictionariesComeBeforeTheSystemOne) {
  MemoryFiles files;
  lomi::UserDictionary dic;
  ASSERT_TRUE(dic.Add(Entry("猫", "냥이")));
  ASSERT_TRUE(lomi::SaveUserDic(files, "u2", dic));
  lomi::JKTransConfig config{};
  std::strcpy(config.userDic[0], "missing");  // cannot be read: left out
  std::strcpy(config.userDic[1], "u2");
  lomi::Engine engine(lomi_test::Dictionary());
  engine.Configure(config, files);
  ASSERT_TRUE(engine.Configured());
  const std::string source = Sjis("猫が犬");
  char output[64];
  int length = sizeof output;
  ASSERT_EQ(engine.Transfer(0, 932, 949, source.c_str(), output, &length, nullptr, nullptr), 0);
  // The user's word wins over the glossary's 고양이; 이 after 냥이's vowel.
  EXPECT_EQ(std::string(output, static_cast<std::size_t>(length)), Ks("냥이가 개"));
  // Without the user dictionary the glossary's word comes back.
  engine.Configure(lomi::JKTransConfig{}, files);
  length = sizeof output;
  ASSERT_EQ(engine.Transfer(0, 932, 949, source.c_str(), output, &length, nullptr, nullptr), 0);
  EXPECT_EQ(std::string(output, static_cast<std::size_t>(length)), Ks("고양이가 개"));
}

}  // namespace

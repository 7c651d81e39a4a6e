// The engine's user-dictionary calls over dictionaries in memory: the
// records they fill, duplicates, byte order, order changes, reads by entry
// number in both directions, and writes that fail at any step.
#include <gtest/gtest.h>

#include <cstring>

#include <functional>

#include "ks_gm.h"
#include "lomi_engine.h"
#include "lomi_test_support.h"

namespace {

using lomi_test::Ks;
using lomi_test::MemoryFiles;
using lomi_test::Sjis;

using Record = lomi::DicCandidateRecord;

std::string Field(const char* p) { return std::string(p, strnlen(p, 42)); }

// KS text as GM code, character by character through the code tables.
std::string Gm(const std::string& utf8) {
  const std::string ks = Ks(utf8);
  std::string out;
  for (std::size_t i = 0; i + 1 < ks.size(); i += 2) {
    const uint16_t gm = codeconv::KsCharToGm(codeconv::MakeDb(static_cast<uint8_t>(ks[i]), static_cast<uint8_t>(ks[i + 1])));
    out.push_back(static_cast<char>(gm >> 8));
    out.push_back(static_cast<char>(gm & 0xFF));
  }
  return out;
}

Record NewRecord(const std::string& japanese, const std::string& gmKorean, uint8_t subtype = 1, int hanja = 0) {
  Record r{};
  std::strcpy(r.source, japanese.c_str());
  std::strcpy(r.korean, gmKorean.c_str());
  r.carried[0] = '2';
  r.partOfSpeech[0] = 6;
  r.partOfSpeech[1] = subtype;
  r.hanjaFlag = hanja;
  return r;
}

class UserDicCalls : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(lomi::CreateUserDic(files, "C:\\u\\one"), 0);
    std::strcpy(config.userDic[0], "C:\\u\\one");
    engine.Configure(config, files);
  }
  int Add(const std::string& japanese, const std::string& gmKorean, uint8_t subtype = 1) {
    Record r = NewRecord(japanese, gmKorean, subtype);
    return engine.UpdateUserDic("C:\\u\\one", '0', reinterpret_cast<uint8_t*>(&r), lomi::kUdicAdd);
  }
  std::vector<Record> Read(const std::string& japanese, int dictionary = 0) {
    Record scratch{};
    const int n = engine.ReadCandidates(japanese.c_str(), dictionary, reinterpret_cast<uint8_t*>(&scratch), 0);
    std::vector<Record> out(n > 0 ? static_cast<std::size_t>(n) : 0);
    if (n > 0) {
      EXPECT_EQ(engine.ReadCandidates(japanese.c_str(), dictionary, reinterpret_cast<uint8_t*>(out.data()), n), n);
    }
    return out;
  }
  std::vector<int> List(int start, int step, int count) {
    std::vector<Record> page(static_cast<std::size_t>(count));
    page[0].number = start;
    const int digit = step < 0 ? static_cast<int>(0xFFFFFF00u | '0') : '0';
    const int n = engine.ListUserDic("C:\\u\\one", digit, step, reinterpret_cast<uint8_t*>(page.data()), count);
    std::vector<int> numbers;
    for (int i = 0; i < n; ++i) numbers.push_back(page[static_cast<std::size_t>(i)].number);
    return numbers;
  }
  std::string Translate(const std::string& utf8) {
    const std::string source = Sjis(utf8);
    char output[256];
    int length = sizeof output;
    EXPECT_EQ(engine.Transfer(0, 932, 949, source.c_str(), output, &length, nullptr, nullptr), 0);
    return std::string(output, static_cast<std::size_t>(length));
  }
  int Count() {
    char digit = '0', name[lomi::kUserDicPathBytes] = {};
    int count = -5;
    EXPECT_EQ(engine.GetUserDicInfo(&digit, name, &count), 0);
    return count;
  }

  MemoryFiles files;
  lomi::JKTransConfig config{};
  lomi::Engine engine{lomi_test::Dictionary()};
};

TEST_F(UserDicCalls, RecordsCarryTheEntryInKsCodeWhateverCodeItWasWrittenIn) {
  // A translation is written in GM code (as the editor sends it in both
  // modes) and read back in KS code.
  Record r = NewRecord(Sjis("東京駅"), Gm("도쿄역"), 4, 1);
  ASSERT_EQ(engine.UpdateUserDic("c:\\U\\ONE", '0', reinterpret_cast<uint8_t*>(&r), lomi::kUdicAdd), 0);
  EXPECT_EQ(r.number, 1);
  const std::vector<Record> found = Read(Sjis("東京駅"));
  ASSERT_EQ(found.size(), 1u);
  const Record& f = found[0];
  const auto* bytes = reinterpret_cast<const uint8_t*>(&f);
  EXPECT_EQ(Field(f.source), Sjis("東京駅"));
  EXPECT_EQ(Field(reinterpret_cast<const char*>(bytes + 42)), Sjis("東京駅"));
  EXPECT_EQ(Field(reinterpret_cast<const char*>(bytes + 84)), Ks("도쿄역"));
  EXPECT_EQ(bytes[136], 6);
  EXPECT_EQ(bytes[137], 4);
  EXPECT_EQ(bytes[138], 0);
  EXPECT_EQ(bytes[140] | bytes[141] << 8, 1);
  EXPECT_EQ(bytes[144], 0);  // user dictionary 1
  EXPECT_EQ(bytes[148], 1);
  // A KS-mode caller converts KS to GM first, so the same bytes arrive:
  // writing the KS bytes as they are would be another translation.
  Record again = NewRecord(Sjis("東京駅"), Gm("도쿄역"), 4, 1);
  EXPECT_EQ(engine.UpdateUserDic("C:\\u\\one", '0', reinterpret_cast<uint8_t*>(&again), lomi::kUdicAdd),
            lomi::kLomiDuplicate);
  // The system dictionary's records: dictionary 4, numbered in their order.
  const std::vector<Record> system = Read(Sjis("猫"), 4);
  ASSERT_FALSE(system.empty());
  EXPECT_EQ(Field(system[0].korean), Ks("고양이"));
  EXPECT_EQ(system[0].dictionary, 4);
  EXPECT_EQ(system[0].number, 1);
}

TEST_F(UserDicCalls, ADuplicateIsRefusedWithTheNumberOfTheEntryThatHasIt) {
  ASSERT_EQ(Add(Sjis("猫"), Gm("냥이")), 0);
  ASSERT_EQ(Add(Sjis("あ"), Gm("아")), 0);
  Record r = NewRecord(Sjis("猫"), Gm("냥이"), 2);  // another class, the same pair
  EXPECT_EQ(engine.UpdateUserDic("C:\\u\\one", '0', reinterpret_cast<uint8_t*>(&r), lomi::kUdicAdd), -2);
  EXPECT_EQ(r.number, 2);  // あ (82A0) sorts before 猫 (944C)
  EXPECT_EQ(Count(), 2);
}

TEST_F(UserDicCalls, EntriesAreInByteOrderAndNewTranslationsOfAWordFollowItsOthers) {
  for (const char* w : {"猫", "あい", "あ", "犬"}) ASSERT_EQ(Add(Sjis(w), Gm("가")), 0);
  ASSERT_EQ(Add(Sjis("猫"), Gm("나")), 0);
  std::vector<Record> page(13);
  page[0].number = -1;
  ASSERT_EQ(engine.ListUserDic("C:\\u\\one", '0', 2, reinterpret_cast<uint8_t*>(page.data()), 13), 5);
  // Shift-JIS bytes: あ 82A0 < あい 82A082A2 < 犬 8CA2 < 猫 944C.
  const char* order[] = {"あ", "あい", "犬", "猫", "猫"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Field(page[static_cast<std::size_t>(i)].listedSource), Sjis(order[i])) << i;
    EXPECT_EQ(page[static_cast<std::size_t>(i)].number, i + 1);
  }
  EXPECT_EQ(Field(page[3].korean), Ks("가"));
  EXPECT_EQ(Field(page[4].korean), Ks("나"));
}

TEST_F(UserDicCalls, ARegisteredWordIsUsedByTheNextTranslationAndItsOrderByTheOneAfter) {
  EXPECT_EQ(Translate("猫が犬"), Ks("고양이가 개"));
  ASSERT_EQ(Add(Sjis("猫"), Gm("냥이")), 0);
  EXPECT_EQ(Translate("猫が犬"), Ks("냥이가 개"));
  ASSERT_EQ(Add(Sjis("猫"), Gm("나비")), 0);
  std::vector<Record> found = Read(Sjis("猫"));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(engine.OrderChange('0', reinterpret_cast<uint8_t*>(found.data()), 2, 1, 0), 0);
  EXPECT_EQ(Translate("猫が犬"), Ks("나비가 개"));
  found = Read(Sjis("猫"));
  EXPECT_EQ(Field(found[0].korean), Ks("나비"));
  EXPECT_EQ(Field(found[1].korean), Ks("냥이"));
  // The file has the new order too.
  lomi::UserDictionary dic;
  ASSERT_TRUE(lomi::LoadUserDic(files, "C:\\u\\one", dic));
  EXPECT_EQ(dic.Entries()[0].korean, Ks("나비"));
}

TEST_F(UserDicCalls, AnOrderChangeBetweenAVerbAndANounIsRefused) {
  ASSERT_EQ(Add(Sjis("かく"), Gm("쓰다")), 0);
  Record verb = NewRecord(Sjis("かく"), Gm("긁다"));
  verb.partOfSpeech[0] = 2;
  ASSERT_EQ(engine.UpdateUserDic("C:\\u\\one", '0', reinterpret_cast<uint8_t*>(&verb), lomi::kUdicAdd), 0);
  std::vector<Record> found = Read(Sjis("かく"));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(engine.OrderChange('0', reinterpret_cast<uint8_t*>(found.data()), 2, 1, 0), -12);
  EXPECT_LT(engine.OrderChange('0', reinterpret_cast<uint8_t*>(found.data()), 2, 1, 3), 0);  // no neighbour
  EXPECT_EQ(Field(Read(Sjis("かく"))[0].korean), Ks("쓰다"));
}

TEST(UserDicCallsSystem, TheSystemDictionarysOrderFollowsItsOrderChanges) {
  lomi::DictionaryBuilder builder;
  lomi::WordValue a, b;
  a.korean = Ks("감");
  a.pos.type = 6;
  b.korean = Ks("굴");
  b.pos.type = 6;
  builder.AddWord(Sjis("かき"), a);
  builder.AddWord(Sjis("かき"), b);
  const std::vector<uint8_t> bytes = builder.Encode();
  lomi::SystemDictionary dictionary;
  ASSERT_TRUE(dictionary.Load(bytes));
  lomi::Engine engine(dictionary);
  MemoryFiles files;
  engine.Configure(lomi::JKTransConfig{}, files);
  std::vector<Record> found(2);
  ASSERT_EQ(engine.ReadCandidates(Sjis("かき").c_str(), 4, reinterpret_cast<uint8_t*>(found.data()), 2), 2);
  EXPECT_EQ(Field(found[0].korean), Ks("감"));
  ASSERT_EQ(engine.OrderChange('4', reinterpret_cast<uint8_t*>(found.data()), 2, 1, 0), 0);
  ASSERT_EQ(engine.ReadCandidates(Sjis("かき").c_str(), 4, reinterpret_cast<uint8_t*>(found.data()), 2), 2);
  EXPECT_EQ(Field(found[0].korean), Ks("굴"));
  char output[32];
  int length = sizeof output;
  const std::string source = Sjis("かき");
  ASSERT_EQ(engine.Transfer(0, 932, 949, source.c_str(), output, &length, nullptr, nullptr), 0);
  EXPECT_EQ(std::string(output, static_cast<std::size_t>(length)), Ks("굴"));
}

TEST_F(UserDicCalls, ReadsByNumberPageForwardAndBackward) {
  // 30 entries: words "a00".."a29" sort in their number's order.
  for (int i = 0; i < 30; ++i) {
    char w[8];
    std::snprintf(w, sizeof w, "a%02d", i);
    ASSERT_EQ(Add(w, Gm("가")), 0);
  }
  auto range = [](int from, int to) {
    std::vector<int> v;
    for (int k = from; from <= to ? k <= to : k >= to; k += from <= to ? 1 : -1) v.push_back(k);
    return v;
  };
  EXPECT_EQ(List(-1, 2, 13), range(1, 13));
  EXPECT_EQ(List(13, 2, 13), range(14, 26));
  EXPECT_EQ(List(26, 2, 13), range(27, 30));
  EXPECT_EQ(List(30, 2, 13), std::vector<int>{});
  // Backward: those before the start, nearest first.
  EXPECT_EQ(List(27, -2, 13), range(26, 14));
  EXPECT_EQ(List(14, -2, 13), range(13, 1));
  EXPECT_EQ(List(1, -2, 13), std::vector<int>{});
  EXPECT_EQ(List(-1, -2, 3), range(30, 28));
  // Positioned reads include the start.
  EXPECT_EQ(List(5, 1, 1), std::vector<int>{5});
  EXPECT_EQ(List(5, -1, 2), range(5, 4));
  // A name that is not the digit's dictionary is refused.
  Record r{};
  EXPECT_LT(engine.ListUserDic("C:\\u\\two", '0', 2, reinterpret_cast<uint8_t*>(&r), 1), 0);
}

TEST_F(UserDicCalls, DeletingTheOnlyEntryLeavesAnEmptyDictionaryAndAStaleNumberDeletesNothing) {
  ASSERT_EQ(Add(Sjis("猫"), Gm("냥이")), 0);
  Record stale = Read(Sjis("猫"))[0];
  stale.number = 2;
  EXPECT_EQ(engine.UpdateUserDic("C:\\u\\one", '0', reinterpret_cast<uint8_t*>(&stale), 2), lomi::kLomiStale);
  Record other = Read(Sjis("猫"))[0];
  std::strcpy(other.source, Sjis("犬").c_str());  // number 1 is no longer this word
  std::strcpy(other.listedSource, Sjis("犬").c_str());
  EXPECT_EQ(engine.UpdateUserDic("C:\\u\\one", '0', reinterpret_cast<uint8_t*>(&other), 2), lomi::kLomiStale);
  EXPECT_EQ(Count(), 1);

  Record only = Read(Sjis("猫"))[0];
  ASSERT_EQ(engine.UpdateUserDic("C:\\u\\one", '0', reinterpret_cast<uint8_t*>(&only), 2), 0);
  EXPECT_EQ(Count(), 0);
  EXPECT_EQ(List(-1, 2, 13), std::vector<int>{});
  EXPECT_EQ(Translate("猫"), Ks("고양이"));
  lomi::UserDictionary dic;
  EXPECT_TRUE(lomi::LoadUserDic(files, "C:\\u\\one", dic));
  EXPECT_TRUE(dic.Entries().empty());
}

TEST_F(UserDicCalls, ModifyReplacesTheEntryInPlace) {
  ASSERT_EQ(Add(Sjis("猫"), Gm("냥이")), 0);
  ASSERT_EQ(Add(Sjis("猫"), Gm("나비")), 0);
  Record r = NewRecord(Sjis("猫"), Gm("야옹이"), 3);
  r.number = 1;
  ASSERT_EQ(engine.UpdateUserDic("C:\\u\\one", '0', reinterpret_cast<uint8_t*>(&r), 1), 0);
  EXPECT_EQ(r.number, 1);
  std::vector<Record> found = Read(Sjis("猫"));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(Field(found[0].korean), Ks("야옹이"));
  EXPECT_EQ(found[0].partOfSpeech[1], 3);
  // Modifying into the other entry's pair is a duplicate.
  Record dup = NewRecord(Sjis("猫"), Gm("나비"));
  dup.number = 1;
  EXPECT_EQ(engine.UpdateUserDic("C:\\u\\one", '0', reinterpret_cast<uint8_t*>(&dup), 1), -2);
  EXPECT_EQ(dup.number, 2);
}

// Every write of a dictionary, failing at each of its steps in turn: the
// call reports the failure, the file keeps its bytes, no temporary file is
// left, and translations go on as before. The dictionary is large enough
// to be written in more than one block.
TEST_F(UserDicCalls, AFailureAtAnyWriteStepLeavesTheDictionaryAsItWas) {
  for (int i = 0; i < 300; ++i) {
    char w[8];
    std::snprintf(w, sizeof w, "b%03d", i);
    ASSERT_EQ(Add(w, Gm("가나다라마바사아자차")), 0);
  }
  ASSERT_EQ(Add(Sjis("猫"), Gm("냥이")), 0);
  ASSERT_EQ(Add(Sjis("猫"), Gm("나비")), 0);
  ASSERT_GT(files.files["C:\\u\\one.DIC"].size(), 2 * lomi::kWriteBlock);

  struct Operation {
    const char* name;
    std::function<int()> run;
  };
  const std::vector<Operation> operations = {
      {"add", [&] { return Add(Sjis("犬"), Gm("멍멍이")); }},
      {"modify",
       [&] {
         Record r = NewRecord(Sjis("猫"), Gm("야옹이"));
         r.number = Read(Sjis("猫"))[0].number;
         return engine.UpdateUserDic("C:\\u\\one", '0', reinterpret_cast<uint8_t*>(&r), 1);
       }},
      {"order",
       [&] {
         std::vector<Record> found = Read(Sjis("猫"));
         return engine.OrderChange('0', reinterpret_cast<uint8_t*>(found.data()), 2, 1, 0);
       }},
      {"delete",
       [&] {
         Record r = Read(Sjis("猫"))[0];
         return engine.UpdateUserDic("C:\\u\\one", '0', reinterpret_cast<uint8_t*>(&r), 2);
       }},
  };
  for (const Operation& op : operations) {
    const auto before = files.files;
    const std::string translation = Translate("猫が犬");
    const int count = Count();
    int step = 1;
    for (;; ++step) {
      files.steps = 0;
      files.failAt = step;
      const int result = op.run();
      if (files.steps < step) {  // the write had fewer steps: it went through
        EXPECT_EQ(result, 0) << op.name;
        break;
      }
      EXPECT_EQ(result, lomi::kLomiFileError) << op.name << " failing at step " << step;
      EXPECT_EQ(files.files, before) << op.name << " failing at step " << step;
      EXPECT_EQ(Translate("猫が犬"), translation) << op.name << " failing at step " << step;
      EXPECT_EQ(Count(), count) << op.name << " failing at step " << step;
    }
    files.failAt = 0;
    // Open, at least two writes, flush, close and move: six steps or more.
    EXPECT_GE(step, 7) << op.name;
    EXPECT_NE(files.files, before) << op.name;
    EXPECT_EQ(files.files.count("C:\\u\\one.DIC.tmp"), 0u) << op.name;
  }
  // 냥이 became 야옹이, 나비 moved before it and was deleted.
  EXPECT_EQ(Translate("猫が犬"), Ks("야옹이가 멍멍이"));
}

TEST_F(UserDicCalls, CreationThatFailsAtAnyStepLeavesNoFile) {
  for (int step = 1; step <= 5; ++step) {
    files.steps = 0;
    files.failAt = step;
    EXPECT_EQ(lomi::CreateUserDic(files, "C:\\u\\new"), lomi::kLomiFileError) << step;
    EXPECT_EQ(files.files.count("C:\\u\\new.DIC"), 0u) << step;
    EXPECT_EQ(files.files.count("C:\\u\\new.DIC.tmp"), 0u) << step;
  }
  files.failAt = 0;
  EXPECT_EQ(lomi::CreateUserDic(files, "C:\\u\\new"), 0);
  EXPECT_TRUE(lomi::IsUserDicFile(files, "C:\\u\\new"));
}

TEST_F(UserDicCalls, InfoByDigitAndByName) {
  ASSERT_EQ(Add(Sjis("猫"), Gm("냥이")), 0);
  char digit = '0', name[lomi::kUserDicPathBytes] = {};
  int count = 0;
  ASSERT_EQ(engine.GetUserDicInfo(&digit, name, &count), 0);
  EXPECT_STREQ(name, "C:\\u\\one");
  EXPECT_EQ(count, 1);
  digit = '1';
  std::memset(name, 0, sizeof name);
  ASSERT_EQ(engine.GetUserDicInfo(&digit, name, &count), 0);
  EXPECT_STREQ(name, "");  // slot 2 unused
  EXPECT_EQ(count, 0);
  digit = '0';
  std::strcpy(name, "C:\\u\\one");
  count = -1;
  ASSERT_EQ(engine.GetUserDicInfo(&digit, name, &count), 0);
  EXPECT_EQ(digit, '0');
  EXPECT_EQ(count, 1);
}

}  // namespace

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <numeric>

#include "fixture.h"

namespace ombrel {
namespace {

using test::Word;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

int32_t Le32(const std::string& s, size_t at) {
  return static_cast<int32_t>(static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8 |
                              static_cast<uint8_t>(s[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24);
}

TEST(Scrambling, RoundTripAcrossPageBoundaries) {
  // Plain bytes 0..255 repeated, placed so that they cross positions 256 and 65536.
  for (uint64_t start : {uint64_t{200}, uint64_t{65536 - 300}, uint64_t{65536 * 3 - 7}}) {
    std::vector<uint8_t> plain(1000);
    std::iota(plain.begin(), plain.end(), 0);
    std::vector<uint8_t> stored = plain;
    ScrambleBytes(stored.data(), stored.size(), start);
    EXPECT_NE(stored, plain);
    // Descrambled in two halves, each by its own file position.
    std::vector<uint8_t> back = stored;
    DescrambleBytes(back.data(), 333, start);
    DescrambleBytes(back.data() + 333, back.size() - 333, start + 333);
    EXPECT_EQ(back, plain) << start;
  }
  // The same plain byte stored at positions 0, 256 and 65536 differs by the
  // entry of the table at P div 256.
  const auto& t = ScrambleTable();
  EXPECT_EQ(ScrambleByte(0x41, 0), static_cast<uint8_t>((0x41 ^ t[0]) + t[0]));
  EXPECT_EQ(ScrambleByte(0x41, 256), static_cast<uint8_t>((0x41 ^ t[0]) + t[1]));
  EXPECT_EQ(ScrambleByte(0x41, 65536 + 3), static_cast<uint8_t>((0x41 ^ t[3]) + t[0]));
}

TEST(BuiltData, FirstAndLastKeysAndTheSentinels) {
  DictionaryFileSet& files = test::BuiltData();
  const std::string root = OMBREL_DATA_ROOT;
  for (int d = 0; d < 2; ++d) {
    const std::string folder = root + kDirectionFolders[d] + "/";
    const std::string keylist = Slurp(folder + "keylist.dat");
    const std::string idlist = Slurp(folder + "idlist.dat");
    const int32_t n = files.KeyCount(d), m = files.EntryCount(d);
    EXPECT_EQ(static_cast<size_t>(n + 1) * 12, keylist.size());
    EXPECT_EQ(static_cast<size_t>(m + 1) * 8, idlist.size());
    // The sentinels end the ranges of the last records at the files' ends.
    EXPECT_EQ(static_cast<size_t>(Le32(keylist, n * 12)), Slurp(folder + "keydata.dat").size());
    EXPECT_EQ(static_cast<size_t>(Le32(keylist, n * 12 + 4)), Slurp(folder + "worddata.dat").size());
    EXPECT_EQ(static_cast<size_t>(Le32(idlist, m * 8 + 4) & 0x7FFFFFFF), Slurp(folder + "dicdata.dat").size());

    std::u16string first, last;
    ASSERT_TRUE(files.ReadKey(d, false, 0, first));
    ASSERT_TRUE(files.ReadKey(d, false, n - 1, last));
    EXPECT_FALSE(files.ReadKey(d, false, n, last));
    EXPECT_EQ(last.size() * 2, static_cast<size_t>(Le32(keylist, n * 12) - Le32(keylist, (n - 1) * 12)));
    // The last entry gets its length from the idlist sentinel.
    EntryRef ref;
    SetEntryDirection(ref, d);
    ref.idIndex = m - 1;
    ASSERT_TRUE(LoadEntryByIdIndex(files, ref));
    EXPECT_EQ(ref.textLength, (Le32(idlist, m * 8 + 4) & 0x7FFFFFFF) - (Le32(idlist, (m - 1) * 8 + 4) & 0x7FFFFFFF));
    ref.idIndex = m;
    EXPECT_FALSE(LoadEntryByIdIndex(files, ref));
  }
  // The smallest Korean syllable is a word of hanja.txt whose hanja (家) EDICT has.
  std::u16string k;
  ASSERT_TRUE(files.ReadKey(1, false, 0, k));
  EXPECT_EQ(k, u"가");
}

// Every entry text begins with the anchor of its own idlist index; texts
// that cross positions 256 and 65536 of dicdata.dat read back whole.
TEST(BuiltData, EntriesAcrossScramblingBoundariesReadBack) {
  DictionaryFileSet& files = test::BuiltData();
  for (int d = 0; d < 2; ++d) {
    int crossing = 0;
    for (int32_t id = 0; id < files.EntryCount(d) && crossing < 3; ++id) {
      EntryRef ref;
      SetEntryDirection(ref, d);
      ref.idIndex = id;
      ASSERT_TRUE(LoadEntryByIdIndex(files, ref));
      const int64_t begin = ref.textOffset, end = begin + ref.textLength;
      const bool crosses = (begin / 65536 != end / 65536) || (id < 3 && begin / 256 != end / 256);
      if (!crosses) continue;
      ++crossing;
      std::u16string text(static_cast<size_t>(ref.textLength / 2), u'\0');
      ASSERT_EQ(ReadEntryText(files, ref, text.data(), static_cast<int>(text.size())), ref.textLength / 2);
      char expected[32];
      std::snprintf(expected, sizeof expected, "<A name=\"e%07d\"></A>", id);
      EXPECT_EQ(text.substr(0, 20), std::u16string(expected, expected + 20)) << d << " " << id;
      // Once read through, the next call starts the entry again.
      EXPECT_EQ(ReadEntryText(files, ref, text.data(), 1), 0);
      EXPECT_EQ(ReadEntryText(files, ref, text.data(), 1), 1);
    }
    EXPECT_GE(crossing, 2) << d;
  }
}

class SmallRoot : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = test::TempRoot(::testing::UnitTest::GetInstance()->current_test_info()->name());
    test::WriteRoot(root_, {Word(u"学校", {u"学校<BR>"}), Word(u"先生", {u"先生<BR>"})},
                    {Word(u"공사", {u"工事", u"公使", u"公社"}), Word(u"학교", {u"学校"})});
    ASSERT_TRUE(files_.Open(root_));
    files_.sleep = [this](int) { ++sleeps_; };
  }
  std::string root_;
  DictionaryFileSet files_;
  int sleeps_ = 0;
};

TEST_F(SmallRoot, ThreeEntriesOfOneHeadword) {
  EXPECT_EQ(files_.KeyCount(1), 2);
  EXPECT_EQ(files_.EntryCount(1), 4);
  EntryRef ref;
  SetEntryDirection(ref, 1);
  ref.keyIndex = 0;  // 공사 sorts before 학교
  ASSERT_TRUE(LoadEntryRef(files_, ref));
  EXPECT_EQ(ref.idIndex, 0);
  EXPECT_EQ(ref.flags & kFlagContinues, 0);
  std::u16string texts;
  for (int i = 0; i < 3; ++i) {
    char16_t buffer[16];
    const int n = ReadEntryText(files_, ref, buffer, 16);
    texts += std::u16string(buffer, n) + u"|";
    const bool more = NextRecord(files_, ref);
    ASSERT_TRUE(more);
    if (i < 2) EXPECT_NE(ref.flags & kFlagContinues, 0) << i;
  }
  EXPECT_EQ(texts, u"工事|公使|公社|");
  EXPECT_EQ(ref.flags & kFlagContinues, 0);  // 학교's entry starts a headword
  EXPECT_EQ(ref.keyIndex, 1);
  EXPECT_FALSE(NextRecord(files_, ref));
  EXPECT_EQ(ref.idIndex, 3);
}

TEST_F(SmallRoot, CursorStopsAtTheEnds) {
  EntryRef ref;
  SetEntryDirection(ref, 0);
  ref.keyIndex = 0;
  ASSERT_TRUE(LoadEntryRef(files_, ref));
  const EntryRef before = ref;
  EXPECT_FALSE(PrevKey(files_, ref));
  EXPECT_EQ(std::memcmp(&ref, &before, sizeof ref), 0);
  ASSERT_TRUE(NextKey(files_, ref));
  const EntryRef atEnd = ref;
  EXPECT_FALSE(NextKey(files_, ref));
  EXPECT_EQ(std::memcmp(&ref, &atEnd, sizeof ref), 0);
  std::string bytes;
  ASSERT_TRUE(HeadwordToCodePage(files_, ref, bytes));
  EXPECT_EQ(bytes, "\x90\xe6\x90\xb6");  // 先生 in code page 932
  EntryRef none;
  EXPECT_FALSE(HeadwordToCodePage(files_, none, bytes));
}

TEST_F(SmallRoot, IdListFieldOfMinusOneDoesNotContinue) {
  IdListRecord r{0, -1};
  EXPECT_FALSE(r.Continues());
  r.textField = static_cast<int32_t>(0x80000010u);
  EXPECT_TRUE(r.Continues());
  EXPECT_EQ(r.TextOffset(), 0x10);
}

TEST_F(SmallRoot, SentinelOnlyKeyListHasNoKeys) {
  // keylist.dat of 12 bytes: N = 0; of 24 bytes: one key.
  for (const auto& [bytes, keys] : {std::pair<size_t, int32_t>{12, 0}, {24, 1}, {0, 0}, {20, 0}}) {
    const std::string path = root_ + "OMBREL/keylist.dat";
    std::string keylist = Slurp(path);
    keylist.resize(bytes);
    { std::ofstream(path, std::ios::binary).write(keylist.data(), static_cast<std::streamsize>(keylist.size())); }
    DictionaryFileSet f;
    ASSERT_TRUE(f.Open(root_));
    EXPECT_EQ(f.KeyCount(1), keys) << bytes;
    EntryRef ref;
    SetEntryDirection(ref, 1);
    ref.keyIndex = 0;
    EXPECT_EQ(LoadEntryRef(f, ref), keys > 0) << bytes;
  }
}

TEST_F(SmallRoot, ShortFilesGiveNoRecords) {
  // dicdata.dat cut in the middle of the last entry: the text reads short,
  // and a key whose data file is cut does not read at all.
  const std::string dic = root_ + "OMBREL/dicdata.dat";
  std::string bytes = Slurp(dic);
  bytes.resize(bytes.size() - 2);
  { std::ofstream(dic, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size())); }
  const std::string keydata = root_ + "OMBREL/keydata.dat";
  std::string keys = Slurp(keydata);
  keys.resize(2);
  { std::ofstream(keydata, std::ios::binary).write(keys.data(), static_cast<std::streamsize>(keys.size())); }
  DictionaryFileSet f;
  ASSERT_TRUE(f.Open(root_));
  std::u16string key;
  EXPECT_FALSE(f.ReadKey(1, false, 1, key));
  EntryRef ref;
  SetEntryDirection(ref, 1);
  ref.idIndex = 3;
  ASSERT_TRUE(LoadEntryByIdIndex(f, ref));
  char16_t buffer[8];
  EXPECT_EQ(ReadEntryText(f, ref, buffer, 8), 1);  // "学校" with its last unit gone
  EXPECT_EQ(buffer[0], u'学');
}

TEST_F(SmallRoot, MissingFileFailsTheOpenAndReopenClosesFirst) {
  EXPECT_TRUE(files_.Open());  // the remembered root, every file closed and opened again
  EXPECT_EQ(files_.KeyCount(0), 2);
  std::remove((root_ + "TASKEL/idlist.dat").c_str());
  DictionaryFileSet f;
  EXPECT_FALSE(f.Open(root_));
  EXPECT_FALSE(f.IsOpen());
  EXPECT_EQ(f.KeyCount(0), 0);
}

TEST(Kana, FoldingAndTheKanaTest) {
  std::u16string t = u"ガッコウ・ヴ";
  FoldKatakana(t);
  EXPECT_EQ(t, u"がっこう・ゔ");
  EXPECT_TRUE(IsAllKana(u"がっこう"));
  EXPECT_TRUE(IsAllKana(u"カタ・カナ（ー）"));
  EXPECT_FALSE(IsAllKana(u"学校"));
  EXPECT_TRUE(IsShiftJisLead(0x81));
  EXPECT_TRUE(IsShiftJisLead(0xFC));
  EXPECT_FALSE(IsShiftJisLead(0xA0));
}

}  // namespace
}  // namespace ombrel

#include <gtest/gtest.h>

#include "dictionary_link.h"
#include "fixture.h"
#include "key_compare.h"
#include "search.h"

namespace ombrel {
namespace {

using test::Word;

class SearchRoot : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = new std::string(test::TempRoot("search"));
    data::Headword gakkou = Word(u"学校", {u"学校"});
    gakkou.extraKeys.push_back({u"がっこう", u"がっこう【学校】"});
    data::Headword gakusei = Word(u"学生", {u"学生"});
    gakusei.extraKeys.push_back({u"がくせい", u"がくせい【学生】"});
    data::Headword gaku = Word(u"学", {u"学"});
    gaku.extraKeys.push_back({u"がく", u"がく【学】"});
    data::Headword sensei = Word(u"先生", {u"先生"});
    sensei.extraKeys.push_back({u"せんせい", u"せんせい【先生】"});
    data::Headword daigaku = Word(u"大学", {u"大学"});
    daigaku.extraKeys.push_back({u"だいがく", u"だいがく【大学】"});
    test::WriteRoot(*root_, {gakkou, gakusei, gaku, sensei, daigaku},
                    {Word(u"가", {u"가"}), Word(u"가게", {u"가게"}), Word(u"가구", {u"가구"}), Word(u"각", {u"각"}),
                     Word(u"공사", {u"工事", u"公使", u"公社"}), Word(u"까치", {u"까치"}), Word(u"나무", {u"나무"}),
                     Word(u"대학교", {u"대학교"}), Word(u"학교", {u"학교"}), Word(u"학생", {u"학생"})});
  }
  void SetUp() override { ASSERT_TRUE(files_.Open(*root_)); }

  std::u16string KeyAt(int d, int32_t i) {
    std::u16string k;
    files_.ReadKey(d, false, i, k);
    return k;
  }
  std::vector<std::u16string> Keys(const Searcher::Result& r) {
    std::vector<std::u16string> out;
    for (const EntryRef& e : r.rows) out.push_back(KeyAt(e.Direction(), e.keyIndex));
    return out;
  }

  static std::string* root_;
  DictionaryFileSet files_;
};
std::string* SearchRoot::root_ = nullptr;

TEST_F(SearchRoot, FindKeyTable) {
  Searcher s(files_);
  struct Case {
    int direction;
    const char16_t* query;
    const char16_t* key;
  } const cases[] = {
      {1, u"ㄱ", u"가"},        // a lone jamo: just before 가
      {1, u"가", u"가"},
      {1, u"가구", u"가구"},
      {1, u"가나", u"가구"},    // between 가구 and 각: 가구 shares "가"
      {1, u"공", u"공사"},      // between 각 and 공사: 공사 shares "공"
      {1, u"힣", u"학생"},      // after every key: the last
      {1, u"ㅎ", u"대학교"},    // ㅎ as 하: between 대학교 and 학교, neither shares a prefix: the lower
      {0, u"学校", u"学校"},
      {0, u"ガッコウ", u"がっこう"},  // kana type ignored
      {0, u"がっき", u"がっこう"},    // no such key: the neighbour sharing "がっ"
      {0, u"がくa", u"がく"},         // both neighbours share "がく": the lower one
      {0, u"あ", u"がく"},            // before every key: the first
  };
  for (const Case& c : cases) {
    EntryRef cursor;
    SetEntryDirection(cursor, c.direction);
    const int32_t i = s.FindKey(cursor, c.query);
    EXPECT_EQ(KeyAt(c.direction, i), std::u16string(c.key)) << "case " << (&c - cases);
  }
}

TEST_F(SearchRoot, EqualKeysGiveTheFirstAndTheFirstIndexHasNoPredecessor) {
  Searcher s(files_);
  EntryRef cursor;
  SetEntryDirection(cursor, 1);
  EXPECT_EQ(s.FindKey(cursor, u"가"), 0);  // no step back before index 0
  ASSERT_TRUE(s.FindHeadword(cursor, u"공사"));
  EXPECT_EQ(cursor.idIndex, 4);
}

TEST_F(SearchRoot, WildcardTable) {
  Searcher s(files_);
  struct Case {
    int direction;
    const char16_t* pattern;
    std::vector<std::u16string> keys;
  } const cases[] = {
      {1, u"가*", {u"가", u"가게", u"가구"}},
      {1, u"*교", {u"대학교", u"학교"}},
      {1, u"?", {u"가", u"각"}},
      {1, u"학?", {u"학교", u"학생"}},
      {1, u"가?", {u"가게", u"가구"}},
      {1, u"?교", {u"학교"}},
      {1, u"?*교", {u"대학교", u"학교"}},
      {1, u"가*구", {u"가구"}},
      {1, u"*", {u"가", u"가게", u"가구", u"각", u"공사", u"까치", u"나무", u"대학교", u"학교", u"학생"}},
      {1, u"**", {}},
      {1, u"*가*", {}},
      {1, u"없*", {}},
      {0, u"*せい", {u"がくせい", u"せんせい"}},
      {0, u"*セイ", {u"がくせい", u"せんせい"}},  // the pattern folded to hiragana
      {0, u"学*", {u"学", u"学校", u"学生"}},
      {0, u"?学", {u"大学"}},
  };
  for (const Case& c : cases) {
    EntryRef cursor;
    SetEntryDirection(cursor, c.direction);
    std::vector<std::u16string> got;
    if (s.WildcardSearch(cursor, c.pattern)) {
      do got.push_back(KeyAt(c.direction, cursor.keyIndex));
      while (s.NextWildcardHit(cursor));
    }
    EXPECT_EQ(got, c.keys) << "case " << (&c - cases);
  }
}

TEST_F(SearchRoot, RunSearchMethodsAndRows) {
  Searcher s(files_);
  // Standard: from the nearest key on, each entry once (공사's three entries give one row).
  Searcher::Result r = s.RunTextSearch(1, link::kStandard, u"가구", false, 4);
  ASSERT_TRUE(r.searched);
  EXPECT_FALSE(r.wildcard);
  EXPECT_EQ(Keys(r), (std::vector<std::u16string>{u"가구", u"각", u"공사", u"까치"}));
  // Prefix adds '*' (once), suffix puts it in front.
  r = s.RunTextSearch(1, link::kPrefix, u"학", false, 15);
  EXPECT_TRUE(r.wildcard);
  EXPECT_EQ(Keys(r), (std::vector<std::u16string>{u"학교", u"학생"}));
  EXPECT_EQ(Keys(s.RunTextSearch(1, link::kPrefix, u"학*", false, 15)), Keys(r));
  r = s.RunTextSearch(1, link::kSuffix, u"교", false, 15);
  EXPECT_EQ(Keys(r), (std::vector<std::u16string>{u"대학교", u"학교"}));
  // While typing a wildcard search does not run; a direct one does.
  EXPECT_FALSE(s.RunTextSearch(1, link::kPrefix, u"학", true, 15).searched);
  EXPECT_TRUE(s.RunTextSearch(1, link::kStandard, u"학", true, 15).searched);
  // No text, no search; rows are held to the list's 100.
  EXPECT_FALSE(s.RunTextSearch(1, link::kStandard, u"", false, 15).searched);
  r = s.RunTextSearch(0, link::kStandard, u"が", false, 100000);
  EXPECT_LE(r.rows.size(), static_cast<size_t>(kMaxListRows));
  // The reading keys lead to the same entries as their words: one row each.
  EXPECT_EQ(r.rows.size(), 5u);
  // An id search starts at that record.
  r = s.RunIdSearch(1, 10, 2);
  EXPECT_EQ(Keys(r), (std::vector<std::u16string>{u"학교", u"학생"}));
  EXPECT_FALSE(s.RunIdSearch(1, 12, 2).searched);
  EXPECT_FALSE(s.RunIdSearch(1, -1, 2).searched);
}

TEST(QueryLength, CutAtFiftyBytesWithoutSplittingACharacter) {
  EXPECT_EQ(LimitQueryLength(std::string(60, 'a'), 0).size(), 50u);
  // A double-byte character from byte 49 stays whole: 51 bytes.
  std::string t = std::string(49, 'a') + "\x8a\x77" + "bbb";
  EXPECT_EQ(LimitQueryLength(t, 0), std::string(49, 'a') + "\x8a\x77");
  t = std::string(49, 'a') + "\xc7\xd0" + "bbb";
  EXPECT_EQ(LimitQueryLength(t, 1).size(), 51u);
  EXPECT_EQ(LimitQueryLength(t, 0).size(), 50u);  // 0xC7 is no Shift-JIS lead
  EXPECT_EQ(LimitQueryLength("\x01" "abc", 0), "");
  EXPECT_EQ(LimitQueryLength("ab\tc", 0), "ab");
}

// The built data: the words the issue names.
TEST(BuiltSearch, WordsOfBothDirections) {
  DictionaryFileSet& files = test::BuiltData();
  Searcher s(files);
  Searcher::Result r = s.RunTextSearch(1, link::kStandard, u"학교", false, 15);
  ASSERT_FALSE(r.rows.empty());
  std::u16string word;
  ASSERT_TRUE(ReadEntryHeadword(files, r.rows[0], word));
  EXPECT_EQ(word, u"학교");
  r = s.RunTextSearch(0, link::kStandard, u"学校", false, 15);
  ASSERT_FALSE(r.rows.empty());
  ASSERT_TRUE(ReadEntryHeadword(files, r.rows[0], word));
  EXPECT_EQ(word, u"学校");
  // Prefix: every row begins with 학교; suffix: every row ends with 학교.
  r = s.RunTextSearch(1, link::kPrefix, u"학교", false, 15);
  ASSERT_GE(r.rows.size(), 3u);
  for (const EntryRef& e : r.rows) {
    ASSERT_TRUE(ReadEntryHeadword(files, e, word));
    EXPECT_EQ(word.substr(0, 2), u"학교");
  }
  r = s.RunTextSearch(1, link::kSuffix, u"학교", false, 15);
  ASSERT_GE(r.rows.size(), 3u);
  for (const EntryRef& e : r.rows) {
    ASSERT_TRUE(ReadEntryHeadword(files, e, word));
    EXPECT_EQ(word.substr(word.size() - 2), u"학교");
  }
  // A wildcard with a literal tail: three syllables ending in 교.
  r = s.RunTextSearch(1, link::kStandard, u"??교", false, 15);
  ASSERT_GE(r.rows.size(), 3u);
  for (const EntryRef& e : r.rows) {
    ASSERT_TRUE(ReadEntryHeadword(files, e, word));
    EXPECT_EQ(word.size(), 3u);
    EXPECT_EQ(word.back(), u'교');
  }
  // The reading of 学校 finds it, listed with its word.
  r = s.RunTextSearch(0, link::kStandard, u"がっこう", false, 15);
  ASSERT_FALSE(r.rows.empty());
  ASSERT_TRUE(ReadEntryHeadword(files, r.rows[0], word));
  EXPECT_EQ(word, u"がっこう【学校】");
}

}  // namespace
}  // namespace ombrel

namespace ombrel {
namespace {

// More than 1024 hits in the reversed keys: the hit table is given up and
// the forward keys are read instead, with the same list.
TEST(WildcardFallback, TooManyReversedHitsGiveTheForwardScan) {
  const std::string root = test::TempRoot("fallback");
  std::vector<data::Headword> korean;
  for (int i = 0; i < 1200; ++i) korean.push_back(test::Word(std::u16string{static_cast<char16_t>(0xAC00 + i), u'교'}, {u"x"}));
  korean.push_back(test::Word(u"학생", {u"y"}));
  test::WriteRoot(root, {test::Word(u"学", {u"z"})}, korean);
  DictionaryFileSet files;
  ASSERT_TRUE(files.Open(root));
  Searcher s(files);
  for (const char16_t* pattern : {u"?교", u"*교"}) {
    EntryRef cursor;
    SetEntryDirection(cursor, 1);
    ASSERT_TRUE(s.WildcardSearch(cursor, pattern));
    int n = 1;
    int32_t previous = cursor.keyIndex;
    EXPECT_EQ(previous, 0);
    while (s.NextWildcardHit(cursor)) {
      EXPECT_GT(cursor.keyIndex, previous);
      previous = cursor.keyIndex;
      ++n;
    }
    EXPECT_EQ(n, 1200);
  }
}

}  // namespace
}  // namespace ombrel

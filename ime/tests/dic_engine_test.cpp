// The dictionary engine over files made in the tests: adds with node splits
// and new roots, lookup order, learning, deletion, sharing one file between
// engines, and files that must be refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "dic_test_util.h"

namespace ime {
namespace {

using namespace ime::dic;
using test::DicModel;
using test::DicUser;
using test::MemDic;

// A reading of tree t (8t+4 bytes) that sorts by i.
std::string Key(int t, int i) {
  char tail[8];
  std::snprintf(tail, sizeof tail, "%04d", i);
  return std::string(static_cast<size_t>(8 * t), 'x') + tail;
}

std::string Word(int i) { return "w" + std::to_string(i); }

// The text of an error box.
std::string ErrorText(int code) {
  MemoryBlockFiles none;
  test::CountingFeedback fb;
  DicEngine e(none, fb);
  e.DicReportError(code);
  return fb.boxes.empty() ? "" : fb.boxes[0];
}

DicIndexNode NodeAt(MemDic& d, int tree, uint32_t offset) {
  DicIndexNode n;
  EXPECT_TRUE(n.Load(tree, &d.Bytes()[offset]));
  return n;
}

int Depth(MemDic& d, int tree) {
  DicTreeShapeInfo shapes[kTreeCount];
  EXPECT_EQ(d.Check(nullptr, shapes), "");
  return shapes[tree].depth;
}

TEST(DicFormat, HeaderOfANewFileAndItsChecks) {
  std::vector<uint8_t> image = NewDictionaryImage();
  ASSERT_EQ(image.size(), kFirstFreeBlock);
  DicHeader h;
  std::memcpy(h.raw.data(), image.data(), kBlockSize);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&h.raw[0]), 17), "HEAD 400960229002");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&h.raw[17])), "Geul Maru 95");
  EXPECT_EQ(Get16(&h.raw[58]), 512);
  EXPECT_EQ(Get16(&h.raw[64]), 4);
  for (int t = 0; t < kTreeCount; ++t) {
    EXPECT_EQ(h.KeyWidth(t), 8 * (t + 1));
    EXPECT_EQ(h.Root(t), kFirstRoot + 512u * static_cast<uint32_t>(t));
    EXPECT_EQ(Get32(&h.raw[114 + 8 * t]), 0xFFFFFFFFu);
  }
  EXPECT_EQ(h.DataBlock(), kFirstDataBlock);
  EXPECT_EQ(h.NextFree(), kFirstFreeBlock);
  EXPECT_EQ(h.Check(image.size()), 0);
  EXPECT_EQ(DicCheckImage(image), "");

  DicHeader bad = h;
  bad.raw[4] = 'X';
  EXPECT_EQ(bad.Check(image.size()), kErrUnusable);
  bad = h;
  std::memcpy(&bad.raw[14], "001", 3);
  EXPECT_EQ(bad.Check(image.size()), kErrUnusable);
  bad = h;
  bad.SetNextFree(kFirstFreeBlock + 512);  // claims a block the file lacks
  EXPECT_EQ(bad.Check(image.size()), kErrUnusable);
  bad = h;
  bad.SetRoot(2, 49153);
  EXPECT_EQ(bad.Check(image.size()), kErrUnusable);
}

TEST(DicFormat, ReadingLengthChoosesTheTree) {
  EXPECT_EQ(TreeForReading(0), -1);
  EXPECT_EQ(TreeForReading(1), 0);
  EXPECT_EQ(TreeForReading(8), 0);
  EXPECT_EQ(TreeForReading(9), 1);
  EXPECT_EQ(TreeForReading(24), 2);
  EXPECT_EQ(TreeForReading(25), 3);
  EXPECT_EQ(TreeForReading(32), 3);
  EXPECT_EQ(TreeForReading(33), -1);

  MemDic d;
  EXPECT_EQ(d.user->Add(std::string(8, 'a'), "w8"), 0);
  EXPECT_EQ(d.user->Add(std::string(9, 'a'), "w9"), 0);
  DicHeader h = d.Header();
  EXPECT_EQ(h.TreeCount(0), 1u);
  EXPECT_EQ(h.TreeCount(1), 1u);
  EXPECT_EQ(h.LiveCount(), 2u);
  EXPECT_EQ(d.Check(), "");
}

TEST(DicEngine, ReadingOf33BytesIsRefusedByEveryOperation) {
  MemDic d;
  const std::vector<uint8_t> before = d.Bytes();
  const std::string r(33, 'a');
  std::string w;
  EXPECT_EQ(d.user->Add(r, "w"), -1);
  EXPECT_EQ(d.user->engine.DicLookup(r, &w, 0), -1);
  EXPECT_EQ(d.user->engine.DicLookupNext(r, &w), -1);
  EXPECT_EQ(d.user->Learn(r, "w"), -1);
  EXPECT_EQ(d.user->Delete(r, "w"), -1);
  EXPECT_EQ(d.Bytes(), before);
}

TEST(DicEngine, EmptyWordOrReadingIsNotAWordToRegister) {
  MemDic d;
  EXPECT_EQ(d.user->Add("", "w"), -1);
  EXPECT_EQ(d.user->Add("ab", ""), -1);
  EXPECT_EQ(d.user->Add("ab", std::string(21, 'w')), -1);
  EXPECT_EQ(d.user->feedback.boxes, std::vector<std::string>(3, ErrorText(kErrBadWord)));
  EXPECT_EQ(d.Header().LiveCount(), 0u);
}

// Adds distinct readings in ascending order (each above every key so far)
// until the tree is three levels deep: the leaf splits, the first root split
// and the second one, with the whole file checked and every word looked up
// after each add.
class DicSplitTest : public ::testing::TestWithParam<int> {};

TEST_P(DicSplitTest, AscendingAddsSplitLeavesAndRaiseTheRoot) {
  const int t = GetParam();
  const TreeShape& s = Shape(t);
  MemDic d;
  DicModel model;
  uint32_t root = d.Header().Root(t);
  std::vector<uint32_t> roots{root};
  for (int i = 0; Depth(d, t) < 3; ++i) {
    ASSERT_LT(i, 2000);
    ASSERT_EQ(d.user->Add(Key(t, i), Word(i)), 0) << i;
    model[Key(t, i)] = {Word(i)};
    ASSERT_EQ(d.Check(), "") << "after add " << i;
    test::ExpectModel(*d.user, model, "after add " + std::to_string(i));
    if (HasFatalFailure()) return;
    const uint32_t now = d.Header().Root(t);
    if (now != root) {
      roots.push_back(now);
      root = now;
      DicIndexNode r = NodeAt(d, t, now);
      ASSERT_EQ(r.Count(), 2) << "a new root holds two routing entries";
      EXPECT_FALSE(r.IsLeaf());
      EXPECT_EQ(r.Child(1), roots[roots.size() - 2]) << "the old root stays on the right";
      DicIndexNode low = NodeAt(d, t, r.Child(0));
      EXPECT_EQ(low.Count(), s.half);
      EXPECT_STREQ(r.Key(0), low.Key(low.Count() - 1u));
      EXPECT_EQ(low.Next(), r.Child(1));
    }
    if (i + 1 == s.capacity) {
      // The first split: the full root leaf gave its lower half to a new leaf.
      ASSERT_EQ(roots.size(), 2u);
      DicIndexNode r = NodeAt(d, t, root);
      EXPECT_EQ(NodeAt(d, t, r.Child(0)).Count(), s.half);
      EXPECT_EQ(NodeAt(d, t, r.Child(1)).Count(), s.capacity - s.half);
    }
  }
  EXPECT_EQ(roots.size(), 3u);
  EXPECT_EQ(d.Header().TreeCount(t), model.size());
}

TEST_P(DicSplitTest, DescendingAddsSplitToo) {
  const int t = GetParam();
  MemDic d;
  DicModel model;
  for (int i = 0; i < 3 * Shape(t).capacity; ++i) {
    const int k = 1000 - i;
    ASSERT_EQ(d.user->Add(Key(t, k), Word(k)), 0);
    model[Key(t, k)] = {Word(k)};
    ASSERT_EQ(d.Check(), "") << "after add " << i;
  }
  test::ExpectModel(*d.user, model, "at the end");
  EXPECT_EQ(Depth(d, t), 2);
}

TEST_P(DicSplitTest, OneReadingFillsSeveralLeaves) {
  const int t = GetParam();
  MemDic d;
  std::vector<std::string> words;
  d.user->Add(Key(t, 1), "before");
  d.user->Add(Key(t, 3), "after");
  for (int i = 0; i < 3 * Shape(t).capacity; ++i) {
    ASSERT_EQ(d.user->Add(Key(t, 2), Word(i)), 0);
    words.insert(words.begin(), Word(i));
    ASSERT_EQ(d.Check(), "") << "after add " << i;
    ASSERT_EQ(d.user->Words(Key(t, 2)), words);
  }
  EXPECT_EQ(d.user->Words(Key(t, 1)), std::vector<std::string>{"before"});
  EXPECT_EQ(d.user->Words(Key(t, 3)), std::vector<std::string>{"after"});
}

INSTANTIATE_TEST_SUITE_P(EveryTree, DicSplitTest, ::testing::Values(0, 1, 2, 3));

// Seeded random adds, learns and deletes over readings of every length from
// a small alphabet (so readings repeat), checked after every step.
class DicRandomTest : public ::testing::TestWithParam<int> {};

TEST_P(DicRandomTest, RandomStepsKeepTheTreesSound) {
  std::mt19937 rng(static_cast<unsigned>(GetParam()));
  MemDic d;
  DicModel model;
  const char alphabet[] = {'\x81', '\x82', 'a', '\xfc'};
  int words = 0;
  for (int step = 0; step < 300; ++step) {
    const unsigned action = rng() % 20;
    if (action < 2 && !model.empty()) {
      auto it = std::next(model.begin(), static_cast<long>(rng() % model.size()));
      if (it->second.empty()) continue;
      const std::string w = it->second[rng() % it->second.size()];
      if (action == 0) {
        ASSERT_EQ(d.user->Learn(it->first, w), 0);
        std::rotate(it->second.begin(), std::find(it->second.begin(), it->second.end(), w),
                    std::find(it->second.begin(), it->second.end(), w) + 1);
      } else {
        ASSERT_EQ(d.user->Delete(it->first, w), 0);
        it->second.erase(std::find(it->second.begin(), it->second.end(), w));
      }
    } else {
      const int tree = static_cast<int>(rng() % 4);
      const size_t length = 8 * static_cast<size_t>(tree) + 1 + rng() % 8;
      std::string reading(8 * static_cast<size_t>(tree), 'k');
      while (reading.size() < length) reading.push_back(alphabet[rng() % (tree == 0 ? 2 : 4)]);
      const std::string w = Word(words++);
      ASSERT_EQ(d.user->Add(reading, w), 0);
      auto& list = model[reading];
      list.insert(list.begin(), w);
    }
    ASSERT_EQ(d.Check(), "") << "after step " << step;
    test::ExpectModel(*d.user, model, "after step " + std::to_string(step));
    if (HasFatalFailure()) return;
  }
  EXPECT_TRUE(d.user->feedback.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Seeds, DicRandomTest, ::testing::Values(1, 2, 3, 4));

TEST(DicEngine, LookupOffersOnlyLiveWordsOfTheKindMask) {
  MemDic d;
  const std::string r = "\x8a\xbf";
  d.user->Add(r, "a", 0x11);
  d.user->Add(r, "b", 0x12);
  d.user->Add(r, "c", kKindBothModes);
  d.user->Add(r, "d", 0x11);
  EXPECT_EQ(d.user->Words(r, 0), (std::vector<std::string>{"d", "c", "a"}));
  EXPECT_EQ(d.user->Words(r, kAltKindModeBit), (std::vector<std::string>{"c", "b"}));
  EXPECT_EQ(d.user->Delete(r, "c"), 0);
  EXPECT_EQ(d.user->Words(r, 0), (std::vector<std::string>{"d", "a"}));
  EXPECT_EQ(d.user->Words(r, kAltKindModeBit), (std::vector<std::string>{"b"}));
  EXPECT_EQ(d.user->Delete(r, "d"), 0);
  EXPECT_EQ(d.user->Words(r, 0), (std::vector<std::string>{"a"}));
  EXPECT_EQ(d.user->Delete(r, "d"), kNotFound);
  EXPECT_EQ(d.Header().LiveCount(), 2u);
  EXPECT_EQ(d.Check(), "");  // deleted records keep their entries
  std::vector<DicEntry> entries;
  d.Check(&entries);
  EXPECT_EQ(entries.size(), 4u);
}

TEST(DicEngine, ReadingStoredTwiceOnceDeletedOffersOnlyTheLiveWord) {
  MemDic d;
  d.user->Add("ab", "x");
  d.user->Add("ab", "y");
  d.user->Delete("ab", "y");
  EXPECT_EQ(d.user->Words("ab"), std::vector<std::string>{"x"});
  d.user->Delete("ab", "x");
  std::string w;
  EXPECT_EQ(d.user->engine.DicLookup("ab", &w, 0), kNotFound);
  d.user->engine.DicEndAccess();
  EXPECT_TRUE(d.user->feedback.boxes.empty());
}

TEST(DicEngine, NextAtTheEndOfTheLastLeafIsNoFurtherEntry) {
  MemDic d;
  for (int i = 0; i < 40; ++i) d.user->Add(Key(0, i), Word(i));
  std::string w;
  ASSERT_EQ(d.user->engine.DicLookup(Key(0, 39), &w, 0), kFound);
  EXPECT_EQ(d.user->engine.DicLookupNext(Key(0, 39), &w), kNotFound);
  EXPECT_EQ(d.user->engine.DicLookup(Key(0, 99), &w, 0), kNotFound);  // above every key
  d.user->engine.DicEndAccess();
  EXPECT_TRUE(d.user->feedback.boxes.empty());
}

TEST(DicEngine, LearningTheThirdWordPutsItFirst) {
  MemDic d;
  d.user->Add("ab", "3");
  d.user->Add("ab", "2");
  d.user->Add("ab", "1");
  EXPECT_EQ(d.user->Learn("ab", "3"), 0);
  EXPECT_EQ(d.user->Words("ab"), (std::vector<std::string>{"3", "1", "2"}));
  EXPECT_EQ(d.user->Learn("ab", "none"), kNotFound);
  EXPECT_EQ(d.user->Learn("ab", "3"), 0);  // already first
  EXPECT_EQ(d.user->Words("ab"), (std::vector<std::string>{"3", "1", "2"}));
  EXPECT_EQ(d.Check(), "");
}

TEST(DicEngine, LearningCrossesNodeBoundaries) {
  // IND32 leaves hold at most 9 entries: 30 words of one reading span four.
  MemDic d;
  const std::string r = Key(3, 5);
  d.user->Add(Key(3, 4), "left");
  std::vector<std::string> words;
  for (int i = 0; i < 30; ++i) {
    d.user->Add(r, Word(i));
    words.insert(words.begin(), Word(i));
  }
  ASSERT_GE(Depth(d, 3), 2);
  for (const std::string& pick : {Word(0), Word(14), Word(29), Word(1)}) {
    ASSERT_EQ(d.user->Learn(r, pick), 0) << pick;
    std::rotate(words.begin(), std::find(words.begin(), words.end(), pick),
                std::find(words.begin(), words.end(), pick) + 1);
    ASSERT_EQ(d.Check(), "") << pick;
    ASSERT_EQ(d.user->Words(r), words) << pick;
  }
  EXPECT_EQ(d.user->Words(Key(3, 4)), std::vector<std::string>{"left"});
}

TEST(DicEngine, FullDataBlockStartsANewOneAtTheNextFreeBlock) {
  MemDic d;
  // Records of 2 + 2 + 12 = 16 bytes: 31 fit in the 503 bytes of a block.
  for (int i = 0; i < 31; ++i) d.user->Add("ab", "w" + std::string(1, static_cast<char>('A' + i)));
  DicHeader h = d.Header();
  EXPECT_EQ(h.DataBlock(), kFirstDataBlock);
  EXPECT_EQ(Get16(&d.Bytes()[kFirstDataBlock + 7]), 31 * 16);
  const uint32_t free = h.NextFree();
  d.user->Add("ab", "zz");
  h = d.Header();
  EXPECT_EQ(h.DataBlock(), free);
  EXPECT_EQ(h.NextFree(), free + 512);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&d.Bytes()[free]), 5), "DATA ");
  EXPECT_EQ(Get16(&d.Bytes()[free + 5]), 1);
  EXPECT_EQ(d.user->Words("ab").front(), "zz");
  EXPECT_EQ(d.Check(), "");
}

TEST(DicEngine, Version001IsUnusableUntilAnotherFileIsOpened) {
  MemoryBlockFiles files;
  files.Bytes("old") = NewDictionaryImage();
  std::memcpy(&files.Bytes("old")[14], "001", 3);
  files.Bytes("new") = NewDictionaryImage();
  DicUser u(files);
  EXPECT_EQ(u.engine.DicOpen("old"), -1);
  EXPECT_EQ(u.feedback.boxes, std::vector<std::string>{ErrorText(kErrUnusable)});
  EXPECT_EQ(ErrorText(kErrUnusable), "\x82\xb1\x82\xcc\x8e\xab\x8f\x91\x82\xcd\x8e\x67\x97\x70\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1");
  EXPECT_EQ(u.engine.State(), kSlotUnusable);
  std::string w;
  EXPECT_EQ(u.engine.DicLookup("ab", &w, 0), -1);
  EXPECT_EQ(u.Add("ab", "w"), -1);
  EXPECT_EQ(u.engine.DicBeginAccess(), -1);
  EXPECT_EQ(u.feedback.boxes.size(), 1u);  // no more boxes
  EXPECT_EQ(u.engine.DicOpen("new"), 0);
  EXPECT_EQ(u.Add("ab", "w"), 0);
}

TEST(DicEngine, MissingFileCannotBeOpened) {
  MemoryBlockFiles files;
  DicUser u(files);
  EXPECT_EQ(u.engine.DicOpen("nowhere.dic"), -1);
  ASSERT_EQ(u.feedback.boxes.size(), 1u);
  EXPECT_EQ(u.feedback.boxes[0], ErrorText(kErrOpen).substr(0, 24) + "(65535 nowhere.dic)");
}

TEST(DicEngine, ReadOnlySlotRefusesChanges) {
  MemoryBlockFiles files;
  files.Bytes("d") = NewDictionaryImage();
  {
    DicUser w(files);
    w.engine.DicOpen("d");
    w.Add("ab", "x");
  }
  const std::vector<uint8_t> before = files.Bytes("d");
  DicUser r(files, 1);
  ASSERT_EQ(r.engine.DicOpen("d"), 0);
  EXPECT_TRUE(r.engine.ReadOnly());
  EXPECT_EQ(r.Words("ab"), std::vector<std::string>{"x"});
  EXPECT_EQ(r.Add("ab", "y"), -1);
  EXPECT_EQ(r.Learn("ab", "x"), -1);
  EXPECT_EQ(r.Delete("ab", "x"), -1);
  EXPECT_EQ(r.feedback.boxes, std::vector<std::string>(3, ErrorText(kErrWrite)));
  EXPECT_EQ(files.Bytes("d"), before);
}

// One word in a new file, byte for byte as the file format lays it out:
// reading 88 9F, word 89 40, kind 0x11.
TEST(DicFormat, OneWordInANewFileGoldenBytes) {
  MemDic d;
  const std::vector<uint8_t> before = d.Bytes();
  ASSERT_EQ(d.user->Add("\x88\x9F", "\x89\x40", kKindUserWord), 0);
  std::vector<uint8_t> expected = before;
  auto put = [&](uint32_t at, std::initializer_list<uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), expected.begin() + at);
  };
  // Header: one live record in the file and one entry in the IND8 tree; the
  // current data block and the next free block stay where they were.
  put(60, {0x01, 0x00, 0x00, 0x00});
  put(68, {0x01, 0x00, 0x00, 0x00});
  // IND8 root at 49152: "IND8 ", width 8, one entry, no links; the leaf
  // entry {child 0, record 51209 = 0xC809, key 88 9F padded to 9 bytes}.
  put(49152, {'I', 'N', 'D', '8', ' ', 0x08, 0x00, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
              0x00, 0x00, 0x00, 0x00, 0x09, 0xC8, 0x00, 0x00, 0x88, 0x9F, 0, 0, 0, 0, 0, 0, 0});
  // Data block at 51200: "DATA ", one record, 16 bytes used; the record at
  // 51209: size 16, reading length 2, word length 2, zero, kind 0x11, state
  // blank, the word and the reading, each zero terminated.
  put(51200, {'D', 'A', 'T', 'A', ' ', 0x01, 0x00, 0x10, 0x00});
  put(51209, {0x10, 0x00, 0x02, 0x00, 0x02, 0x00, 0x00, 0x00, 0x11, 0x20, 0x89, 0x40, 0x00, 0x88, 0x9F, 0x00});
  ASSERT_EQ(d.Bytes().size(), 51712u);
  for (size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(d.Bytes()[i], expected[i]) << "byte " << i;
}

// The request carries the outcome: found, no such entry, or a failure with
// its error code, which is never taken for "no such entry".
TEST(DicEngine, RequestResultTellsNotFoundFromErrors) {
  MemDic d;
  ASSERT_EQ(d.user->Add("ab", "x"), 0);
  DicEngine& e = d.user->engine;
  DicRequest r;
  r.reading = "ab";
  EXPECT_EQ(e.DicSearch(r), kFound);
  EXPECT_EQ(r.result, kFound);
  EXPECT_EQ(r.foundWord, "x");
  r.reading = "zz";
  EXPECT_EQ(e.DicSearch(r), kNotFound);
  EXPECT_EQ(r.result, kNotFound);
  EXPECT_EQ(r.error, 0);
  e.DicEndAccess();

  DicRequest del;
  del.reading = "ab";
  del.word = "none";
  EXPECT_EQ(e.DicDeleteWord(del), kNotFound);
  e.DicEndAccess();
  EXPECT_EQ(del.result, kNotFound);

  // A file that cannot be opened: error 2, not "no such entry".
  MemoryBlockFiles none;
  DicUser lost(none);
  lost.engine.DicOpen("gone");
  DicRequest add;
  add.reading = "ab";
  add.word = "y";
  EXPECT_EQ(lost.engine.DicAddWord(add), -1);
  EXPECT_EQ(add.result, kFailed);
  EXPECT_EQ(add.error, kErrUnusable);  // the slot stayed unusable after the failed open

  // A failed add and a failed delete in a read-only slot.
  DicUser reader(d.files, 1);
  ASSERT_EQ(reader.engine.DicOpen("d"), 0);
  add.result = 0;
  EXPECT_EQ(reader.engine.DicAddWord(add), -1);
  reader.engine.DicEndAccess();
  EXPECT_EQ(add.result, kFailed);
  EXPECT_EQ(add.error, kErrWrite);
  del.word = "x";
  EXPECT_EQ(reader.engine.DicDeleteWord(del), -1);
  reader.engine.DicEndAccess();
  EXPECT_EQ(del.result, kFailed);
  EXPECT_EQ(del.error, kErrWrite);

  // Another process holds the file through the whole wait.
  auto holder = d.files.Open("d", true);
  ASSERT_TRUE(holder);
  DicRequest busy;
  busy.reading = "ab";
  busy.word = "z";
  EXPECT_EQ(e.DicAddWord(busy), -1);
  EXPECT_EQ(busy.result, kFailed);
  EXPECT_EQ(busy.error, kErrOpen);
}

// ---- a file that another process holds for its operation --------------------------

TEST(DicBusy, AnOpenWaitsForTheOtherProcessToLetGo) {
  MemDic d;
  DicUser other(d.files);
  ASSERT_EQ(other.engine.DicOpen("d"), 0);
  std::string w;
  ASSERT_EQ(other.engine.DicLookup("ab", &w, 0), kNotFound);  // holds the file
  int pauses = 0;
  d.files.onPause = [&](unsigned) {
    if (++pauses == 3) other.engine.DicEndAccess();
  };
  EXPECT_EQ(d.user->Add("ab", "x"), 0);
  EXPECT_EQ(pauses, 3);
  EXPECT_TRUE(d.user->feedback.boxes.empty());
  EXPECT_EQ(other.Words("ab"), std::vector<std::string>{"x"});
}

TEST(DicBusy, TheWaitIsBoundedAndTheFailureReported) {
  MemDic d;
  auto holder = d.files.Open("d", true);
  d.files.paused = 0;
  EXPECT_EQ(d.user->Add("ab", "x"), -1);
  EXPECT_GE(d.files.paused, kBusyWaitMs);
  EXPECT_LE(d.files.paused, kBusyWaitMs + kBusyPauseMostMs);
  ASSERT_EQ(d.user->feedback.boxes.size(), 1u);
  EXPECT_EQ(d.user->feedback.boxes[0], ErrorText(kErrOpen).substr(0, 24) + "(0 d)");
  // A missing file is not waited for.
  d.files.paused = 0;
  MemoryBlockFiles& files = d.files;
  DicUser lost(files);
  EXPECT_EQ(lost.engine.DicOpen("missing"), -1);
  EXPECT_EQ(files.paused, 0u);
}

// A process that starts while another one is inside an operation: the open
// is put off without a message, and the next access opens the file.
TEST(DicBusy, AFailedOpenIsRetriedAtTheNextAccess) {
  MemDic d;
  ASSERT_EQ(d.user->Add("ab", "x"), 0);
  auto holder = d.files.Open("d", false);
  DicUser late(d.files);
  EXPECT_EQ(late.engine.DicOpen("d"), -1);
  EXPECT_TRUE(late.feedback.boxes.empty());
  EXPECT_EQ(late.engine.State(), kSlotUnusable);
  EXPECT_TRUE(late.engine.OpenPending());
  EXPECT_TRUE(late.engine.Usable());
  // Still held at the first access: that operation fails with its box.
  EXPECT_EQ(late.Add("ab", "y"), -1);
  EXPECT_EQ(late.feedback.boxes.size(), 1u);
  EXPECT_TRUE(late.engine.OpenPending());
  holder.reset();
  EXPECT_EQ(late.Words("ab"), std::vector<std::string>{"x"});
  EXPECT_FALSE(late.engine.OpenPending());
  EXPECT_EQ(late.Add("ab", "y"), 0);
  EXPECT_EQ(d.user->Words("ab"), (std::vector<std::string>{"y", "x"}));
  EXPECT_EQ(d.Check(), "");
  // A put-off open that the slot's owner gives up (another file chosen, or
  // the process ending) is not made behind its back.
  holder = d.files.Open("d", true);
  EXPECT_EQ(late.engine.DicOpen("d"), -1);
  EXPECT_TRUE(late.engine.OpenPending());
  late.engine.DicInvalidate();
  holder.reset();
  EXPECT_FALSE(late.engine.Usable());
  EXPECT_EQ(late.Add("ab", "z"), -1);
  // A file that is unusable for what it holds is not opened again.
  std::memcpy(&d.Bytes()[14], "001", 3);
  DicUser old(d.files);
  EXPECT_EQ(old.engine.DicOpen("d"), -1);
  EXPECT_FALSE(old.engine.OpenPending());
  EXPECT_FALSE(old.engine.Usable());
}

// ---- one file, two engines ------------------------------------------------------

TEST(DicSharing, WhileOneEngineHoldsTheFileOthersCannotOpenIt) {
  test::TempDir dir;
  const std::string path = dir.File("shared.dic");
  ASSERT_TRUE(WriteWholeFile(path, NewDictionaryImage()));
  DicUser a(PlatformBlockFiles()), b(PlatformBlockFiles());
  DicUser r1(PlatformBlockFiles(), 1), r2(PlatformBlockFiles(), 1);
  for (DicUser* u : {&a, &b, &r1, &r2}) ASSERT_EQ(u->engine.DicOpen(path), 0);
  ASSERT_EQ(a.Add("ab", "x"), 0);

  std::string w;
  ASSERT_EQ(a.engine.DicLookup("ab", &w, 0), kFound);  // access stays open
  EXPECT_EQ(b.engine.DicLookup("ab", &w, 0), -1);
  EXPECT_EQ(r1.engine.DicLookup("ab", &w, 0), -1);
  EXPECT_EQ(b.feedback.boxes, std::vector<std::string>{ErrorText(kErrOpen).substr(0, 24) + "(0 " + path + ")"});
  a.engine.DicEndAccess();
  EXPECT_EQ(b.Words("ab"), std::vector<std::string>{"x"});

  // Readers share the file with each other, not with a writer.
  ASSERT_EQ(r1.engine.DicLookup("ab", &w, 0), kFound);
  EXPECT_EQ(r2.Words("ab"), std::vector<std::string>{"x"});
  EXPECT_EQ(a.Add("ab", "y"), -1);
  r1.engine.DicEndAccess();
  EXPECT_EQ(a.Add("ab", "y"), 0);
  EXPECT_EQ(r2.Words("ab"), (std::vector<std::string>{"y", "x"}));
}

TEST(DicSharing, TwoEnginesAlternatingAddsAndLearnsStayConsistent) {
  test::TempDir dir;
  const std::string path = dir.File("shared.dic");
  ASSERT_TRUE(WriteWholeFile(path, NewDictionaryImage()));
  DicUser a(PlatformBlockFiles()), b(PlatformBlockFiles());
  ASSERT_EQ(a.engine.DicOpen(path), 0);
  ASSERT_EQ(b.engine.DicOpen(path), 0);  // both hold the header of the new file
  std::mt19937 rng(7);
  DicModel model;
  for (int step = 0; step < 400; ++step) {
    DicUser& me = step % 2 ? a : b;
    DicUser& other = step % 2 ? b : a;
    std::string reading;
    if (step % 5 == 4 && !model.empty()) {
      auto it = std::next(model.begin(), static_cast<long>(rng() % model.size()));
      reading = it->first;
      const std::string w = it->second.back();
      ASSERT_EQ(me.Learn(reading, w), 0) << step;
      it->second.pop_back();
      it->second.insert(it->second.begin(), w);
    } else {
      const int tree = static_cast<int>(rng() % 2) * 3;  // IND8 and IND32: wide and narrow nodes
      reading = std::string(tree == 3 ? 25 : 1, 'k') + static_cast<char>('a' + rng() % 6);
      const std::string w = Word(step);
      ASSERT_EQ(me.Add(reading, w), 0) << step;
      model[reading].insert(model[reading].begin(), w);
    }
    ASSERT_EQ(other.Words(reading), model[reading]) << "step " << step;
    if (step % 50 == 49) {
      std::vector<uint8_t> bytes;
      ASSERT_TRUE(ReadWholeFile(path, &bytes));
      ASSERT_EQ(DicCheckImage(bytes), "") << "step " << step;
      test::ExpectModel(a, model, "step " + std::to_string(step));
      test::ExpectModel(b, model, "step " + std::to_string(step));
    }
  }
  EXPECT_TRUE(a.feedback.boxes.empty());
  EXPECT_TRUE(b.feedback.boxes.empty());
}

// ---- files that must be refused --------------------------------------------------

// A small file with two-level IND8 and IND32 trees; nodes and records are
// then broken one way at a time.
struct BrokenFile {
  MemDic d{512};  // compact: roots from block 1 on
  BrokenFile() {
    for (int i = 0; i < 40; ++i) d.user->Add(Key(0, i / 2), Word(i));
    for (int i = 0; i < 15; ++i) d.user->Add(Key(3, 1), Word(100 + i));
  }
  uint8_t* Block(uint32_t offset) { return &d.Bytes()[offset]; }
  uint32_t Root(int t) { return d.Header().Root(t); }
  uint32_t FirstLeaf(int t) { return Get32(Block(Root(t)) + 21); }
  uint8_t* Entry(uint32_t node, int t, int i) { return Block(node) + 21 + i * Shape(t).entrySize; }
};

struct Breakage {
  const char* name;
  void (*breakIt)(BrokenFile&);
  int openCode;  // box of DicOpen, 0 none
  int useCode;   // first box of the operations afterwards, 0 none
};

const Breakage kBreakages[] = {
    {"header tag", [](BrokenFile& f) { f.Block(0)[0] = 'h'; }, kErrUnusable, 0},
    {"file shorter than its header", [](BrokenFile& f) { f.d.Bytes().resize(100); }, kErrRead, 0},
    {"root offset off a block boundary", [](BrokenFile& f) { Put32(f.Block(0) + 72, f.Root(0) + 3); }, kErrUnusable, 0},
    {"root past the end", [](BrokenFile& f) { Put32(f.Block(0) + 72, 0x10000000); }, kErrUnusable, 0},
    {"data block past the end", [](BrokenFile& f) { Put32(f.Block(0) + 106, 0x10000000); }, kErrUnusable, 0},
    {"root tag", [](BrokenFile& f) { f.Block(f.Root(0))[3] = '9'; }, kErrRead, 0},
    {"root count above capacity", [](BrokenFile& f) { Put16(f.Block(f.Root(3)) + 7, 11); }, kErrRead, 0},
    {"leaf count above capacity", [](BrokenFile& f) { Put16(f.Block(f.FirstLeaf(0)) + 7, 300); }, 0, kErrRead},
    {"key without terminator",
     [](BrokenFile& f) { std::memset(f.Entry(f.FirstLeaf(0), 0, 0) + 8, 'z', 9); }, 0, kErrRead},
    {"entry with child and record", [](BrokenFile& f) { Put32(f.Entry(f.FirstLeaf(0), 0, 1), 512); }, 0, kErrRead},
    {"record offset in the header", [](BrokenFile& f) { Put32(f.Entry(f.FirstLeaf(0), 0, 0) + 4, 5); }, 0, kErrRead},
    {"record offset past the end", [](BrokenFile& f) { Put32(f.Entry(f.FirstLeaf(0), 0, 0) + 4, 0x7000000); }, 0, kErrRead},
    {"record offset into a node", [](BrokenFile& f) { Put32(f.Entry(f.FirstLeaf(0), 0, 0) + 4, f.Root(1) + 9); }, 0, kErrRead},
    {"record past the bytes used",
     [](BrokenFile& f) { Put32(f.Entry(f.FirstLeaf(0), 0, 0) + 4, f.d.Header().DataBlock() + 500); }, 0, kErrRead},
    {"data block bytes used above 503",
     [](BrokenFile& f) { Put16(f.Block(Get32(f.Entry(f.FirstLeaf(0), 0, 0) + 4) / 512 * 512) + 7, 504); }, 0, kErrRead},
    {"record word length 50",
     [](BrokenFile& f) { Put16(f.Block(0) + Get32(f.Entry(f.FirstLeaf(0), 0, 0) + 4) + 4, 50); }, 0, kErrRead},
    {"record size disagrees",
     [](BrokenFile& f) { Put16(f.Block(0) + Get32(f.Entry(f.FirstLeaf(0), 0, 0) + 4), 7); }, 0, kErrRead},
    {"routing entry back to the root", [](BrokenFile& f) { Put32(f.Entry(f.Root(0), 0, 0), f.Root(0)); }, 0, kErrRead},
    {"leaf level links in a ring",
     [](BrokenFile& f) {
       // Every IND32 leaf holds the one reading; the last links back to the first.
       uint32_t leaf = f.FirstLeaf(3);
       while (Get32(f.Block(leaf) + 13) != 0) leaf = Get32(f.Block(leaf) + 13);
       Put32(f.Block(leaf) + 13, f.FirstLeaf(3));
       Put32(f.Block(f.FirstLeaf(3)) + 9, leaf);
       for (uint32_t n = f.FirstLeaf(3);;) {  // every record deleted: nothing stops the walk but the ring
         for (int i = 0; i < Get16(f.Block(n) + 7); ++i) f.Block(0)[Get32(f.Entry(n, 3, i) + 4) + 9] = '*';
         n = Get32(f.Block(n) + 13);
         if (n == f.FirstLeaf(3)) break;
       }
     },
     0, kErrRead},
};

TEST(DicBrokenFiles, AreRefusedWithTheirErrorCodes) {
  for (const Breakage& b : kBreakages) {
    SCOPED_TRACE(b.name);
    BrokenFile f;
    ASSERT_EQ(f.d.Check(), "");
    b.breakIt(f);
    DicUser u(f.d.files);
    const int open = u.engine.DicOpen("d");
    if (b.openCode != 0) {
      EXPECT_EQ(open, -1);
      ASSERT_FALSE(u.feedback.boxes.empty());
      EXPECT_EQ(u.feedback.boxes[0].substr(0, 20), ErrorText(b.openCode).substr(0, 20));
      EXPECT_EQ(u.engine.State(), kSlotUnusable);
      continue;
    }
    ASSERT_EQ(open, 0);
    // Every operation on every reading, then adds: errors, never a stray access.
    for (int i = 0; i < 20; ++i) u.Words(Key(0, i));
    u.Words(Key(3, 1));
    u.Learn(Key(0, 0), Word(0));
    u.Learn(Key(3, 1), Word(100));
    u.Delete(Key(0, 1), Word(2));
    for (int i = 0; i < 30; ++i) u.Add(Key(0, i), "n");
    u.Add(Key(3, 1), "n");
    ASSERT_FALSE(u.feedback.boxes.empty());
    EXPECT_EQ(u.feedback.boxes[0].substr(0, 20), ErrorText(b.useCode).substr(0, 20));
  }
}

TEST(DicBrokenFiles, NodeOutsideTheFileIsReportedWithItsPosition) {
  BrokenFile f;
  Put32(f.Entry(f.Root(0), 0, 0), 0x100000);
  DicUser u(f.d.files);
  ASSERT_EQ(u.engine.DicOpen("d"), 0);
  std::string w;
  EXPECT_EQ(u.engine.DicLookup(Key(0, 0), &w, 0), -1);
  ASSERT_EQ(u.feedback.boxes.size(), 2u);
  EXPECT_EQ(u.feedback.boxes[0].substr(0, 5), "Ffno=");
  EXPECT_NE(u.feedback.boxes[0].find(" level=1 read_pos=1048576 "), std::string::npos) << u.feedback.boxes[0];
  EXPECT_EQ(u.feedback.boxes[1], ErrorText(kErrRead));
}

}  // namespace
}  // namespace ime

// User word registration over a dictionary file on disk: the checks of a
// new pair, the confirmation of the dialog road, the kinds of the two
// conversion modes, deletion, and a file left byte for byte as it was by
// every refusal.
#include <gtest/gtest.h>

#include <functional>

#include "dic_test_util.h"
#include "user_words.h"

namespace ime {
namespace {

using test::DicUser;

constexpr unsigned kAlt = dic::kAltKindModeBit;

// The dialog's side: boxes and questions recorded, questions answered.
struct DialogFeedback : UserFeedback {
  std::vector<std::string> boxes;
  std::vector<std::string> questions;
  std::vector<std::string> captions;
  std::vector<unsigned> flags;
  int answer = kIdYes;
  std::function<void()> whileAsking;
  void Beep(unsigned) override {}
  int ShowMessage(const std::string& text, unsigned f) override {
    boxes.push_back(text);
    flags.push_back(f);
    return 1;
  }
  int ShowCaptionedMessage(const std::string& text, const std::string& caption, unsigned f) override {
    questions.push_back(text);
    captions.push_back(caption);
    flags.push_back(f);
    if (whileAsking) whileAsking();
    return answer;
  }
};

// GM95 text of n syllables from the first Hangul rows: 88 9F, 88 A0, ...
std::string Gm(int first, int count = 1) {
  std::string s;
  for (int i = 0; i < count; ++i) {
    s.push_back('\x88');
    s.push_back(static_cast<char>(0x9F + first + i));
  }
  return s;
}

// A hanja-like GM95 word of its own for each n.
std::string Word(int n) { return {'\x89', static_cast<char>(0x40 + n % 60), '\x8a', static_cast<char>(0x40 + n / 60)}; }

struct UserDic {
  test::TempDir dir;
  std::string path = dir.File("user.dic");
  DicUser user{PlatformBlockFiles()};
  DialogFeedback dialog;

  UserDic() {
    EXPECT_TRUE(WriteWholeFile(path, dic::NewDictionaryImage()));
    EXPECT_EQ(user.engine.DicOpen(path), 0);
  }
  std::vector<uint8_t> Bytes() {
    std::vector<uint8_t> b;
    EXPECT_TRUE(ReadWholeFile(path, &b));
    return b;
  }
  int Register(const std::string& reading, const std::string& word, unsigned mode = 0, bool silent = false) {
    dic::DicRequest r;
    r.reading = reading;
    r.word = word;
    return RegisterUserWord(user.engine, silent ? nullptr : &dialog, r, mode);
  }
  int Delete(const std::string& reading, const std::string& word, unsigned mode = 0, bool silent = false) {
    dic::DicRequest r;
    r.reading = reading;
    r.word = word;
    return DeleteUserWord(user.engine, silent ? nullptr : &dialog, r, mode);
  }
  std::string Check() { return dic::DicCheckImage(Bytes()); }
};

struct Refusal {
  const char* name;
  std::function<void(UserDic&)> before;  // what the file holds first
  std::string reading;
  std::string word;
  unsigned mode;
  const char* box;  // the refusal shown in the dialog, null: accepted
};

const std::string kReading = Gm(0, 2);

void Fill(UserDic& u, int n, uint8_t kind = dic::kKindUserWord) {
  for (int i = 0; i < n; ++i) ASSERT_EQ(u.user.Add(kReading, Word(i), kind), 0) << i;
}

const Refusal kRefusals[] = {
    {"reading starting with a digit", nullptr, "1" + Gm(0), Word(1), 0, kBadReadingText},
    {"reading starting with 0", nullptr, "0", Word(1), 0, kBadReadingText},
    {"empty reading", nullptr, "", Word(1), 0, kBadReadingText},
    {"reading of 33 bytes", nullptr, Gm(0, 16) + "A", Word(1), 0, kBadReadingText},
    {"empty word", nullptr, kReading, "", 0, kBadWordText},
    {"word of 17 bytes", nullptr, kReading, std::string(17, 'w'), 0, kBadWordText},
    {"the same pair again", [](UserDic& u) { Fill(u, 3); }, kReading, Word(1), 0, kSameWordText},
    {"the 129th word of a reading", [](UserDic& u) { Fill(u, 128); }, kReading, Word(500), 0, kTooManyWordsText},
    {"the 129th word of the alternative mode", [](UserDic& u) { Fill(u, 128, dic::kKindUserWordAlt); }, kReading,
     Word(500), kAlt, kTooManyWordsText},
    // Accepted: what does not count against the limit, or is no duplicate.
    {"128 words of which one deleted",
     [](UserDic& u) {
       Fill(u, 128);
       ASSERT_EQ(u.user.Delete(kReading, Word(7)), 0);
     },
     kReading, Word(500), 0, nullptr},
    {"128 words of the other mode", [](UserDic& u) { Fill(u, 128, dic::kKindUserWordAlt); }, kReading, Word(500), 0,
     nullptr},
    {"127 words", [](UserDic& u) { Fill(u, 127); }, kReading, Word(500), 0, nullptr},
    {"a deleted word registered again",
     [](UserDic& u) {
       Fill(u, 2);
       ASSERT_EQ(u.user.Delete(kReading, Word(1)), 0);
     },
     kReading, Word(1), 0, nullptr},
    {"the same word in the other mode", [](UserDic& u) { Fill(u, 2, dic::kKindUserWordAlt); }, kReading, Word(1), 0,
     nullptr},
    {"a reading of 32 bytes and a word of 16", nullptr, Gm(0, 16), std::string(16, 'w'), 0, nullptr},
    {"a reading with letters and digits after its first byte", nullptr, "A1" + Gm(3), Word(1), 0, nullptr},
};

TEST(RegisterUserWord, ChecksOfANewPair) {
  for (const Refusal& c : kRefusals) {
    SCOPED_TRACE(c.name);
    UserDic u;
    if (c.before) c.before(u);
    if (::testing::Test::HasFatalFailure()) return;
    const std::vector<uint8_t> before = u.Bytes();
    const size_t stored = c.box ? 0 : u.user.Words(c.reading, c.mode).size();
    const int rc = u.Register(c.reading, c.word, c.mode);
    if (c.box) {
      EXPECT_EQ(rc, kUserWordFailed);
      EXPECT_EQ(u.dialog.boxes, std::vector<std::string>{c.box});
      EXPECT_EQ(u.dialog.flags, std::vector<unsigned>{kMbIconExclamation});
      EXPECT_TRUE(u.dialog.questions.empty()) << "a refused pair is not asked about";
      EXPECT_TRUE(u.Bytes() == before) << "a refusal leaves the file byte for byte as it was";
      // The silent road refuses the same, showing nothing.
      u.dialog.boxes.clear();
      EXPECT_EQ(u.Register(c.reading, c.word, c.mode, true), kUserWordFailed);
      EXPECT_TRUE(u.dialog.boxes.empty());
      EXPECT_TRUE(u.Bytes() == before);
    } else {
      EXPECT_EQ(rc, kUserWordDone);
      EXPECT_TRUE(u.dialog.boxes.empty());
      ASSERT_EQ(u.dialog.questions, std::vector<std::string>{kRegisterQuestion});
      EXPECT_EQ(u.dialog.captions, std::vector<std::string>{kWordDialogCaption});
      EXPECT_EQ(u.dialog.flags, std::vector<unsigned>{kMbYesNo | kMbIconQuestion});
      std::vector<std::string> now = u.user.Words(c.reading, c.mode);
      ASSERT_FALSE(now.empty());
      EXPECT_EQ(now.front(), c.word) << "the new word comes first";
      EXPECT_EQ(now.size(), stored + 1);
      EXPECT_EQ(u.Check(), "");
    }
    EXPECT_TRUE(u.user.feedback.boxes.empty()) << "no dictionary error";
  }
}

TEST(RegisterUserWord, DecliningChangesNothingAndReturnsZero) {
  UserDic u;
  Fill(u, 2);
  const std::vector<uint8_t> before = u.Bytes();
  u.dialog.answer = 7;  // IDNO
  EXPECT_EQ(u.Register(kReading, Word(9)), 0);
  EXPECT_TRUE(u.Bytes() == before);
  u.dialog.answer = 2;  // the box closed some other way
  EXPECT_EQ(u.Register(kReading, Word(9)), 0);
  EXPECT_TRUE(u.Bytes() == before);
  EXPECT_EQ(u.dialog.questions.size(), 2u);
  EXPECT_TRUE(u.dialog.boxes.empty());
}

// The kind follows the conversion mode, and the word is offered only there.
TEST(RegisterUserWord, KindOfTheConversionMode) {
  UserDic u;
  ASSERT_EQ(u.Register(kReading, Word(1), 0), kUserWordDone);
  ASSERT_EQ(u.Register(kReading, Word(2), kAlt | 0x19), kUserWordDone);
  std::vector<dic::DicEntry> entries;
  ASSERT_EQ(dic::DicCheckImage(u.Bytes(), &entries), "");
  ASSERT_EQ(entries.size(), 2u);
  for (const dic::DicEntry& e : entries) {
    EXPECT_EQ(e.kind, e.word == Word(1) ? dic::kKindUserWord : dic::kKindUserWordAlt) << e.word;
    EXPECT_EQ(e.value, 0);
    EXPECT_EQ(e.state, ' ');
  }
  EXPECT_EQ(u.user.Words(kReading, 0x19), std::vector<std::string>{Word(1)});
  EXPECT_EQ(u.user.Words(kReading, kAlt), std::vector<std::string>{Word(2)});
  EXPECT_EQ(ListUserWords(u.user.engine, kReading, kAlt), std::vector<std::string>{Word(2)});
}

// While the question is open the file is free; the pair is checked again
// afterwards, so another process's registration in between is no duplicate.
TEST(RegisterUserWord, FileIsFreeWhileAskingAndCheckedAgain) {
  UserDic u;
  DicUser other(PlatformBlockFiles());
  ASSERT_EQ(other.engine.DicOpen(u.path), 0);
  u.dialog.whileAsking = [&] { EXPECT_EQ(other.Add(kReading, Word(1)), 0); };
  EXPECT_EQ(u.Register(kReading, Word(1)), kUserWordFailed);
  EXPECT_EQ(u.dialog.boxes, std::vector<std::string>{kSameWordText});
  EXPECT_EQ(u.user.Words(kReading), std::vector<std::string>{Word(1)});
  EXPECT_TRUE(other.feedback.boxes.empty());
}

TEST(RegisterUserWord, ReadOnlySlotIsRefusedWithoutTouchingTheFile) {
  UserDic u;
  DicUser reader(PlatformBlockFiles(), 1);
  ASSERT_EQ(reader.engine.DicOpen(u.path), 0);
  const std::vector<uint8_t> before = u.Bytes();
  dic::DicRequest r;
  r.reading = kReading;
  r.word = Word(1);
  EXPECT_EQ(RegisterUserWord(reader.engine, &u.dialog, r, 0), kUserWordFailed);
  EXPECT_EQ(DeleteUserWord(reader.engine, &u.dialog, r, 0), kUserWordFailed);
  EXPECT_TRUE(u.dialog.questions.empty());
  EXPECT_TRUE(u.Bytes() == before);
}

TEST(DeleteUserWord, ResultsAndTheListAfterwards) {
  UserDic u;
  Fill(u, 3);
  const std::vector<uint8_t> before = u.Bytes();
  struct Case {
    const char* name;
    std::string reading, word;
    int result;
    const char* box;
  } cases[] = {
      {"reading starting with a digit", "9", Word(1), kUserWordBadReading, kBadReadingText},
      {"empty reading", "", Word(1), kUserWordBadReading, kBadReadingText},
      {"empty word", kReading, "", kUserWordBadWord, kBadWordText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    u.dialog.boxes.clear();
    u.dialog.questions.clear();
    EXPECT_EQ(u.Delete(c.reading, c.word), c.result);
    EXPECT_EQ(u.dialog.boxes, std::vector<std::string>{c.box});
    EXPECT_TRUE(u.dialog.questions.empty());
    EXPECT_TRUE(u.Bytes() == before);
  }
  u.dialog.boxes.clear();
  u.dialog.answer = 7;
  EXPECT_EQ(u.Delete(kReading, Word(1)), 0);  // declined
  EXPECT_TRUE(u.Bytes() == before);
  EXPECT_EQ(u.dialog.questions.back(), kDeleteQuestion);

  u.dialog.answer = kIdYes;
  EXPECT_EQ(u.Delete(kReading, Word(9)), kUserWordDeleteFailed);  // not stored
  EXPECT_EQ(u.dialog.boxes, std::vector<std::string>{kDeleteFailedText});
  EXPECT_TRUE(u.Bytes() == before);

  u.dialog.boxes.clear();
  EXPECT_EQ(u.Delete(kReading, Word(1)), kUserWordDone);
  EXPECT_TRUE(u.dialog.boxes.empty());
  EXPECT_EQ(ListUserWords(u.user.engine, kReading, 0), (std::vector<std::string>{Word(2), Word(0)}));
  EXPECT_EQ(u.Check(), "");
  // The word of the other mode is not the one deleted.
  EXPECT_EQ(u.Delete(kReading, Word(2), kAlt, true), kUserWordDeleteFailed);
  EXPECT_TRUE(u.dialog.boxes.empty()) << "the silent road shows nothing";
}

// The file is not held while the question is open, and the delete begins
// dictionary access again afterwards.
TEST(DeleteUserWord, FileIsFreeWhileAskingAndAccessBeginsAgain) {
  UserDic u;
  Fill(u, 2);
  DicUser other(PlatformBlockFiles());
  ASSERT_EQ(other.engine.DicOpen(u.path), 0);
  u.dialog.whileAsking = [&] {
    EXPECT_EQ(u.user.engine.State(), dic::kSlotClosed);
    EXPECT_EQ(other.Add(Gm(5), Word(5)), 0);  // writes while the question is open
  };
  EXPECT_EQ(u.Delete(kReading, Word(0)), kUserWordDone);
  EXPECT_EQ(u.user.engine.State(), dic::kSlotClosed);
  EXPECT_EQ(other.Words(kReading), std::vector<std::string>{Word(1)});
  EXPECT_EQ(other.Words(Gm(5)), std::vector<std::string>{Word(5)});
  EXPECT_EQ(u.Check(), "");
  EXPECT_TRUE(u.user.feedback.boxes.empty());
}

TEST(ListUserWords, AtMost128WordsInConversionOrder) {
  UserDic u;
  Fill(u, 130 - 2);
  ASSERT_EQ(u.user.Add(kReading, Word(200), dic::kKindBothModes), 0);
  ASSERT_EQ(u.user.Add(kReading, Word(201), dic::kKindBothModes), 0);
  const std::vector<std::string> words = ListUserWords(u.user.engine, kReading, 0);
  ASSERT_EQ(words.size(), 128u);
  EXPECT_EQ(words[0], Word(201));
  EXPECT_EQ(words[1], Word(200));
  EXPECT_EQ(words[2], Word(127));
  EXPECT_EQ(u.user.engine.State(), dic::kSlotClosed);
  EXPECT_TRUE(ListUserWords(u.user.engine, Gm(9), 0).empty());
}

}  // namespace
}  // namespace ime

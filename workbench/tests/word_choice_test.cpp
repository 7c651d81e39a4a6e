#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "candidate_list_rules.h"
#include "fake_user_dic_engine.h"
#include "fixtures.h"
#include "word_choice.h"

namespace {

using namespace workbench::choice;
namespace cand = workbench::candidates;

std::string Bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s.push_back(static_cast<char>(b));
  return s;
}

// The GM code of a KS X 1001 pair: the Shift-JIS arithmetic over the KS
// row and cell (the Hangul rows are not among the rows GM V3 moves).
std::string GmOf(const std::string& ks) {
  std::string out;
  for (std::size_t i = 0; i + 1 < ks.size(); i += 2) {
    const int row = static_cast<uint8_t>(ks[i]) - 0xA0, cell = static_cast<uint8_t>(ks[i + 1]) - 0xA0;
    const int lead = ((row - 1) >> 1) + (row <= 62 ? 0x81 : 0xC1);
    const int trail = row % 2 ? cell + 0x3F + (cell >= 64 ? 1 : 0) : cell + 0x9E;
    out.push_back(static_cast<char>(lead));
    out.push_back(static_cast<char>(trail));
  }
  return out;
}

const std::string kHakseng = Bytes({0xC7, 0xD0, 0xBB, 0xFD});  // 학생
const std::string kJeoneun = Bytes({0xC0, 0xFA, 0xB4, 0xC2});  // 저는
const std::string kOda = Bytes({0xBF, 0xC0, 0xB4, 0xD9});      // 오다

Record MakeRecord(const std::string& ks, int dictionary, uint8_t type = 6, uint8_t subtype = 1, uint8_t third = 0) {
  // Laid out by the record's offsets, as the engine fills it.
  std::array<uint8_t, lomi::kCandidateSize> b{};
  std::memcpy(b.data() + lomi::kCandidateKorean, ks.data(), ks.size());
  for (int i = 0; i < 9; ++i) b[lomi::kCandidateCarried + i] = static_cast<uint8_t>(0x31 + i);
  b[lomi::kCandidatePartOfSpeech] = type;
  b[lomi::kCandidatePartOfSpeech + 1] = subtype;
  b[lomi::kCandidatePartOfSpeech + 2] = third;
  b[lomi::kCandidateDictionary] = static_cast<uint8_t>(dictionary);
  Record r;
  std::memcpy(&r, b.data(), sizeof r);
  return r;
}

// An engine with candidates per dictionary; order changes are logged and
// answered from a script (0 when the script is empty), and the engine
// scribbles over the array it is given, as an engine may.
struct FakeEngine : workbench_test::FakeUserDicEngine {
  std::map<int, std::vector<Record>> dictionaries;
  struct Call {
    char digit;
    int count, index, to;
    std::string moved;  // the translation of records[index]
  };
  std::vector<Call> calls;
  std::vector<int> answers;

  int ReadCandidates(const std::string&, int dictionary, Record* records, int capacity) override {
    const auto& list = dictionaries[dictionary];
    if (capacity == 0) return static_cast<int>(list.size());
    const int n = std::min(capacity, static_cast<int>(list.size()));
    std::memcpy(records, list.data(), static_cast<std::size_t>(n) * sizeof(Record));
    return static_cast<int>(list.size());
  }
  int OrderChange(char digit, Record* records, int count, int index, int to) override {
    calls.push_back({digit, count, index, to, RecordKorean(records[index])});
    std::memset(records, 0xEE, static_cast<std::size_t>(count) * sizeof(Record));
    int answer = 0;
    if (!answers.empty()) {
      answer = answers.front();
      answers.erase(answers.begin());
    }
    return answer;
  }
};

std::string Word(char c) { return std::string("\xB0") + c; }  // distinct KS-looking words

TEST(CandidateGroups, UserRowsComeFirstAndTheBoundariesCountThem) {
  FakeEngine engine;
  engine.dictionaries[4] = {MakeRecord(Word('\xA1'), 4), MakeRecord(Word('\xA2'), 4), MakeRecord(Word('\xA3'), 4)};
  engine.dictionaries[1] = {MakeRecord(Word('\xB1'), 1), MakeRecord(Word('\xB2'), 1)};
  Candidates c(engine);
  ASSERT_TRUE(c.LookUp("x"));
  ASSERT_EQ(c.RowCount(), 5);
  EXPECT_EQ(c.Boundaries(), (std::array<int32_t, 4>{0, 2, 2, 5}));
  EXPECT_EQ(RecordKorean(*c.RowRecord(0)), Word('\xB1'));
  EXPECT_EQ(RecordKorean(*c.RowRecord(2)), Word('\xA1'));
  EXPECT_EQ(c.GroupOf(1), 1);
  EXPECT_EQ(c.GroupOf(2), 3);
  EXPECT_EQ(c.IndexInGroup(4), 2);
  EXPECT_EQ(c.RowRecord(5), nullptr);
  EXPECT_EQ(c.RowOf(Word('\xA2')), 3);
  EXPECT_EQ(c.RowOf(Word('\xC9')), -1);
  // The list's colours follow the groups: user 2 pale yellow, system violet.
  const cand::GroupBoundaries b = {0, 2, 2, 5};
  EXPECT_EQ(cand::GroupRowColour(1, b), (cand::Rgb{250, 250, 210}));
  EXPECT_EQ(cand::GroupRowColour(2, b), (cand::Rgb{238, 210, 238}));
}

TEST(CandidateGroups, AWordFoundNowhereGivesNoRows) {
  FakeEngine engine;
  Candidates c(engine);
  ASSERT_TRUE(c.LookUp("x"));
  EXPECT_EQ(c.RowCount(), 0);
  EXPECT_EQ(c.Boundaries(), (std::array<int32_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(c.Move(-1, true).kind, MoveOutcome::kBeep);
}

class Moves : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.dictionaries[0] = {MakeRecord(Word('\xA1'), 0), MakeRecord(Word('\xA2'), 0)};
    engine.dictionaries[1] = {MakeRecord(Word('\xB1'), 1), MakeRecord(Word('\xB2'), 1), MakeRecord(Word('\xB3'), 1)};
    engine.dictionaries[4] = {MakeRecord(Word('\xC1'), 4), MakeRecord(Word('\xC2'), 4), MakeRecord(Word('\xC3'), 4)};
    ASSERT_TRUE(c.LookUp("x"));
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> out;
    for (int r = 0; r < c.RowCount(); ++r) out.push_back(RecordKorean(*c.RowRecord(r)));
    return out;
  }
  FakeEngine engine;
  Candidates c{engine};
};

TEST_F(Moves, WithinOneDictionaryTheEngineGetsItsIndexesAndTheRecordMovesWithItsRow) {
  // Row 3 is user dictionary 2's second candidate.
  const MoveOutcome up = c.Move(3, true);
  ASSERT_EQ(up.kind, MoveOutcome::kMoved);
  EXPECT_EQ(up.row, 2);
  ASSERT_EQ(engine.calls.size(), 1u);
  EXPECT_EQ(engine.calls[0].digit, '1');
  EXPECT_EQ(engine.calls[0].count, 3);
  EXPECT_EQ(engine.calls[0].index, 1);
  EXPECT_EQ(engine.calls[0].to, 0);
  EXPECT_EQ(engine.calls[0].moved, Word('\xB2'));
  const std::vector<std::string> expected = {Word('\xA1'), Word('\xA2'), Word('\xB2'), Word('\xB1'),
                                             Word('\xB3'), Word('\xC1'), Word('\xC2'), Word('\xC3')};
  EXPECT_EQ(Rows(), expected);

  // Down in the system dictionary: digit '4', index within it.
  const MoveOutcome down = c.Move(5, false);
  ASSERT_EQ(down.kind, MoveOutcome::kMoved);
  EXPECT_EQ(down.row, 6);
  EXPECT_EQ(engine.calls[1].digit, '4');
  EXPECT_EQ(engine.calls[1].index, 0);
  EXPECT_EQ(engine.calls[1].to, 1);
  EXPECT_EQ(RecordKorean(*c.RowRecord(6)), Word('\xC1'));
}

TEST_F(Moves, MoveThenReplaceWritesTheMovedCandidate) {
  ASSERT_EQ(c.Move(4, true).kind, MoveOutcome::kMoved);  // B3 now in row 3
  std::vector<uint8_t> table(3 * lomi::kEntrySize, 0);
  ASSERT_TRUE(WriteCandidate(table, 1, *c.RowRecord(3), codeconv::test::GeneratedConverter()));
  const char* data = reinterpret_cast<const char*>(table.data() + lomi::kEntrySize + lomi::kWordData);
  EXPECT_EQ(std::string(data), GmOf(Word('\xB3')));
}

TEST_F(Moves, EdgesAndOtherDictionariesAskNothingOfTheEngine) {
  EXPECT_EQ(c.Move(-1, true).kind, MoveOutcome::kBeep);   // no selection
  EXPECT_EQ(c.Move(0, true).kind, MoveOutcome::kBeep);    // up on the first row
  EXPECT_EQ(c.Move(7, false).kind, MoveOutcome::kBeep);   // down on the last row
  EXPECT_EQ(c.Move(8, true).kind, MoveOutcome::kBeep);    // no such row
  // The first candidate of user dictionary 2 under user dictionary 1's last.
  EXPECT_EQ(c.Move(2, true).kind, MoveOutcome::kOtherDictionary);
  EXPECT_EQ(c.Move(4, false).kind, MoveOutcome::kOtherDictionary);
  EXPECT_TRUE(engine.calls.empty());
}

TEST_F(Moves, ARefusedMoveLeavesTheRows) {
  const std::vector<std::string> before = Rows();
  engine.answers = {-12};
  const MoveOutcome out = c.Move(6, true);
  EXPECT_EQ(out.kind, MoveOutcome::kRefused);
  EXPECT_EQ(out.code, -12);
  EXPECT_EQ(Rows(), before);
  engine.answers = {3};  // a positive result counts as moved
  EXPECT_EQ(c.Move(6, true).kind, MoveOutcome::kMoved);
}

TEST_F(Moves, LearningMovesTheThirdSystemCandidateToTheTopInTwoSteps) {
  const MoveOutcome out = c.Learn(7);
  ASSERT_EQ(out.kind, MoveOutcome::kMoved);
  EXPECT_EQ(out.row, 5);
  ASSERT_EQ(engine.calls.size(), 2u);
  EXPECT_EQ(engine.calls[0].index, 2);
  EXPECT_EQ(engine.calls[0].to, 1);
  EXPECT_EQ(engine.calls[1].index, 1);
  EXPECT_EQ(engine.calls[1].to, 0);
  EXPECT_EQ(engine.calls[1].moved, Word('\xC3'));
  EXPECT_EQ(RecordKorean(*c.RowRecord(5)), Word('\xC3'));
  // The first of its dictionary needs no change.
  EXPECT_EQ(c.Learn(2).row, 2);
  EXPECT_EQ(engine.calls.size(), 2u);
}

TEST_F(Moves, LearningStopsAtARefusal) {
  engine.answers = {0, -13};
  const MoveOutcome out = c.Learn(7);
  EXPECT_EQ(out.kind, MoveOutcome::kRefused);
  EXPECT_EQ(out.code, -13);
  EXPECT_EQ(engine.calls.size(), 2u);
  EXPECT_EQ(RecordKorean(*c.RowRecord(6)), Word('\xC3'));  // the first step stays done
}

TEST(FixedVerbs, FourVerbsHaveTheirKoreanWords) {
  const struct {
    std::string sjis, ks;
  } cases[] = {
      {Bytes({0x82, 0xAD, 0x82, 0xE9}), kOda},                                          // くる
      {Bytes({0x97, 0x88, 0x82, 0xE9}), kOda},                                          // 来る
      {Bytes({0x82, 0xB7, 0x82, 0xE9}), Bytes({0xC7, 0xCF, 0xB4, 0xD9})},               // する 하다
      {Bytes({0x82, 0xB8, 0x82, 0xE9}), Bytes({0xBE, 0xEE, 0xB1, 0xDF, 0xB3, 0xAA, 0xB4, 0xD9})},  // ずる 어긋나다
  };
  for (const auto& c : cases) EXPECT_EQ(FixedVerbKorean(c.sjis), c.ks);
  EXPECT_FALSE(FixedVerbKorean(Bytes({0x8A, 0x77, 0x90, 0xB6})));  // 学生
  EXPECT_FALSE(FixedVerbKorean(Bytes({0x82, 0xAD})));              // く
}

TEST(SearchWord, TrimmedWidenedAndCutToFortyBytes) {
  const auto& gm = codeconv::test::GeneratedConverter();
  bool cut = true;
  EXPECT_EQ(SearchWord("  \x8A\x77\x90\xB6 ", gm, &cut), Bytes({0x8A, 0x77, 0x90, 0xB6}));
  EXPECT_FALSE(cut);
  EXPECT_EQ(SearchWord("AB", gm, &cut), Bytes({0x82, 0x60, 0x82, 0x61}));  // ＡＢ
  // 20 kanji and a digit: 41 bytes typed, 42 widened, 40 kept.
  std::string typed;
  for (int i = 0; i < 20; ++i) typed += "\x8A\x77";
  typed += "1";
  const std::string word = SearchWord(typed, gm, &cut);
  EXPECT_TRUE(cut);
  EXPECT_EQ(word, typed.substr(0, 40));
}

// A table of one translation: 私は学生です / 저는 학생입니다, entry 1 for
// 私は - 저는, entry 2 for 学生 - 학생 (its own data).
std::vector<uint8_t> MakeTable() {
  std::vector<uint8_t> t(4 * lomi::kEntrySize, 0);
  auto put = [&](std::size_t entry, std::size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i) t[entry * lomi::kEntrySize + offset + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  put(0, 0, 2);
  put(1, lomi::kKoreanOffset, 0), put(1, lomi::kKoreanLength, 4), put(1, lomi::kJapaneseOffset, 0),
      put(1, lomi::kJapaneseLength, 4), put(1, lomi::kDataIndex, 1);
  put(2, lomi::kKoreanOffset, 5), put(2, lomi::kKoreanLength, 4), put(2, lomi::kJapaneseOffset, 4),
      put(2, lomi::kJapaneseLength, 4), put(2, lomi::kDataIndex, 2);
  const std::string gm1 = GmOf(kJeoneun), gm2 = GmOf(kHakseng);
  std::memcpy(t.data() + lomi::kEntrySize + lomi::kWordData, gm1.data(), gm1.size());
  std::memcpy(t.data() + 2 * lomi::kEntrySize + lomi::kWordData, gm2.data(), gm2.size());
  for (int i = 0; i < 9; ++i) {
    t[2 * lomi::kEntrySize + lomi::kWordAttributes + i] = static_cast<uint8_t>(0x61 + i);
    t[2 * lomi::kEntrySize + lomi::kPartOfSpeech + i] = static_cast<uint8_t>(0x71 + i);
  }
  return t;
}

const std::string kJapanese = Bytes({0x8E, 0x84, 0x82, 0xCD, 0x8A, 0x77, 0x90, 0xB6, 0x82, 0xC5, 0x82, 0xB7});
// 저는 학생입니다 in KS code (the pane's line in KS mode).
const std::string kKoreanLine =
    kJeoneun + " " + kHakseng + Bytes({0xC0, 0xD4, 0xB4, 0xCF, 0xB4, 0xD9});

TEST(WordPair, AJapaneseSelectionOfExactlyOneWordIsAPair) {
  auto table = workbench::AlignmentTable::Read(MakeTable(), kJapanese.size(), kKoreanLine.size());
  ASSERT_TRUE(table);
  const auto& gm = codeconv::test::GeneratedConverter();
  const WordPair pair = MakeWordPair(&*table, kJapanese, kKoreanLine, true, 4, 8, gm);
  ASSERT_FALSE(pair.noPair);
  EXPECT_EQ(pair.japanese, Bytes({0x8A, 0x77, 0x90, 0xB6}));
  EXPECT_EQ(pair.korean, kHakseng);  // from the entry's word data, in KS code
  EXPECT_EQ(pair.info.table, &*table);
  EXPECT_EQ(pair.info.entryIndex, 2);
  EXPECT_EQ(pair.info.attributes[0], 0x61);
  EXPECT_EQ(pair.info.attributes[8], 0x69);
  EXPECT_EQ(pair.info.partOfSpeech[8], 0x79);
  EXPECT_EQ(std::string(pair.info.wordData), GmOf(kHakseng));

  // One byte more or less: look-up only, with the selection as the word.
  for (auto [start, end] : {std::pair{4, 9}, std::pair{4, 7}, std::pair{3, 8}}) {
    const WordPair other = MakeWordPair(&*table, kJapanese, kKoreanLine, true, start, end, gm);
    EXPECT_TRUE(other.noPair) << start << "-" << end;
    EXPECT_EQ(other.japanese, kJapanese.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
    EXPECT_EQ(other.info.table, nullptr);
  }
  EXPECT_TRUE(MakeWordPair(&*table, kJapanese, kKoreanLine, true, -1, 4, gm).noPair);
  EXPECT_TRUE(MakeWordPair(nullptr, kJapanese, kKoreanLine, true, 4, 8, gm).noPair);
}

TEST(WordPair, TheKoreanPanesRangeFindsItsJapaneseWord) {
  auto table = workbench::AlignmentTable::Read(MakeTable(), kJapanese.size(), kKoreanLine.size());
  ASSERT_TRUE(table);
  const auto& gm = codeconv::test::GeneratedConverter();
  const WordPair pair = MakeWordPair(&*table, kJapanese, kKoreanLine, false, 0, 4, gm);
  ASSERT_FALSE(pair.noPair);
  EXPECT_EQ(pair.japanese, Bytes({0x8E, 0x84, 0x82, 0xCD}));
  EXPECT_EQ(pair.korean, kJeoneun);
  EXPECT_EQ(pair.info.entryIndex, 1);
  const WordPair none = MakeWordPair(&*table, kJapanese, kKoreanLine, false, 0, 5, gm);
  EXPECT_TRUE(none.noPair);
  EXPECT_TRUE(none.japanese.empty());
}

TEST(Replacement, TheCandidateGoesIntoTheEntryInGmCode) {
  std::vector<uint8_t> table = MakeTable();
  const std::vector<uint8_t> before = table;
  const Record r = MakeRecord(kOda, 4, 2, 7, 0xE5);
  const auto& gm = codeconv::test::GeneratedConverter();
  ASSERT_TRUE(WriteCandidate(table, 2, r, gm));
  const uint8_t* e = table.data() + 2 * lomi::kEntrySize;
  const std::string gmOda = GmOf(kOda);
  EXPECT_EQ(std::memcmp(e + 24, gmOda.data(), gmOda.size()), 0);
  for (std::size_t i = 24 + gmOda.size(); i < 124; ++i) EXPECT_EQ(e[i], 0) << i;  // no tail of the old word
  for (int i = 0; i < 8; ++i) EXPECT_EQ(e[166 + i], 0x31 + i);
  EXPECT_EQ(e[174], 0x39);
  EXPECT_EQ(e[244], 2);
  EXPECT_EQ(e[245], 7);
  EXPECT_EQ(e[246], 0xE5);
  EXPECT_EQ(e[247], 0x74);  // the bytes after the three stay
  // Every byte outside those fields is untouched.
  for (std::size_t i = 0; i < table.size(); ++i) {
    const std::size_t o = i - 2 * lomi::kEntrySize;
    const bool field = i >= 2 * lomi::kEntrySize && i < 3 * lomi::kEntrySize &&
                       ((o >= 24 && o < 124) || (o >= 166 && o <= 174) || (o >= 244 && o <= 246));
    if (!field) {
      EXPECT_EQ(table[i], before[i]) << i;
    }
  }
  // An index outside the table writes nothing.
  EXPECT_FALSE(WriteCandidate(table, 4, r, gm));
  EXPECT_FALSE(WriteCandidate(table, 0, r, gm));
  EXPECT_FALSE(WriteCandidate(table, -1, r, gm));
}

TEST(CandidateList, GroupColoursAtTheirBoundaries) {
  const cand::GroupBoundaries b = {3, 3, 5, 8};
  const cand::Rgb cyan{224, 255, 255}, yellow{255, 246, 143}, violet{238, 210, 238};
  const std::optional<cand::Rgb> expected[] = {cyan, cyan, cyan, yellow, yellow, violet, violet, violet, std::nullopt};
  for (int row = 0; row < 9; ++row) EXPECT_EQ(cand::GroupRowColour(row, b), expected[row]) << row;
  const cand::GroupBoundaries all = {1, 2, 3, 4};
  EXPECT_EQ(cand::GroupRowColour(1, all), (cand::Rgb{250, 250, 210}));
  const cand::GroupBoundaries none = {0, 0, 0, 0};
  EXPECT_EQ(cand::GroupRowColour(0, none), std::nullopt);
}

TEST(CandidateList, DrawStylesFontColumnAndSelection) {
  EXPECT_EQ(cand::AcceptDrawStyle(2, 3), 2);
  EXPECT_EQ(cand::AcceptDrawStyle(0, 1), 1);
  EXPECT_EQ(cand::AcceptDrawStyle(1, -1), 1);
  EXPECT_EQ(cand::AcceptFontColumn(-3), 0);
  EXPECT_EQ(cand::AcceptFontColumn(2), 2);
  const std::vector<std::string> texts = {"a", "b"};
  EXPECT_EQ(cand::FontColumnText(texts, 1), "b");
  EXPECT_EQ(cand::FontColumnText(texts, 2), "");
  EXPECT_EQ(cand::FontColumnText(texts, -1), "");
  // drop-highlighted, selected, focused, shows its selection always
  EXPECT_TRUE(cand::DrawsSelected(true, false, false, false));
  EXPECT_TRUE(cand::DrawsSelected(false, true, true, false));
  EXPECT_TRUE(cand::DrawsSelected(false, true, false, true));
  EXPECT_FALSE(cand::DrawsSelected(false, true, false, false));
  EXPECT_FALSE(cand::DrawsSelected(false, false, true, true));
  const cand::Box item{0, 10, 300, 26}, label{0, 10, 120, 26};
  EXPECT_EQ(cand::HighlightArea(0, item, label, 40, 6, 500), (cand::Box{0, 10, 52, 26}));
  EXPECT_EQ(cand::HighlightArea(0, item, label, 200, 6, 500), label);
  EXPECT_EQ(cand::HighlightArea(1, item, label, 40, 6, 500), item);
  EXPECT_EQ(cand::HighlightArea(2, item, label, 40, 6, 500), (cand::Box{0, 10, 500, 26}));
  EXPECT_EQ(cand::HighlightArea(2, item, label, 40, 6, 200), item);
}

}  // namespace

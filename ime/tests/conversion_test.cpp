#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "fake_context.h"
#include "key_tables.h"

namespace ime {
namespace {

using test::EngineFixture;

// KS bytes of UTF-16 text, and GM95 bytes of KS bytes.
std::string Ks(const std::u16string& u) { return codeconv::PlatformCodePages().FromUtf16(949, u); }
std::string Gm(const std::string& ks) {
  std::string out;
  for (size_t i = 0; i + 1 < ks.size(); i += 2) {
    codeconv::DbChar g = codeconv::KsCharToGm(codeconv::MakeDb(static_cast<uint8_t>(ks[i] & 0x7F), static_cast<uint8_t>(ks[i + 1])));
    out.push_back(static_cast<char>(codeconv::Lead(g)));
    out.push_back(static_cast<char>(codeconv::Trail(g)));
  }
  return out;
}
std::u16string Utf16(const std::string& ks) { return codeconv::PlatformCodePages().ToUtf16(949, ks); }

// The i-th hanja of KS X 1001 (rows 42-93), as KS bytes.
std::string Hanja(int i) {
  return {static_cast<char>(0xCA + i / 94), static_cast<char>(0xA1 + i % 94)};
}

class FakeDictionary : public HanjaDictionary {
 public:
  std::map<std::string, std::vector<std::string>> words;  // GM95 reading -> GM95 words
  bool available = true;
  int endAccess = 0;
  std::vector<std::pair<std::string, std::string>> learned;

  void Add(const std::u16string& reading, const std::string& wordKs) { words[Gm(Ks(reading))].push_back(Gm(wordKs)); }

  bool Available() override { return available; }
  bool Lookup(const std::string& reading, unsigned, std::string* word) override {
    auto it = words.find(reading);
    if (it == words.end() || it->second.empty()) return false;
    current_ = &it->second;
    next_ = 1;
    *word = it->second[0];
    return true;
  }
  bool LookupNext(std::string* word) override {
    if (!current_ || next_ >= current_->size()) return false;
    *word = (*current_)[next_++];
    return true;
  }
  bool Learn(const std::string& reading, const std::string& word, unsigned) override {
    learned.emplace_back(reading, word);
    auto& list = words[reading];
    auto it = std::find(list.begin(), list.end(), word);
    if (it == list.end()) return false;
    std::rotate(list.begin(), it, it + 1);
    return true;
  }
  void EndAccess() override {
    ++endAccess;
    current_ = nullptr;
  }

 private:
  std::vector<std::string>* current_ = nullptr;
  size_t next_ = 0;
};


struct ConversionFixture : EngineFixture {
  FakeDictionary dict;
  ConversionFixture() {
    settings.mikakuBytes = 64;
    engine.SetDictionary(&dict);
    dict.Add(u"한국", Ks(u"韓國"));
    dict.Add(u"한", Ks(u"韓"));
    dict.Add(u"한", Ks(u"漢"));
    dict.Add(u"한", Ks(u"寒"));
  }
  std::string Slot(uint32_t i) const {
    const char* p = reinterpret_cast<const char*>(ctx.cand.slots + i * kCandSlotSize);
    return std::string(p, strnlen(p, kCandSlotSize));
  }
  std::vector<uint8_t> Attrs() const { return {ctx.comp.compAttr, ctx.comp.compAttr + ctx.comp.h.dwCompAttrLen}; }
};

TEST(Conversion, LongestKnownPrefixBecomesTheFirstClause) {
  ConversionFixture f;
  f.Type("gksrnrdj");  // 한국어
  ASSERT_EQ(f.ctx.CompW(), u"한국어");
  f.ctx.sink.sent.clear();
  EXPECT_EQ(f.engine.ConvertToHanja(f.ctx.blocks), 1);
  EXPECT_EQ(f.ctx.CompW(), u"韓國어");
  EXPECT_EQ(f.ctx.ReadW(), u"한국어");
  EXPECT_EQ(f.Attrs(), (std::vector<uint8_t>{1, 1, 2}));
  EXPECT_EQ(f.ctx.comp.h.dwCompClauseLen, 12u);
  EXPECT_EQ(GetU32(f.ctx.comp.compClause + 4), 2u);
  EXPECT_EQ(GetU32(f.ctx.comp.compClause + 8), 3u);
  EXPECT_EQ(GetU32(f.ctx.comp.compReadClause + 4), 2u);
  EXPECT_EQ(f.ctx.comp.h.dwCursorPos, 0u);
  EXPECT_EQ(f.engine.savedCursorPos, 3u);
  ASSERT_EQ(f.ctx.sink.sent.size(), 1u);
  EXPECT_EQ(f.ctx.sink.sent[0].m, (ImeMessage{kWmImeComposition, 0, kGcsCompEight}));
}

TEST(Conversion, LongReadingUsesAtMost32Bytes) {
  ConversionFixture f;
  std::string keys;
  for (int i = 0; i < 20; ++i) keys += "gks";  // 20 x 한
  f.dict.Add(std::u16string(16, u'한'), Ks(u"韓"));
  f.Type(keys);
  EXPECT_EQ(f.engine.ConvertToHanja(f.ctx.blocks), 1);
  EXPECT_EQ(f.ctx.CompW(), u"韓" + std::u16string(4, u'한'));
  EXPECT_EQ(GetU32(f.ctx.comp.compReadClause + 4), 16u);
}

TEST(Conversion, UnknownFirstSyllableBeepsAndChangesNothing) {
  ConversionFixture f;
  f.Type("dj");  // 어
  f.ctx.sink.sent.clear();
  EXPECT_EQ(f.engine.ConvertToHanja(f.ctx.blocks), 0);
  EXPECT_EQ(f.ctx.CompW(), u"어");
  EXPECT_TRUE(f.ctx.sink.sent.empty());
  EXPECT_EQ(f.feedback.beeps, (std::vector<unsigned>{kBeepDefault}));
  EXPECT_EQ(f.dict.endAccess, 1);
}

TEST(Conversion, NoDictionaryBeeps) {
  ConversionFixture f;
  f.dict.available = false;
  f.Type("gks");
  EXPECT_EQ(f.engine.ConvertToHanja(f.ctx.blocks), 0);
  EXPECT_EQ(f.feedback.beeps.size(), 1u);
}

TEST(Conversion, SecondRequestOpensTheListOnTheSecondWord) {
  ConversionFixture f;
  f.Type("gks");
  f.Key(0x19);  // Hanja key: 韓
  EXPECT_EQ(f.ctx.CompW(), u"韓");
  f.ctx.sink.sent.clear();
  f.Key(0x19);  // opens the list
  ASSERT_TRUE(IsCandidateOpen(f.ctx.blocks));
  const CandListHeader& l = f.ctx.cand.list;
  EXPECT_EQ(f.ctx.cand.info.dwSize, kCandInfoSize);
  EXPECT_EQ(f.ctx.cand.info.dwCount, 1u);
  EXPECT_EQ(f.ctx.cand.info.dwOffset[0], 144u);
  EXPECT_EQ(l.dwSize, 2844u);
  EXPECT_EQ(l.dwStyle, 1u);
  EXPECT_EQ(l.dwCount, 3u);
  EXPECT_EQ(l.dwPageSize, 3u);
  EXPECT_EQ(l.dwSelection, 1u);
  EXPECT_EQ(l.dwOffset[2], 540u + 36u);
  EXPECT_EQ(f.Slot(1), Ks(u"漢"));
  EXPECT_EQ(f.ctx.CompW(), u"漢");
  std::vector<ImeMessage> expected{{kWmImeNotify, kImnOpenCandidate, 1},
                                   {kWmImeNotify, kImnChangeCandidate, 1},
                                   {kWmImeComposition, 0, kGcsCompEight}};
  EXPECT_EQ(f.ctx.sink.Messages(), expected);
}

TEST(Conversion, TwoHundredWordsGive128Candidates) {
  ConversionFixture f;
  f.dict.words.clear();
  for (int i = 0; i < 200; ++i) f.dict.Add(u"한", Hanja(i));
  f.Type("gks");
  f.Key(0x19);
  f.Key(0x19);
  ASSERT_EQ(f.ctx.cand.list.dwCount, static_cast<uint32_t>(kMaxCandidates));
  EXPECT_EQ(kMaxCandidates, 128);
  for (uint32_t i = 0; i < 128; ++i) ASSERT_EQ(f.Slot(i), Hanja(static_cast<int>(i))) << i;
  EXPECT_EQ(f.ctx.cand.tail[0], 0);  // nothing written past the last slot
}

TEST(Conversion, WordsLongerThanASlotAreLeftOut) {
  ConversionFixture f;
  f.dict.words.clear();
  std::string longWord;
  for (int i = 0; i < 9; ++i) longWord += Hanja(i);  // 18 bytes: no room for the terminator
  f.dict.Add(u"한", Hanja(0));
  f.dict.Add(u"한", longWord);
  f.dict.Add(u"한", Hanja(1));
  f.Type("gks");
  f.Key(0x19);
  f.Key(0x19);
  ASSERT_EQ(f.ctx.cand.list.dwCount, 2u);
  EXPECT_EQ(f.Slot(0), Hanja(0));
  EXPECT_EQ(f.Slot(1), Hanja(1));
  EXPECT_EQ(f.Slot(2), "");
}

TEST(Conversion, ConversionThatWouldOverflowTheCompositionBeeps) {
  ConversionFixture f;
  f.settings.mikakuBytes = 200;
  std::string keys;
  for (int i = 0; i < 54; ++i) keys += "gks";
  f.Type(keys);  // 54 syllables
  std::string word;
  for (int i = 0; i < 12; ++i) word += Hanja(i);
  f.dict.words[Gm(Ks(u"한"))] = {Gm(word)};  // 12 characters for one syllable: 65, the area holds 63
  f.ctx.sink.sent.clear();
  f.Key(0x25);
  for (int i = 0; i < 52; ++i) f.Key(0x25);  // cursor after the first syllable
  f.ctx.sink.sent.clear();
  EXPECT_EQ(f.engine.ConvertToHanja(f.ctx.blocks), 0);
  EXPECT_EQ(f.ctx.comp.h.dwCompStrLen, 54u);
  EXPECT_EQ(f.ctx.comp.compAttr[0], 0);
  EXPECT_TRUE(f.ctx.sink.sent.empty());
}

struct MoveCase {
  uint32_t count, sel, page;
  int move;
  int result;
  uint32_t newSel, newPage;
};

TEST(Conversion, MoveCandidateSelection) {
  const MoveCase cases[] = {
      {3, 2, 0, -1, 1, 0, 0},       // next wraps to the first
      {3, 2, 0, -5, 0, 2, 0},       // next without wrap stops
      {20, 8, 0, -1, 1, 9, 1},      // the page follows one by one
      {3, 0, 0, -2, 1, 2, 0},       // previous wraps to the last
      {20, 0, 0, -2, 1, 19, 11},
      {20, 0, 0, -6, 0, 0, 0},
      {20, 9, 9, -2, 1, 8, 8},
      {20, 3, 0, -3, 1, 12, 9},     // next page
      {20, 12, 9, -3, 1, 19, 11},   // past the last full page
      {5, 1, 0, -3, 1, 4, 0},
      {20, 19, 11, -3, 1, 19, 11},  // already last
      {20, 12, 4, -4, 1, 3, 0},     // previous page from the first page
      {20, 15, 11, -4, 1, 6, 2},
      {20, 0, 0, -4, 1, 0, 0},
      {128, 0, 0, 255, 1, 127, 119},  // scroll position
      {128, 0, 0, 128, 1, 64, 56},
      {20, 0, 9, 512 + 4, 1, 13, 9},  // fifth of the page
      {20, 0, 18, 512 + 4, 1, 0, 18},  // past the list: nothing
  };
  for (const MoveCase& c : cases) {
    ConversionFixture f;
    f.dict.words.clear();
    for (uint32_t i = 0; i < c.count; ++i) f.dict.Add(u"한", Hanja(static_cast<int>(i)));
    f.Type("gks");
    f.Key(0x19);
    f.Key(0x19);
    ASSERT_EQ(f.ctx.cand.list.dwCount, c.count);
    f.ctx.cand.list.dwSelection = c.sel;
    f.ctx.cand.list.dwPageStart = c.page;
    EXPECT_EQ(f.engine.MoveCandidateSelection(f.ctx.blocks, c.move), c.result) << c.move;
    EXPECT_EQ(f.ctx.cand.list.dwSelection, c.newSel) << "count " << c.count << " move " << c.move;
    EXPECT_EQ(f.ctx.cand.list.dwPageStart, c.newPage) << "count " << c.count << " move " << c.move;
    if (c.result == 1 && (c.sel != c.newSel)) {
      EXPECT_EQ(f.ctx.CompW(), Utf16(Hanja(static_cast<int>(c.newSel))));
    }
  }
}

TEST(Conversion, DigitOnTheSecondPageDeterminesThatCandidate) {
  ConversionFixture f;
  f.dict.words.clear();
  for (int i = 0; i < 20; ++i) f.dict.Add(u"한", Hanja(i));
  f.Type("gksrnr");  // 한국: 한 known, 국 stays behind
  f.Key(0x19);
  f.Key(0x19);
  f.Key(0x22);  // next page: start 9
  EXPECT_EQ(f.engine.DispatchEditKey(f.ctx.blocks, '5' | '5' << 8), 1);
  EXPECT_FALSE(IsCandidateOpen(f.ctx.blocks));
  EXPECT_EQ(f.ctx.ResultW(), Utf16(Hanja(13)) + u"국");
  EXPECT_EQ(f.ctx.comp.h.dwCompStrLen, 0u);
  ASSERT_EQ(f.dict.learned.size(), 1u);
  EXPECT_EQ(f.dict.learned[0].second, Gm(Hanja(13)));
}

TEST(Conversion, ThreeSetShiftedKeysStandForDigits) {
  ConversionFixture f;
  f.settings.inputMode = 2;
  f.dict.words.clear();
  for (int i = 0; i < 12; ++i) f.dict.Add(u"한", Hanja(i));
  f.Type("mfs");  // 3-set: ㅎ ㅏ ㄴ
  ASSERT_EQ(f.ctx.CompW(), u"한");
  f.Key(0x19);
  f.Key(0x19);
  f.settings.shiftHeld = true;
  f.engine.DispatchEditKey(f.ctx.blocks, 'K' | 'K' << 8);  // Shift+K: the fifth
  EXPECT_EQ(f.ctx.ResultW(), Utf16(Hanja(4)));
}

TEST(Conversion, LearningOnlyWithTheListOpenAndTheChoiceComesFirst) {
  ConversionFixture f;
  f.Type("gks");
  f.Key(0x19);
  f.Key(0x0D);  // determined without opening the list
  EXPECT_EQ(f.ctx.ResultW(), u"韓");
  EXPECT_TRUE(f.dict.learned.empty());

  f.Type("gks");
  f.Key(0x19);
  f.Key(0x19);  // list open on 漢
  f.Key(0x28);  // down: 寒
  f.Key(0x0D);
  EXPECT_EQ(f.ctx.ResultW(), u"寒");
  ASSERT_EQ(f.dict.learned.size(), 1u);
  f.Type("gks");
  f.Key(0x19);
  EXPECT_EQ(f.ctx.CompW(), u"寒");  // learned word first next time
}

TEST(Conversion, LearningOffLearnsNothing) {
  ConversionFixture f;
  f.settings.learning = false;
  f.Type("gks");
  f.Key(0x19);
  f.Key(0x19);
  f.Key(0x0D);
  EXPECT_TRUE(f.dict.learned.empty());
}

TEST(Conversion, EscTwiceReturnsToTheReadingThenCancels) {
  ConversionFixture f;
  f.Type("gksrnrdj");
  f.Key(0x25);  // cursor after 국
  f.Key(0x19);
  ASSERT_EQ(f.ctx.CompW(), u"韓國어");
  f.Key(0x19);  // no words for 한국 beyond the first: list of one
  ASSERT_TRUE(IsCandidateOpen(f.ctx.blocks));
  f.Key(0x1B);
  EXPECT_FALSE(IsCandidateOpen(f.ctx.blocks));
  EXPECT_EQ(f.ctx.CompW(), u"한국어");
  EXPECT_EQ(f.Attrs(), (std::vector<uint8_t>{0, 0, 0}));
  EXPECT_EQ(f.ctx.comp.h.dwCursorPos, 2u);  // where it was before the conversion
  f.Key(0x1B);
  EXPECT_EQ(f.ctx.comp.h.dwCompStrLen, 0u);
  EXPECT_EQ(f.ctx.sink.Messages().back(), (ImeMessage{kWmImeEndComposition, 0, 0}));
}

TEST(Conversion, RightCommitsTheFirstClauseOfATwoClauseConversion) {
  ConversionFixture f;
  f.Type("gksrnrdj");
  f.Key(0x19);
  f.ctx.sink.sent.clear();
  f.Key(0x27);
  EXPECT_EQ(f.ctx.ResultW(), u"韓國");
  EXPECT_EQ(f.ctx.CompW(), u"어");
  EXPECT_EQ(f.Attrs(), (std::vector<uint8_t>{0}));
  EXPECT_EQ(f.ctx.comp.h.dwCursorPos, 1u);
  EXPECT_EQ(f.ctx.sink.Messages().back(), (ImeMessage{kWmImeComposition, 0, kGcsCompEight | kGcsResultFour}));
}

TEST(Conversion, LetterWhileConvertedCommitsTheConversionFirst) {
  ConversionFixture f;
  f.Type("gks");
  f.Key(0x19);
  f.ctx.sink.sent.clear();
  f.Type("r");
  EXPECT_EQ(f.ctx.ResultW(), u"韓");
  EXPECT_EQ(f.ctx.CompW(), u"ㄱ");
  EXPECT_EQ(f.ctx.sink.Messages().back(), (ImeMessage{kWmImeComposition, 0, kGcsCompEight | kGcsResultFour}));
}

TEST(Conversion, AnsiKsInterfaceConvertsToo) {
  ConversionFixture f;
  f.settings.interfaceCodePage = 0;
  auto table = BuildReadingTable(1);
  ReadingTable rt;
  ASSERT_TRUE(rt.Load(table.data(), table.size(), 1));
  f.engine.SetReadingTable(&rt);
  f.Type("gksrnr");
  f.Key(0x19);
  EXPECT_EQ(f.ctx.CompA(), Ks(u"韓國"));
  EXPECT_EQ(f.ctx.comp.h.dwCompAttrLen, 4u);
}

// The application closes the list: the conversion stays, the next letter
// commits it and composes, and a second close is refused.
TEST(Conversion, NotifyCloseCandidateClosesTheListInTheRecord) {
  ConversionFixture f;
  f.Type("gks");
  f.Key(0x19);
  f.Key(0x19);  // list open on 漢
  ASSERT_TRUE(IsCandidateOpen(f.ctx.blocks));
  f.ctx.sink.sent.clear();
  EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, true, kNiCloseCandidate, 0, 0), 1);
  EXPECT_FALSE(IsCandidateOpen(f.ctx.blocks));
  EXPECT_EQ(f.ctx.sink.Messages(), (std::vector<ImeMessage>{{kWmImeNotify, kImnCloseCandidate, 1}}));
  EXPECT_EQ(f.ctx.CompW(), u"漢");
  EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, true, kNiCloseCandidate, 0, 0), 0);
  f.Type("r");
  EXPECT_EQ(f.ctx.ResultW(), u"漢");
  EXPECT_EQ(f.ctx.CompW(), u"\u3131");
}

// The application selects a candidate: the composition shows it, and Enter
// commits and learns that word.
TEST(Conversion, NotifySelectCandidateStrMovesTheComposition) {
  ConversionFixture f;
  f.Type("gks");
  f.Key(0x19);
  f.Key(0x19);  // list open on 漢 (index 1)
  f.ctx.sink.sent.clear();
  EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, true, kNiSelectCandidateStr, 1, 2), 1);
  EXPECT_EQ(f.ctx.cand.list.dwSelection, 2u);
  EXPECT_EQ(f.ctx.CompW(), u"寒");
  EXPECT_EQ(f.ctx.sink.Messages(), (std::vector<ImeMessage>{{kWmImeNotify, kImnChangeCandidate, 1},
                                                            {kWmImeComposition, 0, kGcsCompEight}}));
  EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, true, kNiSelectCandidateStr, 1, 3), 0);  // past the list
  EXPECT_EQ(f.ctx.CompW(), u"寒");
  f.Key(0x0D);
  EXPECT_EQ(f.ctx.ResultW(), u"寒");
  ASSERT_EQ(f.dict.learned.size(), 1u);
  EXPECT_EQ(f.dict.learned[0], std::make_pair(Gm(Ks(u"한")), Gm(Ks(u"寒"))));
}

// A selection beyond the first page moves the page so that it shows.
TEST(Conversion, NotifySelectCandidateStrMovesThePage) {
  ConversionFixture f;
  for (int i = 0; i < 20; ++i) f.dict.Add(u"가", Hanja(i));
  f.Type("rk");
  f.Key(0x19);
  f.Key(0x19);
  EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, true, kNiSelectCandidateStr, 1, 15), 1);
  EXPECT_EQ(f.ctx.cand.list.dwSelection, 15u);
  EXPECT_EQ(f.ctx.cand.list.dwPageStart, 7u);
  EXPECT_EQ(f.ctx.CompW(), Utf16(Hanja(15)));
}

TEST(Conversion, PageSizeZeroIsRefused) {
  ConversionFixture f;
  f.Type("gks");
  f.Key(0x19);
  f.Key(0x19);
  EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, true, kNiSetCandidatePageSize, 1, 0), 0);
  EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, true, kNiSetCandidatePageSize, 1, 2), 1);
  EXPECT_EQ(f.ctx.cand.list.dwPageSize, 2u);
}

}  // namespace
}  // namespace ime

namespace ime {
namespace {

struct VectorGuideline : GuidelineBlock {
  std::vector<uint8_t> bytes;
  uint8_t* Resize(size_t size) override {
    bytes.assign(size, 0xEE);
    return bytes.data();
  }
};

TEST(Guideline, WritesTheBlockAndNotifies) {
  test::EngineFixture f;
  VectorGuideline g;
  f.ctx.blocks.guideline = &g;
  std::string text = "\x89\xbc\x91\x7a\x83\x4c\x81\x5b\x83\x7b\x81\x5b\x83\x68";  // 仮想キーボード
  f.engine.SetGuideline(f.ctx.blocks, 0, text + std::string(30, 'x'));
  ASSERT_EQ(g.bytes.size(), 62u);
  EXPECT_EQ(GetU32(g.bytes.data()), 62u);
  EXPECT_EQ(GetU32(g.bytes.data() + 4), 4u);  // GL_LEVEL_INFORMATION
  EXPECT_EQ(GetU32(g.bytes.data() + 8), 0x8000u);
  EXPECT_EQ(GetU32(g.bytes.data() + 12), 32u);  // the text is cut to 32 bytes
  EXPECT_EQ(GetU32(g.bytes.data() + 16), 29u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(g.bytes.data() + 29), 14), text);
  EXPECT_EQ(g.bytes[61], 0);
  EXPECT_EQ(f.ctx.sink.Messages(), (std::vector<ImeMessage>{{kWmImeNotify, kImnGuideline, 0}}));
}

}  // namespace
}  // namespace ime

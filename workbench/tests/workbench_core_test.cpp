#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "workbench_core.h"

namespace {

using workbench::AlignmentTable;

TEST(StartArguments, CommandLineTable) {
  const struct {
    const char* line;
    bool starts;
    uint32_t notify, target;
    int code;
  } cases[] = {
      {" 1234 5678 1", true, 1234, 5678, 1},  // KS
      {" 1234 5678 2", true, 1234, 5678, 0},  // GM V3 is kept as 0
      {" 1234 0 1", true, 1234, 0, 1},        // no target window
      {" 1234 5678 0", false, 0, 0, 0},       // GM95: refused
      {"", false, 0, 0, 0},                   // no numbers: refused
      {" 1234 5678", false, 0, 0, 0},         // the code missing counts as 0
      {" -2 -3 1", true, 0xFFFFFFFEu, 0xFFFFFFFDu, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto a = workbench::ParseStartArguments(c.line);
    ASSERT_EQ(a.has_value(), c.starts);
    if (!a) continue;
    EXPECT_EQ(a->notifyWindow, c.notify);
    EXPECT_EQ(a->targetWindow, c.target);
    EXPECT_EQ(a->codeMode, c.code);
  }
}

TEST(JoinPath, AddsOneSeparatorOnlyWhenMissing) {
  EXPECT_EQ(workbench::JoinPath("C:\\Geul Maru", "Ombrel.exe"), "C:\\Geul Maru\\Ombrel.exe");
  EXPECT_EQ(workbench::JoinPath("C:\\Geul Maru\\", "Ombrel.exe"), "C:\\Geul Maru\\Ombrel.exe");
  EXPECT_EQ(workbench::JoinPath("", "speech.wav"), "speech.wav");
}

uint32_t Word(const void* base, std::size_t offset) {
  uint8_t b[4];
  std::memcpy(b, static_cast<const uint8_t*>(base) + offset, 4);
  return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}

TEST(TranslationConfig, ByteImage) {
  static_assert(sizeof(lomi::JKTransConfig) == 1852);
  const std::string empty[3];
  const std::string filled[3] = {"C:\\D\\DMUserdic", "", std::string(515, 'x')};
  const std::string tooLong[3] = {"", std::string(516, 'y'), ""};
  for (const auto* slots : {empty, filled, tooLong}) {
    const lomi::JKTransConfig c = workbench::MakeTranslationConfig(slots);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&c);
    // The option words at 1548-1580, reserved 1584, path 1588 (260), last 1848.
    const uint32_t options[9] = {1, 0, 0, 1, 1, 0, 0, 2, 0};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(Word(bytes, 1548 + 4 * i), options[i]) << i;
    EXPECT_EQ(Word(bytes, 1584), 0u);
    for (int i = 0; i < 260; ++i) ASSERT_EQ(bytes[1588 + i], 0) << i;
    EXPECT_EQ(Word(bytes, 1848), 1u);
    for (int s = 0; s < 3; ++s) {
      const std::string& want = slots[s].size() < 516 ? slots[s] : std::string();
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes + 516 * s)), want) << s;
      for (std::size_t i = want.size(); i < 516; ++i) ASSERT_EQ(bytes[516 * s + i], 0) << s << " " << i;
    }
  }
}

TEST(InputLength, LimitOf256Bytes) {
  EXPECT_EQ(workbench::CheckInputLength(0), workbench::InputCheck::kEmpty);
  EXPECT_EQ(workbench::CheckInputLength(256), workbench::InputCheck::kOk);
  EXPECT_EQ(workbench::CheckInputLength(257), workbench::InputCheck::kTooLong);
}

// A table as the engine lays it out: a header with n, then entries with
// (Korean offset, length, Japanese offset, length, data index).
std::vector<uint8_t> Table(std::size_t room, uint32_t n, const std::vector<std::array<uint32_t, 5>>& entries) {
  std::vector<uint8_t> t(room * lomi::kEntrySize, 0);
  auto put = [&](std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) t[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  put(0, n);
  for (std::size_t e = 0; e < entries.size() && e + 1 < room; ++e) {
    const std::size_t at = (e + 1) * lomi::kEntrySize;
    put(at + 0, entries[e][0]);
    put(at + 4, entries[e][1]);
    put(at + 8, entries[e][2]);
    put(at + 12, entries[e][3]);
    put(at + 16, entries[e][4]);
  }
  return t;
}

// 私は学生です (12 bytes) -> 저는 학생입니다 (15 bytes).
const std::vector<std::array<uint32_t, 5>> kSentence = {
    {0, 2, 0, 2, 1}, {2, 2, 2, 2, 2}, {5, 4, 4, 4, 3}, {9, 6, 8, 4, 4}};

TEST(Alignment, CounterpartSearchOnBothSides) {
  auto t = AlignmentTable::Read(Table(26, 4, kSentence), 12, 15);
  ASSERT_TRUE(t);
  ASSERT_EQ(t->Pairs().size(), 4u);
  using Side = AlignmentTable::Side;
  const struct {
    Side side;
    uint32_t offset;
    int pair;  // 0: none
  } cases[] = {{Side::kJapanese, 0, 1},  {Side::kJapanese, 5, 3}, {Side::kJapanese, 11, 4},
               {Side::kJapanese, 12, 0}, {Side::kKorean, 4, 0},   // the blank between 는 and 학생
               {Side::kKorean, 5, 3},    {Side::kKorean, 14, 4},  {Side::kKorean, 15, 0}};
  for (const auto& c : cases) {
    const auto* p = t->Counterpart(c.side, c.offset);
    EXPECT_EQ(p ? p->index : 0, c.pair) << c.offset;
  }
}

TEST(Alignment, FirstOfOverlappingEntriesWins) {
  auto t = AlignmentTable::Read(Table(4, 2, {{0, 4, 0, 4, 1}, {2, 2, 2, 2, 2}}), 4, 4);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->Counterpart(AlignmentTable::Side::kJapanese, 2)->index, 1);
  EXPECT_EQ(t->Counterpart(AlignmentTable::Side::kKorean, 3)->index, 1);
}

TEST(Alignment, MalformedTablesAreBounded) {
  // A count beyond the buffer: only the entries the buffer holds are read.
  auto big = AlignmentTable::Read(Table(3, 1000, kSentence), 12, 15);
  ASSERT_TRUE(big);
  EXPECT_EQ(big->Pairs().size(), 2u);
  // Ranges outside the texts and data indexes that are no entry are left out.
  auto bad = AlignmentTable::Read(
      Table(6, 4, {{0, 2, 0, 2, 1}, {14, 4, 2, 2, 2}, {0, 2, 10, 4, 3}, {0, 2, 0, 2, 9}}), 12, 15);
  ASSERT_TRUE(bad);
  ASSERT_EQ(bad->Pairs().size(), 1u);
  EXPECT_EQ(bad->Pairs()[0].index, 1);
  EXPECT_FALSE(AlignmentTable::Read(std::vector<uint8_t>(100), 12, 15));  // no header
}

TEST(Alignment, WordPairNeedsAnExactRange) {
  auto t = AlignmentTable::Read(Table(26, 4, kSentence), 12, 15);
  ASSERT_TRUE(t);
  using Side = AlignmentTable::Side;
  EXPECT_EQ(t->ExactPair(Side::kJapanese, 4, 8)->index, 3);  // 学生
  EXPECT_EQ(t->ExactPair(Side::kJapanese, 4, 9), nullptr);   // one byte more
  EXPECT_EQ(t->ExactPair(Side::kJapanese, 4, 7), nullptr);   // one byte less
  EXPECT_EQ(t->ExactPair(Side::kKorean, 9, 15)->index, 4);   // 입니다
  EXPECT_EQ(t->ExactPair(Side::kJapanese, -1, 2), nullptr);
  EXPECT_EQ(t->ExactPair(Side::kJapanese, 0, 0), nullptr);
}

bool KsLead(uint8_t b) { return b >= 0x80 && b != 0xFF; }

TEST(Send, OneMessagePerCharacterThenTheCommit) {
  const std::string text = "\xC7\xD1" "a" "\xB1\xB9";  // 한 a 국
  const auto plan = workbench::PlanSend(text, KsLead);
  ASSERT_TRUE(plan);
  EXPECT_EQ(*plan, (std::vector<uint32_t>{0xD1C7, 'a', 0xB9B1, 0xFFFF}));
}

TEST(Send, AtMost128Characters) {
  std::string text128, text129;
  for (int i = 0; i < 128; ++i) text128 += "\xB0\xA1";  // 가
  text129 = text128 + "a";
  const auto ok = workbench::PlanSend(text128, KsLead);
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok->size(), 129u);
  EXPECT_FALSE(workbench::PlanSend(text129, KsLead));
}

TEST(Click, AbsoluteCoordinates) {
  // Centre (100, 50) on 1024 x 768: 65537 / 1024 * 100 + 0.9 = 6400.99...,
  // 65535 / 768 * 50 + 0.9 = 4267.50...
  auto p = workbench::AbsoluteClickPoint(0, 0, 200, 100, 1024, 768);
  EXPECT_EQ(p.x, 6400);
  EXPECT_EQ(p.y, 4267);
  // Odd sizes halve down: centre (11 + 49, 21 + 99) = (60, 120).
  p = workbench::AbsoluteClickPoint(11, 21, 110, 220, 1024, 768);
  EXPECT_EQ(p.x, 3840);   // 3840.05... + 0.9
  EXPECT_EQ(p.y, 10240);  // 10239.84... + 0.9
}

TEST(Offsets, CharactersAndBytesOverShiftJis) {
  const std::string nihongo = "\x93\xFA\x96\x7B\x8C\xEA";  // 日本語
  EXPECT_EQ(workbench::CharToByteOffset(nihongo, 2), 4);
  EXPECT_EQ(workbench::CharToByteOffset(nihongo, 3), 6);
  EXPECT_EQ(workbench::ByteToCharOffset(nihongo, 4), 2);
  EXPECT_EQ(workbench::ByteToCharOffset(nihongo, 6), 3);
  const std::string mixed = "a\x93\xFA" "b";  // a日b
  EXPECT_EQ(workbench::CharToByteOffset(mixed, 2), 3);
  EXPECT_EQ(workbench::ByteToCharOffset(mixed, 3), 2);
  // Beyond the end: unchanged.
  EXPECT_EQ(workbench::CharToByteOffset(nihongo, 5), 5);
  EXPECT_EQ(workbench::ByteToCharOffset(nihongo, 8), 8);
}

TEST(PaneLines, Holds99999LinesAtMost) {
  workbench::PaneLines lines;
  for (int i = 1; i < 99998; ++i) ASSERT_TRUE(lines.InsertLine(lines.LineCount()));
  ASSERT_EQ(lines.LineCount(), 99998);
  EXPECT_TRUE(lines.InsertLine(0));  // at 99998: accepted
  EXPECT_EQ(lines.LineCount(), 99999);
  EXPECT_FALSE(lines.InsertLine(0));  // at 99999: refused
  EXPECT_EQ(lines.LineCount(), 99999);
}

TEST(PaneLines, AnEditedLineDropsItsTable) {
  workbench::PaneLines lines;
  auto table = AlignmentTable::Read(Table(26, 4, kSentence), 12, 15);
  lines.SetText("abc", std::make_unique<AlignmentTable>(*table));
  ASSERT_NE(lines.LineData(0), nullptr);
  lines.SetLine(0, "abc");  // stored unchanged: kept
  EXPECT_NE(lines.LineData(0), nullptr);
  lines.SetLine(0, "abcd");
  EXPECT_EQ(lines.LineData(0), nullptr);
  EXPECT_EQ(lines.SetLineData(3, nullptr), -1);
  lines.SetText("x", std::make_unique<AlignmentTable>(*table));
  lines.DeleteLine(0);  // the only line: cleared
  EXPECT_EQ(lines.LineCount(), 1);
  EXPECT_EQ(lines.LineData(0), nullptr);
  EXPECT_EQ(lines.GetLine(0), "");
}

}  // namespace

namespace {

TEST(WindowPos, FormatParseAndDefaults) {
  const workbench::WindowPos pos{0, 1, 10, 20, 610, 420};
  EXPECT_EQ(workbench::FormatWindowPos(pos), "0,1,10,20,610,420");
  EXPECT_EQ(workbench::ParseWindowPos("2,-1,-5,0,100,200"), (workbench::WindowPos{2, -1, -5, 0, 100, 200}));
  EXPECT_FALSE(workbench::ParseWindowPos("1,2,3"));
  EXPECT_FALSE(workbench::ParseWindowPos(""));
  // A quarter to three quarters of 1024 x 768.
  EXPECT_EQ(workbench::DefaultWindowPos(1024, 768), (workbench::WindowPos{0, 1, 256, 192, 768, 576}));
  EXPECT_TRUE(workbench::SavesWindowPos(1));
  EXPECT_FALSE(workbench::SavesWindowPos(2));
  EXPECT_FALSE(workbench::SavesWindowPos(3));
}

TEST(DictionaryCommandLine, QuotedPathEscapedTextAndTail) {
  // 日本 from the Japanese pane: the escapes of U+65E5 and U+672C, direction 0.
  EXPECT_EQ(workbench::DictionaryCommandLine("C:\\Program Files\\VALDRIMO\\GeulmaruV6\\Ombrel.exe", u"日本", true, 0,
                                             true),
            "\"C:\\Program Files\\VALDRIMO\\GeulmaruV6\\Ombrel.exe\" %u65E5%u672C,0,0,1,t");
  // Korean text, direction 1, another method, a new window each time.
  EXPECT_EQ(workbench::DictionaryCommandLine("D:\\G\\Ombrel.exe", u"한 a", false, 2, false),
            "\"D:\\G\\Ombrel.exe\" %uD55C+%61,1,2,0,t");
  // No selection: an empty text.
  EXPECT_EQ(workbench::DictionaryCommandLine("O.exe", u"", true, 0, true), "\"O.exe\" ,0,0,1,t");
}

TEST(DictionaryCommandLine, AVeryLongSelectionIsCutAtAnEscape) {
  const std::u16string text(2000, u'語');  // 12000 bytes of escapes
  const std::string line = workbench::DictionaryCommandLine("O.exe", text, true, 0, true);
  const std::string prefix = "\"O.exe\" ";
  const std::size_t comma = line.find(',');
  // 384 bytes are what the dictionary reads: 64 whole escapes of six bytes.
  EXPECT_EQ(comma - prefix.size(), 384u);
  EXPECT_EQ(line.substr(comma), ",0,0,1,t");
  EXPECT_EQ(line.substr(comma - 6, 6), "%u8A9E");
}

TEST(DictionaryProcesses, HandOverKeepsOnlyTheFirst) {
  workbench::DictionaryProcesses table;
  EXPECT_TRUE(table.Record(0x100, true));
  for (int i = 0; i < 60; ++i) {
    ASSERT_FALSE(table.Full());
    EXPECT_FALSE(table.Record(0x200 + i, true));  // not kept: the caller closes it
  }
  EXPECT_EQ(table.Count(), 1);
  EXPECT_EQ(table.Handles(), (std::vector<uintptr_t>{0x100}));
}

TEST(DictionaryProcesses, NewWindowsUpToFifty) {
  workbench::DictionaryProcesses table;
  for (int i = 0; i < 50; ++i) {
    ASSERT_FALSE(table.Full()) << i;
    EXPECT_TRUE(table.Record(0x100 + i, false));
  }
  EXPECT_TRUE(table.Full());  // the 51st request is refused
  EXPECT_EQ(table.Handles().size(), 50u);
}

}  // namespace

// The find and replace engine: matching in a line, F3 and Shift+F3 through
// the text, replacing and replacing all.
#include <gtest/gtest.h>

#include "find_match.h"
#include "view_rig.h"

namespace editorview::test {
namespace {

const std::string kHan = U8(u"\xD55C");  // ED 95 9C
const std::string kGeul = U8(u"\xAE00");  // EA B8 80

TextCode Utf8Code() { return TextCode(LineCode::kUtf8, Converter(), codeconv::PlatformCodePages()); }

TEST(FindInLine, CaseTable) {
  const TextCode code = Utf8Code();
  const struct {
    std::string line, pattern;
    bool matchCase;
    int forward, backward;
  } cases[] = {
      {"xxab", "AB", false, 2, 2},
      {"xxAb", "AB", false, 2, 2},
      {"xxab", "AB", true, -1, -1},
      {"xxAB", "AB", true, 2, 2},
      {"ab-AB", "aB", false, 0, 3},
      {"aaa", "aa", true, 0, 1},  // candidates step by one character
      {"", "a", true, -1, -1},    // longer than the line
      {"a", "ab", false, -1, -1},
      {"[z]", "[Z]", false, 0, 0},  // only letters fold
      {"^~", "^~", false, 0, 0},
      {kHan + kGeul, kGeul, true, 3, 3},
      {kHan + kGeul, kGeul, false, 3, 3},
      {"x" + kHan + "X" + kHan, "x" + kHan, false, 0, 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindForwardInLine(code, c.line, c.pattern, c.matchCase), c.forward) << c.line << " / " << c.pattern;
    EXPECT_EQ(FindBackwardInLine(code, c.line, c.pattern, c.matchCase), c.backward) << c.line << " / " << c.pattern;
  }
}

TEST(FindInLine, KoreanPatternsNeverMatchOnTrailBytes) {
  const TextCode code = Utf8Code();
  const std::string line = kHan + kGeul + kHan;
  const std::string patterns[] = {
      kHan.substr(1),                  // the two trail bytes of 한
      kHan.substr(2) + kGeul,          // the last byte of 한 and 글
      kHan.substr(1) + kGeul.substr(0, 1),
      kGeul.substr(1) + kHan,
  };
  for (const std::string& p : patterns) {
    for (bool matchCase : {true, false}) {
      EXPECT_EQ(FindForwardInLine(code, line, p, matchCase), -1);
      EXPECT_EQ(FindBackwardInLine(code, line, p, matchCase), -1);
    }
  }
  // The same bytes at a character start are found.
  EXPECT_EQ(FindForwardInLine(code, line, kGeul + kHan, true), 3);
}

TEST(FindInLine, KsCodeStepsByPairs) {
  // 가나 in KS: B0 A1 B3 AA; A1 B3 straddles the two characters.
  const TextCode code(LineCode::kFontCode, Converter(), codeconv::PlatformCodePages());
  const std::string line = Bytes({0xB0, 0xA1, 0xB3, 0xAA});
  EXPECT_EQ(FindForwardInLine(code, line, Bytes({0xA1, 0xB3}), true), -1);
  EXPECT_EQ(FindForwardInLine(code, line, Bytes({0xB3, 0xAA}), true), 2);
}

std::vector<std::string> Text() { return {"ab ab", "x ab", "none"}; }

TEST(Find, F3AndShiftF3WalkTheMatches) {
  Rig rig(Text());
  ASSERT_TRUE(rig->SetFindText("ab", true, true));
  const struct {
    unsigned command;
    TextPosition start, end, caret;
  } steps[] = {
      {kCmdFindNext, {0, 3}, {0, 5}, {0, 5}},
      {kCmdFindNext, {1, 2}, {1, 4}, {1, 4}},
      {kCmdFindPrevious, {0, 3}, {0, 5}, {0, 3}},
      {kCmdFindPrevious, {0, 0}, {0, 2}, {0, 0}},
      {kCmdFindNext, {0, 3}, {0, 5}, {0, 5}},
  };
  EXPECT_EQ(rig->SelectionStart(), (TextPosition{0, 0}));
  for (const auto& s : steps) {
    EXPECT_TRUE(rig->CommandEnabled(s.command));
    rig->Command(s.command);
    EXPECT_EQ(rig->SelectionStart(), s.start);
    EXPECT_EQ(rig->SelectionEnd(), s.end);
    EXPECT_EQ(rig->Caret(), s.caret);
  }
  EXPECT_TRUE(rig.host.notices.empty());
}

TEST(Find, NothingFoundChangesNothingAndSaysSo) {
  Rig rig(Text());
  rig.Place(1, 4);
  rig->SetFindText("ab", true, true);
  EXPECT_EQ(rig.host.notices, (std::vector<Notice>{Notice::kNotFound}));
  EXPECT_EQ(rig->Caret(), (TextPosition{1, 4}));
  EXPECT_FALSE(rig->HasSelection());
  rig->SetFindText("AB", false, true);  // no wrap-around, and the case counts
  EXPECT_EQ(rig.host.notices.size(), 2u);
  rig->Command(kCmdFindPrevious);  // repeats the last search: "AB" with case
  EXPECT_EQ(rig.host.notices.size(), 3u);
  EXPECT_EQ(rig.host.waits, 0);
}

TEST(Find, CommandsNeedATextAndASearch) {
  Rig empty({""});
  EXPECT_FALSE(empty->CommandEnabled(kCmdFind));
  Rig rig(Text());
  EXPECT_TRUE(rig->CommandEnabled(kCmdFind));
  EXPECT_FALSE(rig->CommandEnabled(kCmdFindNext));
  rig->SetFindText("x", true, false);
  EXPECT_TRUE(rig->CommandEnabled(kCmdFindNext));
  // The forks have no find.
  Rig fork({"ab"}, {.variant = &kPlayerView});
  EXPECT_FALSE(fork->CommandEnabled(kCmdFind));
  EXPECT_FALSE(fork->Command(kCmdFindNext));
}

TEST(Find, SeedIsTheSelection) {
  Rig rig(Text());
  EXPECT_EQ(rig->TakeFindSeed(), "");
  rig.Select({0, 1}, {0, 4});
  EXPECT_EQ(rig->TakeFindSeed(), "b a");
}

TEST(Replace, FirstPressFindsTheNextReplaces) {
  Rig rig(Text());
  rig->ReplaceAndFindNext("ab", "XYZ", true);
  EXPECT_EQ(rig.Lines(), Text());
  EXPECT_EQ(rig->SelectionStart(), (TextPosition{0, 0}));
  rig->ReplaceAndFindNext("ab", "XYZ", true);
  EXPECT_EQ(rig.Lines()[0], "XYZ ab");
  EXPECT_EQ(rig->SelectionStart(), (TextPosition{0, 4}));
  // Undo after a single replacement brings the text back.
  rig->Undo();
  EXPECT_EQ(rig.Lines(), Text());
}

TEST(Replace, AllFromTheCaretOnLeavesTheMatchesAbove) {
  Rig rig({"cat", "cat cat", "cat"});
  rig.Place(1, 1);
  rig->ReplaceAll("cat", "dog", true);  // the first press selects the next match
  rig->ReplaceAll("cat", "dog", true);
  EXPECT_EQ(rig.Lines(), (std::vector<std::string>{"cat", "cat dog", "dog"}));
  EXPECT_TRUE(rig.host.notices.empty());
}

TEST(Replace, AnEmptyReplacementDeletes) {
  Rig rig({"a-b-c"});
  rig->SetFindText("-", true, true);
  rig->ReplaceAll("-", "", true);
  EXPECT_EQ(rig.Lines()[0], "abc");
}

TEST(Replace, AllEndsWhenTheReplacementHoldsThePattern) {
  Rig rig({"aaa", "a", "bab"});
  rig->SetFindText("a", true, true);
  rig->ReplaceAll("a", "aa", true);
  EXPECT_EQ(rig.Lines(), (std::vector<std::string>{"aaaaaa", "aa", "baab"}));
  // Case-blind, with a Korean replacement.
  Rig korean({"Ab ab AB"});
  korean->SetFindText("ab", true, false);
  korean->ReplaceAll("ab", kHan + "ab", false);
  EXPECT_EQ(korean.Lines()[0], kHan + "ab " + kHan + "ab " + kHan + "ab");
}

TEST(Replace, ALineThatWouldOverflowIsRefused) {
  Rig rig({std::string(32760, 'x') + "a", "a"});
  rig->SetFindText("a", true, true);
  rig->ReplaceAll("a", "0123456789", true);
  // The first replacement would make 32770 bytes: refused with a beep, the
  // run stops there and the text is whole.
  EXPECT_EQ(rig.Lines(), (std::vector<std::string>{std::string(32760, 'x') + "a", "a"}));
  EXPECT_EQ(rig.Beeps(), 1);
  EXPECT_TRUE(rig->HasSelection());
  // A replacement that fits goes in.
  rig->ReplaceAndFindNext("a", "bcdef", true);
  EXPECT_EQ(rig.Lines()[0].size(), 32765u);
}

}  // namespace
}  // namespace editorview::test

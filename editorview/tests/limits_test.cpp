// Edits on the line limits: every edit the view allows can be undone, and
// the undo undone again, with the text exactly as it was before and after.
// Joins may make a line of 32767 bytes, longer than typing or a paste could.
// A paste refused at its first segment leaves the selection it would have
// replaced; a refused Backspace join puts the screen's caret where the
// caret went.
#include <gtest/gtest.h>

#include <functional>

#include "view_rig.h"

namespace editorview::test {
namespace {

const std::string kGa = U8(u"\xAC00");  // 3 UTF-8 bytes

struct LimitCase {
  const char* name;
  std::vector<std::string> lines;
  std::function<void(Rig&)> edit;
  std::function<void(Rig&)> before = nullptr;  // edits before the one undone
};

std::string Fill(size_t n, char c) { return std::string(n, c); }

std::vector<LimitCase> Cases() {
  return {
      {"a typed byte into a line of 32764 bytes", {Fill(32764, 'a')},
       [](Rig& r) {
         r.Place(0, 100);
         r.Type("x");
       }},
      {"an input-method result up to 32766 bytes", {Fill(32763, 'a')},
       [](Rig& r) {
         r.Place(0, 32763);
         r->InsertImeResult(u"\xAC00");
       }},
      {"Delete at a line end joins to 32767 bytes", {Fill(20000, 'a'), Fill(12767, 'b')},
       [](Rig& r) {
         r.Place(0, 20000);
         r.Key(kVkDelete);
       }},
      {"Backspace at a line start joins to 32767 bytes", {Fill(20000, 'a'), Fill(12767, 'b')},
       [](Rig& r) {
         r.Place(1, 0);
         r.Type("\b");
       }},
      {"Backspace in a line that a join made 32767 bytes long", {Fill(20000, 'a'), Fill(12767, 'b')},
       [](Rig& r) {
         r.Place(0, 30000);
         r.Type("\b");
       },
       [](Rig& r) {
         r.Place(1, 0);
         r.Type("\b");
       }},
      {"Delete of a Korean character in a 32767-byte line", {Fill(32764, 'a') + kGa},
       [](Rig& r) {
         r.Place(0, 32764);
         r.Key(kVkDelete);
       }},
      {"a Backspace run in a 32767-byte line", {Fill(32767, 'a')},
       [](Rig& r) {
         r.Place(0, 500);
         r.Type("\b\b\b");
       }},
      {"a selection from a 32767-byte line into the next", {Fill(32767, 'a'), Fill(100, 'b')},
       [](Rig& r) {
         r.Select({0, 10}, {1, 50});
         r.Key(kVkDelete);
       }},
      {"a selection whose removal joins to 32767 bytes", {Fill(20000, 'a'), "middle", Fill(12777, 'b')},
       [](Rig& r) {
         r.Select({0, 20000}, {2, 10});
         r->Command(kCmdDelete);
       }},
      {"the whole 32767-byte line cut", {Fill(32767, 'a'), "tail"},
       [](Rig& r) {
         r.Select({0, 0}, {1, 0});
         r->Command(kCmdCut);
       }},
      {"Enter in a 32767-byte line", {Fill(32767, 'a')},
       [](Rig& r) {
         r.Place(0, 16000);
         r.Type("\r");
       }},
      {"typing over a selection of a 32767-byte line", {Fill(32767, 'a')},
       [](Rig& r) {
         r.Select({0, 5}, {0, 9});
         r.Type("z");
       }},
      {"a paste that ends a line at 32766", {Fill(30000, 'a')},
       [](Rig& r) {
         r.clipboard.contents.unicode = std::u16string(2766, u'p') + u"\nq";
         r.Place(0, 30000);
         r->Command(kCmdPaste);
       }},
      {"a paste over a selection of a 32767-byte line", {Fill(32767, 'a'), "b"},
       [](Rig& r) {
         r.clipboard.contents.unicode = u"one\ntwo";
         r.Select({0, 32000}, {1, 0});
         r->Command(kCmdPaste);
       }},
      {"a replacement in a 32767-byte line", {Fill(32761, 'a') + "needle"},
       [](Rig& r) {
         r.Select({0, 32761}, {0, 32767});
         r->ReplaceSelection("pin");
       }},
  };
}

TEST(UndoOnTheLimits, EveryEditThatWasAllowedComesBackAndGoesAgain) {
  for (const LimitCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    Rig rig(c.lines, {.textWidth = 800});
    if (c.before) c.before(rig);
    const std::vector<std::string> before = rig.Lines();
    c.edit(rig);
    const std::vector<std::string> after = rig.Lines();
    ASSERT_NE(after, before) << "the edit was refused";
    for (const std::string& line : after) ASSERT_LE(line.size(), 32767u);
    const int beeps = rig.Beeps();
    rig->Command(kCmdUndo);
    EXPECT_EQ(rig.Lines(), before) << "undo gives back the text before the edit";
    rig->Command(kCmdUndo);
    EXPECT_EQ(rig.Lines(), after) << "undo again gives back the edited text";
    rig->Command(kCmdUndo);
    EXPECT_EQ(rig.Lines(), before) << "and once more the text before";
    EXPECT_EQ(rig.Beeps(), beeps) << "no undo was refused";
  }
}

TEST(PasteThatInsertsNothing, LeavesTheSelectionAndItsUndo) {
  // One clipboard line of 40000 characters fits no line: the paste is
  // refused at its first segment.
  Rig rig({"abcd", "efgh"});
  rig.Place(1, 4);
  rig.Type("!");  // the last edit, which undo takes back
  rig.Select({0, 1}, {1, 2});
  rig.clipboard.contents.unicode = std::u16string(40000, u'x');
  rig->Command(kCmdPaste);
  EXPECT_EQ(rig.Lines(), (std::vector<std::string>{"abcd", "efgh!"}));
  EXPECT_EQ(rig.Beeps(), 1);
  EXPECT_TRUE(rig->HasSelection());
  EXPECT_EQ(rig->SelectionStart(), (TextPosition{0, 1}));
  EXPECT_EQ(rig->SelectionEnd(), (TextPosition{1, 2}));
  // Undo still takes back the typing before the paste.
  rig->Command(kCmdUndo);
  EXPECT_EQ(rig.Lines(), (std::vector<std::string>{"abcd", "efgh"}));
}

TEST(PasteThatInsertsNothing, WithoutASelectionChangesNothing) {
  Rig rig({"abcd"});
  rig.Place(0, 4);
  rig.Type("e");
  rig.Place(0, 2);
  rig.clipboard.contents.unicode = std::u16string(40000, u'x');
  rig->Command(kCmdPaste);
  EXPECT_EQ(rig.Lines(), (std::vector<std::string>{"abcde"}));
  EXPECT_EQ(rig->Caret(), (TextPosition{0, 2}));
  EXPECT_EQ(rig.Beeps(), 1);
  // The typed "e" is still what undo takes back.
  rig->Command(kCmdUndo);
  EXPECT_EQ(rig.Lines(), (std::vector<std::string>{"abcd"}));
}

TEST(UndoOnTheLimits, RemovedControlBytesAndCarriageReturnsComeBackAsTheyWere) {
  // Lines may hold bytes a paste would not put in (a TAB, an ESC, a lone
  // CR): undo gives back exactly what was removed.
  const std::vector<std::string> lines = {"a\tb\x1b\rc", "\rd\x01", "e"};
  Rig rig(lines);
  rig.Select({0, 1}, {2, 0});
  rig.Key(kVkDelete);
  ASSERT_EQ(rig.Lines(), (std::vector<std::string>{"ae"}));
  rig->Command(kCmdUndo);
  EXPECT_EQ(rig.Lines(), lines);
}

TEST(RefusedBackspaceJoin, TheScreensCaretGoesWhereTheCaretWent) {
  // 20000 + 12768 bytes make no line: Backspace at the start of line 1
  // moves the caret to the end of line 0 and beeps.
  Rig rig({Fill(20000, 'a'), Fill(12768, 'b')});  // ten characters a row, ten rows
  rig.Place(1, 0);
  rig.Type("\b");
  EXPECT_EQ(rig.Beeps(), 1);
  EXPECT_EQ(rig.Lines(), (std::vector<std::string>{Fill(20000, 'a'), Fill(12768, 'b')}));
  EXPECT_EQ(rig->Caret(), (TextPosition{0, 20000}));
  // Line 0 has 2000 full rows; its end is at the right end of the last one
  // (x = margin 4 + 80 - 1). Line 0 stood above the window (line 1 was the
  // top line), so that row becomes the window's top row.
  EXPECT_EQ(rig->TopLine(), 0);
  EXPECT_EQ(rig.host.caretX, kNarrow / 2 + 10 * kNarrow - 1);
  EXPECT_EQ(rig.host.caretY, 0);
  EXPECT_EQ(rig->LineTop(0), -1999 * kLineHeight);
}

}  // namespace
}  // namespace editorview::test

// Editing through the engine: multi-line insertion, the line store's
// limits and the refusals that leave the text whole.
#include <gtest/gtest.h>

#include "view_rig.h"

namespace editorview::test {
namespace {

const std::string kGa = U8(u"\xAC00");  // 3 bytes

TEST(MultilineInsert, SegmentsAndTheirBytes) {
  const struct {
    const char* what;
    std::string text;
    std::vector<std::string> lines;
    TextPosition caret;
  } cases[] = {
      {"CR LF and LF end lines", "x\r\ny\nz", {"abx", "y", "zcd"}, {2, 1}},
      {"an empty line between", "1\r\n\r\n2", {"ab1", "", "2cd"}, {2, 1}},
      {"a final line end leaves the tail on its own line", "1\n", {"ab1", "cd"}, {1, 0}},
      {"TAB stays, other control bytes become blanks", "\tq\fr\x01", {"ab\tq r cd"}, {0, 7}},
      {"a lone CR is dropped", "p\rq", {"abpqcd"}, {0, 4}},
  };
  for (const auto& c : cases) {
    Rig rig({"abcd"});
    rig.Place(0, 2);
    rig->InsertMultilineText(c.text);
    EXPECT_EQ(rig.Lines(), c.lines) << c.what;
    EXPECT_EQ(rig->Caret(), c.caret) << c.what;
    EXPECT_EQ(rig->UndoState().start, (TextPosition{0, 2})) << c.what;
    EXPECT_EQ(rig->UndoState().end, c.caret) << c.what;
    EXPECT_EQ(rig.Beeps(), 0) << c.what;
  }
}

TEST(MultilineInsert, LineLimitsStopThePasteWithABeep) {
  {  // A line may end at offset 32766 at most.
    Rig rig({""});
    rig->InsertMultilineText(std::string(32766, 'a') + "\nb");
    EXPECT_EQ(rig.Lines(), (std::vector<std::string>{std::string(32766, 'a'), "b"}));
    EXPECT_EQ(rig.Beeps(), 0);
  }
  {
    Rig rig({""});
    rig->InsertMultilineText(std::string(32767, 'a') + "\nb");
    EXPECT_EQ(rig.Lines(), (std::vector<std::string>{""}));
    EXPECT_EQ(rig.Beeps(), 1);
  }
  {  // The last segment must leave the line below 32767 bytes.
    Rig rig({std::string(32000, 'x')});
    rig->InsertMultilineText(std::string(766, 'y'));
    EXPECT_EQ(rig.Lines()[0].size(), 32766u);
    rig->InsertMultilineText("z");
    EXPECT_EQ(rig.Lines()[0].size(), 32766u);
    EXPECT_EQ(rig.Beeps(), 1);
  }
  {  // A segment is cut on a character boundary, never inside one.
    Rig rig({""});
    std::string text;
    for (int i = 0; i < 10923; ++i) text += kGa;  // 32769 bytes
    rig->InsertMultilineText(text);
    const std::string line = rig.Lines()[0];
    EXPECT_EQ(line.size(), 32766u);
    EXPECT_EQ(line.substr(32763), kGa);
    EXPECT_EQ(rig.Beeps(), 1);
  }
}

TEST(MultilineInsert, ARefusedNewLineKeepsTheTail) {
  // The document takes one more line and then refuses.
  Rig rig({"abcd", "z"}, {.lineLimit = 2});
  rig.Place(0, 2);
  rig->InsertMultilineText("1\n2\n3");
  EXPECT_EQ(rig.Lines(), (std::vector<std::string>{"ab1", "cd", "z"}));
  EXPECT_EQ(rig->Caret(), (TextPosition{1, 0}));
  EXPECT_EQ(rig.Beeps(), 1);
  // The undo record ends where the paste stopped.
  EXPECT_EQ(rig->UndoState().end, (TextPosition{1, 0}));
  rig->Undo();
  EXPECT_EQ(rig.Lines(), (std::vector<std::string>{"abcd", "z"}));
}

TEST(Split, RefusedAtTheLineLimit) {
  Rig rig({"ab", "c", "d"}, {.lineLimit = 2});
  rig.Place(0, 1);
  rig.Type("\r");
  EXPECT_EQ(rig.Lines(), (std::vector<std::string>{"ab", "c", "d"}));
  EXPECT_EQ(rig->Caret(), (TextPosition{0, 1}));
  EXPECT_EQ(rig.Beeps(), 1);
}

TEST(Typing, EveryEditIsInTheDocumentAtOnce) {
  Rig rig({"ab", "cd"});
  rig.Place(0, 1);
  rig.Type("x");
  EXPECT_EQ(rig.doc.GetLine(0), "axb");  // no commit asked for
  rig.Type("\r");
  EXPECT_EQ(rig.doc.GetLine(0), "ax");
  EXPECT_EQ(rig.doc.GetLine(1), "b");
  rig.Key(kVkDelete);
  EXPECT_EQ(rig.doc.GetLine(1), "");
  EXPECT_FALSE(rig->LineDirty());
}

TEST(Typing, TheLineBufferLimits) {
  Rig rig({std::string(32764, 'a')});
  rig.Place(0, 32764);
  rig.Type("b");
  EXPECT_EQ(rig.Lines()[0].size(), 32765u);
  rig.Type("c");
  EXPECT_EQ(rig.Lines()[0].size(), 32765u);
  EXPECT_EQ(rig.Beeps(), 1);
  // A string must leave the line below 32767 bytes.
  EXPECT_TRUE(rig->InsertText("d"));
  EXPECT_FALSE(rig->InsertText("e"));
  EXPECT_EQ(rig.Lines()[0].size(), 32766u);
}

TEST(Typing, LongInsertionsAreNotCutToSixteenBits) {
  // 65536 + 3 bytes would pass a 16-bit length check as 3.
  Rig rig({""});
  EXPECT_FALSE(rig->InsertText(std::string(65539, 'x')));
  EXPECT_EQ(rig.Lines()[0], "");
  EXPECT_EQ(rig.Beeps(), 1);
}

TEST(Typing, ControlBytesAndKanaBytes) {
  Rig rig({""});
  rig->Char(0x07);
  rig->Char(0x7F);
  rig->Char(0x1B);
  EXPECT_EQ(rig.Lines()[0], "");
  rig->Char('\t');
  rig->Char(0xB1);  // half-width katakana A in code page 932
  EXPECT_EQ(rig.Lines()[0], "\t" + U8(u"\xFF71"));
}

TEST(Join, RefusedWhenTheLinesWouldNotFit) {
  Rig rig({std::string(20000, 'a'), std::string(12768, 'b')});
  rig.Place(0, 20000);
  rig.Key(kVkDelete);
  EXPECT_EQ(rig.doc.LineCount(), 2);
  EXPECT_EQ(rig.Beeps(), 1);
  // One byte less fits.
  Rig fits({std::string(20000, 'a'), std::string(12767, 'b')});
  fits.Place(1, 0);
  fits.Type("\b");
  EXPECT_EQ(fits.doc.LineCount(), 1);
  EXPECT_EQ(fits.Lines()[0].size(), 32767u);
}

TEST(DeleteSelection, ARefusedJoinChangesNothing) {
  // The start line's head and the end line's tail would not fit one line.
  Rig rig({std::string(20000, 'a'), "middle", std::string(20000, 'b')});
  rig.Select({0, 19000}, {2, 100});
  rig.Type("x");  // typing over the selection deletes it first
  EXPECT_EQ(rig.Lines(), (std::vector<std::string>{std::string(20000, 'a'), "middle", std::string(20000, 'b')}));
  EXPECT_TRUE(rig->HasSelection());
  EXPECT_EQ(rig.Beeps(), 1);
  // Cut copies, but reports the refusal and leaves the text whole.
  rig->Command(kCmdCut);
  EXPECT_TRUE(rig.clipboard.written.has_value());
  EXPECT_EQ(rig.doc.LineCount(), 3);
  EXPECT_EQ(rig.Beeps(), 2);
  EXPECT_FALSE(rig->CommandEnabled(kCmdUndo));
}

TEST(DeleteSelection, ManyLines) {
  std::vector<std::string> lines;
  for (int i = 0; i < 1000; ++i) lines.push_back("l" + std::to_string(i));
  Rig rig(lines);
  rig.Select({1, 1}, {998, 2});
  rig->Command(kCmdDelete);
  EXPECT_EQ(rig.Lines(), (std::vector<std::string>{"l0", "l98", "l999"}));
  // The caret line is the top line now; one row up shows the whole text.
  EXPECT_EQ(rig->TopLine(), 1);
  rig->VScroll(kSbLineUp, 0);
  EXPECT_EQ(rig.host.bar.enabled, false);
  rig->Undo();
  EXPECT_EQ(rig.Lines(), lines);
}

TEST(SelectAll, CopyAndTheEmptyText) {
  Rig empty({""});
  empty->Command(kCmdSelectAll);
  EXPECT_FALSE(empty->HasSelection());
  EXPECT_FALSE(empty->CommandEnabled(kCmdKsCopy));
  Rig rig({"ab", "", "c"});
  EXPECT_TRUE(rig->CommandEnabled(kCmdKsCopy));
  EXPECT_FALSE(rig->CommandEnabled(kCmdCut));
  rig->Command(kCmdSelectAll);
  EXPECT_EQ(rig->SelectionStart(), (TextPosition{0, 0}));
  EXPECT_EQ(rig->SelectionEnd(), (TextPosition{2, 1}));
  EXPECT_EQ(rig->Caret(), (TextPosition{2, 1}));
  EXPECT_TRUE(rig->CommandEnabled(kCmdCut));
}

TEST(Update, OnlyHintZeroResetsTheView) {
  Rig rig({"abc", "def"});
  rig.Place(1, 2);
  rig.Type("x");
  rig->OnUpdate(1);
  EXPECT_EQ(rig->Caret(), (TextPosition{1, 3}));
  EXPECT_TRUE(rig->CommandEnabled(kCmdUndo));
  rig->OnUpdate(0);
  EXPECT_EQ(rig->Caret(), (TextPosition{0, 0}));
  EXPECT_FALSE(rig->CommandEnabled(kCmdUndo));
  EXPECT_EQ(rig->LineStatusText(), "    1 /    2");
}

TEST(Document, OneLineAlwaysStays) {
  MemoryDocument doc;
  doc.DeleteLine(0);
  EXPECT_EQ(doc.LineCount(), 1);
  EXPECT_EQ(doc.GetLine(0), "");
  doc.SetLine(0, "x");
  doc.DeleteLine(0);
  EXPECT_EQ(doc.GetLine(0), "");
}

TEST(Document, GapBufferKeepsTheOrder) {
  MemoryDocument doc;
  doc.SetLine(0, "end");
  for (int i = 0; i < 100; ++i) {
    ASSERT_TRUE(doc.InsertLine(i));
    doc.SetLine(i, std::to_string(i));
  }
  doc.InsertLine(50);
  doc.SetLine(50, "mid");
  doc.DeleteLine(10);
  doc.DeleteLine(0);
  EXPECT_EQ(doc.LineCount(), 100);
  EXPECT_EQ(doc.GetLine(0), "1");
  EXPECT_EQ(doc.GetLine(8), "9");
  EXPECT_EQ(doc.GetLine(9), "11");
  EXPECT_EQ(doc.GetLine(48), "mid");
  EXPECT_EQ(doc.GetLine(99), "end");
  EXPECT_TRUE(doc.InsertLine(100));
  EXPECT_EQ(doc.GetLine(100), "");
}

TEST(Document, LineLimitAndTextLoading) {
  MemoryDocument doc(3);
  doc.Assign({"a", "b", "c"});
  EXPECT_TRUE(doc.InsertLine(0));  // 3 lines are not more than 3
  EXPECT_FALSE(doc.InsertLine(0));
  MemoryDocument text;
  text.LoadText("a\r\nb\tc\x01\n\nd\n");
  EXPECT_EQ(text.Text(), "a\nb\tc\n\nd");
  std::string longLine(32764 - 1, 'x');
  longLine += kGa;  // would end at 32766: moves whole to the next line
  text.LoadText(longLine);
  EXPECT_EQ(text.LineCount(), 2);
  EXPECT_EQ(text.GetLine(1), kGa);
}

}  // namespace
}  // namespace editorview::test

// Rows, caret points, hit testing, the layout ring and scrolling, with the
// fixed widths of the rig (8 pixels a narrow character, 16 a wide one).
#include <gtest/gtest.h>

#include "view_rig.h"

namespace editorview::test {
namespace {

const std::string kGa = U8(u"\xAC00");  // 가, 3 bytes, wide
const std::string kNa = U8(u"\xB098");  // 나

struct Layout {
  TextCode code{LineCode::kUtf8, Converter(), codeconv::PlatformCodePages()};
  FixedMeasurer measurer;
  CharMetrics metrics{code, measurer};
};

TEST(Rows, CountedWithFixedWidths) {
  const struct {
    const char* what;
    std::string text;
    int width;
    int rows;
  } cases[] = {
      {"empty line", "", 80, 1},
      {"exact fit", std::string(10, 'a'), 80, 1},
      {"one over", std::string(11, 'a'), 80, 2},
      {"three rows", std::string(21, 'a'), 80, 3},
      {"TAB is a blank", std::string(10, '\t'), 80, 1},
      {"TAB one over", std::string(11, '\t'), 80, 2},
      {"five wide fit", kGa + kGa + kGa + kGa + kGa, 80, 1},
      {"a wide one that no longer fits moves whole", "a" + kGa + kGa + kGa + kGa + kGa, 80, 2},
      {"wider than the row: one a row, no empty row", kGa + kNa, 10, 2},
      {"control bytes take no room", std::string(30, '\x01'), 80, 1},
      {"a CR starts a row", "ab\rcd", 80, 2},
  };
  for (const auto& c : cases) {
    Layout l;
    EXPECT_EQ(CountRows(l.code, l.metrics, c.text, c.width), c.rows) << c.what;
  }
}

TEST(Rows, AWideCharacterIsNeverSplit) {
  // 9 narrow (72) + 가 (16) would be 88: 가 starts row 1 whole.
  Layout l;
  const std::string text = std::string(9, 'a') + kGa;
  std::vector<PlacedChar> placed;
  WalkRows(l.code, l.metrics, text.data(), static_cast<int>(text.size()), 80, [&](const PlacedChar& c) {
    placed.push_back(c);
    return true;
  });
  ASSERT_EQ(placed.size(), 10u);
  EXPECT_EQ(placed.back().offset, 9);
  EXPECT_EQ(placed.back().length, 3);
  EXPECT_EQ(placed.back().row, 1);
  EXPECT_EQ(placed.back().x, 0);
  EXPECT_TRUE(placed.back().breaksRow);
}

TEST(Rows, MeasuresEachCharacterOnce) {
  Layout l;
  const std::string text = std::string(500, 'a') + kGa + kGa;
  CountRows(l.code, l.metrics, text, 80);
  CountRows(l.code, l.metrics, text, 40);
  EXPECT_EQ(l.measurer.calls, 2);  // 'a' and 가
  l.metrics.Reset();
  CountRows(l.code, l.metrics, text, 80);
  EXPECT_EQ(l.measurer.calls, 4);
}

// "abcdefghij" fills row 0 (80 pixels); 가나 stand on row 1.
const std::string kTwoRows = "abcdefghij" + kGa + kNa;

TEST(CaretPoint, RowAndColumnOfOffsets) {
  const struct {
    int offset, row, x;
  } cases[] = {
      {0, 0, 0},
      {5, 0, 40},
      {10, 1, 0},   // the character there does not fit the rest of row 0
      {13, 1, 16},
      {16, 1, 32},  // the line end
  };
  for (const auto& c : cases) {
    Layout l;
    const CaretPoint p = CaretPointInLine(l.code, l.metrics, kTwoRows, c.offset, 80);
    EXPECT_EQ(p.row, c.row) << c.offset;
    EXPECT_EQ(p.x, c.x) << c.offset;
  }
}

TEST(CaretPoint, AtTheEndOfAFullRowStaysOnIt) {
  Layout l;
  const CaretPoint p = CaretPointInLine(l.code, l.metrics, std::string(10, 'a'), 10, 80);
  EXPECT_EQ(p.row, 0);
  EXPECT_EQ(p.x, 80);
}

TEST(HitTest, PointToOffset) {
  const struct {
    int row, x, offset;
  } cases[] = {
      {0, 0, 0},
      {0, 3, 0},    // the middle of 'a' (4) lies right of 3
      {0, 4, 1},    // not right of 4
      {0, 43, 5},   // 'f' spans 40..48
      {0, 79, 10},  // past the last middle of row 0: the break
      {1, 7, 10},   // 가 spans 0..16, middle 8
      {1, 8, 13},
      {1, 500, 16},  // the line ends on row 1
      {2, 0, -1},    // no such row
      {-1, 0, -1},   // above the line
  };
  for (const auto& c : cases) {
    Layout l;
    EXPECT_EQ(OffsetAtPoint(l.code, l.metrics, kTwoRows, c.row, c.x, 80), c.offset) << c.row << "," << c.x;
  }
}

TEST(HitTest, EmptyLine) {
  Layout l;
  EXPECT_EQ(OffsetAtPoint(l.code, l.metrics, "", 0, 30, 80), 0);
  EXPECT_EQ(OffsetAtPoint(l.code, l.metrics, "", 1, 30, 80), -1);
}

TEST(CaretPlacement, ClientPointsOfTheCaretAndTheComposition) {
  Rig rig({kTwoRows, "x"});
  const int margin = kNarrow / 2;
  rig.Place(0, 5);
  EXPECT_EQ(rig->CaretX(), margin + 40 - 1);
  EXPECT_EQ(rig->CaretY(), 0);
  EXPECT_EQ(rig.host.caretX, margin + 39);
  EXPECT_EQ(rig.host.compositionX, margin + 39);
  EXPECT_EQ(rig.host.compositionArea, (Rect{margin - 1, 0, margin + 80, 10 * kLineHeight}));
  rig.Place(0, 13);
  EXPECT_EQ(rig->CaretX(), margin + 16 - 1);
  EXPECT_EQ(rig->CaretY(), kLineHeight);
  // Near the right edge the composition window opens on the next row.
  rig.Place(0, 9);
  EXPECT_EQ(rig.host.compositionX, margin - 1);
  EXPECT_EQ(rig.host.compositionY, kLineHeight);
  // The second line starts below the two rows of the first.
  rig.Place(1, 1);
  EXPECT_EQ(rig->CaretY(), 2 * kLineHeight);
}

TEST(CaretPlacement, ClickPutsTheCaretUnderThePoint) {
  Rig rig({kTwoRows, "xyz"});
  const int margin = kNarrow / 2;
  rig->LeftButtonDown(margin + 43, 5, false);
  rig->LeftButtonUp(margin + 43, 5);
  EXPECT_EQ(rig->Caret(), (TextPosition{0, 5}));
  rig->LeftButtonDown(margin + 8, kLineHeight + 3, false);
  EXPECT_EQ(rig->Caret(), (TextPosition{0, 13}));
  rig->LeftButtonUp(margin + 8, kLineHeight + 3);
  rig->LeftButtonDown(margin + 100, 2 * kLineHeight + 1, false);
  EXPECT_EQ(rig->Caret(), (TextPosition{1, 3}));
  rig->LeftButtonUp(margin + 100, 2 * kLineHeight + 1);
  // Below the end of the text: the last line, at the point's column.
  rig->LeftButtonDown(margin + 2 * kNarrow, 9 * kLineHeight, false);
  EXPECT_EQ(rig->Caret(), (TextPosition{1, 2}));
  rig->LeftButtonUp(margin + 2 * kNarrow, 9 * kLineHeight);
  EXPECT_FALSE(rig.host.captured);
}

TEST(CaretPlacement, ShiftClickExtendsFromTheCaret) {
  Rig rig({"abcdef", "ghijkl"});
  const int margin = kNarrow / 2;
  rig.Place(0, 2);
  rig->LeftButtonDown(margin + 4 * kNarrow, kLineHeight + 2, true);
  rig->LeftButtonUp(margin + 4 * kNarrow, kLineHeight + 2);
  EXPECT_EQ(rig->SelectionStart(), (TextPosition{0, 2}));
  EXPECT_EQ(rig->SelectionEnd(), (TextPosition{1, 4}));
  // A second shift-click keeps the far end.
  rig->LeftButtonDown(margin + 1 * kNarrow, 2, true);
  rig->LeftButtonUp(margin + 1 * kNarrow, 2);
  EXPECT_EQ(rig->SelectionStart(), (TextPosition{0, 1}));
  EXPECT_EQ(rig->SelectionEnd(), (TextPosition{0, 2}));
}

std::vector<std::string> NumberedLines(int n) {
  std::vector<std::string> lines;
  for (int i = 0; i < n; ++i) lines.push_back("line " + std::to_string(i));
  return lines;
}

TEST(Selection, DragBelowTheWindowScrollsOneLineAMessage) {
  Rig rig(NumberedLines(30));
  const int margin = kNarrow / 2;
  rig->LeftButtonDown(margin, 2, false);
  rig->MouseMove(margin + 2 * kNarrow, 10 * kLineHeight + 50);
  EXPECT_EQ(rig->Caret().line, 10);
  EXPECT_EQ(rig->TopLine(), 1);
  rig->MouseMove(margin + 2 * kNarrow, 10 * kLineHeight + 50);
  EXPECT_EQ(rig->Caret().line, 11);
  EXPECT_EQ(rig->TopLine(), 2);
  // The button's release drags once more.
  rig->LeftButtonUp(margin + 2 * kNarrow, 10 * kLineHeight + 50);
  EXPECT_EQ(rig->SelectionStart(), (TextPosition{0, 0}));
  EXPECT_EQ(rig->SelectionEnd(), (TextPosition{12, 2}));
  EXPECT_EQ(rig->TopLine(), 3);
  // And above the window, back up.
  rig->LeftButtonDown(margin, 2, true);
  EXPECT_EQ(rig->SelectionEnd(), (TextPosition{3, 0}));
  rig->MouseMove(margin, -40);
  EXPECT_EQ(rig->Caret().line, 2);
  EXPECT_EQ(rig->TopLine(), 2);
  rig->LeftButtonUp(margin, -40);
}

TEST(Keys, EdgesOfTheTextBeep) {
  Rig rig({"ab", "cd"});
  rig.Key(kVkLeft);
  rig.Key(kVkUp);
  rig.Key(kVkHome);
  EXPECT_EQ(rig.Beeps(), 3);
  EXPECT_EQ(rig->Caret(), (TextPosition{0, 0}));
  rig.Key(kVkEnd, false, true);
  EXPECT_EQ(rig->Caret(), (TextPosition{1, 2}));
  rig.Key(kVkRight);
  rig.Key(kVkDown);
  rig.Key(kVkEnd);
  EXPECT_EQ(rig.Beeps(), 6);
  for (BeepKind k : rig.host.beeps) EXPECT_EQ(k, BeepKind::kDefault);
}

TEST(Keys, LeftAndRightCrossLineEndsByCharacters) {
  Rig rig({"a" + kGa, "b"});
  rig.Place(0, 1);
  rig.Key(kVkRight);
  EXPECT_EQ(rig->Caret(), (TextPosition{0, 4}));
  rig.Key(kVkRight);
  EXPECT_EQ(rig->Caret(), (TextPosition{1, 0}));
  rig.Key(kVkLeft);
  EXPECT_EQ(rig->Caret(), (TextPosition{0, 4}));
  rig.Key(kVkLeft);
  EXPECT_EQ(rig->Caret(), (TextPosition{0, 1}));
}

TEST(Keys, UpAndDownKeepTheColumn) {
  Rig rig({"abcdefgh", "ab", "abcdefgh"});
  rig.Place(0, 6);
  rig.Key(kVkDown);
  EXPECT_EQ(rig->Caret(), (TextPosition{1, 2}));
  rig.Key(kVkDown);
  EXPECT_EQ(rig->Caret(), (TextPosition{2, 6}));
  rig.Key(kVkUp, true);
  EXPECT_EQ(rig->SelectionStart(), (TextPosition{1, 2}));
  EXPECT_EQ(rig->SelectionEnd(), (TextPosition{2, 6}));
  // Through the rows of a wrapped line.
  Rig wrapped({std::string(25, 'x'), "y"});
  wrapped.Place(0, 3);
  wrapped.Key(kVkDown);
  EXPECT_EQ(wrapped->Caret(), (TextPosition{0, 13}));
  wrapped.Key(kVkDown);
  EXPECT_EQ(wrapped->Caret(), (TextPosition{0, 23}));
  wrapped.Key(kVkDown);
  EXPECT_EQ(wrapped->Caret(), (TextPosition{1, 1}));
}

TEST(Keys, DownOnTheLastShownLineScrollsItIn) {
  Rig rig(NumberedLines(20));
  rig.Place(9, 0);
  EXPECT_EQ(rig->TopLine(), 0);
  EXPECT_EQ(rig->EndLine(), 10);
  rig.Key(kVkDown);
  EXPECT_EQ(rig->Caret().line, 10);
  EXPECT_EQ(rig->TopLine(), 1);
  EXPECT_EQ(rig->CaretY(), 9 * kLineHeight);
  rig.Place(0, 0);
  EXPECT_EQ(rig->TopLine(), 0);
}

TEST(Keys, PagesMoveTheTextUnderTheCaret) {
  Rig rig(NumberedLines(40));
  rig.Place(2, 1);
  rig.Key(kVkNext);
  EXPECT_EQ(rig->TopLine(), 9);  // 10 rows less one
  EXPECT_EQ(rig->Caret(), (TextPosition{11, 1}));
  rig.Key(kVkPrior);
  EXPECT_EQ(rig->TopLine(), 0);
  EXPECT_EQ(rig->Caret(), (TextPosition{2, 1}));
  rig.Key(kVkPrior);  // cannot scroll: the top of the window
  EXPECT_EQ(rig->Caret(), (TextPosition{0, 1}));
  for (int i = 0; i < 6; ++i) rig.Key(kVkNext);
  EXPECT_TRUE(rig->AllShown());
  EXPECT_EQ(rig->Caret(), (TextPosition{39, 7}));  // the end of the text
  const int beeps = rig.Beeps();
  rig.Key(kVkNext);
  EXPECT_EQ(rig.Beeps(), beeps + 1);
}

TEST(Ring, SlotsAreReusedAndLaidOutAgain) {
  Rig rig(NumberedLines(400));
  EXPECT_EQ(rig->GetLineSlot(5), 5);
  EXPECT_EQ(rig->LineHeightOf(5), kLineHeight);
  rig.Place(300, 0);
  // Line 5 left the ring; its text changes behind the view's back.
  rig.doc.SetLine(5, std::string(25, 'w'));
  rig.Place(5, 0);
  EXPECT_EQ(rig->LineHeightOf(5), 3 * kLineHeight);
  EXPECT_EQ(rig->TopLine(), 5);
}

TEST(Ring, SlidesByTheLinesItMoves) {
  Rig rig(NumberedLines(1000));
  EXPECT_EQ(rig->GetLineSlot(127), 127);
  EXPECT_EQ(rig->GetLineSlot(128), 0);  // the base moved one line on
  EXPECT_EQ(rig->GetLineSlot(1), 1);
  EXPECT_EQ(rig->GetLineSlot(0), 0);  // and one line back
  // A jump of 773 lines moves the base slot as 773 single steps would.
  EXPECT_EQ(rig->GetLineSlot(900), (773 % 128 + 127) % 128);
  EXPECT_EQ(rig->GetLineSlot(773), 773 % 128);
  EXPECT_EQ(rig->GetLineSlot(772), (773 % 128 + 127) % 128);
}

TEST(Resize, NarrowerRewrapsEveryShownLineAndKeepsTheCaret) {
  std::vector<std::string> lines(12, std::string(8, 'r'));
  Rig rig(lines);
  rig.Place(9, 4);
  EXPECT_EQ(rig->TopLine(), 0);
  rig->Resize(ClientWidthFor(40), 10 * kLineHeight, kScrollBar);  // every line takes two rows now
  for (int line = rig->TopLine(); line < rig->EndLine(); ++line) EXPECT_EQ(rig->LineHeightOf(line), 2 * kLineHeight);
  EXPECT_GE(rig->CaretY(), 0);
  EXPECT_LE(rig->CaretY() + kLineHeight, 10 * kLineHeight);
  EXPECT_EQ(rig->Caret(), (TextPosition{9, 4}));
}

TEST(ScrollBar, HundredThousandLinesTakeFourLinesAUnit) {
  Rig rig(NumberedLines(100000));
  EXPECT_EQ(rig->EndLine(), 10);
  // Span 100000 + 0 - 10 + 2; step floor(span / 30000) + 1.
  EXPECT_EQ(rig->ScrollStep(), 4);
  EXPECT_EQ(rig.host.bar, (ScrollBarState{true, 99992 / 4, 0}));
  rig->VScroll(kSbThumbPosition, 100);
  EXPECT_EQ(rig->TopLine(), 399);
  EXPECT_EQ(rig->LineTop(399), 0);
  EXPECT_EQ(rig.host.bar.position, 400 / 4);
  rig->VScroll(kSbThumbPosition, 99992 / 4);  // the bottom: the last lines end at the bottom
  EXPECT_EQ(rig->TopLine(), 99990);
  EXPECT_TRUE(rig->AllShown());
  EXPECT_EQ(rig.host.bar.position, rig.host.bar.max);
}

TEST(ScrollBar, DisabledWhileEverythingIsShown) {
  Rig rig({"a", "b"});
  EXPECT_EQ(rig.host.bar, (ScrollBarState{false, 0, 0}));
  EXPECT_FALSE(rig->ScrollDownRow());
  EXPECT_FALSE(rig->ScrollUpRow());
}

TEST(Scroll, WheelAndLinesMoveByRows) {
  Rig rig({std::string(25, 'x'), "a", "b", "c", "d", "e", "f", "g", "h", "i", "j"});
  rig->MouseWheel(-120);
  EXPECT_EQ(rig->TopLine(), 0);
  EXPECT_EQ(rig->LineTop(0), -kLineHeight);  // one row of the wrapped line
  rig->VScroll(kSbLineDown, 0);
  rig->VScroll(kSbLineDown, 0);
  EXPECT_EQ(rig->TopLine(), 1);
  EXPECT_EQ(rig->LineTop(1), 0);
  rig->MouseWheel(120);
  EXPECT_EQ(rig->TopLine(), 0);
  EXPECT_EQ(rig->LineTop(0), -2 * kLineHeight);
  rig->VScroll(kSbPageUp, 0);
  EXPECT_EQ(rig->LineTop(0), 0);
  EXPECT_FALSE(rig->ScrollUpRow());
}

TEST(Paint, SelectionRunsAcrossLines) {
  Rig rig({"line0", "line1", "line2", "abcdef", "middle", "uvwxyz"});
  rig.Select({3, 2}, {5, 3});
  RecordingCanvas canvas;
  rig->Paint(canvas);
  std::vector<std::pair<std::string, bool>> runs;
  for (const auto& r : canvas.runs) runs.emplace_back(r.text, r.selected);
  const std::vector<std::pair<std::string, bool>> expected = {
      {"line0", false}, {"line1", false}, {"line2", false}, {"ab", false}, {"cdef", true},
      {"middle", true}, {"uvw", true},    {"xyz", false},
  };
  EXPECT_EQ(runs, expected);
  const int margin = kNarrow / 2;
  EXPECT_EQ(canvas.runs[4].x, margin + 2 * kNarrow);
  EXPECT_EQ(canvas.runs[4].y, 3 * kLineHeight);
  EXPECT_EQ(canvas.runs[4].advances, (std::vector<int>{8, 8, 8, 8}));
}

TEST(Paint, TabsAsBlanksAndStrayControlBytesAsNothing) {
  Rig rig({"\ta\t", "x"});
  rig.doc.SetLine(1, "x\x01y");  // a damaged line from elsewhere
  RecordingCanvas canvas;
  rig->Paint(canvas);
  ASSERT_EQ(canvas.runs.size(), 2u);
  EXPECT_EQ(canvas.runs[0].text, " a ");
  EXPECT_EQ(canvas.runs[1].text, "xy");
  EXPECT_EQ(canvas.runs[1].advances, (std::vector<int>{8, 8}));
}

TEST(Paint, LongRowsArePaintedInRunsOfAtMost1022Bytes) {
  const std::string line(1500, 'q');
  Rig rig({line}, {.textWidth = 1500 * kNarrow});
  RecordingCanvas canvas;
  rig->Paint(canvas);
  ASSERT_EQ(canvas.runs.size(), 2u);
  EXPECT_EQ(canvas.runs[0].text.size(), 1022u);
  EXPECT_EQ(canvas.runs[1].text.size(), 478u);
  EXPECT_EQ(canvas.runs[1].x, kNarrow / 2 + 1022 * kNarrow);
}

TEST(Paint, OnlyTheRowsInTheWindowArePainted) {
  // A line of 100 rows (ten characters each) in a window of ten rows.
  std::string line;
  for (int row = 0; row < 100; ++row) line += std::string(10, static_cast<char>('a' + row % 26));
  Rig rig({line, "next"}, {.textWidth = 10 * kNarrow, .rows = 10});
  RecordingCanvas canvas;
  rig->Paint(canvas);
  ASSERT_EQ(canvas.runs.size(), 10u);
  for (int row = 0; row < 10; ++row) {
    EXPECT_EQ(canvas.runs[row].y, row * kLineHeight);
    EXPECT_EQ(canvas.runs[row].text, std::string(10, static_cast<char>('a' + row)));
  }
  // Scrolled into the middle of the line: the rows above the window are not painted either.
  for (int i = 0; i < 45; ++i) rig->VScroll(kSbLineDown, 0);
  RecordingCanvas middle;
  rig->Paint(middle);
  ASSERT_EQ(middle.runs.size(), 10u);
  EXPECT_EQ(middle.runs[0].y, 0);
  EXPECT_EQ(middle.runs[0].text, std::string(10, static_cast<char>('a' + 45 % 26)));
  EXPECT_EQ(middle.runs[9].text, std::string(10, static_cast<char>('a' + 54 % 26)));
  // The caret and hit testing still see the whole line.
  EXPECT_EQ(rig->LineHeightOf(0), 100 * kLineHeight);
}

TEST(Paint, AWindowTallerThanTheRingShowsEveryLine) {
  // 150 one-row lines in a window of 200 rows: all of them, the last one at
  // row 149, and the caret on it.
  Rig rig(NumberedLines(150), {.rows = 200});
  RecordingCanvas canvas;
  rig->Paint(canvas);
  EXPECT_EQ(rig->EndLine(), 150);
  EXPECT_TRUE(rig->AllShown());
  ASSERT_EQ(canvas.runs.size(), 150u);
  EXPECT_EQ(canvas.runs.back().text, "line 149");
  EXPECT_EQ(canvas.runs.back().y, 149 * kLineHeight);
  rig.Place(149, 8);
  EXPECT_EQ(rig->TopLine(), 0);
  EXPECT_EQ(rig.host.caretX, kNarrow / 2 + 8 * kNarrow - 1);
  EXPECT_EQ(rig.host.caretY, 149 * kLineHeight);
  // 300 lines in the same window: rows 0-199 show lines 0-199; moving to
  // the last line puts it on the bottom row, with lines 100-299 above.
  Rig tall(NumberedLines(300), {.rows = 200});
  RecordingCanvas first;
  tall->Paint(first);
  EXPECT_EQ(tall->EndLine(), 200);
  ASSERT_EQ(first.runs.size(), 200u);
  EXPECT_EQ(first.runs.back().text, "line 199");
  tall.Key(kVkEnd, false, true);
  RecordingCanvas last;
  tall->Paint(last);
  EXPECT_EQ(tall->TopLine(), 100);
  ASSERT_EQ(last.runs.size(), 200u);
  EXPECT_EQ(last.runs.front().text, "line 100");
  EXPECT_EQ(last.runs.back().text, "line 299");
  EXPECT_EQ(last.runs.back().y, 199 * kLineHeight);
  EXPECT_EQ(tall.host.caretY, 199 * kLineHeight);
}

TEST(Paint, UtfEightLinesOnAGmFontPaintAsGmBytes) {
  Rig rig({"a" + U8(u"\xD55C")}, {.charset = kGmCharset});
  RecordingCanvas canvas;
  rig->Paint(canvas);
  ASSERT_EQ(canvas.runs.size(), 1u);
  EXPECT_EQ(canvas.runs[0].text, Bytes({'a', 0x94, 0x70}));
  EXPECT_EQ(canvas.runs[0].advances, (std::vector<int>{8, 16, 0}));
}

}  // namespace
}  // namespace editorview::test

// The input method's result, and the forks' parameter sets: lines in the
// double-byte code of the font, their copy, paste and result rules and
// their own operations.
#include <gtest/gtest.h>

#include "view_rig.h"

namespace editorview::test {
namespace {

const std::string kHangul = U8(u"\xD55C\xAE00");
const std::string kKsHan = Bytes({0xC7, 0xD1});
const std::string kKsHangul = Bytes({0xC7, 0xD1, 0xB1, 0xDB});
const std::string kGmHangul = Bytes({0x94, 0x70, 0x89, 0x7A});

std::u16string Repeated(char16_t unit, int n) { return std::u16string(static_cast<size_t>(n), unit); }

TEST(ImeResult, ReadModeAndLimits) {
  Rig ks({""});
  EXPECT_TRUE(ks->ImeResultMode().wide);
  Rig gm({""}, {.charset = kGmCharset});
  EXPECT_FALSE(gm->ImeResultMode().wide);
  const ImeResultRead read = ks->ImeResultMode();
  EXPECT_FALSE(read.Accepts(0));
  EXPECT_TRUE(read.Accepts(511));
  EXPECT_FALSE(read.Accepts(512));
}

TEST(ImeResult, ThreeHundredKoreanCharactersGoInSixHundredBytesDoNot) {
  Rig rig({""});
  EXPECT_TRUE(rig->InsertImeResult(Repeated(u'\xD55C', 300)));
  EXPECT_EQ(rig.Lines()[0].size(), 900u);
  EXPECT_FALSE(rig->InsertImeResult(std::string(600, 'a')));
  // 342 units make 1026 bytes of UTF-8: more than the view takes at once.
  EXPECT_FALSE(rig->InsertImeResult(Repeated(u'\xD55C', 342)));
  EXPECT_FALSE(rig->InsertImeResult(std::u16string()));
  EXPECT_EQ(rig.Lines()[0].size(), 900u);
  EXPECT_EQ(rig.Beeps(), 0);
}

TEST(ImeResult, GmFontResultsAreGmBytes) {
  Rig rig({""}, {.charset = kGmCharset});
  EXPECT_TRUE(rig->InsertImeResult(kGmHangul));
  EXPECT_EQ(rig.Lines()[0], kHangul);
}

TEST(ImeResult, ExtendsTheTypingRun) {
  Rig rig({""});
  rig.Type("a");
  rig->InsertImeResult(u"\xD55C");
  rig.Type("b");
  rig->Undo();
  EXPECT_EQ(rig.Lines()[0], "");
}

RigOptions Fork(const ViewVariant& variant, int charset = kHangeulCharset) {
  RigOptions o;
  o.variant = &variant;
  o.charset = charset;
  o.lineLimit = kForkLineLimit;
  return o;
}

TEST(Fork, KsLinesAreTypedAndWalkedByPairs) {
  Rig rig({""}, Fork(kListeningView));
  rig.Type("a");
  rig->Char(0xC7);  // a lead byte waits for its trail byte
  EXPECT_EQ(rig.Lines()[0], "a");
  rig->Char(0xD1);
  EXPECT_EQ(rig.Lines()[0], "a" + kKsHan);
  EXPECT_EQ(rig->Caret(), (TextPosition{0, 3}));
  rig.Key(kVkLeft);
  EXPECT_EQ(rig->Caret(), (TextPosition{0, 1}));
  rig.Key(kVkDelete);
  EXPECT_EQ(rig.Lines()[0], "a");
  // A KS pair is one wide character in the layout.
  EXPECT_EQ(rig->LineHeightOf(0), kLineHeight);
}

TEST(Fork, PaintsTheStoredBytes) {
  Rig rig({"x" + kKsHangul}, Fork(kPlayerView));
  RecordingCanvas canvas;
  rig->Paint(canvas);
  ASSERT_EQ(canvas.runs.size(), 1u);
  EXPECT_EQ(canvas.runs[0].text, "x" + kKsHangul);
  EXPECT_EQ(canvas.runs[0].advances, (std::vector<int>{8, 16, 0, 16, 0}));
}

TEST(Fork, KsCopy) {
  Rig rig({kKsHangul}, Fork(kWorkbenchView));
  rig->Command(kCmdKsCopy);
  const ClipboardWrite& w = *rig.clipboard.written;
  EXPECT_EQ(w.text, kKsHangul);
  EXPECT_EQ(w.unicode, std::u16string(u"\xD55C\xAE00"));
  EXPECT_FALSE(w.locale.has_value());
  // The rich text names the view font, always.
  EXPECT_EQ(w.richText, ReadPart(0) + "129 View Face" + ReadPart(1) + "32 \\'c7\\'d1\\'b1\\'db" + ReadPart(2));
}

TEST(Fork, GmCopy) {
  Rig rig({kGmHangul}, Fork(kListeningView, kGmCharset));
  rig->Command(kCmdGmCopy);
  const ClipboardWrite& w = *rig.clipboard.written;
  EXPECT_EQ(w.text, kGmHangul);
  EXPECT_FALSE(w.unicode.has_value());
  EXPECT_EQ(w.richText->substr(ReadPart(0).size(), 4), "128 ");
}

TEST(Fork, PasteTakesTheTextWithFewerQuestionMarks) {
  const struct {
    int charset;
    std::optional<std::string> bytes;
    std::optional<std::u16string> unicode;
    std::string pasted;
  } cases[] = {
      {kHangeulCharset, "??", u"\xD55C\xAE00", kKsHangul},
      {kHangeulCharset, "a?", u"a?", "a?"},  // as many: CF_TEXT
      {kHangeulCharset, std::nullopt, u"\xD55C", kKsHan},
      {kGmCharset, kGmHangul, u"xyz", kGmHangul},  // a GM view reads CF_TEXT only
  };
  for (const auto& c : cases) {
    Rig rig({""}, Fork(kPlayerView, c.charset));
    rig.clipboard.contents.text = c.bytes;
    rig.clipboard.contents.unicode = c.unicode;
    rig->Command(kCmdPaste);
    EXPECT_EQ(rig.Lines()[0], c.pasted);
  }
}

TEST(Fork, ImeResultByTheProgramsUnicodeFlag) {
  Rig rig({""}, Fork(kWorkbenchView));
  EXPECT_FALSE(rig->ImeResultMode().wide);
  rig.settings.unicodeImeResult = true;
  EXPECT_TRUE(rig->ImeResultMode().wide);
  EXPECT_TRUE(rig->InsertImeResult(u"\xD55C"));
  EXPECT_TRUE(rig->InsertImeResult(Bytes({0xB1, 0xDB})));
  EXPECT_EQ(rig.Lines()[0], kKsHangul);
  Rig gm({""}, Fork(kWorkbenchView, kGmCharset));
  gm.settings.unicodeImeResult = true;
  EXPECT_FALSE(gm->ImeResultMode().wide);
}

TEST(Fork, ClearAppendAndGoToLine) {
  Rig rig({"one", "two"}, Fork(kListeningView));
  rig.Type("x");
  rig->ClearText();
  EXPECT_EQ(rig.Lines(), (std::vector<std::string>{""}));
  EXPECT_FALSE(rig->CommandEnabled(kCmdUndo));
  rig->AppendText("first\nsecond");
  rig->AppendText(" line");
  EXPECT_EQ(rig.Lines(), (std::vector<std::string>{"first", "second line"}));
  rig->GoToLine(0);
  EXPECT_EQ(rig->Caret(), (TextPosition{0, 0}));
  rig->GoToLine(50);
  EXPECT_EQ(rig->Caret(), (TextPosition{1, 0}));
  rig->SelectAllText();
  EXPECT_EQ(rig->SelectedText(), "first\r\nsecond line");
}

TEST(Fork, WorkbenchDoesNotScrollOnceAfterClearText) {
  std::vector<std::string> lines(30, "l");
  Rig rig(lines, Fork(kWorkbenchView));
  rig->ClearText();
  rig->AppendText(std::string(40, 'x') + "\n" + std::string(20, '\n') + "end");
  EXPECT_EQ(rig->TopLine(), 0);  // the caret update after the append did not scroll
  EXPECT_EQ(rig->Caret().line, 21);
  rig.Type("!");
  EXPECT_GT(rig->TopLine(), 0);
  Rig other(lines, Fork(kPlayerView));
  other->ClearText();
  other->AppendText(std::string(21, '\n') + "end");
  EXPECT_GT(other->TopLine(), 0);
}

}  // namespace
}  // namespace editorview::test

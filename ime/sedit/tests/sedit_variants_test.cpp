// The editing behaviour that every copy of the control shares, run over the
// five variants with a Korean font: the text limit, removal runs and the
// undo that toggles, EM_SETSEL, the WM_SETTEXT cut, WM_GETTEXT sizes and the
// paste filter.
#include <gtest/gtest.h>

#include <cstring>

#include "sedit_rig.h"

namespace sedit::testing {
namespace {

struct VariantCase {
  const Variant* variant;
  std::string wide;  // "한" in the variant's text code
};

// Printed by the variant's name, so that test listings stay short.
void PrintTo(const VariantCase& c, std::ostream* os) { *os << c.variant->name; }

class SEditVariants : public ::testing::TestWithParam<VariantCase> {
 protected:
  SEditVariants() : rig(*GetParam().variant) { rig.Font(129); }
  const Variant& v() const { return *GetParam().variant; }
  const std::string& wide() const { return GetParam().wide; }
  int W() const { return static_cast<int>(wide().size()); }
  Editor ed() { return rig.ed(); }
  std::string Text() { return rig.ed().Text(); }
  Rig rig;
};

TEST_P(SEditVariants, TypingStopsAtTheLimitWithoutSplittingACharacter) {
  const int limit = v().limit;
  rig.Text(std::string(static_cast<size_t>(limit - 1), 'a'));
  EXPECT_TRUE(ed().OnChar("b", 1));
  EXPECT_EQ(ed().Length(), limit);
  EXPECT_FALSE(ed().OnChar("c", 1)) << "a full text refuses with a beep";
  EXPECT_EQ(ed().Length(), limit);

  // One byte short of room for the wide character: refused, a narrow one fits.
  rig.Text(std::string(static_cast<size_t>(limit - W() + 1), 'a'));
  EXPECT_FALSE(ed().OnChar(wide().data(), W()));
  EXPECT_EQ(ed().Length(), limit - W() + 1);
  EXPECT_TRUE(ed().OnChar("x", 1));

  rig.Text(std::string(static_cast<size_t>(limit - W()), 'a'));
  EXPECT_TRUE(ed().OnChar(wide().data(), W()));
  EXPECT_EQ(Text().substr(static_cast<size_t>(limit - W())), wide());
}

TEST_P(SEditVariants, EmLimitTextIsCappedByTheBuffer) {
  ed().LimitText(5);
  rig.Type("abcdefg");
  EXPECT_EQ(Text(), "abcde");
  ed().LimitText(100000);
  EXPECT_EQ(rig.r().limit, v().limit);
  ed().LimitText(~0ULL);
  EXPECT_EQ(rig.r().limit, v().limit);
}

TEST_P(SEditVariants, BackspaceRunUndoesAtOnceAndUndoToggles) {
  const std::string original = "x" + wide() + "yz";
  rig.Text(original);
  for (int i = 0; i < 3; ++i) ed().Backspace();
  EXPECT_EQ(Text(), "x");
  EXPECT_EQ(ed().UndoText(), wide() + "yz");

  ASSERT_TRUE(ed().CanUndo());
  ed().Undo();
  EXPECT_EQ(Text(), original);
  EXPECT_EQ(rig.r().selStart, 1);
  EXPECT_EQ(rig.r().selEnd, static_cast<int>(original.size()));
  EXPECT_EQ(rig.r().caret, static_cast<int>(original.size()));

  ed().Undo();
  EXPECT_EQ(Text(), "x");
  EXPECT_FALSE(rig.r().HasSelection());
  ed().Undo();
  EXPECT_EQ(Text(), original);
}

TEST_P(SEditVariants, DeleteRunAppendsAndUndoes) {
  const std::string original = "x" + wide() + "yz";
  rig.Text(original);
  ed().SetSel(0, 1);
  ed().KeyRight(false);  // clears the selection and steps over the wide character
  EXPECT_EQ(rig.r().caret, 1 + W());
  ed().KeyLeft(false);
  EXPECT_EQ(rig.r().caret, 1);
  ed().DeleteForward();
  ed().DeleteForward();
  EXPECT_EQ(Text(), "xz");
  EXPECT_EQ(ed().UndoText(), wide() + "y");
  ed().Undo();
  EXPECT_EQ(Text(), original);
}

TEST_P(SEditVariants, TypingRunUndoesAndTypingOverASelectionRestoresIt) {
  rig.Type("abc");
  ed().Undo();
  EXPECT_EQ(Text(), "");
  ed().Undo();
  EXPECT_EQ(Text(), "abc");

  rig.Text("hello" + wide());
  ed().SetSel(1, 5);
  rig.Type("EY");
  EXPECT_EQ(Text(), "hEY" + wide());
  ed().Undo();
  EXPECT_EQ(Text(), "hello" + wide());
  EXPECT_EQ(rig.r().selStart, 1);
  EXPECT_EQ(rig.r().selEnd, 5);
  ed().Undo();
  EXPECT_EQ(Text(), "hEY" + wide());
}

TEST_P(SEditVariants, EmSetSelCases) {
  rig.Text("abcdefg");
  ed().SetSel(5, 2);
  EXPECT_EQ(rig.r().selStart, 2);
  EXPECT_EQ(rig.r().selEnd, 5);
  EXPECT_EQ(rig.r().caret, 5);

  ed().SetSel(3, 3);  // empty: nothing changes
  EXPECT_EQ(rig.r().selStart, 2);
  EXPECT_EQ(rig.r().selEnd, 5);

  ed().SetSel(0, -1);
  EXPECT_EQ(rig.r().selStart, 0);
  EXPECT_EQ(rig.r().selEnd, 7);
  EXPECT_EQ(rig.r().caret, 7);

  ed().SetSel(2, 100);  // clamped to the text
  EXPECT_EQ(rig.r().selEnd, 7);

  ed().SetSel(-1, 0);
  EXPECT_FALSE(rig.r().HasSelection());
  EXPECT_EQ(rig.r().caret, 7) << "clearing leaves the caret";

  // An end inside a character takes the whole character.
  rig.Text("a" + wide() + "b");
  ed().SetSel(0, 2);
  EXPECT_EQ(rig.r().selEnd, 1 + W());
  EXPECT_EQ(rig.r().caret, 1 + W());
}

TEST_P(SEditVariants, SetTextCutsAtTheLimitOnACharacterBoundary) {
  const int limit = v().limit;
  const std::string longText(static_cast<size_t>(v().bufferSize + 72), 'a');
  ed().SetText(longText.c_str());
  EXPECT_EQ(ed().Length(), limit);

  ed().SetSel(0, 3);
  ed().DeleteSelection();
  ASSERT_TRUE(ed().CanUndo());
  const std::string crossing = std::string(static_cast<size_t>(limit - 1), 'a') + wide() + "tail";
  ed().SetText(crossing.c_str());
  EXPECT_EQ(Text(), std::string(static_cast<size_t>(limit - 1), 'a')) << "the character across the limit is left out";
  EXPECT_EQ(rig.r().caret, 0);
  EXPECT_FALSE(ed().CanUndo());
  EXPECT_FALSE(rig.r().HasSelection());

  ed().SetText(nullptr);
  EXPECT_EQ(Text(), "");
}

TEST_P(SEditVariants, GetTextSizes) {
  rig.Text("abcdefg");
  char out[16];
  std::memset(out, '#', sizeof out);
  EXPECT_EQ(ed().GetText(out, 0), 0);
  EXPECT_EQ(out[0], '#') << "a zero-size buffer is left alone";
  EXPECT_EQ(ed().GetText(nullptr, 10), 0);

  EXPECT_EQ(ed().GetText(out, 5), 4);
  EXPECT_STREQ(out, "abcd");
  EXPECT_EQ(ed().GetText(out, 8), 7);
  EXPECT_STREQ(out, "abcdefg");
  EXPECT_EQ(ed().GetText(out, sizeof out), 7);

  ed().SetText("");
  std::memset(out, '#', sizeof out);
  EXPECT_EQ(ed().GetText(out, 1), 0);
  EXPECT_EQ(out[0], '\0');
}

TEST_P(SEditVariants, PasteDropsControlCharactersAndIsOneUndoRun) {
  ClipboardText clip;
  clip.bytes = "ab\r\ncd\t";
  clip.unicode = u"ab\r\ncd\t";
  EXPECT_TRUE(ed().Paste(clip));
  EXPECT_EQ(Text(), "abcd");
  EXPECT_EQ(rig.r().caret, 4);
  ed().Undo();
  EXPECT_EQ(Text(), "");

  ClipboardText hangul;
  hangul.unicode = u"\uD55C";
  EXPECT_TRUE(ed().Paste(hangul));
  EXPECT_EQ(Text(), wide());
}

TEST_P(SEditVariants, PasteOverASelectionUndoesToTheOldText) {
  rig.Text("one two");
  ed().SetSel(4, 7);
  ed().DeleteSelection();
  ClipboardText clip;
  clip.unicode = u"three";
  clip.bytes = "three";
  ed().Paste(clip);
  EXPECT_EQ(Text(), "one three");
  ed().Undo();
  EXPECT_EQ(Text(), "one two");
}

TEST_P(SEditVariants, PasteBeyondTheLimitDoesNothing) {
  rig.Text(std::string(static_cast<size_t>(v().limit - 3), 'a'));
  ClipboardText clip;
  clip.bytes = "bcde";
  EXPECT_FALSE(ed().Paste(clip));
  EXPECT_EQ(ed().Length(), v().limit - 3);
  clip.bytes = "bcd";
  clip.unicode.reset();
  EXPECT_TRUE(ed().Paste(clip));
  EXPECT_EQ(ed().Length(), v().limit);
}

TEST_P(SEditVariants, CaretNeverStepsPastADamagedEnd) {
  // A record whose text ends in a lone first byte of a longer character.
  rig.Text("a");
  rig.r().text[1] = wide()[0];
  rig.r().text[2] = '\0';
  ed().KeyRight(false);
  EXPECT_EQ(rig.r().caret, 2);
  ed().KeyRight(false);
  EXPECT_EQ(rig.r().caret, 2);
  ed().Backspace();
  EXPECT_EQ(Text(), "a");
}

const VariantCase kCases[] = {
    {&kImeVariant, "\xC7\xD1"},
    {&kLookupVariant, "\xC7\xD1"},
    {&kWorkbenchVariant, "\xC7\xD1"},
    {&kPadVariant, "\xC7\xD1"},
    {&kEditorVariant, "\xED\x95\x9C"},
};

INSTANTIATE_TEST_SUITE_P(AllVariants, SEditVariants, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<VariantCase>& info) {
                           return std::string(info.param.variant->name);
                         });

}  // namespace
}  // namespace sedit::testing

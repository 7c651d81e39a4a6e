// What the variants do differently, and the parts of the core that need no
// variant table: text rules, the instance table, clipboard code pages,
// input-method results, focus, menu state, caret scrolling and hit testing.
#include <gtest/gtest.h>

#include "sedit_rig.h"

namespace sedit::testing {
namespace {

// Every byte is 8 pixels wide.
class FixedWidth final : public TextMeasurer {
 public:
  int Width(const char*, int count) override { return 8 * count; }
};

TEST(SEditTextRule, LeadBytesOfTheCodePages) {
  // Code page 932 stops at 0xFC; the Shift-JIS shape of the font flag goes to 0xFF.
  EXPECT_TRUE(IsCodePageLeadByte(932, 0x81));
  EXPECT_FALSE(IsCodePageLeadByte(932, 0xA1));
  EXPECT_TRUE(IsCodePageLeadByte(932, 0xFC));
  EXPECT_FALSE(IsCodePageLeadByte(932, 0xFD));
  EXPECT_TRUE((TextRule{TextCode::kShiftJisShape, 0}.IsLead(0xFD)));
  EXPECT_FALSE((TextRule{TextCode::kShiftJisShape, 0}.IsLead(0xA1)));
  EXPECT_TRUE((TextRule{TextCode::kAllHighLead, 0}.IsLead(0x80)));
  for (unsigned cp : {936u, 949u, 950u}) {
    EXPECT_FALSE(IsCodePageLeadByte(cp, 0x80)) << cp;
    EXPECT_TRUE(IsCodePageLeadByte(cp, 0x81)) << cp;
    EXPECT_TRUE(IsCodePageLeadByte(cp, 0xFE)) << cp;
    EXPECT_FALSE(IsCodePageLeadByte(cp, 0xFF)) << cp;
  }
  EXPECT_EQ(FontCodePage(129), 949u);
  EXPECT_EQ(FontCodePage(134), 936u);
  EXPECT_EQ(FontCodePage(136), 950u);
  EXPECT_EQ(FontCodePage(128), 0u);
}

TEST(SEditTextRule, Utf8RoutinesOfTheEditorCopy) {
  EXPECT_EQ(Utf16ToUtf8(u"\uAC00"), "\xEA\xB0\x80");
  EXPECT_EQ(Utf8ToUtf16("\xEA\xB0\x80", 3), u"\uAC00");
  const std::u16string lone(1, static_cast<char16_t>(0xD800));
  EXPECT_EQ(Utf16ToUtf8(lone).size(), 3u);
  const std::string loneBytes = Utf16ToUtf8(lone);
  EXPECT_EQ(Utf8ToUtf16(loneBytes.data(), 3), lone);
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80" "a", 5), u"\u3013a");
  EXPECT_EQ(Utf8CharLength("\x80\x80", 0, 2), 1);
  EXPECT_EQ(Utf8CharLength("\xEA\xB0", 0, 2), 1) << "a cut sequence counts byte by byte";
  EXPECT_EQ(Utf8PrevChar("a\xEA\xB0\x80" "b", 4, 5), 1);
}

TEST(SEditTextRule, FitLengthLeavesOutALoneLeadByte) {
  const TextRule ks{TextCode::kAllHighLead, 0};
  EXPECT_EQ(ks.FitLength("ab\xC7\xD1", 4, 3), 2);
  EXPECT_EQ(ks.FitLength("ab\xC7", 3, 10), 2);
  EXPECT_EQ(ks.FitLength("ab\xC7\xD1", 4, 4), 4);
}

TEST(SEditTable, FourthControlFindsNoRecordAndAFreedOneIsReused) {
  Rig rig(kImeVariant);  // holds window 1 already
  EXPECT_EQ(rig.table.Claim(2), 1);
  EXPECT_EQ(rig.table.Claim(3), 2);
  EXPECT_EQ(rig.table.Claim(4), -1);
  EXPECT_EQ(rig.table.Find(4), nullptr);

  rig.ed(1).SetText("left behind");
  rig.Font(129, 1);
  EXPECT_EQ(rig.table.Release(2), 1);
  EXPECT_EQ(rig.table.Claim(5), 1);
  EXPECT_EQ(rig.ed(1).Text(), "");
  EXPECT_EQ(rig.r(1).font, 0u) << "a new control starts without the old one's font";
  EXPECT_EQ(rig.r(1).limit, 127);

  Rig workbench(kWorkbenchVariant);
  for (std::uintptr_t w = 2; w <= 10; ++w) EXPECT_GE(workbench.table.Claim(w), 0);
  EXPECT_EQ(workbench.table.Claim(11), -1);
}

TEST(SEditLeadRule, EachControlKeepsItsOwnRule) {
  Rig rig(kImeVariant);
  rig.table.Claim(2);
  rig.Font(129, 0);  // Korean font: every high byte leads
  rig.Font(128, 1);  // Japanese font: Shift-JIS shape
  rig.Text("\xB0\xA1\xB0\xA1", 0);
  rig.Text("\xB0\xA1\xB0\xA1", 1);
  rig.ed(0).Backspace();
  rig.ed(1).Backspace();
  EXPECT_EQ(rig.ed(0).Text(), "\xB0\xA1");
  EXPECT_EQ(rig.ed(1).Text(), "\xB0\xA1\xB0") << "half-width kana are single bytes";

  // The LOGFONTA is copied into the record.
  auto lf = LogFontWithCharset(129);
  lf[28] = 'K';
  rig.ed(0).ApplyFont(7, lf.data(), 129);
  lf[28] = 'X';
  EXPECT_EQ(rig.r(0).logFont[28], 'K');
  rig.ed(0).ApplyFont(7, nullptr, 0);
  EXPECT_EQ(rig.r(0).rule.code, TextCode::kShiftJisShape) << "no LOGFONTA: the flag is cleared";
}

TEST(SEditLeadRule, WorkbenchTakesItsCodePageFromTheCharset) {
  Rig rig(kWorkbenchVariant);
  EXPECT_EQ(rig.r().codePage, 932u);
  const std::pair<unsigned, unsigned> cases[] = {{128, 932}, {134, 936}, {136, 950}, {129, 949}, {0, 949}};
  for (auto [charset, cp] : cases) {
    rig.Font(charset);
    EXPECT_EQ(rig.r().codePage, cp) << charset;  // charset 0 keeps the last code page
  }
  rig.Font(128);
  rig.Text("\xFD\x41");  // 0xFD is no lead byte of code page 932
  rig.ed().Backspace();
  EXPECT_EQ(rig.ed().Text(), "\xFD");
}

TEST(SEditTyping, ADoubleByteCharacterTypedInTwoMessagesGoesInWhole) {
  Rig rig(kImeVariant);
  rig.Font(129);
  rig.Text(std::string(126, 'a'));
  EXPECT_TRUE(rig.ed().TypeByte(0xC7));
  EXPECT_EQ(rig.ed().Length(), 126) << "the lead byte waits";
  EXPECT_FALSE(rig.ed().TypeByte(0xD1)) << "the pair does not fit";
  EXPECT_EQ(rig.ed().Text(), std::string(126, 'a'));
  rig.ed().Backspace();
  rig.Type("\xC7\xD1");
  EXPECT_EQ(rig.ed().Text().substr(125), "\xC7\xD1");

  // A control byte in place of the trail byte drops the lead.
  rig.Text("x");
  rig.ed().TypeByte(0xC7);
  rig.ed().TypeByte(0x08);
  EXPECT_EQ(rig.ed().Text(), "");
  rig.ed().TypeByte(0x01);
  EXPECT_EQ(rig.ed().Text(), "");
}

TEST(SEditTyping, EditorTakesTypedBytesAsCodePage932) {
  Rig rig(kEditorVariant);
  rig.Type("a\x82\xA0\xB1");  // a, HIRAGANA A, HALFWIDTH KATAKANA A
  EXPECT_EQ(rig.ed().Text(), "a\xE3\x81\x82\xEF\xBD\xB1");
  rig.ed().Backspace();
  EXPECT_EQ(rig.ed().Text(), "a\xE3\x81\x82");
  rig.ed().KeyLeft(false);
  EXPECT_EQ(rig.r().caret, 1);
}

TEST(SEditTyping, EditorDrawingModeFollowsTheCharset) {
  Rig rig(kEditorVariant);
  rig.Font(128);
  EXPECT_TRUE(rig.r().ansiDrawing);
  rig.Font(129);
  EXPECT_FALSE(rig.r().ansiDrawing);
}

TEST(SEditClipboard, CopyGivesUnicodeOnlyForAFontWithACodePage) {
  Rig rig(kImeVariant);
  rig.Font(129);
  rig.Text("a\xC7\xD1");
  rig.ed().SetSel(0, -1);
  ClipboardText out = rig.ed().Copy();
  ASSERT_TRUE(out.bytes && out.unicode);
  EXPECT_EQ(*out.bytes, "a\xC7\xD1");
  EXPECT_EQ(*out.unicode, u"a\uD55C");

  rig.Font(128);
  rig.Text("\x82\xA0");
  rig.ed().SetSel(0, -1);
  out = rig.ed().Copy();
  EXPECT_TRUE(out.bytes);
  EXPECT_FALSE(out.unicode);

  rig.ed().SetSel(-1, 0);
  out = rig.ed().Copy();
  EXPECT_FALSE(out.bytes || out.unicode) << "nothing selected, nothing copied";

  Rig chinese(kWorkbenchVariant);
  chinese.Font(134);
  chinese.Text("\xD6\xD0");  // U+4E2D in code page 936
  chinese.ed().SetSel(0, -1);
  out = chinese.ed().Copy();
  ASSERT_TRUE(out.unicode);
  EXPECT_EQ(*out.unicode, u"\u4E2D");

  Rig editor(kEditorVariant);
  editor.Text("\xED\x95\x9C");
  editor.ed().SetSel(0, -1);
  out = editor.ed().Copy();
  EXPECT_FALSE(out.bytes);
  ASSERT_TRUE(out.unicode);
  EXPECT_EQ(*out.unicode, u"\uD55C");
}

TEST(SEditClipboard, PasteChoosesTheFormatByTheFontCodePage) {
  ClipboardText both;
  both.bytes = "\x82\xA0";
  both.unicode = u"\uD55C";
  {
    Rig rig(kImeVariant);
    rig.Font(128);  // no code page: CF_TEXT as it is
    rig.ed().Paste(both);
    EXPECT_EQ(rig.ed().Text(), "\x82\xA0");
  }
  {
    Rig rig(kImeVariant);
    rig.Font(129);  // Korean: CF_UNICODETEXT in code page 949
    rig.ed().Paste(both);
    EXPECT_EQ(rig.ed().Text(), "\xC7\xD1");
  }
  {
    Rig rig(kImeVariant);
    rig.Font(128);
    ClipboardText unicode;
    unicode.unicode = u"\u3041";
    rig.ed().Paste(unicode);  // converted in code page 932
    EXPECT_EQ(rig.ed().Text(), "\x82\x9F");
  }
  {
    Rig rig(kEditorVariant);
    ClipboardText bytes;
    bytes.bytes = "\x82\xA0";
    rig.ed().Paste(bytes);
    EXPECT_EQ(rig.ed().Text(), "\xE3\x81\x82");
  }
}

TEST(SEditClipboard, EditorPasteThatGrowsPastTheLimitIsRefused) {
  Rig rig(kEditorVariant);
  ClipboardText clip;
  clip.unicode = std::u16string(100, u'\uD55C');  // 200 bytes counted, 300 as UTF-8
  EXPECT_FALSE(rig.ed().Paste(clip));
  EXPECT_EQ(rig.ed().Length(), 0);
  clip.unicode = std::u16string(84, u'\uD55C');  // 252 bytes of UTF-8
  EXPECT_TRUE(rig.ed().Paste(clip));
  EXPECT_EQ(rig.ed().Length(), 252);
}

TEST(SEditImeResult, ReadModesOfTheVariants) {
  {
    Rig rig(kImeVariant);
    rig.Font(129);
    EXPECT_TRUE(rig.ed().ImeResultMode(true).utf16);
    EXPECT_EQ(rig.ed().ImeResultMode(true).codePage, 949u);
    EXPECT_FALSE(rig.ed().ImeResultMode(false).utf16);
  }
  {
    Rig rig(kLookupVariant);
    for (unsigned cs : {129u, 136u, 134u}) {
      rig.Font(cs);
      EXPECT_TRUE(rig.ed().ImeResultMode(false).utf16) << cs;
      EXPECT_EQ(rig.ed().ImeResultMode(false).codePage, FontCodePage(cs));
    }
    rig.Font(128);
    EXPECT_FALSE(rig.ed().ImeResultMode(true).utf16);
  }
  {
    Rig rig(kPadVariant);
    rig.Font(128);
    EXPECT_TRUE(rig.ed().ImeResultMode(false).utf16);
    EXPECT_EQ(rig.ed().ImeResultMode(false).codePage, 932u);
    rig.Font(0);
    EXPECT_FALSE(rig.ed().ImeResultMode(false).utf16);
  }
  {
    Rig rig(kEditorVariant);
    rig.Font(128);
    EXPECT_FALSE(rig.ed().ImeResultMode(false).utf16);
    rig.Font(129);
    EXPECT_TRUE(rig.ed().ImeResultMode(false).utf16);
  }
  Rig ime(kImeVariant);
  EXPECT_FALSE(ime.ed().ImeResultTooLong(255));
  EXPECT_TRUE(ime.ed().ImeResultTooLong(256));
  Rig editor(kEditorVariant);
  EXPECT_FALSE(editor.ed().ImeResultTooLong(511));
  EXPECT_TRUE(editor.ed().ImeResultTooLong(512));
}

TEST(SEditImeResult, ResultGoesInCharacterByCharacterUpToTheLimit) {
  Rig rig(kImeVariant);
  rig.Font(129);
  rig.ed().LimitText(5);
  const FeedResult fed = rig.ed().FeedImeResult(u"\uD55C\uAD6D\uC5B4", rig.ed().ImeResultMode(true));
  EXPECT_EQ(fed.chars, 3);
  EXPECT_EQ(fed.beeps, 1);
  EXPECT_EQ(rig.ed().Text(), "\xC7\xD1\xB1\xB9");

  Rig bytes(kImeVariant);
  bytes.Font(128);
  EXPECT_EQ(bytes.ed().FeedImeResult(std::string("\x82\xA0z")).chars, 2);
  EXPECT_EQ(bytes.ed().Text(), "\x82\xA0z");

  Rig editor(kEditorVariant);
  editor.Font(128);
  editor.ed().FeedImeResult(std::string("\x82\xA0"));
  EXPECT_EQ(editor.ed().Text(), "\xE3\x81\x82");
}

TEST(SEditFocus, SelectAllOnTabAndNotOnClick) {
  Rig rig(kImeVariant);
  rig.Text("abc");
  rig.ed().SetSel(-1, 0);
  rig.ed().FocusGained(false);
  EXPECT_TRUE(rig.r().focus);
  EXPECT_FALSE(rig.r().HasSelection());
  rig.ed().FocusGained(true);
  EXPECT_EQ(rig.r().selStart, 0);
  EXPECT_EQ(rig.r().selEnd, 3);
  EXPECT_EQ(rig.r().caret, 3);
  rig.ed().SetText("");
  rig.ed().FocusGained(true);
  EXPECT_FALSE(rig.r().HasSelection());
  EXPECT_EQ(rig.r().caret, 0);
}

TEST(SEditMenu, ItemsFollowTheState) {
  Rig rig(kImeVariant);
  MenuState m = rig.ed().Menu(false);
  EXPECT_FALSE(m.undo || m.cut || m.copy || m.paste || m.clear || m.selectAll);
  rig.Text("abc");
  rig.ed().Backspace();
  m = rig.ed().Menu(true);
  EXPECT_TRUE(m.undo && m.paste && m.selectAll);
  EXPECT_FALSE(m.cut);
  rig.ed().SetSel(0, -1);
  m = rig.ed().Menu(false);
  EXPECT_TRUE(m.cut && m.copy && m.clear);
  EXPECT_FALSE(m.selectAll) << "already all selected";
}

TEST(SEditShiftKeys, SelectionGrowsAndShrinksFromItsAnchor) {
  Rig rig(kImeVariant);
  rig.Font(129);
  rig.Text("a\xC7\xD1" "b");
  rig.ed().KeyLeft(true);
  rig.ed().KeyLeft(true);
  EXPECT_EQ(rig.r().selStart, 1);
  EXPECT_EQ(rig.r().selEnd, 4);
  rig.ed().KeyRight(true);
  EXPECT_EQ(rig.r().selStart, 3);
  rig.ed().KeyRight(true);
  EXPECT_FALSE(rig.r().HasSelection());
  EXPECT_EQ(rig.r().caret, 4);
}

TEST(SEditCaret, ScrollsByWholeCharactersToKeepTheCaretVisible) {
  Rig rig(kImeVariant);
  rig.Text(std::string(20, 'a'));
  FixedWidth fixed;
  CaretPlace place = rig.ed().UpdateCaret(fixed, 4 + 80);
  EXPECT_TRUE(place.scrolled);
  EXPECT_EQ(rig.r().firstVisible, 12);
  EXPECT_EQ(place.x, 4 + 8 * 8);

  rig.ed().SetSel(0, 1);
  rig.ed().KeyLeft(false);  // caret 0, before the first visible byte
  place = rig.ed().UpdateCaret(fixed, 4 + 80);
  EXPECT_EQ(rig.r().firstVisible, 0);
  EXPECT_EQ(place.x, 4);
}

TEST(SEditCaret, LoopEndsInAControlNarrowerThanACharacter) {
  Rig rig(kImeVariant);
  rig.Font(129);
  rig.Text("\xC7\xD1\xC7\xD1\xC7\xD1");
  FixedWidth fixed;
  const CaretPlace place = rig.ed().UpdateCaret(fixed, 2);  // content right of 2: left of the text start
  EXPECT_EQ(rig.r().firstVisible, rig.r().caret);
  EXPECT_EQ(place.x, 4);
}

TEST(SEditHitTest, MidpointsPickTheCharacter) {
  Rig rig(kImeVariant);
  rig.Font(129);
  rig.Text("a\xC7\xD1" "b");
  FixedWidth fixed;
  EXPECT_EQ(rig.ed().HitTest(4 + 3, fixed), 0);
  EXPECT_EQ(rig.ed().HitTest(4 + 5, fixed), 1);
  EXPECT_EQ(rig.ed().HitTest(4 + 8 + 15, fixed), 3);
  EXPECT_EQ(rig.ed().HitTest(500, fixed), 4);
  rig.r().firstVisible = 3;
  EXPECT_EQ(rig.ed().HitTest(0, fixed), 1) << "left of the field: one character further left";
}

// WM_SETFONT's lParam is often the redraw flag (TRUE) or 0; only an address
// that can hold a LOGFONTA is taken as one.
TEST(SEditFontParam, SmallValuesAndUnreadableAddressesAreNoFontRecord) {
  const auto lf = LogFontWithCharset(129);
  const auto address = reinterpret_cast<std::uintptr_t>(lf.data());
  auto yes = [](std::uintptr_t, std::size_t) { return true; };
  auto no = [](std::uintptr_t, std::size_t) { return false; };
  struct Case {
    std::uintptr_t param;
    bool readable;
    bool taken;
  } cases[] = {
      {0, true, false}, {1, true, false}, {0xFFFF, true, false}, {address, true, true}, {address, false, false},
  };
  for (const Case& c : cases) {
    const unsigned char* got = c.readable ? LogFontFromParam(c.param, yes) : LogFontFromParam(c.param, no);
    EXPECT_EQ(got != nullptr, c.taken) << std::hex << c.param;
  }
  // The probe is asked for the whole record at the address.
  std::size_t asked = 0;
  LogFontFromParam(address, [&](std::uintptr_t a, std::size_t n) {
    EXPECT_EQ(a, address);
    asked = n;
    return true;
  });
  EXPECT_EQ(asked, static_cast<std::size_t>(kLogFontSize));

  // A control given the redraw flag keeps working without a font record.
  Rig rig(kLookupVariant);
  rig.Font(129);
  rig.ed().ApplyFont(7, LogFontFromParam(1, yes), 0);
  EXPECT_FALSE(rig.r().hasLogFont);
  EXPECT_EQ(rig.r().rule.code, TextCode::kShiftJisShape);
  rig.Type("ok");
  EXPECT_EQ(rig.ed().Text(), "ok");
}

}  // namespace
}  // namespace sedit::testing

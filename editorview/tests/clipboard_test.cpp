// Copy in KS and GM, the paste's choice between CF_TEXT, CF_UNICODETEXT and
// rich text, and the bounded reads of clipboard blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "clipboard_text.h"
#include "view_rig.h"

namespace editorview::test {
namespace {

const std::string kHangul = U8(u"\xD55C\xAE00");     // 한글
const std::string kKsHangul = Bytes({0xC7, 0xD1, 0xB1, 0xDB});
const std::string kGmHangul = Bytes({0x94, 0x70, 0x89, 0x7A});

TEST(Copy, KsCopyWritesEveryFormat) {
  Rig rig({kHangul});
  rig.settings.ksCopyRichText = true;
  rig.Select({0, 0}, {0, 6});
  ASSERT_TRUE(rig->CopyToClipboard(rig->SelectedText(), kCodeKs));
  const ClipboardWrite& w = *rig.clipboard.written;
  EXPECT_EQ(w.text, kKsHangul);
  EXPECT_EQ(w.locale, 1042u);
  EXPECT_EQ(w.unicode, std::u16string(u"\xD55C\xAE00"));
  // lfHeight -21 on a 96 dpi screen is 16 points: 32 half-points.
  const std::string expected = ReadPart(0) + "129 KS P Mincho" + ReadPart(1) + "32 \\'c7\\'d1\\'b1\\'db" + ReadPart(2);
  EXPECT_EQ(w.richText, expected);
}

TEST(Copy, GmCopyHasNoUnicodeText) {
  Rig rig({kHangul});
  rig->Command(kCmdGmCopy);  // no selection: the whole text
  const ClipboardWrite& w = *rig.clipboard.written;
  EXPECT_EQ(w.text, kGmHangul);
  EXPECT_EQ(w.locale, 1041u);
  EXPECT_FALSE(w.unicode.has_value());
  EXPECT_FALSE(w.richText.has_value());  // GmCopyFlag 0
}

TEST(Copy, GmCopyOfASyllableOutsideKsX1001) {
  Rig rig({"a" + U8(u"\xAC02") + "b"});
  rig->Command(kCmdGmCopy);
  EXPECT_EQ(rig.clipboard.written->text, "a?b");
}

TEST(Copy, WithoutASelectionEveryLineJoinedByCrLf) {
  Rig rig({"one", "", "three"});
  rig->Command(kCmdKsCopy);
  EXPECT_EQ(rig.clipboard.written->text, "one\r\n\r\nthree");
}

TEST(Copy, AClosedClipboardIsReportedAndCutKeepsTheText) {
  Rig rig({"abc"});
  rig.clipboard.openable = false;
  rig.Select({0, 0}, {0, 2});
  rig->Command(kCmdCut);
  EXPECT_EQ(rig.Lines()[0], "abc");
  EXPECT_TRUE(rig->HasSelection());
  EXPECT_EQ(rig.host.notices, (std::vector<Notice>{Notice::kClipboardWriteError}));
}

TEST(Copy, CutTakesThePasteCodesCode) {
  Rig rig({kHangul + "x"});
  rig.settings.pasteCode = 2;
  rig.Select({0, 0}, {0, 6});
  rig->Command(kCmdCut);
  EXPECT_EQ(rig.clipboard.written->text, kGmHangul);
  EXPECT_EQ(rig.Lines()[0], "x");
}

TEST(PasteChoice, ByTheCountOfQuestionMarks) {
  using S = PasteSource;
  const struct {
    std::optional<std::string> bytes;
    std::optional<std::u16string> unicode;
    int pasteCode;
    S source;
  } cases[] = {
      {"??", u"ab", 0, S::kUnicode},    // CF_TEXT lost characters
      {"ab", u"ab", 0, S::kUnicode},    // as many "?": Unicode
      {"ab", u"ab", 2, S::kBytes},      // GM wants one more "?" in CF_TEXT
      {"a?", u"a?", 2, S::kBytes},
      {"??", u"a?", 2, S::kUnicode},
      {"ab", u"a?", 1, S::kBytes},      // the Unicode text lost more
      {"ab", std::nullopt, 0, S::kBytes},
      {std::nullopt, u"??", 2, S::kUnicode},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChoosePasteSource(c.bytes, c.unicode, c.pasteCode), c.source)
        << (c.bytes ? *c.bytes : "-") << " / " << c.pasteCode;
  }
}

TEST(Paste, TextFormatsTable) {
  const struct {
    const char* what;
    int pasteCode;
    std::optional<std::string> bytes;
    std::optional<std::u16string> unicode;
    unsigned detected;
    std::string pasted;
  } cases[] = {
      {"CF_TEXT with ?? gives way to Unicode", 0, "??", u"\xD55C\xAE00", 0, kHangul},
      {"paste code 2, no ? anywhere: CF_TEXT as GM", 2, kGmHangul, u"XY", 0, kHangul},
      {"paste code 1: CF_TEXT as KS", 1, kKsHangul, u"a?", 0, kHangul},
      {"automatic, the detector says GM", 0, kGmHangul, std::nullopt, kDetectedGm, kHangul},
      {"automatic, the detector says KS", 0, kKsHangul, std::nullopt, 0x20, kHangul},
      {"only Unicode", 2, std::nullopt, u"a\nb", 0, "a\nb"},
  };
  for (const auto& c : cases) {
    Rig rig({""});
    rig.settings.pasteCode = c.pasteCode;
    rig.detector.answer = c.detected;
    rig.clipboard.contents.text = c.bytes;
    rig.clipboard.contents.unicode = c.unicode;
    rig->Command(kCmdPaste);
    std::string got;
    for (const std::string& line : rig.Lines()) got += (got.empty() ? "" : "\n") + line;
    EXPECT_EQ(got, c.pasted) << c.what;
    EXPECT_TRUE(rig.host.notices.empty()) << c.what;
    EXPECT_TRUE(rig.doc.IsModified()) << c.what;
  }
}

TEST(Paste, TheDetectorIsAskedWithMask96) {
  Rig rig({""});
  rig.clipboard.contents.text = kKsHangul;
  rig->Command(kCmdPaste);
  ASSERT_EQ(rig.detector.asked, (std::vector<std::string>{kKsHangul}));
  EXPECT_EQ(rig.detector.lastMask, 96u);
}

TEST(Paste, NothingToReadIsReported) {
  Rig rig({"x"});
  EXPECT_FALSE(rig->CommandEnabled(kCmdPaste));
  rig->Command(kCmdPaste);
  EXPECT_EQ(rig.host.notices, (std::vector<Notice>{Notice::kClipboardReadError}));
  rig.clipboard.contents.text = "abc";
  rig.clipboard.openable = false;
  rig->Command(kCmdPaste);
  EXPECT_EQ(rig.host.notices.size(), 2u);
  EXPECT_EQ(rig.Lines()[0], "x");
}

TEST(Paste, ReplacesTheSelection) {
  Rig rig({"hello world"});
  rig.clipboard.contents.unicode = u"J";
  rig.Select({0, 0}, {0, 5});
  EXPECT_TRUE(rig->CommandEnabled(kCmdPaste));
  rig->Command(kCmdPaste);
  EXPECT_EQ(rig.Lines()[0], "J world");
  rig->Undo();
  EXPECT_EQ(rig.Lines()[0], "hello world");
}

// Rich text with the given font table entries and body.
std::string Rtf(const std::string& fonts, const std::string& body) {
  return "{\\rtf1\\ansi\\deff0{\\fonttbl" + fonts + "}\\pard\\plain " + body + "}";
}

std::string Escaped(const std::string& bytes) {
  std::string out(EscapedRtfLength(bytes), '\0');
  EscapeRtfText(bytes, out.data());
  return out;
}

TEST(Paste, RichTextTable) {
  const auto& pages = codeconv::PlatformCodePages();
  const std::string gmFace = Escaped(pages.FromUtf16(932, u"\xFF27\xFF2D\x97D3\x56FD\x660E\x671D"));  // ＧＭ韓国明朝
  const std::string msFace = Escaped(pages.FromUtf16(932, u"\xFF2D\xFF33 \x660E\x671D"));           // ＭＳ 明朝
  const std::string kana2 = Escaped(pages.FromUtf16(932, u"\x3042\x3044"));                        // あい
  const std::string letters = "abcdefghijklmnopqrstuvwxyz";
  const struct {
    const char* what;
    int pasteCode;
    std::string rtf;
    std::string pasted;
    std::vector<Notice> notices;
  } cases[] = {
      {"KS font", 0, Rtf("{\\f1\\fnil\\fcharset129 Gulim;}", "\\f1 " + Escaped(kKsHangul)), kHangul, {}},
      {"GM font", 0, Rtf("{\\f1\\fnil\\fcharset128 " + gmFace + ";}", "\\f1 " + Escaped(kGmHangul)), kHangul, {}},
      {"Japanese font: Korean lost as ?", 0,
       Rtf("{\\f1\\fnil\\fcharset128 " + msFace + ";}", "\\f1 " + letters + kana2), letters + "??",
       {Notice::kRtfUnconvertible}},
      {"mostly ?: the KS text instead", 0, Rtf("{\\f1\\fnil\\fcharset128 " + msFace + ";}", "\\f1 " + kana2),
       "zz", {Notice::kRtfUnconvertible}},
      {"plain ASCII in a Latin font loses nothing", 0, Rtf("{\\f0\\fswiss\\fcharset0 Arial;}", "\\f0 ab\\par cd"),
       "ab\ncd", {}},
      {"runs in two fonts are joined", 0,
       Rtf("{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil\\fcharset129 Gulim;}", "\\f0 a\\f1 " + Escaped(kKsHangul)),
       "a" + kHangul, {}},
      {"broken rich text pastes nothing", 0, "{\\rtf1\\pard{\\f0 a", "", {Notice::kRtfInvalid}},
      {"paste code 1 ignores the rich text", 1, Rtf("{\\f1\\fcharset129 G;}", "\\f1 x"), "zz", {}},
  };
  for (const auto& c : cases) {
    Rig rig({""});
    rig.settings.pasteCode = c.pasteCode;
    rig.clipboard.contents.richText = c.rtf;
    rig.clipboard.contents.text = "zz";  // KS bytes of the text paste
    rig->Command(kCmdPaste);
    std::string got;
    for (const std::string& line : rig.Lines()) got += (got.empty() ? "" : "\n") + line;
    EXPECT_EQ(got, c.pasted) << c.what;
    EXPECT_EQ(rig.host.notices, c.notices) << c.what;
  }
}

TEST(Paste, OwnRichTextComesBack) {
  Rig rig({kHangul});
  rig.settings.ksCopyRichText = true;
  rig->Command(kCmdKsCopy);
  rig.clipboard.contents.text.reset();
  rig.clipboard.contents.unicode.reset();
  rig.Place(0, 6);
  rig->Command(kCmdPaste);
  EXPECT_EQ(rig.Lines()[0], kHangul + kHangul);
}

TEST(QuestionMarks, OneByteInTenWithinTheFirstHundred) {
  EXPECT_TRUE(MostlyQuestionMarks("?"));
  EXPECT_TRUE(MostlyQuestionMarks("ab?"));
  EXPECT_FALSE(MostlyQuestionMarks("?abcdefghi"));  // 10 bytes, one "?": not more than one in ten
  EXPECT_TRUE(MostlyQuestionMarks("??abcdefghi"));
  EXPECT_FALSE(MostlyQuestionMarks(std::string(100, 'a') + std::string(50, '?')));
  EXPECT_FALSE(MostlyQuestionMarks(""));
}

TEST(Blocks, ReadsStopAtTheNulAndAtTheBlockEnd) {
  // A block of exactly its size, without a NUL: nothing past it is read.
  const std::string text = "abc";
  std::unique_ptr<char[]> block(new char[text.size()]);
  std::memcpy(block.get(), text.data(), text.size());
  EXPECT_EQ(TextFromBlock(block.get(), text.size()), "abc");
  const char terminated[] = "ab\0cd";
  EXPECT_EQ(TextFromBlock(terminated, sizeof terminated), "ab");
  EXPECT_EQ(TextFromBlock(nullptr, 10), "");

  const unsigned char units[] = {'a', 0, 'b', 0, 'c'};  // an odd size: the last byte is no unit
  std::unique_ptr<unsigned char[]> wide(new unsigned char[sizeof units]);
  std::memcpy(wide.get(), units, sizeof units);
  EXPECT_EQ(UnicodeFromBlock(wide.get(), sizeof units), u"ab");
  const unsigned char stop[] = {'a', 0, 0, 0, 'b', 0};
  EXPECT_EQ(UnicodeFromBlock(stop, sizeof stop), u"a");
}

}  // namespace
}  // namespace editorview::test

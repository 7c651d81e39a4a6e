// The choices the view makes from its font: the input method's edition,
// the status text and the code settings after a change of the font's code.
#include <gtest/gtest.h>

#include "view_choices.h"
#include "view_rig.h"

namespace editorview::test {
namespace {

TEST(Edition, ByTheFontsCharsetAndTheFirstInstalledName) {
  using codeconv::ImeLayoutEntry;
  const std::vector<ImeLayoutEntry> layouts = {
      {0x04110411, ""}, {0xE0010411, "warben95.ime"}, {0xE0020411, "WARBENV5.IME"}, {0xE0030411, "zorbenv4.ime"}};
  EXPECT_EQ(FindLayoutByImeFile(EditionFilesForCharset(kGmCharset), layouts), 0xE0020411u);
  EXPECT_EQ(FindLayoutByImeFile(EditionFilesForCharset(kHangeulCharset), layouts), 0xE0030411u);
  // Only exact names count: a newer edition of the same name is no match.
  const std::vector<ImeLayoutEntry> other = {{0xE0040411, "ZORBENV7.IME"}, {0xE0050411, "WARBENV6.IM"}};
  EXPECT_EQ(FindLayoutByImeFile(kUnicodeEditionFiles, other), 0u);
  EXPECT_EQ(FindLayoutByImeFile(kGmEditionFiles, other), 0u);
  // Only the first 100 layouts are examined.
  std::vector<ImeLayoutEntry> many(100, ImeLayoutEntry{0x04110411, "KBDJPN.DLL"});
  many.push_back({0xE0060411, "ZORBENV6.IME"});
  EXPECT_EQ(FindLayoutByImeFile(kUnicodeEditionFiles, many), 0u);
}

TEST(Status, NamesTheFontsCode) {
  EXPECT_EQ(CodeStatusStringId(kGmCharset), 62014);
  EXPECT_EQ(CodeStatusStringId(kHangeulCharset), 62016);
}

TEST(FontCode, SettingsThatNameACodeReturnToAutomatic) {
  const struct {
    CodeSettings before;
    bool box;
    CodeSettings after;
  } cases[] = {
      {{2, 0, 2}, true, {0, 0, 2}},
      {{0, 4, 2}, true, {0, 0, 2}},
      {{0, 3, 3}, true, {0, 3, 2}},
      {{1, 5, 4}, true, {0, 0, 2}},
      {{0, 3, 2}, false, {0, 3, 2}},
      {{0, 1, 0}, false, {0, 1, 0}},
  };
  for (const auto& c : cases) {
    CodeSettings s = c.before;
    EXPECT_EQ(ResetCodesAfterFontCodeChange(s), c.box);
    EXPECT_EQ(s.pasteCode, c.after.pasteCode);
    EXPECT_EQ(s.inFileType, c.after.inFileType);
    EXPECT_EQ(s.outFileType, c.after.outFileType);
  }
}

TEST(FontCode, AChangeFromKsToGmIsReported) {
  Rig rig({"abc"});
  ViewFont font = rig->Font();
  font.lineHeight = 20;
  EXPECT_FALSE(rig->SetFont(font));  // the same code
  EXPECT_EQ(rig->LineHeightOf(0), 20);
  font.charset = kGmCharset;
  EXPECT_TRUE(rig->SetFont(font));
  EXPECT_EQ(rig->GetFontCode(), 1);
  EXPECT_FALSE(rig->ImeResultMode().wide);
}

}  // namespace
}  // namespace editorview::test

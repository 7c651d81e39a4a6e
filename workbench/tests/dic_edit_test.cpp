#include "dic_edit.h"

#include <gtest/gtest.h>

#include "code_page.h"
#include "ks_gm.h"

namespace {

std::string Sjis(const std::string& utf8) {
  auto& pages = codeconv::PlatformCodePages();
  return pages.FromUtf16(932, pages.ToUtf16(65001, utf8));
}
std::string Ks(const std::string& utf8) {
  auto& pages = codeconv::PlatformCodePages();
  return pages.FromUtf16(949, pages.ToUtf16(65001, utf8));
}

struct Case {
  std::string source, translation;
  bool ks;
  const char* message;  // nullptr: accepted
};

TEST(DicEdit, TheChecksAndTheirMessages) {
  const std::string ksEllipsis = "\xA1\xA6", gmEllipsis = "\x81\x63";
  const Case cases[] = {
      {"", Ks("고양이"), true, "原語（日本語）を入力してください。"},
      {"   ", Ks("고양이"), true, "原語（日本語）を入力してください。"},
      {Sjis("猫？"), Ks("고양이"), true, "原語（日本語）に使用できない文字「？」があります。"},
      {Sjis("黒　猫"), Ks("고양이"), true, "原語（日本語）に使用できない文字「　」があります。"},
      {Sjis("猫。"), Ks("고양이"), true, "原語（日本語）に使用できない文字「。」があります。"},
      {Sjis("猫"), "", true, "訳語（韓国語）を入力してください。"},
      {Sjis("猫"), Ks("고양") + ksEllipsis, true, "訳語（韓国語）に使用できない文字「…」があります。"},
      {Sjis("猫"), "\x88\xA2" + gmEllipsis, false, "訳語（韓国語）に使用できない文字「…」があります。"},
      {Sjis("猫"), Ks("고양이") + "&", true, "訳語（韓国語）に使用できない文字「&」があります。"},
      {Sjis("猫"), Ks("고?"), true, "訳語（韓国語）に使用できない文字「?」があります。"},
      {Sjis("猫"), Ks("고양이"), true, nullptr},
      // In KS mode 81 63 is no ellipsis but part of a KS character.
      {Sjis("猫"), "\x81\x63", true, nullptr},
  };
  for (const Case& c : cases) {
    const auto check = workbench::CheckEntry(c.source, c.translation, true, c.ks);
    SCOPED_TRACE(c.message ? c.message : "accepted");
    EXPECT_EQ(check.ok, c.message == nullptr);
    EXPECT_EQ(check.message, c.message ? c.message : "");
  }
}

TEST(DicEdit, ANewSourceIsWidenedAndCutTo40Bytes) {
  auto check = workbench::CheckEntry("ABC  ", Ks("가"), true, true);
  EXPECT_TRUE(check.ok);
  EXPECT_EQ(check.source, Sjis("ＡＢＣ"));
  EXPECT_FALSE(check.beep);
  check = workbench::CheckEntry(std::string(21, 'a'), Ks("가"), true, true);  // 42 bytes widened
  EXPECT_TRUE(check.beep);
  EXPECT_EQ(check.source.size(), 40u);
  // A modified entry's source stays as it is.
  check = workbench::CheckEntry("ABC", Ks("가"), false, true);
  EXPECT_EQ(check.source, "ABC");
}

TEST(DicEdit, TheRecordCarriesTheTranslationInGmCode) {
  const std::string ks = Ks("고양이");
  std::string gm;
  for (std::size_t i = 0; i < ks.size(); i += 2) {
    const auto c = codeconv::KsCharToGm(codeconv::MakeDb(static_cast<uint8_t>(ks[i]), static_cast<uint8_t>(ks[i + 1])));
    gm.push_back(static_cast<char>(c >> 8));
    gm.push_back(static_cast<char>(c & 0xFF));
  }
  for (bool ksMode : {true, false}) {
    const auto r = workbench::MakeEntryRecord(Sjis("東京"), ksMode ? ks : gm, ksMode, 4, true, true, 7);
    const auto* b = reinterpret_cast<const uint8_t*>(&r);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b)), Sjis("東京"));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 84)), gm) << ksMode;
    EXPECT_EQ(b[126], '2');
    EXPECT_EQ(b[136], 6);
    EXPECT_EQ(b[137], 4);  // class 4 "地名" is subtype 4
    EXPECT_EQ(b[138], 0);
    EXPECT_EQ(b[140], 1);
    EXPECT_EQ(b[148], 7);
  }
  // A disabled box gives 0 whatever its check.
  EXPECT_EQ(workbench::MakeEntryRecord(Sjis("東京"), gm, false, 3, false, true, 0).hanjaFlag, 0);
  EXPECT_EQ(workbench::MakeEntryRecord(Sjis("東京"), gm, false, 3, false, true, 0).partOfSpeech[1], 5);
}

TEST(DicEdit, HanjaOutputNeedsAKanjiWordAndAClass) {
  EXPECT_TRUE(workbench::HanjaOutputEnabled(Sjis("東京"), 4));
  EXPECT_FALSE(workbench::HanjaOutputEnabled(Sjis("とうきょう"), 4));
  EXPECT_FALSE(workbench::HanjaOutputEnabled(Sjis("東きょう"), 4));
  EXPECT_FALSE(workbench::HanjaOutputEnabled("", 4));
  EXPECT_FALSE(workbench::HanjaOutputEnabled(Sjis("東京"), -1));
  EXPECT_FALSE(workbench::HanjaOutputEnabled(Sjis("東京"), 7));
}

TEST(DicEdit, ALoadedVerbOrAdjectiveKeepsItsClass) {
  EXPECT_FALSE(workbench::ClassChangeAllowed(true, 2));
  EXPECT_FALSE(workbench::ClassChangeAllowed(true, 3));
  EXPECT_TRUE(workbench::ClassChangeAllowed(true, 6));
  EXPECT_TRUE(workbench::ClassChangeAllowed(false, 2));
}

}  // namespace

#include <gtest/gtest.h>

#include "font_rules.h"

namespace fontdlg {
namespace {

TEST(FontRules, HeightsAndPoints) {
  EXPECT_EQ(HeightForPoints(12, 96), -16);   // size "12" on a 96-dpi screen
  EXPECT_EQ(PointsForHeight(-21, 96), 16);   // 15.75 rounded up
  EXPECT_EQ(PointsForHeight(-16, 96), 12);
  EXPECT_EQ(HeightForPoints(16, 96), -21);   // 21.33
  EXPECT_EQ(HeightForPoints(9, 120), -15);
}

TEST(FontRules, FaceListsOfTheVariants) {
  struct Case {
    const char16_t* face;
    int charset;
    bool trueType;
    FaceRules rules;
    FaceSide side;
  } const cases[] = {
      {u"ＭＳ 明朝", 128, true, FaceRules::kListening, FaceSide::kJapanese},
      {u"ＫＳ韓国明朝", 128, true, FaceRules::kListening, FaceSide::kNone},
      {u"ＧＭ韓国ゴシック", 128, true, FaceRules::kListening, FaceSide::kNone},
      {u"@ＭＳ 明朝", 128, true, FaceRules::kListening, FaceSide::kNone},
      {u"Batang", 129, true, FaceRules::kListening, FaceSide::kKorean},
      {u"Gulim", 0, true, FaceRules::kPlayer, FaceSide::kKorean},
      {u"Gulim", 0, true, FaceRules::kListening, FaceSide::kNone},
      {u"Gulim", 128, true, FaceRules::kPlayer, FaceSide::kJapanese},
      {u"ＭＳ 明朝", 128, false, FaceRules::kListening, FaceSide::kNone},
      {u"ＧＢ 明朝", 128, true, FaceRules::kDictionary, FaceSide::kNone},
      {u"ＫＳ 韓国明朝", 129, true, FaceRules::kDictionary, FaceSide::kNone},
      {u"QZ-B5 Ming", 128, true, FaceRules::kDictionary, FaceSide::kNone},
      {u"ＧＭ ゴシック", 128, true, FaceRules::kDictionary, FaceSide::kNone},
      {u"NanumGothic", 129, true, FaceRules::kDictionary, FaceSide::kKorean},
      {u"IPAMincho", 128, true, FaceRules::kDictionary, FaceSide::kJapanese},
      {u"Arial", 0, true, FaceRules::kDictionary, FaceSide::kNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifyFace({c.face, c.charset, c.trueType, false}, c.rules, false), c.side) << "case " << (&c - cases);
  }
  EXPECT_EQ(ClassifyFace({u"IPAMincho", 128, true, false}, FaceRules::kDictionary, true), FaceSide::kNone);
  EXPECT_EQ(ClassifyFace({u"IPAGothic", 128, true, true}, FaceRules::kDictionary, true), FaceSide::kJapanese);
}

TEST(FontRules, Colours) {
  EXPECT_EQ(FindColorIndex(u""), kAutoColor);
  EXPECT_EQ(FindColorIndex(u"赤"), 9);
  EXPECT_EQ(ColorAt(9).colorref, 0x0000FFu);  // FF 00 00 as RGB
  EXPECT_EQ(ColorAt(4).colorref, 0x800000u);  // 紺: 00 00 80
  EXPECT_EQ(FindColorValue(16711680), 12);    // 青
  EXPECT_EQ(FindColorValue(0x123456), kAutoColor);
  EXPECT_STREQ(reinterpret_cast<const char*>(FontCharsetLabel(300)), reinterpret_cast<const char*>(u"その他"));
}

}  // namespace
}  // namespace fontdlg

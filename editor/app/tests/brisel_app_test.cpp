// The editor program's portable rules: its settings in the profile, where
// its window opens, and the names its OpenDocumentFile takes.
#include <gtest/gtest.h>

#include <string>

#include "editor_settings.h"
#include "open_path.h"
#include "profile.h"
#include "window_placement.h"

namespace brisel {
namespace {

// ---- settings ----

TEST(EditorSettingsTest, DefaultsOfAnEmptyProfile) {
  fw::MemoryProfileStore store;
  fw::Profile profile(store);
  const EditorSettings s = ReadControlSettings(profile);
  EXPECT_EQ(s.pasteCode, 0);
  EXPECT_EQ(s.inFileType, 0);
  EXPECT_EQ(s.outFileType, 0);
  EXPECT_EQ(s.ksCopyFlag, 1);
  EXPECT_EQ(s.gmCopyFlag, 1);
  EXPECT_EQ(s.ksCopyFont, u"KS P Mincho");
  EXPECT_EQ(s.gmCopyFont, u"ＧＭ韓国明朝");
  const FontSettings f = ReadFontSettings(profile);
  EXPECT_EQ(f.height, -21);
  EXPECT_EQ(f.weight, 400);
  EXPECT_EQ(f.charSet, 129);
  EXPECT_EQ(f.faceName, u"KS P Mincho");
  EXPECT_EQ(f.fontType, 4);
  EXPECT_EQ(f.pitchAndFamily, 1);
}

TEST(EditorSettingsTest, ControlWrittenAsDecimalTextAndReadBack) {
  fw::MemoryProfileStore store;
  fw::Profile profile(store);
  EditorSettings s;
  s.pasteCode = 1;
  s.inFileType = 5;
  s.outFileType = 3;
  s.ksCopyFlag = 0;
  s.gmCopyFont = u"ＧＭ韓国ゴシック";
  ASSERT_TRUE(WriteControlSettings(profile, s));
  const std::pair<const char16_t*, const char16_t*> expected[] = {
      {u"PasteCode", u"1"},  {u"InFileType", u"5"}, {u"OutFileType", u"3"},        {u"KsCopyFlag", u"0"},
      {u"GmCopyFlag", u"1"}, {u"KsCopyFont", u"KS P Mincho"}, {u"GmCopyFont", u"ＧＭ韓国ゴシック"}};
  for (const auto& [key, value] : expected) {
    EXPECT_EQ(store.Read(u"Control", key), std::optional<std::u16string>(value)) << std::string(key, key + 10);
  }
  const EditorSettings back = ReadControlSettings(profile);
  EXPECT_EQ(back.pasteCode, 1);
  EXPECT_EQ(back.inFileType, 5);
  EXPECT_EQ(back.outFileType, 3);
  EXPECT_EQ(back.ksCopyFlag, 0);
}

TEST(EditorSettingsTest, CodesOutsideTheirRangesReadAsAutomaticOrUtf8) {
  struct Case {
    const char16_t* key;
    const char16_t* text;
    int EditorSettings::*field;
    int expected;
  };
  const Case cases[] = {
      {u"InFileType", u"5", &EditorSettings::inFileType, 5},  {u"InFileType", u"6", &EditorSettings::inFileType, 0},
      {u"InFileType", u"-1", &EditorSettings::inFileType, 0}, {u"OutFileType", u"4", &EditorSettings::outFileType, 4},
      {u"OutFileType", u"5", &EditorSettings::outFileType, 0}, {u"PasteCode", u"2", &EditorSettings::pasteCode, 2},
      {u"PasteCode", u"3", &EditorSettings::pasteCode, 0},
  };
  for (const Case& c : cases) {
    fw::MemoryProfileStore store;
    fw::Profile profile(store);
    store.Write(u"Control", c.key, c.text);
    EXPECT_EQ(ReadControlSettings(profile).*c.field, c.expected);
  }
}

TEST(EditorSettingsTest, FontSectionKeysAndTheFaceCut) {
  fw::MemoryProfileStore store;
  fw::Profile profile(store);
  FontSettings f;
  f.height = -16;
  f.charSet = 128;
  f.faceName = u"ＧＭ韓国明朝";
  ASSERT_TRUE(WriteFontSettings(profile, f));
  EXPECT_EQ(store.Read(u"Font", u"Height"), std::optional<std::u16string>(u"-16"));
  EXPECT_EQ(store.Read(u"Font", u"CharSet"), std::optional<std::u16string>(u"128"));
  EXPECT_EQ(store.Read(u"Font", u"FaceName"), std::optional<std::u16string>(u"ＧＭ韓国明朝"));
  EXPECT_EQ(store.Read(u"Font", u"PitchAndFamily"), std::optional<std::u16string>(u"1"));
  store.Write(u"Font", u"FaceName", std::u16string(40, u'x'));
  EXPECT_EQ(ReadFontSettings(profile).faceName, std::u16string(31, u'x'));
}

// ---- window placement ----

ScreenMetrics Screen1024() {
  ScreenMetrics s;
  s.vscrollWidth = 16;
  s.dialogBaseWidth = 9;
  s.frameWidth = 4;
  s.fullScreenWidth = 1024;
  s.fullScreenHeight = 749;
  s.borderWidth = 1;
  s.borderHeight = 1;
  s.workArea = {0, 0, 1024, 768};
  return s;
}

TEST(WindowPlacementTest, RectTextRules) {
  struct Case {
    const char16_t* text;
    std::optional<PlaceRect> expected;
  };
  const Case cases[] = {
      {u"10,20,650,500", PlaceRect{10, 20, 650, 500}},
      {u"-8,-8,1032,776", PlaceRect{-8, -8, 1032, 776}},
      {u" 10, 20 ,650,500", PlaceRect{10, 20, 650, 500}},
      {u"", std::nullopt},
      {u"10,20,650", std::nullopt},
      {u"10,20,650,500,7", std::nullopt},
      {u"10;20;650;500", std::nullopt},
      {u"a,b,c,d", std::nullopt},
      {u"10,20,10,500", std::nullopt},  // no width
      {u"10,500,650,20", std::nullopt},  // upside down
      {u"10,20,99999999999,500", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseWindowRect(c.text), c.expected);
  EXPECT_EQ(FormatWindowRect({-4, 0, 800, 600}), u"-4,0,800,600");
}

TEST(WindowPlacementTest, FirstStartIsEightyDialogCharactersWideAndNinetyPercentHigh) {
  fw::MemoryProfileStore store;
  fw::Profile profile(store);
  const WindowPlacementPlan plan = PlanWindowPlacement(profile, kShowNormal, Screen1024());
  // 16 + 80 x 9 + 4 x 4 = 752 wide; 749 x 9 / 10 = 674 high.
  EXPECT_EQ(plan.normal, (PlaceRect{0, 0, 752, 674}));
  EXPECT_EQ(plan.showCmd, kShowNormal);
  EXPECT_FALSE(plan.restoreToMaximized);
  EXPECT_EQ(plan.maxX, -1);
  EXPECT_EQ(plan.maxY, -1);
  EXPECT_EQ(plan.minX, 0);
  EXPECT_TRUE(plan.toolBar);
  EXPECT_TRUE(plan.statusBar);
  // A narrow screen caps the width.
  ScreenMetrics narrow = Screen1024();
  narrow.fullScreenWidth = 640;
  EXPECT_EQ(DefaultWindowRect(narrow), (PlaceRect{0, 0, 640, 674}));
}

TEST(WindowPlacementTest, MalformedRectTakesTheDefault) {
  fw::MemoryProfileStore store;
  fw::Profile profile(store);
  store.Write(u"Window size", u"Rect", u"100,100");
  EXPECT_EQ(PlanWindowPlacement(profile, kShowNormal, Screen1024()).normal, (PlaceRect{0, 0, 752, 674}));
}

TEST(WindowPlacementTest, StoredRectOffScreenComesBackInsideTheWorkArea) {
  const PlaceRect work{0, 0, 1024, 768};
  struct Case {
    PlaceRect stored;
    PlaceRect expected;
  };
  const Case cases[] = {
      {{100, 50, 700, 550}, {100, 50, 700, 550}},          // inside: as it is
      {{2000, 100, 2600, 600}, {424, 100, 1024, 600}},     // on a second screen that is gone
      {{-900, -700, -300, -200}, {0, 0, 600, 500}},        // left of and above the screen
      {{900, 700, 1500, 1200}, {424, 268, 1024, 768}},     // partly below and right
      {{-50, 10, 1500, 1000}, {0, 0, 1024, 768}},          // larger than the work area
  };
  for (const Case& c : cases) EXPECT_EQ(ClampToWorkArea(c.stored, work), c.expected);
  fw::MemoryProfileStore store;
  fw::Profile profile(store);
  store.Write(u"Window size", u"Rect", u"2000,100,2600,600");
  EXPECT_EQ(PlanWindowPlacement(profile, kShowNormal, Screen1024()).normal, (PlaceRect{424, 100, 1024, 600}));
}

TEST(WindowPlacementTest, ShowCommandRules) {
  struct Case {
    int requested;
    const char16_t* stored;  // null: missing
    int showCmd;
    bool restoreToMaximized;
  };
  const Case cases[] = {
      {kShowNormal, nullptr, kShowNormal, false},
      {kShowNormal, u"1", kShowNormal, false},
      {kShowNormal, u"3", kShowMaximized, true},      // closed maximised: opens maximised
      {kShowNormal, u"2", kShowNormal, false},        // anything but 1 or 3 counts as 1
      {kShowNormal, u"0", kShowNormal, false},
      {kShowNormal, u"x", kShowNormal, false},
      {7, u"3", 7, true},                             // a shortcut's minimised start stays
      {kShowMinimized, u"1", kShowMinimized, true},
  };
  for (const Case& c : cases) {
    fw::MemoryProfileStore store;
    fw::Profile profile(store);
    if (c.stored) store.Write(u"Window size", u"showCmd", c.stored);
    const WindowPlacementPlan plan = PlanWindowPlacement(profile, c.requested, Screen1024());
    EXPECT_EQ(plan.showCmd, c.showCmd);
    EXPECT_EQ(plan.restoreToMaximized, c.restoreToMaximized);
  }
}

TEST(WindowPlacementTest, DestroyWritesTheFourKeysThatTheNextStartReads) {
  fw::MemoryProfileStore store;
  fw::Profile profile(store);
  ASSERT_TRUE(WriteWindowPlacement(profile, {30, 40, 830, 640}, kShowMaximized, false, true));
  EXPECT_EQ(store.Read(u"Window size", u"Rect"), std::optional<std::u16string>(u"30,40,830,640"));
  EXPECT_EQ(store.Read(u"Window size", u"showCmd"), std::optional<std::u16string>(u"3"));
  EXPECT_EQ(store.Read(u"Window size", u"tool"), std::optional<std::u16string>(u"0"));
  EXPECT_EQ(store.Read(u"Window size", u"status"), std::optional<std::u16string>(u"1"));
  const WindowPlacementPlan plan = PlanWindowPlacement(profile, kShowNormal, Screen1024());
  EXPECT_EQ(plan.normal, (PlaceRect{30, 40, 830, 640}));
  EXPECT_EQ(plan.showCmd, kShowMaximized);
  EXPECT_FALSE(plan.toolBar);
  EXPECT_TRUE(plan.statusBar);
}

// ---- names to open ----

TEST(OpenPathTest, QuoteRules) {
  struct Case {
    std::u16string name;
    std::optional<std::u16string> path;
  };
  const Case cases[] = {
      {u"C:\\text\\a.txt", u"C:\\text\\a.txt"},
      {u"\"C:\\My Files\\a.txt\"", u"C:\\My Files\\a.txt"},
      {u"\"C:\\My Files\\a.txt", u"C:\\My Files\\a.txt"},        // no closing quote
      {u"\"C:\\a.txt\" extra", u"C:\\a.txt"},                      // cut at the last quote
      {u"\"\"", std::nullopt},
      {u"", std::nullopt},
      {std::u16string(260, u'a'), std::u16string(260, u'a')},
      {std::u16string(261, u'a'), std::nullopt},                   // would open another file
  };
  for (const Case& c : cases) EXPECT_EQ(DocumentPathArgument(c.name), c.path);
}

TEST(OpenPathTest, ShortcutsByTheirExtension) {
  EXPECT_TRUE(IsShortcutPath(u"C:\\Desktop\\letter.lnk"));
  EXPECT_TRUE(IsShortcutPath(u"C:\\Desktop\\LETTER.LNK"));
  EXPECT_FALSE(IsShortcutPath(u"C:\\Desktop\\letter.txt"));
  EXPECT_FALSE(IsShortcutPath(u"C:\\Desktop\\lnk"));
  EXPECT_FALSE(IsShortcutPath(u"a.lnkx"));
}

}  // namespace
}  // namespace brisel

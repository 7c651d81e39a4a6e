// The frame's settings on an in-memory registry: a fresh start, a stored
// placement, a window closed maximised, a stored showCmd of -1 and copy
// sources outside the four.
#include <gtest/gtest.h>

#include "fake_settings_platform.h"
#include "frame_settings.h"

namespace ferlin {
namespace {

using settings::FakeSettingsPlatform;
using settings::RegRoot;

constexpr char kTree[] = "SOFTWARE\\VALDRIMO\\GeulmaruV6\\";

std::string Stored(const FakeSettingsPlatform& p, const std::string& subkey, const std::string& name) {
  auto v = p.Get(RegRoot::CurrentUser, kTree + subkey, name);
  return v ? v->data : "<missing>";
}

TEST(FrameSettings, FreshStartCoversTheMiddleHalfOfTheScreen) {
  FakeSettingsPlatform p;
  const FrameSettings s = LoadFrameSettings(p, 1023, 767);
  EXPECT_EQ(s.flags, 0);
  EXPECT_EQ(s.showCmd, 1);
  EXPECT_EQ(s.x1, 255);  // 1023 / 4, truncated
  EXPECT_EQ(s.y1, 191);
  EXPECT_EQ(s.x2, 767);  // 3069 / 4
  EXPECT_EQ(s.y2, 575);  // 2301 / 4
  EXPECT_EQ(s.databasePath, "");
  EXPECT_EQ(s.japaneseFace, "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e");
  EXPECT_EQ(s.koreanFace, "KS Gothic");
  EXPECT_EQ(s.fontHeight, -21);
  EXPECT_EQ(s.copyCode, 1);
  EXPECT_TRUE(AppliesPlacement(s));
  EXPECT_EQ(StartShowCommand(s), 1);
}

TEST(FrameSettings, ANormalCloseWritesEverythingAndReadsItBack) {
  FakeSettingsPlatform p;
  FrameSettings s = DefaultFrameSettings(800, 600);
  s.flags = 2;
  s.x1 = 10, s.y1 = 20, s.x2 = 410, s.y2 = 320;
  s.databasePath = "C:\\Data\\Quorvel.mdb";
  s.japaneseFace = "IPAGothic";
  s.koreanFace = "NanumGothic";
  s.fontHeight = -16;
  s.copyCode = 3;
  ASSERT_TRUE(SaveFrameSettings(p, s));
  EXPECT_EQ(Stored(p, "ExampleCollection\\WindowPosFig", "x2"), "410");
  EXPECT_EQ(Stored(p, "ExampleCollection", "DicPath"), "C:\\Data\\Quorvel.mdb");
  EXPECT_EQ(Stored(p, "ExampleCollection", "FontHight"), "-16");
  EXPECT_EQ(Stored(p, "ExampleCollection", "CopyCode"), "3");
  const FrameSettings back = LoadFrameSettings(p, 800, 600);
  EXPECT_EQ(back.flags, 2);
  EXPECT_EQ(back.x1, 10);
  EXPECT_EQ(back.y2, 320);
  EXPECT_EQ(back.databasePath, s.databasePath);
  EXPECT_EQ(back.japaneseFace, "IPAGothic");
  EXPECT_EQ(back.koreanFace, "NanumGothic");
  EXPECT_EQ(back.fontHeight, -16);
  EXPECT_EQ(back.copyCode, 3);
}

TEST(FrameSettings, AMaximisedOrMinimisedCloseWritesOnlyTheFlags) {
  for (int show : {kShowMaximized, kShowMinimized}) {
    FakeSettingsPlatform p;
    FrameSettings s = DefaultFrameSettings(800, 600);
    s.showCmd = show;
    s.copyCode = 2;
    ASSERT_TRUE(SaveFrameSettings(p, s));
    EXPECT_EQ(p.ValueWrites(), 1);
    EXPECT_EQ(Stored(p, "ExampleCollection\\WindowPosFig", "flags"), "0");
    EXPECT_EQ(Stored(p, "ExampleCollection", "CopyCode"), "<missing>");
    EXPECT_EQ(Stored(p, "ExampleCollection\\WindowPosFig", "showCmd"), "<missing>");
  }
}

TEST(FrameSettings, AStoredShowCommandOfMinusOneShowsTheFrameNormally) {
  FakeSettingsPlatform p;
  p.Put(RegRoot::CurrentUser, std::string(kTree) + "ExampleCollection\\WindowPosFig", "showCmd", "-1");
  const FrameSettings s = LoadFrameSettings(p, 800, 600);
  EXPECT_FALSE(AppliesPlacement(s));
  EXPECT_EQ(StartShowCommand(s), 1);
}

TEST(FrameSettings, ACopySourceOutsideTheFourIsTheKoreanPane) {
  struct Case {
    const char* stored;
    int expected;
  } cases[] = {{"0", 0}, {"2", 2}, {"3", 3}, {"4", 1}, {"-1", 1}, {"99999", 1}, {"x", 0}};
  for (const Case& c : cases) {
    FakeSettingsPlatform p;
    p.Put(RegRoot::CurrentUser, std::string(kTree) + "ExampleCollection", "CopyCode", c.stored);
    EXPECT_EQ(LoadFrameSettings(p, 800, 600).copyCode, c.expected) << c.stored;
  }
}

TEST(FrameSettings, ValuesThatDoNotFitTheirBuffersTakeTheirDefaults) {
  FakeSettingsPlatform p;
  const std::string key = std::string(kTree) + "ExampleCollection";
  p.Put(RegRoot::CurrentUser, key, "DicPath", std::string(259, 'p'));    // 259 + NUL > 259
  p.Put(RegRoot::CurrentUser, key, "KrnFontFaceName", std::string(32, 'k'));
  p.Put(RegRoot::CurrentUser, key, "FontHight", "-1234567890");          // 11 + NUL > 10
  const FrameSettings s = LoadFrameSettings(p, 800, 600);
  EXPECT_EQ(s.databasePath, "");
  EXPECT_EQ(s.koreanFace, "KS Gothic");
  EXPECT_EQ(s.fontHeight, -21);
  p.Put(RegRoot::CurrentUser, key, "DicPath", std::string(258, 'p'));
  EXPECT_EQ(LoadFrameSettings(p, 800, 600).databasePath, std::string(258, 'p'));
}

TEST(FrameSettings, TheChosenDatabasePathIsWrittenAtOnce) {
  FakeSettingsPlatform p;
  ASSERT_TRUE(SaveDatabasePath(p, "D:\\ex\\Quorvel.mdb"));
  EXPECT_EQ(Stored(p, "ExampleCollection", "DicPath"), "D:\\ex\\Quorvel.mdb");
  EXPECT_EQ(LoadFrameSettings(p, 800, 600).databasePath, "D:\\ex\\Quorvel.mdb");
}

}  // namespace
}  // namespace ferlin

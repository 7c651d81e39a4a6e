#include "player_settings.h"

#include <gtest/gtest.h>

#include "fake_settings_platform.h"

namespace tessaly {
namespace {

using settings::FakeSettingsPlatform;
using settings::RegRoot;

constexpr char kSuite[] = "SOFTWARE\\VALDRIMO\\GeulmaruV6\\";
const std::string kPlacement = std::string(kSuite) + "Tessaly3\\WindowPosFig";
const std::string kPlayer = std::string(kSuite) + "Tessaly3";

std::string Stored(FakeSettingsPlatform& p, const std::string& key, const char* name) {
  auto v = p.Get(RegRoot::CurrentUser, key, name);
  return v ? v->data : "(none)";
}

TEST(PlayerSettings, AFirstStartTakesTheMiddleOfTheScreenAndTheDefaultFonts) {
  FakeSettingsPlatform p;
  const WindowSettings s = LoadWindowSettings(p, 1024, 768);
  EXPECT_EQ(s.flags, 0);
  EXPECT_EQ(s.showCmd, 1);
  EXPECT_EQ(s.x1, 256);
  EXPECT_EQ(s.y1, 192);
  EXPECT_EQ(s.x2, 768);
  EXPECT_EQ(s.y2, 576);
  EXPECT_EQ(s.japaneseFace, "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e");  // ＭＳ ゴシック
  EXPECT_EQ(s.koreanFace, "KS Gothic");
  EXPECT_EQ(s.fontHeight, -21);
  EXPECT_TRUE(AppliesPlacement(s));
  EXPECT_EQ(p.ValueWrites(), 0) << "reading writes nothing";
}

TEST(PlayerSettings, StoredValuesAreRead) {
  FakeSettingsPlatform p;
  p.Put(RegRoot::CurrentUser, kPlacement, "flags", "2");
  p.Put(RegRoot::CurrentUser, kPlacement, "showCmd", "-1");
  p.Put(RegRoot::CurrentUser, kPlacement, "x1", "-20");
  p.Put(RegRoot::CurrentUser, kPlacement, "y1", "30");
  p.Put(RegRoot::CurrentUser, kPlacement, "x2", "700");
  p.Put(RegRoot::CurrentUser, kPlacement, "y2", "500");
  p.Put(RegRoot::CurrentUser, kPlayer, "JpnFontFaceName", "IPAGothic");
  p.Put(RegRoot::CurrentUser, kPlayer, "KrnFontFaceName", "NanumGothic");
  p.Put(RegRoot::CurrentUser, kPlayer, "FontHight", "-16");
  const WindowSettings s = LoadWindowSettings(p, 1024, 768);
  EXPECT_EQ(s.flags, 2);
  EXPECT_EQ(s.showCmd, -1);
  EXPECT_FALSE(AppliesPlacement(s));
  EXPECT_EQ(s.x1, -20);
  EXPECT_EQ(s.y1, 30);
  EXPECT_EQ(s.x2, 700);
  EXPECT_EQ(s.y2, 500);
  EXPECT_EQ(s.japaneseFace, "IPAGothic");
  EXPECT_EQ(s.koreanFace, "NanumGothic");
  EXPECT_EQ(s.fontHeight, -16);
}

TEST(PlayerSettings, AValueThatDoesNotFitItsBufferTakesTheDefault) {
  FakeSettingsPlatform p;
  // Ten bytes for a number with its NUL: nine digits fit, ten do not.
  p.Put(RegRoot::CurrentUser, kPlacement, "x1", "123456789");
  p.Put(RegRoot::CurrentUser, kPlacement, "y1", "1234567890");
  // 32 bytes for a face with its NUL.
  p.Put(RegRoot::CurrentUser, kPlayer, "KrnFontFaceName", std::string(32, 'F'));
  p.Put(RegRoot::CurrentUser, kPlayer, "JpnFontFaceName", std::string(31, 'J'));
  p.Put(RegRoot::CurrentUser, kPlayer, "FontHight", "big");
  const WindowSettings s = LoadWindowSettings(p, 800, 600);
  EXPECT_EQ(s.x1, 123456789);
  EXPECT_EQ(s.y1, 150);
  EXPECT_EQ(s.koreanFace, "KS Gothic");
  EXPECT_EQ(s.japaneseFace, std::string(31, 'J'));
  EXPECT_EQ(s.fontHeight, 0) << "text that is no number reads as 0";
}

TEST(PlayerSettings, SavedAsTheyAreWhenNormal) {
  FakeSettingsPlatform p;
  WindowSettings s = DefaultWindowSettings(1024, 768);
  s.flags = 0;
  s.showCmd = 1;
  s.x1 = 10;
  s.y1 = 20;
  s.x2 = 610;
  s.y2 = 420;
  s.japaneseFace = "IPAGothic";
  s.koreanFace = "NanumGothic";
  s.fontHeight = -16;
  ASSERT_TRUE(SaveWindowSettings(p, s));
  EXPECT_EQ(Stored(p, kPlacement, "flags"), "0");
  EXPECT_EQ(Stored(p, kPlacement, "showCmd"), "1");
  EXPECT_EQ(Stored(p, kPlacement, "x1"), "10");
  EXPECT_EQ(Stored(p, kPlacement, "y1"), "20");
  EXPECT_EQ(Stored(p, kPlacement, "x2"), "610");
  EXPECT_EQ(Stored(p, kPlacement, "y2"), "420");
  EXPECT_EQ(Stored(p, kPlayer, "JpnFontFaceName"), "IPAGothic");
  EXPECT_EQ(Stored(p, kPlayer, "KrnFontFaceName"), "NanumGothic");
  EXPECT_EQ(Stored(p, kPlayer, "FontHight"), "-16");
  const WindowSettings back = LoadWindowSettings(p, 1, 1);
  EXPECT_EQ(back.x2, 610);
  EXPECT_EQ(back.koreanFace, "NanumGothic");
}

// Closing while maximised (or minimised) keeps the previous position and fonts.
TEST(PlayerSettings, MaximisedOrMinimisedWritesOnlyTheFlags) {
  for (int show : {2, 3}) {
    FakeSettingsPlatform p;
    p.Put(RegRoot::CurrentUser, kPlacement, "x1", "5");
    p.Put(RegRoot::CurrentUser, kPlayer, "FontHight", "-21");
    WindowSettings s = DefaultWindowSettings(1024, 768);
    s.flags = 2;
    s.showCmd = show;
    s.x1 = 99;
    s.fontHeight = -30;
    ASSERT_TRUE(SaveWindowSettings(p, s));
    EXPECT_EQ(Stored(p, kPlacement, "flags"), "2");
    EXPECT_EQ(Stored(p, kPlacement, "showCmd"), "(none)");
    EXPECT_EQ(Stored(p, kPlacement, "x1"), "5");
    EXPECT_EQ(Stored(p, kPlayer, "FontHight"), "-21");
    EXPECT_EQ(p.ValueWrites(), 1);
  }
}

TEST(PlayerSettings, AFailedWriteIsReported) {
  FakeSettingsPlatform p;
  p.FailWritesAfter(3);
  EXPECT_FALSE(SaveWindowSettings(p, DefaultWindowSettings(640, 480)));
}

TEST(PlayerSettings, VoiceCodeAndMachineValues) {
  FakeSettingsPlatform p;
  EXPECT_EQ(ReadVoiceCode(p), 0);
  p.Put(RegRoot::CurrentUser, std::string(kSuite) + "Drenvik", "VoiceCode", "1");
  EXPECT_EQ(ReadVoiceCode(p), 1);
  p.Put(RegRoot::CurrentUser, std::string(kSuite) + "Drenvik", "VoiceCode", "2x");
  EXPECT_EQ(ReadVoiceCode(p), 2);

  EXPECT_EQ(ReadEngineDataFolder(p), "");
  EXPECT_EQ(ReadInstallDirectory(p), "");
  p.Put(RegRoot::LocalMachine, "SOFTWARE\\VALDRIMO\\Sonavo50", "DicPath", std::string("C:\\ddb\\\0", 8));
  p.Put(RegRoot::LocalMachine, "Software\\VALDRIMO\\GeulmaruV6", "Install Directory",
        std::string("C:\\Program Files\0", 17));
  EXPECT_EQ(ReadEngineDataFolder(p), "C:\\ddb\\");
  EXPECT_EQ(ReadInstallDirectory(p), "C:\\Program Files");
}

TEST(PlayerSettings, TheWavFileGoesBesideTheProgramFolderOrIntoTheTemporaryFolder) {
  using V = std::vector<std::string>;
  EXPECT_EQ(WavPathCandidates("C:\\Program Files", "C:\\Temp\\"),
            (V{"C:\\Program Files\\speach.wav", "C:\\Temp\\speach.wav"}));
  EXPECT_EQ(WavPathCandidates("D:\\", "C:\\Temp"), (V{"D:\\speach.wav", "C:\\Temp\\speach.wav"}));
  // No install folder: never the root of the current drive.
  EXPECT_EQ(WavPathCandidates("", "C:\\Temp\\"), (V{"C:\\Temp\\speach.wav"}));
  EXPECT_EQ(WavPathCandidates("", ""), V{});
}

}  // namespace
}  // namespace tessaly

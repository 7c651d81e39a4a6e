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

// The frame record itself is tested with the shared settings; here, that the
// player keeps it under "Tessaly3\WindowPosFig" and "Tessaly3".
TEST(PlayerSettings, TheFrameRecordLivesUnderThePlayersKeys) {
  FakeSettingsPlatform p;
  WindowSettings s = DefaultWindowSettings(1024, 768);
  s.koreanFace = "NanumGothic";
  ASSERT_TRUE(SaveWindowSettings(p, s));
  EXPECT_EQ(p.ValueWrites(), 9);
  const struct {
    const std::string& key;
    const char* name;
    const char* value;
  } cases[] = {{kPlacement, "flags", "0"},         {kPlacement, "showCmd", "1"},
               {kPlacement, "x1", "256"},          {kPlacement, "y2", "576"},
               {kPlayer, "KrnFontFaceName", "NanumGothic"}, {kPlayer, "FontHight", "-21"}};
  for (const auto& c : cases) EXPECT_EQ(Stored(p, c.key, c.name), c.value) << c.name;
  p.Put(RegRoot::CurrentUser, kPlayer, "FontHight", "-16");
  p.Put(RegRoot::CurrentUser, kPlacement, "showCmd", "-1");
  const WindowSettings back = LoadWindowSettings(p, 1, 1);
  EXPECT_EQ(back.fontHeight, -16);
  EXPECT_EQ(back.koreanFace, "NanumGothic");
  EXPECT_FALSE(AppliesPlacement(back));
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

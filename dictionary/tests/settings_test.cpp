#include <gtest/gtest.h>

#include "fake_settings_platform.h"
#include "settings.h"

namespace ombrel {
namespace {

using settings::FakeSettingsPlatform;
using settings::RegRoot;

std::string Value(const FakeSettingsPlatform& p, const char* name) {
  const auto v = p.Get(RegRoot::CurrentUser, kSettingsKeyPath, name);
  return v ? v->data : "<missing>";
}

TEST(Settings, FirstStartWritesTheDefaults) {
  FakeSettingsPlatform p;
  // The search method is read first at start-up and makes the key.
  EXPECT_EQ(SearchMethodSetting(p), 0);
  EXPECT_EQ(Value(p, "SearchMethod"), "0");
  DictionarySettings s;
  ASSERT_TRUE(LoadDictionarySettings(p, s));
  EXPECT_EQ(s.listWidth, 200);
  EXPECT_EQ(s.windowPos.left, 50);
  EXPECT_EQ(s.windowPos.bottom, 448);
  EXPECT_EQ(Value(p, "WindowPos"), "44,0,1,-1,-1,-1,-1,50,50,644,448");
  EXPECT_EQ(Value(p, "JFont_Name"), "\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9");
  EXPECT_EQ(Value(p, "KFont_Name"), "KS Mincho");
  EXPECT_EQ(Value(p, "JIMESel"), "JP:Text Services Framework");
  EXPECT_EQ(Value(p, "KIMESel"), "ZORBENV6.IME");
  EXPECT_EQ(Value(p, "KIMEDesc"), "GeulmaruV6(KS)");
  EXPECT_EQ(Value(p, "JF_Size"), "160");
  EXPECT_EQ(Value(p, "JF_Color"), "0");
  EXPECT_EQ(Value(p, "KF_Color"), "16711680");
  EXPECT_EQ(Value(p, "EtcData"), "300");
  EXPECT_EQ(Value(p, "SearchMethod"), "0");
}

TEST(Settings, SavedValuesReadBack) {
  FakeSettingsPlatform p;
  DictionarySettings s;
  ASSERT_TRUE(LoadDictionarySettings(p, s));
  s.japaneseFace = "IPAGothic";
  s.sizeTenths = 120;
  s.koreanColor = 0x0000FF;
  s.windowPos = WindowPosValues{44, 0, 3, -1, -1, -8, -8, 10, 20, 810, 620};
  s.listWidth = 250;
  ASSERT_TRUE(SaveDictionarySettings(p, s));
  DictionarySettings back;
  ASSERT_TRUE(LoadDictionarySettings(p, back));
  EXPECT_EQ(back.japaneseFace, "IPAGothic");
  EXPECT_EQ(back.sizeTenths, 120);
  EXPECT_EQ(back.koreanColor, 0x0000FFu);
  EXPECT_EQ(back.windowPos.right, 810);
  EXPECT_EQ(back.windowPos.showCmd, 3);
  EXPECT_EQ(back.listWidth, 250);
  EXPECT_EQ(Value(p, "WindowPos"), "44,0,3,-1,-1,-8,-8,10,20,810,620");
}

TEST(Settings, MissingValuesTakeTheirDefaults) {
  FakeSettingsPlatform p;
  p.Put(RegRoot::CurrentUser, kSettingsKeyPath, "JFont_Name", "IPAMincho");
  p.Put(RegRoot::CurrentUser, kSettingsKeyPath, "KFont_Name", "Nanum");
  p.Put(RegRoot::LocalMachine, kSettingsKeyPath, "JIMESel", "MSIME.IME");
  DictionarySettings s;
  ASSERT_TRUE(LoadDictionarySettings(p, s));
  EXPECT_EQ(s.koreanFace, "Nanum");
  EXPECT_EQ(s.sizeTenths, 160);
  EXPECT_EQ(s.japaneseIme, "MSIME.IME");  // from HKEY_LOCAL_MACHINE, and written back
  EXPECT_EQ(Value(p, "JIMESel"), "MSIME.IME");
  EXPECT_EQ(s.japaneseImeDescription, "JP:Text Services Framework");
  EXPECT_EQ(s.listWidth, 300);  // EtcData missing on a key that was not new
  EXPECT_EQ(s.windowPos.right, 644);
  EXPECT_EQ(Value(p, "WindowPos"), "<missing>");  // only the two input-method values are written back
}

TEST(Settings, KeyMadeByTheSearchMethodIsStillAFirstStart) {
  FakeSettingsPlatform p;
  p.Put(RegRoot::CurrentUser, kSettingsKeyPath, "SearchMethod", "1");
  DictionarySettings s;
  ASSERT_TRUE(LoadDictionarySettings(p, s));
  EXPECT_EQ(s.listWidth, 200);
  EXPECT_EQ(Value(p, "EtcData"), "300");
  EXPECT_EQ(Value(p, "SearchMethod"), "1");
}

TEST(Settings, WindowPosNeedsAllElevenNumbers) {
  WindowPosValues v;
  EXPECT_FALSE(ParseWindowPos("44,0,1,-1", v));
  EXPECT_EQ(v.right, 644);
  EXPECT_TRUE(ParseWindowPos("44,2,1,-1,-1,-1,-1,1,2,3,4", v));
  EXPECT_EQ(v.bottom, 4);
  EXPECT_EQ(FormatWindowPos(v), "44,2,1,-1,-1,-1,-1,1,2,3,4");
}

TEST(Settings, SearchMethodOutOfRangeIsStandard) {
  FakeSettingsPlatform p;
  p.Put(RegRoot::CurrentUser, kSettingsKeyPath, "SearchMethod", "2");
  EXPECT_EQ(SearchMethodSetting(p), 2);
  p.Put(RegRoot::CurrentUser, kSettingsKeyPath, "SearchMethod", "7");
  EXPECT_EQ(SearchMethodSetting(p), 0);
}

TEST(Settings, KeyThatCannotBeMadeWarnsAndKeepsDefaults) {
  FakeSettingsPlatform p;
  p.DenyReads(RegRoot::CurrentUser, kSettingsKeyPath);
  p.DenyWrites(RegRoot::CurrentUser, kSettingsKeyPath);
  DictionarySettings s;
  s.sizeTenths = 111;
  EXPECT_FALSE(LoadDictionarySettings(p, s));
  EXPECT_EQ(s.sizeTenths, 111);
  ASSERT_EQ(p.warnings.size(), 1u);
  EXPECT_EQ(p.warnings[0].first, kProgramCaption);
}

TEST(Voice, RangesResetTo100) {
  EXPECT_EQ(HoldToRange(151, kVolumeRange), 100);
  EXPECT_EQ(HoldToRange(150, kVolumeRange), 150);
  EXPECT_EQ(HoldToRange(130, kPitchRange), 100);
  EXPECT_EQ(HoldToRange(50, kSpeedRange), 50);
}

}  // namespace
}  // namespace ombrel

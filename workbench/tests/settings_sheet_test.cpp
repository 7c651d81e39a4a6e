#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fake_settings_platform.h"
#include "settings_sheet.h"

namespace {

namespace sheet = workbench::sheet;
using settings::FakeSettingsPlatform;
using settings::RegRoot;

const std::string kGm = "SOFTWARE\\Valdrimo\\GeulmaruV6\\Dalmok\\KoreanFontGM";
const std::string kKs = "SOFTWARE\\Valdrimo\\GeulmaruV6\\Dalmok\\KoreanFontKS";
const std::string kJa = "SOFTWARE\\Valdrimo\\GeulmaruV6\\Dalmok\\JapaneseFont";
// "ＧＭ韓国明朝" and "ＭＳ 明朝" in Shift-JIS.
const std::string kGmFace = "\x82\x66\x82\x6C\x8A\xD8\x8D\x91\x96\xBE\x92\xA9";
const std::string kMsMincho = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";

std::string Stored(const FakeSettingsPlatform& p, const std::string& key, const char* name) {
  const auto v = p.Get(RegRoot::CurrentUser, key, name);
  return v ? v->data : "<missing>";
}

TEST(FontSetting, NewKeyGetsTheDefaultsWrittenWithoutNul) {
  const struct {
    int slot;
    const std::string* key;
    std::string face;
    int charset;
  } cases[] = {{0, &kGm, kGmFace, 128}, {1, &kKs, "KS Mincho", 129}, {2, &kJa, kMsMincho, 128}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.slot);
    FakeSettingsPlatform p;
    const auto s = sheet::ReadFontSetting(p, c.slot, "Dalmok");
    EXPECT_EQ(s.font.lfHeight, -21);
    EXPECT_EQ(s.font.lfWeight, 400);
    EXPECT_EQ(s.fontType, 4);
    EXPECT_EQ(s.font.lfPitchAndFamily, 1);
    EXPECT_EQ(s.font.lfCharSet, c.charset);
    EXPECT_EQ(std::string(s.font.lfFaceName), c.face);
    EXPECT_EQ(Stored(p, *c.key, "Height"), "-21");
    EXPECT_EQ(Stored(p, *c.key, "Weight"), "400");
    EXPECT_EQ(Stored(p, *c.key, "FontType"), "4");
    EXPECT_EQ(Stored(p, *c.key, "PitchAndFamily"), "1");
    EXPECT_EQ(Stored(p, *c.key, "FaceName"), c.face);
  }
}

TEST(FontSetting, ExistingKeyTakesEachMissingValuesDefault) {
  FakeSettingsPlatform p;
  p.Put(RegRoot::CurrentUser, kJa, "Height", "-16");
  const auto s = sheet::ReadFontSetting(p, 2, "Dalmok");
  EXPECT_EQ(s.font.lfHeight, -16);
  EXPECT_EQ(s.font.lfWeight, 400);
  EXPECT_EQ(s.fontType, 4);
  EXPECT_EQ(s.font.lfPitchAndFamily, 4);  // only the value missing: 4, not 1
  EXPECT_EQ(std::string(s.font.lfFaceName), kMsMincho);
  EXPECT_FALSE(p.Get(RegRoot::CurrentUser, kJa, "Weight"));  // nothing written to an existing key
}

TEST(FontSetting, StoredValuesAreRead) {
  FakeSettingsPlatform p;
  p.Put(RegRoot::CurrentUser, kKs, "Height", "-13");
  p.Put(RegRoot::CurrentUser, kKs, "Weight", "700");
  p.Put(RegRoot::CurrentUser, kKs, "FontType", "1");
  p.Put(RegRoot::CurrentUser, kKs, "PitchAndFamily", "49");
  p.Put(RegRoot::CurrentUser, kKs, "FaceName", "KS Gothic");
  const auto s = sheet::ReadFontSetting(p, 1, "Dalmok");
  EXPECT_EQ(s.font.lfHeight, -13);
  EXPECT_EQ(s.font.lfWeight, 700);
  EXPECT_EQ(s.fontType, 1);
  EXPECT_EQ(s.font.lfPitchAndFamily, 49);
  EXPECT_EQ(s.font.lfCharSet, 129);
  EXPECT_STREQ(s.font.lfFaceName, "KS Gothic");
}

TEST(FontSetting, UnopenableKeyOrBadSlotGivesAnEmptyRecord) {
  FakeSettingsPlatform p;
  p.DenyReads(RegRoot::CurrentUser, kGm);
  p.DenyWrites(RegRoot::CurrentUser, kGm);
  const settings::FontRecord zero{};
  auto s = sheet::ReadFontSetting(p, 0, "Dalmok");
  EXPECT_EQ(std::memcmp(&s.font, &zero, sizeof zero), 0);
  ASSERT_EQ(p.warnings.size(), 1u);
  EXPECT_EQ(p.warnings[0].first, "Dalmok");
  s = sheet::ReadFontSetting(p, -1, "Dalmok");
  EXPECT_EQ(std::memcmp(&s.font, &zero, sizeof zero), 0);
  s = sheet::ReadFontSetting(p, 3, "Dalmok");
  EXPECT_EQ(std::memcmp(&s.font, &zero, sizeof zero), 0);
}

settings::FontRecord Font(int height, int pitch, const char* face) {
  settings::FontRecord f{};
  f.lfHeight = height;
  f.lfWeight = 400;
  f.lfPitchAndFamily = static_cast<uint8_t>(pitch);
  std::strcpy(f.lfFaceName, face);
  return f;
}

TEST(FontSetting, KoreanSizeGoesToBothKoreanKeysFaceOnlyToItsOwn) {
  FakeSettingsPlatform p;
  p.Put(RegRoot::CurrentUser, kKs, "FaceName", "KS Mincho");
  EXPECT_TRUE(sheet::WriteFontSetting(p, Font(-27, 2, "GM Face"), 4, 0, "Dalmok"));
  for (const std::string* key : {&kGm, &kKs}) {
    SCOPED_TRACE(*key);
    EXPECT_EQ(Stored(p, *key, "Height"), "-27");
    EXPECT_EQ(Stored(p, *key, "Weight"), "400");
    EXPECT_EQ(Stored(p, *key, "FontType"), "4");
    EXPECT_EQ(Stored(p, *key, "PitchAndFamily"), "2");
  }
  EXPECT_EQ(Stored(p, kGm, "FaceName"), "GM Face");
  EXPECT_EQ(Stored(p, kKs, "FaceName"), "KS Mincho");
  EXPECT_FALSE(p.KeyExists(RegRoot::CurrentUser, kJa));
}

TEST(FontSetting, JapaneseSlotWritesOnlyItsKeyAndOtherSlotsNothing) {
  FakeSettingsPlatform p;
  EXPECT_TRUE(sheet::WriteFontSetting(p, Font(-16, 1, "IPAMincho"), 4, 2, "Dalmok"));
  EXPECT_EQ(Stored(p, kJa, "Height"), "-16");
  EXPECT_EQ(Stored(p, kJa, "FaceName"), "IPAMincho");
  EXPECT_FALSE(p.KeyExists(RegRoot::CurrentUser, kGm));
  EXPECT_FALSE(p.KeyExists(RegRoot::CurrentUser, kKs));
  const int writes = p.ValueWrites();
  sheet::WriteFontSetting(p, Font(-16, 1, "X"), 4, 3, "Dalmok");
  EXPECT_EQ(p.ValueWrites(), writes);
}

TEST(FontSetting, WrittenRecordReadsBack) {
  FakeSettingsPlatform p;
  sheet::WriteFontSetting(p, Font(-19, 49, "KS Gothic"), 1, 1, "Dalmok");
  const auto s = sheet::ReadFontSetting(p, 1, "Dalmok");
  EXPECT_EQ(s.font.lfHeight, -19);
  EXPECT_EQ(s.font.lfPitchAndFamily, 49);
  EXPECT_EQ(s.fontType, 1);
  EXPECT_STREQ(s.font.lfFaceName, "KS Gothic");
}

TEST(VoicePage, RangesAndStartValues) {
  const struct {
    const sheet::VoiceRange* range;
    int min, max;
  } ranges[] = {{&sheet::kVolumeRange, 50, 150}, {&sheet::kSpeedRange, 50, 200}, {&sheet::kPitchRange, 80, 120}};
  for (const auto& r : ranges) {
    SCOPED_TRACE(r.min);
    EXPECT_EQ(r.range->min, r.min);
    EXPECT_EQ(r.range->max, r.max);
    EXPECT_EQ(sheet::StartValue(r.min, *r.range), r.min);
    EXPECT_EQ(sheet::StartValue(r.max, *r.range), r.max);
    EXPECT_EQ(sheet::StartValue(r.min - 1, *r.range), 100);
    EXPECT_EQ(sheet::StartValue(r.max + 1, *r.range), 100);
  }
}

TEST(VoicePage, EntryTable) {
  const struct {
    const char* text;
    const sheet::VoiceRange* range;
    int accepted;  // -1: refused
  } cases[] = {
      {"151", &sheet::kVolumeRange, -1}, {"150", &sheet::kVolumeRange, 150}, {"50", &sheet::kVolumeRange, 50},
      {"49", &sheet::kVolumeRange, -1},  {"200", &sheet::kSpeedRange, 200},  {"201", &sheet::kSpeedRange, -1},
      {"79", &sheet::kPitchRange, -1},   {"121", &sheet::kPitchRange, -1},   {"", &sheet::kVolumeRange, -1},
      {"1x0", &sheet::kVolumeRange, -1}, {"-100", &sheet::kVolumeRange, -1}, {"99999999999", &sheet::kSpeedRange, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto v = sheet::AcceptEntry(c.text, *c.range);
    EXPECT_EQ(v.value_or(-1), c.accepted);
  }
}

TEST(VoicePage, RefusalNamesTheRangeAndCaption) {
  // "50-150の範囲で値を設定してください。" in Shift-JIS.
  EXPECT_EQ(sheet::RangeMessage(sheet::kVolumeRange),
            "50-150\x82\xCC\x94\xCD\x88\xCD\x82\xC5\x92\x6C\x82\xF0\x90\xDD\x92\xE8\x82\xB5\x82\xC4\x82\xAD\x82\xBE"
            "\x82\xB3\x82\xA2\x81\x42");
  EXPECT_EQ(sheet::RangeMessage(sheet::kSpeedRange).substr(0, 6), "50-200");
  EXPECT_EQ(sheet::RangeMessage(sheet::kPitchRange).substr(0, 6), "80-120");
  // ボリューム, スピード, ピッチ
  EXPECT_STREQ(sheet::kVolumeRange.caption, "\x83\x7B\x83\x8A\x83\x85\x81\x5B\x83\x80");
  EXPECT_STREQ(sheet::kSpeedRange.caption, "\x83\x58\x83\x73\x81\x5B\x83\x68");
  EXPECT_STREQ(sheet::kPitchRange.caption, "\x83\x73\x83\x62\x83\x60");
}

TEST(FontPage, KoreanListByCodeMode) {
  const struct {
    const char16_t* face;
    unsigned type;
    int mode;
    bool listed;
  } cases[] = {
      {u"ＧＭ韓国明朝", 4, 0, true}, {u"ＧＭ韓国明朝", 4, 1, false}, {u"KS Mincho", 4, 1, true},
      {u"KS Mincho", 4, 0, false},   {u"@KS Mincho", 4, 1, false},   {u"KS Mincho", 0, 1, false},
      {u"KS Raster", 1, 1, true},    {u"Batang", 4, 1, false},        {u"GM Latin", 4, 0, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sheet::KoreanFaceListed(c.face, c.type, c.mode), c.listed);
  }
}

TEST(FontPage, JapaneseList) {
  const struct {
    const char16_t* face;
    unsigned type;
    int charset;
    bool listed;
  } cases[] = {
      {u"ＭＳ 明朝", 4, 128, true},  {u"IPAMincho", 4, 128, true}, {u"ＭＳ 明朝", 0, 128, false},
      {u"Batang", 4, 129, false},     {u"ＧＭ韓国明朝", 4, 128, false}, {u"QZ-Song", 4, 128, false},
      {u"@ＭＳ 明朝", 4, 128, false}, {u"ＧＢ明朝", 4, 128, false},     {u"AR PL UMing CN", 4, 128, false},
      {u"IPA明朝", 1, 128, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sheet::JapaneseFaceListed(c.face, c.type, c.charset), c.listed);
  }
}

TEST(FontPage, SizeMaths) {
  // ceil(|h| x 72 / dpi): 21 x 72 / 96 = 15.75 -> 16; 16 x 72 / 96 = 12.
  EXPECT_EQ(sheet::RasterPoints(-21, 96), 16);
  EXPECT_EQ(sheet::RasterPoints(16, 96), 12);
  EXPECT_EQ(sheet::RasterPoints(-13, 120), 8);  // 7.8 -> 8
  // -(MulDiv(p x 100, dpi, 72) / 100): 12pt at 96 -> 1600/100 = 16;
  // 11pt at 96 -> MulDiv(1100, 96, 72) = 1466.67 -> 1467 -> 14.
  EXPECT_EQ(sheet::HeightOfSize(12, 96), -16);
  EXPECT_EQ(sheet::HeightOfSize(11, 96), -14);
  EXPECT_EQ(sheet::HeightOfSize(16, 96), -21);  // 2133.3 -> 21
  EXPECT_EQ(sheet::HeightOfSize(9, 120), -15);  // 1500
  const std::vector<int> even{8, 10, 12, 14, 16, 18, 20, 22, 24};
  EXPECT_EQ(sheet::FaceSizes(false, {13, 16}, 96), even);
  // raster heights 13, 16, 16, 12 at 96: 9.75->10, 12, 12, 9 -> once each, in order
  EXPECT_EQ(sheet::FaceSizes(true, {13, 16, 16, 12}, 96), (std::vector<int>{10, 12, 9}));
}

TEST(ImePage, ListRulesAndTheNameStored) {
  EXPECT_TRUE(sheet::ImeFileListed("MSIME.IME"));
  EXPECT_FALSE(sheet::ImeFileListed(""));
  EXPECT_FALSE(sheet::ImeFileListed("WARBEN.IME"));
  EXPECT_FALSE(sheet::ImeFileListed("TILBEN32.IME"));
  EXPECT_EQ(sheet::TextServiceEntry("Japanese IME", 1), "TSF:Japanese IME");
  EXPECT_EQ(sheet::TextServiceEntry("Japanese IME", 3), "TSF:Japanese IME etc.");
  const std::string entry = "TSF:Japanese IME";
  EXPECT_EQ(sheet::StartImeName("JP:Text Services Framework", entry), entry);
  EXPECT_EQ(sheet::StartImeName("MSIME.IME", entry), "MSIME.IME");
  // the text-service entry chosen stores the fixed name
  EXPECT_EQ(sheet::ImeNameToStore(entry, entry, "MSIME.IME").value_or("<none>"), "JP:Text Services Framework");
  EXPECT_EQ(sheet::ImeNameToStore("ATOK.IME", entry, "MSIME.IME").value_or("<none>"), "ATOK.IME");
  EXPECT_FALSE(sheet::ImeNameToStore("MSIME.IME", entry, "MSIME.IME"));
  EXPECT_FALSE(sheet::ImeNameToStore(entry, entry, "JP:Text Services Framework"));
}

TEST(ImePage, SelectImeIsStoredWithItsNul) {
  FakeSettingsPlatform p;
  ASSERT_TRUE(sheet::WriteSelectIme(p, "JP:Text Services Framework", "Dalmok"));
  EXPECT_EQ(Stored(p, "SOFTWARE\\Valdrimo\\GeulmaruV6\\Dalmok", "SelectIME"),
            std::string("JP:Text Services Framework", 27));
}

TEST(ImePage, SelectImeAtStartUp) {
  const std::string key = "SOFTWARE\\Valdrimo\\GeulmaruV6\\Dalmok";
  const std::string tsf = "JP:Text Services Framework";
  {  // a stored name
    FakeSettingsPlatform p;
    p.Put(RegRoot::CurrentUser, key, "SelectIME", std::string("ATOK.IME\0", 9));
    EXPECT_EQ(sheet::LoadSelectIme(p, "Dalmok").value_or("<none>"), "ATOK.IME");
  }
  {  // an empty name means the text services
    FakeSettingsPlatform p;
    p.Put(RegRoot::CurrentUser, key, "SelectIME", "");
    EXPECT_EQ(sheet::LoadSelectIme(p, "Dalmok").value_or("<none>"), tsf);
  }
  {  // key present, value missing: the installer's default written and used
    FakeSettingsPlatform p;
    p.Put(RegRoot::CurrentUser, key, "WindowPos", "0,1,0,0,10,10");
    p.Put(RegRoot::LocalMachine, key, "SelectIME", "MSIME.IME");
    EXPECT_EQ(sheet::LoadSelectIme(p, "Dalmok").value_or("<none>"), "MSIME.IME");
    EXPECT_EQ(Stored(p, key, "SelectIME"), std::string("MSIME.IME\0", 10));
  }
  {  // key just created: the default written, the text services used
    FakeSettingsPlatform p;
    p.Put(RegRoot::LocalMachine, key, "SelectIME", "MSIME.IME");
    EXPECT_EQ(sheet::LoadSelectIme(p, "Dalmok").value_or("<none>"), tsf);
    EXPECT_EQ(Stored(p, key, "SelectIME"), std::string("MSIME.IME\0", 10));
  }
  {  // no installer default: the text-services name written
    FakeSettingsPlatform p;
    p.Put(RegRoot::CurrentUser, key, "WindowPos", "0,1,0,0,10,10");
    EXPECT_EQ(sheet::LoadSelectIme(p, "Dalmok").value_or("<none>"), tsf);
    EXPECT_EQ(Stored(p, key, "SelectIME"), tsf + std::string(1, '\0'));
  }
  {  // no key at all
    FakeSettingsPlatform p;
    p.DenyReads(RegRoot::CurrentUser, key);
    p.DenyWrites(RegRoot::CurrentUser, key);
    EXPECT_FALSE(sheet::LoadSelectIme(p, "Dalmok"));
  }
}

TEST(Sheet, HelpContexts) {
  EXPECT_EQ(sheet::HelpContextOfPage(233), 25);
  EXPECT_EQ(sheet::HelpContextOfPage(240), 26);
  EXPECT_EQ(sheet::HelpContextOfPage(261), 27);
  EXPECT_EQ(sheet::HelpContextOfPage(144), 28);
  EXPECT_EQ(sheet::HelpContextOfPage(0), 1);
}

}  // namespace

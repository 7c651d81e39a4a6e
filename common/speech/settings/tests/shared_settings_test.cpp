#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fake_settings_platform.h"
#include "shared_settings.h"

using namespace settings;

namespace {

constexpr RegRoot CU = RegRoot::CurrentUser;
constexpr RegRoot LM = RegRoot::LocalMachine;
const std::string kSuite = "SOFTWARE\\VALDRIMO\\GeulmaruV6";
const std::string kVoice = "SOFTWARE\\VALDRIMO\\Sonavo50";
const std::string kIni = "C:\\WINDOWS\\Dalmok.ini";
// "ＧＭ韓国明朝" and "ＭＳ 明朝" in code page 932.
const std::string kGmFace = "\x82\x66\x82\x6C\x8A\xD8\x8D\x91\x96\xBE\x92\xA9";
const std::string kJapaneseFace = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";

FontRecord Expected(int height, int weight, int charSet, const std::string& face, int pitchAndFamily) {
  FontRecord r;
  std::memset(&r, 0, sizeof r);
  r.lfHeight = height;
  r.lfWeight = weight;
  r.lfCharSet = static_cast<uint8_t>(charSet);
  r.lfPitchAndFamily = static_cast<uint8_t>(pitchAndFamily);
  std::memcpy(r.lfFaceName, face.data(), face.size());
  return r;
}

void ExpectSame(const FontRecord& actual, const FontRecord& expected, const char* what) {
  EXPECT_EQ(actual.lfHeight, expected.lfHeight) << what;
  EXPECT_EQ(actual.lfWeight, expected.lfWeight) << what;
  EXPECT_EQ(actual.lfCharSet, expected.lfCharSet) << what;
  EXPECT_EQ(actual.lfPitchAndFamily, expected.lfPitchAndFamily) << what;
  EXPECT_EQ(std::string(actual.lfFaceName), std::string(expected.lfFaceName)) << what;
  EXPECT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0) << what << ": every other field is 0";
}

FontRecord Load(FakeSettingsPlatform& p, int index) {
  FontRecord r;
  std::memset(&r, 0x55, sizeof r);
  LoadFontSettings(p, &r, index);
  return r;
}

}  // namespace

// ---- display fonts ----

TEST(FontSettings, DefaultsWithoutTheFile) {
  FakeSettingsPlatform p;
  ExpectSame(Load(p, kFontGm), Expected(-21, 400, 128, kGmFace, 1), "GM");
  ExpectSame(Load(p, kFontKs), Expected(-21, 400, 129, "KS Mincho", 1), "KS");
  ExpectSame(Load(p, kFontJapanese), Expected(-21, 400, 128, kJapaneseFace, 1), "Japanese");
}

TEST(FontSettings, ReadsTheFileInTheWindowsDirectory) {
  FakeSettingsPlatform p;
  p.windowsDirectory = "D:\\Win";
  p.PutProfile("d:\\win\\DALMOK.INI", "koreanfontks", "Height", "-16");
  p.PutProfile("D:\\Win\\Dalmok.ini", "KoreanFontKS", "weight", "700");
  p.PutProfile("D:\\Win\\Dalmok.ini", "KoreanFontKS", "FaceName", "Batang");
  p.PutProfile("D:\\Win\\Dalmok.ini", "KoreanFontKS", "PitchAndFamily", "18");
  p.PutProfile("D:\\Win\\Dalmok.ini", "JapaneseFont", "CharSet", "385");  // kept as one byte
  ExpectSame(Load(p, kFontKs), Expected(-16, 700, 129, "Batang", 18), "KS");
  ExpectSame(Load(p, kFontJapanese), Expected(-21, 400, 129, kJapaneseFace, 1), "Japanese");
  ExpectSame(Load(p, kFontGm), Expected(-21, 400, 128, kGmFace, 1), "GM");
}

TEST(FontSettings, NumbersAsTheProfileReaderTakesThem) {
  FakeSettingsPlatform p;
  p.PutProfile(kIni, "KoreanFontGM", "Height", "");      // empty: default
  p.PutProfile(kIni, "KoreanFontGM", "Weight", "bold");  // not a number: 0
  p.PutProfile(kIni, "KoreanFontGM", "CharSet", "129x");
  ExpectSame(Load(p, kFontGm), Expected(-21, 0, 129, kGmFace, 1), "GM");
}

TEST(FontSettings, EveryCallReadsTheFileAgain) {
  FakeSettingsPlatform p;
  EXPECT_EQ(Load(p, kFontGm).lfHeight, -21);
  p.PutProfile(kIni, "KoreanFontGM", "Height", "-30");
  EXPECT_EQ(Load(p, kFontGm).lfHeight, -30);
}

TEST(FontSettings, IndexOutsideTheRecordsLeavesTheOutputAlone) {
  FakeSettingsPlatform p;
  for (int index : {-1, 3, 100}) {
    FontRecord r;
    std::memset(&r, 0x55, sizeof r);
    LoadFontSettings(p, &r, index);
    FontRecord untouched;
    std::memset(&untouched, 0x55, sizeof untouched);
    EXPECT_EQ(std::memcmp(&r, &untouched, sizeof r), 0) << index;
  }
  LoadFontSettings(p, nullptr, 0);  // no output at all
}

TEST(FontSettings, FaceNameCut) {
  auto ja = [](int n) {  // n times 明 in code page 932
    std::string s;
    for (int i = 0; i < n; ++i) s += "\x96\xBE";
    return s;
  };
  struct Case {
    const char* what;
    std::string face;
    std::string kept;
  } cases[] = {
      {"40 characters are cut to 31", std::string(40, 'a'), std::string(31, 'a')},
      {"31 fit", std::string(31, 'b'), std::string(31, 'b')},
      {"15 double-byte characters and one byte", ja(15) + "zz", ja(15) + "z"},
      {"a double-byte character on bytes 30 and 31 is left out whole", ja(16), ja(15)},
      {"the same after two single bytes", "ab" + ja(15), "ab" + ja(14)},
      {"a single byte then double-byte characters up to 31", "a" + ja(16), "a" + ja(15)},
      {"a lone lead byte at the end counts alone", "abc\x96", "abc\x96"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    char out[33];
    std::memset(out, 0x7F, sizeof out);
    CutFaceName(c.face.c_str(), out);
    EXPECT_EQ(std::string(out), c.kept) << c.what;
    EXPECT_EQ(out[31], '\0') << c.what;
    EXPECT_EQ(out[32], '\x7F') << c.what;

    FakeSettingsPlatform p;
    p.PutProfile(kIni, "KoreanFontGM", "FaceName", c.face);
    EXPECT_EQ(std::string(Load(p, kFontGm).lfFaceName), c.kept) << c.what;
  }
}

TEST(FontSettings, LongFaceValueIsReadIntoItsBuffer) {
  FakeSettingsPlatform p;
  p.PutProfile(kIni, "JapaneseFont", "FaceName", std::string(1000, 'q'));
  EXPECT_EQ(std::string(Load(p, kFontJapanese).lfFaceName), std::string(31, 'q'));
}

// ---- registry tree ----

TEST(RegString, RootZeroIsTheUserAnyOtherTheMachine) {
  FakeSettingsPlatform p;
  p.Put(CU, kSuite + "\\Tessaly3", "FontHight", "-21");
  p.Put(LM, kSuite + "\\Tessaly3", "FontHight", "-30");
  p.Put(LM, kSuite + "\\Tessaly3", "MachineOnly", "m");
  char buffer[10];
  ASSERT_EQ(ReadRegString(p, 0, "Tessaly3", "FontHight", buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "-21");
  for (int root : {1, 2, -1}) {
    ASSERT_EQ(ReadRegString(p, root, "Tessaly3", "FontHight", buffer, sizeof buffer), 1) << root;
    EXPECT_STREQ(buffer, "-30");
  }
  EXPECT_EQ(ReadRegString(p, 0, "Tessaly3", "MachineOnly", buffer, sizeof buffer), 0);
  EXPECT_EQ(ReadRegString(p, 1, "Tessaly3", "MachineOnly", buffer, sizeof buffer), 1);
  EXPECT_EQ(p.OpenHandles(), 0);
}

TEST(RegString, MissingKeyOrValueLeavesTheBuffer) {
  FakeSettingsPlatform p;
  p.Put(CU, kSuite + "\\Ferlin2", "x1", "5");
  char buffer[10] = "keep";
  EXPECT_EQ(ReadRegString(p, 0, "NoSuchKey", "x1", buffer, sizeof buffer), 0);
  EXPECT_EQ(ReadRegString(p, 0, "Ferlin2", "y1", buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "keep");
}

TEST(RegString, TheNulMustFitInTheBuffer) {
  struct Case {
    const char* what;
    std::string stored;
    int size;
    int result;
    const char* text;
  } cases[] = {
      {"stored without NUL, room for it", "abc", 4, 1, "abc"},
      {"stored without NUL, exactly the buffer's size", "abc", 3, 0, "keep"},
      {"stored with NUL, exactly the buffer's size", std::string("abc", 4), 4, 1, "abc"},
      {"stored with NUL, one byte more than the buffer", std::string("abc", 4), 3, 0, "keep"},
      {"longer than the buffer", "abcdefghijk", 10, 0, "keep"},
      {"empty", "", 1, 1, ""},
  };
  for (const Case& c : cases) {
    FakeSettingsPlatform p;
    p.Put(CU, kSuite + "\\Sub", "Value", c.stored);
    char buffer[16] = "keep";
    EXPECT_EQ(ReadRegString(p, 0, "Sub", "Value", buffer, c.size), c.result) << c.what;
    EXPECT_STREQ(buffer, c.text) << c.what;
  }
  FakeSettingsPlatform p;
  p.Put(CU, kSuite + "\\Sub", "Value", "abc");
  char buffer[4] = "xyz";
  EXPECT_EQ(ReadRegString(p, 0, "Sub", "Value", buffer, 0), 0);
  EXPECT_EQ(ReadRegString(p, 0, "Sub", "Value", nullptr, 4), 0);
  EXPECT_STREQ(buffer, "xyz");
}

TEST(RegString, NamesWithoutRegardToCase) {
  FakeSettingsPlatform p;
  p.Put(CU, "Software\\Valdrimo\\geulmaruv6\\tessaly3\\WindowPosFig", "showCmd", "3");
  char buffer[10];
  ASSERT_EQ(ReadRegString(p, 0, "TESSALY3\\windowposfig", "SHOWCMD", buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "3");
  ASSERT_EQ(WriteRegString(p, "Tessaly3\\WINDOWPOSFIG", "ShowCmd", "1"), 1);
  ASSERT_EQ(ReadRegString(p, 0, "tessaly3\\windowposfig", "showcmd", buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "1");
}

TEST(RegValue, ClearsTheBufferAndReadsTheTreeItselfWithoutSubkey) {
  FakeSettingsPlatform p;
  p.Put(LM, kSuite, "Install Directory", "C:\\Program Files\\VALDRIMO\\");
  p.Put(CU, kSuite + "\\RABEKO_DLG", "MOJI_RANGE", "0");
  char buffer[260];
  ASSERT_EQ(ReadRegValue(p, 1, nullptr, "Install Directory", buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "C:\\Program Files\\VALDRIMO\\");
  char small[10];
  std::memset(small, 'z', sizeof small);
  EXPECT_EQ(ReadRegValue(p, 0, "RABEKO_DLG", "Missing", small, sizeof small), 0);
  EXPECT_EQ(std::string(small, sizeof small), std::string(sizeof small, '\0'));
  ASSERT_EQ(ReadRegValue(p, 0, "RABEKO_DLG", "MOJI_RANGE", small, sizeof small), 1);
  EXPECT_STREQ(small, "0");
}

TEST(WriteRegString, CreatesTheKeyAndWritesWithoutTheNul) {
  FakeSettingsPlatform p;
  ASSERT_EQ(WriteRegString(p, "Tessaly3", "KrnFontFaceName", "KS Gothic"), 1);
  auto v = p.Get(CU, kSuite + "\\Tessaly3", "KrnFontFaceName");
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(v->type, kRegSz);
  EXPECT_EQ(v->data, "KS Gothic");
  ASSERT_EQ(WriteRegString(p, "Tessaly3", "KrnFontFaceName", ""), 1);
  EXPECT_EQ(p.Get(CU, kSuite + "\\Tessaly3", "KrnFontFaceName")->data, "");
  EXPECT_FALSE(p.KeyExists(LM, kSuite + "\\Tessaly3"));
  EXPECT_EQ(p.OpenHandles(), 0);
}

TEST(WriteRegString, Failures) {
  FakeSettingsPlatform p;
  p.DenyWrites(CU, kSuite + "\\Locked");
  EXPECT_EQ(WriteRegString(p, "Locked", "v", "1"), 0);
  EXPECT_FALSE(p.KeyExists(CU, kSuite + "\\Locked"));
  p.FailWritesAfter(0);
  EXPECT_EQ(WriteRegString(p, "Open", "v", "1"), 0);
  EXPECT_EQ(WriteRegString(p, "Open", "v", nullptr), 0);
  EXPECT_EQ(p.OpenHandles(), 0);
  EXPECT_TRUE(p.warnings.empty());
}

TEST(OpenOrCreateRegKey, OpensCreatesOrWarns) {
  FakeSettingsPlatform p;
  const std::string path = "SOFTWARE\\Valdrimo\\GeulmaruV6\\Ombrel";
  {
    RegKey key;
    EXPECT_EQ(OpenOrCreateRegKey(p, path.c_str(), key, "DAL-MOK"), 1);
    EXPECT_TRUE(key.IsOpen());
    EXPECT_TRUE(WriteStringValue(p, key.Handle(), "SearchMethod", "0"));
  }
  {
    RegKey key;
    EXPECT_EQ(OpenOrCreateRegKey(p, "software\\valdrimo\\geulmaruv6\\OMBREL", key, "DAL-MOK"), 0);
    char text[10];
    ASSERT_TRUE(ReadStringValue(p, key.Handle(), "searchmethod", text, sizeof text));
    EXPECT_STREQ(text, "0");
  }
  EXPECT_EQ(p.OpenHandles(), 0);
  EXPECT_TRUE(p.warnings.empty());

  p.DenyWrites(CU, path);
  p.DenyWrites(CU, "SOFTWARE\\Valdrimo\\GeulmaruV6\\Dalmok");
  RegKey key;
  EXPECT_EQ(OpenOrCreateRegKey(p, path.c_str(), key, "\x8A\xDA\x93\xFA"), -1);  // an existing key
  EXPECT_EQ(OpenOrCreateRegKey(p, "SOFTWARE\\Valdrimo\\GeulmaruV6\\Dalmok", key, "DAL-MOK"), -1);  // a new one
  EXPECT_FALSE(key.IsOpen());
  ASSERT_EQ(p.warnings.size(), 2u);
  EXPECT_EQ(p.warnings[1].first, "DAL-MOK");
  // "レジストリの作成に失敗しました!" in code page 932.
  EXPECT_EQ(p.warnings[1].second,
            "\x83\x8C\x83\x57\x83\x58\x83\x67\x83\x8A\x82\xCC\x8D\xEC\x90\xAC\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82"
            "\xDC\x82\xB5\x82\xBD!");
  EXPECT_EQ(p.warnings[0].first, "\x8A\xDA\x93\xFA");
}

TEST(ReadMachineRegValue, MachineValuesOnly) {
  FakeSettingsPlatform p;
  p.Put(LM, kVoice, "DicPath", "C:\\Sonavo\\DB\\");
  p.Put(CU, kVoice, "UserOnly", "u");
  p.Put(LM, kVoice, "Long", std::string(259, 'a'));
  p.Put(LM, kVoice, "TooLong", std::string(260, 'a'));
  EXPECT_EQ(ReadMachineRegValue(p, kVoice.c_str(), "dicpath"), "C:\\Sonavo\\DB\\");
  EXPECT_EQ(ReadMachineRegValue(p, kVoice.c_str(), "UserOnly"), "");
  EXPECT_EQ(ReadMachineRegValue(p, "SOFTWARE\\Nothing", "DicPath"), "");
  EXPECT_EQ(ReadMachineRegValue(p, kVoice.c_str(), "Long"), std::string(259, 'a'));
  EXPECT_EQ(ReadMachineRegValue(p, kVoice.c_str(), "TooLong"), "");
  EXPECT_EQ(p.OpenHandles(), 0);
}

TEST(ParseDecimal, AsAtoi) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {
      {"0", 0},         {"100", 100},   {"-21", -21},      {"+7", 7},
      {"  42xyz", 42},  {"\t\n5", 5},   {"abc", 0},        {"", 0},
      {"- 3", 0},       {"1 2", 1},     {"99999999999", 2147483647},
      {"-99999999999", -2147483647 - 1}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseDecimal(c.text), c.value) << '"' << c.text << '"';
}

// ---- voice values ----

namespace {
struct Voice {
  int speaker = -7, volume = -7, rate = -7, pitch = -7, repeat = -7;
  bool operator==(const Voice&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Voice& v) {
  return o << v.speaker << "," << v.volume << "," << v.rate << "," << v.pitch << "," << v.repeat;
}
Voice LoadVoice(FakeSettingsPlatform& p) {
  Voice v;
  LoadVoiceSettings(p, &v.speaker, &v.volume, &v.rate, &v.pitch, &v.repeat);
  return v;
}
Voice V(int s, int vo, int r, int pi, int re) { return Voice{s, vo, r, pi, re}; }
}  // namespace

TEST(VoiceSettings, NewUserGetsDefaultsAndNothingIsWritten) {
  FakeSettingsPlatform p;
  EXPECT_EQ(LoadVoice(p), V(0, 100, 100, 100, 1));
  EXPECT_FALSE(p.KeyExists(CU, kVoice));
  EXPECT_EQ(p.ValueWrites(), 0);
  EXPECT_EQ(p.OpenHandles(), 0);
}

TEST(VoiceSettings, PresentMissingLongAndNonNumericValues) {
  FakeSettingsPlatform p;
  p.Put(CU, kVoice, "VoiceSpeaker", "1");
  p.Put(CU, kVoice, "voicevolume", "abc");                // not a number: 0
  p.Put(CU, kVoice, "VoiceRate", "12345678901");          // 11 characters fit the 12 bytes
  p.Put(CU, kVoice, "VoicePitch", "123456789012");        // 12 do not: default
  EXPECT_EQ(LoadVoice(p), V(1, 0, 2147483647, 100, 1));  // repeat missing: default
  p.Put(CU, kVoice, "VoiceRepeatNum", std::string("3", 2));  // stored with its NUL
  EXPECT_EQ(LoadVoice(p).repeat, 3);
  p.Put(LM, kVoice, "VoicePitch", "90");  // the machine's values do not count
  EXPECT_EQ(LoadVoice(p).pitch, 100);
}

TEST(VoiceSettings, NullOutputsArePassedOver) {
  FakeSettingsPlatform p;
  int volume = 0;
  LoadVoiceSettings(p, nullptr, &volume, nullptr, nullptr, nullptr);
  EXPECT_EQ(volume, 100);
}

TEST(VoiceSettings, SaveCreatesTheKeyAndWritesInOrder) {
  FakeSettingsPlatform p;
  ASSERT_EQ(SaveVoiceSettings(p, 1, 150, 50, -3, 0), 1);
  EXPECT_EQ(p.Get(CU, kVoice, "VoiceSpeaker")->data, "1");
  EXPECT_EQ(p.Get(CU, kVoice, "VoiceVolume")->data, "150");
  EXPECT_EQ(p.Get(CU, kVoice, "VoiceRate")->data, "50");
  EXPECT_EQ(p.Get(CU, kVoice, "VoicePitch")->data, "-3");
  EXPECT_EQ(p.Get(CU, kVoice, "VoiceRepeatNum")->data, "0");
  EXPECT_EQ(p.Get(CU, kVoice, "VoiceRepeatNum")->type, kRegSz);
  EXPECT_EQ(LoadVoice(p), V(1, 150, 50, -3, 0));
  ASSERT_EQ(SaveVoiceSettings(p, 0, -2147483647 - 1, 100, 100, 1), 1);
  EXPECT_EQ(LoadVoice(p), V(0, -2147483647 - 1, 100, 100, 1));
  EXPECT_EQ(p.OpenHandles(), 0);
}

TEST(VoiceSettings, SaveStopsAtTheFirstFailedWrite) {
  FakeSettingsPlatform p;
  p.FailWritesAfter(2);
  EXPECT_EQ(SaveVoiceSettings(p, 1, 120, 130, 110, 4), 0);
  EXPECT_EQ(p.ValueWrites(), 2);
  EXPECT_TRUE(p.Get(CU, kVoice, "VoiceVolume").has_value());
  EXPECT_FALSE(p.Get(CU, kVoice, "VoiceRate").has_value());
  EXPECT_FALSE(p.Get(CU, kVoice, "VoiceRepeatNum").has_value());

  FakeSettingsPlatform locked;
  locked.DenyWrites(CU, kVoice);
  EXPECT_EQ(SaveVoiceSettings(locked, 1, 120, 130, 110, 4), 0);
  EXPECT_EQ(locked.ValueWrites(), 0);
  EXPECT_EQ(locked.OpenHandles(), 0);
}

TEST(VoiceSettings, PlayerOpensTheKeyWithAllAccess) {
  FakeSettingsPlatform p;
  p.Put(CU, kVoice, "VoiceVolume", "80");
  p.Put(CU, kVoice, "VoiceRepeatNum", "3");
  Voice v;
  player::LoadVoiceSettings(p, &v.speaker, &v.volume, &v.rate, &v.pitch, &v.repeat);
  EXPECT_EQ(v, V(0, 80, 100, 100, 3));
  // A key that can be read but not written gives the player all defaults.
  p.DenyWrites(CU, kVoice);
  player::LoadVoiceSettings(p, &v.speaker, &v.volume, &v.rate, &v.pitch, &v.repeat);
  EXPECT_EQ(v, V(0, 100, 100, 100, 1));
  EXPECT_EQ(LoadVoice(p), V(0, 80, 100, 100, 3));
  EXPECT_EQ(p.ValueWrites(), 0);
}

TEST(VoiceSettings, WorkbenchWritesTheDefaultsIntoANewKey) {
  FakeSettingsPlatform p;
  Voice v{7, 7, 7, 7, 9};
  workbench::LoadVoiceSettings(p, "DAL-MOK", &v.speaker, &v.volume, &v.rate, &v.pitch);
  EXPECT_EQ(v, V(0, 100, 100, 100, 9)) << "a key just created: the defaults, used";
  EXPECT_EQ(p.Get(CU, kVoice, "VoiceSpeaker")->data, "0");
  EXPECT_EQ(p.Get(CU, kVoice, "VoiceVolume")->data, "100");
  EXPECT_EQ(p.Get(CU, kVoice, "VoiceRate")->data, "100");
  EXPECT_EQ(p.Get(CU, kVoice, "VoicePitch")->data, "100");

  p.Put(CU, kVoice, "VoiceRate", "80");
  p.Put(CU, kVoice, "VoicePitch", "x");  // no number: 0
  workbench::LoadVoiceSettings(p, "DAL-MOK", &v.speaker, &v.volume, &v.rate, &v.pitch);
  EXPECT_EQ(v, V(0, 100, 80, 0, 9));
  EXPECT_EQ(p.OpenHandles(), 0);

  FakeSettingsPlatform locked;
  locked.DenyWrites(CU, kVoice);
  Voice w{5, 6, 7, 8, 9};
  workbench::LoadVoiceSettings(locked, "DAL-MOK", &w.speaker, &w.volume, &w.rate, &w.pitch);
  EXPECT_EQ(w, V(5, 6, 7, 8, 9));
  ASSERT_EQ(locked.warnings.size(), 1u);
  EXPECT_EQ(locked.warnings[0].first, "DAL-MOK");
}

TEST(VoiceSettings, DictionaryReadsOnlyAKeyThatExisted) {
  FakeSettingsPlatform p;
  Voice v{0, 0, 0, 0, 9};
  dictionary::LoadVoiceSettings(p, "dict", &v.speaker, &v.volume, &v.rate, &v.pitch);
  EXPECT_EQ(v, V(0, 0, 0, 0, 9)) << "a key just created leaves the values";
  EXPECT_TRUE(p.KeyExists(CU, kVoice));
  EXPECT_EQ(p.ValueWrites(), 0);

  dictionary::LoadVoiceSettings(p, "dict", &v.speaker, &v.volume, &v.rate, &v.pitch);
  EXPECT_EQ(v, V(0, 100, 100, 100, 9)) << "the next call finds the key and takes the defaults";

  p.Put(CU, kVoice, "VoiceSpeaker", "1");
  p.Put(CU, kVoice, "VoicePitch", "115");
  p.Put(CU, kVoice, "VoiceRepeatNum", "4");
  dictionary::LoadVoiceSettings(p, "dict", &v.speaker, &v.volume, &v.rate, &v.pitch);
  EXPECT_EQ(v, V(1, 100, 100, 115, 9));
  EXPECT_EQ(p.OpenHandles(), 0);

  FakeSettingsPlatform locked;
  locked.DenyWrites(CU, kVoice);
  Voice w{5, 6, 7, 8, 9};
  dictionary::LoadVoiceSettings(locked, "dict", &w.speaker, &w.volume, &w.rate, &w.pitch);
  EXPECT_EQ(w, V(5, 6, 7, 8, 9));
  ASSERT_EQ(locked.warnings.size(), 1u);
  EXPECT_EQ(locked.warnings[0].first, "dict");
}

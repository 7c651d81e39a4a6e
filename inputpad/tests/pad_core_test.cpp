#include "pad_core.h"

#include <gtest/gtest.h>

#include "fake_settings_platform.h"

namespace {

using inputpad::BlankLayout;
using inputpad::CodeMode;
using settings::FakeSettingsPlatform;
using settings::RegRoot;

// ---- command line ----
TEST(PadArguments, ReadsThreeNumbersAndDefaultsTheMissingOnes) {
  struct Case {
    const char* line;
    int32_t ime, target;
    int code;
    CodeMode mode;
  } cases[] = {
      {" 4258 -4660 1", 4258, -4660, 1, CodeMode::kKs},
      {" 4258 66 2", 4258, 66, 2, CodeMode::kGmV3},
      {" 4258 66", 4258, 66, 1, CodeMode::kKs},  // no third number: KS
      {" 4258", 4258, 0, 1, CodeMode::kKs},
      {"", 0, 0, 1, CodeMode::kKs},
      {" 12 34 0", 12, 34, 0, CodeMode::kGm95},
      {" 12 34 7", 12, 34, 7, CodeMode::kGmV3},  // anything but 1 is a GM code
      {" 12 x 2", 12, 0, 1, CodeMode::kKs},      // reading stops at the first non-number
  };
  for (const Case& c : cases) {
    const auto a = inputpad::ParsePadArguments(c.line);
    EXPECT_EQ(a.imeWindow, c.ime) << c.line;
    EXPECT_EQ(a.targetWindow, c.target) << c.line;
    EXPECT_EQ(a.code, c.code) << c.line;
    EXPECT_EQ(a.mode, c.mode) << c.line;
  }
  EXPECT_EQ(inputpad::ParsePadArguments(nullptr).mode, CodeMode::kKs);
}

// ---- settings ----
constexpr char kDalmok[] = "Software\\VALDRIMO\\GeulmaruV6\\Dalmok";
constexpr char kJapaneseFont[] = "Software\\VALDRIMO\\GeulmaruV6\\Dalmok\\JapaneseFont";
constexpr char kUserDic[] = "Software\\VALDRIMO\\GeulmaruV6\\Dalmok\\DMUserDic";

std::string Sjis(const char* bytes) { return bytes; }

TEST(PadSettings, EmptyRegistryGivesTheDefaults) {
  FakeSettingsPlatform reg;
  const auto ks = inputpad::ReadPadSettings(reg, true);
  EXPECT_EQ(ks.japaneseFace, Sjis("\x82\x6C\x82\x72 \x96\xBE\x92\xA9"));  // ＭＳ 明朝
  EXPECT_EQ(ks.koreanFace, "KS Mincho");
  EXPECT_EQ(ks.fontHeight, 20);
  EXPECT_EQ(ks.japaneseIme, "JP:Text Services Framework");
  for (const auto& d : ks.userDic) EXPECT_EQ(d, "");
  const auto gm = inputpad::ReadPadSettings(reg, false);
  EXPECT_EQ(gm.koreanFace, Sjis("\x82\x66\x82\x6C\x8A\xD8\x8D\x91\x96\xBE\x92\xA9"));  // ＧＭ韓国明朝
  EXPECT_EQ(reg.ValueWrites(), 0);
  EXPECT_FALSE(reg.KeyExists(RegRoot::CurrentUser, kDalmok));
}

TEST(PadSettings, UserValuesWinOverMachineValuesWhichFillTheGaps) {
  FakeSettingsPlatform reg;
  reg.Put(RegRoot::LocalMachine, kUserDic, "User Dic1", std::string("C:\\m\\one") + '\0');
  reg.Put(RegRoot::LocalMachine, kUserDic, "User Dic2", std::string("C:\\m\\two") + '\0');
  reg.Put(RegRoot::CurrentUser, kUserDic, "User Dic2", std::string("C:\\u\\two") + '\0');
  reg.Put(RegRoot::LocalMachine, "Software\\VALDRIMO\\GeulmaruV6\\Dalmok\\KoreanFontGM", "FaceName", "GM Face");
  reg.Put(RegRoot::CurrentUser, kDalmok, "SelectIME", std::string("MSIME.IME") + '\0');
  const int writes = reg.ValueWrites();
  const auto s = inputpad::ReadPadSettings(reg, false);
  EXPECT_EQ(s.userDic[0], "C:\\m\\one");
  EXPECT_EQ(s.userDic[1], "C:\\u\\two");
  EXPECT_EQ(s.userDic[2], "");
  EXPECT_EQ(s.koreanFace, "GM Face");
  EXPECT_EQ(s.japaneseIme, "MSIME.IME");
  EXPECT_EQ(reg.ValueWrites(), writes);  // the pad never writes
}

TEST(PadSettings, HeightFaceAndImeRules) {
  struct Case {
    const char* height;  // null: not stored
    int expected;
  } heights[] = {{nullptr, 20}, {"0", 20}, {"", 20}, {"abc", 20}, {"-20", -20}, {"16", 16}, {"-12", -12}};
  for (const Case& c : heights) {
    FakeSettingsPlatform reg;
    if (c.height) reg.Put(RegRoot::CurrentUser, kJapaneseFont, "Height", c.height);
    const auto s = inputpad::ReadPadSettings(reg, true);
    EXPECT_EQ(s.fontHeight, c.expected) << (c.height ? c.height : "(none)");
    EXPECT_EQ(s.WindowFontHeight(), c.expected < 0 ? -c.expected : c.expected);
  }
  // A Korean face shorter than 3 bytes takes the default; 3 bytes stay.
  for (const auto& [face, expected] : std::vector<std::pair<std::string, std::string>>{
           {"", "KS Mincho"}, {"AB", "KS Mincho"}, {"ABC", "ABC"}}) {
    FakeSettingsPlatform reg;
    reg.Put(RegRoot::CurrentUser, "Software\\VALDRIMO\\GeulmaruV6\\Dalmok\\KoreanFontKS", "FaceName", face);
    EXPECT_EQ(inputpad::ReadPadSettings(reg, true).koreanFace, expected) << face;
  }
  // An empty SelectIME means the text services; an empty Japanese face is kept.
  FakeSettingsPlatform reg;
  reg.Put(RegRoot::CurrentUser, kDalmok, "SelectIME", "");
  reg.Put(RegRoot::CurrentUser, kJapaneseFont, "FaceName", "");
  const auto s = inputpad::ReadPadSettings(reg, true);
  EXPECT_EQ(s.japaneseIme, "JP:Text Services Framework");
  EXPECT_EQ(s.japaneseFace, "");
}

TEST(PadSettings, LongValuesAreCutToTheirSizeNotDropped) {
  FakeSettingsPlatform reg;
  // 40 ASCII letters: a face holds 31 bytes and its NUL.
  reg.Put(RegRoot::CurrentUser, kJapaneseFont, "FaceName", std::string(40, 'F'));
  // 15 full-width letters then "X": 31 bytes would split the 16th character.
  std::string wide;
  for (int i = 0; i < 16; ++i) wide += "\x82\x60";  // Ａ
  reg.Put(RegRoot::CurrentUser, "Software\\VALDRIMO\\GeulmaruV6\\Dalmok\\KoreanFontKS", "FaceName", wide);
  reg.Put(RegRoot::CurrentUser, kUserDic, "User Dic3", std::string(300, 'p'));
  const auto s = inputpad::ReadPadSettings(reg, true);
  EXPECT_EQ(s.japaneseFace, std::string(31, 'F'));
  EXPECT_EQ(s.koreanFace, wide.substr(0, 30));
  EXPECT_EQ(s.userDic[2], std::string(259, 'p'));
}

TEST(PadSettings, UnreadableUserKeyFallsBackToTheMachine) {
  FakeSettingsPlatform reg;
  reg.Put(RegRoot::CurrentUser, kDalmok, "SelectIME", "USER.IME");
  reg.Put(RegRoot::LocalMachine, kDalmok, "SelectIME", "MACHINE.IME");
  reg.DenyReads(RegRoot::CurrentUser, kDalmok);
  EXPECT_EQ(inputpad::ReadPadSettings(reg, true).japaneseIme, "MACHINE.IME");
  EXPECT_EQ(reg.OpenHandles(), 0);
}

// ---- blanks ----
TEST(PadBlanks, LeadingAndTrailingBlankBytes) {
  const std::string full = "\x81\x40";      // 　
  const std::string word = "\x8A\x77\x90\xB6";  // 学生
  struct Case {
    std::string text;
    std::size_t leading, trailing;
  } cases[] = {
      {word, 0, 0},
      {full + full + word, 4, 0},              // two full-width blanks: four bytes
      {"  " + full + word, 2 + 2, 0},          // half-width, then full-width
      {full + " " + word, 2, 0},               // a half-width blank after a full-width one is text
      {word + "   ", 0, 3},
      {word + full + full, 0, 4},              // ends in a double-byte character
      {word + full + " ", 0, 1},               // ends in a half-width blank: only those
      {" a ", 1, 1},
      {"\x82\x81\x40" + word, 0, 0},           // 0x81 0x40 inside ぁ@ is no blank
  };
  for (const Case& c : cases) {
    const BlankLayout b = inputpad::MeasureBlanks(c.text);
    EXPECT_FALSE(b.empty) << c.text;
    EXPECT_EQ(b.leading, c.leading) << c.text;
    EXPECT_EQ(b.trailing, c.trailing) << c.text;
    EXPECT_EQ(b.Capacity(), 512 - 1 - c.leading - c.trailing) << c.text;
  }
}

TEST(PadBlanks, AllBlankTextIsEmptyAndHasNoCapacity) {
  for (const std::string& text : {std::string(), std::string(" "), std::string(255, ' '),
                                  std::string("\x81\x40\x81\x40"), std::string("  \x81\x40"),
                                  std::string(511, ' ')}) {
    const BlankLayout b = inputpad::MeasureBlanks(text);
    EXPECT_TRUE(b.empty) << text.size();
    EXPECT_EQ(b.Capacity(), 0u);
  }
  // The longest text the pad's control holds with one letter among blanks:
  // the capacity stays positive, so blanks, translation and NUL fit 512.
  const std::string crowded = std::string(255, ' ') + "a" + std::string(255, ' ');
  const BlankLayout b = inputpad::MeasureBlanks(crowded);
  ASSERT_FALSE(b.empty);
  EXPECT_EQ(b.Capacity(), 1u);
  EXPECT_LE(b.leading + b.Capacity() + b.trailing + 1, 512u);
}

TEST(PadBlanks, LayoutKeepsTheBlanksAndDropsOneAtTheTranslationsEnd) {
  BlankLayout b;
  b.empty = false;
  b.leading = 4;
  b.trailing = 2;
  EXPECT_EQ(inputpad::LayOutTranslation(b, "KR "), "    KR  ");
  EXPECT_EQ(inputpad::LayOutTranslation(b, "KR"), "    KR  ");
  EXPECT_EQ(inputpad::LayOutTranslation(b, "KR  "), "    KR   ");  // one blank only
  EXPECT_EQ(inputpad::LayOutTranslation(b, ""), "      ");
}

// ---- sending ----
bool Lead(uint8_t b) { return b >= 0x81; }

TEST(PadSend, CharactersThenTheEndMark) {
  const auto plan = inputpad::PlanPadSend("\xC7\xD0\xBB\xFD a", Lead);
  const std::vector<uint32_t> expected = {0xD0C7, 0xFDBB, 0x20, 0x61, 0xFFFF};
  EXPECT_EQ(plan.messages, expected);
  EXPECT_FALSE(plan.cut);
  EXPECT_TRUE(inputpad::PlanPadSend("", Lead).messages.empty());
}

TEST(PadSend, At128CharactersTheRestIsCut) {
  struct Case {
    int characters;
    bool cut;
  } cases[] = {{127, false}, {128, false}, {129, true}, {250, true}};
  for (const Case& c : cases) {
    std::string text;
    for (int i = 0; i < c.characters; ++i) text += i % 2 ? "\xC7\xD0" : "a";
    const auto plan = inputpad::PlanPadSend(text, Lead);
    const std::size_t sent = std::min(c.characters, 128);
    ASSERT_EQ(plan.messages.size(), sent + 1) << c.characters;
    EXPECT_EQ(plan.messages.back(), 0xFFFFu);
    EXPECT_EQ(plan.messages[sent - 1], (sent - 1) % 2 ? 0xD0C7u : 0x61u);
    EXPECT_EQ(plan.cut, c.cut) << c.characters;
  }
}

TEST(PadSend, LoneLeadByteAtTheEndGoesAlone) {
  const auto plan = inputpad::PlanPadSend("a\xC7", Lead);
  const std::vector<uint32_t> expected = {0x61, 0xC7, 0xFFFF};
  EXPECT_EQ(plan.messages, expected);
}

// ---- placement ----
TEST(PadPlacement, FitToFontCases) {
  const inputpad::Metrics m{17, 4, 4};
  const inputpad::Rect work{0, 0, 1024, 740};
  struct Case {
    long left, top;
    int font;
    inputpad::Rect expected;
  } cases[] = {
      // 17 + 4 + 20 + 10 = 51 high, 200 wide, kept where it was.
      {100, 100, 20, {100, 100, 300, 151}},
      {-50, -30, 20, {0, 0, 200, 51}},                 // into the work area
      {900, 100, 20, {824, 116, 1024, 167}},           // past the right edge: 16 lower, right-aligned
      {100, 720, 20, {100, 689, 300, 740}},            // past the bottom: moved up
      {900, 700, 20, {824, 689, 1024, 740}},           // both
      {100, 100, 32, {100, 100, 300, 163}},
  };
  for (const Case& c : cases) {
    const auto p = inputpad::FitToFont(c.left, c.top, c.font, m, work);
    EXPECT_EQ(p.window, c.expected) << c.left << "," << c.top;
    EXPECT_EQ(p.controlWidth, 200 - 4 + 2);
    EXPECT_EQ(p.controlHeight, c.expected.Height() - 17 - 4 + 2);
  }
  // A work area that does not start at the origin (a task bar on the left).
  const auto p = inputpad::FitToFont(10, 10, 20, m, inputpad::Rect{60, 0, 1024, 740});
  EXPECT_EQ(p.window, (inputpad::Rect{60, 10, 260, 61}));
}

}  // namespace

// Process attach: the order of its steps, every registry setting by its
// reading rule, the font check and the warning, and the detach write-back.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "fake_context.h"
#include "fake_registry.h"
#include "ime_config.h"
#include "own_layout.h"

namespace ime {
namespace {

const std::string kGmFace = "\x82\x66\x82\x6c\x8a\xd8\x8d\x91\x96\xbe\x92\xa9";    // ＧＭ韓国明朝
const std::string kGmGothic = "\x82\x66\x82\x6c\x8a\xd8\x8d\x91\x83\x53\x83\x56";  // ＧＭ韓国ゴシ
const std::string kSjFace = "\x82\x6a\x82\x72\x8a\xd8\x8d\x91\x96\xbe\x92\xa9";    // ＫＳ韓国明朝
const std::string kMsMincho = "\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9";              // ＭＳ 明朝

using test::FakeRegistry;

struct FakePlatform : AttachPlatform {
  std::vector<std::string> calls;
  std::vector<FontFace> fonts;
  bool protectedMode = false;
  bool hotKey19 = false;
  int tableMode = -1;
  int guideKeyboard = -1;

  bool ProbeProtectedMode() override { return calls.push_back("protected"), protectedMode; }
  std::vector<FontFace> EnumerateFonts() override { return calls.push_back("fonts"), fonts; }
  bool LoadReadingTable(int mode) override { return calls.push_back("table"), tableMode = mode, true; }
  void SetGuideLayout(int keyboard) override { calls.push_back("guide"), guideKeyboard = keyboard; }
  void OpenDictionary(const ImeConfig&) override { calls.push_back("dictionary"); }
  void RegisterControlClasses() override { calls.push_back("classes"); }
  void CreateDisplayFont(const ImeConfig&) override { calls.push_back("font"); }
  void ClearCompanionWindows() override { calls.push_back("companions"); }
  void LoadCodeTables() override { calls.push_back("codetables"); }
  bool KanjiHotKeyIsVk19() override { return calls.push_back("hotkey"), hotKey19; }
  void CloseUiWindow() override { calls.push_back("close-ui"); }
  void ReleaseDisplayFontAndTable() override { calls.push_back("release"); }
  void ReleaseDictionary() override { calls.push_back("release-dictionary"); }
};

FontFace Tt(const std::string& face, int charset) { return {face, charset, true}; }

struct Attach {
  FakeRegistry reg;
  FakePlatform platform;
  test::CountingFeedback feedback;
  ImeConfig cfg;
  PlatformFacts facts;

  Attach() { platform.fonts = {Tt("NanumGothic", 129), Tt("KS Mincho", 129), Tt(kMsMincho, 128)}; }
  void Modes(const std::string& prefix, const std::string& value, const std::string& text) {
    reg.Set(kRootCurrentUser, prefix + "\\Modes", value, text);
  }
  ImeConfig& Run(const std::string& path) {
    InitializeImeConfig(cfg, path, reg, platform, feedback, facts);
    return cfg;
  }
};

TEST(AttachSettings, StepsRunInTheirOrder) {
  Attach a;
  a.Modes("ZO", "Keyboard", "98");  // the hot key is asked about on PC-98 keyboards only
  a.Run("C:\\Windows\\System32\\zorbenv6.ime");
  const std::vector<std::string> order = {"protected", "fonts", "table", "guide", "dictionary", "classes",
                                          "font", "companions", "codetables", "hotkey"};
  EXPECT_EQ(a.platform.calls, order);
}

TEST(AttachSettings, DefaultsOfTheKsEdition) {
  Attach a;
  a.reg.Set(kRootLocalMachine, "", "Install Directory", "C:\\Program Files\\VALDRIMO");
  const ImeConfig& c = a.Run("C:\\Windows\\System32\\zorbenv6.ime");
  EXPECT_EQ(c.fileName, "ZORBENV6.IME");
  EXPECT_EQ(c.helpFileName, "ZORBENV6.CHM");
  EXPECT_EQ(c.prefix, "ZO");
  EXPECT_EQ(c.engine.koreanCode, 1);
  EXPECT_EQ(c.charset, 129);
  EXPECT_EQ(c.programFolder, "C:\\Program Files\\VALDRIMO\\GeulmaruV6\\");
  EXPECT_EQ(c.dictionaryPath, "C:\\Program Files\\VALDRIMO\\GeulmaruV6\\SYSDIC\\GmV6KS.dic");
  EXPECT_EQ(c.currentFace, "KS Mincho");
  EXPECT_EQ(c.fontPoints, 16);
  EXPECT_EQ(c.engine.inputMode, 1);
  EXPECT_EQ(a.platform.tableMode, 1);
  EXPECT_EQ(c.engine.keyboardType, 0);
  EXPECT_EQ(c.engine.conversionMode, kConvNative);
  EXPECT_TRUE(c.halfWidthSetting);
  EXPECT_FALSE(c.engine.indirectMode);
  EXPECT_TRUE(c.engine.jisoTaniBack);
  EXPECT_FALSE(c.atokIme);
  EXPECT_TRUE(c.engine.learning);
  EXPECT_EQ(c.inputColour, (ColourPair{6, 0}));
  EXPECT_EQ(c.convColour, (ColourPair{0, 5}));
  EXPECT_EQ(c.toolbar.count, 11);  // "101111111111": all but function 2
  EXPECT_FALSE(c.toolbar.enabled[2]);
  EXPECT_EQ(c.toolbar.functions[0], 1);
  EXPECT_EQ(c.toolbar.functions[1], 3);
  EXPECT_EQ(c.statusX, -1);
  EXPECT_EQ(c.statusY, -1);
  EXPECT_EQ(c.engine.interfaceCodePage, 949u);
  EXPECT_EQ(c.engine.mikakuBytes, 2);
  EXPECT_FALSE(c.engine.kanjiHotKey);
  EXPECT_TRUE(a.feedback.boxes.empty());
}

// What attach read of the sheet's values is kept, so that a later change by
// another process's sheet shows against it.
TEST(AttachSettings, KeepsTheSheetsValuesAsRead) {
  Attach a;
  a.Modes("ZO", "HanglInput", "KS3");
  a.reg.Set(kRootLocalMachine, "ZO\\Font", "Height", "20");
  a.platform.fonts = {Tt("NanumGothic", 129)};
  const ImeConfig& c = a.Run("C:\\x\\ZORBENV6.IME");
  EXPECT_EQ(c.ksFace, "NanumGothic");
  EXPECT_EQ(c.seen, ReadSheetValues(SettingsAccess(a.reg, "ZO"), true));
  EXPECT_EQ(c.seen.hanglInput, "KS3");
  EXPECT_EQ(c.seen.height, "20");
  EXPECT_EQ(c.seen.ksFace, "KS Mincho");  // as configured, not as the font check left it
  EXPECT_EQ(c.seen.keyboard, "106");      // the default of a missing value
}

TEST(AttachSettings, DefaultsOfTheGmEdition) {
  Attach a;
  a.platform.fonts.push_back(Tt(kGmFace, 128));
  const ImeConfig& c = a.Run("C:\\x\\WARBENV6.IME");
  EXPECT_EQ(c.prefix, "WA");
  EXPECT_EQ(c.engine.koreanCode, 2);
  EXPECT_EQ(c.charset, 128);
  EXPECT_EQ(c.currentFace, kGmFace);
  EXPECT_EQ(c.dictionaryPath, "\\GeulmaruV6\\SYSDIC\\GmV6.dic");
  EXPECT_EQ(c.engine.interfaceCodePage, 0u);
}

// One registry value and what it gives; each case in its own attach.
struct ValueCase {
  const char* name;
  const char* file;
  const char* subkey;
  const char* value;
  const char* text;
  std::function<bool(const ImeConfig&)> holds;
};

TEST(AttachSettings, ValuesByTheirReadingRules) {
  const ValueCase cases[] = {
      {"Keyboard 98", "ZORBENV6.IME", "Modes", "Keyboard", "98", [](auto& c) { return c.engine.keyboardType == 1; }},
      {"Keyboard 101", "ZORBENV6.IME", "Modes", "Keyboard", "101", [](auto& c) { return c.engine.keyboardType == 2; }},
      {"Keyboard 1010 is not 101", "ZORBENV6.IME", "Modes", "Keyboard", "1010",
       [](auto& c) { return c.engine.keyboardType == 0; }},
      {"HanglInput KS3", "ZORBENV6.IME", "Modes", "HanglInput", "KS3", [](auto& c) { return c.engine.inputMode == 2; }},
      {"HanglInput K3 is 2-set", "ZORBENV6.IME", "Modes", "HanglInput", "K3",
       [](auto& c) { return c.engine.inputMode == 1; }},
      {"HanglInput ROMAN", "ZORBENV6.IME", "Modes", "HanglInput", "ROMAN",
       [](auto& c) { return c.engine.inputMode == 0; }},
      {"InputSize DBCS", "ZORBENV6.IME", "Modes", "InputSize", "DBCS",
       [](auto& c) { return c.engine.conversionMode == 9 && !c.halfWidthSetting; }},
      {"IndirectMode Yes", "ZORBENV6.IME", "Modes", "IndirectMode", "Yes",
       [](auto& c) { return c.engine.indirectMode; }},
      {"IndirectMode yes (lower case is not Y)", "ZORBENV6.IME", "Modes", "IndirectMode", "yes",
       [](auto& c) { return !c.engine.indirectMode; }},
      {"JisoTaniBack No", "ZORBENV6.IME", "Modes", "JisoTaniBack", "No", [](auto& c) { return !c.engine.jisoTaniBack; }},
      {"AtokIme Yes", "ZORBENV6.IME", "Modes", "AtokIme", "Yes", [](auto& c) { return c.atokIme; }},
      {"InputColor 3,7", "ZORBENV6.IME", "Modes", "InputColor", "3,7",
       [](auto& c) { return c.inputColour == ColourPair{3, 7}; }},
      {"InputColor x gives 72 and keeps the background", "ZORBENV6.IME", "Modes", "InputColor", "x",
       [](auto& c) { return c.inputColour == ColourPair{72, 0}; }},
      {"ConvColor 1,2", "ZORBENV6.IME", "Modes", "ConvColor", "1,2",
       [](auto& c) { return c.convColour == ColourPair{1, 2}; }},
      {"ToolBar 1 enables function 1 only", "ZORBENV6.IME", "Modes", "ToolBar", "1",
       [](auto& c) { return c.toolbar.count == 1 && c.toolbar.functions[0] == 1 && c.toolbar.enabled[1]; }},
      {"ToolBar 000000000000 enables nothing", "ZORBENV6.IME", "Modes", "ToolBar", "000000000000",
       [](auto& c) { return c.toolbar.count == 0; }},
      {"ToolBar 000000000001", "ZORBENV6.IME", "Modes", "ToolBar", "000000000001",
       [](auto& c) { return c.toolbar.count == 1 && c.toolbar.functions[0] == 12; }},
      {"Interface A", "ZORBENV6.IME", "Modes", "Interface", "A", [](auto& c) { return c.engine.interfaceCodePage == 0; }},
      {"Interface a", "ZORBENV6.IME", "Modes", "Interface", "a", [](auto& c) { return c.engine.interfaceCodePage == 0; }},
      {"Interface u", "ZORBENV6.IME", "Modes", "Interface", "u",
       [](auto& c) { return c.engine.interfaceCodePage == 949; }},
      {"Interface ignored by the GM edition", "WARBENV6.IME", "Modes", "Interface", "U",
       [](auto& c) { return c.engine.interfaceCodePage == 0; }},
      {"Mikaku 3", "ZORBENV6.IME", "Modes", "Mikaku", "3", [](auto& c) { return c.engine.mikakuBytes == 6; }},
      {"Mikaku 3x reads its digits", "ZORBENV6.IME", "Modes", "Mikaku", "3x",
       [](auto& c) { return c.engine.mikakuBytes == 6; }},
      {"Mikaku empty gives the default", "ZORBENV6.IME", "Modes", "Mikaku", "",
       [](auto& c) { return c.engine.mikakuBytes == 2; }},
      {"Mikaku -2 has no digit", "ZORBENV6.IME", "Modes", "Mikaku", "-2",
       [](auto& c) { return c.engine.mikakuBytes == 0; }},
      {"Mikaku too large is cut", "ZORBENV6.IME", "Modes", "Mikaku", "99999999999",
       [](auto& c) { return c.engine.mikakuBytes > 0; }},
      {"Mikaku ignored by the GM edition", "WARBENV6.IME", "Modes", "Mikaku", "5",
       [](auto& c) { return c.engine.mikakuBytes == ImeSettings{}.mikakuBytes; }},
      {"Gakusyu OFF", "ZORBENV6.IME", "DicEnv", "Gakusyu", "OFF", [](auto& c) { return !c.engine.learning; }},
      {"Gakusyu ONE starts with ON", "ZORBENV6.IME", "DicEnv", "Gakusyu", "ONE",
       [](auto& c) { return c.engine.learning; }},
      {"DicPathName", "ZORBENV6.IME", "DicEnv", "DicPathName", "D:\\my.dic",
       [](auto& c) { return c.dictionaryPath == "D:\\my.dic"; }},
      {"Font Height 20", "ZORBENV6.IME", "Font", "Height", "20", [](auto& c) { return c.fontPoints == 20; }},
      {"KS_FaceName installed", "ZORBENV6.IME", "Font", "KS_FaceName", "NanumGothic",
       [](auto& c) { return c.currentFace == "NanumGothic"; }},
      {"HanglCode sj without an SJ font stays GM", "WARBENV6.IME", "Modes", "HanglCode", "sj",
       [](auto& c) { return c.engine.koreanCode == 2; }},
  };
  for (const ValueCase& vc : cases) {
    Attach a;
    a.platform.fonts.push_back(Tt(kGmFace, 128));
    a.reg.Set(kRootCurrentUser, std::string(vc.file).substr(0, 2) + "\\" + vc.subkey, vc.value, vc.text);
    EXPECT_TRUE(vc.holds(a.Run(std::string("C:\\") + vc.file))) << vc.name;
  }
}

TEST(AttachSettings, MachineValuesAreTheFallback) {
  Attach a;
  a.reg.Set(kRootLocalMachine, "ZO\\Modes", "Keyboard", "98");
  a.reg.Set(kRootLocalMachine, "ZO\\Modes", "HanglInput", "KS3");
  a.reg.Set(kRootCurrentUser, "ZO\\Modes", "HanglInput", "ROMAN");
  const ImeConfig& c = a.Run("ZORBENV6.IME");
  EXPECT_EQ(c.engine.keyboardType, 1);
  EXPECT_EQ(c.engine.inputMode, 0);  // the user's value wins
}

TEST(AttachSettings, EachEditionReadsItsOwnKey) {
  Attach a;
  a.Modes("WA", "Keyboard", "98");
  EXPECT_EQ(a.Run("ZORBENV6.IME").engine.keyboardType, 0);
}

TEST(AttachSettings, ProtectedModeSwitchesLearningOff) {
  Attach a;
  a.platform.protectedMode = true;
  const ImeConfig& c = a.Run("ZORBENV6.IME");
  EXPECT_TRUE(c.protectedMode);
  EXPECT_FALSE(c.engine.learning);
}

TEST(AttachSettings, KanjiHotKeyOnlyOnPc98) {
  Attach a;
  a.platform.hotKey19 = true;
  EXPECT_FALSE(a.Run("ZORBENV6.IME").engine.kanjiHotKey);
  Attach b;
  b.platform.hotKey19 = true;
  b.Modes("ZO", "Keyboard", "98");
  EXPECT_TRUE(b.Run("ZORBENV6.IME").engine.kanjiHotKey);
  EXPECT_EQ(b.platform.guideKeyboard, 1);
}

TEST(AttachSettings, InterfaceDefaultIsAnsiOnWindows95) {
  Attach a;
  a.facts = {false, true};
  EXPECT_EQ(a.Run("ZORBENV6.IME").engine.interfaceCodePage, 0u);
  Attach b;
  b.facts = {false, true};
  b.Modes("ZO", "Interface", "Unicode");
  EXPECT_EQ(b.Run("ZORBENV6.IME").engine.interfaceCodePage, 949u);
}

TEST(AttachSettings, StatusPositionIsReadOncePerProcess) {
  Attach a;
  a.reg.Set(kRootCurrentUser, "ZO\\WindowPos", "Xpos", "-1");
  a.reg.Set(kRootCurrentUser, "ZO\\WindowPos", "Ypos", "-1");
  a.Run("ZORBENV6.IME");
  EXPECT_EQ(a.cfg.statusX, -1);  // the default "-1" reads as not set, not as (0, 0)
  EXPECT_EQ(a.cfg.statusY, -1);
  a.cfg.statusX = a.cfg.statusY = -1;
  a.reg.Set(kRootCurrentUser, "ZO\\WindowPos", "Xpos", "300");
  a.reg.Set(kRootCurrentUser, "ZO\\WindowPos", "Ypos", "400");
  a.Run("ZORBENV6.IME");
  EXPECT_EQ(a.cfg.statusX, -1);
  EXPECT_EQ(a.cfg.statusY, -1);
}

// The position is a signed number: a toolbar left of or above the primary
// screen keeps its place; a sign alone or other text still reads as 0.
TEST(AttachSettings, StatusPositionIsSigned) {
  struct Case {
    const char* x;
    const char* y;
    int expectedX, expectedY;
  } cases[] = {
      {"-20", "-7", -20, -7}, {"300", "400", 300, 400}, {"-", "x", 0, 0}, {"+5", "12ab", 0, 12},
  };
  for (const Case& c : cases) {
    Attach a;
    a.reg.Set(kRootCurrentUser, "ZO\\WindowPos", "Xpos", c.x);
    a.reg.Set(kRootCurrentUser, "ZO\\WindowPos", "Ypos", c.y);
    a.Run("ZORBENV6.IME");
    EXPECT_EQ(a.cfg.statusX, c.expectedX) << c.x;
    EXPECT_EQ(a.cfg.statusY, c.expectedY) << c.y;
  }
}

TEST(AttachSettings, StatusPositionIsWrittenWhenTheLastAttachEnds) {
  Attach a;
  a.reg.Set(kRootCurrentUser, "ZO\\WindowPos", "Xpos", "120");
  a.reg.Set(kRootCurrentUser, "ZO\\WindowPos", "Ypos", "240");
  a.Run("ZORBENV6.IME");
  EXPECT_EQ(a.cfg.attachCount, 1);
  a.cfg.statusX = 130;
  TerminateImeConfig(a.cfg, a.platform, a.reg);
  ASSERT_EQ(a.reg.written.size(), 2u);
  EXPECT_EQ(a.reg.written[0], std::make_tuple(std::string("ZO\\WindowPos"), std::string("Xpos"), std::string("130")));
  EXPECT_EQ(a.reg.written[1], std::make_tuple(std::string("ZO\\WindowPos"), std::string("Ypos"), std::string("240")));
  const std::vector<std::string> tail(a.platform.calls.end() - 3, a.platform.calls.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"close-ui", "release", "release-dictionary"}));
}

TEST(AttachSettings, UnknownStatusPositionIsNotWritten) {
  Attach a;
  a.Run("ZORBENV6.IME");
  TerminateImeConfig(a.cfg, a.platform, a.reg);
  EXPECT_TRUE(a.reg.written.empty());
}

TEST(AttachSettings, FileNames) {
  EXPECT_EQ(OwnFileName("C:\\a\\b\\zorbenv6.ime"), "ZORBENV6.IME");
  EXPECT_EQ(OwnFileName("warbenv6.ime"), "WARBENV6.IME");
  // The trail byte 0x5C of 表 is not a folder separator; the kana stays.
  EXPECT_EQ(OwnFileName("C:\\x\\\x95\x5c" "a.ime"), "\x95\x5c" "A.IME");
  EXPECT_EQ(HelpFileName("ZORBENV6.IME"), "ZORBENV6.CHM");
  EXPECT_EQ(HelpFileName(std::string(30, 'A')), std::string(25, 'A') + "CHM");
  EXPECT_EQ(ProgramFolder("C:\\Suite\\"), "C:\\Suite\\GeulmaruV6\\");
  EXPECT_EQ(ProgramFolder("C:\\\x95\x5c"), "C:\\\x95\x5c\\GeulmaruV6\\");
}

TEST(AttachSettings, LongValuesAreCutToTheirBuffers) {
  Attach a;
  a.reg.Set(kRootCurrentUser, "ZO\\Font", "KS_FaceName", std::string(40, 'F'));
  a.platform.fonts.push_back(Tt(std::string(31, 'F'), 129));
  EXPECT_EQ(a.Run("ZORBENV6.IME").currentFace, std::string(31, 'F'));
}

// ---- the font check -----------------------------------------------------------

struct FontCase {
  const char* name;
  const char* file;
  std::vector<FontFace> fonts;
  bool nt;
  const char* hanglCode;
  int code;
  std::string face;
  bool warned;
};

TEST(FontCheck, Matrix) {
  const FontFace nanum = Tt("NanumGothic", 129), ksMincho = Tt("KS Mincho", 129);
  const FontFace gm = Tt(kGmFace, 128), gmGothic = Tt(kGmGothic, 128), sj = Tt(kSjFace, 128);
  const FontFace raster{"KS Mincho", 129, false};
  const FontCase cases[] = {
      {"KS: configured face installed", "ZORBENV6.IME", {nanum, ksMincho}, true, "", 1, "KS Mincho", false},
      {"KS: configured face missing takes the first met", "ZORBENV6.IME", {Tt(kMsMincho, 128), nanum}, true, "", 1,
       "NanumGothic", false},
      {"KS: no Korean font warns, empty face", "ZORBENV6.IME", {Tt(kMsMincho, 128)}, true, "", 1, "", true},
      {"KS: a raster font does not count", "ZORBENV6.IME", {raster}, true, "", 1, "", true},
      {"KS: GM fonts are not KS fonts", "ZORBENV6.IME", {gm}, true, "", 1, "", true},
      {"GM: GM font installed", "WARBENV6.IME", {nanum, gm}, true, "GM", 2, kGmFace, false},
      {"GM: another GM face stands in", "WARBENV6.IME", {gmGothic}, true, "GM", 2, kGmGothic, false},
      {"GM: no GM or SJ font warns", "WARBENV6.IME", {nanum, ksMincho}, true, "GM", 2, "", true},
      {"GM on NT: only SJ warns, GM code, empty face", "WARBENV6.IME", {sj}, true, "SJ", 2, "", true},
      {"GM on 9x: HanglCode SJ with SJ font", "WARBENV6.IME", {gm, sj}, false, "SJ", 0, kSjFace, false},
      {"GM on 9x: HanglCode sj is upper-cased", "WARBENV6.IME", {gm, sj}, false, "sj", 0, kSjFace, false},
      {"GM on 9x: only the SJ font gives GM95", "WARBENV6.IME", {sj}, false, "GM", 0, kSjFace, false},
      {"GM on 9x: both fonts, HanglCode GM", "WARBENV6.IME", {sj, gm}, false, "GM", 2, kGmFace, false},
      {"GM on 9x: HanglCode SJ without SJ font", "WARBENV6.IME", {gm}, false, "SJ", 2, kGmFace, false},
  };
  for (const FontCase& fc : cases) {
    Attach a;
    a.platform.fonts = fc.fonts;
    a.facts.windowsNt = fc.nt;
    if (*fc.hanglCode) a.Modes(std::string(fc.file).substr(0, 2), "HanglCode", fc.hanglCode);
    const ImeConfig& c = a.Run(fc.file);
    EXPECT_EQ(c.engine.koreanCode, fc.code) << fc.name;
    EXPECT_EQ(c.currentFace, fc.face) << fc.name;
    EXPECT_EQ(a.feedback.boxes.size(), fc.warned ? 1u : 0u) << fc.name;
    if (fc.warned && !a.feedback.boxes.empty()) {
      EXPECT_EQ(a.feedback.boxes[0], kFontWarning) << fc.name;
    }
    EXPECT_EQ(c.charset, fc.code == 1 ? 129 : 128) << fc.name;
  }
}

TEST(FontCheck, SjKindCountsAsMissingOnNt) {
  ImeConfig cfg;
  cfg.sjFace = kSjFace;
  FontCheckResult r = CheckFonts({Tt(kSjFace, 128)}, true, cfg);
  EXPECT_FALSE(r.sjInstalled);
  EXPECT_EQ(cfg.sjFace, "");
  r = CheckFonts({Tt(kSjFace, 128)}, false, cfg);
  EXPECT_TRUE(r.sjInstalled);
  EXPECT_EQ(cfg.sjFace, kSjFace);  // the first SJ face met
}

// ---- the own keyboard layout ----------------------------------------------------

TEST(OwnLayout, FirstLayoutOfThisFileUnlessAlreadyActive) {
  const std::vector<LayoutFile> layouts = {
      {0x04110411, ""}, {0xE0200411, "C:\\WINDOWS\\system32\\warbenv6.ime"}, {0xE0210411, "ZORBENV6.IME"},
      {0xE0220411, "c:\\other\\zorbenv6.ime"}};
  EXPECT_EQ(OwnLayoutToActivate("", layouts, "ZORBENV6.IME"), 2);
  EXPECT_EQ(OwnLayoutToActivate("WARBENV6.IME", layouts, "WARBENV6.IME"), -1);
  EXPECT_EQ(OwnLayoutToActivate("C:\\x\\zorbenv6.ime", layouts, "ZORBENV6.IME"), -1);
  EXPECT_EQ(OwnLayoutToActivate("", layouts, "OTHER.IME"), -1);
  std::vector<LayoutFile> many(120, LayoutFile{1, "X.IME"});
  many[110].imeFile = "ZORBENV6.IME";
  EXPECT_EQ(OwnLayoutToActivate("", many, "ZORBENV6.IME"), -1);  // past the first 100
}

}  // namespace
}  // namespace ime

// The settings sheet's pages over an in-memory registry and a recording
// platform: what each page writes and does, in its order; the font and
// colour dialogs; the COLORBUTTON records; and the values another process's
// sheet has written, taken over here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_context.h"
#include "fake_registry.h"
#include "settings_sheet.h"
#include "window_layout.h"

namespace ime {
namespace {

const std::string kGmFace = "\x82\x66\x82\x6c\x8a\xd8\x8d\x91\x96\xbe\x92\xa9";    // ＧＭ韓国明朝
const std::string kGmGothic = "\x82\x66\x82\x6c\x8a\xd8\x8d\x91\x83\x53\x83\x56";  // ＧＭ韓国ゴシ
const std::string kSjFace = "\x82\x6a\x82\x72\x8a\xd8\x8d\x91\x96\xbe\x92\xa9";    // ＫＳ韓国明朝

// One log of registry writes and platform calls, so that their order shows.
struct Recorder : test::FakeRegistry, SettingsPlatform {
  std::vector<std::string> log;
  std::vector<std::string> openable;  // dictionaries that open
  bool hotKey19 = false;

  bool Write(const std::string& path, const std::string& value, const std::string& text) override {
    log.push_back(path + "\\" + value + "=" + text);
    return FakeRegistry::Write(path, value, text);
  }
  void ActivateOwnLayout() override { log.push_back("activate"); }
  void DestroyCandidateWindow() override { log.push_back("destroy-candidate"); }
  void SetGuideLayout(int keyboard) override { log.push_back("guide-layout " + std::to_string(keyboard)); }
  bool ReloadReadingTable(int mode) override { return log.push_back("table " + std::to_string(mode)), true; }
  void RefreshGuide(bool picture) override { log.push_back(picture ? "guide new" : "guide redraw"); }
  void RefreshToolbar() override { log.push_back("toolbar"); }
  void CreateDisplayFont(const ImeConfig& cfg) override {
    log.push_back("font " + cfg.currentFace + " " + std::to_string(cfg.fontPoints));
  }
  bool OpenDictionary(const std::string& path) override {
    log.push_back("open " + path);
    for (const std::string& p : openable) {
      if (p == path) return true;
    }
    return false;
  }
  bool KanjiHotKeyIsVk19() override { return hotKey19; }

  std::vector<std::string> Writes() const {
    std::vector<std::string> out;
    for (const std::string& e : log) {
      if (e.find('=') != std::string::npos) out.push_back(e);
    }
    return out;
  }
};

// The running state of an edition as attach leaves it with default settings.
ImeConfig Config(const char* file) {
  ImeConfig cfg;
  cfg.fileName = file;
  cfg.prefix = cfg.fileName.substr(0, 2);
  cfg.engine.koreanCode = EditionKoreanCode(cfg.fileName);
  cfg.toolbar = ParseToolbar("101111111111");
  cfg.ksFace = "KS Mincho";
  cfg.gmFace = kGmFace;
  cfg.sjFace = kSjFace;
  cfg.currentFace = CurrentFaceOf(cfg);
  cfg.dictionaryPath = "C:\\dic\\GmV6KS.dic";
  return cfg;
}

TEST(ConfigureModes, PagesOfEachMode) {
  EXPECT_EQ(ConfigurePages(1), (std::vector<int>{100, 114, 102, 103}));
  EXPECT_EQ(ConfigurePages(3), (std::vector<int>{102, 103}));
  EXPECT_TRUE(ConfigurePages(2).empty());  // the word registration dialog, not the sheet
  EXPECT_TRUE(ConfigurePages(0).empty());
  EXPECT_TRUE(ConfigurePages(4).empty());
}

TEST(GeneralPage, UnchangedStillWritesSizeAndBackspaceUnit) {
  Recorder r;
  ImeConfig cfg = Config("WARBENV6.IME");
  ApplyGeneralPage(GeneralPageFor(cfg, false, ""), cfg, r, r);
  EXPECT_EQ(r.log, (std::vector<std::string>{"activate", "WA\\Modes\\InputSize=SBCS", "WA\\Modes\\JisoTaniBack=Yes",
                                             "guide redraw"}));
}

TEST(GeneralPage, UnchangedKsEditionWritesTheUnconfirmedCountAsShown) {
  Recorder r;
  ImeConfig cfg = Config("ZORBENV6.IME");
  cfg.engine.mikakuBytes = 6;
  ApplyGeneralPage(GeneralPageFor(cfg, false, ""), cfg, r, r);
  EXPECT_EQ(r.Writes(), (std::vector<std::string>{"ZO\\Modes\\InputSize=SBCS", "ZO\\Modes\\JisoTaniBack=Yes",
                                                  "ZO\\Modes\\Mikaku=3"}));
  EXPECT_EQ(cfg.engine.mikakuBytes, 6);
}

TEST(GeneralPage, TwoSetToRomanWritesRomanAndLoadsItsTable) {
  Recorder r;
  ImeConfig cfg = Config("WARBENV6.IME");
  GeneralPage page = GeneralPageFor(cfg, false, "");
  page.inputMode = 0;
  ApplyGeneralPage(page, cfg, r, r);
  EXPECT_EQ(r.log, (std::vector<std::string>{"activate", "WA\\Modes\\InputSize=SBCS", "WA\\Modes\\JisoTaniBack=Yes",
                                             "WA\\Modes\\HanglInput=ROMAN", "table 0", "guide new"}));
  EXPECT_EQ(cfg.engine.inputMode, 0);
}

TEST(GeneralPage, EveryChangeInThePagesOrder) {
  Recorder r;
  r.hotKey19 = true;
  ImeConfig cfg = Config("ZORBENV6.IME");
  GeneralPage page = GeneralPageFor(cfg, true, "");
  page.halfWidth = false;
  page.jisoTaniBack = false;
  page.indirectMode = true;
  page.mikakuText = "04";
  page.mikakuCount = 4;
  page.keyboardType = 1;
  page.inputMode = 2;
  page.interfaceAnsi = true;
  const unsigned mode = cfg.engine.conversionMode;
  ApplyGeneralPage(page, cfg, r, r);
  EXPECT_EQ(r.log, (std::vector<std::string>{
                       "activate", "ZO\\Modes\\InputSize=DBCS", "ZO\\Modes\\JisoTaniBack=No", "destroy-candidate",
                       "ZO\\Modes\\IndirectMode=Yes", "ZO\\Modes\\Mikaku=04", "ZO\\Modes\\Keyboard=98",
                       "guide-layout 1", "ZO\\Modes\\HanglInput=KS3", "table 2", "guide new", "ZO\\Modes\\Interface=A"}));
  EXPECT_FALSE(cfg.halfWidthSetting);
  EXPECT_EQ(cfg.engine.conversionMode, mode);  // the running mode stays
  EXPECT_FALSE(cfg.engine.jisoTaniBack);
  EXPECT_TRUE(cfg.engine.indirectMode);
  EXPECT_EQ(cfg.engine.mikakuBytes, 8);
  EXPECT_EQ(cfg.engine.keyboardType, 1);
  EXPECT_TRUE(cfg.engine.kanjiHotKey);  // a PC-98 keyboard with VK 0x19 as the hot key
  EXPECT_EQ(cfg.engine.inputMode, 2);
  EXPECT_EQ(cfg.engine.interfaceCodePage, 949u);  // the interface changes at the next attach
}

TEST(GeneralPage, ValuesWrittenForEachChoice) {
  struct Case {
    const char* name;
    void (*change)(GeneralPage&);
    const char* expected;
  };
  const Case cases[] = {
      {"2-set", [](GeneralPage& p) { p.inputMode = 1; }, "HanglInput=KS2"},
      {"keyboard 101", [](GeneralPage& p) { p.keyboardType = 2; }, "Keyboard=101"},
      {"keyboard 106", [](GeneralPage& p) { p.keyboardType = 0; }, "Keyboard=106"},
      {"input at the cursor", [](GeneralPage& p) { p.indirectMode = false; }, "IndirectMode=No"},
      {"Unicode interface", [](GeneralPage& p) { p.interfaceAnsi = false; }, "Interface=U"},
  };
  for (const Case& c : cases) {
    Recorder r;
    ImeConfig cfg = Config("ZORBENV6.IME");
    cfg.engine.inputMode = 0;
    cfg.engine.keyboardType = 1;
    cfg.engine.indirectMode = true;
    GeneralPage page = GeneralPageFor(cfg, true, "A");
    c.change(page);
    ApplyGeneralPage(page, cfg, r, r);
    bool found = false;
    for (const std::string& w : r.Writes()) found |= w == std::string("ZO\\Modes\\") + c.expected;
    EXPECT_TRUE(found) << c.name;
  }
}

TEST(GeneralPage, TheInterfaceFollowsItsValueAndOnlyTheKsEditionWritesIt) {
  ImeConfig ks = Config("ZORBENV6.IME"), gm = Config("WARBENV6.IME");
  EXPECT_TRUE(GeneralPageFor(ks, true, "ascii").interfaceAnsi);
  EXPECT_TRUE(GeneralPageFor(ks, true, "A").interfaceAnsi);
  EXPECT_FALSE(GeneralPageFor(ks, true, "U").interfaceAnsi);
  EXPECT_FALSE(GeneralPageFor(ks, true, "").interfaceAnsi);
  EXPECT_FALSE(GeneralPageFor(gm, true, "A").interfaceShown);
  Recorder r;
  ApplyGeneralPage(GeneralPageFor(ks, false, "A"), ks, r, r);  // not offered on this Windows
  for (const std::string& w : r.Writes()) EXPECT_EQ(w.find("Interface"), std::string::npos) << w;
}

TEST(GeneralPage, UnconfirmedCountFromTheEditBox) {
  struct Case {
    const char* typed;
    int bytes;             // the engine's count afterwards (was 2)
    const char* written;   // the Mikaku value, null when none
  };
  const Case cases[] = {
      {"3", 6, "3"}, {"03", 6, "03"}, {" 7 ", 14, " 7 "}, {"0", 2, nullptr},
      {"", 2, nullptr}, {"3x", 2, nullptr}, {"-2", 2, nullptr}, {"99999999999", 2, nullptr},
  };
  for (const Case& c : cases) {
    Recorder r;
    ImeConfig cfg = Config("ZORBENV6.IME");
    GeneralPage page = GeneralPageFor(cfg, false, "");
    page.mikakuText = c.typed;
    page.mikakuCount = EditBoxNumber(c.typed);
    ApplyGeneralPage(page, cfg, r, r);
    EXPECT_EQ(cfg.engine.mikakuBytes, c.bytes) << c.typed;
    std::string mikaku = "(none)";
    for (const std::string& w : r.Writes()) {
      if (w.rfind("ZO\\Modes\\Mikaku=", 0) == 0) mikaku = w.substr(16);
    }
    EXPECT_EQ(mikaku, c.written ? c.written : "(none)") << c.typed;
  }
  // The GM edition has no such box.
  Recorder r;
  ImeConfig gm = Config("WARBENV6.IME");
  GeneralPage page = GeneralPageFor(gm, false, "");
  page.mikakuText = "5";
  page.mikakuCount = 5;
  ApplyGeneralPage(page, gm, r, r);
  EXPECT_EQ(r.Writes().size(), 2u);
}

TEST(InterfaceChoice, OfferedOnNt4And98AndMeOnly) {
  EXPECT_TRUE(InterfaceChoiceOffered(true, false, 4, 0));    // NT 4.0
  EXPECT_FALSE(InterfaceChoiceOffered(true, false, 5, 1));   // XP
  EXPECT_FALSE(InterfaceChoiceOffered(true, false, 10, 0));  // 10
  EXPECT_FALSE(InterfaceChoiceOffered(false, true, 4, 0));   // 95
  EXPECT_TRUE(InterfaceChoiceOffered(false, true, 4, 10));   // 98
  EXPECT_TRUE(InterfaceChoiceOffered(false, true, 4, 90));   // ME
}

TEST(DisplayPage, EveryBoxUncheckedLeavesTheGripAndTheSmallButtons) {
  Recorder r;
  ImeConfig cfg = Config("ZORBENV6.IME");
  ApplyDisplayPage(DisplayPage{}, cfg, r, r);
  EXPECT_EQ(r.log, (std::vector<std::string>{"activate", "ZO\\Modes\\ToolBar=000000000000", "toolbar"}));
  EXPECT_EQ(cfg.toolbar.count, 0);
  EXPECT_EQ(StatusToolbarSize(cfg.toolbar.count), (Size{68, 29}));
  const std::vector<StatusBlit> preview = ToolbarPreviewPlan(DisplayPage{}, kConvNative);
  ASSERT_FALSE(preview.empty());
  EXPECT_EQ(preview[0].src.Width(), 68);  // the top strip spans the toolbar
}

TEST(DisplayPage, UnchangedBoxesWriteNothing) {
  Recorder r;
  ImeConfig cfg = Config("ZORBENV6.IME");
  ApplyDisplayPage(DisplayPageFor(cfg.toolbar), cfg, r, r);
  EXPECT_EQ(r.log, (std::vector<std::string>{"activate"}));
}

TEST(DisplayPage, TickedBoxesBecomeTheButtonMap) {
  Recorder r;
  ImeConfig cfg = Config("ZORBENV6.IME");
  DisplayPage page;
  page.enabled[2] = page.enabled[11] = page.enabled[12] = true;
  ApplyDisplayPage(page, cfg, r, r);
  EXPECT_EQ(r.Writes(), (std::vector<std::string>{"ZO\\Modes\\ToolBar=010000000011"}));
  ASSERT_EQ(cfg.toolbar.count, 3);
  EXPECT_EQ(cfg.toolbar.functions[0], 2);
  EXPECT_EQ(cfg.toolbar.functions[2], 12);
  EXPECT_EQ(StatusToolbarSize(3).cx, 22 * 3 + 68);
}

TEST(DisplayPage, PreviewDisablesTheSwitchOnlyWhenAllTwelveAreTicked) {
  // The switch is the 11 x 11 copy drawn at y 7 after the buttons; its row
  // 44 below the normal one is the disabled image.
  auto switchRow = [](const DisplayPage& page) {
    for (const StatusBlit& b : ToolbarPreviewPlan(page, kConvNative)) {
      if (b.src.Width() == kStatusSmall && b.dst.y == 7) return b.src.top - 7;
    }
    return -1;
  };
  DisplayPage all;
  for (int n = 1; n <= 12; ++n) all.enabled[n] = true;
  EXPECT_EQ(switchRow(all), kStatusRowDisabled);
  all.enabled[5] = false;
  EXPECT_EQ(switchRow(all), kStatusRowNormal);
}

TEST(FontDialog, KsEditionListsKoreanTrueTypeFacesButTheVerticalOnes) {
  ImeConfig cfg = Config("ZORBENV6.IME");
  cfg.ksFace = "NanumMyeongjo";
  const std::vector<FontFace> fonts = {{"NanumGothic", 129, true},   {"@NanumGothic", 129, true},
                                       {"NanumMyeongjo", 129, true}, {"Gulim", 129, false},
                                       {"IPAGothic", 128, true},     {"NanumGothic", 129, true}};
  const FontDialog d = FontDialogFor(cfg, fonts);
  EXPECT_EQ(d.faces, (std::vector<std::string>{"NanumGothic", "NanumMyeongjo"}));
  EXPECT_EQ(d.face, 1);
  EXPECT_EQ(d.size, 8);  // 16 points: entry "16"
}

TEST(FontDialog, GmEditionListsTheGmFaces) {
  ImeConfig cfg = Config("WARBENV6.IME");
  const std::vector<FontFace> fonts = {{"NanumGothic", 129, true}, {kGmGothic, 128, true}, {kSjFace, 128, true},
                                       {kGmFace, 128, true},       {kGmFace, 129, true}};
  const FontDialog d = FontDialogFor(cfg, fonts);
  EXPECT_EQ(d.faces, (std::vector<std::string>{kGmGothic, kGmFace}));
  EXPECT_EQ(d.face, 1);
}

TEST(FontDialog, SizeEntries) {
  ImeConfig cfg = Config("ZORBENV6.IME");
  for (auto [points, entry] : {std::pair{8, 0}, {24, 16}, {7, 4}, {1, 4}, {12, 4}}) {
    cfg.fontPoints = points;
    EXPECT_EQ(FontDialogFor(cfg, {}).size, entry) << points;
  }
}

TEST(FontDialog, OkWritesHeightAndTheEditionsFace) {
  Recorder r;
  ImeConfig cfg = Config("ZORBENV6.IME");
  FontDialog d;
  d.faces = {"NanumGothic", "NanumMyeongjo"};
  d.face = 0;
  d.size = 12;
  ApplyFontDialog(d, cfg, r, r);
  EXPECT_EQ(r.log, (std::vector<std::string>{"ZO\\Font\\Height=20", "ZO\\Font\\KS_FaceName=NanumGothic",
                                             "font NanumGothic 20"}));
  EXPECT_EQ(cfg.ksFace, "NanumGothic");
  EXPECT_EQ(cfg.currentFace, "NanumGothic");
}

TEST(FontDialog, NoSelectionChangesNothing) {
  Recorder r;
  ImeConfig cfg = Config("WARBENV6.IME");
  FontDialog d;  // the GM edition under Wine: no GM face installed
  d.size = -1;
  ApplyFontDialog(d, cfg, r, r);
  EXPECT_TRUE(r.log.empty());
  EXPECT_EQ(cfg.gmFace, kGmFace);
}

TEST(FontDialog, GmFaceUnderGm95KeepsTheSjFaceCurrent) {
  Recorder r;
  ImeConfig cfg = Config("WARBENV6.IME");
  cfg.engine.koreanCode = 0;
  cfg.currentFace = kSjFace;
  FontDialog d;
  d.faces = {kGmGothic};
  d.face = 0;
  d.size = 8;
  ApplyFontDialog(d, cfg, r, r);
  EXPECT_EQ(r.Writes(), (std::vector<std::string>{"WA\\Font\\Height=16", "WA\\Font\\GM_FaceName=" + kGmGothic}));
  EXPECT_EQ(cfg.gmFace, kGmGothic);
  EXPECT_EQ(cfg.currentFace, kSjFace);
}

TEST(ColourDialog, OpensOnTheInputPairWithItsButtonsPressed) {
  ColourDialog d({3, 7}, {1, 2});
  EXPECT_EQ(d.selected(), ColourDialog::kInput);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(d.TextPressed(i), i == 3) << i;
    EXPECT_EQ(d.BackgroundPressed(i), i == 7) << i;
  }
  d.Select(ColourDialog::kConversion);
  EXPECT_TRUE(d.TextPressed(1));
  EXPECT_TRUE(d.BackgroundPressed(2));
  EXPECT_FALSE(d.TextPressed(3));
}

TEST(ColourDialog, ButtonsSetTheSelectedPair) {
  ColourDialog d({6, 0}, {0, 5});
  d.Select(ColourDialog::kConversion);
  d.SetText(4);
  d.SetBackground(1);
  EXPECT_EQ(d.Pair(ColourDialog::kConversion), (ColourPair{4, 1}));
  EXPECT_EQ(d.Pair(ColourDialog::kInput), (ColourPair{6, 0}));
  EXPECT_TRUE(d.TextPressed(4));
  EXPECT_FALSE(d.TextPressed(0));
  d.SetText(8);  // no such button
  EXPECT_EQ(d.Pair(ColourDialog::kConversion).text, 4);
}

TEST(ColourDialog, DefaultThenSetWritesTheDefaultColours) {
  Recorder r;
  ImeConfig cfg = Config("ZORBENV6.IME");
  ColourDialog d({1, 2}, {3, 4});
  d.Select(ColourDialog::kConversion);
  d.Defaults();
  EXPECT_EQ(d.selected(), ColourDialog::kInput);
  d.Commit(cfg, r);
  EXPECT_EQ(r.Writes(), (std::vector<std::string>{"ZO\\Modes\\InputColor=6,0", "ZO\\Modes\\ConvColor=0,5"}));
  EXPECT_EQ(cfg.inputColour, (ColourPair{6, 0}));
  EXPECT_EQ(cfg.convColour, (ColourPair{0, 5}));
}

TEST(ColourDialog, MalformedIndexOpensAsTheBlackItShows) {
  // InputColor "x" reads as 72 and ConvColor "5," as (5, -48): both outside
  // the palette, drawn black.
  Recorder r;
  ImeConfig cfg = Config("ZORBENV6.IME");
  ColourDialog d({72, 0}, {5, -48});
  EXPECT_TRUE(d.TextPressed(0));
  d.Select(ColourDialog::kConversion);
  EXPECT_TRUE(d.BackgroundPressed(0));
  d.SetText(2);
  d.Commit(cfg, r);
  // Read back by the first-character rule, "72,0" would have become white.
  EXPECT_EQ(r.Writes(), (std::vector<std::string>{"ZO\\Modes\\InputColor=0,0", "ZO\\Modes\\ConvColor=2,0"}));
  EXPECT_EQ(ParseColour("0,0", kDefaultInputColour), (ColourPair{0, 0}));
}

TEST(ColorButton, TheThirtyThirdButtonBeepsAndHasNoRecord) {
  test::CountingFeedback feedback;
  ColorButtonTable table;
  for (uintptr_t w = 1; w <= 32; ++w) {
    ColorButtonRecord* r = table.Claim(w * 16, feedback);
    ASSERT_NE(r, nullptr) << w;
    EXPECT_EQ(r->swatch, 0x000000u);
    EXPECT_EQ(r->text, 0xFFFFFFu);
    EXPECT_FALSE(r->pressed);
  }
  EXPECT_TRUE(feedback.beeps.empty());
  EXPECT_EQ(table.Claim(33 * 16, feedback), nullptr);
  EXPECT_EQ(feedback.beeps.size(), 1u);
  EXPECT_EQ(table.Find(33 * 16), nullptr);
  // A destroyed button gives its record back.
  table.Release(5 * 16);
  EXPECT_NE(table.Claim(34 * 16, feedback), nullptr);
  EXPECT_EQ(table.InUse(), 32);
  table.Clear();
  EXPECT_EQ(table.InUse(), 0);
}

TEST(ColorButton, NoWindowFindsNoRecord) {
  // A button id that the dialog does not hold gives no window: it must not
  // reach a free record, whose window is 0 too.
  test::CountingFeedback feedback;
  ColorButtonTable table;
  table.Claim(0x40, feedback);
  EXPECT_EQ(table.Find(0), nullptr);
  EXPECT_EQ(table.Claim(0, feedback), nullptr);
  EXPECT_EQ(table.InUse(), 1);
}

TEST(ColorButton, SwatchInsetMovesWhenPressed) {
  EXPECT_EQ(ColorButtonSwatch({30, 20}, false), (Rect{4, 4, 26, 16}));
  EXPECT_EQ(ColorButtonSwatch({30, 20}, true), (Rect{5, 5, 27, 17}));
}

TEST(DictionaryPage, APathThatFailsKeepsTheOldOne) {
  Recorder r;
  ImeConfig cfg = Config("ZORBENV6.IME");
  r.openable = {cfg.dictionaryPath};
  EXPECT_FALSE(ApplyDictionaryPage("D:\\missing.dic", false, cfg, r, r));
  EXPECT_EQ(r.log, (std::vector<std::string>{"activate", "open D:\\missing.dic", "open C:\\dic\\GmV6KS.dic"}));
  EXPECT_EQ(cfg.dictionaryPath, "C:\\dic\\GmV6KS.dic");
  EXPECT_TRUE(cfg.engine.learning);  // the page stopped before learning
}

TEST(DictionaryPage, ANewPathIsOpenedAndWritten) {
  Recorder r;
  ImeConfig cfg = Config("ZORBENV6.IME");
  r.openable = {"D:\\my.dic"};
  EXPECT_TRUE(ApplyDictionaryPage("D:\\my.dic", false, cfg, r, r));
  EXPECT_EQ(r.log, (std::vector<std::string>{"activate", "open D:\\my.dic", "ZO\\DicEnv\\DicPathName=D:\\my.dic",
                                             "ZO\\DicEnv\\Gakusyu=OFF"}));
  EXPECT_EQ(cfg.dictionaryPath, "D:\\my.dic");
  EXPECT_FALSE(cfg.engine.learning);
}

TEST(DictionaryPage, TheSamePathIsNotOpenedAgain) {
  Recorder r;
  ImeConfig cfg = Config("ZORBENV6.IME");
  EXPECT_TRUE(ApplyDictionaryPage(cfg.dictionaryPath, true, cfg, r, r));
  EXPECT_EQ(r.log, (std::vector<std::string>{"activate", "ZO\\DicEnv\\Gakusyu=ON"}));
}

TEST(DictionaryPage, ProtectedModeWritesOff) {
  Recorder r;
  ImeConfig cfg = Config("ZORBENV6.IME");
  cfg.protectedMode = true;
  cfg.engine.learning = false;
  EXPECT_TRUE(ApplyDictionaryPage(cfg.dictionaryPath, false, cfg, r, r));
  EXPECT_EQ(r.Writes(), (std::vector<std::string>{"ZO\\DicEnv\\Gakusyu=OFF"}));
}

TEST(DictionaryPage, FileDialogStartsInTheFilesFolder) {
  EXPECT_EQ(DictionaryFolder("C:\\GeulmaruV6\\SYSDIC\\GmV6KS.dic"), "C:\\GeulmaruV6\\SYSDIC");
  EXPECT_EQ(DictionaryFolder("C:GmV6.dic"), "C");
  EXPECT_EQ(DictionaryFolder("GmV6.dic"), "");
  // 表 is 95 5C in code page 932: its second byte is no separator.
  EXPECT_EQ(DictionaryFolder("C:\\a\\\x95\x5C.dic"), "C:\\a");
}

// Another process's sheet has written the registry; this process takes the
// changed values over at its next key.
struct TakeOver : ::testing::Test {
  Recorder r;
  ImeConfig cfg = Config("ZORBENV6.IME");
  void SetUp() override {
    cfg.programFolder = "C:\\G\\GeulmaruV6\\";
    cfg.dictionaryPath = "C:\\G\\GeulmaruV6\\SYSDIC\\GmV6KS.dic";
    // As attach read it: nothing stored yet.
    cfg.seen = ReadSheetValues(SettingsAccess(r, cfg.prefix), true);
  }
  void Put(const char* subkey, const char* value, const std::string& text) {
    r.Set(kRootCurrentUser, std::string("ZO\\") + subkey, value, text);
  }
};

TEST_F(TakeOver, ChangedArrangementLoadsItsTableAndWritesNothing) {
  Put("Modes", "HanglInput", "ROMAN");
  TakeOverSheetValues(cfg, r, r);
  EXPECT_EQ(r.log, (std::vector<std::string>{"table 0", "guide new"}));
  EXPECT_EQ(cfg.engine.inputMode, 0);
  r.log.clear();
  TakeOverSheetValues(cfg, r, r);  // nothing new
  EXPECT_TRUE(r.log.empty());
}

TEST_F(TakeOver, SizeBackspaceColoursAndToolbar) {
  Put("Modes", "InputSize", "DBCS");
  Put("Modes", "JisoTaniBack", "No");
  Put("Modes", "InputColor", "2,7");
  Put("Modes", "ToolBar", "000000000001");
  const unsigned mode = cfg.engine.conversionMode;
  TakeOverSheetValues(cfg, r, r);
  EXPECT_FALSE(cfg.halfWidthSetting);
  EXPECT_EQ(cfg.engine.conversionMode, mode);
  EXPECT_FALSE(cfg.engine.jisoTaniBack);
  EXPECT_EQ(cfg.inputColour, (ColourPair{2, 7}));
  EXPECT_EQ(cfg.convColour, kDefaultConvColour);
  EXPECT_EQ(cfg.toolbar.count, 1);
  EXPECT_EQ(r.log, (std::vector<std::string>{"guide redraw", "toolbar"}));
}

TEST_F(TakeOver, UnchangedFacesKeepWhatTheFontCheckChose) {
  // Attach put an installed face in place of the configured "KS Mincho".
  cfg.ksFace = cfg.currentFace = "NanumGothic";
  Put("Font", "Height", "20");
  TakeOverSheetValues(cfg, r, r);
  EXPECT_EQ(cfg.currentFace, "NanumGothic");
  EXPECT_EQ(r.log, (std::vector<std::string>{"font NanumGothic 20"}));
  Put("Font", "KS_FaceName", "NanumMyeongjo");
  TakeOverSheetValues(cfg, r, r);
  EXPECT_EQ(cfg.currentFace, "NanumMyeongjo");
}

TEST_F(TakeOver, DictionaryThatFailsHereKeepsTheOldOne) {
  r.openable = {cfg.dictionaryPath};
  Put("DicEnv", "DicPathName", "D:\\other.dic");
  Put("DicEnv", "Gakusyu", "OFF");
  TakeOverSheetValues(cfg, r, r);
  EXPECT_EQ(r.log, (std::vector<std::string>{"open D:\\other.dic", "open C:\\G\\GeulmaruV6\\SYSDIC\\GmV6KS.dic"}));
  EXPECT_EQ(cfg.dictionaryPath, "C:\\G\\GeulmaruV6\\SYSDIC\\GmV6KS.dic");
  EXPECT_FALSE(cfg.engine.learning);
}

TEST_F(TakeOver, WhatThisProcessWroteItselfChangesNothingMore) {
  GeneralPage page = GeneralPageFor(cfg, false, "");
  page.inputMode = 2;
  page.keyboardType = 2;
  ApplyGeneralPage(page, cfg, r, r);
  r.log.clear();
  TakeOverSheetValues(cfg, r, r);
  EXPECT_EQ(r.log, (std::vector<std::string>{"guide redraw"}));
}

}  // namespace
}  // namespace ime

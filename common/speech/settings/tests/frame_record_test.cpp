// The frame record on an in-memory registry, under keys a program names:
// a first start, stored values, values that do not fit their buffers, a
// normal close, a minimised or maximised one, a failed write, and where a
// program's own values are written among the record's.
#include "frame_record.h"

#include <gtest/gtest.h>

#include <string>

#include "fake_settings_platform.h"
#include "shared_settings.h"

namespace settings {
namespace {

constexpr char kSuite[] = "SOFTWARE\\VALDRIMO\\GeulmaruV6\\";
constexpr FrameRecordKeys kKeys{"Program", "Program\\WindowPosFig"};
const std::string kPlacement = std::string(kSuite) + "Program\\WindowPosFig";
const std::string kProgram = std::string(kSuite) + "Program";

std::string Stored(FakeSettingsPlatform& p, const std::string& key, const char* name) {
  auto v = p.Get(RegRoot::CurrentUser, key, name);
  return v ? v->data : "(none)";
}

FrameRecord Loaded(FakeSettingsPlatform& p, int width, int height) {
  FrameRecord r;
  SetDefaultPlacement(r, width, height);
  LoadFrameRecord(p, kKeys, r);
  return r;
}

TEST(FrameRecord, AFirstStartTakesTheMiddleHalfOfTheScreenAndTheDefaultFonts) {
  struct Case {
    int width, height, x1, y1, x2, y2;
  } cases[] = {{1024, 768, 256, 192, 768, 576}, {1023, 767, 255, 191, 767, 575}, {800, 600, 200, 150, 600, 450}};
  for (const Case& c : cases) {
    FakeSettingsPlatform p;
    const FrameRecord r = Loaded(p, c.width, c.height);
    EXPECT_EQ(r.flags, 0);
    EXPECT_EQ(r.showCmd, 1);
    EXPECT_EQ(r.x1, c.x1) << c.width;
    EXPECT_EQ(r.y1, c.y1) << c.height;
    EXPECT_EQ(r.x2, c.x2) << c.width;
    EXPECT_EQ(r.y2, c.y2) << c.height;
    EXPECT_EQ(r.japaneseFace, "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e");  // ＭＳ ゴシック
    EXPECT_EQ(r.koreanFace, "KS Gothic");
    EXPECT_EQ(r.fontHeight, -21);
    EXPECT_TRUE(AppliesPlacement(r));
    EXPECT_EQ(p.ValueWrites(), 0) << "reading writes nothing";
  }
}

TEST(FrameRecord, StoredValuesAreReadFromTheProgramsKeys) {
  FakeSettingsPlatform p;
  p.Put(RegRoot::CurrentUser, kPlacement, "flags", "2");
  p.Put(RegRoot::CurrentUser, kPlacement, "showCmd", "-1");
  p.Put(RegRoot::CurrentUser, kPlacement, "x1", "-20");
  p.Put(RegRoot::CurrentUser, kPlacement, "y1", "30");
  p.Put(RegRoot::CurrentUser, kPlacement, "x2", "700");
  p.Put(RegRoot::CurrentUser, kPlacement, "y2", "500");
  p.Put(RegRoot::CurrentUser, kProgram, "JpnFontFaceName", "IPAGothic");
  p.Put(RegRoot::CurrentUser, kProgram, "KrnFontFaceName", "NanumGothic");
  p.Put(RegRoot::CurrentUser, kProgram, "FontHight", "-16");
  // The same names under another program's key are not this program's.
  p.Put(RegRoot::CurrentUser, std::string(kSuite) + "Other", "FontHight", "-40");
  const FrameRecord r = Loaded(p, 1024, 768);
  EXPECT_EQ(r.flags, 2);
  EXPECT_EQ(r.showCmd, -1);
  EXPECT_FALSE(AppliesPlacement(r));
  EXPECT_EQ(r.x1, -20);
  EXPECT_EQ(r.y1, 30);
  EXPECT_EQ(r.x2, 700);
  EXPECT_EQ(r.y2, 500);
  EXPECT_EQ(r.japaneseFace, "IPAGothic");
  EXPECT_EQ(r.koreanFace, "NanumGothic");
  EXPECT_EQ(r.fontHeight, -16);
}

TEST(FrameRecord, AValueThatDoesNotFitItsBufferTakesTheDefault) {
  FakeSettingsPlatform p;
  // Ten bytes for a number with its NUL: nine digits fit, ten do not.
  p.Put(RegRoot::CurrentUser, kPlacement, "x1", "123456789");
  p.Put(RegRoot::CurrentUser, kPlacement, "y1", "1234567890");
  // 32 bytes for a face with its NUL.
  p.Put(RegRoot::CurrentUser, kProgram, "KrnFontFaceName", std::string(32, 'F'));
  p.Put(RegRoot::CurrentUser, kProgram, "JpnFontFaceName", std::string(31, 'J'));
  p.Put(RegRoot::CurrentUser, kProgram, "FontHight", "-1234567890");
  const FrameRecord r = Loaded(p, 800, 600);
  EXPECT_EQ(r.x1, 123456789);
  EXPECT_EQ(r.y1, 150);
  EXPECT_EQ(r.koreanFace, "KS Gothic");
  EXPECT_EQ(r.japaneseFace, std::string(31, 'J'));
  EXPECT_EQ(r.fontHeight, -21);
  p.Put(RegRoot::CurrentUser, kProgram, "FontHight", "big");
  EXPECT_EQ(Loaded(p, 800, 600).fontHeight, 0) << "text that is no number reads as 0";
}

TEST(FrameRecord, ANormalCloseWritesEverythingAsDecimalTextAndReadsItBack) {
  FakeSettingsPlatform p;
  FrameRecord r;
  r.flags = 0;
  r.showCmd = 1;
  r.x1 = -10, r.y1 = 20, r.x2 = 610, r.y2 = 420;
  r.japaneseFace = "IPAGothic";
  r.koreanFace = "NanumGothic";
  r.fontHeight = -16;
  ASSERT_TRUE(SaveFrameRecord(p, kKeys, r));
  EXPECT_EQ(p.ValueWrites(), 9);
  EXPECT_EQ(Stored(p, kPlacement, "flags"), "0");
  EXPECT_EQ(Stored(p, kPlacement, "showCmd"), "1");
  EXPECT_EQ(Stored(p, kPlacement, "x1"), "-10");
  EXPECT_EQ(Stored(p, kPlacement, "y1"), "20");
  EXPECT_EQ(Stored(p, kPlacement, "x2"), "610");
  EXPECT_EQ(Stored(p, kPlacement, "y2"), "420");
  EXPECT_EQ(Stored(p, kProgram, "JpnFontFaceName"), "IPAGothic");
  EXPECT_EQ(Stored(p, kProgram, "KrnFontFaceName"), "NanumGothic");
  EXPECT_EQ(Stored(p, kProgram, "FontHight"), "-16");
  const FrameRecord back = Loaded(p, 1, 1);
  EXPECT_EQ(back.x1, -10);
  EXPECT_EQ(back.x2, 610);
  EXPECT_EQ(back.koreanFace, "NanumGothic");
  EXPECT_EQ(back.fontHeight, -16);
}

// Closing while maximised (or minimised) keeps the previous position, fonts
// and the program's own values.
TEST(FrameRecord, AMaximisedOrMinimisedCloseWritesOnlyTheFlags) {
  for (int show : {kShowMinimized, kShowMaximized}) {
    FakeSettingsPlatform p;
    p.Put(RegRoot::CurrentUser, kPlacement, "x1", "5");
    p.Put(RegRoot::CurrentUser, kProgram, "FontHight", "-21");
    FrameRecord r;
    r.flags = 2;
    r.showCmd = show;
    r.x1 = 99;
    r.fontHeight = -30;
    bool extraWritten = false;
    const FrameRecordExtras extras{[&] { return extraWritten = true; }, [&] { return extraWritten = true; }};
    ASSERT_TRUE(SaveFrameRecord(p, kKeys, r, extras));
    EXPECT_EQ(Stored(p, kPlacement, "flags"), "2");
    EXPECT_EQ(Stored(p, kPlacement, "showCmd"), "(none)");
    EXPECT_EQ(Stored(p, kPlacement, "x1"), "5");
    EXPECT_EQ(Stored(p, kProgram, "FontHight"), "-21");
    EXPECT_EQ(p.ValueWrites(), 1);
    EXPECT_FALSE(extraWritten);
  }
}

TEST(FrameRecord, AFailedWriteIsReportedAndNothingAfterItIsTried) {
  FakeSettingsPlatform p;
  p.FailWritesAfter(3);
  FrameRecord r;
  SetDefaultPlacement(r, 640, 480);
  EXPECT_FALSE(SaveFrameRecord(p, kKeys, r));
  EXPECT_EQ(Stored(p, kPlacement, "x1"), "160");
  EXPECT_EQ(Stored(p, kPlacement, "y1"), "(none)");
  EXPECT_EQ(Stored(p, kProgram, "FontHight"), "(none)");
}

// A program's values go between the rectangle and the faces, and after the
// height; a failed one stops the rest.
TEST(FrameRecord, TheProgramsValuesAreWrittenBeforeAndAfterTheFonts) {
  FakeSettingsPlatform p;
  FrameRecord r;
  SetDefaultPlacement(r, 800, 600);
  std::string order;
  const FrameRecordExtras extras{
      [&] {
        order += Stored(p, kPlacement, "y2") == "450" && Stored(p, kProgram, "JpnFontFaceName") == "(none)" ? "B" : "b";
        return WriteNumberValue(p, "Program", "Before", 7);
      },
      [&] {
        order += Stored(p, kProgram, "FontHight") == "-21" ? "A" : "a";
        return WriteNumberValue(p, "Program", "After", 8);
      }};
  ASSERT_TRUE(SaveFrameRecord(p, kKeys, r, extras));
  EXPECT_EQ(order, "BA");
  EXPECT_EQ(Stored(p, kProgram, "Before"), "7");
  EXPECT_EQ(Stored(p, kProgram, "After"), "8");

  FakeSettingsPlatform failing;
  const FrameRecordExtras failingBefore{[] { return false; }, [&] { return order += "X", true; }};
  EXPECT_FALSE(SaveFrameRecord(failing, kKeys, r, failingBefore));
  EXPECT_EQ(Stored(failing, kPlacement, "y2"), "450");
  EXPECT_EQ(Stored(failing, kProgram, "JpnFontFaceName"), "(none)");
  EXPECT_EQ(order, "BA") << "nothing after the failed value is tried";
}

TEST(FrameRecord, NumberAndTextHelpersKeepTheValueWhenMissingOrTooLong) {
  FakeSettingsPlatform p;
  int n = 42;
  ReadNumberValue(p, "Program", "N", n);
  EXPECT_EQ(n, 42);
  ASSERT_TRUE(WriteNumberValue(p, "Program", "N", -2147483647 - 1));
  EXPECT_EQ(Stored(p, kProgram, "N"), "-2147483648");
  ReadNumberValue(p, "Program", "N", n);
  EXPECT_EQ(n, 42) << "eleven characters do not fit ten bytes";
  ASSERT_TRUE(WriteNumberValue(p, "Program", "N", 123456789));
  ReadNumberValue(p, "Program", "N", n);
  EXPECT_EQ(n, 123456789);

  std::string text = "keep";
  p.Put(RegRoot::CurrentUser, kProgram, "T", "abcd");
  ReadTextValue(p, "Program", "T", 4, text);
  EXPECT_EQ(text, "keep");
  ReadTextValue(p, "Program", "T", 5, text);
  EXPECT_EQ(text, "abcd");
}

}  // namespace
}  // namespace settings

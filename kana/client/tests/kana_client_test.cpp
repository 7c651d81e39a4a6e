#include "kana_client.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "kana_fixtures.h"
#include "kana_reading.h"

namespace kana {
namespace {

using test::Ks;
using test::Sjis;

// The reading core behind the library's interface, as Omidel.dll exports it.
class CoreLibrary final : public ReadingLibrary {
 public:
  bool Available() override { return true; }
  int KnChange(int kanjiForm, const char** text, char* out, int inputIsKS, int keepFullWidth) override {
    return kana::KnChange(test::GeneratedTables(), kanjiForm, text, out, inputIsKS, keepFullWidth);
  }
};

// A library that answers as told and notes its calls.
class ScriptedLibrary final : public ReadingLibrary {
 public:
  struct Call {
    int kanjiForm, inputIsKS, keepFullWidth;
    bool hasOut;
    std::string text;
  };
  bool available = true;
  int measure = 0;
  std::string writes;  // what the writing call puts in the buffer (its NUL follows)
  int writeResult = 0;
  std::vector<Call> calls;

  bool Available() override { return available; }
  int KnChange(int kanjiForm, const char** text, char* out, int inputIsKS, int keepFullWidth) override {
    calls.push_back({kanjiForm, inputIsKS, keepFullWidth, out != nullptr, *text});
    if (out == nullptr) return measure;
    std::memcpy(out, writes.c_str(), writes.size() + 1);
    return writeResult;
  }
};

TEST(KanaClient, MeasuresThenConvertsWithTheSameArguments) {
  ScriptedLibrary lib;
  lib.measure = 4;
  lib.writes = "\x83\x4a\x83\x4b";  // カガ
  lib.writeResult = 4;
  EXPECT_EQ(ReadKana(lib, Ks("가가"), kPlayerReading), "\x83\x4a\x83\x4b");
  ASSERT_EQ(lib.calls.size(), 2u);
  for (const auto& c : lib.calls) {
    EXPECT_EQ(c.kanjiForm, 1);
    EXPECT_EQ(c.inputIsKS, 1);
    EXPECT_EQ(c.keepFullWidth, 1);
    EXPECT_EQ(c.text, Ks("가가"));
  }
  EXPECT_FALSE(lib.calls[0].hasOut);
  EXPECT_TRUE(lib.calls[1].hasOut);
}

TEST(KanaClient, TakesNoReadingThatDisagreesWithItsMeasure) {
  struct Case {
    const char* what;
    int measure;
    std::string writes;
    int writeResult;
  } const cases[] = {
      {"the writing call gives another length", 2, "abcd", 4},
      {"the text is shorter than the length given", 4, "ab", 4},
      {"nothing to read", 0, "", 0},
      {"a negative measure", -1, "", -1},
      // More than any reading of two bytes can take: the buffer is never trusted to it.
      {"a measure past the bound", 1000, "", 1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedLibrary lib;
    lib.measure = c.measure;
    lib.writes = c.writes;
    lib.writeResult = c.writeResult;
    EXPECT_EQ(ReadKana(lib, Ks("가"), kPlayerReading), "");
  }
}

TEST(KanaClient, NoLibraryOrNoTextMakesNoCall) {
  ScriptedLibrary lib;
  lib.available = false;
  EXPECT_EQ(ReadKana(lib, Ks("가"), kPlayerReading), "");
  lib.available = true;
  EXPECT_EQ(ReadKana(lib, "", kPlayerReading), "");
  EXPECT_TRUE(lib.calls.empty());
}

TEST(KanaClient, TheLibrarySeesTheTextUpToANul) {
  ScriptedLibrary lib;
  lib.measure = 0;
  ReadKana(lib, std::string_view("ab\0cd", 5), kPlayerReading);
  ASSERT_EQ(lib.calls.size(), 1u);
  EXPECT_EQ(lib.calls[0].text, "ab");
}

// The player's request on the real reading: a held final (small ッ) and
// hanja kept in their own form with kanjiForm 1.
TEST(KanaClient, ReadsThroughTheReadingCore) {
  CoreLibrary lib;
  EXPECT_EQ(ReadKana(lib, Ks("학교"), kPlayerReading), Sjis("ハッキョ"));
  EXPECT_EQ(ReadKana(lib, Ks("國"), kPlayerReading), Sjis("國"));
  EXPECT_EQ(ReadKana(lib, Ks("國"), ReadingRequest{0, 1, 1}), Sjis("国"));
}

// The bound holds for every Hangul syllable of KS X 1001 alone and between
// two others (where the sound changes give the longest readings).
TEST(KanaClient, EveryReadingFitsTheBound) {
  CoreLibrary lib;
  std::string all;
  for (int lead = 0xB0; lead <= 0xC8; ++lead) {
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      const std::string syllable{static_cast<char>(lead), static_cast<char>(trail)};
      for (const std::string& text : {syllable, "\xb0\xa2" + syllable + "\xc7\xcf", syllable + syllable}) {
        const char* p = text.c_str();
        const int n = kana::KnChange(test::GeneratedTables(), 1, &p, nullptr, 1, 1);
        ASSERT_LE(static_cast<size_t>(n), ReadingBound(text.size())) << lead << " " << trail;
      }
      all += syllable;
    }
  }
  const char* p = all.c_str();
  const int n = kana::KnChange(test::GeneratedTables(), 1, &p, nullptr, 1, 1);
  EXPECT_LE(static_cast<size_t>(n), ReadingBound(all.size()));
  EXPECT_EQ(ReadKana(lib, all, kPlayerReading).size(), static_cast<size_t>(n));
}

}  // namespace
}  // namespace kana

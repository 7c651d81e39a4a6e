#include "hangul_voice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "sound_measures.h"

namespace sonavo {
namespace {

using test::Pitch;
using test::Rms;
using test::Speak;

const std::u16string kGreeting = u"안녕하세요";

TEST(HangulVoice, SpeaksAudibleSound) {
  const auto s = Speak(kGreeting);
  ASSERT_FALSE(s.empty());
  EXPECT_GT(Rms(s), 2000.0);
  const auto [lo, hi] = std::minmax_element(s.begin(), s.end());
  EXPECT_LT(*hi, 32767);  // no clipping at the normal volume
  EXPECT_GT(*lo, -32768);
  // Five syllables at a normal rate: about a second.
  EXPECT_GT(s.size(), 16000u * 8 / 10);
  EXPECT_LT(s.size(), 16000u * 2);
}

TEST(HangulVoice, EmptyTextGivesNoBlock) {
  int blocks = 0;
  EXPECT_TRUE(Synthesize(u"", Voice{}, [&](const int16_t*, std::size_t) { return ++blocks, true; }));
  EXPECT_EQ(blocks, 0);
}

TEST(HangulVoice, LengthGrowsWithTheText) {
  const std::size_t two = Speak(u"안녕").size();
  const std::size_t five = Speak(kGreeting).size();
  const std::size_t ten = Speak(kGreeting + u" " + kGreeting).size();
  EXPECT_LT(two, five);
  EXPECT_LT(five, ten);
  EXPECT_GT(ten, 2 * five * 9 / 10);
}

TEST(HangulVoice, SpeedScalesTheLength) {
  const std::u16string text = u"이것은 한국어음성의 테스트입니다.";
  const double normal = static_cast<double>(Speak(text).size());
  for (int speed : {50, 200, 400}) {
    Voice v;
    v.speed = speed;
    const double ratio = Speak(text, v).size() / normal;
    EXPECT_NEAR(ratio, 100.0 / speed, 0.05 * 100.0 / speed) << speed;
  }
}

TEST(HangulVoice, VolumeScalesTheLoudness) {
  const double normal = Rms(Speak(kGreeting));
  for (int volume : {50, 150}) {
    Voice v;
    v.volume = volume;
    EXPECT_NEAR(Rms(Speak(kGreeting, v)) / normal, volume / 100.0, 0.02) << volume;
  }
  Voice silent;
  silent.volume = 0;
  const auto s = Speak(kGreeting, silent);
  EXPECT_FALSE(s.empty());
  EXPECT_TRUE(std::all_of(s.begin(), s.end(), [](int16_t x) { return x == 0; }));
}

TEST(HangulVoice, PitchFollowsVoiceAndAttribute) {
  Voice female;
  Voice male;
  male.number = 1;
  const double f = Pitch(Speak(u"아", female));
  const double m = Pitch(Speak(u"아", male));
  EXPECT_NEAR(m, 118, 15);
  EXPECT_NEAR(f, 215, 25);
  Voice higher = female;
  higher.pitch = 120;
  EXPECT_NEAR(Pitch(Speak(u"아", higher)) / f, 1.2, 0.06);
  Voice lower = male;
  lower.pitch = 80;
  EXPECT_NEAR(Pitch(Speak(u"아", lower)) / m, 0.8, 0.06);
}

TEST(HangulVoice, EveryJamoSounds) {
  // Each initial with ㅏ, each medial after ㅇ, each final under 가.
  std::u16string syllables;
  for (int l = 0; l < 19; ++l) syllables += static_cast<char16_t>(0xAC00 + l * 588);
  for (int v = 0; v < 21; ++v) syllables += static_cast<char16_t>(0xAC00 + 11 * 588 + v * 28);
  for (int t = 1; t < 28; ++t) syllables += static_cast<char16_t>(0xAC00 + t);
  for (char16_t c : syllables) {
    const auto s = Speak(std::u16string(1, c));
    EXPECT_GT(Rms(s), 1000.0) << std::hex << static_cast<int>(c);
  }
}

TEST(HangulVoice, BlanksArePausesAndOtherLettersSound) {
  const auto blanks = Speak(u"   ");
  EXPECT_FALSE(blanks.empty());
  EXPECT_TRUE(std::all_of(blanks.begin(), blanks.end(), [](int16_t x) { return x == 0; }));
  EXPECT_GT(Rms(Speak(u"abc 123 漢字")), 1000.0);
  // A full stop pauses longer than a blank.
  EXPECT_GT(Speak(u"가.나").size(), Speak(u"가 나").size());
}

TEST(HangulVoice, BlocksAreFullButTheLast) {
  std::vector<std::size_t> sizes;
  Synthesize(kGreeting, Voice{}, [&](const int16_t*, std::size_t n) { return sizes.push_back(n), true; });
  ASSERT_GT(sizes.size(), 2u);
  for (std::size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], kBlockSamples);
  EXPECT_GE(sizes.back(), 1u);
  EXPECT_LE(sizes.back(), kBlockSamples);
}

TEST(HangulVoice, SinkCanStopIt) {
  int blocks = 0;
  EXPECT_FALSE(Synthesize(kGreeting, Voice{}, [&](const int16_t*, std::size_t) { return ++blocks < 2; }));
  EXPECT_EQ(blocks, 2);
}

TEST(HangulVoice, SameTextSameSound) { EXPECT_EQ(Speak(kGreeting), Speak(kGreeting)); }

TEST(AttributeTags, ReadsTheTagText) {
  struct Case {
    const char* text;
    bool read;
    int pitch, speed, volume;
  };
  const Case cases[] = {
      {"\\pit=110\\\\spd=120\\\\vol=90\\", true, 110, 120, 90},
      {"\\vol=50\\", true, 100, 100, 50},
      {"\\spd=1000\\\\pit=10\\\\vol=-3\\", true, 50, 400, 0},  // clamped
      {"\\pit=abc\\\\spd=\\\\xyz=3\\", false, 100, 100, 100},
      {"\\pit=12x\\", false, 100, 100, 100},
      {"", false, 100, 100, 100},
      {"pit=80", true, 80, 100, 100},
  };
  for (const Case& c : cases) {
    Voice v;
    EXPECT_EQ(ApplyAttributeTags(c.text, v), c.read) << c.text;
    EXPECT_EQ(v.pitch, c.pitch) << c.text;
    EXPECT_EQ(v.speed, c.speed) << c.text;
    EXPECT_EQ(v.volume, c.volume) << c.text;
  }
  Voice v;
  EXPECT_FALSE(ApplyAttributeTags(nullptr, v));
}

TEST(AttributeTags, KnownVoices) {
  EXPECT_FALSE(IsKnownVoice(0));
  EXPECT_TRUE(IsKnownVoice(1));
  EXPECT_TRUE(IsKnownVoice(6));
  EXPECT_TRUE(IsKnownVoice(10));
  EXPECT_FALSE(IsKnownVoice(11));
}

}  // namespace
}  // namespace sonavo

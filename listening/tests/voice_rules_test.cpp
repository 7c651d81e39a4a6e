// The voice dialog's ranges: the values as it opens, the edits' texts when
// they lose the focus, and the pitch on a change of speaker.
#include <gtest/gtest.h>

#include "voice_rules.h"

namespace ferlin {
namespace {

TEST(VoiceRules, OutOfRangeValuesOpenAsTheirDefaults) {
  const VoiceChoice v = OpenedVoiceChoice({1, 49, 201, 121, 0});
  EXPECT_EQ(v.speaker, 1);
  EXPECT_EQ(v.volume, 100);
  EXPECT_EQ(v.speed, 100);
  EXPECT_EQ(v.pitch, 100);
  EXPECT_EQ(v.repeat, 1);
  const VoiceChoice edges = OpenedVoiceChoice({0, 50, 200, 80, 11});
  EXPECT_EQ(edges.volume, 50);
  EXPECT_EQ(edges.speed, 200);
  EXPECT_EQ(edges.pitch, 80);
  EXPECT_EQ(edges.repeat, 10);
}

TEST(VoiceRules, AnEditOutsideItsRangeReturnsToTheSlider) {
  struct Case {
    const char* text;
    VoiceRange range;
    int slider;
    int value;
    std::string message;
  } cases[] = {
      {"120", kVolumeRange, 100, 120, ""},
      {"151", kVolumeRange, 100, 100, "50-150の範囲で値を設定してください。"},
      {"49", kVolumeRange, 70, 70, "50-150の範囲で値を設定してください。"},
      {"200", kSpeedRange, 100, 200, ""},
      {"abc", kSpeedRange, 90, 90, "50-200の範囲で値を設定してください。"},
      {"80", kPitchRange, 100, 80, ""},
      {"79", kPitchRange, 100, 100, "80-120の範囲で値を設定してください。"},
  };
  for (const Case& c : cases) {
    const EditOutcome o = CommitVoiceEdit(c.text, c.range, c.slider);
    EXPECT_EQ(o.value, c.value) << c.text;
    EXPECT_EQ(o.message, c.message) << c.text;
  }
}

TEST(VoiceRules, TheRepeatCountIsHeldToOneToTen) {
  struct Case {
    const char* text;
    int value;
    bool message;
  } cases[] = {{"3", 3, false}, {"10", 10, false}, {"0", 1, true}, {"-4", 1, true}, {"11", 10, true}, {"", 1, true}};
  for (const Case& c : cases) {
    const EditOutcome o = CommitRepeatEdit(c.text);
    EXPECT_EQ(o.value, c.value) << c.text;
    EXPECT_EQ(o.message.empty(), !c.message) << c.text;
    if (c.message) EXPECT_EQ(o.message, "1-10の範囲で値を設定してください。");
  }
}

TEST(VoiceRules, ASpeakerChangeKeepsAPitchInsideTheRange) {
  EXPECT_EQ(PitchForSpeaker(90, 1), 90);
  EXPECT_EQ(PitchForSpeaker(130, 0), 100);
}

}  // namespace
}  // namespace ferlin

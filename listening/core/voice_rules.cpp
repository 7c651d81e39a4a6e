#include "voice_rules.h"

#include <cstdio>

#include "shared_settings.h"

namespace ferlin {
namespace {

bool Inside(int v, const VoiceRange& r) { return v >= r.min && v <= r.max; }
int Within(int v, const VoiceRange& r) { return Inside(v, r) ? v : r.fallback; }

std::string RangeMessage(const VoiceRange& r) {
  char text[96];
  std::snprintf(text, sizeof text, "%d-%dの範囲で値を設定してください。", r.min, r.max);
  return text;
}

}  // namespace

VoiceChoice OpenedVoiceChoice(VoiceChoice v) {
  v.speaker = v.speaker == 1 ? 1 : 0;
  v.volume = Within(v.volume, kVolumeRange);
  v.speed = Within(v.speed, kSpeedRange);
  v.pitch = Within(v.pitch, PitchRange(v.speaker));
  if (v.repeat < kRepeatRange.min) v.repeat = kRepeatRange.min;
  if (v.repeat > kRepeatRange.max) v.repeat = kRepeatRange.max;
  return v;
}

EditOutcome CommitVoiceEdit(const std::string& text, const VoiceRange& range, int sliderPosition) {
  const int value = settings::ParseDecimal(text.c_str());
  if (Inside(value, range)) return {value, {}};
  return {sliderPosition, RangeMessage(range)};
}

EditOutcome CommitRepeatEdit(const std::string& text) {
  const int value = settings::ParseDecimal(text.c_str());
  if (Inside(value, kRepeatRange)) return {value, {}};
  return {value < kRepeatRange.min ? kRepeatRange.min : kRepeatRange.max, RangeMessage(kRepeatRange)};
}

int PitchForSpeaker(int pitch, int speaker) {
  const VoiceRange r = PitchRange(speaker);
  return Inside(pitch, r) ? pitch : r.fallback;
}

}  // namespace ferlin

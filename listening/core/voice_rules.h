// The rules of the voice settings dialog: the ranges and defaults of
// volume, speed, pitch and repeat count, what an edit's text becomes when it
// loses the focus, and the pitch kept when the speaker changes.
#pragma once
#include <string>

namespace ferlin {

struct VoiceRange {
  int min, max, fallback;
};
inline constexpr VoiceRange kVolumeRange{50, 150, 100};
inline constexpr VoiceRange kSpeedRange{50, 200, 100};
inline constexpr VoiceRange kPitchRange{80, 120, 100};  // both speakers
inline constexpr VoiceRange kRepeatRange{1, 10, 1};

// The speaker's pitch range (0 female, 1 male: the same range).
constexpr VoiceRange PitchRange(int /*speaker*/) { return kPitchRange; }

struct VoiceChoice {
  int speaker = 0;
  int volume = 100, speed = 100, pitch = 100;
  int repeat = 1;
};

// The values as the dialog opens: each outside its range becomes its
// default (the repeat count held to 1-10).
VoiceChoice OpenedVoiceChoice(VoiceChoice v);

// What an edit of volume, speed or pitch gives when it loses the focus: its
// text as atoi reads it when inside the range, else the slider's position
// and the message "%d-%dの範囲で値を設定してください。" (UTF-8).
struct EditOutcome {
  int value;
  std::string message;  // empty: accepted
};
EditOutcome CommitVoiceEdit(const std::string& text, const VoiceRange& range, int sliderPosition);
// The repeat count's edit: outside 1-10 the message "1-10の範囲で値を設定して
// ください。" and 1 (for 0 or less) or 10 (above 10).
EditOutcome CommitRepeatEdit(const std::string& text);

// The speaker changed: a pitch outside the new speaker's range becomes its
// default.
int PitchForSpeaker(int pitch, int speaker);

}  // namespace ferlin

// A small formant synthesiser for Korean: each Hangul syllable becomes its
// initial consonant (a burst, a hiss, a murmur), a voiced vowel with three
// formants and its final consonant; blanks and punctuation become pauses.
// Output: 16-bit mono PCM at 16000 Hz, handed over block by block.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace sonavo {

constexpr int kSampleRate = 16000;
constexpr std::size_t kBlockSamples = 1600;  // 100 ms a block

// Voice numbers 1-5 are male voices, 6-10 female ones.
bool IsKnownVoice(int number);

struct Voice {
  int number = 6;
  int pitch = 100;   // percent of the voice's own pitch, 50-200
  int speed = 100;   // percent of the normal rate, 25-400
  int volume = 100;  // percent of the normal loudness, 0-200
};

// Reads attribute tags "\pit=N\", "\spd=N\" and "\vol=N\" (any number of
// backslashes between them) into the voice, clamping each value to its range.
// Returns whether at least one tag was read; unknown or malformed tags are
// left alone.
bool ApplyAttributeTags(const char* text, Voice& voice);

// Receives the samples block by block; returns false to stop the synthesis.
using SampleSink = std::function<bool(const int16_t* samples, std::size_t count)>;

// Speaks the UTF-16 text; returns false when the sink stopped it.  Text with
// nothing to say (empty) gives no block at all.
bool Synthesize(std::u16string_view text, const Voice& voice, const SampleSink& sink);

}  // namespace sonavo

// The speech engine wrapper: loads the engine, speaks one Korean text into a
// WAV file and measures the file.  Every speaking program drives its engine
// through one of these; the programs differ only in the variant.
#pragma once
#include <cstdint>
#include <string>

#include "speech_engine.h"
#include "wave_file.h"

namespace speech {

// What differs between the speaking programs.
struct SpeechVariant {
  bool changesSpeaker;  // voice set again before each utterance, or only at thread creation
  DurationRule duration;
};
// Listening program, text player and dictionary program.
inline constexpr SpeechVariant kListeningSpeech{true, DurationRule::kFloatingPoint};
// Translation workbench.
inline constexpr SpeechVariant kWorkbenchSpeech{false, DurationRule::kWholeNumber};

// Results of SpeakToWaveFile.
enum SpeakResult : int {
  kSpeakOk = 0,
  kSpeakNoFile = 1,       // the WAV file cannot be created
  kSpeakFailed = 2,       // synthesis failed; the file is removed
  kSpeakNoThread = 3,     // the engine gave no synthesis thread; the 44-byte placeholder stays
};

// The attribute tag text that carries pitch, speed and volume to the engine.
std::string FormatVoiceAttributes(int pitch, int speed, int volume);

// Engine voice number for the caller's speaker flag: 1 (male) or 6.
inline int VoiceForSpeaker(int male) { return male != 0 ? kVoiceMale : kVoiceFemale; }

// The chunk callback given to the engine: appends the chunk to `file` (a
// FILE*) and counts its bytes for the synthesis under way.
int SNVO_API SpeechDataCallback(void* file, SpeechChunk* chunk);

class SpeechEngineWrapper {
 public:
  explicit SpeechEngineWrapper(SpeechEngine& engine, SpeechVariant variant = kListeningSpeech)
      : engine_(engine), variant_(variant) {}

  // 0 = loaded.  The rate is not used (callers pass 16000).
  int LoadSpeechEngine(const char* dataFolder, int rate, int flag);
  void UnloadSpeechEngine();

  SnvoThread CreateSpeechThread(void* file, SpeechDataCallbackFn callback, int voice);
  void DeleteSpeechThread(SnvoThread thread);
  // Speaker change, then the attribute text; both results ignored.
  void SetTtsVoice(SnvoThread thread, const char* attributes, int voice);
  int SpeakText(SnvoThread thread, const char* text);

  // text: KS code bytes, NUL-terminated.  Returns a SpeakResult.
  int SpeakToWaveFile(const char* text, const char* wavPath, int male, int volume, int speed, int pitch);
  // Playing time of the WAV file in milliseconds by this variant's rule.
  int32_t GetWaveDurationMs(const char* wavPath) const;

 private:
  SpeechEngine& engine_;
  SpeechVariant variant_;
};

}  // namespace speech

// Read-aloud with repetition: a Korean text is spoken into the WAV file
// through the speech engine wrapper, the file is played asynchronously and
// played again by a window timer, each start the file's length plus a pause
// after the previous one, until the repeat count is reached; a stop cuts it
// short. The programs that repeat (the text player, the listening program's
// frame and its voice dialog's test button) run this one machine with their
// parameter set; sound, file attributes and the timer stay behind small
// interfaces, so that the machine runs under a fake clock in tests.
//
// Every way a read-aloud ends, a failure included, leaves the machine idle
// and tells the owner once (EndHandler), after the machine's own state is
// settled: the owner may start the next read-aloud from inside the handler.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "speech_wrapper.h"

namespace speech {

// What differs between the programs that repeat.
struct RepeatVariant {
  int pauseMs;   // between the end of one play and the start of the next
  bool endTick;  // a last tick, the file's length after the last start, ends the read-aloud;
                 // without it the read-aloud ends when the last play starts
};
// The text player and the listening program's voice test: the end comes when
// the last play is over.
inline constexpr RepeatVariant kPlayerRepeat{700, true};
inline constexpr RepeatVariant kVoiceTestRepeat{700, true};
// The listening program's frame: nothing follows the last start.
inline constexpr RepeatVariant kListeningRepeat{700, false};

// PlaySoundA and the WAV file's attributes (the system's in the programs).
class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  // PlaySound(path, SND_FILENAME | SND_ASYNC); false when the system refused.
  virtual bool PlayAsync(const std::string& path) = 0;
  // PlaySound with no sound: whatever plays stops.
  virtual void StopAll() = 0;
  virtual void HideFile(const std::string& path) = 0;
  // Not "DeleteFile": windows.h makes that name a macro.
  virtual void RemoveFile(const std::string& path) = 0;
};

// The owner's window timer (timer 1): Set replaces a running one.
class RepeatTimer {
 public:
  virtual ~RepeatTimer() = default;
  virtual bool Set(int milliseconds) = 0;
  virtual void Kill() = 0;
};

// The voice of an utterance, as the voice settings hold it.
struct VoiceValues {
  int speaker = 0;  // 0 female, otherwise male
  int volume = 100;
  int rate = 100;
  int pitch = 100;
};

enum class RepeatEnd {
  kFinished,         // the repetitions are done
  kStopped,          // Stop while a read-aloud was on
  kSynthesisFailed,  // SpeakToWaveFile gave 1-3 (LastSpeakResult)
  kNothingToPlay,    // the WAV file measured 0 ms or less
  kNoTimer,          // the timer could not be set: the play that started is the last
};

class RepeatPlayback {
 public:
  using EndHandler = std::function<void(RepeatEnd)>;

  RepeatPlayback(const RepeatVariant& variant, SpeechEngineWrapper& wrapper, SoundOutput& sound, RepeatTimer& timer)
      : variant_(variant), wrapper_(wrapper), sound_(sound), timer_(timer) {}
  RepeatPlayback(const RepeatPlayback&) = delete;
  RepeatPlayback& operator=(const RepeatPlayback&) = delete;

  void SetEndHandler(EndHandler handler) { onEnd_ = std::move(handler); }

  // Speaks ksText (KS code, NUL-terminated) into wavPath and plays it
  // repeatCount times (a count below 1 plays once). A read-aloud already on
  // is replaced without telling the owner: its timer and sound stop first.
  // Returns the result of SpeakToWaveFile; on every failure the read-aloud
  // has ended before the return (the handler has heard why).
  int Start(const char* ksText, const std::string& wavPath, const VoiceValues& voice, int repeatCount);
  // The owner's timer fired.
  void OnTimer();
  // Kills the timer; stops the sound and deletes the WAV file when a play was
  // started. The handler hears kStopped when a read-aloud was on.
  void Stop();

  // Between Start and the end.
  bool Active() const { return active_; }
  bool TimerSet() const { return timerSet_; }
  // A play was started and not yet stopped or known to be over.
  bool SoundStarted() const { return soundStarted_; }
  int Remaining() const { return remaining_; }
  int IntervalMs() const { return intervalMs_; }
  int32_t DurationMs() const { return durationMs_; }
  int LastSpeakResult() const { return lastSpeakResult_; }
  const std::string& WavPath() const { return wavPath_; }

 private:
  // The machine idle, then the owner told (nothing of this object is
  // touched after the handler returns).
  void End(RepeatEnd why);
  // The timer for the next tick; false (and the read-aloud ended) when it
  // cannot be set.
  bool ArmTimer(int milliseconds);

  RepeatVariant variant_;
  SpeechEngineWrapper& wrapper_;
  SoundOutput& sound_;
  RepeatTimer& timer_;
  EndHandler onEnd_;

  bool active_ = false;
  bool timerSet_ = false;
  bool soundStarted_ = false;
  int remaining_ = 0;
  int intervalMs_ = 0;
  int32_t durationMs_ = 0;
  int lastSpeakResult_ = kSpeakOk;
  std::string wavPath_;
};

}  // namespace speech

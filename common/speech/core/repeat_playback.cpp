#include "repeat_playback.h"

#include <algorithm>
#include <limits>

namespace speech {
namespace {

// The length and the pause, held to the int range.
int WithPause(int32_t duration, int pause) {
  const int64_t sum = static_cast<int64_t>(duration) + pause;
  return static_cast<int>(std::min<int64_t>(sum, std::numeric_limits<int>::max()));
}

}  // namespace

int RepeatPlayback::Start(const char* ksText, const std::string& wavPath, const VoiceValues& voice,
                          int repeatCount) {
  // A read-aloud already on gives way to this one; its file is about to be
  // written again, so its sound must let go of it first.
  if (timerSet_) timer_.Kill();
  timerSet_ = false;
  if (soundStarted_) sound_.StopAll();
  soundStarted_ = false;

  active_ = true;
  wavPath_ = wavPath;
  remaining_ = 0;
  intervalMs_ = 0;
  durationMs_ = 0;
  lastSpeakResult_ =
      wrapper_.SpeakToWaveFile(ksText, wavPath.c_str(), voice.speaker, voice.volume, voice.rate, voice.pitch);
  if (lastSpeakResult_ != kSpeakOk) {
    End(RepeatEnd::kSynthesisFailed);
    return lastSpeakResult_;
  }
  sound_.HideFile(wavPath_);
  durationMs_ = wrapper_.GetWaveDurationMs(wavPath_.c_str());
  if (durationMs_ <= 0) {
    sound_.RemoveFile(wavPath_);
    End(RepeatEnd::kNothingToPlay);
    return kSpeakOk;
  }
  remaining_ = std::max(repeatCount, 1) - 1;
  intervalMs_ = remaining_ > 0 ? WithPause(durationMs_, variant_.pauseMs) : durationMs_;
  sound_.PlayAsync(wavPath_);
  soundStarted_ = true;
  if (remaining_ > 0 || variant_.endTick) {
    ArmTimer(intervalMs_);
  } else {
    End(RepeatEnd::kFinished);
  }
  return kSpeakOk;
}

void RepeatPlayback::OnTimer() {
  if (timerSet_) timer_.Kill();
  timerSet_ = false;
  if (!active_) return;
  if (remaining_ > 0) {
    sound_.PlayAsync(wavPath_);
    soundStarted_ = true;
    --remaining_;
    if (remaining_ == 0) {
      // The last play: what follows it is its own length (or nothing).
      intervalMs_ = durationMs_;
      if (!variant_.endTick) {
        End(RepeatEnd::kFinished);
        return;
      }
    }
    ArmTimer(intervalMs_);
    return;
  }
  // The last play is over.
  sound_.RemoveFile(wavPath_);
  soundStarted_ = false;
  End(RepeatEnd::kFinished);
}

void RepeatPlayback::Stop() {
  if (timerSet_) timer_.Kill();
  timerSet_ = false;
  if (soundStarted_) {
    sound_.StopAll();
    sound_.RemoveFile(wavPath_);
    soundStarted_ = false;
  }
  if (active_) End(RepeatEnd::kStopped);
}

bool RepeatPlayback::ArmTimer(int milliseconds) {
  timerSet_ = timer_.Set(milliseconds);
  if (!timerSet_) End(RepeatEnd::kNoTimer);
  return timerSet_;
}

void RepeatPlayback::End(RepeatEnd why) {
  active_ = false;
  remaining_ = 0;
  if (onEnd_) {
    // A copy: the handler may set another one.
    const EndHandler handler = onEnd_;
    handler(why);
  }
}

}  // namespace speech

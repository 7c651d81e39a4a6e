// The text player's read-aloud: the speaking state of its frame over the
// repeating playback, the kana reading shown beside it, the speech engine
// loaded once and let go once, the WAV file's place, and the "STOP" notice
// to the speech service's client whenever a read-aloud that began has ended
// (its repetitions done, stopped, or failed). The frame's windows, the sound
// and the timer stay behind interfaces.
#pragma once
#include <string>
#include <string_view>

#include "kana_client.h"
#include "repeat_playback.h"
#include "settings_platform.h"
#include "speech_wrapper.h"

namespace tessaly {

// What the read-aloud changes on the frame.
class ReadAloudUi {
 public:
  virtual ~ReadAloudUi() = default;
  // The tool-bar button: "中止" (32773, image 1) while speaking, else "読み上げ" (32772, image 0).
  virtual void ShowSpeaking(bool speaking) = 0;
  // The kana pane shows the reading (Shift-JIS) in its font.
  virtual void ShowKana(const std::string& reading) = 0;
  virtual void BeginWait() = 0;
  virtual void EndWait() = 0;
  // "韓国語音声合成に失敗しました".
  virtual void ShowSynthesisFailed() = 0;
  // The "STOP" notice to the requester window (none: nothing is sent).
  virtual void SendStopNotice() = 0;
};

class PlayerReadAloud {
 public:
  struct Services {
    speech::SpeechEngineWrapper& wrapper;
    speech::SoundOutput& sound;
    speech::RepeatTimer& timer;
    kana::ReadingLibrary& kana;
    settings::SettingsPlatform& settings;
    ReadAloudUi& ui;
    std::string tempFolder;  // where the WAV file goes when the install folder cannot take it
  };
  explicit PlayerReadAloud(const Services& services);
  ~PlayerReadAloud();
  PlayerReadAloud(const PlayerReadAloud&) = delete;
  PlayerReadAloud& operator=(const PlayerReadAloud&) = delete;

  enum class EngineLoad { kNoDataFolder, kLoaded, kFailed };
  // The engine loaded with the data folder ("DicPath"); an empty folder
  // loads nothing. kFailed: the caller shows "TTS DB Loading Error!".
  EngineLoad LoadEngine(const std::string& dataFolder);
  // The engine let go, once, whatever asks for it (a failed synthesis, the
  // frame's end).
  void UnloadEngine();
  bool EngineLoaded() const { return engineLoaded_; }

  // Reads text (KS code) aloud: the kana reading shown, the text spoken into
  // the WAV file and played "VoiceRepeatNum" times. An empty text does
  // nothing; a read-aloud already on is stopped first (its notice sent).
  void OnSpeak(std::string_view text);
  // The frame's timer 1.
  void OnTimer();
  // Stops a read-aloud; the notice goes when one was on.
  void StopSpeaking();

  bool Speaking() const { return speaking_; }
  // The WAV file of the last read-aloud (empty before the first).
  const std::string& WavPath() const { return playback_.WavPath(); }
  const speech::RepeatPlayback& Playback() const { return playback_; }

 private:
  void Ended(speech::RepeatEnd why);

  Services s_;
  speech::RepeatPlayback playback_;
  bool engineLoaded_ = false;
  bool speaking_ = false;
  // While a WAV file that cannot be created is tried in a further place.
  bool placesLeft_ = false;
};

}  // namespace tessaly

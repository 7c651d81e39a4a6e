#include "read_aloud.h"

#include <algorithm>
#include <vector>

#include "player_settings.h"
#include "shared_settings.h"

namespace tessaly {

PlayerReadAloud::PlayerReadAloud(const Services& services)
    : s_(services), playback_(speech::kPlayerRepeat, s_.wrapper, s_.sound, s_.timer) {
  playback_.SetEndHandler([this](speech::RepeatEnd why) { Ended(why); });
}

PlayerReadAloud::~PlayerReadAloud() { playback_.SetEndHandler(nullptr); }

PlayerReadAloud::EngineLoad PlayerReadAloud::LoadEngine(const std::string& dataFolder) {
  if (dataFolder.empty()) return EngineLoad::kNoDataFolder;
  if (engineLoaded_) return EngineLoad::kLoaded;
  engineLoaded_ = s_.wrapper.LoadSpeechEngine(dataFolder.c_str(), speech::kEngineSampleRate, 0) == 0;
  return engineLoaded_ ? EngineLoad::kLoaded : EngineLoad::kFailed;
}

void PlayerReadAloud::UnloadEngine() {
  if (!engineLoaded_) return;
  engineLoaded_ = false;
  s_.wrapper.UnloadSpeechEngine();
}

void PlayerReadAloud::OnSpeak(std::string_view text) {
  if (text.empty()) return;
  if (speaking_) StopSpeaking();
  speaking_ = true;
  s_.ui.ShowSpeaking(true);
  // The engine and the library read up to a NUL: a copy that ends there.
  const std::string ks(text.substr(0, std::min(text.find('\0'), text.size())));
  s_.ui.ShowKana(kana::ReadKana(s_.kana, ks, kana::kPlayerReading));

  s_.ui.BeginWait();
  int speaker = 0, volume = 100, rate = 100, pitch = 100, repeat = 1;
  settings::player::LoadVoiceSettings(s_.settings, &speaker, &volume, &rate, &pitch, &repeat);
  const speech::VoiceValues voice{speaker, volume, rate, pitch};
  const std::vector<std::string> places = WavPathCandidates(ReadInstallDirectory(s_.settings), s_.tempFolder);
  int result = speech::kSpeakNoFile;
  for (size_t i = 0; i < places.size(); ++i) {
    placesLeft_ = i + 1 < places.size();
    result = playback_.Start(ks.c_str(), places[i], voice, repeat);
    if (result != speech::kSpeakNoFile) break;
  }
  placesLeft_ = false;
  if (places.empty()) Ended(speech::RepeatEnd::kSynthesisFailed);
  s_.ui.EndWait();
  if (result != speech::kSpeakOk) {
    // A failed synthesis lets the engine go (once): later read-alouds fail
    // the same way until the program starts again.
    UnloadEngine();
    if (result == speech::kSpeakNoThread) s_.ui.ShowSynthesisFailed();
  }
}

void PlayerReadAloud::OnTimer() { playback_.OnTimer(); }

void PlayerReadAloud::StopSpeaking() {
  playback_.Stop();
  if (speaking_) Ended(speech::RepeatEnd::kStopped);
}

void PlayerReadAloud::Ended(speech::RepeatEnd why) {
  if (why == speech::RepeatEnd::kSynthesisFailed && placesLeft_ &&
      playback_.LastSpeakResult() == speech::kSpeakNoFile) {
    return;  // the next place is tried
  }
  if (!speaking_) return;
  speaking_ = false;
  s_.ui.ShowSpeaking(false);
  s_.ui.SendStopNotice();
}

}  // namespace tessaly

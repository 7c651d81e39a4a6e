#include "speech_wrapper.h"

#include <cstdio>

namespace speech {
namespace {

// The synthesis under way (one at a time per process).  Touched by the
// callback on the engine's thread while the speaking call waits for the
// engine, and by that call before and after.
struct Recording {
  uint64_t bytes = 0;
  bool failed = false;  // a chunk could not be written in full
};
Recording g_recording;

}  // namespace

std::string FormatVoiceAttributes(int pitch, int speed, int volume) {
  char text[64];
  std::snprintf(text, sizeof text, "\\pit=%d\\\\spd=%d\\\\vol=%d\\", pitch, speed, volume);
  return text;
}

int SNVO_API SpeechDataCallback(void* file, SpeechChunk* chunk) {
  if (chunk == nullptr || chunk->byteCount <= 0) return 0;
  if (chunk->bytes == nullptr || file == nullptr) {
    g_recording.failed = true;
    return 0;
  }
  const std::size_t count = static_cast<std::size_t>(chunk->byteCount);
  const std::size_t written = std::fwrite(chunk->bytes, 1, count, static_cast<std::FILE*>(file));
  g_recording.bytes += written;
  if (written != count) g_recording.failed = true;
  return 0;
}

int SpeechEngineWrapper::LoadSpeechEngine(const char* dataFolder, int /*rate*/, int flag) {
  return engine_.LoadEngine(dataFolder, flag);
}

void SpeechEngineWrapper::UnloadSpeechEngine() { engine_.UnLoadEngine(); }

SnvoThread SpeechEngineWrapper::CreateSpeechThread(void* file, SpeechDataCallbackFn callback, int voice) {
  return engine_.CreateThread(file, callback, voice);
}

void SpeechEngineWrapper::DeleteSpeechThread(SnvoThread thread) { engine_.DeleteThread(thread); }

void SpeechEngineWrapper::SetTtsVoice(SnvoThread thread, const char* attributes, int voice) {
  engine_.ChangeSpeaker(thread, voice);
  engine_.ChangeAttr(thread, attributes);
}

int SpeechEngineWrapper::SpeakText(SnvoThread thread, const char* text) {
  return engine_.TextToSpeech(thread, text, 1);
}

int SpeechEngineWrapper::SpeakToWaveFile(const char* text, const char* wavPath, int male, int volume, int speed,
                                         int pitch) {
  if (wavPath == nullptr) return kSpeakNoFile;
  std::remove(wavPath);
  std::FILE* file = std::fopen(wavPath, "wb");
  if (file == nullptr) return kSpeakNoFile;
  const unsigned char placeholder[kWaveHeaderSize] = {};
  if (std::fwrite(placeholder, 1, sizeof placeholder, file) != sizeof placeholder) {
    std::fclose(file);
    std::remove(wavPath);
    return kSpeakNoFile;
  }
  g_recording = Recording{};

  const int voice = VoiceForSpeaker(male);
  SnvoThread thread = CreateSpeechThread(file, SpeechDataCallback, voice);
  if (thread == nullptr) {
    std::fclose(file);
    return kSpeakNoThread;
  }
  const std::string attributes = FormatVoiceAttributes(pitch, speed, volume);
  if (variant_.changesSpeaker) {
    SetTtsVoice(thread, attributes.c_str(), voice);
  } else {
    engine_.ChangeAttr(thread, attributes.c_str());
  }
  const int spoken = SpeakText(thread, text);
  DeleteSpeechThread(thread);

  const Recording done = g_recording;
  bool ok = spoken != 0 && !done.failed && done.bytes <= kMaxWaveDataSize;
  if (ok) {
    // The samples end the file, so going back to them is going to its end.
    ok = std::fseek(file, 0, SEEK_SET) == 0 &&
         WriteWaveHeader(file, static_cast<uint32_t>(done.bytes), kEngineSampleRate, 1) &&
         std::fseek(file, 0, SEEK_END) == 0;
  }
  if (std::fclose(file) != 0) ok = false;
  if (!ok) {
    std::remove(wavPath);
    return kSpeakFailed;
  }
  return kSpeakOk;
}

int32_t SpeechEngineWrapper::GetWaveDurationMs(const char* wavPath) const {
  return speech::GetWaveDurationMs(wavPath, variant_.duration);
}

}  // namespace speech

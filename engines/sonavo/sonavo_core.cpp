#include "sonavo_core.h"

#include <algorithm>
#include <condition_variable>
#include <string>
#include <system_error>
#include <thread>

#include "hangul_voice.h"

namespace sonavo {

class Engine::Session {
 public:
  Session(void* file, SpeechDataCallbackFn callback, int voice) : file_(file), callback_(callback) {
    voice_.number = voice;
    worker_ = std::thread([this] { Run(); });
  }
  ~Session() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      quit_ = true;
    }
    wake_.notify_all();
    worker_.join();
  }

  Voice& voice() { return voice_; }

  // Hands the text to the worker and waits for it to finish.
  bool Speak(std::u16string text) {
    std::unique_lock<std::mutex> lock(mutex_);
    job_ = std::move(text);
    jobVoice_ = voice_;
    hasJob_ = true;
    done_ = false;
    wake_.notify_all();
    finished_.wait(lock, [this] { return done_; });
    return result_;
  }

 private:
  void Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return quit_ || hasJob_; });
      if (quit_) return;
      hasJob_ = false;
      const std::u16string text = std::move(job_);
      const Voice voice = jobVoice_;
      lock.unlock();
      const bool ok = Synthesize(text, voice, [this](const int16_t* samples, std::size_t count) {
        SpeechChunk chunk{static_cast<int>(count * sizeof(int16_t)), samples};
        return callback_(file_, &chunk) == 0;
      });
      lock.lock();
      result_ = ok;
      done_ = true;
      finished_.notify_all();
    }
  }

  void* const file_;
  const SpeechDataCallbackFn callback_;
  Voice voice_;  // the caller's side

  std::mutex mutex_;  // guards what follows
  std::condition_variable wake_, finished_;
  std::u16string job_;
  Voice jobVoice_;
  bool hasJob_ = false, done_ = false, result_ = false, quit_ = false;
  std::thread worker_;
};

Engine::Engine(const codeconv::CodePageConverter& codePages, FolderCheck folderExists)
    : codePages_(codePages), folderExists_(std::move(folderExists)) {}

Engine::~Engine() = default;

int Engine::LoadEngine(const char* dataFolder, int /*flag*/) {
  if (dataFolder == nullptr || *dataFolder == '\0') return 1;
  if (!folderExists_(dataFolder)) return 2;
  std::lock_guard<std::mutex> lock(mutex_);
  loaded_ = true;
  return 0;
}

int Engine::UnLoadEngine() {
  std::lock_guard<std::mutex> lock(mutex_);
  loaded_ = false;
  return 0;
}

SnvoThread Engine::CreateThread(void* file, SpeechDataCallbackFn callback, int voice) {
  if (callback == nullptr || !IsKnownVoice(voice)) return nullptr;
  std::lock_guard<std::mutex> lock(mutex_);
  if (!loaded_) return nullptr;
  try {
    sessions_.push_back(std::make_unique<Session>(file, callback, voice));
  } catch (const std::system_error&) {
    return nullptr;
  }
  return sessions_.back().get();
}

Engine::Session* Engine::Find(SnvoThread thread) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& s : sessions_) {
    if (s.get() == thread) return s.get();
  }
  return nullptr;
}

int Engine::DeleteThread(SnvoThread thread) {
  std::unique_ptr<Session> gone;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = std::find_if(sessions_.begin(), sessions_.end(), [&](const auto& s) { return s.get() == thread; });
    if (it == sessions_.end()) return 0;
    gone = std::move(*it);
    sessions_.erase(it);
  }
  return 1;  // the worker ends as `gone` goes
}

int Engine::ChangeSpeaker(SnvoThread thread, int voice) {
  Session* s = Find(thread);
  if (s == nullptr || !IsKnownVoice(voice)) return 0;
  s->voice().number = voice;
  return 1;
}

int Engine::ChangeAttr(SnvoThread thread, const char* attributes) {
  Session* s = Find(thread);
  return s != nullptr && ApplyAttributeTags(attributes, s->voice()) ? 1 : 0;
}

int Engine::TextToSpeech(SnvoThread thread, const char* text, int /*flag*/) {
  Session* s = Find(thread);
  if (s == nullptr || text == nullptr) return 0;
  return s->Speak(codePages_.ToUtf16(949, text)) ? 1 : 0;
}

}  // namespace sonavo

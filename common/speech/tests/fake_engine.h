// A speech engine for tests: records every call and delivers the chunks it
// is given from a thread of its own, as a real engine does.
#pragma once
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "speech_engine.h"

namespace speech::test {

class FakeEngine final : public SpeechEngine {
 public:
  std::vector<std::string> calls;
  std::vector<std::string> chunks;  // delivered in order by TextToSpeech
  int loadResult = 0;
  int speakResult = 1;
  bool noThread = false;
  std::FILE* callbackFile = nullptr;  // when set, given to the callback instead of the caller's file
  bool nullBytes = false;             // every chunk without its bytes
  std::optional<int> forcedCount;     // every chunk with this count
  void* fileGiven = nullptr;
  std::string lastAttributes;
  std::string lastText;
  std::thread::id callbackThread;

  int LoadEngine(const char* dataFolder, int flag) override {
    calls.push_back("load " + std::string(dataFolder) + " " + std::to_string(flag));
    return loadResult;
  }
  int UnLoadEngine() override {
    calls.push_back("unload");
    return 0;
  }
  SnvoThread CreateThread(void* file, SpeechDataCallbackFn callback, int voice) override {
    calls.push_back("create " + std::to_string(voice));
    fileGiven = file;
    callback_ = callback;
    return noThread ? nullptr : this;
  }
  int DeleteThread(SnvoThread thread) override {
    calls.push_back(thread == this ? "delete" : "delete ?");
    return 1;
  }
  int ChangeSpeaker(SnvoThread thread, int voice) override {
    calls.push_back((thread == this ? "speaker " : "speaker ? ") + std::to_string(voice));
    return 1;
  }
  int ChangeAttr(SnvoThread thread, const char* attributes) override {
    calls.push_back(thread == this ? "attr" : "attr ?");
    lastAttributes = attributes;
    return 1;
  }
  int TextToSpeech(SnvoThread thread, const char* text, int flag) override {
    calls.push_back((thread == this ? "speak " : "speak ? ") + std::to_string(flag));
    lastText = text;
    std::thread worker([&] {
      callbackThread = std::this_thread::get_id();
      for (const std::string& c : chunks) {
        SpeechChunk chunk{forcedCount.value_or(static_cast<int>(c.size())), nullBytes ? nullptr : c.data()};
        callback_(callbackFile != nullptr ? callbackFile : fileGiven, &chunk);
      }
    });
    worker.join();
    return speakResult;
  }

 private:
  SpeechDataCallbackFn callback_ = nullptr;
};

}  // namespace speech::test

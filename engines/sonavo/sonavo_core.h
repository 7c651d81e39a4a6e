// The engine behind the exports of "Sonavo.dll": load state, synthesis
// threads and their voices.  Each synthesis thread is a worker of its own that
// speaks one text at a time and hands the sound to the caller's callback in
// blocks; the speaking call waits until the last block has been handed over.
#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "code_page.h"
#include "sonavo_api.h"

namespace sonavo {

class Engine {
 public:
  using FolderCheck = std::function<bool(const char* folder)>;
  // codePages decodes the KS text; folderExists tells whether a data folder is there.
  Engine(const codeconv::CodePageConverter& codePages, FolderCheck folderExists);
  ~Engine();

  // 0 when the data folder exists (the flag is not used); 1 for no folder
  // name, 2 for a folder that is not there.
  int LoadEngine(const char* dataFolder, int flag);
  int UnLoadEngine();
  // 0 when the engine is not loaded, the callback is missing, the voice is
  // not one of 1-10 or no thread can be started.
  SnvoThread CreateThread(void* file, SpeechDataCallbackFn callback, int voice);
  int DeleteThread(SnvoThread thread);  // 1 when the thread was ours
  int ChangeSpeaker(SnvoThread thread, int voice);  // 1 when changed
  int ChangeAttr(SnvoThread thread, const char* attributes);  // 1 when a tag was read
  // Speaks KS text; returns 1 once the last block has been delivered, 0 for an
  // unknown thread, no text, or a callback that asked to stop.
  int TextToSpeech(SnvoThread thread, const char* text, int flag);

 private:
  class Session;
  Session* Find(SnvoThread thread);

  const codeconv::CodePageConverter& codePages_;
  FolderCheck folderExists_;
  std::mutex mutex_;  // guards loaded_ and sessions_
  bool loaded_ = false;
  std::vector<std::unique_ptr<Session>> sessions_;
};

}  // namespace sonavo

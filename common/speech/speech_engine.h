// The speech engine as the wrapper sees it: the seven engine calls behind an
// interface, so that the Win32 binding of "Sonavo.dll" and test engines can
// stand behind the same wrapper.
#pragma once
#include "sonavo_api.h"

namespace speech {

class SpeechEngine {
 public:
  virtual ~SpeechEngine() = default;
  virtual int LoadEngine(const char* dataFolder, int flag) = 0;  // 0 = loaded
  virtual int UnLoadEngine() = 0;
  virtual SnvoThread CreateThread(void* file, SpeechDataCallbackFn callback, int voice) = 0;
  virtual int DeleteThread(SnvoThread thread) = 0;
  virtual int ChangeSpeaker(SnvoThread thread, int voice) = 0;
  virtual int ChangeAttr(SnvoThread thread, const char* attributes) = 0;
  virtual int TextToSpeech(SnvoThread thread, const char* text, int flag) = 0;
};

}  // namespace speech

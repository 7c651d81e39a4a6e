#include "sonavo_engine.h"

#include <windows.h>

namespace speech {
namespace {

class SonavoLibrary final : public SpeechEngine {
 public:
  int LoadEngine(const char* dataFolder, int flag) override {
    return Bind() ? load_(dataFolder, flag) : -1;
  }
  int UnLoadEngine() override { return Bind() ? unload_() : 0; }
  SnvoThread CreateThread(void* file, SpeechDataCallbackFn callback, int voice) override {
    return Bind() ? create_(file, callback, voice) : nullptr;
  }
  int DeleteThread(SnvoThread thread) override { return Bind() ? delete_(thread) : 0; }
  int ChangeSpeaker(SnvoThread thread, int voice) override { return Bind() ? speaker_(thread, voice) : 0; }
  int ChangeAttr(SnvoThread thread, const char* attributes) override {
    return Bind() ? attr_(thread, attributes) : 0;
  }
  int TextToSpeech(SnvoThread thread, const char* text, int flag) override {
    return Bind() ? speak_(thread, text, flag) : 0;
  }

 private:
  template <typename Fn>
  static bool Find(HMODULE dll, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
    return fn != nullptr;
  }

  // Loads the DLL once; the library stays loaded until the process ends, since
  // the engine may keep threads of its own.
  bool Bind() {
    if (tried_) return bound_;
    tried_ = true;
    HMODULE dll = LoadLibraryA("Sonavo.dll");
    if (dll == nullptr) return false;
    bound_ = Find(dll, "SNVO_LoadEngine", load_) && Find(dll, "SNVO_UnLoadEngine", unload_) &&
             Find(dll, "SNVO_CreateThread", create_) && Find(dll, "SNVO_DeleteThread", delete_) &&
             Find(dll, "SNVO_ChangeSpeaker", speaker_) && Find(dll, "SNVO_ChangeAttr", attr_) &&
             Find(dll, "SNVO_TextToSpeech", speak_);
    if (!bound_) FreeLibrary(dll);
    return bound_;
  }

  bool tried_ = false;
  bool bound_ = false;
  SnvoLoadEngineFn load_ = nullptr;
  SnvoUnLoadEngineFn unload_ = nullptr;
  SnvoCreateThreadFn create_ = nullptr;
  SnvoDeleteThreadFn delete_ = nullptr;
  SnvoChangeSpeakerFn speaker_ = nullptr;
  SnvoChangeAttrFn attr_ = nullptr;
  SnvoTextToSpeechFn speak_ = nullptr;
};

}  // namespace

SpeechEngine& SonavoEngine() {
  static SonavoLibrary library;
  return library;
}

}  // namespace speech

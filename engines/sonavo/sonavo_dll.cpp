// "Sonavo.dll": the speech engine's seven exports over the engine core.
#include <windows.h>

#include <type_traits>

#include "sonavo_core.h"

namespace {

bool FolderExists(const char* folder) {
  const DWORD attributes = GetFileAttributesA(folder);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Never destroyed: at process exit the engine's worker threads are already
// gone, and joining them under the loader lock would hang.
sonavo::Engine& TheEngine() {
  static sonavo::Engine* engine = new sonavo::Engine(codeconv::PlatformCodePages(), FolderExists);
  return *engine;
}

}  // namespace

extern "C" {

__declspec(dllexport) int SNVO_API SNVO_LoadEngine(const char* dataFolder, int flag) {
  return TheEngine().LoadEngine(dataFolder, flag);
}

__declspec(dllexport) int SNVO_API SNVO_UnLoadEngine(void) { return TheEngine().UnLoadEngine(); }

__declspec(dllexport) SnvoThread SNVO_API SNVO_CreateThread(void* file, SpeechDataCallbackFn callback, int voice) {
  return TheEngine().CreateThread(file, callback, voice);
}

__declspec(dllexport) int SNVO_API SNVO_DeleteThread(SnvoThread thread) { return TheEngine().DeleteThread(thread); }

__declspec(dllexport) int SNVO_API SNVO_ChangeSpeaker(SnvoThread thread, int voice) {
  return TheEngine().ChangeSpeaker(thread, voice);
}

__declspec(dllexport) int SNVO_API SNVO_ChangeAttr(SnvoThread thread, const char* attributes) {
  return TheEngine().ChangeAttr(thread, attributes);
}

__declspec(dllexport) int SNVO_API SNVO_TextToSpeech(SnvoThread thread, const char* text, int flag) {
  return TheEngine().TextToSpeech(thread, text, flag);
}

}  // extern "C"

// The exports have exactly the types the wrapper binds.
static_assert(std::is_same_v<decltype(&SNVO_LoadEngine), SnvoLoadEngineFn>);
static_assert(std::is_same_v<decltype(&SNVO_UnLoadEngine), SnvoUnLoadEngineFn>);
static_assert(std::is_same_v<decltype(&SNVO_CreateThread), SnvoCreateThreadFn>);
static_assert(std::is_same_v<decltype(&SNVO_DeleteThread), SnvoDeleteThreadFn>);
static_assert(std::is_same_v<decltype(&SNVO_ChangeSpeaker), SnvoChangeSpeakerFn>);
static_assert(std::is_same_v<decltype(&SNVO_ChangeAttr), SnvoChangeAttrFn>);
static_assert(std::is_same_v<decltype(&SNVO_TextToSpeech), SnvoTextToSpeechFn>);

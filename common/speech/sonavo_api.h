// Binary interface of the speech engine "Sonavo.dll": the chunk record, the
// chunk callback and the seven exports, with their calling convention.
// Shared by the wrapper that binds the engine and by our own engine, so the
// two always agree.  Plain C types only: no platform headers.
#pragma once

#if defined(_WIN32)
#define SNVO_API __cdecl
#else
#define SNVO_API
#endif

extern "C" {

// One piece of synthesised sound: 16-bit mono PCM at 16000 Hz.
struct SpeechChunk {
  int byteCount;
  const void* bytes;
};

// Called by the engine, on its own thread, for every chunk; `file` is the
// value given to SNVO_CreateThread.  Returns 0 to go on; any other value asks
// the engine to stop (the synthesis then fails).
typedef int(SNVO_API* SpeechDataCallbackFn)(void* file, SpeechChunk* chunk);

// One synthesis thread of the engine; 0 means none.
typedef void* SnvoThread;

typedef int(SNVO_API* SnvoLoadEngineFn)(const char* dataFolder, int flag);  // 0 = loaded
typedef int(SNVO_API* SnvoUnLoadEngineFn)(void);
typedef SnvoThread(SNVO_API* SnvoCreateThreadFn)(void* file, SpeechDataCallbackFn callback, int voice);
typedef int(SNVO_API* SnvoDeleteThreadFn)(SnvoThread thread);
typedef int(SNVO_API* SnvoChangeSpeakerFn)(SnvoThread thread, int voice);
typedef int(SNVO_API* SnvoChangeAttrFn)(SnvoThread thread, const char* attributes);
// text: KS code bytes (code page 949), NUL-terminated.  Returns only when the
// last chunk has been delivered; non-zero = success.
typedef int(SNVO_API* SnvoTextToSpeechFn)(SnvoThread thread, const char* text, int flag);

}  // extern "C"

namespace speech {

constexpr int kEngineSampleRate = 16000;
constexpr int kVoiceMale = 1;
constexpr int kVoiceFemale = 6;

}  // namespace speech

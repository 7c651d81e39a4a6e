// The speech engine "Sonavo.dll", bound by name on first use and kept for the
// whole process.
#pragma once
#include "speech_engine.h"

namespace speech {

// The process's binding.  When the DLL or one of its exports is missing,
// loading reports failure and no synthesis thread is given.
SpeechEngine& SonavoEngine();

}  // namespace speech

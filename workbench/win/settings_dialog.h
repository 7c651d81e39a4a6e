// The workbench's settings sheet "環境設定": the Japanese pane's input
// method, the read-aloud voice (only with a loaded speech engine), the
// dictionary program's options and the display fonts.
#pragma once
#include <windows.h>

#include <string>

#include "app.h"
#include "speech_wrapper.h"

namespace dalmok {

struct SheetValues {
  int codeMode = 0;                               // 1 KS, else GM
  speech::SpeechEngineWrapper* speech = nullptr;  // null: no voice page
  std::string wavPath;                            // the voice test's file
  std::string gmSample;                           // "Sample문자" in GM code
  std::string selectIme;                          // in and out
  int speaker = 0, volume = 100, rate = 100, pitch = 100;  // in and out
  int searchMethod = 0, newWindow = 0;                     // in and out
};

// Runs the sheet modally; IDOK when the values (and the registry) changed.
INT_PTR RunSettingsSheet(const fw::Module& module, HWND parent, SheetValues& values);

}  // namespace dalmok

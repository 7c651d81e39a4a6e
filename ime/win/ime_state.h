// Module state of the input method: one copy per process.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "engine.h"
#include "imm_ime.h"
#include "reading_table.h"

namespace ime {

class Win32Feedback final : public UserFeedback {
 public:
  void Beep(unsigned type) override { MessageBeep(type); }
  int ShowMessage(const std::string& text, unsigned flags) override {
    return ::MessageBoxA(nullptr, text.c_str(), "", flags | MB_TASKMODAL);
  }
  int ShowCaptionedMessage(const std::string& text, const std::string& caption, unsigned flags) override {
    return ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), flags | MB_TASKMODAL);
  }
};

struct ImeModule {
  HINSTANCE instance = nullptr;
  std::string fileName;     // own file name, upper-cased, no folder
  std::string prefix;       // first two characters: the settings key
  std::string koreanFace;   // current Korean face name (system code page)
  ImeSettings settings;
  Win32Feedback feedback;
  ReadingTable readingTable;
  std::unique_ptr<ImeEngine> engine;
  HWND uiWindow = nullptr;

  // The message list of the ImeToAsciiEx call in progress, null outside it.
  LPTRANSMSGLIST currentList = nullptr;
  UINT messageCount = 0;
};

ImeModule& Module();

// Reads the settings of the edition from the registry (HKCU, then HKLM).
void LoadEngineSettings(ImeModule& m);
// "Software\VALDRIMO\GeulmaruV6"; one value of a key below a root; a value
// of the edition's key and subkey (HKCU, then HKLM, else the fallback).
extern const char kSuiteKey[];
bool ReadValue(HKEY root, const std::string& path, const char* value, std::string& out);
std::string ReadRegistryString(const ImeModule& m, const char* subkey, const char* value, const char* fallback);
// Opens the edition's dictionary and gives the engine its hanja conversion.
void OpenImeDictionary(ImeModule& m);
// Loads the reading table resource of the current input mode.
bool LoadReadingTable(ImeModule& m);

// Registers and unregisters the UI window class.
bool RegisterUiClass(HINSTANCE instance);
void UnregisterUiClass(HINSTANCE instance);
extern const char kUiClassName[];

// The one path by which a message leaves the input method.
BOOL GenerateImeMessage(HIMC himc, LPINPUTCONTEXT context, const TRANSMSG& message, bool indirect);

constexpr UINT WM_IME_DEFERRED = 0x65D;

}  // namespace ime

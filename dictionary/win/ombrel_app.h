// Program-wide values of Ombrel set at start-up (program folder, data root,
// speech, the search method, the command-line direction, topmost flag and
// query buffer) and the code-page helpers of its controls.
#pragma once
#include <windows.h>

#include <string>

#include "speech_wrapper.h"

namespace ombrel::win {

struct AppState {
  std::string programFolder;  // ends in '\'
  std::string dataRoot;       // program folder + "VESKADATA\"
  std::string speechFile;     // program folder + "speech.wav"
  bool speechLoaded = false;
  int method = 0;
  int commandDirection = 0;
  bool topmost = false;
  std::string query;  // escaped text, at most 384 bytes
  int speaker = 0, volume = 0, rate = 0, pitch = 0;
};

AppState& App();
speech::SpeechEngineWrapper& Speech();
HINSTANCE Instance();

// Re-reads the voice values (the dictionary's rule: a key just made leaves them).
void LoadVoiceValues();
void SaveVoiceValues();

// Bytes of a code page and UTF-16.
std::wstring Wide(unsigned codePage, const std::string& bytes);
std::string Bytes(unsigned codePage, const std::wstring& text);
inline const wchar_t* W(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }
inline std::wstring W(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }
inline std::u16string U16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

// Decodes escaped text into at most maxUnits units.
std::wstring Unescape(const std::string& escaped, int maxUnits);
// Escapes text (at most maxBytes bytes).
std::string Escape(const std::wstring& text, unsigned maxBytes);

// The message box of the program: caption "韓日・日韓辞典" unless given.
int Box(HWND owner, const wchar_t* text, UINT flags, const wchar_t* caption = nullptr);

}  // namespace ombrel::win

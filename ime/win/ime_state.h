// Module state of the input method: one copy per process.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "companion.h"
#include "engine.h"
#include "ime_code.h"
#include "ime_config.h"
#include "ime_link.h"
#include "imm_ime.h"
#include "reading_table.h"
#include "settings_sheet.h"

namespace ime {

namespace dic {
class DicEngine;
}

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
  ImeConfig config;                     // everything attach reads
  ImeSettings& settings = config.engine;  // the engine's part of it
  PlatformFacts facts;
  Win32Feedback feedback;
  ReadingTable readingTable;
  codeconv::GmTables gmTables;  // the GM V3 code tables among the resources
  HGLOBAL readingResource = nullptr;
  std::unique_ptr<ImeEngine> engine;
  HFONT displayFont = nullptr;
  HWND uiWindow = nullptr;
  // Companion windows, the target and saved context of received text.
  CompanionState companions;
  HMODULE lookupLibrary = nullptr;
  // A settings or dictionary dialog is open.
  bool dialogOpen = false;

  // The message list of the ImeToAsciiEx call in progress, null outside it.
  LPTRANSMSGLIST currentList = nullptr;
  UINT messageCount = 0;
};

ImeModule& Module();

// Process attach and detach. Attach runs once, on the first call that needs
// the settings (not under the loader's lock).
void EnsureImeInitialized();
void TerminateIme(bool processEnding);
// A font of the current Korean face, the edition's charset and the point
// size of the settings on the display.
HFONT CreateDisplayFont(const ImeConfig& cfg);
// Makes this input method the thread's active keyboard layout again.
void ActivateOwnKeyboardLayout();
// The TrueType and other font families of the display, as attach checks them.
std::vector<FontFace> EnumerateDisplayFonts();
// The PC-98 close/open hot key is VK 0x19 without modifiers.
bool KanjiHotKeyIsVk19();
// What a change of the settings does in this process (ime_attach.cpp).
SettingsPlatform& ModuleSettingsPlatform();

// The settings sheet's values written by another process's sheet
// (ime_settings_watch.cpp): the edition's key is watched from attach to
// detach, and the values that changed are taken over at the next key or
// context change.
void StartSettingsWatch(const ImeConfig& cfg);
void StopSettingsWatch();
void SyncSettingsFromRegistry();

// Registry access below "Software\VALDRIMO\GeulmaruV6".
RegistryReader& Registry();
RegistryWriter& RegistryWrite();
// Loads the reading table resource of the input mode.
bool LoadReadingTable(ImeModule& m, int inputMode);
// Frees the loaded reading table and gives the engine the one of the input
// mode.
bool SwitchReadingTable(ImeModule& m, int inputMode);

// The five window classes.
bool RegisterUiClasses(HINSTANCE instance);
void UnregisterUiClasses(HINSTANCE instance);
extern const char kUiClassName[];

// Registers and unregisters the input method's SEdit control class.
bool RegisterSEdit(HINSTANCE instance);
void UnregisterSEdit(HINSTANCE instance);

// The one path by which a message leaves the input method.
BOOL GenerateImeMessage(HIMC himc, LPINPUTCONTEXT context, const TRANSMSG& message, bool indirect);

// Hooks of the parts that open the dictionary, load the code tables and
// provide the settings controls.
void OpenImeDictionary(ImeModule& m);
void ReleaseImeDictionary(ImeModule& m);
// The dictionary engine of the process, null before attach and after detach.
dic::DicEngine* ImeDictionaryEngine();
// Ends the dictionary access, invalidates the slot and opens path in its
// place; false when it cannot be opened (reported to the user).
bool ReopenImeDictionary(ImeModule& m, const std::string& path);
void LoadImeCodeTables(ImeModule& m);
void SetGuideKeyboardLayout(int keyboardType);
void RegisterSettingsControlClasses(HINSTANCE instance);

// Status toolbar (ime_status.cpp): shown (created and placed when missing,
// redrawn when refresh) or hidden.
void ShowStatusWindow(HWND ui, bool refresh);
void HideStatusWindow(HWND ui);
// The toolbar shows the configured buttons again and is placed and sized
// for them (after the ToolBar setting changed).
void ShowConfiguredToolbar();
// Redraws the toolbar (a settings or dictionary dialog opened or closed).
void RedrawStatusWindow();
// On-screen keyboard (ime_guide.cpp): shown for the context's guideline;
// redrawn after every key and change of the open status when it is shown;
// with newPicture (keyboard or arrangement changed) its picture is loaded
// again and the window sized to it.
void ShowGuideWindow(HWND ui, HIMC himc);
void RefreshGuideWindow(bool newPicture = false);
// The candidate window goes; it is made again when next needed.
void DestroyCandWindow(HWND ui);

// The settings sheet of ImeConfigure's general and select-dictionary modes
// and the COLORBUTTON control (ime_sheet.cpp, ime_colorbutton.cpp).
BOOL RunImeConfigure(HWND owner, DWORD mode, void* data);
bool RegisterColorButtonClass(HINSTANCE instance);
void UnregisterColorButtonClass(HINSTANCE instance);
// Presses or releases a COLORBUTTON of a dialog by its id and repaints it
// when that changes; an id without a button does nothing.
void SetColorButtonPressed(HWND dialog, int id, bool pressed);
// Every COLORBUTTON record free again (after the colour dialog closes).
void ClearColorButtons();

// Companions (ime_companion.cpp).
void LaunchCompanion(int id);
int OpenLookupWindow(HIMC himc);
LRESULT OnToolWindowMessage(HWND ui, UINT message, WPARAM wParam, LPARAM lParam);

// Help through HTML Help, bound on first use (ime_help.cpp). command 2
// closes every help window; otherwise the help file is shown at topic (0:
// its default topic).
void ShowImeHelp(HWND window, int command, unsigned topic);

using imelink::WM_LOOKUP_CHAR;
using imelink::WM_PAD_CHAR;
using imelink::WM_WORKBENCH_CHAR;
constexpr UINT WM_UI_REFRESH = 0x5F4;
constexpr UINT WM_UI_HIDE = 0x5F5;
constexpr UINT WM_UI_COMPPOS = 0x65A;
constexpr UINT WM_UI_CANDPOS = 0x65B;
constexpr UINT WM_UI_GUIDEPOS = 0x65C;
constexpr UINT WM_IME_DEFERRED = 0x65D;

}  // namespace ime

// The settings sheet without the window system: the working copy of each
// page and what applying it does to the running module state and to the
// registry, in the order of the page; the font and colour dialogs' state;
// the COLORBUTTON record table; the display page's toolbar preview; and the
// same changes taken over from the registry when another process's sheet
// has written them.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "feedback.h"
#include "ime_config.h"
#include "status_toolbar.h"
#include "ui_geometry.h"

namespace ime {

// What applying settings does outside the module state and the registry.
class SettingsPlatform {
 public:
  virtual ~SettingsPlatform() = default;
  // The sheet may have switched the thread's keyboard layout.
  virtual void ActivateOwnLayout() = 0;
  // Before the input position changes.
  virtual void DestroyCandidateWindow() = 0;
  virtual void SetGuideLayout(int keyboardType) = 0;
  // Frees the loaded reading table and loads the one of the arrangement.
  virtual bool ReloadReadingTable(int inputMode) = 0;
  // The on-screen keyboard: a new picture and width (keyboard or
  // arrangement changed), or only redrawn.
  virtual void RefreshGuide(bool newPicture) = 0;
  // The status toolbar shows the configured buttons again, placed and sized
  // for them.
  virtual void RefreshToolbar() = 0;
  virtual void CreateDisplayFont(const ImeConfig& cfg) = 0;
  // Ends the dictionary access, invalidates the slot and opens path; false
  // when it cannot be opened (the engine has told the user why).
  virtual bool OpenDictionary(const std::string& path) = 0;
  // The PC-98 close/open hot key is VK 0x19 without modifiers.
  virtual bool KanjiHotKeyIsVk19() = 0;
};

// The pages of ImeConfigure's modes: general (1) all four, select
// dictionary (3) the dictionary and version pages; other modes none.
constexpr int kPageGeneral = 100, kPageDisplay = 114, kPageDictionary = 102, kPageVersion = 103;
std::vector<int> ConfigurePages(unsigned mode);

// ---- general page ------------------------------------------------------------------

struct GeneralPage {
  int inputMode = 1;  // 0 roman, 1 KS 2-set, 2 KS 3-set
  bool halfWidth = true;
  bool jisoTaniBack = true;
  bool indirectMode = false;
  int keyboardType = 0;
  bool interfaceShown = false;  // KS edition, where the interface is offered
  bool interfaceAnsi = false;
  std::string mikakuText;  // KS edition: the edit box as typed
  int mikakuCount = 0;     // its number; 0 leaves the count alone
};

// The page as it opens: the running state; the interface from its registry
// value ('A' or 'a': ANSI).
GeneralPage GeneralPageFor(const ImeConfig& cfg, bool interfaceShown, const std::string& interfaceValue);
// The number in an edit box: decimal digits only (blanks around them
// allowed), 0 for anything else or a number too large.
int EditBoxNumber(const std::string& text);
// PSN_APPLY: the own layout, InputSize, JisoTaniBack, IndirectMode when it
// changes, Mikaku, Keyboard when it changes, HanglInput when the
// arrangement changes, the on-screen keyboard, Interface.
void ApplyGeneralPage(const GeneralPage& page, ImeConfig& cfg, RegistryWriter& writer, SettingsPlatform& platform);

// ---- display page --------------------------------------------------------------------

struct DisplayPage {
  std::array<bool, 13> enabled{};  // by function number 1-12; [0] unused
};
// The boxes of a button map (the configured one when the page opens).
DisplayPage DisplayPageFor(const ToolbarButtonMap& map);
// The ToolBar value: twelve '0'/'1'.
std::string ToolbarSetting(const DisplayPage& page);
// PSN_APPLY: when a box changed, the button map, ToolBar and the toolbar.
void ApplyDisplayPage(const DisplayPage& page, ImeConfig& cfg, RegistryWriter& writer, SettingsPlatform& platform);
// The preview: the toolbar with only the ticked buttons, in the mode given,
// its switch disabled when all twelve are ticked.
std::vector<StatusBlit> ToolbarPreviewPlan(const DisplayPage& page, unsigned conversionMode);

// ---- font dialog (113) --------------------------------------------------------------

constexpr int kFontSizeEntries = 17;  // "8" to "24"
struct FontDialog {
  std::vector<std::string> faces;  // KS edition: list 1058; GM edition: list 1057
  int face = -1;                   // selected entry, -1 none
  int size = 4;                    // selected size entry ("12" when the height is below 8)
};
// The KS edition lists the TrueType fonts of charset 129 but the vertical
// ones ('@'), the GM edition those of charset 128 whose face begins with
// "ＧＭ韓国"; the current KS or GM face is selected.
FontDialog FontDialogFor(const ImeConfig& cfg, const std::vector<FontFace>& installed);
// OK: Height, the face of the edition, the current face, the display font.
void ApplyFontDialog(const FontDialog& dialog, ImeConfig& cfg, RegistryWriter& writer, SettingsPlatform& platform);

// ---- colour dialog ("COLORBOX") -----------------------------------------------------

class ColourDialog {
 public:
  static constexpr int kInput = 0, kConversion = 1;
  static constexpr int kColours = 8;
  // An index outside the palette (a malformed setting) shows as black, the
  // palette's colour for it, and starts as black here.
  ColourDialog(ColourPair input, ColourPair conv);
  void Select(int pair);
  int selected() const { return selected_; }
  void SetText(int index);
  void SetBackground(int index);
  // Input (6, 0) and conversion (0, 5), the input pair selected.
  void Defaults();
  ColourPair Pair(int pair) const { return pairs_[pair == kConversion ? 1 : 0]; }
  bool TextPressed(int index) const { return Pair(selected_).text == index; }
  bool BackgroundPressed(int index) const { return Pair(selected_).background == index; }
  // "設定": the module's colours, InputColor and ConvColor as "%d,%d".
  void Commit(ImeConfig& cfg, RegistryWriter& writer) const;

 private:
  std::array<ColourPair, 2> pairs_;
  int selected_ = kInput;
};

// ---- COLORBUTTON ------------------------------------------------------------------

struct ColorButtonRecord {
  uintptr_t window = 0;  // 0: free
  uint32_t swatch = 0;
  uint32_t text = 0;
  bool pressed = false;
};

class ColorButtonTable {
 public:
  static constexpr int kRecords = 32;
  void Clear() { records_ = {}; }
  // The first free record, with white text on a black swatch; when all are
  // in use a beep and null (the button then works without colours).
  ColorButtonRecord* Claim(uintptr_t window, UserFeedback& feedback);
  // The record of a window; null for no window or one without a record.
  ColorButtonRecord* Find(uintptr_t window);
  void Release(uintptr_t window);
  int InUse() const;

 private:
  std::array<ColorButtonRecord, kRecords> records_{};
};

// The swatch inside the button's 3-D frame: inset 4, or 5 at the top left
// and 3 at the bottom right while pressed.
Rect ColorButtonSwatch(Size client, bool pressed);

// ---- dictionary page --------------------------------------------------------------

// Where the file dialog starts: the path before its last '\' or ':'.
std::string DictionaryFolder(const std::string& path);
// PSN_APPLY: a changed path opens the new file, or, when it cannot be
// opened, the old one again and nothing more (false); then learning and
// Gakusyu.
bool ApplyDictionaryPage(const std::string& path, bool learning, ImeConfig& cfg, RegistryWriter& writer,
                         SettingsPlatform& platform);

// ---- another process's sheet -------------------------------------------------------

// The sheet's values in the registry now: those that changed since they
// were last read are taken over as the pages would apply them (nothing is
// written, the keyboard layout is left alone).
void TakeOverSheetValues(ImeConfig& cfg, RegistryReader& reader, SettingsPlatform& platform);

}  // namespace ime

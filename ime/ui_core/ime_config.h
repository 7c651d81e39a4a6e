// The module state that process attach fills: the engine's settings and
// everything the shell needs besides (edition, faces, colours, toolbar map,
// paths), read from the registry through a small reader interface, and the
// order of the attach and detach steps over a platform interface.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "feedback.h"
#include "ime_settings.h"

namespace ime {

// Lead-byte test of the text at hand (code page 932 for file names, the
// edition's code for composition text).
using LeadTest = bool (*)(uint8_t);
bool IsCp932Lead(uint8_t b);
bool IsCp949Lead(uint8_t b);

// Registry values below "Software\VALDRIMO\GeulmaruV6".
class RegistryReader {
 public:
  virtual ~RegistryReader() = default;
  // root 0 HKEY_CURRENT_USER, 1 HKEY_LOCAL_MACHINE; path below the suite key
  // ("" for the suite key itself). True when the value was read.
  virtual bool Read(int root, const std::string& path, const std::string& value, std::string* out) = 0;
};

class RegistryWriter {
 public:
  virtual ~RegistryWriter() = default;
  // Creates the key below the suite key of HKEY_CURRENT_USER and sets a REG_SZ.
  virtual bool Write(const std::string& path, const std::string& value, const std::string& text) = 0;
};

constexpr int kRootCurrentUser = 0;
constexpr int kRootLocalMachine = 1;

// The settings of one edition: its key (the prefix) and a subkey, from
// HKEY_CURRENT_USER with HKEY_LOCAL_MACHINE as the fallback.
class SettingsAccess {
 public:
  SettingsAccess(RegistryReader& reader, std::string prefix) : reader_(reader), prefix_(std::move(prefix)) {}
  // The value cut to size - 1 bytes (as read into a buffer of that size), or
  // the default when neither root has it.
  std::string String(const char* subkey, const char* value, const char* fallback, size_t size = 260) const;
  // Leading decimal digits of the value (no sign; no digit gives 0); a
  // missing or empty value gives the default.
  int Int(const char* subkey, const char* value, int fallback) const;
  // The same with an optional leading '-', for the values whose default is
  // negative.
  int SignedInt(const char* subkey, const char* value, int fallback) const;
  // A value of the suite key itself on HKEY_LOCAL_MACHINE.
  std::string Machine(const char* value) const;
  const std::string& prefix() const { return prefix_; }

 private:
  RegistryReader& reader_;
  std::string prefix_;
};

struct ColourPair {
  int text = 0;
  int background = 0;
  bool operator==(const ColourPair&) const = default;
};
constexpr ColourPair kDefaultInputColour{6, 0};
constexpr ColourPair kDefaultConvColour{0, 5};

// The enabled toolbar functions 1-12 in ascending order.
struct ToolbarButtonMap {
  int functions[12] = {};
  int count = 0;
  bool enabled[13] = {};  // by function number; [0] unused
};

// What the platform gives the settings about itself.
struct PlatformFacts {
  bool windowsNt = true;         // NT platform (SJ fonts count as missing)
  bool windows95 = false;        // Windows 9x 4.0-4.9 (ANSI interface by default)
  bool interfaceChoice = false;  // the KS edition's settings offer the interface
};

// The KS edition offers its interface (Unicode or ANSI) in the settings on
// Windows NT 4.0 and on Windows 98 and ME (9x platform, minor version 10 or
// more), where both interfaces work.
bool InterfaceChoiceOffered(bool windowsNt, bool windows9x, unsigned major, unsigned minor);

// The values that the settings sheet writes, as they stand in the registry
// (defaults applied, cut as attach reads them). Attach keeps them; another
// process's sheet is noticed by the values that changed since.
struct SheetValues {
  std::string hanglInput, keyboard, inputSize, indirectMode, jisoTaniBack, mikaku;
  std::string inputColor, convColor, toolBar;
  std::string gmFace, ksFace, height;
  std::string dicPathName, gakusyu;
  bool operator==(const SheetValues&) const = default;
};

// One installed font family as the enumeration reports it.
struct FontFace {
  std::string face;  // code page 932 bytes
  int charset = 0;
  bool trueType = false;
};

struct FontCheckResult {
  bool ksInstalled = false;
  bool gmInstalled = false;
  bool sjInstalled = false;
};

struct ImeConfig {
  ImeSettings engine;             // the part the composition engine reads
  std::string fileName;           // upper-cased, no folder
  std::string helpFileName;
  std::string prefix;             // first two characters: the settings key
  int charset = 129;              // 129 KS edition, 128 otherwise
  bool protectedMode = false;
  std::string programFolder;      // ends in "GeulmaruV6\"
  std::string gmFace, ksFace, sjFace;  // at most 31 bytes each
  std::string currentFace;
  int fontPoints = 16;
  FontCheckResult fonts;
  std::string dictionaryPath;
  bool halfWidthSetting = true;
  bool atokIme = false;
  ColourPair inputColour = kDefaultInputColour;
  ColourPair convColour = kDefaultConvColour;
  ToolbarButtonMap toolbar;
  int statusX = -1, statusY = -1;
  bool statusPositionRead = false;
  int attachCount = 0;
  SheetValues seen;  // the sheet's values as last read from the registry
};

// Own file name: the part after the last '\' (or '/'), ASCII letters
// upper-cased, double-byte characters left alone.
std::string OwnFileName(const std::string& modulePath);
// The file name with its last three characters replaced by "CHM", after
// cutting a name longer than 28 characters to 28.
std::string HelpFileName(const std::string& fileName);
// "Install Directory" with a '\' added when missing, then "GeulmaruV6\".
std::string ProgramFolder(const std::string& installDirectory);

// The sheet's values of an edition's key (KS edition: with Mikaku).
SheetValues ReadSheetValues(const SettingsAccess& reg, bool ksEdition);

// The single settings, each by its reading rule.
int ParseInputMode(const std::string& hanglInput);  // 0 roman, 1 KS 2-set, 2 KS 3-set
int ParseKeyboard(const std::string& keyboard);     // 0 106-key, 1 PC-98, 2 101-key
ColourPair ParseColour(const std::string& value, ColourPair fallback);
ToolbarButtonMap ParseToolbar(const std::string& value);
unsigned ParseInterface(const std::string& value, bool windows95);  // 949 Unicode, 0 ANSI
bool FirstLetterIs(const std::string& value, char letter);
// Leading decimal digits (no sign; none gives 0; a longer number stops
// before it overflows).
int LeadingDigits(const std::string& value);
// Height, Mikaku: the leading digits, or the default for an empty value.
int ParseCount(const std::string& value, int fallback);
// Learning from Gakusyu: its first two characters "ON", never in protected mode.
bool ParseLearning(const std::string& gakusyu, bool protectedMode);
// The unconfirmed count as the engine keeps it (doubled); a count too large
// to double is cut first.
int MikakuBytes(int count);
// The dictionary of a DicPathName value: the value, or the edition's
// dictionary in the program folder when it is empty.
std::string DictionaryPathFor(const std::string& dicPathName, const ImeConfig& cfg);
// The current face of the edition: the KS face, or for the GM edition the
// SJ face under GM95 and the GM face otherwise.
std::string CurrentFaceOf(const ImeConfig& cfg);

// Font check over the enumerated fonts: per kind the first face met, whether
// the configured face was met; a missing kind empties its face, a missing
// configured face takes the first one met; on NT the SJ kind counts as
// missing.
FontCheckResult CheckFonts(const std::vector<FontFace>& fonts, bool windowsNt, ImeConfig& cfg);
// The warning of a missing Korean font is due.
bool FontWarningDue(const ImeConfig& cfg);
// Current face and, for the GM edition, the code (GM V3 or GM95).
void ChooseFaceAndCode(const std::string& hanglCode, ImeConfig& cfg);

constexpr char kFontWarning[] =
    "\x8a\xd8\x8d\x91\x8c\xea\x83\x74\x83\x48\x83\x93\x83\x67\x82\xaa\x83\x43\x83\x93\x83\x58\x83\x67"
    "\x81\x5b\x83\x8b\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1";  // 韓国語フォントがインストールされていません

// What attach and detach do on the platform, in the order of the steps.
class AttachPlatform {
 public:
  virtual ~AttachPlatform() = default;
  virtual bool ProbeProtectedMode() = 0;
  virtual std::vector<FontFace> EnumerateFonts() = 0;
  virtual bool LoadReadingTable(int inputMode) = 0;
  virtual void SetGuideLayout(int keyboardType) = 0;
  virtual void OpenDictionary(const ImeConfig& cfg) = 0;
  virtual void RegisterControlClasses() = 0;
  virtual void CreateDisplayFont(const ImeConfig& cfg) = 0;
  virtual void ClearCompanionWindows() = 0;
  virtual void LoadCodeTables() = 0;
  // The PC-98 close/open hot key is VK 0x19 without modifiers.
  virtual bool KanjiHotKeyIsVk19() = 0;
  // Detach.
  virtual void CloseUiWindow() = 0;
  virtual void ReleaseDisplayFontAndTable() = 0;
  virtual void ReleaseDictionary() = 0;
};

// Process attach: every step in its order, filling cfg.
void InitializeImeConfig(ImeConfig& cfg, const std::string& modulePath, RegistryReader& reader,
                         AttachPlatform& platform, UserFeedback& feedback, const PlatformFacts& facts);
// Process detach; the status position is written when the last attach ends.
void TerminateImeConfig(ImeConfig& cfg, AttachPlatform& platform, RegistryWriter& writer);

}  // namespace ime

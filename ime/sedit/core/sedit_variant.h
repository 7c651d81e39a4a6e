// What the copies of the SEdit control differ in. Every deliverable that
// hosts the control links the same code and picks one of these parameter
// sets when it registers the class.
#pragma once

namespace sedit {

// How a control splits its bytes into characters.
enum class LeadRule : unsigned char {
  kFontFlag,        // Shift-JIS shape, or every high byte leads when the font is not Japanese
  kRecordCodePage,  // the lead bytes of the control's own code page, set from the font
  kUtf8,            // UTF-8 sequences; typed bytes are code page 932 text
};

// How the parent hears of the control.
enum class NotifyStyle : unsigned char {
  kPostEnChange,     // EN_CHANGE posted after every edit
  kSendFocusCodes,   // codes 0x64 (focus gained), 0x65 (focus lost), 0x66 (changed) sent
};

// When the result string of the input method is read as UTF-16.
enum class ImeResultRule : unsigned char {
  kImeInterface,     // when the input method runs its Unicode interface
  kFontCharset,      // when the font's charset is a double-byte one (see Variant)
  kEditorMode,       // in the UTF-16 drawing mode, else as bytes of the ANSI code page
};

struct Variant {
  const char* name;            // the deliverable, for diagnostics and tests
  int records;                 // instances in the table
  int bufferSize;              // bytes of each text and undo buffer
  int limit;                   // text limit at creation; EM_LIMITTEXT accepts no more
  LeadRule leadRule;
  NotifyStyle notify;
  ImeResultRule imeResult;
  bool imeResultForAnsiFont;   // kFontCharset: charset 128 also reads UTF-16
  bool enableAndGetFont;       // WM_ENABLE and WM_GETFONT are handled
  bool noPrefix;               // text is drawn with DT_NOPREFIX
  int imeResultDrop;           // results of this many bytes or more are dropped
};

inline constexpr Variant kImeVariant{
    "ime", 3, 128, 127, LeadRule::kFontFlag, NotifyStyle::kPostEnChange,
    ImeResultRule::kImeInterface, false, false, false, 256};

inline constexpr Variant kLookupVariant{
    "lookup", 3, 128, 127, LeadRule::kFontFlag, NotifyStyle::kPostEnChange,
    ImeResultRule::kFontCharset, false, false, false, 256};

inline constexpr Variant kWorkbenchVariant{
    "workbench", 10, 128, 127, LeadRule::kRecordCodePage, NotifyStyle::kSendFocusCodes,
    ImeResultRule::kFontCharset, true, true, true, 256};

inline constexpr Variant kPadVariant{
    "pad", 3, 512, 511, LeadRule::kRecordCodePage, NotifyStyle::kSendFocusCodes,
    ImeResultRule::kFontCharset, true, true, true, 256};

// 252 leaves room for one more three-byte sequence and the NUL in 256 bytes.
inline constexpr Variant kEditorVariant{
    "editor", 3, 256, 252, LeadRule::kUtf8, NotifyStyle::kPostEnChange,
    ImeResultRule::kEditorMode, false, false, true, 512};

// Notification codes of the kSendFocusCodes style.
constexpr unsigned kNotifyFocusGained = 0x64;
constexpr unsigned kNotifyFocusLost = 0x65;
constexpr unsigned kNotifyChanged = 0x66;
constexpr unsigned kEnChange = 0x300;

// Context-menu commands.
constexpr unsigned kMenuUndo = 1100;
constexpr unsigned kMenuCut = 1101;
constexpr unsigned kMenuCopy = 1102;
constexpr unsigned kMenuPaste = 1103;
constexpr unsigned kMenuDelete = 1104;
constexpr unsigned kMenuSelectAll = 1105;

}  // namespace sedit

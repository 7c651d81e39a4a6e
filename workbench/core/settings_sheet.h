// The rules of the workbench's settings sheet free of the window system:
// the three font records under the workbench's key (read with defaults,
// written to both Korean keys), the voice page's ranges and its refusal
// text, the font page's face lists and sizes, the input-method page's list
// rules and the name it stores, and the help contexts of the pages.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shared_settings.h"

namespace workbench::sheet {

// ---- font records ----
inline constexpr char kDalmokKeyPath[] = "SOFTWARE\\Valdrimo\\GeulmaruV6\\Dalmok";
enum FontSlot : int { kSlotKoreanGm = 0, kSlotKoreanKs = 1, kSlotJapanese = 2 };
inline constexpr const char* kFontKeys[3] = {"KoreanFontGM", "KoreanFontKS", "JapaneseFont"};
inline constexpr int kDefaultHeight = -21;
inline constexpr int kDefaultWeight = 400;
inline constexpr int kDefaultFontType = 4;
// The Korean slot of a code mode (1 KS, else GM).
inline int KoreanSlot(int codeMode) { return codeMode == 1 ? kSlotKoreanKs : kSlotKoreanGm; }
// The default face of a slot (code page 932).
const char* DefaultFace(int slot);
// 128 for slots 0 and 2, 129 for slot 1.
int SlotCharset(int slot);

struct FontSetting {
  settings::FontRecord font{};  // all zero when the slot could not be read
  int fontType = 0;
};
// The slot's record from HKEY_CURRENT_USER kDalmokKeyPath\<slot key>: a new
// key gets the defaults written (PitchAndFamily 1) and used; an existing key
// gives each value or its default (PitchAndFamily 4). A key that can be
// neither opened nor created (the warning shown with caption) or a slot
// outside 0-2 gives an all-zero record.
FontSetting ReadFontSetting(settings::SettingsPlatform& platform, int slot, const char* caption);
// Slot 2: its five values. Slot 0 or 1: Height, Weight, FontType and
// PitchAndFamily under both Korean keys, FaceName only under the slot's own.
// Other slots: nothing. Values are decimal REG_SZ without their NUL; a key
// that cannot be opened or created is passed over. False when anything that
// should have been written was not.
bool WriteFontSetting(settings::SettingsPlatform& platform, const settings::FontRecord& font, int fontType,
                      int slot, const char* caption);

// ---- voice page ----
struct VoiceRange {
  int min, max;
  const char* caption;  // code page 932: "ボリューム", "スピード", "ピッチ"
};
extern const VoiceRange kVolumeRange;  // 50-150
extern const VoiceRange kSpeedRange;   // 50-200
extern const VoiceRange kPitchRange;   // 80-120, both speakers
inline constexpr int kVoiceDefault = 100;
// A program value as the page starts with it: outside the range, 100.
inline int StartValue(int value, const VoiceRange& range) {
  return value < range.min || value > range.max ? kVoiceDefault : value;
}
// An edit box's text read as a number (as GetDlgItemInt, signed); nothing
// when it is no number or outside the range.
std::optional<int> AcceptEntry(std::string_view text, const VoiceRange& range);
// "%d-%dの範囲で値を設定してください。" with the range (code page 932).
std::string RangeMessage(const VoiceRange& range);
// The sentence the test speaks and the sample shows (UTF-16).
extern const char16_t kVoiceSample[];

// ---- dictionary page ----
// The radio values of the frame's settings (decimal text), held to the
// groups' ranges: method 0-2, window option 0-1.
int DictionaryMethodValue(std::string_view text);
int DictionaryWindowValue(std::string_view text);

// ---- font page ----
// Font types as the enumeration reports them.
inline constexpr unsigned kRasterFontType = 1;
// The Korean list of a code mode takes the face (UTF-16 name).
bool KoreanFaceListed(std::u16string_view face, unsigned fontType, int codeMode);
// The Japanese list takes the face.
bool JapaneseFaceListed(std::u16string_view face, unsigned fontType, int charset);
// Points of a raster face's height, rounded up (|height| x 72 / dpi).
int RasterPoints(int height, int dpi);
// The sizes a face offers in points: the raster heights once each, in the
// order met, or 8, 10, ..., 24.
std::vector<int> FaceSizes(bool raster, const std::vector<int>& rasterHeights, int dpi);
// The LOGFONT height of a size: -(MulDiv(points x 100, dpi, 72) / 100).
int HeightOfSize(int points, int dpi);
// The sample texts: "Sample문자" (KS mode; GM mode shows the same two
// Korean characters in GM code) and "Sample文字" (Japanese).
inline constexpr char16_t kKoreanSample[] = u"Sample\uBB38\uC790";
inline constexpr char16_t kJapaneseSample[] = u"Sample\u6587\u5B57";

// ---- input-method page ----
inline constexpr char kSelectImeValue[] = "SelectIME";
inline constexpr char kTextServicesName[] = "JP:Text Services Framework";
inline constexpr unsigned kJapaneseLanguage = 1041;
inline constexpr int kMaxLayouts = 100;
// A layout of language 1041 with this input-method file name (upper-cased)
// is listed: not empty, not one of the suite's own ("WARBEN", "TILBEN").
bool ImeFileListed(std::string_view upperFileName);
// "TSF:" + the first name + " etc." when there are more.
std::string TextServiceEntry(std::string_view firstName, int count);
// The name the page starts with: the text-service name becomes the entry.
std::string StartImeName(std::string_view programName, std::string_view tsfEntry);
// What OK stores: the entry becomes kTextServicesName; nothing when it
// equals the starting name.
std::optional<std::string> ImeNameToStore(std::string_view current, std::string_view tsfEntry,
                                          std::string_view starting);
// The chosen Japanese input method at start-up, from HKEY_CURRENT_USER
// kDalmokKeyPath: a stored text (up to 80 bytes; empty means the text
// services); a missing value is written from the installer's default (the
// same value under HKEY_LOCAL_MACHINE, or the text-services name) and used,
// except that a key just created uses the text-services name. Nothing when
// the key can be neither opened nor created (the warning shown).
std::optional<std::string> LoadSelectIme(settings::SettingsPlatform& platform, const char* caption);
// Writes "SelectIME" (REG_SZ with its NUL) under kDalmokKeyPath.
bool WriteSelectIme(settings::SettingsPlatform& platform, const std::string& name, const char* caption);

// ---- help ----
inline constexpr unsigned kImePage = 233, kVoicePage = 240, kDictionaryPage = 261, kFontPage = 144;
// 25, 26, 27, 28 for the four pages, 1 for any other.
int HelpContextOfPage(unsigned templateId);

}  // namespace workbench::sheet

// The editor's settings in its profile: the sections "Control" (paste code,
// file codes, rich-text copies; written at exit) and "Font" (the view font;
// written when the font dialog is closed with OK).
#pragma once

#include <string>

#include "doc_seams.h"
#include "profile.h"

namespace brisel {

inline constexpr std::u16string_view kControlSection = u"Control";
inline constexpr std::u16string_view kFontSection = u"Font";

// Reading codes (InFileType) and writing codes (OutFileType).
inline constexpr int kInFileTypeCount = 6;   // 0 automatic .. 5 GM
inline constexpr int kOutFileTypeCount = 5;  // 0 UTF-8 .. 4 GM
inline constexpr int kPasteCodeCount = 3;    // 0 automatic, 1 KS, 2 GM

// The file codes (InFileType, OutFileType) are the part the document reads.
struct EditorSettings : FileCodeSettings {
  int pasteCode = 0;
  int ksCopyFlag = 1;  // 1: a KS copy also as rich text
  int gmCopyFlag = 1;
  std::u16string ksCopyFont = u"KS P Mincho";
  std::u16string gmCopyFont = u"ＧＭ韓国明朝";
};

// The section "Control"; a code outside its range (a hand-edited file)
// reads as the default 0, so that no reader or writer is ever chosen by a
// number it does not know.
EditorSettings ReadControlSettings(fw::Profile& profile);
bool WriteControlSettings(fw::Profile& profile, const EditorSettings& settings);

// The view font as the profile keeps it.
struct FontSettings {
  int height = -21;
  int weight = 400;
  int charSet = 129;
  std::u16string faceName = u"KS P Mincho";  // at most kFaceNameLength units
  int fontType = 4;
  int pitchAndFamily = 1;
};
inline constexpr size_t kFaceNameLength = 31;

FontSettings ReadFontSettings(fw::Profile& profile);
bool WriteFontSettings(fw::Profile& profile, const FontSettings& font);

}  // namespace brisel

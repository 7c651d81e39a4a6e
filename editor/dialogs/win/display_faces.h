// The Korean faces of the display as the settings and font dialogs list
// them: EnumFontFamiliesExW with DEFAULT_CHARSET on an information context
// of "DISPLAY", sorted by the rules of dialog_rules.h; a raster face is
// enumerated again by its name for the sizes it offers.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "dialog_rules.h"

namespace brisel {

FaceList EnumerateDisplayFaces();
// Where a dialog takes its faces from (null: EnumerateDisplayFaces).
using FaceSource = std::function<FaceList()>;
inline FaceList FacesFrom(const FaceSource& source) { return source ? source() : EnumerateDisplayFaces(); }
// LOGPIXELSY of the display.
int DisplayLogPixelsY();

inline std::wstring Wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
inline std::u16string U16(std::wstring_view s) { return std::u16string(s.begin(), s.end()); }

}  // namespace brisel

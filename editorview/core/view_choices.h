// Choices the view makes from its font: which edition of the Korean input
// method it activates, what the status bar names, and which code settings
// return to automatic when the font's code changes.
#pragma once

#include <cstdint>
#include <span>

#include "ime_layouts.h"

namespace editorview {

// The editions by file name, first found wins: the Unicode (KS-code)
// edition for a KS font, the GM edition for a GM font.
inline constexpr const char* kUnicodeEditionFiles[] = {"ZORBENV6.IME", "DAZUVAV5.URA", "ZORBENV4.IME"};
inline constexpr const char* kGmEditionFiles[] = {"WARBENV6.IME", "WARBENV5.IME", "WARBENV4.IME", "WARBEN95.IME"};
std::span<const char* const> EditionFilesForCharset(int charset);

// The layout of the first name (in the names' order) whose input-method
// file name some layout has, without regard to case; only the first 100
// layouts count. 0 when none is installed.
uintptr_t FindLayoutByImeFile(std::span<const char* const> names, std::span<const codeconv::ImeLayoutEntry> layouts);

// Status-bar pane 2: string 62014 ("GM") for a GM font, 62016 ("KS") for a KS font.
int CodeStatusStringId(int charset);

// The program's code settings that name a code of the font.
struct CodeSettings {
  int pasteCode = 0;    // 0 automatic, 1 KS, 2 GM
  int inFileType = 0;   // 0 automatic ... 3 the font's code, 4 KS, 5 GM
  int outFileType = 2;  // 0 UTF-8, 1 Unicode, 2 the font's code, 3 KS, 4 GM
};
// After the font's code changed: when a setting named a code (paste code
// above 0, reading code above 3, writing code above 2), they return to
// automatic, automatic and the font's code, and the result is true: the
// caller beeps and shows string 62023.
bool ResetCodesAfterFontCodeChange(CodeSettings& settings);

}  // namespace editorview

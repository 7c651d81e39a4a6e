// What the export derives from its arguments and the registry: the font
// charset and help file by the input method's file name, the program folder
// from "Install Directory", the dictionary paths, the sheet's caption, and
// the text that the lists draw in the input method's code.
#pragma once
#include <string>
#include <string_view>

#include "gm_remap.h"
#include "lookup_codes.h"

namespace lookup {

// The input method's file name begins with the first letter of the KS
// edition's name (ZORBENV6.IME), the same test the input method makes.
bool IsKsEditionName(const std::string& imeFileName);
int FontCharsetFor(const std::string& imeFileName);        // 129 KS edition, 128 otherwise
std::string HelpFileFor(const std::string& imeFileName);   // "ZORBENV6.CHM" or "WARBENV6.CHM"

// "Install Directory" with "\" added when it does not end in one, then
// "GeulmaruV6\"; an empty value gives "GeulmaruV6\" alone (relative to the
// current folder), never the drive root.
std::string ProgramFolder(const std::string& installDirectory);
inline constexpr char kRadicalDictionary[] = "SYSDIC\\GmV6e.dic";
inline constexpr char kJisoDictionary[] = "SYSDIC\\GmV6Jiso.Dic";

// The sheet's caption: the base followed by " (KS)" for code number 1 and
// " (GM)" for 2; code number 0 adds nothing.
std::u16string SheetCaption(std::u16string_view base, int koreanCode);

// GM95 text as the input method's code draws it: KS for code number 1, GM V3
// for 2, unchanged for 0; at most 256 bytes.
std::string DisplayBytes(std::string_view gm95, int koreanCode, const codeconv::GmTables* tables);
// The code page in which a font of the charset shows those bytes.
unsigned CodePageOfCharset(int charset);

}  // namespace lookup

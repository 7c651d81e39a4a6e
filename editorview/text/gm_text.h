// The editor's routines between UTF-16 and the GM code: code page 949 (KS)
// on the way, and the program's one GM/KS converter for the last step.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "code_page.h"
#include "gm_converter.h"

namespace editorview {

// Code page 949 bytes to GM. Only KS X 1001 pairs (both bytes 0xA1 or above)
// have a GM place; every other pair (the extension syllables of code page
// 949) and a lead byte without its trail byte become one "?", which GM text
// can hold, instead of bytes that GM would read as another character.
std::string KsToGmText(const codeconv::GmCodeConverter& converter, std::string_view ks);

// The converter's KsCharToGm of every KS X 1001 pair, taken once, so that
// long texts (a whole file) turn to GM by table.
class KsToGmTable {
 public:
  explicit KsToGmTable(const codeconv::GmCodeConverter& converter);

 private:
  friend std::string KsToGmText(const KsToGmTable& table, std::string ks);
  std::vector<codeconv::DbChar> pairs_;
};

// As KsToGmText with the converter the table was taken from; converts the
// given string in place.
std::string KsToGmText(const KsToGmTable& table, std::string ks);

// Converts units (negative: up to the NUL) to code page 949 and then to GM
// (KsToGmText). The text and its NUL must fit in room bytes; a text that
// does not fit gives an empty string. Returns the bytes written, without the
// NUL (0 when nothing was written).
int UnicodeToGm(const codeconv::GmCodeConverter& converter, const char16_t* source, int units, char* destination,
                int room, const codeconv::CodePageConverter& pages = codeconv::PlatformCodePages());

// Converts the NUL-terminated GM text to KS in place and then from code page
// 949 into destination; the units and their NUL must fit in room units, else
// the destination gets an empty string. Returns the units written, without
// the NUL.
int GmToUnicode(const codeconv::GmCodeConverter& converter, char* text, char16_t* destination, int room,
                const codeconv::CodePageConverter& pages = codeconv::PlatformCodePages());

}  // namespace editorview

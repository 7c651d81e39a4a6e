// The clipboard rules that need no clipboard: bounded reads of clipboard
// blocks, the "?" counts that choose between CF_TEXT and CF_UNICODETEXT, and
// the rich-text runs that no Korean code can convert.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "code_page.h"

namespace editorview {

// The face prefix of the GM-code fonts in rich text (as code page 932 bytes there).
inline constexpr std::u16string_view kGmFacePrefix = u"\xFF27\xFF2D\x97D3\x56FD";  // ＧＭ韓国

int CountQuestionMarks(std::string_view text);
int CountQuestionMarks(std::u16string_view text);

enum class PasteSource : unsigned char { kBytes, kUnicode };
// The editor's text paste with both formats or one: CF_UNICODETEXT when
// CF_TEXT holds at least as many "?" (one more with paste code 2, GM), else
// CF_TEXT. At least one of the two is present.
PasteSource ChoosePasteSource(const std::optional<std::string>& bytes, const std::optional<std::u16string>& unicode,
                              int pasteCode);

// Whether rich text that came out of the paste is mostly "?": in its first
// 100 bytes more than one byte in ten.
bool MostlyQuestionMarks(std::string_view text);

// A run in a font of no Korean code: ASCII bytes as they are, every other
// character (a double-byte one of the ANSI code page, or a single high byte)
// as one "?". lossy is set when any character was lost.
std::u16string RunToUnicodeLossy(std::string_view run, bool& lossy);

// The forks' paste: the CF_TEXT bytes in the view's code; a KS view takes
// CF_UNICODETEXT instead (as code page 949) when that holds fewer "?".
std::optional<std::string> ForkPasteBytes(const std::optional<std::string>& bytes,
                                          const std::optional<std::u16string>& unicode, bool gmView,
                                          const codeconv::CodePageConverter& pages);

}  // namespace editorview

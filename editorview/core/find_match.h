// Matching a search text in one line: candidates only at character starts
// (so a Korean pattern never matches on a character's trail bytes), with or
// without regard to the case of ASCII letters, never across the line end.
#pragma once

#include <string_view>

#include "text_code.h"

namespace editorview {

// Whether pattern matches line at offset: the bytes equal, or with
// matchCase off equal after a-z are taken as A-Z on both sides (multibyte
// characters hold no ASCII bytes, so they must be equal byte for byte).
bool MatchesAt(std::string_view line, std::ptrdiff_t offset, std::string_view pattern, bool matchCase);

// Offset of the first / last match in line, -1 when there is none (or the
// pattern is empty).
int FindForwardInLine(const TextCode& code, std::string_view line, std::string_view pattern, bool matchCase);
int FindBackwardInLine(const TextCode& code, std::string_view line, std::string_view pattern, bool matchCase);

}  // namespace editorview

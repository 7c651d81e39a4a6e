// The name that the editor's OpenDocumentFile is given (from its command
// line, a dropped file, the recent-file list or the file dialog) made into
// the path it opens.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brisel {

// The longest name taken (MAX_PATH).
inline constexpr size_t kMaxDocumentName = 260;

// A leading double quote skipped and the text cut at its last double quote
// ("C:\My Files\a.txt" with its quotes gives the path inside them); nothing
// for a name that is empty after this or longer than kMaxDocumentName, which
// would otherwise open another file than the one named.
std::optional<std::u16string> DocumentPathArgument(std::u16string_view name);

// A shell shortcut (".lnk", any case), which opens as its target.
bool IsShortcutPath(std::u16string_view path);

}  // namespace brisel

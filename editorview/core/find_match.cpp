#include "find_match.h"

#include <cstddef>
#include <cstring>

namespace editorview {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The first place of pattern in line at or after from.
size_t FindBytes(std::string_view line, std::string_view pattern, size_t from) {
#ifdef __GLIBC__
  const void* found = memmem(line.data() + from, line.size() - from, pattern.data(), pattern.size());
  return found ? static_cast<size_t>(static_cast<const char*>(found) - line.data()) : std::string_view::npos;
#else
  return line.find(pattern, from);
#endif
}

// Next place at or after from where the whole pattern stands, ignoring
// character boundaries; npos when none begins at or before limit.
size_t NextCandidate(std::string_view line, std::string_view pattern, bool matchCase, size_t from,
                     std::ptrdiff_t limit) {
  if (static_cast<std::ptrdiff_t>(from) > limit) return std::string_view::npos;
  if (matchCase) return FindBytes(line, pattern, from);
  const char first = Upper(pattern[0]);
  for (auto i = static_cast<std::ptrdiff_t>(from); i <= limit; ++i) {
    if (Upper(line[static_cast<size_t>(i)]) == first && MatchesAt(line, i, pattern, false)) {
      return static_cast<size_t>(i);
    }
  }
  return std::string_view::npos;
}

// Calls found(offset) for every match at a character start, in order, until
// it returns false.
template <class Found>
void ForEachMatch(const TextCode& code, std::string_view line, std::string_view pattern, bool matchCase,
                  Found&& found) {
  if (pattern.empty()) return;
  // Signed: a pattern longer than the line leaves no candidate.
  const std::ptrdiff_t limit =
      static_cast<std::ptrdiff_t>(line.size()) - static_cast<std::ptrdiff_t>(pattern.size());
  const int length = static_cast<int>(line.size());
  int boundary = 0;  // a character start; every candidate checked lies at or after it
  size_t from = 0;
  for (;;) {
    const size_t candidate = NextCandidate(line, pattern, matchCase, from, limit);
    if (candidate == std::string_view::npos || static_cast<std::ptrdiff_t>(candidate) > limit) return;
    while (boundary < static_cast<int>(candidate)) boundary += code.CharLength(line.data(), boundary, length);
    if (boundary == static_cast<int>(candidate)) {
      if (!found(boundary)) return;
      boundary += code.CharLength(line.data(), boundary, length);
    }
    from = static_cast<size_t>(boundary);
  }
}

}  // namespace

bool MatchesAt(std::string_view line, std::ptrdiff_t offset, std::string_view pattern, bool matchCase) {
  if (offset < 0 || offset > static_cast<std::ptrdiff_t>(line.size()) - static_cast<std::ptrdiff_t>(pattern.size())) {
    return false;
  }
  const std::string_view here = line.substr(static_cast<size_t>(offset), pattern.size());
  if (matchCase) return here == pattern;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (Upper(here[i]) != Upper(pattern[i])) return false;
  }
  return true;
}

int FindForwardInLine(const TextCode& code, std::string_view line, std::string_view pattern, bool matchCase) {
  int result = -1;
  ForEachMatch(code, line, pattern, matchCase, [&](int offset) {
    result = offset;
    return false;
  });
  return result;
}

int FindBackwardInLine(const TextCode& code, std::string_view line, std::string_view pattern, bool matchCase) {
  int result = -1;
  ForEachMatch(code, line, pattern, matchCase, [&](int offset) {
    result = offset;
    return true;
  });
  return result;
}

}  // namespace editorview

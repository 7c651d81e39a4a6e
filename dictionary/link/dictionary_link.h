// How other programs start the dictionary program and hand it a search: the
// command-line tail (escaped text, direction, method, forward flag, topmost
// letter) and the 268-byte WM_COPYDATA block a second instance sends to the
// running one. Portable: the translation workbench links it to write the
// command line, the dictionary program to read both.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ombrel::link {

enum Direction : int { kJapaneseToKorean = 0, kKoreanToJapanese = 1 };
enum SearchMethod : int { kStandard = 0, kPrefix = 1, kSuffix = 2 };

inline bool IsValidDirection(int d) { return d == kJapaneseToKorean || d == kKoreanToJapanese; }
inline bool IsValidMethod(int m) { return m >= kStandard && m <= kSuffix; }

// The bytes of the escaped text that count; the rest up to the ',' is skipped.
inline constexpr std::size_t kQueryTextBytes = 384;

struct DictionaryCommandLine {
  std::string text;      // escaped search text, at most kQueryTextBytes bytes
  int direction = kJapaneseToKorean;
  std::optional<int> method;  // absent: the SearchMethod setting applies
  bool forward = false;
  bool topmost = false;
  // A direction or method field held a number outside its range; that field
  // (and the ones after it) kept the default.
  bool rejectedField = false;
};

// Parses the tail after the program path. The text runs to the first ','
// (cut at 384 bytes; a first byte below 0x20 makes it empty); the fields
// after it follow "%d, %d, %d, %c", a missing field keeping its default.
DictionaryCommandLine ParseDictionaryCommandLine(std::string_view tail);

// The tail the workbench writes: text (already escaped, no ','), then
// ",direction,method,forward,letter" with 't' for topmost and 'f' otherwise.
std::string FormatDictionaryCommandLine(std::string_view escapedText, int direction, int method, bool forward,
                                        bool topmost);

// ---- the hand-over block ----
inline constexpr std::size_t kRequestSize = 268;
inline constexpr std::size_t kRequestTextBytes = 256;  // with its NUL
inline constexpr std::size_t kRequestDirectionOffset = 256;
inline constexpr std::size_t kRequestMethodOffset = 260;
inline constexpr std::size_t kRequestTopmostOffset = 264;

struct DictionaryRequest {
  std::string text;  // escaped, at most 255 bytes
  int direction = kJapaneseToKorean;
  int method = kStandard;
  bool topmost = false;
};

using RequestBlock = std::array<uint8_t, kRequestSize>;

// The longest head of an escaped text that fits in limit bytes without
// cutting an escape ("%XX" or "%uXXXX") apart.
std::size_t EscapedTextCut(std::string_view escaped, std::size_t limit);

// Fills the block: the text cut at an escape boundary to 255 bytes and
// NUL-terminated, the three numbers little-endian, the rest zero.
RequestBlock EncodeDictionaryRequest(std::string_view escapedText, int direction, int method, bool topmost);

// Reads a block received by WM_COPYDATA. Nothing when the block is shorter
// than 268 bytes (or null), when the text has no NUL within its 256 bytes, or
// when the direction is not 0-1 or the method not 0-2. The topmost field
// counts as set when it is 1.
std::optional<DictionaryRequest> DecodeDictionaryRequest(const void* data, std::size_t size);

}  // namespace ombrel::link

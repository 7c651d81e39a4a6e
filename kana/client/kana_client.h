// The kana-reading library as the programs use it: KNChange is called once
// to measure the reading and once to write it into a buffer sized from the
// measure and from the text itself, so that a library that writes more than
// it measured cannot run past the buffer; a reading whose two lengths differ
// is not taken. The library stays behind an interface (the DLL bound by name
// in the programs, the reading core or a fake in tests).
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace kana {

// KNChange's arguments and result.
class ReadingLibrary {
 public:
  virtual ~ReadingLibrary() = default;
  // False when the library or its export is missing.
  virtual bool Available() = 0;
  virtual int KnChange(int kanjiForm, const char** text, char* out, int inputIsKS, int keepFullWidth) = 0;
};

// How a program asks for its readings.
struct ReadingRequest {
  int kanjiForm;      // 0: modern Japanese forms of hanja; 1: the same characters
  int inputIsKS;      // 1: KS code; otherwise GM code
  int keepFullWidth;  // 1: full-width katakana
};
// The text player: hanja as they are, KS text, full width.
inline constexpr ReadingRequest kPlayerReading{1, 1, 1};

// The most bytes a reading of a text of that many bytes can take: a syllable
// (two bytes) reads as at most an initial-and-medial cell and a final entry
// with a small "ッ", a single byte as itself.
std::size_t ReadingBound(std::size_t textBytes);

// The reading (Shift-JIS) of text; empty for an empty text, a missing
// library, or a library whose writing call disagreed with its measure.
std::string ReadKana(ReadingLibrary& library, std::string_view text, const ReadingRequest& request);

}  // namespace kana

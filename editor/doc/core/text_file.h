// The editor's text files: the three readers (UTF-8, UTF-16 with its mark,
// the KS and GM byte codes) that turn a file's bytes into UTF-8 lines, and
// the writer of the five output codes. Portable; the file system and the
// messages stay with the caller.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "line_document.h"
#include "text_code.h"

namespace brisel {

// Reading codes (the setting InFileType) and writing codes (OutFileType).
enum InFileType : int {
  kInAutomatic = 0,
  kInUtf8 = 1,
  kInUnicode = 2,
  kInFontCode = 3,
  kInKs = 4,
  kInGm = 5,
};
enum OutFileType : int {
  kOutUtf8 = 0,
  kOutUnicode = 1,  // UTF-16 little-endian with the mark FF FE
  kOutFontCode = 2,
  kOutKs = 3,
  kOutGm = 4,
};

// A document never holds more lines than a file of it can give back.
inline constexpr int kMaxLines = editorview::kEditorLineLimit;
// Line limits of the readers: UTF-8 bytes (a character that straddles the
// limit is completed), UTF-16 units, bytes of the KS and GM codes (a lead
// byte at the limit still takes its trail byte).
inline constexpr size_t kUtf8LineLimit = 32764;
inline constexpr size_t kUnitLineLimit = 10922;
// The longest UTF-8 line stored; longer ones are stored empty.
inline constexpr size_t kMaxStoredLineBytes = 32767;

// Flag bits of the code detector that the editor relies on.
inline constexpr unsigned kDetectMask = 992;
inline constexpr unsigned kDetectedUtf16 = 0x1B0318;
inline constexpr unsigned kDetectedUtf8 = 0x48084;
inline constexpr unsigned kDetectedKs = 0x20;
inline constexpr unsigned kDetectedGm = 0x40;
// The detector sees at most this many bytes of a file.
inline constexpr size_t kDetectSampleBytes = 1024;

struct ReadOutcome {
  std::vector<std::string> lines;  // UTF-8 without line ends; at least one
  bool failed = false;       // the bytes are not in the reader's code (lines: one empty line)
  bool cut = false;          // reading stopped at kMaxLines
  bool tooLong = false;      // a line's UTF-8 was too long and is stored empty
  bool outOfMemory = false;  // reading stopped where memory ran out
  // What the lines hold differently from the file (each a count):
  size_t undecodableLines = 0;  // lines with bytes (units) that are not text of the code
  size_t droppedControls = 0;   // control bytes left out (not the CR of a CR LF)
  size_t loneCrs = 0;           // CRs without an LF after them, left out
  size_t splitLines = 0;        // lines ended at the reader's length limit
  // The text read is not the file's text as it stands.
  bool Changed() const { return undecodableLines || droppedControls || loneCrs || splitLines; }
  // The lines are not all of the file, or not as the file has them: a save
  // of them over the file would change it.
  bool Lossy() const { return cut || tooLong || outOfMemory || Changed(); }
};

// Common rules: LF ends a line; TAB and bytes (units) from 0x20 up stay;
// CR and the other control bytes are dropped; a line that reaches the
// reader's limit goes on as the next line; a final line end adds no line;
// an empty file gives one empty line.

// UTF-8 lines; fails when a line does not pass IsValidUtf8. No byte-order
// mark is recognised (EF BB BF stays as U+FEFF).
ReadOutcome ReadUtf8(std::string_view file);
// UTF-16 after the mark FF FE (little-endian) or FE FF (big-endian); fails
// without a mark.
ReadOutcome ReadUnicode(std::string_view file);
// KS (code 0, lead bytes 81..FF) or GM (code 1, lead bytes 81..9F, E0..FF)
// bytes converted with code's conversions; never fails.
ReadOutcome ReadMultiByte(std::string_view file, int code, const editorview::TextCode& conversions);

// Every character (by Utf8CharLength) of 2 to 6 bytes has a lead byte of at
// least C0, E0, F0, F8 or FC; single bytes always pass.
bool IsValidUtf8(std::string_view line);

// The reader that InFileType 0 takes for the detector's flags (mask 992).
enum class Reader : unsigned char { kUtf8, kUnicode, kMultiByte };
struct ReaderChoice {
  Reader reader;
  int code;  // for kMultiByte: 0 KS, 1 GM
};
ReaderChoice ChooseReader(unsigned detectedFlags, int fontCode);

// Characters of the text that a writing code cannot hold.
struct MissingCharacters {
  size_t count = 0;       // characters (a surrogate pair is one)
  char32_t first = 0;     // the first of them in the text
  int firstLine = -1;     // its line
};

// The bytes of a file of the lines in outFileType: every line followed by
// CR LF (UTF-16: 0D 00 0A 00 after the mark FF FE). fontCode (0 KS, 1 GM)
// serves kOutFontCode. A supplementary character (kept as two 3-byte units
// or as one 4-byte sequence) is written as one 4-byte UTF-8 sequence and as
// a surrogate pair in UTF-16. The byte codes get what the conversion gives
// for characters they lack; missing (when given) counts those characters.
std::string WriteLines(const editorview::LineDocument& lines, int outFileType, int fontCode,
                       const editorview::TextCode& conversions, MissingCharacters* missing = nullptr);

}  // namespace brisel

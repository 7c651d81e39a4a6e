// The tricky files and saves of the document's tests, shared by the native
// tests and the Wine test of the 32-bit document code: for each file the
// lines read, whether the load is lossy, what a plain save writes and what
// the user is told; for each save the characters the code lacks.
//
// Expected values come from the file formats and code repertoires: KS X 1001
// has no "é", "¥" (only the full-width U+FFE5), Thai or characters beyond
// U+FFFF; the KS reader's lines hold 10922 bytes, the UTF-16 reader's 10922
// units; U+1F600 is F0 9F 98 80 in UTF-8 and D83D DE00 in UTF-16.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "text_file.h"

namespace brisel::tricky {

inline std::string Le16(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

// What a read told the user in its one message: the count of each change.
struct Told {
  size_t undecodable = 0, dropped = 0, loneCrs = 0, split = 0;
  bool operator==(const Told&) const = default;
};
inline Told TellingOf(const ReadOutcome& read) {
  return {read.undecodableLines, read.droppedControls, read.loneCrs, read.splitLines};
}

struct FileRow {
  const char* name;
  int in;  // InFileType
  std::string file;
  size_t lines;
  bool lossy;
  Told told;
  std::optional<std::string> plainSave;  // nothing: the plain save asks for a name
};

inline const std::string kHangulUtf8 = "\xED\x95\x9C\xEA\xB8\x80";  // U+D55C U+AE00
inline const std::string kHangulKs = "\xC7\xD1\xB1\xDB";
inline const std::string kHangulGm = "\x94\x70\x89\x7A";

inline std::vector<FileRow> FileRows() {
  std::u16string pairAtCut(10921, u'a');
  pairAtCut += u"\U0001F600b";
  std::string utf8AfterAscii(1100, 'a');
  utf8AfterAscii += "\r\n" + kHangulUtf8 + "\r\n";
  std::string utf8CutAtSample(1023, 'a');
  utf8CutAtSample += kHangulUtf8 + "\r\n";
  return {
      {"ks ending in a lone lead byte", kInAutomatic, kHangulKs + "\xC7", 1, true, {1, 0, 0, 0}, std::nullopt},
      {"latin-1 cafe, detected", kInAutomatic, "caf\xE9\r\n", 1, true, {1, 0, 0, 0}, std::nullopt},
      {"utf16 with an odd last byte", kInAutomatic, "\xFF\xFE" + Le16(u"ab") + "c", 1, true, {1, 0, 0, 0},
       std::nullopt},
      {"NUL and ESC in utf8", kInUtf8, std::string("a\0b\x1B" "c\r\n", 7), 1, true, {0, 2, 0, 0}, std::nullopt},
      {"CR-only line ends", kInAutomatic, "a\rb\rc", 1, true, {0, 0, 2, 0}, std::nullopt},
      // 40000 = 3 * 10922 + 7234: the KS reader's limit (an ASCII file reads as the font's code).
      {"40000-byte ascii line", kInAutomatic, std::string(40000, 'a'), 4, true, {0, 0, 0, 3}, std::nullopt},
      {"utf16 surrogate pair at the 10922-unit cut", kInAutomatic, "\xFF\xFE" + Le16(pairAtCut), 2, true,
       {0, 0, 0, 1}, std::nullopt},
      {"utf8 after 1100 ascii bytes", kInAutomatic, utf8AfterAscii, 2, false, {}, utf8AfterAscii},
      {"utf8 starting at the sample's last byte", kInAutomatic, utf8CutAtSample, 1, false, {}, utf8CutAtSample},
      {"utf8 4-byte character", kInAutomatic, "\xF0\x9F\x98\x80\r\n", 1, false, {}, "\xF0\x9F\x98\x80\r\n"},
      {"utf8 pair as two 3-byte units", kInAutomatic, "\xED\xA0\xBD\xED\xB8\x80\r\n", 1, false, {},
       "\xF0\x9F\x98\x80\r\n"},
      {"ks", kInAutomatic, kHangulKs + "\r\n", 1, false, {}, kHangulKs + "\r\n"},
      {"gm", kInAutomatic, kHangulGm + "\r\n" + kHangulGm, 2, false, {}, kHangulGm + "\r\n" + kHangulGm + "\r\n"},
      {"utf8 LF line ends", kInAutomatic, "a\n" + kHangulUtf8 + "\n", 2, false, {}, "a\r\n" + kHangulUtf8 + "\r\n"},
      {"utf16 big-endian", kInAutomatic, std::string("\xFE\xFF\xD5\x5C", 4), 1, false, {},
       std::string("\xFF\xFE\x5C\xD5\r\0\n\0", 8)},
  };
}

struct SaveRow {
  const char* name;
  int out;       // OutFileType
  int fontCode;  // 0 KS, 1 GM
  std::string line0, line1;  // UTF-8; line1 empty: one line
  size_t count;
  char32_t first;
  int firstLine;
};

inline std::vector<SaveRow> SaveRows() {
  const std::string thai = "\xE0\xB9\x84\xE0\xB8\x97\xE0\xB8\xA2";  // U+0E44 U+0E17 U+0E22
  const std::string eAcute = "\xC3\xA9";                            // U+00E9
  const std::string yen = "\xC2\xA5";                               // U+00A5
  const std::string grin = "\xF0\x9F\x98\x80";                      // U+1F600
  return {
      {"thai as ks", kOutKs, 0, kHangulUtf8, thai, 3, 0x0E44, 1},
      {"thai as gm", kOutGm, 0, kHangulUtf8, thai, 3, 0x0E44, 1},
      {"thai as the font's code (GM font)", kOutFontCode, 1, thai, "", 3, 0x0E44, 0},
      {"e acute as ks", kOutKs, 0, "caf" + eAcute, "", 1, 0xE9, 0},
      {"e acute as gm", kOutGm, 0, "caf" + eAcute, "", 1, 0xE9, 0},
      {"yen as ks", kOutKs, 0, "a" + yen + yen, "", 2, 0xA5, 0},
      {"a supplementary character as ks", kOutKs, 0, "ab", kHangulUtf8 + grin, 1, 0x1F600, 1},
      {"a supplementary character as gm", kOutGm, 0, grin, "", 1, 0x1F600, 0},
  };
}

// The text of a save row as a UTF-8 file writes it.
inline std::string Utf8FileOf(const SaveRow& r) {
  std::string out = r.line0 + "\r\n";
  if (!r.line1.empty()) out += r.line1 + "\r\n";
  return out;
}

}  // namespace brisel::tricky

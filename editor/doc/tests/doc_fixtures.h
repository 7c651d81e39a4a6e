// Byte fixtures of the document tests: the texts of the Part's examples in
// each code, and fakes of the code-page converter.
#pragma once

#include <string>

#include "code_page.h"
#include "fixtures.h"
#include "text_code.h"

namespace brisel::test {

inline const codeconv::GmCodeConverter& Gm() { return codeconv::test::GeneratedConverter(); }

// U+D55C U+AE00 (the two syllables of "Hangul") in each code.
inline const std::string kHangulUtf8 = "\xED\x95\x9C\xEA\xB8\x80";
inline const std::string kHangulKs = "\xC7\xD1\xB1\xDB";  // code page 949
// GM: the KS rows and cells in the Shift-JIS shape (row 39 cell 49, row 17
// cell 59); Hangul rows are not remapped between GM95 and GM V3.
inline const std::string kHangulGm = "\x94\x70\x89\x7A";
inline const std::u16string kHangulUtf16 = u"\uD55C\uAE00";

// A code page that marks what it was given: ASCII stays; a byte from 0x80
// with a byte after it becomes U+AC00 + its trail byte; a byte from 0x80
// without one becomes U+FFFD. Optionally every ASCII byte becomes
// `asciiUnits` units of U+AC00 (to make long UTF-8).
class MarkingCodePage final : public codeconv::CodePageConverter {
 public:
  explicit MarkingCodePage(int asciiUnits = 1) : asciiUnits_(asciiUnits) {}
  std::u16string ToUtf16(unsigned, const std::string& bytes) const override {
    std::u16string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      if (b < 0x80) {
        if (asciiUnits_ == 1 || b == '\n') {
          out.push_back(b);
        } else {
          out.append(static_cast<size_t>(asciiUnits_), u'\uAC00');
        }
      } else if (i + 1 < bytes.size() && bytes[i + 1] != '\n') {
        out.push_back(static_cast<char16_t>(0xAC00 + static_cast<unsigned char>(bytes[++i])));
      } else {
        out.push_back(u'\uFFFD');
      }
    }
    return out;
  }
  std::string FromUtf16(unsigned, const std::u16string&) const override { return {}; }

 private:
  int asciiUnits_;
};

}  // namespace brisel::test

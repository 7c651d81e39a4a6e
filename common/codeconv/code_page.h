// Conversion between UTF-16 and a Windows ANSI code page (949 for KS text, 932
// for Japanese): iconv on Linux, MultiByteToWideChar/WideCharToMultiByte on
// Windows, behind one small interface.
#pragma once
#include <string>

namespace codeconv {

class CodePageConverter {
 public:
  virtual ~CodePageConverter() = default;
  // Characters that the code page lacks are left out.
  virtual std::u16string ToUtf16(unsigned codePage, const std::string& bytes) const = 0;
  virtual std::string FromUtf16(unsigned codePage, const std::u16string& text) const = 0;
};

// The converter of the platform this was built for.
const CodePageConverter& PlatformCodePages();

}  // namespace codeconv

#include "code_page.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#include <cerrno>
#endif

namespace codeconv {
namespace {

#ifdef _WIN32
class Win32CodePages final : public CodePageConverter {
 public:
  std::u16string ToUtf16(unsigned codePage, const std::string& bytes) const override {
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string out(static_cast<size_t>(n > 0 ? n : 0), u'\0');
    if (n > 0) {
      MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                          reinterpret_cast<wchar_t*>(out.data()), n);
    }
    return out;
  }
  std::string FromUtf16(unsigned codePage, const std::u16string& text) const override {
    if (text.empty()) return {};
    const wchar_t* w = reinterpret_cast<const wchar_t*>(text.data());
    // No best fit: a character the code page lacks is never written as a
    // look-alike ("e" for "é"); code pages that refuse the flag go without.
    DWORD flags = WC_NO_BEST_FIT_CHARS;
    int n = WideCharToMultiByte(codePage, flags, w, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n == 0 && GetLastError() == ERROR_INVALID_FLAGS) {
      flags = 0;
      n = WideCharToMultiByte(codePage, flags, w, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    }
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(codePage, flags, w, static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
  }
};
using PlatformConverter = Win32CodePages;
#else
const char* IconvName(unsigned codePage) {
  switch (codePage) {
    case 949: return "CP949";
    case 932: return "CP932";
    case 936: return "CP936";
    case 950: return "CP950";
    case 65001: return "UTF-8";
    default: return "ASCII";
  }
}

std::string Convert(const char* to, const char* from, const char* data, size_t size) {
  std::string out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return out;
  char* in = const_cast<char*>(data);
  size_t inLeft = size;
  char buffer[256];
  while (inLeft > 0) {
    char* o = buffer;
    size_t outLeft = sizeof buffer;
    size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
    out.append(buffer, static_cast<size_t>(o - buffer));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      // Skip one unit that the code page cannot take and go on.
      size_t skip = std::string(from) == "UTF-16LE" ? 2 : 1;
      if (inLeft < skip) break;
      in += skip;
      inLeft -= skip;
    }
  }
  iconv_close(cd);
  return out;
}

class IconvCodePages final : public CodePageConverter {
 public:
  std::u16string ToUtf16(unsigned codePage, const std::string& bytes) const override {
    std::string raw = Convert("UTF-16LE", IconvName(codePage), bytes.data(), bytes.size());
    std::u16string out(raw.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i) {
      out[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                     static_cast<unsigned char>(raw[2 * i + 1]) << 8);
    }
    return out;
  }
  std::string FromUtf16(unsigned codePage, const std::u16string& text) const override {
    std::string raw;
    for (char16_t c : text) {
      raw.push_back(static_cast<char>(c & 0xFF));
      raw.push_back(static_cast<char>(c >> 8));
    }
    return Convert(IconvName(codePage), "UTF-16LE", raw.data(), raw.size());
  }
};
using PlatformConverter = IconvCodePages;
#endif

}  // namespace

const CodePageConverter& PlatformCodePages() {
  static const PlatformConverter converter;
  return converter;
}

}  // namespace codeconv

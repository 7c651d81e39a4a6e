#include "gm_text.h"

#include <cstring>
#include <string>

namespace editorview {

namespace {
constexpr unsigned kKsCodePage = 949;
}

int UnicodeToGm(const codeconv::GmCodeConverter& converter, const char16_t* source, int units, char* destination,
                int room, const codeconv::CodePageConverter& pages) {
  if (destination == nullptr || room <= 0) return 0;
  destination[0] = '\0';
  if (source == nullptr) return 0;
  const std::u16string text = units < 0 ? std::u16string(source) : std::u16string(source, static_cast<size_t>(units));
  const std::string ks = pages.FromUtf16(kKsCodePage, text);
  if (ks.size() + 1 > static_cast<size_t>(room)) return 0;
  std::memcpy(destination, ks.data(), ks.size());
  converter.KsToGm(destination, static_cast<unsigned>(ks.size()));  // writes the NUL too
  return static_cast<int>(ks.size());
}

int GmToUnicode(const codeconv::GmCodeConverter& converter, char* text, char16_t* destination, int room,
                const codeconv::CodePageConverter& pages) {
  if (destination == nullptr || room <= 0) return 0;
  destination[0] = u'\0';
  if (text == nullptr) return 0;
  const size_t length = std::strlen(text);
  converter.GmToKs(text, text, static_cast<unsigned>(length));
  const std::u16string units = pages.ToUtf16(kKsCodePage, std::string(text, length));
  if (units.size() + 1 > static_cast<size_t>(room)) return 0;
  std::memcpy(destination, units.data(), units.size() * sizeof(char16_t));
  destination[units.size()] = u'\0';
  return static_cast<int>(units.size());
}

}  // namespace editorview

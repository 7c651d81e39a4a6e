#include "gm_text.h"

#include <cstring>
#include <string>

namespace editorview {

namespace {
constexpr unsigned kKsCodePage = 949;
constexpr unsigned char kKsRowStart = 0xA1;
}  // namespace

std::string KsToGmText(const codeconv::GmCodeConverter& converter, std::string_view ks) {
  std::string out;
  out.reserve(ks.size());
  for (size_t i = 0; i < ks.size(); ++i) {
    const auto lead = static_cast<unsigned char>(ks[i]);
    if (lead < 0x80) {
      out.push_back(static_cast<char>(lead));
      continue;
    }
    // 0x80 and 0xFF lead nothing in code page 949; a lead takes its trail.
    const bool pair = lead != 0x80 && lead != 0xFF && i + 1 < ks.size();
    const auto trail = pair ? static_cast<unsigned char>(ks[++i]) : 0;
    if (!pair || lead < kKsRowStart || trail < kKsRowStart || trail == 0xFF) {
      out.push_back('?');
      continue;
    }
    const codeconv::DbChar gm = converter.KsCharToGm(codeconv::MakeDb(lead, trail));
    out.push_back(static_cast<char>(codeconv::Lead(gm)));
    out.push_back(static_cast<char>(codeconv::Trail(gm)));
  }
  return out;
}

int UnicodeToGm(const codeconv::GmCodeConverter& converter, const char16_t* source, int units, char* destination,
                int room, const codeconv::CodePageConverter& pages) {
  if (destination == nullptr || room <= 0) return 0;
  destination[0] = '\0';
  if (source == nullptr) return 0;
  const std::u16string text = units < 0 ? std::u16string(source) : std::u16string(source, static_cast<size_t>(units));
  const std::string gm = KsToGmText(converter, pages.FromUtf16(kKsCodePage, text));
  if (gm.size() + 1 > static_cast<size_t>(room)) return 0;
  std::memcpy(destination, gm.data(), gm.size());
  destination[gm.size()] = '\0';
  return static_cast<int>(gm.size());
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

#include "gm_text.h"

#include <cstring>
#include <string>
#include <utility>

namespace editorview {

namespace {
constexpr unsigned kKsCodePage = 949;
constexpr unsigned char kKsRowStart = 0xA1;
constexpr size_t kKsRowCells = 94;  // bytes 0xA1 to 0xFE

// Code page 949 bytes to GM with gmOf(pair) giving the GM pair of each
// KS X 1001 pair.
// Code page 949 bytes to GM with gmOf(pair) giving the GM pair of each
// KS X 1001 pair. Converts in place: a character never takes more GM bytes
// than KS bytes, so nothing is written before it has been read; the text is
// then cut to the bytes written.
template <class GmOf>
std::string KsToGmWalk(std::string text, GmOf gmOf) {
  char* const start = text.data();
  char* o = start;
  const auto* s = reinterpret_cast<const unsigned char*>(start);
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char lead = s[i];
    if (lead < 0x80) {
      *o++ = static_cast<char>(lead);
      continue;
    }
    // 0x80 and 0xFF lead nothing in code page 949; a lead takes its trail.
    const bool pair = lead != 0x80 && lead != 0xFF && i + 1 < n;
    const unsigned char trail = pair ? s[++i] : 0;
    if (!pair || lead < kKsRowStart || trail < kKsRowStart || trail == 0xFF) {
      *o++ = '?';
      continue;
    }
    const codeconv::DbChar gm = gmOf(codeconv::MakeDb(lead, trail));
    *o++ = static_cast<char>(codeconv::Lead(gm));
    *o++ = static_cast<char>(codeconv::Trail(gm));
  }
  text.resize(static_cast<size_t>(o - start));
  return text;
}

// The index of a KS X 1001 pair (both bytes 0xA1 to 0xFE) in KsToGmTable.
size_t KsPairIndex(codeconv::DbChar pair) {
  return static_cast<size_t>(codeconv::Lead(pair) - kKsRowStart) * kKsRowCells + (codeconv::Trail(pair) - kKsRowStart);
}

}  // namespace

KsToGmTable::KsToGmTable(const codeconv::GmCodeConverter& converter) : pairs_(kKsRowCells * kKsRowCells) {
  for (unsigned lead = kKsRowStart; lead < kKsRowStart + kKsRowCells; ++lead) {
    for (unsigned trail = kKsRowStart; trail < kKsRowStart + kKsRowCells; ++trail) {
      const auto pair = codeconv::MakeDb(static_cast<uint8_t>(lead), static_cast<uint8_t>(trail));
      pairs_[KsPairIndex(pair)] = converter.KsCharToGm(pair);
    }
  }
}

std::string KsToGmText(const codeconv::GmCodeConverter& converter, std::string_view ks) {
  return KsToGmWalk(std::string(ks), [&converter](codeconv::DbChar pair) { return converter.KsCharToGm(pair); });
}

std::string KsToGmText(const KsToGmTable& table, std::string ks) {
  return KsToGmWalk(std::move(ks), [&pairs = table.pairs_](codeconv::DbChar pair) { return pairs[KsPairIndex(pair)]; });
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

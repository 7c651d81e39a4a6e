#include "clipboard_text.h"

#include <algorithm>
#include <cstring>

#include "ks_gm.h"
#include "text_code.h"
#include "view_seams.h"

namespace editorview {

std::string TextFromBlock(const void* block, size_t blockBytes) {
  if (block == nullptr) return {};
  const auto* bytes = static_cast<const char*>(block);
  const void* nul = std::memchr(bytes, '\0', blockBytes);
  return std::string(bytes, nul ? static_cast<size_t>(static_cast<const char*>(nul) - bytes) : blockBytes);
}

std::u16string UnicodeFromBlock(const void* block, size_t blockBytes) {
  if (block == nullptr) return {};
  const auto* bytes = static_cast<const unsigned char*>(block);
  std::u16string text;
  for (size_t i = 0; i + 1 < blockBytes; i += 2) {
    const auto unit = static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    if (unit == 0) break;
    text.push_back(unit);
  }
  return text;
}

int CountQuestionMarks(std::string_view text) { return static_cast<int>(std::count(text.begin(), text.end(), '?')); }
int CountQuestionMarks(std::u16string_view text) {
  return static_cast<int>(std::count(text.begin(), text.end(), u'?'));
}

PasteSource ChoosePasteSource(const std::optional<std::string>& bytes, const std::optional<std::u16string>& unicode,
                              int pasteCode) {
  if (!bytes) return PasteSource::kUnicode;
  if (!unicode) return PasteSource::kBytes;
  const int bias = pasteCode == 2 ? 1 : 0;
  return CountQuestionMarks(*bytes) >= CountQuestionMarks(*unicode) + bias ? PasteSource::kUnicode
                                                                           : PasteSource::kBytes;
}

bool MostlyQuestionMarks(std::string_view text) {
  const std::string_view head = text.substr(0, 100);
  return head.size() < 10 * static_cast<size_t>(CountQuestionMarks(head));
}

std::u16string RunToUnicodeLossy(std::string_view run, bool& lossy) {
  std::u16string out;
  for (size_t i = 0; i < run.size(); ++i) {
    const auto b = static_cast<unsigned char>(run[i]);
    if (b < 0x80) {
      out.push_back(b);
      continue;
    }
    if (codeconv::IsSystemLeadByte(b) && i + 1 < run.size()) ++i;
    out.push_back(u'?');
    lossy = true;
  }
  return out;
}

std::optional<std::string> ForkPasteBytes(const std::optional<std::string>& bytes,
                                          const std::optional<std::u16string>& unicode, bool gmView,
                                          const codeconv::CodePageConverter& pages) {
  if (gmView || !unicode) return bytes;
  std::string converted = pages.FromUtf16(kKsCodePage, *unicode);
  if (!bytes || CountQuestionMarks(converted) < CountQuestionMarks(*bytes)) return converted;
  return bytes;
}

}  // namespace editorview

#include "view_choices.h"

#include <algorithm>
#include <string_view>

#include "text_code.h"

namespace editorview {

namespace {
constexpr int kGmStatusString = 62014;
constexpr int kKsStatusString = 62016;

bool SameFileName(std::string_view a, std::string_view b) {
  auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
           return fold(x) == fold(y);
         });
}
}  // namespace

std::span<const char* const> EditionFilesForCharset(int charset) {
  if (charset == kGmCharset) return kGmEditionFiles;
  return kUnicodeEditionFiles;
}

uintptr_t FindLayoutByImeFile(std::span<const char* const> names, std::span<const codeconv::ImeLayoutEntry> layouts) {
  const auto examined = layouts.first(std::min(layouts.size(), codeconv::kMaxExaminedLayouts));
  for (const char* name : names) {
    for (const codeconv::ImeLayoutEntry& e : examined) {
      if (SameFileName(e.fileName, name)) return e.layout;
    }
  }
  return 0;
}

int CodeStatusStringId(int charset) { return charset == kGmCharset ? kGmStatusString : kKsStatusString; }

bool ResetCodesAfterFontCodeChange(CodeSettings& s) {
  if (s.pasteCode <= 0 && s.inFileType <= 3 && s.outFileType <= 2) return false;
  s.pasteCode = 0;
  if (s.inFileType > 3) s.inFileType = 0;
  if (s.outFileType > 2) s.outFileType = 2;
  return true;
}

}  // namespace editorview

#include "dic_edit.h"

#include <cstring>

#include "code_page.h"
#include "gm_converter.h"
#include "ks_gm.h"
#include "part_of_speech.h"
#include "text_utils.h"

namespace workbench {
namespace {

std::string ToUtf8(int codePage, std::string_view bytes) {
  auto& pages = codeconv::PlatformCodePages();
  return pages.FromUtf16(65001, pages.ToUtf16(codePage, std::string(bytes)));
}

bool IsSjisLead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The length of the character at i: 2 for a lead byte with its trail.
std::size_t CharAt(std::string_view s, std::size_t i, bool (*lead)(uint8_t)) {
  return lead(static_cast<uint8_t>(s[i])) && i + 1 < s.size() ? 2 : 1;
}
bool KsLead(uint8_t b) { return b >= 0x81 && b != 0xFF; }
bool GmLead(uint8_t b) { return codeconv::IsGmLeadByte(b); }

// Cut to at most n bytes on a character boundary.
std::string CutTo(std::string_view s, std::size_t n) {
  std::size_t i = 0;
  while (i < s.size()) {
    const std::size_t c = CharAt(s, i, IsSjisLead);
    if (i + c > n) break;
    i += c;
  }
  return std::string(s.substr(0, i));
}

void PutField(char* field, std::size_t room, std::string_view text) {
  const std::size_t n = std::min(text.size(), room - 1);
  std::memcpy(field, text.data(), n);
  field[n] = '\0';
}

// Each double-byte character through convert; single bytes kept.
std::string ConvertPairs(std::string_view text, bool (*lead)(uint8_t), codeconv::DbChar (*convert)(codeconv::DbChar)) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const uint8_t b = static_cast<uint8_t>(text[i]);
    if (lead(b) && i + 1 < text.size()) {
      const codeconv::DbChar c = convert(codeconv::MakeDb(b, static_cast<uint8_t>(text[i + 1])));
      out.push_back(static_cast<char>(c >> 8));
      out.push_back(static_cast<char>(c & 0xFF));
      ++i;
    } else {
      out.push_back(static_cast<char>(b));
    }
  }
  return out;
}

}  // namespace

std::string KsToGmBytes(std::string_view ks) {
  return ConvertPairs(ks, [](uint8_t b) { return codeconv::IsHighBitByte(b); }, [](codeconv::DbChar c) { return codeconv::KsCharToGm(c); });
}
std::string GmToKsBytes(std::string_view gm) {
  return ConvertPairs(gm, GmLead, [](codeconv::DbChar c) { return codeconv::GmCharToKs(c); });
}

std::string TrimTrailingBlanks(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\0')) --n;
  return std::string(text.substr(0, n));
}

EntryCheck CheckEntry(std::string_view sourceSjis, std::string_view translation, bool newEntry, bool ks) {
  EntryCheck check;
  check.source = TrimTrailingBlanks(sourceSjis);
  if (check.source.empty()) {
    check.message = std::string(kNoSource);
    return check;
  }
  if (newEntry) {
    char wide[512] = {};
    codeconv::GmCodeConverter converter;
    const int n = converter.WidenSjisText(wide, sizeof wide, check.source.data(), static_cast<unsigned>(check.source.size()));
    std::string widened(wide, static_cast<std::size_t>(n > 0 ? n : 0));
    if (widened.size() > kEditorWordBytes) {
      check.beep = true;
      widened = CutTo(widened, kEditorWordBytes);
    }
    check.source = widened;
  }
  for (std::size_t i = 0; i < check.source.size();) {
    const std::size_t n = CharAt(check.source, i, IsSjisLead);
    const std::string_view c = std::string_view(check.source).substr(i, n);
    if (c == "\x81\x48" || c == "\x81\x40" || c == "\x81\x42") {  // ？, the full-width blank, 。
      check.message = "原語（日本語）に使用できない文字「" + ToUtf8(932, c) + "」があります。";
      return check;
    }
    i += n;
  }
  if (translation.empty()) {
    check.message = std::string(kNoTranslation);
    return check;
  }
  const std::string_view ellipsis = ks ? "\xA1\xA6" : "\x81\x63";
  for (std::size_t i = 0; i < translation.size();) {
    const std::size_t n = CharAt(translation, i, ks ? KsLead : GmLead);
    const std::string_view c = translation.substr(i, n);
    if (c == ellipsis || c == "?" || c == "&") {
      check.message = "訳語（韓国語）に使用できない文字「" + std::string(c == ellipsis ? "…" : c) + "」があります。";
      return check;
    }
    i += n;
  }
  check.ok = true;
  return check;
}

DicCandidateRecord MakeEntryRecord(std::string_view sourceSjis, std::string_view translation, bool ks,
                                   std::size_t classIndex, bool hanjaEnabled, bool hanjaChecked, int32_t number) {
  DicCandidateRecord r{};
  PutField(r.source, sizeof r.source, sourceSjis);
  const std::string gm = ks ? KsToGmBytes(translation) : std::string(translation);
  PutField(r.korean, sizeof r.korean, gm);
  r.carried[0] = '2';
  r.partOfSpeech[0] = kNounType;
  r.partOfSpeech[1] = NounClassAt(classIndex).subtype;
  r.partOfSpeech[2] = 0;
  r.hanjaFlag = hanjaEnabled && hanjaChecked ? 1 : 0;
  r.number = number;
  return r;
}

bool HanjaOutputEnabled(std::string_view sourceSjis, int classIndex) {
  if (sourceSjis.empty() || classIndex < 0 || classIndex >= static_cast<int>(kNounClassCount)) return false;
  const std::string text(sourceSjis);
  return codeconv::GetStringCharClass(text.c_str()) == codeconv::kClassKanji;
}

bool ClassChangeAllowed(bool modifying, uint8_t entryType) { return !(modifying && (entryType == 2 || entryType == 3)); }

}  // namespace workbench

#include "lookup_config.h"

#include "ime_code.h"
#include "ime_settings.h"

namespace lookup {

bool IsKsEditionName(const std::string& imeFileName) { return ime::EditionKoreanCode(imeFileName) == 1; }

int FontCharsetFor(const std::string& imeFileName) { return IsKsEditionName(imeFileName) ? 129 : 128; }

std::string HelpFileFor(const std::string& imeFileName) {
  return IsKsEditionName(imeFileName) ? "ZORBENV6.CHM" : "WARBENV6.CHM";
}

std::string ProgramFolder(const std::string& installDirectory) {
  std::string folder = installDirectory;
  if (!folder.empty()) {
    // The last character, found with the Shift-JIS lead test: a trail byte
    // 0x5C is no folder separator.
    const auto* start = reinterpret_cast<const std::uint8_t*>(folder.data());
    const std::uint8_t* last = codeconv::PrevCodeChar(0, start, start + folder.size());
    if (last != start + folder.size() - 1 || *last != '\\') folder += '\\';
  }
  return folder + "GeulmaruV6\\";
}

std::u16string SheetCaption(std::u16string_view base, int koreanCode) {
  std::u16string caption(base);
  if (koreanCode == 1) caption += u" (KS)";
  else if (koreanCode == 2) caption += u" (GM)";
  return caption;
}

std::string DisplayBytes(std::string_view gm95, int koreanCode, const codeconv::GmTables* tables) {
  std::string out(gm95.substr(0, 256));
  auto* bytes = reinterpret_cast<std::uint8_t*>(out.data());
  if (koreanCode == 1) codeconv::GmTextToKs(bytes, bytes, out.size());
  else if (koreanCode == 2) codeconv::Gm95TextToV3(tables, bytes, bytes, out.size());
  return out;
}

unsigned CodePageOfCharset(int charset) { return charset == 129 ? 949 : 932; }

}  // namespace lookup

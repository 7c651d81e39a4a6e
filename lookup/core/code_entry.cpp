#include "code_entry.h"

#include <string>

#include "ime_code.h"

namespace lookup {

namespace {

bool IsBlank(char c) { return c == ' '; }

// Digits of a field of at most five characters of digits and blanks; false
// when anything else is in it or no digit is.
bool FieldDigits(std::string_view text, bool hex, std::string& digits) {
  if (text.empty() || text.size() > 5) return false;
  digits.clear();
  for (char c : text) {
    if (IsBlank(c)) continue;
    const bool ok = (c >= '0' && c <= '9') || (hex && ((c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')));
    if (!ok) return false;
    digits.push_back(c);
  }
  return !digits.empty();
}

CodeEntry Typed(std::string_view text, int koreanCode, const codeconv::GmTables* tables) {
  DbChar pair = codeconv::MakeDb(static_cast<std::uint8_t>(text[0]), static_cast<std::uint8_t>(text[1]));
  codeconv::RowCell rc;
  if (koreanCode == 1) {
    if (!codeconv::DecodeEucShape(pair, rc)) return {};
  } else {
    if (koreanCode == 2) pair = codeconv::ConvertGmVariant(tables, codeconv::kFromGmV3, pair);
    if (!codeconv::DecodeSjisShape(pair, rc)) return {};
  }
  return {kEntryTyped, rc.row * 100 + rc.column + 1};
}

}  // namespace

CodeEntry ParseCodeEntry(std::string_view text, int koreanCode, const codeconv::GmTables* tables) {
  while (!text.empty() && text.back() == '\0') text.remove_suffix(1);
  if (text.size() >= 2 && codeconv::IsCodeLeadByte(koreanCode, static_cast<std::uint8_t>(text[0]))) {
    return Typed(text, koreanCode, tables);
  }
  std::string digits;
  const bool hex = koreanCode != 1 && !text.empty() && (text[0] == 'F' || text[0] == 'f');
  if (!FieldDigits(text, hex, digits)) return {};
  const long value = std::stol(digits, nullptr, hex ? 16 : 10);
  if (hex) {
    const int low = static_cast<int>(value & 0xFF);
    const bool trail = (low >= 0x40 && low <= 0x7E) || (low >= 0x80 && low <= 0xFC);
    if (value < 0xF040 || value > 0xFCFC || !trail) return {};
    return {kEntryUserCode, static_cast<int>(value)};
  }
  const int row = static_cast<int>(value / 100);
  const int cell = static_cast<int>(value % 100);
  const int lastRow = koreanCode == 1 ? 94 : 120;
  if (row < 1 || row > lastRow || cell < 1 || cell > 94) return {};
  return {kEntryRowCell, static_cast<int>(value)};
}

DbChar EntryCharacter(const CodeEntry& entry) {
  switch (entry.result) {
    case kEntryRowCell:
    case kEntryTyped: {
      const int row = entry.value / 100;
      const int cell = entry.value % 100;
      return codeconv::EncodeSjisShape({row, cell - 1});
    }
    case kEntryUserCode:
      return static_cast<DbChar>(entry.value);
    default:
      return 0;
  }
}

}  // namespace lookup

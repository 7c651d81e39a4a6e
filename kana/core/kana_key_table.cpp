#include "kana_key_table.h"

#include <array>
#include <cstdint>

namespace kana {

// Generated from the KS X 1001 syllables (kanagen).
const char kKanaKeyTable[kKanaKeyCount][kKanaKeySize] = {
#include "kana_key_table.inc"
};

namespace {

constexpr unsigned kFirstLead = 0x88;
constexpr unsigned kJamoLead = 0x95;
constexpr unsigned kCellsPerLead = 188;

// The compared part of a string: up to its first NUL, at most 5 bytes.
std::string_view Compared(std::string_view s) {
  const size_t nul = s.find('\0');
  if (nul != std::string_view::npos) s = s.substr(0, nul);
  return s.substr(0, 5);
}

// The 5 compared bytes as one number, NUL-padded as in the table.
uint64_t Key(std::string_view compared) {
  uint64_t key = 0;
  for (size_t k = 0; k < 5; ++k) {
    const uint64_t b = k < compared.size() ? static_cast<unsigned char>(compared[k]) : 0;
    key |= b << (8 * k);
  }
  return key;
}

// Open addressing over the keys of the table; the first entry of a key wins,
// as in the scan.
class KeyIndex {
 public:
  KeyIndex() {
    for (size_t i = 0; i < kKanaKeyCount; ++i) {
      const uint64_t key = Key(std::string_view(kKanaKeyTable[i], 5));
      size_t slot = Home(key);
      while (slots_[slot] != 0 && keys_[slot] != key) slot = (slot + 1) & kMask;
      if (slots_[slot] == 0) {
        keys_[slot] = key;
        slots_[slot] = static_cast<uint16_t>(i + 1);
      }
    }
  }
  std::optional<size_t> Find(uint64_t key) const {
    for (size_t slot = Home(key); slots_[slot] != 0; slot = (slot + 1) & kMask) {
      if (keys_[slot] == key) return slots_[slot] - 1u;
    }
    return std::nullopt;
  }

 private:
  static constexpr size_t kSize = 8192;
  static constexpr size_t kMask = kSize - 1;
  static size_t Home(uint64_t key) { return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 51) & kMask; }
  std::array<uint64_t, kSize> keys_{};
  std::array<uint16_t, kSize> slots_{};
};

const KeyIndex& Index() {
  static const KeyIndex index;
  return index;
}

}  // namespace

std::optional<size_t> RomanizationIndex(codeconv::DbChar code) {
  const unsigned lead = codeconv::Lead(code);
  const unsigned trail = codeconv::Trail(code);
  if (lead < kFirstLead || trail < 0x40 || trail == 0x7F || trail > 0xFC) return std::nullopt;
  const unsigned cell = trail - 0x40 - (trail >= 0x80 ? 1 : 0);
  const size_t base = lead == kJamoLead && trail <= 0x9E ? 0 : (lead - kFirstLead) * kCellsPerLead;
  const size_t index = base + cell;
  if (index >= kKanaKeyCount) return std::nullopt;
  return index;
}

codeconv::DbChar RomanizationCode(size_t index) {
  const unsigned row = static_cast<unsigned>(index / kCellsPerLead);
  const unsigned cell = static_cast<unsigned>(index % kCellsPerLead);
  unsigned trail = 0x40 + cell + (cell > 62 ? 1 : 0);
  unsigned lead = kFirstLead + row;
  if (row == 0 && trail <= 0x9E) lead = kJamoLead;
  return codeconv::MakeDb(static_cast<uint8_t>(lead), static_cast<uint8_t>(trail));
}

std::string GetRomanization(codeconv::DbChar code) {
  const std::optional<size_t> index = RomanizationIndex(code);
  return index ? std::string(kKanaKeyTable[*index]) : std::string();
}

std::optional<codeconv::DbChar> FindRomanization(std::string_view s) {
  const std::string_view compared = Compared(s);
  if (compared.size() < 2) return std::nullopt;
  const std::optional<size_t> index = Index().Find(Key(compared));
  if (!index) return std::nullopt;
  return RomanizationCode(*index);
}

std::optional<codeconv::DbChar> FindRomanizationLinear(std::string_view s) {
  const std::string_view compared = Compared(s);
  if (compared.size() < 2) return std::nullopt;
  for (size_t i = 0; i < kKanaKeyCount; ++i) {
    const char* entry = kKanaKeyTable[i];
    size_t k = 0;
    for (; k < 5; ++k) {
      const char c = k < compared.size() ? compared[k] : '\0';
      if (entry[k] != c || c == '\0') break;
    }
    if (k == 5 || (entry[k] == '\0' && k >= compared.size())) return RomanizationCode(i);
  }
  return std::nullopt;
}

}  // namespace kana

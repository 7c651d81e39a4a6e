#include "char_reading.h"

#include <vector>

namespace lookup {

namespace {

DbChar CodeAt(std::span<const std::uint8_t> table, std::size_t at) {
  return codeconv::MakeDb(table[at], table[at + 1]);
}

void Append(std::string& out, DbChar c) {
  out.push_back(static_cast<char>(codeconv::Lead(c)));
  out.push_back(static_cast<char>(codeconv::Trail(c)));
}

bool IsHanja(DbChar gm95) {
  const int row = Gm95Row(gm95);
  return row >= kFirstHanjaRow && row <= kLastHanjaRow;
}

// ", " and the readings of the others of a hanja's positions.
void AppendOthers(std::string& out, DbChar code, const ReadingTables& t) {
  for (std::size_t at = 0; at + 4 <= t.doon2.size(); at += 4) {
    const DbChar a = CodeAt(t.doon2, at);
    const DbChar b = CodeAt(t.doon2, at + 2);
    if (a != code && b != code) continue;
    if (const DbChar r = HanjaReading(a == code ? b : a, t.ranges)) {
      out.push_back(',');
      Append(out, r);
    }
    return;  // a hanja in DOON2 is in no group
  }
  for (std::size_t at = 0; at + 2 * kGroupMembers <= t.groups.size(); at += 2 * kGroupMembers) {
    bool member = false;
    for (std::size_t k = 0; k < kGroupMembers; ++k) member |= CodeAt(t.groups, at + 2 * k) == code;
    if (!member) continue;
    for (std::size_t k = 0; k < kGroupMembers; ++k) {
      const DbChar other = CodeAt(t.groups, at + 2 * k);
      if (other == 0 || other == code) continue;
      if (const DbChar r = HanjaReading(other, t.ranges)) {
        out.push_back(',');
        Append(out, r);
      }
    }
    return;
  }
}

}  // namespace

std::string GetKanaReading(DbChar gm95, std::span<const std::uint8_t> kanayomi) {
  const int index = HangulIndex(gm95);
  std::string out;
  if (index < 0 || kanayomi.size() < static_cast<std::size_t>(index + 1) * kKanaEntrySize) return out;
  const std::uint8_t* entry = kanayomi.data() + static_cast<std::size_t>(index) * kKanaEntrySize;
  // Pairs of lead and trail bytes up to the end mark (a byte of 0x20 or less).
  for (std::size_t i = 0; i + 1 < kKanaReadingBytes + 1 && entry[i] > 0x20 && entry[i + 1] > 0x20; i += 2) {
    out.push_back(static_cast<char>(entry[i] + kKanaLeadShift));
    out.push_back(static_cast<char>(entry[i + 1]));
  }
  return out;
}

DbChar HanjaReading(DbChar gm95, std::span<const std::uint8_t> ranges) {
  if (!IsHanja(gm95)) return 0;
  const int ordinal = codeconv::Gm95ToOrdinal(gm95);
  DbChar reading = 0;
  // The last range that starts at or before the hanja.
  std::size_t lo = 0, hi = ranges.size() / 4;
  while (lo < hi) {
    const std::size_t mid = (lo + hi) / 2;
    if (codeconv::Gm95ToOrdinal(CodeAt(ranges, 4 * mid)) <= ordinal) lo = mid + 1;
    else hi = mid;
  }
  if (lo > 0) reading = CodeAt(ranges, 4 * (lo - 1) + 2);
  return reading;
}

ReadingLabel GetCharReading(DbChar gm95, const ReadingTables& t) {
  ReadingLabel label;
  const std::uint8_t lead = codeconv::Lead(gm95);
  if (lead >= 0xF0 && lead <= 0xF9) {
    static const char kHex[] = "0123456789abcdef";
    label.kind = LabelKind::kHex;
    for (int shift : {12, 8, 4, 0}) label.bytes.push_back(kHex[gm95 >> shift & 0xF]);
    return label;
  }
  if (HangulIndex(gm95) >= 0) {
    label.bytes = GetKanaReading(gm95, t.kanayomi);
    if (!label.bytes.empty()) label.kind = LabelKind::kKana;
    return label;
  }
  const DbChar reading = HanjaReading(gm95, t.ranges);
  if (reading == 0) return label;
  label.kind = LabelKind::kHangul;
  Append(label.bytes, reading);
  AppendOthers(label.bytes, gm95, t);
  return label;
}

std::vector<std::uint8_t> WriteKanaTable(const std::vector<std::string>& readings) {
  std::vector<std::uint8_t> out;
  out.reserve(kKanaTableSize);
  for (std::size_t i = 0; i < kHangulSyllables; ++i) {
    const std::string r = i < readings.size() ? readings[i] : std::string();
    std::size_t n = 0;
    // Whole double-byte characters that fit in 10 bytes.
    for (; n + 1 < r.size() && n + 2 <= kKanaReadingBytes; n += 2) {
      out.push_back(static_cast<std::uint8_t>(static_cast<std::uint8_t>(r[n]) - kKanaLeadShift));
      out.push_back(static_cast<std::uint8_t>(r[n + 1]));
    }
    for (; n < kKanaReadingBytes; ++n) out.push_back(' ');
    out.push_back('\r');
    out.push_back('\n');
  }
  out.push_back(0x1A);
  return out;
}

}  // namespace lookup

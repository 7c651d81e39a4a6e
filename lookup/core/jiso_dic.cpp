#include "jiso_dic.h"

#include <string>

namespace lookup {

namespace {
void Put32At(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int b = 0; b < 4; ++b) out[at + b] = static_cast<std::uint8_t>(v >> (8 * b));
}
}  // namespace

DicStatus ReadJisoHeader(ByteSource& file, JisoHeader& out) {
  std::uint8_t header[kJisoHeaderSize];
  if (file.Size() < kJisoHeaderSize || !file.Read(0, header, sizeof header)) return DicStatus::kDamaged;
  for (int r = 0; r < 2; ++r) out.sections[r] = Le32(header + kJisoSectionField[r]);
  return DicStatus::kOk;
}

DicStatus ReadJisoInitial(ByteSource& file, const JisoHeader& header, int range, int initial, VowelGroups& out) {
  if (range < 0 || range > 1 || initial < 0 || initial >= kInitials) return DicStatus::kDamaged;
  const std::uint64_t size = file.Size();
  const std::uint64_t table = static_cast<std::uint64_t>(header.sections[range]) + 7;
  std::uint8_t offset[4];
  if (!Fits(table + 4 * initial, 4, size) || !file.Read(table + 4 * initial, offset, 4)) return DicStatus::kDamaged;
  const std::uint64_t block = Le32(offset);
  std::uint8_t counts[2 * kVowels];
  if (!Fits(block, sizeof counts, size) || !file.Read(block, counts, sizeof counts)) return DicStatus::kDamaged;
  std::uint64_t total = 0;
  for (int v = 0; v < kVowels; ++v) {
    const auto n = static_cast<std::int16_t>(Le16(counts + 2 * v));
    if (n < 0) return DicStatus::kDamaged;
    total += static_cast<std::uint64_t>(n);
  }
  const std::uint64_t at = block + sizeof counts;
  if (!Fits(at, 2 * total, size)) return DicStatus::kDamaged;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(2 * total));
  if (!file.Read(at, bytes.data(), bytes.size())) return DicStatus::kDamaged;
  VowelGroups groups;
  std::size_t k = 0;
  for (int v = 0; v < kVowels; ++v) {
    const auto n = static_cast<std::size_t>(Le16(counts + 2 * v));
    groups[static_cast<std::size_t>(v)].resize(n);
    for (std::size_t j = 0; j < n; ++j, ++k)
      groups[static_cast<std::size_t>(v)][j] = codeconv::MakeDb(bytes[2 * k], bytes[2 * k + 1]);
  }
  out = std::move(groups);
  return DicStatus::kOk;
}

std::vector<std::uint8_t> WriteJisoDictionary(const JisoRange& all, const JisoRange& names) {
  std::vector<std::uint8_t> out(kJisoHeaderSize, 0);
  const std::string title = "GmV6Jiso jamo dictionary\r\n";
  std::copy(title.begin(), title.end(), out.begin());
  const JisoRange* ranges[2] = {&all, &names};
  for (int r = 0; r < 2; ++r) {
    Put32At(out, kJisoSectionField[r], static_cast<std::uint32_t>(out.size()));
    const std::string tag = r == 0 ? "JISO-0\n" : "JISO-1\n";  // 7 bytes before the offsets
    for (char c : tag) out.push_back(static_cast<std::uint8_t>(c));
    const std::size_t table = out.size();
    out.resize(out.size() + 4 * kInitials, 0);
    for (int i = 0; i < kInitials; ++i) {
      Put32At(out, table + 4 * static_cast<std::size_t>(i), static_cast<std::uint32_t>(out.size()));
      const VowelGroups& groups = (*ranges[r])[static_cast<std::size_t>(i)];
      for (const auto& g : groups) {
        out.push_back(static_cast<std::uint8_t>(g.size() & 0xFF));
        out.push_back(static_cast<std::uint8_t>(g.size() >> 8));
      }
      for (const auto& g : groups) {
        for (DbChar c : g) {
          out.push_back(codeconv::Lead(c));
          out.push_back(codeconv::Trail(c));
        }
      }
    }
  }
  return out;
}

}  // namespace lookup

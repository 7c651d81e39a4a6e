#include "radical_dic.h"

#include <string>

namespace lookup {

namespace {


// count groups of (int16 strokes, int16 n) at offset, then the codes; fills
// out and the offset after the codes.
DicStatus ReadGroups(ByteSource& file, std::uint64_t offset, std::uint64_t count, std::vector<StrokeGroup>& out,
                     std::uint64_t* end) {
  const std::uint64_t size = file.Size();
  if (!Fits(offset, 4 * count, size)) return DicStatus::kDamaged;
  std::vector<std::uint8_t> heads(static_cast<std::size_t>(4 * count));
  if (!file.Read(offset, heads.data(), heads.size())) return DicStatus::kDamaged;
  std::uint64_t codes = 0;
  std::vector<StrokeGroup> groups(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const auto strokes = static_cast<std::int16_t>(Le16(&heads[4 * i]));
    const auto n = static_cast<std::int16_t>(Le16(&heads[4 * i + 2]));
    if (strokes < 0 || n < 0) return DicStatus::kDamaged;
    groups[i].strokes = strokes;
    codes += static_cast<std::uint64_t>(n);
  }
  const std::uint64_t at = offset + 4 * count;
  if (!Fits(at, 2 * codes, size)) return DicStatus::kDamaged;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(2 * codes));
  if (!file.Read(at, bytes.data(), bytes.size())) return DicStatus::kDamaged;
  std::size_t k = 0;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const auto n = static_cast<std::size_t>(static_cast<std::int16_t>(Le16(&heads[4 * i + 2])));
    groups[i].codes.resize(n);
    for (std::size_t j = 0; j < n; ++j, ++k) groups[i].codes[j] = codeconv::MakeDb(bytes[2 * k], bytes[2 * k + 1]);
  }
  out = std::move(groups);
  if (end) *end = at + 2 * codes;
  return DicStatus::kOk;
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutCode(std::vector<std::uint8_t>& out, DbChar c) {
  out.push_back(codeconv::Lead(c));
  out.push_back(codeconv::Trail(c));
}
void PutGroups(std::vector<std::uint8_t>& out, const std::vector<StrokeGroup>& groups) {
  for (const StrokeGroup& g : groups) {
    Put16(out, static_cast<std::uint16_t>(g.strokes));
    Put16(out, static_cast<std::uint16_t>(g.codes.size()));
  }
  for (const StrokeGroup& g : groups)
    for (DbChar c : g.codes) PutCode(out, c);
}

}  // namespace

int RadicalIndex::PositionOf(DbChar radical) const {
  int position = 0;
  for (const StrokeGroup& g : groups) {
    for (DbChar c : g.codes) {
      if (c == radical) return position;
      ++position;
    }
  }
  return -1;
}

DicStatus ReadRadicalIndex(ByteSource& file, RadicalIndex& out) {
  const std::uint64_t size = file.Size();
  std::uint8_t header[kRadicalHeaderSize];
  if (size < kRadicalHeaderSize || !file.Read(0, header, sizeof header)) return DicStatus::kDamaged;
  const std::uint64_t section = Le32(header + kRadicalSectionTable);
  const std::uint64_t base = section + 5;
  std::uint8_t g[2];
  if (!Fits(base, 2, size) || !file.Read(base, g, 2)) return DicStatus::kDamaged;
  const auto groupCount = static_cast<std::int16_t>(Le16(g));
  if (groupCount < 0) return DicStatus::kDamaged;
  RadicalIndex index;
  std::uint64_t end = 0;
  const DicStatus s = ReadGroups(file, base + 2, static_cast<std::uint64_t>(groupCount), index.groups, &end);
  if (s != DicStatus::kOk) return s;
  std::uint64_t n = 0;
  for (const StrokeGroup& group : index.groups) n += group.codes.size();
  // The offsets follow the radicals directly (S + 5 + 2N + 4G + 2).
  if (!Fits(end, 4 * n, size)) return DicStatus::kDamaged;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(4 * n));
  if (!file.Read(end, bytes.data(), bytes.size())) return DicStatus::kDamaged;
  index.offsets.resize(static_cast<std::size_t>(n));
  for (std::size_t i = 0; i < index.offsets.size(); ++i) {
    index.offsets[i] = Le32(&bytes[4 * i]);
    if (!Fits(base + index.offsets[i], 2, size)) return DicStatus::kDamaged;
  }
  index.base = base;
  out = std::move(index);
  return DicStatus::kOk;
}

DicStatus ReadRadicalCharacters(ByteSource& file, const RadicalIndex& index, std::size_t position,
                                std::vector<StrokeGroup>& out) {
  if (position >= index.offsets.size()) return DicStatus::kDamaged;
  const std::uint64_t at = index.base + index.offsets[position];
  std::uint8_t g[2];
  if (!Fits(at, 2, file.Size()) || !file.Read(at, g, 2)) return DicStatus::kDamaged;
  const auto count = static_cast<std::int16_t>(Le16(g));
  if (count < 0) return DicStatus::kDamaged;
  return ReadGroups(file, at + 2, static_cast<std::uint64_t>(count), out, nullptr);
}

std::vector<std::uint8_t> WriteRadicalDictionary(const std::vector<RadicalEntry>& radicals) {
  std::vector<std::uint8_t> out(kRadicalHeaderSize, 0);
  const std::string title = "GmV6e radical dictionary\r\n";
  std::copy(title.begin(), title.end(), out.begin());
  const std::uint32_t section = static_cast<std::uint32_t>(kRadicalHeaderSize);
  for (int i = 0; i < 4; ++i) out[kRadicalSectionTable + i] = static_cast<std::uint8_t>(section >> (8 * i));

  std::vector<StrokeGroup> groups;
  for (const RadicalEntry& r : radicals) {
    if (groups.empty() || groups.back().strokes != r.strokes) groups.push_back({r.strokes, {}});
    groups.back().codes.push_back(r.code);
  }
  // S: a 5-byte tag, then the groups.
  for (char c : std::string("BUSYU")) out.push_back(static_cast<std::uint8_t>(c));
  const std::size_t base = out.size();
  Put16(out, static_cast<std::uint16_t>(groups.size()));
  PutGroups(out, groups);
  const std::size_t offsets = out.size();
  out.resize(out.size() + 4 * radicals.size(), 0);
  for (std::size_t i = 0; i < radicals.size(); ++i) {
    const auto relative = static_cast<std::uint32_t>(out.size() - base);
    for (int b = 0; b < 4; ++b) out[offsets + 4 * i + b] = static_cast<std::uint8_t>(relative >> (8 * b));
    Put16(out, static_cast<std::uint16_t>(radicals[i].characters.size()));
    PutGroups(out, radicals[i].characters);
  }
  return out;
}

}  // namespace lookup

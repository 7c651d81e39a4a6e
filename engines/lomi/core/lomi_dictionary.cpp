#include "lomi_dictionary.h"

#include <algorithm>
#include <cstring>

namespace lomi {
namespace {

constexpr char kMagic[4] = {'L', 'O', 'M', 'I'};
constexpr uint32_t kVersion = 1;
constexpr std::size_t kSections = 6;
constexpr std::size_t kHeaderSize = 8 + kSections * 8;
constexpr std::size_t kWordRecord = 16;
constexpr std::size_t kCharRecord = 4;

uint32_t Get32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}
void Put16(std::vector<uint8_t>& v, uint16_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}

}  // namespace

// Word record: key offset (32), key length (16), Korean length (8), second
// form length (8), Korean offset (32; the second form follows it), kind,
// rule, part of speech, source.
bool SystemDictionary::Load(std::span<const uint8_t> bytes) {
  *this = SystemDictionary();
  if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, 4) != 0 || Get32(bytes.data() + 4) != kVersion)
    return false;
  Section sections[kSections];
  const std::size_t recordSize[kSections] = {kWordRecord, kWordRecord, kCharRecord, kCharRecord, 1, 1};
  for (std::size_t s = 0; s < kSections; ++s) {
    const uint32_t offset = Get32(bytes.data() + 8 + 8 * s);
    const uint32_t count = Get32(bytes.data() + 12 + 8 * s);
    if (offset > bytes.size() || count > (bytes.size() - offset) / recordSize[s]) return false;
    sections[s] = {bytes.data() + offset, count};
  }
  SystemDictionary loaded;
  loaded.bytes_ = bytes;
  loaded.words_ = sections[0];
  loaded.kana_ = sections[1];
  loaded.chars_ = sections[2];
  loaded.readings_ = sections[3];
  loaded.finals_ = sections[4];
  loaded.strings_ = sections[5].records;
  loaded.stringBytes_ = sections[5].count;
  // Every record's strings must lie in the string bytes.
  for (const Section* sec : {&loaded.words_, &loaded.kana_}) {
    for (std::size_t i = 0; i < sec->count; ++i) {
      const uint8_t* r = sec->records + i * kWordRecord;
      const uint64_t keyEnd = uint64_t{Get32(r)} + Get16(r + 4);
      const uint64_t valueEnd = uint64_t{Get32(r + 8)} + r[6] + r[7];
      if (keyEnd > loaded.stringBytes_ || valueEnd > loaded.stringBytes_ || Get16(r + 4) == 0) return false;
      if (sec == &loaded.words_) loaded.longest_ = std::max<std::size_t>(loaded.longest_, Get16(r + 4));
    }
  }
  if (loaded.words_.count == 0) return false;
  *this = loaded;
  return true;
}

std::string_view SystemDictionary::String(uint32_t offset, std::size_t length) const {
  return {reinterpret_cast<const char*>(strings_) + offset, length};
}

std::string_view SystemDictionary::KeyAt(const uint8_t* record) const { return String(Get32(record), Get16(record + 4)); }

WordValue SystemDictionary::ValueAt(const uint8_t* r) const {
  WordValue v;
  v.korean = std::string(String(Get32(r + 8), r[6]));
  v.afterFinal = std::string(String(Get32(r + 8) + r[6], r[7]));
  v.kind = static_cast<TokenKind>(r[12]);
  v.rule = static_cast<Alternation>(r[13]);
  v.pos.type = r[14];
  v.source = r[15];
  return v;
}

std::vector<WordValue> SystemDictionary::FindIn(const Section& section, std::string_view key) const {
  std::vector<WordValue> out;
  std::size_t lo = 0, hi = section.count;
  while (lo < hi) {  // first record whose key is not below key
    const std::size_t mid = (lo + hi) / 2;
    if (KeyAt(section.records + mid * kWordRecord) < key)
      lo = mid + 1;
    else
      hi = mid;
  }
  for (; lo < section.count && KeyAt(section.records + lo * kWordRecord) == key; ++lo)
    out.push_back(ValueAt(section.records + lo * kWordRecord));
  return out;
}

std::vector<WordValue> SystemDictionary::Find(std::string_view key) const { return FindIn(words_, key); }

bool SystemDictionary::KanaReading(std::string_view hiragana, std::string& hangul) const {
  std::vector<WordValue> found = FindIn(kana_, hiragana);
  if (found.empty()) return false;
  hangul = found.front().korean;
  return true;
}

bool SystemDictionary::FindChar(const Section& section, uint16_t japanese, uint16_t& korean) {
  std::size_t lo = 0, hi = section.count;
  while (lo < hi) {
    const std::size_t mid = (lo + hi) / 2;
    const uint16_t k = Get16(section.records + mid * kCharRecord);
    if (k == japanese) {
      korean = Get16(section.records + mid * kCharRecord + 2);
      return true;
    }
    if (k < japanese)
      lo = mid + 1;
    else
      hi = mid;
  }
  return false;
}

bool SystemDictionary::KoreanCharacter(uint16_t japanese, uint16_t& korean) const {
  return FindChar(chars_, japanese, korean);
}
bool SystemDictionary::KanjiReading(uint16_t japanese, uint16_t& korean) const {
  return FindChar(readings_, japanese, korean);
}

int SystemDictionary::FinalOf(uint16_t ksSyllable) const {
  const int lead = ksSyllable >> 8, trail = ksSyllable & 0xFF;
  if (lead < 0xB0 || lead > 0xC8 || trail < 0xA1 || trail > 0xFE) return -1;
  const std::size_t index = static_cast<std::size_t>((lead - 0xB0) * 94 + (trail - 0xA1));
  if (index >= finals_.count) return -1;
  return finals_.records[index];
}

void DictionaryBuilder::AddWord(std::string key, WordValue value) {
  words_.emplace_back(std::move(key), std::move(value));
}
void DictionaryBuilder::AddKana(std::string hiragana, std::string hangul) {
  WordValue v;
  v.korean = std::move(hangul);
  kana_.emplace_back(std::move(hiragana), std::move(v));
}
void DictionaryBuilder::AddCharacter(uint16_t japanese, uint16_t korean) { chars_.push_back({japanese, korean}); }
void DictionaryBuilder::AddReading(uint16_t japanese, uint16_t korean) { readings_.push_back({japanese, korean}); }
void DictionaryBuilder::SetFinals(std::vector<uint8_t> finals) { finals_ = std::move(finals); }

std::vector<uint8_t> DictionaryBuilder::Encode() const {
  std::vector<uint8_t> strings;
  auto sortedWords = [](std::vector<std::pair<std::string, WordValue>> list) {
    std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return list;
  };
  auto encodeWords = [&](const std::vector<std::pair<std::string, WordValue>>& list) {
    std::vector<uint8_t> out;
    for (const auto& [key, v] : list) {
      const uint32_t keyOffset = static_cast<uint32_t>(strings.size());
      strings.insert(strings.end(), key.begin(), key.end());
      const uint32_t valueOffset = static_cast<uint32_t>(strings.size());
      strings.insert(strings.end(), v.korean.begin(), v.korean.end());
      strings.insert(strings.end(), v.afterFinal.begin(), v.afterFinal.end());
      Put32(out, keyOffset);
      Put16(out, static_cast<uint16_t>(key.size()));
      out.push_back(static_cast<uint8_t>(std::min<std::size_t>(v.korean.size(), 255)));
      out.push_back(static_cast<uint8_t>(std::min<std::size_t>(v.afterFinal.size(), 255)));
      Put32(out, valueOffset);
      out.push_back(static_cast<uint8_t>(v.kind));
      out.push_back(static_cast<uint8_t>(v.rule));
      out.push_back(v.pos.type);
      out.push_back(v.source);
    }
    return out;
  };
  auto encodeChars = [](std::vector<CharRecord> list) {
    std::stable_sort(list.begin(), list.end(), [](auto a, auto b) { return a.japanese < b.japanese; });
    list.erase(std::unique(list.begin(), list.end(), [](auto a, auto b) { return a.japanese == b.japanese; }),
               list.end());
    std::vector<uint8_t> out;
    for (CharRecord c : list) {
      Put16(out, c.japanese);
      Put16(out, c.korean);
    }
    return std::pair{out, list.size()};
  };
  const auto words = sortedWords(words_);
  const auto kana = sortedWords(kana_);
  const std::vector<uint8_t> wordBytes = encodeWords(words);
  const std::vector<uint8_t> kanaBytes = encodeWords(kana);
  const auto [charBytes, charCount] = encodeChars(chars_);
  const auto [readingBytes, readingCount] = encodeChars(readings_);

  std::vector<uint8_t> out(kMagic, kMagic + 4);
  Put32(out, kVersion);
  uint32_t offset = static_cast<uint32_t>(kHeaderSize);
  const std::vector<uint8_t>* blocks[kSections] = {&wordBytes, &kanaBytes, &charBytes, &readingBytes, &finals_,
                                                   &strings};
  const std::size_t counts[kSections] = {words.size(), kana.size(), charCount, readingCount, finals_.size(),
                                         strings.size()};
  for (std::size_t s = 0; s < kSections; ++s) {
    Put32(out, offset);
    Put32(out, static_cast<uint32_t>(counts[s]));
    offset += static_cast<uint32_t>(blocks[s]->size());
  }
  for (const auto* b : blocks) out.insert(out.end(), b->begin(), b->end());
  return out;
}

}  // namespace lomi

#include "tibrel_core.h"

#include <algorithm>
#include <cstring>

namespace tibrel {

namespace {

uint32_t Get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

constexpr char16_t kFirstSyllable = 0xAC00;
constexpr char16_t kLastSyllable = 0xD7A3;
constexpr int kInitialN = 2;     // ㄴ
constexpr int kInitialR = 5;     // ㄹ
constexpr int kInitialNone = 11; // ㅇ

// ㅑ ㅒ ㅕ ㅖ ㅛ ㅠ ㅣ: the vowels of i and y.
bool IsIyVowel(int v) { return v == 2 || v == 3 || v == 6 || v == 7 || v == 12 || v == 17 || v == 20; }

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Characters a word is made of: after one of them a hanja does not start a word.
bool IsWordCharacter(char32_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         (c >= kFirstSyllable && c <= kLastSyllable) || (c >= 0x1100 && c <= 0x11FF) || (c >= 0x3131 && c <= 0x318E);
}

}  // namespace

ReadingTable::ReadingTable(std::span<const uint8_t> bytes) {
  if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, 4) != 0 || Get32(bytes.data() + 4) != kVersion)
    return;
  const uint32_t count = Get32(bytes.data() + 8);
  if (count > (bytes.size() - kHeaderSize) / kRecordSize) return;
  records_ = bytes.data() + kHeaderSize;
  count_ = count;
}

Reading ReadingTable::At(std::size_t i) const {
  const uint8_t* p = records_ + i * kRecordSize;
  return {static_cast<char32_t>(Get32(p)), static_cast<char16_t>(Get16(p + 4)), static_cast<char16_t>(Get16(p + 6))};
}

bool ReadingTable::Find(char32_t hanja, Reading& out) const {
  std::size_t low = 0, high = count_;
  while (low < high) {
    const std::size_t mid = low + (high - low) / 2;
    const char32_t c = static_cast<char32_t>(Get32(records_ + mid * kRecordSize));
    if (c < hanja) {
      low = mid + 1;
    } else if (c > hanja) {
      high = mid;
    } else {
      out = At(mid);
      return true;
    }
  }
  return false;
}

std::vector<uint8_t> EncodeReadingTable(std::vector<Reading> readings) {
  std::sort(readings.begin(), readings.end(), [](const Reading& a, const Reading& b) { return a.hanja < b.hanja; });
  readings.erase(std::unique(readings.begin(), readings.end(),
                             [](const Reading& a, const Reading& b) { return a.hanja == b.hanja; }),
                 readings.end());
  std::vector<uint8_t> out(kMagic, kMagic + 4);
  Put32(out, kVersion);
  Put32(out, static_cast<uint32_t>(readings.size()));
  for (const Reading& r : readings) {
    Put32(out, static_cast<uint32_t>(r.hanja));
    Put16(out, r.reading);
    Put16(out, r.initial);
  }
  return out;
}

char16_t InitialSoundForm(char16_t syllable) {
  if (syllable < kFirstSyllable || syllable > kLastSyllable) return 0;
  const int index = syllable - kFirstSyllable;
  const int initial = index / (21 * 28);
  const int vowel = index / 28 % 21;
  const int final = index % 28;
  int to = initial;
  if (initial == kInitialR) to = IsIyVowel(vowel) ? kInitialNone : kInitialN;
  if (initial == kInitialN && IsIyVowel(vowel)) to = kInitialNone;
  if (to == initial) return 0;
  return static_cast<char16_t>(kFirstSyllable + (to * 21 + vowel) * 28 + final);
}

int ConvertInPlace(const ReadingTable& table, char16_t* text) {
  if (text == nullptr) return 0;
  int replaced = 0;
  bool inWord = false;
  char16_t* out = text;
  for (const char16_t* in = text; *in != 0;) {
    char32_t c = *in;
    int units = 1;
    if (IsHighSurrogate(in[0]) && IsLowSurrogate(in[1])) {
      c = 0x10000 + ((static_cast<char32_t>(in[0]) - 0xD800) << 10) + (in[1] - 0xDC00);
      units = 2;
    }
    Reading r;
    if (table.Find(c, r)) {
      *out++ = !inWord && r.initial != 0 ? r.initial : r.reading;
      inWord = true;
      ++replaced;
    } else {
      // Copied as it is (out never runs ahead of in).
      for (int i = 0; i < units; ++i) *out++ = in[i];
      inWord = IsWordCharacter(c);
    }
    in += units;
  }
  *out = 0;
  return replaced;
}

}  // namespace tibrel

// Builds the reading table of Tibrel.dll from Unihan's kHangul readings:
//
//   tibrelgen <Unihan_Readings.txt> <output tibrel.dat>
//
// Each hanja takes its first reading marked as a basic reading of
// education (source letter E), or else its first reading. Its word-initial
// reading is the initial-sound rule's form of that reading when Unihan
// lists that form among the hanja's readings too (女 녀, 여; 料 료, 요).
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tibrel_core.h"

namespace {

// The one UTF-8 character of s as a code point, or 0.
char32_t SingleCodePoint(const std::string& s) {
  const auto b = reinterpret_cast<const unsigned char*>(s.data());
  if (s.size() == 3 && (b[0] & 0xF0) == 0xE0)
    return static_cast<char32_t>((b[0] & 0x0F) << 12 | (b[1] & 0x3F) << 6 | (b[2] & 0x3F));
  return 0;
}

struct Candidate {
  char16_t syllable;
  bool basic;  // source letter E
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: tibrelgen <Unihan_Readings.txt> <tibrel.dat>\n");
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::fprintf(stderr, "tibrelgen: cannot read %s\n", argv[1]);
    return 1;
  }
  std::vector<tibrel::Reading> readings;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string code, field;
    if (!std::getline(fields, code, '\t') || !std::getline(fields, field, '\t') || field != "kHangul") continue;
    if (code.rfind("U+", 0) != 0) continue;
    const char32_t hanja = static_cast<char32_t>(std::stoul(code.substr(2), nullptr, 16));
    std::vector<Candidate> candidates;
    for (std::string item; fields >> item;) {
      const std::size_t colon = item.find(':');
      const char32_t s = SingleCodePoint(item.substr(0, colon));
      if (s < 0xAC00 || s > 0xD7A3) continue;
      const std::string sources = colon == std::string::npos ? "" : item.substr(colon + 1);
      candidates.push_back({static_cast<char16_t>(s), sources.find('E') != std::string::npos});
    }
    if (candidates.empty()) continue;
    Candidate chosen = candidates[0];
    for (const Candidate& c : candidates) {
      if (c.basic) {
        chosen = c;
        break;
      }
    }
    char16_t initial = tibrel::InitialSoundForm(chosen.syllable);
    bool listed = false;
    for (const Candidate& c : candidates) listed = listed || (initial != 0 && c.syllable == initial);
    readings.push_back({hanja, chosen.syllable, listed ? initial : char16_t{0}});
  }
  if (readings.empty()) {
    std::fprintf(stderr, "tibrelgen: no kHangul readings in %s\n", argv[1]);
    return 1;
  }
  const std::vector<uint8_t> table = tibrel::EncodeReadingTable(readings);
  std::ofstream out(argv[2], std::ios::binary);
  out.write(reinterpret_cast<const char*>(table.data()), static_cast<std::streamsize>(table.size()));
  if (!out) {
    std::fprintf(stderr, "tibrelgen: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("tibrelgen: %zu hanja\n", readings.size());
  return 0;
}

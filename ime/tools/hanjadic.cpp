// Builds the input method's hanja dictionaries "GmV6KS.dic" and "GmV6.dic"
// from a word list of lines "reading:word:comment" in UTF-8 (the hanja.txt of
// libhangul-data), with the list's copyright notice beside them.
//
//   hanjadic <hanja.txt> <output folder>
//
// Readings and words go through code page 949 to KS X 1001 and then to GM95;
// entries with a character outside KS X 1001 or beyond the engine's limits
// (readings of 32 bytes, words of 20 bytes) are left out and counted. The
// words of a reading are offered in the order of the list. The words go in
// through the dictionary engine itself, readings in a fixed shuffled order so
// that the nodes fill as they do in use; the result is checked and every
// reading looked up again before it is written.
#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "block_file.h"
#include "code_page.h"
#include "dic_check.h"
#include "dic_engine.h"
#include "ks_gm.h"

namespace {

using ime::dic::DicEngine;

class PrintingFeedback final : public ime::UserFeedback {
 public:
  void Beep(unsigned) override {}
  int ShowMessage(const std::string& text, unsigned) override {
    std::fprintf(stderr, "hanjadic: engine message (code page 932): %s\n", text.c_str());
    return 1;
  }
};

// UTF-16 unit -> GM95 pair, for every cell of KS X 1001 that code page 949 knows.
std::unordered_map<char16_t, uint16_t> BuildGm95Table(const codeconv::CodePageConverter& cp) {
  std::unordered_map<char16_t, uint16_t> table;
  for (int lead = 0xA1; lead <= 0xFE; ++lead) {
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      const std::string ks{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string u = cp.ToUtf16(949, ks);
      if (u.size() != 1) continue;
      const codeconv::DbChar gm =
          codeconv::KsCharToGm(codeconv::MakeDb(static_cast<uint8_t>(lead & 0x7F), static_cast<uint8_t>(trail)));
      table.emplace(u[0], gm);
    }
  }
  return table;
}

// GM95 bytes of a UTF-16 text; false when a character is not in KS X 1001.
bool ToGm95(const std::unordered_map<char16_t, uint16_t>& table, const std::u16string& text, std::string* out) {
  out->clear();
  for (char16_t c : text) {
    auto it = table.find(c);
    if (it == table.end()) return false;
    out->push_back(static_cast<char>(codeconv::Lead(it->second)));
    out->push_back(static_cast<char>(codeconv::Trail(it->second)));
  }
  return true;
}

struct Counts {
  size_t lines = 0, entries = 0, malformed = 0, notKs = 0, readingTooLong = 0, wordTooLong = 0, duplicates = 0;
};

std::u16string Field(const std::u16string& line, size_t* from) {
  size_t end = line.find(u':', *from);
  if (end == std::u16string::npos) end = line.size();
  std::u16string f = line.substr(*from, end - *from);
  *from = end + 1;
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: hanjadic <hanja.txt> <output folder>\n");
    return 2;
  }
  const std::string listPath = argv[1];
  const std::string folder = argv[2];
  std::vector<uint8_t> raw;
  if (!ime::ReadWholeFile(listPath, &raw)) {
    std::fprintf(stderr, "hanjadic: cannot read %s\n", listPath.c_str());
    return 1;
  }
  const std::string text(raw.begin(), raw.end());
  const codeconv::CodePageConverter& cp = codeconv::PlatformCodePages();
  const auto table = BuildGm95Table(cp);

  // The notice: the comment lines at the top of the list.
  std::string notice =
      "GmV6KS.dic and GmV6.dic in this folder are built from hanja.txt of libhangul-data,\n"
      "which is distributed under these terms:\n\n";
  for (size_t at = 0; at < text.size() && text[at] == '#';) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at + 1, end - at - 1);
    if (!line.empty() && line[0] == ' ') line.erase(0, 1);
    notice += line + "\n";
    at = end + 1;
  }

  // Words by reading in the order of the list.
  Counts n;
  std::map<std::string, std::vector<std::string>> words;
  const std::u16string all = cp.ToUtf16(65001, text);
  for (size_t at = 0; at < all.size();) {
    size_t end = all.find(u'\n', at);
    if (end == std::u16string::npos) end = all.size();
    std::u16string line = all.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    if (line.empty() || line[0] == u'#') continue;
    ++n.lines;
    size_t from = 0;
    const std::u16string reading16 = Field(line, &from);
    const std::u16string word16 = from <= line.size() ? Field(line, &from) : std::u16string();
    if (reading16.empty() || word16.empty()) {
      ++n.malformed;
      continue;
    }
    std::string reading, word;
    if (!ToGm95(table, reading16, &reading) || !ToGm95(table, word16, &word)) {
      ++n.notKs;
      continue;
    }
    if (reading.size() > ime::dic::kMaxReading) {
      ++n.readingTooLong;
      continue;
    }
    if (word.size() > ime::dic::kMaxWord) {
      ++n.wordTooLong;
      continue;
    }
    auto& list = words[reading];
    bool seen = false;
    for (const std::string& w : list) seen = seen || w == word;
    if (seen) {
      ++n.duplicates;
      continue;
    }
    list.push_back(word);
    ++n.entries;
  }

  // Readings in a fixed shuffled order; the words of each reading last first,
  // since every word goes in before the others of its reading.
  std::vector<const std::pair<const std::string, std::vector<std::string>>*> order;
  for (const auto& entry : words) order.push_back(&entry);
  std::mt19937 rng(20240601);
  for (size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[rng() % i]);

  ime::MemoryBlockFiles files;
  files.Bytes("dic") = ime::dic::NewDictionaryImage();
  PrintingFeedback feedback;
  DicEngine engine(files, feedback, 0);
  if (engine.DicOpen("dic") != 0) return 1;
  for (const auto* entry : order) {
    for (auto w = entry->second.rbegin(); w != entry->second.rend(); ++w) {
      ime::dic::DicRequest r;
      r.reading = entry->first;
      r.word = *w;
      r.kind = ime::dic::kKindBothModes;
      if (engine.DicAddWord(r) != 0) {
        std::fprintf(stderr, "hanjadic: adding a word failed after %u words\n", engine.Slot().header.LiveCount());
        return 1;
      }
    }
  }
  engine.DicEndAccess();

  // Check what was built: the structure, and every reading's words in order.
  const std::vector<uint8_t>& image = files.Bytes("dic");
  std::vector<ime::dic::DicEntry> listed;
  ime::dic::DicTreeShapeInfo shapes[ime::dic::kTreeCount];
  const std::string fault = ime::dic::DicCheckImage(image, &listed, shapes);
  if (!fault.empty()) {
    std::fprintf(stderr, "hanjadic: the built dictionary is broken: %s\n", fault.c_str());
    return 1;
  }
  std::map<std::string, std::vector<std::string>> stored;
  for (const auto& e : listed) stored[e.reading].push_back(e.word);
  if (stored != words) {
    std::fprintf(stderr, "hanjadic: the built dictionary does not hold the list's words in order\n");
    return 1;
  }
  for (const auto& [reading, list] : words) {
    std::string word;
    size_t i = 0;
    for (int rc = engine.DicLookup(reading, &word, 0); rc == ime::dic::kFound;
         rc = engine.DicLookupNext(reading, &word)) {
      if (i >= list.size() || list[i] != word) {
        std::fprintf(stderr, "hanjadic: lookup gives another word order\n");
        return 1;
      }
      ++i;
    }
    engine.DicEndAccess();
    if (i != list.size()) {
      std::fprintf(stderr, "hanjadic: lookup misses words of a reading\n");
      return 1;
    }
  }

  for (const char* name : {"GmV6KS.dic", "GmV6.dic"}) {
    const std::string path = folder + "/" + name;
    if (!ime::WriteWholeFile(path, image)) {
      std::fprintf(stderr, "hanjadic: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  const std::string noticePath = folder + "/libhangul-hanja-COPYING.txt";
  if (!ime::WriteWholeFile(noticePath, std::vector<uint8_t>(notice.begin(), notice.end()))) {
    std::fprintf(stderr, "hanjadic: cannot write %s\n", noticePath.c_str());
    return 1;
  }

  std::printf("hanjadic: %zu lines: %zu words under %zu readings; left out: %zu outside KS X 1001, "
              "%zu readings over %zu bytes, %zu words over %zu bytes, %zu duplicates, %zu malformed\n",
              n.lines, n.entries, words.size(), n.notKs, n.readingTooLong, ime::dic::kMaxReading, n.wordTooLong,
              ime::dic::kMaxWord, n.duplicates, n.malformed);
  std::printf("hanjadic: %zu bytes (%zu blocks);", image.size(), image.size() / ime::dic::kBlockSize);
  for (int t = 0; t < ime::dic::kTreeCount; ++t) {
    std::printf(" %s %u entries in %u nodes, depth %d;", ime::dic::Shape(t).tag, shapes[t].entries, shapes[t].nodes,
                shapes[t].depth);
  }
  std::printf("\n");
  return 0;
}

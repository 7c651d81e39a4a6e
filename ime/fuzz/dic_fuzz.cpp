// Fuzz target of the dictionary engine: arbitrary bytes as a dictionary file,
// opened, checked, looked up (every key that the file's node blocks carry,
// with every next), learned from, deleted from and added to. Nothing may read
// or write outside its buffers, loop without end or grow without bound.
//
// Built with clang's libFuzzer (dic_fuzz). Built with DIC_FUZZ_SEEDS_MAIN
// instead (dic_fuzz_seeds <folder>), it writes small well-formed dictionary
// files into the folder as the fuzzer's starting corpus and runs each of them
// through the target once.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "block_file.h"
#include "dic_check.h"
#include "dic_engine.h"

namespace {

using namespace ime::dic;

// Keys of the entries of the blocks that look like index nodes.
std::vector<std::string> KeysIn(const std::vector<uint8_t>& bytes) {
  std::vector<std::string> keys;
  for (size_t at = kBlockSize; at + kBlockSize <= bytes.size() && keys.size() < 48; at += kBlockSize) {
    for (int t = 0; t < kTreeCount; ++t) {
      const TreeShape& s = Shape(t);
      if (std::memcmp(&bytes[at], s.tag, 5) != 0) continue;
      const size_t count = std::min<size_t>(Get16(&bytes[at + 7]), s.capacity);
      for (size_t i = 0; i < count && keys.size() < 48; ++i) {
        const uint8_t* key = &bytes[at + TreeShape::kNodeHead + i * s.entrySize + 8];
        keys.emplace_back(reinterpret_cast<const char*>(key), strnlen(reinterpret_cast<const char*>(key), s.keyWidth));
      }
    }
  }
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const std::vector<uint8_t> input(data, data + size);
  DicCheckImage(input);

  ime::MemoryBlockFiles files;
  files.Bytes("f") = input;
  ime::SilentFeedback feedback;
  DicEngine engine(files, feedback, 0);
  if (engine.DicOpen("f") != 0) return 0;

  std::vector<std::string> readings = KeysIn(input);
  readings.push_back("a");
  readings.push_back(std::string(12, '\x82'));
  std::string first;
  for (const std::string& r : readings) {
    std::string w;
    int steps = 0;
    for (int rc = engine.DicLookup(r, &w, steps % 2 ? kAltKindModeBit : 0); rc == kFound && steps < 300;
         rc = engine.DicLookupNext(r, &w)) {
      if (first.empty()) first = w;
      ++steps;
    }
    engine.DicEndAccess();
  }
  if (!readings.empty() && !first.empty()) {
    engine.DicLearnWord(readings[0], first);
    engine.DicEndAccess();
    DicRequest d;
    d.reading = readings[0];
    d.word = first;
    engine.DicDeleteWord(d);
    engine.DicEndAccess();
  }
  for (size_t i = 0; i < readings.size() && i < 24; ++i) {
    DicRequest a;
    a.reading = readings[i].empty() ? std::string(1 + i, 'k') : readings[i];
    a.word = "w" + std::to_string(i);
    engine.DicAddWord(a);
    engine.DicEndAccess();
  }
  // An add takes a data block, a block per split and one for a new root.
  if (files.Bytes("f").size() > size + kBlockSize * (1 + 24 * (kPathLevels + 2))) __builtin_trap();
  return 0;
}

#ifdef DIC_FUZZ_SEEDS_MAIN
int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: dic_fuzz_seeds <folder>\n");
    return 2;
  }
  struct Seed {
    const char* name;
    int words;
    int readingLength;  // 0: lengths of every tree
    bool changes;       // learns and deletes too
  };
  const Seed seeds[] = {{"empty", 0, 2, false}, {"ind8", 40, 2, false}, {"all-trees", 60, 0, false},
                        {"changed", 50, 0, true}, {"ind32", 25, 30, true}};
  for (const Seed& s : seeds) {
    ime::MemoryBlockFiles files;
    files.Bytes("f") = NewDictionaryImage(kBlockSize);
    ime::SilentFeedback feedback;
    DicEngine engine(files, feedback, 0);
    engine.DicOpen("f");
    for (int i = 0; i < s.words; ++i) {
      DicRequest r;
      const int length = s.readingLength ? s.readingLength : 1 + (i * 7) % 32;
      r.reading.assign(static_cast<size_t>(length), static_cast<char>('a' + i % 5));
      r.word = "w" + std::to_string(i);
      r.kind = i % 3 ? kKindUserWord : kKindUserWordAlt;
      engine.DicAddWord(r);
      if (s.changes && i % 4 == 3) {
        engine.DicLearnWord(r.reading, r.word);
        DicRequest d = r;
        d.word = "w" + std::to_string(i - 1);
        engine.DicDeleteWord(d);
      }
    }
    engine.DicEndAccess();
    const std::vector<uint8_t>& bytes = files.Bytes("f");
    const std::string fault = DicCheckImage(bytes);
    if (!fault.empty()) {
      std::fprintf(stderr, "dic_fuzz_seeds: seed %s is broken: %s\n", s.name, fault.c_str());
      return 1;
    }
    if (!ime::WriteWholeFile(std::string(argv[1]) + "/" + s.name + ".dic", bytes)) {
      std::fprintf(stderr, "dic_fuzz_seeds: cannot write into %s\n", argv[1]);
      return 1;
    }
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  return 0;
}
#endif

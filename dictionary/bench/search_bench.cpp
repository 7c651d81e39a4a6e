// The dictionary's searches on the full built data, each from the query to
// the first page of the headword list (the rows and their headwords):
// a standard search, a prefix search and a wildcard search with a literal
// tail, read from the open files as the program does, beside the same work
// on the same keys held in memory, and beside a look-style binary search of
// a sorted text file of the keys.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_ratio.h"
#include "code_page.h"
#include "dictionary_link.h"
#include "key_compare.h"
#include "search.h"

namespace {

using namespace ombrel;

constexpr int kDirection = 1;  // Korean headwords
constexpr int kRows = 30;      // a first page of the list

DictionaryFileSet& Files() {
  static DictionaryFileSet* files = [] {
    auto* f = new DictionaryFileSet;
    if (!f->Open(OMBREL_DATA_ROOT)) {
      std::fprintf(stderr, "dictionary_bench: cannot open %s\n", OMBREL_DATA_ROOT);
      std::exit(1);
    }
    return f;
  }();
  return *files;
}

struct MemoryKey {
  std::u16string key;
  std::u16string headword;
  int32_t id;
};

// Every key of the direction with its headword and entry, as the peer holds them.
const std::vector<MemoryKey>& Memory() {
  static const std::vector<MemoryKey> keys = [] {
    std::vector<MemoryKey> out;
    DictionaryFileSet& f = Files();
    for (int32_t i = 0; i < f.KeyCount(kDirection); ++i) {
      MemoryKey k;
      f.ReadKey(kDirection, false, i, k.key);
      f.ReadHeadword(kDirection, i, k.headword);
      KeyListRecord pair[2];
      f.ReadKeyPair(kDirection, false, i, pair);
      k.id = pair[0].idIndex;
      out.push_back(std::move(k));
    }
    return out;
  }();
  return keys;
}

// The reversed keys in their order, each with its forward index.
const std::vector<std::pair<std::u16string, int32_t>>& MemoryReversed() {
  static const auto keys = [] {
    std::vector<std::pair<std::u16string, int32_t>> out;
    const auto& m = Memory();
    for (size_t i = 0; i < m.size(); ++i) out.push_back({std::u16string(m[i].key.rbegin(), m[i].key.rend()), static_cast<int32_t>(i)});
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return CompareUnits(a.first, b.first) < 0; });
    return out;
  }();
  return keys;
}

// Queries: every 97th key (a spread over the whole list).
std::vector<std::u16string> Queries(size_t n) {
  std::vector<std::u16string> out;
  const auto& m = Memory();
  for (size_t i = 0; i < m.size() && out.size() < n; i += 97) out.push_back(m[i].key);
  return out;
}

// Wildcard patterns with a literal tail: "??" and the last syllable of a key.
std::vector<std::u16string> Patterns(size_t n) {
  std::vector<std::u16string> out;
  for (const auto& q : Queries(n * 4)) {
    if (q.size() < 3) continue;
    out.push_back(u"??" + q.substr(q.size() - 1));
    if (out.size() == n) break;
  }
  return out;
}

size_t FirstPage(Searcher& s, const std::u16string& q, int method) {
  const Searcher::Result r = s.RunTextSearch(kDirection, method, q, false, kRows);
  size_t bytes = 0;
  std::string word;
  for (const EntryRef& e : r.rows) {
    HeadwordToCodePage(Files(), e, word);
    bytes += word.size();
  }
  return bytes;
}

void BM_DiskStandard(benchmark::State& state) {
  Searcher s(Files());
  const auto queries = Queries(400);
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(FirstPage(s, queries[i++ % queries.size()], link::kStandard));
  state.SetItemsProcessed(state.iterations());
}
void BM_DiskPrefix(benchmark::State& state) {
  Searcher s(Files());
  const auto queries = Queries(400);
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(FirstPage(s, queries[i++ % queries.size()].substr(0, 1), link::kPrefix));
  state.SetItemsProcessed(state.iterations());
}
void BM_DiskWildcardTail(benchmark::State& state) {
  Searcher s(Files());
  const auto patterns = Patterns(200);
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(FirstPage(s, patterns[i++ % patterns.size()], link::kStandard));
  state.SetItemsProcessed(state.iterations());
}

// ---- the same on the keys in memory ----

std::string Bytes949(const std::u16string& w);

size_t MemoryPageFrom(size_t first, const std::u16string* prefix) {
  const auto& m = Memory();
  size_t bytes = 0;
  std::vector<int32_t> ids;
  for (size_t i = first; i < m.size() && ids.size() < static_cast<size_t>(kRows); ++i) {
    if (prefix != nullptr && m[i].key.compare(0, prefix->size(), *prefix) != 0) break;
    if (std::find(ids.begin(), ids.end(), m[i].id) != ids.end()) continue;
    ids.push_back(m[i].id);
    bytes += Bytes949(m[i].headword).size();
  }
  return bytes;
}

size_t LowerBound(const std::u16string& q) {
  const auto& m = Memory();
  return static_cast<size_t>(std::lower_bound(m.begin(), m.end(), q, [](const MemoryKey& k, const std::u16string& v) {
                               return CompareHangulKeys(k.key, v) < 0;
                             }) -
                             m.begin());
}

void BM_MemoryStandard(benchmark::State& state) {
  const auto queries = Queries(400);
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(MemoryPageFrom(LowerBound(queries[i++ % queries.size()]), nullptr));
  state.SetItemsProcessed(state.iterations());
}
void BM_MemoryPrefix(benchmark::State& state) {
  const auto queries = Queries(400);
  size_t i = 0;
  for (auto _ : state) {
    const std::u16string p = queries[i++ % queries.size()].substr(0, 1);
    benchmark::DoNotOptimize(MemoryPageFrom(LowerBound(p), &p));
  }
  state.SetItemsProcessed(state.iterations());
}
void BM_MemoryWildcardTail(benchmark::State& state) {
  const auto patterns = Patterns(200);
  const auto& rev = MemoryReversed();
  const auto& m = Memory();
  size_t i = 0;
  for (auto _ : state) {
    const std::u16string& p = patterns[i++ % patterns.size()];
    const std::u16string tail = p.substr(p.size() - 1);
    auto it = std::lower_bound(rev.begin(), rev.end(), tail,
                               [](const auto& k, const std::u16string& v) { return CompareUnits(k.first, v) < 0; });
    std::vector<int32_t> hits;
    for (; it != rev.end() && it->first.compare(0, tail.size(), tail) == 0; ++it)
      if (it->first.size() == p.size()) hits.push_back(it->second);
    std::sort(hits.begin(), hits.end());
    size_t bytes = 0;
    for (size_t h = 0; h < hits.size() && h < static_cast<size_t>(kRows); ++h)
      bytes += Bytes949(m[static_cast<size_t>(hits[h])].headword).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations());
}

// ---- look: a sorted text file of the keys, binary search by byte offsets ----

std::string Utf8(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) {
    if (c < 0x80) out.push_back(static_cast<char>(c));
    else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | c >> 6));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | c >> 12));
      out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

// The headword in code page 949 through the same converter the program uses.
std::string Bytes949(const std::u16string& w) { return codeconv::PlatformCodePages().FromUtf16(949, w); }

const std::string& LookFile() {
  static const std::string path = [] {
    std::vector<std::string> lines;
    for (const auto& k : Memory()) lines.push_back(Utf8(k.key));
    std::sort(lines.begin(), lines.end());  // UTF-8 byte order is the syllables' order
    const std::string p = (std::filesystem::temp_directory_path() / "dictionary-bench-keys.txt").string();
    std::ofstream out(p, std::ios::binary);
    for (const auto& l : lines) out << l << '\n';
    return p;
  }();
  return path;
}

// look(1): binary search on byte offsets, each probe moved to the next line.
size_t Look(std::FILE* f, long size, const std::string& key) {
  long lo = 0, hi = size;
  char line[256];
  while (hi - lo > 256) {
    const long mid = lo + (hi - lo) / 2;
    std::fseek(f, mid, SEEK_SET);
    if (!std::fgets(line, sizeof line, f) || !std::fgets(line, sizeof line, f)) {
      hi = mid;
      continue;
    }
    line[std::strcspn(line, "\n")] = 0;
    if (std::string(line) < key) lo = mid;
    else hi = mid;
  }
  std::fseek(f, lo, SEEK_SET);
  if (lo > 0) std::fgets(line, sizeof line, f);
  size_t bytes = 0;
  int rows = 0;
  while (rows < kRows && std::fgets(line, sizeof line, f)) {
    line[std::strcspn(line, "\n")] = 0;
    if (std::string(line) < key) continue;
    bytes += std::strlen(line);
    ++rows;
  }
  return bytes;
}

void BM_LookStandard(benchmark::State& state) {
  std::FILE* f = std::fopen(LookFile().c_str(), "rb");
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  std::vector<std::string> queries;
  for (const auto& q : Queries(400)) queries.push_back(Utf8(q));
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(Look(f, size, queries[i++ % queries.size()]));
  std::fclose(f);
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_DiskStandard);
BENCHMARK(BM_MemoryStandard);
BENCHMARK(BM_LookStandard);
BENCHMARK(BM_DiskPrefix);
BENCHMARK(BM_MemoryPrefix);
BENCHMARK(BM_DiskWildcardTail);
BENCHMARK(BM_MemoryWildcardTail);

}  // namespace

int main(int argc, char** argv) {
  Memory();  // loaded before the runs
  LookFile();
  using suitebench::Figure;
  suitebench::AddRatio("standard search, files / keys in memory", "BM_DiskStandard", "BM_MemoryStandard",
                       Figure::kTimePerItem, 2.0);
  suitebench::AddRatio("prefix search, files / keys in memory", "BM_DiskPrefix", "BM_MemoryPrefix",
                       Figure::kTimePerItem, 2.0);
  suitebench::AddRatio("wildcard with a literal tail, files / keys in memory", "BM_DiskWildcardTail",
                       "BM_MemoryWildcardTail", Figure::kTimePerItem, 2.0);
  suitebench::AddRatio("standard search, files / look on a sorted key file", "BM_DiskStandard", "BM_LookStandard",
                       Figure::kTimePerItem, 0);
  for (const char* b : {"BM_DiskStandard", "BM_DiskPrefix", "BM_DiskWildcardTail"})
    suitebench::AddLimit(std::string(b) + " within a frame", b, 16e6);
  return suitebench::RunWithRatios(argc, argv);
}

// The dictionary engine on the built system dictionary beside its peers, on
// the same readings: every reading looked up and its words enumerated
// through the file (access held over all readings, and each reading in its
// own access as a conversion key does it: begin, lookups, end), beside
// libhangul's in-memory hanja table loaded from the list the dictionary is
// built from (hanja_table_match_exact and the list) and a
// std::unordered_multimap of the same words; and adding and learning
// 10,000 words.
#include <benchmark/benchmark.h>
#include <hangul.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench_ratio.h"
#include "block_file.h"
#include "code_page.h"
#include "dic_check.h"
#include "dic_engine.h"
#include "ks_gm.h"

namespace {

using namespace ime::dic;

struct Data {
  std::string path;                // a copy of the dictionary in /tmp
  std::vector<uint8_t> image;      // its bytes
  std::vector<DicEntry> entries;   // every word, in key order
  std::vector<std::string> readings;
  std::unordered_multimap<std::string, std::string> map;
  std::vector<std::string> utf8Readings;  // the same readings for libhangul
  HanjaTable* hanja = nullptr;
};

// A GM95 reading in UTF-8, through KS and code page 949.
std::string Utf8OfGm95(const std::string& gm95) {
  std::string ks = gm95;
  for (size_t i = 0; i + 1 < ks.size(); i += 2) {
    const codeconv::DbChar c = codeconv::GmCharToKs(
        codeconv::MakeDb(static_cast<uint8_t>(ks[i]), static_cast<uint8_t>(ks[i + 1])));
    ks[i] = static_cast<char>(codeconv::Lead(c));
    ks[i + 1] = static_cast<char>(codeconv::Trail(c));
  }
  std::string out;
  for (char16_t u : codeconv::PlatformCodePages().ToUtf16(949, ks)) {
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
    } else if (u < 0x800) {
      out.push_back(static_cast<char>(0xC0 | u >> 6));
      out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | u >> 12));
      out.push_back(static_cast<char>(0x80 | (u >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    }
  }
  return out;
}

const Data& Get() {
  static Data d = [] {
    Data d;
    if (!ime::ReadWholeFile(SUITE_DIC_PATH, &d.image)) {
      std::fprintf(stderr, "dic_bench: %s is missing: build suite-data first\n", SUITE_DIC_PATH);
      std::exit(1);
    }
    d.path = "/tmp/dic_bench_" + std::to_string(getpid()) + ".dic";
    ime::WriteWholeFile(d.path, d.image);
    DicCheckImage(d.image, &d.entries);
    for (const DicEntry& e : d.entries) {
      if (d.readings.empty() || d.readings.back() != e.reading) d.readings.push_back(e.reading);
      d.map.emplace(e.reading, e.word);
    }
    for (const std::string& r : d.readings) d.utf8Readings.push_back(Utf8OfGm95(r));
    d.hanja = hanja_table_load(SUITE_HANJA_LIST);
    if (d.hanja == nullptr) {
      std::fprintf(stderr, "dic_bench: libhangul cannot load %s\n", SUITE_HANJA_LIST);
      std::exit(1);
    }
    size_t found = 0;
    for (const std::string& r : d.utf8Readings) {
      HanjaList* list = hanja_table_match_exact(d.hanja, r.c_str());
      if (list != nullptr && hanja_list_get_size(list) > 0) ++found;
      hanja_list_delete(list);
    }
    std::printf("dictionary: %zu words under %zu readings, %zu bytes; libhangul's table knows %zu of the readings\n",
                d.entries.size(), d.readings.size(), d.image.size(), found);
    return d;
  }();
  return d;
}

struct Engine {
  ime::SilentFeedback feedback;
  DicEngine engine{ime::PlatformBlockFiles(), feedback, 0};
  explicit Engine(const std::string& path) { engine.DicOpen(path); }
};

// range(0): 0 each lookup in its own access (as the input method does), 1
// all lookups in one access.
void BM_DicLookupFirst(benchmark::State& state) {
  const Data& d = Get();
  Engine e(d.path);
  const bool oneAccess = state.range(0) == 1;
  std::string w;
  for (auto _ : state) {
    for (const std::string& r : d.readings) {
      if (e.engine.DicLookup(r, &w, 0) != kFound) state.SkipWithError("reading not found");
      if (!oneAccess) e.engine.DicEndAccess();
    }
    e.engine.DicEndAccess();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * d.readings.size()));
}

void BM_DicLookupAllWords(benchmark::State& state) {
  const Data& d = Get();
  Engine e(d.path);
  const bool oneAccess = state.range(0) == 1;
  std::string w;
  size_t words = 0;
  for (auto _ : state) {
    words = 0;
    for (const std::string& r : d.readings) {
      for (int rc = e.engine.DicLookup(r, &w, 0); rc == kFound; rc = e.engine.DicLookupNext(r, &w)) ++words;
      if (!oneAccess) e.engine.DicEndAccess();
    }
    e.engine.DicEndAccess();
  }
  if (words != d.entries.size()) state.SkipWithError("words missing");
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * d.readings.size()));
}

void BM_MapLookupFirst(benchmark::State& state) {
  const Data& d = Get();
  for (auto _ : state) {
    for (const std::string& r : d.readings) {
      auto it = d.map.find(r);
      benchmark::DoNotOptimize(it->second.data());
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * d.readings.size()));
}

void BM_MapLookupAllWords(benchmark::State& state) {
  const Data& d = Get();
  size_t words = 0;
  for (auto _ : state) {
    words = 0;
    for (const std::string& r : d.readings) {
      auto [from, to] = d.map.equal_range(r);
      for (auto it = from; it != to; ++it) {
        benchmark::DoNotOptimize(it->second.data());
        ++words;
      }
    }
  }
  if (words != d.entries.size()) state.SkipWithError("words missing");
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * d.readings.size()));
}

void BM_LibhangulLookupAllWords(benchmark::State& state) {
  const Data& d = Get();
  for (auto _ : state) {
    for (const std::string& r : d.utf8Readings) {
      HanjaList* list = hanja_table_match_exact(d.hanja, r.c_str());
      const int n = list != nullptr ? hanja_list_get_size(list) : 0;
      for (int i = 0; i < n; ++i) benchmark::DoNotOptimize(hanja_list_get_nth_value(list, static_cast<unsigned>(i)));
      hanja_list_delete(list);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * d.utf8Readings.size()));
}

constexpr int kChanges = 10000;

// 10,000 changes, each in its own access, on a fresh copy of the dictionary
// every time; change(engine, i) returns 0 on success.
template <typename Change>
void ChangeFreshCopies(benchmark::State& state, Change change) {
  const Data& d = Get();
  for (auto _ : state) {
    state.PauseTiming();
    ime::WriteWholeFile(d.path, d.image);
    Engine e(d.path);
    state.ResumeTiming();
    for (int i = 0; i < kChanges; ++i) {
      if (change(e.engine) != 0) state.SkipWithError("change failed");
      e.engine.DicEndAccess();
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kChanges);
}

// New words under readings of the dictionary.
void BM_DicAdd10000(benchmark::State& state) {
  const Data& d = Get();
  std::mt19937 rng(5);
  ChangeFreshCopies(state, [&](DicEngine& e) {
    DicRequest r;
    r.reading = d.readings[rng() % d.readings.size()];
    r.word = d.entries[rng() % d.entries.size()].word;
    return e.DicAddWord(r);
  });
}

// Learns of the last word of a reading that has more than one.
void BM_DicLearn10000(benchmark::State& state) {
  const Data& d = Get();
  std::vector<const DicEntry*> last;
  for (size_t i = 1; i < d.entries.size(); ++i) {
    const bool endOfReading = i + 1 == d.entries.size() || d.entries[i + 1].reading != d.entries[i].reading;
    if (endOfReading && d.entries[i - 1].reading == d.entries[i].reading) last.push_back(&d.entries[i]);
  }
  std::mt19937 rng(6);
  ChangeFreshCopies(state, [&](DicEngine& e) {
    const DicEntry* pick = last[rng() % last.size()];
    return e.DicLearnWord(pick->reading, pick->word);
  });
}

BENCHMARK(BM_DicLookupFirst)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapLookupFirst)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DicLookupAllWords)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibhangulLookupAllWords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapLookupAllWords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DicAdd10000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DicLearn10000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  using suitebench::Figure;
  suitebench::AddRatio("a reading looked up and enumerated, access held / libhangul", "BM_DicLookupAllWords/1",
                       "BM_LibhangulLookupAllWords", Figure::kTimePerItem, 1.0);
  suitebench::AddRatio("the same / std::unordered_multimap", "BM_DicLookupAllWords/1", "BM_MapLookupAllWords",
                       Figure::kTimePerItem, 0);
  suitebench::AddLimit("a conversion key's dictionary work with begin and end access", "BM_DicLookupAllWords/0",
                       5000);
  const int rc = suitebench::RunWithRatios(argc, argv);
  std::remove(Get().path.c_str());
  return rc;
}

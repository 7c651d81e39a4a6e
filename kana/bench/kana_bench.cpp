// KNChange on about 300 KB of Korean sentences made of real words (the
// readings of libhangul-data's hanja list), in KS and in GM code; beside it
// the romanization lookup of every syllable of the same text, by the index
// and by the scan of the table that the index replaces, and code page 949 to
// UTF-16 through iconv as a yardstick of plain code conversion.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "code_page.h"
#include "kana_fixtures.h"
#include "kana_key_table.h"
#include "kana_reading.h"

namespace {

struct Text {
  std::string ks;
  std::string gm;
  std::vector<std::string> syllables;  // romanized, one per Hangul syllable of the text
};

std::vector<std::string> Words() {
  std::ifstream in(KANA_BENCH_WORDS);
  std::vector<std::string> words;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    const std::string reading = line.substr(0, line.find(':'));
    const std::string ks = kana::test::Ks(reading);
    // Whole syllables only: every byte pair a KS Hangul syllable.
    bool hangul = !ks.empty() && ks.size() % 2 == 0;
    for (size_t i = 0; hangul && i < ks.size(); i += 2) {
      hangul = static_cast<uint8_t>(ks[i]) >= 0xB0 && static_cast<uint8_t>(ks[i]) <= 0xC8;
    }
    if (hangul && (words.empty() || words.back() != ks)) words.push_back(ks);
  }
  return words;
}

const Text& Get() {
  static const Text text = [] {
    const std::vector<std::string> words = Words();
    if (words.empty()) {
      std::fprintf(stderr, "kana_bench: no words in %s\n", KANA_BENCH_WORDS);
      std::exit(1);
    }
    Text t;
    std::mt19937 random(2024);
    while (t.ks.size() < 300 * 1024) {
      const int n = 3 + static_cast<int>(random() % 6);
      for (int w = 0; w < n; ++w) {
        t.ks += words[random() % words.size()];
        t.ks += w + 1 < n ? " " : ". ";
      }
    }
    t.gm = kana::test::GmFromKs(t.ks);
    for (size_t i = 0; i + 1 < t.gm.size();) {
      const auto lead = static_cast<uint8_t>(t.gm[i]);
      if (lead >= 0x81) {
        const std::string roman = kana::GetRomanization(codeconv::MakeDb(lead, static_cast<uint8_t>(t.gm[i + 1])));
        if (!roman.empty()) t.syllables.push_back(roman);
        i += 2;
      } else {
        ++i;
      }
    }
    std::printf("text: %zu bytes, %zu syllables, %zu words to draw from\n", t.ks.size(), t.syllables.size(),
                words.size());
    return t;
  }();
  return text;
}

void KnChangeOnText(benchmark::State& state, bool ks) {
  const Text& t = Get();
  const std::string& input = ks ? t.ks : t.gm;
  const kana::CKanaTables& tables = kana::test::GeneratedTables();
  const char* p = input.c_str();
  std::string out(static_cast<size_t>(kana::KnChange(tables, 0, &p, nullptr, ks ? 1 : 0, 1)) + 1, '\0');
  for (auto _ : state) {
    // The callers' two calls: measure, then write.
    const int n = kana::KnChange(tables, 0, &p, nullptr, ks ? 1 : 0, 1);
    benchmark::DoNotOptimize(kana::KnChange(tables, 0, &p, out.data(), ks ? 1 : 0, 1) + n);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
}

void BM_KNChange_KS(benchmark::State& state) { KnChangeOnText(state, true); }
void BM_KNChange_GM(benchmark::State& state) { KnChangeOnText(state, false); }

template <auto Find>
void RomanizationLookups(benchmark::State& state) {
  const Text& t = Get();
  for (auto _ : state) {
    for (const std::string& s : t.syllables) benchmark::DoNotOptimize(Find(s));
  }
  // Two lookups a syllable per KNChange pair of calls: reported per text byte.
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(t.ks.size()) / 2);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(t.syllables.size()));
}

void BM_RomanizationIndex(benchmark::State& state) { RomanizationLookups<kana::FindRomanization>(state); }
void BM_RomanizationScan(benchmark::State& state) { RomanizationLookups<kana::FindRomanizationLinear>(state); }

void BM_Iconv949ToUtf16(benchmark::State& state) {
  const Text& t = Get();
  const codeconv::CodePageConverter& pages = codeconv::PlatformCodePages();
  for (auto _ : state) benchmark::DoNotOptimize(pages.ToUtf16(949, t.ks));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(t.ks.size()));
}

BENCHMARK(BM_KNChange_KS)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KNChange_GM)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RomanizationIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RomanizationScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Iconv949ToUtf16)->Unit(benchmark::kMillisecond);

}  // namespace

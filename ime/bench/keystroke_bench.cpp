// One key through the whole key-down path of the input method (the key
// tables of ImeProcessKey, the packing of ImeToAsciiEx, the re-keying of the
// characters before the cursor, the composition record and the messages)
// beside libhangul's hangul_ic_process, on real words: a sample of the
// readings of libhangul-data's hanja list, each typed with its keys and
// committed with Enter (libhangul: flushed). Before timing, every word is
// typed once by both and the committed text compared with the word; only
// words that both type correctly are timed. The 3-set and roman arrangements
// and the ANSI interface type the same words with their own keys.
#include <benchmark/benchmark.h>
#include <hangul.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_ratio.h"
#include "word_typing.h"

namespace {

using ime::bench::PhysicalKey;
using ime::bench::Typist;

constexpr size_t kSampleWords = 30000;

struct Word {
  std::u16string text;
  std::vector<PhysicalKey> keys;
};

// Every n-th reading, so that the sample spans the whole list.
std::vector<std::u16string> SampleReadings() {
  const std::vector<std::u16string> all = ime::bench::HanjaReadings(SUITE_HANJA_LIST);
  std::vector<std::u16string> sample;
  const size_t step = all.size() > kSampleWords ? all.size() / kSampleWords : 1;
  for (size_t i = 0; i < all.size() && sample.size() < kSampleWords; i += step) sample.push_back(all[i]);
  return sample;
}

std::u16string Expected(const std::u16string& word, bool unicode) {
  if (unicode) return word;
  std::u16string units;
  for (char c : codeconv::PlatformCodePages().FromUtf16(949, word)) units.push_back(static_cast<unsigned char>(c));
  return units;
}

// Every syllable a KS X 1001 double byte (both bytes 0xA1 and above).
bool InKsX1001(const std::u16string& bytes, size_t syllables) {
  if (bytes.size() != 2 * syllables) return false;
  for (char16_t b : bytes) {
    if (b < 0xA1 || b > 0xFE) return false;
  }
  return true;
}

std::u16string LibhangulTypes(HangulInputContext* hic, const std::vector<PhysicalKey>& keys) {
  std::u16string out;
  auto append = [&out](const ucschar* s) {
    for (; s != nullptr && *s != 0; ++s) out.push_back(static_cast<char16_t>(*s));
  };
  for (const PhysicalKey& k : keys) {
    hangul_ic_process(hic, k.ch);
    append(hangul_ic_get_commit_string(hic));
  }
  append(hangul_ic_flush(hic));
  return out;
}

// The words that the engine types correctly on an arrangement and
// interface (2-set: and libhangul too), with their keys.
std::vector<Word> TypableWords(int inputMode, bool unicode, const std::vector<std::u16string>& sample) {
  Typist typist(inputMode, unicode);
  HangulInputContext* hic = inputMode == 1 ? hangul_ic_new("2") : nullptr;
  std::vector<Word> words;
  size_t noKeys = 0, engineDiffers = 0, libhangulDiffers = 0, notKs = 0;
  for (const std::u16string& text : sample) {
    Word w{text, {}};
    if (!ime::bench::KeysForText(inputMode, text, &w.keys)) {
      ++noKeys;
      continue;
    }
    const std::u16string expected = Expected(text, unicode);
    if (!unicode && !InKsX1001(expected, text.size())) {
      ++notKs;  // a syllable of code page 949's extension: no reading-table entry
      continue;
    }
    bool ok = true;
    if (typist.TypeWord(w.keys) != expected) {
      ++engineDiffers;
      ok = false;
    }
    if (hic != nullptr && LibhangulTypes(hic, w.keys) != text) {
      ++libhangulDiffers;
      ok = false;
    }
    if (ok) words.push_back(std::move(w));
  }
  if (hic != nullptr) hangul_ic_delete(hic);
  std::printf("%s %s: %zu of %zu words typed correctly (%zu without keys, %zu outside KS X 1001, engine "
              "differs on %zu, libhangul on %zu)\n",
              inputMode == 1 ? "2-set" : inputMode == 2 ? "3-set" : "roman", unicode ? "Unicode" : "ANSI",
              words.size(), sample.size(), noKeys, notKs, engineDiffers, libhangulDiffers);
  return words;
}

size_t KeysOf(const std::vector<Word>& words) {
  size_t n = 0;
  for (const Word& w : words) n += w.keys.size() + 1;  // and Enter
  return n;
}

void EngineKeys(benchmark::State& state, const std::vector<Word>* words, int inputMode, bool unicode) {
  Typist typist(inputMode, unicode);
  const PhysicalKey enter = ime::bench::EnterKey();
  for (auto _ : state) {
    for (const Word& w : *words) {
      for (const PhysicalKey& k : w.keys) typist.Press(k);
      typist.Press(enter);
    }
  }
  benchmark::DoNotOptimize(typist.sink.messages);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * KeysOf(*words)));
}

void LibhangulKeys(benchmark::State& state, const std::vector<Word>* words) {
  HangulInputContext* hic = hangul_ic_new("2");
  for (auto _ : state) {
    for (const Word& w : *words) {
      for (const PhysicalKey& k : w.keys) {
        hangul_ic_process(hic, k.ch);
        benchmark::DoNotOptimize(hangul_ic_get_commit_string(hic));
      }
      benchmark::DoNotOptimize(hangul_ic_flush(hic));
    }
  }
  hangul_ic_delete(hic);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * KeysOf(*words)));
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::u16string> sample = SampleReadings();
  if (sample.empty()) {
    std::fprintf(stderr, "keystroke_bench: no readings in %s\n", SUITE_HANJA_LIST);
    return 1;
  }
  static std::vector<std::vector<Word>> streams;
  streams.reserve(6);
  const struct {
    int mode;
    const char* name;
  } arrangements[] = {{1, "2-set"}, {2, "3-set"}, {0, "roman"}};
  for (bool unicode : {true, false}) {
    for (const auto& a : arrangements) {
      streams.push_back(TypableWords(a.mode, unicode, sample));
      const std::string name = std::string("Keys/Engine/") + (unicode ? "Unicode/" : "ANSI/") + a.name;
      benchmark::RegisterBenchmark(name.c_str(), EngineKeys, &streams.back(), a.mode, unicode);
      if (unicode && a.mode == 1) {
        benchmark::RegisterBenchmark("Keys/libhangul/2-set", LibhangulKeys, &streams.back());
      }
    }
  }
  suitebench::AddRatio("one key, engine (Unicode, 2-set) / hangul_ic_process", "Keys/Engine/Unicode/2-set",
                       "Keys/libhangul/2-set", suitebench::Figure::kTimePerItem, 1.5);
  suitebench::AddRatio("one key, engine (ANSI, 2-set) / hangul_ic_process", "Keys/Engine/ANSI/2-set",
                       "Keys/libhangul/2-set", suitebench::Figure::kTimePerItem, 1.5);
  return suitebench::RunWithRatios(argc, argv);
}

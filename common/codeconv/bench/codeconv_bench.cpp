// KS -> GM V3 -> KS through the converter, and code page 949 <-> UTF-8
// through iconv, over the same few MB of Korean text.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <random>
#include <string>
#include <vector>

#include "bench_ratio.h"
#include "code_page.h"
#include "gm_converter.h"
#include "gm_layout.h"

namespace {

using namespace codeconv;

// Word-like runs of 1-5 KS X 1001 syllables (rows 16-40), separated by
// blanks, with a full stop and a line end now and then.
const std::string& KoreanText() {
  static const std::string text = [] {
    std::mt19937 random(1);
    std::string s;
    while (s.size() < (4u << 20)) {
      const int letters = 1 + static_cast<int>(random() % 5);
      for (int i = 0; i < letters; ++i) {
        const int ordinal = static_cast<int>(random() % 2350);
        const DbChar ks = EncodeEucShape({16 + ordinal / 94, ordinal % 94});
        s.push_back(static_cast<char>(Lead(ks)));
        s.push_back(static_cast<char>(Trail(ks)));
      }
      s += random() % 8 == 0 ? ".\r\n" : " ";
    }
    return s;
  }();
  return text;
}

struct Tables {
  std::vector<uint8_t> toV3, fromV3;
  GmCodeConverter converter;
  Tables() {
    const GmLayout layout = BuildGmLayout(PlatformCodePages());
    toV3 = BuildGm95ToV3Table(layout);
    fromV3 = BuildGmV3To95Table(layout);
    converter.SetTables({{toV3.data(), toV3.size()}, {fromV3.data(), fromV3.size()}});
  }
};

void BM_KsToGmV3ToKs(benchmark::State& state) {
  static const Tables tables;
  const std::string& text = KoreanText();
  std::vector<char> gm(text.size() + 1), ks(text.size() + 1);
  for (auto _ : state) {
    std::copy(text.begin(), text.end(), gm.begin());
    tables.converter.KsToGm(gm.data(), static_cast<unsigned>(text.size()));
    tables.converter.GmToKs(ks.data(), gm.data(), static_cast<unsigned>(text.size()));
    benchmark::DoNotOptimize(ks.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_KsToGmV3ToKs)->Unit(benchmark::kMillisecond)->MinTime(2);

size_t Iconv(iconv_t cd, const char* in, size_t size, std::vector<char>& out) {
  char* src = const_cast<char*>(in);
  char* dst = out.data();
  size_t inLeft = size, outLeft = out.size();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  iconv(cd, &src, &inLeft, &dst, &outLeft);
  return out.size() - outLeft;
}

void BM_IconvCp949ToUtf8ToCp949(benchmark::State& state) {
  const std::string& text = KoreanText();
  iconv_t toUtf8 = iconv_open("UTF-8", "CP949");
  iconv_t back = iconv_open("CP949", "UTF-8");
  std::vector<char> utf8(text.size() * 2), ks(text.size());
  for (auto _ : state) {
    const size_t n = Iconv(toUtf8, text.data(), text.size(), utf8);
    benchmark::DoNotOptimize(Iconv(back, utf8.data(), n, ks));
  }
  iconv_close(toUtf8);
  iconv_close(back);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_IconvCp949ToUtf8ToCp949)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

int main(int argc, char** argv) {
  suitebench::AddRatio("KS -> GM V3 -> KS / iconv CP949 -> UTF-8 -> CP949, MB/s", "BM_KsToGmV3ToKs/min_time:2.000",
                       "BM_IconvCp949ToUtf8ToCp949/min_time:2.000", suitebench::Figure::kBytesPerSecond, 1.0);
  return suitebench::RunWithRatios(argc, argv);
}

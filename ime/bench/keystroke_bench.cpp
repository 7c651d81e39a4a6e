// Cost of one key through the whole engine (re-keying, composition record,
// messages) on long typing streams for each arrangement and interface.
#include <benchmark/benchmark.h>

#include "fake_context.h"

namespace {

using ime::test::EngineFixture;

// Realistic running text, typed per arrangement; Space and Enter commit.
const char* Stream(int mode) {
  switch (mode) {
    case 0: return "annyeonghaseyo jeoneun hankukeoreul kongbuhako issseupnida ";
    case 2: return "jfsjDbjfoj kfwx uhlfs kfsjdoz ";
    default: return "dkssudgktpdy wjsms gksrnrdjfmf rhdqngkrh dlTtmqslek ";
  }
}

void TypeStream(benchmark::State& state, bool unicode) {
  const int mode = static_cast<int>(state.range(0));
  EngineFixture f;
  f.settings.inputMode = mode;
  f.settings.mikakuBytes = 16;
  ime::ReadingTable table;
  if (!unicode) {
    auto data = ime::BuildReadingTable(mode);
    table.Load(data.data(), data.size(), mode);
    f.settings.interfaceCodePage = 0;
    f.engine.SetReadingTable(&table);
  }
  const std::string text = Stream(mode);
  size_t keys = 0;
  for (auto _ : state) {
    for (char c : text) {
      if (c == ' ') {
        f.Key(0x0D);
      } else {
        f.Type(std::string(1, c));
      }
      ++keys;
    }
    f.ctx.sink.sent.clear();
    benchmark::DoNotOptimize(f.ctx.comp);
  }
  state.SetItemsProcessed(static_cast<int64_t>(keys));
  state.counters["ns_per_key"] = benchmark::Counter(static_cast<double>(keys),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_UnicodeKeys(benchmark::State& state) { TypeStream(state, true); }
void BM_AnsiKeys(benchmark::State& state) { TypeStream(state, false); }

BENCHMARK(BM_UnicodeKeys)->Arg(0)->Arg(1)->Arg(2);
BENCHMARK(BM_AnsiKeys)->Arg(0)->Arg(1)->Arg(2);

}  // namespace

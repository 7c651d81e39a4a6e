#include "bench_ratio.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <map>
#include <vector>

namespace suitebench {

namespace {

struct Pair {
  std::string label, ours, peer;
  Figure figure;
  double goal;
};
struct Limit {
  std::string label, benchmark;
  double mostNs;
};

std::vector<Pair>& Pairs() {
  static std::vector<Pair> pairs;
  return pairs;
}
std::vector<Limit>& Limits() {
  static std::vector<Limit> limits;
  return limits;
}

struct Figures {
  double nsPerItem = 0;
  double bytesPerSecond = 0;
};

// The console output, and each run's figures kept by name.
class RatioReporter final : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal, so that a log or a pipe gets plain text.
  RatioReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.error_occurred || r.run_type != Run::RT_Iteration) continue;
      Figures f;
      if (auto it = r.counters.find("items_per_second"); it != r.counters.end() && it->second.value > 0) {
        f.nsPerItem = 1e9 / it->second.value;
      }
      if (auto it = r.counters.find("bytes_per_second"); it != r.counters.end()) f.bytesPerSecond = it->second.value;
      figures_[r.benchmark_name()] = f;
    }
  }

  void PrintRatios() const {
    if (!Pairs().empty()) std::printf("\nratios, same run and same input:\n");
    for (const Pair& p : Pairs()) {
      const Figures* a = Find(p.ours);
      const Figures* b = Find(p.peer);
      if (a == nullptr || b == nullptr) {
        std::printf("  %-58s  (not run)\n", p.label.c_str());
        continue;
      }
      double ratio = 0;
      bool met = false;
      if (p.figure == Figure::kTimePerItem) {
        ratio = b->nsPerItem > 0 ? a->nsPerItem / b->nsPerItem : 0;
        met = ratio > 0 && ratio <= p.goal;
        std::printf("  %-58s %6.2fx  (%.1f / %.1f ns)", p.label.c_str(), ratio, a->nsPerItem, b->nsPerItem);
      } else {
        ratio = b->bytesPerSecond > 0 ? a->bytesPerSecond / b->bytesPerSecond : 0;
        met = ratio >= p.goal;
        std::printf("  %-58s %6.2fx  (%.0f / %.0f MB/s)", p.label.c_str(), ratio, a->bytesPerSecond / 1e6,
                    b->bytesPerSecond / 1e6);
      }
      if (p.goal > 0) {
        std::printf("  goal %s %.2fx  %s\n", p.figure == Figure::kTimePerItem ? "<=" : ">=", p.goal,
                    met ? "met" : "NOT MET");
      } else {
        std::printf("\n");
      }
    }
    for (const Limit& l : Limits()) {
      const Figures* a = Find(l.benchmark);
      if (a == nullptr) {
        std::printf("  %-58s  (not run)\n", l.label.c_str());
        continue;
      }
      std::printf("  %-58s %7.2f us  goal < %.2f us  %s\n", l.label.c_str(), a->nsPerItem / 1e3, l.mostNs / 1e3,
                  a->nsPerItem < l.mostNs ? "met" : "NOT MET");
    }
  }

 private:
  const Figures* Find(const std::string& name) const {
    auto it = figures_.find(name);
    return it == figures_.end() ? nullptr : &it->second;
  }
  std::map<std::string, Figures> figures_;
};

}  // namespace

void AddRatio(const std::string& label, const std::string& ours, const std::string& peer, Figure figure,
              double goal) {
  Pairs().push_back({label, ours, peer, figure, goal});
}

void AddLimit(const std::string& label, const std::string& benchmark, double mostNs) {
  Limits().push_back({label, benchmark, mostNs});
}

int RunWithRatios(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  std::fflush(stdout);
  benchmark::Shutdown();
  return 0;
}

}  // namespace suitebench

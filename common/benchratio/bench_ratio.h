// A main for benchmarks that measure a hot path beside its peer in the same
// run: after the runs it prints, for each declared pair, the ratio of the
// two figures with its goal, and for each declared limit the figure against
// it. Ratios, not absolute times, are what these shared machines can compare.
#pragma once
#include <string>

namespace suitebench {

enum class Figure {
  kTimePerItem,    // lower is better: ours / peer
  kBytesPerSecond, // higher is better: ours / peer
};

// ours and peer are benchmark names as reported. goal: the ratio asked for
// (at most goal for times, at least goal for throughput); 0 for a ratio
// shown for comparison only.
void AddRatio(const std::string& label, const std::string& ours, const std::string& peer, Figure figure,
              double goal);
// The time per item of a benchmark against an absolute limit in nanoseconds.
void AddLimit(const std::string& label, const std::string& benchmark, double mostNs);

// Runs the registered benchmarks with the console reporter, then prints the
// ratios and limits. Returns 0.
int RunWithRatios(int argc, char** argv);

}  // namespace suitebench

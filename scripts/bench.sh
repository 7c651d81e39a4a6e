#!/usr/bin/env bash
# Builds the release benchmarks and runs them: the input method's keystrokes
# beside libhangul, its dictionary beside libhangul's hanja table and an
# in-memory map, the GM/KS code converter beside iconv, and the editor's
# opening and saving of 100 MB in each file code beside iconv. Each prints its
# figures and then the ratios to its peer, measured in the same run.
# Extra arguments go to every benchmark (e.g. --benchmark_min_time=1).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native-release >/dev/null
for bench in build/release/ime/bench/ime_bench build/release/ime/bench/dic_bench \
             build/release/common/codeconv/bench/codeconv_bench build/release/editor/bench/doc_bench \
             build/release/dictionary/bench/dictionary_bench; do
  # Without libhangul-dev or libbenchmark-dev the target does not exist;
  # the configure step has said which benchmarks it skipped.
  if ! cmake --build --preset native-release -j "${JOBS:-3}" --target "$(basename "$bench")"; then
    echo "bench.sh: $(basename "$bench") not built, skipped" >&2
    continue
  fi
  echo "== $(basename "$bench")"
  "$bench" "$@"
done

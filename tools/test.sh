#!/usr/bin/env bash
# Installs what is needed, then builds and runs every test in two
# configurations: RelWithDebInfo, and Debug with AddressSanitizer and
# UndefinedBehaviorSanitizer. Fails on the first failing build or test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh

jobs=$(nproc)
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

run_config() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

run_config build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_config build/asan -DCMAKE_BUILD_TYPE=Debug -DTARNWICK_SANITIZE=ON -DTARNWICK_BUILD_BENCH=OFF

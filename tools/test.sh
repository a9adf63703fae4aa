#!/usr/bin/env bash
# Installs what is needed, then builds and runs every test in two
# configurations: RelWithDebInfo, and Debug with AddressSanitizer and
# UndefinedBehaviorSanitizer; then builds the fuzz targets with clang and runs
# each for 30 s (the game-state blob's for 60 s) on its seed corpus, the
# targets side by side. Fails on the first failing build or test, or on any
# fuzzer's crash or sanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh

jobs=$(nproc)
# Dynamic TLS is not tracked: blocks a driver library kept in it after it was
# unloaded crash the leak checker's thread walk at exit.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1:suppressions=$PWD/tests/ubsan.supp}
# What the toolkit, the web engine and the session bus keep for the life of a
# process is not ours to free; programs the tests start inherit this too.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/platform/browser_page/lsan.supp:print_suppressions=0}

run_config() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

run_config build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Mesa's software rasteriser draws on the calling thread here: its worker
# threads, still winding down at exit, can crash LeakSanitizer's tracer.
LP_NUM_THREADS=0 run_config build/asan -DCMAKE_BUILD_TYPE=Debug -DTARNWICK_SANITIZE=ON -DTARNWICK_BUILD_BENCH=OFF

# Fuzzing: new inputs go to build/fuzz/corpus, crashes to build/fuzz/artifacts;
# the committed seeds in tests/fuzz/corpus are only read.
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARNWICK_FUZZ=ON -DTARNWICK_BUILD_TESTS=OFF -DTARNWICK_BUILD_BENCH=OFF
cmake --build build/fuzz -j "$jobs"
mkdir -p build/fuzz/artifacts
rm -rf build/fuzz/logs && mkdir -p build/fuzz/logs

# The targets run side by side, at most one a core; a failing one leaves a
# ".failed" mark beside its log, and the run fails once every target ended.
run_fuzzer() {
  local target=$1 seeds=$2 seconds=30
  [ "$target" = game_blob_fuzzer ] && seconds=60
  mkdir -p "build/fuzz/corpus/$target"
  if "build/fuzz/tests/fuzz/$target" -max_total_time=$seconds -close_fd_mask=1 \
      -artifact_prefix=build/fuzz/artifacts/ "build/fuzz/corpus/$target" "$seeds" \
      >"build/fuzz/logs/$target.log" 2>&1; then
    echo "$target: clean for $seconds s"
  else
    touch "build/fuzz/logs/$target.failed"
    cat "build/fuzz/logs/$target.log"
    echo "$target: FAILED"
  fi
}

for seeds in tests/fuzz/corpus/*/; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
    wait -n || true
  done
  run_fuzzer "$(basename "$seeds")" "$seeds" &
done
wait
if compgen -G "build/fuzz/logs/*.failed" >/dev/null; then
  exit 1
fi

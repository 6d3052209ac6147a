#!/usr/bin/env bash
# Builds everything and runs every test: once in an optimised build, once under AddressSanitizer and
# UndefinedBehaviorSanitizer; then the audio thread protocol under ThreadSanitizer and a one-minute
# run of each fuzz target (scripts/fuzz.sh). Installs missing Debian packages first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
export MESA_SHADER_CACHE_DISABLE=true
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

run_config() {
  local name=$1; shift
  echo "=== $name: build" >&2
  cmake -S . -B "build/$name" -G Ninja -DDEMO_WERROR=ON "$@" >/dev/null
  cmake --build "build/$name" -j "$jobs"
  echo "=== $name: test" >&2
  ctest --test-dir "build/$name" --output-on-failure -j "$jobs" --timeout 600
}

run_config release -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_config asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDEMO_SANITIZE=ON -DDEMO_BUILD_BENCH=OFF

echo "=== tsan: build (the audio thread protocol only)" >&2
cmake -S . -B build/tsan -G Ninja -DDEMO_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDEMO_TSAN=ON \
  -DDEMO_BUILD_BENCH=OFF >/dev/null
cmake --build build/tsan -j "$jobs" --target concurrency_tests
echo "=== tsan: test" >&2
TSAN_OPTIONS="halt_on_error=1" build/tsan/tests/concurrency/concurrency_tests

echo "=== fuzz: each target for 60 s on its seed corpus" >&2
scripts/fuzz.sh 60
echo "=== all tests passed" >&2

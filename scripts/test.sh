#!/usr/bin/env bash
# Builds everything and runs every test: once in an optimised build, once under AddressSanitizer and
# UndefinedBehaviorSanitizer; then the audio thread protocol under ThreadSanitizer and a one-minute
# run of each fuzz target (scripts/fuzz.sh). Before them, the Windows cross build and its tests under
# Wine, which the native device comparison needs (skipped, saying so, where mingw-w64 or Wine is
# missing; DEMO_WINDOWS=0 skips it on purpose), and the browser build, whose page the optimised
# build's browser comparison opens in headless Chromium (skipped, saying so, where emscripten is
# missing; DEMO_WEB=0 skips it on purpose). Installs missing Debian packages first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
export MESA_SHADER_CACHE_DISABLE=true
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# GCC 12's LeakSanitizer misreads the dynamic TLS of the libraries Mesa loads (a slot at 0x10c0 of an
# absurd size) and its tracer dies at exit; not following __tls_get_addr keeps the leak check without it.
export ASAN_OPTIONS="intercept_tls_get_addr=0"

run_config() {
  local name=$1; shift
  echo "=== $name: build" >&2
  cmake -S . -B "build/$name" -G Ninja -DDEMO_WERROR=ON "$@" >/dev/null
  cmake --build "build/$name" -j "$jobs"
  echo "=== $name: test" >&2
  ctest --test-dir "build/$name" --output-on-failure -j "$jobs" --timeout 600
}

run_windows() {
  if [ "${DEMO_WINDOWS:-1}" = 0 ]; then
    echo "=== windows: SKIPPED (DEMO_WINDOWS=0)" >&2
    return
  fi
  if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
    echo "=== windows: SKIPPED: mingw-w64 is not installed (scripts/setup.sh installs it with Wine)" >&2
    return
  fi
  echo "=== windows: build" >&2
  scripts/windows-deps.sh
  cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DDEMO_WERROR=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build/windows -j "$jobs"
  if ! command -v wine >/dev/null || ! command -v xvfb-run >/dev/null; then
    echo "=== windows: tests SKIPPED: Wine or xvfb-run is not installed" >&2
    return
  fi
  echo "=== windows: test (under Wine)" >&2
  ctest --test-dir build/windows --output-on-failure --timeout 600
}

run_web() {
  if [ "${DEMO_WEB:-1}" = 0 ]; then
    echo "=== web: SKIPPED (DEMO_WEB=0)" >&2
    return
  fi
  if ! command -v emcc >/dev/null; then
    echo "=== web: SKIPPED: emscripten is not installed (scripts/setup.sh installs it with Chromium)" >&2
    return
  fi
  echo "=== web: build (its test runs with the release tests)" >&2
  scripts/web-deps.sh
  cmake -S . -B build/web -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake -DDEMO_WERROR=ON \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build/web -j "$jobs"
}

run_windows
run_web
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

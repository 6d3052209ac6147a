#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang-19 and runs each on its committed corpus, two at a
# time. New inputs go to build/fuzz/found/<format>, findings to build/fuzz/artifacts/<format>; the
# committed corpus is not changed. Fails on any crash, leak, timeout or out-of-memory.
#   scripts/fuzz.sh [SECONDS per target, default 60] [FORMAT ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
DEMO_SETUP_EXTRA="clang-19 libclang-rt-19-dev" scripts/setup.sh

build=build/fuzz
CC=clang-19 CXX=clang++-19 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDEMO_FUZZ=ON \
  -DDEMO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzz_targets

formats=("$@")
if [ ${#formats[@]} -eq 0 ]; then
  for corpus in fuzz/corpus/*/; do
    format=$(basename "$corpus")
    [ -x "$build/fuzz/${format}_fuzz" ] && formats+=("$format")
  done
fi

export ASAN_OPTIONS="detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
run_one() {
  local format=$1 found="$build/found/$1" artifacts="$build/artifacts/$1/"
  mkdir -p "$found" "$artifacts"
  "$build/fuzz/${format}_fuzz" -max_total_time="$seconds" -timeout=2 -rss_limit_mb=1024 -print_final_stats=1 \
    -artifact_prefix="$artifacts" "$found" "fuzz/corpus/$format" >"$build/$format.log" 2>&1
}

pids=()
status=0
for format in "${formats[@]}"; do
  run_one "$format" &
  pids+=("$!:$format")
  if [ ${#pids[@]} -ge "$(nproc)" ]; then
    entry=${pids[0]}; pids=("${pids[@]:1}")
    wait "${entry%%:*}" || { echo "fuzz: ${entry#*:} FAILED, see $build/${entry#*:}.log" >&2; status=1; }
  fi
done
for entry in "${pids[@]}"; do
  wait "${entry%%:*}" || { echo "fuzz: ${entry#*:} FAILED, see $build/${entry#*:}.log" >&2; status=1; }
done

for format in "${formats[@]}"; do
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/$format.log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$build/$format.log")
  printf 'fuzz: %-8s %10s executions in %ss, %8s per second\n' "$format" "${execs:-?}" "$seconds" "${rate:-?}"
done
if [ $status -ne 0 ]; then
  for format in "${formats[@]}"; do grep -A30 -m1 -E "^==[0-9]+==ERROR|runtime error|Timeout|out-of-memory" "$build/$format.log" || true; done
fi
exit $status

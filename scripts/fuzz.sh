#!/usr/bin/env bash
# Builds the parsers' fuzz harnesses with clang's libFuzzer (address and
# undefined-behaviour sanitizers on) and runs them by hand.
#   scripts/fuzz.sh [SECONDS] [HARNESS...]
# SECONDS per harness (default 60); harnesses by name without "fuzz_"
# (default all). Runs are nice'd; FUZZ_JOBS (default 2) run at a time.
# New inputs grow a scratch copy of each corpus; crashes are left as
# build-fuzz/crash-* files, to be added to fuzz/corpus/<name> once fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

seconds=${1:-60}
shift || true
VESK_PACKAGES+=(clang libclang-rt-14-dev)
vesk_install_packages

CC=clang CXX=clang++ vesk_build build-fuzz "" -DVESK_FUZZ=ON

harnesses=("$@")
if ((${#harnesses[@]} == 0)); then
  for source in fuzz/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    harnesses+=("${name#fuzz_}")
  done
fi

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
run() {
  local name=$1 work=build-fuzz/corpus-$1
  mkdir -p "$work"
  (cd build-fuzz && UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 nice -n 10 \
    "./fuzz/fuzz_$name" -max_total_time="$seconds" -rss_limit_mb=4096 -print_final_stats=1 \
    -artifact_prefix="$PWD/crash-$name-" "$PWD/corpus-$name" "$PWD/../fuzz/corpus/$name" \
    >"log-$name.txt" 2>&1) && status=ok || status=FAILED
  echo "$name: $status, $(grep -o 'stat::number_of_executed_units: *[0-9]*' "build-fuzz/log-$name.txt" | grep -o '[0-9]*$') runs in ${seconds} s"
}
for name in "${harnesses[@]}"; do
  while (($(jobs -rp | wc -l) >= ${FUZZ_JOBS:-2})); do
    wait -n || true
  done
  run "$name" &
done
wait

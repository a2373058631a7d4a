#!/usr/bin/env bash
# Runs bench_cpuload for the fresh, heavy and idle set-ups on a virtual X
# display of its own, against the simulated instrument where it streams.
#   bench/cpuload.sh [build dir] [display number] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
display=":${2:-97}"
seconds="${3:-30}"

work=$(mktemp -d)
cp -f data/* "$work"/
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp &
xvfb=$!
trap 'kill "$xvfb"; rm -rf "$work"' EXIT
sleep 1
cd "$work"
export DISPLAY="$display" HOME="$work"
for setup in fresh heavy; do
  "$build/simulator/vesk-sim" -- "$build/bench/bench_cpuload" --setup "$setup" --seconds "$seconds"
done
"$build/bench/bench_cpuload" --setup idle --seconds "$seconds"

#!/usr/bin/env bash
# Runs every benchmark program that the build made, prints their own tables, then runs the
# window programs side by side with their baselines and prints the one table of figures.
# BENCH_RUNS sets how many times each window program runs (default 7).
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
shopt -s nullglob
found=0
for program in "$build"/bench/*_bench; do
  [ -x "$program" ] || continue
  found=1
  name=$(basename "$program")
  echo "== $name"
  "$program" --benchmark_repetitions=5 --benchmark_out="$results/$name.json" --benchmark_out_format=json
done
[ "$found" -eq 1 ] || echo "No benchmark programs in $build/bench"
if [ -x "$build/bench/product_window" ] && [ -x "$build/bench/baseline_window" ]; then
  echo "== window figures"
  python3 "$here/../bench/figures.py" "$build" --runs "${BENCH_RUNS:-7}" --ring-json "$results/ring_bench.json"
else
  echo "No window programs in $build/bench"
fi

#!/usr/bin/env bash
# Runs every benchmark program that the build made and prints their tables.
set -euo pipefail
build=${1:-build}
shopt -s nullglob
found=0
for program in "$build"/bench/*_bench; do
  [ -x "$program" ] || continue
  found=1
  echo "== $(basename "$program")"
  "$program" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done
[ "$found" -eq 1 ] || echo "No benchmark programs in $build/bench"

#!/usr/bin/env bash
# Runs every benchmark of the build folder.
set -euo pipefail
build=${1:-build}
for b in "$build"/bench/*_bench; do
  [[ -x "$b" ]] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done

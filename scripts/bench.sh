#!/usr/bin/env bash
# Runs every benchmark of the build folder, then times `tallex-cli batch` over generated cases.
set -euo pipefail
build=${1:-build}
for b in "$build"/bench/*_bench; do
  [[ -x "$b" ]] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done

cases=${TALLEX_BENCH_CASES:-100000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build"/bench/generate_cases "$cases" --seed 20261206 > "$work/cases.jsonl"
echo "== tallex-cli batch over $cases generated cases (one core)"
best=""
for run in 1 2 3; do
  start=$(date +%s.%N)
  taskset -c 0 "$build"/cli/tallex-cli batch "$work/cases.jsonl" -o "$work/verdicts.jsonl" 2>"$work/summary.txt"
  end=$(date +%s.%N)
  rate=$(awk -v n="$cases" -v a="$start" -v b="$end" 'BEGIN { printf "%.0f", n / (b - a) }')
  echo "run $run: $rate cases per second"
  if [[ -z "$best" || "$rate" -gt "$best" ]]; then best=$rate; fi
done
cat "$work/summary.txt"
echo "best: $best cases per second"

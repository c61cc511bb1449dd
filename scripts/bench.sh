#!/usr/bin/env bash
# Runs every benchmark of the build folder, then times `tallex-cli batch` over generated cases
# with one job and with two.
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
# Best of three runs with one job pinned to one core, then with two jobs on two cores; the peak
# memory (resident set) of the last run of each.
for jobs in 1 2; do
  cpus=$(seq -s , 0 $((jobs - 1)))
  echo "== tallex-cli batch --jobs $jobs over $cases generated cases (cores $cpus)"
  best=""
  for run in 1 2 3; do
    start=$(date +%s.%N)
    taskset -c "$cpus" /usr/bin/time -f %M -o "$work/peak.txt" \
      "$build"/cli/tallex-cli batch "$work/cases.jsonl" --jobs "$jobs" -o "$work/verdicts.jsonl" 2>"$work/summary.txt"
    end=$(date +%s.%N)
    rate=$(awk -v n="$cases" -v a="$start" -v b="$end" 'BEGIN { printf "%.0f", n / (b - a) }')
    echo "run $run: $rate cases per second"
    if [[ -z "$best" || "$rate" -gt "$best" ]]; then best=$rate; fi
  done
  cat "$work/summary.txt"
  echo "best with --jobs $jobs: $best cases per second, peak memory $(awk '{ printf "%.1f", $1 / 1024 }' "$work/peak.txt") MB"
done

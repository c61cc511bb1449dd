#!/usr/bin/env bash
# The parallel batch under ThreadSanitizer: generated cases (a tenth of them refused) as JSON
# lines and a loan tape, through `tallex-cli batch --jobs 4` built with -fsanitize=thread. Fails
# on any race report, and when the verdicts differ from those of one job.
#
#   tests/cli/tsan_batch.sh TSAN_BUILD_FOLDER RELEASE_BUILD_FOLDER
set -euo pipefail
cli=${1:?usage: tsan_batch.sh TSAN_BUILD RELEASE_BUILD}/cli/tallex-cli
generate=${2:?usage: tsan_batch.sh TSAN_BUILD RELEASE_BUILD}/bench/generate_cases
tape=$(dirname "$0")/../../examples/loan-tape.csv
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 ${TSAN_OPTIONS:-}"

"$generate" 3000 --seed 15 --invalid 10 > "$work/cases.jsonl"
{ head -n 1 "$tape"; for _ in $(seq 100); do tail -n +2 "$tape"; done; } > "$work/tape.csv"
failed=0
for input in cases.jsonl tape.csv; do
  for jobs in 1 4; do
    status=0
    "$cli" batch "$work/$input" --jobs "$jobs" -o "$work/$input.$jobs" 2> "$work/err" || status=$?
    # 0 or 1 (refused cases); 66 or a report is a race.
    if [[ $status -gt 1 ]] || grep -q "ThreadSanitizer" "$work/err"; then
      echo "tsan_batch: $input --jobs $jobs: status $status" >&2
      head -n 60 "$work/err" >&2
      failed=1
    fi
  done
  cmp -s "$work/$input.1" "$work/$input.4" || { echo "tsan_batch: $input: --jobs 4 differs from --jobs 1" >&2; failed=1; }
done
[[ $failed -eq 0 ]] && echo "tsan_batch: no race in the parallel batch"
exit $failed

#!/usr/bin/env bash
# Soak of `tallex-cli batch`: CASES seeded random cases (valid and invalid mixed) through one
# batch run, then again a tenth as many. Each run must end (no crash, no hang) with one verdict
# line per case and a summary whose counts add up and match the verdict lines; its peak memory
# (/usr/bin/time %M) must stay under 100 MB and not grow with the number of cases.
#
#   bench/soak.sh BUILD_FOLDER [CASES]        (CASES defaults to 1,000,000)
set -euo pipefail
build=${1:?usage: soak.sh BUILD_FOLDER [CASES]}
cases=${2:-1000000}
invalid_percent=${SOAK_INVALID_PERCENT:-10}
seed=${SOAK_SEED:-20261206}
limit_kb=$((100 * 1024))
cli="$build/cli/tallex-cli"
generate="$build/bench/generate_cases"
for tool in "$cli" "$generate" /usr/bin/time; do
  [[ -x "$tool" ]] || { echo "soak: $tool is missing (build first)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "soak: FAILED: $*" >&2; failed=1; }

# One batch run over n cases; leaves its peak memory in KB in `peak`.
soak_run() {
  local n=$1 name=$2
  "$generate" "$n" --seed "$seed" --invalid "$invalid_percent" > "$work/$name.jsonl"
  local start end status=0
  start=$(date +%s.%N)
  # A run that takes more than a minute per 10,000 cases has hung.
  timeout $((60 + n / 10000 * 60)) /usr/bin/time -f %M -o "$work/$name.mem" \
    "$cli" batch "$work/$name.jsonl" -o "$work/$name.verdicts" 2> "$work/$name.summary" || status=$?
  end=$(date +%s.%N)
  # 1: some cases were refused, as the invalid share must be.
  [[ $status -eq 0 || $status -eq 1 ]] ||
    fail "$name: tallex-cli batch ended with status $status: $(tail -c 300 "$work/$name.summary")"
  local lines summary
  lines=$(wc -l < "$work/$name.verdicts" 2>/dev/null || echo 0)
  summary=$(tail -n 1 "$work/$name.summary")
  peak=$(tail -n 1 "$work/$name.mem" 2>/dev/null || echo 0)
  [[ $peak =~ ^[0-9]+$ ]] || peak=0
  [[ $lines -eq $n ]] || fail "$name: $lines verdict lines for $n cases"

  # "cases N, checked C, failures F; violations: APR understated a, APR overstated b, finance
  # charge understated c, finance charge overstated d; subject to reimbursement e"
  local -a v
  read -r -a v <<< "$(sed -E 's/[^0-9]+/ /g' <<< "$summary")"
  [[ ${#v[@]} -eq 8 ]] || fail "$name: summary not understood: $summary"
  local total=${v[0]:-0} checked=${v[1]:-0} failures=${v[2]:-0}
  [[ $total -eq $n ]] || fail "$name: summary counts $total cases of $n"
  [[ $((checked + failures)) -eq $total ]] || fail "$name: $checked checked + $failures failures != $total"
  local errors
  errors=$(grep -c '^{"case":"line [0-9]*","error":' "$work/$name.verdicts" || true)
  [[ $errors -eq $failures ]] || fail "$name: $errors error lines, summary says $failures"
  local keys=(apr_understated_violation apr_overstated_violation fc_understated_violation fc_overstated_violation
              subject_to_reimbursement)
  for i in 0 1 2 3 4; do
    local count
    count=$(grep -c "\"${keys[$i]}\":true" "$work/$name.verdicts" || true)
    [[ $count -eq ${v[$((i + 3))]:-0} ]] || fail "$name: ${keys[$i]} on $count lines, summary says ${v[$((i + 3))]}"
  done
  [[ $peak -lt $limit_kb ]] || fail "$name: peak memory $peak KB (limit $limit_kb KB)"
  awk -v n="$n" -v a="$start" -v b="$end" -v m="$peak" -v s="$summary" 'BEGIN {
    printf "%9d cases: %6.1f s, %7.0f cases/s, peak memory %.1f MB\n    %s\n", n, b - a, n / (b - a), m / 1024, s }' >&2
  rm -f "$work/$name.jsonl" "$work/$name.verdicts"
}

echo "== soak: tallex-cli batch, seed $seed, $invalid_percent % invalid cases" >&2
small=$((cases / 10 > 0 ? cases / 10 : 1))
soak_run "$small" small
peak_small=$peak
soak_run "$cases" large
peak_large=$peak
# Flat: ten times the cases may not cost more than a few MB more.
if [[ $peak_large -gt $((peak_small + 8192)) ]]; then
  fail "memory grows with the cases: $peak_small KB for $small cases, $peak_large KB for $cases"
fi
if [[ $failed -ne 0 ]]; then exit 1; fi
echo "soak: passed" >&2

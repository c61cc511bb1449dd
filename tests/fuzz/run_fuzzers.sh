#!/usr/bin/env bash
# Runs every libFuzzer binary of a fuzz build for a bounded time each, starting from its seed
# corpus (tests/fuzz/corpus/<name>) and the inputs earlier runs kept (<build>/fuzz-corpus/<name>).
# Findings land in <build>/fuzz-findings/; the exit status is 1 when there is any.
#
#   tests/fuzz/run_fuzzers.sh BUILD_FOLDER [SECONDS_EACH]
set -euo pipefail
build=${1:?usage: run_fuzzers.sh BUILD_FOLDER [SECONDS_EACH]}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
findings="$build/fuzz-findings"
mkdir -p "$findings"

status=0
summary=()
for fuzzer in "$build"/tests/fuzz/fuzz_*; do
  [[ -x "$fuzzer" ]] || continue
  name=$(basename "$fuzzer")
  name=${name#fuzz_}
  corpus="$build/fuzz-corpus/$name"
  mkdir -p "$corpus"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$findings/$name-")
  [[ -f "$here/$name.dict" ]] && options+=(-dict="$here/$name.dict")
  echo "== $name: ${seconds} s"
  log="$build/fuzz-$name.log"
  result=passed
  # A run that outlives its time by a minute has hung outside the fuzzer's own timeouts.
  if ! timeout $((seconds + 60)) "$fuzzer" "${options[@]}" "$corpus" "$here/corpus/$name" > "$log" 2>&1; then
    result="FINDING (see $log and $findings)"
    status=1
    grep -E -A3 '^\*\*\* invariant broken|ERROR: (libFuzzer|AddressSanitizer)|runtime error' "$log" | head -20 || true
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  summary+=("$(printf '%-12s %10s runs %8s exec/s  %s' "$name" "${runs:-?}" "${rate:-?}" "$result")")
done
echo
printf '%s\n' "${summary[@]}"
exit $status

#!/usr/bin/env bash
# The bash completion script: each row is the words typed so far and the completions expected
# for the last one.
set -u
source "$1"
failures=0
expect() {
    local want=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _tallex_cli
    local got="${COMPREPLY[*]}"
    if [[ "$got" != "$want" ]]; then
        echo "completing '$*': got '$got', expected '$want'"
        failures=$((failures + 1))
    fi
}
expect "check" tallex-cli ch
expect "batch" tallex-cli ba
expect "--help --version" tallex-cli --
expect "xlsx" tallex-cli batch cases.jsonl --format x
expect "csv" tallex-cli batch - --input-format c
expect "--format" tallex-cli batch cases.jsonl --fo
expect "--jobs" tallex-cli batch cases.jsonl --jo
expect "--unit-days" tallex-cli apr --u
expect "report" tallex-cli help re
exit $failures

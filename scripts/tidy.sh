#!/usr/bin/env bash
# clang-tidy with the checks of .clang-tidy over every source of core/ and casefile/; fails on a
# finding. Needs the compile commands of a configured build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
mapfile -t files < <(git ls-files 'core/*.cpp' 'casefile/*.cpp')
# GCC-only warning flags of the build mean nothing to clang.
printf '%s\n' "${files[@]}" | xargs -P "$(nproc)" -n 4 \
  clang-tidy -p "$build" --quiet --extra-arg=-Wno-unknown-warning-option

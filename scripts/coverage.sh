#!/usr/bin/env bash
# Line coverage of core/, casefile/ and cli/ by the non-GUI tests: a gcov build in its own
# folder, the tests run once, and gcovr's summary (the per-file table with VERBOSE=1).
#   scripts/coverage.sh [BUILD_DIR] [JOBS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-coverage}
jobs=${2:-$(nproc)}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [[ ! -f $build/build.ninja ]]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=--coverage \
        -DCMAKE_EXE_LINKER_FLAGS=--coverage -DTALLEX_BUILD_APP=OFF -DTALLEX_BUILD_BENCH=OFF "${launcher[@]}"
fi
nice cmake --build "$build" -j "$jobs"
# Counts of an earlier run would add up with this one.
find "$build" -name '*.gcda' -delete
nice ctest --test-dir "$build" -j "$jobs" -E '^format\.check$' --output-on-failure || {
    echo "coverage: some tests failed; the figure below counts what ran" >&2
}
filters=(--filter 'core/' --filter 'casefile/' --filter 'cli/')
if [[ ${VERBOSE:-0} == 1 ]]; then
    gcovr -r . "$build" "${filters[@]}" --gcov-ignore-parse-errors -j "$jobs"
fi
gcovr -r . "$build" "${filters[@]}" --gcov-ignore-parse-errors -j "$jobs" --print-summary -o /dev/null

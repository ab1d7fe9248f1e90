#!/usr/bin/env bash
# Sets up, builds and runs every test, headless. Each test binary runs its tests in a shuffled
# order; GTEST_RANDOM_SEED=<1..99999> repeats the order of an earlier run (its seed is printed).
#
# With --sanitize: the same tests, and a replay of every fuzz corpus, in build-sanitize (Debug,
# clang, the address and undefined behaviour sanitizers; see setup.sh). A sanitizer's report
# fails its test.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
folder=build
if [ "${1:-}" = --sanitize ]; then
  folder=build-sanitize
  "$here/scripts/setup.sh" --sanitize
  # The stack of each undefined behaviour report, not only its line.
  export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
else
  "$here/scripts/setup.sh"
fi
export QT_QPA_PLATFORM=offscreen
export GTEST_RANDOM_SEED="${GTEST_RANDOM_SEED:-$((RANDOM % 99999 + 1))}"
echo "Test order seed: GTEST_RANDOM_SEED=$GTEST_RANDOM_SEED"
status=0
ctest --test-dir "$here/$folder" --output-on-failure --parallel "$(nproc)" || status=$?
echo "Test order seed: GTEST_RANDOM_SEED=$GTEST_RANDOM_SEED"
exit "$status"

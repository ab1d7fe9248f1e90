#!/usr/bin/env bash
# Sets up, builds and runs every test, headless. Each test binary runs its tests in a shuffled
# order; GTEST_RANDOM_SEED=<1..99999> repeats the order of an earlier run (its seed is printed).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
export GTEST_RANDOM_SEED="${GTEST_RANDOM_SEED:-$((RANDOM % 99999 + 1))}"
echo "Test order seed: GTEST_RANDOM_SEED=$GTEST_RANDOM_SEED"
status=0
ctest --test-dir "$here/build" --output-on-failure --parallel "$(nproc)" || status=$?
echo "Test order seed: GTEST_RANDOM_SEED=$GTEST_RANDOM_SEED"
exit "$status"

#!/usr/bin/env bash
# Sets up, builds and runs every test, headless.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$here/build" --output-on-failure --parallel "$(nproc)"

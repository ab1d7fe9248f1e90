#!/usr/bin/env bash
# Sets up, builds and starts the program. The database "opr.mdb" lives in the working directory.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup.sh"
mkdir -p "$here/data"
cd "$here/data"
exec "$here/build/src/vellomar" "$@"

#!/usr/bin/env bash
# Sets up, builds and starts the program in data/, where its database "opr.mdb" lives; data/ is
# outside build/, so rebuilding never touches the database.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup.sh"
mkdir -p "$here/data"
cd "$here/data"
exec "$here/build/src/vellomar" "$@"

#!/usr/bin/env bash
# Fails when the system's code reaches past the platform: a Qt header outside src/platform, or
# SQLite (its header, its C API, its pragmas and schema table) outside src/platform/ado.
set -uo pipefail
cd "$(dirname "$0")/.."
status=0
qt=$(git grep -l -E '#include *<Q' -- 'src/*.h' 'src/*.cpp' ':!src/platform')
if [ -n "$qt" ]; then
  echo "Qt headers outside src/platform:"; echo "$qt"; status=1
fi
sqlite=$( (git grep -l -i -e sqlite -- 'src/*.h' 'src/*.cpp' ':!src/platform/ado'
          git grep -l -E '\bPRAGMA\b' -- 'src/*.h' 'src/*.cpp' ':!src/platform/ado') | sort -u)
if [ -n "$sqlite" ]; then
  echo "SQLite outside src/platform/ado:"; echo "$sqlite"; status=1
fi
exit "$status"

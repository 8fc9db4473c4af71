#!/usr/bin/env bash
# Installs what is missing, builds both architectures, and runs every test under Wine in each
# build's private prefix with its own Xvfb: the 64-bit suite always, the 32-bit suite where this
# kernel runs 32-bit programs. No display and no standard input needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/wine-lib.sh
bash scripts/build.sh

suite() {  # suite PRESET: the whole ctest suite of one build, in a Wine session of its own
  local preset=$1 build=build/$1 rc=0
  echo "== $preset: running the test suite"
  scripts/wine-session start "$build"
  ctest --preset "$preset" || rc=$?
  scripts/wine-session stop "$build"
  return $rc
}

status=0
suite mingw64 || status=1
if tw_win32_runs; then
  suite mingw || status=1
else
  echo "32-bit suite skipped: $(tw_win32_why); the 32-bit build compiled."
fi
exit $status

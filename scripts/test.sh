#!/usr/bin/env bash
# Installs what is missing, builds both architectures, and runs every test under Wine in each
# build's private prefix with its own Xvfb: the 64-bit suite always, the 32-bit suite where this
# kernel runs 32-bit programs. No display and no standard input needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/wine-lib.sh
bash scripts/build.sh

# crashes BUILD MARKER: the backtraces of the Windows programs of the build that died by a signal
# since MARKER was made. A test program that passed its tests and then crashed on its way out shows
# nothing else of itself; its core (written where it ran, or where the kernel's core pattern says)
# tells which thread did what.
crashes() {
  local build=$1 marker=$2 pattern dirs core n=0
  pattern=$(cat /proc/sys/kernel/core_pattern 2>/dev/null || true)
  dirs=("$build")
  case $pattern in /*) dirs+=("$(dirname "$pattern")") ;; esac
  while IFS= read -r core; do
    n=$((n + 1))
    [ $n -le 3 ] || break
    echo "== a program of the suite died by a signal: $core"
    command -v gdb >/dev/null || { echo "   (no gdb here to read it)"; continue; }
    timeout 120 gdb -batch -nx -ex 'info threads' -ex 'thread apply all bt 16' "$(tw_loader "$(tw_arch "$build")")" "$core" \
      </dev/null 2>&1 | grep -v '^\[New LWP\|^warning:\|^$' | head -200 || true
  done < <(find "${dirs[@]}" -maxdepth 3 -type f -name 'core*' -newer "$marker" 2>/dev/null | grep -E '/core([.][^/]*)?$')
}

suite() {  # suite PRESET: the whole ctest suite of one build, in a Wine session of its own
  local preset=$1 build=build/$1 rc=0
  echo "== $preset: running the test suite"
  scripts/wine-session start "$build"
  touch "$build/suite-start"
  ( ulimit -c unlimited 2>/dev/null || true; ctest --preset "$preset" ) || rc=$?
  [ $rc -eq 0 ] || crashes "$build" "$build/suite-start"
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

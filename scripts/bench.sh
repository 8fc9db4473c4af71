#!/usr/bin/env bash
# Builds and runs every benchmark under Wine on a private 1920x1080 screen and prints their figures:
# the 64-bit build's, then the 32-bit build's where this kernel runs 32-bit programs.
#   bench.sh [NAME...]   only the benchmarks named (e.g. pencil_bench)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/wine-lib.sh
bash scripts/build.sh >/dev/null
presets=(mingw64)
if tw_win32_runs; then presets+=(mingw); else echo "32-bit benchmarks skipped: $(tw_win32_why)"; fi
for preset in "${presets[@]}"; do
  build=build/$preset
  # A session of its own, so that the Wine desktop takes the size of the benchmark's screen.
  mkdir -p $build/bench-session
  export TINTWELL_SCREEN=1920x1080x24
  scripts/wine-session start $build/bench-session
  for exe in $build/bench/*.exe; do
    name=$(basename "$exe" .exe)
    # Without names only the benchmarks run; the hand-run programs (mutation runs, long soak,
    # the start-up floor) take arguments of their own and are named to run.
    if [ $# -eq 0 ] && [[ $name != *_bench ]]; then continue; fi
    if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then continue; fi
    echo "== $preset $name"
    scripts/wine-exec $build/bench-session "$exe" </dev/null
  done
  scripts/wine-session stop $build/bench-session
done

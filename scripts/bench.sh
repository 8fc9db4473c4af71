#!/usr/bin/env bash
# Builds and runs every benchmark under Wine on a private 1920x1080 screen and prints their figures:
# the 64-bit build's, then the 32-bit build's where this kernel runs 32-bit programs.
#   bench.sh [NAME...]            only the benchmarks named (e.g. pencil_bench)
#   bench.sh --screens [NAME...]  the room's benchmarks (64-bit) at each screen families have,
#                                 1366x768, 1920x1080, 2560x1440 and 3840x2160, each on an Xvfb of
#                                 that size, then one table with a column per screen (every
#                                 column with its copy bounds, measured in the same run)
#   bench.sh --screens --before BUILD [NAME...]
#                                 the same, each screen running BUILD's benchmarks (another tree's
#                                 64-bit build, e.g. an earlier commit's) and then this tree's, in
#                                 one session: a table of "before -> after"
#   bench.sh --screens --rounds N [--before BUILD] [NAME...]
#                                 every screen N times over, round after round; each cell of the
#                                 table is the median of the rounds' p50s and of their p99s, so that
#                                 one stall of a busy machine does not make a series' p99
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/wine-lib.sh
screens_mode=
before_build=
rounds=1
if [ "${1:-}" = --screens ]; then screens_mode=1; shift; fi
if [ -n "$screens_mode" ] && [ "${1:-}" = --rounds ]; then rounds=$2; shift 2; fi
if [ -n "$screens_mode" ] && [ "${1:-}" = --before ]; then before_build=$(cd "$2" && pwd); shift 2; fi
if [ -n "$screens_mode" ]; then bash scripts/build.sh mingw64 >/dev/null; else bash scripts/build.sh >/dev/null; fi

# run_benchmarks BUILD SESSION [NAME...]: the benchmarks of BUILD in the running SESSION; with no
# names only the room's and the toolbox's (the hand-run programs take arguments of their own).
run_benchmarks() {
  local build=$1 session=$2 exe name
  shift 2
  for exe in "$build"/bench/*.exe; do
    name=$(basename "$exe" .exe)
    if [ $# -eq 0 ] && [[ $name != *_bench ]]; then continue; fi
    if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then continue; fi
    echo "== $name"
    timeout 1800 scripts/wine-exec "$session" "$exe" </dev/null || echo "($name failed)"
  done
}

if [ -n "$screens_mode" ]; then
  build=build/mingw64
  session=$build/bench-session
  mkdir -p "$session"
  names=("$@")
  [ ${#names[@]} -gt 0 ] || names=(pencil_bench canvas_tools_bench stamps_toys_text_bench clearing_bench pictures_bench)
  out=$(mktemp -d)
  trap 'rm -rf "$out"' EXIT
  echo "uptime at the start: $(uptime)"
  for round in $(seq 1 "$rounds"); do
    for screen in 1366x768 1920x1080 2560x1440 3840x2160; do
      export TINTWELL_SCREEN=${screen}x24
      scripts/wine-session stop "$session" >/dev/null 2>&1 || true
      scripts/wine-session start "$session"
      for name in "${names[@]}"; do
        if [ -n "$before_build" ]; then
          echo "== round $round, $screen $name (before)" >&2
          run_benchmarks "$before_build" "$session" "$name" >"$out/before.$screen.$name.$round" 2>/dev/null
          cat "$out/before.$screen.$name.$round"
          side=after
        else
          side=now
        fi
        echo "== round $round, $screen $name" >&2
        run_benchmarks "$build" "$session" "$name" >"$out/$side.$screen.$name.$round" 2>/dev/null
        cat "$out/$side.$screen.$name.$round"
      done
      scripts/wine-session stop "$session"
    done
  done
  echo "uptime at the end: $(uptime)"
  echo
  /usr/bin/python3 scripts/bench_table.py "$out"
  exit 0
fi

presets=(mingw64)
if tw_win32_runs; then presets+=(mingw); else echo "32-bit benchmarks skipped: $(tw_win32_why)"; fi
for preset in "${presets[@]}"; do
  build=build/$preset
  # A session of its own, so that the Wine desktop takes the size of the benchmark's screen.
  mkdir -p $build/bench-session
  export TINTWELL_SCREEN=1920x1080x24
  scripts/wine-session start $build/bench-session
  echo "== $preset"
  run_benchmarks "$build" "$build/bench-session" "$@"
  scripts/wine-session stop $build/bench-session
done

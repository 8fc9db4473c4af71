#!/usr/bin/env bash
# The timing table, before and after, side by side from one run on one machine:
#   timing-table.sh [-r ROUNDS] [-n STARTS] [BEFORE_COMMIT]
# BEFORE_COMMIT (default 909f94d) is checked out as a detached git worktree in build/before/src;
# this tree's bench/ folder is copied over it, so that both builds run the very same benchmarks
# (they use only the room's and the toolbox's public calls). Both are built (64-bit, Release:
# paint, the benchmarks, the trivial program, the keep-alive), then, in one run:
#   - the in-process benchmarks, before and after alternately, ROUNDS times (default 2) on one
#     1920x1080 screen; a figure is the median over the rounds (of two, the lower);
#   - scripts/startup-timing.sh with both builds, STARTS rounds (default 7) at 800x600.
# Prints the load, the raw figures and a markdown table.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=2 starts=7
while [ $# -gt 0 ]; do
  case $1 in
    -r) rounds=$2; shift 2 ;;
    -n) starts=$2; shift 2 ;;
    *) break ;;
  esac
done
before_commit=${1:-909f94d}
cd "$root"
bash scripts/install-deps.sh

targets=(paint pencil_bench canvas_tools_bench stamps_toys_text_bench trivial trivial_window keepalive)
src=$root/build/before/src
if [ ! -d "$src/.git" ] && [ ! -f "$src/.git" ]; then
  mkdir -p "$root/build/before"
  git -C "$root" worktree add --detach "$src" "$before_commit" >/dev/null
else
  # The copied benchmarks go first, so that nothing stands in the way of the checkout.
  git -C "$src" checkout -q -- bench
  git -C "$src" clean -fdq -- bench
  git -C "$src" checkout -q --detach "$before_commit"
fi
rm -rf "$src/bench"
cp -r "$root/bench" "$src/bench"
# The hand-run programs need the tests' support code of this tree; the older one lacks it.
sed -i '/^# Hand-run programs built on the tests/,$d' "$src/bench/CMakeLists.txt"

echo "== building before ($before_commit) and after ($(git -C "$root" rev-parse --short HEAD)$(git -C "$root" diff --quiet HEAD -- . ':!build' || echo ', with changes'))" >&2
(cd "$src" && cmake --preset mingw64 >/dev/null && cmake --build --preset mingw64 --target "${targets[@]}" >/dev/null)
(cmake --preset mingw64 >/dev/null && cmake --build --preset mingw64 --target "${targets[@]}" >/dev/null)
before=$src/build/mingw64
after=$root/build/mingw64

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "load: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"

# The benchmarks on a 1920x1080 screen of their own, before and after alternately.
session=$after/bench-session
mkdir -p "$session"
export TINTWELL_SCREEN=1920x1080x24
scripts/wine-session stop "$session" >/dev/null 2>&1 || true
scripts/wine-session start "$session"
for r in $(seq 1 "$rounds"); do
  for bench in pencil_bench canvas_tools_bench stamps_toys_text_bench; do
    for side in before after; do
      dir=$before
      [ $side = after ] && dir=$after
      echo "== round $r $side $bench" >&2
      (cd "$dir" && timeout 900 "$root/scripts/wine-exec" "$session" "$dir/bench/$bench.exe" </dev/null) \
        >"$work/$side.$bench.$r" 2>/dev/null || echo "($side $bench round $r failed)" >&2
    done
  done
done
scripts/wine-session stop "$session"
unset TINTWELL_SCREEN

# "NAME n=... p50 X ms  p99 Y ms ..." lines into "side|name|p50|p99".
for side in before after; do
  cat "$work/$side".*.* | sed -n 's/^\(.*[^ ]\) \+n= *[0-9]\+  p50 \([0-9.]\+\) ms  p99 \([0-9.]\+\) ms.*/\1|\2|\3/p' |
    sed "s/^/$side|/" >>"$work/series"
done
echo "== raw benchmark lines (after, last round)"
cat "$work"/after.*."$rounds"

echo "== start-up from outside"
scripts/startup-timing.sh -n "$starts" before="$before" after="$after" | tee "$work/startup"

# The median over the rounds of one figure (column 3 = p50, 4 = p99) of one series.
figure() {
  awk -F'|' -v s="$1" -v n="$2" -v c="$3" '$1==s && $2==n {print $c}' "$work/series" | sort -n |
    awk '{v[NR]=$1} END{if(NR) printf "%.3f", v[int((NR+1)/2)]; else printf "-"}'
}
startup() { awk -v s="$1" -v k="$2" -v c="$3" '$1=="RESULT" && $2==s && $3==k {print $(3+c)}' "$work/startup"; }

row() {  # row LABEL SERIES COLUMN TARGET
  printf '| %s | %s | %s | %s |\n' "$1" "$(figure before "$2" "$3")" "$(figure after "$2" "$3")" "$4"
}
echo
echo "## Timing table (ms; load at start: see above; benchmarks median of $rounds rounds, start-up median of $starts)"
echo
echo "| what | before | after | target |"
echo "|---|---|---|---|"
row "full composition (background, cans, show all), p50" "full composition (background, cans, show all)" 3 "< 16.7"
row "group switch (Rock / Tool Box click), p50" "group switch (Rock / Tool Box click)" 3 "< 16.7"
row "group switch (Rock / Tool Box click), p99" "group switch (Rock / Tool Box click)" 4 "< 16.7"
row "display change 1920x1080 -> 800x600, p50" "display change 1920x1080 -> 800x600" 3 ""
row "display change 800x600 -> 1920x1080, p50" "display change 800x600 -> 1920x1080" 3 ""
for s in "pencil drag move, size 32, with refresh" "pencil drag move, size 32, magnified" \
         "brush move, size 36" "brush move, size 36, magnified" \
         "eraser move, size 32" "eraser move, size 32, magnified" \
         "spray can move, size 36" "spray can move, size 36, magnified" \
         "ruler move across the canvas, size 32" "ruler move across the canvas, size 32, magnified" \
         "scissors floating piece 300x300 move" "scissors floating piece move, magnified" \
         "floating stamp, move" "floating stamp, move, magnified"; do
  printf '| %s, p50 / p99 | %s / %s | %s / %s | p99 < 1 |\n' "$s" "$(figure before "$s" 3)" "$(figure before "$s" 4)" \
    "$(figure after "$s" 3)" "$(figure after "$s" 4)"
done
# Every other series of the benchmarks (the toys, the text, the rubber bands, the presses, the
# whole-canvas operations), so that nothing the child waits for is left out of the table.
awk -F'|' '$1=="after" {print $2}' "$work/series" | awk '!seen[$0]++' | while IFS= read -r s; do
  case "$s" in
    "full composition (background, cans, show all)" | "group switch (Rock / Tool Box click)" | \
    "display change 1920x1080 -> 800x600" | "display change 800x600 -> 1920x1080" | \
    "pencil drag move, size 32, with refresh" | "pencil drag move, size 32, magnified" | \
    "brush move, size 36" | "brush move, size 36, magnified" | "eraser move, size 32" | \
    "eraser move, size 32, magnified" | "spray can move, size 36" | "spray can move, size 36, magnified" | \
    "ruler move across the canvas, size 32" | "ruler move across the canvas, size 32, magnified" | \
    "scissors floating piece 300x300 move" | "scissors floating piece move, magnified" | \
    "floating stamp, move" | "floating stamp, move, magnified") continue ;;
  esac
  printf '| %s, p50 / p99 | %s / %s | %s / %s | |\n' "$s" "$(figure before "$s" 3)" "$(figure before "$s" 4)" \
    "$(figure after "$s" 3)" "$(figure after "$s" 4)"
done
for k in floor window_floor splash splash_minus_floor splash_minus_window_floor click_to_room; do
  case $k in
    floor) label="launch to exit, trivial program (floor)"; target="" ;;
    window_floor) label="launch to exit, program showing one window (second floor)"; target="" ;;
    splash) label="launch to the splash's first frame"; target="" ;;
    splash_minus_window_floor) label="splash's first frame minus the second floor"; target="" ;;
    splash_minus_floor) label="splash's first frame minus the floor"; target="<= 150" ;;
    click_to_room) label="click on the splash to the room ready"; target="< 150" ;;
  esac
  printf '| %s, median / p90 (outside) | %s / %s | %s / %s | %s |\n' "$label" "$(startup before $k 1)" \
    "$(startup before $k 2)" "$(startup after $k 1)" "$(startup after $k 2)" "$target"
done
echo "load at the end: $(cut -d' ' -f1-3 /proc/loadavg)"

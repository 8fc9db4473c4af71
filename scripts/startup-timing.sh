#!/usr/bin/env bash
# Start-up timing from outside, under one private 800x600 Xvfb (no resolution advice there) and
# one Wine prefix with a persistent wineserver, for one or more builds side by side:
#   startup-timing.sh [-n N] LABEL=BUILD [LABEL=BUILD...]
# BUILD is a 64-bit build folder holding paint.exe, bench/trivial.exe and tests/keepalive.exe.
# Each of the N rounds runs, for every build in turn:
#   - the trivial program (bench/trivial.cpp): launch to exit, the floor Wine itself costs;
#   - where the build has it, the trivial window program (bench/trivial_window.cpp): launch to exit
#     of a program that shows one window, the floor of any program that shows something;
#   - paint.exe, watched by bench/probe/xprobe.c, which grabs the whole screen every few ms:
#       splash  = launch to the first grab whose splash rectangle (176,138 448x324, centred on
#                 800x600) holds the picture it then keeps for 800 ms;
#       ready   = the click on the splash's middle to the last change of the whole screen before
#                 it stays unchanged for 1.5 s (the room drawn completely);
#     the screen's centre must then be the white canvas and the pixel (5, 5) the wall (not black).
# Prints per build the median and 90th percentile of each, and "splash - floor" (the splash's
# delay beyond Wine's own launch), and lines "RESULT label key median p90" for timing-table.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
n=7
if [ "${1:-}" = -n ]; then n=$2; shift 2; fi
[ $# -gt 0 ] || { echo "usage: startup-timing.sh [-n N] LABEL=BUILD..." >&2; exit 2; }
. "$root/scripts/xvfb-lib.sh"

work=$(mktemp -d)
probe=$work/xprobe
gcc -O2 -Wall -Werror -o "$probe" "$root/bench/probe/xprobe.c" -lXtst -lX11

labels=() builds=()
for labelled in "$@"; do
  labels+=("${labelled%%=*}")
  builds+=("$(cd "${labelled#*=}" && pwd)")
done
for b in "${builds[@]}"; do
  for f in paint.exe bench/trivial.exe; do
    [ -f "$b/$f" ] || { echo "startup-timing: $b/$f is missing" >&2; exit 1; }
  done
done

# One prefix for every build, inside the first build folder.
session=${builds[0]}/timing
mkdir -p "$session"
timeout 300 "$root/scripts/wine-session" prefix "$session"
eval "$("$root/scripts/wine-session" env "$session")"
keep_pid=
cleanup() {
  [ -n "$keep_pid" ] && kill "$keep_pid" 2>/dev/null || true
  timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
  xvfb_stop
  rm -rf "$work"
}
trap cleanup EXIT
xvfb_start 800x600x24
timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
wineserver -p </dev/null >/dev/null 2>&1 || true
timeout 120 "$WINE" wineboot </dev/null >/dev/null 2>&1 || true
# A hidden window kept open holds Wine's desktop process, as on a desktop that is already running.
keep=${builds[0]}/tests/keepalive.exe
if [ -f "$keep" ]; then
  "$WINE" "$keep" </dev/null >/dev/null 2>&1 &
  keep_pid=$!
  sleep 2
fi
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"

for round in $(seq 1 "$n"); do
  for i in "${!builds[@]}"; do
    b=${builds[$i]} l=${labels[$i]}
    "$probe" floor "$WINE" "$b/bench/trivial.exe" | sed "s/^/$l /" >>"$work/raw"
    if [ -f "$b/bench/trivial_window.exe" ]; then
      "$probe" floor "$WINE" "$b/bench/trivial_window.exe" | sed "s/^exit_ms/window_ms/; s/^/$l /" >>"$work/raw"
    fi
    out=$(cd "$b" && "$probe" splash 176 138 448 324 "$WINE" "$b/paint.exe" || true)
    sed "s/^/$l /" <<<"$out" >>"$work/raw"
    sleep 0.5
  done
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

# Median and 90th percentile of a column of numbers.
stats() { sort -n | awk '{v[NR]=$1} END{if(NR==0){print "- -"; exit} m=v[int((NR+1)/2)]; p=v[int(NR*0.9+0.999)]; if(p=="")p=v[NR]; printf "%.0f %.0f\n", m, p}'; }

printf '%-10s %-22s %-22s %-22s %-22s\n' build "floor (launch-exit)" "splash (launch-frame)" "splash - floor" "click-to-room ready"
for l in "${labels[@]}"; do
  floor=$(awk -v l="$l" '$1==l && $2=="exit_ms"{print $3}' "$work/raw" | stats)
  splash=$(awk -v l="$l" '$1==l && $2=="splash_ms"{print $3}' "$work/raw" | stats)
  ready=$(awk -v l="$l" '$1==l && $2=="ready_ms"{print $3}' "$work/raw" | stats)
  # The splash's delay beyond the floor, round by round (the floor of the same round).
  delta=$(awk -v l="$l" '$1==l && $2=="exit_ms"{f=$3} $1==l && $2=="splash_ms"{print $3-f}' "$work/raw" | stats)
  bad=$(awk -v l="$l" '$1==l && (($2=="centre" && $3!="ffffff") || ($2=="corner" && $3=="000000")) {n++}
                       $1==l && $2=="timeout" {n++} END{print n+0}' "$work/raw")
  printf '%-10s %-22s %-22s %-22s %-22s\n' "$l" "$(awk '{print $1" / "$2" ms"}' <<<"$floor")" \
    "$(awk '{print $1" / "$2" ms"}' <<<"$splash")" "$(awk '{print $1" / "$2" ms"}' <<<"$delta")" \
    "$(awk '{print $1" / "$2" ms"}' <<<"$ready")"
  [ "$bad" = 0 ] || echo "  $l: $bad run(s) did not show the splash or the room as expected"
  echo "RESULT $l floor $floor"
  echo "RESULT $l splash $splash"
  echo "RESULT $l splash_minus_floor $delta"
  echo "RESULT $l click_to_room $ready"
  if grep -q "^$l window_ms" "$work/raw"; then
    window=$(awk -v l="$l" '$1==l && $2=="window_ms"{print $3}' "$work/raw" | stats)
    wdelta=$(awk -v l="$l" '$1==l && $2=="window_ms"{f=$3} $1==l && $2=="splash_ms"{print $3-f}' "$work/raw" | stats)
    echo "  $l: window floor (launch-exit of a program showing one window) $(awk '{print $1" / "$2" ms"}' <<<"$window"), splash - window floor $(awk '{print $1" / "$2" ms"}' <<<"$wdelta")"
    echo "RESULT $l window_floor $window"
    echo "RESULT $l splash_minus_window_floor $wdelta"
  fi
done
echo "(median / p90 over $n rounds)"

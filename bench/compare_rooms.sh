#!/usr/bin/env bash
# The room as the child sees it, from two builds, compared pixel for pixel:
#   compare_rooms.sh BEFORE_BUILD AFTER_BUILD [OUT_DIR]
# For each build and each screen (800x600, and 1920x1080 where the resolution advice is answered
# with Return) under a private Xvfb: the room after the click on the splash; after a pencil
# stroke and a click on Rock (a whole-room composition); magnified by the spyglass on a point of
# the stroke, with a second stroke drawn while magnified. Prints the number of differing pixels of
# each pair of screenshots (0 = identical) and leaves the PNGs in OUT_DIR.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
before=$(cd "$1" && pwd)
after=$(cd "$2" && pwd)
out=${3:-$root/build/rooms}
mkdir -p "$out"
. "$root/scripts/xvfb-lib.sh"

session=$after/rooms-session
mkdir -p "$session"
timeout 300 "$root/scripts/wine-session" prefix "$session"
eval "$("$root/scripts/wine-session" env "$session")"
trap 'timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true; xvfb_stop' EXIT

# The pointer rests on the canvas first, so that no caption or highlight depends on timing.
shot() {
  xdotool mousemove 700 400
  sleep 0.8
  timeout 20 import -window root "$1"
}
drag() {  # drag X1 Y1 X2 Y2: a stroke with the left button in 20 steps
  local i
  xdotool mousemove "$1" "$2"
  sleep 0.3
  xdotool mousedown 1
  sleep 0.3
  for i in $(seq 1 20); do
    xdotool mousemove $(($1 + ($3 - $1) * i / 20)) $(($2 + ($4 - $2) * i / 20))
    sleep 0.02
  done
  xdotool mouseup 1
  sleep 0.5
}

run() {  # run LABEL BUILD W H
  local label=$1 build=$2 W=$3 H=$4
  xvfb_start "${W}x${H}x24"
  timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
  wineserver -p </dev/null >/dev/null 2>&1 || true
  timeout 120 "$WINE" wineboot </dev/null >/dev/null 2>&1 || true
  (cd "$build" && "$WINE" "$build/paint.exe" </dev/null >/dev/null 2>&1) &
  local pid=$!
  sleep 4
  if [ "$W" -gt 800 ]; then xdotool key Return; sleep 2; fi
  xdotool mousemove $((W / 2)) $((H / 2)) click 1  # the splash
  sleep 2
  shot "$out/$label-${W}x$H-room.png"
  xdotool mousemove 400 $((H - 28)) click 1; sleep 0.5  # the pencil
  drag 300 200 500 300
  xdotool mousemove 29 $((H - 383)) click 1; sleep 1  # Rock: the whole room composed
  shot "$out/$label-${W}x$H-rock.png"
  xdotool mousemove 29 $((H - 270)) click 1; sleep 1  # back to the Artist's Tool Box
  xdotool mousemove 400 $((H - 28)) click 1; sleep 0.5
  xdotool mousemove 600 $((H - 10)) click 1; sleep 0.5  # the spyglass, then the point to magnify
  xdotool mousemove 400 250 click 1; sleep 1
  drag 250 150 550 350
  shot "$out/$label-${W}x$H-magnified.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
  xvfb_stop
}

for size in 800x600 1920x1080; do
  W=${size%x*} H=${size#*x}
  run before "$before" "$W" "$H"
  run after "$after" "$W" "$H"
  for what in room rock magnified; do
    diff=$(compare -metric AE "$out/before-$size-$what.png" "$out/after-$size-$what.png" null: 2>&1 || true)
    echo "$size $what: $diff differing pixels"
  done
done

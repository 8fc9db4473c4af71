#!/usr/bin/env bash
# A picture that outlives the program, at 800x600 in a prefix of its own: drawn, left to rest, the
# program killed outright; the next start shows the drawing and Quit asks about it (No ends it and
# takes the copy away). Then the session ends (wineboot --end-session) under a fresh drawing: the
# program asks nothing and ends, the copy is kept whole, and the next start shows it again.
. "$(dirname "$0")/lib/common.bash"
session 800x600x24 programs-recovery
red="srgb(255,0,0)"
COPY=$(recovery_folder)

# run_paint [keep]: paint.exe as the process itself (so that it can be killed), up and past its splash.
run_paint() {
  if [ "${1:-}" != keep ]; then rm -rf "$COPY"; fi
  ( exec "$WINE" "$PAINT" </dev/null >/dev/null 2>&1 ) &
  APP_PID=$!
  wintool wait Paint 60 || fail "no window of class Paint appeared"
  splash_passes 800 600
}
# stroke X1 Y1 X2 Y2: the pencil (the tool at start-up, red) across the canvas; its middle is red.
stroke() {
  local i steps=""
  for i in 1 2 3 4 5 6 7 8; do steps+=" mousemove $(($1 + ($3 - $1) * i / 8)) $(($2 + ($4 - $2) * i / 8)) sleep 0.01"; done
  timeout 10 xdotool mousemove "$1" "$2" mousedown 1 $steps mouseup 1
  expect_eq "the stroke" "$(wait_pixel $((($1 + $3) / 2)) $((($2 + $4) / 2)) "$red" 5)" "$red"
}
dead() { ! kill -0 "$1" 2>/dev/null; }
# quit_with_no WHAT: the remote's Quit; the question must come, and No ends the program.
quit_with_no() {
  timeout 10 xdotool mousemove 156 560 click 1
  within 5 test "$(wintool count '#32770')" = 1 || fail "$1: no remote"
  timeout 10 xdotool mousemove 352 206 click 1
  within 5 dialog_titled Attention || fail "$1: no question after Quit"
  timeout 10 xdotool key n
  within 30 dead "$APP_PID" || fail "$1: the program did not end after No"
  APP_PID=
}
# kept_and_back WHAT PX PY: the program has ended; its copy holds the red stroke at the picture's
# point (PX, PY), and the next start shows it on the canvas again.
kept_and_back() {
  within 30 dead "$APP_PID" || fail "$1: the program did not end"
  APP_PID=
  expect_eq "$1: the copy, as ImageMagick reads it" \
    "$(convert "$COPY/picture.bmp" -format "%wx%h %[pixel:p{$2,$3}]" info:)" "634x488 $red"
  run_paint keep
  expect_eq "$1: the drawing after the restart" "$(wait_pixel $(($2 + 147)) $(($3 + 16)) "$red" 5)" "$red"
}

# Drawn, then rested: the copy is written; the program is killed before anything is saved. The
# copy set aside while it is read at the next start is gone once the room is up.
run_paint
stroke 200 200 600 240
within 15 test -s "$COPY/picture.bmp" || fail "no recovery copy after the pointer rested"
expect_eq "the copy's name" "$(tr -d '\r' <"$COPY/name.txt")" "Tintwell.bmp"
kill -9 "$APP_PID"
kept_and_back "killed" 253 204
[ ! -e "$COPY/picture.restoring" ] || fail "the copy set aside for reading was left behind"
quit_with_no "after the restart"
[ ! -e "$COPY/picture.bmp" ] || fail "the copy outlived Quit answered No"
echo "ok: Quit answered No took the copy away"

# The session ends right after a stroke, before any pause: the copy is written at once, the
# program ends without a question, and the next start shows the stroke.
run_paint
stroke 200 350 600 380
[ ! -e "$COPY/picture.bmp" ] || echo "note: the copy was written before the session ended"
timeout 60 "$WINE" wineboot --end-session </dev/null >/dev/null 2>&1 || true
kept_and_back "the session ended" 253 349
quit_with_no "after the session's end"

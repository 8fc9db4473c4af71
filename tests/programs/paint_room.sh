#!/usr/bin/env bash
# A child's first minutes at 800x600: after the splash the room is drawn; hovering the pencil and
# the Rock button shows a caption and a highlight; the pencil draws in red, the blue can gives
# blue, the cleaner bottle takes the last stroke back, and the spyglass zooms in on a clicked point.
. "$(dirname "$0")/lib/common.bash"
session 800x600x24

start "$PAINT"
wintool wait Paint 60 || fail "no window of class Paint appeared"
splash_passes 800 600
sleep 0.5

# signature X Y W H: a fingerprint of a part of the screen.
signature() {
  timeout 20 import -window root "$WORK/sig.png"
  convert "$WORK/sig.png" -crop "$3x$4+$1+$2" +repage -format '%#' info:
}
# drag X1 Y1 X2 Y2: a stroke with the left button in 20 steps.
drag() {
  local i
  timeout 10 xdotool mousemove "$1" "$2" mousedown 1
  for i in $(seq 1 20); do
    timeout 10 xdotool mousemove $(($1 + ($3 - $1) * i / 20)) $(($2 + ($4 - $2) * i / 20))
    sleep 0.02
  done
  timeout 10 xdotool mouseup 1
  sleep 0.3
}

expect_eq "canvas centre after the splash" "$(pixel 460 250)" "srgb(255,255,255)"
[ "$(pixel 5 5)" != "srgb(255,255,255)" ] || fail "the wall is not drawn"

timeout 10 xdotool mousemove 460 250; sleep 0.3
empty=$(signature 0 578 572 22)
timeout 10 xdotool mousemove 400 572
# The caption follows the pointer's move; on a busy machine it may take a while to arrive.
caption_shown() { [ "$(signature 0 578 572 22)" != "$empty" ]; }
within 15 caption_shown || fail "no caption over the pencil"
echo "ok: caption over the pencil"

timeout 10 xdotool mousemove 460 250; sleep 0.3
plain=$(signature 0 130 111 125)
timeout 10 xdotool mousemove 29 217; sleep 0.3
[ "$(signature 0 130 111 125)" != "$plain" ] || fail "no highlight over the Rock button"
echo "ok: Rock button highlighted"
timeout 10 xdotool mousemove 460 250; sleep 0.3
expect_eq "highlight gone when the pointer leaves" "$(signature 0 130 111 125)" "$plain"

# Pick the pencil and draw.
timeout 10 xdotool mousemove 400 572 click 1; sleep 0.3
drag 300 200 500 300
expect_eq "pencil stroke" "$(pixel 400 250)" "srgb(255,0,0)"

# The blue can (lid 4), a second stroke, and the cleaner bottle takes it back.
timeout 10 xdotool mousemove 573 520 click 1; sleep 0.3
drag 300 300 500 200
expect_eq "stroke after the blue can" "$(pixel 350 275)" "srgb(0,0,255)"
timeout 10 xdotool mousemove 136 500 click 1; sleep 0.4
expect_eq "blue stroke undone" "$(pixel 350 275)" "srgb(255,255,255)"
expect_eq "red stroke kept" "$(pixel 350 225)" "srgb(255,0,0)"

# The spyglass, then a click on the middle of the red stroke: it is the centre of a 2x view.
expect_eq "before zooming" "$(pixel 463 260)" "srgb(255,255,255)"
timeout 10 xdotool mousemove 600 590 click 1; sleep 0.3
timeout 10 xdotool mousemove 400 250 click 1; sleep 0.4
expect_eq "zoomed stroke at the view's centre" "$(pixel 463 260)" "srgb(255,0,0)"
timeout 10 xdotool mousemove 600 590 click 1; sleep 0.4
expect_eq "zoomed out" "$(pixel 463 260)" "srgb(255,255,255)"

wintool close Paint || fail "no window to close"
expect_eq "exit code after WM_CLOSE" "$(exit_code "$APP_PID" 30)" 0

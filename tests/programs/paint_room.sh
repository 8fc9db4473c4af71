#!/usr/bin/env bash
# A child's first minutes (at 800x600, or on CHECK_SCREEN): after the splash the room is drawn;
# hovering the pencil and the Rock button shows a caption and a highlight; the pencil draws in red,
# the blue can gives blue, the cleaner bottle takes the last stroke back, and the spyglass zooms in
# on a clicked point.
. "$(dirname "$0")/lib/common.bash"
session "${SCREEN}x24"
start_room

# signature X Y W H: a fingerprint of a part of the screen.
# stroke X1 Y1 X2 Y2 WHAT COLOUR X Y: a stroke with the left button in 20 steps; the button is let
# go once the point (X, Y) on its way shows COLOUR (the program draws only while it sees it held).
stroke() {
  local i
  timeout 10 xdotool mousemove "$1" "$2" mousedown 1
  for i in $(seq 1 20); do
    timeout 10 xdotool mousemove $(($1 + ($3 - $1) * i / 20)) $(($2 + ($4 - $2) * i / 20))
    sleep 0.02
  done
  until_eq "$5" "$6" pixel "$7" "$8"
  timeout 10 xdotool mouseup 1
}
red="srgb(255,0,0)"
white="srgb(255,255,255)"

expect_eq "canvas centre after the splash" "$(pixel 460 250)" "$white"

# The caption strip lies along the bottom edge; the Rock button's highlight in the left panel.
strip="0 $((SH - 22)) 572 22"
highlight="0 $((130 + SH - 600)) 111 125"
timeout 10 xdotool mousemove 460 250
empty=$(signature $strip)
timeout 10 xdotool mousemove $(room 400 572)
until_ne "caption over the pencil" "$empty" signature $strip
caption=$(signature $strip)

timeout 10 xdotool mousemove 460 250
until_ne "caption gone over the canvas" "$caption" signature $strip
plain=$(signature $highlight)
timeout 10 xdotool mousemove $(room 29 217)
until_ne "Rock button highlighted" "$plain" signature $highlight
timeout 10 xdotool mousemove 460 250
until_eq "highlight gone when the pointer leaves" "$plain" signature $highlight

# Pick the pencil and draw.
timeout 10 xdotool mousemove $(room 400 572) click 1
stroke 300 200 500 300 "pencil stroke" "$red" 400 250

# The blue can (lid 4), a second stroke, and the cleaner bottle takes it back.
timeout 10 xdotool mousemove $(room 573 520) click 1
stroke 300 300 500 200 "stroke after the blue can" "srgb(0,0,255)" 350 275
timeout 10 xdotool mousemove $(room 136 500) click 1
until_eq "blue stroke undone" "$white" pixel 350 275
expect_eq "red stroke kept" "$(pixel 350 225)" "$red"

# The spyglass, then a click on the red stroke at window (400, 250), picture (253, 234): the view
# is centred there as far as the picture allows, and shows that point at twice its size.
cw=$((SW - 166)) ch=$((SH - 112))
clamp() { local v=$1; [ "$v" -lt 0 ] && v=0; [ "$v" -gt "$2" ] && v=$2; echo "$v"; }
sx=$(clamp $((253 - cw / 2 / 2)) $((cw - cw / 2)))
sy=$(clamp $((234 - ch / 2 / 2)) $((ch - ch / 2)))
zx=$((147 + 2 * (253 - sx))) zy=$((16 + 2 * (234 - sy)))
expect_eq "before zooming" "$(pixel $zx $zy)" "$white"
timeout 10 xdotool mousemove $(room 600 590) click 1
timeout 10 xdotool mousemove 400 250 click 1
until_eq "zoomed stroke at ($zx, $zy)" "$red" pixel $zx $zy
timeout 10 xdotool mousemove $(room 600 590) click 1
until_eq "zoomed out" "$white" pixel $zx $zy

wintool close Paint || fail "no window to close"
expect_eq "exit code after WM_CLOSE" "$(exit_code "$APP_PID" 30)" 0

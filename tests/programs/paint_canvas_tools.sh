#!/usr/bin/env bash
# The canvas tools (at 800x600, or on CHECK_SCREEN), used as a child would: every tool of the
# Artist's Tool Box, the Rock, the Magic Hat and the hammer and chisel of the Toys picked from the
# table and used on the canvas with press, drag and release. A few pixels are checked on the way;
# with SHOTS set to a folder, a screenshot is kept after every tool.
#
# The program reads the button and the C key as they are when it handles an event: where a check
# depends on that, the button or key is let go only once the program has shown what it did while
# it was held.
. "$(dirname "$0")/lib/common.bash"
session "${SCREEN}x24"
start_room

n=0
shot() {
  n=$((n + 1))
  [ -n "${SHOTS:-}" ] || return 0
  mkdir -p "$SHOTS"
  timeout 20 import -window root "$SHOTS/$(printf %02d $n)-$1.png"
}
pick() { timeout 10 xdotool mousemove "$1" "$2" click 1; }
# moves X1 Y1 X2 Y2 STEPS: the pointer from the first point to the second.
moves() {
  local i
  for i in $(seq 1 "$5"); do
    timeout 10 xdotool mousemove $(($1 + ($3 - $1) * i / $5)) $(($2 + ($4 - $2) * i / $5))
    sleep 0.02
  done
}
# press_and_move X1 Y1 X2 Y2 [STEPS]: the left button pressed and the pointer moved, still held.
press_and_move() {
  timeout 10 xdotool mousemove "$1" "$2" mousedown 1
  moves "$1" "$2" "$3" "$4" "${5:-15}"
}
# drag X1 Y1 X2 Y2 [STEPS]: a stroke with the left button.
drag() {
  press_and_move "$@"
  timeout 10 xdotool mouseup 1
}
# mostly_red X Y: red is high, green and blue low (soft edges blend a little).
mostly_red() {
  local rgb r g b
  rgb=$(pixel "$1" "$2" | tr -dc '0-9,')
  IFS=, read -r r g b <<<"$rgb"
  [ "$r" -ge 200 ] && [ "$g" -le 60 ] && [ "$b" -le 60 ]
}
white="srgb(255,255,255)"
red="srgb(255,0,0)"
blue="srgb(0,0,255)"
black="srgb(0,0,0)"

# Artist's Tool Box -------------------------------------------------------------------------
pick $(room 370 560)               # brush
press_and_move 180 60 320 60
wait_for 20 mostly_red 250 60 || fail "not red at 250,60: $(pixel 250 60)"
timeout 10 xdotool mouseup 1
echo "ok: brush stroke"
shot brush

pick $(room 326 552)               # eraser
drag 240 60 260 60 4
until_eq "eraser square" "$white" pixel 250 60
shot eraser

pick $(room 197 545)               # spray can
drag 200 150 320 170 20
shot spray

pick $(room 415 542)               # ruler
press_and_move 180 220 400 260 10
until_eq "ruler preview on the window" "$red" pixel 290 240
shot ruler-preview
timeout 10 xdotool mouseup 1
until_eq "ruler line in the picture" "$red" pixel 290 240
shot ruler

pick $(room 240 566)               # templates
pick $(room 73 517)                # filled rectangle
drag 420 60 520 140
until_eq "filled rectangle" "$red" pixel 470 100
pick $(room 32 478)                # ellipse outline, its preview seen half way
press_and_move 600 300 450 420 10
moves 450 420 550 370 5
shot templates-preview
timeout 10 xdotool mouseup 1
pick $(room 25 517)                # rectangle outline
drag 550 60 650 140
until_eq "rectangle outline" "$red" pixel 550 100
expect_eq "outline only" "$(pixel 600 100)" "$white"
shot templates

pick $(room 573 520)               # blue can
pick $(room 288 563)               # jar
pick 600 100
until_eq "jar inside the outline" "$blue" pixel 600 100
expect_eq "jar stops at the outline" "$(pixel 700 100)" "$white"
shot jar

pick $(room 295 538)               # dropper
pick 470 100
until_eq "dropper took red: paint blot" "$red" pixel $(room 461 568)
shot dropper

pick $(room 235 546)               # scissors: the marquee seen half way
press_and_move 420 50 530 150 10
until_eq "the marquee's right side" "$black" pixel 529 100
shot scissors-marquee
timeout 10 xdotool mouseup 1
# The piece (110 x 100, its frame black) follows the pointer.
timeout 10 xdotool mousemove 300 380
until_eq "the floating piece's frame" "$black" pixel 245 380
shot scissors-floating
# The stamp goes into the picture only while the button is held: it is let go once the press has
# been handled (the refresh after it shows the picture there, without the frame).
timeout 10 xdotool mousedown 1
until_ne "the press on the floating piece handled" "$black" pixel 245 380
timeout 10 xdotool mouseup 1
expect_eq "stamped piece" "$(pixel 300 380)" "$red"
# A tap (press and release handed to the system together, in one SendInput, so that the button is
# up before the program sees the press) stamps the piece too; the stamp shows once the piece moves on.
timeout 10 xdotool mousemove 210 430
until_eq "the floating piece's frame at the tap's place" "$black" pixel 155 430
wintool tap 210 430 || fail "the tap could not be sent"
until_ne "the tap handled" "$black" pixel 155 430
timeout 10 xdotool mousemove 640 440
until_eq "the floating piece's frame after the tap" "$black" pixel 585 440
expect_eq "the tap's stamp" "$(pixel 210 430)" "$red"
shot scissors-tap
# C drops the piece at the next move: the key is let go once that move has been handled (the
# piece's frame at the last place is gone); no piece is left on the window.
timeout 10 xdotool keydown c mousemove 650 450
until_ne "the move with C held handled" "$black" pixel 585 440
timeout 10 xdotool keyup c
[ "$(pixel 595 450)" != "$black" ] || fail "the piece's frame is left on the window after C"
echo "ok: no piece left after C"
shot scissors

# Rock: the six bump patterns ----------------------------------------------------------------
pick $(room 29 217)
y=300
for spot in "397 561" "312 533" "239 533" "387 533" "226 560" "311 560"; do
  pick $(room $spot)
  drag 160 $y 760 $y 30
  shot "bump-$y"
  y=$((y + 30))
done

# Magic Hat: the effect brushes ----------------------------------------------------------------
pick $(room 78 336)
x=180
for spot in "400 566" "330 570" "230 570" "396 540" "287 540" "201 538"; do
  pick $(room $spot)
  drag $x 40 $x 480 30
  shot "effect-$x"
  x=$((x + 40))
done

# Toys: the hammer and chisel ------------------------------------------------------------------
pick $(room 77 413)
pick $(room 396 560)
drag 440 40 440 480 30
drag 440 480 440 40 30
shot hammer

wintool close Paint || fail "no window to close"
expect_eq "exit code after WM_CLOSE" "$(exit_code "$APP_PID" 30)" 0

#!/usr/bin/env bash
# The canvas tools at 800x600, used as a child would: every tool of the Artist's Tool Box, the
# Rock, the Magic Hat and the hammer and chisel of the Toys picked from the table and used on the
# canvas with press, drag and release. A few pixels are checked on the way; with SHOTS set to a
# folder, a screenshot is kept after every tool.
. "$(dirname "$0")/lib/common.bash"
session 800x600x24

start "$PAINT"
wintool wait Paint 60 || fail "no window of class Paint appeared"
splash_passes 800 600
sleep 0.5

n=0
shot() {
  n=$((n + 1))
  [ -n "${SHOTS:-}" ] || return 0
  mkdir -p "$SHOTS"
  timeout 20 import -window root "$SHOTS/$(printf %02d $n)-$1.png"
}
pick() { timeout 10 xdotool mousemove "$1" "$2" click 1; sleep 0.3; }
# drag X1 Y1 X2 Y2 [STEPS]: a stroke with the left button.
drag() {
  local i steps=${5:-15}
  timeout 10 xdotool mousemove "$1" "$2" mousedown 1
  sleep 0.05
  for i in $(seq 1 "$steps"); do
    timeout 10 xdotool mousemove $(($1 + ($3 - $1) * i / steps)) $(($2 + ($4 - $2) * i / steps))
    sleep 0.02
  done
  timeout 10 xdotool mouseup 1
  sleep 0.3
}
# mostly_red X Y: red is high, green and blue low (soft edges blend a little).
mostly_red() {
  local rgb
  rgb=$(pixel "$1" "$2" | tr -dc '0-9,')
  IFS=, read -r r g b <<<"$rgb"
  [ "$r" -ge 200 ] && [ "$g" -le 60 ] && [ "$b" -le 60 ] || fail "not red at $1,$2: $rgb"
}
white="srgb(255,255,255)"
red="srgb(255,0,0)"
blue="srgb(0,0,255)"

# Artist's Tool Box -------------------------------------------------------------------------
pick 370 560                       # brush
drag 180 60 320 60
mostly_red 250 60
echo "ok: brush stroke"
shot brush

pick 326 552                       # eraser
drag 240 60 260 60 4
expect_eq "eraser square" "$(pixel 250 60)" "$white"
shot eraser

pick 197 545                       # spray can
drag 200 150 320 170 20
shot spray

pick 415 542                       # ruler
timeout 10 xdotool mousemove 180 220 mousedown 1
for i in $(seq 1 10); do timeout 10 xdotool mousemove $((180 + 22 * i)) $((220 + 4 * i)); sleep 0.02; done
sleep 0.2
expect_eq "ruler preview on the window" "$(pixel 290 240)" "$red"
shot ruler-preview
timeout 10 xdotool mouseup 1; sleep 0.3
expect_eq "ruler line in the picture" "$(pixel 290 240)" "$red"
shot ruler

pick 240 566                       # templates
pick 73 517                        # filled rectangle
drag 420 60 520 140
expect_eq "filled rectangle" "$(pixel 470 100)" "$red"
pick 32 478                        # ellipse outline, its preview seen half way
timeout 10 xdotool mousemove 600 300 mousedown 1
for i in $(seq 1 10); do timeout 10 xdotool mousemove $((600 - 15 * i)) $((300 + 12 * i)); sleep 0.02; done
for i in $(seq 1 5); do timeout 10 xdotool mousemove $((450 + 20 * i)) $((420 - 10 * i)); sleep 0.02; done
sleep 0.2
shot templates-preview
timeout 10 xdotool mouseup 1; sleep 0.3
pick 25 517                        # rectangle outline
drag 550 60 650 140
expect_eq "outline only" "$(pixel 600 100)" "$white"
shot templates

pick 573 520                       # blue can
pick 288 563                       # jar
pick 600 100
expect_eq "jar inside the outline" "$(pixel 600 100)" "$blue"
expect_eq "jar stops at the outline" "$(pixel 700 100)" "$white"
shot jar

pick 295 538                       # dropper
pick 470 100
expect_eq "dropper took red: paint blot" "$(pixel 461 568)" "$red"
shot dropper

pick 235 546                       # scissors: the marquee seen half way
timeout 10 xdotool mousemove 420 50 mousedown 1
for i in $(seq 1 10); do timeout 10 xdotool mousemove $((420 + 11 * i)) $((50 + 10 * i)); sleep 0.02; done
sleep 0.2
shot scissors-marquee
timeout 10 xdotool mouseup 1; sleep 0.3
timeout 10 xdotool mousemove 300 380; sleep 0.3
shot scissors-floating
# A press that lasts, then a tap (press and release handed to the system together, in one
# SendInput, so that the button is up before the program sees the press): each stamps the piece
# into the picture, which shows once the floating piece moves on.
expect_eq "no stamp yet where the tap goes" "$(pixel 200 430)" "$white"
timeout 10 xdotool mousedown 1; sleep 0.2; timeout 10 xdotool mouseup 1; sleep 0.3
timeout 10 xdotool mousemove 200 430; sleep 0.2
wintool tap 200 430 || fail "the tap could not be sent"
sleep 0.3
timeout 10 xdotool mousemove 640 440; sleep 0.3
expect_eq "stamped piece" "$(wait_pixel 300 380 "$red" 5)" "$red"
expect_eq "the tap's stamp" "$(wait_pixel 200 430 "$red" 5)" "$red"
shot scissors-tap
timeout 10 xdotool keydown c; timeout 10 xdotool mousemove 650 450; sleep 0.3; timeout 10 xdotool keyup c
sleep 0.3
shot scissors

# Rock: the six bump patterns ----------------------------------------------------------------
pick 29 217
y=300
for spot in "397 561" "312 533" "239 533" "387 533" "226 560" "311 560"; do
  pick $spot
  drag 160 $y 760 $y 30
  shot "bump-$y"
  y=$((y + 30))
done

# Magic Hat: the effect brushes ----------------------------------------------------------------
pick 78 336
x=180
for spot in "400 566" "330 570" "230 570" "396 540" "287 540" "201 538"; do
  pick $spot
  drag $x 40 $x 480 30
  shot "effect-$x"
  x=$((x + 40))
done

# Toys: the hammer and chisel ------------------------------------------------------------------
pick 77 413
pick 396 560
drag 440 40 440 480 30
drag 440 480 440 40 30
shot hammer

wintool close Paint || fail "no window to close"
expect_eq "exit code after WM_CLOSE" "$(exit_code "$APP_PID" 30)" 0

#!/usr/bin/env bash
# Stamps, toys and text at 800x600, used as a child would: each book is opened, paged and a stamp
# printed several times (Volume 3 from its last page); Escape in the picker prints nothing new; C
# stops the floating stamp; a stamp printed while magnified covers twice the screen pixels; each
# toy is used in both of its modes; the keyboard opens the text dialog, a text is typed, bold and the
# largest size are chosen and the text is placed at a click.
# With SHOTS=DIR in the environment every step leaves a screenshot there.
. "$(dirname "$0")/lib/common.bash"
session 800x600x24

start "$PAINT"
wintool wait Paint 60 || fail "no window of class Paint appeared"
splash_passes 800 600
sleep 0.5

shot() {
  [ -n "${SHOTS:-}" ] || return 0
  mkdir -p "$SHOTS"
  timeout 20 import -window root "$SHOTS/$1.png"
}
click() { timeout 10 xdotool mousemove "$1" "$2" click 1; sleep "${3:-0.3}"; }
move() { timeout 10 xdotool mousemove "$1" "$2"; sleep 0.15; }
# non_white X Y W H: how many pixels of a screen rectangle are not white.
non_white() {
  timeout 20 import -window root "$WORK/nw.png"
  convert "$WORK/nw.png" -crop "$3x$4+$1+$2" +repage -fill black +opaque white -fill white -opaque white \
    -negate -format '%[fx:round(mean*w*h)]' info:
}
# signature X Y W H: a fingerprint of a part of the screen.
signature() {
  timeout 20 import -window root "$WORK/sig.png"
  convert "$WORK/sig.png" -crop "$3x$4+$1+$2" +repage -format '%#' info:
}
dialogs() { wintool count '#32770'; }
wait_dialogs() {
  local i
  for i in $(seq 1 50); do
    [ "$(dialogs)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "expected $1 dialogs, saw $(dialogs)"
}

# ---------------------------------------------------------------- books of stamps
# The picker (627 x 241) is centred on the window: client (0, 0) is the screen's (86, 179).
click 80 200                      # Books button
click 230 550                     # Volume 3 on the table
wait_dialogs 1
sleep 0.3
shot 01_picker_first_page
with_arrow=$(signature 607 193 68 47)
for i in 1 2 3 4 5; do click 641 216 0.4; done   # next page five times: stamps 40..47
shot 02_picker_last_page
last_page=$(signature 607 193 68 47)
[ "$last_page" != "$with_arrow" ] || fail "the next arrow is still shown on the last page"
click 641 216 0.4                 # no sixth page: the arrow is gone and the click changes nothing
expect_eq "dialogs after a click where the next arrow was" "$(dialogs)" 1
expect_eq "the last page after a click where the next arrow was" "$(signature 607 193 68 47)" "$last_page"
click 211 253 0.5                 # slot 0 of the last page: stamp 40
wait_dialogs 0
for p in "300 120" "420 160" "540 120"; do
  click $p 0.3
done
move 650 400
shot 03_canvas_stamps
[ "$(non_white 276 96 48 48)" -gt 50 ] || fail "no stamp printed at (300, 120)"
[ "$(non_white 516 96 48 48)" -gt 50 ] || fail "no stamp printed at (540, 120)"
echo "ok: three stamps printed"

# C stops the floating stamp: the window under the old stamp shows the picture again.
move 650 300
floating=$(non_white 626 276 48 48)
timeout 10 xdotool keydown c; sleep 0.3
move 655 300
timeout 10 xdotool keyup c; sleep 0.2
move 660 300
[ "$floating" -gt 50 ] || fail "no stamp floating at (650, 300)"
expect_eq "pixels left at the floating stamp after C" "$(non_white 620 270 70 60)" 0

# The book reopens on its last page; Escape there chooses nothing.
click 230 550
wait_dialogs 1
sleep 0.3
shot 04_picker_reopened
expect_eq "the book reopened on its last page" "$(signature 607 193 68 47)" "$last_page"
timeout 10 xdotool key Escape; sleep 0.3
wait_dialogs 0
move 450 350
expect_eq "pixels of a floating stamp after Escape" "$(non_white 426 326 48 48)" 0

# Volumes 2 and 1: one page on, the sixth slot, printed twice each.
# (While a stamp floats the first click beside the canvas only drops it: C drops it first.)
for book in "320 550" "405 550"; do
  timeout 10 xdotool keydown c; sleep 0.3; timeout 10 xdotool keyup c
  click $book
  wait_dialogs 1
  sleep 0.3
  click 641 216 0.4
  click 590 253 0.5
  wait_dialogs 0
done
shot 05_picker_volume1_chosen
click 250 440 0.3
click 330 440 0.3
move 650 450
[ "$(non_white 226 416 48 48)" -gt 50 ] || fail "no stamp of Volume 1 printed"
echo "ok: Volume 1 stamps printed"

# Magnified: the spyglass, a click for the centre, then a stamp of Volume 3 covers 96 screen pixels.
timeout 10 xdotool keydown c; sleep 0.3; timeout 10 xdotool keyup c
click 600 590
click 460 260 0.5
click 80 200
click 230 550
wait_dialogs 1
sleep 0.3
click 303 253 0.5
wait_dialogs 0
click 600 130 0.4
move 700 450
shot 06_canvas_magnified_stamp
inner=$(non_white 576 106 48 48)
outer=$(non_white 552 82 96 96)
[ "$outer" -gt $((inner + 100)) ] || fail "magnified stamp: $outer pixels in 96x96, $inner in 48x48"
echo "ok: magnified stamp covers more than 48x48 screen pixels"
timeout 10 xdotool keydown c; sleep 0.3; timeout 10 xdotool keyup c
click 600 590 0.5                 # spyglass: back to 1:1

# ---------------------------------------------------------------- toys
click 77 410                      # Toys button
click 306 563                     # ball
click 250 300 0.3
[ "$(non_white 220 270 60 60)" -gt 50 ] || fail "no ball at (250, 300)"
echo "ok: ball"
click 74 524                      # random colours
timeout 10 xdotool mousemove 300 300 mousedown 1 mousemove 320 310 mousemove 340 320 mouseup 1; sleep 0.3
click 221 530                     # paintball gun
click 80 486                      # largest size: 120
click 400 300 0.4
[ "$(non_white 340 240 120 120)" -gt 500 ] || fail "no splat at (400, 300)"
echo "ok: splat"
click 74 524                      # the paintball gun in random colours
click 220 180 0.4
[ "$(non_white 160 120 120 120)" -gt 500 ] || fail "no splat in random colours at (220, 180)"
click 227 566                     # cog, two-way mirror
timeout 10 xdotool mousemove 600 300 mousedown 1
for i in 1 2 3 4 5 6 7 8; do timeout 10 xdotool mousemove $((600 + 8 * i)) $((300 + 6 * i)); sleep 0.03; done
timeout 10 xdotool mouseup 1; sleep 0.3
[ "$(non_white 660 340 10 10)" -gt 10 ] || fail "no cog stroke"
[ "$(non_white 530 340 10 10)" -gt 10 ] || fail "no mirrored cog stroke"
echo "ok: cog stroke and its mirror"
click 227 566                     # cog, four-way mirror
click 74 524
timeout 10 xdotool mousemove 600 420 mousedown 1
for i in 1 2 3 4 5 6; do timeout 10 xdotool mousemove $((600 + 10 * i)) $((420 + 5 * i)); sleep 0.03; done
timeout 10 xdotool mouseup 1; sleep 0.3
[ "$(non_white 530 380 10 10)" -gt 10 ] || fail "no four-way mirrored cog stroke"
echo "ok: four-way cog"
click 400 539                     # wand, then in random colours
click 200 420 0.3
click 74 524
click 240 420 0.3
click 307 530                     # needle and thread, then in random colours
click 300 440 0.3
click 74 524
click 340 440 0.3
move 650 450
shot 07_canvas_toys

# ---------------------------------------------------------------- text
# The dialog (495 x 370) is centred: client (0, 0) is the screen's (152, 115).
text_before=$(non_white 380 190 160 70)
click 70 560                      # keyboard
wait_dialogs 1
sleep 0.5
click 352 145 0.2
timeout 10 xdotool key End shift+Home
timeout 10 xdotool type --delay 20 "Hello"
click 434 333 0.3                 # bold
click 549 368 0.3                 # 80 pixels
shot 08_text_dialog
click 545 422 0.5                 # OK
wait_dialogs 0
move 450 250
move 460 260
shot 09_text_floating
click 460 260 0.5
move 700 450
shot 10_text_placed
[ "$(non_white 380 190 160 70)" -gt $((text_before + 300)) ] || fail "no text at (460, 260)"
echo "ok: text placed"

wintool close Paint || fail "no window to close"
expect_eq "exit code after WM_CLOSE" "$(exit_code "$APP_PID" 30)" 0

#!/usr/bin/env bash
# Stamps, toys and text (at 800x600, or on CHECK_SCREEN), used as a child would: each book is
# opened, paged and a stamp printed several times (Volume 3 from its last page); Escape in the
# picker prints nothing new; C stops the floating stamp; a stamp printed while magnified covers
# twice the screen pixels; each toy is used in both of its modes; the keyboard opens the text
# dialog, a text is typed, bold and the largest size are chosen and the text is placed at a click.
# With SHOTS=DIR in the environment every step leaves a screenshot there.
#
# The program reads the button and the C key as they are when it handles an event: the key or
# button is let go only once the program has shown what it did while it was held.
. "$(dirname "$0")/lib/common.bash"
session "${SCREEN}x24"
start_room

shot() {
  [ -n "${SHOTS:-}" ] || return 0
  mkdir -p "$SHOTS"
  timeout 20 import -window root "$SHOTS/$1.png"
}
click() { timeout 10 xdotool mousemove "$1" "$2" click 1; }
move() { timeout 10 xdotool mousemove "$1" "$2"; }
# non_white X Y W H: how many pixels of a screen rectangle are not white.
non_white() {
  timeout 20 import -window root "$WORK/nw.png"
  convert "$WORK/nw.png" -crop "$3x$4+$1+$2" +repage -fill black +opaque white -fill white -opaque white \
    -negate -format '%[fx:round(mean*w*h)]' info:
}
# more_than N X Y W H: more than N pixels of the rectangle are not white.
more_than() { [ "$(non_white "$2" "$3" "$4" "$5")" -gt "$1" ]; }
# none_shown X Y W H: every pixel of the rectangle is white.
none_shown() { [ "$(non_white "$@")" = 0 ]; }
# signature X Y W H: a fingerprint of a part of the screen.
signature() {
  timeout 20 import -window root "$WORK/sig.png"
  convert "$WORK/sig.png" -crop "$3x$4+$1+$2" +repage -format '%#' info:
}
# drop_stamp: the floating stamp brought to a bare place of the canvas (bare magnified too), then
# C held until it is gone.
drop_stamp() {
  move 720 60
  wait_for 20 more_than 50 696 36 48 48 || fail "no stamp floating at (720, 60)"
  timeout 10 xdotool keydown c
  wait_for 20 none_shown 690 30 70 60 || fail "the floating stamp stayed while C was held"
  timeout 10 xdotool keyup c
}

# ---------------------------------------------------------------- books of stamps
# The picker (627 x 241) is centred on the window: on 800x600 its client (0, 0) is the screen's
# (86, 179).
arrow="$(dlg 607 193) 68 47"       # where the next arrow is
bare=$(signature $arrow)
click $(room 80 200)               # Books button
click $(room 230 550)              # Volume 3 on the table
wait_dialogs 1 || fail "expected 1 dialogs, saw $(dialogs)"
until_ne "the picker drawn" "$bare" signature $arrow
shot 01_picker_first_page
with_arrow=$(signature $arrow)
for i in 1 2 3 4 5; do click $(dlg 641 216); done   # next page five times: stamps 40..47
until_ne "the next arrow gone on the last page" "$with_arrow" signature $arrow
shot 02_picker_last_page
last_page=$(signature $arrow)
click $(dlg 641 216)               # no sixth page: the arrow is gone and the click changes nothing
expect_eq "dialogs after a click where the next arrow was" "$(dialogs)" 1
expect_eq "the last page after a click where the next arrow was" "$(signature $arrow)" "$last_page"
click $(dlg 211 253)               # slot 0 of the last page: stamp 40
wait_dialogs 0 || fail "expected 0 dialogs, saw $(dialogs)"
for p in "300 120" "420 160" "540 120"; do
  click $p
done
move 650 400
wait_for 20 more_than 50 626 376 48 48 || fail "no stamp floating at (650, 400)"
shot 03_canvas_stamps
for at in "276 96" "396 136" "516 96"; do
  more_than 50 $at 48 48 || fail "no stamp printed at the corner ($at)"
done
echo "ok: three stamps printed"

# C stops the floating stamp: the window under the old stamp shows the picture again.
drop_stamp
move 660 300
echo "ok: C stopped the floating stamp"

# The book reopens on its last page; Escape there chooses nothing.
click $(room 230 550)
wait_dialogs 1 || fail "expected 1 dialogs, saw $(dialogs)"
until_eq "the book reopened on its last page" "$last_page" signature $arrow
shot 04_picker_reopened
timeout 10 xdotool key Escape
wait_dialogs 0 || fail "expected 0 dialogs, saw $(dialogs)"
move 450 350
expect_eq "pixels of a floating stamp after Escape" "$(non_white 426 326 48 48)" 0

# Volumes 2 and 1: one page on, the sixth slot. (While a stamp floats the first click beside the
# canvas only drops it: C drops it first.)
for book in "320 550" "405 550"; do
  click $(room $book)
  wait_dialogs 1 || fail "expected 1 dialogs, saw $(dialogs)"
  click $(dlg 641 216)
  click $(dlg 590 253)
  wait_dialogs 0 || fail "expected 0 dialogs, saw $(dialogs)"
  [ "$book" = "320 550" ] && drop_stamp
done
shot 05_picker_volume1_chosen
click 250 440
click 330 440
move 650 450
wait_for 20 more_than 50 626 426 48 48 || fail "no stamp floating at (650, 450)"
more_than 50 306 416 48 48 || fail "no stamp of Volume 1 printed at (330, 440)"
more_than 50 226 416 48 48 || fail "no stamp of Volume 1 printed at (250, 440)"
echo "ok: Volume 1 stamps printed"

# Magnified: the spyglass, a click for the centre, then a stamp of Volume 3 covers 96 screen pixels.
drop_stamp
magnified() {
  local inner outer
  inner=$(non_white 576 106 48 48)
  outer=$(non_white 552 82 96 96)
  [ "$outer" -gt $((inner + 100)) ]
}
click $(room 600 590)
click 460 260
click $(room 80 200)
click $(room 230 550)
wait_dialogs 1 || fail "expected 1 dialogs, saw $(dialogs)"
click $(dlg 303 253)
wait_dialogs 0 || fail "expected 0 dialogs, saw $(dialogs)"
click 600 130
move 700 450
wait_for 20 more_than 50 676 426 48 48 || fail "no magnified stamp floating at (700, 450)"
magnified || fail "magnified stamp: $(non_white 552 82 96 96) pixels in 96x96, $(non_white 576 106 48 48) in 48x48"
shot 06_canvas_magnified_stamp
echo "ok: magnified stamp covers more than 48x48 screen pixels"
drop_stamp
click $(room 600 590)              # spyglass: back to 1:1

# ---------------------------------------------------------------- toys
click $(room 77 410)               # Toys button
click $(room 306 563)              # ball
click 250 300
wait_for 20 more_than 50 220 270 60 60 || fail "no ball at (250, 300)"
echo "ok: ball"
click $(room 74 524)               # random colours
timeout 10 xdotool mousemove 300 300 mousedown 1 mousemove 320 310 mousemove 340 320 mouseup 1
click $(room 221 530)              # paintball gun
click $(room 80 486)               # largest size: 120
click 400 300
wait_for 20 more_than 500 340 240 120 120 || fail "no splat at (400, 300)"
echo "ok: splat"
click $(room 74 524)               # the paintball gun in random colours
click 220 180
wait_for 20 more_than 500 160 120 120 120 || fail "no splat in random colours at (220, 180)"
cog_two_way() { more_than 10 660 340 10 10 && more_than 10 530 340 10 10; }
click $(room 227 566)              # cog, two-way mirror
timeout 10 xdotool mousemove 600 300 mousedown 1
for i in 1 2 3 4 5 6 7 8; do timeout 10 xdotool mousemove $((600 + 8 * i)) $((300 + 6 * i)); sleep 0.03; done
wait_for 20 cog_two_way || fail "no cog stroke and its mirror"
timeout 10 xdotool mouseup 1
echo "ok: cog stroke and its mirror"
click $(room 227 566)              # cog, four-way mirror
click $(room 74 524)
timeout 10 xdotool mousemove 600 420 mousedown 1
for i in 1 2 3 4 5 6; do timeout 10 xdotool mousemove $((600 + 10 * i)) $((420 + 5 * i)); sleep 0.03; done
wait_for 20 more_than 10 530 380 10 10 || fail "no four-way mirrored cog stroke"
timeout 10 xdotool mouseup 1
echo "ok: four-way cog"
click $(room 400 539)              # wand, then in random colours
click 200 420
click $(room 74 524)
click 240 420
click $(room 307 530)              # needle and thread, then in random colours
click 300 440
click $(room 74 524)
click 340 440
move 650 450
shot 07_canvas_toys

# ---------------------------------------------------------------- text
# The dialog (495 x 370) is centred: on 800x600 its client (0, 0) is the screen's (152, 115).
text_before=$(non_white 380 190 160 70)
click $(room 70 560)               # keyboard
wait_dialogs 1 || fail "expected 1 dialogs, saw $(dialogs)"
click $(dlg 352 145)
timeout 10 xdotool key End shift+Home
timeout 10 xdotool type --delay 20 "Hello"
click $(dlg 434 333)               # bold
click $(dlg 549 368)               # 80 pixels
shot 08_text_dialog
click $(dlg 545 422)               # OK
wait_dialogs 0 || fail "expected 0 dialogs, saw $(dialogs)"
move 450 250
move 460 260
shot 09_text_floating
click 460 260
move 700 450
text_placed() { [ "$(non_white 380 190 160 70)" -gt $((text_before + 300)) ]; }
wait_for 20 text_placed || fail "no text at (460, 260)"
shot 10_text_placed
echo "ok: text placed"

wintool close Paint || fail "no window to close"
expect_eq "exit code after WM_CLOSE" "$(exit_code "$APP_PID" 30)" 0

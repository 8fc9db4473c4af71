#!/usr/bin/env bash
# A family's use of the commands (at 800x600, or on CHECK_SCREEN): the right button opens the
# command menu; New, five times, clears a drawn picture after its save question (the frames of its
# wipes are checked in-process, where the clock can be held); the speaker switches the sound and
# rewrites the preferences file; the remote's buttons carry out About, Help, Prefs and Quit; the
# preferences screen keeps its choice in the file; Help asks the system's browser for the help
# page beside paint.exe (a recording xdg-open stands in for the browser); the save question holds
# the room; Alt+F4 asks it too, and Yes then Cancel keeps the program and the picture.
# SHOTS=DIR keeps the screenshots of every dialog there.
. "$(dirname "$0")/lib/common.bash"

# The recording browser, first on PATH for Wine's winebrowser.
mkdir -p "$WORK/bin"
cat >"$WORK/bin/xdg-open" <<EOS
#!/bin/sh
echo "\$@" >>"$WORK/opened.log"
EOS
chmod +x "$WORK/bin/xdg-open"
export PATH="$WORK/bin:$PATH"

# The help page lies beside paint.exe with every picture it shows.
HELP_DIR=$(dirname "$PAINT")
[ -f "$HELP_DIR/Help_twk.html" ] || fail "no Help_twk.html beside paint.exe"
for src in $(grep -o 'src="[^"]*"' "$HELP_DIR/Help_twk.html" | sed 's/^src="//; s/"$//'); do
  [ -s "$HELP_DIR/$src" ] || fail "the help page's picture $src is missing"
done
echo "ok: the help page and its pictures lie beside paint.exe"

session "${SCREEN}x24"
# As on any Windows system, a page ending in .html opens in the browser (Wine's winebrowser).
reg add 'HKLM\Software\Classes\.html' /ve /d htmlfile /f
PREFS="$WINEPREFIX/drive_c/windows/qlnpfs.pfs"
rm -f "$PREFS"

shot() {  # shot NAME: a screenshot, kept in $SHOTS when set
  timeout 20 import -window root "$WORK/$1.png"
  [ -n "${SHOTS:-}" ] && cp "$WORK/$1.png" "$SHOTS/$1.png" || true
}
prefs_bytes() { od -An -tx1 -v "$PREFS" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }
# wait_dialog WIDTH: until exactly one dialog is open and it is WIDTH pixels wide (at most 10 s):
# the remote 228, the preferences screen 420, the palette 369, the coloring pages 408.
dialog_width() {
  local l t r b
  [ "$(dialogs)" = 1 ] || return 0
  IFS=, read -r l t r b <<<"$(field rect "$(wintool info '#32770')")"
  echo $((${r:-0} - ${l:-0}))
}
dialog_is() { [ "$(dialog_width)" = "$1" ]; }
wait_dialog() { within 10 dialog_is "$1"; }
click() { timeout 10 xdotool mousemove "$1" "$2" click 1; }
line() {  # line X1 Y1 X2 Y2: a pencil stroke in 8 steps
  local i steps=""
  for i in 1 2 3 4 5 6 7 8; do steps+=" mousemove $(($1 + ($3 - $1) * i / 8)) $(($2 + ($4 - $2) * i / 8)) sleep 0.01"; done
  timeout 10 xdotool mousemove "$1" "$2" mousedown 1 $steps mouseup 1
}

start_room
until_eq "preferences file written at the first start" \
  "01 00 00 00 01 00 00 00 01 00 00 00 01 00 00 00" prefs_bytes

shot room

# The right button opens the command menu at the pointer; Escape closes it.
timeout 10 xdotool mousemove 400 300 click 3
until_eq "menus open after a right click" 1 wintool count '#32768'
shot menu
timeout 10 xdotool key Escape
until_eq "menus open after Escape" 0 wintool count '#32768'

# The speaker switches the sound off and on, and the file follows.
click $(room 626 590)
until_eq "file after the speaker" "00 00 00 00 01 00 00 00 01 00 00 00 01 00 00 00" prefs_bytes
click $(room 626 590)
until_eq "file after the speaker again" "01 00 00 00 01 00 00 00 01 00 00 00 01 00 00 00" prefs_bytes

# New from the menu, five times, over a drawn picture: the save question comes first (answered
# No), then the coloring pages are offered on a cleared canvas. Escape there keeps the white
# canvas; the fifth time the next page is chosen and lands on the canvas.
click $(room 400 572)              # the pencil
canvas="147 16 $((SW - 166)) $((SH - 112))"
white=$(signature $canvas)
for n in 1 2 3 4 5; do
  for y in 60 180 300 420; do line 160 $y 770 $((y + 40)); done
  until_ne "drawn before New $n" "$white" signature $canvas
  timeout 10 xdotool mousemove 400 300 click 3
  until_eq "the command menu before New $n" 1 wintool count '#32768'
  timeout 10 xdotool key n
  # The picture was changed: the save question comes first; No goes on without saving.
  wait_dialogs 1 || fail "no save question before New $n"
  if [ $n -eq 1 ]; then
    shot question
    # The question holds the room: the remote (clicked twice, apart: a first click could only
    # bring the room forward) and the menu take no click under it. The No that follows is handled
    # after them: the pages are then the only dialog, and no menu is open.
    click $(room 156 560)
    timeout 10 xdotool sleep 0.3 click 1 mousemove 400 300 click 3
  fi
  timeout 10 xdotool key n
  wait_dialog 408 || fail "no coloring pages (alone) after New $n: $(wintool dialogs)"
  [ $n -eq 1 ] && expect_eq "menus after a right click under the question" "$(wintool count '#32768')" 0
  shot "pages$n"
  if [ $n -lt 5 ]; then
    timeout 10 xdotool key Escape
    wait_dialogs 0 || fail "the pages stayed open after Escape"
    until_eq "canvas after New $n" "$white" signature $canvas
  else
    # The gallery (408 x 417) lies in the middle of the screen: its next arrow, then its choose button.
    click $(dlg 531 481)
    click $(dlg 379 480)
    wait_dialogs 0 || fail "the pages stayed open after choosing one"
    until_ne "the chosen page on the canvas" "$white" signature $canvas
  fi
done

# The remote: About shows its picture and closes with a click.
click $(room 156 560); wait_dialog 228 || fail "no remote panel"
shot remote
click $(dlg 446 206)   # About
for i in $(seq 1 100); do [ "$(wintool count '#32770')" = 1 ] && wintool info '#32770' | grep -q 'About' && break; sleep 0.1; done
info=$(wintool info '#32770')
expect_eq "About's title" "$(field title "$info")" "About Tintwell..."
shot about
click_closing $(dlg 400 300); wait_dialogs 0 || fail "About did not close on a click"

# The remote's Prefs: the sound column's bottom cell and OK: sound off, in the file.
click $(room 156 560); wait_dialog 228 || fail "no remote panel"
click $(dlg 449 290)   # Prefs
wait_dialog 420 || fail "no preferences screen"
shot preferences
click $(dlg 274 327)   # sound: off
click $(dlg 498 393)   # OK
wait_dialogs 0 || fail "the preferences screen did not close"
until_eq "file after the preferences screen" "00 00 00 00 01 00 00 00 01 00 00 00 01 00 00 00" prefs_bytes

# The paint tube's palette: a colour taken and confirmed becomes the paint blot's colour.
click $(room 510 570); wait_dialog 369 || fail "no colour palette"
shot palette
click $(dlg 415 239)
click $(dlg 355 279)
wait_dialogs 0 || fail "the palette did not close"
until_ne "the paint blot left its red" "srgb(255,0,0)" pixel $(room 461 569)
echo "ok: the paint blot shows the palette's colour $(pixel $(room 461 569))"

# The remote's Help: the help page beside paint.exe goes to the browser.
click $(room 156 560); wait_dialog 228 || fail "no remote panel"
click $(dlg 447 246)
for i in $(seq 1 100); do [ -s "$WORK/opened.log" ] && break; sleep 0.1; done
[ -s "$WORK/opened.log" ] || fail "no browser was asked to open the help page"
opened=$(cat "$WORK/opened.log")
echo "browser asked for: $opened"
grep -q 'Help_twk.html' <<<"$opened" || fail "the browser was not asked for Help_twk.html"
expect_eq "the program still runs after Help" "$(wintool count Paint)" 1

# Alt+F4 is Quit: the changed picture brings the question; Yes, then Cancel in the Save As keeps
# the program and the picture.
click $(room 400 572)   # the pencil
line 200 300 700 320
timeout 10 xdotool key alt+F4
within 10 dialog_titled Attention || fail "no save question after Alt+F4"
timeout 10 xdotool key y
within 10 dialog_titled "Save As" || fail "no Save As after Yes"
shot save-as
timeout 10 xdotool key Escape
wait_dialogs 0 || fail "the Save As stayed open"
expect_eq "the program still runs after Yes and Cancel" "$(wintool count Paint)" 1

# The remote's Quit asks again (the picture is still not saved); No ends the program.
click $(room 156 560); wait_dialog 228 || fail "no remote panel"
click $(dlg 352 206)
within 10 dialog_titled Attention || fail "no question after Quit"
timeout 10 xdotool key n
expect_eq "exit code after Quit" "$(exit_code "$APP_PID" 30)" 0

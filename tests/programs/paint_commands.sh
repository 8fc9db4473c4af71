#!/usr/bin/env bash
# A family's use of the commands at 800x600: the right button opens the command menu; New wipes a
# drawn picture away with each of the four animations in turn; the speaker switches the sound and
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

session 800x600x24
# As on any Windows system, a page ending in .html opens in the browser (Wine's winebrowser).
"$WINE" reg add 'HKLM\Software\Classes\.html' /ve /d htmlfile /f </dev/null >/dev/null 2>&1
PREFS="$WINEPREFIX/drive_c/windows/qlnpfs.pfs"
rm -f "$PREFS"

shot() {  # shot NAME: a screenshot, kept in $SHOTS when set
  timeout 20 import -window root "$WORK/$1.png"
  [ -n "${SHOTS:-}" ] && cp "$WORK/$1.png" "$SHOTS/$1.png" || true
}
signature() {  # signature X Y W H: a fingerprint of a part of the screen
  timeout 20 import -window root "$WORK/sig.png"
  convert "$WORK/sig.png" -crop "$3x$4+$1+$2" +repage -format '%#' info:
}
prefs_bytes() { od -An -tx1 -v "$PREFS" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }
dialogs() { wintool count '#32770'; }
wait_dialogs() {  # wait_dialogs N: until N dialogs are open (at most 5 s)
  local i
  for i in $(seq 1 50); do
    [ "$(dialogs)" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
click() { timeout 10 xdotool mousemove "$1" "$2" click 1; }
line() {  # line X1 Y1 X2 Y2: a pencil stroke in 8 steps
  local i steps=""
  for i in 1 2 3 4 5 6 7 8; do steps+=" mousemove $(($1 + ($3 - $1) * i / 8)) $(($2 + ($4 - $2) * i / 8)) sleep 0.01"; done
  timeout 10 xdotool mousemove "$1" "$2" mousedown 1 $steps mouseup 1
}

start "$PAINT"
wintool wait Paint 60 || fail "no window of class Paint appeared"
splash_passes 800 600
sleep 0.5
expect_eq "preferences file written at the first start" "$(prefs_bytes)" \
  "01 00 00 00 01 00 00 00 01 00 00 00 01 00 00 00"

shot room

# The right button opens the command menu at the pointer; Escape closes it.
timeout 10 xdotool mousemove 400 300 click 3
sleep 0.5
expect_eq "menus open after a right click" "$(wintool count '#32768')" 1
shot menu
timeout 10 xdotool key Escape
sleep 0.3

# The speaker switches the sound off and on, and the file follows.
click 626 590; sleep 0.4
expect_eq "file after the speaker" "$(prefs_bytes)" "00 00 00 00 01 00 00 00 01 00 00 00 01 00 00 00"
click 626 590; sleep 0.4
expect_eq "file after the speaker again" "$(prefs_bytes)" "01 00 00 00 01 00 00 00 01 00 00 00 01 00 00 00"

# New from the menu, five times, over a drawn picture: the canvas is caught in the middle of each
# wipe (neither the drawing nor white) and ends white, after the save question (answered No); then
# the coloring pages are offered. Escape
# there keeps the white canvas; the fifth time the next page is chosen and lands on the canvas.
click 400 572; sleep 0.3   # the pencil
canvas="147 16 634 487"
white=$(signature $canvas)
for n in 1 2 3 4 5; do
  for y in 60 180 300 420; do line 160 $y 770 $((y + 40)); done
  sleep 0.3
  drawn=$(signature $canvas)
  [ "$drawn" != "$white" ] || fail "nothing drawn before New $n"
  timeout 10 xdotool mousemove 400 300 click 3; sleep 0.4
  timeout 10 xdotool key n
  # The picture was changed: the save question comes first; No goes on without saving.
  wait_dialogs 1 || fail "no save question before New $n"
  if [ $n -eq 1 ]; then
    shot question
    # The question holds the room: the remote (clicked twice: a first click could only bring the
    # room forward) and the menu take no click under it.
    click 156 560
    sleep 0.3
    click 156 560
    timeout 10 xdotool mousemove 400 300 click 3
    sleep 1
    expect_eq "dialogs after clicks on the room under the question" "$(dialogs)" 1
    expect_eq "menus after a right click under the question" "$(wintool count '#32768')" 0
  fi
  timeout 10 xdotool key n
  sleep 0.1
  shot "wipe$n"
  mid=$(convert "$WORK/wipe$n.png" -crop 634x487+147+16 +repage -format '%#' info:)
  wait_dialogs 1 || fail "no coloring pages after New $n"
  sleep 0.5
  shot "pages$n"
  if [ $n -lt 5 ]; then
    timeout 10 xdotool key Escape
    wait_dialogs 0 || fail "the pages stayed open after Escape"
    sleep 0.3
    expect_eq "canvas after New $n" "$(signature $canvas)" "$white"
  else
    # The gallery (408 x 417) lies in the middle of the screen: its next arrow, then its choose button.
    click 531 481; sleep 0.5
    click 379 480
    wait_dialogs 0 || fail "the pages stayed open after choosing one"
    sleep 0.3
    [ "$(signature $canvas)" != "$white" ] || fail "the chosen page is not on the canvas"
    echo "ok: the second coloring page is on the canvas"
  fi
  [ "$mid" != "$drawn" ] && [ "$mid" != "$white" ] || fail "New $n showed no wipe"
  echo "ok: New $n wiped the picture away"
done

# The remote: About shows its picture and closes with a click.
click 156 560; wait_dialogs 1 || fail "no remote panel"
shot remote
click 446 206   # About
for i in $(seq 1 50); do [ "$(wintool count '#32770')" = 1 ] && wintool info '#32770' | grep -q 'About' && break; sleep 0.1; done
info=$(wintool info '#32770')
expect_eq "About's title" "$(field title "$info")" "About Tintwell..."
shot about
click 400 300; wait_dialogs 0 || fail "About did not close on a click"

# The remote's Prefs: the sound column's bottom cell and OK: sound off, in the file.
click 156 560; wait_dialogs 1 || fail "no remote panel"
click 449 290   # Prefs
sleep 1
wait_dialogs 1 || fail "no preferences screen"
shot preferences
click 274 327; sleep 0.3   # sound: off
click 498 393             # OK
wait_dialogs 0 || fail "the preferences screen did not close"
expect_eq "file after the preferences screen" "$(prefs_bytes)" "00 00 00 00 01 00 00 00 01 00 00 00 01 00 00 00"

# The paint tube's palette: a colour taken and confirmed becomes the paint blot's colour.
click 510 570; wait_dialogs 1 || fail "no colour palette"
shot palette
click 415 239; sleep 0.3
click 355 279
wait_dialogs 0 || fail "the palette did not close"
blot=$(pixel 461 569)
[ "$blot" != "srgb(255,0,0)" ] || fail "the paint blot kept its red"
echo "ok: the paint blot shows the palette's colour $blot"

# The remote's Help: the help page beside paint.exe goes to the browser.
click 156 560; wait_dialogs 1 || fail "no remote panel"
click 447 246
for i in $(seq 1 100); do [ -s "$WORK/opened.log" ] && break; sleep 0.1; done
[ -s "$WORK/opened.log" ] || fail "no browser was asked to open the help page"
opened=$(cat "$WORK/opened.log")
echo "browser asked for: $opened"
grep -q 'Help_twk.html' <<<"$opened" || fail "the browser was not asked for Help_twk.html"
expect_eq "the program still runs after Help" "$(wintool count Paint)" 1

# Alt+F4 is Quit: the changed picture brings the question; Yes, then Cancel in the Save As keeps
# the program and the picture.
click 400 572; sleep 0.3   # the pencil
line 200 300 700 320
timeout 10 xdotool key alt+F4
within 5 dialog_titled Attention || fail "no save question after Alt+F4"
timeout 10 xdotool key y
within 5 dialog_titled "Save As" || fail "no Save As after Yes"
shot save-as
timeout 10 xdotool key Escape
wait_dialogs 0 || fail "the Save As stayed open"
expect_eq "the program still runs after Yes and Cancel" "$(wintool count Paint)" 1

# The remote's Quit asks again (the picture is still not saved); No ends the program.
click 156 560; wait_dialogs 1 || fail "no remote panel"
click 352 206
within 5 dialog_titled Attention || fail "no question after Quit"
timeout 10 xdotool key n
expect_eq "exit code after Quit" "$(exit_code "$APP_PID" 30)" 0

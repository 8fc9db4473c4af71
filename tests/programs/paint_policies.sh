#!/usr/bin/env bash
# A school's settings at 800x600: with the sound fixed on, the speaker changes neither the screen
# nor the preferences file; with the pictures folder C:\pupils\%USERNAME%, Save makes its last level
# and writes only the picture there, and the gallery lists it; with quitting closed, the remote's
# Quit and Alt+F4 do nothing and Ctrl+Shift+Q held two seconds asks the save question; with the
# folder on a drive that is not there, Save shows its box and the picture stays. The policy key
# goes when the check ends.
. "$(dirname "$0")/lib/common.bash"
session 800x600x24
POLICY='HKLM\Software\Policies\Marrowby\Tintwell'
clear_policy() { reg delete "$POLICY" /f || true; }
trap 'rc=$?; timeout 5 xdotool keyup ctrl+shift+q || true; clear_policy || true; cleanup $rc' EXIT
clear_policy
PREFS="$WINEPREFIX/drive_c/windows/qlnpfs.pfs" PUPILS="$WINEPREFIX/drive_c/pupils"
rm -rf "$PREFS" "$PUPILS"
mkdir -p "$PUPILS" "$BUILD/programs/shots"
reg add "$POLICY" /v Sound /t REG_DWORD /d 1 /f && reg add "$POLICY" /v NoQuit /t REG_DWORD /d 1 /f &&
  reg add "$POLICY" /v PicturesFolder /t REG_EXPAND_SZ /d 'C:\pupils\%USERNAME%' /f || fail "reg add"

shot() { timeout 20 import -window root "$BUILD/programs/shots/policies_$1.png"; }
signature() { shot sig && convert "$BUILD/programs/shots/policies_sig.png" -crop "$3x$4+$1+$2" +repage -format '%#' info:; }
prefs_bytes() { od -An -tx1 -v "$PREFS" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }
no_dialogs() { [ "$(wintool count '#32770')" = 0 ]; }
click() { timeout 10 xdotool mousemove "$1" "$2" click 1; }
draw() { click 400 572; sleep 0.3; timeout 10 xdotool mousemove 200 "$1" mousedown 1 mousemove 450 "$1" mousemove 700 "$1" mouseup 1; }
remote() { click 156 560; within 5 dialog_titled "" || fail "no remote panel"; sleep 0.3; click "$1" "$2"; }
begin() { start "$PAINT"; wintool wait Paint 60 || fail "no window of class Paint"; splash_passes 800 600; sleep 0.5; }

begin
[ ! -e "$PUPILS/$(id -un)" ] || fail "the pictures folder was made at start-up"
ones="01 00 00 00 01 00 00 00 01 00 00 00 01 00 00 00"
expect_eq "preferences file of the first start" "$(prefs_bytes)" "$ones"
speaker=$(signature 618 579 16 21)
click 626 590
sleep 0.5
expect_eq "speaker after a click" "$(signature 618 579 16 21)" "$speaker"
expect_eq "preferences file after the speaker" "$(prefs_bytes)" "$ones"

draw 300
remote 351 246             # Save
within 10 dialog_titled "Save As" || fail "no Save As"
shot save_as
timeout 10 xdotool key Return
within 10 no_dialogs || fail "the Save As stayed open"
expect_eq "files in the child's folder" "$(ls "$PUPILS/$(id -un)" 2>&1 | tr '\n' ' ')" "Tintwell.bmp "
remote 452 335             # Gallery: its name button tells the name
within 5 dialog_titled "" || fail "no gallery"
sleep 0.8
click 579 330
expect_eq "the gallery's picture" "$(field text "$(wintool box "Information..." 5)")" \
  "This picture file is named Tintwell.bmp."
timeout 10 xdotool key Escape
within 5 no_dialogs || fail "the gallery stayed open"

draw 200
remote 352 206             # Quit
sleep 1.5
no_dialogs || fail "a dialog after the remote's Quit"
timeout 10 xdotool key alt+F4
sleep 1.5
no_dialogs || fail "a dialog after Alt+F4"
expect_eq "windows of the program after Quit and Alt+F4" "$(wintool count Paint)" 1
timeout 10 xdotool mousemove 400 300
pressed=$(date +%s%N)
timeout 10 xdotool keydown ctrl+shift+q
within 10 dialog_titled Attention || fail "no save question after Ctrl+Shift+Q"
held=$((($(date +%s%N) - pressed) / 1000000))
timeout 10 xdotool keyup ctrl+shift+q
[ "$held" -ge 2000 ] || fail "the save question came after $held ms of Ctrl+Shift+Q"
echo "ok: the save question came after $held ms of Ctrl+Shift+Q"
timeout 10 xdotool key n
expect_eq "exit code after Ctrl+Shift+Q and No" "$(exit_code "$APP_PID" 30)" 0

[ ! -e "$WINEPREFIX/dosdevices/q:" ] || fail "this prefix has a drive Q:"
clear_policy
reg add "$POLICY" /v PicturesFolder /t REG_EXPAND_SZ /d 'Q:\pupils\%USERNAME%' /f || fail "reg add"
begin
draw 300
sleep 0.3
drawn=$(signature 147 16 634 487)
remote 351 246             # Save
expect_eq "the box" "$(field text "$(wintool box "Attention!" 10)")" \
  "The picture could not be saved. The folder for pictures cannot be reached just now. The picture is still on the easel."
within 5 no_dialogs || fail "a dialog stayed after the box"
expect_eq "the canvas after the refused save" "$(signature 147 16 634 487)" "$drawn"
remote 352 206             # Quit, allowed again
within 5 dialog_titled Attention || fail "no question after Quit"
timeout 10 xdotool key n
expect_eq "exit code after Quit" "$(exit_code "$APP_PID" 30)" 0
rm -rf "$PUPILS"

#!/usr/bin/env bash
# A school's settings (policy values of the machine) at 800x600, as a child and a teacher meet them:
# - the sound fixed on: the speaker stays as it is and the preferences file keeps its bytes;
# - the pictures folder C:\pupils\%USERNAME%: Save makes its last level and writes the picture
#   there (nothing else: the recovery copy stays in the user's own folder), the gallery lists it;
# - quitting closed: the remote's Quit and Alt+F4 do nothing, Ctrl+Shift+Q held for two seconds
#   asks the save question, and No ends the program;
# - the pictures folder on a drive that is not there: Save shows its box instead of the Save As,
#   and the picture stays on the easel.
# The policy key is removed when the check ends, whatever its outcome.
. "$(dirname "$0")/lib/common.bash"
session 800x600x24
POLICY='HKLM\Software\Policies\Marrowby\Tintwell'
reg() { timeout 60 "$WINE" reg "$@" </dev/null >/dev/null 2>&1; }
clear_policy() { reg delete "$POLICY" /f || true; }
trap 'rc=$?; timeout 5 xdotool keyup ctrl+shift+q; clear_policy; (exit $rc); cleanup' EXIT
clear_policy
PREFS="$WINEPREFIX/drive_c/windows/qlnpfs.pfs"
rm -f "$PREFS"
PUPILS="$WINEPREFIX/drive_c/pupils"
rm -rf "$PUPILS"
mkdir -p "$PUPILS"
MINE="$PUPILS/$(id -un)"
SHOTS=$BUILD/programs/shots
mkdir -p "$SHOTS"

reg add "$POLICY" /v Sound /t REG_DWORD /d 1 /f || fail "reg add"
reg add "$POLICY" /v NoQuit /t REG_DWORD /d 1 /f || fail "reg add"
reg add "$POLICY" /v PicturesFolder /t REG_EXPAND_SZ /d 'C:\pupils\%USERNAME%' /f || fail "reg add"

shot() { timeout 20 import -window root "$SHOTS/policies_$1.png"; }
signature() {  # signature X Y W H: a fingerprint of a part of the screen
  timeout 20 import -window root "$WORK/sig.png"
  convert "$WORK/sig.png" -crop "$3x$4+$1+$2" +repage -format '%#' info:
}
prefs_bytes() { od -An -tx1 -v "$PREFS" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }
dialogs() { wintool count '#32770'; }
no_dialogs() { [ "$(dialogs)" = 0 ]; }
click() { timeout 10 xdotool mousemove "$1" "$2" click 1; }
line() { timeout 10 xdotool mousemove "$1" "$2" mousedown 1 mousemove $(($1 + 200)) $(($2 + 30)) sleep 0.05 \
           mousemove "$3" "$4" mouseup 1; }
remote() {  # remote X Y: the remote control, then its button at screen point X Y
  click 156 560
  within 5 dialog_titled "" || fail "no remote panel"
  sleep 0.3
  click "$1" "$2"
}
canvas="147 16 634 487"

start "$PAINT"
wintool wait Paint 60 || fail "no window of class Paint appeared"
splash_passes 800 600
sleep 0.5
[ ! -e "$MINE" ] || fail "the pictures folder was made at start-up"
expect_eq "preferences file of the first start" "$(prefs_bytes)" "01 00 00 00 01 00 00 00 01 00 00 00 01 00 00 00"

# The speaker: nothing changes on the screen or in the file.
speaker=$(signature 618 579 16 21)
click 626 590
sleep 0.5
click 626 590
sleep 0.5
expect_eq "speaker after two clicks" "$(signature 618 579 16 21)" "$speaker"
expect_eq "preferences file after the speaker" "$(prefs_bytes)" "01 00 00 00 01 00 00 00 01 00 00 00 01 00 00 00"

# Save into C:\pupils\<user>\, made now.
click 400 572; sleep 0.3   # the pencil
line 200 300 700 320
remote 351 246             # Save
within 10 dialog_titled "Save As" || fail "no Save As"
shot save_as
timeout 10 xdotool key Return
within 10 no_dialogs || fail "the Save As stayed open"
expect_eq "files in the child's folder" "$(ls "$MINE" 2>&1 | tr '\n' ' ')" "Tintwell.bmp "
expect_eq "saved picture size" "$(identify -format '%w %h' "$MINE/Tintwell.bmp")" "634 488"

# The gallery lists it: its name button tells the name.
remote 452 335             # Gallery
within 5 dialog_titled "" || fail "no gallery"
sleep 0.8
shot gallery
click 579 330
box=$(wintool box "Information..." 5) || fail "the gallery's name button told nothing"
expect_eq "the gallery's picture" "$(field text "$box")" "This picture file is named Tintwell.bmp."
sleep 0.3
timeout 10 xdotool key Escape
within 5 no_dialogs || fail "the gallery stayed open"

# Quitting closed: the remote's Quit and Alt+F4 leave the program and ask nothing.
line 200 200 700 220
remote 352 206             # Quit
sleep 1.5
expect_eq "dialogs after the remote's Quit" "$(dialogs)" 0
timeout 10 xdotool key alt+F4
sleep 1.5
expect_eq "dialogs after Alt+F4" "$(dialogs)" 0
expect_eq "windows of the program" "$(wintool count Paint)" 1
shot still_there

# A teacher's Ctrl+Shift+Q held: the save question, not before two seconds.
timeout 10 xdotool mousemove 400 300
pressed=$(date +%s%N)
timeout 10 xdotool keydown ctrl+shift+q
within 10 dialog_titled Attention || fail "no save question after Ctrl+Shift+Q"
held=$((($(date +%s%N) - pressed) / 1000000))
timeout 10 xdotool keyup ctrl+shift+q
[ "$held" -ge 2000 ] || fail "the save question came after $held ms of Ctrl+Shift+Q"
echo "ok: the save question came after $held ms of Ctrl+Shift+Q"
shot quit_question
timeout 10 xdotool key n
expect_eq "exit code after Ctrl+Shift+Q and No" "$(exit_code "$APP_PID" 30)" 0

# A pictures folder that cannot be reached: the box instead of the Save As, the picture kept.
[ ! -e "$WINEPREFIX/dosdevices/q:" ] || fail "this prefix has a drive Q:"
clear_policy
reg add "$POLICY" /v PicturesFolder /t REG_EXPAND_SZ /d 'Q:\pupils\%USERNAME%' /f || fail "reg add"
start "$PAINT"
wintool wait Paint 60 || fail "no window of class Paint appeared"
splash_passes 800 600
sleep 0.5
click 400 572; sleep 0.3
line 200 300 700 320
sleep 0.3
drawn=$(signature $canvas)
remote 351 246             # Save
box=$(wintool box "Attention!" 10) || fail "no box for the folder that cannot be reached"
expect_eq "the box" "$(field text "$box")" \
  "The picture could not be saved. The folder for pictures cannot be reached just now. The picture is still on the easel."
within 5 no_dialogs || fail "a dialog stayed after the box"
sleep 0.3
shot unreachable_after
expect_eq "the canvas after the refused save" "$(signature $canvas)" "$drawn"
remote 352 206             # Quit: allowed again
within 5 dialog_titled Attention || fail "no question after Quit"
timeout 10 xdotool key n
expect_eq "exit code after Quit" "$(exit_code "$APP_PID" 30)" 0
rm -rf "$PUPILS"

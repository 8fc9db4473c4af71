#!/usr/bin/env bash
# A parent installs Tintwell from the distribution folder into a fresh Wine prefix, with nothing
# else running first: Setup's splash, Next on the agreement page, Finish on the destination page
# with the default folder. The files, the Pages sub-folder, "DestinationPath" and "GrpConv" are
# there, the Start menu has the "Tintwell" group with its two items, and the installed paint.exe,
# started from the destination, shows the room. Then the uninstall command of the installed-
# programs entry removes what the install put there and keeps a picture in the Gallery.
# Screenshots of every page go to BUILD/programs/setup_install/ (kept for looking at).
. "$(dirname "$0")/lib/common.bash"
trap cleanup EXIT
SHOTS=$BUILD/programs/setup_install
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
shot() { timeout 20 import -window root "$SHOTS/$1.png"; }

# The distribution folder, made by the same script as the dist target.
arch=$(cat "$BUILD/wine-arch")
cmake -DSRC="$ROOT" -DOUT="$WORK/dist" -DPAINT="$PAINT" -DSETUP="$SETUP" -DARCH="$arch" \
  -P "$ROOT/cmake/dist.cmake" >/dev/null || fail "the distribution folder could not be made"
DIST=$WORK/dist/Tintwell
[ -f "$DIST/setup.inf" ] && [ -f "$DIST/setup.exe" ] && [ -f "$DIST/paint.exe" ] || fail "distribution incomplete"

# A fresh prefix of this check's own; nothing of it runs when Setup starts.
xvfb_start 800x600x24 || fail "no Xvfb"
display=$DISPLAY
mkdir -p "$WORK/fresh"
cp "$BUILD/wine-arch" "$WORK/fresh/"
timeout 180 "$ROOT/scripts/wine-session" prefix "$WORK/fresh" || fail "no prefix"
echo "at ${SECONDS}s: fresh prefix ready"
eval "$("$ROOT/scripts/wine-session" env "$WORK/fresh")"
export DISPLAY=$display
timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
C=$WINEPREFIX/drive_c
DEST="$C/Program Files/Marrowby/Tintwell"
reg_value() {  # reg_value KEY NAME: the data of a registry value, or nothing
  timeout 30 "$WINE" reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

# Setup, as a double-click in the distribution folder starts it.
cd "$DIST"
start "$DIST/setup.exe"
setup_pid=$APP_PID
wintool wait Setup 60 || fail "no Setup window"

# The splash: a dialog without controls over the main window.
for i in $(seq 1 60); do
  [ "$(wintool count '#32770')" = 1 ] && break
  sleep 0.1
done
shot 1_splash
info=$(wintool info '#32770')
[ -n "$info" ] || fail "no splash"
rect=$(field rect "$info")
IFS=, read -r l t r b <<<"$rect"
echo "at ${SECONDS}s: splash up at $rect ($((r - l))x$((b - t)))"

# The agreement page, titled with the product description; Next >>.
x_wait() {  # x_wait NAME SECONDS: waits for an X window of that name
  local i
  for i in $(seq 1 $(($2 * 10))); do
    [ -n "$(x_windows "$1")" ] && return 0
    sleep 0.1
  done
  return 1
}
x_wait Tintwell 30 || fail "no agreement page"
sleep 0.5
shot 2_agreement
wintool box Tintwell 10 >/dev/null || fail "agreement page not answered"
echo "ok: Next >> on the agreement page"

x_wait 'Destination...' 30 || fail "no destination page"
sleep 0.5
shot 3_destination
wintool box 'Destination...' 10 >/dev/null || fail "destination page not answered"
echo "ok: Finish on the destination page (at ${SECONDS}s)"

x_wait 'Attention!' 60 || fail "no closing message"
sleep 0.5
shot 4_finished
answer=$(wintool box 'Attention!' 10)
expect_eq "closing message" "$(field text "$answer")" "Setup has completed successfully."
expect_eq "Setup's exit code" "$(exit_code "$setup_pid" 30)" 0

# What the install left.
for f in paint.exe setup.inf Help_twk.html; do
  [ -f "$DEST/$f" ] || fail "$f not installed"
done
expect_eq "coloring pages in the Pages sub-folder" "$(ls "$DEST/Pages" | wc -l)" "$(ls "$DIST/Pages" | wc -l)"
[ -n "$(cd "$DIST" && find Help_twk_files -type f)" ] || fail "no help pictures in the distribution"
expect_eq "help pictures" "$(cd "$DIST" && find Help_twk_files -type f | sort | tr '\n' ' ')" \
  "$(cd "$DEST" && find Help_twk_files -type f | sort | tr '\n' ' ')"
cmp -s "$DIST/paint.exe" "$DEST/paint.exe" || fail "paint.exe differs from the distribution's"
expect_eq "DestinationPath" "$(reg_value 'HKLM\Software\Marrowby\Tintwell\UserInfo' DestinationPath)" \
  'c:\Program Files\Marrowby\Tintwell\'
expect_eq "GrpConv" "$(reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' GrpConv)" 'grpconv -o'
group=$(find "$C/users" "$C/ProgramData" -type d -path '*Start Menu/Programs/Tintwell' 2>/dev/null | head -1)
[ -n "$group" ] || fail "no Tintwell group in the Start menu"
expect_eq "items of the Tintwell group" "$(ls "$group" | sort | tr '\n' ' ')" "Help.lnk Tintwell.lnk "
uninstall=$(reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tintwell' UninstallString)
[ -n "$uninstall" ] || fail "no entry in the list of installed programs"
echo "ok: uninstall command: $uninstall"

# The installed program, started from its folder, shows the room.
cd "$DEST"
start "$DEST/paint.exe"
paint_pid=$APP_PID
wintool wait Paint 60 || fail "the installed paint.exe shows no window"
for i in $(seq 1 100); do
  [ "$(wintool count '#32770')" = 1 ] && break
  sleep 0.1
done
shot 5_paint_splash
timeout 10 xdotool mousemove 400 300 click 1
sleep 1.5
shot 6_paint_room
[ "$(pixel 5 5)" != "srgb(255,255,255)" ] || fail "the room is not drawn"
colours=$(convert "$SHOTS/6_paint_room.png" -format '%k' info:)
[ "$colours" -gt 200 ] || fail "the room shows only $colours colours"
echo "ok: the installed paint.exe shows the room ($colours colours, at ${SECONDS}s)"
wintool close Paint
exit_code "$paint_pid" 30 >/dev/null

# A picture of the child's, then the uninstall command as the installed-programs list runs it.
mkdir -p "$DEST/Gallery"
cp "$DIST/Pages/cat.bmp" "$DEST/Gallery/my picture.bmp"
cd "$WORK"
timeout 60 "$WINE" cmd /c "$uninstall" </dev/null >/dev/null 2>&1 || fail "the uninstall command failed"
timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
left=$(cd "$DEST" && find . -type f | sort | tr '\n' ' ')
expect_eq "files left in the destination" "$left" "./Gallery/my picture.bmp "
expect_eq "items left in the group" "$(ls -A "$group" 2>/dev/null | wc -l)" 0
expect_eq "DestinationPath after uninstall" "$(reg_value 'HKLM\Software\Marrowby\Tintwell\UserInfo' DestinationPath)" ""
expect_eq "GrpConv after uninstall" "$(reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' GrpConv)" ""
expect_eq "installed-programs entry after uninstall" \
  "$(reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tintwell' DisplayName)" ""
echo "ok: empty folders left: $(cd "$C" && find 'Program Files/Marrowby' users ProgramData -type d -empty 2>/dev/null | grep -i 'tintwell\|marrowby' | tr '\n' ';')"

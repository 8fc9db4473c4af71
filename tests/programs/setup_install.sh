#!/usr/bin/env bash
# Tintwell installed, upgraded and removed in one fresh Wine prefix, first as a parent does it and
# then as a school's console does it:
# - the distribution folder (read-me, NOTICE and setup.inf with Windows line endings);
# - a double-click on setup.exe with nothing else running: splash, Next on the agreement page,
#   Finish with the default folder; the files, the registry, the Start-menu group and the entry;
#   the installed paint.exe shows the room, and a quiet Setup started meanwhile refuses (1603);
#   the entry's uninstall command asks, removes everything but the Gallery and says so;
# - setup.exe /quiet /log, the same again over it, an upgrade to a Setup one build number
#   higher, a refused downgrade, a move into another folder, uninstall.exe /quiet, and
#   setup.exe /quiet /dir=Kids refused before anything is written.
# Screenshots of the pages go to BUILD/programs/setup_install-shots/ (kept for looking at).
. "$(dirname "$0")/lib/common.bash"
. "$(dirname "$0")/lib/setup.bash"
trap cleanup EXIT
SHOTS=$BUILD/programs/setup_install-shots
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
shot() { timeout 20 import -window root "$SHOTS/$1.png"; }

# Two distribution folders, made by the same script as the dist target: this build's and one of
# a Setup one build number higher (tests/setup_next.exe, the same code with its own version).
arch=$(cat "$BUILD/wine-arch")
n=$(cat "$BUILD/tintwell-build-number")
V=1.0.$n
NEXT=1.0.$((n + 1))
cmake -DSRC="$ROOT" -DOUT="$WORK/dist" -DPAINT="$PAINT" -DSETUP="$SETUP" -DARCH="$arch" -DVERSION="$V" \
  -P "$ROOT/cmake/dist.cmake" >/dev/null || fail "the distribution folder could not be made"
cmake -DSRC="$ROOT" -DOUT="$WORK/next" -DPAINT="$PAINT" -DSETUP="$BUILD/tests/setup_next.exe" -DARCH="$arch" \
  -DVERSION="$NEXT" -P "$ROOT/cmake/dist.cmake" >/dev/null || fail "the next distribution folder could not be made"
DIST=$WORK/dist/Tintwell
for f in setup.inf setup.exe paint.exe ReadMe.txt NOTICE Tintwell.admx en-US/Tintwell.adml; do
  [ -f "$DIST/$f" ] || fail "$f missing from the distribution"
done
for f in ReadMe.txt NOTICE setup.inf; do
  expect_eq "$f has Windows line endings only" "$(crlf_only "$DIST/$f")" yes
done
grep -q "Help_twk_files" "$DIST/ReadMe.txt" || fail "the read-me does not name the help folder"

fresh_prefix setup_install-prefix
ENTRY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tintwell'
USERINFO='HKLM\Software\Marrowby\Tintwell\UserInfo'
DEST="$C/Program Files/Marrowby/Tintwell"
WDEST='c:\Program Files\Marrowby\Tintwell'
group_folder() {  # the Start menu's Tintwell folder wherever it was made (user's or common)
  find "$C/users" "$C/ProgramData" -type d -path '*Start Menu/Programs/Tintwell' 2>/dev/null | head -1
}
# Nothing of ours is left in FOLDER (Program Files\Marrowby) but the Gallery with its picture.
only_gallery_left() {
  expect_eq "files left in $2" "$(cd "$1" && find . | sort | tr '\n' ' ')" \
    ". ./Tintwell ./Tintwell/Gallery ./Tintwell/Gallery/my picture.bmp "
  expect_eq "Start-menu folder after the uninstall" "$(group_folder)" ""
  expect_eq "installed-programs entry after the uninstall" "$(reg_key "$ENTRY")" no
  expect_eq "product key after the uninstall" "$(reg_key 'HKLM\Software\Marrowby\Tintwell')" no
  expect_eq "maker's key after the uninstall" "$(reg_key 'HKLM\Software\Marrowby')" no
}

# ---------------------------------------------------------------- by hand
cd "$DIST"
start "$DIST/setup.exe"
setup_pid=$APP_PID
wintool wait Setup 60 || fail "no Setup window"
for i in $(seq 1 60); do
  [ "$(wintool count '#32770')" = 1 ] && break
  sleep 0.1
done
shot 1_splash
[ -n "$(wintool info '#32770')" ] || fail "no splash"
x_wait Tintwell 30 || fail "no agreement page"
sleep 0.5
shot 2_agreement
wintool box Tintwell 10 >/dev/null || fail "agreement page not answered"
x_wait 'Destination...' 30 || fail "no destination page"
sleep 0.5
shot 3_destination
wintool box 'Destination...' 10 >/dev/null || fail "destination page not answered"
x_wait 'Attention!' 60 || fail "no closing message"
sleep 0.5
shot 4_finished
expect_eq "closing message" "$(field text "$(wintool box 'Attention!' 10)")" "Setup has completed successfully."
expect_eq "exit code of Setup by hand" "$(exit_code "$setup_pid" 30)" 0
echo "ok: installed by hand (at ${SECONDS}s)"

for f in paint.exe uninstall.exe tintwell.inf Help_twk.html; do
  [ -f "$DEST/$f" ] || fail "$f not installed"
done
[ ! -e "$DEST/setup.inf" ] || fail "the INF was installed under the common name setup.inf"
[ ! -e "$DEST/Tintwell.admx" ] && [ ! -e "$DEST/en-US" ] || fail "the policy template was installed"
expect_eq "coloring pages" "$(ls "$DEST/Pages" | wc -l)" "$(ls "$DIST/Pages" | wc -l)"
expect_eq "help pictures" "$(cd "$DIST" && find Help_twk_files -type f | sort | tr '\n' ' ')" \
  "$(cd "$DEST" && find Help_twk_files -type f | sort | tr '\n' ' ')"
cmp -s "$DIST/setup.exe" "$DEST/uninstall.exe" || fail "uninstall.exe is not the distribution's setup.exe"
expect_eq "DestinationPath" "$(reg_value "$USERINFO" DestinationPath)" "$WDEST\\"
expect_eq "InstalledBy" "$(reg_value "$USERINFO" InstalledBy)" setup
expect_eq "GrpConv" "$(reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' GrpConv)" 'grpconv -o'
group=$(group_folder)
[ -n "$group" ] || fail "no Tintwell group in the Start menu"
expect_eq "items of the Tintwell group" "$(ls "$group" | sort | tr '\n' ' ')" "Help.lnk Tintwell.lnk "
uninstall=$(reg_value "$ENTRY" UninstallString)
expect_eq "UninstallString" "$uninstall" "\"$WDEST\\uninstall.exe\""

# The installed program shows the room; a quiet Setup meanwhile refuses and says why.
cd "$DEST"
start "$DEST/paint.exe"
paint_pid=$APP_PID
wintool wait Paint 60 || fail "the installed paint.exe shows no window"
for i in $(seq 1 100); do
  [ "$(wintool count '#32770')" = 1 ] && break
  sleep 0.1
done
timeout 10 xdotool mousemove 400 300 click 1
sleep 1.5
shot 5_paint_room
colours=$(convert "$SHOTS/5_paint_room.png" -format '%k' info:)
[ "$colours" -gt 200 ] || fail "the room shows only $colours colours"
echo "ok: the installed paint.exe shows the room ($colours colours)"
cd "$WORK"
expect_eq "quiet Setup while Tintwell runs" "$(run_code 120 "$(win_path "$DIST/setup.exe") /quiet /log=running.log")" 1603
grep -q "^Tintwell is running" running.log || fail "the log does not say that Tintwell is running"
wintool close Paint
exit_code "$paint_pid" 30 >/dev/null

# A picture of the child's, then the entry's uninstall command: a question, then the removal.
mkdir -p "$DEST/Gallery"
cp "$DIST/Pages/cat.bmp" "$DEST/Gallery/my picture.bmp"
start_code uninstall "$uninstall"
question=$(wintool yes 'Attention...' 60) || fail "the uninstaller asked nothing"
expect_eq "the uninstaller's question" "$(field text "$question")" \
  'Do you want to remove Tintwell from this computer?\n\nThe pictures in its Gallery folder are kept.'
expect_eq "the uninstaller's closing message" "$(field text "$(wintool box 'Attention!' 60)")" \
  "Tintwell has been removed from this computer.\n\nThe pictures in $WDEST\\Gallery are kept."
expect_eq "exit code of the uninstaller by hand" "$(wait_code uninstall)" 0
timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
only_gallery_left "$C/Program Files/Marrowby" "Program Files\\Marrowby"
pending=$(timeout 30 "$WINE" reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations \
  </dev/null 2>/dev/null | tr -d '\r' | grep -o 'Tintwell-uninstall-[0-9]*\.exe' | head -1)
[ -n "$pending" ] || fail "the uninstaller's own file is not marked for deletion at the next restart"
echo "ok: $pending is deleted at the next restart (at ${SECONDS}s)"

# ---------------------------------------------------------------- from a console
quiet() {  # quiet DIST ARGS...: runs DIST/setup.exe with ARGS and prints its exit code
  local dist=$1
  shift
  run_code 180 "$(win_path "$dist/setup.exe") $*"
}
show_log() { echo "---- $1"; tr -d '\r' <"$1" | sed 's/^/    /'; }

expect_eq "exit code of setup.exe /quiet" "$(quiet "$DIST" /quiet '/log="first install.log"')" 0
show_log "first install.log"
expect_eq "the log's line endings" "$(crlf_only "first install.log")" yes
for line in "Tintwell Setup $V: install, quiet" "Destination: $WDEST\\" "Files copied and registry entries written" \
  "Run-once entries written" "Exit code 0"; do
  grep -qxF "$line" <(tr -d '\r' <"first install.log") || fail "the log lacks '$line'"
done
grep -q '^Program group "Tintwell" created' "first install.log" || fail "the log does not name the group"
group=$(group_folder)
expect_eq "items of the group (quiet)" "$(ls "$group" | sort | tr '\n' ' ')" "Help.lnk Tintwell.lnk "
# Every value of the entry.
expect_eq "DisplayName" "$(reg_value "$ENTRY" DisplayName)" Tintwell
expect_eq "DisplayVersion" "$(reg_value "$ENTRY" DisplayVersion)" "$V"
expect_eq "Publisher" "$(reg_value "$ENTRY" Publisher)" Marrowby
expect_eq "InstallLocation" "$(reg_value "$ENTRY" InstallLocation)" "$WDEST"
expect_eq "DisplayIcon" "$(reg_value "$ENTRY" DisplayIcon)" "$WDEST\\paint.exe"
expect_eq "UninstallString" "$(reg_value "$ENTRY" UninstallString)" "\"$WDEST\\uninstall.exe\""
expect_eq "QuietUninstallString" "$(reg_value "$ENTRY" QuietUninstallString)" "\"$WDEST\\uninstall.exe\" /quiet"
size=$(reg_value "$ENTRY" EstimatedSize)
installed_kb=$(find "$DEST" -path "$DEST/Gallery" -prune -o -type f -printf '%s\n' | awk '{s += $1} END {print int(s / 1024)}')
[ $((size)) -ge "$installed_kb" ] && [ $((size)) -le $((installed_kb + 64)) ] ||
  fail "EstimatedSize $size KB for $installed_kb KB installed"
expect_eq "NoModify" "$(reg_value "$ENTRY" NoModify)" 0x1
expect_eq "NoRepair" "$(reg_value "$ENTRY" NoRepair)" 0x1
expect_eq "entries" "$(entry_versions)" "$V "

# The same Setup again over it: one entry, the child's picture kept.
mkdir -p "$DEST/Gallery"
cp "$DIST/Pages/owl.bmp" "$DEST/Gallery/my picture.bmp"
expect_eq "exit code of a second setup.exe /quiet" "$(quiet "$DIST" /quiet /log=again.log)" 0
expect_eq "entries after the second install" "$(entry_versions)" "$V "
cmp -s "$DIST/Pages/owl.bmp" "$DEST/Gallery/my picture.bmp" || fail "the Gallery picture was not kept"

# A Setup one build number higher replaces the program in place.
expect_eq "exit code of the upgrade" "$(quiet "$WORK/next/Tintwell" /quiet /log=upgrade.log)" 0
show_log upgrade.log
grep -qF "Tintwell $V is installed in $WDEST\\" upgrade.log || fail "the upgrade's log does not name the earlier version"
expect_eq "DisplayVersion after the upgrade" "$(reg_value "$ENTRY" DisplayVersion)" "$NEXT"
cmp -s "$BUILD/tests/setup_next.exe" "$DEST/uninstall.exe" || fail "the upgrade did not replace uninstall.exe"
expect_eq "entries after the upgrade" "$(entry_versions)" "$NEXT "
cmp -s "$DIST/Pages/owl.bmp" "$DEST/Gallery/my picture.bmp" || fail "the upgrade lost the Gallery picture"

# The older Setup does not go back quietly.
expect_eq "exit code of a quiet downgrade" "$(quiet "$DIST" /quiet /log=downgrade.log)" 1603
show_log downgrade.log
grep -qF "Tintwell $NEXT is installed, which is newer than the version $V this Setup brings." downgrade.log ||
  fail "the log does not give the reason for the refusal"
expect_eq "DisplayVersion after the refused downgrade" "$(reg_value "$ENTRY" DisplayVersion)" "$NEXT"

# Into another folder: the old install goes first, its Gallery stays where it is.
expect_eq "exit code of an install elsewhere" "$(quiet "$WORK/next/Tintwell" /quiet '/dir=C:/Kids/Paint' /log=moved.log)" 0
show_log moved.log
grep -qF "The pictures of the earlier installation are still in $WDEST\\Gallery." moved.log ||
  fail "the log does not name the old Gallery"
expect_eq "files left in the old folder" "$(cd "$DEST" && find . | sort | tr '\n' ' ')" ". ./Gallery ./Gallery/my picture.bmp "
[ -f "$C/Kids/Paint/paint.exe" ] || fail "nothing installed in C:\\Kids\\Paint"
expect_eq "DestinationPath after the move" "$(reg_value "$USERINFO" DestinationPath)" 'C:\Kids\Paint\'
expect_eq "entries after the move" "$(entry_versions)" "$NEXT "

# uninstall.exe /quiet removes all of it; C:\Kids was made by the install and goes too.
code=$(run_code 180 'C:\Kids\Paint\uninstall.exe /quiet /log=uninstall.log')
show_log uninstall.log
expect_eq "exit code of uninstall.exe /quiet" "$code" 0
[ ! -e "$C/Kids" ] || fail "left behind: $(cd "$C" && find Kids | tr '\n' ' ')"
only_gallery_left "$C/Program Files/Marrowby" "Program Files\\Marrowby"

# A folder that is not absolute: refused before anything is written.
expect_eq "exit code of setup.exe /quiet /dir=Kids" "$(quiet "$DIST" /quiet /dir=Kids /log=kids.log)" 87
expect_eq "DestinationPath after /dir=Kids" "$(reg_value "$USERINFO" DestinationPath)" ""
[ ! -e "$DIST/Kids" ] && [ ! -e "$WORK/Kids" ] || fail "/dir=Kids wrote a folder"
[ ! -e kids.log ] || fail "a bad switch wrote a log" 
echo "ok: the whole sequence in ${SECONDS}s"

#!/usr/bin/env bash
# Setup with bad input, as a user meets it: without setup.inf it says so with the contact lines and
# then that it cannot run; with an empty setup.inf it says the same; an INF without the keys shows
# "This Product" and the default folder; an INF whose files are missing says the files could not be
# copied and never that Setup completed; a destination of 259 characters names no folder.
. "$(dirname "$0")/lib/common.bash"
session 800x600x24

CONTACT='\n\nTintwell is a free program made by volunteers; there is no telephone line or office to call.\nPlease read the ReadMe file beside Setup: it tells how to install Tintwell by hand and where to ask for help.'
CANT_RUN="Can't run Setup. Please see the ReadMe file\\nfor information on how to run Tintwell\\nwithout using this Setup."

# kit NAME: a folder with setup.exe and whatever the case puts beside it.
kit() {
  mkdir -p "$WORK/$1"
  cp "$SETUP" "$WORK/$1/setup.exe"
  echo "$WORK/$1"
}
# page CAPTION: waits for a wizard page and presses its default button (Next >>, Finish).
page() {
  wintool box "$1" 30 >/dev/null || fail "no page '$1'"
}
# x_wait NAME SECONDS: waits for an X window of that name.
x_wait() {
  local i
  for i in $(seq 1 $(($2 * 10))); do
    [ -n "$(x_windows "$1")" ] && return 0
    sleep 0.1
  done
  return 1
}
# winpath PATH: the Windows name of a Unix path.
winpath() { echo "Z:$(sed 's|/|\\|g' <<<"$1")"; }

# No setup.inf, then an empty one: two messages in this order, nothing else.
for case in none empty; do
  dir=$(kit "$case")
  [ "$case" = empty ] && : >"$dir/setup.inf"
  start "$dir/setup.exe"
  pid=$APP_PID
  first=$(wintool box 'Attention!' 30)
  expect_eq "first message ($case)" "$(field text "$first")" "Setup cannot find all of the files required for installation.$CONTACT"
  expect_eq "owner of the first message ($case)" "$(field owner "$first")" "Setup"
  second=$(wintool box 'Attention!' 30)
  expect_eq "second message ($case)" "$(field text "$second")" "$CANT_RUN"
  expect_eq "exit code ($case)" "$(exit_code "$pid" 30)" 0
done

# An INF without the keys: the agreement page is titled "This Product"; Cancel on the
# destination page, then Exit on the abort question: nothing is installed.
dir=$(kit nokeys)
printf '[Version]\r\nSignature="$Windows NT$"\r\n' >"$dir/setup.inf"
start "$dir/setup.exe"
pid=$APP_PID
page 'This Product'
x_wait 'Destination...' 30 || fail "no destination page"
sleep 0.5
timeout 10 xdotool key Escape
x_wait 'Confirm Abort...' 30 || fail "no abort question"
sleep 0.5
timeout 10 xdotool key Escape
expect_eq "exit code (Exit on the abort question)" "$(exit_code "$pid" 30)" 0
[ ! -e "$WINEPREFIX/drive_c/Program Files/Marrowby/This Product" ] || fail "something was installed"
echo "ok: nothing installed after Exit"

# Missing files: the message of its own, no success.
dir=$(kit missing)
dest=$WORK/missing-dest
cat >"$dir/setup.inf" <<EOF
[Version]
Signature="\$Windows NT\$"
[Strings]
PRODUCT_DESC="Tintwell"
DESTINATION_DIR="$(winpath "$dest")"
PROGRAM_GROUP="Tintwell check"
PROGRAM_EXE="paint.exe"
PROGRAM_HELP="Help_twk.html"
DESTINATION_SUB="Pages\\"
[SourceDisksNames]
1="Tintwell",,,
[SourceDisksFiles]
paint.exe=1
[DestinationDirs]
ProgramFiles=65600
[ProductInstall]
CopyFiles=ProgramFiles
[ProgramFiles]
paint.exe
EOF
start "$dir/setup.exe"
pid=$APP_PID
page Tintwell
page 'Destination...'
answer=$(wintool box 'Attention!' 60)
expect_eq "message for missing files" "$(field text "$answer")" "Setup could not copy the program's files to the destination folder.$CONTACT"
expect_eq "exit code (missing files)" "$(exit_code "$pid" 30)" 0
[ -d "$dest/Pages" ] && echo "ok: the destination folders were made" || fail "no destination folder"

# A destination of 259 characters: no room for the final backslash.
dir=$(kit long)
printf '[Version]\r\nSignature="$Windows NT$"\r\n[Strings]\r\nPRODUCT_DESC="Tintwell"\r\nDESTINATION_DIR="c:\\%s"\r\n' \
  "$(printf 'a%.0s' $(seq 1 256))" >"$dir/setup.inf"
start "$dir/setup.exe"
pid=$APP_PID
page Tintwell
page 'Destination...'
answer=$(wintool box 'Attention!' 60)
expect_eq "message for a 259-character folder" "$(field text "$answer")" "Setup cannot find the installation destination folder.$CONTACT"
expect_eq "exit code (long folder)" "$(exit_code "$pid" 30)" 0

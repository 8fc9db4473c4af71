#!/usr/bin/env bash
# Setup with bad input, as a user meets it: without setup.inf it says so with the contact lines and
# then that it cannot run (1603); with an empty setup.inf it says the same; an INF without the keys
# shows "This Product", and Exit on the abort question installs nothing (1602). Switches it cannot
# use end it with 87 (a box when not quiet), /? lists them. (Missing files, folders that cannot be
# made and Program Manager's failures are checked in tests/setup.)
. "$(dirname "$0")/lib/common.bash"
. "$(dirname "$0")/lib/setup.bash"
session 800x600x24
cd "$WORK"

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

# No setup.inf, then an empty one: two messages in this order, nothing else.
for case in none empty; do
  dir=$(kit "$case")
  [ "$case" = empty ] && : >"$dir/setup.inf"
  start_code "$case" "$(win_path "$dir/setup.exe")"
  first=$(wintool box 'Attention!' 30)
  expect_eq "first message ($case)" "$(field text "$first")" "Setup cannot find all of the files required for installation.$CONTACT"
  expect_eq "owner of the first message ($case)" "$(field owner "$first")" "Setup"
  second=$(wintool box 'Attention!' 30)
  expect_eq "second message ($case)" "$(field text "$second")" "$CANT_RUN"
  expect_eq "exit code ($case)" "$(wait_code "$case")" 1603
done

# An INF without the keys: the agreement page is titled "This Product"; Cancel on the
# destination page, then Exit on the abort question: nothing is installed.
dir=$(kit nokeys)
printf '[Version]\r\nSignature="$Windows NT$"\r\n' >"$dir/setup.inf"
start_code nokeys "$(win_path "$dir/setup.exe")"
page 'This Product'
x_wait 'Destination...' 30 || fail "no destination page"
sleep 0.5
timeout 10 xdotool key Escape
x_wait 'Confirm Abort...' 30 || fail "no abort question"
sleep 0.5
timeout 10 xdotool key Escape
expect_eq "exit code (Exit on the abort question)" "$(wait_code nokeys)" 1602
[ ! -e "$WINEPREFIX/drive_c/Program Files/Marrowby/This Product" ] || fail "something was installed"
echo "ok: nothing installed after Exit"

# Switches: what cannot be used ends Setup with 87 before it does anything (with a box unless
# quiet); /? lists them.
SETUP_EXE=$(win_path "$dir/setup.exe")
start_code bogus "$SETUP_EXE /bogus"
bogus=$(wintool box 'Attention!' 30)
[[ "$(field text "$bogus")" == 'Setup cannot use "/bogus".\n\nSetup installs Tintwell;'* ]] ||
  fail "the message for a bad switch: $(field text "$bogus")"
expect_eq "exit code (/bogus)" "$(wait_code bogus)" 87
start_code help "$SETUP_EXE /?"
usage=$(wintool box 'Attention!' 30)
[[ "$(field text "$usage")" == *'/quiet'*'/dir'*'/log'*'/uninstall'*'1618'* ]] || fail "/? lists: $(field text "$usage")"
expect_eq "exit code (/?)" "$(wait_code help)" 0
for line in "/quiet /bogus" "/quiet /dir=D:Games" "/quiet /uninstall /dir=C:\\Kids" "/quiet /log=Z:\\no\\such\\folder\\x.log"; do
  expect_eq "exit code ($line)" "$(run_code 60 "$SETUP_EXE $line")" 87
done
expect_eq "boxes after the quiet ones" "$(wintool count '#32770')" 0
[ ! -e "$WINEPREFIX/drive_c/Program Files/Marrowby/This Product" ] || fail "a bad switch installed something"

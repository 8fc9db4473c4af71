#!/usr/bin/env bash
# Setup with bad input, as a user meets it: without setup.inf it says so with the contact lines and
# then that it cannot run; with an empty setup.inf it says the same; an INF without the keys shows
# "This Product", and Exit on the abort question installs nothing. (Missing files, folders that
# cannot be made and Program Manager's failures are checked in tests/setup.)
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

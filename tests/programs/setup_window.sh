#!/usr/bin/env bash
# setup.exe opens one overlapped window "Setup" over the desktop; a second start exits with 1618
# (another Setup is running) and leaves one window; WM_CLOSE ends it with 1602, as Exit does
# (also while a wizard page is up).
. "$(dirname "$0")/lib/common.bash"
. "$(dirname "$0")/lib/setup.bash"
session 800x600x24

# Setup reads the setup.inf beside it.
mkdir -p "$WORK/kit"
cp "$SETUP" "$WORK/kit/setup.exe"
printf '[Version]\r\nSignature="$Windows NT$"\r\n[Strings]\r\nPRODUCT_DESC="Tintwell"\r\n' >"$WORK/kit/setup.inf"
SETUP=$WORK/kit/setup.exe

start_code first "$(win_path "$SETUP")"
wintool wait Setup 60 || fail "no window of class Setup appeared"
info=$(wintool info Setup)
expect_eq "title" "$(field title "$info")" "Setup"
expect_eq "window rectangle" "$(field rect "$info")" "0,0,800,600"
expect_eq "caption" "$(field caption "$info")" 1
expect_eq "popup style" "$(field popup "$info")" 0

expect_eq "exit code of the second start" "$(run_code 60 "$(win_path "$SETUP")")" 1618
expect_eq "windows of class Setup" "$(wintool count Setup)" 1

wintool close Setup || fail "no window to close"
expect_eq "exit code after WM_CLOSE" "$(wait_code first)" 1602

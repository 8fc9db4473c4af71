#!/usr/bin/env bash
# setup.exe opens one overlapped window "Setup" over the desktop; a second start exits with 1618
# (another Setup is running) and leaves one window; WM_CLOSE ends it with 1602, as Exit does
# (also while a wizard page is up).
. "$(dirname "$0")/lib/common.bash"
session 800x600x24

# Setup reads the setup.inf beside it.
mkdir -p "$WORK/kit"
cp "$SETUP" "$WORK/kit/setup.exe"
printf '[Version]\r\nSignature="$Windows NT$"\r\n[Strings]\r\nPRODUCT_DESC="Tintwell"\r\n' >"$WORK/kit/setup.inf"
SETUP=$WORK/kit/setup.exe

start "$SETUP"
first=$APP_PID
wintool wait Setup 60 || fail "no window of class Setup appeared"
info=$(wintool info Setup)
expect_eq "title" "$(field title "$info")" "Setup"
expect_eq "window rectangle" "$(field rect "$info")" "0,0,800,600"
expect_eq "caption" "$(field caption "$info")" 1
expect_eq "popup style" "$(field popup "$info")" 0

# Exit codes as Wine passes them on: the low 8 bits (1618 = 0x652, 1602 = 0x642).
start "$SETUP"
expect_eq "exit code of the second start" "$(exit_code "$APP_PID" 30)" $((1618 & 255))
expect_eq "windows of class Setup" "$(wintool count Setup)" 1

APP_PID=$first
wintool close Setup || fail "no window to close"
expect_eq "exit code after WM_CLOSE" "$(exit_code "$first" 30)" $((1602 & 255))

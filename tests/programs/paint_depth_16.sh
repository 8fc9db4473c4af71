#!/usr/bin/env bash
# At 16 bits per pixel paint.exe runs: no message, its window over the screen, exit 0 on WM_CLOSE.
. "$(dirname "$0")/lib/common.bash"
session 800x600x16
expect_eq "X screen depth" "$(timeout 10 xwininfo -root | awk '/Depth:/{print $2}')" 16

start "$PAINT"
wintool wait Paint 60 || fail "no window of class Paint appeared"
splash_passes 800 600
expect_eq "message boxes" "$(wintool count '#32770')" 0
expect_eq "window rectangle" "$(field rect "$(wintool info Paint)")" "0,0,800,600"
wintool close Paint || fail "no window to close"
expect_eq "exit code after WM_CLOSE" "$(exit_code "$APP_PID" 30)" 0

#!/usr/bin/env bash
# On an 8-bit screen paint.exe refuses to run: the colour-depth message, no window, exit code 0.
. "$(dirname "$0")/lib/common.bash"
session 800x600x8
expect_eq "X screen depth" "$(timeout 10 xwininfo -root | awk '/Depth:/{print $2}')" 8

start "$PAINT"
box=$(wintool box "Attention!" 60 Paint) || fail "no \"Attention!\" box appeared"
expect_eq "refusal text" "$(field text "$box")" \
  "Tintwell requires that your display be set to 16 or 24 bits per pixel color mode. Please adjust your display settings and then restart Tintwell."
expect_eq "windows of class Paint while the message is up" "$(field windows "$box")" 0
expect_eq "exit code after OK" "$(exit_code "$APP_PID" 30)" 0
expect_eq "windows of class Paint left" "$(wintool count Paint)" 0

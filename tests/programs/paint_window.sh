#!/usr/bin/env bash
# At 800x600 paint.exe covers the whole screen with one borderless window "Tintwell" (the splash,
# then the room, no resolution advice) and ends with exit code 0 when closed with Alt+F4.
. "$(dirname "$0")/lib/common.bash"
session 800x600x24
white_root 800 600

start "$PAINT"
wintool wait Paint 60 || fail "no window of class Paint appeared"
splash_passes 800 600
expect_eq "message boxes at 800x600" "$(wintool count '#32770')" 0

ids=$(x_windows Tintwell)
expect_eq "X windows named Tintwell" "$(grep -c . <<<"$ids")" 1
expect_eq "X geometry of Tintwell" "$(x_geometry "$ids")" "0 0 800 600"
info=$(wintool info Paint)
expect_eq "title" "$(field title "$info")" "Tintwell"
expect_eq "window rectangle" "$(field rect "$info")" "0,0,800,600"
expect_eq "popup style" "$(field popup "$info")" 1
expect_eq "caption" "$(field caption "$info")" 0
# The room covers the white root: the wall in the top-left corner is not white, the canvas is.
[ "$(pixel 5 5)" != "srgb(255,255,255)" ] || fail "the wall is not drawn"
expect_eq "canvas centre" "$(pixel 460 250)" "srgb(255,255,255)"

# The system close: Alt+F4 on the focused window reaches it as WM_CLOSE.
timeout 10 xdotool windowfocus --sync "$ids" || true
timeout 10 xdotool key alt+F4 || true
expect_eq "exit code after Alt+F4" "$(exit_code "$APP_PID" 30)" 0
expect_eq "windows of class Paint left" "$(wintool count Paint)" 0

#!/usr/bin/env bash
# At 1024x768 the resolution advice comes first, before the main window exists; after OK the
# program opens its window over the whole 1024x768 desktop and runs.
. "$(dirname "$0")/lib/common.bash"
session 1024x768x24

start "$PAINT"
box=$(wintool box "Attention!" 60 Paint) || fail "no \"Attention!\" box appeared"
expect_eq "advice text" "$(field text "$box")" \
  "Tintwell works best when your display is set to a resultion of 800x600 or 640x480."
expect_eq "windows of class Paint while the advice is up" "$(field windows "$box")" 0

wintool wait Paint 60 || fail "no window of class Paint after the advice"
expect_eq "window rectangle" "$(field rect "$(wintool info Paint)")" "0,0,1024,768"
expect_eq "X geometry of Tintwell" "$(x_geometry "$(x_windows Tintwell)")" "0 0 1024 768"
splash_passes 1024 768
expect_eq "message boxes after the advice" "$(wintool count '#32770')" 0
wintool close Paint || fail "no window to close"
expect_eq "exit code after WM_CLOSE" "$(exit_code "$APP_PID" 30)" 0

#!/usr/bin/env bash
# A second paint.exe finds the first by its window class, restores it from the minimised state,
# brings it forward and exits with 0; exactly one window remains. The first ends with 0 on WM_CLOSE.
. "$(dirname "$0")/lib/common.bash"
session 800x600x24

start "$PAINT"
first=$APP_PID
wintool wait Paint 60 || fail "no window of class Paint appeared"
wintool minimize Paint || fail "could not minimise"
expect_eq "first minimised" "$(field iconic "$(wintool info Paint)")" 1

start "$PAINT"
second=$APP_PID
expect_eq "exit code of the second start" "$(exit_code "$second" 30)" 0
expect_eq "windows of class Paint" "$(wintool count Paint)" 1
expect_eq "X windows named Tintwell" "$(x_windows Tintwell | grep -c .)" 1
info=$(wintool info Paint)
expect_eq "first restored" "$(field iconic "$info")" 0
expect_eq "first visible" "$(field visible "$info")" 1
expect_eq "first's rectangle" "$(field rect "$info")" "0,0,800,600"

APP_PID=$first
wintool close Paint || fail "no window to close"
expect_eq "exit code of the first after WM_CLOSE" "$(exit_code "$first" 30)" 0

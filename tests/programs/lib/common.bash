# Sourced by the whole-program checks (tests/programs/*.sh, args: BUILD_DIR PAINT_EXE SETUP_EXE).
# Each check gets a screen of its own and a Wine prefix of its own (BUILD_DIR/programs), so
# that the screen size the programs see is that screen's and not the test session's; the
# wineserver of that prefix and everything it runs are ended when the check exits.
set -euo pipefail

BUILD=$(cd "$1" && pwd)
PAINT=$2
SETUP=$3
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
WINTOOL=$BUILD/tests/wintool.exe
WORK=$(mktemp -d)
APP_PID=
. "$ROOT/scripts/xvfb-lib.sh"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cleanup() {
  local rc=$?
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  if [ -n "${WINEPREFIX:-}" ]; then timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true; fi
  xvfb_stop
  rm -rf "$WORK"
  exit $rc
}

# session GEOMETRY [FOLDER]: a private Xvfb (WxHxDepth) and a wineserver of the programs' prefix
# on it; the prefix lives in BUILD/FOLDER (BUILD/programs unless a check needs one of its own).
session() {
  trap cleanup EXIT
  xvfb_start "$1" || fail "no Xvfb"
  local display=$DISPLAY prefix_home=$BUILD/${2:-programs}
  mkdir -p "$prefix_home"
  timeout 180 "$ROOT/scripts/wine-session" prefix "$prefix_home"
  eval "$("$ROOT/scripts/wine-session" env "$prefix_home")"
  export DISPLAY=$display
  # A wineserver left by an earlier check would still show that check's screen.
  timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
  timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
  # Wine's helper processes start first, with their output on /dev/null (see platform notes).
  wineserver -p </dev/null >/dev/null 2>&1 || true
  timeout 120 "$WINE" wineboot </dev/null >/dev/null 2>&1 || true
}

# The painting program's recovery copy in this prefix (the user's %LOCALAPPDATA%\Tintwell\Recovery).
recovery_folder() { echo "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Tintwell/Recovery"; }

# start EXE [keep]: runs a program in the background; its exit code lands in $WORK/rc.<pid>. The
# painting program starts without a recovery copy an earlier check left, unless "keep" is given.
start() {
  local exe=$1
  if [ "${2:-}" != keep ] && [ "$exe" = "$PAINT" ]; then rm -rf "$(recovery_folder)"; fi
  ( "$WINE" "$exe" </dev/null >/dev/null 2>&1; echo $? >"$WORK/rc.$BASHPID" ) &
  APP_PID=$!
}

# exit_code PID SECONDS: waits for a program started with start and prints its exit code.
exit_code() {
  local pid=$1 limit=$2 i
  for i in $(seq 1 $((limit * 10))); do
    if [ -f "$WORK/rc.$pid" ]; then
      wait "$pid" 2>/dev/null || true
      [ "$pid" = "$APP_PID" ] && APP_PID=
      cat "$WORK/rc.$pid"
      return 0
    fi
    sleep 0.1
  done
  echo "timeout"
}

wintool() { timeout 60 "$WINE" "$WINTOOL" "$@" </dev/null 2>/dev/null | tr -d '\r'; }

# x_windows NAME: ids of the X windows with exactly that name.
x_windows() { timeout 10 xdotool search --name "^$1\$" 2>/dev/null || true; }

# x_geometry ID: "X Y W H" of an X window.
x_geometry() {
  timeout 10 xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}

# screen_range: "min max" of every pixel's channels on the screen (0..1).
screen_range() {
  timeout 20 import -window root "$WORK/screen.png"
  convert "$WORK/screen.png" -format '%[fx:minima] %[fx:maxima]' info:
}

expect_eq() {  # expect_eq WHAT ACTUAL EXPECTED
  [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"
  echo "ok: $1 = $3"
}

# field KEY TEXT: the value of KEY=value in wintool's output.
field() { sed -n "s/^$1=//p" <<<"$2" | head -1; }

# white_root W H: paints the root window white, so that a screenshot shows what windows cover.
white_root() {
  convert -size "$1x$2" xc:white "$WORK/white.png"
  timeout 20 display -window root "$WORK/white.png" >/dev/null 2>&1 || true
  expect_eq "screen before start (min max)" "$(screen_range)" "1 1"
}

# wait_screen RANGE SECONDS: waits until the screen's pixel range is RANGE; prints the last range.
wait_screen() {
  local range i
  for i in $(seq 1 $(($2 * 4))); do
    range=$(screen_range)
    [ "$range" = "$1" ] && break
    sleep 0.25
  done
  echo "$range"
}

# splash_passes W H: the splash (a dialog of 448x324 centred on a W x H screen) is up after the
# main window opened; a click on it closes it and leaves no dialog.
splash_passes() {
  local i info
  for i in $(seq 1 100); do
    [ "$(wintool count '#32770')" = 1 ] && break
    sleep 0.1
  done
  info=$(wintool info '#32770')
  local l=$((($1 - 448) / 2)) t=$((($2 - 324) / 2))
  expect_eq "splash rectangle" "$(field rect "$info")" "$l,$t,$((l + 448)),$((t + 324))"
  timeout 10 xdotool mousemove $((l + 224)) $((t + 162)) click 1
  for i in $(seq 1 50); do
    [ "$(wintool count '#32770')" = 0 ] && break
    sleep 0.1
  done
  expect_eq "dialogs after a click on the splash" "$(wintool count '#32770')" 0
}

# pixel X Y: the colour of a screen pixel as srgb(r,g,b).
pixel() {
  timeout 20 import -window root "$WORK/px.png"
  convert "$WORK/px.png" -format "%[pixel:p{$1,$2}]" info:
}

# wait_pixel X Y COLOUR SECONDS: waits until the screen pixel shows COLOUR (as pixel prints it);
# prints the last colour seen.
wait_pixel() {
  local seen i
  for i in $(seq 1 $(($4 * 4))); do
    seen=$(pixel "$1" "$2")
    [ "$seen" = "$3" ] && break
    sleep 0.25
  done
  echo "$seen"
}

# within SECONDS COMMAND...: runs COMMAND every tenth of a second until it succeeds or SECONDS pass.
within() {
  local i
  for i in $(seq 1 $(($1 * 10))); do
    "${@:2}" && return 0
    sleep 0.1
  done
  return 1
}

# dialog_titled TITLE: a dialog whose title starts with TITLE is up.
dialog_titled() { wintool info '#32770' | grep -q "^title=$1"; }

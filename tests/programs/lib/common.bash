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

# The screen of the checks that drive the room: CHECK_SCREEN=WxH, 800x600 unless set. Their places
# are written as they lie on 800x600: the canvas's from the screen's top-left corner as they are,
# the left panel's and the table's from the bottom edge (room X Y), a dialog's from the middle of
# the screen (dlg X Y).
SCREEN=${CHECK_SCREEN:-800x600}
SW=${SCREEN%x*}
SH=${SCREEN#*x}
room() { echo "$1 $(($2 + SH - 600))"; }
dlg() { echo "$(($1 + (SW - 800) / 2)) $(($2 + (SH - 600) / 2))"; }

fail() {
  echo "FAIL: $*" >&2
  what_was_there >&2
  exit 1
}

# A command that ends a check under errexit, unguarded, says which it was, with its exit code and
# what the session held (a Wine program that ended badly at once otherwise left only "Failed").
set -E
trap 'rc=$?; [ "$BASH_SUBSHELL" = 0 ] && { echo "FAIL: line $LINENO of ${BASH_SOURCE[0]##*/}: $BASH_COMMAND (exit $rc)"; what_was_there; } >&2' ERR

# what_was_there: what the session held when a check failed (its top-level windows, the Windows
# programs running, the screen), so that a failure that does not come back can still be read.
what_was_there() {
  [ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ] && [ -n "${WINE:-}" ] || return 0
  echo "-- top-level windows:"
  timeout 20 "$WINE" "$WINTOOL" windows </dev/null 2>/dev/null | tr -d '\r' | head -40 | sed 's/^/   /' || true
  echo "-- Windows programs running (the one started last: ${APP_PID:-none}):"
  local rc
  for rc in "$WORK"/rc.*; do [ -f "$rc" ] && echo "   ${rc##*/rc.} ended with exit code $(cat "$rc")"; done
  # What the installer's checks were told by the programs they ran through wintool (empty: still running).
  for rc in "$WORK"/code.*; do [ -f "$rc" ] && echo "   ${rc##*/} (wintool run): $(tr -d '\r' <"$rc" | tr '\n' ' ')"; done
  # What Wine itself said on the standard error of the programs the check started, and of wintool.
  for rc in "$WORK"/stderr.*; do
    [ -s "$rc" ] && { echo "-- Wine's standard error of ${rc##*/stderr.}:"; tail -n 15 "$rc" | sed 's/^/   /'; }
  done
  if [ -s "$WORK/wintool.answers" ]; then
    echo "-- the probe's last answers other than 0:"
    tail -n 5 "$WORK/wintool.answers" | sed 's/^/   /'
  fi
  ps -eo pid,etime,args | awk '$3 ~ /[.]exe/ { print "   " $0 }' || true
  local shot=$BUILD/Testing/failed-$(basename "$0" .sh).png
  mkdir -p "$BUILD/Testing"
  if timeout 20 import -window root "$shot" 2>/dev/null; then echo "-- the screen: $shot"; fi
}

# cleanup [CODE]: ends the check's programs, screen and scratch folder, and exits with CODE (the
# status it was called with unless given).
cleanup() {
  local rc=${1:-$?}
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
  desktop_up
}

# desktop_up: Wine's desktop process (explorer /desktop) started by one program, and seen running,
# before the check starts programs of its own. A check that starts two at once (the program and the
# probe waiting for its window) would otherwise have both start it: once neither got past its start
# for a minute, and the desktop came up only when a later probe ran alone. Starting the environment
# may take a second try, told in one line.
desktop_up() {
  local try
  for try in 1 2; do
    [ "$(timeout 30 "$WINE" "$WINTOOL" count Shell_TrayWnd </dev/null 2>/dev/null | tr -d '\r')" = 1 ] && return 0
    [ $try = 2 ] || echo "session: Wine's desktop was not running 30 s after it was asked for; asking again" >&2
  done
  fail "Wine's desktop did not start"
}

# The painting program's recovery copy in this prefix (the user's %LOCALAPPDATA%\Tintwell\Recovery).
recovery_folder() { echo "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Tintwell/Recovery"; }

# start EXE [keep]: runs a program in the background; its exit code lands in $WORK/rc.<pid>. The
# painting program starts without a recovery copy an earlier check left, unless "keep" is given.
start() {
  local exe=$1
  if [ "${2:-}" != keep ] && [ "$exe" = "$PAINT" ]; then rm -rf "$(recovery_folder)"; fi
  # Whatever the program ends with is recorded (errexit would end the subshell on a non-zero one).
  ( me=$BASHPID rc=0; "$WINE" "$exe" </dev/null >/dev/null 2>"$WORK/stderr.$me" || rc=$?; echo $rc >"$WORK/rc.$me" ) &
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

# wintool ARGS: the probe. It records its steps (its command, then its code) in a file of its own, so
# that a code it gave itself (1: a window not found in time) is told from a probe that Wine ended
# before or while it ran; the latter says so, with how far it came and what Wine wrote.
wintool() {
  local steps=$WORK/steps.wintool.$BASHPID err=$WORK/wintool-said.$BASHPID rc=0 started ms
  rm -f "$steps"
  started=$(date +%s%N)
  TINTWELL_TEST_STEPS="Z:${steps//\//\\}" timeout 60 "$WINE" "$WINTOOL" "$@" </dev/null 2>"$err" |
    tr -d '\r' || rc=$?
  cat "$err" >>"$WORK/stderr.wintool"
  [ $rc -ne 0 ] || return 0
  ms=$((($(date +%s%N) - started) / 1000000))
  if grep -qs "ended, code" "$steps"; then
    echo "wintool $*: its own answer, code $rc after $ms ms" >>"$WORK/wintool.answers"
    return $rc
  fi
  {
    echo "wintool $*: Wine ended it with exit code $rc after $ms ms; its standard error: $(tr -d '\r' <"$err" | head -c 300 | tr '\n' ' ')"
    echo "  the steps it recorded:"
    tr -d '\r' <"$steps" 2>/dev/null | sed 's/^/    /' || echo "    none (it ended before its first)"
  } >&2
  return $rc
}

# reg ARGS: Wine's reg in the check's prefix; what it says is kept with the session's record.
reg() { timeout 60 "$WINE" reg "$@" </dev/null >>"$WORK/stderr.reg" 2>&1; }

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
  click_closing $((l + 224)) $((t + 162))
  expect_eq "dialogs after a click on the splash" "$(wintool count '#32770')" 0
}

# click_closing X Y: a click on a dialog that closes on the press (the splash, About): the button
# is let go once no dialog is left, over the room. A press and release sent together race Wine:
# when the dialog's X window is gone before Wine has read the release, Wine drops the release and
# holds the button down for the program until the next click (no caption, no highlight).
click_closing() {
  timeout 10 xdotool mousemove "$1" "$2" mousedown 1
  within 10 dialogs_are 0 || true
  timeout 10 xdotool mouseup 1
}

# pixel X Y: the colour of a screen pixel as srgb(r,g,b).
pixel() {
  timeout 20 import -window root "$WORK/px.png"
  convert "$WORK/px.png" -format "%[pixel:p{$1,$2}]" info:
}

# signature X Y W H: a fingerprint of a part of the screen.
signature() {
  timeout 20 import -window root "$WORK/sig.png"
  convert "$WORK/sig.png" -crop "$3x$4+$1+$2" +repage -format '%#' info:
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

# dialogs: how many dialogs are open; wait_dialogs N: until N of them are (at most 10 s).
dialogs() { wintool count '#32770'; }
dialogs_are() { [ "$(dialogs)" = "$1" ]; }
wait_dialogs() { within 10 dialogs_are "$1"; }

# dialog_titled TITLE: a dialog whose title starts with TITLE is up.
dialog_titled() { wintool info '#32770' | grep -q "^title=$1"; }

# wait_for SECONDS COMMAND...: as within, and COMMAND's own output and status after the last try.
wait_for() { within "$1" "${@:2}" || "${@:2}"; }

# until_eq WHAT EXPECTED COMMAND...: waits (at most 20 s) until COMMAND prints EXPECTED, then
# checks it as expect_eq does.
until_eq() {
  local what=$1 want=$2 got i
  shift 2
  for i in $(seq 1 100); do
    got=$("$@")
    [ "$got" = "$want" ] && break
    sleep 0.2
  done
  expect_eq "$what" "$got" "$want"
}

# until_ne WHAT UNWANTED COMMAND...: waits (at most 20 s) until COMMAND prints something else.
until_ne() {
  local what=$1 unwanted=$2 got i
  shift 2
  for i in $(seq 1 100); do
    got=$("$@")
    [ "$got" != "$unwanted" ] && break
    sleep 0.2
  done
  [ "$got" != "$unwanted" ] || fail "$what: still '$got'"
  echo "ok: $what"
}

# room_drawn: the room is on the screen (the wall at the top-left corner, the white canvas).
room_drawn() {
  local wall
  wall=$(pixel 5 5)
  [ "$wall" != "srgb(0,0,0)" ] && [ "$wall" != "srgb(255,255,255)" ] &&
    [ "$(pixel $((147 + (SW - 166) / 2)) $((16 + (SH - 112) / 2)))" = "srgb(255,255,255)" ]
}

# start_room: paint.exe on the check's screen, the resolution advice answered where the screen is
# larger than 800x600, the splash passed with a click, and the room drawn.
start_room() {
  start "$PAINT"
  if [ "$SW" -gt 800 ] || [ "$SH" -gt 600 ]; then
    wintool box "Attention!" 60 Paint >/dev/null || fail "no resolution advice at $SCREEN"
    echo "ok: the resolution advice at $SCREEN answered"
  fi
  wintool wait Paint 60 || fail "no window of class Paint appeared"
  splash_passes "$SW" "$SH"
  wait_for 30 room_drawn || fail "the room was not drawn after the splash"
}

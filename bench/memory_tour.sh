#!/usr/bin/env bash
# The painting program's memory on a large screen after a tour of every tool and dialog, taken
# from outside (run by hand):
#   bench/memory_tour.sh [BUILD] [SCREEN]        (default build/mingw64 and 3840x2160)
# paint.exe runs under an Xvfb of that size in the whole-program checks' prefix; the resolution
# advice and the splash are answered, then every tool of the five groups is picked and used on the
# canvas (the scissors cut and stamp, the books' stamps printed), the cans, the spyglass, the
# cleaner bottle and the speaker are clicked, and every dialog is opened and closed: the palette
# (paint tube and a can's double click), the text dialog (its text placed), the stamp pickers, the
# remote with About, Preferences and Help, the printer, and the command menu's New (its question
# and the coloring pages), Open, Save, Gallery and About.
# The process's private bytes (what Wine counts as such: its anonymous resident memory, RssAnon)
# are sampled ten times a second all along; at the end the script prints the peak, the resident
# peak (VmHWM), the private bytes after each step, and the largest private mappings with the
# bitmaps of that size the program holds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/mingw64}" && pwd)
export CHECK_SCREEN=${2:-3840x2160}
set -- "$build" "$build/paint.exe" "$build/setup.exe"
. "$root/tests/programs/lib/common.bash"

export CUPS_SERVER=$WORK/no-printer.sock   # the printer's dialog finds no printer
mkdir -p "$WORK/bin"
printf '#!/bin/sh\nexit 0\n' >"$WORK/bin/xdg-open"   # Help's browser does nothing
chmod +x "$WORK/bin/xdg-open"
export PATH="$WORK/bin:$PATH"

session "${SCREEN}x24" memory-tour   # a prefix of its own, beside the suite's
echo "uptime: $(uptime)"
start_room

# The Unix process of this prefix's paint.exe.
UNIX_PID=
for p in $(pgrep -f 'paint\.exe' || true); do
  if tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then UNIX_PID=$p; fi
done
[ -n "$UNIX_PID" ] || fail "paint.exe's process not found"
status_kb() { awk -v k="$1:" '$1 == k {print $2}' "/proc/$UNIX_PID/status" 2>/dev/null; }

# Ten samples a second for the whole tour, so that a peak inside a step is seen too.
( while kill -0 "$UNIX_PID" 2>/dev/null; do status_kb RssAnon; sleep 0.1; done ) >"$WORK/samples" &
SAMPLER=$!
STEPS=$WORK/steps
: >"$STEPS"
step() { echo "$(printf '%-44s' "$1") private $(status_kb RssAnon) kB, resident $(status_kb VmRSS) kB" | tee -a "$STEPS"; }

x() { timeout 10 xdotool "$@"; }
click() { x mousemove "$1" "$2" click 1; }
wait_open() { wait_dialogs "$1" || fail "expected $1 dialogs, saw $(dialogs)"; }
# close_all: Escape until no dialog or menu is open; a question is answered No.
close_all() {
  local i list
  for i in $(seq 1 40); do
    sleep 0.3
    list=$(wintool dialogs)
    [ -z "$list" ] && return 0
    if grep -q '^window #32770 .* Attention\.\.\.$' <<<"$list"; then x key n; else x key Escape; fi
  done
  fail "dialogs stay open: $list"
}
stroke() {  # stroke X1 Y1 X2 Y2: a drag in 12 steps across the canvas
  local i steps=""
  for i in $(seq 1 12); do steps+=" mousemove $(($1 + ($3 - $1) * i / 12)) $(($2 + ($4 - $2) * i / 12)) sleep 0.02"; done
  x mousemove "$1" "$2" mousedown 1 $steps mouseup 1
}
C() { x keydown c; sleep 0.5; x keyup c; }
# use_tools GROUP_BUTTON TOOL...: the group shown, each tool picked and used across the canvas.
use_tools() {
  local group=$1 tool y=100
  shift
  click $(room ${group/,/ })
  for tool in "$@"; do
    click $(room ${tool/,/ })
    sleep 0.3
    close_all
    stroke 200 $y $((SW - 200)) $((y + 400))
    click 300 $((y + 200))
    C
    y=$((y + 60))
    step "tool at $tool"
  done
}

step "room after the splash"
use_tools 25,330 400,572 370,560 326,552 197,545 415,542 240,566 288,563 295,538
# The scissors: a piece cut, stamped twice, dropped with C.
click $(room 235 546)
stroke 400 100 1400 900
x mousemove 900 700; sleep 0.3
x mousedown 1; sleep 0.5; x mouseup 1
x mousemove 1900 900; sleep 0.3
x mousedown 1; sleep 0.5; x mouseup 1
C
step "scissors: a 1000x800 piece stamped twice"
use_tools 29,217 397,561 312,533 239,533 387,533 226,560 311,560
use_tools 78,336 400,566 330,570 230,570 396,540 287,540 201,538
use_tools 77,413 396,560 306,563 227,566 400,538 308,529 221,530
# The books: each picker opened, a stamp chosen and printed, then dropped.
click $(room 80 200)
for book in 232,550 321,551 405,551; do
  click $(room ${book/,/ })
  wait_open 1
  sleep 0.5
  click $(dlg 211 253)
  wait_open 0
  click 700 300; click 900 300
  C
  step "book at $book"
done
click $(room 25 330)
for lid in 493,511 529,508 570,511 531,517 573,520 510,524 552,529 595,529; do click $(room ${lid/,/ }); done
step "the eight cans"
x mousemove $(room 573 520) click --repeat 2 --delay 80 1
wait_open 1; close_all
step "palette from a can's double click"
click $(room 510 570); wait_open 1; close_all
step "palette from the paint tube"
click $(room 70 560); wait_open 1; sleep 0.5
x key Return; wait_open 0
click 600 400
step "text dialog, the text placed"
click $(room 600 590); click 800 500; sleep 0.5
stroke 300 300 900 600
click $(room 600 590); sleep 0.5
step "spyglass in, a stroke, out"
click $(room 136 500); sleep 0.5
step "cleaner bottle"
click $(room 626 590); click $(room 626 590)
click $(room 24 425); sleep 1; close_all
step "printer"
for button in "446 206" "449 290" "447 246"; do   # About, Preferences, Help
  click $(room 156 560); wait_open 1; sleep 0.5
  click $(dlg $button); sleep 1
  close_all
  step "remote, then the button at $button"
done
for key in n o s g a; do   # New (question, pages), Open, Save, Gallery, About
  x mousemove 600 400 key F1; sleep 0.5; x key $key; sleep 1.5
  close_all
  step "command menu: $key"
done
sleep 1
step "the end of the tour"

peak=$(sort -n "$WORK/samples" | tail -1)
hwm=$(status_kb VmHWM)
W=$SW H=$SH cw=$((SW - 166)) ch=$((SH - 112))
echo
echo "screen ${W}x$H, canvas ${cw}x$ch"
echo "peak private bytes over the tour: $peak kB ($(awk -v k="$peak" 'BEGIN{printf "%.1f", k / 1024}') MB), $(wc -l <"$WORK/samples") samples"
echo "peak resident (VmHWM): $hwm kB"
echo
echo "what holds it: private mappings of 1 MB or more (size kB, resident kB), largest first,"
echo "beside the sizes of what the program holds:"
printf '  scene bitmap (24-bit, %dx%d)              %6d kB\n' $W $H $(((W * 3 + 3) / 4 * 4 * H / 1024))
printf '  canvas bitmap, undo copy and spare (24-bit, %dx%d) %6d kB each\n' $cw $ch $(((cw * 3 + 3) / 4 * 4 * ch / 1024))
printf '  a 32-bit block of the window (%dx%d)      %6d kB\n' $W $H $((W * H * 4 / 1024))
echo "  the surfaces the toolbox keeps of disposed bitmaps: at most 32768 kB, none larger than 6075 kB"
echo "  (a 1920x1080 screen's), so never a canvas or scene of this screen; the benchmarks print what"
echo "  they hold at the end of each run (\"surfaces kept for the next bitmaps\")"
awk '/^[0-9a-f]+-[0-9a-f]+ / {name = (NF >= 6 ? $6 : "[anonymous]")}
     /^Size:/ {size = $2} /^Rss:/ {rss = $2}
     /^Anonymous:/ {if ($2 >= 1024) printf "  %-24s size %7d kB  resident %7d kB  anonymous %7d kB\n", name, size, rss, $2}' \
  "/proc/$UNIX_PID/smaps" | sort -k9 -n -r | head -20
echo
echo "private bytes after each step:"
cat "$STEPS"

kill "$SAMPLER" 2>/dev/null || true
wintool close Paint || true
close_all || true
exit_code "$APP_PID" 30 >/dev/null

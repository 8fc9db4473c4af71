#!/usr/bin/env bash
# The gallery on an 800x600 screen, used from outside as a family would: New's coloring pages from
# the Pages folder beside the program (turn a page, choose it: it appears on the canvas), the
# empty-folder text, Save writing Gallery\Tintwell.bmp beside the program, a 24-bit BMP of the
# canvas size, and Save writing a PNG that Pillow reads as the canvas. (The room's command menu comes with the dispatcher; until then a small program of
# the tests runs each command on the room.) Screenshots stay in BUILD/programs/shots.
. "$(dirname "$0")/lib/common.bash"
session 800x600x24
# The check program runs from a folder of its own: its Pages\ and Gallery\ beside it are then not
# those of the test programs in BUILD/tests, whose own tests run meanwhile.
TESTS=$WORK/beside
mkdir -p "$TESTS"
cp "$BUILD/tests/gallery_check.exe" "$TESTS/"
CHECK=$TESTS/gallery_check.exe
SHOTS=$BUILD/programs/shots
mkdir -p "$SHOTS"
cp -r "$ROOT/resources/Pages" "$TESTS/Pages"

# The gallery dialog (408x417) is centred on the 800x600 room.
GX=$(((800 - 408) / 2)) GY=$(((600 - 417) / 2))
click() { timeout 10 xdotool mousemove $((GX + $1)) $((GY + $2)) click 1; }
shot() { timeout 20 import -window root "$SHOTS/$1.png"; }
run_bg() { ( "$WINE" "$CHECK" "$1" </dev/null 2>/dev/null | stdbuf -oL tr -d '\r' >"$WORK/$1.out"; echo $? >"$WORK/$1.rc" ) & }
wait_for() {  # wait_for FILE SECONDS
  local i
  for i in $(seq 1 $(($2 * 10))); do [ -s "$1" ] && return 0; sleep 0.1; done
  return 1
}
wait_dialog() {
  local i
  for i in $(seq 1 100); do [ "$(wintool count '#32770')" = 1 ] && return 0; sleep 0.1; done
  return 1
}

# New's pages: blank.bmp first (its white in the preview); the next arrow shows the second page;
# choosing puts it on the canvas.
preview() { signature $((GX + 64)) $((GY + 44)) 280 217; }
run_bg pages
wait_dialog || fail "the gallery did not open on the pages"
until_eq "the first page (blank) in the preview" "srgb(255,255,255)" pixel $((GX + 204)) $((GY + 150))
shot gallery_pages_first
first_preview=$(preview)
click 335 390
until_ne "the next arrow turned the page" "$first_preview" preview
shot gallery_pages_second
click 180 390
# The chosen page is named on the check's output at once; the room stays up five seconds after it.
within 20 grep -q '^loaded' "$WORK/pages.out" || fail "the pages check named no picture"
# The picture is named after the page, without its folder (the Save As offers a free name for it).
grep -q '^loaded 1 [^\\]*\.bmp$' "$WORK/pages.out" || fail "no page was loaded: $(cat "$WORK/pages.out")"
page=$(sed -n 's/^loaded 1 //p' "$WORK/pages.out")
echo "ok: page $page loaded"
# The canvas (634x488 at (147,16)) shows the page of the Pages folder beside the program pixel for pixel.
canvas_differs() {
  shot page_on_canvas
  convert "$SHOTS/page_on_canvas.png" -crop 634x488+147+16 +repage "$WORK/canvas.png"
  compare -metric AE "$WORK/canvas.png" "$TESTS/Pages/$page" null: 2>&1
}
until_eq "pixels of the canvas that differ from $page" 0 canvas_differs
wait_for "$WORK/pages.rc" 20 || fail "the pages check did not end"
cat "$WORK/pages.out"

# Empty folder: the text, no arrows; Escape ends it.
run_bg empty
wait_dialog || fail "the gallery did not open on the empty folder"
sleep 0.8
shot gallery_empty
timeout 10 xdotool key Escape
wait_for "$WORK/empty.rc" 20 || fail "Escape did not end the empty gallery"
expect_eq "empty gallery after Escape" "$(head -2 "$WORK/empty.out" | tail -1)" "result 0 loaded 0"

# save_as MODE [NAME]: the check's save in MODE; the Save As answered with Return, NAME typed first
# over the name offered when given.
save_as() {
  run_bg "$1"
  wait_dialog || fail "no Save As dialog ($1)"
  sleep 1
  if [ $# -gt 1 ]; then
    timeout 10 xdotool key End shift+Home
    timeout 10 xdotool type --delay 20 "$2"
  fi
  shot "save_as_$1"
  timeout 10 xdotool key Return
  wait_for "$WORK/$1.rc" 20 || fail "the save did not end ($1)"
  cat "$WORK/$1.out"
}

# Save: the Save As dialog opens on the Gallery folder with Tintwell.bmp; Return saves there.
save_as save
saved=$TESTS/Gallery/Tintwell.bmp
[ -f "$saved" ] || fail "Gallery\\Tintwell.bmp was not written beside the program"
expect_eq "saved picture size" "$(identify -format '%w %h' "$saved" 2>/dev/null)" "634 488"
expect_eq "bits per pixel in the file" "$(od -An -tu2 -j28 -N2 "$saved" | tr -d ' ')" 24
expect_eq "top stripe of the saved picture" "$(convert "$saved" -format '%[pixel:p{10,10}]' info:)" "srgb(255,0,0)"

# Save as PNG: a name typed with ".png" over the one offered gives a PNG that Pillow, a reader we
# did not write, reads as exactly the canvas (the canvas as the program's own BMP beside it).
save_as savepng shared.png
png=$TESTS/Gallery/shared.png
[ -f "$png" ] || fail "Gallery\\shared.png was not written"
expect_eq "Pillow's reading of the PNG against the canvas" "$(/usr/bin/python3 - "$png" "$TESTS/Gallery/canvas_truth.bmp" <<'PY'
import sys
from PIL import Image
png, truth = Image.open(sys.argv[1]), Image.open(sys.argv[2]).convert("RGB")
print(png.format, png.mode, png.size, "differing pixels:",
      sum(a != b for a, b in zip(png.convert("RGB").getdata(), truth.getdata())))
PY
)" "PNG RGB (634, 488) differing pixels: 0"

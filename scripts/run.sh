#!/usr/bin/env bash
# Installs what is missing, builds, and starts the 64-bit paint.exe under Wine: on the user's display
# when there is one, else under Xvfb at 800x600, where it takes a screenshot after the splash.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/build.sh mingw64
build=build/mingw64
# A prefix of its own, so that a running test session's desktop size never leaks in.
mkdir -p $build/run
scripts/wine-session prefix $build/run
eval "$(scripts/wine-session env $build/run | grep -v DISPLAY)"
wineserver -p </dev/null >/dev/null 2>&1 || true
if [ -n "${DISPLAY:-}" ] && [ -z "${TINTWELL_HEADLESS:-}" ]; then
  exec "$WINE" $build/paint.exe </dev/null
fi
. scripts/xvfb-lib.sh
xvfb_start 800x600x24
trap 'xvfb_stop' EXIT
"$WINE" $build/paint.exe </dev/null >/dev/null 2>&1 &
app=$!
# The room is up once the splash (seven seconds) has gone: the wall is drawn in the top-left corner
# and the middle of the empty canvas is white.
mkdir -p build/shots
shot=build/shots/paint.png
for _ in $(seq 1 120); do
  sleep 0.5
  import -window root $shot 2>/dev/null || continue
  wall=$(convert $shot -format '%[pixel:p{5,5}]' info:)
  canvas=$(convert $shot -format '%[pixel:p{460,250}]' info:)
  if [ "$wall" != "srgb(0,0,0)" ] && [ "$canvas" = "srgb(255,255,255)" ]; then
    sleep 0.5
    import -window root $shot
    break
  fi
done
echo "paint.exe is running under Xvfb ($DISPLAY); screenshot saved to $root/$shot"
kill "$app" 2>/dev/null || true
wineserver -k </dev/null >/dev/null 2>&1 || true

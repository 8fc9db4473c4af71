#!/usr/bin/env bash
# Builds and runs every benchmark under Wine on a private 1920x1080 screen and prints their figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/build.sh >/dev/null
# A session of its own, so that the Wine desktop takes the size of the benchmark's screen.
mkdir -p build/bench-session
export TINTWELL_SCREEN=1920x1080x24
scripts/wine-session start build/bench-session
trap 'scripts/wine-session stop build/bench-session' EXIT
for exe in build/bench/*.exe; do
  echo "== $(basename "$exe")"
  scripts/wine-exec build/bench-session "$exe" </dev/null
done

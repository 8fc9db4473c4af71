#!/usr/bin/env bash
# Builds and runs every benchmark under Wine and prints their figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/build.sh >/dev/null
scripts/wine-session start build
trap 'scripts/wine-session stop build' EXIT
for exe in build/bench/*.exe; do
  echo "== $(basename "$exe")"
  scripts/wine-exec build "$exe" </dev/null
done

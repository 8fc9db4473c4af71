#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine in the build's private
# prefix with its own Xvfb. No display and no standard input needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/build.sh
scripts/wine-session start build
trap 'scripts/wine-session stop build' EXIT
ctest --preset mingw

#!/usr/bin/env bash
# Installs what is missing, then configures and builds the Windows targets:
#   build.sh            both architectures (64-bit in build/mingw64, 32-bit in build/mingw)
#   build.sh mingw64    only one of them (a preset name)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(mingw64 mingw)
for preset in "${presets[@]}"; do
  echo "== building $preset" >&2
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

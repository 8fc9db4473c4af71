#!/usr/bin/env bash
# Installs what is missing, then configures and builds the 32-bit Windows targets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw

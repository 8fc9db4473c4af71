#!/usr/bin/env bash
# Installs the Debian packages the build, the programs and the tests need, for both architectures.
# Safe to run again: it installs only what is missing.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

PKGS=(wine wine64 wine32:i386 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix cmake xvfb xauth wixl
      xdotool imagemagick googletest fonts-liberation fonts-liberation2 fonts-wine x11-utils python3
      python3-pil python3-numpy cups cups-client printer-driver-cups-pdf libcups2 libcups2:i386
      poppler-utils gcc libx11-dev libxtst-dev)

missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
echo "Installing: ${missing[*]}" >&2
$SUDO apt-get update -qq </dev/null
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null >/dev/null

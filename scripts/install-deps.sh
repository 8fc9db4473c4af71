#!/usr/bin/env bash
# Installs the Debian packages the build, the programs and the tests need, for both architectures.
# Safe to run again: it installs only what is missing.
#
# The 32-bit Wine is wanted, not needed: without it the 32-bit build still compiles and only its
# suite is skipped (test.sh says why). A mirror that is halfway through a sync can leave an index
# out (apt-get update then fails for that index alone); the packages it holds are then tried with
# the indexes there are, and the 32-bit ones may be left out with one line saying so.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

PKGS=(wine wine64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix cmake xvfb xauth wixl
      xdotool imagemagick googletest fonts-liberation fonts-liberation2 fonts-wine x11-utils python3
      python3-pil python3-numpy cups cups-client printer-driver-cups-pdf libcups2
      poppler-utils gcc libx11-dev libxtst-dev gdb)
WANTED_I386=(wine32:i386 libcups2:i386)

missing_of() {  # missing_of PKG...: the ones not installed
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}
mapfile -t missing < <(missing_of "${PKGS[@]}")
mapfile -t missing_i386 < <(missing_of "${WANTED_I386[@]}")
if [ ${#missing[@]} -eq 0 ] && [ ${#missing_i386[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
echo "Installing: ${missing[*]} ${missing_i386[*]}" >&2
if ! err=$($SUDO apt-get update -qq </dev/null 2>&1 >/dev/null); then
  echo "apt-get update left an index out, going on with the others: $(grep -m1 '^E:' <<<"$err")" >&2
fi
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null >/dev/null
fi
if [ ${#missing_i386[@]} -gt 0 ] &&
   ! $SUDO apt-get install -y -qq --no-install-recommends "${missing_i386[@]}" </dev/null >/dev/null 2>&1; then
  echo "32-bit Wine not installed (${missing_i386[*]} cannot be installed from these indexes): the 32-bit suite will be skipped" >&2
fi

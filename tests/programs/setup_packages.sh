#!/usr/bin/env bash
# The Windows Installer package of the build's architecture, run through Wine's own msiexec in one
# fresh prefix: refused over an install made by setup.exe (its launch condition); installed with
# /i /qn (files, Start-menu group, registry); setup.exe refusing to install or uninstall over it;
# replaced by the package one build number higher; removed with /x /qn, the Gallery kept.
. "$(dirname "$0")/lib/common.bash"
. "$(dirname "$0")/lib/setup.bash"
trap cleanup EXIT

arch=$(cat "$BUILD/wine-arch")
n=$(cat "$BUILD/tintwell-build-number")
V=1.0.$n
NEXT=1.0.$((n + 1))
[ "$arch" = win64 ] && MSI=x64 || MSI=x86
cmake -DSRC="$ROOT" -DOUT="$WORK/dist" -DPAINT="$PAINT" -DSETUP="$SETUP" -DARCH="$arch" -DVERSION="$V" \
  -P "$ROOT/cmake/dist.cmake" >/dev/null || fail "the distribution folder could not be made"
cmake -DSRC="$ROOT" -DOUT="$WORK/next" -DPAINT="$PAINT" -DSETUP="$SETUP" -DARCH="$arch" -DVERSION="$NEXT" \
  -P "$ROOT/cmake/dist.cmake" >/dev/null || fail "the next distribution folder could not be made"
DIST=$WORK/dist/Tintwell
PACKAGE=$(win_path "$DIST/Tintwell-$V-$MSI.msi")
PACKAGE_NEXT=$(win_path "$WORK/next/Tintwell/Tintwell-$NEXT-$MSI.msi")
[ -f "$DIST/Tintwell-$V-$MSI.msi" ] || fail "no package Tintwell-$V-$MSI.msi in the distribution folder"

fresh_prefix setup_packages-prefix
DEST="$C/Program Files/Marrowby/Tintwell"
[ "$MSI" = x86 ] && [ -d "$C/Program Files (x86)" ] && DEST="$C/Program Files (x86)/Marrowby/Tintwell"
USERINFO='HKLM\Software\Marrowby\Tintwell\UserInfo'
group_folder() {
  find "$C/users" "$C/ProgramData" -type d -path '*Start Menu/Programs/Tintwell' 2>/dev/null | head -1
}
msiexec() { run_code 300 "msiexec $*"; }
cd "$WORK"

# Over an install made by setup.exe the package refuses through its launch condition.
expect_eq "setup.exe /quiet" "$(run_code 180 "$(win_path "$DIST/setup.exe") /quiet")" 0
refused=$(msiexec /i "$PACKAGE" /qn)
if [ "$refused" = 1603 ]; then
  echo "ok: the package's launch condition refuses an install made by setup.exe (1603)"
else
  fail "msiexec /i over a setup.exe install gave $refused, not 1603"
fi
expect_eq "setup.exe /uninstall /quiet" "$(run_code 180 "$(win_path "$DIST/setup.exe") /uninstall /quiet")" 0
expect_eq "entries after setup.exe's uninstall" "$(entry_versions)" ""

# The package.
expect_eq "msiexec /i /qn" "$(msiexec /i "$PACKAGE" /qn)" 0
for f in paint.exe Help_twk.html; do
  [ -f "$DEST/$f" ] || fail "the package did not install $f"
done
expect_eq "coloring pages" "$(ls "$DEST/Pages" | wc -l)" "$(ls "$DIST/Pages" | wc -l)"
[ ! -e "$DEST/Tintwell.admx" ] && [ ! -e "$DEST/en-US" ] || fail "the package installed the policy template"
expect_eq "help pictures" "$(cd "$DIST" && find Help_twk_files -type f | sort | tr '\n' ' ')" \
  "$(cd "$DEST" && find Help_twk_files -type f | sort | tr '\n' ' ')"
cmp -s "$DIST/paint.exe" "$DEST/paint.exe" || fail "paint.exe differs from the distribution's"
[ ! -e "$DEST/uninstall.exe" ] && [ ! -e "$DEST/tintwell.inf" ] || fail "the package installed setup.exe's files"
expect_eq "InstalledBy" "$(reg_value "$USERINFO" InstalledBy)" msi
group=$(group_folder)
[ -n "$group" ] || fail "no Tintwell group in the Start menu"
expect_eq "items of the group" "$(ls "$group" | sort | tr '\n' ' ')" "Help.lnk Tintwell.lnk "
expect_eq "entries" "$(entry_versions)" "$V "

# setup.exe leaves a package install to the package.
expect_eq "setup.exe /quiet over the package" "$(run_code 180 "$(win_path "$DIST/setup.exe") /quiet /log=refused.log")" 1603
grep -qF "Tintwell was installed with its Windows Installer package; use the package to upgrade or remove it." \
  refused.log || fail "the log does not say why Setup refused"
expect_eq "setup.exe /uninstall /quiet over the package" \
  "$(run_code 180 "$(win_path "$DIST/setup.exe") /uninstall /quiet")" 1603
[ -f "$DEST/paint.exe" ] || fail "setup.exe touched the package's files"

# The package one build number higher replaces it; the child's picture stays.
mkdir -p "$DEST/Gallery"
cp "$DIST/Pages/cat.bmp" "$DEST/Gallery/my picture.bmp"
expect_eq "msiexec /i of the next package" "$(msiexec /i "$PACKAGE_NEXT" /qn)" 0
expect_eq "entries after the upgrade" "$(entry_versions)" "$NEXT "

# Removed: nothing of ours but the Gallery with its picture.
expect_eq "msiexec /x /qn" "$(msiexec /x "$PACKAGE_NEXT" /qn)" 0
expect_eq "files left" "$(cd "$(dirname "$DEST")" && find . | sort | tr '\n' ' ')" \
  ". ./Tintwell ./Tintwell/Gallery ./Tintwell/Gallery/my picture.bmp "
expect_eq "Start-menu folder after /x" "$(group_folder)" ""
expect_eq "entries after /x" "$(entry_versions)" ""
expect_eq "product key after /x" "$(reg_key 'HKLM\Software\Marrowby\Tintwell')" no
echo "ok: the package in ${SECONDS}s"

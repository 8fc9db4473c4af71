# Sourced by every script that runs a Windows program: the one place that decides which Wine
# loader runs which build.
#   tw_arch DIR        win64 or win32: the architecture of the build folder DIR lies in (the file
#                      wine-arch that CMake writes into DIR or a folder above it)
#   tw_loader ARCH     the Wine loader for that architecture (64-bit programs run under the 64-bit
#                      loader, 32-bit ones under the 32-bit loader; Debian's /usr/bin/wine wrapper
#                      would always pick the 32-bit one)
#   tw_win32_runs      succeeds when this kernel runs 32-bit programs, found out by starting the
#                      32-bit loader; TINTWELL_NO_WIN32=1 makes it act as if it could not
#   tw_win32_why       one line saying why 32-bit programs cannot run here

tw_arch() {
  local dir
  dir=$(cd "$1" && pwd) || return 1
  while [ "$dir" != / ]; do
    if [ -f "$dir/wine-arch" ]; then
      cat "$dir/wine-arch"
      return 0
    fi
    dir=$(dirname "$dir")
  done
  echo "tw_arch: $1 is not inside a configured build folder" >&2
  return 1
}

tw_loader() {
  case $1 in
    win64) echo /usr/lib/wine/wine64 ;;
    win32) echo /usr/lib/wine/wine ;;
    *) echo "tw_loader: unknown architecture '$1'" >&2; return 1 ;;
  esac
}

tw_win32_runs() {
  [ -z "${TINTWELL_NO_WIN32:-}" ] || return 1
  [ -x /usr/lib/wine/wine ] || return 1
  /usr/lib/wine/wine --version </dev/null >/dev/null 2>&1
}

tw_win32_why() {
  if [ -n "${TINTWELL_NO_WIN32:-}" ]; then
    echo "TINTWELL_NO_WIN32 is set"
  elif [ ! -x /usr/lib/wine/wine ]; then
    echo "Wine's 32-bit loader /usr/lib/wine/wine is not installed"
  else
    local out
    out=$(/usr/lib/wine/wine --version 2>&1 </dev/null | head -1)
    echo "this kernel does not run 32-bit programs (/usr/lib/wine/wine: ${out:-no answer})"
  fi
}

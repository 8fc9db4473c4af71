# Sourced by the installer's program checks after lib/common.bash: a fresh Wine prefix inside the
# build folder, registry values, Windows paths and whole exit codes.

# fresh_prefix NAME: a new prefix BUILD/programs/NAME/wineprefix with nothing run in it yet, a
# private screen, and its removal when the check ends. Sets FRESH, C (its drive C:) and the Wine
# environment.
fresh_prefix() {
  FRESH=$BUILD/programs/$1
  rm -rf "$FRESH"
  mkdir -p "$FRESH"
  cp "$BUILD/wine-arch" "$FRESH/"
  # (Under errexit, a failing "(exit $rc)" here would end the trap before the cleanup, leaving the
  # check's Xvfb running after a failure.)
  trap 'rc=$?; timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true; rm -rf "$FRESH"; cleanup $rc' EXIT
  xvfb_start 800x600x24 || fail "no Xvfb"
  local display=$DISPLAY
  timeout 180 "$ROOT/scripts/wine-session" prefix "$FRESH" || fail "no prefix"
  eval "$("$ROOT/scripts/wine-session" env "$FRESH")"
  export DISPLAY=$display
  timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
  timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
  desktop_up
  C=$WINEPREFIX/drive_c
  echo "at ${SECONDS}s: fresh prefix $FRESH/wineprefix ready"
}

# reg_value KEY NAME: the data of a registry value, or nothing; when there is nothing, what reg
# said and its exit code go to the check's output (a value found missing once, right after
# another of the same key was read, left nothing to tell a missing value from a failed query).
reg_value() {
  local said out rc=0
  said=$(timeout 30 "$WINE" reg query "$1" /v "$2" </dev/null 2>"$WORK/reg.err") || rc=$?
  out=$(printf '%s\n' "$said" | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p")
  if [ -z "$out" ]; then
    # What reg said on each output (Wine's reg tells a missing value on the standard output), and
    # what the key holds now.
    echo "   (reg query $1 /v $2: exit $rc, output: $(printf '%s' "$said" | tr -d '\r' | head -c 200 | tr '\n' ' '), error output: $(tr -d '\r' <"$WORK/reg.err" | head -c 200 | tr '\n' ' '))" >&2
    echo "   (the key now: $(timeout 30 "$WINE" reg query "$1" </dev/null 2>&1 | tr -d '\r' | head -c 600 | tr '\n' ' '))" >&2
  fi
  printf '%s' "$out"
}

# reg_key KEY: "yes" when the key exists.
reg_key() {
  if timeout 30 "$WINE" reg query "$1" </dev/null >/dev/null 2>&1; then echo yes; else echo no; fi
}

# entry_versions: the DisplayVersion of every installed-programs entry named Tintwell.
entry_versions() {
  timeout 30 "$WINE" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s </dev/null 2>/dev/null |
    tr -d '\r' | awk '/^HKEY/{name=""; version=""} /DisplayName/{name=$NF} /DisplayVersion/{version=$NF}
      /^$/{if (name == "Tintwell") print version; name=""}' | sort | tr '\n' ' '
}

# win_path PATH: the Windows name of a Unix path (Wine's drive Z: is the root).
win_path() { echo "Z:${1//\//\\}"; }

# run_code SECONDS COMMAND: runs a Windows command line from the current folder and prints its
# whole exit code (a Unix exit status keeps only its low 8 bits: 1603 would read 67).
run_code() {
  local out
  out=$(wintool run "$@")
  sed -n 's/^exit=//p' <<<"$out"
}

# crlf_only FILE: "yes" when every line of the file ends in CR LF.
crlf_only() {
  if [ -s "$1" ] && ! grep -q $'[^\r]$' "$1" && ! grep -q '^$' "$1" && [ "$(tail -c1 "$1" | od -An -c | tr -d ' ')" = '\n' ]; then
    echo yes
  else
    echo no
  fi
}

# x_wait NAME SECONDS: waits for an X window of that name.
x_wait() {
  local i
  for i in $(seq 1 $(($2 * 10))); do
    [ -n "$(x_windows "$1")" ] && return 0
    sleep 0.1
  done
  return 1
}

# start_code NAME COMMAND: run_code in the background (for programs that show boxes meanwhile);
# wait_code NAME prints its exit code.
start_code() {
  local name=$1
  shift
  ( run_code 120 "$@" >"$WORK/code.$name" ) &
}
wait_code() {
  local i
  for i in $(seq 1 1200); do
    [ -s "$WORK/code.$1" ] && break
    sleep 0.1
  done
  cat "$WORK/code.$1" 2>/dev/null || echo none
}

# Sourced by scripts that need a screen of their own:
#   xvfb_start 800x600x24   starts Xvfb on a free display and exports DISPLAY
#   xvfb_stop               stops it
xvfb_start() {
  local geometry=$1 n
  for n in $(seq 200 299); do
    { [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; } && continue
    Xvfb ":$n" -screen 0 "$geometry" -nolisten tcp </dev/null >/dev/null 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.05
    done
    if ! kill -0 "$XVFB_PID" 2>/dev/null; then
      continue
    fi
    export DISPLAY=":$n"
    return 0
  done
  echo "xvfb_start: no free display" >&2
  return 1
}

xvfb_stop() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
  return 0
}

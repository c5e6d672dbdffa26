# A private X server for scripts that show the real window. Sourced, not run.
#   start_xvfb [Xvfb options]   starts Xvfb on a display number no other server
#                               holds, exports DISPLAY, sets XVFB_PID; fails
#                               when the server does not answer
#   find_window TITLE           prints the visible window of exactly that
#                               title, waiting up to 30 s for it

start_xvfb() {
  local n=$(( 100 + RANDOM % 800 ))
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$(( n + 1 )); done
  Xvfb ":$n" -screen 0 "${XVFB_SCREEN:-800x600x24}" -noreset -nolisten tcp "$@" >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=:$n
  local _
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on $DISPLAY" >&2
  return 1
}

find_window() {
  local win= _
  for _ in $(seq 300); do
    win=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    [ -n "$win" ] && { echo "$win"; return 0; }
    sleep 0.1
  done
  return 1
}

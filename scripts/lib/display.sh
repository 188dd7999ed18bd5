# One virtual X display for a whole run: StartDisplay reuses $DISPLAY when it
# answers, otherwise starts Xvfb on a free number; StopDisplay stops what it started.
started_xvfb=""

StartDisplay() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    started_xvfb=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 100); do
      xdpyinfo >/dev/null 2>&1 && return
      sleep 0.1
    done
    kill "$started_xvfb" 2>/dev/null
  done
  echo "could not start Xvfb" >&2
  return 1
}

StopDisplay() {
  [ -n "$started_xvfb" ] && kill "$started_xvfb" 2>/dev/null
  started_xvfb=""
}

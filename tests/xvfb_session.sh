# The setting of the tests that drive the real window, sourced by each of them:
#   need TOOL...          skips the test (status 77) when a tool is missing
#   start_display WxH     an Xvfb display of that size with openbox on it, as DISPLAY
#   find_window           prints the game window's id once it is there
#   close_window          closes it as its close button does; fails (through the test's own
#                         fail) unless the game ($kpid) then ends with status 0
# It makes the folder $work, and at exit removes it and ends the game ($kpid, even when
# stopped), openbox and Xvfb.

need() {
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
  done
}

work=$(mktemp -d)
cleanup() {
  [ -n "${kpid:-}" ] && { kill -CONT "$kpid"; kill "$kpid"; } 2>/dev/null
  [ -n "${wmpid:-}" ] && kill "$wmpid" 2>/dev/null
  [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

start_display() {
  local display=:$(( 90 + RANDOM % 500 ))
  Xvfb "$display" -screen 0 "$1x24" -nolisten tcp >/dev/null 2>&1 &
  xpid=$!
  export DISPLAY=$display
  for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
  openbox >/dev/null 2>&1 &
  wmpid=$!
  sleep 1
}

find_window() {
  local id
  for _ in $(seq 200); do
    id=$(xdotool search --name '^KIV system$' 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

close_window() {
  wmctrl -c 'KIV system' || fail "wmctrl could not close the window"
  for _ in $(seq 100); do kill -0 "$kpid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$kpid" 2>/dev/null && fail "the game did not close"
  local status
  wait "$kpid"
  status=$?
  kpid=
  [ "$status" -eq 0 ] || fail "exit status $status: $(cat "$work/stderr.txt")"
}

#!/usr/bin/env bash
# The real window under Xvfb with a window manager: caption and size, F12, a click, a
# screenshot, and a clean close from the window manager.
# usage: xvfb_window_test.sh KIV_BINARY GAME_DIR
set -u
kiv=$1
game=$2
for tool in Xvfb openbox wmctrl xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
[ -f "$game/Kiv.txt" ] || { echo "skipped: no game in $game"; exit 77; }

work=$(mktemp -d)
display=:$(( 90 + RANDOM % 500 ))
cleanup() {
  [ -n "${kpid:-}" ] && kill "$kpid" 2>/dev/null
  [ -n "${wmpid:-}" ] && kill "$wmpid" 2>/dev/null
  [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xpid=$!
export DISPLAY=$display
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wmpid=$!
sleep 1

cp -r "$game/." "$work/"
rm -f "$work/Kiv.ini"
SDL_AUDIODRIVER=dummy "$kiv" --data "$work" --trace "$work/trace.jsonl" 2>"$work/stderr.txt" &
kpid=$!

find_window() {
  for _ in $(seq 100); do
    id=$(xdotool search --name '^KIV system$' 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
size_of() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

win=$(find_window) || fail "no window captioned 'KIV system'"
sleep 1
[ "$(size_of "$win")" = 640x480 ] || fail "client area $(size_of "$win"), expected 640x480"

xdotool windowfocus --sync "$win" 2>/dev/null
xdotool key --window "$win" F12
sleep 1
win=$(find_window) || fail "window gone after F12"
[ "$(size_of "$win")" = 580x380 ] || fail "client area $(size_of "$win") after F12, expected 580x380"
xdotool key --window "$win" F12
sleep 1
xdotool mousemove --window "$win" 300 200 click 1
sleep 1
kill -0 "$kpid" 2>/dev/null || fail "the game ended after a click: $(cat "$work/stderr.txt")"

wmctrl -c 'KIV system' || fail "wmctrl could not close the window"
for _ in $(seq 100); do kill -0 "$kpid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$kpid" 2>/dev/null && fail "the game did not close"
wait "$kpid"
status=$?
kpid=
[ "$status" -eq 0 ] || fail "exit status $status: $(cat "$work/stderr.txt")"
grep -q '"ev":"exit","status":0' "$work/trace.jsonl" || fail "no exit event in the trace"
grep -q '"w":580,"h":380' "$work/trace.jsonl" || fail "F12 did not reach the game"
echo "passed"

#!/usr/bin/env bash
# The real window under Xvfb with a window manager: caption and size, F12, a click, a
# screenshot, and a clean close from the window manager.
# usage: xvfb_window_test.sh KIV_BINARY GAME_DIR
set -u
kiv=$1
game=$2
. "$(dirname "$0")/xvfb_session.sh"
need Xvfb openbox wmctrl xdotool xwininfo
[ -f "$game/Kiv.txt" ] || { echo "skipped: no game in $game"; exit 77; }

fail() { echo "FAIL: $*"; exit 1; }

start_display 1024x768

cp -r "$game/." "$work/"
rm -f "$work/Kiv.ini"
SDL_AUDIODRIVER=dummy "$kiv" --data "$work" --trace "$work/trace.jsonl" 2>"$work/stderr.txt" &
kpid=$!

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

close_window
grep -q '"ev":"exit","status":0' "$work/trace.jsonl" || fail "no exit event in the trace"
grep -q '"w":580,"h":380' "$work/trace.jsonl" || fail "F12 did not reach the game"
echo "passed"

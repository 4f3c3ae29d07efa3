#!/usr/bin/env bash
# A drag in the real window under Xvfb: into stage 1 of the bundled game, ink from the refill
# spot, then a press that leaves the window on both sides and is released outside it. The
# release must reach the game (the pointer comes back) and the mouse, moved inside again, must
# erase nothing.
# usage: xvfb_drag_test.sh KIV_BINARY GAME_DIR
set -u
kiv=$1
game=$2
. "$(dirname "$0")/xvfb_session.sh"
need Xvfb openbox wmctrl xdotool xwininfo
[ -f "$game/Kiv.txt" ] || { echo "skipped: no game in $game"; exit 77; }

fail() {
  echo "FAIL: $*"
  [ -f "$work/trace.jsonl" ] && grep -v '"ev":"frame"\|"ev":"present"' "$work/trace.jsonl" | tail -n 30
  exit 1
}

start_display 1024x768

cp -r "$game/." "$work/"
printf '[Kiv]\r\nStage=1\r\n' >"$work/Kiv.ini"
trace=$work/trace.jsonl
SDL_AUDIODRIVER=dummy "$kiv" --data "$work" --trace "$trace" 2>"$work/stderr.txt" &
kpid=$!

win=
for _ in $(seq 100); do
  win=$(xdotool search --onlyvisible --name '^KIV system$' 2>/dev/null | head -n 1)
  [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || fail "no window captioned 'KIV system'"
xdotool windowfocus --sync "$win" 2>/dev/null

# Waits (up to 60 s) until a frame of scene $1 runs at step $2.
await_step() {
  for _ in $(seq 600); do
    grep -q "\"scene\":$1,\"sc\":\[-\?[0-9]*,$2," "$trace" && return 0
    kill -0 "$kpid" 2>/dev/null || fail "the game ended: $(cat "$work/stderr.txt")"
    sleep 0.1
  done
  fail "scene $1 never reached step $2"
}
click_at() { xdotool mousemove --window "$win" "$1" "$2" click 1; }

await_step 0 0                   # the opening runs (the trace is written in blocks)
click_at 320 240
await_step 1 12
click_at 311 180                 # stage 1, chosen ...
await_step 1 14
click_at 311 180                 # ... and confirmed
await_step 2 4                   # the introduction waits for a click
click_at 320 240
await_step 2 50
click_at 47 333                  # the refill spot (its hit point is the pointer + (9, 7))
sleep 0.5
xdotool mousemove --window "$win" 300 300 mousedown 1
sleep 0.5
xdotool mousemove 2 2            # out over the top-left of the screen ...
sleep 0.5
xdotool mousemove 1020 765       # ... and its bottom-right
sleep 0.5
xdotool mouseup 1                # released outside the window
sleep 0.5
xdotool mousemove --window "$win" 350 250
sleep 0.3
xdotool mousemove --window "$win" 300 200
sleep 0.5

close_window

# From the refill on: C<id> for a pointer change, S for a stroke's sound. The press hides the
# pointer, the drag erases, the release outside brings the pointer back, and nothing is erased
# after it.
events=$(sed -n 's/.*"ev":"cursor","id":\(-\?[0-9]*\)}.*/C\1/p; s/.*"ev":"effect","slot":[01],.*/S/p' "$trace" |
  tr '\n' ' ' | sed 's/^.*C1 C2 /C2 /')
echo "$events" | grep -Eq '^C2 C-1 (S )+C2 (C[0-9]+ )*$' || fail "pointer and strokes after the refill: $events"
echo "passed"

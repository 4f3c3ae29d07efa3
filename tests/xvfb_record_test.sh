#!/usr/bin/env bash
# A run recorded in the real window under Xvfb (--record) and replayed headless: the replay has
# the same frames (scene and scene counters), stage results, spoken lines and records as the
# window had. The first run plays into stage 1, rubs, pauses, ends the stage and is ended by
# SIGTERM (taken as a close); the second is killed in the middle of a stroke and replays up to
# where it was killed.
# usage: xvfb_record_test.sh KIV_BINARY GAME_DIR
set -u
kiv=$1
game=$2
. "$(dirname "$0")/xvfb_session.sh"
need Xvfb openbox wmctrl xdotool xwininfo
[ -f "$game/Kiv.txt" ] || { echo "skipped: no game in $game"; exit 77; }

fail() {
  echo "FAIL: $*"
  [ -f "$work/run.script" ] && head -n 5 "$work/run.script" && echo ... && tail -n 5 "$work/run.script"
  exit 1
}

start_display 1024x768

# Two copies of the game with the same records: one for the window, one for the replay.
mkdir "$work/window" "$work/replay"
for d in window replay; do
  for f in "$game"/*; do
    case "${f##*/}" in kiv | Kiv.ini) ;; *) cp "$f" "$work/$d/" ;; esac
  done
  printf '[Kiv]\r\nStage=1\r\nMyName=Tester\r\n' >"$work/$d/Kiv.ini"
done

trace=$work/window.jsonl
start_game() {  # start_game RECORD_FILE
  SDL_AUDIODRIVER=dummy "$kiv" --data "$work/window" --trace "$trace" --record "$1" 2>"$work/stderr.txt" &
  kpid=$!
  win=$(find_window) || fail "no window captioned 'KIV system'"
  xdotool windowfocus --sync "$win" 2>/dev/null
}

# Waits (up to 60 s) until a frame of scene $1 runs at step $2.
await_step() {
  for _ in $(seq 600); do
    grep -q "\"scene\":$1,\"sc\":\[-\?[0-9]*,$2," "$trace" && return 0
    kill -0 "$kpid" 2>/dev/null || fail "the game ended: $(cat "$work/stderr.txt")"
    sleep 0.1
  done
  fail "scene $1 never reached step $2"
}
click_at() { xdotool mousemove --window "$win" "$1" "$2" click "${3:-1}"; }
into_stage_one() {
  await_step 0 0
  click_at 320 240
  await_step 1 12
  click_at 311 180                 # stage 1, chosen ...
  await_step 1 14
  click_at 311 180                 # ... and confirmed
  await_step 2 4                   # the introduction waits for a click
  click_at 320 240
  await_step 2 50
  click_at 47 333                  # ink from the refill spot
  sleep 0.3
  xdotool mousemove --window "$win" 380 230 mousedown 1
  for x in 390 400 410 420 430 440; do xdotool mousemove --window "$win" "$x" 260; sleep 0.05; done
  xdotool key --window "$win" shift+F11 2>/dev/null
  for x in 430 420 410; do xdotool mousemove --window "$win" "$x" 300; sleep 0.05; done
}

# The game's events that a replay must give again: every frame with its scene and counters, the
# stages left, the lines spoken, the sounds, the clock switched; without the clock's time.
events() {
  grep -E '"ev":"(frame|stage|speech|voice|effect|clock)"' "$1" | sed 's/^{"t":[0-9]*,//'
}

# 1. A whole run, ended by SIGTERM.
start_game "$work/run.script"
into_stage_one
xdotool mouseup 1
sleep 0.3
click_at 320 240 3               # a right click pauses ...
await_step 2 84
click_at 320 240                 # ... a left click at the prompt ends the stage ...
await_step 2 98
click_at 320 240                 # ... and one more leaves it
for _ in $(seq 300); do grep -q '"ev":"stage"' "$trace" && break; sleep 0.1; done
grep -q '"ev":"stage"' "$trace" || fail "the stage did not end"
sleep 1
kill -TERM "$kpid"
for _ in $(seq 100); do kill -0 "$kpid" 2>/dev/null || break; sleep 0.1; done
wait "$kpid"
status=$?
kpid=
[ "$status" -eq 0 ] || fail "SIGTERM: exit status $status, not 0 as for a close: $(cat "$work/stderr.txt")"

head -n 1 "$work/run.script" | grep -Eq '^seed [0-9]+$' || fail "the record does not start with its seed"
tail -n 1 "$work/run.script" | grep -qx 'close' || fail "the record does not end with the close"
grep -q '^press .* shift\|^move .* shift' "$work/run.script" && fail "Shift was never held, yet recorded"
SDL_AUDIODRIVER=dummy "$kiv" --headless --data "$work/replay" --script "$work/run.script" \
  --trace "$work/replay.jsonl" 2>"$work/replay-stderr.txt"
status=$?
[ "$status" -eq 0 ] || fail "the replay ended with status $status: $(cat "$work/replay-stderr.txt")"

events "$trace" >"$work/window.events"
events "$work/replay.jsonl" >"$work/replay.events"
grep -q '"ev":"stage"' "$work/replay.events" || fail "the replay left no stage"
grep -q '"ev":"speech"' "$work/replay.events" || fail "the replay spoke no line"
if ! cmp -s "$work/window.events" "$work/replay.events"; then
  diff "$work/window.events" "$work/replay.events" | head -n 10
  fail "the replay's game events differ from the window's"
fi
cmp -s "$work/window/Kiv.ini" "$work/replay/Kiv.ini" || fail "the records differ: $(cat "$work/window/Kiv.ini")"

# 2. Killed in the middle of a stroke: the record replays up to where the game was.
printf '[Kiv]\r\nStage=1\r\nMyName=Tester\r\n' >"$work/window/Kiv.ini"
rm -f "$trace"
start_game "$work/killed.script"
into_stage_one
sleep 1
kill -KILL "$kpid"
wait "$kpid" 2>/dev/null
kpid=
SDL_AUDIODRIVER=dummy "$kiv" --headless --data "$work/replay" --script "$work/killed.script" \
  --trace "$work/killed.jsonl" 2>"$work/replay-stderr.txt" || fail "the replay of the killed run failed: $(cat "$work/replay-stderr.txt")"
events "$trace" | grep '"ev":"frame"' >"$work/window.events"
events "$work/killed.jsonl" | grep '"ev":"frame"' >"$work/replay.events"
window_frames=$(wc -l <"$work/window.events")
replay_frames=$(wc -l <"$work/replay.events")
# The kill may fall between a frame and the line that counts it.
[ "$replay_frames" -ge $((window_frames - 1)) ] && [ "$replay_frames" -le "$window_frames" ] ||
  fail "the killed run ran $window_frames frames, its replay $replay_frames"
head -n "$replay_frames" "$work/window.events" | cmp -s - "$work/replay.events" ||
  fail "the replay of the killed run differs from the window's frames"
echo "passed: $(grep -c . "$work/run.script") lines recorded, $(wc -l <"$work/replay.events") frames replayed after a kill"

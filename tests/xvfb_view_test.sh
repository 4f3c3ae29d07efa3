#!/usr/bin/env bash
# What the real window shows under Xvfb, against the headless run of the same seed: the same
# pixels at scale 1, the same pixels enlarged at --scale 2 and in full screen (centred on black);
# the window is sent exactly the rectangles the game presents; a press on the black border of
# the full screen does nothing, a press on the picture reaches the game.
# No timing is asserted: the game is stopped (SIGSTOP) while its window is photographed, and
# the frame it had shown is read from its trace.
# usage: xvfb_view_test.sh KIV_BINARY GAME_DIR
set -u
kiv=$1
game=$2
. "$(dirname "$0")/xvfb_session.sh"
need Xvfb openbox xdotool import convert cmp
[ -f "$game/Kiv.txt" ] || { echo "skipped: no game in $game"; exit 77; }

fail() { echo "FAIL: $*"; exit 1; }

start_display 2048x1536
cp -r "$game/." "$work/game/" 2>/dev/null || { mkdir -p "$work/game" && cp -r "$game/." "$work/game/"; }
rm -f "$work/game/Kiv.ini"

seed=11
# The frame number of the trace's last update of the window.
last_update_frame() { grep '"ev":"update"' "$1" | tail -n 1 | sed 's/.*"frame":\([0-9]*\),.*/\1/'; }
count_updates() { grep -c '"ev":"update"' "$1"; }

# Starts the game in a window; waits until it has updated the window `updates` times.
start() {
  local name=$1 updates=$2
  shift 2
  trace="$work/$name.jsonl"
  SDL_AUDIODRIVER=dummy "$kiv" --data "$work/game" --seed "$seed" --trace "$trace" "$@" 2>"$work/$name.err" &
  kpid=$!
  win=$(find_window) || fail "$name: no window"
  for _ in $(seq 600); do
    [ "$(count_updates "$trace" 2>/dev/null || echo 0)" -ge "$updates" ] && return 0
    kill -0 "$kpid" 2>/dev/null || fail "$name: the game ended: $(cat "$work/$name.err")"
    sleep 0.1
  done
  fail "$name: the window was not updated $updates times"
}
stop() { kill -CONT "$kpid" 2>/dev/null; kill "$kpid" 2>/dev/null; wait "$kpid" 2>/dev/null; kpid=; }

# The headless picture after `frames` frames, enlarged `scale` times, as raw RGB.
headless_rgb() {
  local frames=$1 scale=$2 out=$3
  printf 'frames %d\nscreenshot %s\n' "$frames" "$work/h.bmp" >"$work/h.txt"
  "$kiv" --headless --data "$work/game" --seed "$seed" --script "$work/h.txt" >/dev/null 2>&1 ||
    fail "the headless run failed"
  convert "$work/h.bmp" -sample "$((scale * 100))%" -depth 8 "rgb:$out"
}

# Photographs the stopped window (or a part of the screen) and compares it with the headless
# picture of the frame it last showed (or of the next one, had the trace line not yet been
# written when the game stopped).
compare_shot() {
  local name=$1 scale=$2 geometry=${3:-}
  kill -STOP "$kpid"
  sleep 0.3
  local k
  k=$(last_update_frame "$trace")
  [ -n "$k" ] || fail "$name: no update in the trace"
  if [ -n "$geometry" ]; then
    import -window root -crop "$geometry" -depth 8 "rgb:$work/real.rgb"
  else
    import -window "$win" -depth 8 "rgb:$work/real.rgb"
  fi
  for f in "$k" $((k + 1)); do
    headless_rgb "$f" "$scale" "$work/expected.rgb"
    cmp -s "$work/real.rgb" "$work/expected.rgb" && { kill -CONT "$kpid"; return 0; }
  done
  fail "$name: the window's pixels differ from the headless picture of frame $k (scale $scale)"
}

# Every update sends exactly the rectangles the game presented since the one before, clipped
# to the client area and placed by the view; whole-window updates (a new size, a repaint) are
# few. Prints the number of partial updates.
check_updates() {
  awk '
    function clip(v, lo, hi) { return v < lo ? lo : (v > hi ? hi : v) }
    /"ev":"window"/ { match($0, /"w":[0-9]+/); W = substr($0, RSTART + 4, RLENGTH - 4) + 0
                      match($0, /"h":[0-9]+/); H = substr($0, RSTART + 4, RLENGTH - 4) + 0; whole = 1 }
    /"ev":"view"/ { match($0, /"scale":[0-9]+/); S = substr($0, RSTART + 8, RLENGTH - 8) + 0
                    match($0, /"x":[0-9]+/); X = substr($0, RSTART + 4, RLENGTH - 4) + 0
                    match($0, /"y":[0-9]+/); Y = substr($0, RSTART + 4, RLENGTH - 4) + 0 }
    /"ev":"present"/ { match($0, /"rect":\[[-0-9,]+\]/); split(substr($0, RSTART + 8, RLENGTH - 9), r, ",")
                       l = clip(r[1], 0, W); t = clip(r[2], 0, H); rr = clip(r[3], l, W); b = clip(r[4], t, H)
                       if (l < rr && t < b) want = want (want == "" ? "" : ",") "[" X + S * l "," Y + S * t "," X + S * rr "," Y + S * b "]" }
    /"ev":"update"/ { match($0, /"rects":\[.*\]\}/); got = substr($0, RSTART + 9, RLENGTH - 11)
                      if (whole || got ~ /^\[0,0,[0-9]+,[0-9]+\]$/ && want != got) { wholes++; whole = 0 }
                      else if (got != want) { print "update " got " but presented " want " at " $0 > "/dev/stderr"; bad++ }
                      else partial++
                      want = "" }
    END { if (bad || wholes > 6 || partial < 20) { print "bad " bad ", whole " wholes ", partial " partial > "/dev/stderr"; exit 1 }
          print partial }' "$trace"
}

# Scale 1: the picture as the headless run draws it, sent rectangle by rectangle.
start one 40
compare_shot "scale 1" 1
stop
check_updates >/dev/null || fail "scale 1: the window's updates are not the presented rectangles"

# Scale 2: each pixel twice as wide and high.
start two 40 --scale 2
grep -q '"ev":"view","w":1280,"h":960,"scale":2,"x":0,"y":0' "$trace" || fail "scale 2: $(grep '"ev":"view"' "$trace")"
compare_shot "scale 2" 2
stop
check_updates >/dev/null || fail "scale 2: the window's updates are not the presented rectangles"

# Full screen on 2048 x 1536: scale 3, centred at (64, 48) on black.
start full 40 --fullscreen
for _ in $(seq 100); do grep -q '"ev":"view","w":2048,"h":1536,"scale":3,"x":64,"y":48' "$trace" && break; sleep 0.1; done
grep -q '"ev":"view","w":2048,"h":1536,"scale":3,"x":64,"y":48' "$trace" ||
  fail "full screen: $(grep '"ev":"view"' "$trace")"
start_updates=$(count_updates "$trace")
for _ in $(seq 100); do [ "$(count_updates "$trace")" -ge $((start_updates + 20)) ] && break; sleep 0.1; done
compare_shot "full screen" 3 1920x1440+64+48
kill -STOP "$kpid"
import -window root -crop 64x1536+0+0 -depth 8 "rgb:$work/border.rgb"
kill -CONT "$kpid"
[ "$(tr -d '\0' <"$work/border.rgb" | wc -c)" -eq 0 ] || fail "full screen: the border is not black"
# A press on the border does not skip the opening; one on the picture does.
xdotool mousemove 20 700 click 1
sleep 1.5
grep -q '"scene":1,' "$trace" && fail "full screen: a press on the border reached the game"
xdotool mousemove $((64 + 3 * 320)) $((48 + 3 * 240)) click 1
for _ in $(seq 100); do grep -q '"scene":1,' "$trace" && break; sleep 0.1; done
grep -q '"scene":1,' "$trace" || fail "full screen: a press on the picture did not reach the game"
stop
echo "passed"

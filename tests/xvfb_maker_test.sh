#!/usr/bin/env bash
# The game maker's loop in the real window under Xvfb: `kiv --maker --stage 3` opens straight
# in stage 3; F9 shows the overlay, which the window shows exactly as a headless screenshot
# with "overlay on" has it (and so differs from the plain picture exactly there), while the
# window is still sent only the rectangles the game presents; a check point saved in Kiv.txt
# moves in the overlay within about a second without a restart; a broken edit is named on
# stderr and the game plays on. No timing is asserted but the reload's "about a second" (within
# five): the game is stopped (SIGSTOP) while its window is photographed, and the frame it had
# shown is read from its trace.
# usage: xvfb_maker_test.sh KIV_BINARY GAME_DIR [SCREENSHOT.png]
#   with a third argument, the window with its overlay is also kept there (for the guide).
set -u
kiv=$1
game=$2
keep=${3:-}
. "$(dirname "$0")/xvfb_session.sh"
need Xvfb openbox xdotool import convert cmp
[ -f "$game/Kiv.txt" ] || { echo "skipped: no game in $game"; exit 77; }

fail() { echo "FAIL: $*"; [ -f "$work/stderr.txt" ] && sed 's/^/  stderr: /' "$work/stderr.txt"; exit 1; }

start_display 1024x768
mkdir -p "$work/game"
cp -r "$game/." "$work/game/"
rm -f "$work/game/Kiv.ini" "$work/game/kiv"
seed=11
trace="$work/trace.jsonl"

# The pointer stays off the window, so that the overlay names no pointer position in either run.
xdotool mousemove 1020 760
SDL_AUDIODRIVER=dummy "$kiv" --maker --stage 3 --data "$work/game" --seed "$seed" --trace "$trace" \
  2>"$work/stderr.txt" &
kpid=$!
win=$(find_window) || fail "no window"

# Waits until the stage waits for the click after its introduction (step 4), counting from the
# trace line `from` on.
wait_intro() {
  local from=${1:-1}
  for _ in $(seq 300); do
    tail -n +"$from" "$trace" | grep -q '"ev":"frame","scene":4,"sc":\[[0-9-]*,4,' && return 0
    kill -0 "$kpid" 2>/dev/null || fail "the game ended"
    sleep 0.1
  done
  fail "stage 3 did not reach its introduction's end"
}
wait_intro
grep -q '"frame":1,"ev":"frame","scene":4,' "$trace" || fail "the window did not open in stage 3"
grep -q '"ev":"frame","scene":1,' "$trace" && fail "the title menu ran before the stage"

xdotool windowfocus --sync "$win" 2>/dev/null
xdotool key --window "$win" F9
sleep 1

last_update_frame() { grep '"ev":"update"' "$trace" | tail -n 1 | sed 's/.*"frame":\([0-9]*\),.*/\1/'; }
# The headless picture of frame k (overlay on or off) as raw RGB.
headless_rgb() {
  local frames=$1 overlay=$2 out=$3
  printf 'frames %d\noverlay %s\nscreenshot %s\n' "$frames" "$overlay" "$work/h.bmp" >"$work/h.txt"
  "$kiv" --headless --stage 3 --data "$work/game" --seed "$seed" --script "$work/h.txt" >/dev/null 2>&1 ||
    fail "the headless run failed"
  convert "$work/h.bmp" -depth 8 "rgb:$out"
}

kill -STOP "$kpid"
sleep 0.3
k=$(last_update_frame)
import -window "$win" -depth 8 "rgb:$work/real.rgb"
[ -n "$keep" ] && import -window "$win" "$keep"
kill -CONT "$kpid"
matched=
for f in "$k" $((k + 1)); do
  headless_rgb "$f" on "$work/over.rgb"
  if cmp -s "$work/real.rgb" "$work/over.rgb"; then matched=$f; break; fi
done
[ -n "$matched" ] || fail "the window with the overlay differs from the headless screenshot with it (frame $k)"
headless_rgb "$matched" off "$work/plain.rgb"
cmp -s "$work/plain.rgb" "$work/over.rgb" && fail "the overlay drew nothing"

# Every update of the window holds exactly what the game presented: the overlay's own drawing
# (here the pointer's position, as the mouse moves over the window) is sent to the display but
# is none of the game's updates.
eval "$(xdotool getwindowgeometry --shell "$win")"
for i in $(seq 0 20 200); do xdotool mousemove $((X + 100 + i)) $((Y + 400)); sleep 0.1; done
xdotool mousemove 1020 760
awk '
  function clip(v, lo, hi) { return v < lo ? lo : (v > hi ? hi : v) }
  /"ev":"window"/ { whole = 1 }
  /"ev":"present"/ { match($0, /"rect":\[[-0-9,]+\]/); split(substr($0, RSTART + 8, RLENGTH - 9), r, ",")
                     l = clip(r[1], 0, 640); t = clip(r[2], 0, 480); rr = clip(r[3], l, 640); b = clip(r[4], t, 480)
                     if (l < rr && t < b) want = want (want == "" ? "" : ",") "[" l "," t "," rr "," b "]" }
  /"ev":"update"/ { match($0, /"rects":\[.*\]\}/); got = substr($0, RSTART + 9, RLENGTH - 11)
                    if (whole || got == "[0,0,640,480]") whole = 0
                    else if (got != want) { print "update " got " but presented " want > "/dev/stderr"; bad++ }
                    want = "" }
  END { exit bad ? 1 : 0 }' "$trace" || fail "the window's updates are not the presented rectangles"

# A pixel of the window, as RRGGBB.
pixel() {
  import -window "$win" -crop "1x1+$1+$2" -depth 8 "rgb:$work/px.rgb"
  od -An -tx1 "$work/px.rgb" | tr -d ' \n'
}
# Check point 1 of stage 3 moves: Kiv.txt line 57 starts with its x and y.
[ "$(pixel 398 222)" = "ff4040" ] || fail "check point 1 is not marked at 395, 222: $(pixel 398 222)"
lines=$(wc -l <"$trace")
saved=$(date +%s%N)
sed -i '57s/^395 222 /300 100 /' "$work/game/Kiv.txt"
for _ in $(seq 50); do grep -q 'Kiv.txt changed: read Kiv.txt' "$work/stderr.txt" && break; sleep 0.1; done
took=$((($(date +%s%N) - saved) / 1000000))
grep -q 'Kiv.txt changed: read Kiv.txt and the files of stage 3 again' "$work/stderr.txt" ||
  fail "the saved Kiv.txt was not read again"
[ "$took" -le 5000 ] || fail "the reload took $took ms"
wait_intro "$lines"
sleep 0.5
[ "$(pixel 300 100)" = "40ff40" ] || fail "check point 1 did not move to 300, 100: $(pixel 300 100)"
[ "$(pixel 398 222)" = "ff4040" ] && fail "check point 1 is still marked at its old place"

# A broken edit: said as the check says it, and the stage plays on.
sed -i '57s/^300 100 /3x0 100 /' "$work/game/Kiv.txt"
for _ in $(seq 50); do grep -q 'Kiv.txt:57: ' "$work/stderr.txt" && break; sleep 0.1; done
grep -q 'Kiv.txt:57: .*"3x0" is not a number' "$work/stderr.txt" || fail "the broken edit was not named"
kill -0 "$kpid" 2>/dev/null || fail "the broken edit ended the game"
frames_before=$(grep -c '"ev":"frame"' "$trace")
sleep 1
[ "$(grep -c '"ev":"frame"' "$trace")" -gt "$frames_before" ] || fail "the game stopped running"
[ "$(pixel 300 100)" = "40ff40" ] || fail "the last good check point is gone"

close_window
echo "passed (reload seen after $took ms)"

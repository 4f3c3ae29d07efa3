#!/usr/bin/env bash
# What the real window costs beside the game's own work. For the opening, the title menu and a
# stage in play it starts the game in a window under Xvfb and prints: the CPU it takes (% of
# one core, over SECONDS_PER_SCENE seconds, 20 by default), the time from exec to the first
# picture in the window, and its private (USS) and resident (RSS) memory; beside them the
# headless cost of a frame of the same scene, and how many times that the window's frame costs.
#
# usage: bench/window_cost.sh [KIV_BINARY [GAME_DIR]]
#   default: build/game/kiv and its folder; build it first as a Release build:
#   cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKIV_TESTS=OFF -DKIV_BENCH=OFF && cmake --build build
# Needs Xvfb and xdotool (openbox is used when installed). The sound is whatever the machine
# has; on a machine without a sound device the game plays silently, as players there hear it.
set -u
cd "$(dirname "$0")/.."
kiv=$(realpath "${1:-build/game/kiv}")
game=$(realpath "${2:-$(dirname "$kiv")}")
seconds=${SECONDS_PER_SCENE:-20}
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "needs $tool" >&2; exit 2; }
done
[ -x "$kiv" ] || { echo "no program at $kiv" >&2; exit 2; }
[ -f "$game/Kiv.txt" ] || { echo "no game in $game" >&2; exit 2; }

work=$(mktemp -d /tmp/kiv-window-cost.XXXXXX)
cleanup() {
  [ -n "${kpid:-}" ] && kill "$kpid" 2>/dev/null
  [ -n "${wmpid:-}" ] && kill "$wmpid" 2>/dev/null
  [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own.
for _ in $(seq 50); do
  n=$(( 100 + RANDOM % 400 ))
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xpid=$!
export DISPLAY=":$n"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  wmpid=$!
  sleep 1
fi

# A sleep that starts no process (a read that times out on a pipe nobody writes).
mkfifo "$work/nap"
exec 4<>"$work/nap"
nap() { read -r -t "$1" -u 4 _ || true; }

now_us() { local t=${EPOCHREALTIME/./}; echo "$t"; }
cpu_ticks() {  # utime + stime of a process, in clock ticks
  local stat rest
  read -r stat <"/proc/$1/stat" || return 1
  rest=${stat##*) }
  read -r -a f <<<"$rest"
  echo $(( f[11] + f[12] ))
}
memory_kb() {  # "USS RSS" in kB
  awk '/^Rss:/ {r=$2} /^Private_(Clean|Dirty|Hugetlb):/ {u+=$2} END {print u, r}' "/proc/$1/smaps_rollup"
}
last_frame() {  # "frame scene step" of the last frame line of the trace
  local line
  line=$(grep '"ev":"frame"' "$1" | tail -n 1)
  [[ $line =~ \"frame\":([0-9]+),\"ev\":\"frame\",\"scene\":([0-9]+),\"sc\":\[(-?[0-9]+),(-?[0-9]+) ]] || { echo "0 -1 -1"; return; }
  echo "${BASH_REMATCH[1]} ${BASH_REMATCH[2]} ${BASH_REMATCH[4]}"
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1 2>/dev/null; }

# Clicks the way to a scene: the opening (none), the menu waiting for a choice, or stage 1 in
# play. True once there.
reach() {
  local scene=$1 trace=$2 win=$3 frame s step
  for _ in $(seq 90); do
    read -r frame s step < <(last_frame "$trace")
    case $scene in
      opening) [ "$s" = 0 ] && return 0 ;;
      menu) [ "$s" = 1 ] && [ "$step" = 12 ] && return 0 ;;
      stage) [ "$s" = 2 ] && [ "$step" = 50 ] && return 0 ;;
    esac
    if [ "$s" = 0 ]; then click "$win" 320 240
    elif [ "$s" = 1 ] && { [ "$step" = 12 ] || [ "$step" = 14 ]; }; then click "$win" 311 180
    elif [ "$s" = 2 ]; then click "$win" 320 240
    fi
    nap 1
  done
  return 1
}

# One run in the window: "first_ms cpu_percent uss_kb rss_kb window_us_per_frame", or "-".
window_run() {
  local scene=$1 data="$work/data-$1" trace="$work/trace-$1.jsonl" t0 t1 win c0 c1 w0 w1 f0 f1 s1 st1 mem
  rm -rf "$data"
  cp -r "$game/." "$data/"
  rm -f "$data/Kiv.ini"
  t0=$(now_us)
  "$kiv" --data "$data" --trace "$trace" 2>"$work/stderr-$scene.txt" &
  kpid=$!
  # The first picture sent to the window, looked for without starting a process.
  local line found=
  for _ in $(seq 20000); do [ -e "$trace" ] && break; nap 0.0005; done
  exec 5<"$trace"
  for _ in $(seq 20000); do
    while IFS= read -r line <&5; do [[ $line == *'"ev":"update"'* ]] && { found=1; break; }; done
    [ -n "$found" ] && break
    nap 0.0005
  done
  t1=$(now_us)
  exec 5<&-
  grep -q '"ev":"update"' "$trace" 2>/dev/null || { echo "-"; return; }
  win=$(xdotool search --name '^KIV system$' 2>/dev/null | head -n 1)
  if ! reach "$scene" "$trace" "$win"; then
    kill "$kpid" 2>/dev/null; wait "$kpid" 2>/dev/null; kpid=
    echo "-"
    return
  fi
  nap 2
  read -r f0 _ _ < <(last_frame "$trace")
  c0=$(cpu_ticks "$kpid"); w0=$(now_us)
  nap "$seconds"
  c1=$(cpu_ticks "$kpid"); w1=$(now_us)
  read -r f1 s1 st1 < <(last_frame "$trace")
  mem=$(memory_kb "$kpid")
  kill "$kpid" 2>/dev/null; wait "$kpid" 2>/dev/null; kpid=
  local hz; hz=$(getconf CLK_TCK)
  awk -v first=$(( (t1 - t0) / 1000 )) -v c=$(( c1 - c0 )) -v hz="$hz" -v w=$(( w1 - w0 )) -v f=$(( f1 - f0 )) \
      -v mem="$mem" 'BEGIN { split(mem, m, " ");
        cpu = c / hz; per = 0; if (f > 0) per = 1e6 * cpu / f
        printf "%d %.2f %d %d %.0f\n", first, 100 * cpu / (w / 1e6), m[1], m[2], per }'
}

# CPU seconds (user + system) of one headless run of a script.
headless_cpu() {
  local script=$1 data="$work/data-headless"
  rm -rf "$data"
  cp -r "$game/." "$data/"
  rm -f "$data/Kiv.ini"
  local TIMEFORMAT='%3U %3S' out
  out=$( { time "$kiv" --headless --data "$data" --seed 1 --script "$script" >/dev/null 2>&1; } 2>&1 )
  awk -v o="$out" 'BEGIN { split(o, t, " "); printf "%.4f\n", t[1] + t[2] }'
}

# Microseconds of CPU per headless frame of a scene: a run that reaches the scene and then
# runs N frames, less one that only reaches it; the best of three.
headless_frame_us() {
  local scene=$1 frames=$2 reach_script best=""
  case $scene in
    opening) reach_script="frames 1" ;;
    menu) reach_script=$'click 320 240\nuntil-scene 1\nuntil-step 12' ;;
    stage) reach_script=$'click 320 240\nuntil-scene 1\nuntil-step 12\nclick 311 180\nuntil-step 14\nclick 311 180\nuntil-scene 2 2000\nuntil-step 4 2000\nclick 320 240\nuntil-step 50 2000' ;;
  esac
  printf '%s\n' "$reach_script" >"$work/reach.txt"
  printf '%s\nframes %d\n' "$reach_script" "$frames" >"$work/run.txt"
  for _ in 1 2 3; do
    local a b us
    a=$(headless_cpu "$work/reach.txt")
    b=$(headless_cpu "$work/run.txt")
    us=$(awk -v a="$a" -v b="$b" -v n="$frames" 'BEGIN { v = 1e6 * (b - a) / n; if (v < 0) v = 0; printf "%.1f\n", v }')
    if [ -z "$best" ] || awk -v u="$us" -v b="$best" 'BEGIN { if (u + 0 < b + 0) exit 0; exit 1 }'; then best=$us; fi
  done
  echo "$best"
}

echo "Kiv window cost: $kiv"
echo "game: $game; $(nproc) cores; Xvfb $DISPLAY; ${seconds} s per scene"
printf '%-8s %12s %12s %9s %9s %15s %15s %7s\n' scene "CPU % core" "first frame" USS RSS "headless/frame" "window/frame" ratio
worst_cpu=0 worst_first=0 worst_uss=0 failed=0
for scene in opening menu stage; do
  case $scene in opening|menu) n=20000 ;; stage) n=2000 ;; esac
  result=$(window_run "$scene")
  read -r first cpu uss rss wframe <<<"$result"
  hframe=$(headless_frame_us "$scene" "$n")
  if [ "$first" = "-" ]; then
    printf '%-8s %12s (the window did not reach this scene; see %s)\n' "$scene" "-" "stderr"
    failed=1
    continue
  fi
  ratio=$(awk -v w="$wframe" -v h="$hframe" 'BEGIN { if (h + 0 > 0) printf "%.0fx\n", w / h; else print "-" }')
  printf '%-8s %10.2f %% %9d ms %6.1f MB %6.1f MB %12.1f us %12.0f us %7s\n' "$scene" "$cpu" "$first" \
    "$(awk -v k="$uss" 'BEGIN { print k / 1024 }')" "$(awk -v k="$rss" 'BEGIN { print k / 1024 }')" \
    "$hframe" "$wframe" "$ratio"
  worst_cpu=$(awk -v a="$worst_cpu" -v b="$cpu" 'BEGIN { m = a; if (b + 0 > a + 0) m = b; print m }')
  [ "$first" -gt "$worst_first" ] && worst_first=$first
  [ "$uss" -gt "$worst_uss" ] && worst_uss=$uss
done
grep -h "sound" "$work"/stderr-*.txt 2>/dev/null | sort -u | sed 's/^/note: /'
echo
echo "goals: CPU at most 2 % of a core, first frame at most 150 ms, USS at most 40 MB"
awk -v c="$worst_cpu" -v f="$worst_first" -v u="$worst_uss" -v failed="$failed" 'BEGIN {
  ok = (c + 0 <= 2) && (f + 0 <= 150) && (u + 0 <= 40 * 1024) && (failed == 0)
  verdict = "NOT within the goals"; if (ok) verdict = "within the goals"
  printf "worst: CPU %.2f %%, first frame %d ms, USS %.1f MB: %s\n", c, f, u / 1024, verdict
  if (ok) exit 0; exit 1 }'

#!/usr/bin/env bash
# Sets up, builds and starts Kiv, or runs its tests.
#   ./build.sh            install what is missing, build, start the game
#   ./build.sh test       install what is missing, build with sanitizers, run every test
# Extra arguments after "run" go to the game (for example: ./build.sh run wideflower).
set -euo pipefail
cd "$(dirname "$0")"

mode=${1:-run}
[ $# -gt 0 ] && shift

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libfluidsynth-dev libjpeg62-turbo-dev libsimpleini-dev
  libfontconfig-dev libcairo2-dev libpango1.0-dev
  timgm6mb-soundfont fonts-ipafont-gothic fontconfig espeak-ng
)
test_packages=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xfonts-base xdotool imagemagick x11-utils openbox wmctrl)
[ "$mode" = test ] && packages+=("${test_packages[@]}")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc 2>/dev/null || echo 2)

case "$mode" in
  run)
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKIV_TESTS=OFF -DKIV_BENCH=OFF >/dev/null
    cmake --build build -j"$jobs"
    exec build/game/kiv "$@"
    ;;
  test)
    cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DKIV_SANITIZE=ON -DKIV_BENCH=OFF >/dev/null
    cmake --build build-test -j"$jobs"
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
    cd build-test && ctest --output-on-failure -j"$jobs"
    ;;
  *)
    echo "usage: ./build.sh [run [game arguments...] | test]" >&2
    exit 2
    ;;
esac

#!/usr/bin/env bash
# Sets up, builds and starts Kiv, or runs its tests.
#   ./build.sh            install what is missing, build, start the game
#   ./build.sh test       install what is missing, build with sanitizers, run every test
#   ./build.sh fuzz [SECONDS]
#                         build the libFuzzer targets with clang and run each for SECONDS (60)
#   ./build.sh lint       check the style (.clang-format), the static checks (.clang-tidy) and the
#                         layers of src/ (tests/check_layers.py) on every file git tracks
#   ./build.sh package    install what is missing, build the Debian package from a copy of the
#                         tree into build-package/, and check it with lintian, appstreamcli and
#                         desktop-file-validate
#   ./build.sh web [--data DIR] [--out OUT] [--wideflower]
#                         build the engine for the browser and pack the demo (or the game folder
#                         DIR) into a static web site in build-web/site (or OUT); see docs/web.md
# Extra arguments after "run" go to the game (for example: ./build.sh run wideflower).
set -euo pipefail
cd "$(dirname "$0")"

mode=${1:-run}
[ $# -gt 0 ] && shift

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libfluidsynth-dev libasound2-dev libjpeg62-turbo-dev libpng-dev
  libfontconfig-dev libcairo2-dev libpango1.0-dev
  timgm6mb-soundfont fonts-ipafont-gothic fonts-dejavu-core fontconfig espeak-ng
)
test_packages=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xfonts-base xdotool imagemagick x11-utils openbox wmctrl
  clang libclang-rt-14-dev appstream desktop-file-utils chromium chromium-driver python3-selenium)
fuzz_packages=(clang libclang-rt-14-dev)
lint_packages=(clang-format clang-tidy python3 libgtest-dev libgmock-dev libbenchmark-dev)
# debian/control builds with the packages above (build-essential goes without saying there) and
# these; tests/package_deps_test.sh keeps the two lists in step.
package_build_packages=(debhelper optipng)
package_tools=(dpkg-dev lintian appstream desktop-file-utils)
[ "$mode" = test ] && packages+=("${test_packages[@]}")
[ "$mode" = fuzz ] && packages+=("${fuzz_packages[@]}")
[ "$mode" = lint ] && packages+=("${lint_packages[@]}")
[ "$mode" = package ] && packages+=("${package_build_packages[@]}" "${package_tools[@]}")
# The web build: emscripten, the sources of the libraries it builds (apt-get source), and the
# tools that pack a game: FluidSynth and the Vorbis encoder for the music, fontTools for the font.
web_packages=(emscripten dpkg-dev fluidsynth vorbis-tools fonttools)
[ "$mode" = web ] && packages+=("${web_packages[@]}")

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
  fuzz)
    seconds=${1:-60}
    case "$seconds" in ''|*[!0-9]*) echo "usage: ./build.sh fuzz [SECONDS]" >&2; exit 2 ;; esac
    targets=(kiv_txt kiv_ini bmp bmp_parity jpeg midi script)
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIV_FUZZ=ON \
      -DKIV_TESTS=OFF -DKIV_BENCH=OFF >/dev/null
    cmake --build build-fuzz -j"$jobs" --target "${targets[@]/#/fuzz_}"
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
    failed=()
    for t in "${targets[@]}"; do
      # New inputs go to the first folder (kept between runs, not checked in); the seeds stay.
      work=build-fuzz/corpus/$t crashes=build-fuzz/crashes/$t seeds=fuzz/corpus/$t
      [ -d "$seeds" ] || seeds=fuzz/corpus/${t%_parity}  # a parity target starts from its reader's seeds
      mkdir -p "$work" "$crashes"
      dict=()
      [ -f "fuzz/dict/$t.dict" ] && dict=(-dict="fuzz/dict/$t.dict")
      echo "== fuzz_$t for ${seconds} s"
      build-fuzz/fuzz/fuzz_"$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -print_final_stats=1 \
        -artifact_prefix="$crashes/" "${dict[@]}" "$work" "$seeds" 2>&1 |
        awk '/^###### Recommended dictionary/ { skip = 1 } !skip && !/^#[0-9]+[ \t]+(NEW|REDUCE|pulse|RELOAD)/ { print }
             /^###### End of recommended dictionary/ { skip = 0 }' || true
      if compgen -G "$crashes/crash-*" >/dev/null || compgen -G "$crashes/timeout-*" >/dev/null ||
         compgen -G "$crashes/oom-*" >/dev/null || compgen -G "$crashes/leak-*" >/dev/null; then
        failed+=("$t")
        echo "fuzz_$t found inputs that fail, in $crashes/: fix the reader, then add each to fuzz/regressions/$t/" >&2
      fi
    done
    [ ${#failed[@]} -eq 0 ] || { echo "failing fuzz targets: ${failed[*]}" >&2; exit 1; }
    ;;
  package)
    # Built from a copy of the tree as git sees it (the files it tracks and new ones it does not
    # ignore), so that nothing of an earlier build gets in; dpkg-buildpackage leaves the packages
    # in the copy's parent folder, build-package/.
    out=build-package
    rm -rf "$out"
    mkdir -p "$out/kiv"
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
      git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
        tar --null -T - -cf - | tar -xf - -C "$out/kiv"
    else
      tar --exclude='./build*' --exclude='./obj-*' --exclude=./debian/kiv --exclude=./debian/.debhelper -cf - . |
        tar -xf - -C "$out/kiv"
    fi
    (cd "$out/kiv" && dpkg-buildpackage -us -uc -b -j"$jobs")
    changes=$(echo "$out"/kiv_*.changes)
    echo "== lintian $changes"
    lintian --display-info --fail-on error,warning "$changes"
    # What software centres and desktops read, as the package installs it.
    mkdir -p "$out/root"
    dpkg-deb -x "$(echo "$out"/kiv_*.deb)" "$out/root"
    appstreamcli validate --no-net "$out"/root/usr/share/metainfo/*.metainfo.xml
    appstreamcli validate-tree --no-net "$out/root"
    desktop-file-validate "$out/root/usr/share/applications/kiv.desktop"
    ls -l "$out"/*.deb
    ;;
  lint)
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
    clang-format --dry-run --Werror "${files[@]}"
    echo "clang-format: ${#files[@]} files as .clang-format has them"
    # The checks need the compile commands (and the headers the configuration generates).
    cmake -S . -B build-lint -DCMAKE_BUILD_TYPE=Debug -DKIV_BENCH=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
    mapfile -t units < <(python3 -c '
import json, os, subprocess, sys
built = {os.path.realpath(c["file"]) for c in json.load(open("build-lint/compile_commands.json"))}
for f in subprocess.check_output(["git", "ls-files", "*.cpp"], text=True).split():
    if os.path.realpath(f) in built: print(f)')
    printf '%s\n' "${units[@]}" | xargs -P "$jobs" -n 4 clang-tidy -p build-lint --quiet 2>/dev/null | tee build-lint/tidy.txt
    if grep -q 'error:\|warning:' build-lint/tidy.txt; then
      echo "clang-tidy found the faults above" >&2
      exit 1
    fi
    echo "clang-tidy: ${#units[@]} files without a finding"
    python3 tests/check_layers.py src
    ;;
  web)
    data="" out=build-web/site pack=()
    usage="usage: ./build.sh web [--data DIR] [--out OUT] [--wideflower]"
    while [ $# -gt 0 ]; do
      case "$1" in
        --data) [ $# -ge 2 ] || { echo "$usage" >&2; exit 2; }; data=$2; shift 2 ;;
        --out) [ $# -ge 2 ] || { echo "$usage" >&2; exit 2; }; out=$2; shift 2 ;;
        --wideflower) pack+=(--wideflower); shift ;;
        *) echo "$usage" >&2; exit 2 ;;
      esac
    done
    [ "$jobs" -gt 2 ] && jobs=2
    # The demo game comes from the native build (its generator draws with Cairo); the node
    # runner carries it too.
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKIV_TESTS=OFF -DKIV_BENCH=OFF >/dev/null
    cmake --build build -j"$jobs" --target kiv_demo_game
    prefix=$(web/deps.sh)
    export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}  # the emscripten optimiser needs Debian's acorn
    emcmake cmake -S . -B build-web/engine -DCMAKE_BUILD_TYPE=Release -DKIV_WEB_PREFIX="$prefix" \
      -DKIV_WEB_GAME_DIR="$PWD/build/game" >/dev/null
    cmake --build build-web/engine -j"$jobs"
    web/pack.py --engine build-web/engine --data "${data:-build/game}" --out "$out" "${pack[@]}"
    echo "The site is in $out: serve it (for example: python3 -m http.server -d $out 8000) and open"
    echo "http://127.0.0.1:8000/ in a browser."
    ;;
  *)
    echo "usage: ./build.sh [run [game arguments...] | test | fuzz [SECONDS] | lint | package | web [--data DIR] [--out OUT] [--wideflower]]" >&2
    exit 2
    ;;
esac

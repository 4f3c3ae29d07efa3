#!/usr/bin/env bash
# Builds the libraries the web build links (SDL2, SDL2_mixer, SDL2_ttf, FreeType, libjpeg-turbo)
# with emscripten, as static libraries, from Debian's own source packages: emscripten's "ports"
# would download them, and nothing but Debian's archive can be reached.
#   web/deps.sh           prints the install prefix (building it first when needed)
# The result is kept per machine in $KIV_WEB_CACHE (default ~/.cache/kiv/web), with a stamp
# made of the emscripten version, the source packages' versions and this script's own hash, so
# later runs skip the build (about 5 minutes on 2 cores, mostly SDL2's configure checks).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${KIV_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kiv/web}
prefix=$cache/prefix
jobs=$(nproc 2>/dev/null || echo 2)
[ "$jobs" -gt 2 ] && jobs=2
sources=(libsdl2 libsdl2-mixer libsdl2-ttf freetype libjpeg-turbo)
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}  # the emscripten optimiser needs Debian's acorn

say() { echo "web/deps: $*" >&2; }
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo

# A deb-src entry for each Debian entry of the machine's own (same archive, suites and keys),
# so that apt-get source takes the sources of exactly the packages the machine has.
add_deb_src() {
  local list=/etc/apt/sources.list.d/kiv-deb-src.sources
  local text
  text=$(
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -e "$f" ] && [ "$f" != "$list" ] || continue
      awk 'BEGIN { RS = ""; ORS = "\n\n" }
           {
             n = split($0, line, "\n"); deb = 0; debian = 0; off = 0; out = ""
             for (i = 1; i <= n; ++i) {
               if (line[i] ~ /^#/) continue
               if (line[i] ~ /^Types:/ && line[i] ~ /[ \t]deb([ \t]|$)/) { deb = 1; line[i] = "Types: deb-src" }
               if (line[i] ~ /^URIs:/ && line[i] ~ /debian/) debian = 1
               if (line[i] ~ /^Enabled:[ \t]*no/) off = 1
               out = out line[i] "\n"
             }
             if (deb && debian && !off) print out
           }' "$f"
    done
    if [ -e /etc/apt/sources.list ]; then
      sed -n 's/^[ \t]*deb[ \t]\+\(\(\[[^]]*\][ \t]\+\)\?[^ \t]*debian[^ \t]*[ \t].*\)$/deb-src \1/p' /etc/apt/sources.list
    fi
  )
  if [ -z "$text" ]; then
    say "no Debian entry found in /etc/apt to take the sources from"
    exit 1
  fi
  say "adding $list (deb-src of the machine's Debian entries)"
  printf '%s\n' "$text" | $sudo tee "$list" >/dev/null
  $sudo apt-get update -qq
}

# The .dsc that apt-get source would take for a source package, from the package lists alone.
dsc_of() { apt-get source --print-uris -qq "$1" 2>/dev/null | awk '$2 ~ /\.dsc$/ { print $2; exit }'; }

if [ -z "$(dsc_of libsdl2)" ]; then
  add_deb_src
fi
key="emscripten $(dpkg-query -W -f='${Version}' emscripten)"
for s in "${sources[@]}"; do
  dsc=$(dsc_of "$s")
  [ -n "$dsc" ] || { say "apt-get source knows no package $s"; exit 1; }
  key+=$'\n'"$dsc"
done
key+=$'\n'"script $(sha256sum "$here/deps.sh" | cut -c1-16)"

if [ -f "$cache/stamp" ] && [ "$(cat "$cache/stamp")" = "$key" ]; then
  echo "$prefix"
  exit 0
fi

say "building the web libraries into $cache (once per machine)"
rm -rf "$cache/src" "$cache/build" "$prefix" "$cache/stamp"
mkdir -p "$cache/src" "$cache/build" "$prefix"
(cd "$cache/src" && apt-get source -qq "${sources[@]}" >/dev/null 2>&1) || {
  say "apt-get source ${sources[*]} failed"
  exit 1
}
srcdir() { find "$cache/src" -mindepth 1 -maxdepth 1 -type d -name "$1-[0-9]*" | head -n1; }

# Every library is static, without threads (a plain static web server cannot give the
# cross-origin isolation that wasm threads need) and without what the game does not use.
build() {
  local name=$1 dir=$2
  shift 2
  say "building $name"
  emcmake cmake -S "$dir" -B "$cache/build/$name" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" \
    >"$cache/build/$name.log" 2>&1 &&
    cmake --build "$cache/build/$name" -j"$jobs" >>"$cache/build/$name.log" 2>&1 &&
    cmake --install "$cache/build/$name" >>"$cache/build/$name.log" 2>&1 || {
    say "building $name failed; the log is $cache/build/$name.log"
    tail -n 30 "$cache/build/$name.log" >&2
    exit 1
  }
}

build libjpeg-turbo "$(srcdir libjpeg-turbo)" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF \
  -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -DSIZE_T=4 -DHAVE_SIZE_T=TRUE -DCMAKE_INSTALL_LIBDIR="$prefix/lib"
build freetype "$(srcdir freetype)" -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
build SDL2 "$(srcdir libsdl2)" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_PTHREADS=OFF \
  -DSDL_THREADS=OFF
build SDL2_ttf "$(srcdir libsdl2-ttf)" -DSDL2TTF_SAMPLES=OFF -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF \
  -DSDL2TTF_INSTALL=ON
# The mixer plays the effects and voices, all WAV; the browser itself plays the music.
build SDL2_mixer "$(srcdir libsdl2-mixer)" -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_VENDORED=OFF \
  -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF \
  -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_WAVPACK=OFF -DSDL2MIXER_INSTALL=ON

rm -rf "$cache/src" "$cache/build"
printf '%s\n' "$key" >"$cache/stamp"
say "done"
echo "$prefix"

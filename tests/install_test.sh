#!/usr/bin/env bash
# The installed game: the tree `cmake --install` makes (with the desktop entry, the icons, the
# manual page and the AppStream metadata, which validate), the installed program playing the
# installed demo headlessly from a read-only folder with its records in the player's data
# folder (written, then read back), --data still choosing another game, and the same program
# moved into a system package's layout (games/kiv, share/games/kiv/demo) still finding its demo.
# usage: install_test.sh BUILD_DIR
set -u
build=$1
work=$(mktemp -d)
cleanup() { chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$work/p" >"$work/install.log" 2>&1 || fail "install: $(cat "$work/install.log")"
p=$work/p
[ -x "$p/bin/kiv" ] || fail "no $p/bin/kiv"
for f in share/kiv/demo/Kiv.txt share/kiv/demo/Ptit.bmp share/applications/kiv.desktop \
         share/icons/hicolor/scalable/apps/kiv.svg share/man/man6/kiv.6 share/metainfo/org.example.kiv.metainfo.xml; do
  [ -s "$p/$f" ] || fail "no $f in the install tree"
done
for n in 16 24 32 48 64 128 256; do
  icon=$p/share/icons/hicolor/${n}x${n}/apps/kiv.png
  [ -s "$icon" ] || fail "no $n x $n icon"
  # a PNG file whose header (IHDR) says n x n
  [ "$(od -An -tx1 -j12 -N12 "$icon" | tr -d ' \n')" = "$(printf '49484452%08x%08x' "$n" "$n")" ] ||
    fail "the $n x $n icon is not a PNG of that size"
done
grep -q '<svg' "$p/share/icons/hicolor/scalable/apps/kiv.svg" || fail "the scalable icon is not SVG"
[ -e "$p/share/kiv/demo/kiv" ] && fail "the program was installed with the demo's files"
[ -e "$p/share/kiv/demo/Kiv.ini" ] && fail "records were installed with the demo"
grep -q '^Exec=kiv$' "$p/share/applications/kiv.desktop" || fail "the desktop entry does not start kiv"
grep -q '^Icon=kiv$' "$p/share/applications/kiv.desktop" || fail "the desktop entry does not show the icon"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$p/share/applications/kiv.desktop" || fail "desktop-file-validate"
else
  echo "note: no desktop-file-validate; the desktop entry is not validated"
fi
if command -v appstreamcli >/dev/null; then
  # validate-tree reads PREFIX/usr/share: the launchable desktop entry must be there too.
  mkdir -p "$work/tree/usr" && cp -r "$p/share" "$work/tree/usr/"
  appstreamcli validate-tree --no-net --pedantic "$work/tree" >"$work/appstream.log" 2>&1 ||
    fail "appstreamcli: $(cat "$work/appstream.log")"
else
  echo "note: no appstreamcli; the AppStream metadata is not validated"
fi

chmod -R a-w "$p/share/kiv/demo"
printf 'frames 3\n' >"$work/script.txt"
program=$p/bin/kiv
run() {  # run NAME [ARGS...]: the installed $program, headless, from another folder
  local name=$1
  shift
  (cd / && XDG_DATA_HOME="$work/xdg" ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0} "$program" --headless \
    --script "$work/script.txt" --trace "$work/$name.jsonl" "$@" 2>"$work/$name.err")
}
run first || fail "the installed program failed: $(cat "$work/first.err")"
grep -q '"ev":"frame","scene":0' "$work/first.jsonl" || fail "the installed demo did not play"
ini=$(find "$work/xdg/kiv" -name Kiv.ini 2>/dev/null | head -n 1)
[ -n "$ini" ] || fail "no Kiv.ini in the player's data folder: $(cat "$work/first.err")"
grep -q '^Rank01=\*\*\*\*\*master02950' "$ini" || fail "the ranking is not in $ini"
grep -q "\"ev\":\"records\",\"file\":\"$ini\",\"user\":true" "$work/first.jsonl" || fail "the trace does not say where the records are"

# Read back from there: an open stage written by hand survives the next run.
sed -i 's/^Stage=.*/Stage=4/' "$ini"
run second || fail "the second run failed: $(cat "$work/second.err")"
grep -q '^Stage=4' "$ini" || fail "the records were not read back from $ini"

# --data wins over the installed demo, and keeps its records beside the game.
cp -r "$p/share/kiv/demo" "$work/other"
chmod -R u+w "$work/other"
run other --data "$work/other" || fail "--data failed: $(cat "$work/other.err")"
[ -f "$work/other/Kiv.ini" ] || fail "--data did not keep the records in its folder"

# The same program and demo laid out as a system package lays them out.
g=$work/g
mkdir -p "$g/games" "$g/share/games/kiv"
cp "$p/bin/kiv" "$g/games/kiv"
cp -r "$p/share/kiv/demo" "$g/share/games/kiv/demo"
chmod -R a-w "$g/share/games/kiv/demo"
program=$g/games/kiv
run games_layout || fail "the program in games/ failed: $(cat "$work/games_layout.err")"
games_ini=$(grep -o '"ev":"records","file":"[^"]*"' "$work/games_layout.jsonl" | sed 's/.*"file":"//; s/"$//')
case "$games_ini" in
  "$work/xdg/kiv/"*share_games_kiv_demo-*/Kiv.ini) ;;
  *) fail "the program in games/ kept its records in '$games_ini': $(cat "$work/games_layout.err")" ;;
esac
[ -f "$games_ini" ] || fail "no $games_ini"
echo "passed"

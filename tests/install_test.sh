#!/usr/bin/env bash
# The installed game: the tree `cmake --install` makes, the installed program playing the
# installed demo headlessly from a read-only folder with its records in the player's data
# folder (written, then read back), and --data still choosing another game.
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
         share/icons/hicolor/64x64/apps/kiv.png; do
  [ -s "$p/$f" ] || fail "no $f in the install tree"
done
[ -e "$p/share/kiv/demo/kiv" ] && fail "the program was installed with the demo's files"
[ -e "$p/share/kiv/demo/Kiv.ini" ] && fail "records were installed with the demo"
grep -q '^Exec=kiv$' "$p/share/applications/kiv.desktop" || fail "the desktop entry does not start kiv"
[ "$(head -c 8 "$p/share/icons/hicolor/64x64/apps/kiv.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
  fail "the icon is not a PNG file"

chmod -R a-w "$p/share/kiv/demo"
printf 'frames 3\n' >"$work/script.txt"
run() {  # run NAME [ARGS...]: the installed program, headless, from another folder
  local name=$1
  shift
  (cd / && XDG_DATA_HOME="$work/xdg" ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0} "$p/bin/kiv" --headless \
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
echo "passed"

#!/usr/bin/env bash
# The Debian package as a player gets it (run as root, on a machine where it may be installed
# and removed): apt-get installs it; /usr/games/kiv runs; the installed demo plays headless from
# its read-only folder, as a plain user and as root, with the records in the player's own folder,
# written and read back; the program is stripped and its debug symbols are in the -dbgsym
# package; apt-get remove and purge leave nothing of it behind but the players' records.
# usage: package_test.sh build-package/kiv_VERSION_ARCH.deb
set -u
deb=$(realpath "$1")
[ "$(id -u)" -eq 0 ] || { echo "package_test.sh installs a package: run it as root"; exit 1; }
work=$(mktemp -d)
chmod 755 "$work"
cleanup() {
  dpkg-query -W -f='${Status}' kiv 2>/dev/null | grep -q 'installed' && dpkg --purge kiv >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
wait_for_dpkg() { while fuser /var/lib/dpkg/lock-frontend >/dev/null 2>&1; do sleep 5; done; }

version=$(dpkg-deb -f "$deb" Version)
wait_for_dpkg
(cd "$(dirname "$deb")" && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$(basename "$deb")") \
  >"$work/install.log" 2>&1 || fail "apt-get install: $(tail -n 20 "$work/install.log")"
dpkg -L kiv | sort >"$work/files"

[ "$(/usr/games/kiv --version)" = "kiv ${version%-*}" ] || fail "/usr/games/kiv --version says '$(/usr/games/kiv --version)'"
for f in /usr/share/games/kiv/demo/Kiv.txt /usr/share/games/kiv/demo/Ptit.bmp \
         /usr/share/applications/kiv.desktop /usr/share/icons/hicolor/scalable/apps/kiv.svg \
         /usr/share/icons/hicolor/16x16/apps/kiv.png /usr/share/icons/hicolor/256x256/apps/kiv.png \
         /usr/share/man/man6/kiv.6.gz /usr/share/metainfo/org.example.kiv.metainfo.xml \
         /usr/share/games/kiv/screenshots/title-menu.png /usr/share/games/kiv/screenshots/stage.png \
         /usr/share/doc/kiv/copyright; do
  [ -s "$f" ] || fail "the package did not install $f"
done
[ -e /usr/bin/kiv ] && fail "the program is in /usr/bin as well as /usr/games"
grep -q '^/usr/share/games/kiv/demo/Kiv.ini$' "$work/files" && fail "the package brings records with the demo"
find /usr/share/games/kiv ! -user root -print -quit | grep -q . && fail "files of the demo do not belong to root"
if command -v readelf >/dev/null; then
  readelf -S /usr/games/kiv | grep -q '\.debug_info' && fail "/usr/games/kiv is not stripped"
  build_id=$(readelf -n /usr/games/kiv | awk '/Build ID/ { print $3 }')
  dbgsym=$(dirname "$deb")/kiv-dbgsym_${version}_$(dpkg-deb -f "$deb" Architecture).deb
  [ -f "$dbgsym" ] || fail "no $dbgsym beside the package"
  dpkg-deb -c "$dbgsym" >"$work/dbgsym.list"
  grep -q "usr/lib/debug/.build-id/${build_id:0:2}/${build_id:2}.debug" "$work/dbgsym.list" ||
    fail "the debug symbols of build id $build_id are not in $dbgsym"
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate /usr/share/applications/kiv.desktop || fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net /usr/share/metainfo/org.example.kiv.metainfo.xml >"$work/as.log" 2>&1 ||
    fail "appstreamcli: $(cat "$work/as.log")"
fi

# The installed demo played from anywhere, with nothing beside the program but itself.
printf 'frames 5\nclick 320 240\nuntil-scene 1 300\nframes 10\n' >"$work/script.txt"
chmod 644 "$work/script.txt"
play() {  # play NAME USER [ARGS...]: as USER (root or nobody), its records under $work/NAME
  local name=$1 user=$2
  shift 2
  mkdir -p "$work/$name"
  chown "$user" "$work/$name"
  local as=()
  [ "$user" = root ] || as=(setpriv --reuid="$user" --regid=nogroup --clear-groups)
  (cd / && env HOME="$work/$name" XDG_DATA_HOME="$work/$name/data" "${as[@]}" /usr/games/kiv --headless \
    --seed 1 --script "$work/script.txt" --trace "$work/$name/trace.jsonl" "$@" 2>"$work/$name.err")
}
for who in nobody root; do
  play "$who" "$who" || fail "the installed demo did not play as $who: $(cat "$work/$who.err")"
  grep -q '"ev":"frame","scene":1,' "$work/$who/trace.jsonl" || fail "the installed demo did not reach its menu as $who"
  ini=$(find "$work/$who/data/kiv" -name Kiv.ini 2>/dev/null | head -n 1)
  [ -n "$ini" ] || fail "no Kiv.ini in the data folder of $who: $(cat "$work/$who.err")"
  case "$ini" in "$work/$who/data/kiv/usr_share_games_kiv_demo-"*/Kiv.ini) ;; *) fail "records of $who in $ini" ;; esac
  grep -q '^Rank01=' "$ini" || fail "no ranking in $ini"
  grep -q "\"ev\":\"records\",\"file\":\"$ini\",\"user\":true" "$work/$who/trace.jsonl" ||
    fail "the trace of $who does not name $ini"
  # Read back from there: an open stage set by hand survives the next run.
  sed -i 's/^Stage=.*/Stage=4/' "$ini"
  play "$who" "$who" || fail "the second play as $who failed: $(cat "$work/$who.err")"
  grep -q '^Stage=4' "$ini" || fail "the records of $who were not read back from $ini"
done
[ -e /usr/share/games/kiv/demo/Kiv.ini ] && fail "a play wrote records into the installed demo"
check=$(cd / && /usr/games/kiv --check) || fail "kiv --check of the installed demo: $check"
[ "$check" = "/usr/share/games/kiv/demo/: 0 errors, 0 warnings" ] || fail "kiv --check says: $check"

# Removed, then purged: none of its files stay, nor any of its folders that no other package
# owns.
wait_for_dpkg
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq kiv >"$work/remove.log" 2>&1 || fail "apt-get remove: $(cat "$work/remove.log")"
# (With no configuration files, removing it leaves nothing to purge: apt-get would no longer
# know it, dpkg does.)
wait_for_dpkg
dpkg --purge kiv >"$work/purge.log" 2>&1 || fail "dpkg --purge: $(cat "$work/purge.log")"
dpkg-query -W -f='${Status}' kiv 2>/dev/null | grep -q 'installed\|config-files' && fail "kiv is still known to dpkg"
while IFS= read -r path; do
  [ "$path" != /. ] && [ -e "$path" ] || continue
  [ -d "$path" ] || fail "$path is left behind"
  dpkg -S "$path" >/dev/null 2>&1 || fail "the folder $path is left behind, holding: $(ls -A "$path")"
done <"$work/files"
for who in nobody root; do
  [ -n "$(find "$work/$who/data/kiv" -name Kiv.ini)" ] || fail "the records of $who went with the package"
done
echo "passed"

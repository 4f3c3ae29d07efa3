#!/usr/bin/env bash
# The Debian package builds with exactly what ./build.sh installs for a Release build, besides
# build-essential (which debian/control leaves unsaid) and the package's own build tools.
# usage: package_deps_test.sh SOURCE_DIR
set -u
src=$1
fail() { echo "FAIL: $*"; exit 1; }

# The words of a bash array NAME=( ... ) in build.sh, which may run over several lines.
array() {
  awk -v name="$1" '
    $0 ~ "^" name "=\\(" { on = 1; sub("^" name "=\\(", "") }
    on { line = $0; done = sub(/\).*/, "", line); print line; if (done) exit }' "$src/build.sh" |
    tr -s ' \t' '\n\n' | grep -v '^$' | sort -u
}
release=$(array packages)
extra=$(array package_build_packages)
[ -n "$release" ] && [ -n "$extra" ] || fail "no package lists found in build.sh"
expected=$( (printf '%s\n' "$release" | grep -vx build-essential; printf '%s\n' "$extra") | sort -u)

# Build-Depends of debian/control: names only, without versions, architectures or profiles;
# debhelper-compat (= N) is debhelper.
declared=$(awk '/^Build-Depends:/ { on = 1; sub(/^Build-Depends:/, ""); print; next }
                on && /^[ \t]/ { print; next } { on = 0 }' "$src/debian/control" |
  tr ',' '\n' | sed -E 's/[[(<].*//; s/^[ \t]+//; s/[ \t]+$//; s/^debhelper-compat$/debhelper/' |
  grep -v '^$' | sort -u)
[ -n "$declared" ] || fail "no Build-Depends in debian/control"

if [ "$expected" != "$declared" ]; then
  echo "FAIL: debian/control's Build-Depends and build.sh's packages differ:"
  diff <(printf '%s\n' "$expected") <(printf '%s\n' "$declared") |
    sed -n 's/^</  only in build.sh:/p; s/^>/  only in debian\/control:/p'
  exit 1
fi
echo "passed: $(printf '%s\n' "$declared" | wc -l) build dependencies"

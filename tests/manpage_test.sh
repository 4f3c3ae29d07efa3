#!/usr/bin/env bash
# The manual page and `kiv --help` stay in step: the same flags in the synopsis and the options,
# the same exit statuses, and the page's version is the program's.
# usage: manpage_test.sh KIV_BINARY MANPAGE
set -u
kiv=$1
page=$2
fail() { echo "FAIL: $*"; exit 1; }

help=$("$kiv" --help) || fail "kiv --help failed"
version=$("$kiv" --version) || fail "kiv --version failed"

# --help: the usage lines up to the first blank line, the option lines ("  --flag" or
# "  wideflower" at the start), the status lines after "Exit status:".
help_usage=$(printf '%s\n' "$help" | sed '/^$/q' | grep -oE -- '--[a-z-]+|wideflower' | sort -u)
help_options=$(printf '%s\n' "$help" | grep -oE '^  (--[a-z-]+|wideflower)' | tr -d ' ' | sort -u)
help_statuses=$(printf '%s\n' "$help" | sed -n '/^Exit status:/,/^$/p' | grep -oE '^  [0-9]+ ' | tr -d ' ' | sort -u)

# The page: a section runs from its .SH line to the next; an item is the line after .TP, and a
# flag is written \-\-name there.
section() { awk -v s="$1" '/^\.SH/ { on = ($0 ~ "^\\.SH \"?" s) ; next } on' "$page"; }
items() { section "$1" | awk 'after_tp { print; after_tp = 0 } /^\.TP/ { after_tp = 1 }'; }
flags() { sed 's/\\-/-/g' | grep -oE -- '--[a-z-]+|wideflower' | sort -u; }
man_usage=$(section SYNOPSIS | flags)
man_options=$(items OPTIONS | flags)
man_statuses=$(items 'EXIT STATUS' | grep -oE '^\.B [0-9]+$' | grep -oE '[0-9]+' | sort -u)

[ -n "$help_options" ] && [ -n "$man_options" ] || fail "no options found (help: '$help_options', page: '$man_options')"
compare() {  # compare WHAT HELP PAGE
  [ "$2" = "$3" ] && return 0
  echo "FAIL: $1 differ between kiv --help and $page:"
  diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") | sed -n 's/^</  only in --help:/p; s/^>/  only in the page:/p'
  exit 1
}
compare "the options" "$help_options" "$man_options"
compare "the flags of the synopsis" "$help_usage" "$man_usage"
compare "the exit statuses" "$help_statuses" "$man_statuses"

page_version=$(grep -m1 '^\.TH' "$page" | grep -oE '"Kiv [0-9.]+"' | tr -d '"')
[ "$page_version" = "Kiv ${version#kiv }" ] || fail "the page is of '$page_version', the program is '$version'"
echo "passed: $(printf '%s\n' "$man_options" | wc -l) options, $(printf '%s\n' "$man_statuses" | wc -l) exit statuses"

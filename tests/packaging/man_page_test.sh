#!/usr/bin/env bash
# Renders a man page as man does, with every groff warning on (w), checks that
# it is for the version morvane-cli reports, and, given a program, that it
# documents each option that program's --help offers.
# Usage: man_page_test.sh MAN_PAGE MORVANE_CLI [PROGRAM]
set -euo pipefail
page=$1 cli=$2 program=${3:-}
fail() { echo "FAIL: $*" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

MANWIDTH=80 man --warnings=w -E UTF-8 -l "$page" >"$scratch/rendered" 2>"$scratch/warnings"
if [ -s "$scratch/warnings" ]; then
    cat "$scratch/warnings" >&2
    fail "man reports warnings"
fi
grep -q '^NAME' "$scratch/rendered" || fail "rendered page has no NAME section"

version=$("$cli" --version)
version=${version#morvane-cli }
grep -q "morvane $version" "$scratch/rendered" || fail "page is not for version $version"

if [ -z "$program" ]; then
    echo "man page: renders cleanly"
    exit 0
fi

# Rendered text hyphenates freely; options are matched with hyphens as typed.
source "$(dirname "$0")/help_options.sh"
help_options "$program" >"$scratch/options"
[ -s "$scratch/options" ] || fail "no options found in $program --help"
while read -r option; do
    grep -qE -- "(^|[^a-z0-9-])$option([^a-z0-9-]|$)" "$scratch/rendered" ||
        fail "man page does not document $option"
done <"$scratch/options"
echo "man page: renders cleanly and documents $(wc -l <"$scratch/options") options"

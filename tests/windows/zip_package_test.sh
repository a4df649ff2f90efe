#!/usr/bin/env bash
# Packs the zip the way scripts/build-windows does and checks that it holds
# exactly the files a user needs side by side, the programs as built, and a
# guide whose link to the licence leads to the licence in the zip.
# Usage: zip_package_test.sh WINDOWS_BUILD_DIR VERSION EXPECTED_FILES
set -euo pipefail
build=$1 version=$2 expected=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cpack -G ZIP --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" ||
    { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
zip=$scratch/morvane-$version-win64.zip
[ -f "$zip" ] || fail "no morvane-$version-win64.zip"

unzip -Z1 "$zip" | grep -v '/$' | sort >"$scratch/packed"
if ! diff -u <(sort "$expected") "$scratch/packed"; then
    fail "zip files differ from $expected"
fi
unpacked=$scratch/unpacked
unzip -q "$zip" -d "$unpacked"
for program in morvane.exe morvane-cli.exe; do
    built=$(find "$build/ui" "$build/cli" -maxdepth 1 -name "$program" | head -n 1)
    cmp -s "$unpacked/$program" "$built" || fail "$program is not the one built"
done
for page in "$unpacked"/guide/*.html; do
    links=$(grep -o 'href="[^"#][^"]*"' "$page" | sed 's/^href="//; s/"$//')
    [ -n "$links" ] || fail "$(basename "$page") links to no licence"
    for link in $links; do
        [ -f "$(dirname "$page")/$link" ] || fail "$(basename "$page") links to $link, not in the zip"
    done
done
echo "zip package: $(basename "$zip") holds $(wc -l <"$scratch/packed") files"

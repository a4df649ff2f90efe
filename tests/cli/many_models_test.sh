#!/usr/bin/env bash
# Runs the README's recipes for many models over a few hundred generated ones,
# and holds every output to a single rewrite of its model: xargs and GNU
# parallel on all cores, make's pattern rule again after one model changed,
# and two runs writing into one folder at once, which may refuse a name the
# other has just made but never lose or tear an output.
# Usage: many_models_test.sh MORVANE_CLI MAKEFILE
set -euo pipefail
cli=$1 makefile=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
PATH=$(dirname "$cli"):$PATH

# A little-endian word.
word() {
    local bytes="" shift
    for shift in 0 8 16 24; do
        bytes+=$(printf '\\x%02x' $(($1 >> shift & 255)))
    done
    printf "$bytes"
}
mkdir models ref
for i in $(seq 1 300); do
    { word 0x5A524D34; word 0; word 100; word 0x5052494D; word "$i"; word 8; word "$i"; word $((i * 7)); } \
        >"models/m$i.zrm"
done
for model in models/*.zrm; do
    morvane-cli -q -n 3 "$model" "ref/${model#models/}"
done
# Every output there, and the same as the single rewrite; nothing else.
same_as_ref() {
    [ "$(ls -A "$1" | grep -c .)" = 300 ] || fail "$1 holds $(ls -A "$1" | wc -l) files"
    for reference in ref/*.zrm; do
        cmp -s "$reference" "$1/${reference#ref/}" || fail "$1/${reference#ref/} differs"
    done
}

mkdir out-xargs out-parallel
find models -name '*.zrm' -print0 | xargs -0 -P "$(nproc)" -n 64 morvane-cli -q -n 3 -d out-xargs
same_as_ref out-xargs
parallel -X -j "$(nproc)" morvane-cli -q -n 3 -d out-parallel ::: models/*.zrm
same_as_ref out-parallel

make -s -j4 -f "$makefile" MORVANE_CLI="$cli"
same_as_ref out
touch -d '+1 minute' models/m7.zrm
redone=$(make -j4 -f "$makefile" MORVANE_CLI="$cli" | grep -c -- '-q -n 3' || true)
[ "$redone" = 1 ] || fail "make rewrote $redone models after one changed"
same_as_ref out

mkdir out-twice
for run in 1 2; do
    find models -name '*.zrm' -print0 |
        xargs -0 -P 2 -n 64 morvane-cli -q -n 3 -d out-twice 2>"errors-$run.txt" &
done
wait || true
if grep -v -e ': wrote ' -e 'was created by another program while the model was written' \
    errors-*.txt; then
    fail "the two runs at once said more than they should"
fi
same_as_ref out-twice
echo "PASS"

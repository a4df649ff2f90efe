#!/usr/bin/env bash
# Runs the published recipes for many models (docs/many-models.md), as the
# page spells them, over a tree where one file name stands in several folders
# and names hold what a shell or make would read as syntax. Every output must sit at its model's
# place under out/ and equal a single rewrite of that model, none missing and
# none more. Make must leave out, and name, exactly the names it cannot carry,
# run nothing out of a name, and redo exactly the one model that changed. Two
# runs into one folder at once may refuse a name the other has just made but
# never lose or tear an output.
# Usage: many_models_test.sh MORVANE_CLI SOURCE_DIR
set -euo pipefail
cli=$(realpath "$1") source=$(realpath "$2")
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
PATH=$(dirname "$cli"):$PATH

# The Nth fenced block of the page; with no N, how many blocks there are.
readme_block() {
    awk -v want="${1:-0}" '
        /^```/ { open = !open; blocks += open; next }
        open && blocks == want
        END { if (want == 0) print blocks }' "$source/docs/many-models.md"
}
[ "$(readme_block)" = 6 ] || fail "docs/many-models.md has $(readme_block) blocks, not 6"
block_with() {
    local text
    text=$(readme_block "$1")
    [[ $text == *"$2"* ]] || fail "block $1 of the page is not the one with '$2': $text"
    printf '%s\n' "$text"
}
make_folders=$(block_with 1 'mkdir -p')
xargs_recipe=$(block_with 2 'xargs')
parallel_recipe=$(block_with 3 'parallel')
shared_recipe=$(block_with 4 '--workdir')
copying_recipe=$(block_with 5 '--transferfile')
make_recipe=$(block_with 6 'make -j')
mkdir -p docs/many_models
cp "$source/docs/many_models/Makefile" docs/many_models/

# Names that make can carry, and those it cannot, each with the name as the
# Makefile must report it. Several folders hold a hull.zrm, and the deepest
# folders lie four below models/.
plain=(
    hull.zrm ships/hull.zrm ships/{frigate,galleon,sloop/rigging}/lod{0,1,2}/{hull,deck}.zrm
    -dash/hull.zrm odd/-leading.zrm odd/plus+comma,at@.zrm odd/modèle.zrm pack.zrm/hull.zrm
)
declare -A unmakeable=(
    ['odd/with space.zrm']='"models/odd/with space.zrm"'
    ['odd dir/hull.zrm']='"models/odd dir/hull.zrm"'
    ["odd/it's.zrm"]="\"models/odd/it's.zrm\""
    ['odd/say "hi".zrm']='"models/odd/say \"hi\".zrm"'
    ['odd/$HOME.zrm']='"models/odd/$HOME.zrm"'
    ['$x/hull.zrm']='"models/$x/hull.zrm"'
    ['a`touch${IFS}INJECTED`.zrm']='"models/a`touch${IFS}INJECTED`.zrm"'
    ['odd/$(touch INJECTED).zrm']='"models/odd/$(touch INJECTED).zrm"'
    [$'odd/new\nline.zrm']='"models/odd/new\nline.zrm"'
    [$'line\nbreak/hull.zrm']='"models/line\nbreak/hull.zrm"'
    [$'odd/tab\there.zrm']='"models/odd/tab\there.zrm"'
    [$'odd/esc\e.zrm']='"models/odd/esc\033.zrm"'
    ['odd/back\slash.zrm']='"models/odd/back\\slash.zrm"'
    ['odd/hash#.zrm']='"models/odd/hash#.zrm"'
    ['odd/100%.zrm']='"models/odd/100%.zrm"'
    ['{}%/hull.zrm']='"models/{}%/hull.zrm"'
    ['odd/c:d.zrm']='"models/odd/c:d.zrm"'
    ['odd/star*.zrm']='"models/odd/star*.zrm"'
    ['odd/what?.zrm']='"models/odd/what?.zrm"'
    ['odd/[ab].zrm']='"models/odd/[ab].zrm"'
    ['odd/semi;colon.zrm']='"models/odd/semi;colon.zrm"'
    ['odd/x=y.zrm']='"models/odd/x=y.zrm"'
    ['odd/~tilde.zrm']='"models/odd/~tilde.zrm"'
)
# A flat folder brings the tree to 128 models.
for i in $(seq 1 $((128 - ${#plain[@]} - ${#unmakeable[@]}))); do
    plain+=("props/m$i.zrm")
done
all=("${plain[@]}" "${!unmakeable[@]}")

# A little-endian word.
word() {
    local bytes="" byte shift
    for shift in 0 8 16 24; do
        printf -v byte '\\x%02x' $(($1 >> shift & 255))
        bytes+=$byte
    done
    printf "$bytes"
}
# A small model of its own for each number.
make_folder_of() { [ -d "${1%/*}" ] || mkdir -p "${1%/*}"; }
write_model() {
    make_folder_of "$2"
    { word 0x5A524D34; word 0; word 100; word 0x5052494D; word "$1"; word 8; word "$1"; word $(($1 * 7)); } >"$2"
}
single_rewrite() {
    make_folder_of "ref/$1"
    morvane-cli -q -n 3 "models/$1" "ref/$1"
}
number=0
for model in "${all[@]}"; do
    write_model $((number += 1)) "models/$model"
    single_rewrite "$model"
done
mkdir models/textures
echo "not a model" >models/textures/wood.png
# Older than any output, so that make sees only the model changed on purpose.
find models -exec touch -d '2 hours ago' {} +

# NUL-separated and sorted, so that any name compares.
sorted() { printf '%s\0' "$@" | LC_ALL=C sort -z; }
files_in() { (cd "$1" && find . -type f -printf '%P\0') | LC_ALL=C sort -z; }
# OUT holds one output for each MODEL, at the model's place, the same as its
# single rewrite, and nothing else.
holds_exactly() {
    local out=$1 name
    shift
    if ! cmp -s <(sorted "$@") <(files_in "$out"); then
        LC_ALL=C comm -z -3 <(sorted "$@") <(files_in "$out") |
            while IFS= read -r -d '' name; do
                [[ $name == $'\t'* ]] && printf '  more: %q\n' "${name#$'\t'}" ||
                    printf '  missing: %q\n' "$name"
            done >&2
        fail "$out does not hold exactly one output for each model"
    fi
    for name; do
        cmp -s "ref/$name" "$out/$name" || fail "$(printf '%q' "$out/$name") is not its single rewrite"
    done
}
nothing_injected() {
    [ -z "$(find "$work" -name INJECTED)" ] || fail "$1 ran a command out of a model's name"
}
run_recipe() {
    local name=$1 status=0
    shift
    for text; do
        bash -c "$text" || status=$?
    done
    nothing_injected "the $name recipe"
    holds_exactly out "${all[@]}"
    [ "$status" = 0 ] || fail "the $name recipe exited with status $status"
    rm -rf out
}

run_recipe xargs "$make_folders" "$xargs_recipe"
run_recipe parallel "$make_folders" "$parallel_recipe"
# Across machines only in name: this machine is the only one.
[[ $shared_recipe == *'-S :,build1,build2 '* && $copying_recipe == *'-S build1,build2 '* ]] ||
    fail "the recipes across machines name other machines than the page's text expects"
run_recipe "shared folders" "$make_folders" "${shared_recipe/-S :,build1,build2 /-S : }"
run_recipe copying "${copying_recipe/-S build1,build2 /-S : }"

# Make: the models it can carry are written, the others named and left out,
# and it fails.
expected_report=$(
    for model in "${!unmakeable[@]}"; do
        printf 'left out %s: make cannot carry its name; rename it with letters, digits and . _ - + , @ only\n' \
            "${unmakeable[$model]}"
    done | LC_ALL=C sort
)
make_once() {
    local status=0
    bash -c "$make_recipe" >make-out.txt 2>make-errors.txt || status=$?
    [ "$status" = 2 ] || fail "make exited with status $status, not 2, after leaving models out"
    nothing_injected make
    if [ "$(grep -v -e '^morvane-cli: wrote ' \
        -e '^make: \*\*\* \[docs/many_models/Makefile:[0-9]*: all\] Error 1$' make-errors.txt |
        LC_ALL=C sort)" != "$expected_report" ]; then
        cat make-errors.txt >&2
        fail "make did not name exactly the models it left out"
    fi
}
make_once
holds_exactly out "${plain[@]}"

# After one model changed, make rewrites that one and no other.
changed=ships/sloop/rigging/lod1/hull.zrm
find out -type f -exec touch -d '1 hour ago' {} +
find out -type f -printf '%i %P\n' | sort >inodes-before.txt
write_model 1000 "models/$changed"
single_rewrite "$changed"
make_once
find out -type f -printf '%i %P\n' | sort >inodes-after.txt
redone=$(comm -13 inodes-before.txt inodes-after.txt | cut -d ' ' -f 2-)
[ "$redone" = "$changed" ] || fail "make rewrote [$redone] after only $changed changed"
holds_exactly out "${plain[@]}"
rm -rf out

# Two runs at once: a name one run made while the other wrote its model is
# left to the first, and said so; nothing else is said.
for run in 1 2; do
    { bash -c "$make_folders" && bash -c "$xargs_recipe"; } 2>"errors-$run.txt" &
done
wait || true
if grep -v -e ': wrote ' -e 'was created by another program while the model was written' \
    errors-*.txt; then
    fail "the two runs at once said more than they should"
fi
holds_exactly out "${all[@]}"
echo "PASS"

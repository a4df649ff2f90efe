#!/usr/bin/env bash
# Runs the published recipes for many models (docs/many-models.md), as the
# page spells them, over a tree where one file name stands in several folders
# and names hold what a shell or make would read as syntax. Every output must
# sit at its model's place and equal a single rewrite of that model, every
# backup must be its model as it was, none missing and none more; in place, a
# second run changes nothing. Make must leave out, and name, exactly the names
# it cannot carry, run nothing out of a name, and redo exactly the one model
# that changed. Two runs into one folder at once may refuse a name the other
# has just made but never lose or tear an output. The recipe across machines
# with shared folders runs here on this machine alone (-S :);
# across_machines_test.sh runs both through ssh.
# Usage: many_models_test.sh MORVANE_CLI SOURCE_DIR
set -euo pipefail
cli=$(realpath "$1") source=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
PATH=$(dirname "$cli"):$PATH
. "$source/tests/cli/many_models_tree.sh"

[ "$(page_block)" = 9 ] || fail "docs/many-models.md has $(page_block) blocks, not 9"
whole_library=$(block_with 1 '-r -d out models')
in_place=$(block_with 2 '-r -i --backup models')
from_a_list=$(block_with 3 '--files-from - -0')
job_list=$(block_with 4 '>jobs.list')
xargs_recipe=$(block_with 5 'xargs')
parallel_recipe=$(block_with 6 'parallel')
shared_recipe=$(block_with 7 '--workdir "$PWD"')
block_with 8 '--transferfile' >/dev/null
make_recipe=$(block_with 9 'make -j')
mkdir -p docs/many_models
cp "$source/docs/many_models/Makefile" docs/many_models/

make_tree
# Older than any output, so that make sees only the model changed on purpose.
find models -exec touch -d '2 hours ago' {} +
cp -a models originals

# What a rewrite in place leaves: each model's single rewrite at its place,
# with its backup beside it when one is kept, and the file that is no model.
mkdir in-place
cp -a ref/. in-place/
cp -a originals/textures in-place/
rewritten_in_place=("${all[@]}" textures/wood.png)
with_backups=("${rewritten_in_place[@]}")
for model in "${all[@]}"; do
    cp "originals/$model" "in-place/$model.bak"
    with_backups+=("$model.bak")
done

# Runs each TEXT in turn in the working folder; out must then hold exactly the
# single rewrites and the models must be as they were.
run_recipe() {
    local name=$1 status=0
    shift
    for text; do
        bash -c "$text" || status=$?
    done 2>said.txt
    nothing_injected "the $name recipe"
    holds_exactly out ref "${all[@]}"
    holds_exactly models originals "${all[@]}" textures/wood.png
    said_only wrote said.txt
    [ "$status" = 0 ] || fail "the $name recipe exited with status $status"
    rm -rf out jobs.list
}
# Runs TEXT twice over a copy of the models, which must then hold exactly
# EXPECTED... after each run: a second run changes nothing.
run_in_place() {
    local name=$1 text=$2 run status
    shift 2
    rm -rf library && mkdir library && cp -a originals library/models
    for run in first second; do
        status=0
        (cd library && bash -c "$text") 2>"$run-run.txt" || status=$?
        [ "$status" = 0 ] || fail "the $run run of the $name recipe exited with status $status"
        nothing_injected "the $name recipe"
        holds_exactly library/models in-place "$@"
    done
    said_only wrote first-run.txt
    said_only "left out" second-run.txt
    rm -rf library
}

run_recipe "whole library" "$whole_library"
run_in_place "in place" "$in_place" "${with_backups[@]}"
run_in_place "list" "$from_a_list" "${rewritten_in_place[@]}"
run_recipe xargs "$job_list" "$xargs_recipe"
run_recipe parallel "$job_list" "$parallel_recipe"
# Across machines only in name: this machine is the only one. Copying needs
# another machine, as here each job would work in a folder of its own.
[[ $shared_recipe == *'-S :,build1,build2 '* ]] ||
    fail "the recipe across machines names other machines than the page's text expects"
run_recipe "shared folders" "$job_list" "${shared_recipe/-S :,build1,build2 /-S : }"

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
holds_exactly out ref "${plain[@]}"

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
holds_exactly out ref "${plain[@]}"
rm -rf out

# Two runs at once: a name one run made while the other wrote its model is
# left to the first, and said so; nothing else is said.
bash -c "$job_list"
for run in 1 2; do
    bash -c "$xargs_recipe" 2>"errors-$run.txt" &
done
wait || true
if grep -v -e ': wrote ' -e 'was created by another program while the model was written' \
    errors-*.txt; then
    fail "the two runs at once said more than they should"
fi
holds_exactly out ref "${all[@]}"
echo "PASS"

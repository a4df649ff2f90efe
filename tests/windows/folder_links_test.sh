#!/usr/bin/env bash
# morvane-cli.exe -r over a tree with links, as Wine shows the Linux links
# below its drives (Wine 8 makes no junction or symbolic link of its own): a
# link to a folder is passed over whatever its name, also one that leads back
# up the tree, and a link to a model file is read. A name that ends in a dot,
# which Linux programs make freely, is read as it is and written as Windows
# reads it. Each output equals a single rewrite of its model.
# Usage: folder_links_test.sh MORVANE_CLI_EXE WINE_PREFIX
set -euo pipefail
cli=$(realpath "$1") prefix=$(realpath "$2")
wine_run=$(realpath "$(dirname "$0")/../../scripts/wine-run")
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
# A model whose PRIM chunk holds the 8 bytes given.
model() { printf '4MRZ\021\021\021\021d\000\000\000MIRP\000\000\000\000\010\000\000\000%s' "$1"; }

mkdir -p tree/sub tree/odd. elsewhere single
model abcdefgh >tree/a.zrm
model bcdefghi >tree/sub/b.zrm
model cdefghij >tree/odd./c.zrm.
model defghijk >elsewhere/d.zrm
model efghijkl >elsewhere/e.zrm
ln -s "$work/tree" tree/sub/loop
ln -s "$work/elsewhere" tree/folder.zrm
ln -s "$work/elsewhere/d.zrm" tree/sub/linked.zrm

said=$("$wine_run" "$prefix" "$cli" -q -n 3 -r -d "$(windows_path "$work/out")" \
    "$(windows_path "$work/tree")") || fail "the run failed: $said"
[[ $said != *cannot* ]] || fail "the run could not read everything: $said"
found=$(cd out && find . \( -type f -o -type l \) | sort | tr '\n' ' ')
[ "$found" = "./a.zrm ./odd/c.zrm ./sub/b.zrm ./sub/linked.zrm " ] ||
    fail "the outputs are $found"

declare -A models=([a.zrm]=tree/a.zrm [sub/b.zrm]=tree/sub/b.zrm [odd/c.zrm]=tree/odd./c.zrm.
    [sub/linked.zrm]=elsewhere/d.zrm)
for output in "${!models[@]}"; do
    cp "${models[$output]}" single/in.zrm
    "$wine_run" "$prefix" "$cli" -q -n 3 "$(windows_path "$work/single/in.zrm")" \
        "$(windows_path "$work/single/out.zrm")" >/dev/null || fail "no single rewrite of $output"
    cmp -s single/out.zrm "out/$output" || fail "out/$output is not the rewrite of its model"
    rm single/in.zrm single/out.zrm
done
echo "passed"

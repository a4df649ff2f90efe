#!/usr/bin/env bash
# Times `morvane-cli -q` against `cat` followed by `sync` of its output on the
# same generated model, and reports the tool's peak memory for a small and a
# large model. Usage: bench/compare_with_cat.sh [BUILD_DIR] [MEBIBYTES]
set -euo pipefail
build=${1:-build}
size=${2:-512}
work=$(mktemp -d "${TMPDIR:-/var/tmp}/morvane-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

cli="$build/cli/morvane-cli"
"$build/bench/make_model" "$work/big.zrm" "$size"
"$build/bench/make_model" "$work/small.zrm" 10

seconds() { /usr/bin/time -f %e "$@" 2>&1 >/dev/null | tail -n 1; }
peak_kib() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1; }

cat "$work/big.zrm" >/dev/null  # both runs start with the input in the page cache
best_cat=999999
best_tool=999999
for _ in 1 2 3; do
    rm -f "$work/copy.zrm" "$work/out.zrm"
    t=$(seconds sh -c "cat '$work/big.zrm' > '$work/copy.zrm' && sync '$work/copy.zrm'")
    best_cat=$(echo "$t $best_cat" | awk '{print ($1 < $2) ? $1 : $2}')
    t=$(seconds "$cli" -q -n 1000 "$work/big.zrm" "$work/out.zrm")
    best_tool=$(echo "$t $best_tool" | awk '{print ($1 < $2) ? $1 : $2}')
done

echo "model: ${size} MiB"
echo "cat + sync:  ${best_cat} s"
echo "morvane-cli: ${best_tool} s"
echo "ratio:       $(echo "$best_tool $best_cat" | awk '{printf "%.2f", $1 / $2}')"
echo "peak memory, 10 MiB model:      $(peak_kib "$cli" -q -n 1000 "$work/small.zrm" "$work/out-small.zrm") KiB"
echo "peak memory, ${size} MiB model: $(peak_kib "$cli" -q -n 1000 "$work/big.zrm" "$work/out.zrm") KiB"

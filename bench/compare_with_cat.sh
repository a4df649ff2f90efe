#!/usr/bin/env bash
# Times `morvane-cli -q` on each shape of model against `cat` + `sync` of a
# file the size of its output (median of RUNS, default 3, input in the page
# cache), and reports the tool's peak memory for a 10 MiB and a MEBIBYTES
# model of the shape. Two more rows: a batch of COUNT small models with -d against `cp` of
# the same files and one `sync`, and the trace of the 16-byte-chunk model
# written to a file, against the same cat + sync plus a `cat` of as many bytes
# as the trace. The "library" row gives only the peak memory of one process
# that rewrites a library of LIBRARY small models (default 100,000) named by
# a --files-from list: what it holds must not grow with the batch.
# Usage: bench/compare_with_cat.sh [BUILD_DIR] [MEBIBYTES] [COUNT] [ROW...]
# where ROW is a shape name (make_model lists them), "batch", "trace" or
# "library"; all rows when none is named.
set -euo pipefail
build=${1:-build}
size=${2:-128}
count=${3:-2000}
shift $(($# < 3 ? $# : 3))
rows=("$@")
runs=${RUNS:-3}
[ ${#rows[@]} -gt 0 ] || rows=(one-prim large-chunks xyzs-16 mixed-64 unknown-words batch trace library)

work=$(mktemp -d "${TMPDIR:-/var/tmp}/morvane-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
cli="$build/cli/morvane-cli"
make_model="$build/bench/make_model"

volumes_of() { { "$make_model" 2>&1 || true; } | awk -v s="$1" '$1 == s { print $NF }'; }
# Seconds taken by a shell command line, to the millisecond.
elapsed() {
    local start end
    start=$(date +%s%N)
    sh -c "$1"
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e9 }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
peak_mib() {
    /usr/bin/time -o "$work/peak" -f %M "$@" >/dev/null 2>>"$work/summaries"
    awk '{ printf "%.1f MiB", $1 / 1024 }' "$work/peak"
}
mib() { awk -v b="$1" 'BEGIN { printf "%.1f MiB", b / 1048576 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
row() { printf '%-15s %11s %11s %9s %9s %6s %12s %12s\n' "$@"; }

# The median of RUNS runs of each of two command lines, run in turns, each
# after the third; prints both.
race() {
    local baseline=() tool=()
    for _ in $(seq "$runs"); do
        sh -c "$3"
        baseline+=("$(elapsed "$1")")
        sh -c "$3"
        tool+=("$(elapsed "$2")")
    done
    echo "$(printf '%s\n' "${baseline[@]}" | median) $(printf '%s\n' "${tool[@]}" | median)"
}

time_shape() {
    local shape=$1 volumes
    volumes=$(volumes_of "$shape")
    "$make_model" "$shape" "$work/in.zrm" "$size"
    "$make_model" "$shape" "$work/small.zrm" 10
    cat "$work/in.zrm" >/dev/null
    "$cli" -q -n "$volumes" "$work/in.zrm" "$work/out.zrm" 2>>"$work/summaries"
    cp "$work/out.zrm" "$work/same-size"
    local times
    times=$(race "cat '$work/same-size' > '$work/copy' && sync '$work/copy'" \
        "'$cli' -q -n $volumes '$work/in.zrm' '$work/out.zrm' 2>>'$work/summaries'" \
        "rm -f '$work/copy' '$work/out.zrm'")
    set -- $times
    row "$shape" "$(mib "$(stat -c %s "$work/in.zrm")")" "$(mib "$(stat -c %s "$work/out.zrm")")" \
        "$1 s" "$2 s" "$(ratio "$2" "$1")" \
        "$(peak_mib "$cli" -q -n "$volumes" "$work/small.zrm" "$work/out-small.zrm")" \
        "$(peak_mib "$cli" -q -n "$volumes" "$work/in.zrm" "$work/out.zrm")"
    rm -f "$work"/*.zrm "$work/same-size" "$work/copy"
}

# Each run writes into folders of its own, removed only at the end: the file
# system is slow to reuse the inodes of files it has only just deleted.
time_batch() {
    local volumes baseline=() tool=()
    volumes=$(volumes_of small)
    "$make_model" --batch "$work/batch" "$count"
    cat "$work"/batch/* >/dev/null
    for run in $(seq "$runs"); do
        mkdir "$work/copies-$run" "$work/out-$run"
        baseline+=("$(elapsed "cp '$work'/batch/* '$work/copies-$run/' && sync")")
        tool+=("$(elapsed "'$cli' -q -n $volumes -d '$work/out-$run' '$work'/batch/* 2>>'$work/summaries'")")
    done
    set -- "$(printf '%s\n' "${baseline[@]}" | median)" "$(printf '%s\n' "${tool[@]}" | median)"
    mkdir "$work/out"
    row "batch of $count" "$(mib "$(du -sb "$work/batch" | cut -f1)")" \
        "$(mib "$(du -sb "$work/out-1" | cut -f1)")" "$1 s" "$2 s" "$(ratio "$2" "$1")" "" \
        "$(peak_mib "$cli" -q -n "$volumes" -d "$work/out" "$work"/batch/*)"
    rm -rf "$work/batch" "$work"/copies-* "$work"/out*
}

peak_library() {
    local volumes models=${LIBRARY:-100000}
    volumes=$(volumes_of small)
    "$make_model" --batch "$work/library" "$models"
    mkdir "$work/out"
    row "library of $models" "$(mib "$(du -sb "$work/library" | cut -f1)")" "" "" "" "" "" \
        "$(find "$work/library" -name '*.zrm' -print0 |
            peak_mib "$cli" -q -n "$volumes" -d "$work/out" --files-from - -0)"
    rm -rf "$work/library" "$work/out"
}

# The baseline writes the trace's bytes too, unsynced as the tool's are.
time_trace() {
    local volumes
    volumes=$(volumes_of xyzs-16)
    "$make_model" xyzs-16 "$work/in.zrm" "$size"
    cat "$work/in.zrm" >/dev/null
    "$cli" -n "$volumes" "$work/in.zrm" "$work/out.zrm" >"$work/trace.txt" 2>>"$work/summaries"
    cp "$work/out.zrm" "$work/same-size"
    cp "$work/trace.txt" "$work/trace-size"
    local times quiet
    times=$(race "cat '$work/same-size' > '$work/copy' && sync '$work/copy' && cat '$work/trace-size' > '$work/trace-copy'" \
        "'$cli' -n $volumes '$work/in.zrm' '$work/out.zrm' > '$work/trace.txt' 2>>'$work/summaries'" \
        "rm -f '$work/copy' '$work/trace-copy' '$work/out.zrm' '$work/trace.txt'")
    quiet=$(race "true" "'$cli' -q -n $volumes '$work/in.zrm' '$work/out.zrm' 2>>'$work/summaries'" \
        "rm -f '$work/out.zrm'")
    set -- $times $quiet
    row "xyzs-16 traced" "$(mib "$(stat -c %s "$work/in.zrm")")" \
        "$(mib "$(stat -c %s "$work/trace-size")") trace" "$1 s" "$2 s" "$(ratio "$2" "$1")" "" ""
    echo "  (the quiet run took $4 s: the trace costs $(ratio "$2" "$4") × the quiet run)"
    rm -f "$work"/*.zrm "$work"/trace* "$work/same-size" "$work/copy"
}

row "model" "input" "output" "baseline" "tool" "ratio" "peak 10 MiB" "peak ${size} MiB"
for what in "${rows[@]}"; do
    case $what in
    batch) time_batch ;;
    trace) time_trace ;;
    library) peak_library ;;
    *) time_shape "$what" ;;
    esac
done

# What the tests of the many-models recipes share, sourced by them: the
# recipes as docs/many-models.md spells them, a tree of models whose names a
# shell, make or GNU parallel could misread, and the checks of a recipe's
# outputs against a single rewrite of each model.
# The sourcing test sets cli (the tool, an absolute path) and source (the
# repository), and works in a folder of its own.

fail() { echo "FAIL: $*" >&2; exit 1; }

# The Nth fenced block of the page; with no N, how many blocks there are.
page_block() {
    awk -v want="${1:-0}" '
        /^```/ { open = !open; blocks += open; next }
        open && blocks == want
        END { if (want == 0) print blocks }' "$source/docs/many-models.md"
}
# The Nth block, which must hold TEXT: the page's order is part of what is
# tested, so that a recipe cannot silently stop being run.
block_with() {
    local text
    text=$(page_block "$1")
    [[ $text == *"$2"* ]] || fail "block $1 of the page is not the one with '$2': $text"
    printf '%s\n' "$text"
}

# Names that make can carry, and those it cannot, each with the name as the
# Makefile must report it. Several folders hold a hull.zrm, and the deepest
# folders lie four below models/; the top holds a folder named like a model
# and folders and a model named with what a shell would read.
plain=(
    hull.zrm ships/hull.zrm ships/{frigate,galleon,sloop/rigging}/lod{0,1,2}/{hull,deck}.zrm
    ships/frigate/SAIL.ZRM -dash/hull.zrm odd/-leading.zrm odd/plus+comma,at@.zrm
    odd/modèle.zrm $'odd/caf\xe9.zrm' pack.zrm/hull.zrm
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
    "$cli" -q -n 3 "models/$1" "ref/$1"
}

# models/ holds every model of the tree and a file that is no model; ref/
# holds the single rewrite of each model at its place.
make_tree() {
    local number=0 model
    for model in "${all[@]}"; do
        write_model $((number += 1)) "models/$model"
        single_rewrite "$model"
    done
    mkdir models/textures
    echo "not a model" >models/textures/wood.png
}

# NUL-separated and sorted, so that any name compares.
sorted() { printf '%s\0' "$@" | LC_ALL=C sort -z; }
files_in() { (cd "$1" && find . -type f -printf '%P\0') | LC_ALL=C sort -z; }
# FOLDER holds each NAME, the same as EXPECTED/NAME, and no other file.
holds_exactly() {
    local folder=$1 expected=$2 name
    shift 2
    if ! cmp -s <(sorted "$@") <(files_in "$folder"); then
        LC_ALL=C comm -z -3 <(sorted "$@") <(files_in "$folder") |
            while IFS= read -r -d '' name; do
                [[ $name == $'\t'* ]] && printf '  more: %q\n' "${name#$'\t'}" ||
                    printf '  missing: %q\n' "$name"
            done >&2
        fail "$folder does not hold exactly the files it should"
    fi
    for name; do
        cmp -s "$expected/$name" "$folder/$name" ||
            fail "$(printf '%q' "$folder/$name") is not the same as $(printf '%q' "$expected/$name")"
    done
}
# A recipe that ran clean said one line of WHAT for each model, in FILE, and
# nothing else: no warning of the engine, no failed copy.
said_only() {
    local what=$1 file=$2
    if grep -v "^morvane-cli: $what '" "$file" >&2 ||
        [ "$(grep -c "^morvane-cli: $what '" "$file")" != "${#all[@]}" ]; then
        fail "$file holds more or less than one line '$what' for each model"
    fi
}
nothing_injected() {
    [ -z "$(find . -name INJECTED)" ] || fail "$1 ran a command out of a model's name"
}

#!/usr/bin/env bash
# Loads morvane-cli's completion into its shell (bash, zsh or fish) as that
# shell loads it, completes command lines in a folder of models, and checks
# what the shell offers: every option of --help, nothing for a count or a
# backup suffix, folders after -d, any file after --files-from, and for a
# model the .zrm files, in any case, and the folders.
# Usage: completions_test.sh SHELL COMPLETIONS_DIR MORVANE_CLI
set -euo pipefail
shopt -s inherit_errexit
shell=$1 completions=$(cd "$2" && pwd) cli=$(realpath "$3")
fail() { echo "FAIL: $*" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
folder=$scratch/models
mkdir -p "$folder/sub"
touch "$folder/a.zrm" "$folder/B.ZRM" "$folder/c.txt" "$folder/with space.zrm"
# The shells load a completion only for a command they can find.
export PATH=$(dirname "$cli"):$PATH

# bash: the completion's function, called as bash calls it on Tab, with the
# words split at blanks and at '=' as bash splits them.
complete_in_bash() {
    (cd "$folder" && bash --norc --noprofile -c '
        source "$1" && declare -F _morvane_cli >/dev/null || exit 1
        words=()
        for word in $2 ""; do
            while [[ $word == *=* ]]; do
                words+=("${word%%=*}" =)
                word=${word#*=}
            done
            words+=("$word")
        done
        [[ $2 == *" " ]] || unset "words[${#words[@]}-1]"
        [[ ${words[-1]} == "" && ${words[-2]:-} == = ]] && unset "words[${#words[@]}-1]"
        COMP_WORDS=("${words[@]}")
        COMP_CWORD=$((${#words[@]} - 1))
        COMP_LINE=$2 COMP_POINT=${#2}
        _morvane_cli morvane-cli "${words[-1]}" "${words[-2]}"
        printf "%s\n" "${COMPREPLY[@]}"
    ' bash "$completions/morvane-cli.bash" "$1")
}

# fish: its own completion of the line, the file found in fish_complete_path.
complete_in_fish() {
    (cd "$folder" && fish --no-config -c '
        set -g fish_complete_path $argv[1]
        complete -C $argv[2]
    ' "$completions" "$1") | cut -f1
}

# zsh: an interactive zsh on a pseudo-terminal, its completion system started
# with compinit, types the line and Tab; compadd, wrapped, notes each match
# and each hint the completion adds.
complete_in_zsh() {
    local record=$scratch/zsh-record
    : >"$record"
    timeout 30 zsh -f -c '
        zmodload zsh/zpty
        zpty shell zsh -f -i
        n=0
        type_command() {
            (( n++ ))
            zpty -w shell "$1; print -r -- \$(( $n * 1000 + 1 ))DONE"
            zpty -r shell out "*$(( n * 1000 + 1 ))DONE*"
        }
        type_command "fpath=(${(q)1} \$fpath); autoload -Uz compinit"
        type_command "compinit -u -d ${(q)5}; cd ${(q)2}; zstyle \":completion:*\" format %d"
        type_command "compadd() {
            if (( \${@[(I)-[ODA]*]} )); then builtin compadd \"\$@\"; return; fi
            local -a found; builtin compadd -O found \"\$@\"
            (( \$#found )) && print -rl -- \${(Q)found} >>${(q)3}
            local i=\${@[(I)-x]}
            (( i )) && print -r -- \"hint: \${@[i+1]}\" >>${(q)3}
            builtin compadd \"\$@\"
        }"
        zpty -w -n shell "$4"$'\''\t'\''
        type_command $'\''\C-e\C-u:'\''
        zpty -d shell
    ' zsh "$completions" "$folder" "$record" "$1" "$scratch/zcompdump" ||
        fail "zsh did not complete '$1'"
    cat "$record"
}

# What the shell offers for a line, one a line, sorted: without a value's
# '--option=' before it or a folder's trailing '/', and without hints.
offered() {
    local line=$1 attached=
    [[ ${line##* } == --*=* ]] && attached=${line##* } && attached=${attached%%=*}=
    "complete_in_$shell" "$line" >"$scratch/offered"
    sed -e '/^hint: /d' -e "s|^${attached}||" -e 's|/$||' "$scratch/offered" | sort -u
}

hints() {
    "complete_in_$shell" "$1" >"$scratch/offered"
    sed -n 's/^hint: //p' "$scratch/offered"
}

expect() {
    local line=$1 expected
    expected=$(printf '%s\n' "${@:2}" | sed '/^$/d' | sort -u)
    actual=$(offered "$line")
    [ "$actual" = "$expected" ] ||
        fail "$shell offers for '$line':"$'\n'"$actual"$'\n'"instead of:"$'\n'"$expected"
}

source "$(dirname "$0")/help_options.sh"
mapfile -t options < <(help_options "$cli")
[ ${#options[@]} -gt 10 ] || fail "no options found in $cli --help"
mapfile -t long < <(printf '%s\n' "${options[@]}" | grep -- '^--')

models=(a.zrm B.ZRM sub 'with space.zrm')
files=(a.zrm B.ZRM c.txt sub 'with space.zrm')
expect 'morvane-cli -' "${options[@]}"
expect 'morvane-cli --' "${long[@]}"
expect 'morvane-cli ' "${models[@]}"
expect 'morvane-cli -q -n 3 -d sub w' 'with space.zrm'
expect 'morvane-cli -i --backup ' "${models[@]}"
expect 'morvane-cli -d ' sub
expect 'morvane-cli --directory=' sub
expect 'morvane-cli --files-from ' "${files[@]}"
expect 'morvane-cli --files-from=' "${files[@]}"
for line in 'morvane-cli -n ' 'morvane-cli --volumes=' 'morvane-cli --backup='; do
    expect "$line"
done
# zsh can show what a value is where it offers none.
if [ "$shell" = zsh ]; then
    case $(hints 'morvane-cli -n ') in
    *"collision volumes"*) ;;
    *) fail "zsh gives no hint for the count" ;;
    esac
fi
echo "$shell completion: offers every option and the right names"

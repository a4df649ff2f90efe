# bash completion for morvane-cli                          -*- shell-script -*-
# Installed as share/bash-completion/completions/morvane-cli, where
# bash-completion finds it when morvane-cli is first completed. It needs
# nothing of bash-completion's own.

_morvane_cli_options='-n --volumes -d --directory -i --in-place --backup
    -r --recursive --files-from -0 --null --dry-run -q --quiet --skip-rewritten
    --list --json -h --help --version'

# Fills COMPREPLY with the folders and the .zrm files, in any case, whose
# names begin with $1.
_morvane_cli_models() {
    local name
    while IFS= read -r name; do
        [[ -d $name ]] && continue
        COMPREPLY+=("$name")
    done < <(compgen -f -X '!*.[zZ][rR][mM]' -- "$1")
    while IFS= read -r name; do
        COMPREPLY+=("$name")
    done < <(compgen -d -- "$1")
}

_morvane_cli() {
    COMPREPLY=()
    local cur=${COMP_WORDS[COMP_CWORD]} prev= attached=
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
    # Bash splits --files-from=FILE into three words at the '='.
    if [[ $cur == = ]]; then
        cur= attached=1
    elif [[ $prev == = ]] && ((COMP_CWORD > 1)); then
        prev=${COMP_WORDS[COMP_CWORD - 2]} attached=1
    fi

    case $prev in
    -n | --volumes)
        # A count is the user's to choose; nothing is guessed.
        return
        ;;
    -d | --directory)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -d -- "$cur")
        return
        ;;
    --files-from)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
        ;;
    --backup)
        # Its suffix is attached (--backup=SUFFIX); a word after a bare
        # --backup is a model.
        [[ $attached ]] && return
        ;;
    esac

    local i
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == -- ]] && break
    done
    if [[ $cur == -* ]] && ((i == COMP_CWORD)); then
        mapfile -t COMPREPLY < <(compgen -W "$_morvane_cli_options" -- "$cur")
        return
    fi
    compopt -o filenames 2>/dev/null
    _morvane_cli_models "$cur"
}

complete -F _morvane_cli morvane-cli

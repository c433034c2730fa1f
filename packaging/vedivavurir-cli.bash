# bash completion for vedivavurir-cli
#
# Commands, options, the kinds of their values and the choices of --screen
# come from a word list written from the program's table of commands when it
# is built (share/vedivavurir-cli/completion-words beside the program's bin/),
# so a Tab reads a file and never runs the program.

# The program the line names, looked up in PATH by bash alone: a Tab should
# start no process where it can help it.
_vedivavurir_cli_where() {
    local folder
    if [[ "$1" == */* ]]; then
        _vedivavurir_cli_program="$1"
        return 0
    fi
    local IFS=:
    for folder in $PATH; do
        if [ -x "${folder:-.}/$1" ]; then
            _vedivavurir_cli_program="${folder:-.}/$1"
            return 0
        fi
    done
    _vedivavurir_cli_program=""
}

# The word list of the program named on the line, read once per shell.
_vedivavurir_cli_load() {
    local words=""
    _vedivavurir_cli_where "$1"
    [ -n "$_vedivavurir_cli_program" ] &&
        words="${_vedivavurir_cli_program%/*}/../share/vedivavurir-cli/completion-words"
    [ -r "$words" ] || words=/usr/share/vedivavurir-cli/completion-words
    [ -r "$words" ] || return 1
    [ "${_vedivavurir_cli_words-}" = "$words" ] && return 0
    _vedivavurir_cli_commands=()
    declare -gA _vedivavurir_cli_options=() _vedivavurir_cli_kinds=() _vedivavurir_cli_choices=() \
        _vedivavurir_cli_arguments=()
    local record command spelling value
    while IFS=$'\t' read -r record command spelling value; do
        case "$record" in
        command) _vedivavurir_cli_commands+=("$command") ;;
        option)
            _vedivavurir_cli_options[$command]+="$spelling "
            _vedivavurir_cli_kinds[$command $spelling]="$value"
            ;;
        choice) _vedivavurir_cli_choices[$command $spelling]+="$value"$'\n' ;;
        argument) _vedivavurir_cli_arguments[$command]+="$spelling " ;;
        esac
    done <"$words"
    _vedivavurir_cli_words="$words"
}

# Databases already built in the start directory the line names (-C DIR),
# else $VEDIVAVURIR_START_DIR, else the current directory, whose names start
# with $1, added to COMPREPLY.
_vedivavurir_cli_names() {
    local folder="${VEDIVAVURIR_START_DIR:-.}" i pdb
    for ((i = 1; i < COMP_CWORD; i++)); do
        case "${COMP_WORDS[i]}" in
        -C | --start-dir) folder="${COMP_WORDS[i + 1]/#\~/$HOME}" ;;
        esac
    done
    for pdb in "$folder"/PDBFiles/*.pdb; do
        [ -e "$pdb" ] || continue
        pdb="${pdb##*/}"
        pdb="${pdb%.pdb}"
        [[ "$pdb" == "$1"* ]] && COMPREPLY+=("$pdb")
    done
}

# The words of $2... that start with $1, added to COMPREPLY.
_vedivavurir_cli_match() {
    local prefix="$1" word
    shift
    for word in "$@"; do
        [[ "$word" == "$prefix"* ]] && COMPREPLY+=("$word")
    done
    return 0
}

_vedivavurir_cli() {
    local cur="${COMP_WORDS[COMP_CWORD]}" prev=""
    [ "$COMP_CWORD" -gt 0 ] && prev="${COMP_WORDS[COMP_CWORD - 1]}"
    COMPREPLY=()
    # --option=value arrives as three words: the option, "=" and the value.
    if [ "$cur" = "=" ]; then
        prev="${COMP_WORDS[COMP_CWORD - 1]}"
        cur=""
    elif [ "$prev" = "=" ] && [ "$COMP_CWORD" -gt 1 ]; then
        prev="${COMP_WORDS[COMP_CWORD - 2]}"
    fi
    _vedivavurir_cli_load "${COMP_WORDS[0]}" || return 0

    # The command is the first word that is neither an option nor an option's value.
    local context="-" given=0 i word
    for ((i = 1; i < COMP_CWORD; i++)); do
        word="${COMP_WORDS[i]}"
        case "$word" in
        =) ;;
        -*)
            local kind="${_vedivavurir_cli_kinds[$context $word]-none}"
            [ "$kind" != none ] && [ "${COMP_WORDS[i + 1]-}" != "=" ] && ((i++))
            ;;
        *)
            if [ "$context" = "-" ]; then
                context="$word"
                [ -n "${_vedivavurir_cli_options[$context]-}" ] || return 0
            else
                given=$((given + 1))
            fi
            ;;
        esac
    done

    if [[ "$prev" == -* ]]; then
        case "${_vedivavurir_cli_kinds[$context $prev]-none}" in
        none) ;;
        screen)
            # Choices with blanks ("320x320 OS5") are offered quoted.
            local bare="${cur#[\"\']}" choice
            while IFS= read -r choice; do
                [ -n "$choice" ] && [[ "$choice" == "$bare"* ]] && COMPREPLY+=("$(printf '%q' "$choice")")
            done <<<"${_vedivavurir_cli_choices[$context $prev]-}"
            return 0
            ;;
        name)
            _vedivavurir_cli_names "$cur"
            return 0
            ;;
        database)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -X '!*.[pP][dD][bB]' -- "$cur"; compgen -d -- "$cur")
            return 0
            ;;
        folder)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            return 0
            ;;
        picture | picture-out | database-out)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return 0
            ;;
        *) return 0 ;;
        esac
    fi
    if [[ "$cur" == -* ]]; then
        # shellcheck disable=SC2086 # a list of words
        _vedivavurir_cli_match "$cur" ${_vedivavurir_cli_options[$context]-}
    elif [ "$context" = "-" ]; then
        _vedivavurir_cli_match "$cur" "${_vedivavurir_cli_commands[@]}"
    elif [ "$given" -eq 0 ] && [ -n "${_vedivavurir_cli_arguments[$context]-}" ]; then
        # shellcheck disable=SC2086 # a list of words
        _vedivavurir_cli_match "$cur" ${_vedivavurir_cli_arguments[$context]}
    else
        # shellcheck disable=SC2086 # a list of words
        _vedivavurir_cli_match "$cur" ${_vedivavurir_cli_options[$context]-}
    fi
    return 0
}
complete -F _vedivavurir_cli vedivavurir-cli

# bash completion for vedivavurir-cli
#
# Commands, options and the choices of arguments are read from the program's
# own --help (and COMMAND --help), so the completion always matches the
# installed version: a new command or option needs no edit here.

# The help of the program, or of one of its commands; nothing when it fails.
_vedivavurir_cli_help() {
    "$@" --help 2>/dev/null
}

# The names of the overview's "Commands:" list.
_vedivavurir_cli_commands() {
    awk '/^Commands:$/ {on = 1; next} on && /^$/ {exit} on && /^  [a-z]/ {print $1}'
}

# Every -x and --long spelling that opens an indented line below "Options:".
_vedivavurir_cli_options() {
    awk '$0 == "Options:" {on = 1; next} on && /^$/ {on = 0}
        on && /^  -/ { n = split($0, w, /[ ,]+/); for (i = 1; i <= n; i++) { if (w[i] == "") continue; if (w[i] !~ /^-/) break; print w[i] } }'
}

# The value an option takes, as its help line names it ("--sheet <FILE>"
# gives FILE); nothing for an option without a value.
_vedivavurir_cli_value() {
    awk -v option="$1" '$0 == "Options:" {on = 1; next}
        on && /^  -/ { n = split($0, w, /[ ,]+/)
            for (i = 1; i <= n; i++) { if (w[i] == "") continue; if (w[i] == option) { if (w[i + 1] ~ /^</) { v = w[i + 1]; gsub(/[<>]/, "", v); print v } exit } if (w[i] !~ /^-/) break } }'
}

# The texts in double quotes of an option's description ("160x160 Low", ...):
# the choices it offers.
_vedivavurir_cli_quoted_choices() {
    awk -v option="$1" '$0 == "Options:" {on = 1; next}
        on && /^  -/ { mine = 0; n = split($0, w, /[ ,]+/); for (i = 1; i <= n; i++) { if (w[i] == option) mine = 1; if (w[i] != "" && w[i] !~ /^-/) break } }
        on && mine { text = $0; while (match(text, /"[^"]*"/)) { print substr(text, RSTART + 1, RLENGTH - 2); text = substr(text, RSTART + RLENGTH) } }'
}

# The choices of a positional argument described as "theme or iconset" or
# "a, b or c" under "Arguments:".
_vedivavurir_cli_argument_choices() {
    awk '$0 == "Arguments:" {on = 1; next} on && /^$/ {on = 0}
        on && /^  [a-z]/ { sub(/^  [^ ]+ +/, ""); if ($0 ~ /^[a-z]+((, | or )[a-z]+)+$/) { gsub(/, | or /, " "); print } }'
}

_vedivavurir_cli() {
    local cur="${COMP_WORDS[COMP_CWORD]}" prev="" program="${COMP_WORDS[0]}"
    [ "$COMP_CWORD" -gt 0 ] && prev="${COMP_WORDS[COMP_CWORD - 1]}"
    COMPREPLY=()
    # --option=value arrives as three words: the option, "=" and the value.
    if [ "$cur" = "=" ]; then
        prev="${COMP_WORDS[COMP_CWORD - 1]}"
        cur=""
    elif [ "$prev" = "=" ] && [ "$COMP_CWORD" -gt 1 ]; then
        prev="${COMP_WORDS[COMP_CWORD - 2]}"
    fi

    local help command="" i
    help="$(_vedivavurir_cli_help "$program")" || return 0
    for ((i = 1; i < COMP_CWORD; i++)); do
        case "${COMP_WORDS[i]}" in
        -* | =) ;;
        *)
            command="${COMP_WORDS[i]}"
            break
            ;;
        esac
    done
    if [ -z "$command" ]; then
        if [[ "$cur" == -* ]]; then
            mapfile -t COMPREPLY < <(compgen -W "$(_vedivavurir_cli_options <<<"$help")" -- "$cur")
        else
            mapfile -t COMPREPLY < <(compgen -W "$(_vedivavurir_cli_commands <<<"$help")" -- "$cur")
        fi
        return 0
    fi

    help="$(_vedivavurir_cli_help "$program" "$command")" || return 0
    local value=""
    [[ "$prev" == -* ]] && value="$(_vedivavurir_cli_value "$prev" <<<"$help")"
    if [ -n "$value" ]; then
        local choices=() choice
        mapfile -t choices < <(_vedivavurir_cli_quoted_choices "$prev" <<<"$help")
        if [ ${#choices[@]} -gt 0 ]; then
            # Choices with blanks ("320x320 OS5") are offered quoted.
            local bare="${cur#[\"\']}"
            for choice in "${choices[@]}"; do
                [[ "$choice" == "$bare"* ]] && COMPREPLY+=("$(printf '%q' "$choice")")
            done
        elif [ "$value" = "FILE" ]; then
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        elif [ "$value" = "NAME" ]; then
            # Databases already built in this start directory.
            local names=() pdb
            for pdb in PDBFiles/*.pdb; do
                [ -e "$pdb" ] && names+=("$(basename "$pdb" .pdb)")
            done
            mapfile -t COMPREPLY < <(compgen -W "${names[*]}" -- "$cur")
        fi
        return 0
    fi
    if [[ "$cur" == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$(_vedivavurir_cli_options <<<"$help")" -- "$cur")
    else
        mapfile -t COMPREPLY < <(compgen -W "$(_vedivavurir_cli_argument_choices <<<"$help")" -- "$cur")
        [ ${#COMPREPLY[@]} -gt 0 ] ||
            mapfile -t COMPREPLY < <(compgen -W "$(_vedivavurir_cli_options <<<"$help")" -- "$cur")
    fi
    return 0
}
complete -F _vedivavurir_cli vedivavurir-cli

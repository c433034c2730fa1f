#!/usr/bin/env bash
# The bash completion of vedivavurir-cli offers every command and every
# option the program's --help lists (it reads them from there, so a new
# command or option of the program must show up without an edit), and
# completes the values that have natural choices: databases of PDBFiles/ for
# --name, the quoted choices of --screen, files for FILE options, and the
# kinds of the script command.
# Usage: check_completion.sh BUILD_DIR COMPLETION_FILE
set -euo pipefail
BUILD_DIR="$1"
COMPLETION="$2"
export LC_ALL=C.UTF-8
source "$(dirname "${BASH_SOURCE[0]}")/help_text.sh"
SCRATCH="$(mktemp -d)"
trap 'rm -rf "$SCRATCH"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
export PATH="$BUILD_DIR/bin:$PATH"
PROGRAM=vedivavurir-cli

bash -n "$COMPLETION" || fail "$COMPLETION is not valid bash"
# shellcheck source=/dev/null
source "$COMPLETION"
complete -p "$PROGRAM" >/dev/null 2>&1 || fail "$COMPLETION registers no completion for $PROGRAM"

# Completions offered for a command line whose last word is being typed, one
# a line, sorted.
offered() {
    COMP_WORDS=("$PROGRAM" "$@")
    COMP_CWORD=$#
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _vedivavurir_cli
    [ ${#COMPREPLY[@]} -eq 0 ] || printf '%s\n' "${COMPREPLY[@]}" | sort -u
}

expect() { # description expected actual
    [ "$2" = "$3" ] || fail "$1: expected [$(echo $2)], offered [$(echo $3)]"
}

help="$("$PROGRAM" --help)"
commands="$(help_commands <<<"$help")"
[ -n "$commands" ] || fail "$PROGRAM --help lists no commands"
expect "commands" "$(sort -u <<<"$commands")" "$(offered "")"
expect "options before a command" "$(help_options <<<"$help")" "$(offered -)"
for command in $commands; do
    expect "options of $command" "$(help_options < <("$PROGRAM" "$command" --help))" "$(offered "$command" -)"
done

cd "$SCRATCH"
mkdir PDBFiles ThmeBMP
touch PDBFiles/Sunset.pdb PDBFiles/Tools.pdb PDBFiles/notes.txt ThmeBMP/SkinSheetHigh.bmp
expect "built databases for --name" "$(printf 'Sunset\nTools')" "$(offered install --name "")"
expect "--name=VALUE" "Sunset" "$(offered install --name = S)"
expect "files for a FILE option" "ThmeBMP/SkinSheetHigh.bmp" "$(offered theme --hires-sheet ThmeBMP/S)"
expect "screens for --screen" "$(printf '320x320\\ OS5\n320x320\\ Sony\n320x480\\ Sony')" \
    "$(offered iconset --screen 320)"
expect "kinds of script" "$(printf 'iconset\ntheme')" "$(offered script "")"
expect "no value guessed for --depths" "" "$(offered theme --depths "")"

if [ "$failures" -gt 0 ]; then
    echo "$failures failure(s) in packaging/vedivavurir-cli.bash" >&2
    exit 1
fi
echo "completion agrees with --help"

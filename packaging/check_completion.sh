#!/usr/bin/env bash
# The bash completion of vedivavurir-cli offers every command and every
# option the program's --help lists, and the options every command takes
# besides, from the word list the build writes from the program's table of
# commands; it completes the values that have natural choices (databases of
# PDBFiles/ for --name, the quoted choices of --screen, .pdb files for
# unpack --from, folders for --icons and -C, files for FILE options, the
# kinds of the script command), and it never runs the program.
# Usage: check_completion.sh BUILD_DIR COMPLETION_FILE
set -euo pipefail
BUILD_DIR="$(cd "$1" && pwd)"
COMPLETION="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
export LC_ALL=C.UTF-8
unset VEDIVAVURIR_START_DIR
# shellcheck source=packaging/help_text.sh
source "$(dirname "${BASH_SOURCE[0]}")/help_text.sh"
SCRATCH="$(mktemp -d)"
trap 'rm -rf "$SCRATCH"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
PROGRAM=vedivavurir-cli
REAL="$BUILD_DIR/bin/$PROGRAM"

# The program the completion finds is a stand-in that notes every run of it,
# with the build's word list beside it as an installed copy has it.
mkdir -p "$SCRATCH/prefix/bin" "$SCRATCH/prefix/share/vedivavurir-cli"
cp "$BUILD_DIR/share/vedivavurir-cli/completion-words" "$SCRATCH/prefix/share/vedivavurir-cli/" ||
    fail "the build wrote no share/vedivavurir-cli/completion-words"
printf '#!/bin/sh\necho ran >>"%s/ran"\n' "$SCRATCH" >"$SCRATCH/prefix/bin/$PROGRAM"
chmod +x "$SCRATCH/prefix/bin/$PROGRAM"
export PATH="$SCRATCH/prefix/bin:$PATH"

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
    [ "$2" = "$3" ] || fail "$1: expected [${2//$'\n'/ }], offered [${3//$'\n'/ }]"
}

help="$("$REAL" --help)"
commands="$(help_commands <<<"$help")"
[ -n "$commands" ] || fail "$PROGRAM --help lists no commands"
top_options="$(help_options <<<"$help")"
expect "commands" "$(sort -u <<<"$commands")" "$(offered "")"
expect "options before a command" "$top_options" "$(offered -)"
# Every command takes the options of the tool itself, but --version.
common="$(grep -vx -e --version -e -v <<<"$top_options")"
for command in $commands; do
    expect "options of $command" "$(sort -u <(help_options < <("$REAL" "$command" --help)) <(echo "$common"))" \
        "$(offered "$command" -)"
done

mkdir "$SCRATCH/work"
cd "$SCRATCH/work"
mkdir -p start/PDBFiles ThmeBMP Icons Backup.pdb.d
touch start/PDBFiles/Sunset.pdb start/PDBFiles/Tools.pdb start/PDBFiles/notes.txt ThmeBMP/SkinSheetHigh.bmp \
    Sunset.pdb Dawn.PDB notes.txt
cp -r start/PDBFiles .
expect "built databases for --name" "$(printf 'Sunset\nTools')" "$(offered install --name "")"
expect "--name=VALUE" "Sunset" "$(offered install --name = S)"
expect "--name of the start directory -C names" "$(printf 'Sunset\nTools')" \
    "$(rm -rf PDBFiles && offered -C start install --name "")"
expect "files for a FILE option" "ThmeBMP/SkinSheetHigh.bmp" "$(offered theme --hires-sheet ThmeBMP/S)"
expect "screens for --screen" "$(printf '320x320\\ OS5\n320x320\\ Sony\n320x480\\ Sony')" \
    "$(offered iconset --screen 320)"
expect "kinds of script" "$(printf 'iconset\ntheme')" "$(offered script "")"
expect "options after the kind of script" "--screen" "$(offered script theme --scr)"
expect "no value guessed for --depths" "" "$(offered theme --depths "")"
expect "databases and folders for unpack --from" "$(printf 'Backup.pdb.d\nDawn.PDB\nIcons\nSunset.pdb\nThmeBMP\nstart')" \
    "$(offered unpack --from "")"
expect "folders for --icons" "$(printf 'Backup.pdb.d\nIcons\nThmeBMP\nstart')" "$(offered unpack --icons "")"
expect "folders for -C" "$(printf 'Icons')" "$(offered -C I)"
expect "the command after -C DIR" "$(printf 'iconset\ninstall')" "$(offered -C start i)"
[ ! -e "$SCRATCH/ran" ] || fail "the completion ran $PROGRAM $(wc -l <"$SCRATCH/ran") time(s)"

if [ "$failures" -gt 0 ]; then
    echo "$failures failure(s) in packaging/vedivavurir-cli.bash" >&2
    exit 1
fi
echo "completion agrees with --help and runs nothing"

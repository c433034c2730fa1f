#!/usr/bin/env bash
# Each manual page lists exactly the options of its program's --help, and the
# page of vedivavurir-cli has a section for every command its --help names,
# listing exactly that command's options. The pages are made from --help when
# the programs are built; this catches a page that lags behind its program or
# a help text the page maker misreads.
# Usage: check_manpages.sh BUILD_DIR
set -euo pipefail
BUILD_DIR="$(cd "$1" && pwd)"
BIN="$BUILD_DIR/bin"
MAN="$BUILD_DIR/packaging/man"
export LC_ALL=C.UTF-8
# shellcheck source=packaging/help_text.sh
source "$(dirname "${BASH_SOURCE[0]}")/help_text.sh"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The same from a page's roff: the tag line after each .TP of one section
# (.SH OPTIONS) or subsection (.SS "COMMAND" of .SH COMMANDS).
page_options() {
    local page="$1" section="$2" subsection="${3:-}"
    zcat "$page" | awk -v section="$section" -v subsection="$subsection" '
        /^\.SH / { s = $0; sub(/^\.SH +"?/, "", s); sub(/"$/, "", s); in_section = (s == section); sub_ok = (subsection == ""); next }
        /^\.SS / { if (subsection != "") { s = $0; sub(/^\.SS +"?/, "", s); sub(/"$/, "", s); sub_ok = (s == subsection) } next }
        in_section && sub_ok && /^\.TP/ { tag = 1; next }
        tag {
            tag = 0
            line = $0
            gsub(/\\f(\(..|\[[^]]*\]|.)/, "", line); gsub(/\\[,\/&]/, "", line); gsub(/\\-/, "-", line)
            n = split(line, w, /[ ,]+/)
            for (i = 1; i <= n; i++) { if (w[i] == "") continue; if (w[i] !~ /^-/) break; print w[i] }
        }' | sort -u
}

compare() { # what help-options page-options
    local what="$1" from_help="$2" from_page="$3" option
    for option in $(comm -23 <(echo "$from_help") <(echo "$from_page")); do
        fail "$what: $option is in --help but not on the manual page"
    done
    for option in $(comm -13 <(echo "$from_help") <(echo "$from_page")); do
        fail "$what: $option is on the manual page but not in --help"
    done
}

for program in vedivavurir vedivavurir-cli vkdm_pdb; do
    page="$MAN/$program.1.gz"
    if [ ! -f "$page" ]; then
        fail "$page is missing (is help2man installed? it makes the pages when the programs are built)"
        continue
    fi
    help="$(env -u DISPLAY -u WAYLAND_DISPLAY "$BIN/$program" --help)" || { fail "$program --help failed"; continue; }
    top_help="$(help_options <<<"$help")"
    [ -n "$top_help" ] || fail "$program --help lists no options"
    compare "$program.1 OPTIONS" "$top_help" "$(page_options "$page" OPTIONS)"

    commands="$(help_commands <<<"$help")"
    if [ -n "$commands" ]; then
        # The page takes its commands from the "Commands:" list; the argument's
        # description names them too, and both must agree.
        for command in $(comm -3 <(sort -u <<<"$commands") <(help_argument_choices command <<<"$help") | tr -d '\t'); do
            fail "$program --help: the command $command is in only one of its \"Commands:\" list and its" \
                "\"command\" argument's description; add it to the other"
        done
    fi
    for command in $commands; do
        command_help="$("$BIN/$program" "$command" --help)" || { fail "$program $command --help failed"; continue; }
        if ! zcat "$page" | grep -qx ".SS \"$command\""; then
            fail "$program.1 has no section for the command $command"
            continue
        fi
        compare "$program.1 COMMANDS $command" "$(help_options <<<"$command_help")" \
            "$(page_options "$page" COMMANDS "$command")"
    done
done
if [ "$failures" -gt 0 ]; then
    echo "$failures difference(s): rebuild the pages (cmake --build _build) and rerun;" \
        "a difference that stays means packaging/man/make_manpage.sh misreads the help" >&2
    exit 1
fi
echo "manual pages agree with --help"

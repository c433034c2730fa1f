#!/usr/bin/env bash
# Writes a program's manual page with help2man: synopsis and options from the
# program's own --help, the other sections from INCLUDE. A program whose help
# has a "Commands:" list also gets a COMMANDS section made from each command's
# own --help, so a new command or option reaches the page with no edit here.
# Usage: make_manpage.sh PROGRAM INCLUDE CHANGELOG OUTPUT.1.gz
set -euo pipefail
program="$1" include="$2" changelog="$3" output="$4"
name="$(basename "$program")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8
# The page is dated by the release it describes, not by the build.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH="$(date -d "$(sed -n 's/^ -- .*>  //p' "$changelog" | head -n 1)" +%s)"
    export SOURCE_DATE_EPOCH
fi

# One command's --help (Qt's layout: a usage line, a description, then
# "Options:" and "Arguments:" lists of two-space-indented entries whose text
# continues on deeper-indented lines) as a roff subsection.
command_section() {
    local command="$1"
    "$program" "$command" --help | awk -v name="$name" -v command="$command" '
        function roff(s) {
            gsub(/\\/, "\\e", s); gsub(/-/, "\\-", s)
            return s ~ /^[.\047]/ ? "\\&" s : s
        }
        # "-h, --help" and "--name <NAME>": option names bold, values italic.
        function term(s,    n, i, w, out) {
            n = split(s, words, / +/)
            for (i = 1; i <= n; i++) {
                w = words[i]
                comma = sub(/,$/, "", w) ? "," : ""
                out = out (i > 1 ? " " : "") (w ~ /^-/ ? "\\fB" roff(w) "\\fR" : "\\fI" roff(w) "\\fR") comma
            }
            return out
        }
        NR == 1 && sub(/^Usage: +[^ ]+ */, "") {
            if ($1 == command) sub(/^[^ ]+ */, "")
            # One line: a line of its own like "[options]" would open a section.
            print ".SS \"" command "\""
            print "\\fB" roff(name) " " roff(command) "\\fR " roff($0)
            print ".br"
            next
        }
        /^(Options|Arguments):$/ { list = 1; next }
        !list && NF { print roff($0); next }
        list && /^  [^ ]/ {
            line = substr($0, 3)
            if (match(line, /   */)) { print ".TP"; print term(substr(line, 1, RSTART - 1)); print roff(substr(line, RSTART + RLENGTH)) }
            else { print ".TP"; print term(line) }
            next
        }
        list && /^   / { sub(/^ +/, ""); print roff($0) }
    '
}

# The commands come first so that their section follows OPTIONS.
: >"$work/page.h2m"
commands="$("$program" --help | awk '/^Commands:$/ {on = 1; next} on && /^$/ {exit} on && /^  [a-z]/ {print $1}')"
if [ -n "$commands" ]; then
    {
        echo "[COMMANDS]"
        printf '%s\n' "Each command lists its options with \\fB${name//-/\\-}\\fR \\fIcommand\\fR \\fB\\-\\-help\\fR."
        for command in $commands; do
            command_section "$command"
        done
    } >>"$work/page.h2m"
fi
cat "$include" >>"$work/page.h2m"
# help2man reads a help text laid out as "Usage: ..." and "Options:"; a
# program that writes "usage:" and lists its options under no heading is
# shown to it that way.
mkdir "$work/bin"
cat >"$work/bin/$name" <<WRAPPER
#!/usr/bin/env bash
"$program" "\$@" | awk '
    NR == 1 { sub(/^usage:/, "Usage:") }
    /^Options:\$/ { headed = 1 }
    !headed && /^  -/ { print "Options:"; headed = 1 }
    { print }'
WRAPPER
chmod +x "$work/bin/$name"
help2man --no-info --section=1 --include="$work/page.h2m" --output="$work/page.1" "$work/bin/$name"
mkdir -p "$(dirname "$output")"
gzip -9n -c "$work/page.1" >"$output.tmp"
mv "$output.tmp" "$output"

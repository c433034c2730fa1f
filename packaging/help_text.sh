# Reading the programs' --help, for the checks of the manual pages and the
# completion. Sourced.
# shellcheck shell=bash

# The options of a help text: the -x and --long spellings that open an
# indented option line ("  -h, --help", "  --name <NAME>", "  -type TYPE"),
# below its "Options:" heading when it has one. One a line, sorted.
help_options() {
    awk '{ line[NR] = $0 } $0 == "Options:" && !start { start = NR }
        END {
            for (l = start + 1; l <= NR; l++) {
                if (!match(line[l], /^ +-/) || RLENGTH > 11) continue
                n = split(line[l], w, /[ ,]+/)
                for (i = 1; i <= n; i++) { if (w[i] == "") continue; if (w[i] !~ /^-/) break; print w[i] }
            }
        }' | sort -u
}

# The commands of the overview's "Commands:" list, in its order.
help_commands() {
    awk '/^Commands:$/ {on = 1; next} on && /^$/ {exit} on && /^  [a-z]/ {print $1}'
}

# The choices the "Arguments:" list gives for one argument, described as
# "a, b or c". One a line, sorted.
help_argument_choices() {
    awk -v argument="$1" '$0 == "Arguments:" {on = 1; next} on && /^$/ {on = 0}
        on && $1 == argument { sub(/^  [^ ]+ +/, ""); if ($0 ~ /^[a-z]+((, | or )[a-z]+)+$/) { gsub(/, | or /, "\n"); print } }' |
        sort -u
}

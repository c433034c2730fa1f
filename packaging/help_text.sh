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

#!/usr/bin/env bash
# Every example of the README's command-line section and of the manual pages'
# EXAMPLES runs as printed: each source's examples in order, in a fresh start
# directory that the installed vedivavurir --init made, with the shipped
# options, through bash. An example that exits non-zero fails the check.
# Usage: check_examples.sh BUILD_DIR
set -euo pipefail
BUILD_DIR="$(cd "$1" && pwd)"
SOURCE_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SCRATCH="$(mktemp -d)"
trap 'rm -rf "$SCRATCH"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
export LC_ALL=C.UTF-8

# As installed, so --init finds the shipped data and the completion's words.
cmake --install "$BUILD_DIR" --prefix "$SCRATCH/prefix" >/dev/null
export PATH="$SCRATCH/prefix/bin:$PATH"
unset VEDIVAVURIR_START_DIR DISPLAY WAYLAND_DISPLAY

# The README's indented blocks below "## The command line", one example a block.
readme_examples() {
    awk '/^## / { on = ($0 == "## The command line"); next }
        on && /^    / { sub(/^    /, ""); block = block $0 "\n"; next }
        on && block != "" && !/^    / { printf "%s%c", block, 0; block = "" }
        END { if (block != "") printf "%s%c", block, 0 }' "$1"
}

# A page's [EXAMPLES] blocks (.nf to .fi) as the shell reads them: roff's
# escapes undone, its requests dropped.
page_examples() {
    awk '/^\[/ { on = ($0 == "[EXAMPLES]"); next }
        on && /^\.nf/ { inside = 1; block = ""; next }
        on && /^\.fi/ { inside = 0; printf "%s%c", block, 0; next }
        on && inside && !/^\.(RS|RE)/ {
            line = $0
            gsub(/\\-/, "-", line); gsub(/\\\(dq/, "\"", line); gsub(/\\e/, "\\", line)
            block = block line "\n"
        }' "$1"
}

run_examples() { # label extractor source
    local label="$1" extractor="$2" source="$3" count=0 example
    local start="$SCRATCH/start-$label"
    vedivavurir --init "$start" >/dev/null || { fail "$label: vedivavurir --init failed"; return; }
    while IFS= read -r -d '' example; do
        count=$((count + 1))
        if ! (cd "$start" && bash -euo pipefail -c "$example") >"$SCRATCH/out" 2>"$SCRATCH/err"; then
            fail "$label example $count exits non-zero:"$'\n'"$example$(cat "$SCRATCH/err")"
        fi
    done < <("$extractor" "$source")
    [ "$count" -gt 0 ] || fail "$label: no examples found in $source"
    echo "$label: $count example(s)"
}

run_examples README readme_examples "$SOURCE_DIR/README.md"
for page in vedivavurir-cli vkdm_pdb; do
    run_examples "$page.1" page_examples "$SOURCE_DIR/packaging/man/$page.h2m"
done

if [ "$failures" -gt 0 ]; then
    echo "$failures example(s) fail as printed" >&2
    exit 1
fi
echo "every example runs as printed"

#!/usr/bin/env bash
# Builds the compiler's libFuzzer targets with clang in their own build folder
# under _build/ (nothing lands beside the sources) and runs each briefly from a fixed seed, the test fixtures as seed corpus.
# Exits non-zero when a target finds a crash, and when clang is missing
# (scripts/test installs it). Skipped with a notice when VV_SKIP_FUZZ=1.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
FUZZ_BUILD="${VV_FUZZ_BUILD_DIR:-$ROOT/_build/fuzz-compiler}"
SECONDS_EACH="${VV_FUZZ_SECONDS:-8}"
if [ "${VV_SKIP_FUZZ:-0}" = 1 ]; then
    echo "fuzz smoke: skipped (VV_SKIP_FUZZ=1)"
    exit 0
fi
command -v clang++ >/dev/null || { echo "fuzz smoke: clang++ is missing"; exit 1; }
LAUNCHER=()
command -v ccache >/dev/null && LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$ROOT" -B "$FUZZ_BUILD" -DCMAKE_CXX_COMPILER=clang++ -DVV_BUILD_FUZZERS=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo "${LAUNCHER[@]}" >/dev/null
cmake --build "$FUZZ_BUILD" -j"$(nproc)" --target fuzz_script_parser fuzz_picture_to_bitmap fuzz_database_reader
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
FIXTURES="$ROOT/tests/fixtures/compiler"
run() { # target seed-folder...
    local target="$1"
    shift
    mkdir -p "$WORK/$target"
    if ! "$FUZZ_BUILD/bin/$target" "$WORK/$target" "$@" -max_total_time="$SECONDS_EACH" -seed=1 \
        -rss_limit_mb=2048 -artifact_prefix="$WORK/" >"$WORK/$target.log" 2>&1; then
        tail -40 "$WORK/$target.log"
        echo "fuzz smoke: $target failed; the input is in $WORK (kept)"
        trap - EXIT
        exit 1
    fi
    echo "fuzz smoke: $target $(grep -o 'Done [0-9]* runs' "$WORK/$target.log" || echo ok)"
}
run fuzz_script_parser "$FIXTURES/golden"
run fuzz_picture_to_bitmap "$FIXTURES/pictures"
run fuzz_database_reader "$FIXTURES/bin"

#!/usr/bin/env bash
# Builds the loaders' libFuzzer targets with clang in their own build folder
# under _build/ and runs each briefly from a fixed seed, with the test
# fixtures and shipped files as seed corpus. Exits non-zero when a target finds
# a crash, and when clang is missing (scripts/test installs it).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
FUZZ_BUILD="${VV_LOADER_FUZZ_BUILD_DIR:-$ROOT/_build/fuzz-loaders}"
SECONDS_EACH="${VV_FUZZ_SECONDS:-8}"
if [ "${VV_SKIP_FUZZ:-0}" = 1 ]; then
    echo "loader fuzz smoke: skipped (VV_SKIP_FUZZ=1)"
    exit 0
fi
command -v clang++ >/dev/null || { echo "loader fuzz smoke: clang++ is missing"; exit 1; }
LAUNCHER=()
command -v ccache >/dev/null && LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$ROOT" -B "$FUZZ_BUILD" -DCMAKE_CXX_COMPILER=clang++ -DVV_BUILD_LOADER_FUZZERS=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo "${LAUNCHER[@]}" >/dev/null
cmake --build "$FUZZ_BUILD" -j"$(nproc)" --target fuzz_settings_file fuzz_language_file fuzz_sheet_pieces \
    fuzz_database_unpack
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
# Seeds: a few files per target, copied so the fixtures are never written to.
seed() { # target files...
    local target="$1"
    shift
    mkdir -p "$WORK/seeds-$target"
    cp "$@" "$WORK/seeds-$target/"
}
seed fuzz_settings_file "$ROOT/data/vkdm_settings.cfg"
seed fuzz_language_file "$ROOT"/data/Language/*.lng
seed fuzz_sheet_pieces "$ROOT"/tests/fixtures/compiler/pictures/*.bmp
seed fuzz_database_unpack "$ROOT"/tests/fixtures/*.pdb
run() { # target extra-options...
    local target="$1"
    shift
    mkdir -p "$WORK/$target"
    if ! "$FUZZ_BUILD/bin/$target" "$WORK/$target" "$WORK/seeds-$target" -max_total_time="$SECONDS_EACH" -seed=1 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$WORK/" "$@" >"$WORK/$target.log" 2>&1; then
        tail -40 "$WORK/$target.log"
        echo "loader fuzz smoke: $target failed; the input is in $WORK (kept)"
        trap - EXIT
        exit 1
    fi
    echo "loader fuzz smoke: $target $(grep -o 'Done [0-9]* runs' "$WORK/$target.log" || echo ok)," \
        "$(grep -o 'cov: [0-9]*' "$WORK/$target.log" | tail -1)," \
        "peak $(grep -o 'peak_rss_mb: *[0-9]*' "$WORK/$target.log" | grep -o '[0-9]*$') MB"
}
run fuzz_settings_file -max_len=512
run fuzz_language_file -max_len=4096
run fuzz_sheet_pieces -max_len=300000
run fuzz_database_unpack -max_len=200000

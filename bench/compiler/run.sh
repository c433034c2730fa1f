#!/usr/bin/env bash
# Times vkdm_pdb on the full benchmark theme, without and with COMPRESS, and
# prints time, output size, peak memory and what density-2 compression saves.
# Usage: bench/compiler/run.sh [BUILD_DIR] [RUNS]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${1:-$ROOT/_build}"
RUNS="${2:-20}"
BIN="$BUILD/bin"
cmake --build "$BUILD" --target vkdm_pdb make_benchmark_theme density2_saving -j"$(nproc)" >/dev/null
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
"$BIN/make_benchmark_theme" "$WORK" "$ROOT/data/ThmeRsrc"
cd "$WORK"
export SOURCE_DATE_EPOCH=1704067200

measure() { # script output
    local script="$1" output="$2" start end best=999999 total=0 ms
    for _ in $(seq "$RUNS"); do
        start=$(date +%s%N)
        "$BIN/vkdm_pdb" -ro -allowEditID -type thme -creator reze -q "$script" "$output"
        end=$(date +%s%N)
        ms=$(( (end - start) / 1000 ))
        total=$(( total + ms ))
        [ "$ms" -lt "$best" ] && best=$ms
    done
    local peak="n/a (install package time)"
    if [ -x /usr/bin/time ]; then
        peak="$(/usr/bin/time -f %M "$BIN/vkdm_pdb" -ro -allowEditID -type thme -creator reze -q "$script" "$output" 2>&1 >/dev/null | tail -1) KiB"
    fi
    awk -v s="$script" -v t="$total" -v n="$RUNS" -v b="$best" -v z="$(stat -c %s "$output")" -v p="$peak" \
        'BEGIN { printf "%-26s mean %6.1f ms  best %6.1f ms  size %9d bytes  peak memory %s\n", s, t / n / 1000, b / 1000, z, p }'
}

echo "vkdm_pdb on the full benchmark theme ($RUNS runs each)"
measure vkdm_script.rcp PDBFiles/plain.pdb
measure vkdm_script_compress.rcp PDBFiles/compressed.pdb
"$BIN/density2_saving" PDBFiles/compressed.pdb
echo "reference compiler: 272 ms uncompressed, 281 ms and 990,897 bytes compressed"

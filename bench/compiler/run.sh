#!/usr/bin/env bash
# Times vkdm_pdb as a whole process on the inputs of the compiler's speed goals
# and prints, for each, the median CPU time (user + system), the median wall
# time and the peak memory, measured to the microsecond by process_timer (one
# process started and waited for per run); /bin/true first, the machine's floor
# for any process. Then checks that every output database is byte for byte what
# it was (stored checksums, and a second compiler when one is given).
#
# Usage: bench/compiler/run.sh [BUILD_DIR] [RUNS]
#   VKDM_BEFORE=/path/to/older/vkdm_pdb  also time that one and compare its bytes
#   VV_BENCH_UPDATE=1                    store the current checksums
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="$(cd "${1:-$ROOT/_build}" && pwd)"
RUNS="${2:-15}"
BIN="$BUILD/bin"
SUMS="$ROOT/bench/compiler/expected.sha256"
cmake --build "$BUILD" --target vkdm_pdb make_benchmark_theme density2_saving process_timer -j"$(nproc)" >/dev/null
TIMER="$BIN/process_timer"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
"$BIN/make_benchmark_theme" "$WORK" "$ROOT/data/ThmeRsrc" >/dev/null
cd "$WORK"
export SOURCE_DATE_EPOCH=1704067200

# name|script|reference CPU ms|goal
INPUTS=(
    "full theme, COMPRESS|vkdm_script_compress.rcp|290|<= 29 ms CPU"
    "one 1 x 1 bitmap|one_pixel.rcp|5|<= 5 ms CPU"
    "16 copies of the theme|theme16.rcp|4600|<= 460 ms CPU, peak <= 25 MB"
    "2000 x 2000, 16 bpp, density 2, COMPRESS|big16.rcp|114|<= 114 ms CPU"
    "2000 x 2000, 8 bpp, density 1|big8.rcp|2600|<= 260 ms CPU"
)

# Prints "cpu_ms wall_ms peak_kb" for `compiler script output`: medians of the
# runs, CPU being user + system of the whole process; the largest peak.
measure() {
    local compiler="$1" script="$2" output="$3"
    "$TIMER" "$RUNS" "$compiler" -ro -allowEditID -type thme -creator reze -q "$script" "$output"
}

echo "vkdm_pdb, whole process, $RUNS runs each; machine load: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
printf '%-42s %13s %10s %10s %9s  %s\n' "input" "CPU ms median" "wall ms" "peak MB" "vs ref" "goal"
read -r cpu wall peak <<<"$("$TIMER" "$RUNS" /bin/true)"
printf '%-42s %13s %10s %10.1f %9s  %s\n' "/bin/true (the floor for one process)" "$cpu" "$wall" \
    "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')" "" ""
status=0
for entry in "${INPUTS[@]}"; do
    IFS='|' read -r name script reference goal <<<"$entry"
    out="PDBFiles/${script%.rcp}.pdb"
    read -r cpu wall peak <<<"$(measure "$BIN/vkdm_pdb" "$script" "$out")"
    printf '%-42s %13s %10s %10.1f %8.1fx  %s\n' "$name" "$cpu" "$wall" "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')" \
        "$(awk -v r="$reference" -v c="$cpu" 'BEGIN { print (c > 0) ? r / c : 0 }')" "$goal"
    if [ -n "${VKDM_BEFORE:-}" ]; then
        # The same file name: the database's name field comes from it.
        mkdir -p before
        read -r cpu wall peak <<<"$(measure "$VKDM_BEFORE" "$script" "before/${out#PDBFiles/}")"
        printf '%-42s %13s %10s %10.1f %8.1fx\n' "  before" "$cpu" "$wall" "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')" \
            "$(awk -v r="$reference" -v c="$cpu" 'BEGIN { print (c > 0) ? r / c : 0 }')"
        if cmp -s "$out" "before/${out#PDBFiles/}"; then
            echo "  output: byte-identical to the older compiler's"
        else
            echo "  output: DIFFERS from the older compiler's"
            status=1
        fi
    fi
done

if [ "${VV_BENCH_UPDATE:-0}" = 1 ]; then
    (cd PDBFiles && sha256sum vkdm_script_compress.pdb one_pixel.pdb theme16.pdb big16.pdb big8.pdb) >"$SUMS"
    echo "checksums stored in $SUMS"
elif [ -f "$SUMS" ]; then
    if (cd PDBFiles && sha256sum --quiet -c "$SUMS"); then
        echo "outputs: byte-identical to the stored checksums"
    else
        echo "outputs: DIFFER from the stored checksums"
        status=1
    fi
fi
"$BIN/density2_saving" PDBFiles/vkdm_script_compress.pdb
exit "$status"

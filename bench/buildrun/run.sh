#!/usr/bin/env bash
# Create Theme end to end, as vedivavurir-cli runs it (the same build run as the
# window's button): the sample skin sheet at "320x320 OS5" with all five depths,
# 156 pieces saved, compiled by vkdm_pdb, stamped and cleaned up. Prints time
# and peak memory, beside vkdm_pdb alone on the same script and pieces.
# Usage: bench/buildrun/run.sh [BUILD_DIR] [RUNS]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="$(cd "${1:-$ROOT/_build}" && pwd)"
RUNS="${2:-10}"
BIN="$BUILD/bin"
cmake --build "$BUILD" --target vedivavurir-cli vkdm_pdb process_timer buildrun_phases qt_floor -j"$(nproc)" >/dev/null
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/start" "$WORK/wrapped"
cp -r "$ROOT/data/." "$WORK/start/"
export SOURCE_DATE_EPOCH=1704067200
BUILD_ARGS=(theme --name Bench --hires-sheet ThmeBMP/SkinSheetHigh.bmp --screen "320x320 OS5" --depths "1,2,4,8,16" --compress)
COMPILER_ARGS=(-ro -allowEditID -type thme -creator reze vkdm_script.rcp PDBFiles/Bench.pdb)

# One build through a stand-in compiler that keeps what it was handed, so the
# compiler can be timed alone on exactly that.
# The tool's library (where it has one) keeps its place relative to the tool.
mkdir -p "$WORK/wrapped/bin"
cp "$BIN/vedivavurir-cli" "$WORK/wrapped/bin/"
[ -d "$BUILD/lib" ] && cp -r "$BUILD/lib" "$WORK/wrapped/"
cat >"$WORK/wrapped/bin/vkdm_pdb" <<WRAP
#!/bin/sh
mkdir -p "$WORK/seen/PDBFiles" && cp -r vkdm_script.rcp ThmeRsrc "$WORK/seen/" && exec "$BIN/vkdm_pdb" "\$@"
WRAP
chmod +x "$WORK/wrapped/bin/vkdm_pdb"
(cd "$WORK/start" && "$WORK/wrapped/bin/vedivavurir-cli" "${BUILD_ARGS[@]}" >/dev/null)
pieces=$(find "$WORK/seen/ThmeRsrc" -name '*.bmp' | wc -l)
left=$(find "$WORK/start/ThmeRsrc" -name '*.bmp' | wc -l)
[ "$pieces" -eq 156 ] || { echo "error: the build saved $pieces pieces, not 156" >&2; exit 1; }
[ "$left" -eq 0 ] || { echo "error: the build left $left pieces behind" >&2; exit 1; }

# mean and best wall time of RUNS runs of a command in a folder, in ms
timed() {
    local dir="$1" best=999999999 total=0 start end us
    shift
    for _ in $(seq "$RUNS"); do
        start=$(date +%s%N)
        (cd "$dir" && "$@" >/dev/null)
        end=$(date +%s%N)
        us=$(((end - start) / 1000))
        total=$((total + us))
        [ "$us" -lt "$best" ] && best=$us
    done
    awk -v t="$total" -v n="$RUNS" -v b="$best" 'BEGIN { printf "mean %7.1f ms  best %7.1f ms", t / n / 1000, b / 1000 }'
}
# peak resident memory of a command; for the build the figure of its largest
# process (the tool itself or the compiler it waits for)
peak() {
    local dir="$1"
    shift
    if [ -x /usr/bin/time ]; then
        (cd "$dir" && /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1 | awk '{ printf "%.1f MiB", $1 / 1024 }')
    else
        printf "n/a (no /usr/bin/time)"
    fi
}

echo "machine load before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
echo "Create Theme, 320x320 OS5, depths 1 2 4 8 16, compressed: $pieces pieces ($RUNS runs each)"
printf "  whole build (slice, save, compile, stamp, clean up)  %s  peak %s\n" \
    "$(timed "$WORK/start" "$BIN/vedivavurir-cli" "${BUILD_ARGS[@]}")" \
    "$(peak "$WORK/start" "$BIN/vedivavurir-cli" "${BUILD_ARGS[@]}")"
printf "  vkdm_pdb alone on the same script and pieces        %s  peak %s\n" \
    "$(timed "$WORK/seen" "$BIN/vkdm_pdb" -q "${COMPILER_ARGS[@]}")" \
    "$(peak "$WORK/seen" "$BIN/vkdm_pdb" -q "${COMPILER_ARGS[@]}")"
printf "  database %s bytes\n" "$(stat -c %s "$WORK/start/PDBFiles/Bench.pdb")"
read -r build_cpu build_wall _ <<<"$(cd "$WORK/start" && "$BIN/process_timer" "$RUNS" "$BIN/vedivavurir-cli" "${BUILD_ARGS[@]}")"
read -r compiler_cpu compiler_wall _ <<<"$(cd "$WORK/seen" && "$BIN/process_timer" "$RUNS" "$BIN/vkdm_pdb" -q "${COMPILER_ARGS[@]}")"
printf "  median CPU: whole build %s ms, vkdm_pdb alone %s ms (%s); median wall: %s ms against %s ms (%s)\n" \
    "$build_cpu" "$compiler_cpu" "$(awk -v a="$build_cpu" -v b="$compiler_cpu" 'BEGIN { printf "%.1fx", a / b }')" \
    "$build_wall" "$compiler_wall" "$(awk -v a="$build_wall" -v b="$compiler_wall" 'BEGIN { printf "%.1fx", a / b }')"

# The steps one by one, in a start directory of their own.
mkdir -p "$WORK/phases"
cp -r "$ROOT/data/." "$WORK/phases/"
cp "$BIN/vkdm_pdb" "$WORK/phases/"
(cd "$WORK/phases" && "$BIN/buildrun_phases" ThmeBMP/SkinSheetHigh.bmp "$RUNS")

# 50 themes from the high sheet, one process each, as a batch script runs them.
start=$(date +%s%N)
(cd "$WORK/start" && for i in $(seq 50); do
    "$BIN/vedivavurir-cli" theme --name "Batch $i" --hires-sheet ThmeBMP/SkinSheetHigh.bmp --screen "320x320 OS5" \
        --depths 1,2,4,8,16 --compress >/dev/null
done)
end=$(date +%s%N)
awk -v ns="$((end - start))" 'BEGIN { printf "50 themes in a shell loop: %.2f s (%.1f ms each)\n", ns / 1e9, ns / 50e6 }'
read -r version_cpu version_wall _ <<<"$("$BIN/process_timer" "$((RUNS * 5))" "$BIN/vedivavurir-cli" --version)"
read -r floor_cpu floor_wall _ <<<"$("$BIN/process_timer" "$((RUNS * 5))" /bin/true)"
read -r qt_cpu qt_wall _ <<<"$("$BIN/process_timer" "$((RUNS * 5))" "$BIN/qt_floor")"
printf "vedivavurir-cli --version: median wall %s ms, CPU %s ms (/bin/true: %s ms, %s ms)\n" \
    "$version_wall" "$version_cpu" "$floor_wall" "$floor_cpu"
printf "a program that only loads QtGui and makes one picture: median wall %s ms, CPU %s ms\n" "$qt_wall" "$qt_cpu"
echo "machine load after: $(cut -d' ' -f1-3 /proc/loadavg)"

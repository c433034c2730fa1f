#!/usr/bin/env bash
# vedivavurir's own options: --help and --version answer without a display,
# an unknown option is refused instead of starting the program (other
# arguments are files to open),
# and --init makes a start directory whose resource.bmp has the size of the
# desktop (of an Xvfb screen here) or 1920 x 1200 without one.
# Usage: check_program_options.sh BUILD_DIR
set -euo pipefail
BUILD_DIR="$(cd "$1" && pwd)"
SCRATCH="$(mktemp -d)"
trap 'rm -rf "$SCRATCH"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
export LC_ALL=C.UTF-8

# The checks of --init need the shipped data beside the program, as installed.
cmake --install "$BUILD_DIR" --prefix "$SCRATCH/prefix" >/dev/null
PROGRAM="$SCRATCH/prefix/bin/vedivavurir"
headless() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }

for option in --help -h; do
    out="$(headless "$PROGRAM" "$option")" || fail "vedivavurir $option exits $?"
    grep -q "^Usage: vedivavurir" <<<"$out" || fail "vedivavurir $option prints no usage: $out"
    grep -q -- "--init" <<<"$out" || fail "vedivavurir $option does not list --init"
done
out="$(headless "$PROGRAM" --version)" || fail "vedivavurir --version exits $?"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD_DIR/CMakeCache.txt")"
[ "$out" = "vedivavurir $version" ] || fail "vedivavurir --version prints \"$out\", not \"vedivavurir $version\""

# An option Qt does not take either is an error, with a display and without.
for arguments in "--bogus" "-bogus"; do
    set +e
    err="$(QT_QPA_PLATFORM=offscreen timeout 30 "$PROGRAM" $arguments 2>&1 >/dev/null)"
    status=$?
    set -e
    [ "$status" -eq 1 ] || fail "vedivavurir $arguments exits $status, not 1"
    grep -q -- "$arguments" <<<"$err" || fail "vedivavurir $arguments does not name the argument: $err"
done
set +e
headless "$PROGRAM" --bogus >/dev/null 2>&1
status=$?
set -e
[ "$status" -eq 1 ] || fail "vedivavurir --bogus without a display exits $status, not 1"

# resource.bmp: width and height from its header (little-endian at 18 and 22).
bmp_size() { od -An -t u4 -j 18 -N 8 "$1" | awk '{print $1 "x" $2}'; }

headless "$PROGRAM" --init "$SCRATCH/plain" >/dev/null || fail "--init without a display"
[ "$(bmp_size "$SCRATCH/plain/resource.bmp")" = "1920x1200" ] ||
    fail "resource.bmp without a display is $(bmp_size "$SCRATCH/plain/resource.bmp"), not 1920x1200"
# Every folder of a start directory, PDBFiles too, which the installed data
# does not hold.
for folder in Language ThmeBMP ThmeRsrc IconBMP IconRsrc PDBFiles; do
    [ -d "$SCRATCH/plain/$folder" ] || fail "--init made no $folder folder"
done
for unwanted in README.md .gitattributes Language/.gitattributes .keep; do
    [ ! -e "$SCRATCH/plain/$unwanted" ] || fail "--init copied $unwanted into the start directory"
done
# A display that cannot be reached is no desktop, not a crash.
DISPLAY=:97 WAYLAND_DISPLAY="" timeout 60 "$PROGRAM" --init "$SCRATCH/unreachable" >/dev/null 2>&1 ||
    fail "--init with an unreachable display"
[ "$(bmp_size "$SCRATCH/unreachable/resource.bmp")" = "1920x1200" ] || fail "resource.bmp with an unreachable display"

xvfb-run -a -s "-screen 0 1024x768x24" env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY \
    "$PROGRAM" --init "$SCRATCH/desktop" >/dev/null || fail "--init on an Xvfb display"
[ "$(bmp_size "$SCRATCH/desktop/resource.bmp")" = "1024x768" ] ||
    fail "resource.bmp on a 1024 x 768 desktop is $(bmp_size "$SCRATCH/desktop/resource.bmp")"

if [ "$failures" -gt 0 ]; then
    exit 1
fi
echo "vedivavurir options ok"

#!/usr/bin/env bash
# Builds the Debian package from a finished build tree, checks its contents,
# unpacks it into a scratch root and uses the unpacked programs: --init makes
# a start directory, the command-line tool builds a theme there. Also checks
# the layout `cmake --install` gives. Nothing is installed on the system.
# Usage: check_package.sh BUILD_DIR
set -euo pipefail
BUILD_DIR="$1"
SCRATCH="$(mktemp -d)"
trap 'rm -rf "$SCRATCH"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$BUILD_DIR" --prefix "$SCRATCH/prefix" >/dev/null
for f in bin/vedivavurir bin/vedivavurir-cli bin/vkdm_pdb share/vedivavurir/vkdm_settings.cfg \
    share/vedivavurir/Language/vkdm_English.lng share/vedivavurir/ThmeBMP/SkinSheetHigh.bmp \
    share/vedivavurir/IconRsrc/InFO03E6.bin share/applications/vedivavurir.desktop \
    share/icons/hicolor/256x256/apps/vedivavurir.png; do
    [ -e "$SCRATCH/prefix/$f" ] || fail "cmake --install did not put $f in place"
done

(cd "$BUILD_DIR" && cpack -G DEB -B "$SCRATCH/cpack" >"$SCRATCH/cpack.log" 2>&1) ||
    { cat "$SCRATCH/cpack.log" >&2; fail "cpack failed"; }
DEB="$(ls "$SCRATCH"/cpack/*.deb)"
dpkg-deb --info "$DEB" >"$SCRATCH/info"
grep -q "Package: vedivavurir" "$SCRATCH/info" || fail "package name"
grep -q "Depends:.*libqt6widgets6" "$SCRATCH/info" || fail "no dependency on Qt Widgets: $(cat "$SCRATCH/info")"
dpkg-deb --contents "$DEB" >"$SCRATCH/contents"
for f in ./usr/bin/vedivavurir ./usr/bin/vedivavurir-cli ./usr/bin/vkdm_pdb \
    ./usr/share/vedivavurir/vkdm_settings.cfg ./usr/share/applications/vedivavurir.desktop; do
    grep -q " $f\$" "$SCRATCH/contents" || fail "$f missing from the package"
done
! grep -Eq "(_build|/tmp/|\.keep)" "$SCRATCH/contents" || fail "build paths in the package"

dpkg -x "$DEB" "$SCRATCH/root"
ROOT="$SCRATCH/root/usr"
"$ROOT/bin/vedivavurir-cli" --version | grep -q "^vedivavurir-cli " || fail "vedivavurir-cli --version"
"$ROOT/bin/vedivavurir" --init "$SCRATCH/start" >/dev/null || fail "vedivavurir --init"
[ -f "$SCRATCH/start/vkdm_settings.cfg" ] && [ -f "$SCRATCH/start/resource.bmp" ] && [ -d "$SCRATCH/start/PDBFiles" ] ||
    fail "--init left no start directory"
[ -w "$SCRATCH/start/vkdm_settings.cfg" ] || fail "the start directory's settings are not writable"
(cd "$SCRATCH/start" && "$ROOT/bin/vedivavurir-cli" theme --name Packaged --hires-sheet ThmeBMP/SkinSheetHigh.bmp \
    --screen "320x320 OS5" >/dev/null) || fail "building a theme with the packaged programs"
[ "$(head -c 8 "$SCRATCH/start/PDBFiles/Packaged.pdb")" = "Packaged" ] || fail "no stamped database"
echo "package ok: $(basename "$DEB")"

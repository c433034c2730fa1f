#!/usr/bin/env bash
# Builds the package's programs with the package's flags (dpkg-buildflags,
# build type None, warnings as errors) in BUILD_DIR, makes the Debian package
# from that tree, checks its contents, runs lintian, appstreamcli and
# desktop-file-validate on it, unpacks it into a scratch root and uses the
# unpacked programs: --init makes a start directory, the command-line tool
# builds a theme there. Also checks the layout `cmake --install` gives.
# Nothing is installed on the system. BUILD_DIR is kept, so a second run only
# rebuilds what changed.
# Usage: check_package.sh BUILD_DIR
set -euo pipefail
SOURCE_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="$1"
SCRATCH="$(mktemp -d)"
trap 'rm -rf "$SCRATCH"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# The checkers are Debian packages that scripts/test installs; without them
# the package would pass unchecked, so their absence is a failure.
for tool in lintian appstreamcli desktop-file-validate dpkg-buildflags dpkg-architecture readelf; do
    command -v "$tool" >/dev/null ||
        fail "$tool is missing: scripts/test installs it (apt-get install lintian appstream desktop-file-utils dpkg-dev)"
done

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# cpack installs without building everything first: only the package's files
# are built here, not the tests.
# The library folder as debhelper names it: private libraries below it are
# found by their program, not by the dynamic linker's cache.
MULTIARCH="$(dpkg-architecture -qDEB_HOST_MULTIARCH)"
cmake -S "$SOURCE_DIR" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=None -DVV_DEBIAN_FLAGS=ON -DVV_WERROR=ON \
    -DCMAKE_INSTALL_LIBDIR="lib/$MULTIARCH" \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON "${launcher[@]}" >"$SCRATCH/configure.log" 2>&1 ||
    { cat "$SCRATCH/configure.log" >&2; fail "configuring the package's build"; }
cmake --build "$BUILD_DIR" --target vv_package_files -j"$(nproc)" >"$SCRATCH/build.log" 2>&1 ||
    { tail -50 "$SCRATCH/build.log" >&2; fail "building the package's files with the package's flags"; }
# Every object is compiled with the hardening flags, which lintian can only
# guess at from the symbols a program calls (see lintian-overrides).
grep '"command"' "$BUILD_DIR/compile_commands.json" >"$SCRATCH/commands"
for flag in -D_FORTIFY_SOURCE=2 -fstack-protector-strong; do
    ! grep -v -e " $flag " "$SCRATCH/commands" | head -3 | grep . ||
        fail "objects compiled without $flag"
done

cmake --install "$BUILD_DIR" --prefix "$SCRATCH/prefix" >/dev/null
for f in bin/vedivavurir bin/vedivavurir-cli "lib/$MULTIARCH/vedivavurir/libvedivavurir-cli.so" bin/vkdm_pdb \
    share/vedivavurir/vkdm_settings.cfg \
    share/vedivavurir/Language/vkdm_English.lng share/vedivavurir/ThmeBMP/SkinSheetHigh.bmp \
    share/vedivavurir/IconRsrc/InFO03E6.bin \
    share/applications/org.example.vedivavurir.desktop share/metainfo/org.example.vedivavurir.metainfo.xml \
    share/icons/hicolor/16x16/apps/vedivavurir.png share/icons/hicolor/256x256/apps/vedivavurir.png \
    share/man/man1/vedivavurir.1.gz share/man/man1/vedivavurir-cli.1.gz share/man/man1/vkdm_pdb.1.gz \
    share/bash-completion/completions/vedivavurir-cli share/vedivavurir-cli/completion-words \
    share/doc/vedivavurir/copyright \
    share/doc/vedivavurir/changelog.Debian.gz; do
    [ -e "$SCRATCH/prefix/$f" ] || fail "cmake --install did not put $f in place"
done

(cd "$BUILD_DIR" && cpack -G DEB -B "$SCRATCH/cpack" >"$SCRATCH/cpack.log" 2>&1) ||
    { cat "$SCRATCH/cpack.log" >&2; fail "cpack failed"; }
DEB="$(ls "$SCRATCH"/cpack/*.deb)"
dpkg-deb --info "$DEB" >"$SCRATCH/info"
grep -q "Package: vedivavurir" "$SCRATCH/info" || fail "package name"
grep -q "Depends:.*libqt6widgets6" "$SCRATCH/info" || fail "no dependency on Qt Widgets: $(cat "$SCRATCH/info")"
# The completion needs bash-completion's helpers, TIFF and WebP sheets Qt's
# extra image plugins: neither is needed to run, both are wanted.
recommends="$(dpkg-deb --field "$DEB" Recommends)"
for wanted in bash-completion qt6-image-formats-plugins; do
    grep -Eq "(^|, )$wanted(,|$)" <<<"$recommends" || fail "Recommends lacks $wanted: \"$recommends\""
done
dpkg-deb --contents "$DEB" >"$SCRATCH/contents"
for f in ./usr/bin/vedivavurir ./usr/bin/vedivavurir-cli "./usr/lib/$MULTIARCH/vedivavurir/libvedivavurir-cli.so" ./usr/bin/vkdm_pdb \
    ./usr/share/vedivavurir/vkdm_settings.cfg ./usr/share/applications/org.example.vedivavurir.desktop \
    ./usr/share/metainfo/org.example.vedivavurir.metainfo.xml ./usr/share/man/man1/vedivavurir-cli.1.gz \
    ./usr/share/bash-completion/completions/vedivavurir-cli ./usr/share/doc/vedivavurir/copyright; do
    grep -q " $f\$" "$SCRATCH/contents" || fail "$f missing from the package"
done
! grep -Eq "(_build|/tmp/|\.keep)" "$SCRATCH/contents" || fail "build paths in the package"
! grep -Eq "(README|\.git)" "$SCRATCH/contents" || fail "repository files in the package: $(grep -E "(README|\.git)" "$SCRATCH/contents")"

# The changelog names the version packaged (upstream version and Debian
# revision), the AppStream release list the upstream version.
version="$(dpkg-deb --field "$DEB" Version)"
changelog_version="$(dpkg-deb --fsys-tarfile "$DEB" | tar -xO ./usr/share/doc/vedivavurir/changelog.Debian.gz |
    gunzip | sed -n '1s/^vedivavurir (\([^)]*\)).*/\1/p')"
[ "$changelog_version" = "$version" ] ||
    fail "the newest entry of packaging/changelog is $changelog_version, the package $version: add an entry"
dpkg-deb --fsys-tarfile "$DEB" | tar -xO ./usr/share/metainfo/org.example.vedivavurir.metainfo.xml |
    grep -q "<release version=\"${version%-*}\"" ||
    fail "packaging/org.example.vedivavurir.metainfo.xml has no <release version=\"${version%-*}\">: add one"

# Debian's own checks. Every tag lintian reports at warning level or above is
# a failure, and so are the tags of binaries built without Debian's hardening
# flags or with the compilers' notes left in, and of an empty folder shipped;
# the output at every level is kept for the log.
lintian --fail-on error,warning --display-info --pedantic "$DEB" >"$SCRATCH/lintian" 2>&1 ||
    { cat "$SCRATCH/lintian" >&2; fail "lintian reports errors or warnings"; }
echo "lintian: $(grep -c . "$SCRATCH/lintian" || true) line(s)"
cat "$SCRATCH/lintian"
! grep -E ": (hardening-[a-z-]+|binary-has-unneeded-section|package-contains-empty-directory) " "$SCRATCH/lintian" ||
    fail "lintian finds unhardened or unstripped programs or an empty folder"

dpkg -x "$DEB" "$SCRATCH/root"
ROOT="$SCRATCH/root/usr"
# The compiler loads the system's C++ library, so that its security updates
# reach it.
readelf -d "$ROOT/bin/vkdm_pdb" | grep -q "NEEDED.*\[libstdc++\.so" ||
    fail "the packaged vkdm_pdb does not load libstdc++: $(readelf -d "$ROOT/bin/vkdm_pdb" | grep NEEDED)"
"$ROOT/bin/vedivavurir-cli" --version | grep -q "^vedivavurir-cli " || fail "vedivavurir-cli --version"
"$ROOT/bin/vedivavurir" --init "$SCRATCH/start" >/dev/null || fail "vedivavurir --init"
if ! [ -f "$SCRATCH/start/vkdm_settings.cfg" ] || ! [ -f "$SCRATCH/start/resource.bmp" ] ||
    ! [ -d "$SCRATCH/start/PDBFiles" ]; then
    fail "--init left no start directory"
fi
[ -w "$SCRATCH/start/vkdm_settings.cfg" ] || fail "the start directory's settings are not writable"
(cd "$SCRATCH/start" && "$ROOT/bin/vedivavurir-cli" theme --name Packaged --hires-sheet ThmeBMP/SkinSheetHigh.bmp \
    --screen "320x320 OS5" >/dev/null) || fail "building a theme with the packaged programs"
[ "$(head -c 8 "$SCRATCH/start/PDBFiles/Packaged.pdb")" = "Packaged" ] || fail "no stamped database"

appstreamcli validate --no-net "$ROOT/share/metainfo/org.example.vedivavurir.metainfo.xml" ||
    fail "appstreamcli validate"
desktop-file-validate "$ROOT/share/applications/org.example.vedivavurir.desktop" || fail "desktop-file-validate"
icon="$(sed -n 's/^Icon=//p' "$ROOT/share/applications/org.example.vedivavurir.desktop")"
[ -f "$ROOT/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "no 48x48 icon named $icon, as the desktop entry says"
echo "package ok: $(basename "$DEB")"

# Shared by scripts/run and scripts/test: install what is missing, then build.
# shellcheck shell=bash
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${VV_BUILD_DIR:-$ROOT/_build}"

VV_PACKAGES=(cmake g++ make pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
    libbenchmark-dev netpbm xvfb xdotool openbox imagemagick xauth x11-utils clang clang-format shellcheck
    file dpkg-dev fakeroot time help2man lintian appstream desktop-file-utils qt6-translations-l10n
    qt6-image-formats-plugins)

vv_install_packages() {
    local missing=()
    local p
    for p in "${VV_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "error: need root (or sudo) to install ${missing[*]}" >&2; exit 1; }
        sudo="sudo"
    fi
    local attempt
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        $sudo apt-get update -qq && break
        echo "apt-get update failed (attempt $attempt of 10; another apt may hold the lock); retrying in 6 s"
        sleep 6
    done
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=600 \
        --no-install-recommends "${missing[@]}"
}

# Configures and builds in DIR; extra arguments go to the configure step.
vv_build_in() {
    local dir="$1"
    shift
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE="${VV_BUILD_TYPE:-RelWithDebInfo}" \
        "${launcher[@]}" "$@" >/dev/null
    cmake --build "$dir" -j"$(nproc)"
}

# The main build (scripts/test passes -DVV_WERROR=ON).
vv_build() {
    vv_build_in "$BUILD_DIR" "$@"
}

# Every tracked shell script, NUL-separated: by extension or by a shell on its first line.
vv_shell_scripts() {
    local file
    git -C "$ROOT" ls-files -z | while IFS= read -r -d '' file; do
        case "$file" in
        *.sh | *.bash) printf '%s\0' "$file" ;;
        *) if head -n1 "$ROOT/$file" 2>/dev/null | grep -qE '^#!.*\b(ba)?sh\b'; then printf '%s\0' "$file"; fi ;;
        esac
    done
}

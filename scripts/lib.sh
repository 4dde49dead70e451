# Shared by scripts/run and scripts/test: install what the build needs, then configure and build.
set -euo pipefail

QUARVEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUARVEL_BUILD=${QUARVEL_BUILD:-$QUARVEL_ROOT/build}

# Debian 12 packages: compiler and build tools, Qt 6 with the web engine and SQLite driver,
# and what the headless tests and screenshots use.
QUARVEL_PACKAGES=(
    cmake g++ make
    qt6-base-dev qt6-webengine-dev qt6-pdf-dev qt6-multimedia-dev libqt6sql6-sqlite libqt6opengl6-dev
    libgl-dev libegl-dev
    xvfb xauth fonts-dejavu-core
)

# The desktop tier (tests/desktop/run.sh): a window manager, X input and window tools, and
# screenshots.
QUARVEL_DESKTOP_PACKAGES=(openbox xdotool x11-utils imagemagick)

# The fuzz build also needs clang and its libFuzzer runtime.
QUARVEL_FUZZ_PACKAGES=(clang libclang-rt-dev)

# The names the installed packages answer to, one a line: each one's own name and every name it
# provides (on Debian 13 qt6-base-dev provides libqt6opengl6-dev, a package of its own on 12).
quarvel_installed_names() {
    dpkg-query -W -f='${Status}\t${Package}\t${Provides}\n' 2>/dev/null |
        awk -F'\t' '$1 ~ / installed$/ {
            print $2
            gsub(/\([^)]*\)/, "", $3)
            n = split($3, provided, /[ ,]+/)
            for (i = 1; i <= n; ++i)
                if (provided[i] != "")
                    print provided[i]
        }' | sort -u
}

# quarvel_install_deps [EXTRA_PACKAGE...]
quarvel_install_deps() {
    local missing=()
    local pkg installed
    installed=$(quarvel_installed_names)
    for pkg in "${QUARVEL_PACKAGES[@]}" "$@"; do
        if ! grep -qxF -- "$pkg" <<<"$installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

quarvel_jobs() {
    nproc 2>/dev/null || echo 4
}

# quarvel_configure [BUILD_DIR [CMAKE_OPTION...]]: configures the build folder once.
quarvel_configure() {
    local dir=${1:-$QUARVEL_BUILD}
    [ $# -gt 0 ] && shift
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$QUARVEL_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    fi
}

# quarvel_build [BUILD_DIR [CMAKE_OPTION...]]: configures (once) and builds every target: the
# program, its tests and benchmarks.
quarvel_build() {
    quarvel_configure "$@"
    cmake --build "${1:-$QUARVEL_BUILD}" --parallel "$(quarvel_jobs)"
}

# quarvel_build_program: configures (once) and builds the program alone, in the normal build.
quarvel_build_program() {
    quarvel_configure
    cmake --build "$QUARVEL_BUILD" --parallel "$(quarvel_jobs)" --target quarvel
}

# SPDX-License-Identifier: MIT
# Shared by the scripts in this folder: where things are, and installing what they need.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=${VORREL_BUILD_DIR:-$ROOT/build}
# What the scripts build once and keep outside the checkout: Qt for Windows, the Debian roots.
VORREL_CACHE=${VORREL_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/vorrel}
# The downloads of a build, with their check sums.
DIST=$ROOT/dist
# Every build of the program compiles through ccache (one of BUILD_PACKAGES), whose cache is kept
# with the others and shared with the roots (scripts/lib/in-root): a later run, from a fresh clone
# too, compiles only what changed. Paths below the checkout are hashed relative to it.
export CCACHE_DIR=${CCACHE_DIR:-$VORREL_CACHE/ccache} CCACHE_BASEDIR=$ROOT CCACHE_NOHASHDIR=true
export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache

# debian_release SUITE: the release number of a Debian suite.
debian_release() {
    case $1 in
        bookworm) echo 12 ;;
        trixie) echo 13 ;;
        *) echo "unknown Debian suite $1" >&2; return 1 ;;
    esac
}

# debian_mirror: the Debian archive that the machine's own apt sources name.
debian_mirror() {
    local mirror=""
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        mirror=$(sed -n 's/^URIs: *\([^ ]*\/debian\)\/\?$/\1/p' /etc/apt/sources.list.d/debian.sources | head -1)
    fi
    if [ -z "$mirror" ] && [ -f /etc/apt/sources.list ]; then
        mirror=$(sed -n 's/^deb \(\[[^]]*\] \)\?\([^ ]*\/debian\)\/\? .*/\2/p' /etc/apt/sources.list | head -1)
    fi
    echo "${mirror:-http://deb.debian.org/debian}"
}

# The release the scripts run on, as "ID VERSION_ID" of os-release: "debian 12", "debian 13",
# "ubuntu 24.04".
os_release() {
    (. /etc/os-release && echo "$ID ${VERSION_ID:-testing}")
}

# package_lists [RELEASE]: sets the package lists below for RELEASE (by default the one the
# scripts run on). Debian 12 and Ubuntu 24.04 name clang's sanitizer runtime by its version, Debian
# 13 and later by the default clang's name.
package_lists() {
    local release=${1:-$(os_release)} clang_runtime=libclang-rt-dev
    case $release in
        "debian 12") clang_runtime=libclang-rt-14-dev ;;
        "ubuntu 24.04") clang_runtime=libclang-rt-18-dev ;;
    esac
    # What building and running the program needs (scripts/run), and with the unit-test framework
    # what building its tests needs as well.
    PROGRAM_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libgl-dev
                      fonts-liberation2)
    BUILD_PACKAGES=("${PROGRAM_PACKAGES[@]}" libgtest-dev ccache)
    # What the checks beyond the unit tests need: resource and package validators (appstream's
    # compose reads the SVG icon through librsvg), a session bus and the accessibility registry,
    # Orca with its speech server, a headless Wayland compositor.
    TEST_TOOL_PACKAGES=(icoutils binutils-mingw-w64-x86-64 desktop-file-utils appstream
                        appstream-compose librsvg2-common lintian dpkg-dev file
                        at-spi2-core dbus dbus-x11 python3-pyatspi
                        python3-gi gir1.2-atspi-2.0 weston qt6-wayland orca
                        speech-dispatcher speech-dispatcher-espeak-ng)
    # The Windows program (scripts/test-windows), built in the Debian 13 root: MinGW-w64, the host
    # tools of the root's own Qt for the cross-built Qt (scripts/lib/qt_windows.sh) and NSIS, whose
    # 64-bit stubs the build looks for; packaged with NSIS and run under Wine on this machine.
    WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 qt6-base-dev-tools
                      nsis dpkg-dev xz-utils debian-archive-keyring googletest)
    WINDOWS_TEST_PACKAGES=(wine64 nsis unzip file binutils-mingw-w64-x86-64)
    # The sanitizer and fuzzer build (scripts/lib/sanitize.sh).
    SANITIZER_PACKAGES=(clang "$clang_runtime" llvm)
}
package_lists

# ensure_packages PKG...: installs the Debian packages that are missing, as root or through sudo;
# without either, names them and stops.
ensure_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            echo "These packages are missing; install them as root and run again:" >&2
            echo "  apt-get install ${missing[*]}" >&2
            exit 1
        fi
    fi
    if ! command -v apt-get >/dev/null 2>&1; then
        echo "This is not a Debian or Ubuntu system. Install the equivalents of: ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    # Scripts run side by side (a root is made while the program compiles): wait for the other's
    # apt to finish rather than fail on its lock.
    local apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900)
    "${apt[@]}" update -qq
    "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}"
}

# configure_and_build [EXTRA CMAKE ARGS...]: the program and its tests in $BUILD.
configure_and_build() {
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORREL_BUILD_TESTS=ON \
          "$@" >/dev/null
    cmake --build "$BUILD" --parallel "$(nproc)"
}

# build_program: the program alone in $BUILD. It shares the folder with configure_and_build: the
# program's objects are the same either way, so going from one to the other only reconfigures and
# builds what the other left out.
build_program() {
    configure_and_build -DVORREL_BUILD_TESTS=OFF
}

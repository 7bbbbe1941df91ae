# SPDX-License-Identifier: MIT
# Shared by the scripts in this folder: where things are, and installing what they need.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=${VORREL_BUILD_DIR:-$ROOT/build}

# What building and running the program needs on Debian 12 / Ubuntu (scripts/run), and with the
# unit-test framework what building its tests needs as well.
PROGRAM_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libgl-dev
                  fonts-liberation2)
BUILD_PACKAGES=("${PROGRAM_PACKAGES[@]}" libgtest-dev)

# What the checks beyond the unit tests need: resource and package validators, the sanitizer and
# fuzzer runtime, a session bus and the accessibility registry, a headless Wayland compositor.
TEST_TOOL_PACKAGES=(icoutils binutils-mingw-w64-x86-64 desktop-file-utils appstream
                    appstream-compose lintian dpkg-dev file
                    clang libclang-rt-14-dev llvm at-spi2-core dbus dbus-x11 python3-pyatspi
                    python3-gi gir1.2-atspi-2.0 weston qt6-wayland orca
                    speech-dispatcher speech-dispatcher-espeak-ng)

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
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
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

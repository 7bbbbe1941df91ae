# SPDX-License-Identifier: MIT
# Clean Debian roots for building, testing and installing the program on other releases: made
# with mmdebstrap (minimal variant) from the archive that the machine's own apt sources name, the
# packages of a job installed into them, and kept in the cache under a key of what is in them;
# later runs only look. A job enters its root through a throw-away overlay (scripts/lib/in-root),
# so that what it leaves behind never reaches the cached root.
#   source scripts/lib/common.sh; source scripts/lib/roots.sh
#   test_root VAR SUITE      sets VAR to the root that builds and tests the program (SUITE:
#                            bookworm for Debian 12, trixie for Debian 13), making it the first time
#   clean_root VAR SUITE     a minimal system, as a user's before the program is installed
#   cross_root VAR SUITE     the root that builds the packages, for this machine and, with
#                            Debian's multiarch cross compilers and arm64 libraries, for arm64,
#                            and runs the arm64 tests under qemu
#   arm64_clean_root VAR SUITE  a minimal arm64 system (a Raspberry Pi's, say), run under qemu
#   web_root VAR             Debian 13 with emscripten and the browsers: the program for the web
#   in_root ROOT COMMAND...  runs COMMAND in a root (see scripts/lib/in-root)
source "$(dirname "${BASH_SOURCE[0]}")/xsession.sh"

# Roots are made and entered as root (mmdebstrap, chroot, mounts): a script that uses them starts
# again through sudo where it is not, keeping its environment (the display, the cache folder).
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null 2>&1 \
        || { echo "$(basename "$0") makes and enters Debian roots: run it as root" >&2; exit 1; }
    exec sudo -E "$0" "$@"
fi

ROOTS_CACHE=$VORREL_CACHE/roots
ROOT_PACKAGES=(mmdebstrap arch-test debian-archive-keyring util-linux)

test_root() {
    package_lists "debian $(debian_release "$2")"
    ensure_root "$1" "$2" "${BUILD_PACKAGES[@]}" "${X_SESSION_PACKAGES[@]}" "${TEST_TOOL_PACKAGES[@]}" \
        "${WINDOWS_PACKAGES[@]}"
    package_lists
}

clean_root() {
    ensure_root "$1" "$2"
}

# The packages' build: this machine's, and the arm64 one with Debian's cross compilers and the arm64 Qt and GoogleTest beside the machine's
# own (the program's diagrams are drawn by a native svgtopng, and moc, rcc and uic are the
# machine's), the arm64 pkg-config, qemu for the tests, and the packaging tools.
cross_root() {
    package_lists "debian $(debian_release "$2")"
    ensure_root "$1" "$2" --add-arch=arm64 "${BUILD_PACKAGES[@]}" qt6-base-dev-tools \
        crossbuild-essential-arm64 qt6-base-dev:arm64 qt6-svg-dev:arm64 libgl-dev:arm64 \
        libgtest-dev:arm64 pkgconf:arm64 qemu-user-static dpkg-dev file lintian
    package_lists
}

# The program for the web (scripts/test-web): Debian's emscripten with the host tools of Debian's
# own Qt (scripts/lib/qt_web.sh), the Qt libraries that run the Debian 13 build's svgtopng,
# GoogleTest's sources, the program's face to embed, and the browsers and Node.js that test the
# page.
web_root() {
    ensure_root "$1" trixie emscripten cmake ninja-build qt6-base-dev qt6-base-dev-tools libqt6svg6 \
        googletest dpkg-dev xz-utils debian-archive-keyring fonts-liberation2 brotli python3 \
        nodejs chromium firefox-esr
}

# Its programs run under this machine's qemu (scripts/lib/with-arm64).
arm64_clean_root() {
    ensure_packages qemu-user-static
    ensure_root "$1" "$2" --arch=arm64
}

# ensure_root VAR SUITE [--arch=ARCH] [--add-arch=ARCH] [PACKAGES...]: sets VAR to the folder of
# a root of SUITE with PACKAGES, making it the first time. --arch makes a root of another
# architecture (arm64: its programs run under qemu, scripts/lib/with-arm64); --add-arch lets apt
# install packages of ARCH beside the machine's own (PACKAGE:ARCH).
ensure_root() {
    # Locals are prefixed: VAR is set in the caller's scope, whatever its name.
    local _var=$1 _suite=$2; shift 2
    local _mirror _key _root _started=$SECONDS _log _arch="" _add_arch=""
    _mirror=$(debian_mirror)
    _key=$(printf '%s\n' mmdebstrap "$_suite" "$_mirror" "$@" | sha256sum | cut -c1-16)
    while [[ ${1:-} == --* ]]; do
        case $1 in
            --arch=*) _arch=${1#--arch=} ;;
            --add-arch=*) _add_arch=${1#--add-arch=} ;;
            *) echo "ensure_root: unknown option $1" >&2; return 1 ;;
        esac
        shift
    done
    _root=$ROOTS_CACHE/$_suite${_arch:+-$_arch}-$_key
    printf -v "$_var" %s "$_root"
    if [ -f "$_root/.complete" ]; then
        echo "root: Debian $_suite, cached in $_root"
        return 0
    fi
    ensure_packages "${ROOT_PACKAGES[@]}"
    _log=$_root.log
    rm -rf "$_root" "$_root.new"
    mkdir -p "$ROOTS_CACHE"
    echo "root: making Debian $_suite in $_root (once)"
    # An arm64 root's packages are configured by its own programs, under qemu.
    ${_arch:+"$ROOT/scripts/lib/with-arm64"} mmdebstrap --mode=root --variant=minbase \
        ${_arch:+--architectures="$_arch"} "$_suite" "$_root.new" "$_mirror" >"$_log" 2>&1 \
        || { tail -20 "$_log" >&2; echo "root: mmdebstrap of $_suite failed" >&2; return 1; }
    unsafe_io "$_root.new"
    if [ $# -gt 0 ]; then
        VORREL_IN_ROOT_WRITABLE=1 in_root "$_root.new" sh -c \
            '{ [ -z "$0" ] || dpkg --add-architecture "$0"; } && apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" && apt-get clean' \
            "$_add_arch" "$@" >>"$_log" 2>&1 \
            || { tail -20 "$_log" >&2; echo "root: installing into Debian $_suite failed" >&2; return 1; }
    fi
    mv "$_root.new" "$_root"
    touch "$_root/.complete"
    echo "root: Debian $_suite with $# packages made in $((SECONDS - _started)) s"
}

# unsafe_io ROOT: dpkg in ROOT never syncs what it writes, as while mmdebstrap makes it: a
# throw-away system needs no safety against a power cut, and an install into it takes a fifth less
# time (271 packages of Qt into a clean Debian 12 root: 94 s instead of 115 s on a busy machine).
unsafe_io() {
    mkdir -p "$1/etc/dpkg/dpkg.cfg.d"
    echo force-unsafe-io >"$1/etc/dpkg/dpkg.cfg.d/force-unsafe-io"
}

# emulated_root ROOT: whether ROOT is an arm64 root, whose programs run here under qemu (its shell
# is an aarch64 program: ELF machine 0xb7).
emulated_root() {
    [ "$(od -An -tx1 -j18 -N1 "$1/usr/bin/dash" 2>/dev/null | tr -d ' ')" = b7 ]
}

in_root() {
    local emulated=()
    emulated_root "$1" && emulated=("$ROOT/scripts/lib/with-arm64")
    "${emulated[@]}" unshare --mount --pid --fork --propagation private "$ROOT/scripts/lib/in-root" "$@"
}

# SPDX-License-Identifier: MIT
# Clean Debian roots for building, testing and installing the program on other releases: made
# with debootstrap (minimal variant) from the archive that the machine's own apt sources name, the
# packages of a job installed into them, and kept in the cache under a key of what is in them;
# later runs only look. A job enters its root through a throw-away overlay (scripts/lib/in-root),
# so that what it leaves behind never reaches the cached root.
#   source scripts/lib/common.sh; source scripts/lib/roots.sh
#   test_root VAR SUITE      sets VAR to the root that builds and tests the program (SUITE:
#                            bookworm for Debian 12, trixie for Debian 13), making it the first time
#   package_root VAR SUITE   the one that builds its package: the program's build tools and lintian
#   clean_root VAR SUITE     a minimal system, as a user's before the program is installed
#   in_root ROOT COMMAND...  runs COMMAND in a root (see scripts/lib/in-root)
source "$(dirname "${BASH_SOURCE[0]}")/xsession.sh"

ROOTS_CACHE=$VORREL_CACHE/roots
ROOT_PACKAGES=(debootstrap debian-archive-keyring util-linux)

test_root() {
    package_lists "debian $(debian_release "$2")"
    ensure_root "$1" "$2" "${BUILD_PACKAGES[@]}" "${X_SESSION_PACKAGES[@]}" "${TEST_TOOL_PACKAGES[@]}"
    package_lists
}

package_root() {
    package_lists "debian $(debian_release "$2")"
    ensure_root "$1" "$2" "${PROGRAM_PACKAGES[@]}" dpkg-dev file lintian
    package_lists
}

clean_root() {
    ensure_root "$1" "$2"
}

# ensure_root VAR SUITE [PACKAGES...]: sets VAR to the folder of a root of SUITE with PACKAGES,
# making it the first time.
ensure_root() {
    local var=$1 suite=$2; shift 2
    local mirror key root
    mirror=$(debian_mirror)
    key=$(printf '%s\n' "$suite" "$mirror" "$@" | sha256sum | cut -c1-16)
    root=$ROOTS_CACHE/$suite-$key
    printf -v "$var" %s "$root"
    if [ -f "$root/.complete" ]; then
        echo "root: Debian $suite, cached in $root"
        return 0
    fi
    ensure_packages "${ROOT_PACKAGES[@]}"
    local started=$SECONDS log=$root.log
    rm -rf "$root" "$root.new"
    mkdir -p "$ROOTS_CACHE"
    echo "root: making Debian $suite in $root (once)"
    debootstrap --variant=minbase "$suite" "$root.new" "$mirror" >"$log" 2>&1 \
        || { tail -20 "$log" >&2; echo "root: debootstrap of $suite failed" >&2; return 1; }
    if [ $# -gt 0 ]; then
        VORREL_IN_ROOT_WRITABLE=1 in_root "$root.new" sh -c \
            'apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" && apt-get clean' \
            sh "$@" >>"$log" 2>&1 \
            || { tail -20 "$log" >&2; echo "root: installing into Debian $suite failed" >&2; return 1; }
    fi
    mv "$root.new" "$root"
    touch "$root/.complete"
    echo "root: Debian $suite with $# packages made in $((SECONDS - started)) s"
}

in_root() {
    unshare --mount --pid --fork --propagation private "$ROOT/scripts/lib/in-root" "$@"
}

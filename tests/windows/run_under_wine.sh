#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Cross-builds the calculator and its GoogleTest suite as 64-bit Windows programs with MinGW-w64
# (GoogleTest from its Debian sources) and runs them under Wine in a fresh, throw-away prefix.
# Exits 77 with the reason where Wine cannot run here.
# Usage: tests/windows/run_under_wine.sh   (builds in $VORREL_MINGW_BUILD_DIR, else build-mingw/)
source "$(dirname "$0")/../../scripts/lib/common.sh"

skip() { echo "SKIP: the Windows calculator tests under Wine: $*"; exit 77; }

# Debian ships the 64-bit Wine loader for amd64 hosts only.
arch=$(dpkg --print-architecture 2>/dev/null || uname -m)
case $arch in amd64|x86_64) ;; *) skip "Wine for 64-bit Windows programs needs an amd64 host, this is $arch" ;; esac

WINDOWS_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix googletest wine64)
ensure_packages "${WINDOWS_PACKAGES[@]}"

MINGW_BUILD=${VORREL_MINGW_BUILD_DIR:-$BUILD-mingw}
cmake -S "$ROOT/tests/windows" -B "$MINGW_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      --toolchain "$ROOT/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$MINGW_BUILD" --parallel "$(nproc)"

# Debian puts the loader and the server outside PATH.
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
[ -x "$wine" ] || skip "no Wine loader found"

WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installers
trap '"$wineserver" -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
unset DISPLAY WAYLAND_DISPLAY  # console programs only: no window may open

if ! timeout 120 "$wine" wineboot --init >"$WINEPREFIX.log" 2>&1; then
    cat "$WINEPREFIX.log"; rm -f "$WINEPREFIX.log"
    skip "wineboot could not set up a prefix"
fi
rm -f "$WINEPREFIX.log"
probe=$(timeout 60 "$wine" cmd /c echo wine-ok 2>/dev/null | tr -d '\r') || true
[ "$probe" = wine-ok ] || skip "Wine started but could not run cmd.exe (printed: '$probe')"
echo "Running the Windows build of the calculator tests under $("$wine" --version)"

ctest --test-dir "$MINGW_BUILD" --output-on-failure --timeout 300

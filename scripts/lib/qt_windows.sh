# SPDX-License-Identifier: MIT
# Qt for 64-bit Windows, cross-built with MinGW-w64 from Debian's own qtbase sources, of the same
# version as the host's Qt so that the host's moc, rcc and uic serve the cross build. Built once
# into a cache outside the tree, keyed by everything the build depends on; later runs only look.
#   source scripts/lib/common.sh; source scripts/lib/qt_windows.sh; ensure_qt_windows
# sets QT_WINDOWS to the installed prefix. The first run takes about 15 minutes on 2 cores.

QT_WINDOWS_PACKAGES=(dpkg-dev xz-utils cmake ninja-build g++-mingw-w64-x86-64-posix qt6-base-dev
                     libwine-dev)
QT_WINDOWS_CACHE=${VORREL_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/vorrel}

# What the program and its tests need, and nothing more: Core, Gui, Widgets, Test, the Windows
# platform plugin with its GDI font database, the Windows styles, and Qt's own PNG, zlib, PCRE2,
# HarfBuzz and FreeType.
QT_WINDOWS_FEATURES=(
    -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DFEATURE_jpeg=OFF -DFEATURE_glib=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF -DFEATURE_freetype=ON
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF
    # Qt 6.4's MinGW build of the platform plugin lacks the DirectWrite font database that these
    # would select; the GDI one stays.
    -DFEATURE_directwrite3=OFF -DFEATURE_direct2d=OFF
    -DFEATURE_testlib=ON -DFEATURE_widgets=ON -DFEATURE_style_windowsvista=ON)

# Debian's source leaves out the Wacom tablet headers that the platform plugin's tablet support
# includes. Wine's LGPL ones (libwine-dev) serve, given the macros of Wine's own headers they use
# and the calling convention macro of the originals.
QT_WINDOWS_WINTAB_SHIM='/* Wine'"'"'s wintab.h, with the macros it needs from Wine'"'"'s own headers. */
#pragma once
#include <windows.h>
#ifdef UNICODE
#define WINELIB_NAME_AW(name) name##W
#else
#define WINELIB_NAME_AW(name) name##A
#endif
#define DECL_WINELIB_TYPE_AW(type) typedef WINELIB_NAME_AW(type) type;
#ifndef API
#define API WINAPI
#endif
#include "wine/wintab.h"
'

# The key: the source package's version, the features, the tablet header shim, the toolchain, the
# compiler, Wine's headers and the host Qt (the install records QT_HOST_PATH=/usr, and a newer host
# Qt would pass Qt's version check).
qt_windows_key() {
    local src_version=$1
    {
        echo "$src_version"
        printf '%s\n' "${QT_WINDOWS_FEATURES[@]}" "$QT_WINDOWS_WINTAB_SHIM"
        cat "$ROOT/cmake/mingw-w64.cmake"
        x86_64-w64-mingw32-g++-posix --version | head -1
        dpkg-query -W -f='${Version}\n' qt6-base-dev libwine-dev
    } | sha256sum | cut -c1-16
}

ensure_qt_windows() {
    ensure_packages "${QT_WINDOWS_PACKAGES[@]}"
    ensure_deb_sources
    local src_version
    src_version=$(apt-cache showsrc qt6-base | sed -n 's/^Version: //p' | sort -V | tail -1)
    local host_version
    host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    [ -n "$src_version" ] || { echo "no qt6-base source package is known to apt" >&2; return 1; }
    if [ "${src_version%%+*}" != "${host_version%%+*}" ]; then
        echo "the qt6-base source ($src_version) is not the host Qt's version ($host_version)" >&2
        return 1
    fi
    QT_WINDOWS=$QT_WINDOWS_CACHE/qt-windows-${src_version%%+*}-$(qt_windows_key "$src_version")
    if [ -f "$QT_WINDOWS/.complete" ]; then
        echo "Qt for Windows: cached in $QT_WINDOWS"
        return 0
    fi
    echo "Qt for Windows: building qtbase $src_version with MinGW-w64 into $QT_WINDOWS (once)"
    local work=$QT_WINDOWS.build started=$SECONDS
    rm -rf "$work" "$QT_WINDOWS"
    mkdir -p "$work"
    (cd "$work" && apt-get source -qq qt6-base >/dev/null 2>&1) \
        || { echo "apt-get source qt6-base failed" >&2; return 1; }
    local src
    src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -1)

    # Qt's installed toolchain file names the one it was built with: keep a copy beside the install.
    mkdir -p "$QT_WINDOWS"
    cp "$ROOT/cmake/mingw-w64.cmake" "$QT_WINDOWS/mingw-w64.cmake"

    # The tablet headers (see QT_WINDOWS_WINTAB_SHIM).
    local wintab=$src/src/3rdparty/wintab
    mkdir -p "$wintab/wine"
    cp /usr/include/wine/wine/windows/wintab.h "$wintab/wine/wintab.h"
    cp /usr/include/wine/wine/windows/pktdef.h "$wintab/pktdef.h"
    printf '%s' "$QT_WINDOWS_WINTAB_SHIM" >"$wintab/wintab.h"

    cmake -S "$src" -B "$work/build" -G Ninja -Wno-dev \
          -DCMAKE_TOOLCHAIN_FILE="$QT_WINDOWS/mingw-w64.cmake" \
          -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
          -DCMAKE_INSTALL_PREFIX="$QT_WINDOWS" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
          -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
          "${QT_WINDOWS_FEATURES[@]}" >"$work/configure.log" 2>&1 \
        || { tail -40 "$work/configure.log" >&2; return 1; }
    cmake --build "$work/build" --parallel "$(nproc)" >"$work/build.log" 2>&1 \
        || { grep -m5 -A3 ': error:' "$work/build.log" >&2 || tail -40 "$work/build.log" >&2; return 1; }
    cmake --install "$work/build" >/dev/null
    rm -rf "$work"
    touch "$QT_WINDOWS/.complete"
    echo "Qt for Windows: built in $((SECONDS - started)) s"
}

# Debian's source entries beside the binary ones, where the machine has none.
ensure_deb_sources() {
    apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Version:' && return 0
    local list=/etc/apt/sources.list.d/vorrel-debian-src.sources
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$list"
    elif [ -f /etc/apt/sources.list ]; then
        sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"${list%.sources}.list"
    fi
    DEBIAN_FRONTEND=noninteractive apt-get update -qq
}

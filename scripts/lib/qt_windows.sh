# SPDX-License-Identifier: MIT
# Qt 6.8 LTS for 64-bit Windows, cross-built with MinGW-w64 from Debian's own qtbase source package,
# on Debian 13 (scripts/test-windows runs in its root): the source is the very version of the
# machine's own Qt, whose host tools (moc, rcc, uic, syncqt, ...; qt6-base-dev-tools) the cross
# build uses. The source is fetched through a private source list: the machine's own package
# sources stay as they are. Built once into a cache outside the tree, keyed by everything the build
# depends on; later runs only look.
#   source scripts/lib/common.sh; source scripts/lib/qt_windows.sh; ensure_qt_windows
# sets QT_WINDOWS to the Windows Qt's prefix and QT_WINDOWS_SOURCE to "qt6-base <version>", the
# source package it was built from. The first run takes about 15 minutes on 2 cores.

QT_WINDOWS_PACKAGES=(dpkg-dev xz-utils cmake ninja-build g++-mingw-w64-x86-64-posix
                     qt6-base-dev qt6-base-dev-tools debian-archive-keyring)
QT_WINDOWS_CACHE=$VORREL_CACHE
QT_WINDOWS_UIA_SUITE=bookworm  # Debian 12: qt6-base 6.4, whose MinGW copies of UI Automation serve

# Qt's own copies of the third-party libraries, none of the machine's; compiled as a unity build
# (several sources a compiler run), which takes 40% off the build on 2 cores.
QT_WINDOWS_COMMON=(
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DQT_GENERATE_SBOM=OFF -DQT_UNITY_BUILD=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DFEATURE_glib=OFF -DFEATURE_libudev=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_system_libb2=OFF -DFEATURE_qmake=OFF)

# What the program and its tests need, and nothing more: Core, Gui, Widgets, Test, the Windows
# platform plugin with its DirectWrite font database and UI Automation, the Windows styles, and
# Qt's own PNG, HarfBuzz and FreeType; optimised for size (smaller DLLs, and a shorter build).
# Direct2D stays on, as Qt 6.8.2's DirectWrite font database does not compile without it, but not
# Direct2D 1.1, which only builds the Direct2D platform plugin that the downloads do not ship; nor
# the GIF and ICO image plugins, which nothing loads.
QT_WINDOWS_FEATURES=(
    -DFEATURE_optimize_size=ON
    -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF -DFEATURE_system_png=OFF
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF -DFEATURE_freetype=ON
    -DFEATURE_directwrite=ON -DFEATURE_directwrite3=ON -DFEATURE_direct2d=ON -DFEATURE_direct2d1_1=OFF
    -DFEATURE_testlib=ON -DFEATURE_widgets=ON -DFEATURE_style_windowsvista=ON
    -DFEATURE_style_windows11=ON
    # Nor what only other programs use: PDF and ODF writers, Markdown, QMovie, undo stacks, and the
    # MDI, calendar, wizard, colour and font dialog widgets.
    -DFEATURE_pdf=OFF -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownreader=OFF
    -DFEATURE_textmarkdownwriter=OFF -DFEATURE_movie=OFF -DFEATURE_undocommand=OFF
    -DFEATURE_mdiarea=OFF -DFEATURE_calendarwidget=OFF -DFEATURE_wizard=OFF
    -DFEATURE_colordialog=OFF -DFEATURE_fontdialog=OFF
    # MinGW-w64's GCC 12 crashes compiling PCRE2 with stack clash protection, and with the stack
    # protector every program linking Qt's entry point library would need libssp as well.
    -DFEATURE_stack_clash_protection=OFF -DFEATURE_stack_protector=OFF)

# Debian's source leaves out the Wacom tablet headers that the platform plugin's tablet support
# includes. Wine's LGPL ones serve (from the libwine-dev package, unpacked, not installed: it
# would bring the whole of Wine), given the macros of Wine's own headers they use and the calling
# convention macro of the originals.
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

# apt-get reading only the private source list, and its own lists.
qt_windows_apt() {
    local dir=$QT_WINDOWS_CACHE/apt
    local cmd=$1; shift
    "$cmd" -o Dir::Etc::sourcelist="$dir/sources.list" -o Dir::Etc::sourceparts=- \
           -o Dir::State::Lists="$dir/lists" -o Dir::Cache="$dir/cache" "$@"
}

# The private source list names the mirror of the machine's own Debian entries: its own release's
# sources, and Debian 12's.
qt_windows_sources() {
    local dir=$QT_WINDOWS_CACHE/apt mirror suite
    mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial"
    mirror=$(debian_mirror)
    for suite in "$(. /etc/os-release && echo "$VERSION_CODENAME")" "$QT_WINDOWS_UIA_SUITE"; do
        echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $suite main"
    done >"$dir/sources.list"
    qt_windows_apt apt-get update -qq 2>/dev/null
}

# qt_source_unpacked WORK VERSION: Debian's qt6-base source package of VERSION, fetched into the
# empty folder WORK and unpacked there (WORK/qt6-base-<upstream version>).
qt_source_unpacked() {
    rm -rf "$1"
    mkdir -p "$1"
    (cd "$1" && qt_windows_apt apt-get source -qq --download-only qt6-base="$2" >/dev/null 2>&1 \
        && dpkg-source --no-check -x ./*.dsc >/dev/null) \
        || { echo "fetching or unpacking qt6-base $2 failed" >&2; return 1; }
}

# qt_windows_key WORDS...: a short hash of its arguments and of what the caller pipes in.
qt_windows_key() {
    { printf '%s\n' "$@"; cat; } | sha256sum | cut -c1-16
}

ensure_qt_windows() {
    ensure_packages "${QT_WINDOWS_PACKAGES[@]}"
    qt_windows_sources || { echo "could not read Debian's source lists" >&2; return 1; }
    # The source of the machine's own Qt, whose host tools build it.
    local version uia_version host_cmake
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
    host_cmake=/usr/lib/$(gcc -print-multiarch)/cmake
    uia_version=$(qt_windows_apt apt-cache showsrc qt6-base | sed -n 's/^Version: \(6\.4\.\)/\1/p' \
                      | sort -V | tail -1)
    [ -n "$uia_version" ] || { echo "no qt6-base 6.4 source package in $QT_WINDOWS_UIA_SUITE" >&2; return 1; }
    QT_WINDOWS_SOURCE="qt6-base $version"
    local upstream=${version%%+*}
    QT_WINDOWS=$QT_WINDOWS_CACHE/qt-windows-$upstream-$(
        { printf '%s\n' "${QT_WINDOWS_COMMON[@]}" "${QT_WINDOWS_FEATURES[@]}" "$QT_WINDOWS_WINTAB_SHIM"
          cat "$ROOT/cmake/mingw-w64.cmake" "$ROOT"/scripts/lib/qt_windows/*
          x86_64-w64-mingw32-g++-posix --version | head -1
          apt-cache show --no-all-versions libwine-dev | grep '^Version:'
          dpkg-query -W -f='${Package} ${Version}\n' mingw-w64-x86-64-dev \
              qt6-base-dev-tools qt6-base-dev; } \
            | qt_windows_key "$version" "$uia_version")
    if [ -f "$QT_WINDOWS/.complete" ]; then
        echo "Qt for Windows: $QT_WINDOWS_SOURCE, cached in $QT_WINDOWS"
        return 0
    fi
    # A failed build keeps its tree, and the next run goes on from there.
    local work=$QT_WINDOWS_CACHE/qt-$upstream.build started=$SECONDS
    local src=$work/qt6-base-${version%-*}
    if [ ! -f "$src/.unpacked" ]; then
        echo "Qt for Windows: fetching the source of $QT_WINDOWS_SOURCE"
        qt_source_unpacked "$work" "$version" || return 1
        (cd "$work" && qt_windows_apt apt-get source -qq --download-only qt6-base="$uia_version" >/dev/null 2>&1) \
            || { echo "fetching qt6-base $uia_version failed" >&2; return 1; }
        (cd "$work" && apt-get download -qq libwine-dev 2>/dev/null) \
            || { echo "fetching libwine-dev failed" >&2; return 1; }
        qt_windows_patch_source "$src" "$work"/qt6-base_"${uia_version%-*}".orig.tar.* "$work"/libwine-dev_*.deb
        touch "$src/.unpacked"
    fi
    echo "Qt for Windows: building Qt $upstream for Windows with MinGW-w64 into $QT_WINDOWS (once)," \
         "with the host tools of the machine's Qt $(qtpaths6 --qt-query QT_VERSION 2>/dev/null || echo "$upstream")"
    mkdir -p "$QT_WINDOWS"
    # Qt's installed toolchain file names the one it was built with: keep a copy beside the install.
    cp "$ROOT/cmake/mingw-w64.cmake" "$QT_WINDOWS/mingw-w64.cmake"
    qt_windows_build "$src" "$work/windows" "$QT_WINDOWS" \
        -DCMAKE_TOOLCHAIN_FILE="$QT_WINDOWS/mingw-w64.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake" \
        -DCMAKE_PROJECT_INCLUDE="$ROOT/scripts/lib/qt_windows/unity-build.cmake" \
        "${QT_WINDOWS_COMMON[@]}" "${QT_WINDOWS_FEATURES[@]}" || return 1
    # Qt's source as it was built, for the downloads to carry beside them: Debian's source package,
    # the files added to it here and the options it was configured with; and Qt's licences.
    local source=$QT_WINDOWS/source
    mkdir -p "$source"
    cp "$work"/qt6-base_"${version%-*}".orig.tar.* "$work"/qt6-base_"$version".debian.tar.* \
       "$work"/qt6-base_"$version".dsc "$source/"
    tar -C "$src" -cJf "$source/qt6-base_$version-windows-additions.tar.xz" \
        src/3rdparty/wintab src/plugins/platforms/windows/uiautomation.h \
        src/plugins/platforms/windows/uia-mingw
    { printf '%s\n' "${QT_WINDOWS_COMMON[@]}" "${QT_WINDOWS_FEATURES[@]}"
      echo "-DQT_HOST_PATH=/usr  # the host tools of Debian's qt6-base-dev-tools $version, built from this source"
      echo "-DCMAKE_PROJECT_INCLUDE=unity-build.cmake  # beside this file: Gui and HarfBuzz compiled as unity builds"
    } >"$source/configure-options.txt"
    printf '%s\n' "$QT_WINDOWS_SOURCE" >"$source/debian-source-version.txt"
    cp -r "$src/LICENSES" "$source/"
    cp "$ROOT/scripts/lib/qt_windows/unity-build.cmake" "$source/"
    rm -rf "$work"
    touch "$QT_WINDOWS/.complete"
    echo "Qt for Windows: built in $((SECONDS - started)) s"
}

# qt_windows_build SOURCE BUILD PREFIX CMAKE-ARGS...
qt_windows_build() {
    local src=$1 build=$2 prefix=$3; shift 3
    mkdir -p "$build"
    # Built once and cached whole: its thousands of objects would only fill the compiler cache.
    env -u CMAKE_C_COMPILER_LAUNCHER -u CMAKE_CXX_COMPILER_LAUNCHER \
    cmake -S "$src" -B "$build" -G Ninja -Wno-dev -DCMAKE_INSTALL_PREFIX="$prefix" "$@" \
          >"$build/configure.log" 2>&1 \
        || { tail -40 "$build/configure.log" >&2; return 1; }
    cmake --build "$build" --parallel "$(nproc)" >"$build/build.log" 2>&1 \
        || { grep -m5 -A3 ': error:' "$build/build.log" >&2 || tail -40 "$build/build.log" >&2; return 1; }
    cmake --install "$build" >/dev/null
}

# The headers Debian's source and MinGW-w64 10 lack.
qt_windows_patch_source() {
    local src=$1 uia_tarball=$2 wine_deb=$3
    # UI Automation's declarations (see scripts/lib/qt_windows/uiautomation.h), from Qt 6.4's source.
    local plugin=$src/src/plugins/platforms/windows
    mkdir -p "$plugin/uia-mingw"
    tar -xf "$uia_tarball" -C "$plugin/uia-mingw" --strip-components=6 --wildcards \
        '*/src/gui/accessible/windows/apisupport/uia*_p.h'
    sed -i '/^enum CaretPosition {/,/^};/d' "$plugin/uia-mingw/uiatypes_p.h"
    cp "$ROOT/scripts/lib/qt_windows/uiautomation.h" "$plugin/"
    # The tablet headers (see QT_WINDOWS_WINTAB_SHIM).
    local wintab=$src/src/3rdparty/wintab
    mkdir -p "$wintab/wine"
    dpkg-deb --fsys-tarfile "$wine_deb" | tar -x -C "$wintab/wine" --strip-components=6 \
        ./usr/include/wine/wine/windows/wintab.h ./usr/include/wine/wine/windows/pktdef.h
    mv "$wintab/wine/pktdef.h" "$wintab/pktdef.h"
    printf '%s' "$QT_WINDOWS_WINTAB_SHIM" >"$wintab/wintab.h"
}

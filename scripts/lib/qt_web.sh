# SPDX-License-Identifier: MIT
# Qt 6.8 LTS for WebAssembly, built with Debian's emscripten from the same Debian qtbase source as
# the Windows Qt (scripts/lib/qt_windows.sh), with the host tools of Debian's own Qt; in the web
# root (scripts/lib/roots.sh: web_root), where scripts/test-web runs it. A static Qt, linked into
# the program's one .wasm: only Core, Gui and Widgets with what the program uses. Built once into
# the cache under a key of everything the build depends on; later runs only look.
#   source scripts/lib/common.sh; source scripts/lib/qt_web.sh; ensure_qt_web
# sets QT_WEB to its prefix and QT_WEB_SOURCE to "qt6-base <version>". Debian's emscripten comes
# with its system libraries built, in a cache it never writes to.
source "$(dirname "${BASH_SOURCE[0]}")/qt_windows.sh"

export EMSDK=/usr/share/emscripten
QT_WEB_TOOLCHAIN=$EMSDK/cmake/Modules/Platform/Emscripten.cmake

# Qt for the web is single-threaded; C++ exceptions are WebAssembly's own (smaller and faster than
# emscripten's JavaScript ones), as the program throws its calculation errors. OpenGL stays: the
# web platform's backing store draws with WebGL.
QT_WEB_FEATURES=(
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DQT_QMAKE_TARGET_MKSPEC=wasm-emscripten
    -DQT_GENERATE_SBOM=OFF -DQT_UNITY_BUILD=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DQT_BUILD_BENCHMARKS=OFF -DFEATURE_qmake=OFF -DFEATURE_optimize_size=ON
    -DFEATURE_wasm_exceptions=ON -DFEATURE_thread=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_xml=OFF -DFEATURE_dbus=OFF
    -DFEATURE_testlib=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF
    -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF
    -DFEATURE_pdf=OFF -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownreader=OFF
    -DFEATURE_textmarkdownwriter=OFF -DFEATURE_movie=OFF -DFEATURE_undocommand=OFF
    -DFEATURE_mdiarea=OFF -DFEATURE_calendarwidget=OFF -DFEATURE_wizard=OFF
    -DFEATURE_colordialog=OFF -DFEATURE_fontdialog=OFF -DFEATURE_filedialog=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_system_png=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF)

ensure_qt_web() {
    ensure_packages emscripten cmake ninja-build qt6-base-dev qt6-base-dev-tools dpkg-dev xz-utils debian-archive-keyring
    qt_windows_sources || { echo "could not read Debian's source lists" >&2; return 1; }
    local version emcc_version host_cmake
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
    emcc_version=$(dpkg-query -W -f='${Version}' emscripten)
    host_cmake=/usr/lib/$(dpkg-architecture -qDEB_BUILD_MULTIARCH 2>/dev/null)/cmake
    QT_WEB_SOURCE="qt6-base $version"
    local upstream=${version%%+*}
    QT_WEB=$QT_WINDOWS_CACHE/qt-web-$upstream-$(
        { printf '%s\n' "${QT_WEB_FEATURES[@]}"; cat "$ROOT"/scripts/lib/qt_windows/unity-build.cmake
          dpkg-query -W -f='${Package} ${Version}\n' emscripten binaryen qt6-base-dev-tools; } \
            | qt_windows_key "$version")
    if [ -f "$QT_WEB/.complete" ]; then
        echo "Qt for the web: $QT_WEB_SOURCE, cached in $QT_WEB"
        return 0
    fi
    local work=$QT_WINDOWS_CACHE/qt-web-$upstream.build started=$SECONDS
    local src=$work/qt6-base-${version%-*}
    if [ ! -f "$src/.unpacked" ]; then
        echo "Qt for the web: fetching the source of $QT_WEB_SOURCE"
        qt_source_unpacked "$work" "$version" || return 1
        touch "$src/.unpacked"
    fi
    echo "Qt for the web: building Qt $upstream for WebAssembly with emscripten $emcc_version into $QT_WEB (once)"
    mkdir -p "$QT_WEB"
    qt_windows_build "$src" "$work/web" "$QT_WEB" \
        -DCMAKE_TOOLCHAIN_FILE="$QT_WEB_TOOLCHAIN" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake" \
        -DCMAKE_PROJECT_INCLUDE="$ROOT/scripts/lib/qt_windows/unity-build.cmake" \
        "${QT_WEB_FEATURES[@]}" || return 1
    # What the page's licence notice names: Debian's source package as it was built, the options,
    # and Qt's licences.
    local source=$QT_WEB/source
    mkdir -p "$source"
    { printf '%s\n' "${QT_WEB_FEATURES[@]}"
      echo "-DQT_HOST_PATH=/usr  # the host tools of Debian's qt6-base-dev-tools $version, built from this source"
      echo "-DCMAKE_TOOLCHAIN_FILE=$QT_WEB_TOOLCHAIN  # Debian's emscripten $emcc_version"
      echo "-DCMAKE_PROJECT_INCLUDE=unity-build.cmake  # HarfBuzz compiled as a unity build"
    } >"$source/configure-options.txt"
    printf '%s\n' "$QT_WEB_SOURCE" >"$source/debian-source-version.txt"
    cp -r "$src/LICENSES" "$source/"
    rm -rf "$work"
    touch "$QT_WEB/.complete"
    echo "Qt for the web: built in $((SECONDS - started)) s"
}

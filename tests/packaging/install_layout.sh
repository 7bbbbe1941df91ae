#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# An install into an empty prefix puts each file where a freedesktop.org desktop looks for it,
# installs nothing else (no tests or build tools), and the files name each other consistently.
# Usage: install_layout.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
for tool in cmake file; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

# The desktop entry and metainfo under the desktop id, the icon theme's hicolor sizes plus the
# scalable master, and the licence where Debian keeps it.
expected='bin/vorrel
share/applications/org.vorrel.Designer.desktop
share/doc/vorrel/copyright
share/icons/hicolor/16x16/apps/vorrel.png
share/icons/hicolor/256x256/apps/vorrel.png
share/icons/hicolor/32x32/apps/vorrel.png
share/icons/hicolor/48x48/apps/vorrel.png
share/icons/hicolor/scalable/apps/vorrel.svg
share/metainfo/org.vorrel.Designer.metainfo.xml'
installed=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
if [ "$installed" != "$expected" ]; then
    echo "FAIL: the install differs from the expected layout (< expected, > installed):"
    diff <(echo "$expected") <(echo "$installed") || true
    exit 1
fi
echo "ok: $(wc -l <<<"$installed") files where expected"
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; fi; }

[ -x "$prefix/bin/vorrel" ] || { echo "FAIL: bin/vorrel is not executable"; fail=1; }
for size in 16 32 48 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/vorrel.png
    check "${size}x${size}/apps/vorrel.png is a $size x $size PNG" \
        '[[ $(file -b "$png") == "PNG image data, $size x $size,"* ]]'
done

# What the files say about each other.
desktop=$prefix/share/applications/org.vorrel.Designer.desktop
metainfo=$prefix/share/metainfo/org.vorrel.Designer.metainfo.xml
key() { sed -n "s/^$1=//p" "$desktop"; }
exec_binary=$(key Exec | cut -d' ' -f1)
icon=$(key Icon)
check "Exec=$exec_binary is the installed program" '[ -x "$prefix/bin/$exec_binary" ]'
check "Icon=$icon is in every hicolor size" \
    '[ "$(find "$prefix/share/icons/hicolor" -name "$icon.png" -o -name "$icon.svg" | wc -l)" -eq 5 ]'
check "the metainfo launches the installed desktop entry" \
    'grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo"'
check "the metainfo provides the installed program" \
    'grep -q "<binary>$exec_binary</binary>" "$metainfo"'
# The window system matches running windows to the entry by the name the program gives itself.
check "program.cpp sets the desktop file name org.vorrel.Designer" \
    'grep -q "setDesktopFileName(QStringLiteral(\"org.vorrel.Designer\"))" "$source/ui/program.cpp"'
exit $fail

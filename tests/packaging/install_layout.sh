#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# An install into an empty prefix puts each file where a freedesktop.org desktop looks for it,
# installs nothing else (no tests or build tools), the files name each other consistently and
# carry the project's version, and appstreamcli composes the software-centre catalogue from it.
# Usage: install_layout.sh BUILD_DIR SOURCE_DIR VERSION DEB_VERSION
set -euo pipefail
build=$1 source=$2 version=$3 deb_version=$4
for tool in cmake file; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

# The desktop entry and metainfo under the desktop id, the icon theme's hicolor sizes plus the
# scalable master, the manual page, and the licence and changelog where Debian keeps them.
expected='bin/vorrel
share/applications/org.vorrel.Designer.desktop
share/doc/vorrel/changelog.gz
share/doc/vorrel/copyright
share/icons/hicolor/16x16/apps/vorrel.png
share/icons/hicolor/256x256/apps/vorrel.png
share/icons/hicolor/32x32/apps/vorrel.png
share/icons/hicolor/48x48/apps/vorrel.png
share/icons/hicolor/scalable/apps/vorrel.svg
share/man/man1/vorrel.1.gz
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

# The version of project(VERSION) in the newest release of the metainfo, the manual page and the
# Debian changelog, and CHANGELOG.md has an entry for it.
release=$(grep -o -m 1 '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)
check "the metainfo's newest release is $version (it says '$release')" '[ "$release" = "$version" ]'
man=$prefix/share/man/man1/vorrel.1.gz
check "the manual page is of Vorrel Designer $version" \
    'zcat "$man" | grep -q "^\.TH VORREL 1 .*\"Vorrel Designer $version\""'
check "the Debian changelog's newest entry is $deb_version" \
    '[ "$(zcat "$prefix/share/doc/vorrel/changelog.gz" | head -n 1)" = "vorrel ($deb_version) unstable; urgency=medium" ]'
# Each screenshot is a picture of docs/, the folder a packager publishes.
images=$(sed -n 's|.*<image[^>]*>\(.*\)</image>.*|\1|p' "$metainfo")
check "the metainfo has screenshots" '[ -n "$images" ]'
for image in $images; do
    check "screenshot $(basename "$image") is in docs/" '[ -f "$source/docs/$(basename "$image")" ]'
done
check "CHANGELOG.md has an entry for $version" \
    'grep -q "^## \[$version\] - [0-9]\{4\}-[0-9][0-9]-[0-9][0-9]$" "$source/CHANGELOG.md"'

# The catalogue a distribution builds from the install tree: the component with its icon, and no
# error or warning in the report.
if [ -x /usr/libexec/appstreamcli-compose ]; then
    out=$(mktemp -d)
    status=0
    report=$(appstreamcli compose --no-net --no-color --prefix=/ --origin=vorrel --result-root="$out" "$prefix" 2>&1) || status=$?
    printf 'appstreamcli compose:\n%s\n' "$report"
    check "appstreamcli compose succeeds" '[ "$status" -eq 0 ]'
    check "its report has no errors or warnings" '! grep -E -q "^[[:space:]]*[EW]: " <<<"$report"'
    catalogue=$(find "$out" -name 'vorrel.xml.gz' | head -n 1)
    check "the catalogue holds org.vorrel.Designer with its version" \
        '[ -n "$catalogue" ] && zcat "$catalogue" | grep -q "<id>org.vorrel.Designer</id>" &&
         zcat "$catalogue" | grep -q "<release .*version=\"$version\""'
    check "the catalogue carries the icon" '[ -n "$(find "$out" -path "*icons*" -name "*vorrel*.png")" ]'
    rm -rf "$out"
else
    echo "note: appstreamcli compose is not installed (Debian package appstream-compose)"
    [ $fail -eq 0 ] && exit 77
fi
exit $fail

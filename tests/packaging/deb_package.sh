#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# `cpack -G DEB` builds vorrel_<deb version>_<arch>.deb holding the program, its desktop files, icons,
# manual page and changelog and nothing else, with the Qt libraries, the xcb platform plugin and
# the font among its Depends, and lintian finds neither errors nor warnings in it.
# Usage: deb_package.sh BUILD_DIR DEB_VERSION   (the program's version and the system's, 1.00+deb12)
set -euo pipefail
build=$1 version=$2
for tool in cpack dpkg-deb dpkg-shlibdeps timeout; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
timeout 60 cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 || status=$?
if [ "$status" -eq 124 ]; then
    echo "SKIP: cpack took longer than a minute on this machine"; exit 77
fi
cat "$work/cpack.log"
[ "$status" -eq 0 ] || { echo "FAIL: cpack exited with $status"; exit 1; }

deb=$work/vorrel_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "FAIL: no $(basename "$deb"); cpack wrote:"; ls "$work"; exit 1; }
fail=0

# The same layout as a plain install, under /usr.
expected='./usr/bin/vorrel
./usr/share/applications/org.vorrel.Designer.desktop
./usr/share/doc/vorrel/changelog.gz
./usr/share/doc/vorrel/copyright
./usr/share/icons/hicolor/16x16/apps/vorrel.png
./usr/share/icons/hicolor/256x256/apps/vorrel.png
./usr/share/icons/hicolor/32x32/apps/vorrel.png
./usr/share/icons/hicolor/48x48/apps/vorrel.png
./usr/share/icons/hicolor/scalable/apps/vorrel.svg
./usr/share/man/man1/vorrel.1.gz
./usr/share/metainfo/org.vorrel.Designer.metainfo.xml'
contents=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | LC_ALL=C sort)
if [ "$contents" = "$expected" ]; then
    echo "ok: the package holds the $(wc -l <<<"$contents") expected files"
else
    echo "FAIL: the package contents differ (< expected, > packaged):"
    diff <(echo "$expected") <(echo "$contents") || true
    fail=1
fi

# Control fields as the top-level CMakeLists.txt sets them.
while IFS='|' read -r field value; do
    actual=$(dpkg-deb -f "$deb" "$field")
    if [ "$actual" = "$value" ]; then echo "ok: $field: $actual"
    else echo "FAIL: $field is '$actual', expected '$value'"; fail=1; fi
done <<TABLE
Package|vorrel
Version|$version
Maintainer|Vorrel Designer developers <developers@vorrel.example>
Architecture|$(dpkg --print-architecture)
Section|hamradio
Homepage|http://www.qt0nrv.example/
TABLE

# libqt6widgets6 and libqt6gui6 come from dpkg-shlibdeps (libqt6gui6 also carries the xcb platform
# plugin on Debian 12); fonts-liberation2 is the explicit dependency for the layouts' font.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Debian 13 names some of Qt's libraries with a t64 suffix (64-bit time).
for package in libqt6widgets6 libqt6gui6 fonts-liberation2; do
    if grep -E -q "(^|, )$package(t64)?( \(|,|$)" <<<"$depends"; then echo "ok: depends on $package"
    else echo "FAIL: Depends lacks $package"; fail=1; fi
done

# Debian's own check of the package: any error or warning fails, infos are shown.
if command -v lintian >/dev/null; then
    status=0
    report=$(lintian --display-info --fail-on none "$deb" 2>&1) || status=$?
    printf 'lintian:\n%s\n' "${report:-(nothing to report)}"
    if [ "$status" -ne 0 ]; then echo "FAIL: lintian exited with $status"; fail=1
    elif grep -E -q '^[EW]: ' <<<"$report"; then echo "FAIL: lintian reports errors or warnings"; fail=1
    else echo "ok: lintian reports no errors or warnings"; fi
else
    echo "SKIP: lintian is not installed; the package is otherwise as expected"
    [ $fail -eq 0 ] && exit 77
fi
exit $fail

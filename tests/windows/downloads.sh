#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The two Windows downloads as a Windows user meets them, each in a fresh Wine prefix:
# - the ZIP holds the program, the Qt it needs (stripped, no test library), its licence and Qt's,
#   and runs from a folder whose name has blanks and non-ASCII letters;
# - the installer installs silently into Program Files with a Start menu entry and one Apps &
#   Features entry (name, version, publisher, icon, size, quiet uninstall), over an older version
#   and over itself still one entry; the program starts from the Start menu entry and works; the
#   silent uninstall leaves no file, folder, shortcut or registry key of the program.
# Wine's exit status is never taken for success: each step is checked by what it left behind.
# Usage: downloads.sh WINE DOWNLOADS OLDER_INSTALLER WORK
#   DOWNLOADS is the folder cpack wrote vorrel-<version>-win64.{zip,exe} to, OLDER_INSTALLER the
#   same build packaged with a lower version; WORK as for program.sh.
set -euo pipefail
wine=$1 downloads=$2 older=$3 work=$4
here=$(dirname "$0")
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

fail() { echo "FAIL: $*"; exit 1; }
zip=$(ls "$downloads"/vorrel-*-win64.zip)
installer=${zip%.zip}.exe
version=$(basename "$zip" | sed 's/^vorrel-\(.*\)-win64\.zip$/\1/')
[ -f "$installer" ] || fail "no installer beside $zip"
for file in "$zip" "$installer"; do
    size=$(stat -c %s "$file")
    echo "$(basename "$file"): $(awk "BEGIN { printf \"%.1f\", $size / 1048576 }") MB"
    [ "$size" -lt $((12 * 1048576)) ] || fail "$(basename "$file") is over 12 MB"
done

# What the ZIP holds.
contents=$(unzip -Z1 "$zip" | sed 's|^[^/]*/||' | grep -v '/$' | LC_ALL=C sort)
for file in vorrel.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll platforms/qwindows.dll \
            libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll LICENSE.txt \
            licenses/Qt/README.txt licenses/Qt/LGPL-3.0-only.txt licenses/Qt/GPL-3.0-only.txt; do
    grep -qxF "$file" <<<"$contents" || fail "the ZIP has no $file"
done
grep -q '^styles/.*\.dll$' <<<"$contents" || fail "the ZIP has no style plugin"
! grep -qi 'Qt6Test' <<<"$contents" || fail "the ZIP holds Qt's test library"
unpacked="$work/Vorrel Designer für Ærø"
mkdir -p "$unpacked"
unzip -q "$zip" -d "$unpacked"
top=$(find "$unpacked" -mindepth 1 -maxdepth 1 -type d)
for dll in "$top"/*.dll "$top"/*/*.dll; do
    ! x86_64-w64-mingw32-objdump -h "$dll" | grep -q '\.debug_' || fail "$(basename "$dll") is not stripped"
done
notice="$top/licenses/Qt/README.txt"
source_folder=$(grep -o 'vorrel-[^ ]*-qt-source' "$notice" | head -1)
source_version=$(sed -n "s/.*Debian's source package qt6-base \([^ ]*\)\.$/\1/p" "$notice")
[ -n "$source_version" ] || fail "Qt's notice names no Debian source package"
ls "$downloads/$source_folder"/qt6-base_"${source_version%-*}".orig.tar.* >/dev/null 2>&1 \
    && [ -f "$downloads/$source_folder/qt6-base_$source_version.dsc" ] \
    || fail "Qt's source qt6-base $source_version is not beside the downloads in $source_folder"
echo "ZIP: $(wc -l <<<"$contents") files, stripped, no test library; Qt's source qt6-base $source_version beside it"

# new_prefix NAME: a freshly booted Wine prefix.
new_prefix() {
    [ -z "${WINEPREFIX:-}" ] || "$wineserver" -k >/dev/null 2>&1 || true
    export WINEPREFIX=$work/$1
    timeout 180 "$wine" wineboot --init >/dev/null 2>&1 || fail "wineboot could not set up $1"
    "$wineserver" -w
}
new_prefix prefix-zip
# The folder and every path below it in Windows' own form, as the user sees them.
echo "Running vorrel.exe from the ZIP in C:\\…\\$(basename "$unpacked")"
mv "$unpacked" "$WINEPREFIX/drive_c/"
"$here/program.sh" "$wine" "$WINEPREFIX/drive_c/$(basename "$unpacked")/$(basename "$top")/vorrel.exe" "$work"
"$wineserver" -k >/dev/null 2>&1 || true

# The installer.
new_prefix prefix-installer
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
programs="$WINEPREFIX/drive_c/Program Files/Vorrel Designer"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vorrel Designer"
# Every file and folder outside Windows' own, and the software keys of both hives. An NSIS
# uninstaller runs from a copy of itself in the user's Temp folder; the copy is deleted when
# Windows next starts, but under Wine its empty folder (~nsu*.tmp) stays, and goes unlisted.
snapshot() {
    (cd "$WINEPREFIX/drive_c" && find . -path ./windows -prune \
        -o -type d -name '~nsu*.tmp' -empty -prune -o -print | LC_ALL=C sort) >"$1.files"
    # reg export writes UTF-16.
    for hive in HKLM HKCU; do
        "$wine" reg export "$hive\\Software" "$1.$hive.utf16" /y >/dev/null 2>&1
        iconv -f UTF-16 -t UTF-8 "$1.$hive.utf16" | tr -d '\r' >"$1.$hive.reg"
    done
}
snapshot "$work/before"
entries() {
    "$wine" reg query "$uninstall" /s 2>/dev/null | tr -d '\r' \
        | grep -c '^ *DisplayName *REG_SZ *Vorrel Designer$' || true
}
value() { "$wine" reg query "$uninstall\\Vorrel Designer" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }
install() {
    "$wine" "$1" /S >/dev/null 2>&1 || true
    "$wineserver" -w
    [ -f "$programs/vorrel.exe" ] || fail "$(basename "$1") /S installed no $programs/vorrel.exe"
    [ "$(entries)" = 1 ] || fail "after $(basename "$1") Apps & Features lists $(entries) entries"
}
install "$older"
older_version=$(value DisplayVersion)
[ "$older_version" != "$version" ] || fail "the older installer says version $older_version too"
install "$installer"
[ "$(value DisplayVersion)" = "$version" ] || fail "over $older_version, the entry says $(value DisplayVersion)"
install "$installer"
echo "installed $older_version, then $version over it, then $version again: one Apps & Features entry"
[ "$(value DisplayName)" = 'Vorrel Designer' ] || fail "DisplayName is '$(value DisplayName)'"
[ -n "$(value Publisher)" ] || fail "no Publisher"
[[ $(value DisplayIcon) == *'\Vorrel Designer\vorrel.exe' ]] || fail "DisplayIcon is '$(value DisplayIcon)'"
size_kb=$(( $(value EstimatedSize) ))
installed_kb=$(du -sk "$programs" | cut -f1)
[ "$size_kb" -gt $((installed_kb / 2)) ] && [ "$size_kb" -lt $((installed_kb * 2)) ] \
    || fail "EstimatedSize $size_kb KB, but $installed_kb KB are installed"
quiet=$(value QuietUninstallString)
[[ $quiet == *'\Uninstall.exe" /S' ]] || fail "QuietUninstallString is '$quiet'"
echo "entry: $(value DisplayName) $(value DisplayVersion), $(value Publisher), $size_kb KB, icon $(value DisplayIcon)"
[ -f "$menu/Vorrel Designer.lnk" ] || fail "no Start menu entry: $(ls "$menu" 2>&1)"
[ "$(ls "$menu")" = 'Vorrel Designer.lnk' ] || fail "the Start menu folder holds $(ls "$menu" | tr '\n' ' ')"
echo "Start menu: Programs\\Vorrel Designer\\Vorrel Designer.lnk"
"$here/program.sh" "$wine" 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Vorrel Designer\Vorrel Designer.lnk' "$work"

# What the checks below look for is there while the program is installed.
snapshot "$work/installed"
[ -n "$(comm -13 "$work/before.files" "$work/installed.files")" ] && grep -qi vorrel "$work/installed.HKLM.reg" \
    || fail "the snapshot does not see the installed program"

# Uninstall as Apps & Features does when asked quietly.
eval "set -- $(sed 's/\\/\\\\/g' <<<"$quiet")"
"$wine" "$@" >/dev/null 2>&1 || true
"$wineserver" -w
# The uninstaller hands over to a copy of itself in Temp, which Windows deletes at its next start:
# start Wine's Windows anew, as a user's computer is restarted sooner or later.
"$wine" wineboot -r >/dev/null 2>&1 || true
"$wineserver" -w
snapshot "$work/after"
left=$(comm -13 "$work/before.files" "$work/after.files")
[ -z "$left" ] || fail "the uninstaller left: $left"
for hive in HKLM HKCU; do
    ! grep -qi 'vorrel' "$work/after.$hive.reg" || fail "the uninstaller left in $hive: $(grep -i vorrel "$work/after.$hive.reg")"
done
[ "$(entries)" = 0 ] || fail "Apps & Features still lists the program"
echo "PASS: uninstalled silently; no file, folder, shortcut or registry key left"
"$wineserver" -k >/dev/null 2>&1 || true

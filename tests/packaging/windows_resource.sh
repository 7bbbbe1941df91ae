#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows resource script CMake writes compiles with the MinGW resource compiler, and the
# object the linker would take carries the program icon and the version record of project(VERSION).
# Usage: windows_resource.sh BUILD/resources/vorrel.rc VERSION
set -euo pipefail
rc=$(realpath "$1") version=$2
# The numeric form has four numbers: "1.00" is 1, 0, 0, 0.
IFS=. read -r -a parts <<<"$version"
numeric=
for i in 0 1 2 3; do
    numeric+="${numeric:+, }$((10#${parts[i]:-0}))"
done
windres=x86_64-w64-mingw32-windres
for tool in "$windres" strings; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
# windres preprocesses with the MinGW gcc; without the MinGW compiler the host's cpp does as well,
# since the script includes no headers.
preprocessor=()
if ! command -v x86_64-w64-mingw32-gcc >/dev/null; then
    command -v cpp >/dev/null || { echo "SKIP: neither x86_64-w64-mingw32-gcc nor cpp is installed"; exit 77; }
    preprocessor=(--preprocessor=cpp)
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Run elsewhere than the script's folder: the script names the icon by its full path.
cd "$work"
"$windres" "${preprocessor[@]}" -O coff -o vorrel-rc.o "$rc"
"$windres" -i vorrel-rc.o -O rc -o decompiled.rc
fail=0

# The version strings, stored as UTF-16LE key and value one after the other. Expected values: the
# program's name as program.cpp sets it at run time, the project's version, and the executable's
# file name.
strings -el vorrel-rc.o >utf16.txt
while IFS='|' read -r key value; do
    if grep -A1 -x -F "$key" utf16.txt | tail -n 1 | grep -q -x -F "$value"; then
        echo "ok: $key = $value"
    else
        echo "FAIL: no UTF-16 string $key = $value"; fail=1
    fi
done <<TABLE
FileVersion|$version
ProductVersion|$version
ProductName|vorrel
InternalName|vorrel
OriginalFilename|vorrel.exe
TABLE

# The rest as the resource compiler reads the object back: the numeric version, the US English
# Unicode translation the string block is named after, and an icon group named IDI_ICON1 whose
# entries are the three images of vorrel.ico (width height colours, planes, bits per pixel).
while IFS= read -r line; do
    if grep -q -F -- "$line" decompiled.rc; then
        echo "ok: $line"
    else
        echo "FAIL: the compiled resource lacks: $line"; fail=1
    fi
done <<TABLE
FILEVERSION $numeric
PRODUCTVERSION $numeric
BLOCK "040904B0"
VALUE "Translation", 0x409, 1200
"IDI_ICON1" 14 /* RT_GROUP_ICON */
/* Has 3 elements.  */
"\040\040\020\000", 1, 4,
"\040\040\002\000", 1, 1,
"\020\020\020\000", 1, 4,
TABLE
icons=$(grep -c -F '/* RT_ICON */' decompiled.rc || true)
[ "$icons" = 3 ] && echo "ok: 3 RT_ICON images" || { echo "FAIL: $icons RT_ICON images, expected 3"; fail=1; }
exit $fail

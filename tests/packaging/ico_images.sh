#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows icon holds exactly the three classic images, each one decodes to its size, and it is
# what resources/icons/make-ico.sh builds from the committed palette pictures (so a picture edited
# without rebuilding the icon is caught).
# Usage: ico_images.sh PATH/TO/vorrel.ico PATH/TO/make-ico.sh
set -euo pipefail
ico=$1 maker=$2
for tool in icotool file; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

# The icon's images: 32x32 in 16 colours, 32x32 monochrome and 16x16 in 16 colours, in that order.
expected='--icon --index=1 --width=32 --height=32 --bit-depth=4 --palette-size=16
--icon --index=2 --width=32 --height=32 --bit-depth=1 --palette-size=2
--icon --index=3 --width=16 --height=16 --bit-depth=4 --palette-size=16'
listed=$(icotool -l "$ico")
printf 'icotool -l:\n%s\n' "$listed"
[ "$listed" = "$expected" ] || { printf 'FAIL: expected\n%s\n' "$expected"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
icotool -x -o "$work" "$ico"
fail=0
while read -r index size; do
    png=$(find "$work" -name "*_${index}_${size}x*.png" | head -n 1)
    if [ -z "$png" ]; then
        echo "FAIL: image $index (${size}x${size}) did not decode"; fail=1; continue
    fi
    description=$(file -b "$png")
    case $description in
        "PNG image data, $size x $size,"*) echo "image $index: $description" ;;
        *) echo "FAIL: image $index decodes to: $description"; fail=1 ;;
    esac
done <<'TABLE'
1 32
2 32
3 16
TABLE

# make-ico.sh writes next to itself; rebuild from a copy of its folder and compare the bytes.
mkdir "$work/source"
cp -R "$(dirname "$maker")" "$work/source/icons"
sh "$work/source/icons/$(basename "$maker")"
if cmp -s "$work/source/vorrel.ico" "$ico"; then
    echo "ok: icotool rebuilds the same icon from the palette pictures"
else
    echo "FAIL: $(basename "$maker") builds a different icon from the pictures; run it and commit vorrel.ico"
    fail=1
fi
exit $fail

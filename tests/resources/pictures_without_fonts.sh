#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Renders each diagram again with a fontconfig that knows no font and compares it with the picture
# the build rendered: a label drawn as text would come out as empty boxes, or not at all.
# Usage: pictures_without_fonts.sh PATH/TO/svgtopng SOURCE/resources BUILD/resources
set -euo pipefail
svgtopng=$1 sources=$2 built=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '<?xml version="1.0"?>\n<fontconfig><cachedir>%s</cachedir></fontconfig>\n' "$work" \
    >"$work/fonts.conf"
fail=0
for picture in diagram1 diagram2; do
    for png in "$built/$picture.png" "$built/$picture@2x.png"; do
        size=$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print(*struct.unpack(">II", d[16:24]))' "$png")
        FONTCONFIG_FILE=$work/fonts.conf XDG_RUNTIME_DIR=$work \
            "$svgtopng" "$sources/$picture.svg" "$work/out.png" $size
        if cmp -s "$png" "$work/out.png"; then
            echo "same pixels without fonts: $(basename "$png") ($size)"
        else
            echo "FAIL: $(basename "$png") differs when rendered without fonts"; fail=1
        fi
    done
done
exit "$fail"

#!/bin/sh
# SPDX-License-Identifier: MIT
# Rebuilds ../vorrel.ico, the Windows program icon, from the three palette pictures in ico/:
#   vorrel-32x32-4bpp.png   32x32 in 16 colours
#   vorrel-32x32-1bpp.png   32x32 black and white (plus transparent)
#   vorrel-16x16-4bpp.png   16x16 in 16 colours
# Edit a picture with any editor that keeps its palette, run this script (icotool comes with
# Debian's icoutils) and commit the picture together with vorrel.ico.
set -eu
cd "$(dirname "$0")"
icotool --create --output=../vorrel.ico \
    --bit-depth=4 ico/vorrel-32x32-4bpp.png \
    --bit-depth=1 ico/vorrel-32x32-1bpp.png \
    --bit-depth=4 ico/vorrel-16x16-4bpp.png

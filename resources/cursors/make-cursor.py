#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes hand.xbm and hand-mask.xbm, the link cursor, from the picture below.

'#' black, '.' white, ' ' transparent. The hotspot is the top of the index finger.
Run it after editing the picture and commit the two .xbm files with it:
    python3 resources/cursors/make-cursor.py
"""
import pathlib
import sys

HOT_X, HOT_Y = 13, 9

HAND = [
    "                                ",  # 0
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",  # 5
    "                                ",
    "                                ",
    "                                ",
    "            ###                 ",  # 9: fingertip, hotspot in the middle
    "           #...#                ",  # 10
    "           #...#                ",
    "           #...#                ",
    "           #...#                ",
    "           #...#                ",
    "           #...#                ",  # 15
    "           #...####             ",
    "           #...#...####         ",
    "    ###    #...#...#...###      ",
    "   #...#   #...#...#...#..#     ",
    "   #....#  #...#...#...#..#     ",  # 20
    "   #.....# #..............#     ",
    "    #.....#...............#     ",
    "     #....................#     ",
    "      #...................#     ",
    "       #..................#     ",  # 25
    "        #................#      ",
    "         #...............#      ",
    "          #.............#       ",
    "           #............#       ",
    "           ##############       ",  # 30
    "                                ",
]


def xbm(name, rows, pixel_on):
    """X11 bitmap text: rows of 32 pixels, least significant bit first in each byte."""
    data = []
    for row in rows:
        for byte_start in range(0, len(row), 8):
            byte = 0
            for bit, ch in enumerate(row[byte_start:byte_start + 8]):
                if pixel_on(ch):
                    byte |= 1 << bit
            data.append(byte)
    lines = [
        f"#define {name}_width {len(rows[0])}",
        f"#define {name}_height {len(rows)}",
        f"#define {name}_x_hot {HOT_X}",
        f"#define {name}_y_hot {HOT_Y}",
        f"static unsigned char {name}_bits[] = {{",
    ]
    for i in range(0, len(data), 12):
        chunk = ", ".join(f"0x{b:02x}" for b in data[i:i + 12])
        last = i + 12 >= len(data)
        lines.append(f"   {chunk}{' };' if last else ','}")
    return "\n".join(lines) + "\n"


def check(rows):
    if len(rows) != 32 or any(len(r) != 32 for r in rows):
        sys.exit("make-cursor: the picture must be 32 rows of 32 characters")
    if any(ch not in "#. " for r in rows for ch in r):
        sys.exit("make-cursor: only '#', '.' and ' ' may be used")
    if rows[HOT_Y][HOT_X] != "#":
        sys.exit("make-cursor: the hotspot must be on the black fingertip")
    if any(ch != " " for ch in rows[HOT_Y - 1]):
        sys.exit("make-cursor: nothing may stand above the fingertip row")


def main():
    check(HAND)
    out = pathlib.Path(__file__).resolve().parent
    (out / "hand.xbm").write_text(xbm("hand", HAND, lambda ch: ch == "#"))
    (out / "hand-mask.xbm").write_text(xbm("hand_mask", HAND, lambda ch: ch != " "))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the hand-drawn small program icons from the pixel pictures below:

  ../vorrel.ico                      32x32 16 colours, 32x32 monochrome, 16x16 16 colours
  hicolor/16x16/apps/vorrel.png      RGBA, same pictures in the colours of vorrel.svg
  hicolor/32x32/apps/vorrel.png

The larger PNGs are rendered from vorrel.svg, which these pictures follow.
Run it after editing a picture and commit its output with it:
    python3 resources/icons/make-ico.py
"""
import pathlib
import struct
import sys
import zlib

# Key: ' ' transparent, then each colour as (RGBA for the PNGs, index in the 16-colour palette,
# index in the black-and-white palette of the monochrome image).
COLOURS = {
    "K": ((0x1A, 0x1A, 0x1A, 255), 0, 0),   # outlines, text
    "B": ((0x21, 0x56, 0xC7, 255), 4, 0),   # title bar
    "W": ((0xFF, 0xFF, 0xFF, 255), 15, 1),  # picture box, text boxes
    "S": ((0xD4, 0xD4, 0xD4, 255), 7, 1),   # window face, title buttons
    "G": ((0x7F, 0x7F, 0x7F, 255), 8, 0),   # sunken edges
    "R": ((0xE0, 0x10, 0x20, 255), 9, 0),   # dimension arrow
}

# The standard 16-colour VGA palette in the order Windows uses for 4-bit bitmaps.
VGA16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
MONO = [(0x00, 0x00, 0x00), (0xFF, 0xFF, 0xFF)]

ICON32 = [
    "                                ",  # 0
    "                                ",
    "                                ",
    "  KKKKKKKKKKKKKKKKKKKKKKKKKKKK  ",
    " KBBBBBBBBBBBBBBBBBBBBBBBBBBBBK ",
    " KBBBBBBBBBBBBBBBBBBBBSSSBSSSBK ",  # 5
    " KBBWWWWWWWWWWBBBBBBBBSSSBSSSBK ",
    " KBBBBBBBBBBBBBBBBBBBBSSSBSSSBK ",
    " KBBBBBBBBBBBBBBBBBBBBBBBBBBBBK ",
    " KSSSSSSSSSSSSSSSSSSSSSSSSSSSSK ",
    " KSSSSSSSSSSSSSSSSSSSSSSSSSSSSK ",  # 10
    " KSSGGGGGGGGGGGGGSSSSSSSSSSSSSK ",
    " KSSGWWWWWWWWWWWGSGGGGGGGGGGGSK ",
    " KSSGWRWKKWWWWWWGSGWWWWWWWWWGSK ",
    " KSSGRRRKKWWWWWWGSGWKKKKWWWWGSK ",
    " KSSGWRWKKWWWWWWGSGGGGGGGGGGGSK ",  # 15
    " KSSGWRWKKWWWWWWGSSSSSSSSSSSSSK ",
    " KSSGWRWKKWWKKWWGSGGGGGGGGGGGSK ",
    " KSSGWRWKKWWKKWWGSGWWWWWWWWWGSK ",
    " KSSGWRWKKWWKKWWGSGWKKKWWWWWGSK ",
    " KSSGRRRKKWWKKWWGSGGGGGGGGGGGSK ",  # 20
    " KSSGWRWKKWWKKWWGSSSSSSSSSSSSSK ",
    " KSSGWWWKKKKKKWWGSGGGGGGGGGGGSK ",
    " KSSGWWWKKKKKKWWGSGWWWWWWWWWGSK ",
    " KSSGWWWKKWWWWWWGSGWKKKKKWWWGSK ",
    " KSSGWWWKKWWWWWWGSGGGGGGGGGGGSK ",  # 25
    " KSSGGGGGGGGGGGGGSSSSSSSSSSSSSK ",
    " KSSSSSSSSSSSSSSSSSSSSSSSSSSSSK ",
    "  KKKKKKKKKKKKKKKKKKKKKKKKKKKK  ",
    "                                ",
    "                                ",  # 30
    "                                ",
]

ICON16 = [
    "                ",  # 0
    " KKKKKKKKKKKKKK ",
    "KBBBBBBBBBBBBBBK",
    "KBWWWWWBBBBBSSBK",
    "KBBBBBBBBBBBBBBK",
    "KSSSSSSSSSSSSSSK",  # 5
    "KSWWWWWWSSSSSSSK",
    "KSWRWKWWSWWWWWSK",
    "KSWRWKWWSSSSSSSK",
    "KSWRWKWKSWWWWWSK",
    "KSWRWKWKSSSSSSSK",  # 10
    "KSWWWKKKSWWWWWSK",
    "KSWWWKWWSSSSSSSK",
    "KSSSSSSSSSSSSSSK",
    " KKKKKKKKKKKKKK ",
    "                ",  # 15
]


def check(name, rows, size):
    if len(rows) != size or any(len(r) != size for r in rows):
        sys.exit(f"make-ico: {name} must be {size} rows of {size} characters")
    bad = {ch for r in rows for ch in r} - set(COLOURS) - {" "}
    if bad:
        sys.exit(f"make-ico: {name} uses unknown colours {sorted(bad)}")


def png(rows):
    raw = b"".join(
        b"\x00" + b"".join(bytes(COLOURS[ch][0]) if ch != " " else b"\0\0\0\0" for ch in r)
        for r in rows)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def packed_rows(rows, bits, value):
    """Bottom-up rows of `bits`-bit pixels, most significant first, padded to 32 bits."""
    out = b""
    per_byte = 8 // bits
    for r in reversed(rows):
        data = bytearray()
        for i in range(0, len(r), per_byte):
            byte = 0
            for ch in r[i:i + per_byte]:
                byte = (byte << bits) | value(ch)
            byte <<= bits * (per_byte - len(r[i:i + per_byte]))
            data.append(byte)
        data += b"\0" * (-len(data) % 4)
        out += bytes(data)
    return out


def dib(rows, bits):
    """One icon image: BITMAPINFOHEADER, palette, colour (XOR) bitmap, transparency (AND) mask."""
    palette, slot = (VGA16, 1) if bits == 4 else (MONO, 2)
    # Transparent pixels are colour 0 with mask bit 1, which leaves the screen as it is.
    xor = packed_rows(rows, bits, lambda ch: COLOURS[ch][slot] if ch != " " else 0)
    mask = packed_rows(rows, 1, lambda ch: 1 if ch == " " else 0)
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0,
                         len(xor) + len(mask), 0, 0, len(palette), 0)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + colours + xor + mask


def ico(images):
    """images: (rows, bits per pixel) in the order they go into the directory."""
    blobs = [dib(rows, bits) for rows, bits in images]
    offset = 6 + 16 * len(images)
    out = struct.pack("<HHH", 0, 1, len(images))
    for (rows, bits), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", len(rows), len(rows), 1 << bits, 0, 1, bits,
                           len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def main():
    check("ICON32", ICON32, 32)
    check("ICON16", ICON16, 16)
    here = pathlib.Path(__file__).resolve().parent
    (here.parent / "vorrel.ico").write_bytes(ico([(ICON32, 4), (ICON32, 1), (ICON16, 4)]))
    for rows in (ICON16, ICON32):
        size = len(rows)
        target = here / "hicolor" / f"{size}x{size}" / "apps" / "vorrel.png"
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(png(rows))


if __name__ == "__main__":
    main()

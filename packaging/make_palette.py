#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes verasco.pal, the 256-colour palette used for thumbnails on displays of fewer than 16 bits per
pixel: a 6 x 7 x 6 colour cube (seven steps of green) and four extra greys, as a RIFF "PAL " file
(version 0x0300, 256 entries of red, green, blue, flags). The imaging library's standardPalette()
holds the same colours."""
import struct
import sys


def colours():
    for r in range(6):
        for g in range(7):
            for b in range(6):
                yield r * 255 // 5, (g * 255 + 3) // 6, b * 255 // 5
    for grey in (34, 68, 119, 187):
        yield grey, grey, grey


def palette_file():
    entries = b"".join(struct.pack("<BBBB", r, g, b, 0) for r, g, b in colours())
    data = struct.pack("<HH", 0x0300, len(entries) // 4) + entries
    form = b"PAL " + b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(form)) + form


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "verasco.pal"
    with open(out, "wb") as f:
        f.write(palette_file())

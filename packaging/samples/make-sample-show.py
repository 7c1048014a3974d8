#!/usr/bin/env python3
"""Writes sample.vrs, the show that scripts/run opens: one slide per sample picture, with times and
captions. The stored paths name a Windows folder on purpose: Verasco finds the pictures again next
to the show file, wherever this folder has been copied to."""
import struct

SLIDES = [
    ("sunrise.jpg", 4, "Morning over the hills"),
    ("night.png", 5, "The same hills at night"),
    ("shapes.bmp", 3, "Three shapes"),
    ("tiles.pcx", 3, "Tiles"),
    ("swirl.tga", 4, "A swirl of colour"),
    ("leaf.tif", 5, "Light through a leaf"),
]


def short_string(text, capacity):
    data = text.encode("latin-1")[:capacity]
    return bytes([len(data)]) + data + bytes(capacity - len(data))


def record(name, delay, caption):
    rec = bytes(2)
    rec += short_string("C:\\Verasco\\Samples\\" + name, 255)
    rec += short_string("", 255)
    rec += bytes([delay, 0, 1]) + bytes(3)
    rec += short_string("MS Sans Serif", 32) + bytes(3)
    rec += struct.pack("<ii", 0x00000000, 10)
    rec += bytes([1]) + bytes(3)
    rec += short_string(caption, 255)
    assert len(rec) == 824
    return rec


with open("sample.vrs", "wb") as out:
    out.write(b"MORVANT rev1.00")
    out.write(struct.pack("<ii", len(SLIDES), 824))
    for slide in SLIDES:
        out.write(record(*slide))

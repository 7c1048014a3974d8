#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes sample.vrs, the show that scripts/run opens: one slide per sample picture, with times and
captions, and a last slide that holds for its chime (chime.wav, from make-chime.py). The stored
paths name a Windows folder on purpose: Verasco finds the pictures and the sound again next to the
show file, wherever this folder has been copied to."""
import struct

FOLDER = "C:\\Verasco\\Samples\\"
SLIDES = [
    ("sunrise.jpg", 4, "Morning over the hills", ""),
    ("night.png", 5, "The same hills at night", ""),
    ("shapes.bmp", 3, "Three shapes", ""),
    ("tiles.pcx", 3, "Tiles", ""),
    ("swirl.tga", 4, "A swirl of colour", ""),
    ("leaf.tif", 5, "Light through a leaf", ""),
    ("bells.png", 1, "The end, with a chime", "chime.wav"),
]


def short_string(text, capacity):
    data = text.encode("latin-1")[:capacity]
    return bytes([len(data)]) + data + bytes(capacity - len(data))


def record(name, delay, caption, audio):
    rec = bytes(2)
    rec += short_string(FOLDER + name, 255)
    rec += short_string(FOLDER + audio if audio else "", 255)
    rec += bytes([delay, 1 if audio else 0, 1]) + bytes(3)
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

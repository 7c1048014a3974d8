#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes chime.wav, the sound of the sample show's last slide: three bell-like notes, each a few
decaying partials, as 16-bit mono PCM at 11025 Hz. Made here from arithmetic alone; nothing is
recorded or downloaded, and the same file comes out every time."""
import math
import struct
import wave

RATE = 11025
NOTES = [(0.00, 784.0), (0.30, 659.3), (0.60, 523.3)]  # start in seconds, pitch in Hz
LENGTH = 1.6  # seconds
PARTIALS = [(1.0, 1.0), (2.76, 0.4), (5.40, 0.15)]  # relative pitch and loudness of a small bell


def sample(t):
    value = 0.0
    for start, pitch in NOTES:
        age = t - start
        if age < 0:
            continue
        decay = math.exp(-age * 3.0)
        for ratio, loudness in PARTIALS:
            value += loudness * decay * math.sin(2 * math.pi * pitch * ratio * age)
    return value / 2.2


with wave.open("chime.wav", "wb") as out:
    out.setnchannels(1)
    out.setsampwidth(2)
    out.setframerate(RATE)
    frames = bytearray()
    for i in range(int(RATE * LENGTH)):
        frames += struct.pack("<h", int(max(-1.0, min(1.0, sample(i / RATE))) * 20000))
    out.writeframes(bytes(frames))

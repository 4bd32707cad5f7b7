#!/usr/bin/env python3
"""Writes data/complete.wav, the sound Tessaly plays when a download run ends: two soft rising
chime notes, 16-bit mono at 22050 Hz, well under a second."""
import math
import struct
import sys
import wave

RATE = 22050
NOTES = [(659.25, 0.0, 0.45), (987.77, 0.12, 0.55)]  # E5 then B5: (frequency, start, length) in seconds
LENGTH = 0.7


def sample(t):
    value = 0.0
    for frequency, start, length in NOTES:
        local = t - start
        if 0.0 <= local < length:
            attack = min(1.0, local / 0.01)
            decay = math.exp(-local * 7.0)
            tone = math.sin(2 * math.pi * frequency * local) + 0.25 * math.sin(4 * math.pi * frequency * local)
            value += 0.3 * attack * decay * tone
    return max(-1.0, min(1.0, value))


def main(path):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        frames = bytearray()
        for i in range(int(RATE * LENGTH)):
            frames += struct.pack("<h", int(sample(i / RATE) * 32767))
        out.writeframes(bytes(frames))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "data/complete.wav")

#!/usr/bin/env python3
"""Makes the sample game's images and sounds from code alone, into the given
folder: icons/icon-<n>.png, images/star.png, media/music.wav (a looping
tune) and media/intro.wav (about 4 MB of tones, long enough that the media
stack fetches it in byte ranges). The output is the same on every run."""
import math
import os
import struct
import sys
import wave
import zlib


def png(size, pixel):
    """A size x size RGBA PNG whose pixel(x, y) gives (r, g, b, a)."""
    rows = b"".join(b"\0" + bytes(c for x in range(size) for c in pixel(x, y)) for y in range(size))

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")


def star(size, background):
    """A five-pointed gold star, anti-aliased by 4x4 sampling."""
    centre, outer, inner = size / 2, size * 0.47, size * 0.19
    corners = []
    for i in range(10):
        angle = -math.pi / 2 + i * math.pi / 5
        radius = outer if i % 2 == 0 else inner
        corners.append((centre + radius * math.cos(angle), centre + radius * math.sin(angle)))

    def inside(px, py):
        crossings = 0
        for (x1, y1), (x2, y2) in zip(corners, corners[1:] + corners[:1]):
            if (y1 > py) != (y2 > py) and px < x1 + (py - y1) * (x2 - x1) / (y2 - y1):
                crossings += 1
        return crossings % 2 == 1

    def pixel(x, y):
        hits = sum(inside(x + (i + 0.5) / 4, y + (j + 0.5) / 4) for i in range(4) for j in range(4))
        cover = hits / 16
        base = background
        gold = (255, 210, 90, 255)
        if base[3] == 0:
            return (gold[0], gold[1], gold[2], round(255 * cover))
        return tuple(round(base[k] * (1 - cover) + gold[k] * cover) for k in range(3)) + (255,)

    return png(size, pixel)


def tones(path, seconds, rate, channels, notes, volume):
    """A WAV of the notes (frequencies, one per beat) played in turn with soft edges."""
    beat = rate // 4
    frames = bytearray()
    for n in range(int(seconds * rate)):
        note = notes[(n // beat) % len(notes)]
        phase = (n % beat) / beat
        envelope = min(1.0, phase * 20) * (1 - phase) ** 0.5
        sample = volume * envelope * (math.sin(2 * math.pi * note * n / rate) + 0.3 * math.sin(4 * math.pi * note * n / rate))
        value = struct.pack("<h", int(max(-1.0, min(1.0, sample)) * 32767))
        frames += value * channels
    with wave.open(path, "wb") as out:
        out.setnchannels(channels)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(bytes(frames))


def main(folder):
    for name in ("icons", "images", "media"):
        os.makedirs(os.path.join(folder, name), exist_ok=True)
    for size in (16, 32, 64, 128, 256):
        with open(os.path.join(folder, "icons", f"icon-{size}.png"), "wb") as out:
            out.write(star(size, (18, 26, 54, 255)))
    with open(os.path.join(folder, "images", "star.png"), "wb") as out:
        out.write(star(64, (0, 0, 0, 0)))
    melody = [523.25, 659.25, 783.99, 659.25, 587.33, 698.46, 880.0, 698.46]
    tones(os.path.join(folder, "media", "music.wav"), 8, 22050, 1, melody, 0.25)
    tones(os.path.join(folder, "media", "intro.wav"), 24, 44100, 2, [261.63, 329.63, 392.0, 523.25], 0.3)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

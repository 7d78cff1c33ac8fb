#!/usr/bin/env python3
"""Makes the suite's media in a folder, so that no binary is committed:
star.png (an orange 16x16 square), tone.wav (one second of 440 Hz),
colours.webm (six seconds of video: red, green, then blue, two seconds
each, made by Debian's ffmpeg) and doc.pdf (one page that reads
"Velmora 42", padded past a megabyte so that a reader asks for pieces)."""
import math
import os
import struct
import subprocess
import sys
import zlib


def png(path, width, height, rgb):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    rows = b"".join(b"\0" + bytes(rgb) * width for _ in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def wav(path, seconds, hertz, rate=44100):
    samples = b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * hertz * i / rate))) for i in range(int(seconds * rate)))
    header = b"RIFF" + struct.pack("<I", 36 + len(samples)) + b"WAVEfmt " + struct.pack("<IHHIIHH", 16, 1, 1, rate, rate * 2, 2, 16)
    with open(path, "wb") as out:
        out.write(header + b"data" + struct.pack("<I", len(samples)) + samples)


def webm(path):
    colours = "".join(f"color=c=0x{c}:s=320x240:r=24:d=2[c{c}];" for c in ("FF0000", "00FF00", "0000FF"))
    subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", "nullsrc",
                    "-filter_complex", colours + "[cFF0000][c00FF00][c0000FF]concat=n=3[out]", "-map", "[out]",
                    "-c:v", "libvpx", "-b:v", "200k", "-g", "12", "-pix_fmt", "yuv420p", path], check=True)


def pdf(path):
    text = b"BT /F1 36 Tf 72 700 Td (Velmora 42) Tj ET"
    padding = b"%" + b"0123456789" * 120000 + b"\n"
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R /Resources << /Font << /F1 5 0 R >> >> >>",
        b"<< /Length %d >>\nstream\n" % len(text) + text + b"\nendstream",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    ]
    body = b"%PDF-1.4\n" + padding
    offsets = []
    for number, content in enumerate(objects, 1):
        offsets.append(len(body))
        body += b"%d 0 obj\n" % number + content + b"\nendobj\n"
    xref = len(body)
    body += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    body += b"".join(b"%010d 00000 n \n" % offset for offset in offsets)
    body += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    with open(path, "wb") as out:
        out.write(body)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    png(os.path.join(folder, "star.png"), 16, 16, (255, 136, 0))
    wav(os.path.join(folder, "tone.wav"), 1.0, 440)
    webm(os.path.join(folder, "colours.webm"))
    pdf(os.path.join(folder, "doc.pdf"))


main(sys.argv[1])

#!/usr/bin/env python3
"""Writes the two sample comparison pictures: 1296 x 759, 8-bit RGBA PNG,
labelled BEFORE and AFTER. Run from the project folder."""
import struct
import zlib

W, H = 1296, 759
FONT = {  # 5 x 7 glyphs, one string of five bits a row
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    " ": ["00000"] * 7,
}


def draw(pixels, words, scale, top, colour):
    width = (len(words) * 6 - 1) * scale
    left = (W - width) // 2
    for i, ch in enumerate(words):
        for y, row in enumerate(FONT[ch]):
            for x, bit in enumerate(row):
                if bit == "1":
                    for dy in range(scale):
                        line = pixels[top + y * scale + dy]
                        for dx in range(scale):
                            px = left + (i * 6 + x) * scale + dx
                            line[px * 4:px * 4 + 4] = colour


def picture(label, background, path):
    pixels = [bytearray(background * W) for _ in range(H)]
    draw(pixels, label, 24, 200, bytes((255, 255, 255, 255)))
    draw(pixels, "SAMPLE", 8, 520, bytes((30, 30, 30, 255)))
    raw = b"".join(b"\0" + bytes(row) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", W, H, 8, 6, 0, 0, 0)  # 8-bit RGBA, not interlaced
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9)) +
                chunk(b"IEND", b""))


picture("BEFORE", bytes((150, 60, 60, 255)), "payloads/sample/before.png")
picture("AFTER", bytes((50, 130, 70, 255)), "payloads/sample/after.png")

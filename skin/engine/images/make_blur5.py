#!/usr/bin/env python3
"""Writes blur5.png, the built-in soft-edged square of the skin engine.

A 21 x 21 grey image: white at the rim, darkening by a fifth per pixel
towards the inside, black from the sixth pixel on. Outer effects use it as
the mask of a form's shadow or outline when the skin brings none.

Run from this folder: python3 make_blur5.py
"""
import struct
import zlib

SIZE = 21
FADE = 5


def level(x, y):
    rim = min(x, y, SIZE - 1 - x, SIZE - 1 - y)
    return 255 * max(FADE - rim, 0) // FADE


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def main():
    rows = b"".join(b"\x00" + bytes(level(x, y) for x in range(SIZE)) for y in range(SIZE))
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 0, 0, 0, 0)  # 8-bit greyscale
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
           chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))
    with open("blur5.png", "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main()

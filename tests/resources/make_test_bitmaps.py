#!/usr/bin/env python3
"""Writes the bitmap resources that the HTML image tests load.

Run from anywhere; the files land beside this script. Each picture is simple
enough that a test can say which colour any pixel must have:
  test4bit.bmp    16 x 4, 4 bits, colours-used 0 (16-entry table): column x has colour index x
  test8bit.bmp    12 x 6, 8 bits, colours-used 4: left half red, right half blue
  test24bit.bmp   32 x 32, 24 bits: all (r 0x20, g 0x80, b 0xC0)
  testmagenta.bmp 8 x 8, 24 bits: green ring two pixels wide around a magenta 4 x 4 centre
  testshort.bmp   claims 64 x 64 at 24 bits but carries the pixels of one row only
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def row_bytes(bits, width):
    return ((bits * width + 31) // 32) * 4


def write_bmp(name, width, height, bits, palette, colours_used, pixel, keep_rows=None):
    """pixel(x, y) gives a palette index (bits <= 8) or an (r, g, b) triple; y 0 is the top row."""
    stride = row_bytes(bits, width)
    rows = []
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            value = pixel(x, y)
            if bits == 24:
                r, g, b = value
                row[x * 3:x * 3 + 3] = bytes((b, g, r))
            elif bits == 8:
                row[x] = value
            elif bits == 4:
                shift = 4 if x % 2 == 0 else 0
                row[x // 2] |= value << shift
        rows.append(bytes(row))
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    bits_data = b"".join(rows[:keep_rows])
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, stride * height, 2835, 2835,
                       colours_used, 0)
    offset = 14 + len(info) + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits_data), 0, 0, offset)
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(header + info + table + bits_data)


SIXTEEN = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]

write_bmp("test4bit.bmp", 16, 4, 4, SIXTEEN, 0, lambda x, y: x)
write_bmp("test8bit.bmp", 12, 6, 8, [(0, 0, 0), (255, 0, 0), (0, 255, 0), (0, 0, 255)], 4,
          lambda x, y: 1 if x < 6 else 3)
write_bmp("test24bit.bmp", 32, 32, 24, [], 0, lambda x, y: (0x20, 0x80, 0xC0))
write_bmp("testmagenta.bmp", 8, 8, 24, [], 0,
          lambda x, y: (255, 0, 255) if 2 <= x < 6 and 2 <= y < 6 else (0, 255, 0))
write_bmp("testshort.bmp", 64, 64, 24, [], 0, lambda x, y: (1, 2, 3), keep_rows=1)

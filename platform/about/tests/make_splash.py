#!/usr/bin/env python3
# Draws the about tests' splash picture (360 x 220, 24-bit BMP) into the file given: a sky gradient, a sun
# and a row of hills, so that a screenshot shows at a glance that the picture came through whole.
import math, struct, sys

W, H = 360, 220

def pixel(x, y):
    if (x - 280) ** 2 + (y - 60) ** 2 < 900:
        return (250, 210, 70)
    hill = 150 + 18 * math.sin(x / 23.0) + 8 * math.sin(x / 7.0)
    if y > hill:
        return (50, 110 + (y - 150), 60)
    return (60 + y // 3, 110 + y // 3, 220)

rows = bytearray()
pad = (4 - W * 3 % 4) % 4
for y in range(H - 1, -1, -1):
    for x in range(W):
        r, g, b = pixel(x, y)
        rows += bytes((b, g, r))
    rows += b"\0" * pad
header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
with open(sys.argv[1], "wb") as f:
    f.write(header + info + rows)

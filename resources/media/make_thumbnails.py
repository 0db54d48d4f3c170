#!/usr/bin/env python3
# Draws NXMedia's three default thumbnails (80 x 60, 24-bit BMP) into the folder given: a landscape for
# pictures, a film strip for videos, a sound wave for sounds. Run by the build; nothing drawn is committed.
import math, struct, sys

W, H = 80, 60

def write_bmp(path, pixel):
    row_bytes = (W * 3 + 3) & ~3
    data = bytearray()
    for y in range(H - 1, -1, -1):  # bottom-up rows
        row = bytearray()
        for x in range(W):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)

def picture(x, y):
    hill = 38 + 6 * math.sin(x / 9.0)
    if (x - 60) ** 2 + (y - 14) ** 2 < 36:
        return (250, 220, 60)          # sun
    if y > hill:
        return (40, 120 + int(y), 50)  # meadow
    return (90 + y * 2, 150 + y, 230)  # sky

def video(x, y):
    if y < 8 or y >= 52:
        return (255, 255, 255) if (x % 10) in (3, 4, 5) and (y % 52) in range(2, 6) or \
               (x % 10) in (3, 4, 5) and y in range(54, 58) else (30, 30, 30)
    if x % 26 in (0, 1):
        return (30, 30, 30)            # frame borders
    return (70 + x, 110, 200 - y)

def sound(x, y):
    wave = 30 + 18 * math.sin(x / 5.0) * math.exp(-((x - 40) / 30.0) ** 2)
    if abs(y - wave) < 2:
        return (20, 90, 200)
    return (235, 240, 245) if y % 10 else (200, 210, 220)

out = sys.argv[1]
write_bmp(out + "/picture.bmp", picture)
write_bmp(out + "/video.bmp", video)
write_bmp(out + "/sound.bmp", sound)

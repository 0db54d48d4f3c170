#!/usr/bin/env python3
# Draws the Gallery's three type icons (12 x 12, 32-bit with a mask) into the folder given: a picture
# (landscape), a video (film frame) and a sound (note). Run by the build; nothing drawn is committed.
import struct, sys

S = 12

def write_ico(path, pixel):
    xor = bytearray()
    for y in range(S - 1, -1, -1):  # bottom-up rows
        for x in range(S):
            r, g, b, a = pixel(x, y)
            xor += bytes((b, g, r, a))
    mask_row = 4  # 12 bits padded to 32
    andmask = bytearray()
    for y in range(S - 1, -1, -1):
        bits = 0
        for x in range(S):
            if pixel(x, y)[3] == 0:
                bits |= 1 << (31 - x)
        andmask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, S, 2 * S, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    image = header + xor + andmask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", S, S, 0, 0, 1, 32, len(image), 22)
    with open(path, "wb") as f:
        f.write(directory + image)

CLEAR = (0, 0, 0, 0)

def picture(x, y):
    if x in (0, S - 1) or y in (1, S - 2):
        return (60, 60, 60, 255) if 1 <= y <= S - 2 else CLEAR
    if not 1 < y < S - 2:
        return CLEAR
    if (x - 8) ** 2 + (y - 4) ** 2 <= 2:
        return (250, 210, 40, 255)
    if y > 7 - abs(x - 4) // 2:
        return (40, 150, 60, 255)
    return (120, 180, 240, 255)

def video(x, y):
    if not 1 <= y <= S - 2:
        return CLEAR
    if y in (1, 2, S - 3, S - 2):
        return (255, 255, 255, 255) if x % 3 == 1 and y in (2, S - 3) else (30, 30, 30, 255)
    return (30, 30, 30, 255) if x in (0, S - 1) else (90, 140, 220, 255)

def sound(x, y):
    stem = x == 8 and 1 <= y <= 8
    flag = y in (1, 2) and 8 <= x <= 10
    head = (x - 6) ** 2 + (y - 9) ** 2 <= 4
    return (20, 20, 120, 255) if stem or flag or head else CLEAR

out = sys.argv[1]
write_ico(out + "/picture.ico", picture)
write_ico(out + "/video.ico", video)
write_ico(out + "/sound.ico", sound)

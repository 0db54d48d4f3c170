#!/usr/bin/env python3
# Draws the postcard player's viewer support files and icon into the folder given: "picw13.bin", the desk
# the card lies on (a 128 x 128 wood tile, 24-bit BMP), "picn1113.bin", the stamp (88 x 104 24-bit BMP, its
# perforation holes in the key colour magenta), and "nxplay.ico". Run by the build; nothing drawn is committed.
import math, os, struct, sys

KEY = (255, 0, 255)  # transparent in the stamp


def bmp_bytes(width, height, pixel):
    row_bytes = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up rows
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + data


def hash_noise(x, y, seed):
    n = (x * 374761393 + y * 668265263 + seed * 982451653) & 0xFFFFFFFF
    n = ((n ^ (n >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((n ^ (n >> 16)) & 0xFFFF) / 65535.0


def clamp(v):
    return max(0, min(255, int(round(v))))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# The desk: wood grain running across, every term periodic in 128 so the tile repeats without seams.
TILE = 128


def wood(x, y):
    u, v = 2 * math.pi * x / TILE, 2 * math.pi * y / TILE
    bend = 0.35 * math.sin(u + 0.7) + 0.15 * math.sin(2 * u + v) + 0.1 * math.sin(3 * v)
    rings = 0.5 + 0.5 * math.sin(4 * v + 1.4 * bend) * math.cos(2 * v - u)
    fibre = sum(hash_noise((x + k) % TILE, y, 7) for k in range(-6, 7)) / 13.0  # streaks along the grain
    dark, light = (92, 58, 34), (150, 102, 62)
    t = 0.55 * rings + 0.45 * (fibre - 0.5) * 2.2 + 0.25
    c = mix(dark, light, t)
    speck = (hash_noise(x, y, 11) - 0.5) * 10
    return tuple(clamp(ch + speck) for ch in c)


# The stamp: a perforated white paper edge around a small landscape with the sun and a flying bird.
SW, SH, EDGE, HOLE_STEP, HOLE_R = 88, 104, 7, 8, 2.6


def stamp(x, y):
    # Perforation: half-holes cut into each edge at even steps.
    for cx, cy in perforation_centres():
        if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= HOLE_R ** 2:
            return KEY
    inner_left, inner_top, inner_right, inner_bottom = EDGE + 3, EDGE + 3, SW - EDGE - 3, SH - EDGE - 18
    paper = (255, 255, 255)
    if not (inner_left <= x < inner_right and inner_top <= y < inner_bottom):
        # The denomination band at the foot: a red bar, the rest white paper.
        if inner_left <= x < inner_right and inner_bottom + 4 <= y < SH - EDGE - 3:
            return (196, 52, 44)
        return paper
    fx = (x - inner_left) / (inner_right - inner_left)
    fy = (y - inner_top) / (inner_bottom - inner_top)
    sun = (fx - 0.72) ** 2 + (fy - 0.28) ** 2
    if sun < 0.012:
        return (255, 214, 92)
    hills = 0.62 + 0.08 * math.sin(fx * 7.0) + 0.05 * math.sin(fx * 15.0 + 1.0)
    if fy > hills:
        t = (fy - hills) / max(0.01, 1 - hills)
        return tuple(clamp(c) for c in mix((76, 140, 78), (38, 92, 52), t))
    sea = 0.55
    if fy > sea:
        return tuple(clamp(c) for c in mix((54, 120, 170), (34, 88, 140), (fy - sea) / 0.1))
    # A bird: two arcs.
    bx, by = fx - 0.32, fy - 0.3
    for side in (-1, 1):
        d = math.hypot(bx - side * 0.06, by + 0.02)
        if abs(d - 0.06) < 0.012 and by < 0:
            return (40, 40, 56)
    return tuple(clamp(c) for c in mix((120, 176, 226), (222, 236, 246), fy / sea))


def perforation_centres():
    centres = []
    for x in range(HOLE_STEP // 2, SW, HOLE_STEP):
        centres += [(x, 0), (x, SH)]
    for y in range(HOLE_STEP // 2, SH, HOLE_STEP):
        centres += [(0, y), (SW, y)]
    return centres


# The icon: a cream card with an airmail border and a stamp, at 32 and 16 pixels, 32-bit with alpha.
def icon_pixel(x, y, size):
    s = size / 32.0
    left, top, right, bottom = 2 * s, 6 * s, 30 * s, 26 * s
    px, py = x + 0.5, y + 0.5
    if not (left <= px < right and top <= py < bottom):
        return (0, 0, 0, 0)
    border = 2.2 * s
    if px < left + border or px >= right - border or py < top + border or py >= bottom - border:
        stripe = int((px + py) / (3 * s)) % 3
        return ((200, 40, 40), (250, 248, 240), (40, 70, 170))[stripe] + (255,)
    if right - 11 * s <= px < right - 4 * s and top + 4 * s <= py < top + 11 * s:
        return (210, 70, 60, 255)  # stamp
    if left + 5 * s <= px < left + 15 * s and int(py - top) in (int(8 * s), int(12 * s), int(16 * s)):
        return (120, 120, 140, 255)  # writing
    return (250, 246, 232, 255)


def ico_bytes(sizes):
    images = []
    for size in sizes:
        xor = bytearray()
        mask_row = ((size + 31) // 32) * 4
        mask = bytearray()
        for y in range(size - 1, -1, -1):
            bits = 0
            row = bytearray(mask_row)
            for x in range(size):
                r, g, b, a = icon_pixel(x, y, size)
                xor += bytes((b, g, r, a))
                if a == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        images.append(header + xor + mask)
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    outputs = {
        "picw13.bin": bmp_bytes(TILE, TILE, wood),
        "picn1113.bin": bmp_bytes(SW, SH, stamp),
        "nxplay.ico": ico_bytes([32, 16]),
    }
    for name, data in outputs.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
# Draws the host program's pictures into the folder given: the program and document icons (orvane.ico,
# forgedoc.ico), the splash screen (splash.bmp), the status-bar buttons (launchbtn.bmp, tablebtn.bmp, on the
# button face colour) and the please-wait animation (wait.avi, uncompressed frames). Run by the build; nothing
# drawn is committed.
import math, os, struct, sys

FACE = (192, 192, 192)


def bmp_bytes(w, h, pixel):
    """A 24-bit bottom-up BMP; pixel(x, y) gives (r, g, b) with y from the top."""
    row = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray()
        for x in range(w):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        data += line + bytes(row - len(line))
    header = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header, bytes(data)


def write_bmp(path, w, h, pixel):
    header, data = bmp_bytes(w, h, pixel)
    with open(path, 'wb') as f:
        f.write(struct.pack('<2sIHHI', b'BM', 14 + len(header) + len(data), 0, 0, 14 + len(header)) + header + data)


def write_ico(path, sizes, pixel):
    """pixel(x, y, size) gives (r, g, b, a) with a in {0, 255}."""
    images = []
    for s in sizes:
        row = (s * 4)
        xor = bytearray()
        mask_row = ((s + 31) // 32) * 4
        mask = bytearray()
        for y in range(s - 1, -1, -1):
            bits = bytearray(mask_row)
            for x in range(s):
                r, g, b, a = pixel(x, y, s)
                xor += bytes((b, g, r, a))
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        header = struct.pack('<IiiHHIIiiII', 40, s, s * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        images.append((s, header + bytes(xor) + bytes(mask)))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in images:
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(data for _, data in images))


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def program_icon(x, y, s):
    # A rounded tile with a sun over hills: the suite's mark.
    u, v = (x + 0.5) / s, (y + 0.5) / s
    corner = 0.18
    dx, dy = max(0, abs(u - 0.5) - (0.5 - corner)), max(0, abs(v - 0.5) - (0.5 - corner))
    if math.hypot(dx, dy) > corner - 0.02:
        return (0, 0, 0, 0)
    sky = mix((40, 90, 160), (120, 180, 220), v)
    if math.hypot(u - 0.68, v - 0.32) < 0.14:
        return (245, 196, 70, 255)
    if v > 0.62 + 0.12 * math.sin(u * 6.0):
        return mix((60, 140, 80), (30, 90, 50), v) + (255,)
    return sky + (255,)


def document_icon(x, y, s):
    u, v = (x + 0.5) / s, (y + 0.5) / s
    if not (0.18 < u < 0.82 and 0.08 < v < 0.92):
        return (0, 0, 0, 0)
    if u > 0.64 and v < 0.26 and (u - 0.64) > (v - 0.08):
        return (0, 0, 0, 0)
    if abs(u - 0.18) < 0.04 or abs(u - 0.82) < 0.04 or abs(v - 0.92) < 0.04 or abs(v - 0.08) < 0.04:
        return (70, 80, 100, 255)
    inner = program_icon(int((u - 0.25) / 0.5 * s), int((v - 0.35) / 0.5 * s), s) if 0.25 < u < 0.75 and 0.35 < v < 0.85 else None
    if inner and inner[3]:
        return inner
    return (250, 250, 246, 255)


def splash(x, y):
    w, h = 400, 240
    u, v = x / w, y / h
    base = mix((24, 58, 96), (74, 146, 170), v)
    if math.hypot(u - 0.75, v - 0.3) < 0.1:
        return (245, 196, 70)
    if v > 0.7 + 0.08 * math.sin(u * 9.0):
        return mix((60, 140, 80), (30, 90, 50), v)
    return base


def launch_button(x, y):
    # A narrow bar on the left of a frame.
    if 2 <= y <= 10 and (x in (8, 21) or y in (2, 10)) and 8 <= x <= 21:
        return (40, 40, 40)
    if 9 <= x <= 12 and 3 <= y <= 9:
        return (46, 134, 150)
    return FACE


def table_button(x, y):
    # Three by two slides.
    for cx in (7, 13, 19):
        for cy in (3, 8):
            if cx <= x <= cx + 4 and cy <= y <= cy + 3:
                return (214, 92, 64) if (x + y) % 5 else (40, 40, 40)
    return FACE


def write_avi(path, w=48, h=48, frames=8):
    def frame(n):
        angle = 2 * math.pi * n / frames
        def pixel(x, y):
            u, v = x - w / 2 + 0.5, y - h / 2 + 0.5
            r = math.hypot(u, v)
            if 10 < r < 20:
                a = (math.atan2(v, u) - angle) % (2 * math.pi)
                return mix((46, 134, 150), (236, 241, 245), a / (2 * math.pi))
            return (236, 241, 245)
        return bmp_bytes(w, h, pixel)[1]
    chunks = [frame(n) for n in range(frames)]
    size = len(chunks[0])
    rate = 8
    avih = struct.pack('<IIIIIIIIII4I', 1000000 // rate, size * rate, 0, 0x10, frames, 0, 1, size, w, h, 0, 0, 0, 0)
    strh = struct.pack('<4s4sIHHIIIIIIIIhhhh', b'vids', b'DIB ', 0, 0, 0, 0, 1, rate, 0, frames, size, 0xFFFFFFFF, 0,
                       0, 0, w, h)
    strf = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, size, 0, 0, 0, 0)

    def chunk(tag, data):
        return tag + struct.pack('<I', len(data)) + data + (b'\0' if len(data) % 2 else b'')

    def lst(tag, data):
        return b'LIST' + struct.pack('<I', len(data) + 4) + tag + data

    strl = lst(b'strl', chunk(b'strh', strh) + chunk(b'strf', strf))
    hdrl = lst(b'hdrl', chunk(b'avih', avih) + strl)
    movi_data = b''
    index = b''
    offset = 4
    for data in chunks:
        index += struct.pack('<4sIII', b'00db', 0x10, offset, len(data))
        piece = chunk(b'00db', data)
        movi_data += piece
        offset += len(piece)
    movi = lst(b'movi', movi_data)
    body = b'AVI ' + hdrl + movi + chunk(b'idx1', index)
    with open(path, 'wb') as f:
        f.write(b'RIFF' + struct.pack('<I', len(body)) + body)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_ico(os.path.join(out, 'orvane.ico'), (32, 16), program_icon)
    write_ico(os.path.join(out, 'forgedoc.ico'), (32, 16), document_icon)
    write_bmp(os.path.join(out, 'splash.bmp'), 400, 240, splash)
    write_bmp(os.path.join(out, 'launchbtn.bmp'), 30, 13, launch_button)
    write_bmp(os.path.join(out, 'tablebtn.bmp'), 30, 13, table_button)
    write_avi(os.path.join(out, 'wait.avi'))


if __name__ == '__main__':
    main()

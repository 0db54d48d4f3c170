#!/usr/bin/env python3
# Draws the postcard program's pictures and sounds into the folder given: the splash screen (splash.bmp), the
# card's button pictures (button_*.bmp, 32 x 32 on the key colour magenta), the card corner (corner.bmp), the
# stamp on the back (stamp.bmp), the window icon (quillo.ico), the corner's cursor (corner.cur), the welcome
# pages (welcome1.bmp ...) and the card's sounds (open.wav, flip.wav, close.wav, send.wav). Run by the build;
# nothing drawn is committed.
import math, os, random, struct, sys

KEY = (255, 0, 255)
DESK = (58, 84, 102)          # the card's desk (quillo/src/CardLayout.h)
CARD = (252, 249, 241)        # the card's paper
EDGE = (212, 202, 182)
BUTTON = (236, 241, 245)      # the face the button pictures are drawn on
INK = (34, 44, 74)
ACCENT = (214, 92, 64)        # warm red of stamps and seals
TEAL = (46, 134, 150)
GOLD = (236, 178, 64)
SKY_TOP, SKY_BOTTOM = (24, 58, 96), (74, 146, 170)


# ---- pixels --------------------------------------------------------------------------------------------

def clamp(v):
    return max(0, min(255, int(round(v))))


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def coverage(distance):
    """Anti-aliased coverage of a shape at a signed distance (negative inside) in pixels."""
    return max(0.0, min(1.0, 0.5 - distance))


def d_circle(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def d_box(x, y, left, top, right, bottom, radius=0.0):
    cx, cy = (left + right) / 2, (top + bottom) / 2
    hx, hy = (right - left) / 2 - radius, (bottom - top) / 2 - radius
    qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
    outside = math.hypot(max(qx, 0), max(qy, 0))
    return outside + min(max(qx, qy), 0) - radius


def d_segment(x, y, ax, ay, bx, by, width):
    px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
    t = max(0.0, min(1.0, (px * vx + py * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - vx * t, py - vy * t) - width / 2


def d_polygon(x, y, points):
    """Signed distance to a simple polygon."""
    d = min(d_segment(x, y, *points[i], *points[(i + 1) % len(points)], 0) for i in range(len(points)))
    inside = False
    for i in range(len(points)):
        (ax, ay), (bx, by) = points[i], points[(i + 1) % len(points)]
        if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
            inside = not inside
    return -d if inside else d


class Canvas:
    def __init__(self, width, height, fill):
        self.w, self.h = width, height
        self.px = [[tuple(fill) for _ in range(width)] for _ in range(height)]

    def shade(self, fn):
        """fn(x, y, old colour) gives the new colour."""
        for y in range(self.h):
            row = self.px[y]
            for x in range(self.w):
                row[x] = fn(x + 0.5, y + 0.5, row[x])

    def shape(self, distance, colour, box=None, alpha=1.0):
        """Paints colour where distance(x, y) < 0, anti-aliased and with the opacity alpha; box limits the work
        (left, top, right, bottom)."""
        l, t, r, b = box if box else (0, 0, self.w, self.h)
        for y in range(max(0, int(t)), min(self.h, int(math.ceil(b)))):
            row = self.px[y]
            for x in range(max(0, int(l)), min(self.w, int(math.ceil(r)))):
                a = coverage(distance(x + 0.5, y + 0.5)) * alpha
                if a > 0:
                    c = colour(x + 0.5, y + 0.5) if callable(colour) else colour
                    row[x] = mix(row[x], c, a)

    def bmp(self):
        row_bytes = (self.w * 3 + 3) & ~3
        data = bytearray()
        for y in range(self.h - 1, -1, -1):
            row = bytearray()
            for r, g, b in self.px[y]:
                row += bytes((clamp(b), clamp(g), clamp(r)))
            row += b"\0" * (row_bytes - len(row))
            data += row
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        return header + info + data


def keyed(canvas, inside):
    """Sets every pixel for which inside(x, y) is false to the key colour."""
    for y in range(canvas.h):
        for x in range(canvas.w):
            if not inside(x + 0.5, y + 0.5):
                canvas.px[y][x] = KEY


def noise(x, y, seed):
    n = (int(x) * 374761393 + int(y) * 668265263 + seed * 982451653) & 0xFFFFFFFF
    n = ((n ^ (n >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((n ^ (n >> 16)) & 0xFFFF) / 65535.0


# ---- shared motifs -------------------------------------------------------------------------------------

def quill(canvas, tip, length, angle, vane=(250, 250, 246), spine=(120, 104, 86), scale=1.0):
    """A feather quill from its nib at tip, pointing down-left at angle (radians from the x axis)."""
    ux, uy = math.cos(angle), math.sin(angle)   # along the quill, from the nib up
    nx, ny = -uy, ux
    tx, ty = tip
    def vane_d(x, y):
        px, py = x - tx, y - ty
        s = px * ux + py * uy          # along
        n = px * nx + py * ny          # across
        if s < length * 0.22 or s > length:
            return 99
        t = (s - length * 0.22) / (length * 0.78)
        half = math.sin(math.pi * min(1.0, t * 1.15)) * length * 0.16 * (1.0 if n > 0 else 0.8)
        return abs(n) - half
    box = (min(tx, tx + ux * length) - length * 0.3, min(ty, ty + uy * length) - length * 0.3,
           max(tx, tx + ux * length) + length * 0.3, max(ty, ty + uy * length) + length * 0.3)
    def vane_colour(x, y):
        px, py = x - tx, y - ty
        n = px * nx + py * ny
        barb = 0.5 + 0.5 * math.sin((px * ux + py * uy) * 1.6 / scale + abs(n) * 0.9 / scale)
        return mix(vane, (214, 220, 226), 0.25 * barb + (0.15 if n < 0 else 0))
    canvas.shape(vane_d, vane_colour, box)
    canvas.shape(lambda x, y: d_segment(x, y, tx, ty, tx + ux * length, ty + uy * length, 1.6 * scale), spine, box)
    nib = [(tx, ty), (tx + ux * length * 0.2 + nx * 2.2 * scale, ty + uy * length * 0.2 + ny * 2.2 * scale),
           (tx + ux * length * 0.2 - nx * 2.2 * scale, ty + uy * length * 0.2 - ny * 2.2 * scale)]
    canvas.shape(lambda x, y: d_polygon(x, y, nib), (60, 52, 44), box)


def postcard(canvas, left, top, width, height, tilt=0.0, picture=True):
    """A postcard seen from the front with a landscape and a stamp corner, rotated by tilt radians."""
    cx, cy = left + width / 2, top + height / 2
    c, s = math.cos(-tilt), math.sin(-tilt)
    def local(x, y):
        dx, dy = x - cx, y - cy
        return dx * c - dy * s + width / 2, dx * s + dy * c + height / 2
    reach = math.hypot(width, height) / 2 + 6
    box = (cx - reach, cy - reach, cx + reach, cy + reach)
    def shadow_d(x, y):
        lx, ly = local(x - 5, y - 6)
        return d_box(lx, ly, 0, 0, width, height, 3) - 2
    canvas.shape(shadow_d, (16, 26, 36), box, alpha=0.35)
    def card_d(x, y):
        lx, ly = local(x, y)
        return d_box(lx, ly, 0, 0, width, height, 3)
    canvas.shape(card_d, CARD, box)
    if picture:
        m = 0.07 * width
        def photo_d(x, y):
            lx, ly = local(x, y)
            return d_box(lx, ly, m, m, width - m, height - m, 1)
        def photo(x, y):
            lx, ly = local(x, y)
            u, v = (lx - m) / (width - 2 * m), (ly - m) / (height - 2 * m)
            hill = 0.62 + 0.08 * math.sin(u * 7.0 + 1.0) + 0.05 * math.sin(u * 15.0)
            sea = 0.78 + 0.02 * math.sin(u * 30)
            if (u - 0.72) ** 2 + ((v - 0.28) * (height / width)) ** 2 < 0.008:
                return (255, 214, 102)
            if v > sea:
                return mix((38, 110, 150), (22, 70, 110), (v - sea) * 4)
            if v > hill:
                return mix((92, 160, 84), (56, 118, 64), (v - hill) * 5)
            return mix((140, 196, 232), (250, 206, 160), v * 1.2)
        canvas.shape(photo_d, photo, box)


def stamp_pixels(w, h):
    """The stamp on the card's back: a perforated edge (holes keyed) around a small harbour scene."""
    canvas = Canvas(w, h, KEY)
    edge, step, hole = 6, 8.0, 2.6
    def holes(x, y):
        d = 99
        for cx in [step / 2 + i * step for i in range(int(w / step) + 1)]:
            d = min(d, d_circle(x, y, cx, 0, hole), d_circle(x, y, cx, h, hole))
        for cy in [step / 2 + i * step for i in range(int(h / step) + 1)]:
            d = min(d, d_circle(x, y, 0, cy, hole), d_circle(x, y, w, cy, hole))
        return d
    paper = lambda x, y: max(d_box(x, y, 0, 0, w, h), -holes(x, y))
    canvas.shape(paper, (255, 253, 246))
    # Anti-aliasing ran against the key; what is not fully paper goes back to the key. The paper's rim is
    # shaded, so that the perforated edge shows on the card's own paper.
    rim = (186, 176, 158)
    for y in range(h):
        for x in range(w):
            d = paper(x + 0.5, y + 0.5)
            if d > 0.0:
                canvas.px[y][x] = KEY
            elif d > -1.6:
                canvas.px[y][x] = mix(rim, (255, 253, 246), (-d) / 1.6)
    inner = (edge, edge, w - edge, h - edge)
    def scene(x, y):
        u, v = (x - edge) / (w - 2 * edge), (y - edge) / (h - 2 * edge)
        if v > 0.72:
            return mix((30, 96, 140), (18, 60, 100), (v - 0.72) * 3)
        if v > 0.56 + 0.05 * math.sin(u * 9):
            return mix((210, 120, 80), (150, 70, 50), (v - 0.56) * 5)
        return mix((250, 196, 120), (120, 170, 220), 1 - v * 1.6)
    canvas.shape(lambda x, y: d_box(x, y, *inner), scene)
    canvas.shape(lambda x, y: d_circle(x, y, w * 0.68, h * 0.3, w * 0.11), (255, 230, 140))
    # A sail boat on the water.
    bx, by = w * 0.36, h * 0.74
    canvas.shape(lambda x, y: d_polygon(x, y, [(bx - 10, by), (bx + 10, by), (bx + 7, by + 5), (bx - 7, by + 5)]),
                 (90, 50, 40))
    canvas.shape(lambda x, y: d_polygon(x, y, [(bx, by - 24), (bx, by - 2), (bx + 12, by - 2)]), (250, 250, 246))
    canvas.shape(lambda x, y: d_polygon(x, y, [(bx - 1.5, by - 20), (bx - 1.5, by - 2), (bx - 10, by - 2)]),
                 (236, 236, 230))
    canvas.shape(lambda x, y: abs(d_box(x, y, *inner)) - 0.6, (90, 80, 70))
    return canvas


# ---- the pictures ------------------------------------------------------------------------------------------

def splash():
    w, h = 440, 270
    c = Canvas(w, h, SKY_TOP)
    def sky(x, y, _):
        t = y / h
        glow = math.exp(-((x - w * 0.72) ** 2 + (y - h * 0.35) ** 2) / 9000.0)
        return mix(mix(SKY_TOP, SKY_BOTTOM, t), (250, 210, 150), 0.45 * glow)
    c.shade(sky)
    # Gentle hills along the bottom.
    c.shape(lambda x, y: (h * 0.80 + 10 * math.sin(x / 50.0)) - y, lambda x, y: mix((40, 94, 96), (26, 66, 72), (y - h * 0.78) / 40))
    # Two postcards, one behind the other, and the quill that writes them.
    postcard(c, 238, 96, 150, 100, tilt=-0.12)
    postcard(c, 262, 120, 150, 100, tilt=0.08)
    quill(c, (300, 220), 120, -1.05, scale=1.6)
    # Flying envelope streaks.
    for i, (x0, y0) in enumerate([(40, 200), (70, 222), (20, 238)]):
        c.shape(lambda x, y, x0=x0, y0=y0: d_segment(x, y, x0, y0, x0 + 120, y0 - 36, 1.4),
                (180, 214, 226) if i != 1 else GOLD)
    return c


def button(kind):
    s = 32
    c = Canvas(s, s, BUTTON)
    if kind == "picture":      # a framed landscape
        c.shape(lambda x, y: d_box(x, y, 4, 6, 28, 26, 2), INK)
        c.shape(lambda x, y: d_box(x, y, 6, 8, 26, 24), (150, 200, 236))
        c.shape(lambda x, y: max(d_box(x, y, 6, 8, 26, 24), (20 + 3 * math.sin(x / 3.0)) - y), (70, 150, 80))
        c.shape(lambda x, y: d_circle(x, y, 20.5, 12.5, 2.6), GOLD)
    elif kind == "flip":       # two curved arrows turning round
        for start, colour in ((0.0, TEAL), (math.pi, ACCENT)):
            def arc(x, y, start=start):
                a = math.atan2(y - 16, x - 16)
                rel = (a - start) % (2 * math.pi)
                if rel > math.pi * 0.8:
                    return 99
                return abs(math.hypot(x - 16, y - 16) - 10) - 1.8
            c.shape(arc, colour)
            end = start + math.pi * 0.8
            ex, ey = 16 + 10 * math.cos(end), 16 + 10 * math.sin(end)
            tx, ty = -math.sin(end), math.cos(end)
            nx, ny = math.cos(end), math.sin(end)
            tri = [(ex + tx * 6, ey + ty * 6), (ex + nx * 5, ey + ny * 5), (ex - nx * 5, ey - ny * 5)]
            c.shape(lambda x, y, tri=tri: d_polygon(x, y, tri), colour)
    elif kind == "send":       # an envelope with a flying arrow
        c.shape(lambda x, y: d_box(x, y, 3, 9, 23, 25, 1.5), INK)
        c.shape(lambda x, y: d_box(x, y, 4.5, 10.5, 21.5, 23.5), CARD)
        c.shape(lambda x, y: min(d_segment(x, y, 5, 11, 13, 18, 1.6), d_segment(x, y, 21, 11, 13, 18, 1.6)), INK)
        c.shape(lambda x, y: d_segment(x, y, 17, 20, 28, 9, 2.4), ACCENT)
        c.shape(lambda x, y: d_polygon(x, y, [(30, 6), (22, 8), (28, 14)]), ACCENT)
    elif kind == "preferences":  # three sliders
        for i, knob in enumerate((10, 21, 14)):
            yy = 8 + i * 8
            c.shape(lambda x, y, yy=yy: d_segment(x, y, 5, yy, 27, yy, 2), INK)
            c.shape(lambda x, y, yy=yy, k=knob: d_circle(x, y, k, yy, 3.6), TEAL if i != 1 else ACCENT)
    elif kind == "video":      # a film frame with a play mark
        c.shape(lambda x, y: d_box(x, y, 4, 7, 28, 25, 2), INK)
        for i in range(4):
            c.shape(lambda x, y, i=i: min(d_box(x, y, 6 + i * 6, 8.5, 9 + i * 6, 10.5), d_box(x, y, 6 + i * 6, 21.5, 9 + i * 6, 23.5)), BUTTON)
        c.shape(lambda x, y: d_polygon(x, y, [(13, 12), (13, 20), (20, 16)]), GOLD)
    elif kind == "greetings":  # a speech bubble with a heart
        c.shape(lambda x, y: min(d_box(x, y, 3, 5, 29, 22, 6), d_polygon(x, y, [(9, 20), (15, 20), (7, 28)])), TEAL)
        heart = lambda x, y: min(d_circle(x, y, 13.3, 11.5, 3.3), d_circle(x, y, 18.7, 11.5, 3.3),
                                 d_polygon(x, y, [(10.2, 12.8), (21.8, 12.8), (16, 19)]))
        c.shape(heart, (255, 236, 236))
    elif kind == "address_book":  # a bound book with lines
        c.shape(lambda x, y: d_box(x, y, 7, 4, 27, 28, 2), ACCENT)
        c.shape(lambda x, y: d_box(x, y, 10, 6, 25, 26, 1), CARD)
        for i in range(4):
            c.shape(lambda x, y, i=i: d_segment(x, y, 13, 10 + i * 4, 22, 10 + i * 4, 1.2), (150, 140, 130))
        for i in range(3):
            c.shape(lambda x, y, i=i: d_box(x, y, 4, 8 + i * 7, 9, 10 + i * 7, 1), INK)
    elif kind == "record":     # a microphone with a red dot
        c.shape(lambda x, y: d_box(x, y, 11, 3, 21, 19, 5), INK)
        c.shape(lambda x, y: max(abs(math.hypot(x - 16, y - 14) - 8) - 1.2, 14 - y), INK)
        c.shape(lambda x, y: d_segment(x, y, 16, 22, 16, 27, 2), INK)
        c.shape(lambda x, y: d_segment(x, y, 11, 28, 21, 28, 2), INK)
        c.shape(lambda x, y: d_circle(x, y, 25, 7, 4), (220, 40, 40))
    elif kind == "play":       # a loudspeaker with waves
        c.shape(lambda x, y: d_polygon(x, y, [(4, 12), (10, 12), (17, 6), (17, 26), (10, 20), (4, 20)]), INK)
        for r in (6, 11):
            c.shape(lambda x, y, r=r: max(abs(math.hypot(x - 16, y - 16) - r) - 1.3, 19 - x,
                                          abs(math.atan2(y - 16, x - 16)) - 0.8), TEAL)
    keyed(c, lambda x, y: d_box(x, y, 0, 0, 32, 32) < 0 and c.px[int(y)][int(x)] != BUTTON)
    return c


def corner():
    s = 38
    c = Canvas(s, s, DESK)
    # The card's corner is folded up along the diagonal: below it the desk shows, above it the back of the flap.
    c.shade(lambda x, y, old: mix((44, 66, 81), DESK, min(1.0, (x + y - s) / 10.0)) if x + y > s else old)
    flap = lambda x, y: d_polygon(x, y, [(0, s), (s, 0), (s * 0.12, s * 0.12)])
    c.shape(flap, lambda x, y: mix((236, 228, 210), (200, 188, 164), (x + y) / (1.2 * s)))
    c.shape(lambda x, y: d_segment(x, y, 0, s, s, 0, 1.0), (170, 156, 130))
    return c


def stamp():
    return stamp_pixels(84, 99)


def welcome(page):
    w, h = 520, 340
    c = Canvas(w, h, (250, 247, 238))
    split = int(w * 0.40)
    def background(x, y, _):
        if x < split:
            t = y / h
            return mix(mix(SKY_TOP, SKY_BOTTOM, t), (250, 210, 150), 0.35 * math.exp(-((x - 120) ** 2 + (y - 110) ** 2) / 7000.0))
        paper = (250, 247, 238)
        return mix(paper, (238, 232, 218), 0.5 * noise(x, y, 3) * 0.3)
    c.shade(background)
    c.shape(lambda x, y: d_segment(x, y, split, 0, split, h, 2), GOLD)
    if page == 1:
        postcard(c, 40, 90, 130, 88, tilt=-0.15)
        quill(c, (120, 250), 110, -1.0, scale=1.5)
    elif page == 2:
        postcard(c, 26, 70, 150, 100, tilt=0.1)
        # A magnifying glass over the picture: choose one.
        c.shape(lambda x, y: abs(d_circle(x, y, 130, 200, 30)) - 4, (230, 236, 240))
        c.shape(lambda x, y: d_segment(x, y, 152, 222, 184, 262, 9), (120, 90, 60))
    else:
        # An envelope flying off with a trail.
        ex, ey = 60, 140
        c.shape(lambda x, y: d_box(x, y, ex, ey, ex + 110, ey + 70, 3), CARD)
        c.shape(lambda x, y: min(d_segment(x, y, ex + 3, ey + 3, ex + 55, ey + 40, 2.5),
                                 d_segment(x, y, ex + 107, ey + 3, ex + 55, ey + 40, 2.5)), EDGE)
        c.shape(lambda x, y: d_box(x, y, ex + 80, ey + 8, ex + 102, ey + 34, 1), ACCENT)
        for i in range(3):
            c.shape(lambda x, y, i=i: d_segment(x, y, 10, 260 - i * 14, ex - 6, ey + 56 - i * 12, 2), (200, 226, 236))
    return c


def icon_pixels(size):
    c = Canvas(size, size, KEY)
    k = size / 32.0
    c.shape(lambda x, y: d_box(x / k, y / k, 2, 6, 30, 26, 2), CARD)
    c.shape(lambda x, y: abs(d_box(x / k, y / k, 2, 6, 30, 26, 2)) - 0.6 / k, EDGE)
    c.shape(lambda x, y: d_box(x / k, y / k, 20, 9, 27, 17, 0.5), ACCENT)
    for i in range(3):
        c.shape(lambda x, y, i=i: d_segment(x / k, y / k, 5, 13 + i * 4, 16, 13 + i * 4, 1.2), (150, 150, 160))
    quill(c, (16 * k, 28 * k), 22 * k, -0.95, scale=k)
    return c


def ico(sizes):
    images = []
    for size in sizes:
        c = icon_pixels(size)
        xor = bytearray()
        for y in range(size - 1, -1, -1):
            for r, g, b in c.px[y]:
                opaque = (clamp(r), clamp(g), clamp(b)) != KEY
                xor += bytes((clamp(b), clamp(g), clamp(r), 255 if opaque else 0))
        mask_row = ((size + 31) // 32) * 4
        mask = bytearray()
        for y in range(size - 1, -1, -1):
            bits = bytearray(mask_row)
            for x in range(size):
                r, g, b = c.px[y][x]
                if (clamp(r), clamp(g), clamp(b)) == KEY:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        images.append((size, header + xor + mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return out


def cursor():
    """A 32 x 32 monochrome cursor: a hand-drawn turning arrow, hot spot at its tip."""
    size = 32
    inside = [[False] * size for _ in range(size)]
    outline = [[False] * size for _ in range(size)]
    def arrow_d(x, y):
        a = math.atan2(y - 16, x - 16)
        arc = abs(math.hypot(x - 16, y - 16) - 9) - 1.6 if -2.6 < a < 1.2 else 99
        tip = d_polygon(x, y, [(4, 9), (13, 9), (6, 17)])
        return min(arc, tip)
    for y in range(size):
        for x in range(size):
            d = arrow_d(x + 0.5, y + 0.5)
            inside[y][x] = d < 0
            outline[y][x] = d < 1.6
    row = 4
    xor, andm = bytearray(), bytearray()
    for y in range(size - 1, -1, -1):
        xb, ab = bytearray(row), bytearray(row)
        for x in range(size):
            bit = 0x80 >> (x % 8)
            if inside[y][x]:
                xb[x // 8] |= bit        # white shape
            elif outline[y][x]:
                pass                     # black rim
            else:
                ab[x // 8] |= bit        # transparent
        xor += xb
        andm += ab
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(andm), 0, 0, 2, 2)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    data = header + palette + xor + andm
    return struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", size, size, 2, 0, 5, 9, len(data), 22) + data


# ---- the sounds ------------------------------------------------------------------------------------------

RATE = 22050


def wav(samples):
    data = b"".join(struct.pack("<h", max(-32767, min(32767, int(s * 32767)))) for s in samples)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    return b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE" + b"fmt " + struct.pack("<I", 16) + fmt + \
        b"data" + struct.pack("<I", len(data)) + data


def chime(notes, length=0.16, volume=0.35):
    out = []
    for i, f in enumerate(notes):
        n = int(RATE * length)
        for k in range(int(RATE * (length if i < len(notes) - 1 else length * 2))):
            t = k / RATE
            env = math.exp(-t * 9) * min(1.0, k / 200.0)
            out.append(volume * env * (math.sin(2 * math.pi * f * t) + 0.3 * math.sin(4 * math.pi * f * t)))
    return out


def swish(length=0.2, volume=0.3, rising=True):
    rng = random.Random(7)
    out, low = [], 0.0
    n = int(RATE * length)
    for k in range(n):
        t = k / n
        cut = 0.05 + 0.5 * (t if rising else 1 - t)
        low += cut * (rng.uniform(-1, 1) - low)
        out.append(volume * low * math.sin(math.pi * t) * 2.2)
    return out


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    def put(name, data):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    put("splash.bmp", splash().bmp())
    for kind in ("picture", "flip", "send", "preferences", "video", "greetings", "address_book", "record", "play"):
        put("button_%s.bmp" % kind, button(kind).bmp())
    put("corner.bmp", corner().bmp())
    put("stamp.bmp", stamp().bmp())
    for page in (1, 2, 3):
        put("welcome%d.bmp" % page, welcome(page).bmp())
    put("quillo.ico", ico([32, 16]))
    put("corner.cur", cursor())
    put("open.wav", wav(chime([1046.5, 1318.5])))
    put("flip.wav", wav(swish(0.18, 0.35, True)))
    put("close.wav", wav(chime([1318.5, 1046.5])))
    put("send.wav", wav(swish(0.35, 0.3, True) + chime([1568.0], 0.14, 0.25)))


if __name__ == "__main__":
    main()

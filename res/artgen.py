#!/usr/bin/env python3
"""Draws the launcher's artwork: the background, the nine button faces, the small RLE picture and the icons.

How a CD author uses it: change the texts or colours below (LABELS, TITLE, the *_STOPS and colour sets) and
run `python3 res/artgen.py` to rewrite res/art/, or `python3 res/artgen.py FOLDER` to write elsewhere. A
folder of hand-drawn files works too: configure the build with `-DART_DIR=FOLDER`; res/check_art.py then
tells, file by file, what the launcher cannot use. The output is deterministic: every run writes the same
bytes, so a rebuild from an unchanged script changes nothing.

Python 3 standard library only.
"""

import math
import os
import struct
import sys

# Where the launcher puts things (pixels): the window is as large as the background and each face stands
# at FACE_X with its top at one of FACE_TOPS.
BG_SIZE = 440
FACE_W, FACE_H = 165, 45
FACE_X = 266
FACE_TOPS = {"install": 60, "readme": 198, "exit": 336}
PANEL_X = 257  # the darker column behind the buttons: 9 pixels of margin on either side of a face

TITLE = ("Marlo", "Desktop")
SUBTITLE = "Installatie-cd"
LABELS = {"install": "Installeren", "readme": "Leesmij", "exit": "Einde"}
CAPTIONS = {  # small print under each button, on the background
    "install": ["Marlo Desktop, Acrobat Reader", "en CompanionLink installeren"],
    "readme": ["Lees dit eerst: de laatste", "informatie over deze cd"],
    "exit": ["Sluit dit venster en ga", "terug naar Windows"],
}

# File names, as Setup.rc and check_art.py know them.
BITMAP_FILES = {
    "background": "background.bmp",
    ("install", "normal"): "install_normal.bmp",
    ("install", "hover"): "install_hover.bmp",
    ("install", "pressed"): "install_pressed.bmp",
    ("readme", "normal"): "readme_normal.bmp",
    ("readme", "hover"): "readme_hover.bmp",
    ("readme", "pressed"): "readme_pressed.bmp",
    ("exit", "normal"): "exit_normal.bmp",
    ("exit", "hover"): "exit_hover.bmp",
    ("exit", "pressed"): "exit_pressed.bmp",
    "rle": "rle_sample.bmp",
}

# ---------------------------------------------------------------------------------------------------------
# Pixel font: 9 rows per glyph (7 above the baseline, 2 for descenders), proportional widths.

_GLYPH_ROWS = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "J": ["..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "b": ["#....", "#....", "####.", "#...#", "#...#", "#...#", "####."],
    "c": ["....", "....", ".###", "#...", "#...", "#...", ".###"],
    "d": ["....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "f": [".##", "#..", "###", "#..", "#..", "#..", "#.."],
    "g": [".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", ".###."],
    "h": ["#...", "#...", "###.", "#..#", "#..#", "#..#", "#..#"],
    "i": ["#", ".", "#", "#", "#", "#", "#"],
    "j": ["..#", "...", "..#", "..#", "..#", "..#", "..#", "..#", "##."],
    "k": ["#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#"],
    "l": ["#.", "#.", "#.", "#.", "#.", "#.", ".#"],
    "m": [".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"],
    "n": ["....", "....", "###.", "#..#", "#..#", "#..#", "#..#"],
    "o": ["....", "....", ".##.", "#..#", "#..#", "#..#", ".##."],
    "p": ["....", "....", "###.", "#..#", "#..#", "#..#", "###.", "#...", "#..."],
    "q": ["....", "....", ".###", "#..#", "#..#", "#..#", ".###", "...#", "...#"],
    "r": ["...", "...", "#.#", "##.", "#..", "#..", "#.."],
    "s": ["....", "....", ".###", "#...", ".##.", "...#", "###."],
    "t": ["...", "#..", "###", "#..", "#..", "#..", ".##"],
    "u": ["....", "....", "#..#", "#..#", "#..#", "#..#", ".###"],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "w": [".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
    "x": [".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"],
    "y": ["....", "....", "#..#", "#..#", "#..#", "#..#", ".###", "...#", ".##."],
    "z": ["....", "....", "####", "...#", "..#.", ".#..", "####"],
    "\u00eb": [".#.#.", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "\u00ef": ["#.#", "...", ".#.", ".#.", ".#.", ".#.", ".#."],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": [".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": ["####.", "....#", "....#", ".###.", "....#", "....#", "####."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": [".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "....#", ".###."],
    " ": ["...", "...", "...", "...", "...", "...", "..."],
    "-": ["...", "...", "...", "###", "...", "...", "..."],
    ".": [".", ".", ".", ".", ".", ".", "#"],
    ",": ["..", "..", "..", "..", "..", "..", ".#", "#."],
    ":": [".", ".", "#", ".", ".", ".", "#"],
    "'": ["#", "#", ".", ".", ".", ".", "."],
    "!": ["#", "#", "#", "#", "#", ".", "#"],
    "?": [".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."],
    "/": ["....#", "...#.", "...#.", "..#..", ".#...", ".#...", "#...."],
    "(": [".#", "#.", "#.", "#.", "#.", "#.", ".#"],
    ")": ["#.", ".#", ".#", ".#", ".#", ".#", "#."],
}
GLYPH_HEIGHT = 9
BASELINE = 7  # rows above the baseline


def text_mask(text):
    """The text as rows of booleans, one empty column between glyphs."""
    columns = []
    for n, ch in enumerate(text):
        rows = _GLYPH_ROWS[ch]
        rows = rows + ["." * len(rows[0])] * (GLYPH_HEIGHT - len(rows))
        if n:
            columns.append([False] * GLYPH_HEIGHT)
        for x in range(len(rows[0])):
            columns.append([rows[y][x] == "#" for y in range(GLYPH_HEIGHT)])
    return [[columns[x][y] for x in range(len(columns))] for y in range(GLYPH_HEIGHT)]


def stroke_text(text, scale, pen=0.92):
    """The text drawn with a round pen through the centres of its glyph cells, as a set of pixels.

    Neighbouring cells are joined by straight strokes (diagonal ones where the glyph steps diagonally), so
    large text comes out with smooth diagonals and round ends instead of square blocks."""
    mask = text_mask(text)
    h, w = len(mask), len(mask[0])

    def on(i, j):
        return 0 <= i < w and 0 <= j < h and mask[j][i]

    r = pen * scale / 2
    segments = []
    for j in range(h):
        for i in range(w):
            if not on(i, j):
                continue
            segments.append((i, j, i, j))
            if on(i + 1, j):
                segments.append((i, j, i + 1, j))
            if on(i, j + 1):
                segments.append((i, j, i, j + 1))
            if on(i + 1, j + 1) and not on(i + 1, j) and not on(i, j + 1):
                segments.append((i, j, i + 1, j + 1))
            if on(i - 1, j + 1) and not on(i - 1, j) and not on(i, j + 1):
                segments.append((i, j, i - 1, j + 1))
    pixels = set()
    for ia, ja, ib, jb in segments:
        ax, ay = (ia + 0.5) * scale, (ja + 0.5) * scale
        bx, by = (ib + 0.5) * scale, (jb + 0.5) * scale
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy
        for y in range(int(min(ay, by) - r) - 1, int(max(ay, by) + r) + 2):
            for x in range(int(min(ax, bx) - r) - 1, int(max(ax, bx) + r) + 2):
                px, py = x + 0.5 - ax, y + 0.5 - ay
                u = min(max((px * dx + py * dy) / length2, 0.0), 1.0) if length2 else 0.0
                if (px - u * dx) ** 2 + (py - u * dy) ** 2 <= r * r:
                    pixels.add((x, y))
    return pixels


# ---------------------------------------------------------------------------------------------------------
# Colours and palettes

BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def along(stops, t):
    """Colour at t in [0, 1] on a piecewise-linear ramp given as (position, colour) stops."""
    t = min(max(t, 0.0), 1.0)
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return lerp(c0, c1, (t - t0) / (t1 - t0) if t1 > t0 else 0.0)
    return stops[-1][1]


class Palette:
    """A 256-entry colour table built from named colours and named ramps."""

    def __init__(self):
        self.colours = []
        self.index = {}
        self.ramps = {}

    def add(self, name, rgb):
        self.index[name] = len(self.colours)
        self.colours.append(tuple(rgb))
        if len(self.colours) > 256:
            raise ValueError("palette overflow at " + name)

    def add_set(self, colours):
        for name, rgb in colours.items():
            self.add(name, rgb)

    def add_ramp(self, name, stops, steps):
        self.ramps[name] = (len(self.colours), steps)
        for i in range(steps):
            self.add((name, i), along(stops, i / (steps - 1)))

    def __getitem__(self, name):
        return self.index[name]

    def ramp(self, name, t, x=0, y=0):
        """Index on a ramp at t, ordered-dithered between neighbouring steps."""
        first, steps = self.ramps[name]
        pos = min(max(t, 0.0), 1.0) * (steps - 1)
        step = int(pos)
        if step < steps - 1 and (pos - step) * 16 > BAYER4[y & 3][x & 3] + 0.5:
            step += 1
        return first + step

    def table(self):
        """BMP colour table: blue, green, red, 0 for each of 256 entries (unused entries black)."""
        padded = self.colours + [(0, 0, 0)] * (256 - len(self.colours))
        return b"".join(bytes((b, g, r, 0)) for r, g, b in padded)


# ---------------------------------------------------------------------------------------------------------
# Drawing on a canvas of palette indices (None = transparent, for icons)


class Canvas:
    def __init__(self, w, h, fill=0):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def paint(self, pixels, colour):
        """colour is an index or a function (x, y) -> index."""
        for x, y in pixels:
            self.set(x, y, colour(x, y) if callable(colour) else colour)

    def crop(self, x0, y0, w, h):
        c = Canvas(w, h)
        c.px = [row[x0 : x0 + w] for row in self.px[y0 : y0 + h]]
        return c


def rect(x0, y0, x1, y1):
    """Pixels of the rectangle [x0, x1) x [y0, y1)."""
    return {(x, y) for y in range(y0, y1) for x in range(x0, x1)}


def round_rect(x0, y0, x1, y1, r):
    pixels = set()
    for y in range(y0, y1):
        for x in range(x0, x1):
            cx = min(max(x + 0.5, x0 + r), x1 - r)
            cy = min(max(y + 0.5, y0 + r), y1 - r)
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r + 0.25:
                pixels.add((x, y))
    return pixels


def disc(cx, cy, r):
    return {
        (x, y)
        for y in range(int(cy - r) - 1, int(cy + r) + 2)
        for x in range(int(cx - r) - 1, int(cx + r) + 2)
        if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r
    }


def ellipse(cx, cy, rx, ry):
    return {
        (x, y)
        for y in range(int(cy - ry) - 1, int(cy + ry) + 2)
        for x in range(int(cx - rx) - 1, int(cx + rx) + 2)
        if ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2 <= 1.0
    }


def polygon(points):
    """Pixels whose centres lie inside the polygon (even-odd rule)."""
    ys = [p[1] for p in points]
    pixels = set()
    for y in range(int(math.floor(min(ys))), int(math.ceil(max(ys))) + 1):
        sy = y + 0.5
        xs = []
        for (xa, ya), (xb, yb) in zip(points, points[1:] + points[:1]):
            if (ya <= sy < yb) or (yb <= sy < ya):
                xs.append(xa + (sy - ya) * (xb - xa) / (yb - ya))
        xs.sort()
        for xl, xr in zip(xs[::2], xs[1::2]):
            for x in range(int(math.ceil(xl - 0.5)), int(math.floor(xr - 0.5)) + 1):
                pixels.add((x, y))
    return pixels


def thick_line(xa, ya, xb, yb, width):
    dx, dy = xb - xa, yb - ya
    length = math.hypot(dx, dy) or 1.0
    nx, ny = -dy / length * width / 2, dx / length * width / 2
    return polygon([(xa + nx, ya + ny), (xb + nx, yb + ny), (xb - nx, yb - ny), (xa - nx, ya - ny)])


def arc_band(cx, cy, r_in, r_out, a0, a1):
    """Pixels of a ring segment between angles a0 and a1 (degrees, counter-clockwise from +x, y up)."""
    pixels = set()
    for y in range(int(cy - r_out) - 1, int(cy + r_out) + 2):
        for x in range(int(cx - r_out) - 1, int(cx + r_out) + 2):
            dx, dy = x + 0.5 - cx, cy - (y + 0.5)
            d = math.hypot(dx, dy)
            if r_in <= d <= r_out:
                a = math.degrees(math.atan2(dy, dx)) % 360
                if (a0 <= a <= a1) if a0 <= a1 else (a >= a0 or a <= a1):
                    pixels.add((x, y))
    return pixels


def edge(pixels):
    """The pixels of a shape that touch the outside (4-neighbourhood): its one-pixel outline."""
    return {
        (x, y)
        for x, y in pixels
        if any(n not in pixels for n in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)))
    }


def shifted(pixels, dx, dy):
    return {(x + dx, y + dy) for x, y in pixels}


# ---------------------------------------------------------------------------------------------------------
# Files


def bmp_bytes(canvas, palette_table, rle=False):
    """An 8-bit BMP: 14-byte file header, 40-byte info header, 256-entry table, rows bottom-up."""
    if rle:
        pixels = rle8_encode(canvas)
        compression = 1  # BI_RLE8
    else:
        stride = (canvas.w + 3) & ~3
        pixels = b"".join(bytes(row) + bytes(stride - canvas.w) for row in reversed(canvas.px))
        compression = 0  # BI_RGB
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 8, compression, len(pixels), 0, 0, 0, 0)
    offset = 14 + len(info) + len(palette_table)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info + palette_table + pixels


def rle8_encode(canvas):
    """BI_RLE8, encoded runs only (count, index), an end-of-line after each row but the last, which ends
    with end-of-bitmap."""
    out = bytearray()
    for n, row in enumerate(reversed(canvas.px)):
        x = 0
        while x < len(row):
            run = 1
            while x + run < len(row) and row[x + run] == row[x] and run < 255:
                run += 1
            out += bytes((run, row[x]))
            x += run
        out += b"\x00\x01" if n == canvas.h - 1 else b"\x00\x00"
    return bytes(out)


def ico_bytes(images):
    """An ICO file from (canvas, palette colours, bits per pixel) images; None pixels are transparent."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for canvas, colours, bpp in images:
        w, h = canvas.w, canvas.h
        table = colours + [(0, 0, 0)] * ((1 << bpp) - len(colours))
        xor_stride = ((w * bpp + 31) // 32) * 4
        and_stride = ((w + 31) // 32) * 4
        xor, andm = bytearray(), bytearray()
        for row in reversed(canvas.px):
            bits = bytearray(xor_stride)
            mbits = bytearray(and_stride)
            for x, c in enumerate(row):
                if c is None:
                    mbits[x // 8] |= 0x80 >> (x % 8)
                    c = 0
                if bpp == 8:
                    bits[x] = c
                else:
                    bits[x // 2] |= c << (4 if x % 2 == 0 else 0)
            xor += bits
            andm += mbits
        header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, bpp, 0, len(xor) + len(andm), 0, 0, 0, 0)
        blob = header + b"".join(bytes((b, g, r, 0)) for r, g, b in table) + bytes(xor) + bytes(andm)
        colour_count = 16 if bpp == 4 else 0
        entries.append(struct.pack("<BBBBHHII", w, h, colour_count, 0, 1, bpp, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


# ---------------------------------------------------------------------------------------------------------
# The background and the faces share their first 160 colours: the sky ramp and the darker panel ramp. A face
# starts as a copy of the background under it, so the pixels around its rounded corners are the very
# pixels of the window behind it, whatever table the face carries.

SKY_STOPS = [(0.0, (6, 16, 36)), (0.35, (12, 42, 84)), (0.7, (22, 86, 138)), (1.0, (60, 146, 198))]
PANEL_STOPS = [(t, lerp((4, 10, 22), c, 0.5)) for t, c in SKY_STOPS]

BACKGROUND_COLOURS = {
    "desktop": (132, 204, 242),
    "subtitle": (168, 196, 222),
    "caption": (138, 168, 198),
    "amber": (246, 180, 62),
    "amber_dark": (196, 120, 30),
    "outline": (12, 15, 22),
    "case_light": (126, 136, 154),
    "bezel": (18, 22, 30),
    "status": (24, 52, 92),
    "white": (244, 248, 252),
    "stylus": (196, 204, 214),
    "stylus_dark": (112, 120, 134),
    "tip": (40, 44, 54),
}
TILE_COLOURS = [  # the PDA's home screen: (body, highlight)
    ((46, 112, 214), (104, 160, 240)),
    ((52, 170, 92), (118, 212, 146)),
    ((240, 162, 40), (252, 204, 108)),
    ((218, 64, 64), (244, 128, 118)),
    ((132, 82, 196), (180, 138, 230)),
    ((30, 170, 190), (110, 212, 226)),
    ((236, 110, 40), (250, 164, 104)),
    ((84, 96, 118), (138, 150, 170)),
    ((200, 72, 150), (232, 136, 194)),
]
TITLE_STOPS = [(0.0, (255, 255, 255)), (1.0, (168, 212, 244))]
CASE_STOPS = [(0.0, (92, 100, 116)), (1.0, (34, 38, 48))]
SCREEN_STOPS = [(0.0, (236, 242, 246)), (1.0, (186, 206, 222))]

# Colours of a face in its three states; every face of one state draws with the same set.
FACE_STATES = {
    "normal": {
        "body": [(0.0, (72, 122, 176)), (0.5, (44, 88, 140)), (1.0, (30, 64, 110))],
        "rim": (8, 20, 40),
        "rim_inner": (8, 20, 40),
        "shine": (136, 182, 224),
        "label": (244, 248, 252),
        "label_shadow": (10, 26, 50),
        "glyph": (218, 234, 248),
        "glyph_dark": (112, 150, 192),
        "accent": (246, 180, 62),
        "danger": (232, 88, 72),
    },
    "hover": {
        "body": [(0.0, (108, 170, 226)), (0.5, (70, 128, 190)), (1.0, (48, 100, 160))],
        "rim": (255, 204, 92),
        "rim_inner": (255, 238, 196),
        "shine": (200, 230, 252),
        "label": (255, 255, 255),
        "label_shadow": (18, 46, 84),
        "glyph": (255, 255, 255),
        "glyph_dark": (140, 180, 220),
        "accent": (255, 204, 92),
        "danger": (255, 112, 92),
    },
    "pressed": {
        "body": [(0.0, (16, 36, 66)), (0.5, (26, 54, 92)), (1.0, (36, 72, 118))],
        "rim": (4, 10, 22),
        "rim_inner": (10, 24, 46),
        "shine": (10, 24, 46),
        "label": (200, 216, 234),
        "label_shadow": (4, 10, 22),
        "glyph": (184, 202, 222),
        "glyph_dark": (82, 112, 148),
        "accent": (214, 152, 48),
        "danger": (200, 72, 60),
    },
}
BODY_STEPS = 24


def shared_palette():
    p = Palette()
    p.add_ramp("sky", SKY_STOPS, 112)
    p.add_ramp("panel", PANEL_STOPS, 48)
    return p


def add_face_colours(p, state):
    colours = dict(FACE_STATES[state])
    p.add_ramp("body", colours.pop("body"), BODY_STEPS)
    p.add_set(colours)


def background_palette():
    """Table of the background, shared with the exit button's normal face."""
    p = shared_palette()
    p.add_set(BACKGROUND_COLOURS)
    p.add_ramp("title", TITLE_STOPS, 8)
    p.add_ramp("case", CASE_STOPS, 10)
    p.add_ramp("screen", SCREEN_STOPS, 6)
    for n, (body, light) in enumerate(TILE_COLOURS):
        p.add(("tile", n), body)
        p.add(("tile_light", n), light)
    add_face_colours(p, "normal")
    return p


def face_palette(state):
    p = shared_palette()
    add_face_colours(p, state)
    return p


PDA = (78, 216, 186, 414)  # left, top, right, bottom of the handheld drawn on the background


def sky_tone(x, y):
    """Brightness of the sky at a pixel, 0..1: darker at the top left, a glow behind the handheld."""
    t = 0.10 + 0.52 * y / (BG_SIZE - 1) + 0.18 * x / (BG_SIZE - 1)
    t += 0.30 * math.exp(-((x - 132) ** 2 + (y - 318) ** 2) / (2 * 120.0**2))
    return t


def draw_background():
    p = background_palette()
    bg = Canvas(BG_SIZE, BG_SIZE)

    # Tone-on-tone shapes move the sky along its own ramp: lighter rings, darker shadows.
    shift = {}

    def tone(pixels, amount):
        for xy in pixels:
            shift[xy] = shift.get(xy, 0.0) + amount

    for r in (150, 205, 262):  # large faint rings centred behind the handheld
        tone(arc_band(132, 318, r - 1.5, r + 1.5, 0, 360), 0.035)
    for n, r in enumerate((26, 40, 54)):  # sync waves from the handheld's top right corner
        tone(arc_band(PDA[2] - 4, PDA[1] + 14, r - 3, r + 3, 18, 72), 0.10 - 0.02 * n)
    title = shifted(stroke_text(TITLE[0], 8), 24, 22)
    desktop = shifted(stroke_text(TITLE[1], 4), 28, 102)
    subtitle = shifted(stroke_text(SUBTITLE, 2), 30, 172)
    tone(shifted(title, 4, 5), -0.16)
    tone(shifted(desktop, 3, 3), -0.14)
    body = round_rect(*PDA, 16)
    tone(shifted(body, 8, 8), -0.18)
    tone(thick_line(206, 250, 222, 398, 6), -0.10)

    for y in range(BG_SIZE):
        for x in range(BG_SIZE):
            t = sky_tone(x, y) + shift.get((x, y), 0.0)
            bg.px[y][x] = p.ramp("panel" if x >= PANEL_X else "sky", t, x, y)
    # The panel's left edge: a lighter line that follows the sky's gradient.
    for y in range(BG_SIZE):
        bg.px[y][PANEL_X] = p.ramp("sky", sky_tone(PANEL_X, y) + 0.22, PANEL_X, y)
        bg.px[y][PANEL_X + 1] = p.ramp("panel", sky_tone(PANEL_X, y) - 0.2, PANEL_X, y)

    # Title, underline and subtitle.
    top, height = 22, 8 * BASELINE
    bg.paint(title, lambda x, y: p.ramp("title", (y - top) / height, x, y))
    bg.paint(desktop, p["desktop"])
    bg.paint(rect(30, 158, 90, 162), p["amber"])
    bg.paint(rect(30, 162, 90, 163), p["amber_dark"])
    bg.paint(subtitle, p["subtitle"])
    for button, lines in CAPTIONS.items():
        for n, line in enumerate(lines):
            bg.paint(
                shifted(stroke_text(line, 1), FACE_X + 4, FACE_TOPS[button] + FACE_H + 10 + 12 * n),
                p["caption"],
            )

    draw_handheld(bg, p, body)
    return bg, p


def draw_handheld(bg, p, body):
    left, top, right, bottom = PDA
    # Stylus first: the handheld stands in front of it.
    stylus = thick_line(200, 240, 216, 392, 5)
    bg.paint(stylus, p["stylus"])
    bg.paint({(x, y) for x, y in stylus if x + 0.5 > 201.2 + (y - 240) * 16 / 152}, p["stylus_dark"])
    bg.paint({(x, y) for x, y in stylus if 250 <= y < 254}, p["stylus_dark"])  # the clip ring
    bg.paint(thick_line(214.6, 384, 216.6, 402, 3), p["tip"])

    bg.paint(body, lambda x, y: p.ramp("case", (y - top) / (bottom - top), x, y))
    rim = edge(body)
    bg.paint({(x, y) for x, y in edge(body - rim) if y < top + 40 or x < left + 4}, p["case_light"])
    bg.paint(rim, p["outline"])
    bg.paint(round_rect(118, top + 8, 146, top + 12, 2), p["outline"])  # speaker slot

    bg.paint(round_rect(88, 236, 176, 350, 4), p["bezel"])
    screen = rect(93, 241, 171, 345)
    bg.paint(screen, lambda x, y: p.ramp("screen", (y - 241) / 104, x, y))
    bg.paint(rect(93, 241, 171, 250), p["status"])
    bg.paint(rect(96, 244, 112, 246) | rect(154, 243, 168, 247), p["white"])  # clock and battery
    for n in range(9):
        tx, ty = 98 + 24 * (n % 3), 256 + 28 * (n // 3)
        tile = round_rect(tx, ty, tx + 20, ty + 20, 4)
        bg.paint(tile, p[("tile", n)])
        bg.paint({(x, y) for x, y in tile if y < ty + 7}, p[("tile_light", n)])
    bg.paint(rect(98, 338, 166, 340), p["case_light"])  # the dock's divider

    for cx in (97, 114, 150, 167):  # hardware buttons around a four-way pad
        button = disc(cx, 377, 6.5)
        bg.paint(button, lambda x, y: p.ramp("case", (y - 370) / 30, x, y))
        bg.paint({(x, y) for x, y in edge(button) if y < 375}, p["case_light"])
        bg.paint({(x, y) for x, y in edge(button) if y >= 375}, p["outline"])
    pad = disc(132, 377, 13)
    bg.paint(pad, lambda x, y: p.ramp("case", 0.2 + (y - 364) / 40, x, y))
    bg.paint(edge(pad), p["outline"])
    bg.paint(disc(132, 377, 4.5), p["case_light"])


def face_glyph(button):
    """The small picture at the left of a face, as (pixels, colour name) layers in a 26 x 26 box."""
    if button == "install":  # an arrow down into a tray
        tray = rect(2, 17, 24, 20) | rect(2, 11, 5, 20) | rect(21, 11, 24, 20)
        arrow = rect(10, 1, 16, 10) | polygon([(5, 9), (21, 9), (13, 17)])
        return [(tray, "glyph"), (arrow, "accent")]
    if button == "readme":  # a page with lines and a folded corner
        page = polygon([(4, 1), (16, 1), (22, 7), (22, 25), (4, 25)])
        fold = polygon([(16, 1), (16, 7), (22, 7)])
        lines = set().union(*(rect(7, y, 19, y + 2) for y in (10, 14, 18))) | rect(7, 6, 13, 8)
        return [(page, "glyph"), (fold, "glyph_dark"), (lines, "glyph_dark")]
    door = rect(3, 1, 16, 25) - rect(6, 4, 13, 25)  # an open door frame with an arrow going out
    leaf = polygon([(6, 4), (12, 7), (12, 25), (6, 25)])
    arrow = rect(12, 11, 19, 15) | polygon([(18, 7), (25, 13), (18, 19)])
    return [(door, "glyph"), (leaf, "glyph_dark"), (arrow, "danger")]


def draw_face(bg, p, button, state):
    face = bg.crop(FACE_X, FACE_TOPS[button], FACE_W, FACE_H)
    off = 1 if state == "pressed" else 0  # pressed: the button sinks 1 pixel down and right
    body = round_rect(off, off, FACE_W, FACE_H, 6)
    face.paint(body, lambda x, y: p.ramp("body", (y - off) / (FACE_H - 1 - off), x, y))
    rim = edge(body)
    inner = edge(body - rim)
    if state == "pressed":
        face.paint({(x, y) for x, y in inner if y <= off + 2 or x <= off + 2}, p["shine"])
    else:
        face.paint({(x, y) for x, y in inner if y <= 3}, p["shine"])
    if state == "hover":
        face.paint(inner, p["rim_inner"])
    face.paint(rim, p["rim"])

    gx, gy = 13 + off, 10 + off
    for pixels, colour in face_glyph(button):
        face.paint(shifted(pixels, gx + 1, gy + 1), p["label_shadow"])
    for pixels, colour in face_glyph(button):
        face.paint(shifted(pixels, gx, gy), p[colour])

    label = stroke_text(LABELS[button], 2)
    lx, ly = 50 + off, (FACE_H - 2 * BASELINE) // 2 + off
    face.paint(shifted(label, lx + 1, ly + 1), p["label_shadow"])
    face.paint(shifted(label, lx, ly), p["label"])
    return face


RLE_COLOURS = {
    "back": (12, 42, 84),
    "gloss": (160, 200, 236),
    "arrow": (246, 180, 62),
    "shadow": (10, 26, 50),
    "tray": (218, 234, 248),
}
RLE_BYTES = 358  # the length its compressed pixels must have


def draw_rle_sample():
    """A small install tab, 19 x 39, stored run-length encoded.

    Every row of it compresses to a few runs (flat bands of the gradient, no dithering); the shapes are
    placed so that the encoding comes to exactly RLE_BYTES."""
    p = Palette()
    p.add("back", RLE_COLOURS["back"])
    p.add_ramp("fill", [(0.0, (108, 170, 226)), (1.0, (30, 64, 110))], 8)
    p.add_set({k: v for k, v in RLE_COLOURS.items() if k != "back"})
    c = Canvas(19, 39, p["back"])
    c.paint(round_rect(0, 0, 19, 39, 3), lambda x, y: p[("fill", y * 8 // 39)])
    c.paint(rect(2, 5, 3, 33), p["gloss"])
    arrow = rect(8, 11, 11, 15) | polygon([(4.0, 15), (15.0, 15), (9.5, 20)])
    tray = rect(3, 28, 16, 30) | rect(3, 24, 5, 28) | rect(14, 24, 16, 28)
    c.paint(shifted(arrow, 1, 1), p["shadow"])
    c.paint(tray, p["tray"])
    c.paint(arrow, p["arrow"])
    if len(rle8_encode(c)) != RLE_BYTES:
        raise AssertionError("the RLE picture no longer encodes to %d bytes" % RLE_BYTES)
    return c, p


# ---------------------------------------------------------------------------------------------------------
# Icons: 32 x 32, drawn in the 16 standard colours (and, for the program's icon, a 256-colour version).

# fmt: off
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
    (0, 255, 255), (255, 255, 255),
]
# fmt: on
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(8, 16)


def icon_canvas():
    return Canvas(32, 32, None)


def solid(c, pixels, fill, outline=BLACK):
    """A filled shape with a one-pixel outline."""
    c.paint(pixels, fill)
    if outline is not None:
        c.paint(edge(pixels), outline)


def lit(c, pixels, light, dark):
    """Inner bevel: light on the top and left inner edge, dark on the bottom and right."""
    inner = edge(pixels - edge(pixels))
    cx = sum(x for x, _ in pixels) / len(pixels)
    cy = sum(y for _, y in pixels) / len(pixels)
    c.paint({(x, y) for x, y in inner if (x - cx) + (y - cy) < 0}, light)
    c.paint({(x, y) for x, y in inner if (x - cx) + (y - cy) >= 0}, dark)


def arrow_right(x0, y0, length, shaft, head):
    """An arrow pointing right whose tip is at (x0 + length, y0)."""
    tip = x0 + length
    return polygon(
        [
            (x0, y0 - shaft / 2),
            (tip - head, y0 - shaft / 2),
            (tip - head, y0 - head),
            (tip, y0),
            (tip - head, y0 + head),
            (tip - head, y0 + shaft / 2),
            (x0, y0 + shaft / 2),
        ]
    )


def arrow_up(cx, y_tip, length, shaft, head):
    return polygon(
        [
            (cx - shaft / 2, y_tip + length),
            (cx - shaft / 2, y_tip + head),
            (cx - head, y_tip + head),
            (cx, y_tip),
            (cx + head, y_tip + head),
            (cx + shaft / 2, y_tip + head),
            (cx + shaft / 2, y_tip + length),
        ]
    )


def draw_handheld_icon(c, x0, y0, w, h, body=SILVER, screen=CYAN, screen_dark=TEAL):
    case = round_rect(x0, y0, x0 + w, y0 + h, 2)
    solid(c, case, body)
    lit(c, case, WHITE, GREY)
    glass = rect(x0 + 2, y0 + 3, x0 + w - 2, y0 + h - 6)
    solid(c, glass, screen)
    c.paint({(x, y) for x, y in glass - edge(glass) if y - (y0 + 3) > (x - x0) + 2}, screen_dark)
    for bx in (x0 + 2, x0 + w - 4):
        c.paint(rect(bx, y0 + h - 4, bx + 2, y0 + h - 2), GREY)


def icon_desktop():
    """The desktop suite: a monitor with the handheld in front of it."""
    c = icon_canvas()
    solid(c, round_rect(9, 23, 21, 28, 1), SILVER)  # foot
    solid(c, rect(13, 20, 17, 24), GREY)  # neck
    bezel = round_rect(1, 2, 27, 22, 2)
    solid(c, bezel, SILVER)
    lit(c, bezel, WHITE, GREY)
    glass = rect(4, 5, 24, 18)
    solid(c, glass, BLUE)
    c.paint({(x, y) for x, y in glass - edge(glass) if (x - 4) + (y - 5) < 9}, CYAN)
    c.paint({(x, y) for x, y in glass - edge(glass) if 9 <= (x - 4) + (y - 5) < 12}, TEAL)
    c.paint(rect(6, 13, 12, 16), WHITE)  # a window on the screen
    c.paint(rect(6, 13, 12, 14), NAVY)
    draw_handheld_icon(c, 20, 12, 11, 19)
    return c


def icon_acrobat():
    """A document with a red ribbon mark, for the PDF reader."""
    c = icon_canvas()
    page = polygon([(5, 1), (21, 1), (28, 8), (28, 31), (5, 31)])
    solid(c, page, WHITE)
    fold = polygon([(21, 1), (21, 8), (28, 8)])
    solid(c, fold, SILVER)
    c.paint(set().union(*(rect(8, y, 19, y + 1) for y in (4, 7))), SILVER)
    ribbon = (
        thick_line(10, 27, 16.5, 12, 2.6) | thick_line(16.5, 12, 23, 27, 2.6) | thick_line(8, 21, 25, 21, 2.6)
    )
    c.paint(shifted(ribbon, 1, 1), MAROON)
    c.paint(ribbon, RED)
    return c


def icon_exit():
    """An open door with an arrow going out: back to Windows."""
    c = icon_canvas()
    frame = rect(4, 2, 21, 30)
    solid(c, frame, GREY)
    solid(c, rect(7, 5, 18, 30), BLACK, None)  # the dark opening
    leaf = polygon([(7, 5), (15, 8), (15, 31), (7, 30)])
    solid(c, leaf, OLIVE)
    c.paint({(x, y) for x, y in leaf - edge(leaf) if x <= 9}, YELLOW)
    c.paint({(13, 18), (13, 19)}, BLACK)  # handle
    c.paint(rect(2, 29, 23, 31), GREY)  # threshold
    c.paint(edge(rect(2, 29, 23, 31)), BLACK)
    arrow = arrow_right(12, 16, 18, 5, 6)
    solid(c, arrow, LIME)
    c.paint({(x, y) for x, y in arrow - edge(arrow) if y >= 17}, GREEN)
    return c


def icon_companionlink():
    """Two arrows chasing each other round a circle: synchronisation."""
    c = icon_canvas()
    top = arc_band(16, 16, 7, 12, 35, 180)
    bottom = arc_band(16, 16, 7, 12, 215, 360)
    head_top = polygon([(-0.5, 16), (13.5, 16), (6.5, 24)])
    head_bottom = polygon([(18.5, 16), (32.5, 16), (25.5, 8)])
    for shape, fill, shade in ((top | head_top, BLUE, NAVY), (bottom | head_bottom, LIME, GREEN)):
        c.paint(shape, fill)
        c.paint(
            {(x, y) for x, y in shape - edge(shape) if math.hypot(x + 0.5 - 16, y + 0.5 - 16) < 10}, shade
        )
        c.paint(edge(shape), BLACK)
    return c


def icon_convert():
    """A database drum with a conversion arrow."""
    c = icon_canvas()
    for top in (20, 13, 6):  # three stacked discs, the top one drawn last
        drum = rect(3, top + 3, 23, top + 9) | ellipse(13, top + 9, 10, 3) | ellipse(13, top + 3, 10, 3)
        solid(c, drum, TEAL)
        c.paint({(x, y) for x, y in drum - edge(drum) if x <= 6}, CYAN)
        c.paint({(x, y) for x, y in drum - edge(drum) if x >= 19}, NAVY)
    lid = ellipse(13, 9, 10, 3)
    solid(c, lid, CYAN)
    c.paint(ellipse(13, 9, 6, 1.6) - edge(lid), WHITE)
    sweep = arc_band(24, 24, 3.5, 7.5, 90, 359.9)
    head = polygon([(25.5, 24.5), (33.5, 24.5), (29.5, 19)])
    solid(c, sweep | head, YELLOW)
    c.paint({(x, y) for x, y in (sweep | head) - edge(sweep | head) if x >= 27}, OLIVE)
    return c


def icon_osupdate():
    """The handheld's chip with an arrow up: update the operating system."""
    c = icon_canvas()
    for n in range(5):
        for pins in (rect(5 + 4 * n + 1, 1, 5 + 4 * n + 3, 5), rect(5 + 4 * n + 1, 25, 5 + 4 * n + 3, 29)):
            solid(c, pins, SILVER, None)
        for pins in (rect(1, 5 + 4 * n + 1, 5, 5 + 4 * n + 3), rect(25, 5 + 4 * n + 1, 29, 5 + 4 * n + 3)):
            solid(c, pins, SILVER, None)
    chip = rect(4, 4, 26, 26)
    solid(c, chip, GREY)
    lit(c, chip, SILVER, BLACK)
    c.paint(disc(8.5, 8.5, 1.6), BLACK)
    die = rect(9, 11, 21, 21)
    solid(c, die, NAVY)
    arrow = arrow_up(23, 12, 19, 6, 7)
    c.paint(shifted(arrow, 1, 1), BLACK)
    solid(c, arrow, LIME)
    c.paint({(x, y) for x, y in arrow - edge(arrow) if x >= 24}, GREEN)
    return c


DISC_CENTRE, DISC_RADIUS, HUB_RADIUS, HOLE_RADIUS = (13.5, 13.5), 12.6, 5, 2.2


def icon_program_16():
    """The program's icon in 16 colours: a disc with the handheld in front."""
    c = icon_canvas()
    cx, cy = DISC_CENTRE
    platter = disc(cx, cy, DISC_RADIUS) - disc(cx, cy, HOLE_RADIUS)
    c.paint(platter, SILVER)
    for a0, a1, colour in (
        (100, 112, CYAN),
        (112, 135, WHITE),
        (135, 147, YELLOW),
        (280, 292, CYAN),
        (292, 315, WHITE),
        (315, 327, YELLOW),
    ):
        c.paint(arc_band(cx, cy, HUB_RADIUS + 1, DISC_RADIUS - 1, a0, a1), colour)
    c.paint(disc(cx, cy, HUB_RADIUS) - disc(cx, cy, HOLE_RADIUS), WHITE)
    c.paint(arc_band(cx, cy, HUB_RADIUS - 0.8, HUB_RADIUS + 0.6, 0, 360), GREY)
    c.paint(edge(platter), BLACK)
    c.paint(edge(disc(cx, cy, HOLE_RADIUS + 1)), GREY)
    draw_handheld_icon(c, 19, 11, 12, 20, body=NAVY, screen=CYAN, screen_dark=TEAL)
    return c


def icon_program_256():
    """The program's icon in 256 colours: the same disc and handheld, shaded."""
    cx, cy = DISC_CENTRE
    rgb = [[None] * 32 for _ in range(32)]
    platter = disc(cx, cy, DISC_RADIUS) - disc(cx, cy, HOLE_RADIUS)
    hub = disc(cx, cy, HUB_RADIUS)
    rim = edge(platter)
    for x, y in platter:
        dx, dy = x + 0.5 - cx, cy - (y + 0.5)
        angle = math.degrees(math.atan2(dy, dx)) % 180  # the sheen repeats on opposite sides
        radius = math.hypot(dx, dy) / DISC_RADIUS
        base = lerp((214, 218, 226), (150, 156, 170), radius * 0.8)
        sheen = math.exp(-(((angle - 124) / 14) ** 2))
        tint = along(
            [(0.0, (90, 220, 255)), (0.5, (255, 255, 255)), (1.0, (255, 226, 90))], (angle - 104) / 40
        )
        colour = lerp(base, tint, 0.85 * sheen)
        if (x, y) in hub:
            colour = lerp((236, 240, 246), (180, 186, 198), radius * 2)
        rgb[y][x] = colour
    for x, y in arc_band(cx, cy, HUB_RADIUS - 0.8, HUB_RADIUS + 0.6, 0, 360) | edge(
        disc(cx, cy, HOLE_RADIUS + 1)
    ):
        rgb[y][x] = (128, 134, 146)
    for x, y in rim:
        rgb[y][x] = (40, 44, 54)

    x0, y0, w, h = 19, 11, 12, 20
    case = round_rect(x0, y0, x0 + w, y0 + h, 2)
    for x, y in case:
        rgb[y][x] = lerp((40, 70, 150), (10, 22, 70), (y - y0) / h)
    for x, y in edge(case - edge(case)):
        if y < y0 + 3 or x < x0 + 2:
            rgb[y][x] = (110, 140, 210)
    for x, y in edge(case):
        rgb[y][x] = (6, 10, 30)
    glass = rect(x0 + 2, y0 + 3, x0 + w - 2, y0 + h - 6)
    for x, y in glass:
        rgb[y][x] = lerp((170, 240, 255), (40, 150, 190), ((x - x0) + (y - y0)) / (w + h - 6))
    for x, y in edge(glass):
        rgb[y][x] = (6, 10, 30)
    for bx in (x0 + 2, x0 + w - 4):
        for x, y in rect(bx, y0 + h - 4, bx + 2, y0 + h - 2):
            rgb[y][x] = (150, 160, 180)

    colours = sorted({c for row in rgb for c in row if c is not None})
    if len(colours) > 256:
        raise AssertionError("the 256-colour icon uses %d colours" % len(colours))
    index = {c: n for n, c in enumerate(colours)}
    c = icon_canvas()
    c.px = [[None if v is None else index[v] for v in row] for row in rgb]
    return c, colours


ICON_FILES = {
    "setup.ico": lambda: [(icon_program_16(), VGA, 4), icon_program_256() + (8,)],
    "desktop.ico": lambda: [(icon_desktop(), VGA, 4)],
    "acrobat.ico": lambda: [(icon_acrobat(), VGA, 4)],
    "exit.ico": lambda: [(icon_exit(), VGA, 4)],
    "companionlink.ico": lambda: [(icon_companionlink(), VGA, 4)],
    "convert.ico": lambda: [(icon_convert(), VGA, 4)],
    "osupdate.ico": lambda: [(icon_osupdate(), VGA, 4)],
}


def render_all():
    """Every file of the art folder, as a dict of file name to bytes."""
    files = {}
    bg, bg_palette = draw_background()
    files[BITMAP_FILES["background"]] = bmp_bytes(bg, bg_palette.table())
    palettes = {state: face_palette(state) for state in FACE_STATES}
    for button in FACE_TOPS:
        for state in FACE_STATES:
            # The exit button's normal face carries the background's own table.
            p = bg_palette if (button, state) == ("exit", "normal") else palettes[state]
            files[BITMAP_FILES[(button, state)]] = bmp_bytes(draw_face(bg, p, button, state), p.table())
    thumb, thumb_palette = draw_rle_sample()
    files[BITMAP_FILES["rle"]] = bmp_bytes(thumb, thumb_palette.table(), rle=True)
    for name, images in ICON_FILES.items():
        files[name] = ico_bytes(images())
    return files


def main(argv):
    if len(argv) > 2:
        sys.stderr.write("usage: artgen.py [FOLDER]\n")
        return 2
    folder = argv[1] if len(argv) == 2 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "art")
    os.makedirs(folder, exist_ok=True)
    for name, data in sorted(render_all().items()):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

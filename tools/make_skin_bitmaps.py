#!/usr/bin/env python3
"""Generate the skin bitmaps and the window icon as 24-bit BMP files.

Usage: python3 tools/make_skin_bitmaps.py [--out DIR]

DIR defaults to the repository's resources/ folder. Every file written is read
back with an independent parser and checked against the fixed pixels the skin
depends on; any mismatch stops the script with a non-zero exit.

Colours are written as 0x00BBGGRR values throughout, the order the controls
use for their colour properties.
"""

import argparse
import math
import os
import struct
import sys

DARK = 0x00293031       # the frame's outline
DARK_BOTTOM = 0x00293431  # bottom line of the bottom edge and corners
WHITE = 0x00FFFFFF


# --- colour helpers ---------------------------------------------------------

def channels(v):
    return v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF


def pack(r, g, b):
    def clamp(x):
        return max(0, min(255, int(x + 0.5)))
    return clamp(r) | (clamp(g) << 8) | (clamp(b) << 16)


def mix(a, b, t):
    """Blend from a (t = 0) to b (t = 1)."""
    ra, ga, ba = channels(a)
    rb, gb, bb = channels(b)
    return pack(ra + (rb - ra) * t, ga + (gb - ga) * t, ba + (bb - ba) * t)


def darken(v, f):
    r, g, b = channels(v)
    return pack(r * (1 - f), g * (1 - f), b * (1 - f))


def lighten(v, f):
    return mix(v, WHITE, f)


# --- images: lists of rows, row 0 at the top ---------------------------------

def blank(w, h, colour=WHITE):
    return [[colour] * w for _ in range(h)]


def from_row_colours(w, rows):
    """Every row one colour across its w pixels."""
    return [[c] * w for c in rows]


def expand_runs(runs):
    """[(first_row, last_row, colour), ...] -> one colour per row."""
    out = []
    for first, last, colour in runs:
        if first != len(out):
            raise ValueError("row runs must be contiguous")
        out.extend([colour] * (last - first + 1))
    return out


# --- BMP file format ---------------------------------------------------------

PELS_PER_METRE = 3780  # 96 dpi: one pixel is 15 twips


def encode_bmp(img):
    h = len(img)
    w = len(img[0])
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(img):  # bottom-up
        line = bytearray()
        for v in row:
            r, g, b = channels(v)
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels),
                       PELS_PER_METRE, PELS_PER_METRE, 0, 0)
    return header + info + bytes(pixels)


def decode_bmp(data):
    """Parse what encode_bmp writes; insists on exactly that layout."""
    magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    assert magic == b"BM", "not a BMP"
    assert size == len(data), "file size field %d != %d" % (size, len(data))
    (hsize, w, h, planes, bpp, compression, image_size,
     _, _, _, _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
    assert hsize == 40 and planes == 1 and bpp == 24 and compression == 0
    assert h > 0, "rows must be stored bottom-up"
    stride = (w * 3 + 3) & ~3
    assert image_size == stride * h and offset + image_size == len(data)
    img = []
    for y in range(h):
        base = offset + (h - 1 - y) * stride
        row = []
        for x in range(w):
            b, g, r = data[base + 3 * x: base + 3 * x + 3]
            row.append(r | (g << 8) | (b << 16))
        assert not any(data[base + 3 * w: base + stride]), "padding not zero"
        img.append(row)
    return img


# --- push button faces --------------------------------------------------------

def push_button_faces():
    nor = from_row_colours(14, expand_runs([
        (0, 5, 0x00FFFFFF),
        (6, 9, 0x00FFF7F7),
        (10, 11, 0x00F7EFEF),
        (12, 12, 0x00F7E7E7),
        (13, 13, 0x00EFDFDE),
        (14, 14, 0x00E7D7D6),
        (15, 15, 0x00DECFCE),
        (16, 16, 0x00D6C7C6),
    ]))
    dow = from_row_colours(14, expand_runs([
        (0, 0, 0x00CEBEBD),
        (1, 3, 0x00CEC7BD),
        (4, 4, 0x00D6C7C6),
        (5, 5, 0x00D6CFCE),
        (6, 7, 0x00DED7CE),
        (8, 8, 0x00E7D7D6),
        (9, 10, 0x00E7DFDE),
        (11, 11, 0x00EFE7E7),
        (12, 12, 0x00F7EFEF),
        (13, 13, 0x00FFF7F7),
        (14, 16, 0x00FFFFFF),
    ]))
    dow[14][0] = dow[14][13] = 0x00FFF7F7
    return {"nor": nor, "dow": dow}


# --- window canvas -------------------------------------------------------------

BAND = expand_runs([
    (0, 0, DARK), (1, 1, 0x00E7E3DE), (2, 2, 0x00DED7CE), (3, 3, 0x00BDB6AD),
    (4, 4, 0x00EFE3DE), (5, 5, 0x00E7DBD6), (6, 6, 0x00E7DFDE),
    (7, 7, 0x00EFE3DE), (8, 8, 0x00EFE7E7), (9, 9, 0x00EFEBE7),
    (10, 13, 0x00F7EFEF), (14, 15, 0x00EFEBE7), (16, 16, 0x00EFE7E7),
    (17, 17, 0x00E7E3DE), (18, 18, 0x00E7DFD6), (19, 19, 0x00E7DBD6),
    (20, 20, 0x00DED7CE), (21, 21, 0x00DED3CE), (22, 22, 0x00BDB2AD),
    (23, 23, 0x00E7DFD6), (24, 24, 0x00CEC3BD), (25, 25, 0x00B5A69C),
    (26, 26, DARK),
])

STEEL = expand_runs([
    (0, 0, DARK), (1, 1, 0x00CEC3B5), (2, 2, 0x00BDAEA5), (3, 3, 0x00B5AA94),
    (4, 4, 0x00BDAE9C), (5, 5, 0x00C6B6AD), (6, 6, 0x00CEBEB5),
    (7, 7, 0x00D6C7BD), (8, 8, 0x00D6CFC6), (9, 9, 0x00DED7CE),
    (10, 10, 0x00E7DBD6), (11, 12, 0x00E7DFD6), (13, 13, 0x00E7DBD6),
    (14, 14, 0x00DED7CE), (15, 15, 0x00DED3CE), (16, 16, 0x00D6CBC6),
    (17, 17, 0x00CEC7BD), (18, 18, 0x00C6BAAD), (19, 19, 0x00C6B6A5),
    (20, 20, 0x00BDAE9C), (21, 21, 0x00B5A694), (22, 22, 0x00B5A28C),
    (23, 23, 0x00AD9E8C), (24, 24, 0x00A59684), (25, 25, 0x0094826B),
    (26, 26, DARK),
])

EDGE_ROW = [DARK, 0x00DEDBD6, 0x00DED3CE, 0x00D6C7BD, 0x00C6B6AD, DARK]
NIZ_COLUMN = [0x00E7E3DE, 0x00DEDBD6, 0x00CEC7BD, 0x00B5AA9C, DARK_BOTTOM]

NL = [
    [DARK_BOTTOM, 0x00E7D7D6, 0x00DED3CE, 0x00DECFC6, 0x00D6CBC6, DARK_BOTTOM],
    [DARK, 0x00E7DBD6, 0x00DED7CE, 0x00DED3CE, 0x00DED7CE, 0x00E7DBD6],
    [DARK, 0x00E7DBD6, 0x00DED7CE, 0x00DED3CE, 0x00DED3CE, 0x00DED7CE],
    [DARK, 0x00DED7CE, 0x00D6CFC6, 0x00CEC7BD, 0x00CEC7BD, 0x00CEC7BD],
    [DARK, 0x00CEC7BD, 0x00BDB2A5, 0x00B5AA9C, 0x00B5AA9C, 0x00B5AA9C],
    [DARK_BOTTOM] * 6,
]

NR = [
    [DARK, 0x00DEDBD6, 0x00DED3CE, 0x00D6C7BD, 0x00C6B6AD, DARK],
    [0x00E7E3DE, 0x00E7DBD6, 0x00DED7CE, 0x00D6CBC6, 0x00C6BAAD, DARK],
    [0x00DED7CE, 0x00DED7CE, 0x00DED3CE, 0x00D6CBC6, 0x00C6BAAD, DARK],
    [0x00CEC7BD, 0x00CEC7BD, 0x00CEC7BD, 0x00CEBEB5, 0x00BDB2A5, DARK],
    [0x00B5AA9C] * 5 + [DARK],
    [DARK_BOTTOM] * 5 + [0x00292C29],
]

L2_INNER = [
    [0x00AD9E8C, 0x00ADA28C, 0x00AD9A84, 0x009C8E7B],
    [0x00BDAA9C, 0x00B5A694, 0x00AD9A84, 0x009C8E7B],
] + [[0x00BDB2A5, 0x00B5A694, 0x00AD9A84, 0x009C8E7B]] * 4 + [
    [DARK] * 4,
    [0x00E7E3DE, 0x00E7E3DE, 0x00E7DFD6, 0x00DED3CE],
]


def make_l2():
    return [[DARK] + list(inner) + [DARK] for inner in L2_INNER]


def make_lto():
    img = blank(36, 27)
    # Column 1 catches the light; the next columns roll the band off into
    # the outline.
    roll = {2: 0.09, 3: 0.065, 4: 0.045, 5: 0.025, 6: 0.01}
    for r in range(27):
        for c in range(36):
            if r == 0 or c == 0:
                v = DARK
            elif r == 26:
                v = EDGE_ROW[c] if 1 <= c <= 4 else DARK
            elif c == 1:
                v = lighten(BAND[r], 0.45)
            elif c in roll:
                v = darken(BAND[r], roll[c])
            else:
                v = BAND[r]
            # The left edge's bevel rises a few rows into the bar so that
            # the open bottom row joins it without a seam.
            if 22 <= r <= 25 and 1 <= c <= 4:
                v = mix(v, EDGE_ROW[c], (r - 21) / 5.0)
            img[r][c] = v
    return img


def rto_left_outline(r):
    """Column of the dark section's left outline in row r (1..25)."""
    return 6 if 5 <= r <= 21 else 8


def make_rto():
    img = blank(107, 27)
    band_shade = {1: 0.14, 2: 0.09, 3: 0.05, 4: 0.02}
    right_shade = {101: 0.04, 102: 0.08, 103: 0.13, 104: 0.19, 105: 0.26}
    l2_top = L2_INNER[0]
    for r in range(27):
        for c in range(107):
            if r == 0 or c == 106:
                img[r][c] = DARK
                continue
            if r == 26:
                img[r][c] = l2_top[c - 102] if 102 <= c <= 105 else DARK
                continue
            outline = rto_left_outline(r)
            dark_cols = {outline}
            if r in (5, 21):
                dark_cols.add(7)
            inner_start = max(dark_cols) + 1
            if c in dark_cols:
                v = DARK
            elif c < outline:
                v = BAND[r]
                if c >= 4:
                    v = darken(v, band_shade[outline - c])
            elif c <= 12:
                # A bevel that follows the bracket: darkest right inside it.
                f = 0.38 * (13 - c) / (13 - inner_start)
                v = darken(STEEL[r], f)
            elif c <= 100:
                v = STEEL[r]
            else:
                v = darken(STEEL[r], right_shade[c])
                # Lead into the joint below, whose top row closes this one.
                if c >= 102 and r >= 23:
                    v = mix(v, l2_top[c - 102], (r - 22) / 4.0)
            img[r][c] = v
    return img


def window_canvas_pieces():
    return {
        "edge": [list(EDGE_ROW) for _ in range(17)],
        "niz": from_row_colours(25, NIZ_COLUMN),
        "ver": from_row_colours(19, BAND),
        "lto": make_lto(),
        "rto": make_rto(),
        "nr": [list(row) for row in NR],
        "nl": [list(row) for row in NL],
        "l2": make_l2(),
    }


# --- caption-bar buttons ----------------------------------------------------

SIZE = 21
CORNER_BG_TOP = 0x00E7DFDE
CORNER_BG_BOTTOM = 0x00FFFFFF


def button_base(ring, fill_top, fill_bottom):
    img = blank(SIZE, SIZE)
    last = SIZE - 1
    for r in range(SIZE):
        fill = mix(fill_top, fill_bottom, (r - 1) / (SIZE - 3.0))
        for c in range(SIZE):
            edge = r in (0, last) or c in (0, last)
            img[r][c] = ring if edge else fill
    # Round the four corners off: the corner pixel almost vanishes into the
    # background, its two ring neighbours half do, and the pixel inside the
    # corner takes part of the ring to carry the curve.
    for cr, cc in ((0, 0), (0, last), (last, 0), (last, last)):
        bg = CORNER_BG_TOP if cr == 0 else CORNER_BG_BOTTOM
        weight = 0.7 if cr == 0 else 0.85
        dr = 1 if cr == 0 else -1
        dc = 1 if cc == 0 else -1
        img[cr][cc] = mix(ring, bg, weight)
        img[cr][cc + dc] = mix(ring, bg, weight * 0.4)
        img[cr + dr][cc] = mix(ring, bg, weight * 0.4)
        img[cr + dr][cc + dc] = mix(img[cr + dr][cc + dc], ring, 0.5)
    return img


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def draw_cross(img, core, edge):
    # Centre (10, 9.5): with its edge the cross spans columns 4-16, rows 4-15.
    # Crisp pixels read better than anti-aliasing at this size; only the
    # outermost fringe is blended, to take the stair-steps off the edge.
    strokes = ((6.0, 5.5, 14.0, 13.5), (14.0, 5.5, 6.0, 13.5))
    for r in range(1, SIZE - 1):
        for c in range(1, SIZE - 1):
            d = min(segment_distance(c, r, *s) for s in strokes)
            if d <= 1.0:
                img[r][c] = core
            elif d <= 1.75:
                img[r][c] = edge
            elif d <= 2.25:
                img[r][c] = mix(img[r][c], edge, 0.35)


def window_outline(c0, r0, c1, r1):
    """Dark pixels and solid-part pixels of an outlined window glyph."""
    dark, light = set(), set()
    for c in range(c0, c1 + 1):
        for r in (r0, r0 + 2, r1):
            dark.add((r, c))
    for r in range(r0, r1 + 1):
        dark.add((r, c0))
        dark.add((r, c1))
    for c in range(c0 + 1, c1):
        light.add((r0 + 1, c))  # inside of the three-pixel title bar
    return dark, light


def glyph_shape(kind):
    if kind == "m":
        return window_outline(5, 5, 15, 15)
    if kind == "n":
        back_dark, back_light = window_outline(7, 3, 17, 13)
        front = {(r, c) for r in range(5, 16) for c in range(5, 16)}
        front_dark, front_light = window_outline(5, 5, 15, 15)
        return ((back_dark - front) | front_dark,
                (back_light - front) | front_light)
    if kind == "d":
        dark = {(r, c) for r in (13, 15) for c in range(5, 12)}
        dark |= {(14, 5), (14, 11)}
        light = {(14, c) for c in range(6, 11)}
        return dark, light
    raise ValueError(kind)


def draw_blue_glyph(img, kind, variant):
    ink = 0x00312021
    dark, light = glyph_shape(kind)
    if variant == "e":
        for r, c in dark:
            img[r][c] = ink
        for r, c in light:
            img[r][c] = 0x008C696B
        return
    solid = dark | light
    highlight = WHITE if variant == "n" else 0x00DEC7C6
    # The highlight sits one pixel down and right: the glyph looks pressed in.
    for r, c in solid:
        hr, hc = r + 1, c + 1
        if (hr, hc) not in solid and 1 <= hr < SIZE - 1 and 1 <= hc < SIZE - 1:
            img[hr][hc] = highlight
    for r, c in solid:
        img[r][c] = ink


RED_SET = {
    # variant: ring, fill top, fill bottom, cross core, cross edge
    "n": (0x004238A5, 0x008CA6FF, 0x005A51C6, WHITE, 0x00181842),
    "d": (0x003938BD, 0x00ADC7FF, 0x005259DE, WHITE, 0x00181842),
    "e": (0x004238A5, 0x008CA6FF, 0x005A51C6, 0x008C9EEF, 0x005238AD),
}

BLUE_SET = {
    "n": (0x008C716B, 0x00F7F7F7, 0x00B58E84),
    "d": (0x006B594A, 0x00AD968C, 0x00FFFFFF),
    "e": (0x006B594A, 0x00AD8684, 0x00FFFFFF),
}

# file name -> glyph, variant
TOP_BUTTONS = {
    "xn": ("x", "n"), "xd": ("x", "d"), "xe": ("x", "e"),
    "nn": ("n", "n"), "nd": ("n", "d"), "ne": ("n", "e"),
    "mn": ("m", "n"), "md": ("m", "d"), "men": ("m", "e"),
    "dn": ("d", "n"), "dd": ("d", "d"), "de": ("d", "e"),
}


def make_top_button(glyph, variant):
    if glyph == "x":
        ring, top, bottom, core, edge = RED_SET[variant]
        img = button_base(ring, top, bottom)
        draw_cross(img, core, edge)
    else:
        ring, top, bottom = BLUE_SET[variant]
        img = button_base(ring, top, bottom)
        draw_blue_glyph(img, glyph, variant)
    return img


def top_button_pictures():
    return {name: make_top_button(*how) for name, how in TOP_BUTTONS.items()}


# --- window icon -------------------------------------------------------------

ICON_FONT = {
    "Q": [".###.",
          "#...#",
          "#...#",
          "#...#",
          "#.#.#",
          "#..#.",
          ".##.#"],
    "W": ["#...#",
          "#...#",
          "#...#",
          "#.#.#",
          "#.#.#",
          "#.#.#",
          ".#.#."],
    "Z": ["#####",
          "....#",
          "...#.",
          "..#..",
          ".#...",
          "#....",
          "#####"],
}
ICON_SCALE = 2
ICON_SHADOW = 0x00808080


def letter_pixels(ch, left, top):
    out = []
    for gy, line in enumerate(ICON_FONT[ch]):
        for gx, mark in enumerate(line):
            if mark != "#":
                continue
            for dy in range(ICON_SCALE):
                for dx in range(ICON_SCALE):
                    out.append((top + gy * ICON_SCALE + dy,
                                left + gx * ICON_SCALE + dx))
    return out


def make_icon():
    img = blank(32, 32)
    height = 7 * ICON_SCALE
    letters = [  # letter, left, top, colour at its top, colour at its bottom
        ("Q", 10, 1, 0x00FF3030, 0x00A00000),   # blue, top
        ("W", 2, 16, 0x002020FF, 0x000000A8),   # red, lower left
        ("Z", 19, 16, 0x00E8E8E8, 0x00A8A8A8),  # silver, lower right
    ]
    # All shadows first, so that no shadow falls across another letter.
    for ch, left, top, _, _ in letters:
        for r, c in letter_pixels(ch, left + 1, top + 1):
            if 0 <= r < 32 and 0 <= c < 32:
                img[r][c] = ICON_SHADOW
    for ch, left, top, c_top, c_bottom in letters:
        for r, c in letter_pixels(ch, left, top):
            img[r][c] = mix(c_top, c_bottom, (r - top) / (height - 1.0))
    return img


# --- output and self-check ---------------------------------------------------

def all_files():
    files = {}
    for name, img in push_button_faces().items():
        files["skin/push_button/%s.bmp" % name] = img
    for name, img in window_canvas_pieces().items():
        files["skin/window_canvas/%s.bmp" % name] = img
    for name, img in top_button_pictures().items():
        files["skin/top_buttons/%s.bmp" % name] = img
    files["icon/quorvane.bmp"] = make_icon()
    return files


EXPECTED_SIZES = {
    "skin/push_button/nor.bmp": (14, 17),
    "skin/push_button/dow.bmp": (14, 17),
    "skin/window_canvas/edge.bmp": (6, 17),
    "skin/window_canvas/niz.bmp": (25, 5),
    "skin/window_canvas/ver.bmp": (19, 27),
    "skin/window_canvas/lto.bmp": (36, 27),
    "skin/window_canvas/rto.bmp": (107, 27),
    "skin/window_canvas/nr.bmp": (6, 6),
    "skin/window_canvas/nl.bmp": (6, 6),
    "skin/window_canvas/l2.bmp": (6, 8),
    "icon/quorvane.bmp": (32, 32),
}
EXPECTED_SIZES.update({"skin/top_buttons/%s.bmp" % n: (21, 21)
                       for n in TOP_BUTTONS})

# (file, column, row, colour): written out by hand, not derived from the
# tables above, so that a slip in either shows up.
EXPECTED_PIXELS = [
    ("skin/push_button/nor.bmp", 0, 0, 0x00FFFFFF),
    ("skin/push_button/nor.bmp", 13, 6, 0x00FFF7F7),
    ("skin/push_button/nor.bmp", 5, 12, 0x00F7E7E7),
    ("skin/push_button/nor.bmp", 7, 16, 0x00D6C7C6),
    ("skin/push_button/dow.bmp", 0, 0, 0x00CEBEBD),
    ("skin/push_button/dow.bmp", 3, 3, 0x00CEC7BD),
    ("skin/push_button/dow.bmp", 0, 14, 0x00FFF7F7),
    ("skin/push_button/dow.bmp", 13, 14, 0x00FFF7F7),
    ("skin/push_button/dow.bmp", 1, 14, 0x00FFFFFF),
    ("skin/push_button/dow.bmp", 0, 16, 0x00FFFFFF),
    ("skin/window_canvas/edge.bmp", 0, 8, 0x00293031),
    ("skin/window_canvas/edge.bmp", 1, 0, 0x00DEDBD6),
    ("skin/window_canvas/edge.bmp", 4, 16, 0x00C6B6AD),
    ("skin/window_canvas/edge.bmp", 5, 3, 0x00293031),
    ("skin/window_canvas/niz.bmp", 12, 0, 0x00E7E3DE),
    ("skin/window_canvas/niz.bmp", 24, 3, 0x00B5AA9C),
    ("skin/window_canvas/niz.bmp", 0, 4, 0x00293431),
    ("skin/window_canvas/ver.bmp", 0, 0, 0x00293031),
    ("skin/window_canvas/ver.bmp", 18, 3, 0x00BDB6AD),
    ("skin/window_canvas/ver.bmp", 9, 12, 0x00F7EFEF),
    ("skin/window_canvas/ver.bmp", 9, 25, 0x00B5A69C),
    ("skin/window_canvas/ver.bmp", 18, 26, 0x00293031),
    ("skin/window_canvas/lto.bmp", 0, 13, 0x00293031),
    ("skin/window_canvas/lto.bmp", 20, 0, 0x00293031),
    ("skin/window_canvas/lto.bmp", 20, 26, 0x00293031),
    ("skin/window_canvas/lto.bmp", 5, 26, 0x00293031),
    ("skin/window_canvas/lto.bmp", 1, 26, 0x00DEDBD6),
    ("skin/window_canvas/lto.bmp", 4, 26, 0x00C6B6AD),
    ("skin/window_canvas/lto.bmp", 7, 3, 0x00BDB6AD),
    ("skin/window_canvas/lto.bmp", 35, 11, 0x00F7EFEF),
    ("skin/window_canvas/rto.bmp", 0, 3, 0x00BDB6AD),
    ("skin/window_canvas/rto.bmp", 3, 12, 0x00F7EFEF),
    ("skin/window_canvas/rto.bmp", 8, 2, 0x00293031),
    ("skin/window_canvas/rto.bmp", 8, 24, 0x00293031),
    ("skin/window_canvas/rto.bmp", 6, 12, 0x00293031),
    ("skin/window_canvas/rto.bmp", 7, 5, 0x00293031),
    ("skin/window_canvas/rto.bmp", 7, 21, 0x00293031),
    ("skin/window_canvas/rto.bmp", 13, 1, 0x00CEC3B5),
    ("skin/window_canvas/rto.bmp", 50, 11, 0x00E7DFD6),
    ("skin/window_canvas/rto.bmp", 100, 25, 0x0094826B),
    ("skin/window_canvas/rto.bmp", 101, 26, 0x00293031),
    ("skin/window_canvas/rto.bmp", 102, 26, 0x00AD9E8C),
    ("skin/window_canvas/rto.bmp", 105, 26, 0x009C8E7B),
    ("skin/window_canvas/l2.bmp", 1, 0, 0x00AD9E8C),
    ("skin/window_canvas/l2.bmp", 1, 1, 0x00BDAA9C),
    ("skin/window_canvas/l2.bmp", 2, 5, 0x00B5A694),
    ("skin/window_canvas/l2.bmp", 4, 7, 0x00DED3CE),
    ("skin/window_canvas/l2.bmp", 5, 7, 0x00293031),
    ("skin/top_buttons/xn.bmp", 10, 0, 0x004238A5),
    ("skin/top_buttons/xn.bmp", 10, 1, 0x008CA6FF),
    ("skin/top_buttons/xn.bmp", 10, 19, 0x005A51C6),
    ("skin/top_buttons/xn.bmp", 10, 10, 0x00FFFFFF),
    ("skin/top_buttons/xd.bmp", 0, 10, 0x003938BD),
    ("skin/top_buttons/xd.bmp", 10, 19, 0x005259DE),
    ("skin/top_buttons/xe.bmp", 10, 10, 0x008C9EEF),
    ("skin/top_buttons/mn.bmp", 5, 5, 0x00312021),
    ("skin/top_buttons/mn.bmp", 15, 15, 0x00312021),
    ("skin/top_buttons/mn.bmp", 10, 6, 0x00312021),
    ("skin/top_buttons/mn.bmp", 20, 10, 0x008C716B),
    ("skin/top_buttons/mn.bmp", 10, 1, 0x00F7F7F7),
    ("skin/top_buttons/mn.bmp", 10, 19, 0x00B58E84),
    ("skin/top_buttons/md.bmp", 10, 1, 0x00AD968C),
    ("skin/top_buttons/md.bmp", 10, 19, 0x00FFFFFF),
    ("skin/top_buttons/men.bmp", 10, 6, 0x008C696B),
    ("skin/top_buttons/men.bmp", 10, 7, 0x00312021),
    ("skin/top_buttons/men.bmp", 10, 1, 0x00AD8684),
    ("skin/top_buttons/nn.bmp", 17, 3, 0x00312021),
    ("skin/top_buttons/nn.bmp", 5, 15, 0x00312021),
    ("skin/top_buttons/dn.bmp", 5, 13, 0x00312021),
    ("skin/top_buttons/dn.bmp", 11, 15, 0x00312021),
    ("skin/top_buttons/dn.bmp", 12, 16, 0x00FFFFFF),
    ("skin/top_buttons/dd.bmp", 12, 16, 0x00DEC7C6),
    ("skin/top_buttons/de.bmp", 8, 14, 0x008C696B),
    ("icon/quorvane.bmp", 0, 0, 0x00FFFFFF),
]

DARK_ROWS = [("skin/window_canvas/l2.bmp", 6)]
DARK_COLUMNS = [("skin/window_canvas/rto.bmp", 106),
                ("skin/window_canvas/lto.bmp", 0)]
EXACT = {
    "skin/window_canvas/nl.bmp": [
        [0x00293431, 0x00E7D7D6, 0x00DED3CE, 0x00DECFC6, 0x00D6CBC6, 0x00293431],
        [0x00293031, 0x00E7DBD6, 0x00DED7CE, 0x00DED3CE, 0x00DED7CE, 0x00E7DBD6],
        [0x00293031, 0x00E7DBD6, 0x00DED7CE, 0x00DED3CE, 0x00DED3CE, 0x00DED7CE],
        [0x00293031, 0x00DED7CE, 0x00D6CFC6, 0x00CEC7BD, 0x00CEC7BD, 0x00CEC7BD],
        [0x00293031, 0x00CEC7BD, 0x00BDB2A5, 0x00B5AA9C, 0x00B5AA9C, 0x00B5AA9C],
        [0x00293431] * 6,
    ],
    "skin/window_canvas/nr.bmp": [
        [0x00293031, 0x00DEDBD6, 0x00DED3CE, 0x00D6C7BD, 0x00C6B6AD, 0x00293031],
        [0x00E7E3DE, 0x00E7DBD6, 0x00DED7CE, 0x00D6CBC6, 0x00C6BAAD, 0x00293031],
        [0x00DED7CE, 0x00DED7CE, 0x00DED3CE, 0x00D6CBC6, 0x00C6BAAD, 0x00293031],
        [0x00CEC7BD, 0x00CEC7BD, 0x00CEC7BD, 0x00CEBEB5, 0x00BDB2A5, 0x00293031],
        [0x00B5AA9C] * 5 + [0x00293031],
        [0x00293431] * 5 + [0x00292C29],
    ],
}


def check(root, files):
    problems = []
    images = {}
    for rel, img in files.items():
        with open(os.path.join(root, rel), "rb") as f:
            images[rel] = got = decode_bmp(f.read())
        if got != img:
            problems.append("%s: read back differs from what was written" % rel)
    for rel, (w, h) in EXPECTED_SIZES.items():
        img = images.get(rel)
        if img is None:
            problems.append("%s: missing" % rel)
        elif (len(img[0]), len(img)) != (w, h):
            problems.append("%s: %dx%d, want %dx%d"
                            % (rel, len(img[0]), len(img), w, h))
    for rel, x, y, want in EXPECTED_PIXELS:
        got = images[rel][y][x]
        if got != want:
            problems.append("%s (%d,%d): 0x%08X, want 0x%08X" % (rel, x, y, got, want))
    for rel, y in DARK_ROWS:
        if any(v != DARK for v in images[rel][y]):
            problems.append("%s: row %d not all dark" % (rel, y))
    for rel, x in DARK_COLUMNS:
        if any(row[x] != DARK for row in images[rel]):
            problems.append("%s: column %d not all dark" % (rel, x))
    for rel, want in EXACT.items():
        if images[rel] != want:
            problems.append("%s: differs from its table" % rel)
    # Every row of the band, and every steel column of the right section,
    # must be uniform: the stretch would smear any stray pixel.
    rto = images["skin/window_canvas/rto.bmp"]
    ver = images["skin/window_canvas/ver.bmp"]
    lto = images["skin/window_canvas/lto.bmp"]
    for r in range(27):
        if len(set(rto[r][13:101])) != 1:
            problems.append("rto: row %d not uniform over columns 13-100" % r)
        if len(set(ver[r])) != 1:
            problems.append("ver: row %d not uniform" % r)
        # The band continues unchanged into both ends of the bar.
        if r < 26 and set(lto[r][7:36]) | set(rto[r][0:4]) != {ver[r][0]}:
            problems.append("row %d of lto or rto departs from the band" % r)
    return problems


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "resources"),
                        help="resources folder to write into")
    args = parser.parse_args()
    root = os.path.normpath(args.out)
    files = all_files()
    for rel, img in sorted(files.items()):
        path = os.path.join(root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(encode_bmp(img))
    problems = check(root, files)
    for p in problems:
        print("FAIL: " + p, file=sys.stderr)
    if problems:
        return 1
    print("wrote and checked %d bitmaps under %s" % (len(files), root))
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Generate Velmorin's built-in skin bitmap, program icons, favorites toolbar and art preview.

Standard library only: BMP, ICO and PNG bytes are written by hand.

    python3 tools/art/make_art.py            # writes into the repository
    python3 tools/art/make_art.py --out DIR  # writes into DIR instead

Output is deterministic, so regenerating must leave git clean.
"""

import argparse
import math
import os
import struct
import zlib

W, H = 343, 34          # whole skin bitmap
BAR_H = 20              # rows 0-19 are the window face

# Window layout (bitmap coordinates, rectangles inclusive).
TITLE = (8, 4, 214, 15)
TRACK = (234, 4, 277, 15)
GROOVE_ROWS = (9, 10)
KNOB_X_MIN, KNOB_X_MAX, KNOB_Y = 234, 268, 4
KNOB_W, KNOB_H = 6, 12

# name: (sheet x, sheet y, frame w, frame h, frames, window x, window y)
SPRITES = {
    "play":   (0,   21, 13, 13, 3, 279, 4),
    "stop":   (40,  21, 13, 13, 3, 292, 4),
    "search": (80,  21, 13, 13, 3, 305, 4),
    "list":   (120, 21, 13, 13, 3, 318, 4),
    "close":  (160, 21, 7,  7,  3, 335, 4),
    "min":    (182, 21, 7,  6,  3, 335, 12),
    "knob":   (205, 21, 6,  12, 1, None, None),
    "mute":   (214, 21, 11, 11, 2, 221, 5),
}

# ---------------------------------------------------------------- palette

ACCENT = (64, 200, 232)          # hover glyph colour
ACCENT_DIM = (40, 150, 178)      # pressed glyph colour
GLYPH = (214, 219, 226)          # idle glyph colour
DANGER = (214, 52, 44)           # close hover plate
DANGER_DARK = (150, 34, 28)      # close pressed plate
MUTED = (128, 134, 144)          # speaker when muted
MUTED_X = (236, 92, 80)          # the cross when muted
OUTLINE = (9, 10, 12)            # window outline, reads on light desktops
SPARE = (20, 22, 26)             # unused bitmap area


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def rgb(c):
    return tuple(max(0, min(255, int(round(v)))) for v in c)


class Canvas:
    def __init__(self, w, h, fill=(0, 0, 0)):
        self.w, self.h = w, h
        self.px = [[rgb(fill)] * w for _ in range(h)]

    def get(self, x, y):
        return self.px[y][x]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = rgb(c)

    def mix(self, x, y, c, a):
        if 0 <= x < self.w and 0 <= y < self.h and a > 0:
            self.px[y][x] = rgb(lerp(self.px[y][x], c, min(1.0, a)))

    def crop(self, x, y, w, h):
        out = Canvas(w, h)
        out.px = [row[x:x + w] for row in self.px[y:y + h]]
        return out

    def paste(self, src, x, y):
        for j in range(src.h):
            self.px[y + j][x:x + src.w] = list(src.px[j])


# ------------------------------------------------------------------- bar

def bar_row_colour(y):
    """Vertical gradient of the bar body, lighter at the top."""
    top, bottom = (50, 54, 63), (25, 27, 32)
    return lerp(top, bottom, (y - 1) / (BAR_H - 3))


def make_bar():
    c = Canvas(W, BAR_H)
    for y in range(BAR_H):
        for x in range(W):
            c.set(x, y, bar_row_colour(y))
    # Bevel: a highlight just inside the top edge, a soft shade at the bottom.
    for x in range(1, W - 1):
        c.set(x, 1, (84, 90, 102))
        c.set(x, 2, lerp(bar_row_colour(2), (84, 90, 102), 0.35))
        c.set(x, BAR_H - 2, (19, 20, 24))
    for y in range(1, BAR_H - 1):
        c.mix(1, y, (255, 255, 255), 0.07)
        c.mix(W - 2, y, (0, 0, 0), 0.25)
    # Outline so the bar keeps its shape on a white desktop.
    for x in range(W):
        c.set(x, 0, OUTLINE)
        c.set(x, BAR_H - 1, OUTLINE)
    for y in range(BAR_H):
        c.set(0, y, OUTLINE)
        c.set(W - 1, y, OUTLINE)

    # Drag grip left of the title: two columns of tiny studs.
    for gx in (3, 5):
        for gy in range(5, 15, 3):
            c.set(gx, gy, (92, 98, 110))
            c.set(gx, gy + 1, (14, 15, 18))

    recess(c, TITLE, side_edges=True)
    recess(c, TRACK, side_edges=False)
    groove(c)

    # Hairline separators: title | volume, and transport | window buttons.
    for sx in (217, 332):
        for y in range(5, 15):
            c.set(sx, y, lerp(c.get(sx, y), (0, 0, 0), 0.45))
            c.set(sx + 1, y, lerp(c.get(sx + 1, y), (255, 255, 255), 0.10))
    return c


def recess(c, rect, side_edges):
    """Sunken panel: dark lip at the top, faint light lip at the bottom.

    The volume track has no side lips so that the knob, which carries only
    the top and bottom rows of the track behind it, matches at any x.
    """
    x0, y0, x1, y1 = rect
    for y in range(y0 + 1, y1):
        t = (y - y0 - 1) / max(1, (y1 - y0 - 2))
        col = lerp((11, 14, 19), (19, 23, 29), t)
        for x in range(x0, x1 + 1):
            c.set(x, y, col)
    for x in range(x0, x1 + 1):
        c.set(x, y0, (7, 8, 10))
        c.set(x, y0 + 1, (8, 10, 13))
        c.set(x, y1, lerp(bar_row_colour(y1), (110, 118, 132), 0.30))
    if side_edges:
        for y in range(y0, y1):
            c.set(x0, y, (7, 8, 10))
            c.set(x1, y, lerp(bar_row_colour(y), (12, 14, 18), 0.35))
        c.set(x1, y1, lerp(bar_row_colour(y1), (110, 118, 132), 0.30))


def groove(c):
    ya, yb = GROOVE_ROWS
    gx0 = KNOB_X_MIN + KNOB_W // 2 - 1
    gx1 = KNOB_X_MAX + KNOB_W // 2 + 2      # exclusive; one cap past each end
    for x in range(gx0, gx1):
        end = x in (gx0, gx1 - 1)
        c.set(x, ya, (3, 4, 5) if not end else (8, 9, 12))
        c.set(x, yb, (42, 48, 58) if not end else (28, 32, 39))
    # Quiet level ticks at 0, 50 and 100 %.
    for tx in (KNOB_X_MIN + 3, (KNOB_X_MIN + KNOB_X_MAX) // 2 + 3, KNOB_X_MAX + 3):
        c.set(tx, 12, (46, 52, 62))
        c.set(tx, 13, (34, 39, 47))
        c.set(tx, 7, (34, 39, 47))


# --------------------------------------------------------------- glyphs

# '#' full ink, '+' strong edge, ':' soft edge; anything else is empty.
INK = {"#": 1.0, "+": 0.62, ":": 0.32}

GLYPHS = {
    "play": """
        .............
        .............
        .............
        ....#........
        ....##+......
        ....####:....
        ....#####+...
        ....####:....
        ....##+......
        ....#........
        .............
        .............
        .............
    """,
    "stop": """
        .............
        .............
        .............
        .............
        ....#####....
        ....#####....
        ....#####....
        ....#####....
        ....#####....
        .............
        .............
        .............
        .............
    """,
    "search": """
        .............
        .............
        .............
        ....:##:.....
        ...##..##....
        ...#....#....
        ...#....#....
        ...##..##....
        ....:##:#+...
        ........+##..
        .........##..
        .............
        .............
    """,
    "list": """
        .............
        .............
        .............
        ...##.#####..
        .............
        .............
        ...##.#####..
        .............
        .............
        ...##.#####..
        .............
        .............
        .............
    """,
    "close": """
        .......
        .#...#.
        ..#.#..
        ...#...
        ..#.#..
        .#...#.
        .......
    """,
    "min": """
        .......
        .......
        .......
        .#####.
        .......
        .......
    """,
    "speaker": """
        ...........
        ...........
        ....#......
        ...##......
        .####......
        .####......
        .####......
        ...##......
        ....#......
        ...........
        ...........
    """,
    "waves": """
        ...........
        ...........
        ........+..
        ......+..#.
        .......#.#.
        .......#.#.
        .......#.#.
        ......+..#.
        ........+..
        ...........
        ...........
    """,
    "cross": """
        ...........
        ...........
        ...........
        ......#...#
        .......#.#.
        ........#..
        .......#.#.
        ......#...#
        ...........
        ...........
        ...........
    """,
}


def glyph(name):
    rows = [r.strip() for r in GLYPHS[name].strip().splitlines()]
    return [[INK.get(ch, 0.0) for ch in r] for r in rows]


def draw_glyph(c, name, colour, dx=0, dy=0, shadow=None):
    g = glyph(name)
    if shadow is not None:
        for y, row in enumerate(g):
            for x, a in enumerate(row):
                # Drop shadow one pixel down, only where the glyph leaves room.
                if a and not _ink(g, x, y + 1):
                    c.mix(x + dx, y + dy + 1, shadow, a * 0.6)
    for y, row in enumerate(g):
        for x, a in enumerate(row):
            if a:
                c.mix(x + dx, y + dy, colour, a)


def _ink(g, x, y):
    return 0 <= y < len(g) and 0 <= x < len(g[y]) and g[y][x] > 0


def plate(c, fill_fn, top_fn=None, bottom_fn=None, radius=2):
    """Rounded button plate; fill_fn maps the underlying colour to the new one."""
    w, h = c.w, c.h
    for y in range(h):
        for x in range(w):
            cut = _corner_cut(x, y, w, h, radius)
            if cut >= 1.0:
                continue
            base = c.get(x, y)
            col = fill_fn(base)
            if y == 0 and top_fn:
                col = top_fn(base)
            elif y == h - 1 and bottom_fn:
                col = bottom_fn(base)
            c.set(x, y, lerp(col, base, cut))


def _corner_cut(x, y, w, h, r):
    """0 = inside plate, 1 = outside, in between = softened corner pixel."""
    if r <= 0:
        return 0.0
    cx = min(x, w - 1 - x)
    cy = min(y, h - 1 - y)
    if cx + cy >= r:
        return 0.0
    if cx + cy == r - 1:
        return 0.55
    return 1.0


def light(t):
    return lambda base: lerp(base, (255, 255, 255), t)


def dark(t):
    return lambda base: lerp(base, (0, 0, 0), t)


def tint(colour, t):
    return lambda base: lerp(base, colour, t)


def button_frames(bar, name):
    sx, sy, fw, fh, n, wx, wy = SPRITES[name]
    frames = []
    shadow = (4, 5, 7)
    for state in range(n):
        f = bar.crop(wx, wy, fw, fh)
        small = fw < 10
        if name == "close" and state:
            plate(f, tint(DANGER if state == 1 else DANGER_DARK, 0.92),
                  top_fn=tint((236, 96, 86) if state == 1 else (110, 24, 20), 0.9),
                  radius=2)
            off = 1 if state == 2 else 0
            draw_glyph(f, name, (255, 255, 255), off, off)
        elif state == 0:
            draw_glyph(f, name, GLYPH, shadow=shadow)
        elif state == 1:
            plate(f, light(0.10), top_fn=light(0.20), bottom_fn=dark(0.20),
                  radius=1 if small else 2)
            draw_glyph(f, name, ACCENT, shadow=shadow)
        else:
            plate(f, dark(0.32), top_fn=dark(0.58), bottom_fn=light(0.05),
                  radius=1 if small else 2)
            draw_glyph(f, name, ACCENT_DIM, 1, 1)
        frames.append(f)
    return frames


def mute_frames(bar):
    sx, sy, fw, fh, n, wx, wy = SPRITES["mute"]
    on = bar.crop(wx, wy, fw, fh)
    draw_glyph(on, "speaker", GLYPH, shadow=(4, 5, 7))
    draw_glyph(on, "waves", ACCENT, shadow=(4, 5, 7))
    off = bar.crop(wx, wy, fw, fh)
    draw_glyph(off, "speaker", MUTED, shadow=(4, 5, 7))
    draw_glyph(off, "cross", MUTED_X, shadow=(4, 5, 7))
    return [on, off]


def knob_frame(bar):
    # Background from the middle of the track: its top and bottom rows are
    # the same at every knob position, so the knob blends anywhere.
    k = bar.crop((KNOB_X_MIN + KNOB_X_MAX) // 2, KNOB_Y, KNOB_W, KNOB_H)
    body_top, body_bottom = (226, 230, 236), (142, 148, 158)
    for y in range(1, KNOB_H - 1):
        col = lerp(body_top, body_bottom, (y - 1) / (KNOB_H - 3))
        for x in range(KNOB_W):
            k.set(x, y, col)
    for x in range(KNOB_W):
        k.set(x, 1, (246, 248, 251))
        k.set(x, KNOB_H - 2, (104, 110, 120))
    for y in range(1, KNOB_H - 1):
        k.mix(0, y, (255, 255, 255), 0.25)
        k.mix(KNOB_W - 1, y, (0, 0, 0), 0.22)
    # Rounded corners: soften to the body's edge colour, never to
    # background, so the left lip of the track is never exposed.
    for (x, y) in ((0, 1), (KNOB_W - 1, 1), (0, KNOB_H - 2), (KNOB_W - 1, KNOB_H - 2)):
        k.set(x, y, lerp(k.get(x, y), k.get(x, 0 if y == 1 else KNOB_H - 1), 0.6))
    # Indicator notch lined up with the groove.
    ya, yb = GROOVE_ROWS
    for x in range(1, KNOB_W - 1):
        k.set(x, ya - KNOB_Y, (22, 122, 150))
        k.set(x, yb - KNOB_Y, ACCENT)
    return k


def make_skin():
    bar = make_bar()
    skin = Canvas(W, H, SPARE)
    skin.paste(bar, 0, 0)
    sheet = {}
    for name in ("play", "stop", "search", "list", "close", "min"):
        sheet[name] = button_frames(bar, name)
    sheet["mute"] = mute_frames(bar)
    sheet["knob"] = [knob_frame(bar)]
    for name, frames in sheet.items():
        sx, sy, fw, fh = SPRITES[name][:4]
        for i, f in enumerate(frames):
            skin.paste(f, sx + i * fw, sy)
    return skin, bar, sheet


# ------------------------------------------------------ favorites toolbar

# Seven 15 x 15 images side by side for the favorites window's toolbar:
# play, home page, add, delete, edit, move up, move down. Pure green is the
# transparent colour: the toolbar maps it to the button face. The glyphs use
# the bar's slate and accent colours; their soft edges blend towards a
# middle grey, since the face colour is the system's.
TOOL = 15
TOOL_NAMES = ("play", "home", "add", "delete", "edit", "up", "down")
TOOL_KEY = (0, 255, 0)
TOOL_FACE = (224, 224, 224)
SLATE = (40, 46, 56)

# ink character: (colour, coverage)
TOOL_INK = {
    "#": (SLATE, 1.0), "+": (SLATE, 0.62), ":": (SLATE, 0.32),
    "A": (ACCENT_DIM, 1.0), "a": (ACCENT_DIM, 0.55),
    "R": (DANGER, 1.0), "r": (DANGER, 0.5),
    "W": ((250, 252, 255), 1.0),
}

TOOL_GLYPHS = {
    "play": """
        ...............
        ...............
        ...............
        ....Aa.........
        ....AAAa.......
        ....AAAAAa.....
        ....AAAAAAAa...
        ....AAAAAAAAA..
        ....AAAAAAAa...
        ....AAAAAa.....
        ....AAAa.......
        ....Aa.........
        ...............
        ...............
        ...............
    """,
    "home": """
        ...............
        .......#.......
        ......+#+......
        .....+#:#+.....
        ....+#:.:#+....
        ...+#:...:#+...
        ..+#:.....:#+..
        ...#.......#...
        ...#.......#...
        ...#..AAA..#...
        ...#..AAA..#...
        ...#..AAA..#...
        ...#########...
        ...............
        ...............
    """,
    "add": """
        ...............
        ...............
        ...............
        ......AAA......
        ......AAA......
        ......AAA......
        ...AAAAAAAAA...
        ...AAAAAAAAA...
        ...AAAAAAAAA...
        ......AAA......
        ......AAA......
        ......AAA......
        ...............
        ...............
        ...............
    """,
    "delete": """
        ...............
        ...............
        ...............
        ...rRr...rRr...
        ...RRRr.rRRR...
        ...rRRRrRRRr...
        .....RRRRR.....
        ......RRR......
        .....RRRRR.....
        ...rRRRrRRRr...
        ...RRRr.rRRR...
        ...rRr...rRr...
        ...............
        ...............
        ...............
    """,
    "edit": """
        ...............
        ..........+#+..
        .........#WW#..
        ........#AA#+..
        .......#AAA#...
        ......#AAA#....
        .....#AAA#.....
        ....#AAA#......
        ...#AAA#.......
        ...#AA#........
        ...##+.........
        ...#+..........
        ...............
        ..###########..
        ...............
    """,
    "up": """
        ...............
        ...............
        .......#.......
        ......###......
        .....#####.....
        ....#######....
        ...#########...
        ......###......
        ......###......
        ......###......
        ......###......
        ......###......
        ...............
        ...............
        ...............
    """,
}
TOOL_GLYPHS["down"] = "\n".join(reversed(TOOL_GLYPHS["up"].strip().splitlines()))


def make_toolbar():
    c = Canvas(TOOL * len(TOOL_NAMES), TOOL, TOOL_KEY)
    for i, name in enumerate(TOOL_NAMES):
        rows = [r.strip() for r in TOOL_GLYPHS[name].strip().splitlines()]
        assert len(rows) == TOOL and all(len(r) == TOOL for r in rows), name
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch in TOOL_INK:
                    colour, a = TOOL_INK[ch]
                    c.set(i * TOOL + x, y, lerp(TOOL_FACE, colour, a))
    return c


def on_face(toolbar, face):
    """The toolbar as a button face of the given colour shows it."""
    out = Canvas(toolbar.w, toolbar.h)
    out.px = [[face if p == TOOL_KEY else p for p in row] for row in toolbar.px]
    return out


# ------------------------------------------------------------- encoders

def palettize(c):
    """Map every pixel to a palette of at most 256 colours.

    Returns (palette index by colour, colour substitution). Equal colours
    always share one entry, so sprites stay identical to the bar under them
    even if rare near-duplicates had to be merged.
    """
    counts = {}
    for row in c.px:
        for p in row:
            counts[p] = counts.get(p, 0) + 1
    subst = {p: p for p in counts}
    live = dict(counts)
    while len(live) > 256:
        # Fold the rarest colour into its nearest neighbour.
        rare = min(live, key=lambda p: (live[p], p))
        near = min((q for q in live if q != rare),
                   key=lambda q: (sum((q[i] - rare[i]) ** 2 for i in range(3)), q))
        live[near] += live.pop(rare)
        for k, v in subst.items():
            if v == rare:
                subst[k] = near
    pal = {}
    for row in c.px:
        for p in row:
            q = subst[p]
            if q not in pal:
                pal[q] = len(pal)
    return pal, subst


def encode_bmp8(c):
    pal, subst = palettize(c)
    stride = (c.w + 3) & ~3
    pixels = bytearray()
    for y in range(c.h - 1, -1, -1):          # bottom-up
        row = bytes(pal[subst[p]] for p in c.px[y])
        pixels += row + b"\0" * (stride - c.w)
    palette = bytearray()
    for (r, g, b) in pal:                      # dict keeps insertion order
        palette += bytes((b, g, r, 0))
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h, 1, 8, 0, len(pixels),
                       2835, 2835, len(pal), len(pal))
    return header + info + bytes(palette) + bytes(pixels)


def encode_ico(images):
    """images: list of (size, rgba rows). Entries are 32-bit BMP, not PNG."""
    blobs = []
    for size, rows in images:
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                           0, 0, 0, 0, 0)
        xor = bytearray()
        for y in range(size - 1, -1, -1):
            for (r, g, b, a) in rows[y]:
                xor += bytes((b, g, r, a))
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for y in range(size - 1, -1, -1):
            bits = bytearray(mask_stride)
            for x, (_, _, _, a) in enumerate(rows[y]):
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        blobs.append((size, info + bytes(xor) + bytes(mask)))
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    data = b""
    for size, blob in blobs:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32,
                           len(blob), offset + len(data))
        data += blob
    return out + data


def encode_png(rows):
    h, w = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for p in row:
            raw += bytes(p[:3])

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    ihdr = struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


# ----------------------------------------------------------------- icons

def _seg_dist(px, py, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - ax - t * vx, py - ay - t * vy)


def _rounded_box(px, py, x0, y0, x1, y1, r):
    cx = min(max(px, x0 + r), x1 - r)
    cy = min(max(py, y0 + r), y1 - r)
    return math.hypot(px - cx, py - cy) - r


def icon_rgba(size):
    """Broadcast mark: a mast with a beacon and radiating arcs, on a tile.

    The coloured tile keeps the white mark readable on light and dark
    taskbars alike.
    """
    s = size / 32.0
    # The mast turns to clutter at 16 px; the small icon keeps beacon and arcs.
    mark = _mark if size > 16 else _mark_small
    top, bottom = (44, 178, 228), (20, 82, 178)
    rim = (12, 44, 104)
    ss = 5
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            tile_a = mark_a = 0.0
            for sy in range(ss):
                for sx in range(ss):
                    u = (x + (sx + 0.5) / ss) / s
                    v = (y + (sy + 0.5) / ss) / s
                    if _rounded_box(u, v, 1.0, 1.0, 31.0, 31.0, 7.0) <= 0:
                        tile_a += 1
                        if mark(u, v) <= 0:
                            mark_a += 1
            tile_a /= ss * ss
            mark_a = mark_a / (ss * ss) / max(tile_a, 1e-9)
            if size <= 16:
                # Firm up soft edges: small icons need contrast over smoothness.
                mark_a = max(0.0, min(1.0, (mark_a - 0.5) * 1.5 + 0.5))
            if tile_a == 0:
                row.append((0, 0, 0, 0))
                continue
            base = lerp(top, bottom, (y + 0.5) / size)
            # Darker rim keeps the tile's outline crisp on a light taskbar.
            edge = -_rounded_box((x + 0.5) / s, (y + 0.5) / s, 1.0, 1.0, 31.0, 31.0, 7.0) * s
            base = lerp(base, rim, 0.5 * max(0.0, min(1.0, 1.5 - edge)))
            col = lerp(base, (255, 255, 255), min(1.0, mark_a))
            row.append(rgb(col) + (int(round(tile_a * 255)),))
        rows.append(row)
    return rows


def _mark_small(u, v):
    # 32-unit space; radii put the arcs' vertical runs on pixel columns.
    bx, by = 16.0, 16.0
    d = math.hypot(u - bx, v - by) - 3.0
    return min(d, _arcs(u, v, bx, by, [(7.0, 2.6), (12.0, 2.6)], 46))


def _arcs(u, v, bx, by, arcs, spread_deg):
    d = 1e9
    ang = math.atan2(v - by, u - bx)
    side = min(abs(ang), abs(math.pi - abs(ang)))   # angle from horizontal
    spread = math.radians(spread_deg)
    for radius, width in arcs:
        if side <= spread:
            d = min(d, abs(math.hypot(u - bx, v - by) - radius) - width / 2)
        else:
            # Round caps at the arc ends.
            for sx in (-1, 1):
                for sy in (-1, 1):
                    ex = bx + sx * radius * math.cos(spread)
                    ey = by + sy * radius * math.sin(spread)
                    d = min(d, math.hypot(u - ex, v - ey) - width / 2)
    return d


def _mark(u, v):
    bx, by, br = 16.0, 12.5, 2.9
    arcs = [(7.0, 2.2), (11.8, 2.2)]
    mast = 2.2
    d = math.hypot(u - bx, v - by) - br
    # Mast: an A-frame from the beacon down to the tile's foot.
    d = min(d, _seg_dist(u, v, bx, by, bx - 6.0, 27.0) - mast / 2)
    d = min(d, _seg_dist(u, v, bx, by, bx + 6.0, 27.0) - mast / 2)
    d = min(d, _seg_dist(u, v, bx - 3.4, 21.0, bx + 3.4, 21.0) - mast / 2 * 0.9)
    return min(d, _arcs(u, v, bx, by, arcs, 44))


# --------------------------------------------------------------- preview

def scaled(c_rows, k):
    out = []
    for row in c_rows:
        big = [p for p in row for _ in range(k)]
        for _ in range(k):
            out.append(list(big))
    return out


def composite(bar, sheet, states=None, knob_x=251, muted=False):
    states = states or {}
    w = bar.crop(0, 0, W, BAR_H)
    for name in ("play", "stop", "search", "list", "close", "min"):
        _, _, fw, fh, n, wx, wy = SPRITES[name]
        w.paste(sheet[name][states.get(name, 0)], wx, wy)
    w.paste(sheet["mute"][1 if muted else 0], *SPRITES["mute"][5:7])
    w.paste(sheet["knob"][0], knob_x, KNOB_Y)
    return w


def make_preview(skin, bar, sheet, icons, toolbar):
    k = 3
    pad = 18
    bg = (62, 66, 74)
    views = [
        composite(bar, sheet),
        composite(bar, sheet, {"play": 1, "close": 1}, knob_x=KNOB_X_MAX),
        composite(bar, sheet, {"stop": 2, "min": 1, "search": 1},
                  knob_x=KNOB_X_MIN, muted=True),
        composite(bar, sheet, {"list": 2, "close": 2, "min": 2}),
    ]
    blocks = [scaled(v.px, k) for v in views]
    blocks.append(scaled(skin.px, k))
    blocks.append([list(r) for r in views[0].px])     # actual size
    width = W * k + 2 * pad
    canvas = []

    def blank(n, colour=bg):
        for _ in range(n):
            canvas.append([colour] * width)

    blank(pad)
    for b in blocks:
        for row in b:
            canvas.append([bg] * pad + row + [bg] * (width - pad - len(row)))
        blank(pad)

    # Icons on a dark and a light strip, at 1x and 4x.
    for strip in ((32, 34, 40), (236, 238, 242)):
        band = [[strip] * width for _ in range(32 * 4 + 2 * pad)]
        x = pad
        for size, rows in icons:
            for scale in ((1, 4, 8) if size == 16 else (1, 4)):
                big = scaled(rows, scale)
                for j, row in enumerate(big):
                    for i, (r, g, b_, a) in enumerate(row):
                        yy = pad + j
                        if yy < len(band):
                            band[yy][x + i] = rgb(lerp(strip, (r, g, b_), a / 255))
                x += size * scale + pad
        canvas.extend(band)
    # The favorites toolbar on a classic and a modern button face, at 4x
    # and at actual size.
    for face in ((212, 208, 200), (240, 240, 240)):
        band = [[face] * width for _ in range(TOOL * 4 + 2 * pad)]
        shown = on_face(toolbar, face)
        for j, row in enumerate(scaled(shown.px, 4)):
            band[pad + j][pad:pad + len(row)] = row
        x = pad + toolbar.w * 4 + pad
        for j, row in enumerate(shown.px):
            band[pad + j][x:x + len(row)] = row
        canvas.extend(band)
    blank(pad)
    return canvas


# ------------------------------------------------------------------ main

def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.abspath(os.path.join(here, "..", ".."))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=root, help="repository root to write into")
    args = ap.parse_args()

    skin, bar, sheet = make_skin()
    # Preview what the 8-bit bitmap really holds.
    _, subst = palettize(skin)
    for cv in [skin, bar] + [f for fs in sheet.values() for f in fs]:
        cv.px = [[subst[p] for p in row] for row in cv.px]
    icons = [(16, icon_rgba(16)), (32, icon_rgba(32))]
    toolbar = make_toolbar()
    files = {
        "src/resources/skin.bmp": encode_bmp8(skin),
        "src/resources/velmorin.ico": encode_ico(icons),
        "src/resources/tray.ico": encode_ico(icons[:1]),
        "src/resources/favorites-toolbar.bmp": encode_bmp8(toolbar),
        "docs/art-preview.png": encode_png(make_preview(skin, bar, sheet, icons, toolbar)),
    }
    for rel, data in files.items():
        path = os.path.join(args.out, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as fh:
            fh.write(data)
        print("%-36s %7d bytes" % (rel, len(data)))
    pal, subst = palettize(skin)
    merged = sum(1 for k, v in subst.items() if k != v)
    print("skin colours: %d in palette, %d merged" % (len(pal), merged))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Check Velmorin's skin bitmap, icons and favorites toolbar against the layout the player uses.

    python3 tools/art/check_art.py              # check the committed files
    python3 tools/art/check_art.py --no-regen   # skip the regeneration check
    python3 tools/art/check_art.py --root DIR   # check files under DIR

Exits non-zero and lists every problem found.
"""

import argparse
import os
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))

SKIN_W, SKIN_H, BAR_H = 343, 34, 20

# name: (sheet x, sheet y, frame w, frame h, frames, window x, window y)
SPRITES = {
    "play":   (0,   21, 13, 13, 3, 279, 4),
    "stop":   (40,  21, 13, 13, 3, 292, 4),
    "search": (80,  21, 13, 13, 3, 305, 4),
    "list":   (120, 21, 13, 13, 3, 318, 4),
    "close":  (160, 21, 7,  7,  3, 335, 4),
    "min":    (182, 21, 7,  6,  3, 335, 12),
    "mute":   (214, 21, 11, 11, 2, 221, 5),
}
KNOB = (205, 21, 6, 12)             # sheet x, y, w, h
TOOL, TOOLS = 15, 7                 # favorites toolbar: 7 images of 15 x 15
TOOL_KEY = (0, 255, 0)              # mapped to the button face
KNOB_X = range(234, 269)            # top-left x across the volume range
KNOB_Y = 4

RESOURCES = "src/resources"


class Problems(list):
    def check(self, ok, msg, *args):
        if not ok:
            self.append(msg % args if args else msg)
        return ok


def read_bmp8(data, p, tag="skin", dims=(SKIN_W, SKIN_H)):
    """Parse an 8-bit BI_RGB bitmap; return rows of RGB tuples, top row first."""
    want_w, want_h = dims
    before = len(p)
    if not p.check(len(data) >= 54 and data[:2] == b"BM", "%s: not a BMP", tag):
        return None
    _, size, _, _, off = struct.unpack_from("<2sIHHI", data, 0)
    (hsize, w, h, planes, bpp, comp, isize, _, _, used,
     _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
    p.check(size == len(data), "%s: header size %d, file %d", tag, size, len(data))
    p.check(hsize == 40, "%s: info header is %d bytes, want 40", tag, hsize)
    p.check(w == want_w and h == want_h, "%s: %dx%d, want %dx%d", tag,
            w, h, want_w, want_h)
    p.check(h > 0, "%s: rows must be stored bottom-up", tag)
    p.check(planes == 1, "%s: %d planes", tag, planes)
    p.check(bpp == 8, "%s: %d bits per pixel, want 8", tag, bpp)
    p.check(comp == 0, "%s: compression %d, want none", tag, comp)
    colours = used or 256
    p.check(1 <= colours <= 256, "%s: %d palette entries", tag, colours)
    p.check(off == 14 + hsize + 4 * colours,
            "%s: pixels at %d, expected right after the palette", tag, off)
    if len(p) > before:
        return None
    stride = (w + 3) & ~3
    p.check(off + stride * h <= len(data), "%s: pixel data truncated", tag)
    p.check(isize in (0, stride * h), "%s: image size %d, want %d", tag,
            isize, stride * h)
    if len(p) > before:
        return None
    pal = [tuple(data[14 + hsize + 4 * i + k] for k in (2, 1, 0))
           for i in range(colours)]
    rows = []
    for y in range(h - 1, -1, -1):
        start = off + y * stride
        idx = data[start:start + w]
        bad = [i for i in idx if i >= colours]
        if not p.check(not bad, "%s: index %s beyond a %d-entry palette", tag,
                       bad[:1], colours):
            return None
        rows.append([pal[i] for i in idx])
    return rows


def check_skin(rows, p):
    bar = [row for row in rows[:BAR_H]]
    spare = set(rows[BAR_H])
    p.check(len(spare) == 1, "skin: row 20 should be one flat colour, has %d",
            len(spare))

    # Sprites are opaque rectangles laid on the bar. Where no glyph ink
    # reaches (the corners of idle frames) they must be the very bar pixels
    # they cover, or a seam shows around every button.
    for name, (sx, sy, fw, fh, n, wx, wy) in SPRITES.items():
        for f in range(n) if name == "mute" else [0]:
            for i, j in ((0, 0), (fw - 1, 0), (0, fh - 1), (fw - 1, fh - 1)):
                p.check(rows[sy + j][sx + f * fw + i] == bar[wy + j][wx + i],
                        "skin: %s frame %d corner (%d,%d) differs from the "
                        "bar under it", name, f, i, j)

    # Frames of one button must differ, or hover/press give no feedback.
    for name, (sx, sy, fw, fh, n, _, _) in SPRITES.items():
        frames = [tuple(tuple(rows[sy + j][sx + f * fw:sx + (f + 1) * fw])
                        for j in range(fh)) for f in range(n)]
        p.check(len(set(frames)) == n, "skin: %s has identical frames", name)

    # The knob carries only the track's top and bottom rows with it, so
    # those rows must be flat wherever the knob can stand.
    kx, ky, kw, kh = KNOB
    for x in KNOB_X:
        for j in (0, kh - 1):
            under = bar[KNOB_Y + j][x:x + kw]
            mine = rows[ky + j][kx:kx + kw]
            if not p.check(under == mine, "skin: knob row %d does not match "
                           "the track at x=%d", j, x):
                return


def check_toolbar(rows, p):
    """Each image shows its glyph on the key colour, which the toolbar maps
    to the button face by exact value: a colour near it would show as a
    green fringe."""
    for i in range(TOOLS):
        image = [row[i * TOOL:(i + 1) * TOOL] for row in rows]
        for x, y in ((0, 0), (TOOL - 1, 0), (0, TOOL - 1), (TOOL - 1, TOOL - 1)):
            p.check(image[y][x] == TOOL_KEY, "toolbar: image %d corner (%d,%d) "
                    "is not the key colour", i, x, y)
        ink = sum(1 for row in image for px in row if px != TOOL_KEY)
        p.check(ink >= 10, "toolbar: image %d is (nearly) empty", i)
        for y, row in enumerate(image):
            for x, (r, g, b) in enumerate(row):
                if (r, g, b) != TOOL_KEY and g > 200 and r < 80 and b < 80:
                    p.check(False, "toolbar: image %d pixel (%d,%d) is nearly "
                            "the key colour", i, x, y)
                    return
    images = [tuple(tuple(row[i * TOOL:(i + 1) * TOOL]) for row in rows)
              for i in range(TOOLS)]
    p.check(len(set(images)) == TOOLS, "toolbar: two images are the same")


def read_ico(path, data, p):
    """Return {size: rgba rows} for each BMP-encoded 32-bit image."""
    images = {}
    before = len(p)
    if not p.check(len(data) >= 6, "%s: too short", path):
        return images
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    p.check(reserved == 0 and kind == 1, "%s: not an icon file", path)
    p.check(6 + 16 * count <= len(data), "%s: directory truncated", path)
    if len(p) > before:
        return images
    spans = []
    for n in range(count):
        (bw, bh, _, _, planes, bits, nbytes,
         off) = struct.unpack_from("<BBBBHHII", data, 6 + 16 * n)
        size = bw or 256
        tag = "%s #%d (%dx%d)" % (path, n, size, bh or 256)
        if not p.check(off + nbytes <= len(data) and off >= 6 + 16 * count,
                       "%s: data outside the file", tag):
            continue
        spans.append((off, off + nbytes))
        p.check(bw == bh, "%s: not square", tag)
        p.check(bits == 32, "%s: directory says %d bits, want 32", tag, bits)
        blob = data[off:off + nbytes]
        if not p.check(blob[:8] != b"\x89PNG\r\n\x1a\n",
                       "%s: PNG entry; BMP entries are required", tag):
            continue
        (hsize, w, h, iplanes, ibits,
         comp) = struct.unpack_from("<IiiHHI", blob, 0)
        p.check(hsize == 40, "%s: header %d bytes", tag, hsize)
        p.check(w == size and h == 2 * size,
                "%s: bitmap %dx%d, want %dx%d", tag, w, h, size, 2 * size)
        p.check(iplanes == 1 and ibits == 32 and comp == 0,
                "%s: bitmap must be 32-bit uncompressed", tag)
        mask_stride = ((size + 31) // 32) * 4
        want = 40 + size * size * 4 + mask_stride * size
        if not p.check(nbytes == want, "%s: %d bytes, want %d",
                       tag, nbytes, want):
            continue
        rows = []
        for y in range(size - 1, -1, -1):
            row = []
            for x in range(size):
                b, g, r, a = blob[40 + 4 * (y * size + x):][:4]
                mbyte = blob[40 + size * size * 4 + y * mask_stride + x // 8]
                masked = bool(mbyte & (0x80 >> (x % 8)))
                # Old shells draw with the mask; it must agree with alpha.
                if not p.check(masked == (a == 0), "%s: mask and alpha disagree "
                               "at (%d,%d)", tag, x, size - 1 - y):
                    return images
                row.append((r, g, b, a))
            rows.append(row)
        alphas = {px[3] for row in rows for px in row}
        p.check(0 in alphas and 255 in alphas,
                "%s: alpha is not used (values %s)", tag, sorted(alphas)[:4])
        p.check(size not in images, "%s: duplicate size", tag)
        images[size] = rows
    spans.sort()
    for (a0, a1), (b0, _) in zip(spans, spans[1:]):
        p.check(a1 <= b0, "%s: image data overlaps", path)
    return images


def check_files(root, p):
    res = os.path.join(root, RESOURCES)
    with open(os.path.join(res, "skin.bmp"), "rb") as fh:
        rows = read_bmp8(fh.read(), p)
    if rows is not None:
        check_skin(rows, p)
    with open(os.path.join(res, "favorites-toolbar.bmp"), "rb") as fh:
        rows = read_bmp8(fh.read(), p, "toolbar", (TOOL * TOOLS, TOOL))
    if rows is not None:
        check_toolbar(rows, p)
    for name, sizes in (("velmorin.ico", {16, 32}), ("tray.ico", {16})):
        with open(os.path.join(res, name), "rb") as fh:
            got = read_ico(name, fh.read(), p)
        p.check(set(got) == sizes, "%s: sizes %s, want %s",
                name, sorted(got), sorted(sizes))


def check_regen(root, p):
    """The committed art must be exactly what the generator makes."""
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run([sys.executable, os.path.join(HERE, "make_art.py"),
                        "--out", tmp], check=True, stdout=subprocess.DEVNULL)
        for rel in (RESOURCES + "/skin.bmp", RESOURCES + "/velmorin.ico",
                    RESOURCES + "/tray.ico", RESOURCES + "/favorites-toolbar.bmp",
                    "docs/art-preview.png"):
            with open(os.path.join(tmp, rel), "rb") as a, \
                    open(os.path.join(root, rel), "rb") as b:
                fresh, kept = a.read(), b.read()
            if rel.endswith(".png"):
                # zlib builds may pack the same pixels differently.
                fresh, kept = png_pixels(fresh), png_pixels(kept)
            p.check(fresh == kept,
                    "%s: differs from make_art.py output; regenerate", rel)


def png_pixels(data):
    """Header plus inflated image data; None if the file is not a PNG."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    pos, head, idat = 8, b"", b""
    while pos + 8 <= len(data):
        n, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + n]
        if kind == b"IHDR":
            head = body
        elif kind == b"IDAT":
            idat += body
        pos += 12 + n
    try:
        return head, zlib.decompress(idat)
    except zlib.error:
        return None


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--root", default=ROOT)
    ap.add_argument("--no-regen", action="store_true")
    args = ap.parse_args()
    p = Problems()
    check_files(args.root, p)
    if not args.no_regen:
        check_regen(args.root, p)
    for msg in p:
        print("FAIL", msg)
    print("art check: %s" % ("%d problem(s)" % len(p) if p else "ok"))
    return 1 if p else 0


if __name__ == "__main__":
    sys.exit(main())

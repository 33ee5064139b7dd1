#!/usr/bin/env python3
"""Self-test for check_art.py: good art passes, each kind of damage is caught.

    python3 tools/art/test_check_art.py
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_art  # noqa: E402

SKIN = "src/resources/skin.bmp"
ICON = "src/resources/velmorin.ico"
TRAY = "src/resources/tray.ico"
TOOLBAR = "src/resources/favorites-toolbar.bmp"


class CheckArt(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="art-")
        cls.good = os.path.join(cls.tmp, "good")
        subprocess.run([sys.executable, os.path.join(HERE, "make_art.py"),
                        "--out", cls.good], check=True,
                       stdout=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp)

    def problems(self, rel=None, edit=None):
        root = os.path.join(self.tmp, "case")
        shutil.rmtree(root, ignore_errors=True)
        shutil.copytree(self.good, root)
        if rel:
            path = os.path.join(root, rel)
            with open(path, "rb") as fh:
                data = bytearray(fh.read())
            edit(data)
            with open(path, "wb") as fh:
                fh.write(data)
        p = check_art.Problems()
        check_art.check_files(root, p)
        return p

    def assertCaught(self, rel, edit, words):
        p = self.problems(rel, edit)
        self.assertTrue(any(words in m for m in p),
                        "expected a problem mentioning %r, got %r" % (words, p))

    # --- helpers that edit the skin's pixels -------------------------

    @staticmethod
    def skin_pixel(data, x, y):
        off = struct.unpack_from("<I", data, 10)[0]
        stride = (343 + 3) & ~3
        return off + (33 - y) * stride + x

    def poke_index(self, x, y):
        def edit(data):
            i = self.skin_pixel(data, x, y)
            data[i] = (data[i] + 1) % struct.unpack_from("<I", data, 46)[0]
        return edit

    # --- tests -----------------------------------------------------------

    def test_generated_art_passes(self):
        self.assertEqual(list(self.problems()), [])

    def test_skin_wrong_depth(self):
        self.assertCaught(SKIN, lambda d: struct.pack_into("<H", d, 28, 24),
                          "bits per pixel")

    def test_skin_wrong_width(self):
        self.assertCaught(SKIN, lambda d: struct.pack_into("<i", d, 18, 342),
                          "342x34")

    def test_skin_top_down(self):
        self.assertCaught(SKIN, lambda d: struct.pack_into("<i", d, 22, -34),
                          "bottom-up")

    def test_skin_truncated(self):
        def cut(d):
            del d[-400:]
        self.assertCaught(SKIN, cut, "size")

    def test_skin_index_beyond_palette(self):
        def edit(d):
            d[self.skin_pixel(d, 100, 10)] = 255
            struct.pack_into("<I", d, 46, 200)   # shrink the palette claim
        self.assertCaught(SKIN, edit, "palette")

    def test_sprite_seam(self):
        # Bottom-right corner of the idle play frame no longer matches.
        self.assertCaught(SKIN, self.poke_index(12, 33), "play frame 0 corner")

    def test_muted_frame_seam(self):
        self.assertCaught(SKIN, self.poke_index(225, 21), "mute frame 1 corner")

    def test_knob_row_mismatch(self):
        self.assertCaught(SKIN, self.poke_index(207, 21), "knob row 0")

    def test_track_not_flat_under_knob(self):
        # A mark on the track's bottom lip would be wiped by a passing knob.
        self.assertCaught(SKIN, self.poke_index(260, 15), "knob row 11")

    def test_hover_same_as_idle(self):
        def edit(d):
            for y in range(21, 34):
                a = self.skin_pixel(d, 40, y)
                b = self.skin_pixel(d, 53, y)
                d[b:b + 13] = d[a:a + 13]
        self.assertCaught(SKIN, edit, "stop has identical frames")

    def test_spare_row_not_flat(self):
        self.assertCaught(SKIN, self.poke_index(50, 20), "row 20")

    def test_icon_missing_size(self):
        def keep_first(d):
            struct.pack_into("<H", d, 4, 1)
        self.assertCaught(ICON, keep_first, "sizes [16], want [16, 32]")

    def test_icon_png_entry(self):
        def edit(d):
            off = struct.unpack_from("<I", d, 6 + 12)[0]
            d[off:off + 8] = b"\x89PNG\r\n\x1a\n"
        self.assertCaught(TRAY, edit, "PNG entry")

    def test_icon_wrong_depth(self):
        def edit(d):
            off = struct.unpack_from("<I", d, 6 + 12)[0]
            struct.pack_into("<H", d, off + 14, 24)
        self.assertCaught(TRAY, edit, "32-bit")

    def test_icon_alpha_disagrees_with_mask(self):
        def edit(d):
            off = struct.unpack_from("<I", d, 6 + 12)[0]
            for i in range(16 * 16):
                d[off + 40 + 4 * i + 3] = 255
        self.assertCaught(TRAY, edit, "mask and alpha disagree")

    def test_icon_alpha_unused(self):
        def edit(d):
            off = struct.unpack_from("<I", d, 6 + 12)[0]
            for i in range(16 * 16):
                d[off + 40 + 4 * i + 3] = 255
            for i in range(off + 40 + 16 * 16 * 4, len(d)):
                d[i] = 0
        self.assertCaught(TRAY, edit, "alpha is not used")

    def test_skin_fault_is_reported_alone(self):
        # A broken skin must not stop the icons being read, nor smear
        # complaints onto intact icons.
        p = self.problems(SKIN, lambda d: struct.pack_into("<H", d, 28, 24))
        self.assertTrue(p)
        self.assertEqual([m for m in p if not m.startswith("skin:")], [])

    def test_icon_mask_cleared(self):
        def edit(d):
            off = struct.unpack_from("<I", d, 6 + 12)[0]
            for i in range(off + 40 + 16 * 16 * 4, len(d)):
                d[i] = 0
        self.assertCaught(TRAY, edit, "mask and alpha disagree")

    def test_icon_entry_outside_file(self):
        self.assertCaught(TRAY, lambda d: struct.pack_into("<I", d, 6 + 8, 99999),
                          "outside the file")

    def test_toolbar_key_colour_nearly_green(self):
        # A palette entry one step off pure green stays green on the button.
        def edit(d):
            off = struct.unpack_from("<I", d, 10)[0]
            key = d[off]  # bottom-left pixel: the key colour
            d[54 + 4 * key + 1] = 254
        self.assertCaught(TOOLBAR, edit, "is not the key colour")

    def test_toolbar_wrong_size(self):
        self.assertCaught(TOOLBAR, lambda d: struct.pack_into("<i", d, 18, 90),
                          "toolbar: 90x15, want 105x15")

    def regen_problems(self, rel, edit):
        root = os.path.join(self.tmp, "regen")
        shutil.rmtree(root, ignore_errors=True)
        shutil.copytree(self.good, root)
        path = os.path.join(root, rel)
        with open(path, "rb") as fh:
            data = fh.read()
        with open(path, "wb") as fh:
            fh.write(edit(data))
        p = check_art.Problems()
        check_art.check_regen(root, p)
        return p

    def test_regen_detects_hand_edited_skin(self):
        def edit(data):
            d = bytearray(data)
            d[self.skin_pixel(d, 100, 10)] ^= 1
            return bytes(d)
        p = self.regen_problems(SKIN, edit)
        self.assertEqual(len(p), 1)
        self.assertIn("skin.bmp", p[0])

    def test_regen_detects_stale_preview(self):
        def edit(data):
            head, pixels = check_art.png_pixels(data)
            px = bytearray(pixels)
            px[1000] ^= 0x40
            def chunk(kind, body):
                return (struct.pack(">I", len(body)) + kind + body + struct.pack(
                    ">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
            return (data[:8] + chunk(b"IHDR", head)
                    + chunk(b"IDAT", zlib.compress(bytes(px)))
                    + chunk(b"IEND", b""))
        p = self.regen_problems("docs/art-preview.png", edit)
        self.assertEqual(len(p), 1)
        self.assertIn("art-preview.png", p[0])

    def test_regen_ignores_png_packing(self):
        # Same pixels, different compression: not a regression.
        def edit(data):
            head, pixels = check_art.png_pixels(data)
            def chunk(kind, body):
                return (struct.pack(">I", len(body)) + kind + body + struct.pack(
                    ">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
            return (data[:8] + chunk(b"IHDR", head)
                    + chunk(b"IDAT", zlib.compress(pixels, 1))
                    + chunk(b"IEND", b""))
        self.assertEqual(list(self.regen_problems("docs/art-preview.png", edit)), [])


if __name__ == "__main__":
    unittest.main()

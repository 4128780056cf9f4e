#!/usr/bin/python3
"""Checks the artwork generator: names, sizes and formats the program's
resources rely on, the transparent key colour, the nine-part seams, the
knobs' blending, plain text areas on the background, and that two runs
write the same bytes.

Run: /usr/bin/python3 res/art/test_generate.py
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

from PIL import Image, ImageStat

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, HERE)
import generate  # noqa: E402

KEY = (255, 0, 255)


def run_generator(out):
    subprocess.run([sys.executable, os.path.join(HERE, "generate.py"), out], check=True)


class GeneratedArt(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="varnhold-art-")
        run_generator(cls.dir)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.dir, name)

    def bmp(self, name):
        with Image.open(self.path(name + ".bmp")) as im:
            return im.convert("RGB")

    def jpeg(self, name, mode="RGB"):
        with Image.open(self.path(name)) as im:
            return im.convert(mode)

    def test_resource_list_counts(self):
        res = generate.skin_resources()
        per_style = {}
        for name, style, _, _, _ in res:
            per_style[style] = per_style.get(style, 0) + 1
        self.assertEqual(per_style, {"MACOS": 19, "WINXP": 19, "DEEPBLUE": 18, "PROTEIN": 18,
                                     "BLUEGLASS": 18, None: 7})
        self.assertEqual(len({r[0] for r in res}), len(res))

    def test_every_skin_bitmap_is_24_bit_with_its_size(self):
        for name, _, _, _, size in generate.skin_resources():
            with open(self.path(name + ".bmp"), "rb") as f:
                head = f.read(30)
            self.assertEqual(head[:2], b"BM", name)
            width, height, _, bits = struct.unpack("<iiHH", head[18:30])
            self.assertEqual((width, abs(height)), size, name)
            self.assertEqual(bits, 24, name)

    def test_sizes_named_in_the_tables(self):
        expect = {"WINXP_BUTTON": (54, 21), "BLUEGLASS_BUTTON": (231, 27), "MACOS_CHECKBOX": (60, 17),
                  "PROTEIN_TITLE_LEFT": (441, 23), "MORE_SCROLLBUTTON": (72, 17),
                  "MACOS_COMBOBOX_BUTTON": (16, 17), "WINXP_COMBOBOX_BUTTON": (16, 18),
                  "MACOS_MENU_BAR": (1, 22), "MACOS_MENU_SELECT": (1, 21),
                  "PROTEIN_FORM_BACKGROUND": (8, 8), "DEEPBLUE_PROGRESSBAR": (1, 10)}
        for name, size in expect.items():
            self.assertEqual(self.bmp(name).size, size, name)
        for style in ("DEEPBLUE", "PROTEIN", "BLUEGLASS"):
            self.assertFalse(os.path.exists(self.path(style + "_SCROLLBUTTON.bmp")))

    def test_skin_rc_lists_every_bitmap(self):
        with open(self.path("skin_art.rc")) as f:
            lines = f.read().splitlines()
        want = ['%s BITMAP "%s.bmp"' % (r[0], r[0]) for r in generate.skin_resources()]
        self.assertEqual(sorted(lines), sorted(want))

    def test_app_rc(self):
        with open(self.path("app_art.rc")) as f:
            lines = f.read().splitlines()
        for line in ('MAIN_BACKGROUND RCDATA "MAIN_BACKGROUND.jpg"', 'ABOUT_BANNER RCDATA "ABOUT_BANNER.jpg"',
                     'MINIMIZE_NORMAL BITMAP "MINIMIZE_NORMAL.bmp"', 'MINIMIZE_HOVER BITMAP "MINIMIZE_HOVER.bmp"',
                     'MINIMIZE_DOWN BITMAP "MINIMIZE_DOWN.bmp"', 'CLOSE_NORMAL BITMAP "CLOSE_NORMAL.bmp"',
                     'CLOSE_HOVER BITMAP "CLOSE_HOVER.bmp"', 'ABOUT_ICON BITMAP "ABOUT_ICON.bmp"',
                     '1 ICON "varnhold.ico"'):
            self.assertIn(line, lines)
        for line in lines:
            self.assertTrue(os.path.exists(self.path(line.split('"')[1])), line)

    def frames(self, name, count):
        im = self.bmp(name)
        fw = im.width // count
        return [im.crop((im.width - fw if k == count - 1 else k * fw, 0,
                         im.width if k == count - 1 else (k + 1) * fw, im.height)) for k in range(count)]

    def test_keyed_buttons_have_fuchsia_corners_only(self):
        for style in ("MACOS", "BLUEGLASS"):
            for fr in self.frames(style + "_BUTTON", 3):
                w, h = fr.size
                for p in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
                    self.assertEqual(fr.getpixel(p), KEY, (style, p))
                # Edges and centre are always drawn with the key transparent:
                # none of the stretched middle may be key-coloured.
                for y in range(h):
                    self.assertNotEqual(fr.getpixel((w // 2, y)), KEY, (style, y))
                for x in range(w // 4, w - w // 4):
                    self.assertNotEqual(fr.getpixel((x, h // 2)), KEY)

    def test_no_key_colour_elsewhere(self):
        for name, _, element, _, _ in generate.skin_resources():
            if name in ("MACOS_BUTTON", "BLUEGLASS_BUTTON"):
                continue
            colours = self.bmp(name).getcolors(1 << 16)
            self.assertNotIn(KEY, [c for _, c in colours], name)

    def test_button_frames_stretch_without_seams(self):
        for style in generate.STYLE_NAMES:
            frames = self.frames(style + "_BUTTON", 3)
            for fr in frames:
                w, h = fr.size
                row = lambda y: [fr.getpixel((x, y)) for x in range(w)]
                self.assertEqual(row(h // 2), row(h // 2 + 1), style)
                # The stretched middle column matches its neighbour.
                col = lambda x: [fr.getpixel((x, y)) for y in range(h)]
                self.assertEqual(col(w // 2), col(w // 2 - 1), style)
            self.assertEqual(len({f.tobytes() for f in frames}), 3, style)

    def test_check_frames_are_four_distinct_states(self):
        for style in generate.STYLE_NAMES:
            for element in ("CHECKBOX", "RADIOBUTTON", "CHECKLIST"):
                frames = self.frames(style + "_" + element, 4)
                self.assertEqual(len({f.tobytes() for f in frames}), 4, (style, element))
                # Disabled frames are paler than enabled ones.
                lum = [ImageStat.Stat(f.convert("L")).mean[0] for f in frames]
                self.assertGreater(lum[2], lum[0], (style, element))

    def test_progress_fill_stretches_evenly(self):
        for style in generate.STYLE_NAMES:
            im = self.bmp(style + "_PROGRESSBAR")
            for y in range(im.height):
                self.assertEqual(len({im.getpixel((x, y)) for x in range(im.width)}), 1, style)

    def test_title_pieces_join(self):
        for style in generate.STYLE_NAMES:
            left, client = self.bmp(style + "_TITLE_LEFT"), self.bmp(style + "_TITLE_CLIENT")
            a = [left.getpixel((left.width - 1, y)) for y in range(6, left.height - 1)]
            b = [client.getpixel((0, y)) for y in range(6, client.height - 1)]
            diff = max(abs(p[i] - q[i]) for p, q in zip(a, b) for i in range(3))
            self.assertLessEqual(diff, 40, style)

    def test_main_pictures(self):
        for name, size in (("MAIN_BACKGROUND.jpg", (556, 393)), ("ABOUT_BANNER.jpg", (360, 50))):
            with Image.open(self.path(name)) as im:
                self.assertEqual((im.format, im.size), ("JPEG", size), name)
        self.assertEqual(self.bmp("ABOUT_ICON").size, (32, 32))

    def test_background_text_areas_are_plain_and_light(self):
        bg = self.jpeg("MAIN_BACKGROUND.jpg", "L")
        for box in ((116, 312, 330, 380), (342, 312, 548, 380), (12, 60, 110, 380), (119, 65, 542, 300)):
            st = ImageStat.Stat(bg.crop(box))
            self.assertGreater(st.mean[0], 205, box)
            self.assertLess(st.stddev[0], 6, box)
        # Band is darker than the panel; the link label sits on the tab.
        band = ImageStat.Stat(bg.crop((250, 5, 450, 30))).mean[0]
        self.assertLess(band, 190)
        tab = ImageStat.Stat(bg.crop((440, 40, 515, 50))).mean[0]
        self.assertLess(abs(tab - band), 30)

    def test_knobs_blend_into_the_band(self):
        bg = self.jpeg("MAIN_BACKGROUND.jpg")
        for name, (x, y) in (("MINIMIZE_NORMAL", (488, 9)), ("MINIMIZE_HOVER", (488, 9)),
                             ("MINIMIZE_DOWN", (488, 9)), ("CLOSE_NORMAL", (517, 9)),
                             ("CLOSE_HOVER", (517, 9))):
            k = self.bmp(name)
            self.assertEqual(k.size, (24, 24))
            for p in ((0, 0), (23, 0), (0, 23), (23, 23)):
                self.assertEqual(k.getpixel(p), bg.getpixel((x + p[0], y + p[1])), (name, p))
        self.assertNotEqual(self.bmp("MINIMIZE_NORMAL").tobytes(), self.bmp("MINIMIZE_HOVER").tobytes())
        self.assertNotEqual(self.bmp("MINIMIZE_NORMAL").tobytes(), self.bmp("MINIMIZE_DOWN").tobytes())
        yellow = [c for _, c in self.bmp("CLOSE_HOVER").getcolors(4096) if c[0] > 200 and c[1] > 170 and c[2] < 80]
        self.assertTrue(yellow)

    def test_icon_file(self):
        with open(self.path("varnhold.ico"), "rb") as f:
            data = f.read()
        reserved, kind, count = struct.unpack("<HHH", data[:6])
        self.assertEqual((reserved, kind, count), (0, 1, 3))
        sizes = []
        for i in range(count):
            w, h, _, _, planes, bits, length, offset = struct.unpack("<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
            sizes.append(w)
            self.assertEqual(bits, 32)
            hdr = struct.unpack("<IiiHH", data[offset:offset + 16])
            self.assertEqual(hdr, (40, w, 2 * w, 1, 32))
            self.assertLessEqual(offset + length, len(data))
        self.assertEqual(sizes, [16, 32, 48])

    def test_every_strip_shows_distinct_states(self):
        for name, _, _, frames, _ in generate.skin_resources():
            if frames > 1:
                cut = self.frames(name, frames)
                self.assertEqual(len({f.tobytes() for f in cut}), frames, name)

    def test_styles_differ_in_colour(self):
        # The five button strips must not be recolourings of one grey.
        hues = {}
        for style in generate.STYLE_NAMES:
            r, g, b = ImageStat.Stat(self.frames(style + "_BUTTON", 3)[2]).mean
            hues[style] = (r - b, g - b)
        self.assertGreater(hues["PROTEIN"][0], 20)
        for style in ("MACOS", "DEEPBLUE", "BLUEGLASS"):
            self.assertLess(hues[style][0], -20, style)

    def test_banner_has_yellow_letters_on_lavender(self):
        im = self.jpeg("ABOUT_BANNER.jpg")
        colours = [c for _, c in im.getcolors(1 << 16)]
        self.assertTrue([c for c in colours if c[0] > 230 and c[1] > 190 and c[2] < 90])
        r, g, b = im.getpixel((350, 3))
        self.assertTrue(b > g and r > g, (r, g, b))

    def test_icon_is_blue_and_fills_its_square(self):
        for n in (16, 32, 48):
            im = generate.icon_image(n)
            alpha = im.split()[3]
            self.assertGreater(ImageStat.Stat(alpha).mean[0], 60, n)
            r, g, b, _ = ImageStat.Stat(im).mean
            self.assertGreater(b, r + 20, n)

    def test_contact_sheet_written(self):
        with Image.open(self.path("contact_sheet.png")) as im:
            self.assertEqual(im.format, "PNG")
            self.assertGreater(im.height, 2 * 393)

    def test_output_is_deterministic(self):
        other = tempfile.mkdtemp(prefix="varnhold-art2-")
        try:
            run_generator(other)
            self.assertEqual(sorted(os.listdir(other)), sorted(os.listdir(self.dir)))
            for name in os.listdir(other):
                with open(os.path.join(other, name), "rb") as a, open(self.path(name), "rb") as b:
                    self.assertEqual(a.read(), b.read(), name)
        finally:
            shutil.rmtree(other, ignore_errors=True)


class NinePartPreview(unittest.TestCase):
    def test_winxp_example_corners(self):
        # An 18 x 21 frame on an 80 x 27 button: the corners stay unscaled.
        src = Image.new("RGB", (18, 21), (10, 20, 30))
        src.putpixel((0, 0), (1, 2, 3))
        src.putpixel((17, 20), (4, 5, 6))
        out = generate.nine_part(src, 80, 27, False, (0, 0, 0))
        self.assertEqual(out.getpixel((0, 0)), (1, 2, 3))
        self.assertEqual(out.getpixel((79, 26)), (4, 5, 6))

    def test_narrow_destination_trims_corners(self):
        # A button narrower than the frame keeps the frame's outer sides.
        src = Image.new("RGB", (74, 21), (9, 9, 9))
        for y in range(21):
            src.putpixel((0, y), (200, 0, 0))
            src.putpixel((73, y), (0, 200, 0))
        out = generate.nine_part(src, 40, 21, False, (0, 0, 0))
        self.assertEqual(out.getpixel((0, 5)), (200, 0, 0))
        self.assertEqual(out.getpixel((39, 5)), (0, 200, 0))


class FrameLayout(unittest.TestCase):
    def test_leftover_columns_sit_before_the_last_frame(self):
        frames = [Image.new("RGB", (3, 2), c) for c in ((1, 1, 1), (2, 2, 2), (3, 3, 3))]
        out = generate.assemble(frames, (11, 2), 3)
        row = [out.getpixel((x, 0))[0] for x in range(11)]
        self.assertEqual(row, [1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3])


if __name__ == "__main__":
    unittest.main()

#!/usr/bin/python3
"""Draws all of Varnhold's artwork: the skin bitmaps of the five built-in
styles, the main window's background and knobs, the About box banner and
the program icon, plus the two resource scripts and a contact sheet.

Usage: /usr/bin/python3 res/art/generate.py OUTPUT_DIR

Only the standard library and PIL are used.  Every run writes the same
bytes: nothing depends on the clock, and the noise comes from fixed seeds.
Change a colour in STYLES (or in the main-window constants) and run again.
"""

import math
import os
import random
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

SS = 4                      # supersampling factor for anti-aliased shapes
KEY = (255, 0, 255)         # clFuchsia: the skins' transparent colour

FONT_DIRS = ("/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/truetype")


# --------------------------------------------------------------------------
# Element table: (element, frame count, sizes per style).  The sizes are
# fixed because the controls cut frames and stretch in nine parts from
# them; None means the style has no such bitmap.
# --------------------------------------------------------------------------

STYLE_NAMES = ("MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS")

ELEMENTS = [
    # element              frames  MacOS     WinXP     DeepBlue  Protein   BlueGlass
    ("BUTTON",              3, [(252, 23), (54, 21), (222, 21), (222, 21), (231, 27)]),
    ("CHECKBOX",            4, [(60, 17), (52, 13), (52, 13), (52, 13), (52, 13)]),
    ("RADIOBUTTON",         4, [(64, 17), (52, 13), (52, 13), (52, 13), (52, 13)]),
    ("PROGRESSBAR",         1, [(13, 10), (6, 10), (1, 10), (1, 10), (1, 10)]),
    ("TITLEBTN",           18, [(306, 17), (378, 21), (342, 19), (342, 19), (342, 19)]),
    ("TITLE_LEFT",          1, [(48, 23), (35, 29), (97, 32), (441, 23), (162, 33)]),
    ("TITLE_CLIENT",        1, [(49, 23), (37, 29), (98, 32), (1, 23), (179, 33)]),
    ("TITLE_RIGHT",         1, [(48, 23), (35, 29), (97, 32), (1, 23), (101, 33)]),
    ("TRACKBAR_BAR",        1, [(45, 5), (45, 8), (45, 4), (45, 4), (45, 4)]),
    ("TRACKBAR_SLIDER",     1, [(11, 20), (11, 21), (11, 20), (11, 20), (11, 20)]),
    ("TRACKBAR_SLIDER_V",   1, [(19, 11), (22, 11), (18, 11), (18, 11), (18, 11)]),
    ("SCROLLBAR_BUTTON",    6, [(96, 22), (96, 17), (96, 16), (96, 16), (102, 16)]),
    ("SCROLLBAR_TRACK",     3, [(33, 16), (21, 16), (21, 16), (21, 16), (21, 16)]),
    ("CHECKLIST",           4, [(40, 11), (44, 11), (44, 11), (44, 11), (44, 11)]),
    ("SCROLLBUTTON",        4, [(72, 18), (72, 18), None, None, None]),
    ("TAB",                 2, [(36, 27), (18, 18), (12, 17), (18, 17), (18, 17)]),
    ("TAB_LINE",            1, [(17, 7), (8, 1), (5, 5), (10, 5), (10, 5)]),
    ("SIDECHENNEL_HANDLE",  1, [(7, 84), (8, 86), (8, 83), (8, 83), (8, 86)]),
    ("SIDECHENNEL_BAR",     1, [(1, 21), (1, 21), (1, 20), (1, 21), (1, 21)]),
]

# Bitmaps outside the per-style table: (resource name, frames, size).
EXTRAS = [
    ("MORE_SCROLLBUTTON", 4, (72, 17)),
    ("MACOS_COMBOBOX_BUTTON", 1, (16, 17)),
    ("WINXP_COMBOBOX_BUTTON", 1, (16, 18)),
    ("MACOS_FORM_BACKGROUND", 1, (8, 8)),
    ("PROTEIN_FORM_BACKGROUND", 1, (8, 8)),
    ("MACOS_MENU_BAR", 1, (1, 22)),
    ("MACOS_MENU_SELECT", 1, (1, 21)),
]


def skin_resources():
    """Every skin bitmap as (resource name, style or None, element, frames, size)."""
    out = []
    for si, style in enumerate(STYLE_NAMES):
        for element, frames, sizes in ELEMENTS:
            if sizes[si] is not None:
                out.append((style + "_" + element, style, element, frames, sizes[si]))
    for name, frames, size in EXTRAS:
        out.append((name, None, name, frames, size))
    return out


# --------------------------------------------------------------------------
# Palettes.  Colours are RGB.  "form" is the dialog colour of the style,
# used wherever an opaque bitmap shows what lies around a control.
# --------------------------------------------------------------------------

STYLES = {
    # Aqua-like: glossy grey-blue, pressed and checked states go aqua blue.
    "MACOS": dict(
        form=(231, 231, 231), key=True, radius=10,
        border=(104, 114, 134), text=(0, 0, 0),
        face=[(0, (252, 253, 255)), (0.48, (222, 227, 236)), (0.52, (204, 212, 226)), (1, (238, 243, 250))],
        face_hot=[(0, (240, 248, 255)), (0.48, (190, 216, 246)), (0.52, (150, 192, 240)), (1, (206, 234, 255))],
        face_down=[(0, (200, 222, 250)), (0.48, (132, 176, 236)), (0.52, (92, 146, 222)), (1, (150, 200, 250))],
        gloss=0.55, accent=(56, 117, 215), dark=(36, 62, 110), check=(16, 28, 56),
        title=[(0, (236, 238, 242)), (0.5, (214, 218, 226)), (1, (188, 194, 206))],
        title_border=(120, 126, 140),
        bar=[(0, (130, 186, 248)), (0.45, (70, 136, 230)), (0.55, (40, 108, 212)), (1, (120, 190, 250))],
        round_check=3, round_titlebtn=True,
    ),
    # Luna: navy-bordered beige buttons with an orange hover ring, blue bars.
    "WINXP": dict(
        form=(239, 235, 222), key=False, radius=3,
        border=(0, 60, 116), text=(0, 0, 0),
        face=[(0, (255, 255, 255)), (0.6, (244, 243, 238)), (0.85, (236, 235, 230)), (1, (214, 208, 197))],
        face_hot=[(0, (255, 255, 255)), (0.6, (246, 245, 240)), (0.85, (238, 237, 232)), (1, (218, 212, 200))],
        face_down=[(0, (209, 204, 193)), (0.2, (226, 225, 218)), (1, (241, 241, 237))],
        ring_hot=((255, 240, 207), (229, 151, 0)),
        gloss=0.0, accent=(49, 105, 198), dark=(0, 60, 116), check=(33, 161, 33),
        title=[(0, (0, 88, 238)), (0.1, (61, 149, 255)), (0.25, (0, 84, 227)), (0.85, (0, 85, 229)), (1, (0, 61, 180))],
        title_border=(0, 38, 130),
        bar=[(0, (173, 236, 173)), (0.5, (40, 200, 40)), (1, (160, 230, 160))],
        round_check=0, round_titlebtn=False,
    ),
    # Deep blue: navy frames, steel-blue faces light enough for black text.
    "DEEPBLUE": dict(
        form=(232, 232, 232), key=False, radius=3,
        border=(16, 30, 84), text=(0, 0, 0),
        face=[(0, (226, 234, 250)), (0.45, (188, 204, 240)), (0.5, (170, 190, 234)), (1, (128, 154, 216))],
        face_hot=[(0, (240, 246, 255)), (0.45, (206, 222, 252)), (0.5, (188, 210, 250)), (1, (148, 180, 240))],
        face_down=[(0, (120, 146, 208)), (0.5, (156, 178, 228)), (1, (196, 212, 244))],
        ring_hot=((140, 200, 255), (90, 150, 240)),
        gloss=0.25, accent=(44, 74, 160), dark=(16, 30, 84), check=(20, 44, 130),
        title=[(0, (70, 96, 178)), (0.45, (36, 60, 140)), (0.5, (22, 42, 112)), (1, (14, 28, 84))],
        title_border=(8, 16, 52),
        bar=[(0, (150, 176, 240)), (0.45, (60, 92, 190)), (0.55, (36, 66, 160)), (1, (90, 126, 214))],
        round_check=0, round_titlebtn=False,
    ),
    # Protein: deep red frames, rose faces with a glossy top.
    "PROTEIN": dict(
        form=(251, 251, 251), key=False, radius=4,
        border=(128, 18, 26), text=(0, 0, 0),
        face=[(0, (255, 242, 240)), (0.45, (246, 204, 200)), (0.5, (236, 180, 176)), (1, (222, 140, 136))],
        face_hot=[(0, (255, 248, 240)), (0.45, (255, 220, 204)), (0.5, (250, 196, 180)), (1, (240, 158, 140))],
        face_down=[(0, (206, 120, 118)), (0.5, (232, 168, 164)), (1, (248, 206, 202))],
        ring_hot=((255, 214, 200), (226, 92, 80)),
        gloss=0.35, accent=(196, 40, 44), dark=(118, 12, 20), check=(176, 20, 30),
        title=[(0, (236, 96, 92)), (0.45, (196, 40, 44)), (0.5, (170, 24, 32)), (1, (120, 10, 18))],
        title_border=(84, 6, 12),
        bar=[(0, (255, 170, 160)), (0.45, (222, 60, 56)), (0.55, (190, 30, 36)), (1, (236, 110, 100))],
        round_check=2, round_titlebtn=False,
    ),
    # Blue glass: translucent-looking periwinkle glass, white sheen on top.
    "BLUEGLASS": dict(
        form=(231, 231, 231), key=True, radius=7,
        border=(58, 86, 168), text=(0, 0, 0),
        face=[(0, (246, 250, 255)), (0.48, (206, 220, 250)), (0.52, (170, 192, 246)), (1, (214, 232, 255))],
        face_hot=[(0, (250, 255, 255)), (0.48, (210, 236, 255)), (0.52, (160, 214, 255)), (1, (210, 246, 255))],
        face_down=[(0, (178, 194, 244)), (0.48, (140, 160, 236)), (0.52, (112, 134, 226)), (1, (170, 196, 250))],
        gloss=0.6, accent=(94, 94, 236), dark=(40, 52, 140), check=(40, 60, 170),
        title=[(0, (196, 210, 252)), (0.48, (140, 158, 240)), (0.52, (104, 120, 226)), (1, (150, 176, 246))],
        title_border=(52, 62, 150),
        bar=[(0, (210, 220, 255)), (0.45, (120, 130, 246)), (0.55, (86, 96, 232)), (1, (160, 186, 255))],
        round_check=3, round_titlebtn=True,
    ),
}


# --------------------------------------------------------------------------
# Drawing helpers
# --------------------------------------------------------------------------

def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def shade(c, f):
    """f > 0 lightens towards white, f < 0 darkens towards black."""
    return mix(c, (255, 255, 255), f) if f >= 0 else mix(c, (0, 0, 0), -f)


def stop_color(stops, t):
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0) if p1 > p0 else 1.0)
    return stops[-1][1]


def vgrad(w, h, stops, y0=0, y1=None):
    """Vertical gradient; the stops span rows y0..y1 (clamped outside)."""
    y1 = h - 1 if y1 is None else y1
    img = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(img)
    span = max(y1 - y0, 1)
    for y in range(h):
        d.line([(0, y), (w - 1, y)], fill=stop_color(stops, min(max((y - y0) / span, 0), 1)))
    return img


def hgrad(w, h, stops):
    img = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(img)
    for x in range(w):
        d.line([(x, 0), (x, h - 1)], fill=stop_color(stops, x / max(w - 1, 1)))
    return img


def _mask(w, h, painter):
    big = Image.new("L", (w * SS, h * SS), 0)
    painter(ImageDraw.Draw(big), SS)
    return big.resize((w, h), Image.BOX)


def rrect_mask(w, h, box, r):
    """Anti-aliased rounded rectangle; box is (left, top, right, bottom) in
    pixel edges, right and bottom exclusive."""
    x0, y0, x1, y1 = box
    return _mask(w, h, lambda d, s: d.rounded_rectangle(
        [x0 * s, y0 * s, x1 * s - 1, y1 * s - 1], max(r * s, 0), fill=255))


def ellipse_mask(w, h, box):
    x0, y0, x1, y1 = box
    return _mask(w, h, lambda d, s: d.ellipse([x0 * s, y0 * s, x1 * s - 1, y1 * s - 1], fill=255))


def poly_mask(w, h, pts):
    return _mask(w, h, lambda d, s: d.polygon([(x * s, y * s) for x, y in pts], fill=255))


def line_mask(w, h, pts, width):
    def paint(d, s):
        d.line([(x * s, y * s) for x, y in pts], fill=255, width=int(width * s), joint="curve")
        r = width * s / 2
        for x, y in (pts[0], pts[-1]):
            d.ellipse([x * s - r, y * s - r, x * s + r, y * s + r], fill=255)
    return _mask(w, h, paint)


def fill(img, paint, mask):
    """Paints a colour or an image through an L mask onto img."""
    if isinstance(paint, tuple):
        paint = Image.new("RGB", img.size, paint)
    img.paste(paint, (0, 0), mask)


def scale_mask(mask, f):
    return mask.point(lambda v: int(v * f))


def mask_and(a, b):
    return ImageChops.multiply(a, b)


def alpha_vgrad(w, h, a0, a1, y0=0, y1=None):
    y1 = h - 1 if y1 is None else y1
    m = Image.new("L", (w, h))
    d = ImageDraw.Draw(m)
    for y in range(h):
        t = min(max((y - y0) / max(y1 - y0, 1), 0), 1)
        d.line([(0, y), (w - 1, y)], fill=int(a0 + (a1 - a0) * t))
    return m


def key_out(img, coverage, threshold=110):
    """Pixels the shape barely covers become the transparent key colour."""
    keyed = Image.new("RGB", img.size, KEY)
    keep = coverage.point(lambda v: 255 if v >= threshold else 0)
    keyed.paste(img, (0, 0), keep)
    return keyed


def assemble(frames, size, count):
    """Lays frames out the way the controls cut them: frame k < N from
    (k-1)*fw, the last one flush right; leftover columns repeat the
    neighbouring frame's last column."""
    w, h = size
    fw = w // count
    out = Image.new("RGB", (w, h))
    for k, f in enumerate(frames):
        x = w - fw if k == count - 1 else k * fw
        out.paste(f, (x, 0))
    gap = w - fw * count
    if gap:
        col = frames[count - 2].crop((fw - 1, 0, fw, h)).resize((gap, h))
        out.paste(col, ((count - 1) * fw, 0))
    return out


def font(size, bold=False):
    name = "DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"
    for d in FONT_DIRS:
        path = os.path.join(d, name)
        if os.path.exists(path):
            return ImageFont.truetype(path, size)
    return None


def noise(w, h, seed, amp):
    """Greyscale noise centred on 128, amplitude +-amp."""
    rnd = random.Random(seed)
    data = bytes(max(0, min(255, 128 + int(rnd.uniform(-amp, amp)))) for _ in range(w * h))
    return Image.frombytes("L", (w, h), data)


def add_grain(img, grain):
    """img + (grain - 128) per channel, clamped."""
    return ImageChops.add(img, Image.merge("RGB", (grain,) * 3), scale=1.0, offset=-128)


# --------------------------------------------------------------------------
# Push buttons and other raised pieces
# --------------------------------------------------------------------------

def raised(st, w, h, state, radius=None, bg=None, keyed=None, box=None, gloss=None):
    """A bevelled, rounded button face in one of three states:
    'normal', 'hot', 'down' or 'disabled'."""
    radius = st["radius"] if radius is None else radius
    bg = st["form"] if bg is None else bg
    keyed = st["key"] if keyed is None else keyed
    gloss = st["gloss"] if gloss is None else gloss
    x0, y0, x1, y1 = box or (0, 0, w, h)
    img = Image.new("RGB", (w, h), bg)
    face = {"normal": st["face"], "hot": st["face_hot"], "down": st["face_down"],
            "disabled": st["face"]}[state]
    border = st["border"]
    if state == "disabled":
        face = [(p, mix(c, (236, 236, 236), 0.7)) for p, c in face]
        border = mix(border, (190, 190, 190), 0.7)
    outer = rrect_mask(w, h, (x0, y0, x1, y1), radius)
    inner = rrect_mask(w, h, (x0 + 1, y0 + 1, x1 - 1, y1 - 1), max(radius - 1, 0))
    fill(img, border, outer)
    ring = st.get("ring_hot")
    if state == "hot" and ring:
        fill(img, vgrad(w, h, [(0, ring[0]), (1, ring[1])], y0 + 1, y1 - 2), inner)
        inner2 = rrect_mask(w, h, (x0 + 3, y0 + 3, x1 - 3, y1 - 3), max(radius - 2, 0))
        fill(img, vgrad(w, h, face, y0 + 1, y1 - 2), inner2)
    else:
        fill(img, vgrad(w, h, face, y0 + 1, y1 - 2), inner)
    if gloss and state != "down":
        # A sheen over the upper half, fading downwards.
        mid = y0 + (y1 - y0) * 0.5
        sheen = rrect_mask(w, h, (x0 + 2, y0 + 1.5, x1 - 2, mid), max(radius - 2, 1))
        fade = alpha_vgrad(w, h, int(255 * gloss), int(70 * gloss), y0 + 1, int(mid))
        fill(img, (255, 255, 255), mask_and(sheen, fade))
    if state == "down":
        # Pressed: a soft shadow along the top inside the border.
        shadow = mask_and(inner, alpha_vgrad(w, h, 90, 0, y0 + 1, y0 + 4))
        fill(img, shade(border, -0.2), shadow)
    elif not gloss:
        # Flat styles get a crisp inner highlight line along the top.
        hl = mask_and(inner, alpha_vgrad(w, h, 180, 0, y0 + 1, y0 + 2))
        fill(img, (255, 255, 255), hl)
    if keyed:
        img = key_out(img, outer)
    return img


def even_middle(img):
    """Makes rows h/2 and h/2 + 1 equal: the nine-part drawing stretches
    the first for the left edge and the centre, the second for the right
    edge, so they must match or a stretched button shows a seam."""
    w, h = img.size
    img.paste(img.crop((0, h // 2, w, h // 2 + 1)), (0, h // 2 + 1))
    return img


def button_frames(st, size):
    w, h = size
    fw = w // 3
    return [even_middle(raised(st, fw, h, s)) for s in ("normal", "hot", "down")]


# --------------------------------------------------------------------------
# Check boxes, radio buttons, check list glyphs
# --------------------------------------------------------------------------

def check_glyph(fw, fh, st, radio, checked, disabled, box_size=None):
    bg = st["form"]
    img = Image.new("RGB", (fw, fh), bg)
    b = box_size or min(fw, fh) - (2 if min(fw, fh) > 13 else 0)
    bx = (fw - b) / 2.0
    by = (fh - b) / 2.0
    bx, by = int(bx), int(by)
    box = (bx, by, bx + b, by + b)
    r = b / 2.0 if radio else st["round_check"]
    border = st["border"]
    if st is STYLES["WINXP"]:
        border = (28, 81, 128)
    face = [(0, (220, 220, 215)), (1, (255, 255, 255))] if st is STYLES["WINXP"] else \
        [(0, (255, 255, 255)), (1, mix(st["form"], st["border"], 0.12))]
    mark = st["check"]
    if checked and st["gloss"] >= 0.5:
        # Glossy styles fill a checked box with their accent colour.
        face = [(0, shade(st["accent"], 0.55)), (0.5, shade(st["accent"], 0.2)),
                (0.55, st["accent"]), (1, shade(st["accent"], 0.45))]
        mark = st["dark"] if st is STYLES["MACOS"] else (255, 255, 255)
    if disabled:
        border = mix(border, (200, 200, 200), 0.75)
        face = [(0, (244, 244, 244)), (1, (236, 236, 236))]
        mark = (168, 168, 168)
    if radio:
        outer = ellipse_mask(fw, fh, box)
        inner = ellipse_mask(fw, fh, (box[0] + 1, box[1] + 1, box[2] - 1, box[3] - 1))
    else:
        outer = rrect_mask(fw, fh, box, r)
        inner = rrect_mask(fw, fh, (box[0] + 1, box[1] + 1, box[2] - 1, box[3] - 1), max(r - 1, 0))
    fill(img, border, outer)
    fill(img, vgrad(fw, fh, face, box[1] + 1, box[3] - 2), inner)
    if st["gloss"] and not disabled:
        sheen = mask_and(inner, alpha_vgrad(fw, fh, int(200 * st["gloss"]), 0, box[1] + 1, box[1] + b // 2))
        fill(img, (255, 255, 255), sheen)
    if checked:
        if radio:
            c = (box[0] + box[2]) / 2.0
            m = (box[1] + box[3]) / 2.0
            rr = max(b * 0.2, 1.6)
            fill(img, mark, ellipse_mask(fw, fh, (c - rr, m - rr, c + rr, m + rr)))
        else:
            p = [(0.24, 0.5), (0.43, 0.72), (0.78, 0.26)]
            pts = [(box[0] + b * x, box[1] + b * y) for x, y in p]
            fill(img, mark, line_mask(fw, fh, pts, max(b * 0.15, 1.6)))
    return img


def check_frames(st, size, radio, box_size=None):
    w, h = size
    fw = w // 4
    states = [(True, False), (False, False), (True, True), (False, True)]
    return [check_glyph(fw, h, st, radio, c, d, box_size) for c, d in states]


# --------------------------------------------------------------------------
# Progress bar fill, track bar, scroll bar, tabs, side channel
# --------------------------------------------------------------------------

def progress_fill(st, size):
    w, h = size
    # Uniform columns: the control stretches this over the done part.
    return vgrad(w, h, st["bar"])


def arrow(img, color, cx, cy, size, direction):
    s = size
    pts = {"up": [(cx - s, cy + s / 2), (cx + s, cy + s / 2), (cx, cy - s / 2)],
           "down": [(cx - s, cy - s / 2), (cx + s, cy - s / 2), (cx, cy + s / 2)],
           "left": [(cx + s / 2, cy - s), (cx + s / 2, cy + s), (cx - s / 2, cy)],
           "right": [(cx - s / 2, cy - s), (cx - s / 2, cy + s), (cx + s / 2, cy)]}[direction]
    fill(img, color, poly_mask(img.width, img.height, pts))


def arrow_button(st, w, h, state, direction, bg=None):
    img = raised(st, w, h, state, radius=min(st["radius"], 3), keyed=False, bg=bg)
    col = st["dark"] if state != "disabled" else (160, 160, 160)
    if st is STYLES["WINXP"]:
        col = (77, 97, 133)
    d = 1 if state == "down" else 0
    arrow(img, col, w / 2.0 + d, h / 2.0 + d, max(min(w, h) / 5.0, 2), direction)
    return img


def scrollbar_buttons(st, size):
    w, h = size
    fw = w // 6
    frames = [arrow_button(st, fw, h, s, d) for d in ("up", "down") for s in ("normal", "hot", "down")]
    return frames


def scrollbar_track(st, size):
    w, h = size
    fw = w // 3
    track = vgrad(fw, h, [(0, mix(st["form"], st["border"], 0.15)), (0.5, shade(st["form"], 0.4)),
                          (1, mix(st["form"], st["border"], 0.15))])
    thumb = raised(st, fw, h, "normal", radius=2, keyed=False, bg=track.getpixel((0, h // 2)))
    thumb_hot = raised(st, fw, h, "hot", radius=2, keyed=False, bg=track.getpixel((0, h // 2)))
    return [track, thumb, thumb_hot]


def trackbar_bar(st, size):
    w, h = size
    img = Image.new("RGB", (w, h), st["form"])
    groove = rrect_mask(w, h, (0, 0, w, h), min(h / 2.0, 2))
    fill(img, st["border"], groove)
    inner = rrect_mask(w, h, (1, 1, w - 1, h - 1) if h > 2 else (0, 0, w, h), min(h / 2.0 - 1, 1))
    fill(img, vgrad(w, h, [(0, mix(st["border"], st["form"], 0.55)), (1, shade(st["form"], 0.6))]), inner)
    return img


def trackbar_slider(st, size, vertical):
    w, h = size
    img = Image.new("RGB", (w, h), st["form"])
    if vertical:
        tip = w - 1
        pts = [(0.5, 0.5), (tip - h / 2.0, 0.5), (tip, h / 2.0), (tip - h / 2.0, h - 0.5), (0.5, h - 0.5)]
        face = hgrad(w, h, [(0, shade(st["face"][0][1], 0)), (0.5, st["face"][1][1]), (1, st["face"][-1][1])])
    else:
        tip = h - 1
        pts = [(0.5, 0.5), (w - 0.5, 0.5), (w - 0.5, tip - w / 2.0), (w / 2.0, tip), (0.5, tip - w / 2.0)]
        face = vgrad(w, h, st["face"])
    outer = poly_mask(w, h, pts)
    fill(img, st["border"], outer)
    inner = outer.filter(ImageFilter.MinFilter(3))
    fill(img, face, inner)
    if st["gloss"]:
        fill(img, (255, 255, 255), scale_mask(mask_and(inner, alpha_vgrad(w, h, 200, 0, 0, h // 2)), st["gloss"]))
    # Three grip lines across the middle.
    d = ImageDraw.Draw(img)
    g = shade(st["border"], 0.25)
    if vertical:
        for i in (-2, 0, 2):
            d.line([(w // 2 - 3 + i, 3), (w // 2 - 3 + i, h - 4)], fill=g)
    else:
        for i in (-2, 0, 2):
            d.line([(3, h // 2 - 3 + i), (w - 4, h // 2 - 3 + i)], fill=g)
    return img


def tab_frames(st, size):
    w, h = size
    fw = w // 2
    out = []
    for active in (True, False):
        img = Image.new("RGB", (fw, h), st["form"])
        top = 0 if active else 2
        r = min(st["radius"], fw // 2 - 1, 4)
        outer = rrect_mask(fw, h + r + 1, (0, top, fw, h + r + 1), r).crop((0, 0, fw, h))
        inner = rrect_mask(fw, h + r + 1, (1, top + 1, fw - 1, h + r + 1), max(r - 1, 0)).crop((0, 0, fw, h))
        fill(img, st["border"], outer)
        if active:
            face = [(0, shade(st["form"], 0.9)), (1, st["form"])]
        else:
            face = [(0, mix(st["form"], st["accent"], 0.18)), (1, mix(st["form"], st["accent"], 0.3))]
        fill(img, vgrad(fw, h, face, top + 1, h - 1), inner)
        if active and h > 6:
            # The active tab carries a coloured lip along its top.
            lip = mask_and(inner, alpha_vgrad(fw, h, 255, 0, top + 1, top + 3))
            fill(img, st["accent"] if st is not STYLES["WINXP"] else (255, 200, 60), lip)
        if not active:
            ImageDraw.Draw(img).line([(0, h - 1), (fw - 1, h - 1)], fill=st["border"])
        out.append(img)
    return out


def tab_line(st, size):
    w, h = size
    if h == 1:
        return Image.new("RGB", (w, h), st["border"])
    img = vgrad(w, h, [(0, st["border"]), (0.2, shade(st["accent"], 0.2)), (1, shade(st["form"], 0.3))])
    return img


def side_handle(st, size):
    w, h = size
    img = Image.new("RGB", (w, h), st["form"])
    outer = rrect_mask(w + 4, h, (0, 0, w + 4, h), 3).crop((4, 0, w + 4, h))
    inner = rrect_mask(w + 4, h, (1, 1, w + 3, h - 1), 2).crop((4, 0, w + 4, h))
    fill(img, st["border"], outer)
    title = st["title"]
    fill(img, hgrad(w, h, [(0, title[0][1]), (1, title[-1][1])]), inner)
    light = shade(title[0][1], 0.7)
    dark = shade(st["border"], -0.1)
    if sum(title[len(title) // 2][1]) < 380:
        light, dark = shade(title[0][1], 0.8), st["border"]
    # A small arrow near the top and grip dots in the middle.
    arrow(img, light, w / 2.0, 9, 2.2, "right")
    d = ImageDraw.Draw(img)
    for y in range(h // 2 - 12, h // 2 + 13, 4):
        d.point((w // 2 - 1, y), fill=dark)
        d.point((w // 2, y + 1), fill=light)
    return img


def side_bar(st, size):
    w, h = size
    img = vgrad(w, h, st["title"])
    ImageDraw.Draw(img).line([(0, h - 1), (w - 1, h - 1)], fill=st["title_border"])
    return img


# --------------------------------------------------------------------------
# Title bars and their buttons
# --------------------------------------------------------------------------

def title_band(st, w, h):
    img = vgrad(w, h, st["title"])
    d = ImageDraw.Draw(img)
    d.line([(0, 0), (w - 1, 0)], fill=shade(st["title"][0][1], 0.5))
    d.line([(0, h - 1), (w - 1, h - 1)], fill=st["title_border"])
    return img


def title_pieces(style, st, sizes):
    (lw, h), (cw, _), (rw, _) = sizes
    band = title_band(st, lw + cw + rw, h)
    W = band.width
    d = ImageDraw.Draw(band)
    # Rounded top corners cut against the border colour so the frame reads
    # as one piece however the window is sized.
    corner = rrect_mask(W, h + 8, (0, 0, W, h + 8), 5).crop((0, 0, W, h))
    back = Image.new("RGB", (W, h), st["title_border"])
    back.paste(band, (0, 0), corner)
    band = back
    d = ImageDraw.Draw(band)
    d.line([(0, 5), (0, h - 1)], fill=st["title_border"])
    d.line([(W - 1, 5), (W - 1, h - 1)], fill=st["title_border"])
    if style == "PROTEIN":
        # A glossy red swoosh along the long left piece, fading out before
        # its end so it joins the one-pixel client strip seamlessly.
        sw = Image.new("RGB", (W, h), (255, 255, 255))
        m = ellipse_mask(W, h, (-60, -h * 0.9, lw - 40, h * 0.55))
        m = mask_and(m, scale_mask(alpha_vgrad(W, h, 255, 0, 0, h // 2), 0.45))
        fade = hgrad(W, h, [(0, (255, 255, 255)), (min((lw - 60) / W, 1), (255, 255, 255)),
                            (min((lw - 2) / W, 1), (0, 0, 0)), (1, (0, 0, 0))]).convert("L")
        band.paste(sw, (0, 0), mask_and(m, fade))
        # A glossy capsule where the caption starts.
        cap = rrect_mask(W, h, (6, 3, 150, h - 4), (h - 7) / 2.0)
        fill(band, shade(st["title"][-1][1], -0.15), cap)
        fill(band, vgrad(W, h, st["title"], 4, h - 5),
             rrect_mask(W, h, (7, 4, 149, h - 5), (h - 9) / 2.0))
        fill(band, (255, 255, 255), mask_and(rrect_mask(W, h, (10, 4.5, 146, h / 2.0), 4),
                                            alpha_vgrad(W, h, 150, 30, 4, h // 2)))
    elif style in ("DEEPBLUE", "BLUEGLASS"):
        # Decorative panels on the end pieces only (the client tiles).
        for x0, x1 in ((6, lw - 14), (lw + cw + 14, W - 6)):
            m = rrect_mask(W, h, (x0, 3, x1, h - 4), 6)
            m = mask_and(m, alpha_vgrad(W, h, 60, 0, 3, h - 4))
            band.paste(Image.new("RGB", (W, h), (255, 255, 255)), (0, 0), m)
    elif style == "MACOS":
        # Brushed pinstripes across the whole bar, continuous at the joins.
        for y in range(2, h - 1, 2):
            d.line([(1, y), (W - 2, y)], fill=shade(stop_color(st["title"], y / (h - 1)), 0.25))
    left = band.crop((0, 0, lw, h))
    if style == "PROTEIN":
        client = band.crop((lw - 1, 0, lw, h))
    else:
        client = band.crop((lw, 0, lw + cw, h))
    right = band.crop((W - rw, 0, W, h))
    if style == "PROTEIN":
        # One-pixel right end: the frame's closing edge.
        right = band.crop((W - 1, 0, W, h))
    return left, client, right


TITLE_GLYPHS = ("close", "maximize", "minimize", "restore", "help", "rollup")


def title_glyph(img, kind, color, cx, cy, s, width):
    w, h = img.size
    if kind == "close":
        fill(img, color, line_mask(w, h, [(cx - s, cy - s), (cx + s, cy + s)], width))
        fill(img, color, line_mask(w, h, [(cx - s, cy + s), (cx + s, cy - s)], width))
    elif kind == "maximize":
        d = ImageDraw.Draw(img)
        x0, y0, x1, y1 = int(cx - s), int(cy - s), int(cx + s), int(cy + s)
        d.rectangle([x0, y0, x1, y1], outline=color)
        d.line([(x0, y0 + 1), (x1, y0 + 1)], fill=color)
    elif kind == "minimize":
        ImageDraw.Draw(img).rectangle([int(cx - s), int(cy + s - 1), int(cx + s), int(cy + s)], fill=color)
    elif kind == "restore":
        d = ImageDraw.Draw(img)
        a = int(s * 0.6)
        d.rectangle([int(cx - s) + a, int(cy - s), int(cx + s), int(cy + s) - a], outline=color)
        d.rectangle([int(cx - s), int(cy - s) + a, int(cx + s) - a, int(cy + s)], outline=color, fill=None)
        d.line([(int(cx - s), int(cy - s) + a + 1), (int(cx + s) - a, int(cy - s) + a + 1)], fill=color)
    elif kind == "help":
        f = font(max(int(s * 2.4), 8), bold=True)
        d = ImageDraw.Draw(img)
        if f:
            d.text((cx, cy + 0.5), "?", fill=color, font=f, anchor="mm")
        else:
            d.text((cx - 3, cy - 5), "?", fill=color)
    elif kind == "rollup":
        arrow(img, color, cx, cy, s, "up")


def title_buttons(style, st, size):
    w, h = size
    fs = w // 18
    bg_band = title_band(st, fs, h + 6).crop((0, 3, fs, h + 3))
    frames = []
    for kind in TITLE_GLYPHS:
        for state in ("normal", "hot", "down"):
            img = bg_band.copy()
            if st["round_titlebtn"]:
                face = {"normal": st["face"], "hot": st["face_hot"], "down": st["face_down"]}[state]
                if kind == "close" and state != "normal":
                    face = [(0, (255, 220, 210)), (0.5, (236, 110, 96)), (1, (250, 170, 150))]
                outer = ellipse_mask(fs, h, (0.5, 0.5, fs - 0.5, h - 0.5))
                inner = ellipse_mask(fs, h, (1.5, 1.5, fs - 1.5, h - 1.5))
                fill(img, st["border"], outer)
                fill(img, vgrad(fs, h, face), inner)
                sheen = mask_and(ellipse_mask(fs, h, (3, 1.5, fs - 3, h * 0.55)), alpha_vgrad(fs, h, 220, 40, 1, h // 2))
                fill(img, (255, 255, 255), sheen)
                col = st["dark"]
            else:
                base = st["accent"] if style != "WINXP" else (64, 128, 240)
                if kind == "close" and style == "WINXP":
                    base = (224, 86, 48)
                if style == "PROTEIN":
                    base = (200, 52, 50)
                top = {"normal": shade(base, 0.45), "hot": shade(base, 0.65), "down": shade(base, -0.2)}[state]
                bot = {"normal": base, "hot": shade(base, 0.25), "down": shade(base, 0.1)}[state]
                outer = rrect_mask(fs, h, (0, 0, fs, h), 3)
                inner = rrect_mask(fs, h, (1, 1, fs - 1, h - 1), 2)
                fill(img, (255, 255, 255) if style == "WINXP" else st["title_border"], outer)
                fill(img, vgrad(fs, h, [(0, top), (1, bot)]), inner)
                col = (255, 255, 255)
            d = 1 if state == "down" else 0
            title_glyph(img, kind, col, fs / 2.0 - 0.5 + d, h / 2.0 - 0.5 + d, max(fs * 0.2, 2.5), max(fs / 9.0, 1.5))
            frames.append(img)
    return frames


# --------------------------------------------------------------------------
# Extra pieces: scroll buttons for tab rows, combo box buttons, form tiles,
# the MacOS menu bar.
# --------------------------------------------------------------------------

def scroll_buttons(st, size):
    """Four frames: left, left pressed, right, right pressed."""
    w, h = size
    fw = w // 4
    return [arrow_button(st, fw, h, s, d) for d in ("left", "right") for s in ("normal", "down")]


def combo_button(style, st, size):
    w, h = size
    if style == "WINXP":
        blue = dict(st, face=[(0, (198, 214, 252)), (1, (150, 178, 248))],
                    border=(160, 180, 230), gloss=0.0)
        img = raised(blue, w, h, "normal", radius=2, keyed=False, bg=(255, 255, 255))
        col = (77, 97, 133)
    else:
        aqua = dict(st, face=st["face_down"], gloss=0.6)
        img = raised(aqua, w, h, "normal", radius=3, keyed=False, bg=(255, 255, 255))
        col = (255, 255, 255)
    arrow(img, col, w / 2.0, h / 2.0 + 0.5, 3.2, "down")
    return img


def form_tile(style, size):
    w, h = size
    if style == "MACOS":
        # Aqua pinstripes: alternating light rows.
        img = Image.new("RGB", (w, h))
        d = ImageDraw.Draw(img)
        for y in range(h):
            d.line([(0, y), (w - 1, y)], fill=(236, 236, 236) if y % 2 == 0 else (226, 226, 228))
        return img
    # Protein: a faint rose weave.
    img = Image.new("RGB", (w, h), (251, 249, 249))
    d = ImageDraw.Draw(img)
    for i in range(w):
        d.point((i, i), fill=(244, 232, 232))
        d.point(((i + 4) % w, i), fill=(247, 238, 238))
    return img


def macos_menu_bar(size):
    w, h = size
    img = vgrad(w, h, [(0, (252, 252, 252)), (0.5, (238, 238, 240)), (1, (214, 216, 222))])
    ImageDraw.Draw(img).point((0, h - 1), fill=(150, 154, 164))
    return img


def macos_menu_select(size):
    w, h = size
    return vgrad(w, h, [(0, (110, 166, 240)), (0.5, (56, 117, 215)), (1, (36, 92, 196))])


# --------------------------------------------------------------------------
# Skin bitmap dispatch
# --------------------------------------------------------------------------

def draw_skin(style, element, frames, size):
    w, h = size
    st = STYLES.get(style)
    if style is None:
        if element == "MORE_SCROLLBUTTON":
            return assemble(scroll_buttons(STYLES["DEEPBLUE"], size), size, 4)
        if element.endswith("_COMBOBOX_BUTTON"):
            s = element.split("_")[0]
            return combo_button(s, STYLES[s], size)
        if element.endswith("_FORM_BACKGROUND"):
            return form_tile(element.split("_")[0], size)
        if element == "MACOS_MENU_BAR":
            return macos_menu_bar(size)
        if element == "MACOS_MENU_SELECT":
            return macos_menu_select(size)
        raise KeyError(element)
    if element == "BUTTON":
        return assemble(button_frames(st, size), size, 3)
    if element == "CHECKBOX":
        return assemble(check_frames(st, size, False, 13), size, 4)
    if element == "RADIOBUTTON":
        return assemble(check_frames(st, size, True, 13), size, 4)
    if element == "CHECKLIST":
        return assemble(check_frames(st, size, False, min(w // 4, h)), size, 4)
    if element == "PROGRESSBAR":
        return progress_fill(st, size)
    if element == "TITLEBTN":
        return assemble(title_buttons(style, st, size), size, 18)
    if element.startswith("TITLE_"):
        si = STYLE_NAMES.index(style)
        by_name = dict((e, sz[si]) for e, _, sz in ELEMENTS)
        sizes = [by_name[n] for n in ("TITLE_LEFT", "TITLE_CLIENT", "TITLE_RIGHT")]
        left, client, right = title_pieces(style, st, sizes)
        return {"TITLE_LEFT": left, "TITLE_CLIENT": client, "TITLE_RIGHT": right}[element]
    if element == "TRACKBAR_BAR":
        return trackbar_bar(st, size)
    if element == "TRACKBAR_SLIDER":
        return trackbar_slider(st, size, False)
    if element == "TRACKBAR_SLIDER_V":
        return trackbar_slider(st, size, True)
    if element == "SCROLLBAR_BUTTON":
        return assemble(scrollbar_buttons(st, size), size, 6)
    if element == "SCROLLBAR_TRACK":
        return assemble(scrollbar_track(st, size), size, 3)
    if element == "SCROLLBUTTON":
        return assemble(scroll_buttons(st, size), size, 4)
    if element == "TAB":
        return assemble(tab_frames(st, size), size, 2)
    if element == "TAB_LINE":
        return tab_line(st, size)
    if element == "SIDECHENNEL_HANDLE":
        return side_handle(st, size)
    if element == "SIDECHENNEL_BAR":
        return side_bar(st, size)
    raise KeyError(element)


# --------------------------------------------------------------------------
# Main window: background, knobs
# --------------------------------------------------------------------------

MAIN_SIZE = (556, 393)
BAND_H = 35
TAB_BOX = (422, 35, 532, 56)          # the half-oval under the link label (436..517, 38..51)
KNOBS = {"MINIMIZE": (488, 9), "CLOSE": (517, 9)}
KNOB_SIZE = 24

PANEL = (222, 223, 224)               # brushed-metal panel, light grey
BAND_TOP, BAND_BOTTOM = (186, 197, 214), (142, 157, 182)
TAB_BOTTOM = (154, 168, 192)          # the tab lightens a little: text sits on it
RIM = (88, 100, 124)


def tab_mask(w, h, inset=0.0):
    """The hanging tab: the lower half of a superellipse, fuller than an
    ellipse so the link label's text stays inside it."""
    x0, y0, x1, y1 = TAB_BOX
    cx, rx, ry, n = (x0 + x1) / 2.0, (x1 - x0) / 2.0 - inset, (y1 - y0) - inset, 2.6
    pts = [(cx - rx, y0 - 4)]
    for i in range(0, 181):
        a = 3.14159265 * i / 180.0
        c, s = math.cos(a), math.sin(a)
        x = cx - rx * (abs(c) ** (2.0 / n)) * (1 if c >= 0 else -1)
        pts.append((x, y0 + ry * (abs(s) ** (2.0 / n))))
    pts.append((cx + rx, y0 - 4))
    return poly_mask(w, h, pts)


def brushed(w, h, base, seed, amp):
    """Brushed metal: noise stretched along x into fine streaks."""
    streaks = noise(max(w // 48, 2), h, seed, amp).resize((w, h), Image.BICUBIC)
    fine = noise(max(w // 6, 2), h, seed + 1, amp * 0.6).resize((w, h), Image.BILINEAR)
    grain = ImageChops.add(streaks, fine, scale=2.0)
    img = Image.new("RGB", (w, h), base)
    return add_grain(img, grain)


def bevel(d, box, light, dark, width=1):
    x0, y0, x1, y1 = box
    for i in range(width):
        d.line([(x0 + i, y1 - i), (x0 + i, y0 + i), (x1 - i, y0 + i)], fill=light)
        d.line([(x0 + i + 1, y1 - i), (x1 - i, y1 - i), (x1 - i, y0 + i + 1)], fill=dark)


def main_background():
    w, h = MAIN_SIZE
    img = brushed(w, h, PANEL, 7, 5)
    d = ImageDraw.Draw(img)

    # Outer bevel of the panel (the band is laid over its top later).
    bevel(d, (1, 1, w - 2, h - 2), (248, 248, 248), (138, 140, 146), 2)

    # Left command column: a slightly raised, lighter strip.
    col = (6, 58, 112, 386)
    img.paste(brushed(col[2] - col[0], col[3] - col[1], (230, 231, 232), 21, 3), (col[0], col[1]))
    bevel(d, col, (250, 250, 250), (168, 170, 174))

    # Sunken well around the hive table.
    well = (116, 62, 545, 304)
    bevel(d, well, (160, 162, 168), (252, 252, 252))
    bevel(d, (well[0] + 1, well[1] + 1, well[2] - 1, well[3] - 1), (190, 192, 196), (236, 236, 236))

    # Figures area: a plain, slightly lighter plate split by a fine groove.
    plate = (114, 307, 551, 387)
    img.paste(brushed(plate[2] - plate[0], plate[3] - plate[1], (229, 230, 231), 31, 3), (plate[0], plate[1]))
    bevel(d, plate, (168, 170, 174), (250, 250, 250))
    d.line([(336, 311), (336, 383)], fill=(190, 192, 196))
    d.line([(337, 311), (337, 383)], fill=(248, 248, 248))

    # Title band and the half-oval tab hanging from its right end.
    bh = TAB_BOX[3] + 2
    band = vgrad(w, bh, [(0, BAND_TOP), (BAND_H / float(bh - 1), BAND_BOTTOM), (1, TAB_BOTTOM)])
    tex = noise(max(w // 24, 2), bh, 11, 10).resize((w, bh), Image.BICUBIC)
    tex = ImageChops.add(tex, noise(w, bh, 12, 7), scale=2.0)
    band = add_grain(band, tex)
    strip_m = Image.new("L", (w, h), 0)
    ImageDraw.Draw(strip_m).rectangle([0, 0, w - 1, BAND_H - 1], fill=255)
    oval = tab_mask(w, h)
    shape = ImageChops.lighter(strip_m, oval)
    # Soft shadow cast on the panel.
    shadow = shape.transform((w, h), Image.AFFINE, (1, 0, 0, 0, 1, -2)).filter(ImageFilter.GaussianBlur(2))
    fill(img, (110, 114, 124), scale_mask(shadow, 0.55))
    full_band = Image.new("RGB", (w, h))
    full_band.paste(band, (0, 0))
    img.paste(full_band, (0, 0), shape)
    # Dark lower rim along the band and round the tab.
    below = Image.new("L", (w, h), 0)
    ImageDraw.Draw(below).rectangle([0, BAND_H - 1, w - 1, h - 1], fill=255)
    inner_oval = tab_mask(w, h, 1.0)
    fill(img, RIM, mask_and(ImageChops.subtract(shape, inner_oval), below))
    # Sheen across the upper band and a faint light rim inside the tab.
    fill(img, (255, 255, 255), mask_and(alpha_vgrad(w, h, 80, 0, 1, 17), shape))
    glow = ImageChops.subtract(inner_oval, tab_mask(w, h, 3.0))
    fill(img, (214, 222, 236), scale_mask(mask_and(glow, below), 0.6))
    # Engraved groove under the title text.
    d.line([(14, 30), (230, 30)], fill=shade(BAND_BOTTOM, -0.1))
    d.line([(14, 31), (230, 31)], fill=shade(BAND_BOTTOM, 0.3))

    # Outline and the band's own bevel.
    d.line([(1, 1), (w - 2, 1)], fill=shade(BAND_TOP, 0.5))
    d.line([(1, 1), (1, BAND_H - 2)], fill=shade(BAND_TOP, 0.3))
    d.line([(w - 2, 1), (w - 2, BAND_H - 2)], fill=shade(BAND_BOTTOM, -0.25))
    d.rectangle([0, 0, w - 1, h - 1], outline=(62, 70, 84))
    return img


def knob(bg, glyph, state, cross_color=(0, 0, 0)):
    """A round light-grey knob with a bar or a cross, drawn over the piece of
    background it will sit on so its corners blend in."""
    n = KNOB_SIZE
    img = bg.copy()
    body = {"normal": [(0, (250, 250, 250)), (0.5, (222, 222, 224)), (1, (176, 178, 184))],
            "hover": [(0, (255, 255, 255)), (0.5, (240, 242, 246)), (1, (204, 210, 222))],
            "down": [(0, (170, 172, 178)), (0.5, (196, 198, 202)), (1, (222, 224, 228))]}[state]
    shadow = ellipse_mask(n, n, (1.5, 2.5, n - 0.5, n + 0.5))
    fill(img, (60, 66, 80), scale_mask(shadow, 0.45))
    rim = ellipse_mask(n, n, (1, 1, n - 1, n - 1))
    fill(img, (72, 78, 92), rim)
    inner = ellipse_mask(n, n, (2, 2, n - 2, n - 2))
    fill(img, vgrad(n, n, body, 2, n - 3), inner)
    if state != "down":
        hl = mask_and(ellipse_mask(n, n, (5, 3, n - 5, 12)), alpha_vgrad(n, n, 200, 0, 3, 12))
        fill(img, (255, 255, 255), hl)
    if state == "hover":
        glow = ImageChops.subtract(inner, ellipse_mask(n, n, (3, 3, n - 3, n - 3)))
        fill(img, (120, 170, 240), scale_mask(glow, 0.7))
    off = 1 if state == "down" else 0
    c = n / 2.0 + off
    if glyph == "bar":
        fill(img, (0, 0, 0), rrect_mask(n, n, (c - 5.5, c - 1.5, c + 5.5, c + 1.5), 1))
    else:
        s = 4.2
        pts1 = [(c - s, c - s), (c + s, c + s)]
        pts2 = [(c - s, c + s), (c + s, c - s)]
        if cross_color != (0, 0, 0):
            # Yellow needs a dark outline to stand out on the light knob.
            fill(img, (60, 50, 0), line_mask(n, n, pts1, 4.6))
            fill(img, (60, 50, 0), line_mask(n, n, pts2, 4.6))
            fill(img, cross_color, line_mask(n, n, pts1, 2.6))
            fill(img, cross_color, line_mask(n, n, pts2, 2.6))
        else:
            fill(img, cross_color, line_mask(n, n, pts1, 2.6))
            fill(img, cross_color, line_mask(n, n, pts2, 2.6))
    return img


def main_knobs(background):
    out = {}
    for name, (x, y) in KNOBS.items():
        bg = background.crop((x, y, x + KNOB_SIZE, y + KNOB_SIZE))
        if name == "MINIMIZE":
            out["MINIMIZE_NORMAL"] = knob(bg, "bar", "normal")
            out["MINIMIZE_HOVER"] = knob(bg, "bar", "hover")
            out["MINIMIZE_DOWN"] = knob(bg, "bar", "down")
        else:
            out["CLOSE_NORMAL"] = knob(bg, "cross", "normal")
            out["CLOSE_HOVER"] = knob(bg, "cross", "normal", cross_color=(255, 214, 0))
    return out


# --------------------------------------------------------------------------
# About box banner, icon
# --------------------------------------------------------------------------

def about_banner():
    w, h = 360, 50
    img = vgrad(w, h, [(0, (214, 204, 242)), (0.5, (188, 176, 232)), (1, (160, 146, 214))])
    # Diagonal light sweeps for depth.
    sweep = Image.new("L", (w, h), 0)
    sd = ImageDraw.Draw(sweep)
    for x0, width, a in ((200, 70, 40), (255, 22, 30), (290, 10, 24)):
        sd.polygon([(x0, 0), (x0 + width, 0), (x0 + width - 40, h), (x0 - 40, h)], fill=a)
    fill(img, (255, 255, 255), sweep.filter(ImageFilter.GaussianBlur(3)))
    d = ImageDraw.Draw(img)
    d.line([(0, 0), (w - 1, 0)], fill=(232, 226, 250))
    d.line([(0, h - 1), (w - 1, h - 1)], fill=(112, 96, 170))
    # The maker's mark: a small cube at the left.
    ic = icon_image(40)
    img.paste(ic.convert("RGB"), (12, 5), ic.split()[3])
    text = "Tolvane Software"
    f = font(27, bold=True)
    if f is None:
        small = Image.new("RGB", (120, 16), (0, 0, 0))
        ImageDraw.Draw(small).text((0, 2), text, fill=(255, 255, 255))
        big = small.resize((300, 40), Image.NEAREST).convert("L")
        img.paste((255, 214, 0), (60, 5), big)
        return img
    tx, ty = 62, h // 2
    # Drop shadow, then the outlined yellow letters.
    sh = Image.new("L", (w, h), 0)
    ImageDraw.Draw(sh).text((tx + 2, ty + 2), text, font=f, fill=160, anchor="lm",
                            stroke_width=2, stroke_fill=160)
    fill(img, (60, 40, 100), sh.filter(ImageFilter.GaussianBlur(1.5)))
    d.text((tx, ty), text, font=f, fill=(255, 218, 20), anchor="lm",
           stroke_width=2, stroke_fill=(58, 36, 96))
    # A brighter upper half on the letters.
    lit = Image.new("L", (w, h), 0)
    ImageDraw.Draw(lit).text((tx, ty), text, font=f, fill=255, anchor="lm")
    lit = mask_and(lit, alpha_vgrad(w, h, 150, 0, ty - 12, ty))
    fill(img, (255, 250, 200), lit)
    return img


def icon_image(n):
    """The program icon at n x n, RGBA: a blue isometric cube built of
    registry blocks, with arrows pressing in from both sides."""
    big = 256
    s = big / 32.0
    img = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    cx, top, e = 16 * s, 5 * s, 9.5 * s   # centre, top vertex, edge length
    hx, hy = e * 0.866, e * 0.5
    T = (cx, top)
    L = (cx - hx, top + hy)
    R = (cx + hx, top + hy)
    C = (cx, top + 2 * hy)
    Lb = (L[0], L[1] + e)
    Rb = (R[0], R[1] + e)
    Cb = (C[0], C[1] + e)
    outline = (10, 34, 96, 255)
    d.polygon([T, R, C, L], fill=(132, 190, 255, 255))
    d.polygon([L, C, Cb, Lb], fill=(40, 104, 214, 255))
    d.polygon([C, R, Rb, Cb], fill=(22, 68, 170, 255))
    if n >= 32:
        # Block seams: each face split in four.
        lw = int(0.6 * s)
        def mid(a, b):
            return ((a[0] + b[0]) / 2, (a[1] + b[1]) / 2)
        seam = (12, 44, 120, 255)
        d.line([mid(T, L), mid(R, C)], fill=(70, 130, 220, 255), width=lw)
        d.line([mid(T, R), mid(L, C)], fill=(70, 130, 220, 255), width=lw)
        d.line([mid(L, C), mid(Lb, Cb)], fill=seam, width=lw)
        d.line([mid(L, Lb), mid(C, Cb)], fill=seam, width=lw)
        d.line([mid(C, R), mid(Cb, Rb)], fill=seam, width=lw)
        d.line([mid(C, Cb), mid(R, Rb)], fill=seam, width=lw)
    d.line([T, R, Rb, Cb, Lb, L, T], fill=outline, width=int(1.1 * s), joint="curve")
    d.line([L, C, R], fill=(200, 230, 255, 255), width=int(0.5 * s))
    d.line([C, Cb], fill=(200, 230, 255, 255), width=int(0.5 * s))
    # Two arrows pointing at the cube: compaction.
    ay = top + hy + e * 0.55
    for sign in (-1, 1):
        tip = cx + sign * (hx + 0.6 * s)
        base = cx + sign * (hx + 6.2 * s)
        head = 3.0 * s
        shaft = 1.1 * s
        pts = [(tip, ay), (tip + sign * head, ay - head), (tip + sign * head, ay - shaft),
               (base, ay - shaft), (base, ay + shaft), (tip + sign * head, ay + shaft),
               (tip + sign * head, ay + head)]
        d.polygon(pts, fill=(255, 255, 255, 255), outline=outline)
        d.line(pts + [pts[0]], fill=outline, width=int(0.55 * s))
    return img.resize((n, n), Image.LANCZOS)


def write_ico(path, sizes):
    """An .ico with 32-bit DIB images (alpha plus AND mask), which every
    Windows version the program runs on reads."""
    blobs = []
    for n in sizes:
        im = icon_image(n)
        px = im.load()
        rows = []
        mask_rows = []
        mask_stride = ((n + 31) // 32) * 4
        for y in range(n - 1, -1, -1):
            row = bytearray()
            bits = bytearray(mask_stride)
            for x in range(n):
                r, g, b, a = px[x, y]
                row += bytes((b, g, r, a))
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            rows.append(bytes(row))
            mask_rows.append(bytes(bits))
        pixels = b"".join(rows)
        mask = b"".join(mask_rows)
        header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
        blobs.append((n, header + pixels + mask))
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for n, blob in blobs:
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for _, blob in blobs:
        out += blob
    with open(path, "wb") as f:
        f.write(out)


# --------------------------------------------------------------------------
# Nine-part stretching, as the push button does it, for the preview
# --------------------------------------------------------------------------

def nine_part(src, dw, dh, transparent, bg):
    sw, sh = src.size
    hw, hh, dw2, dh2 = sw // 2, sh // 2, dw // 2, dh // 2
    out = Image.new("RGB", (dw, dh), bg)

    def put(piece, box, keyed):
        x0, y0, x1, y1 = box
        if x1 <= x0 or y1 <= y0 or piece.width <= 0 or piece.height <= 0:
            return
        piece = piece.resize((x1 - x0, y1 - y0), Image.NEAREST)
        if keyed:
            m = Image.eval(ImageChops.difference(piece, Image.new("RGB", piece.size, KEY)).convert("L"),
                           lambda v: 255 if v else 0)
            out.paste(piece, (x0, y0), m)
        else:
            out.paste(piece, (x0, y0))

    def corner(sx0, sy0, sx1, sy1, ax, ay, keep_right, keep_bottom):
        cw = max(min(sx1 - sx0, ax), 0)
        ch = max(min(sy1 - sy0, ay), 0)
        px0 = sx1 - cw if keep_right else sx0
        py0 = sy1 - ch if keep_bottom else sy0
        dx = dw - cw if keep_right else 0
        dy = dh - ch if keep_bottom else 0
        if cw and ch:
            put(src.crop((px0, py0, px0 + cw, py0 + ch)), (dx, dy, dx + cw, dy + ch), transparent)
        return (dx, dy, dx + cw, dy + ch)

    TL = corner(0, 0, hw, hh, dw2, dh2, False, False)
    BL = corner(0, sh - hh + 1, hw, sh, dw2, dh - (dh - dh2 + 1), False, True)
    TR = corner(sw - hw + 1, 0, sw, hh, dw - (dw - dw2 + 1), dh2, True, False)
    BR = corner(sw - hw + 1, sh - hh + 1, sw, sh, dw - (dw - dw2 + 1), dh - (dh - dh2 + 1), True, True)
    # Left edge: trimmed in width keeping the left side.
    w = min(hw, TL[2])
    put(src.crop((0, hh, w, sh - hh)), (0, TL[3], TL[2], BL[1]), True)
    w = min(hw - 1, TR[2] - TR[0])
    put(src.crop((sw - w, sh - hh, sw, hh + 2)), (TR[0], TR[3], TR[2], BR[1]), True)
    hgt = min(hh, TL[3])
    put(src.crop((hw, 0, sw - hw + 1, hgt)), (TL[2], 0, TR[0], TL[3]), True)
    put(src.crop((hw, hh, sw - hw + 1, sh - hh)), (TL[2], TL[3], TR[0], BR[1] - 1), True)
    hgt = min(hh, BR[3] - (BL[1] - 1))
    put(src.crop((hw, sh - hgt, sw - hw + 1, sh)), (TL[2] - 1, BL[1] - 1, BR[0], BR[3]), True)
    return out


# --------------------------------------------------------------------------
# Contact sheet
# --------------------------------------------------------------------------

def contact_sheet(groups, path):
    """groups: list of (title, [(name, image, frames), ...]); each image
    shown at twice its size with its name, frame joins ticked below."""
    label = font(12) or ImageFont.load_default()
    head = font(18, bold=True) or ImageFont.load_default()
    sheet_w = 1500
    pad = 14
    blocks = []
    y = pad
    for title, items in groups:
        blocks.append(("head", title, (pad, y)))
        y += 30
        x = pad
        row_h = 0
        for name, im, frames in items:
            iw, ih = im.width * 2, im.height * 2
            cell_w = max(iw, int(label.getlength(name)) if hasattr(label, "getlength") else len(name) * 7) + 18
            cell_h = ih + 28
            if x + cell_w > sheet_w - pad and x > pad:
                x = pad
                y += row_h + 10
                row_h = 0
            blocks.append(("img", (name, im, frames), (x, y)))
            x += cell_w
            row_h = max(row_h, cell_h)
        y += row_h + 24
    sheet = Image.new("RGB", (sheet_w, y + pad), (250, 250, 250))
    d = ImageDraw.Draw(sheet)
    for kind, what, (x, y0) in blocks:
        if kind == "head":
            d.text((x, y0), what, fill=(20, 30, 60), font=head)
            d.line([(x, y0 + 25), (sheet_w - pad, y0 + 25)], fill=(180, 186, 200))
            continue
        name, im, frames = what
        big = im.resize((im.width * 2, im.height * 2), Image.NEAREST)
        # A checkerboard shows through the transparent key colour.
        checker = Image.new("RGB", big.size, (255, 255, 255))
        cd = ImageDraw.Draw(checker)
        for cy in range(0, big.height, 8):
            for cx in range(0, big.width, 8):
                if (cx // 8 + cy // 8) % 2:
                    cd.rectangle([cx, cy, cx + 7, cy + 7], fill=(214, 214, 214))
        keymask = Image.eval(ImageChops.difference(big, Image.new("RGB", big.size, KEY)).convert("L"),
                             lambda v: 255 if v else 0)
        checker.paste(big, (0, 0), keymask)
        sheet.paste(checker, (x, y0))
        d.rectangle([x - 1, y0 - 1, x + big.width, y0 + big.height], outline=(200, 200, 200))
        if frames > 1:
            fw = im.width // frames
            for k in range(1, frames):
                fx = x + 2 * (im.width - fw if k == frames - 1 else k * fw)
                d.line([(fx, y0 + big.height + 1), (fx, y0 + big.height + 4)], fill=(220, 40, 40))
        d.text((x, y0 + big.height + 6), name, fill=(40, 40, 40), font=label)
    sheet.save(path, "PNG", optimize=False)


def button_previews(style, strip_img):
    """The three button frames stretched to dialog sizes with a caption."""
    st = STYLES[style]
    fw = strip_img.width // 3
    f = font(11) or ImageFont.load_default()
    out = Image.new("RGB", (3 * 150 + 20, 84), st["form"])
    d = ImageDraw.Draw(out)
    frames = [strip_img.crop((0, 0, fw, strip_img.height)),
              strip_img.crop((fw, 0, 2 * fw, strip_img.height)),
              strip_img.crop((strip_img.width - fw, 0, strip_img.width, strip_img.height))]
    for i, fr in enumerate(frames):
        for j, (bw, bh) in enumerate(((80, 27), (140, 34))):
            b = nine_part(fr, bw, bh, st["key"], st["form"])
            bd = ImageDraw.Draw(b)
            off = 1 if i == 2 else 0
            bd.text((bw // 2 + off, bh // 2 + off), ("OK", "Cancel")[j], fill=(0, 0, 0), font=f, anchor="mm")
            out.paste(b, (8 + i * 152, 6 + j * 38))
    return out


# --------------------------------------------------------------------------
# Main
# --------------------------------------------------------------------------

def save_bmp(img, path):
    img.convert("RGB").save(path, "BMP")


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: generate.py OUTPUT_DIR\n")
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)

    groups = {s: [] for s in STYLE_NAMES}
    groups["SHARED"] = []
    rc = []
    for name, style, element, frames, size in skin_resources():
        img = draw_skin(style, element, frames, size)
        assert img.size == size, (name, img.size, size)
        save_bmp(img, os.path.join(out, name + ".bmp"))
        rc.append('%s BITMAP "%s.bmp"\n' % (name, name))
        owner = style or (name.split("_")[0] if name.split("_")[0] in STYLE_NAMES else "SHARED")
        groups[owner].append((name, img, frames))
    with open(os.path.join(out, "skin_art.rc"), "w", newline="\n") as f:
        f.writelines(rc)

    bg = main_background()
    bg.save(os.path.join(out, "MAIN_BACKGROUND.jpg"), "JPEG", quality=90, subsampling=0)
    # Knobs are drawn over the background as decoded, so their corners match.
    decoded = Image.open(os.path.join(out, "MAIN_BACKGROUND.jpg")).convert("RGB")
    knobs = main_knobs(decoded)
    for name, im in knobs.items():
        save_bmp(im, os.path.join(out, name + ".bmp"))
    banner = about_banner()
    banner.save(os.path.join(out, "ABOUT_BANNER.jpg"), "JPEG", quality=92, subsampling=0)
    icon32 = icon_image(32)
    about_icon = Image.new("RGB", (32, 32), (240, 240, 240))
    about_icon.paste(icon32.convert("RGB"), (0, 0), icon32.split()[3])
    save_bmp(about_icon, os.path.join(out, "ABOUT_ICON.bmp"))
    write_ico(os.path.join(out, "varnhold.ico"), (16, 32, 48))

    app_rc = ['MAIN_BACKGROUND RCDATA "MAIN_BACKGROUND.jpg"\n',
              'ABOUT_BANNER RCDATA "ABOUT_BANNER.jpg"\n']
    app_rc += ['%s BITMAP "%s.bmp"\n' % (n, n) for n in
               ("MINIMIZE_NORMAL", "MINIMIZE_HOVER", "MINIMIZE_DOWN", "CLOSE_NORMAL", "CLOSE_HOVER")]
    app_rc += ['ABOUT_ICON BITMAP "ABOUT_ICON.bmp"\n', '1 ICON "varnhold.ico"\n']
    with open(os.path.join(out, "app_art.rc"), "w", newline="\n") as f:
        f.writelines(app_rc)

    sheet = []
    for s in STYLE_NAMES:
        items = list(groups[s])
        btn = [im for n, im, _ in items if n == s + "_BUTTON"][0]
        items.append((s + " buttons stretched (preview)", button_previews(s, btn), 1))
        sheet.append((s, items))
    sheet.append(("Shared skin bitmaps", groups["SHARED"]))
    app = [(n, knobs[n], 1) for n in knobs]
    app += [("ABOUT_BANNER", Image.open(os.path.join(out, "ABOUT_BANNER.jpg")).convert("RGB"), 1),
            ("ABOUT_ICON", about_icon, 1)]
    for n in (48, 32, 16):
        ic = Image.new("RGB", (n, n), (255, 255, 255))
        im = icon_image(n)
        ic.paste(im.convert("RGB"), (0, 0), im.split()[3])
        app.append(("varnhold.ico %d" % n, ic, 1))
    app.append(("MAIN_BACKGROUND", decoded, 1))
    sheet.append(("Main window and About box", app))
    contact_sheet(sheet, os.path.join(out, "contact_sheet.png"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/python3
"""Draws the desktop program's pictures, icons and animation clips into resources/.

Run with Debian's interpreter (it has PIL):  /usr/bin/python3 tools/make_resources.py
The output is committed; the build only embeds it. Every picture is drawn here from shapes,
so the artwork is ours. Shapes are drawn at four times their size and reduced, then mapped
onto the program's own 16-colour scheme (or an adaptive 256-colour palette where the picture
is meant to hold 256 colours).
"""

import math
import os
import random

from PIL import Image, ImageDraw, ImageFilter

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
SS = 4  # supersampling factor

# The program's 16-colour scheme. Entry 0 is the transparent key of the pictures that have one.
SCHEME = [
    (255, 0, 255),  # 0 key
    (13, 18, 32),  # 1 ink
    (27, 36, 64),  # 2 midnight
    (44, 58, 99),  # 3 deep blue
    (66, 85, 138),  # 4 slate
    (107, 128, 184),  # 5 periwinkle
    (169, 184, 224),  # 6 pale blue
    (244, 236, 216),  # 7 cream
    (31, 111, 106),  # 8 dark teal
    (43, 179, 163),  # 9 teal
    (143, 227, 212),  # 10 mint
    (179, 84, 30),  # 11 rust
    (240, 168, 48),  # 12 amber
    (255, 217, 138),  # 13 light amber
    (232, 96, 76),  # 14 coral
    (255, 255, 255),  # 15 white
]
C = {name: SCHEME[i] for i, name in enumerate(
    "key ink midnight deep slate peri pale cream dteal teal mint rust amber lamber coral white"
    .split())}


def rgba(colour, alpha=255):
    return colour + (alpha,)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# ---------------------------------------------------------------------------------------------
# Colour reduction


def scheme_image():
    pal = Image.new("P", (1, 1))
    flat = [v for colour in SCHEME for v in colour]
    pal.putpalette(flat + [0] * (768 - len(flat)))
    return pal


def reduce_to_scheme(img, dither=False, transparent=False):
    """RGBA -> 16-colour palette image on the scheme; alpha below half becomes entry 0."""
    rgb = img.convert("RGB")
    # Entry 0 must only be chosen for transparency: quantise against entries 1-15.
    pal = Image.new("P", (1, 1))
    flat = [v for colour in SCHEME[1:] for v in colour]
    pal.putpalette(flat + flat[-3:] * (256 - 15))
    dither_mode = Image.Dither.FLOYDSTEINBERG if dither else Image.Dither.NONE
    q = rgb.quantize(palette=pal, dither=dither_mode)
    indices = [min(i, 14) + 1 for i in q.getdata()]
    if transparent:
        alpha = img.getchannel("A").getdata()
        indices = [0 if a < 128 else i for i, a in zip(indices, alpha)]
    out = Image.new("P", img.size)
    out.putpalette([v for colour in SCHEME for v in colour])
    out.putdata(indices)
    if transparent:
        out.info["transparency"] = 0
    return out


def reduce_to_256(img, transparent=False):
    """RGBA -> adaptive 256-colour palette image; entry 0 is the transparent key when asked."""
    rgb = img.convert("RGB")
    colours = 255 if transparent else 256
    q = rgb.quantize(colors=colours, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    if not transparent:
        return q
    palette = q.getpalette()[: colours * 3]
    indices = [i + 1 for i in q.getdata()]
    alpha = img.getchannel("A").getdata()
    indices = [0 if a < 128 else i for i, a in zip(indices, alpha)]
    out = Image.new("P", img.size)
    out.putpalette(list(SCHEME[0]) + palette)
    out.putdata(indices)
    out.info["transparency"] = 0
    return out


def save(img, *parts):
    path = os.path.join(ROOT, *parts)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    kwargs = {"optimize": True}
    if "transparency" in img.info:
        kwargs["transparency"] = img.info["transparency"]
    if img.mode == "P":
        colours = 16 if max(img.getdata()) < 16 else 256
        kwargs["bits"] = 4 if colours == 16 else 8
    img.save(path, **kwargs)


# ---------------------------------------------------------------------------------------------
# Drawing helpers (coordinates in final pixels; the canvas is SS times larger)


class Canvas:
    def __init__(self, w, h, background=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.img = Image.new("RGBA", (w * SS, h * SS), background)
        self.d = ImageDraw.Draw(self.img)

    def s(self, *values):
        return [v * SS for v in values]

    def rect(self, x0, y0, x1, y1, fill=None, outline=None, width=1):
        self.d.rectangle(self.s(x0, y0, x1, y1), fill=fill, outline=outline, width=width * SS)

    def rrect(self, x0, y0, x1, y1, r, fill=None, outline=None, width=1):
        self.d.rounded_rectangle(self.s(x0, y0, x1, y1), r * SS, fill=fill, outline=outline,
                                 width=width * SS)

    def ellipse(self, x0, y0, x1, y1, fill=None, outline=None, width=1):
        self.d.ellipse(self.s(x0, y0, x1, y1), fill=fill, outline=outline, width=width * SS)

    def poly(self, points, fill=None, outline=None):
        self.d.polygon([(x * SS, y * SS) for x, y in points], fill=fill, outline=outline)

    def line(self, points, fill, width=1):
        self.d.line([(x * SS, y * SS) for x, y in points], fill=fill, width=int(width * SS),
                    joint="curve")

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        for y in range(int(y0 * SS), int(y1 * SS)):
            t = (y - y0 * SS) / max(1, (y1 - y0) * SS - 1)
            self.d.line([(x0 * SS, y), (x1 * SS - 1, y)], fill=rgba(mix(top, bottom, t)))

    def paste(self, other, x, y):
        self.img.alpha_composite(other.img, (int(x * SS), int(y * SS)))

    def result(self):
        return self.img.resize((self.w, self.h), Image.LANCZOS)


def arrow(cv, x0, y, x1, colour, head=4, width=2):
    """A horizontal arrow from x0 to x1 (either direction)."""
    direction = 1 if x1 > x0 else -1
    cv.line([(x0, y), (x1 - direction * head, y)], rgba(colour), width)
    cv.poly([(x1, y), (x1 - direction * head * 1.4, y - head), (x1 - direction * head * 1.4, y + head)],
            fill=rgba(colour))


# A small pixel creature, the program's mascot sprite: a beetle-like scout seen from above.
SCOUT = [
    "...aa......aa...",
    "....a......a....",
    "...bbbbbbbbbb...",
    "..bccccccccccb..",
    "..bccdccccdccb..",
    "..bccccccccccb..",
    ".bcceeeeeeeeccb.",
    "bbcceffffffeccbb",
    "b.cceffffffecc.b",
    "..bceeeeeeeecb..",
    "..bccccccccccb..",
    "...bccccccccb...",
    "..b.bbbbbbbb.b..",
    ".b..b......b..b.",
]
SCOUT_COLOURS = {"a": C["lamber"], "b": C["ink"], "c": C["teal"], "d": C["white"],
                 "e": C["dteal"], "f": C["mint"]}


def draw_pixels(cv, pattern, colours, x, y, cell):
    for row, line in enumerate(pattern):
        for col, ch in enumerate(line):
            if ch in colours:
                cv.rect(x + col * cell, y + row * cell, x + (col + 1) * cell - 1e-3,
                        y + (row + 1) * cell - 1e-3, fill=rgba(colours[ch]))


# Block letters for titles, 5 wide and 7 high.
GLYPHS = {
    "P": ["1111.", "1...1", "1...1", "1111.", "1....", "1....", "1...."],
    "I": ["111", ".1.", ".1.", ".1.", ".1.", ".1.", "111"],
    "X": ["1...1", "1...1", ".1.1.", "..1..", ".1.1.", "1...1", "1...1"],
    "M": ["1...1", "11.11", "1.1.1", "1.1.1", "1...1", "1...1", "1...1"],
    "O": [".111.", "1...1", "1...1", "1...1", "1...1", "1...1", ".111."],
    "R": ["1111.", "1...1", "1...1", "1111.", "1.1..", "1..1.", "1...1"],
    "H": ["1...1", "1...1", "1...1", "11111", "1...1", "1...1", "1...1"],
    "G": [".111.", "1...1", "1....", "1.111", "1...1", "1...1", ".111."],
    "B": ["1111.", "1...1", "1...1", "1111.", "1...1", "1...1", "1111."],
    " ": ["..", "..", "..", "..", "..", "..", ".."],
}


def text_width(text, cell, gap=1):
    return sum((len(GLYPHS[ch][0]) + gap) * cell for ch in text) - gap * cell


def draw_text(cv, text, x, y, cell, colour, gap=1):
    for ch in text:
        draw_pixels(cv, GLYPHS[ch], {"1": colour}, x, y, cell)
        x += (len(GLYPHS[ch][0]) + gap) * cell


# ---------------------------------------------------------------------------------------------
# Pictures


def shaded_orb(size, cx, cy, r, right_edge=None):
    """An RGBA layer (at SS scale) with a sphere lit from the upper left."""
    orb = Image.new("RGBA", (size * SS, size * SS), (0, 0, 0, 0))
    op = orb.load()
    x_end = (cx + r if right_edge is None else right_edge) * SS
    for y in range(max(0, int((cy - r) * SS)), min(size * SS, int((cy + r) * SS) + 1)):
        for x in range(max(0, int((cx - r) * SS)), min(size * SS, int(x_end))):
            dx, dy = x / SS - cx, y / SS - cy
            if dx * dx + dy * dy <= r * r:
                nz = math.sqrt(max(0.0, 1 - (dx * dx + dy * dy) / (r * r)))
                light = max(0.0, (-dx * 0.45 - dy * 0.55) / r + nz * 0.75)
                base = mix(C["dteal"], C["teal"], min(1.0, light * 1.1))
                base = mix(base, C["mint"], max(0.0, light - 0.75) * 2.2)
                op[x, y] = rgba(base)
    return orb


def picture_135():
    """128 x 128, 256 colours: the emblem, an orb that breaks up into pixels."""
    size = 128
    img = Image.new("RGB", (size, size))
    px = img.load()
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - 54, y - 60) / 90
            px[x, y] = mix(C["deep"], C["ink"], min(1.0, d))
    cv = Canvas(size, size)
    # Soft halo behind the orb.
    halo = Image.new("RGBA", (size * SS, size * SS), (0, 0, 0, 0))
    ImageDraw.Draw(halo).ellipse([14 * SS, 20 * SS, 98 * SS, 104 * SS], fill=rgba(C["teal"], 70))
    cv.img.alpha_composite(halo.filter(ImageFilter.GaussianBlur(10 * SS)))
    cx, cy, r = 54, 62, 34
    cv.img.alpha_composite(shaded_orb(size, cx, cy, r))
    shine = Canvas(size, size)
    shine.ellipse(cx - 21, cy - 25, cx - 7, cy - 15, fill=rgba(C["white"], 120))
    cv.img.alpha_composite(shine.img.filter(ImageFilter.GaussianBlur(2 * SS)))
    # The right side crumbles into pixels drifting to the right.
    random.seed(135)
    cells = []
    for row in range(cy - r, cy + r, 6):
        for col in range(cx + 4, cx + r + 2, 6):
            dx, dy = col + 3 - cx, row + 3 - cy
            if dx * dx + dy * dy <= (r + 2) ** 2:
                cells.append((col, row))
    cv.rect(cx + 4, 0, size, size, fill=(0, 0, 0, 0))
    for col, row in cells:
        shift = (col - cx - 4) * random.uniform(0.2, 0.7)
        lift = random.uniform(-2, 2)
        far = (col - cx) / r + random.uniform(-0.2, 0.2)
        tone = random.choice([C["teal"], C["mint"]]) if far < 0.5 else random.choice(
            [C["amber"], C["lamber"]])
        x, y = col + shift, row + lift
        cv.rect(x, y, x + 5, y + 5, fill=rgba(tone))
        cv.rect(x, y, x + 5, y + 1, fill=rgba(mix(tone, C["white"], 0.35)))
    # A few stray pixels further out, in amber, as the conversion's sparks.
    for _ in range(14):
        x = random.uniform(96, 122)
        y = random.uniform(20, 108)
        s = random.choice([2, 3, 4])
        cv.rect(x, y, x + s, y + s, fill=rgba(random.choice([C["amber"], C["lamber"], C["coral"]])))
    base = img.convert("RGBA")
    base.alpha_composite(cv.result())
    return reduce_to_256(base)


def picture_136():
    """150 x 226, 16 colours: the backdrop of the preview box, an empty stage."""
    w, h = 150, 226
    img = Image.new("RGBA", (w, h), rgba(C["ink"]))
    d = ImageDraw.Draw(img)
    # Checkerboard of 10-pixel squares, the usual sign of 'transparent here'.
    for y in range(2, h - 1, 10):
        for x in range(1, w - 1, 10):
            if ((x // 10) + (y // 10)) % 2 == 0:
                d.rectangle([x, y, x + 9, y + 9], fill=rgba(C["midnight"]))
    # A faint outline of the mascot in the middle, waiting to be replaced by a real sprite.
    cv = Canvas(w, h)
    draw_pixels(cv, SCOUT, {k: C["deep"] for k in "abcdef"}, 35, 78, 5)
    draw_pixels(cv, SCOUT, {"d": C["slate"], "f": C["slate"]}, 35, 78, 5)
    img.alpha_composite(cv.result())
    # Frame: the parts the preview box leaves visible (left column, two top rows, right column,
    # bottom row).
    d.line([(0, 0), (w - 1, 0)], fill=rgba(C["peri"]))
    d.line([(0, 1), (w - 1, 1)], fill=rgba(C["slate"]))
    d.line([(0, 0), (0, h - 1)], fill=rgba(C["peri"]))
    d.line([(w - 1, 1), (w - 1, h - 1)], fill=rgba(C["ink"]))
    d.line([(0, h - 1), (w - 1, h - 1)], fill=rgba(C["ink"]))
    return reduce_to_scheme(img)


def picture_137():
    """48 x 32, 16 colours: sprite and picture, either way."""
    cv = Canvas(48, 32)
    # Left tile: a sprite sheet of pixels.
    cv.rrect(1, 6, 19, 24, 2, fill=rgba(C["midnight"]), outline=rgba(C["ink"]))
    mini = ["..a..a..", "..bbbb..", ".bcdcdb.", ".bcccc b", "bcffffcb", ".bcccc b", "..b..b.."]
    draw_pixels(cv, [line.replace(" ", ".") for line in mini], SCOUT_COLOURS, 4, 9, 1.6)
    # Right tile: a picture with hills and a sun.
    cv.rrect(29, 6, 47, 24, 2, fill=rgba(C["pale"]), outline=rgba(C["ink"]))
    cv.ellipse(38, 9, 43, 14, fill=rgba(C["amber"]))
    cv.poly([(30, 23), (35, 15), (40, 23)], fill=rgba(C["dteal"]))
    cv.poly([(35, 23), (41, 17), (46, 23)], fill=rgba(C["teal"]))
    # Arrows both ways between them.
    arrow(cv, 20.5, 12, 28, C["amber"], head=2.5, width=1.6)
    arrow(cv, 28, 19, 20.5, C["coral"], head=2.5, width=1.6)
    return reduce_to_scheme(cv.result(), transparent=True)


def starfield(img, count, seed, area):
    random.seed(seed)
    d = ImageDraw.Draw(img)
    x0, y0, x1, y1 = area
    for _ in range(count):
        x, y = random.randrange(x0, x1), random.randrange(y0, y1)
        colour = random.choice([C["pale"], C["peri"], C["cream"], C["white"]])
        d.point((x, y), fill=rgba(colour))
        if random.random() < 0.08:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                d.point((x + dx, y + dy), fill=rgba(C["peri"]))


def picture_138():
    """320 x 240, 16 colours: the splash picture."""
    w, h = 320, 240
    sky = Canvas(w, h)
    sky.vgradient(0, 0, w, h, C["ink"], C["deep"])
    img = sky.result()
    starfield(img, 140, 138, (0, 0, w, 170))
    cv = Canvas(w, h)
    # A planet's rim along the bottom, lit from the upper left.
    cv.ellipse(-120, 176, 440, 520, fill=rgba(C["dteal"]))
    cv.ellipse(-116, 182, 444, 526, fill=rgba(C["midnight"]))
    cv.ellipse(-120, 176, 440, 520, outline=rgba(C["mint"]), width=2)
    # Title in block letters with a drop shadow.
    title = "PIXMORPH"
    cell = 5
    tx = (w - text_width(title, cell)) // 2
    draw_text(cv, title, tx + 3, 35, cell, C["rust"])
    draw_text(cv, title, tx, 32, cell, C["amber"])
    sub = "GRP   BMP"
    sx = (w - text_width(sub, 3)) // 2
    draw_text(cv, sub, sx, 88, 3, C["pale"])
    left = sx + text_width("GRP", 3) + 5
    right = sx + text_width("GRP   ", 3) - 2
    arrow(cv, left, 94, right, C["mint"], head=3, width=2)
    arrow(cv, right, 102, left, C["coral"], head=3, width=2)
    # The mascot on the left, as a sprite; on the right, the same frame on a bitmap card.
    draw_pixels(cv, SCOUT, SCOUT_COLOURS, 52, 132, 4)
    cv.rrect(208, 124, 276, 192, 4, fill=rgba(C["cream"]), outline=rgba(C["ink"]), width=2)
    cv.rect(214, 130, 270, 186, fill=rgba(C["pale"]))
    draw_pixels(cv, SCOUT, SCOUT_COLOURS, 218, 136, 3)
    # Dotted path between them.
    for i in range(9):
        x = 124 + i * 9
        y = 160 - math.sin(i / 8 * math.pi) * 18
        cv.rect(x, y, x + 3, y + 3, fill=rgba(C["amber"] if i % 2 else C["lamber"]))
    img.alpha_composite(cv.result())
    return reduce_to_scheme(img, dither=True)


# ---------------------------------------------------------------------------------------------
# Icons


ICON_16 = [
    "..111111111111..",
    ".12222222222221.",
    "1222222222222221",
    "12222aa.bb222221",
    "1222aaac.cb22221",
    "122aaaa.bb.22221",
    "122aaaac.cb.2221",
    "122aaaa.bb.22221",
    "122aaaac.cb22221",
    "1222aaa.bb.22221",
    "12222aac.c222221",
    "122222222222.221",
    "1222222222222221",
    "1222222222222221",
    ".12222222222221.",
    "..111111111111..",
]
ICON_16_COLOURS = {"1": C["ink"], "2": C["midnight"], "a": C["teal"], "b": C["amber"],
                   "c": C["lamber"]}


def program_icon(size):
    """The program icon: a tile with an orb, smooth on the left and pixels on the right."""
    if size == 16:
        cv = Canvas(16, 16)
        draw_pixels(cv, ICON_16, ICON_16_COLOURS, 0, 0, 1)
        cv.rect(4, 4, 5, 5, fill=rgba(C["mint"]))
        return cv.result()
    cv = Canvas(size, size)
    u = size / 48
    cv.rrect(1 * u, 1 * u, 47 * u, 47 * u, 9 * u, fill=rgba(C["midnight"]), outline=rgba(C["ink"]),
             width=max(1, round(u)))
    cv.line([(10 * u, 3 * u), (38 * u, 3 * u)], rgba(C["deep"]), max(1, u))
    cx, cy, r = 23 * u, 24 * u, 16 * u
    cv.img.alpha_composite(shaded_orb(size, cx, cy, r, right_edge=cx))
    shine = Canvas(size, size)
    shine.ellipse(cx - 11 * u, cy - 11 * u, cx - 5 * u, cy - 5 * u, fill=rgba(C["white"], 140))
    cv.img.alpha_composite(shine.img.filter(ImageFilter.GaussianBlur(u * SS)))
    cell = 4 * u
    for j in range(8):
        for i in range(4):
            x, y = cx + 1 * u + i * cell, cy - r + j * cell
            mx, my = x + cell / 2 - cx, y + cell / 2 - cy
            if mx * mx + my * my > r * r:
                continue
            drift = (1.5 * u if (i + j) % 3 == 0 and i >= 2 else 0)
            tone = C["amber"] if (i + j) % 2 else C["lamber"]
            cv.rect(x + drift + 0.5 * u, y + 0.5 * u, x + drift + cell - 0.5 * u,
                    y + cell - 0.5 * u, fill=rgba(tone))
    return cv.result()


def icon_16_colours(size):
    return reduce_to_scheme(program_icon(size), transparent=True)


def icon_256_colours(size):
    return reduce_to_256(program_icon(size), transparent=True)


def document_icon():
    """32 x 32, 16 colours: a sprite file, a page with the mascot and a film edge."""
    cv = Canvas(32, 32)
    cv.poly([(5, 1), (21, 1), (28, 8), (28, 31), (5, 31)], fill=rgba(C["ink"]))
    cv.poly([(6, 2), (20.5, 2), (27, 8.5), (27, 30), (6, 30)], fill=rgba(C["cream"]))
    cv.poly([(20.5, 2), (20.5, 8.5), (27, 8.5)], fill=rgba(C["pale"]))
    cv.line([(20.5, 2), (20.5, 8.5), (27, 8.5)], rgba(C["ink"]), 1)
    # Film edge on the left.
    cv.rect(6, 2, 9, 30, fill=rgba(C["deep"]))
    for y in range(4, 29, 4):
        cv.rect(7, y, 8, y + 1.5, fill=rgba(C["cream"]))
    draw_pixels(cv, SCOUT, SCOUT_COLOURS, 10.5, 11, 1)
    draw_pixels(cv, SCOUT, SCOUT_COLOURS, 11, 11.5, 1)
    return reduce_to_scheme(cv.result(), transparent=True)


# ---------------------------------------------------------------------------------------------
# Animation clips: 18 frames each, stored side by side in one strip.


def card(cv, x, y, w, h, picture_seed):
    cv.rrect(x, y, x + w, y + h, 1.5, fill=rgba(C["cream"]), outline=rgba(C["ink"]))
    random.seed(picture_seed)
    tone = random.choice([C["teal"], C["amber"], C["coral"], C["peri"]])
    cv.rect(x + 2, y + 2, x + w - 2, y + h - 2, fill=rgba(C["pale"]))
    cv.ellipse(x + w * 0.3, y + h * 0.25, x + w * 0.7, y + h * 0.75, fill=rgba(tone))


def clip_141():
    """Compile: bitmap cards drop one after another into the sprite box. 94 x 100."""
    w, h, frames = 94, 100, 18
    strip = Image.new("RGBA", (w * frames, h), (0, 0, 0, 0))
    for f in range(frames):
        cv = Canvas(w, h)
        # The box (back).
        cv.poly([(17, 62), (77, 62), (85, 70), (9, 70)], fill=rgba(C["ink"]))
        # Three cards, one after another: each falls into the box in six frames while the
        # ones still waiting stand in a pile at the top right.
        current = min(f // 6, 2)
        for k in range(current + 1, 3):
            card(cv, 58 + (k - current) * 3, 4 + (k - current) * 3, 28, 22, k)
        if f < frames - 1:
            t = (f % 6) / 5
            s = 1 - t * 0.4
            cw, ch = 30 * s, 24 * s
            x = 32 - cw / 2 + 15 * t
            y = 6 + t * 50
            card(cv, x, y, cw, ch, current)
        # The box (front) with the strip of frames painted on it.
        cv.poly([(9, 70), (85, 70), (80, 98), (14, 98)], fill=rgba(C["deep"]), outline=rgba(C["ink"]))
        cv.rect(18, 78, 76, 90, fill=rgba(C["midnight"]))
        filled = int((f + 1) / frames * 6 + 0.5)
        for i in range(6):
            colour = C["amber"] if i < filled else C["slate"]
            cv.rect(20 + i * 9.5, 80, 27 + i * 9.5, 88, fill=rgba(colour))
        # Flaps open, closing on the last frame.
        if f == frames - 1:
            cv.poly([(9, 70), (85, 70), (80, 64), (14, 64)], fill=rgba(C["slate"]), outline=rgba(C["ink"]))
        else:
            swing = math.sin(f / frames * math.pi * 4) * 3
            cv.poly([(9, 70), (2, 52 + swing), (12, 50 + swing), (17, 62)], fill=rgba(C["slate"]), outline=rgba(C["ink"]))
            cv.poly([(85, 70), (92, 52 - swing), (82, 50 - swing), (77, 62)], fill=rgba(C["slate"]), outline=rgba(C["ink"]))
        strip.alpha_composite(cv.result(), (f * w, 0))
    return reduce_to_scheme(strip, transparent=True)


def clip_148():
    """Export: a brush paints the frame onto a bitmap card. 100 x 75."""
    w, h, frames = 100, 75, 18
    strip = Image.new("RGBA", (w * frames, h), (0, 0, 0, 0))
    rows = len(SCOUT)
    for f in range(frames):
        cv = Canvas(w, h)
        # Film strip on the left feeding the card.
        cv.rect(2, 10, 22, 66, fill=rgba(C["deep"]), outline=rgba(C["ink"]))
        for i in range(7):
            y = 12 + ((i * 8 + f * 2) % 56)
            cv.rect(4, y, 6, y + 3, fill=rgba(C["cream"]))
            cv.rect(18, y, 20, y + 3, fill=rgba(C["cream"]))
        cv.rect(8, 14, 16, 62, fill=rgba(C["midnight"]))
        draw_pixels(cv, SCOUT, SCOUT_COLOURS, 8.5, 34, 0.45)
        arrow(cv, 24, 38, 32, C["amber"], head=3, width=2)
        # The card being painted row by row.
        cv.rrect(34, 6, 96, 70, 3, fill=rgba(C["cream"]), outline=rgba(C["ink"]), width=1)
        cv.rect(38, 10, 92, 66, fill=rgba(C["pale"]))
        done = int(round((f + 1) / frames * rows))
        draw_pixels(cv, SCOUT[:done], SCOUT_COLOURS, 41, 12, 3)
        if f == frames - 1:
            strip.alpha_composite(cv.result(), (f * w, 0))
            continue
        # The brush at the row being painted, sweeping left and right.
        row_y = 12 + min(done, rows - 1) * 3 + 1
        sweep = 44 + (math.sin(f * 1.7) * 0.5 + 0.5) * 40
        cv.line([(sweep + 3, row_y - 2), (sweep + 16, row_y - 15)], rgba(C["rust"]), 3)
        cv.poly([(sweep - 1, row_y + 1), (sweep + 2, row_y - 5), (sweep + 6, row_y - 1)], fill=rgba(C["teal"]))
        cv.rect(sweep + 1.5, row_y - 6.5, sweep + 5, row_y - 3, fill=rgba(C["amber"]))
        strip.alpha_composite(cv.result(), (f * w, 0))
    return reduce_to_scheme(strip, transparent=True)


def main():
    save(picture_135(), "pictures", "135.png")
    save(picture_136(), "pictures", "136.png")
    save(picture_137(), "pictures", "137.png")
    save(picture_138(), "pictures", "138.png")
    save(icon_16_colours(16), "icons", "128-16x16-16.png")
    save(icon_16_colours(32), "icons", "128-32x32-16.png")
    save(icon_256_colours(32), "icons", "128-32x32-256.png")
    save(icon_256_colours(48), "icons", "128-48x48-256.png")
    save(document_icon(), "icons", "149-32x32-16.png")
    save(clip_141(), "clips", "141.png")
    save(clip_148(), "clips", "148.png")


if __name__ == "__main__":
    main()

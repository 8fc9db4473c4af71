"""The splash picture (902), the About picture (901, 8-bit) and the program's icons (375, "SMALL")."""
from __future__ import annotations

import math

import numpy as np
from PIL import Image

from common import Entry
from draw import (OUT, Canvas, darker, ellipse, hexc, lgrad, lighter, line, over_rgb, paint, poly, rgrad, rrect,
                  shine, solid, sparkle, star_path, text, text_width, to_image)

RAINBOW = ["#F0443A", "#FF9F1C", "#FFD23F", "#4CC24A", "#3E8EF0", "#9B5DE5"]
LETTERS = ["#F0443A", "#FF9F1C", "#F5B400", "#3FB950", "#16B6C8", "#3E8EF0", "#9B5DE5", "#F062B0"]


def smooth_closed(c, pts):
    """A smooth closed curve through the points (Catmull-Rom as Bezier segments)."""
    n = len(pts)
    c.new_sub_path()
    c.move_to(*pts[0])
    for k in range(n):
        p0, p1, p2, p3 = pts[k - 1], pts[k], pts[(k + 1) % n], pts[(k + 2) % n]
        c.curve_to(p1[0] + (p2[0] - p0[0]) / 6, p1[1] + (p2[1] - p0[1]) / 6,
                   p2[0] - (p3[0] - p1[0]) / 6, p2[1] - (p3[1] - p1[1]) / 6, *p2)
    c.close_path()


def splat(c, cx, cy, r, colour, seed, drops=5):
    """A blob of paint with a few round lobes and flying drops."""
    rng = np.random.default_rng(seed)
    n = 28
    lobes = rng.integers(7, 10)
    phase = rng.uniform(0, 2 * math.pi)
    pts = []
    for k in range(n):
        a = 2 * math.pi * k / n
        rr = r * (1 + 0.13 * math.sin(lobes * a + phase) + rng.uniform(-0.1, 0.1))
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    smooth_closed(c, pts)
    paint(c, colour, OUT, 1.6)
    for _ in range(drops):
        a = rng.uniform(0, 2 * math.pi)
        d = r * rng.uniform(1.45, 1.9)
        rr = r * rng.uniform(0.1, 0.2)
        ellipse(c, cx + d * math.cos(a), cy + d * math.sin(a), rr, rr)
        paint(c, colour, OUT, 1.2)
    ellipse(c, cx - r * 0.35, cy - r * 0.35, r * 0.25, r * 0.15)
    c.set_source_rgba(1, 1, 1, 0.6)
    c.fill()


def title(c, word, cx, baseline, size, wobble=0.08, olw=None):
    """The name in chunky letters, each its own colour, bouncing a little."""
    olw = olw or size / 9
    widths = [text_width(ch, size) for ch in word]
    x = cx - sum(widths) / 2
    for k, ch in enumerate(word):
        col = hexc(LETTERS[k % len(LETTERS)])
        c.save()
        c.translate(x + widths[k] / 2, baseline - size * 0.3)
        c.rotate(wobble * (1 if k % 2 else -1))
        dy = -size * 0.05 if k % 2 else size * 0.03
        text(c, ch, 0, size * 0.3 + dy + size * 0.05, size, (0.2, 0.1, 0.3, 0.35), align="centre")
        text(c, ch, 0, size * 0.3 + dy, size, col, align="centre", outline=OUT, olw=olw)
        c.restore()
        x += widths[k]


def brush_big(c, x0, y0, x1, y1, tip):
    c.save()
    ang = math.atan2(y1 - y0, x1 - x0)
    L = math.hypot(x1 - x0, y1 - y0)
    c.translate(x0, y0)
    c.rotate(ang)
    poly(c, [(L * 0.32, -6), (L, -3.5), (L, 3.5), (L * 0.32, 6)])
    paint(c, lgrad(0, -6, 0, 6, (0, hexc("#FFE08A")), (1, hexc("#E0A020"))), OUT, 2)
    rrect(c, L * 0.2, -7.5, L * 0.14, 15, 2)
    paint(c, lgrad(0, -7, 0, 7, (0, (1, 1, 1)), (1, hexc("#A9B3C6"))), OUT, 2)
    c.new_sub_path()
    c.move_to(L * 0.21, -7)
    c.curve_to(L * 0.1, -9, L * 0.02, -4, 0, 0)
    c.curve_to(L * 0.02, 4, L * 0.1, 9, L * 0.21, 7)
    c.close_path()
    paint(c, tip, OUT, 2)
    c.restore()


def rainbow_arc(c, cx, cy, r, width, a0=math.pi, a1=2 * math.pi):
    band = width / len(RAINBOW)
    for k, col in enumerate(RAINBOW):
        c.new_sub_path()
        c.arc(cx, cy, r - k * band - band / 2, a0, a1)
        c.set_source_rgb(*hexc(col))
        c.set_line_width(band + 0.6)
        c.set_line_cap(0)
        c.stroke()


def border(c, w, h, t=7):
    rrect(c, t / 2, t / 2, w - t, h - t, 10)
    c.set_source_rgb(*hexc("#E8473E"))
    c.set_line_width(t)
    c.stroke()
    rrect(c, t - 0.5, t - 0.5, w - 2 * t + 1, h - 2 * t + 1, 7)
    c.set_source_rgb(*hexc("#FFC83A"))
    c.set_line_width(2)
    c.stroke()
    rrect(c, 0.5, 0.5, w - 1, h - 1, 11)
    c.set_source_rgb(*OUT)
    c.set_line_width(1)
    c.stroke()


def splash():
    w, h = 448, 324
    cv = Canvas(w, h)
    c = cv.ctx
    c.rectangle(0, 0, w, h)
    c.set_source(lgrad(0, 0, 0, h, (0, hexc("#BFE9FF")), (0.62, hexc("#E9F8FF")), (0.62, hexc("#FFE7A8")),
                       (1, hexc("#FFCB3C"))))
    c.fill()
    # sun and clouds
    ellipse(c, 384, 58, 24, 24)
    paint(c, rgrad(380, 54, 2, 26, (0, hexc("#FFF6B0")), (1, hexc("#FFC83A"))), OUT, 1.6)
    for k in range(10):
        a = k * math.pi / 5
        line(c, [(384 + 30 * math.cos(a), 58 + 30 * math.sin(a)), (384 + 37 * math.cos(a), 58 + 37 * math.sin(a))],
             hexc("#FFB020"), 3)
    for cx, cy, s in ((70, 52, 1.0), (250, 34, 0.75)):
        for dx, dy, r in ((-18, 4, 12), (0, -4, 16), (18, 3, 12), (5, 8, 12)):
            ellipse(c, cx + dx * s, cy + dy * s, r * s, r * s)
            c.set_source_rgb(1, 1, 1)
            c.fill()
    rainbow_arc(c, 224, 250, 200, 42)
    # the name
    title(c, "Tintwell", 224, 160, 78)
    text(c, "painting fun for little artists", 224, 196, 19, hexc("#1B2A8C"), align="centre")
    # paint splats and a brush on the table edge
    splat(c, 48, 262, 20, hexc("#F0443A"), 1)
    splat(c, 104, 286, 14, hexc("#3E8EF0"), 2)
    splat(c, 150, 262, 11, hexc("#4CC24A"), 3, drops=3)
    brush_big(c, 268, 282, 420, 226, hexc("#9B5DE5"))
    splat(c, 250, 292, 9, hexc("#9B5DE5"), 4, drops=3)
    for x, y, r in ((40, 150, 6), (410, 150, 7), (330, 110, 4), (115, 110, 4)):
        sparkle(c, x, y, r + 1.5, hexc("#FFB020"))
        sparkle(c, x, y, r, (1, 1, 1))
    text(c, "Marrowby", 436, 312, 13, darker(hexc("#F39A2A"), 0.45), align="right")
    border(c, w, h)
    return to_image(over_rgb(solid(w, h, (1, 1, 1)), cv.rgba()))


def about():
    w, h = 421, 244
    cv = Canvas(w, h)
    c = cv.ctx
    c.rectangle(0, 0, w, h)
    c.set_source(lgrad(0, 0, 0, h, (0, hexc("#FFF8E6")), (1, hexc("#FFE9B8"))))
    c.fill()
    rainbow_arc(c, 84, 92, 62, 24)
    splat(c, 84, 94, 16, hexc("#3E8EF0"), 7, drops=4)
    brush_big(c, 60, 150, 122, 108, hexc("#F0443A"))
    title(c, "Tintwell", 282, 70, 50, wobble=0.06)
    text(c, "Version 1.0", 282, 98, 16, hexc("#1B2A8C"), align="centre")
    lines = ["A painting program for young children.", "Made by Marrowby.",
             "Handwriting: Comic Neue (SIL Open Font License)."]
    y = 136
    for k, s in enumerate(lines):
        text(c, s, 168 if k < 2 else 210, y, 14 if k < 2 else 11.5, OUT if k < 2 else darker(hexc("#F39A2A"), 0.5),
             align="left" if k < 2 else "centre")
        y += 21 if k < 2 else 17
    text(c, "Click anywhere to close", w / 2, h - 14, 13, hexc("#1B2A8C"), align="centre")
    for x, y, r in ((396, 30, 6), (160, 30, 4), (30, 200, 5), (395, 205, 5)):
        sparkle(c, x, y, r + 1.5, hexc("#FFB020"))
        sparkle(c, x, y, r, (1, 1, 1))
    border(c, w, h, t=5)
    img = to_image(over_rgb(solid(w, h, (1, 1, 1)), cv.rgba()))
    return img.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)


# ------------------------------------------------------------------ icons

def palette_icon(size):
    cv = Canvas(size, size)
    c = cv.ctx
    s = size / 32.0
    c.scale(s, s)
    lw = 1.6 if size >= 32 else 2.2
    c.new_sub_path()
    c.move_to(16, 3)
    c.curve_to(25, 3, 30.5, 9, 30.5, 16)
    c.curve_to(30.5, 23, 26, 27, 21, 26)
    c.curve_to(17.5, 25.3, 17.5, 28.5, 15, 29.5)
    c.curve_to(8, 31, 1.5, 25, 1.5, 16)
    c.curve_to(1.5, 8, 8, 3, 16, 3)
    c.close_path()
    paint(c, lgrad(0, 3, 0, 30, (0, hexc("#FFE2B0")), (1, hexc("#E9A85C"))), OUT, lw)
    ellipse(c, 11, 23, 3, 2.6)
    paint(c, hexc("#FFF8EC"), OUT, lw * 0.7)
    blobs = [(8, 13, "#F0443A"), (13.5, 8, "#FFD23F"), (20.5, 8, "#4CC24A"), (25, 14, "#3E8EF0")]
    if size < 24:
        blobs = [(9, 12, "#F0443A"), (16, 8, "#FFD23F"), (23, 12, "#3E8EF0")]
    for x, y, col in blobs:
        ellipse(c, x, y, 3.3 if size >= 24 else 4, 3.3 if size >= 24 else 4)
        paint(c, hexc(col), OUT, lw * 0.6)
    if size >= 24:
        # brush across the palette
        c.save()
        c.translate(29, 29)
        c.rotate(math.radians(-128))
        rrect(c, 8, -1.6, 17, 3.2, 1.6)
        paint(c, hexc("#9B5DE5"), OUT, lw * 0.7)
        rrect(c, 4.5, -2, 4.5, 4, 0.8)
        paint(c, hexc("#D9DEE8"), OUT, lw * 0.6)
        c.new_sub_path()
        c.move_to(5, -2)
        c.curve_to(1.5, -2.5, 0, 0, 0, 0)
        c.curve_to(0, 0, 1.5, 2.5, 5, 2)
        c.close_path()
        paint(c, hexc("#F0443A"), OUT, lw * 0.6)
        c.restore()
    rgba = cv.rgba()
    return Image.fromarray(np.round(rgba * 255).astype(np.uint8), "RGBA")


ENTRIES = [
    Entry("BITMAP", "paint", 902, "paint/dialogs/902_splash.bmp", 448, 324, 24, "splash picture", make=splash),
    Entry("BITMAP", "paint", 901, "paint/dialogs/901_about.bmp", 421, 244, 8, "About picture", make=about),
    Entry("ICON", "paint", 375, "paint/icons/375_tintwell.ico", 32, 32, 32, "program icon",
          make=lambda: [palette_icon(48), palette_icon(32), palette_icon(16)], extra={"sizes": [48, 32, 16]}),
    Entry("ICON", "paint", "SMALL", "paint/icons/small.ico", 16, 16, 32, "small icon",
          make=lambda: [palette_icon(16)], extra={"sizes": [16]}),
]

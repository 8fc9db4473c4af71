"""The colour palette dialog (136 with mask 137, 369 x 242): a painter's palette whose outline follows
the dialog's palette region, a colour wheel (white in the middle, pure colours half way out, deep
shades at the rim) and dabs of greys, browns and skin tones on the wood around it; OK and close in the
thumb hole; the little dish on which the program shows the picked colour. The program reads the
colour the child clicks from this picture, so every part of the palette is a usable colour."""
import colorsys
import math

import numpy as np
from PIL import Image

from common import Entry
from mediakit import (INK, RED, GREEN, WOOD, WOOD_DARK, WHITE, canvas, to_pil, rounded_rect, ellipse, poly, paint,
                      gradient_fill, radial_fill, lighter, mix, rgb, flat, check_button)

W, H = 369, 242
REGION = [(5, 80), (24, 60), (102, 24), (189, 3), (251, 5), (299, 18), (341, 42), (366, 74), (361, 112), (333, 152),
          (285, 190), (222, 223), (172, 238), (131, 238), (109, 232), (84, 213), (77, 185), (107, 136), (94, 124),
          (48, 123), (11, 117), (1, 102)]
OK = (130, 94, 153, 113)
CLOSE = (154, 94, 173, 113)
SWATCH = (15, 148, 63, 196)
WHEEL = (262, 98, 82)   # the largest circle inside the region, right of the thumb hole

DABS = [((40, 92), 15, (0, 0, 0)), ((78, 70), 15, (255, 255, 255)), ((118, 52), 14, (128, 128, 128)),
        ((157, 36), 13, (200, 200, 200)), ((72, 103), 11, (64, 64, 64)), ((122, 200), 15, (120, 72, 36)),
        ((150, 222), 12, (190, 130, 80)), ((106, 168), 13, (255, 214, 180)), ((143, 160), 11, (150, 100, 70)),
        ((178, 212), 11, (255, 182, 200)), ((210, 22), 9, (245, 222, 179)), ((126, 80), 9, (90, 60, 40))]


def wheel_field(w, h, cx, cy, r):
    """RGB array of the wheel: hue by angle, white at the centre, pure half way, deep at the rim."""
    y, x = np.mgrid[0:h, 0:w].astype(np.float64) + 0.5
    dx, dy = x - cx, y - cy
    d = np.hypot(dx, dy) / r
    hue = (np.degrees(np.arctan2(-dy, dx)) % 360) / 360.0
    out = np.zeros((h, w, 3))
    for j in range(h):
        for i in range(w):
            if d[j, i] > 1.02:
                continue
            t = min(d[j, i], 1.0)
            if t < 0.5:
                light, sat = 1.0 - 0.5 * (t / 0.5), 1.0
            else:
                light, sat = 0.5 - 0.28 * ((t - 0.5) / 0.5), 1.0
            out[j, i] = colorsys.hls_to_rgb(hue[j, i], light, sat)
    return (out * 255).round().astype(np.uint8), d <= 1.0


def smooth_outline(c, pts, k=0.18):
    """A closed curve through the region's points, rounded at the corners."""
    n = len(pts)
    c.move_to(*mid(pts[-1], pts[0]))
    for i in range(n):
        p = pts[i]
        a = mid(pts[i - 1], p)
        b = mid(p, pts[(i + 1) % n])
        c.curve_to(a[0] + (p[0] - a[0]) * 0.8, a[1] + (p[1] - a[1]) * 0.8,
                   b[0] + (p[0] - b[0]) * 0.8, b[1] + (p[1] - b[1]) * 0.8, b[0], b[1])
    c.close_path()


def mid(a, b):
    return ((a[0] + b[0]) / 2.0, (a[1] + b[1]) / 2.0)


def layers():
    s, c = canvas(W, H, 3)
    # the dish for the picked colour
    sl, st, sr, sb = SWATCH
    ellipse(c, (sl + sr) / 2, (st + sb) / 2, 27, 27)
    radial_fill(c, (sl + sr) / 2, (st + sb) / 2, 27, [(0, WHITE), (0.8, (232, 236, 244)), (1, (200, 206, 220))],
                outline=INK, width=1.6)
    rounded_rect(c, sl, st, sr - sl, sb - st, 4)
    paint(c, WHITE, mix(INK, WHITE, 0.5), 1.0)
    # the wooden palette on its region
    poly(c, REGION)
    gradient_fill(c, 0, 0, W, H, [(0, lighter(WOOD, 0.25)), (1, WOOD)], INK, 2.2)
    # grain
    c.save()
    poly(c, REGION)
    c.clip()
    c.set_source_rgba(*rgb(WOOD_DARK, 0.35))
    c.set_line_width(1.0)
    for k in range(-12, 30):
        y0 = k * 12
        c.move_to(0, y0)
        c.curve_to(120, y0 - 20, 240, y0 + 15, 369, y0 - 10)
        c.stroke()
    c.restore()
    # paint dabs
    for (x, y), r, col in DABS:
        blob(c, x, y, r, col)
    # the OK and close buttons in the thumb hole
    for box, col, kind in ((OK, GREEN, "ok"), (CLOSE, RED, "close")):
        check_button(c, box, col, kind, 4, face=(0.5, 0.5, -1, -1), outline=1.2,
                     tick=[(-5, 0), (-1.5, 4), (5, -4.5)], cross=4, strokes=(3.6, 2))
    # rim of the wheel
    cx, cy, r = WHEEL
    ellipse(c, cx, cy, r + 3, r + 3)
    c.set_source_rgb(*rgb(INK))
    c.fill()
    img = to_pil(s).resize((W, H), Image.LANCZOS)
    field, inside = wheel_field(W, H, cx, cy, r)
    a = np.asarray(img).copy()
    a[inside, :3] = field[inside]
    a[inside, 3] = 255
    return Image.fromarray(a, "RGBA")


def blob(c, x, y, r, col):
    c.save()
    c.translate(x, y)
    n = 14
    pts = []
    for i in range(n):
        ang = 2 * math.pi * i / n
        rr = r * (1 + 0.12 * math.sin(3 * ang + x) + 0.06 * math.cos(5 * ang + y))
        pts.append((rr * math.cos(ang), rr * math.sin(ang)))
    smooth_outline(c, pts)
    paint(c, col, INK if col != (0, 0, 0) else (90, 80, 90), 1.3)
    ellipse(c, -r * 0.35, -r * 0.4, r * 0.28, r * 0.16)
    c.set_source_rgba(1, 1, 1, 0.45 if col != (255, 255, 255) else 0.0)
    c.fill()
    c.restore()


_cache = {}


def part(which):
    if not _cache:
        img = layers()
        a = np.asarray(img)
        keep = a[:, :, 3] >= 128
        # The masked copy shows the picture where the mask is white and keeps the background where
        # the picture is white: outside the palette the picture is white. Edges stay on the ink.
        rgb_ = np.asarray(flat(img, INK)).copy()
        rgb_[~keep] = 255
        _cache["img"] = Image.fromarray(rgb_, "RGB")
        _cache["mask"] = Image.fromarray(np.where(keep, 255, 0).astype(np.uint8), "L")
    return _cache[which]


ENTRIES = [
    Entry("BITMAP", "paint", 136, "paint/dialogs/136_palette.bmp", W, H, 24, "colour palette with its wheel",
          make=lambda: part("img")),
    Entry("MASK", "paint", 137, "paint/dialogs/137_palette_mask.bmp", W, H, 8, "colour palette mask",
          make=lambda: part("mask")),
]

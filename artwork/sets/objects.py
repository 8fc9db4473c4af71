"""The thirty tools lying on the table: each picture is exactly the size of the object's bounds, drawn
inside its outline polygon, on pure white outside its black/white mask (edge pixels blended over the
table they lie on)."""
from __future__ import annotations

import math
from functools import lru_cache

import cairo
import numpy as np
from PIL import Image
from scipy import ndimage

import scene
from common import Entry
from draw import (OUT, Canvas, along, clip_poly, cutout, darker, ellipse, emboss, hexc, lgrad, lighter, line,
                  mix, paint, poly, rgrad, rrect, shine, sparkle, star_path, surface_from, text)
from sets import room

RED = hexc("#E8383D")
ORANGE = hexc("#FF9F1C")
YELLOW = hexc("#FFD23F")
GREEN = hexc("#4CC24A")
BLUE = hexc("#3E8EF0")
PURPLE = hexc("#9B5DE5")
PINK = hexc("#FF8FB1")
SILVER = hexc("#D9DEE8")
STEEL = hexc("#A9B3C6")
WOOD = hexc("#C98A4B")


# ------------------------------------------------------------------ group 0: the artist's tools

def pencil(c, w, h):
    c.save()
    L = along(c, 1.2, 9.6, 62.5, 3.6)
    # shaft with facets
    c.rectangle(11, -3.4, L - 22, 6.8)
    paint(c, YELLOW, OUT, 1.2)
    c.rectangle(11, -1.2, L - 22, 1.6)
    c.set_source_rgba(1, 1, 1, 0.55)
    c.fill()
    c.rectangle(11, 1.8, L - 22, 1.2)
    c.set_source_rgba(*darker(YELLOW, 0.3), 0.7)
    c.fill()
    # sharpened wood and lead
    poly(c, [(11, -3.4), (0.5, 0), (11, 3.4)])
    paint(c, hexc("#FFE2B0"), OUT, 1.1)
    poly(c, [(4.2, -1.25), (0.5, 0), (4.2, 1.25)])
    paint(c, hexc("#4A4458"), None, 0)
    # ferrule and eraser
    c.rectangle(L - 11, -3.6, 4.5, 7.2)
    paint(c, SILVER, OUT, 1.0)
    rrect(c, L - 6.8, -3.4, 6.2, 6.8, 2)
    paint(c, PINK, OUT, 1.1)
    c.restore()


def brush(c, w, h):
    c.save()
    L = along(c, 1.5, 18.4, 86, 2.0)
    # handle, tapering
    poly(c, [(27, -3.4), (L - 1.5, -1.6), (L - 1.5, 1.6), (27, 3.4)])
    paint(c, lgrad(0, -3.5, 0, 3.5, (0, lighter(BLUE, 0.3)), (1, darker(BLUE, 0.2))), OUT, 1.2)
    ellipse(c, L - 1.8, 0, 1.2, 1.6)
    paint(c, darker(BLUE, 0.2), OUT, 0.8)
    # ferrule
    rrect(c, 18, -4.3, 10, 8.6, 1.5)
    paint(c, lgrad(0, -4, 0, 4, (0, (1, 1, 1)), (1, STEEL)), OUT, 1.1)
    # bristles with red paint at the tip
    c.new_sub_path()
    c.move_to(18.5, -4.2)
    c.curve_to(9, -5.5, 3, -3, 0.5, 0)
    c.curve_to(3, 3, 9, 5.5, 18.5, 4.2)
    c.close_path()
    path = c.copy_path()
    paint(c, hexc("#8B5A2B"), OUT, 1.1)
    c.save()
    c.append_path(path)
    c.clip()
    c.rectangle(-1, -6, 9, 12)
    c.set_source_rgb(*RED)
    c.fill()
    c.restore()
    c.append_path(path)
    paint(c, None, OUT, 1.1)
    line(c, [(30, -1.2), (L - 5, -0.4)], (1, 1, 1, 0.5), 1.0)
    c.restore()


def eraser(c, w, h):
    quad = [(0.8, 2.6), (34.4, -0.2), (33.6, 10.8), (1.6, 14.2)]
    poly(c, quad)
    paint(c, PINK, OUT, 1.3)
    # blue sleeve over the right half
    poly(c, [(15, 1.35), (34.4, -0.2), (33.6, 10.8), (15.3, 12.8)])
    paint(c, BLUE, OUT, 1.2)
    # top face light band
    poly(c, [(1.5, 3.2), (33.8, 0.5), (33.7, 3.2), (1.6, 6.0)], )
    c.set_source_rgba(1, 1, 1, 0.35)
    c.fill()
    star_path(c, 24.5, 6.6, 3.2, 1.4)
    c.set_source_rgb(1, 1, 1)
    c.fill()


def spray_can(c, w, h):
    # cap and nozzle
    rrect(c, 4.5, 1.5, 10, 9, 3)
    paint(c, lgrad(4, 0, 15, 0, (0, lighter(GREEN, 0.3)), (1, darker(GREEN, 0.2))), OUT, 1.2)
    rrect(c, 8, 3.2, 3.5, 2.6, 0.8)
    paint(c, (1, 1, 1), OUT, 0.8)
    # shoulder
    c.new_sub_path()
    c.move_to(2, 14)
    c.curve_to(2, 10, 16.5, 10, 16.5, 14)
    c.close_path()
    paint(c, SILVER, OUT, 1.1)
    # body
    rrect(c, 1.8, 12.5, 15, 38.5, 2.5)
    paint(c, lgrad(1.8, 0, 16.8, 0, (0, darker(RED, 0.1)), (0.35, lighter(RED, 0.35)), (1, darker(RED, 0.25))),
          OUT, 1.3)
    for y, col in ((20, YELLOW), (40, YELLOW)):
        c.rectangle(2.4, y, 13.8, 2.6)
        c.set_source_rgb(*col)
        c.fill()
    star_path(c, 9.3, 31, 5, 2.2)
    paint(c, (1, 1, 1), OUT, 0.8)
    rrect(c, 1.8, 48.5, 15, 3, 1)
    paint(c, STEEL, OUT, 1.0)
    shine(c, 4, 15, 2.2, 30, 0.55)


def ruler(c, w, h):
    quad = [(1.2, -0.2), (92, 3.4), (92, 12.4), (0.6, 8.6)]
    poly(c, quad)
    paint(c, lgrad(0, 0, 0, 12, (0, hexc("#9BF0D4")), (1, hexc("#3CC39A"))), OUT, 1.3)
    c.save()
    c.translate(1.2, -0.2)
    c.rotate(math.atan2(3.6, 90.8))
    for k in range(1, 21):
        x = k * 4.4
        ln = 4.2 if k % 5 == 0 else 2.3
        line(c, [(x, 1.2), (x, 1.2 + ln)], hexc("#1F6E5A"), 0.9)
    for k, x in ((1, 22), (2, 44), (3, 66)):
        text(c, str(k), x, 8.6, 5.5, hexc("#1F6E5A"), align="centre")
    c.restore()
    line(c, [(2, 7.6), (90, 11.2)], (1, 1, 1, 0.5), 0.9)


def templates(c, w, h):
    # round stencil
    ellipse(c, 12, 7.6, 12.3, 7.1)
    paint(c, lgrad(0, 0, 0, 15, (0, hexc("#FF9AC2")), (1, hexc("#E0508A"))), OUT, 1.3)
    star_path(c, 11.5, 7.8, 4.8, 2.1)
    paint(c, hexc("#8A2A58"), None, 0)
    # square stencil
    rrect(c, 23.5, 4.4, 12, 10.4, 1.5)
    paint(c, lgrad(0, 4, 0, 15, (0, hexc("#8FC2FF")), (1, hexc("#2F74C2"))), OUT, 1.3)
    ellipse(c, 29.5, 9.6, 3, 2.8)
    paint(c, hexc("#1B3F73"), None, 0)
    shine(c, 5, 2.3, 9, 1.8, 0.55)


def jar(c, w, h):
    # glass body with blue paint
    rrect(c, 1.5, 5, 19, 21, 4)
    paint(c, lgrad(0, 0, 22, 0, (0, hexc("#E4F6FF")), (1, hexc("#B7DDF2"))), OUT, 1.3)
    c.save()
    rrect(c, 2.3, 5.8, 17.4, 19.4, 3.4)
    c.clip()
    c.rectangle(0, 12, 22, 16)
    c.set_source(lgrad(0, 0, 22, 0, (0, lighter(BLUE, 0.2)), (1, darker(BLUE, 0.25))))
    c.fill()
    ellipse(c, 11, 12, 9, 1.5)
    c.set_source_rgb(*lighter(BLUE, 0.45))
    c.fill()
    c.restore()
    rrect(c, 1.5, 5, 19, 21, 4)
    paint(c, None, OUT, 1.3)
    # lid
    rrect(c, 2.5, 0.8, 17, 5.6, 1.8)
    paint(c, lgrad(0, 0, 0, 6, (0, lighter(RED, 0.3)), (1, darker(RED, 0.2))), OUT, 1.2)
    # drip over the rim
    c.new_sub_path()
    c.move_to(14, 6)
    c.line_to(17.5, 6)
    c.line_to(17.5, 10)
    c.curve_to(17.5, 12, 14, 12, 14, 10)
    c.close_path()
    paint(c, BLUE, OUT, 0.9)
    shine(c, 4, 8, 2.2, 14, 0.7)


def dropper(c, w, h):
    # glass tube tapering to the tip
    c.new_sub_path()
    c.move_to(15, 4.7)
    c.line_to(50.6, 9.0)
    c.curve_to(51.4, 9.5, 51.4, 10.6, 50.6, 11.1)
    c.line_to(15, 12.4)
    c.close_path()
    paint(c, lgrad(0, 4, 0, 13, (0, hexc("#F2FBFF")), (1, hexc("#A9D8EE"))), OUT, 1.1)
    poly(c, [(30, 7.8), (50, 9.6), (50, 10.6), (30, 11.8)])
    c.set_source_rgb(*PURPLE)
    c.fill()
    # collar
    rrect(c, 12.5, 3.6, 4.5, 10, 1)
    paint(c, SILVER, OUT, 1.0)
    # bulb
    c.new_sub_path()
    c.move_to(13, 3.2)
    c.curve_to(6, 0.2, 0.6, 2.5, 0.6, 8)
    c.curve_to(0.6, 13.5, 6, 15.2, 13, 13.2)
    c.close_path()
    paint(c, rgrad(5, 5, 1, 10, (0, hexc("#FF8A7E")), (1, hexc("#C62F28"))), OUT, 1.3)
    shine(c, 3, 4, 5, 2.4, 0.6)


def scissors(c, w, h):
    # blades
    poly(c, [(18, 6.5), (43, 0.8), (44, 2.4), (22, 10)])
    paint(c, lgrad(0, 0, 0, 10, (0, (1, 1, 1)), (1, STEEL)), OUT, 1.2)
    poly(c, [(18, 9.5), (22, 6.5), (44, 8.4), (43.4, 10.2)])
    paint(c, lgrad(0, 6, 0, 11, (0, (1, 1, 1)), (1, STEEL)), OUT, 1.2)
    ellipse(c, 20.5, 8.3, 1.7, 1.7)
    paint(c, hexc("#59627A"), OUT, 0.8)
    # finger loops
    for cx, cy, rx, ry, col in ((8.2, 6.2, 6.3, 4.8, ORANGE), (10.5, 14.6, 4.8, 3.6, RED)):
        ellipse(c, cx, cy, rx, ry)
        c.set_line_width(3.4)
        c.set_source_rgb(*OUT)
        c.stroke()
        ellipse(c, cx, cy, rx, ry)
        c.set_line_width(2.0)
        c.set_source_rgb(*col)
        c.stroke()
    line(c, [(13.5, 7.8), (18.5, 8.0)], OUT, 3.0)
    line(c, [(13.5, 7.8), (18.5, 8.0)], ORANGE, 1.6)
    line(c, [(13.8, 12.5), (18.5, 9.6)], OUT, 3.0)
    line(c, [(13.8, 12.5), (18.5, 9.6)], RED, 1.6)


# ------------------------------------------------------------------ group 1: pattern swatches

def _grid(w, h):
    y, x = np.mgrid[0:h, 0:w].astype(np.float64)
    return x, y


def height_plaster(w, h, rng):
    n = ndimage.gaussian_filter(rng.standard_normal((h, w)), 1.1)
    n2 = ndimage.gaussian_filter(rng.standard_normal((h, w)), 3.0)
    return (n - n.min()) / np.ptp(n) * 0.6 + (n2 - n2.min()) / np.ptp(n2) * 0.4


def height_cloth(w, h, rng):
    x, y = _grid(w, h)
    warp = 0.5 + 0.5 * np.sin(x * math.pi / 2.5)
    weft = 0.5 + 0.5 * np.sin(y * math.pi / 2.5)
    over = ((np.floor(x / 5) + np.floor(y / 5)) % 2) == 0
    return np.where(over, warp * 0.7 + 0.3, weft * 0.7 + 0.3)


def height_waves(w, h, rng):
    x, y = _grid(w, h)
    return 0.5 + 0.5 * np.sin((y + 2.2 * np.sin(x / 5.0)) * 2 * math.pi / 7.0)


def _cells(w, h, rng, n, sharp):
    pts = rng.uniform(0, 1, (n, 2)) * (w, h)
    x, y = _grid(w, h)
    d = np.stack([np.hypot(x - px, y - py) for px, py in pts])
    d.sort(axis=0)
    return d, pts


def height_pebbles(w, h, rng):
    d, _ = _cells(w, h, rng, 16, 1)
    e = np.clip((d[1] - d[0]) / 4.0, 0, 1)
    return np.sqrt(e)


def height_cells(w, h, rng):
    d, _ = _cells(w, h, rng, 22, 1)
    e = np.clip((d[1] - d[0]) / 1.6, 0, 1)
    return 1 - (1 - e) ** 3 * 0.9


def height_bubbles(w, h, rng):
    x, y = _grid(w, h)
    out = np.zeros((h, w))
    for _ in range(26):
        cx, cy, r = rng.uniform(0, w), rng.uniform(0, h), rng.uniform(2.5, 6.5)
        dd = np.hypot(x - cx, y - cy) / r
        out = np.maximum(out, np.sqrt(np.clip(1 - dd ** 2, 0, 1)))
    return out


SWATCHES = {
    9: ("plaster", height_plaster, hexc("#FFF1DC"), 1.5, -2.0),
    10: ("cloth", height_cloth, hexc("#6FA8F5"), 1.6, 1.5),
    11: ("waves", height_waves, hexc("#4FC3F7"), 1.6, -1.5),
    12: ("pebbles", height_pebbles, hexc("#B9B3C6"), 1.8, 2.0),
    13: ("cells", height_cells, hexc("#B7773D"), 1.8, -1.0),
    14: ("bubbles", height_bubbles, hexc("#6CD46A"), 1.6, 1.5),
}


def swatch(index):
    name, hfn, base, strength, tilt = SWATCHES[index]

    def draw(c, w, h):
        rng = np.random.default_rng(900 + index)
        hm = hfn(w, h, rng)
        tex = emboss(hm, base, strength)
        rgba = np.concatenate([tex, np.ones((h, w, 1))], axis=2)
        surf = surface_from(rgba)
        c.save()
        c.translate(w / 2, h / 2)
        c.rotate(math.radians(tilt))
        c.translate(-w / 2, -h / 2)
        # edge (thickness) then the face
        rrect(c, 2.4, 3.2, w - 4.4, h - 4.6, 3.5)
        paint(c, darker(base, 0.35), OUT, 1.3)
        rrect(c, 1.6, 1.4, w - 4.4, h - 4.8, 3.5)
        path = c.copy_path()
        c.save()
        c.append_path(path)
        c.clip()
        c.set_source_surface(surf, 0, 0)
        c.paint()
        c.rectangle(0, 0, w, h)
        c.set_source(lgrad(0, 0, w, h, (0, (1, 1, 1, 0.25)), (0.5, (1, 1, 1, 0)), (1, (0, 0, 0, 0.12))))
        c.fill()
        c.restore()
        c.append_path(path)
        paint(c, None, OUT, 1.4)
        c.restore()
    return draw


# ------------------------------------------------------------------ group 2: the three books

BOOKS = {15: (hexc("#3DAA4A"), "3", "nature", -2.5), 16: (hexc("#3E7BEA"), "2", "things", 2.0),
         17: (hexc("#E8383D"), "1", "shapes", -1.5)}


def book(index):
    col, label, theme, tilt = BOOKS[index]

    def emblem(c, cx, cy, s):
        if theme == "nature":
            # a flower and a leaf
            for k in range(5):
                a = k * 2 * math.pi / 5
                ellipse(c, cx + 4.2 * s * math.cos(a), cy + 4.2 * s * math.sin(a), 3.2 * s, 3.2 * s)
                paint(c, hexc("#FFE03A"), OUT, 0.9)
            ellipse(c, cx, cy, 2.6 * s, 2.6 * s)
            paint(c, hexc("#FF8A3D"), OUT, 0.9)
            c.save()
            c.translate(cx + 11 * s, cy + 3 * s)
            c.rotate(-0.6)
            ellipse(c, 0, 0, 5.5 * s, 2.6 * s)
            paint(c, hexc("#9BE27A"), OUT, 0.9)
            c.restore()
        elif theme == "things":
            # a little house and a ball
            poly(c, [(cx - 6 * s, cy), (cx, cy - 6 * s), (cx + 6 * s, cy)])
            paint(c, hexc("#FF6B5E"), OUT, 0.9)
            c.rectangle(cx - 4.5 * s, cy, 9 * s, 6.5 * s)
            paint(c, hexc("#FFF1DC"), OUT, 0.9)
            c.rectangle(cx - 1.3 * s, cy + 2.5 * s, 2.6 * s, 4 * s)
            paint(c, hexc("#8B5A2B"), None, 0)
            ellipse(c, cx + 11 * s, cy + 3.5 * s, 3.2 * s, 3.2 * s)
            paint(c, hexc("#FFD23F"), OUT, 0.9)
        else:
            star_path(c, cx - 3 * s, cy, 5.5 * s, 2.4 * s)
            paint(c, hexc("#FFE03A"), OUT, 0.9)
            c.new_sub_path()
            x, y, r = cx + 9 * s, cy + 1 * s, 3.6 * s
            c.move_to(x, y + r)
            c.curve_to(x - 2.2 * r, y - 0.2 * r, x - 0.9 * r, y - 1.6 * r, x, y - 0.6 * r)
            c.curve_to(x + 0.9 * r, y - 1.6 * r, x + 2.2 * r, y - 0.2 * r, x, y + r)
            c.close_path()
            paint(c, hexc("#FF8FB1"), OUT, 0.9)

    def draw(c, w, h):
        c.save()
        c.translate(w / 2, h / 2)
        c.rotate(math.radians(tilt))
        c.translate(-w / 2, -h / 2)
        cw, ch = w - 9, h - 9
        # pages (the book's thickness), then the cover
        rrect(c, 5, 6, cw, ch, 3)
        paint(c, hexc("#FFF8E8"), OUT, 1.3)
        for k in range(1, 4):
            line(c, [(8, 6 + ch + 0.2 - k * 1.2 + 0.2), (4 + cw, 6 + ch - k * 1.2 + 0.2)], (0.7, 0.6, 0.5, 0.5), 0.6)
        rrect(c, 2, 2.5, cw, ch, 3)
        paint(c, lgrad(0, 2, 0, 2 + ch, (0, lighter(col, 0.25)), (1, darker(col, 0.12))), OUT, 1.4)
        # spine band on the left
        rrect(c, 2, 2.5, 8, ch, 3)
        paint(c, darker(col, 0.25), OUT, 1.2)
        rrect(c, 13, 6, cw - 15, ch - 8, 2.5)
        paint(c, None, (1, 0.95, 0.6, 0.85), 1.2)
        # number badge and emblem
        bx, by = 22, 2.5 + ch / 2
        ellipse(c, bx, by, 7.5, 7.5)
        paint(c, (1, 1, 0.94), OUT, 1.1)
        text(c, label, bx, by + 5, 14, OUT, align="centre")
        s = min(1.0, (cw - 36) / 40)
        emblem(c, 34 + (cw - 36) / 2 - 2, by, s)
        shine(c, 12, 4.3, cw - 18, 2, 0.45)
        c.restore()
    return draw


# ------------------------------------------------------------------ group 3: the magic tools

def pocket_knife(c, w, h):
    # blade
    c.new_sub_path()
    c.move_to(29, 4.5)
    c.line_to(48, 4.5)
    c.curve_to(52, 5, 54.5, 6, 55.4, 7.8)
    c.line_to(29, 10.5)
    c.close_path()
    paint(c, lgrad(0, 4, 0, 11, (0, (1, 1, 1)), (1, STEEL)), OUT, 1.2)
    line(c, [(31, 8.6), (52, 7.8)], (1, 1, 1, 0.8), 0.8)
    # handle
    rrect(c, 1, 3.2, 30, 10.2, 4.8)
    paint(c, lgrad(0, 3, 0, 13, (0, lighter(RED, 0.25)), (1, darker(RED, 0.2))), OUT, 1.3)
    for x in (6, 26):
        ellipse(c, x, 8.3, 1.3, 1.3)
        paint(c, SILVER, OUT, 0.6)
    rrect(c, 11, 6.2, 10, 4.2, 2)
    paint(c, hexc("#FFF1DC"), OUT, 0.8)
    shine(c, 4, 4.8, 20, 1.6, 0.55)


def sunglasses(c, w, h):
    # arms folded back toward the top right
    line(c, [(47, 18), (79, 3.5), (84, 4.5)], OUT, 3.6)
    line(c, [(47, 18), (79, 3.5), (84, 4.5)], hexc("#FF5FA2"), 2.0)
    line(c, [(74, 16), (82, 8)], OUT, 3.4)
    line(c, [(74, 16), (82, 8)], hexc("#FF5FA2"), 1.8)
    for cx, cy in ((20, 24.5), (59, 23.5)):
        c.new_sub_path()
        rrect(c, cx - 17, cy - 9.5, 34, 19, 8)
        paint(c, hexc("#FF5FA2"), OUT, 1.4)
        rrect(c, cx - 14.5, cy - 7.2, 29, 14.4, 6.2)
        paint(c, lgrad(0, cy - 7, 0, cy + 7, (0, hexc("#6A4FB8")), (1, hexc("#1D1440"))), OUT, 1.0)
        poly(c, [(cx - 10, cy - 5.5), (cx - 3, cy - 5.5), (cx - 9, cy + 3), (cx - 12, cy + 1)])
        c.set_source_rgba(1, 1, 1, 0.45)
        c.fill()
    # bridge
    c.new_sub_path()
    c.move_to(37, 21)
    c.curve_to(39, 17.5, 40, 17.5, 42.5, 20.5)
    c.set_source_rgb(*OUT)
    c.set_line_width(3.6)
    c.stroke()
    c.new_sub_path()
    c.move_to(37, 21)
    c.curve_to(39, 17.5, 40, 17.5, 42.5, 20.5)
    c.set_source_rgb(*hexc("#FF5FA2"))
    c.set_line_width(2.0)
    c.stroke()


def lightbulb(c, w, h):
    c.save()
    along(c, 8.5, 26.5, 34, 12.5)
    # screw base
    for k in range(4):
        rrect(c, 1 + k * 3.2, -5.2, 3.6, 10.4, 1.4)
        paint(c, lgrad(0, -5, 0, 5, (0, (1, 1, 1)), (1, STEEL)), OUT, 0.9)
    ellipse(c, -0.5, 0, 2.2, 3.2)
    paint(c, hexc("#4A4458"), OUT, 0.8)
    # glass globe
    c.new_sub_path()
    c.move_to(13.5, -5.5)
    c.curve_to(18, -6, 19, -12, 28, -12)
    c.curve_to(36.5, -12, 41, -6.5, 41, 0)
    c.curve_to(41, 6.5, 36.5, 12, 28, 12)
    c.curve_to(19, 12, 18, 6, 13.5, 5.5)
    c.close_path()
    paint(c, rgrad(29, -2, 1, 15, (0, hexc("#FFFDE0")), (0.6, hexc("#FFE97A")), (1, hexc("#FFC83A"))), OUT, 1.4)
    # filament
    c.new_sub_path()
    c.move_to(15, -2)
    c.line_to(24, -2.5)
    for k in range(4):
        c.curve_to(25 + k * 2, -5, 26 + k * 2, -5, 26 + k * 2, -2.5)
    c.move_to(15, 2)
    c.line_to(32, 2)
    c.line_to(32, -2.5)
    c.set_source_rgb(*hexc("#C87A10"))
    c.set_line_width(1.0)
    c.stroke()
    shine(c, 26, -9.5, 9, 3, 0.75)
    c.restore()
    sparkle(c, 42, 5.5, 4.2, hexc("#FFB020"))
    sparkle(c, 42, 5.5, 2.8, (1, 1, 1))


def rag(c, w, h):
    c.new_sub_path()
    pts = [(3, 14), (10, 4), (22, 6), (33, 2), (46, 5), (57, 11), (55, 20), (58, 28), (45, 32), (33, 29),
           (20, 32.5), (8, 29), (2, 22)]
    c.move_to(*pts[0])
    n = len(pts)
    for k in range(1, n + 1):
        p0, p1 = pts[k - 1], pts[k % n]
        mx, my = (p0[0] + p1[0]) / 2, (p0[1] + p1[1]) / 2
        c.curve_to(p0[0] + (p1[0] - p0[0]) * 0.3, p0[1] + (p1[1] - p0[1]) * 0.3 - 1.5,
                   mx + (p1[0] - mx) * 0.6, my + (p1[1] - my) * 0.6 - 1.5, p1[0], p1[1])
    c.close_path()
    path = c.copy_path()
    paint(c, (1, 1, 1), None, 0)
    c.save()
    c.append_path(path)
    c.clip()
    # red gingham, folded along wavy lines
    for k in range(0, 64, 6):
        c.rectangle(k, 0, 3, 40)
        c.set_source_rgba(*RED, 0.55)
        c.fill()
    for k in range(0, 40, 6):
        c.rectangle(0, k, 64, 3)
        c.set_source_rgba(*RED, 0.55)
        c.fill()
    for y0, a in ((13, 0.25), (22, 0.22)):
        c.new_sub_path()
        c.move_to(0, y0)
        c.curve_to(15, y0 - 5, 30, y0 + 6, 60, y0 - 2)
        c.set_source_rgba(0.4, 0.05, 0.1, a)
        c.set_line_width(2.2)
        c.stroke()
        c.new_sub_path()
        c.move_to(0, y0 - 1.8)
        c.curve_to(15, y0 - 6.8, 30, y0 + 4.2, 60, y0 - 3.8)
        c.set_source_rgba(1, 1, 1, 0.35)
        c.set_line_width(1.4)
        c.stroke()
    c.restore()
    c.append_path(path)
    paint(c, None, OUT, 1.4)


def crayon(c, w, h):
    c.save()
    L = along(c, 1, 10.4, 52, 5.6)
    c.rectangle(9, -4.3, L - 12, 8.6)
    paint(c, RED, OUT, 1.2)
    # wrapper in three bands: red, green, blue
    for k, col in enumerate((RED, GREEN, BLUE)):
        x = 14 + k * 11
        poly(c, [(x, -4.3), (x + 11, -4.3), (x + 11, 4.3), (x, 4.3)])
        paint(c, col, OUT, 0.9)
        line(c, [(x + 1.5, -2.2), (x + 3.5, 2.2), (x + 5.5, -2.2), (x + 7.5, 2.2), (x + 9.5, -2.2)],
             (1, 1, 1, 0.7), 0.9)
    rrect(c, L - 4, -4.3, 4, 8.6, 1.5)
    paint(c, RED, OUT, 1.1)
    poly(c, [(9, -4.3), (1.5, -1.2), (0.5, 0), (1.5, 1.2), (9, 4.3)])
    paint(c, lighter(RED, 0.15), OUT, 1.1)
    line(c, [(10, -2.5), (L - 4, -2.5)], (1, 1, 1, 0.35), 1.0)
    c.restore()


def pepper(c, w, h):
    # body: glass with pepper
    c.new_sub_path()
    c.move_to(3, 12)
    c.curve_to(1, 18, 1, 28, 2.5, 32.5)
    c.line_to(14.5, 32.5)
    c.curve_to(16, 28, 16, 18, 14, 12)
    c.close_path()
    path = c.copy_path()
    paint(c, lgrad(0, 0, 17, 0, (0, hexc("#F5F7FF")), (1, hexc("#C6CEDD"))), None, 0)
    c.save()
    c.append_path(path)
    c.clip()
    c.rectangle(0, 17, 17, 20)
    c.set_source_rgb(*hexc("#6C6676"))
    c.fill()
    rng = np.random.default_rng(23)
    for _ in range(40):
        x, y = rng.uniform(1, 16), rng.uniform(17, 33)
        ellipse(c, x, y, 0.6, 0.6)
        c.set_source_rgb(*(hexc("#2B2633") if rng.uniform() < 0.6 else hexc("#A9A2B5")))
        c.fill()
    c.restore()
    c.append_path(path)
    paint(c, None, OUT, 1.3)
    # silver cap with holes
    c.new_sub_path()
    c.move_to(2.8, 12.5)
    c.curve_to(2.8, 3, 14.2, 3, 14.2, 12.5)
    c.close_path()
    paint(c, lgrad(0, 4, 0, 13, (0, (1, 1, 1)), (1, STEEL)), OUT, 1.3)
    for x, y in ((6.5, 8.5), (10.5, 8.5), (8.5, 6.2), (8.5, 10.3)):
        ellipse(c, x, y, 0.8, 0.8)
        c.set_source_rgb(*OUT)
        c.fill()
    rrect(c, 2.2, 11.6, 12.6, 2.6, 1)
    paint(c, SILVER, OUT, 0.9)
    shine(c, 3.5, 15, 1.8, 14, 0.6)


# ------------------------------------------------------------------ group 4: the toys

def hammer_chisel(c, w, h):
    # chisel
    c.save()
    L = along(c, 14, 33, 49, 17)
    rrect(c, 0, -3.2, 17, 6.4, 2.6)
    paint(c, lgrad(0, -3, 0, 3, (0, lighter(ORANGE, 0.3)), (1, darker(ORANGE, 0.2))), OUT, 1.2)
    rrect(c, 16, -1.8, 3, 3.6, 0.8)
    paint(c, STEEL, OUT, 0.8)
    poly(c, [(18.5, -1.7), (L - 6, -1.7), (L - 0.8, 0), (L - 6, 1.7), (18.5, 1.7)])
    paint(c, lgrad(0, -2, 0, 2, (0, (1, 1, 1)), (1, STEEL)), OUT, 1.0)
    c.restore()
    # hammer
    c.save()
    L = along(c, 3, 32, 31, 8)
    rrect(c, 0, -2.6, L - 1, 5.2, 2.4)
    paint(c, lgrad(0, -3, 0, 3, (0, lighter(WOOD, 0.3)), (1, darker(WOOD, 0.2))), OUT, 1.2)
    rrect(c, 0, -2.9, 9, 5.8, 2.5)
    paint(c, hexc("#E8473E"), OUT, 1.1)
    c.restore()
    c.save()
    c.translate(31, 8)
    c.rotate(math.atan2(-24, 28) + math.pi / 2)
    rrect(c, -12, -4.6, 24, 9.2, 2)
    paint(c, lgrad(0, -4.6, 0, 4.6, (0, hexc("#E6EAF2")), (1, hexc("#7D869A"))), OUT, 1.3)
    rrect(c, -13.5, -4, 3, 8, 1)
    paint(c, hexc("#8B93A6"), OUT, 1.0)
    shine(c, -9, -3.2, 16, 1.6, 0.6)
    c.restore()


def ball(c, w, h):
    ellipse(c, 12, 12, 10.8, 10.8)
    paint(c, (1, 1, 1), None, 0)
    c.save()
    ellipse(c, 12, 12, 10.8, 10.8)
    c.clip()
    cols = [RED, YELLOW, BLUE, (1, 1, 1), GREEN, ORANGE]
    for k in range(6):
        a0 = k * math.pi / 3 - 0.3
        c.new_sub_path()
        c.move_to(12, 12)
        c.arc(12, 12, 13, a0, a0 + math.pi / 3)
        c.close_path()
        c.set_source_rgb(*cols[k])
        c.fill()
    c.rectangle(0, 0, 24, 24)
    c.set_source(rgrad(12, 12, 2, 12, (0, (1, 1, 1, 0)), (0.7, (0, 0, 0, 0.05)), (1, (0, 0, 0, 0.3)),
                       fx=9, fy=8))
    c.fill()
    c.restore()
    ellipse(c, 12, 12, 3, 3)
    paint(c, (1, 1, 1), OUT, 0.8)
    ellipse(c, 12, 12, 10.8, 10.8)
    paint(c, None, OUT, 1.4)
    shine(c, 5.5, 5, 5, 3, 0.8)


def gear(c, cx, cy, r, teeth, col, hole):
    c.new_sub_path()
    n = teeth * 4
    for k in range(n + 1):
        a = k * 2 * math.pi / n
        rr = r if (k // 2) % 2 == 0 else r * 0.78
        x, y = cx + rr * math.cos(a + math.pi / n), cy + rr * math.sin(a + math.pi / n)
        if k == 0:
            c.move_to(x, y)
        else:
            c.line_to(x, y)
    c.close_path()
    paint(c, rgrad(cx - r * 0.3, cy - r * 0.3, 1, r * 1.2, (0, lighter(col, 0.35)), (1, darker(col, 0.15))),
          OUT, 1.3)
    ellipse(c, cx, cy, r * 0.52, r * 0.52)
    paint(c, None, darker(col, 0.3), 1.2)
    ellipse(c, cx, cy, hole, hole)
    paint(c, hexc("#FFF1DC"), OUT, 1.1)


def cog(c, w, h):
    # kept above the caption strip, which covers the bottom three rows
    gear(c, 18, 13.5, 12.8, 8, ORANGE, 3.4)
    gear(c, 43.5, 15.5, 9.8, 7, hexc("#3FC1C9"), 2.6)
    shine(c, 10, 4.5, 8, 2.4, 0.5)


def wand(c, w, h):
    c.save()
    L = along(c, 3, 17.5, 94, 9.5)
    rrect(c, 0, -2.2, L, 4.4, 2.2)
    paint(c, hexc("#2B2140"), OUT, 1.1)
    rrect(c, 0, -2.2, 11, 4.4, 2.2)
    paint(c, (1, 1, 1), OUT, 1.0)
    rrect(c, L - 10, -2.2, 10, 4.4, 2.2)
    paint(c, (1, 1, 1), OUT, 1.0)
    line(c, [(12, -0.9), (L - 12, -0.9)], (1, 1, 1, 0.4), 0.9)
    c.restore()
    star_path(c, 103, 10.5, 10, 4.3, rot=-1.45)
    paint(c, rgrad(101, 8, 1, 10, (0, hexc("#FFF7B0")), (1, hexc("#FFC83A"))), OUT, 1.4)
    sparkle(c, 84, 4, 3.6, hexc("#FF8FB1"))
    sparkle(c, 91, 17.5, 2.8, hexc("#8FE3FF"))
    sparkle(c, 72, 3, 2.4, hexc("#FFE03A"))


def needle_thread(c, w, h):
    # spool lying on its side
    rrect(c, 7, 8, 18, 24, 2)
    paint(c, lgrad(7, 0, 25, 0, (0, lighter(RED, 0.2)), (0.4, lighter(RED, 0.4)), (1, darker(RED, 0.25))),
          OUT, 1.2)
    for k in range(6):
        line(c, [(7.5, 10.5 + k * 3.8), (24.5, 11.8 + k * 3.8)], (0.55, 0.08, 0.1, 0.45), 0.8)
    for y in (6.5, 33.5):
        rrect(c, 4, y - 2.8, 24, 5.6, 2.4)
        paint(c, lgrad(0, y - 3, 0, y + 3, (0, lighter(WOOD, 0.35)), (1, darker(WOOD, 0.1))), OUT, 1.2)
    # thread running to the needle's eye
    c.new_sub_path()
    c.move_to(24, 20)
    c.curve_to(33, 24, 31, 34, 38, 31)
    c.curve_to(44, 28, 41, 12, 45.5, 6.5)
    c.set_source_rgb(*RED)
    c.set_line_width(1.4)
    c.stroke()
    # needle
    c.save()
    L = along(c, 33, 35, 48.5, 2)
    poly(c, [(0, 0), (4, -1.6), (L - 4, -1.5), (L, -0.8), (L, 0.8), (L - 4, 1.5), (4, 1.6)])
    paint(c, lgrad(0, -1.5, 0, 1.5, (0, (1, 1, 1)), (1, STEEL)), OUT, 0.9)
    ellipse(c, L - 3, 0, 1.6, 0.6)
    paint(c, hexc("#FFF1DC"), None, 0)
    c.restore()


def paintball_gun(c, w, h):
    # hopper with coloured paint balls
    rrect(c, 24, 1.5, 20, 13, 5)
    paint(c, lgrad(24, 0, 44, 0, (0, hexc("#E9F7FF")), (1, hexc("#AEDBF2"))), OUT, 1.3)
    for x, y, col in ((29, 6, RED), (35, 5.5, YELLOW), (40.5, 7, BLUE), (32, 10.5, GREEN), (38, 11, PINK),
                      (27.5, 11, ORANGE)):
        ellipse(c, x, y, 2.8, 2.8)
        paint(c, col, OUT, 0.7)
    rrect(c, 29, 13, 10, 4, 1)
    paint(c, STEEL, OUT, 1.0)
    # grip and trigger
    c.save()
    c.translate(17, 22)
    c.rotate(0.28)
    rrect(c, -4.5, 0, 10, 15.5, 3)
    paint(c, lgrad(-5, 0, 5, 0, (0, hexc("#FF8A3D")), (1, hexc("#D9581A"))), OUT, 1.3)
    for k in range(3):
        line(c, [(-3, 5 + k * 3.5), (3.5, 5 + k * 3.5)], (0.6, 0.25, 0.05, 0.6), 0.9)
    c.restore()
    c.new_sub_path()
    c.move_to(26, 23)
    c.curve_to(26, 31, 34, 31, 36, 23)
    c.set_source_rgb(*OUT)
    c.set_line_width(1.8)
    c.stroke()
    line(c, [(29.5, 23), (30.5, 27.5)], OUT, 2.0)
    # body and barrel
    rrect(c, 4, 14, 56, 11, 5)
    paint(c, lgrad(0, 14, 0, 25, (0, hexc("#9BE27A")), (1, hexc("#3FA83A"))), OUT, 1.4)
    rrect(c, 56, 15.8, 16.5, 7.4, 2.5)
    paint(c, lgrad(0, 15, 0, 23, (0, hexc("#8FC2FF")), (1, hexc("#2F74C2"))), OUT, 1.3)
    rrect(c, 70.5, 14.8, 3.8, 9.4, 1.5)
    paint(c, hexc("#FFD23F"), OUT, 1.1)
    ellipse(c, 12, 19.5, 3, 3)
    paint(c, hexc("#FFD23F"), OUT, 1.0)
    shine(c, 8, 15.5, 44, 2.2, 0.55)
    # a splat of paint flying from the muzzle
    for x, y, r, col in ((70, 6, 2.6, PINK), (64, 4, 1.6, PINK), (73, 30, 2.2, PURPLE), (66, 33, 1.4, PURPLE)):
        ellipse(c, x, y, r, r)
        paint(c, col, OUT, 0.8)


# ------------------------------------------------------------------ assembly

DRAW = {0: pencil, 1: brush, 2: eraser, 3: spray_can, 4: ruler, 5: templates, 6: jar, 7: dropper, 8: scissors,
        18: pocket_knife, 19: sunglasses, 20: lightbulb, 21: rag, 22: crayon, 23: pepper, 24: hammer_chisel,
        25: ball, 26: cog, 27: wand, 28: needle_thread, 29: paintball_gun}
for _k in SWATCHES:
    DRAW[_k] = swatch(_k)
for _k in BOOKS:
    DRAW[_k] = book(_k)


def ground(index):
    l, t, r, b = scene.OBJECTS[index][3]
    return room.table_base()[t + 96:b + 96, l:r]


@lru_cache(None)
def render(index):
    l, t, r, b = scene.OBJECTS[index][3]
    w, h = r - l, b - t
    cv = Canvas(w, h)
    clip_poly(cv.ctx, scene.outline_of(index))
    DRAW[index](cv.ctx, w, h)
    return cutout(cv.rgba(), ground(index))


def polygon_mask(index):
    l, t, r, b = scene.OBJECTS[index][3]
    cv = Canvas(r - l, b - t)
    poly(cv.ctx, scene.outline_of(index))
    cv.ctx.set_source_rgb(1, 1, 1)
    cv.ctx.fill()
    return cv.rgba()[..., 3] >= 0.5


def check_objects():
    probs = []
    for index in range(30):
        _, mask = render(index)
        inside = polygon_mask(index)
        m = mask == 255
        if m.sum() == 0:
            probs.append(f"object {index}: empty picture")
            continue
        out = (m & ~inside).sum()
        if out > 0.03 * m.sum():
            probs.append(f"object {index}: {out} of {m.sum()} object pixels lie outside its outline")
        cover = m.sum() / max(inside.sum(), 1)
        if cover < 0.25:
            probs.append(f"object {index}: fills only {cover:.0%} of its outline")
    # the cog's last three rows lie under the caption strip
    _, mask = render(26)
    if mask[-3:].any():
        probs.append("object 26: drawn into the rows the caption strip covers")
    return probs


ENTRIES = []
NAMES = {0: "pencil", 1: "brush", 2: "eraser", 3: "spray_can", 4: "ruler", 5: "templates", 6: "jar",
         7: "dropper", 8: "scissors", 9: "swatch_plaster", 10: "swatch_cloth", 11: "swatch_waves",
         12: "swatch_pebbles", 13: "swatch_bark", 14: "swatch_bubbles", 15: "book_volume3", 16: "book_volume2",
         17: "book_volume1", 18: "pocket_knife", 19: "sunglasses", 20: "lightbulb", 21: "rag", 22: "crayon",
         23: "pepper", 24: "hammer_chisel", 25: "ball", 26: "cog", 27: "wand", 28: "needle_thread",
         29: "paintball_gun"}
for _i, (_g, _img, _msk, (_l, _t, _r, _b), _, _) in enumerate(scene.OBJECTS):
    _w, _h = _r - _l, _b - _t
    ENTRIES.append(Entry("BITMAP", "paint", _img, f"paint/objects/{_img}_{NAMES[_i]}.bmp", _w, _h, 24,
                         f"object {_i} on the table",
                         make=(lambda i=_i: Image.fromarray(render(i)[0], "RGB"))))
    ENTRIES.append(Entry("MASK", "paint", _msk, f"paint/objects/{_msk}_{NAMES[_i]}_mask.bmp", _w, _h, 8,
                         f"mask of object {_i}", make=(lambda i=_i: Image.fromarray(render(i)[1], "L")),
                         extra={"image": _img}))
CHECKS = [check_objects]

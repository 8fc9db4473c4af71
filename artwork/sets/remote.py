"""The remote control panel: the big purple remote (228 x 240) with its eight labelled buttons and the
"Back" strip, its mask, the lit buttons (each the size of its button rectangle) and the indicator light."""
from __future__ import annotations

import math
from functools import lru_cache

import numpy as np
from PIL import Image

from common import Entry
from draw import (OUT, Canvas, cutout, darker, ellipse, glow, hexc, layer_over, lgrad, lighter, line, paint, poly,
                  rgrad, rrect, shine, solid, sparkle, text, to_u8)

W, H = 228, 240
BUTTONS = [("Quit", (31, 7, 102, 46), "#F0443A"), ("Save", (29, 46, 101, 87), "#3FB950"),
           ("New", (26, 88, 101, 131), "#F5B400"), ("Open", (23, 132, 101, 179), "#3E8EF0"),
           ("About", (125, 7, 195, 46), "#FF8A1C"), ("Help", (125, 46, 198, 87), "#16B6C8"),
           ("Prefs", (126, 88, 201, 131), "#F062B0"), ("Gallery", (127, 132, 205, 179), "#7CC22E")]
BACK = (20, 221, 81, 235)
LIGHT = (104, 2, 122, 19)


def body_path(c):
    tl, tr, bl, br = (25.5, 0.8), (210.5, 0.8), (12.8, 239.2), (223.2, 239.2)
    r = 12
    c.new_sub_path()
    c.move_to(tl[0] + r, tl[1])
    c.line_to(tr[0] - r, tr[1])
    c.curve_to(tr[0] - 2, tr[1], tr[0], tr[1] + 2, tr[0] + 0.6, tr[1] + r)
    c.line_to(br[0] - 0.1, br[1] - r)
    c.curve_to(br[0], br[1] - 2, br[0] - 2, br[1], br[0] - r, br[1])
    c.line_to(bl[0] + r, bl[1])
    c.curve_to(bl[0] + 2, bl[1], bl[0], bl[1] - 2, bl[0] + 0.1, bl[1] - r)
    c.line_to(tl[0] - 0.6, tl[1] + r)
    c.curve_to(tl[0], tl[1] + 2, tl[0] + 2, tl[1], tl[0] + r, tl[1])
    c.close_path()


def draw_button(c, label, rect, colour, lit):
    l, t, r, b = rect
    col = hexc(colour)
    press = 2.0 if lit else 0.0
    x, y, w, h = l + 3, t + 3 + press, r - l - 6, b - t - 9
    if lit:
        col = lighter(col, 0.25)
    # thickness under the key
    rrect(c, x, y + 3 - press * 0.8, w, h, 9)
    paint(c, darker(col, 0.45), OUT, 1.4)
    rrect(c, x, y, w, h, 9)
    paint(c, lgrad(0, y, 0, y + h, (0, lighter(col, 0.35)), (1, darker(col, 0.08))), OUT, 1.5)
    shine(c, x + 6, y + 2.5, w - 12, 4, 0.55 if not lit else 0.75)
    size = 17 if len(label) <= 5 else 15.5
    text(c, label, x + w / 2, y + h / 2 + size * 0.36, size, (1, 1, 1), align="centre", outline=OUT, olw=3.2)


def draw_light(c, lit):
    l, t, r, b = LIGHT
    cx, cy = (l + r) / 2, (t + b) / 2 + 0.5
    rrect(c, l + 1, t + 1.5, r - l - 2, b - t - 2.5, 5)
    paint(c, hexc("#4A2A86"), OUT, 1.1)
    ellipse(c, cx, cy, 5.2, 5.2)
    if lit:
        paint(c, rgrad(cx - 1.5, cy - 1.5, 0.5, 6, (0, hexc("#FFF2A8")), (0.5, hexc("#FF5A3C")),
                       (1, hexc("#D01E10"))), OUT, 1.1)
        sparkle(c, cx + 3.5, cy - 3.5, 3.2, (1, 1, 0.85))
    else:
        paint(c, rgrad(cx - 1.5, cy - 1.5, 0.5, 6, (0, hexc("#B3504A")), (1, hexc("#5A1A1A"))), OUT, 1.1)
        ellipse(c, cx - 1.6, cy - 1.8, 1.4, 1.0)
        c.set_source_rgba(1, 1, 1, 0.5)
        c.fill()


@lru_cache(None)
def remote_layer(lit_index=-1, light_on=False):
    cv = Canvas(W, H)
    c = cv.ctx
    body_path(c)
    paint(c, lgrad(0, 0, W, 0, (0, hexc("#B48CF7")), (0.45, hexc("#9A6AEB")), (1, hexc("#6A3FC0"))), OUT, 2.0)
    # a soft inner face
    c.save()
    body_path(c)
    c.clip()
    c.rectangle(0, 0, W, 8)
    c.set_source(lgrad(0, 0, 0, 8, (0, (1, 1, 1, 0.35)), (1, (1, 1, 1, 0))))
    c.fill()
    poly(c, [(20, 186), (216, 186), (224, 240), (10, 240)])
    c.set_source_rgba(*hexc("#4A2A86"), 0.25)
    c.fill()
    c.restore()
    # middle column: little paint drops in rainbow order
    for k, col in enumerate(["#F0443A", "#FF9F1C", "#FFE03A", "#4CC24A", "#3E8EF0", "#9B5DE5"]):
        y = 36 + k * 25
        c.new_sub_path()
        c.move_to(113.5, y - 6)
        c.curve_to(117, y - 1, 118, y + 1, 118, y + 2.5)
        c.arc(113.5, y + 2.5, 4.5, 0, math.pi)
        c.curve_to(109, y + 1, 110, y - 1, 113.5, y - 6)
        c.close_path()
        paint(c, hexc(col), OUT, 1.1)
    for k, (label, rect, colour) in enumerate(BUTTONS):
        draw_button(c, label, rect, colour, k == lit_index)
    draw_light(c, light_on)
    # the Back strip
    l, t, r, b = BACK
    rrect(c, l + 0.5, t + 0.5, r - l - 1, b - t - 1, 6)
    paint(c, lgrad(0, t, 0, b, (0, hexc("#FFF6B8")), (1, hexc("#FFD23F"))), OUT, 1.3)
    poly(c, [(l + 6, (t + b) / 2), (l + 12, t + 3.5), (l + 12, b - 3.5)])
    paint(c, hexc("#F0443A"), OUT, 0.9)
    text(c, "Back", (l + r) / 2 + 5, b - 3.6, 12.5, OUT, align="centre")
    # name plate
    text(c, "Tintwell", 160, 216, 19, hexc("#F3EAFF"), align="centre", outline=hexc("#4A2A86"), olw=3)
    for k in range(5):
        ellipse(c, 128 + k * 16, 229, 2.2, 2.2)
        c.set_source_rgba(*hexc("#4A2A86"), 0.6)
        c.fill()
    layer = cv.rgba()
    if lit_index >= 0:
        # a warm glow around the pressed key, kept inside its rectangle
        l, t, r, b = BUTTONS[lit_index][1]
        key = np.zeros((H, W))
        key[t + 4:b - 5, l + 4:r - 4] = 1
        g = glow(key, grow=1, blur=2.0) * 0.7
        halo = np.concatenate([solid(W, H, (1, 0.95, 0.55)), g[..., None]], axis=2)
        base = layer.copy()
        layer = layer_over(base, halo)
        cv2 = Canvas(W, H)
        draw_button(cv2.ctx, *BUTTONS[lit_index], True)
        layer = layer_over(layer, cv2.rgba())
        layer[..., 3] = base[..., 3]
    return layer


def picture(lit_index=-1, light_on=False):
    return cutout(remote_layer(lit_index, light_on), None, threshold=0.5)


def lit_button(k):
    l, t, r, b = BUTTONS[k][1]
    pic, _ = picture(k, False)
    return Image.fromarray(pic[t:b, l:r], "RGB")


def light():
    l, t, r, b = LIGHT
    pic, _ = picture(-1, True)
    return Image.fromarray(pic[t:b, l:r], "RGB")


def check_remote():
    probs = []
    _, mask = picture()
    for label, (l, t, r, b), _ in BUTTONS:
        if np.any(mask[t:b, l:r] == 0):
            probs.append(f"remote: the {label} button's rectangle reaches outside the remote")
    for name, (l, t, r, b) in (("Back", BACK), ("light", LIGHT)):
        if np.any(mask[t:b, l:r] == 0):
            probs.append(f"remote: the {name} rectangle reaches outside the remote")
    return probs


ENTRIES = [
    Entry("BITMAP", "paint", 123, "paint/remote/123_remote.bmp", W, H, 24, "remote control panel",
          make=lambda: Image.fromarray(picture()[0], "RGB")),
    Entry("MASK", "paint", 124, "paint/remote/124_remote_mask.bmp", W, H, 8, "mask of the remote",
          make=lambda: Image.fromarray(picture()[1], "L"), extra={"image": 123}),
]
for _k, (_label, (_l, _t, _r, _b), _) in enumerate(BUTTONS):
    ENTRIES.append(Entry("BITMAP", "paint", 125 + _k, f"paint/remote/{125 + _k}_lit_{_label.lower()}.bmp",
                         _r - _l, _b - _t, 24, f"lit {_label} button", make=(lambda k=_k: lit_button(k))))
ENTRIES.append(Entry("BITMAP", "paint", 133, "paint/remote/133_light.bmp", 18, 17, 24, "indicator light, lit",
                     make=light))
CHECKS = [check_remote]

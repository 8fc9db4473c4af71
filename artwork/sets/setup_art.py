"""The installer's pictures: the splash (100, 320 x 200, 8-bit), the logo on the agreement page (107,
72 x 34, 8-bit so that it shows well on any display the installer may meet) and its icon (108)."""
from __future__ import annotations

import math

import numpy as np
from PIL import Image

from common import Entry
from draw import OUT, Canvas, ellipse, hexc, lgrad, over_rgb, paint, poly, rrect, solid, sparkle, text, to_image
from sets.splash import border, brush_big, rainbow_arc, splat, title


def quantize(img):
    return img.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)


def box(c, x, y, w, h, lw=2.0):
    """An open parcel in Tintwell's colours."""
    poly(c, [(x, y + h * 0.28), (x + w, y + h * 0.28), (x + w, y + h), (x, y + h)])
    paint(c, lgrad(0, y, 0, y + h, (0, hexc("#6FB3FF")), (1, hexc("#2F74C2"))), OUT, lw)
    poly(c, [(x, y + h * 0.28), (x - w * 0.16, y + h * 0.05), (x + w * 0.38, y), (x + w * 0.5, y + h * 0.28)])
    paint(c, hexc("#8FC2FF"), OUT, lw)
    poly(c, [(x + w, y + h * 0.28), (x + w * 1.16, y + h * 0.05), (x + w * 0.62, y), (x + w * 0.5, y + h * 0.28)])
    paint(c, hexc("#4A9DE8"), OUT, lw)
    cols = ["#F0443A", "#FF9F1C", "#FFD23F", "#4CC24A"]
    band = h * 0.6 / len(cols) / 2
    for k, col in enumerate(cols):
        c.rectangle(x + lw / 2, y + h * 0.52 + k * band, w - lw, band + 0.3)
        c.set_source_rgb(*hexc(col))
        c.fill()


def setup_splash():
    w, h = 320, 200
    cv = Canvas(w, h)
    c = cv.ctx
    c.rectangle(0, 0, w, h)
    c.set_source(lgrad(0, 0, 0, h, (0, hexc("#1E3C9A")), (1, hexc("#3E8EF0"))))
    c.fill()
    rainbow_arc(c, 160, 190, 150, 30)
    for x, y, r in ((30, 30, 5), (290, 40, 6), (250, 20, 3), (70, 70, 3), (280, 120, 4)):
        sparkle(c, x, y, r, (1, 1, 0.85))
    title(c, "Tintwell", 160, 86, 56)
    text(c, "Setup", 160, 122, 24, (1, 1, 1), align="centre", outline=OUT, olw=3)
    c.save()
    box(c, 126, 134, 68, 52)
    c.restore()
    brush_big(c, 196, 146, 262, 110, hexc("#F0443A"))
    splat(c, 56, 168, 14, hexc("#FFD23F"), 11, drops=3)
    splat(c, 270, 172, 11, hexc("#4CC24A"), 12, drops=3)
    border(c, w, h, t=5)
    return quantize(to_image(over_rgb(solid(w, h, (1, 1, 1)), cv.rgba())))


def logo():
    w, h = 72, 34
    cv = Canvas(w, h)
    c = cv.ctx
    rrect(c, 0.5, 0.5, w - 1, h - 1, 7)
    paint(c, lgrad(0, 0, 0, h, (0, hexc("#FFF8E6")), (1, hexc("#FFE9B8"))), OUT, 1.2)
    splat(c, 13, 17, 7.5, hexc("#3E8EF0"), 21, drops=2)
    title(c, "Tintwell", 45, 21, 14.5, wobble=0.05, olw=1.8)
    return quantize(to_image(over_rgb(solid(w, h, (1, 1, 1)), cv.rgba())))


def setup_icon(size):
    cv = Canvas(size, size)
    c = cv.ctx
    s = size / 32.0
    c.scale(s, s)
    lw = 1.6 if size >= 32 else 2.2
    box(c, 6, 10, 20, 20, lw)
    if size >= 24:
        # the palette peeking out of the parcel
        ellipse(c, 16, 8.5, 7.5, 5.5)
        paint(c, hexc("#FFE2B0"), OUT, lw * 0.8)
        for x, y, col in ((12, 8, "#F0443A"), (16, 6.2, "#FFD23F"), (20, 8, "#4CC24A")):
            ellipse(c, x, y, 1.8, 1.6)
            paint(c, hexc(col), OUT, lw * 0.45)
    else:
        ellipse(c, 16, 8, 7, 5)
        paint(c, hexc("#FFE2B0"), OUT, lw * 0.8)
    rgba = cv.rgba()
    return Image.fromarray(np.round(rgba * 255).astype(np.uint8), "RGBA")


ENTRIES = [
    Entry("BITMAP", "setup", 100, "setup/100_splash.bmp", 320, 200, 8, "installer splash", make=setup_splash),
    Entry("BITMAP", "setup", 107, "setup/107_logo.bmp", 72, 34, 8, "logo on the agreement page", make=logo),
    Entry("ICON", "setup", 108, "setup/108_setup.ico", 32, 32, 32, "installer icon",
          make=lambda: [setup_icon(48), setup_icon(32), setup_icon(16)], extra={"sizes": [48, 32, 16]}),
]

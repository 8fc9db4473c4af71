"""The stamp picker: the open book (627 x 241) with eight stamp places, the Close tab under its lower
left corner, and the two page arrows that lie on the book's upper corners, each the size of its hot
rectangle (68 x 47). Every picture has a mask, white where it shows."""

import numpy as np
from PIL import Image

from common import Entry
from mediakit import (INK, ORANGE, YELLOW, GREEN, BLUE, PINK, PURPLE, canvas, to_pil, flat, rounded_rect, poly, paint,
                      gradient_fill, lighter, darker, text_centered_in, rgb, mix, star)

BW, BH = 627, 241
SLOTS = [(101, 50), (193, 50), (90, 134), (188, 134), (388, 50), (480, 50), (393, 134), (491, 134)]
PREV = (39, 14, 107, 61)
NEXT = (521, 14, 589, 61)
CLOSE = (10, 209, 66, 224)
COVER = (150, 52, 70)
PAGE = (255, 250, 236)
SPINE_X = 313.5


def page_path(c, left, right, top, bottom, spine_side):
    """A page whose top and bottom edges dip a little towards the spine."""
    if spine_side == "right":
        c.move_to(left, top + 2)
        c.curve_to(left + 120, top - 2, right - 60, top - 2, right, top + 6)
        c.line_to(right, bottom - 2)
        c.curve_to(right - 60, bottom - 8, left + 120, bottom - 6, left, bottom)
    else:
        c.move_to(left, top + 6)
        c.curve_to(left + 60, top - 2, right - 120, top - 2, right, top + 2)
        c.line_to(right, bottom)
        c.curve_to(right - 120, bottom - 6, left + 60, bottom - 8, left, bottom - 2)
    c.close_path()


def book_layers():
    s, c = canvas(BW, BH, 2)
    # the Close tab, tucked under the cover
    rounded_rect(c, CLOSE[0], 196, CLOSE[2] - CLOSE[0], CLOSE[3] - 196 + 0.5, 6)
    gradient_fill(c, 0, 196, 0, CLOSE[3], [(0, YELLOW), (1, lighter(ORANGE, 0.2))], INK, 1.6)
    # the cover
    rounded_rect(c, 3, 7, BW - 6, 203, 12)
    gradient_fill(c, 0, 7, 0, 210, [(0, lighter(COVER, 0.15)), (1, darker(COVER, 0.12))], INK, 2.0)
    rounded_rect(c, 8, 11, BW - 16, 195, 9)
    c.set_source_rgba(*rgb(lighter(COVER, 0.35), 0.6))
    c.set_line_width(1.2)
    c.set_dash([4, 3])
    c.stroke()
    c.set_dash([])
    # stacks of pages under the open pages
    for k in range(3, 0, -1):
        page_path(c, 17 - k * 0.5, SPINE_X, 11 + k * 1.8, 201 + k * 1.6, "right")
        paint(c, mix(PAGE, (200, 185, 160), 0.25 + 0.1 * k), INK, 0.8)
        page_path(c, SPINE_X, 610 + k * 0.5, 11 + k * 1.8, 201 + k * 1.6, "left")
        paint(c, mix(PAGE, (200, 185, 160), 0.25 + 0.1 * k), INK, 0.8)
    # the two open pages
    page_path(c, 18, SPINE_X, 10, 200, "right")
    gradient_fill(c, 18, 0, SPINE_X, 0, [(0, PAGE), (0.85, PAGE), (1, mix(PAGE, (190, 170, 140), 0.5))], INK, 1.2)
    page_path(c, SPINE_X, 609, 10, 200, "left")
    gradient_fill(c, SPINE_X, 0, 609, 0, [(0, mix(PAGE, (190, 170, 140), 0.5)), (0.15, PAGE), (1, PAGE)], INK, 1.2)
    c.move_to(SPINE_X, 14)
    c.line_to(SPINE_X, 197)
    c.set_source_rgba(*rgb(INK, 0.55))
    c.set_line_width(1.2)
    c.stroke()
    # places for the stamps: soft rounded squares, a little lower than the paper
    tints = [PINK, YELLOW, BLUE, GREEN, ORANGE, PURPLE, GREEN, PINK]
    for (x, y), tint in zip(SLOTS, tints):
        rounded_rect(c, x - 6 + 1.5, y - 6 + 2, 60, 60, 10)
        c.set_source_rgba(0.45, 0.35, 0.25, 0.18)
        c.fill()
        rounded_rect(c, x - 6, y - 6, 60, 60, 10)
        paint(c, mix(PAGE, tint, 0.16), mix(tint, INK, 0.35), 1.2)
    # little doodles on the free paper
    doodles = [(160, 110, YELLOW), (60, 182, PINK), (262, 182, BLUE), (455, 112, ORANGE), (360, 182, GREEN),
               (572, 182, PURPLE), (150, 25, GREEN), (455, 25, PINK)]
    for x, y, col in doodles:
        star(c, x, y, 6.5, 2.8)
        paint(c, lighter(col, 0.2), mix(col, INK, 0.4), 0.9)
    # the word on the tab
    text_centered_in(c, "Close", (CLOSE[0], CLOSE[1] - 1, CLOSE[2], CLOSE[3]), 13, colour=INK)
    return to_pil(s).resize((BW, BH), Image.LANCZOS)


def solid(img, edge=INK):
    """A masked picture: pixels the mask keeps get their own colour over the edge colour. The masked
    copy keeps the background where the picture is white, so outside the mask the picture is white."""
    a = np.asarray(img)
    keep = a[:, :, 3] >= 128
    rgb = np.asarray(flat(img, edge)).copy()
    rgb[~keep] = 255
    return Image.fromarray(rgb, "RGB"), Image.fromarray(np.where(keep, 255, 0).astype(np.uint8), "L")


_book = {}


def book(part):
    if not _book:
        _book["img"], _book["mask"] = solid(book_layers())
    return _book[part]


def arrow(direction):
    """A chunky page arrow filling its 68 x 47 hot rectangle, pointing left (-1) or right (+1)."""
    w, h = PREV[2] - PREV[0], PREV[3] - PREV[1]
    s, c = canvas(w, h, 4)
    c.translate(w / 2.0, h / 2.0)
    c.scale(-direction, 1)
    pts = [(-31, 0), (-8, -21.5), (-8, -10), (30.5, -10), (30.5, 10), (-8, 10), (-8, 21.5)]
    c.save()
    c.translate(1.5, 1.5)
    poly(c, pts)
    c.set_source_rgba(0.3, 0.2, 0.1, 0.0)
    c.fill()
    c.restore()
    poly(c, pts)
    c.set_line_join(1)
    gradient_fill(c, 0, -21, 0, 21, [(0, lighter(ORANGE, 0.45)), (0.55, ORANGE), (1, darker(ORANGE, 0.12))],
                  INK, 2.2)
    poly(c, [(-25, -1), (-9, -16), (-9, -7), (26, -7), (26, -3)])
    c.set_source_rgba(1, 1, 1, 0.35)
    c.fill()
    img = to_pil(s).resize((w, h), Image.LANCZOS)
    return solid(img, PAGE)


ENTRIES = [
    Entry("BITMAP", "paint", 134, "paint/book/134_book.bmp", BW, BH, 24, "stamp picker: the open book",
          make=lambda: book("img")),
    Entry("MASK", "paint", 135, "paint/book/135_book_mask.bmp", BW, BH, 8, "stamp picker: mask of the book",
          make=lambda: book("mask"), extra={"image": 134}),
    Entry("BITMAP", "paint", 176, "paint/book/176_prev_arrow.bmp", 68, 47, 24, "stamp picker: previous page",
          make=lambda: arrow(-1)[0]),
    Entry("MASK", "paint", 177, "paint/book/177_prev_arrow_mask.bmp", 68, 47, 8, "stamp picker: previous page mask",
          make=lambda: arrow(-1)[1], extra={"image": 176}),
    Entry("BITMAP", "paint", 178, "paint/book/178_next_arrow.bmp", 68, 47, 24, "stamp picker: next page",
          make=lambda: arrow(1)[0]),
    Entry("MASK", "paint", 179, "paint/book/179_next_arrow_mask.bmp", 68, 47, 8, "stamp picker: next page mask",
          make=lambda: arrow(1)[1], extra={"image": 178}),
]

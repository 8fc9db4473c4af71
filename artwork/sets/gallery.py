"""The gallery dialog (801, 408 x 417): a picture frame on an easel in a little gallery, a light title
strip for the file name, the name tag, the choose and cancel buttons, and no arrows (802 and 803 are
the previous and next arrows drawn on exactly the background they cover, 54 x 36, so that the program
can show or hide them by copying either picture into their rectangles). The frame's inside is dark
so that the program's white messages ("There are no images in the Gallery.") can be read."""

from PIL import Image

from common import Entry
from mediakit import (INK, RED, ORANGE, YELLOW, GREEN, BLUE, PURPLE, PINK, WHITE, WOOD, WOOD_DARK, canvas, to_pil,
                      rounded_rect, ellipse, poly, paint, gradient_fill, text_centered_in, lighter, darker, rgb,
                      shine, star, check_button, double_stroke)

W, H = 408, 417
CHOOSE = (161, 366, 206, 412)
CANCEL = (207, 366, 252, 412)
NEXT = (308, 372, 362, 408)
PREV = (47, 372, 101, 408)
NAME = (370, 229, 397, 249)
PREVIEW = (64, 44, 344, 261)
TITLE = (5, 5, 403, 23)
WALL = (255, 226, 200)
FLOOR_Y = 352
GOLD = (236, 178, 58)
INSIDE = (44, 52, 92)


def background(c):
    c.rectangle(0, 0, W, H)
    c.set_source_rgb(*rgb(INK))
    c.fill()
    rounded_rect(c, 2, 2, W - 4, H - 4, 10)
    gradient_fill(c, 0, 0, 0, FLOOR_Y, [(0, lighter(WALL, 0.3)), (1, WALL)], None)
    # wallpaper stripes
    c.save()
    rounded_rect(c, 2, 2, W - 4, FLOOR_Y - 2, 10)
    c.clip()
    for x in range(0, W, 24):
        c.rectangle(x, 0, 10, FLOOR_Y)
        c.set_source_rgba(1, 1, 1, 0.22)
        c.fill()
    c.restore()
    # the floor
    c.save()
    rounded_rect(c, 2, 2, W - 4, H - 4, 10)
    c.clip()
    c.rectangle(0, FLOOR_Y, W, H - FLOOR_Y)
    gradient_fill(c, 0, FLOOR_Y, 0, H, [(0, lighter(WOOD, 0.1)), (1, WOOD_DARK)], None)
    c.set_source_rgba(*rgb(WOOD_DARK, 0.7))
    c.set_line_width(1)
    for k, x in enumerate(range(-40, W + 40, 46)):
        c.move_to(x, FLOOR_Y)
        c.line_to(x - 30, H)
        c.stroke()
    c.move_to(0, FLOOR_Y)
    c.line_to(W, FLOOR_Y)
    c.set_source_rgb(*rgb(INK))
    c.set_line_width(1.4)
    c.stroke()
    c.restore()
    # the title strip: a light ribbon for the black name
    l, t, r, b = TITLE
    rounded_rect(c, l, t, r - l, b - t, 6)
    paint(c, (255, 250, 228), INK, 1.2)
    # the easel behind the frame
    for (x0, x1) in ((150, 110), (258, 298)):
        c.move_to(x0, 250)
        c.line_to(x1, FLOOR_Y + 12)
    c.move_to(204, 250)
    c.line_to(204, FLOOR_Y + 2)
    double_stroke(c, INK, 9, WOOD, 6)
    rounded_rect(c, 96, 274, 216, 10, 3)
    paint(c, WOOD, INK, 1.4)
    # the golden frame around the preview
    pl, pt, pr, pb = PREVIEW
    rounded_rect(c, pl - 16, pt - 16, pr - pl + 32, pb - pt + 32, 6)
    gradient_fill(c, pl - 16, pt - 16, pr + 16, pb + 16,
                  [(0, lighter(GOLD, 0.45)), (0.5, GOLD), (1, darker(GOLD, 0.15))], INK, 1.8)
    rounded_rect(c, pl - 9, pt - 9, pr - pl + 18, pb - pt + 18, 3)
    gradient_fill(c, pr, pb, pl, pt, [(0, lighter(GOLD, 0.35)), (1, darker(GOLD, 0.2))], INK, 1.2)
    for (x, y) in ((pl - 12, pt - 12), (pr + 12, pt - 12), (pl - 12, pb + 12), (pr + 12, pb + 12)):
        ellipse(c, x, y, 3.2, 3.2)
        paint(c, lighter(GOLD, 0.6), INK, 1.0)
    c.rectangle(pl - 1, pt - 1, pr - pl + 2, pb - pt + 2)
    paint(c, INSIDE, INK, 1.2)
    # little stars on the wall
    for (x, y, r, col) in [(28, 60, 8, YELLOW), (380, 80, 7, PINK), (24, 200, 6, BLUE), (384, 180, 8, GREEN),
                           (30, 320, 6, PURPLE), (380, 300, 6, ORANGE)]:
        star(c, x, y, r, r * 0.45)
        paint(c, col, INK, 1.1)
    # the name tag
    l, t, r, b = NAME
    c.move_to(l + 6, t + 0.5)
    c.line_to(r - 0.5, t + 0.5)
    c.line_to(r - 0.5, b - 0.5)
    c.line_to(l + 6, b - 0.5)
    c.line_to(l + 0.5, (t + b) / 2.0)
    c.close_path()
    paint(c, YELLOW, INK, 1.3)
    ellipse(c, l + 6, (t + b) / 2.0, 1.6, 1.6)
    paint(c, WHITE, INK, 0.8)
    text_centered_in(c, "Aa", (l + 8, t, r - 1, b), 11, colour=INK)
    c.move_to(l + 4.5, (t + b) / 2.0)
    c.curve_to(l - 4, t - 6, pr + 14, pb - 40, pr + 16, pb - 30)
    c.set_source_rgb(*rgb(INK))
    c.set_line_width(1)
    c.stroke()
    # choose and cancel
    button(c, CHOOSE, GREEN, "ok")
    button(c, CANCEL, RED, "cancel")


def button(c, box, colour, kind):
    check_button(c, box, colour, kind, 9, face=(0.8, 0.8, -2.2, -3), outline=1.6,
                 tick=[(-11, 0), (-3.5, 8), (11, -9)], cross=8.5, strokes=(7, 4.2),
                 shadow=(1.5, 3, -2, -3, 0.4), lift=1)
    l, t = box[:2]
    shine(c, l + 12, t + 8, 6, 2.5, 0.4)


def page_arrow(c, box, direction):
    l, t, r, b = box
    w, h = r - l, b - t
    c.save()
    c.translate((l + r) / 2.0, (t + b) / 2.0)
    c.scale(direction, 1)
    pts = [(w / 2 - 2, 0), (4, -h / 2 + 1.5), (4, -h / 4), (-w / 2 + 2, -h / 4), (-w / 2 + 2, h / 4), (4, h / 4),
           (4, h / 2 - 1.5)]
    poly(c, pts)
    gradient_fill(c, 0, -h / 2, 0, h / 2, [(0, lighter(ORANGE, 0.45)), (0.55, ORANGE), (1, darker(ORANGE, 0.12))],
                  INK, 1.8)
    poly(c, [(w / 2 - 7, -1), (5, -h / 2 + 6), (5, -h / 4 + 2.5), (-w / 2 + 5, -h / 4 + 2.5), (-w / 2 + 5, -3)])
    c.set_source_rgba(1, 1, 1, 0.35)
    c.fill()
    c.restore()


def render(arrows=()):
    s, c = canvas(W, H, 2)
    background(c)
    for box, d in arrows:
        page_arrow(c, box, d)
    return to_pil(s).resize((W, H), Image.LANCZOS).convert("RGB")


def arrow_picture(box, direction):
    return render([(box, direction)]).crop(box)


ENTRIES = [
    Entry("BITMAP", "paint", 801, "paint/dialogs/801_gallery.bmp", W, H, 24,
          "gallery: frame, title strip, name tag, choose and cancel", make=render),
    Entry("BITMAP", "paint", 802, "paint/dialogs/802_gallery_prev.bmp", PREV[2] - PREV[0], PREV[3] - PREV[1], 24,
          "gallery: previous arrow", make=lambda: arrow_picture(PREV, -1)),
    Entry("BITMAP", "paint", 803, "paint/dialogs/803_gallery_next.bmp", NEXT[2] - NEXT[0], NEXT[3] - NEXT[1], 24,
          "gallery: next arrow", make=lambda: arrow_picture(NEXT, 1)),
]

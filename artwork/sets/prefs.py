"""The preferences screen (900, 420 x 319): four columns, Sound, New, Open and Print, each with the
"on" picture in its top cell and the "off" picture in its bottom cell (64 x 64, exactly on the cells;
the program frames the chosen cell 4 pixels outside), and the OK and cancel buttons."""
import math

from PIL import Image

from common import Entry
from mediakit import (INK, RED, ORANGE, YELLOW, GREEN, BLUE, PURPLE, WHITE, canvas, to_pil, rounded_rect, ellipse,
                      poly, paint, gradient_fill, text, text_centered_in, emoji, lighter, darker, rgb, star,
                      check_button, check_mark, double_stroke)

W, H = 420, 319
COLUMNS = [("Sound", 52), ("New", 134), ("Open", 216), ("Print", 297)]
TOP = (78, 142)
BOTTOM = (155, 219)
OK = (290, 235, 327, 272)
CANCEL = (327, 235, 363, 272)
BG_TOP, BG_BOTTOM = (150, 210, 250), (120, 180, 240)


def cell_card(c, x, y, on):
    rounded_rect(c, x + 0.5, y + 0.5, 63, 63, 8)
    gradient_fill(c, 0, y, 0, y + 64, [(0, WHITE), (1, (240, 244, 250) if on else (232, 232, 236))], INK, 1.4)


def badge(c, x, y, on):
    ellipse(c, x, y, 7.5, 7.5)
    paint(c, GREEN if on else RED, INK, 1.2)
    check_mark(c, x, y, "ok" if on else "off", tick=[(-3.8, 0), (-1, 3), (4, -3)], cross=3)
    c.set_source_rgb(1, 1, 1)
    c.set_line_width(2)
    c.stroke()


def mini_picture(c, x, y, w, h):
    """A tiny child's picture: sky, grass, sun and a house."""
    c.rectangle(x, y, w, h)
    c.set_source_rgb(*rgb((170, 220, 255)))
    c.fill()
    c.rectangle(x, y + h * 0.68, w, h * 0.32)
    c.set_source_rgb(*rgb(GREEN))
    c.fill()
    ellipse(c, x + w * 0.78, y + h * 0.24, w * 0.11, w * 0.11)
    c.set_source_rgb(*rgb(YELLOW))
    c.fill()
    c.rectangle(x + w * 0.2, y + h * 0.45, w * 0.3, h * 0.3)
    c.set_source_rgb(*rgb(RED))
    c.fill()
    poly(c, [(x + w * 0.15, y + h * 0.47), (x + w * 0.35, y + h * 0.25), (x + w * 0.55, y + h * 0.47)])
    c.set_source_rgb(*rgb(ORANGE))
    c.fill()
    c.rectangle(x, y, w, h)
    c.set_source_rgb(*rgb(INK))
    c.set_line_width(1.2)
    c.stroke()


def draw_sound(c, x, y, on):
    cx, cy = x + 26, y + 32
    poly(c, [(cx - 14, cy - 7), (cx - 6, cy - 7), (cx + 4, cy - 16), (cx + 4, cy + 16), (cx - 6, cy + 7),
             (cx - 14, cy + 7)])
    gradient_fill(c, 0, cy - 16, 0, cy + 16, [(0, lighter(ORANGE, 0.3)), (1, ORANGE)], INK, 1.6)
    if on:
        for k, r in enumerate((8, 15, 22)):
            c.arc(cx + 6, cy, r, -0.8, 0.8)
            double_stroke(c, INK, 4, [BLUE, GREEN, PURPLE][k], 2.2)
    else:
        for a, b in (((cx + 12, cy - 8), (cx + 28, cy + 8)), ((cx + 28, cy - 8), (cx + 12, cy + 8))):
            c.move_to(*a)
            c.line_to(*b)
        double_stroke(c, INK, 5, RED, 3)


def draw_new(c, x, y, on):
    # a new page; with animation it sweeps in with sparkles and a curtain
    if on:
        c.rectangle(x + 12, y + 12, 38, 42)
        paint(c, WHITE, INK, 1.3)
        for i, col in enumerate((RED, ORANGE, YELLOW, GREEN)):
            c.rectangle(x + 8 + i * 4, y + 8, 4, 50 - i * 6)
            c.set_source_rgb(*rgb(col))
            c.fill()
        c.rectangle(x + 8, y + 8, 16, 50)
        c.set_source_rgb(*rgb(INK))
        c.set_line_width(1.0)
        c.stroke()
        for (sx, sy, r) in [(x + 46, y + 14, 6), (x + 54, y + 30, 4), (x + 40, y + 46, 5)]:
            star(c, sx, sy, r, r * 0.42)
            paint(c, YELLOW, INK, 1.0)
    else:
        c.rectangle(x + 13, y + 10, 38, 46)
        paint(c, WHITE, INK, 1.3)
        c.move_to(x + 40, y + 10)
        c.line_to(x + 51, y + 21)
        c.line_to(x + 40, y + 21)
        c.close_path()
        paint(c, (225, 228, 236), INK, 1.0)


def draw_open(c, x, y, on):
    if on:
        mini_picture(c, x + 8, y + 10, 48, 44)
        c.set_line_width(1.0)
        for (ax, ay, dx, dy) in [(x + 14, y + 16, -1, -1), (x + 50, y + 16, 1, -1), (x + 14, y + 48, -1, 1),
                                 (x + 50, y + 48, 1, 1)]:
            arrow(c, ax, ay, dx, dy)
    else:
        c.rectangle(x + 8, y + 10, 48, 44)
        paint(c, WHITE, INK, 1.2)
        mini_picture(c, x + 20, y + 21, 24, 22)


def arrow(c, x, y, dx, dy):
    ang = math.atan2(dy, dx)
    c.save()
    c.translate(x, y)
    c.rotate(ang)
    poly(c, [(0, -1.6), (5, -1.6), (5, -4), (10, 0), (5, 4), (5, 1.6), (0, 1.6)])
    paint(c, PURPLE, WHITE, 0.8)
    c.restore()


def draw_print(c, x, y, on):
    # the page coming out of the printer, full colour or light and checkered
    page_x, page_y, pw, ph = x + 18, y + 6, 28, 26
    if on:
        mini_picture(c, page_x, page_y, pw, ph)
    else:
        c.rectangle(page_x, page_y, pw, ph)
        c.set_source_rgb(1, 1, 1)
        c.fill()
        for j in range(0, ph, 2):
            for i in range(0, pw, 2):
                if (i + j) // 2 % 2 == 0:
                    c.rectangle(page_x + i, page_y + j, 2, 2)
        c.set_source_rgb(*rgb((150, 200, 240)))
        c.fill()
        c.rectangle(page_x, page_y, pw, ph)
        c.set_source_rgb(*rgb(INK))
        c.set_line_width(1.2)
        c.stroke()
    rounded_rect(c, x + 8, y + 28, 48, 22, 5)
    gradient_fill(c, 0, y + 28, 0, y + 50, [(0, (235, 238, 245)), (1, (190, 196, 210))], INK, 1.4)
    rounded_rect(c, x + 12, y + 46, 40, 12, 3)
    paint(c, (170, 176, 192), INK, 1.3)
    c.rectangle(x + 16, y + 34, 32, 3)
    c.set_source_rgb(*rgb(INK))
    c.fill()
    ellipse(c, x + 50, y + 40, 2.2, 2.2)
    c.set_source_rgb(*rgb(GREEN if on else ORANGE))
    c.fill()


def button(c, box, colour, kind):
    check_button(c, box, colour, kind, 8, face=(1, 1, -2, -2), outline=1.5,
                 tick=[(-9, 0), (-3, 7), (9, -7)], cross=7, strokes=(6, 3.5))


DRAW = {"Sound": draw_sound, "New": draw_new, "Open": draw_open, "Print": draw_print}


def picture():
    s, c = canvas(W, H, 2)
    c.rectangle(0, 0, W, H)
    c.set_source_rgb(*rgb(INK))
    c.fill()
    rounded_rect(c, 2, 2, W - 4, H - 4, 10)
    gradient_fill(c, 0, 0, 0, H, [(0, BG_TOP), (1, BG_BOTTOM)], None)
    # soft polka dots on the background
    for j in range(0, H, 26):
        for i in range(0, W, 26):
            ellipse(c, i + (13 if (j // 26) % 2 else 0), j + 6, 3, 3)
            c.set_source_rgba(1, 1, 1, 0.18)
            c.fill()
    # the title strip
    rounded_rect(c, 96, 10, 228, 30, 12)
    paint(c, YELLOW, INK, 1.6)
    text_centered_in(c, "Preferences", (96, 10, 324, 40), 20, colour=INK)
    # the shelf behind the cells
    rounded_rect(c, 40, 52, 334, 176, 12)
    paint(c, (255, 248, 230), INK, 1.6)
    text(c, "On", 11, 116, 15, colour=darker(GREEN, 0.2), bold=True)
    text(c, "Off", 9, 193, 15, colour=darker(RED, 0.1), bold=True)
    for name, x in COLUMNS:
        text_centered_in(c, name, (x - 6, 54, x + 70, 72), 14, colour=INK)
        for (y0, _), on in ((TOP, True), (BOTTOM, False)):
            cell_card(c, x, y0, on)
            DRAW[name](c, x, y0, on)
            badge(c, x + 58, y0 + 58, on)
    button(c, OK, GREEN, "ok")
    button(c, CANCEL, RED, "cancel")
    # a brush and a pot of paint to keep the empty corner friendly
    img = to_pil(s).resize((W, H), Image.LANCZOS).convert("RGBA")
    for ch, (px, py) in (("🎨", (30, 238)), ("🖌️", (92, 246))):
        img.alpha_composite(emoji(ch, 52 if ch == "🎨" else 44), (px, py))
    return img.convert("RGB")


ENTRIES = [Entry("BITMAP", "paint", 900, "paint/dialogs/900_preferences.bmp", W, H, 24,
                 "preferences: Sound, New, Open, Print with on above off", make=picture)]

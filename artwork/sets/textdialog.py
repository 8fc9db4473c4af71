"""The text dialog's picture (800, 495 x 370): a blackboard with the sample, the three styles and the
five sizes written in chalk, the OK and cancel buttons, and paper cards behind the two controls of
dialog template 361 (resources/paint_media.rc), whose places are read from that template. The board is
exactly the colour the program paints under the moving green markers."""
import os
import re

from PIL import Image

from common import Entry, RESOURCES
from mediakit import (INK, CHALK, RED, YELLOW, GREEN, BLUE, PINK, WHITE, WOOD, WOOD_DARK, canvas, to_pil,
                      rounded_rect, ellipse, paint, gradient_fill, text, text_centered_in, emoji, lighter, darker,
                      rgb, star, check_button)

W, H = 495, 370
SAMPLE = (231, 67, 442, 149)
STYLES = [(248, 185, 316, 199), (248, 211, 316, 225), (248, 239, 316, 253)]
STYLE_MARKS = [(237, 188), (237, 215), (237, 242)]
SIZES = [(363, 178 + 17 * i, 431, 192 + 17 * i) for i in range(5)]
SIZE_MARKS = [(350, 182 + 17 * i) for i in range(5)]
OK = (375, 288, 411, 326)
CANCEL = (414, 288, 445, 326)
BOARD = (228, 62, 456, 278)      # the dark board (inner edge of the wooden frame)

CHALKS = [(250, 250, 245), (255, 214, 120), (150, 220, 255), (255, 170, 200), (180, 240, 160)]


def template_controls():
    """The edit control and list box of template 361 in pixels, for both horizontal dialog units
    (8- and 7-pixel system fonts): {id: [(l, t, r, b) at 2.0, (l, t, r, b) at 1.75]}."""
    src = open(os.path.join(RESOURCES, "paint_media.rc")).read()
    out = {}
    for m in re.finditer(r"^\s*(EDITTEXT|LISTBOX)\s+(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)", src, re.M):
        cid, x, y, w, h = (int(v) for v in m.groups()[1:])
        out[cid] = [(x * f, y * 2, (x + w) * f, (y + h) * 2) for f in (2.0, 1.75)]
    return out


def card_around(boxes, margin=6):
    l = min(b[0] for b in boxes) - margin
    t = min(b[1] for b in boxes) - margin
    r = max(b[2] for b in boxes) + margin
    b_ = max(b[3] for b in boxes) + margin
    return l, t, r, b_


def chalk_text(c, s, x, y, size, colour, bold=False, italic=False, align="left"):
    text(c, s, x, y, size, colour=colour, bold=bold, italic=italic, align=align)


def picture():
    ctl = template_controls()
    s, c = canvas(W, H, 2)
    # the dialog's own frame: a warm wooden panel
    c.rectangle(0, 0, W, H)
    c.set_source_rgb(*rgb(INK))
    c.fill()
    rounded_rect(c, 2, 2, W - 4, H - 4, 10)
    gradient_fill(c, 0, 0, 0, H, [(0, (255, 214, 120)), (1, (250, 176, 80))], None)
    rounded_rect(c, 6, 6, W - 12, H - 12, 8)
    c.set_source_rgba(1, 1, 1, 0.35)
    c.set_line_width(1.5)
    c.set_dash([6, 4])
    c.stroke()
    c.set_dash([])

    # paper cards behind the controls (the controls cover most of them)
    ec = card_around(ctl[1000], 5)
    rounded_rect(c, ec[0], ec[1], ec[2] - ec[0], ec[3] - ec[1], 6)
    paint(c, WHITE, INK, 1.6)
    lc = card_around(ctl[1001], 0)
    lc = (lc[0] - 6, lc[1] - 26, lc[2] + 6, lc[3] + 6)
    rounded_rect(c, lc[0], lc[1], lc[2] - lc[0], lc[3] - lc[1], 8)
    paint(c, WHITE, INK, 1.6)
    rounded_rect(c, lc[0], lc[1], lc[2] - lc[0], 24, 8)
    c.rectangle(lc[0], lc[1] + 12, lc[2] - lc[0], 12)
    c.set_source_rgb(*rgb(lighter(BLUE, 0.55)))
    c.fill()
    rounded_rect(c, lc[0], lc[1], lc[2] - lc[0], lc[3] - lc[1], 8)
    c.set_source_rgb(*rgb(INK))
    c.set_line_width(1.6)
    c.stroke()
    text_centered_in(c, "Fonts", (lc[0], lc[1] + 1, lc[2], lc[1] + 22), 15, colour=INK)
    # the keyboard beside the text line
    kb = emoji("⌨️", 56)
    key_x = int(ec[0]) - 62

    # the blackboard in its wooden frame, with a chalk ledge
    l, t, r, b = BOARD
    rounded_rect(c, l - 7, t - 7, r - l + 14, b - t + 14, 6)
    gradient_fill(c, 0, t - 7, 0, b + 7, [(0, lighter(WOOD, 0.15)), (1, WOOD_DARK)], INK, 1.6)
    c.rectangle(l, t, r - l, b - t)
    c.set_source_rgb(*rgb(CHALK))
    c.fill()
    c.rectangle(l - 1, t - 1, r - l + 2, b - t + 2)
    c.set_source_rgb(*rgb(darker(WOOD_DARK, 0.3)))
    c.set_line_width(1.2)
    c.stroke()
    rounded_rect(c, l - 12, b + 6, r - l + 24 - 100, 8, 3)
    paint(c, WOOD, INK, 1.4)
    for i, col in enumerate([WHITE, YELLOW, PINK, BLUE]):
        rounded_rect(c, l + 6 + i * 24, b + 2.5, 18, 5, 2.5)
        paint(c, lighter(col, 0.3), INK, 0.9)

    # chalk drawings on the board: the sample's frame, headings, styles and sizes
    sl, st, sr, sb = SAMPLE
    rounded_rect(c, sl - 3, st - 3, sr - sl + 6, sb - st + 6, 5)
    c.set_source_rgba(*rgb(CHALKS[1], 0.9))
    c.set_line_width(1.4)
    c.set_dash([5, 3])
    c.stroke()
    c.set_dash([])
    chalk_heading(c, "Style", (248 + 316) / 2, 174, (250, 314), CHALKS[2])
    chalk_heading(c, "Size", (363 + 431) / 2, 167, (366, 428), CHALKS[3])
    for (bx, by, br, bb), word, bold, italic in zip(STYLES, ["Plain", "Bold", "Italic"],
                                                     [False, True, False], [False, False, True]):
        chalk_text(c, word, bx + 3, bb - 3, 14, CHALKS[0], bold=bold, italic=italic)
    for i, ((bx, by, br, bb), word) in enumerate(zip(SIZES, ["Tiny", "Small", "Medium", "Big", "Huge"])):
        chalk_text(c, word, bx + 3, bb - 3, 13, CHALKS[(i + 1) % 5] if i else CHALKS[0], bold=True)
        # a dot that grows with the size, at the right end of the item
        r0 = 1.2 + i * 0.9
        ellipse(c, br - 8, (by + bb) / 2.0, r0, r0)
        c.set_source_rgba(*rgb(CHALKS[0], 0.85))
        c.fill()
    # a chalk star and smile in the board's free corners
    star(c, 262, 100, 12, 5)
    c.set_source_rgba(*rgb(CHALKS[1], 0.85))
    c.set_line_width(1.4)
    c.stroke()

    # toy letter blocks below the board
    for i, (ch, col) in enumerate(zip("ABC", [RED, BLUE, GREEN])):
        x0, y0 = 240 + i * 40, 300 + (6 if i == 1 else 0)
        rounded_rect(c, x0, y0, 32, 32, 5)
        gradient_fill(c, 0, y0, 0, y0 + 32, [(0, lighter(col, 0.3)), (1, col)], INK, 1.5)
        rounded_rect(c, x0 + 4, y0 + 4, 24, 24, 4)
        c.set_source_rgba(1, 1, 1, 0.25)
        c.fill()
        text_centered_in(c, ch, (x0, y0, x0 + 32, y0 + 32), 22, colour=WHITE, outline=INK, outline_width=2.5)
        text_centered_in(c, ch, (x0, y0, x0 + 32, y0 + 32), 22, colour=WHITE)

    # OK and cancel buttons on exactly their click areas
    button(c, OK, GREEN, "ok")
    button(c, CANCEL, RED, "cancel")

    img = to_pil(s).resize((W, H), Image.LANCZOS).convert("RGBA")
    img.alpha_composite(kb, (key_x, int((ec[1] + ec[3]) / 2) - 28))
    out = img.convert("RGB")
    # the board stays exactly the marker background colour around every marker place
    px = out.load()
    for (mx, my) in STYLE_MARKS + SIZE_MARKS:
        for y in range(my - 2, my + 8):
            for x in range(mx - 2, mx + 8):
                px[x, y] = CHALK
    return out


def chalk_heading(c, word, cx, baseline, underline, colour):
    """A heading written in chalk, centred on cx, underlined from underline[0] to underline[1]."""
    chalk_text(c, word, cx, baseline, 15, colour, bold=True, align="center")
    c.move_to(underline[0], baseline + 4)
    c.line_to(underline[1], baseline + 4)
    c.set_source_rgba(*rgb(colour, 0.8))
    c.set_line_width(1)
    c.stroke()


def button(c, box, colour, kind):
    check_button(c, box, colour, kind, 7, face=(0.5, 0.5, -1.5, -2.5), outline=1.4,
                 tick=[(-8, 0), (-2.5, 6), (8, -7)], cross=6, strokes=(5.5, 3.2),
                 shadow=(1, 2, -1, -1, 0.35), lift=1)


ENTRIES = [Entry("BITMAP", "paint", 800, "paint/dialogs/800_text.bmp", W, H, 24,
                 "text dialog: blackboard with sample, styles, sizes, OK and cancel", make=picture)]

"""The pointer shapes of paint.exe: the arrow, the hands, the dropper, the magnifier, the text cursor
and one cursor per tool. Tools with a tip (pencil, brush, crayon, knife, chisel, needle, dropper,
jar) have their hot spot at the tip; tools that work on an area around the pointer show a small
ring whose centre is the hot spot, with the tool beside it."""
import math

from PIL import Image
import numpy as np

from common import Entry
from mediakit import (INK, RED, ORANGE, YELLOW, GREEN, BLUE, NAVY, PURPLE, PINK, BROWN, WOOD,
                      SILVER, GREY, WHITE, CREAM, canvas, to_pil, downsample, rounded_rect,
                      ellipse, poly, paint, gradient_fill, radial_fill, shine, lighter, darker, text, rgb, star,
                      double_stroke)

SS = 4          # supersampling
LW = 1.25       # outline width in cursor pixels
SKIN = (255, 212, 168)


def finish(draw, hot):
    """Render a drawing made in 32 x 32 cursor units; opaque or fully transparent pixels only."""
    s, c = canvas(32, 32, SS)
    draw(c)
    img = downsample(to_pil(s), (32, 32))
    a = np.asarray(img).copy()
    solid = a[:, :, 3] >= 100
    a[:, :, 3] = np.where(solid, 255, 0)
    a[~solid, :3] = 0
    return Image.fromarray(a, "RGBA"), hot


def along(c, tip, angle_deg=-45):
    """Move the origin to the tip and turn +x towards the handle (up and right by default)."""
    c.save()
    c.translate(*tip)
    c.rotate(math.radians(angle_deg))


def reticle(c, cx, cy, r=4.5):
    """The ring that marks where an area tool works; its centre is the hot spot."""
    ellipse(c, cx, cy, r, r)
    double_stroke(c, INK, 3.2, WHITE, 1.4)
    ellipse(c, cx, cy, 1.2, 1.2)
    paint(c, WHITE, INK, 0.9)


# ------------------------------------------------------------------ pointers

def arrow(c):
    pts = [(1.5, 1.5), (1.5, 23), (7, 18), (11, 27), (15, 25.3), (11, 16.8), (18.5, 16.8)]
    poly(c, pts)
    gradient_fill(c, 0, 0, 14, 26, [(0, lighter(YELLOW, 0.5)), (1, YELLOW)], INK, 1.4)
    poly(c, [(3.5, 6), (3.5, 13), (7, 10)])
    c.set_source_rgba(1, 1, 1, 0.7)
    c.fill()


def hand_up(c, spread=False):
    """A right hand with the index finger pointing up; fingertip at (0, 0) of the local frame."""
    rounded_rect(c, -4, 24, 18, 6, 1.5)
    paint(c, BLUE, INK, LW)
    # three curled fingers on the right of the index finger
    for x0 in (2.2, 6.2, 10.2):
        rounded_rect(c, x0, 8.5, 4.6, 8, 2.3)
        paint(c, SKIN, INK, LW)
    # palm
    c.move_to(-2.8, 12)
    c.line_to(14.8, 12)
    c.line_to(14.8, 19)
    c.curve_to(14.8, 22.5, 12, 24.8, 9, 24.8)
    c.line_to(1, 24.8)
    c.curve_to(-2, 24.8, -2.8, 22, -2.8, 19)
    c.close_path()
    paint(c, SKIN, INK, LW)
    # cover the joins between palm and curled fingers
    c.rectangle(-1.5, 11.2, 15.6, 2.4)
    c.set_source_rgb(*rgb(SKIN))
    c.fill()
    # index finger
    rounded_rect(c, -2.8, -0.6, 5.6, 15, 2.8)
    paint(c, SKIN, INK, LW)
    # thumb folded across the palm on the left
    c.save()
    c.translate(-2.5, 17.5)
    c.rotate(math.radians(-25))
    rounded_rect(c, -3.5, -2.6, 10, 5.2, 2.6)
    paint(c, SKIN, INK, LW)
    c.restore()
    rounded_rect(c, -1.4, 0.6, 2.8, 2.8, 1.1)
    c.set_source_rgba(1, 1, 1, 0.6)
    c.fill()


def pointing_hand(c):
    c.save()
    c.translate(12.5, 1.5)
    hand_up(c)
    c.restore()


def pointing_finger(c):
    c.save()
    c.translate(2.5, 2.5)
    c.rotate(math.radians(-40))
    c.translate(0, 0)
    hand_up(c)
    c.restore()


def open_hand(c):
    cx = 15
    # fingers spread
    fingers = [(-7.5, 6, -20), (-2.6, 2.5, -6), (2.6, 2.0, 6), (7.5, 5.0, 18)]
    for fx, fy, ang in fingers:
        c.save()
        c.translate(cx + fx, 16)
        c.rotate(math.radians(ang))
        rounded_rect(c, -2.4, fy - 16, 4.8, 16, 2.4)
        paint(c, SKIN, INK, LW)
        c.restore()
    # thumb
    c.save()
    c.translate(cx - 9, 18)
    c.rotate(math.radians(-50))
    rounded_rect(c, -2.4, -9, 4.8, 11, 2.4)
    paint(c, SKIN, INK, LW)
    c.restore()
    ellipse(c, cx, 19.5, 8.2, 7.5)
    paint(c, SKIN, INK, LW)
    # cover the inner finger roots
    ellipse(c, cx, 18.5, 6.8, 5.6)
    c.set_source_rgb(*rgb(SKIN))
    c.fill()
    rounded_rect(c, cx - 6, 26, 12, 5, 1.5)
    paint(c, BLUE, INK, LW)


# ------------------------------------------------------------------ tipped tools

def dropper(c):
    along(c, (2, 30))
    poly(c, [(0, 0), (5, -1.6), (5, 1.6)])
    paint(c, lighter(BLUE, 0.55), INK, LW)
    rounded_rect(c, 4.5, -2.6, 15, 5.2, 1.2)
    gradient_fill(c, 0, -2.6, 0, 2.6, [(0, WHITE), (0.5, lighter(BLUE, 0.7)), (1, lighter(BLUE, 0.4))], INK, LW)
    rounded_rect(c, 5.5, -1.2, 6, 2.4, 1)
    c.set_source_rgb(*rgb(BLUE))
    c.fill()
    rounded_rect(c, 19, -4.2, 3.2, 8.4, 1)
    paint(c, SILVER, INK, LW)
    ellipse(c, 27.5, 0, 6.5, 5.2)
    radial_fill(c, 27.5, 0, 6.5, [(0, lighter(RED, 0.4)), (1, RED)], fx=26, fy=-2, outline=INK, width=LW)
    shine(c, 26.5, -2.2, 2.4, 1.2)
    c.restore()


def pencil(c):
    along(c, (1.8, 30.2))
    poly(c, [(0, 0), (8, -3.4), (8, 3.4)])
    paint(c, (244, 206, 150), INK, LW)
    poly(c, [(0, 0), (2.8, -1.2), (2.8, 1.2)])
    c.set_source_rgb(*rgb(INK))
    c.fill()
    c.rectangle(8, -3.4, 20, 6.8)
    gradient_fill(c, 0, -3.4, 0, 3.4, [(0, lighter(ORANGE, 0.45)), (0.5, ORANGE), (1, darker(ORANGE, 0.15))], INK, LW)
    c.set_source_rgb(*rgb(darker(ORANGE, 0.3)))
    c.set_line_width(0.7)
    c.move_to(8.5, 0)
    c.line_to(27.5, 0)
    c.stroke()
    c.rectangle(28, -3.4, 3.6, 6.8)
    paint(c, SILVER, INK, LW)
    rounded_rect(c, 31.6, -3.4, 4.6, 6.8, 1.6)
    paint(c, PINK, INK, LW)
    c.restore()


def brush(c):
    along(c, (2, 30))
    c.move_to(0, 0)
    c.curve_to(3, -1, 6, -4, 10, -3.2)
    c.line_to(10, 3.2)
    c.curve_to(6, 4, 3, 1, 0, 0)
    c.close_path()
    paint(c, BLUE, INK, LW)
    c.move_to(1.5, -0.2)
    c.curve_to(4, -1.2, 6, -2.2, 9, -2)
    c.set_source_rgba(1, 1, 1, 0.55)
    c.set_line_width(0.8)
    c.stroke()
    c.rectangle(10, -3.3, 5, 6.6)
    paint(c, SILVER, INK, LW)
    c.move_to(15, -2.8)
    c.line_to(34, -1.6)
    c.curve_to(36, -1.5, 36, 1.5, 34, 1.6)
    c.line_to(15, 2.8)
    c.close_path()
    gradient_fill(c, 0, -3, 0, 3, [(0, lighter(RED, 0.4)), (1, darker(RED, 0.1))], INK, LW)
    c.restore()


def crayon(c):
    along(c, (2, 30))
    poly(c, [(0.5, -1.2), (0.5, 1.2), (6, 3.8), (6, -3.8)])
    paint(c, PURPLE, INK, LW)
    rounded_rect(c, 6, -3.8, 22, 7.6, 1.2)
    gradient_fill(c, 0, -3.8, 0, 3.8, [(0, lighter(PURPLE, 0.35)), (1, PURPLE)], INK, LW)
    c.rectangle(10, -3.8, 14, 7.6)
    paint(c, YELLOW, INK, LW)
    for x in (12.5, 21.5):
        c.move_to(x, -3.2)
        c.line_to(x, 3.2)
        c.set_source_rgb(*rgb(PURPLE))
        c.set_line_width(1.1)
        c.stroke()
    c.restore()


def knife(c):
    along(c, (2, 30))
    c.move_to(0, 0)
    c.curve_to(5, -3.5, 10, -3.6, 15, -3.4)
    c.line_to(15, 1.6)
    c.curve_to(10, 1.4, 5, 1.2, 0, 0)
    c.close_path()
    gradient_fill(c, 0, -3.5, 0, 1.6, [(0, WHITE), (1, SILVER)], INK, LW)
    rounded_rect(c, 14.5, -4.2, 19, 8.4, 3.5)
    gradient_fill(c, 0, -4.2, 0, 4.2, [(0, lighter(RED, 0.35)), (1, darker(RED, 0.1))], INK, LW)
    for x in (18, 30):
        ellipse(c, x, 0, 1, 1)
        c.set_source_rgb(*rgb(SILVER))
        c.fill()
    c.restore()


def chisel(c):
    # the hammer, resting above the chisel handle
    c.save()
    c.translate(25, 8)
    c.rotate(math.radians(40))
    rounded_rect(c, -1.4, -2, 2.8, 13, 1.2)
    paint(c, WOOD, INK, LW)
    rounded_rect(c, -6, -5.5, 12, 5, 1.2)
    gradient_fill(c, 0, -5.5, 0, -0.5, [(0, WHITE), (1, GREY)], INK, LW)
    c.restore()
    along(c, (2, 30))
    poly(c, [(0, -2.6), (0, 2.6), (10, 2.2), (10, -2.2)])
    gradient_fill(c, 0, -2.6, 0, 2.6, [(0, WHITE), (1, GREY)], INK, LW)
    rounded_rect(c, 9.5, -3.2, 11, 6.4, 2)
    paint(c, WOOD, INK, LW)
    c.restore()


def needle(c):
    c.move_to(12.5, 11)
    c.curve_to(22, -2, 33, 8, 25, 15)
    c.curve_to(19, 21, 28, 28, 31, 24)
    double_stroke(c, INK, 2.6, RED, 1.3)
    along(c, (1.6, 30.4))
    c.move_to(0, 0)
    c.line_to(22, -1.6)
    c.curve_to(25, -1.6, 25, 1.6, 22, 1.6)
    c.close_path()
    gradient_fill(c, 0, -1.6, 0, 1.6, [(0, WHITE), (1, SILVER)], INK, 1.0)
    ellipse(c, 21.4, 0, 1.6, 0.6)
    c.set_source_rgb(*rgb(INK))
    c.fill()
    c.restore()


def eraser(c):
    along(c, (6, 27), -40)
    # hot spot at the middle of the rubbing end
    rounded_rect(c, 0, -5, 22, 10, 2)
    paint(c, PINK, INK, LW)
    c.rectangle(9, -5, 8, 10)
    paint(c, BLUE, INK, LW)
    shine(c, 4.5, -2.5, 3, 1.1, 0.6)
    c.restore()


def jar(c):
    # the paint running from the tipped jar to the hot spot
    c.move_to(16, 12)
    c.curve_to(9, 14, 4, 18, 3.2, 28.8)
    double_stroke(c, INK, 4.6, RED, 2.6)
    ellipse(c, 3.5, 28.8, 2.6, 1.6)
    paint(c, RED, INK, 1.0)
    c.save()
    c.translate(22, 10)
    c.rotate(math.radians(-35))
    rounded_rect(c, -6.5, -6, 13, 13, 2.5)
    gradient_fill(c, -6.5, 0, 6.5, 0, [(0, lighter(BLUE, 0.6)), (1, lighter(BLUE, 0.3))], INK, LW)
    c.rectangle(-6.5, -1, 13, 8)
    c.set_source_rgb(*rgb(RED))
    c.fill()
    rounded_rect(c, -6.5, -6, 13, 13, 2.5)
    c.set_source_rgb(*rgb(INK))
    c.set_line_width(LW)
    c.stroke()
    rounded_rect(c, -7.5, -8.5, 15, 3.2, 1.2)
    paint(c, YELLOW, INK, LW)
    c.restore()


# ------------------------------------------------------------------ area tools (ring + tool)

RX, RY = 8.5, 23.5      # ring centre = hot spot of the area tools


def spray(c):
    for (dx, dy, r) in [(-3.5, -2, 0.9), (3, -3, 0.9), (-2, 3.6, 0.9), (3.8, 2.4, 0.9), (0, -5.6, 0.8),
                        (-5.6, 1, 0.8), (5.8, -0.5, 0.8), (1, 5.8, 0.8), (6, -5.5, 0.7), (9, -8, 0.7)]:
        ellipse(c, RX + dx, RY + dy, r + 0.6, r + 0.6)
        c.set_source_rgb(*rgb(INK))
        c.fill()
        ellipse(c, RX + dx, RY + dy, r, r)
        c.set_source_rgb(*rgb(GREEN))
        c.fill()
    rounded_rect(c, 19, 8, 10, 20, 2.5)
    gradient_fill(c, 19, 0, 29, 0, [(0, lighter(GREEN, 0.3)), (0.5, GREEN), (1, darker(GREEN, 0.2))], INK, LW)
    c.rectangle(19, 13, 10, 7)
    paint(c, YELLOW, INK, LW)
    rounded_rect(c, 21, 3.5, 6, 5, 1.2)
    paint(c, SILVER, INK, LW)
    c.rectangle(17.5, 4.5, 4, 2.6)
    paint(c, RED, INK, 1.0)
    ellipse(c, RX, RY, 1.2, 1.2)
    paint(c, WHITE, INK, 0.9)


def crosshair(c, cx, cy, arm=7.5, gap=2.2):
    for (dx, dy) in [(1, 0), (-1, 0), (0, 1), (0, -1)]:
        c.move_to(cx + dx * gap, cy + dy * gap)
        c.line_to(cx + dx * arm, cy + dy * arm)
    double_stroke(c, WHITE, 3.4, INK, 1.4)
    ellipse(c, cx, cy, 0.9, 0.9)
    c.set_source_rgb(*rgb(INK))
    c.fill()


def ruler(c):
    crosshair(c, 8.5, 8.5)
    c.save()
    c.translate(21, 21)
    c.rotate(math.radians(-45))
    rounded_rect(c, -13, -3.6, 26, 7.2, 1)
    gradient_fill(c, 0, -3.6, 0, 3.6, [(0, lighter(YELLOW, 0.3)), (1, YELLOW)], INK, LW)
    c.set_source_rgb(*rgb(INK))
    c.set_line_width(0.8)
    for i in range(-10, 12, 3):
        c.move_to(i, -3.4)
        c.line_to(i, -3.4 + (2.4 if (i + 10) % 6 == 0 else 1.4))
        c.stroke()
    c.restore()


def templates(c):
    crosshair(c, 8.5, 8.5)
    ellipse(c, 22, 14.5, 6, 6)
    paint(c, ORANGE, INK, LW)
    ellipse(c, 22, 14.5, 2.6, 2.6)
    paint(c, CREAM, INK, 1.0)
    c.rectangle(12, 20, 10, 10)
    paint(c, BLUE, INK, LW)
    c.rectangle(15, 23, 4, 4)
    paint(c, CREAM, INK, 1.0)


def scissors(c):
    crosshair(c, 8.5, 8.5)
    c.save()
    c.translate(20.5, 20.5)
    c.rotate(math.radians(-135))
    for side in (-1, 1):
        c.save()
        c.rotate(math.radians(14 * side))
        c.move_to(0, 0)
        c.line_to(10.5, -1.2 * side)
        c.line_to(0, 1.8 * side)
        c.close_path()
        gradient_fill(c, 0, -2, 0, 2, [(0, WHITE), (1, SILVER)], INK, 1.0)
        c.restore()
    for side in (-1, 1):
        c.save()
        c.rotate(math.radians(180 + 22 * side))
        ellipse(c, 6.5, 0, 3.6, 2.6)
        double_stroke(c, INK, 3.6, RED, 1.8)
        c.restore()
    ellipse(c, 0, 0, 1.2, 1.2)
    paint(c, SILVER, INK, 0.8)
    c.restore()


def magnifier(c):
    c.save()
    c.translate(11.5, 11.5)
    c.rotate(math.radians(45))
    rounded_rect(c, 9.5, -2.8, 13, 5.6, 2.4)
    gradient_fill(c, 0, -2.8, 0, 2.8, [(0, lighter(BROWN, 0.3)), (1, darker(BROWN, 0.1))], INK, LW)
    c.rectangle(7.5, -2.2, 3, 4.4)
    paint(c, SILVER, INK, 1.0)
    c.restore()
    ellipse(c, 11.5, 11.5, 9, 9)
    double_stroke(c, INK, 4.4, YELLOW, 2.2)
    # the centre of the glass is the zoom centre
    for (dx, dy) in [(1, 0), (-1, 0), (0, 1), (0, -1)]:
        c.move_to(11.5 + dx * 1.5, 11.5 + dy * 1.5)
        c.line_to(11.5 + dx * 4, 11.5 + dy * 4)
    double_stroke(c, WHITE, 2.6, INK, 1.1)
    c.move_to(5.5, 8)
    c.curve_to(6, 6.5, 7, 5.5, 8.5, 5)
    c.set_source_rgb(*rgb(WHITE))
    c.set_line_width(1.3)
    c.stroke()


def bump(c):
    reticle(c, RX, RY)
    ellipse(c, 22.5, 10, 8.2, 6.4)
    radial_fill(c, 22.5, 10, 8.5, [(0, (200, 190, 176)), (1, (130, 118, 106))], fx=20, fy=7, outline=INK, width=LW)
    for (x, y, r) in [(19, 8.5, 1.6), (24.5, 7.4, 1.3), (25.5, 12.5, 1.8), (20, 12.6, 1.1)]:
        ellipse(c, x, y, r, r)
        c.set_source_rgba(*rgb((96, 84, 74), 0.85))
        c.fill()
        ellipse(c, x - 0.4, y - 0.4, r * 0.5, r * 0.5)
        c.set_source_rgba(1, 1, 1, 0.6)
        c.fill()


def sunglasses(c):
    reticle(c, RX, RY)
    c.save()
    c.translate(21.5, 10)
    c.move_to(-5, -2.2)
    c.curve_to(-2, -4, 2, -4, 5, -2.2)
    c.set_source_rgb(*rgb(INK))
    c.set_line_width(1.6)
    c.stroke()
    for sx in (-5.2, 5.2):
        rounded_rect(c, sx - 4.6, -3.2, 9.2, 7.6, 3.2)
        gradient_fill(c, 0, -3, 0, 4.4, [(0, (60, 60, 90)), (1, (20, 20, 40))], INK, LW)
        shine(c, sx - 2, -1.2, 1.6, 0.9, 0.7)
    c.restore()


def lightbulb(c):
    reticle(c, RX, RY)
    for ang in range(-150, 40, 38):
        a = math.radians(ang)
        c.move_to(22 + 9.5 * math.cos(a), 10 + 9.5 * math.sin(a))
        c.line_to(22 + 12 * math.cos(a), 10 + 12 * math.sin(a))
    c.set_source_rgb(*rgb(ORANGE))
    c.set_line_width(1.6)
    c.stroke()
    c.move_to(19, 16)
    c.curve_to(14, 11, 16, 2.5, 22, 2.5)
    c.curve_to(28, 2.5, 30, 11, 25, 16)
    c.close_path()
    radial_fill(c, 22, 8, 8, [(0, WHITE), (0.5, lighter(YELLOW, 0.4)), (1, YELLOW)], fx=20, fy=6,
                outline=INK, width=LW)
    rounded_rect(c, 18.6, 15.5, 6.8, 5.5, 1.2)
    paint(c, SILVER, INK, LW)


def rag_cloth(c):
    c.move_to(14, 6)
    c.curve_to(18, 2, 24, 5, 28, 2.5)
    c.curve_to(30, 8, 27, 12, 30, 17)
    c.curve_to(25, 19.5, 20, 16, 15.5, 18.5)
    c.curve_to(16.5, 14, 12.5, 10, 14, 6)
    c.close_path()


def rag(c):
    reticle(c, RX, RY)
    rag_cloth(c)
    paint(c, lighter(BLUE, 0.35), INK, LW)
    c.save()
    rag_cloth(c)
    c.clip()
    c.set_source_rgba(*rgb(WHITE, 0.8))
    c.set_line_width(1.3)
    for k in range(10, 34, 5):
        c.move_to(k, 0)
        c.line_to(k - 10, 22)
        c.move_to(k - 14, 0)
        c.line_to(k + 4, 22)
    c.stroke()
    c.restore()


def pepper(c):
    for (dx, dy) in [(-3, -2), (2, -3.5), (-1, 2.5), (3.5, 1.5), (-4, 2.8), (4.6, -1.4), (0.5, -5.5),
                     (7, -5), (10, -8)]:
        ellipse(c, RX + dx, RY + dy, 0.9, 0.9)
        c.set_source_rgb(*rgb(INK))
        c.fill()
    c.save()
    c.translate(22.5, 9.5)
    c.rotate(math.radians(45))
    # the pot, upside down towards the ring: cap with holes below, body above
    rounded_rect(c, -5, -10, 10, 14, 3.5)
    gradient_fill(c, -5, 0, 5, 0, [(0, WHITE), (1, (214, 208, 200))], INK, LW)
    c.rectangle(-5, -5, 10, 3)
    c.set_source_rgb(*rgb(RED))
    c.fill()
    c.move_to(-5.6, 3.5)
    c.line_to(5.6, 3.5)
    c.curve_to(5.6, 8.5, -5.6, 8.5, -5.6, 3.5)
    c.close_path()
    paint(c, (80, 80, 92), INK, LW)
    for x in (-2.2, 0, 2.2):
        ellipse(c, x, 5.4, 0.6, 0.6)
        c.set_source_rgb(*rgb(WHITE))
        c.fill()
    c.restore()
    ellipse(c, RX, RY, 1.2, 1.2)
    paint(c, WHITE, INK, 0.9)


def ball(c):
    reticle(c, RX, RY)
    ellipse(c, 22, 10, 8, 8)
    radial_fill(c, 22, 10, 8, [(0, lighter(PURPLE, 0.7)), (0.45, PURPLE), (1, darker(PURPLE, 0.3))],
                fx=19.5, fy=7, outline=INK, width=LW)
    shine(c, 19.5, 7, 2.2, 1.5, 0.8)


def cog(c):
    cx, cy = 15.5, 15.5
    teeth = 10
    c.new_path()
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4)
        r = 12.5 if (i % 4) in (1, 2) else 9.5
        x, y = cx + r * math.cos(a), cy + r * math.sin(a)
        if i == 0:
            c.move_to(x, y)
        else:
            c.line_to(x, y)
    c.close_path()
    ellipse(c, cx, cy, 4.2, 4.2)
    c.set_fill_rule(1)  # even-odd: the hub is open so the point under it stays visible
    radial_fill(c, cx, cy, 12.5, [(0, lighter(GREEN, 0.4)), (1, GREEN)], fx=cx - 3, fy=cy - 3, outline=INK, width=LW)
    c.set_fill_rule(0)
    ellipse(c, cx, cy, 1.2, 1.2)
    paint(c, WHITE, INK, 0.9)


def wand(c):
    c.save()
    c.translate(RX, RY)
    c.rotate(math.radians(-45))
    rounded_rect(c, 5, -1.8, 26, 3.6, 1.6)
    paint(c, NAVY, INK, LW)
    c.rectangle(25, -1.8, 5, 3.6)
    c.set_source_rgb(*rgb(WHITE))
    c.fill()
    c.restore()
    star(c, RX, RY, 8, 3.6)
    radial_fill(c, RX, RY, 8, [(0, WHITE), (0.5, lighter(YELLOW, 0.2)), (1, YELLOW)], outline=INK, width=LW)
    for (x, y) in [(24, 5), (29, 12), (17, 3)]:
        star(c, x, y, 2.2, 0.9, 4, 0)
        paint(c, YELLOW, INK, 0.7)
    ellipse(c, RX, RY, 1.1, 1.1)
    paint(c, WHITE, INK, 0.9)


def paintball(c):
    cx, cy = 15.5, 15.5
    ellipse(c, cx, cy, 10, 10)
    double_stroke(c, WHITE, 4.2, RED, 2.0)
    for (dx, dy) in [(1, 0), (-1, 0), (0, 1), (0, -1)]:
        c.move_to(cx + dx * 3, cy + dy * 3)
        c.line_to(cx + dx * 14.5, cy + dy * 14.5)
    double_stroke(c, WHITE, 3.4, INK, 1.4)
    ellipse(c, cx, cy, 1.5, 1.5)
    paint(c, RED, INK, 0.8)


def textcursor(c):
    x = 12.5
    c.move_to(x - 4.5, 3)
    c.curve_to(x - 2, 3, x, 3.5, x, 6)
    c.line_to(x, 26)
    c.curve_to(x, 28.5, x - 2, 29, x - 4.5, 29)
    c.move_to(x + 4.5, 3)
    c.curve_to(x + 2, 3, x, 3.5, x, 6)
    c.move_to(x, 26)
    c.curve_to(x, 28.5, x + 2, 29, x + 4.5, 29)
    double_stroke(c, WHITE, 3.6, INK, 1.6)
    text(c, "A", 17.5, 15, 14, colour=RED, outline=INK, outline_width=2.4)
    text(c, "A", 17.5, 15, 14, colour=RED)


def stamp(c):
    # rubber stamp; the middle of its pad is the hot spot
    ellipse(c, 15.5, 5.5, 5, 4.5)
    radial_fill(c, 15.5, 5.5, 5, [(0, lighter(RED, 0.5)), (1, RED)], fx=14, fy=4, outline=INK, width=LW)
    c.rectangle(13.5, 9, 4, 7)
    paint(c, WOOD, INK, LW)
    rounded_rect(c, 6, 15.5, 19, 7, 2)
    paint(c, WOOD, INK, LW)
    c.rectangle(7, 22.5, 17, 4.5)
    paint(c, BLUE, INK, LW)
    ellipse(c, 15.5, 28.3, 1.2, 1.2)
    paint(c, WHITE, INK, 0.9)


CURSORS = [
    (200, "dropper", dropper, (2, 29), "the dropper: over the paint cans, the dropper tool and the palette"),
    (201, "grab", open_hand, (15, 15), "an open hand over a tool that can be picked up"),
    (202, "hand", pointing_hand, (12, 1), "pointing hand over everything that reacts to a click"),
    (203, "arrow", arrow, (1, 1), "the normal arrow"),
    (204, "pencil", pencil, (1, 30), "pencil"),
    (205, "brush", brush, (2, 29), "brush"),
    (206, "eraser", eraser, (6, 27), "eraser"),
    (207, "jar", jar, (3, 29), "jar of paint"),
    (208, "spray", spray, (8, 23), "spray can"),
    (209, "ruler", ruler, (8, 8), "ruler"),
    (210, "scissors", scissors, (8, 8), "scissors"),
    (211, "templates", templates, (8, 8), "templates"),
    (212, "magnifier", magnifier, (11, 11), "magnifier while a zoom centre is chosen"),
    (213, "bump", bump, (8, 23), "bump patterns"),
    (214, "knife", knife, (2, 29), "pocket knife"),
    (215, "sunglasses", sunglasses, (8, 23), "sunglasses"),
    (216, "lightbulb", lightbulb, (8, 23), "lightbulb"),
    (217, "rag", rag, (8, 23), "rag"),
    (218, "crayon", crayon, (2, 29), "crayon"),
    (219, "pepper", pepper, (8, 23), "pepper pot"),
    (220, "chisel", chisel, (2, 29), "hammer and chisel"),
    (221, "ball", ball, (8, 23), "ball"),
    (222, "cog", cog, (15, 15), "cog"),
    (223, "wand", wand, (8, 23), "wand"),
    (224, "needle", needle, (1, 30), "needle and thread"),
    (225, "paintball", paintball, (15, 15), "paintball gun"),
    (226, "finger", pointing_finger, (2, 2), "pointing finger over the speaker and the spyglass"),
    (227, "text", textcursor, (12, 28), "text placement"),
    (228, "stamp", stamp, (15, 28), "stamp books"),
]


def _entry(rid, name, fn, hot, role):
    return Entry("CURSOR", "paint", rid, f"paint/cursors/{rid}_{name}.cur", 32, 32, 32, role,
                 make=lambda fn=fn, hot=hot: finish(fn, hot), hotspot=hot)


ENTRIES = [_entry(*c) for c in CURSORS]

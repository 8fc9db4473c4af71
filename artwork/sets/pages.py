"""The colouring pages shipped beside the program in Pages\\: "blank.bmp" and twelve pictures with
bold black outlines on white, 24-bit, 634 x 488 (the canvas at 800 x 600). The outlines are pure black
on pure white, without grey edge pixels, and every area is closed, so that the jar of paint fills each
one cleanly up to its outline."""
import math

import numpy as np
from PIL import Image

from common import Entry
from mediakit import canvas, to_pil, rounded_rect, ellipse, poly

W, H = 634, 488
SS = 3
LW = 5.0


class Pen:
    """Shapes filled white and outlined black; later shapes cover earlier ones."""

    def __init__(self, c):
        self.c = c

    def draw(self, fill=True, width=LW):
        c = self.c
        if fill:
            c.set_source_rgb(1, 1, 1)
            c.fill_preserve()
        c.set_source_rgb(0, 0, 0)
        c.set_line_width(width)
        c.stroke()

    def ellipse(self, cx, cy, rx, ry, width=LW, fill=True):
        ellipse(self.c, cx, cy, rx, ry)
        self.draw(fill, width)

    def circle(self, cx, cy, r, width=LW, fill=True):
        self.ellipse(cx, cy, r, r, width, fill)

    def rect(self, x, y, w, h, r=0, width=LW, fill=True):
        if r:
            rounded_rect(self.c, x, y, w, h, r)
        else:
            self.c.rectangle(x, y, w, h)
        self.draw(fill, width)

    def poly(self, pts, width=LW, fill=True, close=True):
        poly(self.c, pts, close)
        self.draw(fill and close, width)

    def line(self, *pts, width=LW):
        self.c.move_to(*pts[0])
        for p in pts[1:]:
            self.c.line_to(*p)
        self.draw(False, width)

    def curve(self, p0, p1, p2, p3, width=LW):
        self.c.move_to(*p0)
        self.c.curve_to(*p1, *p2, *p3)
        self.draw(False, width)

    def star(self, cx, cy, ro, ri=None, n=5, rot=-90, width=LW):
        ri = ro * 0.45 if ri is None else ri
        pts = []
        for i in range(2 * n):
            a = math.radians(rot + 180.0 * i / n)
            r = ro if i % 2 == 0 else ri
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        self.poly(pts, width)

    def flower(self, cx, cy, r, petals=6, width=LW):
        for i in range(petals):
            a = 2 * math.pi * i / petals
            self.ellipse(cx + r * math.cos(a), cy + r * math.sin(a), r * 0.62, r * 0.62, width)
        self.circle(cx, cy, r * 0.55, width)

    def cloud(self, cx, cy, s, width=LW):
        c = self.c
        c.move_to(cx - 60 * s, cy + 20 * s)
        c.curve_to(cx - 85 * s, cy + 20 * s, cx - 80 * s, cy - 15 * s, cx - 52 * s, cy - 10 * s)
        c.curve_to(cx - 50 * s, cy - 45 * s, cx - 5 * s, cy - 50 * s, cx + 2 * s, cy - 22 * s)
        c.curve_to(cx + 15 * s, cy - 45 * s, cx + 60 * s, cy - 35 * s, cx + 55 * s, cy - 5 * s)
        c.curve_to(cx + 85 * s, cy - 5 * s, cx + 85 * s, cy + 22 * s, cx + 58 * s, cy + 20 * s)
        c.close_path()
        self.draw(True, width)

    def sun(self, cx, cy, r, rays=10, width=LW):
        for i in range(rays):
            a = 2 * math.pi * i / rays
            self.poly([(cx + (r + 8) * math.cos(a - 0.13), cy + (r + 8) * math.sin(a - 0.13)),
                       (cx + (r + 30) * math.cos(a), cy + (r + 30) * math.sin(a)),
                       (cx + (r + 8) * math.cos(a + 0.13), cy + (r + 8) * math.sin(a + 0.13))], width)
        self.circle(cx, cy, r, width)

    def smile(self, cx, cy, r, width=4):
        self.c.arc(cx, cy, r, 0.25 * math.pi, 0.75 * math.pi)
        self.draw(False, width)

    def dot(self, cx, cy, r):
        ellipse(self.c, cx, cy, r, r)
        self.c.set_source_rgb(0, 0, 0)
        self.c.fill()


# ------------------------------------------------------------------ the pages

def house(p):
    p.sun(540, 80, 38)
    p.cloud(300, 80, 0.8)
    p.line((0, 380), (634, 380))
    p.rect(110, 220, 200, 160)
    p.poly([(90, 225), (210, 110), (330, 225)])
    p.rect(180, 290, 50, 90, 6)
    p.dot(220, 338, 4)
    p.rect(125, 245, 45, 45)
    p.line((147, 245), (147, 290), width=4)
    p.line((125, 267), (170, 267), width=4)
    p.rect(245, 245, 45, 45)
    p.line((267, 245), (267, 290), width=4)
    p.line((245, 267), (290, 267), width=4)
    p.rect(265, 130, 28, 60)
    # tree
    p.rect(445, 260, 34, 120, 4)
    for (x, y, r) in [(430, 230, 45), (495, 230, 45), (462, 190, 50)]:
        p.circle(x, y, r)
    # fence and flowers
    for x in range(340, 634, 36):
        p.poly([(x, 380), (x, 330), (x + 12, 316), (x + 24, 330), (x + 24, 380)])
    for x in (40, 80, 350, 580):
        p.line((x, 470), (x, 430))
        p.flower(x, 420, 14)


def fish(p):
    p.curve((0, 70), (120, 40), (200, 100), (320, 70))
    p.curve((320, 70), (440, 40), (520, 100), (634, 70))
    # big fish
    c = p.c
    c.move_to(130, 250)
    c.curve_to(180, 150, 340, 150, 390, 250)
    c.curve_to(340, 350, 180, 350, 130, 250)
    c.close_path()
    p.draw()
    p.poly([(385, 250), (470, 190), (450, 250), (470, 310)])
    p.poly([(230, 175), (270, 130), (300, 180)])
    p.circle(180, 235, 16)
    p.dot(183, 235, 6)
    p.curve((240, 190), (265, 230), (265, 270), (240, 310), width=4)
    for (x, y) in [(290, 220), (320, 250), (290, 280), (330, 215), (330, 285)]:
        p.c.arc(x, y, 14, -0.6 * math.pi, 0.6 * math.pi)
        p.draw(False, 4)
    # small fish
    p.ellipse(500, 380, 45, 25)
    p.poly([(543, 380), (585, 355), (585, 405)])
    p.dot(478, 374, 4)
    # bubbles, seaweed, sand
    for (x, y, r) in [(110, 200, 10), (95, 160, 14), (115, 115, 9), (470, 320, 8), (455, 290, 11)]:
        p.circle(x, y, r, width=4)
    p.curve((0, 450), (150, 420), (450, 470), (634, 440))
    for x in (60, 560, 600):
        p.curve((x, 450), (x - 25, 400), (x + 25, 370), (x, 320))
        p.curve((x + 14, 450), (x - 11, 400), (x + 39, 370), (x + 14, 320))
    p.star(300, 440, 22)
    p.ellipse(420, 445, 26, 14)


def cat(p):
    # the tail: a thick curve outlined in black
    for width, shade in ((22, 0), (12, 1)):
        p.c.move_to(430, 380)
        p.c.curve_to(540, 380, 560, 260, 500, 220)
        p.c.set_source_rgb(shade, shade, shade)
        p.c.set_line_width(width)
        p.c.stroke()
    p.ellipse(317, 340, 120, 110)
    p.poly([(225, 150), (230, 60), (290, 115)])
    p.poly([(345, 115), (405, 60), (410, 150)])
    p.ellipse(317, 170, 105, 85)
    for dx in (-38, 38):
        p.ellipse(317 + dx, 160, 20, 24)
        p.dot(317 + dx, 165, 9)
    p.poly([(305, 195), (329, 195), (317, 208)])
    p.smile(305, 205, 12)
    p.smile(329, 205, 12)
    for dy in (-8, 6):
        p.line((270, 200 + dy), (215, 195 + dy * 2), width=3)
        p.line((364, 200 + dy), (419, 195 + dy * 2), width=3)
    p.ellipse(260, 440, 40, 22)
    p.ellipse(374, 440, 40, 22)
    p.rect(0, 462, 634, 30)
    p.circle(90, 420, 40)
    p.curve((60, 400), (90, 430), (110, 390), (125, 430), width=4)


def rocket(p):
    for (x, y, r) in [(60, 60, 14), (560, 40, 12), (420, 120, 10), (100, 300, 12), (580, 400, 14), (250, 40, 9)]:
        p.star(x, y, r * 1.6)
    p.circle(520, 250, 60)
    p.ellipse(520, 250, 100, 22, fill=False)
    p.circle(110, 170, 36)
    p.circle(95, 160, 8, width=4)
    p.circle(125, 185, 6, width=4)
    c = p.c
    c.move_to(300, 40)
    c.curve_to(360, 100, 370, 200, 360, 330)
    c.line_to(240, 330)
    c.curve_to(230, 200, 240, 100, 300, 40)
    c.close_path()
    p.draw()
    p.poly([(240, 260), (190, 350), (245, 330)])
    p.poly([(360, 260), (410, 350), (355, 330)])
    p.rect(275, 300, 50, 60)
    p.circle(300, 170, 30)
    p.circle(300, 170, 18)
    p.line((247, 110), (353, 110), width=4)
    c.move_to(260, 360)
    c.curve_to(250, 420, 290, 430, 300, 470)
    c.curve_to(310, 430, 350, 420, 340, 360)
    c.close_path()
    p.draw()
    c.move_to(280, 360)
    c.curve_to(275, 400, 295, 410, 300, 435)
    c.curve_to(305, 410, 325, 400, 320, 360)
    c.close_path()
    p.draw(width=4)


def butterfly(p):
    for sx in (-1, 1):
        c = p.c
        c.move_to(317, 200)
        c.curve_to(317 + sx * 80, 40, 317 + sx * 260, 60, 317 + sx * 220, 200)
        c.curve_to(317 + sx * 200, 230, 317 + sx * 60, 230, 317, 215)
        c.close_path()
        p.draw()
        c.move_to(317, 215)
        c.curve_to(317 + sx * 60, 240, 317 + sx * 200, 250, 317 + sx * 170, 340)
        c.curve_to(317 + sx * 130, 400, 317 + sx * 40, 330, 317, 240)
        c.close_path()
        p.draw()
        p.circle(317 + sx * 150, 140, 32, width=4)
        p.circle(317 + sx * 110, 300, 24, width=4)
        p.circle(317 + sx * 70, 110, 12, width=4)
    p.ellipse(317, 250, 16, 90)
    p.circle(317, 150, 22)
    p.curve((310, 130), (300, 90), (280, 80), (265, 70), width=4)
    p.curve((324, 130), (334, 90), (354, 80), (369, 70), width=4)
    p.circle(263, 68, 7, width=4)
    p.circle(371, 68, 7, width=4)
    for x, y in ((70, 400), (560, 410), (150, 440), (480, 450)):
        p.line((x, 488), (x, y + 20))
        p.flower(x, y, 18)


def car(p):
    p.cloud(130, 80, 0.9)
    p.cloud(480, 60, 0.7)
    p.line((0, 400), (634, 400))
    for x in range(20, 634, 90):
        p.rect(x, 440, 50, 12)
    c = p.c
    c.move_to(110, 340)
    c.line_to(110, 270)
    c.curve_to(110, 250, 130, 245, 160, 245)
    c.line_to(210, 170)
    c.line_to(400, 170)
    c.line_to(460, 245)
    c.line_to(510, 250)
    c.curve_to(535, 255, 540, 280, 540, 340)
    c.close_path()
    p.draw()
    p.poly([(225, 185), (300, 185), (300, 245), (180, 245)])
    p.poly([(318, 185), (390, 185), (435, 245), (318, 245)])
    p.rect(515, 275, 25, 22, 5)
    p.rect(100, 300, 30, 16, 4)
    p.line((310, 260), (330, 260))
    for x in (200, 440):
        p.circle(x, 345, 52)
        p.circle(x, 345, 22)
    p.sun(585, 160, 26, 8)


def castle(p):
    p.rect(80, 200, 474, 250)
    for x in (60, 474):
        p.rect(x, 130, 100, 320)
        for k in range(4):
            p.rect(x + k * 26, 105, 18, 28)
        p.poly([(x + 50, 130), (x + 50, 60)], fill=False, close=False)
        p.poly([(x + 50, 60), (x + 95, 75), (x + 50, 90)])
        p.rect(x + 35, 200, 30, 45, 14)
    for k in range(6):
        p.rect(180 + k * 48, 175, 30, 28)
    c = p.c
    c.move_to(257, 450)
    c.line_to(257, 360)
    c.curve_to(257, 300, 377, 300, 377, 360)
    c.line_to(377, 450)
    c.close_path()
    p.draw()
    p.line((317, 308), (317, 450), width=4)
    p.rect(200, 250, 36, 50, 16)
    p.rect(398, 250, 36, 50, 16)
    p.rect(0, 450, 634, 38)
    p.cloud(317, 70, 0.7)


def boat(p):
    p.sun(90, 90, 40)
    for x, y in ((420, 70), (480, 110)):
        p.curve((x - 20, y), (x - 10, y - 14), (x, y - 14), (x, y), width=4)
        p.curve((x, y), (x + 10, y - 14), (x + 20, y - 14), (x + 30, y), width=4)
    p.poly([(150, 330), (480, 330), (430, 400), (200, 400)])
    p.line((315, 330), (315, 80))
    p.poly([(322, 85), (322, 310), (470, 310)])
    p.poly([(308, 110), (308, 310), (190, 310)])
    p.poly([(315, 80), (360, 60), (315, 45)])
    for x in (240, 300, 360):
        p.circle(x, 362, 14, width=4)
    for y in (410, 450):
        c = p.c
        c.move_to(0, y)
        for x in range(0, 634, 80):
            c.curve_to(x + 20, y - 25, x + 60, y - 25, x + 80, y)
        p.draw(False)


def snowman(p):
    for (x, y) in ((60, 60), (150, 120), (560, 80), (480, 160), (80, 260), (570, 300), (250, 40)):
        for k in range(3):
            a = k * math.pi / 3
            p.line((x - 14 * math.cos(a), y - 14 * math.sin(a)), (x + 14 * math.cos(a), y + 14 * math.sin(a)),
                   width=4)
    p.curve((0, 420), (200, 390), (450, 400), (634, 420))
    p.circle(317, 360, 95)
    p.circle(317, 215, 70)
    p.circle(317, 110, 55)
    for y in (200, 240, 280):
        p.circle(317, y + 60 if y == 280 else y + 5, 8, width=4)
    p.dot(297, 100, 6)
    p.dot(337, 100, 6)
    p.poly([(317, 112), (360, 122), (317, 128)])
    p.smile(317, 115, 26)
    p.rect(272, 45, 90, 12, 3)
    p.rect(285, -5, 64, 52, 4)
    p.line((255, 215), (170, 160))
    p.line((190, 172), (175, 140), width=4)
    p.line((379, 215), (460, 165))
    p.line((440, 177), (455, 145), width=4)
    p.poly([(265, 165), (369, 165), (375, 185), (259, 185)])
    p.poly([(340, 180), (360, 180), (372, 250), (348, 250)])


def cake(p):
    for (x, y, r) in ((90, 110, 45), (540, 90, 40), (470, 170, 32)):
        p.line((x, y + r), (x + 10, y + r + 70), width=3)
        p.ellipse(x, y, r * 0.85, r)
    p.rect(150, 300, 334, 140, 12)
    p.rect(190, 210, 254, 95, 12)
    c = p.c
    c.move_to(150, 330)
    for x in range(150, 484, 42):
        c.curve_to(x + 10, 360, x + 32, 360, x + 42, 330)
    p.draw(False, 4)
    c.move_to(190, 235)
    for x in range(190, 444, 42):
        c.curve_to(x + 10, 262, x + 32, 262, x + 42, 235)
    p.draw(False, 4)
    for x in (240, 290, 340, 390):
        p.rect(x - 8, 140, 16, 70, 3)
        c.move_to(x, 100)
        c.curve_to(x + 14, 118, x + 10, 135, x, 135)
        c.curve_to(x - 10, 135, x - 14, 118, x, 100)
        c.close_path()
        p.draw()
    p.ellipse(317, 450, 220, 20)
    for x in (200, 280, 360, 440):
        p.circle(x, 400, 12, width=4)


def dinosaur(p):
    c = p.c
    c.move_to(90, 360)
    c.curve_to(130, 300, 200, 250, 280, 250)
    c.curve_to(360, 250, 400, 230, 420, 160)
    c.curve_to(430, 110, 470, 90, 510, 100)
    c.curve_to(560, 110, 570, 150, 540, 165)
    c.curve_to(500, 180, 470, 180, 470, 230)
    c.curve_to(470, 330, 420, 380, 340, 385)
    c.line_to(170, 385)
    c.curve_to(130, 385, 60, 400, 20, 430)
    c.curve_to(60, 390, 80, 375, 90, 360)
    c.close_path()
    p.draw()
    for k, (x, y) in enumerate([(200, 262), (245, 250), (290, 248), (335, 244), (380, 222), (412, 180)]):
        p.poly([(x - 16, y + 6), (x, y - 26), (x + 16, y + 4)])
    p.rect(200, 360, 46, 80, 14)
    p.rect(360, 350, 46, 90, 14)
    p.dot(510, 125, 6)
    p.smile(515, 140, 18)
    for (x, y) in ((250, 320), (310, 300), (360, 330), (300, 350)):
        p.circle(x, y, 14, width=4)
    p.line((0, 440), (634, 440))
    p.sun(90, 90, 36)
    p.rect(545, 300, 26, 140, 6)
    for a in range(0, 360, 60):
        r = math.radians(a)
        p.ellipse(558 + 40 * math.cos(r), 290 + 25 * math.sin(r), 40, 16)


def owl(p):
    p.circle(530, 90, 50)
    p.circle(510, 80, 12, width=4)
    p.circle(545, 110, 8, width=4)
    for (x, y) in ((80, 60), (200, 40), (400, 70), (90, 200)):
        p.star(x, y, 16)
    c = p.c
    c.move_to(0, 400)
    c.curve_to(200, 380, 400, 410, 634, 380)
    c.line_to(634, 420)
    c.curve_to(400, 450, 200, 420, 0, 440)
    c.close_path()
    p.draw()
    p.ellipse(317, 280, 110, 125)
    p.ellipse(317, 310, 70, 85)
    for y in (270, 310, 350):
        for x in (290, 317, 344):
            p.c.arc(x, y, 12, 0.15 * math.pi, 0.85 * math.pi)
            p.draw(False, 3)
    p.poly([(220, 180), (240, 110), (280, 165)])
    p.poly([(354, 165), (394, 110), (414, 180)])
    for dx in (-45, 45):
        p.circle(317 + dx, 205, 38)
        p.circle(317 + dx, 205, 18)
        p.dot(317 + dx, 205, 8)
    p.poly([(305, 235), (329, 235), (317, 262)])
    c.move_to(210, 260)
    c.curve_to(180, 300, 190, 360, 230, 380)
    p.draw(False)
    c.move_to(424, 260)
    c.curve_to(454, 300, 444, 360, 404, 380)
    p.draw(False)
    for x in (285, 349):
        for k in (-10, 0, 10):
            p.line((x + k, 395), (x + k * 1.4, 415), width=4)


def mandala(p):
    cx, cy = 317, 244
    p.circle(cx, cy, 215)
    for i in range(16):
        a = 2 * math.pi * i / 16
        p.ellipse(cx + 170 * math.cos(a), cy + 170 * math.sin(a), 34, 34)
    p.circle(cx, cy, 140)
    for i in range(12):
        a = 2 * math.pi * i / 12
        x, y = cx + 95 * math.cos(a), cy + 95 * math.sin(a)
        p.c.save()
        p.c.translate(x, y)
        p.c.rotate(a)
        ellipse(p.c, 0, 0, 42, 17)
        p.c.restore()
        p.draw()
    p.circle(cx, cy, 55)
    p.star(cx, cy, 48, 22, 8)
    p.circle(cx, cy, 14)
    for (x, y) in ((40, 40), (594, 40), (40, 448), (594, 448)):
        p.flower(x, y, 18)


PAGES = [
    ("house", house), ("fish", fish), ("cat", cat), ("rocket", rocket), ("butterfly", butterfly),
    ("car", car), ("castle", castle), ("sailboat", boat), ("snowman", snowman), ("cake", cake),
    ("dinosaur", dinosaur), ("owl", owl), ("flower_wheel", mandala),
]


def render(fn):
    s, c = canvas(W, H, SS, fill=(255, 255, 255))
    c.set_line_join(1)
    c.set_line_cap(1)
    if fn is not None:
        fn(Pen(c))
    g = np.asarray(to_pil(s).convert("L").resize((W, H), Image.BOX))
    bw = np.where(g >= 128, 255, 0).astype(np.uint8)
    return Image.fromarray(np.stack([bw] * 3, 2), "RGB")


ENTRIES = [Entry("FILE", "paint", None, "Pages/blank.bmp", W, H, 24, "blank page, listed first",
                 make=lambda: render(None))]
ENTRIES += [Entry("FILE", "paint", None, f"Pages/{name}.bmp", W, H, 24, f"colouring page: {name}",
                  make=lambda fn=fn: render(fn)) for name, fn in PAGES]

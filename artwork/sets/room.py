"""The illustrated room: wall paper, the picture frame around the canvas, the blue cupboard of the
left panel with its group buttons, the yellow table with the paint cans, tube, remote and caption
strip, the hover highlights, the two markers, the monitor, the paint blot, speaker and spyglass."""
from __future__ import annotations

import math
from functools import lru_cache

import cairo
import numpy as np

import scene
from common import Entry
from draw import (OUT, Canvas, brighten, darker, ellipse, glow, hexc, layer_over, lgrad, lighter, line, mix,
                  over_rgb, paint, poly, rgrad, rrect, shine, solid, sparkle, star_path, text, to_image, to_u8,
                  cutout)

# ------------------------------------------------------------------ palette

WALL = hexc("#FFEFD2")
FRAME_RED = hexc("#E8473E")
FRAME_GOLD = hexc("#FFC83A")
BLUE = hexc("#4A9DE8")
BLUE_SIDE = hexc("#2F74C2")
CREAM = hexc("#FFF3DA")
TABLE = hexc("#FFCB3C")
TABLE_BACK = hexc("#F4B52E")
APRON = hexc("#F39A2A")
STRIP = hexc("#FFF59A")
SILVER = hexc("#D9DEE8")

# Panel coordinates (y relative to the panel's top, H - 480); table coordinates (y relative to H - 96).
ROCK = (0, 69, 58, 124)
BOOKS = (59, 34, 101, 124)
TOOLBOX = (0, 172, 51, 245)
HAT = (55, 187, 101, 245)
PRINTER = (0, 285, 48, 325)
TOYS = (50, 261, 104, 326)
MONITOR = (7, 337, 101, 419)
KEYBOARD = (21, 426, 123, 456)
CLEANER = (127, 344, 146, 418)
REMOTE = (137, 41, 176, 72)
TUBE = (483, 55, 538, 76)
TABLE_TOP = 384  # panel row of the table's back edge
STRIP_ROW = 74   # table row of the caption strip


def byte_colour(c):
    return tuple(v / 255.0 for v in c)


# ------------------------------------------------------------------ frame

def frame_profile(n, side):
    """Colours across a frame strip of width n, index 0 at the outer edge."""
    light = {"top": 1.06, "left": 1.0, "right": 0.86, "bottom": 0.82}[side]
    out = np.zeros((n, 3))
    body = n - 6
    for d in range(n):
        if d == 0:
            c = OUT
        elif d <= body:
            t = (d - 0.5) / body
            k = 0.74 + 0.42 * math.sin(math.pi * t) ** 0.8
            c = tuple(min(1, v * k * light) for v in FRAME_RED)
            if d == 1:
                c = mix(c, (1, 1, 1), 0.15)
        elif d == body + 1:
            c = darker(FRAME_RED, 0.45)
        elif d < n - 1:
            t = (d - body - 1.5) / 3.0
            k = 0.82 + 0.3 * math.sin(math.pi * min(max(t, 0), 1))
            c = tuple(min(1, v * k * light) for v in FRAME_GOLD)
        else:
            c = mix(OUT, FRAME_GOLD, 0.25)
        out[d] = c
    return out


@lru_cache(None)
def profiles():
    return {"left": frame_profile(17, "left"), "top": frame_profile(16, "top"),
            "right": frame_profile(19, "right"), "bottom": frame_profile(15, "bottom")}


def strip_vertical(w, h, side):
    p = profiles()[side]
    out = np.zeros((h, w, 3))
    for i in range(w):
        out[:, i] = p[i] if side == "left" else p[w - 1 - i]
    return out


def strip_horizontal(w, h, side):
    p = profiles()[side]
    out = np.zeros((h, w, 3))
    for j in range(h):
        out[j, :] = p[j] if side == "top" else p[h - 1 - j]
    return out


def corner_top_left():
    """32x15 at (130, 1): the mitre of the left and top strips."""
    P = profiles()
    out = np.zeros((15, 32, 3))
    for j in range(15):
        v = j + 1
        for i in range(32):
            u = i
            if u < 17 and u * 16 < v * 17:
                out[j, i] = P["left"][u]
            else:
                out[j, i] = P["top"][v]
    return out


def corner_top_right():
    """32x16 at (W - 32, 0)."""
    P = profiles()
    out = np.zeros((16, 32, 3))
    for j in range(16):
        for i in range(32):
            r = 31 - i
            if r < 19 and r * 16 < j * 19:
                out[j, i] = P["right"][r]
            else:
                out[j, i] = P["top"][j]
    return out


def corner_bottom_right():
    """20x32 at (W - 20, H - 112): right strip meets the bottom strip; its last row is the frame's
    shadow on the wall below it, its first column lies on the canvas (painted white afterwards)."""
    P = profiles()
    out = np.zeros((32, 20, 3))
    for j in range(32):
        b = 30 - j
        for i in range(20):
            r = 19 - i
            if b < 0:
                out[j, i] = darker(WALL, 0.22)
            elif r >= 19:
                out[j, i] = (1, 1, 1) if b >= 15 else P["bottom"][b]
            elif b >= 15:
                out[j, i] = P["right"][r]
            elif r * 15 < b * 19:
                out[j, i] = P["right"][r]
            else:
                out[j, i] = P["bottom"][b]
    return out


def strip_bottom_first():
    """509x15 at (130, H - 96): the bottom strip with the bottom-left mitre in its first columns."""
    P = profiles()
    out = strip_horizontal(509, 15, "bottom")
    for j in range(15):
        b = 14 - j
        for i in range(17):
            if i * 15 < b * 17:
                out[j, i] = P["left"][i]
    return out


# ------------------------------------------------------------------ wall paper

@lru_cache(None)
def wall_tile():
    cv = Canvas(256, 256)
    c = cv.ctx
    c.set_source_rgb(*WALL)
    c.paint()
    # soft stripes, 8 per tile
    for k in range(8):
        x = k * 32
        c.rectangle(x + 2, 0, 12, 256)
        c.set_source_rgba(*hexc("#FFD9A8"), 0.35)
        c.fill()
        c.rectangle(x + 24, 0, 2, 256)
        c.set_source_rgba(*hexc("#F7C48A"), 0.35)
        c.fill()
    # little flowers and dots on a staggered grid, drawn with wrap-around
    colours = [hexc("#FF8FB1"), hexc("#7FD6C2"), hexc("#8FB8FF"), hexc("#FFB347")]
    k = 0
    for row in range(4):
        for col in range(4):
            cx = col * 64 + (32 if row % 2 else 0) + 19
            cy = row * 64 + 20
            colr = colours[k % 4]
            k += 1
            for ox in (-256, 0, 256):
                for oy in (-256, 0, 256):
                    x, y = cx + ox, cy + oy
                    if -12 < x < 268 and -12 < y < 268:
                        for a in range(5):
                            ang = a * 2 * math.pi / 5 + row
                            ellipse(c, x + 3.2 * math.cos(ang), y + 3.2 * math.sin(ang), 2.6, 2.6)
                            c.set_source_rgba(*colr, 0.55)
                            c.fill()
                        ellipse(c, x, y, 1.8, 1.8)
                        c.set_source_rgba(*hexc("#FFF8E8"), 0.9)
                        c.fill()
                        dx, dy = x + 32, y + 32
                        ellipse(c, dx, dy, 1.6, 1.6)
                        c.set_source_rgba(*colr, 0.45)
                        c.fill()
    return cv.rgba()[..., :3]


# ------------------------------------------------------------------ caption strip

@lru_cache(None)
def caption_strip():
    """572 x 22: the empty yellow strip along the table's front edge."""
    cv = Canvas(572, 22)
    c = cv.ctx
    c.rectangle(0, 0, 572, 22)
    c.set_source(lgrad(0, 0, 0, 22, (0, lighter(STRIP, 0.35)), (0.5, STRIP), (1, mix(STRIP, APRON, 0.25))))
    c.fill()
    c.rectangle(0, 0, 572, 1)
    c.set_source_rgb(*mix(APRON, OUT, 0.45))
    c.fill()
    c.rectangle(0, 21, 572, 1)
    c.set_source_rgb(*mix(APRON, OUT, 0.3))
    c.fill()
    c.rectangle(568, 0, 4, 22)
    c.set_source(lgrad(568, 0, 572, 0, (0, (1, 1, 1, 0)), (1, mix(APRON, OUT, 0.35) + (1,))))
    c.fill()
    return cv.rgba()[..., :3]


# ------------------------------------------------------------------ table and cans

CAN_BOTTOMS = {0: 49, 1: 34, 2: 36, 3: 45, 4: 48, 5: 54, 6: 68, 7: 69}
CAN_ORDER = [1, 0, 2, 3, 4, 5, 6, 7]
FRONT_CANS = (0, 5, 6, 7)
SHEEN = (0.97, 0.97, 0.97)


def can_geom(i):
    l, t, r, b = scene.CAN_LIDS[i]
    t += 96
    b += 96
    return (l + r) / 2, (t + b) / 2, (r - l) / 2, (b - t) / 2


def body_path(c, cx, cy, rx, ry, yb, inset=0.0):
    c.new_sub_path()
    x0, x1 = cx - rx + inset, cx + rx - inset
    c.move_to(x0, cy)
    c.line_to(x0, yb - ry)
    c.save()
    c.translate(cx, yb - ry)
    c.scale(rx - inset, ry - inset * 0.5)
    c.arc_negative(0, 0, 1, math.pi, 0)
    c.restore()
    c.line_to(x1, cy)
    c.close_path()


def body_fill(c, i, cx, cy, rx, ry, yb, colour, below_rim=False):
    c.save()
    c.set_antialias(cairo.ANTIALIAS_NONE)
    body_path(c, cx, cy, rx - 0.5, ry, yb, inset=1.2)
    c.clip()
    if below_rim:
        c.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
        c.rectangle(0, 0, 640, 96)
        ellipse(c, cx, cy, rx - 0.4, ry + 0.35)
        c.clip()
    c.rectangle(0, 0, 640, 96)
    c.set_source_rgb(*colour)
    c.fill()
    c.rectangle(cx - rx + 4, cy + ry + 4, 2, max(2, yb - cy - ry - 9))
    c.set_source_rgb(*SHEEN)
    c.fill()
    c.restore()


def draw_cans(c, paints, bodies):
    """The eight cans, back to front. paints: colour of each can's paint surface; bodies: colour of each
    front can's body. Paint, bodies and sheen are drawn without anti-aliasing, so that each is one
    exact colour that a flood fill can take over."""
    for i in CAN_ORDER:
        cx, cy, rx, ry = can_geom(i)
        yb = CAN_BOTTOMS[i]
        front = i in FRONT_CANS
        # body outline
        body_path(c, cx, cy, rx - 0.5, ry, yb)
        c.set_source_rgb(*OUT)
        c.set_line_width(1.5)
        c.stroke()
        if front:
            body_fill(c, i, cx, cy, rx, ry, yb, bodies[i])
        else:
            c.save()
            c.set_antialias(cairo.ANTIALIAS_NONE)
            body_path(c, cx, cy, rx - 0.5, ry, yb, inset=1.2)
            c.set_source_rgb(*SILVER)
            c.fill()
            c.restore()
        if not front:
            c.save()
            body_path(c, cx, cy, rx - 0.5, ry, yb, inset=1.2)
            c.clip()
            c.rectangle(cx - rx, cy, rx * 2, yb - cy)
            c.set_source(lgrad(cx - rx, 0, cx + rx, 0, (0, (0, 0, 0, 0.0)), (0.3, (1, 1, 1, 0.4)),
                               (1, (0, 0, 0, 0.25))))
            c.fill()
            c.restore()
        # rim
        ellipse(c, cx, cy, rx - 0.4, ry - 0.2)
        paint(c, lgrad(0, cy - ry, 0, cy + ry, (0, hexc("#F4F6FA")), (1, hexc("#A9B0C0"))), OUT, 1.2)
        if front:
            # the body once more, hard-edged up to the rim, so that it is one exact colour to the edge
            body_fill(c, i, cx, cy, rx, ry, yb, bodies[i], below_rim=True)
        c.save()
        c.set_antialias(cairo.ANTIALIAS_NONE)
        ellipse(c, cx, cy + 0.3, rx - 2.6, ry - 1.7)
        c.set_source_rgb(*paints[i])
        c.fill()
        c.rectangle(round(cx - rx * 0.45), round(cy - 0.5), 3, 1)
        c.set_source_rgb(*SHEEN)
        c.fill()
        c.restore()


def draw_tube(c):
    l, t, r, b = TUBE
    cy = 65.0
    # crimped end
    poly(c, [(484, 58), (491, 59), (491, 71), (484, 72), (485.5, 69.5), (484, 67), (485.5, 64.5), (484, 62),
             (485.5, 60)])
    paint(c, hexc("#C9CED8"), OUT, 1.2)
    # body: swells toward the shoulder
    c.new_sub_path()
    c.move_to(490, 59)
    c.curve_to(505, 55.5, 520, 56, 528, 59)
    c.line_to(528, 71)
    c.curve_to(520, 74, 505, 74.5, 490, 71)
    c.close_path()
    paint(c, lgrad(0, 56, 0, 74, (0, (1, 1, 1)), (0.55, hexc("#E3E7EF")), (1, hexc("#AEB5C4"))), OUT, 1.3)
    # rainbow label band
    cols = ["#F0443A", "#FF9F1C", "#FFE03A", "#4CC24A", "#3E8EF0", "#9B5DE5"]
    c.save()
    c.new_sub_path()
    c.move_to(497, 58.6)
    c.curve_to(505, 57, 514, 57, 521, 58.2)
    c.line_to(521, 71.8)
    c.curve_to(514, 73, 505, 73, 497, 71.4)
    c.close_path()
    c.clip()
    for k, col in enumerate(cols):
        c.rectangle(497, 57 + k * 2.7, 24, 2.8)
        c.set_source_rgb(*hexc(col))
        c.fill()
    c.restore()
    # shoulder and cap
    rrect(c, 527, 60, 4, 10, 1)
    paint(c, hexc("#C9CED8"), OUT, 1.0)
    rrect(c, 530.5, 55.8, 7.2, 18.6, 2.2)
    paint(c, lgrad(0, 56, 0, 74, (0, hexc("#FF6B5E")), (1, hexc("#C42A22"))), OUT, 1.2)
    for k in range(3):
        line(c, [(532.6 + k * 1.8, 58), (532.6 + k * 1.8, 72)], (0.6, 0.1, 0.1, 0.5), 0.7)
    shine(c, 499, 59.5, 18, 2.6, 0.7)


def draw_small_remote(c):
    c.save()
    c.translate(156.5, 57.0)
    c.rotate(math.radians(57))
    rrect(c, -6.5, -17, 13, 34, 5)
    paint(c, lgrad(-6, 0, 6, 0, (0, hexc("#A77BF3")), (1, hexc("#6A3FC0"))), OUT, 1.4)
    cols = ["#FF5A4E", "#FFD23F", "#4CD07A", "#4FA7FF", "#FF8AD8", "#FF9F1C"]
    for k in range(6):
        x = -2.6 + (k % 2) * 5.2
        y = -6 + (k // 2) * 6
        ellipse(c, x, y, 1.7, 1.7)
        c.set_source_rgb(*hexc(cols[k]))
        c.fill()
    ellipse(c, 0, -12.5, 1.4, 1.4)
    c.set_source_rgb(*hexc("#FF3B30"))
    c.fill()
    rrect(c, -4, 11, 8, 2.4, 1)
    c.set_source_rgba(1, 1, 1, 0.7)
    c.fill()
    c.restore()


@lru_cache(None)
def table_base():
    """640 x 96, opaque: the table top, its front edge with the caption strip, the apron at the right."""
    cv = Canvas(640, 96)
    c = cv.ctx
    c.rectangle(0, 0, 640, STRIP_ROW)
    c.set_source(lgrad(0, 0, 0, STRIP_ROW, (0, TABLE_BACK), (0.25, TABLE), (1, lighter(TABLE, 0.18))))
    c.fill()
    # faint wood grain
    rng = np.random.default_rng(1701)
    for k in range(26):
        y = 6 + rng.uniform(0, 62)
        x = rng.uniform(-40, 600)
        ln = rng.uniform(60, 220)
        c.new_sub_path()
        c.move_to(x, y)
        c.curve_to(x + ln / 3, y + rng.uniform(-1.5, 1.5), x + 2 * ln / 3, y + rng.uniform(-1.5, 1.5), x + ln, y)
        c.set_source_rgba(*darker(TABLE, 0.25), 0.16)
        c.set_line_width(rng.uniform(0.8, 1.6))
        c.stroke()
    # shadow of the frame and cupboard on the back of the table
    c.rectangle(0, 0, 640, 8)
    c.set_source(lgrad(0, 0, 0, 8, (0, (0.45, 0.25, 0.05, 0.35)), (1, (0.45, 0.25, 0.05, 0))))
    c.fill()
    # rounded front edge
    c.rectangle(0, STRIP_ROW - 4, 640, 4)
    c.set_source(lgrad(0, STRIP_ROW - 4, 0, STRIP_ROW, (0, lighter(TABLE, 0.5)), (1, mix(TABLE, APRON, 0.6))))
    c.fill()
    # apron at the right of the strip
    c.rectangle(572, STRIP_ROW, 68, 96 - STRIP_ROW)
    c.set_source(lgrad(0, STRIP_ROW, 0, 96, (0, lighter(APRON, 0.15)), (1, darker(APRON, 0.12))))
    c.fill()
    c.rectangle(572, STRIP_ROW, 68, 1)
    c.set_source_rgb(*mix(APRON, OUT, 0.45))
    c.fill()
    # the table's right end
    c.rectangle(636, 0, 4, 96)
    c.set_source(lgrad(636, 0, 640, 0, (0, (0.6, 0.35, 0.05, 0.0)), (1, (0.6, 0.35, 0.05, 0.45))))
    c.fill()
    c.rectangle(639, 0, 1, 96)
    c.set_source_rgb(*OUT)
    c.fill()
    rgb = cv.rgba()[..., :3]
    rgb[STRIP_ROW:96, 0:572] = caption_strip()
    return rgb


CAN_INITIAL = [byte_colour(c) for c in scene.CAN_COLOURS]
BODY_INITIAL = [byte_colour(scene.body_colour(c)) for c in scene.CAN_COLOURS]


@lru_cache(None)
def table_items():
    """The table's own things as RGBA layers in table coordinates."""
    layers = {}
    for name, fn in (("remote", draw_small_remote), ("tube", draw_tube)):
        cv = Canvas(640, 96)
        fn(cv.ctx)
        layers[name] = cv.rgba()
    return layers


@lru_cache(None)
def table_render(paints, bodies):
    cv = Canvas(640, 96)
    draw_cans(cv.ctx, list(paints), list(bodies))
    rgb = over_rgb(table_base(), cv.rgba())
    items = table_items()
    rgb = over_rgb(rgb, items["tube"])
    rgb = over_rgb(rgb, items["remote"])
    return to_u8(rgb)


@lru_cache(None)
def table_rgb(black_paint=False):
    """The table with its cans. Edge pixels that mix a can's paint or body colour with something else
    (those a recolouring would leave in the old colour) take the outline colour instead."""
    paints = tuple([(0, 0, 0)] * 8 if black_paint else CAN_INITIAL)
    bodies = tuple(BODY_INITIAL)
    rgb = table_render(paints, bodies).copy()
    ca, cb = (25 / 255, 230 / 255, 51 / 255), (204 / 255, 25 / 255, 178 / 255)
    a = table_render(tuple([ca] * 8), tuple([ca] * 8))
    b = table_render(tuple([cb] * 8), tuple([cb] * 8))
    dark = table_render(tuple([OUT] * 8), tuple([OUT] * 8))
    exact = np.all(np.abs(a.astype(int) - (25, 230, 51)) <= 1, axis=2)
    mixed = np.any(a != b, axis=2) & ~exact
    rgb[mixed] = dark[mixed]
    return rgb


@lru_cache(None)
def can_id_map():
    """Which can's paint is the top-most exact colour at each pixel of the table (-1 none)."""
    ids = [((20 + 25 * i) / 255, 128 / 255, 64 / 255) for i in range(8)]
    cv = Canvas(640, 96)
    draw_cans(cv.ctx, ids, BODY_INITIAL)
    rgba = cv.rgba()
    u = to_u8(rgba[..., :3])
    out = np.full((96, 640), -1, int)
    for i, col in enumerate(ids):
        target = np.array([round(v * 255) for v in col])
        out[np.all(np.abs(u.astype(int) - target) <= 1, axis=2) & (rgba[..., 3] > 0.999)] = i
    return out


def panel_item_footprint():
    """Pixels of the table (table coordinates) covered by the panel's keyboard and cleaner bottle."""
    items = panel_items()
    a = np.maximum(items["keyboard"][..., 3], items["cleaner"][..., 3])[TABLE_TOP:, :]
    foot = np.zeros((96, 640), bool)
    foot[:, :147] = a > 0.0
    return foot


@lru_cache(None)
def table_picture():
    pic = table_rgb().copy()
    mask = np.full((96, 640), 255, np.uint8)
    foot = panel_item_footprint()
    mask[foot] = 0
    pic[foot] = 255
    return pic, mask


def cans_picture():
    """142 x 39: the can cluster with every can's paint pure black."""
    return table_rgb(True)[0:39, 475:617].copy()


def can_mask(i):
    ids = can_id_map()[0:39, 475:617]
    return np.where(ids == i, 255, 0).astype(np.uint8)


# ------------------------------------------------------------------ the paint blot

def blot_layer():
    cv = Canvas(44, 17)
    c = cv.ctx
    rng = np.random.default_rng(44)
    pts = []
    n = 22
    for k in range(n):
        a = 2 * math.pi * k / n
        r = 1.0 + 0.13 * math.sin(3 * a + 0.7) + 0.08 * math.sin(5 * a) + rng.uniform(-0.05, 0.05)
        pts.append((21.5 + 19.5 * r * math.cos(a), 8.3 + 6.6 * r * math.sin(a)))
    c.new_sub_path()
    c.move_to(*pts[0])
    for k in range(1, n + 1):
        p0 = pts[(k - 1) % n]
        p1 = pts[k % n]
        c.curve_to(p0[0] + (p1[0] - p0[0]) / 3, p0[1] + (p1[1] - p0[1]) / 3,
                   p0[0] + 2 * (p1[0] - p0[0]) / 3, p0[1] + 2 * (p1[1] - p0[1]) / 3, *p1)
    c.close_path()
    path = c.copy_path()
    c.set_source_rgb(*OUT)
    c.set_line_width(1.6)
    c.stroke()
    c.save()
    c.set_antialias(cairo.ANTIALIAS_NONE)
    c.append_path(path)
    c.set_source_rgb(0, 0, 0)
    c.fill()
    ellipse(c, 14, 5, 4, 1.3)
    c.set_source_rgb(*SHEEN)
    c.fill()
    ellipse(c, 20.5, 4.5, 1.2, 0.9)
    c.fill()
    c.restore()
    return cv.rgba()


def blot_picture():
    bg = table_base()[56:73, 439:483]
    pic, mask = cutout(blot_layer(), bg, threshold=0.5)
    return pic, mask


# ------------------------------------------------------------------ the cupboard

def draw_cupboard(c):
    # right side face (seen in perspective) and the front posts
    poly(c, [(116, 10), (131, 16), (131, TABLE_TOP + 2), (116, TABLE_TOP + 2)])
    paint(c, lgrad(116, 0, 131, 0, (0, BLUE_SIDE), (1, darker(BLUE_SIDE, 0.2))), OUT, 1.3)
    # interior
    c.rectangle(6, 14, 104, TABLE_TOP - 14)
    c.set_source_rgb(*CREAM)
    c.fill()
    for k in range(1, 6):
        x = 6 + k * 104 / 6
        c.rectangle(x, 14, 1, TABLE_TOP)
        c.set_source_rgba(*darker(CREAM, 0.35), 0.25)
        c.fill()
    # shadows inside each compartment: under the board above and beside the left post
    for top, bottom in ((16, 124), (133, 245), (254, 326), (335, TABLE_TOP)):
        c.rectangle(6, top, 104, 10)
        c.set_source(lgrad(0, top, 0, top + 10, (0, (0.45, 0.3, 0.15, 0.35)), (1, (0.45, 0.3, 0.15, 0))))
        c.fill()
        c.rectangle(6, top, 7, bottom - top)
        c.set_source(lgrad(6, 0, 13, 0, (0, (0.45, 0.3, 0.15, 0.3)), (1, (0.45, 0.3, 0.15, 0))))
        c.fill()
        c.rectangle(102, top, 8, bottom - top)
        c.set_source(lgrad(102, 0, 110, 0, (0, (0.45, 0.3, 0.15, 0)), (1, (0.45, 0.3, 0.15, 0.22))))
        c.fill()
    # lower doors (mostly behind the monitor)
    for x0 in (8, 59):
        rrect(c, x0, 337, 49, 50, 3)
        paint(c, lighter(BLUE, 0.1), OUT, 1.2)
    for x0 in (50, 66):
        ellipse(c, x0, 356, 2.2, 2.2)
        paint(c, FRAME_GOLD, OUT, 0.8)
    # posts
    for x0, x1 in ((-4, 7), (106, 117)):
        rrect(c, x0, 8, x1 - x0, TABLE_TOP - 2, 2)
        paint(c, lgrad(x0, 0, x1, 0, (0, lighter(BLUE, 0.25)), (0.4, BLUE), (1, darker(BLUE, 0.1))), OUT, 1.4)
    # shelf boards
    for y in (124, 245, 326):
        rrect(c, -4, y, 122, 9, 2)
        paint(c, lgrad(0, y, 0, y + 9, (0, lighter(BLUE, 0.45)), (0.3, lighter(BLUE, 0.1)), (1, BLUE)), OUT, 1.4)
        poly(c, [(117, y), (131, y + 3), (131, y + 10), (117, y + 9)])
        paint(c, darker(BLUE_SIDE, 0.1), OUT, 1.0)
    # crown
    c.new_sub_path()
    c.move_to(-4, 18)
    c.line_to(-4, 6)
    c.line_to(24, 6)
    c.curve_to(34, 6, 40, 0.8, 58, 0.8)
    c.curve_to(76, 0.8, 82, 6, 92, 6)
    c.line_to(119, 6)
    c.line_to(131, 12)
    c.line_to(131, 20)
    c.line_to(119, 18)
    c.close_path()
    paint(c, lgrad(0, 0, 0, 18, (0, lighter(BLUE, 0.4)), (1, BLUE)), OUT, 1.4)
    line(c, [(119, 6), (119, 18)], darker(BLUE_SIDE, 0.1), 1.0)
    star_path(c, 58, 9.5, 5.2, 2.3)
    paint(c, FRAME_GOLD, OUT, 1.0)
    for x in (24, 92):
        ellipse(c, x, 12, 2.2, 2.2)
        paint(c, hexc("#FF8FB1"), OUT, 0.8)


def draw_rock(c):
    l, t, r, b = ROCK
    c.new_sub_path()
    c.move_to(2, 123)
    c.curve_to(0, 110, 3, 92, 12, 84)
    c.curve_to(18, 73, 30, 69.5, 40, 72)
    c.curve_to(50, 75, 57, 88, 57, 100)
    c.curve_to(57.5, 110, 56, 118, 55, 123)
    c.close_path()
    path = c.copy_path()
    paint(c, rgrad(22, 84, 3, 44, (0, hexc("#C9C1D6")), (0.6, hexc("#9A8FB0")), (1, hexc("#6F6488"))),
          None, 0)
    c.save()
    c.append_path(path)
    c.clip()
    rng = np.random.default_rng(58)
    for k in range(7):
        x, y = rng.uniform(8, 52), rng.uniform(80, 120)
        rad = rng.uniform(3, 6)
        ellipse(c, x, y, rad, rad * 0.8)
        c.set_source_rgba(*hexc("#6A5F84"), 0.55)
        c.fill()
        ellipse(c, x - rad * 0.25, y - rad * 0.3, rad * 0.45, rad * 0.3)
        c.set_source_rgba(1, 1, 1, 0.45)
        c.fill()
    # a band of stripes: the bump patterns
    for k in range(4):
        y = 103 + k * 4.5
        c.new_sub_path()
        c.move_to(0, y)
        for x in range(0, 60, 6):
            c.line_to(x + 3, y - 2)
            c.line_to(x + 6, y)
        c.set_source_rgba(*hexc("#5B4F78"), 0.4)
        c.set_line_width(1.2)
        c.stroke()
    c.restore()
    c.append_path(path)
    paint(c, None, OUT, 1.6)
    shine(c, 17, 77, 13, 5, 0.5)


def draw_books(c):
    specs = [(60, 73, 40, hexc("#E8383D"), "1"), (73, 87, 34, hexc("#3E7BEA"), "2"),
             (87, 100.5, 44, hexc("#3DAA4A"), "3")]
    for x0, x1, top, col, label in specs:
        rrect(c, x0, top, x1 - x0, 124 - top, 2.5)
        paint(c, lgrad(x0, 0, x1, 0, (0, darker(col, 0.15)), (0.35, lighter(col, 0.25)), (1, darker(col, 0.2))),
              OUT, 1.4)
        for y in (top + 7, 124 - 11):
            c.rectangle(x0 + 1, y, x1 - x0 - 2, 3)
            c.set_source_rgb(*FRAME_GOLD)
            c.fill()
        mid = (x0 + x1) / 2
        ellipse(c, mid, top + 27, 5, 5.5)
        paint(c, (1, 1, 0.94), OUT, 1.0)
        text(c, label, mid, top + 31.3, 10.5, OUT, align="centre")
        c.rectangle(x0 + 2.5, top + 40, 1.5, 124 - top - 56)
        c.set_source_rgba(1, 1, 1, 0.45)
        c.fill()


def draw_toolbox(c):
    # brushes and pencils standing in the open box
    rrect(c, 8, 178, 6, 34, 2.5)
    paint(c, hexc("#FFD23F"), OUT, 1.2)
    c.new_sub_path()
    c.move_to(8.2, 181)
    c.curve_to(8, 175, 10, 172.5, 11, 172.5)
    c.curve_to(12, 172.5, 14, 175, 13.8, 181)
    c.close_path()
    paint(c, hexc("#E8383D"), OUT, 1.1)
    rrect(c, 8, 181, 6, 4, 0.5)
    paint(c, SILVER, OUT, 0.9)
    # pencil
    poly(c, [(20, 184), (25.5, 184), (25.5, 212), (20, 212)])
    paint(c, hexc("#4CC24A"), OUT, 1.1)
    poly(c, [(20, 184), (22.75, 175.5), (25.5, 184)])
    paint(c, hexc("#FFE2B0"), OUT, 1.0)
    poly(c, [(21.9, 178.7), (22.75, 175.5), (23.6, 178.7)])
    paint(c, hexc("#2E7D32"), None, 0)
    # second brush, blue, leaning
    c.save()
    c.translate(36, 212)
    c.rotate(math.radians(14))
    rrect(c, -3, -36, 6, 36, 2.5)
    paint(c, hexc("#3E8EF0"), OUT, 1.2)
    c.new_sub_path()
    c.move_to(-2.8, -33)
    c.curve_to(-3, -40, -1, -42, 0, -42)
    c.curve_to(1, -42, 3, -40, 2.8, -33)
    c.close_path()
    paint(c, hexc("#9B5DE5"), OUT, 1.1)
    c.restore()
    # the box
    rrect(c, 1, 206, 49, 38, 4)
    paint(c, lgrad(0, 206, 0, 244, (0, hexc("#FF5A4E")), (1, hexc("#C62F28"))), OUT, 1.5)
    rrect(c, 1, 206, 49, 8, 3)
    paint(c, lgrad(0, 206, 0, 214, (0, hexc("#FF8A7E")), (1, hexc("#E8473E"))), OUT, 1.3)
    rrect(c, 22, 211, 7, 6, 1.5)
    paint(c, FRAME_GOLD, OUT, 1.0)
    # palette badge on the front
    c.new_sub_path()
    ellipse(c, 25.5, 230, 12, 8.5)
    paint(c, hexc("#FFE9C2"), OUT, 1.2)
    for k, col in enumerate(["#E8383D", "#3E8EF0", "#4CC24A", "#FFD23F"]):
        a = math.pi * (0.95 + k * 0.38)
        ellipse(c, 25.5 + 7 * math.cos(a), 230 + 4.6 * math.sin(a), 2.2, 1.8)
        c.set_source_rgb(*hexc(col))
        c.fill()
    ellipse(c, 31, 232.5, 2.2, 1.7)
    paint(c, CREAM, OUT, 0.8)
    shine(c, 5, 216, 3, 24, 0.35)


def draw_hat(c):
    # sparkles rising out of the hat
    star_path(c, 87, 193, 6, 2.6, rot=-1.3)
    paint(c, FRAME_GOLD, OUT, 1.1)
    star_path(c, 66, 195, 3.6, 1.6, rot=-1.9)
    paint(c, hexc("#FF8FB1"), OUT, 0.9)
    # crown
    c.new_sub_path()
    c.move_to(63, 203)
    c.curve_to(70, 199.5, 86, 199.5, 93, 203)
    c.line_to(95, 237)
    c.line_to(61, 237)
    c.close_path()
    paint(c, lgrad(61, 0, 95, 0, (0, hexc("#4B2A7A")), (0.35, hexc("#7A4CC0")), (1, hexc("#341B5C"))), OUT, 1.5)
    ellipse(c, 78, 203, 15, 3.2)
    paint(c, hexc("#2A1547"), OUT, 1.2)
    # band
    c.new_sub_path()
    c.move_to(61.8, 225)
    c.line_to(94.2, 225)
    c.line_to(94.7, 233)
    c.line_to(61.3, 233)
    c.close_path()
    paint(c, hexc("#E8383D"), OUT, 1.1)
    # little stars on the crown
    for x, y, rad in ((70, 212, 2.6), (84, 216, 2.2), (78, 208, 1.6)):
        star_path(c, x, y, rad, rad * 0.45)
        c.set_source_rgb(*FRAME_GOLD)
        c.fill()
    # brim
    ellipse(c, 78, 239.5, 22.5, 5)
    paint(c, lgrad(0, 234, 0, 245, (0, hexc("#7A4CC0")), (1, hexc("#3A1F66"))), OUT, 1.4)
    sparkle(c, 97, 204, 4, (1, 1, 0.8))
    sparkle(c, 59, 212, 3, (1, 1, 0.8))
    shine(c, 66, 206, 3, 16, 0.3)


def draw_printer(c):
    # paper with a drawing coming out of the top
    poly(c, [(11, 286), (37, 286), (37, 303), (11, 303)])
    paint(c, (1, 1, 1), OUT, 1.2)
    ellipse(c, 18, 292, 3.2, 3.2)
    c.set_source_rgb(*hexc("#FFC83A"))
    c.fill()
    for k, col in enumerate(["#E8383D", "#FF9F1C", "#4CC24A", "#3E8EF0"]):
        c.new_sub_path()
        c.arc(29, 301, 7 - k * 1.6, math.pi, 2 * math.pi)
        c.set_source_rgb(*hexc(col))
        c.set_line_width(1.4)
        c.stroke()
    # body
    rrect(c, 1, 299, 46, 20, 5)
    paint(c, lgrad(0, 299, 0, 319, (0, hexc("#FBFCFF")), (1, hexc("#C8CFDC"))), OUT, 1.5)
    rrect(c, 8, 299.5, 32, 4, 1.5)
    paint(c, hexc("#59627A"), None, 0)
    # front tray
    poly(c, [(6, 316), (42, 316), (45, 324), (3, 324)])
    paint(c, hexc("#A9B3C6"), OUT, 1.3)
    ellipse(c, 40, 308, 1.9, 1.9)
    paint(c, hexc("#4CD07A"), OUT, 0.7)
    rrect(c, 30, 306.5, 6, 3, 1)
    paint(c, hexc("#8FB8FF"), OUT, 0.7)
    shine(c, 5, 302, 22, 2.5, 0.6)


def draw_toys(c):
    # open lid behind
    poly(c, [(55, 287), (100, 287), (103, 279), (58, 276)])
    paint(c, lgrad(0, 276, 0, 287, (0, hexc("#FFB347")), (1, hexc("#E8822A"))), OUT, 1.3)
    # teddy bear peeking out
    for ex in (61.5, 78.5):
        ellipse(c, ex, 268.5, 4.3, 4.3)
        paint(c, hexc("#B77A45"), OUT, 1.2)
        ellipse(c, ex, 268.5, 2, 2)
        c.set_source_rgb(*hexc("#E8B48A"))
        c.fill()
    ellipse(c, 70, 279, 11, 11)
    paint(c, rgrad(67, 275, 1, 12, (0, hexc("#D39A62")), (1, hexc("#A56B38"))), OUT, 1.4)
    ellipse(c, 70, 283.5, 5, 3.8)
    paint(c, hexc("#F0CDA0"), OUT, 0.9)
    ellipse(c, 70, 282.2, 1.8, 1.3)
    c.set_source_rgb(*OUT)
    c.fill()
    for ex in (66, 74):
        ellipse(c, ex, 277, 1.3, 1.5)
        c.set_source_rgb(*OUT)
        c.fill()
    # ball
    ellipse(c, 91, 282, 9, 9)
    paint(c, (1, 1, 1), OUT, 1.3)
    c.save()
    ellipse(c, 91, 282, 8.3, 8.3)
    c.clip()
    c.rectangle(82, 272, 9, 20)
    c.set_source_rgb(*hexc("#E8383D"))
    c.fill()
    c.rectangle(91, 272, 9, 10)
    c.set_source_rgb(*hexc("#3E8EF0"))
    c.fill()
    c.restore()
    ellipse(c, 91, 282, 9, 9)
    paint(c, None, OUT, 1.3)
    shine(c, 85, 276, 4, 3, 0.7)
    # the chest
    rrect(c, 51, 289, 52, 36, 4)
    paint(c, lgrad(0, 289, 0, 325, (0, hexc("#FFA94D")), (1, hexc("#E07A1F"))), OUT, 1.5)
    for y in (299, 311):
        c.rectangle(52, y, 50, 3)
        c.set_source_rgba(*hexc("#B8560F"), 0.55)
        c.fill()
    star_path(c, 66, 307, 6, 2.8)
    paint(c, hexc("#FFE03A"), OUT, 1.0)
    ellipse(c, 84, 316, 4, 4)
    paint(c, hexc("#4CC24A"), OUT, 1.0)
    shine(c, 54, 291, 3, 30, 0.3)


def draw_keyboard(c):
    poly(c, [(28, 427.5), (116, 427.5), (122.5, 455), (21.5, 455)])
    paint(c, lgrad(0, 427, 0, 455, (0, hexc("#FFFFFF")), (1, hexc("#CDD6E6"))), OUT, 1.5)
    cols = ["#F0443A", "#FF9F1C", "#FFE03A", "#4CC24A", "#3E8EF0", "#9B5DE5"]
    rows = [(430.5, 10, 28.8, 114.8), (436.8, 10, 27.3, 116.3), (443.1, 10, 25.8, 117.8)]
    for ri, (y, n, x0, x1) in enumerate(rows):
        w = (x1 - x0) / n
        for k in range(n):
            col = hexc(cols[(k + ri) % 6])
            rrect(c, x0 + k * w + 0.8, y, w - 1.6, 4.6, 1.2)
            paint(c, lighter(col, 0.1), darker(col, 0.45), 0.8)
    rrect(c, 45, 449.4, 54, 4, 1.2)
    paint(c, hexc("#FFFFFF"), darker(SILVER, 0.4), 0.8)


def draw_cleaner(c):
    # body: a clear bottle of blue cleaner
    rrect(c, 129.5, 366, 15.5, 51.5, 4)
    paint(c, lgrad(129, 0, 145, 0, (0, hexc("#9FE0FF")), (0.4, hexc("#D8F4FF")), (1, hexc("#6CC6F0"))), OUT, 1.4)
    c.save()
    rrect(c, 130.3, 374, 14, 43, 3.4)
    c.clip()
    c.rectangle(129, 380, 18, 40)
    c.set_source_rgba(*hexc("#2F9BE8"), 0.8)
    c.fill()
    c.restore()
    rrect(c, 131, 388, 12.5, 14, 2)
    paint(c, (1, 1, 1), OUT, 0.9)
    for x, y, rad in ((135, 393, 2.2), (139.5, 396.5, 1.8), (135.8, 398.5, 1.3)):
        ellipse(c, x, y, rad, rad)
        paint(c, hexc("#BDEBFF"), hexc("#2F9BE8"), 0.6)
    # neck and trigger head
    rrect(c, 133.5, 359, 8, 8, 1.5)
    paint(c, hexc("#FFFFFF"), OUT, 1.1)
    c.new_sub_path()
    c.move_to(130, 347)
    c.line_to(142, 345)
    c.curve_to(145.5, 345, 145.8, 348, 145.5, 351)
    c.line_to(143.5, 360)
    c.line_to(134, 360)
    c.line_to(134, 352)
    c.line_to(130, 352)
    c.close_path()
    paint(c, lgrad(0, 345, 0, 360, (0, hexc("#8CF08A")), (1, hexc("#2FA84A"))), OUT, 1.3)
    rrect(c, 127.6, 347.5, 3.4, 4, 1)
    paint(c, hexc("#FFFFFF"), OUT, 0.9)
    c.new_sub_path()
    c.move_to(134, 353)
    c.curve_to(131, 355, 131, 358, 132.5, 361)
    c.set_source_rgb(*OUT)
    c.set_line_width(1.6)
    c.stroke()
    shine(c, 131.2, 369, 2.2, 10, 0.6)


PANEL_ITEMS = {"rock": draw_rock, "books": draw_books, "toolbox": draw_toolbox, "hat": draw_hat,
               "printer": draw_printer, "toys": draw_toys, "keyboard": draw_keyboard, "cleaner": draw_cleaner}


@lru_cache(None)
def panel_items():
    out = {}
    for name, fn in PANEL_ITEMS.items():
        cv = Canvas(147, 480)
        fn(cv.ctx)
        out[name] = cv.rgba()
    return out


@lru_cache(None)
def panel_layer():
    cv = Canvas(147, 480)
    draw_cupboard(cv.ctx)
    layer = cv.rgba()
    # the table's left end fills the bottom 96 rows
    tb = np.concatenate([table_base()[:, :147], np.ones((96, 147, 1))], axis=2)
    layer = layer_over(np.zeros_like(layer), layer)
    layer[TABLE_TOP:] = layer_over(tb, layer[TABLE_TOP:])
    for name in PANEL_ITEMS:
        layer = layer_over(layer, panel_items()[name])
    return layer


@lru_cache(None)
def panel_picture(with_monitor=True):
    layer = panel_layer()
    # ground for the edge pixels: the frame's left strip at x 130..147, the wall paper elsewhere
    ground = solid(147, 480, wall_tile().mean(axis=(0, 1)))
    ground[:, 130:147] = strip_vertical(17, 1, "left")[0]
    pic, mask = cutout(layer, ground, threshold=0.5)
    if with_monitor:
        # the empty monitor stands in front of the cupboard, as the room shows it before any tool
        l, t, r, b = MONITOR
        pic[t:b, l:r] = np.asarray(monitor())
        mask[t:b, l:r] = 255
    return pic, mask


# ------------------------------------------------------------------ static composite and highlights

@lru_cache(None)
def pictures(with_monitor=True):
    """In-memory pictures for composing the bottom-left of the room."""
    p = {104: np.zeros((256, 256, 3), np.uint8)}
    p[104][...] = (255, 0, 255)  # stands for the wall: must never show inside a highlight
    p[105] = to_u8(strip_vertical(17, 399, "left"))
    p[112] = to_u8(strip_vertical(17, 385, "left"))
    p[106] = to_u8(strip_bottom_first())
    p[113] = to_u8(strip_horizontal(492, 15, "bottom"))
    p[110] = to_u8(strip_horizontal(500, 16, "top"))
    p[107] = to_u8(corner_top_left())
    p[111] = to_u8(strip_vertical(19, 389, "right"))
    p[108] = to_u8(corner_top_right())
    p[109] = to_u8(corner_bottom_right())
    p[100], p[102] = panel_picture(with_monitor)
    p[101], p[103] = table_picture()
    return p


@lru_cache(None)
def static_scene(with_monitor=True):
    """The room at 640 x 480 as far as the left panel, the table and the frame make it."""
    p = pictures(with_monitor)
    S = np.full((480, 640, 3), 255, np.uint8)
    scene.frame_and_wall(S, lambda i: p[i], 640, 480)
    scene.copy_masked(S, p[100], p[102], 0, 0)
    scene.copy_masked(S, p[101], p[103], 0, 384)
    return S


def item_layer_screen(name):
    """The RGBA layer of a hot spot's thing in the 640 x 480 room."""
    out = np.zeros((480, 640, 4))
    if name in PANEL_ITEMS:
        out[:, :147] = panel_items()[name]
    elif name == "remote":
        out[384:] = table_items()["remote"]
    elif name == "tube":
        out[384:] = table_items()["tube"]
    return out


def highlight(name, rect):
    l, t, r, b = rect
    t += 480
    b += 480
    S = static_scene().astype(np.float64) / 255
    item = item_layer_screen(name)
    g = glow(item[..., 3], grow=3, blur=2.6)
    warm = (1.0, 0.93, 0.35) if name in ("rock", "books", "toolbox", "hat", "printer", "toys") else (1, 1, 0.9)
    halo = np.concatenate([solid(640, 480, warm), g[..., None]], axis=2)
    S = over_rgb(S, halo)
    lit = item.copy()
    lit[..., :3] = brighten(item[..., :3], 0.3)
    S = over_rgb(S, lit)
    # two twinkles at the corners of the thing
    ys, xs = np.nonzero(item[..., 3] > 0.5)
    cv = Canvas(640, 480)
    if len(xs):
        x0, x1, y0, y1 = xs.min(), xs.max(), ys.min(), ys.max()
        rad = 5.0 if (x1 - x0) > 30 else 3.6
        for sx, sy in ((x1 - 1, y0 + 2), (x0 + 2, y0 + (y1 - y0) * 0.55)):
            sx = min(max(sx, l + rad), r - rad - 1)
            sy = min(max(sy, t + rad), b - rad - 1)
            sparkle(cv.ctx, sx, sy, rad + 2.2, (0.85, 0.45, 0.0))
            sparkle(cv.ctx, sx, sy, rad + 1.2, (1, 0.85, 0.2))
            sparkle(cv.ctx, sx, sy, rad * 0.6, (1, 1, 1))
    S = over_rgb(S, cv.rgba())
    return to_image(S[t:b, l:r])


# ------------------------------------------------------------------ markers, monitor, indicators

def marker_selection():
    """20 x 20: a red arrow pointing at the picked tool (its tip in the bottom-left corner)."""
    cv = Canvas(20, 20)
    c = cv.ctx
    c.save()
    c.translate(1.2, 18.8)
    c.rotate(-math.pi / 4)
    poly(c, [(0, 0), (9, -7.5), (9, -3.3), (22, -3.3), (22, 3.3), (9, 3.3), (9, 7.5)])
    c.restore()
    paint(c, lgrad(0, 0, 20, 20, (0, hexc("#FF6F61")), (1, hexc("#D7261E"))), OUT, 1.5)
    shine(c, 10, 4.5, 5, 1.8, 0.6)
    return cutout(cv.rgba(), None, threshold=0.5)


def marker_group():
    """24 x 20: a green tick badge on the chosen group's button."""
    cv = Canvas(24, 20)
    c = cv.ctx
    rrect(c, 1, 1, 22, 18, 8)
    paint(c, lgrad(0, 1, 0, 19, (0, hexc("#7BE07F")), (1, hexc("#2E9E3A"))), OUT, 1.5)
    line(c, [(6.5, 10.5), (10.5, 14.5), (17.5, 5.5)], (1, 1, 1), 2.6)
    return cutout(cv.rgba(), None, threshold=0.5)


@lru_cache(None)
def monitor():
    """94 x 82 at the option panel: the empty monitor standing on the table."""
    l, t, r, b = MONITOR
    bg = static_scene(False)[t:b, l:r].astype(np.float64) / 255
    cv = Canvas(94, 82)
    c = cv.ctx
    # stand and foot on the table
    poly(c, [(38, 66), (56, 66), (58, 76), (36, 76)])
    paint(c, hexc("#C7B8F0"), OUT, 1.3)
    ellipse(c, 47, 77.5, 20, 3.6)
    paint(c, lgrad(0, 74, 0, 81, (0, hexc("#D9CCFA")), (1, hexc("#9C88D8"))), OUT, 1.3)
    # case
    rrect(c, 1.5, 1.5, 91, 67, 9)
    paint(c, lgrad(0, 1, 0, 69, (0, hexc("#F3EEFF")), (1, hexc("#C9BCEE"))), OUT, 1.6)
    # screen
    rrect(c, 8, 7, 78, 52, 6)
    paint(c, rgrad(40, 25, 4, 60, (0, hexc("#5FD0E8")), (1, hexc("#1F6E9E"))), OUT, 1.4)
    c.save()
    rrect(c, 8, 7, 78, 52, 6)
    c.clip()
    poly(c, [(8, 7), (46, 7), (24, 59), (8, 59)])
    c.set_source_rgba(1, 1, 1, 0.16)
    c.fill()
    c.restore()
    shine(c, 14, 11, 22, 3.5, 0.45)
    ellipse(c, 80, 63.5, 2, 2)
    paint(c, hexc("#4CD07A"), OUT, 0.8)
    for k in range(3):
        rrect(c, 12 + k * 7, 62, 4.5, 3, 1)
        c.set_source_rgb(*hexc("#A996E0"))
        c.fill()
    return to_image(over_rgb(bg, cv.rgba()))


def apron(x0, w):
    return table_base()[75:96, x0:x0 + w].copy()


def speaker(on):
    cv = Canvas(16, 21)
    c = cv.ctx
    poly(c, [(1.5, 7.5), (4.5, 7.5), (9.5, 3), (9.5, 18), (4.5, 13.5), (1.5, 13.5)])
    paint(c, lgrad(0, 3, 0, 18, (0, hexc("#8FB8FF")), (1, hexc("#3E6FD8"))), OUT, 1.3)
    if on:
        for k, rad in enumerate((3.2, 6.0)):
            c.new_sub_path()
            c.arc(9.5, 10.5, rad, -0.9, 0.9)
            c.set_source_rgb(*OUT)
            c.set_line_width(1.4)
            c.stroke()
    else:
        line(c, [(11, 7), (15, 14)], hexc("#E8383D"), 2.0)
        line(c, [(15, 7), (11, 14)], hexc("#E8383D"), 2.0)
    return to_image(over_rgb(apron(618, 16), cv.rgba()))


def spyglass(zoomed):
    cv = Canvas(22, 21)
    c = cv.ctx
    c.save()
    c.translate(11, 10.5)
    c.rotate(math.radians(-35))
    length = 9.5 if zoomed else 7.5
    rrect(c, -10, -2.2, 7, 4.4, 1.5)
    paint(c, hexc("#8B5A2B"), OUT, 1.1)
    rrect(c, -4, -3, length, 6, 1.2)
    paint(c, lgrad(0, -3, 0, 3, (0, hexc("#FFE08A")), (1, hexc("#D09A1C"))), OUT, 1.1)
    rrect(c, -4 + length - 1, -4.2, 6.2, 8.4, 1.6)
    paint(c, lgrad(0, -4, 0, 4, (0, hexc("#FFE08A")), (1, hexc("#C88A10"))), OUT, 1.1)
    ellipse(c, -4 + length + 5.2, 0, 1.4, 3.6)
    paint(c, hexc("#BDEBFF") if not zoomed else hexc("#FFFFFF"), OUT, 0.9)
    c.restore()
    if zoomed:
        sparkle(c, 17.5, 4, 3.6, (1, 0.95, 0.4))
        sparkle(c, 17.5, 4, 2.4, (1, 1, 1))
    return to_image(over_rgb(apron(590, 22), cv.rgba()))


# ------------------------------------------------------------------ checks

def check_room():
    """Problems with the room's joins and its fixed pictures."""
    probs = []
    p = pictures()
    S = static_scene()
    wall = np.all(S == (255, 0, 255), axis=2)
    for name, rid, rect in scene.HIGHLIGHTS:
        l, t, r, b = scene.at(rect, 480)
        if wall[t:b, l:r].any():
            probs.append(f"highlight {rid}: the wall shows inside its rectangle")
    for label, rect in (("monitor", scene.OPTION_PANEL), ("speaker", scene.SPEAKER), ("spyglass", scene.SPYGLASS)):
        l, t, r, b = scene.at(rect, 480)
        if wall[t:b, l:r].any():
            probs.append(f"{label}: the wall shows behind it")
    # the highlights and the monitor must not cover anything the cans' colours change
    pics = dict(p)
    pics[151] = cans_picture()
    for i in range(8):
        pics[141 + i] = can_mask(i)
    A = S.copy()
    B = S.copy()
    for i in range(8):
        scene.recolour_can(A, lambda k: pics[k], i, (10, 200, 30), 480)
        scene.recolour_can(B, lambda k: pics[k], i, (90, 20, 160), 480)
    changed = np.any(A != B, axis=2)
    for name, rid, rect in scene.HIGHLIGHTS:
        l, t, r, b = scene.at(rect, 480)
        if changed[t:b, l:r].any():
            probs.append(f"highlight {rid}: covers pixels that change with the can colours")
    # every can: its fill point on black paint, and a recolour reaches most of its lid
    cans = cans_picture()
    for i, (fx, fy) in enumerate(scene.CAN_FILL):
        if tuple(cans[fy, fx]) != (0, 0, 0):
            probs.append(f"can {i}: fill point ({fx}, {fy}) is not on black")
        m = can_mask(i)
        if m[fy, fx] != 255:
            probs.append(f"can {i}: its mask does not cover its fill point")
        if m.sum() // 255 < 40:
            probs.append(f"can {i}: paint area of only {m.sum() // 255} pixels")
        lab = scene.flood(cans.copy(), fx, fy, (1, 2, 3))
        if np.any(lab & (m == 0) & ~np.all(cans == 0, axis=2)):
            probs.append(f"can {i}: flood fill leaks out of the black paint")
        if np.any((m == 255) & ~lab):
            probs.append(f"can {i}: mask shows pixels the fill does not reach")
    for i, (bx, by) in scene.CAN_BODY_POINTS.items():
        y = 480 + by
        region = scene.flood(A.copy(), bx, y, (1, 2, 3))
        if region.sum() < 60:
            probs.append(f"can {i}: body at ({bx}, H{by}) is only {region.sum()} pixels")
        l, t, r, b = 470, 384, 625, 480
        if region[:t].any() or region[:, :l].any() or region[:, r:].any():
            probs.append(f"can {i}: body fill leaks out of the can cluster")
    # a second recolour after the first (the body now has 0.8 x the colour)
    C = A.copy()
    for i in range(8):
        scene.recolour_can(C, lambda k: pics[k], i, (250, 250, 10), 480)
    for i, (bx, by) in scene.CAN_BODY_POINTS.items():
        if tuple(C[480 + by, bx]) != scene.body_colour((250, 250, 10)):
            probs.append(f"can {i}: second recolour does not reach its body point")
    blot, bmask = blot_picture()
    if tuple(blot[8, 21]) != (0, 0, 0) or bmask[8, 21] != 255:
        probs.append("paint blot: (21, 8) is not on its black paint")
    return probs


# ------------------------------------------------------------------ manifest

def _img(fn):
    return lambda: to_image(fn())


def _mask_img(arr_fn):
    from PIL import Image
    return lambda: Image.fromarray(arr_fn(), "L")


def _rgb_img(arr_fn):
    from PIL import Image
    return lambda: Image.fromarray(arr_fn(), "RGB")


E = []


def bmp(rid, name, w, h, make, role, mask_of=None):
    e = Entry("BITMAP", "paint", rid, f"paint/room/{rid}_{name}.bmp", w, h, 24, role, make=make)
    E.append(e)
    return e


def msk(rid, name, w, h, make, role, image=None):
    e = Entry("MASK", "paint", rid, f"paint/room/{rid}_{name}_mask.bmp", w, h, 8, role, make=make,
              extra={"image": image} if image else {})
    E.append(e)
    return e


bmp(100, "left_panel", 147, 480, _rgb_img(lambda: panel_picture()[0]), "left panel: cupboard, group buttons, printer, keyboard, cleaner")
bmp(101, "table", 640, 96, _rgb_img(lambda: table_picture()[0]), "table with cans, tube, remote, caption strip")
msk(102, "left_panel", 147, 480, _mask_img(lambda: panel_picture()[1]), "mask of the left panel", 100)
msk(103, "table", 640, 96, _mask_img(lambda: table_picture()[1]), "mask of the table", 101)
bmp(104, "wall", 256, 256, _img(wall_tile), "wall paper tile")
bmp(105, "frame_left", 17, 399, _img(lambda: strip_vertical(17, 399, "left")), "frame, left edge")
bmp(106, "frame_bottom_first", 509, 15, _img(strip_bottom_first), "frame, bottom edge from the left corner")
bmp(107, "frame_top_left", 32, 15, _img(corner_top_left), "frame, top-left corner")
bmp(108, "frame_top_right", 32, 16, _img(corner_top_right), "frame, top-right corner")
bmp(109, "frame_bottom_right", 20, 32, _img(corner_bottom_right), "frame, bottom-right corner")
bmp(110, "frame_top", 500, 16, _img(lambda: strip_horizontal(500, 16, "top")), "frame, top edge")
bmp(111, "frame_right", 19, 389, _img(lambda: strip_vertical(19, 389, "right")), "frame, right edge")
bmp(112, "frame_left_upper", 17, 385, _img(lambda: strip_vertical(17, 385, "left")), "frame, left edge above")
bmp(113, "frame_bottom", 492, 15, _img(lambda: strip_horizontal(492, 15, "bottom")), "frame, bottom edge")
for _name, _rid, _rect in scene.HIGHLIGHTS:
    _l, _t, _r, _b = _rect
    bmp(_rid, "highlight_" + _name, _r - _l, _b - _t, (lambda n=_name, rc=_rect: highlight(n, rc)),
        f"highlight of the {_name}")
for _i in range(8):
    msk(141 + _i, f"can{_i}", 142, 39, _mask_img(lambda i=_i: can_mask(i)), f"paint of can {_i}")
bmp(149, "blot", 44, 17, _rgb_img(lambda: blot_picture()[0]), "paint blot (black paint filled with the colour)")
msk(150, "blot", 44, 17, _mask_img(lambda: blot_picture()[1]), "mask of the paint blot", 149)
bmp(151, "cans", 142, 39, _rgb_img(cans_picture), "the can cluster, paint in black")
bmp(152, "monitor", 94, 82, monitor, "the empty monitor")
bmp(172, "marker_tool", 20, 20, _rgb_img(lambda: marker_selection()[0]), "selection marker")
bmp(173, "marker_group", 24, 20, _rgb_img(lambda: marker_group()[0]), "group marker")
msk(174, "marker_tool", 20, 20, _mask_img(lambda: marker_selection()[1]), "mask of the selection marker", 172)
msk(175, "marker_group", 24, 20, _mask_img(lambda: marker_group()[1]), "mask of the group marker", 173)
bmp(600, "speaker_on", 16, 21, lambda: speaker(True), "speaker, sound on")
bmp(601, "speaker_off", 16, 21, lambda: speaker(False), "speaker, sound off")
bmp(602, "spyglass", 22, 21, lambda: spyglass(False), "spyglass, not zoomed")
bmp(603, "spyglass_zoomed", 22, 21, lambda: spyglass(True), "spyglass, zoomed")

ENTRIES = E
CHECKS = [check_room]

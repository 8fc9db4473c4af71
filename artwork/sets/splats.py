"""The paintball gun's three splats: 120 x 120, a black splat on white (the gun paints every pixel whose
red is 0 in its colour) and the same splat white on black as the mask. Both come from one binary
shape, so the mask covers exactly the painted pixels."""
import math

import cairo
import numpy as np
from PIL import Image

from common import Entry
from mediakit import canvas, to_pil

S = 120
SS = 4


def splat_shape(seed):
    rnd = np.random.RandomState(seed)
    s, c = canvas(S, S, SS, fill=(0, 0, 0))
    c.set_source_rgb(1, 1, 1)
    cx, cy = S / 2 + rnd.uniform(-3, 3), S / 2 + rnd.uniform(-3, 3)
    # the body: a wobbly disc made of a smooth random radius
    n = 180
    k = np.arange(1, 9)
    amps = rnd.uniform(0, 1, len(k)) / k ** 1.2
    phases = rnd.uniform(0, 2 * np.pi, len(k))
    base = rnd.uniform(24, 28)
    pts = []
    for i in range(n):
        a = 2 * np.pi * i / n
        r = base * (1 + 0.22 * np.sum(amps * np.sin(k * a + phases)))
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    c.move_to(*pts[0])
    for p in pts[1:]:
        c.line_to(*p)
    c.close_path()
    c.fill()
    # spikes thrown out of the body, each ending in a round drop
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    for _ in range(rnd.randint(9, 13)):
        a = rnd.uniform(0, 2 * np.pi)
        length = rnd.uniform(base + 8, 49)
        w = rnd.uniform(2.5, 6.5)
        c.set_line_width(w)
        c.move_to(cx + (base - 4) * math.cos(a), cy + (base - 4) * math.sin(a))
        c.line_to(cx + length * math.cos(a), cy + length * math.sin(a))
        c.stroke()
        c.arc(cx + length * math.cos(a), cy + length * math.sin(a), w * rnd.uniform(0.7, 1.1), 0, 2 * math.pi)
        c.fill()
    # loose droplets
    for _ in range(rnd.randint(8, 14)):
        a = rnd.uniform(0, 2 * np.pi)
        d = rnd.uniform(base + 6, 52)
        r = rnd.uniform(1.4, 4.2)
        c.arc(cx + d * math.cos(a), cy + d * math.sin(a), r, 0, 2 * math.pi)
        c.fill()
    img = to_pil(s).convert("L").resize((S, S), Image.BOX)
    return np.asarray(img) >= 128


SEEDS = {1: 41, 2: 1207, 3: 5150}


def image(n):
    on = splat_shape(SEEDS[n])
    g = np.where(on, 0, 255).astype(np.uint8)
    return Image.fromarray(np.stack([g, g, g], 2), "RGB")


def mask(n):
    on = splat_shape(SEEDS[n])
    return Image.fromarray(np.where(on, 255, 0).astype(np.uint8), "L")


ENTRIES = []
for _n in (1, 2, 3):
    ENTRIES.append(Entry("BITMAP", "paint", 411 + _n, f"paint/splats/{411 + _n}_splat{_n}.bmp", S, S, 24,
                         "paintball splat: black on white", make=lambda n=_n: image(n)))
for _n in (1, 2, 3):
    ENTRIES.append(Entry("MASK", "paint", 414 + _n, f"paint/splats/{414 + _n}_splat{_n}_mask.bmp", S, S, 8,
                         "paintball splat mask: white on black", make=lambda n=_n: mask(n),
                         extra={"image": 411 + _n}))

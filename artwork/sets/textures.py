"""Height maps of the six bump patterns: 128 x 128 grey pictures that tile without seams (periodic
noise made in the frequency domain, waves with whole numbers of periods, wrap-around distances for
pebbles, cells and bubbles). The bump tool reads the slope between two points two pixels apart, so the
maps use the whole grey range with features a few pixels wide."""
import numpy as np
from PIL import Image

from common import Entry

N = 128


def periodic_noise(beta=2.0, lo=1.0, hi=64.0, n=N):
    """Tileable noise with a 1/f^beta power spectrum between the wave numbers lo and hi."""
    k = np.fft.fftfreq(n) * n
    kx, ky = np.meshgrid(k, k)
    r = np.hypot(kx, ky)
    amp = np.where((r >= lo) & (r <= hi), 1.0 / np.maximum(r, 1e-9) ** (beta / 2.0), 0.0)
    phase = np.exp(2j * np.pi * np.random.rand(n, n))
    f = np.real(np.fft.ifft2(amp * phase))
    return f / (np.abs(f).max() + 1e-12)


def grid(n=N):
    y, x = np.mgrid[0:n, 0:n].astype(np.float64)
    return x, y


def stretch(h, lo_pct=1.0, hi_pct=99.0):
    a, b = np.percentile(h, lo_pct), np.percentile(h, hi_pct)
    return np.clip((h - a) / (b - a + 1e-12), 0, 1)


def to_image(h):
    g = np.round(stretch(h) * 255).astype(np.uint8)
    return Image.fromarray(np.stack([g, g, g], axis=2), "RGB")


def wrap_delta(a, b, n=N):
    d = np.abs(a - b)
    return np.minimum(d, n - d)


def scatter_points(count, min_dist, n=N, tries=4000):
    """Points with a minimum wrap-around distance (dart throwing)."""
    pts = []
    for _ in range(tries):
        p = np.random.uniform(0, n, 2)
        if all(np.hypot(*wrap_delta(p, q)) >= min_dist for q in pts):
            pts.append(p)
            if len(pts) == count:
                break
    return np.array(pts)


def voronoi(pts, n=N):
    """Nearest and second nearest wrap-around distances, and the index of the nearest point."""
    x, y = grid(n)
    d = np.stack([np.hypot(wrap_delta(x, px), wrap_delta(y, py)) for px, py in pts])
    order = np.argsort(d, axis=0)
    f1 = np.take_along_axis(d, order[:1], 0)[0]
    f2 = np.take_along_axis(d, order[1:2], 0)[0]
    return f1, f2, order[0]


# ------------------------------------------------------------------ the six maps

def plaster():
    h = periodic_noise(1.6, 2, 64) + 0.35 * periodic_noise(0.6, 20, 64)
    # trowel marks: a few flattened plateaus
    flat = periodic_noise(3.0, 1, 6)
    h = np.where(flat > 0.25, 0.6 * h + 0.4 * flat, h)
    return to_image(h)


def cloth():
    x, y = grid()
    p = 8.0  # one thread every 8 pixels: 16 threads across the tile
    u, v = x / p, y / p
    warp_up = (np.floor(u) + np.floor(v)) % 2 == 0
    # rounded thread profiles across each thread, humped along its length where it lies on top
    across_u = np.sin(np.pi * (u % 1.0)) ** 0.7
    across_v = np.sin(np.pi * (v % 1.0)) ** 0.7
    along_u = np.sin(np.pi * (v % 1.0))
    along_v = np.sin(np.pi * (u % 1.0))
    warp = across_u * (0.55 + 0.45 * along_u)
    weft = across_v * (0.55 + 0.45 * along_v)
    h = np.where(warp_up, np.maximum(warp, 0.5 * weft), np.maximum(weft, 0.5 * warp))
    fibre = periodic_noise(0.5, 24, 64)
    # put the middle of a thread, not the gap between two, on the tile's edges
    return to_image(np.roll(np.roll(h, 4, 0), 4, 1) + 0.08 * fibre)


def waves():
    x, y = grid()
    warp = periodic_noise(3.0, 1, 4) * 6.0
    h = np.zeros((N, N))
    for (kx, ky, a) in [(3, 7, 1.0), (-2, 5, 0.6), (5, 9, 0.35)]:
        ph = 2 * np.pi * (kx * x + ky * (y + warp)) / N
        h += a * (0.5 + 0.5 * np.sin(ph)) ** 1.6
    return to_image(h)


def pebbles():
    pts = scatter_points(34, 17.0)
    f1, f2, idx = voronoi(pts)
    edge = (f2 - f1) / 2.0          # distance to the crack between two pebbles
    dome = np.sqrt(np.clip(edge / 9.0, 0, 1))
    tilt = np.random.uniform(0.75, 1.0, len(pts))[idx]
    grain = 0.06 * periodic_noise(0.8, 16, 64)
    return to_image(dome * tilt + grain)


def cells():
    pts = scatter_points(60, 12.0)
    f1, f2, idx = voronoi(pts)
    edge = (f2 - f1) / 2.0
    wall = np.exp(-(edge / 1.3) ** 2)            # raised thin walls
    floor = 0.25 * np.random.uniform(0.3, 1.0, len(pts))[idx] * (1 - np.exp(-f1 / 4.0))
    return to_image(wall + floor)


def bubbles():
    x, y = grid()
    h = np.zeros((N, N))
    for _ in range(70):
        cx, cy = np.random.uniform(0, N, 2)
        r = np.random.choice([3.5, 5, 6.5, 9, 12, 15], p=[0.25, 0.25, 0.2, 0.15, 0.1, 0.05])
        d = np.hypot(wrap_delta(x, cx), wrap_delta(y, cy))
        cap = np.sqrt(np.clip(1 - (d / r) ** 2, 0, 1)) * (0.5 + r / 30.0)
        h = np.maximum(h, cap)
    return to_image(h)


MAPS = [
    (212, "plaster", plaster, "rough plaster"),
    (213, "cloth", cloth, "woven cloth"),
    (214, "waves", waves, "waves"),
    (215, "pebbles", pebbles, "pebbles"),
    (216, "cells", cells, "cells"),
    (217, "bubbles", bubbles, "bubbles"),
]

ENTRIES = [Entry("BITMAP", "paint", rid, f"paint/bump/{rid}_{name}.bmp", N, N, 24, f"height map: {role}", make=fn)
           for rid, name, fn, role in MAPS]


def seam_ratio(img):
    """How much stronger the jumps across the tile edge are than those inside (1.0 = no seam)."""
    a = np.asarray(img.convert("L")).astype(np.float64)
    inner = np.mean(np.abs(np.diff(a, axis=1))) + np.mean(np.abs(np.diff(a, axis=0)))
    edge = np.mean(np.abs(a[:, 0] - a[:, -1])) + np.mean(np.abs(a[0, :] - a[-1, :]))
    return edge / (inner + 1e-9)

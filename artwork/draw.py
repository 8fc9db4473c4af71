"""Drawing helpers shared by the room, object, dialog and setup sets: a cairo canvas that hands its
pixels to numpy/PIL, shape paths, gradients, the soft dark outline, handwriting text, glows, and the
cut-out of a masked object (picture on pure white plus its black/white mask)."""
from __future__ import annotations

import math

import cairo
import numpy as np
from PIL import Image
from scipy import ndimage

# The room's one outline colour: a soft, very dark plum rather than black.
OUT = (0.21, 0.13, 0.25)
FONT = "Comic Neue"


def hexc(s: str) -> tuple:
    s = s.lstrip("#")
    return tuple(int(s[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def mix(a, b, t):
    return tuple(a[i] * (1 - t) + b[i] * t for i in range(3))


def lighter(c, t=0.3):
    return mix(c, (1, 1, 1), t)


def darker(c, t=0.3):
    return mix(c, (0, 0, 0), t)


# ------------------------------------------------------------------ canvas

class Canvas:
    """A transparent ARGB cairo surface; .ctx draws, .rgba() gives straight (un-premultiplied) floats."""

    def __init__(self, w: int, h: int):
        self.w, self.h = w, h
        self.surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
        self.ctx = cairo.Context(self.surface)
        fo = cairo.FontOptions()
        fo.set_antialias(cairo.ANTIALIAS_GRAY)
        fo.set_hint_style(cairo.HINT_STYLE_SLIGHT)
        fo.set_hint_metrics(cairo.HINT_METRICS_OFF)
        self.ctx.set_font_options(fo)
        self.ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        self.ctx.set_line_cap(cairo.LINE_CAP_ROUND)

    def rgba(self) -> np.ndarray:
        self.surface.flush()
        buf = np.ndarray((self.h, self.surface.get_stride() // 4, 4), np.uint8,
                         self.surface.get_data())[:, : self.w]
        a = buf[..., 3:4].astype(np.float64) / 255.0
        rgb = buf[..., [2, 1, 0]].astype(np.float64) / 255.0
        with np.errstate(invalid="ignore", divide="ignore"):
            rgb = np.where(a > 0, rgb / np.maximum(a, 1e-9), 0.0)
        return np.concatenate([np.clip(rgb, 0, 1), a], axis=2)

    def image(self) -> Image.Image:
        """The drawing as a PIL RGBA image (for icons)."""
        return Image.fromarray(np.round(self.rgba() * 255).astype(np.uint8), "RGBA")

    def on_white(self) -> Image.Image:
        """The drawing laid on white, as a PIL RGB image."""
        return to_image(over_rgb(solid(self.w, self.h, (1, 1, 1)), self.rgba()))


def icon_canvas(size):
    """A size x size canvas drawn in 32-unit coordinates: (canvas, context, outline width), the
    outline a little heavier on the small sizes so that it survives the reduction."""
    cv = Canvas(size, size)
    c = cv.ctx
    s = size / 32.0
    c.scale(s, s)
    return cv, c, 1.6 if size >= 32 else 2.2


def quantize(img: Image.Image) -> Image.Image:
    """An 8-bit picture: 256 colours by median cut, no dithering."""
    return img.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)


def layer_over(bottom: np.ndarray, top: np.ndarray) -> np.ndarray:
    """Straight-alpha RGBA 'over' (both HxWx4 floats)."""
    ta = top[..., 3:4]
    ba = bottom[..., 3:4]
    oa = ta + ba * (1 - ta)
    with np.errstate(invalid="ignore", divide="ignore"):
        rgb = np.where(oa > 0, (top[..., :3] * ta + bottom[..., :3] * ba * (1 - ta)) / np.maximum(oa, 1e-9), 0)
    return np.concatenate([rgb, oa], axis=2)


def over_rgb(rgb: np.ndarray, top: np.ndarray) -> np.ndarray:
    """RGBA layer over an opaque RGB float image."""
    a = top[..., 3:4]
    return top[..., :3] * a + rgb * (1 - a)


def to_u8(rgb: np.ndarray) -> np.ndarray:
    return np.clip(np.round(rgb * 255), 0, 255).astype(np.uint8)


def to_image(rgb: np.ndarray) -> Image.Image:
    if rgb.dtype != np.uint8:
        rgb = to_u8(rgb)
    return Image.fromarray(rgb[..., :3], "RGB")


def solid(w, h, colour) -> np.ndarray:
    out = np.zeros((h, w, 3))
    out[...] = colour
    return out


# ------------------------------------------------------------------ paths

def rrect(c, x, y, w, h, r):
    r = max(0.0, min(r, w / 2, h / 2))
    c.new_sub_path()
    c.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    c.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    c.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    c.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    c.close_path()


def ellipse(c, cx, cy, rx, ry):
    c.save()
    c.translate(cx, cy)
    c.scale(max(rx, 1e-3), max(ry, 1e-3))
    c.new_sub_path()
    c.arc(0, 0, 1, 0, 2 * math.pi)
    c.restore()


def poly(c, pts, close=True):
    c.new_sub_path()
    c.move_to(*pts[0])
    for p in pts[1:]:
        c.line_to(*p)
    if close:
        c.close_path()


def star_path(c, cx, cy, r_out, r_in, n=5, rot=-math.pi / 2):
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = rot + i * math.pi / n
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    poly(c, pts)


def lgrad(x0, y0, x1, y1, *stops):
    g = cairo.LinearGradient(x0, y0, x1, y1)
    for t, col in stops:
        g.add_color_stop_rgba(t, *col[:3], col[3] if len(col) > 3 else 1.0)
    return g


def rgrad(cx, cy, r0, r1, *stops, fx=None, fy=None):
    g = cairo.RadialGradient(cx if fx is None else fx, cy if fy is None else fy, r0, cx, cy, r1)
    for t, col in stops:
        g.add_color_stop_rgba(t, *col[:3], col[3] if len(col) > 3 else 1.0)
    return g


def set_src(c, src):
    if isinstance(src, cairo.Pattern):
        c.set_source(src)
    elif len(src) == 4:
        c.set_source_rgba(*src)
    else:
        c.set_source_rgb(*src)


def paint(c, fill, outline=OUT, lw=1.5):
    """Fill the current path, then trace it with the soft dark outline."""
    if fill is not None:
        set_src(c, fill)
        c.fill_preserve()
    if outline is not None and lw > 0:
        set_src(c, outline)
        c.set_line_width(lw)
        c.stroke()
    else:
        c.new_path()


def shine(c, x, y, w, h, alpha=0.55, r=None):
    """A soft white gloss blob."""
    c.save()
    rrect(c, x, y, w, h, r if r is not None else min(w, h) / 2)
    c.set_source_rgba(1, 1, 1, alpha)
    c.fill()
    c.restore()


def line(c, pts, colour=OUT, lw=1.5):
    poly(c, pts, close=False)
    set_src(c, colour)
    c.set_line_width(lw)
    c.stroke()


def text(c, s, x, y, size, colour=OUT, bold=True, align="left", outline=None, olw=2.0, font=FONT):
    """Text with its baseline at y; align left/centre/right around x. Returns the advance width."""
    c.select_font_face(font, cairo.FONT_SLANT_NORMAL,
                       cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    c.set_font_size(size)
    ext = c.text_extents(s)
    if align == "centre":
        x = x - ext.x_advance / 2
    elif align == "right":
        x = x - ext.x_advance
    if outline is not None:
        c.move_to(x, y)
        c.text_path(s)
        set_src(c, outline)
        c.set_line_width(olw)
        c.stroke()
    c.move_to(x, y)
    set_src(c, colour)
    c.show_text(s)
    return ext.x_advance


def text_width(s, size, bold=True, font=FONT):
    cv = Canvas(4, 4)
    cv.ctx.select_font_face(font, cairo.FONT_SLANT_NORMAL,
                            cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    cv.ctx.set_font_size(size)
    return cv.ctx.text_extents(s).x_advance


def sparkle(c, x, y, r, colour=(1, 1, 1), alpha=1.0):
    """A four-pointed twinkle."""
    c.save()
    c.translate(x, y)
    c.new_sub_path()
    c.move_to(0, -r)
    c.curve_to(r * 0.12, -r * 0.12, r * 0.12, -r * 0.12, r, 0)
    c.curve_to(r * 0.12, r * 0.12, r * 0.12, r * 0.12, 0, r)
    c.curve_to(-r * 0.12, r * 0.12, -r * 0.12, r * 0.12, -r, 0)
    c.curve_to(-r * 0.12, -r * 0.12, -r * 0.12, -r * 0.12, 0, -r)
    c.close_path()
    c.set_source_rgba(*colour, alpha)
    c.fill()
    c.restore()


# ------------------------------------------------------------------ effects on float images

def glow(alpha: np.ndarray, grow=2, blur=2.5) -> np.ndarray:
    """A soft halo around the shape given by an alpha plane (0..1)."""
    g = ndimage.grey_dilation(alpha, size=(2 * grow + 1, 2 * grow + 1))
    g = ndimage.gaussian_filter(g, blur)
    return np.clip(g * 1.6, 0, 1)


def brighten(rgb: np.ndarray, t=0.18) -> np.ndarray:
    return rgb + (1 - rgb) * t


# ------------------------------------------------------------------ masked objects

def cutout(layer: np.ndarray, background: np.ndarray | None = None, threshold=0.42):
    """A masked picture from an RGBA layer: (picture RGB uint8, mask L uint8).

    Inside the mask the edge pixels are blended over the background the object lies on (so the
    object is smooth against the table), outside it the picture is pure white, as masked drawing
    (OR the mask, AND the picture) needs."""
    a = layer[..., 3]
    m = a >= threshold
    if background is None:
        # No known ground: the edge keeps the object's own colour, fully opaque.
        rgb = layer[..., :3]
    else:
        rgb = over_rgb(background, layer)
    pic = to_u8(rgb)
    pic[~m] = 255
    mask = np.where(m, 255, 0).astype(np.uint8)
    return pic, mask


def clip_poly(c, pts):
    poly(c, pts)
    c.clip()


def surface_from(rgba: np.ndarray) -> cairo.ImageSurface:
    """A cairo surface from a straight-alpha float RGBA array (for textures as sources)."""
    h, w = rgba.shape[:2]
    surf = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    stride = surf.get_stride()
    buf = np.ndarray((h, stride // 4, 4), np.uint8, surf.get_data())
    a = rgba[..., 3]
    pm = rgba[..., :3] * a[..., None]
    buf[:, :w, 0] = np.round(pm[..., 2] * 255)
    buf[:, :w, 1] = np.round(pm[..., 1] * 255)
    buf[:, :w, 2] = np.round(pm[..., 0] * 255)
    buf[:, :w, 3] = np.round(a * 255)
    surf.mark_dirty()
    return surf


def along(c, x0, y0, x1, y1):
    """Turn the context so that the x axis runs from (x0, y0) towards (x1, y1); returns the length."""
    c.translate(x0, y0)
    c.rotate(math.atan2(y1 - y0, x1 - x0))
    return math.hypot(x1 - x0, y1 - y0)


def emboss(height: np.ndarray, base, strength=2.2, light=(-1, -1)) -> np.ndarray:
    """Shade a height field (0..1) lit from the top left: an RGB float image around a base colour."""
    gy, gx = np.gradient(height)
    shade = (gx * light[0] + gy * light[1]) * strength
    rgb = np.zeros(height.shape + (3,))
    for k in range(3):
        rgb[..., k] = np.clip(base[k] * (1 + shade) + np.maximum(shade, 0) * 0.35, 0, 1)
    return rgb

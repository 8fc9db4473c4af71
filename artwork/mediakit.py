"""Drawing kit for the tool, dialog and book artwork: cairo surfaces handed to PIL, the house colours,
outlined shapes, handwriting text and colour emoji."""
from __future__ import annotations

import math

import cairo
import numpy as np
from PIL import Image, ImageFont

# The path helpers are draw's; the dialog, tool and book sets know its rrect as rounded_rect.
from draw import ellipse, poly, star_path, rrect as rounded_rect  # noqa: F401

# ------------------------------------------------------------------ house colours (0..255)

INK = (62, 40, 52)          # the soft dark outline used everywhere
PAPER = (255, 251, 238)
CREAM = (255, 240, 200)
RED = (232, 64, 56)
ORANGE = (255, 146, 38)
YELLOW = (255, 208, 52)
GREEN = (86, 186, 74)
TEAL = (40, 180, 170)
BLUE = (58, 132, 226)
NAVY = (38, 58, 140)
PURPLE = (148, 88, 200)
PINK = (255, 116, 168)
BROWN = (150, 92, 50)
WOOD = (204, 140, 76)
WOOD_DARK = (150, 96, 48)
GREY = (150, 150, 160)
SILVER = (205, 212, 222)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
CHALK = (12, 11, 10)        # the dark board colour of the text dialog (3060, 2805, 2550) / 255

FONT_HAND = "Comic Neue"
EMOJI_FONT = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"


def rgb(c, a=None):
    """cairo colour tuple from 0..255 components."""
    if a is None:
        return (c[0] / 255.0, c[1] / 255.0, c[2] / 255.0)
    return (c[0] / 255.0, c[1] / 255.0, c[2] / 255.0, a)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def lighter(c, t=0.4):
    return mix(c, WHITE, t)


def darker(c, t=0.3):
    return mix(c, BLACK, t)


# ------------------------------------------------------------------ surfaces

def canvas(w, h, scale=1.0, fill=None):
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, int(round(w * scale)), int(round(h * scale)))
    c = cairo.Context(s)
    c.scale(scale, scale)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    if fill is not None:
        c.set_source_rgb(*rgb(fill))
        c.paint()
    return s, c


def to_pil(surface) -> Image.Image:
    """RGBA image from a cairo ARGB32 surface (premultiplied BGRA) with the alpha undone."""
    surface.flush()
    w, h = surface.get_width(), surface.get_height()
    stride = surface.get_stride()
    a = np.frombuffer(surface.get_data(), np.uint8).reshape(h, stride)[:, : w * 4].reshape(h, w, 4)
    b, g, r, al = [a[:, :, i].astype(np.float64) for i in range(4)]
    with np.errstate(divide="ignore", invalid="ignore"):
        k = np.where(al > 0, 255.0 / al, 0)
    out = np.stack([np.clip(r * k, 0, 255), np.clip(g * k, 0, 255), np.clip(b * k, 0, 255), al], axis=2)
    return Image.fromarray(np.round(out).astype(np.uint8), "RGBA")


def flat(img: Image.Image, bg=WHITE) -> Image.Image:
    """An RGBA image over a plain background, as RGB."""
    base = Image.new("RGBA", img.size, bg + (255,))
    base.alpha_composite(img.convert("RGBA"))
    return base.convert("RGB")


def downsample(img: Image.Image, size) -> Image.Image:
    """Premultiplied box reduction of an RGBA image (keeps colours at soft edges clean)."""
    a = np.asarray(img.convert("RGBA")).astype(np.float64)
    al = a[:, :, 3:4] / 255.0
    pm = np.concatenate([a[:, :, :3] * al, al * 255.0], axis=2)
    h, w = pm.shape[:2]
    fx, fy = w // size[0], h // size[1]
    pm = pm.reshape(size[1], fy, size[0], fx, 4).mean(axis=(1, 3))
    alpha = pm[:, :, 3:4] / 255.0
    with np.errstate(divide="ignore", invalid="ignore"):
        col = np.where(alpha > 0, pm[:, :, :3] / np.maximum(alpha, 1e-9), 0)
    out = np.concatenate([col, pm[:, :, 3:4]], axis=2)
    return Image.fromarray(np.clip(np.round(out), 0, 255).astype(np.uint8), "RGBA")


# ------------------------------------------------------------------ paths and outlined shapes

def paint(c, fill=None, outline=INK, width=1.0, alpha=1.0):
    """Fill the current path and stroke it with the soft ink outline."""
    if fill is not None:
        c.set_source_rgba(*rgb(fill, alpha))
        if outline is not None:
            c.fill_preserve()
        else:
            c.fill()
    if outline is not None:
        c.set_source_rgba(*rgb(outline))
        c.set_line_width(width)
        c.stroke()


def gradient_fill(c, x0, y0, x1, y1, stops, outline=INK, width=1.0):
    g = cairo.LinearGradient(x0, y0, x1, y1)
    for t, col in stops:
        g.add_color_stop_rgb(t, *rgb(col))
    _fill_with(c, g, outline, width)


def radial_fill(c, cx, cy, r, stops, fx=None, fy=None, outline=INK, width=1.0):
    fx = cx if fx is None else fx
    fy = cy if fy is None else fy
    g = cairo.RadialGradient(fx, fy, 0, cx, cy, r)
    for t, col in stops:
        g.add_color_stop_rgb(t, *rgb(col))
    _fill_with(c, g, outline, width)


def _fill_with(c, source, outline, width):
    """Fill the current path from a pattern, then stroke it with the outline (if any)."""
    c.set_source(source)
    if outline is not None:
        c.fill_preserve()
        c.set_source_rgb(*rgb(outline))
        c.set_line_width(width)
        c.stroke()
    else:
        c.fill()


def double_stroke(c, under, under_width, over, over_width):
    """Stroke the current path twice: a wide line in one colour with a narrower one on top."""
    c.set_source_rgb(*rgb(under))
    c.set_line_width(under_width)
    c.stroke_preserve()
    c.set_source_rgb(*rgb(over))
    c.set_line_width(over_width)
    c.stroke()


def star(c, cx, cy, ro, ri, n=5, rot=-90):
    """An n-pointed star path, outer radius ro and inner ri, the first point at rot degrees (up)."""
    star_path(c, cx, cy, ro, ri, n, math.radians(rot))


def check_mark(c, cx, cy, kind, tick, cross):
    """The path of a tick ("ok": the points of tick, relative to the centre) or of a cross (any other
    kind: two strokes of half-size cross)."""
    if kind == "ok":
        (x, y), rest = tick[0], tick[1:]
        c.move_to(cx + x, cy + y)
        for x, y in rest:
            c.line_to(cx + x, cy + y)
    else:
        c.move_to(cx - cross, cy - cross)
        c.line_to(cx + cross, cy + cross)
        c.move_to(cx + cross, cy - cross)
        c.line_to(cx - cross, cy + cross)


def check_button(c, box, colour, kind, radius, face, outline, tick, cross, strokes, shadow=None, lift=0):
    """A glossy OK ("ok") or cancel button on the rectangle box = (l, t, r, b): an optional drop shadow
    (dx, dy, dw, dh, alpha from the box), the face (dx, dy, dw, dh from the box) shaded top to bottom in
    the button colour, and a white tick or cross with an ink edge (strokes: the two line widths), centred
    lift pixels above the middle of the box."""
    l, t, r, b = box
    if shadow is not None:
        dx, dy, dw, dh, alpha = shadow
        rounded_rect(c, l + dx, t + dy, r - l + dw, b - t + dh, radius)
        c.set_source_rgba(*rgb(INK, alpha))
        c.fill()
    dx, dy, dw, dh = face
    rounded_rect(c, l + dx, t + dy, r - l + dw, b - t + dh, radius)
    gradient_fill(c, 0, t, 0, b, [(0, lighter(colour, 0.35)), (1, darker(colour, 0.1))], INK, outline)
    check_mark(c, (l + r) / 2.0, (t + b) / 2.0 - lift, kind, tick, cross)
    double_stroke(c, INK, strokes[0], WHITE, strokes[1])


def shine(c, x, y, w, h, alpha=0.55):
    """A small white gloss highlight."""
    ellipse(c, x, y, w, h)
    c.set_source_rgba(1, 1, 1, alpha)
    c.fill()


# ------------------------------------------------------------------ text

def text(c, s, x, y, size, colour=INK, bold=True, align="left", font=FONT_HAND, italic=False,
         outline=None, outline_width=2.0):
    """Draw a line of text with its baseline at y; align 'left', 'center' or 'right' on x.
    Returns the advance width."""
    ext = _set_font(c, s, font, size, bold, italic)
    if align == "center":
        x0 = x - ext.x_advance / 2.0
    elif align == "right":
        x0 = x - ext.x_advance
    else:
        x0 = x
    _fill_text(c, s, x0, y, colour, outline, outline_width)
    return ext.x_advance


def text_centered_in(c, s, box, size, colour=INK, bold=True, font=FONT_HAND, outline=None, outline_width=2.0):
    """Centre a line of text (by its ink box) in the rectangle (l, t, r, b)."""
    l, t, r, b = box
    ext = _set_font(c, s, font, size, bold)
    x = (l + r) / 2.0 - ext.width / 2.0 - ext.x_bearing
    y = (t + b) / 2.0 - ext.height / 2.0 - ext.y_bearing
    _fill_text(c, s, x, y, colour, outline, outline_width)


def _set_font(c, s, font, size, bold, italic=False):
    """Choose the face and size; returns the extents of s in it."""
    c.select_font_face(font, cairo.FONT_SLANT_ITALIC if italic else cairo.FONT_SLANT_NORMAL,
                       cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    c.set_font_size(size)
    return c.text_extents(s)


def _fill_text(c, s, x, y, colour, outline, outline_width):
    """The glyphs of s at (x, y) as a path, traced with the outline (if any) and filled."""
    c.move_to(x, y)
    c.text_path(s)
    if outline is not None:
        c.set_source_rgb(*rgb(outline))
        c.set_line_width(outline_width)
        c.stroke_preserve()
    c.set_source_rgb(*rgb(colour))
    c.fill()


# ------------------------------------------------------------------ colour emoji

_emoji_font = None


def emoji(ch: str, size: int, pad: int = 0) -> Image.Image:
    """A colour emoji as an RGBA image fitted into size x size (aspect kept, centred). The font only
    loads at 109 px: draw there, crop to the drawn box, reduce with LANCZOS."""
    global _emoji_font
    if _emoji_font is None:
        _emoji_font = ImageFont.truetype(EMOJI_FONT, 109)
    from PIL import ImageDraw
    big = Image.new("RGBA", (160, 160), (0, 0, 0, 0))
    ImageDraw.Draw(big).text((8, 8), ch, font=_emoji_font, embedded_color=True)
    box = big.getbbox()
    if box is None:
        raise ValueError(f"emoji {ch!r} draws nothing")
    big = big.crop(box)
    inner = size - 2 * pad
    k = inner / max(big.size)
    nw, nh = max(1, round(big.size[0] * k)), max(1, round(big.size[1] * k))
    # premultiply for the reduction so that the transparent surroundings do not darken the edges
    a = np.asarray(big).astype(np.float64)
    al = a[:, :, 3:4] / 255.0
    pm = Image.fromarray(np.round(np.concatenate([a[:, :, :3] * al, a[:, :, 3:4]], 2)).astype(np.uint8), "RGBA")
    small = np.asarray(pm.resize((nw, nh), Image.LANCZOS)).astype(np.float64)
    al = small[:, :, 3:4] / 255.0
    with np.errstate(divide="ignore", invalid="ignore"):
        col = np.where(al > 0, small[:, :, :3] / np.maximum(al, 1e-9), 0)
    small = Image.fromarray(np.clip(np.round(np.concatenate([col, small[:, :, 3:4]], 2)), 0, 255).astype(np.uint8),
                            "RGBA")
    out = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    out.paste(small, ((size - nw) // 2, (size - nh) // 2), small)
    return out

"""Shared pieces of the artwork generator: the manifest entry record and the writers of every
file format the resources use. Every set module in sets/ defines ENTRIES, a list of Entry."""
from __future__ import annotations

import io
import os
import struct
import wave
from dataclasses import dataclass, field
from typing import Callable, Optional

import numpy as np
from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RESOURCES = os.path.join(ROOT, "resources")


@dataclass
class Entry:
    """One resource (or shipped data file).

    kind:    'BITMAP' (24- or 8-bit BMP), 'MASK' (8-bit pure black/white BMP, white = object shows),
             'CURSOR', 'ICON', 'WAVE', or 'FILE' (a data file shipped beside the program, not compiled in)
    program: 'paint' or 'setup'
    rid:     the resource id (int) or name (str, e.g. 'SMALL'); None for FILE
    path:    output path relative to resources/
    make:    callable returning the output: a PIL image for BITMAP/MASK, (PIL RGBA image, hotspot) for
             CURSOR, a list of PIL RGBA images for ICON, (numpy float mono samples, rate, loop) for WAVE
    """

    kind: str
    program: str
    rid: object
    path: str
    width: int = 0
    height: int = 0
    depth: int = 24
    role: str = ""
    text: Optional[str] = None
    make: Optional[Callable] = None
    hotspot: Optional[tuple] = None
    extra: dict = field(default_factory=dict)


# ------------------------------------------------------------------ writers

def write_bmp24(path: str, img: Image.Image) -> None:
    """24-bit bottom-up BI_RGB BMP (pixel data at offset 54)."""
    img.convert("RGB").save(path, format="BMP")


def write_bmp8(path: str, img: Image.Image) -> None:
    """8-bit BMP with a full 256-entry colour table (pixel data at offset 1078)."""
    if img.mode != "P":
        img = img.convert("RGB").quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal = (img.getpalette() or [])[: 768]
    pal = pal + [0] * (768 - len(pal))
    img = img.copy()
    img.putpalette(pal)
    img.info.pop("transparency", None)
    buf = io.BytesIO()
    img.save(buf, format="BMP")
    data = buf.getvalue()
    off = struct.unpack_from("<I", data, 10)[0]
    if off != 1078:
        raise ValueError(f"{path}: 8-bit BMP written with pixel offset {off}, not 1078")
    with open(path, "wb") as f:
        f.write(data)


def write_mask(path: str, mask: Image.Image) -> None:
    """An 8-bit mask: only pure black (0) and pure white (255), white where the object shows."""
    a = np.asarray(mask.convert("L"))
    bw = np.where(a >= 128, 1, 0).astype(np.uint8)
    img = Image.fromarray(bw, mode="P")
    pal = [0, 0, 0, 255, 255, 255] + [0] * (768 - 6)
    img.putpalette(pal)
    write_bmp8(path, img)


def _dib32(img: Image.Image) -> bytes:
    """One cursor or icon image: BITMAPINFOHEADER (doubled height), 32-bpp BGRA rows bottom-up, then
    the 1-bpp AND mask (set where the pixel is transparent)."""
    img = img.convert("RGBA")
    w, h = img.size
    a = np.asarray(img)
    xor = b"".join(np.stack([a[y][:, 2], a[y][:, 1], a[y][:, 0], a[y][:, 3]], axis=1).tobytes()
                   for y in range(h - 1, -1, -1))
    stride = ((w + 31) // 32) * 4
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        bits = bytearray(stride)
        for x in range(w):
            if a[y, x, 3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        andm += bits
    hdr = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(andm), 0, 0, 0, 0)
    return hdr + xor + bytes(andm)


def write_cursor(path: str, img: Image.Image, hotspot: tuple) -> None:
    """A 32x32 .cur: 32-bpp image with doubled height plus a 1-bpp AND mask; hot spot in the entry."""
    w, h = img.size
    image = _dib32(img)
    entry = struct.pack("<BBBBHHII", w if w < 256 else 0, h if h < 256 else 0, 0, 0, hotspot[0], hotspot[1],
                        len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 2, 1) + entry + image)


def write_icon(path: str, images: list) -> None:
    """An .ico with one 32-bpp BMP-format image per size (no PNG entries)."""
    blobs = [(img.size[0], img.size[1], _dib32(img)) for img in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for w, h, blob in blobs:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for _, _, blob in blobs:
        out += blob
    with open(path, "wb") as f:
        f.write(out)


def write_wave(path: str, samples: np.ndarray, rate: int = 22050, bits: int = 8) -> None:
    """Mono PCM WAVE, normalised to 0.95 of full scale without clipping."""
    s = np.asarray(samples, dtype=np.float64)
    peak = float(np.max(np.abs(s))) if s.size else 0.0
    if peak > 0:
        s = s / peak * 0.95
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setframerate(rate)
        if bits == 8:
            w.setsampwidth(1)
            w.writeframes(np.clip(np.round(s * 127 + 128), 0, 255).astype(np.uint8).tobytes())
        else:
            w.setsampwidth(2)
            w.writeframes(np.clip(np.round(s * 32767), -32768, 32767).astype("<i2").tobytes())

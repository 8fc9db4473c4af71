"""The stamp sheets of the three books: 491 x 246 pictures with 48 stamps of 48 x 48 on a grid of
10 columns and 5 rows (cell n at x = (n mod 10) * 49 + 1, y = (n div 10) * 49 + 1), each with an 8-bit
mask that is white where the stamp is drawn. The stamps are Noto Color Emoji images (Apache-2.0),
drawn at 109 px and reduced, with a thin dark outline like the rest of the room's artwork."""
import numpy as np
from PIL import Image
from scipy import ndimage

from common import Entry
from mediakit import emoji, INK

W, H = 491, 246
CELL = 48

NATURE = ("🐶🐱🐰🦊🐻🐼🐨🐯🦁🐮"
          "🐷🐸🐵🐔🐧🐤🦉🦄🐴🐘"
          "🦒🐝🐞🦋🐛🐌🐢🐙🐠🐬"
          "🐳🦀🦔🐿🦜🦩🌸🌻🌷🌹"
          "🌳🌴🌵🍀🍄🍁🌰🍓")
OBJECTS = ["⛵", "🚗", "🚌", "🚒", "🚂", "✈️", "🚀", "🚲", "🏠", "🏰",
           "⛺", "🎈", "🎁", "🎂", "🍦", "🍎", "🍌", "🍉", "🍕", "🧁",
           "🎸", "🥁", "🎺", "🎨", "✏️", "📚", "🧸", "🪁", "⚽", "🏀",
           "🎲", "🧩", "👑", "🎩", "👓", "☂️", "⏰", "💡", "🔑", "🧲",
           "🪄", "🖍️", "🧦", "👟", "🪣", "🔔", "🕯️", "🛶"]
SYMBOLS = ["❤️", "🧡", "💛", "💚", "💙", "💜", "⭐", "🌟", "✨", "💫",
           "☀️", "🌙", "⚡", "🌈", "☁️", "❄️", "🔴", "🟠", "🟡", "🟢",
           "🔵", "🟣", "🟥", "🟧", "🟨", "🟩", "🟦", "🟪", "🔶", "🔷",
           "🔺", "🔻", "♠️", "♥️", "♦️", "♣️", "➕", "➖", "✖️", "➗",
           "❓", "❗", "🎵", "🎶", "😀", "😍", "😎", "🤩"]


def chars(s):
    return list(s) if isinstance(s, str) else s


def stamp(ch):
    """One 48 x 48 stamp: (RGB array, boolean mask). The emoji fills 44 px; a one-pixel dark outline
    around it hides the hard edge that a two-colour mask gives."""
    img = np.asarray(emoji(ch, CELL, pad=2)).astype(np.float64)
    body = img[:, :, 3] >= 110
    ring = ndimage.binary_dilation(body, structure=np.ones((3, 3))) & ~body
    rgb = img[:, :, :3].copy()
    rgb[ring] = INK
    rgb[~(body | ring)] = 255
    return rgb.astype(np.uint8), body | ring


def sheet(items, want_mask):
    items = chars(items)
    assert len(items) == 48, len(items)
    pic = np.full((H, W, 3), 255, np.uint8)
    msk = np.zeros((H, W), np.uint8)
    for n, ch in enumerate(items):
        x, y = (n % 10) * 49 + 1, (n // 10) * 49 + 1
        rgb, m = stamp(ch)
        pic[y:y + CELL, x:x + CELL] = rgb
        msk[y:y + CELL, x:x + CELL] = np.where(m, 255, 0)
    return Image.fromarray(msk, "L") if want_mask else Image.fromarray(pic, "RGB")


BOOKS = [
    (1001, "symbols", SYMBOLS, "Volume 1: symbols and shapes"),
    (1003, "objects", OBJECTS, "Volume 2: various objects"),
    (1005, "nature", NATURE, "Volume 3: nature, animals and plants"),
]

ENTRIES = []
for rid, name, items, role in BOOKS:
    ENTRIES.append(Entry("BITMAP", "paint", rid, f"paint/stamps/{rid}_{name}.bmp", W, H, 24, f"stamp sheet, {role}",
                         make=lambda items=items: sheet(items, False)))
    ENTRIES.append(Entry("MASK", "paint", rid + 1, f"paint/stamps/{rid + 1}_{name}_mask.bmp", W, H, 8,
                         f"stamp sheet mask, {role}", make=lambda items=items: sheet(items, True)))

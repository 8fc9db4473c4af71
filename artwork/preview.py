#!/usr/bin/python3
"""Contact sheets of every picture at 1:1 and mock-ups of the composed room, for looking at the art.

    /usr/bin/python3 artwork/preview.py [out-folder]     # default build/preview (not committed)

Writes contact_paint.png, contact_setup.png, and room_<W>x<H>_g<group>.png for 640x480, 800x600 and
1280x1024, a room with recoloured cans, every hover highlight and the remote control over the room."""
import os
import sys

import numpy as np
from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import generate  # noqa: E402
import scene  # noqa: E402
from common import RESOURCES, ROOT  # noqa: E402


def load_manifest():
    entries = []
    for m in generate.load_sets():
        entries += m.ENTRIES
    return entries


class Pictures:
    def __init__(self, entries):
        self.paths = {}
        for e in entries:
            if e.kind in ("BITMAP", "MASK") and e.program == "paint":
                self.paths[e.rid] = (e.kind, os.path.join(RESOURCES, e.path))
        self.cache = {}

    def __call__(self, rid):
        if rid not in self.cache:
            kind, path = self.paths[rid]
            img = Image.open(path)
            self.cache[rid] = np.asarray(img.convert("L" if kind == "MASK" else "RGB")).copy()
        return self.cache[rid]

    def has(self, rid):
        return rid in self.paths


def contact(entries, program, out):
    items = [e for e in entries if e.program == program and e.kind in ("BITMAP", "MASK", "ICON", "CURSOR")
             and os.path.exists(os.path.join(RESOURCES, e.path))]
    tiles = []
    for e in items:
        path = os.path.join(RESOURCES, e.path)
        try:
            img = Image.open(path)
            if e.kind in ("ICON", "CURSOR"):
                img = img.convert("RGBA")
                bg = Image.new("RGBA", img.size, (200, 200, 200, 255))
                img = Image.alpha_composite(bg, img)
            img = img.convert("RGB")
        except Exception:  # noqa: BLE001
            continue
        tiles.append((f"{e.kind[0]} {e.rid}", img))
    width = 1400
    x = y = 8
    row_h = 0
    places = []
    for label, img in tiles:
        w, h = img.size
        if x + w + 8 > width and x > 8:
            x = 8
            y += row_h + 22
            row_h = 0
        places.append((x, y, label, img))
        x += max(w, 60) + 10
        row_h = max(row_h, h)
    sheet = Image.new("RGB", (width, y + row_h + 30), (120, 130, 140))
    d = ImageDraw.Draw(sheet)
    for x, y, label, img in places:
        sheet.paste(img, (x, y + 12))
        d.text((x, y), label, fill=(255, 255, 255))
    sheet.save(out)


def demo_picture(cw, ch):
    """A child's drawing on the canvas, so the room is seen with something in it."""
    img = Image.new("RGB", (cw, ch), (255, 255, 255))
    d = ImageDraw.Draw(img)
    d.ellipse((cw * 0.7, ch * 0.08, cw * 0.7 + 60, ch * 0.08 + 60), fill=(255, 210, 40))
    d.rectangle((cw * 0.2, ch * 0.5, cw * 0.45, ch * 0.85), fill=(230, 60, 60))
    d.polygon([(cw * 0.18, ch * 0.5), (cw * 0.325, ch * 0.3), (cw * 0.47, ch * 0.5)], fill=(80, 120, 230))
    d.rectangle((0, ch * 0.85, cw, ch), fill=(90, 200, 90))
    d.line([(cw * 0.55, ch * 0.6), (cw * 0.8, ch * 0.7)], fill=(150, 60, 200), width=8)
    return np.asarray(img)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "preview")
    os.makedirs(out, exist_ok=True)
    entries = load_manifest()
    pic = Pictures(entries)
    contact(entries, "paint", os.path.join(out, "contact_paint.png"))
    contact(entries, "setup", os.path.join(out, "contact_setup.png"))
    for W, H in ((640, 480), (800, 600), (1280, 1024)):
        groups = range(5) if (W, H) == (800, 600) else (0,)
        for g in groups:
            current = next(i for i, o in enumerate(scene.OBJECTS) if o[0] == g)
            S = scene.compose(pic, W, H, group=g, current=current, picture=demo_picture(W - 166, H - 112),
                              caption=scene.OBJECTS[current][5] if pic.has(701) else None)
            Image.fromarray(S).save(os.path.join(out, f"room_{W}x{H}_g{g}.png"))
    cans = [(20, 160, 230), (120, 60, 20), (255, 160, 200), (0, 0, 0), (250, 250, 250), (30, 30, 120),
            (140, 220, 60), (90, 0, 90)]
    S = scene.compose(pic, 800, 600, group=3, current=21, cans=cans, colour=(20, 160, 230), sound=False,
                      zoom=True)
    Image.fromarray(S).save(os.path.join(out, "room_800x600_recoloured.png"))
    # every highlight drawn over the room, as the pointer would show them one by one
    base = scene.compose(pic, 800, 600)
    for name, rid, rect in scene.HIGHLIGHTS:
        S = base.copy()
        l, t, r, b = scene.at(rect, 600)
        scene.copy(S, pic(rid), l, t)
        crop = S[max(t - 30, 0):min(b + 30, 600), max(l - 30, 0):min(r + 30, 800)]
        Image.fromarray(crop).resize((crop.shape[1] * 2, crop.shape[0] * 2), Image.NEAREST).save(
            os.path.join(out, f"highlight_{rid}_{name}.png"))
    if pic.has(123):
        S = base.copy()
        x, y = (800 - 228) // 2, (600 - 240) // 2
        scene.copy_masked(S, pic(123), pic(124), x, y)
        Image.fromarray(S).save(os.path.join(out, "remote_over_room.png"))
        S2 = S.copy()
        rects = [(31, 7, 102, 46), (29, 46, 101, 87), (26, 88, 101, 131), (23, 132, 101, 179),
                 (125, 7, 195, 46), (125, 46, 198, 87), (126, 88, 201, 131), (127, 132, 205, 179)]
        for k in (2, 6):
            l, t, r, b = rects[k]
            scene.copy(S2, pic(125 + k), x + l, y + t)
        scene.copy(S2, pic(133), x + 104, y + 2)
        crop = S2[y - 10:y + 250, x - 10:x + 238]
        Image.fromarray(crop).resize((crop.shape[1] * 2, crop.shape[0] * 2), Image.NEAREST).save(
            os.path.join(out, "remote_lit_zoom.png"))
    print("preview written to", out)


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Regenerates every picture, cursor, icon and sound of both programs from the manifest (the ENTRIES
of every module in sets/), checks each output against its entry, and writes the resource scripts
resources/paint_art.rc and resources/setup_art.rc that paint.rc and setup.rc include.

    /usr/bin/python3 artwork/generate.py            # everything
    /usr/bin/python3 artwork/generate.py --only room  # the sets whose module name contains 'room'
    /usr/bin/python3 artwork/generate.py --check    # only check the committed outputs

A set module may also define CHECKS, a list of functions returning problem strings (joins of the room,
fill points, outlines); a MASK entry whose extra has "image" (the id of its picture) is checked to have
that picture pure white outside the mask. The manifest is also written as resources/catalogue.txt.
"""
import argparse
import importlib
import os
import pkgutil
import random
import struct
import sys
import wave
import zlib

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import common  # noqa: E402
from common import RESOURCES, Entry  # noqa: E402

RC_TYPES = {"BITMAP": "BITMAP", "MASK": "BITMAP", "CURSOR": "CURSOR", "ICON": "ICON", "WAVE": "WAVE"}


def load_sets():
    import sets
    mods = []
    for info in sorted(pkgutil.iter_modules(sets.__path__), key=lambda i: i.name):
        mods.append(importlib.import_module("sets." + info.name))
    return mods


def build(entry: Entry) -> None:
    out = os.path.join(RESOURCES, entry.path)
    os.makedirs(os.path.dirname(out), exist_ok=True)
    result = entry.make()
    if entry.kind == "BITMAP":
        (common.write_bmp24 if entry.depth == 24 else common.write_bmp8)(out, result)
    elif entry.kind == "MASK":
        common.write_mask(out, result)
    elif entry.kind == "CURSOR":
        img, hot = result
        common.write_cursor(out, img, hot)
    elif entry.kind == "ICON":
        common.write_icon(out, result)
    elif entry.kind == "WAVE":
        samples, rate = result[0], result[1]
        common.write_wave(out, samples, rate, bits=entry.depth if entry.depth in (8, 16) else 8)
    elif entry.kind == "FILE":
        if hasattr(result, "save"):
            common.write_bmp24(out, result)
        else:
            with open(out, "wb") as f:
                f.write(result)


def check(entry: Entry) -> list:
    """Problems of one output against its entry (empty when it matches)."""
    out = os.path.join(RESOURCES, entry.path)
    if not os.path.exists(out):
        return [f"{entry.path}: missing"]
    data = open(out, "rb").read()
    probs = []
    if entry.kind in ("BITMAP", "MASK") or (entry.kind == "FILE" and entry.path.lower().endswith(".bmp")):
        if data[:2] != b"BM":
            return [f"{entry.path}: not a BMP"]
        w, h, planes, bpp, comp = struct.unpack_from("<iiHHI", data, 18)
        off = struct.unpack_from("<I", data, 10)[0]
        if (w, h) != (entry.width, entry.height):
            probs.append(f"{entry.path}: size {w}x{h}, manifest {entry.width}x{entry.height}")
        if bpp != entry.depth:
            probs.append(f"{entry.path}: depth {bpp}, manifest {entry.depth}")
        if comp != 0:
            probs.append(f"{entry.path}: compressed")
        if bpp == 8 and off != 1078:
            probs.append(f"{entry.path}: 8-bit without a full colour table")
        if bpp == 24 and off != 54:
            probs.append(f"{entry.path}: 24-bit pixel data not at 54")
        if entry.kind == "MASK":
            table = data[54:1078]
            used = set(data[off:])
            colours = {table[i * 4:i * 4 + 3] for i in used}
            if not colours <= {b"\0\0\0", b"\xff\xff\xff"}:
                probs.append(f"{entry.path}: mask holds colours other than pure black and white")
    elif entry.kind == "CURSOR":
        reserved, typ, count = struct.unpack_from("<HHH", data, 0)
        cw, ch = data[6], data[7]
        if typ != 2 or count < 1 or (cw, ch) != (entry.width, entry.height):
            probs.append(f"{entry.path}: not a {entry.width}x{entry.height} cursor")
    elif entry.kind == "ICON":
        if struct.unpack_from("<HH", data, 0) != (0, 1):
            probs.append(f"{entry.path}: not an icon")
    elif entry.kind == "WAVE":
        with wave.open(out, "rb") as w:
            secs = w.getnframes() / w.getframerate()
            if w.getnchannels() != 1:
                probs.append(f"{entry.path}: not mono")
            if not 0.04 <= secs <= 1.6:
                probs.append(f"{entry.path}: {secs:.2f} s long")
            frames = w.readframes(w.getnframes())
            if w.getsampwidth() == 1:
                a = np.frombuffer(frames, np.uint8).astype(int) - 128
                if a.size and (a.max() >= 127 or a.min() <= -128):
                    probs.append(f"{entry.path}: clipped")
            elif w.getsampwidth() == 2:
                a = np.frombuffer(frames, "<i2").astype(int)
                if a.size and (a.max() >= 32767 or a.min() <= -32768):
                    probs.append(f"{entry.path}: clipped")
            else:
                probs.append(f"{entry.path}: neither 8 nor 16 bits per sample")
            if entry.depth in (8, 16) and w.getsampwidth() * 8 != entry.depth:
                probs.append(f"{entry.path}: {w.getsampwidth() * 8} bits per sample, manifest {entry.depth}")
    return probs


def check_pair(mask_entry: Entry, image_entry: Entry) -> list:
    """Masked drawing ORs the mask and then ANDs the picture: outside the mask the picture must be pure
    white, and both must have one size."""
    from PIL import Image
    try:
        m = np.asarray(Image.open(os.path.join(RESOURCES, mask_entry.path)).convert("L"))
        p = np.asarray(Image.open(os.path.join(RESOURCES, image_entry.path)).convert("RGB"))
    except OSError:
        return []
    if m.shape != p.shape[:2]:
        return [f"{mask_entry.path}: size differs from its picture {image_entry.path}"]
    outside = m == 0
    if np.any(p[outside] != 255):
        n = int(np.any(p[outside] != 255, axis=1).sum())
        return [f"{image_entry.path}: {n} pixels outside its mask are not pure white"]
    return []


def rc_templates():
    """Dialog templates and accelerator tables written by hand in paint.rc and setup.rc."""
    import re
    out = []
    for program in ("paint", "setup"):
        path = os.path.join(RESOURCES, f"{program}.rc")
        if not os.path.exists(path):
            continue
        for line in open(path, encoding="latin-1"):
            m = re.match(r"\s*(\w+)\s+(DIALOGEX|DIALOG|ACCELERATORS)\b", line)
            if m:
                kind = "ACCELERATORS" if m.group(2) == "ACCELERATORS" else "DIALOG"
                out.append((program, kind, m.group(1)))
    return out


def write_catalogue(entries):
    """resources/catalogue.txt: one line per compiled resource, 'program kind id width height depth',
    read by the resource test to load each of them from the built programs."""
    lines = ["# program kind id width height depth  (generated by artwork/generate.py)"]
    for e in entries:
        if e.kind not in RC_TYPES:
            continue
        w, h, d = e.width, e.height, e.depth
        if e.kind == "WAVE":
            w = h = 0
            d = e.depth if e.depth in (8, 16) else 8
        elif e.kind == "ICON":
            d = 32
        elif e.kind == "CURSOR":
            d = 32
        lines.append(f"{e.program} {e.kind} {e.rid} {w} {h} {d}")
    for program, kind, rid in rc_templates():
        lines.append(f"{program} {kind} {rid} 0 0 0")
    with open(os.path.join(RESOURCES, "catalogue.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


def write_rc(entries):
    for program in ("paint", "setup"):
        lines = [f"// Generated by artwork/generate.py: the artwork, cursors and sounds of {program}.exe.", ""]
        for e in entries:
            if e.program != program or e.kind not in RC_TYPES:
                continue
            rid = e.rid if isinstance(e.rid, int) else e.rid
            lines.append(f'{rid} {RC_TYPES[e.kind]} "{e.path}"')
        with open(os.path.join(RESOURCES, f"{program}_art.rc"), "w") as f:
            f.write("\n".join(lines) + "\n")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--only", default="")
    ap.add_argument("--check", action="store_true")
    args = ap.parse_args()
    mods = load_sets()
    entries = []
    seen = set()
    problems = []
    for m in mods:
        for e in m.ENTRIES:
            key = (e.program, RC_TYPES.get(e.kind, e.kind), e.rid if e.kind != "FILE" else e.path)
            if key in seen:
                problems.append(f"duplicate resource {key}")
            seen.add(key)
            entries.append((m, e))
    for m, e in entries:
        if not args.check and args.only in m.__name__:
            seed = zlib.crc32(f"{e.program}:{e.rid}:{e.path}".encode())
            random.seed(seed)
            np.random.seed(seed)
            build(e)
        problems += check(e)
    by_path = {e.path: e for _, e in entries}
    for _, e in entries:
        image = e.extra.get("image") if e.kind == "MASK" else None
        if image is not None:
            target = next((x for _, x in entries if x.program == e.program and x.kind == "BITMAP"
                           and x.rid == image), by_path.get(image))
            if target is None:
                problems.append(f"{e.path}: its picture {image} is not in the manifest")
            else:
                problems += check_pair(e, target)
    for m in mods:
        for fn in getattr(m, "CHECKS", []):
            problems += [f"{m.__name__}: {p}" for p in fn()]
    write_rc([e for _, e in entries])
    write_catalogue([e for _, e in entries])
    for p in problems:
        print("PROBLEM", p)
    print(f"{len(entries)} entries, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

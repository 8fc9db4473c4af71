#!/usr/bin/env python3
"""The benchmarks' figures as one markdown table with a column per screen.

    bench_table.py DIR

DIR holds the benchmarks' output, one file per run: SIDE.SCREEN.BENCH.ROUND (SIDE "now", or
"before" and "after" for a before/after table; SCREEN like 1920x1080). A figure is the median over
the rounds of the series' p50 and p99. With two sides a cell reads "before -> after".

Each series has the target it is held to at that screen; a figure over it is printed in bold:
  - a pointer event of a freehand tool (pencil, brush, eraser, spray can, effect brushes, bump
    patterns, toys, floating pieces and stamps, text preview): p99 under 1 ms;
  - every other pointer event: p99 under 2 ms up to 1920x1080 and under 4.2 ms above; one that has
    to show the whole canvas anew: the larger of that and 1.5 times the canvas copy bound;
  - the full composition and the group switch: p99 under 16.7 ms up to 1920x1080, under 1.5 times
    the scene copy bound above;
  - a New wipe: at most 3 % over the sum of its frame periods;
  - a display change: under 250 ms; a BMP save or open of the whole canvas: under 250 ms.
"""
import os
import re
import statistics
import sys

LINE = re.compile(r"^(.*\S)\s+n=\s*\d+\s+p50 ([-\d.]+) (\S+)\s+p99 ([-\d.]+) \S+")

FREEHAND = ("pencil drag", "brush move", "eraser move", "spray can move", "pocket knife", "sunglasses",
            "lightbulb move", "rag move", "crayon move", "pepper move", "hammer and chisel move", "bump pattern",
            "ball ", "cog ", "wand ", "needle and thread", "paintball gun", "scissors floating", "scissors stamp press",
            "floating stamp", "text preview")
WHOLE_CANVAS = ("jar press event", "ruler and templates release, whole-canvas", "templates move, filled",
                "cleaner bottle after the jar", "spyglass")
OTHER = ("ruler move", "templates move", "scissors marquee", "dropper move", "cleaner bottle", "tool picked",
         "can picked", "hover over the room", "text placed")
CANVAS_BOUND = "copy bound: canvas rectangle to the window"
SCENE_BOUND = "copy bound: scene bitmap to the window"


def screen_key(s):
    w, h = s.split("x")
    return int(w) * int(h)


def read(folder):
    """{(side, screen, series): ([p50...], [p99...], unit)} and the order the series came in."""
    figures, order = {}, []
    for name in sorted(os.listdir(folder)):
        parts = name.split(".")
        if len(parts) != 4:
            continue
        side, screen = parts[0], parts[1]
        with open(os.path.join(folder, name), errors="replace") as f:
            for line in f:
                m = LINE.match(line.rstrip())
                if not m:
                    continue
                series = m.group(1)
                entry = figures.setdefault((side, screen, series), ([], [], m.group(3)))
                entry[0].append(float(m.group(2)))
                entry[1].append(float(m.group(4)))
                if series not in order:
                    order.append(series)
    return figures, order


def median(values):
    # Of an even count the lower middle, as the earlier tables did.
    v = sorted(values)
    return v[(len(v) - 1) // 2] if v else None


def figure(figures, side, screen, series):
    entry = figures.get((side, screen, series))
    if not entry:
        return None
    return median(entry[0]), median(entry[1]), entry[2]


def target(series, screen, bounds):
    """(limit, the figure judged: 0 = p50, 1 = p99) or None."""
    large = screen_key(screen) > 1920 * 1080
    if series.startswith("copy bound") or "alone" in series or series.startswith(("routing:", "tb_", "jar full-canvas")):
        return None
    if series.startswith(FREEHAND):
        return 1.0, 1
    if series.startswith(("full composition", "group switch")):
        return (bounds[1] * 1.5 if large and bounds[1] else 16.7), 1
    if series.startswith("New wipe"):
        return 3.0, 0
    if series.startswith("display change"):
        return 250.0, 1
    if series.startswith("BMP") and "flush to the disk" not in series and "without the flush" not in series:
        return 250.0, 0
    if series.startswith(OTHER) or series.startswith(WHOLE_CANVAS):
        limit = 4.2 if large else 2.0
        if series.startswith(WHOLE_CANVAS) and bounds[0]:
            limit = max(limit, 1.5 * bounds[0])
        return limit, 1
    return None


def cell(fig, limit):
    if fig is None:
        return "-"
    p50, p99, unit = fig
    text = [f"{p50:.3f}", f"{p99:.3f}"]
    if limit is not None and [p50, p99][limit[1]] >= limit[0]:
        text[limit[1]] = f"**{text[limit[1]]}**"
    return " / ".join(text) + ("" if unit == "ms" else " " + unit)


def main():
    folder = sys.argv[1]
    figures, order = read(folder)
    sides = sorted({k[0] for k in figures}, key=lambda s: {"before": 0, "after": 1}.get(s, 2))
    screens = sorted({k[1] for k in figures}, key=screen_key)
    last = sides[-1]
    bounds = {}
    for screen in screens:
        c = figure(figures, last, screen, CANVAS_BOUND)
        s = figure(figures, last, screen, SCENE_BOUND)
        bounds[screen] = (c[0] if c else None, s[0] if s else None)
    print("| what (p50 / p99, ms) | " + " | ".join(screens) + " |")
    print("|---|" + "---|" * len(screens))
    for series in order:
        cells = []
        for screen in screens:
            limit = target(series, screen, bounds[screen])
            cells.append(" -> ".join(cell(figure(figures, side, screen, series), limit) for side in sides))
        print(f"| {series} | " + " | ".join(cells) + " |")
    for name, i in (("1.5 x canvas copy bound (p50)", 0), ("1.5 x scene copy bound (p50)", 1)):
        print(f"| {name} | " + " | ".join(f"{1.5 * bounds[s][i]:.3f}" if bounds[s][i] else "-" for s in screens) + " |")


if __name__ == "__main__":
    main()

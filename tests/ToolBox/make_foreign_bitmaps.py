#!/usr/bin/python3
"""Writes BMP files the way other programs write them, for the reader's tests, and pictures in the
other formats families have (PNG, JPEG, GIF, TIFF) for the imaging component's.

    make_foreign_bitmaps.py OUTPUT_FOLDER

ImageMagick (`convert`) and Pillow write most of them, as a parent's pictures would come; the rest
are laid out here by hand for the layouts neither writes (OS/2 8-bit, 52- and 56-byte headers,
RLE4 with deltas, top-down rows, trailing bytes). For each file NAME.bmp the folder gets NAME.rgb:
width and height (two little-endian 32-bit values) and then the picture as it must read, rows from
the top, 3 bytes (red, green, blue) a pixel. list.txt names every file with the largest difference
per channel the reader may show (16-bit files lose the low bits of each channel).
"""
import os
import struct
import subprocess
import sys

from PIL import Image

W, H = 37, 23


def full(x, y):
    return ((x * 7 + y * 3) % 256, (y * 11 + 40) % 256, (x * y * 5 + 17) % 256)


SIXTEEN = [(0, 0, 0), (255, 255, 255), (255, 0, 0), (0, 160, 0), (0, 0, 255), (255, 255, 0),
           (0, 255, 255), (255, 0, 255), (128, 64, 0), (64, 128, 192), (200, 200, 200), (90, 90, 90),
           (250, 128, 114), (34, 139, 34), (75, 0, 130), (255, 165, 0)]


def sixteen(x, y):
    return SIXTEEN[(x // 3 + y // 2 * 5) % 16]


def sixty_four(x, y):
    i = (x // 2 + y * 3) % 64
    return ((i & 3) * 85, (i >> 2 & 3) * 85, (i >> 4) * 85)


def two(x, y):
    return (255, 255, 255) if (x + 2 * y) % 3 == 0 else (0, 0, 0)


def alpha_of(x, y):
    return (0, 128, 255, 64)[(x // 4 + y // 3) % 4]


def over_white(x, y):
    a = alpha_of(x, y)
    return tuple((c * a + 255 * (255 - a) + 127) // 255 for c in full(x, y))


def image(fn, mode="RGB"):
    im = Image.new(mode, (W, H))
    im.putdata([fn(x, y) for y in range(H) for x in range(W)])
    return im


def expect(folder, name, fn, tolerance, w=W, h=H):
    with open(os.path.join(folder, name + ".rgb"), "wb") as f:
        f.write(struct.pack("<II", w, h))
        f.write(bytes(c for y in range(h) for x in range(w) for c in fn(x, y)))
    return (name, tolerance)


def stride(width, bits):
    return (width * bits + 31) // 32 * 4


def hand_bmp(header, bits, table, rows, compression=0, masks=b"", top_down=False, entry=4, trailing=b"",
             width=W, height=H, pixels=None):
    """A BMP of our own layout: header size 12, 40, 52, 56, 108 or 124; rows(y) gives row y's bytes."""
    if pixels is None:
        s = stride(width, bits)
        order = range(height) if top_down else reversed(range(height))
        pixels = b"".join(bytes(rows(y)).ljust(s, b"\0") for y in order)
    colors = b"".join(struct.pack("<BBB", b, g, r) + (b"\0" if entry == 4 else b"") for (r, g, b) in table)
    if header == 12:
        info = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        h = -height if top_down else height
        info = struct.pack("<IiiHHIIiiII", header, width, h, 1, bits, compression, len(pixels), 2835, 2835,
                           len(table), 0)
        extra = masks if header > 40 else b""
        info += extra.ljust(header - 40, b"\0")
    between = masks if header == 40 else b""
    offset = 14 + len(info) + len(between) + len(colors)
    data = info + between + colors + pixels + trailing
    return struct.pack("<2sIHHI", b"BM", 14 + len(data), 0, 0, offset) + data


def index_rows(fn, palette, bits):
    def row(y):
        idx = [palette.index(fn(x, y)) for x in range(W)]
        if bits == 8:
            return idx
        per = 8 // bits
        out = bytearray((W + per - 1) // per)
        for x, i in enumerate(idx):
            out[x // per] |= i << (8 - bits * (x % per + 1))
        return out
    return row


def bgr_rows(fn):
    return lambda y: b"".join(bytes((c[2], c[1], c[0])) for c in (fn(x, y) for x in range(W)))


def rle4(fn, palette):
    """RLE4 with encoded runs, absolute runs, a delta and end-of-line marks; bottom row first."""
    out = bytearray()
    for y in reversed(range(H)):
        idx = [palette.index(fn(x, y)) for x in range(W)]
        x = 0
        if y == H // 2:
            # Skip the first 5 pixels of this row with a delta: they stay white.
            out += bytes((0, 2, 5, 0))
            x = 5
        while x < W:
            n = 1
            while x + n < W and n < 255 and idx[x + n] == idx[x]:
                n += 1
            if n >= 3 or W - x < 3:
                out += bytes((n, idx[x] << 4 | idx[x]))
                x += n
            else:
                n = min(W - x, 6)
                body = bytearray((n + 1) // 2)
                for k in range(n):
                    body[k // 2] |= idx[x + k] << (4 if k % 2 == 0 else 0)
                out += bytes((0, n)) + body + (b"\0" if len(body) % 2 else b"")
                x += n
        out += b"\0\0"
    out += b"\0\1"
    return bytes(out)


def pack16(c, shifts, bits):
    v = 0
    for value, shift, n in zip(c, shifts, bits):
        v |= (value >> (8 - n)) << shift
    return struct.pack("<H", v)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    listed = []

    def path(name):
        return os.path.join(folder, name + ".bmp")

    full_png = os.path.join(folder, "source_full.png")
    image(full).save(full_png)
    sixteen_png = os.path.join(folder, "source_sixteen.png")
    image(sixteen).save(sixteen_png)
    many_png = os.path.join(folder, "source_sixty_four.png")
    image(sixty_four).save(many_png)
    two_png = os.path.join(folder, "source_two.png")
    image(two).save(two_png)
    alpha_png = os.path.join(folder, "source_alpha.png")
    image(lambda x, y: full(x, y) + (alpha_of(x, y),), "RGBA").save(alpha_png)

    # ImageMagick, as Debian ships it.
    magick = [
        ("im_default_v5_24", full_png, [], "", full, 0),
        ("im_bmp3_24", full_png, [], "BMP3:", full, 0),
        ("im_bmp2_os2_24", full_png, [], "BMP2:", full, 0),
        ("im_v5_alpha_32", alpha_png, [], "", over_white, 1),
        ("im_v5_4bit", sixteen_png, ["-type", "Palette"], "", sixteen, 0),
        ("im_bmp3_rle8", sixteen_png, ["-type", "Palette", "-compress", "RLE"], "BMP3:", sixteen, 0),
        ("im_v4_1bit", two_png, ["-type", "Bilevel"], "", two, 0),
        ("im_v5_rgb565", full_png, ["-define", "bmp:subtype=RGB565"], "", full, 8),
        ("im_v5_rgb555", full_png, ["-define", "bmp:subtype=RGB555"], "", full, 8),
        ("im_bmp3_4bit", sixteen_png, ["-type", "Palette", "-compress", "None"], "BMP3:", sixteen, 0),
        ("im_bmp3_8bit", many_png, ["-type", "Palette", "-compress", "None"], "BMP3:", sixty_four, 0),
        ("im_v5_8bit", many_png, ["-type", "Palette"], "", sixty_four, 0),
    ]
    for name, source, options, prefix, fn, tolerance in magick:
        subprocess.run(["convert", source] + options + [prefix + path(name)], check=True)
        listed.append(expect(folder, name, fn, tolerance))

    # Pillow.
    image(full).save(path("pil_24"))
    listed.append(expect(folder, "pil_24", full, 0))
    image(lambda x, y: full(x, y) + (255,), "RGBA").save(path("pil_rgba_32"))
    listed.append(expect(folder, "pil_rgba_32", full, 0))
    image(sixteen).quantize(16, method=Image.Quantize.MAXCOVERAGE).save(path("pil_p_8"))
    listed.append(expect(folder, "pil_p_8", sixteen, 0))
    image(two).convert("1", dither=Image.Dither.NONE).save(path("pil_1bit"))
    listed.append(expect(folder, "pil_1bit", two, 0))
    grey = lambda x, y: (full(x, y)[0],) * 3
    image(grey).convert("L").save(path("pil_l_8"))
    listed.append(expect(folder, "pil_l_8", grey, 0))

    # By hand: the layouts neither writer produces.
    def write(name, data, fn, tolerance=0):
        with open(path(name), "wb") as f:
            f.write(data)
        listed.append(expect(folder, name, fn, tolerance))

    write("hand_os2_8bit", hand_bmp(12, 8, SIXTEEN + [(1, 2, 3)] * 240, index_rows(sixteen, SIXTEEN, 8), entry=3),
          sixteen)
    write("hand_top_down_24", hand_bmp(40, 24, [], bgr_rows(full), top_down=True), full)
    write("hand_trailing_24", hand_bmp(40, 24, [], bgr_rows(full), trailing=b"\x5a" * 77), full)
    write("hand_gap_24", hand_bmp(40, 24, SIXTEEN, bgr_rows(full)), full)  # a table nobody needs
    write("hand_4bit", hand_bmp(40, 4, SIXTEEN, index_rows(sixteen, SIXTEEN, 4)), sixteen)
    write("hand_top_down_1bit", hand_bmp(40, 1, [(0, 0, 0), (255, 255, 255)],
                                         index_rows(two, [(0, 0, 0), (255, 255, 255)], 1), top_down=True), two)
    write("hand_rgb555_16", hand_bmp(40, 16, [], lambda y: b"".join(
        pack16(full(x, y), (10, 5, 0), (5, 5, 5)) for x in range(W))), full, 8)
    masks565 = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    write("hand_v2_52_rgb565", hand_bmp(52, 16, [], lambda y: b"".join(
        pack16(full(x, y), (11, 5, 0), (5, 6, 5)) for x in range(W)), compression=3, masks=masks565), full, 8)
    write("hand_bitfields_40_rgb565", hand_bmp(40, 16, [], lambda y: b"".join(
        pack16(full(x, y), (11, 5, 0), (5, 6, 5)) for x in range(W)), compression=3, masks=masks565), full, 8)
    masks_abgr = struct.pack("<IIII", 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000)
    write("hand_v3_56_alpha_32", hand_bmp(56, 32, [], lambda y: b"".join(
        bytes(full(x, y)) + bytes((alpha_of(x, y),)) for x in range(W)), compression=3, masks=masks_abgr),
        over_white, 1)
    write("hand_v4_108_32", hand_bmp(108, 32, [], lambda y: b"".join(
        bytes((c[2], c[1], c[0], 0)) for c in (full(x, y) for x in range(W)))), full)
    skipped = lambda x, y: (255, 255, 255) if (y == H // 2 and x < 5) else sixteen(x, y)
    write("hand_rle4_delta", hand_bmp(40, 4, SIXTEEN, None, compression=2, pixels=rle4(sixteen, SIXTEEN)), skipped)

    with open(os.path.join(folder, "list.txt"), "w") as f:
        for name, tolerance in listed:
            f.write("%s %d\n" % (name, tolerance))
    other_formats(folder, full_png, alpha_png)


def truth_of(folder, name, rgb_bytes, w=W, h=H):
    """NAME.rgb from the red, green, blue bytes of a picture, rows from the top."""
    with open(os.path.join(folder, name + ".rgb"), "wb") as f:
        f.write(struct.pack("<II", w, h))
        f.write(rgb_bytes)


def magick_rgb(path):
    """The picture as ImageMagick reads it (EXIF orientation applied): (width, height, bytes)."""
    size = subprocess.run(["convert", path, "-auto-orient", "-format", "%w %h", "info:"], check=True,
                          capture_output=True, text=True).stdout.split()
    data = subprocess.run(["convert", path, "-auto-orient", "-colorspace", "sRGB", "-depth", "8", "rgb:-"],
                          check=True, capture_output=True).stdout
    return int(size[0]), int(size[1]), data


def other_formats(folder, full_png, alpha_png):
    """PNG, JPEG, GIF and TIFF files for the imaging component's reader, listed with their
    tolerance in pictures.txt (file name and the largest difference per channel)."""
    listed = []

    def add(file_name, fn, tolerance):
        truth_of(folder, os.path.splitext(file_name)[0],
                 bytes(c for y in range(H) for x in range(W) for c in fn(x, y)))
        listed.append((file_name, tolerance))

    def add_decoded(file_name, tolerance, rgb=None):
        w, h, data = rgb if rgb else magick_rgb(os.path.join(folder, file_name))
        truth_of(folder, os.path.splitext(file_name)[0], data, w, h)
        listed.append((file_name, tolerance))

    out = lambda n: os.path.join(folder, n)

    # ImageMagick: 16 bits a channel (from raw 16-bit samples), Adam7 interlacing, 2-bit grey.
    def sample16(x, y, k):
        return (x * 1777 + y * 911 + k * 20011) % 65536
    def alpha16(x, y):
        return (0, 20000, 65535, 40000)[(x // 4 + y // 3) % 4]
    to8 = lambda v: (v * 255 + 32767) // 65535
    raw = out("source48.rgb16")
    with open(raw, "wb") as f:
        f.write(b"".join(struct.pack(">HHH", *(sample16(x, y, k) for k in range(3)))
                         for y in range(H) for x in range(W)))
    subprocess.run(["convert", "-size", "%dx%d" % (W, H), "-depth", "16", "-endian", "MSB", "rgb:" + raw, "PNG48:" + out("im_png48.png")],
                   check=True)
    add("im_png48.png", lambda x, y: tuple(to8(sample16(x, y, k)) for k in range(3)), 1)
    with open(raw, "wb") as f:
        f.write(b"".join(struct.pack(">HHHH", *(sample16(x, y, k) for k in range(3)), alpha16(x, y))
                         for y in range(H) for x in range(W)))
    subprocess.run(["convert", "-size", "%dx%d" % (W, H), "-depth", "16", "-endian", "MSB", "rgba:" + raw,
                    "PNG64:" + out("im_png64_alpha.png")], check=True)
    def over_white16(x, y):
        a = to8(alpha16(x, y))
        return tuple((to8(sample16(x, y, k)) * a + 255 * (255 - a) + 127) // 255 for k in range(3))
    add("im_png64_alpha.png", over_white16, 2)
    os.remove(raw)
    subprocess.run(["convert", full_png, "-interlace", "PNG", out("im_png_interlaced.png")], check=True)
    add("im_png_interlaced.png", full, 0)
    grey4 = lambda x, y: (((x + y) % 4) * 85,) * 3
    image(grey4).convert("L").save(out("source_grey4.png"))
    subprocess.run(["convert", out("source_grey4.png"), "-colorspace", "Gray", "-depth", "2", out("im_png_grey2.png")],
                   check=True)
    add("im_png_grey2.png", grey4, 0)

    # ImageMagick: the eight EXIF orientations, set on a photo that Pillow gave an EXIF block; the
    # truth is ImageMagick's own reading with the orientation applied.
    exif = Image.Exif()
    exif[0x0112] = 1
    image(full).save(out("source_exif.jpg"), quality=95, exif=exif.tobytes())
    names = ["TopLeft", "TopRight", "BottomRight", "BottomLeft", "LeftTop", "RightTop", "RightBottom", "LeftBottom"]
    for number, name in enumerate(names, 1):
        file_name = "im_jpeg_orientation%d.jpg" % number
        subprocess.run(["convert", out("source_exif.jpg"), "-orient", name, "-quality", "95", "-sampling-factor",
                        "1x1", out(file_name)], check=True)
        add_decoded(file_name, 4)

    # Pillow: palettes of 1, 2, 4 and 8 bits, grey, grey with alpha, 16-bit grey, RGB, RGBA.
    image(two).convert("1", dither=Image.Dither.NONE).save(out("pil_png_1bit.png"))
    add("pil_png_1bit.png", two, 0)
    four = [(255, 0, 0), (0, 0, 255), (255, 255, 255), (0, 128, 0)]
    four_fn = lambda x, y: four[(x // 2 + y) % 4]
    p2 = Image.new("P", (W, H))
    p2.putpalette([c for rgb in four for c in rgb])
    p2.putdata([four.index(four_fn(x, y)) for y in range(H) for x in range(W)])
    p2.save(out("pil_png_p2.png"), bits=2)
    add("pil_png_p2.png", four_fn, 0)
    p4 = Image.new("P", (W, H))
    p4.putpalette([c for rgb in SIXTEEN for c in rgb])
    p4.putdata([SIXTEEN.index(sixteen(x, y)) for y in range(H) for x in range(W)])
    p4.save(out("pil_png_p4.png"), bits=4)
    add("pil_png_p4.png", sixteen, 0)
    image(sixty_four).quantize(64, method=Image.Quantize.MAXCOVERAGE).save(out("pil_png_p8.png"))
    add("pil_png_p8.png", sixty_four, 0)
    clear = lambda x, y: (255, 255, 255) if (x + y) % 5 == 0 else sixteen(x, y)
    trns = Image.new("P", (W, H))
    trns.putpalette([c for rgb in SIXTEEN + [(9, 9, 9)] for c in rgb])
    trns.putdata([16 if (x + y) % 5 == 0 else SIXTEEN.index(sixteen(x, y)) for y in range(H) for x in range(W)])
    trns.save(out("pil_png_p_transparent.png"), transparency=16)
    add("pil_png_p_transparent.png", clear, 0)
    grey = lambda x, y: (full(x, y)[0],) * 3
    image(grey).convert("L").save(out("pil_png_grey8.png"))
    add("pil_png_grey8.png", grey, 0)
    i16 = Image.new("I;16", (W, H))
    i16.putdata([full(x, y)[0] * 257 for y in range(H) for x in range(W)])
    i16.save(out("pil_png_grey16.png"))
    add("pil_png_grey16.png", grey, 1)
    la = Image.new("LA", (W, H))
    la.putdata([(full(x, y)[0], alpha_of(x, y)) for y in range(H) for x in range(W)])
    la.save(out("pil_png_grey_alpha.png"))
    add("pil_png_grey_alpha.png", lambda x, y: tuple(
        (full(x, y)[0] * alpha_of(x, y) + 255 * (255 - alpha_of(x, y)) + 127) // 255 for _ in range(3)), 1)
    image(full).save(out("pil_png_rgb.png"))
    add("pil_png_rgb.png", full, 0)
    Image.open(alpha_png).save(out("pil_png_rgba.png"))
    add("pil_png_rgba.png", over_white, 1)

    # Pillow: JPEG baseline, progressive and grey, read as Pillow itself reads them (colour at full
    # resolution: decoders may spread halved colour differently); a photo-like picture with its
    # colour halved in both directions, as cameras write it; a flat CMYK patch, read as ImageMagick
    # converts it.
    def pillow_rgb(file_name):
        im = Image.open(out(file_name)).convert("RGB")
        return im.width, im.height, im.tobytes()
    image(full).save(out("pil_jpeg_baseline.jpg"), quality=90, subsampling=0)
    add_decoded("pil_jpeg_baseline.jpg", 3, pillow_rgb("pil_jpeg_baseline.jpg"))
    image(full).save(out("pil_jpeg_progressive.jpg"), quality=90, progressive=True, subsampling=0)
    add_decoded("pil_jpeg_progressive.jpg", 3, pillow_rgb("pil_jpeg_progressive.jpg"))
    smooth = lambda x, y: (40 + 5 * x, 200 - 6 * y, 90 + 2 * x + 3 * y)
    image(smooth).save(out("pil_jpeg_halved_colour.jpg"), quality=90, subsampling=2)
    add_decoded("pil_jpeg_halved_colour.jpg", 6, pillow_rgb("pil_jpeg_halved_colour.jpg"))
    image(grey).convert("L").save(out("pil_jpeg_grey.jpg"), quality=90)
    add_decoded("pil_jpeg_grey.jpg", 3, pillow_rgb("pil_jpeg_grey.jpg"))
    Image.new("CMYK", (W, H), (30, 160, 20, 40)).save(out("pil_jpeg_cmyk.jpg"), quality=95)
    add_decoded("pil_jpeg_cmyk.jpg", 24)

    # Pillow: an animated GIF (the first frame has see-through pixels) and a TIFF of two pages.
    frames = []
    for k in range(3):
        f = Image.new("P", (W, H))
        f.putpalette([c for rgb in SIXTEEN + [(9, 9, 9)] for c in rgb])
        f.putdata([16 if k == 0 and (x + y) % 5 == 0 else SIXTEEN.index(sixteen(x + 3 * k, y))
                   for y in range(H) for x in range(W)])
        frames.append(f)
    frames[0].save(out("pil_gif_animated.gif"), save_all=True, append_images=frames[1:], transparency=16,
                   duration=100, loop=0, disposal=2)
    add("pil_gif_animated.gif", lambda x, y: (255, 255, 255) if (x + y) % 5 == 0 else sixteen(x, y), 0)
    second = image(lambda x, y: (255 - full(x, y)[0], 0, 0))
    image(full).save(out("pil_tiff_pages.tif"), save_all=True, append_images=[second], compression="tiff_lzw")
    add("pil_tiff_pages.tif", full, 0)

    with open(os.path.join(folder, "pictures.txt"), "w") as f:
        for name, tolerance in listed:
            f.write("%s %d\n" % (name, tolerance))


if __name__ == "__main__":
    main()

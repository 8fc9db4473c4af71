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
    other_formats(folder, full_png)


def magick_rgb(path):
    """The picture as ImageMagick reads it, EXIF orientation applied: (width, height, bytes)."""
    run = lambda *a: subprocess.run(["convert", path, "-auto-orient"] + list(a), check=True, capture_output=True).stdout
    w, h = run("-format", "%w %h", "info:").split()
    return int(w), int(h), run("-colorspace", "sRGB", "-depth", "8", "rgb:-")


def other_formats(folder, full_png):
    """PNG, JPEG, GIF and TIFF files for the imaging component's reader, in pictures.txt with the
    largest difference per channel they may read with (-1: the file must be refused)."""
    out = lambda name: os.path.join(folder, name)
    convert = lambda *args: subprocess.run(["convert"] + list(args), check=True)
    pillow = lambda name: (lambda im: (im.width, im.height, im.tobytes()))(Image.open(out(name)).convert("RGB"))
    listed = []

    def add(name, fn=None, tolerance=0, decoded=None):
        stem = os.path.splitext(name)[0]
        if decoded:
            with open(out(stem + ".rgb"), "wb") as f:
                f.write(struct.pack("<II", decoded[0], decoded[1]) + decoded[2])
        elif fn:
            expect(folder, stem, fn, tolerance)
        listed.append((name, tolerance if fn or decoded else -1))

    def put(name, data):
        with open(out(name), "wb") as f:
            f.write(data)

    # ImageMagick: 16 bits a channel from big-endian samples (the second with alpha over white),
    # Adam7 interlacing, 2-bit grey, the eight EXIF orientations set on a photo with an EXIF block.
    s16 = lambda x, y, k: (x * 1777 + y * 911 + k * 20011) % 65536
    a16 = lambda x, y: (0, 20000, 65535, 40000)[(x // 4 + y // 3) % 4]
    to8 = lambda v: (v * 255 + 32767) // 65535
    for name, alpha in (("im_png48.png", False), ("im_png64_alpha.png", True)):
        put("raw16", b"".join(struct.pack(">4H", s16(x, y, 0), s16(x, y, 1), s16(x, y, 2), a16(x, y))[:8 if alpha else 6]
                              for y in range(H) for x in range(W)))
        convert("-size", "%dx%d" % (W, H), "-depth", "16", "-endian", "MSB", ("rgba:" if alpha else "rgb:") + out("raw16"),
                ("PNG64:" if alpha else "PNG48:") + out(name))
        a = (lambda x, y: to8(a16(x, y))) if alpha else (lambda x, y: 255)
        add(name, lambda x, y: tuple((to8(s16(x, y, k)) * a(x, y) + 255 * (255 - a(x, y)) + 127) // 255 for k in range(3)),
            2 if alpha else 1)
    convert(full_png, "-interlace", "PNG", out("im_png_interlaced.png"))
    add("im_png_interlaced.png", full)
    grey4 = lambda x, y: (((x + y) % 4) * 85,) * 3
    image(grey4).convert("L").save(out("source_grey4.png"))
    convert(out("source_grey4.png"), "-colorspace", "Gray", "-depth", "2", out("im_png_grey2.png"))
    add("im_png_grey2.png", grey4)
    exif = Image.Exif()
    exif[0x0112] = 1
    image(full).save(out("source_exif.jpg"), quality=95, exif=exif.tobytes())
    turns = ["TopLeft", "TopRight", "BottomRight", "BottomLeft", "LeftTop", "RightTop", "RightBottom", "LeftBottom"]
    for number, turn in enumerate(turns, 1):
        name = "im_jpeg_orientation%d.jpg" % number
        convert(out("source_exif.jpg"), "-orient", turn, "-quality", "95", "-sampling-factor", "1x1", out(name))
        add(name, tolerance=4, decoded=magick_rgb(out(name)))
    # By hand: orientation 8 in a big-endian EXIF block behind an XMP block and fill bytes.
    jpeg = open(out("im_jpeg_orientation1.jpg"), "rb").read()
    at = jpeg.index(b"\xff\xe1")
    jpeg = jpeg[:at] + jpeg[at + 2 + struct.unpack(">H", jpeg[at + 2:at + 4])[0]:]
    app1 = lambda body: b"\xff\xe1" + struct.pack(">H", len(body) + 2) + body
    tiff = b"MM\0*" + struct.pack(">IHHHIHHI", 8, 1, 0x0112, 3, 1, 8, 0, 0)
    put("hand_jpeg_exif_big_endian.jpg", jpeg[:2] + app1(b"http://ns.adobe.com/xap/1.0/\0<x/>") + b"\xff\xff" +
        app1(b"Exif\0\0" + tiff) + jpeg[2:])
    add("hand_jpeg_exif_big_endian.jpg", tolerance=4, decoded=magick_rgb(out("hand_jpeg_exif_big_endian.jpg")))

    # Pillow: PNG of 1, 4 and 8 bits with palettes, grey, grey with alpha, RGBA.
    image(two).convert("1", dither=Image.Dither.NONE).save(out("pil_png_1bit.png"))
    add("pil_png_1bit.png", two)
    image(sixteen).quantize(16, method=Image.Quantize.MAXCOVERAGE).save(out("pil_png_p4.png"), bits=4)
    add("pil_png_p4.png", sixteen)
    image(sixty_four).quantize(64, method=Image.Quantize.MAXCOVERAGE).save(out("pil_png_p8.png"))
    add("pil_png_p8.png", sixty_four)
    grey = lambda x, y: (full(x, y)[0],) * 3
    image(grey).convert("L").save(out("pil_png_grey8.png"))
    add("pil_png_grey8.png", grey)
    image(lambda x, y: (full(x, y)[0], alpha_of(x, y)), "LA").save(out("pil_png_grey_alpha.png"))
    add("pil_png_grey_alpha.png", lambda x, y: ((grey(x, y)[0] * alpha_of(x, y) + 255 * (255 - alpha_of(x, y)) + 127) // 255,) * 3,
        1)
    image(lambda x, y: full(x, y) + (alpha_of(x, y),), "RGBA").save(out("pil_png_rgba.png"))
    add("pil_png_rgba.png", over_white, 1)

    # Pillow: JPEG baseline and progressive (colour at full resolution: decoders may spread halved
    # colour differently), grey, a smooth photo with halved colour as cameras write it, read as
    # Pillow reads them; a flat CMYK patch, read as ImageMagick converts it.
    for name, progressive in (("pil_jpeg_baseline.jpg", False), ("pil_jpeg_progressive.jpg", True)):
        image(full).save(out(name), quality=90, subsampling=0, progressive=progressive)
        add(name, tolerance=3, decoded=pillow(name))
    image(grey).convert("L").save(out("pil_jpeg_grey.jpg"), quality=90)
    add("pil_jpeg_grey.jpg", tolerance=3, decoded=pillow("pil_jpeg_grey.jpg"))
    image(lambda x, y: (40 + 5 * x, 200 - 6 * y, 90 + 2 * x + 3 * y)).save(out("pil_jpeg_halved_colour.jpg"), quality=90,
                                                                             subsampling=2)
    add("pil_jpeg_halved_colour.jpg", tolerance=6, decoded=pillow("pil_jpeg_halved_colour.jpg"))
    Image.new("CMYK", (W, H), (30, 160, 20, 40)).save(out("pil_jpeg_cmyk.jpg"), quality=95)
    add("pil_jpeg_cmyk.jpg", tolerance=24, decoded=magick_rgb(out("pil_jpeg_cmyk.jpg")))

    # Pillow: an animated GIF whose first frame has see-through pixels, a TIFF of two pages.
    frames = []
    for k in range(3):
        frames.append(Image.new("P", (W, H)))
        frames[-1].putpalette([c for rgb in SIXTEEN + [(9, 9, 9)] for c in rgb])
        frames[-1].putdata([16 if k == 0 and (x + y) % 5 == 0 else SIXTEEN.index(sixteen(x + 3 * k, y))
                            for y in range(H) for x in range(W)])
    frames[0].save(out("pil_gif_animated.gif"), save_all=True, append_images=frames[1:], transparency=16, duration=100,
                   loop=0, disposal=2)
    see_through = lambda x, y: (255, 255, 255) if (x + y) % 5 == 0 else sixteen(x, y)
    add("pil_gif_animated.gif", see_through)
    image(full).save(out("pil_tiff_pages.tif"), save_all=True, compression="tiff_lzw",
                     append_images=[image(lambda x, y: (255 - full(x, y)[0], 0, 0))])
    add("pil_tiff_pages.tif", full)

    # Damage: the GIF cut in its second frame (the first still shows), and refused: without colour
    # tables (a decoder once crashed on it), its first picture's data breaking off with its blocks
    # whole, and a code there its table does not hold yet (a decoder kept memory for each).
    gif = open(out("pil_gif_animated.gif"), "rb").read()
    table = 3 << ((gif[10] & 7) + 1)
    at = 13 + table + 19 + 8  # behind Pillow's loop and first frame extensions: the first picture
    assert gif[at] == 0x2C
    at += 11
    data = at  # the first data sub-block, 9-bit codes from its start
    while gif[at]:  # its data, a chain of sub-blocks
        at += 1 + gif[at]
    put("hand_gif_cut_after_first.gif", gif[:at + 30])
    add("hand_gif_cut_after_first.gif", see_through)
    put("hand_gif_without_colour_table.gif", gif[:10] + bytes((gif[10] & 0x7F,)) + gif[11:13] + gif[13 + table:])
    add("hand_gif_without_colour_table.gif")
    short = gif[data] // 4
    put("hand_gif_data_breaks_off.gif", gif[:data] + bytes((short,)) + gif[data + 1:data + 1 + short] + gif[at:])
    add("hand_gif_data_breaks_off.gif")
    put("hand_gif_code_beyond_table.gif", gif[:data + 3] + b"\xff" * 4 + gif[data + 7:])
    add("hand_gif_code_beyond_table.gif")

    os.remove(out("raw16"))
    with open(out("pictures.txt"), "w") as f:
        for name, tolerance in listed:
            f.write("%s %d\n" % (name, tolerance))


if __name__ == "__main__":
    main()

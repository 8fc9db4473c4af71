"""A model of how paint.exe composes its room from the pictures, used to build pictures that must
match their surroundings (highlights, the monitor, speaker and spyglass) and by preview.py for the
mock-ups. It follows the program's composition: wall tiles, frame strips, left panel and table through
their masks, cans recoloured by flood fills, the tools of the current group, markers, blot and the two
indicators. Pictures are numpy uint8 arrays (h, w, 3); masks (h, w) with 0/255."""
from __future__ import annotations

import numpy as np
from scipy import ndimage

# Layout (window coordinates relative to W, H), as the scene lays the room out.
CAN_LIDS = [(476, -94, 511, -84), (512, -96, 547, -87), (552, -93, 588, -84), (512, -87, 550, -79),
            (554, -84, 592, -76), (491, -80, 529, -71), (533, -76, 572, -66), (575, -76, 616, -66)]
CAN_FILL = [(16, 6), (50, 3), (92, 8), (54, 12), (97, 15), (35, 20), (75, 23), (118, 24)]
CAN_BODY_POINTS = {0: (486, -83), 5: (511, -69), 6: (551, -64), 7: (597, -63)}
CAN_COLOURS = [(255, 255, 255), (0, 0, 0), (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0),
               (255, 0, 255), (255, 128, 0)]
CAN_BODY_RECTS = {0: [(476, -96, 511, -82), (476, -82, 492, -47)], 5: [(493, -81, 528, -42)],
                  6: [(534, -76, 571, -28)], 7: [(576, -76, 615, -27)], 2: [(552, -96, 588, -84)]}

# Group buttons (0 Artist's Tool Box, 1 Rock, 2 Books, 3 Magic Hat, 4 Toys), relative to H.
GROUP_BUTTONS = {0: (0, -308, 51, -235), 1: (0, -411, 58, -356), 2: (59, -446, 101, -356),
                 3: (55, -293, 101, -235), 4: (50, -219, 104, -154)}
OPTION_PANEL = (7, -143, 101, -61)
BLOT = (439, -40, 483, -23)
SPYGLASS = (590, -21, 612, 0)
SPEAKER = (618, -21, 634, 0)
CAPTION = (0, -22, 572, 0)
TUBE = (483, -41, 538, -20)

# Highlight rectangles (relative to H) and their pictures, in hot-spot order.
HIGHLIGHTS = [("rock", 114, (0, -470, 111, -345)), ("books", 115, (0, -470, 111, -345)),
              ("toolbox", 116, (0, -348, 111, -223)), ("hat", 117, (0, -348, 111, -223)),
              ("printer", 118, (0, -234, 111, -143)), ("toys", 119, (0, -234, 111, -143)),
              ("keyboard", 120, (5, -60, 138, -13)), ("cleaner", 121, (124, -139, 147, -47)),
              ("remote", 122, (131, -60, 181, -17)), ("tube", 138, (483, -41, 538, -20))]

# The thirty scene objects: (group, image id, mask id, bounds relative to H, outline or None for the
# four corners of the bounds, caption id).
OBJECTS = [
    (0, 154, 163, (363, -36, 428, -22), [(364, -30), (425, -37), (425, -28), (364, -23)], 701),
    (0, 155, 164, (326, -51, 414, -29), [(326, -38), (404, -52), (417, -48), (328, -28)], 702),
    (0, 156, 165, (308, -55, 344, -40), [(308, -53), (343, -56), (342, -44), (309, -40)], 704),
    (0, 157, 166, (188, -80, 207, -26), [(189, -79), (205, -79), (205, -28), (189, -28)], 709),
    (0, 158, 167, (370, -64, 463, -49), [(371, -65), (462, -61), (462, -51), (370, -55)], 703),
    (0, 159, 168, (222, -42, 259, -25), [(221, -35), (226, -40), (235, -42), (245, -41), (247, -38),
                                         (258, -38), (257, -27), (234, -27), (234, -28), (225, -30)], 707),
    (0, 160, 169, (277, -50, 299, -23), [(277, -50), (298, -50), (298, -24), (277, -24)], 706),
    (0, 161, 170, (272, -69, 324, -52), [(272, -68), (295, -69), (323, -61), (323, -57), (283, -54),
                                         (272, -55)], 705),
    (0, 162, 171, (214, -61, 260, -42), [(215, -60), (256, -63), (259, -51), (232, -47), (220, -42),
                                         (215, -51)], 708),
    (1, 200, 206, (360, -54, 435, -24), None, 734),
    (1, 201, 207, (282, -79, 343, -55), None, 734),
    (1, 202, 208, (208, -79, 270, -55), None, 734),
    (1, 203, 209, (356, -79, 419, -55), None, 734),
    (1, 204, 210, (189, -54, 263, -25), None, 734),
    (1, 205, 211, (276, -54, 347, -25), None, 734),
    (2, 500, 503, (181, -75, 283, -25), None, 737),
    (2, 501, 504, (279, -73, 364, -25), None, 736),
    (2, 502, 505, (363, -74, 447, -25), None, 735),
    (3, 300, 306, (372, -41, 428, -26), None, 728),
    (3, 301, 307, (271, -57, 356, -22), [(314, -57), (356, -57), (356, -22), (271, -22), (271, -39)], 729),
    (3, 302, 308, (199, -54, 246, -22), [(223, -54), (246, -54), (246, -22), (199, -22), (199, -38)], 730),
    (3, 303, 309, (366, -76, 426, -42), None, 731),
    (3, 304, 310, (261, -68, 314, -52), None, 732),
    (3, 305, 311, (193, -79, 210, -45), None, 733),
    (4, 400, 406, (371, -58, 422, -23), None, 722),
    (4, 401, 407, (294, -49, 318, -25), None, 723),
    (4, 402, 408, (197, -49, 258, -19), None, 724),
    (4, 403, 409, (343, -72, 457, -51), None, 725),
    (4, 404, 410, (283, -89, 334, -52), None, 726),
    (4, 405, 411, (184, -89, 259, -51), None, 727),
]


def outline_of(index):
    """The object's outline polygon relative to its bounds' top-left corner."""
    _, _, _, (l, t, r, b), pts, _ = OBJECTS[index]
    if pts is None:
        pts = [(l, t), (r, t), (r, b), (l, b)]
    return [(x - l, y - t) for x, y in pts]


def at(rect, H):
    l, t, r, b = rect
    return (l, H + t, r, H + b)


# ------------------------------------------------------------------ pixel operations as the toolbox does them

def _clipped(dst, src, x, y, sx, sy, w, h):
    """The parts of dst and src that a copy of w x h pixels from (sx, sy) of src to (x, y) of dst
    touches, clipped to dst (w and h default to the rest of src): two (rows, columns) slice pairs, or
    None when nothing of it lands on dst."""
    h_, w_ = src.shape[:2]
    w = w_ - sx if w is None else w
    h = h_ - sy if h is None else h
    x0, y0 = max(x, 0), max(y, 0)
    x1, y1 = min(x + w, dst.shape[1]), min(y + h, dst.shape[0])
    if x1 <= x0 or y1 <= y0:
        return None
    return ((slice(y0, y1), slice(x0, x1)),
            (slice(sy + y0 - y, sy + y1 - y), slice(sx + x0 - x, sx + x1 - x)))


def copy(dst, src, x, y, sx=0, sy=0, w=None, h=None):
    parts = _clipped(dst, src, x, y, sx, sy, w, h)
    if parts is not None:
        d, s = parts
        dst[d] = src[s]


def copy_masked(dst, img, mask, x, y, sx=0, sy=0, w=None, h=None):
    """OR the mask into the destination, then AND the picture."""
    parts = _clipped(dst, img, x, y, sx, sy, w, h)
    if parts is not None:
        d, s = parts
        dst[d] = (dst[d] | mask[s][..., None]) & img[s]


FOUR = np.array([[0, 1, 0], [1, 1, 1], [0, 1, 0]])


def flood(img, x, y, colour):
    """Fill the 4-connected area of the colour found at (x, y) with colour."""
    if not (0 <= x < img.shape[1] and 0 <= y < img.shape[0]):
        return np.zeros(img.shape[:2], bool)
    same = np.all(img == img[y, x], axis=2)
    lab, _ = ndimage.label(same, structure=FOUR)
    region = lab == lab[y, x]
    img[region] = colour
    return region


def tile(dst, src):
    th, tw = src.shape[:2]
    for y in range(0, dst.shape[0], th):
        for x in range(0, dst.shape[1], tw):
            copy(dst, src, x, y)


# ------------------------------------------------------------------ composition

def frame_and_wall(S, pic, W, H):
    tile(S, pic(104))
    copy(S, pic(105), 130, H - 479)
    if H - 479 > 16:
        y = 0
        while y < H - 479:
            copy(S, pic(112), 130, y)
            y += 385
    copy(S, pic(106), 130, H - 96)
    if W > 639:
        x = W - 492
        while x > 130:
            copy(S, pic(113), x, H - 96)
            x -= 492
    x = 130
    while x < W - 19:
        copy(S, pic(110), x, 0)
        x += 500
    copy(S, pic(107), 130, 1)
    y = H - 485
    while y >= -388:
        copy(S, pic(111), W - 19, y)
        y -= 389
    copy(S, pic(111), W - 19, 0)
    copy(S, pic(108), W - 32, 0)
    copy(S, pic(109), W - 20, H - 112)
    S[16:H - 96, 147:W - 19] = 255


def body_colour(c):
    return tuple(int(round(0.8 * v)) for v in c)


def recolour_can(S, pic, i, colour, H):
    cans = pic(151).copy()
    fx, fy = CAN_FILL[i]
    flood(cans, fx, fy, colour)
    l, t, r, b = at(CAN_LIDS[i], H)
    copy_masked(S, cans, pic(141 + i), l, t, l - 475, t - (H - 96), r - l, b - t)
    if i in CAN_BODY_POINTS:
        bx, by = CAN_BODY_POINTS[i]
        flood(S, bx, H + by, body_colour(colour))


def paint_blot(S, pic, colour, H):
    blot = pic(149).copy()
    flood(blot, 21, 8, colour)
    l, t, _, _ = at(BLOT, H)
    copy_masked(S, blot, pic(150), l, t)


def compose(pic, W=800, H=600, group=0, current=0, cans=None, colour=(255, 0, 0), sound=True, zoom=False,
            picture=None, caption=None, options=None):
    """The room as the program composes it at start-up (background, cans, full), then with the given
    group and tool picked. picture: an optional canvas picture (cw x ch); caption: a caption id shown;
    options: an optional 94x82 option panel picture for the current tool."""
    cans = list(CAN_COLOURS if cans is None else cans)
    S = np.full((H, W, 3), 255, np.uint8)
    frame_and_wall(S, pic, W, H)
    copy_masked(S, pic(100), pic(102), 0, H - 480)
    copy_masked(S, pic(101), pic(103), 0, H - 96)
    for i in range(8):
        recolour_can(S, pic, i, cans[i], H)
    gl, gt, gr, gb = at(GROUP_BUTTONS[group], H)
    copy_masked(S, pic(173), pic(175), gr - 24, gb - 20)
    for g, img, msk, bounds, _, _ in OBJECTS:
        if g == group:
            l, t, r, b = at(bounds, H)
            copy_masked(S, pic(img), pic(msk), l, t)
    ol, ot, _, _ = at(OPTION_PANEL, H)
    copy(S, pic(152) if options is None else options, ol, ot)
    if OBJECTS[current][0] == group:
        l, t, r, b = at(OBJECTS[current][3], H)
        cx, cy = (l + r) // 2, (t + b) // 2
        copy_masked(S, pic(172), pic(174), cx, cy - 20)
    paint_blot(S, pic, colour, H)
    sl, st, _, _ = at(SPEAKER, H)
    copy(S, pic(101), sl, st, 618, 75, 16, 21)
    copy(S, pic(600 if sound else 601), sl, st)
    zl, zt, _, _ = at(SPYGLASS, H)
    copy(S, pic(101), zl, zt, 590, 75, 22, 21)
    copy(S, pic(603 if zoom else 602), zl, zt)
    if picture is not None:
        copy(S, picture, 147, 16, 0, 0, W - 166, H - 112)
    if caption:
        copy(S, pic(700), 0, H - 22)
        copy(S, pic(caption), 0, H - 22)
    return S

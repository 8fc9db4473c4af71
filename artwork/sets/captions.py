"""The caption strips (572 x 22): dark blue handwriting on the yellow strip along the table's front
edge, one per thing the pointer can be over; 700 is the empty strip."""
from __future__ import annotations

from common import Entry
from draw import Canvas, hexc, over_rgb, text, text_width, to_image
from sets import room

INK = hexc("#1B2A8C")
SIZE = 14
MARGIN = 6

CAPTIONS = {
    701: "Pencil: Use the pencil for freehand drawing.",
    702: "Brush: Use the brush for freehand drawing with blended edges.",
    703: "Ruler: Use the ruler to draw straight lines (hold the mouse button down while you drag it).",
    704: "Eraser: Use the eraser to remove color from your drawing.",
    705: "Dropper: Use the dropper to select a color from your drawing.",
    706: "Jar: Use the jar of paint to fill an area with color.",
    707: "Templates: Use the templates to draw shapes (hold the mouse button down while you drag it).",
    708: "Scissors: Use the scissors to select & copy an area; press the C-key to cancel copying.",
    709: "Spray Can: Use the spray can to spray color in your drawing.",
    710: "Cleaner: Click on the cleaner bottle to undo your last action.",
    711: "Paint Tube: Click on the paint tube to choose a new color from the color palette.",
    712: "Cans: Click a can to choose its color for drawing; double-click it to change the can's color.",
    713: "Keyboard: Use the keyboard to add text to your drawing.",
    714: "Remote: Click the remote to activate the main menu.",
    715: "Monitor: You can change a tool's settings by clicking the controls shown here.",
    716: "Printer: Click the printer to print a copy of your drawing.",
    717: "Artist's Tool Box: Click here to display the standard drawing tools on your table.",
    718: "Magic Hat: Click here to display some 'magical' tools on your table.",
    719: "Toys: Click here to display some 'whacky' tools on your table.",
    720: "Rock: Click here to display some 'bump' tools on your table.",
    721: "Books: Click here to display some books of 'stamps' that you can place in your drawing.",
    722: "Hammer & Chisel: Use this tool to give your drawing a carved stone look.",
    723: "Ball: Use this tool to make 3D looking spheres.",
    724: "Cog: Use this tool to draw weird patterns.",
    725: "Wand: Use this tool to make stars.",
    726: "Needle & Thread: Use this tool to make random stitching patterns.",
    727: "Paintball Gun: Use this to splatter paint on your drawing.",
    728: "Pocket Knife: Use this tool to sharpen blurry edges.",
    729: "Sunglasses: Use this tool to darken areas on your drawing.",
    730: "Lightbulb: Use this tool to brighten areas on your drawing.",
    731: "Rag: Use this tool to blur areas on your drawing.",
    732: "Crayon: Use this tool to enhance the colors red, green and blue.",
    733: "Pepper: Use this tool to make speckled patterns.",
    734: "Bump Patterns: Select a pattern to add cool 3D bumps to your drawing.",
    735: "Volume 1: This book contains symbol & shape stamps.",
    736: "Volume 2: This book contains stamps of various objects.",
    737: "Volume 3: This book contains nature stamps.",
    738: "Spyglass: Use the spyglass to zoom in & out on your drawing.",
    739: "Speaker: Press the speaker to turn the sound effects on or off.",
    740: "Paint Blot: This blot of paint shows your currently chosen color.",
}


def size_of(rid):
    """14 px, a little less for the one caption that would not fit between the margins."""
    w = text_width(CAPTIONS[rid], SIZE)
    room_for = 572 - 2 * MARGIN
    return SIZE if w <= room_for else SIZE * room_for / w


def caption(rid):
    strip = room.caption_strip()
    if rid == 700:
        return to_image(strip)
    cv = Canvas(572, 22)
    text(cv.ctx, CAPTIONS[rid], MARGIN, 16, size_of(rid), INK)
    return to_image(over_rgb(strip, cv.rgba()))


def check_captions():
    probs = []
    for rid, s in CAPTIONS.items():
        w = text_width(s, size_of(rid))
        if w > 572 - 2 * MARGIN + 0.5 or size_of(rid) < 13.5:
            probs.append(f"caption {rid} is {w:.0f} px wide, more than the strip holds")
    return probs


ENTRIES = [Entry("BITMAP", "paint", 700, "paint/captions/700_empty.bmp", 572, 22, 24, "empty caption strip",
                 make=lambda: caption(700))]
for _rid, _text in CAPTIONS.items():
    ENTRIES.append(Entry("BITMAP", "paint", _rid, f"paint/captions/{_rid}.bmp", 572, 22, 24, "caption", text=_text,
                         make=(lambda r=_rid: caption(r))))
CHECKS = [check_captions]

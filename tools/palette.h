// The colour palette: a painter's palette with a colour wheel, drawn over the room on the
// control-less picture dialog. A press on the paint takes its colour into the swatch; OK or the
// swatch confirms it.
#pragma once

#include "scene/scene.h"

enum { PALETTE_WIDTH = 369, PALETTE_HEIGHT = 242, PALETTE_POINTS = 22 };

// The palette's outline in client pixels (22 points).
extern const POINT paletteOutline[PALETTE_POINTS];

// One run of the dialog.
struct PaletteState {
    int picture;       // bitmap 136 while the dialog is open: the colours are read from it
    int region;        // the palette's outline region while the dialog is open
    int picked;        // a colour has been taken
    SceneColor color;  // the colour taken, 0..65025
};

// What a press, move or release at a client point means.
enum { PALETTE_NOTHING, PALETTE_PAINT, PALETTE_OK, PALETTE_CLOSE, PALETTE_SWATCH };
// The part of the palette under a client point (`region` is the outline region).
int palette_HitTest(int region, int x, int y);

// Runs the dialog. 1: a colour was picked and confirmed (in *chosen); -1: closed; 0: Escape.
// *chosen changes only on 1.
int palette_Run(SceneColor* chosen);

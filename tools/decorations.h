// The toys that decorate the picture (scene objects 25 to 29): the ball's shaded spheres, the cog's
// mirrored lines, the wand's stars, the needle and thread's stitches and the paintball gun's splats,
// with the option panel they share (three size bars, two mode cells) and the random colour rule.
#pragma once

#include "scene/scene.h"

enum { DECOR_SIZES = 3 };

extern const int decorSizesSmall[DECOR_SIZES];  // ball, wand, needle and thread: 32, 48, 64
extern const int decorSizesCog[DECOR_SIZES];    // 8, 16, 24
extern const int decorSizesGun[DECOR_SIZES];    // 60, 90, 120

// A fresh random colour: per component c in [12000, 65000] and p in [0, 200], round(p / 100 * c),
// at most 65025.
SceneColor decor_RandomColor(void);
// The colour of the next mark: the tool's colour in mode 0, a random colour in mode 1.
SceneColor decor_MarkColor(const SceneObject* object);

// The marks themselves, into a picture (24-bit bitmap index).
// A ball of diameter d centred on (cx, cy): stacked lightening discs.
void decor_DrawBall(int picture, int cx, int cy, int d, SceneColor c);
// A star of diameter d centred on (cx, cy), drawn through a mask made with it.
void decor_DrawStar(int picture, int cx, int cy, int d, SceneColor c);
// One bundle of four 2-pixel stitches from (x, y) reaching at most size / 2 each way.
void decor_DrawStitches(int picture, int x, int y, int size, SceneColor c);
// Splat n (1..3) of size x size centred on (x, y).
void decor_DrawSplat(int picture, int x, int y, int size, int n, SceneColor c);

// The cog's mirror centre (one for the program): the start of the current stroke.
ScenePoint decor_CogCentre(void);
// Where the cog's last drag drew: one window rectangle per mirrored segment (through the canvas
// view, magnified or not), clipped to the canvas; gives how many (0..4). The room refreshes only
// these after a cog drag.
// The picture rectangles the cog's last drag drew into (its mirrored segments may lie anywhere in
// the picture, magnified view or not); how many.
int decor_CogDirtyPictureRects(RECT rects[4]);
int decor_CogDirtyWindowRects(RECT rects[4]);

// The option panel shared by the five toys; `sizes` are the three bars' sizes. modes[0] and
// modes[1] are the modes of the left and right cell.
int decor_PanelSizeAt(const int sizes[DECOR_SIZES], int px, int py, int current);
int decor_PanelModeAt(const int modes[2], int px, int py, int current);

void decor_InstallBall(SceneObject* object);
void decor_InstallCog(SceneObject* object);
void decor_InstallWand(SceneObject* object);
void decor_InstallNeedle(SceneObject* object);
void decor_InstallGun(SceneObject* object);

// The dropper (scene object 7) picks the picture's colour under the pointer; the scissors (8) cut
// a piece out of what the canvas shows and stamp copies of it wherever the child clicks.
#pragma once

#include "scene/scene.h"

enum {
    DROPPER_SOUND = 1019,   // per press and move, not over a sound still playing
    MARQUEE_SOUND = 1005,   // per marquee move, not over a sound still playing
    PIECE_TAKEN_SOUND = 1006,
    STAMP_SOUND = 1020,
};

// The cut piece: one for the whole run, replaced only by the next piece taken.
struct ScissorsPiece {
    int bitmap;  // -1 while there is none
    RECT rect;   // (0, 0, width, height)
};

extern ScissorsPiece scissorsPiece;

// The piece's width and height (0, 0 while there is none).
void scissors_PieceSize(int* width, int* height);
// Disposes of the piece bitmap (shutdown).
void scissors_DisposePiece(void);
// Where a piece of w x h centred on (x, y) lies: exactly its own size.
RECT scissors_PieceRect(int x, int y, int w, int h);

void dropper_Install(SceneObject* object);
void scissors_Install(SceneObject* object);

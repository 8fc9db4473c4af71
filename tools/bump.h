// The six bump patterns (scene objects 9 to 14): a tiled grey-scale height map pressed into the
// picture as a relief wherever the child paints.
#pragma once

#include "scene/scene.h"

enum {
    BUMP_SOUND = 1027,          // loops from press to release
    BUMP_FIRST_STRENGTH = 15,   // the dab of the press
    BUMP_STRENGTH = 20,         // every dab of a move
    BUMP_SHIFT = 2,
};

void panelE_Draw(SceneObject* object, const RECT* rect);
void panelE_Click(SceneObject* object, int x, int y, const RECT* rect);

// The relief bitmap of a stroke lives in previewWindow from press to release (-1 between strokes).
void bump_Install(SceneObject* object);

// The eraser (scene object 2), the spray can (3) and the jar of paint (6): they work in picture
// coordinates straight on the picture.
#pragma once

#include "scene/scene.h"

enum {
    ERASER_SOUND = 1003,  // once per move, not over a sound still playing
    SPRAY_SOUND = 1023,   // loops from press to release
    JAR_SOUND = 1004,     // once per press, not over a sound still playing
};

// One burst of 2h single pixels (h = size / 2, at least 1) of the object's colour around (x, y),
// inside the square of half-width h.
void spray_Burst(SceneObject* object, int x, int y);

// The smallest rectangle of the picture around what the jar's last press painted; empty when it
// painted nothing.
RECT jar_LastFill(void);

void eraser_Install(SceneObject* object);
void spray_Install(SceneObject* object);
void jar_Install(SceneObject* object);

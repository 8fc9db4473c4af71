// The ruler (scene object 4) and the templates (5): a rubber-band preview on the main window
// while the button is held, the figure drawn into the picture at release.
#pragma once

#include "scene/scene.h"

enum {
    RULER_SOUND = 1002,      // once at release, not over a sound still playing
    TEMPLATES_SOUND = 1029,  // once at press, not over a sound still playing
};

// The four shapes of the templates (their mode).
enum { SHAPE_ELLIPSE, SHAPE_FILLED_ELLIPSE, SHAPE_RECT, SHAPE_FILLED_RECT, SHAPE_COUNT };

// The normalised rectangle of two points.
RECT rubberBand_Normalised(ScenePoint a, ScenePoint b);
// The shape a click at a panel-local point selects: the last hit cell's, else current.
int shapePanel_ShapeAt(int px, int py, int current);
void shapePanel_Draw(SceneObject* object, const RECT* rect);
void shapePanel_Click(SceneObject* object, int x, int y, const RECT* rect);

void ruler_Install(SceneObject* object);
void templates_Install(SceneObject* object);

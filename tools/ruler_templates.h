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

// Wiping a preview: shows again, through show, only the places where the preview was drawn
// (bands along a line or an ellipse, the four sides of a frame), which looks the same as wiping its
// whole rectangle at a fraction of the cost on large windows. The tools show the scene bitmap's
// rectangles on the window (scene_ShowRect); the routing refreshes them from the picture after a
// release (scene_Refresh).
typedef void (*RubberShow)(const RECT* rect);
// How far from its segment a line drawn with a pen of this width reaches, with a pixel to spare
// each way for rounding: half the width and two.
int rubberBand_PenReach(int width);
// The segment from a to b grown by margin on every side: where a line drawn with a pen reaching
// margin pixels from it lies.
void rubberBand_WipeLine(RubberShow show, ScenePoint a, ScenePoint b, int margin);
// The one-pixel frame of r, grown by margin.
void rubberBand_WipeFrame(RubberShow show, const RECT& r, int margin);
// The shape of the templates drawn on before, where the shape now drawn on after will not cover
// it (after may be nullptr: everything of before goes).
void rubberBand_WipeShape(RubberShow show, int shape, const RECT& before, const RECT* after, int margin);

void ruler_Install(SceneObject* object);
void templates_Install(SceneObject* object);

// The pencil (scene object 0) and the two size panels that the pencil, the eraser and the ruler
// (panel A) and the brush and the spray can (panel B) show in the monitor.
#pragma once

#include "scene/scene.h"

enum { SIZE_PANEL_BARS = 6 };

// The sizes the six bars set, left to right.
extern const int sizePanelA[SIZE_PANEL_BARS];  // 1, 4, 8, 16, 24, 32
extern const int sizePanelB[SIZE_PANEL_BARS];  // 16, 20, 24, 28, 32, 36

// The size chosen by a click at a panel-local point: the size of the bar hit, or current when
// the point is on no bar.
int sizePanel_SizeAt(const int sizes[SIZE_PANEL_BARS], int px, int py, int current);
// Draws a panel into the object's scene bitmap at rect: white, the bar of the object's size green,
// the others black.
void sizePanel_Draw(SceneObject* object, const RECT* rect, const int sizes[SIZE_PANEL_BARS]);

// The option panel slots of the two panels.
void sizePanel_DrawA(SceneObject* object, const RECT* rect);
void sizePanel_ClickA(SceneObject* object, int x, int y, const RECT* rect);
void sizePanel_DrawB(SceneObject* object, const RECT* rect);
void sizePanel_ClickB(SceneObject* object, int x, int y, const RECT* rect);

// The pencil keeps the default pen; it only adds size panel A.
void pencil_Install(SceneObject* object);
